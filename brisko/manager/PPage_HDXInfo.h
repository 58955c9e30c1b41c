// The cross-section page ("横断面地面线") of the road-information bar: it
// holds the cross-section view as child 708 over its whole client area and
// passes it the wheel turned over it.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/manager/Wnd_ShowHDX.h"

class CPPage_HDXInfo : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPage_HDXInfo)
public:
    CPPage_HDXInfo();

    // The page (a failed attempt is made once more), then its view; a view
    // that cannot be made is reported ("创建横地线图形窗口失败!") and the
    // page stays.
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context = nullptr) override;
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CWnd_ShowHDX m_wndView;

protected:
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
