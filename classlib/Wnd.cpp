#include "Wnd.h"
#include "App.h"
#include "Exceptions.h"
#include "Gdi.h"
#include "Menu.h"
#include "Frame.h"
#include "WndState.h"
#include "TempMap.h"
#include "Ole.h"
#include "ControlHost.h"
#include <algorithm>
#include <map>
#include <vector>

WndThreadState& ClWndState()
{
    static thread_local WndThreadState* state = nullptr;
    if (!state) state = new WndThreadState; // lives as long as the thread
    return *state;
}

CString ClClassNameOf(HWND hwnd)
{
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return CString(name);
}

namespace {

WndThreadState& State() { return ClWndState(); }

void ReleaseTemp(CWnd* wnd)
{
    wnd->m_hWnd = nullptr;
    delete wnd;
}

ClTempMap<HWND, CWnd>& TempWindows()
{
    static thread_local ClTempMap<HWND, CWnd>* map = nullptr;
    if (!map) map = new ClTempMap<HWND, CWnd>(&ReleaseTemp);
    return *map;
}

HINSTANCE ThisModule() { return ClCallerModule(); }

} // namespace

// ---------------------------------------------------------------------------
// Window procedure and creation hook.

LRESULT CALLBACK ClWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    WndThreadState& st = State();
    MSG saved = st.current;
    st.current.hwnd = hwnd;
    st.current.message = message;
    st.current.wParam = wParam;
    st.current.lParam = lParam;
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        // An exception never crosses the system's frames: it is reported here.
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
        result = message == WM_CREATE ? -1 : 0;
    }
    if (message == WM_NCDESTROY) ClRevokeDropTargetOf(hwnd); // while the window still holds its registration
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) == wnd) {
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &ClWndProc && wnd->m_pfnSuper)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    st.current = saved;
    return result;
}

LRESULT CALLBACK ClCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    WndThreadState& st = State();
    if (code == HCBT_CREATEWND && st.creating) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        CWnd* wnd = st.creating;
        st.creating = nullptr;
        if (wnd->Attach(hwnd)) {
            auto old = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClWndProc)));
            if (old != &ClWndProc) wnd->m_pfnSuper = old;
        }
    }
    return ::CallNextHookEx(st.cbtHook, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* wnd)
{
    WndThreadState& st = State();
    if (!st.cbtHook) st.cbtHook = ::SetWindowsHookExW(WH_CBT, &ClCbtHook, nullptr, ::GetCurrentThreadId());
    st.creating = wnd;
}

BOOL AfxUnhookWindowCreate()
{
    WndThreadState& st = State();
    BOOL bound = st.creating == nullptr;
    st.creating = nullptr;
    return bound;
}

// ---------------------------------------------------------------------------
// Window classes.

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::map<CString, CString>* names = new std::map<CString, CString>;
    CString name;
    name.Format(L"Cl:%x:%p:%p:%p", classStyle, cursor, background, icon);
    auto it = names->find(name);
    if (it != names->end()) return it->second;
    WNDCLASSW wc{};
    HINSTANCE module = ThisModule();
    if (!::GetClassInfoW(module, name, &wc)) {
        wc.style = classStyle | CS_GLOBALCLASS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = module;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (!::RegisterClassW(&wc)) AfxThrowResourceException();
    }
    return (*names)[name] = name;
}

// ---------------------------------------------------------------------------
// CWnd: handle map.

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::CWnd(HWND hwnd) : m_hWnd(hwnd), m_nFlags(WF_TEMPORARY) {}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        if (m_hWnd) Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd) return nullptr;
    auto& map = State().permanent;
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd)) return wnd;
    auto& temps = TempWindows();
    if (CWnd* known = temps.Find(hwnd)) return known;
    CWnd* wnd = new CWnd(hwnd);
    temps.Add(hwnd, wnd);
    return wnd;
}

void CWnd::DeleteTempMap() { TempWindows().FreeLevel(); }

BOOL CWnd::Attach(HWND hwnd)
{
    if (!hwnd || FromHandlePermanent(hwnd)) return FALSE;
    m_hWnd = hwnd;
    m_nFlags &= ~WF_TEMPORARY;
    State().permanent[hwnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    if (hwnd) {
        auto& map = State().permanent;
        auto it = map.find(hwnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    return hwnd;
}

// ---------------------------------------------------------------------------
// Creation and destruction.

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        WNDCLASSW wc{};
        HINSTANCE module = ThisModule();
        if (!::GetClassInfoW(module, CL_WND_CLASS, &wc)) {
            wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = module;
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = CL_WND_CLASS;
            if (!::RegisterClassW(&wc)) AfxThrowResourceException();
        }
        cs.lpszClass = CL_WND_CLASS;
    }
    return TRUE;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* createParam)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), createParam);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                    int cx, int cy, HWND parent, HMENU idOrMenu, void* createParam)
{
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = createParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (!AfxUnhookWindowCreate()) PostNcDestroy(); // the window never came to be
    return hwnd != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    if (FromHandlePermanent(m_hWnd) != this) {
        HWND hwnd = m_hWnd;
        return ::DestroyWindow(hwnd);
    }
    return ::DestroyWindow(m_hWnd);
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd)) return FALSE;
    PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClWndProc)));
    if (old != &ClWndProc) m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(parent->GetSafeHwnd(), static_cast<int>(id));
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

// ---------------------------------------------------------------------------
// Message handling.

const MSG* CWnd::GetCurrentMessage() { return &State().current; }

LRESULT CWnd::Default()
{
    const MSG& msg = State().current;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

namespace {
thread_local HDC t_printDC = nullptr;
}

HDC ClPrintingDC() { return t_printDC; }

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    ClMsgCall call{message, wParam, lParam, 0, 0, nullptr, 0};
    switch (message) {
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 1;
        return TRUE;
    case WM_NOTIFY: {
        LRESULT r = 0;
        if (!OnNotify(wParam, lParam, &r)) return FALSE;
        *result = r;
        return TRUE;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        if (DispatchOwnerDraw(message, wParam, lParam, result)) return TRUE;
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        call.id = message - WM_CTLCOLORMSGBOX;
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control != m_hWnd && ReflectLastMsg(control, result)) return TRUE;
        if (DispatchMessageMap(call, CL_MSG_CTLCOLOR, 0, 0)) {
            *result = call.result;
            return TRUE;
        }
        return FALSE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam && ReflectLastMsg(reinterpret_cast<HWND>(lParam), result)) return TRUE;
        break;
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_EXITMENULOOP:
    case WM_NCDESTROY:
        TrackOpenMenus(message, wParam);
        break;
    case WM_PRINTCLIENT:
        // Rendering into a given DC: the paint handler draws into it (CPaintDC
        // takes the printing DC in place of BeginPaint).
        if (HasHandler(WM_PAINT)) {
            HDC saved = t_printDC;
            t_printDC = reinterpret_cast<HDC>(wParam);
            ClMsgCall paint{WM_PAINT, 0, 0, 0, 0, nullptr, 0};
            DispatchMessageMap(paint, WM_PAINT, 0, 0);
            t_printDC = saved;
            *result = 0;
            return TRUE;
        }
        return FALSE;
    default:
        break;
    }
    if (!DispatchMessageMap(call, message, 0, 0)) return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::DispatchOwnerDraw(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType == ODT_MENU) {
            if (CMenu* menu = CMenu::FindPermanentOwner(reinterpret_cast<HMENU>(dis->hwndItem))) {
                menu->DrawItem(dis);
                *result = TRUE;
                return TRUE;
            }
            return FALSE;
        }
        return ReflectLastMsg(dis->hwndItem, result);
    }
    if (message == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType == ODT_MENU) {
            if (CMenu* menu = MenuOfMeasuredItem(mis->itemID)) {
                menu->MeasureItem(mis);
                *result = TRUE;
                return TRUE;
            }
            return FALSE;
        }
        return ReflectLastMsg(::GetDlgItem(m_hWnd, static_cast<int>(mis->CtlID)), result);
    }
    if (message == WM_DELETEITEM)
        return ReflectLastMsg(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem, result);
    return ReflectLastMsg(reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem, result);
}

CMenu* CWnd::MenuOfMeasuredItem(UINT id) const
{
    // The item is measured with its id only: its menu is one being shown.
    auto& open = State().openMenus;
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if (it->first == m_hWnd && CMenu::HasItem(it->second, id)) return CMenu::FindPermanentOwner(it->second);
    HMENU bar = ::GetMenu(m_hWnd);
    if (bar && !(GetStyle() & WS_CHILD) && CMenu::HasItem(bar, id)) return CMenu::FindPermanentOwner(bar);
    return CMenu::FindPermanentOwnerOfItem(id);
}

void CWnd::TrackOpenMenus(UINT message, WPARAM wParam)
{
    auto& open = State().openMenus;
    HWND self = m_hWnd;
    auto menu = reinterpret_cast<HMENU>(wParam);
    if (message == WM_INITMENUPOPUP) {
        open.emplace_back(self, menu);
        return;
    }
    open.erase(std::remove_if(open.begin(), open.end(),
                              [&](const std::pair<HWND, HMENU>& e) {
                                  return e.first == self && (message != WM_UNINITMENUPOPUP || e.second == menu);
                              }),
               open.end());
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (!control) {
        code = CN_COMMAND; // menu or accelerator
    } else if (control != m_hWnd && ReflectLastMsg(control)) {
        return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return FALSE;
    if (nm->hwndFrom && nm->hwndFrom != m_hWnd && ReflectLastMsg(nm->hwndFrom, result)) return TRUE;
    AFX_NOTIFY notify{result, nm};
    return OnCmdMsg(static_cast<UINT>(nm->idFrom), static_cast<int>(CN_NOTIFY_BASE | (nm->code & 0xFFFF)),
                    &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result)
{
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd) return FALSE;
    const MSG& msg = State().current;
    LRESULT ignored = 0;
    return wnd->OnChildNotify(msg.message, msg.wParam, msg.lParam, result ? result : &ignored);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    ClMsgCall call{message, wParam, lParam, 0, 0, nullptr, 0};
    switch (message) {
    case WM_COMMAND:
        return DispatchMessageMap(call, CL_MSG_REFLECT + WM_COMMAND, HIWORD(wParam), 0);
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lParam);
        if (!DispatchMessageMap(call, CL_MSG_REFLECT + WM_NOTIFY, nm->code & 0xFFFF, 0)) return FALSE;
        if (result) *result = call.result;
        return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        call.id = message - WM_CTLCOLORMSGBOX;
        if (!DispatchMessageMap(call, CL_MSG_REFLECT + CL_MSG_CTLCOLOR, 0, 0) || !call.result) return FALSE;
        if (result) *result = call.result;
        return TRUE;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!DispatchMessageMap(call, CL_MSG_REFLECT + message, 0, 0)) return FALSE;
        if (result) *result = message == WM_DRAWITEM || message == WM_MEASUREITEM ? TRUE : call.result;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CWnd::PreTranslateMessage(MSG* msg)
{
    // A host passes the keys of its control to the control first.
    return m_pCtrlSite && m_pCtrlSite->PreTranslateMessage(msg);
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd;) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hwnd == stop || !(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) break;
        hwnd = ::GetParent(hwnd);
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!onlyPermanent || FromHandlePermanent(child)) ::SendMessageW(child, message, wParam, lParam);
        if (deep && ::GetWindow(child, GW_CHILD)) {
            CWnd temp(child);
            temp.SendMessageToDescendants(message, wParam, lParam, deep, onlyPermanent);
            temp.m_hWnd = nullptr;
        }
    }
}

// ---------------------------------------------------------------------------
// Attributes, geometry, relatives.

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD updated = (style & ~remove) | add;
    if (style == updated) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(updated));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetExStyle();
    DWORD updated = (style & ~remove) | add;
    if (style == updated) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(updated));
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

void CWnd::GetWindowText(CString& text) const
{
    int n = ::GetWindowTextLengthW(m_hWnd);
    wchar_t* buffer = text.GetBufferSetLength(n);
    int got = ::GetWindowTextW(m_hWnd, buffer, n + 1);
    text.ReleaseBuffer(got);
}

CString CWnd::GetWindowText() const
{
    CString text;
    GetWindowText(text);
    return text;
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!item) return 0;
    CWnd temp(item);
    temp.GetWindowText(text);
    temp.m_hWnd = nullptr;
    return text.GetLength();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->GetSafeHandle()), redraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
}

HICON CWnd::SetIcon(HICON icon, BOOL big)
{
    return reinterpret_cast<HICON>(
        ::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::ClientToScreen(LPRECT r) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&r->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&r->right));
}

void CWnd::ScreenToClient(LPRECT r) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&r->right));
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const
{
    ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    HWND after = insertAfter == &CWnd::wndTop         ? HWND_TOP
                 : insertAfter == &CWnd::wndBottom    ? HWND_BOTTOM
                 : insertAfter == &CWnd::wndTopMost   ? HWND_TOPMOST
                 : insertAfter == &CWnd::wndNoTopMost ? HWND_NOTOPMOST
                                                      : insertAfter->GetSafeHwnd();
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}

const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* wp) const
{
    wp->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, wp);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* wp)
{
    WINDOWPLACEMENT copy = *wp;
    copy.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(m_hWnd, &copy);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    HWND center = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) center = ::GetParent(m_hWnd);
    CRect area, self;
    ::GetWindowRect(m_hWnd, &self);
    if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
        ::GetWindowRect(center, &area);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = (area.left + area.right - self.Width()) / 2;
    int y = (area.top + area.bottom - self.Height()) / 2;
    if (GetStyle() & WS_CHILD) {
        CPoint p(x, y);
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN rgn, UINT flags) { return ::RedrawWindow(m_hWnd, rect, rgn, flags); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CDC* CWnd::GetDCEx(HRGN clip, DWORD flags) { return CDC::FromHandle(::GetDCEx(m_hWnd, clip, flags)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }

CWnd* CWnd::GetOwner() const
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND hwnd = m_hWnd;
    while (hwnd && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = ::GetParent(hwnd);
    return FromHandle(hwnd);
}

CWnd* CWnd::GetParentOwner() const
{
    HWND hwnd = m_hWnd;
    while (hwnd && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = ::GetParent(hwnd);
    return FromHandle(hwnd);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(wnd);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* frame = nullptr;
    CWnd* wnd = FromHandlePermanent(m_hWnd);
    if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) frame = static_cast<CFrameWnd*>(wnd);
    for (CFrameWnd* up = wnd ? wnd->GetParentFrame() : GetParentFrame(); up; up = up->GetParentFrame()) frame = up;
    return frame;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, control->GetSafeHwnd(), previous));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const
{
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, control->GetSafeHwnd(), previous));
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type)
{
    return ClMessageBox(m_hWnd, text, caption ? caption : AfxGetAppTitle(), type);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw)
{
    info->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, bar, info, redraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

void CWnd::DragAcceptFiles(BOOL accept) { ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0); }


// ---------------------------------------------------------------------------
// Default handlers.

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
