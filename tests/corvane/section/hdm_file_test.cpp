// Standard cross-section file: reading both road styles, the header's
// widening mode, a+b thicknesses, segment numbers, the messages of damaged
// files, the byte-exact round trip and the writer's refusals.
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/section/RoadHDM.h"
#include "section_test_support.h"
#include "support/FailingWrites.h"

#include <cmath>
#include <utility>

using section_test::FileText;
using section_test::ReadBytes;
using section_test::ScratchFolder;
using section_test::Utf8;
using section_test::WriteText;

namespace {

class HdmFileTest : public ::testing::Test
{
protected:
    void SetUp() override { section_test::MakeTwoBreaks(chain); }

    CString Read(const wchar_t* name, const wchar_t* text)
    {
        const CString path = folder / name;
        WriteText(path, text);
        return hdm.ReadHDMFile(&chain, path);
    }

    section_test::StationSettings settings{3, 1};
    ScratchFolder folder{L"hdm"};
    tkxBreakChain chain;
    tkxRoadHDM hdm;
};

// Highway: every depth datum, pairs and single thicknesses, rows in all
// three segments (segment 1 without its number).
const wchar_t kHighway[] =
    L"2 3\n"
    L"100.000 0.200 0.720+0.680 0.500 \n"
    L"1190.000 0.250 0.700 0.500+0.450 2\n"
    L"100.000 0.750 2.500 7.500 1.000 1.500 7.250 3.000 0.500 \n"
    L"1190.000 0.750 3.000 7.500 1.000 1.000 7.500 3.000 0.750 2\n"
    L"2600.000 0.800 3.000 7.000 1.000 1.000 7.000 3.000 0.750 3\n";

const wchar_t kCity[] =
    L"city\n"
    L"2 4\n"
    L"100.000 0.150 0.200 0.180 0.600+0.550 0.400 0.080 1.500 2.000 2.500 -2.500 -2.000 -1.500 \n"
    L"1190.000 0.150 0.250 0.180 0.600 0.400+0.350 0.100 1.000 1.000 1.000 -1.000 -1.000 -1.000 2\n"
    L"100.000 3.000 3.500 2.000 7.500 1.000 1.000 7.500 2.000 3.500 3.000 \n"
    L"2600.000 4.000 3.500 1.500 7.500 1.250 1.250 7.500 1.500 3.500 4.000 3\n";

TEST_F(HdmFileTest, HighwayFileReadsIntoItsArrays)
{
    ASSERT_EQ(L"", Read(L"highway.hdm", kHighway));
    EXPECT_EQ(0, hdm.GetRoadStyle());
    EXPECT_EQ(3, hdm.GetMode());
    EXPECT_EQ(&chain, hdm.GetBreakChain());
    EXPECT_EQ(folder / L"highway.hdm", hdm.GetHDMFileName());
    ASSERT_EQ(2, hdm.m_DepthZH.GetSize());
    EXPECT_DOUBLE_EQ(100.0, hdm.m_DepthZH[0]);
    EXPECT_DOUBLE_EQ(1210.0, hdm.m_DepthZH[1]);  // 1190 on segment 2
    EXPECT_DOUBLE_EQ(0.72, hdm.m_LMLeft[0]);
    EXPECT_DOUBLE_EQ(0.68, hdm.m_LMRight[0]);
    EXPECT_DOUBLE_EQ(0.5, hdm.m_YLJLeft[0]);
    EXPECT_DOUBLE_EQ(0.5, hdm.m_YLJRight[0]);
    EXPECT_DOUBLE_EQ(0.7, hdm.m_LMRight[1]);
    EXPECT_DOUBLE_EQ(0.45, hdm.m_YLJRight[1]);
    EXPECT_DOUBLE_EQ(0.25, hdm.m_H0[1]);
    ASSERT_EQ(3, hdm.m_WidthZH.GetSize());
    EXPECT_DOUBLE_EQ(2610.0, hdm.m_WidthZH[2]);
    // Sa Ha Ca Cen1 Cen2 Cb Hb Sb across the road.
    EXPECT_DOUBLE_EQ(0.75, hdm.m_Sa[0]);
    EXPECT_DOUBLE_EQ(2.5, hdm.m_Ha[0]);
    EXPECT_DOUBLE_EQ(7.5, hdm.m_Ca[0]);
    EXPECT_DOUBLE_EQ(1.0, hdm.m_Cen1[0]);
    EXPECT_DOUBLE_EQ(1.5, hdm.m_Cen2[0]);
    EXPECT_DOUBLE_EQ(7.25, hdm.m_Cb[0]);
    EXPECT_DOUBLE_EQ(3.0, hdm.m_Hb[0]);
    EXPECT_DOUBLE_EQ(0.5, hdm.m_Sb[0]);
    // The city-only arrays stay empty on a highway.
    EXPECT_EQ(0, hdm.m_Fa.GetSize());
    EXPECT_EQ(0, hdm.m_I3.GetSize());
    EXPECT_EQ(0, hdm.m_RXDThickness.GetSize());
}

TEST_F(HdmFileTest, CityFileReadsIntoItsArrays)
{
    ASSERT_EQ(L"", Read(L"city.hdm", kCity));
    EXPECT_EQ(1, hdm.GetRoadStyle());
    EXPECT_EQ(4, hdm.GetMode());
    ASSERT_EQ(2, hdm.m_DepthZH.GetSize());
    EXPECT_DOUBLE_EQ(0.15, hdm.m_H0[0]);
    EXPECT_DOUBLE_EQ(0.2, hdm.m_CFDHeight[0]);
    EXPECT_DOUBLE_EQ(0.18, hdm.m_RXDHeight[0]);
    EXPECT_DOUBLE_EQ(0.6, hdm.m_LMLeft[0]);
    EXPECT_DOUBLE_EQ(0.55, hdm.m_LMRight[0]);
    EXPECT_DOUBLE_EQ(0.4, hdm.m_YLJLeft[0]);
    EXPECT_DOUBLE_EQ(0.4, hdm.m_YLJRight[0]);
    EXPECT_DOUBLE_EQ(0.08, hdm.m_RXDThickness[0]);
    EXPECT_DOUBLE_EQ(1.5, hdm.m_I0[0]);
    EXPECT_DOUBLE_EQ(2.0, hdm.m_I1[0]);
    EXPECT_DOUBLE_EQ(2.5, hdm.m_I2[0]);
    EXPECT_DOUBLE_EQ(-2.5, hdm.m_I3[0]);
    EXPECT_DOUBLE_EQ(-2.0, hdm.m_I4[0]);
    EXPECT_DOUBLE_EQ(-1.5, hdm.m_I5[0]);
    EXPECT_DOUBLE_EQ(0.35, hdm.m_YLJRight[1]);
    ASSERT_EQ(2, hdm.m_WidthZH.GetSize());
    // Sa Ha Fa Ca Cen1 Cen2 Cb Fb Hb Sb across the road.
    EXPECT_DOUBLE_EQ(4.0, hdm.m_Sa[1]);
    EXPECT_DOUBLE_EQ(3.5, hdm.m_Ha[1]);
    EXPECT_DOUBLE_EQ(1.5, hdm.m_Fa[1]);
    EXPECT_DOUBLE_EQ(7.5, hdm.m_Ca[1]);
    EXPECT_DOUBLE_EQ(1.25, hdm.m_Cen1[1]);
    EXPECT_DOUBLE_EQ(1.25, hdm.m_Cen2[1]);
    EXPECT_DOUBLE_EQ(1.5, hdm.m_Fb[1]);
    EXPECT_DOUBLE_EQ(4.0, hdm.m_Sb[1]);
}

struct HeaderCase {
    const wchar_t* text;
    short mode;
    int depthRows;
    int widthRows;
};

TEST_F(HdmFileTest, StyleLineAndHeader)
{
    const wchar_t* width = L"0 0.75 3 7.5 1 1 7.5 3 0.75\n";
    const HeaderCase cases[] = {
        {L"0\n", 1, 0, 1},
        {L"0 4\n", 4, 0, 1},
        {L"0 3\n", 3, 0, 1},
        {L"0 4 9\n", 1, 0, 1},     // more than two fields: the mode is not read
        {L"-2\n", 1, 0, 1},        // no depth rows: the row is a width row
        {L"1.9 4\n10 0.2 0.7 0.5\n", 4, 1, 1},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        hdm.SetMode(1);
        ASSERT_EQ(L"", Read(L"header.hdm", CString(c.text) + width));
        EXPECT_EQ(c.mode, hdm.GetMode());
        EXPECT_EQ(c.depthRows, hdm.m_DepthZH.GetSize());
        EXPECT_EQ(c.widthRows, hdm.m_WidthZH.GetSize());
    }
    // The style word in any case; a header and depth rows without width rows
    // are a whole file.
    ASSERT_EQ(L"", Read(L"upper.hdm", L"// a city road\nCITY\n1\n10 0.2 0.2 0.15 0.7 0.5 0.08 1 1 1 1 1 1\n"));
    EXPECT_EQ(1, hdm.GetRoadStyle());
    EXPECT_EQ(1, hdm.m_DepthZH.GetSize());
    EXPECT_EQ(0, hdm.m_WidthZH.GetSize());
    // Rows in the middle of a file may carry "+" in front of a value.
    ASSERT_EQ(L"", Read(L"plus.hdm", L"1\n10 +0.2 0.7 0.5\n"));
    EXPECT_DOUBLE_EQ(0.2, hdm.m_H0[0]);
}

TEST_F(HdmFileTest, DamagedFilesAreRefusedWithTheirLine)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* message;  // "%s" is the path
    };
    const Case cases[] = {
        {L"", L"读%s文件, 第一个数据错误!"},
        {L"// nothing\n\n", L"读%s文件, 第一个数据错误!"},
        {L"city\n", L"读%s文件, 第2行数据错误!"},
        {L"city road\n0\n", L"读取文件%s的第1行第一个数据时错误!"},
        {L"x 1\n", L"读取文件%s的第1行第一个数据时错误!"},
        {L"0 x\n", L"读取文件%s的第1行第二个数据时错误!"},
        {L"0 2\n", L"读取文件%s的第1行第二个数据时错误!\n\n变宽方式:1或不填:线性变宽, 3:三次抛物线变宽, 4:四次抛物线变宽。"},
        // More than two fields: the mode is not read, but they are numbers.
        {L"0 中文 9\n", L"读取文件%s的第1行第二个数据时错误!"},
        {L"city\n0 4 中文\n", L"读取文件%s的第2行第3个数据时错误!"},
        {L"2\n100 0.2 0.7 0.5\n", L"读%s文件, 第3行数据错误!"},
        {L"1\n100 0.2 0.7\n", L"读%s文件, 第2行数据错误!\n\n数据个数[3]应为4, 带断链号时5个."},
        {L"city\n1\n100 0.2 0.7 0.5\n", L"读%s文件, 第3行数据错误!\n\n数据个数[4]应为13, 带断链号时14个."},
        {L"1\n100 0.2 0.7+ 0.5\n", L"读文件%s, \n\n第2行,第3个数据时出错!"},
        {L"1\n100 0.2 0.7+0.6 a+0.5\n", L"读文件%s, \n\n第2行,第4个数据时出错!"},
        {L"1\n100 0.2 0.7 0.5 z\n", L"读文件%s, \n\n第2行,第5个数据时出错!"},
        {L"1\n2505 0.2 0.7 0.5 2\n", L"读取文件%s的第2行，\n\n[2505 2]转换整链桩号时错误!"},
        {L"1\n2505 0.2 0.7 0.5\n", L"读取文件%s的第2行，\n\n[2505]转换整链桩号时错误!"},
        // A segment number of 0 is a segment number all the same.
        {L"1\n2505 0.2 0.7 0.5 0\n", L"读取文件%s的第2行，\n\n[2505 0]转换整链桩号时错误!"},
        {L"0\n0 0.75 3 7.5 1 1 7.5 3\n", L"读%s文件, 第2行数据错误!\n\n数据个数[8]应为9, 带断链号时10个."},
        {L"city\n0\n0 0.75 3 7.5 1 1 7.5 3 0.75\n", L"读%s文件, 第3行数据错误!\n\n数据个数[9]应为11, 带断链号时12个."},
        {L"0\n0 0.75 3 7.5 1 1 7.5 3 0.75\n// c\n10 0.75 3 7.5 1 1 7.5 3 O.75\n",
         L"读文件%s, \n\n第4行、第9个数据时出错!"},
        {L"0\n2505 0.75 3 7.5 1 1 7.5 3 0.75 2\n", L"读文件%s, 第2行数据\n\n[2505 2]转换整链桩号时出错!"},
        {L"0\n2505 0.75 3 7.5 1 1 7.5 3 0.75\n", L"读文件%s, 第2行数据\n\n[2505]转换整链桩号时出错!"},
        {L"0\n2505 0.75 3 7.5 1 1 7.5 3 0.75 0\n", L"读文件%s, 第2行数据\n\n[2505 0]转换整链桩号时出错!"},
        {L"0\n100 0.75 3 7.5 1 1 7.5 3 -0.5\n",
         L"横断面文件%s中，数据格式错误!\n\n错误提示: 第1个右侧土路肩宽度Sb数据<-0.500>小于零! 桩号位置:100.000."},
    };
    const CString path = folder / L"damaged.hdm";
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        EXPECT_EQ(ClFormat(c.message, path.GetString()), Read(L"damaged.hdm", c.text));
    }
    EXPECT_EQ(ClFormat(L"打开横断面宽度*.HDM文件<%s>时出错！", (folder / L"none.hdm").GetString()),
              hdm.ReadHDMFile(&chain, folder / L"none.hdm"));
}

// Every array, the style, the mode and the file name alike.
void ExpectSameData(const tkxRoadHDM& expected, const tkxRoadHDM& actual)
{
    EXPECT_EQ(expected.GetRoadStyle(), actual.GetRoadStyle());
    EXPECT_EQ(expected.GetMode(), actual.GetMode());
    EXPECT_EQ(expected.GetHDMFileName(), actual.GetHDMFileName());
    EXPECT_EQ(expected.GetBreakChain(), actual.GetBreakChain());
    using Array = CArray<double, double> tkxRoadHDM::*;
    const Array arrays[] = {&tkxRoadHDM::m_WidthZH, &tkxRoadHDM::m_DepthZH, &tkxRoadHDM::m_H0, &tkxRoadHDM::m_LMLeft,
                            &tkxRoadHDM::m_LMRight, &tkxRoadHDM::m_YLJLeft, &tkxRoadHDM::m_YLJRight,
                            &tkxRoadHDM::m_CFDHeight, &tkxRoadHDM::m_I5, &tkxRoadHDM::m_Sa, &tkxRoadHDM::m_Ca,
                            &tkxRoadHDM::m_Cen1, &tkxRoadHDM::m_Cb, &tkxRoadHDM::m_Sb, &tkxRoadHDM::m_Fa};
    for (Array a : arrays) {
        const CArray<double, double>& x = expected.*a;
        const CArray<double, double>& y = actual.*a;
        ASSERT_EQ(x.GetSize(), y.GetSize());
        for (INT_PTR i = 0; i < x.GetSize(); ++i) EXPECT_EQ(x[i], y[i]);
    }
}

TEST_F(HdmFileTest, AFailedReadLeavesTheLoadedData)
{
    // Files that fail after rows were read, after the header changed the
    // style or the mode, or in the check at the end.
    const wchar_t* const damaged[] = {
        L"1 4\n100 0.2 0.7 0.5\n100 0.75 3 7.5 1 1 7.5 3 0.75\n200 0.75 3 7.5 1 1 7.5 3 bad\n",
        L"city\n2\n100 0.2 0.2 0.15 0.7 0.5 0.08 1 1 1 1 1 1\n200 0.2 0.2 0.15 0.7 0.5 0.08 1 1 x 1 1 1\n",
        L"city\n0 2\n100 3 3.5 2 7.5 1 1 7.5 2 3.5 3\n",
        L"0 4\n100 0.75 3 7.5 1 1 7.5 3 0.75\n200 0.75 3 7.5 1 1 7.5 3\n",
        L"0 1\n100 0.75 3 7.5 1 1 7.5 3 -0.75\n",
    };
    for (const wchar_t* text : {kHighway, kCity}) {
        ASSERT_EQ(L"", Read(L"good.hdm", text));
        const tkxRoadHDM before(hdm);
        for (const wchar_t* bad : damaged) {
            SCOPED_TRACE(Utf8(bad));
            EXPECT_NE(L"", Read(L"bad.hdm", bad));
            ExpectSameData(before, hdm);
        }
    }
}

TEST_F(HdmFileTest, ReadsThatCannotStartKeepTheOldData)
{
    ASSERT_EQ(L"", Read(L"good.hdm", kHighway));
    const CString good = hdm.GetHDMFileName();

    EXPECT_NE(L"", hdm.ReadHDMFile(&chain, folder / L"missing.hdm"));
    EXPECT_EQ(3, hdm.m_WidthZH.GetSize());
    EXPECT_NE(L"", Read(L"empty.hdm", L"// nothing here\n"));
    EXPECT_EQ(3, hdm.m_WidthZH.GetSize());
    EXPECT_EQ(2, hdm.m_DepthZH.GetSize());

    // Without a break chain nothing is read and the object keeps its chain.
    EXPECT_EQ(ClFormat(L"读%s文件时出错: 未定义断链对象!", good.GetString()), hdm.ReadHDMFile(nullptr, good));
    EXPECT_EQ(&chain, hdm.GetBreakChain());
    EXPECT_EQ(3, hdm.m_WidthZH.GetSize());
}

// ---------------------------------------------------------------------------
// Writing.

TEST_F(HdmFileTest, WrittenFilesReadBackByteForByte)
{
    for (const wchar_t* text : {kHighway, kCity}) {
        SCOPED_TRACE(Utf8(text));
        ASSERT_EQ(L"", Read(L"source.hdm", text));
        ASSERT_EQ(1, hdm.OutputToFile(folder / L"written.hdm")) << Utf8(tkx_GetLastError());
        EXPECT_EQ(FileText(text), ReadBytes(folder / L"written.hdm"));
    }
}

TEST_F(HdmFileTest, ThicknessPairsWithinATenthOfAMillimetreAreOneValue)
{
    hdm.SetBreakChain(&chain);
    hdm.m_DepthZH.Add(10.0);
    hdm.m_H0.Add(0.2);
    hdm.m_LMLeft.Add(0.7);
    hdm.m_LMRight.Add(0.70005);
    hdm.m_YLJLeft.Add(0.7);
    hdm.m_YLJRight.Add(0.702);
    ASSERT_EQ(1, hdm.OutputToFile(folder / L"pairs.hdm")) << Utf8(tkx_GetLastError());
    EXPECT_EQ(FileText(L"1 1\n10.000 0.200 0.700 0.700+0.702 \n"), ReadBytes(folder / L"pairs.hdm"));
}

TEST_F(HdmFileTest, BuiltSectionsAreWrittenAndCopied)
{
    hdm.SetBreakChain(&chain);
    RoadHDMInfo info;
    info.Sa = 0.75;
    info.Ha = 3.0;
    info.Ca = 7.5;
    info.Cen1 = 1.0;
    info.Cen2 = 1.0;
    info.Cb = 7.5;
    info.Hb = 3.0;
    info.Sb = 0.75;
    hdm.AddHDMWiden(100.0, info);
    info.Ca = 11.25;
    hdm.AddHDMWiden(1210.0, info);
    EXPECT_EQ(2, hdm.m_Fa.GetSize());  // all ten widths, also on a highway
    EXPECT_EQ(0, hdm.CopyAddHDMWiden(2));
    ASSERT_EQ(1, hdm.CopyAddHDMWiden(1));
    ASSERT_EQ(3, hdm.m_WidthZH.GetSize());
    EXPECT_DOUBLE_EQ(1210.0, hdm.m_WidthZH[2]);
    EXPECT_DOUBLE_EQ(11.25, hdm.m_Ca[2]);
    EXPECT_EQ(2, hdm.m_Fa.GetSize());  // the side dividers only on city roads
    ASSERT_EQ(1, hdm.OutputToFile(L"  " + (folder / L"built.hdm") + L" ")) << Utf8(tkx_GetLastError());
    EXPECT_EQ(FileText(L"0 1\n"
                       L"100.000 0.750 3.000 7.500 1.000 1.000 7.500 3.000 0.750 \n"
                       L"1190.000 0.750 3.000 11.250 1.000 1.000 7.500 3.000 0.750 2\n"
                       L"1190.000 0.750 3.000 11.250 1.000 1.000 7.500 3.000 0.750 2\n"),
              ReadBytes(folder / L"built.hdm"));

    // A section that fails the check is not copied.
    hdm.m_Cb[0] = -1.0;
    EXPECT_EQ(0, hdm.CopyAddHDMWiden(0));
    EXPECT_EQ(3, hdm.m_WidthZH.GetSize());
}

TEST_F(HdmFileTest, WriterAsksBeforeWritingDataThatFailTheCheck)
{
    ASSERT_EQ(L"", Read(L"source.hdm", kHighway));
    const CString path = folder / L"checked.hdm";
    WriteText(path, L"old\n");
    hdm.m_Sa[1] = -0.25;
    const CString problem = hdm.IsValid();
    ASSERT_NE(L"", problem);
    {
        MessageBoxScript boxes;
        boxes.Answer(IDNO);
        EXPECT_EQ(0, hdm.OutputToFile(path));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(problem + L"\n\n横断面数据检查时，发现错误，是否继续?", boxes.Shown()[0].text);
        EXPECT_EQ(L"TAVIX", boxes.Shown()[0].caption);
        EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
        EXPECT_EQ(problem, tkx_GetLastError());
        EXPECT_EQ(FileText(L"old\n"), ReadBytes(path));
    }
    {
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        EXPECT_EQ(1, hdm.OutputToFile(path));
        EXPECT_NE(std::string::npos, ReadBytes(path).find("1190.000 -0.250 3.000 7.500"));
    }
    // Tables shorter than their stations are never written, whatever the
    // answer.
    hdm.m_Hb.RemoveAt(2);
    {
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        const std::string before = ReadBytes(path);
        EXPECT_EQ(0, hdm.OutputToFile(path));
        EXPECT_EQ(L"\n错误提示: <右侧硬路肩宽度Hb数据个数>与<横断面宽度变化断面个数n>不符!", tkx_GetLastError());
        EXPECT_EQ(before, ReadBytes(path));
    }
}

TEST_F(HdmFileTest, WriterRefusals)
{
    ASSERT_EQ(L"", Read(L"source.hdm", kHighway));
    EXPECT_EQ(0, hdm.OutputToFile(L"  \t"));
    EXPECT_EQ(L"文件名为空!", tkx_GetLastError());

    // A file that cannot be replaced keeps its old content.
    const CString path = folder / L"locked.hdm";
    WriteText(path, L"old\n");
    HANDLE lock = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    {
        MessageBoxScript boxes;
        EXPECT_EQ(0, hdm.OutputToFile(path));
        const CString message = ClFormat(L"打开%s文件时出错!", path.GetString());
        EXPECT_EQ(message, tkx_GetLastError());
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(message, boxes.Shown()[0].text);
        EXPECT_EQ(UINT(MB_ICONERROR), boxes.Shown()[0].type & MB_ICONMASK);
    }
    CloseHandle(lock);
    EXPECT_EQ(FileText(L"old\n"), ReadBytes(path));
    // A disk that fills up while writing leaves the old file and no
    // temporary file behind.
    const std::vector<CString> before = section_test::FilesIn(folder.Path());
    {
        section_test::FailingWrites full(folder.Path());
        MessageBoxScript boxes;
        EXPECT_EQ(0, hdm.OutputToFile(path));
        EXPECT_GT(full.Refused(), 0);
        EXPECT_EQ(ClFormat(L"打开%s文件时出错!", path.GetString()), tkx_GetLastError());
        EXPECT_EQ(1u, boxes.Shown().size());
    }
    EXPECT_EQ(FileText(L"old\n"), ReadBytes(path));
    EXPECT_EQ(before, section_test::FilesIn(folder.Path()));
    {
        MessageBoxScript boxes;
        EXPECT_EQ(0, hdm.OutputToFile(folder / L"no such folder\\x.hdm"));
        EXPECT_EQ(1u, boxes.Shown().size());
    }

    hdm.SetBreakChain(nullptr);
    EXPECT_EQ(0, hdm.OutputToFile(folder / L"x.hdm"));
    EXPECT_EQ(L"未定义断链对象!", tkx_GetLastError());
    EXPECT_FALSE(section_test::FileExists(folder / L"x.hdm"));
}

TEST_F(HdmFileTest, ValuesThatAreNoNumberAreNeverWritten)
{
    struct Case {
        const wchar_t* text;
        CArray<double, double> tkxRoadHDM::*array;
        int index;
        double value;
        const wchar_t* problem;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {kHighway, &tkxRoadHDM::m_Ca, 1, nan, L"\n错误提示: 第2个横断面宽度变化断面的数据<1.#QNAN>不是有效的数!"},
        {kHighway, &tkxRoadHDM::m_WidthZH, 2, HUGE_VAL, L"\n错误提示: 第3个横断面宽度变化断面的数据<1.#INF>不是有效的数!"},
        {kHighway, &tkxRoadHDM::m_DepthZH, 0, -HUGE_VAL, L"\n错误提示: 第1个路槽深度断面的数据<-1.#INF>不是有效的数!"},
        {kHighway, &tkxRoadHDM::m_YLJRight, 1, nan, L"\n错误提示: 第2个路槽深度断面的数据<1.#QNAN>不是有效的数!"},
        {kCity, &tkxRoadHDM::m_I3, 1, nan, L"\n错误提示: 第2个路槽深度断面的数据<1.#QNAN>不是有效的数!"},
        {kCity, &tkxRoadHDM::m_Fb, 0, HUGE_VAL, L"\n错误提示: 第1个横断面宽度变化断面的数据<1.#INF>不是有效的数!"},
    };
    const CString path = folder / L"kept.hdm";
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.problem));
        WriteText(path, L"old\n");
        ASSERT_EQ(L"", Read(L"source.hdm", c.text));
        (hdm.*c.array)[c.index] = c.value;
        MessageBoxScript boxes;
        tkx_SetLastError(L"");
        EXPECT_EQ(0, hdm.OutputToFile(path));
        EXPECT_EQ(CString(c.problem), tkx_GetLastError());
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_EQ(FileText(L"old\n"), ReadBytes(path));
    }
}

TEST_F(HdmFileTest, InvalidModeIsRefusedAndTheOldOneKept)
{
    hdm.SetMode(4);
    MessageBoxScript boxes;
    hdm.SetMode(2);
    EXPECT_EQ(4, hdm.GetMode());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(L"变宽方式必须为:1(线性加宽), 3(三次方变宽), 4(四次方非线性加宽);", boxes.Shown()[0].text);
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.Shown()[0].type & MB_ICONMASK);
    hdm.SetMode(3);
    EXPECT_EQ(3, hdm.GetMode());
    EXPECT_EQ(1u, boxes.Shown().size());
}

TEST_F(HdmFileTest, CopiesShareTheRoadObjects)
{
    ASSERT_EQ(L"", Read(L"city.hdm", kCity));
    tkxRoadHDM copy;
    copy.m_Ca.Add(99.0);
    copy = hdm;
    EXPECT_EQ(&chain, copy.GetBreakChain());
    EXPECT_EQ(1, copy.GetRoadStyle());
    EXPECT_EQ(4, copy.GetMode());
    EXPECT_EQ(hdm.GetHDMFileName(), copy.GetHDMFileName());
    ASSERT_EQ(2, copy.m_Ca.GetSize());
    EXPECT_DOUBLE_EQ(1.5, copy.m_Fb[1]);
    EXPECT_DOUBLE_EQ(-1.0, copy.m_I5[1]);
    EXPECT_EQ(0, copy.SetRoadCG(nullptr));
    // Every array of a city file holds data, and the copy has all of them.
    using Array = CArray<double, double> tkxRoadHDM::*;
    const std::pair<const char*, Array> arrays[] = {
        {"WidthZH", &tkxRoadHDM::m_WidthZH}, {"DepthZH", &tkxRoadHDM::m_DepthZH},
        {"H0", &tkxRoadHDM::m_H0}, {"LMLeft", &tkxRoadHDM::m_LMLeft}, {"YLJLeft", &tkxRoadHDM::m_YLJLeft},
        {"CFDHeight", &tkxRoadHDM::m_CFDHeight}, {"RXDHeight", &tkxRoadHDM::m_RXDHeight},
        {"RXDThickness", &tkxRoadHDM::m_RXDThickness}, {"LMRight", &tkxRoadHDM::m_LMRight},
        {"YLJRight", &tkxRoadHDM::m_YLJRight}, {"I0", &tkxRoadHDM::m_I0}, {"I1", &tkxRoadHDM::m_I1},
        {"I2", &tkxRoadHDM::m_I2}, {"I3", &tkxRoadHDM::m_I3}, {"I4", &tkxRoadHDM::m_I4}, {"I5", &tkxRoadHDM::m_I5},
        {"Sa", &tkxRoadHDM::m_Sa}, {"Sb", &tkxRoadHDM::m_Sb}, {"Ha", &tkxRoadHDM::m_Ha}, {"Hb", &tkxRoadHDM::m_Hb},
        {"Ca", &tkxRoadHDM::m_Ca}, {"Cb", &tkxRoadHDM::m_Cb}, {"Cen1", &tkxRoadHDM::m_Cen1},
        {"Cen2", &tkxRoadHDM::m_Cen2}, {"Fa", &tkxRoadHDM::m_Fa}, {"Fb", &tkxRoadHDM::m_Fb},
    };
    for (const auto& a : arrays) {
        SCOPED_TRACE(a.first);
        const CArray<double, double>& source = hdm.*a.second;
        const CArray<double, double>& copied = copy.*a.second;
        ASSERT_EQ(2, source.GetSize());
        ASSERT_EQ(source.GetSize(), copied.GetSize());
        for (INT_PTR i = 0; i < source.GetSize(); ++i) EXPECT_EQ(source[i], copied[i]);
    }
    copy.ResetAll();
    for (const auto& a : arrays) EXPECT_EQ(0, (copy.*a.second).GetSize()) << a.first;
    EXPECT_EQ(4, copy.GetMode());
}

} // namespace
