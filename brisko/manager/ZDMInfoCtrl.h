// The longitudinal profile view of the road-information bar: the current
// road's ground line (green) and grade line (red) with its vertical curves
// (cyan) and their labels, the break chain's marks, a station ruler below
// and an elevation ruler to the right, a read-out of the point under the
// mouse in the status bar, zoom (buttons, menu, wheel) and pan (drag, scroll
// bars), and a white cross on the ground point being edited in the editor.
//
// The view draws a profile and a break chain it does not own (the
// application's CurRoadProfile and CurRoadBreakChain unless told otherwise)
// and changes the profile only through the live edit of a ground point.
//
// Coordinates: stations are continuous chainage; the scale is metres of
// station per pixel, the vertical scale a tenth of it (ten-fold
// exaggeration).  With H the plot's height:
//   x = (s - left station) / scale             s = left station + x * scale
//   y = H - (z - bottom elevation) / (scale/10)  z = (H - y) * scale/10 + bottom
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/ui/IconButton.h"

class tkxBreakChain;
class tkxZDMInfo;

class CZDMInfoCtrl : public CWnd
{
public:
    // Registers the class "WND_SHOWZDM_CLASSNAME" unless it exists; when
    // that fails: "注册子窗口失败!" and a resource exception.
    CZDMInfoCtrl();
    ~CZDMInfoCtrl() override;

    // A visible child; FALSE after "错误: 创建纵断面地面线窗口失败!".
    virtual BOOL Create(const RECT& rect, CWnd* parent, UINT id);

    // Back to the data's start: the left station at the first station, the
    // bottom elevation a little below the first points, the scroll ranges
    // over the data; the marker at the lower left.  Nothing without a
    // window or without data.
    void ResetView();
    // The ground point of the line being edited, with its neighbours
    // (either may be NULL): the ground points between the neighbours are
    // replaced by it (a missing neighbour stands for the data's end when no
    // more than one point lies beyond); with move 1 the marker goes on it
    // and the view centres on it.
    void UpdateGroundPoint(const sGroundPoint* point, const sGroundPoint* previous, const sGroundPoint* next,
                           int move);
    // Puts the point (chainage, elevation) in the middle of the plot.
    void CenterOn(double station, double elevation);

    // The plot's coordinates.
    int XOfStation(double chainage) const;
    int YOfElevation(double elevation) const;
    double StationAtX(int x) const;
    double ElevationAtY(int y) const;
    // The status-bar read-out for a chainage.
    CString ReadoutText(double chainage) const;
    // The context menu (its first popup is shown), with the query enabled
    // when the profile has more than one grade point.
    BOOL BuildContextMenu(CMenu& menu);

    const CRect& PlotRect() const { return m_rcPlot; }
    const CRect& StationRulerRect() const { return m_rcStationRuler; }
    const CRect& ElevationRulerRect() const { return m_rcElevationRuler; }

    // Buttons.
    tkxIconButton m_btnZoomIn;
    tkxIconButton m_btnZoomOut;

    // What is drawn (not owned).
    const tkxBreakChain* m_pBreakChain;
    tkxZDMInfo* m_pProfile;

    // The view.
    int m_bViewGrid;                 // 1: the grid is drawn
    double m_dMarkerStation;         // the cross on the edited ground point
    double m_dMarkerElevation;
    float m_fScale;                  // metres of station per pixel, 0.02 .. 5
    double m_dLeftStation;           // chainage at the plot's left edge
    double m_dBottomElevation;       // elevation at the plot's bottom edge
    double m_dFirstStation;          // the data's extent
    double m_dLastStation;
    double m_dLowestElevation;       // widened by 10 m each way
    double m_dHighestElevation;

protected:
    void PreSubclassWindow() override;

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
    void OnInquire();
    void OnUpdateInquire(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateGdiObjects();
    void Layout();
    bool HasData() const;
    int PlotHeight() const { return m_rcPlot.Height(); }
    void StartDrag(CPoint point);
    void EndDrag(CPoint point);
    // Moves the view by the mouse movement since the anchor; `limited`
    // keeps the left station within 5000 m of the data.
    void Pan(CPoint point, bool limited);
    void UpdateScrollPositions();

    void DrawPlot(CDC& dc);
    void DrawGrid(CDC& dc);
    void DrawGroundLine(CDC& dc);
    void DrawGradeLine(CDC& dc);
    void DrawCurve(CDC& dc, int i);
    void DrawBreakChain(CDC& dc);
    void DrawMarker(CDC& dc);
    void DrawStationRuler(CDC& dc);
    void DrawElevationRuler(CDC& dc);

    CRect m_rcClient;
    CRect m_rcPlot;
    CRect m_rcStationRuler;
    CRect m_rcElevationRuler;
    CBrush m_brBackground;
    CPen m_penFineGrid;
    CPen m_penMainGrid;
    CPen m_penMarker;
    CPen m_penGround;
    CPen m_penCurve;
    CPen m_penGrade;
    CPen m_penRuler;
    CBrush m_brRuler;
    CFont m_fontLabel;
    int m_iAnchorX;                  // drag anchor (client pixels)
    int m_iAnchorY;
    CPoint m_ptMouse;                // the last mouse position in the window
    bool m_bMouseKnown;
};
