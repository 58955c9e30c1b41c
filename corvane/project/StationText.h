// Numbers as the texts road engineers read: stations in kilometre form
// (K12+345.678), decimal numbers with a chosen count of decimals, and angles
// in degrees, minutes and seconds.
//
// Station and number texts follow the drawing settings of the library's
// current project, read afresh at every call: the station precision, the
// keep-zeros flag, the kilometre prefix style and the style of negative
// stations.  So every program of the suite writes a project's stations the
// same way.
#pragma once
#include "corvane/CorvaneDefs.h"

// value rounded half away from zero at the given count of decimals (exact
// for 0 to 10 decimals).
CORVANE_API double tkx_DToF(double value, int decimals);

// value with 0 to 10 decimals ("位数太多" for more).  keepZeros: 0 drops
// trailing zeros and a "." left at the end (1.500 gives 1.5, 2.000 gives 2),
// -1 follows the current project's keep-zeros flag, any other value keeps
// them.
CORVANE_API CString tkx_DToS(double value, unsigned short decimals, short keepZeros);

// A station in kilometre form: prefix style "K12+345", "12K+345" or "12+345"
// and the negative-station style of the current project; a negative count of
// decimals takes the project's station precision.  Without the keep-zeros
// flag, trailing zeros are dropped (K12+345, K12+005.5).  The metre field
// always has three whole digits; a value that rounds up to a whole kilometre
// carries into the kilometre (K13+000).
CORVANE_API CString tkx_ChangeZhToString(double station, short decimals);

// Degrees as "12d30'00.0"" (degrees, minutes, seconds with one decimal, a
// leading "-" for a negative angle); seconds that round to 60 carry into the
// minutes and degrees.
CORVANE_API CString tkx_DegreeD_To_S(double degrees);
// The same for an angle in radians.
CORVANE_API CString tkx_DegreeR_To_S(double radians);

// Reads an angle text such as 12d30'15.5", 12°30′15.5″ or 12d30m15.5s
// (each part may be left out; a text without any mark reads as 0).  A
// leading "-" makes the whole angle negative ("-0d30'" is -0.5).  Returns 1
// with the degrees; 0 when a part is not a number, with the output unchanged
// and the reason in the last-error text.
CORVANE_API int tkx_DegreeS_To_D(const wchar_t* text, double& degrees);

// Degrees, rounded to 4 decimals, as "35°30'15.5"" (seconds without a
// trailing ".0", minutes with two digits).  signForm non-zero writes a
// leading "-" for a negative angle; 0 writes a deflection: "左偏 " for an
// angle of 0 or more, "右偏 " for a negative one, the angle without sign.
// Seconds that round to 60 carry into the minutes and degrees.
CORVANE_API CString tkx_TransformToDegree(double degrees, int signForm);
