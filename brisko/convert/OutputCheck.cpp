#include "brisko/convert/OutputCheck.h"
#include "corvane/base/LastError.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/PlaneCurve.h"
#include "corvane/road/Profile.h"
#include "corvane/road/Road.h"
#include <memory>
#include <string>

namespace {

constexpr double kSpare = 1000.0;

// The reader's message about a file read under another name: that name is
// put in place of the file's path.
CString Named(CString message, const CString& path, const CString& shown)
{
    if (!path.IsEmpty() && path != shown) message.Replace(path, shown);
    return message;
}

// The intersection-point file, row by row through the curve's own reader.
CString ReadJD(const CString& path, const CString& shown)
{
    ToolLineReader lines;
    if (!lines.Open(path)) return ClFormat(L"打开交点文件%s失败!", shown.GetString());
    CString line;
    for (;;) {
        const int read = lines.Next(line);
        if (read == 0) return CString();
        if (read < 0) return ClFormat(L"读交点文件%s第%d行失败!", shown.GetString(), lines.LineNo());
        tkxPlaneCurve3 curve;
        CString message;
        if (!curve.ReadJDFile(line, message))
            return ClFormat(L"读交点文件%s第%d行失败!\n\n[%s]\n\n%s", shown.GetString(), lines.LineNo(),
                            line.GetString(), message.GetString());
    }
}

// The unit reader takes only a file whose name holds ".ICD": a temporary
// file is read through a copy of that name in the system's temporary folder
// (beside a name reserved there, so that no other file is met).
CString ReadICD(const CString& path, const CString& shown)
{
    CString upper(path);
    upper.MakeUpper();
    if (upper.Find(L".ICD") >= 0) {
        tkxRoadObject road;
        return road.LoadICDFile(path) ? CString() : Named(tkx_GetLastError(), path, shown);
    }
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t reserved[MAX_PATH + 16] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !::GetTempFileNameW(folder, L"icd", 0, reserved))
        return ClFormat(L"读取平面单元文件%s失败!", shown.GetString());
    const CString copy = CString(reserved) + L".ICD";
    CString message;
    if (!::CopyFileW(path, copy, FALSE)) {
        message = ClFormat(L"读取平面单元文件%s失败!", shown.GetString());
    } else {
        tkxRoadObject road;
        if (!road.LoadICDFile(copy)) message = Named(tkx_GetLastError(), copy, shown);
    }
    ::DeleteFileW(copy);
    ::DeleteFileW(reserved);
    return message;
}

} // namespace

ToolReadBack::ToolReadBack(const CString& input, std::initializer_list<SuiteFileKind> kinds)
    : m_input(input), m_kinds(kinds)
{
}

void ToolReadBack::AddStation(double station, int segment)
{
    const auto found = m_segments.find(segment);
    if (found == m_segments.end()) {
        m_segments[segment] = {station, station};
        return;
    }
    if (station < found->second.first) found->second.first = station;
    if (station > found->second.second) found->second.second = station;
}

void ToolReadBack::ReadFirst(const CString& path, SuiteFileKind kind, const CString& shownAs)
{
    m_first.push_back({path, shownAs, kind});
}

void ToolReadBack::MapLines(size_t output, std::vector<int> inputLines)
{
    if (m_lines.size() <= output) m_lines.resize(output + 1);
    m_lines[output] = std::move(inputLines);
}

ToolOutputsCheck ToolReadBack::Check()
{
    return [this](const std::vector<ToolOutput>& outputs, const std::vector<CString>& temporaries) {
        return Read(outputs, temporaries);
    };
}

BOOL ToolReadBack::Read(const std::vector<ToolOutput>& outputs, const std::vector<CString>& temporaries)
{
    m_message.Empty();
    std::vector<File> files = m_first;
    for (size_t i = 0; i < outputs.size() && i < temporaries.size() && i < m_kinds.size(); ++i)
        files.push_back({temporaries[i], outputs[i].path, m_kinds[i]});
    size_t refused = 0;
    const CString message = ReadAll(files, m_chain, refused);
    if (message.IsEmpty()) return TRUE;
    tkxBreakChain segments;
    size_t unused = 0;
    if (SegmentChain(segments) && ReadAll(files, segments, unused).IsEmpty()) return TRUE;
    const int line = refused >= m_first.size() ? InputLineOf(refused - m_first.size(), message, files[refused].shown) : 0;
    const CString input = line > 0 ? ClFormat(L"%s, 第%d行", m_input.GetString(), line) : m_input;
    m_message = ClFormat(L"转换结果无法被读回, 输出文件保持原样!\n\n输入文件: %s\n\n%s", input.GetString(),
                         message.GetString());
    return FALSE;
}

int ToolReadBack::InputLineOf(size_t output, const CString& message, const CString& shown) const
{
    if (output >= m_lines.size() || m_lines[output].empty()) return 0;
    // The first "第<n>行" of the message outside the file's name.
    CString text(message);
    if (!shown.IsEmpty()) text.Replace(shown, L"");
    const std::wstring s = text.str();
    for (size_t at = s.find(L'第'); at != std::wstring::npos; at = s.find(L'第', at + 1)) {
        size_t end = at + 1;
        while (end < s.size() && s[end] >= L'0' && s[end] <= L'9' && end - at <= 9) ++end;
        if (end == at + 1 || end >= s.size() || s[end] != L'行') continue;
        const size_t line = static_cast<size_t>(std::stoul(s.substr(at + 1, end - at - 1)));
        const std::vector<int>& lines = m_lines[output];
        return line >= 1 && line <= lines.size() ? lines[line - 1] : 0;
    }
    return 0;
}

CString ToolReadBack::ReadAll(const std::vector<File>& files, const tkxBreakChain& chain, size_t& refused) const
{
    // The profile of the last ground line read gives an "ABS" section its
    // centre elevation.
    std::unique_ptr<tkxZDMInfo> profile;
    for (size_t i = 0; i < files.size(); ++i) {
        const File& file = files[i];
        refused = i;
        CString message;
        switch (file.kind) {
        case SuiteFileKind::JD: message = ReadJD(file.path, file.shown); break;
        case SuiteFileKind::ICD: message = ReadICD(file.path, file.shown); break;
        case SuiteFileKind::SQX: {
            tkxZDMInfo grades(&chain);
            if (!grades.LoadSQXFile(file.path)) message = tkx_GetLastError();
            break;
        }
        case SuiteFileKind::DMX: {
            auto ground = std::make_unique<tkxZDMInfo>(&chain);
            if (!ground->LoadDMXFile(file.path))
                message = tkx_GetLastError();
            else
                profile = std::move(ground);
            break;
        }
        case SuiteFileKind::HDX: {
            tkxHDMTerrain terrain(&chain);
            terrain.SetZDMInfo(profile.get());
            if (!terrain.LoadHDXFile(file.path)) message = tkx_GetLastError();
            break;
        }
        }
        if (!message.IsEmpty()) return Named(message, file.path, file.shown);
    }
    return CString();
}

BOOL ToolReadBack::SegmentChain(tkxBreakChain& chain) const
{
    if (m_segments.empty() || m_segments.rbegin()->first <= 1) return FALSE;
    // Segment k holds its stations with a kilometre to spare on either side
    // (the breaks lie somewhere between the last station of a segment and
    // the first of the next; a vertical curve there needs room); a segment
    // no station names holds -1000 to 1000.
    const int last = m_segments.rbegin()->first;
    const auto range = [this](int segment) {
        const auto found = m_segments.find(segment);
        return found == m_segments.end() ? std::pair<double, double>(0.0, 0.0) : found->second;
    };
    CString breaks;
    for (int k = 1; k < last; ++k) {
        if (!breaks.IsEmpty()) breaks += L", ";
        breaks.AppendFormat(L"%.6f=%.6f", range(k).second + kSpare, range(k + 1).first - kSpare);
    }
    const CString before = tkx_GetLastError();
    const BOOL made = chain.GetDLFromString(breaks);
    tkx_SetLastError(before);
    return made;
}

BOOL StationOrder::Next(double station, int segment)
{
    const auto found = m_last.find(segment);
    if (found != m_last.end() && station < found->second - 1e-6) return FALSE;
    m_last[segment] = station;
    return TRUE;
}

CString StationOrder::Falling(int lineNo)
{
    return ClFormat(L"第%d行桩号小于上一行桩号", lineNo);
}

CString FallingStation(const ToolSource& in)
{
    return ClFormat(L"读输入文件%s\n\n", in.Path().GetString()) + StationOrder::Falling(in.LineNo());
}
