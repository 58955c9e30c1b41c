#include "brisko/shell/EnBitmap.h"
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Pixels = std::vector<RGBX>;

double HueChannel(double m1, double m2, double hue)
{
    while (hue < 0.0) hue += 360.0;
    while (hue >= 360.0) hue -= 360.0;
    if (hue < 60.0) return m1 + (m2 - m1) * hue / 60.0;
    if (hue < 180.0) return m2;
    if (hue < 240.0) return m1 + (m2 - m1) * (240.0 - hue) / 60.0;
    return m1;
}

BYTE ToByte(double fraction)
{
    return static_cast<BYTE>(std::clamp(static_cast<int>(std::lround(fraction * 255.0)), 0, 255));
}

RGBX PixelOf(COLORREF color)
{
    return RGBX{GetBValue(color), GetGValue(color), GetRValue(color), 0};
}

// The pixel layout of the buffers: 32 bits, top-down rows, no colour table.
BITMAPINFO PixelFormat(CSize size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(size.cx * size.cy * 4);
    return info;
}

// The bitmap's pixels; false when they cannot be read.
bool ReadPixels(HBITMAP bitmap, CSize size, Pixels& pixels)
{
    BITMAPINFO info = PixelFormat(size);
    pixels.assign(static_cast<size_t>(size.cx) * size.cy, RGBX{});
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return rows == size.cy;
}

HBITMAP MakeBitmap(const Pixels& pixels, CSize size)
{
    const BITMAPINFO info = PixelFormat(size);
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    if (bitmap && ::SetDIBits(screen, bitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS) != size.cy) {
        ::DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

} // namespace

// ------------------------------------------------------------------ processors

C32BitImageProcessor::~C32BitImageProcessor() = default;

CSize C32BitImageProcessor::CalcDestSize(CSize source) { return source; }

BOOL C32BitImageProcessor::ProcessPixels(const RGBX* source, CSize sourceSize, RGBX* dest, CSize)
{
    std::copy(source, source + static_cast<size_t>(sourceSize.cx) * sourceSize.cy, dest);
    return TRUE;
}

void C32BitImageProcessor::SetKeepColor(COLORREF color)
{
    m_bKeepColor = TRUE;
    m_iKeepRed = GetRValue(color);
    m_iKeepGreen = GetGValue(color);
    m_iKeepBlue = GetBValue(color);
}

BOOL C32BitImageProcessor::IsKeepColor(const RGBX& pixel) const
{
    return m_bKeepColor && pixel.btRed == m_iKeepRed && pixel.btGreen == m_iKeepGreen && pixel.btBlue == m_iKeepBlue;
}

BOOL CImageGrayer::ProcessPixels(const RGBX* source, CSize sourceSize, RGBX* dest, CSize)
{
    return EachPixel(source, sourceSize, dest, [](const RGBX& in) {
        const BYTE grey = static_cast<BYTE>((6 * in.btGreen + 3 * in.btRed + in.btBlue) / 10);
        return RGBX{grey, grey, grey, 0};
    });
}

BOOL CImageHigh::ProcessPixels(const RGBX* source, CSize sourceSize, RGBX* dest, CSize)
{
    return EachPixel(source, sourceSize, dest, [this](const RGBX& in) {
        CHslColor color(RGB(in.btRed, in.btGreen, in.btBlue));
        const float lightness = color.GetLightness();
        if (m_fLighter > 0.0f && lightness < 1.0f)
            color.SetLightness(std::min(1.0f, lightness + m_fLighter));
        else if (m_fLighter < 0.0f && lightness > 0.0f)
            color.SetLightness(std::max(0.0f, lightness + m_fLighter));
        return RGBX{color.GetBlue(), color.GetGreen(), color.GetRed(), in.btUnused};
    });
}

// ------------------------------------------------------------------ HSL colour

void CHslColor::RgbToHsl(int red, int green, int blue, double& hue, double& saturation, double& lightness)
{
    const int mx = std::max({red, green, blue});
    const int mn = std::min({red, green, blue});
    lightness = (mx + mn) / 510.0;
    hue = saturation = 0.0;
    if (mx == mn) return;
    const double span = mx - mn;
    saturation = lightness <= 0.5 ? span / (mx + mn) : span / (510.0 - mx - mn);
    const double r = (mx - red) / span, g = (mx - green) / span, b = (mx - blue) / span;
    if (red == mx)
        hue = (b + 6.0 - g) * 60.0;
    else if (green == mx)
        hue = (r + 2.0 - b) * 60.0;
    else
        hue = (g + 4.0 - r) * 60.0;
    if (hue > 360.0) hue -= 360.0;
}

COLORREF CHslColor::HslToRgb(double hue, double saturation, double lightness)
{
    if (saturation <= 0.0) {
        const BYTE grey = ToByte(lightness);
        return RGB(grey, grey, grey);
    }
    const double m2 = lightness <= 0.5 ? lightness + saturation * lightness : lightness + saturation - lightness * saturation;
    const double m1 = 2.0 * lightness - m2;
    return RGB(ToByte(HueChannel(m1, m2, hue + 120.0)), ToByte(HueChannel(m1, m2, hue)),
               ToByte(HueChannel(m1, m2, hue - 120.0)));
}

CHslColor::CHslColor(COLORREF color) { SetRGB(GetRValue(color), GetGValue(color), GetBValue(color)); }

void CHslColor::SetRGB(BYTE red, BYTE green, BYTE blue)
{
    m_btRed = red;
    m_btGreen = green;
    m_btBlue = blue;
    m_bRgbCurrent = true;
    m_bHslCurrent = false;
}

void CHslColor::ToHsl() const
{
    if (m_bHslCurrent) return;
    double hue, saturation, lightness;
    RgbToHsl(m_btRed, m_btGreen, m_btBlue, hue, saturation, lightness);
    m_fHue = static_cast<float>(hue);
    m_fSaturation = static_cast<float>(saturation);
    m_fLightness = static_cast<float>(lightness);
    m_bHslCurrent = true;
}

void CHslColor::ToRgb() const
{
    if (m_bRgbCurrent) return;
    const COLORREF color = HslToRgb(m_fHue, m_fSaturation, m_fLightness);
    m_btRed = GetRValue(color);
    m_btGreen = GetGValue(color);
    m_btBlue = GetBValue(color);
    m_bRgbCurrent = true;
}

BYTE CHslColor::GetRed() const { return ToRgb(), m_btRed; }
BYTE CHslColor::GetGreen() const { return ToRgb(), m_btGreen; }
BYTE CHslColor::GetBlue() const { return ToRgb(), m_btBlue; }
float CHslColor::GetHue() const { return ToHsl(), m_fHue; }
float CHslColor::GetSaturation() const { return ToHsl(), m_fSaturation; }
float CHslColor::GetLightness() const { return ToHsl(), m_fLightness; }

void CHslColor::SetLightness(float lightness)
{
    ToHsl();
    m_fLightness = lightness;
    m_bRgbCurrent = false;
}

// ------------------------------------------------------------------ bitmap

CEnBitmap::CEnBitmap(COLORREF background) : m_crBackground(background) {}

BOOL CEnBitmap::ProcessImage(const CImageProcessorArray& processors)
{
    if (processors.GetSize() == 0) return TRUE;
    if (!GetSafeHandle()) return FALSE;
    BITMAP info{};
    if (!GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0) return FALSE;

    CSize size(info.bmWidth, info.bmHeight);
    CSize largest = size;
    {
        CSize step = size;
        for (INT_PTR i = 0; i < processors.GetSize(); ++i) {
            step = processors[i]->CalcDestSize(step);
            largest.cx = std::max(largest.cx, step.cx);
            largest.cy = std::max(largest.cy, step.cy);
        }
    }

    Pixels source;
    if (!ReadPixels(static_cast<HBITMAP>(GetSafeHandle()), size, source)) return FALSE;
    const RGBX background = PixelOf(m_crBackground == static_cast<COLORREF>(-1) ? RGB(255, 255, 255) : m_crBackground);
    const size_t capacity = static_cast<size_t>(largest.cx) * largest.cy;
    Pixels dest(capacity, background);

    for (INT_PTR i = 0; i < processors.GetSize(); ++i) {
        if (i > 0) {
            source.swap(dest);
            if (source.size() < capacity) source.resize(capacity, background);
            std::fill(dest.begin(), dest.end(), background);
        }
        const CSize next = processors[i]->CalcDestSize(size);
        if (!processors[i]->ProcessPixels(source.data(), size, dest.data(), next)) return FALSE;
        size = next;
    }

    HBITMAP result = MakeBitmap(dest, size);
    if (!result) return FALSE;
    DeleteObject();
    Attach(result);
    return TRUE;
}

BOOL CEnBitmap::MakeDisabled(COLORREF keep)
{
    CImageGrayer grayer;
    CImageHigh lighter(0.08f);
    grayer.SetKeepColor(keep);
    lighter.SetKeepColor(keep);
    CImageProcessorArray chain;
    chain.Add(&grayer);
    chain.Add(&lighter);
    chain.Add(&lighter);
    chain.Add(&lighter);
    return ProcessImage(chain);
}

BOOL CEnBitmap::MakeNormal(COLORREF keep)
{
    CImageHigh lighter(0.04f);
    lighter.SetKeepColor(keep);
    CImageProcessorArray chain;
    chain.Add(&lighter);
    chain.Add(&lighter);
    return ProcessImage(chain);
}
