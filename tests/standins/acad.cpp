// Stand-in for the CAD host's program "acad.exe".
//
//   acad [SECONDS]
//       a process of that name that does nothing;
//   acad [SECONDS] [--log FILE] [--statusbar] [--nested] [--sheetset]
//       a process with a main window that holds the windows the suite's
//       CAD modules keep inside the host, each recording what it is sent:
//       --statusbar  a child window titled "TAVIX3状态栏" (the suite status
//                    bar);
//       --nested     a child titled "TAVIX3状态栏" that holds the real bar,
//                    a child of the same title;
//       --sheetset   a child titled "Tavix 图纸集窗口" whose first child
//                    receives the sheet-set messages.
//
// It ends when it is killed or after SECONDS (60 without them), so that it
// never outlives a test run.  Without --log the records go to the program's
// own path plus ".log".
//
// Records (see standin_common.h):
//   READY <process id>
//   STATUSBAR <data word> <byte count> <bytes>
//   SHEETSET <data word> <byte count> <bytes>
#include "standin_common.h"
#include <cstdlib>

namespace {

const LONG_PTR kStatusBar = 1;
const LONG_PTR kSheetSet = 2;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        LONG_PTR role = GetWindowLongPtrW(window, GWLP_USERDATA);
        if (role == kStatusBar) standin::RecordCopyData("STATUSBAR", data);
        else if (role == kSheetSet) standin::RecordCopyData("SHEETSET", data);
        return 1;
    }
    if (message == WM_DESTROY && GetParent(window) == nullptr) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(HWND parent, const wchar_t* title, LONG_PTR role)
{
    HWND child = CreateWindowExW(0, L"TkxAcadStandin", title, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (child) SetWindowLongPtrW(child, GWLP_USERDATA, role);
    return child;
}

} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 && argv[1][0] != '-' ? std::atoi(argv[1]) : 60;
    if (seconds <= 0 || seconds > 600) seconds = 60;

    static standin::Args args;
    standin::ParseCommandLine(args);
    bool windows = args.Has(L"--log") || args.Has(L"--statusbar") || args.Has(L"--nested") ||
                   args.Has(L"--sheetset");
    if (!windows) {
        Sleep(static_cast<DWORD>(seconds) * 1000);
        return 0;
    }
    standin::SetLogPath(args);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TkxAcadStandin";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"AutoCAD stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
    if (!frame) return 1;
    Child(frame, L"Other child", 0);
    if (args.Has(L"--sheetset")) Child(Child(frame, L"Tavix 图纸集窗口", 0), L"Sheet set view", kSheetSet);
    if (args.Has(L"--nested")) Child(Child(frame, L"TAVIX3状态栏", 0), L"TAVIX3状态栏", kStatusBar);
    if (args.Has(L"--statusbar")) Child(frame, L"TAVIX3状态栏", kStatusBar);
    ShowWindow(frame, SW_SHOWNOACTIVATE);

    standin::AnnounceReady();
    return standin::RunLoop(static_cast<UINT>(seconds));
}
