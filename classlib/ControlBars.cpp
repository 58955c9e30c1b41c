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
    ShowFlyBy(0);
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
    case WM_SETTEXT: {
        LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        // A floating bar's title is its mini frame's caption.
        if (IsFloating())
            if (CWnd* mini = m_pDockBar->GetParent()) mini->SetWindowText(reinterpret_cast<const wchar_t*>(lParam));
        return result;
    }
    case WM_MOUSEMOVE: {
        LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (m_dwStyle & CBRS_FLYBY) ShowFlyBy(CommandAtPoint(CPoint(static_cast<short>(LOWORD(lParam)),
                                                                    static_cast<short>(HIWORD(lParam)))));
        return result;
    }
    case WM_MOUSELEAVE:
        ShowFlyBy(0);
        return CWnd::WindowProc(message, wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

UINT CControlBar::CommandAtPoint(CPoint) const { return 0; }

void CControlBar::ShowFlyBy(UINT id)
{
    if (id == m_nFlyByID) return;
    m_nFlyByID = id;
    if (id) {
        // Told when the mouse leaves (the system's controls track it too; the
        // one request serves both).
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
    CFrameWnd* frame = GetDockingFrame();
    if (frame && frame->m_hWnd) frame->SendMessage(WM_SETMESSAGESTRING, id ? id : AFX_IDS_IDLEMESSAGE);
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
    for (const Docked& d : m_bars)
        if (d.bar->GetStyle() & WS_VISIBLE) ++n;
    return n;
}

int CDockBar::RowCount() const { return m_bars.empty() ? 0 : m_bars.back().row + 1; }

int CDockBar::VisibleInRow(int row) const
{
    int n = 0;
    for (const Docked& d : m_bars)
        if (d.row == row && (d.bar->GetStyle() & WS_VISIBLE)) ++n;
    return n;
}

int CDockBar::RowThickness(int row, BOOL horz) const
{
    int thickness = 0;
    for (const Docked& d : m_bars) {
        if (d.row != row || !(d.bar->GetStyle() & WS_VISIBLE)) continue;
        CSize size = BarSize(d.bar, FALSE, horz);
        thickness = std::max<int>(thickness, horz ? size.cy : size.cx);
    }
    return thickness;
}

void CDockBar::Normalise()
{
    std::stable_sort(m_bars.begin(), m_bars.end(), [](const Docked& a, const Docked& b) {
        return a.row != b.row ? a.row < b.row : a.place < b.place;
    });
    int next = 0, last = -1;
    for (Docked& d : m_bars) {
        if (d.row != last) {
            last = d.row;
            ++next;
        }
        d.row = next - 1;
    }
}

void CDockBar::DockControlBar(CControlBar* bar, LPCRECT rect)
{
    CDockBar* old = bar->m_pDockBar;
    if (old && old != this) old->RemoveControlBar(bar);
    m_bars.erase(std::remove_if(m_bars.begin(), m_bars.end(), [bar](const Docked& d) { return d.bar == bar; }),
                 m_bars.end());
    Normalise();
    BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    Docked slot{bar, RowCount(), 0};
    if (rect && !m_bFloating && m_hWnd) {
        CRect wanted(*rect);
        ScreenToClient(&wanted);
        int across = horz ? wanted.top : wanted.left;
        slot.place = std::max(0, static_cast<int>(horz ? wanted.left : wanted.top));
        if (across < 0) {
            // Before the first row: every row moves one on.
            for (Docked& d : m_bars) ++d.row;
            slot.row = 0;
        } else {
            int edge = 0;
            for (int row = 0; row < RowCount(); ++row) {
                int thickness = RowThickness(row, horz);
                if (across >= edge && across < edge + thickness) {
                    slot.row = row;
                    break;
                }
                edge += thickness;
            }
        }
    }
    m_bars.push_back(slot);
    Normalise();
    bar->m_pDockBar = this;
    DWORD style = (bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY);
    if (m_bFloating) style |= CBRS_FLOATING;
    bar->m_dwStyle = style;
    if (::GetParent(bar->m_hWnd) != m_hWnd) ::SetParent(bar->m_hWnd, m_hWnd);
    if (!m_bFloating && bar->m_pDockContext) bar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
    if (m_bFloating) {
        // The mini frame's caption is the bar's title.
        if (CWnd* mini = GetParent()) mini->SetWindowText(bar->GetWindowText());
    }
    if (old && old != this && old->m_bFloating && old->m_bars.empty()) {
        // The mini frame that held the bar has nothing left to show.
        if (CWnd* mini = old->GetParent()) mini->DestroyWindow();
    }
    LayoutBars();
}

void CDockBar::RemoveControlBar(CControlBar* bar)
{
    m_bars.erase(std::remove_if(m_bars.begin(), m_bars.end(), [bar](const Docked& d) { return d.bar == bar; }),
                 m_bars.end());
    Normalise();
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
    for (int row = 0; row < RowCount(); ++row) {
        int thickness = 0, length = 0;
        for (const Docked& d : m_bars) {
            if (d.row != row || !(d.bar->GetStyle() & WS_VISIBLE)) continue;
            CSize size = BarSize(d.bar, FALSE, horz);
            int along = horz ? size.cx : size.cy;
            length = VisibleInRow(row) > 1 ? std::max(length, d.place) + along : std::max(length, along);
            thickness = std::max<int>(thickness, horz ? size.cy : size.cx);
        }
        if (horz) {
            total.cy += thickness;
            total.cx = std::max<LONG>(total.cx, length);
        } else {
            total.cx += thickness;
            total.cy = std::max<LONG>(total.cy, length);
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
    int room = horz ? client.Width() : client.Height();
    int edge = 0;
    for (int row = 0; row < RowCount(); ++row) {
        bool shared = VisibleInRow(row) > 1;
        int along = 0, rowThickness = 0;
        for (const Docked& d : m_bars) {
            if (d.row != row || !(d.bar->GetStyle() & WS_VISIBLE)) continue;
            CRect place;
            if (m_bFloating) {
                place = client;
            } else {
                // Alone in its row a bar stretches along the edge; sharing
                // one, it keeps its length at its place (after the bar before).
                CSize size = BarSize(d.bar, !shared, horz);
                int start = shared ? std::max(along, d.place) : 0;
                int length = std::max(0, std::min<int>(horz ? size.cx : size.cy, room - start));
                int thickness = horz ? size.cy : size.cx;
                place = horz ? CRect(start, edge, start + length, edge + thickness)
                             : CRect(edge, start, edge + thickness, start + length);
                along = start + length;
                rowThickness = std::max(rowThickness, thickness);
            }
            CRect now;
            d.bar->GetWindowRect(&now);
            ScreenToClient(&now);
            UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
            if (now == place) flags |= SWP_NOMOVE | SWP_NOSIZE;
            d.bar->SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(), flags);
        }
        edge += rowThickness;
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

UINT CDockContext::DockBarAt(CPoint point) const
{
    CFrameWnd* site = m_pBar->GetDockingFrame();
    if (!site) return 0;
    CRect client;
    site->GetClientRect(&client);
    site->ClientToScreen(&client);
    const int reach = 32;
    CRect reachable(client);
    reachable.InflateRect(reach, reach);
    if (!reachable.PtInRect(point)) return 0;
    struct Edge {
        DWORD align;
        UINT id;
        bool hit;
    } edges[] = {{CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP, std::abs(point.y - client.top) < reach},
                 {CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM, std::abs(point.y - client.bottom) < reach},
                 {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT, std::abs(point.x - client.left) < reach},
                 {CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT, std::abs(point.x - client.right) < reach}};
    for (const Edge& edge : edges)
        if (edge.hit && (m_pBar->m_dwDockStyle & edge.align) && site->GetDockBar(edge.id)) return edge.id;
    return 0;
}

void CDockContext::DrawTracker(const CRect& rect, BOOL floating)
{
    HDC dc = ::GetDCEx(nullptr, nullptr, DCX_WINDOW | DCX_CACHE);
    if (!dc) return;
    int t = floating ? 3 : 1;
    HGDIOBJ old = ::SelectObject(dc, CDC::GetHalftoneBrush()->m_hObject);
    ::PatBlt(dc, rect.left, rect.top, rect.Width(), t, PATINVERT);
    ::PatBlt(dc, rect.left, rect.bottom - t, rect.Width(), t, PATINVERT);
    ::PatBlt(dc, rect.left, rect.top + t, t, rect.Height() - 2 * t, PATINVERT);
    ::PatBlt(dc, rect.right - t, rect.top + t, t, rect.Height() - 2 * t, PATINVERT);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

void CDockContext::MoveTracker(const CRect& rect, BOOL floating)
{
    if (m_bTrackerShown && rect == m_rectTracker && floating == m_bTrackerFloating) return;
    HideTracker();
    m_rectTracker = rect;
    m_bTrackerFloating = floating;
    m_bTrackerShown = TRUE;
    DrawTracker(m_rectTracker, m_bTrackerFloating);
}

void CDockContext::HideTracker()
{
    if (!m_bTrackerShown) return;
    m_bTrackerShown = FALSE;
    DrawTracker(m_rectTracker, m_bTrackerFloating);
}

void CDockContext::StartDrag(CPoint start)
{
    CFrameWnd* site = m_pBar->GetDockingFrame();
    if (!site) return;
    HWND bar = m_pBar->m_hWnd;
    CRect barRect;
    // A floating bar moves with its mini frame.
    CWnd* mini = m_pBar->IsFloating() && m_pBar->m_pDockBar ? m_pBar->m_pDockBar->GetParent() : nullptr;
    ::GetWindowRect(mini ? mini->m_hWnd : bar, &barRect);
    ::SetCapture(bar);
    CPoint last = start;
    bool dropped = false, moved = false, quit = false;
    int quitCode = 0;
    MSG msg;
    while (::GetCapture() == bar) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            ::ClientToScreen(msg.hwnd, &p);
            last = p;
            if (std::abs(last.x - start.x) > 4 || std::abs(last.y - start.y) > 4) moved = true;
            if (moved) {
                CRect track(barRect);
                track.OffsetRect(last - start);
                MoveTracker(track, DockBarAt(last) == 0);
            }
            if (msg.message == WM_LBUTTONUP) {
                dropped = true;
                break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
        ::DispatchMessageW(&msg);
    }
    CRect track = m_rectTracker;
    bool tracked = m_bTrackerShown != FALSE;
    HideTracker();
    if (::GetCapture() == bar) ::ReleaseCapture();
    if (quit) ::PostQuitMessage(quitCode); // the program's loop ends as it was asked to
    if (!dropped || !moved || !tracked) return;
    if (UINT dockBar = DockBarAt(last)) {
        site->DockControlBar(m_pBar, dockBar, &track);
        return;
    }
    site->FloatControlBar(m_pBar, track.TopLeft(), m_pBar->m_dwStyle & CBRS_ALIGN_ANY);
}

// ---------------------------------------------------------------------------
// CMiniDockFrameWnd

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCLBUTTONDOWN()
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

CControlBar* CMiniDockFrameWnd::DraggableBar() const
{
    if (m_wndDockBar.GetDockedCount() == 0) return nullptr;
    CControlBar* bar = m_wndDockBar.GetDockedBar(0);
    return bar->m_pDockContext && bar->GetDockingFrame() ? bar : nullptr;
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hitTest, CPoint point)
{
    CControlBar* bar = hitTest == HTCAPTION ? DraggableBar() : nullptr;
    if (!bar) {
        Default();
        return;
    }
    // Docking the bar destroys this frame: nothing of it is touched after.
    bar->m_pDockContext->ToggleDocking();
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    CControlBar* bar = hitTest == HTCAPTION ? DraggableBar() : nullptr;
    if (!bar) {
        Default();
        return;
    }
    // The frame comes forward as a press on any caption brings it; then the
    // bar follows the mouse (a drop at a frame edge destroys this frame).
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bar->m_pDockContext->StartDrag(point);
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
