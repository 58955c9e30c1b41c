// The ditch-bottom elevations without their dialog: the side-slope line,
// the 3DD file to the golden text files with and without break chain, and
// the refused runs leaving an earlier output as it was.
#include "brisko/convert/DitchBottoms.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "tools_world.h"

using namespace tooltest;

TEST(DitchBottoms, TheFirstDitchPointAfterAnotherPointGivesTheMean)
{
    const struct {
        const wchar_t* line;
        double bottom;
        const wchar_t* message;
    } cases[] = {
        {L"0 100 1 2 99.5 3", 99.75, L""},
        {L"0 100 3 2 99.5 1", kNoDitchBottom, L""},          // a code 3 first is passed over
        {L"0 100 1 2 99 3.9 4 98 3", 99.5, L""},            // the code truncated; the first one counts
        {L"0 100 1 2 99 -3", kNoDitchBottom, L""},
        {L"0 100 1 2 99.5 3 4", 0, L"边坡个数不匹配!\n每点3个数据."},
        {L"0 100 1 x 99.5 3", 0, L"边坡第4个数据偏宽<x>时错误!"},
        {L"0 100 1 2 高 3", 0, L"边坡第5个数据高程<高>时错误!"},
        {L"0 100 1 2 99.5 3 4 98 K", 0, L"边坡第9个数据<K>时错误!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        double bottom = 1.0;
        EXPECT_EQ(CString(c.message), ReadDitchBottom(c.line, bottom));
        if (*c.message == 0) EXPECT_DOUBLE_EQ(c.bottom, bottom);
    }
}

TEST(DitchBottoms, TheSectionsGiveTheGoldenFiles)
{
    StationSettings stations(3, 1);
    ScratchFolder folder(L"ditch_golden");
    const CString input = PutFixture(folder, "DITCH_3DD", L"一号路.3DD");
    const CString dl = PutFixture(folder, "CHAIN_DL", L"一号路.DL");
    const CString out = folder / L"一号路沟底高程.TXT";
    MessageBoxScript boxes;
    ASSERT_EQ(1, ExtractDitchBottoms(nullptr, input, dl, out, L"一号路")) << Utf8(boxes.LastText());
    EXPECT_EQ(Fixture("DITCH_CHAIN_TXT"), ReadBytes(out));
    ASSERT_EQ(1, ExtractDitchBottoms(nullptr, input, L"", out, L"一号路")) << Utf8(boxes.LastText());
    EXPECT_EQ(Fixture("DITCH_PLAIN_TXT"), ReadBytes(out));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(DitchBottoms, ABadSectionNamesItsLineAndWritesNothing)
{
    const struct {
        const char* fixture;
        const wchar_t* text;
        const wchar_t* format; // with the path, then the line
        int line;
    } cases[] = {
        {"DITCH_7FIELDS_3DD", nullptr, L"读取3DD文件%s,第%d行左侧边坡数据错误!\n\n边坡个数不匹配!\n每点3个数据.!", 6},
        {nullptr, L"标题\n1100\na\nb\nc\n0 100 1\n0 100 1 2 x 3\n",
         L"读取3DD文件%s,第%d行右侧边坡数据错误!\n\n边坡第5个数据高程<x>时错误!!", 7},
        {nullptr, L"标题\n1100\na\nb\nc\n0 100 1\n", L"读取3DD文件%s,第%d行失败!\n\n断面数据不全!", 7},
        {nullptr, L"标题\n1100\na\nb\n", L"读取3DD文件%s,第%d行失败!\n\n断面数据不全!", 5},
        {nullptr, L"标题\n1100\na\nb\nc\n0 100 1\n0 100 1\nK1+100\n", L"读取3DD文件%s,第%d行，\n\n[K1+100]断面桩号错误!", 8},
        {nullptr, L"// 只有注释\n", L"读取3DD文件失败!\n\n%s", 0},
        // A title line and no section: nothing to extract.
        {nullptr, L"// 说明\nTAVIX道路三维数据\n", L"文件%s中没有可转换的数据!", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.format));
        ScratchFolder folder(L"ditch_refused");
        const CString input = c.fixture ? PutFixture(folder, c.fixture, L"in.3DD") : PutText(folder, L"in.3DD", c.text);
        const CString out = PutText(folder, L"out.TXT", L"早先的结果\n");
        MessageBoxScript boxes;
        EXPECT_EQ(0, ExtractDitchBottoms(nullptr, input, L"", out, L"一号路"));
        EXPECT_EQ(std::vector<CString>{ClFormat(c.format, input.GetString(), c.line)}, boxes.Texts());
        EXPECT_EQ(FileText(L"早先的结果\n"), ReadBytes(out));
    }
}

TEST(DitchBottoms, ABreakChainThatFailsToLoadIsNamed)
{
    ScratchFolder folder(L"ditch_chain");
    const CString input = PutFixture(folder, "DITCH_3DD", L"in.3DD");
    const CString dl = PutText(folder, L"bad.DL", L"1200\n");
    tkxBreakChain probe;
    ASSERT_EQ(0, probe.LoadDLFile(dl));
    const CString reason = tkx_GetLastError();
    MessageBoxScript boxes;
    EXPECT_EQ(0, ExtractDitchBottoms(nullptr, input, dl, folder / L"out.TXT", L"一号路"));
    EXPECT_EQ(std::vector<CString>{ClFormat(L"读取桩号断链文件<%s>出错!\n\n%s", dl.GetString(), reason.GetString())},
              boxes.Texts());
    EXPECT_FALSE(FileExists(folder / L"out.TXT"));
}
