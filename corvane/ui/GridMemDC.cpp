#include "corvane/ui/GridMemDC.h"


CMemDC::CMemDC(CDC* target) : m_pDC(target), m_bMemDC(!target->IsPrinting())
{
    if (m_bMemDC) {
        if (!CreateCompatibleDC(target)) {
            m_bMemDC = FALSE;
            m_hDC = target->m_hDC;
            m_hAttribDC = target->m_hAttribDC;
            return;
        }
        target->GetClipBox(&m_rect);
        if (m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height()))
            m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
        m_bPrinting = target->m_bPrinting;
    }
}

CMemDC::~CMemDC()
{
    if (m_bMemDC) {
        if (m_oldBitmap) {
            m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                          SRCCOPY);
            ::SelectObject(m_hDC, m_oldBitmap);
        }
    } else {
        m_hDC = m_hAttribDC = nullptr; // shared with the target: not ours to delete
    }
    m_bitmap.DeleteObject();
}
