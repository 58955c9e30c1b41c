// Straight and arc units and the unit base: points against closed forms, the
// unit-file lines and their messages, nearest points, reversing, typing,
// the archive form and the unit joining two station points.
#include "alignment_test_support.h"
#include "corvane/project/StationText.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/LineArcUnits.h"

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

using namespace Tavix4;
using namespace alignment_test;

namespace {

sZHPtInfo StartAt(double x, double y, double azimuth, double station = 0.0, double radius = 1e10)
{
    sZHPtInfo p;
    p.m_rX = x;
    p.m_rY = y;
    p.m_rAzimuth = azimuth;
    p.m_rZH = station;
    p.m_rRadius = radius;
    return p;
}

void ExpectPoint(const sZHPtInfo& p, double x, double y, double tol = 1e-9)
{
    EXPECT_NEAR(x, p.m_rX, tol);
    EXPECT_NEAR(y, p.m_rY, tol);
}

double Wrap(double a)
{
    a = std::fmod(a, 2 * kPi);
    if (a < 0) a += 2 * kPi;
    return a;
}

} // namespace

// ---------------------------------------------------------------------------
// Records and the base

TEST(UnitBase, NewRecordsAndUnits)
{
    const sZHPtInfo record;
    EXPECT_EQ(1e8, record.m_rRadius);
    EXPECT_EQ(0.0, record.m_rZH);
    EXPECT_TRUE(record.m_SName.IsEmpty());

    tkxLineUnit line;
    EXPECT_EQ(1e10, line.StartR());
    EXPECT_EQ(1e10, line.EndR());
    tkxClothoidUnit clothoid;
    EXPECT_EQ(1e10, clothoid.StartR());
    EXPECT_EQ(1e10, clothoid.EndR());
    clothoid.Reset();
    EXPECT_EQ(0.0, clothoid.StartR());
    EXPECT_EQ(0.0, clothoid.EndR());

    tkxArcUnit arc;
    EXPECT_EQ(0.0, arc.R());
    EXPECT_EQ(2, arc.GetUnitColor());
    EXPECT_EQ(4, line.GetUnitColor());
    // The suite's entity colours (defaults until the settings are read).
    EXPECT_EQ(4, tkxRoadPMUnit::DefaultColor(UNIT_LINE));
    EXPECT_EQ(2, arc.DefaultColor());
    EXPECT_EQ(1, tkxRoadPMUnit::DefaultColor(UNIT_CLOTHOID_DEC));
    EXPECT_EQ(6, tkxRoadPMUnit::DefaultColor(UNIT_CLOTHOID_OUT));
}

// Everything a unit shows of itself, number by number.
std::vector<double> Observed(const tkxRoadPMUnit& unit)
{
    std::vector<double> values{static_cast<double>(unit.GetUnitColor()), static_cast<double>(unit.TurnDir()),
                               static_cast<double>(unit.StartPTMutation()), unit.GetLength(), unit.GetBeta()};
    for (const sZHPtInfo& p : {unit.StartPtInfo(), unit.EndPtInfo()}) {
        values.insert(values.end(), {p.m_rZH, p.m_rAzimuth, p.m_rRadius, p.m_rX, p.m_rY, p.m_rZ});
        values.push_back(p.m_SName.IsEmpty() ? 0.0 : 1.0);
    }
    double ref[3];
    unit.StartRefPt(ref);
    values.insert(values.end(), ref, ref + 3);
    unit.EndRefPt(ref);
    values.insert(values.end(), ref, ref + 3);
    return values;
}

// A new straight or arc is the unit Reset leaves (a straight with both radii
// infinite).
TEST(UnitBase, NewUnitIsAResetOne)
{
    struct Case {
        const char* name;
        std::function<tkxRoadPMUnit*()> make;
        bool infiniteRadii;
    };
    const Case cases[] = {
        {"straight", [] { return new tkxLineUnit; }, true},
        {"arc", [] { return new tkxArcUnit; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<tkxRoadPMUnit> fresh(c.make()), reset(c.make());
        reset->Reset();
        std::vector<double> expected = Observed(*reset);
        if (c.infiniteRadii) expected[5 + 2] = expected[5 + 7 + 2] = 1e10;
        EXPECT_EQ(expected, Observed(*fresh));
    }
}

TEST(UnitBase, DescriptionText)
{
    StationSettings settings{3, 1};
    tkxArcUnit arc;
    ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(0, 0, kPi / 2, 120), L"2, 100, 50, 1")));
    // Heading east, turning right by 0.5 rad about the centre (0, -100): the
    // end lies at (100 sin 0.5, -100 (1 - cos 0.5)) = (47.943, -12.242),
    // heading 90° + 28°38'52.4".
    const CString expected = L"单元类型: 圆曲线(右)\t长度:50.000\n起点信息：\n桩号:120.000, 方位角:90d0'00.0\", 半径:100.000\n"
                             L"坐标:X=0.000, Y=0.000, Z=0.000\n终点信息：\n桩号:170.000, 方位角:118d38'52.4\", 半径:100.000\n"
                             L"坐标:X=47.943, Y=-12.242, Z=0.000";
    EXPECT_EQ(Utf8(expected), Utf8(arc.List()));
}

TEST(UnitBase, UnitInfoTypesFromTheRadii)
{
    struct {
        double r1, r2;
        int type;
    } cases[] = {
        {1e10, 1e10, UNIT_LINE},       {2e6, 5e6, UNIT_LINE},          {500, 500.0000001, UNIT_ARC},
        {1e10, 300, UNIT_CLOTHOID_IN}, {300, 1e10, UNIT_CLOTHOID_OUT}, {600, 300, UNIT_CLOTHOID_DEC},
        {300, 600, UNIT_CLOTHOID_INC}, {300, 300.0005, UNIT_LINE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r1 << " " << c.r2);
        tkxClothoidUnit unit;
        unit.SetStartR(c.r1, 0);
        unit.SetEndR(c.r2, 0);
        EXPECT_EQ(c.type, unit.GetUnitInfo().m_iUnitType);
    }
}

TEST(UnitBase, SetTurnRefusesWhatDoesNotFit)
{
    tkxArcUnit arc;
    ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(0, 0, 0), L"2, 100, 50, 1")));
    EXPECT_EQ(0, arc.SetTurn(DIR_NONE, 1));
    EXPECT_EQ(DIR_RIGHT, arc.TurnDir());
    tkxLineUnit line;
    EXPECT_EQ(0, line.SetTurn(DIR_LEFT, 1));
    EXPECT_EQ(DIR_NONE, line.TurnDir());
    EXPECT_EQ(1, arc.SetTurn(DIR_LEFT, 1));
    ExpectPoint(arc.EndPtInfo(), -100 + 100 * std::cos(0.5), 100 * std::sin(0.5));
}

TEST(UnitBase, MoveToDropsTheStartElevationAndCarriesTheEnd)
{
    tkxLineUnit line;
    ASSERT_EQ("", Utf8(line.LoadFromString(StartAt(10, 20, 0), L"1, 30")));
    const double to[2] = {110, 220};
    EXPECT_EQ(1, line.MoveTo(to));
    ExpectPoint(line.StartPtInfo(), 110, 220);
    ExpectPoint(line.EndPtInfo(), 110, 250);
    EXPECT_EQ(0.0, line.StartPtInfo().m_rZ);
}

// A record's name (short or long) stays with the unit through loading,
// recomputing, copying and the archive; Reset clears it.
TEST(UnitBase, RecordNamesStayWithTheUnit)
{
    for (const wchar_t* name : {L"ZH", L"K12+345.678 交点JD17 的直缓点"}) {
        SCOPED_TRACE(Utf8(name));
        sZHPtInfo start = StartAt(10, 20, 0.3, 100.0, 1e10);
        start.m_SName = name;
        tkxClothoidUnit unit;
        ASSERT_EQ("", Utf8(unit.LoadFromString(start, L"3, 120, 200, -1")));
        EXPECT_EQ(Utf8(name), Utf8(unit.StartPtInfo().m_SName));
        EXPECT_EQ("", Utf8(unit.EndPtInfo().m_SName));

        sZHPtInfo end = unit.EndPtInfo();
        end.m_SName = L"HY";
        double base[3] = {unit.GetBasePt_X(), unit.GetBasePt_Y(), 0.0};
        unit.SetUnitInfo(unit.StartPtInfo(), end, unit.A(), unit.GetLength(), unit.GetBeta(), base,
                         unit.GetBaseAzimuth(), -1);
        EXPECT_EQ(1, unit.GetOtherData()); // the end worked out anew keeps its name
        EXPECT_EQ(Utf8(name), Utf8(unit.StartPtInfo().m_SName));
        EXPECT_EQ("HY", Utf8(unit.EndPtInfo().m_SName));

        const tkxClothoidUnit copy(unit);
        tkxClothoidUnit assigned;
        assigned = unit;
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            unit.Serialize(ar);
        }
        const std::vector<BYTE> bytes = file.Data();
        CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
        tkxClothoidUnit loaded;
        {
            CArchive ar(&in, CArchive::load);
            loaded.Serialize(ar);
        }
        const tkxClothoidUnit* others[] = {&copy, &assigned, &loaded};
        for (const tkxClothoidUnit* other : others) {
            EXPECT_EQ(Utf8(name), Utf8(other->StartPtInfo().m_SName));
            EXPECT_EQ("HY", Utf8(other->EndPtInfo().m_SName));
        }
        unit.Reset();
        EXPECT_EQ("", Utf8(unit.StartPtInfo().m_SName));
        EXPECT_EQ("", Utf8(unit.EndPtInfo().m_SName));
    }
}

TEST(UnitBase, ArchiveKeepsTheRecordsAndOnlyTheThreeTurns)
{
    tkxArcUnit arc;
    ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(5, 6, 1.0, 100), L"2, 250, 80, -1")));
    auto store = [](tkxRoadPMUnit& unit) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            unit.Serialize(ar);
        }
        return file.Data();
    };
    auto load = [](const std::vector<BYTE>& bytes, tkxRoadPMUnit& unit) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        unit.Serialize(ar);
    };
    std::vector<BYTE> bytes = store(arc);
    tkxArcUnit back;
    load(bytes, back);
    back.GetOtherData();
    EXPECT_EQ(DIR_LEFT, back.TurnDir());
    EXPECT_NEAR(80.0, back.GetLength(), 1e-12);
    ExpectPoint(back.EndPtInfo(), arc.EndPtInfo().m_rX, arc.EndPtInfo().m_rY);

    // Turn 5 is stored as 0; -1 reads back, 7 reads as 0.
    arc.SetTurn(static_cast<enDir>(5), 0);
    bytes = store(arc);
    int stored = 0;
    memcpy(&stored, bytes.data() + 4, 4);
    EXPECT_EQ(0, stored);
    for (int turn : {-1, 7}) {
        memcpy(bytes.data() + 4, &turn, 4);
        load(bytes, back);
        EXPECT_EQ(turn == -1 ? -1 : 0, back.TurnDir());
    }
}

// ---------------------------------------------------------------------------
// Straights

TEST(LineUnit, PointsAlongTheLine)
{
    tkxLineUnit line;
    ASSERT_EQ("", Utf8(line.LoadFromString(StartAt(0, 0, kPi / 2, 500), L"1, 100")));
    ExpectPoint(line.EndPtInfo(), 100, 0);
    EXPECT_NEAR(600.0, line.EndZH(), 1e-12);
    EXPECT_EQ(0, line.StartPTMutation());
    EXPECT_EQ("1, 100.00000000000000000000", Utf8(line.SaveToString()));

    // With its own azimuth the straight heads north and writes it back.
    ASSERT_EQ("", Utf8(line.LoadFromString(StartAt(0, 0, kPi / 2, 500), L"1, 100, 0")));
    ExpectPoint(line.EndPtInfo(), 0, 100);
    EXPECT_EQ(1, line.StartPTMutation());
    EXPECT_EQ("1, 100.00000000000000000000, 0.00000000000000000000", Utf8(line.SaveToString()));

    sZHPtInfo p;
    ASSERT_EQ(1, line.GetPoint(30, p));
    ExpectPoint(p, 0, 30);
    EXPECT_NEAR(530.0, p.m_rZH, 1e-12);
    ASSERT_EQ(1, line.GetPoint(100.0005, p));
    ExpectPoint(p, 0, 100);
    EXPECT_EQ(0, line.GetPoint(100.002, p));
    EXPECT_EQ(0, line.GetPoint(-0.002, p));

    const double west[2] = {-5, 50}, east[2] = {5, 50};
    EXPECT_EQ(DIR_LEFT, line.GetLeftRight(west));
    EXPECT_EQ(DIR_RIGHT, line.GetLeftRight(east));
}

TEST(LineUnit, NearestPointInsideHasTheStraightsInfiniteRadius)
{
    tkxLineUnit line;
    ASSERT_EQ("", Utf8(line.LoadFromString(StartAt(100, 200, kPi / 4, 1000), L"1, 100")));
    const double d = 100 / std::sqrt(2.0);
    sZHPtInfo out;

    const double before[2] = {100 - 10, 200 - 5};
    line.GetNearestPoint(before, out);
    ExpectPoint(out, 100, 200);
    EXPECT_EQ(1e10, out.m_rRadius);

    // 40 m along and 7 m to the side.
    const double inside[2] = {100 + 40 / std::sqrt(2.0) - 7 / std::sqrt(2.0), 200 + 40 / std::sqrt(2.0) + 7 / std::sqrt(2.0)};
    line.GetNearestPoint(inside, out);
    ExpectPoint(out, 100 + 40 / std::sqrt(2.0), 200 + 40 / std::sqrt(2.0));
    EXPECT_NEAR(1040.0, out.m_rZH, 1e-9);
    EXPECT_EQ(1e10, out.m_rRadius);
    EXPECT_NEAR(kPi / 4, out.m_rAzimuth, 1e-12);

    const double beyond[2] = {100 + d + 3, 200 + d + 1};
    line.GetNearestPoint(beyond, out);
    EXPECT_NEAR(1100.0, out.m_rZH, 1e-9);
    ExpectPoint(out, 100 + d, 200 + d);
}

TEST(LineUnit, LineMessages)
{
    struct {
        const wchar_t* line;
        const wchar_t* message;
    } cases[] = {
        {L",,,", L"解析直线ICD格式字符失败!"},
        {L"1", L"读直线单元数据个数为1时出错!允许数据个数为2个或3个。"},
        {L"1, 1O0", L"读第2数据, 直线单元长度<1O0>时出错! "},
        {L"1, 0", L"直线单元长度<0.000>不得小于等于0! "},
        {L"1, -5", L"直线单元长度<-5.000>不得小于等于0! "},
        {L"1, 10, north", L"读第3数据, 直线单元起点方位角<north>时出错! "},
        {L"1, 10, 0.5, extra", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        tkxLineUnit line;
        EXPECT_EQ(Utf8(c.message), Utf8(line.LoadFromString(StartAt(0, 0, 0), c.line)));
    }
}

TEST(LineUnit, ScaleInverseAndRefusals)
{
    tkxLineUnit line;
    ASSERT_EQ("", Utf8(line.LoadFromString(StartAt(0, 0, 0, 10), L"1, 50")));
    EXPECT_EQ(0, line.Scale(0));
    EXPECT_EQ(0, line.Scale(-2));
    EXPECT_EQ(1, line.Scale(2));
    ExpectPoint(line.EndPtInfo(), 0, 100);
    EXPECT_NEAR(110.0, line.EndZH(), 1e-12);
    EXPECT_EQ(1, line.Inverse());
    ExpectPoint(line.StartPtInfo(), 0, 100);
    EXPECT_NEAR(kPi, line.StartAzimuth(), 1e-12);
    EXPECT_NEAR(10.0, line.StartZH(), 1e-12);
}

// ---------------------------------------------------------------------------
// Arcs

TEST(ArcUnit, PointsOnTheCircle)
{
    // From the origin heading north, R 100, length 50.  Right turn: the
    // centre lies east, at (100, 0); left turn: west, at (-100, 0).
    struct {
        const wchar_t* line;
        int turn;
    } cases[] = {{L"2, 100, 50, 1", DIR_RIGHT}, {L"2, 100, 50, 1.9", DIR_RIGHT},
                 {L"2, 100, 50, -1", DIR_LEFT}, {L"2, 100, 50, 0", DIR_LEFT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        tkxArcUnit arc;
        ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(0, 0, 0, 200, 1e10), c.line)));
        ASSERT_EQ(c.turn, arc.TurnDir());
        const double side = c.turn == DIR_RIGHT ? 1.0 : -1.0;
        double centre[3];
        arc.CentrePt(centre);
        EXPECT_NEAR(100 * side, centre[0], 1e-9);
        EXPECT_NEAR(0.0, centre[1], 1e-9);
        EXPECT_NEAR(0.5 * side, arc.EndAzimuth(), 1e-12);
        EXPECT_NEAR(0.5, arc.CenterAngle(), 1e-12);
        for (double s : {0.0, 12.5, 25.0, 49.0, 50.0}) {
            sZHPtInfo p;
            ASSERT_EQ(1, arc.GetPoint(s, p));
            const double t = s / 100;
            ExpectPoint(p, side * (100 - 100 * std::cos(t)), 100 * std::sin(t));
            EXPECT_NEAR(Wrap(side * t), p.m_rAzimuth, 1e-12);
            EXPECT_NEAR(200 + s, p.m_rZH, 1e-12);
            EXPECT_EQ(100.0, p.m_rRadius);
        }
        sZHPtInfo p;
        EXPECT_EQ(1, arc.GetPoint(50.0005, p));
        ExpectPoint(p, arc.EndPtInfo().m_rX, arc.EndPtInfo().m_rY);
        EXPECT_EQ(0, arc.GetPoint(50.002, p));

        double mid[3];
        ASSERT_EQ(1, arc.GetMidPoint(mid));
        EXPECT_NEAR(side * (100 - 100 * std::cos(0.25)), mid[0], 1e-9);
        EXPECT_NEAR(100 * std::sin(0.25), mid[1], 1e-9);

        // The file's turn field: -1 left, 1 right.
        EXPECT_EQ(Utf8(ClFormat(L"2, 100.00000000000000000000, 50.00000000000000000000, %d", c.turn == DIR_LEFT ? -1 : 1)),
                  Utf8(arc.SaveToString()));

        // A point on the circle counts as inside.
        const double on[2] = {side * (100 - 100 * std::cos(0.3)), 100 * std::sin(0.3)};
        EXPECT_EQ(c.turn == DIR_LEFT ? DIR_LEFT : DIR_RIGHT, arc.GetLeftRight(on));
    }
}

TEST(ArcUnit, NearestPoints)
{
    // The same arc turning right and left: from (0, 0) heading north, radius
    // 100, length 100; the centre lies at (side * 100, 0).
    for (int turn : {1, -1}) {
        SCOPED_TRACE(turn == 1 ? "right" : "left");
        const double side = turn;
        tkxArcUnit arc;
        ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(0, 0, 0, 1000), turn == 1 ? L"2, 100, 100, 1" : L"2, 100, 100, -1")));
        sZHPtInfo out;
        // On the radial line at 0.6 rad, outside and inside the circle.
        for (double r : {80.0, 130.0}) {
            const double p[2] = {side * (100 - r * std::cos(0.6)), r * std::sin(0.6)};
            arc.GetNearestPoint(p, out);
            EXPECT_NEAR(1060.0, out.m_rZH, 1e-9);
            ExpectPoint(out, side * (100 - 100 * std::cos(0.6)), 100 * std::sin(0.6));
            // The tangent there: turned 0.6 rad from north to the arc's side.
            EXPECT_NEAR(Wrap(side * 0.6), out.m_rAzimuth, 1e-12);
            EXPECT_EQ(100.0, out.m_rRadius);
        }
        const double behind[2] = {side * 1, -20};
        arc.GetNearestPoint(behind, out);
        EXPECT_NEAR(1000.0, out.m_rZH, 1e-12);
        EXPECT_NEAR(0.0, out.m_rAzimuth, 1e-12);
        const double beyond[2] = {side * 200, 0};
        arc.GetNearestPoint(beyond, out);
        EXPECT_NEAR(1100.0, out.m_rZH, 1e-12);
        EXPECT_NEAR(Wrap(side * 1.0), Wrap(out.m_rAzimuth), 1e-12);
    }
}

TEST(ArcUnit, InverseTurnsAroundWithoutNormalising)
{
    tkxArcUnit arc;
    ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(0, 0, 0.2), L"2, 300, 90, -1")));
    const sZHPtInfo s = arc.StartPtInfo(), e = arc.EndPtInfo();
    ASSERT_EQ(1, arc.Inverse());
    EXPECT_EQ(DIR_RIGHT, arc.TurnDir());
    EXPECT_NEAR(e.m_rAzimuth + kPi, arc.StartAzimuth(), 1e-12);
    EXPECT_NEAR(s.m_rAzimuth + kPi, arc.EndAzimuth(), 1e-12);
    ExpectPoint(arc.StartPtInfo(), e.m_rX, e.m_rY);
    ExpectPoint(arc.EndPtInfo(), s.m_rX, s.m_rY, 1e-9);
}

TEST(ArcUnit, ArcMessages)
{
    struct {
        const wchar_t* line;
        const wchar_t* message;
    } cases[] = {
        {L" , ", L"解析圆曲线ICD格式字符失败!"},
        {L"2, 100, 50", L"读圆曲线单元数据个数为3时出错!允许数据个数为4个或5个。"},
        {L"2, R100, 50, 1", L"读第2数据, 圆曲线半径<R100>时出错! "},
        {L"2, 0.0000001, 50, 1", L"读第2数据, 圆曲线半径<0.0000001>值太小! "},
        {L"2, 99999999999999999999, 300, 1", L"读第2数据, 圆曲线半径<99999999999999999999>值太大! "},
        {L"2, 10000000000, 300, 1", L"读第2数据, 圆曲线半径<10000000000>值太大! "},
        {L"2, 100, 5o, 1", L"读第3数据, 圆曲线长度<5o>时出错! "},
        {L"2, 100, 0, 1", L"读第3数据, 圆曲线单元长度<0>值太小! "},
        {L"2, 100, 50, right", L"读第4数据, 圆曲线单元转向<right>时出错! "},
        {L"2, 100, 50, 1, 1e-3", L"读第5数据, 圆曲线单元起点方位角<1e-3>时出错! "},
        {L"2, 100, 50, 1, 0.25, ignored", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        tkxArcUnit arc;
        EXPECT_EQ(Utf8(c.message), Utf8(arc.LoadFromString(StartAt(0, 0, 0), c.line)));
    }
}

// An arc turning right across north: the azimuth runs from 2*pi - 0.15 over
// 0 to 0.15.  Lengths taken from the azimuths must follow the turn, not the
// plain difference (which gives almost a full circle).
TEST(ArcUnit, ArcCrossingNorthKeepsItsLength)
{
    const double R = 200;
    tkxArcUnit arc;
    ASSERT_EQ("", Utf8(arc.LoadFromString(StartAt(1000, 5000, 2 * kPi - 0.15, 300, R), L"2, 200, 60, 1")));
    const TracedPoint traced = TracePath(1000, 5000, 2 * kPi - 0.15, {{60, 1 / R, 1 / R, DIR_RIGHT}}, 60);
    ExpectPoint(arc.EndPtInfo(), traced.x, traced.y, 1e-7);
    sZHPtInfo end;
    ASSERT_EQ(1, arc.GetPoint(60, end));
    EXPECT_NEAR(0.15, end.m_rAzimuth, 1e-12);

    sZHPtInfo a = arc.StartPtInfo();
    a.m_rRadius = R;
    end.m_rRadius = R;
    std::unique_ptr<tkxRoadPMUnit> joined(tkx_CreateRoadPMUnit(a, end));
    ASSERT_TRUE(joined);
    ASSERT_TRUE(joined->IsKindOf(RUNTIME_CLASS(tkxArcUnit)));
    EXPECT_NEAR(60.0, joined->GetLength(), 1e-9);
    EXPECT_EQ(DIR_RIGHT, joined->TurnDir());
    sZHPtInfo mid;
    ASSERT_EQ(1, joined->GetPoint(30, mid));
    const TracedPoint half = TracePath(1000, 5000, 2 * kPi - 0.15, {{60, 1 / R, 1 / R, DIR_RIGHT}}, 30);
    ExpectPoint(mid, half.x, half.y, 1e-7);
    double m[3];
    joined->GetMidPoint(m);
    EXPECT_NEAR(half.x, m[0], 1e-7);
    EXPECT_NEAR(half.y, m[1], 1e-7);

    // The same sweep at another radius.
    tkxArcUnit copy;
    copy.SetUnitInfo(a, end, std::vector<double>{0, 0, 0}.data(), 60, DIR_RIGHT);
    EXPECT_EQ(1, copy.SetR(400, 1));
    EXPECT_NEAR(120.0, copy.GetLength(), 1e-9);
}

// ---------------------------------------------------------------------------
// The unit between two station points

TEST(CreateRoadPMUnit, StraightArcAndClothoid)
{
    sZHPtInfo a = StartAt(0, 0, kPi / 2, 100);
    sZHPtInfo b = StartAt(250, 0, kPi / 2, 350);
    std::unique_ptr<tkxRoadPMUnit> unit(tkx_CreateRoadPMUnit(a, b));
    ASSERT_TRUE(unit && unit->IsKindOf(RUNTIME_CLASS(tkxLineUnit)));
    EXPECT_NEAR(250.0, unit->GetLength(), 1e-12);
    ExpectPoint(unit->EndPtInfo(), 250, 0);

    // An arc to the left, R 300, 0.4 rad.
    tkxArcUnit arc;
    ASSERT_EQ(1, arc.SetUnitInfo(StartAt(0, 0, 0.3, 0, 300), 120, DIR_LEFT));
    unit.reset(tkx_CreateRoadPMUnit(arc.StartPtInfo(), arc.EndPtInfo()));
    ASSERT_TRUE(unit && unit->IsKindOf(RUNTIME_CLASS(tkxArcUnit)));
    EXPECT_EQ(DIR_LEFT, unit->TurnDir());
    EXPECT_NEAR(120.0, unit->GetLength(), 1e-9);
    sZHPtInfo p;
    ASSERT_EQ(1, unit->GetPoint(60, p));
    sZHPtInfo q;
    arc.GetPoint(60, q);
    ExpectPoint(p, q.m_rX, q.m_rY, 1e-9);

    // A clothoid from infinite to 400 over 80 m.
    tkxClothoidUnit spiral;
    ASSERT_EQ(1, spiral.SetUnitInfo(StartAt(10, 10, 1.0, 40), 400, 80, DIR_RIGHT));
    unit.reset(tkx_CreateRoadPMUnit(spiral.StartPtInfo(), spiral.EndPtInfo()));
    ASSERT_TRUE(unit && unit->IsKindOf(RUNTIME_CLASS(tkxClothoidUnit)));
    EXPECT_NEAR(80.0, unit->GetLength(), 1e-9);
    ExpectPoint(unit->EndPtInfo(), spiral.EndPtInfo().m_rX, spiral.EndPtInfo().m_rY, 1e-9);

    // Equal radii beyond the clothoid test: no clothoid.
    sZHPtInfo c = StartAt(0, 0, 0, 0, 300);
    sZHPtInfo d = StartAt(10, 50, 0, 50, 300.0005);
    EXPECT_EQ(nullptr, tkx_CreateRoadPMUnit(c, d));
}
