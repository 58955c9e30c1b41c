#include "corvane/ui/GridDropTarget.h"
#include "corvane/ui/GridCtrl.h"

BOOL CGridDropTarget::Register(tkxGridCtrl* grid)
{
    if (m_bRegistered || !grid || !grid->GetSafeHwnd()) return FALSE;
    m_pGridCtrl = grid;
    m_bRegistered = COleDropTarget::Register(grid);
    return m_bRegistered;
}

void CGridDropTarget::Revoke()
{
    m_bRegistered = FALSE;
    COleDropTarget::Revoke();
}

bool CGridDropTarget::Serves(const CWnd* wnd) const
{
    return m_pGridCtrl && wnd && wnd->m_hWnd && wnd->m_hWnd == m_pGridCtrl->m_hWnd;
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return Serves(wnd) ? m_pGridCtrl->OnDragEnter(dataObject, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    return Serves(wnd) ? m_pGridCtrl->OnDragOver(dataObject, keyState, point) : DROPEFFECT_NONE;
}

BOOL CGridDropTarget::OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point)
{
    return Serves(wnd) ? m_pGridCtrl->OnDrop(dataObject, dropEffect, point) : FALSE;
}

void CGridDropTarget::OnDragLeave(CWnd* wnd)
{
    if (Serves(wnd)) m_pGridCtrl->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* wnd, DWORD keyState, CPoint)
{
    if (!Serves(wnd)) return DROPEFFECT_NONE;
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
