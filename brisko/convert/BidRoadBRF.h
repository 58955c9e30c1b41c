// The bridge interface file of BidRoad (.BRF): the plane units of the
// road's unit table (.DYD), its vertical curves (.SQX), cross slopes (.CG)
// and profile ground line (.DMX), in keyword sections.  The work of
// CDialog_TransformBidRoadBRF, callable without it.  All four inputs are
// read and checked before the file is written, through a temporary file.
#pragma once
#include "classlib/ClassLib.h"
#include <vector>

class CDialog;

// One plane unit of the DYD table.
struct sBidRoad_DYD
{
    double dStartX = 0.0, dStartY = 0.0, dStartZ = 0.0;
    double dStartAngle = 0.0; // radians
    double dStartR = 0.0;     // 0: infinite
    double dEndX = 0.0, dEndY = 0.0, dEndZ = 0.0;
    double dEndAngle = 0.0;
    double dEndR = 0.0;
    double dLength = 0.0;     // end station less start station
    double dA = 0.0;          // spiral parameter, 0 where not given
    double dStartZH = 0.0;
    short nTurn = 0;          // -1, 0 (no turn) or 1
    short nKind = 0;          // 1 straight, 2 circular arc, 3 clothoid
};

// One cross-slope row: station, left and right slope.
struct sSlopeInfo
{
    double dZH = 0.0;
    double dLeft = 0.0;
    double dRight = 0.0;
};

// One slope range.
struct sBidRoadSlopeInfo
{
    double dStartZH = 0.0;
    double dEndZH = 0.0;
    double dLeft = 0.0;
    double dRight = 0.0;
};

// Reads one DYD line of 26 tokens into a unit; empty on success, else the
// message (naming the file and the line).
CString ReadDYDUnit(const CStringArray& tokens, const CString& path, int line, sBidRoad_DYD& unit);

// Merges rows into ranges: two rows in a row with equal values (both
// slopes when `both`, else the left one; within 0.001) give the range from
// the first to the second and the row after them starts anew; a row unlike
// the next gives a range of its station alone, as does a row left at the
// end.
std::vector<sBidRoadSlopeInfo> MergeSlopeRows(const std::vector<sSlopeInfo>& rows, bool both);

// Writes the BRF file from the four inputs: 1 on success; 0 after its
// message box (owned by owner while it is shown), the BRF file then left as
// it was.  A DYD file without units is a road from 0 to 10000; an SQX or DMX
// file without a data line, or a CG file without a row, is refused.
int ExportBidRoadBRF(CDialog* owner, const CString& dydPath, const CString& sqxPath, const CString& dmxPath,
                     const CString& cgPath, const CString& brfPath);
