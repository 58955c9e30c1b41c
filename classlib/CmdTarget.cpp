#include "CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(const AFX_MSGMAP_ENTRY* e, UINT nMessage, UINT nCode, UINT nID)
{
    for (; e->pfn; ++e)
        if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID) return e;
    return nullptr;
}

BOOL CCmdTarget::DispatchMessageMap(ClMsgCall& call, UINT nMessage, UINT nCode, UINT nID)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (nMessage >= 0xC000 && nMessage <= 0xFFFF && e->nMessage == CL_MSG_REGISTERED) {
                if (e->pfn(this, call)) return TRUE;
                continue;
            }
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                if (e->pfn(this, call)) return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::HasHandler(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        if (FindEntry(map->lpEntries, nMessage, nCode, nID)) return TRUE;
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    ClMsgCall call{WM_COMMAND, 0, 0, nID, nCode, pExtra, 0};
    if ((static_cast<UINT>(nCode) & 0xFFFF0000u) == CN_NOTIFY_BASE) {
        message = WM_NOTIFY;
        code = static_cast<UINT>(nCode) & 0xFFFF;
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        call.message = WM_NOTIFY;
        call.wParam = nID;
        call.lParam = reinterpret_cast<LPARAM>(notify ? notify->pNMHDR : nullptr);
    } else if (code != CN_UPDATE_COMMAND_UI) {
        code &= 0xFFFF;
    }
    if (pHandlerInfo) {
        if (!HasHandler(message, code, nID)) return FALSE;
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    if (code == CN_UPDATE_COMMAND_UI && message == WM_COMMAND && pExtra) {
        // The handler's own ContinueRouting decides for this target only: a
        // request passed on by an earlier target is answered here.
        auto* ui = static_cast<CCmdUI*>(pExtra);
        ui->m_bContinueRouting = FALSE;
        if (!DispatchMessageMap(call, message, code, nID)) return FALSE;
        const BOOL handled = !ui->m_bContinueRouting;
        ui->m_bContinueRouting = FALSE;
        return handled;
    }
    if (!DispatchMessageMap(call, message, code, nID)) return FALSE;
    if (message == WM_NOTIFY) {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (notify && notify->pResult) *notify->pResult = call.result;
    }
    return TRUE;
}
