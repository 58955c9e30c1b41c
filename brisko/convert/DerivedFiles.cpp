#include "brisko/convert/DerivedFiles.h"
#include "brisko/convert/ToolDialog.h"
#include "corvane/road/BreakChain.h"
#include <cmath>

BOOL ReadToolSegment(const wchar_t* token, int& segment)
{
    double value = 0.0;
    if (!ReadToolNumber(CString(token ? token : L""), &value) || value < 1.0 || value > 32767.0 ||
        value != std::floor(value))
        return FALSE;
    segment = static_cast<int>(value);
    return TRUE;
}

bool ChainageOnSegment(const tkxBreakChain& chain, double station, int segment, double& chainage)
{
    if (segment < 1 || segment > chain.GetBreakChainCount()) return false;
    const double tolerance = 1e-8;
    if (station < chain.GetBreakStartZH(segment - 1) - tolerance || station > chain.GetBreakEndZH(segment - 1) + tolerance)
        return false;
    return chain.GetGlobalZH(station, chainage, segment) != 0;
}

ToolRead ReadToolDataLines(const wchar_t* path, std::vector<ToolDataLine>& lines, int& endLine)
{
    lines.clear();
    endLine = 0;
    ToolLineReader reader;
    if (!reader.Open(CString(path ? path : L""))) return ToolRead::NotOpened;
    CString text;
    for (;;) {
        const int got = reader.Next(text);
        endLine = reader.LineNo();
        if (got == 0) return ToolRead::Done;
        if (got < 0) return ToolRead::BadLine;
        lines.push_back(ToolDataLine{text, reader.LineNo()});
    }
}
