#include "dialogs_test_support.h"
#include <cstdio>

namespace dialogs_test {

namespace {

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new LibraryHive(L"dialogs"));

BOOL CALLBACK DescribeOne(HWND child, LPARAM out)
{
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    char line[512];
    std::snprintf(line, sizeof(line), "%d %s %s \"%s\"\n", ::GetDlgCtrlID(child), Utf8(name).c_str(),
                  ::IsWindowVisible(child) ? "visible" : "hidden", Utf8(CWnd::FromHandle(child)->GetWindowText()).c_str());
    *reinterpret_cast<std::string*>(out) += line;
    return TRUE;
}

} // namespace

std::string DescribeChildren(HWND window)
{
    std::string text;
    ::EnumChildWindows(window, &DescribeOne, reinterpret_cast<LPARAM>(&text));
    return text;
}

void SaveRendering(HWND window, const wchar_t* name)
{
    wintest::Image image = wintest::CaptureWindow(CWnd::FromHandle(window));
    image.SaveBmp(ClFormat(L"%s.bmp", name));
}

} // namespace dialogs_test
