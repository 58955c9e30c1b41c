// The BidRoad bridge interface without its dialog: the DYD line, the
// merging of slope rows, the golden BRF file, a single carriageway, and
// every refused input leaving an earlier BRF file as it was.
#include "brisko/convert/BidRoadBRF.h"
#include "corvane/base/TextLines.h"
#include "tools_world.h"
#include <cmath>

using namespace tooltest;

namespace {

const double kPi = 3.14159265358979323846;

struct BRFFiles
{
    explicit BRFFiles(const wchar_t* name) : folder(name)
    {
        dyd = PutFixture(folder, "ROAD_DYD", L"路.DYD");
        sqx = PutFixture(folder, "ROAD_SQX", L"路.SQX");
        dmx = PutFixture(folder, "ROAD_DMX", L"路.DMX");
        cg = PutFixture(folder, "ROAD_CG", L"路.CG");
        brf = folder / L"路.BRF";
    }
    int Export() const { return ExportBidRoadBRF(nullptr, dyd, sqx, dmx, cg, brf); }
    ScratchFolder folder;
    CString dyd, sqx, dmx, cg, brf;
};

std::vector<sBidRoadSlopeInfo> Merge(std::initializer_list<sSlopeInfo> rows, bool both)
{
    return MergeSlopeRows(std::vector<sSlopeInfo>(rows), both);
}

void ExpectRanges(const std::vector<sBidRoadSlopeInfo>& got, std::initializer_list<sBidRoadSlopeInfo> want)
{
    ASSERT_EQ(want.size(), got.size());
    size_t i = 0;
    for (const sBidRoadSlopeInfo& w : want) {
        EXPECT_DOUBLE_EQ(w.dStartZH, got[i].dStartZH) << i;
        EXPECT_DOUBLE_EQ(w.dEndZH, got[i].dEndZH) << i;
        EXPECT_DOUBLE_EQ(w.dLeft, got[i].dLeft) << i;
        EXPECT_DOUBLE_EQ(w.dRight, got[i].dRight) << i;
        ++i;
    }
}

// The lines of a section of a BRF text, the keyword lines left out.
std::string Section(const std::string& brf, const std::string& keyword)
{
    const std::string open = "**" + keyword + "**\r\n";
    const size_t start = brf.find(open);
    if (start == std::string::npos) return "<none>";
    const size_t end = brf.find("**" + keyword + " END**", start);
    return brf.substr(start + open.size(), end - start - open.size());
}

} // namespace

TEST(BidRoad, EqualNeighbourRowsMergeAndEveryOtherRowStandsAlone)
{
    // The rows of the example: two ranges.
    ExpectRanges(Merge({{0, 2, -2}, {100, 2, -2}, {150, 4, 4}, {200, 4, 4}}, true), {{0, 100, 2, -2}, {150, 200, 4, 4}});
    // Alternating rows give point ranges, the last one included.
    ExpectRanges(Merge({{0, 2, -2}, {100, 3, -3}, {150, 2, -2}, {200, 3, -3}}, true),
                 {{0, 0, 2, -2}, {100, 100, 3, -3}, {150, 150, 2, -2}, {200, 200, 3, -3}});
    // A row left over after a pair is a range of its own.
    ExpectRanges(Merge({{0, 2, -2}, {100, 2, -2}, {150, 2, -2}}, true), {{0, 100, 2, -2}, {150, 150, 2, -2}});
    // Compared on the left value only, within 0.001.
    ExpectRanges(Merge({{0, 2, 1}, {100, 2.0005, 9}}, false), {{0, 100, 2, 1}});
    ExpectRanges(Merge({{7, 1, 1}}, true), {{7, 7, 1, 1}});
    EXPECT_TRUE(Merge({}, true).empty());
}

TEST(BidRoad, AUnitLineReadsEachOfItsFields)
{
    CStringArray f;
    const wchar_t* const line =
        L"2 回旋线 100.000 无穷大 200.000 50.000 左偏 NULL k0+100.000 3000070.711 500070.711 45%%%%d30'00\" 0 0 0 0 "
        L"K1+150.5 3000104.500 500107.500 37°50'29.6\" 0 0 0 0 0 0";
    ASSERT_EQ(0, tkx_DivideString(line, f));
    sBidRoad_DYD unit;
    ASSERT_EQ(CString(), ReadDYDUnit(f, L"路.DYD", 4, unit));
    EXPECT_EQ(3, unit.nKind);
    EXPECT_EQ(-1, unit.nTurn);
    EXPECT_DOUBLE_EQ(100.0, unit.dA);
    EXPECT_DOUBLE_EQ(0.0, unit.dStartR);
    EXPECT_DOUBLE_EQ(200.0, unit.dEndR);
    EXPECT_DOUBLE_EQ(100.0, unit.dStartZH);
    EXPECT_DOUBLE_EQ(1050.5, unit.dLength);
    EXPECT_DOUBLE_EQ(3000070.711, unit.dStartX);
    EXPECT_DOUBLE_EQ(500107.5, unit.dEndY);
    EXPECT_NEAR(45.5 * kPi / 180.0, unit.dStartAngle, 1e-12);
    EXPECT_NEAR((37 + 50 / 60.0 + 29.6 / 3600.0) * kPi / 180.0, unit.dEndAngle, 1e-12);

    // Each field that is no value of its kind is named.
    const struct {
        int position;
        const wchar_t* token;
    } bad[] = {
        {2, L"缓和曲线"}, {3, L"-"}, {4, L"无限"}, {5, L"2OO"}, {9, L"K0+1x0"}, {10, L"3000070.711m"},
        {11, L""},     {12, L"45"}, {12, L"4x5d30'"}, {17, L"K+"},  {18, L"1,5"}, {19, L"NULL"}, {20, L"北偏东"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(Utf8(b.token));
        CStringArray g;
        g.Copy(f);
        g[b.position - 1] = b.token;
        EXPECT_EQ(ClFormat(L"读取DYD文件第4行第%d个数据<%s>错误!\n\n路.DYD", b.position, b.token),
                  ReadDYDUnit(g, L"路.DYD", 4, unit));
    }
}

TEST(BidRoad, TheRoadGivesTheGoldenInterfaceFile)
{
    BRFFiles files(L"brf_golden");
    MessageBoxScript boxes;
    ASSERT_EQ(1, files.Export()) << Utf8(boxes.LastText());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Fixture("ROAD_BRF"), ReadBytes(files.brf));

    // Without plane units the road runs from 0 to 10000.
    files.dyd = PutText(files.folder, L"空.DYD", L"// 没有单元\n");
    ASSERT_EQ(1, files.Export());
    const std::string brf = ReadBytes(files.brf);
    EXPECT_EQ("0\r\n", Section(brf, "PLAN"));
    EXPECT_EQ("1\r\n       0.0000    10000.0000        0.0000\r\n", Section(brf, "SLOPE3"));
    EXPECT_EQ(Section(brf, "SLOPE3"), Section(brf, "SLOPE4"));
}

TEST(BidRoad, ASingleCarriagewayTakesItsCrossFallForBothSides)
{
    BRFFiles files(L"brf_single");
    files.cg = PutFixture(files.folder, "SINGLE_CG", L"单幅.CG");
    MessageBoxScript boxes;
    ASSERT_EQ(1, files.Export()) << Utf8(boxes.LastText());
    const std::string brf = ReadBytes(files.brf);
    // The third field of "150 -3 2" is the segment, not a right slope.
    EXPECT_EQ("2\r\n        0.0000      100.0000        2.0000        2.0000\r\n"
              "      150.0000      150.0000       -3.0000       -3.0000\r\n",
              Section(brf, "SLOPE"));
    EXPECT_EQ("2\r\n        0.0000      100.0000        2.0000\r\n      150.0000      150.0000       -3.0000\r\n",
              Section(brf, "SLOPE5"));
    // N = 3: the crown 2 differs from N by more than Tp = 0 and stays; -3
    // lies within Tn = 10 of N and gives N.
    EXPECT_EQ("2\r\n        0.0000      100.0000        2.0000\r\n      150.0000      150.0000        3.0000\r\n",
              Section(brf, "SLOPE1"));
}

TEST(BidRoad, ABadInputNamesItsFileAndLineAndWritesNothing)
{
    const struct {
        const char* what;
        const wchar_t* file;      // the input replaced, by extension
        const char* fixture;      // its fixture, or
        const wchar_t* text;      // its text (nullptr: missing file)
        const wchar_t* format;    // the message, with the line (when %d) and the path
        int line;
    } cases[] = {
        {"25 tokens", L"DYD", "DYD_25_DYD", nullptr, L"读取DYD文件第%d行失败!\n\n%s", 1},
        {"27 tokens", L"DYD", "DYD_27_DYD", nullptr, L"读取DYD文件第%d行失败!\n\n%s", 1},
        {"no DYD", L"DYD", nullptr, nullptr, L"读取DYD文件失败!\n\n%s\n\n请确认该文件是否存在!\n\n如果该文件已打开，请将其关闭!", 0},
        {"no SQX", L"SQX", nullptr, nullptr, L"读取SQX文件失败!\n\n%s\n\n请确认该文件是否存在!\n\n如果该文件已打开，请将其关闭!", 0},
        {"no CG", L"CG", nullptr, nullptr, L"读取CG文件失败!\n\n%s\n\n请确认该文件是否存在!\n\n如果该文件已打开，请将其关闭!", 0},
        {"no DMX", L"DMX", nullptr, nullptr, L"读取DMX文件失败!\n\n%s\n\n请确认该文件是否存在!\n\n如果该文件已打开，请将其关闭!", 0},
        {"empty CG", L"CG", nullptr, L"// 无数据\n", L"读取CG文件首行信息失败!\n\n%s", 0},
        {"short header", L"CG", nullptr, L"2 0 0 2 1 0\n", L"读取CG文件首行数据个数错误!\n\n%s", 0},
        {"bad header", L"CG", nullptr, L"2 0 0 2度 1 0 1\n", L"读取CG文件首行第4个数据<2度>错误!\n\n%s", 0},
        {"bad Tn", L"CG", nullptr, L"2 0 0 2 1 0 1 0 ++10\n", L"读取CG文件首行第9个数据<++10>错误!\n\n%s", 0},
        {"short row", L"CG", nullptr, L"2 0 0 2 1 0 1\n0 2 -2\n// \n100\n", L"读取CG文件第%d行数据错误!\n\n%s", 4},
        {"bad station", L"CG", nullptr, L"2 0 0 2 1 0 1\nK0+100 2 -2\n", L"读取CG文件第%d行第1个数据<K0+100>错误!\n\n%s", 2},
        {"bad slope", L"CG", nullptr, L"2 0 0 2 1 0 1\n100 2 -2a\n", L"读取CG文件第%d行第3个数据<-2a>错误!\n\n%s", 2},
        {"bad segment", L"CG", nullptr, L"1 0 0 2 1 0 1\n100 2 0\n", L"读取CG文件第%d行第3个数据<0>错误!\n\n%s", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BRFFiles files(L"brf_refused");
        CString* const input = CString(c.file) == L"DYD" ? &files.dyd
                               : CString(c.file) == L"SQX" ? &files.sqx
                               : CString(c.file) == L"CG"  ? &files.cg
                                                           : &files.dmx;
        const CString name = CString(L"坏.") + c.file;
        if (c.fixture)
            *input = PutFixture(files.folder, c.fixture, name);
        else if (c.text)
            *input = PutText(files.folder, name, c.text);
        else
            *input = files.folder / name;
        PutText(files.folder, L"路.BRF", L"早先的接口文件\n");
        MessageBoxScript boxes;
        EXPECT_EQ(0, files.Export());
        const CString expected = c.line ? ClFormat(c.format, c.line, input->GetString()) : ClFormat(c.format, input->GetString());
        EXPECT_EQ(std::vector<CString>{expected}, boxes.Texts());
        EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.Shown().at(0).type);
        EXPECT_EQ(FileText(L"早先的接口文件\n"), ReadBytes(files.brf));
    }
}
