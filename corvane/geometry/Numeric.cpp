#include "corvane/geometry/Numeric.h"
#include "corvane/base/NumberText.h"
#include "corvane/geometry/PlaneGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const double kPi = 3.141592653589793;
const double kTwoPi = 2.0 * kPi;

// ------------------------------------------------------------------ colours

struct Rgb
{
    int r, g, b;
};

// Entries 10..249 form a ring of 24 hues, 15 degrees apart, with ten shades
// each: the values 255, 204, 153, 127 and 76, each at full saturation (even
// entries) and at half saturation (odd entries).  Channels are truncated.
Rgb HueRingColour(int index)
{
    static const double kValues[5] = {255.0, 204.0, 153.0, 127.0, 76.0};
    const int hue = (index - 10) / 10;            // 0..23
    const int shade = (index - 10) % 10;          // 0..9
    const double v = kValues[shade / 2];
    const double s = (shade % 2) ? 0.5 : 1.0;
    const int sector = hue / 4;                   // 60-degree sectors
    const double f = (hue % 4) / 4.0;             // position within the sector
    const double p = v * (1.0 - s);
    const double q = v * (1.0 - s * f);
    const double t = v * (1.0 - s * (1.0 - f));
    double r = v, g = t, b = p;
    switch (sector) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break;
    }
    return {static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)};
}

Rgb AcadColour(int index)
{
    static const Rgb kBasic[10] = {
        {0, 0, 0},       {255, 0, 0},     {255, 255, 0},   {0, 255, 0},     {0, 255, 255},
        {0, 0, 255},     {255, 0, 255},   {255, 255, 255}, {128, 128, 128}, {192, 192, 192},
    };
    static const int kGreys[6] = {51, 91, 132, 173, 214, 255};
    if (index < 10)
        return kBasic[index];
    if (index < 250)
        return HueRingColour(index);
    const int grey = kGreys[index - 250];
    return {grey, grey, grey};
}

// ------------------------------------------------------------ message boxes

// The window that owns a message box shown for `owner`: its window when it
// has one that is visible, else none.
HWND OwnerWindow(CWnd* owner)
{
    const HWND window = owner ? owner->GetSafeHwnd() : nullptr;
    if (window && ::IsWindow(window) && ::IsWindowVisible(window))
        return window;
    return nullptr;
}

// Orders numbers ascending with any NaN after every number, so that the
// sorts stay well defined for whatever the caller holds.
bool Before(double a, double b)
{
    return !std::isnan(a) && (std::isnan(b) || a < b);
}

} // namespace

// ------------------------------------------------------------------- colours

COLORREF tkx_COLORREFByAcadIndex(short index)
{
    if (index <= 0 || index >= 256)
        return RGB(255, 255, 255);
    const Rgb c = AcadColour(index);
    return RGB(c.r, c.g, c.b);
}

// ----------------------------------------------------- conversions and messages

int ShowFormattedMessage(CWnd* owner, UINT type, const wchar_t* format, ...)
{
    CString text;
    if (format) {
        va_list args;
        va_start(args, format);
        text.FormatV(format, args);
        va_end(args);
    }
    if (type == 0)
        type = MB_ICONEXCLAMATION;
    return ClMessageBox(OwnerWindow(owner), text, L"TAVIX", type);
}

void AnsiToWide(const char* text, wchar_t* out)
{
    if (!out)
        return;
    const CString wide = ClMultiByteToWide(text, -1, CP_ACP);
    std::wmemcpy(out, wide.GetString(), static_cast<size_t>(wide.GetLength()) + 1);
}

int WideToOem(const wchar_t* text, char* out)
{
    const std::string narrow = ClWideToMultiByte(text, -1, CP_OEMCP);
    if (out)
        std::memcpy(out, narrow.c_str(), narrow.size() + 1);
    return static_cast<int>(narrow.size()) + 1;
}

CString AnsiToCString(const char* text)
{
    return ClMultiByteToWide(text, -1, CP_ACP);
}

// --------------------------------------------------------------- number text

bool IsNumericString(const wchar_t* text)
{
    double value = 0.0;
    return number_text::ReadNumber(text, value);
}

bool StringToDouble(CString text, double* value)
{
    double read = 0.0;
    if (!number_text::ReadNumber(text.GetString(), static_cast<size_t>(text.GetLength()), read))
        return false;
    if (value)
        *value = read;
    return true;
}

// ------------------------------------------------------------- plan geometry

double PointDistance2d(const double* a, const double* b)
{
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    return std::sqrt(dx * dx + dy * dy);
}

void PolarPoint(const double* base, double angle, double distance, double* out)
{
    const double x = base[0] + distance * std::cos(angle);
    const double y = base[1] + distance * std::sin(angle);
    const double z = base[2];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

double DirectionAngle(const double* a, const double* b)
{
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    if (std::fabs(dx) < 1e-10) {
        if (std::fabs(dy) < 1e-10)
            return 0.0;
        return dy < 0.0 ? 4.71238898038469 : kPi / 2.0;
    }
    if (std::fabs(dy) < 1e-10)
        return dx > 0.0 ? 0.0 : kPi;
    double angle = std::atan(dy / dx);
    if (dx < 0.0)
        angle += kPi;
    if (angle < 0.0)
        angle += kTwoPi;
    return angle;
}

double DirectionAzimuth(const double* a, const double* b)
{
    const double x = DirectionAngle(a, b);
    if (x - 1e-100 > kPi / 2.0)
        return kTwoPi - x + kPi / 2.0;
    return kPi / 2.0 - x;
}

double NormalizeAngle(double angle)
{
    if (std::fabs(angle) < 1e-8)
        return 0.0;
    // Far-off angles are first brought near the range, so that the loops
    // below stay short (and end for any finite value).
    if (std::fabs(angle) > 64.0 * kTwoPi)
        angle = std::fmod(angle, kTwoPi);
    while (angle < 0.0)
        angle += kTwoPi;
    while (angle > kTwoPi)
        angle -= kTwoPi;
    if (std::fabs(angle - kTwoPi) < 1e-8)
        return 0.0;
    return angle;
}

int GetFootPointSide(const double* a, const double* b, const double* p, double* foot)
{
    const double a3[3] = {a[0], a[1], 0.0};
    const double b3[3] = {b[0], b[1], 0.0};
    const double p3[3] = {p[0], p[1], 0.0};
    double q3[3];
    PolarPoint(p3, DirectionAngle(a, b) + kPi / 2.0, 100.0, q3);
    double hit[3];
    if (!IntersectLines2d(a3, b3, p3, q3, hit, 3))
        return 0;
    foot[0] = hit[0];
    foot[1] = hit[1];
    foot[2] = 0.0;
    return 1;
}

int GetPointSide(const double* a, const double* b, const double* c)
{
    const double cross = (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]);
    if (std::fabs(cross) < 1e-10)
        return 0;
    return cross > 1e-10 ? 1 : -1;
}

// ------------------------------------------------------------------- sorting

void tkx_StringPibub(CStringArray& texts, int flag)
{
    if (flag == 1)
        std::stable_sort(texts.begin(), texts.end(),
                         [](const CString& a, const CString& b) { return a.CompareNoCase(b) < 0; });
    else if (flag == 0)
        std::stable_sort(texts.begin(), texts.end(),
                         [](const CString& a, const CString& b) { return a.CompareNoCase(b) > 0; });
}

void tkx_ZHPibubUp(CArray<Tavix4::sZHName, Tavix4::sZHName>& records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const Tavix4::sZHName& a, const Tavix4::sZHName& b) { return Before(a.station, b.station); });
}

void tkx_PibubUp(CArray<double, double>& values)
{
    std::stable_sort(values.begin(), values.end(), [](double a, double b) { return Before(a, b); });
}

void tkx_PibubDown(CArray<double, double>& values)
{
    std::stable_sort(values.begin(), values.end(), [](double a, double b) { return Before(b, a); });
}
