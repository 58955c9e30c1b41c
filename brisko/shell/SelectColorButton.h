// A push button that shows a colour as a swatch with a thin raised frame
// (sunken while pressed); a click lets the user choose another colour.
#pragma once
#include "classlib/ClassLib.h"

class CSelectColorButton : public CButton
{
public:
    CSelectColorButton() = default;

    COLORREF GetColor() const { return m_Color; }
    // Takes the colour and repaints the button.
    void SetColor(COLORREF color);

    COLORREF m_Color = 0;
    BOOL m_bPressed = FALSE;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnClicked();
    DECLARE_MESSAGE_MAP()

private:
    void Draw(CDC& dc);
};
