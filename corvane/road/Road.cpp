#include "corvane/road/Road.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/base/LastError.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/CurveFunctions.h"
#include "corvane/road/JDFile.h"
#include "corvane/road/LineArcUnits.h"
#include "corvane/road/RoadFiles.h"
#include "corvane/road/UnitFile.h"

#include <cmath>

using namespace Tavix4;

IMPLEMENT_SERIAL(tkxRoadObject, CObject, 300)

namespace {

tkxRoadPMUnit* UnitAt(const CPtrList& units, POSITION pos) { return static_cast<tkxRoadPMUnit*>(units.GetAt(pos)); }

// A copy of a unit of the same kind; null for a kind the road does not know.
tkxRoadPMUnit* CopyOfUnit(const tkxRoadPMUnit* unit)
{
    if (!unit) return nullptr;
    if (unit->IsKindOf(RUNTIME_CLASS(tkxLineUnit))) {
        auto* copy = new tkxLineUnit;
        *copy = *static_cast<const tkxLineUnit*>(unit);
        return copy;
    }
    if (unit->IsKindOf(RUNTIME_CLASS(tkxArcUnit))) {
        auto* copy = new tkxArcUnit;
        *copy = *static_cast<const tkxArcUnit*>(unit);
        return copy;
    }
    if (unit->IsKindOf(RUNTIME_CLASS(tkxClothoidUnit))) {
        auto* copy = new tkxClothoidUnit;
        *copy = *static_cast<const tkxClothoidUnit*>(unit);
        return copy;
    }
    return nullptr;
}

double LeastRadius(const tkxRoadPMUnit* unit) { return std::min(unit->StartR(), unit->EndR()); }

// Linear interpolation in a table of descending speeds, the speed clamped
// into the table's range.
double BySpeed(const double* speeds, const double* values, int n, double speed)
{
    if (speed > speeds[0] - 0.001) speed = speeds[0];
    if (speed < speeds[n - 1] + 0.001) speed = speeds[n - 1];
    for (int i = 0; i + 1 < n; ++i) {
        if (speed < speeds[i] + 0.001 && speed > speeds[i + 1] - 0.001)
            return (speed - speeds[i + 1]) / (speeds[i] - speeds[i + 1]) * (values[i] - values[i + 1]) + values[i + 1];
    }
    return values[n - 1];
}

} // namespace

tkxRoadObject::tkxRoadObject()
    : m_SName(L"未命名道路"), m_rSpeed(80.0), m_RoadLevel(ROAD_EXPRESSWAY), m_PlaneUnits(10)
{
    Wire();
}

tkxRoadObject::tkxRoadObject(const tkxRoadObject& other)
    : CObject(), m_rSpeed(other.m_rSpeed), m_RoadLevel(other.m_RoadLevel), m_PlaneUnits(10)
{
    CopyFrom(other);
}

tkxRoadObject::~tkxRoadObject()
{
    RemovePlaneUnits();
    m_Structures.RemoveAll();
}

tkxRoadObject& tkxRoadObject::operator=(const tkxRoadObject& other)
{
    if (this != &other) CopyFrom(other);
    return *this;
}

void tkxRoadObject::Wire()
{
    m_ZDMInfo.SetBreakChain(&m_BreakChain);
    m_HDMTerrain.SetBreakChain(&m_BreakChain);
    m_HDMTerrain.SetZDMInfo(&m_ZDMInfo);
    m_HDMTerrain.SetPlaneUnits(&m_PlaneUnits);
}

void tkxRoadObject::CopyFrom(const tkxRoadObject& other)
{
    m_SName = other.m_SName;
    m_rSpeed = other.m_rSpeed;
    m_RoadLevel = other.m_RoadLevel;
    RemovePlaneUnits();
    for (POSITION pos = other.m_PlaneUnits.GetHeadPosition(); pos;) {
        tkxRoadPMUnit* copy = CopyOfUnit(static_cast<const tkxRoadPMUnit*>(other.m_PlaneUnits.GetNext(pos)));
        if (copy) m_PlaneUnits.AddTail(copy);
    }
    m_BreakChain = other.m_BreakChain;
    m_ZDMInfo = other.m_ZDMInfo;
    m_HDMTerrain = other.m_HDMTerrain;
    m_Structures.Copy(other.m_Structures);
    Wire();
}

void tkxRoadObject::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_SName << static_cast<int>(m_RoadLevel) << m_rSpeed;
    } else {
        // What is stored is read back.
        int level = 0;
        ar >> m_SName >> level >> m_rSpeed;
        m_RoadLevel = static_cast<enRoadLevel>(level);
    }
    m_BreakChain.Serialize(ar);
}

void tkxRoadObject::AssertValid() const {}
void tkxRoadObject::Dump(CDumpContext&) const {}

// ---------------------------------------------------------------------------
// Parts

CString tkxRoadObject::GetName() const { return m_SName; }
void tkxRoadObject::SetName(const wchar_t* name) { m_SName = name ? name : L""; }
double tkxRoadObject::GetSpeed() const { return m_rSpeed; }
void tkxRoadObject::SetSpeed(double speed) { m_rSpeed = speed; }
enRoadLevel tkxRoadObject::GetRoadLevel() const { return m_RoadLevel; }
void tkxRoadObject::SetRoadLevel(enRoadLevel level) { m_RoadLevel = level; }
int tkxRoadObject::GetPlaneUnitCount() const { return static_cast<int>(m_PlaneUnits.GetCount()); }
int tkxRoadObject::GetBPDCount() const { return m_ZDMInfo.GetBPDCount(); }
tkxZDMInfo* tkxRoadObject::GetZDMInfo() { return &m_ZDMInfo; }
const tkxZDMInfo* tkxRoadObject::ZDMInfo() const { return &m_ZDMInfo; }
tkxHDMTerrain* tkxRoadObject::GetHDMTerrain() { return &m_HDMTerrain; }
const tkxHDMTerrain* tkxRoadObject::HDMTerrain() const { return &m_HDMTerrain; }
const tkxBreakChain* tkxRoadObject::BreakChain() const { return &m_BreakChain; }

tkxRoadPMUnit* tkxRoadObject::GetPMUnit(int i) const
{
    const POSITION pos = m_PlaneUnits.FindIndex(i);
    return pos ? UnitAt(m_PlaneUnits, pos) : nullptr;
}

void tkxRoadObject::AppendPlaneUnit(tkxRoadPMUnit* unit)
{
    if (unit) m_PlaneUnits.AddTail(unit);
}

void tkxRoadObject::RemovePlaneUnits()
{
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos;)
        delete static_cast<tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos));
    m_PlaneUnits.RemoveAll();
}

// ---------------------------------------------------------------------------
// Files

int tkxRoadObject::LoadDLFile(const wchar_t* path)
{
    if (!path || !*path) {
        m_BreakChain.Reset();
        return 1;
    }
    if (m_BreakChain.LoadDLFile(path)) return 1;
    // The chain's own message names the line and the field: it stays.
    tkx_SetLastError(ClFormat(L"加载断链文件[%s]失败!\n\n%s", path, tkx_GetLastError().GetString()));
    return 0;
}

int tkxRoadObject::LoadSQXFile(const wchar_t* path) { return m_ZDMInfo.LoadSQXFile(path); }
int tkxRoadObject::LoadDMXFile(const wchar_t* path) { return m_ZDMInfo.LoadDMXFile(path); }

int tkxRoadObject::LoadHDXFile(const wchar_t* path, int place)
{
    Wire();
    // Without units the sections could not be placed: the load is refused
    // and the sections held now stay.  The file is still read, so that one
    // that cannot be read reports itself.
    if (place && m_PlaneUnits.IsEmpty()) {
        tkxHDMTerrain probe(&m_BreakChain);
        probe.SetZDMInfo(&m_ZDMInfo);
        if (!probe.LoadHDXFile(path)) return 0;
        tkx_SetLastError(L"加载横地线文件前, 未定义平面线路.");
        return 0;
    }
    if (!m_HDMTerrain.LoadHDXFile(path)) return 0;
    if (!place) return 1;

    // Sections come in station order: the unit holding each is found by
    // walking the list once.
    CPtrList off;
    POSITION unitPos = m_PlaneUnits.GetHeadPosition();
    POSITION pos = nullptr;
    for (tkxHdxSection* section = m_HDMTerrain.GetNextHDXSection(pos, 1); section;
         section = m_HDMTerrain.GetNextHDXSection(pos, 0)) {
        sZHPtInfo info = section->GetZHInfo();
        const double station = info.m_rZH;
        while (unitPos && UnitAt(m_PlaneUnits, unitPos)->EndZH() + 0.001 <= station) m_PlaneUnits.GetNext(unitPos);
        sZHPtInfo point;
        const tkxRoadPMUnit* unit = unitPos ? UnitAt(m_PlaneUnits, unitPos) : nullptr;
        if (!unit || station < StartZH() - 0.001 || !unit->GetPoint(station - unit->StartZH(), point)) {
            off.AddTail(section);
            continue;
        }
        info.m_rZH = point.m_rZH;
        info.m_rAzimuth = point.m_rAzimuth;
        info.m_rRadius = point.m_rRadius;
        info.m_rX = point.m_rX;
        info.m_rY = point.m_rY;
        section->SetZHInfo(info);
    }
    m_HDMTerrain.RemoveSections(off);
    return 1;
}

int tkxRoadObject::LoadGZXFile(const wchar_t* path) { return tkx_ReadQHFile(path, m_BreakChain, m_Structures); }

int tkxRoadObject::SaveJDFile(const wchar_t* path, const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves)
{
    const CString file = path ? path : L"";
    const CString problem = jd_file::CheckWritable(curves);
    if (!problem.IsEmpty()) {
        tkx_SetLastError(ClFormat(L"%s 无法创建%s文件!", problem.GetString(), file.GetString()));
        return 0;
    }
    if (file.IsEmpty() || !road_files::WriteTextFile(file, jd_file::FileText(curves))) {
        tkx_SetLastError(tkx_SaveFailureText(file, ClFormat(L"创建%s文件失败!", file.GetString())));
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Break chain

int tkxRoadObject::ImportBreakChain(const wchar_t* text) { return m_BreakChain.GetDLFromString(text); }

int tkxRoadObject::ImportBreakChain(const tkxBreakChain& chain)
{
    m_BreakChain = chain;
    return 1;
}

tkxBreakChain tkxRoadObject::ExportBreakChain() const { return m_BreakChain; }
CString tkxRoadObject::GetBreakChainString() const { return m_BreakChain.OutputToSText(); }

CString tkxRoadObject::ZHToCString(double station, short decimals, int suffix) const
{
    return m_BreakChain.ZHToCString(station, decimals, suffix);
}

CString tkxRoadObject::GetStringBreakZH(double station, short decimals, int suffix) const
{
    return m_BreakChain.GetStringBreakZH(station, decimals, suffix);
}

int tkxRoadObject::GetGlobalZH(const wchar_t* text, double& station) const
{
    return m_BreakChain.GetGlobalZH(text, station);
}

// ---------------------------------------------------------------------------
// Alignment

double tkxRoadObject::StartZH() const
{
    return m_PlaneUnits.IsEmpty() ? -1e99 : static_cast<tkxRoadPMUnit*>(m_PlaneUnits.GetHead())->StartZH();
}

double tkxRoadObject::EndZH() const
{
    return m_PlaneUnits.IsEmpty() ? -1e99 : static_cast<tkxRoadPMUnit*>(m_PlaneUnits.GetTail())->EndZH();
}

CString tkxRoadObject::StartZHString() const { return m_BreakChain.GetStringBreakZH(StartZH(), -1, 1); }
CString tkxRoadObject::EndZHString() const { return m_BreakChain.GetStringBreakZH(EndZH(), -1, 1); }

sZHPtInfo tkxRoadObject::StartZHInfo() const
{
    return m_PlaneUnits.IsEmpty() ? sZHPtInfo() : static_cast<tkxRoadPMUnit*>(m_PlaneUnits.GetHead())->StartPtInfo();
}

sZHPtInfo tkxRoadObject::EndZHInfo() const
{
    return m_PlaneUnits.IsEmpty() ? sZHPtInfo() : static_cast<tkxRoadPMUnit*>(m_PlaneUnits.GetTail())->EndPtInfo();
}

int tkxRoadObject::GetPointOnUnits(double station, sZHPtInfo& out) const
{
    return GetPointOnUnits(&m_PlaneUnits, station, out);
}

int tkxRoadObject::GetPointOnUnits(const CPtrList* units, double station, sZHPtInfo& out)
{
    if (!units || units->IsEmpty()) return 0;
    // Before the first unit there is no alignment (a spiral would otherwise
    // run on backwards).
    const auto* first = static_cast<const tkxRoadPMUnit*>(units->GetHead());
    if (!first || station < first->StartZH() - 0.001) return 0;
    for (POSITION pos = units->GetHeadPosition(); pos;) {
        const auto* unit = static_cast<const tkxRoadPMUnit*>(units->GetNext(pos));
        if (unit && unit->EndZH() + 0.001 > station) return unit->GetPoint(station - unit->StartZH(), out);
    }
    return 0;
}

int tkxRoadObject::GetRadius(double station, double& radius) const
{
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos;) {
        const tkxRoadPMUnit* unit = static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos));
        if (unit->StartZH() - 0.001 < station && station < unit->EndZH() + 0.001) {
            radius = unit->GetR(station - unit->StartZH());
            return 1;
        }
    }
    return 0;
}

enDir tkxRoadObject::TurnDir(double station) const
{
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos;) {
        const tkxRoadPMUnit* unit = static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos));
        if (unit->EndZH() + 0.001 > station) return unit->TurnDir();
    }
    return DIR_NONE;
}

int tkxRoadObject::GetUnitIndexByZH(double station) const
{
    int i = 0;
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos; ++i) {
        const tkxRoadPMUnit* unit = static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos));
        if (unit->EndZH() + 0.001 > station) return i;
    }
    return -1;
}

int tkxRoadObject::GetClosetPoint(const double* point, sZHPtInfo& out) const
{
    return GetClosetPoint(&m_PlaneUnits, point, out);
}

int tkxRoadObject::GetClosetPoint(const CPtrList* units, const double* point, sZHPtInfo& out)
{
    if (!units || units->IsEmpty() || !point) return 0;
    double best = 0.0;
    bool found = false;
    sZHPtInfo nearest;
    for (POSITION pos = units->GetHeadPosition(); pos;) {
        const auto* unit = static_cast<const tkxRoadPMUnit*>(units->GetNext(pos));
        if (!unit) return 0;
        sZHPtInfo candidate;
        unit->GetNearestPoint(point, candidate);
        const double d = std::hypot(candidate.m_rX - point[0], candidate.m_rY - point[1]);
        if (!found || d < best) {
            best = d;
            nearest = candidate;
            found = true;
        }
    }
    out = nearest;
    return 1;
}

enDir tkxRoadObject::GetLeftRight(const double* point) const { return GetLeftRight(&m_PlaneUnits, point); }

enDir tkxRoadObject::GetLeftRight(const CPtrList* units, const double* point)
{
    if (!units || units->IsEmpty() || !point) return DIR_NONE;
    const tkxRoadPMUnit* nearestUnit = nullptr;
    double best = 0.0;
    for (POSITION pos = units->GetHeadPosition(); pos;) {
        const auto* unit = static_cast<const tkxRoadPMUnit*>(units->GetNext(pos));
        if (!unit) continue;
        sZHPtInfo candidate;
        unit->GetNearestPoint(point, candidate);
        const double d = std::hypot(candidate.m_rX - point[0], candidate.m_rY - point[1]);
        if (!nearestUnit || d < best) {
            best = d;
            nearestUnit = unit;
        }
    }
    return nearestUnit ? nearestUnit->GetLeftRight(point) : DIR_NONE;
}

// ---------------------------------------------------------------------------
// Profile

double tkxRoadObject::GetDesignElevation(double station) const
{
    double elevation = 0.0;
    return m_ZDMInfo.GetElevation(station, elevation) ? elevation : -1e99;
}

int tkxRoadObject::GetDesignSlope(double station, double& grade) const
{
    const int n = m_ZDMInfo.GetBPDCount();
    if (n < 1) return 0;
    if (station < m_ZDMInfo.GetBPDZH(0) - 1e-6 || station > m_ZDMInfo.GetBPDZH(n - 1) + 1e-6) return 0;
    grade = m_ZDMInfo.GetLPPD(station);
    return 1;
}

int tkxRoadObject::GetTangentSlope(double station, double& grade) const { return m_ZDMInfo.GetPD(station, grade); }
double tkxRoadObject::GetDMXElevation(double station) const { return m_ZDMInfo.GetDMXElevation(station); }
int tkxRoadObject::GetDMXCount() const { return m_ZDMInfo.GetDMXCount(); }
int tkxRoadObject::GetDMXZHArray(CArray<double, double>& out) const { return m_ZDMInfo.GetDMXZHArray(out); }

int tkxRoadObject::GetDMXElevationArray(CArray<double, double>& out) const
{
    return m_ZDMInfo.GetDMXElevationArray(out);
}

// ---------------------------------------------------------------------------
// Cross-sections

int tkxRoadObject::GetHDXSectionCount() const { return m_HDMTerrain.GetHDXSectionCount(); }
int tkxRoadObject::GetAllSectionZHs(CArray<double, double>& out) const { return m_HDMTerrain.GetAllSectionZHs(out); }

int tkxRoadObject::GetAllSectionZHInfos(CArray<sZHPtInfo, sZHPtInfo>& out) const
{
    return m_HDMTerrain.GetAllSectionZHInfos(out);
}

int tkxRoadObject::ExtendHDX(double leftWidth, double rightWidth, int mode)
{
    return m_HDMTerrain.ExtendHDX(leftWidth, rightWidth, mode);
}

CString tkxRoadObject::GetHDXInfo(int i) const
{
    if (i < 0 || i >= m_HDMTerrain.GetHDXSectionCount()) return L"序号越界";
    const tkxHdxSection* section = m_HDMTerrain.GetHDXSection(i);
    if (!section) return L"断面指针为空";
    return ClFormat(L"道路:%s, 断面桩号:%s, \n地面线左侧点数:%d, 右侧点数:%d", m_SName.GetString(),
                    m_BreakChain.ZHToCString(section->GetZHInfo().m_rZH, -1, 1).GetString(),
                    section->GetLeftPtCount(), section->GetRightPtCount());
}

// ---------------------------------------------------------------------------
// Structures

int tkxRoadObject::GetGZWInfos(CArray<sQHInfo, sQHInfo>& out) const
{
    out.Copy(m_Structures);
    return static_cast<int>(out.GetSize());
}

void tkxRoadObject::SetGZWInfos(const CArray<sQHInfo, sQHInfo>& records) { m_Structures.Copy(records); }

// ---------------------------------------------------------------------------
// Import and export

void tkxRoadObject::ImportZDMInfo(const tkxZDMInfo& profile)
{
    m_ZDMInfo = profile;
    Wire();
}

void tkxRoadObject::ImportHDMTerrain(const tkxHDMTerrain& terrain)
{
    m_HDMTerrain = terrain;
    Wire();
}

int tkxRoadObject::ImportPlaneUnits(const CArray<sUnitInfo, sUnitInfo>* units)
{
    if (!units) {
        tkx_SetLastError(L"捕获异常[tkxRoadObject::ImportPlaneUnits]: 输入单元信息为空!");
        return 0;
    }
    RemovePlaneUnits();
    for (int i = 0; i < units->GetSize(); ++i) {
        const sUnitInfo& u = (*units)[i];
        const double length = u.m_EndPt.m_rZH - u.m_StartPt.m_rZH;
        if (u.m_iUnitType == UNIT_LINE) {
            auto* line = new tkxLineUnit;
            line->SetUnitInfo(u.m_StartPt, u.m_EndPt);
            m_PlaneUnits.AddTail(line);
        } else if (u.m_iUnitType == UNIT_ARC) {
            auto* arc = new tkxArcUnit;
            if (!arc->SetUnitInfo(u.m_StartPt, length, static_cast<enDir>(u.m_iTurn))) {
                delete arc;
                tkx_SetLastError(ClFormat(L"导入第%d个单元,圆曲线失败!", i + 1));
                return 0;
            }
            m_PlaneUnits.AddTail(arc);
        } else {
            auto* clothoid = new tkxClothoidUnit;
            if (clothoid->SetUnitInfo(u.m_StartPt, u.m_EndPt.m_rRadius, length, static_cast<enDir>(u.m_iTurn)) != 1) {
                delete clothoid;
                tkx_SetLastError(ClFormat(L"导入第%d个单元,缓和曲线失败!", i + 1));
                return 0;
            }
            m_PlaneUnits.AddTail(clothoid);
        }
    }
    return 1;
}

void tkxRoadObject::ExportPlaneUnits(CArray<sUnitInfo, sUnitInfo>& out) const
{
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos;)
        out.Add(static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos))->GetUnitInfo());
}

int tkxRoadObject::ExportPlaneCurves(CArray<tkxPlaneCurve3, tkxPlaneCurve3>& out) const
{
    CArray<sUnitInfo, sUnitInfo> units;
    ExportPlaneUnits(units);
    return tkx_UnitsToPlaneCurves(units, out);
}

void tkxRoadObject::ExportPlaneSegments(CArray<sPlaneUnitInfo, sPlaneUnitInfo>* out) const
{
    if (!out) return;
    bool open = false;
    sPlaneUnitInfo segment;
    double segmentRadius = 0.0;
    for (POSITION pos = m_PlaneUnits.GetHeadPosition(); pos;) {
        const auto* unit = static_cast<const tkxRoadPMUnit*>(m_PlaneUnits.GetNext(pos));
        if (unit->IsKindOf(RUNTIME_CLASS(tkxLineUnit))) {
            if (open) out->Add(segment);
            open = false;
            sPlaneUnitInfo straight;
            straight.m_rStartZH = unit->StartZH();
            straight.m_rEndZH = unit->EndZH();
            straight.m_rRadius = 1e8;
            straight.m_iTurn = DIR_NONE;
            out->Add(straight);
            continue;
        }
        const double least = LeastRadius(unit);
        if (open && unit->TurnDir() == segment.m_iTurn && std::fabs(least - segmentRadius) < 1e-6) {
            segment.m_rEndZH = unit->EndZH();
            segment.m_rRadius = least;
            continue;
        }
        if (open) out->Add(segment);
        open = true;
        segment.m_rStartZH = unit->StartZH();
        segment.m_rEndZH = unit->EndZH();
        segment.m_rRadius = least;
        segment.m_iTurn = unit->TurnDir();
        segmentRadius = least;
    }
    if (open) out->Add(segment);
}

void tkxRoadObject::ExportPofileSegments(CArray<sProfileSegmentInfo, sProfileSegmentInfo>* out) const
{
    if (!out) return;
    const int n = m_ZDMInfo.GetBPDCount();
    for (int i = 1; i < n; ++i) {
        sProfileSegmentInfo s;
        s.m_rStartZH = m_ZDMInfo.GetBPDZH(i - 1);
        s.m_rEndZH = m_ZDMInfo.GetBPDZH(i);
        s.m_rGrade = m_ZDMInfo.GetLPPD((s.m_rStartZH + s.m_rEndZH) / 2.0);
        out->Add(s);
    }
}

// ---------------------------------------------------------------------------
// Tables

CString tkxRoadObject::GetRoadLevelName(enRoadLevel level)
{
    static const wchar_t* const kNames[] = {L"高速公路",   L"互通立交匝道", L"一级公路",   L"二级公路",
                                            L"三级公路",   L"四级公路",     L"等外公路",   L"城市快速路",
                                            L"城市主干道", L"城市次干道",   L"城市支路"};
    const int i = static_cast<int>(level);
    return i >= 0 && i <= 10 ? CString(kNames[i]) : CString(L"其他道路");
}

double tkxRoadObject::GetRampStdWidth(enRoadLevel level, double speed, int singleLane)
{
    if (static_cast<int>(level) <= 5) return speed > 39.999999 ? 3.75 : 3.5;
    if (speed > 79.999999) return 3.75;
    if (speed > 39.999999) return 3.5;
    if (speed > 29.999999) return 3.25;
    return singleLane == 1 ? 3.5 : 3.0;
}

int tkxRoadObject::GetSSDistance1(double speed, double& distance)
{
    static const double kSpeeds[] = {120, 100, 80, 60, 40, 30, 20};
    static const double kDistances[] = {210, 160, 110, 75, 40, 30, 20};
    distance = BySpeed(kSpeeds, kDistances, 7, speed);
    return 1;
}

int tkxRoadObject::GetSSDistance2(double speed, double grade, double& distance)
{
    static const double kSpeeds[] = {120, 100, 80, 60, 40, 30, 20};
    static const double kGrades[] = {0, 3, 4, 5, 6, 7, 8, 9};
    static const double kTable[8][7] = {
        {245, 180, 125, 85, 50, 35, 20},  {265, 190, 130, 89, 50, 35, 20}, {273, 195, 132, 91, 50, 35, 20},
        {281, 200, 136, 93, 50, 35, 20},  {291, 207, 139, 95, 50, 35, 20}, {301, 214, 144, 97, 50, 35, 20},
        {313, 224, 149, 99, 50, 35, 20},  {325, 234, 156, 102, 50, 35, 20}};
    double g = std::fabs(grade);
    if (g > 9.0 - 1e-6) g = 9.0;
    if (g < 1e-6) g = 0.0;
    for (int j = 0; j + 1 < 8; ++j) {
        if (g > kGrades[j] - 1e-6 && g < kGrades[j + 1] + 0.001) {
            const double a = BySpeed(kSpeeds, kTable[j], 7, speed);
            const double b = BySpeed(kSpeeds, kTable[j + 1], 7, speed);
            distance = a + (g - kGrades[j]) / (kGrades[j + 1] - kGrades[j]) * (b - a);
            return 1;
        }
    }
    distance = BySpeed(kSpeeds, kTable[7], 7, speed);
    return 1;
}

int tkxRoadObject::GetSSDistance3(double speed, double& general, double& minimum)
{
    static const double kSpeeds[] = {80, 60, 40, 30, 20};
    static const double kGeneral[] = {550, 350, 200, 150, 100};
    static const double kMinimum[] = {350, 250, 150, 100, 70};
    general = BySpeed(kSpeeds, kGeneral, 5, speed);
    minimum = BySpeed(kSpeeds, kMinimum, 5, speed);
    return 1;
}
