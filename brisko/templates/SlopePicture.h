// The slope-template preview: a child window that draws a template's slope
// lines (CSlopeLine) in their sketch plane, with a decimetre and metre grid,
// the symbols and labels of each line and the dimension of its end rule,
// and lets the user pan (left or middle button), zoom (wheel, 4 to 100
// pixels per metre) and scroll.  It sits in the template editor and on the
// information page; the owner sets the list, the current line and the path
// shown in the title line, then calls ResetView or repaints.
#pragma once
#include "brisko/templates/SlopeLine.h"

// The lines of the template last chosen in the template-library tree and
// its path, shown by the information page's preview.
extern CSlopeLineArray SlopePreviewLines;
extern CString SlopePreviewPath;

// The gradient label the preview writes on a line: "1: n" or "n %" by its
// label style.  A line fixed by height or by width shows the gradient of its
// sketch, n = width / height; a level one has no label.
CString SlopeGradientLabel(const CSlopeLine& line);

// The window class a dialog template may name for the preview.
extern const wchar_t kSlopeBrowseClass[]; // "WND_SLOPEBROWSE_CLASSNAME"

class CSlopePicture : public CWnd
{
public:
    CSlopePicture();
    ~CSlopePicture() override;

    // FALSE after "错误: 创建边坡模板浏览器失败!".
    BOOL Create(const RECT& rect, DWORD style, CWnd* parent, UINT id);
    // The first view of the template, when the window is shown: the
    // subgrade edge near the left edge and height 0 in the middle; then the
    // scroll ranges are set anew and the window repainted.
    void ResetView();
    // The first view with the whole template in it: the largest scale
    // (within 4 to 100 pixels per metre) at which everything DrawnExtent
    // covers fits, with a small margin, clear of the title line, centred.
    // What does not fit even at 4 keeps the template's start (the subgrade
    // edge) in view.  With no lines the first view of ResetView.
    void FitView();
    // The box, in client pixels at the present view, of all that is drawn
    // for the template: the subgrade mark, the lines, their labels, marks,
    // file names and dimensions (not the grid and the title line); empty
    // with no lines.
    CRect DrawnExtent();

    // World (metres, y up) to client pixels and back.
    CPoint ToScreen(double x, double y) const;
    void ToWorld(CPoint point, double& x, double& y) const;
    // Draws the whole picture into a DC of the client's size.
    void Draw(CDC* dc);

    CSlopeLineArray* m_pSlopeLines; // not owned; may be null
    short m_nCurLine;               // the line drawn as current, -1 none
    int m_bShowAllSymbols;          // symbols of every line, else of the current one
    int m_bShowDmGrid;
    int m_bShowMGrid;
    CString m_STemplatePath;
    CRect m_rcClient;
    CPoint m_ptLast;                // the last mouse position of a drag
    HICON m_hIcons[16];
    int m_iScale;                   // pixels per metre
    double m_rOriginX;              // world point at the client's bottom-left
    double m_rOriginY;

    enum { kMinScale = 4, kMaxScale = 100 };

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnSymbolsCommand();
    void OnDmGridCommand();
    void OnMGridCommand();
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnMButtonDownMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMButtonUpMessage(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnCaptureChanged(CWnd* wnd);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void BeginDrag(CPoint point);
    void EndDrag();
    void SetScrollRanges();
    void SyncScrollPositions();
    void Scroll(int bar, UINT code, UINT pos);
    void DrawGrid(CDC* dc);
    void DrawLine(CDC* dc, CSlopeLine& line, bool current);
    void DrawSymbols(CDC* dc, const CSlopeLine& line, bool current, CPen* pen);
    void DrawEndRule(CDC* dc, const CSlopeLine& line, bool current);
    void DrawDimension(CDC* dc, sSketchPoint a, sSketchPoint b, double value, bool current);
    void DrawTemplate(CDC* dc);
    void DrawIconAt(CDC* dc, int index, int x, int y);
    void DrawSegment(CDC* dc, CPoint a, CPoint b);
    void DrawLabelText(CDC* dc, const CString& text, int x, int y, UINT align, COLORREF colour, int height, int angle,
                       const wchar_t* face);

    bool m_dragging;
    // While DrawnExtent measures: what would be drawn is added here, and
    // nothing is drawn.
    CRect* m_pMeasure;
    CBrush m_brBack;
    CPen m_pens[10];
    CFont m_fontTitle;
    CFont m_fontSmall;
};
