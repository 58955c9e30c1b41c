// The change of a cross-section ground-line file (.HDX) from one point
// layout to another: "ABS" (0, distance from the centre line and absolute
// elevation), "ABS1" (1, distance and height above the centre point) and
// the raised rod (2, distance and height from the previous point).  The
// road model reads, converts and writes; this is the work of
// CDialog_HDXFormat, callable without it.
#pragma once
#include "classlib/ClassLib.h"

class CDialog;

// The text that names a layout in the dialog ("ABS: 相对中桩距离+绝对高程",
// ...), and the target the dialog proposes for a file of that layout.
CString HDXLayoutText(int layout);
int HDXPresetTarget(int layout);

// Reads the HDX file with the profile ground line of the DMX file and the
// break chain of the DL file (an empty DL path: none) and writes it in the
// target layout to the output.  1 on success; 0 after the road model's
// message in a box captioned by the failed step (or NoToolDataText for a
// ground line without a point or a file without a section).
int ConvertHDXLayout(CDialog* owner, const CString& hdxPath, const CString& dmxPath, const CString& dlPath, int target,
                     const CString& outPath);
