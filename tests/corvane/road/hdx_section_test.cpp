// One cross-section ground line: reading each layout, writing, elevations,
// extension, slope-line and ground intersections, water stretches and world
// coordinates.
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/HdxSection.h"
#include "corvane/road/Profile.h"
#include "road_test_support.h"

#include <cmath>
#include <string>
#include <vector>

using namespace Tavix4;
using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

const double kPi = 3.141592653589793;

struct Pt {
    double offset;
    double elevation;
    int flag;
};

std::vector<Pt> Side(const tkxHdxSection& section, bool left)
{
    std::vector<double> offsets, elevations;
    std::vector<short> flags;
    if (left)
        section.GetAllLeftPts(offsets, elevations, flags);
    else
        section.GetAllRightPts(offsets, elevations, flags);
    std::vector<Pt> points;
    for (size_t i = 0; i < offsets.size(); ++i) points.push_back({offsets[i], elevations[i], flags[i]});
    return points;
}

void ExpectSide(const std::vector<Pt>& expected, const std::vector<Pt>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(expected[i].offset, actual[i].offset, 0.0006);
        EXPECT_NEAR(expected[i].elevation, actual[i].elevation, 0.0006);
        EXPECT_EQ(expected[i].flag, actual[i].flag);
    }
}

class HdxSectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A ground line whose centre elevation is 100 at every station.
        profile.AddDMHeight(0, 100);
        profile.AddDMHeight(10000, 100);
    }

    // Reads the one section of a file text in a layout.
    int Read(const wchar_t* text, enHDXFormat format, tkxHdxSection& section, const tkxZDMInfo* withProfile)
    {
        road_test::WriteText(path, text);
        CStdioFile file(path, CFile::modeRead | CFile::typeText);
        int line = 0;
        return section.ReadHDX(file, line, format, &chain, withProfile);
    }

    road_test::StationSettings settings{3, 1};
    ScratchFolder folder{L"hdx_section"};
    CString path = folder / L"one.HDX";
    tkxBreakChain chain;
    tkxZDMInfo profile{&chain};
};

TEST_F(HdxSectionTest, ReadsEachLayout)
{
    tkxHdxSection section;
    // ABS: absolute elevations.
    ASSERT_EQ(1, Read(L"1250\n2 99.5 5 99\n3,101\n", HDX_ABS, section, &profile)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(1250.0, section.GetZHInfo().m_rZH);
    EXPECT_EQ(100.0, section.GetZHInfo().m_rZ);
    ExpectSide({{0, 100, 0}, {2, 99.5, 0}, {5, 99, 0}}, Side(section, true));
    ExpectSide({{0, 100, 0}, {3, 101, 0}}, Side(section, false));

    // ABS1: elevations from the centre.
    ASSERT_EQ(1, Read(L"1250\n2 -0.5 5 -1\n3 1\n", HDX_ABS1, section, &profile));
    ExpectSide({{0, 100, 0}, {2, 99.5, 0}, {5, 99, 0}}, Side(section, true));

    // Relative: increments from the previous point.
    ASSERT_EQ(1, Read(L"1250\n2 -0.5 3 -0.5\n3\t1\n", HDX_RELATIVE, section, &profile));
    ExpectSide({{0, 100, 0}, {2, 99.5, 0}, {5, 99, 0}}, Side(section, true));
    ExpectSide({{0, 100, 0}, {3, 101, 0}}, Side(section, false));

    // Without a profile the centre elevation is 0.
    tkxHdxSection bare;
    ASSERT_EQ(1, Read(L"1250\n2 -0.5\n3 1\n", HDX_ABS1, bare, nullptr));
    ExpectSide({{0, 0, 0}, {2, -0.5, 0}}, Side(bare, true));
    EXPECT_EQ(0, Read(L"1250\n2 -0.5\n3 1\n", HDX_ABS, bare, nullptr));
    EXPECT_EQ(Utf8(L"读取ABS格式时纵地线未定义!"), Utf8(tkx_GetLastError()));
}

TEST_F(HdxSectionTest, EmptySideReadsEmptyInEveryLayout)
{
    for (enHDXFormat format : {HDX_ABS, HDX_ABS1, HDX_RELATIVE}) {
        SCOPED_TRACE(static_cast<int>(format));
        tkxHdxSection section;
        ASSERT_EQ(1, Read(L"1250\n0 0\n0 0\n", format, section, &profile));
        ExpectSide({{0, 100, 0}}, Side(section, true));
        ExpectSide({{0, 100, 0}}, Side(section, false));
    }
}

// Only the writer's own "0 0" means an empty side: a written ABS point at
// offset 0 and elevation 0 (under a centre at 100) comes back as a point.
TEST_F(HdxSectionTest, WrittenPointAtZeroZeroIsKept)
{
    sZHPtInfo point;
    point.m_rZH = 1250;
    point.m_rZ = 100;
    tkxHdxSection section(point);
    section.AddPt(0, 100, WATER_NONE, 1);
    section.AddPt(0, 0, WATER_NONE, 1);
    CString text;
    ASSERT_EQ(1, section.ExportString(&chain, HDX_ABS, text));
    EXPECT_EQ(Utf8(L"1250.000\n0.000 0.000 \n0 0\n"), Utf8(text));

    tkxHdxSection back;
    ASSERT_EQ(1, Read(text, HDX_ABS, back, &profile)) << Utf8(tkx_GetLastError());
    ExpectSide({{0, 100, 0}, {0, 0, 0}}, Side(back, true));
    ExpectSide({{0, 100, 0}}, Side(back, false));
}

TEST_F(HdxSectionTest, WaterMarks)
{
    tkxHdxSection section;
    ASSERT_EQ(1, Read(L"1250\nw2 -1 W4 -1.2 w]6 -1 8 0\n[W1 -1 W]3 -1 4 0 [w5 -1 W6 -1 w]7 0\n", HDX_ABS1, section,
                      &profile));
    // A first point marked "W" makes the centre point the start of the water.
    ExpectSide({{0, 100, 1}, {2, 99, 3}, {4, 98.8, 3}, {6, 99, 2}, {8, 100, 0}}, Side(section, true));
    EXPECT_EQ(1, section.GetWaterCount(1));
    EXPECT_EQ(2, section.GetWaterCount(2));
    tkxPoint3dArray water;
    EXPECT_EQ(4, section.GetWaterAt(1, 0, water));
    EXPECT_EQ(3, section.GetWaterAt(2, 1, water));
    EXPECT_NEAR(5.0, water[0].x, 1e-6);
    EXPECT_NEAR(7.0, water[2].x, 1e-6);
    EXPECT_EQ(0, section.GetWaterAt(2, 2, water));
}

// A marked distance is read whole however long its text, in every layout
// and with every mark.
TEST_F(HdxSectionTest, LongMarkedDistances)
{
    const struct {
        const wchar_t* distance;
        double value;
    } distances[] = {
        {L"123.4567", 123.4567},
        {L"12.34567", 12.34567},
        {L"1.2500000000000000000000000", 1.25},
        {L"1000.000", 1000},
        {L"98765.4321", 98765.4321},
        {L"0000000000000000000000000000000000000000007", 7},
    };
    const struct {
        const wchar_t* mark;   // put before the distance
        const wchar_t* after;  // put after it
        int centreFlag;
        int pointFlag;
    } marks[] = {
        {L"W", L"", 1, 3},
        {L"[W", L"", 0, 1},
        {L"W]", L"", 0, 2},
        {L"[w", L"", 0, 1},
        {L"", L"W]", 0, 2},
    };
    for (enHDXFormat format : {HDX_ABS, HDX_ABS1, HDX_RELATIVE}) {
        const std::wstring elevation = format == HDX_ABS ? L"99" : L"-1";
        for (const auto& d : distances) {
            for (const auto& m : marks) {
                const std::wstring token = std::wstring(m.mark) + d.distance + m.after;
                SCOPED_TRACE(Utf8(token.c_str()) + " in layout " + std::to_string(format));
                tkxHdxSection section;
                const std::wstring text = L"1250\n" + token + L" " + elevation + L"\n0 0\n";
                ASSERT_EQ(1, Read(text.c_str(), format, section, &profile)) << Utf8(tkx_GetLastError());
                ExpectSide({{0, 100, m.centreFlag}, {static_cast<float>(d.value), 99, m.pointFlag}}, Side(section, true));
            }
        }
    }
}

TEST_F(HdxSectionTest, PointsAtTheCentreAreDropped)
{
    tkxHdxSection section;
    // A point at offset 0 with the centre elevation repeats the centre; one
    // with another elevation is a ground point.
    ASSERT_EQ(1, Read(L"1250\n0 100 0 99 2 98\n1 97\n", HDX_ABS, section, &profile));
    ExpectSide({{0, 100, 0}, {0, 99, 0}, {2, 98, 0}}, Side(section, true));
    ExpectSide({{0, 100, 0}, {1, 97, 0}}, Side(section, false));
}

struct ReadRefusal {
    const wchar_t* text;
    const wchar_t* message;
};

TEST_F(HdxSectionTest, BadSideLines)
{
    const ReadRefusal cases[] = {
        {L"1250\n2 -0.5 5\n3 1\n", L"断面左侧数据个数不匹配!"},
        {L"1250\n2 -0.5\n3\n", L"断面右侧数据个数不匹配!"},
        {L"1250\n2 -0.5 x5 -1\n3 1\n", L"读断面左侧第3个数据(距离x5)出错"},
        {L"1250\n5 -0.5 2 -1\n3 1\n", L"读断面左侧第3个数据偏宽[2]出错, 中桩偏移距离应从小到大排列!"},
        {L"1250\n2 -0.5\n3 1 4 a\n", L"读断面右侧, 第3个数据(高程/高差:a)出错!"},
        {L"1250\n2 -0.5\n3 1 2 1\n", L"读断面右侧第3个数据偏宽[2]出错, 中桩偏移距离应从小到大排列!"},
        {L"1250\n2 -0.5\n", L"读断面右侧数据失败!"},
        {L"1250\n", L"读断面左侧数据失败"},
        {L"", L"文件结束"},
        {L"K1+2x5\n0 0\n0 0\n", L"读断面桩号失败[SText],桩号(2x5)数据错误! "},
    };
    for (const ReadRefusal& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        tkxHdxSection section;
        EXPECT_EQ(0, Read(c.text, HDX_ABS1, section, &profile));
        EXPECT_EQ(Utf8(c.message), Utf8(tkx_GetLastError()));
    }
}

// Offsets and elevations are kept as floats: a value beyond a float, read
// or summed in the relative layout, is refused rather than kept as infinity.
TEST_F(HdxSectionTest, ValuesBeyondAFloatAreRefused)
{
    const std::wstring big = L"3" + std::wstring(38, L'0');   // 3e38: still a float
    const std::wstring beyond = L"1" + std::wstring(39, L'0');
    const struct {
        enHDXFormat format;
        std::wstring text;
        std::wstring message;
    } cases[] = {
        {HDX_ABS1, L"1250\n" + beyond + L" -1\n0 0\n", L"读断面左侧第1个数据(距离" + beyond + L")出错"},
        {HDX_ABS1, L"1250\n2 -1\n3 " + beyond + L"\n", L"读断面右侧, 第1个数据(高程/高差:" + beyond + L")出错!"},
        {HDX_RELATIVE, L"1250\n" + big + L" 1 " + big + L" 1\n0 0\n", L"读断面左侧第3个数据(距离" + big + L")出错"},
        {HDX_RELATIVE, L"1250\n1 " + big + L" 1 " + big + L"\n0 0\n", L"读断面左侧第3个数据(高程/高差:" + big + L")出错!"},
        {HDX_ABS1, L"1250\nW1;5 -1\n0 0\n", L"读断面左侧第1个数据(距离W1;5)出错"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text.substr(0, 40).c_str()));
        tkxHdxSection section;
        EXPECT_EQ(0, Read(c.text.c_str(), c.format, section, &profile));
        EXPECT_EQ(Utf8(c.message.c_str()), Utf8(tkx_GetLastError()));
    }
    tkxHdxSection section;
    ASSERT_EQ(1, Read((L"1250\n" + big + L" -1\n0 0\n").c_str(), HDX_ABS1, section, &profile)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(3e38f, Side(section, true).back().offset);
}

TEST_F(HdxSectionTest, WritesEachLayout)
{
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180"));
    sZHPtInfo point;
    point.m_rZH = 1250;
    point.m_rZ = 100;
    tkxHdxSection section(point);
    section.AddPt(0, 100, WATER_NONE, 1);
    section.AddPt(5, 99.5, WATER_START, 1);
    section.AddPt(9, 99.2, WATER_END, 1);
    section.AddPt(0, 100, WATER_NONE, 2);

    CString text;
    ASSERT_EQ(1, section.ExportString(&chain, HDX_ABS1, text));
    EXPECT_EQ(Utf8(L"1230.000_2\n[W5.000 -0.500 W]9.000 -0.800 \n0 0\n"), Utf8(text));
    ASSERT_EQ(1, section.ExportString(&chain, HDX_ABS, text));
    EXPECT_EQ(Utf8(L"1230.000_2\n[W5.000 99.500 W]9.000 99.200 \n0 0\n"), Utf8(text));
    ASSERT_EQ(1, section.ExportString(&chain, HDX_RELATIVE, text));
    EXPECT_EQ(Utf8(L"1230.000_2\n[W5.000 -0.500 W]4.000 -0.300 \n0 0\n"), Utf8(text));

    EXPECT_EQ(0, section.ExportString(nullptr, HDX_ABS, text));
    EXPECT_EQ(Utf8(L"横地线未指定断链对象!"), Utf8(tkx_GetLastError()));

    // Offsets that fall back could not be read again.
    section.AddPt(4, 99, WATER_NONE, 1);
    EXPECT_EQ(0, section.ExportString(&chain, HDX_ABS, text));
    EXPECT_EQ(Utf8(L"横地线断面(1230.000_2)左侧第4个点偏距(4.000)错误, 中桩偏移距离应从小到大排列!"), Utf8(tkx_GetLastError()));
}

TEST_F(HdxSectionTest, RelativeLayoutDoesNotDrift)
{
    sZHPtInfo point;
    point.m_rZ = 100;
    tkxHdxSection section(point);
    // 400 points 0.3333 m apart, each 0.0004 m lower: written one by one the
    // rounding of every increment would add up.
    for (int i = 1; i <= 400; ++i) section.AddPt(i * 0.3333, 100 - i * 0.0004, WATER_NONE, 2);
    CString text;
    ASSERT_EQ(1, section.ExportString(&chain, HDX_RELATIVE, text));
    road_test::WriteText(path, text);
    CStdioFile file(path, CFile::modeRead | CFile::typeText);
    int line = 0;
    tkxHdxSection back;
    ASSERT_EQ(1, back.ReadHDX(file, line, HDX_RELATIVE, &chain, &profile)) << Utf8(tkx_GetLastError());
    const std::vector<Pt> right = Side(back, false);
    ASSERT_EQ(401u, right.size());
    EXPECT_NEAR(400 * 0.3333, right.back().offset, 0.0006);
    EXPECT_NEAR(100 - 400 * 0.0004, right.back().elevation, 0.0006);
}

TEST_F(HdxSectionTest, ElevationAtAnOffset)
{
    tkxHdxSection section;
    ASSERT_EQ(1, Read(L"1250\n2 -1 4 -1 4 -3\n10 2\n", HDX_ABS1, section, &profile));
    struct {
        double offset;
        int extrapolate;
        double elevation;
    } cases[] = {
        {0, 0, 100},     {-1, 0, 99.5},  {-2, 0, 99},    {-3, 0, 99},  {-4, 0, 99},
        {-6, 0, 97},     {-6, 1, 97},    {5, 0, 101},    {10, 0, 102}, {15, 0, 102},  {15, 1, 103},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_NEAR(c.elevation, section.GetElevation(c.offset, c.extrapolate), 1e-5);
    }
    EXPECT_NEAR(97.0, section.GetMinElevation(), 1e-6);
    EXPECT_NEAR(102.0, section.GetMaxElevation(), 1e-6);
    tkxHdxSection empty;
    EXPECT_EQ(1e99, empty.GetMinElevation());
    EXPECT_EQ(-1e99, empty.GetMaxElevation());
}

TEST_F(HdxSectionTest, ExtendToWidths)
{
    tkxHdxSection section;
    ASSERT_EQ(1, Read(L"1250\n2 -1 4 -2\n[W3 1 6 2\n", HDX_ABS1, section, &profile));
    tkxHdxSection slope = section;
    ASSERT_EQ(1, section.Extend(8, 4.5, 0));
    ExpectSide({{0, 100, 0}, {2, 99, 0}, {4, 98, 0}, {8, 98, 0}}, Side(section, true));
    ExpectSide({{0, 100, 0}, {3, 101, 1}, {4.5, 101.5, 0}}, Side(section, false));

    ASSERT_EQ(1, slope.Extend(8, 1, 1));
    ExpectSide({{0, 100, 0}, {2, 99, 0}, {4, 98, 0}, {8, 96, 0}}, Side(slope, true));
    // A width inside the first ground point keeps the centre point.
    ExpectSide({{0, 100, 0}, {1, 100 + 1.0 / 3.0, 1}}, Side(slope, false));

    EXPECT_EQ(0, slope.Extend(1, 1, 2));
    tkxHdxSection empty;
    empty.Extend(5, 5, 0);
    ExpectSide({{5, 0, 0}}, Side(empty, true));
}

TEST_F(HdxSectionTest, SlopeLinesMeetTheGround)
{
    tkxHdxSection section;
    // Level ground at 100 on the left, rising 1:1 from 2 m on the right.
    ASSERT_EQ(1, Read(L"1250\n10 0\n2 0 12 10\n", HDX_ABS1, section, &profile));
    tkxPoint3d out;

    // From (-2, 104) down a 1:1.5 slope: meets the ground 4 m lower, 6 m out.
    ASSERT_TRUE(section.polarByHeight(tkxPoint3d(-2, 104, 0), 1.5, 10, true, false, out));
    EXPECT_NEAR(-8.0, out.x, 1e-6);
    EXPECT_NEAR(100.0, out.y, 1e-6);
    // Too short to reach it; as a ray it does.
    EXPECT_FALSE(section.polarByHeight(tkxPoint3d(-2, 104, 0), 1.5, 2, true, false, out));
    EXPECT_NEAR(-5.0, out.x, 1e-6);
    EXPECT_NEAR(102.0, out.y, 1e-6);
    EXPECT_TRUE(section.polarByHeight(tkxPoint3d(-2, 104, 0), 1.5, 2, true, true, out));
    EXPECT_NEAR(-8.0, out.x, 1e-6);

    // n above 1000 runs level outward, below -1000 level toward the centre.
    EXPECT_TRUE(section.polarByHeight(tkxPoint3d(1, 105, 0), 2000, 20, false, false, out));
    EXPECT_NEAR(7.0, out.x, 1e-6);
    EXPECT_NEAR(105.0, out.y, 1e-6);
    EXPECT_TRUE(section.polarByHeight(tkxPoint3d(11, 105, 0), -2000, 20, false, false, out));
    EXPECT_NEAR(7.0, out.x, 1e-6);
    // On the left the same lines miss the level ground; out is the far point.
    EXPECT_FALSE(section.polarByHeight(tkxPoint3d(-2, 104, 0), 2000, 3, true, false, out));
    EXPECT_NEAR(-5.0, out.x, 1e-6);
    EXPECT_NEAR(104.0, out.y, 1e-6);
    EXPECT_FALSE(section.polarByHeight(tkxPoint3d(-2, 104, 0), -2000, 3, true, false, out));
    EXPECT_NEAR(1.0, out.x, 1e-6);

    // A small negative ratio runs straight up: from below the left ground.
    EXPECT_TRUE(section.polarByHeight(tkxPoint3d(-5, 95, 0), -1e-8, 10, true, false, out));
    EXPECT_NEAR(-5.0, out.x, 1e-6);
    EXPECT_NEAR(100.0, out.y, 1e-6);

    // Straight down from above the right side.
    EXPECT_TRUE(section.polarByHeight(tkxPoint3d(5, 110, 0), 0, 20, false, false, out));
    EXPECT_NEAR(5.0, out.x, 1e-6);
    EXPECT_NEAR(103.0, out.y, 1e-6);

    // Gradient and distance: from (1, 104) falling 50 % over 10 m.
    EXPECT_TRUE(section.polarByDistance(tkxPoint3d(1, 104, 0), 0.5, 10, false, false, out));
    EXPECT_NEAR(13.0 / 3.0, out.x, 1e-6);
    EXPECT_NEAR(98.0 + 13.0 / 3.0, out.y, 1e-6);

    // A line that misses the side leaves out as it was.
    out.Set(1, 2, 3);
    EXPECT_FALSE(section.intersectWith(true, tkxPoint3d(-1, 90, 0), tkxPoint3d(-9, 90, 0), out, false));
    EXPECT_EQ(1.0, out.x);
}

TEST_F(HdxSectionTest, WorldCoordinates)
{
    sZHPtInfo point;
    point.m_rX = 1000;
    point.m_rY = 2000;
    point.m_rZ = 50;
    point.m_rAzimuth = kPi / 2;   // heading east: left is north, right is south
    tkxHdxSection section(point);
    section.AddPt(0, 50, WATER_NONE, 1);
    section.AddPt(3, 49, WATER_NONE, 1);
    section.AddPt(4, 48, WATER_NONE, 2);
    sZHPtInfo out;
    std::vector<double> lx, ly, lz, rx, ry, rz;
    section.GetAllData(out, lx, ly, lz, rx, ry, rz);
    ASSERT_EQ(2u, lx.size());
    ASSERT_EQ(1u, rx.size());
    EXPECT_NEAR(1000, lx[1], 1e-9);
    EXPECT_NEAR(2003, ly[1], 1e-9);
    EXPECT_EQ(49, lz[1]);
    EXPECT_NEAR(1000, rx[0], 1e-9);
    EXPECT_NEAR(1996, ry[0], 1e-9);
    EXPECT_EQ(1000, out.m_rX);

    section.SetZHInfo(sZHPtInfo());   // heading north: left is west
    section.GetAllData(out, lx, ly, lz, rx, ry, rz);
    EXPECT_NEAR(-3, lx[1], 1e-9);
    EXPECT_NEAR(0, ly[1], 1e-9);
    EXPECT_NEAR(4, rx[0], 1e-9);
}

TEST_F(HdxSectionTest, AppendingWithThinning)
{
    tkxHdxSection section;
    std::vector<double> offsets{0, 10}, elevations{100, 90};
    EXPECT_EQ(4, section.AddRightPt(offsets, elevations, 3, 1));
    EXPECT_EQ((std::vector<double>{3, 6, 9, 10}), offsets) << "the caller sees the thinned lists";
    std::vector<double> straight{0, 1, 2, 3}, level{5, 5, 5, 5};
    EXPECT_EQ(2, section.AddLeftPt(straight, level, 0.01, 2));
    std::vector<double> kept{0, 1, 2}, keptLevel{5, 5, 5};
    EXPECT_EQ(3, section.AddLeftPt(kept, keptLevel, 0.0, 2)) << "no angle: nothing removed";
    EXPECT_EQ(5, section.GetLeftPtCount());
    double pt[2];
    EXPECT_EQ(1, section.GetRightPt(0, pt));
    EXPECT_EQ(3.0, pt[0]);
    EXPECT_EQ(97.0, pt[1]);
    EXPECT_EQ(0, section.GetRightPt(4, pt));
}

} // namespace
