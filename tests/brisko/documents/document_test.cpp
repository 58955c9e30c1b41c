// The data-file document: project files refused, a file opened once, Save,
// Save All and failing saves (the old file kept, the document modified and
// open), the read-only switch and the editor settings of its views.
#include "documents_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileWatch.h"
#include "support/FailingWrites.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

CDocTemplate* DataTemplate()
{
    POSITION pos = theApp.GetFirstDocTemplatePosition();
    return pos ? theApp.GetNextDocTemplate(pos) : nullptr;
}

void Command(CBriskoDoc* document, UINT id) { ViewOf(document)->SendMessage(WM_COMMAND, id, 0); }

// A break-chain file of a scratch folder, open and changed (a "9" typed at
// its start), with the bytes it had.
struct ChangedFile {
    DataFolder folder;
    CString path;
    std::string original;
    CBriskoDoc* document = nullptr;

    explicit ChangedFile(const wchar_t* folderName) : folder(folderName)
    {
        StartProgram();
        path = folder.Write(L"一号路.DL", L"1200 1180");
        original = ReadBytes(path);
        document = Open(path);
        if (document) TypeAtStart(document, L"9");
    }
};

} // namespace

TEST(DataFileDocument, AProjectFileIsNeverOpenedAsADataFile)
{
    StartProgram();
    DataFolder folder(L"projects");
    const CString epj = folder.Write(L"road.EPJ", L"[项目]\n名称=示范\n");
    const std::string original = ReadBytes(epj);
    MessageBoxScript boxes;

    // Straight through the template (the application hands .epj files to
    // the main frame): the open fails with a message, nothing is made.
    for (const wchar_t* name : {L"road.EPJ", L"road.epj"}) {
        const CString path = folder / name;
        EXPECT_EQ(nullptr, DataTemplate()->OpenDocumentFile(path, TRUE));
        EXPECT_EQ(0, theApp.GetOpenDocumentCount());
        EXPECT_NE(-1, boxes.LastText().Find(L"项目文件不能作为数据文件打开"));
    }
    // Only the extension makes a project: a copy of one and a file in a
    // folder named like one are data files.
    CreateDirectoryW(folder / L"旧版.EPJ", nullptr);
    CBriskoDoc* backup = Open(folder.Write(L"road.epj.bak", L"[项目]\n"));
    ASSERT_NE(nullptr, backup);
    EXPECT_EQ(kUnknownFileType, backup->GetFileType());
    CBriskoDoc* chain = Open(folder.Write(L"旧版.EPJ\\一号路.DL", L"1200 1180\n"));
    ASSERT_NE(nullptr, chain);
    EXPECT_EQ(1, chain->GetFileType());
    EXPECT_EQ(1u, Lines(chain).size());

    // Saving everything leaves the project file as it was.
    Command(chain, ID_FILE_SAVE_ALL);
    EXPECT_EQ(original, ReadBytes(epj));
    EXPECT_EQ(std::string(FileText(L"[项目]")), ReadBytes(folder / L"road.epj.bak"));
}

TEST(DataFileDocument, AnOpenFileComesForwardInsteadOfOpeningTwice)
{
    StartProgram();
    DataFolder folder(L"twice");
    const CString path = folder.Write(L"一号路.DMX", L"0 99.5\n200 101.2\n");
    CBriskoDoc* first = Open(path);
    ASSERT_NE(nullptr, first);
    CString other = path;
    other.MakeLower();
    EXPECT_EQ(first, Open(path));
    EXPECT_EQ(first, Open(other));
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());
}

TEST(DataFileDocument, SaveWritesTheFileAndWatchesItAgain)
{
    StartProgram();
    DataFolder folder(L"save");
    const CString path = folder.Write(L"一号路.DL", L"1200 1180\n1500 1490");
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    const DWORD watch = document->GetFileWatchId();
    EXPECT_NE(0u, watch);
    CString watched;
    EXPECT_TRUE(GetFileWatchPath(watch, watched));
    EXPECT_EQ(path, watched);

    TypeAtStart(document, L"9");
    EXPECT_TRUE(document->IsModified());
    // Undoing back to the saved text still counts as a change.
    ViewOf(document)->Undo();
    EXPECT_TRUE(document->IsModified());
    TypeAtStart(document, L"9");

    Command(document, ID_FILE_SAVE);
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(FileText(L"91200 1180\n1500 1490"), ReadBytes(path));
    // The watch was given up for the write and taken again.
    EXPECT_FALSE(GetFileWatchPath(watch, watched));
    ASSERT_NE(0u, document->GetFileWatchId());
    EXPECT_TRUE(GetFileWatchPath(document->GetFileWatchId(), watched));
    EXPECT_EQ(path, watched);
}

TEST(DataFileDocument, SaveAllWritesEveryDocument)
{
    StartProgram();
    DataFolder folder(L"saveall");
    CBriskoDoc* a = Open(folder.Write(L"一号路.DMX", L"0 99.5"));
    CBriskoDoc* b = Open(folder.Write(L"一号路.SQX", L"0 100"));
    CBriskoDoc* c = Open(folder.Write(L"一号路.ST", L"1000"));
    ASSERT_TRUE(a && b && c);
    TypeAtStart(a, L"1");
    TypeAtStart(b, L"2");
    Command(c, ID_FILE_SAVE_ALL);
    EXPECT_FALSE(a->IsModified());
    EXPECT_FALSE(b->IsModified());
    EXPECT_EQ(FileText(L"10 99.5"), ReadBytes(folder / L"一号路.DMX"));
    EXPECT_EQ(FileText(L"20 100"), ReadBytes(folder / L"一号路.SQX"));
    EXPECT_EQ(FileText(L"1000"), ReadBytes(folder / L"一号路.ST"));
}

TEST(DataFileDocument, AFailedSaveIsReportedAndKeepsTheDocument)
{
    ChangedFile changed(L"failing");
    auto& [folder, path, original, document] = changed;
    ASSERT_NE(nullptr, document);
    MessageBoxScript boxes;

    // A read-only file: one message, naming the file and why, in the
    // program's caption.
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(document->DoFileSave());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"保存文件失败!\n\n") + path + L"\n\n文件被设为只读.", boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Shown()[0].type);
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(original, ReadBytes(path));
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL));

    // Writes that fail (a full disk).
    {
        test_support::FailingWrites full(folder.Path());
        EXPECT_FALSE(document->OnSaveDocument(path));
        EXPECT_GT(full.Refused(), 0);
    }
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.Shown()[1].text.Find(CString(L"保存文件失败!\n\n") + path));
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(original, ReadBytes(path));
    EXPECT_EQ(std::vector<CString>{L"一号路.DL"}, test_support::FilesIn(folder.Path()));
}

// Closing asks; Yes with a save that fails keeps the document, its frame and
// its changes, and the file its old bytes: through the document's frame and
// through the main frame, whose window stays too.
TEST(DataFileDocument, AFailedSaveOnClosingKeepsTheDocumentAndItsFrame)
{
    ChangedFile changed(L"failing_close");
    auto& [folder, path, original, document] = changed;
    ASSERT_NE(nullptr, document);
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    CFrameWnd* frame = ViewOf(document)->GetParentFrame();
    const HWND child = frame->GetSafeHwnd();
    CWnd* main = theApp.m_pMainWnd;
    for (CWnd* closed : {static_cast<CWnd*>(frame), main}) {
        SCOPED_TRACE(closed == main ? "the main frame" : "the document's frame");
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        closed->SendMessage(WM_CLOSE);
        wintest::PumpUntilIdle();
        ASSERT_EQ(2u, boxes.Shown().size());
        EXPECT_NE(-1, boxes.Shown()[0].text.Find(path));
        EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.Shown()[0].caption);  // the framework's question
        EXPECT_EQ(0, boxes.Shown()[1].text.Find(L"保存文件失败!"));
        ASSERT_TRUE(IsWindow(main->GetSafeHwnd()));
        ASSERT_TRUE(IsWindow(child));
        ASSERT_EQ(1, theApp.GetOpenDocumentCount());
        EXPECT_EQ(document, ViewOf(document)->GetDocument());
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(CString(L"91200 1180"), Lines(document)[0]);
        EXPECT_EQ(original, ReadBytes(path));
    }
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL));
}

TEST(DataFileDocument, TheReadOnlySwitchTellsOnlyOnTheWayToReadOnly)
{
    StartProgram();
    DataFolder folder(L"readonly");
    const CString path = folder.Write(L"一号路.DMX", L"0 99.5");
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    MessageBoxScript boxes;
    Command(document, ID_FILE_READONLY);
    EXPECT_TRUE(document->m_TextBuffer.GetReadOnly());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(path + L"文件被设置为只读!", boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.Shown()[0].type);
    // Typing changes nothing now.
    TypeAtStart(document, L"x");
    EXPECT_FALSE(document->IsModified());
    Command(document, ID_FILE_READONLY);
    EXPECT_FALSE(document->m_TextBuffer.GetReadOnly());
    EXPECT_EQ(1u, boxes.Shown().size());
}

namespace {

// Whether the frame's menu offers the command, as the user sees it when a
// pull-down menu opens.
bool MenuOffers(UINT id)
{
    CWnd* frame = theApp.m_pMainWnd;
    HMENU bar = ::GetMenu(frame->m_hWnd);
    for (int i = 0; bar && i < ::GetMenuItemCount(bar); ++i) {
        HMENU popup = ::GetSubMenu(bar, i);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
        for (int k = 0; k < ::GetMenuItemCount(popup); ++k)
            if (::GetMenuItemID(popup, k) == id)
                return !(::GetMenuState(popup, k, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    }
    ADD_FAILURE() << "no menu item " << id;
    return false;
}

bool ContextMenuOffers(CBriskoView* view, UINT id)
{
    CMenu* menu = view->BuildContextMenu();
    const UINT state = ::GetMenuState(menu->m_hMenu, id, MF_BYCOMMAND);
    EXPECT_NE(UINT(-1), state) << "no context menu item " << id;
    return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

} // namespace

TEST(DataFileDocument, AReadOnlyDocumentOffersNoCommandThatWouldChangeIt)
{
    StartProgram();
    DataFolder folder(L"readonly_menus");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DMX", L"0 99.5\n20 100.25"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    TypeAtStart(document, L"1 2");
    view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    view->SetSelection(CPoint(0, 0), CPoint(3, 0));
    wintest::PumpUntilIdle();
    struct Case {
        UINT id;
        bool inContextMenu;
    };
    const Case changing[] = {{ID_EDIT_UNDO, true}, {ID_EDIT_REDO, true}, {ID_EDIT_CUT, true}, {ID_EDIT_REPLACE, false}};
    for (const Case& c : changing) {
        EXPECT_TRUE(MenuOffers(c.id)) << c.id;
        if (c.inContextMenu) {
            EXPECT_TRUE(ContextMenuOffers(view, c.id)) << c.id;
        }
    }

    MessageBoxScript boxes;
    Command(document, ID_FILE_READONLY);
    ASSERT_TRUE(document->m_TextBuffer.GetReadOnly());
    for (const Case& c : changing) {
        EXPECT_FALSE(MenuOffers(c.id)) << c.id;
        if (c.inContextMenu) {
            EXPECT_FALSE(ContextMenuOffers(view, c.id)) << c.id;
        }
    }
    // Reading commands stay.
    EXPECT_TRUE(MenuOffers(ID_EDIT_COPY));
    EXPECT_TRUE(ContextMenuOffers(view, ID_EDIT_COPY));
    EXPECT_TRUE(MenuOffers(ID_EDIT_FIND));
    const std::vector<CString> lines = Lines(document);
    for (const Case& c : changing) {
        wintest::DialogScript cancel;
        Command(document, c.id);
    }
    EXPECT_EQ(lines, Lines(document));

    Command(document, ID_FILE_READONLY);
    EXPECT_TRUE(MenuOffers(ID_EDIT_REDO));
    EXPECT_TRUE(ContextMenuOffers(view, ID_EDIT_REDO));
}

TEST(DataFileDocument, TheViewsTakeTheEditorSettings)
{
    StartProgram();
    DataFolder folder(L"settings");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DMX", L"0\t99.5"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    document->SetTabWidth(8);
    document->SetMarginWidth(50);
    document->SetLinePitch(2);
    EXPECT_EQ(8, view->GetTabSize());
    EXPECT_EQ(50, view->GetMarginWidth());
    EXPECT_EQ(2, view->GetLinePitch());
    // The document's font: 12 high, GB2312, "Fixedsys".
    LOGFONTW font{};
    view->GetFont(font);
    EXPECT_EQ(12, font.lfHeight);
    EXPECT_EQ(GB2312_CHARSET, font.lfCharSet);
    EXPECT_EQ(CString(L"Fixedsys"), CString(font.lfFaceName));
}

TEST(DataFileDocument, ANewDocumentIsSavedUnderTheNameChosen)
{
    StartProgram();
    DataFolder folder(L"new");
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    auto* document = static_cast<CBriskoDoc*>(DataTemplate()->OpenDocumentFile(nullptr, TRUE));
    ASSERT_NE(nullptr, document);
    ASSERT_TRUE(document->IsKindOf(RUNTIME_CLASS(CBriskoDoc)));
    EXPECT_EQ(1, document->m_TextBuffer.GetLineCount());
    EXPECT_EQ(0u, document->GetFileWatchId());
    TypeAtStart(document, L"1000");

    // Cancelled: nothing saved; the dialog starts in the project's folder.
    CString title, name;
    {
        wintest::DialogScript script;
        script.Then([&](CWnd* platform) {
            platform->GetWindowText(title);
            name = wintest::GetText(platform, 1148);
            if (name.IsEmpty()) name = wintest::GetText(platform, 1152);
            wintest::Press(platform, IDCANCEL);
        });
        EXPECT_FALSE(document->DoFileSave());
        EXPECT_EQ(1, script.DialogsSeen());
    }
    EXPECT_EQ(CString(L"保存TAVIX数据文件"), title);
    EXPECT_EQ(CString(L"*.*"), name);
    EXPECT_TRUE(document->IsModified());
    EXPECT_TRUE(document->GetPathName().IsEmpty());

    // A name given: saved, typed by its extension, watched.
    const CString path = folder / L"新建.ST";
    {
        wintest::DialogScript script;
        script.Then([&](CWnd* platform) {
            wintest::SetText(platform, ::GetDlgItem(platform->m_hWnd, 1148) ? 1148 : 1152, path);
            wintest::Press(platform, IDOK);
        });
        EXPECT_TRUE(document->DoFileSave());
    }
    SetCurrentDirectoryW(current);
    EXPECT_EQ(FileText(L"1000"), ReadBytes(path));
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(5, document->GetFileType());
    EXPECT_EQ(path + L":[桩号文件]", document->GetTitle());
    EXPECT_NE(0u, document->GetFileWatchId());
}
