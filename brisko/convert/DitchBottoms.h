// The ditch-bottom elevations of a road: for every cross-section of the
// road's 3-D data file (.3DD) the elevation of the ditch bottom on each
// side, written with the section stations into a text file.  The work of
// CDialog_GDElevation, callable without it.
#pragma once
#include "classlib/ClassLib.h"

class CDialog;

// No ditch bottom on a side.
constexpr double kNoDitchBottom = -1000000.0;

// The ditch bottom of one side-slope line (points of offset, elevation and
// code): the mean of the elevations of the first point coded 3 that has a
// point before it and of that point.  An empty message on success, with
// kNoDitchBottom when the line has no such point; else the message.
CString ReadDitchBottom(const CString& line, double& bottom);

// The 3DD file's sections to the output file, the stations relative to the
// break chain of the DL file (an empty DL path: no break chain); the road
// name goes into the first line.  1 on success; 0 after its message box
// (owned by owner while it is shown), the output then left as it was.
int ExtractDitchBottoms(CDialog* owner, const CString& path3DD, const CString& dlPath, const CString& outPath,
                        const CString& roadName);
