// Longitudinal ground line: heights by station, edits, the .DMX file and the
// time a large file takes to load.
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "road_test_support.h"

#include <cmath>

#include <algorithm>
#include <cstdio>
#include <string>

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

class GroundLineTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180")); }

    std::vector<double> Stations() const
    {
        std::vector<double> v;
        for (int i = 0; i < ground.GetDMXCount(); ++i) v.push_back(ground.GetDMXZH(i));
        return v;
    }

    road_test::StationSettings settings{3, 1};
    tkxBreakChain chain;
    tkxZDMInfo ground{&chain};
};

TEST_F(GroundLineTest, HeightByStation)
{
    EXPECT_EQ(0.0, ground.GetDMXElevation(100.0)) << "no points";
    ground.AddDMHeight(100, 50);
    ground.AddDMHeight(200, 60);
    ground.AddDMHeight(200, 70);   // a step: two points at one station
    ground.AddDMHeight(300, 65);
    struct {
        double x, height;
    } cases[] = {{0, 50},  {100, 50}, {150, 55},    {199.999, 59.9999}, {200, 70},
                 {250, 67.5}, {300, 65}, {300.00000001, 65}, {400, 65}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_NEAR(c.height, ground.GetDMXElevation(c.x), 1e-9);
    }
    EXPECT_EQ(-999.0, ground.GetDMXZH(4));
    EXPECT_EQ(-999.0, ground.GetDMXElevation(-1));
    EXPECT_EQ(0, ground.FindDMXIndex(150));
    EXPECT_EQ(2, ground.FindDMXIndex(250));
    EXPECT_EQ(0, ground.FindDMXIndex(50));
    EXPECT_EQ(3, ground.FindDMXIndex(500));

    CArray<double, double> heights;
    heights.Add(1);
    ground.SetDMXHeights(heights);
    EXPECT_EQ(0.0, ground.GetDMXElevation(150.0)) << "counts that differ give no height";
}

TEST_F(GroundLineTest, EditsByStation)
{
    ground.AddDMHeight(100, 50);
    ground.AddDMHeight(200, 60);
    EXPECT_EQ(3, ground.SetDMXData(150.0, 57.0));
    EXPECT_EQ(2, ground.SetDMXData(150.0, 58.0));
    EXPECT_EQ(0, ground.SetDMXData(50.0, 45.0));
    EXPECT_EQ(1, ground.SetDMXData(250.0, 65.0));
    EXPECT_EQ((std::vector<double>{50, 100, 150, 200, 250}), Stations());
    EXPECT_EQ(58.0, ground.GetDMXElevation(2));

    EXPECT_EQ(0, ground.SetDMXData(2, 210.0, 1.0)) << "would pass the next point";
    EXPECT_EQ(1, ground.SetDMXData(2, 120.0, 1.0));
    EXPECT_EQ(0, ground.SetDMXData(9, 120.0, 1.0));

    tkxZDMInfo copy = ground;
    ground.DelDMXDatas(200, 100);
    copy.DelDMXDatas(100, 200);
    EXPECT_EQ((std::vector<double>{50, 100, 200, 250}), Stations());
    EXPECT_EQ(copy.GetDMXCount(), ground.GetDMXCount());

    tkxZDMInfo unordered(&chain);
    for (double s : {300.0, 100.0, 200.0}) unordered.AddDMHeight(s, s / 10);
    unordered.AddDMHeight(100.0, 99.0);
    unordered.AutoDMXSort();
    EXPECT_EQ(100.0, unordered.GetDMXZH(0));
    EXPECT_EQ(10.0, unordered.GetDMXElevation(0)) << "equal stations keep their order";
    EXPECT_EQ(99.0, unordered.GetDMXElevation(1));
    EXPECT_EQ(300.0, unordered.GetDMXZH(3));
}

TEST_F(GroundLineTest, OneLine)
{
    double station = 0, height = 0;
    int segment = 1;
    EXPECT_EQ(1, ground.ReadLineDMXData(L"120.5, 33.25 2", station, height, segment));
    EXPECT_EQ(120.5, station);
    EXPECT_EQ(33.25, height);
    EXPECT_EQ(2, segment);
    EXPECT_EQ(0, ground.ReadLineDMXData(L"120.5_2 33", station, height, segment));
    EXPECT_EQ(0, ground.ReadLineDMXData(L"120.5", station, height, segment));
}

TEST_F(GroundLineTest, SegmentAsFieldOrSuffix)
{
    ScratchFolder folder(L"dmx_segment");
    const CString path = folder / L"road.DMX";
    road_test::WriteText(path, L"// 地面线\n1190 51\n1190 52 2\n1190_2 53\n1195 54\n1195 55\n1300 56 1\n");
    ASSERT_EQ(1, ground.LoadDMXFile(path)) << Utf8(tkx_GetLastError());
    // 1190 of segment 1, then 1190 of segment 2 (twice), 1195 in segment 2
    // (the segment stays in force), and 1300 asked in segment 1, which
    // does not hold it: the first segment that does.
    EXPECT_EQ((std::vector<double>{1190, 1210, 1210, 1215, 1215, 1320}), Stations());
}

TEST_F(GroundLineTest, DMXRoundTripKeepsSegments)
{
    ScratchFolder folder(L"dmx_round");
    const CString path = folder / L"road.DMX";
    for (double s : {1000.0, 1199.9996, 1200.0, 1250.1234, 1400.0}) ground.AddDMHeight(s, s / 20.0);
    ASSERT_EQ(1, ground.SaveDMXFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ("1000.000 50.000\r\n1200.000 60.000\r\n1180.000_2 60.000\r\n1230.123_2 62.506\r\n1380.000_2 70.000\r\n",
              road_test::ReadBytes(path));

    tkxZDMInfo loaded(&chain);
    ASSERT_EQ(1, loaded.LoadDMXFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(5, loaded.GetDMXCount());
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(ground.GetDMXZH(i), loaded.GetDMXZH(i), 0.0005);
        EXPECT_NEAR(ground.GetDMXElevation(i), loaded.GetDMXElevation(i), 0.0005);
    }
}

TEST_F(GroundLineTest, BadDMXLineNamesFileLineAndField)
{
    ScratchFolder folder(L"dmx_bad");
    const CString path = folder / L"bad.DMX";
    struct {
        const wchar_t* content;
        const wchar_t* message;   // %s: the path
    } cases[] = {
        {L"100 50\n100 51\n99.99 52\n", L"读地面线文件%s第3行, 违反了桩号[99.99]递增规则!!"},
        {L"100 50 1\n99.99 52 1\n", L"读地面线文件%s第2行, 违反了桩号[99.99_1]递增规则!!"},
        {L"100 50\n\n// c\n1x0 52\n", L"读地面线文件(%s)\n\n第4行第1个数据1x0, <桩号>错误!"},
        {L"100_z 50\n", L"读地面线文件(%s)\n\n第1行第1个数据桩号的断链号100_z, <桩号的断链号>错误!"},
        {L"100 5o\n", L"读地面线文件%s第1行, 地面高(5o)数据错误!"},
        {L"100 50 2 7\n", L"地面线文件(%s)\n\n读第1行数据个数<4>不符\n\n每行必须为2个或3个数据!"},
        {L"100 50\n100\n", L"地面线文件(%s)\n\n读第2行数据个数<1>不符\n\n每行必须为2个或3个数据!"},
    };
    // The ground line held three points before: a bad file leaves them.
    const CString good = folder / L"good.DMX";
    road_test::WriteText(good, L"0 10\n50 11\n80 12\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.content));
        ASSERT_EQ(1, ground.LoadDMXFile(good));
        road_test::WriteText(path, c.content);
        EXPECT_EQ(0, ground.LoadDMXFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        ASSERT_EQ(3, ground.GetDMXCount());
        EXPECT_EQ(80.0, ground.GetDMXZH(2));
        EXPECT_EQ(11.5, ground.GetDMXElevation(65.0));
    }

    // A station in the gap of a break.
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1210"));
    road_test::WriteText(path, L"1205 50\n");
    EXPECT_EQ(0, ground.LoadDMXFile(path));
    EXPECT_EQ(Utf8(ClFormat(L"读地面线文件%s第1行, 桩号<1205.00000_1>转为整链时出错!", path.GetString())),
              Utf8(tkx_GetLastError()));

    EXPECT_EQ(0, ground.LoadDMXFile(folder / L"missing.DMX"));
    EXPECT_EQ(Utf8(ClFormat(L"打开<%s>文件时出错!", (folder / L"missing.DMX").GetString())), Utf8(tkx_GetLastError()));

    road_test::WriteText(path, L"");
    EXPECT_EQ(1, ground.LoadDMXFile(path));
    EXPECT_EQ(0, ground.GetDMXCount());
}

// Stations and heights convert only as whole numbers, and a height of 1e10 m
// or more is no ground (an interpolation between such heights leaves the
// range of double); the "_n" suffix holds exactly one segment number.
TEST_F(GroundLineTest, DMXFieldsMustBeWholeNumbersOfAnyRoad)
{
    ScratchFolder folder(L"dmx_whole");
    const CString path = folder / L"bad.DMX";
    struct {
        const wchar_t* content;
        const wchar_t* message;   // %s: the path
    } cases[] = {
        {L"100 50\n110 10000000000\n", L"读地面线文件%s第2行, 地面高(10000000000)数据错误!"},
        {L"100 1;5\n", L"读地面线文件%s第1行, 地面高(1;5)数据错误!"},
        {L"100__2 50\n", L"读地面线文件(%s)\n\n第1行第1个数据桩号的断链号100__2, <桩号的断链号>错误!"},
        {L"100_2 50 3\n", L"读地面线文件(%s)\n\n第1行第1个数据桩号的断链号100_2_3, <桩号的断链号>错误!"},
        {L"100_ 50\n", L"读地面线文件(%s)\n\n第1行第1个数据桩号的断链号100_, <桩号的断链号>错误!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.content));
        road_test::WriteText(path, c.content);
        EXPECT_EQ(0, ground.LoadDMXFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
    }
    double station = 0, height = 0;
    int segment = 1;
    EXPECT_EQ(0, ground.ReadLineDMXData(L"120.5 33 2x", station, height, segment));
    EXPECT_EQ(0, ground.ReadLineDMXData(L"120.5 10000000000", station, height, segment));
    EXPECT_EQ(1, ground.ReadLineDMXData(L"+120.5 9999999999.5 +2", station, height, segment));
    EXPECT_EQ(9999999999.5, height);
    EXPECT_EQ(2, segment);
}

TEST_F(GroundLineTest, DMXWriterRefusesWhatCouldNotBeReadBack)
{
    ScratchFolder folder(L"dmx_refuse");
    const CString path = folder / L"road.DMX";
    road_test::WriteBytes(path, "100.000 50.000\r\n");
    ground.AddDMHeight(300, 1);
    ground.AddDMHeight(200, 2);
    EXPECT_EQ(0, ground.SaveDMXFile(path));
    EXPECT_EQ(Utf8(L"纵断面地面线第2点桩号(200.000)小于上一点桩号(300.000), 违反了桩号递增规则!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ("100.000 50.000\r\n", road_test::ReadBytes(path));

    CArray<double, double> heights;
    ground.SetDMXHeights(heights);
    EXPECT_EQ(0, ground.SaveDMXFile(path));
    EXPECT_EQ(Utf8(L"纵断面地面线桩号与地面高数据个数不相同!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ("100.000 50.000\r\n", road_test::ReadBytes(path));

    // Values that are no numbers, as station or height.
    for (int bad : {0, 1, 2, 3}) {
        SCOPED_TRACE(bad);
        tkxZDMInfo line(&chain);
        line.AddDMHeight(100, 1);
        line.AddDMHeight(bad == 0 ? std::nan("") : 200, bad == 1 ? std::nan("") : 2);
        line.AddDMHeight(bad == 2 ? HUGE_VAL : 300, bad == 3 ? -HUGE_VAL : 3);
        EXPECT_EQ(0, line.SaveDMXFile(path));
        EXPECT_EQ(Utf8(ClFormat(L"纵断面地面线第%d点的桩号或地面高不是有效数值!", bad < 2 ? 2 : 3)),
                  Utf8(tkx_GetLastError()));
        EXPECT_EQ("100.000 50.000\r\n", road_test::ReadBytes(path));
    }

    // Numbers that would be written as values the reader refuses: a height
    // beyond any road (also one that only its three decimals take there), a
    // station beyond the chain's ends.
    const struct {
        double station, height;
        const wchar_t* message;
    } beyond[] = {
        {200, 1e10, L"纵断面地面线第2点的桩号(200.000)或地面高(10000000000.000)超出范围!"},
        {200, 9999999999.9996, L"纵断面地面线第2点的桩号(200.000)或地面高(10000000000.000)超出范围!"},
        {200, -1e12, L"纵断面地面线第2点的桩号(200.000)或地面高(-1000000000000.000)超出范围!"},
        {1e15, 2, L"纵断面地面线第2点的桩号(999999999999980.000_2)或地面高(2.000)超出范围!"},
    };
    for (const auto& c : beyond) {
        SCOPED_TRACE(c.station);
        SCOPED_TRACE(c.height);
        tkxZDMInfo line(&chain);
        line.AddDMHeight(100, 1);
        line.AddDMHeight(c.station, c.height);
        EXPECT_EQ(0, line.SaveDMXFile(path));
        EXPECT_EQ(Utf8(c.message), Utf8(tkx_GetLastError()));
        EXPECT_EQ("100.000 50.000\r\n", road_test::ReadBytes(path));
    }
    // The largest height the reader takes is written and read back.
    tkxZDMInfo high(&chain);
    high.AddDMHeight(100, 1);
    high.AddDMHeight(200, 1e10 - 1);
    ASSERT_EQ(1, high.SaveDMXFile(path)) << Utf8(tkx_GetLastError());
    tkxZDMInfo back(&chain);
    ASSERT_EQ(1, back.LoadDMXFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(1e10 - 1, back.GetDMXElevation(1));
}

// Loading a file forty times larger takes about forty times longer, not
// sixteen hundred.  A busy machine slows the large file's work more than the
// small one's (it no longer fits the caches the other programs leave it):
// ratios of up to three or four times the quiet one were measured beside two
// test runs and busy loops, so the bound of 300 leaves room for that and
// still catches a quadratic part of a fifth of the small file's time.
TEST_F(GroundLineTest, LoadingScalesLinearly)
{
    ScratchFolder folder(L"dmx_scale");
    auto write = [&](const wchar_t* name, int points) {
        std::string text;
        text.reserve(static_cast<size_t>(points) * 24);
        char line[64];
        for (int i = 0; i < points; ++i) {
            // The second half lies in the second chain segment.
            if (i < points / 2)
                snprintf(line, sizeof(line), "%.3f %.3f\r\n", i * 0.02, 100.0 + (i % 97) * 0.01);
            else
                snprintf(line, sizeof(line), "%.3f_2 %.3f\r\n", 2000.0 + i * 0.02, 100.0 + (i % 89) * 0.01);
            text += line;
        }
        const CString path = folder / name;
        road_test::WriteBytes(path, text);
        return path;
    };
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180"));
    const CString small = write(L"small.DMX", 5000);
    const CString large = write(L"large.DMX", 200000);

    auto load = [&](const CString& path, int expected) {
        return [&, path, expected] {
            tkxZDMInfo loaded(&chain);
            EXPECT_EQ(1, loaded.LoadDMXFile(path)) << Utf8(tkx_GetLastError());
            EXPECT_EQ(expected, loaded.GetDMXCount());
        };
    };
    const double ratio = road_test::GrowthRatio(load(small, 5000), load(large, 200000));
    RecordProperty("ratio", std::to_string(ratio));
    EXPECT_LT(ratio, 300.0);
    // Only a sanity check that the work was measured at all; a busy machine
    // inflates the small run more than the large one.
    EXPECT_GT(ratio, 1.5);
}

} // namespace
