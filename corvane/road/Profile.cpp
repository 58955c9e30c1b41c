#include "corvane/road/Profile.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/project/StationText.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/RoadFiles.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <vector>

IMPLEMENT_SERIAL(tkxZDMInfo, CObject, 1)

namespace {

constexpr double kOutside = -999.0;
constexpr double kRangeTolerance = 0.001;
constexpr double kTangentTolerance = 0.00001;
constexpr double kSameStation = 1e-6;

const wchar_t kNoChain[] = L"未定义道路断链对象错误!";
const wchar_t kNoGrade[] = L"未定义纵断面拉坡数据!";

// An elevation field: a number within reach.
bool ReadElevation(const text_lines::Field& field, double& value)
{
    return text_lines::ReadNumber(field, value) && road_files::WithinReach(value);
}

double ArrayValue(const CArray<double, double>& a, int i)
{
    return i >= 0 && i < a.GetSize() ? a[i] : kOutside;
}

} // namespace

struct tkxZDMInfo::GradeState {
    CArray<double, double> rs;
    CArray<double, double> elevations;
    CArray<double, double> stations;
    CArray<double, double> tangents;
    CArray<short, short> flags;
    std::vector<int> lines; // file line of each grade point, when read
};

tkxZDMInfo::tkxZDMInfo() : m_pBreakChain(nullptr) {}

tkxZDMInfo::tkxZDMInfo(const tkxBreakChain* chain) : m_pBreakChain(chain) {}

tkxZDMInfo::tkxZDMInfo(const tkxZDMInfo& other) : CObject(), m_pBreakChain(nullptr)
{
    *this = other;
}

tkxZDMInfo::~tkxZDMInfo() = default;

tkxZDMInfo& tkxZDMInfo::operator=(const tkxZDMInfo& other)
{
    if (this == &other) return *this;
    m_pBreakChain = other.m_pBreakChain;
    m_Rs.Copy(other.m_Rs);
    m_BPDElevations.Copy(other.m_BPDElevations);
    m_BPDZHs.Copy(other.m_BPDZHs);
    m_TangentZHs.Copy(other.m_TangentZHs);
    m_Flags.Copy(other.m_Flags);
    m_DMXZHs.Copy(other.m_DMXZHs);
    m_DMXHeights.Copy(other.m_DMXHeights);
    return *this;
}

void tkxZDMInfo::Reset()
{
    m_pBreakChain = nullptr;
    ResetSQX();
    ResetDMX();
}

void tkxZDMInfo::ResetSQX()
{
    m_Rs.RemoveAll();
    m_BPDElevations.RemoveAll();
    m_BPDZHs.RemoveAll();
    m_TangentZHs.RemoveAll();
    m_Flags.RemoveAll();
}

void tkxZDMInfo::SaveGrade(GradeState& state) const
{
    state.rs.Copy(m_Rs);
    state.elevations.Copy(m_BPDElevations);
    state.stations.Copy(m_BPDZHs);
    state.tangents.Copy(m_TangentZHs);
    state.flags.Copy(m_Flags);
}

void tkxZDMInfo::RestoreGrade(const GradeState& state)
{
    m_Rs.Copy(state.rs);
    m_BPDElevations.Copy(state.elevations);
    m_BPDZHs.Copy(state.stations);
    m_TangentZHs.Copy(state.tangents);
    m_Flags.Copy(state.flags);
}

int tkxZDMInfo::ComputeOrRestore(const GradeState& before)
{
    if (ComputeSQX()) return 1;
    RestoreGrade(before);
    return 0;
}

bool tkxZDMInfo::GradeArraysAgree() const
{
    return m_BPDElevations.GetSize() == m_BPDZHs.GetSize();
}

double tkxZDMInfo::CurveStart(int i) const
{
    const INT_PTR k = 2 * static_cast<INT_PTR>(i);
    if (k >= 0 && k < m_TangentZHs.GetSize()) return m_TangentZHs[k];
    return ArrayValue(m_BPDZHs, i);
}

double tkxZDMInfo::CurveEnd(int i) const
{
    const INT_PTR k = 2 * static_cast<INT_PTR>(i) + 1;
    if (k >= 0 && k < m_TangentZHs.GetSize()) return m_TangentZHs[k];
    return ArrayValue(m_BPDZHs, i);
}

short tkxZDMInfo::CurveFlag(int i) const
{
    return i >= 0 && i < m_Flags.GetSize() ? m_Flags[i] : 0;
}

// ---------------------------------------------------------------------------
// Vertical curves.

int tkxZDMInfo::ComputeSQX()
{
    int badPoint = -1;
    return ComputeCurves(badPoint);
}

int tkxZDMInfo::ComputeCurves(int& badPoint)
{
    if (!m_pBreakChain) {
        tkx_SetLastError(L"未定义断链对象, 无法输出纵断面竖曲线文件!");
        return 0;
    }
    const int n = static_cast<int>(m_BPDZHs.GetSize());
    if (n == 0 || m_BPDElevations.GetSize() == 0) {
        tkx_SetLastError(L"纵断面文件中, 没有变坡点桩号或高程数据!");
        return 0;
    }
    if (m_BPDElevations.GetSize() != n) {
        tkx_SetLastError(L"变坡点桩号与高程数据个数不相同!");
        return 0;
    }
    if (n > 2 && m_Rs.GetSize() < n - 1) {
        tkx_SetLastError(L"变坡点桩号与半径数据个数不相同!");
        return 0;
    }
    for (int i = 1; i < n; ++i) {
        if (m_BPDZHs[i] - m_BPDZHs[i - 1] <= kSameStation) {
            badPoint = i;
            tkx_SetLastError(ClFormat(L"竖曲线文件中, 第%d个变坡点桩号(%s)不大于前一变坡点桩号(%s)!", i,
                                      m_pBreakChain->ZHToCString(m_BPDZHs[i], 4, 1).GetString(),
                                      m_pBreakChain->ZHToCString(m_BPDZHs[i - 1], 4, 1).GetString()));
            return 0;
        }
    }

    CArray<double, double> tangents;
    CArray<short, short> flags;
    tangents.Add(m_BPDZHs[0]);
    tangents.Add(m_BPDZHs[0]);
    flags.Add(0);
    for (int i = 1; i < n - 1; ++i) {
        const double i1 = (m_BPDElevations[i] - m_BPDElevations[i - 1]) / (m_BPDZHs[i] - m_BPDZHs[i - 1]);
        const double i2 = (m_BPDElevations[i + 1] - m_BPDElevations[i]) / (m_BPDZHs[i + 1] - m_BPDZHs[i]);
        const short flag = i1 - i2 < 0 ? 1 : -1;
        const double t = std::fabs(i1 - i2) * 0.5 * m_Rs[i];
        // Values beyond any road's measure would leave curves without
        // numbers (NaN passes every comparison below).
        if (!std::isfinite(t)) {
            badPoint = i;
            tkx_SetLastError(ClFormat(L"竖曲线文件中, 第%d个变坡点的竖曲线半径或高程数值超出范围!", i));
            return 0;
        }
        const double start = m_BPDZHs[i] - t;
        const double end = m_BPDZHs[i] + t;
        const double previousEnd = tangents[tangents.GetSize() - 1];
        if (previousEnd - kRangeTolerance > start) {
            badPoint = i;
            tkx_SetLastError(ClFormat(
                L"竖曲线文件中, 第%d个变坡点前方穿袖! \n竖曲线起点桩号(%s)<前方竖曲线终点桩号(%s), 穿袖长度:%s!", i,
                m_pBreakChain->ZHToCString(start, 4, 1).GetString(),
                m_pBreakChain->ZHToCString(previousEnd, 4, 1).GetString(),
                tkx_DToS(previousEnd - start, 4, 1).GetString()));
            return 0;
        }
        tangents.Add(start);
        tangents.Add(end);
        flags.Add(flag);
    }
    if (n > 1) {
        tangents.Add(m_BPDZHs[n - 1]);
        tangents.Add(m_BPDZHs[n - 1]);
        flags.Add(0);
    }
    m_TangentZHs.Copy(tangents);
    m_Flags.Copy(flags);
    return 1;
}

int tkxZDMInfo::GetBPDCount() const
{
    return static_cast<int>(m_BPDZHs.GetSize());
}

double tkxZDMInfo::GetBPDZH(int i) const
{
    return ArrayValue(m_BPDZHs, i);
}

double tkxZDMInfo::GetBPDElevation(int i) const
{
    return ArrayValue(m_BPDElevations, i);
}

double tkxZDMInfo::GetR(int i) const
{
    return ArrayValue(m_Rs, i);
}

short tkxZDMInfo::GetBPDFlag(int i) const
{
    return CurveFlag(i);
}

int tkxZDMInfo::GetTangentZH(int i, double& start, double& end) const
{
    const INT_PTR k = 2 * static_cast<INT_PTR>(i);
    if (i < 0 || k + 1 >= m_TangentZHs.GetSize()) return 0;
    start = m_TangentZHs[k];
    end = m_TangentZHs[k + 1];
    return 1;
}

void tkxZDMInfo::SetBPDZHs(const CArray<double, double>& values)
{
    m_BPDZHs.Copy(values);
}

void tkxZDMInfo::SetBPDElevations(const CArray<double, double>& values)
{
    m_BPDElevations.Copy(values);
}

void tkxZDMInfo::SetRs(const CArray<double, double>& values)
{
    m_Rs.Copy(values);
}

void tkxZDMInfo::SetTangentZHs(const CArray<double, double>& values)
{
    m_TangentZHs.Copy(values);
}

void tkxZDMInfo::SetFlags(const CArray<short, short>& values)
{
    m_Flags.Copy(values);
}

namespace {

bool IsInner(const CArray<double, double>& a, int i)
{
    return i >= 1 && i <= a.GetSize() - 2;
}

} // namespace

int tkxZDMInfo::SetAtBPDZH(int i, double station)
{
    if (!IsInner(m_BPDZHs, i)) return 0;
    GradeState before;
    SaveGrade(before);
    m_BPDZHs[i] = station;
    return ComputeOrRestore(before);
}

int tkxZDMInfo::SetAtBPDElevation(int i, double elevation)
{
    if (!IsInner(m_BPDElevations, i)) return 0;
    GradeState before;
    SaveGrade(before);
    m_BPDElevations[i] = elevation;
    return ComputeOrRestore(before);
}

int tkxZDMInfo::SetAtRadius(int i, double radius)
{
    if (!IsInner(m_Rs, i)) return 0;
    GradeState before;
    SaveGrade(before);
    m_Rs[i] = radius;
    return ComputeOrRestore(before);
}

int tkxZDMInfo::InsertBPD(double station, double elevation, double radius)
{
    const int n = GetBPDCount();
    int position = 0;
    if (n < 2) {
        // A second point goes on the side of the first where it belongs, so
        // that the stations increase.
        position = n == 1 && station > m_BPDZHs[0] ? 1 : 0;
    } else {
        bool onTangent = true;
        const int index = FindSQXIndex(station, onTangent);
        if (index < 0) {
            position = 0;
        } else if (index >= n) {
            position = n;
        } else if (onTangent) {
            position = index + 1;
        } else {
            tkx_SetLastError(L"新变坡点桩号位于现有竖曲线中.");
            return 0;
        }
    }
    GradeState before;
    SaveGrade(before);
    m_BPDZHs.InsertAt(position, station);
    m_BPDElevations.InsertAt(position, elevation);
    m_Rs.InsertAt(position, radius);
    return ComputeOrRestore(before);
}

int tkxZDMInfo::ModifyBPD(int i, double station, double elevation, double radius)
{
    if (i < 0 || i >= GetBPDCount()) {
        tkx_SetLastError(ClFormat(L"输入的变坡点序号[%d]越界.", i));
        return 0;
    }
    GradeState before;
    SaveGrade(before);
    m_BPDZHs[i] = station;
    m_BPDElevations.SetAtGrow(i, elevation);
    m_Rs.SetAtGrow(i, radius);
    return ComputeOrRestore(before);
}

int tkxZDMInfo::DeleteBPD(int i)
{
    if (i < 0 || i >= GetBPDCount()) {
        tkx_SetLastError(ClFormat(L"输入的变坡点序号[%d]越界.", i));
        return 0;
    }
    GradeState before;
    SaveGrade(before);
    m_BPDZHs.RemoveAt(i);
    if (i < m_BPDElevations.GetSize()) m_BPDElevations.RemoveAt(i);
    if (i < m_Rs.GetSize()) m_Rs.RemoveAt(i);
    return ComputeOrRestore(before);
}

int tkxZDMInfo::FindSQXIndex(double x, bool& onTangent) const
{
    onTangent = true;
    const int n = GetBPDCount();
    if (n < 2 || x < m_BPDZHs[0] - kSameStation) return -1;
    const int last = n - 1;
    if (x > m_BPDZHs[last] + kSameStation) return n;

    int lo = 0;
    int hi = last;
    if (x >= m_BPDZHs[last] - kSameStation) {
        lo = last;
    } else {
        while (hi - lo > 1) {
            const int mid = (lo + hi) / 2;
            if (std::fabs(x - m_BPDZHs[mid]) < kSameStation) {
                lo = mid;
                break;
            }
            if (x < m_BPDZHs[mid])
                hi = mid;
            else
                lo = mid;
        }
    }
    if (lo > 0 && x < CurveEnd(lo)) {
        onTangent = false;
        return lo;
    }
    if (lo == last) return lo;
    if (x > CurveStart(lo + 1)) {
        onTangent = false;
        return lo + 1;
    }
    return lo;
}

namespace {

// The tangent (pair of grade points s, s+1) holding x, as the elevation
// reads find it: the first s with station[s] at or before x (within the
// range tolerance) and station[s+1] after it, else the last tangent; -1
// when there is none.  The grade points' stations rise (the curves are
// computed only then), so s is found by halving: the first s with x before
// station[s+1] is the only one that can hold x.
int FindTangent(const CArray<double, double>& st, double x)
{
    const int n = static_cast<int>(st.GetSize());
    if (n < 2) return -1;
    const double* first = st.GetData();
    const int s = static_cast<int>(std::upper_bound(first + 1, first + n - 1, x) - first) - 1;
    if (s < n - 2 && (st[s] < x || std::fabs(x - st[s]) < kRangeTolerance)) return s;
    return n - 2;
}

} // namespace

int tkxZDMInfo::GetElevation(double x, double& out) const
{
    if (!m_pBreakChain) {
        tkx_SetLastError(kNoChain);
        return 0;
    }
    out = kOutside;
    const int n = GetBPDCount();
    if (n < 2 || !GradeArraysAgree()) {
        tkx_SetLastError(kNoGrade);
        return 0;
    }
    if (x < m_BPDZHs[0] - kRangeTolerance || x > m_BPDZHs[n - 1] + kRangeTolerance) {
        tkx_SetLastError(ClFormat(L"计算中桩<%s>高程时出错! 竖曲线文件范围(%s ~ %s)!",
                                  m_pBreakChain->GetStringBreakZH(x, -1, 1).GetString(),
                                  m_pBreakChain->GetStringBreakZH(m_BPDZHs[0], -1, 1).GetString(),
                                  m_pBreakChain->GetStringBreakZH(m_BPDZHs[n - 1], -1, 1).GetString()));
        return 0;
    }
    const int s = FindTangent(m_BPDZHs, x);
    const double e = m_BPDElevations[s] +
                     (m_BPDElevations[s + 1] - m_BPDElevations[s]) * (x - m_BPDZHs[s]) / (m_BPDZHs[s + 1] - m_BPDZHs[s]);

    double correction = 0.0;
    const double endS = CurveEnd(s);
    if (x < endS || std::fabs(x - endS) < kTangentTolerance) {
        const double r = GetR(s);
        const double d = endS - x;
        if (std::fabs(r) >= 1e-6) correction = CurveFlag(s) * d * (d * 0.5) / r;
    } else if (x < CurveStart(s + 1) - kTangentTolerance) {
        correction = 0.0;
    } else {
        const double r = GetR(s + 1);
        const double d = x - CurveStart(s + 1);
        if (std::fabs(r) >= 1e-6) correction = CurveFlag(s + 1) * d * (d * 0.5) / r;
    }
    out = e + correction;
    return 1;
}

int tkxZDMInfo::GetTangentElevation(double x, double& out) const
{
    if (!m_pBreakChain) {
        tkx_SetLastError(kNoChain);
        return 0;
    }
    out = kOutside;
    const int n = GetBPDCount();
    if (n < 1 || !GradeArraysAgree()) {
        tkx_SetLastError(kNoGrade);
        return 0;
    }
    if (n < 2 || x < m_BPDZHs[0] - kRangeTolerance || x > m_BPDZHs[n - 1] + kRangeTolerance) {
        tkx_SetLastError(ClFormat(L"计算中桩<%s>高程时桩号越界错误! 竖曲线文件范围(%s ~ %s)!",
                                  m_pBreakChain->GetStringBreakZH(x, -1, 1).GetString(),
                                  m_pBreakChain->GetStringBreakZH(m_BPDZHs[0], -1, 1).GetString(),
                                  m_pBreakChain->GetStringBreakZH(m_BPDZHs[n - 1], -1, 1).GetString()));
        return 0;
    }
    const int s = FindTangent(m_BPDZHs, x);
    out = m_BPDElevations[s] +
          (m_BPDElevations[s + 1] - m_BPDElevations[s]) * (x - m_BPDZHs[s]) / (m_BPDZHs[s + 1] - m_BPDZHs[s]);
    return 1;
}

double tkxZDMInfo::GetPD(int i) const
{
    if (i <= 0 || i >= GetBPDCount() || i >= m_BPDElevations.GetSize()) return kOutside;
    const double length = m_BPDZHs[i] - m_BPDZHs[i - 1];
    if (std::fabs(length) < kTangentTolerance) return kOutside;
    return (m_BPDElevations[i] - m_BPDElevations[i - 1]) / length;
}

int tkxZDMInfo::GetPD(double x, double& out) const
{
    if (!m_pBreakChain) {
        tkx_SetLastError(kNoChain);
        return 0;
    }
    out = kOutside;
    const int n = GetBPDCount();
    if (n == 0) {
        tkx_SetLastError(L"变坡点信息为空!");
        return 0;
    }
    if (x < m_BPDZHs[0]) x = m_BPDZHs[0];
    if (x > m_BPDZHs[n - 1]) x = m_BPDZHs[n - 1];
    double here = 0.0;
    if (!GetElevation(x, here)) return 0;
    if (std::fabs(x - m_BPDZHs[n - 1]) < kSameStation) {
        out = GetPD(n - 1);
    } else if (std::fabs(x - m_BPDZHs[0]) < kSameStation) {
        out = (m_BPDElevations[1] - m_BPDElevations[0]) / (m_BPDZHs[1] - m_BPDZHs[0]);
    } else {
        double ahead = 0.0;
        if (!GetElevation(x + 1e-6, ahead)) return 0;
        out = (ahead - here) / 1e-6;
    }
    return 1;
}

double tkxZDMInfo::GetLPPD(double x) const
{
    const int n = GetBPDCount();
    if (n == 0) return 0.0;
    if (x < m_BPDZHs[0] - kRangeTolerance || x > m_BPDZHs[n - 1] + kRangeTolerance) return 0.0;
    for (int i = 1; i < n; ++i)
        if (m_BPDZHs[i - 1] - kTangentTolerance < x && x < m_BPDZHs[i] - kTangentTolerance) return GetPD(i);
    return 0.0;
}

int tkxZDMInfo::GetTWHeight(double x, double& out) const
{
    double design = 0.0;
    if (!GetElevation(x, design)) return 0;
    out = design - GetDMXElevation(x);
    return 1;
}

void tkxZDMInfo::ImportSQX(const tkxZDMInfo& other)
{
    if (this == &other) return;
    ResetSQX();
    m_Rs.Copy(other.m_Rs);
    m_BPDElevations.Copy(other.m_BPDElevations);
    m_BPDZHs.Copy(other.m_BPDZHs);
    m_TangentZHs.Copy(other.m_TangentZHs);
    m_Flags.Copy(other.m_Flags);
}

// ---------------------------------------------------------------------------
// The vertical-curve file.

int tkxZDMInfo::LoadSQXFile(const wchar_t* path, int* failedLine)
{
    const CString file = path ? path : L"";
    if (failedLine) *failedLine = 0;
    if (!m_pBreakChain) {
        tkx_SetLastError(kNoChain);
        return 0;
    }
    CStdioFile in;
    if (file.IsEmpty() || !in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开竖曲线文件%s错误!", file.GetString()));
        return 0;
    }

    // The file is read into a new profile; this one changes only when the
    // whole file was read and its curves computed.
    GradeState read;
    CString message;
    int lastLine = 0;
    try {
        CString line;
        text_lines::DataLineReader lines(in);
        text_lines::FieldList fields;
        int lineNo = 0;
        int segment = 1;
        const wchar_t* f = file.GetString();
        while (lines.Next(line, lineNo)) {
            const bool first = read.stations.GetSize() == 0;
            if (fields.Divide(line) != 0 || fields.GetSize() < 2 || fields.GetSize() > 4) {
                message = ClFormat(L"竖曲线文件(%s)\n\n第%d行格式错误!\n\n<%s>", f, lineNo, line.GetString());
                break;
            }
            // Station, optionally with its segment as "_n".
            const std::wstring_view stationField = fields[0].View();
            const size_t mark = stationField.find(L'_');
            const std::wstring_view stationText = stationField.substr(0, mark);
            double station = 0.0;
            if (!text_lines::ReadNumber(stationText, station)) {
                message = ClFormat(L"竖曲线文件(%s)\n\n第%d行第1个数据%s, <桩号>错误!", f, lineNo,
                                   CString(stationText.data(), static_cast<int>(stationText.size())).GetString());
                break;
            }
            if (mark != std::wstring_view::npos) {
                const std::wstring_view segmentText = stationField.substr(mark + 1);
                double value = 0.0;
                if (!text_lines::ReadNumber(segmentText, value)) {
                    message = ClFormat(L"竖曲线文件(%s)\n\n第%d行第1个数据桩号的断链号%s, <桩号的断链号>错误!", f, lineNo,
                                       CString(segmentText.data(), static_cast<int>(segmentText.size())).GetString());
                    break;
                }
                segment = number_text::WholePart(value);
            }

            double elevation = 0.0;
            if (!ReadElevation(fields[1], elevation)) {
                message = ClFormat(L"竖曲线文件(%s)\n\n第%d行第2个数据%s, <变坡点高程>错误!", f, lineNo, fields[1].GetString());
                break;
            }

            double radius = 0.0;
            if (fields.GetSize() >= 3) {
                double value = 0.0;
                if (first) {
                    if (!text_lines::ReadNumber(fields[2], value)) {
                        message = ClFormat(L"竖曲线文件(%s)\n\n第%d行第3个数据%s, <起点桩号的断链号>错误!", f, lineNo,
                                           fields[2].GetString());
                        break;
                    }
                    segment = number_text::WholePart(value);
                } else {
                    if (!text_lines::ReadNumber(fields[2], radius)) {
                        message = ClFormat(L"竖曲线文件(%s)\n\n第%d行,第3个数据<%s>,  竖曲线半径 错误!", f, lineNo,
                                           fields[2].GetString());
                        break;
                    }
                }
            }
            if (fields.GetSize() == 4 && !first) {
                double value = 0.0;
                if (!text_lines::ReadNumber(fields[3], value)) {
                    message = ClFormat(L"竖曲线文件(%s)\n\n第%d行,第4个数据<%s>, 变坡点桩号的断链号 错误!", f, lineNo,
                                       fields[3].GetString());
                    break;
                }
                segment = number_text::WholePart(value);
            }

            double chainage = 0.0;
            if (!m_pBreakChain->GetGlobalZH(station, chainage, segment)) {
                message = ClFormat(L"竖曲线文件%s中, 第%d行,\n\n将变坡点桩号<%.3f %d>转换为整链桩号时出错!\n\n请检查桩号和断链号!", f,
                                   lineNo, station, segment);
                break;
            }
            // Stations that do not increase would give divisions by zero and
            // wrong elevations: refused here, naming the line.
            if (!first && chainage - read.stations[read.stations.GetSize() - 1] <= kSameStation) {
                message = ClFormat(L"竖曲线文件(%s)\n\n第%d行第1个数据%s, 变坡点桩号必须大于上一变坡点桩号!", f, lineNo,
                                   fields[0].GetString());
                break;
            }
            read.stations.Add(chainage);
            read.elevations.Add(elevation);
            read.rs.Add(radius);
            read.lines.push_back(lineNo);
        }
        lastLine = lineNo - 1;
        if (message.IsEmpty() && lines.Failed()) message = lines.FailureText();
        // Every message of a line names the line the reader stopped at.
        if (!message.IsEmpty() && failedLine) *failedLine = lineNo;
    } catch (CFileException* e) {
        e->Delete();
        message = ClFormat(L"打开竖曲线文件%s错误!", file.GetString());
    }
    in.Abort();

    if (message.IsEmpty() && read.stations.GetSize() < 2) {
        message = ClFormat(L"竖曲线文件(%s)\n\n读到文件末尾(第%d行), 纵断面文件数据内容不足!", file.GetString(), lastLine);
        if (failedLine) *failedLine = lastLine;
    }
    if (!message.IsEmpty()) {
        tkx_SetLastError(message);
        return 0;
    }
    GradeState before;
    SaveGrade(before);
    RestoreGrade(read);
    int badPoint = -1;
    if (ComputeCurves(badPoint)) return 1;
    // The curves' message names the grade point; the file and the line of
    // that point go in front of it.
    const CString reason = tkx_GetLastError();
    RestoreGrade(before);
    if (badPoint >= 0 && badPoint < static_cast<int>(read.lines.size())) {
        tkx_SetLastError(
            ClFormat(L"竖曲线文件(%s)\n\n第%d行: %s", file.GetString(), read.lines[badPoint], reason.GetString()));
        if (failedLine) *failedLine = read.lines[badPoint];
    } else {
        tkx_SetLastError(ClFormat(L"竖曲线文件(%s)\n\n%s", file.GetString(), reason.GetString()));
    }
    return 0;
}

int tkxZDMInfo::SaveSQXFile(const wchar_t* path) const
{
    const CString file = path ? path : L"";
    if (!m_pBreakChain) {
        tkx_SetLastError(L"未定义断链对象, 无法输出纵断面竖曲线文件!");
        return 0;
    }
    const int n = GetBPDCount();
    if (m_Rs.GetSize() != n) {
        tkx_SetLastError(L"变坡点桩号与半径数据个数不相同!");
        return 0;
    }
    if (m_BPDElevations.GetSize() != n) {
        tkx_SetLastError(L"变坡点桩号与高程数据个数不相同!");
        return 0;
    }
    if (n < 2) {
        tkx_SetLastError(L"纵断面文件数据内容不足!");
        return 0;
    }
    // A value that is no number would be written as a text that no reader
    // takes; curves that overlap would be refused on loading.
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(m_BPDZHs[i]) || !std::isfinite(m_BPDElevations[i]) || (i > 0 && !std::isfinite(m_Rs[i]))) {
            tkx_SetLastError(ClFormat(L"第%d个变坡点的桩号、高程或竖曲线半径不是有效数值!", i + 1));
            return 0;
        }
    }
    tkxZDMInfo check(*this);
    if (!check.ComputeSQX()) return 0;

    // Every line after the first carries its radius (the last one too), so
    // that a segment number always stands in the fourth field.
    CString text;
    int readSegment = 1; // the segment the reader holds: a line without one keeps it
    for (int i = 0; i < n; ++i) {
        const double chainage = m_BPDZHs[i];
        const double station = m_pBreakChain->GetBreakZH(chainage);
        const CString stationText = ClFormat(L"%f", station);
        const CString elevationText = ClFormat(L"%f", m_BPDElevations[i]);
        text.AppendFormat(L"%s %s ", stationText.GetString(), elevationText.GetString());
        if (i > 0) text.AppendFormat(L"%f ", m_Rs[i]);
        short segment = m_pBreakChain->GetBreakChainID(chainage);
        // Within 1e-8 before a break the segment number is already the ahead
        // one while the station is still the back one: write the segment the
        // station was taken from, so that the line reads back to its chainage.
        double back = 0.0;
        if (segment > 1 && (!m_pBreakChain->GetGlobalZH(station, back, segment) ||
                            std::fabs(back - chainage) > kSameStation))
            --segment;
        if (segment > 1) {
            text.AppendFormat(L"%d", static_cast<int>(segment));
            readSegment = segment;
        }
        text += L"\n";
        // A station beyond the chain or an elevation beyond any road, as
        // written, would make the file one that LoadSQXFile refuses.
        double readStation = 0.0, readElevation = 0.0;
        if (!text_lines::ReadNumber(std::wstring_view(stationText.GetString()), readStation) ||
            !m_pBreakChain->GetGlobalZH(readStation, back, readSegment) ||
            !text_lines::ReadNumber(std::wstring_view(elevationText.GetString()), readElevation) ||
            !road_files::WithinReach(readElevation)) {
            tkx_SetLastError(ClFormat(L"第%d个变坡点的桩号(%s)或高程(%s)超出范围!", i + 1, stationText.GetString(),
                                      elevationText.GetString()));
            return 0;
        }
    }
    if (file.IsEmpty() || !road_files::WriteTextFile(file, text)) {
        tkx_SetLastError(tkx_SaveFailureText(file, ClFormat(L"创建[%s]文件时出错!", file.GetString())));
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Archive form.

void tkxZDMInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const int n = GetBPDCount();
        ar << static_cast<WORD>(1);
        ar << n;
        for (int i = 0; i < n; ++i) ar << m_BPDZHs[i] << GetBPDElevation(i) << GetR(i) << CurveFlag(i);
        for (int i = 0; i < n; ++i) ar << CurveStart(i) << CurveEnd(i);
        const int ground = GetDMXCount();
        ar << ground;
        for (int i = 0; i < ground; ++i) ar << m_DMXZHs[i] << GetDMXElevation(i);
        return;
    }

    Reset();
    WORD version = 0;
    ar >> version;
    if (version != 1) return;
    int n = 0;
    ar >> n;
    for (int i = 0; i < n; ++i) {
        double station = 0.0, elevation = 0.0, radius = 0.0;
        short flag = 0;
        ar >> station >> elevation >> radius >> flag;
        m_BPDZHs.Add(station);
        m_BPDElevations.Add(elevation);
        m_Rs.Add(radius);
        m_Flags.Add(flag);
    }
    for (int i = 0; i < 2 * n; ++i) {
        double station = 0.0;
        ar >> station;
        m_TangentZHs.Add(station);
    }
    int ground = 0;
    ar >> ground;
    for (int i = 0; i < ground; ++i) {
        double station = 0.0, height = 0.0;
        ar >> station >> height;
        m_DMXZHs.Add(station);
        m_DMXHeights.Add(height);
    }
}

void tkxZDMInfo::AssertValid() const {}

void tkxZDMInfo::Dump(CDumpContext&) const {}
