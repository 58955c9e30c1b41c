#include "corvane/ui/TitleTip.h"
#include <algorithm>

namespace {

const wchar_t kClassName[] = L"QRM_TitleTip";
const UINT_PTR kHideTimer = 1;
const UINT kShowTime = 2000;

// The window under a screen point, the tip's owner when that is the tip.
CWnd* Beneath(CWnd* tip, CWnd* owner, CPoint screen)
{
    CWnd* wnd = CWnd::WindowFromPoint(screen);
    if (!wnd || wnd->m_hWnd == tip->m_hWnd) wnd = owner;
    return wnd;
}

} // namespace

BEGIN_MESSAGE_MAP(tkxTitleTip, CWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

tkxTitleTip::tkxTitleTip()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (!::GetClassInfoW(instance, kClassName, &wc)) {
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
        wc.lpszClassName = kClassName;
        if (!::RegisterClassW(&wc)) AfxThrowResourceException();
    }
    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, L"宋体");
}

tkxTitleTip::~tkxTitleTip()
{
    if (m_hWnd) DestroyWindow();
}

BOOL tkxTitleTip::Create(CWnd* owner)
{
    m_pParentWnd = owner;
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, nullptr, WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr,
                    nullptr);
}

void tkxTitleTip::Place(const CRect& screen)
{
    SetWindowPos(&wndTopMost, screen.left, screen.top, screen.Width(), screen.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    SetTimer(kHideTimer, kShowTime);
}

void tkxTitleTip::Show(CRect rect, const wchar_t* text, int xOffset)
{
    if (!m_hWnd || !m_pParentWnd || IsWindowVisible() || !::GetFocus()) return;
    m_rectHover = CRect(-xOffset - 1, -1, rect.Width() - xOffset, rect.Height() + 1);
    m_pParentWnd->ClientToScreen(rect);

    const CString shown = CString(L" ") + (text ? text : L"") + L" ";
    CClientDC dc(this);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(m_pParentWnd->SendMessage(WM_GETFONT));
    HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
    const CSize size = dc.GetTextExtent(shown);
    if (old) dc.SelectObject(old);
    if (rect.left + xOffset + size.cx + xOffset <= rect.right - xOffset) return; // the text fits

    m_strShown = shown;
    m_bShowingLines = false;
    rect.left += xOffset;
    rect.right = rect.left + size.cx + xOffset;
    Place(rect);
}

void tkxTitleTip::ShowMultLineText(CRect rect, int xOffset)
{
    if (!m_hWnd || !m_pParentWnd) return;
    CClientDC dc(this);
    HGDIOBJ old = dc.SelectObject(m_font.m_hObject);
    int width = 0, height = 2;
    for (int i = 0; i < m_nLineCount; ++i) {
        const CSize size = dc.GetTextExtent(m_strLines[i]);
        width = std::max(width, static_cast<int>(size.cx));
        height += size.cy + 2;
    }
    dc.SelectObject(old);
    m_pParentWnd->ClientToScreen(rect);
    if (rect.left + xOffset + width + 10 <= rect.right - xOffset) return;

    m_strShown.Empty();
    m_bShowingLines = true;
    Place(CRect(rect.left + xOffset, rect.top, rect.left + xOffset + width + 10, rect.top + height + 4));
}

void tkxTitleTip::OnPaint()
{
    CPaintDC dc(this);
    dc.SetBkMode(TRANSPARENT);
    if (m_bShowingLines) {
        HGDIOBJ old = dc.SelectObject(m_font.m_hObject);
        for (int i = 0; i < m_nLineCount; ++i) {
            const int lineHeight = dc.GetTextExtent(m_strLines[i]).cy;
            dc.TextOut(4, (lineHeight + 1) * i + 2, m_strLines[i]);
        }
        dc.SelectObject(old);
    } else if (m_pParentWnd) {
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(m_pParentWnd->SendMessage(WM_GETFONT));
        HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
        dc.TextOut(0, 0, m_strShown);
        if (old) dc.SelectObject(old);
    }
}

void tkxTitleTip::Hide()
{
    if (!m_hWnd) return;
    KillTimer(kHideTimer);
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ShowWindow(SW_HIDE);
}

void tkxTitleTip::OnTimer(UINT_PTR id)
{
    if (id == kHideTimer) Hide();
}

BOOL tkxTitleTip::SetLineCount(short count)
{
    if (count < 1 || count > 4) return FALSE;
    m_nLineCount = count;
    return TRUE;
}

BOOL tkxTitleTip::SetLineText(short index, const wchar_t* text)
{
    if (index < 0 || index > 3) return FALSE;
    m_strLines[index] = text ? text : L"";
    return TRUE;
}

void tkxTitleTip::OnMouseMove(UINT flags, CPoint point)
{
    if (m_bMultiLine || m_rectHover.PtInRect(point)) return;
    Hide();
    ClientToScreen(&point);
    CWnd* wnd = Beneath(this, m_pParentWnd, point);
    if (!wnd) return;
    const LRESULT hit = wnd->SendMessage(WM_NCHITTEST, 0, MAKELONG(point.x, point.y));
    if (hit == HTCLIENT) {
        wnd->ScreenToClient(&point);
        wnd->PostMessage(WM_MOUSEMOVE, flags, MAKELONG(point.x, point.y));
    } else {
        wnd->PostMessage(WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), MAKELONG(point.x, point.y));
    }
}

BOOL tkxTitleTip::PreTranslateMessage(MSG* msg)
{
    if (m_bMultiLine) return CWnd::PreTranslateMessage(msg);
    switch (msg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        CPoint point(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam)));
        ClientToScreen(&point);
        CWnd* wnd = Beneath(this, m_pParentWnd, point);
        Hide();
        if (!wnd) return TRUE;
        UINT message = msg->message;
        WPARAM wParam = msg->wParam;
        const LRESULT hit = wnd->SendMessage(WM_NCHITTEST, 0, MAKELONG(point.x, point.y));
        if (hit == HTCLIENT) {
            wnd->ScreenToClient(&point);
        } else {
            message = message == WM_LBUTTONDOWN   ? WM_NCLBUTTONDOWN
                      : message == WM_RBUTTONDOWN ? WM_NCRBUTTONDOWN
                                                  : WM_NCMBUTTONDOWN;
            wParam = static_cast<WPARAM>(hit);
        }
        wnd->PostMessage(message, wParam, MAKELONG(point.x, point.y));
        return TRUE;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (m_pParentWnd) m_pParentWnd->PostMessage(msg->message, msg->wParam, msg->lParam);
        return TRUE;
    default:
        break;
    }
    if (!::GetFocus()) {
        Hide();
        return TRUE;
    }
    return CWnd::PreTranslateMessage(msg);
}
