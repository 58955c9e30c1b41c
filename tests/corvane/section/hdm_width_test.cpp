// Widths, edge offsets, the part of a point, part names, edge lines and the
// depth values of a standard cross-section, against hand-worked numbers.
#include "corvane/project/Widen.h"
#include "corvane/section/RoadHDM.h"
#include "section_test_support.h"

#include <cmath>

namespace {

using Values = CArray<double, double>;

constexpr double kPi = 3.14159265358979323846;

void Fill(Values& values, std::initializer_list<double> list)
{
    values.RemoveAll();
    for (double v : list) values.Add(v);
}

// A highway whose left carriageway widens from 3.5 to 7.0 between 100 and
// 200, stays 7.0 to 300 and narrows back to 3.5 by 400; everything else is
// constant: Cen1 1.5, Ha 3.0, Sa 0.75 on the left, Cen2 1.0, Cb 3.75, Hb
// 2.5, Sb 0.5 on the right.
tkxRoadHDM WideningHighway(short mode)
{
    tkxRoadHDM hdm;
    Fill(hdm.m_WidthZH, {100.0, 200.0, 300.0, 400.0});
    Fill(hdm.m_Ca, {3.5, 7.0, 7.0, 3.5});
    Fill(hdm.m_Cen1, {1.5, 1.5, 1.5, 1.5});
    Fill(hdm.m_Ha, {3.0, 3.0, 3.0, 3.0});
    Fill(hdm.m_Sa, {0.75, 0.75, 0.75, 0.75});
    Fill(hdm.m_Cen2, {1.0, 1.0, 1.0, 1.0});
    Fill(hdm.m_Cb, {3.75, 3.75, 3.75, 3.75});
    Fill(hdm.m_Hb, {2.5, 2.5, 2.5, 2.5});
    Fill(hdm.m_Sb, {0.5, 0.5, 0.5, 0.5});
    hdm.SetMode(mode);
    return hdm;
}

struct WidthCase {
    short mode;
    double station;
    double ca;
};

TEST(HdmWidth, CarriagewayInsideAndBetweenWideningRuns)
{
    const WidthCase cases[] = {
        // Before the first and after the last section: the end values.
        {1, 50.0, 3.5},
        {1, 450.0, 3.5},
        // Linear: a quarter and a half of the 3.5 change.
        {1, 125.0, 3.5 + 0.25 * 3.5},
        {1, 150.0, 5.25},
        // Between the runs the width stays.
        {1, 250.0, 7.0},
        {1, 200.0, 7.0},
        // Narrowing, linear: a quarter of the way down.
        {1, 325.0, 7.0 - 0.25 * 3.5},
        // Cubic 3t^2 - 2t^3 from the narrow end: t = 0.25 gives 0.15625; the
        // curve is symmetric, so halfway is the mean.
        {3, 125.0, 3.5 + 0.15625 * 3.5},
        {3, 150.0, 5.25},
        {3, 375.0, 3.5 + 0.15625 * 3.5},
        // Quartic 4t^3 - 3t^4 from the narrow end: t = 0.5 gives 0.3125.
        {4, 150.0, 3.5 + 0.3125 * 3.5},
        {4, 350.0, 3.5 + 0.3125 * 3.5},
        // t = 0.25 from the narrow end while narrowing: 4/64 - 3/256.
        {4, 375.0, 3.5 + (4.0 / 64 - 3.0 / 256) * 3.5},
    };
    for (const WidthCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " at " << c.station);
        const tkxRoadHDM hdm = WideningHighway(c.mode);
        double width = -1.0;
        EXPECT_EQ(1, hdm.GetWidth(c.station, 2, width));
        EXPECT_NEAR(c.ca, width, 1e-12);
        // The outer edge of the hard shoulder moves with the carriageway.
        double offset = -1.0;
        EXPECT_EQ(1, hdm.GetOffset(c.station, offset, 3));
        EXPECT_NEAR(1.5 + c.ca + 3.0, offset, 1e-12);
    }
}

TEST(HdmWidth, EveryWidthAndOffsetOfASection)
{
    const tkxRoadHDM hdm = WideningHighway(1);
    RoadHDMInfo info;
    info.ZH = 123.0;
    info.L2 = 77.0;
    info.Fa = 9.0;
    EXPECT_EQ(L"", hdm.GetHDMWidth(150.0, info));
    EXPECT_DOUBLE_EQ(1.5, info.Cen1);
    EXPECT_DOUBLE_EQ(1.0, info.Cen2);
    EXPECT_DOUBLE_EQ(5.25, info.Ca);
    EXPECT_DOUBLE_EQ(3.75, info.Cb);
    EXPECT_DOUBLE_EQ(3.0, info.Ha);
    EXPECT_DOUBLE_EQ(2.5, info.Hb);
    EXPECT_DOUBLE_EQ(0.75, info.Sa);
    EXPECT_DOUBLE_EQ(0.5, info.Sb);
    EXPECT_DOUBLE_EQ(0.0, info.Fa);
    EXPECT_DOUBLE_EQ(123.0, info.ZH);  // station and elevations untouched
    EXPECT_DOUBLE_EQ(77.0, info.L2);

    struct OffsetCase {
        short code;
        double offset;
    };
    const OffsetCase offsets[] = {
        {1, 1.5}, {2, 1.5 + 5.25}, {3, 1.5 + 5.25 + 3.0}, {4, 1.5 + 5.25 + 3.0 + 0.75},
        {-1, 1.0}, {-2, 1.0 + 3.75}, {-3, 1.0 + 3.75 + 2.5}, {-4, 1.0 + 3.75 + 2.5 + 0.5},
    };
    for (const OffsetCase& c : offsets) {
        SCOPED_TRACE(c.code);
        double offset = 0.0;
        EXPECT_EQ(1, hdm.GetOffset(150.0, offset, c.code));
        EXPECT_NEAR(c.offset, offset, 1e-12);
    }
    // A highway has no side divider: width 0, but no edge either.
    double value = -1.0;
    EXPECT_EQ(1, hdm.GetWidth(150.0, 5, value));
    EXPECT_EQ(0.0, value);
    value = -1.0;
    EXPECT_EQ(0, hdm.GetOffset(150.0, value, -5));
    EXPECT_EQ(-1.0, value);
    EXPECT_EQ(0, hdm.GetOffset(150.0, value, 6));
    EXPECT_EQ(0, hdm.GetWidth(150.0, 7, value));
}

TEST(HdmWidth, EmptyAndShortTables)
{
    tkxRoadHDM hdm;
    double width = -1.0;
    EXPECT_EQ(0, hdm.GetWidth(10.0, 2, width));
    EXPECT_EQ(0, hdm.GetOffset(10.0, width, 2));
    RoadHDMInfo info;
    EXPECT_EQ(L"计算左侧中央分隔带宽度时出错.", hdm.GetHDMWidth(10.0, info));

    // One section gives its widths everywhere.
    Fill(hdm.m_WidthZH, {100.0});
    Fill(hdm.m_Cen1, {0.5});
    Fill(hdm.m_Cen2, {0.5});
    Fill(hdm.m_Ca, {3.5});
    EXPECT_EQ(1, hdm.GetWidth(1e6, 2, width));
    EXPECT_DOUBLE_EQ(3.5, width);
    // A table shorter than its stations is not evaluated.
    EXPECT_EQ(L"\n计算右侧行车道宽度时出错.", hdm.GetHDMWidth(100.0, info));
    Fill(hdm.m_Cb, {3.5});
    Fill(hdm.m_Ha, {1.0});
    Fill(hdm.m_Hb, {1.0});
    Fill(hdm.m_Sa, {0.5});
    EXPECT_EQ(L"\n计算土路肩,人行道宽度时出错.", hdm.GetHDMWidth(100.0, info));
    Fill(hdm.m_Sb, {0.5});
    EXPECT_EQ(L"", hdm.GetHDMWidth(100.0, info));
    hdm.SetRoadStyle(1);
    EXPECT_EQ(L"\n计算左侧快、慢车道分隔带宽度时出错.", hdm.GetHDMWidth(100.0, info));
    Fill(hdm.m_Fa, {2.0});
    EXPECT_EQ(L"\n计算右侧快、慢车道分隔带宽度时出错.", hdm.GetHDMWidth(100.0, info));

    // A sudden change: exactly at the shared station the first of the two.
    Fill(hdm.m_WidthZH, {100.0, 200.0, 200.0, 300.0});
    Fill(hdm.m_Ca, {3.5, 3.5, 7.0, 7.0});
    EXPECT_EQ(1, hdm.GetWidth(200.0, 2, width));
    EXPECT_DOUBLE_EQ(3.5, width);
    EXPECT_EQ(1, hdm.GetWidth(200.5, 2, width));
    EXPECT_DOUBLE_EQ(7.0, width);
}

TEST(HdmWidth, PartOfAPoint)
{
    // Left side: Cen1 1.5, Ca 7.5, Ha 3.0, Sa 0.75 -> edges at 1.5, 9.0,
    // 12.0, 12.75.  Right side: Cen2 1.0, Cb 3.5, Hb 0, Sb 0.5 -> edges at
    // 1.0, 4.5, 4.5, 5.0.
    tkxRoadHDM hdm;
    Fill(hdm.m_WidthZH, {0.0});
    Fill(hdm.m_Cen1, {1.5});
    Fill(hdm.m_Ca, {7.5});
    Fill(hdm.m_Ha, {3.0});
    Fill(hdm.m_Sa, {0.75});
    Fill(hdm.m_Cen2, {1.0});
    Fill(hdm.m_Cb, {3.5});
    Fill(hdm.m_Hb, {0.0});
    Fill(hdm.m_Sb, {0.5});
    struct Case {
        double offset;
        short code;
    };
    const Case highway[] = {
        {0.0, 1},     {-1.5, 1},    {-1.6, 2},   {-9.0, 2},  {-9.1, 3},   {-12.0, 3}, {-12.5, 4},
        {-12.75, 4},  {-12.7509, 4}, {-12.76, 6}, {0.5, -1},  {1.00005, -1}, {1.1, -2}, {4.5, -2},
        {4.6, -4},    {5.0, -4},    {5.01, -6},
    };
    for (const Case& c : highway) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(c.code, hdm.GetPositionStyle(50.0, c.offset));
    }
    // A city road places its side divider between carriageway and
    // non-motor lane: Fa 2.0 puts the left edges at 11.0, 14.0, 14.75.
    hdm.SetRoadStyle(1);
    Fill(hdm.m_Fa, {2.0});
    Fill(hdm.m_Fb, {0.0});
    const Case city[] = {
        {-9.1, 5}, {-11.0, 5}, {-11.1, 3}, {-14.5, 4}, {-14.8, 6}, {4.6, -4}, {-1.6, 2},
    };
    for (const Case& c : city) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(c.code, hdm.GetPositionStyle(50.0, c.offset));
    }
}

TEST(HdmWidth, PartNamesAndIndexes)
{
    tkxRoadHDM hdm;
    const wchar_t* highway[] = {L"右侧土路肩外侧", L"右幅侧分带", L"右幅土路肩", L"右幅硬路肩", L"右幅行车道",
                                L"右幅中央分隔带", L"土路肩外侧", L"左幅中央分隔带", L"左幅行车道", L"左幅硬路肩",
                                L"左幅土路肩", L"左幅侧分带", L"左侧土路肩外侧"};
    const wchar_t* city[] = {L"右侧人行道外侧", L"右幅侧分带", L"右幅人行道", L"右幅慢车道", L"右幅行车道",
                             L"右幅中央分隔带", L"人行道外侧", L"左幅中央分隔带", L"左幅行车道", L"左幅慢车道",
                             L"左幅人行道", L"左幅侧分带", L"左侧人行道外侧"};
    for (int code = -6; code <= 6; ++code) {
        SCOPED_TRACE(code);
        hdm.SetRoadStyle(0);
        EXPECT_EQ(CString(highway[code + 6]), hdm.GetPositionName(code));
        hdm.SetRoadStyle(1);
        EXPECT_EQ(CString(city[code + 6]), hdm.GetPositionName(code));
    }
    EXPECT_EQ(L"人行道外侧", hdm.GetPositionName(7));

    const int codes[] = {4, 3, 2, 1, -1, -2, -3, -4, 5, -5, 0};
    for (int index = 0; index <= 10; ++index) EXPECT_EQ(codes[index], hdm.CodeConvert(index));
    EXPECT_EQ(0, hdm.CodeConvert(-1));
}

TEST(HdmWidth, EdgeLineOfAPart)
{
    tkxRoadHDM hdm;
    Fill(hdm.m_WidthZH, {0.0, 100.0});
    Fill(hdm.m_Cen1, {1.5, 1.5});
    Fill(hdm.m_Ca, {7.5, 9.0});
    Fill(hdm.m_Cen2, {1.0, 1.0});
    Fill(hdm.m_Cb, {3.5, 3.5});
    double centre[3] = {1000.0, 2000.0, 50.0};
    double inner[3] = {};
    double outer[3] = {};
    // The angle pi/2 lays the left parts toward +y.
    ASSERT_EQ(1, hdm.GetLinePoint(centre, kPi / 2, 0, 2, inner, outer));
    EXPECT_NEAR(1000.0, outer[0], 1e-9);
    EXPECT_NEAR(2009.0, outer[1], 1e-9);
    EXPECT_DOUBLE_EQ(50.0, outer[2]);
    EXPECT_NEAR(1000.0, inner[0], 1e-9);
    EXPECT_NEAR(2001.5, inner[1], 1e-9);
    ASSERT_EQ(1, hdm.GetLinePoint(centre, kPi / 2, 1, -2, inner, outer));
    EXPECT_NEAR(2000.0 - 4.5, outer[1], 1e-9);
    EXPECT_NEAR(2000.0 - 1.0, inner[1], 1e-9);
    // Any other angle: the outer end 1.5 + 9.0 out along (cos(pi - a), sin(pi - a)).
    const double a = 0.3;
    ASSERT_EQ(1, hdm.GetLinePoint(centre, a, 1, 2, inner, outer));
    EXPECT_NEAR(1000.0 - 10.5 * std::cos(a), outer[0], 1e-9);
    EXPECT_NEAR(2000.0 + 10.5 * std::sin(a), outer[1], 1e-9);
    EXPECT_NEAR(1000.0 - 1.5 * std::cos(a), inner[0], 1e-9);
    EXPECT_NEAR(2000.0 + 1.5 * std::sin(a), inner[1], 1e-9);

    EXPECT_EQ(0, hdm.GetLinePoint(centre, a, 2, 2, inner, outer));
    EXPECT_EQ(0, hdm.GetLinePoint(centre, a, -1, 2, inner, outer));
    EXPECT_EQ(0, hdm.GetLinePoint(centre, a, 0, 5, inner, outer));
}

TEST(HdmWidth, DepthValues)
{
    tkxRoadHDM hdm;
    Fill(hdm.m_DepthZH, {100.0, 200.0});
    Fill(hdm.m_H0, {0.2, 0.3});
    Fill(hdm.m_LMLeft, {0.7, 0.8});
    Fill(hdm.m_LMRight, {0.6, 0.6});
    Fill(hdm.m_YLJLeft, {0.5, 0.3});
    Fill(hdm.m_YLJRight, {0.4, 0.5});
    Fill(hdm.m_CFDHeight, {0.2, 0.4});
    Fill(hdm.m_RXDHeight, {0.15, 0.25});
    Fill(hdm.m_RXDThickness, {0.08, 0.1});
    for (Values* v : {&hdm.m_I0, &hdm.m_I1, &hdm.m_I2, &hdm.m_I3, &hdm.m_I4, &hdm.m_I5}) Fill(*v, {1.0, 2.0});

    struct Case {
        double station, h0, lmLeft, yljLeft, yljRight;
    };
    const Case cases[] = {
        {50.0, 0.2, 0.7, 0.5, 0.4},
        {100.0, 0.2, 0.7, 0.5, 0.4},
        {125.0, 0.225, 0.725, 0.45, 0.425},
        {200.0, 0.3, 0.8, 0.3, 0.5},
        {1000.0, 0.3, 0.8, 0.3, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.station);
        EXPECT_NEAR(c.h0, hdm.GetFGDHeight(c.station), 1e-12);
        EXPECT_NEAR(c.lmLeft, hdm.GetLeftLMThickness(c.station), 1e-12);
        EXPECT_NEAR(0.6, hdm.GetRightLMThickness(c.station), 1e-12);
        EXPECT_NEAR(c.yljLeft, hdm.GetLeftYLJThickness(c.station), 1e-12);
        EXPECT_NEAR(c.yljRight, hdm.GetRightYLJThickness(c.station), 1e-12);
    }
    // The city's values are 0 on a highway, whatever the arrays hold.
    EXPECT_EQ(0.0, hdm.GetCFDHeight(150.0));
    EXPECT_EQ(0.0, hdm.GetRXDHeight(150.0));
    EXPECT_EQ(0.0, hdm.GetRXDThickness(150.0));
    EXPECT_EQ(0.0, hdm.GetCiviRoadI2(150.0));
    hdm.SetRoadStyle(1);
    EXPECT_NEAR(0.3, hdm.GetCFDHeight(150.0), 1e-12);
    EXPECT_NEAR(0.2, hdm.GetRXDHeight(150.0), 1e-12);
    EXPECT_NEAR(0.09, hdm.GetRXDThickness(150.0), 1e-12);
    using Getter = double (tkxRoadHDM::*)(double) const;
    const Getter falls[] = {&tkxRoadHDM::GetCiviRoadI0, &tkxRoadHDM::GetCiviRoadI1, &tkxRoadHDM::GetCiviRoadI2,
                            &tkxRoadHDM::GetCiviRoadI3, &tkxRoadHDM::GetCiviRoadI4, &tkxRoadHDM::GetCiviRoadI5};
    for (auto fall : falls) {
        EXPECT_NEAR(1.75, (hdm.*fall)(175.0), 1e-12);
        EXPECT_NEAR(1.0, (hdm.*fall)(0.0), 1e-12);
    }
    // No depth sections, or an array that does not cover them: 0.
    hdm.m_I4.RemoveAt(1);
    EXPECT_EQ(0.0, hdm.GetCiviRoadI4(150.0));
    hdm.m_DepthZH.RemoveAll();
    EXPECT_EQ(0.0, hdm.GetFGDHeight(150.0));
}

TEST(Widen, ShapesGrowOutOfTheNarrowerEnd)
{
    struct Case {
        short mode;
        double v1, v2, station, expected;
    };
    // Stations 0 and 10; t = station / 10.
    const Case cases[] = {
        {1, 2.0, 4.0, 2.5, 2.5},
        {0, 2.0, 4.0, 2.5, 2.5},
        {2, 2.0, 4.0, 5.0, 2.0 + 2.0 * (1.0 - 0.25)},          // 2t - t^2 at 0.5
        {2, 4.0, 2.0, 5.0, 2.0 + 2.0 * (1.0 - 0.25)},          // from the narrow end, u = 0.5
        {2, 4.0, 2.0, 2.5, 2.0 + 2.0 * (1.5 - 0.5625)},        // u = 0.75: 1.5 - 0.5625
        {3, -1.0, -3.0, 2.5, -1.0 - 2.0 * 0.15625},            // by magnitude: -3 is wider
        {4, 0.0, 1.0, 2.5, 4.0 / 64 - 3.0 / 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.v1 << " " << c.v2 << " " << c.station);
        EXPECT_NEAR(c.expected, tkx_GetWiden(0.0, 10.0, c.station, c.v1, c.v2, c.mode), 1e-12);
    }
    EXPECT_DOUBLE_EQ(3.0, tkx_GetWiden(5.0, 5.0000001, 5.0, 2.0, 4.0, 3));
}

} // namespace
