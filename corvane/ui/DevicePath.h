// Outlines of the drawing entities in device space (internal to the
// library).  Paths are clipped to the context's client rectangle (with a wide
// margin) before they are turned into whole pixels, so that segments whose
// far ends lie millions of pixels away still draw exactly; circles and arcs
// much larger than a window are drawn as fine chords over the part that can
// be seen.  Everything draws with the pen and brush selected in the
// context's device.
#pragma once
#include "corvane/ui/WorldDrawDC.h"

namespace device_path {

// A line through the world points in order; with `closing` a last segment
// back to the first point.
void DrawWorldPath(const tkxWorldDrawDC& dc, const tkxPoint2d* points, int count, bool closing = false);

// A circle of `radius` pixels about the world centre (the platform's Ellipse
// in the square centre +- radius while that is small enough); filled with
// the selected brush when `filled`, else only its outline.
void DrawCircle(const tkxWorldDrawDC& dc, const tkxPoint2d& centre, long radius, bool filled);

// An arc of a world radius, counter-clockwise from the start angle to the
// end angle (radians); equal directions make a full turn.
void DrawArc(const tkxWorldDrawDC& dc, const tkxPoint2d& centre, double radius, double start, double end);

} // namespace device_path
