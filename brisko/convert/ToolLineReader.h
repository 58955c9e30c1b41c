// The line reader of the tools: the data lines of a text file through the
// suite's line reader, for the converters' foreign inputs and for the
// read-back of their outputs.
#pragma once
#include "classlib/ClassLib.h"

// Data lines of a text file, through the suite's line reader: blank lines
// and "//" lines skipped, each line trimmed; the line number counts every
// physical line, as an editor shows it.
class ToolLineReader
{
public:
    ToolLineReader() = default;
    ToolLineReader(const ToolLineReader&) = delete;
    ToolLineReader& operator=(const ToolLineReader&) = delete;
    ~ToolLineReader();

    BOOL Open(const CString& path);
    // Closes the file (an output may then replace it).
    void Close();
    // 1 with the next data line, 0 at the end of the file, -1 at a line the
    // reader refuses (too long, or holding a zero byte).
    int Next(CString& line);
    int LineNo() const { return m_lineNo; }
    // Splits a line into its tokens; the splitter's answer (-1 for a line
    // that does not split).
    static int Split(const CString& line, CStringArray& tokens);

private:
    CStdioFile m_file;
    bool m_open = false;
    int m_lineNo = 0;
};
