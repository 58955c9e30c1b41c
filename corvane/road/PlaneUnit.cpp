#include "corvane/road/PlaneUnit.h"
#include "corvane/base/FixedSizePool.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/StationText.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/CurveFunctions.h"
#include "corvane/road/LineArcUnits.h"

#include <cmath>

using namespace Tavix4;
using alignment::kInfiniteRadius;
using alignment::kPi;

// ---------------------------------------------------------------------------
// Plan helpers

namespace alignment {

void MoveAlong(const double* p, double azimuth, double d, double* out)
{
    const double x = p[0] + d * std::sin(azimuth);
    const double y = p[1] + d * std::cos(azimuth);
    out[2] = p[2];
    out[0] = x;
    out[1] = y;
}

Heading::Heading(double a) : angle(a), sine(std::sin(a)), cosine(std::cos(a)) {}

void PointOf(const sZHPtInfo& record, double* out)
{
    out[0] = record.m_rX;
    out[1] = record.m_rY;
    out[2] = record.m_rZ;
}

double WrapAngle(double angle)
{
    double a = std::fmod(angle, 2.0 * kPi);
    if (a <= -kPi) a += 2.0 * kPi;
    if (a > kPi) a -= 2.0 * kPi;
    return a;
}

double SweptAngle(double from, double to, int turn)
{
    const double d = turn == DIR_LEFT ? from - to : to - from;
    return NormalizeAngle(d);
}

} // namespace alignment

// ---------------------------------------------------------------------------
// tkxRoadPMUnit

IMPLEMENT_DYNAMIC(tkxRoadPMUnit, CObject)

namespace {

// An alignment is read unit by unit into fresh memory: the pools prepare
// their next block ahead.
FixedSizePool g_lineUnits(sizeof(tkxLineUnit), true);
FixedSizePool g_arcUnits(sizeof(tkxArcUnit), true);
FixedSizePool g_clothoidUnits(sizeof(tkxClothoidUnit), true);
FixedSizePool* const g_unitPools[] = {&g_lineUnits, &g_arcUnits, &g_clothoidUnits};

// The pool of a unit class by the size of its objects; null for a size of
// no unit class of the library.
FixedSizePool* UnitPool(size_t size)
{
    for (FixedSizePool* pool : g_unitPools)
        if (pool->Holds(size)) return pool;
    return nullptr;
}

} // namespace

void alignment::CloseUnitPools()
{
    for (FixedSizePool* pool : g_unitPools) pool->Close();
}

void* tkxRoadPMUnit::operator new(size_t size)
{
    FixedSizePool* pool = UnitPool(size);
    return pool ? pool->Take() : ::operator new(size);
}

void tkxRoadPMUnit::operator delete(void* unit, size_t size)
{
    if (FixedSizePool* pool = UnitPool(size))
        pool->Give(unit);
    else
        ::operator delete(unit);
}

tkxRoadPMUnit::tkxRoadPMUnit()
    : m_iUnitType(UNIT_LINE), m_iTurn(DIR_NONE), m_StartRefPt{0.0, 0.0, 0.0}, m_EndRefPt{0.0, 0.0, 0.0},
      m_rLength(0.0), m_rBeta(0.0), m_iStartMutation(0)
{
    m_StartPt.m_rRadius = kInfiniteRadius;
    m_EndPt.m_rRadius = kInfiniteRadius;
}

tkxRoadPMUnit::tkxRoadPMUnit(const tkxRoadPMUnit& other) : CObject(), m_rBeta(other.m_rBeta)
{
    CopyBase(other);
}

tkxRoadPMUnit::~tkxRoadPMUnit() = default;

void tkxRoadPMUnit::CopyBase(const tkxRoadPMUnit& other)
{
    m_iUnitType = other.m_iUnitType;
    m_iTurn = other.m_iTurn;
    m_StartPt = other.m_StartPt;
    m_EndPt = other.m_EndPt;
    for (int i = 0; i < 3; ++i) {
        m_StartRefPt[i] = other.m_StartRefPt[i];
        m_EndRefPt[i] = other.m_EndRefPt[i];
    }
    m_rLength = other.m_rLength;
    m_iStartMutation = other.m_iStartMutation;
}

int tkxRoadPMUnit::operator=(const tkxRoadPMUnit& other)
{
    if (this != &other) CopyBase(other);
    return 1;
}

namespace {

void StorePoint(CArchive& ar, const sZHPtInfo& p)
{
    ar << p.m_rZH << p.m_rAzimuth << p.m_rRadius << p.m_rX << p.m_rY << p.m_rZ << p.m_SName;
}

void LoadPoint(CArchive& ar, alignment::UnitRecord& record)
{
    sZHPtInfo p;
    ar >> p.m_rZH >> p.m_rAzimuth >> p.m_rRadius >> p.m_rX >> p.m_rY >> p.m_rZ >> p.m_SName;
    record = p;
}

int ArchivedTurn(int turn) { return turn == 1 ? 1 : turn == -1 ? -1 : 0; }

} // namespace

void tkxRoadPMUnit::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int>(m_iUnitType) << ArchivedTurn(m_iTurn);
        StorePoint(ar, m_StartPt);
        StorePoint(ar, m_EndPt);
        ar << m_rLength;
    } else {
        int turn = 0;
        ar >> m_iUnitType >> turn;
        m_iTurn = ArchivedTurn(turn);
        LoadPoint(ar, m_StartPt);
        LoadPoint(ar, m_EndPt);
        ar >> m_rLength;
    }
}

void tkxRoadPMUnit::AssertValid() const {}
void tkxRoadPMUnit::Dump(CDumpContext&) const {}

void tkxRoadPMUnit::Reset()
{
    m_iUnitType = UNIT_LINE;
    m_iStartMutation = 0;
    m_StartPt = sZHPtInfo();
    m_StartPt.m_rRadius = 0.0;
    m_EndPt = m_StartPt;
    m_iTurn = DIR_NONE;
    m_rLength = 0.0;
    for (int i = 0; i < 3; ++i) m_StartRefPt[i] = m_EndRefPt[i] = 0.0;
}

short tkxRoadPMUnit::GetUnitColor() const
{
    switch (m_iUnitType) {
    case UNIT_LINE: return 4;
    case UNIT_ARC: return 2;
    case UNIT_CLOTHOID_IN:
    case UNIT_CLOTHOID_DEC: return 1;
    case UNIT_CLOTHOID_OUT:
    case UNIT_CLOTHOID_INC: return 6;
    default: return 7;
    }
}

double tkxRoadPMUnit::StartAzimuth() const { return m_StartPt.m_rAzimuth; }
double tkxRoadPMUnit::EndAzimuth() const { return m_EndPt.m_rAzimuth; }
double tkxRoadPMUnit::StartR() const { return m_StartPt.m_rRadius; }
double tkxRoadPMUnit::EndR() const { return m_EndPt.m_rRadius; }
double tkxRoadPMUnit::StartZH() const { return m_StartPt.m_rZH; }
double tkxRoadPMUnit::EndZH() const { return m_EndPt.m_rZH; }
double tkxRoadPMUnit::GetLength() const { return m_rLength; }
enDir tkxRoadPMUnit::TurnDir() const { return static_cast<enDir>(m_iTurn); }

sUnitInfo tkxRoadPMUnit::GetUnitInfo() const
{
    sUnitInfo info;
    info.m_iUnitType = UNIT_LINE;
    info.m_iTurn = m_iTurn;
    info.m_StartPt = m_StartPt;
    info.m_EndPt = m_EndPt;
    const double r1 = m_StartPt.m_rRadius;
    const double r2 = m_EndPt.m_rRadius;
    if (r1 > 1e6 && r2 > 1e6) {
        info.m_iUnitType = UNIT_LINE;
    } else if (std::fabs(r1 - r2) < 1e-6) {
        info.m_iUnitType = UNIT_ARC;
    } else {
        tkxUnitType type = UNIT_LINE;
        if (tkxClothoidUnit::ComputeType(r1, r2, type)) info.m_iUnitType = type;
    }
    return info;
}

int tkxRoadPMUnit::StartPTMutation() const { return m_iStartMutation; }

void tkxRoadPMUnit::SetStartPtInfo(const sZHPtInfo& point) { m_StartPt = point; }

void tkxRoadPMUnit::SetStartZH(double z)
{
    m_StartPt.m_rZH = z;
    m_EndPt.m_rZH = z + GetLength();
}

int tkxRoadPMUnit::SetLength(double L, int update)
{
    m_rLength = L;
    if (update == 1) {
        UpdateEndPtInfo();
        return GetOtherData();
    }
    return 1;
}

int tkxRoadPMUnit::GetOtherData() { return 0; }
int tkxRoadPMUnit::UpdateEndPtInfo() { return 0; }
int tkxRoadPMUnit::Inverse() { return 0; }
int tkxRoadPMUnit::Scale(double) { return 0; }

int tkxRoadPMUnit::Move(const double* d)
{
    m_StartPt.m_rX += d[0];
    m_StartPt.m_rY += d[1];
    m_EndPt.m_rX += d[0];
    m_EndPt.m_rY += d[1];
    return 1;
}

int tkxRoadPMUnit::MoveTo(const double* p)
{
    const double dx = p[0] - m_StartPt.m_rX;
    const double dy = p[1] - m_StartPt.m_rY;
    m_StartPt.m_rX = p[0];
    m_StartPt.m_rY = p[1];
    m_StartPt.m_rZ = 0.0;
    m_EndPt.m_rX += dx;
    m_EndPt.m_rY += dy;
    return 1;
}

int tkxRoadPMUnit::RotateTo(double a)
{
    m_StartPt.m_rAzimuth = a;
    return GetOtherData();
}

int tkxRoadPMUnit::SetTurn(enDir dir, int update)
{
    if (m_iUnitType == UNIT_LINE ? dir != DIR_NONE : dir == DIR_NONE) return 0;
    m_iTurn = dir;
    return update == 1 ? GetOtherData() : 1;
}

double tkxRoadPMUnit::Length() const { return GetLength(); }
double tkxRoadPMUnit::GetBeta() const { return m_rBeta; }

CString tkxRoadPMUnit::ListPoints() const
{
    auto number = [](double v) { return tkx_DToS(v, 3, -1); };
    auto angle = [](double a) { return tkx_DegreeD_To_S(a * 180.0 / kPi); };
    const sZHPtInfo& s = m_StartPt;
    const sZHPtInfo& e = m_EndPt;
    return ClFormat(L"起点信息：\n桩号:%s, 方位角:%s, 半径:%s\n坐标:X=%s, Y=%s, Z=%s\n"
                    L"终点信息：\n桩号:%s, 方位角:%s, 半径:%s\n坐标:X=%s, Y=%s, Z=%s",
                    number(s.m_rZH).GetString(), angle(s.m_rAzimuth).GetString(), number(s.m_rRadius).GetString(),
                    number(s.m_rX).GetString(), number(s.m_rY).GetString(), number(s.m_rZ).GetString(),
                    number(e.m_rZH).GetString(), angle(e.m_rAzimuth).GetString(), number(e.m_rRadius).GetString(),
                    number(e.m_rX).GetString(), number(e.m_rY).GetString(), number(e.m_rZ).GetString());
}

CString tkxRoadPMUnit::List() const { return ListPoints(); }

int tkxRoadPMUnit::GetMidPoint(double*) const { return 0; }
enDir tkxRoadPMUnit::GetLeftRight(const double*) const { return DIR_NONE; }
void tkxRoadPMUnit::GetNearestPoint(const double*, sZHPtInfo& out) const { out = m_StartPt; }
int tkxRoadPMUnit::GetPoint(double, sZHPtInfo&) const { return 0; }
double tkxRoadPMUnit::GetR(double) const { return kInfiniteRadius; }
sZHPtInfo tkxRoadPMUnit::StartPtInfo() const { return m_StartPt; }
sZHPtInfo tkxRoadPMUnit::EndPtInfo() const { return m_EndPt; }

sZHPtInfo tkxRoadPMUnit::MidPtInfo() const
{
    sZHPtInfo mid;
    GetPoint(GetLength() / 2.0, mid);
    return mid;
}

void tkxRoadPMUnit::StartRefPt(double* out) const
{
    for (int i = 0; i < 3; ++i) out[i] = m_StartRefPt[i];
}

void tkxRoadPMUnit::EndRefPt(double* out) const
{
    for (int i = 0; i < 3; ++i) out[i] = m_EndRefPt[i];
}

unsigned short tkxRoadPMUnit::DefaultColor() const
{
    return DefaultColor(static_cast<tkxUnitType>(m_iUnitType));
}

unsigned short tkxRoadPMUnit::DefaultColor(tkxUnitType type)
{
    const sTavixEntColor& colors = TavixAppInfo().m_EntColor;
    switch (type) {
    case UNIT_ARC: return static_cast<unsigned short>(colors.iArc);
    case UNIT_CLOTHOID_IN:
    case UNIT_CLOTHOID_DEC: return static_cast<unsigned short>(colors.iClothoid1);
    case UNIT_CLOTHOID_OUT:
    case UNIT_CLOTHOID_INC: return static_cast<unsigned short>(colors.iClothoid2);
    default: return static_cast<unsigned short>(colors.iLine);
    }
}

// ---------------------------------------------------------------------------
// The unit joining two station points

tkxRoadPMUnit* tkx_CreateRoadPMUnit(const sZHPtInfo& a, const sZHPtInfo& b)
{
    const double pa[3] = {a.m_rX, a.m_rY, a.m_rZ};
    const double pb[3] = {b.m_rX, b.m_rY, b.m_rZ};
    const enDir side = GetPointSideOfRay(pa, kPi / 2.0 - a.m_rAzimuth, pb);

    sUnitInfo info;
    info.m_iUnitType = UNIT_LINE;
    info.m_iTurn = side;
    info.m_StartPt = a;
    info.m_EndPt = b;
    const tkxUnitType type = tkx_TestUnitType(info);

    if (type == UNIT_LINE) {
        auto* line = new tkxLineUnit;
        line->SetUnitInfo(a, b);
        return line;
    }
    if (type == UNIT_ARC) {
        const int turn = side == DIR_LEFT ? DIR_LEFT : DIR_RIGHT;
        double centre[3];
        PolarPoint(pa, (kPi / 2.0 - a.m_rAzimuth) + turn * kPi / 2.0, a.m_rRadius, centre);
        // The azimuth sweep along the turn, so that an arc crossing north
        // keeps its true length.
        const double length = alignment::SweptAngle(a.m_rAzimuth, b.m_rAzimuth, turn) * std::fabs(a.m_rRadius);
        auto* arc = new tkxArcUnit;
        arc->SetUnitInfo(a, b, centre, length, turn);
        return arc;
    }
    auto* clothoid = new tkxClothoidUnit;
    if (clothoid->SetUnitInfo(a, b.m_rRadius, b.m_rZH - a.m_rZH, side) != 1) {
        delete clothoid;
        return nullptr;
    }
    return clothoid;
}
