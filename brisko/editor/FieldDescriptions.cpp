#include "brisko/editor/FieldDescriptions.h"
#include "brisko/editor/TvTextBuffer.h"
#include "brisko/shell/BriskoApp.h"
#include <cwchar>
#include <string>

sHdxSection CurHdxSection;

namespace {

// File types (indexes into the file-style table).
enum : int {
    kDesignSegments = 0, // FD
    kBreakChain = 1,     // DL
    kWidths = 2,         // HDM
    kSuperelevation = 3, // CG
    kStructures = 4,     // GZW
    kStations = 5,       // ST
    kTraverse = 6,       // JDX
    kIntersections = 7,  // JD
    kUnits = 8,          // ICD
    kPoints = 9,         // ZBD
    kCoordinates = 10,   // INF
    kTransitions = 11,   // BSD
    kCurves = 12,        // SQX
    kGroundLine = 13,    // DMX
    kControls = 14,      // KZD
    kSectionTypes = 15,  // TYP
    kGeology = 16,       // DGK
    kGutter = 17,        // JGS
    kAnnotations = 18,   // BZ
    kBaseLevels = 19,    // JGC
    kCrossSections = 20, // HDX
    kTopsoil = 21,       // BTG
    kEarthRatios = 22,   // TSB
    kOldRoad = 23,       // LLB
    kSightClearance = 24, // HJJ
    kLandTake = 25,      // ZDK
    kEarthwork = 26,     // ARE
    kBridges = 27,       // QL
    kBenching = 28,      // WTJ
};

const wchar_t kStationChained[] = L"桩号<必填项>\n断链桩号示例:1500_2";

// The text of field `field` (from 1) of a list; empty beyond it.
template <size_t N>
CString Pick(const wchar_t* const (&texts)[N], int field)
{
    return field >= 1 && field <= static_cast<int>(N) ? CString(texts[field - 1]) : CString();
}

// -- structures (GZW) ---------------------------------------------------------

const wchar_t kStructureKinds[] =
    L"构造物标识符(0~8).\n0:桥梁; 1:涵洞; 2:通道; 3:隧道;\n4:左幅桥;5右幅桥;6左幅隧道;7右幅隧道;8平交口;9左侧平交口;"
    L"10右侧平交口.";
const wchar_t kStructureKindsShort[] =
    L"构造物标识符(0~8).\n0:桥梁; 1:涵洞; 2:通道; 3:隧道;\n4:左幅桥;5右幅桥;6左幅隧道;7右幅隧道;8平交口.";
const wchar_t* const kBridge[] = {
    kStructureKinds,
    L"桥梁<名称>",
    L"桥梁<桩号>\n默认起点桩号，含起点桥台长度\n首字母为C时表示桥梁中心桩号",
    L"桥梁<斜交角(d'\"格式)>\n起终点斜交角不同用_分隔.\n示例:10d10'10\"_15d10'10\"",
    L"桥梁<起点桥台长>",
    L"桥梁<终点桥台长>",
    L"桥梁<跨径描述>\n如:15+3*20+15",
    L"桥梁<上部结构描述>\n如:预应力空心板",
    L"桥梁<中心位置>\n用于确定桥梁标注位置",
    L"桥梁<梁高(m)>\n用于纵断图中计算绘制高",
};
const wchar_t* const kCulvert[] = {
    L"涵洞<标示符>",
    L"涵洞<名称>",
    L"涵洞<中心桩号>\n断链桩号示例:1000_2",
    L"涵洞<斜交角(d'\"格式)>",
    L"涵洞<跨径(m)>",
    L"涵洞<左附加涵长(m)>\n路肩外延伸长度",
    L"涵洞<右附加涵长(m)>\n路肩外延伸长度",
    L"涵洞<高度(m)>\n用于纵断图中计算图块高度",
    L"涵洞<中心桩号底标高(m)>\n用于纵断图中计算插入位置",
    L"涵洞<图块名>\n纵断图调用图块, VOID表示默认图块.",
};
const wchar_t* const kPassage[] = {
    L"通道<标示符>",
    L"通道<名称>",
    L"通道<中心桩号>\n断链桩号示例:1000_2",
    L"通道<斜交角(d'\"格式)>",
    L"通道<跨径(m)",
    L"通道<左附加涵长(m)>\n路肩外延伸长度",
    L"通道<右附加涵长(m)>\n路肩外延伸长度",
    L"通道<高度(m)>\n用于纵断图中计算图块高度",
    L"通道<中心桩号底标高(m)>\n用于纵断图中计算插入位置",
    L"通道<图块名>\n纵断图调用图块, VOID表示默认图块.",
};
const wchar_t* const kTunnel[] = {
    L"隧道<标示符>",
    L"隧道<名称>",
    L"隧道<起点桩号>\n默认为隧道起点桩号\n首字母为C时表示桥梁中心桩号",
    L"隧道<隧道长度>",
    L"隧道<隧道高度>",
};
const wchar_t* const kCrossing[] = {
    L"平交口<标示符>",
    L"平交口<名称>",
    L"平交口<交叉桩号>\n断链桩号示例:1000_2",
    L"平交口<斜交角>\n示例:25d35'20\"",
    L"平交口<前段长度m>\n交叉点至平交口起点桩号差",
    L"平交口<后段长度m>\n交叉点至平交口终点桩号差",
};
const wchar_t* const kLeftCrossing[] = {
    L"左侧平交口<标示符>",
    L"左侧平交口<名称>",
    L"左侧平交口<交叉桩号>\n断链桩号示例:1000_2",
    L"左侧平交口<斜交角>\n示例:25d35'20\"",
    L"左侧平交口<前段长度m>\n交叉点至平交口起点桩号差",
    L"左侧平交口<后段长度m>\n交叉点至平交口终点桩号差",
};
const wchar_t* const kRightCrossing[] = {
    L"右侧平交口<标示符>",
    L"右侧平交口<名称>",
    L"右侧平交口<交叉桩号>\n断链桩号示例:1000_2",
    L"右侧平交口<斜交角>\n示例:25d35'20\"",
    L"右侧平交口<前段长度m>\n交叉点至平交口起点桩号差",
    L"右侧平交口<后段长度m>\n交叉点至平交口终点桩号差",
};

// -- intersection points (JD) ------------------------------------------------------

const wchar_t* const kTurningPoint[] = {L"转折点<标示符>", L"转折点<X坐标:必填项>", L"转折点<Y坐标:必填项>"};
const wchar_t* const kThreeUnitCurve[] = {
    L"三单元平曲线<必填项>\n<标示符>",
    L"三单元平曲线交点<X坐标:必填项>",
    L"三单元平曲线交点<Y坐标:必填项>",
    L"三单元平曲线<必填项>\n<第一缓和曲线起点半径>",
    L"三单元平曲线<必填项>\n<第一缓和曲线A值, 数字前加L表示输入长度>",
    L"三单元平曲线<必填项>\n<圆半径:必填项>",
    L"三单元平曲线<必填项>\n<第二缓和曲线A值, 数字前加L表示输入长度>",
    L"三单元平曲线<必填项>\n<第二缓和曲线终点半径>",
};
const wchar_t* const kThreeUnitHairpin[] = {
    L"三单元回头曲线<必填项>\n<标示符>",
    L"三单元回头曲线<必填项>\n<起点X坐标>",
    L"三单元回头曲线<必填项>\n<起点Y坐标>",
    L"三单元回头曲线<必填项>\n<终点X坐标>",
    L"三单元回头曲线<必填项>\n<终点Y坐标>",
    L"三单元回头曲线<必填项>\n<第一缓和曲线起点半径>",
    L"三单元回头曲线<必填项>\n<第一缓和曲线A值, 数字前加L表示输入长度>",
    L"三单元回头曲线<必填项>\n<圆半径>",
    L"三单元回头曲线<必填项>\n<第二缓和曲线A值, 数字前加L表示输入长度>",
    L"三单元回头曲线<必填项>\n<第二缓和曲线终点半径:必填项>",
};
const wchar_t* const kFiveUnitCurve[] = {
    L"五单元平曲线<必填项>\n<标示符>",
    L"五单元平曲线交点<X坐标:必填项>",
    L"五单元平曲线交点<Y坐标:必填项>",
    L"五单元平曲线<必填项>\n<第一缓和曲线起点半径>",
    L"五单元平曲线<必填项>\n<第一缓和曲线A值, 数字前加L表示输入长度>",
    L"五单元平曲线<必填项>\n<第一圆曲线半径>",
    L"五单元平曲线<必填项>\n<第二缓和曲线A值, 数字前加L表示输入长度>",
    L"五单元平曲线<必填项>\n<第二圆曲线半径>",
    L"五单元平曲线<必填项>\n<第三缓和曲线A值, 数字前加L表示输入长度>",
    L"五单元平曲线<必填项>\n<第三缓和曲线终点半径>",
    L"五单元控制参数<必填项>\n0表示两圆弧等长,否则表示第一圆弧长",
};
const wchar_t* const kFiveUnitHairpin[] = {
    L"五单元回头曲线<必填项>\n<标示符>",
    L"五单元回头曲线<必填项>\n<起点X坐标>",
    L"五单元回头曲线<必填项>\n<起点Y坐标>",
    L"五单元回头曲线<必填项>\n<终点X坐标>",
    L"五单元回头曲线<必填项>\n<终点Y坐标>",
    L"五单元回头曲线<必填项>\n<第一缓和曲线起点半径>",
    L"五单元回头曲线<必填项>\n<第一缓和曲线A值, 数字前加L表示输入长度>",
    L"五单元回头曲线<必填项>\n<第一圆曲线半径>",
    L"五单元回头曲线<必填项>\n<第二缓和曲线A值, 数字前加L表示输入长度>",
    L"五单元回头曲线<必填项>\n<第二圆曲线半径>",
    L"五单元回头曲线<必填项>\n<第三缓和曲线A值, 数字前加L表示输入长度>",
    L"五单元回头曲线<必填项>\n<第三缓和曲线终点半径>",
};
const wchar_t* const kVirtualCurve[] = {
    L"虚交点三单元平曲线<必填项>\n<标示符>",
    L"虚交点1<X坐标:必填项>",
    L"虚交点1<Y坐标:必填项>",
    L"虚交点2<X坐标:必填项>",
    L"虚交点2<Y坐标:必填项>",
    L"三单元平曲线<必填项>\n<第一缓和曲线起点半径>",
    L"三单元平曲线<必填项>\n<第一缓和曲线A值, 数字前加L表示输入长度>",
    L"三单元平曲线<必填项>\n<圆半径:必填项>",
    L"三单元平曲线<必填项>\n<第二缓和曲线A值, 数字前加L表示输入长度>",
    L"三单元平曲线<必填项>\n<第二缓和曲线终点半径>",
};
const wchar_t* const kStartPoint[] = {L"起点<标示符>", L"起点<X坐标:必填项>", L"起点<Y坐标:必填项>",
                                      L"起点<起点桩号:必填项>"};
const wchar_t* const kEndPoint[] = {L"终点<标示符>", L"终点<X坐标:必填项>", L"终点<Y坐标:必填项>"};

// -- alignment units (ICD) ------------------------------------------------------

const wchar_t* const kUnitsStart[] = {L"起点X坐标<必填项>", L"起点Y坐标<必填项>", L"起点方位角<弧度:必填项>"};
const wchar_t* const kUnitLine[] = {L"直线<标示符:必填项>", L"直线<单元长度(m):必填项>",
                                    L"直线<后续单元起始方位角(弧度):可选项>"};
const wchar_t* const kUnitArc[] = {L"圆曲线<标示符:必填项>", L"圆曲线<半径(m):必填项>", L"圆曲线<长度(m):必填项>",
                                   L"圆曲线<转向(1:右转;-1：左转):必填项>"};
const wchar_t* const kUnitSpiralIn[] = {L"缓和曲线∞→R<必填项>\n<标示符>", L"缓和曲线∞→R<必填项>\n<回旋参数A值>",
                                        L"缓和曲线∞→R<必填项>\n<终点半径(m)>",
                                        L"缓和曲线∞→R<必填项>\n<转向(1:右转;-1：左转)>"};
const wchar_t* const kUnitSpiralOut[] = {L"缓和曲线R→∞<必填项>\n<标示符>", L"缓和曲线R→∞<必填项>\n<回旋参数A值>",
                                         L"缓和曲线R→∞<必填项>\n<起点半径(m)>",
                                         L"缓和曲线R→∞<必填项>\n<转向(1:右转;-1：左转)>"};
const wchar_t* const kUnitSpiralDown[] = {
    L"缓和曲线R大→R小<必填项>\n<标示符>", L"缓和曲线R大→R小<必填项>\n<回旋参数A值>",
    L"缓和曲线R大→R小<必填项>\n<起点半径(m)>", L"缓和曲线R大→R小<必填项>\n<终点半径(m)>",
    L"缓和曲线R大→R小<必填项>\n<转向(1:右转;-1：左转)>"};
const wchar_t* const kUnitSpiralUp[] = {
    L"缓和曲线R小→R大<必填项>\n<标示符>", L"缓和曲线R小→R大<必填项>\n<回旋参数A值>",
    L"缓和曲线R小→R大<必填项>\n<起点半径(m)>", L"缓和曲线R小→R大<必填项>\n<终点半径(m)>",
    L"缓和曲线R小→R大<必填项>\n<转向(1:右转;-1：左转)>"};

// -- one list per type -----------------------------------------------------------

const wchar_t* const kBreakChainFields[] = {L"桩号断链<前链尾桩号>", L"桩号断链<后链首桩号>"};
const wchar_t* const kStationFields[] = {L"桩号\n断链桩号示例:1000_2", L"桩号注释[字符:可选项]"};
const wchar_t* const kPointFields[] = {L"<标示符:必填项>", L"名称<字符:必填项>", L"X坐标<实数:必填项>",
                                       L"Y坐标<实数:必填项>", L"Z坐标<实数:必填项>"};
const wchar_t* const kCoordinateFields[] = {kStationChained, L"X坐标<必填项>", L"Y坐标<必填项>",
                                            L"切线方位角<弧度:必填项>"};
const wchar_t* const kTransitionFields[] = {L"类型描述文字<必填项>", L"渐变率<1/N, 实数:必填项>",
                                            L"偏置宽W2<实数:必填项>", L"偏置宽W3<实数:必填项>"};
const wchar_t* const kGroundLineFields[] = {kStationChained, L"地面高程<实数(m):必填项>"};
const wchar_t* const kControlFields[] = {
    kStationChained,
    L"控制点高程<实数(m):必填项>",
    L"控制类型，0:上限高程; 1:下限高程; 2:必经高程:必填项>",
    L"标注对齐方式，0:左对齐; 1:居中对齐; 2:右对齐:必填项>",
    L"控制点描述\n为空时输入NULL",
    L"净空表达式\n为空时输入NULL",
    L"宽度表达式\n为空时输入NULL",
};
const wchar_t* const kSectionTypeFields[] = {
    L"断面起点桩号<必填项>",
    L"断面终点桩号<必填项>",
    L"断面描述<文字:必填项>",
    L"位置标示符，L:道路左侧; M:道路两侧; R:道路右侧:必填项>",
    L"起点桩号断链号[整数:可选项]",
    L"终点桩号断链号[整数:可选项]",
};
const wchar_t* const kGeologyFields[] = {L"起点桩号<必填项>\n断链桩号示例:1500_2", L"终点桩号<必填项>\n断链桩号示例:1500_2",
                                         L"地质概况描述<文字:必填项>"};
const wchar_t* const kGutterFields[] = {L"街沟变坡点桩号<必填项>\n断链桩号示例:1500_2",
                                        L"街沟变坡点高程<实数(m):必填项>"};
const wchar_t* const kBaseLevelFields[] = {L"高程分段桩号<必填项>\n断链桩号示例:1500_2", L"高程<实数(m):必填项>"};
const wchar_t* const kTopsoilFields[] = {
    L"清表起点桩号<必填项>\n断链桩号示例:1500_2",
    L"清表终点桩号<必填项>\n断链桩号示例:1500_2",
    L"起点表土厚度<实数(m):必填项>",
    L"终点表土厚度<实数(m):必填项>",
    L"位置:left/right/all<字符:必填项>",
    L"挖方段是否清表:true/false<字符:必填项>",
};
const wchar_t* const kCompactionFields[] = {
    L"松土压实系数（天然方/压实方）  \n如:二级路以上1.23，三四级路1.05<必填项>",
    L"普通土压实系数（天然方/压实方）\n如:二级路以上1.16，三四级路1.05<必填项>",
    L"硬土压实系数（天然方/压实方）  \n如:二级路以上1.09，三四级路1.05<必填项>",
    L"软石压实系数（天然方/压实方）  \n如:二级路以上0.92,三四级路0.84<必填项>",
    L"次坚石压实系数（天然方/压实方）\n如:二级路以上0.92,三四级路0.84<必填项>",
    L"坚石压实系数（天然方/压实方）  \n如:二级路以上0.92,三四级路0.84<必填项>",
};
const wchar_t* const kEarthRatioFields[] = {
    L"段落起始桩号<必填项>\n断链桩号示例:1500_2",
    L"填土比例<实数0~1:必填项>",
    L"填石比例<实数0~1:必填项>",
    L"松土挖方比例系数\n<实数0~1:必填项>",
    L"普通土挖方比例系数\n<实数0~1:必填项>",
    L"硬土挖方比例系数\n<实数0~1:必填项>",
    L"软石挖方比例系数\n<实数0~1:必填项>",
    L"次坚石挖方比例系数\n<实数0~1:必填项>",
    L"坚石挖方比例系数\n<实数0~1:必填项>",
};
const wchar_t* const kLayerFields[] = {
    L"分层标志符<必填项>",       L"第1层厚度<实数(m):必填项>", L"第2层厚度<实数(m):必填项>",
    L"第3层厚度<实数(m):必填项>", L"第4层厚度<实数(m):必填项>", L"第5层厚度<实数(m):必填项>",
};
const wchar_t* const kOldRoadFields[] = {
    L"老路变宽桩号<必填项>\n断链桩号示例:1500_2",
    L"老路路面左边缘位于新路中心线的偏距\n(左侧为-、右侧为+)<实数(m):必填项>",
    L"老路路面右边缘位于新路中心线的偏距\n(左侧为-、右侧为+)<实数(m):必填项>",
};
const wchar_t* const kSightFields[] = {kStationChained, L"横净距<左-右+>"};
const wchar_t* const kLandTakeFields[] = {L"计算桩号", L"标注桩号", L"左侧占地宽<必须小于0>", L"右侧占地宽<必须大于0>"};
const wchar_t* const kEarthworkFields[] = {
    L"计算桩号<整链，实数>",
    L"中桩设计高程m",
    L"中桩填挖高度m",
    L"断面填方面积\n不包含清表、挖台阶面积",
    L"断面挖方面积\n不包含清表、挖台阶面积",
    L"填方清表面积",
    L"挖方清表面积",
    L"挖方清表回填面积",
    L"断面挖台阶面积",
    L"左侧挖台阶宽度",
    L"右侧挖台阶宽度",
    L"无边坡范围起点标志(0/1)\n表示本桩与下一桩之间左右侧都无边坡",
    L"备注",
};
const wchar_t* const kBridgeFields[] = {L"桥梁起点桩号<必填项>\n断链桩号示例:1500_2",
                                        L"桥梁终点桩号<必填项>\n断链桩号示例:1500_2"};
const wchar_t* const kBenchingFields[] = {
    L"起点桩号<必填项>\n断链桩号示例:1500_2",
    L"终点桩号<必填项>\n断链桩号示例:1500_2",
    L"横地线最小横坡<必填项>\n1:n时输入n",
    L"台阶底面向内侧倾斜的横坡<必填项>\nm%时输入m",
    L"台阶宽度m<必填项>",
    L"设台阶的横地线段最小宽度m<必填项>",
    L"台阶最大宽度m<必填项>",
};

// -- traverse (JDX) ---------------------------------------------------------------

const wchar_t* const kTraverseStart[] = {
    L"起点坐标X(E)",
    L"起点坐标Y(N)",
    L"起点方位角\n12D3456表示: 12°34'56\"",
    L"起点与下一个交点距离",
    L"起点桩号<必填项>\n断链桩号示例:1500_2",
};
const wchar_t* const kTraversePoint[] = {L"第一缓和曲线长度Ls1\n[虚交点时, 第二个偏角]", L"圆曲线半径R",
                                         L"第二缓和曲线长度Ls2", L"交点编号[可选项]"};
const wchar_t* const kTraverseVirtual[] = {L"虚交点第二个偏角",        L"虚交点: 与下一交点的间距m",
                                           L"虚交点: 第一缓和曲线长度Ls1", L"虚交点: 圆曲线半径R",
                                           L"虚交点: 第二缓和曲线长度Ls2", L"虚交点: 交点编号[可选项]"};

// -- annotations (BZ) -----------------------------------------------------------------

const wchar_t kAnnotationKinds[] = L"标注物类型(0~5)\n0:桩号标注; 1:洪水位; 2:高压线; 3:被交道路净空; 4:航道; 5:跨线桥";
const wchar_t kAnnotationText[] = L"$Z桩号, $E高程, $W宽度, $H高度, \\P换行";

// -- helpers ----------------------------------------------------------------------------

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }
bool IsSeparator(wchar_t c) { return c == L'\t' || c == L' ' || c == L','; }
bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The first character after leading blanks; 0 for a blank line.
wchar_t FirstChar(const wchar_t* text, int length)
{
    for (int i = 0; i < length; ++i)
        if (!IsBlank(text[i])) return text[i];
    return 0;
}

// The integer the line starts with (after blanks); 0 when it starts with
// no number.
int KindCode(const CString& line)
{
    std::wstring text(line.GetString());
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

// The first data line of the file; -1 when it has none.
int FirstDataLine(const CFieldLines& lines) { return lines.NextData(-1); }

CString StructureField(const CFieldLines& lines, int line, int field)
{
    if (FirstChar(lines.Text(line), lines.Length(line)) == 0) return kStructureKindsShort;
    switch (KindCode(lines.Line(line))) {
    case 0:
    case 4:
    case 5: return Pick(kBridge, field);
    case 1: return Pick(kCulvert, field);
    case 2: return Pick(kPassage, field);
    case 3:
    case 6:
    case 7: return field > 5 ? CString(L"无效数据\n隧道信息只需5个数据段") : Pick(kTunnel, field);
    case 8: return field > 6 ? CString(L"无效数据\n平交口信息只需6个数据段") : Pick(kCrossing, field);
    case 9: return field > 6 ? CString(L"无效数据\n平交口信息只需6个数据段") : Pick(kLeftCrossing, field);
    case 10: return field > 6 ? CString(L"无效数据\n平交口信息只需6个数据段") : Pick(kRightCrossing, field);
    default: return CString();
    }
}

CString TraverseField(const CFieldLines& lines, int line, int field)
{
    if (line == FirstDataLine(lines)) return Pick(kTraverseStart, field);
    const CString text = lines.Line(line);
    if (field == 1) {
        const wchar_t first = FirstChar(text, text.GetLength());
        if (first == L'R' || first == L'r' || first == L'L' || first == L'l')
            return L"导线偏角(L:左偏 R:右偏)\nL12D3456: 左偏12°34'56\"";
        if (IsDigit(first)) return L"导线方位角\n12D3456: 表示方位角为12°34'56\"";
        return L"导线角度: 偏角方式以L或R开头\n  方位角方式直接输入角度,如12D3456";
    }
    if (field == 2) return L"与下一交点的间距m";
    int marks = 0;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] == L'D' || text[i] == L'd') ++marks;
    return marks <= 1 ? Pick(kTraversePoint, field - 2) : Pick(kTraverseVirtual, field - 2);
}

CString IntersectionField(const CFieldLines& lines, int line, int field)
{
    switch (KindCode(lines.Line(line))) {
    case 0: return Pick(kTurningPoint, field);
    case 3: return Pick(kThreeUnitCurve, field);
    case 4: return Pick(kThreeUnitHairpin, field);
    case 5: return Pick(kFiveUnitCurve, field);
    case 6: return Pick(kFiveUnitHairpin, field);
    case 31: return Pick(kVirtualCurve, field);
    case -1: return Pick(kStartPoint, field);
    case -2: return Pick(kEndPoint, field);
    default: return CString();
    }
}

CString UnitField(const CFieldLines& lines, int line, int field)
{
    const int first = FirstDataLine(lines);
    if (line == first) return field == 1 ? CString(L"起点桩号<实数:必填项>\n断链桩号示例:1500_2") : CString();
    if (first >= 0 && line == lines.NextData(first)) return Pick(kUnitsStart, field);
    const CString text = lines.Line(line);
    switch (KindCode(text)) {
    case 0:
        if (FirstChar(text, text.GetLength()) == L'0' && field <= 3) return L"结束行<标示符:必填项>\n0 0 0";
        return CString();
    case 1: return Pick(kUnitLine, field);
    case 2: return Pick(kUnitArc, field);
    case 3: return Pick(kUnitSpiralIn, field);
    case 4: return Pick(kUnitSpiralOut, field);
    case 5: return Pick(kUnitSpiralDown, field);
    case 6: return Pick(kUnitSpiralUp, field);
    default: return CString();
    }
}

CString CurveField(const CFieldLines& lines, int line, int field)
{
    const bool first = line == FirstDataLine(lines);
    const CString prefix = first ? L"起点" : L"变坡点";
    switch (field) {
    case 1: return prefix + kStationChained;
    case 2: return prefix + L"高程<实数(m):必填项>";
    case 3:
        if (first) return CString();
        // The last point may leave its radius out.
        if (lines.NextData(line) < 0) return L"竖曲线半径<实数(m):必填项\n终点可不填>";
        return L"竖曲线半径<实数(m):必填项>";
    default: return CString();
    }
}

CString AnnotationField(const CFieldLines& lines, int line, int field)
{
    if (field == 1) return kAnnotationKinds;
    const int kind = KindCode(lines.Line(line));
    if (kind < 0 || kind > 5) return CString();
    if (field == 2) return L"桩号\n断链桩号示例:1500_2";
    if (kind == 0) {
        if (field == 3) return L"右侧标注文字\n$Z桩号";
        if (field == 4) return L"左侧标注文字\n$Z桩号";
        return CString();
    }
    if (field == 3) return L"高程(m)";
    switch (kind) {
    case 1:
        if (field == 4) return CString(L"洪水位标注文字\n") + kAnnotationText;
        if (field == 5) return L"洪水位图块名[可选项]\n不输入则使用默认图块";
        return CString();
    case 2:
        if (field == 4) return CString(L"上标注文字\n") + kAnnotationText;
        if (field == 5) return CString(L"下标注文字\n") + kAnnotationText;
        if (field == 6) return L"高压线图块名[可选项]\n不输入则使用默认图块";
        return CString();
    default: break;
    }
    // The crossing road, the waterway and the overpass share width and
    // height.
    if (field == 4) return L"宽度(m)";
    if (field == 5) return L"高度(m)";
    switch (kind) {
    case 3:
        if (field == 6) return L"最不利点净高(m)";
        if (field == 7) return CString(L"道路标注文字\n") + kAnnotationText;
        if (field == 8) return CString(L"净空标注文字\n") + kAnnotationText;
        return CString();
    case 4:
        if (field == 6) return L"最高通航水位(m)";
        if (field == 7) return L"最低通航水位(m)";
        if (field == 8) return CString(L"航道标注文字\n") + kAnnotationText;
        return CString();
    default:
        if (field == 6) return L"最不利点净高(m)";
        if (field == 7) return L"跨线桥图块名[可选项]\n不输入则使用默认图块";
        return CString();
    }
}

CString CrossSectionField(const CFieldLines& lines, int line, int column, int field, FieldFindings& findings)
{
    const int first = FirstDataLine(lines);
    const bool formatLine = first >= 0 && IsAsciiLetter(FirstChar(lines.Text(first), lines.Length(first)));
    if (line == first && formatLine)
        return field == 1 ? CString(L"地面线数据格式[ABS/ABS1/不填为抬竿法:可选项]") : CString();

    const int format = first >= 0 ? HdxFormatOf(lines.Line(first)) : 1;
    int before = 0;
    for (int i = lines.NextData(-1); i >= 0 && i < line; i = lines.NextData(i)) ++before;
    if (formatLine) --before;
    const int place = ((before % 3) + 3) % 3;

    sHdxSection& section = findings.section;
    section.m_nFormat = static_cast<short>(format);
    findings.sectionChanged = true;
    auto text = [&](int i) { return i >= 0 ? lines.Line(i) : CString(); };
    if (place == 0) {
        const int left = lines.NextData(line);
        section.m_SStation = lines.Line(line);
        section.m_SLeft = text(left);
        section.m_SRight = text(left >= 0 ? lines.NextData(left) : -1);
        section.m_iCaret = 0;
        return field == 1 ? CString(L"横断面地面线桩号<必填项>\n断链桩号示例:1500_2") : CString();
    }
    if (place == 1) {
        section.m_SStation = text(lines.PreviousData(line));
        section.m_SLeft = lines.Line(line);
        section.m_SRight = text(lines.NextData(line));
        section.m_iCaret = column + 1;
    } else {
        const int left = lines.PreviousData(line);
        section.m_SLeft = text(left);
        section.m_SStation = text(left >= 0 ? lines.PreviousData(left) : -1);
        section.m_SRight = lines.Line(line);
        section.m_iCaret = -(column + 1);
    }
    if (format == 0) return L"未知的横断面地面线数据格式";
    const CString side = place == 1 ? L"左侧" : L"右侧";
    if (field % 2 == 1)
        return side + (format == 1 ? L"点到前点的距离<m:必填项>" : L"点到中桩的距离<m:必填项>");
    if (format == 1) return side + L"点与前点的高差<m:必填项>";
    if (format == 2) return side + L"点的高程<m:必填项>";
    return side + L"点与中桩的高差<m:必填项>";
}

// Whether a data line reads as a ground point.
bool ReadGroundPoint(const CFieldLines& lines, int line, sGroundPoint& point)
{
    if (line < 0) return false;
    point.m_iSegment = -1;
    return CurRoadProfile.ReadLineDMXData(lines.Line(line), point.m_dStation, point.m_dElevation,
                                          point.m_iSegment) == 1;
}

} // namespace

// ---------------------------------------------------------------------------
// Lines

int CFieldLines::Count() const { return m_buffer.GetLineCount(); }

const wchar_t* CFieldLines::Text(int line) const { return m_buffer.LineText(line); }

int CFieldLines::Length(int line) const { return m_buffer.GetLineLength(line); }

CString CFieldLines::Line(int line) const { return CString(Text(line), Length(line)); }

bool CFieldLines::IsComment(int line) const { return IsCommentLine(Text(line), Length(line)); }

bool CFieldLines::IsData(int line) const { return FirstChar(Text(line), Length(line)) != 0 && !IsComment(line); }

int CFieldLines::PreviousData(int line) const
{
    for (int i = line - 1; i >= 0; --i)
        if (IsData(i)) return i;
    return -1;
}

int CFieldLines::NextData(int line) const
{
    const int count = Count();
    for (int i = line + 1; i < count; ++i)
        if (IsData(i)) return i;
    return -1;
}

// ---------------------------------------------------------------------------

bool IsCommentLine(const wchar_t* text, int length)
{
    if (!text || length < 2) return false;
    int i = 0;
    while (i < length && (text[i] == L' ' || text[i] == L'\t')) ++i;
    return i + 1 < length && text[i] == L'/' && text[i + 1] == L'/';
}

int FieldNumberAt(const wchar_t* text, int length, int column)
{
    int field = 1;
    for (int j = 1; j < column && j < length; ++j)
        if (IsSeparator(text[j]) && !IsSeparator(text[j - 1])) ++field;
    if (field == 1 && column >= 0 && column < length && IsSeparator(text[column])) return 0;
    return field;
}

int HdxFormatOf(const CString& firstLine)
{
    CString text = firstLine;
    text.Trim(L" \t");
    bool number = true;
    int points = 0;
    for (int i = 0; i < text.GetLength() && number; ++i) {
        const wchar_t c = text[i];
        if (c == L' ' || c == L'\t' || IsAsciiLetter(c) || (c == L'-' && i > 0)) number = false;
        if (c == L'.' && ++points > 1) number = false;
    }
    if (number) return 1;
    text.MakeUpper();
    if (text.Find(L"ABS1") >= 0) return 3;
    if (text.Find(L"ABS") >= 0) return 2;
    return 0;
}

CString DescribeField(int type, const CFieldLines& lines, int line, int column, int field, FieldFindings& findings)
{
    if (line < 0 || line >= lines.Count() || field < 1) return CString();
    switch (type) {
    case kDesignSegments: return L"分段行: 分段名  类型(0:主线1:互通)  道路数;\n道路行: 道路名 起点桩号 终点桩号;";
    case kBreakChain: return Pick(kBreakChainFields, field);
    case kWidths: return L"TAVIX2.X版标准横断面宽度文件(*.HDM)";
    case kSuperelevation: return L"TAVIX2.X版超高文件(*.CG)";
    case kStructures: return StructureField(lines, line, field);
    case kStations: return field >= 3 ? CString(L"格式错误") : Pick(kStationFields, field);
    case kTraverse: return TraverseField(lines, line, field);
    case kIntersections: return IntersectionField(lines, line, field);
    case kUnits: return UnitField(lines, line, field);
    case kPoints: {
        const CString prefix = KindCode(lines.Line(line)) != 0 ? L"水准点" : L"坐标控制点";
        const CString text = Pick(kPointFields, field);
        return text.IsEmpty() ? text : prefix + text;
    }
    case kCoordinates: return Pick(kCoordinateFields, field);
    case kTransitions: return Pick(kTransitionFields, field);
    case kCurves: return CurveField(lines, line, field);
    case kGroundLine: return Pick(kGroundLineFields, field);
    case kControls: return Pick(kControlFields, field);
    case kSectionTypes: return Pick(kSectionTypeFields, field);
    case kGeology: return Pick(kGeologyFields, field);
    case kGutter: return Pick(kGutterFields, field);
    case kAnnotations: return AnnotationField(lines, line, field);
    case kBaseLevels: return Pick(kBaseLevelFields, field);
    case kCrossSections: return CrossSectionField(lines, line, column, field, findings);
    case kTopsoil: return Pick(kTopsoilFields, field);
    case kEarthRatios:
        return line == FirstDataLine(lines) ? Pick(kCompactionFields, field) : Pick(kEarthRatioFields, field);
    case kOldRoad: {
        const int first = FirstDataLine(lines);
        if (line == first && IsAsciiLetter(FirstChar(lines.Text(first), lines.Length(first))))
            return Pick(kLayerFields, field);
        return Pick(kOldRoadFields, field);
    }
    case kSightClearance: return Pick(kSightFields, field);
    case kLandTake: return Pick(kLandTakeFields, field);
    case kEarthwork: return Pick(kEarthworkFields, field);
    case kBridges: return Pick(kBridgeFields, field);
    case kBenching: return Pick(kBenchingFields, field);
    default: return CString();
    }
}

BOOL FindProfilePoints(const CFieldLines& lines, int line, sGroundPoint& point, sGroundPoint& previous,
                       BOOL& hasPrevious, sGroundPoint& next, BOOL& hasNext)
{
    hasPrevious = hasNext = FALSE;
    if (line < 0 || line >= lines.Count() || lines.IsComment(line)) return FALSE;
    if (!ReadGroundPoint(lines, line, point)) return FALSE;
    // The neighbours are the nearest data lines: a comment or an empty line
    // between two points hides neither.
    hasPrevious = ReadGroundPoint(lines, lines.PreviousData(line), previous) ? TRUE : FALSE;
    hasNext = ReadGroundPoint(lines, lines.NextData(line), next) ? TRUE : FALSE;
    return TRUE;
}
