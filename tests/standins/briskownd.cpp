// Stand-in for Brisko's main window: a top-level window that carries the
// window property by which the library finds Brisko, and that records what
// it is sent.
//
//   briskownd [--log FILE] [--seconds N] [--prop NAME] [--minimized] [FILE-TO-OPEN]
//
// --prop names the property ("Brisko" by default; the library also knows
// "Brisko7" and "Brisko_x64").  Without --log the records go to the
// program's own path plus ".log" (for the copy the library starts as
// "<installation>\Bin\Brisko.exe").  The program ends after N seconds (30 by
// default) or on the exit command.
//
// Records (see standin_common.h):
//   READY <process id>
//   COMMANDLINE <text>     the file argument, each "?" turned back into a blank
//   COPYDATA <data word> <byte count> <bytes>
//   PRINT <text>           a "TAVIX_PRINTF:" line, without its prefix
//   ROAD <text>            the road of a "SETCURPRJ:...|SETCURROAD:..." text
//   OPEN <text>            any other text that names an existing file
//   EXIT                   WM_COMMAND with the exit command (57665)
#include "standin_common.h"

namespace {

const UINT kAppExit = 57665;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA: {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        standin::RecordCopyData("COPYDATA", data);
        static wchar_t text[8192];
        standin::CopyDataText(data, text, sizeof(text) / sizeof(text[0]));
        if (const wchar_t* print = wcsstr(text, L"TAVIX_PRINTF:")) {
            standin::RecordText("PRINT", print + 13);
            return 1;
        }
        if (wcsncmp(text, L"SETCURPRJ:", 10) == 0) {
            const wchar_t* road = wcschr(text, L'|');
            const wchar_t kRoadTag[] = L"|SETCURROAD:";
            if (road && wcsncmp(road, kRoadTag, 12) == 0) standin::RecordText("ROAD", road + 12);
            return 1;
        }
        if (text[0] && GetFileAttributesW(text) != INVALID_FILE_ATTRIBUTES) standin::RecordText("OPEN", text);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kAppExit) {
            standin::Record("EXIT", nullptr, 0, nullptr, 0);
            DestroyWindow(window);
            return 0;
        }
        break;
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

    const wchar_t* property = args.Value(L"--prop");
    if (!property) property = L"Brisko";

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TkxBriskoStandin";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Brisko stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 120,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    SetPropW(window, property, reinterpret_cast<HANDLE>(1));
    ShowWindow(window, args.Has(L"--minimized") ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);

    // The file argument: the first one that is not an option or its value.
    for (int i = 0; i < args.count; ++i) {
        const wchar_t* item = args.items[i];
        if (wcscmp(item, L"--minimized") == 0) continue;
        if (wcsncmp(item, L"--", 2) == 0) {
            ++i;
            continue;
        }
        static wchar_t path[4096];
        lstrcpynW(path, item, 4096);
        for (wchar_t* c = path; *c; ++c)
            if (*c == L'?') *c = L' ';
        standin::RecordText("COMMANDLINE", path);
        break;
    }
    standin::AnnounceReady();
    return standin::RunLoop(standin::LifeSeconds(args, 30));
}
