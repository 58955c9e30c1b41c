// The line reader and field splitters that every text-file reader of the
// suite is built on, and three array look-ups.
//
// Data files are 8-bit text in the system's ANSI code page.  The readers hand
// out the next data line, widened and trimmed; empty lines and lines that
// begin with "//" are skipped.  A physical line ends at a line feed, at a
// carriage return and line feed, or at a carriage return alone.  The
// caller's line counter counts every physical line read, so callers start it
// at 0 and use it as the 1-based line number in their messages.  The readers
// never set the last-error text.
//
// A data line longer than the reader's limit (65,535 bytes through a file,
// 1,023 through an archive), or any line holding a zero byte, is a bad line:
// the reader returns -1 with the line empty and the counter on that line,
// and the caller reports it.  A comment line may be longer.
//
// The caller owns the file, archive and arrays; nothing here opens or closes
// what it is given.
#pragma once
#include "corvane/CorvaneDefs.h"

// Next data line from a file open for reading.  Returns 1 with the line, 0
// at the end of the file (the counter is then raised by one more), or -1 at a
// bad line.
CORVANE_API int tkx_ReadNextStringST(CStdioFile* file, CString& line, int& lineNo);

// Next data line from an archive in load mode.  Returns 1 with the line, 0
// at the end of the archive (the counter is left as it was), or -1 at a bad
// line.
CORVANE_API int tkx_ReadNextString(CArchive* ar, CString& line, int& lineNo);

// Cuts text into tokens at blanks, tabs and commas; runs of separators count
// as one and no empty token is produced.  A carriage return or line feed ends
// the scan.  Returns 0 when the whole text was scanned; 13 or 10 when the
// scan stopped at that line-break character with text left after it, or when
// the line break stands where a token would begin; -1 for an empty text (the
// token list is then left untouched) or when a token reaches 65,535
// characters (the tokens before it stay in the list).
CORVANE_API int tkx_DivideString(const wchar_t* text, CStringArray& tokens);

// Cuts text at every occurrence of a separator text (trimmed first).  Pieces
// are trimmed; repeated and trailing separators give no empty piece, blanks
// alone between two separators give one.  A blank separator gives the whole
// text, untrimmed, as the one piece.  Returns the number of pieces.
CORVANE_API int tkx_SplitString(const wchar_t* text, const wchar_t* separator, CStringArray& pieces);

// Index of the first element equal to value, -1 if none.
CORVANE_API int tkx_IsIncludeI(CArray<int, int>& values, int value);

// Index of the first element e with e - tolerance < value < e + tolerance,
// -1 if none.  A tolerance below 1e-10 counts as 1e-10.
CORVANE_API int tkx_IsIncludeD(CArray<double, double>& values, double value, double tolerance);

// Index of the first element equal to text, -1 if none; flag 1 compares
// without regard to case.
CORVANE_API int tkx_IsIncludeS(CStringArray& texts, const wchar_t* text, int flag);
