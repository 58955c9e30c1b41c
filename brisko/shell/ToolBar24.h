// The main frame's tool bar with true-colour pictures in three looks, all
// made from one bitmap: hot (the bitmap as drawn), normal (slightly
// lightened) and disabled (grey and strongly lightened).
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/shell/EnBitmap.h"

class CToolBar24 : public CToolBar
{
public:
    CToolBar24();

    // Makes the three image lists (16 x 16 pictures, mask the transparent
    // colour) from the bitmap and hands them to the tool bar control.
    // FALSE when the bitmap cannot be loaded or a list not made.
    BOOL LoadTrueColorImages(UINT bitmapId, COLORREF mask);

    CImageList m_ilNormal;
    CImageList m_ilHot;
    CImageList m_ilDisabled;
    CBitmap m_bmpHot;
    CEnBitmap m_bmpDisabled;
    CEnBitmap m_bmpNormal;
};
