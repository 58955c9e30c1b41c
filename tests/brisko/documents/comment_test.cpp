// Comments in data files: the header comment of the file's type inserted
// through the dialog (preset by extension, chosen when the extension is
// unknown, refused on a read-only file) and "//" toggled on the selected
// lines.
#include "documents_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/Dialog_InsertComment.h"
#include "brisko/shell/BriskoApp.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

// The lines of a text, "\r\n"-separated, the part after the last line end
// left out.
std::vector<CString> SplitLines(const CString& text)
{
    std::vector<CString> lines;
    int start = 0;
    for (int end; (end = text.Find(L"\r\n", start)) >= 0; start = end + 2) lines.push_back(text.Mid(start, end - start));
    return lines;
}

int ComboSelection(CWnd* dialog) { return static_cast<int>(dialog->SendDlgItemMessage(IDC_COMMENT_TYPE, CB_GETCURSEL)); }

} // namespace

TEST(InsertComment, TheCommentTextIsCutIntoWholeLines)
{
    const struct {
        const wchar_t* comment;
        const wchar_t* lines;
    } cases[] = {
        {L"//a\n//b\n", L"//a\r\n//b\r\n"},
        {L"//a\n//b", L"//a\r\n"},
        {L"", L""},
        {L"\n", L"\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.lines), CDialog_InsertComment::CommentLines(c.comment)) << Utf8(c.comment);
}

TEST(InsertComment, TheTypeOfTheExtensionIsPresetAndItsCommentInserted)
{
    StartProgram();
    DataFolder folder(L"comments");
    const struct {
        const wchar_t* file;
        int type;
    } cases[] = {{L"一号路.DL", 1}, {L"小写.dmx", 13}, {L"一号路.HDX", 20}, {L"桥梁.QL", 27}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.file));
        CBriskoDoc* document = Open(folder.Write(c.file, L"1200 1180\n1500 1490\n"));
        ASSERT_NE(nullptr, document);
        CBriskoView* view = ViewOf(document);
        Place(view, 1, 3);
        const CString comment = theApp.m_FileStyles[c.type].m_SComment;
        const std::vector<CString> header = SplitLines(CDialog_InsertComment::CommentLines(comment));
        ASSERT_GE(header.size(), 2u);

        int selected = -2;
        CString preview, caption;
        wintest::DialogScript script;
        script.Then([&](CWnd* dialog) {
            dialog->GetWindowText(caption);
            selected = ComboSelection(dialog);
            preview = wintest::GetText(dialog, IDC_COMMENT_PREVIEW);
            if (c.type == 1) wintest::CaptureWindow(dialog).SaveBmp(L"insert_comment.bmp");
            wintest::Press(dialog, IDOK);
        });
        SYSTEMTIME before{};
        GetLocalTime(&before);
        view->SendMessage(WM_COMMAND, ID_EDIT_INSERT_COMMENT);
        EXPECT_EQ(1, script.DialogsSeen());
        EXPECT_EQ(CString(L"插入注释"), caption);
        EXPECT_EQ(c.type, selected);
        EXPECT_EQ(CDialog_InsertComment::CommentLines(comment), preview);

        // The type's lines, "//", the time stamp, then the former text.
        const std::vector<CString> lines = Lines(document);
        ASSERT_EQ(header.size() + 4, lines.size());
        for (size_t i = 0; i < header.size(); ++i) EXPECT_EQ(header[i], lines[i]);
        EXPECT_EQ(CString(L"//"), lines[header.size()]);
        const CString stamp = lines[header.size() + 1];
        EXPECT_EQ(0, stamp.Find(ClFormat(L"//文件编辑时间:%d-%d-%d ", before.wYear, before.wMonth, before.wDay)))
            << Utf8(stamp);
        EXPECT_EQ(CString(L"1200 1180"), lines[header.size() + 2]);
        // The caret at the start of the stamp line; one undo takes it all.
        EXPECT_EQ(CPoint(0, static_cast<int>(header.size()) + 1), view->GetCursorPos());
        EXPECT_TRUE(document->IsModified());
        view->Undo();
        EXPECT_EQ((std::vector<CString>{L"1200 1180", L"1500 1490"}), Lines(document));
        document->OnCloseDocument();
    }
}

TEST(InsertComment, AnUnknownExtensionAsksForTheType)
{
    StartProgram();
    DataFolder folder(L"unknown");
    CBriskoDoc* document = Open(folder.Write(L"一号路.GZX", L"0 大桥 1200\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    MessageBoxScript boxes;
    int selected = -2;
    CString emptyPreview, preview;
    wintest::DialogScript script;
    script
        .Then([&](CWnd* dialog) {
            selected = ComboSelection(dialog);
            emptyPreview = wintest::GetText(dialog, IDC_COMMENT_PREVIEW);
            // OK without a type: refused, the dialog stays.
            dialog->SendMessage(WM_COMMAND, IDOK);
            EXPECT_TRUE(::IsWindow(dialog->m_hWnd));
            // The ground-line type chosen.
            dialog->SendDlgItemMessage(IDC_COMMENT_TYPE, CB_SETCURSEL, 13);
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_COMMENT_TYPE, CBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(dialog->GetDlgItem(IDC_COMMENT_TYPE)->m_hWnd));
            preview = wintest::GetText(dialog, IDC_COMMENT_PREVIEW);
            wintest::Press(dialog, IDOK);
        });
    view->SendMessage(WM_COMMAND, ID_EDIT_INSERT_COMMENT);
    EXPECT_EQ(-1, selected);
    EXPECT_TRUE(emptyPreview.IsEmpty());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"请选择文件注释的类型!"), boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Shown()[0].type);
    const CString comment = theApp.m_FileStyles[13].m_SComment;
    EXPECT_EQ(CDialog_InsertComment::CommentLines(comment), preview);
    EXPECT_EQ(SplitLines(CDialog_InsertComment::CommentLines(comment))[0], Lines(document)[0]);
    EXPECT_EQ(CString(L"0 大桥 1200"), Lines(document).back());
}

TEST(InsertComment, CancelAndReadOnlyChangeNothing)
{
    StartProgram();
    DataFolder folder(L"cancel");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DL", L"1200 1180\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    {
        wintest::DialogScript script;
        script.Then([](CWnd* dialog) { wintest::Press(dialog, IDCANCEL); });
        view->SendMessage(WM_COMMAND, ID_EDIT_INSERT_COMMENT);
        EXPECT_EQ(1, script.DialogsSeen());
    }
    EXPECT_EQ(std::vector<CString>{L"1200 1180"}, Lines(document));
    EXPECT_FALSE(document->IsModified());

    document->m_TextBuffer.SetReadOnly(TRUE);
    MessageBoxScript boxes;
    wintest::DialogScript none;
    view->SendMessage(WM_COMMAND, ID_EDIT_INSERT_COMMENT);
    view->SendMessage(WM_COMMAND, ID_EDIT_TOGGLE_COMMENT);
    EXPECT_EQ(0, none.DialogsSeen());
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"当前文件被设为只读,\n\n不能添加注释!"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"当前文件被设为只读,\n\n不能添加注释符号!"), boxes.Shown()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Shown()[1].type);
    EXPECT_EQ(std::vector<CString>{L"1200 1180"}, Lines(document));
}

TEST(ToggleComment, TheSelectedLinesAreCommentedAndBack)
{
    StartProgram();
    DataFolder folder(L"toggle");
    CBriskoDoc* document = Open(folder.Write(L"一号路.DMX", L"0 99.5\n200 101.2\n400 104\n"));
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    // Selected from the third line up to the second.
    view->SetSelection(CPoint(3, 2), CPoint(1, 1));
    view->SendMessage(WM_COMMAND, ID_EDIT_TOGGLE_COMMENT);
    EXPECT_EQ((std::vector<CString>{L"0 99.5", L"//200 101.2", L"//400 104"}), Lines(document));
    EXPECT_TRUE(document->IsModified());
    Place(view, 1, 0);
    view->SendMessage(WM_COMMAND, ID_EDIT_TOGGLE_COMMENT);
    EXPECT_EQ((std::vector<CString>{L"0 99.5", L"200 101.2", L"//400 104"}), Lines(document));
}
