// The library-internal plane helpers: line intersection, side of a ray and
// plan angle.  They are not exported; their tests compile this file into the
// test program.
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/geometry/Line3d.h"

#include <cmath>

bool IntersectLines2d(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2, tkxPoint3d p3, tkxPoint3d* out,
                      short mode)
{
    tkxPoint3d scratch;
    tkxPoint3d& hit = out ? *out : scratch;
    // Work relative to p0 so that large coordinates keep their precision.
    const tkxLine3d self(tkxPoint3d(0.0, 0.0, 0.0), p1 - p0);
    const tkxLine3d other(p2 - p0, p3 - p0);
    const bool found = self.IntersectWith2d(other, hit, mode);
    hit += p0;
    return found;
}

bool IntersectLines2d(const double p0[3], const double p1[3], const double p2[3], const double p3[3],
                      double out[3], int mode)
{
    tkxPoint3d hit(0.0, 0.0, 0.0);
    const bool found = IntersectLines2d(tkxPoint3d(p0), tkxPoint3d(p1), tkxPoint3d(p2), tkxPoint3d(p3),
                                        &hit, static_cast<short>(mode));
    if (out) {
        out[0] = hit.x;
        out[1] = hit.y;
        out[2] = hit.z;
    }
    return found;
}

enDir GetPointSideOfRay(const double base[2], double angle, const double point[2])
{
    const tkxLine3d ray(tkxPoint3d(0.0, 0.0, 0.0),
                        tkxPoint3d(1000.0 * std::cos(angle), 1000.0 * std::sin(angle), 0.0));
    const tkxPoint3d r(point[0] - base[0], point[1] - base[1], 0.0);
    return ray.LeftOrRight(r, -1.0);
}

double GetPlanAngle(const double a[2], const double b[2])
{
    return tkxPoint3d(a[0], a[1], 0.0).Angle2d(tkxPoint3d(b[0], b[1], 0.0));
}
