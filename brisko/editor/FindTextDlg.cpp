#include "brisko/editor/FindTextDlg.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/TvTextView.h"

BEGIN_MESSAGE_MAP(CFindTextDlg, CDialog)
    ON_EN_CHANGE(IDC_FIND_TEXT, OnChangeText)
END_MESSAGE_MAP()

CFindTextDlg::CFindTextDlg(CTvTextView* buddy) : CDialog(IDD_FIND_TEXT, buddy), m_pBuddy(buddy) {}

DWORD CFindTextDlg::SearchFlags() const
{
    return (m_bMatchCase ? FIND_MATCH_CASE : 0) | (m_bWholeWord ? FIND_WHOLE_WORD : 0) |
           (m_nDirection == 0 ? FIND_DIRECTION_UP : 0);
}

void CFindTextDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_FIND_UP, m_nDirection);
    DDX_Check(pDX, IDC_FIND_MATCH_CASE, m_bMatchCase);
    DDX_Text(pDX, IDC_FIND_TEXT, m_sText);
    DDX_Check(pDX, IDC_FIND_WHOLE_WORD, m_bWholeWord);
}

BOOL CFindTextDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateControlsState();
    return TRUE;
}

void CFindTextDlg::OnChangeText() { UpdateControlsState(); }

void CFindTextDlg::UpdateControlsState()
{
    CString text;
    GetDlgItemText(IDC_FIND_TEXT, text);
    if (CWnd* button = GetDlgItem(IDOK)) button->EnableWindow(!text.IsEmpty());
}

void CFindTextDlg::OnOK()
{
    if (!UpdateData(TRUE) || m_sText.IsEmpty()) return;
    CPoint found;
    if (!m_pBuddy->SearchText(m_sText, m_ptCurrentPos, SearchFlags(), TRUE, &found)) {
        m_pBuddy->ReportNotFound(m_sText, TRUE);
        m_ptCurrentPos = CPoint(0, 0);
        return;
    }
    m_pBuddy->HighlightText(found, m_sText.GetLength());
    CDialog::OnOK();
}
