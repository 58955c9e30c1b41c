// The change of a cross-section file's layout without its dialog: each
// layout into the next against golden files, and the two failing steps
// with their captions.
#include "brisko/convert/HDXLayout.h"
#include "tools_world.h"

using namespace tooltest;

TEST(HDXLayout, EachLayoutIsNamedAndProposesAnother)
{
    EXPECT_EQ(CString(L"ABS: 相对中桩距离+绝对高程"), HDXLayoutText(0));
    EXPECT_EQ(CString(L"ABS1: 相对中桩距离+与中桩高差"), HDXLayoutText(1));
    EXPECT_EQ(CString(L"抬杆法: 与相邻前点的距离+高差"), HDXLayoutText(2));
    EXPECT_EQ(1, HDXPresetTarget(0));
    EXPECT_EQ(2, HDXPresetTarget(1));
    EXPECT_EQ(1, HDXPresetTarget(2));
}

TEST(HDXLayout, EachLayoutBecomesTheNextOfTheGoldenFiles)
{
    StationSettings stations(3, 1);
    ScratchFolder folder(L"layout_golden");
    const CString dmx = PutFixture(folder, "CHAIN_DMX", L"路.DMX");
    const CString dl = PutFixture(folder, "CHAIN_DL", L"路.DL");
    const struct {
        const char* input;
        int target;
        const char* golden;
    } cases[] = {
        {"CHAIN_HDX", 0, "LAYOUT_ABS_HDX"},
        {"LAYOUT_ABS_HDX", 1, "LAYOUT_ABS1_HDX"},
        {"LAYOUT_ABS1_HDX", 2, "LAYOUT_ROD_HDX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        const CString input = PutFixture(folder, c.input, L"路.HDX");
        const CString output = folder / L"路_New.HDX";
        MessageBoxScript boxes;
        ASSERT_EQ(1, ConvertHDXLayout(nullptr, input, dmx, dl, c.target, output)) << Utf8(boxes.LastText());
        EXPECT_EQ(Fixture(c.golden), ReadBytes(output));
    }
}

TEST(HDXLayout, AFailedStepIsShownUnderItsCaption)
{
    ScratchFolder folder(L"layout_refused");
    const CString hdx = PutFixture(folder, "CHAIN_HDX", L"路.HDX");
    const CString dmx = PutFixture(folder, "CHAIN_DMX", L"路.DMX");
    const CString dl = PutFixture(folder, "CHAIN_DL", L"路.DL");

    // Without the break chain the second section's segment 2 does not exist.
    MessageBoxScript boxes;
    EXPECT_EQ(0, ConvertHDXLayout(nullptr, hdx, dmx, L"", 0, folder / L"out.HDX"));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"转换横地线文件格式"), boxes.Shown()[0].caption);
    EXPECT_FALSE(boxes.Shown()[0].text.IsEmpty());
    EXPECT_FALSE(FileExists(folder / L"out.HDX"));

    const CString nowhere = folder / L"无此文件夹\\out.HDX";
    EXPECT_EQ(0, ConvertHDXLayout(nullptr, hdx, dmx, dl, 1, nowhere));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"输出新横地线文件失败"), boxes.Shown()[1].caption);
}
