// Station-list files (.ST) and evenly stepped station sequences.
//
// A station-list file holds one station a line: station text (K12+345.678 or
// plain metres, optionally with "_n" for its chain segment), optionally a
// note and a segment number.  Fields are separated by blanks, commas or tabs;
// "//" lines are comments.
#pragma once
#include "corvane/CorvaneDefs.h"

class tkxBreakChain;

// Reads the stations as continuous chainages (file order, duplicates kept).
// Returns "文件结束" when the whole file was read, else the message (also the
// last-error text) naming the file and the line; the array is then left as
// it was.
CORVANE_API CString tkx_ReadSTFile(const wchar_t* path, const tkxBreakChain* chain, CArray<double, double>& chainages);

// Reads the stations as texts ("station_n" when a segment number is given)
// with their notes, one entry in both arrays per line.  Returns "文件结束"
// when the whole file was read, else the message, the arrays left as they
// were.
CORVANE_API CString tkx_ReadSTFileA(const wchar_t* path, CStringArray& stations, CStringArray& notes);

// Continuous chainages from start to end by step: within a chain segment the
// stations run on by whole steps, after each break on the multiples of the
// step in the new segment's stationing; end closes the list.  The list is
// strictly increasing and starts at start.  Empty for a step below 1e-6 or
// an end before the start.
CORVANE_API void tkx_DivideZHSequence(const tkxBreakChain& chain, double start, double end, double step,
                                      CArray<double, double>& out);
