#include "brisko/shell/DialogBar_Html.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/project/TavixInterface.h"

namespace {

CWnd* MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

} // namespace

BEGIN_MESSAGE_MAP(CDialogBar_Html, CResizableDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_SIZE()
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

void CDialogBar_Html::OnCancel()
{
    // Not the system's end of a dialog, which leaves the focus on the
    // hidden page, where keys do nothing.
    if (CMainFrame* frame = CMainFrame::Current(); frame && frame->m_pReferencePage == this)
        frame->HideReferencePage();
    else
        ShowWindow(SW_HIDE);
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
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&rect);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
}

void CDialogBar_Html::ShowInFront()
{
    ShowWindow(SW_SHOW);
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus();
    // A child window's caption shows the main window's activation only when
    // told (the main window tells it of later changes).
    SendMessage(WM_NCACTIVATE, ::GetActiveWindow() == ::GetAncestor(m_hWnd, GA_ROOT));
}

void CDialogBar_Html::OnShowWindow(BOOL show, UINT status)
{
    CResizableDialog::OnShowWindow(show, status);
    if (show) PlaceOverClient();
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
