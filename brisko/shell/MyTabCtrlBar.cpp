#include "brisko/shell/MyTabCtrlBar.h"
#include "brisko/shell/Messages.h"

IMPLEMENT_DYNAMIC(CMyTabCtrlBar, tkxControlBar)

BEGIN_MESSAGE_MAP(CMyTabCtrlBar, tkxControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEWHEEL()
    ON_NOTIFY(TCN_SELCHANGE, CMyTabCtrlBar::IDC_TABCTRL, OnTabSelChange)
END_MESSAGE_MAP()

CMyTabCtrlBar::CMyTabCtrlBar() : m_ToolTip(nullptr), m_nActiveTab(-1), m_pActiveView(nullptr), m_views(10) {}

CMyTabCtrlBar::~CMyTabCtrlBar()
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;) delete m_views.GetNext(pos);
    m_views.RemoveAll();
}

int CMyTabCtrlBar::OnCreate(LPCREATESTRUCT cs)
{
    if (tkxControlBar::OnCreate(cs) == -1) return -1;
    if (!m_tabctrl.Create(WS_CHILD | WS_VISIBLE | TCS_BOTTOM | TCS_TOOLTIPS, CRect(0, 0, 0, 0), this, IDC_TABCTRL))
        return -1;
    m_tabctrl.SetFont(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    // The tab control owns its tool tip; the bar keeps an object of its own
    // bound to it (a temporary one would not outlive the idle pass).
    HWND tip = reinterpret_cast<HWND>(m_tabctrl.SendMessage(TCM_GETTOOLTIPS, 0, 0));
    if (tip && m_wndToolTip.Attach(tip)) m_ToolTip = &m_wndToolTip;
    return 0;
}

void CMyTabCtrlBar::OnDestroy()
{
    if (m_wndToolTip.m_hWnd) m_wndToolTip.Detach();
    m_ToolTip = nullptr;
    tkxControlBar::OnDestroy();
}

CWnd* CMyTabCtrlBar::GetViewAt(int index) const
{
    int i = 0;
    for (POSITION pos = m_views.GetHeadPosition(); pos; ++i) {
        TCB_ITEM* item = m_views.GetNext(pos);
        if (i == index) return item->pWnd;
    }
    return nullptr;
}

BOOL CMyTabCtrlBar::AddView(const wchar_t* name, CRuntimeClass* cls, CCreateContext* context)
{
    CWnd* view = nullptr;
    try {
        view = static_cast<CWnd*>(cls->CreateObject());
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (!view) return FALSE;
    CCreateContext empty;
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, 0,
                      context ? context : &empty)) {
        delete view;
        return FALSE;
    }
    m_pActiveView = view;

    auto* item = new TCB_ITEM;
    item->pWnd = view;
    lstrcpynW(item->szLabel, name ? name : L"", 32);
    m_views.AddTail(item);
    const int count = GetTabCount();
    m_nActiveTab = count - 1;

    if (m_ToolTip && m_ToolTip->GetSafeHwnd()) {
        CRect empty(0, 0, 0, 0);
        m_ToolTip->AddTool(&m_tabctrl, item->szLabel, count == 1 ? nullptr : &empty,
                           static_cast<UINT_PTR>(m_nActiveTab));
    }
    if (count > 1) {
        view->EnableWindow(FALSE);
        view->ShowWindow(SW_HIDE);
    }
    m_tabctrl.InsertItem(count - 1, item->szLabel, count - 1);

    CRect window;
    GetWindowRect(&window);
    LayoutPanes(window.Width(), window.Height());
    return TRUE;
}

void CMyTabCtrlBar::SetActiveView(int index)
{
    if (index == -1 || index >= GetTabCount() || index == m_nActiveTab || index < 0) return;
    // The previously active pane goes, and so does any other pane still
    // shown (the first pane stays shown while the last one added counts as
    // active), so that only the chosen pane is ever visible.
    CWnd* view = GetViewAt(index);
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        CWnd* other = m_views.GetNext(pos)->pWnd;
        if (other == view || !other->GetSafeHwnd()) continue;
        if (other == m_pActiveView || (other->GetStyle() & WS_VISIBLE)) {
            other->EnableWindow(FALSE);
            other->ShowWindow(SW_HIDE);
        }
    }
    view->EnableWindow(TRUE);
    view->ShowWindow(SW_SHOW);
    view->SetFocus();
    m_pActiveView = view;
    m_nActiveTab = index;
    m_tabctrl.SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    RefreshTabItems();
    const UINT redraw = RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE;
    view->RedrawWindow(nullptr, nullptr, redraw);
    RedrawWindow(nullptr, nullptr, redraw);
    if (CWnd* main = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr)
        ::SendMessageW(main->GetSafeHwnd(), WM_CLOSEREFERENCEPAGE, 0, 0);
}

void CMyTabCtrlBar::RefreshTabItems()
{
    const int count = GetTabCount();
    int i = 0;
    for (POSITION pos = m_views.GetHeadPosition(); pos; ++i) {
        TCB_ITEM* item = m_views.GetNext(pos);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT | TCIF_IMAGE;
        tab.pszText = item->szLabel;
        tab.iImage = i == m_nActiveTab ? i + count : i;
        m_tabctrl.SendMessage(TCM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
}

CObject* CMyTabCtrlBar::GetView(CRuntimeClass* cls)
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        TCB_ITEM* item = m_views.GetNext(pos);
        if (item->pWnd && item->pWnd->IsKindOf(cls)) return item->pWnd;
    }
    return nullptr;
}

CImageList* CMyTabCtrlBar::SetTabImageList(CImageList* list) { return m_tabctrl.SetImageList(list); }

void CMyTabCtrlBar::OnTabSelChange(NMHDR*, LRESULT* result)
{
    SetActiveView(m_tabctrl.GetCurSel());
    Invalidate();
    *result = 0;
}

// ---------------------------------------------------------------------------
// Layout

void CMyTabCtrlBar::OnWindowPosChanged(WINDOWPOS* wp)
{
    CRect window;
    GetWindowRect(&window);
    LayoutPanes(window.Width(), window.Height());
    tkxControlBar::OnWindowPosChanged(wp);
}

void CMyTabCtrlBar::LayoutPanes(int cx, int cy)
{
    if (!m_tabctrl.GetSafeHwnd()) return;
    // The tab control, then the panes over its client part, by where the
    // bar sits.
    if (IsFloating()) {
        m_rcTab = CRect(CPoint(5, 5), CSize(cx - 10, cy - 7));
        m_rcPane = CRect(CPoint(8, 8), CSize(cx - 16, cy - 34));
    } else if (IsHorzDocked()) {
        m_rcTab = CRect(CPoint(17, 5), CSize(cx - 25, cy - 17));
        m_rcPane = CRect(CPoint(20, 8), CSize(cx - 31, cy - 44));
    } else {
        m_rcTab = CRect(CPoint(5, 20), CSize(cx - 17, cy - 31));
        m_rcPane = CRect(CPoint(8, 23), CSize(cx - 23, cy - 58));
    }
    m_tabctrl.MoveWindow(&m_rcTab);
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        TCB_ITEM* item = m_views.GetNext(pos);
        if (item->pWnd && item->pWnd->GetSafeHwnd()) item->pWnd->MoveWindow(&m_rcPane);
    }
}

BOOL CMyTabCtrlBar::OnEraseBkgnd(CDC*)
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        TCB_ITEM* item = m_views.GetNext(pos);
        if (item->pWnd && item->pWnd->GetSafeHwnd()) item->pWnd->Invalidate(TRUE);
    }
    return static_cast<BOOL>(Default());
}

BOOL CMyTabCtrlBar::OnMouseWheel(UINT, short, CPoint point)
{
    if (m_pActiveView && m_pActiveView->GetSafeHwnd()) {
        CRect rect;
        m_pActiveView->GetWindowRect(&rect);
        if (rect.PtInRect(point)) m_pActiveView->SetFocus();
    }
    return static_cast<BOOL>(Default());
}
