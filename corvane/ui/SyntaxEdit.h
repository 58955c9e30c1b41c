// A single-line edit that paints its own text so that the fields of a short
// expression stand out, for example a station equation "K1+100=K1+120,K2+000":
// the assignment character and the delimiters in their colours, and the runs
// of text between delimiters alternately in the first and second field
// colour.  A run of consecutive delimiters switches the field colour once;
// the assignment character neither switches it nor ends a delimiter run.
//
// A read-only control draws all its text in the window-text colour, a
// disabled one in the grey-text colour, both on the button face.  The
// characters and colours are plain members: set them before the control
// paints (or repaint it after a change).
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxSyntaxEdit : public CEdit
{
public:
    tkxSyntaxEdit();
    ~tkxSyntaxEdit() override;

    wchar_t m_chAssign;      // "="
    wchar_t m_chDelimiter1;  // ","
    wchar_t m_chDelimiter2;  // "$"
    COLORREF m_clrAssign;    // the assignment character
    COLORREF m_clrDelimiter; // both delimiters
    COLORREF m_clrField1;    // fields of even parity (the first field)
    COLORREF m_clrField2;    // fields of odd parity

protected:
    void OnPaint();
    void OnKillFocus(CWnd* newWnd);
    void OnEnable(BOOL enable);
    DECLARE_MESSAGE_MAP()
};
