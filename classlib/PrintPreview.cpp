#include "PrintPreview.h"
#include "App.h"
#include "CommandIds.h"
#include <algorithm>
#include <cmath>

namespace {

const int kMargin = 16;        // around the pages, screen pixels
const int kGap = 16;           // between two pages
const int kShadow = 3;         // a page's shadow
const int kMaxZoom = 2;        // each step doubles the scale
const int kButtonHeight = 22;
const int kBarPadding = 4;
const UINT kPaneAside = 0xE9FF; // the frame's pane while the preview takes its place

struct Button {
    UINT id;
    const wchar_t* text;
    int width;
};

const Button kButtons[] = {
    {AFX_ID_PREVIEW_PRINT, L"打印(&P)...", 72},  {AFX_ID_PREVIEW_NEXT, L"下一页(&N)", 72},
    {AFX_ID_PREVIEW_PREV, L"上一页(&V)", 72},    {AFX_ID_PREVIEW_NUMPAGE, L"两页(&T)", 64},
    {AFX_ID_PREVIEW_ZOOMIN, L"放大(&I)", 64},    {AFX_ID_PREVIEW_ZOOMOUT, L"缩小(&O)", 64},
    {AFX_ID_PREVIEW_CLOSE, L"关闭(&C)", 64},
};

} // namespace

// ---------------------------------------------------------------------------
// CPreviewBar

IMPLEMENT_DYNAMIC(CPreviewBar, CControlBar)

BEGIN_MESSAGE_MAP(CPreviewBar, CControlBar)
END_MESSAGE_MAP()

BOOL CPreviewBar::Create(CFrameWnd* frame, CPreviewView* preview)
{
    m_pPreview = preview;
    m_dwStyle = CBRS_TOP | CBRS_BORDER_BOTTOM;
    m_bAutoDelete = TRUE;
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateEx(0, cls, L"打印预览", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), frame,
                  AFX_IDW_PREVIEW_BAR))
        return FALSE;
    m_font.CreatePointFont(90, L"宋体");
    int x = kBarPadding;
    auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int width, UINT id) {
        HWND control = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, kBarPadding, width,
                                         kButtonHeight, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                         AfxGetInstanceHandle(), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), FALSE);
        x += width + 2;
    };
    for (const Button& b : kButtons) make(L"BUTTON", b.text, BS_PUSHBUTTON | WS_TABSTOP, b.width, b.id);
    x += 8;
    make(L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 220, AFX_ID_PREVIEW_PAGETEXT);
    return TRUE;
}

CSize CPreviewBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    int length = kBarPadding;
    for (const Button& b : kButtons) length += b.width + 2;
    CSize size(length + 240, kButtonHeight + 2 * kBarPadding + 2);
    if (stretch && horz) size.cx = 32767;
    return size;
}

void CPreviewBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    // The buttons follow the preview's state; print and close are always on.
    if (m_pPreview) UpdateDialogControls(m_pPreview, FALSE);
}

BOOL CPreviewBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pPreview && m_pPreview->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return CControlBar::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// CPreviewView: taking the frame over and giving it back.

IMPLEMENT_DYNAMIC(CPreviewView, CView)

BEGIN_MESSAGE_MAP(CPreviewView, CView)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPages)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPages)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PAGETEXT, OnUpdatePageText)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CPreviewView::~CPreviewView() { EndPrinting(); }

CPreviewView* CPreviewView::Of(CFrameWnd* frame)
{
    if (!frame || !frame->m_hWnd) return nullptr;
    return DYNAMIC_DOWNCAST(CPreviewView, FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
}

BOOL CPreviewView::Show(CFrameWnd* frame, CView* view, CPrintInfo* info)
{
    if (!frame || !view || !info || Of(frame) || !info->m_pPD->m_pd.hDC) {
        delete info;
        return FALSE;
    }
    auto* preview = new CPreviewView;
    return preview->Start(frame, view, info); // on failure the preview is gone with the record
}

BOOL CPreviewView::Start(CFrameWnd* frame, CView* view, CPrintInfo* info)
{
    m_pFrame = frame;
    m_pPrintView = view;
    m_hPrintView = view->m_hWnd;
    m_pInfo = info;
    m_printerDC.Attach(info->m_pPD->m_pd.hDC);
    m_printerDC.m_bPrinting = TRUE;
    info->m_bPreview = TRUE;
    m_pagesWanted = info->m_nNumPreviewPages == 2 ? 2 : 1;
    m_page = info->GetMinPage();
    view->OnBeginPrinting(&m_printerDC, info);
    if (info->GetMaxPage() != 0xFFFF) {
        m_countKnown = TRUE;
        m_pageCount = info->GetMaxPage();
    }

    // The bar and the preview, then the frame shows them alone.
    auto* bar = new CPreviewBar;
    if (!bar->Create(frame, this)) { // the bar went with its window
        delete this;                 // and the printing ends with the preview
        return FALSE;
    }
    m_pBar = bar;
    CCreateContext noDocument;
    if (!Create(nullptr, nullptr, WS_CHILD | WS_HSCROLL | WS_VSCROLL, CRect(0, 0, 0, 0), frame, kPaneAside - 1,
                &noDocument)) {
        bar->DestroyWindow(); // the preview went with its window, and the printing with it
        return FALSE;
    }
    m_pFrameView = frame->GetActiveView();
    HWND self = frame->m_hWnd;
    for (HWND child = ::GetWindow(self, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child != m_hWnd && child != bar->m_hWnd && ::IsWindowVisible(child)) m_hidden.push_back(child);
    }
    for (int i = 0; i < frame->GetControlBarCount(); ++i) {
        CControlBar* docked = frame->GetControlBarAt(i);
        if (!docked->IsFloating()) continue;
        HWND mini = ::GetParent(::GetParent(docked->m_hWnd));
        if (::IsWindowVisible(mini) && std::find(m_hidden.begin(), m_hidden.end(), mini) == m_hidden.end())
            m_hidden.push_back(mini);
    }
    for (HWND hwnd : m_hidden) ::ShowWindow(hwnd, SW_HIDE);
    m_hMenu = ::GetMenu(self);
    if (m_hMenu) ::SetMenu(self, nullptr);
    m_hPane = ::GetDlgItem(self, AFX_IDW_PANE_FIRST);
    if (m_hPane) ::SetWindowLongPtrW(m_hPane, GWLP_ID, kPaneAside);
    SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    ShowWindow(SW_SHOW);
    frame->SetActiveView(this, FALSE);
    frame->RecalcLayout();
    Changed();
    return TRUE;
}

void CPreviewView::Close()
{
    // What the frame showed before, kept here: the preview object goes with
    // its window.
    CFrameWnd* frame = m_pFrame;
    HWND self = frame->m_hWnd;
    std::vector<HWND> hidden = m_hidden;
    HMENU menu = m_hMenu;
    HWND pane = m_hPane;
    CView* old = m_pFrameView && m_pFrameView->m_hWnd && FromHandlePermanent(m_pFrameView->m_hWnd) == m_pFrameView
                     ? m_pFrameView
                     : nullptr;
    EndPrinting();
    if (m_pBar) {
        m_pBar->DestroyWindow(); // deletes itself
        m_pBar = nullptr;
    }
    if (frame->GetActiveView() == this) frame->SetActiveView(old, FALSE);
    DestroyWindow(); // deletes this object
    if (!::IsWindow(self)) return;
    if (pane && ::IsWindow(pane)) ::SetWindowLongPtrW(pane, GWLP_ID, AFX_IDW_PANE_FIRST);
    for (HWND hwnd : hidden)
        if (::IsWindow(hwnd)) ::ShowWindow(hwnd, SW_SHOWNA);
    if (menu && ::IsMenu(menu) && !::GetMenu(self)) ::SetMenu(self, menu);
    frame->RecalcLayout();
}

void CPreviewView::OnDestroy()
{
    // Also when the frame goes with the preview on it.
    EndPrinting();
    CView::OnDestroy();
}

void CPreviewView::EndPrinting()
{
    if (m_ended) return;
    m_ended = TRUE;
    if (CView* view = GetPrintView()) view->OnEndPrinting(&m_printerDC, m_pInfo);
    for (auto& page : m_pages)
        if (page.second) ::DeleteEnhMetaFile(page.second);
    m_pages.clear();
    m_printerDC.Detach(); // the record deletes the printer's DC
    delete m_pInfo;
    m_pInfo = nullptr;
}

CView* CPreviewView::GetPrintView() const
{
    return m_hPrintView && FromHandlePermanent(m_hPrintView) == m_pPrintView ? m_pPrintView : nullptr;
}

// ---------------------------------------------------------------------------
// Pages.

CSize CPreviewView::PageSize() const
{
    return CSize(std::max(1, m_printerDC.GetDeviceCaps(HORZRES)), std::max(1, m_printerDC.GetDeviceCaps(VERTRES)));
}

HENHMETAFILE CPreviewView::Page(UINT page)
{
    if (!m_pInfo || page < m_pInfo->GetMinPage() || (m_countKnown && page > m_pageCount)) return nullptr;
    auto known = m_pages.find(page);
    if (known != m_pages.end()) return known->second;
    CView* view = GetPrintView();
    if (!view) return nullptr;
    // The pages before it first, as the print loop goes: a view may learn
    // its length only by printing its first page (a text view lays its lines
    // out then), and asked for a later page first it would end the document
    // there.
    if (page > m_pInfo->GetMinPage() && m_pages.find(page - 1) == m_pages.end() && !Page(page - 1)) return nullptr;
    // The whole page, in the units the metafile measures its frame in.
    RECT frame{0, 0, m_printerDC.GetDeviceCaps(HORZSIZE) * 100, m_printerDC.GetDeviceCaps(VERTSIZE) * 100};
    HDC emf = ::CreateEnhMetaFileW(m_printerDC.m_hDC, nullptr, &frame, nullptr);
    if (!emf) return nullptr;
    CDC dc;
    dc.Attach(emf);
    dc.m_bPrinting = TRUE;
    m_pInfo->m_nCurPage = page;
    m_pInfo->m_bContinuePrinting = TRUE;
    view->OnPrepareDC(&dc, m_pInfo);
    bool exists = m_pInfo->m_bContinuePrinting != FALSE;
    if (exists) {
        CSize size = PageSize();
        m_pInfo->m_rectDraw.SetRect(0, 0, size.cx, size.cy);
        dc.DPtoLP(&m_pInfo->m_rectDraw);
        view->OnPrint(&dc, m_pInfo);
    }
    HENHMETAFILE drawn = ::CloseEnhMetaFile(dc.Detach());
    if (!exists) {
        // The document ends before this page.
        if (drawn) ::DeleteEnhMetaFile(drawn);
        if (!m_countKnown || page - 1 < m_pageCount) m_pageCount = page - 1;
        m_countKnown = TRUE;
        return nullptr;
    }
    m_pages[page] = drawn;
    return drawn;
}

UINT CPreviewView::GetPagesShown() { return m_zoom == 0 && m_pagesWanted == 2 && PageExists(m_page + 1) ? 2 : 1; }

CString CPreviewView::GetPageText()
{
    CString text;
    if (GetPagesShown() == 2)
        text.Format(L"第 %u、%u 页", m_page, m_page + 1);
    else
        text.Format(L"第 %u 页", m_page);
    if (m_countKnown) text += ClFormat(L" / 共 %u 页", m_pageCount);
    return text;
}

// ---------------------------------------------------------------------------
// Drawing and scrolling.

double CPreviewView::Scale()
{
    CRect client;
    GetClientRect(&client);
    int n = static_cast<int>(GetPagesShown());
    CSize page = PageSize();
    double across = double(client.Width() - 2 * kMargin - (n - 1) * kGap) / (double(n) * page.cx);
    double down = double(client.Height() - 2 * kMargin) / page.cy;
    double fit = std::max(0.01, std::min(across, down));
    return fit * (1 << m_zoom);
}

CSize CPreviewView::ContentSize()
{
    int n = static_cast<int>(GetPagesShown());
    double scale = Scale();
    CSize page = PageSize();
    int width = static_cast<int>(std::lround(page.cx * scale)), height = static_cast<int>(std::lround(page.cy * scale));
    return CSize(n * width + (n - 1) * kGap + 2 * kMargin, height + 2 * kMargin);
}

BOOL CPreviewView::OnEraseBkgnd(CDC*) { return TRUE; } // OnDraw fills everything

void CPreviewView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_APPWORKSPACE));
    if (!m_pInfo) return;
    UINT n = GetPagesShown();
    double scale = Scale();
    CSize page = PageSize();
    int width = static_cast<int>(std::lround(page.cx * scale)), height = static_cast<int>(std::lround(page.cy * scale));
    CSize content = ContentSize();
    int x = (content.cx < client.Width() ? (client.Width() - content.cx) / 2 : -m_scroll.x) + kMargin;
    int y = (content.cy < client.Height() ? (client.Height() - content.cy) / 2 : -m_scroll.y) + kMargin;
    for (UINT i = 0; i < n; ++i) {
        HENHMETAFILE emf = Page(m_page + i);
        if (!emf) break;
        CRect sheet(x, y, x + width, y + height);
        CRect shadow(sheet);
        shadow.OffsetRect(kShadow, kShadow);
        dc->FillSolidRect(&shadow, RGB(64, 64, 64));
        dc->FillSolidRect(&sheet, RGB(255, 255, 255));
        int saved = dc->SaveDC();
        dc->IntersectClipRect(&sheet);
        ::PlayEnhMetaFile(dc->m_hDC, emf, &sheet);
        dc->RestoreDC(saved);
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(&sheet, &black);
        x += width + kGap;
    }
}

void CPreviewView::UpdateScrollBars()
{
    CRect client;
    GetClientRect(&client);
    CSize content = m_zoom ? ContentSize() : CSize(0, 0);
    m_scroll.x = std::max<LONG>(0, std::min<LONG>(m_scroll.x, content.cx - client.Width()));
    m_scroll.y = std::max<LONG>(0, std::min<LONG>(m_scroll.y, content.cy - client.Height()));
    SCROLLINFO info{};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, static_cast<int>(content.cx) - 1);
    info.nPage = static_cast<UINT>(client.Width());
    info.nPos = m_scroll.x;
    SetScrollInfo(SB_HORZ, &info);
    info.nMax = std::max(0, static_cast<int>(content.cy) - 1);
    info.nPage = static_cast<UINT>(client.Height());
    info.nPos = m_scroll.y;
    SetScrollInfo(SB_VERT, &info);
}

void CPreviewView::ScrollBy(int bar, int code, int pos)
{
    CRect client;
    GetClientRect(&client);
    CSize content = ContentSize();
    LONG& at = bar == SB_HORZ ? m_scroll.x : m_scroll.y;
    int pageSize = bar == SB_HORZ ? client.Width() : client.Height();
    int limit = std::max(0, static_cast<int>(bar == SB_HORZ ? content.cx : content.cy) - pageSize);
    switch (code) {
    case SB_LINEUP: at -= 20; break;
    case SB_LINEDOWN: at += 20; break;
    case SB_PAGEUP: at -= pageSize; break;
    case SB_PAGEDOWN: at += pageSize; break;
    case SB_TOP: at = 0; break;
    case SB_BOTTOM: at = limit; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: at = pos; break;
    default: return;
    }
    at = std::max<LONG>(0, std::min<LONG>(at, limit));
    UpdateScrollBars();
    Invalidate(FALSE);
}

void CPreviewView::OnHScroll(UINT code, UINT pos, CScrollBar*) { ScrollBy(SB_HORZ, static_cast<int>(code), static_cast<int>(pos)); }
void CPreviewView::OnVScroll(UINT code, UINT pos, CScrollBar*) { ScrollBy(SB_VERT, static_cast<int>(code), static_cast<int>(pos)); }

void CPreviewView::OnSize(UINT, int, int)
{
    Default();
    UpdateScrollBars();
    Invalidate(FALSE);
}

void CPreviewView::Changed()
{
    if (!m_hWnd) return;
    UpdateScrollBars();
    Invalidate(FALSE);
}

void CPreviewView::SetPage(UINT page)
{
    m_page = page;
    m_scroll = CPoint(0, 0);
    Changed();
}

// ---------------------------------------------------------------------------
// Commands.

void CPreviewView::OnNextPage()
{
    if (PageExists(m_page + GetPagesShown())) SetPage(m_page + 1);
}

void CPreviewView::OnPrevPage()
{
    if (m_pInfo && m_page > m_pInfo->GetMinPage()) SetPage(m_page - 1);
}

void CPreviewView::OnNumPages()
{
    m_pagesWanted = m_pagesWanted == 2 ? 1 : 2;
    Changed();
}

void CPreviewView::OnZoomIn()
{
    if (m_zoom >= kMaxZoom) return;
    ++m_zoom;
    m_scroll = CPoint(0, 0);
    Changed();
}

void CPreviewView::OnZoomOut()
{
    if (m_zoom <= 0) return;
    --m_zoom;
    m_scroll = CPoint(0, 0);
    Changed();
}

void CPreviewView::OnPreviewPrint()
{
    // The preview goes first; the view's own print command then runs from
    // the message loop.
    HWND view = GetPrintView() ? m_hPrintView : nullptr;
    Close();
    if (view) ::PostMessageW(view, WM_COMMAND, ID_FILE_PRINT, 0);
}

void CPreviewView::OnPreviewClose() { Close(); }

void CPreviewView::OnUpdateNextPage(CCmdUI* ui) { ui->Enable(PageExists(m_page + GetPagesShown())); }

void CPreviewView::OnUpdatePrevPage(CCmdUI* ui) { ui->Enable(m_pInfo && m_page > m_pInfo->GetMinPage()); }

void CPreviewView::OnUpdateNumPages(CCmdUI* ui)
{
    ui->SetText(m_pagesWanted == 2 ? L"一页(&T)" : L"两页(&T)");
    ui->Enable(m_zoom == 0);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* ui) { ui->Enable(m_zoom < kMaxZoom); }
void CPreviewView::OnUpdateZoomOut(CCmdUI* ui) { ui->Enable(m_zoom > 0); }
void CPreviewView::OnUpdatePageText(CCmdUI* ui) { ui->SetText(GetPageText()); }
