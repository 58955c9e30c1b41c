#include "brisko/convert/OutputCheck.h"
#include "brisko/convert/ToolLineReader.h"
#include "corvane/base/LastError.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/PlaneCurve.h"
#include "corvane/road/Profile.h"
#include "corvane/road/Road.h"
#include <memory>

namespace {

constexpr double kSpare = 1000.0;

// The reader's message about a file read under another name: that name is
// put in place of the file's path.
CString Named(CString message, const CString& path, const CString& shown)
{
    if (!path.IsEmpty() && path != shown) message.Replace(path, shown);
    return message;
}

// The intersection-point file, row by row through the curve's own reader;
// line gets the line a refusal names.
CString ReadJD(const CString& path, const CString& shown, int& line)
{
    ToolLineReader lines;
    if (!lines.Open(path)) return ClFormat(L"打开交点文件%s失败!", shown.GetString());
    CString text;
    for (;;) {
        const int read = lines.Next(text);
        if (read == 0) return CString();
        line = lines.LineNo();
        if (read < 0) return ClFormat(L"读交点文件%s第%d行失败!", shown.GetString(), line);
        tkxPlaneCurve3 curve;
        CString message;
        if (!curve.ReadJDFile(text, message))
            return ClFormat(L"读交点文件%s第%d行失败!\n\n[%s]\n\n%s", shown.GetString(), line, text.GetString(),
                            message.GetString());
    }
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

void ToolReadBack::MapLines(size_t output, std::vector<int> inputLines)
{
    if (m_lines.size() <= output) m_lines.resize(output + 1);
    m_lines[output] = std::move(inputLines);
}

void ToolReadBack::SetHeaderLines(size_t output, int count)
{
    if (m_headerLines.size() <= output) m_headerLines.resize(output + 1, 0);
    m_headerLines[output] = count;
}

const wchar_t* ToolReadBack::TemporaryExtension(size_t output) const
{
    return output < m_kinds.size() && m_kinds[output] == SuiteFileKind::ICD ? L".ICD" : nullptr;
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
    std::vector<File> files;
    for (size_t i = 0; i < outputs.size() && i < temporaries.size() && i < m_kinds.size(); ++i)
        files.push_back({temporaries[i], outputs[i].path, m_kinds[i]});
    Refusal refusal;
    if (ReadAll(files, m_chain, refusal)) return TRUE;
    tkxBreakChain segments;
    Refusal unused;
    if (SegmentChain(segments) && ReadAll(files, segments, unused)) return TRUE;
    const int line = InputLineOf(refusal.file, refusal.line);
    const CString input = line > 0 ? ClFormat(L"%s, 第%d行", m_input.GetString(), line) : m_input;
    m_message = ClFormat(L"转换结果无法被读回, 输出文件保持原样!\n\n输入文件: %s\n\n%s", input.GetString(),
                         refusal.message.GetString());
    return FALSE;
}

int ToolReadBack::InputLineOf(size_t output, int line) const
{
    if (output >= m_lines.size() || line <= 0) return 0;
    const int header = output < m_headerLines.size() ? m_headerLines[output] : 0;
    const std::vector<int>& lines = m_lines[output];
    const int at = line - header; // from 1 within the tool's text
    return at >= 1 && static_cast<size_t>(at) <= lines.size() ? lines[static_cast<size_t>(at) - 1] : 0;
}

bool ToolReadBack::ReadAll(const std::vector<File>& files, const tkxBreakChain& chain, Refusal& refusal) const
{
    // The profile of the last ground line read gives an "ABS" section its
    // centre elevation.
    std::unique_ptr<tkxZDMInfo> profile;
    for (size_t i = 0; i < files.size(); ++i) {
        const File& file = files[i];
        CString message;
        int line = 0;
        switch (file.kind) {
        case SuiteFileKind::JD: message = ReadJD(file.path, file.shown, line); break;
        case SuiteFileKind::ICD: {
            // The temporary file carries the extension the unit reader asks
            // for (TemporaryExtension), so it is read where it lies.
            tkxRoadObject road;
            if (!road.LoadICDFile(file.path, &line)) message = tkx_GetLastError();
            break;
        }
        case SuiteFileKind::SQX: {
            tkxZDMInfo grades(&chain);
            if (!grades.LoadSQXFile(file.path, &line)) message = tkx_GetLastError();
            break;
        }
        case SuiteFileKind::DMX: {
            auto ground = std::make_unique<tkxZDMInfo>(&chain);
            if (!ground->LoadDMXFile(file.path, &line))
                message = tkx_GetLastError();
            else
                profile = std::move(ground);
            break;
        }
        case SuiteFileKind::HDX: {
            tkxHDMTerrain terrain(&chain);
            terrain.SetZDMInfo(profile.get());
            if (!terrain.LoadHDXFile(file.path, &line)) message = tkx_GetLastError();
            break;
        }
        }
        if (!message.IsEmpty()) {
            refusal = {Named(message, file.path, file.shown), i, line};
            return false;
        }
    }
    return true;
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
