#include "brisko/shell/AboutDlg.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const wchar_t* CAboutDlg::Description()
{
    return L"TAVIX项目数据环境是TAVIX道路设计系统的项目数据管理程序, 它的功能:\r\n"
           L"1. 建立和管理设计项目及其道路;\r\n"
           L"2. 编辑道路的各种数据文件, 显示字段说明;\r\n"
           L"3. 建立和编辑边坡模板库;\r\n"
           L"4. 转换其他道路设计软件的数据文件;\r\n"
           L"5. 浏览当前道路的纵断面和横断面地面线.";
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const wchar_t* name = MAKEINTRESOURCEW(IDB_ABOUT_BANNER);
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP))
        m_hBanner = static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (m_hBanner)
        SendDlgItemMessage(IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hBanner));
    else
        ClMessageBox(m_hWnd, L"加载位图资源失败!", kBriskoCaption, MB_ICONERROR);
    SetDlgItemText(IDC_ABOUT_VERSION, CString(L"Version:") + theApp.m_SVersion);
    SetDlgItemText(IDC_ABOUT_TEXT, Description());
    // The OK button has the focus, so the description is not shown selected.
    if (CWnd* ok = GetDlgItem(IDOK)) ok->SetFocus();
    return FALSE;
}

void CAboutDlg::OnDestroy()
{
    if (m_hBanner) {
        ::DeleteObject(m_hBanner);
        m_hBanner = nullptr;
    }
    CDialog::OnDestroy();
}
