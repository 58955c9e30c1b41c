#include "corvane/ui/ResizableDialog.h"
#include <cwchar>
#include <iterator>

const CSize AnchorNone(-1, -1);
const CSize AnchorTopLeft(0, 0);
const CSize AnchorTopCentre(50, 0);
const CSize AnchorTopRight(100, 0);
const CSize AnchorMidLeft(0, 50);
const CSize AnchorMidCentre(50, 50);
const CSize AnchorMidRight(100, 50);
const CSize AnchorBottomLeft(0, 100);
const CSize AnchorBottomCentre(50, 100);
const CSize AnchorBottomRight(100, 100);

namespace {

// The highest position of a window's horizontal scroll bar.
int HorizontalScrollLimit(HWND wnd)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (!::GetScrollInfo(wnd, SB_HORZ, &info)) return 0;
    return info.nMax - (info.nPage > 1 ? static_cast<int>(info.nPage) - 1 : 0);
}

CRect ChildRect(HWND parent, HWND child)
{
    CRect rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct Move {
    HWND wnd;
    CRect rect;
    UINT flags;
};

} // namespace

BEGIN_MESSAGE_MAP(tkxResizableDialog, CDialog)
    ON_WM_NCHITTEST()
    ON_WM_GETMINMAXINFO()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
END_MESSAGE_MAP()

tkxResizableDialog::tkxResizableDialog(HINSTANCE caller)
    : CDialog(caller), m_szGripSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL))
{
}

tkxResizableDialog::tkxResizableDialog(UINT templateId, CWnd* parent, HINSTANCE caller)
    : CDialog(templateId, parent, caller), m_szGripSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL))
{
}

tkxResizableDialog::tkxResizableDialog(const wchar_t* templateName, CWnd* parent, HINSTANCE caller)
    : CDialog(templateName, parent, caller),
      m_szGripSize(::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL))
{
}

tkxResizableDialog::~tkxResizableDialog() = default;

BOOL tkxResizableDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateGripRect();
    CRect window;
    GetWindowRect(&window);
    m_szMinTrackSize = window.Size();
    m_bInitDone = TRUE;
    return TRUE;
}

void tkxResizableDialog::UpdateGripRect()
{
    CRect client;
    GetClientRect(&client);
    m_rcGrip = CRect(client.right - m_szGripSize.cx, client.bottom - m_szGripSize.cy, client.right, client.bottom);
}

void tkxResizableDialog::AddAnchor(HWND wnd, CSize topLeft, CSize bottomRight)
{
    // A control that is not there (an id the template lacks, a closed
    // window) gets no record: its rectangle would be meaningless.
    if (!m_hWnd || !wnd || !::IsWindow(wnd)) return;

    Layout layout;
    layout.hWnd = wnd;

    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, static_cast<int>(std::size(name)));
    CString className(name);
    className.MakeUpper();
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(wnd, GWL_STYLE));
    if (className == L"BUTTON") {
        if ((style & BS_TYPEMASK) == BS_GROUPBOX) ::SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_CLIPSIBLINGS);
    } else if (className == L"LISTBOX") {
        layout.bAdjustHScroll = TRUE;
    } else if (className == L"STATIC") {
        const DWORD type = style & SS_TYPEMASK;
        if (type != SS_SIMPLE &&
            (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || (style & SS_CENTERIMAGE) != 0))
            layout.bNeedRefresh = TRUE;
    }

    if (bottomRight == AnchorNone) bottomRight = topLeft;

    CRect client;
    GetClientRect(&client);
    const int width = client.Width(), height = client.Height();
    const CRect rect = ChildRect(m_hWnd, wnd);
    layout.szTopLeftAnchor = topLeft;
    layout.szTopLeftMargin = CSize(rect.left - topLeft.cx * width / 100, rect.top - topLeft.cy * height / 100);
    layout.szBottomRightAnchor = bottomRight;
    layout.szBottomRightMargin =
        CSize(rect.right - bottomRight.cx * width / 100, rect.bottom - bottomRight.cy * height / 100);
    m_arrLayout.push_back(layout);
}

void tkxResizableDialog::AddAnchor(UINT id, CSize topLeft, CSize bottomRight)
{
    if (!m_hWnd) return;
    AddAnchor(::GetDlgItem(m_hWnd, static_cast<int>(id)), topLeft, bottomRight);
}

void tkxResizableDialog::ArrangeLayout()
{
    InvalidateRect(&m_rcGrip);
    UpdateGripRect();
    InvalidateRect(&m_rcGrip);

    CRect client;
    GetClientRect(&client);
    const int width = client.Width(), height = client.Height();

    std::vector<Move> moves;
    for (Layout& layout : m_arrLayout) {
        // A control closed since it was anchored is passed over; it must not
        // spoil the batch that moves the others.
        if (!::IsWindow(layout.hWnd)) continue;
        const CRect target(width * layout.szTopLeftAnchor.cx / 100 + layout.szTopLeftMargin.cx,
                           height * layout.szTopLeftAnchor.cy / 100 + layout.szTopLeftMargin.cy,
                           width * layout.szBottomRightAnchor.cx / 100 + layout.szBottomRightMargin.cx,
                           height * layout.szBottomRightAnchor.cy / 100 + layout.szBottomRightMargin.cy);
        const CRect current = ChildRect(m_hWnd, layout.hWnd);
        if (target == current) continue;

        if (layout.bAdjustHScroll) {
            // The list scrolls back when it widens past its scroll position:
            // its text moves and must be painted again.
            const int gain = target.Width() - current.Width();
            const int limit = HorizontalScrollLimit(layout.hWnd);
            layout.bNeedRefresh = limit > 0 && limit - gain < ::GetScrollPos(layout.hWnd, SB_HORZ);
        }
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (target.TopLeft() == current.TopLeft()) flags |= SWP_NOMOVE;
        if (target.Size() == current.Size()) flags |= SWP_NOSIZE;
        moves.push_back({layout.hWnd, target, flags});
    }

    if (!moves.empty()) {
        HDWP batch = ::BeginDeferWindowPos(static_cast<int>(moves.size()));
        for (const Move& move : moves) {
            if (!batch) break;
            batch = ::DeferWindowPos(batch, move.wnd, nullptr, move.rect.left, move.rect.top, move.rect.Width(),
                                     move.rect.Height(), move.flags);
        }
        if (batch) {
            ::EndDeferWindowPos(batch);
        } else {
            // The system could not keep the batch: move the controls one by one.
            for (const Move& move : moves)
                ::SetWindowPos(move.wnd, nullptr, move.rect.left, move.rect.top, move.rect.Width(),
                               move.rect.Height(), move.flags);
        }
    }

    for (const Layout& layout : m_arrLayout) {
        if (layout.bNeedRefresh && ::IsWindow(layout.hWnd)) {
            ::InvalidateRect(layout.hWnd, nullptr, TRUE);
            ::UpdateWindow(layout.hWnd);
        }
    }
}

void tkxResizableDialog::ShowSizeGrip(BOOL show)
{
    show = show ? TRUE : FALSE;
    if (m_bShowGrip == show) return;
    m_bShowGrip = show;
    if (m_hWnd) InvalidateRect(&m_rcGrip);
}

void tkxResizableDialog::SetMinTrackSize(const CSize& size)
{
    m_szMinTrackSize = size;
    m_bUseMinTrack = TRUE;
}

void tkxResizableDialog::ResetMinTrackSize() { m_bUseMinTrack = FALSE; }

void tkxResizableDialog::SetMaxTrackSize(const CSize& size)
{
    m_szMaxTrackSize = size;
    m_bUseMaxTrack = TRUE;
}

void tkxResizableDialog::ResetMaxTrackSize() { m_bUseMaxTrack = FALSE; }

void tkxResizableDialog::SetMaximizedRect(const CRect& rect)
{
    m_ptMaxPos = rect.TopLeft();
    m_szMaxSize = rect.Size();
    m_bUseMaxRect = TRUE;
}

void tkxResizableDialog::ResetMaximizedRect() { m_bUseMaxRect = FALSE; }

void tkxResizableDialog::EnableSaveRestore(const wchar_t* section, const wchar_t* entry)
{
    m_sSection = section;
    m_sEntry = entry;
    m_bEnableSaveRestore = TRUE;
    LoadWindowRect();
}

void tkxResizableDialog::LoadWindowRect()
{
    CWinApp* app = AfxGetApp();
    if (!m_hWnd || !app) return;
    const CString text = app->GetProfileString(m_sSection, m_sEntry, L"");
    if (text.IsEmpty()) return;

    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(&placement)) return;
    int left = 0, top = 0, right = 0, bottom = 0, show = 0, flags = 0;
    if (std::swscanf(text, L"%d,%d,%d,%d,%d,%d", &left, &top, &right, &bottom, &show, &flags) != 6) return;
    // Only a placement this dialog could have saved is taken: an empty
    // rectangle or a hidden window would leave the user without a dialog
    // (and, for a modal one, with its owner disabled).
    if (right <= left || bottom <= top) return;
    if (show != SW_SHOWNORMAL && show != SW_SHOWMINIMIZED && show != SW_SHOWMAXIMIZED) return;
    // A dialog closed while minimized comes back restored.
    if (show == SW_SHOWMINIMIZED) show = (flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;

    placement.rcNormalPosition = CRect(left, top, right, bottom);
    placement.showCmd = static_cast<UINT>(show);
    placement.flags = static_cast<UINT>(flags);
    SetWindowPlacement(&placement);
}

void tkxResizableDialog::SaveWindowRect()
{
    CWinApp* app = AfxGetApp();
    if (!m_hWnd || !app) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(&placement)) return;
    const RECT& r = placement.rcNormalPosition;
    app->WriteProfileString(m_sSection, m_sEntry,
                            ClFormat(L"%d,%d,%d,%d,%d,%d", static_cast<int>(r.left), static_cast<int>(r.top),
                                     static_cast<int>(r.right), static_cast<int>(r.bottom),
                                     static_cast<int>(placement.showCmd), static_cast<int>(placement.flags)));
}

LRESULT tkxResizableDialog::OnNcHitTest(CPoint point)
{
    CPoint client = point;
    ScreenToClient(&client);
    if (m_bShowGrip && client.x >= 0 && client.y >= 0 && m_rcGrip.PtInRect(client)) return HTBOTTOMRIGHT;
    return CDialog::OnNcHitTest(point);
}

void tkxResizableDialog::OnGetMinMaxInfo(MINMAXINFO* mmi)
{
    CDialog::OnGetMinMaxInfo(mmi);
    if (!m_bInitDone) return;
    if (m_bUseMinTrack) mmi->ptMinTrackSize = CPoint(m_szMinTrackSize);
    if (m_bUseMaxTrack) mmi->ptMaxTrackSize = CPoint(m_szMaxTrackSize);
    if (m_bUseMaxRect) {
        mmi->ptMaxPosition = m_ptMaxPos;
        mmi->ptMaxSize = CPoint(m_szMaxSize);
    }
}

void tkxResizableDialog::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_bInitDone && type != SIZE_MAXSHOW && type != SIZE_MAXHIDE) ArrangeLayout();
}

void tkxResizableDialog::OnDestroy()
{
    CDialog::OnDestroy();
    if (m_bEnableSaveRestore) SaveWindowRect();
    // The records name this window's controls: a later window of the same
    // object anchors its own.
    m_arrLayout.clear();
    m_bInitDone = FALSE;
}

void tkxResizableDialog::OnPaint()
{
    CPaintDC dc(this);
    if (m_bShowGrip && !IsZoomed()) {
        CRect grip = m_rcGrip;
        dc.DrawFrameControl(&grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}
