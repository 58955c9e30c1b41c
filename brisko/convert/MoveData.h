// The centre-line shift: a table of sideways offsets by station moves every
// cross-section of a ground-line file onto the new centre line, and the
// ground under the new centre line becomes a new profile ground line.  The
// work of the shift dialog, callable without it.
#pragma once
#include "classlib/ClassLib.h"
#include <vector>

class CDialog;
class tkxBreakChain;

// One row of the offset table as typed: station, break-chain segment (may
// be empty) and offset (left negative, right positive, metres).
struct MoveOffsetRow
{
    CString station;
    CString segment;
    CString offset;
};

// The offsets by continuous chainage, linear between the table's stations
// and kept at the end values beyond them.
class CMoveOffsets
{
public:
    // Reads the rows (numbered from 1 in messages, as the table shows them);
    // rows left wholly empty are passed over.  With withChain the stations
    // convert through the chain by their segments.  Empty on success, else
    // the message; a table without rows, or whose stations do not increase,
    // is refused.
    CString Read(const std::vector<MoveOffsetRow>& rows, const tkxBreakChain& chain, bool withChain);
    double OffsetAt(double chainage) const;

    std::vector<double> m_Stations;
    std::vector<double> m_Offsets;
};

// The files and choices of one shift.
struct MoveDataJob
{
    CString dmxIn, dmxOut;
    CString hdxIn, hdxOut;
    CString dlPath;
    int format = 0;           // of the new HDX: 0 "ABS", 1 "ABS1"
    bool withBreakChain = false;
};

// Runs the shift: 1 when both new files were written; 0 after the message
// box (caption "TAVIX项目数据环境", owned by owner while it is shown), with
// neither output touched; an input DMX without a point or an input HDX
// without a section is refused.
int RunMoveData(CDialog* owner, const MoveDataJob& job, const std::vector<MoveOffsetRow>& rows);
