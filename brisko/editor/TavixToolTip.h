// The editor's field tooltip: a small top-most box below the caret that
// names the data field under it, one line per "\n"-separated part of the
// text; lines holding "[" (optional fields) are drawn green.  It stays up
// until it is hidden, an empty description comes, or it loses the focus.
#pragma once
#include "classlib/ClassLib.h"

class CTavixToolTip : public CWnd
{
public:
    // Registers the window class "CTAVIXTooltip" once per process; a failed
    // registration is reported and throws a resource exception.
    CTavixToolTip();
    ~CTavixToolTip() override;

    // Creates the (hidden) box for the owner; FALSE after a message when the
    // window cannot be made.
    virtual BOOL Create(CWnd* owner);
    // Shows the text below the point (client coordinates of the owner).
    void Show(int x, int y, const CString& text);
    // Places the current lines below a new point.
    void Move(int x, int y);
    void Hide();
    void HideIfShown();
    BOOL IsShown() const { return m_bShown; }
    const CStringArray& GetLines() const { return m_aLines; }
    BOOL PreTranslateMessage(MSG* msg) override;

    // The box's size for the lines: the widest line plus the margins, the
    // lines at their pitch.
    CSize MeasureBox(CDC* dc);

    CStringArray m_aLines;
    CString m_SFaceName;
    short m_nFontSize;
    short m_nOffsetX;
    short m_nOffsetY;
    CRect m_rcWindow;
    COLORREF m_crBackground;
    COLORREF m_crText;
    COLORREF m_crHighlight;
    CWnd* m_pOwner;
    BOOL m_bShown;
    CPoint m_ptAnchor;

protected:
    void OnPaint();
    void OnKillFocus(CWnd* newWnd);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    void SetAnchor(int x, int y);
    void PlaceAndShow();
};
