#include "corvane/ui/CtrlEdit.h"

void SendEndEdit(CWnd* editor)
{
    CWnd* parent = editor->GetParent();
    if (!parent) return;
    sEndEditInfo info{};
    info.hdr.hwndFrom = editor->m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(editor->GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDITW;
    editor->GetWindowText(info.text);
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(editor->GetDlgCtrlID()), reinterpret_cast<LPARAM>(&info));
}

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
{ SendEndEdit(this); }
