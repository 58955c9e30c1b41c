// Small numeric and text helpers shared by the library and the suite's
// programs: the colour of an AutoCAD colour index, code-page conversions, the
// formatted message box, the number test, plan geometry on raw coordinate
// triples, sorting of arrays and the roots of a real polynomial.
#pragma once
#include "corvane/CorvaneDefs.h"

class CWnd;

namespace Tavix4 {

// A station with a name.
struct sZHName
{
    double station = 0.0;
    CString name;
};

} // namespace Tavix4

// ---------------------------------------------------------------------------
// Colours, conversions and messages.

// RGB of an AutoCAD colour index 1..255 (red in the low byte); white for an
// index of 0 or less or of 256 or more.
CORVANE_API COLORREF tkx_COLORREFByAcadIndex(short index);

// Formats the arguments (the Microsoft run-time's wide printf rules) and shows
// the text in a message box captioned "TAVIX".  type 0 means
// MB_ICONEXCLAMATION.  The box is owned by owner's window when that window
// exists and is visible, otherwise by none.  Returns the button pressed.
CORVANE_API int ShowFormattedMessage(CWnd* owner, UINT type, const wchar_t* format, ...);

// Widens 8-bit text of the ANSI code page into out, terminator included; out
// must be large enough (MultiByteToWideChar's count for the text).
CORVANE_API void AnsiToWide(const char* text, wchar_t* out);
// Narrows text into the OEM code page into out, terminator included; returns
// the number of bytes written, terminator included.  out must be large
// enough.
CORVANE_API int WideToOem(const wchar_t* text, char* out);
// 8-bit text of the ANSI code page as a CString.
CORVANE_API CString AnsiToCString(const char* text);

// ---------------------------------------------------------------------------
// Number text.

// Whether the whole of text (blanks and tabs at both ends ignored) is a
// number: an optional "+" or "-", then digits with at most one "." (at least
// one digit), and nothing else (no exponent form, no inner blank), with a
// value within the range of double.
CORVANE_API bool IsNumericString(const wchar_t* text);
// The value of text when IsNumericString accepts it: the double nearest to
// the decimal value written; false, value unchanged, otherwise.
CORVANE_API bool StringToDouble(CString text, double* value);

// ---------------------------------------------------------------------------
// Plan geometry on raw coordinates.  A point is an array of doubles x, y; a
// point that is a result (and PolarPoint's base) also has z.

CORVANE_API double PointDistance2d(const double* a, const double* b);
// out = base moved by distance along the direction angle; z is base's z.
CORVANE_API void PolarPoint(const double* base, double angle, double distance, double* out);
// Direction of a to b in [0, 2*pi), counter-clockwise from +x (coincident
// points give 0).
CORVANE_API double DirectionAngle(const double* a, const double* b);
// Azimuth of a to b in [0, 2*pi), clockwise from +y.
CORVANE_API double DirectionAzimuth(const double* a, const double* b);
// The angle brought into [0, 2*pi); values within 1e-8 of 0 or 2*pi give 0.
CORVANE_API double NormalizeAngle(double angle);
// Foot of the perpendicular from p on the endless line a-b: 1 with x, y of the
// foot written to foot (and its z set to 0), 0 when none is found (a and b
// coincide).
CORVANE_API int GetFootPointSide(const double* a, const double* b, const double* p, double* foot);
// 1 when c lies left of the line a to b, -1 right, 0 on the line (twice the
// triangle's area within 1e-10).
CORVANE_API int GetPointSide(const double* a, const double* b, const double* c);

// ---------------------------------------------------------------------------
// Sorting in place.  Every sort is stable: equal elements keep their order.

// flag 1: ascending, 0: descending, both without regard to case; any other
// flag leaves the array as it is.
CORVANE_API void tkx_StringPibub(CStringArray& texts, int flag);
// Ascending by station; whole records move.
CORVANE_API void tkx_ZHPibubUp(CArray<Tavix4::sZHName, Tavix4::sZHName>& records);
CORVANE_API void tkx_PibubUp(CArray<double, double>& values);
CORVANE_API void tkx_PibubDown(CArray<double, double>& values);

// ---------------------------------------------------------------------------
// All n roots of a[0] + a[1] x + ... + a[n] x^n (Newton's method with a damped
// step, deflating by each root found).  The coefficients are overwritten.
// re and im must hold n values each; a complex pair is stored as x - iy in
// the higher position and x + iy just below it.  Vanishing top coefficients
// lower the degree, and the positions above it are set to 0.  Returns 1, or
// -1 with the last-error text when no degree is left.
CORVANE_API int tkx_Polynomial_Newtom(double* a, int n, double* re, double* im);
