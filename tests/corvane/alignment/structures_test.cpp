// Structures: the structure lines of every kind read and written, their
// messages, span descriptions, stations, beam heights, labels, the
// station-range lines, the XML record and the two files.
#include "alignment_test_support.h"
#include "corvane/platform/Xml.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Structures.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <vector>

using namespace Tavix4;
using namespace alignment_test;

namespace {

std::vector<double> Values(const CArray<double, double>& a) { return std::vector<double>(a.begin(), a.end()); }

class StructureTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(1, chain.GetDLFromString(L"1500=1480")); }

    StationSettings settings{3, 1};
    tkxBreakChain chain;
    tkxQHInfo info{&chain};
};

} // namespace

TEST_F(StructureTest, LinesOfEveryKindRoundTrip)
{
    struct {
        const wchar_t* line;
        const wchar_t* written; // empty: the line itself
        int kind;
        double start, end, centre;
    } cases[] = {
        {L"0\t大桥\t1300.000\t10d30'00.0\"\t2.000\t3.000\t3*20+2*30*1.8\tT梁\t2.500\t1.500", L"", 0, 1300, 1425, 1352},
        {L"+0\t左幅桥\t1300\t10d30'00.0\"_20d0'00.0\"\t2.000\t3.000\t2*25\tvoid\t0.500\t1.200",
         L"4\t左幅桥\t1300.000\t10d30'00.0\"_20d0'00.0\"\t2.000\t3.000\t2*25\tvoid\t0.500\t1.200", 4, 1300, 1355, 1314.5},
        {L"-0 右幅桥 1300 0 2 3 40 NULL 0 1.2", L"5\t右幅桥\t1300.000\t0d0'00.0\"\t2.000\t3.000\t40\tNULL\t0.000\t1.200", 5,
         1300, 1345, 1302},
        {L"1\t涵洞\t1600.000_2\t30d0'00.0\"\t4.000\t1.000\t1.500\t3.000\t95.000\tNULL", L"", 1, 1618, 1622, 1620},
        {L"2\t通道\t1200.000\t0d0'00.0\"\t6.000\t1.000\t1.000\t4.500\t96.000\t备注\tT", L"", 2, 1197, 1203, 1200},
        {L"2, 通道, 1200, 0, 6, 1, 1, 4.5, 96, 备注", L"2\t通道\t1200.000\t0d0'00.0\"\t6.000\t1.000\t1.000\t4.500\t96.000\t备注\tF",
         2, 1197, 1203, 1200},
        {L"3\t隧道\t1000.000\t400.000\t6.000", L"", 3, 1000, 1400, 1200},
        {L"+3\t隧道\t1000\t400\t6", L"6\t隧道\t1000.000\t400.000\t6.000", 6, 1000, 1400, 1200},
        {L"-3 隧道 C1200 400 6", L"7\t隧道\t1000.000\t400.000\t6.000", 7, 1000, 1400, 1200},
        {L"9\t平交口\t1490.000_2\t75d0'00.0\"\t20.000\t30.000", L"", 9, 1490, 1540, 1510},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        ASSERT_EQ("", Utf8(info.ReadInfoFromString(c.line)));
        const sQHInfo r = info.GetStruct();
        EXPECT_EQ(c.kind, r.m_iKind);
        EXPECT_NEAR(c.start, r.m_rStartZH, 1e-9);
        EXPECT_NEAR(c.end, r.m_rEndZH, 1e-9);
        EXPECT_NEAR(c.centre, r.m_rCenterZH, 1e-9);
        const CString written = *c.written ? CString(c.written) : CString(c.line);
        EXPECT_EQ(Utf8(written), Utf8(info.WriteInfoToString()));
        // The written line reads back to the same record.
        tkxQHInfo again(&chain);
        ASSERT_EQ("", Utf8(again.ReadInfoFromString(info.WriteInfoToString())));
        EXPECT_EQ(Utf8(written), Utf8(again.WriteInfoToString()));
    }
    ASSERT_EQ("", Utf8(info.ReadInfoFromString(L"0 NULL 1000 0 0 0 3-20 void 0.5 1.5")));
    EXPECT_EQ("NULL", Utf8(info.GetName()));
    EXPECT_EQ(3, info.GetKJNumber());
    EXPECT_EQ(1, info.IsQiaoLiang());
}

// Every kind code and its signed forms; codes that merely look like one are
// refused.
TEST_F(StructureTest, KindCodes)
{
    const struct {
        const wchar_t* code;
        int kind;
    } codes[] = {{L"0", 0}, {L"+0", 4}, {L"4", 4}, {L"-0", 5}, {L"5", 5},  {L"1", 1},  {L"2", 2}, {L"3", 3},
                 {L"+3", 6}, {L"6", 6}, {L"-3", 7}, {L"7", 7},  {L"8", 8}, {L"9", 9}, {L"10", 10}};
    for (const auto& c : codes) {
        SCOPED_TRACE(Utf8(c.code));
        CString line;
        if (c.kind == 1 || c.kind == 2)
            line = ClFormat(L"%s 涵 1300 0 4 1 1 3 95 NULL", c.code);
        else if (c.kind == 3 || c.kind == 6 || c.kind == 7)
            line = ClFormat(L"%s 隧 1000 400 6", c.code);
        else if (c.kind >= 8)
            line = ClFormat(L"%s 交 1300 90 20 30", c.code);
        else
            line = ClFormat(L"%s 桥 1300 0 2 3 3*20 void 0.5 1.5", c.code);
        ASSERT_EQ("", Utf8(info.ReadInfoFromString(line)));
        EXPECT_EQ(c.kind, info.GetStruct().m_iKind);
    }
    for (const wchar_t* code : {L"11", L"01", L"00", L"+1", L"-1", L"+", L"1.0", L"１"}) {
        SCOPED_TRACE(Utf8(code));
        EXPECT_EQ(Utf8(ClFormat(L"读构造物标识符[%s]错误. 未定义的构造物标识符!", code)),
                  Utf8(info.ReadInfoFromString(ClFormat(L"%s 隧 1000 400 6", code))));
    }
}

TEST_F(StructureTest, BadLines)
{
    struct {
        const wchar_t* line;
        const wchar_t* message;
    } cases[] = {
        {L"", L"读[]错误!"},
        {L"0 桥 1300", L"构造物信息中至少需要5个数据!"},
        {L"11 桥 1300 0 2", L"读构造物标识符[11]错误. 未定义的构造物标识符!"},
        {L"1 涵 1300 0 4 1 1 3 95", L"涵洞信息中需要10个数据!"},
        {L"1 涵 1300 0 4 1 1 3 95 NULL T", L"涵洞信息中需要10个数据!"},
        {L"1 涵 K1+3OO 0 4 1 1 3 95 NULL", L"读涵洞中心桩号[K1+3OO]失败!"},
        {L"1 涵 1300 1d2x' 4 1 1 3 95 NULL", L"读涵洞斜交角[1d2x']失败!"},
        {L"1 涵 1300 0 x 1 1 3 95 NULL", L"读涵洞跨径[x]失败!"},
        {L"1 涵 1300 0 -4 1 1 3 95 NULL", L"读涵洞跨径[-4]失败!"},
        {L"2 通 1300 0 -4 1 1 3 95 NULL", L"读通道跨径[-4]失败!"},
        {L"1 涵 1300 0 4 y 1 3 95 NULL", L"读涵洞左侧附加长度[y]失败!"},
        {L"1 涵 1300 0 4 1 z 3 95 NULL", L"读涵洞右侧附加长度[z]失败!"},
        {L"1 涵 1300 0 4 1 1 h 95 NULL", L"读涵洞高度[h]失败!"},
        {L"1 涵 1300 0 4 1 1 3 e NULL", L"读涵洞底标高[e]失败!"},
        {L"2 通 1300 0 4 1 1 3", L"通道信息中至少需要10个数据!"},
        {L"2 通 1300 0 4 1 1 3 e NULL", L"读通道底标高[e]失败!"},
        {L"3 隧 1000 400", L"隧道信息中需要5个数据!"},
        {L"3 隧 1000 400 6 7", L"隧道信息中需要5个数据!"},
        {L"3 隧 Cx 400 6", L"读隧道起点桩号[Cx]失败!"},
        {L"3 隧 1000 L 6", L"读隧道长度[L]失败!"},
        {L"3 隧 1000 -400 6", L"读隧道长度[-400]失败!"},
        {L"3 隧 1000 400 H", L"读隧道高度[H]失败!"},
        {L"8 交 1300 90 20", L"平交口信息中需要6个数据!"},
        {L"8 交 s 90 20 30", L"读平交口交叉点桩号[s]失败!"},
        {L"8 交 1300 1d2x' 20 30", L"读交叉角[1d2x']失败!"},
        {L"8 交 1300 90 f 30", L"读交叉口前段长度[f]失败!"},
        {L"8 交 1300 90 20 b", L"读交叉口后段长度[b]失败!"},
        {L"8 交 1300 90 -20 30", L"读交叉口前段长度[-20]失败!"},
        {L"8 交 1300 90 20 -30", L"读交叉口后段长度[-30]失败!"},
        {L"0 桥 1300 0 2 3 3*20 void 0.5", L"桥梁信息中需要10个数据!"},
        {L"0 桥 K1+3x 0 2 3 3*20 void 0.5 1.5", L"换算桥梁的起点桩号失败, 请检查起点桩号(K1+3x)!"},
        {L"0 桥 1300 1d_2d3x' 2 3 3*20 void 0.5 1.5", L"读桥梁斜交角[1d_2d3x']失败!"},
        {L"0 桥 1300 0 a 3 3*20 void 0.5 1.5", L"读桥梁起点桥台长[a]失败!"},
        {L"0 桥 1300 0 2 b 3*20 void 0.5 1.5", L"读桥梁终点桥台长[b]失败!"},
        {L"0 桥 1300 0 2 3 3*20 void c 1.5", L"读桥梁中心位置[c]失败!"},
        {L"0 桥 1300 0 2 3 3*20 void 0.5 d", L"读桥梁默认梁高[d]失败!"},
        {L"0 桥 1300 0 2 3 3*a void 0.5 1.5", L"分析桥梁跨径信息出错! 请检查桥梁跨径描述[3*a]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        EXPECT_EQ(Utf8(c.message), Utf8(info.ReadInfoFromString(c.line)));
    }
}

TEST_F(StructureTest, SpanDescriptions)
{
    CArray<double, double> spans, heights;
    ASSERT_EQ(1, tkxQHInfo::GetBridgeLengths(L"3*20+2*30*1.8", spans, heights, 1.5));
    EXPECT_EQ((std::vector<double>{20, 20, 20, 30, 30}), Values(spans));
    EXPECT_EQ((std::vector<double>{1.5, 1.5, 1.5, 1.8, 1.8}), Values(heights));
    ASSERT_EQ(1, tkxQHInfo::GetBridgeLengths(L"3-20", spans, heights, 1.5));
    EXPECT_EQ((std::vector<double>{20, 20, 20}), Values(spans));
    ASSERT_EQ(1, tkxQHInfo::GetBridgeLengths(L"16+2.9*25", spans, heights, 1.2));
    EXPECT_EQ((std::vector<double>{16, 25, 25}), Values(spans));

    for (const wchar_t* bad : {L"", L"a*20", L"3*", L"2*20*1*1", L"0*20", L"3*-20"}) {
        tkx_SetLastError(L"");
        EXPECT_EQ(0, tkxQHInfo::GetBridgeLengths(bad, spans, heights, 1.5)) << Utf8(bad);
        EXPECT_EQ(Utf8(L"无法解析跨径描述字符, 请检查跨径描述字符."), Utf8(tkx_GetLastError())) << Utf8(bad);
        EXPECT_EQ(0, spans.GetSize());
    }
    tkx_SetLastError(L"unchanged");
    EXPECT_EQ(0, tkxQHInfo::GetBridgeLengths(L"3*20+x", spans, heights, 1.5));
    EXPECT_EQ("unchanged", Utf8(tkx_GetLastError()));

    // At most 100,000 spans in all the parts together; a description asking
    // for far more is refused before any span is made.
    ASSERT_EQ(1, tkxQHInfo::GetBridgeLengths(L"50000*20+50000*30", spans, heights, 1.5));
    EXPECT_EQ(100000, spans.GetSize());
    EXPECT_EQ(30.0, spans[99999]);
    CString many = L"100000*20";
    for (int i = 1; i < 2000; ++i) many += L"+100000*20";
    for (const CString& tooMany : {CString(L"50000*20+50001*30"), many}) {
        tkx_SetLastError(L"");
        EXPECT_EQ(0, tkxQHInfo::GetBridgeLengths(tooMany, spans, heights, 1.5));
        EXPECT_EQ(Utf8(L"跨径总数超过100000孔, 请检查跨径描述字符."), Utf8(tkx_GetLastError()));
        EXPECT_EQ(0, spans.GetSize());
    }

    // Span boundaries, beam heights and skew along the bridge.
    ASSERT_EQ("", Utf8(info.ReadInfoFromString(L"0 桥 1300 10d00'00\"_20d00'00\" 2 3 3*20+2*30*1.8 T梁 2.5 1.5")));
    EXPECT_NEAR(1302.0, info.GetBrgZH(0), 1e-9);
    EXPECT_NEAR(1342.0, info.GetBrgZH(2), 1e-9);
    EXPECT_NEAR(1422.0, info.GetBrgZH(5), 1e-9);
    EXPECT_EQ(1.5, info.GetBrgHeight(1302));
    EXPECT_EQ(1.8, info.GetBrgHeight(1370));
    EXPECT_EQ(1.8, info.GetBrgHeight(1422));
    EXPECT_EQ(0.0, info.GetBrgHeight(1301));
    EXPECT_EQ(Utf8(L"输入桩号[1301.000]小于桥梁起点桩号[1300.000 + 2.000]"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(0.0, info.GetBrgHeight(1423));
    EXPECT_EQ(Utf8(L"输入桩号[1423.000]大于桥梁终点桩号[1425.000 - 3.000]"), Utf8(tkx_GetLastError()));
    EXPECT_NEAR(15.0 / 180 * kPi, info.GetMidAngle(1362.5), 1e-12);
    EXPECT_EQ(Utf8(L"3×20+2×30×1.8 T梁"), Utf8(info.GetDimString()));
}

TEST_F(StructureTest, CentreGivenStationAndNames)
{
    ASSERT_EQ("", Utf8(info.ReadInfoFromString(L"0\t大桥$__$Z\tc1200\t0\t2\t2\t3*20\tvoid\t1.5\t1.5")));
    EXPECT_NEAR(1200.0, info.GetCenterZH(), 1e-9);
    EXPECT_NEAR(1168.0, info.GetStartZH(), 1e-9);
    EXPECT_EQ(Utf8(L"大桥  中心K1+200.000"), Utf8(info.GetDimName(L"中心", 0)));
    EXPECT_EQ(Utf8(L"大桥  K1+200.000"), Utf8(tkxQHInfo::GetDimName(info.GetStruct(), chain, L"", 0)));

    // Records: an empty name travels as "NULL".
    sQHInfo record = info.GetStruct();
    record.m_SName = L"";
    tkxQHInfo rebuilt(&chain, record);
    EXPECT_EQ("NULL", Utf8(rebuilt.GetStruct().m_SName));
    EXPECT_EQ(3, rebuilt.GetKJNumber());
    EXPECT_NEAR(1232.0, rebuilt.GetEndZH(), 1e-9);
    EXPECT_EQ(0, rebuilt.WriteInfoToString().Find(L"0\tNULL\t1168.000"));
}

TEST_F(StructureTest, StationRangeLines)
{
    ASSERT_EQ("", Utf8(info.ReadQLRangeFromString(L"1300 1450")));
    EXPECT_NEAR(1300.0, info.GetStartZH(), 1e-9);
    EXPECT_NEAR(1450.0, info.GetEndZH(), 1e-9);
    EXPECT_NEAR(1375.0, info.GetCenterZH(), 1e-9);
    EXPECT_EQ("1*150.000", Utf8(info.GetKJDescribe()));
    EXPECT_EQ(1, info.GetKJNumber());
    // Stations named in the second segment by their chain numbers.
    ASSERT_EQ("", Utf8(info.ReadQLRangeFromString(L"1490 1600 2 2")));
    EXPECT_NEAR(1510.0, info.GetStartZH(), 1e-9);
    EXPECT_NEAR(1620.0, info.GetEndZH(), 1e-9);
    EXPECT_EQ("1*110.000", Utf8(info.GetKJDescribe()));

    struct {
        const wchar_t* line;
        const wchar_t* message;
    } cases[] = {
        {L"1300", L"桥梁范围信息中至少需要2个数据!"},
        {L"K1+300 1450", L"读桥梁起点桩号[K1+300]失败!"},
        {L"1300 x", L"读桥梁终点桩号[x]失败!"},
        {L"1300 1450 a", L"读桥梁起点桩号的断链号[a]失败!"},
        {L"1300 1450 1 b", L"读桥梁终点桩号的断链号[b]失败!"},
        {L"1450 1300", L"桥梁终点桩号[1300]应大于起点桩号[1450]!"},
        {L"1300 1300", L"桥梁终点桩号[1300]应大于起点桩号[1300]!"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8(c.message), Utf8(info.ReadQLRangeFromString(c.line))) << Utf8(c.line);
    }
}

TEST_F(StructureTest, XmlRecord)
{
    ASSERT_EQ("", Utf8(info.ReadInfoFromString(L"1\t\"A&B\"'x'<涵>\t1600_2\t30d15'00.0\"\t4\t1\t1\t3\t95\tNULL")));
    tkxXmlElement parent;
    ASSERT_EQ(1, info.ExportXML(&parent));
    ASSERT_EQ(1, parent.m_Children.GetCount());
    auto* record = static_cast<tkxXmlElement*>(parent.m_Children.GetHead());
    EXPECT_EQ("Record", Utf8(record->m_STag));
    EXPECT_EQ(Utf8(L"1;”A&B”’x’<涵>;1600.000_2;30d15’00.0”;4.000;1.000;1.000;3.000;95.000;NULL"),
              Utf8(record->GetValue(L"str")));

    // Through a file and back.
    ScratchFolder folder(L"structure_xml");
    tkxXmlDocument doc;
    doc.GetRootElement()->m_STag = L"GZW";
    ASSERT_EQ(1, info.ExportXML(doc.GetRootElement()));
    ASSERT_EQ(1, doc.SaveXMLFile(folder / L"gzw.xml"));
    tkxXmlDocument loaded;
    ASSERT_EQ(1, loaded.LoadXMLFile(folder / L"gzw.xml")) << Utf8(tkx_GetLastError());
    tkxXmlElement* element = loaded.FindElement(loaded.GetRootElement(), L"Record");
    ASSERT_TRUE(element);
    tkxQHInfo back(&chain);
    ASSERT_EQ(1, back.ImportXML(element)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(Utf8(info.WriteInfoToString()), Utf8(back.WriteInfoToString()));
    EXPECT_EQ(Utf8(L"\"A&B\"'x'<涵>"), Utf8(back.GetName()));

    tkxXmlElement bad;
    bad.m_SAttributes = L"str=\"1;涵;1600\"";
    EXPECT_EQ(0, back.ImportXML(&bad));
    EXPECT_EQ(Utf8(L"导入XML文件构造物信息[1\t涵\t1600]出错! \n构造物信息中至少需要5个数据!"), Utf8(tkx_GetLastError()));
}

TEST_F(StructureTest, Files)
{
    ScratchFolder folder(L"structure_files");
    CArray<sQHInfo, sQHInfo> out;
    const CString gzx = folder / L"road.GZX";
    WriteText(gzx, L"// 构造物\n0 桥 1300 0 2 2 3*20 void 1.5 1.5\n\n3 隧道 1600_2 400 6\n");
    ASSERT_EQ(1, tkx_ReadQHFile(gzx, chain, out)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(2, out.GetSize());
    EXPECT_NEAR(1620.0, out[1].m_rStartZH, 1e-9);

    WriteText(gzx, L"0 桥 1300 0 2 2 3*20 void 1.5 1.5\n// skip\n3 隧道 1600_2 400\n");
    EXPECT_EQ(0, tkx_ReadQHFile(gzx, chain, out));
    EXPECT_EQ(Utf8(ClFormat(L"读构造物信息文件%s, \n第3行数据[3 隧道 1600_2 400]出错!\n隧道信息中需要5个数据!", gzx.GetString())),
              Utf8(tkx_GetLastError()));
    // The records read before stay as they were.
    ASSERT_EQ(2, out.GetSize());
    EXPECT_NEAR(1620.0, out[1].m_rStartZH, 1e-9);

    // A line takes nothing over from the line before: a tunnel after a
    // culvert has no remark, offsets or skew, a bridge after a named one and
    // a crossing after a passage keep only what their own lines say.
    WriteText(gzx, L"2 通道 1200 30 6 1 1 4.5 96 备注 T\n3 隧道 1600 400 6\n0 桥 1300 0 2 2 3*20 void 1.5 1.5\n"
                   L"9 平交口 1700 75 20 30\n");
    ASSERT_EQ(1, tkx_ReadQHFile(gzx, chain, out)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(4, out.GetSize());
    const sQHInfo tunnel = out[1], crossing = out[3];
    const CString noRemark = tkxQHInfo(&chain).GetStruct().m_SRemark;
    EXPECT_EQ(Utf8(noRemark), Utf8(tunnel.m_SRemark));
    EXPECT_EQ(0.0, tunnel.m_rLeftOffset);
    EXPECT_EQ(0.0, tunnel.m_rRightOffset);
    EXPECT_EQ(0.0, tunnel.m_rStartAngle);
    EXPECT_EQ(0.0, tunnel.m_rBottomElevation);
    EXPECT_EQ(0, tunnel.m_bFlag);
    EXPECT_EQ(0.0, crossing.m_rHeight);
    EXPECT_EQ(0.0, crossing.m_rLeftOffset);
    EXPECT_EQ(Utf8(noRemark), Utf8(crossing.m_SRemark));
    for (const sQHInfo& r : {tunnel, crossing}) {
        tkxQHInfo again(&chain);
        ASSERT_EQ(1, again.GetInfoByStruct(r));
        EXPECT_EQ(again.GetStruct().m_rEndZH, r.m_rEndZH);
    }

    const CString ql = folder / L"road.ql";
    WriteText(ql, L"1300 1450\n1490 1600 2 2\n");
    ASSERT_EQ(1, tkx_ReadQHFile(ql, chain, out)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(2, out.GetSize());
    EXPECT_NEAR(1620.0, out[1].m_rEndZH, 1e-9);
    WriteText(ql, L"1300 1450\n1490\n");
    EXPECT_EQ(0, tkx_ReadQHFile(ql, chain, out));
    EXPECT_EQ(Utf8(ClFormat(L"读桥梁范围文件%s, \n第2行数据[1490]出错!\n桥梁范围信息中至少需要2个数据!", ql.GetString())),
              Utf8(tkx_GetLastError()));

    // ".QL" in a folder name does not make a structure file a range file.
    CreateDirectoryW(folder / L"old.QL", nullptr);
    const CString inside = folder / L"old.QL\\road.GZX";
    WriteText(inside, L"3 隧道 1600_2 400 6\n");
    ASSERT_EQ(1, tkx_ReadQHFile(inside, chain, out)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, out.GetSize());
    EXPECT_EQ(QH_TUNNEL, out[0].m_iKind);

    EXPECT_EQ(0, tkx_ReadQHFile(folder / L"none.GZX", chain, out));
    EXPECT_EQ(Utf8(ClFormat(L"打开构造物信息文件<%s>失败!", (folder / L"none.GZX").GetString())), Utf8(tkx_GetLastError()));
}

namespace {

// Every field of two records, numbers to the bit.
void ExpectSameRecord(const sQHInfo& a, const sQHInfo& b)
{
    EXPECT_EQ(a.m_iKind, b.m_iKind);
    EXPECT_EQ(Utf8(a.m_SName), Utf8(b.m_SName));
    EXPECT_EQ(Utf8(a.m_SKJDescribe), Utf8(b.m_SKJDescribe));
    EXPECT_EQ(Utf8(a.m_SSBDescribe), Utf8(b.m_SSBDescribe));
    EXPECT_EQ(Utf8(a.m_SRemark), Utf8(b.m_SRemark));
    EXPECT_EQ(a.m_bFlag, b.m_bFlag);
    const double sQHInfo::*numbers[] = {&sQHInfo::m_rCenterPos,     &sQHInfo::m_rStartZH,     &sQHInfo::m_rEndZH,
                                        &sQHInfo::m_rCenterZH,      &sQHInfo::m_rStartAngle,  &sQHInfo::m_rEndAngle,
                                        &sQHInfo::m_rStartQTLength, &sQHInfo::m_rEndQTLength, &sQHInfo::m_rLength,
                                        &sQHInfo::m_rLeftOffset,    &sQHInfo::m_rRightOffset, &sQHInfo::m_rHeight,
                                        &sQHInfo::m_rBottomElevation};
    for (const auto number : numbers) EXPECT_EQ(0, std::memcmp(&(a.*number), &(b.*number), sizeof(double)));
}

} // namespace

// Files of thousands of structures, with long lines and with lines shorter
// than the reader plans room for: every record is the one its line gives
// alone, and a bad last line still leaves the caller's records.
TEST_F(StructureTest, LargeFiles)
{
    const wchar_t* const longLines[] = {
        L"0 桥$Z 1300.125 10d30'15.5\"_20d0' 2.000 3.000 3*20+2*30*1.8 T梁 2.5 1.5",
        L"1 C%d 1600.5_2 12°30′00.0″ 2.0 3.5 3.5 2.5 100.125 R",
        L"2, 通道, K1+200.25, -0d30', 6, 1, 1, 4.5, 96, 备注, t",
        L"3 T%d 1000.000 31.000 6.5",
        L"-3 隧道 C1200 400 6",
        L"9 平交口 1490.000_2 75d0'00.0\" 20.000 30.000",
    };
    const wchar_t* const shortLines[] = {L"3 T 1%d 1 1", L"+3 S 9%d 2.5 1"};
    ScratchFolder folder(L"large_structure_files");
    const CString gzx = folder / L"many.GZX";
    for (const auto& set : {std::vector<const wchar_t*>(std::begin(longLines), std::end(longLines)),
                            std::vector<const wchar_t*>(std::begin(shortLines), std::end(shortLines))}) {
        const int count = set.size() > 2 ? 8000 : 20000;
        std::vector<CString> lines;
        CString text;
        for (int i = 0; i < count; ++i) {
            lines.push_back(ClFormat(set[i % set.size()], i % 1000));
            text += lines.back() + L"\n";
        }
        WriteText(gzx, text);
        CArray<sQHInfo, sQHInfo> out;
        ASSERT_EQ(1, tkx_ReadQHFile(gzx, chain, out)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(count, out.GetSize());
        for (int i = 0; i < count; i += 7) {
            SCOPED_TRACE(Utf8(lines[i]));
            tkxQHInfo alone(&chain);
            ASSERT_EQ("", Utf8(alone.ReadInfoFromString(lines[i])));
            ExpectSameRecord(alone.GetStruct(), out[i]);
        }

        WriteText(gzx, text + L"3 T 1600 400\n");
        EXPECT_EQ(0, tkx_ReadQHFile(gzx, chain, out));
        EXPECT_EQ(Utf8(ClFormat(L"读构造物信息文件%s, \n第%d行数据[3 T 1600 400]出错!\n隧道信息中需要5个数据!",
                                gzx.GetString(), count + 1)),
                  Utf8(tkx_GetLastError()));
        EXPECT_EQ(count, out.GetSize());
    }
}
