// What the drawing windows of the road-information pages share: their window
// classes, the pointers over a pannable picture, the small icon buttons,
// the scroll bars, lines that may reach far beyond the window, rotated
// label fonts, and the page that holds one drawing window.
#pragma once
#include "classlib/ClassLib.h"

class tkxIconButton;

namespace page_drawing {

// Registers the named class (CS_SAVEBITS, DefWindowProc, arrow cursor, no
// background) unless it exists; when that fails the message is shown and a
// resource exception thrown.
void RegisterNamedClass(const wchar_t* name, const wchar_t* failure);
// The drawing window as a visible child, of a class with CS_DBLCLKS, the
// arrow cursor and the button-face brush; FALSE after the message.
BOOL CreateDrawingWindow(CWnd& wnd, const RECT& rect, CWnd* parent, UINT id, const wchar_t* failure);

// The program's cursor resource, the arrow when no module holds it.
HCURSOR ProgramCursor(UINT id);

// A flat icon button made hidden (WM_SIZE places and shows it); FALSE when
// the window could not be made.
BOOL CreateIconButton(tkxIconButton& button, CWnd* parent, UINT id, int iconIn, int iconOut, const wchar_t* tip);

// Sets a scroll bar's range and position (page 1) / its position.
void SetScrollRange(CWnd& wnd, int bar, int minimum, int maximum, int position);
void SetScrollPosition(CWnd& wnd, int bar, int position);
// The range and the 32-bit thumb-track position of a scroll bar.
void GetScrollState(const CWnd& wnd, int bar, int& minimum, int& maximum, int& track);

// A pixel coordinate from a double, kept within what GDI takes.
int ToPixel(double value);
// The segment between two points given in pixels (doubles), cut to the
// band around `area` first: far-off points give coordinates GDI cannot
// draw.
void DrawLine(CDC& dc, double x1, double y1, double x2, double y2, const CRect& area);

// A "宋体" label font of the height and weight, turned by the escapement
// (tenths of a degree, counter-clockwise).
BOOL CreateLabelFont(CFont& font, int height, int weight, int escapement = 0, const wchar_t* face = L"宋体");

// The page's drawing window fills the page's client area (when both
// windows exist).
void FitToClient(CWnd& page, CWnd& view);
// A wheel message whose cursor lies in the enabled view's window rectangle
// goes to the view (when it is not already meant for it).
void ForwardWheel(const MSG* msg, CWnd& view);

} // namespace page_drawing
