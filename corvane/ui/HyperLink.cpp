#include "corvane/ui/HyperLink.h"

BEGIN_MESSAGE_MAP(tkxHyperLink, CStatic)
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

tkxHyperLink::tkxHyperLink() = default;

tkxHyperLink::~tkxHyperLink()
{
    if (m_ToolTip.m_hWnd) m_ToolTip.DestroyWindow();
}

void tkxHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);

    // The control's own font, underlined.
    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ::GetObjectW(font, sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    m_LinkFont.DeleteObject();
    if (m_LinkFont.CreateFontIndirect(&lf)) SetFont(&m_LinkFont, TRUE);

    // The platform's hand cursor (shared: never destroyed).
    m_hLinkCursor = ::LoadCursorW(nullptr, IDC_HAND);
    if (m_hLinkCursor) SendMessage(STM_SETIMAGE, IMAGE_CURSOR, reinterpret_cast<LPARAM>(m_hLinkCursor));

    CStatic::PreSubclassWindow();
    if (m_hLinkCursor) SendMessage(STM_SETIMAGE, IMAGE_CURSOR, reinterpret_cast<LPARAM>(m_hLinkCursor));

    if (!m_ToolTip.m_hWnd && m_ToolTip.Create(this, TTS_ALWAYSTIP)) {
        CRect client;
        GetClientRect(&client);
        m_ToolTip.AddTool(this, L"", &client, TOOLTIP_ID);
        m_ToolTip.ShowWindow(SW_HIDE);
    }
}

void tkxHyperLink::SetLinkText(CString text)
{
    m_strLinkText = text;
    if (m_hWnd) SetWindowText(text);
}

void tkxHyperLink::SetTootTipText(const wchar_t* text)
{
    if (m_bToolTipActive && m_ToolTip.m_hWnd) m_ToolTip.UpdateTipText(text ? text : L"", this, TOOLTIP_ID);
}

void tkxHyperLink::SetToolTipTextColor(COLORREF color)
{
    if (m_ToolTip.m_hWnd) m_ToolTip.SetTipTextColor(color);
}

void tkxHyperLink::SetToolTipBgColor(COLORREF color)
{
    if (m_ToolTip.m_hWnd) m_ToolTip.SetTipBkColor(color);
}

bool tkxHyperLink::GoToLinkUrl(CString url)
{
    HINSTANCE result = ::ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 31;
}

COLORREF tkxHyperLink::GetTextColor() const
{
    if (m_bVisited) return m_crVisitedColor;
    if (m_bHover) return m_crHoverColor;
    return m_crLinkColor;
}

BOOL tkxHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void tkxHyperLink::OnMouseMove(UINT flags, CPoint point)
{
    CStatic::OnMouseMove(flags, point);
    if (!m_bHover) {
        m_bHover = true;
        RedrawWindow();
        SetCapture();
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        m_bHover = false;
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        RedrawWindow();
    }
}

BOOL tkxHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hLinkCursor) ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void tkxHyperLink::OnClicked()
{
    if (m_bFireChild) {
        // The parent follows the link itself.
        if (CWnd* parent = GetParent()) parent->SendMessage(WM_TKX_LINKCLICKED, GetDlgCtrlID(), 0);
        m_bVisited = true;
    } else if (GoToLinkUrl(m_strLinkUrl)) {
        // A link that failed to open has not been visited.
        m_bVisited = true;
    }
    Invalidate();
}

HBRUSH tkxHyperLink::CtlColor(CDC* dc, UINT)
{
    dc->SetTextColor(GetTextColor());
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
}
