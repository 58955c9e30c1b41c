// Every data-file type of the suite opened by its extension: its type
// number, its title and the description of its fields at the caret.
#include "documents_world.h"
#include "brisko/editor/FieldDescriptions.h"
#include "brisko/shell/BriskoApp.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

// The caret on the first character of field `field` (from 1) of a line, or
// at an explicit column.
struct Probe {
    int line;
    int field;       // 0: use `column`
    int column;
    const wchar_t* expected;
};

Probe F(int line, int field, const wchar_t* expected) { return {line, field, 0, expected}; }
Probe At(int line, int column, const wchar_t* expected) { return {line, 0, column, expected}; }

struct TypeCase {
    const wchar_t* file;
    int type;
    const wchar_t* typeName; // NULL: the title is the file name alone
    const wchar_t* text;
    std::vector<Probe> probes;
};

bool IsSeparator(wchar_t c) { return c == L' ' || c == L'\t' || c == L','; }

// The column where field `field` of the text starts.
int FieldStart(const CString& text, int field)
{
    int seen = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (IsSeparator(text[i]) || (i > 0 && !IsSeparator(text[i - 1]))) continue;
        if (++seen == field) return i;
    }
    return -1;
}

const wchar_t kKinds[] =
    L"构造物标识符(0~8).\n0:桥梁; 1:涵洞; 2:通道; 3:隧道;\n4:左幅桥;5右幅桥;6左幅隧道;7右幅隧道;8平交口;9左侧平交口;"
    L"10右侧平交口.";

const std::vector<TypeCase>& Cases()
{
    static const std::vector<TypeCase> cases = {
        {L"主线.FD", 0, L"设计分段文件", L"//分段\n主线 0 1\n一号路 0 1000\n",
         {At(0, 2, L"注释行"), F(1, 2, L"分段行: 分段名  类型(0:主线1:互通)  道路数;\n道路行: 道路名 起点桩号 终点桩号;")}},
        {L"一号路.DL", 1, L"桩号断链文件", L"1200.000 1180.000 9\n",
         {F(0, 1, L"桩号断链<前链尾桩号>"), At(0, 8, L""), F(0, 2, L"桩号断链<后链首桩号>"), F(0, 3, L"")}},
        {L"小写.dl", 1, L"桩号断链文件", L"  1200.000,,\t1180.000\n",
         {At(0, 1, L""), F(0, 1, L"桩号断链<前链尾桩号>"), At(0, 12, L"桩号断链<后链首桩号>"),
          F(0, 2, L"桩号断链<后链首桩号>")}},
        {L"一号路.HDM", 2, L"标准横断面宽度文件", L"0 3.75 0.75\n", {F(0, 3, L"TAVIX2.X版标准横断面宽度文件(*.HDM)")}},
        {L"一号路.CG", 3, L"超高文件", L"0 -2 -2\n", {F(0, 2, L"TAVIX2.X版超高文件(*.CG)")}},
        {L"一号路.GZW", 4, L"平面构造物定义文件",
         L"0 大桥 K1+200 90d 5 5 3*20 空心板 C 1.2 x\n"
         L"1 一号涵 1500 90d 2 1 1 2 100 VOID\n"
         L"2 通道 1600 90d 4 1 1 3 99 VOID\n"
         L"3 隧道 2000 500 6 7\n"
         L"8 路口 2500 30d 20 20 x\n"
         L"9 左口 2600 30d 20 20\n"
         L"10 右口 2700 30d 20 20\n"
         L"11 未知 1\n"
         L"\n"
         L"4 左幅桥\n",
         {F(0, 1, kKinds), F(0, 2, L"桥梁<名称>"), F(0, 10, L"桥梁<梁高(m)>\n用于纵断图中计算绘制高"), F(0, 11, L""),
          F(1, 1, L"涵洞<标示符>"), F(1, 3, L"涵洞<中心桩号>\n断链桩号示例:1000_2"), F(2, 5, L"通道<跨径(m)"),
          F(3, 5, L"隧道<隧道高度>"), F(3, 6, L"无效数据\n隧道信息只需5个数据段"),
          F(4, 7, L"无效数据\n平交口信息只需6个数据段"), F(5, 1, L"左侧平交口<标示符>"), F(6, 2, L"右侧平交口<名称>"),
          F(7, 1, L""), At(8, 0, L"构造物标识符(0~8).\n0:桥梁; 1:涵洞; 2:通道; 3:隧道;\n4:左幅桥;5右幅桥;6左幅隧道;7右幅隧道;8平交口."),
          F(9, 2, L"桥梁<名称>")}},
        {L"一号路.ST", 5, L"桩号文件", L"1000 起点\n1020_2 桥头 多余\n",
         {F(0, 1, L"桩号\n断链桩号示例:1000_2"), F(0, 2, L"桩号注释[字符:可选项]"), F(1, 3, L"格式错误")}},
        {L"一号路.JDX", 6, L"平面交点线文件",
         L"500000 3000000 12D3456 350 0\nL12D3456 400 100 800 100 P1\nR5D1030 300 6D2040 200 80 500 80 JD2\n"
         L"45D0000 200\nx 1\n",
         {F(0, 3, L"起点方位角\n12D3456表示: 12°34'56\""), F(0, 5, L"起点桩号<必填项>\n断链桩号示例:1500_2"),
          F(1, 1, L"导线偏角(L:左偏 R:右偏)\nL12D3456: 左偏12°34'56\""),
          F(1, 3, L"第一缓和曲线长度Ls1\n[虚交点时, 第二个偏角]"), F(1, 6, L"交点编号[可选项]"),
          F(2, 2, L"与下一交点的间距m"), F(2, 3, L"虚交点第二个偏角"), F(2, 8, L"虚交点: 交点编号[可选项]"),
          F(3, 1, L"导线方位角\n12D3456: 表示方位角为12°34'56\""),
          F(4, 1, L"导线角度: 偏角方式以L或R开头\n  方位角方式直接输入角度,如12D3456")}},
        {L"一号路.JD", 7, L"平面交点设计文件",
         L"-1 QD 3000 5000 0\n3 JD1 3100 5100 1e8 L80 500 L80 1e8\n0 ZD 1 2\n"
         L"5 JD2 1 2 1e8 100 400 100 600 100 1e8 0\n31 JD3 1 2 3 4 1e8 L80 500 L80 1e8\n-2 ZD 1 2\n7 x\n",
         {F(0, 3, L"起点<Y坐标:必填项>"), F(0, 4, L"起点<起点桩号:必填项>"), F(0, 5, L""),
          F(1, 6, L"三单元平曲线<必填项>\n<圆半径:必填项>"),
          F(1, 9, L""), F(2, 2, L"转折点<X坐标:必填项>"), F(3, 11, L"五单元控制参数<必填项>\n0表示两圆弧等长,否则表示第一圆弧长"),
          F(3, 12, L""), F(4, 3, L"虚交点1<Y坐标:必填项>"), F(4, 4, L"虚交点2<X坐标:必填项>"), F(5, 1, L"终点<标示符>"), F(6, 1, L"")}},
        {L"一号路.ICD", 8, L"平面积木法单元数据文件",
         L"//单元\n0\n3000 5000 0.5\n1 100 0.5\n2 500 100 1\n3 200 500 -1\n5 200 500 800 1\n0 0 0\n",
         {F(1, 1, L"起点桩号<实数:必填项>\n断链桩号示例:1500_2"), F(2, 3, L"起点方位角<弧度:必填项>"),
          F(3, 3, L"直线<后续单元起始方位角(弧度):可选项>"), F(4, 4, L"圆曲线<转向(1:右转;-1：左转):必填项>"),
          F(5, 2, L"缓和曲线∞→R<必填项>\n<回旋参数A值>"), F(6, 5, L"缓和曲线R大→R小<必填项>\n<转向(1:右转;-1：左转)>"),
          F(7, 2, L"结束行<标示符:必填项>\n0 0 0")}},
        {L"控制点.ZBD", 9, L"平面坐标点文件", L"0 K1 100 200 10\n1 BM1 1 2 3 备注\n",
         {F(0, 3, L"坐标控制点X坐标<实数:必填项>"), F(1, 1, L"水准点<标示符:必填项>"), F(1, 6, L"")}},
        {L"一号路.INF", 10, L"平面逐桩坐标文件", L"0 3000 5000 0.5\n", {F(0, 4, L"切线方位角<弧度:必填项>")}},
        {L"变速.BSD", 11, L"变速车道参数文件", L"平行式 1/25 3.5 0\n", {F(0, 2, L"渐变率<1/N, 实数:必填项>")}},
        {L"一号路.SQX", 12, L"纵断面竖曲线文件", L"0 100\n500 110 8000\n1100 104 0\n//终点之后的注释\n",
         {F(0, 1, L"起点桩号<必填项>\n断链桩号示例:1500_2"), F(1, 2, L"变坡点高程<实数(m):必填项>"),
          F(1, 3, L"竖曲线半径<实数(m):必填项>"), F(2, 3, L"竖曲线半径<实数(m):必填项\n终点可不填>")}},
        {L"一号路.DMX", 13, L"纵断面地面线文件", L"0 99.5\n200 101.2\n",
         {F(0, 1, L"桩号<必填项>\n断链桩号示例:1500_2"), F(1, 2, L"地面高程<实数(m):必填项>")}},
        {L"一号路.KZD", 14, L"纵断面拉坡控制点文件", L"1000 105 0 1 NULL NULL 12\n",
         {F(0, 3, L"控制类型，0:上限高程; 1:下限高程; 2:必经高程:必填项>"), F(0, 7, L"宽度表达式\n为空时输入NULL")}},
        {L"断面.TYP", 15, L"纵断图断面类型文件", L"0 500 填方 M 1 1\n", {F(0, 6, L"终点桩号断链号[整数:可选项]")}},
        {L"地质.DGK", 16, L"纵断图地质概况文件", L"0 500 粘土\n", {F(0, 3, L"地质概况描述<文字:必填项>")}},
        {L"街沟.JGS", 17, L"纵断图街沟设计文件", L"0 99\n", {F(0, 2, L"街沟变坡点高程<实数(m):必填项>")}},
        {L"标注.BZ", 18, L"纵断图标注文件",
         L"0 1200 右 左\n1 1300 98.5 洪水 HS\n2 1350 99 上 下 GY\n3 1400 100 12 5 4.5 路 净空\n4 1500 90 80 6 88 85 航道\n"
         L"5 1600 100 12 5 4.5 KX\n",
         {F(0, 1, L"标注物类型(0~5)\n0:桩号标注; 1:洪水位; 2:高压线; 3:被交道路净空; 4:航道; 5:跨线桥"),
          F(0, 4, L"左侧标注文字\n$Z桩号"), F(1, 3, L"高程(m)"),
          F(1, 4, L"洪水位标注文字\n$Z桩号, $E高程, $W宽度, $H高度, \\P换行"),
          F(2, 6, L"高压线图块名[可选项]\n不输入则使用默认图块"),
          F(3, 8, L"净空标注文字\n$Z桩号, $E高程, $W宽度, $H高度, \\P换行"), F(4, 7, L"最低通航水位(m)"),
          F(5, 7, L"跨线桥图块名[可选项]\n不输入则使用默认图块")}},
        {L"基点.JGC", 19, L"纵断图基点高程文件", L"0 95\n", {F(0, 1, L"高程分段桩号<必填项>\n断链桩号示例:1500_2")}},
        {L"一号路.HDX", 20, L"横断面地面线文件", L"ABS\n1000\n-1 100 -5 98\n2 101 6 103\n",
         {F(0, 1, L"地面线数据格式[ABS/ABS1/不填为抬竿法:可选项]"), F(1, 1, L"横断面地面线桩号<必填项>\n断链桩号示例:1500_2"),
          F(2, 1, L"左侧点到中桩的距离<m:必填项>"), F(2, 2, L"左侧点的高程<m:必填项>"),
          F(3, 4, L"右侧点的高程<m:必填项>")}},
        {L"表土.BTG", 21, L"表土厚度文件", L"0 500 0.3 0.3 all true\n",
         {F(0, 6, L"挖方段是否清表:true/false<字符:必填项>")}},
        {L"土石.TSB", 22, L"土石比例文件", L"1.23 1.16 1.09 0.92 0.92 0.92\n0 0.5 0.5 0.1 0.2 0.3 0.2 0.1 0.1\n",
         {F(0, 1, L"松土压实系数（天然方/压实方）  \n如:二级路以上1.23，三四级路1.05<必填项>"),
          F(1, 9, L"坚石挖方比例系数\n<实数0~1:必填项>")}},
        {L"老路.LLB", 23, L"老路加宽文件", L"FC 0.1 0.2 0.3 0.2 0.1\n1000 -3.5 3.5\n",
         {F(0, 3, L"第2层厚度<实数(m):必填项>"),
          F(1, 3, L"老路路面右边缘位于新路中心线的偏距\n(左侧为-、右侧为+)<实数(m):必填项>")}},
        {L"横净距.HJJ", 24, L"横净距文件", L"1000 -3\n", {F(0, 2, L"横净距<左-右+>")}},
        {L"占地.ZDK", 25, L"占地宽度文件", L"1000 1000 -20 20\n", {F(0, 3, L"左侧占地宽<必须小于0>")}},
        {L"断面.ARE", 26, L"横断面图信息文件", L"1000 100 1 2 3 4 5 6 7 8 9 0 无\n", {F(0, 13, L"备注")}},
        {L"桥梁.QL", 27, L"桥梁桩号范围文件", L"1000 1100\n", {F(0, 2, L"桥梁终点桩号<必填项>\n断链桩号示例:1500_2")}},
        {L"台阶.WTJ", 28, L"挖台阶参数文件", L"0 500 5 4 2 3 6\n", {F(0, 7, L"台阶最大宽度m<必填项>")}},
        // Extensions the table does not know: type 29, no descriptions.
        {L"一号路.GZX", 29, nullptr, L"0 大桥 1200\n", {F(0, 1, L"")}},
        {L"说明.txt", 29, L"文本文件", L"1 2\n", {F(0, 1, L"")}},
        {L"road.epj.bak", 29, nullptr, L"项目\n", {F(0, 1, L"")}},
    };
    return cases;
}

} // namespace

TEST(DataFileTypes, EachTypeOpensWithItsTitleAndFieldDescriptions)
{
    StartProgram();
    DataFolder folder(L"types");
    ASSERT_EQ(29, theApp.m_FileStyles.GetSize());
    for (const TypeCase& c : Cases()) {
        SCOPED_TRACE(Utf8(c.file));
        const CString path = folder.Write(c.file, c.text);
        CBriskoDoc* document = Open(path);
        ASSERT_NE(nullptr, document);
        CBriskoView* view = ViewOf(document);
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(c.type, document->GetFileType());
        EXPECT_EQ(c.type, CBriskoDoc::GetFileTypeIndex(path));
        if (c.typeName)
            EXPECT_EQ(path + L":[" + c.typeName + L"]", document->GetTitle());
        else
            EXPECT_EQ(CString(c.file), document->GetTitle());
        EXPECT_FALSE(document->IsModified());
        for (const Probe& probe : c.probes) {
            const CString line = Lines(document)[static_cast<size_t>(probe.line)];
            const int column = probe.field ? FieldStart(line, probe.field) : probe.column;
            SCOPED_TRACE(::testing::Message() << "line " << probe.line << " field " << probe.field << " column "
                                              << column);
            ASSERT_GE(column, 0);
            Place(view, probe.line, column);
            EXPECT_EQ(CString(probe.expected), view->GetFieldDescription());
        }
        document->OnCloseDocument();
    }
    wintest::PumpUntilIdle();
}

TEST(DataFileTypes, AFieldIsCountedFromRunsOfSeparators)
{
    const struct {
        const wchar_t* text;
        int column;
        int field;
    } cases[] = {
        {L"1200.000 1180.000", 0, 1},  {L"1200.000 1180.000", 8, 0},  {L"1200.000 1180.000", 9, 2},
        {L"1200.000 1180.000", 17, 2}, {L"  12 34", 1, 0},            {L"  12 34", 2, 1},
        {L"  12 34", 5, 2},            {L"1,,\t 2 ,3", 5, 2},          {L"1,,\t 2 ,3", 8, 3},
        {L"a b", 3, 2},                {L"", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << Utf8(c.text) << " @" << c.column);
        EXPECT_EQ(c.field, FieldNumberAt(c.text, static_cast<int>(wcslen(c.text)), c.column));
    }
    const struct {
        const wchar_t* text;
        bool comment;
    } lines[] = {{L"//x", true}, {L" \t//", true}, {L"//", true}, {L"/", false}, {L" /", false},
                 {L"x//", false}, {L"\\\\x", false}};
    for (const auto& l : lines)
        EXPECT_EQ(l.comment, IsCommentLine(l.text, static_cast<int>(wcslen(l.text)))) << Utf8(l.text);
}
