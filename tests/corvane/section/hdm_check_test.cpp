// The standard cross-section's check: its whole message table in the order
// the rules run, for highways and city roads.
#include "corvane/road/BreakChain.h"
#include "corvane/section/RoadHDM.h"
#include "section_test_support.h"

#include <functional>

using section_test::Utf8;

namespace {

using Values = CArray<double, double>;

void Fill(Values& values, std::initializer_list<double> list)
{
    values.RemoveAll();
    for (double v : list) values.Add(v);
}

// Three depth sections and two width sections (the second on segment 2),
// every value sound.
tkxRoadHDM SoundSection(const tkxBreakChain* chain, short style)
{
    tkxRoadHDM hdm(chain);
    hdm.SetRoadStyle(style);
    Fill(hdm.m_DepthZH, {100.0, 200.0, 300.0});
    for (Values* v : {&hdm.m_H0, &hdm.m_LMLeft, &hdm.m_LMRight, &hdm.m_YLJLeft, &hdm.m_YLJRight})
        Fill(*v, {0.2, 0.3, 0.4});
    Fill(hdm.m_WidthZH, {100.0, 1210.0});
    for (Values* v : {&hdm.m_Sa, &hdm.m_Sb, &hdm.m_Ha, &hdm.m_Hb, &hdm.m_Ca, &hdm.m_Cb, &hdm.m_Cen1, &hdm.m_Cen2})
        Fill(*v, {1.0, 2.0});
    if (style == 1) {
        for (Values* v : {&hdm.m_RXDThickness, &hdm.m_CFDHeight, &hdm.m_RXDHeight, &hdm.m_I0, &hdm.m_I1, &hdm.m_I2,
                          &hdm.m_I3, &hdm.m_I4, &hdm.m_I5})
            Fill(*v, {0.1, 0.1, 0.1});
        Fill(hdm.m_Fa, {1.5, 1.5});
        Fill(hdm.m_Fb, {1.5, 1.5});
    }
    return hdm;
}

struct CheckCase {
    const char* what;
    short style;
    std::function<void(tkxRoadHDM&)> damage;
    const wchar_t* message;
};

class HdmCheckTest : public ::testing::Test
{
protected:
    void SetUp() override { section_test::MakeTwoBreaks(chain); }

    section_test::StationSettings settings{3, 1};
    tkxBreakChain chain;
};

TEST_F(HdmCheckTest, SoundAndEmptySectionsPass)
{
    for (short style : {0, 1}) {
        EXPECT_EQ(L"", SoundSection(&chain, style).IsValid());
        tkxRoadHDM empty;
        empty.SetRoadStyle(style);
        EXPECT_EQ(L"", empty.IsValid());
    }
    // A highway never looks at the city's arrays.
    tkxRoadHDM highway = SoundSection(&chain, 0);
    Fill(highway.m_I3, {-5.0});
    Fill(highway.m_Fa, {-1.0, -1.0, -1.0});
    EXPECT_EQ(L"", highway.IsValid());
}

TEST_F(HdmCheckTest, MessageTable)
{
    const CheckCase cases[] = {
        {"H0 count", 0, [](tkxRoadHDM& h) { h.m_H0.RemoveAt(0); },
         L"\n错误提示: <中分带高度Hi数据个数2>与<路槽深度断面个数n=3>不符!"},
        {"left pavement count", 1, [](tkxRoadHDM& h) { h.m_LMLeft.Add(1.0); },
         L"\n错误提示: <左侧行车道路面结构层厚度Hi数据个数4>与<路槽深度断面个数n=3>不符!"},
        {"right pavement count", 0, [](tkxRoadHDM& h) { h.m_LMRight.RemoveAll(); },
         L"\n错误提示: <右侧行车道路面结构层厚度Hi数据个数0>与<路槽深度断面个数n=3>不符!"},
        {"shoulder count", 0, [](tkxRoadHDM& h) { h.m_YLJRight.RemoveAt(1); },
         L"\n错误提示: <硬路肩厚度Hi数据个数>与<路槽深度断面个数n>不符!"},
        {"non-motor lane count", 1, [](tkxRoadHDM& h) { h.m_YLJLeft.RemoveAt(1); },
         L"\n错误提示: <非机动车道结构层厚度Hi数据个数>与<路槽深度断面个数n>不符!"},
        {"paving count", 1, [](tkxRoadHDM& h) { h.m_RXDThickness.RemoveAt(1); },
         L"\n错误提示: <人行道铺装层厚度数据个数>与<路槽深度断面个数n>不符!"},
        {"negative H0", 0, [](tkxRoadHDM& h) { h.m_H0[1] = -0.1; }, L"\n错误提示: 第2个<中分带高度H0数据>小于零!"},
        {"negative right pavement", 1, [](tkxRoadHDM& h) { h.m_LMRight[2] = -0.0001; },
         L"\n错误提示: 第3个<行车道路面结构层厚度Hi数据>小于零!"},
        {"negative shoulder", 0, [](tkxRoadHDM& h) { h.m_YLJRight[0] = -1.0; },
         L"\n错误提示: 第1个<硬路肩厚度Hi数据>小于零!"},
        {"negative non-motor lane", 1, [](tkxRoadHDM& h) { h.m_YLJLeft[0] = -1.0; },
         L"\n错误提示: 第1个<非机动车道结构层厚度Hi数据>小于零!"},
        {"within the tolerance", 0, [](tkxRoadHDM& h) { h.m_H0[0] = -0.00000001; h.m_Sa[0] = -0.00000001; }, L""},
        {"side divider height count", 1, [](tkxRoadHDM& h) { h.m_CFDHeight.RemoveAt(0); },
         L"\n错误提示: <快、慢车道分隔带高Hi数据个数>与<路槽深度断面个数n>不符!"},
        {"kerb height count", 1, [](tkxRoadHDM& h) { h.m_RXDHeight.RemoveAt(0); },
         L"\n错误提示: <人行道侧石高Hi数据个数>与<路槽深度断面个数n>不符!"},
        {"I0 count", 1, [](tkxRoadHDM& h) { h.m_I0.RemoveAt(0); },
         L"\n错误提示: <左侧人行道横坡度个数>与<路槽深度断面个数n>不符!"},
        {"I1 count", 1, [](tkxRoadHDM& h) { h.m_I1.RemoveAt(0); },
         L"\n错误提示: <左侧非机动车道横坡度个数>与<路槽深度断面个数n>不符!"},
        {"I2 count", 1, [](tkxRoadHDM& h) { h.m_I2.RemoveAt(0); },
         L"\n错误提示: <左侧快、慢车道分隔带横坡度个数>与<路槽深度断面个数n>不符!"},
        {"I3 count before negative widths", 1, [](tkxRoadHDM& h) { h.m_I3.RemoveAt(0); h.m_Ca[0] = -1.0; },
         L"\n错误提示: <右侧快、慢车道分隔带横坡度个数>与<路槽深度断面个数n>不符!"},
        {"I4 count", 1, [](tkxRoadHDM& h) { h.m_I4.RemoveAt(0); },
         L"\n错误提示: <右侧非机动车道横坡度个数>与<路槽深度断面个数n>不符!"},
        {"I5 count", 1, [](tkxRoadHDM& h) { h.m_I5.RemoveAt(0); },
         L"\n错误提示: <右侧人行道横坡度个数>与<路槽深度断面个数n>不符!"},
        {"depth values before widths", 0, [](tkxRoadHDM& h) { h.m_LMLeft[2] = -0.1; h.m_Sa[0] = -1.0; },
         L"\n错误提示: 第3个<行车道路面结构层厚度Hi数据>小于零!"},
        {"Sa count, highway", 0, [](tkxRoadHDM& h) { h.m_Sa.RemoveAt(0); },
         L"\n错误提示: <左侧土路肩宽度Sa数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Sa count, city", 1, [](tkxRoadHDM& h) { h.m_Sa.RemoveAt(0); },
         L"\n错误提示: <左侧人行道宽Sa数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Sb count, highway", 0, [](tkxRoadHDM& h) { h.m_Sb.RemoveAt(0); },
         L"\n错误提示: <右侧土路肩宽度Sb数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Sb count, city", 1, [](tkxRoadHDM& h) { h.m_Sb.RemoveAt(0); },
         L"\n错误提示: <右侧人行道宽Sb数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Ha count, highway", 0, [](tkxRoadHDM& h) { h.m_Ha.RemoveAt(0); },
         L"\n错误提示: <左侧硬路肩宽度Ha数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Ha count, city", 1, [](tkxRoadHDM& h) { h.m_Ha.RemoveAt(0); },
         L"\n错误提示: <左侧非机动车道宽Ha数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Hb count, highway", 0, [](tkxRoadHDM& h) { h.m_Hb.RemoveAt(0); },
         L"\n错误提示: <右侧硬路肩宽度Hb数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Hb count, city", 1, [](tkxRoadHDM& h) { h.m_Hb.RemoveAt(0); },
         L"\n错误提示: <右侧非机动车道宽Hb数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Ca count", 0, [](tkxRoadHDM& h) { h.m_Ca.RemoveAt(0); },
         L"\n错误提示: <左侧行车道宽度Ca数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Cb count", 1, [](tkxRoadHDM& h) { h.m_Cb.RemoveAt(0); },
         L"\n错误提示: <右侧行车道宽度Cb数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Cen1 count", 0, [](tkxRoadHDM& h) { h.m_Cen1.RemoveAt(0); },
         L"\n错误提示: <左侧中央分隔带宽度Cen1数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Cen2 count", 1, [](tkxRoadHDM& h) { h.m_Cen2.Add(1.0); },
         L"\n错误提示: <右侧中央分隔带宽度Cen2数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"width counts before width values", 0, [](tkxRoadHDM& h) { h.m_Sa[0] = -1.0; h.m_Cen2.RemoveAt(0); },
         L"\n错误提示: <右侧中央分隔带宽度Cen2数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"negative Sa, highway", 0, [](tkxRoadHDM& h) { h.m_Sa[0] = -0.0001; },
         L"\n错误提示: 第1个左侧土路肩宽度Sa数据<-0.000>小于零! 桩号位置:100.000."},
        {"negative Sa, city", 1, [](tkxRoadHDM& h) { h.m_Sa[1] = -1.25; },
         L"\n错误提示: 第2个左侧人行道宽度Sa数据<-1.250>小于零! 桩号位置:1190.000_2."},
        {"negative Sb, highway", 0, [](tkxRoadHDM& h) { h.m_Sb[1] = -2.0; },
         L"\n错误提示: 第2个右侧土路肩宽度Sb数据<-2.000>小于零! 桩号位置:1190.000_2."},
        {"negative Sb, city", 1, [](tkxRoadHDM& h) { h.m_Sb[0] = -2.0; },
         L"\n错误提示: 第1个右侧人行道宽度Sb数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Ha, highway", 0, [](tkxRoadHDM& h) { h.m_Ha[0] = -2.0; },
         L"\n错误提示: 第1个左侧硬路肩宽度Ha数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Ha, city", 1, [](tkxRoadHDM& h) { h.m_Ha[0] = -2.0; },
         L"\n错误提示: 第1个左侧非机动车道宽度Ha数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Hb, highway", 0, [](tkxRoadHDM& h) { h.m_Hb[0] = -2.0; },
         L"\n错误提示: 第1个右侧硬路肩宽度Hb数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Hb, city", 1, [](tkxRoadHDM& h) { h.m_Hb[0] = -2.0; },
         L"\n错误提示: 第1个右侧非机动车道宽度Hb数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Ca", 0, [](tkxRoadHDM& h) { h.m_Ca[0] = -2.0; },
         L"\n错误提示: 第1个左侧行车道宽度Ca数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Cb", 1, [](tkxRoadHDM& h) { h.m_Cb[0] = -2.0; },
         L"\n错误提示: 第1个右侧行车道宽度Cb数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Cen1", 0, [](tkxRoadHDM& h) { h.m_Cen1[0] = -2.0; },
         L"\n错误提示: 第1个左侧中分带宽度Cen1数据<-2.000>小于零! 桩号位置:100.000."},
        {"negative Cen2", 1, [](tkxRoadHDM& h) { h.m_Cen2[0] = -2.0; },
         L"\n错误提示: 第1个右侧中分带宽度Cen2数据<-2.000>小于零! 桩号位置:100.000."},
        {"section by section", 0, [](tkxRoadHDM& h) { h.m_Cen2[0] = -2.0; h.m_Sa[1] = -1.0; },
         L"\n错误提示: 第1个右侧中分带宽度Cen2数据<-2.000>小于零! 桩号位置:100.000."},
        {"Fa count", 1, [](tkxRoadHDM& h) { h.m_Fa.RemoveAt(0); },
         L"\n错误提示: <左侧侧分带宽度Fa数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"Fb count", 1, [](tkxRoadHDM& h) { h.m_Fb.Add(0.0); },
         L"\n错误提示: <右侧侧分带宽度Fb数据个数>与<横断面宽度变化断面个数n>不符!"},
        {"side dividers after the other widths", 1, [](tkxRoadHDM& h) { h.m_Fa.RemoveAt(0); h.m_Sb[1] = -1.0; },
         L"\n错误提示: 第2个右侧人行道宽度Sb数据<-1.000>小于零! 桩号位置:1190.000_2."},
        {"negative Fa", 1, [](tkxRoadHDM& h) { h.m_Fa[1] = -0.5; },
         L"\n错误提示: 第2个左侧侧分带宽度Fa数据<-0.500>小于零! 桩号位置:1190.000_2."},
        {"negative Fb", 1, [](tkxRoadHDM& h) { h.m_Fb[0] = -0.5; },
         L"\n错误提示: 第1个右侧侧分带宽度Fb数据<-0.500>小于零! 桩号位置:100.000."},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        tkxRoadHDM hdm = SoundSection(&chain, c.style);
        c.damage(hdm);
        EXPECT_EQ(CString(c.message), hdm.IsValid());
    }
}

TEST_F(HdmCheckTest, StationTextWithoutABreakChainIsThePlainNumber)
{
    tkxRoadHDM hdm = SoundSection(nullptr, 0);
    hdm.m_Sb[1] = -2.0;
    EXPECT_EQ(L"\n错误提示: 第2个右侧土路肩宽度Sb数据<-2.000>小于零! 桩号位置:1210.000.", hdm.IsValid());
}

} // namespace
