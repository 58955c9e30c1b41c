// CWnd: a window object bound to its HWND.
//
// Binding.  Every window created through a CWnd, or subclassed by one, is
// entered in the thread's handle map (a permanent object) and gets the
// library's window procedure; the procedure it had before stays the "super"
// procedure that DefWindowProc calls.  FromHandle on a window that has no
// object of its own gives a temporary object, freed in the idle pass.
//
// Creation.  CreateEx remembers the object as the thread's "window being
// created" and sets a CBT hook; the hook binds the object when the system
// creates the window, before any message reaches it, so the object sees its
// own WM_NCCREATE and WM_CREATE, also for system classes (BUTTON, EDIT, ...).
//
// Messages.  WindowProc hands a message to OnWndMsg, which routes commands
// (OnCommand), notifications (OnNotify), reflection of a control's messages
// back to the control (OnChildNotify) and everything else through the
// message map; what nothing handles goes to DefWindowProc.  A handler that
// wants the default processing calls Default().
#pragma once
#include "CmdTarget.h"
#include "String.h"
#include "Types.h"
#include <shellapi.h>
#include <guiddef.h>

class CDC;
class CFont;
class CMenu;
class CFrameWnd;
class CScrollBar;
class CDataExchange;
class CDocument;
class CDocTemplate;
class CView;
class COleControlSite;
struct CRuntimeClass;
struct IUnknown;

// What a frame and its views are made of, handed down through window
// creation (CREATESTRUCT::lpCreateParams): the view class to create, the
// document the new views show, the template that makes the document's frames.
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// Window flags of the library (m_nFlags).
enum : UINT {
    WF_CONTINUEMODAL = 0x0001, // the modal loop keeps running
    WF_MODALLOOP = 0x0002,     // a modal loop runs for this window
    WF_TEMPORARY = 0x0004,     // a temporary object from FromHandle
};

class CLASSLIB_API CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hwnd); // a temporary object
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // Both answer null for a null object.
    operator HWND() const { return ClIsNull(this) ? nullptr : m_hWnd; }
    HWND GetSafeHwnd() const { return ClIsNull(this) ? nullptr : m_hWnd; }
    bool operator==(const CWnd& other) const { return m_hWnd == other.m_hWnd; }
    bool operator!=(const CWnd& other) const { return m_hWnd != other.m_hWnd; }

    // Handle map.
    static CWnd* FromHandle(HWND hwnd);          // permanent or temporary object; null for null
    static CWnd* FromHandlePermanent(HWND hwnd); // the window's own object, or null
    static void DeleteTempMap();                 // frees the temporary objects (idle pass)
    BOOL Attach(HWND hwnd);                      // binds without subclassing
    HWND Detach();

    // Creation and destruction.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // A child window; `context` goes to the new window's WM_CREATE (views
    // take their document from it).
    virtual BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, void* createParam = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                  int cx, int cy, HWND parent, HMENU idOrMenu, void* createParam = nullptr);
    virtual BOOL DestroyWindow();
    // Called after the window's last message; self-deleting windows delete
    // themselves here.
    virtual void PostNcDestroy();

    // Subclassing an existing window.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow();

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A message that this control sent its parent, reflected back to it;
    // TRUE when the control handled it (the parent then does not).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static BOOL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Calls PreTranslateMessage on msg's window and each parent up to
    // `stop` (included) or the top; TRUE when one took the message.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    LRESULT Default();                      // default processing of the current message
    static const MSG* GetCurrentMessage();  // the message being handled

    // Command update of child controls (dialogs, bars).
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL onlyPermanent = FALSE);

    // Modal loop (dialogs and modal windows).
    int RunModalLoop(DWORD flags = 0);
    virtual BOOL ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }
    void EndModalLoop(int result);

    // Data exchange (dialogs and form-like windows).
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Attributes.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id)); }
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    int GetWindowText(wchar_t* buffer, int max) const { return ::GetWindowTextW(m_hWnd, buffer, max); }
    void GetWindowText(CString& text) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON icon, BOOL big);
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, wnd->GetSafeHwnd()); }
    BOOL IsWindow() const { return !ClIsNull(this) && ::IsWindow(m_hWnd); } // FALSE for a null object

    // Placeholders for SetWindowPos's z-order argument.
    static const CWnd wndTop, wndBottom, wndTopMost, wndNoTopMost;

    // Size and position.
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const;
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT r) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

    // Painting.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rect = nullptr, HRGN rgn = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CDC* GetDC();
    CDC* GetWindowDC();
    CDC* GetDCEx(HRGN clip, DWORD flags);
    int ReleaseDC(CDC* dc);
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }

    // Relatives.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent->GetSafeHwnd())); }
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetParentOwner() const; // nearest ancestor or owner that is not a child window
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    void GetDlgItem(int id, HWND* hwnd) const { *hwnd = ::GetDlgItem(m_hWnd, id); }
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    CWnd* ChildWindowFromPoint(POINT p) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, p)); }
    static CWnd* FindWindow(const wchar_t* className, const wchar_t* windowName)
    {
        return FromHandle(::FindWindowW(className, windowName));
    }

    // Dialog-item helpers.
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
    }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }

    // Messages, timers, menus.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr)
    {
        return ::SetTimer(m_hWnd, id, elapse, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL revert) const;
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);

    // Scrolling.
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    void ScrollWindow(int dx, int dy, LPCRECT rect = nullptr, LPCRECT clip = nullptr)
    {
        ::ScrollWindow(m_hWnd, dx, dy, rect, clip);
    }
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }
    void DragAcceptFiles(BOOL accept = TRUE);

    // ActiveX controls (ControlHost.h): makes this window, a child of
    // `parent` at `rect`, the host of a new control of the class, active in
    // place; FALSE when hosting is not enabled or the control cannot be made
    // (the window is then gone again).
    BOOL CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT id);
    // The hosted control (no reference added), or null.
    IUnknown* GetControlUnknown() const;
    COleControlSite* m_pCtrlSite = nullptr; // while this window hosts a control

    // Default handlers: each passes its message to Default().
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnNcDestroy();
    void OnClose();
    void OnPaint();
    void OnNcPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    LRESULT OnNcHitTest(CPoint point);
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    void OnWindowPosChanged(WINDOWPOS* wp);
    void OnWindowPosChanging(WINDOWPOS* wp);
    void OnGetMinMaxInfo(MINMAXINFO* mmi);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnNcLButtonDown(UINT hitTest, CPoint point);
    void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    void OnCaptureChanged(CWnd* wnd);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnTimer(UINT_PTR id);
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor); // reflects to the control, then default
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    UINT OnGetDlgCode();
    void OnEnable(BOOL enable);
    void OnShowWindow(BOOL show, UINT status);
    void OnSysColorChange();
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnDropFiles(HDROP drop);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);

    WNDPROC m_pfnSuper = nullptr; // the procedure the window had before the library's
    UINT m_nFlags = 0;
    int m_nModalResult = 0;

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK ClWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK ClCbtHook(int, WPARAM, LPARAM);
    BOOL DispatchOwnerDraw(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    CMenu* MenuOfMeasuredItem(UINT id) const;
    void TrackOpenMenus(UINT message, WPARAM wParam);
};

LRESULT CALLBACK ClWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The thread's window being created: bound by the CBT hook at the next
// window creation.  CreateEx and dialog creation use it.
CLASSLIB_API void AfxHookWindowCreate(CWnd* wnd);
CLASSLIB_API BOOL AfxUnhookWindowCreate(); // FALSE when the window was never bound

// A window class with these traits, registered once; the name stays valid
// for the life of the process.  Throws CResourceException* on failure.
CLASSLIB_API const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                                HBRUSH background = nullptr, HICON icon = nullptr);
// The class the library uses when CreateEx gets no class name.
#define CL_WND_CLASS L"ClWnd"


// The DC a paint handler draws into while a window renders itself for
// WM_PRINTCLIENT (CPaintDC uses it in place of BeginPaint); null otherwise.
CLASSLIB_API HDC ClPrintingDC();

#include "MessageLoop.h"
#include "Resources.h"
