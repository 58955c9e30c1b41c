// Break chain: conversions across several breaks, the .DL file, the pair
// text, editing and the archive form.
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "road_test_support.h"

#include <cmath>
#include <string>
#include <vector>

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

// Three breaks: 1200=1180 (the stations 1180 to 1200 occur twice), 2500=2510
// (the stations 2500 to 2510 do not occur) and 3000=2990.
//   segment 1: .. 1200          chainage = station
//   segment 2: 1180 .. 2500     chainage = station + 20
//   segment 3: 2510 .. 3000     chainage = station + 10
//   segment 4: 2990 ..          chainage = station + 20
tkxBreakChain ThreeBreaks()
{
    tkxBreakChain chain;
    EXPECT_EQ(1, chain.GetDLFromString(L"1200=1180, 2500=2510, 3000=2990")) << Utf8(tkx_GetLastError());
    return chain;
}

// A chain as an archive holds it: segment count, start stations, end
// stations (the first start and last end are the open ends).
std::vector<BYTE> ArchivedChain(int count, const std::vector<double>& starts, const std::vector<double>& ends)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar << count;
    for (double v : starts) ar << v;
    for (double v : ends) ar << v;
    ar.Close();
    return file.Data();
}

// Loads archive bytes into the chain; false when the archive threw.
bool LoadArchived(tkxBreakChain& chain, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    try {
        CArchive ar(&file, CArchive::load);
        chain.Serialize(ar);
        return true;
    } catch (CException* e) {
        e->Delete();
        return false;
    }
}

class BreakChainTest : public ::testing::Test
{
protected:
    road_test::StationSettings settings{3, 1};
};

struct ChainageCase {
    double chainage;
    double station;
    short segment;
};

TEST_F(BreakChainTest, ChainageToStationAcrossBreaks)
{
    const tkxBreakChain chain = ThreeBreaks();
    ASSERT_EQ(4, chain.GetBreakChainCount());
    const ChainageCase cases[] = {
        {-100.0, -100.0, 1},  {1199.0, 1199.0, 1},   {1200.0, 1180.0, 2},   // at a break: the ahead station
        {1250.0, 1230.0, 2},  {2519.99, 2499.99, 2}, {2520.0, 2510.0, 3},
        {3009.0, 2999.0, 3},  {3010.0, 2990.0, 4},   {5000.0, 4980.0, 4},
    };
    for (const ChainageCase& c : cases) {
        SCOPED_TRACE(c.chainage);
        EXPECT_NEAR(c.station, chain.GetBreakZH(c.chainage), 1e-9);
        EXPECT_EQ(c.segment, chain.GetBreakChainID(c.chainage));
        double back = 0.0;
        ASSERT_EQ(1, chain.GetGlobalZH(c.station, back, c.segment));
        EXPECT_NEAR(c.chainage, back, 1e-9);
    }
}

struct TextCase {
    const wchar_t* text;
    double chainage;
};

TEST_F(BreakChainTest, StationTextToChainage)
{
    const tkxBreakChain chain = ThreeBreaks();
    const TextCase cases[] = {
        {L"1190", 1190.0},      // held by segments 1 and 2: the first wins
        {L"1190_2", 1210.0},    {L"1190 2", 1210.0},    {L"1190,2", 1210.0},
        {L"K1+200", 1200.0},    {L"1+200", 1200.0},     {L"k1+190_2", 1210.0},
        {L"K1-50", 950.0},      {L"-50", -50.0},        {L"K0+000", 0.0},
        {L"2500", 2520.0},      {L"2510", 2520.0},      // both ends of the gap meet
        {L"2995", 3005.0},      {L"2995_4", 3015.0},    {L"K2+995_4", 3015.0},
        {L"1300_1", 1320.0},    // segment 1 does not hold it: the first segment that does
        {L"1K+200", 1200.0},    {L"KK1+200", 1200.0},   {L" K1+200\t", 1200.0}, // every mark goes, blanks too
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        double chainage = -1.0;
        ASSERT_EQ(1, chain.GetGlobalZH(c.text, chainage)) << Utf8(tkx_GetLastError());
        EXPECT_NEAR(c.chainage, chainage, 1e-9);
    }
}

struct BadTextCase {
    const wchar_t* text;
    const wchar_t* message;
};

TEST_F(BreakChainTest, BadStationTextIsRefusedWithItsMessage)
{
    const tkxBreakChain chain = ThreeBreaks();
    const BadTextCase cases[] = {
        {L"2505", L"路线中不包含指定计算桩号(2505)!"},   // inside the gap
        {L"", L"读断链桩号数据()时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"K", L"读断链桩号数据()时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"1 2 3", L"断链桩号(1 2 3)数据个数(3)出错! \n\n正确的个数应为1个或2个!"},
        {L"1+2+3", L"读断链桩号数据(1+2+3)时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"abc", L"桩号(abc)数据错误! "},
        {L"K1+2x0", L"桩号(2x0)数据错误! "},            // the metres are checked too
        {L"K1.5+200", L"桩号(1.5)数据错误! "},          // whole kilometres only
        {L"1200_x", L"桩号(1200)的断链号(x)错误!"},
    };
    for (const BadTextCase& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        double chainage = -7.0;
        EXPECT_EQ(0, chain.GetGlobalZH(c.text, chainage));
        EXPECT_EQ(Utf8(c.message), Utf8(tkx_GetLastError()));
        EXPECT_EQ(-7.0, chainage);
    }
}

// A station text converts only as a whole: its numbers are whole numbers of
// the field, and "_" joins one station to one segment number.
TEST_F(BreakChainTest, StationTextMustConvertWhole)
{
    const tkxBreakChain chain = ThreeBreaks();
    const std::wstring huge = L"1" + std::wstring(306, L'0');   // kilometres beyond the range once in metres
    const std::wstring wide = L"\xFF11" L"200";                 // a full-width one
    struct Case {
        std::wstring text;
        std::wstring message;
    };
    const Case cases[] = {
        {L"1__2", L"读断链桩号数据(1  2)时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"1_2_3", L"读断链桩号数据(1 2 3)时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"1200_", L"读断链桩号数据(1200 )时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"_2", L"读断链桩号数据( 2)时出错! \n\n正确的表述应为: 1200 2 或1200,2 !"},
        {L"1;5", L"桩号(1;5)数据错误! "},
        {L"K1+2;5", L"桩号(2;5)数据错误! "},
        {L"12-5x", L"桩号(-5x)数据错误! "},
        {wide, L"桩号(" + wide + L")数据错误! "},
        {huge + L"+5", L"桩号(" + huge + L"+5)数据错误! "},
        {L"1200 2;", L"桩号(1200)的断链号(2;)错误!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.text.substr(0, 30).c_str()));
        double chainage = -7.0;
        EXPECT_EQ(0, chain.GetGlobalZH(c.text.c_str(), chainage));
        EXPECT_EQ(Utf8(c.message.c_str()), Utf8(tkx_GetLastError()));
        EXPECT_EQ(-7.0, chainage);
    }

    // What stored files hold still reads: the station forms and leading
    // zeros.
    const TextCase kept[] = {{L"K1-050.000", 950.0}, {L"001190.50_2", 1210.5}, {L"1190.", 1190.0}, {L"k-1+100", -900.0}};
    for (const TextCase& c : kept) {
        SCOPED_TRACE(Utf8(c.text));
        double chainage = -1.0;
        ASSERT_EQ(1, chain.GetGlobalZH(c.text, chainage)) << Utf8(tkx_GetLastError());
        EXPECT_NEAR(c.chainage, chainage, 1e-9);
    }
}

TEST_F(BreakChainTest, StationTextWithSegmentSuffix)
{
    const tkxBreakChain chain = ThreeBreaks();
    EXPECT_EQ(Utf8(L"1199.000"), Utf8(chain.GetStringBreakZH(1199.0, 3, 1)));
    EXPECT_EQ(Utf8(L"1230.000_2"), Utf8(chain.GetStringBreakZH(1250.0, 3, 1)));
    EXPECT_EQ(Utf8(L"1230.000"), Utf8(chain.GetStringBreakZH(1250.0, 3, 0)));
    EXPECT_EQ(Utf8(L"2990.00_4"), Utf8(chain.GetStringBreakZH(3010.0, 2, 1)));
    EXPECT_EQ(Utf8(L"1230.000_2"), Utf8(chain.GetStringBreakZH(1250.0, -1, 1)));   // the project's precision
    EXPECT_EQ(Utf8(L"K1+230.000_2"), Utf8(chain.ZHToCString(1250.0, 3, 1)));
    EXPECT_EQ(Utf8(L"K1+199.000"), Utf8(chain.GetZHString(1199.0, 3, 1)));

    // Every text written reads back to its chainage.
    for (double chainage : {-5.0, 1199.5, 1200.0, 1210.25, 2519.5, 2520.0, 3010.0, 4000.125}) {
        double back = 0.0;
        ASSERT_EQ(1, chain.GetGlobalZH(chain.ZHToCString(chainage, 3, 1), back));
        EXPECT_NEAR(chainage, back, 1e-9);
        ASSERT_EQ(1, chain.GetGlobalZH(chain.GetStringBreakZH(chainage, 3, 1), back));
        EXPECT_NEAR(chainage, back, 1e-9);
    }
}

TEST_F(BreakChainTest, DefaultChainMapsEveryStationToItself)
{
    tkxBreakChain chain;
    EXPECT_EQ(1, chain.GetBreakChainCount());
    EXPECT_EQ(-1e10, chain.GetBreakStartZH(0));
    EXPECT_EQ(1e10, chain.GetBreakEndZH(0));
    EXPECT_EQ(1234.5, chain.GetBreakZH(1234.5));
    EXPECT_EQ(1, chain.GetBreakChainID(1234.5));
    EXPECT_EQ(Utf8(L"1234.500"), Utf8(chain.GetStringBreakZH(1234.5, 3, 1)));
    EXPECT_EQ(Utf8(L""), Utf8(chain.OutputToSText()));
    try {
        chain.GetBreakStartZH(1);
        ADD_FAILURE() << "an index outside the chain must throw";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

// ---------------------------------------------------------------------------
// The .DL file.

TEST_F(BreakChainTest, DLFileRoundTrip)
{
    ScratchFolder folder(L"dl_round");
    const CString path = folder / L"road.DL";
    const tkxBreakChain chain = ThreeBreaks();
    ASSERT_EQ(1, chain.SaveDLFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ("1200.000 1180.000\r\n2500.000 2510.000\r\n3000.000 2990.000\r\n", road_test::ReadBytes(path));

    tkxBreakChain loaded;
    ASSERT_EQ(1, loaded.LoadDLFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_TRUE(loaded == chain);
    EXPECT_EQ(Utf8(L"1200.000=1180.000, 2500.000=2510.000, 3000.000=2990.000"), Utf8(loaded.OutputToSText()));
}

TEST_F(BreakChainTest, DLFileWithCommentsAndBlankLines)
{
    ScratchFolder folder(L"dl_comments");
    const CString path = folder / L"road.DL";
    road_test::WriteText(path, L"// 断链表\n\n  1200, 1180 \n// second\n2500\t2510");
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.LoadDLFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(3, chain.GetBreakChainCount());
    EXPECT_NEAR(2510.0, chain.GetBreakZH(2520.0), 1e-9);
}

struct DLRefusal {
    const wchar_t* content;
    const wchar_t* message;   // %s: the path
};

TEST_F(BreakChainTest, BadDLFileIsRefusedNamingLineAndField)
{
    ScratchFolder folder(L"dl_bad");
    const CString path = folder / L"bad.DL";
    const DLRefusal cases[] = {
        {L"1200 1180\n// note\n1170 1300\n", L"断链文件<%s>中，第3行 \n\n断链终点桩号不得小于断链起点桩号(1170.000>1180.000)!"},
        {L"1200 1180\n1180 1300\n", L"断链文件<%s>中，第2行 \n\n断链终点桩号不得小于断链起点桩号(1180.000>1180.000)!"},
        {L"abc 1180\n", L"断链文件(%s)\n\n第1行第1个数据abc, <断链前桩号>错误!"},
        {L"1200 1180\n2500 2x10\n", L"断链文件(%s)\n\n第2行第2个数据2x10, <断链后桩号>错误!"},
        {L"1200 1180 5\n", L"断链文件(%s)\n\n第1行格式错误!"},
        {L"1200\n", L"断链文件(%s)\n\n第1行格式错误!"},
        {L"// only a comment\n", L"断链文件<%s>中，没有包含断链信息!"},
    };
    for (const DLRefusal& c : cases) {
        SCOPED_TRACE(Utf8(c.content));
        road_test::WriteText(path, c.content);
        tkxBreakChain chain = ThreeBreaks();
        EXPECT_EQ(0, chain.LoadDLFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        EXPECT_TRUE(chain == ThreeBreaks()) << "a refused file leaves the chain as it was";
        EXPECT_NEAR(3005.0, chain.GetBreakZH(3025.0), 1e-9);
    }
    // So does a file that cannot be opened.
    tkxBreakChain chain = ThreeBreaks();
    EXPECT_EQ(0, chain.LoadDLFile(folder / L"missing.DL"));
    EXPECT_TRUE(chain == ThreeBreaks());
}

// A break station is a whole number field within the chain's open ends
// (1e10 m either way); beyond them no segment holds a station.
TEST_F(BreakChainTest, BreakStationsBeyondTheChainAreRefused)
{
    ScratchFolder folder(L"dl_range");
    const CString path = folder / L"far.DL";
    const DLRefusal cases[] = {
        {L"1200 1180\n10000000000 10000000010\n", L"断链文件(%s)\n\n第2行第1个数据10000000000, <断链前桩号>错误!"},
        {L"1200 -10000000000\n", L"断链文件(%s)\n\n第1行第2个数据-10000000000, <断链后桩号>错误!"},
        {L"1200 1180\n1;5 1300\n", L"断链文件(%s)\n\n第2行第1个数据1;5, <断链前桩号>错误!"},
        {L"1_2 1180\n", L"断链文件(%s)\n\n第1行第1个数据1_2, <断链前桩号>错误!"},
    };
    for (const DLRefusal& c : cases) {
        SCOPED_TRACE(Utf8(c.content));
        road_test::WriteText(path, c.content);
        tkxBreakChain chain;
        EXPECT_EQ(0, chain.LoadDLFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
    }
    tkxBreakChain chain;
    EXPECT_EQ(0, chain.GetDLFromString(L"1200=1180, 99999999999=99999999990"));
    EXPECT_EQ(Utf8(L"读断链数据出错!\n\n无法转换字符99999999999."), Utf8(tkx_GetLastError()));
    ASSERT_EQ(1, chain.GetDLFromString(L"9999999999=9999999990")) << Utf8(tkx_GetLastError());
}

TEST_F(BreakChainTest, DefaultChainWritesAnEmptyFileThatDoesNotLoad)
{
    ScratchFolder folder(L"dl_empty");
    const CString path = folder / L"empty.DL";
    ASSERT_EQ(1, tkxBreakChain().SaveDLFile(path));
    EXPECT_EQ("", road_test::ReadBytes(path));
    tkxBreakChain chain;
    EXPECT_EQ(0, chain.LoadDLFile(path));
    EXPECT_EQ(Utf8(ClFormat(L"断链文件<%s>中，没有包含断链信息!", path.GetString())), Utf8(tkx_GetLastError()));

    EXPECT_EQ(0, chain.LoadDLFile(folder / L"missing.DL"));
    EXPECT_EQ(Utf8(ClFormat(L"打开断链文件(*.DL)时出错!\n\n%s", (folder / L"missing.DL").GetString())),
              Utf8(tkx_GetLastError()));
}

TEST_F(BreakChainTest, FailedDLWriteKeepsTheOldFile)
{
    ScratchFolder folder(L"dl_keep");
    const CString path = folder / L"road.DL";
    road_test::WriteBytes(path, "1200.000 1180.000\r\n");
    // The file is open without sharing: it cannot be replaced.
    HANDLE holder = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(0, ThreeBreaks().SaveDLFile(path));
    CloseHandle(holder);
    EXPECT_EQ(Utf8(ClFormat(L"创建断链文件(*.DL)时出错!\n\n%s", path.GetString())), Utf8(tkx_GetLastError()));
    EXPECT_EQ("1200.000 1180.000\r\n", road_test::ReadBytes(path));

    // No temporary file is left behind.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder / L"*.tmp", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// A chain its file would not give back is not written.
TEST_F(BreakChainTest, DLWriterRefusesWhatCouldNotBeReadBack)
{
    ScratchFolder folder(L"dl_refuse");
    const CString path = folder / L"road.DL";
    road_test::WriteBytes(path, "1200.000 1180.000\r\n");
    const double nan = std::nan("");
    struct Case {
        const char* what;
        std::vector<double> starts, ends;
        const wchar_t* message; // %s: the path
    } cases[] = {
        {"a back station that is no number", {-1e10, 1180, 2510}, {1200, nan, 1e10},
         L"第2个断链的桩号不是有效数值, 无法创建断链文件(*.DL)!\n\n%s"},
        {"an infinite ahead station", {-1e10, HUGE_VAL}, {1200, 1e10},
         L"第1个断链的桩号不是有效数值, 无法创建断链文件(*.DL)!\n\n%s"},
        {"breaks out of order", {-1e10, 1180, 2510}, {1200, 1100, 1e10},
         L"第2个断链 \n\n断链终点桩号不得小于断链起点桩号(1100.000>1180.000), 无法创建断链文件(*.DL)!\n\n%s"},
        // 0.0004 m apart in memory, the same station in the file.
        {"a segment that vanishes in three decimals", {-1e10, 1180, 2510}, {1200, 1180.0004, 1e10},
         L"第2个断链 \n\n断链终点桩号不得小于断链起点桩号(1180.000>1180.000), 无法创建断链文件(*.DL)!\n\n%s"},
        // Stations the reader refuses: at or beyond the chain's open ends as
        // written with three decimals.
        {"an ahead station beyond the chain", {-1e10, 2e10}, {1200, 1e10},
         L"第1个断链的桩号超出范围, 无法创建断链文件(*.DL)!\n\n%s"},
        {"a back station that rounds onto the chain's end", {-1e10, 1180}, {9999999999.9996, 1e10},
         L"第1个断链的桩号超出范围, 无法创建断链文件(*.DL)!\n\n%s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tkxBreakChain chain;
        ASSERT_TRUE(LoadArchived(chain, ArchivedChain(static_cast<int>(c.starts.size()), c.starts, c.ends)));
        EXPECT_EQ(0, chain.SaveDLFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        EXPECT_EQ("1200.000 1180.000\r\n", road_test::ReadBytes(path));
    }
}

// ---------------------------------------------------------------------------
// The pair text.

TEST_F(BreakChainTest, PairTextSeparatedByBlanksOrCommas)
{
    for (const wchar_t* text : {L"1200=1180 2500=2510", L"1200=1180, 2500=2510", L" 1200=1180 ,2500 = 2510 "}) {
        SCOPED_TRACE(Utf8(text));
        tkxBreakChain chain;
        ASSERT_EQ(1, chain.GetDLFromString(text)) << Utf8(tkx_GetLastError());
        EXPECT_EQ(3, chain.GetBreakChainCount());
        EXPECT_EQ(1200.0, chain.GetBreakEndZH(0));
        EXPECT_EQ(1180.0, chain.GetBreakStartZH(1));
        EXPECT_EQ(2500.0, chain.GetBreakEndZH(1));
        EXPECT_EQ(2510.0, chain.GetBreakStartZH(2));
    }
    tkxBreakChain chain = ThreeBreaks();
    EXPECT_EQ(1, chain.GetDLFromString(L"   "));
    EXPECT_TRUE(chain == tkxBreakChain());
}

TEST_F(BreakChainTest, BadPairTextLeavesTheDefaultChain)
{
    const BadTextCase cases[] = {
        {L"1200 1180", L"读断链数据出错, 未包含\"=\"分隔字符!\n\n1200 1180."},
        {L"1200=11x0", L"读断链数据出错!\n\n无法转换字符11x0."},
        {L"a=1180", L"读断链数据出错!\n\n无法转换字符a."},
        // Out of order: the second break's back station lies before the
        // first break's ahead station.
        {L"1200=1180, 1100=1300",
         L"断链数据<1200=1180, 1100=1300>中，第2个断链 \n\n断链终点桩号不得小于断链起点桩号(1100.000>1180.000)!"},
    };
    for (const BadTextCase& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        tkxBreakChain chain = ThreeBreaks();
        EXPECT_EQ(0, chain.GetDLFromString(c.text));
        EXPECT_EQ(Utf8(c.message), Utf8(tkx_GetLastError()));
        EXPECT_TRUE(chain == tkxBreakChain());
    }
}

// ---------------------------------------------------------------------------
// Editing, copying and the archive form.

TEST_F(BreakChainTest, InsertAndDeleteBreaks)
{
    tkxBreakChain chain;
    EXPECT_EQ(0, chain.InsertBreakZH(2500.0, 2510.0));   // the first break goes in at index 0
    EXPECT_EQ(0, chain.InsertBreakZH(1200.0, 1180.0));   // before it
    EXPECT_EQ(2, chain.InsertBreakZH(3000.0, 2990.0));   // after it
    EXPECT_TRUE(chain == ThreeBreaks());

    const tkxBreakChain before = chain;
    EXPECT_EQ(0, chain.InsertBreakZH(2500.0004, 2600.0)) << "a break with that back station exists";
    EXPECT_TRUE(chain == before);
    // 1300=2600 would end the second segment after the next break's back
    // station: refused, nothing changes.
    EXPECT_EQ(-1, chain.InsertBreakZH(1300.0, 2600.0));
    EXPECT_TRUE(chain == before);

    EXPECT_EQ(1, chain.DeleteBreakZH(2500.0));
    EXPECT_EQ(0, chain.DeleteBreakZH(2500.0));
    EXPECT_EQ(3, chain.GetBreakChainCount());
    EXPECT_NEAR(2530.0, chain.GetBreakZH(2550.0), 1e-9);   // 1200=1180 still applies
    EXPECT_EQ(1, chain.DeleteBreakZH(1200.0));
    EXPECT_EQ(1, chain.DeleteBreakZH(3000.0));
    EXPECT_TRUE(chain == tkxBreakChain());
}

TEST_F(BreakChainTest, CopyAndArchiveKeepTheBreaks)
{
    const tkxBreakChain chain = ThreeBreaks();
    tkxBreakChain copy;
    EXPECT_EQ(1, copy = chain);
    EXPECT_TRUE(copy == chain);
    EXPECT_NEAR(1230.0, copy.GetBreakZH(1250.0), 1e-9);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        const_cast<tkxBreakChain&>(chain).Serialize(ar);
        ar.Close();
    }
    // Segment count, then the start stations, then the end stations.
    const std::vector<BYTE>& bytes = file.Data();
    ASSERT_EQ(4u + 8u * 8u, bytes.size());
    int count = 0;
    memcpy(&count, bytes.data(), 4);
    EXPECT_EQ(4, count);
    double firstEnd = 0.0;
    memcpy(&firstEnd, bytes.data() + 4 + 4 * 8, 8);
    EXPECT_EQ(1200.0, firstEnd);

    file.SeekToBegin();
    tkxBreakChain loaded;
    {
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
    }
    EXPECT_TRUE(loaded == chain);
    EXPECT_NEAR(3005.0, loaded.GetBreakZH(3025.0), 1e-9);
}

TEST_F(BreakChainTest, ArchivedChainsWithoutSegmentsOrCutShortLoadSafely)
{
    // No segment at all: the default chain, which converts every station.
    for (int count : {0, -3}) {
        SCOPED_TRACE(count);
        tkxBreakChain chain = ThreeBreaks();
        ASSERT_TRUE(LoadArchived(chain, ArchivedChain(count, {}, {})));
        EXPECT_TRUE(chain == tkxBreakChain());
        EXPECT_EQ(1, chain.GetBreakChainCount());
        EXPECT_EQ(1234.5, chain.GetBreakZH(1234.5));
        double chainage = 0.0;
        EXPECT_EQ(1, chain.GetGlobalZH(L"K1+234.5", chainage));
        EXPECT_EQ(1234.5, chainage);
    }

    // An archive that ends inside the stations throws and leaves the chain
    // as it was.
    std::vector<BYTE> cut = ArchivedChain(4, {-1e10, 1180, 2510, 2990}, {1200, 2500, 3000, 1e10});
    cut.resize(cut.size() - 12);
    tkxBreakChain chain = ThreeBreaks();
    EXPECT_FALSE(LoadArchived(chain, cut));
    EXPECT_TRUE(chain == ThreeBreaks());
    EXPECT_EQ(4, chain.GetBreakChainCount());
    EXPECT_NEAR(3005.0, chain.GetBreakZH(3025.0), 1e-9);
}

} // namespace
