// The ground-line converters: HintCAD's and 路线大师's cross-section ground
// lines, 路线大师's profile ground line (copied), 鸿业's and RICAD's combined
// files into a profile and a cross-section ground line.  Outputs match their
// golden files and load through the suite's ground-line readers.
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "convert_world.h"
#include "support/FailingWrites.h"
#include <functional>

using namespace convert_test;

namespace {

int RunRMHDX(const CString& input, const CString& output)
{
    CDialog_Transform_ZHDX dialog;
    dialog.m_nMode = 1;
    dialog.m_SInFileName = input;
    dialog.m_SOutFileName = output;
    return dialog.TransformRMHDXFile();
}

int HintHDM(const CString& i, const CString& o) { return TransformHintCADHDMFile(i, o); }

// The bytes of a literal, zero bytes in it included.
template <size_t N> std::string Bytes(const char (&text)[N]) { return std::string(text, N - 1); }

} // namespace

TEST(SectionConverters, EveryVariantConvertsToItsGoldenFileWhichTheSuiteReads)
{
    struct Variant {
        const char* fixture;
        const char* golden;
        std::function<int(const CString&, const CString&)> convert;
        const wchar_t* chain;
        int sections;
    };
    const Variant variants[] = {
        // A "HINTCAD" title line, a kilometre station, a chain letter.
        {"hint.hdm", "hint.hdm.hdx.golden", HintHDM, L"110=100", 2},
        // 路线大师 flag 1: copied after "ABS1".
        {"rm_flag1.dmx", "rm_flag1.dmx.hdx.golden", RunRMHDX, L"", 1},
        // Flag 2: copied as it is (raised rod).
        {"rm_flag2.dmx", "rm_flag2.dmx.hdx.golden", RunRMHDX, L"", 1},
        // Flag 3: distances from the centre made relative, an odd last field.
        {"rm_flag3.dmx", "rm_flag3.dmx.hdx.golden", RunRMHDX, L"", 1},
        // Any other flag: heights from the centre made relative.
        {"rm_flag0.dmx", "rm_flag0.dmx.hdx.golden", RunRMHDX, L"", 1},
    };
    ScratchFolder folder(L"sections");
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.fixture);
        MessageBoxScript boxes;
        const CString input = PlaceFixture(folder, v.fixture);
        const CString output = folder / (CString(v.fixture) + L".HDX");
        ASSERT_EQ(1, v.convert(input, output)) << Utf8(boxes.LastText());
        EXPECT_TRUE(HoldsGolden(output, v.golden, input));
        const tkxBreakChain chain = *v.chain ? Chain(v.chain) : tkxBreakChain();
        CString message;
        EXPECT_EQ(v.sections, LoadHDX(output, chain, nullptr, message)) << Utf8(message);
    }
}

TEST(SectionConverters, TheRMProfileGroundLineIsCopiedAsItIs)
{
    ScratchFolder folder(L"copy");
    const CString input = PlaceFixture(folder, "rm.dmg");
    const CString output = folder / L"rm.DMX";
    WriteText(output, L"earlier\n");
    CDialog_Transform_ZHDX dialog;
    dialog.m_nMode = 11;
    dialog.m_SInFileName = input;
    dialog.m_SOutFileName = output;
    MessageBoxScript boxes;
    ASSERT_EQ(1, dialog.CopyRMDMGFile());
    EXPECT_EQ(FixtureBytes("rm.dmg"), ReadBytes(output));
    tkxBreakChain chain;
    tkxZDMInfo profile(&chain);
    CString message;
    EXPECT_EQ(2, LoadDMX(output, profile, message)) << Utf8(message);

    dialog.m_SInFileName = folder / L"missing.DMG";
    EXPECT_EQ(0, dialog.CopyRMDMGFile());
    EXPECT_EQ(std::vector<CString>{L"复制文件失败!"}, Texts(boxes));
    EXPECT_EQ(UINT(MB_ICONHAND), boxes.Shown()[0].type);
    EXPECT_EQ(FixtureBytes("rm.dmg"), ReadBytes(output));

    // A copy the suite's reader refuses is not put in place.
    dialog.m_SInFileName = PlaceText(folder, L"falling.DMG", L"100 50\n90 51\n");
    EXPECT_EQ(0, dialog.CopyRMDMGFile());
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(ReadBackRefused(L"读地面线文件" + output + L"第2行, 违反了桩号[90]递增规则!!"), dialog.m_SInFileName.GetString()), boxes.LastText());
    EXPECT_EQ(UINT(MB_ICONHAND), boxes.Shown()[1].type);
    EXPECT_EQ(FixtureBytes("rm.dmg"), ReadBytes(output));
    EXPECT_EQ(3u, FilesIn(folder.Path()).size());
}

// 鸿业 and RICAD write a profile and a cross-section ground line; the
// absolute layouts load with the profile that gives the centre elevations.
TEST(SectionConverters, CombinedFilesConvertToTheirGoldenPairsWhichTheSuiteReads)
{
    struct Variant {
        const char* fixture;
        std::function<int(const CString&, const CString&, const CString&)> convert;
        int sections;
    };
    const Variant variants[] = {
        // 鸿业: "k" and "K" stations, a section without left points, a last
        // field without partner (no right point), a kilometre station.
        {"hongye.bghn", RunHongYe, 4},
        // RICAD ABS: "#" lines, a title line, flags 0, 1 and 2, a side below
        // the minimum width, "9999" with lines after it.
        {"ricad0.dat", [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 0, 5); }, 3},
        // RICAD ABS1 with a missing right side.
        {"ricad1.dat", [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 1, 5); }, 1},
        // RICAD raised rod: the missing width added, comma-separated fields.
        {"ricad2.dat", [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 2, 10); }, 2},
    };
    ScratchFolder folder(L"pairs");
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.fixture);
        MessageBoxScript boxes;
        const CString input = PlaceFixture(folder, v.fixture);
        const CString dmx = folder / (CString(v.fixture) + L".DMX");
        const CString hdx = folder / (CString(v.fixture) + L".HDX");
        ASSERT_EQ(1, v.convert(input, dmx, hdx)) << Utf8(boxes.LastText());
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_TRUE(HoldsGolden(dmx, (std::string(v.fixture) + ".dmx.golden").c_str(), input));
        EXPECT_TRUE(HoldsGolden(hdx, (std::string(v.fixture) + ".hdx.golden").c_str(), input));
        tkxBreakChain chain;
        tkxZDMInfo profile(&chain);
        CString message;
        EXPECT_EQ(v.sections, LoadDMX(dmx, profile, message)) << Utf8(message);
        EXPECT_EQ(v.sections, LoadHDX(hdx, chain, &profile, message)) << Utf8(message);
    }
}

TEST(SectionConverters, ABadLineIsNamedAndTheEarlierOutputsStay)
{
    struct Refused {
        const char* what;
        std::function<int(const CString&, const CString&, const CString&)> convert;
        CString input;
        CString message; // "%s" is the input's path
        UINT icon;
    };
    ScratchFolder folder(L"refused");
    const CString dmx = folder / L"earlier.DMX";
    const CString hdx = folder / L"earlier.HDX";
    const CString digits309 = L"1" + CString(L'0', 308);
    const auto hdm = [](const CString& i, const CString&, const CString& h) { return HintHDM(i, h); };
    const auto rm = [](const CString& i, const CString&, const CString& h) { return RunRMHDX(i, h); };
    const auto ricad = [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 0, 5); };
    const Refused cases[] = {
        {"left count", hdm, L"100\n2 1 0.5\n1 1 0.2\n",
         L"读输入文件%s\n\n第2行失败!\n\n[2 1 0.5]\n\n左侧断面数据个数有错!", MB_ICONINFORMATION},
        {"right missing", hdm, L"100\n1 1 0.5\n", L"读输入文件%s\n\n第3行失败!", MB_ICONINFORMATION},
        {"height", hdm, L"100\n1 1 0.5\n2 1 0.2 2 x\n", L"读输入文件%s\n\n第3行第5个数据[高差:x]失败!", MB_ICONINFORMATION},
        {"title only", hdm, L"HINTCAD\n", L"读输入文件%s\n\n第2行失败! 文件内容不足!", MB_ICONINFORMATION},
        {"flag", rm, L"x\n", L"读输入文件%s\n\n第1行第1个数据[格式标志:x]失败!", MB_ICONINFORMATION},
        {"section station", rm, L"3\nK1+00\n1 0.2\n1 0.2\n", L"读输入文件%s\n\n第2行第1个数据[断面桩号:K1+00]失败!",
         MB_ICONINFORMATION},
        {"side missing", rm, L"3\n100\n1 0.2\n", L"读输入文件%s\n\n第4行失败!\n\n1 0.2", MB_ICONINFORMATION},
        {"distance", rm, L"0\n100\n1 0.2 2.5.1 0.3\n1 0.1\n", L"读输入文件%s\n\n第3行第3个数据[平距:2.5.1]失败!",
         MB_ICONINFORMATION},
        {"鸿业 five fields", RunHongYe, L"1200 105.3 -5 104.9 6 105.0\n1220 106 3 106.2 8\n",
         L"读原文件[%s]\n\n第2行[1220 106 3 106.2 8]失败!\n\n每行数据个数不能少于6个!", MB_ICONINFORMATION},
        {"鸿业 offset", RunHongYe, L"1200 105.3 -5 104.9 -x6 105.0\n", L"读原文件[%s]\n\n第1行第5个数据[距离:-X6]失败!",
         MB_ICONINFORMATION},
        {"RICAD three-field side", ricad, L"100 52.3 1 1\n3 53.0 6\n2 53.4\n", L"读文件[%s],\n\n第2行错误, 数据不成对!\n\n[3 53.0 6]",
         MB_ICONERROR},
        {"RICAD centre", ricad, L"100 5x.3\n120 53\n", L"读文件[%s],\n\n第1行中桩高程数据错误!\n\n[100 5x.3]", MB_ICONERROR},
        {"RICAD one field", ricad, L"100\n120 53\n", L"读文件[%s],\n\n第1行错误, 少于2个数据!\n\n[100]", MB_ICONERROR},
        {"RICAD side at the end", ricad, L"100 52.3 0 1\n\n", L"读文件[%s],\n\n第2行错误!", MB_ICONERROR},
        {"RICAD one line", ricad, L"100 52.3", L"RICAD纵横断面地面线文件<%s>中\n\n行数少于2.", MB_ICONINFORMATION},
        // Falling stations, named at their input line.
        {"HintCAD falling station", hdm, L"100\n1 1 0.5\n1 1 0.2\n90\n1 1 0.5\n1 1 0.2\n",
         L"读输入文件%s\n\n第4行桩号小于上一行桩号", MB_ICONINFORMATION},
        {"路线大师 falling station", rm, L"0\n100\n1 0.2\n1 0.1\n90\n1 0.2\n1 0.1\n",
         L"读输入文件%s\n\n第5行桩号小于上一行桩号", MB_ICONINFORMATION},
        {"鸿业 falling station", RunHongYe, L"1200 105.3 -5 104.9 6 105.0\nK1100 105 -5 104.9 6 105.0\n",
         L"读原文件[%s]\n\n第2行桩号小于上一行桩号", MB_ICONINFORMATION},
        {"RICAD falling station", ricad, L"100 52.3\n# 注释\n90 52\n", L"读文件[%s],\n\n第3行桩号小于上一行桩号\n\n[90 52]",
         MB_ICONERROR},
        // A flagged side line missing: the next station line stands where
        // the side line should.
        {"RICAD side line missing", ricad, L"100 52.3 1 1\n5 52.5\n120 53 1 1\n5 53.5\n6 53.6\n",
         L"读文件[%s],\n\n第3行错误, 应为断面地面线数据, 却是下一断面的桩号行!\n\n[120 53 1 1]", MB_ICONERROR},
        // Lines copied as read go out only when the suite reads them.
        {"路线大师 copied odd field count", rm, L"1\n100\n1 0.2 2\n1 0.1\n",
         ReadBackRefused(L"读文件[" + hdx + L"], 第7行错误:断面左侧数据个数不匹配!", 3), MB_ICONINFORMATION},
        {"路线大师 copied falling stations", rm, L"2\n100\n1 0.2\n1 0.1\n90\n1 0.2\n1 0.1\n",
         ReadBackRefused(L"读横地线文件[" + hdx + L"]第8行错误!断面桩号(90.000)小于上一断面桩号(100.000).", 5), MB_ICONINFORMATION},
        // A number the converter takes but the suite's readers do not.
        {"鸿业 height out of range", RunHongYe, L"1200 105.3 -5 104.9 6 105.0\n1220 " + digits309 + L" -5 104.9 6 105\n",
         ReadBackRefused(L"读地面线文件" + dmx + L"第2行, 地面高(" + digits309 + L")数据错误!", 2), MB_ICONINFORMATION},
        {"RICAD height out of range", ricad, L"100 " + digits309 + L"\n120 53\n",
         ReadBackRefused(L"读地面线文件" + dmx + L"第1行, 地面高(" + digits309 + L")数据错误!", 1), MB_ICONERROR},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Refuses(folder, c.input, [&](const CString& input) { return c.convert(input, dmx, hdx); },
                            c.message, {dmx, hdx}, c.icon));
    }
    // A zero byte in a line, which no text holds: the line is refused where
    // it is read, not read as if it ended there (a station line's elevation
    // "53<NUL>.5" as 53, written out as a success in the ABS1 layout), nor
    // copied on.
    const struct {
        const char* what;
        std::function<int(const CString&, const CString&, const CString&)> convert;
        std::string input;
        CString message;
        UINT icon;
    } zeros[] = {
        {"RICAD station line", [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 1, 5); },
         Bytes("13120 52.9\r\n13140 53\0.5\r\n13160 53.2\r\n"),
         L"读文件[%s],\n\n第2行错误!", MB_ICONERROR},
        {"RICAD side line", ricad, Bytes("100 52.3 1 0\r\n5 52.5\0 6 53\r\n"), L"读文件[%s],\n\n第2行错误!",
         MB_ICONERROR},
        {"RICAD comment", ricad, Bytes("# \0\r\n100 52.3\r\n120 53\r\n"), L"读文件[%s],\n\n第1行错误!",
         MB_ICONERROR},
        {"鸿业 line", RunHongYe, Bytes("1200 105.3 -5 104.9 6 105\0.0\r\n"), L"读原文件[%s]\n\n第1行[]失败!",
         MB_ICONINFORMATION},
    };
    for (const auto& c : zeros) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Refuses(folder, c.input, [&](const CString& input) { return c.convert(input, dmx, hdx); }, c.message,
                            {dmx, hdx}, c.icon));
    }
    EXPECT_EQ(3u, FilesIn(folder.Path()).size());
}

// A tool with two outputs writes both before it replaces either: when the
// second cannot be written, the first stays as it was too, and the message
// says so.
TEST(SectionConverters, WhenOneOfTwoOutputsFailsNeitherIsReplaced)
{
    const auto OthersStay = [](const CString& path) {
        return ClFormat(L"\n\n无法替换输出文件%s, 其他输出文件保持原样!", path.GetString());
    };
    ScratchFolder folder(L"two");
    const CString input = PlaceFixture(folder, "hongye.bghn");
    const CString dmx = folder / L"earlier.DMX";
    WriteText(dmx, L"earlier profile\n");
    const CString missingFolder = folder / L"没有的文件夹\\earlier.HDX";
    {
        MessageBoxScript boxes;
        EXPECT_EQ(0, RunHongYe(input, dmx, missingFolder));
        EXPECT_EQ(std::vector<CString>{L"创建输出文件失败!\n\n" + missingFolder + OthersStay(missingFolder)}, Texts(boxes));
        EXPECT_EQ(FileText(L"earlier profile\n"), ReadBytes(dmx));
    }
    {
        MessageBoxScript boxes;
        EXPECT_EQ(0, RunRICAD(PlaceFixture(folder, "ricad0.dat"), dmx, missingFolder, 0, 5));
        EXPECT_EQ(std::vector<CString>{L"创建横断面地面线文件(*.hdx)时出错!\n\n" + missingFolder + OthersStay(missingFolder)},
                  Texts(boxes));
        EXPECT_EQ(FileText(L"earlier profile\n"), ReadBytes(dmx));
    }
    // A full disk: nothing written is put in place.
    const CString hdx = folder / L"earlier.HDX";
    WriteText(hdx, L"earlier sections\n");
    FailingWrites full(folder.Path());
    MessageBoxScript boxes;
    EXPECT_EQ(0, RunHongYe(input, dmx, hdx));
    EXPECT_EQ(std::vector<CString>{L"创建输出文件失败!\n\n" + dmx + OthersStay(dmx)}, Texts(boxes));
    EXPECT_GT(full.Refused(), 0);
    EXPECT_EQ(FileText(L"earlier profile\n"), ReadBytes(dmx));
    EXPECT_EQ(FileText(L"earlier sections\n"), ReadBytes(hdx));
    EXPECT_EQ(4u, FilesIn(folder.Path()).size());
}

namespace {

// Binary bytes given in place of a ground line (the heads of a picture and
// of an office document): no line of them holds a number where a station
// stands.
const char kBinaryBytes[] = "\x89PNG\r\n\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1 IHDR\0\x10\r\n\xff\xfe\xfd\x08 x\r\n";
const std::string kBinary(kBinaryBytes, sizeof kBinaryBytes - 1);

} // namespace

// An input that gives nothing to convert (empty, comments only, every line
// passed over, a count that leaves nothing) is refused with the input's
// name; the earlier outputs stay as they were.
TEST(SectionConverters, AnInputThatGivesNothingIsRefusedAndTheOutputsStay)
{
    struct Empty {
        const char* what;
        std::function<int(const CString&, const CString&, const CString&)> convert;
        std::string input;
        CString message; // "%s" is the input's path
        UINT icon;
    };
    ScratchFolder folder(L"empty");
    const CString dmx = folder / L"earlier.DMX";
    const CString hdx = folder / L"earlier.HDX";
    const CString none = L"文件%s中没有可转换的数据!";
    const auto hdm = [](const CString& i, const CString&, const CString& h) { return HintHDM(i, h); };
    const auto rm = [](const CString& i, const CString&, const CString& h) { return RunRMHDX(i, h); };
    const auto copy = [](const CString& i, const CString& d, const CString&) {
        CDialog_Transform_ZHDX dialog;
        dialog.m_nMode = 11;
        dialog.m_SInFileName = i;
        dialog.m_SOutFileName = d;
        return dialog.CopyRMDMGFile();
    };
    const auto ricad = [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 0, 5); };
    const Empty cases[] = {
        {"HintCAD empty file", hdm, "", L"读输入文件%s\n\n第1行失败! 文件内容不足!", MB_ICONINFORMATION},
        {"HintCAD title lines", hdm, FileText(L"HINTCAD\n// 无数据\n"), L"读输入文件%s\n\n第3行失败! 文件内容不足!",
         MB_ICONINFORMATION},
        {"HintCAD binary bytes", hdm, kBinary, L"读输入文件%s\n\n第1行第1个数据[断面桩号:塒NG]失败!", MB_ICONINFORMATION},
        {"路线大师 empty file", rm, "", L"读输入文件%s\n\n第1行失败!", MB_ICONINFORMATION},
        {"路线大师 flag alone", rm, FileText(L"3\n"), none, MB_ICONINFORMATION},
        {"路线大师 flag 1 alone", rm, FileText(L"// 横断面\n1\n// 无数据\n"), none, MB_ICONINFORMATION},
        {"路线大师 profile empty file", copy, "", none, MB_ICONHAND},
        {"路线大师 profile comments", copy, FileText(L"// 纵地线\n\n"), none, MB_ICONHAND},
        {"鸿业 empty file", RunHongYe, "", none, MB_ICONINFORMATION},
        {"鸿业 comments", RunHongYe, FileText(L"// 鸿业纵横地面线\n\n"), none, MB_ICONINFORMATION},
        // Its second line holds a zero byte, which no text holds.
        {"RICAD binary bytes", ricad, kBinary, L"读文件[%s],\n\n第2行错误!", MB_ICONERROR},
        {"RICAD titles", ricad, FileText(L"RICAD 纵横断面\n桩号 高程 左 右\n# 注释\n"), none, MB_ICONINFORMATION},
        {"RICAD end mark first", ricad, FileText(L"# 标题\n9999\n100 52.3\n"), none, MB_ICONINFORMATION},
        // A point count of a HintCAD side beyond any line.
        {"HintCAD count -2147483648", hdm, FileText(L"100\n-2147483648 1 0.5\n1 1 0.2\n"),
         L"读输入文件%s\n\n第2行失败!\n\n[-2147483648 1 0.5]\n\n左侧断面数据个数有错!", MB_ICONINFORMATION},
        {"HintCAD count 2147483647", hdm, FileText(L"100\n1 1 0.5\n2147483647 1 0.2\n"),
         L"读输入文件%s\n\n第3行失败!\n\n[2147483647 1 0.2]\n\n右侧断面数据个数有错!", MB_ICONINFORMATION},
        {"HintCAD count 1e30", hdm, FileText(L"100\n1000000000000000000000000000000 1 0.5\n1 1 0.2\n"),
         L"读输入文件%s\n\n第2行失败!\n\n[1000000000000000000000000000000 1 0.5]\n\n左侧断面数据个数有错!",
         MB_ICONINFORMATION},
    };
    for (const Empty& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Refuses(folder, c.input, [&](const CString& input) { return c.convert(input, dmx, hdx); },
                            c.message, {dmx, hdx}, c.icon));
    }
    EXPECT_EQ(3u, FilesIn(folder.Path()).size());
}
