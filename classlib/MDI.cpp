#include "MDI.h"
#include "App.h"
#include "DocTemplate.h"
#include "Document.h"
#include "View.h"

namespace {

HMENU WindowMenuOf(HMENU menuBar)
{
    static const UINT kWindowCommands[] = {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT,
                                           ID_WINDOW_ARRANGE};
    int count = menuBar ? ::GetMenuItemCount(menuBar) : 0;
    for (int i = 0; i < count; ++i) {
        HMENU popup = ::GetSubMenu(menuBar, i);
        if (!popup) continue;
        int items = ::GetMenuItemCount(popup);
        for (int j = 0; j < items; ++j) {
            UINT id = ::GetMenuItemID(popup, j);
            for (UINT command : kWindowCommands)
                if (id == command) return popup;
        }
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// CMDIFrameWnd

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_SIZE()
    ON_COMMAND(ID_WINDOW_NEXT, OnWindowNext)
    ON_COMMAND(ID_WINDOW_PREV, OnWindowPrev)
    ON_COMMAND(ID_WINDOW_CASCADE, OnWindowCascade)
    ON_COMMAND(ID_WINDOW_TILE_HORZ, OnWindowTileHorz)
    ON_COMMAND(ID_WINDOW_TILE_VERT, OnWindowTileVert)
    ON_COMMAND(ID_WINDOW_ARRANGE, OnWindowArrange)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_NEXT, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_PREV, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;

HMENU CMDIFrameWnd::FindWindowMenu(HMENU menuBar) { return WindowMenuOf(menuBar); }

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT cs, CCreateContext*)
{
    HMENU windowMenu = FindWindowMenu(::GetMenu(m_hWnd));
    return CreateClient(cs, windowMenu ? CMenu::FromHandle(windowMenu) : nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* windowMenu)
{
    CLIENTCREATESTRUCT client{windowMenu ? windowMenu->m_hMenu : nullptr, AFX_IDM_FIRST_MDICHILD};
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL |
                  MDIS_ALLCHILDSTYLES;
    m_hWndMDIClient = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, style, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        AfxGetInstanceHandle(), &client);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcW(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::OnSize(UINT type, int, int)
{
    // The layout places the MDI client between the bars (the system's frame
    // procedure would give it the whole client area).
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    BOOL isMaximized = FALSE;
    HWND active = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageW(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                          reinterpret_cast<LPARAM>(&isMaximized)))
                                  : nullptr;
    auto* child = DYNAMIC_DOWNCAST(CMDIChildWnd, FromHandlePermanent(active));
    if (maximized) *maximized = child && isMaximized;
    return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* child)
{
    const HWND hwnd = child->GetSafeHwnd();
    CMDIChildWnd* active = MDIGetActive();
    if (active && active->m_hWnd == hwnd) {
        // The system changes nothing for the active window.
        OnActivateChild(active);
        return;
    }
    ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hwnd), 0);
}

void CMDIFrameWnd::OnActivateChild(CMDIChildWnd*) {}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (lParam == 0 && id >= AFX_IDM_FIRST_MDICHILD && m_hWndMDIClient) {
        // An entry of the window menu: the system's frame procedure
        // activates the window it names.
        CMDIChildWnd* active = MDIGetActive();
        const bool same = active && ::GetDlgItem(m_hWndMDIClient, static_cast<int>(id)) == active->m_hWnd;
        Default();
        if (same && MDIGetActive() == active) OnActivateChild(active);
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

void CMDIFrameWnd::MDINext() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIPrev() { ::SendMessageW(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
void CMDIFrameWnd::MDICascade() { ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDITile(int how) { ::SendMessageW(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(how), 0); }
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

void CMDIFrameWnd::MDIMaximize(CWnd* child)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* child)
{
    ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->GetSafeHwnd()), 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* frameMenu, CMenu* windowMenu)
{
    auto old = reinterpret_cast<HMENU>(::SendMessageW(m_hWndMDIClient, WM_MDISETMENU,
                                                       reinterpret_cast<WPARAM>(frameMenu->GetSafeHmenu()),
                                                       reinterpret_cast<LPARAM>(windowMenu->GetSafeHmenu())));
    // The system lists the document windows in a window menu new to it
    // only when they change next: the list is built now.
    if (windowMenu->GetSafeHmenu()) ::SendMessageW(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    ::DrawMenuBar(m_hWnd);
    return CMenu::FromHandle(old);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    BOOL maximized = FALSE;
    CMDIChildWnd* child = MDIGetActive(&maximized);
    CDocument* document = child ? child->GetActiveDocument() : nullptr;
    // A maximized child's title is added by the system ("title - [child]").
    if (addToTitle && document && !maximized)
        UpdateFrameTitleForDocument(document->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU alternative)
{
    if (CMDIChildWnd* child = MDIGetActive()) {
        child->OnUpdateFrameMenu(alternative);
        return;
    }
    HMENU menu = alternative ? alternative : m_hMenuDefault;
    if (menu && ::GetMenu(m_hWnd) != menu)
        MDISetMenu(CMenu::FromHandle(menu), CMenu::FromHandle(FindWindowMenu(menu)));
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active document window first (its view, the view's document, the
    // child frame), then the frame and the application.
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, msg)) return TRUE;
    // The active document's accelerators, then the frame's own; their
    // commands come to the frame and are routed from there.
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->m_hAccelTable && ::TranslateAcceleratorW(m_hWnd, child->m_hAccelTable, msg)) return TRUE;
    return m_hAccelTable && ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg);
}

void CMDIFrameWnd::OnWindowNext() { MDINext(); }
void CMDIFrameWnd::OnWindowPrev() { MDIPrev(); }
void CMDIFrameWnd::OnWindowCascade() { MDICascade(); }
void CMDIFrameWnd::OnWindowTileHorz() { MDITile(MDITILE_HORIZONTAL); }
void CMDIFrameWnd::OnWindowTileVert() { MDITile(MDITILE_VERTICAL); }
void CMDIFrameWnd::OnWindowArrange() { MDIIconArrange(); }
void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* ui) { ui->Enable(MDIGetActive() != nullptr); }

// ---------------------------------------------------------------------------
// CMDIChildWnd

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_MDIACTIVATE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    return DYNAMIC_DOWNCAST(CMDIFrameWnd, FromHandlePermanent(client ? ::GetParent(client) : nullptr));
}

BOOL CMDIChildWnd::Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                          CWnd* parent, const wchar_t*, DWORD exStyle, CCreateContext* context, HINSTANCE)
{
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, parent);
    if (!frame) {
        CWinApp* app = AfxGetApp();
        frame = DYNAMIC_DOWNCAST(CMDIFrameWnd, app ? app->m_pMainWnd : nullptr);
    }
    if (!frame || !frame->m_hWndMDIClient) {
        PostNcDestroy();
        return FALSE;
    }
    CREATESTRUCTW cs{};
    cs.lpszClass = className;
    cs.lpszName = title;
    cs.style = style | WS_CHILD;
    cs.dwExStyle = exStyle;
    cs.hwndParent = frame->m_hWndMDIClient;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = context;
    bool byDefault = CRect(rect) == rectDefault;
    cs.x = byDefault ? CW_USEDEFAULT : rect.left;
    cs.y = byDefault ? CW_USEDEFAULT : rect.top;
    cs.cx = byDefault ? CW_USEDEFAULT : rect.right - rect.left;
    cs.cy = byDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // Created hidden; a visible style shows it once it is complete.
    MDICREATESTRUCTW mdi{cs.lpszClass, cs.lpszName, cs.hInstance, cs.x, cs.y, cs.cx, cs.cy,
                         static_cast<DWORD>(cs.style) & ~static_cast<DWORD>(WS_MAXIMIZE | WS_VISIBLE),
                         reinterpret_cast<LPARAM>(context)};
    AfxHookWindowCreate(this);
    auto hwnd = reinterpret_cast<HWND>(
        ::SendMessageW(frame->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdi)));
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy(); // the window never came to be
        return FALSE;
    }
    if (!hwnd) return FALSE; // its creation failed: the object went with its window
    if (cs.style & WS_VISIBLE) {
        ::ShowWindow(hwnd, (cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        MDIActivate();
    }
    return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context, HINSTANCE caller)
{
    CString title;
    const wchar_t* windowClass = LoadFrameResources(resourceId, caller, title);
    return Create(windowClass, title, style | WS_CHILD, rectDefault, parent, nullptr, 0, context, caller);
}

CCreateContext* CMDIChildWnd::ContextOf(LPCREATESTRUCT cs) const
{
    auto* mdi = static_cast<MDICREATESTRUCTW*>(cs->lpCreateParams);
    return mdi ? reinterpret_cast<CCreateContext*>(mdi->lParam) : nullptr;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT cs)
{
    // The document template's menu and accelerators, shared by its windows.
    CCreateContext* context = ContextOf(cs);
    if (auto* multi = DYNAMIC_DOWNCAST(CMultiDocTemplate, context ? context->m_pNewDocTemplate : nullptr)) {
        m_hMenuShared = multi->m_hMenuShared;
        m_hAccelTable = multi->m_hAccelTable;
    }
    return CFrameWnd::OnCreate(cs);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcW(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG*)
{
    return FALSE; // the MDI frame translates the active child's accelerators
}

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIActivate(this);
}

void CMDIChildWnd::MDIDestroy() { DestroyWindow(); }

void CMDIChildWnd::MDIMaximize()
{
    if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIMaximize(this);
}

void CMDIChildWnd::MDIRestore()
{
    if (CMDIFrameWnd* frame = GetMDIFrame()) frame->MDIRestore(this);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame || !frame->m_hWndMDIClient) return CFrameWnd::DestroyWindow();
    HWND frameWindow = frame->m_hWnd;
    // Through the MDI client, which takes the window off the window menu and
    // activates the next one; this object is gone afterwards.
    ::SendMessageW(frame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    if (::IsWindow(frameWindow)) {
        // With the last document window gone the frame's own menu returns.
        frame->OnUpdateFrameMenu(nullptr);
        frame->OnUpdateFrameTitle(TRUE);
    }
    return TRUE;
}

void CMDIChildWnd::ActivateFrame(int showCommand)
{
    if (showCommand == -1) {
        if (!IsWindowVisible())
            showCommand = SW_SHOWNORMAL;
        else if (IsIconic())
            showCommand = SW_RESTORE;
    }
    if (showCommand != -1) {
        // A new window next to a maximized one is maximized too.
        BOOL maximized = FALSE;
        CMDIFrameWnd* frame = GetMDIFrame();
        CMDIChildWnd* active = frame ? frame->MDIGetActive(&maximized) : nullptr;
        if (active && active != this && maximized && showCommand == SW_SHOWNORMAL) showCommand = SW_SHOWMAXIMIZED;
        ShowWindow(showCommand);
    }
    MDIActivate();
}

void CMDIChildWnd::OnMDIActivate(BOOL activate, CWnd*, CWnd*)
{
    Default();
    CMDIFrameWnd* frame = GetMDIFrame();
    if (activate) {
        // Order: the menu bar first, then the view (which takes the focus).
        OnUpdateFrameMenu(nullptr);
        if (m_pViewActive) m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
    } else if (m_pViewActive) {
        m_pViewActive->OnActivateView(FALSE, m_pViewActive, m_pViewActive);
    }
    if (frame) frame->m_nIdleFlags |= idleTitle | (activate ? 0 : idleMenu);
    if (frame && activate) frame->OnActivateChild(this);
}

int CMDIChildWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    // A click into a document window (its view passes the message up) makes
    // it the active one.
    int result = static_cast<int>(Default());
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
    CMDIFrameWnd* frame = GetMDIFrame();
    if (frame && frame->MDIGetActive() != this) MDIActivate();
    return result;
}

void CMDIChildWnd::OnUpdateFrameMenu(HMENU alternative)
{
    CMDIFrameWnd* frame = GetMDIFrame();
    if (!frame) return;
    HMENU menu = alternative ? alternative : (m_hMenuShared ? m_hMenuShared : frame->m_hMenuDefault);
    if (menu && ::GetMenu(frame->m_hWnd) != menu)
        frame->MDISetMenu(CMenu::FromHandle(menu), CMenu::FromHandle(CMDIFrameWnd::FindWindowMenu(menu)));
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* document = GetActiveDocument();
    if (addToTitle && document && (GetStyle() & FWS_ADDTOTITLE)) {
        if (GetWindowText() != document->GetTitle()) SetWindowText(document->GetTitle());
    }
    if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(addToTitle);
}

void CMDIChildWnd::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    // Maximizing or restoring changes what the main frame's title shows.
    if (CMDIFrameWnd* frame = GetMDIFrame()) frame->m_nIdleFlags |= idleTitle;
}

void CMDIChildWnd::OnDestroy()
{
    CMDIFrameWnd* frame = GetMDIFrame();
    CFrameWnd::OnDestroy();
    if (frame) frame->m_nIdleFlags |= idleMenu | idleTitle;
}
