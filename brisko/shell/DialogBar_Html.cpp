#include "brisko/shell/DialogBar_Html.h"
#include "brisko/BriskoResource.h"
#include "corvane/project/TavixInterface.h"

namespace {

CWnd* MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

// Posted to the page once the main window has taken the activation.
const UINT WM_KEEPINFRONT = WM_APP + 0x135;

} // namespace

BEGIN_MESSAGE_MAP(CDialogBar_Html, CResizableDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_KEEPINFRONT, OnKeepInFront)
END_MESSAGE_MAP()

CDialogBar_Html::CDialogBar_Html(CWnd* parent) : CResizableDialog(IDD_DIALOGBAR_HTML, parent)
{
    CWnd* owner = MainWindow();
    if (!Create(IDD_DIALOGBAR_HTML, owner ? owner : parent)) AfxMessageBox(L"创建[设计参考文档]窗口失败!");
}

BOOL CDialogBar_Html::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    const CString chm = ClFormat(L"%s\\Help\\TAVIX.CHM", tkx_GetTavixPath().GetString());
    if (m_wndHtml.OpenChm(chm) && CreateHelpControl())
        m_wndHtml.NavigateTopic(L"index.htm");
    else
        AnchorChild(IDC_HTML_CONTROL, 0, 0, 100, 100); // the empty placeholder
    return TRUE;
}

BOOL CDialogBar_Html::CreateHelpControl()
{
    if (m_wndHtml.GetSafeHwnd()) return TRUE;
    // Without a browser the control stays, empty; its tool bar still closes
    // the page.
    m_wndHtml.CreateFromStatic(this, IDC_HTML_CONTROL, kButtons, L"index.htm", TRUE);
    if (!m_wndHtml.GetSafeHwnd()) return FALSE;
    RemoveAllAnchors(); // the placeholder's
    AnchorChild(IDC_HTML_CONTROL, 0, 0, 100, 100);
    CRect client;
    GetClientRect(&client);
    m_wndHtml.MoveWindow(5, 5, client.Width() - 10, client.Height() - 15);
    return TRUE;
}

BOOL CDialogBar_Html::OpenHelpTopic(CString chm, CString topic)
{
    if (!m_wndHtml.OpenChm(chm) || !CreateHelpControl()) return FALSE;
    m_wndHtml.NavigateTopic(topic);
    return TRUE;
}

void CDialogBar_Html::PlaceOverClient()
{
    auto* frame = dynamic_cast<CMDIFrameWnd*>(MainWindow());
    if (!frame || !frame->m_hWndMDIClient) return;
    CRect rect;
    ::GetWindowRect(frame->m_hWndMDIClient, &rect);
    // Next to the main window in the Z order, on its side: a window the main
    // window owns cannot lie behind it.
    UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
    const HWND before = ::GetWindow(frame->m_hWnd, GW_HWNDPREV);
    const CWnd* after = &CWnd::wndTop;
    if (before == m_hWnd)
        flags |= SWP_NOZORDER;
    else if (before)
        after = CWnd::FromHandle(before);
    SetWindowPos(after, rect.left, rect.top, rect.Width(), rect.Height(), flags);
}

void CDialogBar_Html::OnShowWindow(BOOL show, UINT status)
{
    CResizableDialog::OnShowWindow(show, status);
    if (show) PlaceOverClient();
}

void CDialogBar_Html::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CResizableDialog::OnActivate(state, other, minimized);
    // The main window is brought to the front after the page hears that it
    // lost the activation: the page follows once that is done.
    CWnd* main = MainWindow();
    if (state == WA_INACTIVE && other && main && other->GetSafeHwnd() == main->GetSafeHwnd())
        PostMessage(WM_KEEPINFRONT);
}

LRESULT CDialogBar_Html::OnKeepInFront(WPARAM, LPARAM)
{
    if (IsWindowVisible()) PlaceOverClient();
    return 0;
}

void CDialogBar_Html::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MAXIMIZED) {
        // The page never covers more than the client area.
        ShowWindow(SW_RESTORE);
        PlaceOverClient();
    } else {
        CResizableDialog::OnSize(type, cx, cy);
    }
    if (m_wndHtml.GetSafeHwnd() && (m_wndHtml.GetStyle() & WS_VISIBLE)) {
        CRect client;
        GetClientRect(&client);
        m_wndHtml.MoveWindow(5, 5, client.Width() - 10, client.Height() - 15);
    }
}
