// The road aggregate: the alignment unit file, the geometry invariants of a
// road of several curves, a whole road folder loaded and queried against
// independent values, exports, the design tables, the archive form and
// copying.
#include "alignment_test_support.h"
#include "support/DigitTexts.h"
#include "support/FailingWrites.h"
#include "corvane/base/LastError.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/LineArcUnits.h"
#include "corvane/road/Road.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <cstdio>
#include <sstream>

using namespace Tavix4;
using namespace alignment_test;

namespace {

double AzimuthGap(double a, double b)
{
    double d = std::fmod(b - a, 2 * kPi);
    if (d <= -kPi) d += 2 * kPi;
    if (d > kPi) d -= 2 * kPi;
    return std::fabs(d);
}

// The numbers of a text, in order (letters and separators skipped).
std::vector<double> Numbers(const std::string& text)
{
    std::vector<double> out;
    const char* p = text.c_str();
    while (*p) {
        if ((*p >= '0' && *p <= '9') || (*p == '-' && p[1] >= '0' && p[1] <= '9')) {
            char* end = nullptr;
            out.push_back(std::strtod(p, &end));
            p = end;
        } else {
            ++p;
        }
    }
    return out;
}

// Rows of an intersection-point file into curves placed between their
// neighbours, with stations from the start along the straights.
void ReadJDRows(const std::string& bytes, CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves)
{
    const CString text = ClMultiByteToWide(bytes.c_str(), static_cast<int>(bytes.size()), 936);
    int at = 0;
    for (CString line = text.Tokenize(L"\r\n", at); !line.IsEmpty(); line = text.Tokenize(L"\r\n", at)) {
        tkxPlaneCurve3 curve;
        CString message;
        ASSERT_EQ(1, curve.ReadJDFile(line, message)) << Utf8(message);
        curves.Add(curve);
    }
    const int n = static_cast<int>(curves.GetSize());
    for (int i = 1; i + 1 < n; ++i) {
        const sZHPtInfo a = curves[i - 1].TurnPtInfo(), b = curves[i + 1].TurnPtInfo();
        ASSERT_EQ(1, curves[i].SetTurnAngle(tkxPoint3d(a.m_rX, a.m_rY, 0), tkxPoint3d(b.m_rX, b.m_rY, 0)))
            << Utf8(tkx_GetLastError());
    }
    double station = curves[0].TurnPtInfo().m_rZH;
    for (int i = 1; i < n; ++i) {
        const sZHPtInfo e = curves[i - 1].EndPtInfo(), s = curves[i].StartPtInfo();
        station += std::hypot(s.m_rX - e.m_rX, s.m_rY - e.m_rY);
        curves[i].SetStartZH(station);
        station += curves[i].Length();
    }
}

// The unit records of a curve array: the curves' units with the straights
// between them.
void UnitsOf(const CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves, CArray<sUnitInfo, sUnitInfo>& units)
{
    for (int i = 1; i < curves.GetSize(); ++i) {
        const sZHPtInfo e = curves[i - 1].EndPtInfo(), s = curves[i].StartPtInfo();
        const double gap = std::hypot(s.m_rX - e.m_rX, s.m_rY - e.m_rY);
        if (gap > 1e-6) {
            sUnitInfo straight;
            straight.m_iUnitType = UNIT_LINE;
            straight.m_iTurn = DIR_NONE;
            straight.m_StartPt = e;
            straight.m_EndPt = s;
            straight.m_EndPt.m_rZH = e.m_rZH + gap;
            units.Add(straight);
        }
        curves[i].GetUnitInfos(units);
    }
}

class SeveralCurves : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteText(folder / L"road.ICD", SeveralCurvesText());
        ASSERT_EQ(1, road.LoadICDFile(folder / L"road.ICD")) << Utf8(tkx_GetLastError());
        ASSERT_EQ(11, road.GetPlaneUnitCount());
    }

    ScratchFolder folder{L"several_curves"};
    tkxRoadObject road;
};

} // namespace

// ---------------------------------------------------------------------------
// The alignment unit file

TEST(UnitFile, BadFiles)
{
    ScratchFolder folder(L"icd_bad");
    const CString path = folder / L"road.ICD";
    struct {
        const wchar_t* content;
        const wchar_t* message; // %s: the path
    } cases[] = {
        {L"", L"读文件<%s>, 第1行时出错[]"},
        {L"K1+000\n5000 2000 0\n", L"读%s文件, 第1行数据, 第1个数据: 线位起点桩号(K1+000)错误!"},
        {L"1000\n", L"读文件<%s>, 第2行时出错"},
        {L"1000\n5000, 2000\n", L"在积木法线位数据文件<%s>第2行中, 起点数据个数<2>少于3个"},
        {L"1000\nN5000, 2000, 0\n", L"读%s文件, 第2行 第1个数据: 线位起点X坐标(N5000)错误!"},
        {L"1000\n5000, E2000, 0\n", L"读%s文件, 第2行 第2个数据: 线位起点Y坐标(E2000)错误!"},
        {L"1000\n5000, 2000, a\n", L"读%s文件, 第2行 第3个数据: 起点方位角(a), 错误!"},
        {L"1000\n5000 2000 0\n1, 100\n// note\n2, 100, 50\n",
         L"%s文件中, 第5行, 第2个单元, \n读圆曲线单元数据个数为3时出错!允许数据个数为4个或5个。"},
        {L"// one\n// two\n1000\n5000 2000 0\n1, 100\n1, 20\n,,,\n", L"读文件<%s>, 第7行时出错"},
        {L"1000\n5000 2000 0\n0, 0.0, 0\n", L"%s文件中, 第3行, 第1个单元, \n读缓和曲线数据个数为3时出错!允许数据个数太少。"},
        {L"1000\n5000 2000 0\n9, 100, 300, 1\n", L"%s文件中, 第3行, 第1个单元, \n未定义的单元类型[9]。"},
    };
    // A road of three units keeps them, whatever line of the file is bad.
    const CString good = folder / L"good.ICD";
    WriteText(good, L"1000\n5000 2000 0\n1, 100\n3, 150, 300, 1\n2, 300, 80, 1\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.content));
        WriteText(path, c.content);
        tkxRoadObject road;
        ASSERT_EQ(1, road.LoadICDFile(good));
        const sZHPtInfo end = road.EndZHInfo();
        EXPECT_EQ(0, road.LoadICDFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        EXPECT_EQ(3, road.GetPlaneUnitCount());
        EXPECT_EQ(end.m_rX, road.EndZHInfo().m_rX);
        EXPECT_EQ(1000.0, road.StartZHInfo().m_rZH);
    }

    tkxRoadObject road;
    EXPECT_EQ(0, road.LoadICDFile(folder / L"road.txt"));
    EXPECT_EQ(Utf8(ClFormat(L"输入错误的文件名[%s]! 必须输入ICD后缀的文件名。", (folder / L"road.txt").GetString())),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(0, road.LoadICDFile(folder / L"none.icd"));
    EXPECT_EQ(Utf8(ClFormat(L"打开积木法线位文件(%s)时出错!", (folder / L"none.icd").GetString())), Utf8(tkx_GetLastError()));

}

namespace {

// A unit file the reader refuses, and its message (%s: the path).
struct RefusedUnitFile {
    std::wstring content;
    std::wstring message;
};

void ExpectUnitFileRefused(const CString& path, const RefusedUnitFile& c)
{
    SCOPED_TRACE(Utf8(c.content.c_str()).substr(0, 60));
    WriteText(path, c.content.c_str());
    tkxRoadObject road;
    EXPECT_EQ(0, road.LoadICDFile(path));
    EXPECT_EQ(Utf8(ClFormat(c.message.c_str(), path.GetString())), Utf8(tkx_GetLastError()));
}

} // namespace

// A unit converts only from whole numbers, and only when it ends where a
// road can: a straight of 1e20 m or a clothoid of A = 1e30 would leave the
// stations and coordinates of the units after it beyond any number.
TEST(UnitFile, UnitsBeyondAnyRoadAreRefused)
{
    ScratchFolder folder(L"icd_range");
    const CString path = folder / L"road.ICD";
    const std::wstring farAway = L"%s文件中, 第4行, 第2个单元, \n单元终点桩号或坐标超出范围, 请检查单元长度和参数!";
    const RefusedUnitFile cases[] = {
        {L"1000\n5000 2000 0\n1, 100\n1, 100000000000000000000\n", farAway},
        {L"1000\n5000 2000 0\n1, 100\n3, 1" + std::wstring(30, L'0') + L", 900, 1\n", farAway},
        {L"10000000000\n5000 2000 0\n", L"读%s文件, 第1行数据, 第1个数据: 线位起点桩号(10000000000)错误!"},
        {L"1000\n5000 20000000000 0\n", L"读%s文件, 第2行 第2个数据: 线位起点Y坐标(20000000000)错误!"},
        {L"1000\n5000 2000 0\n1, 100\n1, 1;5\n", L"%s文件中, 第4行, 第2个单元, \n读第2数据, 直线单元长度<1;5>时出错! "},
        {L"1000\n5000 2000 0\n2x, 500, 100, 1\n", L"%s文件中, 第3行, 第1个单元, \n未定义的单元类型[2x]。"},
        // An arc whose radius counts as infinite: its end, worked out from a
        // centre 1e20 m away, would lie thousands of kilometres off.
        {L"1000\n5000 2000 0\n1, 100\n2, 99999999999999999999, 300, 1\n",
         L"%s文件中, 第4行, 第2个单元, \n读第2数据, 圆曲线半径<99999999999999999999>值太大! "},
    };
    for (const RefusedUnitFile& c : cases) ExpectUnitFileRefused(path, c);
}

// An arc with the radius a straight holds (1e10, or the 1e8 of a new station
// record), as this library's writer puts out an arc built on a straight's
// record: read as the straight of its length, which ends that length from
// its start, also where the line turns the azimuth.  A radius just above
// 99999999.99 is refused, one of 99999999.99 is an arc's.
TEST(UnitFile, AnArcWithTheRadiusOfAStraightIsReadAsThatStraight)
{
    ScratchFolder folder(L"icd_straight_arc");
    const CString path = folder / L"road.ICD";
    const struct {
        const wchar_t* unit;
        double azimuth; // along which the unit runs
    } straights[] = {
        {L"2, 10000000000.00000000000000000000, 300.00000000000000000000, 1", 0.4},
        {L"2, 10000000000, 300, -1", 0.4},
        {L"2, 100000000.000, 300, 1, 1.25", 1.25},
        // A note after the fields: the line is not 7-bit text.
        {L"2, 10000000000, 300, 1, 0.4 原为直线", 0.4},
        {L"2, 100000000.000, 300, 1, 1.25, 新桩号记录", 1.25},
    };
    for (const auto& c : straights) {
        SCOPED_TRACE(Utf8(c.unit));
        WriteText(path, CString(L"1000\n5000, 2000, 0.4\n") + c.unit + L"\n");
        tkxRoadObject road;
        ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.GetPlaneUnitCount());
        EXPECT_TRUE(road.GetPMUnit(0)->IsKindOf(RUNTIME_CLASS(tkxLineUnit)));
        const sZHPtInfo end = road.EndZHInfo();
        EXPECT_NEAR(1300.0, end.m_rZH, 1e-9);
        EXPECT_NEAR(2000 + 300 * std::sin(c.azimuth), end.m_rX, 1e-9);
        EXPECT_NEAR(5000 + 300 * std::cos(c.azimuth), end.m_rY, 1e-9);
    }
    ExpectUnitFileRefused(path, {L"1000\n5000 2000 0\n2, 99999999.991, 300, 1\n",
                                 L"%s文件中, 第3行, 第1个单元, \n读第2数据, 圆曲线半径<99999999.991>值太大! "});
    WriteText(path, L"1000\n5000, 2000, 0\n2, 99999999.99, 300, 1\n");
    tkxRoadObject widest;
    ASSERT_EQ(1, widest.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_TRUE(widest.GetPMUnit(0)->IsKindOf(RUNTIME_CLASS(tkxArcUnit)));
    EXPECT_NEAR(300.0, std::hypot(widest.EndZHInfo().m_rX - 2000, widest.EndZHInfo().m_rY - 5000), 1e-6);

    // An arc built on a straight's record, as the road holds it, is written
    // and read back as that straight.
    sUnitInfo arc;
    arc.m_iUnitType = UNIT_ARC;
    arc.m_iTurn = DIR_RIGHT;
    arc.m_StartPt.m_rZH = 1000;
    arc.m_StartPt.m_rX = 2000;
    arc.m_StartPt.m_rY = 5000;
    arc.m_StartPt.m_rAzimuth = 0.4;
    arc.m_StartPt.m_rRadius = 1e10;
    arc.m_EndPt = arc.m_StartPt;
    arc.m_EndPt.m_rZH = 1300;
    CArray<sUnitInfo, sUnitInfo> units;
    units.Add(arc);
    tkxRoadObject built;
    ASSERT_EQ(1, built.ImportPlaneUnits(&units)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, built.SaveICDFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_NE(std::string::npos, ReadBytes(path).find("\r\n2, 10000000000.00000000000000000000, 300.0"));
    tkxRoadObject back;
    ASSERT_EQ(1, back.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, back.GetPlaneUnitCount());
    EXPECT_TRUE(back.GetPMUnit(0)->IsKindOf(RUNTIME_CLASS(tkxLineUnit)));
    EXPECT_NEAR(2000 + 300 * std::sin(0.4), back.EndZHInfo().m_rX, 1e-9);
    EXPECT_NEAR(5000 + 300 * std::cos(0.4), back.EndZHInfo().m_rY, 1e-9);
}

TEST(UnitFile, StartPointAndShortFiles)
{
    ScratchFolder folder(L"icd_short");
    const CString path = folder / L"road.icd.bak";
    tkxRoadObject road;
    WriteText(path, L"// converted\n// today\n  250.5 more\n3000, 500, 0, x\n");
    ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(0, road.GetPlaneUnitCount());

    WriteText(path, L"250.5\n3000, 500, 0\n0, 0, 0\n1, 100\n");
    ASSERT_EQ(1, road.LoadICDFile(path));
    EXPECT_EQ(0, road.GetPlaneUnitCount());

    WriteText(path, L"250.5\n3000, 500, 0\n1, 100\n");
    ASSERT_EQ(1, road.LoadICDFile(path));
    ASSERT_EQ(1, road.GetPlaneUnitCount());
    const sZHPtInfo start = road.StartZHInfo();
    EXPECT_EQ(500.0, start.m_rX);
    EXPECT_EQ(3000.0, start.m_rY);
    EXPECT_EQ(250.5, start.m_rZH);
    EXPECT_NEAR(3100.0, road.EndZHInfo().m_rY, 1e-9);
    EXPECT_EQ(1e10, start.m_rRadius);

    // Separators before the first field: the unit code and the end line are
    // found as in any other line.
    WriteText(path, L"250.5\n3000, 500, 0\n,1, 100\n,\t2, 300, 80, 1\n, 0,0, 0\n1, 50\n");
    ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(2, road.GetPlaneUnitCount());
    EXPECT_EQ(UNIT_LINE, road.GetPMUnit(0)->GetUnitInfo().m_iUnitType);
    EXPECT_EQ(UNIT_ARC, road.GetPMUnit(1)->GetUnitInfo().m_iUnitType);
    EXPECT_NEAR(430.5, road.EndZHInfo().m_rZH, 1e-9);
}

TEST_F(SeveralCurves, SavedAndLoadedAgain)
{
    const CString path = folder / L"saved.ICD";
    ASSERT_EQ(1, road.SaveICDFile(path)) << Utf8(tkx_GetLastError());
    const std::string bytes = ReadBytes(path);
    // Lengths are written as the units hold them (a straight's is its plan
    // length), with 20 decimals.
    EXPECT_EQ(0u, bytes.find("1000.000000\r\n5000.000000, 2000.000000, 0.4000000000\r\n1, 200.000000000"));
    EXPECT_EQ(bytes.size() - 9, bytes.rfind("\r\n0, 0, 0"));
    EXPECT_NE(std::string::npos, bytes.find("\r\n2, 225.00000000000000000000, 100.00000000000000000000, -1\r\n"));
    EXPECT_NE(std::string::npos, bytes.find("\r\n2, 600.00000000000000000000, 250.00000000000000000000, 1\r\n"));

    tkxRoadObject back;
    ASSERT_EQ(1, back.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(11, back.GetPlaneUnitCount());
    for (int i = 0; i < 11; ++i) {
        const sZHPtInfo a = road.GetPMUnit(i)->EndPtInfo(), b = back.GetPMUnit(i)->EndPtInfo();
        EXPECT_NEAR(a.m_rX, b.m_rX, 1e-9) << i;
        EXPECT_NEAR(a.m_rY, b.m_rY, 1e-9) << i;
        EXPECT_EQ(road.GetPMUnit(i)->TurnDir(), back.GetPMUnit(i)->TurnDir()) << i;
    }

    // Where the file cannot be replaced the old one stays.
    EXPECT_EQ(0, road.SaveICDFile(folder / L"no\\such.ICD"));
    EXPECT_EQ(Utf8(ClFormat(L"创建积木法线位文件(%s)时出错!", (folder / L"no\\such.ICD").GetString())),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(0, road.SaveICDFile(folder / L"saved.txt"));
    tkxRoadObject empty;
    EXPECT_EQ(0, empty.SaveICDFile(path));
    EXPECT_EQ(Utf8(L"查询路线平面单元信息失败! 无法创建ICD文件!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(bytes, ReadBytes(path));
}

// A unit the file would not give back is not written; the old file stays.
TEST(UnitFile, UnitsThatWouldNotReadBackAreNotWritten)
{
    ScratchFolder folder(L"icd_refused");
    const CString path = folder / L"road.ICD";
    const wchar_t* good = L"1000\n5000 2000 0\n1, 100\n3, 150, 300, 1\n2, 300, 80, 1\n";
    struct Case {
        const char* what;
        std::function<void(tkxRoadObject&)> damage;
        const wchar_t* start; // of the last-error text
    } cases[] = {
        {"an end radius read as infinite",
         [](tkxRoadObject& r) { static_cast<tkxClothoidUnit*>(r.GetPMUnit(1))->SetEndR(4e38, 0); },
         L"第2个单元<4, 150.00000000000000000000, 10000000000.00000000000000000000, 1>无法写入ICD文件:\n"
         L"缓和曲线起终点半径数值不能相同![10000000000.000, 10000000000.000]"},
        {"a parameter that is no number",
         [](tkxRoadObject& r) { static_cast<tkxClothoidUnit*>(r.GetPMUnit(1))->SetA(std::nan(""), 0); },
         L"第2个单元<3, 1.#QNAN000000000000000, 300.00000000000000000000, 1>无法写入ICD文件:\n"
         L"读第2数据, 缓和曲线参数<1.#QNAN000000000000000>时出错! "},
        {"a length that is no number", [](tkxRoadObject& r) { r.GetPMUnit(0)->SetLength(HUGE_VAL, 0); },
         L"第1个单元<1, 1.#INF"},
        // A unit that ends beyond any road, and a start the reader refuses.
        {"a straight ending beyond any road", [](tkxRoadObject& r) { r.GetPMUnit(0)->SetLength(1e20, 0); },
         L"第1个单元<1, 100000000000000000000.00000000000000000000>无法写入ICD文件:\n"
         L"单元终点桩号或坐标超出范围, 请检查单元长度和参数!"},
        {"a start station beyond any road", [](tkxRoadObject& r) { r.GetPMUnit(0)->SetStartZH(9999999999.9999996); },
         L"线位起点的桩号(10000000000.000000)或坐标(5000.000000, 2000.000000)超出范围! 无法创建ICD文件!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteText(path, good);
        const std::string before = ReadBytes(path);
        tkxRoadObject road;
        ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
        c.damage(road);
        EXPECT_EQ(0, road.SaveICDFile(path));
        EXPECT_EQ(0u, Utf8(tkx_GetLastError()).find(Utf8(c.start))) << Utf8(tkx_GetLastError());
        EXPECT_EQ(before, ReadBytes(path));
    }
}

TEST(UnitFile, AWriteThatFailsAfterOpeningLeavesTheOldFile)
{
    ScratchFolder folder(L"icd_fail");
    const CString path = folder / L"road.ICD";
    WriteText(path, L"1000\n5000 2000 0\n1, 100\n");
    const std::string before = ReadBytes(path);
    tkxRoadObject road;
    ASSERT_EQ(1, road.LoadICDFile(path));
    {
        FailingWrites failing(folder.Path());
        EXPECT_EQ(0, road.SaveICDFile(path));
        EXPECT_GT(failing.Refused(), 0);
        CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
        sZHPtInfo a, b;
        b.m_rX = 100;
        curves.SetSize(2);
        curves[0].CreateRoadQD(a);
        curves[1].CreateRoadZD(b);
        EXPECT_EQ(0, tkxRoadObject::SaveJDFile(folder / L"road.JD", curves));
    }
    EXPECT_EQ(before, ReadBytes(path));
    EXPECT_EQ(std::vector<CString>{L"road.ICD"}, FilesIn(folder.Path()));
}

TEST(UnitFile, AzimuthBreaksAreWrittenAndReadBack)
{
    ScratchFolder folder(L"icd_break");
    const CString path = folder / L"road.ICD";
    WriteText(path, L"0\n0, 0, 0\n1, 100\n// 方向突变\n1, 50, 0.5\n2, 100, 50, -1\n");
    tkxRoadObject road;
    ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, road.GetPlaneUnitCount());
    EXPECT_EQ(1, road.GetPMUnit(1)->StartPTMutation());
    EXPECT_NEAR(0.5, road.GetPMUnit(1)->StartAzimuth(), 1e-12);
    EXPECT_EQ(DIR_LEFT, road.GetPMUnit(2)->TurnDir());

    ASSERT_EQ(1, road.SaveICDFile(path));
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(std::string::npos,
              bytes.find(FileText(L"\n//方向突变，前方位角：0.0000000000 夹角:0.5000000000\n1, 50.0000000000000")));
    EXPECT_NE(std::string::npos, bytes.find(",0.5000000000\r\n2, 100."));
    EXPECT_NE(std::string::npos, bytes.find("\r\n2, 100.00000000000000000000, 50.00000000000000000000, -1\r\n"));
    tkxRoadObject back;
    ASSERT_EQ(1, back.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, back.GetPlaneUnitCount());
    EXPECT_NEAR(0.5, back.GetPMUnit(1)->StartAzimuth(), 1e-12);
    EXPECT_NEAR(road.EndZHInfo().m_rX, back.EndZHInfo().m_rX, 1e-9);
}

namespace {

// A long unit file of every unit kind, with numbers written in every form a
// file may hold them (many digits, few, trailing zeros, a sign, no whole
// part), from a fixed sequence of pseudo-random numbers.
std::string LongUnitFile(int units)
{
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 9007199254740992.0; // [0, 1)
    };
    auto number = [&](double value) {
        char text[80];
        switch (static_cast<int>(next() * 6)) {
        case 0: snprintf(text, sizeof text, "%.20f", value); break;
        case 1: snprintf(text, sizeof text, "%.3f", value); break;
        case 2: snprintf(text, sizeof text, "%.0f", value); break;
        case 3: snprintf(text, sizeof text, "%+.17f", value); break;
        case 4: snprintf(text, sizeof text, "%.9f000000000000", value); break;
        default: snprintf(text, sizeof text, "%.15g", value); break;
        }
        return std::string(text);
    };
    std::string text = "1234.5\r\n3000000.125, 500000.0625, 0.7853981634\r\n";
    for (int i = 0; i < units; ++i) {
        const char* turn = next() < 0.5 ? "1" : "-1";
        // Now and then a unit breaks the chain of azimuths with its own.
        const std::string azimuth = next() < 0.1 ? ", " + number(next() * 6.2 - 3.1) : "";
        const double a = 80 + next() * 500, r1 = 150 + next() * 3000, r2 = 150 + next() * 3000;
        switch (i % 6) {
        case 0: text += "1, " + number(1 + next() * 900) + azimuth; break;
        case 1: text += "2, " + number(r1) + ", " + number(5 + next() * 400) + ", " + turn + azimuth; break;
        case 2: text += "3, " + number(a) + ", " + number(r1) + ", " + turn + azimuth; break;
        case 3: text += "4, " + number(a) + ", " + number(r1) + ", " + turn + azimuth; break;
        case 4:
            text += "5, " + number(a) + ", " + number(std::max(r1, r2) + 50) + ", " + number(std::min(r1, r2)) + ", " +
                    turn + azimuth;
            break;
        default:
            text += "6, " + number(a) + ", " + number(std::min(r1, r2)) + ", " + number(std::max(r1, r2) + 50) + ", " +
                    turn + azimuth;
            break;
        }
        text += "\r\n";
    }
    return text + "0, 0, 0\r\n";
}

// Every value the units of a road hold or work out, bit for bit, folded
// into one 64-bit number (FNV-1a).
uint64_t Fingerprint(const tkxRoadObject& road)
{
    uint64_t hash = 14695981039346656037ull;
    auto add = [&](double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i) {
            hash ^= (bits >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    };
    auto addRecord = [&](const sZHPtInfo& p) {
        for (double v : {p.m_rZH, p.m_rAzimuth, p.m_rRadius, p.m_rX, p.m_rY, p.m_rZ}) add(v);
    };
    for (int i = 0; i < road.GetPlaneUnitCount(); ++i) {
        const tkxRoadPMUnit* unit = road.GetPMUnit(i);
        const sUnitInfo info = unit->GetUnitInfo();
        add(info.m_iUnitType);
        add(info.m_iTurn);
        addRecord(info.m_StartPt);
        addRecord(info.m_EndPt);
        double ref[3];
        unit->StartRefPt(ref);
        for (double v : ref) add(v);
        unit->EndRefPt(ref);
        for (double v : ref) add(v);
        add(unit->GetLength());
        add(unit->GetBeta());
        add(unit->StartPTMutation());
        if (const auto* arc = dynamic_cast<const tkxArcUnit*>(unit)) {
            double centre[3];
            arc->CentrePt(centre);
            for (double v : centre) add(v);
        }
        if (const auto* clothoid = dynamic_cast<const tkxClothoidUnit*>(unit))
            for (double v : {clothoid->A(), clothoid->GetBasePt_X(), clothoid->GetBasePt_Y(), clothoid->GetBaseAzimuth()})
                add(v);
    }
    return hash;
}

} // namespace

// The reader's results do not change with the way it is made fast: every
// value of every unit of a long file of all unit kinds is the one the
// straightforward reader worked out, to the last bit (the fingerprint was
// taken with it).
TEST(UnitFile, EveryValueOfALongFileStaysTheSameToTheBit)
{
    ScratchFolder folder(L"icd_bits");
    const CString path = folder / L"long.ICD";
    WriteBytes(path, LongUnitFile(6000));
    tkxRoadObject road;
    ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(6000, road.GetPlaneUnitCount());
    EXPECT_EQ(0x17aab84555382476ull, Fingerprint(road));
}

// Unit lines of plain 7-bit text are read where they lie in the file's
// buffer; a line holding other characters is widened first.  Both give the
// same units to the bit and the same messages: here every unit line of a
// long file once more with an ideographic space at its end (a blank that
// trimming takes away), and bad lines of both kinds.
TEST(UnitFile, LinesOfOtherCharactersReadAsPlainLinesDo)
{
    ScratchFolder folder(L"icd_wide");
    const std::string plain = LongUnitFile(600);
    const std::string space = ClWideToMultiByte(L"\x3000", 1, 936);
    std::string wide;
    size_t lineNo = 0;
    for (size_t at = 0; at < plain.size();) {
        const size_t end = plain.find("\r\n", at);
        wide += plain.substr(at, end - at) + (++lineNo > 2 ? space : "") + "\r\n";
        at = end + 2;
    }
    const CString plainPath = folder / L"plain.ICD", widePath = folder / L"wide.ICD";
    WriteBytes(plainPath, plain);
    WriteBytes(widePath, wide);
    tkxRoadObject plainRoad, wideRoad;
    ASSERT_EQ(1, plainRoad.LoadICDFile(plainPath)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, wideRoad.LoadICDFile(widePath)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(600, wideRoad.GetPlaneUnitCount());
    EXPECT_EQ(Fingerprint(plainRoad), Fingerprint(wideRoad));

    // The longest line the reader takes, one field that the split refuses.
    const std::wstring longField(65535, L'1');
    const RefusedUnitFile cases[] = {
        {L"1000\n5000 2000 0\n1, 100\n2, 300, 8x, 1\n",
         L"%s文件中, 第4行, 第2个单元, \n读第3数据, 圆曲线长度<8x>时出错! "},
        {L"1000\n5000 2000 0\n1, 100\n2, 300, 长8, 1\n",
         L"%s文件中, 第4行, 第2个单元, \n读第3数据, 圆曲线长度<长8>时出错! "},
        {L"1000\n5000 2000 0\n1, 100\n5, 100, 400, 400, 1\n",
         L"%s文件中, 第4行, 第2个单元, \n缓和曲线起终点半径数值不能相同![400.000, 400.000]"},
        {L"1000\n5000 2000 0\n1, 100\n5, 100, 400, 400, 1\x3000\n",
         L"%s文件中, 第4行, 第2个单元, \n缓和曲线起终点半径数值不能相同![400.000, 400.000]"},
        {L"1000\n5000 2000 0\n1, 100\n, ,\x3000\n", L"读文件<%s>, 第4行时出错"},
        {L"1000\n5000 2000 0\n1, 100\n" + longField + L"\n", L"读文件<%s>, 第4行时出错"},
    };
    const CString path = folder / L"bad.ICD";
    for (const RefusedUnitFile& c : cases) ExpectUnitFileRefused(path, c);
}

// The numbers of unit lines are read from the file's bytes: arc lengths
// written in every arrangement of digits around the borders of the quick
// conversion (19 significant digits, 2^53, runs of zeros of any length inside
// and at the end of the fraction, no whole part) read as the exact
// conversion reads them.
TEST(UnitFile, LengthsOfEveryDigitArrangementReadExactly)
{
    test_support::DigitTexts texts(54321);
    std::string file = "0\r\n3000000, 500000, 0\r\n";
    std::vector<double> lengths;
    while (lengths.size() < 5000) {
        const std::string text = texts.Text(6, false);
        double exact = 0.0;
        if (!test_support::DigitTexts::Exact(text, exact) || exact < 0.001) continue; // no number, or an arc too short
        file += "2, 1000, " + text + (texts.Next(2) ? ", 1\r\n" : ", -1\r\n");
        lengths.push_back(exact);
    }
    ScratchFolder folder(L"icd_digits");
    const CString path = folder / L"arcs.ICD";
    WriteBytes(path, file);
    tkxRoadObject road;
    ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(static_cast<int>(lengths.size()), road.GetPlaneUnitCount());
    for (size_t i = 0; i < lengths.size(); ++i) {
        const double length = road.GetPMUnit(static_cast<int>(i))->GetLength();
        ASSERT_EQ(test_support::Bits(lengths[i]), test_support::Bits(length)) << "unit " << i;
    }
}

// The time a unit takes does not grow with the file: a unit of a file forty
// times as long takes about as long as one of a short file (a little longer,
// as its units no longer fit the caches, and two to three times as long on a
// busy machine, which leaves the long file less of them), while a reader that
// walked or copied the units read so far for each new one would take forty
// times as long.  The bound of eight times catches a quadratic part of a
// fifth of the short file's time.  A busy machine can slow one measurement of
// the two files (each the fastest of several rounds), so the fastest of up
// to three measurements counts.
TEST(UnitFile, ReadingScalesLinearly)
{
    ScratchFolder folder(L"icd_scale");
    auto write = [&](const wchar_t* name, int units) {
        std::string text = "0\r\n0, 0, 0\r\n";
        for (int i = 0; i < units; ++i) text += i % 2 ? "2, 5000, 10, 1\r\n" : "2, 5000, 10, -1\r\n";
        const CString path = folder / name;
        WriteBytes(path, text);
        return path;
    };
    constexpr int kSmall = 1000, kGrowth = 40;
    const CString small = write(L"small.ICD", kSmall);
    const CString large = write(L"large.ICD", kSmall * kGrowth);
    auto load = [&](const CString& path, int expected) {
        return [&, path, expected] {
            tkxRoadObject road;
            EXPECT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
            EXPECT_EQ(expected, road.GetPlaneUnitCount());
        };
    };
    constexpr double kBound = 8.0;
    double perUnit = 1e30;
    for (int measurement = 0; measurement < 3 && perUnit >= kBound; ++measurement)
        perUnit = std::min(perUnit, GrowthRatio(load(small, kSmall), load(large, kSmall * kGrowth), 7) / kGrowth);
    RecordProperty("time per unit, long file against short", std::to_string(perUnit));
    EXPECT_LT(perUnit, kBound);
}

// Placing sections on the alignment drops those off it in one pass: ten
// times as many sections on and beyond the road take about ten times as
// long, not a hundred.  The sections on the alignment stay, in order, and
// the set's cursor walks them.
TEST(SectionPlacing, DroppingSectionsOffTheAlignmentScalesLinearly)
{
    ScratchFolder folder(L"hdx_place");
    // 400 km of straight road.
    WriteText(folder / L"road.ICD", L"0\n3000000, 500000, 0\n1, 400000\n0, 0, 0\n");
    auto write = [&](const wchar_t* name, int each) {
        // As many sections on the road (every 20 m from 0) as beyond its end.
        std::string text;
        char line[64];
        for (int i = 0; i < 2 * each; ++i) {
            snprintf(line, sizeof(line), "%.3f\r\n", i < each ? i * 20.0 : 500000.0 + i * 20.0);
            text += line;
            text += "1.5 -0.5 3 0.25\r\n2 0.5\r\n";
        }
        const CString path = folder / name;
        WriteBytes(path, text);
        return path;
    };
    const CString small = write(L"small.HDX", 2000);
    const CString large = write(L"large.HDX", 20000);
    tkxRoadObject road;
    ASSERT_EQ(1, road.LoadICDFile(folder / L"road.ICD")) << Utf8(tkx_GetLastError());
    auto place = [&](const CString& path, int on) {
        return [&, path, on] {
            EXPECT_EQ(1, road.LoadHDXFile(path, 1)) << Utf8(tkx_GetLastError());
            EXPECT_EQ(on, road.GetHDXSectionCount());
        };
    };
    const double ratio = GrowthRatio(place(small, 2000), place(large, 20000));
    RecordProperty("ratio", std::to_string(ratio));
    // About 10 in one pass; removing one by one from the head of the list
    // made it over 40.
    EXPECT_LT(ratio, 25.0);
    // Each round loads the large file last, so its sections stay placed.

    CArray<double, double> stations;
    road.GetAllSectionZHs(stations);
    ASSERT_EQ(20000, stations.GetSize());
    EXPECT_EQ(0.0, stations[0]);
    EXPECT_EQ(399980.0, stations[19999]);
    double station = -1.0;
    ASSERT_EQ(1, road.GetHDMTerrain()->GetZH(station, 1));
    EXPECT_EQ(0.0, station);
}

// ---------------------------------------------------------------------------
// Geometry that must agree with itself

TEST_F(SeveralCurves, UnitsJoinAndRadiiFollowTheLaw)
{
    for (int i = 0; i < road.GetPlaneUnitCount(); ++i) {
        SCOPED_TRACE(i);
        const tkxRoadPMUnit* unit = road.GetPMUnit(i);
        sZHPtInfo end;
        ASSERT_EQ(1, unit->GetPoint(unit->GetLength(), end));
        EXPECT_NEAR(unit->EndPtInfo().m_rX, end.m_rX, 1e-9);
        EXPECT_NEAR(unit->EndPtInfo().m_rY, end.m_rY, 1e-9);
        EXPECT_EQ(unit->StartR(), unit->GetR(0));
        EXPECT_EQ(unit->EndR(), unit->GetR(unit->GetLength()));
        if (i + 1 < road.GetPlaneUnitCount()) {
            const sZHPtInfo next = road.GetPMUnit(i + 1)->StartPtInfo();
            EXPECT_EQ(unit->EndPtInfo().m_rX, next.m_rX);
            EXPECT_EQ(unit->EndPtInfo().m_rY, next.m_rY);
            EXPECT_EQ(unit->EndZH(), next.m_rZH);
            EXPECT_NEAR(0.0, AzimuthGap(unit->EndAzimuth(), next.m_rAzimuth), 1e-12);
        }
        if (const auto* spiral = dynamic_cast<const tkxClothoidUnit*>(unit)) {
            // R·l = A² with l the length from the clothoid's origin: the
            // curvature grows linearly, so 1/R is linear along the unit.
            for (double f : {0.25, 0.5, 0.75}) {
                const double s = f * unit->GetLength();
                const double k1 = unit->StartR() > 1e9 ? 0 : 1 / unit->StartR();
                const double k2 = unit->EndR() > 1e9 ? 0 : 1 / unit->EndR();
                EXPECT_NEAR(k1 + (k2 - k1) * f, 1 / unit->GetR(s), 1e-12);
                EXPECT_NEAR(std::fabs(k2 - k1) / unit->GetLength(), 1 / (spiral->A() * spiral->A()), 1e-15);
            }
        }
    }
}

TEST_F(SeveralCurves, StationsToPointsAndBack)
{
    const std::vector<Piece> pieces = SeveralCurvesPieces();
    for (double station = kRoadStartStation; station <= kRoadStartStation + kRoadLength; station += 17.3) {
        SCOPED_TRACE(station);
        sZHPtInfo p;
        ASSERT_EQ(1, road.GetPointOnUnits(station, p));
        const TracedPoint t = TracePath(kRoadStartX, kRoadStartY, kRoadStartAzimuth, pieces, station - kRoadStartStation);
        EXPECT_NEAR(t.x, p.m_rX, 1e-6);
        EXPECT_NEAR(t.y, p.m_rY, 1e-6);
        EXPECT_NEAR(0.0, AzimuthGap(t.azimuth, p.m_rAzimuth), 1e-9);

        const double xy[2] = {p.m_rX, p.m_rY};
        sZHPtInfo back;
        ASSERT_EQ(1, road.GetClosetPoint(xy, back));
        EXPECT_NEAR(station, back.m_rZH, 1e-4);
    }
    sZHPtInfo p;
    EXPECT_EQ(0, road.GetPointOnUnits(999, p));
    EXPECT_EQ(0, road.GetPointOnUnits(2881, p));
    // Without units there is no nearest point.
    const double xy[2] = {0, 0};
    EXPECT_EQ(0, tkxRoadObject().GetClosetPoint(xy, p));
}

TEST_F(SeveralCurves, IntersectionPointRowsReproduceTheRoad)
{
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    ASSERT_EQ(1, road.ExportPlaneCurves(curves)) << Utf8(tkx_GetLastError());
    const CString first = folder / L"first.JD";
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(first, curves));

    // Rows to curves to units, into a second road, and out as rows again.
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> read;
    ReadJDRows(ReadBytes(first), read);
    CArray<sUnitInfo, sUnitInfo> units;
    UnitsOf(read, units);
    tkxRoadObject second;
    ASSERT_EQ(1, second.ImportPlaneUnits(&units)) << Utf8(tkx_GetLastError());
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> again;
    ASSERT_EQ(1, second.ExportPlaneCurves(again)) << Utf8(tkx_GetLastError());
    const CString secondPath = folder / L"second.JD";
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(secondPath, again));

    const std::vector<double> a = Numbers(ReadBytes(first)), b = Numbers(ReadBytes(secondPath));
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 1e-6 * std::max(1.0, std::fabs(a[i]) / 1e4)) << i;

    EXPECT_NEAR(road.EndZH(), second.EndZH(), 1e-6);
    for (double station = 1000; station <= 2880; station += 41.1) {
        sZHPtInfo p, q;
        ASSERT_EQ(1, road.GetPointOnUnits(station, p));
        ASSERT_EQ(1, second.GetPointOnUnits(station, q));
        EXPECT_NEAR(p.m_rX, q.m_rX, 1e-6) << station;
        EXPECT_NEAR(p.m_rY, q.m_rY, 1e-6) << station;
    }
}

TEST_F(SeveralCurves, QueriesAndSegments)
{
    EXPECT_EQ(1000.0, road.StartZH());
    EXPECT_NEAR(2880.0, road.EndZH(), 1e-9);
    double radius = 0;
    ASSERT_EQ(1, road.GetRadius(1450, radius));
    EXPECT_EQ(600.0, radius);
    ASSERT_EQ(1, road.GetRadius(1250, radius));
    EXPECT_NEAR(600.0 * 100 / 50, radius, 1e-9);
    EXPECT_EQ(0, road.GetRadius(3000, radius));
    EXPECT_EQ(DIR_RIGHT, road.TurnDir(1450));
    EXPECT_EQ(DIR_LEFT, road.TurnDir(2100));
    EXPECT_EQ(2, road.GetUnitIndexByZH(1450));
    EXPECT_EQ(-1, road.GetUnitIndexByZH(2900));

    // 5 m to the right of the arc is inside the right-turning curve.
    sZHPtInfo p;
    road.GetPointOnUnits(1450, p);
    const double right[2] = {p.m_rX + 5 * std::cos(p.m_rAzimuth), p.m_rY - 5 * std::sin(p.m_rAzimuth)};
    const double left[2] = {p.m_rX - 5 * std::cos(p.m_rAzimuth), p.m_rY + 5 * std::sin(p.m_rAzimuth)};
    EXPECT_EQ(DIR_RIGHT, road.GetLeftRight(right));
    EXPECT_EQ(DIR_LEFT, road.GetLeftRight(left));

    CArray<sPlaneUnitInfo, sPlaneUnitInfo> segments;
    road.ExportPlaneSegments(&segments);
    struct {
        double start, end, radius;
        int turn;
    } expected[] = {{1000, 1200, 1e8, 0},    {1200, 1650, 600, -1}, {1650, 1800, 1e8, 0}, {1800, 2000, 450, 1},
                    {2000, 2500, 225, 1},    {2500, 2700, 450, 1},  {2700, 2880, 1e8, 0}};
    ASSERT_EQ(7, segments.GetSize());
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(expected[i].start, segments[i].m_rStartZH, 1e-9);
        EXPECT_NEAR(expected[i].end, segments[i].m_rEndZH, 1e-9);
        EXPECT_NEAR(expected[i].radius, segments[i].m_rRadius, 1e-9);
        EXPECT_EQ(expected[i].turn, segments[i].m_iTurn);
    }

    CArray<sUnitInfo, sUnitInfo> units;
    road.ExportPlaneUnits(units);
    ASSERT_EQ(11, units.GetSize());
    tkxRoadObject copy;
    ASSERT_EQ(1, copy.ImportPlaneUnits(&units)) << Utf8(tkx_GetLastError());
    EXPECT_NEAR(road.EndZHInfo().m_rX, copy.EndZHInfo().m_rX, 1e-9);
    EXPECT_EQ(0, copy.ImportPlaneUnits(nullptr));
    EXPECT_EQ(Utf8(L"捕获异常[tkxRoadObject::ImportPlaneUnits]: 输入单元信息为空!"), Utf8(tkx_GetLastError()));
    units[2].m_EndPt.m_rZH = units[2].m_StartPt.m_rZH;
    EXPECT_EQ(0, copy.ImportPlaneUnits(&units));
    EXPECT_EQ(Utf8(L"导入第3个单元,圆曲线失败!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(2, copy.GetPlaneUnitCount());
}

TEST(PlaneSegments, CurvesBackToBack)
{
    ScratchFolder folder(L"segments");
    const CString path = folder / L"road.ICD";
    for (int second : {1, -1}) {
        WriteText(path, ClFormat(L"0\n0 0 0\n1, 100\n3, 244.9489742783178, 600, 1\n2, 600, 100, 1\n"
                                 L"4, 244.9489742783178, 600, 1\n3, 244.9489742783178, 600, %d\n2, 600, 100, %d\n"
                                 L"4, 244.9489742783178, 600, %d\n1, 100\n",
                                 second, second, second));
        tkxRoadObject road;
        ASSERT_EQ(1, road.LoadICDFile(path)) << Utf8(tkx_GetLastError());
        CArray<sPlaneUnitInfo, sPlaneUnitInfo> segments;
        road.ExportPlaneSegments(&segments);
        EXPECT_EQ(second == 1 ? 3 : 4, segments.GetSize());
        EXPECT_NEAR(100.0, segments[1].m_rStartZH, 1e-9);
        EXPECT_NEAR(second == 1 ? 700.0 : 400.0, segments[1].m_rEndZH, 1e-9);
    }
}

// ---------------------------------------------------------------------------
// A whole road folder

class RoadFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteText(folder / L"road.DL", L"1500 1480\n");
        WriteText(folder / L"road.ICD", SeveralCurvesText());
        // Grade points at chainage 1000, 1400 (crest, R 3000), 2000 (sag,
        // R 4000, written in the second segment) and 2880.
        WriteText(folder / L"road.SQX", L"1000 100\n1400 104 3000\n1980_2 98 4000\n2860_2 101 0\n");
        WriteText(folder / L"road.DMX", L"1000 99\n1500 103\n1550_2 102\n2860_2 100\n");
        WriteText(folder / L"road.HDX", L"ABS1\n1100\n2 -1\n3 0.5\n1600_2\n4 2\n0 0\n3000_2\n1 1\n1 1\n");
        WriteText(folder / L"road.GZX",
                  L"// 构造物\n"
                  L"0\t大桥$_$Z\t1300\t0d00'00.0\"\t2\t2\t3*20+2*30*1.8\tT梁\t2.5\t1.5\n"
                  L"1\t涵洞\t1600_2\t30d00'00.0\"\t4\t1\t1\t3\t95\tNULL\n"
                  L"3\t隧道\tC2500_2\t400\t6\n");
        ASSERT_EQ(1, road.LoadDLFile(folder / L"road.DL")) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.LoadICDFile(folder / L"road.ICD")) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.LoadSQXFile(folder / L"road.SQX")) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.LoadDMXFile(folder / L"road.DMX")) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.LoadHDXFile(folder / L"road.HDX", 1)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, road.LoadGZXFile(folder / L"road.GZX")) << Utf8(tkx_GetLastError());
    }

    StationSettings settings{3, 1};
    ScratchFolder folder{L"road_folder"};
    tkxRoadObject road;
};

TEST_F(RoadFolder, CoordinatesByClosedFormsAndFresnel)
{
    const double a0 = kRoadStartAzimuth;
    const double tx = std::sin(a0), ty = std::cos(a0);
    auto point = [&](double station) {
        sZHPtInfo p;
        EXPECT_EQ(1, road.GetPointOnUnits(station, p));
        return p;
    };
    // On the first straight.
    sZHPtInfo p = point(1100);
    EXPECT_NEAR(kRoadStartX + 100 * tx, p.m_rX, 1e-9);
    EXPECT_NEAR(kRoadStartY + 100 * ty, p.m_rY, 1e-9);

    // 50 m into the entry spiral (A² = 60000), turning right: the Fresnel
    // point in the frame of the straight.
    const double bx = kRoadStartX + 200 * tx, by = kRoadStartY + 200 * ty;
    const double rx = std::cos(a0), ry = -std::sin(a0); // to the right
    double x, y;
    ClothoidPoint(50, std::sqrt(60000.0), x, y);
    p = point(1250);
    EXPECT_NEAR(bx + x * tx + y * rx, p.m_rX, 1e-7);
    EXPECT_NEAR(by + x * ty + y * ry, p.m_rY, 1e-7);
    EXPECT_NEAR(a0 + 50.0 * 50 / 120000, p.m_rAzimuth, 1e-12);

    // 80 m into the arc: the circle through the spiral's end.
    ClothoidPoint(100, std::sqrt(60000.0), x, y);
    const double hx = bx + x * tx + y * rx, hy = by + x * ty + y * ry;
    const double ha = a0 + 100.0 / 1200;
    const double cx = hx + 600 * std::cos(ha), cy = hy - 600 * std::sin(ha);
    const double a = ha + 80.0 / 600;
    p = point(1380);
    EXPECT_NEAR(cx - 600 * std::cos(a), p.m_rX, 1e-7);
    EXPECT_NEAR(cy + 600 * std::sin(a), p.m_rY, 1e-7);
    EXPECT_NEAR(a, p.m_rAzimuth, 1e-12);
}

TEST_F(RoadFolder, ElevationsAndGrades)
{
    EXPECT_EQ(4, road.GetBPDCount());
    const double g3 = 3.0 / 880;
    // Tangent elevations, and the parabolas: crest 1370..1430, sag with
    // T = 4000 * (g3 + 0.01) / 2 around 2000.
    const double sagT = 4000 * (g3 + 0.01) / 2;
    struct {
        double station, elevation;
    } cases[] = {
        {1200, 102},
        {1390, 104 - 0.01 * 10 - 20.0 * 20 / (2 * 3000)},
        {1410, 104 - 0.01 * 10 - 20.0 * 20 / (2 * 3000)},
        {1700, 101},
        {2010, 98 + g3 * 10 + (2000 + sagT - 2010) * (2000 + sagT - 2010) / (2 * 4000)},
        {2500, 98 + g3 * 500},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.elevation, road.GetDesignElevation(c.station), 1e-9) << c.station;
    }
    EXPECT_EQ(-1e99, road.GetDesignElevation(900));
    double grade = 0;
    ASSERT_EQ(1, road.GetDesignSlope(1700, grade));
    EXPECT_NEAR(-0.01, grade, 1e-12);
    EXPECT_EQ(0, road.GetDesignSlope(3000, grade));

    // The ground line, with its third point at chainage 1570.
    EXPECT_NEAR(103 + (102 - 103.0) * 50 / 70, road.GetDMXElevation(1550), 1e-9);
    EXPECT_EQ(4, road.GetDMXCount());

    CArray<sProfileSegmentInfo, sProfileSegmentInfo> segments;
    road.ExportPofileSegments(&segments);
    ASSERT_EQ(3, segments.GetSize());
    EXPECT_NEAR(0.01, segments[0].m_rGrade, 1e-12);
    EXPECT_NEAR(-0.01, segments[1].m_rGrade, 1e-12);
    EXPECT_NEAR(g3, segments[2].m_rGrade, 1e-12);
    EXPECT_NEAR(2000.0, segments[2].m_rStartZH, 1e-9);
}

TEST_F(RoadFolder, SectionsPlacedOnTheAlignment)
{
    // The section beyond the road's end was dropped.
    ASSERT_EQ(2, road.GetHDXSectionCount());
    CArray<sZHPtInfo, sZHPtInfo> points;
    road.GetAllSectionZHInfos(points);
    ASSERT_EQ(2, points.GetSize());
    for (int i = 0; i < 2; ++i) {
        sZHPtInfo expected;
        ASSERT_EQ(1, road.GetPointOnUnits(points[i].m_rZH, expected));
        EXPECT_NEAR(expected.m_rX, points[i].m_rX, 1e-9);
        EXPECT_NEAR(expected.m_rY, points[i].m_rY, 1e-9);
        EXPECT_NEAR(expected.m_rAzimuth, points[i].m_rAzimuth, 1e-12);
    }
    EXPECT_NEAR(1620.0, points[1].m_rZH, 1e-9);
    EXPECT_EQ(Utf8(L"道路:未命名道路, 断面桩号:K1+600.000_2, \n地面线左侧点数:2, 右侧点数:1"), Utf8(road.GetHDXInfo(1)));
    EXPECT_EQ(Utf8(L"序号越界"), Utf8(road.GetHDXInfo(2)));

    // Without an alignment the load fails and leaves the sections held
    // before; a file that cannot be read reports itself rather than the
    // missing alignment.
    tkxRoadObject bare;
    ASSERT_EQ(1, bare.LoadHDXFile(folder / L"road.HDX", 0));
    ASSERT_EQ(3, bare.GetHDXSectionCount());
    WriteText(folder / L"one.HDX", L"ABS1\n1000\n0 0\n0 0\n");
    EXPECT_EQ(0, bare.LoadHDXFile(folder / L"one.HDX", 1));
    EXPECT_EQ(Utf8(L"加载横地线文件前, 未定义平面线路."), Utf8(tkx_GetLastError()));
    EXPECT_EQ(3, bare.GetHDXSectionCount());
    EXPECT_EQ(0, bare.LoadHDXFile(folder / L"none.HDX", 1));
    EXPECT_NE(Utf8(L"加载横地线文件前, 未定义平面线路."), Utf8(tkx_GetLastError()));
    EXPECT_EQ(3, bare.GetHDXSectionCount());
}

TEST_F(RoadFolder, StructuresAndStationText)
{
    CArray<sQHInfo, sQHInfo> records;
    ASSERT_EQ(3, road.GetGZWInfos(records));
    // Bridge: abutments 2 + 2, spans 20, 20, 20, 30, 30; the centre half
    // way into the third span.
    EXPECT_NEAR(1300.0, records[0].m_rStartZH, 1e-9);
    EXPECT_NEAR(1424.0, records[0].m_rEndZH, 1e-9);
    EXPECT_NEAR(1352.0, records[0].m_rCenterZH, 1e-9);
    tkxQHInfo bridge(road.BreakChain(), records[0]);
    EXPECT_EQ(1.5, bridge.GetBrgHeight(1330));
    EXPECT_EQ(1.8, bridge.GetBrgHeight(1380));
    EXPECT_EQ(Utf8(L"大桥 K1+352.000"), Utf8(bridge.GetDimName(L"", 0)));
    // Culvert at 1600 of the second segment, tunnel centred at 2500 there.
    EXPECT_NEAR(1620.0, records[1].m_rCenterZH, 1e-9);
    EXPECT_NEAR(1618.0, records[1].m_rStartZH, 1e-9);
    EXPECT_NEAR(2520.0, records[2].m_rCenterZH, 1e-9);
    EXPECT_NEAR(2320.0, records[2].m_rStartZH, 1e-9);
    EXPECT_NEAR(2720.0, records[2].m_rEndZH, 1e-9);

    EXPECT_EQ("1000.000", Utf8(road.StartZHString()));
    EXPECT_EQ("2860.000_2", Utf8(road.EndZHString()));
    EXPECT_EQ("1500.000=1480.000", Utf8(road.GetBreakChainString()));
    double station = 0;
    ASSERT_EQ(1, road.GetGlobalZH(L"K1+600_2", station));
    EXPECT_NEAR(1620.0, station, 1e-9);
}

TEST_F(RoadFolder, CopiesStandAlone)
{
    auto* copy = new tkxRoadObject(road);
    tkxRoadObject assigned;
    assigned = road;
    road.RemovePlaneUnits();
    road.LoadDLFile(L"");
    EXPECT_EQ(copy->BreakChain(), copy->ZDMInfo()->GetBreakChain());
    EXPECT_EQ(copy->BreakChain(), copy->HDMTerrain()->GetBreakChain());
    sZHPtInfo p;
    ASSERT_EQ(1, copy->GetPointOnUnits(1380, p));
    EXPECT_NEAR(104 - 0.01 * 10 - 20.0 * 20 / (2 * 3000), copy->GetDesignElevation(1390), 1e-9);
    EXPECT_EQ(2, copy->GetHDXSectionCount());
    EXPECT_EQ("1500.000=1480.000", Utf8(copy->GetBreakChainString()));
    EXPECT_EQ(11, assigned.GetPlaneUnitCount());
    delete copy;
    EXPECT_EQ(1, assigned.GetPointOnUnits(2000, p));
    EXPECT_EQ(0, road.GetPointOnUnits(2000, p));
    EXPECT_EQ(-1e99, road.StartZH());
}

TEST_F(RoadFolder, FileFailures)
{
    EXPECT_EQ(0, road.LoadDLFile(folder / L"none.DL"));
    EXPECT_EQ(Utf8(ClFormat(L"加载断链文件[%s]失败!\n\n打开断链文件(*.DL)时出错!\n\n%s", (folder / L"none.DL").GetString(),
                            (folder / L"none.DL").GetString())),
              Utf8(tkx_GetLastError()));
    // A bad line: the chain's message with its line and field follows.
    const CString bad = folder / L"bad.DL";
    WriteText(bad, L"1200 1180\n2500 25x0\n");
    EXPECT_EQ(0, road.LoadDLFile(bad));
    EXPECT_EQ(Utf8(ClFormat(L"加载断链文件[%s]失败!\n\n断链文件(%s)\n\n第2行第2个数据25x0, <断链后桩号>错误!", bad.GetString(),
                            bad.GetString())),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(1, road.LoadDLFile(L""));
    EXPECT_EQ("", Utf8(road.GetBreakChainString()));
}

// ---------------------------------------------------------------------------
// Archive form and tables

TEST(RoadObject, ArchiveLoadsWhatItStores)
{
    tkxRoadObject road;
    road.SetName(L"主线");
    road.SetRoadLevel(ROAD_SECOND_CLASS);
    road.SetSpeed(60);
    ASSERT_EQ(1, road.ImportBreakChain(L"1200=1180, 2500=2510"));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        road.Serialize(ar);
    }
    const std::vector<BYTE> bytes = file.Data();
    tkxRoadObject back;
    CMemFile in(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&in, CArchive::load);
    back.Serialize(ar);
    EXPECT_EQ("主线", Utf8(back.GetName()));
    EXPECT_EQ(ROAD_SECOND_CLASS, back.GetRoadLevel());
    EXPECT_EQ(60.0, back.GetSpeed());
    EXPECT_EQ("1200.000=1180.000, 2500.000=2510.000", Utf8(back.GetBreakChainString()));
    EXPECT_EQ(300u, RUNTIME_CLASS(tkxRoadObject)->m_wSchema);
    EXPECT_EQ("未命名道路", Utf8(tkxRoadObject().GetName()));
}

TEST(RoadObject, DesignTables)
{
    double d = 0, g = 0, m = 0;
    struct {
        double speed, distance;
    } stopping[] = {{70, 92.5}, {150, 210}, {10, 20}, {120, 210}, {35, 35}};
    for (const auto& c : stopping) {
        EXPECT_EQ(1, tkxRoadObject::GetSSDistance1(c.speed, d));
        EXPECT_NEAR(c.distance, d, 1e-9) << c.speed;
    }
    struct {
        double speed, grade, distance;
    } trucks[] = {{80, -4, 132}, {80, 12, 156}, {80, 1.5, 127.5}, {90, 0, 152.5}, {100, 3.5, 192.5}};
    for (const auto& c : trucks) {
        EXPECT_EQ(1, tkxRoadObject::GetSSDistance2(c.speed, c.grade, d));
        EXPECT_NEAR(c.distance, d, 1e-9) << c.speed << " " << c.grade;
    }
    EXPECT_EQ(1, tkxRoadObject::GetSSDistance3(50, g, m));
    EXPECT_NEAR(275.0, g, 1e-9);
    EXPECT_NEAR(200.0, m, 1e-9);

    EXPECT_EQ(3.25, tkxRoadObject::GetRampStdWidth(ROAD_URBAN_ARTERIAL, 30, 0));
    EXPECT_EQ(3.5, tkxRoadObject::GetRampStdWidth(ROAD_URBAN_ARTERIAL, 20, 1));
    EXPECT_EQ(3.0, tkxRoadObject::GetRampStdWidth(ROAD_URBAN_ARTERIAL, 20, 0));
    EXPECT_EQ(3.75, tkxRoadObject::GetRampStdWidth(ROAD_URBAN_EXPRESSWAY, 80, 0));
    EXPECT_EQ(3.5, tkxRoadObject::GetRampStdWidth(ROAD_URBAN_EXPRESSWAY, 60, 0));
    EXPECT_EQ(3.75, tkxRoadObject::GetRampStdWidth(ROAD_FIRST_CLASS, 60, 0));
    EXPECT_EQ(3.5, tkxRoadObject::GetRampStdWidth(ROAD_FOURTH_CLASS, 30, 0));

    const wchar_t* names[] = {L"高速公路", L"互通立交匝道", L"一级公路",   L"二级公路",   L"三级公路", L"四级公路",
                              L"等外公路", L"城市快速路",   L"城市主干道", L"城市次干道", L"城市支路"};
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(Utf8(names[i]), Utf8(tkxRoadObject::GetRoadLevelName(static_cast<enRoadLevel>(i))));
    EXPECT_EQ("其他道路", Utf8(tkxRoadObject::GetRoadLevelName(ROAD_OTHER)));
    EXPECT_EQ("其他道路", Utf8(tkxRoadObject::GetRoadLevelName(static_cast<enRoadLevel>(-1))));
}
