// Shared helpers of the tests of the list editor, the graphics view, the
// property list and the editable tree.
//
// The whole program runs in the scratch hive of tests/support (tag
// "controls"), so the library's start-up and anything it keeps in the
// registry or the documents folder start out empty.
#pragma once
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace controls_test {

// One visible frame for the whole program: the modal loops of the graphics
// view end when their parent is hidden, and under Wine without a window
// manager every shown window costs two seconds to destroy, so the tests
// that need a shown parent share this one.
CWnd* ShownFrame();

LPARAM PointParam(CPoint p);

// Posts a message and runs the loop until idle.
void Post(CWnd* wnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A key press (down and up) posted to a window and handled.
void PressKey(CWnd* wnd, UINT key);

// Holds Ctrl and Shift down in the thread's key state while it lives (the
// controls ask GetKeyState).
class KeyState
{
public:
    KeyState(bool ctrl, bool shift);
    ~KeyState();

private:
    BYTE m_saved[256];
};

// What a popup menu showed; it is closed at once (a test that wants an item
// chosen sends the command itself).
struct ShownMenu {
    std::vector<CString> items; // texts, "-" for separators; submenus as "name>"
    std::vector<UINT> ids;      // item ids (0 for separators and submenus)
    std::vector<bool> checked;
    std::vector<bool> grayed;
    std::vector<std::vector<CString>> submenus;
    int count = 0;
};

// Runs `open` (which shows a popup menu) and records the menu; then the
// menu is closed, or given the `keys` (say Down, Down, Enter to choose the
// second item).
ShownMenu WatchMenu(const std::function<void()>& open, std::vector<UINT> keys = {});

} // namespace controls_test
