// tkxIconButton: an owner-drawn push button with an icon and/or its caption.
//
// The button may be flat (no border until the pointer is over it), has one
// pair of colours for the normal state and one for the hot or pressed state,
// one icon for each of those states, its own cursor and a tool tip, and can
// paint the parent's background under itself (transparent look).  Dialogs
// subclass existing buttons with it (SubclassDlgItem); Create makes a new one.
//
// Hot tracking: a flat button becomes hot when the pointer enters it and
// holds the mouse capture while the pointer stays over it; it stops being
// hot when the pointer leaves or the button loses the focus.  A double click
// counts as two clicks.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxIconButton : public CButton
{
public:
    tkxIconButton();
    ~tkxIconButton() override;

    // Icon placement.
    enum { ST_ALIGN_HORIZ = 0, ST_ALIGN_VERT = 1, ST_ALIGN_HORIZ_RIGHT = 2 };

    // A new owner-drawn button: the low style byte gets BS_OWNERDRAW, as a
    // subclassed button's does; BS_DEFPUSHBUTTON makes it the default button.
    BOOL Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Icons from resources: `in` for the hot and pressed state, `out`
    // otherwise (0: `in` in every state).  The module that holds `in` is
    // searched (the calling module first); when none does,
    // "获取程序资源数据失败!" is shown and the button has no icon.
    void SetIcon(int in, int out, HINSTANCE caller = ClCallerModule());
    // Icons by handle; the button owns them from now on (out null: `in` in
    // every state).
    void SetIcon(HICON in, HICON out = nullptr);
    // Cursor resource shown over the button; -1 shows the default cursor.
    BOOL SetBtnCursor(int id = -1, HINSTANCE caller = ClCallerModule());

    void SetFlat(BOOL flat = TRUE);
    BOOL GetFlat() const { return m_bIsFlat; }
    // 0, 1 and 2 (ST_ALIGN_*) are taken, other values ignored; repaints.
    void SetAlign(int align);
    int GetAlign() const { return m_nAlign; }
    void DrawBorder(BOOL enable = TRUE) { m_bDrawBorder = enable; }
    void SetShowText(BOOL show = TRUE);
    BOOL GetShowText() const { return m_bShowText; }
    void SetFlatFocus(BOOL drawFlatFocus, BOOL repaint = FALSE);
    BOOL GetFlatFocus() const { return m_bDrawFlatFocus; }

    // Colours; a setter repaints only when `repaint` is exactly 1.  The
    // defaults are COLOR_BTNFACE (backgrounds) and COLOR_BTNTEXT.
    void SetDefaultInactiveBgColor(BOOL repaint = FALSE);
    void SetDefaultInactiveFgColor(BOOL repaint = FALSE);
    void SetDefaultActiveBgColor(BOOL repaint = FALSE);
    void SetDefaultActiveFgColor(BOOL repaint = FALSE);
    void SetInactiveBgColor(COLORREF color, BOOL repaint = FALSE);
    void SetInactiveFgColor(COLORREF color, BOOL repaint = FALSE);
    void SetActiveBgColor(COLORREF color, BOOL repaint = FALSE);
    void SetActiveFgColor(COLORREF color, BOOL repaint = FALSE);
    COLORREF GetInactiveBgColor() const { return m_crInactiveBg; }
    COLORREF GetInactiveFgColor() const { return m_crInactiveFg; }
    COLORREF GetActiveBgColor() const { return m_crActiveBg; }
    COLORREF GetActiveFgColor() const { return m_crActiveFg; }

    // Tool tip over the whole button (tool id 1): a null text does nothing.
    void SetTooltipText(CString* text, BOOL activate = TRUE);
    void SetTooltipText(int textId, BOOL activate = TRUE, HINSTANCE caller = ClCallerModule());
    void ActivateTooltip(BOOL activate = TRUE);
    // The tool tip (null until first needed).
    CToolTipCtrl* GetToolTip() { return m_ToolTip.m_hWnd ? &m_ToolTip : nullptr; }

    BOOL GetDefault() const { return m_bIsDefault; }
    // Paints the parent's background under the button from now on; the
    // background is captured afresh at the next paint.
    void DrawTransparent(BOOL repaint = FALSE);
    // Whether the button is hot (a flat button with the pointer over it).
    BOOL IsHot() const { return m_bMouseOnButton; }

    static short GetVersionI() { return 26; }
    static const wchar_t* GetVersionC() { return L"2.6"; }

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void PreSubclassWindow() override;

    void OnMouseMove(UINT flags, CPoint point);
    void OnKillFocus(CWnd* newWnd);
    void OnCaptureChanged(CWnd* wnd);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

private:
    void InitToolTip();
    void DrawTheIcon(CDC* dc, BOOL hasTitle, const RECT& itemRect, CRect& captionRect, BOOL pressed, BOOL disabled);
    void PaintBk(CDC* dc);
    void FreeBackground();
    void FreeIcons();
    void Repaint(BOOL repaint);

    int m_nAlign = ST_ALIGN_HORIZ;
    BOOL m_bShowText = TRUE;
    BOOL m_bDrawBorder = TRUE;
    BOOL m_bIsFlat = TRUE;
    BOOL m_bMouseOnButton = FALSE;
    BOOL m_bDrawFlatFocus = FALSE;
    HCURSOR m_hCursor = nullptr;
    CToolTipCtrl m_ToolTip;
    HICON m_hIconIn = nullptr;
    HICON m_hIconOut = nullptr;
    BYTE m_cyIcon = 0;
    BYTE m_cxIcon = 0;
    CDC m_dcBk;
    CBitmap m_bmpBk;
    HGDIOBJ m_hOldBkBitmap = nullptr;
    BOOL m_bDrawTransparent = FALSE;
    BOOL m_bIsDefault = FALSE;
    COLORREF m_crInactiveBg;
    COLORREF m_crInactiveFg;
    COLORREF m_crActiveBg;
    COLORREF m_crActiveFg;
};
