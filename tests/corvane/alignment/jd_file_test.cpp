// Intersection-point rows: reading into curves, the messages of bad rows,
// whole files written by the road object and read back, and angle texts.
#include "alignment_test_support.h"
#include "corvane/base/LastError.h"
#include "corvane/road/JDFile.h"
#include "corvane/road/Road.h"

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace Tavix4;
using namespace alignment_test;

namespace {

double Radians(double d, double m, double s) { return (d + m / 60 + s / 3600) / 180 * kPi; }

// Reads rows as a reader of whole files does (up to the road end, which
// ends the text): the number of the first row refused, with its message, or
// 0 when every row was read.
int ReadRowsOf(const std::string& bytes, CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves, CString& message)
{
    const CString text = ClMultiByteToWide(bytes.c_str(), static_cast<int>(bytes.size()), 936);
    int start = 0, row = 0;
    for (CString line = text.Tokenize(L"\r\n", start); !line.IsEmpty(); line = text.Tokenize(L"\r\n", start)) {
        ++row;
        tkxPlaneCurve3 curve;
        if (!curve.ReadJDFile(line, message)) return row;
        curves.Add(curve);
        if (message == L"EOF") break;
    }
    return 0;
}

// Reads rows and places every curve between its neighbours.
void ReadRows(const std::string& bytes, CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves)
{
    CString message;
    const int refused = ReadRowsOf(bytes, curves, message);
    ASSERT_EQ(0, refused) << Utf8(message);
    for (int i = 1; i + 1 < curves.GetSize(); ++i) {
        const sZHPtInfo a = curves[i - 1].TurnPtInfo(), b = curves[i + 1].TurnPtInfo();
        ASSERT_EQ(1, curves[i].SetTurnAngle(tkxPoint3d(a.m_rX, a.m_rY, 0), tkxPoint3d(b.m_rX, b.m_rY, 0)))
            << Utf8(tkx_GetLastError());
    }
}

} // namespace

TEST(JDRows, CurveRowWithSpiralLengthsAndParameters)
{
    tkxPlaneCurve3 curve;
    CString message = L"old";
    ASSERT_EQ(1, curve.ReadJDFile(L"3, 4000, 500, -1, L100, 600, L100, -1", message));
    EXPECT_TRUE(message.IsEmpty());
    EXPECT_EQ(500.0, curve.TurnPtInfo().m_rX);
    EXPECT_EQ(4000.0, curve.TurnPtInfo().m_rY);
    EXPECT_EQ(1e10, curve.StartR());
    EXPECT_EQ(1e10, curve.EndR());
    EXPECT_EQ(600.0, curve.R());
    EXPECT_NEAR(100.0, curve.Ls1(), 1e-9);
    EXPECT_NEAR(100.0, curve.Ls2(), 1e-9);
    EXPECT_NEAR(std::sqrt(60000.0), curve.A1(), 1e-9);
    EXPECT_NEAR(std::sqrt(60000.0), curve.A2(), 1e-9);

    // Parameters instead of lengths; a lower-case mark on the second spiral;
    // finite start and end radii.
    ASSERT_EQ(1, curve.ReadJDFile(L"3\t4000\t500\t1200\t489.89794855663564\t600\tl150\t2000\tJD5", message));
    EXPECT_NEAR(1200.0, curve.StartR(), 1e-12);
    EXPECT_NEAR(2000.0, curve.EndR(), 1e-12);
    EXPECT_NEAR(200.0, curve.Ls1(), 1e-9); // (1200 - 600) A² / (1200 * 600)
    EXPECT_NEAR(150.0, curve.Ls2(), 1e-9);
    EXPECT_NEAR(std::sqrt(150 * 600 * 2000 / 1400.0), curve.A2(), 1e-9);
    EXPECT_TRUE(curve.TurnPtInfo().m_SName.IsEmpty());

    // The start row sets the station; the end row answers "EOF".
    ASSERT_EQ(1, curve.ReadJDFile(L"-1 3000 200 1234.5", message));
    EXPECT_EQ(1234.5, curve.TurnPtInfo().m_rZH);
    EXPECT_EQ(0.0, curve.Length());
    ASSERT_EQ(1, curve.ReadJDFile(L"-2 3500 250", message));
    EXPECT_EQ("EOF", Utf8(message));
    EXPECT_EQ(250.0, curve.TurnPtInfo().m_rX);
}

// A curve given row after row (its units are reused) ends up as a new curve
// given only the last row: no unit, spiral or radius of an earlier row stays.
TEST(JDRows, ACurveGivenRowAfterRowIsTheCurveOfTheLastRow)
{
    const wchar_t* const rows[] = {
        L"3 4000 500 -1 L100 600 L100 -1",
        L"3 4000 520 -1 0 450 L80 -1",
        L"3 4000 540 -1 L60 500 0 -1",
        L"0 4000 560",
        L"3 4000 580 1200 489.89794855663564 600 l150 2000",
        L"3 4000 600 -1 L100 700 L120 -1",
    };
    const tkxPoint3d before(0.0, 3000.0, 0.0), after(2000.0, 3600.0, 0.0);
    auto placed = [&](tkxPlaneCurve3& curve) {
        if (curve.R() >= 1e-6) {
            EXPECT_EQ(1, curve.SetTurnAngle(before, after)) << Utf8(tkx_GetLastError());
        }
        CArray<sUnitInfo, sUnitInfo> units;
        curve.GetUnitInfos(units);
        return std::vector<sUnitInfo>(units.begin(), units.end());
    };
    // Which of the three units a curve has.
    auto present = [](const tkxPlaneCurve3& curve) {
        tkxClothoidUnit clothoid;
        tkxArcUnit arc;
        return std::vector<int>{curve.GetClothoid1(clothoid), curve.GetArc(arc), curve.GetClothoid2(clothoid)};
    };
    tkxPlaneCurve3 reused;
    for (const wchar_t* row : rows) {
        SCOPED_TRACE(Utf8(row));
        CString message;
        ASSERT_EQ(1, reused.ReadJDFile(row, message)) << Utf8(message);
        tkxPlaneCurve3 fresh;
        ASSERT_EQ(1, fresh.ReadJDFile(row, message)) << Utf8(message);
        EXPECT_EQ(present(fresh), present(reused));
        EXPECT_EQ(fresh.Ls1(), reused.Ls1());
        EXPECT_EQ(fresh.Ls2(), reused.Ls2());
        EXPECT_EQ(fresh.StartR(), reused.StartR());
        EXPECT_EQ(fresh.EndR(), reused.EndR());
        const std::vector<sUnitInfo> a = placed(fresh), b = placed(reused);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].m_iUnitType, b[i].m_iUnitType) << i;
            EXPECT_EQ(a[i].m_EndPt.m_rX, b[i].m_EndPt.m_rX) << i;
            EXPECT_EQ(a[i].m_EndPt.m_rY, b[i].m_EndPt.m_rY) << i;
            EXPECT_EQ(a[i].m_EndPt.m_rAzimuth, b[i].m_EndPt.m_rAzimuth) << i;
            EXPECT_EQ(a[i].m_EndPt.m_rZH, b[i].m_EndPt.m_rZH) << i;
        }
    }
}

TEST(JDRows, BadRows)
{
    struct {
        const wchar_t* row;
        const wchar_t* message;
    } cases[] = {
        {L"", L"读取交点数据失败!"},
        {L"3 4000", L"交点数据小于3个!"},
        {L"3 40O0 500 -1 L100 600 L100 -1", L"第2个数据, 交点XN坐标[40O0]错误!"},
        {L"0 4000 E500", L"第3个数据, 交点YE坐标[E500]错误!"},
        {L"-1 4000 500", L"起点信息行数据不足4个!"},
        {L"-1 4000 500 K1+200", L"第4个数据, 起点桩号[K1+200]错误!"},
        {L"3 4000 500 -1 L100 600 L100", L"交点平曲线信息行数据不足8个!"},
        {L"3 4000 500 1e10 L100 600 L100 -1", L"第4个数据, 起始半径[1e10]错误!"},
        {L"3 4000 500 -1 l100 600 L100 -1", L"第5个数据, 缓和曲线A值[l100]错误!"},
        {L"3 4000 500 -1 L1OO 600 L100 -1", L"第5个数据, 缓和曲线长度[L1OO]错误!"},
        {L"3 4000 500 -1 l 600 L100 -1", L"第5个数据, 缓和曲线长度[l]错误!"},
        {L"3 4000 500 -1 L100 R600 L100 -1", L"第6个数据, 曲线半径[R600]错误!"},
        {L"3 4000 500 -1 L100 600 A100 -1", L"第7个数据, 缓和曲线A值[A100]错误!"},
        {L"3 4000 500 -1 L100 600 LX -1", L"第7个数据, 缓和曲线长度[LX]错误!"},
        {L"3 4000 500 -1 L100 600 L100 inf", L"第8个数据, 终止半径[inf]错误!"},
        {L"5 4000 500", L"点类型[5]未定义!"},
        {L"中 4000 500 -1 L100 600 L100 -1", L"第1个数据, 点类型[中]错误!"},
        {L"3.5 4000 500 -1 L100 600 L100 -1", L"第1个数据, 点类型[3.5]错误!"},
        {L"JD3 4000 500 -1 L100 600 L100 -1", L"第1个数据, 点类型[JD3]错误!"},
        {L"- 4000 500", L"第1个数据, 点类型[-]错误!"},
        {L"-1x 4000 500 0", L"第1个数据, 点类型[-1x]错误!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.row));
        tkxPlaneCurve3 curve;
        CString keep;
        ASSERT_EQ(1, curve.ReadJDFile(L"3 10 20 -1 L50 300 L50 -1", keep));
        CString message;
        EXPECT_EQ(0, curve.ReadJDFile(c.row, message));
        EXPECT_EQ(Utf8(c.message), Utf8(message));
        // The curve is left as it was.
        EXPECT_EQ(300.0, curve.R());
        EXPECT_NEAR(50.0, curve.Ls1(), 1e-9);
        EXPECT_NEAR(50.0, curve.Ls2(), 1e-9);
        EXPECT_EQ(20.0, curve.TurnPtInfo().m_rX);
        EXPECT_EQ(10.0, curve.TurnPtInfo().m_rY);
    }
    // Signed types are whole numbers too.
    tkxPlaneCurve3 curve;
    CString message;
    EXPECT_EQ(1, curve.ReadJDFile(L"+3 4000 500 -1 L100 600 L100 -1", message));
    EXPECT_EQ(600.0, curve.R());
}

// A row converts only when each field is wholly a number, and only to a
// curve some road can have: coordinates within 1e10 m, spirals that end
// within it, no negative radius or spiral.
TEST(JDRows, FieldsMustBeWholeNumbersOfAnyRoad)
{
    const std::wstring hugeA = L"1" + std::wstring(30, L'0');
    const struct {
        std::wstring row;
        std::wstring message;
    } cases[] = {
        {L"3x 4000 500", L"第1个数据, 点类型[3x]错误!"},
        {L"3 4000;5 500 -1 L100 600 L100 -1", L"第2个数据, 交点XN坐标[4000;5]错误!"},
        {L"0 4000 50000000000", L"第3个数据, 交点YE坐标[50000000000]错误!"},
        {L"-1 4000 500 1_2_3", L"第4个数据, 起点桩号[1_2_3]错误!"},
        {L"3 4000 500 -1 " + hugeA + L" 600 L100 -1", L"第5个数据, 缓和曲线A值[" + hugeA + L"]错误!"},
        {L"3 4000 500 -1 L100 600 L20000000000 -1", L"第7个数据, 缓和曲线长度[L20000000000]错误!"},
        {L"3 4000 500 -1 LL100 600 L100 -1", L"第5个数据, 缓和曲线长度[LL100]错误!"},
        {L"3 4000 500 -1 L100 6__0 L100 -1", L"第6个数据, 曲线半径[6__0]错误!"},
        // Negative values would silently drop the curve or a spiral.
        {L"3 4000 500 -1 L100 -600 L100 -1", L"第6个数据, 曲线半径[-600]错误!"},
        {L"3 4000 500 -1 L-100 600 L100 -1", L"第5个数据, 缓和曲线长度[L-100]错误!"},
        {L"3 4000 500 -1 L100 600 -300 -1", L"第7个数据, 缓和曲线A值[-300]错误!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.row.c_str()).substr(0, 60));
        tkxPlaneCurve3 curve;
        CString message;
        EXPECT_EQ(0, curve.ReadJDFile(c.row.c_str(), message));
        EXPECT_EQ(Utf8(c.message.c_str()), Utf8(message));
    }
    tkxPlaneCurve3 curve;
    CString message;
    ASSERT_EQ(1, curve.ReadJDFile(L"+3 +4000 500.000 -1 L+100 600. L100 -1", message)) << Utf8(message);
    EXPECT_NEAR(100.0, curve.Ls1(), 1e-9);
}

// A road of three curves in rows as a file holds them: the curve values
// (from the start radius on) of each curve given.
std::string RoadRows(const wchar_t* second, const wchar_t* first = L"-1 L80 500 L80 -1",
                     const wchar_t* third = L"-1 L90 700 L90 -1")
{
    return FileText((std::wstring(L"-1 3422000 487000 1000\n3 3422800.5 487600.2 ") + first +
                     L"\n3 3423755.4962870364 487720.9074944821 " + second + L" JD3\n3 3424600 488400 " + third +
                     L"\n-2 3425300 488300\n")
                        .c_str());
}

// A spiral joins two radii, neither of them 0: a curve row whose spiral
// starts or ends at a radius of 0 ("-0" is the same), or at the curve's own
// radius, is refused with its field's message, wherever it stands in a file.
// (Read, such a spiral shrank to nothing: the curve could not be placed, or
// was written back as another curve.)
TEST(JDFile, ASpiralFromOrToNoRadiusIsRefused)
{
    const struct {
        const wchar_t* curve;
        const wchar_t* message;
    } cases[] = {
        {L"0 L100.0000000000 600.0000000000 L120.0000000000 1000.0000000000",
         L"第4个数据, 起始半径[0]错误!"},
        {L"-0 L100.0000000000 600.0000000000 L120.0000000000 1000.0000000000",
         L"第4个数据, 起始半径[-0]错误!"},
        {L"-0.000 244.9489742783 600 L120 1000", L"第4个数据, 起始半径[-0.000]错误!"}, // A of 100 m
        {L"0.000000001 L100 600 L120 1000", L"第4个数据, 起始半径[0.000000001]错误!"},
        {L"600 L100 600 L120 1000", L"第4个数据, 起始半径[600]错误!"},
        {L"-1 L100 600 L120 0", L"第8个数据, 终止半径[0]错误!"},
        {L"-1 L100 600 L120 -0", L"第8个数据, 终止半径[-0]错误!"},
        {L"-1 L100 600 424.2640687119 0", L"第8个数据, 终止半径[0]错误!"},
        {L"-1 L100 600 L120 600.0005", L"第8个数据, 终止半径[600.0005]错误!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.curve));
        CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
        CString message;
        EXPECT_EQ(3, ReadRowsOf(RoadRows(c.curve), curves, message));
        EXPECT_EQ(Utf8(c.message), Utf8(message));
    }
    // The same file with an infinite start radius is a road.
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    ReadRows(RoadRows(L"-1 L100 600 L120 1000"), curves);
    ASSERT_EQ(5, curves.GetSize());
    EXPECT_NEAR(100.0, curves[2].Ls1(), 1e-9);
}

// A radius of 0 (or "-0") beside no spiral is not used: such a file loads,
// is written, and loads again as the same road, every curve with the same
// derived values, and is written again as the same text.
TEST(JDFile, UnusedRadiiOfZeroRoundTrip)
{
    ScratchFolder folder(L"jd_zero_radii");
    const CString path = folder / L"road.JD";
    // The first curve without a first spiral, the second with spirals from
    // and to finite radii, the third without a second spiral (A 0).
    const std::string rows = RoadRows(L"1200 L100 600 L120 1000", L"0 L0 500 L80 -1", L"-1 L90 700 0 -0");
    // Read, placed and given stations as a reader of the road does.
    const auto load = [](const std::string& bytes, CArray<tkxPlaneCurve3, tkxPlaneCurve3>& curves) {
        ReadRows(bytes, curves);
        for (int i = 1; i < curves.GetSize(); ++i) {
            const sZHPtInfo end = curves[i - 1].EndPtInfo(), start = curves[i].StartPtInfo();
            curves[i].SetStartZH(end.m_rZH + std::hypot(start.m_rX - end.m_rX, start.m_rY - end.m_rY));
        }
    };
    const auto derived = [](const tkxPlaneCurve3& c) {
        const sZHPtInfo turn = c.TurnPtInfo(), start = c.StartPtInfo(), end = c.EndPtInfo();
        const tkxPoint3d centre = c.ArcCenterPt();
        return std::vector<std::pair<const char*, double>>{
            {"X", turn.m_rX}, {"Y", turn.m_rY}, {"station", turn.m_rZH}, {"deflection", turn.m_rAzimuth},
            {"T1", c.T1()}, {"T2", c.T2()}, {"L", c.Length()}, {"E", c.E()}, {"D", c.D()}, {"A1", c.A1()},
            {"Ls1", c.Ls1()}, {"R", c.R()}, {"A2", c.A2()}, {"Ls2", c.Ls2()}, {"arc", c.ArcLength()},
            {"start R", c.StartR()}, {"end R", c.EndR()}, {"ZH", start.m_rZH}, {"ZH X", start.m_rX},
            {"ZH Y", start.m_rY}, {"ZH azimuth", start.m_rAzimuth}, {"ZH radius", start.m_rRadius},
            {"HZ", end.m_rZH}, {"HZ X", end.m_rX}, {"HZ Y", end.m_rY}, {"HZ azimuth", end.m_rAzimuth},
            {"HZ radius", end.m_rRadius}, {"centre X", centre.x}, {"centre Y", centre.y}};
    };
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    load(rows, curves);
    ASSERT_EQ(5, curves.GetSize());
    EXPECT_EQ(0.0, curves[1].Ls1());
    EXPECT_NEAR(100.0, curves[2].Ls1(), 1e-9);
    EXPECT_NEAR(1200.0, curves[2].StartR(), 1e-9);
    EXPECT_EQ(0.0, curves[3].Ls2());
    EXPECT_GT(curves[3].T1(), 100.0);
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(path, curves)) << Utf8(tkx_GetLastError());
    const std::string written = ReadBytes(path);
    // A curve without a spiral writes its radius in the unused place (and
    // the northing as the double it was read into).
    EXPECT_EQ("-1 3422000.0000000000 487000.0000000000 1000.000000\r\n"
              "3 3422800.5000000000 487600.2000000000 500.0000000000 L0.0000000000 500.0000000000 L80.0000000000 "
              "10000000000.0000000000\r\n"
              "3 3423755.4962870362 487720.9074944821 1200.0000000000 L100.0000000000 600.0000000000 L120.0000000000 "
              "1000.0000000000\r\n"
              "3 3424600.0000000000 488400.0000000000 10000000000.0000000000 L90.0000000000 700.0000000000 "
              "L0.0000000000 700.0000000000\r\n"
              "-2 3425300.0000000000 488300.0000000000\r\n",
              written);

    CArray<tkxPlaneCurve3, tkxPlaneCurve3> back;
    load(written, back);
    ASSERT_EQ(curves.GetSize(), back.GetSize());
    for (int i = 0; i < curves.GetSize(); ++i) {
        const auto before = derived(curves[i]), after = derived(back[i]);
        for (size_t k = 0; k < before.size(); ++k)
            EXPECT_NEAR(before[k].second, after[k].second, 1e-6) << "curve " << i << ", " << before[k].first;
    }
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(path, back)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(written, ReadBytes(path));
}

TEST(JDFile, WrittenAndReadBack)
{
    ScratchFolder folder(L"jd_file");
    const CString path = folder / L"road.JD";

    // Start and end only.
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> two;
    sZHPtInfo a, b;
    a.m_rX = 100;
    a.m_rY = 200;
    a.m_rZH = 1000;
    b.m_rX = 400;
    b.m_rY = 600;
    tkxPlaneCurve3 start, end;
    start.CreateRoadQD(a);
    end.CreateRoadZD(b);
    two.Add(start);
    two.Add(end);
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(path, two));
    EXPECT_EQ("-1 200.0000000000 100.0000000000 1000.000000\r\n-2 600.0000000000 400.0000000000\r\n", ReadBytes(path));

    // A road with a turn point without curve and curves with and without
    // spirals, through a file and back.
    const std::string rows = FileText(L"-1 0 0 500\n"
                                      L"3 1000 0 -1 L100 600 L150 -1\n"
                                      L"0 1500 700\n"
                                      L"3 2600 900 -1 L0 900 L80 -1\n"
                                      L"3 3500 300 -1 L120 500 L120 -1\n"
                                      L"-2 4200 1000\n");
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    ReadRows(rows, curves);
    ASSERT_EQ(6, curves.GetSize());
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(path, curves));
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> back;
    ReadRows(ReadBytes(path), back);
    ASSERT_EQ(curves.GetSize(), back.GetSize());
    for (int i = 0; i < curves.GetSize(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(curves[i].TurnPtInfo().m_rX, back[i].TurnPtInfo().m_rX, 1e-9);
        EXPECT_NEAR(curves[i].TurnPtInfo().m_rY, back[i].TurnPtInfo().m_rY, 1e-9);
        EXPECT_NEAR(curves[i].R(), back[i].R(), 1e-9);
        EXPECT_NEAR(curves[i].Ls1(), back[i].Ls1(), 1e-9);
        EXPECT_NEAR(curves[i].Ls2(), back[i].Ls2(), 1e-9);
        EXPECT_NEAR(curves[i].T1(), back[i].T1(), 1e-6);
    }
    EXPECT_EQ(500.0, back[0].TurnPtInfo().m_rZH);
    EXPECT_EQ(0.0, back[2].Length());
    EXPECT_EQ(0.0, back[3].Ls1());

    // Rows that would not read back as written are refused; the old file
    // stays.
    const std::string before = ReadBytes(path);
    struct Refused {
        const char* what;
        std::function<void(CArray<tkxPlaneCurve3, tkxPlaneCurve3>&)> damage;
        const wchar_t* problem;
    } refused[] = {
        {"a curve as the first row", [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) { c.RemoveAt(0); },
         L"第1个交点带有平曲线, 不能作为路线起点写入!"},
        {"a curve as the last row", [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) { c.RemoveAt(c.GetSize() - 1); },
         L"第5个交点带有平曲线, 不能作为路线终点写入!"},
        {"the start alone", [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) { c.SetSize(1); },
         L"交点数据只有1个, 至少应有起点和终点!"},
        {"no rows", [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) { c.RemoveAll(); },
         L"交点数据只有0个, 至少应有起点和终点!"},
        // Values that are no number would be written as text that reads as
        // something else, or not at all.
        {"an infinite coordinate",
         [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) {
             sZHPtInfo point = c[2].TurnPtInfo();
             point.m_rY = HUGE_VAL;
             c[2].CreateNullJD(point, DIR_LEFT);
         },
         L"第3个交点的坐标、桩号或平曲线数据不是有效数值!"},
        {"a coordinate that is no number",
         [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) {
             sZHPtInfo point = c[2].TurnPtInfo();
             point.m_rX = std::nan("");
             c[2].CreateNullJD(point, DIR_LEFT);
         },
         L"第3个交点的坐标、桩号或平曲线数据不是有效数值!"},
        {"an infinite start station",
         [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) {
             sZHPtInfo point = c[0].TurnPtInfo();
             point.m_rZH = -HUGE_VAL;
             c[0].CreateRoadQD(point);
         },
         L"第1个交点的坐标、桩号或平曲线数据不是有效数值!"},
        {"a radius that is no number",
         [&](CArray<tkxPlaneCurve3, tkxPlaneCurve3>& c) {
             tkxPlaneCurve3::sJDInfo info;
             c[1].GetJDInfo(info);
             info.m_rR = std::nan("");
             c[1].SetJDInfo(info);
         },
         L"第2个交点的坐标、桩号或平曲线数据不是有效数值!"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.what);
        CArray<tkxPlaneCurve3, tkxPlaneCurve3> damaged;
        damaged.Copy(curves);
        r.damage(damaged);
        EXPECT_EQ(0, tkxRoadObject::SaveJDFile(path, damaged));
        EXPECT_EQ(Utf8(CString(r.problem) + L" 无法创建" + path + L"文件!"), Utf8(tkx_GetLastError()));
        EXPECT_EQ(before, ReadBytes(path));
    }

    // Where the file cannot be made the old one stays.
    EXPECT_EQ(0, tkxRoadObject::SaveJDFile(folder / L"missing\\road.JD", curves));
    EXPECT_EQ(Utf8(ClFormat(L"创建%s文件失败!", (folder / L"missing\\road.JD").GetString())), Utf8(tkx_GetLastError()));
    EXPECT_EQ(before, ReadBytes(path));
}

// A file may hold a second start row (a road in two pieces): it is written
// back as a start row with its own station, not as a turn point.
TEST(JDFile, ASecondStartRowKeepsItsStation)
{
    ScratchFolder folder(L"jd_second_start");
    const CString path = folder / L"road.JD";
    const std::string rows = FileText(L"-1 0 0 500\n"
                                      L"3 1000 0 -1 L100 600 L150 -1\n"
                                      L"-1 1500 700 1234.5\n"
                                      L"3 2600 900 -1 L0 900 L80 -1\n"
                                      L"-2 4200 1000\n");
    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    ReadRows(rows, curves);
    ASSERT_EQ(5, curves.GetSize());
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(path, curves)) << Utf8(tkx_GetLastError());
    const std::string written = ReadBytes(path);
    EXPECT_NE(std::string::npos, written.find("\r\n-1 1500.0000000000 700.0000000000 1234.500000\r\n")) << written;

    CArray<tkxPlaneCurve3, tkxPlaneCurve3> back;
    ReadRows(written, back);
    ASSERT_EQ(5, back.GetSize());
    EXPECT_EQ(500.0, back[0].TurnPtInfo().m_rZH);
    EXPECT_EQ(1234.5, back[2].TurnPtInfo().m_rZH);
    EXPECT_TRUE(back[2].IsRoadStart());
    EXPECT_FALSE(back[1].IsRoadStart());
    EXPECT_FALSE(back[4].IsRoadStart());
    // Written once more, the file is the same.
    ASSERT_EQ(1, tkxRoadObject::SaveJDFile(path, back));
    EXPECT_EQ(written, ReadBytes(path));
}

TEST(AngleText, DegreesMinutesSecondsToRadians)
{
    struct {
        const wchar_t* text;
        double radians;
        int plain;
    } cases[] = {
        {L"30.1530", Radians(30, 15, 30), 1},
        {L"30.15", Radians(30, 15, 0), 1},        // minutes taken as written
        {L"12.0959", Radians(12, 9, 59), 1},
        {L"45.30155", Radians(45, 30, 15.5), 1},  // seconds with a decimal
        {L"90", Radians(90, 0, 0), 1},
        {L"l30d1530", -Radians(30, 15, 30), 0},
        {L"L30.1530", -Radians(30, 15, 30), 0},
        {L"r30.1530", Radians(30, 15, 30), 0},
        {L"R7d3", Radians(7, 30, 0), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        double radians = 0;
        int plain = -1;
        ASSERT_EQ(1, tkx_AngleS_To_R(c.text, radians, plain));
        EXPECT_NEAR(c.radians, radians, 1e-15);
        EXPECT_EQ(c.plain, plain);
    }
    // Degrees beyond the range of double are no angle either.
    const std::wstring tooMany = std::wstring(400, L'9') + L".1530";
    for (const wchar_t* bad : {L"3", L"", L"l", L"30.1a", L"lxyz", L"30..1", tooMany.c_str()}) {
        SCOPED_TRACE(Utf8(bad).substr(0, 20));
        double radians = 7;
        int plain = 7;
        EXPECT_EQ(0, tkx_AngleS_To_R(bad, radians, plain));
        EXPECT_EQ(7.0, radians);
        EXPECT_EQ(7, plain);
    }
}

