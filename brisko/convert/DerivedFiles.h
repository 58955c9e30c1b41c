// What the data tools that derive files from a road's files add to the
// tool dialogs' shared pieces (ToolDialog.h): the segment number of a
// station, the chainage of a station on a named segment, and all data
// lines of a text file read before anything is written.
#pragma once
#include "classlib/ClassLib.h"
#include <vector>

class tkxBreakChain;

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

// Reads every data line of the file with the tools' line reader ("//"
// lines and empty lines skipped, lines trimmed).  endLine is the line where
// reading stopped: the bad line, or the one after the last line of the
// file (where a message about missing data points).
ToolRead ReadToolDataLines(const wchar_t* path, std::vector<ToolDataLine>& lines, int& endLine);
