#include "corvane/ui/BarSizing.h"
#include <algorithm>

namespace BarSizing {

CPoint Centre(const CRect& rect)
{
    auto half = [](LONG a, LONG b) { return static_cast<LONG>((static_cast<long long>(a) + b) >> 1); };
    return CPoint(half(rect.left, rect.right), half(rect.top, rect.bottom));
}

void InvertTracker(CWnd* bar, CFrameWnd* frame, const CRect& rect)
{
    if (!frame || !frame->m_hWnd) return;
    CRect barWindow, frameWindow, tracker = rect;
    bar->GetWindowRect(&barWindow);
    frame->GetWindowRect(&frameWindow);
    tracker.OffsetRect(barWindow.left - frameWindow.left, barWindow.top - frameWindow.top);
    tracker.DeflateRect(1, 1);

    CDC* dc = frame->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc) return;
    CBrush* previous = dc->SelectObject(CDC::GetHalftoneBrush());
    dc->PatBlt(tracker.left, tracker.top, tracker.Width(), tracker.Height(), PATINVERT);
    dc->SelectObject(previous);
    frame->ReleaseDC(dc);
}

void Tracker::Start(const CRect& edge, bool horz)
{
    m_bar->SetCapture();
    m_bar->RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    CFrameWnd* frame = m_bar->GetDockingFrame();
    if (frame) frame->LockWindowUpdate();
    m_start = Centre(edge);
    m_tracking = TRUE;
    m_feedback = edge;
    if (!horz) m_feedback.bottom -= 4;
    InvertTracker(m_bar, frame, m_feedback);
}

void Tracker::Follow(CPoint point, bool horz)
{
    CPoint centre = Centre(m_feedback);
    CPoint shift = horz ? CPoint(0, point.y - centre.y) : CPoint(point.x - centre.x, 0);
    if (shift.x == 0 && shift.y == 0) return;
    CFrameWnd* frame = m_bar->GetDockingFrame();
    InvertTracker(m_bar, frame, m_feedback);
    m_feedback.OffsetRect(shift);
    InvertTracker(m_bar, frame, m_feedback);
}

CFrameWnd* Tracker::End()
{
    CFrameWnd* frame = m_bar->GetDockingFrame();
    InvertTracker(m_bar, frame, m_feedback);
    if (frame) frame->UnlockWindowUpdate();
    m_tracking = FALSE;
    if (::GetCapture() == m_bar->m_hWnd) ::ReleaseCapture();
    return frame;
}

CFrameWnd* Tracker::Stop(bool accept, UINT dockBarId, bool horz, CSize minimum, CSize& horzSize, CSize& vertSize)
{
    CFrameWnd* frame = End();
    if (!accept || !frame) return nullptr;
    ApplyDrag(frame, dockBarId, horz, m_start, m_feedback, minimum, horzSize, vertSize);
    return frame;
}

void Tracker::CaptureChanged(CWnd* taker)
{
    HWND to = taker ? taker->m_hWnd : nullptr;
    if (m_tracking && to != m_bar->m_hWnd) End();
}

void ApplyDrag(CFrameWnd* frame, UINT dockBarId, bool horz, CPoint start, const CRect& tracker, CSize minimum,
               CSize& horzSize, CSize& vertSize)
{
    CRect client;
    frame->GetClientRect(&client);
    const int previous = horz ? horzSize.cy : vertSize.cx;
    const int upper = previous + (horz ? client.Height() : client.Width());
    const int lower = horz ? minimum.cy : minimum.cx;
    const CPoint centre = Centre(tracker);
    int size = previous;
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP: size += centre.y - start.y; break;
    case AFX_IDW_DOCKBAR_BOTTOM: size += start.y - centre.y; break;
    case AFX_IDW_DOCKBAR_LEFT: size += centre.x - start.x; break;
    case AFX_IDW_DOCKBAR_RIGHT: size += start.x - centre.x; break;
    default: break;
    }
    size = std::max(lower, std::min(upper, size));
    if (horz)
        horzSize.cy = size;
    else
        vertSize.cx = size;
}

CSize Fixed(CFrameWnd* frame, BOOL stretch, BOOL horz, CSize horzSize, CSize vertSize)
{
    int width = 4, height = 4;
    if (frame) {
        CRect rect;
        if (CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP)) {
            top->GetWindowRect(&rect);
            width += rect.Width();
        }
        if (CDockBar* left = frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT)) {
            left->GetWindowRect(&rect);
            height += rect.Height();
        }
    }
    if (stretch) width = height = 32767;
    return horz ? CSize(width, horzSize.cy) : CSize(vertSize.cx, height);
}

CSize Floating(int length, DWORD mode, CSize minimum, CSize& floatSize)
{
    if (mode & LM_MRUWIDTH) return floatSize;
    if (mode & LM_COMMIT) {
        floatSize.cx = length;
        return floatSize;
    }
    if (mode & LM_LENGTHY) {
        floatSize.cy = std::max<LONG>(minimum.cy, length);
        return floatSize;
    }
    return CSize(std::max<LONG>(minimum.cx, length), floatSize.cy);
}

} // namespace BarSizing
