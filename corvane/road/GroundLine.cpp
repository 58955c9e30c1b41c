// The longitudinal ground line of tkxZDMInfo and its file (.DMX).
#include "corvane/geometry/Numeric.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/base/NumberText.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/ArrayStorage.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "corvane/road/RoadFiles.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>
#include <string_view>

namespace {

constexpr double kOutside = -999.0;
constexpr double kSamePoint = 1e-8;
constexpr double kSameStation = 1e-6;

// A ground height field: a number within reach.
bool ReadGroundHeight(const text_lines::Field& field, double& value)
{
    return text_lines::ReadNumber(field, value) && road_files::WithinReach(value);
}

// Whether a line of the ground-line file, as written, reads back: the
// station (with "_n" when it is not in the first segment; a line without one
// keeps the segment of the line before, as on reading) converts to a
// chainage, and the height is a number within reach.
bool GroundLineReadsBack(const tkxBreakChain& chain, const CString& stationText, const CString& heightText,
                         int& segment)
{
    const std::wstring_view text(stationText.GetString(), static_cast<size_t>(stationText.GetLength()));
    const size_t mark = text.find(L'_');
    double station = 0.0, height = 0.0, chainage = 0.0;
    if (!text_lines::ReadNumber(text.substr(0, mark), station)) return false;
    if (mark != std::wstring_view::npos) {
        double value = 0.0;
        if (!text_lines::ReadNumber(text.substr(mark + 1), value)) return false;
        segment = number_text::WholePart(value);
    }
    const std::wstring_view heightView(heightText.GetString(), static_cast<size_t>(heightText.GetLength()));
    return chain.GetGlobalZH(station, chainage, segment) && text_lines::ReadNumber(heightView, height) &&
           road_files::WithinReach(height);
}

} // namespace

bool tkxZDMInfo::GroundArraysAgree() const
{
    return m_DMXZHs.GetSize() == m_DMXHeights.GetSize();
}

int tkxZDMInfo::GetDMXCount() const
{
    return static_cast<int>(m_DMXZHs.GetSize());
}

double tkxZDMInfo::GetDMXZH(int i) const
{
    return i >= 0 && i < m_DMXZHs.GetSize() ? m_DMXZHs[i] : kOutside;
}

double tkxZDMInfo::GetDMXElevation(int i) const
{
    return i >= 0 && i < m_DMXHeights.GetSize() ? m_DMXHeights[i] : kOutside;
}

double tkxZDMInfo::GetDMXElevation(double x) const
{
    const int n = GetDMXCount();
    if (n == 0 || !GroundArraysAgree()) return 0.0;
    const double* st = m_DMXZHs.GetData();
    const double* h = m_DMXHeights.GetData();
    if (x < st[0] || std::fabs(x - st[0]) < kSamePoint) return h[0];
    if (x > st[n - 1] || std::fabs(x - st[n - 1]) < kSamePoint) return h[n - 1];

    // The first point i with station[i] <= x (within 1e-8) < station[i+1]
    // (by more than 1e-8).  Points before the first station not below
    // x - 1e-7 cannot qualify, so the search starts there.
    int i = static_cast<int>(std::lower_bound(st, st + n, x - 1e-7) - st) - 1;
    if (i < 0) i = 0;
    for (; i < n - 1; ++i) {
        const bool atOrAfter = st[i] < x || std::fabs(x - st[i]) < kSamePoint;
        if (atOrAfter && x < st[i + 1] && std::fabs(x - st[i + 1]) > kSamePoint)
            return h[i] + (h[i + 1] - h[i]) * (x - st[i]) / (st[i + 1] - st[i]);
    }
    return h[n - 1];
}

int tkxZDMInfo::FindDMXIndex(double x) const
{
    const int n = GetDMXCount();
    if (n < 2) return -1;
    if (x < m_DMXZHs[0] - kSameStation) return 0;
    if (x > m_DMXZHs[n - 1] + kSameStation) return n - 1;
    int lo = 0;
    int hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (std::fabs(x - m_DMXZHs[mid]) < kSameStation) return mid;
        if (x < m_DMXZHs[mid])
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

int tkxZDMInfo::GetDMXZHArray(CArray<double, double>& out) const
{
    out.Copy(m_DMXZHs);
    return static_cast<int>(out.GetSize());
}

int tkxZDMInfo::GetDMXElevationArray(CArray<double, double>& out) const
{
    out.Copy(m_DMXHeights);
    return static_cast<int>(out.GetSize());
}

void tkxZDMInfo::SetDMXZHs(const CArray<double, double>& values)
{
    m_DMXZHs.Copy(values);
}

void tkxZDMInfo::SetDMXHeights(const CArray<double, double>& values)
{
    m_DMXHeights.Copy(values);
}

void tkxZDMInfo::ImportDMX(const tkxZDMInfo& other)
{
    if (this == &other) return;
    ResetDMX();
    m_DMXZHs.Copy(other.m_DMXZHs);
    m_DMXHeights.Copy(other.m_DMXHeights);
}

void tkxZDMInfo::ResetDMX()
{
    m_DMXZHs.RemoveAll();
    m_DMXHeights.RemoveAll();
}

void tkxZDMInfo::PreProcessDMX() {}

void tkxZDMInfo::AddDMHeight(double station, double height)
{
    m_DMXZHs.Add(station);
    m_DMXHeights.Add(height);
}

int tkxZDMInfo::SetDMXData(int i, double station, double height)
{
    const int n = GetDMXCount();
    if (i < 0 || i >= n || i >= m_DMXHeights.GetSize()) return 0;
    if (i > 0 && station < m_DMXZHs[i - 1] - kSamePoint) return 0;
    if (i < n - 1 && station > m_DMXZHs[i + 1] + kSamePoint) return 0;
    m_DMXZHs[i] = station;
    m_DMXHeights[i] = height;
    return 1;
}

short tkxZDMInfo::SetDMXData(double station, double height)
{
    const int n = GetDMXCount();
    if (n == 0 || station < m_DMXZHs[0] - kSameStation) {
        m_DMXZHs.InsertAt(0, station);
        m_DMXHeights.InsertAt(0, height);
        return 0;
    }
    if (station > m_DMXZHs[n - 1] + kSameStation) {
        m_DMXZHs.Add(station);
        m_DMXHeights.Add(height);
        return 1;
    }
    // The first point not before the station (within 1e-6).
    const double* st = m_DMXZHs.GetData();
    const int at = static_cast<int>(std::lower_bound(st, st + n, station - kSameStation) - st);
    if (at < n && std::fabs(st[at] - station) < kSameStation) {
        if (at < m_DMXHeights.GetSize())
            m_DMXHeights[at] = height;
        else
            m_DMXHeights.Add(height);
        return 2;
    }
    m_DMXZHs.InsertAt(at, station);
    m_DMXHeights.InsertAt(at, height);
    return 3;
}

void tkxZDMInfo::DelDMXDatas(double a, double b)
{
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    int first = -1;
    int count = 0;
    for (int i = 0; i < GetDMXCount(); ++i) {
        const double s = m_DMXZHs[i];
        if (lo + kSameStation <= s && s <= hi - kSameStation) {
            if (first < 0) first = i;
            ++count;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0) return;
    m_DMXZHs.RemoveAt(first, count);
    if (first < m_DMXHeights.GetSize())
        m_DMXHeights.RemoveAt(first, std::min<INT_PTR>(count, m_DMXHeights.GetSize() - first));
}

void tkxZDMInfo::AutoDMXSort()
{
    const int n = GetDMXCount();
    if (!GroundArraysAgree()) return;
    CArray<tkxPoint2d, tkxPoint2d> points;
    points.SetSize(n);
    for (int i = 0; i < n; ++i) points[i].Set(m_DMXZHs[i], m_DMXHeights[i]);
    tkx_PointsPibubUp(points, true);
    for (int i = 0; i < n; ++i) {
        m_DMXZHs[i] = points[i].x;
        m_DMXHeights[i] = points[i].y;
    }
}

int tkxZDMInfo::ReadLineDMXData(const wchar_t* line, double& station, double& height, int& segment) const
{
    text_lines::FieldList fields;
    if (!line || fields.Divide(line, std::wcslen(line)) < 0 || fields.GetSize() < 2) return 0;
    // No "_" suffix here: the segment is the third field.
    double readStation = 0.0, readHeight = 0.0, readSegment = 0.0;
    if (!text_lines::ReadNumber(fields[0], readStation) || !ReadGroundHeight(fields[1], readHeight)) return 0;
    if (fields.GetSize() > 2 && !text_lines::ReadNumber(fields[2], readSegment)) return 0;
    station = readStation;
    height = readHeight;
    if (fields.GetSize() > 2) segment = number_text::WholePart(readSegment);
    return 1;
}

// ---------------------------------------------------------------------------
// The ground-line file.

// The file is read into a new ground line, taken over only when the whole
// file was read: a bad line leaves the points as they were.
int tkxZDMInfo::LoadDMXFile(const wchar_t* path, int* failedLine)
{
    tkxZDMInfo read(m_pBreakChain);
    if (!read.ReadDMXFile(path, failedLine)) return 0;
    array_storage::Exchange(m_DMXZHs, read.m_DMXZHs);
    array_storage::Exchange(m_DMXHeights, read.m_DMXHeights);
    return 1;
}

int tkxZDMInfo::ReadDMXFile(const wchar_t* path, int* failedLine)
{
    const CString file = path ? path : L"";
    if (failedLine) *failedLine = 0;
    if (!m_pBreakChain) {
        tkx_SetLastError(L"未定义道路断链对象错误!");
        return 0;
    }
    ResetDMX();
    CFile in;
    if (file.IsEmpty() || !in.Open(file, CFile::modeRead | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开<%s>文件时出错!", file.GetString()));
        return 0;
    }

    const wchar_t* f = file.GetString();
    CString message;
    try {
        CArchive ar(&in, CArchive::load, text_lines::kArchiveBufferBytes);
        CString line;
        text_lines::DataLineReader lines(ar);
        text_lines::FieldList fields;
        std::wstring first;
        int lineNo = 0;
        int segment = 1;
        while (message.IsEmpty() && lines.Next(line, lineNo)) {
            if (fields.Divide(line) != 0) {
                message = ClFormat(L"地面线文件(%s)\n\n读第%d行时出错", f, lineNo);
                break;
            }
            const int count = static_cast<int>(fields.GetSize());
            if (count < 2 || count > 3) {
                message = ClFormat(L"地面线文件(%s)\n\n读第%d行数据个数<%d>不符\n\n每行必须为2个或3个数据!", f, lineNo, count);
                break;
            }
            // The station with its segment: "station_n", or the segment as a
            // third field.
            first.assign(fields[0].View());
            if (count == 3) first.append(L"_").append(fields[2].View());
            const size_t mark = first.find(L'_');
            const std::wstring_view stationText = std::wstring_view(first).substr(0, mark);
            double station = 0.0;
            if (!text_lines::ReadNumber(stationText, station)) {
                message = ClFormat(L"读地面线文件(%s)\n\n第%d行第1个数据%s, <桩号>错误!", f, lineNo, first.c_str());
                break;
            }
            if (mark != std::wstring::npos) {
                double value = 0.0;
                if (!text_lines::ReadNumber(std::wstring_view(first).substr(mark + 1), value)) {
                    message = ClFormat(L"读地面线文件(%s)\n\n第%d行第1个数据桩号的断链号%s, <桩号的断链号>错误!", f, lineNo,
                                       first.c_str());
                    break;
                }
                segment = number_text::WholePart(value);
            }
            double chainage = 0.0;
            if (!m_pBreakChain->GetGlobalZH(station, chainage, segment)) {
                message = ClFormat(L"读地面线文件%s第%d行, 桩号<%.5f_%d>转为整链时出错!", f, lineNo, station, segment);
                break;
            }
            double height = 0.0;
            if (!ReadGroundHeight(fields[1], height)) {
                message = ClFormat(L"读地面线文件%s第%d行, 地面高(%s)数据错误!", f, lineNo, fields[1].GetString());
                break;
            }
            const int n = GetDMXCount();
            if (n > 0 && chainage + kSameStation < m_DMXZHs[n - 1]) {
                message = ClFormat(L"读地面线文件%s第%d行, 违反了桩号[%s]递增规则!!", f, lineNo, first.c_str());
                break;
            }
            m_DMXZHs.Add(chainage);
            m_DMXHeights.Add(height);
        }
        if (message.IsEmpty() && lines.Failed()) message = lines.FailureText();
        // Every message of a line names the line the reader stopped at.
        if (!message.IsEmpty() && failedLine) *failedLine = lineNo;
        ar.Abort();
    } catch (CException* e) {
        e->Delete();
        if (message.IsEmpty()) message = ClFormat(L"打开<%s>文件时出错!", f);
    }
    in.Abort();
    if (!message.IsEmpty()) {
        tkx_SetLastError(message);
        return 0;
    }
    return 1;
}

int tkxZDMInfo::SaveDMXFile(const wchar_t* path) const
{
    const CString file = path ? path : L"";
    CString text;
    if (!ExportDMXString(text)) return 0;
    if (file.IsEmpty() || !road_files::WriteTextFile(file, text)) {
        tkx_SetLastError(tkx_SaveFailureText(file, ClFormat(L"创建地面线文件失败[%s]!", file.GetString())));
        return 0;
    }
    return 1;
}

int tkxZDMInfo::ExportDMXString(CString& text) const
{
    if (!m_pBreakChain) {
        tkx_SetLastError(L"未定义断链对象, 无法输出纵断面地面线文件!");
        return 0;
    }
    if (!GroundArraysAgree()) {
        tkx_SetLastError(L"纵断面地面线桩号与地面高数据个数不相同!");
        return 0;
    }
    const int n = GetDMXCount();
    // A station or height that is no number would be written as a text that
    // no reader takes.
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(m_DMXZHs[i]) || !std::isfinite(m_DMXHeights[i])) {
            tkx_SetLastError(ClFormat(L"纵断面地面线第%d点的桩号或地面高不是有效数值!", i + 1));
            return 0;
        }
    }
    // Decreasing stations would write a file that LoadDMXFile refuses.
    for (int i = 1; i < n; ++i) {
        if (m_DMXZHs[i] + kSameStation < m_DMXZHs[i - 1]) {
            tkx_SetLastError(ClFormat(L"纵断面地面线第%d点桩号(%s)小于上一点桩号(%s), 违反了桩号递增规则!", i + 1,
                                      m_pBreakChain->GetStringBreakZH(m_DMXZHs[i], -1, 1).GetString(),
                                      m_pBreakChain->GetStringBreakZH(m_DMXZHs[i - 1], -1, 1).GetString()));
            return 0;
        }
    }
    const short decimals = road_files::ProjectStationDecimals();
    text.Empty();
    int segment = 1;
    for (int i = 0; i < n; ++i) {
        const CString station = m_pBreakChain->GetStringBreakZH(m_DMXZHs[i], decimals, 1);
        const CString height = ClFormat(L"%.3f", m_DMXHeights[i]);
        // A station beyond the chain or a height beyond any road, as written,
        // would make the file one that LoadDMXFile refuses.
        if (!GroundLineReadsBack(*m_pBreakChain, station, height, segment)) {
            tkx_SetLastError(ClFormat(L"纵断面地面线第%d点的桩号(%s)或地面高(%s)超出范围!", i + 1, station.GetString(),
                                      height.GetString()));
            return 0;
        }
        text.AppendFormat(L"%s %s\n", station.GetString(), height.GetString());
    }
    return 1;
}
