#include "ControlBars.h"
#include "Controls.h"
#include <algorithm>

namespace {

const wchar_t* BarClass()
{
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

} // namespace

// ---------------------------------------------------------------------------
// CControlBar

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    delete m_pDockContext;
    m_pDockContext = nullptr;
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

int CControlBar::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1) return -1;
    if (!m_pDockSite) {
        CWnd* parent = GetParent();
        if (auto* dock = DYNAMIC_DOWNCAST(CDockBar, FromHandlePermanent(parent->GetSafeHwnd())))
            m_pDockSite = dock->m_pDockSite;
        else if (parent && FromHandlePermanent(parent->m_hWnd) && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            m_pDockSite = static_cast<CFrameWnd*>(parent);
        else
            m_pDockSite = GetParentFrame();
    }
    if (m_pDockSite) m_pDockSite->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy()
{
    // The frame and the dock bar may go before this object does.
    if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    m_pDockBar = nullptr;
    m_pDockSite = nullptr;
    if (m_pDockContext) m_pDockContext->m_pDockSite = nullptr;
    Default();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete) delete this;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // What the bar does not handle itself goes on to its frame.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) return result;
        CFrameWnd* frame = GetDockingFrame();
        HWND target = frame ? frame->m_hWnd : ::GetParent(m_hWnd);
        if (target) return ::SendMessageW(target, message, wParam, lParam);
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    CRect inside;
    CalcInsideRect(inside, horz);
    CSize size(-inside.Width(), -inside.Height());
    if (stretch && horz) size.cx = 32767;
    if (stretch && !horz) size.cy = 32767;
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horz) const
{
    DWORD style = m_dwStyle;
    if (style & CBRS_BORDER_LEFT) rect.left += 2;
    if (style & CBRS_BORDER_TOP) rect.top += 2;
    if (style & CBRS_BORDER_RIGHT) rect.right -= 2;
    if (style & CBRS_BORDER_BOTTOM) rect.bottom -= 2;
    if (horz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::DrawBorders(CDC* dc, CRect& rect)
{
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    DWORD style = m_dwStyle;
    if (style & CBRS_BORDER_TOP) {
        dc->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
        dc->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
        rect.top += 2;
    }
    if (style & CBRS_BORDER_BOTTOM) {
        dc->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, shadow);
        dc->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, light);
        rect.bottom -= 2;
    }
    if (style & CBRS_BORDER_LEFT) {
        dc->FillSolidRect(rect.left, rect.top, 1, rect.Height(), shadow);
        dc->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), light);
        rect.left += 2;
    }
    if (style & CBRS_BORDER_RIGHT) {
        dc->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), shadow);
        dc->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), light);
        rect.right -= 2;
    }
}

void CControlBar::SetBarStyle(DWORD style) { m_dwStyle = style; }

void CControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY;
    if (!m_pDockContext) m_pDockContext = new CDockContext(this);
}

BOOL CControlBar::IsFloating() const { return m_pDockBar && m_pDockBar->m_bFloating; }

BOOL CControlBar::IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE); }

CFrameWnd* CControlBar::GetDockingFrame() const { return m_pDockSite ? m_pDockSite : GetParentFrame(); }

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD style = m_dwStyle;
    if (!(GetStyle() & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY)) return 0;
    CRect rect(layout->rect);
    CSize avail = rect.Size();
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if (style & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CSize size = (style & CBRS_SIZE_DYNAMIC) ? CalcDynamicLayout(-1, mode)
                                             : CalcFixedLayout(layout->bStretch, (style & CBRS_ORIENT_HORZ) != 0);
    size.cx = std::max(0L, std::min(size.cx, avail.cx));
    size.cy = std::max(0L, std::min(size.cy, avail.cy));
    if (style & CBRS_ORIENT_HORZ) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (style & CBRS_ALIGN_TOP) {
            layout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (style & CBRS_ALIGN_LEFT) {
            layout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (layout->hDWP)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                        rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (GetStyle() & WS_VISIBLE) {
        if (CFrameWnd* target = GetDockingFrame()) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    }
    return 0;
}

void CControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (m_pDockContext && m_pDockBar && !m_pDockBar->m_bFloating) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CControlBar::OnLButtonDblClk(UINT, CPoint)
{
    if (m_pDockContext && m_pDockBar) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

BOOL CControlBar::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CControlBar::OnPaint() { Default(); }

// ---------------------------------------------------------------------------
// CDockBar

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL floating) : m_bFloating(floating)
{
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

BOOL CDockBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    if (!m_pDockSite) {
        CWnd* owner = parent;
        if (owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd))) m_pDockSite = static_cast<CFrameWnd*>(owner);
    }
    return CWnd::CreateEx(0, BarClass(), nullptr, (style & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0), parent, id);
}

int CDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (CControlBar* bar : m_bars)
        if (bar->GetStyle() & WS_VISIBLE) ++n;
    return n;
}

void CDockBar::DockControlBar(CControlBar* bar, LPCRECT)
{
    CDockBar* old = bar->m_pDockBar;
    if (old && old != this) old->RemoveControlBar(bar);
    if (std::find(m_bars.begin(), m_bars.end(), bar) == m_bars.end()) m_bars.push_back(bar);
    bar->m_pDockBar = this;
    DWORD style = (bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY);
    if (m_bFloating) style |= CBRS_FLOATING;
    bar->m_dwStyle = style;
    if (::GetParent(bar->m_hWnd) != m_hWnd) ::SetParent(bar->m_hWnd, m_hWnd);
    if (!m_bFloating && bar->m_pDockContext) bar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
    if (old && old != this && old->m_bFloating && old->m_bars.empty()) {
        // The mini frame that held the bar has nothing left to show.
        if (CWnd* mini = old->GetParent()) mini->DestroyWindow();
    }
    LayoutBars();
}

void CDockBar::RemoveControlBar(CControlBar* bar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
    if (bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
}

CSize CDockBar::BarSize(CControlBar* bar, BOOL stretch, BOOL horz) const
{
    if (m_bFloating)
        return (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? bar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)
                                                    : bar->CalcFixedLayout(FALSE, TRUE);
    DWORD mode = (horz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK) | (stretch ? LM_STRETCH : 0);
    return (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? bar->CalcDynamicLayout(-1, mode) : bar->CalcFixedLayout(stretch, horz);
}

CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    CSize total(0, 0);
    for (CControlBar* bar : m_bars) {
        if (!(bar->GetStyle() & WS_VISIBLE)) continue;
        CSize size = BarSize(bar, FALSE, horz);
        if (horz) {
            total.cy += size.cy;
            total.cx = std::max(total.cx, size.cx);
        } else {
            total.cx += size.cx;
            total.cy = std::max(total.cy, size.cy);
        }
    }
    if (stretch && horz) total.cx = 32767;
    if (stretch && !horz) total.cy = 32767;
    return total;
}

void CDockBar::LayoutBars()
{
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int offset = 0;
    for (CControlBar* bar : m_bars) {
        if (!(bar->GetStyle() & WS_VISIBLE)) continue;
        CRect place;
        if (m_bFloating) {
            place = client;
        } else {
            CSize size = BarSize(bar, TRUE, horz);
            if (horz)
                place = CRect(0, offset, std::min<LONG>(size.cx, client.Width()), offset + size.cy);
            else
                place = CRect(offset, 0, offset + size.cx, std::min<LONG>(size.cy, client.Height()));
            offset += horz ? size.cy : size.cx;
        }
        CRect now;
        bar->GetWindowRect(&now);
        ScreenToClient(&now);
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (now == place) flags |= SWP_NOMOVE | SWP_NOSIZE;
        bar->SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(), flags);
    }
}

void CDockBar::OnSize(UINT, int, int)
{
    Default();
    LayoutBars();
}

// ---------------------------------------------------------------------------
// CDockContext

CDockContext::CDockContext(CControlBar* bar) : m_pBar(bar), m_pDockSite(bar->GetDockingFrame()) {}

void CDockContext::ToggleDocking()
{
    CFrameWnd* site = m_pBar->GetDockingFrame();
    if (!site) return;
    if (m_pBar->IsFloating()) {
        site->DockControlBar(m_pBar, m_uMRUDockID);
    } else {
        CRect rect;
        m_pBar->GetWindowRect(&rect);
        CPoint at = m_ptMRUFloatPos.x >= 0 ? m_ptMRUFloatPos : rect.TopLeft();
        site->FloatControlBar(m_pBar, at, m_pBar->m_dwStyle & CBRS_ALIGN_ANY);
    }
}

void CDockContext::StartDrag(CPoint start)
{
    CFrameWnd* site = m_pBar->GetDockingFrame();
    if (!site) return;
    HWND bar = m_pBar->m_hWnd;
    ::SetCapture(bar);
    CPoint last = start;
    bool dropped = false, moved = false;
    MSG msg;
    while (::GetCapture() == bar && ::GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            ::GetCursorPos(&last);
            if (std::abs(last.x - start.x) > 4 || std::abs(last.y - start.y) > 4) moved = true;
            if (msg.message == WM_LBUTTONUP) {
                dropped = true;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
        ::DispatchMessageW(&msg);
    }
    if (::GetCapture() == bar) ::ReleaseCapture();
    if (!dropped || !moved) return;
    // Near an edge of the frame's client area the bar docks there.
    CRect client;
    site->GetClientRect(&client);
    site->ClientToScreen(&client);
    const int reach = 32;
    struct Edge {
        DWORD align;
        UINT id;
        bool hit;
    } edges[] = {{CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP, std::abs(last.y - client.top) < reach},
                 {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM, std::abs(last.y - client.bottom) < reach},
                 {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT, std::abs(last.x - client.left) < reach},
                 {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT, std::abs(last.x - client.right) < reach}};
    if (client.PtInRect(last) || (last.x >= client.left - reach && last.x <= client.right + reach &&
                                  last.y >= client.top - reach && last.y <= client.bottom + reach)) {
        for (const Edge& edge : edges) {
            if (edge.hit && (m_pBar->m_dwDockStyle & edge.align) && site->GetDockBar(edge.id)) {
                site->DockControlBar(m_pBar, edge.id);
                return;
            }
        }
    }
    site->FloatControlBar(m_pBar, last, m_pBar->m_dwStyle & CBRS_ALIGN_ANY);
}

// ---------------------------------------------------------------------------
// CMiniDockFrameWnd

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
    ON_WM_CLOSE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

BOOL CMiniDockFrameWnd::Create(CWnd* parent, DWORD)
{
    if (!CreateEx(WS_EX_TOOLWINDOW, BarClass(), nullptr,
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0, 100, 100,
                  parent->GetSafeHwnd(), nullptr))
        return FALSE;
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        m_wndDockBar.m_pDockSite = static_cast<CFrameWnd*>(parent);
    if (!m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (!m_wndDockBar.m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    m_wndDockBar.SetWindowPos(nullptr, 0, 0, client.Width(), client.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_wndDockBar.LayoutBars();
}

void CMiniDockFrameWnd::FitToBar()
{
    if (m_wndDockBar.GetDockedCount() == 0) return;
    CControlBar* bar = m_wndDockBar.GetDockedBar(0);
    CSize size = (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) ? bar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)
                                                      : bar->CalcFixedLayout(FALSE, TRUE);
    CRect rect(0, 0, size.cx, size.cy);
    ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
    m_fitting = true;
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_fitting = false;
    RecalcLayout();
}

void CMiniDockFrameWnd::OnClose()
{
    if (m_wndDockBar.GetDockedCount() > 0) {
        CControlBar* bar = m_wndDockBar.GetDockedBar(0);
        if (CFrameWnd* site = bar->GetDockingFrame()) {
            site->ShowControlBar(bar, FALSE, FALSE);
            return;
        }
    }
    ShowWindow(SW_HIDE);
}

void CMiniDockFrameWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (!m_fitting && type == SIZE_RESTORED && m_wndDockBar.GetDockedCount() > 0) {
        // A size the user gave the floating frame becomes the bar's floating size.
        CControlBar* bar = m_wndDockBar.GetDockedBar(0);
        if (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
            // The height goes without LM_COMMIT: a bar that reads a committed
            // length as its width before looking at LM_LENGTHY would take it
            // for the width.
            bar->CalcDynamicLayout(cx, LM_HORZ | LM_COMMIT);
            bar->CalcDynamicLayout(cy, LM_HORZ | LM_LENGTHY);
        }
    }
    RecalcLayout();
}

// ---------------------------------------------------------------------------
// CToolBar

namespace {

class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override
    {
        m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(check == 1, 0));
        m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(check == 2, 0));
    }
    void SetText(const wchar_t*) override {}
};

class CStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT id, style;
        int width;
        bar->GetPaneInfo(static_cast<int>(m_nIndex), id, style, width);
        UINT updated = on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (updated != style) bar->SetPaneInfo(static_cast<int>(m_nIndex), id, updated, width);
    }
    void SetCheck(int check) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT id, style;
        int width;
        bar->GetPaneInfo(static_cast<int>(m_nIndex), id, style, width);
        UINT updated = check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
        if (updated != style) bar->SetPaneInfo(static_cast<int>(m_nIndex), id, updated, width);
    }
    void SetText(const wchar_t* text) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        if (bar->GetPaneText(static_cast<int>(m_nIndex)) != text) bar->SetPaneText(static_cast<int>(m_nIndex), text);
    }
};

} // namespace

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id)
{
    AfxInitCommonControls();
    m_dwStyle = style & CBRS_ALL;
    m_cxLeftBorder = borders.left;
    m_cyTopBorder = borders.top;
    m_cxRightBorder = borders.right;
    m_cyBottomBorder = borders.bottom;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | ctrlStyle | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN |
                        CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

BOOL CToolBar::LoadBitmap(UINT id)
{
    const wchar_t* name = MAKEINTRESOURCEW(id);
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP, AfxModuleOfAddress(__builtin_return_address(0)));
    if (!module) return FALSE;
    HBITMAP bitmap = ::LoadBitmapW(module, name);
    if (!bitmap) return FALSE;
    BITMAP bm{};
    ::GetObjectW(bitmap, sizeof(bm), &bm);
    ::DeleteObject(bitmap);
    TBADDBITMAP add{module, id};
    int count = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;
    return SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add)) != -1;
}

BOOL CToolBar::LoadToolBar(UINT id)
{
    const wchar_t* name = MAKEINTRESOURCEW(id);
    const wchar_t* type = MAKEINTRESOURCEW(241); // tool-bar resource
    HINSTANCE module = AfxFindResourceHandle(name, type, AfxModuleOfAddress(__builtin_return_address(0)));
    if (!module) return FALSE;
    HRSRC resource = ::FindResourceW(module, name, type);
    HGLOBAL handle = resource ? ::LoadResource(module, resource) : nullptr;
    auto* data = static_cast<const WORD*>(handle ? ::LockResource(handle) : nullptr);
    if (!data || data[0] != 1) return FALSE;
    int width = data[1], height = data[2], count = data[3];
    std::vector<UINT> ids(data + 4, data + 4 + count);
    SetSizes(CSize(width + 7, height + 7), CSize(width, height));
    TBADDBITMAP add{module, id};
    HBITMAP bitmap = ::LoadBitmapW(module, name);
    if (!bitmap) return FALSE;
    BITMAP bm{};
    ::GetObjectW(bitmap, sizeof(bm), &bm);
    ::DeleteObject(bitmap);
    SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(bm.bmWidth / width), reinterpret_cast<LPARAM>(&add));
    return SetButtons(ids.data(), count);
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    while (SendMessage(TB_BUTTONCOUNT, 0, 0) > 0) SendMessage(TB_DELETEBUTTON, 0, 0);
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(ids ? ids[i] : 0);
        if (button.idCommand == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = 8;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = image++;
        }
        if (!SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button))) return FALSE;
    }
    return TRUE;
}

int CToolBar::GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0)); }

int CToolBar::CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id, 0)); }

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return button.fsStyle & TBSTYLE_SEP ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_STATE | TBIF_BYINDEX;
    info.fsStyle = LOBYTE(LOWORD(style));
    info.fsState = LOBYTE(HIWORD(style));
    SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    int count = GetButtonCount();
    int length = 0, thickness = horz ? m_sizeButton.cy : m_sizeButton.cx;
    for (int i = 0; i < count; ++i) {
        CRect item;
        GetItemRect(i, &item);
        length += horz ? item.Width() : item.Height();
    }
    CRect inside;
    CalcInsideRect(inside, horz);
    CSize size = horz ? CSize(length - inside.Width(), thickness - inside.Height())
                      : CSize(thickness - inside.Width(), length - inside.Height());
    if (stretch && horz) size.cx = 32767;
    if (stretch && !horz) size.cy = 32767;
    return size;
}

CSize CToolBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & (LM_HORZ | LM_HORZDOCK)) != 0);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetButtonCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID != ID_SEPARATOR) state.DoUpdate(target, disableIfNoHandler);
    }
    UpdateDialogControls(target, disableIfNoHandler);
}

// ---------------------------------------------------------------------------
// CStatusBar

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    AfxInitCommonControls();
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    return CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.clear();
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
    for (int i = 0; i < count; ++i) {
        Pane pane{ids ? ids[i] : 0, i == 0 ? static_cast<UINT>(SBPS_STRETCH) : SBPS_NORMAL, 0, CString()};
        if (pane.id != ID_SEPARATOR) pane.text.LoadString(pane.id);
        pane.width = dc.GetTextExtent(pane.text).cx + 10;
        m_panes.push_back(pane);
    }
    ::SelectObject(dc, old);
    UpdateParts();
    return TRUE;
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_panes.empty()) return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& pane : m_panes)
        if (!(pane.style & SBPS_STRETCH)) fixed += pane.width;
    std::vector<int> rights;
    int x = 0;
    for (const Pane& pane : m_panes) {
        x += (pane.style & SBPS_STRETCH) ? std::max(0, static_cast<int>(client.Width()) - fixed) : pane.width;
        rights.push_back(x);
    }
    SendMessage(SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    for (size_t i = 0; i < m_panes.size(); ++i) {
        const Pane& pane = m_panes[i];
        const wchar_t* text = (pane.style & SBPS_DISABLED) ? L"" : static_cast<const wchar_t*>(pane.text);
        SendMessage(SB_SETTEXTW, i | (pane.style & (SBT_NOBORDERS | SBT_POPOUT)), reinterpret_cast<LPARAM>(text));
    }
}

BOOL CStatusBar::SetPaneText(int index, const wchar_t* text, BOOL update)
{
    if (index < 0 || index >= GetPaneCount()) return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.text = text ? text : L"";
    if (update) {
        const wchar_t* shown = (pane.style & SBPS_DISABLED) ? L"" : static_cast<const wchar_t*>(pane.text);
        SendMessage(SB_SETTEXTW, static_cast<WPARAM>(index) | (pane.style & (SBT_NOBORDERS | SBT_POPOUT)),
                    reinterpret_cast<LPARAM>(shown));
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || index >= GetPaneCount()) return CString();
    return m_panes[static_cast<size_t>(index)].text;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= GetPaneCount()) return;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = width;
    UpdateParts();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane& pane = m_panes.at(static_cast<size_t>(index));
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id) return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetPaneCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    SendMessage(SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL)
{
    TEXTMETRICW tm{};
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
    dc.GetTextMetrics(&tm);
    ::SelectObject(dc, old);
    int width = 0;
    for (const Pane& pane : m_panes) width += pane.width;
    return CSize(stretch ? 32767 : width, tm.tmHeight + 8);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].id;
        if (state.m_nID != ID_SEPARATOR) state.DoUpdate(target, disableIfNoHandler);
    }
}

void CStatusBar::OnSize(UINT, int, int)
{
    Default();
    UpdateParts();
}
