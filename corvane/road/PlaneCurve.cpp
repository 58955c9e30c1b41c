#include "corvane/road/PlaneCurve.h"
#include "corvane/geometry/Line3d.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LastError.h"
#include "corvane/project/StationText.h"

#include <cmath>
#include <cwchar>
#include <new>

using namespace Tavix4;
using alignment::kInfiniteRadius;
using alignment::kPi;
using alignment::MoveAlong;

namespace {

constexpr double kMaxDeflection = 3.141592643589793; // pi - 1e-8

double PlanDistance(const sZHPtInfo& a, const sZHPtInfo& b) { return std::hypot(a.m_rX - b.m_rX, a.m_rY - b.m_rY); }

// Crossing of the endless lines through a along azimuth aa and through b
// along azimuth ab; false for parallel lines.  Direction vectors keep
// near-vertical tangents exact, where slopes would not.
bool CrossTangents(const sZHPtInfo& a, double aa, const sZHPtInfo& b, double ab, double& x, double& y)
{
    const double ux = std::sin(aa), uy = std::cos(aa);
    const double vx = std::sin(ab), vy = std::cos(ab);
    const double det = ux * vy - uy * vx;
    if (std::fabs(det) < 1e-9) return false;
    const double t = ((b.m_rX - a.m_rX) * vy - (b.m_rY - a.m_rY) * vx) / det;
    x = a.m_rX + t * ux;
    y = a.m_rY + t * uy;
    return true;
}

template <class Unit> Unit* CopyUnit(const Unit* source)
{
    if (!source) return nullptr;
    Unit* copy = new Unit;
    *copy = *source;
    return copy;
}

} // namespace

IMPLEMENT_SERIAL(tkxPlaneCurve3, CObject, 1)

tkxPlaneCurve3::tkxPlaneCurve3()
    : m_iTurnDir(DIR_NONE), m_bRoadStart(false), m_pClothoid1(nullptr), m_pArc(nullptr), m_pClothoid2(nullptr)
{
}

tkxPlaneCurve3::tkxPlaneCurve3(const tkxPlaneCurve3& other)
    : CObject(), m_iTurnDir(DIR_NONE), m_bRoadStart(false), m_pClothoid1(nullptr), m_pArc(nullptr),
      m_pClothoid2(nullptr)
{
    CopyFrom(other);
}

tkxPlaneCurve3::~tkxPlaneCurve3() { DeleteUnits(); }

void tkxPlaneCurve3::DeleteUnits()
{
    delete m_pClothoid1;
    delete m_pArc;
    delete m_pClothoid2;
    m_pClothoid1 = nullptr;
    m_pArc = nullptr;
    m_pClothoid2 = nullptr;
}

void tkxPlaneCurve3::CopyFrom(const tkxPlaneCurve3& other)
{
    // Copies first, so that a failing allocation leaves this curve whole.
    tkxClothoidUnit* c1 = CopyUnit(other.m_pClothoid1);
    tkxArcUnit* arc = CopyUnit(other.m_pArc);
    tkxClothoidUnit* c2 = CopyUnit(other.m_pClothoid2);
    DeleteUnits();
    m_pClothoid1 = c1;
    m_pArc = arc;
    m_pClothoid2 = c2;
    m_TurnPt = other.m_TurnPt;
    m_iTurnDir = other.m_iTurnDir;
    m_bRoadStart = other.m_bRoadStart;
}

int tkxPlaneCurve3::operator=(const tkxPlaneCurve3& other)
{
    if (this != &other) CopyFrom(other);
    return 1;
}

void tkxPlaneCurve3::Reset() { DeleteUnits(); }

tkxRoadPMUnit* tkxPlaneCurve3::UnitAt(int i) const
{
    switch (i) {
    case 0: return m_pClothoid1;
    case 1: return m_pArc;
    case 2: return m_pClothoid2;
    default: return nullptr;
    }
}

void tkxPlaneCurve3::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_TurnPt.m_rZH << m_TurnPt.m_rAzimuth << m_TurnPt.m_rX << m_TurnPt.m_rY << m_TurnPt.m_rZ;
        ar << m_TurnPt.m_SName;
        ar << static_cast<int>(m_iTurnDir == 1 ? 1 : m_iTurnDir == -1 ? -1 : 0);
        for (int i = 0; i < 3; ++i) {
            tkxRoadPMUnit* unit = UnitAt(i);
            ar << static_cast<int>(unit ? 1 : 0);
            if (unit) unit->Serialize(ar);
        }
        return;
    }
    ar >> m_TurnPt.m_rZH >> m_TurnPt.m_rAzimuth >> m_TurnPt.m_rX >> m_TurnPt.m_rY >> m_TurnPt.m_rZ;
    ar >> m_TurnPt.m_SName;
    int turn = 0;
    ar >> turn;
    m_iTurnDir = turn == 1 ? 1 : turn == -1 ? -1 : 0;
    DeleteUnits();
    for (int i = 0; i < 3; ++i) {
        int present = 0;
        ar >> present;
        if (present != 1) continue;
        tkxRoadPMUnit* unit = nullptr;
        if (i == 1)
            unit = m_pArc = new tkxArcUnit;
        else if (i == 0)
            unit = m_pClothoid1 = new tkxClothoidUnit;
        else
            unit = m_pClothoid2 = new tkxClothoidUnit;
        unit->Serialize(ar);
        // The archive holds the defining data only: rebuild the rest.
        unit->GetOtherData();
    }
}

void tkxPlaneCurve3::AssertValid() const {}
void tkxPlaneCurve3::Dump(CDumpContext&) const {}

// ---------------------------------------------------------------------------
// Elements

sZHPtInfo tkxPlaneCurve3::TurnPtInfo() const { return m_TurnPt; }
enDir tkxPlaneCurve3::TurnDir() const { return static_cast<enDir>(m_iTurnDir); }

tkxRoadPMUnit* tkxPlaneCurve3::StartUnit() const
{
    for (int i = 0; i < 3; ++i)
        if (UnitAt(i)) return UnitAt(i);
    return nullptr;
}

tkxRoadPMUnit* tkxPlaneCurve3::EndUnit() const
{
    for (int i = 2; i >= 0; --i)
        if (UnitAt(i)) return UnitAt(i);
    return nullptr;
}

sZHPtInfo tkxPlaneCurve3::StartPtInfo() const
{
    if (const tkxRoadPMUnit* unit = StartUnit()) return unit->StartPtInfo();
    sZHPtInfo point = m_TurnPt;
    point.m_rRadius = kInfiniteRadius;
    return point;
}

sZHPtInfo tkxPlaneCurve3::EndPtInfo() const
{
    if (const tkxRoadPMUnit* unit = EndUnit()) return unit->EndPtInfo();
    sZHPtInfo point = m_TurnPt;
    point.m_rRadius = kInfiniteRadius;
    return point;
}

sZHPtInfo tkxPlaneCurve3::MidPtInfo() const
{
    sZHPtInfo point;
    GetPoint((EndZH() - StartZH()) / 2.0, point);
    return point;
}

double tkxPlaneCurve3::StartAzimuth() const { return StartPtInfo().m_rAzimuth; }
double tkxPlaneCurve3::EndAzimuth() const { return EndPtInfo().m_rAzimuth; }
double tkxPlaneCurve3::StartZH() const { return StartPtInfo().m_rZH; }
double tkxPlaneCurve3::MidZH() const { return (StartZH() + EndZH()) / 2.0; }
double tkxPlaneCurve3::EndZH() const { return EndPtInfo().m_rZH; }
double tkxPlaneCurve3::StartR() const { return m_pClothoid1 ? m_pClothoid1->StartR() : kInfiniteRadius; }
double tkxPlaneCurve3::EndR() const { return m_pClothoid2 ? m_pClothoid2->EndR() : kInfiniteRadius; }

double tkxPlaneCurve3::T1() const
{
    const tkxRoadPMUnit* unit = StartUnit();
    return unit ? PlanDistance(unit->StartPtInfo(), m_TurnPt) : 0.0;
}

double tkxPlaneCurve3::T2() const
{
    const tkxRoadPMUnit* unit = EndUnit();
    return unit ? PlanDistance(unit->EndPtInfo(), m_TurnPt) : 0.0;
}

double tkxPlaneCurve3::Length() const
{
    double length = 0.0;
    for (int i = 0; i < 3; ++i)
        if (const tkxRoadPMUnit* unit = UnitAt(i)) length += unit->GetLength();
    return length;
}

double tkxPlaneCurve3::E() const
{
    sZHPtInfo nearest;
    GetNearestPoint(tkxPoint3d(m_TurnPt.m_rX, m_TurnPt.m_rY, m_TurnPt.m_rZ), nearest);
    return PlanDistance(nearest, m_TurnPt);
}

double tkxPlaneCurve3::D() const { return T1() + T2() - Length(); }
double tkxPlaneCurve3::A1() const { return m_pClothoid1 ? m_pClothoid1->A() : 0.0; }
double tkxPlaneCurve3::Ls1() const { return m_pClothoid1 ? m_pClothoid1->GetLength() : 0.0; }
double tkxPlaneCurve3::A2() const { return m_pClothoid2 ? m_pClothoid2->A() : 0.0; }
double tkxPlaneCurve3::Ls2() const { return m_pClothoid2 ? m_pClothoid2->GetLength() : 0.0; }
double tkxPlaneCurve3::ArcLength() const { return m_pArc ? m_pArc->GetLength() : 0.0; }

double tkxPlaneCurve3::R() const
{
    if (m_pArc) return m_pArc->StartR();
    if (m_pClothoid1) return m_pClothoid1->EndR();
    if (m_pClothoid2) return m_pClothoid2->StartR();
    return 0.0;
}

tkxPoint3d tkxPlaneCurve3::ArcCenterPt() const
{
    if (m_pArc) {
        double c[3];
        m_pArc->CentrePt(c);
        return tkxPoint3d(c);
    }
    const tkxRoadPMUnit* unit = m_pClothoid1 ? static_cast<const tkxRoadPMUnit*>(m_pClothoid1) : m_pClothoid2;
    if (!unit) return tkxPoint3d(m_TurnPt.m_rX, m_TurnPt.m_rY, m_TurnPt.m_rZ);
    const sZHPtInfo p = unit == m_pClothoid1 ? unit->EndPtInfo() : unit->StartPtInfo();
    const double dir = m_iTurnDir == DIR_LEFT ? 1.0 : -1.0;
    const double base[3] = {p.m_rX, p.m_rY, p.m_rZ};
    double c[3];
    PolarPoint(base, kPi / 2.0 - p.m_rAzimuth + dir * kPi / 2.0, p.m_rRadius, c);
    return tkxPoint3d(c);
}

void tkxPlaneCurve3::GetJDInfo(sJDInfo& info) const
{
    info.m_iReserved = 0;
    info.m_SName = m_TurnPt.m_SName;
    info.m_rZH = m_TurnPt.m_rZH;
    info.m_Point = tkxPoint3d(m_TurnPt.m_rX, m_TurnPt.m_rY, 0.0);
    info.m_iTurn = m_iTurnDir;
    info.m_rAngle = m_TurnPt.m_rAzimuth;
    info.m_rStartR = m_pClothoid1 ? m_pClothoid1->StartR() : 0.0;
    info.m_rR = R();
    info.m_rEndR = m_pClothoid2 ? m_pClothoid2->EndR() : 0.0;
    info.m_rT1 = T1();
    info.m_rT2 = T2();
    info.m_rL = Length();
    info.m_rE = E();
    info.m_rLs1 = Ls1();
    info.m_rA1 = A1();
    info.m_rLs2 = Ls2();
    info.m_rA2 = A2();
    info.m_rZH_ZH = info.m_rZH_HY = StartPtInfo().m_rZH;
    info.m_rZH_YH = info.m_rZH_HZ = EndPtInfo().m_rZH;
    if (!StartUnit()) {
        info.m_nKind = 0;
        return;
    }
    info.m_nKind = 3;
    if (m_pClothoid1) {
        info.m_rA1 = m_pClothoid1->A();
        info.m_rLs1 = m_pClothoid1->GetLength();
        info.m_rZH_HY = info.m_rZH_ZH + info.m_rLs1;
    }
    if (m_pClothoid2) {
        info.m_rA2 = m_pClothoid2->A();
        info.m_rLs2 = m_pClothoid2->GetLength();
        info.m_rZH_YH = info.m_rZH_HZ - info.m_rLs2;
    }
}

void tkxPlaneCurve3::GetJDData(sJDData& data) const
{
    data.m_iType = 3;
    data.m_rX = m_TurnPt.m_rX;
    data.m_rY = m_TurnPt.m_rY;
    data.m_rZ = 0.0;
    data.m_rStartR = StartR();
    data.m_rEndR = EndR();
    data.m_rLs1 = Ls1();
    data.m_rA1 = A1();
    data.m_rR = R();
    data.m_rLs2 = Ls2();
    data.m_rA2 = A2();
    for (double& r : data.m_rReserved) r = 0.0;
}

int tkxPlaneCurve3::KeyPtInfo(enPQXKeyPt which, sZHPtInfo& out) const
{
    switch (which) {
    case PQX_ZH: out = StartPtInfo(); return 1;
    case PQX_HY:
        if (m_pClothoid1)
            out = m_pClothoid1->EndPtInfo();
        else if (m_pArc)
            out = m_pArc->StartPtInfo();
        else
            return 0;
        return 1;
    case PQX_QZ:
        if (m_pArc)
            out = m_pArc->MidPtInfo();
        else
            GetNearestPoint(tkxPoint3d(m_TurnPt.m_rX, m_TurnPt.m_rY, m_TurnPt.m_rZ), out);
        return 1;
    case PQX_YH:
        if (m_pArc)
            out = m_pArc->EndPtInfo();
        else if (m_pClothoid2)
            out = m_pClothoid2->StartPtInfo();
        else
            return 0;
        return 1;
    default: out = EndPtInfo(); return 1;
    }
}

void tkxPlaneCurve3::GetUnitInfos(CArray<sUnitInfo, sUnitInfo>& out) const
{
    for (int i = 0; i < 3; ++i)
        if (const tkxRoadPMUnit* unit = UnitAt(i)) out.Add(unit->GetUnitInfo());
}

void tkxPlaneCurve3::TooltipString(double angle, wchar_t* buffer) const
{
    if (!buffer) return;
    static const wchar_t kRule[] = L"───────────────────";
    CString text = ClFormat(L"平曲线] %s\n%s\n", m_TurnPt.m_SName.GetString(), kRule);
    CString angleText = tkx_DegreeD_To_S(std::fabs(angle) * 180.0 / kPi);
    if (angleText.GetLength() > 99) angleText = angleText.Left(99);
    text += ClFormat(L"Ls1= %.3f, R= %.3f, Ls2= %.3f\n%s\n", Ls1(), R(), Ls2(), kRule);
    if (m_iTurnDir == DIR_LEFT)
        text += ClFormat(L"左偏:%s\nL= %.3f, \nT1= %.3f T2= %.3f E= %.3f\n%s\n", angleText.GetString(), Length(), T1(),
                         T2(), E(), kRule);
    else if (m_iTurnDir == DIR_RIGHT)
        text += ClFormat(L"右偏:%s\nL= %.3f, \nT1= %.3f T2= %.3f E= %.3f\n ", angleText.GetString(), Length(), T1(),
                         T2(), E());
    else
        text += L"0d00'00\"\nL= 0.000, \nT1= 0.000 T2= 0.000 E= 0.000\n ";
    std::wcscpy(buffer, text.GetString());
}

void tkxPlaneCurve3::GetNearestPoint(tkxPoint3d p, sZHPtInfo& out) const
{
    const double q[3] = {p.x, p.y, p.z};
    double best = 1e10;
    for (int i = 0; i < 3; ++i) {
        const tkxRoadPMUnit* unit = UnitAt(i);
        if (!unit) continue;
        sZHPtInfo candidate;
        unit->GetNearestPoint(q, candidate);
        const double d = std::hypot(candidate.m_rX - p.x, candidate.m_rY - p.y);
        if (d < best) {
            best = d;
            out = candidate;
        }
    }
    if (best > 9999999999.0) out = m_TurnPt;
}

enDir tkxPlaneCurve3::GetLeftRight(const tkxPoint3d& p) const
{
    sZHPtInfo nearest;
    GetNearestPoint(p, nearest);
    const double base[2] = {nearest.m_rX, nearest.m_rY};
    const double q[2] = {p.x, p.y};
    return GetPointSideOfRay(base, kPi / 2.0 - nearest.m_rAzimuth, q);
}

int tkxPlaneCurve3::GetPoint(double distance, sZHPtInfo& out) const
{
    const double length = Length();
    if (std::fabs(distance) < 1e-4) {
        out = StartPtInfo();
        return 1;
    }
    if (std::fabs(distance - length) < 1e-4) {
        out = EndPtInfo();
        return 1;
    }
    // A distance before the curve start is refused too, not handed to a unit.
    if (distance > length + 1e-4 || distance < -1e-4) return 0;
    if (m_pClothoid1 && distance < Ls1() + 1e-4) return m_pClothoid1->GetPoint(distance, out) == 1 ? 1 : 0;
    if (m_pClothoid2 && distance > length - Ls2() - 1e-4)
        return m_pClothoid2->GetPoint(distance - Ls1() - ArcLength(), out) == 1 ? 1 : 0;
    if (m_pArc) return m_pArc->GetPoint(distance - Ls1(), out) == 1 ? 1 : 0;
    return 0;
}

// ---------------------------------------------------------------------------
// Building

void tkxPlaneCurve3::SetStartZH(double station)
{
    double z = station;
    for (int i = 0; i < 3; ++i) {
        tkxRoadPMUnit* unit = UnitAt(i);
        if (!unit) continue;
        unit->SetStartZH(z);
        z += unit->GetLength();
    }
    m_TurnPt.m_rZH = station + T1();
}

void tkxPlaneCurve3::SetJDName(const wchar_t* name) { m_TurnPt.m_SName = name ? name : L""; }

namespace {

// The slot's unit as a new unit would be; a unit already in the slot is
// reset in place, so that a curve given row after row makes no new units.
template <class Unit> Unit* RenewUnit(Unit*& slot)
{
    if (slot)
        *slot = Unit();
    else
        slot = new Unit;
    return slot;
}

template <class Unit> void DropUnit(Unit*& slot)
{
    delete slot;
    slot = nullptr;
}

// The slot's clothoid from radius R1 to R2 over length L; none for a length
// of (almost) nothing.
void SetClothoid(tkxClothoidUnit*& slot, double R1, double R2, double L)
{
    if (L <= 1e-6) {
        DropUnit(slot);
        return;
    }
    tkxClothoidUnit* clothoid = RenewUnit(slot);
    clothoid->SetStartR(R1, 0);
    clothoid->SetEndR(R2, 0);
    clothoid->SetLength(L, 0);
}

} // namespace

void tkxPlaneCurve3::SetJDInfo(const sJDInfo& info)
{
    m_TurnPt.m_rX = info.m_Point.x;
    m_TurnPt.m_rY = info.m_Point.y;
    m_TurnPt.m_rZ = info.m_Point.z;
    m_TurnPt.m_SName = info.m_SName;
    m_iTurnDir = info.m_iTurn;
    if (info.m_rR < 1e-6) {
        DeleteUnits();
        return;
    }
    SetClothoid(m_pClothoid1, info.m_rStartR, info.m_rR, info.m_rLs1);
    RenewUnit(m_pArc)->SetR(info.m_rR, 0);
    SetClothoid(m_pClothoid2, info.m_rR, info.m_rEndR, info.m_rLs2);
}

bool tkxPlaneCurve3::SetJDData(const sJDData& data)
{
    Reset();
    m_TurnPt.m_rX = data.m_rX;
    m_TurnPt.m_rY = data.m_rY;
    m_TurnPt.m_rZ = data.m_rZ;
    if (data.m_rR < 1e-6) return true;
    sJDInfo info;
    info.m_SName = m_TurnPt.m_SName;
    info.m_Point = tkxPoint3d(data.m_rX, data.m_rY, data.m_rZ);
    info.m_iTurn = m_iTurnDir;
    info.m_rStartR = data.m_rStartR;
    info.m_rLs1 = data.m_rLs1;
    info.m_rR = data.m_rR;
    info.m_rLs2 = data.m_rLs2;
    info.m_rEndR = data.m_rEndR;
    SetJDInfo(info);
    return true;
}

namespace {

template <class Unit> int AssignUnit(Unit*& slot, const Unit& unit)
{
    if (!slot) {
        try {
            slot = new Unit;
        } catch (const std::bad_alloc&) {
            return 0;
        }
    }
    *slot = unit;
    return 1;
}

} // namespace

int tkxPlaneCurve3::SetClothoid1(const tkxClothoidUnit& unit) { return AssignUnit(m_pClothoid1, unit); }
int tkxPlaneCurve3::SetArc(const tkxArcUnit& unit) { return AssignUnit(m_pArc, unit); }
int tkxPlaneCurve3::SetClothoid2(const tkxClothoidUnit& unit) { return AssignUnit(m_pClothoid2, unit); }

int tkxPlaneCurve3::GetClothoid1(tkxClothoidUnit& out) const
{
    if (!m_pClothoid1) return 0;
    out = *m_pClothoid1;
    return 1;
}

int tkxPlaneCurve3::GetClothoid2(tkxClothoidUnit& out) const
{
    if (!m_pClothoid2) return 0;
    out = *m_pClothoid2;
    return 1;
}

int tkxPlaneCurve3::GetArc(tkxArcUnit& out) const
{
    if (!m_pArc) return 0;
    out = *m_pArc;
    return 1;
}

void tkxPlaneCurve3::CreateRoadQD(sZHPtInfo point)
{
    Reset();
    m_TurnPt = point;
    m_iTurnDir = DIR_NONE;
    m_bRoadStart = true;
}

void tkxPlaneCurve3::CreateRoadZD(sZHPtInfo point)
{
    Reset();
    m_TurnPt = point;
    m_iTurnDir = DIR_NONE;
    m_bRoadStart = false;
}

void tkxPlaneCurve3::CreateNullJD(sZHPtInfo point, enDir turn)
{
    Reset();
    m_TurnPt = point;
    m_iTurnDir = turn;
    m_bRoadStart = false;
}

int tkxPlaneCurve3::SetTurnDir(enDir dir, int update)
{
    for (int i = 0; i < 3; ++i) {
        tkxRoadPMUnit* unit = UnitAt(i);
        if (unit && !unit->SetTurn(dir, update)) return 0;
    }
    return 1;
}

double tkxPlaneCurve3::ComputeJDAngle(tkxPoint3d prev, tkxPoint3d jd, tkxPoint3d next) const
{
    const tkxLine3d in(prev, jd);
    const tkxLine3d out(jd, next);
    double angle = 0.0;
    const enDir dir = in.getRoadAngle(out, angle);
    return dir == DIR_RIGHT ? -angle : angle;
}

int tkxPlaneCurve3::SetTurnAngle(const tkxPoint3d& prev, const tkxPoint3d& next)
{
    const tkxPoint3d jd(m_TurnPt.m_rX, m_TurnPt.m_rY, m_TurnPt.m_rZ);
    const double deflection = ComputeJDAngle(prev, jd, next);
    m_TurnPt.m_rAzimuth = deflection;
    m_iTurnDir = deflection > 0.0 ? DIR_LEFT : DIR_RIGHT;
    if (!StartUnit()) return 1;

    if (std::fabs(deflection) <= 1e-8) {
        DeleteUnits();
        return 1;
    }
    const enDir turn = deflection < 0.0 ? DIR_RIGHT : DIR_LEFT;
    for (int i = 0; i < 3; ++i)
        if (tkxRoadPMUnit* unit = UnitAt(i)) unit->SetTurn(turn, 1);

    const double beta1 = m_pClothoid1 ? m_pClothoid1->GetBeta() : 0.0;
    const double beta2 = m_pClothoid2 ? m_pClothoid2->GetBeta() : 0.0;
    const double arcAngle = std::fabs(deflection) - beta1 - beta2;
    if (arcAngle < -1e-6) {
        tkx_SetLastError(ClFormat(L"设置平曲线偏角失败,计算圆心角(%f)小于0,请检查设计参数!", arcAngle));
        return 0;
    }
    const double inAzimuth = prev.Azimuth2d(jd);
    StartUnit()->RotateTo(inAzimuth);
    if (m_pArc) {
        if (m_pArc->R() * arcAngle < 1e-6) {
            delete m_pArc;
            m_pArc = nullptr;
        } else {
            m_pArc->SetCenterAngle(arcAngle, 1);
        }
    }
    return RelinkUnits(prev) == 1 ? 1 : 0;
}

int tkxPlaneCurve3::RelinkUnits(tkxPoint3d prev)
{
    const sZHPtInfo kept = m_TurnPt;
    sZHPtInfo running;
    if (m_pClothoid1) {
        running = m_pClothoid1->EndPtInfo();
    } else {
        running = StartPtInfo();
        running.m_rAzimuth = prev.Azimuth2d(tkxPoint3d(kept.m_rX, kept.m_rY, 0.0));
    }
    tkxRoadPMUnit* following[2] = {m_pArc, m_pClothoid2};
    for (tkxRoadPMUnit* unit : following) {
        if (!unit) continue;
        const double to[2] = {running.m_rX, running.m_rY};
        unit->SetStartZH(running.m_rZH);
        unit->MoveTo(to);
        unit->RotateTo(running.m_rAzimuth);
        running = unit->EndPtInfo();
    }
    if (!ComputeTurnPt()) return 0;
    const double shift[2] = {kept.m_rX - m_TurnPt.m_rX, kept.m_rY - m_TurnPt.m_rY};
    for (int i = 0; i < 3; ++i) {
        tkxRoadPMUnit* unit = UnitAt(i);
        if (unit && !unit->Move(shift)) return 0;
    }
    m_TurnPt.m_rX = kept.m_rX;
    m_TurnPt.m_rY = kept.m_rY;
    m_TurnPt.m_rZ = 0.0;
    return 1;
}

int tkxPlaneCurve3::ComputeTurnPt()
{
    const tkxRoadPMUnit* first = StartUnit();
    const tkxRoadPMUnit* last = EndUnit();
    if (!first || !last) {
        tkx_SetLastError(L"未创建有效的平曲线单元!");
        return 0;
    }
    const sZHPtInfo s = first->StartPtInfo();
    const sZHPtInfo e = last->EndPtInfo();
    double x = 0.0, y = 0.0;
    if (!CrossTangents(s, s.m_rAzimuth, e, e.m_rAzimuth, x, y)) {
        tkx_SetLastError(L"计算更新交点坐标失败!");
        return 0;
    }
    m_TurnPt.m_rX = x;
    m_TurnPt.m_rY = y;
    m_TurnPt.m_rZ = 0.0;

    double a1[3], a2[3], b1[3], b2[3];
    alignment::PointOf(s, a1);
    alignment::PointOf(e, b1);
    MoveAlong(a1, s.m_rAzimuth, 100.0, a2);
    MoveAlong(b1, e.m_rAzimuth, 100.0, b2);
    const tkxLine3d line1(tkxPoint3d(a1[0], a1[1], 0.0), tkxPoint3d(a2[0], a2[1], 0.0));
    const tkxLine3d line2(tkxPoint3d(b1[0], b1[1], 0.0), tkxPoint3d(b2[0], b2[1], 0.0));
    double deflection = 0.0;
    const enDir dir = line1.getRoadAngle(line2, deflection);
    m_iTurnDir = dir;
    m_TurnPt.m_rAzimuth = deflection;
    if (dir == DIR_NONE || std::fabs(deflection) < 1e-8 || deflection > kMaxDeflection) {
        tkx_SetLastError(L"计算交点转角和转向失败!");
        return 0;
    }
    if (dir == DIR_RIGHT) m_TurnPt.m_rAzimuth = -std::fabs(deflection);
    m_TurnPt.m_rZH = StartZH() + T1();
    return 1;
}

int tkxPlaneCurve3::ComputeDefaultTByRadius(double R, double& T) const
{
    const double a = std::fabs(m_TurnPt.m_rAzimuth);
    const double Ls = R * a / 2.0;
    const double A = R * std::sqrt(a / 2.0);
    const double beta = a / 4.0;
    double xy[2];
    if (!tkxClothoidUnit::ComputeXXYY(Ls, A, 14, xy)) return 0;
    T = xy[0] - R * std::sin(beta) + std::tan(a / 2.0) * (R + xy[1] - R * (1.0 - std::cos(beta)));
    return 1;
}

int tkxPlaneCurve3::CheckT(const tkxPoint3d& prev, const tkxPoint3d& next) const
{
    const tkxPoint3d jd(m_TurnPt.m_rX, m_TurnPt.m_rY, 0.0);
    const double toPrev = jd.Distance2dTo(prev);
    const double toNext = jd.Distance2dTo(next);
    if (toPrev < T1() - 0.001) {
        tkx_SetLastError(ClFormat(L"T1受限[%.10f < T1(%.10f)]", toPrev, T1()));
        return 0;
    }
    if (toNext < T2() - 0.001) {
        tkx_SetLastError(ClFormat(L"T2受限[%.10f < T2(%.10f)]", toNext, T2()));
        return 0;
    }
    return 1;
}

int tkxPlaneCurve3::InsideRange(const tkxPoint3d& p) const
{
    if (T1() < 1e-6) return 0;
    if (std::fabs(m_TurnPt.m_rAzimuth) > 1.5707963267948966) return 1;
    // A line square to the tangent at each end of the curve, pointing to the
    // left: points ahead of the curve start lie to its right, points beyond
    // the curve end to the right of the one at the end.
    auto side = [&p](const sZHPtInfo& at) {
        const double length = std::hypot(p.x - at.m_rX, p.y - at.m_rY);
        const double base[3] = {at.m_rX, at.m_rY, 0.0};
        double tip[3];
        MoveAlong(base, at.m_rAzimuth - kPi / 2.0, length > 1e-10 ? length : 1.0, tip);
        const tkxLine3d square{tkxPoint3d(base), tkxPoint3d(tip)};
        return square.LeftOrRight(tkxPoint3d(p.x, p.y, 0.0), 1e-10);
    };
    if (side(StartPtInfo()) == DIR_LEFT) return 0;
    if (side(EndPtInfo()) == DIR_RIGHT) return 0;
    return 1;
}

int tkxPlaneCurve3::HitTest(double station, sZHPtInfo& start, sZHPtInfo& end, enDir& turn, short& which) const
{
    which = -1;
    for (int i = 0; i < 3; ++i) {
        const tkxRoadPMUnit* unit = UnitAt(i);
        if (!unit) continue;
        if (unit->StartZH() - 0.001 < station && station < unit->EndZH() + 0.001) {
            start = unit->StartPtInfo();
            end = unit->EndPtInfo();
            turn = unit->TurnDir();
            which = static_cast<short>(i + 1);
            return 1;
        }
    }
    return 0;
}
