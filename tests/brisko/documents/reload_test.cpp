// Another program changes an open data file: an unchanged document reloads,
// a modified one asks first, a reload that cannot read the file keeps the
// text, a file that another program holds open for writing is read all the
// same, after the program's own save only the other program's change is
// reported, and a document the user made read-only stays read-only.
#include "documents_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileWatch.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

CString Question(const CString& path)
{
    return L"文件<" + path + L">已被其他程序修改.\n\n当前文档中尚未保存的修改将会丢失, 是否重新加载该文件?";
}

size_t LineCount(CBriskoDoc* document) { return Lines(document).size(); }

// The application's AUTORELOAD setting for the life of the object.
class AutoReload
{
public:
    explicit AutoReload(BOOL on) : m_kept(theApp.m_bAutoReload) { theApp.m_bAutoReload = on; }
    ~AutoReload() { theApp.m_bAutoReload = m_kept; }

private:
    BOOL m_kept;
};

// The program started with automatic reload on or off, and a ground-line
// file of the text written in a scratch folder and opened.
struct Opened {
    Opened(BOOL autoReload, const wchar_t* folderName, const wchar_t* text)
        // The program is started before the setting is changed: a first
        // start reads its settings.
        : reload((StartProgram(), autoReload)), folder(folderName), path(folder.Write(L"一号路.DMX", text)),
          document(Open(path))
    {
    }
    AutoReload reload;
    DataFolder folder;
    CString path;
    CBriskoDoc* document;
};

} // namespace

TEST(Reload, AnUnchangedDocumentFollowsTheFile)
{
    const Opened opened(TRUE, L"follow", L"0 99.5\n200 101.2\n");
    const CString& path = opened.path;
    CBriskoDoc* document = opened.document;
    ASSERT_NE(nullptr, document);
    ASSERT_EQ(2u, LineCount(document));
    MessageBoxScript boxes;
    ASSERT_TRUE(ChangeFromOtherProgram(path, L"400 104"));
    ASSERT_TRUE(PumpUntil([&] { return LineCount(document) == 3; }));
    EXPECT_EQ(CString(L"400 104"), Lines(document)[2]);
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(Reload, AModifiedDocumentAsksFirst)
{
    const Opened opened(TRUE, L"ask", L"0 99.5\n");
    const CString& path = opened.path;
    CBriskoDoc* document = opened.document;
    ASSERT_NE(nullptr, document);
    TypeAtStart(document, L"1");
    ASSERT_TRUE(document->IsModified());
    MessageBoxScript boxes;

    // No: the edits stay, the document stays modified.
    boxes.Answer(IDNO);
    ASSERT_TRUE(ChangeFromOtherProgram(path, L"200 101.2"));
    ASSERT_TRUE(PumpUntil([&] { return boxes.Shown().size() == 1; }));
    EXPECT_EQ(Question(path), boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
    EXPECT_EQ(std::vector<CString>{L"10 99.5"}, Lines(document));
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(document->m_TextBuffer.CanUndo());

    // Yes: the file's text, nothing modified, nothing to undo.
    boxes.Answer(IDYES);
    ASSERT_TRUE(ChangeFromOtherProgram(path, L"400 104"));
    ASSERT_TRUE(PumpUntil([&] { return boxes.Shown().size() == 2; }));
    EXPECT_EQ((std::vector<CString>{L"0 99.5", L"200 101.2", L"400 104"}), Lines(document));
    EXPECT_FALSE(document->IsModified());
    EXPECT_FALSE(document->m_TextBuffer.CanUndo());
}

TEST(Reload, AReloadThatCannotReadTheFileKeepsTheText)
{
    StartProgram();
    DataFolder folder(L"unreadable");
    const CString path = folder.Write(L"一号路.DL", L"1200 1180\n");
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    TypeAtStart(document, L"9");
    MessageBoxScript boxes(IDYES);

    // Another program holds the file without letting anyone read it.
    HANDLE locked = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    EXPECT_FALSE(document->ReloadFromDisk());
    CloseHandle(locked);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(Question(path), boxes.Shown()[0].text);
    EXPECT_EQ(L"重新加载文件失败, 文档内容保持不变:\n\n" + path, boxes.Shown()[1].text);
    EXPECT_EQ(std::vector<CString>{L"91200 1180"}, Lines(document));
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(document->m_TextBuffer.CanUndo());
    EXPECT_EQ(1, document->GetFileType());
}

TEST(Reload, AFileAnotherProgramWritesIsReadAllTheSame)
{
    StartProgram();
    DataFolder folder(L"shared");
    const CString path = folder.Write(L"一号路.SQX", L"0 100\n");
    // The other program keeps the file open for writing, as a CAD program
    // that is still saving it does.
    HANDLE writer = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    MessageBoxScript boxes;
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    EXPECT_EQ(std::vector<CString>{L"0 100"}, Lines(document));

    const std::string more = FileText(L"0 100\n500 110 8000\n");
    DWORD written = 0;
    SetFilePointer(writer, 0, nullptr, FILE_BEGIN);
    ASSERT_TRUE(WriteFile(writer, more.data(), static_cast<DWORD>(more.size()), &written, nullptr));
    EXPECT_TRUE(document->ReloadFromDisk());
    EXPECT_EQ((std::vector<CString>{L"0 100", L"500 110 8000"}), Lines(document));
    CloseHandle(writer);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(Reload, AfterItsOwnSaveOnlyAnotherProgramsChangeIsReported)
{
    const Opened opened(FALSE, L"ownsave", L"0 99.5");
    const CString& path = opened.path;
    CBriskoDoc* document = opened.document;
    ASSERT_NE(nullptr, document);
    TypeAtStart(document, L"1");

    wintest::DialogScript script;
    script.Then([](CWnd* dialog) { wintest::Press(dialog, IDOK); });
    const LONG wakes = GetFileWatchWakeCount();
    ASSERT_TRUE(document->DoFileSave());
    // The watcher saw the save's change of the folder (and took it for the
    // program's own).
    ASSERT_TRUE(PumpUntil([&] { return GetFileWatchWakeCount() > wakes; }));
    // The saved file has no line end after its last line: the other
    // program's line joins it.
    ASSERT_TRUE(ChangeFromOtherProgram(path, L"200 101.2"));
    ASSERT_TRUE(PumpUntil([&] { return Lines(document)[0] != L"10 99.5"; }));
    EXPECT_EQ(1, script.DialogsSeen());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(std::vector<CString>{L"10 99.5200 101.2"}, Lines(document));
    EXPECT_FALSE(document->IsModified());
}

TEST(Reload, ADocumentSetReadOnlyStaysReadOnly)
{
    const Opened opened(TRUE, L"readonly", L"0 99.5\n");
    const CString& path = opened.path;
    CBriskoDoc* document = opened.document;
    ASSERT_NE(nullptr, document);
    MessageBoxScript boxes;
    ViewOf(document)->SendMessage(WM_COMMAND, ID_FILE_READONLY, 0);
    ASSERT_TRUE(document->m_TextBuffer.GetReadOnly());

    ASSERT_TRUE(ChangeFromOtherProgram(path, L"200 101.2"));
    ASSERT_TRUE(PumpUntil([&] { return LineCount(document) == 2; }));
    EXPECT_TRUE(document->m_TextBuffer.GetReadOnly()) << "the user's read-only switch survives the reload";
}
