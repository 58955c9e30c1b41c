// Vertical profile: curves against the parabola formula, grades, edits that
// fail and are undone, the .SQX file and the archive form.
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "road_test_support.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

struct GradePoint {
    double station;
    double elevation;
    double radius;
};

// Gives a profile grade points without computing its curves.
void SetGradePoints(tkxZDMInfo& profile, const std::vector<GradePoint>& points)
{
    CArray<double, double> stations, elevations, radii;
    for (const GradePoint& p : points) {
        stations.Add(p.station);
        elevations.Add(p.elevation);
        radii.Add(p.radius);
    }
    profile.SetBPDZHs(stations);
    profile.SetBPDElevations(elevations);
    profile.SetRs(radii);
}

// Builds a profile from grade points and computes its curves.
void SetGrade(tkxZDMInfo& profile, std::initializer_list<GradePoint> points)
{
    SetGradePoints(profile, points);
    ASSERT_EQ(1, profile.ComputeSQX()) << Utf8(tkx_GetLastError());
}

// The expected design elevation: the grade line plus flag * d^2 / (2R)
// inside a curve, d measured from the nearer tangent point.
struct Curve {
    double start, end, radius;
    int flag;
};

double Expected(double tangentElevation, double x, const Curve& c)
{
    if (x <= c.start || x >= c.end) return tangentElevation;
    const double d = x < (c.start + c.end) / 2 ? x - c.start : c.end - x;
    return tangentElevation + c.flag * d * d / (2.0 * c.radius);
}

class ProfileTest : public ::testing::Test
{
protected:
    road_test::StationSettings settings{3, 1};
    tkxBreakChain chain;
    tkxZDMInfo profile{&chain};
};

TEST_F(ProfileTest, CrestAndSagCurvesFollowTheParabola)
{
    // Crest at 100 (grades +2 % and -2 %, R 1000: T = 20) and sag at 300
    // (grades -2 % and +1 %, R 4000: T = 60).
    SetGrade(profile, {{0, 100, 0}, {100, 102, 1000}, {300, 98, 4000}, {500, 100, 0}});
    EXPECT_EQ(0, profile.GetBPDFlag(0));
    EXPECT_EQ(-1, profile.GetBPDFlag(1));
    EXPECT_EQ(1, profile.GetBPDFlag(2));
    EXPECT_EQ(0, profile.GetBPDFlag(3));
    double start = 0, end = 0;
    ASSERT_EQ(1, profile.GetTangentZH(1, start, end));
    EXPECT_NEAR(80.0, start, 1e-9);
    EXPECT_NEAR(120.0, end, 1e-9);
    ASSERT_EQ(1, profile.GetTangentZH(2, start, end));
    EXPECT_NEAR(240.0, start, 1e-9);
    EXPECT_NEAR(360.0, end, 1e-9);

    const Curve crest{80, 120, 1000, -1};
    const Curve sag{240, 360, 4000, 1};
    auto tangent = [](double x) {
        if (x <= 100) return 100 + 0.02 * x;
        if (x <= 300) return 102 - 0.02 * (x - 100);
        return 98 + 0.01 * (x - 300);
    };
    for (double x : {0.0, 50.0, 80.0, 85.0, 100.0, 110.0, 120.0, 200.0, 240.0, 250.0, 300.0, 330.0, 360.0, 500.0}) {
        SCOPED_TRACE(x);
        double elevation = 0;
        ASSERT_EQ(1, profile.GetElevation(x, elevation)) << Utf8(tkx_GetLastError());
        const double expected = x < 200 ? Expected(tangent(x), x, crest) : Expected(tangent(x), x, sag);
        EXPECT_NEAR(expected, elevation, 1e-9);
        double onTangent = 0;
        ASSERT_EQ(1, profile.GetTangentElevation(x, onTangent));
        EXPECT_NEAR(tangent(x), onTangent, 1e-9);
    }
    double elevation = 0;
    profile.GetElevation(100, elevation);
    EXPECT_NEAR(101.8, elevation, 1e-9);   // 102 - 20^2 / 2000
    profile.GetElevation(85, elevation);
    EXPECT_NEAR(101.7 - 25.0 / 2000.0, elevation, 1e-9);
}

TEST_F(ProfileTest, ElevationOutsideTheProfile)
{
    SetGrade(profile, {{1000, 100, 0}, {1100, 102, 1000}, {1200, 100, 0}});
    double elevation = 0;
    EXPECT_EQ(1, profile.GetElevation(1200.0005, elevation));
    EXPECT_NEAR(100.0, elevation, 1e-4);
    EXPECT_EQ(1, profile.GetElevation(999.9995, elevation));
    EXPECT_EQ(0, profile.GetElevation(1200.01, elevation));
    EXPECT_EQ(-999.0, elevation);
    EXPECT_EQ(Utf8(L"计算中桩<1200.010>高程时出错! 竖曲线文件范围(1000.000 ~ 1200.000)!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(0, profile.GetTangentElevation(990.0, elevation));
    EXPECT_EQ(Utf8(L"计算中桩<990.000>高程时桩号越界错误! 竖曲线文件范围(1000.000 ~ 1200.000)!"),
              Utf8(tkx_GetLastError()));

    EXPECT_EQ(-999.0, profile.GetBPDZH(3));
    EXPECT_EQ(-999.0, profile.GetBPDElevation(-1));
    EXPECT_EQ(-999.0, profile.GetR(7));
    EXPECT_EQ(0, profile.GetBPDFlag(9));

    tkxZDMInfo withoutChain;
    EXPECT_EQ(0, withoutChain.GetElevation(1000, elevation));
    EXPECT_EQ(Utf8(L"未定义道路断链对象错误!"), Utf8(tkx_GetLastError()));
    tkxZDMInfo empty(&chain);
    EXPECT_EQ(0, empty.GetElevation(1000, elevation));
    EXPECT_EQ(Utf8(L"未定义纵断面拉坡数据!"), Utf8(tkx_GetLastError()));
}

TEST_F(ProfileTest, Grades)
{
    SetGrade(profile, {{0, 100, 0}, {100, 102, 1000}, {200, 100, 0}});
    EXPECT_EQ(-999.0, profile.GetPD(0));
    EXPECT_NEAR(0.02, profile.GetPD(1), 1e-12);
    EXPECT_NEAR(-0.02, profile.GetPD(2), 1e-12);
    EXPECT_EQ(-999.0, profile.GetPD(3));

    struct {
        double x, grade;
    } cases[] = {{0, 0.02}, {50, 0.02}, {100, 0.0}, {110, -0.01}, {150, -0.02}, {200, -0.02}, {250, -0.02}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        double grade = 0;
        ASSERT_EQ(1, profile.GetPD(c.x, grade));
        EXPECT_NEAR(c.grade, grade, 1e-5);
    }
    EXPECT_NEAR(0.02, profile.GetLPPD(50), 1e-12);
    EXPECT_NEAR(-0.02, profile.GetLPPD(150), 1e-12);
    EXPECT_EQ(0.0, profile.GetLPPD(300));
}

// The elevation at a station is found without passing every grade point
// before it: along a profile of a hundred times the grade points over the
// same stretch, the same stations take a few times as long at most (their
// arrays no longer fit the caches, the less so on a busy machine), where a
// search from the first grade point took about a hundred times as long.
TEST_F(ProfileTest, AnElevationIsFoundWithoutPassingEveryGradePointBeforeIt)
{
    const auto along = [&](int points) {
        auto grade = std::make_shared<tkxZDMInfo>(&chain);
        std::vector<GradePoint> stations;
        for (int i = 0; i < points; ++i) stations.push_back({4000.0 * i / (points - 1), 100.0 + (i % 7) * 0.1, 0});
        SetGradePoints(*grade, stations);
        EXPECT_EQ(1, grade->ComputeSQX()) << Utf8(tkx_GetLastError());
        return [grade] {
            double elevation = 0, sum = 0;
            for (int k = 0; k <= 4000; ++k) {
                EXPECT_EQ(1, grade->GetElevation(k, elevation));
                sum += elevation;
            }
            EXPECT_GT(sum, 0.0);
        };
    };
    const double ratio = road_test::GrowthRatio(along(1000), along(100000));
    RecordProperty("ratio", std::to_string(ratio));
    EXPECT_LT(ratio, 25.0);
}

TEST_F(ProfileTest, EditsThatCannotBeComputedAreUndone)
{
    SetGrade(profile, {{0, 100, 0}, {100, 102, 1000}, {200, 100, 2000}, {300, 103, 0}});
    double before = 0;
    profile.GetElevation(150, before);

    // A radius of 5000 at point 2 makes its curve start at 75, before the
    // curve of point 1 ends at 120.
    EXPECT_EQ(0, profile.SetAtRadius(2, 5000));
    EXPECT_EQ(Utf8(L"竖曲线文件中, 第2个变坡点前方穿袖! \n竖曲线起点桩号(K0+075.0000)<前方竖曲线终点桩号(K0+120.0000), 穿袖长度:45.0000!"),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(2000.0, profile.GetR(2));
    double after = 0;
    ASSERT_EQ(1, profile.GetElevation(150, after)) << "the profile still works after the refused edit";
    EXPECT_EQ(before, after);

    EXPECT_EQ(0, profile.ModifyBPD(1, 100, 102, 30000));
    EXPECT_EQ(1000.0, profile.GetR(1));
    EXPECT_EQ(0, profile.ModifyBPD(2, 50, 100, 2000)) << "stations must increase";
    EXPECT_EQ(200.0, profile.GetBPDZH(2));
    EXPECT_EQ(0, profile.ModifyBPD(4, 400, 100, 0));
    EXPECT_EQ(Utf8(L"输入的变坡点序号[4]越界."), Utf8(tkx_GetLastError()));
    EXPECT_EQ(0, profile.SetAtBPDElevation(0, 90)) << "only inner grade points";
    EXPECT_EQ(100.0, profile.GetBPDElevation(0));

    ASSERT_EQ(1, profile.SetAtBPDElevation(1, 103)) << Utf8(tkx_GetLastError());
    double changed = 0;
    profile.GetElevation(100, changed);
    EXPECT_NEAR(103 - 30.0 * 30.0 / 2000.0, changed, 1e-9);   // grades +3 % and -3 %: T = 30
}

TEST_F(ProfileTest, InsertAndDeleteGradePoints)
{
    SetGrade(profile, {{0, 100, 0}, {100, 102, 1000}, {200, 100, 0}});
    EXPECT_EQ(0, profile.InsertBPD(110, 101, 500));
    EXPECT_EQ(Utf8(L"新变坡点桩号位于现有竖曲线中."), Utf8(tkx_GetLastError()));
    EXPECT_EQ(3, profile.GetBPDCount());

    ASSERT_EQ(1, profile.InsertBPD(160, 99, 500)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, profile.InsertBPD(300, 101, 0));
    ASSERT_EQ(1, profile.InsertBPD(-50, 99, 0));
    ASSERT_EQ(6, profile.GetBPDCount());
    const double expected[] = {-50, 0, 100, 160, 200, 300};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[i], profile.GetBPDZH(i));

    ASSERT_EQ(1, profile.DeleteBPD(3));
    EXPECT_EQ(200.0, profile.GetBPDZH(3));
    EXPECT_EQ(0, profile.DeleteBPD(5));
    // Down to one point, then the last one cannot go.
    while (profile.GetBPDCount() > 1) ASSERT_EQ(1, profile.DeleteBPD(0));
    EXPECT_EQ(0, profile.DeleteBPD(0));
    EXPECT_EQ(1, profile.GetBPDCount());

    // A profile can be built point by point.
    tkxZDMInfo built(&chain);
    ASSERT_EQ(1, built.InsertBPD(200, 100, 0));
    ASSERT_EQ(1, built.InsertBPD(0, 100, 0));
    ASSERT_EQ(1, built.InsertBPD(100, 102, 1000));
    EXPECT_EQ(0.0, built.GetBPDZH(0));
    EXPECT_EQ(-1, built.GetBPDFlag(1));
}

TEST_F(ProfileTest, FindSQXIndex)
{
    SetGrade(profile, {{0, 100, 0}, {100, 102, 1000}, {200, 100, 0}});
    struct {
        double x;
        int index;
        bool onTangent;
    } cases[] = {{-1, -1, true}, {50, 0, true}, {85, 1, false}, {100, 1, false}, {115, 1, false},
                 {150, 1, true}, {200, 2, true}, {201, 3, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        bool onTangent = false;
        EXPECT_EQ(c.index, profile.FindSQXIndex(c.x, onTangent));
        EXPECT_EQ(c.onTangent, onTangent);
    }
}

// ---------------------------------------------------------------------------
// The .SQX file.

TEST_F(ProfileTest, SQXFileKeepsSegmentsAndReadsBackTheSameProfile)
{
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180"));
    ScratchFolder folder(L"sqx_round");
    const CString path = folder / L"road.SQX";
    // 1250 and 1400 lie in the second segment (stations 1230_2 and 1380_2).
    SetGrade(profile, {{1000, 100, 0}, {1100, 101, 3000}, {1250, 99.5, 2500}, {1400, 100.25, 777}});
    ASSERT_EQ(1, profile.SaveSQXFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ("1000.000000 100.000000 \r\n"
              "1100.000000 101.000000 3000.000000 \r\n"
              "1230.000000 99.500000 2500.000000 2\r\n"
              "1380.000000 100.250000 777.000000 2\r\n",
              road_test::ReadBytes(path));

    tkxZDMInfo loaded(&chain);
    ASSERT_EQ(1, loaded.LoadSQXFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(4, loaded.GetBPDCount());
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(profile.GetBPDZH(i), loaded.GetBPDZH(i), 1e-6);
        EXPECT_NEAR(profile.GetBPDElevation(i), loaded.GetBPDElevation(i), 1e-6);
        if (i > 0) {
            EXPECT_NEAR(profile.GetR(i), loaded.GetR(i), 1e-6);
        }
        EXPECT_EQ(profile.GetBPDFlag(i), loaded.GetBPDFlag(i));
    }

    // The start in the second segment goes on the first line's third field.
    tkxZDMInfo late(&chain);
    SetGrade(late, {{1250, 100, 0}, {1400, 101, 0}});
    ASSERT_EQ(1, late.SaveSQXFile(path));
    EXPECT_EQ("1230.000000 100.000000 2\r\n1380.000000 101.000000 0.000000 2\r\n", road_test::ReadBytes(path));
    ASSERT_EQ(1, loaded.LoadSQXFile(path));
    EXPECT_NEAR(1250.0, loaded.GetBPDZH(0), 1e-9);
    EXPECT_NEAR(1400.0, loaded.GetBPDZH(1), 1e-9);

    // A grade point a hair before the break (as arithmetic leaves it) is
    // written with the segment its station was taken from: the back station
    // 1200 read in segment 2 would land 20 m further on.
    tkxZDMInfo atBreak(&chain);
    SetGrade(atBreak, {{1000, 100, 0}, {1200.0 - 1e-9, 101, 0}, {1400, 100, 0}});
    ASSERT_EQ(1, atBreak.SaveSQXFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, loaded.LoadSQXFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, loaded.GetBPDCount());
    EXPECT_NEAR(1200.0, loaded.GetBPDZH(1), 1e-6);
    EXPECT_NEAR(1400.0, loaded.GetBPDZH(2), 1e-6);
}

TEST_F(ProfileTest, SQXSegmentSuffixStaysInForce)
{
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180"));
    ScratchFolder folder(L"sqx_suffix");
    const CString path = folder / L"road.SQX";
    // 1190 is held by both segments: before the suffix it is segment 1's,
    // after "1185_2" the following lines are read in segment 2.
    road_test::WriteText(path, L"// 竖曲线\n1000 100\n1190 101 0\n1185_2 101.5 0\n1190 101.6 0\n1400 102\n");
    ASSERT_EQ(1, profile.LoadSQXFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(5, profile.GetBPDCount());
    EXPECT_NEAR(1190.0, profile.GetBPDZH(1), 1e-9);
    EXPECT_NEAR(1205.0, profile.GetBPDZH(2), 1e-9);
    EXPECT_NEAR(1210.0, profile.GetBPDZH(3), 1e-9);
    EXPECT_NEAR(1420.0, profile.GetBPDZH(4), 1e-9);
    EXPECT_EQ(0.0, profile.GetR(0));
}

struct SQXRefusal {
    const wchar_t* content;
    const wchar_t* message;   // %s: the path
};

TEST_F(ProfileTest, BadSQXFileLeavesTheProfileAsItWas)
{
    ScratchFolder folder(L"sqx_bad");
    const CString path = folder / L"bad.SQX";
    const SQXRefusal cases[] = {
        {L"0 100\n", L"竖曲线文件(%s)\n\n读到文件末尾(第1行), 纵断面文件数据内容不足!"},
        {L"// 空\n\n", L"竖曲线文件(%s)\n\n读到文件末尾(第2行), 纵断面文件数据内容不足!"},
        {L"0 100\n100\n", L"竖曲线文件(%s)\n\n第2行格式错误!\n\n<100>"},
        {L"0 100\n1x0 102 1000\n200 100\n", L"竖曲线文件(%s)\n\n第2行第1个数据1x0, <桩号>错误!"},
        {L"0 100\n100_a 102 1000\n200 100\n", L"竖曲线文件(%s)\n\n第2行第1个数据桩号的断链号a, <桩号的断链号>错误!"},
        {L"0 100\n100 1o2 1000\n", L"竖曲线文件(%s)\n\n第2行第2个数据1o2, <变坡点高程>错误!"},
        {L"0 100 x\n", L"竖曲线文件(%s)\n\n第1行第3个数据x, <起点桩号的断链号>错误!"},
        {L"0 100\n// c\n100 102 R1000\n", L"竖曲线文件(%s)\n\n第3行,第3个数据<R1000>,  竖曲线半径 错误!"},
        {L"0 100\n100 102 1000 two\n", L"竖曲线文件(%s)\n\n第2行,第4个数据<two>, 变坡点桩号的断链号 错误!"},
        {L"0 100\n100 102 1000\n100 100\n", L"竖曲线文件(%s)\n\n第3行第1个数据100, 变坡点桩号必须大于上一变坡点桩号!"},
        {L"0 100\n100 102 1000\n150 100 3000\n300 102\n",
         L"竖曲线文件(%s)\n\n第3行: 竖曲线文件中, 第2个变坡点前方穿袖! \n竖曲线起点桩号(K0+070.0000)<前方竖曲线终点桩号(K0+130.0000), "
         L"穿袖长度:60.0000!"},
    };
    for (const SQXRefusal& c : cases) {
        SCOPED_TRACE(Utf8(c.content));
        SetGrade(profile, {{0, 90, 0}, {500, 95, 0}});
        road_test::WriteText(path, c.content);
        EXPECT_EQ(0, profile.LoadSQXFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        ASSERT_EQ(2, profile.GetBPDCount());
        EXPECT_EQ(500.0, profile.GetBPDZH(1));
        double elevation = 0;
        EXPECT_EQ(1, profile.GetElevation(250, elevation));
        EXPECT_NEAR(92.5, elevation, 1e-9);
    }

    // A station that no segment holds.
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1210"));
    road_test::WriteText(path, L"1000 100\n1205 101\n");
    EXPECT_EQ(0, profile.LoadSQXFile(path));
    EXPECT_EQ(Utf8(ClFormat(L"竖曲线文件%s中, 第2行,\n\n将变坡点桩号<1205.000 1>转换为整链桩号时出错!\n\n请检查桩号和断链号!",
                            path.GetString())),
              Utf8(tkx_GetLastError()));

    EXPECT_EQ(0, profile.LoadSQXFile(folder / L"missing.SQX"));
    EXPECT_EQ(Utf8(ClFormat(L"打开竖曲线文件%s错误!", (folder / L"missing.SQX").GetString())), Utf8(tkx_GetLastError()));
    EXPECT_EQ(2, profile.GetBPDCount());
}

// Values no road has are refused where they would carry the curves out of
// the range of double: elevations of 1e10 m or more, and a radius whose
// tangent length is beyond every number (the curve limits would be infinite
// or not a number at all).
TEST_F(ProfileTest, SQXValuesBeyondAnyRoadAreRefused)
{
    ScratchFolder folder(L"sqx_range");
    const CString path = folder / L"far.SQX";
    const std::wstring hugeRadius = L"1" + std::wstring(300, L'0');
    const struct {
        std::wstring content;
        std::wstring message;   // %s: the path
    } cases[] = {
        {L"0 100\n100 10000000000 1000\n200 100\n", L"竖曲线文件(%s)\n\n第2行第2个数据10000000000, <变坡点高程>错误!"},
        {L"0 -10000000000.5\n100 100\n", L"竖曲线文件(%s)\n\n第1行第2个数据-10000000000.5, <变坡点高程>错误!"},
        {L"0 0\n1 9999999999 " + hugeRadius + L"\n2 0\n",
         L"竖曲线文件(%s)\n\n第2行: 竖曲线文件中, 第1个变坡点的竖曲线半径或高程数值超出范围!"},
        {L"0 100\n100 1__2 1000\n200 100\n", L"竖曲线文件(%s)\n\n第2行第2个数据1__2, <变坡点高程>错误!"},
        {L"0 100\n100_2_3 102 1000\n200 100\n", L"竖曲线文件(%s)\n\n第2行第1个数据桩号的断链号2_3, <桩号的断链号>错误!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.content.substr(0, 40).c_str()));
        SetGrade(profile, {{0, 90, 0}, {500, 95, 0}});
        road_test::WriteText(path, c.content.c_str());
        EXPECT_EQ(0, profile.LoadSQXFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message.c_str(), path.GetString())), Utf8(tkx_GetLastError()));
        EXPECT_EQ(2, profile.GetBPDCount());
    }
}

TEST_F(ProfileTest, SQXWriterRefusesWhatCouldNotBeReadBack)
{
    ScratchFolder folder(L"sqx_refuse");
    const CString path = folder / L"road.SQX";
    road_test::WriteBytes(path, "old");
    tkxZDMInfo single(&chain);
    SetGrade(single, {{0, 100, 0}});
    EXPECT_EQ(0, single.SaveSQXFile(path));
    EXPECT_EQ(Utf8(L"纵断面文件数据内容不足!"), Utf8(tkx_GetLastError()));

    CArray<double, double> radii;
    radii.Add(0);
    SetGrade(profile, {{0, 100, 0}, {100, 101, 0}});
    profile.SetRs(radii);
    EXPECT_EQ(0, profile.SaveSQXFile(path));
    EXPECT_EQ(Utf8(L"变坡点桩号与半径数据个数不相同!"), Utf8(tkx_GetLastError()));

    tkxZDMInfo noChain;
    EXPECT_EQ(0, noChain.SaveSQXFile(path));
    EXPECT_EQ(Utf8(L"未定义断链对象, 无法输出纵断面竖曲线文件!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ("old", road_test::ReadBytes(path));

    // Values that are no numbers, and curves that overlap (set without
    // computing them, as a caller may).
    const double nan = std::nan("");
    struct Case {
        const char* what;
        std::vector<GradePoint> points;
        const wchar_t* message;
    } cases[] = {
        {"an elevation", {{0, 100, 0}, {100, nan, 1000}, {200, 100, 0}}, L"第2个变坡点的桩号、高程或竖曲线半径不是有效数值!"},
        {"a radius", {{0, 100, 0}, {100, 101, HUGE_VAL}, {200, 100, 0}}, L"第2个变坡点的桩号、高程或竖曲线半径不是有效数值!"},
        {"a station", {{0, 100, 0}, {100, 101, 1000}, {nan, 100, 0}}, L"第3个变坡点的桩号、高程或竖曲线半径不是有效数值!"},
        {"overlapping curves", {{0, 100, 0}, {100, 102, 5000}, {200, 100, 5000}, {300, 102, 0}},
         L"竖曲线文件中, 第2个变坡点前方穿袖! \n竖曲线起点桩号(K0+100.0000)<前方竖曲线终点桩号(K0+200.0000), "
         L"穿袖长度:100.0000!"},
        // Numbers that would be written as values the reader refuses: an
        // elevation beyond any road, a station beyond the chain's ends.
        {"an elevation beyond any road", {{0, 100, 0}, {100, 1e10, 0}},
         L"第2个变坡点的桩号(100.000000)或高程(10000000000.000000)超出范围!"},
        {"a station beyond the chain", {{0, 100, 0}, {1e15, 100, 0}},
         L"第2个变坡点的桩号(1000000000000000.000000)或高程(100.000000)超出范围!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tkxZDMInfo bad(&chain);
        SetGradePoints(bad, c.points);
        EXPECT_EQ(0, bad.SaveSQXFile(path));
        EXPECT_EQ(Utf8(c.message), Utf8(tkx_GetLastError()));
        EXPECT_EQ("old", road_test::ReadBytes(path));
    }
}

// Curves that end where the next begins are accepted when computed and when
// read, also where rounding makes the first end a hair after the next start.
TEST_F(ProfileTest, TouchingCurvesAreAccepted)
{
    ScratchFolder folder(L"sqx_touch");
    const CString path = folder / L"touch.SQX";
    struct Case {
        std::vector<GradePoint> points;
        const wchar_t* file;
        double touch; // where the first curve ends and the second begins
    } cases[] = {
        {{{0, 100, 0}, {100, 102, 2500}, {200, 100, 2500}, {300, 102, 0}},
         L"0 100\n100 102 2500\n200 100 2500\n300 102 0\n", 150},
        // 90 * 0.3 / 90 ... the curve ends come out 2e-13 apart the wrong way.
        {{{0, 10, 0}, {90, 10.3, 13500}, {180, 10, 13500}, {270, 10.3, 0}},
         L"0 10\n90 10.3 13500\n180 10 13500\n270 10.3 0\n", 135},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.touch);
        tkxZDMInfo computed(&chain);
        SetGradePoints(computed, c.points);
        ASSERT_EQ(1, computed.ComputeSQX()) << Utf8(tkx_GetLastError());
        double start = 0, end = 0, nextStart = 0, nextEnd = 0;
        ASSERT_EQ(1, computed.GetTangentZH(1, start, end));
        ASSERT_EQ(1, computed.GetTangentZH(2, nextStart, nextEnd));
        EXPECT_NEAR(c.touch, end, 1e-9);
        EXPECT_NEAR(c.touch, nextStart, 1e-9);

        road_test::WriteText(path, c.file);
        tkxZDMInfo read(&chain);
        ASSERT_EQ(1, read.LoadSQXFile(path)) << Utf8(tkx_GetLastError());
        EXPECT_EQ(4, read.GetBPDCount());
        ASSERT_EQ(1, read.SaveSQXFile(path)) << Utf8(tkx_GetLastError());
    }
}

// ---------------------------------------------------------------------------
// Archive form.

TEST_F(ProfileTest, ArchiveRoundTripAndUnknownVersion)
{
    SetGrade(profile, {{0, 100, 0}, {100, 102, 1000}, {200, 100, 0}});
    profile.AddDMHeight(0, 99);
    profile.AddDMHeight(200, 98);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        profile.Serialize(ar);
        ar.Close();
    }
    // Version word, count, 3 x (3 doubles + flag), 6 tangent doubles, ground
    // count, 2 x 2 doubles.
    EXPECT_EQ(2u + 4u + 3u * 26u + 6u * 8u + 4u + 4u * 8u, file.Data().size());

    file.SeekToBegin();
    tkxZDMInfo loaded(&chain);
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(nullptr, loaded.GetBreakChain()) << "the owner sets the chain again";
    loaded.SetBreakChain(&chain);
    double elevation = 0;
    ASSERT_EQ(1, loaded.GetElevation(100, elevation));
    EXPECT_NEAR(101.8, elevation, 1e-9);
    EXPECT_EQ(-1, loaded.GetBPDFlag(1));
    EXPECT_EQ(2, loaded.GetDMXCount());
    EXPECT_EQ(98.5, loaded.GetDMXElevation(100.0));

    // Another version word leaves the profile empty.
    std::vector<BYTE> bytes = file.Data();
    bytes[0] = 2;
    CMemFile other(bytes.data(), static_cast<UINT>(bytes.size()));
    {
        CArchive ar(&other, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_EQ(0, loaded.GetBPDCount());
    EXPECT_EQ(0, loaded.GetDMXCount());
}

} // namespace
