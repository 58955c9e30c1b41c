// The standard cross-section at a station: widths, edge offsets, the part
// of a point, part names and edge lines, and the depth-table values.
#include "corvane/geometry/Numeric.h"
#include "corvane/project/Widen.h"
#include "corvane/section/RoadHDM.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

using Values = CArray<double, double>;

// The width array of a part code; null for codes without one.
const Values* WidthArray(const tkxRoadHDM& hdm, short code)
{
    switch (code) {
    case 1: return &hdm.m_Cen1;
    case -1: return &hdm.m_Cen2;
    case 2: return &hdm.m_Ca;
    case -2: return &hdm.m_Cb;
    case 3: return &hdm.m_Ha;
    case -3: return &hdm.m_Hb;
    case 4: return &hdm.m_Sa;
    case -4: return &hdm.m_Sb;
    case 5: return &hdm.m_Fa;
    case -5: return &hdm.m_Fb;
    default: return nullptr;
    }
}

} // namespace

int tkxRoadHDM::WidthAt(const Values& values, double station, bool exactHit, double& value) const
{
    const INT_PTR n = m_WidthZH.GetSize();
    // A table shorter than its stations cannot be evaluated.
    if (n == 0 || values.GetSize() < n) return 0;
    const Values& s = m_WidthZH;
    if (n == 1 || station < s[0] + 1e-8) {
        value = values[0];
        return 1;
    }
    if (station > s[n - 1] + 1e-8) {
        value = values[values.GetSize() - 1];
        return 1;
    }
    for (INT_PTR i = 0; i + 1 < n; ++i) {
        if (exactHit && std::fabs(station - s[i]) <= 1e-5) {
            value = values[i];
            return 1;
        }
        if (station - s[i] >= 1e-8 && station - s[i + 1] < 1e-8) {
            value = tkx_GetWiden(s[i], s[i + 1], station, values[i], values[i + 1], m_Mode);
            return 1;
        }
    }
    // Stations out of order.
    value = values[0];
    return 0;
}

int tkxRoadHDM::GetWidth(double station, short code, double& width) const
{
    if (m_RoadStyle == 0 && (code == 5 || code == -5)) {
        width = 0.0;
        return 1;
    }
    const Values* values = WidthArray(*this, code);
    if (!values) return 0;
    return WidthAt(*values, station, true, width);
}

CString tkxRoadHDM::GetHDMWidth(double station, RoadHDMInfo& info) const
{
    struct Part {
        short code;
        double* field;
        const wchar_t* text;
    };
    const Part parts[] = {
        {1, &info.Cen1, L"计算左侧中央分隔带宽度时出错."},     {-1, &info.Cen2, L"计算右侧中央分隔带宽度时出错."},
        {2, &info.Ca, L"\n计算左侧行车道宽度时出错."},          {-2, &info.Cb, L"\n计算右侧行车道宽度时出错."},
        {3, &info.Ha, L"\n计算左侧硬路肩,非机动车道宽度时出错."}, {-3, &info.Hb, L"\n计算右侧硬路肩,非机动车道宽度时出错."},
        {4, &info.Sa, L"\n计算左侧土路肩,人行道宽度时出错."},     {-4, &info.Sb, L"\n计算土路肩,人行道宽度时出错."},
    };
    for (const Part& p : parts)
        if (!GetWidth(station, p.code, *p.field)) return p.text;
    if (m_RoadStyle != 1) {
        info.Fa = 0.0;
        info.Fb = 0.0;
        return CString();
    }
    if (!GetWidth(station, 5, info.Fa)) return L"\n计算左侧快、慢车道分隔带宽度时出错.";
    if (!GetWidth(station, -5, info.Fb)) return L"\n计算右侧快、慢车道分隔带宽度时出错.";
    return CString();
}

int tkxRoadHDM::GetOffset(double station, double& offset, short code) const
{
    const bool city = m_RoadStyle == 1;
    if (!city && (code == 5 || code == -5)) return 0;
    const int part = code < 0 ? -code : code;
    if (part < 1 || part > 5) return 0;

    // The parts from the centre line outward, up to the one asked for.
    const bool left = code > 0;
    const Values* order[5] = {left ? &m_Cen1 : &m_Cen2, left ? &m_Ca : &m_Cb, left ? &m_Fa : &m_Fb,
                              left ? &m_Ha : &m_Hb, left ? &m_Sa : &m_Sb};
    const int position[6] = {0, 0, 1, 3, 4, 2}; // index in order of parts 1..5
    const INT_PTR n = m_WidthZH.GetSize();
    Values cumulative;
    cumulative.SetSize(n);
    for (INT_PTR k = 0; k < n; ++k) cumulative[k] = 0.0;
    for (int p = 0; p <= position[part]; ++p) {
        if (p == 2 && !city) continue; // no side divider on a highway
        const Values& w = *order[p];
        if (w.GetSize() < n) return 0;
        for (INT_PTR k = 0; k < n; ++k) cumulative[k] += w[k];
    }
    return WidthAt(cumulative, station, false, offset);
}

short tkxRoadHDM::GetPositionStyle(double station, double offset) const
{
    RoadHDMInfo w;
    GetHDMWidth(station, w);
    const bool city = m_RoadStyle == 1;
    const bool left = offset <= 0.0;
    const double d = std::fabs(offset);
    const double cen = left ? w.Cen1 : w.Cen2;
    const double c = left ? w.Ca : w.Cb;
    const double f = left ? w.Fa : w.Fb;
    const double h = left ? w.Ha : w.Hb;
    const double s = left ? w.Sa : w.Sb;
    short code = 1;
    if (d > cen + c + f + h + s + 0.001)
        code = 6;
    else if (d > cen + c + f + h + 0.0001)
        code = 4;
    else if (d > cen + c + f + 0.0001)
        code = 3;
    else if (d > cen + c + 0.0001)
        code = city ? 5 : 3;
    else if (d > cen + 0.0001)
        code = 2;
    return left ? code : static_cast<short>(-code);
}

CString tkxRoadHDM::GetPositionName(int code) const
{
    const bool city = m_RoadStyle == 1;
    switch (code) {
    case 1: return L"左幅中央分隔带";
    case 2: return L"左幅行车道";
    case 3: return city ? L"左幅慢车道" : L"左幅硬路肩";
    case 4: return city ? L"左幅人行道" : L"左幅土路肩";
    case 5: return L"左幅侧分带";
    case 6: return city ? L"左侧人行道外侧" : L"左侧土路肩外侧";
    case -1: return L"右幅中央分隔带";
    case -2: return L"右幅行车道";
    case -3: return city ? L"右幅慢车道" : L"右幅硬路肩";
    case -4: return city ? L"右幅人行道" : L"右幅土路肩";
    case -5: return L"右幅侧分带";
    case -6: return city ? L"右侧人行道外侧" : L"右侧土路肩外侧";
    default: return city ? L"人行道外侧" : L"土路肩外侧";
    }
}

int tkxRoadHDM::CodeConvert(int index) const
{
    static const int codes[10] = {4, 3, 2, 1, -1, -2, -3, -4, 5, -5};
    return index >= 0 && index < 10 ? codes[index] : 0;
}

int tkxRoadHDM::GetLinePoint(double centre[3], double angle, int section, int code, double inner[3],
                             double outer[3]) const
{
    if (section < 0 || section >= m_WidthZH.GetSize()) return 0;
    const double station = m_WidthZH[section];
    double offset = 0.0;
    double width = 0.0;
    if (!GetOffset(station, offset, static_cast<short>(code)) || !GetWidth(station, static_cast<short>(code), width))
        return 0;
    if (code < 0) {
        offset = -offset;
        width = -width;
    }
    PolarPoint(centre, kPi - angle, offset, outer);
    PolarPoint(outer, -angle, width, inner);
    return 1;
}

// ---------------------------------------------------------------------------
// Depth-table values.

double tkxRoadHDM::DepthAt(const Values& values, double station, double tolerance) const
{
    const INT_PTR n = m_DepthZH.GetSize();
    if (n == 0 || values.GetSize() < n) return 0.0;
    const Values& s = m_DepthZH;
    if (station < s[0] - tolerance) return values[0];
    if (station > s[n - 1]) return values[values.GetSize() - 1];
    for (INT_PTR i = 0; i < n; ++i)
        if (std::fabs(station - s[i]) <= tolerance) return values[i];
    for (INT_PTR i = 1; i < n; ++i)
        if (s[i - 1] < station && station < s[i])
            return values[i - 1] + (values[i] - values[i - 1]) * (station - s[i - 1]) / (s[i] - s[i - 1]);
    return values[0];
}

double tkxRoadHDM::GetFGDHeight(double station) const { return DepthAt(m_H0, station, 1e-8); }
double tkxRoadHDM::GetCFDHeight(double station) const
{
    return m_RoadStyle == 0 ? 0.0 : DepthAt(m_CFDHeight, station, 1e-8);
}
double tkxRoadHDM::GetRXDHeight(double station) const
{
    return m_RoadStyle == 0 ? 0.0 : DepthAt(m_RXDHeight, station, 1e-8);
}
double tkxRoadHDM::GetLeftLMThickness(double station) const { return DepthAt(m_LMLeft, station, 1e-8); }
double tkxRoadHDM::GetRightLMThickness(double station) const { return DepthAt(m_LMRight, station, 1e-8); }
double tkxRoadHDM::GetLeftYLJThickness(double station) const { return DepthAt(m_YLJLeft, station, 1e-8); }
double tkxRoadHDM::GetRightYLJThickness(double station) const { return DepthAt(m_YLJRight, station, 1e-8); }
double tkxRoadHDM::GetRXDThickness(double station) const
{
    return m_RoadStyle == 1 ? DepthAt(m_RXDThickness, station, 1e-8) : 0.0;
}
double tkxRoadHDM::GetCiviRoadI0(double station) const { return m_RoadStyle == 1 ? DepthAt(m_I0, station, 1e-8) : 0.0; }
double tkxRoadHDM::GetCiviRoadI1(double station) const { return m_RoadStyle == 1 ? DepthAt(m_I1, station, 1e-6) : 0.0; }
double tkxRoadHDM::GetCiviRoadI2(double station) const { return m_RoadStyle == 1 ? DepthAt(m_I2, station, 1e-6) : 0.0; }
double tkxRoadHDM::GetCiviRoadI3(double station) const { return m_RoadStyle == 1 ? DepthAt(m_I3, station, 1e-6) : 0.0; }
double tkxRoadHDM::GetCiviRoadI4(double station) const { return m_RoadStyle == 1 ? DepthAt(m_I4, station, 1e-6) : 0.0; }
double tkxRoadHDM::GetCiviRoadI5(double station) const { return m_RoadStyle == 1 ? DepthAt(m_I5, station, 1e-6) : 0.0; }
