// Pictures of the dialogs for a person to look at (file_dialog.bmp,
// folder_dialog.bmp in the working folder).
//
// Under Wine without a window manager, windows shown after another one was
// destroyed do not reach the screen; so this test has to be the first to
// show a window, and the folder dialog is opened from inside the file
// dialog.  This file's objects come last in the program, whose tests then
// register (and run) first; should that change, the pictures come out blank
// and nothing else.
#include "corvane/CorvaneResource.h"
#include "corvane/platform/PathDialog.h"
#include "corvane/ui/FileDialog.h"
#include "dialogs_test_support.h"

using namespace dialogs_test;
using namespace wintest;

TEST(DialogRenderings, FileDialogWithItsPanelAndTheFolderDialog)
{
    ScratchFolder dir(L"pictures");
    KeepCurrentFolder keep; // put back before the folder goes
    WriteText(dir / L"一号路.DL", L"// 断链: 断前桩号 断后桩号\nK0+000.000 K0+000.000\nK1+250.000 K1+200.000\n");
    WriteText(dir / L"一号路.SQX", L"0 100.5\n");
    CurrentProject project(dir / L"示例项目", L"一号路");
    SetRegString(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog", L"PATH0", dir.Path());
    for (int i = 1; i < 10; ++i)
        SetRegString(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog", ClFormat(L"PATH%d", i),
                     i == 1 ? L"D:\\道路工程\\二号路" : L"");

    tkxFileDialog dialog(TRUE, nullptr, dir / L"一号路.DL", OFN_HIDEREADONLY | OFN_ENABLESIZING,
                         L"所有文件 (*.*)|*.*||");
    int folderResult = 0;
    DialogScript script;
    script
        .Then([&](CWnd* platform) {
            HWND list = ShellList(platform);
            SelectListItem(list, FindListItem(list, L"一号路.DL"));
        })
        .Then([&](CWnd* platform) {
            SaveRendering(platform->GetSafeHwnd(), L"file_dialog");
            tkxPathDialog folders(L"选择项目文件夹", L"请选择或输入项目文件夹:", WorkingFolder());
            folderResult = folders.DoModal();
        })
        .Then([&](CWnd* browser) {
            SaveRendering(browser->GetSafeHwnd(), L"folder_dialog");
            Press(browser, IDCANCEL);
        })
        .Then([&](CWnd* platform) { Press(platform, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(-1, folderResult);
    EXPECT_FALSE(script.StepsLeft());
    DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog");
}
