// Sizing and layout shared by the library's resizable docking bars (the
// docking control bar and the dynamic information bar): the size a sizing
// drag leaves, and the fixed and floating layout sizes.
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

// The fixed layout: the width of the top dock bar (or the height of the left
// one) plus 4, or 32767 when stretched, with the docked size across.
CSize Fixed(CFrameWnd* frame, BOOL stretch, BOOL horz, CSize horzSize, CSize vertSize);

// The floating layout for a layout mode without the docking bits: the last
// floating size (LM_MRUWIDTH), a committed width (LM_COMMIT), a new height
// (LM_LENGTHY), or the asked width kept above the minimum.
CSize Floating(int length, DWORD mode, CSize minimum, CSize& floatSize);

} // namespace BarSizing
