// The profile page ("纵断面") of the road-information bar: it holds the
// profile view as child 708 over its whole client area, passes it the
// main frame's news of reloaded profile data and the wheel turned over it.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/manager/ZDMInfoCtrl.h"

class CPPage_ZDMInfo : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPage_ZDMInfo)
public:
    CPPage_ZDMInfo();

    // The page, then its view; a view that cannot be made is reported
    // ("创建纵断面图形窗口失败!") and the page stays.
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context = nullptr) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CZDMInfoCtrl m_wndView;

protected:
    void OnSize(UINT type, int cx, int cy);
    // WM_PROFILEDATACHANGED and WM_PROFILECURVESCHANGED: the view starts
    // again from the data.
    LRESULT OnProfileChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
