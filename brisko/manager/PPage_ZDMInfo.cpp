#include "brisko/manager/PPage_ZDMInfo.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/PageDrawing.h"
#include "brisko/shell/Messages.h"

IMPLEMENT_DYNCREATE(CPPage_ZDMInfo, CPropertyPage)

BEGIN_MESSAGE_MAP(CPPage_ZDMInfo, CPropertyPage)
    ON_WM_SIZE()
    ON_MESSAGE(WM_PROFILEDATACHANGED, OnProfileChanged)
    ON_MESSAGE(WM_PROFILECURVESCHANGED, OnProfileChanged)
END_MESSAGE_MAP()

CPPage_ZDMInfo::CPPage_ZDMInfo() : CPropertyPage(IDD_PPAGE_ZDMINFO) {}

BOOL CPPage_ZDMInfo::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                            CWnd* parent, UINT id, CCreateContext* context)
{
    if (!CPropertyPage::Create(className, windowName, style, rect, parent, id, context)) return FALSE;
    if (!m_wndView.Create(CRect(0, 0, 100, 100), this, IDC_PAGE_VIEW))
        AfxMessageBox(L"创建纵断面图形窗口失败!");
    else
        page_drawing::FitToClient(*this, m_wndView);
    return TRUE;
}

void CPPage_ZDMInfo::OnSize(UINT type, int cx, int cy)
{
    CPropertyPage::OnSize(type, cx, cy);
    page_drawing::FitToClient(*this, m_wndView);
}

LRESULT CPPage_ZDMInfo::OnProfileChanged(WPARAM, LPARAM)
{
    m_wndView.ResetView();
    if (m_wndView.GetSafeHwnd()) m_wndView.Invalidate();
    return 0;
}

BOOL CPPage_ZDMInfo::PreTranslateMessage(MSG* msg)
{
    page_drawing::ForwardWheel(msg, m_wndView);
    return CPropertyPage::PreTranslateMessage(msg);
}
