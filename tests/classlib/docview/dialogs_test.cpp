// The system's common dialogs through the library, and the tool bar control.
#include "docview_app.h"

using namespace docview;
using namespace wintest;
using test_support::ScratchFolder;

namespace {

const int kFileNameBox = 0x47C; // the file dialogs' file name box (cmb13)
const int kFindWhatBox = 0x480; // the find dialog's text box (edt1)

} // namespace

TEST_F(DocViewTest, FileDialogsGiveTheChosenPath)
{
    ScratchFolder folder(L"filedialog");
    CString existing = folder / L"选中.note";
    WriteNote(existing, L"x");
    const wchar_t* filter = L"笔记文件 (*.note)|*.note|所有文件 (*.*)|*.*||";

    CFileDialog open(TRUE, L"note", nullptr, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, filter);
    DialogScript script;
    script.Then([&](CWnd* d) {
        SetText(d, kFileNameBox, existing);
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, open.DoModal());
    EXPECT_EQ(existing, open.GetPathName());
    EXPECT_STREQ(L"选中.note", open.GetFileName());
    EXPECT_STREQ(L"note", open.GetFileExt());
    EXPECT_STREQ(L"选中", open.GetFileTitle());

    // Saving adds the default extension to a bare name.
    CFileDialog save(FALSE, L"note", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
    DialogScript saveScript;
    saveScript.Then([&](CWnd* d) {
        SetText(d, kFileNameBox, folder / L"新文件");
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, save.DoModal());
    EXPECT_EQ(folder / L"新文件.note", save.GetPathName());

    DialogScript cancelScript;
    cancelScript.Then([](CWnd* d) { Press(d, IDCANCEL); });
    CFileDialog cancelled(TRUE);
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
}

TEST_F(DocViewTest, FileOpenOffersEveryTemplatesFilesAndOpensTheChoice)
{
    ScratchFolder folder(L"fileopen");
    WriteList(folder / L"打开.lst", {L"行"});
    std::vector<CString> types;
    DialogScript script;
    script.Then([&](CWnd* d) {
        HWND typeBox = ::GetDlgItem(d->m_hWnd, 0x470); // cmb1
        int count = static_cast<int>(::SendMessageW(typeBox, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            ::SendMessageW(typeBox, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            types.push_back(text);
        }
        SetText(d, kFileNameBox, folder / L"打开.lst");
        Press(d, IDOK);
    });
    theApp.Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    std::vector<CString> expected{L"笔记文件 (*.note)", L"列表文件 (*.lst)", L"所有文件 (*.*)"};
    EXPECT_EQ(expected, types);
    ASSERT_EQ(1, theApp.GetOpenDocumentCount());
    EXPECT_TRUE(theApp.Frame()->GetActiveDocument()->IsKindOf(RUNTIME_CLASS(CListDoc)));
}

TEST(FileDialog, SeveralChosenFilesComeOneByOne)
{
    struct Case {
        const wchar_t* buffer; // as the system fills it, "|" for the zeros
        DWORD flags;
        std::vector<CString> paths;
    } cases[] = {
        {L"C:\\数据\\a.dl||", OFN_ALLOWMULTISELECT, {L"C:\\数据\\a.dl"}},
        {L"C:\\数据|a.dl|b.sqx||", OFN_ALLOWMULTISELECT, {L"C:\\数据\\a.dl", L"C:\\数据\\b.sqx"}},
        {L"C:\\|a.dl|b.sqx||", OFN_ALLOWMULTISELECT, {L"C:\\a.dl", L"C:\\b.sqx"}},
        {L"C:\\数据\\a.dl||", 0, {L"C:\\数据\\a.dl"}},
        {L"||", OFN_ALLOWMULTISELECT, {}},
    };
    for (const Case& c : cases) {
        CFileDialog dialog(TRUE);
        std::vector<wchar_t> buffer(c.buffer, c.buffer + wcslen(c.buffer));
        for (wchar_t& ch : buffer)
            if (ch == L'|') ch = 0;
        buffer.push_back(0);
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.Flags = c.flags;
        std::vector<CString> paths;
        for (POSITION pos = dialog.GetStartPosition(); pos;) paths.push_back(dialog.GetNextPathName(pos));
        EXPECT_EQ(c.paths, paths) << test_support::Utf8(c.buffer);
    }
}

TEST_F(DocViewTest, TheColourDialogStartsWithItsColour)
{
    CColorDialog dialog(RGB(10, 20, 30), CC_FULLOPEN);
    DialogScript script;
    script.Then([](CWnd* d) { Press(d, IDOK); });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(RGB(10, 20, 30), dialog.GetColor());
}

namespace {

// Records what the modeless find dialog tells its owner.
class CFindOwner : public TestFrame
{
public:
    std::vector<std::string> heard;
    CFindReplaceDialog* notifier = nullptr;

protected:
    LRESULT OnFindReplace(WPARAM, LPARAM lParam)
    {
        notifier = CFindReplaceDialog::GetNotifier(lParam);
        if (notifier->IsTerminating())
            heard.push_back("closing");
        else if (notifier->FindNext())
            heard.push_back("find " + test_support::Utf8(notifier->GetFindString()) +
                            (notifier->SearchDown() ? " down" : " up"));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

const UINT kFindMessage = CFindReplaceDialog::GetFindReplaceMessage();

BEGIN_MESSAGE_MAP(CFindOwner, TestFrame)
    ON_REGISTERED_MESSAGE(kFindMessage, OnFindReplace)
END_MESSAGE_MAP()

} // namespace

TEST(FindReplaceDialog, TellsItsOwnerAndGoesWhenClosed)
{
    auto* owner = new CFindOwner;
    auto* find = new CFindReplaceDialog;
    ASSERT_TRUE(find->Create(TRUE, L"桩号", nullptr, FR_DOWN, owner));
    HWND window = find->m_hWnd;
    EXPECT_EQ(find, CWnd::FromHandlePermanent(window));
    EXPECT_STREQ(L"桩号", GetText(find, kFindWhatBox));
    Press(find, IDOK);
    PumpUntilIdle();
    EXPECT_EQ(find, owner->notifier);
    SetText(find, kFindWhatBox, L"断链");
    Press(find, IDOK);
    PumpUntilIdle();
    Press(find, IDCANCEL);
    PumpUntilIdle();
    std::vector<std::string> expected{"find 桩号 down", "find 断链 down", "closing"};
    EXPECT_EQ(expected, owner->heard);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(window)); // the object went with it
    owner->DestroyWindow();
}

TEST(ToolBarCtrl, ButtonsWithTextsAndTheirStates)
{
    auto* frame = new TestFrame;
    CToolBarCtrl bar;
    ASSERT_TRUE(bar.Create(0x50000944, CRect(0, 0, 300, 30), frame, 1));
    CImageList images;
    ASSERT_TRUE(images.Create(20, 20, ILC_COLOR24 | ILC_MASK, 3, 1));
    for (int i = 0; i < 3; ++i) {
        CBitmap bitmap;
        CClientDC screen(nullptr);
        bitmap.CreateCompatibleBitmap(&screen, 20, 20);
        images.Add(&bitmap, RGB(255, 0, 255));
    }
    bar.SetImageList(&images);
    int firstText = bar.AddStrings(L"主页\0后退\0前进\0");
    EXPECT_EQ(0, firstText);
    TBBUTTON buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 0xFF00 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
        buttons[i].iString = firstText + i;
    }
    ASSERT_TRUE(bar.AddButtons(3, buttons));
    EXPECT_EQ(3, bar.GetButtonCount());
    EXPECT_EQ(2, bar.CommandToIndex(0xFF02));
    EXPECT_TRUE(bar.EnableButton(0xFF01, FALSE));
    EXPECT_FALSE(bar.IsButtonEnabled(0xFF01));
    EXPECT_TRUE(bar.IsButtonEnabled(0xFF02));
    wchar_t text[16] = {};
    bar.SendMessage(TB_GETBUTTONTEXTW, 0xFF01, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"后退", text);
    bar.SetImageList(nullptr);
    frame->DestroyWindow();
}
