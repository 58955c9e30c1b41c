#include "corvane/road/BreakChain.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/base/NumberText.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/project/StationText.h"
#include "corvane/road/RoadFiles.h"

#include <cmath>
#include <cwchar>
#include <string>
#include <string_view>

IMPLEMENT_SERIAL(tkxBreakChain, CObject, 300)

namespace {

constexpr double kOpenEnd = 1e10;       // the chain is open at both ends
constexpr double kHoldTolerance = 1e-8; // a segment holds a station within this
constexpr double kBreakTolerance = 0.001;
constexpr double kStationTolerance = 0.00001;

// The n-th break of a list (from 1) leaves a segment of positive length after
// the previous break: the previous ahead station lies before this back
// station.  Returns the number of the first break that does not, 0 when all
// do.
int FirstOutOfOrderBreak(const CArray<double, double>& backs, const CArray<double, double>& aheads)
{
    for (INT_PTR i = 1; i < backs.GetSize(); ++i) {
        const double previousAhead = aheads[i - 1];
        const double back = backs[i];
        if (previousAhead >= back || std::fabs(previousAhead - back) < kStationTolerance)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// A break station: a number within the chain's open ends (a station
// beyond them lies in no segment, and the offsets built from such stations
// could leave the range of double).
bool ReadBreakStation(std::wstring_view text, double& station)
{
    double value = 0.0;
    if (!text_lines::ReadNumber(text, value) || !(std::fabs(value) < kOpenEnd)) return false;
    station = value;
    return true;
}

// The parts of a station field: at most two are used, a third only tells
// that there are too many.
struct StationParts {
    std::wstring_view part[3];
    int count = 0;
};

// Index of the first ch in a (short) station text from `from` on; npos when
// there is none.  A plain loop: the text is a few characters long.
size_t IndexIn(std::wstring_view text, wchar_t ch, size_t from = 0)
{
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == ch) return i;
    return std::wstring_view::npos;
}

// Splits text at every occurrence of ch (empty parts included), up to three
// parts.
void SplitAt(std::wstring_view text, wchar_t ch, StationParts& parts)
{
    parts.count = 0;
    for (;;) {
        const size_t at = IndexIn(text, ch);
        if (at == std::wstring_view::npos || parts.count == 2) {
            parts.part[parts.count++] = text;
            return;
        }
        parts.part[parts.count++] = text.substr(0, at);
        text.remove_prefix(at + 1);
    }
}

bool IsStationSeparator(wchar_t c) { return c == 0 || c == L' ' || c == L'\t' || c == L','; }

// Whether a character ends the plain form of a station text: the end of the
// text, a mark that is converted ("K", "_") or what would cut the text into
// fields.
bool IsStationMark(wchar_t c)
{
    switch (c) {
    case 0:
    case L'K':
    case L'k':
    case L'_':
    case L' ':
    case L'\t':
    case L',':
    case L'\r':
    case L'\n': return true;
    default: return false;
    }
}

// Step 1 of reading a station text: "_" becomes a blank, "K" and "k" go.
// Writes the converted text into out (room for the whole text) and returns
// its length; wellFormed is false when the text holds more than one "_" or
// one without text on both sides ("1__2", "12_": no station with its
// segment number).
size_t StationTextWithoutMarks(const wchar_t* text, wchar_t* out, bool& wellFormed)
{
    size_t n = 0;
    wellFormed = true;
    int underscores = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'_') {
            if (++underscores > 1 || p == text || IsStationSeparator(p[-1]) || IsStationSeparator(p[1]))
                wellFormed = false;
            out[n++] = L' ';
        } else if (*p != L'K' && *p != L'k') {
            out[n++] = *p;
        }
    }
    out[n] = 0;
    return n;
}

} // namespace

tkxBreakChain::tkxBreakChain()
{
    Reset();
}

tkxBreakChain::tkxBreakChain(const tkxBreakChain& other) : CObject()
{
    m_iCount = 0;
    *this = other;
}

tkxBreakChain::~tkxBreakChain() = default;

int tkxBreakChain::operator=(const tkxBreakChain& other)
{
    if (this == &other) return 1;
    m_iCount = other.m_iCount;
    m_ZHStart.Copy(other.m_ZHStart);
    m_ZHEnd.Copy(other.m_ZHEnd);
    m_ZHOffset.Copy(other.m_ZHOffset);
    m_ZHBoundary.Copy(other.m_ZHBoundary);
    return 1;
}

int tkxBreakChain::operator==(const tkxBreakChain& other) const
{
    if (m_iCount != other.m_iCount) return 0;
    if (m_ZHStart.GetSize() != other.m_ZHStart.GetSize()) return 0;
    if (m_ZHEnd.GetSize() != other.m_ZHEnd.GetSize()) return 0;
    for (INT_PTR i = 0; i < m_ZHStart.GetSize(); ++i)
        if (std::fabs(m_ZHStart[i] - other.m_ZHStart[i]) > kStationTolerance) return 0;
    for (INT_PTR i = 0; i < m_ZHEnd.GetSize(); ++i)
        if (std::fabs(m_ZHEnd[i] - other.m_ZHEnd[i]) > kStationTolerance) return 0;
    return 1;
}

void tkxBreakChain::Reset()
{
    m_iCount = 1;
    m_ZHStart.RemoveAll();
    m_ZHEnd.RemoveAll();
    m_ZHStart.Add(-kOpenEnd);
    m_ZHEnd.Add(kOpenEnd);
    ComputeBreakData();
}

double tkxBreakChain::GetBreakStartZH(int i) const
{
    return m_ZHStart.GetAt(i);
}

double tkxBreakChain::GetBreakEndZH(int i) const
{
    return m_ZHEnd.GetAt(i);
}

void tkxBreakChain::ComputeBreakData()
{
    const int n = m_iCount;
    m_ZHOffset.RemoveAll();
    m_ZHBoundary.RemoveAll();
    if (n < 1) return;
    m_ZHOffset.Add(0.0);
    for (int i = 1; i < n; ++i) m_ZHOffset.Add(m_ZHOffset[i - 1] + m_ZHEnd[i - 1] - m_ZHStart[i]);
    m_ZHBoundary.Add(m_ZHStart[0]);
    m_ZHBoundary.Add(m_ZHEnd[0]);
    for (int i = 2; i < n; ++i) m_ZHBoundary.Add(m_ZHBoundary[i - 1] + m_ZHEnd[i - 1] - m_ZHStart[i - 1]);
    m_ZHBoundary.Add(m_ZHEnd[n - 1]);
}

void tkxBreakChain::SetBreaks(const CArray<double, double>& backs, const CArray<double, double>& aheads)
{
    m_ZHStart.RemoveAll();
    m_ZHEnd.RemoveAll();
    m_ZHStart.Add(-kOpenEnd);
    for (INT_PTR i = 0; i < backs.GetSize(); ++i) {
        m_ZHEnd.Add(backs[i]);
        m_ZHStart.Add(aheads[i]);
    }
    m_ZHEnd.Add(kOpenEnd);
    m_iCount = static_cast<int>(m_ZHEnd.GetSize());
    ComputeBreakData();
}

// ---------------------------------------------------------------------------
// The break-chain file.

// The breaks are read aside; the chain changes only when the whole file was
// read, so a file that is refused leaves the chain as it was.
int tkxBreakChain::LoadDLFile(const wchar_t* path)
{
    const CString file = path ? path : L"";

    CStdioFile in;
    if (file.IsEmpty() || !in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开断链文件(*.DL)时出错!\n\n%s", file.GetString()));
        return 0;
    }

    CArray<double, double> backs;
    CArray<double, double> aheads;
    CString message;
    try {
        CString line;
        text_lines::DataLineReader lines(in);
        text_lines::FieldList fields;
        int lineNo = 0;
        while (message.IsEmpty() && lines.Next(line, lineNo)) {
            if (fields.Divide(line) != 0 || fields.GetSize() != 2) {
                message = ClFormat(L"断链文件(%s)\n\n第%d行格式错误!", file.GetString(), lineNo);
                break;
            }
            double values[2] = {0.0, 0.0};
            for (int k = 0; k < 2; ++k) {
                if (!ReadBreakStation(fields[k].View(), values[k])) {
                    message = ClFormat(L"断链文件(%s)\n\n第%d行第%d个数据%s, <%s>错误!", file.GetString(), lineNo,
                                       k + 1, fields[k].GetString(), k == 0 ? L"断链前桩号" : L"断链后桩号");
                    break;
                }
            }
            if (!message.IsEmpty()) break;
            const double back = values[0];
            const double ahead = values[1];
            if (backs.GetSize() > 0) {
                const double previousAhead = aheads[aheads.GetSize() - 1];
                if (previousAhead >= back || std::fabs(previousAhead - back) < kStationTolerance) {
                    message = ClFormat(L"断链文件<%s>中，第%d行 \n\n断链终点桩号不得小于断链起点桩号(%.3f>%.3f)!",
                                       file.GetString(), lineNo, back, previousAhead);
                    break;
                }
            }
            backs.Add(back);
            aheads.Add(ahead);
        }
        if (message.IsEmpty() && lines.Failed()) message = lines.FailureText();
    } catch (CFileException* e) {
        e->Delete();
        message = ClFormat(L"打开断链文件(*.DL)时出错!\n\n%s", file.GetString());
    }
    in.Abort();

    if (message.IsEmpty() && backs.GetSize() == 0)
        message = ClFormat(L"断链文件<%s>中，没有包含断链信息!", file.GetString());
    if (!message.IsEmpty()) {
        tkx_SetLastError(message);
        return 0;
    }
    SetBreaks(backs, aheads);
    return 1;
}

int tkxBreakChain::SaveDLFile(const wchar_t* path) const
{
    const CString file = path ? path : L"";
    // A chain that its file would not give back is not written: every
    // station a number, and each segment between two breaks of positive
    // length in the stations as written.
    CArray<double, double> backs;
    CArray<double, double> aheads;
    for (int i = 1; i < m_iCount; ++i) {
        const double back = m_ZHEnd[i - 1];
        const double ahead = m_ZHStart[i];
        if (!std::isfinite(back) || !std::isfinite(ahead)) {
            tkx_SetLastError(
                ClFormat(L"第%d个断链的桩号不是有效数值, 无法创建断链文件(*.DL)!\n\n%s", i, file.GetString()));
            return 0;
        }
        backs.Add(road_files::Rounded3(back));
        aheads.Add(road_files::Rounded3(ahead));
        // As written, a break station must lie within the chain's open ends,
        // or LoadDLFile refuses it.
        if (!(std::fabs(backs[i - 1]) < kOpenEnd) || !(std::fabs(aheads[i - 1]) < kOpenEnd)) {
            tkx_SetLastError(
                ClFormat(L"第%d个断链的桩号超出范围, 无法创建断链文件(*.DL)!\n\n%s", i, file.GetString()));
            return 0;
        }
    }
    const int bad = FirstOutOfOrderBreak(backs, aheads);
    if (bad > 0) {
        tkx_SetLastError(ClFormat(L"第%d个断链 \n\n断链终点桩号不得小于断链起点桩号(%.3f>%.3f), 无法创建断链文件(*.DL)!\n\n%s",
                                  bad, backs[bad - 1], aheads[bad - 2], file.GetString()));
        return 0;
    }
    CString text;
    for (int i = 1; i < m_iCount; ++i) text.AppendFormat(L"%.3f %.3f\n", m_ZHEnd[i - 1], m_ZHStart[i]);
    if (file.IsEmpty() || !road_files::WriteTextFile(file, text)) {
        tkx_SetLastError(tkx_SaveFailureText(file, ClFormat(L"创建断链文件(*.DL)时出错!\n\n%s", file.GetString())));
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// The pair text.

CString tkxBreakChain::OutputToSText() const
{
    CString text;
    for (int i = 1; i < m_iCount; ++i)
        text.AppendFormat(i == 1 ? L"%.3f=%.3f" : L", %.3f=%.3f", m_ZHEnd[i - 1], m_ZHStart[i]);
    return text;
}

int tkxBreakChain::GetDLFromString(const wchar_t* textIn)
{
    CString text = textIn ? textIn : L"";
    text.Trim();
    Reset();
    if (text.IsEmpty()) return 1;
    if (text.Find(L'=') < 0) {
        tkx_SetLastError(ClFormat(L"读断链数据出错, 未包含\"=\"分隔字符!\n\n%s.", text.GetString()));
        return 0;
    }
    const CString whole = text;
    if (text.Find(L',') >= 0) text.Remove(L' ');

    CArray<double, double> backs;
    CArray<double, double> aheads;
    for (;;) {
        const int equal = text.Find(L'=');
        if (equal < 0) {
            // Text left over without its ahead station.
            tkx_SetLastError(ClFormat(L"读断链数据出错, 未包含\"=\"分隔字符!\n\n%s.", text.GetString()));
            return 0;
        }
        CString back = text.Left(equal);
        back.TrimRight();
        const CString rest = text.Mid(equal + 1);
        const int delimiter = rest.FindOneOf(L" ,");
        CString ahead = delimiter < 0 ? rest : rest.Left(delimiter);
        ahead.TrimRight();
        double values[2] = {0.0, 0.0};
        const CString* parts[2] = {&back, &ahead};
        for (int k = 0; k < 2; ++k) {
            if (!ReadBreakStation(parts[k]->str(), values[k])) {
                tkx_SetLastError(ClFormat(L"读断链数据出错!\n\n无法转换字符%s.", parts[k]->GetString()));
                return 0;
            }
        }
        backs.Add(values[0]);
        aheads.Add(values[1]);
        if (delimiter < 0) break;
        text = rest.Mid(delimiter + 1);
        text.TrimLeft();
        // A trailing comma or blank ends the text as well.
        text.TrimLeft(L" ,");
        if (text.IsEmpty()) break;
    }

    const int bad = FirstOutOfOrderBreak(backs, aheads);
    if (bad > 0) {
        tkx_SetLastError(ClFormat(L"断链数据<%s>中，第%d个断链 \n\n断链终点桩号不得小于断链起点桩号(%.3f>%.3f)!",
                                  whole.GetString(), bad, backs[bad - 1], aheads[bad - 2]));
        return 0;
    }
    SetBreaks(backs, aheads);
    return 1;
}

// ---------------------------------------------------------------------------
// Station to continuous chainage.

int tkxBreakChain::GetGlobalZH(double station, double& out) const
{
    if (m_iCount == 0) {
        out = station;
        return 0;
    }
    for (int k = 0; k < m_iCount; ++k) {
        if (m_ZHStart[k] - kHoldTolerance <= station && station <= m_ZHEnd[k] + kHoldTolerance) {
            out = station + m_ZHOffset[k];
            return k + 1;
        }
    }
    return 0;
}

int tkxBreakChain::GetGlobalZH(double station, double& out, int segment) const
{
    if (segment >= 1 && segment <= m_iCount) {
        const int k = segment - 1;
        if (m_ZHStart[k] - kHoldTolerance <= station && station <= m_ZHEnd[k] + kHoldTolerance) {
            out = station + m_ZHOffset[k];
            return 1;
        }
    }
    return GetGlobalZH(station, out) > 0 ? 1 : 0;
}

namespace {

// The chainage of a station field (without its marks) and, when not empty,
// the segment number field after it.
int ChainageOfStation(const tkxBreakChain& chain, std::wstring_view text, std::wstring_view segmentText, double& out)
{
    const auto shown = [](std::wstring_view part) { return CString(part.data(), static_cast<int>(part.size())); };

    // Kilometre and metre parts: 12+345.6, 12-345.6 (twelve kilometres less
    // 345.6 m) or one plain number.  A part after a "-" split is read with
    // that "-" in front of it.
    StationParts parts;
    bool negativeMetres = false;
    if (IndexIn(text, L'+') != std::wstring_view::npos) {
        SplitAt(text, L'+', parts);
    } else {
        const bool sign = text.size() > 1 && text[0] == L'-';
        const std::wstring_view rest = sign ? text.substr(1) : text;
        if (IndexIn(rest, L'-', 1) != std::wstring_view::npos) {
            SplitAt(rest, L'-', parts);
            parts.part[0] = text.substr(0, parts.part[0].size() + (sign ? 1 : 0));
            negativeMetres = true;
        } else {
            parts.part[0] = text;
            parts.count = 1;
        }
    }
    if (parts.count > 2) {
        tkx_SetLastError(ClFormat(L"读断链桩号数据(%s)时出错! \n\n正确的表述应为: 1200 2 或1200,2 !",
                                  shown(text).GetString()));
        return 0;
    }
    // Each part must be a number; a kilometre part must be whole.  (A part
    // after a "-" split begins with no sign: "--" leaves an empty part.)
    double values[2] = {0.0, 0.0};
    for (int i = 0; i < parts.count; ++i) {
        const bool kilometre = parts.count == 2 && i == 0;
        const bool minus = negativeMetres && i > 0;
        const std::wstring_view part = parts.part[i];
        if (!text_lines::ReadNumber(part, values[i]) || (kilometre && IndexIn(part, L'.') != std::wstring_view::npos)) {
            tkx_SetLastError(ClFormat(L"桩号(%s)数据错误! ", (minus ? L"-" + shown(part) : shown(part)).GetString()));
            return 0;
        }
        if (minus) values[i] = -values[i];
    }
    const double value = parts.count == 2 ? values[0] * 1000.0 + values[1] : values[0];
    if (!std::isfinite(value)) {
        tkx_SetLastError(ClFormat(L"桩号(%s)数据错误! ", shown(text).GetString()));
        return 0;
    }

    if (!segmentText.empty()) {
        // A segment number that is no whole number is refused rather than
        // read as segment 0 (which would quietly pick the first segment).
        double segment = 0.0;
        if (!text_lines::ReadNumber(segmentText, segment) || IndexIn(segmentText, L'.') != std::wstring_view::npos) {
            tkx_SetLastError(ClFormat(L"桩号(%s)的断链号(%s)错误!", shown(text).GetString(),
                                      shown(segmentText).GetString()));
            return 0;
        }
        if (!chain.GetGlobalZH(value, out, number_text::WholePart(segment))) {
            tkx_SetLastError(ClFormat(L"路线中不包含指定计算桩号(%s)!", shown(text).GetString()));
            return 0;
        }
        return 1;
    }
    // The first segment that holds the station (a chain always has one).
    if (chain.GetBreakChainCount() > 0 && chain.GetGlobalZH(value, out) > 0) return 1;
    tkx_SetLastError(ClFormat(L"路线中不包含指定计算桩号(%s)!", shown(text).GetString()));
    return 0;
}

} // namespace

int tkxBreakChain::GetGlobalZH(const wchar_t* textIn, double& out) const
{
    const wchar_t* const text0 = textIn ? textIn : L"";
    const wchar_t formatMessage[] = L"读断链桩号数据(%s)时出错! \n\n正确的表述应为: 1200 2 或1200,2 !";

    // A usual station ("K12+345.6", "12345.6") is one field once a leading
    // "K" is dropped: it is read where it lies.  Any other text (more "K"s,
    // "_", separators) is first converted on a copy and cut into fields.
    const wchar_t* const plain = *text0 == L'K' || *text0 == L'k' ? text0 + 1 : text0;
    const wchar_t* end = plain;
    while (!IsStationMark(*end)) ++end;
    if (*end == 0 && end > plain)
        return ChainageOfStation(*this, std::wstring_view(plain, static_cast<size_t>(end - plain)), {}, out);

    // The text is converted on the stack for a usual station; texts are made
    // only for the messages.
    text_lines::TextRoom room(std::wcslen(text0));
    wchar_t* const converted = room.Get();
    bool wellFormed = true;
    const size_t convertedLength = StationTextWithoutMarks(text0, converted, wellFormed);
    text_lines::FieldList fields;
    if (!wellFormed || fields.Divide(converted, convertedLength) != 0 || fields.GetSize() == 0) {
        tkx_SetLastError(ClFormat(formatMessage, converted));
        return 0;
    }
    if (fields.GetSize() > 2) {
        tkx_SetLastError(ClFormat(L"断链桩号(%s)数据个数(%d)出错! \n\n正确的个数应为1个或2个!", converted,
                                  static_cast<int>(fields.GetSize())));
        return 0;
    }
    return ChainageOfStation(*this, fields[0].View(), fields.GetSize() == 2 ? fields[1].View() : std::wstring_view(),
                             out);
}

// ---------------------------------------------------------------------------
// Continuous chainage to station.

int tkxBreakChain::SegmentIndexOf(double chainage) const
{
    for (int i = 1; i < m_iCount; ++i)
        if (m_ZHBoundary[i - 1] <= chainage && chainage < m_ZHBoundary[i]) return i - 1;
    return m_iCount - 1;
}

double tkxBreakChain::GetBreakZH(double chainage) const
{
    if (m_iCount <= 1) return chainage;
    return chainage - m_ZHOffset[SegmentIndexOf(chainage)];
}

short tkxBreakChain::GetBreakChainID(double chainage) const
{
    if (m_iCount == 0) return 1;
    for (int i = 1; i < m_iCount; ++i) {
        const double lower = m_ZHBoundary[i - 1];
        const bool afterLower = chainage - kHoldTolerance > lower || std::fabs(chainage - lower) < kHoldTolerance;
        if (afterLower && chainage + kHoldTolerance < m_ZHBoundary[i]) return static_cast<short>(i);
    }
    return static_cast<short>(m_iCount);
}

CString tkxBreakChain::GetStringBreakZH(double chainage, short decimals, int suffix) const
{
    if (decimals < 0) decimals = road_files::ProjectStationDecimals();
    const unsigned short places = static_cast<unsigned short>(decimals);
    if (m_iCount == 0) return tkx_DToS(chainage, places, -1);
    const int k = SegmentIndexOf(chainage);
    CString text = tkx_DToS(chainage - m_ZHOffset[k], places, -1);
    if (suffix && k > 0) text = ClFormat(L"%s_%d", text.GetString(), k + 1);
    return text;
}

CString tkxBreakChain::ZHToCString(double chainage, short decimals, int suffix) const
{
    if (m_iCount == 0) return tkx_ChangeZhToString(chainage, decimals);
    const int k = SegmentIndexOf(chainage);
    CString text = tkx_ChangeZhToString(chainage - m_ZHOffset[k], decimals);
    if (suffix && k > 0) text = ClFormat(L"%s_%d", text.GetString(), k + 1);
    return text;
}

CString tkxBreakChain::GetZHString(double chainage, short decimals, int suffix) const
{
    return ZHToCString(chainage, decimals, suffix);
}

// ---------------------------------------------------------------------------
// Editing.

int tkxBreakChain::InsertBreakZH(double back, double ahead)
{
    const int n = m_iCount;
    if (n < 1) return -1;
    int position = -1;
    if (back < m_ZHEnd[0] - kBreakTolerance) {
        position = 0;
    } else {
        for (int i = 0; i < n - 1; ++i) {
            if (std::fabs(back - m_ZHEnd[i]) < kBreakTolerance) return 0;
            if (m_ZHEnd[i] + kBreakTolerance < back && back < m_ZHEnd[i + 1] - kBreakTolerance) {
                position = i + 1;
                break;
            }
        }
        if (position < 0) return -1;
    }

    // The new break must leave both segments around it a positive length:
    // the previous ahead station before the back station, the ahead station
    // before the next back station.
    const bool lastBreak = position + 1 >= n;
    const double previousAhead = m_ZHStart[position];
    const bool beforeOk = position == 0 || (previousAhead < back && back - previousAhead >= kStationTolerance);
    const bool afterOk =
        lastBreak || (ahead < m_ZHEnd[position] && m_ZHEnd[position] - ahead >= kStationTolerance);
    if (!beforeOk || !afterOk) {
        tkx_SetLastError(ClFormat(L"插入断链(%.3f=%.3f)出错, 断链终点桩号不得小于断链起点桩号!", back, ahead));
        return -1;
    }

    m_ZHEnd.InsertAt(position, back);
    m_ZHStart.InsertAt(position + 1, ahead);
    ++m_iCount;
    ComputeBreakData();
    return position;
}

int tkxBreakChain::DeleteBreakZH(double back)
{
    for (int i = 0; i < m_iCount - 1; ++i) {
        if (std::fabs(back - m_ZHEnd[i]) < kBreakTolerance) {
            m_ZHEnd.RemoveAt(i);
            m_ZHStart.RemoveAt(i + 1);
            --m_iCount;
            ComputeBreakData();
            return 1;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Archive form.

void tkxBreakChain::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_iCount;
        for (double v : m_ZHStart) ar << v;
        for (double v : m_ZHEnd) ar << v;
        return;
    }
    // Read aside: an archive that breaks off leaves the chain as it was.
    int count = 0;
    ar >> count;
    CArray<double, double> starts;
    CArray<double, double> ends;
    for (int i = 0; i < count; ++i) {
        double v = 0.0;
        ar >> v;
        starts.Add(v);
    }
    for (int i = 0; i < count; ++i) {
        double v = 0.0;
        ar >> v;
        ends.Add(v);
    }
    // A chain without segments converts no station: take the default chain.
    if (count < 1) {
        Reset();
        return;
    }
    m_ZHStart.Copy(starts);
    m_ZHEnd.Copy(ends);
    m_iCount = count;
    ComputeBreakData();
}

void tkxBreakChain::AssertValid() const {}

void tkxBreakChain::Dump(CDumpContext&) const {}
