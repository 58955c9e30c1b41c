#include "brisko/shell/Helpers.h"
#include "brisko/shell/BriskoApp.h"
#include "corvane/project/StationText.h"
#include "corvane/road/ClothoidUnit.h"
#include <cmath>
#include <cwctype>

namespace {

const double kPi = 3.14159265358979323846;

// Every element of the record that the curve computation writes.
bool CurveElementsFinite(const sJDCurveInfo& jd)
{
    const double values[] = {jd.dT1, jd.dT2, jd.dL, jd.dLs1, jd.dA1, jd.dLs2, jd.dA2,
                             jd.dZH_ZH, jd.dZH_HY, jd.dZH_YH, jd.dZH_HZ};
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

void ClearCurve(sJDCurveInfo& jd)
{
    jd.dLs1 = jd.dA1 = jd.dLs2 = jd.dA2 = 0.0;
    jd.dT1 = jd.dT2 = jd.dL = jd.dE = 0.0;
    jd.dZH_ZH = jd.dZH_HY = jd.dZH_YH = jd.dZH_HZ = jd.dZH;
}

} // namespace

CString FormatWhole(const wchar_t* format, va_list args)
{
    CString text;
    if (format) {
        try {
            text.FormatV(format, args);
        } catch (CException* e) {
            e->Delete();
            text = format;
        }
    }
    return text;
}

int ShowFormattedMessage(CDialog* owner, UINT style, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const CString text = FormatWhole(format, args);
    va_end(args);

    HWND ownerWnd = nullptr;
    if (owner && owner->GetSafeHwnd() && ::IsWindow(owner->GetSafeHwnd()) && ::IsWindowVisible(owner->GetSafeHwnd()))
        ownerWnd = owner->GetSafeHwnd();
    return ClMessageBox(ownerWnd, text, kBriskoCaption, style == 0 ? MB_ICONEXCLAMATION : style);
}

int IsNumberString(const wchar_t* text)
{
    CString s(text ? text : L"");
    s.Trim();
    s.Trim(L'\t');
    if (s.Find(L' ') >= 0) return 0;
    if (s.IsEmpty()) return 1;

    bool point = false;
    bool digit = false;
    for (int i = 0; i < s.GetLength(); ++i) {
        const wchar_t c = s[i];
        if (c == L'.') {
            if (point) return 0;
            point = true;
        } else if (c == L'-') {
            if (i != 0) return 0;
        } else if (std::iswalpha(c)) {
            return 0;
        } else if (c >= L'0' && c <= L'9') {
            digit = true;
        }
    }
    // "*", "+", "." or "-" alone hold no number.
    return digit ? 1 : 0;
}

double DMSToRadian(double dms)
{
    if (!std::isfinite(dms)) return dms;
    const double sign = dms < 0.0 ? -1.0 : 1.0;
    const double value = std::fabs(dms);
    double degrees = std::trunc(value);
    // The fraction counted in units of 1e-10 (the sixth decimal of the
    // seconds), so that 30.59 reads 59 minutes, not 58 minutes and 99.99
    // seconds as its binary value 30.58999... would.
    double units = std::round((value - degrees) * 1e10);
    if (units >= 1e10) {
        degrees += 1.0;
        units -= 1e10;
    }
    const double minutes = std::floor(units / 1e8);
    const double seconds = (units - minutes * 1e8) / 1e6;
    return sign * (degrees + minutes / 60.0 + seconds / 3600.0) * kPi / 180.0;
}

void ComputeJDCurveElements(sJDCurveInfo& jd, int mode)
{
    const double R = jd.dR;
    const double a = std::fabs(jd.dAngle);
    // Without a radius, or with a deflection that does not turn (0) or turns
    // back on itself (pi), no curve fits between the two tangents.
    if (!(R >= 1e-6) || !std::isfinite(R) || !std::isfinite(a) || std::fabs(std::sin(a)) < 1e-9) {
        ClearCurve(jd);
        return;
    }
    if (mode == 1) {
        jd.dLs1 = jd.dA1 * jd.dA1 / R;
        jd.dLs2 = jd.dA2 * jd.dA2 / R;
    } else {
        jd.dA1 = std::sqrt(R * jd.dLs1);
        jd.dA2 = std::sqrt(R * jd.dLs2);
    }
    const double b1 = jd.dLs1 / (2.0 * R);
    const double b2 = jd.dLs2 / (2.0 * R);
    double xy1[2], xy2[2];
    tkxClothoidUnit::ComputeXXYY(jd.dLs1, jd.dA1, 14, xy1);
    tkxClothoidUnit::ComputeXXYY(jd.dLs2, jd.dA2, 14, xy2);

    const double P1 = R + (xy1[1] - (1.0 - std::cos(b1)) * R);
    const double P2 = R + (xy2[1] - (1.0 - std::cos(b2)) * R);
    const double q1 = xy1[0] - R * std::sin(b1);
    const double q2 = xy2[0] - R * std::sin(b2);
    const double g = std::atan((P2 - P1 * std::cos(a)) / (P1 * std::sin(a)));
    jd.dT1 = P1 * std::tan(g) + q1;
    jd.dT2 = P2 * std::tan(a - g) + q2;
    jd.dL = (a - b1 - b2) * R + jd.dLs1 + jd.dLs2;
    jd.dZH_ZH = jd.dZH - jd.dT1;
    jd.dZH_HY = jd.dZH_ZH + jd.dLs1;
    jd.dZH_HZ = jd.dZH_ZH + jd.dL;
    jd.dZH_YH = jd.dZH_HZ - jd.dLs2;
    if (!CurveElementsFinite(jd)) ClearCurve(jd);
}

CString FormatStationText(double station)
{
    return tkx_ChangeZhToString(station, -1);
}

void InterpolateHeight(const double* p1, const double* p2, double* target)
{
    const double d1 = p1[0], h1 = p1[1];
    const double d2 = p2[0], h2 = p2[1];
    if (std::fabs(d2 - d1) < 1e-6)
        target[1] = (h1 + h2) / 2.0;
    else
        target[1] = h1 + (target[0] - d1) / (d2 - d1) * (h2 - h1);
}
