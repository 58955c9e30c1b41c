// Part width and cross-fall lists: values between and beyond the points in
// every transition mode, the interval search, the width expression, and the
// widening list generated from roads with several widening runs.
#include "corvane/base/LastError.h"
#include "corvane/section/PartLists.h"
#include "corvane/section/WidenStandard.h"
#include "section_test_support.h"

#include <cmath>
#include <cwchar>
#include <vector>

using namespace Tavix4;
using namespace section_test;

namespace {

constexpr double kInfinite = 1e10;

sSegmentValue Point(double station, double value, const wchar_t* label = L"")
{
    sSegmentValue p;
    p.m_rZH = station;
    p.m_rValue = value;
    wcsncpy(p.m_sLabel, label, 63);
    return p;
}

struct Expected {
    double station;
    double value;
    const char* label;
};

void ExpectList(const tkxPartWidth& width, const std::vector<Expected>& expected)
{
    std::vector<sSegmentValue> points;
    width.GetWidthenList(points);
    ASSERT_EQ(expected.size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "point " << i);
        EXPECT_NEAR(expected[i].station, points[i].m_rZH, 1e-9);
        EXPECT_NEAR(expected[i].value, points[i].m_rValue, 1e-12);
        EXPECT_EQ(expected[i].label, Utf8(points[i].m_sLabel));
        if (i > 0) EXPECT_LE(points[i - 1].m_rZH, points[i].m_rZH + 1e-9) << "stations must not fall";
    }
}

// Both list classes answer the same questions the same way.
template <class List>
void Fill(List& list, const std::vector<sSegmentValue>& points, int mode);
template <>
void Fill(tkxPartWidth& list, const std::vector<sSegmentValue>& points, int mode)
{
    std::vector<sSegmentValue> copy = points;
    list.SetWidthenList(copy);
    list.SetTransMode(static_cast<enPartWTransition>(mode));
}
template <>
void Fill(tkxPartSlope& list, const std::vector<sSegmentValue>& points, int mode)
{
    std::vector<sSegmentValue> copy = points;
    list.SetList(copy);
    list.SetTransMode(static_cast<enPartHTransition>(mode));
}
double ValueAt(const tkxPartWidth& list, double s) { return list.GetWidthen(s); }
double ValueAt(const tkxPartSlope& list, double s) { return list.GetSlope(s); }

template <class List>
void ExpectValues()
{
    const std::vector<sSegmentValue> rising = {Point(0, 0), Point(100, 1)};
    const std::vector<sSegmentValue> falling = {Point(0, 1), Point(100, 0)};
    const std::vector<sSegmentValue> three = {Point(0, 2), Point(50, -1), Point(80, 3)};
    struct Case {
        const std::vector<sSegmentValue>* points;
        int mode;
        double station;
        double expected;
    } cases[] = {
        {&rising, 1, 25, 0.25},
        {&rising, 3, 25, 0.15625},
        {&rising, 2, 25, 0.4375},
        {&rising, 4, 25, 0.05078125},
        {&falling, 2, 75, 0.4375},
        {&falling, 1, 75, 0.25},
        // Before the first point and after the last the end values hold.
        {&rising, 2, -10, 0},
        {&rising, 3, 100 + 1e-7, 1},
        {&rising, 4, 1e6, 1},
        {&three, 2, -1e-7, 2},
        // On an inner point, in every mode, that point's value.
        {&three, 1, 50, -1},
        {&three, 2, 50, -1},
        {&three, 3, 50, -1},
        {&three, 4, 50, -1},
        {&three, 1, 80, 3},
        // Between inner points, the shape from the smaller magnitude.
        {&three, 1, 65, 1},
        {&three, 2, 65, -1 + 4 * 0.75},
        {&three, 3, 25, -1 + 3 * 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.station);
        List list;
        Fill(list, *c.points, c.mode);
        EXPECT_NEAR(c.expected, ValueAt(list, c.station), 1e-12);
    }

    List list;
    EXPECT_EQ(0.0, ValueAt(list, 10)); // empty
    Fill(list, {Point(40, 0.7)}, 2);
    EXPECT_EQ(0.7, ValueAt(list, 0));  // one point
    EXPECT_EQ(0.7, ValueAt(list, 90));
    Fill(list, {Point(0, 1), Point(1e-7, 2)}, 3);
    EXPECT_NEAR(1.5, ValueAt(list, 5e-8), 1e-12); // points closer than 1e-6
}

} // namespace

TEST(PartLists, ValuesBetweenAndBeyondThePoints)
{
    {
        SCOPED_TRACE("width list");
        ExpectValues<tkxPartWidth>();
    }
    {
        SCOPED_TRACE("cross-fall list");
        ExpectValues<tkxPartSlope>();
    }
}

TEST(PartLists, FindIndexNamesTheInterval)
{
    const std::vector<sSegmentValue> points = {Point(0, 0), Point(10, 0), Point(20, 0), Point(30, 0), Point(40, 0)};
    struct Case {
        double station;
        int expected;
    } cases[] = {
        {-1, -1},   {-1e-7, 0}, {0, 0},  {5, 0},       {10 - 1e-7, 1}, {10, 1},  {15, 1},  {20, 2},
        {25, 2},    {30, 3},    {39, 3}, {40 + 1e-7, 3}, {40.1, 5},    {1e9, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, tkxPartWidth::FindIndex(points, c.station)) << "station " << c.station;
    EXPECT_EQ(-1, tkxPartWidth::FindIndex({Point(5, 1)}, 5));
    EXPECT_EQ(-1, tkxPartWidth::FindIndex({}, 5));
}

TEST(PartLists, PointsExpressionsAndModesAreCopiedWhole)
{
    tkxPartWidth width;
    EXPECT_EQ(L"0", width.GetExpression());
    EXPECT_EQ(PWT_LINEAR, width.GetTransMode());
    tkxPartSlope slope;
    EXPECT_EQ(L"$H0+$B*$I", slope.GetExpression());
    EXPECT_EQ(PHT_LINEAR, slope.GetTransMode());

    width.AddWidenList(Point(0, 0.5, L"R-∞"));
    width.AddWidenList(Point(50, 1.5, L"R-60.000"));
    width.SetExpression(L"3.75+$JK");
    width.SetTransMode(PWT_CUBIC);
    tkxPartWidth copy(width);
    tkxPartWidth assigned;
    assigned.AddWidenList(Point(7, 7));
    assigned = width;
    for (const tkxPartWidth* w : {&copy, &assigned}) {
        EXPECT_EQ(2, w->GetCount());
        EXPECT_EQ(L"3.75+$JK", w->GetExpression());
        EXPECT_EQ(PWT_CUBIC, w->GetTransMode());
        sSegmentValue p = Point(-1, -1, L"untouched");
        EXPECT_EQ(1, w->GetAt(1, p));
        EXPECT_EQ(50, p.m_rZH);
        EXPECT_EQ("R-60.000", Utf8(p.m_sLabel));
        p = Point(-1, -1, L"untouched");
        EXPECT_EQ(0, w->GetAt(2, p));
        EXPECT_EQ(0, w->GetAt(-1, p));
        EXPECT_EQ(-1, p.m_rZH);
        EXPECT_EQ("untouched", Utf8(p.m_sLabel));
    }
    std::vector<sSegmentValue> out = {Point(9, 9), Point(9, 9), Point(9, 9)};
    copy.GetWidthenList(out);
    EXPECT_EQ(2u, out.size());
    copy.ResetList();
    EXPECT_EQ(0, copy.GetCount());
    EXPECT_EQ(2, width.GetCount());

    slope.AddListItem(Point(0, 2));
    slope.SetTransMode(PHT_QUARTIC);
    tkxPartSlope slopeCopy;
    slopeCopy.AddListItem(Point(1, 1));
    slopeCopy.AddListItem(Point(2, 1));
    slopeCopy = slope;
    EXPECT_EQ(1, slopeCopy.GetCount());
    EXPECT_EQ(PHT_QUARTIC, slopeCopy.GetTransMode());
}

TEST(PartLists, WidthExpressions)
{
    StationSettings settings(3, 1); // the widening is written with trailing zeros
    tkxPartWidth width;
    width.AddWidenList(Point(0, 0));
    width.AddWidenList(Point(100, 1));
    width.AddWidenList(Point(200, -0.5));
    struct Case {
        const wchar_t* expression;
        double station;
        double expected;
    } cases[] = {
        {L"2*$jk", 50, 1},          // lower case
        {L"0", 50, 0},
        {L"3.5+$JK+$Jk", 100, 5.5}, // every occurrence
        {L"3.5-$JK", 200, 4},       // a narrowing
        {L"$JK^2", 200, 0.25},
        {L"", 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.expression));
        width.SetExpression(c.expression);
        double result = -99;
        EXPECT_EQ(1, width.CaluWExpression(c.station, result)) << Utf8(tkx_GetLastError());
        EXPECT_NEAR(c.expected, result, 1e-9);
    }

    // Texts that give no number: the message names the text as evaluated,
    // and the result is left alone.
    struct Failure {
        const wchar_t* expression;
        const char* message;
    } failures[] = {
        {L"2*", "\n路基部件宽度表达式计算失败![2*, 缺少参数]"},
        {L"$B*$jk", "\n路基部件宽度表达式计算失败![$B*0.500000000, "},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(Utf8(f.expression));
        width.SetExpression(f.expression);
        double result = -99;
        EXPECT_EQ(0, width.CaluWExpression(50, result));
        EXPECT_EQ(-99, result);
        EXPECT_EQ(0u, Utf8(tkx_GetLastError()).find(f.message)) << Utf8(tkx_GetLastError());
    }
}

TEST(PartLists, CrossFallExpressions)
{
    StationSettings settings(3, 1);
    tkxPartSlope slope;
    struct Case {
        const wchar_t* expression;
        double h0, b, i;
        double expected;
    } cases[] = {
        {L"$H0+$B*$I", 0.5, 3.75, 2, 8},         // the default expression
        {L"$h0+$b*$i", 100.25, 3.5, -0.02, 100.18}, // lower case, a negative fall
        {L"$B*$I/100", 3.5, 3.5, -2, -0.07},
        {L"-$I", 0, 0, -1.5, 1.5},
        {L"$H0", -12.5, 0, 0, -12.5},
        {L"1.5", 9, 9, 9, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.expression));
        slope.SetExpression(c.expression);
        double result = -99;
        EXPECT_EQ(1, slope.CaluExpression(c.h0, c.b, c.i, result)) << Utf8(tkx_GetLastError());
        EXPECT_NEAR(c.expected, result, 1e-9);
    }
    EXPECT_EQ(CString(L"$H0+$B*$I"), tkxPartSlope().GetExpression());

    // Texts that give no number: the message names the text as evaluated,
    // and the result is left alone.
    for (const wchar_t* bad : {L"$B*", L"$JK+$I"}) {
        SCOPED_TRACE(Utf8(bad));
        slope.SetExpression(bad);
        double result = -99;
        tkx_SetLastError(L"");
        EXPECT_EQ(0, slope.CaluExpression(0.5, 3.75, 2, result));
        EXPECT_EQ(-99, result);
        EXPECT_EQ(0u, Utf8(tkx_GetLastError()).find(Utf8(L"\n路基部件横坡度表达式计算失败![")))
            << Utf8(tkx_GetLastError());
    }
}

TEST(PartLists, TheCrossFallListIsNotGeneratedAndSaysSo)
{
    tkxPartSlope slope;
    slope.AddListItem(Point(0, 2));
    tkxRoadObject road;
    RoadBuilder(road).Straight(100).Arc(50, 60, DIR_LEFT).Straight(100);
    tkx_SetLastError(L"");
    EXPECT_EQ(0, slope.AutoGeneralList(&road, DIR_LEFT, 10, nullptr));
    EXPECT_FALSE(tkx_GetLastError().IsEmpty());
    EXPECT_EQ(1, slope.GetCount());
}

// ---------------------------------------------------------------------------
// Generated widening lists

TEST(AutoWidenList, AStraightArcStraightRoad)
{
    tkxRoadObject road;
    road.SetRoadLevel(ROAD_SECOND_CLASS);
    RoadBuilder(road).Straight(200).Arc(60, 60, DIR_LEFT).Straight(240);
    tkxPartWidth width;
    ASSERT_EQ(6, width.AutoGeneralWidthenList(&road, DIR_LEFT, 0, 10, nullptr)) << Utf8(tkx_GetLastError());
    ExpectList(width, {{0, 0, "R-∞"},
                       {190, 0, "R-∞"},
                       {200, 0.6, "R-60.000"},
                       {260, 0.6, "R-60.000"},
                       {270, 0, "R-∞"},
                       {500, 0, "R-∞"}});
    EXPECT_NEAR(0.3, width.GetWidthen(195), 1e-9);
    EXPECT_NEAR(0.6, width.GetWidthen(230), 1e-9);

    // The outer side of the curve needs no widening.
    ASSERT_EQ(2, width.AutoGeneralWidthenList(&road, DIR_RIGHT, 0, 10, nullptr));
    ExpectList(width, {{0, 0, "R-∞"}, {500, 0, "R-∞"}});
}

TEST(AutoWidenList, SeveralWideningRunsOnBothSides)
{
    // A spiral curve to the left, a direct arc compounding into a sharper
    // arc, a short straight, an arc to the right and a closing straight.
    tkxRoadObject road;
    road.SetRoadLevel(ROAD_THIRD_CLASS);
    RoadBuilder(road)
        .Straight(100)
        .Spiral(60, kInfinite, 100, DIR_LEFT)
        .Arc(100, 100, DIR_LEFT)
        .Spiral(60, 100, kInfinite, DIR_LEFT)
        .Straight(180)
        .Arc(60, 60, DIR_LEFT)
        .Arc(40, 40, DIR_LEFT)
        .Straight(30)
        .Arc(70, 80, DIR_RIGHT)
        .Straight(200);

    tkxPartWidth left;
    ASSERT_EQ(12, left.AutoGeneralWidthenList(&road, DIR_LEFT, 0, 20, nullptr)) << Utf8(tkx_GetLastError());
    ExpectList(left, {{0, 0, "R-∞"},
                      {100, 0, "R-∞"},          // the spiral starts from the straight
                      {160, 0.4, "R-100.000"},  // and reaches the curve's widening
                      {260, 0.4, "R-100.000"},
                      {320, 0, "R-∞"},
                      {480, 0, "R-∞"},          // run-up over 20 m before the direct arc
                      {500, 0.6, "R-60.000"},
                      {550, 0.6, "R-60.000"},   // 10 m either side of the compound point
                      {570, 0.7, "R-40.000"},
                      {595, 0.7, "R-40.000"},   // the short straight: run-out to its middle
                      {615, 0, "R-∞"},
                      {900, 0, "R-∞"}});

    tkxPartWidth right;
    ASSERT_EQ(6, right.AutoGeneralWidthenList(&road, DIR_RIGHT, 0, 20, nullptr)) << Utf8(tkx_GetLastError());
    ExpectList(right, {{0, 0, "R-∞"},
                       {610, 0, "R-∞"},
                       {630, 0.5, "R-80.000"},
                       {700, 0.5, "R-80.000"},
                       {720, 0, "R-∞"},
                       {900, 0, "R-∞"}});

    // Class 3 (table 2, whole values): radius 100 is beyond the table, so
    // the spiral curve brings points of no widening.
    tkxPartWidth class3;
    ASSERT_EQ(11, class3.AutoGeneralWidthenList(&road, DIR_LEFT, 3, 20, nullptr));
    ExpectList(class3, {{0, 0, "R-∞"},
                        {160, 0, "R-100.000"},
                        {260, 0, "R-100.000"},
                        {320, 0, "R-∞"},
                        {480, 0, "R-∞"},
                        {500, 0.25, "R-60.000"},
                        {550, 0.25, "R-60.000"},
                        {570, 1.0, "R-40.000"},
                        {595, 1.0, "R-40.000"},
                        {615, 0, "R-∞"},
                        {900, 0, "R-∞"}});
}

// A reverse curve widens each arc on its inner side only.  Were the pair of
// arcs handled only when the first turns toward the side, with the second
// arc's widening taken whatever its turn, the left side would keep 0.6 m
// from the left arc across the whole right arc (the two values being equal,
// no point would end it), and the right side, whose first arc turns away,
// would get no widening at all on the right arc.
TEST(AutoWidenList, AReverseCurveWidensEachArcOnItsInnerSide)
{
    tkxRoadObject road;
    RoadBuilder(road).Straight(100).Arc(60, 60, DIR_LEFT).Arc(60, 60, DIR_RIGHT).Straight(180);
    tkxPartWidth left;
    ASSERT_EQ(6, left.AutoGeneralWidthenList(&road, DIR_LEFT, 0, 20, nullptr));
    ExpectList(left, {{0, 0, "R-∞"},
                      {80, 0, "R-∞"},
                      {100, 0.6, "R-60.000"},
                      {150, 0.6, "R-60.000"},
                      {170, 0, "R-60.000"},
                      {400, 0, "R-∞"}});
    EXPECT_EQ(0.0, left.GetWidthen(190));

    tkxPartWidth right;
    ASSERT_EQ(6, right.AutoGeneralWidthenList(&road, DIR_RIGHT, 0, 20, nullptr));
    ExpectList(right, {{0, 0, "R-∞"},
                       {150, 0, "R-60.000"},
                       {170, 0.6, "R-60.000"},
                       {220, 0.6, "R-60.000"},
                       {240, 0, "R-∞"},
                       {400, 0, "R-∞"}});
}

TEST(AutoWidenList, ARunUpNeverStartsBeforeThePointBefore)
{
    // The run-out of the first curve ends 30 m before the second, shorter
    // than the transition length: the run-up to the second curve starts
    // where the run-out ended and reaches the curve's middle.
    tkxRoadObject road;
    RoadBuilder(road).Straight(100).Arc(100, 60, DIR_LEFT).Straight(60).Arc(30, 60, DIR_LEFT).Straight(210);
    tkxPartWidth width;
    ASSERT_EQ(10, width.AutoGeneralWidthenList(&road, DIR_LEFT, 0, 50, nullptr));
    ExpectList(width, {{0, 0, "R-∞"},
                       {50, 0, "R-∞"},
                       {100, 0.6, "R-60.000"},
                       {180, 0.6, "R-60.000"},
                       {230, 0, "R-∞"},
                       {230, 0, "R-∞"},
                       {275, 0.6, "R-60.000"},
                       {290, 0.6, "R-60.000"},
                       {340, 0, "R-∞"},
                       {500, 0, "R-∞"}});
}

TEST(AutoWidenList, StandardsByRoadLevelAndFromAFile)
{
    ScratchFolder folder(L"auto_widen");
    tkxRoadObject road;
    RoadBuilder(road).Straight(200).Arc(60, 60, DIR_LEFT).Straight(240);
    tkxPartWidth width;

    // A city road takes the city table whole: 0.45 for radius 60, class 0.
    road.SetRoadLevel(ROAD_URBAN_ARTERIAL);
    ASSERT_EQ(6, width.AutoGeneralWidthenList(&road, DIR_LEFT, 0, 10, nullptr));
    EXPECT_NEAR(0.45, width.GetWidthen(230), 1e-12);

    // A standard file replaces the defaults, for any level.
    tkxWidenStandard standard;
    standard.SetCivilRoadDefaultData();
    const CString path = folder / L"city.wdn";
    ASSERT_EQ(1, standard.OutputFile(path));
    road.SetRoadLevel(ROAD_EXPRESSWAY);
    ASSERT_EQ(6, width.AutoGeneralWidthenList(&road, DIR_LEFT, 1, 10, path));
    EXPECT_NEAR(0.45, width.GetWidthen(230), 1e-12); // half of 0.9 by the highway rule

    // No units: one point.
    tkxRoadObject empty;
    EXPECT_EQ(1, width.AutoGeneralWidthenList(&empty, DIR_LEFT, 0, 10, nullptr));
    ExpectList(width, {{0, 0, "R-∞"}});
}

TEST(AutoWidenList, RefusalsLeaveTheListAsItWas)
{
    ScratchFolder folder(L"auto_widen_refused");
    tkxRoadObject road;
    RoadBuilder(road).Straight(200).Arc(60, 60, DIR_LEFT).Straight(240);
    tkxPartWidth width;
    width.AddWidenList(Point(10, 0.25, L"kept"));

    struct Case {
        const char* what;
        enRoadLevel level;
        unsigned short widenClass;
        CString file;
        std::string message;
    } cases[] = {
        {"unknown highway class", ROAD_EXPRESSWAY, 5, L"", "\n无效的加宽类别<5>."},
        {"class beyond the city rule", ROAD_URBAN_BRANCH, 3, L"", "\n无效的城市道路车辆类型<3>."},
        {"standard file missing", ROAD_EXPRESSWAY, 0, folder / L"missing.wdn",
         "\n读取加宽标准文件<" + Utf8(folder / L"missing.wdn") + ">失败!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        road.SetRoadLevel(c.level);
        EXPECT_EQ(0, width.AutoGeneralWidthenList(&road, DIR_LEFT, c.widenClass, 10, c.file));
        EXPECT_EQ(c.message, Utf8(tkx_GetLastError()));
        ExpectList(width, {{10, 0.25, "kept"}});
    }
    EXPECT_EQ(0, width.AutoGeneralWidthenList(nullptr, DIR_LEFT, 0, 10, nullptr));
    EXPECT_FALSE(tkx_GetLastError().IsEmpty());
    ExpectList(width, {{10, 0.25, "kept"}});
}
