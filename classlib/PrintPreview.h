// The print preview: a view's pages as they will print, shown inside the
// program's main frame.
//
// While the preview is on, the frame shows only the preview: its bars, its
// panes (the MDI client with the document windows) and the floating bars
// are hidden and its menu is taken away; a bar of buttons (print, next and
// previous page, one or two pages, zoom in and out, close) sits above the
// pages.  Closing the preview, or closing the frame while it shows, brings
// all of it back as it was.
//
// Each page is drawn by the view's own OnPrepareDC and OnPrint, into an
// enhanced metafile made on the printer's DC (so the view measures with the
// printer's resolution and sees a DC flagged as printing, with m_bPreview in
// its CPrintInfo); the page is then played into its place on the screen at
// the preview's scale.  Pages are drawn once and kept while the preview
// shows.  A document whose length is not known (maximum page 0xFFFF) has as
// many pages as OnPrepareDC lets print.
#pragma once
#include "View.h"
#include "ControlBars.h"
#include "Print.h"
#include <map>

// The preview's commands.
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301 // one page / two pages
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306
#define AFX_ID_PREVIEW_PAGETEXT 0xE307 // the bar's "page n of m" text
#define AFX_IDW_PREVIEW_BAR 0xE350

class CPreviewView;

// The bar of the preview's buttons.
class CLASSLIB_API CPreviewBar : public CControlBar
{
    DECLARE_DYNAMIC(CPreviewBar)
public:
    BOOL Create(CFrameWnd* frame, CPreviewView* preview);
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    CPreviewView* m_pPreview = nullptr;
    CFont m_font;
};

class CLASSLIB_API CPreviewView : public CView
{
    DECLARE_DYNAMIC(CPreviewView)
public:
    // Shows the pages of `view` in `frame`, which must show no preview yet.
    // The preview takes `info` (its dialog holds the printer's DC) and runs
    // the view's OnBeginPrinting now and OnEndPrinting when it closes.  FALSE
    // (and `info` deleted) when it cannot be shown.
    static BOOL Show(CFrameWnd* frame, CView* view, CPrintInfo* info);
    // The preview a frame shows, or null.
    static CPreviewView* Of(CFrameWnd* frame);

    // Ends the preview and gives the frame back; the preview object goes.
    void Close();

    // The pages: the document's count, or 0 while it is not known yet.
    UINT GetPageCount() const { return m_pageCount; }
    UINT GetCurrentPage() const { return m_page; } // the first page shown
    UINT GetPagesShown();                          // 1, or 2 side by side
    int GetZoom() const { return m_zoom; }          // 0: whole pages fit the window; 1, 2: larger
    CView* GetPrintView() const;                    // the view whose pages show (null once it went)
    CString GetPageText();                          // as the bar shows it

    void OnDraw(CDC* dc) override;

protected:
    CPreviewView() = default;
    ~CPreviewView() override;

    void OnNextPage();
    void OnPrevPage();
    void OnNumPages();
    void OnZoomIn();
    void OnZoomOut();
    void OnPreviewPrint();
    void OnPreviewClose();
    void OnUpdateNextPage(CCmdUI* ui);
    void OnUpdatePrevPage(CCmdUI* ui);
    void OnUpdateNumPages(CCmdUI* ui);
    void OnUpdateZoomIn(CCmdUI* ui);
    void OnUpdateZoomOut(CCmdUI* ui);
    void OnUpdatePageText(CCmdUI* ui);
    void OnSize(UINT type, int cx, int cy);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    BOOL Start(CFrameWnd* frame, CView* view, CPrintInfo* info);
    // The page drawn by the view, or null when the document has no such page.
    HENHMETAFILE Page(UINT page);
    BOOL PageExists(UINT page) { return page >= m_pInfo->GetMinPage() && Page(page) != nullptr; }
    void SetPage(UINT page);
    void Changed(); // the pages shown or their scale changed
    CSize PageSize() const;  // a page in printer pixels
    double Scale();          // screen pixels per printer pixel
    CSize ContentSize();     // the pages with their margins, on the screen
    void UpdateScrollBars();
    void ScrollBy(int bar, int code, int pos);
    void EndPrinting();

    CFrameWnd* m_pFrame = nullptr;
    CView* m_pPrintView = nullptr;
    HWND m_hPrintView = nullptr;
    CPrintInfo* m_pInfo = nullptr;
    CDC m_printerDC;
    CPreviewBar* m_pBar = nullptr;
    std::map<UINT, HENHMETAFILE> m_pages;
    UINT m_pageCount = 0;
    BOOL m_countKnown = FALSE;
    UINT m_page = 1;
    UINT m_pagesWanted = 1;
    int m_zoom = 0;
    CPoint m_scroll;
    // What the frame showed before: the windows hidden, its menu, its pane
    // and the view that was active in it.
    std::vector<HWND> m_hidden;
    HMENU m_hMenu = nullptr;
    HWND m_hPane = nullptr;
    CView* m_pFrameView = nullptr;
    BOOL m_ended = FALSE;
};
