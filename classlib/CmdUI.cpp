#include "CmdUI.h"
#include "Menu.h"
#include "Wnd.h"
#include "WndState.h"

// ---------------------------------------------------------------------------
// CCmdUI on menus and windows.

void CCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = TRUE;
    if (m_pMenu) {
        if (m_pSubMenu) return; // popups stay enabled
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        HWND hwnd = m_pOther->m_hWnd;
        if (!on && ::GetFocus() == hwnd) {
            HWND parent = ::GetParent(hwnd);
            ::SendMessageW(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(hwnd, on);
    }
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu) {
        if (m_pSubMenu) return;
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        if (ClClassNameOf(m_pOther->m_hWnd).CompareNoCase(L"Button") == 0)
            ::SendMessageW(m_pOther->m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0);
    }
}

void CCmdUI::SetRadio(BOOL on) { SetCheck(on ? 1 : 0); }

void CCmdUI::SetText(const wchar_t* text)
{
    if (m_pMenu) {
        if (m_pSubMenu) return;
        UINT state = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION);
        state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00);
        ::ModifyMenuW(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
    } else if (m_pOther) {
        CString current = m_pOther->GetWindowText();
        if (current != text) ::SetWindowTextW(m_pOther->m_hWnd, text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE; // separators and static items
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL handled = target && target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (!handled && disableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{nullptr};
        BOOL hasHandler = target && target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
    return handled;
}

// ---------------------------------------------------------------------------
// Command state of a window's child controls (dialogs, bars).

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_pOther = FromHandle(child);
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        // Check boxes and radio buttons that toggle themselves keep working
        // without a handler.
        BOOL autoButton = FALSE;
        if (ClClassNameOf(child).CompareNoCase(L"Button") == 0) {
            UINT type = static_cast<UINT>(::GetWindowLongPtrW(child, GWL_STYLE)) & 0x0F;
            autoButton = type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON ||
                         type == BS_GROUPBOX;
        }
        state.DoUpdate(target, disableIfNoHandler && !autoButton);
    }
}
