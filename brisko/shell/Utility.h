// Small utilities of the program: the program icon for dialogs, the wheel
// setting, the number conversion of typed fields, plan geometry on points of
// three doubles, and the status-bar message text.
#pragma once
#include "classlib/ClassLib.h"

// The program icon (icon 100) at the default icon size, from the first module
// that holds it; the caller destroys it (null when none holds it).
HICON LoadAppIcon();

// Lines a wheel notch scrolls: the user's "WheelScrollLines" setting, 3 when
// it is missing or unreadable.
int GetWheelScrollLines();

// TRUE with the value of text in *out when text is a number by
// IsNumberString; FALSE with *out unchanged otherwise.
BOOL StringToDouble(const wchar_t* text, double* out);

// out := from moved by distance in the direction angle (radians,
// counter-clockwise from +x), z kept; a distance below 1e-6 copies from.
// Points are three doubles x, y, z.
void GetPolarPoint(const double* from, double angle, double distance, double* out);
// Direction of p1 to p2 in [0, 2 pi), counter-clockwise from +x; 0 for points
// closer than 1e-6 in both x and y.
double GetLineAngle(const double* p1, const double* p2);

// Shows the formatted text (whole) in pane 0 of the main
// window's status bar at once; nothing without a main window or status bar.
void PrintStatusText(const wchar_t* format, ...);

// Hands a path to the shell with a verb ("open", "explore") and returns
// whether the shell took it.  Every such hand-over of the program goes
// through here; SetShellVerbHandler replaces the shell (tests record the
// verb and path instead of starting programs) and returns the one before
// (null for the shell itself).
typedef BOOL (*ShellVerbHandler)(const wchar_t* verb, const wchar_t* path);
BOOL RunShellVerb(const wchar_t* verb, const wchar_t* path);
ShellVerbHandler SetShellVerbHandler(ShellVerbHandler handler);
