// The Replace dialog of the editing view: Find Next, Replace and Replace All
// in the selection (the block) or in the whole file.
#pragma once
#include "classlib/ClassLib.h"

class CTvEditView;

class CEditReplaceDlg : public CDialog
{
public:
    explicit CEditReplaceDlg(CTvEditView* buddy);

    CTvEditView* m_pBuddy;
    BOOL m_bMatchCase = FALSE;
    BOOL m_bWholeWord = FALSE;
    CString m_sText;
    CString m_sNewText;
    int m_nScope = 1; // 0 the selection, 1 the whole file
    BOOL m_bFound = FALSE;
    CPoint m_ptFoundAt;
    CPoint m_ptSavedPos;
    CPoint m_ptBlockBegin, m_ptBlockEnd;
    BOOL m_bEnableScopeSelection = FALSE;

    // The buttons' work (tests call them directly).
    void FindNext();
    void ReplaceOne();
    // The number of replacements made.
    int ReplaceAll();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnChangeText();
    void OnEditSkip() { FindNext(); }
    void OnEditReplace() { ReplaceOne(); }
    void OnEditReplaceAll() { ReplaceAll(); }
    void UpdateControlsState();
    DWORD SearchFlags() const;
    // Searches from m_ptFoundAt; with `show` the match is selected and a
    // miss reported.
    BOOL Search(BOOL show);
    // Keeps the block's end on the match's line where it was.
    void AdjustBlock(const CPoint& match, int delta);
    // Replace All's replacements from m_ptFoundAt on; their number, and
    // the end of the last replacement.
    int ReplaceEach(CPoint& last);
    DECLARE_MESSAGE_MAP()
};
