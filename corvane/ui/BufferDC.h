// Drawing-context helpers, each living for one drawing scope.
//
// CBufferDC: an off-screen buffer for flicker-free painting.  Drawing goes
// into a memory DC that shares the target's coordinates; only the buffer
// rectangle (the target's clip box when the given rectangle is empty) is
// kept, and it is copied to the same place on the target when the object
// dies.
//
// CPenDC / CBrushDC: select a solid pen (1 pixel) or a solid brush of a
// colour into a DC and put the previous one back when they die.  A brush of
// the colour 0xFFFFFFFF is the hollow brush (shapes stay unfilled).
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API CBufferDC : public CDC
{
public:
    CBufferDC(HDC target, const CRect& rect = CRect(0, 0, 0, 0));
    ~CBufferDC() override;
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    const CRect& BufferRect() const { return m_rect; }

private:
    HDC m_hTargetDC;
    CBitmap m_bitmap;
    CRect m_rect;
    HGDIOBJ m_hOldBitmap = nullptr;
};

class CORVANE_API CPenDC
{
public:
    CPenDC(HDC dc, COLORREF color = RGB(0, 0, 0));
    ~CPenDC();
    CPenDC(const CPenDC&) = delete;
    CPenDC& operator=(const CPenDC&) = delete;

    void Color(COLORREF color);
    COLORREF Color() const;

private:
    void Select(COLORREF color);
    CPen m_pen;
    HDC m_hDC;
    HGDIOBJ m_hOldPen = nullptr;
};

class CORVANE_API CBrushDC
{
public:
    CBrushDC(HDC dc, COLORREF color = RGB(255, 255, 255));
    ~CBrushDC();
    CBrushDC(const CBrushDC&) = delete;
    CBrushDC& operator=(const CBrushDC&) = delete;

    void Color(COLORREF color);
    // 0xFFFFFFFF for the hollow brush.
    COLORREF Color() const;

    enum : COLORREF { HOLLOW = 0xFFFFFFFF };

private:
    void Select(COLORREF color);
    CBrush m_brush;
    HDC m_hDC;
    HGDIOBJ m_hOldBrush = nullptr;
};
