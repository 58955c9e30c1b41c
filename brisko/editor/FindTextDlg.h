// The Find dialog of the text view: Find Next searches the view from the
// dialog's position (wrapping at the end) and closes on a match; a miss is
// reported and the next try starts at the top.
#pragma once
#include "classlib/ClassLib.h"

class CTvTextView;

class CFindTextDlg : public CDialog
{
public:
    explicit CFindTextDlg(CTvTextView* buddy);

    CTvTextView* m_pBuddy;
    int m_nDirection = 1; // 0 up, 1 down
    BOOL m_bMatchCase = FALSE;
    BOOL m_bWholeWord = FALSE;
    CString m_sText;
    CPoint m_ptCurrentPos;

    // The search flags of the dialog's choices.
    DWORD SearchFlags() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnChangeText();
    void UpdateControlsState();
    DECLARE_MESSAGE_MAP()
};
