#include "corvane/ui/TvStatusBar.h"
#include "corvane/CorvaneResource.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/TavixDevApp.h"
#include <algorithm>
#include <cstdarg>

namespace {

const COLORREF kWarningColour = RGB(120, 0, 0);
const int kFixedPanes = 415;      // width of the three fixed panes with their gaps
const int kMaxPrintf = 2048;      // characters of a formatted message, terminator included

CString PaneText(const wchar_t* prefix, const wchar_t* name)
{
    CString text(prefix);
    text += (name && *name) ? name : L"[无]";
    return text;
}

void ShowFormatted(int warning, const wchar_t* format, va_list args)
{
    CTvStatusBar* bar = TavixDevApp().m_pStatusBar;
    if (!bar || !format) return;
    CString text;
    try {
        text.FormatV(format, args);
    } catch (CException* e) { // a format the C library rejects shows nothing
        e->Delete();
        return;
    }
    if (text.IsEmpty() || text.GetLength() >= kMaxPrintf) return;
    bar->SetMessage(text, warning);
}

} // namespace

IMPLEMENT_DYNAMIC(CTvStatusBar, tkxControlBar)

BEGIN_MESSAGE_MAP(CTvStatusBar, tkxControlBar)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_COPYDATA()
END_MESSAGE_MAP()

CTvStatusBar::CTvStatusBar() : m_bWarning(0)
{
    m_Font.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                      CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
    m_BkBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    if (!m_PaneBitmap.LoadBitmap(IDB_STATUS_PANE))
        ClMessageBox(TavixMainWindow(), L"加载资源位图失败!", L"TAVIX", MB_OK | MB_ICONWARNING);

    m_SMessage = L"Tavix状态栏就绪...";
    CTavixDevApp& app = TavixDevApp();
    m_SProject = PaneText(L"项目:", app.m_CurProject.m_SName);
    m_SRoad = PaneText(L"道路:", app.m_CurProject.GetCurRoadName());
    m_SMesh = L"数模:无";

    // A plain status bar: no docking toggle, no gripper, no buttons; the
    // sizing edge stays.
    m_bDblClkToggle = 0;
    m_bShowGripper = 0;
    m_bShowButtons = 0;
}

CTvStatusBar::~CTvStatusBar() = default;

BOOL CTvStatusBar::Create(CWnd* parent, UINT id, const wchar_t* title, CSize size, DWORD style)
{
    m_bShowGripper = 0;
    m_bShowButtons = 0;
    return tkxControlBar::Create(parent, id, title, size, style);
}

void CTvStatusBar::PostNcDestroy()
{
    CTavixDevApp& app = TavixDevApp();
    if (app.m_pStatusBar == this) app.m_pStatusBar = nullptr;
    tkxControlBar::PostNcDestroy();
}

// ---------------------------------------------------------------------------
// Texts

void CTvStatusBar::SetMessage(const wchar_t* text, int warning)
{
    m_SMessage = text ? text : L"";
    m_bWarning = warning;
    if (m_hWnd) InvalidateRect(&m_rcMessage, FALSE);
}

void CTvStatusBar::SetProjectText(const wchar_t* text, int redraw)
{
    m_SProject = text ? text : L"";
    if (redraw == 1 && m_hWnd) Invalidate(FALSE);
}

void CTvStatusBar::SetRoadText(const wchar_t* text, int redraw)
{
    m_SRoad = text ? text : L"";
    if (redraw == 1 && m_hWnd) Invalidate(FALSE);
}

void CTvStatusBar::SetMeshText(const wchar_t* text, int redraw)
{
    m_SMesh = text ? text : L"";
    if (redraw == 1 && m_hWnd) Invalidate(FALSE);
}

void CTvStatusBar::SetPaneText(const wchar_t* text, short kind)
{
    const wchar_t* name = text ? text : L"";
    switch (kind) {
    case 0: SetMessage(name, 0); break;
    case 1: SetProjectText(ClFormat(L"项目:%s", name), 1); break;
    case 2: SetRoadText(ClFormat(L"道路:%s", name), 1); break;
    case 3: SetMeshText(ClFormat(L"数模:%s", name), 1); break;
    default: SetMessage(name, 1); break;
    }
}

// Text from another process: read no further than the sent byte count, at
// most 511 characters, up to the first zero; a cut never keeps half of a
// surrogate pair.
BOOL CTvStatusBar::OnCopyData(CWnd*, COPYDATASTRUCT* data)
{
    if (!m_hWnd || !::IsWindow(m_hWnd) || !data || !data->lpData) return FALSE;
    const auto* source = static_cast<const wchar_t*>(data->lpData);
    const size_t limit = std::min<size_t>(data->cbData / sizeof(wchar_t), kMaxCopyText);
    size_t length = 0;
    while (length < limit && source[length]) ++length;
    if (length == kMaxCopyText && length > 0 && source[length] && source[length - 1] >= 0xD800 &&
        source[length - 1] <= 0xDBFF)
        --length;
    wchar_t text[kMaxCopyText + 1] = {};
    std::copy(source, source + length, text);
    SetPaneText(text, static_cast<short>(LOWORD(data->dwData)));
    return static_cast<BOOL>(Default());
}

// ---------------------------------------------------------------------------
// Painting

void CTvStatusBar::OnSize(UINT, int, int)
{
    if (m_hWnd) Default();
}

void CTvStatusBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int width = client.Width(), height = client.Height();
    if (width <= 0 || height <= 0) return;
    const int message = width - kFixedPanes; // the message pane's width

    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap canvas;
    canvas.CreateCompatibleBitmap(&dc, width, height);
    CBitmap* previousCanvas = memory.SelectObject(&canvas);
    memory.FillRect(&client, &m_BkBrush);

    // Pane backgrounds.
    if (m_PaneBitmap.m_hObject) {
        BITMAP info{};
        m_PaneBitmap.GetBitmap(&info);
        CDC source;
        source.CreateCompatibleDC(&dc);
        CBitmap* previous = source.SelectObject(&m_PaneBitmap);
        memory.SetStretchBltMode(COLORONCOLOR);
        const int panes[4][2] = {{3, message}, {message + 6, 200}, {message + 209, 100}, {message + 312, 100}};
        for (const auto& pane : panes) {
            if (pane[1] <= 0) continue;
            memory.StretchBlt(pane[0], 0, pane[1], height, &source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        }
        source.SelectObject(previous);
    }

    // Sunken frames.
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_rcMessage = CRect(2, 0, message + 2, height - 1);
    const CRect project(message + 5, 0, message + 208, height - 1);
    const CRect road(message + 208, 0, message + 311, height - 1);
    const CRect mesh(message + 311, 0, width - 2, height - 1);
    if (!m_rcMessage.IsRectEmpty()) memory.Draw3dRect(&m_rcMessage, shadow, light);
    for (const CRect* frame : {&project, &road, &mesh})
        if (!frame->IsRectEmpty()) memory.Draw3dRect(frame, shadow, light);

    // Texts, all in the message's colour.
    CFont* previousFont = memory.SelectObject(&m_Font);
    memory.SetBkMode(TRANSPARENT);
    memory.SetTextColor(m_bWarning == 1 ? kWarningColour : RGB(0, 0, 0));
    if (!m_rcMessage.IsRectEmpty()) {
        CRect clip = m_rcMessage;
        clip.OffsetRect(1, 1);
        memory.SetTextAlign(TA_LEFT | TA_TOP);
        memory.ExtTextOut(5, 5, ETO_CLIPPED, &clip, m_SMessage, m_SMessage.GetLength(), nullptr);
    }
    memory.SetTextAlign(TA_CENTER | TA_TOP);
    const std::pair<const CRect*, const CString*> texts[] = {{&project, &m_SProject}, {&road, &m_SRoad}, {&mesh, &m_SMesh}};
    for (const auto& pane : texts) {
        CRect clip = *pane.first;
        clip.OffsetRect(1, 1);
        memory.ExtTextOut(pane.first->CenterPoint().x, 5, ETO_CLIPPED, &clip, *pane.second,
                          pane.second->GetLength(), nullptr);
    }
    memory.SelectObject(previousFont);

    dc.BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previousCanvas);
}

// ---------------------------------------------------------------------------
// Exported functions

int WINAPI tkx_InitTavixStatusBar(HWND frame)
{
    if (!frame) return 0;
    CTavixDevApp& app = TavixDevApp();
    if (!app.AppInfo().m_bTvStatus) return 0;
    // The bar docks only in a frame of the class library; any other window
    // gets the creation's failure report.
    return app.CreateStatusBar(DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(frame)));
}

void tkx_StatusPrintf(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    ShowFormatted(0, format, args);
    va_end(args);
}

void tkx_StatusWarning(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    ShowFormatted(1, format, args);
    va_end(args);
}

void WINAPI tkx_SetStatusText(const wchar_t* text, short pane)
{
    CTvStatusBar* bar = TavixDevApp().m_pStatusBar;
    if (!bar) return;
    if (pane == 0)
        bar->SetMessage(text, 0);
    else if (pane >= 1 && pane <= 3)
        bar->SetPaneText(text, pane);
}

void WINAPI tkx_DestroyTvStatusBar() { TavixDevApp().DestroyStatusBar(); }
