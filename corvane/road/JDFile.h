// The intersection-point file (.JD): one row per intersection point, from
// the road's start point through the curve points to its end point.  Fields
// are separated by blanks, tabs or commas; the first is the point type:
//
//   -1  road start   northing, easting, start station
//    0  turn point without curve   northing, easting
//    3  curve   northing, easting, start radius, first spiral, R, second
//               spiral, end radius
//   -2  road end     northing, easting
//
// A spiral is a length when written with a leading "L" (L100), otherwise the
// clothoid parameter A; a radius below 0 stands for an infinite one.  A
// curve's spiral must join two radii: a start or end radius of 0, or one
// equal to R, is refused beside a spiral (and not used without one).  Fields
// after the listed ones are ignored.  A type that is no whole number or not
// one of the four is an error.  A row converts to and from one
// tkxPlaneCurve3 (ReadJDFile, OutputJDFile); the road object writes whole
// files (tkxRoadObject::SaveJDFile).
#pragma once
#include "corvane/road/PlaneCurve.h"

// An angle text in degrees-minutes-seconds form (DDD.MMSS or DDDdMMSS) to
// radians.  A text starting with a digit is plain (plain = 1); otherwise its
// first character is a direction prefix (plain = 0), "l" or "L" making the
// angle negative.  1 on success; 0 with the outputs unchanged for a text
// shorter than 2 characters or one that is no such number.
CORVANE_API int tkx_AngleS_To_R(const wchar_t* text, double& radians, int& plain);

namespace jd_file {

// The whole file text for an array of curves: the road start row, a row per
// curve or turn point, the road end row, each ended by "\n".
CString FileText(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves);

// Empty when the curves can be written and read back: at least a start and
// an end, neither of them a curve, every value a finite number, every row
// readable.  Otherwise the reason.
CString CheckWritable(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves);

} // namespace jd_file
