// Plane (x, y) helpers on points: intersection of two lines given by four
// points, the side of a point against a ray, direction angles, colinearity,
// sorting of a 2-D point list and linear interpolation on it.
//
// The static plane helpers of tkxPoint2d (IsColinear, GetIntPoint,
// PointDisToLine, PolygonArea) are declared with the class and defined in
// PlaneGeometry.cpp.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/geometry/Points.h"
#include "corvane/geometry/Vectors.h"

// ---------------------------------------------------------------------------
// Library-internal helpers (not exported).

// Plan intersection of line p0-p1 with line p2-p3.  mode 0: the crossing must
// lie on both segments, 1: on p2-p3, 2: on p0-p1, anything else: anywhere on
// the endless lines.  Parallel lines give false.  out is written whatever the
// result; its x and y mean something only when the result is true.  This form
// adds p0 to the point the caller passed, so out.z ends as its entry z + p0.z.
bool IntersectLines2d(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2, tkxPoint3d p3, tkxPoint3d* out,
                      short mode);
// The same on x, y, z arrays; out[2] ends as p0[2].
bool IntersectLines2d(const double p0[3], const double p1[3], const double p2[3], const double p3[3],
                      double out[3], int mode);

// Side of point against the line through base in direction `angle` (radians
// counter-clockwise from +x): DIR_LEFT, DIR_RIGHT or DIR_NONE on the line.
// Reads x and y of each point only.
enDir GetPointSideOfRay(const double base[2], double angle, const double point[2]);

// Direction angle from a to b in [0, 2*pi) (coincident points give 0).
double GetPlanAngle(const double a[2], const double b[2]);

// ---------------------------------------------------------------------------
// Exported helpers.

// Sorts the points ascending by x (byX) or by y; points with equal keys keep
// their order.
CORVANE_API void tkx_PointsPibubUp(CArray<tkxPoint2d, tkxPoint2d>& points, bool byX);

// y at x on the polyline through points (ascending x): the first y before the
// start, the last y beyond the end, linear in between.  False, with the
// last-error text, for fewer than two points.
CORVANE_API bool tkx_GetYByPoints(const CArray<tkxPoint2d, tkxPoint2d>& points, double x, double& y);

// 1 when a, b and c are colinear in plan (twice the triangle's area below
// 1e-8), else 0.
CORVANE_API int tkx_IsColinear(tkxPoint3d a, tkxPoint3d b, tkxPoint3d c);
