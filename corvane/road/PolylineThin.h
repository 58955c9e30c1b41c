// Thinning of a polyline given as two parallel vectors (abscissae and
// ordinates; for a cross-section side: offsets from the centre line and
// elevations).  Both work in place and leave vectors of different sizes
// unchanged.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <vector>

// Resamples the polyline at whole multiples of step (measured from 0, not
// from x[0]) and ends it with its last point; the first point is not kept.
// x is expected to increase.  A step of zero or below changes nothing.
CORVANE_API void tkx_PredigestByStep(std::vector<double>& x, std::vector<double>& y, double step);

// Removes inner points where the polyline turns by less than angle
// (radians), the earliest such point first, until no point qualifies.  The
// first and last points always stay.
CORVANE_API void tkx_PredigestByRadianDiff(std::vector<double>& x, std::vector<double>& y, double angle);
