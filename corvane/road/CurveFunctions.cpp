#include "corvane/road/CurveFunctions.h"
#include "corvane/geometry/Line3d.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LastError.h"

#include <cmath>

using namespace Tavix4;
using alignment::kInfiniteRadius;
using alignment::kPi;

namespace {

constexpr double kMaxCurveAngle = 3.141592643589793; // pi - 1e-8
constexpr double kMaxArcAngle = 3.141591653589793;   // pi - 1e-6

double PlanDistance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

// The azimuth break from unit a's end to unit b's start, wrapped into
// (-pi, pi]: in [0, 2pi) a break a hair below zero would read as a full turn.
double AzimuthBreak(const sUnitInfo& a, const sUnitInfo& b)
{
    return alignment::WrapAngle(NormalizeAngle(b.m_StartPt.m_rAzimuth - a.m_EndPt.m_rAzimuth));
}

double UnitLength(const sUnitInfo& u) { return u.m_EndPt.m_rZH - u.m_StartPt.m_rZH; }

// Groups the curve units from index i on into one curve.  i ends at the
// last unit of the group.
class CurveGrouper
{
public:
    CurveGrouper(const CArray<sUnitInfo, sUnitInfo>& units, tkxPlaneCurve3& curve) : m_units(units), m_curve(curve) {}

    bool Group(int& i)
    {
        const int n = static_cast<int>(m_units.GetSize());
        if (i < 0 || i >= n) return false;
        const tkxUnitType type = tkx_TestUnitType(m_units[i]);
        if (type == UNIT_LINE) return false;
        m_curve.Reset();
        m_first = i;
        if (type == UNIT_ARC) return ArcFirst(i);
        return ClothoidFirst(i, type);
    }

private:
    int Count() const { return static_cast<int>(m_units.GetSize()); }

    // Whether unit k + 1 continues the group after unit k, whose end radius
    // is endR.
    bool Continues(int k, double endR, double azimuthTolerance) const
    {
        if (k + 1 >= Count()) return false;
        const sUnitInfo& next = m_units[k + 1];
        return next.m_iTurn == m_units[m_first].m_iTurn && std::fabs(next.m_StartPt.m_rRadius - endR) < 1e-6 &&
               std::fabs(AzimuthBreak(m_units[k], next)) <= azimuthTolerance;
    }

    bool MakeClothoid(const sUnitInfo& u, tkxClothoidUnit& clothoid) const
    {
        return clothoid.SetUnitInfo(u.m_StartPt, u.m_EndPt.m_rRadius, UnitLength(u), static_cast<enDir>(u.m_iTurn)) == 1;
    }

    bool MakeArc(const sUnitInfo& u, tkxArcUnit& arc) const
    {
        return arc.SetUnitInfo(u.m_StartPt, UnitLength(u), static_cast<enDir>(u.m_iTurn)) == 1;
    }

    // The curve ends before unit i: i steps back to its last unit.
    bool CloseBefore(int& i)
    {
        --i;
        return m_curve.ComputeTurnPt() == 1;
    }

    bool Close(int& i)
    {
        if (i >= Count()) i = Count() - 1;
        return m_curve.ComputeTurnPt() == 1;
    }

    bool ClothoidFirst(int& i, tkxUnitType type)
    {
        tkxClothoidUnit first;
        if (!MakeClothoid(m_units[i], first)) return false;
        const double beta1 = first.GetBeta();
        if (type == UNIT_CLOTHOID_OUT || type == UNIT_CLOTHOID_INC) {
            if (!m_curve.SetClothoid2(first)) return false;
            return Close(i);
        }
        if (!m_curve.SetClothoid1(first)) return false;
        const double R = m_units[i].m_EndPt.m_rRadius;
        if (!Continues(i, R, 1e-6)) return Close(i);
        ++i;
        const sUnitInfo& next = m_units[i];
        const tkxUnitType nextType = tkx_TestUnitType(next);
        if (nextType == UNIT_ARC) {
            tkxArcUnit arc;
            if (!MakeArc(next, arc)) return false;
            const double c = arc.CenterAngle();
            if (c + beta1 > kMaxCurveAngle) return CloseBefore(i);
            if (!m_curve.SetArc(arc)) return false;
            if (i + 1 >= Count()) return Close(i);
            if (Continues(i, next.m_EndPt.m_rRadius, 1e-8)) {
                const tkxUnitType third = tkx_TestUnitType(m_units[i + 1]);
                if (third == UNIT_CLOTHOID_OUT || third == UNIT_CLOTHOID_INC) {
                    ++i;
                    tkxClothoidUnit second;
                    if (!MakeClothoid(m_units[i], second)) return false;
                    if (second.GetBeta() + beta1 + c > kMaxCurveAngle) return CloseBefore(i);
                    if (!m_curve.SetClothoid2(second)) return false;
                    return Close(i);
                }
            }
            return Close(i);
        }
        if (nextType == UNIT_CLOTHOID_OUT || nextType == UNIT_CLOTHOID_INC) {
            tkxClothoidUnit second;
            if (!MakeClothoid(next, second)) return false;
            if (second.GetBeta() + beta1 > kMaxCurveAngle) return CloseBefore(i);
            if (!m_curve.SetClothoid2(second)) return false;
            return Close(i);
        }
        return CloseBefore(i);
    }

    bool ArcFirst(int& i)
    {
        tkxArcUnit arc;
        const sUnitInfo& u = m_units[i];
        if (!MakeArc(u, arc)) return false;
        const double c = arc.CenterAngle();
        if (!m_curve.SetArc(arc)) return false;
        if (i + 1 >= Count()) return Close(i);
        if (Continues(i, u.m_StartPt.m_rRadius, 1e-8)) {
            const tkxUnitType nextType = tkx_TestUnitType(m_units[i + 1]);
            if (nextType == UNIT_CLOTHOID_OUT || nextType == UNIT_CLOTHOID_INC) {
                ++i;
                tkxClothoidUnit second;
                if (!MakeClothoid(m_units[i], second)) return false;
                if (second.GetBeta() + c > kMaxCurveAngle) return CloseBefore(i);
                if (!m_curve.SetClothoid2(second)) return false;
                return Close(i);
            }
        }
        return Close(i);
    }

    const CArray<sUnitInfo, sUnitInfo>& m_units;
    tkxPlaneCurve3& m_curve;
    int m_first = 0;
};

// Arcs of half a circle or more become two arcs of half the length.
void SplitLongArcs(CArray<sUnitInfo, sUnitInfo>& units)
{
    bool any = false;
    for (const sUnitInfo& u : units) {
        if (tkx_TestUnitType(u) == UNIT_ARC && u.m_StartPt.m_rRadius > 1e-10 &&
            UnitLength(u) / u.m_StartPt.m_rRadius > kMaxArcAngle)
            any = true;
    }
    if (!any) return;
    CArray<sUnitInfo, sUnitInfo> result;
    for (const sUnitInfo& u : units) {
        const bool split = tkx_TestUnitType(u) == UNIT_ARC && u.m_StartPt.m_rRadius > 1e-10 &&
                           UnitLength(u) / u.m_StartPt.m_rRadius > kMaxArcAngle;
        if (!split) {
            result.Add(u);
            continue;
        }
        const double half = UnitLength(u) / 2.0;
        tkxArcUnit first;
        first.SetUnitInfo(u.m_StartPt, half, static_cast<enDir>(u.m_iTurn));
        tkxArcUnit second;
        second.SetUnitInfo(first.EndPtInfo(), half, static_cast<enDir>(u.m_iTurn));
        result.Add(first.GetUnitInfo());
        result.Add(second.GetUnitInfo());
    }
    units.Copy(result);
}

} // namespace

tkxUnitType tkx_TestUnitType(sUnitInfo unit)
{
    if (unit.m_iTurn == DIR_NONE) return UNIT_LINE;
    const double r1 = unit.m_StartPt.m_rRadius;
    const double r2 = unit.m_EndPt.m_rRadius;
    if (r1 > 99999999.0 && r2 > 99999999.0) return UNIT_LINE;
    if (std::fabs(r1 - r2) < 1e-6) return UNIT_ARC;
    tkxUnitType type = UNIT_CLOTHOID_IN;
    tkxClothoidUnit::ComputeType(r1, r2, type);
    return type;
}

void tkx_MakeRSAlignment(const tkxPoint3d& prev, const tkxPoint3d& jd, const tkxPoint3d& next, double Ls1, double R,
                         double Ls2, double step, tkxPlaneCurve3& curve, tkxPoint3dArray& points)
{
    tkxPlaneCurve3::sJDInfo info;
    info.m_Point = tkxPoint3d(jd.x, jd.y, 0.0);
    info.m_rStartR = kInfiniteRadius;
    info.m_rEndR = kInfiniteRadius;
    info.m_rR = R;
    info.m_rLs1 = Ls1;
    info.m_rLs2 = Ls2;
    info.m_rA1 = tkxClothoidUnit::ComputeA(kInfiniteRadius, R, Ls1);
    info.m_rA2 = tkxClothoidUnit::ComputeA(R, kInfiniteRadius, Ls2);

    double deflection = 0.0;
    const enDir dir = tkxLine3d(prev, jd).getRoadAngle(tkxLine3d(jd, next), deflection);
    if (dir == DIR_NONE || std::fabs(deflection) < 1e-8) return;

    curve.SetJDInfo(info);
    if (curve.SetTurnAngle(prev, next) != 1) return;
    if (curve.CheckT(prev, next) != 1) return;
    if (step <= 0.0) return;

    points.RemoveAll();
    const double length = curve.Length();
    for (double d = 0.0; length - step > d; d += step) {
        sZHPtInfo p;
        if (curve.GetPoint(d, p)) points.Add(tkxPoint3d(p.m_rX, p.m_rY, 0.0));
    }
    const sZHPtInfo end = curve.EndPtInfo();
    points.Add(tkxPoint3d(end.m_rX, end.m_rY, 0.0));
}

int tkx_UnitsToPlaneCurves(CArray<sUnitInfo, sUnitInfo>& units, CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves)
{
    if (units.GetSize() == 0) {
        tkx_SetLastError(L"平面单元信息为空.");
        return 0;
    }
    SplitLongArcs(units);
    const int n = static_cast<int>(units.GetSize());

    tkxPlaneCurve3 road;
    road.CreateRoadQD(units[0].m_StartPt);
    curves.Add(road);

    tkxPlaneCurve3 curve;
    CurveGrouper grouper(units, curve);
    for (int i = 0; i < n; ++i) {
        const sUnitInfo& u = units[i];
        if (tkx_TestUnitType(u) == UNIT_LINE) {
            if (i + 1 < n && std::fabs(AzimuthBreak(u, units[i + 1])) > 1e-8) {
                const tkxLine3d line(tkxPoint3d(u.m_StartPt.m_rX, u.m_StartPt.m_rY, 0.0),
                                     tkxPoint3d(u.m_EndPt.m_rX, u.m_EndPt.m_rY, 0.0));
                const sZHPtInfo& nextEnd = units[i + 1].m_EndPt;
                const enDir side = line.LeftOrRight(tkxPoint3d(nextEnd.m_rX, nextEnd.m_rY, 0.0), 1e-8);
                if (side == DIR_NONE) {
                    tkx_SetLastError(ClFormat(L"相邻直线单元[%d-%d]无偏角.", i + 1, i + 2));
                    return 0;
                }
                tkxPlaneCurve3 turn;
                turn.CreateNullJD(u.m_EndPt, side);
                curves.Add(turn);
            }
            continue;
        }
        if (!grouper.Group(i)) {
            // i is the unit at which the grouping stopped.
            tkx_SetLastError(ClFormat(L"组合平曲线单元,分析第%d个单元失败!", i + 1));
            return 0;
        }
        curves.Add(curve);
        if (i + 1 < n) {
            const double jump = AzimuthBreak(units[i], units[i + 1]);
            if (std::fabs(jump) > 1e-8) {
                // The azimuth grows at a right turn and shrinks at a left one.
                tkxPlaneCurve3 turn;
                turn.CreateNullJD(units[i].m_EndPt, jump > 0.0 ? DIR_RIGHT : DIR_LEFT);
                curves.Add(turn);
            }
        }
    }

    tkxPlaneCurve3 end;
    end.CreateRoadZD(units[n - 1].m_EndPt);
    curves.Add(end);
    return 1;
}

int tkx_GetPointOnPlaneCurves(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves, double station, sZHPtInfo& out)
{
    const int n = static_cast<int>(curves.GetSize());
    if (n == 0) {
        tkx_SetLastError(L"未包含路线平面信息!");
        return 0;
    }
    auto turnPoint = [&curves](int k) {
        const sZHPtInfo t = curves[k].TurnPtInfo();
        return tkxPoint3d(t.m_rX, t.m_rY, 0.0);
    };
    if (station < curves[0].StartZH() + 1e-6) {
        out = curves[0].StartPtInfo();
        if (n >= 2) out.m_rAzimuth = turnPoint(0).Azimuth2d(turnPoint(1));
        return 1;
    }
    if (station > curves[n - 1].EndZH() - 1e-6) {
        out = curves[n - 1].EndPtInfo();
        if (n >= 2) out.m_rAzimuth = turnPoint(n - 2).Azimuth2d(turnPoint(n - 1));
        return 1;
    }
    // Binary search for the first element k >= 1 whose end reaches the
    // station (the ends grow along the array).
    int lo = 1, hi = n - 1;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (curves[mid].EndZH() + 1e-6 < station)
            lo = mid + 1;
        else
            hi = mid;
    }
    const int k = lo;
    const tkxPlaneCurve3& curve = curves[k];
    if (station < curve.StartZH() + 1e-6) {
        tkxLineUnit line;
        sZHPtInfo from = curves[k - 1].EndPtInfo();
        line.SetUnitInfo(from, curve.StartPtInfo());
        line.SetStartZH(from.m_rZH);
        if (!line.GetPoint(station - line.StartZH(), out)) {
            tkx_SetLastError(L"计算直线单元中桩坐标失败!");
            return 0;
        }
        return 1;
    }
    if (!curve.GetPoint(station - curve.StartZH(), out)) {
        tkx_SetLastError(ClFormat(L"计算第%d个平曲线中桩坐标失败!", k));
        return 0;
    }
    return 1;
}

int tkx_GetNearestZHInfo(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves, double* const point, sZHPtInfo& out)
{
    const int n = static_cast<int>(curves.GetSize());
    double best = 1e20;
    int result = -1;
    const double p[3] = {point[0], point[1], 0.0};
    for (int k = 1; k < n; ++k) {
        const tkxPlaneCurve3& curve = curves[k];
        const sZHPtInfo E = curves[k - 1].EndPtInfo();
        const sZHPtInfo S = curve.StartPtInfo();
        const double e[3] = {E.m_rX, E.m_rY, 0.0};
        const double s[3] = {S.m_rX, S.m_rY, 0.0};

        // Candidates on the turn point and on the straight before the curve.
        auto consider = [&](const double* c) {
            const double d = PlanDistance(c[0], c[1], p[0], p[1]);
            if (d < best) {
                best = d;
                out.m_rX = c[0];
                out.m_rY = c[1];
                out.m_rZ = c[2];
                out.m_rRadius = kInfiniteRadius;
                out.m_rZH = curves[k - 1].EndZH() + PlanDistance(e[0], e[1], c[0], c[1]);
                out.m_rAzimuth = DirectionAzimuth(e, s);
                out.m_SName.Empty();
                result = k;
            }
        };
        if (curve.Length() < 0.0001) {
            const sZHPtInfo t = curve.TurnPtInfo();
            const double c[3] = {t.m_rX, t.m_rY, t.m_rZ};
            consider(c);
        }
        const double gap = PlanDistance(e[0], e[1], s[0], s[1]);
        if (k == 1 || k == n - 1) {
            if (gap > 1e-5) {
                tkxLineUnit line;
                line.SetUnitInfo(E, S);
                sZHPtInfo foot;
                line.GetNearestPoint(p, foot);
                const double c[3] = {foot.m_rX, foot.m_rY, foot.m_rZ};
                consider(c);
            }
        } else if (gap > 0.0001) {
            const double ray = GetPlanAngle(e, s) + kPi / 2.0;
            if (GetPointSideOfRay(s, ray, p) == DIR_LEFT && GetPointSideOfRay(e, ray, p) == DIR_RIGHT) {
                double foot[3];
                if (GetFootPointSide(e, s, p, foot)) consider(foot);
            }
        }
        if (curve.InsideRange(tkxPoint3d(p[0], p[1], 0.0)) == 1) {
            sZHPtInfo nearest;
            curve.GetNearestPoint(tkxPoint3d(p[0], p[1], 0.0), nearest);
            const double d = PlanDistance(nearest.m_rX, nearest.m_rY, p[0], p[1]);
            if (d < best) {
                best = d;
                out = nearest;
                result = k;
            }
        }
    }
    return result;
}
