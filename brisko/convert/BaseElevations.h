// The base elevations of a profile sheet (纵断面图基点高程): the elevation at
// the bottom of the band in which the grade line and the ground line are
// drawn, changed along the road wherever the lines would leave the band,
// and written as a JGC file.  The work of CDialog_JGC, callable without it.
#pragma once
#include "classlib/ClassLib.h"
#include <functional>
#include <vector>

class CDialog;
class tkxZDMInfo;

struct JGCParameters
{
    double scale = 200.0;      // vertical scale denominator
    double unit = 1.0;         // rule unit: every base is a multiple of it (m)
    double minDistance = 1.0;  // margin at the top and the bottom of the band (paper mm)
    double rowHeight = 20.0;   // height of the band (paper mm)
    bool pageAuto = false;     // break by sheet length as well
    double pageLength = 660.0; // station length of a sheet (m)
};

// One change of the base elevation: from this chainage on, this base.
struct JGCRow
{
    double station = 0.0;
    double base = 0.0;
};

// The longest stretch from the first to the last grade point the walk below
// takes on, in metres: 1000 km, five million steps of 0.2 m, far beyond any
// road's profile.  A grade point far off, such as a station mistyped by
// some digits, would make it walk on for minutes or without end.
constexpr double kLongestBaseWalk = 1000000.0;

// Whether the profile's stretch from its first to its last grade point is
// one the walk takes on (at most kLongestBaseWalk long).
bool BaseElevationsWalkable(const tkxZDMInfo& profile);

// Walks the profile from its first to its last grade point in steps of
// 0.2 m and closes a row wherever the band must move.  When the fill or cut
// at a station exceeds the band's height, `goOn` is asked (station, height)
// once for each stretch over the band; false stops the walk and the result
// is false.  The bases are not rounded.  A stretch that is not walkable
// gives no rows and false, without a question.
bool ComputeBaseElevations(const tkxZDMInfo& profile, const JGCParameters& p, std::vector<JGCRow>& rows,
                           const std::function<bool(double station, double fill)>& goOn);

// A base rounded down to a multiple of the unit.
double RoundBase(double base, double unit);

// Reads the SQX, DMX and (when dlPath is not empty) DL files, computes the
// base elevations and writes the JGC file.  1 on success; 0 after its
// message box (also for fewer than two grade points, a stretch of grade
// points too long to walk, which the message names by its two ends, or a
// ground line without a point) or when the user chose not to go on, the JGC
// file then left as it was.
int WriteBaseElevations(CDialog* owner, const CString& sqxPath, const CString& dmxPath, const CString& dlPath,
                        const CString& jgcPath, const JGCParameters& p);
