// The message loop's pieces and the modal loop of windows and dialogs.
#include "MessageLoop.h"
#include "Wnd.h"
#include "App.h"
#include "Gdi.h"
#include "Menu.h"
#include "Frame.h"
#include "WndState.h"
#include "TempMap.h"

// ---------------------------------------------------------------------------
// Modal loop.

int CWnd::RunModalLoop(DWORD flags)
{
    const DWORD noIdleMsg = 0x1, noKickIdle = 0x2, showOnIdle = 0x4;
    BOOL idle = TRUE;
    LONG idleCount = 0;
    BOOL showIdle = (flags & showOnIdle) && !(GetStyle() & WS_VISIBLE);
    HWND parent = ::GetParent(m_hWnd);
    m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
    // Temporary objects made while the loop runs are its own (see TempMap.h).
    ClPushTempLevel();
    MSG msg;
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showIdle = FALSE;
            }
            if (!(flags & noIdleMsg) && parent)
                ::SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
            if ((flags & noKickIdle) || !::SendMessageW(m_hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = FALSE;
            if (!::IsWindow(m_hWnd) || !ContinueModal()) goto done;
        }
        do {
            if (!AfxPumpMessage()) {
                ::PostQuitMessage(ClWndState().quitCode); // the program's loop ends too
                m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
                ClPopTempLevel();
                return -1;
            }
            if (showIdle && ::IsWindow(m_hWnd)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showIdle = FALSE;
            }
            if (!::IsWindow(m_hWnd) || !ContinueModal()) goto done;
            if (AfxIsIdleMessage(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) ? &msg : nullptr)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
        idle = TRUE;
    }
done:
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    ClPopTempLevel();
    return m_nModalResult;
}

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    }
}

// ---------------------------------------------------------------------------
// The message loop's pieces.

BOOL AfxPreTranslateMessage(MSG* msg)
{
    if (CWinApp* app = AfxGetApp()) return app->PreTranslateMessage(msg);
    return CWnd::WalkPreTranslateTree(nullptr, msg);
}

BOOL AfxPumpMessage()
{
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) ClWndState().quitCode = static_cast<int>(msg.wParam);
    if (got == 0 || got == -1) return FALSE;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL AfxIsIdleMessage(const MSG* msg)
{
    if (!msg) return TRUE;
    WndThreadState& st = ClWndState();
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (st.lastMouseMessage == msg->message && st.lastMouse.x == msg->pt.x && st.lastMouse.y == msg->pt.y)
            return FALSE;
        st.lastMouse = msg->pt;
        st.lastMouseMessage = msg->message;
        return TRUE;
    }
    return msg->message != WM_PAINT && msg->message != 0x0118; // nor the system's caret timer
}

namespace {
BOOL CALLBACK SendIdleUpdate(HWND hwnd, LPARAM)
{
    if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd)) {
        if (::IsWindowVisible(hwnd)) {
            ::SendMessageW(hwnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            wnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    return TRUE;
}

// The frames of the main window's floating bars are windows of their own,
// owned by it and outside its descendants: they are updated as it is.
BOOL CALLBACK SendIdleUpdateToOwnedFrame(HWND hwnd, LPARAM owner)
{
    if (::GetWindow(hwnd, GW_OWNER) != reinterpret_cast<HWND>(owner)) return TRUE;
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) SendIdleUpdate(hwnd, 0);
    return TRUE;
}
} // namespace

BOOL ClIdleStep(LONG count)
{
    if (count == 0) {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd) {
            HWND main = app->m_pMainWnd->m_hWnd;
            SendIdleUpdate(main, 0);
            ::EnumThreadWindows(::GetCurrentThreadId(), &SendIdleUpdateToOwnedFrame, reinterpret_cast<LPARAM>(main));
        } else
            ::EnumThreadWindows(::GetCurrentThreadId(), &SendIdleUpdate, 0);
        return TRUE;
    }
    ClFreeTempLevel();
    return FALSE;
}

void AfxRunIdle()
{
    CWinApp* app = AfxGetApp();
    for (LONG n = 0; app ? app->OnIdle(n) : ClIdleStep(n); ++n) {
    }
}
