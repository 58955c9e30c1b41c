// Functions over curve arrays: unit lists to intersection-point curves,
// stations to points and back, unit typing and the curve of three points.
#include "alignment_test_support.h"
#include "corvane/base/LastError.h"
#include "corvane/road/CurveFunctions.h"
#include "corvane/road/Road.h"

#include <cmath>
#include <memory>

using namespace Tavix4;
using namespace alignment_test;

namespace {

sZHPtInfo StartAt(double x, double y, double azimuth, double station = 0.0)
{
    sZHPtInfo p;
    p.m_rX = x;
    p.m_rY = y;
    p.m_rAzimuth = azimuth;
    p.m_rZH = station;
    p.m_rRadius = 1e10;
    return p;
}

// Unit records of units read one after another from their file lines.
void Chain(sZHPtInfo start, std::initializer_list<const wchar_t*> lines, CArray<sUnitInfo, sUnitInfo>& out)
{
    for (const wchar_t* line : lines) {
        const int code = _wtoi(line);
        std::unique_ptr<tkxRoadPMUnit> unit(code == 1   ? static_cast<tkxRoadPMUnit*>(new tkxLineUnit)
                                            : code == 2 ? static_cast<tkxRoadPMUnit*>(new tkxArcUnit)
                                                        : new tkxClothoidUnit);
        EXPECT_EQ("", Utf8(unit->LoadFromString(start, line))) << Utf8(line);
        out.Add(unit->GetUnitInfo());
        start = unit->EndPtInfo();
    }
}

double AzimuthGap(double a, double b)
{
    double d = std::fmod(b - a, 2 * kPi);
    if (d <= -kPi) d += 2 * kPi;
    if (d > kPi) d -= 2 * kPi;
    return std::fabs(d);
}

} // namespace

TEST(UnitTyping, FromTurnAndRadii)
{
    struct {
        int turn;
        double r1, r2;
        tkxUnitType type;
    } cases[] = {
        {0, 500, 300, UNIT_LINE},           {1, 1e10, 1e10, UNIT_LINE},         {1, 500, 500.0000005, UNIT_ARC},
        {-1, 1e10, 300, UNIT_CLOTHOID_IN},  {1, 300, 1e10, UNIT_CLOTHOID_OUT},  {1, 600, 300, UNIT_CLOTHOID_DEC},
        {-1, 300, 600, UNIT_CLOTHOID_INC},  {1, 300, 300.0005, UNIT_CLOTHOID_IN},
    };
    for (const auto& c : cases) {
        sUnitInfo unit;
        unit.m_iTurn = c.turn;
        unit.m_StartPt.m_rRadius = c.r1;
        unit.m_EndPt.m_rRadius = c.r2;
        EXPECT_EQ(c.type, tkx_TestUnitType(unit)) << c.turn << " " << c.r1 << " " << c.r2;
    }
}

TEST(UnitsToCurves, StraightsAndTurnPoints)
{
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    CArray<sUnitInfo, sUnitInfo> empty;
    EXPECT_EQ(0, tkx_UnitsToPlaneCurves(empty, curves));
    EXPECT_EQ(Utf8(L"平面单元信息为空."), Utf8(tkx_GetLastError()));

    CArray<sUnitInfo, sUnitInfo> one;
    Chain(StartAt(10, 20, 0, 100), {L"1, 300"}, one);
    ASSERT_EQ(1, tkx_UnitsToPlaneCurves(one, curves));
    ASSERT_EQ(2, curves.GetSize());
    EXPECT_EQ(20.0, curves[0].TurnPtInfo().m_rY);
    EXPECT_NEAR(320.0, curves[1].TurnPtInfo().m_rY, 1e-9);
    EXPECT_NEAR(400.0, curves[1].TurnPtInfo().m_rZH, 1e-9);

    // A straight breaking to the right: a turn point without curve.
    curves.RemoveAll();
    CArray<sUnitInfo, sUnitInfo> bent;
    Chain(StartAt(0, 0, 0), {L"1, 100", L"1, 100, 0.3"}, bent);
    ASSERT_EQ(1, tkx_UnitsToPlaneCurves(bent, curves));
    ASSERT_EQ(3, curves.GetSize());
    EXPECT_EQ(DIR_RIGHT, curves[1].TurnDir());
    EXPECT_EQ(0.0, curves[1].Length());
    EXPECT_NEAR(100.0, curves[1].TurnPtInfo().m_rY, 1e-9);

    // Turning straight back: no side to turn to.
    curves.RemoveAll();
    CArray<sUnitInfo, sUnitInfo> back;
    Chain(StartAt(0, 0, 0), {L"1, 100", L"1, 50, 3.141592653589793"}, back);
    EXPECT_EQ(0, tkx_UnitsToPlaneCurves(back, curves));
    EXPECT_EQ(Utf8(L"相邻直线单元[1-2]无偏角."), Utf8(tkx_GetLastError()));
}

TEST(UnitsToCurves, SpiralArcSpiralMeetsAtTheTangents)
{
    CArray<sUnitInfo, sUnitInfo> units;
    Chain(StartAt(0, 0, 0, 500), {L"1, 100", L"3, 244.9489742783178, 600, 1", L"2, 600, 300, 1",
                                      L"4, 244.9489742783178, 600, 1", L"1, 100"}, units);
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    ASSERT_EQ(1, tkx_UnitsToPlaneCurves(units, curves)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, curves.GetSize());
    const tkxPlaneCurve3& curve = curves[1];

    // The intersection point of the two straights.
    const sZHPtInfo out = units[4].m_StartPt;
    const double t = -out.m_rX / std::sin(out.m_rAzimuth);
    const double jdY = out.m_rY + t * std::cos(out.m_rAzimuth);
    EXPECT_NEAR(0.0, curve.TurnPtInfo().m_rX, 1e-6);
    EXPECT_NEAR(jdY, curve.TurnPtInfo().m_rY, 1e-6);
    EXPECT_NEAR(jdY - 100, curve.T1(), 1e-6);
    EXPECT_NEAR(std::fabs(t), curve.T2(), 1e-6);
    EXPECT_EQ(DIR_RIGHT, curve.TurnDir());
    EXPECT_NEAR(-(2 * 100.0 / 1200 + 0.5), curve.TurnPtInfo().m_rAzimuth, 1e-9);
    EXPECT_NEAR(600 + curve.T1(), curve.TurnPtInfo().m_rZH, 1e-6);
    EXPECT_NEAR(100.0, curve.Ls1(), 1e-9);
    EXPECT_NEAR(100.0, curve.Ls2(), 1e-9);
    EXPECT_NEAR(600.0, curve.R(), 1e-9);
    EXPECT_NEAR(500.0, curve.Length(), 1e-9);

    // An exit spiral alone is a curve of its own.
    curves.RemoveAll();
    CArray<sUnitInfo, sUnitInfo> exit;
    Chain(StartAt(0, 0, 0), {L"1, 100", L"4, 244.9489742783178, 600, -1", L"1, 100"}, exit);
    ASSERT_EQ(1, tkx_UnitsToPlaneCurves(exit, curves)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, curves.GetSize());
    EXPECT_EQ(0.0, curves[1].Ls1());
    EXPECT_NEAR(100.0, curves[1].Ls2(), 1e-9);
    EXPECT_EQ(0.0, curves[1].ArcLength());
    EXPECT_EQ(DIR_LEFT, curves[1].TurnDir());
}

TEST(UnitsToCurves, GroupFailureNamesTheUnitItStoppedAt)
{
    // The arc after the entering spiral cannot be built (no length): the
    // message names the arc, not the spiral that began the group.
    CArray<sUnitInfo, sUnitInfo> units;
    Chain(StartAt(0, 0, 0), {L"1, 100", L"3, 244.9489742783178, 600, 1", L"2, 600, 300, 1", L"1, 100"}, units);
    units[2].m_EndPt.m_rZH = units[2].m_StartPt.m_rZH;
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    EXPECT_EQ(0, tkx_UnitsToPlaneCurves(units, curves));
    EXPECT_EQ(Utf8(L"组合平曲线单元,分析第3个单元失败!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(1, curves.GetSize());
}

TEST(UnitsToCurves, HalfCircleArcsAreSplit)
{
    CArray<sUnitInfo, sUnitInfo> units;
    Chain(StartAt(0, 0, 0), {L"1, 100", L"2, 100, 314.16, 1", L"1, 100"}, units);
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    ASSERT_EQ(1, tkx_UnitsToPlaneCurves(units, curves)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(4, units.GetSize());
    EXPECT_NEAR(157.08, units[1].m_EndPt.m_rZH - units[1].m_StartPt.m_rZH, 1e-9);
    EXPECT_NEAR(units[2].m_StartPt.m_rX, units[1].m_EndPt.m_rX, 1e-9);
    ASSERT_EQ(4, curves.GetSize());
    EXPECT_NEAR(157.08, curves[1].ArcLength(), 1e-9);
    EXPECT_NEAR(157.08, curves[2].ArcLength(), 1e-9);
}

class CurvesOfARoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteText(folder / L"road.ICD", SeveralCurvesText());
        ASSERT_EQ(1, road.LoadICDFile(folder / L"road.ICD")) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.ExportPlaneCurves(curves)) << Utf8(tkx_GetLastError());
    }

    ScratchFolder folder{L"curves_of_a_road"};
    tkxRoadObject road;
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
};

TEST_F(CurvesOfARoad, StationToPointAndBack)
{
    // Start, the right curve, the three curves of the left run, end.
    ASSERT_EQ(6, curves.GetSize());
    EXPECT_EQ(DIR_RIGHT, curves[1].TurnDir());
    for (int k = 2; k <= 4; ++k) EXPECT_EQ(DIR_LEFT, curves[k].TurnDir());
    EXPECT_NEAR(curves[2].EndZH(), curves[3].StartZH(), 1e-9);

    const std::vector<Piece> pieces = SeveralCurvesPieces();
    for (double station = kRoadStartStation; station <= kRoadStartStation + kRoadLength; station += 23.7) {
        SCOPED_TRACE(station);
        sZHPtInfo onCurves, onUnits;
        ASSERT_EQ(1, tkx_GetPointOnPlaneCurves(curves, station, onCurves)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.GetPointOnUnits(station, onUnits));
        EXPECT_NEAR(onUnits.m_rX, onCurves.m_rX, 1e-6);
        EXPECT_NEAR(onUnits.m_rY, onCurves.m_rY, 1e-6);
        EXPECT_NEAR(0.0, AzimuthGap(onUnits.m_rAzimuth, onCurves.m_rAzimuth), 1e-9);
        const TracedPoint traced = TracePath(kRoadStartX, kRoadStartY, kRoadStartAzimuth, pieces, station - kRoadStartStation);
        EXPECT_NEAR(traced.x, onCurves.m_rX, 1e-6);
        EXPECT_NEAR(traced.y, onCurves.m_rY, 1e-6);

        // And back from the point to its station, 2 m off the line.
        double p[2] = {onCurves.m_rX + 2 * std::cos(onCurves.m_rAzimuth), onCurves.m_rY - 2 * std::sin(onCurves.m_rAzimuth)};
        sZHPtInfo nearest;
        ASSERT_GE(tkx_GetNearestZHInfo(curves, p, nearest), 1);
        EXPECT_NEAR(station, nearest.m_rZH, 1e-4);
    }

    sZHPtInfo before;
    ASSERT_EQ(1, tkx_GetPointOnPlaneCurves(curves, 900, before));
    EXPECT_NEAR(kRoadStartX, before.m_rX, 1e-12);
    const sZHPtInfo jd = curves[1].TurnPtInfo();
    EXPECT_NEAR(std::atan2(jd.m_rX - kRoadStartX, jd.m_rY - kRoadStartY), before.m_rAzimuth, 1e-12);
    sZHPtInfo after;
    ASSERT_EQ(1, tkx_GetPointOnPlaneCurves(curves, 5000, after));
    EXPECT_NEAR(road.EndZHInfo().m_rX, after.m_rX, 1e-9);

    CArray<tkxPlaneCurve3, tkxPlaneCurve3> none;
    EXPECT_EQ(0, tkx_GetPointOnPlaneCurves(none, 1000, after));
    EXPECT_EQ(Utf8(L"未包含路线平面信息!"), Utf8(tkx_GetLastError()));
    none.Add(curves[0]);
    double p[2] = {0, 0};
    sZHPtInfo untouched;
    untouched.m_rZH = 42;
    EXPECT_EQ(-1, tkx_GetNearestZHInfo(none, p, untouched));
    EXPECT_EQ(42.0, untouched.m_rZH);
}

TEST(MakeRSAlignment, CurveAndPointString)
{
    const double a = 0.9;
    const tkxPoint3d prev(0, 0, 0), jd(0, 1000, 0), next(800 * std::sin(a), 1000 + 800 * std::cos(a), 0);
    tkxPlaneCurve3 curve;
    tkxPoint3dArray points;
    tkx_MakeRSAlignment(prev, jd, next, 100, 600, 150, 20, curve, points);
    const double length = 100 + 600 * (a - 250.0 / 1200) + 150;
    ASSERT_NEAR(length, curve.Length(), 1e-9);
    ASSERT_EQ(34, points.GetCount());
    for (int i = 1; i + 1 < points.GetCount(); ++i) {
        EXPECT_NEAR(20.0, points[i].Distance2dTo(points[i - 1]), 0.01);
    }
    EXPECT_NEAR(curve.EndPtInfo().m_rX, points[33].x, 1e-12);
    EXPECT_NEAR(curve.StartPtInfo().m_rY, points[0].y, 1e-12);

    // Three points in a line make no curve: nothing changes.
    tkxPlaneCurve3 untouched;
    tkxPoint3dArray kept;
    kept.Add(tkxPoint3d(1, 2, 3));
    tkx_MakeRSAlignment(prev, jd, tkxPoint3d(0, 2000, 0), 100, 600, 150, 20, untouched, kept);
    EXPECT_EQ(0.0, untouched.Length());
    EXPECT_EQ(1, kept.GetCount());
}
