#include "corvane/project/Widen.h"

#include <cmath>

namespace {

double Shape(short mode, double x)
{
    switch (mode) {
    case 2: return 2.0 * x - x * x;
    case 3: return x * x * (3.0 - 2.0 * x);
    case 4: return x * x * x * (4.0 - 3.0 * x);
    default: return x;
    }
}

} // namespace

double tkx_GetWiden(double station1, double station2, double station, double value1, double value2, short mode)
{
    if (std::fabs(station2 - station1) < 1e-6) return (value1 + value2) / 2.0;
    const double t = (station - station1) / (station2 - station1);
    if (mode != 2 && mode != 3 && mode != 4) return value1 + t * (value2 - value1);
    // The shape always grows out of the narrower end.
    if (std::fabs(value2) > std::fabs(value1)) return value1 + (value2 - value1) * Shape(mode, t);
    return value2 + (value1 - value2) * Shape(mode, 1.0 - t);
}
