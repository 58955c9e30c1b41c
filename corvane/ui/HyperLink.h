// tkxHyperLink: a static text control that behaves as a hyperlink.
//
// The text is underlined and coloured (link colour, hover colour while the
// pointer is over it, visited colour once it has been followed), the hand
// cursor shows over it and a tool tip can describe it.  A click opens the
// link's address through the shell, or, with "fire child" set, sends the
// parent WM_USER + 900 (wParam the control id, lParam 0) instead.  Dialogs
// subclass an existing static control with it.
#pragma once
#include "corvane/CorvaneDefs.h"

// Sent to the parent when a "fire child" link is clicked.
#define WM_TKX_LINKCLICKED (WM_USER + 900)

class CORVANE_API tkxHyperLink : public CStatic
{
public:
    tkxHyperLink();
    ~tkxHyperLink() override;

    void SetLinkText(CString text);
    CString GetLinkText() const { return m_strLinkText; }
    void SetLinkUrl(CString url) { m_strLinkUrl = url; }
    CString GetLinkUrl() const { return m_strLinkUrl; }

    // Colours; the control repaints with them at its next paint.
    void SetLinkColor(COLORREF color) { m_crLinkColor = color; }
    void SetVisitedColor(COLORREF color) { m_crVisitedColor = color; }
    void SetHoverColor(COLORREF color) { m_crHoverColor = color; }

    // A click notifies the parent instead of opening the address.
    void SetFireChild(BOOL fire) { m_bFireChild = fire != 0; }
    // SetTootTipText changes the tip text only while the tip is active.
    void ActiveToolTip(BOOL active) { m_bToolTipActive = active != 0; }
    void SetTootTipText(const wchar_t* text);
    void SetToolTipTextColor(COLORREF color);
    void SetToolTipBgColor(COLORREF color);

    // Opens the address with the shell's "open" verb in a normal window;
    // true when the shell reports success.
    bool GoToLinkUrl(CString url);

    bool IsVisited() const { return m_bVisited; }
    bool IsHovering() const { return m_bHover; }
    // The colour the text is drawn in now.
    COLORREF GetTextColor() const;
    CToolTipCtrl* GetToolTip() { return m_ToolTip.m_hWnd ? &m_ToolTip : nullptr; }

    // The tool of the tool tip.
    enum { TOOLTIP_ID = 1001 };

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;

    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnClicked();
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

private:
    bool m_bFireChild = false;
    HCURSOR m_hLinkCursor = nullptr;
    bool m_bToolTipActive = false;
    bool m_bHover = false;
    bool m_bVisited = false;
    CFont m_LinkFont;
    CToolTipCtrl m_ToolTip;
    CString m_strLinkText;
    CString m_strLinkUrl;
    COLORREF m_crHoverColor = RGB(255, 0, 0);
    COLORREF m_crLinkColor = RGB(0, 0, 255);
    COLORREF m_crVisitedColor = RGB(5, 34, 143);
};
