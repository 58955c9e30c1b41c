#include "corvane/ui/BufferDC.h"

CBufferDC::CBufferDC(HDC target, const CRect& rect) : m_hTargetDC(target)
{
    if (rect.IsRectEmpty())
        ::GetClipBox(target, &m_rect);
    else
        m_rect = rect;
    // The buffer reaches from (0, 0) to the rectangle's far corner, so that
    // buffer and target share their coordinates.
    if (!Attach(::CreateCompatibleDC(target))) return;
    if (m_rect.right > 0 && m_rect.bottom > 0 &&
        m_bitmap.Attach(::CreateCompatibleBitmap(target, m_rect.right, m_rect.bottom)))
        m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    if (m_rect.top > 0) ExcludeClipRect(0, 0, m_rect.right, m_rect.top);
    if (m_rect.left > 0) ExcludeClipRect(0, m_rect.top, m_rect.left, m_rect.bottom);
}

CBufferDC::~CBufferDC()
{
    if (!m_hDC) return;
    if (m_hOldBitmap) {
        ::BitBlt(m_hTargetDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
                 m_rect.top, SRCCOPY);
        ::SelectObject(m_hDC, m_hOldBitmap);
    }
    m_bitmap.DeleteObject();
    DeleteDC();
}

// ---------------------------------------------------------------------------

CPenDC::CPenDC(HDC dc, COLORREF color) : m_hDC(dc) { Select(color); }

CPenDC::~CPenDC()
{
    if (m_hOldPen) ::SelectObject(m_hDC, m_hOldPen);
    m_pen.DeleteObject();
}

void CPenDC::Select(COLORREF color)
{
    m_pen.CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = ::SelectObject(m_hDC, m_pen.m_hObject);
    if (!m_hOldPen) m_hOldPen = old;
}

void CPenDC::Color(COLORREF color)
{
    if (m_hOldPen) ::SelectObject(m_hDC, m_hOldPen);
    m_hOldPen = nullptr;
    m_pen.DeleteObject();
    Select(color);
}

COLORREF CPenDC::Color() const
{
    LOGPEN pen{};
    m_pen.GetLogPen(&pen);
    return pen.lopnColor;
}

// ---------------------------------------------------------------------------

CBrushDC::CBrushDC(HDC dc, COLORREF color) : m_hDC(dc) { Select(color); }

CBrushDC::~CBrushDC()
{
    if (m_hOldBrush) ::SelectObject(m_hDC, m_hOldBrush);
    m_brush.DeleteObject();
}

void CBrushDC::Select(COLORREF color)
{
    HGDIOBJ brush = nullptr;
    if (color == HOLLOW) {
        brush = ::GetStockObject(HOLLOW_BRUSH);
    } else {
        m_brush.CreateSolidBrush(color);
        brush = m_brush.m_hObject;
    }
    HGDIOBJ old = ::SelectObject(m_hDC, brush);
    if (!m_hOldBrush) m_hOldBrush = old;
}

void CBrushDC::Color(COLORREF color)
{
    if (m_hOldBrush) ::SelectObject(m_hDC, m_hOldBrush);
    m_hOldBrush = nullptr;
    m_brush.DeleteObject();
    Select(color);
}

COLORREF CBrushDC::Color() const
{
    if (!m_brush.m_hObject) return HOLLOW;
    LOGBRUSH brush{};
    m_brush.GetLogBrush(&brush);
    return brush.lbColor;
}
