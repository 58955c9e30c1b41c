// CFrameWnd: a top-level window that lays out its control bars around a
// client area, holds the active view and routes commands.  Its bars get their
// command state in the idle pass (WM_IDLEUPDATECMDUI), its menus when they
// open (WM_INITMENUPOPUP).
//
// Layout: RecalcLayout asks every child control bar for its place with
// WM_SIZEPARENT (the bars take their room from the edges of the remaining
// rectangle), then gives the rest to the child with id AFX_IDW_PANE_FIRST.
// DelayRecalcLayout asks for that in the next idle pass.
//
// Commands go to the active view first (which passes them on to its
// document), then to the frame's own message map, then, for a frame that is
// not a child window, to the application.
//
// Documents: a frame made from a document template (LoadFrame with a create
// context) creates its view in OnCreateClient; InitialUpdateFrame, called
// once the document is loaded, activates the view and sends the initial
// update.  Closing the frame asks the document to save when this is the
// document's last frame; Cancel keeps everything open.  The title follows the
// active document when the frame style has FWS_ADDTOTITLE.
//
// Prompts: a command's string resource holds its prompt, "\n", and its tool
// tip.  While a menu item is highlighted, or the mouse is over a tool-bar
// button of a bar with CBRS_FLYBY, the first pane of the status bar (the
// child AFX_IDW_STATUS_BAR) shows the prompt; afterwards the idle text comes
// back: the string AFX_IDS_IDLEMESSAGE when the program has one, else the
// text the pane showed before (unless the program wrote another one
// meanwhile, which then stays).  Tool tips of bars with CBRS_TOOLTIPS ask the
// frame for their text (TTN_NEEDTEXT), which is the tip part of the string.
// Strings are looked for from the module that created the frame on
// (Resources.h).
//
// A frame deletes itself after its window is destroyed.
#pragma once
#include "Wnd.h"
#include "Menu.h"
#include "CommandIds.h"

class CControlBar;
class CDockBar;
class CMiniDockFrameWnd;

// Frame styles beyond the window styles.
#define FWS_ADDTOTITLE 0x00008000L  // the title shows the active document's name
#define FWS_PREFIXTITLE 0x00004000L // the document's name comes before the frame's title

// Sent to every child of a frame when its document is ready (CView turns it
// into OnInitialUpdate).
#define WM_INITIALUPDATE 0x0364

// Shows a text in the first pane of a frame's status bar: wParam a command
// id (its prompt; AFX_IDS_IDLEMESSAGE the idle text) or lParam the text
// itself.  The result is the id shown before.
#define WM_SETMESSAGESTRING 0x0362

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

    // A frame of the given window class (null: the library's frame class).
    // The menu is loaded from the module that asks (Resources.h).
    virtual BOOL Create(const wchar_t* className, const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* parent = nullptr, const wchar_t* menuName = nullptr,
                        DWORD exStyle = 0, CCreateContext* context = nullptr, HINSTANCE caller = ClCallerModule());
    // A frame from the resources of one id: its menu, accelerators and icon,
    // and its title, the string's text up to the first "\n".
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr,
                           HINSTANCE caller = ClCallerModule());
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

    // Views and documents.
    CView* GetActiveView() const { return m_pViewActive; }
    // Makes the view the one that gets commands and the focus; with
    // `notify`, the old and the new view hear of it (OnActivateView).
    void SetActiveView(CView* view, BOOL notify = TRUE);
    // The frame whose view is active: this frame, or an MDI frame's active
    // child.
    virtual CFrameWnd* GetActiveFrame();
    // The document of the active frame's active view, or null.
    virtual CDocument* GetActiveDocument();
    // Creates the view of the context's class as a child with this id.
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    // The document is loaded: activates the first view, sends the initial
    // update to every child and, with `makeVisible`, shows the frame.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);
    virtual void ActivateFrame(int showCommand = -1);

    // Title: the frame's own (m_strTitle) and, with FWS_ADDTOTITLE, the
    // active document's: "title - document" (document first with
    // FWS_PREFIXTITLE).
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void UpdateFrameTitleForDocument(const wchar_t* documentName);
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(const wchar_t* title) { m_strTitle = title ? title : L""; }
    // The menu bar for the active document (MDI frames switch it).
    virtual void OnUpdateFrameMenu(HMENU alternative);

    // The prompt of a command: its string up to the first "\n" (empty when
    // the command has no string).
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // The window that shows the prompts (the status bar), or null.
    CWnd* GetMessageBar() const;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;
    void PreSubclassWindow() override;

    CFrameWnd* GetParentFrame() const { return CWnd::GetParentFrame(); }
    BOOL m_bAutoMenuEnable = TRUE; // items without handlers are greyed
    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr; // the menu of the frame itself (no document active)
    CString m_strTitle;
    UINT m_nIDHelp = 0;             // the resource id the frame was loaded from
    UINT m_nIdleFlags = 0;
    enum { idleLayout = 0x1, idleNotify = 0x2, idleTitle = 0x4, idleMenu = 0x8 };

    // Bars of the frame (docked or floating), in creation order.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    int GetControlBarCount() const;
    CControlBar* GetControlBarAt(int index) const;

protected:
    // LoadFrame's resources: the title (the string's first part) into
    // `title`, and a window class with the icon of the id.
    const wchar_t* LoadFrameResources(UINT resourceId, HINSTANCE caller, CString& title);
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    // The create context of a WM_CREATE (MDI children carry it inside their
    // MDICREATESTRUCT).
    virtual CCreateContext* ContextOf(LPCREATESTRUCT cs) const;
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnSetFocus(CWnd* oldWnd);
    void OnEnable(BOOL enable);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnDropFiles(HDROP drop);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMenuSelect(UINT itemId, UINT flags, HMENU menu);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // Tool tips that no handler answered get the tip part of the command's
    // string.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnToolTipText(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

    CView* m_pViewActive = nullptr;
    HINSTANCE m_hResourceModule = nullptr; // the module that created the frame

private:
    struct Bars;
    Bars* m_bars;
    struct Prompts;
    Prompts* m_prompts;
    // The `field`-th "\n"-separated part of the command's string.
    CString CommandStringPart(UINT id, int field) const;
    BOOL m_inRecalcLayout = FALSE;
    friend class CControlBar;
};
