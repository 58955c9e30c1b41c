// The first page of the road-information bar ("提示信息"): the program's
// message log, where the main frame's info-window print appends its lines.
// It keeps the last 51 lines and always shows the newest.
#pragma once
#include "classlib/ClassLib.h"

class CPPage_InfoBar : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPage_InfoBar)
public:
    CPPage_InfoBar();

    // Appends a line (dropped while the log box does not exist yet).
    void AddMessage(const CString& text);
    const CStringArray& Messages() const { return m_SMessages; }

    CEdit m_wndLog;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void Layout();

    short m_nMargin;
    CFont m_font;
    CStringArray m_SMessages;
};
