#include "brisko/manager/PageDrawing.h"
#include "brisko/BriskoResource.h"
#include "corvane/project/StationText.h"
#include "corvane/ui/IconButton.h"
#include <algorithm>
#include <cmath>

namespace page_drawing {

void RegisterNamedClass(const wchar_t* name, const wchar_t* failure)
{
    WNDCLASSW wc{};
    const HINSTANCE module = AfxGetInstanceHandle();
    if (::GetClassInfoW(module, name, &wc)) return;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = module;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (!::RegisterClassW(&wc)) {
        AfxMessageBox(failure);
        AfxThrowResourceException();
    }
}

BOOL CreateDrawingWindow(CWnd& wnd, const RECT& rect, CWnd* parent, UINT id, const wchar_t* failure)
{
    BOOL made = FALSE;
    try {
        const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        made = wnd.CreateEx(0, cls, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id);
    } catch (CException* e) {
        e->Delete();
    }
    if (!made) AfxMessageBox(failure);
    return made;
}

HCURSOR ProgramCursor(UINT id)
{
    const wchar_t* name = MAKEINTRESOURCEW(id);
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_CURSOR))
        if (HCURSOR cursor = ::LoadCursorW(module, name)) return cursor;
    return ::LoadCursorW(nullptr, IDC_ARROW);
}

BOOL StartPan(CWnd& wnd, const CRect& plot, CPoint point, int& anchorX, int& anchorY)
{
    if (!plot.PtInRect(point)) return FALSE;
    anchorX = point.x;
    anchorY = point.y;
    wnd.SetCapture();
    ::SetCursor(ProgramCursor(IDC_CURSOR_GRAB));
    return TRUE;
}

BOOL EndPan(CWnd& wnd)
{
    if (CWnd::GetCapture() != &wnd) return FALSE;
    ::ReleaseCapture();
    ::SetCursor(ProgramCursor(IDC_CURSOR_HAND));
    return TRUE;
}

CPoint PointOf(LPARAM lParam) { return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); }

BOOL CreateIconButton(tkxIconButton& button, CWnd* parent, UINT id, int iconIn, int iconOut, const wchar_t* tip)
{
    if (!button.Create(L"", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 15, 100), parent, id)) return FALSE;
    button.SetIcon(iconIn, iconOut);
    button.SetShowText(FALSE);
    if (tip) {
        CString text(tip);
        button.SetTooltipText(&text);
    }
    return TRUE;
}

void SetScrollRange(CWnd& wnd, int bar, int minimum, int maximum, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = minimum;
    info.nMax = maximum;
    info.nPage = 1;
    info.nPos = position;
    wnd.SetScrollInfo(bar, &info, TRUE);
}

void SetScrollPosition(CWnd& wnd, int bar, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    wnd.SetScrollInfo(bar, &info, TRUE);
}

void GetScrollState(const CWnd& wnd, int bar, int& minimum, int& maximum, int& track)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_TRACKPOS;
    wnd.GetScrollInfo(bar, &info, SIF_RANGE | SIF_TRACKPOS);
    minimum = info.nMin;
    maximum = info.nMax;
    track = info.nTrackPos;
}

int ToPixel(double value)
{
    const double limit = 1e9;
    if (!(value > -limit)) return static_cast<int>(-limit); // also a value that is no number
    if (value > limit) return static_cast<int>(limit);
    return static_cast<int>(value);
}

void DrawLine(CDC& dc, double x1, double y1, double x2, double y2, const CRect& area)
{
    // Liang-Barsky against the area widened by a margin: what is cut away
    // lies outside the window.
    const double margin = 64;
    const double left = area.left - margin, right = area.right + margin;
    const double top = area.top - margin, bottom = area.bottom + margin;
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return;
            t1 = std::min(t1, t);
        }
    }
    dc.MoveTo(ToPixel(x1 + t0 * dx), ToPixel(y1 + t0 * dy));
    dc.LineTo(ToPixel(x1 + t1 * dx), ToPixel(y1 + t1 * dy));
}

BOOL CreateLabelFont(CFont& font, int height, int weight, int escapement, const wchar_t* face)
{
    return font.CreateFont(height, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_TT_PRECIS, CLIP_TT_ALWAYS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, face);
}

RulerStrip::RulerStrip(CDC& dc, const CRect& strip, CBrush& brush, CPen& pen, CFont& font, bool opaque)
    : m_pen(dc, &pen), m_font(dc, &font)
{
    dc.FillRect(&strip, &brush);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkColor(RGB(250, 250, 250));
    dc.SetBkMode(opaque ? OPAQUE : TRANSPARENT);
}

void DrawVerticalRuler(CDC& dc, const CRect& strip, double bottom, const std::function<int(double)>& y,
                       const std::function<RulerMark(long)>& mark, const std::function<CString(double)>& label)
{
    const int centre = (strip.left + strip.right) / 2;
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    long k = std::lround(tkx_DToF(bottom, 1) * 10);
    // The guard: no ruler holds more decimetres than this.
    for (int guard = 0; guard < 200000; ++guard, ++k) {
        const double value = k / 10.0;
        const int at = y(value);
        if (at <= strip.top) break;
        if (at > strip.bottom) continue;
        const RulerMark m = mark(k);
        if (m.tick) {
            dc.MoveTo(strip.left, at);
            dc.LineTo(strip.left + m.tick, at);
        }
        if (m.labelled) {
            dc.SetTextColor(m.colour);
            dc.TextOut(centre, at - 6, label(value));
        }
    }
}

void FitToClient(CWnd& page, CWnd& view)
{
    if (!page.GetSafeHwnd() || !view.GetSafeHwnd()) return;
    CRect client;
    page.GetClientRect(&client);
    view.MoveWindow(&client);
}

void ForwardWheel(const MSG* msg, CWnd& view)
{
    if (msg->message != WM_MOUSEWHEEL || !view.GetSafeHwnd() || !view.IsWindowEnabled()) return;
    // The message meant for the view reaches it anyway.
    if (msg->hwnd == view.m_hWnd) return;
    CRect rect;
    view.GetWindowRect(&rect);
    const CPoint point(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam)));
    if (rect.PtInRect(point)) view.SendMessage(WM_MOUSEWHEEL, msg->wParam, msg->lParam);
}

} // namespace page_drawing
