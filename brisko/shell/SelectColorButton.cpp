#include "brisko/shell/SelectColorButton.h"

BEGIN_MESSAGE_MAP(CSelectColorButton, CButton)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

void CSelectColorButton::SetColor(COLORREF color)
{
    m_Color = color;
    if (GetSafeHwnd()) Invalidate();
}

void CSelectColorButton::Draw(CDC& dc)
{
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, m_Color);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_bPressed)
        dc.Draw3dRect(&rect, dark, light);
    else
        dc.Draw3dRect(&rect, light, dark);
}

void CSelectColorButton::OnPaint()
{
    CPaintDC dc(this);
    Draw(dc);
}

BOOL CSelectColorButton::OnEraseBkgnd(CDC* dc)
{
    Draw(*dc);
    return static_cast<BOOL>(Default());
}

void CSelectColorButton::OnLButtonDown(UINT, CPoint)
{
    m_bPressed = TRUE;
    Invalidate();
    Default();
}

void CSelectColorButton::OnLButtonUp(UINT, CPoint)
{
    m_bPressed = FALSE;
    Invalidate();
    Default();
}

void CSelectColorButton::OnMouseMove(UINT, CPoint)
{
    Invalidate();
    Default();
}

void CSelectColorButton::OnClicked()
{
    CColorDialog dialog(m_Color, CC_RGBINIT | CC_FULLOPEN | CC_SHOWHELP | CC_SOLIDCOLOR | CC_ANYCOLOR, GetParent());
    if (dialog.DoModal() != IDOK) return;
    SetColor(dialog.GetColor());
}
