// CMemDC: the grid's double buffer.  On a screen DC it draws into a memory
// bitmap the size of the target's clip box, in the target's coordinates,
// and copies the bitmap to the target when it dies.  On a printing DC it
// draws straight onto the target.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API CMemDC : public CDC
{
public:
    explicit CMemDC(CDC* target);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    CDC* operator->() { return this; }
    operator CMemDC*() { return this; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
