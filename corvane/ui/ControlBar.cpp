#include "corvane/ui/ControlBar.h"
#include "corvane/CorvaneResource.h"
#include "corvane/ui/BarSizing.h"
#include <algorithm>

namespace {


// Routes the command updates of a bar's child controls: the bar's own
// update handlers first (the two buttons always answer there), then the
// frame's, so that the frame cannot grey a control the bar looks after.
class BarThenTarget : public CCmdTarget
{
public:
    BarThenTarget(CCmdTarget* bar, CCmdTarget* target) : m_bar(bar), m_target(target) {}
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        if (m_bar->CCmdTarget::OnCmdMsg(id, code, extra, info)) return TRUE;
        return m_target && m_target->OnCmdMsg(id, code, extra, info);
    }

private:
    CCmdTarget* m_bar;
    CCmdTarget* m_target;
};

} // namespace

IMPLEMENT_DYNAMIC(tkxControlBar, CControlBar)

BEGIN_MESSAGE_MAP(tkxControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETCURSOR()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(tkxControlBar::ID_BUTTON_CLOSE, OnButtonClose)
    ON_COMMAND(tkxControlBar::ID_BUTTON_TOGGLE, OnButtonMinimize)
    ON_UPDATE_COMMAND_UI(tkxControlBar::ID_BUTTON_CLOSE, OnUpdateButtonClose)
    ON_UPDATE_COMMAND_UI(tkxControlBar::ID_BUTTON_TOGGLE, OnUpdateButtonMinimize)
END_MESSAGE_MAP()

tkxControlBar::tkxControlBar()
    : m_bDblClkToggle(1), m_bInFrameChange(0), m_bTracking(0), m_bShowGripper(1), m_bShowButtons(1),
      m_iEdgeWidth(5), m_nMenuID(0), m_nDockBarID(0), m_szMin(32, 32), m_szHorz(200, 200), m_szVert(200, 200),
      m_szFloat(200, 200), m_pImageList(nullptr), m_szLastWindow(0, 0)
{
}

tkxControlBar::~tkxControlBar() = default;

BOOL tkxControlBar::Create(CWnd* parent, UINT id, const wchar_t* title, CSize size, DWORD style)
{
    m_dwStyle = style & CBRS_ALL;
    const wchar_t* windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    m_szHorz = m_szVert = m_szFloat = size;
    return CWnd::Create(windowClass, title, style & (WS_CHILD | WS_VISIBLE), CRect(0, 0, 0, 0), parent, id);
}

BOOL tkxControlBar::IsHorzDocked() const
{
    return m_nDockBarID == AFX_IDW_DOCKBAR_TOP || m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM;
}

BOOL tkxControlBar::IsVertDocked() const
{
    return m_nDockBarID == AFX_IDW_DOCKBAR_LEFT || m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT;
}

BOOL tkxControlBar::IsFloating() const { return !IsHorzDocked() && !IsVertDocked(); }

void tkxControlBar::ShowFrameStuff(int gripper, int buttons)
{
    m_bShowGripper = gripper;
    m_bShowButtons = buttons;
}

CImageList* tkxControlBar::SetBtnImageList(CImageList* list)
{
    CImageList* previous = m_pImageList;
    m_pImageList = list;
    return previous;
}

// ---------------------------------------------------------------------------
// Creation

int tkxControlBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CControlBar::OnCreate(cs) == -1) return -1;
    if (!m_bShowButtons) return 0;

    const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_ICON | BS_OWNERDRAW;
    if (!m_btnClose.Create(L"", buttonStyle, CRect(0, 0, 0, 0), this, ID_BUTTON_CLOSE)) return -1;
    if (!m_btnToggle.Create(L"", buttonStyle, CRect(0, 0, 0, 0), this, ID_BUTTON_TOGGLE)) return -1;
    m_btnClose.SetFlat(TRUE);
    m_btnToggle.SetFlat(TRUE);
    m_btnClose.SetIcon(IDI_BAR_CLOSE, 0);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    m_ToolTip.AddTool(&m_btnClose, L"隐含窗口");
    m_ToolTip.AddTool(&m_btnToggle, L"拖动窗口");
    return 0;
}

// ---------------------------------------------------------------------------
// Position, frame and painting

void tkxControlBar::OnWindowPosChanged(WINDOWPOS* wp)
{
    Default();
    int previousDock = m_nDockBarID;
    m_nDockBarID = ::GetDlgCtrlID(::GetParent(m_hWnd));
    CRect window;
    GetWindowRect(&window);
    bool resized = !(wp->flags & SWP_NOSIZE) && window.Size() != m_szLastWindow;
    m_szLastWindow = window.Size();

    if (!m_bInFrameChange) {
        // The non-client area depends on where the bar is docked: have it
        // recalculated now.
        m_bInFrameChange = 1;
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_bInFrameChange = 0;
    }

    // A bar that changed its size or its dock bar has the frame lay out its
    // bars again, once, in the next idle pass (never from painting).
    if (resized || previousDock != m_nDockBarID) {
        if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
    }

    if (m_bShowButtons && m_btnClose.m_hWnd && m_btnToggle.m_hWnd) {
        if (IsFloating()) {
            m_btnClose.ShowWindow(SW_HIDE);
            m_btnToggle.ShowWindow(SW_HIDE);
            return;
        }
        m_btnClose.ShowWindow(SW_SHOW);
        m_btnToggle.ShowWindow(SW_SHOW);
        CRect button = GetButtonRect();
        m_btnClose.MoveWindow(&button);
        if (IsHorzDocked()) {
            button.OffsetRect(0, 14);
            if (previousDock != m_nDockBarID) m_btnToggle.SetIcon(IDI_BAR_HORZ_HOT, IDI_BAR_HORZ);
        } else {
            button.OffsetRect(14, 0);
            if (previousDock != m_nDockBarID) m_btnToggle.SetIcon(IDI_BAR_VERT_HOT, IDI_BAR_VERT);
        }
        m_btnToggle.MoveWindow(&button);
    }
    Invalidate(TRUE);
}

CRect tkxControlBar::GetButtonRect() const
{
    if (IsHorzDocked()) return CRect(2, 3, 14, 15);
    CRect client;
    GetClientRect(&client);
    return CRect(client.Width() - 31, 3, client.Width() - 19, 15);
}

CRect tkxControlBar::GetGripperRect() const
{
    CRect client;
    GetClientRect(&client);
    const int width = client.Width(), height = client.Height();
    if (IsHorzDocked()) return CRect(4, m_bShowButtons ? 33 : 4, 7, height - 4);
    return CRect(4, 6, m_bShowButtons ? width - 34 : width - 6, 9);
}

void tkxControlBar::DrawGripper(CDC* dc)
{
    if (IsFloating() || !m_bShowGripper) return;
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    CRect gripper = GetGripperRect();
    dc->Draw3dRect(&gripper, light, shadow);
    if (IsHorzDocked())
        gripper.OffsetRect(4, 0);
    else
        gripper.OffsetRect(0, 4);
    dc->Draw3dRect(&gripper, light, shadow);
}

void tkxControlBar::OnPaint()
{
    CPaintDC dc(this);
    DrawGripper(&dc);
}

void tkxControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect window(params->rgrc[0]);
    m_rcBorder = CRect(0, 0, window.Width(), window.Height());
    m_rcBorder.DeflateRect(1, 1);

    const int edge = m_iEdgeWidth;
    DWORD style = m_dwStyle | CBRS_BORDER_ANY;
    CRect client = window;
    switch (m_nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        style &= ~CBRS_BORDER_BOTTOM;
        client.DeflateRect(2, 2, 2, edge + 2);
        m_rcBorder.top = m_rcBorder.bottom - edge;
        break;
    case AFX_IDW_DOCKBAR_BOTTOM:
        style &= ~CBRS_BORDER_TOP;
        client.DeflateRect(2, edge + 2, 2, 2);
        m_rcBorder.bottom = m_rcBorder.top + edge;
        break;
    case AFX_IDW_DOCKBAR_LEFT:
        style &= ~CBRS_BORDER_RIGHT;
        client.DeflateRect(2, 2, edge + 2, 6);
        m_rcBorder.left = m_rcBorder.right - edge;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
        style &= ~CBRS_BORDER_LEFT;
        client.DeflateRect(edge + 2, 2, 2, 6);
        m_rcBorder.right = m_rcBorder.left + edge;
        break;
    default:
        m_rcBorder.SetRectEmpty();
        break;
    }
    // A window too small for the insets gets an empty client area.
    client.right = std::max(client.left, client.right);
    client.bottom = std::max(client.top, client.bottom);
    params->rgrc[0] = client;
    SetBarStyle(style);
}

void tkxControlBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);

    CRect inside = window;
    DrawBorders(&dc, inside);
    dc.IntersectClipRect(&inside);
    ::FillRect(dc, &inside, ::GetSysColorBrush(COLOR_BTNFACE));
    if (!m_rcBorder.IsRectEmpty())
        dc.Draw3dRect(&m_rcBorder, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

LRESULT tkxControlBar::OnNcHitTest(CPoint point)
{
    if (IsFloating()) return Default();
    CRect window;
    GetWindowRect(&window);
    point.Offset(-window.left, -window.top);
    return m_rcBorder.PtInRect(point) ? HTSIZE : HTCLIENT;
}

BOOL tkxControlBar::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    if (hitTest == HTSIZE && !m_bTracking) {
        ::SetCursor(::LoadCursorW(nullptr, IsHorzDocked() ? IDC_SIZENS : IDC_SIZEWE));
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

// ---------------------------------------------------------------------------
// Dragging the sizing edge

void tkxControlBar::OnNcLButtonDown(UINT hitTest, CPoint)
{
    if (m_bTracking) return;
    if (hitTest == HTSIZE && !IsFloating())
        StartTracking();
    else
        Default();
}

BarSizing::Tracker tkxControlBar::Sizing() { return BarSizing::Tracker(this, m_bTracking, m_rcTracker, m_ptOld); }

void tkxControlBar::StartTracking() { Sizing().Start(m_rcBorder, IsHorzDocked() != FALSE); }

void tkxControlBar::OnInvertTracker(const CRect& rect)
{
    BarSizing::InvertTracker(this, GetDockingFrame(), rect);
}

CPoint& tkxControlBar::ClientToWnd(CPoint& point) const
{
    point.x += 2;
    point.y += 2;
    if (m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM) point.y += m_iEdgeWidth;
    if (m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT) point.x += m_iEdgeWidth;
    return point;
}

void tkxControlBar::OnMouseMove(UINT, CPoint point)
{
    if (!m_bTracking || IsFloating()) {
        Default();
        return;
    }
    Sizing().Follow(ClientToWnd(point), IsHorzDocked() != FALSE);
}

void tkxControlBar::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bTracking) {
        Default();
        return;
    }
    ClientToWnd(point);
    StopTracking(TRUE);
}

void tkxControlBar::OnCaptureChanged(CWnd* wnd)
{
    Sizing().CaptureChanged(wnd);
    Default();
}

void tkxControlBar::StopTracking(BOOL accept)
{
    CFrameWnd* frame =
        Sizing().Stop(accept != FALSE, m_nDockBarID, IsHorzDocked() != FALSE, m_szMin, m_szHorz, m_szVert);
    if (frame) frame->DelayRecalcLayout(TRUE);
}

// ---------------------------------------------------------------------------
// Layout

CSize tkxControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    return BarSizing::Fixed(GetDockingFrame(), stretch, horz, m_szHorz, m_szVert);
}

CSize tkxControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (length == -1) {
            if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
        }
        return CControlBar::CalcDynamicLayout(length, mode);
    }
    return BarSizing::Floating(length, mode, m_szMin, m_szFloat);
}

void tkxControlBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    BarThenTarget route(this, target);
    UpdateDialogControls(&route, disableIfNoHandler);
}

// ---------------------------------------------------------------------------
// Clicks, buttons, tool tips, context menu

void tkxControlBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_pDockBar) return; // a bar in a dock bar moves only by its buttons
    CControlBar::OnLButtonDown(flags, point);
}

void tkxControlBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (!m_bDblClkToggle) return;
    if (m_pDockBar && m_pDockContext) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CControlBar::OnLButtonDblClk(flags, point);
}

void tkxControlBar::OnButtonClose()
{
    if (CFrameWnd* frame = GetDockingFrame()) frame->ShowControlBar(this, FALSE, FALSE);
}

void tkxControlBar::OnButtonMinimize()
{
    if (m_pDockContext) m_pDockContext->ToggleDocking();
}

void tkxControlBar::OnUpdateButtonClose(CCmdUI* ui) { ui->Enable(TRUE); }

void tkxControlBar::OnUpdateButtonMinimize(CCmdUI* ui) { ui->Enable(TRUE); }

BOOL tkxControlBar::PreTranslateMessage(MSG* msg)
{
    if (m_bShowButtons && m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CControlBar::PreTranslateMessage(msg);
}

void tkxControlBar::OnContextMenu(CWnd*, CPoint point)
{
    if (!m_nMenuID) return;
    if (point.x == -1 && point.y == -1) {
        CRect client;
        GetClientRect(&client);
        ClientToScreen(&client);
        point = client.TopLeft();
        point.Offset(5, 5);
    }
    // The menu comes from the library first, then the program's modules.
    const wchar_t* name = MAKEINTRESOURCEW(m_nMenuID);
    HINSTANCE module = AfxFindResourceHandle(name, RT_MENU);
    HMENU menu = module ? ::LoadMenuW(module, name) : nullptr;
    if (!menu) return;
    HWND owner = m_hWnd;
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    if (HMENU popup = ::GetSubMenu(menu, 0))
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr);
    ::DestroyMenu(menu);
}
