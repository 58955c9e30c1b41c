#include "corvane/ui/CtrlEdit.h"

IMPLEMENT_DYNAMIC(tkxCtrlEdit, CEdit)

BEGIN_MESSAGE_MAP(tkxCtrlEdit, CEdit)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void tkxCtrlEdit::OnKillFocus(CWnd* newWnd)
{
    CEdit::OnKillFocus(newWnd);
    EndEdit();
}

void tkxCtrlEdit::EndEdit()
{
    CWnd* parent = GetParent();
    if (!parent) return;
    sEndEditInfo info{};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDITW;
    GetWindowText(info.text);
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&info));
}
