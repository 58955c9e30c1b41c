#include "brisko/convert/DerivedFiles.h"
#include "brisko/shell/Utility.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>

BOOL ReadToolNumber(const wchar_t* token, double& value)
{
    CString text(token ? token : L"");
    text.Trim();
    double read = 0.0;
    if (text.IsEmpty() || !StringToDouble(text, &read)) return FALSE;
    // The program's test lets other signs pass ("1+2"), and the conversion
    // stops at them: only a token the conversion reads to its end is one
    // number.
    wchar_t* end = nullptr;
    const double whole = std::wcstod(text, &end);
    if (!end || *end != L'\0' || !std::isfinite(whole)) return FALSE;
    value = whole;
    return TRUE;
}

BOOL ReadToolSegment(const wchar_t* token, int& segment)
{
    double value = 0.0;
    if (!ReadToolNumber(token, value) || value < 1.0 || value > 32767.0 || value != std::floor(value)) return FALSE;
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
    CStdioFile file;
    if (!path || !*path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
        return ToolRead::NotOpened;
    int lineNo = 0;
    CString text;
    for (;;) {
        const int got = tkx_ReadNextStringST(&file, text, lineNo);
        endLine = lineNo;
        if (got == 0) return ToolRead::Done;
        if (got < 0) return ToolRead::BadLine;
        lines.push_back(ToolDataLine{text, lineNo});
    }
}

CString MakeTempFileBeside(const wchar_t* target)
{
    const CString path = target ? target : L"";
    if (path.IsEmpty()) return CString();
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    const CString folder = slash < 0 ? CString(L".") : path.Left(slash + 1);
    wchar_t temp[MAX_PATH + 16] = {};
    if (!::GetTempFileNameW(folder, L"tvx", 0, temp)) return CString();
    return CString(temp);
}

bool WriteToolTextFile(const wchar_t* target, const CString& text)
{
    const CString temp = MakeTempFileBeside(target);
    if (temp.IsEmpty()) return false;

    std::wstring lines;
    lines.reserve(static_cast<size_t>(text.GetLength()) + static_cast<size_t>(text.GetLength()) / 16 + 1);
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == L'\n') lines += L'\r';
        lines += text[i];
    }
    const std::string bytes = ClWideToMultiByte(lines.c_str(), static_cast<int>(lines.size()), ClTextCodePage());

    bool written = false;
    CFile file;
    if (file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        try {
            if (!bytes.empty()) file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
            file.Flush();
            file.Close();
            written = true;
        } catch (CFileException* e) {
            e->Delete();
            file.Abort();
        }
    }
    if (written && ::MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    ::DeleteFileW(temp);
    return false;
}
