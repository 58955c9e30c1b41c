// The cross-section ground-line view of the road-information bar: while a
// cross-section ground-line file is edited, the section under the caret
// (CurHdxSection) drawn around its centre-line point, the left and right
// ground lines with the point the caret stands in highlighted, a distance
// ruler below and a height ruler to the right, decimetre and metre grids,
// zoom (buttons, wheel) and pan (drag, scroll bars), and a read-out of the
// distance and height from the centre point in the status bar.
//
// The section's layout code is the editor's (0 undefined, 1 raised-rod, 2
// "ABS", 3 "ABS1"); an "ABS" section has no picture.  Points are kept as
// distance from the centre point (negative on the left) and height relative
// to it.  With zoom the pixels per metre:
//   x = (d - left distance) * zoom            d = x / zoom + left distance
//   y = plot bottom - (h - bottom height) * zoom - plot top
//   h = (plot height - y) / zoom + bottom height
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/ui/IconButton.h"
#include <vector>

struct sHdxSection;

class CWnd_ShowHDX : public CWnd
{
public:
    // Registers the class "WND_SHOWHDX_CLASSNAME" unless it exists; when
    // that fails: "注册横断面地面线子窗口失败!" and a resource exception.
    CWnd_ShowHDX();
    ~CWnd_ShowHDX() override;

    // A visible child; FALSE after "错误: 创建横断面地面线失败!".
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Reads the section record again (CurHdxSection unless told otherwise)
    // and repaints; busy while it runs.
    void ParseSection();
    BOOL IsBusy() const { return m_bBusy; }

    // The point number of a caret marker within a section's texts: +n the
    // n-th left point, -n the n-th right point, 0 none.
    static int PointOfCaret(const sHdxSection& section);

    int XOfDistance(double distance) const;
    int YOfHeight(double height) const;
    double DistanceAtX(int x) const;
    double HeightAtY(int y) const;

    // The context menu, its items checked and enabled by the state.
    BOOL BuildContextMenu(CMenu& menu);

    const CRect& PlotRect() const { return m_rcPlot; }
    const CRect& DistanceRulerRect() const { return m_rcDistanceRuler; }
    const CRect& HeightRulerRect() const { return m_rcHeightRuler; }

    tkxIconButton m_btnZoomIn;
    tkxIconButton m_btnZoomOut;
    tkxIconButton m_btnCentre;

    // What is drawn (not owned).
    const sHdxSection* m_pSection;

    BOOL m_bBusy;                    // 1 while the section is read
    int m_iCurrentPoint;             // +n left, -n right, 0 none
    int m_bDecimetreGrid;
    int m_bMetreGrid;
    int m_bTextNotes;
    int m_bAutoCentre;
    int m_iZoom;                     // pixels per metre
    double m_dLeftDistance;          // at the plot's left edge
    double m_dBottomHeight;          // at the plot's bottom edge
    int m_iLeftCount;
    int m_iRightCount;
    std::vector<double> m_LeftDistances;
    std::vector<double> m_LeftHeights;
    std::vector<double> m_RightDistances;
    std::vector<double> m_RightHeights;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnMButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMButtonUp(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnZoomIn();
    void OnZoomOut();
    void OnTextNotes();
    void OnDecimetreGrid();
    void OnMetreGrid();
    void OnAutoCentreButton();
    void OnAutoCentreMenu();
    DECLARE_MESSAGE_MAP()

private:
    void ClearPoints();
    // The left and right lists from the texts in the section's layout.
    void ReadPoints(const sHdxSection& section);
    void CentreOn(double distance, double height);
    void UpdateScrollRanges();
    void UpdateScrollPositions();
    void ToggleAutoCentre();

    void DrawGrid(CDC& dc);
    void DrawSection(CDC& dc);
    void DrawDistanceRuler(CDC& dc);
    void DrawHeightRuler(CDC& dc);

    int m_iAnchorX;
    int m_iAnchorY;
    CRect m_rcPlot;
    CRect m_rcDistanceRuler;
    CRect m_rcHeightRuler;
    CPoint m_ptMouse;
    bool m_bMouseKnown;

    CBrush m_brBackground;
    CBrush m_brRuler;
    CPen m_penDecimetre;
    CPen m_penMetre;
    CPen m_penRuler;
    CPen m_penGround;
    CPen m_penCurrent;
    CPen m_penMarker;
    CPen m_penAxis;
    CFont m_fontText;
    CFont m_fontDistance;
};
