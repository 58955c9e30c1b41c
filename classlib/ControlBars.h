// Control bars and the docking framework of CFrameWnd.
//
// A CControlBar sits along an edge of its frame: directly as the frame's
// child, or docked in one of the frame's dock bars (CDockBar, children of
// the frame with the ids AFX_IDW_DOCKBAR_TOP/LEFT/RIGHT/BOTTOM), or
// floating in a mini frame (CMiniDockFrameWnd, whose own dock bar has the id
// AFX_IDW_DOCKBAR_FLOAT).  The frame's layout asks each bar for its size:
// CalcFixedLayout(stretch, horz) for fixed bars, CalcDynamicLayout(length,
// mode) for bars with CBRS_SIZE_DYNAMIC, with the LM_* mode bits.  A bar's
// command state is updated in the idle pass through OnUpdateCmdUI.
//
// Tool tips and fly-by: tool tips of a bar with CBRS_TOOLTIPS ask its frame
// for their texts (a tool bar without it shows none); on a bar with CBRS_FLYBY the
// frame's status bar shows the prompt of the command under the mouse
// (CommandAtPoint) until the mouse leaves it.
#pragma once
#include "Frame.h"
#include "Gdi.h"
#include <vector>

// Bar styles.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

class CDockContext;

class CLASSLIB_API CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;
    // Removes the edges of the bar style's border bits from `rect` and
    // draws them.
    virtual void DrawBorders(CDC* dc, CRect& rect);
    virtual void CalcInsideRect(CRect& rect, BOOL horz) const;
    // The command of the element at a client point, 0 where there is none.
    virtual UINT CommandAtPoint(CPoint point) const;

    void SetBarStyle(DWORD style);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void EnableDocking(DWORD dockStyle);
    BOOL IsFloating() const;
    BOOL IsVisible() const;
    CFrameWnd* GetDockingFrame() const;
    int GetCount() const { return 0; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;      // CBRS_* bits
    DWORD m_dwDockStyle = 0;  // where the bar may dock
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;
    BOOL m_bAutoDelete = FALSE;
    int m_cxLeftBorder = 6, m_cxRightBorder = 6, m_cyTopBorder = 2, m_cyBottomBorder = 2;

protected:
    // The command whose prompt the bar shows, 0 for none.
    UINT m_nFlyByID = 0;
    void ShowFlyBy(UINT id);
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    DECLARE_MESSAGE_MAP()
    friend class CFrameWnd;
    friend class CDockBar;
};

// The docked bars along one edge of a frame, or the holder of a floating
// bar in a mini frame.  Along the top and bottom edges the bars lie in rows
// (along the left and right edges, in columns): a row with one bar stretches
// it along the edge; bars sharing a row keep their own lengths, side by side
// in the order of their places.
class CLASSLIB_API CDockBar : public CControlBar
{
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL floating = FALSE);

    BOOL Create(CWnd* parent, DWORD style, UINT id);
    // Without a rectangle the bar gets a row of its own after the others.
    // With one (screen coordinates: where the bar is wanted), it joins the
    // row under the rectangle's top-left corner at that place along the row,
    // or a new row before or after the others.
    void DockControlBar(CControlBar* bar, LPCRECT rect = nullptr);
    void RemoveControlBar(CControlBar* bar);
    int GetDockedCount() const { return static_cast<int>(m_bars.size()); }
    int GetDockedVisibleCount() const;
    // Row by row, in the order of their places within a row.
    CControlBar* GetDockedBar(int index) const { return m_bars[static_cast<size_t>(index)].bar; }
    int GetDockedRow(int index) const { return m_bars[static_cast<size_t>(index)].row; }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    // Places the docked bars inside the dock bar's client area.
    void LayoutBars();

    BOOL m_bFloating;

protected:
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    struct Docked {
        CControlBar* bar;
        int row;   // rows (columns) counted from the frame's edge inwards
        int place; // where the bar was wanted along its row, pixels
    };
    CSize BarSize(CControlBar* bar, BOOL stretch, BOOL horz) const;
    int RowCount() const;
    int VisibleInRow(int row) const;
    int RowThickness(int row, BOOL horz) const;
    void Normalise(); // rows without bars go; bars in row and place order
    std::vector<Docked> m_bars;
};

// Moving a bar between its dock bars and a floating mini frame.
class CLASSLIB_API CDockContext
{
public:
    explicit CDockContext(CControlBar* bar);
    virtual ~CDockContext() = default;

    // Docked bars float at their place; floating bars return to the dock bar
    // they came from.
    virtual void ToggleDocking();
    // Follows the mouse until the button goes up, showing where the bar
    // would go with a tracking rectangle (thin: it docks; thick: it floats);
    // the bar then docks at the frame edge under the pointer, in the row under
    // the rectangle, or floats where the rectangle was.  The rectangle is the
    // bar's window, or a floating bar's mini frame.  Escape cancels.  A
    // WM_QUIT that arrives meanwhile ends the drag and is posted again.
    virtual void StartDrag(CPoint screenPoint);

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    UINT m_uMRUDockID = 0;
    CPoint m_ptMRUFloatPos{-1, -1};

protected:
    // Inverts the frame of the rectangle on the screen (drawing it again
    // takes it away).
    virtual void DrawTracker(const CRect& rect, BOOL floating);

private:
    // The dock bar of the frame edge near the point, or 0 to float.
    UINT DockBarAt(CPoint screenPoint) const;
    void MoveTracker(const CRect& rect, BOOL floating);
    void HideTracker();
    CRect m_rectTracker;
    BOOL m_bTrackerFloating = FALSE;
    BOOL m_bTrackerShown = FALSE;
};

class CLASSLIB_API CMiniDockFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();
    virtual BOOL Create(CWnd* parent, DWORD barStyle);
    void RecalcLayout(BOOL notify = TRUE) override;
    // Sizes the frame around its bar's floating size.
    void FitToBar();

    CDockBar m_wndDockBar;

protected:
    bool m_fitting = false;
    // The bar the frame holds, with its dock context; null when there is none.
    CControlBar* DraggableBar() const;
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    // The caption is the bar's: a double-click docks the bar where it was
    // docked before, a press drags it (docked at a frame edge it is let go
    // over, floating where it is let go elsewhere).
    void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    void OnNcLButtonDown(UINT hitTest, CPoint point);
    DECLARE_MESSAGE_MAP()
};

#include "ToolBar.h"
#include "StatusBar.h"
