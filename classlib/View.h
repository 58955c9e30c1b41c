// CView: a window that shows a document inside a frame.
//
// A view is created by its frame from the run-time class in the create
// context and joins the context's document.  When the document is loaded,
// the frame sends WM_INITIALUPDATE and the view's OnInitialUpdate runs
// (by default OnUpdate, which repaints).  UpdateAllViews of the document
// calls OnUpdate of each view.  Painting calls OnPrepareDC, then OnDraw.
//
// The frame's active view gets the commands first; what it does not handle
// goes on to its document.  A click into a view makes it its frame's active
// view; the view that becomes active, or stops being active, hears of it in
// OnActivateView (the new active view takes the focus while its top-level
// window is the active one).
//
// Printing and drag and drop are declared here; their bodies are in
// ViewPrint.cpp.
//
// A view deletes itself when its window is destroyed.
#pragma once
#include "Wnd.h"
#include "Controls.h"

class CDocument;
class CFrameWnd;
class CPrintInfo;
class COleDataObject;
typedef DWORD DROPEFFECT;

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CLASSLIB_API CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate();
    // Called for the view that becomes active (activate TRUE, `activateView`
    // this view) and for the one that stops being active.
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    virtual void OnActivateFrame(UINT state, CFrameWnd* frame);
    // The document changed (UpdateAllViews); the default repaints the view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnDraw(CDC* dc);

    // Printing.  The print command runs OnPreparePrinting (which calls
    // DoPreparePrinting for the print dialog), OnBeginPrinting, for each
    // page OnPrepareDC and OnPrint, then OnEndPrinting.  Without a printer
    // the user is told so and nothing prints.  The default OnPrepareDC
    // prints one page of a document whose length is not known (maximum page
    // 0xFFFF); OnPrint draws the page with OnDraw.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    // The print dialog (for the preview or a print without the dialog: the
    // default printer); the printer's DC is then in info->m_pPD.  FALSE when
    // cancelled or when there is no printer (the user was told).
    BOOL DoPreparePrinting(CPrintInfo* info);
    // The print loop on a printer DC prepared as above (or any DC that takes
    // documents and pages): the document, the pages from GetFromPage to
    // GetToPage while OnPrepareDC lets printing continue, the dialog that
    // shows the page and can cancel.  FALSE when cancelled or failed (a
    // failure is reported).
    BOOL PrintDocument(CDC* dc, CPrintInfo* info);

    // Drag and drop onto the view (through a registered drop target).
    virtual DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* data, DROPEFFECT dropEffect, CPoint point);
    virtual DROPEFFECT OnDragScroll(DWORD keyState, CPoint point);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

protected:
    // The print and print-preview commands (views map them to
    // ID_FILE_PRINT, ID_FILE_PRINT_DIRECT and ID_FILE_PRINT_PREVIEW).
    void OnFilePrint();
    void OnFilePrintPreview();

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument = nullptr;
    friend class CDocument;
};

// A view that is a system control (tree, list): the control paints itself.
class CLASSLIB_API CCtrlView : public CView
{
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(const wchar_t* className, DWORD style);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(CDC* dc) override;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

    CString m_strClass;
    DWORD m_dwDefaultStyle;
};

// A view that is a tree control; the control's notifications come back to
// the view as reflected messages (ON_NOTIFY_REFLECT).
class CLASSLIB_API CTreeView : public CCtrlView
{
    DECLARE_DYNCREATE(CTreeView)
public:
    CTreeView();
    CTreeCtrl& GetTreeCtrl() const;

private:
    mutable CTreeCtrl m_control; // the view's own window, seen as a tree control
};

// A view that is a list control.
class CLASSLIB_API CListView : public CCtrlView
{
    DECLARE_DYNCREATE(CListView)
public:
    CListView();
    CListCtrl& GetListCtrl() const;

private:
    mutable CListCtrl m_control;
};
