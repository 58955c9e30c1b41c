// The multiple-document interface: CMDIFrameWnd, the main window with the
// MDI client that holds the document windows, and CMDIChildWnd, the frame of
// one document window.
//
// Menus.  The main frame's own menu (from LoadFrame) shows while no document
// window is open.  Each child shows the menu and accelerators of its document
// template: when a child becomes active the frame's menu bar switches to the
// template's menu (WM_MDISETMENU), and when the last child closes the
// frame's own menu comes back.  The window menu is the popup of the menu bar
// that carries a window command (ID_WINDOW_CASCADE, _TILE_HORZ, _TILE_VERT,
// _ARRANGE); the MDI client lists the open document windows at its end.  The
// list is rebuilt whenever the menu bar gets a window menu: the system fills
// a window menu only when its document windows change, so the first document
// window, made while the frame's own menu (without a window menu) showed,
// would be missing from it.
//
// Activation.  When a child becomes active, in this order: the child that
// loses it hears WM_MDIACTIVATE and its active view OnActivateView(FALSE);
// the new child's menu goes into the frame's menu bar; its active view hears
// OnActivateView(TRUE) and takes the focus; at the next idle moment the main
// frame's title shows the new document ("title - document"); the frame hears
// OnActivateChild.  A command that brings up the document window that is
// active already (its entry of the window menu, MDIActivate) makes no change
// of activation; the frame hears OnActivateChild for it all the same, so
// that a program can show the document it covers.  The program's
// panes that follow the active document (the status bar's panes, the
// road-information page) rely on the view being active before their next
// idle update.
//
// Commands from the menu bar and the accelerators go to the active child
// (its active view, the view's document, the child frame), then to the main
// frame, then to the application.
#pragma once
#include "Frame.h"

class CMDIChildWnd;

class CLASSLIB_API CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient = nullptr;

    // The active document window, or null; `maximized` tells whether it is
    // maximized.
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDINext();
    void MDIPrev();
    void MDICascade();
    void MDITile(int how = MDITILE_HORIZONTAL);
    void MDIIconArrange();
    void MDIMaximize(CWnd* child);
    void MDIRestore(CWnd* child);
    // Puts the menu into the menu bar with `windowMenu` as the window menu;
    // returns the menu that was there.
    CMenu* MDISetMenu(CMenu* frameMenu, CMenu* windowMenu);
    // The window menu of a menu bar: the popup that holds a window command.
    static HMENU FindWindowMenu(HMENU menuBar);
    // Creates the MDI client; its window menu is the frame menu's.
    virtual BOOL CreateClient(LPCREATESTRUCT cs, CMenu* windowMenu);
    // A document window was brought up: it became the active one (its view
    // has taken the focus), or a command brought up the one that was active
    // already.  Nothing here.
    virtual void OnActivateChild(CMDIChildWnd* child);

    CFrameWnd* GetActiveFrame() override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnUpdateFrameMenu(HMENU alternative) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The window menu's entries of the document windows go to the system,
    // which activates the window; the entry of the active one brings it up.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
    void OnSize(UINT type, int cx, int cy);
    void OnWindowNext();
    void OnWindowPrev();
    void OnWindowCascade();
    void OnWindowTileHorz();
    void OnWindowTileVert();
    void OnWindowArrange();
    void OnUpdateMDIWindowCmd(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()
};

class CLASSLIB_API CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    // A document window inside the MDI frame (the application's main window
    // when `parent` is null).
    BOOL Create(const wchar_t* className, const wchar_t* title,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* parent = nullptr, const wchar_t* menuName = nullptr, DWORD exStyle = 0,
                CCreateContext* context = nullptr, HINSTANCE caller = ClCallerModule()) override;
    // The icon and title of the id; the menu and accelerators come from the
    // document template of the context (shared with its other documents).
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr,
                   HINSTANCE caller = ClCallerModule()) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int showCommand = -1) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnUpdateFrameMenu(HMENU alternative) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL DestroyWindow() override;

    HMENU m_hMenuShared = nullptr; // the template's menu, shown while this child is active

protected:
    CCreateContext* ContextOf(LPCREATESTRUCT cs) const override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated);
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
