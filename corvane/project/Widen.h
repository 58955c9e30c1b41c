// Value of a quantity that changes between two stations (a width that widens
// or narrows, a cross fall that turns) at a station in between.
#pragma once
#include "corvane/CorvaneDefs.h"

// With t = (station - station1) / (station2 - station1): mode 2 follows
// 2t - t^2, mode 3 the cubic 3t^2 - 2t^3 and mode 4 the quartic 4t^3 - 3t^4,
// each shape starting at the end with the smaller magnitude; any other mode
// (1 among them) is linear.  Stations closer than 1e-6 give the mean of the
// two values.
CORVANE_API double tkx_GetWiden(double station1, double station2, double station, double value1, double value2,
                                short mode);
