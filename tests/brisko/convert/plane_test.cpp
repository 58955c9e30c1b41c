// The plane-data converters: HintCAD's intersection-point files in
// deflection and coordinate form and its plane-unit file, 路线大师's
// intersection-point and plane-line files.  Each variant converts to its
// golden file, which the suite's intersection-point or unit reader loads.
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_RMPM.h"
#include "convert_world.h"
#include "support/FailingWrites.h"
#include <functional>

using namespace convert_test;

namespace {

// 路线大师's converters are members of their dialog, which need not run.
int RunRM(int format, const CString& input, const CString& output)
{
    CDialog_Transform_RMPM dialog;
    dialog.m_SInFileName = input;
    dialog.m_SOutFileName = output;
    return format == 0 ? dialog.TransformRMJDXFile() : dialog.TransformRMPMXFile();
}

struct Variant {
    const char* fixture;
    const char* golden;
    std::function<int(const CString&, const CString&)> convert;
    bool unitFile;  // .ICD, else .JD
    int items;      // rows or units the reader gives
};

} // namespace

TEST(PlaneConverters, EveryVariantConvertsToItsGoldenFileWhichTheSuiteReads)
{
    const Variant variants[] = {
        // Deflection form: stations, unequal spirals, R 0, 30.59, a left turn.
        {"hint_station.jdx", "hint_station.jd.golden", TransformHintCADJDAngleFile, false, 5},
        // Deflection form with distances.
        {"hint_distance.jdx", "hint_distance.jd.golden", TransformHintCADJDAngleFile, false, 4},
        // No point: the start line alone.
        {"hint_none.jdx", "hint_none.jd.golden", TransformHintCADJDAngleFile, false, 1},
        // Coordinate form, four points, a comma-separated line.
        {"hint_coord.txt", "hint_coord.jd.golden", TransformHintCADJDCoordFile, false, 4},
        // Plane units: every unit kind, radii 9000 and 10000, an azimuth jump.
        {"hint_units.pm", "hint_units.icd.golden", TransformHintCADPMFile, true, 7},
        // 路线大师 ";;" comments, "NE", points of 2, 5 and 8 tokens.
        {"rm_ne.jdx", "rm_ne.jd.golden", [](const CString& i, const CString& o) { return RunRM(0, i, o); }, false, 4},
        // Lower-case "xy": easting first.
        {"rm_xy.jdx", "rm_xy.jd.golden", [](const CString& i, const CString& o) { return RunRM(0, i, o); }, false, 3},
        // LINE, ARC, SPIRAL and "SPRIAL", turns "L" and "l", kinds 3 to 6.
        {"rm_ne.pmx", "rm_ne.icd.golden", [](const CString& i, const CString& o) { return RunRM(1, i, o); }, true, 11},
        // "xy" with the direction 0 (east).
        {"rm_xy.pmx", "rm_xy.icd.golden", [](const CString& i, const CString& o) { return RunRM(1, i, o); }, true, 1},
    };
    ScratchFolder folder(L"plane");
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.fixture);
        MessageBoxScript boxes;
        const CString input = PlaceFixture(folder, v.fixture);
        const CString output = folder / (CString(v.fixture) + (v.unitFile ? L".ICD" : L".JD"));
        ASSERT_EQ(1, v.convert(input, output)) << Utf8(boxes.LastText());
        EXPECT_TRUE(HoldsGolden(output, v.golden, input));
        CString message;
        EXPECT_EQ(v.items, v.unitFile ? LoadICD(output, message) : LoadJD(output, message)) << Utf8(message);
    }
}

namespace {

struct Refused {
    const char* what;
    std::function<int(const CString&, const CString&)> convert;
    CString input;
    CString message; // "%s" is the input's path
};

int HintAngle(const CString& i, const CString& o) { return TransformHintCADJDAngleFile(i, o); }
int HintCoord(const CString& i, const CString& o) { return TransformHintCADJDCoordFile(i, o); }
int HintPM(const CString& i, const CString& o) { return TransformHintCADPMFile(i, o); }
int RMJDX(const CString& i, const CString& o) { return RunRM(0, i, o); }
int RMPMX(const CString& i, const CString& o) { return RunRM(1, i, o); }

// The start line of a plane-unit file and one unit of three lines.
const wchar_t kUnitsHead[] = L"1\n1 1000 0.5 0 3000 500\n";

} // namespace

// A bad input stops the conversion with a message that names the file, the
// line, the token's position and the field; an output of an earlier run
// stays as it was.
TEST(PlaneConverters, ABadLineIsNamedAndTheEarlierOutputStays)
{
    ScratchFolder folder(L"refused");
    const CString output = folder / L"earlier.JD";
    const CString digits30 = L"1" + CString(L'0', 29);
    const CString none = L"文件%s中没有可转换的数据!";
    const Refused cases[] = {
        {"short header", HintAngle, L"3 1000 3000 400 45\n",
         L"读输入文件%s\n\n第1行失败! 数据个数少于6个\n\n[3 1000 3000 400 45]"},
        {"start azimuth", HintAngle, L"1 1000 3000 400 4x 0\n", L"读输入文件%s\n\n第1行第5个数据[起点方位角:4x]失败!"},
        {"points missing", HintAngle, L"2 1000 3000 400 45 0\n// 交点\nJD1 1100 0 0 0 0\n", L"读输入文件%s\n\n第4行失败!"},
        {"deflection", HintAngle, L"1 1000 3000 400 45 0\n\nJD1 1100 500 1x.30 0 0\n",
         L"读输入文件%s\n\n第3行第4个数据[交点转角:1x.30]失败!"},
        {"negative spiral", HintAngle, L"1 1000 3000 400 45 0\nJD1 1100 500 10 -50 0\n",
         L"读输入文件%s\n\n第2行第5个数据[第一缓和曲线长度:-50]失败!"},
        {"radius the readers refuse", HintAngle, L"1 1000 3000 400 45 0\nJD1 1100 1+2 10 0 0\n",
         L"读输入文件%s\n\n第2行第3个数据[平曲线半径:1+2]失败!"},
        {"start station alone", HintCoord, L"// 起点桩号\n1200\n", none},
        {"one coordinate point", HintCoord, L"1200\nQD 3000 400 0 0 0\n",
         L"读输入文件%s\n\n第2行失败! 交点数据只有1个, 至少应有起点和终点两个交点!"},
        {"coordinate", HintCoord, L"1200\nQD 3k00 400 0 0 0\nZD 1 2 0 0 0\n",
         L"读输入文件%s\n\n第2行第2个数据[交点X(N)坐标:3k00]失败!"},
        {"equal spiral radii", HintPM, CString(kUnitsHead) + L"1 0 80 200 500 500 2\n0 0 0 0\n0 0 0.5 0.6\n",
         L"读输入文件%s\n\n第3行, 判断缓和曲线类型出错!"},
        {"unit line missing", HintPM, CString(kUnitsHead) + L"0 0 100 0 0 0 1\n0 0 0 0\n", L"读输入文件%s\n\n第5行失败!"},
        {"unit kind", HintPM, CString(kUnitsHead) + L"0 0 100 0 0 0 x\n", L"读输入文件%s\n\n第3行第7个数据[单元类型:x]失败!"},
        {"no keyword", RMJDX, L";; 交点\n1 100\n", L"读输入文件%s\n\n第3行失败!\n\n没有读到坐标格式!"},
        {"format", RMJDX, L"NE\n2 100\n3000 400\n3100 500\n",
         L"读输入文件%s\n\n第2行第1个数据[交点数据格式:2, 必须为1：坐标格式。]"},
        {"start station", RMJDX, L"NE\n1 1k0\n3000 400\n3100 500\n", L"读输入文件%s\n\n第2行第二个数据[起点桩号:1k0]出错!"},
        {"no intersection point", RMJDX, L"NE\n1 100\n3000 400\n",
         L"读输入文件%s\n\n第4行失败! 没有读到交点数据, 至少应有一个交点!"},
        {"radius text", RMJDX, L"NE\n1\n3000 400\n3100 500 4x0 80 80\n3200 600\n",
         L"读输入文件%s\n\n第4行第3个数据[圆曲线半径:4x0]失败!"},
        {"spiral text", RMJDX, L"NE\n1\n3000 400\n3100 500 J 0 L60 500 60 0\n3200 600\n",
         L"读输入文件%s\n\n第4行第5个数据[第一缓和曲线长度:L60]失败!"},
        {"point coordinate", RMJDX, L"NE\n1\n3000 400\n31O0 500\n", L"读输入文件%s\n\n第4行第1个数据[交点坐标:31O0]失败!"},
        {"unknown word", RMPMX, L"NE\n1 0\n0 3000 400 90\nCURVE R 500 100\n",
         L"读输入文件%s\n\n第4行第1个数据[单元类型字符:CURVE]出错!"},
        {"spiral radii", RMPMX, L"NE\n1 0\n0 3000 400 90\nSPIRAL R 500 500 100\n",
         L"读输入文件%s\n\n第4行, 判断缓和曲线类型出错!"},
        {"short arc", RMPMX, L"NE\n1 0\n0 3000 400 90\nARC R 500\n",
         L"读输入文件%s\n\n第4行, 圆曲线数据个数小于4!\n\nARC R 500"},
        {"start X", RMPMX, L"NE\n1 0\n0 3k00 400 90\n", L"读输入文件%s\n\n第3行第二个数据[起点X坐标:3k00]出错!"},
        // Numbers the converters take but the suite's readers do not.
        {"spiral out of range", HintAngle,
         L"2 1000 3000 400 45 0\nJD1 1100 500 10 " + digits30 + L" 0\nJD2 1300 0 0 0 0\n",
         ReadBackRefused(L"读交点文件" + output +
                         L"第5行失败!\n\n[3 3070.71067812 470.71067812 100000000.000 L99999999999999991433150857216.000000 "
                         L"500.00000000 L0.000000 100000000.000 JD1]\n\n"
                         L"第5个数据, 缓和曲线长度[L99999999999999991433150857216.000000]错误!",
                         2)},
        {"start X out of range", RMPMX, L"NE\n1 0\n0 " + digits30 + L" 400 90\nLINE 100\n",
         ReadBackRefused(L"读" + output + L"文件, 第5行 第1个数据: 线位起点X坐标(" + digits30 + L")错误!")},
        // Inputs that give nothing to convert: the input is named, a count
        // below 0 as the field it is; a count beyond the file's lines ends
        // at the line where the file does.
        {"deflection form empty", HintAngle, L"", L"读输入文件%s\n\n第1行失败!"},
        {"deflection count -2147483648", HintAngle, L"-2147483648 1000 3000 400 45 0\nJD1 1100 0 0 0 0\n",
         L"读输入文件%s\n\n第1行第1个数据[交点个数:-2147483648]失败!"},
        {"deflection count -1", HintAngle, L"-1 1000 3000 400 45 0\n", L"读输入文件%s\n\n第1行第1个数据[交点个数:-1]失败!"},
        {"deflection count 2147483647", HintAngle, L"2147483647 1000 3000 400 45 0\nJD1 1100 0 0 0 0\n",
         L"读输入文件%s\n\n第3行失败!"},
        {"deflection count 1e30", HintAngle, digits30 + L" 1000 3000 400 45 0\nJD1 1100 0 0 0 0\n",
         L"读输入文件%s\n\n第3行失败!"},
        {"coordinate form empty", HintCoord, L"// 交点\n", L"读输入文件%s\n\n第2行失败!"},
        {"plane units empty", HintPM, L"", L"读输入文件%s\n\n第1行失败!"},
        {"plane units titles", HintPM, L"HINTCAD 5.0\nHINTCAD\n", L"读输入文件%s\n\n第3行失败!"},
        {"plane unit count -2147483648", HintPM, CString(L"-2147483648\n1 1000 0.5 0 3000 500\n"),
         L"读输入文件%s\n\n第1行第1个数据[单元个数:-2147483648]失败!"},
        {"plane unit count 0", HintPM, L"HINTCAD 5.0\n0\n1 1000 0.5 0 3000 500\n", none},
        {"plane unit count 0.5", HintPM, L"0.5\n1 1000 0.5 0 3000 500\n0 0 100 0 0 0 1\n0 0 0 0\n0 0 0.5 0.5\n", none},
        {"plane unit count 2147483647", HintPM, L"2147483647\n1 1000 0.5 0 3000 500\n", L"读输入文件%s\n\n第3行失败!"},
        {"plane unit count 1e30", HintPM, digits30 + L"\n1 1000 0.5 0 3000 500\n", L"读输入文件%s\n\n第3行失败!"},
        {"路线大师 intersections empty", RMJDX, L"", L"读输入文件%s\n\n第1行失败!\n\n没有读到坐标格式!"},
        {"路线大师 plane lines empty", RMPMX, L"", L"读输入文件%s\n\n第1行失败!\n\n没有读到坐标格式!"},
        {"路线大师 start point alone", RMPMX, L";; 平面线\nNE\n1 0\n0 3000 400 90\n", none},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Refuses(folder, c.input, [&](const CString& input) { return c.convert(input, output); }, c.message,
                            {output}));
    }
    // No temporary file is left behind.
    EXPECT_EQ(2u, FilesIn(folder.Path()).size());
}

TEST(PlaneConverters, RMMessagesAreTheDialogsBoxesAndHintCADsTheApplications)
{
    ScratchFolder folder(L"captions");
    const CString input = PlaceText(folder, L"in.txt", L"bad\n");
    MessageBoxScript boxes;
    RunRM(0, input, folder / L"out.JD");
    TransformHintCADJDAngleFile(input, folder / L"out.JD");
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.Shown()[0].caption);
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.Shown()[0].type);
    // The framework's boxes carry the program's title.
    EXPECT_EQ(CString(AfxGetAppTitle()), boxes.Shown()[1].caption);
    EXPECT_EQ(UINT(MB_ICONINFORMATION), boxes.Shown()[1].type);
}

// Plane units whose start is tied to another road ask first; No ends the
// conversion without a further word, Yes converts.  Each azimuth jump
// between units is told once and the conversion goes on.
TEST(PlaneConverters, PlaneUnitsAskAboutTheStartConnectionAndTellAzimuthJumps)
{
    ScratchFolder folder(L"questions");
    const CString input = PlaceText(folder, L"tied.pm",
                                    L"2\n2 1000 0.5 0 3000 500\n"
                                    L"0 0 100 0 0 0 1\n0 0 0 0\n0 0 0.5 0.5\n"
                                    L"0 0 50 0 0 0 1\n0 0 0 0\n0 0 0.75 0.75\n");
    const CString output = folder / L"tied.ICD";
    const CString question = L"当前路线起点接线方式[2]不等于1,\n\n该路线起点与其他路线的设计资料相关, \n\n"
                             L"继续转换可能导致坐标转换失败!\n\n是否继续?";
    {
        MessageBoxScript boxes;
        boxes.Answer(IDNO);
        EXPECT_EQ(0, TransformHintCADPMFile(input, output));
        EXPECT_EQ(std::vector<CString>{question}, Texts(boxes));
        EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
        EXPECT_FALSE(FileExists(output));
    }
    MessageBoxScript boxes;
    boxes.Answer(IDYES);
    EXPECT_EQ(1, TransformHintCADPMFile(input, output));
    EXPECT_EQ((std::vector<CString>{question, L"检测到方位角突变, 即单元之间存在转折点!"}), Texts(boxes));
    CString message;
    EXPECT_EQ(2, LoadICD(output, message)) << Utf8(message);
    const std::string text = Shown(ReadBytes(output));
    EXPECT_NE(std::string::npos, text.find("1 100.00000000 \r\n1 50.00000000  0.75\r\n0 0 0\r\n")) << text;
}
