// Intersection-point curves: a curve with unequal spirals placed between its
// neighbours against the traced curve and the tangent-length formulas, key
// points, hit tests, tool tips, the archive form and the curve-less cases.
#include "alignment_test_support.h"
#include "corvane/base/LastError.h"
#include "corvane/project/StationText.h"
#include "corvane/road/PlaneCurve.h"

#include <cmath>

using namespace Tavix4;
using namespace alignment_test;

namespace {

// Right turn by 0.9 rad at (0, 1000) coming from the origin heading north:
// spiral 100, arc R 600, spiral 150.
const double kAlpha = 0.9, kR = 600, kLs1 = 100, kLs2 = 150;
const double kArc = kR * (kAlpha - kLs1 / (2 * kR) - kLs2 / (2 * kR));
const tkxPoint3d kPrev(0, 0, 0), kJD(0, 1000, 0),
    kNext(800 * std::sin(kAlpha), 1000 + 800 * std::cos(kAlpha), 0);

std::vector<Piece> Pieces(int turn)
{
    return {{kLs1, 0, 1 / kR, turn}, {kArc, 1 / kR, 1 / kR, turn}, {kLs2, 1 / kR, 0, turn}};
}

// Tangent lengths of an unequal-spiral curve from the exact clothoid
// coordinates: the shifts p and q of each spiral and the deflection.
void FormulaTangents(double& T1, double& T2)
{
    auto shifts = [](double Ls, double& p, double& q) {
        double x, y;
        ClothoidPoint(Ls, std::sqrt(kR * Ls), x, y);
        const double beta = Ls / (2 * kR);
        p = y - kR * (1 - std::cos(beta));
        q = x - kR * std::sin(beta);
    };
    double p1, q1, p2, q2;
    shifts(kLs1, p1, q1);
    shifts(kLs2, p2, q2);
    T1 = q1 + (kR + p1) * std::tan(kAlpha / 2) - (p1 - p2) / std::sin(kAlpha);
    T2 = q2 + (kR + p2) * std::tan(kAlpha / 2) + (p1 - p2) / std::sin(kAlpha);
}

class PlacedCurve : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CString message;
        ASSERT_EQ(1, curve.ReadJDFile(L"3 1000 0 -1 L100 600 L150 -1", message)) << Utf8(message);
        ASSERT_EQ(1, curve.SetTurnAngle(kPrev, kNext)) << Utf8(tkx_GetLastError());
        curve.SetStartZH(2000);
        // The trace from the origin, then moved to the curve's start.
        const TracedPoint end = TracePath(0, 0, 0, Pieces(DIR_RIGHT), curve.Length());
        const double t = -end.x / std::sin(kAlpha);
        T1 = end.y + t * std::cos(kAlpha);
        T2 = std::fabs(t);
        shift = 1000 - T1;
    }

    TracedPoint At(double s) const
    {
        TracedPoint p = TracePath(0, 0, 0, Pieces(DIR_RIGHT), s);
        p.y += shift;
        return p;
    }

    // External distance: the nearest point of the traced curve to the
    // intersection point, by golden-section search.
    double TracedE() const
    {
        double lo = 0, hi = kLs1 + kArc + kLs2;
        auto distance = [&](double s) {
            const TracedPoint p = At(s);
            return std::hypot(p.x - kJD.x, p.y - kJD.y);
        };
        while (hi - lo > 1e-6) {
            const double a = lo + 0.382 * (hi - lo), b = lo + 0.618 * (hi - lo);
            if (distance(a) > distance(b))
                lo = a;
            else
                hi = b;
        }
        return distance((lo + hi) / 2);
    }

    tkxPlaneCurve3 curve;
    double T1 = 0, T2 = 0, shift = 0;
};

void ExpectAt(const sZHPtInfo& p, const TracedPoint& t, double tol = 1e-6)
{
    EXPECT_NEAR(t.x, p.m_rX, tol);
    EXPECT_NEAR(t.y, p.m_rY, tol);
}

} // namespace

TEST_F(PlacedCurve, ElementsAgainstTheTraceAndTheFormulas)
{
    double formulaT1, formulaT2;
    FormulaTangents(formulaT1, formulaT2);
    EXPECT_NEAR(formulaT1, T1, 1e-6);
    EXPECT_NEAR(formulaT2, T2, 1e-6);

    EXPECT_EQ(DIR_RIGHT, curve.TurnDir());
    EXPECT_NEAR(-kAlpha, curve.TurnPtInfo().m_rAzimuth, 1e-9);
    EXPECT_NEAR(0.0, curve.TurnPtInfo().m_rX, 1e-9);
    EXPECT_NEAR(1000.0, curve.TurnPtInfo().m_rY, 1e-9);
    EXPECT_NEAR(T1, curve.T1(), 1e-6);
    EXPECT_NEAR(T2, curve.T2(), 1e-6);
    EXPECT_NEAR(kLs1 + kArc + kLs2, curve.Length(), 1e-9);
    EXPECT_NEAR(T1 + T2 - curve.Length(), curve.D(), 1e-6);
    EXPECT_NEAR(kLs1, curve.Ls1(), 1e-9);
    EXPECT_NEAR(kLs2, curve.Ls2(), 1e-9);
    EXPECT_NEAR(std::sqrt(kR * kLs1), curve.A1(), 1e-9);
    EXPECT_NEAR(std::sqrt(kR * kLs2), curve.A2(), 1e-9);
    EXPECT_NEAR(kR, curve.R(), 1e-12);
    EXPECT_NEAR(kArc, curve.ArcLength(), 1e-9);

    // The curve starts T1 before the intersection point on the incoming
    // straight and ends T2 after it on the outgoing one.
    EXPECT_NEAR(0.0, curve.StartPtInfo().m_rX, 1e-6);
    EXPECT_NEAR(1000 - T1, curve.StartPtInfo().m_rY, 1e-6);
    EXPECT_NEAR(T2 * std::sin(kAlpha), curve.EndPtInfo().m_rX, 1e-6);
    EXPECT_NEAR(1000 + T2 * std::cos(kAlpha), curve.EndPtInfo().m_rY, 1e-6);
    EXPECT_NEAR(kAlpha, curve.EndAzimuth(), 1e-9);

    // Key points and stations.
    struct {
        enPQXKeyPt which;
        double s;
    } keys[] = {{PQX_ZH, 0}, {PQX_HY, kLs1}, {PQX_QZ, kLs1 + kArc / 2}, {PQX_YH, kLs1 + kArc}, {PQX_HZ, curve.Length()}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.which);
        sZHPtInfo p;
        ASSERT_EQ(1, curve.KeyPtInfo(k.which, p));
        ExpectAt(p, At(k.s));
        EXPECT_NEAR(2000 + k.s, p.m_rZH, 1e-9);
    }
    EXPECT_NEAR(2000 + T1, curve.TurnPtInfo().m_rZH, 1e-6);
    tkxPlaneCurve3::sJDInfo info;
    info.m_iReserved = 7; // a reused record
    curve.GetJDInfo(info);
    EXPECT_EQ(3, info.m_nKind);
    EXPECT_EQ(0, info.m_iReserved);
    EXPECT_NEAR(2000.0, info.m_rZH_ZH, 1e-9);
    EXPECT_NEAR(2100.0, info.m_rZH_HY, 1e-9);
    EXPECT_NEAR(2000 + kLs1 + kArc, info.m_rZH_YH, 1e-9);
    EXPECT_NEAR(2000 + curve.Length(), info.m_rZH_HZ, 1e-9);
    EXPECT_EQ(1e10, info.m_rStartR);
    EXPECT_EQ(1e10, info.m_rEndR);

    // Points along the whole curve.
    for (double s = 0; s < curve.Length(); s += 47.3) {
        sZHPtInfo p;
        ASSERT_EQ(1, curve.GetPoint(s, p));
        ExpectAt(p, At(s));
    }

    EXPECT_NEAR(TracedE(), curve.E(), 1e-5);
}

TEST_F(PlacedCurve, HitTestGetPointAndSides)
{
    sZHPtInfo start, end;
    enDir turn = DIR_NONE;
    short which = 0;
    struct {
        double station;
        short which;
    } hits[] = {{2050, 1}, {2300, 2}, {2000 + kLs1 + kArc + 20, 3}};
    for (const auto& h : hits) {
        ASSERT_EQ(1, curve.HitTest(h.station, start, end, turn, which));
        EXPECT_EQ(h.which, which);
        EXPECT_EQ(DIR_RIGHT, turn);
        EXPECT_LT(start.m_rZH - 0.001, h.station);
        EXPECT_GT(end.m_rZH + 0.001, h.station);
    }
    EXPECT_EQ(0, curve.HitTest(2000 + curve.Length() + 1, start, end, turn, which));
    EXPECT_EQ(-1, which);

    sZHPtInfo p;
    EXPECT_EQ(0, curve.GetPoint(curve.Length() + 0.0002, p));
    ASSERT_EQ(1, curve.GetPoint(curve.Length() + 0.00005, p));
    EXPECT_NEAR(curve.EndPtInfo().m_rX, p.m_rX, 1e-12);

    // The intersection point lies outside a right-turning curve: to its left.
    EXPECT_EQ(DIR_LEFT, curve.GetLeftRight(kJD));
    EXPECT_EQ(DIR_RIGHT, curve.GetLeftRight(curve.ArcCenterPt()));
    EXPECT_EQ(1, curve.InsideRange(kJD));
    EXPECT_EQ(0, curve.InsideRange(tkxPoint3d(0, 1000 - T1 - 5, 0)));

    EXPECT_EQ(1, curve.CheckT(kPrev, kNext));
    const tkxPoint3d close(0, 1000 - T1 + 10, 0);
    EXPECT_EQ(0, curve.CheckT(close, kNext));
    EXPECT_EQ(Utf8(ClFormat(L"T1受限[%.10f < T1(%.10f)]", T1 - 10, curve.T1())), Utf8(tkx_GetLastError()));
    // The next point closer than T2 (the traced tangent), along the
    // outgoing tangent; within a millimetre of T2 it is still far enough.
    auto ahead = [](double d) { return tkxPoint3d(d * std::sin(kAlpha), 1000 + d * std::cos(kAlpha), 0); };
    EXPECT_EQ(0, curve.CheckT(kPrev, ahead(T2 - 10)));
    EXPECT_EQ(Utf8(ClFormat(L"T2受限[%.10f < T2(%.10f)]", kJD.Distance2dTo(ahead(T2 - 10)), curve.T2())),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(1, curve.CheckT(kPrev, ahead(T2 - 0.0005)));
    EXPECT_EQ(0, curve.CheckT(kPrev, ahead(T2 - 0.002)));
    EXPECT_EQ(1, curve.CheckT(tkxPoint3d(0, 1000 - T1 + 0.0005, 0), kNext));
}

TEST_F(PlacedCurve, CopiesOwnTheirUnitsAndTheArchiveKeepsTheCurve)
{
    tkxPlaneCurve3 copy(curve);
    {
        tkxPlaneCurve3 other;
        other = curve;
        curve.Reset();
    }
    EXPECT_EQ(0.0, curve.Length());
    EXPECT_NEAR(kLs1 + kArc + kLs2, copy.Length(), 1e-9);

    copy.SetJDName(L"JD7");
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        copy.Serialize(ar);
    }
    std::vector<BYTE> bytes = file.Data();
    tkxPlaneCurve3 back;
    {
        CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&in, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ("JD7", Utf8(back.TurnPtInfo().m_SName));
    EXPECT_EQ(DIR_RIGHT, back.TurnDir());
    EXPECT_NEAR(copy.T1(), back.T1(), 1e-9);
    for (double s : {30.0, 250.0, 600.0}) {
        sZHPtInfo a, b;
        ASSERT_EQ(1, copy.GetPoint(s, a));
        ASSERT_EQ(1, back.GetPoint(s, b));
        EXPECT_NEAR(a.m_rX, b.m_rX, 1e-9);
        EXPECT_NEAR(a.m_rY, b.m_rY, 1e-9);
    }

    // A stored turn other than 1 or -1 loads as none: 5 doubles, the name
    // (FF FE FF, length 3, three characters), then the turn.
    const size_t turnAt = 5 * 8 + 4 + 3 * 2;
    int turn = 0;
    memcpy(&turn, bytes.data() + turnAt, 4);
    ASSERT_EQ(-1, turn);
    turn = 7;
    memcpy(bytes.data() + turnAt, &turn, 4);
    CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&in, CArchive::load);
    back.Serialize(ar);
    EXPECT_EQ(DIR_NONE, back.TurnDir());
}

TEST_F(PlacedCurve, ToolTips)
{
    curve.SetJDName(L"JD3");
    wchar_t buffer[1024];
    curve.TooltipString(-kAlpha, buffer);
    const CString rule = L"───────────────────";
    // The values from the trace and the curve's definition, not from the
    // curve itself.
    const CString expected =
        ClFormat(L"平曲线] JD3\n%s\nLs1= 100.000, R= 600.000, Ls2= 150.000\n%s\n右偏:51d33'58.3\"\nL= %.3f, \nT1= %.3f T2= "
                 L"%.3f E= %.3f\n ",
                 rule.GetString(), rule.GetString(), kLs1 + kArc + kLs2, T1, T2, TracedE());
    EXPECT_EQ(Utf8(expected), Utf8(buffer));

    // Mirrored to the left the tip ends in a rule.
    tkxPlaneCurve3 left;
    CString message;
    ASSERT_EQ(1, left.ReadJDFile(L"3 1000 0 -1 L100 600 L150 -1", message));
    ASSERT_EQ(1, left.SetTurnAngle(kPrev, tkxPoint3d(-kNext.x, kNext.y, 0)));
    EXPECT_EQ(DIR_LEFT, left.TurnDir());
    left.TooltipString(kAlpha, buffer);
    const CString text(buffer);
    EXPECT_EQ(0, text.Find(L"平曲线] \n"));
    EXPECT_GE(text.Find(L"左偏:"), 0);
    EXPECT_EQ(Utf8(L"\n" + rule + L"\n"), Utf8(text.Right(rule.GetLength() + 2)));

    tkxPlaneCurve3 none;
    none.TooltipString(0, buffer);
    EXPECT_EQ(Utf8(L"平曲线] \n" + rule + L"\nLs1= 0.000, R= 0.000, Ls2= 0.000\n" + rule +
                   L"\n0d00'00\"\nL= 0.000, \nT1= 0.000 T2= 0.000 E= 0.000\n "),
              Utf8(buffer));
}

TEST(PlaneCurve, CurvesWithoutUnits)
{
    tkxPlaneCurve3 curve;
    sZHPtInfo point;
    point.m_rX = 10;
    point.m_rY = 20;
    point.m_rZH = 300;
    point.m_rRadius = 55;
    curve.CreateNullJD(point, DIR_LEFT);
    EXPECT_EQ(0.0, curve.T1());
    EXPECT_EQ(0.0, curve.T2());
    EXPECT_EQ(0.0, curve.Length());
    EXPECT_EQ(0.0, curve.D());
    EXPECT_EQ(0.0, curve.E());
    EXPECT_EQ(0.0, curve.R());
    EXPECT_EQ(1e10, curve.StartPtInfo().m_rRadius);
    EXPECT_EQ(10.0, curve.EndPtInfo().m_rX);
    EXPECT_EQ(300.0, curve.StartZH());
    sZHPtInfo out;
    EXPECT_EQ(0, curve.KeyPtInfo(PQX_HY, out));
    EXPECT_EQ(0, curve.KeyPtInfo(PQX_YH, out));
    EXPECT_EQ(1, curve.KeyPtInfo(PQX_QZ, out));
    EXPECT_EQ(20.0, out.m_rY);

    // No radius: no units even with spiral lengths.
    tkxPlaneCurve3::sJDInfo info;
    info.m_rLs1 = 50;
    info.m_rLs2 = 50;
    info.m_rR = 0;
    curve.SetJDInfo(info);
    EXPECT_EQ(0.0, curve.Length());
    CArray<sUnitInfo, sUnitInfo> units;
    curve.GetUnitInfos(units);
    EXPECT_EQ(0, units.GetSize());
}

TEST(PlaneCurve, PlacingRefusalsAndStraightNeighbours)
{
    tkxPlaneCurve3 curve;
    CString message;
    ASSERT_EQ(1, curve.ReadJDFile(L"3 1000 0 -1 L100 600 L150 -1", message));
    // Neighbours in one line: no curve.
    EXPECT_EQ(1, curve.SetTurnAngle(kPrev, tkxPoint3d(0, 2000, 0)));
    EXPECT_EQ(0.0, curve.Length());

    // Spirals turning further than the deflection.
    ASSERT_EQ(1, curve.ReadJDFile(L"3 1000 0 -1 L600 600 L600 -1", message));
    EXPECT_EQ(0, curve.SetTurnAngle(kPrev, kNext));
    EXPECT_EQ(Utf8(L"设置平曲线偏角失败,计算圆心角(-0.100000)小于0,请检查设计参数!"), Utf8(tkx_GetLastError()));

    // Spirals alone, meeting in the middle: no arc is left.
    ASSERT_EQ(1, curve.ReadJDFile(L"3 1000 0 -1 L270 300 L270 -1", message));
    ASSERT_EQ(1, curve.SetTurnAngle(kPrev, kNext)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(0.0, curve.ArcLength());
    EXPECT_NEAR(540.0, curve.Length(), 1e-9);
    EXPECT_NEAR(curve.T1(), curve.T2(), 1e-6);
    EXPECT_NEAR(300.0, curve.R(), 1e-9);
}
