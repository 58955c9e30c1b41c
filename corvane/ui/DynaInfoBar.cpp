#include "corvane/ui/DynaInfoBar.h"
#include "corvane/CorvaneResource.h"
#include "corvane/project/TavixDevApp.h"
#include "corvane/ui/BarSizing.h"
#include <algorithm>

namespace {


// The process's one bar.
tkxDynaInfoBar* g_infoBar = nullptr;

const COLORREF kRed = RGB(200, 0, 0);
const int kSlideStep = 8;          // pixels per tick
const UINT kSlidePeriod = 10;      // ms
const int kShownWidth = 200;       // sliding in stops once the width exceeds this
const int kHiddenWidth = 7;        // sliding out stops at this width or less
const int kTitleHeight = 33;       // the title bitmaps' height
const int kGroupHeader = 20;       // the group header bitmaps' height

bool IsHorzDockBar(int id) { return id == AFX_IDW_DOCKBAR_TOP || id == AFX_IDW_DOCKBAR_BOTTOM; }

bool IsSideDockBar(int id) { return IsHorzDockBar(id) || id == AFX_IDW_DOCKBAR_LEFT || id == AFX_IDW_DOCKBAR_RIGHT; }

void ShowLoadFailure(const wchar_t* text) { ClMessageBox(TavixMainWindow(), text, L"TAVIX", MB_OK | MB_ICONWARNING); }

CSize BitmapSize(const CBitmap& bitmap, CSize fallback)
{
    BITMAP info{};
    if (!bitmap.m_hObject || !bitmap.GetBitmap(&info)) return fallback;
    return CSize(info.bmWidth, info.bmHeight);
}

// Draws a bitmap unscaled, or stretched into `width` when width is given.
void DrawBitmap(CDC& dc, CDC& source, const CBitmap& bitmap, int x, int y, int width = -1)
{
    if (!bitmap.m_hObject) return;
    CSize size = BitmapSize(bitmap, CSize(0, 0));
    HGDIOBJ previous = source.SelectObject(bitmap.m_hObject);
    if (width < 0)
        dc.BitBlt(x, y, size.cx, size.cy, &source, 0, 0, SRCCOPY);
    else if (width > 0)
        dc.StretchBlt(x, y, width, size.cy, &source, 0, 0, size.cx, size.cy, SRCCOPY);
    source.SelectObject(previous);
}

// A band of three bitmaps: left end, stretched middle, right end.  Returns
// the middle part.
CRect DrawBand(CDC& dc, CDC& source, const CBitmap* parts, int left, int top, int right, int height)
{
    const int leftWidth = BitmapSize(parts[0], CSize(0, 0)).cx;
    const int rightWidth = BitmapSize(parts[2], CSize(0, 0)).cx;
    CRect middle(left + leftWidth, top, right - rightWidth, top + height);
    DrawBitmap(dc, source, parts[0], left, top);
    DrawBitmap(dc, source, parts[2], right - rightWidth, top);
    DrawBitmap(dc, source, parts[1], middle.left, top, std::max(0, static_cast<int>(middle.Width())));
    return middle;
}

void Line(CDC& dc, int x1, int y1, int x2, int y2)
{
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

} // namespace

IMPLEMENT_DYNAMIC(tkxDynaInfoBar, CControlBar)

BEGIN_MESSAGE_MAP(tkxDynaInfoBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETCURSOR()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

// The plain state comes first, so that nothing below can leave it undefined.
tkxDynaInfoBar::tkxDynaInfoBar()
    : m_bInFrameChange(0), m_bTracking(0), m_iEdgeWidth(5), m_iBottomMargin(15),
      m_nDockBarID(AFX_IDW_DOCKBAR_FLOAT), m_szMin(50, 50), m_szHorz(220, 200), m_szVert(220, 200),
      m_szFloat(220, 200), m_nSlideState(kHidden), m_STitle(L"修改平曲线交点坐标"), m_dwInfoKind(1)
{
    m_penWhite.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    m_penGrid.CreatePen(PS_SOLID, 1, RGB(136, 136, 158));
    m_brBack.CreateSolidBrush(RGB(237, 237, 243));
    m_brGroup.CreateSolidBrush(RGB(222, 222, 228));
    m_brHiLabel.CreateSolidBrush(RGB(237, 237, 243));
    m_brHiValue.CreateSolidBrush(RGB(255, 255, 255));
    m_fontTitle.CreateFont(12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
    m_fontText.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");

    if (!m_bmpLogo.LoadBitmap(IDB_INFO_LOGO)) ShowLoadFailure(L"\n加载资源位图[TAVIXRES_IDB_BITMAP_LOGO]失败!");
    if (!m_bmpButton.LoadBitmap(IDB_INFO_BUTTON)) {
        ShowLoadFailure(L"\n加载资源位图[IDB_BMP_TitleBar_Bnt]失败!");
        return; // painting leaves out what is missing
    }
    m_bmpTitle[0].LoadBitmap(IDB_INFO_TITLE_LEFT);
    m_bmpTitle[1].LoadBitmap(IDB_INFO_TITLE_MIDDLE);
    m_bmpTitle[2].LoadBitmap(IDB_INFO_TITLE_RIGHT);
    m_bmpGroup[0].LoadBitmap(IDB_INFO_GROUP_LEFT);
    m_bmpGroup[1].LoadBitmap(IDB_INFO_GROUP_MIDDLE);
    m_bmpGroup[2].LoadBitmap(IDB_INFO_GROUP_RIGHT);
}

tkxDynaInfoBar::~tkxDynaInfoBar()
{
    RemoveAllGroups();
    if (g_infoBar == this) g_infoBar = nullptr;
}

BOOL tkxDynaInfoBar::Create(CWnd* parent, UINT id, const wchar_t* title, CSize size, DWORD style)
{
    m_dwStyle = style & CBRS_ALL;
    m_nDockBarID = AFX_IDW_DOCKBAR_FLOAT;
    const wchar_t* windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                                     reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    m_szHorz = m_szVert = m_szFloat = size;
    return CWnd::Create(windowClass, title, style & (WS_CHILD | WS_VISIBLE), CRect(0, 0, 220, 200), parent, id);
}

BOOL tkxDynaInfoBar::IsFloating() const { return !IsSideDockBar(m_nDockBarID); }

// The window is gone (destroyed on purpose or with its host): the library
// forgets the bar, so that a later creation makes a new one.
void tkxDynaInfoBar::PostNcDestroy()
{
    if (g_infoBar == this) {
        g_infoBar = nullptr;
        delete this;
        return;
    }
    CControlBar::PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Contents

void tkxDynaInfoBar::SetInfo(const CString& text, DWORD kind)
{
    m_SInfoLines.RemoveAll();
    int start = 0;
    for (int end = text.Find(L'\n'); end >= 0; end = text.Find(L'\n', start)) {
        if (end > start) m_SInfoLines.Add(text.Mid(start, end - start));
        start = end + 1;
    }
    // Without a line before a break the whole text is the one line, breaks
    // and all; otherwise a rest after the last break is the last line.
    if (m_SInfoLines.GetSize() == 0)
        m_SInfoLines.Add(text);
    else if (start < text.GetLength())
        m_SInfoLines.Add(text.Mid(start));
    m_dwInfoKind = kind;
}

void tkxDynaInfoBar::AddGroup(const sInfoGroup& group, int clear)
{
    if (clear == 1) RemoveAllGroups();
    m_Groups.AddTail(new sInfoGroup(group));
}

void tkxDynaInfoBar::RemoveAllGroups()
{
    for (POSITION pos = m_Groups.GetHeadPosition(); pos;) delete m_Groups.GetNext(pos);
    m_Groups.RemoveAll();
}

// ---------------------------------------------------------------------------
// Sliding

void tkxDynaInfoBar::SlideIn()
{
    m_nSlideState = kSlidingIn;
    CWnd* parent = GetParent();
    if (!parent) return;
    CRect outer;
    parent->GetWindowRect(&outer);
    parent->ScreenToClient(&outer);
    m_rcPosition.left = m_rcPosition.right = outer.right - 5;
    SetWindowPos(nullptr, m_rcPosition.left, m_rcPosition.top, 0, m_rcPosition.Height(), SWP_SHOWWINDOW);
    SetTimer(kTimerSlideIn, kSlidePeriod);
}

void tkxDynaInfoBar::SlideOut()
{
    KillTimer(kTimerSlideIn);
    SetTimer(kTimerSlideOut, kSlidePeriod);
}

void tkxDynaInfoBar::OnTimer(UINT_PTR id)
{
    if (id == kTimerSlideIn) {
        m_rcPosition.left -= kSlideStep;
        MoveWindow(&m_rcPosition, TRUE);
        if (m_rcPosition.Width() > kShownWidth) {
            m_nSlideState = kShown;
            KillTimer(kTimerSlideIn);
        }
    } else if (id == kTimerSlideOut) {
        m_rcPosition.left += kSlideStep;
        MoveWindow(&m_rcPosition, TRUE);
        if (m_rcPosition.Width() <= kHiddenWidth) {
            m_nSlideState = kHidden;
            KillTimer(kTimerSlideOut);
            ShowWindow(SW_HIDE);
        }
    } else {
        Default();
    }
}

// ---------------------------------------------------------------------------
// Painting

void tkxDynaInfoBar::OnPaint()
{
    CPaintDC dc(this);
    GetClientRect(&m_rcClient);
    const CRect client = m_rcClient;
    if (client.IsRectEmpty()) return;
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    const int edge = m_iEdgeWidth;

    if (m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT)
        m_rcBorder = CRect(L + 1, T + 1, L + 1 + edge, B - 1);
    else
        m_rcBorder = CRect(R - 1 - edge, T + 1, R - 1, B - 1);

    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    CBitmap* previousCanvas = memory.SelectObject(&canvas);
    CDC source;
    source.CreateCompatibleDC(&dc);
    memory.SetStretchBltMode(COLORONCOLOR);

    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    memory.FillRect(&client, &m_brBack);
    memory.Draw3dRect(&client, light, shadow);
    if (!IsFloating()) memory.Draw3dRect(&m_rcBorder, light, shadow);
    memory.SetBkMode(TRANSPARENT);

    // Logo, then the title band below it.
    DrawBitmap(memory, source, m_bmpLogo, L + 10, T + 2);
    const int logoHeight = BitmapSize(m_bmpLogo, CSize(0, 0)).cy;
    const int bandHeight = BitmapSize(m_bmpTitle[1], CSize(0, kTitleHeight)).cy;
    CRect band(L + 10, T + logoHeight + 5, R - 10, T + logoHeight + 5 + bandHeight);
    CRect middle = DrawBand(memory, source, m_bmpTitle, band.left, band.top, band.right, bandHeight);
    CFont* previousFont = memory.SelectObject(&m_fontTitle);
    memory.SetTextColor(RGB(0, 0, 0));
    memory.SetTextAlign(TA_CENTER | TA_TOP);
    const int titleHeight = memory.GetTextExtent(m_STitle).cy;
    memory.ExtTextOut(band.CenterPoint().x, band.top + (bandHeight - titleHeight) / 2 - 2, ETO_CLIPPED, &middle,
                      m_STitle, m_STitle.GetLength(), nullptr);
    memory.SetTextAlign(TA_LEFT | TA_TOP);

    // Groups.
    int y = band.bottom;
    for (POSITION pos = m_Groups.GetHeadPosition(); pos;) {
        const sInfoGroup* group = m_Groups.GetNext(pos);
        y = DrawGroup(memory, source, *group, band.left + edge, y + 5, band.right - edge);
    }

    // Information text.
    CRect info(L + 10, y, R - 10, B - m_iBottomMargin);
    if (info.top + 12 < info.bottom) {
        memory.Draw3dRect(&info, shadow, light);
        CRect text = info;
        text.OffsetRect(5, 5);
        if (m_SInfoLines.GetSize() > 0 && text.Height() >= 12) {
            memory.SelectObject(&m_fontText);
            memory.SetTextColor(m_dwInfoKind == kInfoPlain ? RGB(0, 0, 0) : kRed);
            int lineHeight = memory.GetTextExtent(m_SInfoLines[0]).cy;
            if (lineHeight <= 0) {
                TEXTMETRICW metrics{};
                memory.GetTextMetrics(&metrics);
                lineHeight = metrics.tmHeight;
            }
            int lineTop = text.top;
            for (INT_PTR i = 0; i < m_SInfoLines.GetSize() && lineTop < text.bottom; ++i) {
                const CString& line = m_SInfoLines[i];
                memory.ExtTextOut(text.left, lineTop, ETO_CLIPPED, &text, line, line.GetLength(), nullptr);
                lineTop += lineHeight + 3;
            }
        }
    }
    memory.SelectObject(previousFont);

    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previousCanvas);
}

// One group from (l, t) to r; returns the bottom of its body.
int tkxDynaInfoBar::DrawGroup(CDC& dc, CDC& source, const sInfoGroup& group, int l, int t, int r)
{
    // Header band with the group's name.
    CRect middle = DrawBand(dc, source, m_bmpGroup, l, t, r, kGroupHeader);
    dc.SelectObject(&m_fontTitle);
    dc.SetTextColor(RGB(255, 255, 255));
    CRect name(middle.left, t, middle.right, t + kGroupHeader);
    dc.DrawText(group.m_SName, &name, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    // Rows: the label column fits the widest label.
    const int count = std::max(0, std::min<int>(group.m_nCount, sInfoGroup::kMaxItems));
    dc.SelectObject(&m_fontText);
    CSize widest(0, 0);
    for (int i = 0; i < count; ++i) {
        CSize size = dc.GetTextExtent(group.m_Items[i].m_SName);
        if (size.cx > widest.cx || i == 0) widest = size;
    }
    if (widest.cy <= 0) {
        TEXTMETRICW metrics{};
        dc.GetTextMetrics(&metrics);
        widest.cy = metrics.tmHeight;
    }
    const int labelWidth = widest.cx + 10;
    const int rowHeight = widest.cy + 6;

    const int y0 = t + kGroupHeader - 1;
    const int y1 = y0 + count * rowHeight;
    CRect body(l, y0, r - 1, y1);
    dc.FillRect(&body, &m_brGroup);
    CPen* previousPen = dc.SelectObject(&m_penWhite);
    dc.MoveTo(l, y0);
    dc.LineTo(l, y1);
    dc.LineTo(r - 1, y1);
    dc.LineTo(r - 1, y0);
    dc.SelectObject(&m_penGrid);
    Line(dc, l + 1, y0, r - 2, y0);

    for (int i = 0; i < count; ++i) {
        const sInfoItem& item = group.m_Items[i];
        const int top = y0 + i * rowHeight, bottom = top + rowHeight;
        CRect label(l + 1, top, l + labelWidth, bottom);
        CRect value(l + labelWidth, top, r - 2, bottom);
        const bool highlighted = (item.m_dwFlags & kInfoHighlight) != 0;
        if (highlighted) {
            dc.FillRect(&label, &m_brHiLabel);
            dc.FillRect(&value, &m_brHiValue);
        }
        dc.SetTextColor(RGB(0, 0, 0));
        dc.DrawText(item.m_SName, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        CRect valueText = value;
        valueText.left += 4;
        dc.SetTextColor(highlighted ? kRed : RGB(0, 0, 0));
        dc.DrawText(item.m_SValue, &valueText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        Line(dc, label.left, bottom - 1, value.right, bottom - 1);
    }

    // Grid lines closing the body.
    Line(dc, l + 1, y0, l + 1, y1 - 1);
    Line(dc, l + labelWidth, y0, l + labelWidth, y1 - 1);
    Line(dc, r - 2, y0, r - 2, y1 - 1);
    Line(dc, l + 1, y1 - 1, r - 2, y1 - 1);
    dc.SelectObject(previousPen);
    return y1;
}

// ---------------------------------------------------------------------------
// Size, position and the sizing edge

void tkxDynaInfoBar::OnSize(UINT, int, int)
{
    if (m_rcClient.Width() >= 120) Default();
}

void tkxDynaInfoBar::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
    m_nDockBarID = ::GetDlgCtrlID(::GetParent(m_hWnd));
    if (!m_bInFrameChange) {
        m_bInFrameChange = 1;
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_bInFrameChange = 0;
    }
    Invalidate(TRUE);
}

BOOL tkxDynaInfoBar::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    if (hitTest == HTSIZE && !m_bTracking) {
        const bool horz = IsHorzDockBar(m_nDockBarID);
        ::SetCursor(::LoadCursorW(nullptr, horz ? IDC_SIZENS : IDC_SIZEWE));
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void tkxDynaInfoBar::OnNcLButtonDown(UINT hitTest, CPoint)
{
    if (m_bTracking) return;
    if (hitTest == HTSIZE && !IsFloating())
        StartTracking();
    else
        Default();
}

BarSizing::Tracker tkxDynaInfoBar::Sizing() { return BarSizing::Tracker(this, m_bTracking, m_rcTracker, m_ptOld); }

void tkxDynaInfoBar::StartTracking() { Sizing().Start(m_rcBorder, IsHorzDockBar(m_nDockBarID)); }

void tkxDynaInfoBar::OnInvertTracker(const CRect& rect)
{
    BarSizing::InvertTracker(this, GetDockingFrame(), rect);
}

CPoint& tkxDynaInfoBar::ClientToWnd(CPoint& point) const
{
    point.x += 5;
    point.y += 5;
    if (m_nDockBarID == AFX_IDW_DOCKBAR_BOTTOM) point.y += m_iBottomMargin;
    if (m_nDockBarID == AFX_IDW_DOCKBAR_RIGHT) point.x += m_iEdgeWidth;
    return point;
}

void tkxDynaInfoBar::OnMouseMove(UINT, CPoint point)
{
    if (!m_bTracking || IsFloating()) {
        Default();
        return;
    }
    Sizing().Follow(ClientToWnd(point), IsHorzDockBar(m_nDockBarID));
}

void tkxDynaInfoBar::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bTracking) {
        Default();
        return;
    }
    ClientToWnd(point);
    CRect window;
    GetWindowRect(&window);
    const bool tooNarrow = window.Width() < 200 && point.x > 0;
    const bool tooWide = window.Width() > 400 && point.x < 0;
    StopTracking(!tooNarrow && !tooWide);
}

// Losing the capture to another window ends a drag, keeping the old size.
void tkxDynaInfoBar::OnCaptureChanged(CWnd* wnd)
{
    Sizing().CaptureChanged(wnd);
    Default();
}

void tkxDynaInfoBar::StopTracking(BOOL accept)
{
    CFrameWnd* frame =
        Sizing().Stop(accept != FALSE, m_nDockBarID, IsHorzDockBar(m_nDockBarID), m_szMin, m_szHorz, m_szVert);
    if (!frame) return;
    frame->DelayRecalcLayout(TRUE);
    frame->RecalcLayout(TRUE);
}

// ---------------------------------------------------------------------------
// Layout

CSize tkxDynaInfoBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    return BarSizing::Fixed(GetDockingFrame(), stretch, horz, m_szHorz, m_szVert);
}

CSize tkxDynaInfoBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (length == -1) {
            if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
        }
        return CControlBar::CalcDynamicLayout(length, mode);
    }
    return BarSizing::Floating(length, mode, m_szMin, m_szFloat);
}

void tkxDynaInfoBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    UpdateDialogControls(target, disableIfNoHandler);
}

// ---------------------------------------------------------------------------
// Exported functions

int WINAPI tkx_CreateTavixDynaInfoBar(HWND parent)
{
    if (g_infoBar) return 1;
    auto* bar = new tkxDynaInfoBar;
    g_infoBar = bar;
    if (!parent || !bar->Create(CWnd::FromHandle(parent), 0, L"TAVIX 属性栏", CSize(220, 220), WS_CHILD)) {
        // A window that got as far as its last message took the bar with it.
        if (g_infoBar == bar) delete bar;
        g_infoBar = nullptr;
        return 0;
    }
    bar->SetBarStyle(bar->GetBarStyle() | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY);
    return 1;
}

void WINAPI tkx_AddGroupToTvDynaInfoBar(sInfoGroup group, int clear)
{
    if (g_infoBar) g_infoBar->AddGroup(group, clear);
}

void WINAPI tkx_SetTvDynaInfoBar_Info(CString text, DWORD kind, int redraw)
{
    if (!g_infoBar) return;
    g_infoBar->SetInfo(text, kind);
    if (redraw == 1) g_infoBar->Invalidate(FALSE);
}

void WINAPI tkx_UpdateTvDynaInfoBar(const wchar_t* title, int top, int height)
{
    tkxDynaInfoBar* bar = g_infoBar;
    if (!bar) return;
    if (bar->m_nSlideState == tkxDynaInfoBar::kHidden) {
        bar->m_rcPosition.top = top;
        bar->m_rcPosition.bottom = top + height;
        bar->SlideIn();
    }
    bar->m_STitle = title ? title : L"";
    bar->Invalidate(FALSE);
}

void WINAPI tkx_HideTvDynaInfoBar()
{
    if (g_infoBar && g_infoBar->m_nSlideState != tkxDynaInfoBar::kHidden) g_infoBar->SlideOut();
}

void DestroyDynaInfoBar()
{
    tkxDynaInfoBar* bar = g_infoBar;
    if (!bar) return;
    // Destroying the window deletes the bar (PostNcDestroy); a bar whose
    // window is gone already is deleted here.
    if (!bar->m_hWnd || !bar->DestroyWindow()) delete bar;
    g_infoBar = nullptr;
}
