#include "brisko/shell/SharedDialogs.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Utility.h"

void SetAppIcon(CWnd* dialog)
{
    HICON icon = LoadAppIcon();
    if (!icon) return;
    dialog->SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::DestroyIcon(icon);
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_Select, CDialog)
    ON_BN_CLICKED(IDC_SELECT_SECOND, OnSecond)
END_MESSAGE_MAP()

CDialog_Select::CDialog_Select(CWnd* parent) : CDialog(IDD_SELECT, parent) {}

BOOL CDialog_Select::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetAppIcon(this);
    SetDlgItemText(IDOK, m_SFirst);
    SetDlgItemText(IDC_SELECT_SECOND, m_SSecond);
    SetDlgItemText(IDC_SELECT_MESSAGE, m_SMessage);
    SetWindowText(m_SCaption);
    return TRUE;
}

void CDialog_Select::OnOK()
{
    m_nResult = 1;
    CDialog::OnOK();
}

void CDialog_Select::OnSecond()
{
    m_nResult = 2;
    CDialog::OnOK();
}

void CDialog_Select::OnCancel()
{
    m_nResult = 0;
    CDialog::OnCancel();
}

short SelectMessageBox(const wchar_t* caption, const wchar_t* message, const wchar_t* first, const wchar_t* second)
{
    CDialog_Select dialog(theApp.m_pMainWnd);
    dialog.m_SCaption = caption;
    dialog.m_SMessage = message;
    dialog.m_SFirst = first;
    dialog.m_SSecond = second;
    dialog.DoModal();
    return dialog.m_nResult;
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog_ViewSYT, CDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDialog_ViewSYT::CDialog_ViewSYT(CWnd* parent, const CString& caption, UINT bitmap)
    : CDialog(IDD_VIEWSYT, parent), m_SCaption(caption), m_nBitmap(bitmap)
{
}

BOOL CDialog_ViewSYT::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetAppIcon(this);
    SetWindowText(m_SCaption);
    const wchar_t* name = MAKEINTRESOURCEW(m_nBitmap);
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP))
        m_hBitmap = static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    CWnd* picture = GetDlgItem(IDC_VIEWSYT_PICTURE);
    if (m_hBitmap && picture) {
        picture->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hBitmap));
        // The window takes the picture's size, so the whole picture shows.
        BITMAP info{};
        ::GetObjectW(m_hBitmap, sizeof(info), &info);
        CRect client(0, 0, info.bmWidth, info.bmHeight);
        picture->MoveWindow(client);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
        ::AdjustWindowRectEx(&client, style, FALSE, exStyle);
        SetWindowPos(nullptr, 0, 0, client.Width(), client.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CenterWindow();
    }
    return TRUE;
}

BOOL CDialog_ViewSYT::PreTranslateMessage(MSG* msg)
{
    switch (msg->message) {
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)) {
            EndDialog(IDOK);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CDialog_ViewSYT::OnDestroy()
{
    if (m_hBitmap) {
        ::DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
    CDialog::OnDestroy();
}

void ShowSchematicDialog(CWnd* parent, CString caption, UINT bitmap)
{
    CDialog_ViewSYT dialog(parent, caption, bitmap);
    dialog.DoModal();
}
