#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/BriskoResource.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CPPage_InfoBar, CPropertyPage)

BEGIN_MESSAGE_MAP(CPPage_InfoBar, CPropertyPage)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const int kMaxKeptLines = 50; // one more arrives before the oldest goes

} // namespace

CPPage_InfoBar::CPPage_InfoBar() : CPropertyPage(IDD_PPAGE_INFOBAR), m_nMargin(3) {}

int CPPage_InfoBar::OnCreate(LPCREATESTRUCT cs)
{
    if (static_cast<int>(Default()) == -1) return -1;
    (void)cs;
    ::EnableScrollBar(m_hWnd, SB_BOTH, ESB_ENABLE_BOTH);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_WANTRETURN;
    if (!m_wndLog.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", nullptr, style, CRect(0, 0, 80, 800), this, IDC_INFO_LOG))
        return -1;
    m_wndLog.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    ::EnableScrollBar(m_wndLog, SB_VERT, ESB_ENABLE_BOTH);
    if (!m_font.CreatePointFont(100, L"宋体")) return -1;
    m_wndLog.SetFont(&m_font, TRUE);
    m_wndLog.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 10));
    Layout();
    return 0;
}

void CPPage_InfoBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    (void)type;
    (void)cx;
    (void)cy;
    Layout();
}

// The log fills the page inside a margin.
void CPPage_InfoBar::Layout()
{
    if (!m_wndLog.GetSafeHwnd()) return;
    CRect client;
    GetClientRect(&client);
    const int m = m_nMargin;
    m_wndLog.MoveWindow(m, m, std::max(0, client.Width() - 2 * m), std::max(0, client.Height() - 2 * m));
}

void CPPage_InfoBar::AddMessage(const CString& text)
{
    if (!m_wndLog.GetSafeHwnd()) return;
    if (m_SMessages.GetSize() > kMaxKeptLines) m_SMessages.RemoveAt(0);
    m_SMessages.Add(text);
    CString all;
    for (INT_PTR i = 0; i < m_SMessages.GetSize(); ++i) all += m_SMessages[i] + L"\r\n";
    m_wndLog.SetWindowText(all);
    m_wndLog.SendMessage(EM_LINESCROLL, 0, static_cast<LPARAM>(m_SMessages.GetSize() - 1));
}
