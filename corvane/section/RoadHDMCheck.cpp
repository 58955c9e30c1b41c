// The standard cross-section's check: table sizes against their stations and
// negative widths, heights and thicknesses, each table's sizes before its
// values.  Every text begins with a line break; city roads and highways name
// the outer parts differently.
#include "corvane/road/BreakChain.h"
#include "corvane/section/RoadHDM.h"

#include <initializer_list>
#include <vector>

namespace {

using Values = CArray<double, double>;

bool Negative(double value)
{
    return value < -1e-8;
}

// An array and the text naming it.
struct Named {
    const Values* values;
    const wchar_t* text;
};

CString FirstSizeProblem(std::initializer_list<Named> arrays, INT_PTR count)
{
    for (const Named& a : arrays)
        if (a.values->GetSize() != count) return a.text;
    return CString();
}

int Int(INT_PTR value)
{
    return static_cast<int>(value);
}

CString DepthSizes(const tkxRoadHDM& hdm, bool city)
{
    const INT_PTR n = hdm.m_DepthZH.GetSize();
    if (hdm.m_H0.GetSize() != n)
        return ClFormat(L"\n错误提示: <中分带高度Hi数据个数%d>与<路槽深度断面个数n=%d>不符!", Int(hdm.m_H0.GetSize()), Int(n));
    if (hdm.m_LMLeft.GetSize() != n)
        return ClFormat(L"\n错误提示: <左侧行车道路面结构层厚度Hi数据个数%d>与<路槽深度断面个数n=%d>不符!",
                        Int(hdm.m_LMLeft.GetSize()), Int(n));
    if (hdm.m_LMRight.GetSize() != n)
        return ClFormat(L"\n错误提示: <右侧行车道路面结构层厚度Hi数据个数%d>与<路槽深度断面个数n=%d>不符!",
                        Int(hdm.m_LMRight.GetSize()), Int(n));
    if (hdm.m_YLJLeft.GetSize() != n || hdm.m_YLJRight.GetSize() != n)
        return city ? L"\n错误提示: <非机动车道结构层厚度Hi数据个数>与<路槽深度断面个数n>不符!"
                    : L"\n错误提示: <硬路肩厚度Hi数据个数>与<路槽深度断面个数n>不符!";
    if (city && hdm.m_RXDThickness.GetSize() != n)
        return L"\n错误提示: <人行道铺装层厚度数据个数>与<路槽深度断面个数n>不符!";
    return CString();
}

CString DepthValues(const tkxRoadHDM& hdm, bool city)
{
    for (INT_PTR k = 0; k < hdm.m_DepthZH.GetSize(); ++k) {
        const int number = Int(k + 1);
        if (Negative(hdm.m_H0[k])) return ClFormat(L"\n错误提示: 第%d个<中分带高度H0数据>小于零!", number);
        if (Negative(hdm.m_LMLeft[k]) || Negative(hdm.m_LMRight[k]))
            return ClFormat(L"\n错误提示: 第%d个<行车道路面结构层厚度Hi数据>小于零!", number);
        if (Negative(hdm.m_YLJLeft[k]) || Negative(hdm.m_YLJRight[k]))
            return ClFormat(city ? L"\n错误提示: 第%d个<非机动车道结构层厚度Hi数据>小于零!"
                                 : L"\n错误提示: 第%d个<硬路肩厚度Hi数据>小于零!",
                            number);
    }
    return CString();
}

CString CityDepthSizes(const tkxRoadHDM& hdm)
{
    return FirstSizeProblem(
        {
            {&hdm.m_CFDHeight, L"\n错误提示: <快、慢车道分隔带高Hi数据个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_RXDHeight, L"\n错误提示: <人行道侧石高Hi数据个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_I0, L"\n错误提示: <左侧人行道横坡度个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_I1, L"\n错误提示: <左侧非机动车道横坡度个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_I2, L"\n错误提示: <左侧快、慢车道分隔带横坡度个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_I3, L"\n错误提示: <右侧快、慢车道分隔带横坡度个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_I4, L"\n错误提示: <右侧非机动车道横坡度个数>与<路槽深度断面个数n>不符!"},
            {&hdm.m_I5, L"\n错误提示: <右侧人行道横坡度个数>与<路槽深度断面个数n>不符!"},
        },
        hdm.m_DepthZH.GetSize());
}

// The eight widths of every road in the order they are checked, with their
// size text and their negative-value text.
struct Width {
    const Values* values;
    const wchar_t* sizeText;
    const wchar_t* negativeText;
};

std::vector<Width> Widths(const tkxRoadHDM& hdm, bool city)
{
    std::vector<Width> widths;
    if (city)
        widths = {
            {&hdm.m_Sa, L"\n错误提示: <左侧人行道宽Sa数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个左侧人行道宽度Sa数据<%.3f>小于零! 桩号位置:%s."},
            {&hdm.m_Sb, L"\n错误提示: <右侧人行道宽Sb数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个右侧人行道宽度Sb数据<%.3f>小于零! 桩号位置:%s."},
            {&hdm.m_Ha, L"\n错误提示: <左侧非机动车道宽Ha数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个左侧非机动车道宽度Ha数据<%.3f>小于零! 桩号位置:%s."},
            {&hdm.m_Hb, L"\n错误提示: <右侧非机动车道宽Hb数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个右侧非机动车道宽度Hb数据<%.3f>小于零! 桩号位置:%s."},
        };
    else
        widths = {
            {&hdm.m_Sa, L"\n错误提示: <左侧土路肩宽度Sa数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个左侧土路肩宽度Sa数据<%.3f>小于零! 桩号位置:%s."},
            {&hdm.m_Sb, L"\n错误提示: <右侧土路肩宽度Sb数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个右侧土路肩宽度Sb数据<%.3f>小于零! 桩号位置:%s."},
            {&hdm.m_Ha, L"\n错误提示: <左侧硬路肩宽度Ha数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个左侧硬路肩宽度Ha数据<%.3f>小于零! 桩号位置:%s."},
            {&hdm.m_Hb, L"\n错误提示: <右侧硬路肩宽度Hb数据个数>与<横断面宽度变化断面个数n>不符!",
             L"\n错误提示: 第%d个右侧硬路肩宽度Hb数据<%.3f>小于零! 桩号位置:%s."},
        };
    // The carriageway and the central divider are named alike on both.
    widths.insert(widths.end(),
                  {
                      {&hdm.m_Ca, L"\n错误提示: <左侧行车道宽度Ca数据个数>与<横断面宽度变化断面个数n>不符!",
                       L"\n错误提示: 第%d个左侧行车道宽度Ca数据<%.3f>小于零! 桩号位置:%s."},
                      {&hdm.m_Cb, L"\n错误提示: <右侧行车道宽度Cb数据个数>与<横断面宽度变化断面个数n>不符!",
                       L"\n错误提示: 第%d个右侧行车道宽度Cb数据<%.3f>小于零! 桩号位置:%s."},
                      {&hdm.m_Cen1, L"\n错误提示: <左侧中央分隔带宽度Cen1数据个数>与<横断面宽度变化断面个数n>不符!",
                       L"\n错误提示: 第%d个左侧中分带宽度Cen1数据<%.3f>小于零! 桩号位置:%s."},
                      {&hdm.m_Cen2, L"\n错误提示: <右侧中央分隔带宽度Cen2数据个数>与<横断面宽度变化断面个数n>不符!",
                       L"\n错误提示: 第%d个右侧中分带宽度Cen2数据<%.3f>小于零! 桩号位置:%s."},
                  });
    return widths;
}

std::vector<Width> SideDividers(const tkxRoadHDM& hdm)
{
    return {
        {&hdm.m_Fa, L"\n错误提示: <左侧侧分带宽度Fa数据个数>与<横断面宽度变化断面个数n>不符!",
         L"\n错误提示: 第%d个左侧侧分带宽度Fa数据<%.3f>小于零! 桩号位置:%s."},
        {&hdm.m_Fb, L"\n错误提示: <右侧侧分带宽度Fb数据个数>与<横断面宽度变化断面个数n>不符!",
         L"\n错误提示: 第%d个右侧侧分带宽度Fb数据<%.3f>小于零! 桩号位置:%s."},
    };
}

CString WidthSizes(const std::vector<Width>& widths, INT_PTR count)
{
    for (const Width& w : widths)
        if (w.values->GetSize() != count) return w.sizeText;
    return CString();
}

} // namespace

CString tkxRoadHDM::StationText(double station) const
{
    // Without a break chain the station is shown as the plain number.
    if (!m_pBreakChain) return tkxBreakChain().GetStringBreakZH(station, -1, 1);
    return m_pBreakChain->GetStringBreakZH(station, -1, 1);
}

CString tkxRoadHDM::CountProblem() const
{
    const bool city = m_RoadStyle == 1;
    CString problem = DepthSizes(*this, city);
    if (problem.IsEmpty() && city) problem = CityDepthSizes(*this);
    if (problem.IsEmpty()) problem = WidthSizes(Widths(*this, city), m_WidthZH.GetSize());
    if (problem.IsEmpty() && city) problem = WidthSizes(SideDividers(*this), m_WidthZH.GetSize());
    return problem;
}

CString tkxRoadHDM::IsValid() const
{
    const bool city = m_RoadStyle == 1;
    CString problem = DepthSizes(*this, city);
    if (problem.IsEmpty()) problem = DepthValues(*this, city);
    if (problem.IsEmpty() && city) problem = CityDepthSizes(*this);
    if (!problem.IsEmpty()) return problem;

    auto widthValues = [this](const std::vector<Width>& widths) {
        const INT_PTR m = m_WidthZH.GetSize();
        CString found = WidthSizes(widths, m);
        for (INT_PTR k = 0; k < m && found.IsEmpty(); ++k) {
            for (const Width& w : widths) {
                const double value = (*w.values)[k];
                if (Negative(value)) {
                    found = ClFormat(w.negativeText, Int(k + 1), value, StationText(m_WidthZH[k]).GetString());
                    break;
                }
            }
        }
        return found;
    };
    problem = widthValues(Widths(*this, city));
    if (problem.IsEmpty() && city) problem = widthValues(SideDividers(*this));
    return problem;
}
