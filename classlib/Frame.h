// CFrameWnd: a top-level window that lays out its control bars around a
// client area and routes commands: the frame's own map, then the
// application's.  Its bars get their command state in the idle pass
// (WM_IDLEUPDATECMDUI), its menus when they open (WM_INITMENUPOPUP).
//
// Layout: RecalcLayout asks every child control bar for its place with
// WM_SIZEPARENT (the bars take their room from the edges of the remaining
// rectangle), then gives the rest to the child with id AFX_IDW_PANE_FIRST.
// DelayRecalcLayout asks for that in the next idle pass.
//
// A frame deletes itself after its window is destroyed.
#pragma once
#include "Wnd.h"
#include "Menu.h"

class CControlBar;
class CDockBar;
class CMiniDockFrameWnd;

#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B    // 59419
#define AFX_IDW_DOCKBAR_LEFT 0xE81C   // 59420
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D  // 59421
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E // 59422
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F  // 59423

// The room a frame's layout hands out, passed with WM_SIZEPARENT.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;   // deferred moves of the bars
    RECT rect;   // the room left over
    SIZE sizeTotal;
    BOOL bStretch;
};

class CLASSLIB_API CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    BOOL Create(const wchar_t* className, const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* parent = nullptr, const wchar_t* menuName = nullptr,
                DWORD exStyle = 0, HINSTANCE caller = ClCallerModule());
    static const CRect rectDefault;

    virtual void RecalcLayout(BOOL notify = TRUE);
    void DelayRecalcLayout(BOOL notify = TRUE);
    // Places the bars of the frame in `rect` (client coordinates).
    void RepositionBars(UINT first, UINT last, UINT leftOver, UINT query = 0, LPRECT rect = nullptr,
                        LPCRECT bounds = nullptr, BOOL stretch = TRUE);

    // Docking.
    void EnableDocking(DWORD dockStyle);
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = 0x2000 /* CBRS_ALIGN_TOP */);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    CControlBar* GetControlBar(UINT id);
    CDockBar* GetDockBar(UINT id) const;
    // Creates a floating frame for bars (virtual so programs can use their own).
    virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD style);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void PostNcDestroy() override;
    void PreSubclassWindow() override;

    CFrameWnd* GetParentFrame() const { return CWnd::GetParentFrame(); }
    BOOL m_bAutoMenuEnable = TRUE; // items without handlers are greyed
    HACCEL m_hAccelTable = nullptr;
    UINT m_nIdleFlags = 0;
    enum { idleLayout = 0x1, idleNotify = 0x2 };

    // Bars of the frame (docked or floating), in creation order.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    int GetControlBarCount() const;
    CControlBar* GetControlBarAt(int index) const;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnDestroy();
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    struct Bars;
    Bars* m_bars;
    BOOL m_inRecalcLayout = FALSE;
    friend class CControlBar;
};
