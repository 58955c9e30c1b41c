// What the data tools that derive files from a road's files share: the
// strict number test of one token, all data lines of a text file read
// before anything is written, and the output written whole into a temporary
// file beside the target that then replaces it, so that a failed run never
// leaves a half-written file or destroys an earlier one.
#pragma once
#include "classlib/ClassLib.h"
#include <vector>

class tkxBreakChain;

// TRUE with the value when the whole token is one number: the program's
// number test (StringToDouble) and nothing left over after the number, so
// that "1+2" or "1250_2" are refused rather than read as 1 or 1250.  The
// value must be finite.
BOOL ReadToolNumber(const wchar_t* token, double& value);

// TRUE with the segment number when the token is a whole number of a
// segment (1 or more).
BOOL ReadToolSegment(const wchar_t* token, int& segment);

// The continuous chainage of a station on the given segment (from 1):
// true only when the chain has that segment and the segment holds the
// station (the chain's own conversion would quietly take another segment).
bool ChainageOnSegment(const tkxBreakChain& chain, double station, int segment, double& chainage);

// One data line of a text file and its physical line number (as an editor
// shows it).
struct ToolDataLine
{
    CString text;
    int line = 0;
};

// The outcome of reading a text file's data lines.
enum class ToolRead {
    Done,      // every data line is in the list
    NotOpened, // the file could not be opened
    BadLine,   // a line too long or holding a zero byte
};

// Reads every data line of the file with the suite's line reader ("//"
// lines and empty lines skipped, lines trimmed).  endLine is the line where
// reading stopped: the bad line, or the one after the last line of the
// file (where a message about missing data points).
ToolRead ReadToolDataLines(const wchar_t* path, std::vector<ToolDataLine>& lines, int& endLine);

// A new empty temporary file in the folder of target (its name); empty
// when none can be made there.
CString MakeTempFileBeside(const wchar_t* target);

// Writes text (lines ending in "\n") as 8-bit text of the run-time's code
// page with CR LF line ends into a temporary file beside target, then puts
// it in target's place.  false, with target left as it was and no temporary
// file left behind, when anything fails.
bool WriteToolTextFile(const wchar_t* target, const CString& text);

