// Pictures of the dialogs for a person to look at (file_dialog.bmp and
// folder_dialog.bmp in the scratch root): the file dialog with a current
// project and road, a history and a selected data file, and the folder
// dialog opened from inside it.  Each step is named, and the script ends
// its dialogs once its time is up, so that a failure says where it stopped.
#include "corvane/platform/PathDialog.h"
#include "corvane/ui/FileDialog.h"
#include "dialogs_test_support.h"

using namespace dialogs_test;
using namespace wintest;

namespace {

// Most of a dialog's picture shows its face colour: the dialog reached the
// screen and was taken from it.
void ExpectShowsADialog(const Image& image, const char* name)
{
    ASSERT_FALSE(image.Empty()) << name;
    const int face = image.Count(CRect(0, 0, image.Width(), image.Height()), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(face, image.Width() * image.Height() / 4) << name << ": " << image.Width() << " x " << image.Height();
}

} // namespace

TEST(Pictures, TheFileDialogAndTheFolderDialogOpenedFromIt)
{
    ScratchFolder dir(L"pictures");
    KeepCurrentFolder keep; // put back before the folder goes
    WriteText(dir / L"一号路.DL", L"// 断链: 断前桩号 断后桩号\nK0+000.000 K0+000.000\nK1+250.000 K1+200.000\n");
    WriteText(dir / L"一号路.SQX", L"0 100.5\n");
    CurrentProject project(dir / L"示例项目", L"一号路");
    const wchar_t history[] = L"SOFTWARE\\TavixSuite\\TavixFileDialog";
    for (int i = 0; i < 10; ++i)
        SetRegString(HKEY_CURRENT_USER, history, ClFormat(L"PATH%d", i),
                     i == 0 ? dir.Path() : i == 1 ? CString(L"D:\\道路工程\\二号路") : CString());

    tkxFileDialog dialog(TRUE, nullptr, dir / L"一号路.DL", OFN_HIDEREADONLY | OFN_ENABLESIZING,
                         L"所有文件 (*.*)|*.*||");
    const char* step = "the file dialog comes up";
    int folderResult = 0, selected = -1;
    Image fileImage, folderImage;
    DialogScript script;
    script
        .Then([&](CWnd* platform) {
            step = "the data file is selected in the file list";
            HWND list = ShellList(platform);
            selected = FindListItem(list, L"一号路.DL");
            if (selected >= 0) SelectListItem(list, selected);
        })
        .Then([&](CWnd* platform) {
            step = "the file dialog is taken and the folder dialog opened from it";
            fileImage = CaptureWindow(platform);
            fileImage.SaveBmp(L"file_dialog.bmp");
            tkxPathDialog folders(L"选择项目文件夹", L"请选择或输入项目文件夹:", ScratchRoot());
            folderResult = folders.DoModal();
        })
        .Then([&](CWnd* browser) {
            step = "the folder dialog is taken and cancelled";
            folderImage = CaptureWindow(browser);
            folderImage.SaveBmp(L"folder_dialog.bmp");
            Press(browser, IDCANCEL);
        })
        .Then([&](CWnd* platform) {
            step = "the file dialog is cancelled";
            Press(platform, IDCANCEL);
        })
        .EndWithin(60 * 1000);
    EXPECT_EQ(IDCANCEL, dialog.DoModal()) << "last step: " << step;
    EXPECT_FALSE(script.RanOutOfTime()) << "the dialogs were still open after 60 s; last step: " << step;
    EXPECT_FALSE(script.StepsLeft()) << "last step: " << step;
    EXPECT_TRUE(script.Unscripted().empty()) << "last step: " << step;
    EXPECT_GE(selected, 0) << "the file list does not show 一号路.DL";
    EXPECT_EQ(-1, folderResult);
    ExpectShowsADialog(fileImage, "file_dialog.bmp");
    ExpectShowsADialog(folderImage, "folder_dialog.bmp");
    DeleteRegTree(HKEY_CURRENT_USER, history);
}
