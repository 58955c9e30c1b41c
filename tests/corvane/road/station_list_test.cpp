// Station-list files and stepped station sequences across breaks.
#include "corvane/base/LastError.h"
#include "corvane/project/StationList.h"
#include "corvane/road/BreakChain.h"
#include "road_test_support.h"

#include <vector>

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

using Vec = std::vector<double>;

Vec Sequence(const tkxBreakChain& chain, double start, double end, double step)
{
    CArray<double, double> out;
    tkx_DivideZHSequence(chain, start, end, step, out);
    return Vec(out.begin(), out.end());
}

TEST(StationListTest, StationTextsAndNotes)
{
    ScratchFolder folder(L"st_texts");
    const CString path = folder / L"road.ST";
    road_test::WriteText(path, L"// 桩号\nK1+200\nK1+230 2\nK1+240 桥头 2\n1300,涵洞\n");
    CStringArray stations, notes;
    EXPECT_EQ(Utf8(L"文件结束"), Utf8(tkx_ReadSTFileA(path, stations, notes)));
    ASSERT_EQ(4, stations.GetSize());
    ASSERT_EQ(4, notes.GetSize());
    EXPECT_EQ(Utf8(L"K1+200"), Utf8(stations[0]));
    EXPECT_EQ(Utf8(L"K1+230_2"), Utf8(stations[1]));
    EXPECT_EQ(Utf8(L""), Utf8(notes[1]));
    EXPECT_EQ(Utf8(L"K1+240_2"), Utf8(stations[2]));
    EXPECT_EQ(Utf8(L"桥头"), Utf8(notes[2]));
    EXPECT_EQ(Utf8(L"1300"), Utf8(stations[3]));
    EXPECT_EQ(Utf8(L"涵洞"), Utf8(notes[3]));

    // A bad line: its message names the file and the line, and the arrays
    // keep what they held.
    struct Case {
        const wchar_t* text;
        const wchar_t* message; // after the file
    } cases[] = {
        {L"K1+200\nK1+240 桥头 二\n", L"读第2行<桩号>, 第3个数据<二>出错!"},
        {L"K1+200\n\n,,,\n", L"读第3行时<桩号,,,>出错"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        road_test::WriteText(path, c.text);
        const CString message = tkx_ReadSTFileA(path, stations, notes);
        EXPECT_EQ(Utf8(L"桩号文件(" + path + L")\n\n" + c.message), Utf8(message));
        EXPECT_EQ(Utf8(message), Utf8(tkx_GetLastError()));
        ASSERT_EQ(4, stations.GetSize());
        EXPECT_EQ(Utf8(L"K1+240_2"), Utf8(stations[2]));
        EXPECT_EQ(Utf8(L"涵洞"), Utf8(notes[3]));
    }

    const CString missing = folder / L"missing.ST";
    EXPECT_EQ(Utf8(ClFormat(L"打开桩号文件<%s>失败!", missing.GetString())), Utf8(tkx_ReadSTFileA(missing, stations, notes)));
}

TEST(StationListTest, StationsAsChainages)
{
    ScratchFolder folder(L"st_chainages");
    const CString path = folder / L"road.ST";
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180"));
    road_test::WriteText(path, L"K1+190\nK1+190 2 说明\nK1+190_2 中桩\n1100\n1100\n");
    CArray<double, double> chainages;
    EXPECT_EQ(Utf8(L"文件结束"), Utf8(tkx_ReadSTFile(path, &chain, chainages)));
    EXPECT_EQ((Vec{1190, 1190, 1210, 1100, 1100}), Vec(chainages.begin(), chainages.end()))
        << "only the first field counts; file order, duplicates kept";

    // A station that does not convert: the chain's message after the file
    // and the line; the chainages read before stay as they were.
    road_test::WriteText(path, L"K1+190\nK1+1x0\n");
    EXPECT_EQ(Utf8(L"桩号文件(" + path + L")\n\n第2行: 桩号(1x0)数据错误! "), Utf8(tkx_ReadSTFile(path, &chain, chainages)));
    road_test::WriteText(path, L"K1+190\n\n,\n");
    EXPECT_EQ(Utf8(L"桩号文件(" + path + L")\n\n读第3行时<桩号,>出错"), Utf8(tkx_ReadSTFile(path, &chain, chainages)));
    EXPECT_EQ((Vec{1190, 1190, 1210, 1100, 1100}), Vec(chainages.begin(), chainages.end()));

    tkx_SetLastError(L"before");
    EXPECT_EQ(Utf8(L"未定义断链对象，无法转换桩号数据!"), Utf8(tkx_ReadSTFile(path, nullptr, chainages)));
    EXPECT_EQ(Utf8(L"before"), Utf8(tkx_GetLastError()));
}

TEST(StationListTest, SequenceWithoutBreaks)
{
    const tkxBreakChain chain;
    EXPECT_EQ((Vec{0, 20, 40, 60, 80, 95}), Sequence(chain, 0, 95, 20));
    EXPECT_EQ((Vec{5, 25, 45, 60}), Sequence(chain, 5, 60, 20)) << "steps run from the start";
    EXPECT_EQ((Vec{0, 20, 40}), Sequence(chain, 0, 40, 20));
    EXPECT_EQ(Vec{}, Sequence(chain, 10, 5, 20));
    EXPECT_EQ(Vec{}, Sequence(chain, 0, 95, 0));
}

TEST(StationListTest, SequenceAcrossBreaks)
{
    tkxBreakChain chain;
    // 1200=1185: segment 2 starts at 1185 (chainage 1200): its stations run
    // on the multiples of 20 from 1200 (chainage 1215).  2500=2530: a gap;
    // segment 3 starts at 2530 (chainage 2515), its stations from 2540.
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1185, 2500=2530"));
    const Vec whole = Sequence(chain, 1120, 2600, 20);
    ASSERT_GE(whole.size(), 15u);
    EXPECT_EQ((Vec{1120, 1140, 1160, 1180, 1200, 1215, 1235}), Vec(whole.begin(), whole.begin() + 7));
    EXPECT_EQ((Vec{2475, 2495, 2515, 2525, 2545, 2565, 2585, 2600}), Vec(whole.end() - 8, whole.end()));
    for (size_t i = 1; i < whole.size(); ++i) EXPECT_LT(whole[i - 1], whole[i]) << i;

    // A start inside the second segment: nothing before the start.
    EXPECT_EQ((Vec{1250, 1270, 1290}), Sequence(chain, 1250, 1290, 20));

    // At a break both stations of one place are multiples of the step: the
    // place is listed once.
    tkxBreakChain even;
    ASSERT_EQ(1, even.GetDLFromString(L"1200=1180"));
    EXPECT_EQ((Vec{1160, 1180, 1200, 1220, 1240}), Sequence(even, 1160, 1240, 20));
}

} // namespace
