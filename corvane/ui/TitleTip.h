// tkxTitleTip: a small pop-up that shows the whole text of a cell too
// narrow for it, placed over the cell, for two seconds.  In multi-line mode
// it shows up to four lines in its own font and leaves the pointer's and
// the keyboard's messages to their windows.
//
// Outside multi-line mode the tip gets out of the way: moving the pointer
// off the cell hides it and passes the move on to the window beneath;
// a button press or a key hides it and is handed to the window beneath or
// to the owner.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxTitleTip : public CWnd
{
public:
    tkxTitleTip();
    ~tkxTitleTip() override;

    // Creates the (hidden) pop-up window for the owner (the grid).
    virtual BOOL Create(CWnd* owner);
    BOOL PreTranslateMessage(MSG* msg) override;

    // Shows `text` over `rect` (owner client coordinates) when it does not
    // fit there; `xOffset` is the owner's inner margin.
    void Show(CRect rect, const wchar_t* text, int xOffset = 0);
    // Shows the lines set by SetLineCount / SetLineText when they do not fit.
    void ShowMultLineText(CRect rect, int xOffset = 0);
    void Hide();

    // 1 to 4 lines; FALSE (no change) otherwise.
    BOOL SetLineCount(short count);
    // Index 0 to 3; FALSE (no change) otherwise.
    BOOL SetLineText(short index, const wchar_t* text);
    short GetLineCount() const { return m_nLineCount; }
    CString GetLineText(short index) const { return index >= 0 && index < 4 ? m_strLines[index] : CString(); }
    void SetMulLine(int multiLine) { m_bMultiLine = multiLine != 0; }
    BOOL IsMulLine() const { return m_bMultiLine; }
    // Kept for callers; the tip always hides after two seconds.
    void SetDelay(unsigned short delay) { m_nDelay = delay; }
    unsigned short GetDelay() const { return m_nDelay; }

    // What the tip shows now (empty while hidden) and where (screen).
    CString GetShownText() const { return IsWindow() && IsWindowVisible() ? m_strShown : CString(); }

protected:
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void Place(const CRect& screen);
    CWnd* WindowUnder(CPoint screen) const;

    BOOL m_bMultiLine = FALSE;
    short m_nLineCount = 0;
    CString m_strLines[4];
    unsigned short m_nDelay = 3000;
    CFont m_font;
    CWnd* m_pParentWnd = nullptr;
    CRect m_rectHover;
    CString m_strShown; // the single-line text on show
    bool m_bShowingLines = false;
};
