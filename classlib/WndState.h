// The window part's per-thread state, shared by the files of the window
// part inside the library (not part of the library's interface).
#pragma once
#include "String.h"
#include <unordered_map>
#include <utility>
#include <vector>

class CWnd;

// The handle map, the window being created with its hook, the message
// being handled, and the last mouse position the idle test saw.
struct WndThreadState {
    std::unordered_map<HWND, CWnd*> permanent;
    CWnd* creating = nullptr;
    HHOOK cbtHook = nullptr;
    MSG current{};
    POINT lastMouse{-1, -1};
    UINT lastMouseMessage = 0;
    int quitCode = 0; // of the last WM_QUIT a loop of the library took
    // Menus being shown: each window's popups since WM_INITMENUPOPUP, in order.
    std::vector<std::pair<HWND, HMENU>> openMenus;
};

WndThreadState& ClWndState();
// The window's class name ("Button", "Edit", ...).
CString ClClassNameOf(HWND hwnd);
