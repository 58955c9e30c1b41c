// tkxControlBar: a resizable docking bar.  It docks at any side of its frame
// and keeps one size per docking orientation plus a floating size; a docked
// bar is resized by dragging the 5-pixel sizing edge on its inner side, draws
// a two-line gripper and carries two small flat icon buttons (hide the bar,
// toggle docked/floating) with tool tips.  The suite status bar derives from
// it, and so do the suite programs' tabbed docking bars.
//
// Docked or floating follows the control id of the parent window, read again
// on every position change: a bar inside one of the frame's four dock bars
// is docked there, anything else counts as floating.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/ui/BarSizing.h"
#include "corvane/ui/IconButton.h"

class CORVANE_API tkxControlBar : public CControlBar
{
    DECLARE_DYNAMIC(tkxControlBar)
public:
    // Command ids of the two buttons.
    enum { ID_BUTTON_CLOSE = 1000, ID_BUTTON_TOGGLE = 1001 };

    tkxControlBar();
    ~tkxControlBar() override;

    // Creates the bar's window under `parent`: the bar style is `style` masked
    // with CBRS_ALL, the size becomes the floating, vertical and horizontal
    // size, and the window gets `style` masked to WS_CHILD | WS_VISIBLE.
    // Non-zero on success.
    using CControlBar::Create;
    virtual BOOL Create(CWnd* parent, UINT id, const wchar_t* title, CSize size, DWORD style);
    // True unless the bar sits in one of the frame's four dock bars.
    virtual BOOL IsFloating() const;
    BOOL IsHorzDocked() const;
    BOOL IsVertDocked() const;

    // Gripper and buttons; the buttons flag counts when the window is made.
    void ShowFrameStuff(int gripper, int buttons);
    void SetMenuID(UINT id) { m_nMenuID = id; }
    UINT GetMenuID() const { return m_nMenuID; }
    // Stores the list (not owned) and returns the previous one.
    CImageList* SetBtnImageList(CImageList* list);

    // Client rectangles of the close button (the toggle button lies next to
    // it) and of the gripper.
    CRect GetButtonRect() const;
    CRect GetGripperRect() const;

    void DrawGripper(CDC* dc);
    // The drag of the sizing edge.
    void StartTracking();
    void StopTracking(BOOL accept);
    void OnInvertTracker(const CRect& rect);
    // A client point in window coordinates (converted in place).
    CPoint& ClientToWnd(CPoint& point) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Settings and state (see the table in the class's documentation).
    int m_bDblClkToggle;     // 0: double clicks on the bar are ignored
    int m_bInFrameChange;    // set while the bar forces its frame change
    int m_bTracking;         // a drag of the sizing edge runs
    int m_bShowGripper;
    int m_bShowButtons;
    int m_iEdgeWidth;        // width of the sizing edge, pixels
    UINT m_nMenuID;          // context menu resource, 0 = none
    int m_nDockBarID;        // control id of the parent dock bar
    CSize m_szMin;
    CSize m_szHorz;          // docked at top or bottom: its height counts
    CSize m_szVert;          // docked at left or right: its width counts
    CSize m_szFloat;
    CRect m_rcBorder;        // the sizing edge, window coordinates
    CRect m_rcTracker;       // the drag feedback, window coordinates
    CPoint m_ptOld;          // centre of the sizing edge when the drag began
    tkxIconButton m_btnClose;
    tkxIconButton m_btnToggle;
    CImageList* m_pImageList;
    CToolTipCtrl m_ToolTip;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    void OnNcPaint();
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    LRESULT OnNcHitTest(CPoint point);
    void OnWindowPosChanged(WINDOWPOS* wp);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnNcLButtonDown(UINT hitTest, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnCaptureChanged(CWnd* wnd);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnButtonClose();
    void OnButtonMinimize();
    void OnUpdateButtonClose(CCmdUI* ui);
    void OnUpdateButtonMinimize(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    CSize m_szLastWindow;    // the window size at the last position change
    BarSizing::Tracker Sizing(); // the sizing drag on this bar's members
};
