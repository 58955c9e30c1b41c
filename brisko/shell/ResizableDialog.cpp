#include "brisko/shell/ResizableDialog.h"
#include <commctrl.h>
#include <vector>

namespace {

const wchar_t kGripProperty[] = L"ResizableGrip";

CString WindowClass(HWND wnd)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    return CString(name);
}

DWORD WindowStyle(HWND wnd) { return static_cast<DWORD>(::GetWindowLongPtrW(wnd, GWL_STYLE)); }

bool IsGroupBox(HWND wnd)
{
    return WindowClass(wnd).CompareNoCase(L"Button") == 0 && (WindowStyle(wnd) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The child's rectangle in its parent's client coordinates.
CRect ChildRect(HWND parent, HWND child)
{
    CRect rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Whether the group box lies within another group box of its dialog.
bool InsideAnotherGroupBox(HWND group)
{
    CRect rect;
    ::GetWindowRect(group, &rect);
    const HWND parent = ::GetParent(group);
    for (HWND other = ::GetWindow(parent, GW_CHILD); other; other = ::GetWindow(other, GW_HWNDNEXT)) {
        if (other == group || !IsGroupBox(other)) continue;
        CRect outer;
        ::GetWindowRect(other, &outer);
        if (outer.left <= rect.left && outer.top <= rect.top && outer.right >= rect.right && outer.bottom >= rect.bottom)
            return true;
    }
    return false;
}

// The highest first visible column of a window's horizontal scroll bar when
// its page is `page` wide.
int ScrollLimit(const SCROLLINFO& info, int page)
{
    return info.nMax - (page > 1 ? page - 1 : 0);
}

LRESULT CALLBACK GripProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto old = reinterpret_cast<WNDPROC>(::GetPropW(wnd, kGripProperty));
    if (!old) return ::DefWindowProcW(wnd, message, wParam, lParam);
    if (message == WM_NCHITTEST) {
        const HWND parent = ::GetParent(wnd);
        const LONG_PTR exStyle = parent ? ::GetWindowLongPtrW(parent, GWL_EXSTYLE) : 0;
        return (exStyle & WS_EX_LAYOUTRTL) ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
    }
    if (message == WM_DESTROY) {
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::RemovePropW(wnd, kGripProperty);
    }
    return ::CallWindowProcW(old, wnd, message, wParam, lParam);
}

} // namespace

// --------------------------------------------------------------------- layout

CResizableLayout::~CResizableLayout() = default;

BOOL CResizableLayout::ChildCanClip(HWND child)
{
    const CString cls = WindowClass(child);
    const DWORD style = WindowStyle(child);
    if (cls.CompareNoCase(TOOLBARCLASSNAMEW) == 0) return (style & TBSTYLE_TRANSPARENT) ? FALSE : TRUE;
    if (cls.CompareNoCase(L"Button") == 0) return (style & BS_TYPEMASK) == BS_GROUPBOX ? FALSE : TRUE;
    if (cls.CompareNoCase(L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT:
        case SS_BITMAP:
        case SS_ETCHEDHORZ:
        case SS_ETCHEDVERT:
            return TRUE;
        case SS_ENHMETAFILE:
            return (style & SS_CENTERIMAGE) ? FALSE : TRUE;
        default:
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CResizableLayout::ChildNeedsRefresh(HWND child)
{
    if (WindowClass(child).CompareNoCase(L"Static") != 0) return FALSE;
    const DWORD style = WindowStyle(child);
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
        return TRUE;
    case SS_SIMPLE:
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
        return FALSE;
    default:
        return (style & SS_CENTERIMAGE) ? TRUE : FALSE;
    }
}

void CResizableLayout::GetLayoutClientRect(CRect* rect)
{
    GetLayoutWindow()->GetClientRect(rect);
}

BOOL CResizableLayout::ArrangeChildCallback(LayoutInfo&) { return FALSE; }

void CResizableLayout::AnchorChild(HWND child, int topLeftX, int topLeftY, int bottomRightX, int bottomRightY)
{
    CWnd* owner = GetLayoutWindow();
    if (!child || !::IsWindow(child) || !owner || !owner->GetSafeHwnd()) return;
    if (bottomRightX == NO_ANCHOR && bottomRightY == NO_ANCHOR) {
        bottomRightX = topLeftX;
        bottomRightY = topLeftY;
    }
    // A group box paints around the controls inside it, never over them;
    // but one within another group box (which lies above it and covers it
    // wholly) would then never paint at all.
    if (IsGroupBox(child)) {
        const DWORD style = WindowStyle(child);
        ::SetWindowLongPtrW(child, GWL_STYLE,
                            InsideAnotherGroupBox(child) ? style & ~WS_CLIPSIBLINGS : style | WS_CLIPSIBLINGS);
    }

    LayoutInfo info;
    info.hWnd = child;
    info.bListBox = WindowClass(child).CompareNoCase(L"ListBox") == 0;
    info.bNeedRefresh = ChildNeedsRefresh(child);
    info.nTopLeftX = topLeftX;
    info.nTopLeftY = topLeftY;
    info.nBottomRightX = bottomRightX;
    info.nBottomRightY = bottomRightY;

    CRect client;
    GetLayoutClientRect(&client);
    const int W = client.Width(), H = client.Height();
    const CRect rect = ChildRect(owner->GetSafeHwnd(), child);
    info.nMarginLeft = rect.left - topLeftX * W / 100;
    info.nMarginTop = rect.top - topLeftY * H / 100;
    info.nMarginRight = rect.right - bottomRightX * W / 100;
    info.nMarginBottom = rect.bottom - bottomRightY * H / 100;

    m_arrLayout.InsertAt(m_iFirstCallback, info);
    ++m_iFirstCallback;
}

void CResizableLayout::AnchorChild(UINT id, int topLeftX, int topLeftY, int bottomRightX, int bottomRightY)
{
    CWnd* owner = GetLayoutWindow();
    if (!owner || !owner->GetSafeHwnd()) return;
    AnchorChild(::GetDlgItem(owner->GetSafeHwnd(), static_cast<int>(id)), topLeftX, topLeftY, bottomRightX,
                bottomRightY);
}

void CResizableLayout::AddCallbackRecord()
{
    LayoutInfo info;
    info.bCallback = TRUE;
    m_arrLayout.Add(info);
}

void CResizableLayout::RemoveAllAnchors()
{
    m_arrLayout.RemoveAll();
    m_iFirstCallback = 0;
}

void CResizableLayout::ArrangeLayout()
{
    CWnd* owner = GetLayoutWindow();
    if (!owner || !owner->GetSafeHwnd() || m_arrLayout.GetSize() == 0) return;
    const HWND parent = owner->GetSafeHwnd();
    CRect client;
    GetLayoutClientRect(&client);
    const int W = client.Width(), H = client.Height();

    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(m_arrLayout.GetSize()));
    for (INT_PTR i = 0; i < m_arrLayout.GetSize(); ++i) {
        LayoutInfo info = m_arrLayout[i];
        if (info.bCallback) {
            // The callbacks see the children already in their places.
            if (i == m_iFirstCallback && batch) {
                ::EndDeferWindowPos(batch);
                batch = ::BeginDeferWindowPos(static_cast<int>(m_arrLayout.GetSize() - i));
            }
            if (!ArrangeChildCallback(info) || !info.hWnd) continue;
        }
        if (!::IsWindow(info.hWnd)) continue;
        const CRect now = ChildRect(parent, info.hWnd);
        const CRect next(W * info.nTopLeftX / 100 + info.nMarginLeft, H * info.nTopLeftY / 100 + info.nMarginTop,
                         W * info.nBottomRightX / 100 + info.nMarginRight,
                         H * info.nBottomRightY / 100 + info.nMarginBottom);
        if (next == now) continue;

        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (info.bListBox) {
            SCROLLINFO scroll{};
            scroll.cbSize = sizeof(scroll);
            scroll.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            if (::GetScrollInfo(info.hWnd, SB_HORZ, &scroll) &&
                ScrollLimit(scroll, static_cast<int>(scroll.nPage)) > 0 &&
                scroll.nPos > ScrollLimit(scroll, static_cast<int>(scroll.nPage) + next.Width() - now.Width()))
                flags |= SWP_NOCOPYBITS;
        } else if (info.bNeedRefresh) {
            flags |= SWP_NOCOPYBITS;
        }
        if (next.TopLeft() == now.TopLeft()) flags |= SWP_NOMOVE;
        if (next.Size() == now.Size()) flags |= SWP_NOSIZE;
        if (batch)
            batch = ::DeferWindowPos(batch, info.hWnd, nullptr, next.left, next.top, next.Width(), next.Height(), flags);
        else
            ::SetWindowPos(info.hWnd, nullptr, next.left, next.top, next.Width(), next.Height(), flags);
    }
    if (batch) ::EndDeferWindowPos(batch);
}

void CResizableLayout::GetClippingRegion(CRgn* region)
{
    CWnd* owner = GetLayoutWindow();
    CRect client;
    GetLayoutClientRect(&client);
    region->DeleteObject();
    region->CreateRectRgnIndirect(&client);
    if (!owner || !owner->GetSafeHwnd()) return;
    const HWND parent = owner->GetSafeHwnd();

    // Children that leave their ground to the dialog are added first, so a
    // group box's ground is erased; those that paint all of themselves are
    // then cut out, also inside a group box.
    for (int pass = 0; pass < 2; ++pass) {
        const bool clipping = pass == 1;
        for (INT_PTR i = 0; i < m_arrLayout.GetSize(); ++i) {
            const HWND child = m_arrLayout[i].hWnd;
            if (!child || !::IsWindow(child) || !(WindowStyle(child) & WS_VISIBLE)) continue;
            if ((ChildCanClip(child) != FALSE) != clipping) continue;
            const CRect rect = ChildRect(parent, child);
            CRgn area;
            area.CreateRectRgn(0, 0, 0, 0);
            if (::GetWindowRgn(child, area) != ERROR)
                area.OffsetRgn(rect.left, rect.top);
            else
                area.SetRectRgn(rect.left, rect.top, rect.right, rect.bottom);
            region->CombineRgn(region, &area, clipping ? RGN_DIFF : RGN_OR);
        }
    }
}

// ----------------------------------------------------------------------- grip

CResizableGrip::CResizableGrip()
    : m_nGripWidth(::GetSystemMetrics(SM_CXVSCROLL)), m_nGripHeight(::GetSystemMetrics(SM_CYHSCROLL))
{
}

CResizableGrip::~CResizableGrip() = default;

BOOL CResizableGrip::CreateGripWindow()
{
    CWnd* owner = GetLayoutWindow();
    if (!owner || !owner->GetSafeHwnd()) return FALSE;
    const CRect rect(0, 0, m_nGripWidth, m_nGripHeight);
    if (!m_wndGrip.Create(WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, rect, owner, 0)) return FALSE;
    const POINT triangle[3] = {{m_nGripWidth, 0}, {m_nGripWidth, m_nGripHeight}, {0, m_nGripHeight}};
    ::SetWindowRgn(m_wndGrip.GetSafeHwnd(), ::CreatePolygonRgn(triangle, 3, WINDING), FALSE);
    const HWND grip = m_wndGrip.GetSafeHwnd();
    ::SetPropW(grip, kGripProperty, reinterpret_cast<HANDLE>(::GetWindowLongPtrW(grip, GWLP_WNDPROC)));
    ::SetWindowLongPtrW(grip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GripProc));
    UpdateGripPos();
    ShowGrip(TRUE);
    return TRUE;
}

void CResizableGrip::ShowGrip(BOOL show)
{
    if (m_wndGrip.GetSafeHwnd()) m_wndGrip.ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CResizableGrip::UpdateGripPos()
{
    CWnd* owner = GetLayoutWindow();
    if (!owner || !owner->GetSafeHwnd() || !m_wndGrip.GetSafeHwnd()) return;
    CRect client;
    owner->GetClientRect(&client);
    ::SetWindowPos(m_wndGrip.GetSafeHwnd(), HWND_BOTTOM, client.right - m_nGripWidth, client.bottom - m_nGripHeight,
                   0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    m_wndGrip.EnableWindow(!::IsZoomed(owner->GetSafeHwnd()));
}

// ------------------------------------------------------------------- min, max

CResizableMinMax::~CResizableMinMax() = default;

void CResizableMinMax::SetMinTrackSize(CSize size)
{
    m_ptMinTrackSize = POINT{size.cx, size.cy};
    m_bUseMinTrack = TRUE;
}

void CResizableMinMax::SetMaxTrackSize(CSize size)
{
    m_ptMaxTrackSize = POINT{size.cx, size.cy};
    m_bUseMaxTrack = TRUE;
}

void CResizableMinMax::SetMaximizedRect(const CRect& rect)
{
    m_ptMaxPos = POINT{rect.left, rect.top};
    m_ptMaxSize = POINT{rect.Width(), rect.Height()};
    m_bUseMaxRect = TRUE;
}

void CResizableMinMax::ApplyMinMax(MINMAXINFO* info) const
{
    if (m_bUseMinTrack) info->ptMinTrackSize = m_ptMinTrackSize;
    if (m_bUseMaxTrack) info->ptMaxTrackSize = m_ptMaxTrackSize;
    if (m_bUseMaxRect) {
        info->ptMaxPosition = m_ptMaxPos;
        info->ptMaxSize = m_ptMaxSize;
    }
}

// ---------------------------------------------------------------------- state

CResizableState::~CResizableState() = default;

BOOL CResizableState::SavePlacement(const wchar_t* section, BOOL rectOnly)
{
    CWnd* wnd = GetLayoutWindow();
    CWinApp* app = AfxGetApp();
    if (!wnd || !wnd->GetSafeHwnd() || !app) return FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(wnd->GetSafeHwnd(), &placement)) return FALSE;
    if (rectOnly) {
        ::GetWindowRect(wnd->GetSafeHwnd(), &placement.rcNormalPosition);
        placement.showCmd = 1;
        placement.flags = 0;
    }
    CString text;
    text.Format(L"%d,%d,%d,%d,%d,%d", placement.rcNormalPosition.left, placement.rcNormalPosition.top,
                placement.rcNormalPosition.right, placement.rcNormalPosition.bottom, placement.showCmd,
                placement.flags);
    return app->WriteProfileString(section, L"WindowPlacement", text);
}

// --------------------------------------------------------------------- dialog

BEGIN_MESSAGE_MAP(CResizableDialog, CDialog)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_GETMINMAXINFO()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CResizableDialog::CResizableDialog(UINT templateId, CWnd* parent, HINSTANCE caller)
    : CDialog(templateId, parent, caller)
{
}

CResizableDialog::~CResizableDialog() = default;

int CResizableDialog::OnCreate(LPCREATESTRUCT)
{
    if (Default() == -1) return -1;
    CRect client;
    GetClientRect(&client);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    // A dialog made as a child window stays one.
    style = (style & ~static_cast<DWORD>(DS_MODALFRAME)) | WS_THICKFRAME | ((style & WS_CHILD) ? 0 : WS_POPUP);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    ::AdjustWindowRectEx(&client, style, ::GetMenu(m_hWnd) != nullptr, exStyle);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, client.Width(), client.Height(),
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return CreateGripWindow() ? 0 : -1;
}

BOOL CResizableDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect window;
    GetWindowRect(&window);
    SetMinTrackSize(window.Size());
    UpdateGripPos();
    m_bInitDone = TRUE;
    return TRUE;
}

void CResizableDialog::OnSize(UINT type, int, int)
{
    Default();
    if (type == SIZE_MAXSHOW || type == SIZE_MAXHIDE || !m_bInitDone) return;
    UpdateGripPos();
    ArrangeLayout();
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* info)
{
    if (m_bInitDone) ApplyMinMax(info);
}

BOOL CResizableDialog::OnEraseBkgnd(CDC* dc)
{
    CRgn clip;
    GetClippingRegion(&clip);
    // The DC's own clipping is put back for the painting that follows.
    CRgn old;
    old.CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = ::GetClipRgn(dc->GetSafeHdc(), old) == 1;
    ::ExtSelectClipRgn(dc->GetSafeHdc(), clip, RGN_AND);
    const BOOL result = static_cast<BOOL>(Default());
    ::SelectClipRgn(dc->GetSafeHdc(), hadClip ? static_cast<HRGN>(old) : nullptr);
    return result;
}

void CResizableDialog::OnDestroy()
{
    if (m_bSavePlacement) SavePlacement(m_SSection, m_bRectOnly);
    RemoveAllAnchors();
    Default();
}
