// Printing the grid: the grid's whole width across the page, a header line,
// the headings on every page, the rows in pages, a footer with the page
// number and the date.  Logical units are the grid's pixels, mapped so that
// the width of all columns plus eight characters fills the page.
#include "corvane/ui/GridCtrl.h"
#include <algorithm>
#include <ctime>

namespace {

const wchar_t kMeasureText[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";

// The printer font in bold, for the header and the footer.
void MakeBold(CFont& printerFont, CFont& bold)
{
    LOGFONTW lf{};
    printerFont.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    bold.CreateFontIndirect(&lf);
}

} // namespace

void tkxGridCtrl::Print()
{
    CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                        this);
    if (dialog.DoModal() != IDOK) return;
    HDC printer = dialog.GetPrinterDC();
    if (!printer) printer = dialog.CreatePrinterDC();
    if (!printer) return;

    CDC dc;
    dc.Attach(printer);
    dc.m_bPrinting = TRUE;
    const CString title = AfxGetAppName();
    DOCINFOW doc{};
    doc.cbSize = sizeof(doc);
    doc.lpszDocName = title;
    bool ok = dc.StartDoc(&doc) > 0;
    if (ok) {
        CPrintInfo info;
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        OnBeginPrinting(&dc, &info);
        ok = m_PrinterFont.m_hObject != nullptr; // nothing to print without the page metrics
        for (UINT page = info.GetMinPage(); ok && page <= info.GetMaxPage(); ++page) {
            dc.StartPage();
            info.m_nCurPage = page;
            OnPrint(&dc, &info);
            ok = dc.EndPage() > 0;
        }
        OnEndPrinting(&dc, &info);
        if (ok)
            dc.EndDoc();
        else
            dc.AbortDoc();
    }
    dc.Detach();
    ::DeleteDC(printer);
    if (!ok) ClMessageBox(m_hWnd, CL_MSG_PRINT_FAILED, L"TAVIX", MB_OK | MB_ICONEXCLAMATION);
}

void tkxGridCtrl::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    if (!dc || !info) return;
    CDC* windowDC = GetDC();
    if (!windowDC) return;

    m_PrinterFont.DeleteObject();
    m_PrinterFont.CreateFont(-9, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Times New Roman");
    HGDIOBJ oldFont = dc->SelectObject(m_PrinterFont.m_hObject);
    const CSize measured = dc->GetTextExtent(kMeasureText, 52);
    m_CharSize = CSize(measured.cx / 52, measured.cy);
    m_nPrinterWidth = dc->GetDeviceCaps(HORZRES);
    m_nPrinterHeight = dc->GetDeviceCaps(VERTRES);
    m_nPageWidth = static_cast<int>(GetVirtualWidth()) + 8 * m_CharSize.cx;
    m_nPageHeight = m_nPrinterWidth > 0 ? ::MulDiv(m_nPageWidth, m_nPrinterHeight, m_nPrinterWidth) : 0;
    m_nPrintRowsHeight = m_nPageHeight - GetFixedRowHeight() - 6 * m_CharSize.cy;

    // Rows go on a page while they fit; a row taller than a page gets a
    // page of its own.  A grid without data rows prints its headings on one
    // page.
    m_printPageStarts.assign(1, m_nFixedRows);
    long long used = 0;
    for (int row = m_nFixedRows; row < m_nRows; ++row) {
        const int height = GetRowHeight(row);
        if (row > m_printPageStarts.back() && used + height > m_nPrintRowsHeight) {
            m_printPageStarts.push_back(row);
            used = 0;
        }
        used += height;
    }
    info->SetMaxPage(static_cast<UINT>(m_printPageStarts.size()));
    info->m_nCurPage = 1;
    ReleaseDC(windowDC);
    dc->SelectObject(oldFont);
}

void tkxGridCtrl::OnPrint(CDC* dc, CPrintInfo* info)
{
    if (!dc || !info || !m_PrinterFont.m_hObject) return;
    HGDIOBJ oldFont = dc->SelectObject(m_PrinterFont.m_hObject);
    const int oldMapMode = dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(m_nPageWidth, m_nPageHeight);
    dc->SetViewportExt(m_nPrinterWidth, m_nPrinterHeight);
    const int left = -4 * m_CharSize.cx;
    dc->SetWindowOrg(left, 0);

    info->m_rectDraw.SetRect(0, 0, m_nPageWidth - 8 * m_CharSize.cx, 2 * m_CharSize.cy);
    PrintHeader(dc, info);
    dc->SetWindowOrg(left, -3 * m_CharSize.cy);
    info->m_rectDraw.bottom = GetFixedRowHeight();
    PrintColumnHeadings(dc, info);
    dc->SetWindowOrg(left, -3 * m_CharSize.cy - GetFixedRowHeight());

    const size_t page = info->m_nCurPage;
    if (page >= 1 && page <= m_printPageStarts.size()) {
        const int first = m_printPageStarts[page - 1];
        const int end = page < m_printPageStarts.size() ? m_printPageStarts[page] : m_nRows;
        const int saved = dc->SaveDC();
        // A row taller than the page is cut off at the footer.
        dc->IntersectClipRect(left, 0, m_nPageWidth, std::max(m_nPrintRowsHeight, 0));
        PrintRows(dc, first, end - 1, false);
        dc->RestoreDC(saved);
    }

    info->m_rectDraw.bottom = 2 * m_CharSize.cy;
    dc->SetWindowOrg(left, 2 * m_CharSize.cy - m_nPageHeight);
    PrintFooter(dc, info);
    dc->SetWindowOrg(0, 0);
    dc->SetMapMode(oldMapMode);
    dc->SelectObject(oldFont);
}

void tkxGridCtrl::OnEndPrinting(CDC*, CPrintInfo*) { m_PrinterFont.DeleteObject(); }

void tkxGridCtrl::PrintColumnHeadings(CDC* dc, CPrintInfo*)
{
    HGDIOBJ oldFont = dc->SelectObject(m_PrinterFont.m_hObject);
    PrintRows(dc, 0, m_nFixedRows - 1, true);
    dc->SelectObject(oldFont);
}

// Rows first..last from y = 0, every column from x = 0, each cell with its
// own lines; `headings` draws them as heading cells.
void tkxGridCtrl::PrintRows(CDC* dc, int first, int last, bool headings)
{
    HGDIOBJ oldPen = dc->SelectStockObject(BLACK_PEN)->m_hObject;
    const bool horizontal = m_nGridLines == GVL_HORZ || m_nGridLines == GVL_BOTH;
    const bool vertical = m_nGridLines == GVL_VERT || m_nGridLines == GVL_BOTH;
    int y = 0;
    for (int row = first; row <= last; ++row) {
        const int height = GetRowHeight(row);
        CRect rect(0, y, 0, y + height - 1);
        for (int col = 0; col < m_nCols; ++col) {
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (headings)
                DrawFixedCell(dc, row, col, rect, FALSE);
            else
                DrawCell(dc, row, col, rect, FALSE);
            const int lineLeft = col == 0 ? rect.left : rect.left - 1;
            if (horizontal) {
                dc->MoveTo(lineLeft, rect.bottom);
                dc->LineTo(rect.right, rect.bottom);
                if (row == 0) {
                    dc->MoveTo(lineLeft, rect.top);
                    dc->LineTo(rect.right, rect.top);
                }
            }
            if (vertical) {
                dc->MoveTo(rect.right, row == first ? rect.top : rect.top - 1);
                dc->LineTo(rect.right, rect.bottom);
                if (col == 0) {
                    dc->MoveTo(rect.left, rect.top);
                    dc->LineTo(rect.left, rect.bottom);
                }
            }
            rect.left = rect.right + 1;
        }
        y += height;
    }
    dc->SelectObject(oldPen);
}

void tkxGridCtrl::PrintHeader(CDC* dc, CPrintInfo* info)
{
    CRect rect = info->m_rectDraw;
    CFont bold;
    MakeBold(m_PrinterFont, bold);
    HGDIOBJ oldFont = dc->SelectObject(bold.m_hObject);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawText(AfxGetAppName(), -1, rect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    // The title of the nearest window above the grid that has one.
    CString title;
    for (CWnd* wnd = GetParent(); wnd && wnd->m_hWnd; wnd = wnd->GetParent()) {
        wnd->GetWindowText(title);
        if (!title.IsEmpty()) break;
    }
    dc->DrawText(title, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);

    dc->SelectStockObject(BLACK_PEN);
    dc->MoveTo(rect.left, rect.bottom);
    dc->LineTo(rect.right, rect.bottom);
}

void tkxGridCtrl::PrintFooter(CDC* dc, CPrintInfo* info)
{
    CRect rect = info->m_rectDraw;
    dc->MoveTo(rect.left, rect.top);
    dc->LineTo(rect.right, rect.top);

    CFont bold;
    MakeBold(m_PrinterFont, bold);
    HGDIOBJ oldFont = dc->SelectObject(bold.m_hObject);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    rect.OffsetRect(0, m_CharSize.cy / 2);
    CString page;
    page.Format(L"第 %d 页 共 %d 页", info->m_nCurPage, info->GetMaxPage());
    dc->DrawText(page, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);

    wchar_t when[128] = {};
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now)) std::wcsftime(when, 128, L"%c", local);
    dc->DrawText(when, -1, rect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}
