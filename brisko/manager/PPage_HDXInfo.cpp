#include "brisko/manager/PPage_HDXInfo.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/PageDrawing.h"

IMPLEMENT_DYNCREATE(CPPage_HDXInfo, CPropertyPage)

BEGIN_MESSAGE_MAP(CPPage_HDXInfo, CPropertyPage)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CPPage_HDXInfo::CPPage_HDXInfo() : CPropertyPage(IDD_PPAGE_HDXINFO) {}

BOOL CPPage_HDXInfo::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                            CWnd* parent, UINT id, CCreateContext* context)
{
    if (!CPropertyPage::Create(className, windowName, style, rect, parent, id, context) &&
        !CPropertyPage::Create(className, windowName, style, rect, parent, id, context))
        return FALSE;
    if (!m_wndView.Create(CRect(0, 0, 100, 100), this, IDC_PAGE_VIEW))
        AfxMessageBox(L"创建横地线图形窗口失败!");
    else
        page_drawing::FitToClient(*this, m_wndView);
    return TRUE;
}

BOOL CPPage_HDXInfo::DestroyWindow()
{
    if (m_wndView.GetSafeHwnd()) m_wndView.DestroyWindow();
    return CPropertyPage::DestroyWindow();
}

void CPPage_HDXInfo::OnSize(UINT type, int cx, int cy)
{
    CPropertyPage::OnSize(type, cx, cy);
    page_drawing::FitToClient(*this, m_wndView);
}

BOOL CPPage_HDXInfo::PreTranslateMessage(MSG* msg)
{
    page_drawing::ForwardWheel(msg, m_wndView);
    return CPropertyPage::PreTranslateMessage(msg);
}
