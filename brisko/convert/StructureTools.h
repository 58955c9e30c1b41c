// The structure tools: an old-style structure list (.GZW) becomes a
// structure information file (.GZX) with placeholders for what the list
// does not hold, and the bridges of a structure information file become a
// bridge station file (.QL).  The work of CDialog_ConvertJGW, callable
// without it.  Both read and check their whole input before they write,
// and write through a temporary file, so that a failed run leaves an
// earlier output as it was.
#pragma once
#include "classlib/ClassLib.h"

class CDialog;
class tkxBreakChain;

// A bridge's span text ("3x20T", "20+25+20"): the leading run of digits and
// "+", "x", "X", "*", "." is the span description, the rest the beam type
// ("void" when nothing follows).  false when the text or the description is
// empty.
bool SplitSpanText(const CString& text, CString& span, CString& beam);

// GZW to GZX: 1 on success; 0 after its message box (owned by owner while
// it is shown), also for a list without a line of a kind the tool knows.
int ConvertGZWToGZX(CDialog* owner, const CString& gzwPath, const CString& gzxPath);

// The bridges of a GZX file (kinds 0, 4 and 5) to a QL file, their stations
// relative to their chain segments: 1 on success (a bridge whose range
// cannot be found is named and passed over; a file without a bridge gives an
// empty QL file); 0 after its message box, also for a file of no record.
int ExportGZXToQL(CDialog* owner, const CString& gzxPath, const CString& qlPath, const tkxBreakChain& chain);
