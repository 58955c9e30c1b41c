// The exported front door to the extended file dialog: title and filter
// from the file-type table, the initial path made usable, the chosen path.
#include "corvane/project/FileInterface.h"
#include "dialogs_test_support.h"

using namespace dialogs_test;
using namespace wintest;

namespace {

const int kTypeCombo = 1136; // the platform dialog's file-type box

std::vector<CString> ComboTexts(HWND combo)
{
    std::vector<CString> texts;
    const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(::SendMessageW(combo, CB_GETLBTEXTLEN, i, 0));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        texts.emplace_back(text.c_str());
    }
    return texts;
}

// Runs tkx_FileDialog and cancels it, noting title and file types shown.
struct Shown {
    int result = -1;
    CString title;
    std::vector<CString> types;
};

Shown ShowAndCancel(int open, CString& path, const wchar_t* ext, const wchar_t* filter, const wchar_t* title)
{
    KeepCurrentFolder keep;
    Shown shown;
    DialogScript script;
    script.Then([&](CWnd* platform) {
        shown.title = platform->GetWindowText();
        shown.types = ComboTexts(::GetDlgItem(platform->GetSafeHwnd(), kTypeCombo));
        Press(platform, IDCANCEL);
    });
    shown.result = tkx_FileDialog(open, path, ext, nullptr, filter, title);
    return shown;
}

} // namespace

TEST(FileDialogFrontDoor, TitleAndFileTypesComeFromTheTypeTable)
{
    ScratchFolder dir(L"types");
    CString longFilter;
    while (longFilter.GetLength() < 2100) longFilter += L"类型|*.X|";
    struct Case {
        int open;
        const wchar_t* ext;
        const wchar_t* filter;
        const wchar_t* title;
        CString shownTitle;
        std::vector<CString> types;
    };
    const Case cases[] = {
        {1, L"dl", nullptr, nullptr, L"打开桩号断链文件(*.DL)文件", {L"桩号断链文件(*.DL)", L"所有文件"}},
        {0, L"Sqx", L"", L"", L"保存纵断面竖曲线文件(*.SQX)文件", {L"纵断面竖曲线文件(*.SQX)", L"所有文件"}},
        {1, nullptr, nullptr, nullptr, L"打开文件", {L"所有文件"}},
        {1, L"dl", L"图纸|*.dwg|所有文件|*.*||", L"选择图纸", L"选择图纸", {L"图纸", L"所有文件"}},
        {1, L"dl", longFilter, nullptr, L"打开桩号断链文件(*.DL)文件", {L"所有文件"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.shownTitle));
        CString path = dir / L"R1.DL";
        const Shown shown = ShowAndCancel(c.open, path, c.ext, c.filter, c.title);
        EXPECT_EQ(0, shown.result);
        EXPECT_EQ(c.shownTitle, shown.title);
        EXPECT_EQ(c.types, shown.types);
    }
}

// Doubled backslashes are made single and "/" becomes "\", but a network
// path keeps its leading pair; cancelling leaves the path so.
TEST(FileDialogFrontDoor, TheInitialPathIsMadeUsable)
{
    struct Case {
        CString given, normalised;
    };
    CString longPath = L"C:\\";
    while (longPath.GetLength() < 300) longPath += L"长路径\\";
    longPath += L"R1.DL";
    const Case cases[] = {
        {L"C:\\\\data\\\\R1.DL", L"C:\\data\\R1.DL"},
        {L"C:/data/sub/R1.DL", L"C:\\data\\sub\\R1.DL"},
        {L"\\\\server\\share\\R1.DL", L"\\\\server\\share\\R1.DL"},
        {L"\\\\server\\\\share\\R1.DL", L"\\\\server\\share\\R1.DL"},
        {L"//server/share/R1.DL", L"\\\\server\\share\\R1.DL"},
        {longPath, longPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.given));
        CString path = c.given;
        KeepCurrentFolder keep;
        DialogScript script; // whatever the platform shows is cancelled
        EXPECT_EQ(0, tkx_FileDialog(1, path, L"DL", nullptr, nullptr, nullptr));
        EXPECT_EQ(c.normalised, path);
    }
}

TEST(FileDialogFrontDoor, OkGivesTheChosenPath)
{
    ScratchFolder dir(L"chosen 目录");
    WriteText(dir / L"一号路.DL", L"K0+000 K0+000\n");
    CString path = dir.Path() + L"\\\\一号路.DL";
    KeepCurrentFolder keep;
    DialogScript script;
    script.Then([&](CWnd* platform) { Press(platform, IDOK); });
    EXPECT_EQ(1, tkx_FileDialog(1, path, L"DL", nullptr, nullptr, nullptr));
    EXPECT_EQ(dir / L"一号路.DL", path);
    DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog");
}
