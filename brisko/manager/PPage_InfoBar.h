// The first page of the road-information bar ("提示信息"), split in two by
// a bar the user drags: on the left the program's message log, where the
// main frame's info-window print appends its lines (the last 51 are kept
// and the newest is always in view); on the right a read-only preview of a
// data file chosen in the file tree, or the slope-template preview of the
// template chosen in the template library.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/templates/SlopePicture.h"

class CPPage_InfoBar : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPage_InfoBar)
public:
    CPPage_InfoBar();

    // Appends a line (dropped while the log box does not exist yet).
    void AddMessage(const CString& text);
    const CStringArray& Messages() const { return m_SMessages; }

    // The preview box shows the start of the data file: a header with the
    // path and the type, then at most 100 lines while the text is shorter
    // than 1,024 characters, and "[文件内容未结束]" when the file goes on.
    // A path of no data-file type, a missing file or one that cannot be
    // read gives its message instead.
    void PreviewFile(const CString& path);
    // The text preview is shown (mode 0) and the page redrawn.
    void ShowTextPreview();
    // The slope-template preview is shown (mode 1), the whole template in
    // view and no current line.
    void ShowSlopePreview();
    // The slope-template preview takes the template last chosen in the
    // library (the shared preview path and lines) and shows it whole.
    void UpdateSlopePreview();
    BOOL PreTranslateMessage(MSG* msg) override;

    // Where the splitter bar lies (page client coordinates) and whether it
    // is being dragged.
    const CRect& SplitterRect() const { return m_rcSplitter; }
    BOOL IsDragging() const { return m_bDragging; }
    int Mode() const { return m_iMode; }

    CEdit m_wndLog;
    CSlopePicture m_wndSlope;
    CEdit m_wndPreview;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    // Losing the mouse (another window took it, a message box came up)
    // ends a drag like letting go of the button.
    void OnCaptureChanged(CWnd* wnd);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateBox(CEdit& box, const RECT& rect);
    void Layout();
    // The drag's bar over the splitter, drawn inverted in the main window
    // (drawing it again takes it away).
    void InvertTracker();
    void EndDrag();
    // A child's rectangle in the page's client coordinates.
    CRect ChildRect(CWnd& child) const;

    int m_iMode;                     // 0 text preview, 1 slope-template preview
    short m_nRightMargin;
    short m_nMargin;
    CRect m_rcSplitter;              // left -1 until the first layout
    int m_iMinRightWidth;
    BOOL m_bDragging;
    int m_iTrackerX;                 // where the dragged bar is drawn
    CFont m_font;
    CStringArray m_SMessages;
};
