#include "Frame.h"
#include "PrintPreview.h"
#include "App.h"
#include "ControlBars.h"
#include "Document.h"
#include "Exceptions.h"
#include "View.h"
#include <algorithm>
#include <string>
#include <vector>

struct CFrameWnd::Bars {
    std::vector<CControlBar*> list;
};

// What the status bar's first pane showed before the prompts, and the
// tool tip text handed out last (the tool tip copies it).
struct CFrameWnd::Prompts {
    UINT lastId = 0;
    bool prompting = false;
    CString shown;  // the prompt the pane shows
    CString before; // the pane's text before the prompts
    CString tip;
    std::string tipAnsi;
};

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_WM_ENABLE()
    ON_WM_ACTIVATE()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() : m_bars(new Bars), m_prompts(new Prompts) {}

CFrameWnd::~CFrameWnd()
{
    for (CControlBar* bar : m_bars->list) bar->m_pDockSite = nullptr;
    delete m_bars;
    delete m_prompts;
}

BOOL CFrameWnd::Create(const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect, CWnd* parent,
                       const wchar_t* menuName, DWORD exStyle, CCreateContext* context, HINSTANCE caller)
{
    m_strTitle = title ? title : L"";
    m_hResourceModule = caller;
    HMENU menu = nullptr;
    if (menuName) {
        HINSTANCE module = AfxFindResourceHandle(menuName, RT_MENU, caller);
        if (module) menu = ::LoadMenuW(module, menuName);
    }
    bool byDefault = CRect(rect) == rectDefault;
    BOOL ok = CreateEx(exStyle, className, title, style, byDefault ? CW_USEDEFAULT : rect.left,
                       byDefault ? CW_USEDEFAULT : rect.top, byDefault ? CW_USEDEFAULT : rect.right - rect.left,
                       byDefault ? CW_USEDEFAULT : rect.bottom - rect.top, parent->GetSafeHwnd(), menu, context);
    if (!ok && menu) ::DestroyMenu(menu);
    return ok;
}

const wchar_t* CFrameWnd::LoadFrameResources(UINT resourceId, HINSTANCE caller, CString& title)
{
    m_nIDHelp = resourceId;
    m_hResourceModule = caller;
    const wchar_t* name = MAKEINTRESOURCEW(resourceId);
    CString strings;
    strings.LoadString(resourceId, caller);
    int end = strings.Find(L'\n');
    title = end < 0 ? strings : strings.Left(end);
    HICON icon = nullptr;
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON, caller)) icon = ::LoadIconW(module, name);
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                               icon ? icon : ::LoadIconW(nullptr, IDI_APPLICATION));
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context, HINSTANCE caller)
{
    CString title;
    const wchar_t* windowClass = LoadFrameResources(resourceId, caller, title);
    const wchar_t* name = MAKEINTRESOURCEW(resourceId);
    const wchar_t* menuName = AfxFindResourceHandle(name, RT_MENU, caller) ? name : nullptr;
    if (!Create(windowClass, title, style, rectDefault, parent, menuName, 0, context, caller)) return FALSE;
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_ACCELERATOR, caller))
        m_hAccelTable = ::LoadAcceleratorsW(module, name);
    // A frame without a document (the main frame) is complete now: the views
    // in its bars get their initial update here, once (the program's panes
    // fill themselves in OnInitialUpdate).  A document's frame sends it from
    // InitialUpdateFrame, after the document is loaded.
    if (!context) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                           ::LoadIconW(nullptr, IDI_APPLICATION));
    return TRUE;
}

CCreateContext* CFrameWnd::ContextOf(LPCREATESTRUCT cs) const
{
    return static_cast<CCreateContext*>(cs->lpCreateParams);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    CCreateContext* context = ContextOf(cs);
    if (Default() == -1) return -1;
    if (!(GetStyle() & WS_CHILD)) m_hMenuDefault = ::GetMenu(m_hWnd);
    if (!OnCreateClient(cs, context)) return -1;
    RecalcLayout();
    // The idle text, once the program's OnCreate has made the status bar.
    if (!(GetStyle() & WS_CHILD)) PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (context && context->m_pNewViewClass) return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    if (!context || !context->m_pNewViewClass) return nullptr;
    CObject* object = context->m_pNewViewClass->CreateObject();
    if (!object) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(object);
    // A view that fails to come to be deletes itself (PostNcDestroy).
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, id, context))
        return nullptr;
    return view;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pViewActive;
    if (view == old) return;
    // The frame knows its new view before either view hears of the change.
    m_pViewActive = view;
    if (notify && old) old->OnActivateView(FALSE, view, old);
    if (notify && view) view->OnActivateView(TRUE, view, old);
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

CDocument* CFrameWnd::GetActiveDocument()
{
    CFrameWnd* frame = GetActiveFrame();
    CView* view = frame ? frame->GetActiveView() : nullptr;
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible)
{
    if (!m_pViewActive) {
        CWnd* pane = FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST));
        if (auto* view = DYNAMIC_DOWNCAST(CView, pane)) SetActiveView(view, FALSE);
    }
    if (makeVisible) {
        // OnInitialUpdate of every view runs here: the document is loaded and
        // the frame not yet shown.
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        // The title before the frame shows (the MDI window menu lists the
        // window under the title it has when it becomes active).
        OnUpdateFrameTitle(TRUE);
        ActivateFrame();
        if (m_pViewActive) m_pViewActive->OnActivateView(TRUE, m_pViewActive, m_pViewActive);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int showCommand)
{
    if (showCommand == -1) {
        if (!IsWindowVisible())
            showCommand = SW_SHOWNORMAL;
        else if (IsIconic())
            showCommand = SW_RESTORE;
    }
    if (showCommand != -1) ShowWindow(showCommand);
    ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CDocument* document = addToTitle ? GetActiveDocument() : nullptr;
    UpdateFrameTitleForDocument(document ? static_cast<const wchar_t*>(document->GetTitle()) : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(const wchar_t* documentName)
{
    CString text = m_strTitle;
    if (documentName && *documentName) {
        if (text.IsEmpty())
            text = documentName;
        else if (GetStyle() & FWS_PREFIXTITLE)
            text = CString(documentName) + L" - " + text;
        else
            text = text + L" - " + documentName;
    }
    if (GetWindowText() != text) SetWindowText(text);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU alternative)
{
    HMENU menu = alternative ? alternative : m_hMenuDefault;
    if (menu && ::GetMenu(m_hWnd) != menu) ::SetMenu(m_hWnd, menu);
}

void CFrameWnd::PreSubclassWindow() {}

void CFrameWnd::PostNcDestroy() { delete this; }

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view first, and through it its document: a command acts on
    // what the user is looking at.  Then the frame itself; a frame that is a
    // window of its own passes the rest to the application, while an MDI
    // child leaves it to its MDI frame, which asked it first.
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (GetStyle() & WS_CHILD) return FALSE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_hAccelTable && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg);
    return FALSE;
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    Default();
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnClose()
{
    // Closing a frame that shows a print preview closes the preview.
    if (CPreviewView* preview = CPreviewView::Of(this)) {
        preview->Close();
        return;
    }
    CWinApp* app = AfxGetApp();
    HWND self = m_hWnd;
    if (app && app->m_pMainWnd == this) {
        // The main window: every open document may ask to be saved first;
        // one Cancel keeps everything open.
        if (!app->SaveAllModified()) return;
        app->CloseAllDocuments(FALSE);
        if (::IsWindow(self)) DestroyWindow();
        return;
    }
    CDocument* document = GetActiveDocument();
    if (document) {
        if (!document->CanCloseFrame(this)) return; // the user kept it
        if (document->IsOnlyFrame(this)) {
            document->OnCloseDocument(); // its frames go with it, this one too
            return;
        }
    }
    if (::IsWindow(self)) DestroyWindow();
}

LRESULT CFrameWnd::OnQueryEndSession(WPARAM, LPARAM)
{
    // The user logs off or shuts down: the main window lets the session end
    // only once every modified document was offered for saving (Cancel
    // keeps the session, and the documents, open).
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) return app->SaveAllModified() ? TRUE : FALSE;
    return TRUE;
}

void CFrameWnd::OnDestroy()
{
    // The system destroys the menu of a window that goes: the frame's own one,
    // not a document's shared menu that happens to be showing.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) ::SetMenu(m_hWnd, m_hMenuDefault);
    Default();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIdleFlags & idleMenu) OnUpdateFrameMenu(nullptr);
    if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout(m_nIdleFlags & idleNotify);
        UpdateWindow();
    }
    m_nIdleFlags = 0; // a layout asked for during the layout itself is done
    return 0;
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    // The system's handling first (an MDI child becomes the active one),
    // then the focus goes on to the active view.
    Default();
    if (m_pViewActive && m_pViewActive->m_hWnd && ::GetFocus() == m_hWnd) m_pViewActive->SetFocus();
}

void CFrameWnd::OnEnable(BOOL enable)
{
    Default();
    // A modal dialog or a print job turns the frame off.  Its floating bars
    // are windows of their own, which the system leaves on: they follow the
    // frame, so their buttons give it no commands meanwhile.
    for (CControlBar* bar : m_bars->list) {
        if (!bar->m_hWnd || !bar->IsFloating()) continue;
        HWND mini = ::GetParent(::GetParent(bar->m_hWnd));
        if (mini && ::GetWindow(mini, GW_OWNER) == m_hWnd) ::EnableWindow(mini, enable);
    }
}

void CFrameWnd::OnActivate(UINT state, CWnd*, BOOL minimized)
{
    Default();
    if (state == WA_INACTIVE || minimized) return;
    CFrameWnd* frame = GetActiveFrame();
    if (CView* view = frame ? frame->GetActiveView() : nullptr) view->SetFocus();
}

void CFrameWnd::OnDropFiles(HDROP drop)
{
    // Files dropped on a frame that accepts them (DragAcceptFiles) open as
    // documents, each through the application, as the Open command would.
    SetActiveWindow();
    CWinApp* app = AfxGetApp();
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        CString path;
        wchar_t* buffer = path.GetBufferSetLength(static_cast<int>(length));
        path.ReleaseBuffer(static_cast<int>(::DragQueryFileW(drop, i, buffer, length + 1)));
        if (app && !path.IsEmpty()) app->OpenDocumentFile(path);
    }
    ::DragFinish(drop);
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu)
{
    if (sysMenu || !popup) return;
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndexMax = static_cast<UINT>(popup->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = popup->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0) continue; // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            state.m_pSubMenu = popup->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (!state.m_pSubMenu) continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
    }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_inRecalcLayout || !m_hWnd) return;
    m_inRecalcLayout = TRUE;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_inRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL notify) { m_nIdleFlags |= idleLayout | (notify ? idleNotify : 0); }

void CFrameWnd::RepositionBars(UINT first, UINT last, UINT leftOver, UINT query, LPRECT rect, LPCRECT bounds,
                               BOOL stretch)
{
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = stretch;
    if (bounds)
        layout.rect = *bounds;
    else
        ::GetClientRect(m_hWnd, &layout.rect);
    layout.hDWP = query ? nullptr : ::BeginDeferWindowPos(8);
    HWND leftOverWnd = nullptr;
    std::vector<HWND> dockBars;
    auto offer = [&](HWND child) {
        UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
        if (id == leftOver) {
            leftOverWnd = child;
        } else if (id >= first && id <= last) {
            ::SendMessageW(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
            if (DYNAMIC_DOWNCAST(CDockBar, FromHandlePermanent(child))) dockBars.push_back(child);
        }
    };
    // The frame's bars take their room in creation order (the first created
    // lies outside), then any other child that answers WM_SIZEPARENT.
    std::vector<HWND> offered;
    for (CControlBar* bar : m_bars->list) {
        if (bar->m_hWnd && ::GetParent(bar->m_hWnd) == m_hWnd) {
            offered.push_back(bar->m_hWnd);
            offer(bar->m_hWnd);
        }
    }
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (std::find(offered.begin(), offered.end(), child) == offered.end()) offer(child);
    if (rect) *rect = layout.rect;
    if (query) return;
    if (leftOverWnd && layout.hDWP)
        layout.hDWP = ::DeferWindowPos(layout.hDWP, leftOverWnd, nullptr, layout.rect.left, layout.rect.top,
                                       layout.rect.right - layout.rect.left, layout.rect.bottom - layout.rect.top,
                                       SWP_NOZORDER | SWP_NOACTIVATE);
    if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
    for (HWND dock : dockBars)
        if (auto* bar = DYNAMIC_DOWNCAST(CDockBar, FromHandlePermanent(dock))) bar->LayoutBars();
}

// ---------------------------------------------------------------------------
// Bars and docking.

namespace {
struct DockSide {
    DWORD align;
    UINT id;
};
const DockSide kDockSides[] = {{CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
                               {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
                               {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
                               {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT}};
} // namespace

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    auto& list = m_bars->list;
    if (std::find(list.begin(), list.end(), bar) == list.end()) list.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    auto& list = m_bars->list;
    list.erase(std::remove(list.begin(), list.end(), bar), list.end());
}

int CFrameWnd::GetControlBarCount() const { return static_cast<int>(m_bars->list.size()); }

CControlBar* CFrameWnd::GetControlBarAt(int index) const { return m_bars->list[static_cast<size_t>(index)]; }

CDockBar* CFrameWnd::GetDockBar(UINT id) const
{
    return DYNAMIC_DOWNCAST(CDockBar, FromHandlePermanent(::GetDlgItem(m_hWnd, static_cast<int>(id))));
}

CControlBar* CFrameWnd::GetControlBar(UINT id)
{
    if (CDockBar* dock = GetDockBar(id)) return dock;
    for (CControlBar* bar : m_bars->list)
        if (bar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == id) return bar;
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dockStyle)
{
    for (const DockSide& side : kDockSides) {
        if (!(dockStyle & side.align) || GetDockBar(side.id)) continue;
        auto* dock = new CDockBar;
        dock->m_bAutoDelete = TRUE;
        if (!dock->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.align, side.id)) {
            delete dock;
            AfxThrowResourceException();
        }
    }
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dock = dockBarId ? GetDockBar(dockBarId) : nullptr;
    if (!dock)
        for (const DockSide& side : kDockSides)
            if ((bar->m_dwDockStyle & side.align) && (dock = GetDockBar(side.id)) != nullptr) break;
    if (!dock) return;
    bar->m_pDockSite = this;
    dock->DockControlBar(bar, rect);
    RecalcLayout();
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD style)
{
    auto* mini = new CMiniDockFrameWnd;
    if (!mini->Create(this, style)) return nullptr; // the frame deleted itself
    return mini;
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style)
{
    CMiniDockFrameWnd* mini = nullptr;
    if (bar->IsFloating()) {
        mini = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, bar->m_pDockBar->GetParent());
    } else {
        if (bar->m_pDockContext && bar->m_pDockBar)
            bar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(bar->m_pDockBar->GetDlgCtrlID());
        mini = CreateFloatingFrame(style);
        if (!mini) return;
        bar->m_pDockSite = this;
        mini->m_wndDockBar.DockControlBar(bar);
    }
    if (!mini) return;
    if (bar->m_pDockContext) bar->m_pDockContext->m_ptMRUFloatPos = point;
    mini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    mini->FitToBar();
    if (bar->GetStyle() & WS_VISIBLE) mini->ShowWindow(SW_SHOWNA);
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    if (bar->IsFloating()) {
        if (CWnd* mini = bar->m_pDockBar->GetParent()) mini->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    }
    if (delay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

// ---------------------------------------------------------------------------
// Prompts and tool tips.

CString CFrameWnd::CommandStringPart(UINT id, int field) const
{
    CString strings;
    // String resources have 16-bit ids; 0 is no command (separators, popups).
    if (id == 0 || id > 0xFFFF || !strings.LoadString(id, m_hResourceModule)) return CString();
    int start = 0;
    for (int i = 0; i < field; ++i) {
        start = strings.Find(L'\n', start);
        if (start < 0) return CString();
        ++start;
    }
    int end = strings.Find(L'\n', start);
    return strings.Mid(start, (end < 0 ? strings.GetLength() : end) - start);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const { rMessage = CommandStringPart(nID, 0); }

CWnd* CFrameWnd::GetMessageBar() const
{
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    return bar ? FromHandle(bar) : nullptr;
}

namespace {

CString MessageBarText(CWnd* bar)
{
    if (auto* status = DYNAMIC_DOWNCAST(CStatusBar, bar)) return status->GetPaneText(0);
    return bar->GetWindowText();
}

void ShowMessageBarText(CWnd* bar, const CString& text)
{
    if (auto* status = DYNAMIC_DOWNCAST(CStatusBar, bar))
        status->SetPaneText(0, text);
    else
        bar->SetWindowText(text);
    bar->UpdateWindow(); // at once: menus keep the loop busy
}

} // namespace

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    Prompts& p = *m_prompts;
    const UINT last = p.lastId;
    const UINT id = static_cast<UINT>(wParam);
    p.lastId = id;
    CWnd* bar = GetMessageBar();
    if (!bar) return last;
    const CString current = MessageBarText(bar);
    // A text the program wrote while a prompt showed is the one to return to.
    const bool overwritten = p.prompting && current != p.shown;
    CString text;
    if (lParam) {
        text = reinterpret_cast<const wchar_t*>(lParam);
        p.prompting = false;
    } else if (id == AFX_IDS_IDLEMESSAGE) {
        if (!text.LoadString(AFX_IDS_IDLEMESSAGE, m_hResourceModule)) {
            // No idle text of the program's own: the pane gets back what it
            // showed before the prompts.
            if (!p.prompting || overwritten) {
                p.prompting = false;
                return last;
            }
            text = p.before;
        }
        p.prompting = false;
    } else {
        if (!p.prompting || overwritten) p.before = current;
        p.prompting = true;
        GetMessageString(id, text);
        p.shown = text;
    }
    if (text != current) ShowMessageBarText(bar, text);
    return last;
}

void CFrameWnd::OnMenuSelect(UINT itemId, UINT flags, HMENU menu)
{
    Default();
    if (flags == 0xFFFF && !menu) {
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE); // the menu closed
        return;
    }
    // A popup's item carries its position, not a command.
    const bool command = !(flags & (MF_POPUP | MF_SEPARATOR));
    SendMessage(WM_SETMESSAGESTRING, command ? itemId : 0);
}

namespace {

bool IsToolTipNotification(const NMHDR* header)
{
    return header && (header->code == TTN_NEEDTEXTW || header->code == TTN_NEEDTEXTA);
}

// Whether the tool tip may show a text: not when it is the tool tip of a
// tool bar of the frame without CBRS_TOOLTIPS.
bool ToolTipAllowed(const CFrameWnd* frame, HWND tip)
{
    for (int i = 0; i < frame->GetControlBarCount(); ++i) {
        auto* tools = DYNAMIC_DOWNCAST(CToolBar, frame->GetControlBarAt(i));
        if (tools && tools->m_hWnd && reinterpret_cast<HWND>(tools->SendMessage(TB_GETTOOLTIPS)) == tip)
            return (tools->GetBarStyle() & CBRS_TOOLTIPS) != 0;
    }
    return true;
}

void SetToolTipText(NMHDR* header, const wchar_t* wide, const char* ansi)
{
    if (header->code == TTN_NEEDTEXTW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        info->hinst = nullptr;
        info->szText[0] = L'\0';
        info->lpszText = const_cast<wchar_t*>(wide);
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        info->hinst = nullptr;
        info->szText[0] = '\0';
        info->lpszText = const_cast<char*>(ansi);
    }
}

} // namespace

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    const bool tip = IsToolTipNotification(header);
    if (tip && !ToolTipAllowed(this, header->hwndFrom)) {
        // (The tool tip asks the bar first, then the bar's parent.)
        SetToolTipText(header, L"", "");
        if (result) *result = 0;
        return TRUE;
    }
    if (CWnd::OnNotify(wParam, lParam, result)) return TRUE;
    return tip && OnToolTipText(header, result);
}

BOOL CFrameWnd::OnToolTipText(NMHDR* header, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const UINT flags = header->code == TTN_NEEDTEXTW ? info->uFlags : reinterpret_cast<NMTTDISPINFOA*>(header)->uFlags;
    UINT_PTR id = header->idFrom;
    if (flags & TTF_IDISHWND) id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));
    Prompts& p = *m_prompts;
    p.tip = id <= 0xFFFF ? CommandStringPart(static_cast<UINT>(id), 1) : CString();
    p.tipAnsi = ClWideToMultiByte(p.tip, p.tip.GetLength(), CP_ACP);
    SetToolTipText(header, p.tip, p.tipAnsi.c_str());
    if (result) *result = 0;
    return TRUE;
}
