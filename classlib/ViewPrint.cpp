// Printing and drag and drop of views.
#include "View.h"
#include "App.h"
#include "CommandIds.h"
#include "Document.h"
#include "Frame.h"
#include "Ole.h"
#include "Print.h"
#include "PrintPreview.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// Preparing: the print dialog, or the default printer for the preview and
// for printing without the dialog.

BOOL CView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    CPrintDialog* dialog = info->m_pPD;
    if (info->m_bPreview || info->m_bDirect) {
        if (!dialog->m_pd.hDC && !dialog->GetDefaults()) {
            AfxMessageBox(CL_MSG_NO_PRINTER, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    } else {
        dialog->m_pParentWnd = this;
        dialog->m_pd.nFromPage = static_cast<WORD>(info->GetMinPage());
        dialog->m_pd.nToPage = static_cast<WORD>(info->GetMaxPage());
        if (dialog->DoModal() != IDOK) return FALSE; // cancelled, or no printer (the dialog said so)
    }
    if (!dialog->m_pd.hDC && !dialog->CreatePrinterDC()) {
        AfxMessageBox(CL_MSG_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* info)
{
    // A view that does not count its pages prints one: without this, a
    // document of unknown length would print until the page numbers run out.
    if (info && info->GetMaxPage() == 0xFFFF) info->m_bContinuePrinting = info->m_nCurPage == 1;
}

void CView::OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

// ---------------------------------------------------------------------------
// The print loop.

namespace {

CString DocumentName(CView* view)
{
    CDocument* document = view->GetDocument();
    if (document && !document->GetTitle().IsEmpty()) return document->GetTitle();
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && !frame->GetTitle().IsEmpty()) return frame->GetTitle();
    return AfxGetAppName();
}

} // namespace

BOOL CView::PrintDocument(CDC* dc, CPrintInfo* info)
{
    CString name = DocumentName(this);
    dc->m_bPrinting = TRUE;

    // While pages go out the program takes no commands; the dialog's Cancel
    // button is the way out.
    CWinApp* app = AfxGetApp();
    CWnd* main = app && app->m_pMainWnd ? app->m_pMainWnd : GetTopLevelParent();
    HWND mainWnd = main->GetSafeHwnd();
    BOOL enableMain = mainWnd && ::IsWindowEnabled(mainWnd);
    CPrintAbortDialog abort;
    abort.Create(main, name, info->m_pPD->GetDeviceName());
    if (enableMain) ::EnableWindow(mainWnd, FALSE);
    dc->SetAbortProc(&CPrintAbortDialog::AbortProc);

    OnBeginPrinting(dc, info);
    DOCINFOW doc{};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = name;
    bool started = dc->StartDoc(&doc) > 0, failed = !started;
    UINT from = info->GetFromPage(), to = info->GetToPage();
    for (info->m_nCurPage = from; started && !failed && info->m_nCurPage <= to; ++info->m_nCurPage) {
        info->m_bContinuePrinting = TRUE;
        OnPrepareDC(dc, info);
        if (!info->m_bContinuePrinting) break;
        if (abort.m_hWnd) abort.SetPage(info->m_nCurPage);
        info->m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
        dc->DPtoLP(&info->m_rectDraw);
        if (dc->StartPage() <= 0) {
            failed = true;
            break;
        }
        OnPrint(dc, info);
        if (dc->EndPage() <= 0) failed = true;
        // The printer's spooler may not ask often enough: Cancel is looked
        // at after every page.
        if (!CPrintAbortDialog::AbortProc(dc->m_hDC, 0)) break;
    }
    bool cancelled = abort.m_bUserAbort != FALSE;
    OnEndPrinting(dc, info);
    if (started) {
        if (!failed && !cancelled) {
            if (dc->EndDoc() <= 0) failed = true;
        } else {
            dc->AbortDoc();
        }
    }
    if (enableMain) ::EnableWindow(mainWnd, TRUE);
    abort.DestroyWindow();
    dc->m_bPrinting = FALSE;
    if (failed) AfxMessageBox(CL_MSG_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
    return !failed && !cancelled;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    const MSG* msg = GetCurrentMessage();
    info.m_bDirect = msg && msg->message == WM_COMMAND && LOWORD(msg->wParam) == ID_FILE_PRINT_DIRECT;
    if (!OnPreparePrinting(&info)) return;
    CDC dc;
    dc.Attach(info.m_pPD->m_pd.hDC); // the record deletes the DC
    PrintDocument(&dc, &info);
    dc.Detach();
}

void CView::OnFilePrintPreview()
{
    CFrameWnd* frame = GetTopLevelFrame();
    if (!frame || CPreviewView::Of(frame)) return; // one preview at a time
    auto* info = new CPrintInfo;
    info->m_bPreview = TRUE;
    if (!OnPreparePrinting(info)) {
        delete info;
        return;
    }
    CPreviewView::Show(frame, this, info);
}

// ---------------------------------------------------------------------------
// Drag and drop: the view refuses unless it says otherwise.

DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }

void CView::OnDragLeave() {}

BOOL CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }

DROPEFFECT CView::OnDragScroll(DWORD, CPoint) { return DROPEFFECT_NONE; }
