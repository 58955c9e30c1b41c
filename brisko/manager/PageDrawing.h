// What the drawing windows of the road-information pages share: their window
// classes, the pointers over a pannable picture, the small icon buttons,
// the scroll bars, lines that may reach far beyond the window, rotated
// label fonts, and the page that holds one drawing window.
#pragma once
#include "classlib/ClassLib.h"
#include <functional>

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

// A press in the plot takes the mouse for a pan: the anchor becomes the
// point and the grabbing hand shows; FALSE outside the plot.
BOOL StartPan(CWnd& wnd, const CRect& plot, CPoint point, int& anchorX, int& anchorY);
// The end of a pan: the mouse is let go and the open hand shows; FALSE when
// the window did not hold the mouse.
BOOL EndPan(CWnd& wnd);
// The client point of a mouse message's lParam.
CPoint PointOf(LPARAM lParam);

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

// An object selected into a DC for a scope.
class Selected
{
public:
    Selected(CDC& dc, CGdiObject* object) : m_dc(dc), m_old(dc.SelectObject(object->m_hObject)) {}
    ~Selected()
    {
        if (m_old) m_dc.SelectObject(m_old);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    CDC& m_dc;
    HGDIOBJ m_old;
};

// A ruler's strip made ready for one paint: filled with the brush, the pen
// and the font selected, black text (opaque on RGB(250,250,250) when asked,
// else transparent).
class RulerStrip
{
public:
    RulerStrip(CDC& dc, const CRect& strip, CBrush& brush, CPen& pen, CFont& font, bool opaque);

private:
    Selected m_pen;
    Selected m_font;
};

// What a vertical ruler shows at one decimetre: the tick's length from the
// ruler's left edge (0: none) and whether the value is written, in which
// colour.
struct RulerMark {
    int tick = 0;
    bool labelled = false;
    COLORREF colour = RGB(0, 0, 0);
};
// Walks a vertical ruler a decimetre at a time from `bottom` (rounded to a
// decimetre) up to its top: `y` places a value, `mark` (of the number of
// decimetres) says what stands there and `label` writes a value, centred on
// its tick.  Values below the strip are passed over.
void DrawVerticalRuler(CDC& dc, const CRect& strip, double bottom, const std::function<int(double)>& y,
                       const std::function<RulerMark(long)>& mark, const std::function<CString(double)>& label);

// The page's drawing window fills the page's client area (when both
// windows exist).
void FitToClient(CWnd& page, CWnd& view);
// A wheel message whose cursor lies in the enabled view's window rectangle
// goes to the view (when it is not already meant for it).
void ForwardWheel(const MSG* msg, CWnd& view);

} // namespace page_drawing
