// Clothoid unit: the coordinate series against the Fresnel integrals, the
// four unit types against an independently traced curve, the radius law,
// the radius and length at a tangent angle, the unit-file line and its
// messages, scaling and reversing.
#include "alignment_test_support.h"
#include "corvane/road/ClothoidUnit.h"

#include <cmath>
#include <cstring>

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

double AzimuthGap(double a, double b)
{
    double d = std::fmod(b - a, 2 * kPi);
    if (d <= -kPi) d += 2 * kPi;
    if (d > kPi) d -= 2 * kPi;
    return std::fabs(d);
}

double Curvature(double R) { return R > 99999999.99 ? 0.0 : 1.0 / R; }

struct SpiralCase {
    const wchar_t* line; // the unit line without its turn field
    int type;
    double r1, r2, A, length;
};

// One of every type, A chosen for round lengths.
const SpiralCase kSpirals[] = {
    {L"3, 164.31676725154983, 300", UNIT_CLOTHOID_IN, 1e10, 300, std::sqrt(27000.0), 90},
    {L"4, 219.08902300206645, 400", UNIT_CLOTHOID_OUT, 400, 1e10, std::sqrt(48000.0), 120},
    {L"5, 400, 800, 400", UNIT_CLOTHOID_DEC, 800, 400, 400, 200},
    {L"6, 400, 400, 800", UNIT_CLOTHOID_INC, 400, 800, 400, 200},
};

const double kStartX = 3000, kStartY = 4000, kStartAzimuth = 6.1;

class ClothoidTypes : public ::testing::TestWithParam<std::tuple<int, int>>
{
protected:
    void SetUp() override
    {
        spiral = kSpirals[std::get<0>(GetParam())];
        turn = std::get<1>(GetParam());
        const CString line = ClFormat(L"%s, %d", spiral.line, turn == DIR_LEFT ? -1 : 1);
        ASSERT_EQ("", Utf8(unit.LoadFromString(StartAt(kStartX, kStartY, kStartAzimuth, 500), line)));
    }

    TracedPoint Traced(double s) const
    {
        return TracePath(kStartX, kStartY, kStartAzimuth,
                         {{spiral.length, Curvature(spiral.r1), Curvature(spiral.r2), turn}}, s);
    }

    SpiralCase spiral{};
    int turn = 0;
    tkxClothoidUnit unit;
};

} // namespace

TEST(ClothoidSeries, AgreesWithTheFresnelIntegrals)
{
    for (double A : {60.0, 200.0, 500.0}) {
        for (double L : {5.0, 50.0, 120.0, 200.0, 300.0}) {
            if (L * L / (2 * A * A) > 2.0) continue; // beyond any unit's tangent angle
            SCOPED_TRACE(testing::Message() << "A " << A << " L " << L);
            double xy[2];
            ASSERT_EQ(1, tkxClothoidUnit::ComputeXXYY(L, A, 14, xy));
            double x, y;
            ClothoidPoint(L, A, x, y);
            EXPECT_NEAR(x, xy[0], 1e-8);
            EXPECT_NEAR(y, xy[1], 1e-8);
        }
    }
    double xy[2] = {5, 5};
    EXPECT_EQ(1, tkxClothoidUnit::ComputeXXYY(100, 0, 14, xy));
    EXPECT_EQ(0.0, xy[0]);
    EXPECT_EQ(0.0, xy[1]);
}

// The series stops once its terms can no longer change a coordinate: the
// result is the full sum of n pairs of terms to the last bit, for short and
// long clothoids, few and many terms, and where the terms first grow.
TEST(ClothoidSeries, StoppingEarlyChangesNoBit)
{
    auto fullSum = [](double L, double A, int n, double* out) {
        const double t = L * L / (2.0 * A * A);
        double x = 0.0, y = 0.0, power = 1.0;
        for (int j = 0; j < 2 * n; ++j) {
            if (j > 0) power *= t / j;
            const double term = L * power / (2.0 * j + 1.0);
            const double sign = (j / 2) % 2 == 0 ? 1.0 : -1.0;
            (j % 2 == 0 ? x : y) += sign * term;
        }
        out[0] = x;
        out[1] = y;
    };
    int compared = 0;
    for (double A : {1e-3, 0.7, 35.0, 300.0, 1234.5678, 1e6}) {
        for (double ratio : {1e-9, 1e-4, 0.01, 0.3333, 1.0, 2.0, 3.7, 6.0, 9.5, -0.75}) {
            for (int n : {1, 3, 7, 14, 20}) {
                const double L = A * ratio;
                double expected[2], actual[2];
                fullSum(L, A, n, expected);
                tkxClothoidUnit::ComputeXXYY(L, A, n, actual);
                SCOPED_TRACE(testing::Message() << "A " << A << " L " << L << " n " << n);
                EXPECT_EQ(0, std::memcmp(expected, actual, sizeof expected))
                    << expected[0] << " " << expected[1] << " / " << actual[0] << " " << actual[1];
                ++compared;
            }
        }
    }
    EXPECT_EQ(300, compared);
}

TEST(ClothoidFormulas, TypesParametersAndLengths)
{
    struct {
        double r1, r2;
        int result, type;
    } types[] = {{1e10, 300, 1, 3}, {300, 1e10, 1, 4}, {600, 300, 1, 5},  {300, 600, 1, 6},
                 {300, 300.0005, 0, -1}, {1e10, 1e9, 1, 3}};
    for (const auto& c : types) {
        tkxUnitType type = static_cast<tkxUnitType>(-1);
        EXPECT_EQ(c.result, tkxClothoidUnit::ComputeType(c.r1, c.r2, type)) << c.r1 << " " << c.r2;
        EXPECT_EQ(c.type, static_cast<int>(type));
    }
    EXPECT_NEAR(std::sqrt(27000.0), tkxClothoidUnit::ComputeA(1e10, 300, 90), 1e-9);
    EXPECT_NEAR(90.0, tkxClothoidUnit::ComputeLength(1e10, 300, std::sqrt(27000.0)), 1e-9);
    for (const SpiralCase& c : kSpirals) {
        EXPECT_NEAR(c.A, tkxClothoidUnit::ComputeA(c.r1, c.r2, c.length), 1e-9);
        EXPECT_NEAR(c.length, tkxClothoidUnit::ComputeLength(c.r1, c.r2, c.A), 1e-9);
        // The tangent turns by (l2² - l1²)/(2A²) between the origin distances.
        const double l1 = c.r1 > 1e9 ? 0 : c.A * c.A / c.r1;
        const double l2 = c.r2 > 1e9 ? 0 : c.A * c.A / c.r2;
        EXPECT_NEAR(std::fabs(l2 * l2 - l1 * l1) / (2 * c.A * c.A),
                    tkxClothoidUnit::ComputeBeta(static_cast<tkxUnitType>(c.type), c.r1, c.r2, c.A, c.length), 1e-12);
    }
    EXPECT_EQ(0.0, tkxClothoidUnit::ComputeA(300, 300, 50));
    EXPECT_EQ(0.0, tkxClothoidUnit::ComputeLength(1e10, 300, 0));
}

TEST(ClothoidFormulas, ShiftOfTheCircle)
{
    // The A that shifts a circle of R 500 by 1 m, and the distance of the
    // shifted centre from the origin tangent, against the exact shift.
    const double R = 500, p = 1;
    const double A = tkxClothoidUnit::ComputeDefaultA(p, R);
    const double L = A * A / R;
    double x, y;
    ClothoidPoint(L, A, x, y);
    const double shift = y - R * (1 - std::cos(L / (2 * R)));
    EXPECT_NEAR(p, shift, 1e-6);
    EXPECT_NEAR(R + shift, tkxClothoidUnit::ComputeCLDistance(A, R), 1e-8);
    EXPECT_EQ(0.0, tkxClothoidUnit::ComputeDefaultA(600, R));
}

TEST_P(ClothoidTypes, PointsFollowTheTracedCurve)
{
    EXPECT_EQ(spiral.type, unit.GetUnitInfo().m_iUnitType);
    EXPECT_EQ(turn, unit.TurnDir());
    ASSERT_NEAR(spiral.length, unit.GetLength(), 1e-9);
    for (double f : {0.0, 0.3, 0.5, 0.77, 1.0}) {
        const double s = f * spiral.length;
        SCOPED_TRACE(testing::Message() << "s " << s);
        sZHPtInfo p;
        ASSERT_EQ(1, unit.GetPoint(s, p));
        const TracedPoint t = Traced(s);
        EXPECT_NEAR(t.x, p.m_rX, 1e-7);
        EXPECT_NEAR(t.y, p.m_rY, 1e-7);
        EXPECT_NEAR(0.0, AzimuthGap(t.azimuth, p.m_rAzimuth), 1e-10);
        EXPECT_NEAR(500 + s, p.m_rZH, 1e-9);
    }
    // The end record is the point at the unit's length.
    sZHPtInfo end;
    ASSERT_EQ(1, unit.GetPoint(spiral.length, end));
    EXPECT_NEAR(end.m_rX, unit.EndPtInfo().m_rX, 1e-9);
    EXPECT_NEAR(end.m_rY, unit.EndPtInfo().m_rY, 1e-9);
    EXPECT_NEAR(0.0, AzimuthGap(end.m_rAzimuth, unit.EndAzimuth()), 1e-12);
    EXPECT_NEAR(unit.EndZH(), 500 + spiral.length, 1e-9);
    EXPECT_NEAR(unit.ComputeBeta(static_cast<tkxUnitType>(spiral.type), spiral.r1, spiral.r2, spiral.A, spiral.length),
                AzimuthGap(kStartAzimuth, unit.EndAzimuth()), 1e-10);
}

TEST_P(ClothoidTypes, RadiusFollowsTheClothoidLaw)
{
    EXPECT_EQ(spiral.r1, unit.GetR(0));
    EXPECT_EQ(spiral.r2, unit.GetR(spiral.length));
    const double A2 = spiral.A * spiral.A;
    // Distance from the origin (infinite radius) at the unit's start.
    const double l0 = spiral.type == UNIT_CLOTHOID_IN ? 0 : A2 / spiral.r1;
    const bool growing = spiral.type == UNIT_CLOTHOID_IN || spiral.type == UNIT_CLOTHOID_DEC;
    for (double f : {0.1, 0.4, 0.9}) {
        const double s = f * spiral.length;
        const double l = growing ? l0 + s : l0 - s; // towards or away from the origin
        EXPECT_NEAR(1.0, unit.GetR(s) * l / A2, 1e-12) << "s " << s;
    }
}

// The radius and length at which the tangent has turned by an angle follow
// R·l = A² and l²/(2A²) = tangent angle for every type.
TEST_P(ClothoidTypes, RadiusAndLengthAtATangentAngle)
{
    const double beta = unit.GetBeta();
    for (double f : {0.05, 0.25, 0.5, 0.9}) {
        const double theta = f * beta;
        SCOPED_TRACE(testing::Message() << "theta " << theta);
        double R = 0, L = 0;
        unit.GetRL(theta, R, L);
        sZHPtInfo p;
        ASSERT_EQ(1, unit.GetPoint(L, p));
        EXPECT_NEAR(theta, AzimuthGap(kStartAzimuth, p.m_rAzimuth), 1e-9);
        EXPECT_NEAR(1.0, unit.GetR(L) / R, 1e-9);
    }
    double R = 0, L = 0;
    unit.GetRL(-0.1, R, L);
    EXPECT_EQ(spiral.r1, R);
    EXPECT_EQ(0.0, L);
    unit.GetRL(beta + 0.1, R, L);
    EXPECT_EQ(spiral.r2, R);
    EXPECT_NEAR(spiral.length, L, 1e-12);
}

TEST_P(ClothoidTypes, LineRoundTripAndNearestPoint)
{
    tkxClothoidUnit back;
    ASSERT_EQ("", Utf8(back.LoadFromString(unit.StartPtInfo(), unit.SaveToString())));
    EXPECT_NEAR(unit.EndPtInfo().m_rX, back.EndPtInfo().m_rX, 1e-9);
    EXPECT_NEAR(unit.EndPtInfo().m_rY, back.EndPtInfo().m_rY, 1e-9);

    // 3 m square off the curve at 0.4 L, on either side.
    sZHPtInfo at;
    unit.GetPoint(0.4 * spiral.length, at);
    for (double side : {-3.0, 3.0}) {
        const double p[2] = {at.m_rX + side * std::cos(at.m_rAzimuth), at.m_rY - side * std::sin(at.m_rAzimuth)};
        sZHPtInfo out;
        unit.GetNearestPoint(p, out);
        EXPECT_NEAR(500 + 0.4 * spiral.length, out.m_rZH, 1e-4);
    }
}

TEST_P(ClothoidTypes, InverseRunsTheSameCurveBackwards)
{
    tkxClothoidUnit reverse;
    reverse = unit;
    ASSERT_EQ(1, reverse.Inverse());
    EXPECT_EQ(-turn, reverse.TurnDir());
    EXPECT_EQ(spiral.r2, reverse.StartR());
    for (double f : {0.2, 0.6}) {
        sZHPtInfo forward, backward;
        unit.GetPoint((1 - f) * spiral.length, forward);
        reverse.GetPoint(f * spiral.length, backward);
        EXPECT_NEAR(forward.m_rX, backward.m_rX, 1e-7);
        EXPECT_NEAR(forward.m_rY, backward.m_rY, 1e-7);
        EXPECT_NEAR(kPi, AzimuthGap(forward.m_rAzimuth, backward.m_rAzimuth), 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, ClothoidTypes,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Values(DIR_LEFT, DIR_RIGHT)));

TEST(ClothoidUnit, EntryAndExitSpiralEnds)
{
    tkxClothoidUnit entry;
    ASSERT_EQ("", Utf8(entry.LoadFromString(StartAt(0, 0, 1.0), L"3, 164.31676725154983, 300, -1")));
    EXPECT_EQ(DIR_LEFT, entry.TurnDir());
    EXPECT_NEAR(90.0, entry.GetLength(), 1e-9);
    EXPECT_NEAR(1.0 - 0.15, entry.EndAzimuth(), 1e-12);

    tkxClothoidUnit exit;
    ASSERT_EQ("", Utf8(exit.LoadFromString(StartAt(0, 0, 1.0), L"4, 219.08902300206645, 400, 1")));
    EXPECT_NEAR(exit.GetBasePt_X(), exit.EndPtInfo().m_rX, 1e-12);
    EXPECT_NEAR(exit.GetBasePt_Y(), exit.EndPtInfo().m_rY, 1e-12);
    EXPECT_NEAR(exit.GetBaseAzimuth(), exit.EndAzimuth(), 1e-12);

    // A code 5 line whose start radius is the smaller one is a type 6 unit.
    tkxClothoidUnit swapped;
    ASSERT_EQ("", Utf8(swapped.LoadFromString(StartAt(0, 0, 0), L"5, 400, 400, 800, 1")));
    EXPECT_EQ(UNIT_CLOTHOID_INC, swapped.GetUnitInfo().m_iUnitType);
    EXPECT_EQ(0, swapped.SaveToString().Find(L"6, "));
}

TEST(ClothoidUnit, ScaleAndBeta)
{
    tkxClothoidUnit entry;
    ASSERT_EQ("", Utf8(entry.LoadFromString(StartAt(0, 0, 0), L"3, 164.31676725154983, 300, 1")));
    ASSERT_EQ(1, entry.Scale(2));
    EXPECT_NEAR(2 * std::sqrt(27000.0), entry.A(), 1e-9);
    EXPECT_NEAR(180.0, entry.GetLength(), 1e-9);
    EXPECT_EQ(2e10, entry.StartR());
    EXPECT_EQ(600.0, entry.EndR());
    EXPECT_EQ(0, entry.Scale(0));

    // A new tangent change keeps the radii.
    ASSERT_EQ(1, entry.SetBeta(0.1, 1));
    EXPECT_NEAR(120.0, entry.GetLength(), 1e-9);
    EXPECT_NEAR(0.1, entry.GetBeta(), 1e-12);
    tkxClothoidUnit compound;
    ASSERT_EQ("", Utf8(compound.LoadFromString(StartAt(0, 0, 0), L"5, 400, 800, 400, 1")));
    ASSERT_EQ(1, compound.SetBeta(0.3, 1));
    EXPECT_NEAR(0.3, compound.GetBeta(), 1e-12);
    EXPECT_NEAR(0.3, AzimuthGap(0, compound.EndAzimuth()), 1e-10);
    EXPECT_EQ(400.0, compound.EndR());
}

TEST(ClothoidUnit, LineMessages)
{
    struct {
        const wchar_t* line;
        const wchar_t* message;
    } cases[] = {
        {L",", L"解析缓和曲线ICD格式字符失败!"},
        {L"3, 100", L"读缓和曲线数据个数为2时出错!允许数据个数太少。"},
        {L"0, 0.0, 0", L"读缓和曲线数据个数为3时出错!允许数据个数太少。"},
        {L"5, 100, 800, 400", L"读缓和曲线数据个数为4时出错!允许数据个数太少。"},
        {L"3, A1, 300, 1", L"读第2数据, 缓和曲线参数<A1>时出错! "},
        {L"3, 100, R300, 1", L"读第3数据, 缓和曲线终点半径<R300>时出错! "},
        {L"4, 100, x, 1", L"读第3数据, 缓和曲线起点半径<x>时出错! "},
        {L"6, 100, 0, 800, 1", L"读第3数据, 缓和曲线起点半径<0>数值太小! "},
        {L"5, 100, 800, y, 1", L"读第4数据, 缓和曲线终点半径<y>时出错! "},
        {L"6, 100, 400, 0.0000001, 1", L"读第4数据, 缓和曲线终点半径<0.0000001>数值太小! "},
        {L"7, 100, 300, 1", L"未定义的单元类型[7]。"},
        {L"5, 100, 400, 400, 1", L"缓和曲线起终点半径数值不能相同![400.000, 400.000]"},
        {L"3, 100, 300, left", L"读第4数据, 缓和曲线单元转向<left>时出错! "},
        {L"5, 100, 800, 400, r", L"读第5数据, 缓和曲线单元转向<r>时出错! "},
        {L"3, 100, 300, 1, az", L"读第5数据, 缓和曲线起点方位角<az>时出错! "},
        {L"6, 100, 400, 800, 1, 0.2x", L"读第6数据, 缓和曲线起点方位角<0.2x>时出错! "},
        {L"3, 0, 300, 1", L"缓和曲线参数错误!"},
        {L"4, 100, 300, -1, 0.5, extra", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        tkxClothoidUnit unit;
        EXPECT_EQ(Utf8(c.message), Utf8(unit.LoadFromString(StartAt(0, 0, 0), c.line)));
    }
}
