// Numeric and message helpers the converters, the road import and the
// viewers share: the program's message box for formatted texts, the plain
// number test, degrees.minutesseconds angles, the curve elements of one
// intersection point, station texts in the project's style and the linear
// interpolation of a height.  Plain functions of their arguments.
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/geometry/Points.h"
#include <cstdarg>

// One intersection point of a horizontal alignment with its curve: the
// record the plane-data converters fill while they read a foreign file.
struct sJDCurveInfo
{
    short nFlag = 0;             // not used by the curve computation
    int iIndex = 0;              // not used by the curve computation
    CString SName;
    double dZH = 0.0;            // station of the intersection point
    tkxPoint3d JDPt;             // x easting, y northing
    int iTurn = 0;
    double dAngle = 0.0;         // deflection (radians; its absolute value is used)
    double dStartR = 1e10;
    double dR = 0.0;             // circular radius (below 1e-6: no curve)
    double dEndR = 1e10;
    double dT1 = 0.0, dT2 = 0.0; // tangent lengths
    double dL = 0.0;             // curve length
    double dE = 0.0;             // external distance (cleared only)
    double dLs1 = 0.0, dA1 = 0.0; // first spiral: length and parameter
    double dLs2 = 0.0, dA2 = 0.0; // second spiral
    double dZH_ZH = 0.0, dZH_HY = 0.0, dZH_YH = 0.0, dZH_HZ = 0.0; // main points
};

// The whole text of format and args (the C run-time's wide printf rules,
// "%s" a wide text), however long: the messages, log lines and status texts
// of the program go through it, so none is cut.  A format the run-time
// refuses gives the format itself.
CString FormatWhole(const wchar_t* format, va_list args);

// Shows the formatted text (whole) in a message box
// captioned "TAVIX项目数据环境" and returns the button pressed.  The box is
// owned by owner's window while that window exists and is visible, else by
// none; style 0 means MB_ICONEXCLAMATION.
int ShowFormattedMessage(CDialog* owner, UINT style, const wchar_t* format, ...);

// 1 when text is a plain number: blanks and tabs at both ends ignored, no
// blank inside, at least one digit, at most one ".", a "-" only in front and
// no letter; signs other than "-" pass ("1+2").  An empty text counts as a
// number too (a field left empty reads as 0).
int IsNumberString(const wchar_t* text);

// Radians of an angle written D.MMSS (30.1530 is 30 degrees 15 minutes 30
// seconds; further digits are decimals of the seconds).  The minute and
// second digits are taken as written, not as the nearest binary value
// truncates them; a negative angle is negative in all its parts.
double DMSToRadian(double dms);

// Fills the curve elements of the point from its station, deflection,
// radius and spirals: mode 1 takes the spiral parameters A1, A2 as given,
// any other mode the spiral lengths Ls1, Ls2.  A point without a curve
// (radius below 1e-6, a deflection of 0 or pi, or values from which no
// finite curve follows) gets zero elements and all main points at its
// station.
void ComputeJDCurveElements(sJDCurveInfo& jd, int mode);

// The station in the current project's text style and precision.
CString FormatStationText(double station);

// Height at target[0] on the line through p1 and p2 (each distance, height),
// written to target[1]; the mean height when the two distances are closer
// than 1e-6.
void InterpolateHeight(const double* p1, const double* p2, double* target);
