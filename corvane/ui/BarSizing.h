// Sizing and layout shared by the library's resizable docking bars (the
// docking control bar and the dynamic information bar): the drag of the
// sizing edge, the size it leaves, and the fixed and floating layout sizes.
#pragma once
#include "corvane/CorvaneDefs.h"

namespace BarSizing {

// The centre of a rectangle, rounded down also left of or above the origin,
// so that moving a rectangle moves its centre by exactly as much.
CPoint Centre(const CRect& rect);

// Inverts the sizing tracker, a rectangle in the bar's window coordinates,
// on the frame's window (drawing it the first time, removing it the next).
void InvertTracker(CWnd* bar, CFrameWnd* frame, const CRect& rect);

// The docked size after a sizing drag from `start` to the tracker's centre:
// the height of a bar in the top or bottom dock bar (horz), else the width,
// grown towards the frame's inside and kept between the minimum and the
// old size plus the frame's client extent.
void ApplyDrag(CFrameWnd* frame, UINT dockBarId, bool horz, CPoint start, const CRect& tracker, CSize minimum,
               CSize& horzSize, CSize& vertSize);

// The drag of a docked bar's sizing edge.  The bar keeps the drag's state in
// its own members (the drag flag, the feedback rectangle and the edge's
// centre when the drag began, both in the bar's window coordinates); a
// tracker works on them for the length of one call.
class Tracker
{
public:
    Tracker(CControlBar* bar, int& tracking, CRect& feedback, CPoint& start)
        : m_bar(bar), m_tracking(tracking), m_feedback(feedback), m_start(start)
    {
    }

    // Captures the mouse, redraws the bar at once, locks the frame's window
    // updates, remembers the centre of the edge and draws the feedback (the
    // edge, 4 px shorter at the bottom unless docked horizontally).
    void Start(const CRect& edge, bool horz);
    // Moves the feedback with a point of the bar's window coordinates, across
    // the edge only.
    void Follow(CPoint point, bool horz);
    // Erases the feedback, unlocks the frame, ends the drag and releases the
    // capture.  With `accept`, the docked size after the drag is stored
    // (ApplyDrag) and the frame is returned for its layout; else null.
    CFrameWnd* Stop(bool accept, UINT dockBarId, bool horz, CSize minimum, CSize& horzSize, CSize& vertSize);
    // The capture went to `taker`: a drag still running ends without a new size.
    void CaptureChanged(CWnd* taker);

private:
    CFrameWnd* End();
    CControlBar* m_bar;
    int& m_tracking;
    CRect& m_feedback;
    CPoint& m_start;
};

// The fixed layout: the width of the top dock bar (or the height of the left
// one) plus 4, or 32767 when stretched, with the docked size across.
CSize Fixed(CFrameWnd* frame, BOOL stretch, BOOL horz, CSize horzSize, CSize vertSize);

// The floating layout for a layout mode without the docking bits: the last
// floating size (LM_MRUWIDTH), a committed width (LM_COMMIT), a new height
// (LM_LENGTHY), or the asked width kept above the minimum.
CSize Floating(int length, DWORD mode, CSize minimum, CSize& floatSize);

} // namespace BarSizing
