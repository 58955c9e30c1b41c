#include "brisko/editor/Dialog_GotoLine.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"

CDialog_GotoLine::CDialog_GotoLine(CWnd* parent) : CDialog(IDD_GOTO_LINE, parent) {}

void CDialog_GotoLine::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_GOTO_LINE, m_nLine);
    DDX_Text(pDX, IDC_GOTO_TOTAL, m_nTotal);
    DDX_Text(pDX, IDC_GOTO_ITEM, m_nItem);
    DDV_MinMaxShort(pDX, m_nItem, 1, 1000);
}

void CDialog_GotoLine::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (m_nLine < 1 || m_nLine > m_nTotal) {
        CString text;
        text.Format(L"指定行号<%d>不得小于1, 或大于总行数<%d>!", m_nLine, m_nTotal);
        ClMessageBox(m_hWnd, text, kBriskoCaption, MB_OK | MB_ICONSTOP);
        if (CWnd* edit = GetDlgItem(IDC_GOTO_LINE)) {
            edit->SetFocus();
            edit->SendMessage(EM_SETSEL, 0, -1);
        }
        return;
    }
    --m_nLine;
    EndDialog(IDOK);
}
