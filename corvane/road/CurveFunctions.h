// Functions over a road's alignment in intersection-point form: an array of
// tkxPlaneCurve3 whose first element is the road start (a curve without
// units), whose last is the road end, with curves and curve-less turn points
// between them.  The straights are not stored: each runs from the end point
// of one element to the start point of the next.
#pragma once
#include "corvane/geometry/Point3dArray.h"
#include "corvane/road/PlaneCurve.h"

// One curve at the intersection point jd between prev and next, with
// clothoids Ls1, Ls2 and radius R, and the points of the curve every `step`
// (with its end point).  Curve and points stay as they were when the three
// points make no turn; when the curve cannot be placed or does not fit
// between its neighbours the points stay as they were.
CORVANE_API void tkx_MakeRSAlignment(const tkxPoint3d& prev, const tkxPoint3d& jd, const tkxPoint3d& next, double Ls1,
                                     double R, double Ls2, double step, tkxPlaneCurve3& curve,
                                     tkxPoint3dArray& points);

// Appends the road's intersection-point form of a unit list to `curves`.
// Arcs of half a circle or more are first split in two, in `units` itself.
// 1, or 0 with the last-error text (the curves made so far stay appended).
CORVANE_API int tkx_UnitsToPlaneCurves(CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo>& units,
                                       CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves);

// Type of a unit record: a straight for turn 0 or two infinite radii, an arc
// for equal radii, else the clothoid type of the radii.
CORVANE_API Tavix4::tkxUnitType tkx_TestUnitType(Tavix4::sUnitInfo unit);

// The alignment point at a station.  Before the start: the start point
// heading to the first turn point; beyond the end: the end point.  1, or 0
// with the last-error text.
CORVANE_API int tkx_GetPointOnPlaneCurves(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves, double station,
                                          Tavix4::sZHPtInfo& out);

// The alignment point nearest to the plan point (x, y): the index of the
// element on whose curve or preceding straight it lies, -1 when none (out
// unchanged).
CORVANE_API int tkx_GetNearestZHInfo(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves, double* const point,
                                     Tavix4::sZHPtInfo& out);
