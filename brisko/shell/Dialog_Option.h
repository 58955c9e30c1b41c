// The environment dialog "环境设置": the editor settings and colours.  The
// application copies its values in, runs the dialog and takes them back on
// OK.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/shell/SelectColorButton.h"

class CDialog_Option : public CDialog
{
public:
    explicit CDialog_Option(CWnd* parent = nullptr);

    // The colour buttons of the dialog, by colour index (0 for colours the
    // dialog does not show).
    static UINT ColorButtonId(int colorIndex);

    short m_nTabWidth = 4;
    short m_nMarginWidth = 30;
    short m_nLinePitch = 5;
    short m_nDurationTime = 10;
    BOOL m_bShowGrid = TRUE;
    BOOL m_bAutoIndent = TRUE;
    BOOL m_bShowToolTip = TRUE;
    BOOL m_bAutoComment = TRUE;
    BOOL m_bAutoReload = TRUE;
    COLORREF m_Colors[12] = {};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnToolTipClicked();
    void OnAutoReloadClicked();
    void OnDefaults();
    DECLARE_MESSAGE_MAP()

private:
    void ShowReloadNotice();
    // The colours into the buttons, and back.
    void ShowColors();
    void TakeColors();
    BOOL m_bAutoReloadClicked = FALSE;
    CSelectColorButton m_btnColors[9]; // in the order of the colour-button table
};
