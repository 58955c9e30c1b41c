// Pixel processing of bitmaps: a bitmap class that runs a chain of pixel
// processors over its pixels, and the processors that make the tool bar's
// normal (lightened) and disabled (grey, light) looks.
//
// Pixels are 32 bits: blue, green, red and a reserved byte, rows top-down.
// Every processor copies a pixel of its keep colour unchanged (while the keep
// colour is set), so a transparent colour survives the processing.
#pragma once
#include "classlib/ClassLib.h"

struct RGBX
{
    BYTE btBlue;
    BYTE btGreen;
    BYTE btRed;
    BYTE btUnused;
};

class C32BitImageProcessor
{
public:
    C32BitImageProcessor() = default;
    virtual ~C32BitImageProcessor();
    // The size of the result for a source of this size (the same here).
    virtual CSize CalcDestSize(CSize source);
    // Writes the destination from the source; the base copies the pixels.
    virtual BOOL ProcessPixels(const RGBX* source, CSize sourceSize, RGBX* dest, CSize destSize);

    void SetKeepColor(COLORREF color);
    BOOL IsKeepColor(const RGBX& pixel) const;

    int m_iWeight = 0;
    BOOL m_bKeepColor = FALSE;
    int m_iKeepRed = 0;
    int m_iKeepGreen = 0;
    int m_iKeepBlue = 0;

protected:
    // Writes every source pixel through `change`, those of the keep colour
    // unchanged.
    template <class Change>
    BOOL EachPixel(const RGBX* source, CSize size, RGBX* dest, Change change) const
    {
        const size_t count = static_cast<size_t>(size.cx) * size.cy;
        for (size_t i = 0; i < count; ++i) dest[i] = IsKeepColor(source[i]) ? source[i] : change(source[i]);
        return TRUE;
    }
};

// Grey of the pixel's brightness (6 green, 3 red, 1 blue, in tenths).
class CImageGrayer : public C32BitImageProcessor
{
public:
    BOOL ProcessPixels(const RGBX* source, CSize sourceSize, RGBX* dest, CSize destSize) override;
};

// Moves every pixel's lightness by a fraction of the range (-1 to 1), hue and
// saturation kept.
class CImageHigh : public C32BitImageProcessor
{
public:
    explicit CImageHigh(float lighter = 0.0f) : m_fLighter(lighter) {}
    BOOL ProcessPixels(const RGBX* source, CSize sourceSize, RGBX* dest, CSize destSize) override;

    float m_fLighter;
};

// A colour held as red, green, blue and as hue (degrees), saturation and
// lightness (0-1); each side is worked out when it is read after the other
// changed.
class CHslColor
{
public:
    explicit CHslColor(COLORREF color = 0);

    void SetRGB(BYTE red, BYTE green, BYTE blue);
    BYTE GetRed() const;
    BYTE GetGreen() const;
    BYTE GetBlue() const;
    float GetHue() const;
    float GetSaturation() const;
    float GetLightness() const;
    void SetLightness(float lightness);

    // The conversions: hue in degrees (0 for greys), saturation and
    // lightness as fractions; channels 0-255.
    static void RgbToHsl(int red, int green, int blue, double& hue, double& saturation, double& lightness);
    static COLORREF HslToRgb(double hue, double saturation, double lightness);

private:
    void ToHsl() const;
    void ToRgb() const;

    mutable BYTE m_btRed = 0, m_btGreen = 0, m_btBlue = 0;
    mutable float m_fHue = 0.0f, m_fSaturation = 0.0f, m_fLightness = 0.0f;
    mutable bool m_bHslCurrent = false;
    mutable bool m_bRgbCurrent = true;
};

using CImageProcessorArray = CArray<C32BitImageProcessor*, C32BitImageProcessor*>;

class CEnBitmap : public CBitmap
{
public:
    explicit CEnBitmap(COLORREF background = 0);

    // Runs the processors in order over the bitmap's pixels and puts the
    // result in place of the bitmap.  An empty chain succeeds at once;
    // FALSE without a bitmap or when a processor fails (the bitmap is then
    // left as it was).
    BOOL ProcessImage(const CImageProcessorArray& processors);
    // Grey and strongly lightened; pixels of keep stay as they are.
    BOOL MakeDisabled(COLORREF keep);
    // Slightly lightened; pixels of keep stay as they are.
    BOOL MakeNormal(COLORREF keep);

    COLORREF m_crBackground;
};
