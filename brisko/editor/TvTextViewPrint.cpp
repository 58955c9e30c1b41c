// Printing the text view: lines wrapped to the page between a header (the
// program and the file) and a footer (page and time), and the page setup of
// the margins.
#include "brisko/editor/TvTextView.h"
#include "brisko/shell/BriskoApp.h"
#include <algorithm>

namespace {

const wchar_t kPageSetup[] = L"TvEdit\\PageSetup";
const UINT kLineFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;

int MarginSetting(const wchar_t* key)
{
    return static_cast<int>(AfxGetApp()->GetProfileInt(kPageSetup, key, 1000));
}

} // namespace

void CTvTextView::OnBeginPrinting(CDC* dc, CPrintInfo*)
{
    delete m_pPrintFont;
    m_pPrintFont = nullptr;
    LOGFONTW lf = m_lfBaseFont;
    lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = static_cast<BYTE>(m_bItalic);
    if (lf.lfHeight == 0) lf.lfHeight = -(GetLineHeight() - m_nLinePitch);
    CClientDC screen(nullptr);
    const int screenX = screen.GetDeviceCaps(LOGPIXELSX), screenY = screen.GetDeviceCaps(LOGPIXELSY);
    lf.lfHeight = ::MulDiv(lf.lfHeight, dc->GetDeviceCaps(LOGPIXELSY), 2 * screenY);
    lf.lfWidth = ::MulDiv(lf.lfWidth, dc->GetDeviceCaps(LOGPIXELSX), 2 * screenX);
    m_pPrintFont = new CFont;
    if (!m_pPrintFont->CreateFontIndirect(&lf)) {
        delete m_pPrintFont;
        m_pPrintFont = nullptr;
    }
    if (m_pPrintFont) dc->SelectObject(m_pPrintFont);
    m_aPrintPages.clear();
    m_nPrintPages = 0;
    m_timePrinted = CTime::GetCurrentTime();
}

void CTvTextView::OnEndPrinting(CDC*, CPrintInfo*)
{
    delete m_pPrintFont;
    m_pPrintFont = nullptr;
    m_aPrintPages.clear();
    m_nPrintPages = 0;
}

void CTvTextView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    CView::OnPrepareDC(dc, info);
    // A print range that starts after page 1 needs the pages laid out before
    // its first page is printed, on the page as the print loop will give it.
    if (info && dc && m_aPrintPages.empty() && info->m_nCurPage > 1) {
        if (info->m_rectDraw.IsRectEmpty()) {
            info->m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
            dc->DPtoLP(&info->m_rectDraw);
        }
        PrintLayout(dc, info);
    }
    if (info && !m_aPrintPages.empty())
        info->m_bContinuePrinting = info->m_nCurPage >= 1 && static_cast<int>(info->m_nCurPage) <= m_nPrintPages;
}

int CTvTextView::PrintLineHeight(CDC* dc, int line)
{
    if (GetLineLength(line) == 0) return m_nPrintLineHeight;
    std::wstring expanded;
    ExpandTabsForDisplay(LineText(line), GetLineLength(line), 0, expanded);
    CRect rect(m_rcPrintArea.left, 0, m_rcPrintArea.right, 0);
    const int height = ::DrawTextW(dc->m_hDC, expanded.c_str(), static_cast<int>(expanded.size()), &rect,
                                   kLineFormat | DT_CALCRECT);
    return std::max(height, m_nPrintLineHeight);
}

void CTvTextView::PrintLayout(CDC* dc, CPrintInfo* info)
{
    CRect page = info->m_rectDraw;
    page.NormalizeRect();
    if (m_pPrintFont) dc->SelectObject(m_pPrintFont);
    m_nPrintLineHeight = std::max(1, static_cast<int>(dc->GetTextExtent(L"X", 1).cy));
    // Margins in hundredths of a millimetre.
    const int dpiX = dc->GetDeviceCaps(LOGPIXELSX), dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    m_rcPrintArea = page;
    m_rcPrintArea.left += ::MulDiv(MarginSetting(L"LeftMargin"), dpiX, 2540);
    m_rcPrintArea.right -= ::MulDiv(MarginSetting(L"RightMargin"), dpiX, 2540);
    m_rcPrintArea.top += ::MulDiv(MarginSetting(L"TopMargin"), dpiY, 2540);
    m_rcPrintArea.bottom -= ::MulDiv(MarginSetting(L"BottomMargin"), dpiY, 2540);
    // The header's and the footer's bands come off the text area.
    if (m_bPrintHeader) m_rcPrintArea.top += 2 * m_nPrintLineHeight;
    if (m_bPrintFooter) m_rcPrintArea.bottom -= 2 * m_nPrintLineHeight;
    if (m_rcPrintArea.right <= m_rcPrintArea.left) m_rcPrintArea.right = m_rcPrintArea.left + 1;
    if (m_rcPrintArea.bottom <= m_rcPrintArea.top) m_rcPrintArea.bottom = m_rcPrintArea.top + m_nPrintLineHeight;

    // Every page holds at least one line: a line taller than the page is
    // printed alone and cut at the bottom of the text area.
    m_aPrintPages.assign(1, 0);
    const int count = GetLineCount();
    int y = m_rcPrintArea.top;
    for (int line = 0; line < count; ++line) {
        const int height = PrintLineHeight(dc, line);
        if (y + height > m_rcPrintArea.bottom && line > m_aPrintPages.back()) {
            m_aPrintPages.push_back(line);
            y = m_rcPrintArea.top;
        }
        y += height;
    }
    m_nPrintPages = static_cast<int>(m_aPrintPages.size());
}

void CTvTextView::OnPrint(CDC* dc, CPrintInfo* info)
{
    if (m_aPrintPages.empty()) PrintLayout(dc, info);
    const int page = static_cast<int>(info->m_nCurPage);
    if (page < 1 || page > m_nPrintPages) return;
    if (m_pPrintFont) dc->SelectObject(m_pPrintFont);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(RGB(0, 0, 0));
    if (m_bPrintHeader) PrintHeader(dc, page);
    if (m_bPrintFooter) PrintFooter(dc, page);

    const int first = m_aPrintPages[static_cast<size_t>(page - 1)];
    const int last = page < m_nPrintPages ? m_aPrintPages[static_cast<size_t>(page)] : GetLineCount();
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&m_rcPrintArea);
    int y = m_rcPrintArea.top;
    std::wstring expanded;
    for (int line = first; line < last && y < m_rcPrintArea.bottom; ++line) {
        const int length = GetLineLength(line);
        if (length == 0) {
            y += m_nPrintLineHeight;
            continue;
        }
        ExpandTabsForDisplay(LineText(line), length, 0, expanded);
        CRect rect(m_rcPrintArea.left, y, m_rcPrintArea.right, m_rcPrintArea.bottom);
        const int height = ::DrawTextW(dc->m_hDC, expanded.c_str(), static_cast<int>(expanded.size()), &rect,
                                       kLineFormat);
        y += std::max(height, m_nPrintLineHeight);
    }
    dc->RestoreDC(saved);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}

void CTvTextView::PrintHeaderText(int, CString& text)
{
    CDocument* document = GetDocument();
    text.Format(L"%s: %s", kBriskoCaption, document ? document->GetPathName().GetString() : L"");
}

void CTvTextView::PrintFooterText(int page, CString& text)
{
    const CTime& t = m_timePrinted;
    text.Format(L"页码: %d/%d\t时间:%d-%d-%d %d:%d:%d", page, m_nPrintPages, t.GetYear(), t.GetMonth(), t.GetDay(),
                t.GetHour(), t.GetMinute(), t.GetSecond());
}

void CTvTextView::PrintHeader(CDC* dc, int page)
{
    CString text;
    PrintHeaderText(page, text);
    CRect band(m_rcPrintArea.left, m_rcPrintArea.top - 2 * m_nPrintLineHeight, m_rcPrintArea.right,
               m_rcPrintArea.top - m_nPrintLineHeight / 2);
    dc->DrawText(text, &band, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CTvTextView::PrintFooter(CDC* dc, int page)
{
    CString text;
    PrintFooterText(page, text);
    CRect band(m_rcPrintArea.left, m_rcPrintArea.bottom, m_rcPrintArea.right,
               m_rcPrintArea.bottom + m_nPrintLineHeight * 3 / 2);
    dc->DrawText(text, &band, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
}

void CTvTextView::OnFilePageSetup()
{
    CPageSetupDialog dialog(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_DISABLEPAPER | PSD_DISABLEORIENTATION,
                            this);
    dialog.m_psd.rtMargin.left = MarginSetting(L"LeftMargin");
    dialog.m_psd.rtMargin.right = MarginSetting(L"RightMargin");
    dialog.m_psd.rtMargin.top = MarginSetting(L"TopMargin");
    dialog.m_psd.rtMargin.bottom = MarginSetting(L"BottomMargin");
    if (dialog.DoModal() != IDOK) return;
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt(kPageSetup, L"LeftMargin", dialog.m_psd.rtMargin.left);
    app->WriteProfileInt(kPageSetup, L"RightMargin", dialog.m_psd.rtMargin.right);
    app->WriteProfileInt(kPageSetup, L"TopMargin", dialog.m_psd.rtMargin.top);
    app->WriteProfileInt(kPageSetup, L"BottomMargin", dialog.m_psd.rtMargin.bottom);
}
