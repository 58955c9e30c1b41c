// brisko_shot.exe PROGRAM OUT.bmp [FILE [LINES [TIP]]]: starts the program
// (Brisko), with FILE on its command line when given, waits until its main
// window is up and the program waits for input (and, with FILE, until the
// file shows in an editor window), moves the caret of the open document
// down LINES lines as the down arrow would, saves a picture of that window
// as it shows on the screen, then asks the program to exit.  With TIP the
// caret is moved one character to the right first, and the field tooltip
// must show a text holding TIP.  With FILE the editor must keep the
// keyboard focus and the program's caret through the moves.  Every wait has
// a bound; exit code 0 when the picture was saved and the tooltip, if asked
// for, was found.
#include "classlib/ClassLib.h"
#include "brisko/BriskoResource.h"
#include "corvane/project/SuitePrograms.h"
#include <cstdio>
#include <string>
#include <vector>

namespace {

const DWORD kStartMs = 60000; // to the main window and the first idle moment
const DWORD kFileMs = 30000;  // to the editor window of the file
const DWORD kTipMs = 10000;   // from the caret's move to the tooltip
const DWORD kCaretMs = 10000; // from the caret's moves to the caret in the editor
const DWORD kExitMs = 10000;  // from a request to end to the program's end

int Fail(const char* what)
{
    std::fprintf(stderr, "brisko_shot: %s\n", what);
    return 1;
}

bool SaveBmp(HWND window, const wchar_t* path)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    bool saved = false;
    if (FILE* file = _wfopen(path, L"wb")) {
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof(header) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + static_cast<DWORD>(w) * h * 4;
        saved = std::fwrite(&header, sizeof(header), 1, file) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, file) == 1 &&
                std::fwrite(bits, 4, static_cast<size_t>(w) * h, file) == static_cast<size_t>(w) * h;
        saved = (std::fclose(file) == 0) && saved;
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

struct WindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != search->process || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) ||
        !(::GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION))
        return TRUE;
    search->found = window;
    return FALSE;
}

// The program's main window: the one that carries Brisko's property, else
// its first shown top-level window with a caption.
HWND MainWindowOf(DWORD process)
{
    if (HWND marked = tkx_GetBriskoWnd()) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(marked, &owner);
        if (owner == process) return marked;
    }
    WindowSearch search{process, nullptr};
    ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The editor view of the active document window: the pane of the MDI
// client's first child.
HWND EditorView(HWND main)
{
    HWND client = ::FindWindowExW(main, nullptr, L"MDIClient", nullptr);
    HWND child = client ? ::GetWindow(client, GW_CHILD) : nullptr;
    return child ? ::GetDlgItem(child, AFX_IDW_PANE_FIRST) : nullptr;
}

struct TipSearch {
    DWORD process;
    const wchar_t* text;
    std::wstring found; // the text of a shown tooltip, when there is one
};

BOOL CALLBACK FindTip(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<TipSearch*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    if (process != search->process || !::IsWindowVisible(window) || !::GetClassNameW(window, name, 64) ||
        std::wstring(name) != L"CTAVIXTooltip")
        return TRUE;
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    search->found = text;
    return std::wstring(text).find(search->text) == std::wstring::npos;
}

// Waits while the condition is false, handling nothing of its own; false
// when the time is up or the program ended.
template <class Condition>
bool WaitFor(HANDLE process, DWORD limit, Condition condition)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < limit) {
        if (condition()) return true;
        if (::WaitForSingleObject(process, 100) == WAIT_OBJECT_0) return false;
    }
    return condition();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3 || argc > 6) return Fail("usage: brisko_shot PROGRAM OUT.bmp [FILE [LINES [TIP]]]");
    const wchar_t* file = argc > 3 ? argv[3] : nullptr;
    const int lines = argc > 4 ? _wtoi(argv[4]) : 0;
    const wchar_t* tip = argc > 5 ? argv[5] : nullptr;
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    if (file) command += L" \"" + std::wstring(file) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(argv[1], &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return Fail("cannot start the program");

    const DWORD start = ::GetTickCount();
    HWND window = nullptr;
    while (::GetTickCount() - start < kStartMs) {
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return Fail("the program ended before its window came up");
        window = MainWindowOf(process.dwProcessId);
        if (window && ::IsWindowVisible(window) &&
            ::WaitForInputIdle(process.hProcess, 100) == 0)
            break;
        if (!window) ::Sleep(100);
    }
    if (!window || !::IsWindowVisible(window)) {
        ::TerminateProcess(process.hProcess, 1);
        return Fail("no main window within the time allowed");
    }
    bool tipFound = true;
    if (file) {
        HWND view = nullptr;
        if (!WaitFor(process.hProcess, kFileMs, [&] { return (view = EditorView(window)) != nullptr; })) {
            // The picture shows what came up instead.
            SaveBmp(window, argv[2]);
            ::TerminateProcess(process.hProcess, 1);
            return Fail("the file did not open in an editor window within the time allowed");
        }
        ::WaitForInputIdle(process.hProcess, kFileMs);
        // The caret goes down through the document line by line, as the
        // user would move it (each command is handled before the next is
        // sent).
        DWORD_PTR handled = 0;
        for (int i = 0; i < lines; ++i)
            ::SendMessageTimeoutW(view, WM_COMMAND, ID_EDIT_LINE_DOWN, 0, SMTO_BLOCK, 5000, &handled);
        if (tip) {
            // One character to the right, as the user's key would move it.
            ::PostMessageW(view, WM_KEYDOWN, VK_RIGHT, 1);
            ::PostMessageW(view, WM_KEYUP, VK_RIGHT, 0xC0000001);
            TipSearch search{process.dwProcessId, tip, {}};
            tipFound = WaitFor(process.hProcess, kTipMs, [&] {
                return !::EnumWindows(FindTip, reinterpret_cast<LPARAM>(&search)) &&
                       search.found.find(tip) != std::wstring::npos;
            });
            if (!tipFound) {
                const std::string shown = ClWideToMultiByte(search.found.c_str(), -1, CP_UTF8);
                std::fprintf(stderr, "brisko_shot: no field tooltip with the expected text; shown: \"%s\"\n",
                             shown.c_str());
            }
        }
    }
    bool caretFound = true;
    if (file) {
        // The program's one caret stands in the editor, which has the
        // keyboard focus (the moves must not leave a caret elsewhere).
        HWND view = EditorView(window);
        caretFound = WaitFor(process.hProcess, kCaretMs, [&] {
            GUITHREADINFO thread{};
            thread.cbSize = sizeof(thread);
            return view && ::GetGUIThreadInfo(process.dwThreadId, &thread) && thread.hwndFocus == view &&
                   thread.hwndCaret == view;
        });
        if (!caretFound) std::fprintf(stderr, "brisko_shot: the editor lost the keyboard focus or its caret\n");
    }
    // The window draws itself whole before the picture is taken (the paint
    // messages are sent, so this returns once they are handled).
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    const bool saved = SaveBmp(window, argv[2]);

    // The program's own exit command, then closing its window; ended when
    // neither ends it.
    ::PostMessageW(window, WM_COMMAND, ID_APP_EXIT, 0);
    if (::WaitForSingleObject(process.hProcess, kExitMs) != WAIT_OBJECT_0) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process.hProcess, kExitMs) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "brisko_shot: the program did not end when asked; ended it\n");
            ::TerminateProcess(process.hProcess, 1);
        }
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!saved) return Fail("cannot save the picture");
    return tipFound && caretFound ? 0 : 1;
}
