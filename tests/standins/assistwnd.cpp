// Stand-in for the design assistant program: a top-level window titled
// "设计助手" that records what it is sent.
//
//   assistwnd [--log FILE] [--seconds N]
//
// Without --log the records go to the program's own path plus ".log" (for
// the copy the library starts as "<installation>\Bin\TavixAssist.exe").  The
// program ends after N seconds (30 by default), or when it is sent the exit
// message: WM_COPYDATA with data word 0 and no data.
//
// Records (see standin_common.h):
//   READY <process id>
//   COPYDATA <data word> <byte count> <bytes>
//   EXIT
#include "standin_common.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA: {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        standin::RecordCopyData("COPYDATA", data);
        if (data->dwData == 0 && data->cbData == 0) {
            standin::Record("EXIT", nullptr, 0, nullptr, 0);
            DestroyWindow(window);
        }
        return 1;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main()
{
    static standin::Args args;
    standin::ParseCommandLine(args);
    standin::SetLogPath(args);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TkxAssistStandin";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"设计助手", WS_OVERLAPPEDWINDOW, 0, 0, 200, 120, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    standin::AnnounceReady();
    return standin::RunLoop(standin::LifeSeconds(args, 30));
}
