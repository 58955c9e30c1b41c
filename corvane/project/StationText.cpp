#include "corvane/project/StationText.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/base/LastError.h"
#include "corvane/project/TavixDevApp.h"
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const double kPi = 3.141592653589793;

// The station settings of the library's current project.
struct StationStyle {
    short precision;
    int keepZeros;
    int prefixStyle;
    int negativeStyle;
};

StationStyle CurrentStyle()
{
    const tkxProject& project = TavixDevApp().m_CurProject;
    return {static_cast<short>(project.m_sPrjSetting0.m_iPrecision_ZH), project.m_sPrjSetting0.m_bReserveZero,
            project.m_sPrjSetting1.m_iZHDimStyle, project.m_sPrjSetting1.m_iNegativeZHDimStyle};
}

// Never hand out a negative zero: it would print as "-0".
double NoNegativeZero(double value) { return value == 0.0 ? 0.0 : value; }

// Seconds with one decimal as printed.
CString OneDecimal(double seconds)
{
    CString text;
    text.Format(L"%.1f", seconds);
    return text;
}

// Seconds text with two whole digits and one decimal; the padding follows
// the printed value, so 9.96 seconds read "10.0", not "010.0".
CString SecondsText(double seconds)
{
    CString text = OneDecimal(seconds);
    return text.Find(L'.') == 1 ? L"0" + text : text;
}

// Degrees, minutes and seconds of a non-negative angle; seconds that would
// print as 60.0 carry into the minutes, and 60 minutes into the degrees.
struct Dms {
    int degrees;
    int minutes;
    double seconds;
};

Dms SplitDegrees(double angle, bool carryNearSixty)
{
    Dms dms;
    dms.degrees = static_cast<int>(std::trunc(angle));
    dms.minutes = static_cast<int>(std::trunc((angle - dms.degrees) * 60.0));
    dms.seconds = (angle - dms.degrees - dms.minutes / 60.0) * 3600.0;
    if (dms.seconds < 0.0) dms.seconds = 0.0;
    // carryNearSixty: the degree text's own rule, seconds within a tenth of
    // 60 carry.
    bool carry = _wtof(OneDecimal(dms.seconds)) >= 60.0 || (carryNearSixty && std::fabs(dms.seconds - 60.0) < 0.1);
    if (carry) {
        dms.seconds = 0.0;
        ++dms.minutes;
    }
    if (dms.minutes >= 60) {
        dms.minutes -= 60;
        ++dms.degrees;
    }
    return dms;
}

// A part of an angle text: empty reads as 0.
bool ReadAnglePart(std::wstring_view part, double& value)
{
    value = 0.0;
    while (!part.empty() && (part.front() == L' ' || part.front() == L'\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == L' ' || part.back() == L'\t')) part.remove_suffix(1);
    if (part.empty()) return true;
    return number_text::ReadNumber(part.data(), part.size(), value);
}

// The characters from `first` on, `count` of them, kept within the text as
// CString::Mid keeps them.
std::wstring_view MidOf(std::wstring_view text, int first, int count)
{
    const int length = static_cast<int>(text.size());
    first = std::min(std::max(first, 0), length);
    count = std::min(std::max(count, 0), length - first);
    return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

CString TextOf(std::wstring_view text) { return CString(text.data(), static_cast<int>(text.size())); }

} // namespace

double tkx_DToF(double value, int decimals)
{
    bool negative = value < -1e-10;
    double a = negative ? -value : value;
    double whole = std::trunc(a);
    double scale = std::pow(10.0, decimals);
    double result = whole + std::floor((a - whole) * scale + 0.5) / scale;
    return NoNegativeZero(negative ? -result : result);
}

CString tkx_DToS(double value, unsigned short decimals, short keepZeros)
{
    if (decimals > 10) return L"位数太多";
    CString format;
    format.Format(L"%%.%df", static_cast<int>(decimals));
    CString text;
    text.Format(format, tkx_DToF(value, decimals));

    int keep = keepZeros == -1 ? CurrentStyle().keepZeros : keepZeros;
    if (keep == 0 && text.Find(L'.') >= 0) {
        text.TrimRight(L'0');
        text.TrimRight(L'.');
    }
    return text;
}

CString tkx_ChangeZhToString(double station, short decimals)
{
    const StationStyle style = CurrentStyle();
    if (decimals < 0) decimals = style.precision;
    const bool reserve = style.keepZeros != 0;
    const unsigned short places = decimals < 0 ? 0 : static_cast<unsigned short>(decimals);

    double d = tkx_DToF(station, decimals);
    const bool negative = d < 0.0;
    if (negative) {
        double a = -d;
        if (std::fmod(a, 1000.0) <= 1e-8 || style.negativeStyle != 1) d = a;
        else d += 2000.0 * (std::trunc(a / 1000.0) + 1.0);
    }

    int km = static_cast<int>(std::trunc(d / 1000.0));
    double r = d - 1000.0 * km;
    double fraction = d - std::trunc(d);
    int wholeMetres = static_cast<int>(std::trunc(r));

    // The metres within the kilometre, and the value they show after
    // rounding (which decides the padding to three whole digits).
    CString metres;
    double shown;
    if (std::fabs(r) < 1e-6) {
        metres = reserve ? tkx_DToS(0.0, places, -1) : CString(L"0");
        shown = 0.0;
    } else if (fraction <= 1e-8 && !reserve) {
        metres.Format(L"%d", wholeMetres);
        shown = wholeMetres;
    } else if (fraction >= 0.99999 && !reserve) {
        metres.Format(L"%d", wholeMetres + 1);
        shown = wholeMetres + 1;
    } else {
        metres = tkx_DToS(r, places, -1);
        shown = tkx_DToF(r, places);
    }
    CString metreText = shown < 10.0 ? L"+00" : shown < 100.0 ? L"+0" : L"+";
    metreText += metres;

    if (metreText.Find(L"+1000") >= 0) {
        metreText.Replace(L"+1000", L"+000");
        ++km;
    }

    CString kmText;
    const wchar_t* positive[] = {L"K%d", L"%dK", L"%d"};
    const wchar_t* minus[] = {L"K-%d", L"-%dK", L"-%d"};
    int prefix = style.prefixStyle == 0 ? 0 : style.prefixStyle == 1 ? 1 : 2;
    if (!negative) {
        kmText.Format(positive[prefix], km);
    } else if (style.negativeStyle == 1) {
        kmText.Format(minus[prefix], std::abs(km));
    } else {
        kmText.Format(positive[prefix], -std::abs(km));
        metreText.Replace(L'+', L'-');
    }
    return kmText + metreText;
}

CString tkx_DegreeD_To_S(double degrees)
{
    Dms dms = SplitDegrees(std::fabs(degrees), true);
    CString text;
    text.Format(L"%s%dd%d'%s\"", degrees < 0.0 ? L"-" : L"", dms.degrees, dms.minutes,
                SecondsText(dms.seconds).GetString());
    return text;
}

CString tkx_DegreeR_To_S(double radians) { return tkx_DegreeD_To_S(radians / kPi * 180.0); }

int tkx_DegreeS_To_D(const wchar_t* text, double& degrees)
{
    // One pass finds the first degree, minute and second mark (°, ′ and m,
    // ″ and s are the same marks as d, ' and "), and the parts are read as
    // views of the text where it lies: no mark is ever part of a number, so
    // the marks need to be made plain only for the message of a wrong
    // angle, and an angle costs no string unless it is wrong.
    const wchar_t* const source = text ? text : L"";
    int d = -1, m = -1, s = -1;
    size_t length = 0;
    for (; source[length]; ++length) {
        const wchar_t c = source[length];
        int* mark = c == L'd' || c == L'°'                 ? &d
                    : c == L'\'' || c == L'′' || c == L'm' ? &m
                    : c == L'"' || c == L'″' || c == L's'   ? &s
                                                             : nullptr;
        if (mark && *mark < 0) *mark = static_cast<int>(length);
    }
    const std::wstring_view angle(source, length);

    const std::wstring_view degreePart = d >= 0 ? angle.substr(0, static_cast<size_t>(d)) : std::wstring_view();
    const int minuteStart = d >= 0 ? d + 1 : 0;
    const std::wstring_view minutePart = m >= 0 ? MidOf(angle, minuteStart, m - minuteStart) : std::wstring_view();
    const int secondStart = m >= 0 ? m + 1 : minuteStart;
    const std::wstring_view secondPart = s >= 0 ? MidOf(angle, secondStart, s - secondStart) : std::wstring_view();

    double deg, min, sec;
    const wchar_t* format = nullptr;
    std::wstring_view bad;
    if (!ReadAnglePart(degreePart, deg)) {
        format = L"输入角度字符[%s]中, 度数位(%s)包含错误字符! ";
        bad = degreePart;
    } else if (!ReadAnglePart(minutePart, min)) {
        format = L"输入角度字符[%s]中, 分数位(%s)包含错误字符!";
        bad = minutePart;
    } else if (!ReadAnglePart(secondPart, sec)) {
        format = L"输入角度字符[%s]中, 秒数位(%s)包含错误字符! ";
        bad = secondPart;
    }
    if (format) {
        // The message shows the text and the part with their marks made plain.
        CString plain = TextOf(angle);
        plain.Replace(L'°', L'd');
        plain.Replace(L'′', L'\'');
        plain.Replace(L'm', L'\'');
        plain.Replace(L'″', L'"');
        plain.Replace(L's', L'"');
        const int at = bad.empty() ? 0 : static_cast<int>(bad.data() - source);
        const CString part = plain.Mid(at, static_cast<int>(bad.size()));
        tkx_SetLastError(ClFormat(format, plain.GetString(), part.GetString()));
        return 0;
    }

    // One sign for the whole angle: a leading "-".
    size_t first = 0;
    while (first < length && (source[first] == L' ' || source[first] == L'\t')) ++first;
    const double value = std::fabs(deg) + std::fabs(min) / 60.0 + std::fabs(sec) / 3600.0;
    degrees = NoNegativeZero(first < length && source[first] == L'-' ? -value : value);
    return 1;
}

CString tkx_TransformToDegree(double degrees, int signForm)
{
    double rounded = tkx_DToF(degrees, 4);
    Dms dms = SplitDegrees(std::fabs(rounded), false);

    CString seconds = SecondsText(dms.seconds);
    int cut = seconds.Find(L".0");
    if (cut >= 0) seconds = seconds.Left(cut);

    CString angle;
    angle.Format(dms.minutes <= 9 ? L"%d°0%d'%s\"" : L"%d°%d'%s\"", dms.degrees, dms.minutes, seconds.GetString());
    if (signForm) return rounded < 0.0 ? L"-" + angle : angle;
    return (rounded < 0.0 ? L"右偏 " : L"左偏 ") + angle;
}
