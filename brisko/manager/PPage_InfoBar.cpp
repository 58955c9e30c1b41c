#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/PageDrawing.h"
#include "corvane/project/FileInterface.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(CPPage_InfoBar, CPropertyPage)

BEGIN_MESSAGE_MAP(CPPage_InfoBar, CPropertyPage)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
END_MESSAGE_MAP()

namespace {

const int kMaxKeptLines = 50;        // one more arrives before the oldest goes
const int kPreviewLines = 100;       // lines of a file the preview takes at most
const int kPreviewChars = 1024;      // ... while its text is shorter than this
const int kSplitterWidth = 3;

// The main window, whose updates a drag holds back and on which its bar is
// drawn.
CWnd* MainWindow(CWnd* page)
{
    if (CWinApp* app = AfxGetApp())
        if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd()) return app->m_pMainWnd;
    return page->GetTopLevelParent();
}

} // namespace

CPPage_InfoBar::CPPage_InfoBar()
    : CPropertyPage(IDD_PPAGE_INFOBAR), m_iMode(0), m_nRightMargin(5), m_nMargin(3), m_rcSplitter(-1, 0, 2, 0),
      m_iMinRightWidth(100), m_bDragging(FALSE), m_iTrackerX(0)
{
}

BOOL CPPage_InfoBar::CreateBox(CEdit& box, const RECT& rect)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_WANTRETURN;
    if (!box.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", nullptr, style, rect, this, IDC_INFO_LOG)) return FALSE;
    box.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    ::EnableScrollBar(box, SB_VERT, ESB_ENABLE_BOTH);
    return TRUE;
}

int CPPage_InfoBar::OnCreate(LPCREATESTRUCT cs)
{
    if (static_cast<int>(Default()) == -1) return -1;
    (void)cs;
    ::EnableScrollBar(m_hWnd, SB_BOTH, ESB_ENABLE_BOTH);
    if (!CreateBox(m_wndLog, CRect(0, 0, 80, 800))) return -1;
    if (!m_font.CreatePointFont(100, L"宋体")) return -1;
    m_wndLog.SetFont(&m_font, TRUE);
    m_wndLog.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 10));
    if (!m_wndSlope.Create(CRect(0, 0, 80, 100), WS_CHILD | WS_VISIBLE | WS_TABSTOP, this, IDC_INFO_SLOPE)) {
        AfxMessageBox(L"创建边坡模板浏览器失败!");
        return -1;
    }
    if (!CreateBox(m_wndPreview, CRect(0, 0, 80, 100))) return -1;
    m_wndPreview.SetFont(&m_font, TRUE);
    m_wndPreview.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(10, 10));
    return 0;
}

void CPPage_InfoBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    (void)type;
    (void)cx;
    (void)cy;
    Layout();
}

void CPPage_InfoBar::Layout()
{
    if (!GetSafeHwnd() || !m_wndLog.GetSafeHwnd() || !m_wndPreview.GetSafeHwnd() || !m_wndSlope.GetSafeHwnd()) return;
    CRect client;
    GetClientRect(&client);
    const int m = m_nMargin, w = client.Width(), h = client.Height();
    // The first layout (and one after the page became too narrow) puts the
    // splitter in the middle; it never leaves less than the right pane's
    // least width.
    int x = m_rcSplitter.left;
    if (x <= m_iMinRightWidth) x = m + (w - 2 * m - 15) / 2;
    x = std::min(x, w - m_iMinRightWidth);
    m_rcSplitter = CRect(x, m, x + kSplitterWidth, h - m);
    m_wndLog.MoveWindow(m, m, std::max(0, x - m), std::max(0, h - 2 * m));
    const int right = x + kSplitterWidth;
    const int width = std::max(0, w - m_nRightMargin - right), height = std::max(0, h - 2 * m);
    m_wndSlope.MoveWindow(right, m, width, height);
    m_wndPreview.MoveWindow(right, m, width, height);
    m_wndSlope.ShowWindow(m_iMode == 1 ? SW_SHOW : SW_HIDE);
    m_wndPreview.ShowWindow(m_iMode == 1 ? SW_HIDE : SW_SHOW);
}

void CPPage_InfoBar::AddMessage(const CString& text)
{
    if (!m_wndLog.GetSafeHwnd()) return;
    if (m_SMessages.GetSize() > kMaxKeptLines) m_SMessages.RemoveAt(0);
    m_SMessages.Add(text);
    CString all;
    for (INT_PTR i = 0; i < m_SMessages.GetSize(); ++i) all += m_SMessages[i] + L"\r\n";
    m_wndLog.SetWindowText(all);
    // By the box's own lines: a long message wraps over several.
    m_wndLog.SendMessage(EM_LINESCROLL, 0, m_wndLog.SendMessage(EM_GETLINECOUNT));
}

// ---------------------------------------------------------------------------
// Previews

void CPPage_InfoBar::ShowTextPreview()
{
    m_iMode = 0;
    if (!m_wndPreview.GetSafeHwnd() || !m_wndSlope.GetSafeHwnd()) return;
    m_wndSlope.ShowWindow(SW_HIDE);
    m_wndPreview.ShowWindow(SW_SHOW);
    RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CPPage_InfoBar::ShowSlopePreview()
{
    if (m_iMode == 1) return;
    m_iMode = 1;
    if (!m_wndPreview.GetSafeHwnd() || !m_wndSlope.GetSafeHwnd()) return;
    m_wndPreview.ShowWindow(SW_HIDE);
    m_wndSlope.ShowWindow(SW_SHOW);
    m_wndSlope.m_nCurLine = -1;
    m_wndSlope.FitView();
}

void CPPage_InfoBar::UpdateSlopePreview()
{
    if (!m_wndSlope.GetSafeHwnd()) return;
    m_wndSlope.m_STemplatePath = SlopePreviewPath;
    m_wndSlope.m_pSlopeLines = &SlopePreviewLines;
    m_wndSlope.FitView();
    m_wndSlope.Invalidate(TRUE);
}

void CPPage_InfoBar::PreviewFile(const CString& path)
{
    if (!m_wndPreview.GetSafeHwnd()) return;
    CString typeName;
    if (tkx_IsTavixFileName(path, typeName) != 1) {
        m_wndPreview.SetWindowText(ClFormat(L"文件<%s>: TAVIX不提供该文件类型的预览.", path.GetString()));
        return;
    }
    CFileFind find;
    if (!find.FindFile(path)) {
        m_wndPreview.SetWindowText(ClFormat(L"文件<%s>不存在!", path.GetString()));
        return;
    }
    find.Close();
    const CString failed = ClFormat(L"打开预览文件<%s>失败!", path.GetString());
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) {
        m_wndPreview.SetWindowText(failed);
        return;
    }
    CString text = ClFormat(L"预览文件:%s\r\n文件类型: %s\r\n", path.GetString(), typeName.GetString());
    bool ended = false;
    try {
        CString line;
        for (int taken = 0; taken < kPreviewLines && text.GetLength() < kPreviewChars; ++taken) {
            if (!file.ReadString(line)) {
                ended = true;
                break;
            }
            text += line + L"\r\n";
        }
    } catch (CException* e) {
        e->Delete();
        m_wndPreview.SetWindowText(failed);
        return;
    }
    // The file goes on, or the limits were reached with its last line.
    if (!ended) text += L"\r\n\t\t[文件内容未结束]";
    m_wndPreview.SetWindowText(text);
}

// ---------------------------------------------------------------------------
// The splitter

BOOL CPPage_InfoBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_rcSplitter.PtInRect(point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    return CPropertyPage::OnSetCursor(wnd, hitTest, message);
}

void CPPage_InfoBar::InvertTracker()
{
    CWnd* main = MainWindow(this);
    if (!main || !main->GetSafeHwnd()) return;
    CRect bar(m_iTrackerX, m_rcSplitter.top, m_iTrackerX + kSplitterWidth, m_rcSplitter.bottom);
    ClientToScreen(&bar);
    CRect window;
    main->GetWindowRect(&window);
    bar.OffsetRect(-window.left, -window.top);
    bar.DeflateRect(0, kSplitterWidth);
    CDC* dc = main->GetDCEx(nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc) return;
    // A halftone brush: every other pixel.
    const WORD pattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    CBitmap bitmap;
    bitmap.CreateBitmap(8, 8, 1, 1, pattern);
    CBrush brush;
    brush.CreatePatternBrush(&bitmap);
    CBrush* old = dc->SelectObject(&brush);
    dc->PatBlt(bar.left, bar.top, bar.Width(), bar.Height(), PATINVERT);
    dc->SelectObject(old);
    main->ReleaseDC(dc);
}

void CPPage_InfoBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (!m_rcSplitter.PtInRect(point)) {
        CPropertyPage::OnLButtonDown(flags, point);
        return;
    }
    m_bDragging = TRUE;
    m_iTrackerX = m_rcSplitter.left;
    RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (CWnd* main = MainWindow(this)) main->LockWindowUpdate();
    SetCapture();
    InvertTracker();
}

void CPPage_InfoBar::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bDragging) {
        // Over the slope preview the preview follows the mouse.
        CRect slope = m_wndSlope.GetSafeHwnd() ? ChildRect(m_wndSlope) : CRect();
        if (m_iMode == 1 && slope.PtInRect(point)) {
            m_wndSlope.SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(point.x - slope.left, point.y - slope.top));
            return;
        }
        CPropertyPage::OnMouseMove(flags, point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    // Neither pane may become narrower than 100 pixels.
    if (point.x > m_nMargin + m_iMinRightWidth && point.x < client.Width() - m_iMinRightWidth) {
        InvertTracker();
        m_iTrackerX = point.x;
        InvertTracker();
    }
}

void CPPage_InfoBar::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_bDragging) {
        CPropertyPage::OnLButtonUp(flags, point);
        return;
    }
    EndDrag();
}

void CPPage_InfoBar::EndDrag()
{
    if (!m_bDragging) return;
    // Cleared first: releasing the capture below comes back here through
    // WM_CAPTURECHANGED.
    m_bDragging = FALSE;
    InvertTracker();
    if (CWnd* main = MainWindow(this)) main->UnlockWindowUpdate();
    if (GetCapture() == this) ReleaseCapture();
    m_rcSplitter.left = m_iTrackerX;
    Layout();
    m_wndLog.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    m_wndSlope.RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

BOOL CPPage_InfoBar::PreTranslateMessage(MSG* msg)
{
    page_drawing::ForwardWheel(msg, m_wndSlope);
    return CPropertyPage::PreTranslateMessage(msg);
}

CRect CPPage_InfoBar::ChildRect(CWnd& child) const
{
    CRect rect;
    child.GetWindowRect(&rect);
    ScreenToClient(&rect);
    return rect;
}

void CPPage_InfoBar::OnCaptureChanged(CWnd* wnd)
{
    EndDrag();
    CPropertyPage::OnCaptureChanged(wnd);
}

LRESULT CPPage_InfoBar::OnCancelMode(WPARAM, LPARAM)
{
    EndDrag();
    return Default();
}
