// tkxDynaInfoBar: the dynamic information bar, a panel that slides in from
// the right edge of a host window (8 pixels every 10 ms, up to 208 pixels
// wide), shows a title band, named groups of label/value rows and a few
// lines of information text, and slides out again on request.  One bar per
// process, held by the library and driven only through the exported
// functions below; the library's application object destroys it when the
// library shuts down.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/ui/BarSizing.h"

// One row of a group; flag kInfoHighlight marks a highlighted row.
struct CORVANE_API sInfoItem {
    CString m_SName;
    CString m_SValue;
    DWORD m_dwFlags = 0;
};

// One group, passed by value.  Only the first m_nCount items are shown
// (never more than the 30 the group holds).
struct CORVANE_API sInfoGroup {
    enum { kMaxItems = 30 };
    CString m_SName;
    short m_nCount = 0;
    sInfoItem m_Items[kMaxItems];
};

const DWORD kInfoHighlight = 0x20;
// Information kind that shows the text in black (any other: dark red).
const DWORD kInfoPlain = 64;

class CORVANE_API tkxDynaInfoBar : public CControlBar
{
    DECLARE_DYNAMIC(tkxDynaInfoBar)
public:
    tkxDynaInfoBar();
    ~tkxDynaInfoBar() override;

    // Creates the window under `parent` at (0, 0, 220, 200), with `style`
    // masked to WS_CHILD | WS_VISIBLE; the size becomes every stored size.
    using CControlBar::Create;
    virtual BOOL Create(CWnd* parent, UINT id, const wchar_t* title, CSize size, DWORD style);
    virtual BOOL IsFloating() const;

    // Slide state values.
    enum { kHidden = -1, kSlidingIn = 0, kShown = 1 };
    enum { kTimerSlideIn = 1, kTimerSlideOut = 2 };
    void SlideIn();
    void SlideOut();

    // Replaces the information lines: the text cut at its line breaks.
    void SetInfo(const CString& text, DWORD kind);
    void AddGroup(const sInfoGroup& group, int clear);
    void RemoveAllGroups();
    int GetGroupCount() const { return static_cast<int>(m_Groups.GetCount()); }

    // The drag of the sizing edge.
    void StartTracking();
    void StopTracking(BOOL accept);
    void OnInvertTracker(const CRect& rect);
    CPoint& ClientToWnd(CPoint& point) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    int m_bInFrameChange;
    int m_bTracking;
    int m_iEdgeWidth;          // sizing edge and inner margin
    int m_iBottomMargin;       // kept below the information text
    int m_nDockBarID;
    CSize m_szMin;
    CSize m_szHorz;
    CSize m_szVert;
    CSize m_szFloat;
    CRect m_rcClient;          // as last painted
    CRect m_rcBorder;          // the sizing edge, inside the client area
    CRect m_rcTracker;
    CRect m_rcPosition;        // in the parent's client coordinates while sliding
    CPoint m_ptOld;
    CPen m_penWhite;
    CPen m_penGrid;
    CBrush m_brBack;
    CBrush m_brGroup;
    CBrush m_brHiLabel;
    CBrush m_brHiValue;
    CFont m_fontTitle;
    CFont m_fontText;
    short m_nSlideState;
    CBitmap m_bmpLogo;
    CBitmap m_bmpTitle[3];     // left end, middle, right end
    CBitmap m_bmpGroup[3];     // left end, middle, right end
    CBitmap m_bmpButton;       // loaded, not drawn
    CString m_STitle;
    CList<sInfoGroup*, sInfoGroup*> m_Groups; // owned, in insertion order
    CStringArray m_SInfoLines;
    DWORD m_dwInfoKind;

protected:
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int cx, int cy);
    void OnWindowPosChanged(WINDOWPOS* wp);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnNcLButtonDown(UINT hitTest, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnCaptureChanged(CWnd* wnd);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    int DrawGroup(CDC& dc, CDC& source, const sInfoGroup& group, int left, int top, int right);

private:
    BarSizing::Tracker Sizing(); // the sizing drag on this bar's members
};

// Creates the process's bar, hidden, as a child of the host window (1), or
// answers 1 at once when it exists; 0 when it cannot be made.
CORVANE_API int WINAPI tkx_CreateTavixDynaInfoBar(HWND parent);
// Appends a copy of the group (clear 1 removes the groups first); shown with
// the next paint.
CORVANE_API void WINAPI tkx_AddGroupToTvDynaInfoBar(sInfoGroup group, int clear);
// The information text and its kind (64 black, else dark red); redraw 1
// repaints.
CORVANE_API void WINAPI tkx_SetTvDynaInfoBar_Info(CString text, DWORD kind, int redraw);
// The title; a hidden bar slides in at `top` (the host's client
// coordinates) with the given height.
CORVANE_API void WINAPI tkx_UpdateTvDynaInfoBar(const wchar_t* title, int top, int height);
// A bar that is not hidden slides out.
CORVANE_API void WINAPI tkx_HideTvDynaInfoBar();

// Destroys the process's bar when it exists (the application object's
// shutdown calls it).
void DestroyDynaInfoBar();
