// Superelevation: the CG file's header and rows, its messages, the byte-exact
// round trip, and the cross falls across transitions against hand-worked
// values.
#include "corvane/road/BreakChain.h"
#include "corvane/section/SuperElevation.h"
#include "section_test_support.h"
#include "support/FailingWrites.h"

#include <cmath>
#include <functional>

using section_test::FileText;
using section_test::ReadBytes;
using section_test::ScratchFolder;
using section_test::Utf8;
using section_test::WriteText;

namespace {

// Opens the protected one-way point and cubic inverse to the tests.
class OpenSuperElevation : public tkxSuperElevation
{
public:
    using tkxSuperElevation::CalDXPzh;
    using tkxSuperElevation::CalK;
};

class SuperElevationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        section_test::MakeTwoBreaks(chain);
        cg.SetBreakChain(&chain);
    }

    // Reads a CG file of the given text; returns the reader's message.
    CString Read(const wchar_t* name, const wchar_t* text)
    {
        const CString path = folder / name;
        WriteText(path, text);
        return cg.ReadCGFile(path);
    }

    // Writes the object into a new file and returns the file's bytes.
    std::string Written(const wchar_t* name, CString* message = nullptr)
    {
        const CString path = folder / name;
        CStdioFile out;
        EXPECT_TRUE(out.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        const CString result = cg.WriteFile(out);
        out.Close();
        if (message) *message = result;
        EXPECT_TRUE(!message ? result.IsEmpty() : true) << Utf8(result);
        return ReadBytes(path);
    }

    section_test::StationSettings settings{3, 1};
    ScratchFolder folder{L"cg"};
    tkxBreakChain chain;
    OpenSuperElevation cg;
};

// ---------------------------------------------------------------------------
// The header.

struct HeaderCase {
    const wchar_t* header;
    int single;
    double dtLeft, dtRight;
    double shoulder;  // as held: a fraction, negative
    int transition;
    double axis;
    int axisStyle;
    int rotate;
    double inside, outside;
    int outsideRotates;
};

TEST_F(SuperElevationTest, HeaderDatumsAsHeld)
{
    const HeaderCase cases[] = {
        // Seven datums: the differences keep their defaults (0 and 10 %).
        {L"2 3.75 3.75 3 1 0 1", 0, 0.0, 0.0, -0.03, 1, 0.0, 0, 1, 0.0, 0.1, 0},
        // Datum 6 stands for both axis distances; a "+" sets the axis style.
        {L"1 3.75 4.0 -4 1 +1.5 2 1 +8", 1, 1.5, 1.5, -0.04, 1, 1.5, 1, 2, 0.01, 0.08, 1},
        {L"2 0 0 2 3 1.5 3 0.5 8", 0, 1.5, 1.5, -0.02, 0, 1.5, 0, 3, 0.005, 0.08, 0},
        // Transition 2 and 3 are both the cubic; the rotation mode is
        // truncated; single only for exactly 1.
        {L"1.9 0 0 2 2 0 3.7", 1, 0.0, 0.0, -0.02, 0, 0.0, 0, 3, 0.0, 0.1, 0},
        {L"3,0,0,2,1,0,0,-2,-6", 0, 0.0, 0.0, -0.02, 1, 0.0, 0, 0, 0.02, 0.06, 0},
        // Fields past the ninth are ignored.
        {L"2\t0 0 2 1 0 0 1 8 99 x", 0, 0.0, 0.0, -0.02, 1, 0.0, 0, 0, 0.01, 0.08, 0},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(Utf8(c.header));
        ASSERT_EQ(L"", Read(L"header.cg", c.header));
        EXPECT_EQ(c.single, cg.GetSingle());
        EXPECT_DOUBLE_EQ(c.dtLeft, cg.GetDTLeft());
        EXPECT_DOUBLE_EQ(c.dtRight, cg.GetDTRight());
        EXPECT_DOUBLE_EQ(c.shoulder, cg.GetTLJSlope());
        EXPECT_EQ(c.transition, cg.GetTransitionMode());
        EXPECT_DOUBLE_EQ(c.axis, cg.GetAxi());
        EXPECT_EQ(c.axisStyle, cg.GetAxiStyle());
        EXPECT_EQ(c.rotate, cg.GetRotateMode());
        EXPECT_DOUBLE_EQ(c.inside, cg.GetInsideMaxSlopeDiff());
        EXPECT_DOUBLE_EQ(c.outside, cg.GetOutsideMaxSlopeDiff());
        EXPECT_EQ(c.outsideRotates, cg.GetOutsideTLJRotate());
        EXPECT_EQ(0, cg.GetSize());
    }
}

TEST_F(SuperElevationTest, NewObjectHasTheReadersDefaults)
{
    const tkxSuperElevation fresh;
    EXPECT_DOUBLE_EQ(0.1, fresh.GetOutsideMaxSlopeDiff());
    EXPECT_DOUBLE_EQ(0.0, fresh.GetInsideMaxSlopeDiff());
    EXPECT_EQ(1, fresh.GetTransitionMode());
    EXPECT_EQ(0, fresh.GetSingle());
    EXPECT_EQ(nullptr, fresh.GetBreakChain());
}

// ---------------------------------------------------------------------------
// Rows and segment numbers.

TEST_F(SuperElevationTest, RowsConvertThroughTheBreakChain)
{
    ASSERT_EQ(L"", Read(L"rows.cg",
                        L"// superelevation\n"
                        L"2 0 0 3 1 0 1\n"
                        L"100 2 -2\n"
                        L"1190 -4 -4\n"      // held by segments 1 and 2: the first
                        L"1190 -5 -5 2\n"    // segment 2: + 20
                        L"\n"
                        L"2600,-6,-6,3\n"))  // segment 3: + 10
        << Utf8(cg.GetCGFileName());
    ASSERT_EQ(4, cg.GetSize());
    const double stations[] = {100.0, 1190.0, 1210.0, 2610.0};
    const double lefts[] = {2.0, -4.0, -5.0, -6.0};
    const double rights[] = {-2.0, -4.0, -5.0, -6.0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(stations[i], cg.GetZH(i));
        EXPECT_DOUBLE_EQ(lefts[i], cg.GetLeftSlope(i));
        EXPECT_DOUBLE_EQ(rights[i], cg.GetRightSlope(i));
    }
    EXPECT_EQ(4, cg.GetLeftSlopesCount());
    EXPECT_EQ(4, cg.GetRightSlopesCount());
    EXPECT_EQ(0, cg.GetRsCount());
    EXPECT_DOUBLE_EQ(-1.0, cg.GetZH(-1));
    EXPECT_DOUBLE_EQ(-1.0, cg.GetZH(4));
    EXPECT_DOUBLE_EQ(-1.0, cg.GetR(0));
}

TEST_F(SuperElevationTest, SingleLaneValueServesBothSides)
{
    ASSERT_EQ(L"", Read(L"single.cg", L"1 0 0 2 1 0 0\n100 3\n1300 -3 2\n"));
    ASSERT_EQ(2, cg.GetSize());
    EXPECT_DOUBLE_EQ(3.0, cg.GetLeftSlope(0));
    EXPECT_DOUBLE_EQ(3.0, cg.GetRightSlope(0));
    EXPECT_DOUBLE_EQ(1320.0, cg.GetZH(1));
    EXPECT_DOUBLE_EQ(-3.0, cg.GetLeftSlope(1));
}

struct MessageCase {
    const wchar_t* text;
    const wchar_t* message;
};

TEST_F(SuperElevationTest, DamagedFilesNameLineAndDatum)
{
    const MessageCase cases[] = {
        {L"", L"读第1行时出错"},
        {L"// only a comment\n", L"读第2行时出错"},
        {L"2 0 0 3 1 0\n", L"读第1行数据个数<6>少于7个"},
        {L"a 0 0 3 1 0 1\n", L"第1行数据, 第1个数据: \n\n单车道//多车道标志(a)错误!"},
        {L"\n2 0x 0 3 1 0 1\n", L"第2行数据, 第2个数据: \n\n超高旋转轴至左侧行车道外边缘线的距离(0x)错误!"},
        {L"2 0 1..5 3 1 0 1\n", L"第1行数据, 第3个数据: \n\n超高旋转轴至右侧行车道外边缘线的距离(1..5)错误!"},
        {L"2 0 0 3- 1 0 1\n", L"第1行数据, 第4个数据: \n\n土路肩横坡(3-)错误!"},
        {L"2 0 0 3 L 0 1\n", L"第1行数据, 第5个数据: \n\n超高过渡方式(L)错误!"},
        {L"2 0 0 3 1 +1.5m 1\n", L"第1行数据, 第6个数据: \n\n超高旋转轴线至设计线的距离(+1.5m)错误!"},
        {L"2 0 0 3 1 0 r\n", L"第1行数据, 第7个数据: \n\n超高旋转方式(r)错误!"},
        {L"2 0 0 3 1 0 4\n", L"第1行数据, 第7个数据: \n\n超高旋转方式(4)应为0~3的数字!"},
        {L"2 0 0 3 1 0 -1\n", L"第1行数据, 第7个数据: \n\n超高旋转方式(-1)应为0~3的数字!"},
        {L"2 0 0 3 1 0 1 %\n", L"第1行数据, 第8个数据: \n\n土路肩与行车道坡差1(%)错误!"},
        {L"2 0 0 3 1 0 1 0 +x\n", L"第1行数据, 第9个数据: \n\n土路肩与行车道坡差2(+x)错误!"},
        {L"1 0 0 3 1 0 1\n100\n", L"读第2行数据个数<1>不符<单车道时2~3个>"},
        {L"1 0 0 3 1 0 1\n100 2 2 2\n", L"读第2行数据个数<4>不符<单车道时2~3个>"},
        {L"2 0 0 3 1 0 1\n100 2\n", L"读第2行数据个数<2>不符<多车道时3~4个>"},
        {L"2 0 0 3 1 0 1\n// rows\n100 2 -2 1 5\n", L"读第3行数据个数<5>不符<多车道时3~4个>"},
        {L"2 0 0 3 1 0 1\nK0+100 2 -2\n", L"第2行数据, 第1个数据: \n\n桩号(K0+100)数据错误!"},
        {L"2 0 0 3 1 0 1\n100 2 -2 b\n", L"第2行数据, 第4个数据: \n\n断链号(b)数据错误!"},
        {L"1 0 0 3 1 0 1\n100 2 b\n", L"第2行数据, 第3个数据: \n\n断链号(b)数据错误!"},
        {L"2 0 0 3 1 0 1\n2505 2 -2 2\n",
         L"第2行数据内容:2505 2 -2 2.\n将断链桩号[2505 2]转换为整链桩号时出错!"},
        {L"2 0 0 3 1 0 1\n2505 2 -2\n", L"第2行数据内容:2505 2 -2.\n将断链桩号[2505]转换为整链桩号时出错!"},
        {L"1 0 0 3 1 0 1\n100 x\n", L"第2行数据, 第2个数据: \n\n单向横坡度(x)数据错误!"},
        {L"2 0 0 3 1 0 1\n100 x -2\n", L"第2行数据, 第2个数据: \n\n左侧横坡度(x)数据错误!"},
        {L"2 0 0 3 1 0 1\n100 2 -x\n", L"第2行数据, 第3个数据: \n\n右侧横坡度(-x)数据错误!"},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        EXPECT_EQ(CString(c.message), Read(L"damaged.cg", c.text));
    }
}

TEST_F(SuperElevationTest, AFailedReadLeavesTheHeaderAndTheRows)
{
    ASSERT_EQ(L"", Read(L"good.cg", L"2 1.5 1.5 3 3 +1.5 2 1 +8\n0 2 -2\n60 -4 -4\n"));
    const std::string before = Written(L"before.cg");
    const wchar_t* const damaged[] = {
        L"1 0 0 4 1 0 2\n100 2\n200 -4\n300 oops\n",     // a bad row after whole rows
        L"1 0.5 0.5 4 1 0.5 4\n100 2\n",                  // a rotation mode of 4
        L"1 0.5 0.5 4 1 -0.5 1 x\n100 2\n",                // a bad datum late in the header
        L"1 0 0 4 1 0 0\n100 2\n2505 3\n",                // a station on no segment
    };
    for (const wchar_t* text : damaged) {
        SCOPED_TRACE(Utf8(text));
        EXPECT_NE(L"", Read(L"bad.cg", text));
        EXPECT_EQ(before, Written(L"after.cg"));
        EXPECT_EQ(2, cg.GetSize());
        EXPECT_EQ(0, cg.GetSingle());
        EXPECT_EQ(1, cg.GetAxiStyle());
        EXPECT_EQ(1, cg.GetOutsideTLJRotate());
    }
}

TEST_F(SuperElevationTest, ReadsThatCannotStartChangeNothing)
{
    ASSERT_EQ(L"", Read(L"good.cg", L"2 0 0 3 1 +0.5 1 1 +8\n0 2 -2\n60 -4 -4\n"));
    const CString good = cg.GetCGFileName();

    EXPECT_EQ(L"打开文件时失败!", cg.ReadCGFile(folder / L"missing.cg"));
    EXPECT_EQ(2, cg.GetSize());
    EXPECT_EQ(1, cg.GetOutsideTLJRotate());

    EXPECT_EQ(L"未设置超高文件名.", cg.ReadCGFile(L"   "));
    EXPECT_EQ(2, cg.GetSize());

    // Without a break chain no station can be placed: nothing is read.
    cg.SetBreakChain(nullptr);
    EXPECT_EQ(L"未定义道路断链对象错误!", cg.ReadCGFile(good));
    EXPECT_EQ(2, cg.GetSize());
    EXPECT_EQ(1, cg.GetAxiStyle());
    EXPECT_DOUBLE_EQ(0.01, cg.GetInsideMaxSlopeDiff());
}

// ---------------------------------------------------------------------------
// Writing.

TEST_F(SuperElevationTest, WrittenFilesReadBackByteForByte)
{
    // Every header datum as the writer puts it, both axis styles, the
    // rotating outside shoulder on and off, rows in three segments (segment
    // 1 without its number).
    const wchar_t* const files[] = {
        L"2 1.500 1.500 -3.000 3 +1.500 2 1.000 +8.000\n"
        L"100.000000 2.000000 -2.000000\n"
        L"1190.000000 -4.000000 -4.000000\n"
        L"1190.000000 -4.500000 -4.500000 2\n"
        L"2600.000000 -6.250000 -6.250000 3\n"
        L"2700.000000 2.000000 -2.000000 3\n",
        L"1 0.000 0.000 -2.500 1 0.000 0 0.000 10.000\n"
        L"100.000000 2.000000\n"
        L"1300.000000 -3.125000 2\n",
        L"2 -0.750 -0.750 0.000 1 -0.750 3 0.500 6.000\n"
        L"0.000000 1.500000 -1.500000\n",
    };
    int k = 0;
    for (const wchar_t* text : files) {
        SCOPED_TRACE(Utf8(text));
        const CString name = ClFormat(L"round%d.cg", ++k);
        ASSERT_EQ(L"", Read(name, text));
        EXPECT_EQ(FileText(text), Written(L"written.cg"));
        // And once more from the written file.
        ASSERT_EQ(L"", cg.ReadCGFile(folder / L"written.cg"));
        EXPECT_EQ(FileText(text), Written(L"again.cg"));
    }
}

TEST_F(SuperElevationTest, FractionsAreWrittenInPercent)
{
    cg.SetTLJSlope(0.03);  // a positive fraction is still a fall outward
    cg.SetInsideMaxSlopeDiff(0.015);
    cg.SetOutsideMaxSlopeDiff(0.07);
    cg.SetAxi(2.0);
    cg.SetAxiStyle(1);
    cg.SetDTLeft(2.0);
    cg.SetDTRight(2.0);
    cg.SetTransitionMode(0);
    cg.SetRotateMode(1);
    cg.Add(50.0, 2.0, -2.0, 1e10);
    EXPECT_EQ(FileText(L"2 2.000 2.000 -3.000 3 +2.000 1 1.500 7.000\n50.000000 2.000000 -2.000000\n"),
              Written(L"fractions.cg"));
    ASSERT_EQ(L"", cg.ReadCGFile(folder / L"fractions.cg"));
    EXPECT_DOUBLE_EQ(-0.03, cg.GetTLJSlope());
    EXPECT_DOUBLE_EQ(0.015, cg.GetInsideMaxSlopeDiff());
    EXPECT_DOUBLE_EQ(0.07, cg.GetOutsideMaxSlopeDiff());
    EXPECT_EQ(1, cg.GetAxiStyle());
}

TEST_F(SuperElevationTest, WriterRefusesWithoutWriting)
{
    CString message;
    EXPECT_EQ("", Written(L"empty.cg", &message));
    EXPECT_EQ(L"超高数据为空!", message);

    cg.AddZH(0.0);
    cg.AddRightSlope(-2.0);
    EXPECT_EQ("", Written(L"short.cg", &message));
    EXPECT_EQ(L"超高数据个数不匹配!", message);
    cg.SetSingle(1);  // a single lane writes the right list only
    EXPECT_EQ(FileText(L"1 0.000 0.000 0.000 1 0.000 0 0.000 10.000\n0.000000 -2.000000\n"), Written(L"one.cg"));

    cg.AddZH(10.0);
    EXPECT_EQ("", Written(L"stations.cg", &message));
    EXPECT_EQ(L"超高数据个数不匹配!", message);

    cg.SetBreakChain(nullptr);
    EXPECT_EQ("", Written(L"nochain.cg", &message));
    EXPECT_EQ(L"未定义道路断链对象错误!", message);
}

TEST_F(SuperElevationTest, ValuesThatAreNoNumberAreNeverWritten)
{
    const double nan = std::nan("");
    const struct {
        const char* what;
        std::function<void(tkxSuperElevation&)> damage;
        const wchar_t* message;
    } cases[] = {
        {"a cross fall", [&](tkxSuperElevation& s) { s.Add(200.0, nan, -2.0, 0.0); }, L"第3行超高数据<1.#QNAN>不是有效的数!"},
        {"a right cross fall", [&](tkxSuperElevation& s) { s.Add(200.0, 2.0, HUGE_VAL, 0.0); }, L"第3行超高数据<1.#INF>不是有效的数!"},
        {"a station", [&](tkxSuperElevation& s) { s.Add(-HUGE_VAL, 2.0, -2.0, 0.0); }, L"第3行超高数据<-1.#INF>不是有效的数!"},
        {"the axis", [&](tkxSuperElevation& s) { s.SetAxi(nan); }, L"超高文件头的数据<1.#QNAN>不是有效的数!"},
        {"the shoulder", [&](tkxSuperElevation& s) { s.SetTLJSlope(HUGE_VAL); }, L"超高文件头的数据<1.#INF>不是有效的数!"},
        {"a difference", [&](tkxSuperElevation& s) { s.SetOutsideMaxSlopeDiff(nan); }, L"超高文件头的数据<1.#QNAN>不是有效的数!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(L"", Read(L"source.cg", L"2 0 0 3 1 0 1\n0 2 -2\n60 -4 -4\n"));
        c.damage(cg);
        CString message;
        EXPECT_EQ("", Written(L"refused.cg", &message));
        EXPECT_EQ(CString(c.message), message);
    }
}

TEST_F(SuperElevationTest, FailedWriteIsReported)
{
    cg.Add(50.0, 2.0, -2.0, 0.0);
    const CString path = folder / L"full.cg";
    CStdioFile out;
    ASSERT_TRUE(out.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText));
    CString message;
    {
        section_test::FailingWrites full(folder.Path());
        message = cg.WriteFile(out);
        EXPECT_GT(full.Refused(), 0);
    }
    out.Abort();
    EXPECT_EQ(0, message.Find(ClFormat(L"写超高文件%s时出错!\n", path.GetString()))) << Utf8(message);
}

TEST_F(SuperElevationTest, AssignmentCopiesEverything)
{
    ASSERT_EQ(L"", Read(L"copy.cg", L"2 0 0 3 3 +1.5 2 1 +8\n0 2 -2\n60 -4 -4\n"));
    cg.Add(90.0, -4.0, -4.0, 250.0);
    cg.SetLaneSlope(1.5);
    tkxSuperElevation copy;
    copy.Add(1.0, 1.0, 1.0, 1.0);
    copy = cg;
    EXPECT_EQ(&chain, copy.GetBreakChain());
    EXPECT_EQ(cg.GetCGFileName(), copy.GetCGFileName());
    EXPECT_EQ(3, copy.GetSize());
    EXPECT_EQ(1, copy.GetRsCount());
    EXPECT_DOUBLE_EQ(250.0, copy.GetR(0));
    EXPECT_DOUBLE_EQ(1.5, copy.GetLaneSlope());
    EXPECT_EQ(1, copy.GetOutsideTLJRotate());
    EXPECT_EQ(1, copy.GetAxiStyle());
    EXPECT_EQ(0, copy.GetTransitionMode());
    copy.RemoveAll();
    EXPECT_EQ(0, copy.GetSize());
    EXPECT_EQ(2, copy.GetRotateMode());
}

// ---------------------------------------------------------------------------
// Cross falls.

TEST_F(SuperElevationTest, CrossFallAtRowsAndOutside)
{
    cg.Add(100.0, 2.0, -2.0, 0.0);
    cg.Add(200.0, 3.0, -3.0, 0.0);
    cg.Add(200.0, 5.0, -5.0, 0.0);  // a sudden change
    cg.Add(300.0, 7.0, -7.0, 0.0);
    struct Case {
        double station;
        double left;
    };
    const Case cases[] = {
        {50.0, 2.0},    {100.0, 2.0},  {100.0000005, 2.0}, {200.0, 3.0},
        // After the pair of rows at 200 the later one counts.
        {250.0, 6.0},   {300.0, 7.0},  {1000.0, 7.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.station);
        int code = 0;
        int side = 0;
        EXPECT_NEAR(c.left, cg.GetCG(c.station, true, code, side), 1e-9);
        EXPECT_NEAR(-c.left, cg.GetCG(c.station, false, code, side), 1e-9);
    }
}

TEST_F(SuperElevationTest, TransitionShapes)
{
    // 2 % to 6 % on the left: the change is 4 %.
    cg.Add(0.0, 2.0, -2.0, 0.0);
    cg.Add(100.0, 6.0, -2.0, 0.0);
    int code = 9;
    int side = 9;
    cg.SetTransitionMode(1);
    EXPECT_NEAR(4.0, cg.GetCG(50.0, true, code, side), 1e-9);
    EXPECT_NEAR(2.0 + 0.25 * 4.0, cg.GetCG(25.0, true, code, side), 1e-9);
    // Neither side turns over here: no superelevation between the rows.
    EXPECT_EQ(1, code);
    EXPECT_EQ(0, side);
    cg.SetTransitionMode(0);
    EXPECT_NEAR(4.0, cg.GetCG(50.0, true, code, side), 1e-9);
    // 3 * 0.25^2 - 2 * 0.25^3 = 0.15625
    EXPECT_NEAR(2.0 + 0.15625 * 4.0, cg.GetCG(25.0, true, code, side), 1e-9);
}

TEST_F(SuperElevationTest, NoRowsGiveFlatCrossFall)
{
    int code = 5;
    int side = 5;
    EXPECT_DOUBLE_EQ(0.0, cg.GetCG(10.0, true, code, side));
    // Station, left and right lists of unequal length: only whole rows count.
    cg.AddZH(0.0);
    cg.AddZH(50.0);
    cg.AddLeftSlope(2.0);
    EXPECT_DOUBLE_EQ(0.0, cg.GetCG(10.0, true, code, side));
    cg.AddRightSlope(-2.0);
    EXPECT_DOUBLE_EQ(2.0, cg.GetCG(10.0, true, code, side));
    EXPECT_EQ(5, code);
    EXPECT_EQ(5, side);
}

TEST_F(SuperElevationTest, OneWayPointOfATransition)
{
    // The left side turns from +2 over to -4 while the right stays at its
    // crown -2 until the left reaches -2: 2 - 6 * l = -2 gives l = 2/3, so
    // the one-way point lies at 0 + 60 * 2/3 = 40.
    cg.Add(0.0, 2.0, -2.0, 0.0);
    cg.Add(60.0, -4.0, -4.0, 0.0);
    double station = 0.0;
    double slope = 0.0;
    int side = 0;
    bool twoWayFirst = false;
    EXPECT_EQ(0, cg.CalDXPzh(1, station, slope, side, twoWayFirst));
    EXPECT_NEAR(40.0, station, 1e-9);
    EXPECT_DOUBLE_EQ(-2.0, slope);
    EXPECT_EQ(1, side);
    EXPECT_TRUE(twoWayFirst);
    // Index outside the rows: nothing is set.
    station = 123.0;
    EXPECT_EQ(0, cg.CalDXPzh(2, station, slope, side, twoWayFirst));
    EXPECT_EQ(0, cg.CalDXPzh(0, station, slope, side, twoWayFirst));
    EXPECT_DOUBLE_EQ(123.0, station);

    int code = 9;
    side = 9;
    cg.SetRotateMode(1);
    EXPECT_NEAR(-2.0, cg.GetCG(20.0, false, code, side), 1e-9);
    EXPECT_EQ(0, code);
    EXPECT_EQ(1, side);
    // Past the point the inside turns with the outside: halfway from 40 to
    // 60 it is halfway from -2 to -4.
    EXPECT_NEAR(-3.0, cg.GetCG(50.0, false, code, side), 1e-9);
    // The outside side is not held back.
    EXPECT_NEAR(2.0 - 6.0 / 3.0, cg.GetCG(20.0, true, code, side), 1e-9);
    // Rotation mode 0 turns the inside evenly: -2 - 2 / 3.
    cg.SetRotateMode(0);
    EXPECT_NEAR(-2.0 - 2.0 / 3.0, cg.GetCG(20.0, false, code, side), 1e-9);
    // A single-lane carriageway has no inside edge to hold back.
    cg.SetRotateMode(1);
    cg.SetSingle(1);
    EXPECT_NEAR(-2.0 - 2.0 / 3.0, cg.GetCG(20.0, false, code, side), 1e-9);
}

TEST_F(SuperElevationTest, RunOutBackToTheCrown)
{
    // Full superelevation -6/-6 running out to the crown +2/-2 over 300 to
    // 380: the left reaches -2 halfway (-6 + 8 * 0.5), so the one-way point
    // is at 340 and the right keeps -2 from there on.
    cg.Add(300.0, -6.0, -6.0, 0.0);
    cg.Add(380.0, 2.0, -2.0, 0.0);
    cg.SetRotateMode(1);
    double station = 0.0;
    double slope = 0.0;
    int side = 0;
    bool twoWayFirst = true;
    EXPECT_EQ(0, cg.CalDXPzh(1, station, slope, side, twoWayFirst));
    EXPECT_NEAR(340.0, station, 1e-9);
    EXPECT_DOUBLE_EQ(-2.0, slope);
    EXPECT_FALSE(twoWayFirst);
    struct Case {
        double station, left, right;
    };
    const Case cases[] = {
        {320.0, -6.0 + 8.0 * 0.25, -6.0 + 4.0 * 0.5},
        {340.0, -2.0, -2.0},
        {360.0, -6.0 + 8.0 * 0.75, -2.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.station);
        int code = 0;
        side = 0;
        EXPECT_NEAR(c.left, cg.GetCG(c.station, true, code, side), 1e-9);
        EXPECT_NEAR(c.right, cg.GetCG(c.station, false, code, side), 1e-9);
    }
}

TEST_F(SuperElevationTest, CubicTransitionPlacesTheOneWayPoint)
{
    // From +2/-2 to -8/-8: the left must cover 4 of its 10 to reach -2, so
    // the cubic shape must reach 0.4 at the one-way point.
    cg.Add(0.0, 2.0, -2.0, 0.0);
    cg.Add(100.0, -8.0, -8.0, 0.0);
    cg.SetTransitionMode(0);
    double station = 0.0;
    double slope = 0.0;
    int side = 0;
    bool twoWayFirst = false;
    ASSERT_EQ(0, cg.CalDXPzh(1, station, slope, side, twoWayFirst));
    const double t = station / 100.0;
    EXPECT_NEAR(0.4, 3 * t * t - 2 * t * t * t, 1e-9);
    EXPECT_GT(t, 0.4);  // the cubic starts slowly
    int code = 0;
    EXPECT_NEAR(-2.0, cg.GetCG(station, true, code, side), 1e-7);

    EXPECT_DOUBLE_EQ(0.5, cg.CalK(0.5));
    EXPECT_DOUBLE_EQ(1.2, cg.CalK(1.2));
    EXPECT_DOUBLE_EQ(-3.0, cg.CalK(-3.0));
    for (double x : {0.0001, 0.1, 0.25, 0.75, 0.9999}) {
        SCOPED_TRACE(x);
        const double k = cg.CalK(x);
        EXPECT_GE(k, 0.0);
        EXPECT_LE(k, 1.0);
        EXPECT_NEAR(x, 3 * k * k - 2 * k * k * k, 1e-9);
    }
}

TEST_F(SuperElevationTest, ShoulderCrossFall)
{
    // Normal crown 2 %, full superelevation -6 % (the right side is the
    // inside), shoulder 3 %.  Outside difference 8 %: at full
    // superelevation the left shoulder would differ by 3 - (-6) = 9.
    ASSERT_EQ(L"", Read(L"shoulder.cg", L"2 0 0 3 1 0 1 0 8\n100 2 -2\n180 -6 -6\n300 -6 -6\n380 2 -2\n"));
    struct Case {
        double station;
        bool left;
        double expected;
    };
    const Case plain[] = {
        {50.0, true, 3.0},   {50.0, false, -3.0},  // before the rows: the shoulder's own fall
        {120.0, true, 3.0},                        // left at 0: differs by 3, within 8
        {120.0, false, -3.0},                      // inside -2 is flatter than -3
        {160.0, false, -4.0},                      // inside -4 is steeper: the shoulder follows
        {240.0, true, -6.0},                       // outside differs by 9: follows the carriageway
        {240.0, false, -6.0},
    };
    for (const Case& c : plain) {
        SCOPED_TRACE(c.station);
        EXPECT_NEAR(c.expected, cg.GetTLJCG(c.station, c.left), 1e-9);
    }
    // The outside shoulder that breaks over keeps the difference at 8: 8 - 6.
    ASSERT_EQ(L"", Read(L"rotates.cg", L"2 0 0 3 1 0 1 0 +8\n100 2 -2\n180 -6 -6\n300 -6 -6\n380 2 -2\n"));
    EXPECT_NEAR(2.0, cg.GetTLJCG(240.0, true), 1e-9);
    EXPECT_NEAR(-6.0, cg.GetTLJCG(240.0, false), 1e-9);
    // An inside difference of 2 % lets the inside shoulder keep its own
    // fall until the carriageway is steeper by more than that.
    ASSERT_EQ(L"", Read(L"inside.cg", L"2 0 0 3 1 0 1 2 8\n100 2 -2\n180 -6 -6\n300 -6 -6\n380 2 -2\n"));
    EXPECT_NEAR(-3.0, cg.GetTLJCG(160.0, false), 1e-9);
    EXPECT_NEAR(-6.0, cg.GetTLJCG(240.0, false), 1e-9);

    // Before a first row that is already superelevated the side is
    // unknown: the shoulder keeps its own fall.
    cg.RemoveAll();
    cg.Add(100.0, -6.0, -6.0, 0.0);
    cg.Add(200.0, -6.0, -6.0, 0.0);
    EXPECT_NEAR(3.0, cg.GetTLJCG(50.0, true), 1e-9);
    EXPECT_NEAR(-3.0, cg.GetTLJCG(50.0, false), 1e-9);
}

TEST_F(SuperElevationTest, LeftTurningRoadMirrorsTheSides)
{
    // The right side turns over (+6/+6): the left is the inside.
    ASSERT_EQ(L"", Read(L"mirror.cg", L"2 0 0 3 1 0 1 0 +8\n100 2 -2\n180 6 6\n300 6 6\n"));
    double station = 0.0;
    double slope = 0.0;
    int side = 0;
    bool twoWayFirst = false;
    ASSERT_EQ(0, cg.CalDXPzh(1, station, slope, side, twoWayFirst));
    EXPECT_EQ(-1, side);
    EXPECT_NEAR(140.0, station, 1e-9);  // -2 + 8 * 0.5 = 2
    EXPECT_DOUBLE_EQ(2.0, slope);
    int code = 0;
    EXPECT_NEAR(2.0, cg.GetCG(120.0, true, code, side), 1e-9);        // the inside keeps its crown
    EXPECT_NEAR(-2.0 + 8.0 * 0.25, cg.GetCG(120.0, false, code, side), 1e-9);
    EXPECT_NEAR(6.0, cg.GetTLJCG(180.0, true), 1e-9);                  // inside steeper: follows
    EXPECT_NEAR(6.0 - 8.0, cg.GetTLJCG(180.0, false), 1e-9);           // outside breaks over
}

} // namespace
