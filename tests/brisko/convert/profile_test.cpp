// The profile converters: vertical curves of HintCAD and 路线大师 into the
// suite's vertical-curve file, HintCAD's profile ground line into the
// suite's ground-line file.  Outputs match their golden files and load
// through the suite's profile readers on the road's break chain.
#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "convert_world.h"
#include "support/FailingWrites.h"
#include <functional>

using namespace convert_test;

namespace {

int RunRMZDM(const CString& input, const CString& output)
{
    CDialog_Transform_SQX dialog;
    dialog.m_nMode = 1;
    dialog.m_SInFileName = input;
    dialog.m_SOutFileName = output;
    return dialog.TransformRMZDMFile();
}

int HintZDM(const CString& i, const CString& o) { return TransformHintCADZDMFile(i, o); }
int HintDMX(const CString& i, const CString& o) { return TransformHintCADDMXFile(i, o); }

} // namespace

TEST(ProfileConverters, EveryVariantConvertsToItsGoldenFileWhichTheSuiteReads)
{
    struct Variant {
        const char* fixture;
        const char* golden;
        std::function<int(const CString&, const CString&)> convert;
        const wchar_t* chain; // the road's break chain; null: not loaded
        int points;           // grade points or ground points the reader gives
    };
    const Variant variants[] = {
        // A chain letter carried over, a kilometre station on that chain.
        {"hint.zdm", "hint.zdm.sqx.golden", HintZDM, L"1300=1320", 5},
        // Back to chain A: the chain is named again (stations decrease, so
        // the file is no profile the reader takes).
        {"hint_back.zdm", "hint_back.zdm.sqx.golden", HintZDM, nullptr, 0},
        // Two points, neither with a radius.
        {"hint_two.zdm", "hint_two.zdm.sqx.golden", HintZDM, L"", 2},
        // 路线大师: the middle point keeps its radius.
        {"rm.zdm", "rm.zdm.sqx.golden", RunRMZDM, L"", 3},
        // Chain letters A and B, a "HINTCAD" field, a kilometre station.
        {"hint.dmx", "hint.dmx.dmx.golden", HintDMX, L"120=90", 5},
    };
    ScratchFolder folder(L"profile");
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.fixture);
        MessageBoxScript boxes;
        const CString input = PlaceFixture(folder, v.fixture);
        const bool groundLine = CString(v.golden).Find(L".dmx.golden") >= 0;
        const CString output = folder / (CString(v.fixture) + (groundLine ? L".DMX" : L".SQX"));
        ASSERT_EQ(1, v.convert(input, output)) << Utf8(boxes.LastText());
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_TRUE(HoldsGolden(output, v.golden, input));
        if (!v.chain) continue;
        const tkxBreakChain chain = *v.chain ? Chain(v.chain) : tkxBreakChain();
        CString message;
        tkxZDMInfo profile(&chain);
        EXPECT_EQ(v.points, groundLine ? LoadDMX(output, profile, message) : LoadSQX(output, chain, message))
            << Utf8(message);
    }
}

// A HintCAD profile ground line may be converted onto itself: the input is
// read whole before the output replaces it.
TEST(ProfileConverters, AGroundLineConvertsOntoItsOwnFile)
{
    ScratchFolder folder(L"same");
    const CString path = PlaceFixture(folder, "hint.dmx");
    const CString input = path;
    MessageBoxScript boxes;
    ASSERT_EQ(1, TransformHintCADDMXFile(path, path)) << Utf8(boxes.LastText());
    EXPECT_TRUE(HoldsGolden(path, "hint.dmx.dmx.golden", input));
}

// Stations on a later chain segment may lie below those of the segment
// before (the road's chain puts them after it): they are converted, and
// the files read on such a chain.
TEST(ProfileConverters, StationsOfALaterChainMayLieBelowTheEarlierOnes)
{
    ScratchFolder folder(L"chained");
    const tkxBreakChain chain = Chain(L"1300=1100");
    struct Case {
        const char* what;
        std::function<int(const CString&, const CString&)> convert;
        const wchar_t* input;
        bool groundLine;
    };
    const Case cases[] = {
        {"grade points", HintZDM, L"3\n1200 100 0\nB1150 101 2000\nB1400 99 0\n", false},
        {"ground line", HintDMX, L"1200 100\nB1150 101\nB1400 99\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString input = PlaceText(folder, L"chained.txt", c.input);
        const CString output = folder / L"chained.out";
        MessageBoxScript boxes;
        ASSERT_EQ(1, c.convert(input, output)) << Utf8(boxes.LastText());
        tkxZDMInfo profile(&chain);
        CString message;
        EXPECT_EQ(3, c.groundLine ? LoadDMX(output, profile, message) : LoadSQX(output, chain, message))
            << Utf8(message);
    }
}

TEST(ProfileConverters, ABadLineIsNamedAndTheEarlierOutputStays)
{
    struct Refused {
        const char* what;
        std::function<int(const CString&, const CString&)> convert;
        CString input;
        CString message; // "%s" is the input's path
    };
    ScratchFolder folder(L"refused");
    const CString output = folder / L"earlier.SQX";
    const CString sqx = L"竖曲线文件(" + output + L")\n\n";
    const CString none = L"文件%s中没有可转换的数据!";
    const CString digits30 = L"1" + CString(L'0', 29);
    const Refused cases[] = {
        // One grade point is both the first and the last: nothing written.
        {"路线大师 single point", RunRMZDM, L"1000 100 0\n", L"输出终点桩号和设计高程信息失败!\n\n1000 100"},
        {"路线大师 radius", RunRMZDM, L"1000 100 0\n1200 105 5k\n", L"读输入文件%s\n\n第2行第3个数据[竖曲线半径:5k]失败!"},
        {"路线大师 short line", RunRMZDM, L"1000 100 0\n1200 105\n", L"读输入文件%s\n\n第2行失败!"},
        {"HintCAD count", HintZDM, L"HINTCAD 纵断面\nfive\n", L"读输入文件%s\n\n第2行第1个数据[变坡点数:five]失败!"},
        {"HintCAD points missing", HintZDM, L"3\n1200 100 0\n1400 101 2000\n", L"读输入文件%s\n\n第4行失败!"},
        {"HintCAD elevation", HintZDM, L"2\n1200 1OO 0\n1400 101 0\n",
         L"读输入文件%s\n\n第2行第2个数据[变坡点设计高程:1OO]失败!"},
        {"HintCAD station", HintZDM, L"2\n1200 100 0\nB1+4+00 101 0\n", L"读输入文件%s\n\n第3行第1个数据[变坡点桩号:B1+4+00]失败!"},
        {"ground line too short", HintDMX, L"HINTCAD 100\n", L"读输入文件%s\n\n第1行失败! 数据个数少于2个\n\n[HINTCAD 100]"},
        {"ground elevation", HintDMX, L"100 50\n120 5O\n", L"读输入文件%s\n\n第2行第2个数据[地面高程:5O]失败!"},
        {"no ground point", HintDMX, L"HINTCAD\n// 无数据\n", L"读输入文件%s失败!\n\n地面线数据不足."},
        // Falling stations are named at their input line; on a chain
        // segment they fall below the last station of that segment.
        {"路线大师 falling station", RunRMZDM, L"1000 100 0\n1200 105 3000\n1100 101 0\n",
         L"读输入文件%s\n\n第3行桩号小于上一行桩号"},
        {"HintCAD falling station", HintZDM, L"3\n1200 100 0\nB1150 101 2000\nB1100 99 0\n",
         L"读输入文件%s\n\n第4行桩号小于上一行桩号"},
        {"ground line falling station", HintDMX, L"100 50\nHINTCAD 120 51\n\n110 52\n",
         L"读输入文件%s\n\n第4行桩号小于上一行桩号"},
        // What only the suite's reader refuses is its message.
        {"路线大师 equal stations", RunRMZDM, L"1000 100 0\n1000 105 0\n",
         ReadBackRefused(sqx + L"第5行第1个数据1000, 变坡点桩号必须大于上一变坡点桩号!", 2)},
        {"路线大师 elevation out of range", RunRMZDM,
         L"1000 100 0\n1200 100000000000000000000000000000 0\n",
         ReadBackRefused(sqx + L"第5行第2个数据100000000000000000000000000000, <变坡点高程>错误!", 2)},
        // Inputs that give nothing to convert: the input is named, a count
        // below 0 as the field it is; a count beyond the file's lines ends
        // at the line where the file does.
        {"路线大师 empty file", RunRMZDM, L"", none},
        {"路线大师 without data lines", RunRMZDM, L"// 没有变坡点\n\n", none},
        {"HintCAD empty file", HintZDM, L"", L"读输入文件%s\n\n第1行失败!"},
        {"HintCAD titles", HintZDM, L"HINTCAD 竖曲线\nHINTCAD\n", L"读输入文件%s\n\n第3行失败!"},
        {"HintCAD count 0", HintZDM, L"HINTCAD\n0\n", none},
        {"HintCAD count -3", HintZDM, L"-3\n1200 100 0\n", L"读输入文件%s\n\n第1行第1个数据[变坡点数:-3]失败!"},
        {"HintCAD count -2147483648", HintZDM, L"-2147483648\n1200 100 0\n1400 101 0\n",
         L"读输入文件%s\n\n第1行第1个数据[变坡点数:-2147483648]失败!"},
        {"HintCAD count 2147483647", HintZDM, L"2147483647\n1200 100 0\n1400 101 0\n", L"读输入文件%s\n\n第4行失败!"},
        {"HintCAD count 1e30", HintZDM, digits30 + L"\n1200 100 0\n1400 101 0\n", L"读输入文件%s\n\n第4行失败!"},
        {"ground line empty file", HintDMX, L"", L"读输入文件%s失败!\n\n地面线数据不足."},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Refuses(folder, c.input, [&](const CString& input) { return c.convert(input, output); }, c.message,
                            {output}));
    }
    // No temporary file is left behind, also of those read back.
    EXPECT_EQ(2u, FilesIn(folder.Path()).size());
}
