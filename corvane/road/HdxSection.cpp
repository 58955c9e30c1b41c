#include "corvane/road/HdxSection.h"
#include "corvane/road/HdxRead.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LastError.h"
#include "corvane/base/LineReader.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/PolylineThin.h"
#include "corvane/road/Profile.h"
#include "corvane/road/RoadFiles.h"

#include <algorithm>
#include <cmath>
#include <string_view>

using namespace Tavix4;

namespace {

const double kPi = 3.141592653589793;

// Texts of one side in the reader's messages.
struct SideTexts {
    const wchar_t* readFailed;
    const wchar_t* oddCount;
    const wchar_t* badDistance;
    const wchar_t* notIncreasing;
    const wchar_t* badElevation;
};

const SideTexts kLeftTexts = {
    L"读断面左侧数据失败",
    L"断面左侧数据个数不匹配!",
    L"读断面左侧第%d个数据(距离%s)出错",
    L"读断面左侧第%d个数据偏宽[%s]出错, 中桩偏移距离应从小到大排列!",
    L"读断面左侧第%d个数据(高程/高差:%s)出错!",
};

const SideTexts kRightTexts = {
    L"读断面右侧数据失败!",
    L"断面右侧数据个数不匹配!",
    L"读断面右侧, 第%d个数据(距离%s)出错!",
    L"读断面右侧第%d个数据偏宽[%s]出错, 中桩偏移距离应从小到大排列!",
    L"读断面右侧, 第%d个数据(高程/高差:%s)出错!",
};

sHdxPoint MakePoint(double offset, double elevation, enWaterFlag flag)
{
    sHdxPoint p;
    p.m_fOffset = static_cast<float>(offset);
    p.m_fElevation = static_cast<float>(elevation);
    p.m_Flag = flag;
    return p;
}

} // namespace

tkxHdxSection::tkxHdxSection()
{
    m_ZHInfo.m_rRadius = 1e10;
}

tkxHdxSection::tkxHdxSection(const sZHPtInfo& point) : m_ZHInfo(point) {}

tkxHdxSection::tkxHdxSection(const tkxHdxSection& other) = default;

tkxHdxSection& tkxHdxSection::operator=(const tkxHdxSection& other)
{
    if (this == &other) return *this;
    RemoveAll();
    m_ZHInfo = other.m_ZHInfo;
    m_LeftPts = other.m_LeftPts;
    m_RightPts = other.m_RightPts;
    return *this;
}

tkxHdxSection::~tkxHdxSection() = default;

// ---------------------------------------------------------------------------
// Reading.

namespace {

// Strips a water mark from a token (any case) and tells which it was.
enWaterFlag TakeWaterMark(CString& token)
{
    token.MakeUpper();
    enWaterFlag flag = WATER_NONE;
    if (token.Find(L"[W") >= 0)
        flag = WATER_START;
    else if (token.Find(L"W]") >= 0)
        flag = WATER_END;
    else if (token.Find(L'W') >= 0)
        flag = WATER_INSIDE;
    token.Remove(L'[');
    token.Remove(L']');
    token.Remove(L'W');
    return flag;
}

// Whether a token may carry a water mark at all: most hold none of its
// characters and are read as they stand.
bool MayHoldWaterMark(const text_lines::Field& token)
{
    for (wchar_t c : token.View())
        if (c == L'W' || c == L'w' || c == L'[' || c == L']') return true;
    return false;
}

// A value of a point as stored (a float): a number within the range of
// float.
bool ReadPointValue(std::wstring_view text, double& value)
{
    return text_lines::ReadNumber(text, value) && std::isfinite(static_cast<float>(value));
}

// Reads one side line into points (the centre point first); empty message
// on success.
CString ReadSide(const CString& line, enHDXFormat format, double centre, bool left, text_lines::FieldList& tokens,
                 std::vector<sHdxPoint>& side)
{
    const SideTexts& texts = left ? kLeftTexts : kRightTexts;
    if (tokens.Divide(line) != 0) return texts.readFailed;
    if (tokens.GetSize() % 2 != 0) return texts.oddCount;

    side.clear();
    side.reserve(static_cast<size_t>(tokens.GetSize() / 2) + 1);
    side.push_back(MakePoint(0.0, centre, WATER_NONE));

    // "0 0", as the writer puts it, stands for a side without ground points,
    // in every layout.  Only that text: a written point "0.000 0.000" (in
    // ABS, ground at elevation 0 under a centre elsewhere) is a real point.
    if (tokens.GetSize() == 2 && tokens[0] == L"0" && tokens[1] == L"0") return CString();

    double o = 0.0;
    double z = centre;
    double p = 0.0;
    CString marked;
    for (INT_PTR k = 0; 2 * k < tokens.GetSize(); ++k) {
        const int number = static_cast<int>(2 * k + 1);
        const text_lines::Field distanceToken = tokens[2 * k];
        const text_lines::Field elevationToken = tokens[2 * k + 1];
        enWaterFlag flag = WATER_NONE;
        std::wstring_view distance = distanceToken.View();
        if (MayHoldWaterMark(distanceToken)) {
            marked = distanceToken.Text();
            flag = TakeWaterMark(marked);
            // A view of the stripped text itself, which lives until the
            // next marked token.
            distance = std::wstring_view(marked.GetString(), static_cast<size_t>(marked.GetLength()));
        }
        double value = 0.0;
        if (!ReadPointValue(distance, value))
            return ClFormat(texts.badDistance, number, distanceToken.GetString());
        o = format == HDX_RELATIVE ? o + value : value;
        if (!std::isfinite(static_cast<float>(o)))
            return ClFormat(texts.badDistance, number, distanceToken.GetString());
        if (p - 1e-6 > o) return ClFormat(texts.notIncreasing, number, distanceToken.GetString());
        p = o;
        if (!ReadPointValue(elevationToken.View(), value))
            return ClFormat(texts.badElevation, number, elevationToken.GetString());
        if (format == HDX_ABS)
            z = value;
        else if (format == HDX_ABS1)
            z = value + centre;
        else
            z = z + value;
        if (!std::isfinite(static_cast<float>(z)))
            return ClFormat(texts.badElevation, number, elevationToken.GetString());

        if (o <= -1e-8) continue;
        if (std::fabs(o) < 0.0001 &&
            (std::fabs(z - centre) < 0.0001 || (format == HDX_RELATIVE && std::fabs(z) < 0.0001)))
            continue;
        if (side.size() == 1 && flag == WATER_INSIDE) side[0].m_Flag = WATER_START;
        side.push_back(MakePoint(o, z, flag));
    }
    return CString();
}

} // namespace

void tkxHdxSection::CheckFlag(CString& token, enWaterFlag& flag) const
{
    flag = TakeWaterMark(token);
}

int hdx_read::ReadSection(tkxHdxSection& section, SectionReader& reader, int& line, enHDXFormat format,
                          const tkxBreakChain* chain, const tkxZDMInfo* profile, int* stationLine)
{
    if (format == HDX_ABS && !profile) {
        tkx_SetLastError(L"读取ABS格式时纵地线未定义!");
        return 0;
    }
    if (!chain) {
        tkx_SetLastError(L"横地线未指定断链对象!");
        return 0;
    }
    section.RemoveAll();

    CString& text = reader.text;
    if (!reader.lines.Next(text, line)) {
        tkx_SetLastError(reader.lines.Failed() ? reader.lines.FaultText() : CString(L"文件结束"));
        return 0;
    }
    if (stationLine) *stationLine = line;
    double station = 0.0;
    if (!chain->GetGlobalZH(text, station)) {
        tkx_SetLastError(ClFormat(L"读断面桩号失败[SText],%s", tkx_GetLastError().GetString()));
        return 0;
    }
    sZHPtInfo point = section.GetZHInfo();
    point.m_rZH = station;
    double centre = 0.0;
    if (profile) {
        centre = profile->GetDMXElevation(station);
        point.m_rZ = centre;
    }
    section.SetZHInfo(point);

    for (bool left : {true, false}) {
        const SideTexts& texts = left ? kLeftTexts : kRightTexts;
        if (!reader.lines.Next(text, line)) {
            tkx_SetLastError(reader.lines.Failed() ? reader.lines.FaultText() : CString(texts.readFailed));
            return 0;
        }
        std::vector<sHdxPoint>& side = SectionAccess::Side(section, left);
        const CString message = ReadSide(text, format, centre, left, reader.fields, side);
        if (!message.IsEmpty()) {
            side.clear();
            tkx_SetLastError(message);
            return 0;
        }
    }
    return 1;
}

int tkxHdxSection::ReadHDX(CStdioFile& file, int& line, enHDXFormat format, const tkxBreakChain* chain,
                           const tkxZDMInfo* profile)
{
    hdx_read::SectionReader reader(file);
    return hdx_read::ReadSection(*this, reader, line, format, chain, profile, nullptr);
}

CString tkxHdxSection::CheckHDXFormat(const wchar_t* path, enHDXFormat& format)
{
    const CString file = path ? path : L"";
    CStdioFile in;
    if (file.IsEmpty() || !in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite))
        return ClFormat(L"打开横地线文件失败!\n\n[%s]", file.GetString());
    CString line;
    int lineNo = 0;
    bool found = false;
    try {
        text_lines::DataLineReader lines(in);
        found = lines.Next(line, lineNo);
    } catch (CFileException* e) {
        e->Delete();
        found = false;
    }
    in.Abort();
    if (!found) return ClFormat(L"读取横地线文件失败!\n\n[%s]", file.GetString());
    line.MakeUpper();
    format = line == L"ABS" ? HDX_ABS : line == L"ABS1" ? HDX_ABS1 : HDX_RELATIVE;
    return CString();
}

// ---------------------------------------------------------------------------
// Writing.

void tkxHdxSection::AppendSide(const Side& side, enHDXFormat format, CString& text) const
{
    const double centre = m_ZHInfo.m_rZ;
    // The relative layout writes differences of the rounded values, so the
    // sums that a reader forms do not drift with the number of points.
    double previousOffset = 0.0;
    double previousElevation = road_files::Rounded3(centre);
    int items = 0;
    for (const sHdxPoint& point : side) {
        const double o = point.m_fOffset;
        const double e = point.m_fElevation;
        if (o < 0.001 && std::fabs(e - centre) < 0.001) continue;
        double ov = o;
        double ev = e;
        if (format == HDX_ABS1) {
            ev = e - centre;
        } else if (format == HDX_RELATIVE) {
            ov = road_files::Rounded3(o) - previousOffset;
            ev = road_files::Rounded3(e) - previousElevation;
            previousOffset = road_files::Rounded3(o);
            previousElevation = road_files::Rounded3(e);
        }
        const wchar_t* mark = point.m_Flag == WATER_START ? L"[W%.3f"
                              : point.m_Flag == WATER_END  ? L"W]%.3f"
                              : point.m_Flag == WATER_INSIDE ? L"W%.3f"
                                                             : L"%.3f";
        text.AppendFormat(L"%s %.3f ", ClFormat(mark, ov).GetString(), ev);
        ++items;
    }
    if (items == 0) text += L"0 0";
    text += L"\n";
}

int tkxHdxSection::ExportString(const tkxBreakChain* chain, enHDXFormat format, CString& text) const
{
    if (!chain) {
        tkx_SetLastError(L"横地线未指定断链对象!");
        return 0;
    }
    // A value that is no number would be written as a text that no reader
    // takes.
    if (!std::isfinite(m_ZHInfo.m_rZH) || !std::isfinite(m_ZHInfo.m_rZ)) {
        tkx_SetLastError(L"横地线断面的桩号或中桩高程不是有效数值!");
        return 0;
    }
    // A side whose offsets are negative or fall back could not be read again.
    for (int s : {1, 2}) {
        const Side& side = SideOf(s);
        double previous = 0.0;
        for (size_t i = 0; i < side.size(); ++i) {
            if (!std::isfinite(side[i].m_fOffset) || !std::isfinite(side[i].m_fElevation)) {
                tkx_SetLastError(ClFormat(L"横地线断面(%s)%s第%d个点的偏距或高程不是有效数值!",
                                          chain->GetStringBreakZH(m_ZHInfo.m_rZH, -1, 1).GetString(),
                                          s == 1 ? L"左侧" : L"右侧", static_cast<int>(i) + 1));
                return 0;
            }
            const double o = side[i].m_fOffset;
            if (o < -1e-6 || previous - 1e-6 > o) {
                tkx_SetLastError(ClFormat(L"横地线断面(%s)%s第%d个点偏距(%.3f)错误, 中桩偏移距离应从小到大排列!",
                                          chain->GetStringBreakZH(m_ZHInfo.m_rZH, -1, 1).GetString(),
                                          s == 1 ? L"左侧" : L"右侧", static_cast<int>(i) + 1, o));
                return 0;
            }
            previous = o;
        }
    }
    // A station beyond the chain's ends, as written, would not convert back.
    const CString station = chain->GetStringBreakZH(m_ZHInfo.m_rZH, -1, 1);
    double chainage = 0.0;
    if (!chain->GetGlobalZH(station, chainage)) {
        tkx_SetLastError(ClFormat(L"横地线断面的桩号(%s)超出范围!", station.GetString()));
        return 0;
    }
    text = station + L"\n";
    AppendSide(m_LeftPts, format, text);
    AppendSide(m_RightPts, format, text);
    return 1;
}

int tkxHdxSection::WriteHDX(const tkxBreakChain* chain, CStdioFile& file, enHDXFormat format) const
{
    CString text;
    if (!ExportString(chain, format, text)) return 0;
    file.WriteString(text);
    return 1;
}

// ---------------------------------------------------------------------------
// Points and station.

void tkxHdxSection::AddPt(double offset, double elevation, enWaterFlag flag, int side)
{
    SideOf(side).push_back(MakePoint(offset, elevation, flag));
}

int tkxHdxSection::AddPts(Side& side, std::vector<double>& offsets, std::vector<double>& elevations, double tol,
                          int mode)
{
    if (mode == 1)
        tkx_PredigestByStep(offsets, elevations, tol);
    else if (mode != 0 && tol > 1e-6)
        tkx_PredigestByRadianDiff(offsets, elevations, tol);
    const size_t n = std::min(offsets.size(), elevations.size());
    for (size_t i = 0; i < n; ++i) side.push_back(MakePoint(offsets[i], elevations[i], WATER_NONE));
    return static_cast<int>(n);
}

int tkxHdxSection::AddLeftPt(std::vector<double>& offsets, std::vector<double>& elevations, double tol, int mode)
{
    return AddPts(m_LeftPts, offsets, elevations, tol, mode);
}

int tkxHdxSection::AddRightPt(std::vector<double>& offsets, std::vector<double>& elevations, double tol, int mode)
{
    return AddPts(m_RightPts, offsets, elevations, tol, mode);
}

void tkxHdxSection::RemoveAll()
{
    RemoveAllLeftPts();
    RemoveAllRightPts();
}

void tkxHdxSection::RemoveAllLeftPts()
{
    m_LeftPts.clear();
}

void tkxHdxSection::RemoveAllRightPts()
{
    m_RightPts.clear();
}

int tkxHdxSection::GetLeftPtCount() const
{
    return static_cast<int>(m_LeftPts.size());
}

int tkxHdxSection::GetRightPtCount() const
{
    return static_cast<int>(m_RightPts.size());
}

bool tkxHdxSection::GetPt(const Side& side, int i, double* out)
{
    if (i < 0 || static_cast<size_t>(i) >= side.size() || !out) return false;
    out[0] = side[i].m_fOffset;
    out[1] = side[i].m_fElevation;
    return true;
}

int tkxHdxSection::GetLeftPt(int i, double* out) const
{
    return GetPt(m_LeftPts, i, out) ? 1 : 0;
}

int tkxHdxSection::GetRightPt(int i, double* out) const
{
    return GetPt(m_RightPts, i, out) ? 1 : 0;
}

int tkxHdxSection::GetLeftPt(int i, tkxPoint3d& p, enWaterFlag& flag) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_LeftPts.size()) return 0;
    p.Set(m_LeftPts[i].m_fOffset, m_LeftPts[i].m_fElevation, 0.0);
    flag = m_LeftPts[i].m_Flag;
    return 1;
}

int tkxHdxSection::GetRightPt(int i, tkxPoint3d& p, enWaterFlag& flag) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_RightPts.size()) return 0;
    p.Set(m_RightPts[i].m_fOffset, m_RightPts[i].m_fElevation, 0.0);
    flag = m_RightPts[i].m_Flag;
    return 1;
}

int tkxHdxSection::GetAllLeftPts(CArray<sHdxPoint, sHdxPoint>& out) const
{
    out.RemoveAll();
    for (const sHdxPoint& p : m_LeftPts) out.Add(p);
    return static_cast<int>(out.GetSize());
}

int tkxHdxSection::GetAllRightPts(CArray<sHdxPoint, sHdxPoint>& out) const
{
    out.RemoveAll();
    for (const sHdxPoint& p : m_RightPts) out.Add(p);
    return static_cast<int>(out.GetSize());
}

tkxPoint3dArray tkxHdxSection::GetAllLeftPts() const
{
    tkxPoint3dArray pts;
    for (const sHdxPoint& p : m_LeftPts) pts.Add(tkxPoint3d(p.m_fOffset, p.m_fElevation, 0.0));
    return pts;
}

tkxPoint3dArray tkxHdxSection::GetAllRightPts() const
{
    tkxPoint3dArray pts;
    for (const sHdxPoint& p : m_RightPts) pts.Add(tkxPoint3d(p.m_fOffset, p.m_fElevation, 0.0));
    return pts;
}

int tkxHdxSection::GetAll(const Side& side, std::vector<double>& offsets, std::vector<double>& elevations,
                          std::vector<short>* flags)
{
    offsets.clear();
    elevations.clear();
    if (flags) flags->clear();
    for (const sHdxPoint& p : side) {
        offsets.push_back(p.m_fOffset);
        elevations.push_back(p.m_fElevation);
        if (flags) flags->push_back(static_cast<short>(p.m_Flag));
    }
    return static_cast<int>(side.size());
}

int tkxHdxSection::GetAllLeftPts(std::vector<double>& offsets, std::vector<double>& elevations) const
{
    return GetAll(m_LeftPts, offsets, elevations, nullptr);
}

int tkxHdxSection::GetAllRightPts(std::vector<double>& offsets, std::vector<double>& elevations) const
{
    return GetAll(m_RightPts, offsets, elevations, nullptr);
}

int tkxHdxSection::GetAllLeftPts(std::vector<double>& offsets, std::vector<double>& elevations,
                                 std::vector<short>& flags) const
{
    return GetAll(m_LeftPts, offsets, elevations, &flags);
}

int tkxHdxSection::GetAllRightPts(std::vector<double>& offsets, std::vector<double>& elevations,
                                  std::vector<short>& flags) const
{
    return GetAll(m_RightPts, offsets, elevations, &flags);
}

void tkxHdxSection::SetZHPt(double* const xyz)
{
    if (!xyz) return;
    m_ZHInfo.m_rX = xyz[0];
    m_ZHInfo.m_rY = xyz[1];
    m_ZHInfo.m_rZ = xyz[2];
}

void tkxHdxSection::GetAllData(sZHPtInfo& point, std::vector<double>& leftX, std::vector<double>& leftY,
                               std::vector<double>& leftZ, std::vector<double>& rightX, std::vector<double>& rightY,
                               std::vector<double>& rightZ) const
{
    point = m_ZHInfo;
    leftX.clear();
    leftY.clear();
    leftZ.clear();
    rightX.clear();
    rightY.clear();
    rightZ.clear();
    const double base[3] = {m_ZHInfo.m_rX, m_ZHInfo.m_rY, m_ZHInfo.m_rZ};
    const double a = m_ZHInfo.m_rAzimuth;
    double xyz[3];
    for (const sHdxPoint& p : m_LeftPts) {
        PolarPoint(base, kPi - a, p.m_fOffset, xyz);
        leftX.push_back(xyz[0]);
        leftY.push_back(xyz[1]);
        leftZ.push_back(p.m_fElevation);
    }
    for (const sHdxPoint& p : m_RightPts) {
        PolarPoint(base, -a, p.m_fOffset, xyz);
        rightX.push_back(xyz[0]);
        rightY.push_back(xyz[1]);
        rightZ.push_back(p.m_fElevation);
    }
}

// ---------------------------------------------------------------------------
// Questions asked of the ground line.

double tkxHdxSection::GetElevation(double offset, int extrapolate) const
{
    const double centre = m_ZHInfo.m_rZ;
    if (std::fabs(offset) < 1e-6) return centre;
    const Side& side = offset > 0 ? m_RightPts : m_LeftPts;
    const double x = std::fabs(offset);
    double c = 0.0;
    double a = centre;
    for (const sHdxPoint& p : side) {
        const double d = p.m_fOffset;
        const double e = p.m_fElevation;
        if (d >= x - 0.0001) {
            if (std::fabs(c - d) < 1e-6) return (a + e) / 2.0;
            return a + (e - a) * (x - c) / (d - c);
        }
        c = d;
        a = e;
    }
    if (side.empty()) return centre;
    const double d1 = side.back().m_fOffset;
    const double e1 = side.back().m_fElevation;
    if (!extrapolate) return e1;
    const double d0 = side.size() > 1 ? side[side.size() - 2].m_fOffset : 0.0;
    const double e0 = side.size() > 1 ? side[side.size() - 2].m_fElevation : centre;
    if (std::fabs(d1 - d0) < 1e-6) return e1;
    return e1 + (e1 - e0) * (x - d1) / (d1 - d0);
}

double tkxHdxSection::GetMinElevation() const
{
    double lowest = 1e99;
    for (const Side* side : {&m_LeftPts, &m_RightPts})
        for (const sHdxPoint& p : *side) lowest = std::min<double>(lowest, p.m_fElevation);
    return lowest;
}

double tkxHdxSection::GetMaxElevation() const
{
    double highest = -1e99;
    for (const Side* side : {&m_LeftPts, &m_RightPts})
        for (const sHdxPoint& p : *side) highest = std::max<double>(highest, p.m_fElevation);
    return highest;
}

void tkxHdxSection::ExtendSide(Side& side, double width, int mode) const
{
    const double centre = m_ZHInfo.m_rZ;
    if (side.empty()) {
        side.push_back(MakePoint(width, centre, WATER_NONE));
        return;
    }
    const double d1 = side.back().m_fOffset;
    const double e1 = side.back().m_fElevation;
    const double d0 = side.size() > 1 ? side[side.size() - 2].m_fOffset : 0.0;
    const double e0 = side.size() > 1 ? side[side.size() - 2].m_fElevation : centre;
    if (width - 0.001 > d1) {
        double e = e1;
        if (mode == 1 && d1 - d0 >= 0.00001) e = e1 + (width - d1) * (e1 - e0) / (d1 - d0);
        side.push_back(MakePoint(width, e, side.back().m_Flag));
        return;
    }
    if (d1 > width + 0.001) {
        Side kept;
        for (const sHdxPoint& p : side) {
            if (p.m_fOffset < width - 0.001) {
                kept.push_back(p);
                continue;
            }
            if (!kept.empty()) {
                const sHdxPoint& q = kept.back();
                const double span = p.m_fOffset - q.m_fOffset;
                const double e = std::fabs(span) < 1e-12
                                     ? p.m_fElevation
                                     : q.m_fElevation + (p.m_fElevation - q.m_fElevation) * (width - q.m_fOffset) / span;
                kept.push_back(MakePoint(width, e, p.m_Flag));
            }
            break;
        }
        side.swap(kept);
    }
}

int tkxHdxSection::Extend(double leftWidth, double rightWidth, int mode)
{
    if (mode != 0 && mode != 1) return 0;
    ExtendSide(m_LeftPts, leftWidth, mode);
    ExtendSide(m_RightPts, rightWidth, mode);
    return 1;
}

bool tkxHdxSection::intersectWith(bool left, tkxPoint3d a, tkxPoint3d b, tkxPoint3d& out, bool extend) const
{
    if (extend) b = a.Polar(a.Angle2d(b), 1e8);
    const double pa[3] = {a.x, a.y, 0.0};
    const double pb[3] = {b.x, b.y, 0.0};
    double previous[3] = {0.0, m_ZHInfo.m_rZ, 0.0};
    for (const sHdxPoint& p : left ? m_LeftPts : m_RightPts) {
        const double point[3] = {left ? -static_cast<double>(p.m_fOffset) : p.m_fOffset, p.m_fElevation, 0.0};
        if (PointDistance2d(previous, point) >= 1e-6) {
            double hit[3] = {0.0, 0.0, 0.0};
            if (IntersectLines2d(previous, point, pa, pb, hit, 0)) {
                out.Set(hit[0], hit[1], hit[2]);
                return true;
            }
        }
        previous[0] = point[0];
        previous[1] = point[1];
    }
    return false;
}

bool tkxHdxSection::polarByHeight(tkxPoint3d base, double n, double h, bool left, bool extend, tkxPoint3d& out) const
{
    double theta = 0.0;
    if (std::fabs(n) < 1e-6)
        theta = n <= -1e-10 ? kPi / 2.0 : 3.0 * kPi / 2.0;
    else if (n > 1000.0)
        theta = kPi;
    else if (n < -1000.0)
        theta = 0.0;
    else
        theta = left ? kPi + std::atan(1.0 / n) : -std::atan(1.0 / n);

    const bool level = std::fabs(theta) < 1e-6 || std::fabs(theta - kPi) < 1e-6;
    const tkxPoint3d farPoint = level ? base.Polar(left ? theta : theta + kPi, h)
                                 : base.Polar(theta, h * std::sqrt(n * n + 1.0));
    out = farPoint;
    return intersectWith(left, base, farPoint, out, extend);
}

bool tkxHdxSection::polarByDistance(tkxPoint3d base, double g, double d, bool left, bool extend,
                                    tkxPoint3d& out) const
{
    const tkxPoint3d farPoint(left ? base.x - d : base.x + d, base.y - d * g, base.z);
    out = farPoint;
    return intersectWith(left, base, farPoint, out, extend);
}

int tkxHdxSection::GetWaterCount(int side) const
{
    int count = 0;
    for (const sHdxPoint& p : SideOf(side))
        if (p.m_Flag == WATER_START) ++count;
    return count;
}

int tkxHdxSection::GetWaterAt(int side, int k, tkxPoint3dArray& pts) const
{
    pts.RemoveAll();
    int seen = -1;
    bool collecting = false;
    for (const sHdxPoint& p : SideOf(side)) {
        if (!collecting && p.m_Flag == WATER_START && ++seen == k) collecting = true;
        if (!collecting) continue;
        if (p.m_Flag == WATER_NONE) break;
        pts.Add(tkxPoint3d(p.m_fOffset, p.m_fElevation, 0.0));
    }
    return pts.GetCount();
}

int tkxHdxSection::SetPtWaterFlag(int side, int i, enWaterFlag flag)
{
    Side& points = SideOf(side);
    if (i < 0 || static_cast<size_t>(i) >= points.size()) return 0;
    points[i].m_Flag = flag;
    return 1;
}
