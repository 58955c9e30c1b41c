// The folder dialog: the shell's folder browser with the typed path, and
// the static helpers that check, create and join folder paths.
#include "corvane/platform/FileName.h"
#include "corvane/platform/PathDialog.h"
#include "dialogs_test_support.h"
#include <shlobj.h>

using namespace dialogs_test;
using namespace wintest;

namespace {

const int kEdit = tkxPathDialog::IDC_EDIT_PATH;

bool OkEnabled(CWnd* dialog) { return ::IsWindowEnabled(::GetDlgItem(dialog->GetSafeHwnd(), IDOK)) != FALSE; }

// A path of exactly `length` characters under the folder.
CString PathOfLength(const CString& folder, int length)
{
    CString path = folder + L"\\";
    while (path.GetLength() < length) path += L"a";
    return path.Left(length);
}

// The browser shows its first folder's path in the edit box.
bool BrowserShowsAPath()
{
    return ::GetWindowTextLengthW(::GetDlgItem(::GetActiveWindow(), kEdit)) > 0;
}

} // namespace

// ---------------------------------------------------------------------------
// The browser

TEST(FolderDialog, OpensOnTheInitialFolderWithTheEditAboveTheTree)
{
    ScratchFolder dir(L"browse");
    tkxPathDialog dialog(L"选择文件夹", L"请选择项目文件夹:", dir.Path());
    DialogScript script;
    CString caption, edit, title;
    bool statusVisible = true, okEnabled = false;
    CRect editRect, treeRect;
    script.ThenWhen(BrowserShowsAPath, [&](CWnd* browser) {
        caption = browser->GetWindowText();
        edit = GetText(browser, kEdit);
        title = GetText(browser, tkxPathDialog::IDC_TITLE_TEXT);
        statusVisible = ::IsWindowVisible(::GetDlgItem(browser->GetSafeHwnd(), tkxPathDialog::IDC_STATUSTEXT)) != 0;
        okEnabled = OkEnabled(browser);
        editRect = ChildRect(browser, kEdit);
        treeRect = ChildRect(browser, tkxPathDialog::IDC_FOLDERTREE);
        Press(browser, IDOK);
    });
    ASSERT_EQ(1, dialog.DoModal());
    EXPECT_EQ(CString(L"选择文件夹"), caption);
    EXPECT_EQ(CString(L"请选择项目文件夹:"), title);
    EXPECT_EQ(dir.Path(), edit);
    EXPECT_FALSE(statusVisible);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(treeRect.top - 4, editRect.bottom);
    EXPECT_EQ(23, editRect.Height());
    EXPECT_EQ(treeRect.left, editRect.left);
    EXPECT_EQ(treeRect.right, editRect.right);
    EXPECT_EQ(dir.Path(), dialog.GetPathName());
}

TEST(FolderDialog, ATypedMissingFolderIsCreatedOnceTheUserAgrees)
{
    ScratchFolder dir(L"typed");
    const CString wanted = dir / L"新建 项目\\第一段";
    tkxPathDialog dialog(nullptr, nullptr, dir.Path());
    MessageBoxScript boxes;
    boxes.Answer(IDYES);
    DialogScript script;
    script.Then([&](CWnd* browser) {
        SetText(browser, kEdit, wanted);
        Press(browser, IDOK);
    });
    ASSERT_EQ(1, dialog.DoModal());
    EXPECT_EQ(wanted, dialog.GetPathName());
    EXPECT_TRUE(tkxFileName::Exist(wanted));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"文件夹:\n\n%s\n\n不存在. 是否创建该文件夹?", wanted.GetString()), boxes.LastText());
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
    EXPECT_EQ(CString(L"TAVIX"), boxes.Shown()[0].caption);
}

// Refused paths keep the browser open with the focus in the edit box, and
// nothing is accepted or created.
TEST(FolderDialog, RefusedPathsKeepTheBrowserOpen)
{
    ScratchFolder dir(L"refused");
    struct Case {
        CString typed;
        int answer; // to the question whether to create it
        const wchar_t* message;
    };
    const Case cases[] = {
        {dir / L"declined", IDNO, L"不存在. 是否创建该文件夹?"},
        {dir / L" blank", 0, L"名称非法. 请重新输入."},
        {L"C:", 0, L"名称非法. 请重新输入."},
        {PathOfLength(dir.Path(), 300), 0, L"路径太长(最多259个字符). 请重新输入."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.typed));
        tkxPathDialog dialog(nullptr, nullptr, dir.Path());
        MessageBoxScript boxes;
        if (c.answer) boxes.Answer(c.answer);
        bool focusInEdit = false;
        DialogScript script;
        script
            .Then([&](CWnd* browser) {
                SetText(browser, kEdit, c.typed);
                Press(browser, IDOK);
            })
            .Then([&](CWnd* browser) {
                focusInEdit = ::GetFocus() == ::GetDlgItem(browser->GetSafeHwnd(), kEdit);
                Press(browser, IDCANCEL);
            });
        EXPECT_EQ(-1, dialog.DoModal());
        EXPECT_FALSE(script.StepsLeft());
        EXPECT_TRUE(focusInEdit);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_NE(-1, boxes.LastText().Find(c.message)) << Utf8(boxes.LastText());
        // A path too long to keep is never kept cut short.
        if (c.typed.GetLength() > tkxPathDialog::kMaxPathChars) {
            EXPECT_EQ(CString(), dialog.GetPathName());
        }
    }
    EXPECT_FALSE(tkxFileName::Exist(dir / L"declined"));
}

TEST(FolderDialog, AnItemOutsideTheFileSystemEmptiesTheEditAndDisablesOk)
{
    ScratchFolder dir(L"places");
    tkxPathDialog dialog(nullptr, nullptr, dir.Path());
    CString edit = L"(not read)";
    bool okAtComputer = true, okTyped = false;
    DialogScript script;
    script
        .ThenWhen(BrowserShowsAPath, [&](CWnd* browser) {
            LPITEMIDLIST computer = nullptr;
            ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
            browser->SendMessage(BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
            CoTaskMemFree(computer);
        })
        .Then([&](CWnd* browser) {
            edit = GetText(browser, kEdit);
            okAtComputer = OkEnabled(browser);
            // Typing a path makes OK usable again.
            SetText(browser, kEdit, dir.Path());
            okTyped = OkEnabled(browser);
            Press(browser, IDCANCEL);
        });
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(CString(), edit);
    EXPECT_FALSE(okAtComputer);
    EXPECT_TRUE(okTyped);
}

// ---------------------------------------------------------------------------
// Static helpers

TEST(FolderNames, AcceptableNames)
{
    struct Case {
        const wchar_t* name;
        int valid;
    };
    const Case cases[] = {
        {L"项目 一", 1}, {L"a.b", 1},  {L"x", 1},      {nullptr, 0},  {L"", 0},     {L" a", 0},
        {L"a ", 0},      {L"\ta", 0},  {L"a\t", 0},    {L".a", 0},    {L"a.", 0},   {L"a\"b", 0},
        {L"a*b", 0},     {L"a/b", 0},  {L"a:b", 0},    {L"a<b", 0},   {L"a>b", 0},  {L"a?b", 0},
        {L"a\\b", 0},    {L"a|b", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, tkxPathDialog::IsFileNameValid(c.name)) << (c.name ? Utf8(c.name) : "(null)");
}

TEST(FolderNames, CheckedPaths)
{
    ScratchFolder dir(L"check");
    struct Case {
        CString path;
        int code;
    };
    const Case cases[] = {
        {L"C:\\", 0},
        {L"c:\\Data\\a.b", 0},
        {L"C:", 1},
        {L"\\Data", 1},
        {L"1:\\Data", 1},
        {L"C:/Data", 1},
        {L"C:\\Data\\ new", 1},
        {L"C:\\Data\\", 1},
        {L"C:\\Data\\\\x", 1},
        {L"C:\\Da*ta", 1},
        {PathOfLength(dir.Path(), 259), 0},
        {PathOfLength(dir.Path(), 260), 1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.code, tkxPathDialog::Touch(c.path, 1)) << Utf8(c.path);
    EXPECT_EQ(1, tkxPathDialog::Touch(nullptr, 1));
    // Nothing was created in test mode.
    EXPECT_FALSE(tkxFileName::Exist(PathOfLength(dir.Path(), 259)));
}

TEST(FolderNames, TouchCreatesTheChainOrSaysWhereItStopped)
{
    ScratchFolder dir(L"touch");
    const CString chain = dir / L"一\\二 2\\三";
    EXPECT_EQ(0, tkxPathDialog::Touch(chain, 0));
    EXPECT_TRUE(tkxFileName::Exist(chain));
    EXPECT_EQ(0, tkxPathDialog::Touch(chain, 0)); // existing folders are fine

    // A file where a folder should be: the chain cannot be made.
    WriteText(dir / L"file", L"x");
    EXPECT_EQ(2, tkxPathDialog::Touch(dir / L"file\\sub", 0));
    // A bad later part leaves the good parts before it made.
    EXPECT_EQ(1, tkxPathDialog::Touch(dir / L"good\\ba|d", 0));
    EXPECT_TRUE(tkxFileName::Exist(dir / L"good"));
}

TEST(FolderNames, MakingSureAFolderExists)
{
    ScratchFolder dir(L"sure");
    {
        MessageBoxScript boxes;
        EXPECT_EQ(0, tkxPathDialog::MakeSurePathExists(dir.Path()));
        EXPECT_TRUE(boxes.Shown().empty());
    }
    {
        MessageBoxScript boxes; // answers No
        EXPECT_EQ(-1, tkxPathDialog::MakeSurePathExists(dir / L"no"));
        EXPECT_FALSE(tkxFileName::Exist(dir / L"no"));
    }
    {
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        EXPECT_EQ(0, tkxPathDialog::MakeSurePathExists(dir / L"yes\\deeper"));
        EXPECT_TRUE(tkxFileName::Exist(dir / L"yes\\deeper"));
    }
    {
        MessageBoxScript boxes;
        EXPECT_EQ(1, tkxPathDialog::MakeSurePathExists(dir / L"bad?"));
        EXPECT_EQ(ClFormat(L"输入文件夹:\n\n%s\n\n名称非法. 请重新输入.", (dir / L"bad?").GetString()), boxes.LastText());
        EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), boxes.Shown()[0].type);
    }
    {
        WriteText(dir / L"file", L"x");
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        EXPECT_EQ(2, tkxPathDialog::MakeSurePathExists(dir / L"file\\sub"));
        EXPECT_EQ(ClFormat(L"无法创建\n\n%s\n\n文件夹. 请检查.", (dir / L"file\\sub").GetString()), boxes.LastText());
    }
}

TEST(FolderNames, JoiningPathsStaysInsideThePathBuffer)
{
    struct Case {
        CString path;
        const wchar_t* part;
        int result;
        CString joined;
    };
    const CString nearlyFull = PathOfLength(L"C:\\d", 250);
    const Case cases[] = {
        {L"C:\\", L"Data", 0, L"C:\\Data"},
        {L"C:\\Work", L"Data", 0, L"C:\\Work\\Data"},
        {L"C:\\Work", nullptr, 0, L"C:\\Work"},
        {L"C:", L"Data", 1, L"C:"},
        {L"", L"Data", 1, L""},
        {nearlyFull, L"12345678", 0, nearlyFull + L"\\12345678"}, // 259 characters
        {nearlyFull, L"123456789", 1, nearlyFull},                // 260 would not fit
    };
    for (const Case& c : cases) {
        wchar_t buffer[MAX_PATH + 8];
        wmemset(buffer, L'#', MAX_PATH + 8);
        wcscpy(buffer, c.path);
        EXPECT_EQ(c.result, tkxPathDialog::ConcatPath(buffer, c.part)) << Utf8(c.path);
        EXPECT_EQ(c.joined, CString(buffer));
        EXPECT_EQ(L'#', buffer[MAX_PATH]); // nothing written past the buffer's size
    }
    EXPECT_EQ(1, tkxPathDialog::ConcatPath(nullptr, L"Data"));
}
