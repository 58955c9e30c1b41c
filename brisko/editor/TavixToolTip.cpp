#include "brisko/editor/TavixToolTip.h"
#include <algorithm>

namespace {

const wchar_t kClassName[] = L"CTAVIXTooltip";

} // namespace

BEGIN_MESSAGE_MAP(CTavixToolTip, CWnd)
    ON_WM_PAINT()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTavixToolTip::CTavixToolTip()
    : m_SFaceName(L"宋体"), m_nFontSize(10), m_nOffsetX(5), m_nOffsetY(5), m_rcWindow(0, 0, 0, 0),
      m_crBackground(::GetSysColor(COLOR_INFOBK)), m_crText(::GetSysColor(COLOR_INFOTEXT)),
      m_crHighlight(RGB(0, 128, 0)), m_pOwner(nullptr), m_bShown(FALSE)
{
    static const bool registered = [] {
        const HINSTANCE module = ClCallerModule();
        WNDCLASSW existing{};
        if (::GetClassInfoW(module, kClassName, &existing)) return true;
        WNDCLASSW wc{};
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = module;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return ::RegisterClassW(&wc) != 0;
    }();
    if (!registered) {
        AfxMessageBox(L"注册提示框失败!");
        AfxThrowResourceException();
    }
}

CTavixToolTip::~CTavixToolTip()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CTavixToolTip::Create(CWnd* owner)
{
    m_pOwner = owner;
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0,
                  owner ? owner->GetSafeHwnd() : nullptr, nullptr)) {
        AfxMessageBox(L"创建提示框失败!");
        return FALSE;
    }
    return TRUE;
}

void CTavixToolTip::SetAnchor(int x, int y)
{
    m_ptAnchor = CPoint(x, y + 2);
    if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->ClientToScreen(&m_ptAnchor);
}

CSize CTavixToolTip::MeasureBox(CDC* dc)
{
    CFont font;
    font.CreatePointFont(m_nFontSize * 10, m_SFaceName, dc);
    CFont* old = dc->SelectObject(&font);
    int widest = 0;
    for (INT_PTR i = 0; i < m_aLines.GetSize(); ++i)
        widest = std::max(widest, static_cast<int>(dc->GetTextExtent(m_aLines[i], m_aLines[i].GetLength()).cx));
    dc->SelectObject(old);
    const int height = static_cast<int>(m_aLines.GetSize()) * static_cast<int>(m_nFontSize * 1.5);
    return CSize(widest, height);
}

void CTavixToolTip::PlaceAndShow()
{
    CSize box;
    {
        CWindowDC dc(this);
        box = MeasureBox(&dc);
    }
    const int top = m_ptAnchor.y + m_nOffsetY + 10;
    const int left = m_ptAnchor.x + m_nOffsetX;
    const int bottom = top + box.cy + static_cast<int>(m_nFontSize * 0.4);
    const int right = left + m_nFontSize + box.cx;
    m_rcWindow.SetRect(left, top, right + 2, bottom + 2);
    SetWindowPos(nullptr, left, top, right - left + 2, bottom - top + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    ShowWindow(SW_SHOWNOACTIVATE);
}

void CTavixToolTip::Show(int x, int y, const CString& text)
{
    if (!m_hWnd) return;
    HideIfShown();
    SetAnchor(x, y);
    m_bShown = TRUE;
    m_aLines.RemoveAll();
    int start = 0;
    for (;;) {
        const int end = text.Find(L'\n', start);
        const CString piece = end < 0 ? text.Mid(start) : text.Mid(start, end - start);
        if (!piece.IsEmpty()) m_aLines.Add(piece);
        if (end < 0) break;
        start = end + 1;
    }
    // The description is the window's text too, for whatever reads the
    // screen's windows (a screen reader, a test in another process).
    SetWindowText(text);
    PlaceAndShow();
    Invalidate(FALSE);
}

void CTavixToolTip::Move(int x, int y)
{
    m_bShown = TRUE;
    if (!m_hWnd || m_aLines.GetSize() == 0) return;
    SetAnchor(x, y);
    PlaceAndShow();
    SendMessage(WM_PAINT);
}

void CTavixToolTip::Hide()
{
    if (!m_hWnd) return;
    m_bShown = FALSE;
    if (m_aLines.GetSize() > 0) ShowWindow(SW_HIDE);
}

void CTavixToolTip::HideIfShown()
{
    if (m_bShown == 1) Hide();
}

BOOL CTavixToolTip::PreTranslateMessage(MSG* msg)
{
    if (m_pOwner) {
        switch (msg->message) {
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_MOUSEWHEEL: Hide(); break;
        default: break;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void CTavixToolTip::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pOwner || m_aLines.GetSize() == 0) return;
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_crBackground);
    CBrush border;
    border.CreateSolidBrush(m_crText);
    ::FrameRect(dc.m_hDC, &client, static_cast<HBRUSH>(border.m_hObject));
    dc.SetBkMode(TRANSPARENT);
    CFont font;
    font.CreatePointFont(m_nFontSize * 10, m_SFaceName, &dc);
    CFont* old = dc.SelectObject(&font);
    const int x = static_cast<int>(m_nFontSize * 0.5);
    const int top = static_cast<int>(m_nFontSize * 0.4);
    const int pitch = static_cast<int>(m_nFontSize * 1.5);
    for (INT_PTR k = 0; k < m_aLines.GetSize(); ++k) {
        const CString& line = m_aLines[k];
        dc.SetTextColor(line.Find(L'[') >= 0 ? m_crHighlight : m_crText);
        dc.TextOut(x, top + static_cast<int>(k) * pitch, line);
    }
    dc.SelectObject(old);
}

void CTavixToolTip::OnKillFocus(CWnd* newWnd)
{
    CWnd::OnKillFocus(newWnd);
    Hide();
}

BOOL CTavixToolTip::OnEraseBkgnd(CDC*) { return TRUE; }
