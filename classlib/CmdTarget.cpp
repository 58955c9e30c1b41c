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
    if (!DispatchMessageMap(call, message, code, nID)) return FALSE;
    if (code == CN_UPDATE_COMMAND_UI && message == WM_COMMAND && pExtra)
        return !static_cast<CCmdUI*>(pExtra)->m_bContinueRouting;
    if (message == WM_NOTIFY) {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        if (notify && notify->pResult) *notify->pResult = call.result;
    }
    return TRUE;
}
