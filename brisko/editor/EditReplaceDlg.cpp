#include "brisko/editor/EditReplaceDlg.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/TvEditView.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Utility.h"

BEGIN_MESSAGE_MAP(CEditReplaceDlg, CDialog)
    ON_EN_CHANGE(IDC_FIND_TEXT, OnChangeText)
    ON_BN_CLICKED(IDC_REPLACE_FIND_NEXT, OnEditSkip)
    ON_BN_CLICKED(IDC_REPLACE_REPLACE, OnEditReplace)
    ON_BN_CLICKED(IDC_REPLACE_ALL, OnEditReplaceAll)
END_MESSAGE_MAP()

CEditReplaceDlg::CEditReplaceDlg(CTvEditView* buddy) : CDialog(IDD_EDIT_REPLACE, buddy), m_pBuddy(buddy) {}

void CEditReplaceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_FIND_MATCH_CASE, m_bMatchCase);
    DDX_Check(pDX, IDC_FIND_WHOLE_WORD, m_bWholeWord);
    DDX_Text(pDX, IDC_FIND_TEXT, m_sText);
    DDX_Text(pDX, IDC_REPLACE_WITH, m_sNewText);
    DDX_Radio(pDX, IDC_REPLACE_IN_SELECTION, m_nScope);
}

BOOL CEditReplaceDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* radio = GetDlgItem(IDC_REPLACE_IN_SELECTION)) radio->EnableWindow(m_bEnableScopeSelection);
    UpdateControlsState();
    return TRUE;
}

void CEditReplaceDlg::OnCancel()
{
    UpdateData(TRUE);
    CDialog::OnCancel();
}

void CEditReplaceDlg::OnChangeText() { UpdateControlsState(); }

void CEditReplaceDlg::UpdateControlsState()
{
    CString text;
    GetDlgItemText(IDC_FIND_TEXT, text);
    for (int id : {IDC_REPLACE_FIND_NEXT, IDC_REPLACE_REPLACE, IDC_REPLACE_ALL})
        if (CWnd* button = GetDlgItem(id)) button->EnableWindow(!text.IsEmpty());
}

DWORD CEditReplaceDlg::SearchFlags() const
{
    return (m_bMatchCase ? FIND_MATCH_CASE : 0) | (m_bWholeWord ? FIND_WHOLE_WORD : 0);
}

BOOL CEditReplaceDlg::Search(BOOL show)
{
    CPoint found;
    const BOOL ok = m_nScope == 0 ? m_pBuddy->SearchTextInRange(m_sText, m_ptFoundAt, m_ptBlockBegin, m_ptBlockEnd,
                                                                 SearchFlags(), FALSE, &found)
                                  : m_pBuddy->SearchText(m_sText, m_ptFoundAt, SearchFlags(), FALSE, &found);
    if (!ok) {
        m_ptFoundAt = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
        if (show) m_pBuddy->ReportNotFound(m_sText, TRUE);
        return FALSE;
    }
    m_ptFoundAt = found;
    if (show) m_pBuddy->HighlightText(found, m_sText.GetLength());
    return TRUE;
}

void CEditReplaceDlg::FindNext()
{
    if (m_hWnd && !UpdateData(TRUE)) return;
    if (m_sText.IsEmpty()) return;
    if (m_bFound)
        ++m_ptFoundAt.x;
    else
        m_ptFoundAt = m_ptSavedPos;
    m_bFound = Search(TRUE);
}

void CEditReplaceDlg::AdjustBlock(const CPoint& match, int delta)
{
    if (m_nScope != 0 || delta == 0) return;
    if (match.y == m_ptBlockBegin.y && match.x < m_ptBlockBegin.x) m_ptBlockBegin.x += delta;
    if (match.y == m_ptBlockEnd.y && match.x < m_ptBlockEnd.x) m_ptBlockEnd.x += delta;
}

void CEditReplaceDlg::ReplaceOne()
{
    if (m_hWnd && !UpdateData(TRUE)) return;
    if (m_sText.IsEmpty()) return;
    if (!m_bFound) {
        m_ptFoundAt = m_ptSavedPos;
        m_bFound = Search(TRUE);
        return;
    }
    const CPoint match = m_ptFoundAt;
    if (!m_pBuddy->ReplaceSelection(m_sNewText)) {
        m_bFound = FALSE;
        return;
    }
    AdjustBlock(match, m_sNewText.GetLength() - m_sText.GetLength());
    m_ptFoundAt = CPoint(match.x + m_sNewText.GetLength(), match.y);
    m_bFound = Search(TRUE);
}

int CEditReplaceDlg::ReplaceAll()
{
    if (m_hWnd && !UpdateData(TRUE)) return 0;
    if (m_sText.IsEmpty() || !m_pBuddy->CanEditNow()) return 0;
    const HCURSOR oldCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    // Every occurrence of the range, from its start.
    m_ptFoundAt = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
    const int delta = m_sNewText.GetLength() - m_sText.GetLength();
    int count = 0;
    CPoint last;
    m_pBuddy->HoldUpdates(TRUE);
    while (Search(FALSE)) {
        const CPoint match = m_ptFoundAt;
        last = m_pBuddy->ReplaceRange(match, CPoint(match.x + m_sText.GetLength(), match.y), m_sNewText);
        AdjustBlock(match, delta);
        m_ptFoundAt = last;
        ++count;
    }
    m_pBuddy->HoldUpdates(FALSE);
    ::SetCursor(oldCursor);
    m_bFound = FALSE;
    CString text;
    if (count > 0) {
        CString format;
        if (!format.LoadString(IDS_REPLACED_ALL, m_pBuddy->ResourceModuleHandle()))
            format = L"全部替换完毕, 共替换%d处文字.";
        text.Format(format, count);
        m_pBuddy->HighlightText(CPoint(last.x - m_sNewText.GetLength(), last.y), m_sNewText.GetLength());
        ClMessageBox(m_hWnd ? m_hWnd : m_pBuddy->GetSafeHwnd(), text, kBriskoCaption, MB_OK | MB_ICONINFORMATION);
        PrintStatusText(L"%s", text.GetString());
    } else {
        m_pBuddy->ReportNotFound(m_sText, TRUE);
    }
    return count;
}
