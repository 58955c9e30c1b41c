// The structure tools without their dialog: span texts, the GZW list to
// the GZX file and the GZX bridges to the QL file, against golden files,
// and every refused run leaving an earlier output as it was.
#include "brisko/convert/StructureTools.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Structures.h"
#include "support/FailingWrites.h"
#include "tools_world.h"
#include <string>
#include <utility>
#include <vector>

using namespace tooltest;

TEST(StructureTools, ASpanTextIsSplitIntoSpansAndBeamType)
{
    const struct {
        const wchar_t* text;
        bool ok;
        const wchar_t* span;
        const wchar_t* beam;
    } cases[] = {
        {L"3x20T", true, L"3x20", L"T"},     {L"3x20", true, L"3x20", L"void"},
        {L"20+25+20", true, L"20+25+20", L"void"}, {L"3*20", true, L"3*20", L"void"},
        {L" 2X16.5空心板 ", true, L"2X16.5", L"空心板"},
        {L"T20", false, L"", L""},           {L"", false, L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        CString span, beam;
        ASSERT_EQ(c.ok, SplitSpanText(c.text, span, beam));
        if (!c.ok) continue;
        EXPECT_EQ(CString(c.span), span);
        EXPECT_EQ(CString(c.beam), beam);
    }
}

TEST(StructureTools, AStructureListBecomesTheGoldenStructureFile)
{
    ScratchFolder folder(L"gzw_golden");
    const CString gzw = PutFixture(folder, "STRUCTURES_GZW", L"旧构造物.GZW");
    const CString gzx = folder / L"旧构造物.GZX";
    MessageBoxScript boxes;
    ASSERT_EQ(1, ConvertGZWToGZX(nullptr, gzw, gzx)) << Utf8(boxes.LastText());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Fixture("STRUCTURES_GZX"), ReadBytes(gzx));
}

// Each kind of row the tool writes is refused by the suite's structure
// reader while it holds a placeholder, and read, once the user has put
// numbers in their places, with the values of the list's line.
TEST(StructureTools, AStructureRowWithItsPlaceholdersFilledInReadsAsTheListLine)
{
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"2000=1950"));
    const struct {
        const wchar_t* gzw;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> fills; // placeholder, number
        int kind;
        const wchar_t* name;
        double start, centre, end, skew; // stations of the chain, degrees
        const wchar_t* span;
        const wchar_t* beam;
        double centrePos, startAbutment, endAbutment, length, left, right, height, bottom;
        const wchar_t* remark;
    } cases[] = {
        {L"0 大桥 20+25+20T 1980_2 - 30° 跨河",
         {{L"[桥梁起点桥台长待填]", L"5"}, {L"[桥梁终点桥台长待填]", L"6"}, {L"[桥梁标注中心位置待填]", L"1.5"},
          {L"[梁高待填]", L"1.8"}},
         0, L"大桥", 2030, 2067.5, 2106, 30, L"20+25+20", L"T", 1.5, 5, 6, 0, 0, 0, 1.8, 0, L"NULL"},
        {L"0 小桥 3*20空心板 K1+200 - 15°30'",
         {{L"[桥梁起点桥台长待填]", L"0"}, {L"[桥梁终点桥台长待填]", L"0"}, {L"[桥梁标注中心位置待填]", L"0.5"},
          {L"[梁高待填]", L"1.2"}},
         0, L"小桥", 1200, 1210, 1260, 15.5, L"3*20", L"空心板", 0.5, 0, 0, 0, 0, 0, 1.2, 0, L"NULL"},
        {L"1 盖板涵 1500 45° 2 0.5 0.6 排水", {{L"[涵洞高度待填]", L"1.5"}, {L"[涵洞底标高待填]", L"100.25"}},
         1, L"盖板涵", 1499, 1500, 1501, 45, L"", L"", 0, 0, 0, 2, 0.5, 0.6, 1.5, 100.25, L"排水"},
        {L"1 圆管涵 1520 75° 1.5 0.3 0.3", {{L"[涵洞高度待填]", L"1"}, {L"[涵洞底标高待填]", L"98.6"}},
         1, L"圆管涵", 1519.25, 1520, 1520.75, 75, L"", L"", 0, 0, 0, 1.5, 0.3, 0.3, 1, 98.6, L"NULL"},
        {L"2 通道 1960_2 90° 4 1 1 机耕", {{L"[通道高度待填]", L"3.5"}, {L"[通道底标高待填]", L"97"}},
         2, L"通道", 2008, 2010, 2012, 90, L"", L"", 0, 0, 0, 4, 1, 1, 3.5, 97, L"机耕"},
        {L"2 机耕通道 1600 60° 3.5 0.5 0.5", {{L"[通道高度待填]", L"2.5"}, {L"[通道底标高待填]", L"99"}},
         2, L"机耕通道", 1598.25, 1600, 1601.75, 60, L"", L"", 0, 0, 0, 3.5, 0.5, 0.5, 2.5, 99, L"NULL"},
        {L"3 一号隧道 1200 1450.5 短隧道", {{L"[隧道高度待填]", L"6.5"}},
         3, L"一号隧道", 1200, 1325.25, 1450.5, 0, L"", L"", 0, 0, 0, 250.5, 0, 0, 6.5, 0, L"NULL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.gzw));
        ScratchFolder folder(L"gzx_filled");
        const CString gzw = PutText(folder, L"in.GZW", CString(c.gzw) + L"\n");
        const CString gzx = folder / L"in.GZX";
        MessageBoxScript boxes;
        ASSERT_EQ(1, ConvertGZWToGZX(nullptr, gzw, gzx)) << Utf8(boxes.LastText());
        CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> read;
        EXPECT_EQ(0, tkx_ReadQHFile(gzx, chain, read));

        std::string bytes = ReadBytes(gzx);
        for (const auto& [placeholder, number] : c.fills) {
            const std::string text = FileText(placeholder);
            const size_t at = bytes.find(text);
            ASSERT_NE(std::string::npos, at) << Utf8(placeholder);
            bytes.replace(at, text.size(), FileText(number));
            EXPECT_EQ(std::string::npos, bytes.find(text)) << Utf8(placeholder);
        }
        WriteBytes(gzx, bytes);
        ASSERT_EQ(1, tkx_ReadQHFile(gzx, chain, read)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(1, read.GetSize());
        const Tavix4::sQHInfo& r = read[0];
        EXPECT_EQ(c.kind, r.m_iKind);
        EXPECT_EQ(CString(c.name), r.m_SName);
        EXPECT_NEAR(c.start, r.m_rStartZH, 1e-6);
        EXPECT_NEAR(c.centre, r.m_rCenterZH, 1e-6);
        EXPECT_NEAR(c.end, r.m_rEndZH, 1e-6);
        EXPECT_NEAR(c.skew / 180.0 * 3.141592653589793, r.m_rStartAngle, 1e-12);
        EXPECT_NEAR(r.m_rStartAngle, r.m_rEndAngle, 1e-12);
        EXPECT_EQ(CString(c.span), r.m_SKJDescribe);
        EXPECT_EQ(CString(c.beam), r.m_SSBDescribe);
        EXPECT_NEAR(c.centrePos, r.m_rCenterPos, 1e-12);
        EXPECT_NEAR(c.startAbutment, r.m_rStartQTLength, 1e-12);
        EXPECT_NEAR(c.endAbutment, r.m_rEndQTLength, 1e-12);
        EXPECT_NEAR(c.length, r.m_rLength, 1e-9);
        EXPECT_NEAR(c.left, r.m_rLeftOffset, 1e-12);
        EXPECT_NEAR(c.right, r.m_rRightOffset, 1e-12);
        EXPECT_NEAR(c.height, r.m_rHeight, 1e-12);
        EXPECT_NEAR(c.bottom, r.m_rBottomElevation, 1e-12);
        EXPECT_EQ(CString(c.remark), r.m_SRemark);
        EXPECT_EQ(0, r.m_bFlag);

        // The station-file export takes the filled-in file as it is.
        EXPECT_EQ(1, ExportGZXToQL(nullptr, gzx, folder / L"in.QL", chain)) << Utf8(boxes.LastText());
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

TEST(StructureTools, ABadListLineStopsBeforeAnythingIsWritten)
{
    const struct {
        const char* fixture;
        const wchar_t* text;
        int line;
        const wchar_t* format;
        const wchar_t* shown;
    } cases[] = {
        {"BAD_SPAN_GZW", nullptr, 3, L"读文件[%s],\n\n第%d行错误, 桥梁跨径描述数据错误!\n\n[%s]", L"0 T桥 T20 1800 - 0"},
        {"SHORT_CULVERT_GZW", nullptr, 1, L"读文件[%s],\n\n第%d行错误, 涵洞数据每行最少7个数据!\n\n[%s]",
         L"1 盖板涵 1500 90 2x2 0.5"},
        {nullptr, L"0 中桥 3x20 1200 - 0\n0 桥 3x20\n", 2, L"读文件[%s],\n\n第%d行错误, 每行最少4个数据!\n\n[%s]",
         L"0 桥 3x20"},
        {nullptr, L"0 中桥 3x20 1200 -\n", 1, L"读文件[%s],\n\n第%d行错误, 桥梁数据每行最少6个数据!\n\n[%s]",
         L"0 中桥 3x20 1200 -"},
        {nullptr, L"2 通道 1600 90 4x3.5 1\n", 1, L"读文件[%s],\n\n第%d行错误, 通道数据每行最少7个数据!\n\n[%s]",
         L"2 通道 1600 90 4x3.5 1"},
        {nullptr, L"3 隧道 1200\n", 1, L"读文件[%s],\n\n第%d行错误, 每行最少4个数据!\n\n[%s]", L"3 隧道 1200"},
        {nullptr, L"3 隧道 1450 1200\n", 1, L"读文件[%s],\n\n第%d行错误, 隧道起终点桩号错误!\n\n[%s]",
         L"3 隧道 1450 1200"},
        {nullptr, L"3 隧道 K1+200 K1+450\n", 1, L"读文件[%s],\n\n第%d行错误, 隧道起终点桩号错误!\n\n[%s]",
         L"3 隧道 K1+200 K1+450"},
        {nullptr, L"// 类型应为整数\nO 桥 3x20 1200 - 0\n", 2,
         L"读文件[%s],\n\n第%d行错误, 构造物类型代码错误!\n\n[%s]", L"O 桥 3x20 1200 - 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.shown));
        ScratchFolder folder(L"gzw_refused");
        const CString gzw = c.fixture ? PutFixture(folder, c.fixture, L"in.GZW") : PutText(folder, L"in.GZW", c.text);
        const CString gzx = PutText(folder, L"in.GZX", L"0\t早先的桥\n");
        MessageBoxScript boxes;
        EXPECT_EQ(0, ConvertGZWToGZX(nullptr, gzw, gzx));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(ClFormat(c.format, gzw.GetString(), c.line, c.shown), boxes.LastText());
        EXPECT_EQ(UINT(MB_ICONERROR), boxes.Shown()[0].type);
        EXPECT_EQ(FileText(L"0\t早先的桥\n"), ReadBytes(gzx));
        EXPECT_EQ((std::vector<CString>{L"in.GZW", L"in.GZX"}), FilesIn(folder.Path()));
    }

    ScratchFolder folder(L"gzw_missing");
    MessageBoxScript boxes;
    EXPECT_EQ(0, ConvertGZWToGZX(nullptr, folder / L"无.GZW", folder / L"无.GZX"));
    EXPECT_EQ(ClFormat(L"打开导入结构物文件时出错!\n\n%s", (folder / L"无.GZW").GetString()), boxes.LastText());
    EXPECT_FALSE(FileExists(folder / L"无.GZX"));
}

TEST(StructureTools, AFailedWriteKeepsTheEarlierStructureFile)
{
    ScratchFolder folder(L"gzw_full");
    const CString gzw = PutFixture(folder, "STRUCTURES_GZW", L"in.GZW");
    const CString gzx = PutText(folder, L"in.GZX", L"0\t早先的桥\n");
    MessageBoxScript boxes;
    {
        FailingWrites failing(folder.Path());
        EXPECT_EQ(0, ConvertGZWToGZX(nullptr, gzw, gzx));
    }
    EXPECT_EQ(ClFormat(L"创建桥涵文件失败!\n\n%s", gzx.GetString()), boxes.LastText());
    EXPECT_EQ(FileText(L"0\t早先的桥\n"), ReadBytes(gzx));
    EXPECT_EQ((std::vector<CString>{L"in.GZW", L"in.GZX"}), FilesIn(folder.Path()));
}

TEST(StructureTools, TheBridgesOfAStructureFileBecomeTheGoldenStationFile)
{
    StationSettings stations(3, 1);
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1100"));
    ScratchFolder folder(L"ql_golden");
    const CString gzx = PutFixture(folder, "BRIDGES_GZX", L"桥梁.GZX");
    const CString ql = folder / L"桥梁.QL";
    MessageBoxScript boxes;
    ASSERT_EQ(1, ExportGZXToQL(nullptr, gzx, ql, chain)) << Utf8(boxes.LastText());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(Fixture("BRIDGES_QL"), ReadBytes(ql));

    // The suite reads the ranges back onto the same stations.
    CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> back;
    ASSERT_EQ(1, tkx_ReadQHFile(ql, chain, back)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, back.GetSize());
    const double ranges[3][2] = {{1100, 1160}, {1180, 1220}, {1250, 1270}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(ranges[i][0], back[i].m_rStartZH, 1e-6) << i;
        EXPECT_NEAR(ranges[i][1], back[i].m_rEndZH, 1e-6) << i;
    }

    // No bridge: an empty station file, and success.
    const CString none = PutFixture(folder, "NOBRIDGES_GZX", L"无桥.GZX");
    ASSERT_EQ(1, ExportGZXToQL(nullptr, none, folder / L"无桥.QL", chain));
    EXPECT_TRUE(FileExists(folder / L"无桥.QL"));
    EXPECT_EQ(std::string(), ReadBytes(folder / L"无桥.QL"));
}

TEST(StructureTools, AStructureFileTheSuiteRefusesWritesNoStationFile)
{
    tkxBreakChain chain;
    ScratchFolder folder(L"ql_refused");
    const CString gzx = PutText(folder, L"坏.GZX", L"0\t大桥\t1100\t90d\t0\t0\t3*20\tT梁\t0\n");
    const CString ql = PutText(folder, L"坏.QL", L"1.000 2.000\n");
    CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> probe;
    ASSERT_EQ(0, tkx_ReadQHFile(gzx, chain, probe));
    const CString reason = tkx_GetLastError();
    MessageBoxScript boxes;
    EXPECT_EQ(0, ExportGZXToQL(nullptr, gzx, ql, chain));
    EXPECT_EQ(std::vector<CString>{reason}, boxes.Texts());
    EXPECT_EQ(FileText(L"1.000 2.000\n"), ReadBytes(ql));
}
