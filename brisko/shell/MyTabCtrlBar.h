// A docking bar holding several panes behind a row of tabs at its bottom.
// Docking, floating, sizing, its title and its two small buttons are those
// of the suite's control bar; this class adds the tab control and lays the
// panes over it: every pane gets the same rectangle and only the active one
// is shown and enabled.
//
// The tab image list holds one image per tab for its inactive look, then one
// per tab for its active look: tab i shows image i, or image i + count while
// it is active.
#pragma once
#include "corvane/ui/ControlBar.h"

// Brisko's name for the suite's control bar.
using CMyControlBar = tkxControlBar;

// One tab: its pane and its name.
struct TCB_ITEM {
    CWnd* pWnd;
    wchar_t szLabel[32];
};

class CMyTabCtrlBar : public CMyControlBar
{
    DECLARE_DYNAMIC(CMyTabCtrlBar)
public:
    enum { IDC_TABCTRL = 1000 };

    CMyTabCtrlBar();
    ~CMyTabCtrlBar() override;

    // Makes a pane of the class (a child of the bar) and appends its tab;
    // the new pane becomes the active window, the earlier ones are hidden.
    BOOL AddView(const wchar_t* name, CRuntimeClass* cls, CCreateContext* context = nullptr);
    // Shows the pane of the tab; nothing for -1, an index beyond the last
    // tab or the active one.  Tells the main window to close the reference
    // page.
    void SetActiveView(int index);
    // The first pane of that class, in tab order; NULL when none.
    CObject* GetView(CRuntimeClass* cls);
    CImageList* SetTabImageList(CImageList* list);

    int GetTabCount() const { return static_cast<int>(m_views.GetCount()); }
    int GetActiveIndex() const { return m_nActiveTab; }
    CWnd* GetActiveWnd() const { return m_pActiveView; }
    CWnd* GetViewAt(int index) const;
    // The rectangles the last layout gave the tab control and the panes
    // (bar client coordinates).
    CRect TabRect() const { return m_rcTab; }
    CRect PaneRect() const { return m_rcPane; }

    CTabCtrl m_tabctrl;
    CToolTipCtrl* m_ToolTip; // the tab control's own tool tip (m_wndToolTip), or NULL

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnWindowPosChanged(WINDOWPOS* wp);
    BOOL OnEraseBkgnd(CDC* dc);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnTabSelChange(NMHDR* nm, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void LayoutPanes(int cx, int cy);
    void RefreshTabItems();

    CToolTipCtrl m_wndToolTip; // bound to the tab control's tool-tip window
    int m_nActiveTab;
    CWnd* m_pActiveView;
    CList<TCB_ITEM*, TCB_ITEM*> m_views;
    CRect m_rcTab;
    CRect m_rcPane;
};
