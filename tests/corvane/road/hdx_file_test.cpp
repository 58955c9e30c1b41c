// The .HDX file and the terrain set: layouts, round trips, refusals, order,
// cursors, look-ups and the time a large file takes to load.
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/Profile.h"
#include "road_test_support.h"
#include "support/MessageBoxScript.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

using namespace Tavix4;
using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

class HdxFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180"));
        profile.AddDMHeight(0, 100);
        profile.AddDMHeight(2000, 120);
        terrain.SetZDMInfo(&profile);
    }

    // A section at a chainage with the ground elevation of the profile.
    tkxHdxSection* NewSection(double chainage)
    {
        sZHPtInfo point;
        point.m_rZH = chainage;
        point.m_rZ = profile.GetDMXElevation(chainage);
        return new tkxHdxSection(point);
    }

    std::vector<double> Stations(const tkxHDMTerrain& set) const
    {
        CArray<double, double> all;
        set.GetAllSectionZHs(all);
        return std::vector<double>(all.begin(), all.end());
    }

    road_test::StationSettings settings{3, 1};
    ScratchFolder folder{L"hdx_file"};
    tkxBreakChain chain;
    tkxZDMInfo profile{&chain};
    tkxHDMTerrain terrain{&chain};
};

TEST_F(HdxFileTest, LayoutKeywordOrRelative)
{
    const CString path = folder / L"road.HDX";
    struct {
        const wchar_t* text;
        enHDXFormat format;
    } cases[] = {
        // The ground line gives 110 at station 1000.
        {L"ABS\n1000\n2 109\n0 0\n", HDX_ABS},
        {L"// 横地线\nabs1\n1000\n2 -1\n0 0\n", HDX_ABS1},
        {L"1000\n2 -1\n0 0\n", HDX_RELATIVE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        road_test::WriteText(path, c.text);
        enHDXFormat format = static_cast<enHDXFormat>(-1);
        EXPECT_EQ(Utf8(L""), Utf8(tkxHdxSection::CheckHDXFormat(path, format)));
        EXPECT_EQ(c.format, format);
        ASSERT_EQ(1, terrain.LoadHDXFile(path)) << Utf8(tkx_GetLastError());
        EXPECT_EQ(c.format, terrain.GetFormat());
        ASSERT_EQ(1, terrain.GetHDXSectionCount());
        double pt[2];
        ASSERT_EQ(1, terrain.GetHDXSection(0)->GetLeftPt(1, pt));
        EXPECT_NEAR(2.0, pt[0], 1e-6);
        EXPECT_NEAR(109.0, pt[1], 1e-4);
    }

    // A keyword alone: no section; only "ABS" needs the ground line.
    road_test::WriteText(path, L"ABS1\n");
    tkxHDMTerrain bare(&chain);
    EXPECT_EQ(1, bare.LoadHDXFile(path));
    EXPECT_EQ(0, bare.GetHDXSectionCount());
    road_test::WriteText(path, L"ABS\n");
    EXPECT_EQ(0, bare.LoadHDXFile(path));
    EXPECT_EQ(Utf8(L"读取ABS格式时, 纵地线未定义"), Utf8(tkx_GetLastError()));

    enHDXFormat format;
    EXPECT_EQ(Utf8(ClFormat(L"打开横地线文件失败!\n\n[%s]", (folder / L"none.HDX").GetString())),
              Utf8(tkxHdxSection::CheckHDXFormat(folder / L"none.HDX", format)));
}

TEST_F(HdxFileTest, RoundTripInEveryLayout)
{
    const CString path = folder / L"road.HDX";
    // Three sections: water on the left, an empty right side, one in the
    // second chain segment.
    tkxHdxSection* a = NewSection(1000);
    a->AddPt(2, a->GetZHInfo().m_rZ - 0.5, WATER_INSIDE, 1);
    a->AddPt(4, a->GetZHInfo().m_rZ - 0.8, WATER_END, 1);
    a->AddPt(6, a->GetZHInfo().m_rZ + 0.25, WATER_NONE, 1);
    tkxHdxSection* b = NewSection(1000);   // equal stations are allowed
    b->AddPt(3, 200, WATER_NONE, 2);
    tkxHdxSection* c = NewSection(1250);
    c->AddPt(1.5, 105, WATER_START, 1);
    c->AddPt(2.5, 104, WATER_END, 1);
    c->AddPt(10, 111.111, WATER_NONE, 2);
    // Water from 1000 m out: the writer's marked distances are eight
    // characters and more.
    tkxHdxSection* d = NewSection(1500);
    d->AddPt(1000, 114, WATER_START, 1);
    d->AddPt(1500.25, 113.5, WATER_INSIDE, 1);
    d->AddPt(12000, 114.75, WATER_END, 1);
    d->AddPt(2, 115.5, WATER_INSIDE, 2);
    d->AddPt(5000.5, 116, WATER_END, 2);
    terrain.AddHDXSection(a);
    terrain.AddHDXSection(b);
    terrain.AddHDXSection(c);
    terrain.AddHDXSection(d);

    for (enHDXFormat format : {HDX_ABS, HDX_ABS1, HDX_RELATIVE}) {
        SCOPED_TRACE(static_cast<int>(format));
        terrain.SetFormat(format);
        ASSERT_EQ(1, terrain.SaveHDXFile(path)) << Utf8(tkx_GetLastError());
        tkxHDMTerrain loaded(&chain);
        loaded.SetZDMInfo(&profile);
        ASSERT_EQ(1, loaded.LoadHDXFile(path)) << Utf8(tkx_GetLastError());
        EXPECT_EQ(format, loaded.GetFormat());
        ASSERT_EQ(4, loaded.GetHDXSectionCount());
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const tkxHdxSection* original = terrain.GetHDXSection(i);
            const tkxHdxSection* back = loaded.GetHDXSection(i);
            EXPECT_NEAR(original->GetZHInfo().m_rZH, back->GetZHInfo().m_rZH, 1e-9);
            for (int side : {1, 2}) {
                CArray<sHdxPoint, sHdxPoint> expected, actual;
                side == 1 ? original->GetAllLeftPts(expected) : original->GetAllRightPts(expected);
                side == 1 ? back->GetAllLeftPts(actual) : back->GetAllRightPts(actual);
                // The reader puts the centre point first (with "[W" when the
                // water begins at the first point).
                ASSERT_EQ(expected.GetSize() + 1, actual.GetSize()) << "side " << side;
                for (INT_PTR k = 0; k < expected.GetSize(); ++k) {
                    EXPECT_NEAR(expected[k].m_fOffset, actual[k + 1].m_fOffset, 0.0006);
                    EXPECT_NEAR(expected[k].m_fElevation, actual[k + 1].m_fElevation, 0.0006);
                    EXPECT_EQ(expected[k].m_Flag, actual[k + 1].m_Flag);
                }
            }
        }
        // The first left point is inside the water: the centre point starts it.
        tkxPoint3d centre;
        enWaterFlag flag = WATER_NONE;
        ASSERT_EQ(1, loaded.GetHDXSection(0)->GetLeftPt(0, centre, flag));
        EXPECT_EQ(WATER_START, flag);
    }
    CString text;
    terrain.SetFormat(HDX_ABS1);
    ASSERT_EQ(1, terrain.ExportString(text));
    EXPECT_EQ(Utf8(L"ABS1\n1000.000\nW2.000 -0.500 W]4.000 -0.800 6.000 0.250 \n0 0\n"
                   L"1000.000\n0 0\n3.000 90.000 \n"
                   L"1230.000_2\n[W1.500 -7.500 W]2.500 -8.500 \n10.000 -1.389 \n"
                   L"1480.000_2\n[W1000.000 -1.000 W1500.250 -1.500 W]12000.000 -0.250 \n"
                   L"W2.000 0.500 W]5000.500 1.000 \n"),
              Utf8(text));
}

TEST_F(HdxFileTest, RefusedSaveKeepsTheOldFile)
{
    const CString path = folder / L"road.HDX";
    road_test::WriteBytes(path, "ABS1\r\n1000.000\r\n0 0\r\n0 0\r\n");
    const std::string old = road_test::ReadBytes(path);

    terrain.SetFormat(HDX_ABS1);
    EXPECT_EQ(0, terrain.SaveHDXFile(path));
    EXPECT_EQ(Utf8(L"无横地线数据!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(old, road_test::ReadBytes(path));

    tkxHDMTerrain unformatted(&chain);
    unformatted.AddHDXSection(NewSection(1000));
    EXPECT_EQ(0, unformatted.SaveHDXFile(path)) << "a new set has no layout until one is set";
    EXPECT_EQ(old, road_test::ReadBytes(path));

    terrain.AddHDXSection(NewSection(1100));
    terrain.AddHDXSection(NewSection(1050));
    EXPECT_EQ(0, terrain.SaveHDXFile(path));
    EXPECT_EQ(Utf8(L"横地线第2个断面桩号(1050.000)小于上一断面桩号(1100.000)!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(old, road_test::ReadBytes(path));

    tkxHDMTerrain noChain;
    noChain.SetFormat(HDX_ABS1);
    noChain.AddHDXSection(NewSection(1000));
    EXPECT_EQ(0, noChain.SaveHDXFile(path));
    EXPECT_EQ(Utf8(L"横地线未指定断链对象!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(old, road_test::ReadBytes(path));

    // Values that are no numbers, anywhere in a section, in every layout.
    const double nan = std::nan("");
    struct Case {
        const char* what;
        double station, centre, offset, elevation;
        int side;
        const wchar_t* message;
    } cases[] = {
        {"station", nan, 100, 2, 99, 1, L"横地线断面的桩号或中桩高程不是有效数值!"},
        {"centre elevation", 1000, HUGE_VAL, 2, 99, 1, L"横地线断面的桩号或中桩高程不是有效数值!"},
        {"left offset", 1000, 100, nan, 99, 1, L"横地线断面(1000.000)左侧第2个点的偏距或高程不是有效数值!"},
        {"right elevation", 1000, 100, 2, nan, 2, L"横地线断面(1000.000)右侧第2个点的偏距或高程不是有效数值!"},
        {"right elevation infinite", 1000, 100, 2, -HUGE_VAL, 2,
         L"横地线断面(1000.000)右侧第2个点的偏距或高程不是有效数值!"},
        {"station beyond the chain", 1e15, 100, 2, 99, 1, L"横地线断面的桩号(999999999999980.000_2)超出范围!"},
    };
    for (enHDXFormat format : {HDX_ABS, HDX_ABS1, HDX_RELATIVE}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " in layout " + std::to_string(format));
            sZHPtInfo point;
            point.m_rZH = c.station;
            point.m_rZ = c.centre;
            auto* section = new tkxHdxSection(point);
            section->AddPt(1, 100.5, WATER_NONE, c.side);
            section->AddPt(c.offset, c.elevation, WATER_NONE, c.side);
            tkxHDMTerrain set(&chain);
            set.SetFormat(format);
            set.AddHDXSection(NewSection(900));
            set.AddHDXSection(section);
            EXPECT_EQ(0, set.SaveHDXFile(path));
            EXPECT_EQ(Utf8(c.message), Utf8(tkx_GetLastError()));
            EXPECT_EQ(old, road_test::ReadBytes(path));
        }
    }
}

TEST_F(HdxFileTest, BadLinesNameFileLineAndField)
{
    const CString path = folder / L"bad.HDX";
    // A marked distance of 50,000 digits, beyond any number a point holds.
    const std::wstring longMark = L"W" + std::wstring(50000, L'1');
    struct {
        std::wstring text;
        std::wstring message;   // %s: the path
    } cases[] = {
        {L"ABS1\n1000\n0 0\n0 0\n// next\n1100\n2 -1 x3 -2\n0 0\n",
         L"读文件[%s], 第7行错误:读断面左侧第3个数据(距离x3)出错"},
        {L"1000\n0 0\n0 0\n1100\n0 0\n", L"读文件[%s], 第6行错误:读断面右侧数据失败!"},
        {L"ABS1\n1000\n0 0\n0 0\n\n990\n0 0\n0 0\n",
         L"读横地线文件[%s]第6行错误!断面桩号(990.000)小于上一断面桩号(1000.000)."},
        {L"ABS1\n1000\n0 0\n0 0\n1x05_2\n0 0\n0 0\n", L"读文件[%s], 第5行错误:读断面桩号失败[SText],桩号(1x05)数据错误! "},
        {L"\n// empty\n", L"读横地线文件[%s]第1行失败!"},
        {L"ABS1\n1000\n0 0\n0 0\n1100\n2 -1\n0 0 " + longMark + L" 1\n",
         L"读文件[%s], 第7行错误:读断面右侧, 第3个数据(距离" + longMark + L")出错!"},
    };
    // The set held two sections of the relative layout before: a bad file
    // leaves them, their layout and the cursor's place.
    const CString good = folder / L"good.HDX";
    road_test::WriteText(good, L"500\n0 0\n1 1\n600\n2 -1\n0 0\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text.substr(0, 60).c_str()));
        ASSERT_EQ(1, terrain.LoadHDXFile(good));
        ASSERT_EQ(HDX_RELATIVE, terrain.GetFormat());
        ASSERT_EQ(500.0, terrain.GetNextHDXSection(1)->GetZHInfo().m_rZH);
        road_test::WriteText(path, c.text.c_str());
        EXPECT_EQ(0, terrain.LoadHDXFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message.c_str(), path.GetString())), Utf8(tkx_GetLastError()));
        EXPECT_EQ(std::vector<double>({500, 600}), Stations(terrain));
        EXPECT_EQ(HDX_RELATIVE, terrain.GetFormat());
        tkxHdxSection* next = terrain.GetNextHDXSection(0);
        ASSERT_TRUE(next != nullptr);
        EXPECT_EQ(600.0, next->GetZHInfo().m_rZH);
    }

    MessageBoxScript boxes;
    EXPECT_EQ(0, terrain.LoadHDXFile(folder / L"missing.HDX"));
    EXPECT_EQ(Utf8(ClFormat(L"打开横断面地面文件[%s]失败!", (folder / L"missing.HDX").GetString())),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(1u, boxes.Shown().size()) << "the file error is reported";

    CPtrList list;
    enHDXFormat format;
    EXPECT_EQ(0, tkx_LoadHDXFile(path, &list, format, nullptr, nullptr));
    EXPECT_EQ(Utf8(L"断链对象为空!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(0, tkx_LoadHDXFile(path, nullptr, format, &chain, nullptr));
    EXPECT_EQ(Utf8(ClFormat(L"读取横地线文件[%s]失败!", path.GetString())), Utf8(tkx_GetLastError()));
}

TEST_F(HdxFileTest, OrderCursorsAndLookUps)
{
    EXPECT_EQ(nullptr, terrain.FintClosetHDX(100));
    double station = 0;
    EXPECT_EQ(0, terrain.GetZH(station, 1));

    for (double s : {1100.0, 1000.0, 1300.0, 1200.0}) ASSERT_EQ(1, terrain.InsertHDX(NewSection(s)));
    tkxHdxSection* duplicate = NewSection(1200.000001);
    EXPECT_EQ(0, terrain.InsertHDX(duplicate));
    EXPECT_EQ(Utf8(L"横地线桩号已存在"), Utf8(tkx_GetLastError()));
    delete duplicate;
    EXPECT_EQ((std::vector<double>{1000, 1100, 1200, 1300}), Stations(terrain));
    terrain.InsertAt(2, NewSection(1150));
    terrain.InsertAt(99, NewSection(900));
    EXPECT_EQ((std::vector<double>{900, 1000, 1100, 1150, 1200, 1300}), Stations(terrain));
    terrain.RemoveAt(terrain.FintAt(900.00005));
    EXPECT_EQ(nullptr, terrain.FintAt(1125));

    struct {
        double x, nearest;
    } cases[] = {{0, 1000}, {1000, 1000}, {1040, 1000}, {1050, 1100}, {1125, 1150}, {1170, 1150}, {1300, 1300},
                 {5000, 1300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(c.nearest, terrain.FintClosetHDX(c.x)->GetZHInfo().m_rZH);
    }

    // The set's cursor starts over after the last section.
    std::vector<double> walked;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(1, terrain.GetZH(station, i == 0 ? 1 : 0));
        walked.push_back(station);
    }
    EXPECT_EQ((std::vector<double>{1000, 1100, 1150, 1200, 1300, 1000}), walked);
    int count = 0;
    for (tkxHdxSection* s = terrain.GetNextHDXSection(1); s; s = terrain.GetNextHDXSection(0)) ++count;
    EXPECT_EQ(5, count);

    // A copy owns copies of the sections.
    tkxHDMTerrain copy = terrain;
    EXPECT_EQ(Stations(terrain), Stations(copy));
    EXPECT_NE(terrain.GetHDXSection(0), copy.GetHDXSection(0));
    copy.ClearHDX();
    EXPECT_EQ(5, terrain.GetHDXSectionCount());
    EXPECT_EQ(nullptr, terrain.GetHDXSection(5));
}

TEST_F(HdxFileTest, SectionsInWorldCoordinatesAndWidening)
{
    tkxHdxSection* a = NewSection(1000);
    a->AddPt(0, 110, WATER_NONE, 1);
    a->AddPt(5, 109, WATER_NONE, 1);
    a->AddPt(0, 110, WATER_NONE, 2);
    tkxHdxSection* b = NewSection(1100);
    b->AddPt(4, 109, WATER_NONE, 1);
    terrain.AddHDXSection(a);
    terrain.AddHDXSection(b);
    double xyz[3] = {500, 600, 110};
    a->SetZHPt(xyz);

    sZHPtInfo point;
    std::vector<double> lx, ly, lz, rx, ry, rz;
    POSITION pos = nullptr;
    ASSERT_EQ(1, terrain.GetHDXSection(point, lx, ly, lz, rx, ry, rz, pos, 1));
    EXPECT_EQ(1000.0, point.m_rZH);
    EXPECT_NEAR(495.0, lx[1], 1e-9);   // azimuth 0: left is west
    EXPECT_EQ(0, terrain.GetHDXSection(point, lx, ly, lz, rx, ry, rz, pos, 0)) << "no right point";
    EXPECT_EQ(1100.0, point.m_rZH);
    EXPECT_EQ(0, terrain.GetHDXSection(point, lx, ly, lz, rx, ry, rz, pos, 0));
    EXPECT_EQ(nullptr, pos);

    EXPECT_EQ(0, terrain.ExtendHDX(10, 10, 3));
    ASSERT_EQ(1, terrain.ExtendHDX(10, 8, 0));
    EXPECT_EQ(3, a->GetLeftPtCount());
    EXPECT_EQ(1, b->GetRightPtCount());
}

// Loading a file forty times larger takes about forty times longer (a
// little more, as its sections no longer fit the caches), not sixteen
// hundred, in the layout that looks up the ground line for every section.
// The bound of 300 leaves room for a busy machine, which slows the large
// file's work more than the small one's (up to three or four times the quiet
// ratio was measured beside two test runs and busy loops), and still catches
// a quadratic part of a fifth of the small file's time.
TEST_F(HdxFileTest, LoadingScalesLinearly)
{
    // A long ground line: 50,000 points.
    tkxZDMInfo ground(&chain);
    for (int i = 0; i < 50000; ++i) ground.AddDMHeight(i * 0.5, 100 + (i % 50) * 0.1);

    auto write = [&](const wchar_t* name, int sections) {
        std::string text = "ABS\r\n";
        char line[128];
        for (int i = 0; i < sections; ++i) {
            snprintf(line, sizeof(line), "%.3f\r\n", 10.0 + i * 4.0);
            text += line;
            text += "1.5 100.2 3.25 99.8 W7.5 99.1 W]12 98.75 20 101.5\r\n";
            text += "2 100.4 5 100.9 11.5 102 25 103.25\r\n";
        }
        const CString path = folder / name;
        road_test::WriteBytes(path, text);
        return path;
    };
    tkxBreakChain plain;
    const CString small = write(L"small.HDX", 1000);
    const CString large = write(L"large.HDX", 40000);

    auto load = [&](const CString& path, int expected) {
        return [&, path, expected] {
            tkxHDMTerrain set(&plain);
            set.SetZDMInfo(&ground);
            EXPECT_EQ(1, set.LoadHDXFile(path)) << Utf8(tkx_GetLastError());
            EXPECT_EQ(expected, set.GetHDXSectionCount());
        };
    };
    const double ratio = road_test::GrowthRatio(load(small, 1000), load(large, 40000));
    RecordProperty("ratio", std::to_string(ratio));
    EXPECT_LT(ratio, 300.0);
    // Only a sanity check that the work was measured at all; a busy machine
    // inflates the small run more than the large one.
    EXPECT_GT(ratio, 1.5);
}

} // namespace
