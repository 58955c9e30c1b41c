#include "brisko/templates/SlopePicture.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "corvane/platform/FileName.h"
#include "corvane/project/StationText.h"
#include <algorithm>
#include <cmath>
#include <cstdint>

CSlopeLineArray SlopePreviewLines;
CString SlopePreviewPath;

const wchar_t kSlopeBrowseClass[] = L"WND_SLOPEBROWSE_CLASSNAME";

namespace {

const double kPi = 3.14159265358979323846;

// The marks, in the order of CSlopePicture::m_hIcons.
enum {
    kIconError, kIconSubgrade, kIconLengthFile, kIconWallFile, kIconCurveFile, kIconWidthFile, kIconDitch,
    kIconGround, kIconArc, kIconOffset, kIconPosType, kIconLength, kIconStopEnd, kIconStopNext, kIconWallStart,
    kIconWallEnd,
};
const UINT kIconIds[16] = {
    IDI_SLOPE_ERROR,     IDI_SLOPE_SUBGRADE, IDI_SLOPE_LENGTHFILE, IDI_SLOPE_WALLFILE, IDI_SLOPE_CURVEFILE,
    IDI_SLOPE_WIDTHFILE, IDI_SLOPE_DITCH,    IDI_SLOPE_GROUND,     IDI_SLOPE_ARC,      IDI_SLOPE_OFFSET,
    IDI_SLOPE_POSTYPE,   IDI_SLOPE_LENGTH,   IDI_SLOPE_STOP_END,   IDI_SLOPE_STOP_NEXT, IDI_SLOPE_WALL_START,
    IDI_SLOPE_WALL_END,
};

// The pens, in the order of CSlopePicture::m_pens.
enum {
    kPenDmGrid, kPenMGrid, kPenTopsoil, kPenPlain, kPenCurrent, kPenHidden, kPenCurrentHidden, kPenGreyDot,
    kPenYellowDot, kPenRedDot,
};
const struct {
    int style, width;
    COLORREF colour;
} kPens[10] = {
    {PS_SOLID, 1, RGB(0, 50, 20)},     {PS_SOLID, 1, RGB(0, 80, 0)},     {PS_SOLID, 2, RGB(250, 250, 0)},
    {PS_SOLID, 2, RGB(255, 153, 62)},  {PS_SOLID, 2, RGB(250, 0, 0)},    {PS_SOLID, 1, RGB(128, 128, 0)},
    {PS_SOLID, 2, RGB(190, 122, 122)}, {PS_DOT, 1, RGB(155, 155, 155)},  {PS_DOT, 1, RGB(250, 250, 0)},
    {PS_DOT, 1, RGB(250, 0, 0)},
};

// The end rules whose end depends on the ground or a file, and their marks.
int EndRuleMark(int mode, int type)
{
    switch (mode) {
    case 0: return type == 1 ? kIconLengthFile : (type == 2 || type == 3) ? kIconGround : -1;
    case 1:
        return type == 1 ? kIconDitch : type == 3 ? kIconWallFile : type == 4 ? kIconCurveFile
               : type == 5                                                   ? kIconGround
                                                                             : -1;
    case 2: return type == 2 ? kIconWidthFile : type == 5 ? kIconGround : -1;
    default: return -1;
    }
}

// A font of the preview's labels, turned by `angle` tenths of a degree.
void MakeFont(CFont& font, int height, int angle, const wchar_t* face, int weight = FW_NORMAL)
{
    font.CreateFont(height, 0, angle, angle, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// Text turned to a slant: drawn upright into a bitmap of its own and laid
// onto the DC turned, pixel by pixel.  The platform's own turned text may
// drop the thinnest strokes at these sizes (the point of "1: 1.5" would
// read "1: 15").  Each lit pixel is carried over (nothing is lost) and each
// pixel of the turned box looks back into the upright text (no gaps).
void DrawSlantedText(CDC* dc, CFont& font, const CString& text, int x, int y, UINT align, COLORREF colour, int angle)
{
    CDC upright;
    upright.CreateCompatibleDC(dc);
    CFont* oldFont = upright.SelectObject(&font);
    const CSize size = upright.GetTextExtent(text);
    TEXTMETRICW metrics = {};
    upright.GetTextMetrics(&metrics);
    if (size.cx <= 0 || size.cy <= 0) {
        upright.SelectObject(oldFont);
        return;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(upright.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        upright.SelectObject(oldFont);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(upright.GetSafeHdc(), bitmap);
    std::fill_n(static_cast<uint32_t*>(bits), static_cast<size_t>(size.cx) * size.cy, 0u);
    upright.SetBkMode(TRANSPARENT);
    upright.SetTextColor(RGB(255, 255, 255));
    upright.SetTextAlign(TA_LEFT | TA_TOP);
    upright.TextOut(0, 0, text);
    ::GdiFlush();
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    auto lit = [&](int px, int py) {
        return px >= 0 && py >= 0 && px < size.cx && py < size.cy && (pixels[py * size.cx + px] & 0xFFFFFF) != 0;
    };

    // The reference point within the upright text, as the alignment puts it.
    const UINT across = align & (TA_LEFT | TA_CENTER | TA_RIGHT);
    const UINT down = align & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    const double rx = across == TA_CENTER ? size.cx / 2.0 : across == TA_RIGHT ? size.cx : 0.0;
    const double ry = down == TA_BOTTOM ? size.cy : down == TA_BASELINE ? metrics.tmAscent : 0.0;
    const double a = angle * kPi / 1800, c = std::cos(a), s = std::sin(a);
    // Upright (u, v) from the reference point, y down on the screen.
    auto turned = [&](double u, double v, double& X, double& Y) {
        X = x + u * c + v * s;
        Y = y - u * s + v * c;
    };
    for (int py = 0; py < size.cy; ++py)
        for (int px = 0; px < size.cx; ++px)
            if (lit(px, py)) {
                double X = 0, Y = 0;
                turned(px + 0.5 - rx, py + 0.5 - ry, X, Y);
                ::SetPixelV(dc->GetSafeHdc(), static_cast<int>(std::floor(X)), static_cast<int>(std::floor(Y)), colour);
            }
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (double u : {-rx, size.cx - rx})
        for (double v : {-ry, size.cy - ry}) {
            double X = 0, Y = 0;
            turned(u, v, X, Y);
            left = std::min(left, X), right = std::max(right, X);
            top = std::min(top, Y), bottom = std::max(bottom, Y);
        }
    for (int Y = static_cast<int>(std::floor(top)); Y <= static_cast<int>(std::ceil(bottom)); ++Y)
        for (int X = static_cast<int>(std::floor(left)); X <= static_cast<int>(std::ceil(right)); ++X) {
            const double dx = X + 0.5 - x, dy = Y + 0.5 - y;
            const double u = dx * c - dy * s, v = dx * s + dy * c;
            if (lit(static_cast<int>(std::floor(u + rx)), static_cast<int>(std::floor(v + ry)))) ::SetPixelV(dc->GetSafeHdc(), X, Y, colour);
        }
    ::SelectObject(upright.GetSafeHdc(), oldBitmap);
    ::DeleteObject(bitmap);
    upright.SelectObject(oldFont);
}

// Draws text with a font of its own, then gives the DC its font back.
void DrawLabel(CDC* dc, const CString& text, int x, int y, UINT align, COLORREF colour, int height, int angle,
               const wchar_t* face)
{
    angle = ((angle % 3600) + 3600) % 3600;
    if (angle % 900 != 0) {
        CFont upright;
        MakeFont(upright, height, 0, face);
        DrawSlantedText(dc, upright, text, x, y, align, colour, angle);
        return;
    }
    CFont font;
    MakeFont(font, height, angle, face);
    CFont* old = dc->SelectObject(&font);
    dc->SetTextColor(colour);
    dc->SetTextAlign(align);
    dc->TextOut(x, y, text);
    dc->SelectObject(old);
}

// The box DrawLabel covers with the same text, place and turn.
CRect LabelBox(CDC* dc, const CString& text, int x, int y, UINT align, int height, int angle, const wchar_t* face)
{
    CFont font;
    MakeFont(font, height, 0, face);
    CFont* old = dc->SelectObject(&font);
    const CSize size = dc->GetTextExtent(text);
    TEXTMETRICW metrics = {};
    dc->GetTextMetrics(&metrics);
    dc->SelectObject(old);
    if (size.cx <= 0 || size.cy <= 0) return CRect(x, y, x, y);
    const UINT across = align & (TA_LEFT | TA_CENTER | TA_RIGHT);
    const UINT down = align & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    const double rx = across == TA_CENTER ? size.cx / 2.0 : across == TA_RIGHT ? size.cx : 0.0;
    const double ry = down == TA_BOTTOM ? size.cy : down == TA_BASELINE ? metrics.tmAscent : 0.0;
    const double a = (((angle % 3600) + 3600) % 3600) * kPi / 1800, c = std::cos(a), s = std::sin(a);
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (double u : {-rx, size.cx - rx})
        for (double v : {-ry, size.cy - ry}) {
            const double X = x + u * c + v * s, Y = y - u * s + v * c;
            left = std::min(left, X), right = std::max(right, X);
            top = std::min(top, Y), bottom = std::max(bottom, Y);
        }
    return CRect(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
                 static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1);
}

sSketchPoint Along(sSketchPoint p, double ux, double uy, double d)
{
    return sSketchPoint{static_cast<float>(p.x + ux * d), static_cast<float>(p.y + uy * d)};
}

HCURSOR LoadProgramCursor(UINT id)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_GROUP_CURSOR);
    HCURSOR cursor = module ? ::LoadCursorW(module, MAKEINTRESOURCEW(id)) : nullptr;
    return cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
}

} // namespace

CString SlopeGradientLabel(const CSlopeLine& line)
{
    double n = std::fabs(line.m_rFixedValue);
    if (line.m_iFixedType != 0) {
        const double dx = line.m_ptEnd.x - line.m_ptStart.x, dy = line.m_ptEnd.y - line.m_ptStart.y;
        if (std::fabs(dy) < 1e-6) return CString();
        n = std::fabs(dx / dy);
    }
    if (line.m_iSlopeLabelStyle == 0) return L"1: " + tkx_DToS(n, 3, 0);
    if (n < 1e-9) return CString();
    return tkx_DToS(100.0 / n, 2, 0) + L" %";
}

BEGIN_MESSAGE_MAP(CSlopePicture, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_SLOPE_ALLSYMBOLS, OnSymbolsCommand)
    ON_COMMAND(ID_SLOPE_CURRENTSYMBOLS, OnSymbolsCommand)
    ON_COMMAND(ID_SLOPE_DMGRID, OnDmGridCommand)
    ON_COMMAND(ID_SLOPE_MGRID, OnMGridCommand)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MBUTTONDOWN, OnMButtonDownMessage)
    ON_MESSAGE(WM_MBUTTONUP, OnMButtonUpMessage)
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_CAPTURECHANGED()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSlopePicture::CSlopePicture()
    : m_pSlopeLines(nullptr), m_nCurLine(0), m_bShowAllSymbols(1), m_bShowDmGrid(1), m_bShowMGrid(1),
      m_rcClient(0, 0, 0, 0), m_ptLast(0, 0), m_hIcons{}, m_iScale(40), m_rOriginX(1.0), m_rOriginY(-5.0),
      m_dragging(false), m_pMeasure(nullptr)
{
    // The class a dialog template can name, registered once per module.
    HINSTANCE module = ClCallerModule();
    WNDCLASSW known = {};
    if (!::GetClassInfoW(module, kSlopeBrowseClass, &known)) {
        WNDCLASSW wc = {};
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = module;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kSlopeBrowseClass;
        if (!::RegisterClassW(&wc)) {
            AfxMessageBox(L"注册边坡模板浏览器子窗口失败!");
            AfxThrowResourceException();
        }
    }
}

CSlopePicture::~CSlopePicture() = default;

BOOL CSlopePicture::Create(const RECT& rect, DWORD style, CWnd* parent, UINT id)
{
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CWnd::Create(cls, L"边坡模板浏览器", style | 0x20000, rect, parent, id)) {
        AfxMessageBox(L"错误: 创建边坡模板浏览器失败!");
        return FALSE;
    }
    return TRUE;
}

int CSlopePicture::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    for (int i = 0; i < 16; ++i) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(kIconIds[i]), RT_GROUP_ICON);
        if (module)
            m_hIcons[i] = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(kIconIds[i]), IMAGE_ICON, 32, 32, 0));
    }
    for (int i = 0; i < 10; ++i) m_pens[i].CreatePen(kPens[i].style, kPens[i].width, kPens[i].colour);
    m_brBack.CreateSolidBrush(RGB(0, 0, 0));
    if (!m_fontTitle.CreateFont(16, 0, 0, 0, 400, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"楷体GB_2312"))
        AfxMessageBox(L"设置<楷体GB_2312>字体出错!");
    if (!m_fontSmall.CreateFont(12, 0, 0, 0, 100, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体"))
        AfxMessageBox(L"设置<宋体>字体出错!");
    GetClientRect(&m_rcClient);
    return 0;
}

void CSlopePicture::OnDestroy()
{
    EndDrag();
    for (HICON& icon : m_hIcons) {
        if (icon) ::DestroyIcon(icon);
        icon = nullptr;
    }
    for (CPen& pen : m_pens) pen.DeleteObject();
    m_brBack.DeleteObject();
    m_fontTitle.DeleteObject();
    m_fontSmall.DeleteObject();
    CWnd::OnDestroy();
}

// ---------------------------------------------------------------------------
// View

CPoint CSlopePicture::ToScreen(double x, double y) const
{
    return CPoint(static_cast<int>((x - m_rOriginX) * m_iScale),
                  static_cast<int>(m_rcClient.Height() - (y - m_rOriginY) * m_iScale));
}

void CSlopePicture::ToWorld(CPoint point, double& x, double& y) const
{
    x = m_rOriginX + static_cast<double>(point.x) / m_iScale;
    y = m_rOriginY + static_cast<double>(m_rcClient.Height() - point.y) / m_iScale;
}

void CSlopePicture::ResetView()
{
    if (!GetSafeHwnd() || !IsWindowVisible()) return;
    GetClientRect(&m_rcClient);
    m_rOriginX = -1.5;
    m_rOriginY = -0.5 * m_rcClient.Height() / m_iScale;
    SetScrollRanges();
    Invalidate(FALSE);
}

void CSlopePicture::FitView()
{
    if (!GetSafeHwnd() || !IsWindowVisible()) return;
    ResetView();
    const INT_PTR count = m_pSlopeLines ? m_pSlopeLines->GetSize() : 0;
    if (count == 0) return;
    // The room: the client less a small margin and the title line.
    const int margin = 4, titleBottom = 22;
    const CRect room(margin, titleBottom + margin, m_rcClient.Width() - margin, m_rcClient.Height() - margin);
    if (room.Width() <= 0 || room.Height() <= 0) return;

    // The marks and labels keep their size in pixels while the lines grow
    // with the scale: the largest scale at which the whole drawing fits.
    m_rOriginX = m_rOriginY = 0.0;
    CRect extent;
    for (m_iScale = kMaxScale;; --m_iScale) {
        extent = DrawnExtent();
        if (m_iScale == kMinScale || (extent.Width() <= room.Width() && extent.Height() <= room.Height())) break;
    }

    // Centred.  What is too large even at the least scale keeps the lines
    // with the subgrade mark in view, as far as they fit, and of them their
    // start (the subgrade edge): a template going down from the edge shows
    // its top, one going up its bottom; it shows as much of the rest as the
    // room has on that side.
    double left = 1.0, right = 1.0, low = -1.0, high = -1.0;
    for (INT_PTR i = 0; i < count; ++i) {
        const CSlopeLine& line = (*m_pSlopeLines)[i];
        for (const sSketchPoint& p : {line.m_ptStart, line.m_ptEnd}) {
            left = std::min(left, static_cast<double>(p.x));
            right = std::max(right, static_cast<double>(p.x));
            low = std::min(low, static_cast<double>(p.y));
            high = std::max(high, static_cast<double>(p.y));
        }
    }
    const CPoint topLeft = ToScreen(left, high), bottomRight = ToScreen(right, low), edge = ToScreen(1.0, -1.0);
    CRect lines(topLeft.x - 2, topLeft.y - 2, bottomRight.x + 3, bottomRight.y + 3);
    if (m_hIcons[kIconSubgrade]) lines.UnionRect(lines, CRect(edge.x - 30, edge.y - 14, edge.x + 2, edge.y + 18));
    // The move, in pixels, that puts [from, to) in [roomFrom, roomTo),
    // centred; where it does not fit, its start there (or its end, with
    // keepEnd) as far as [keepFrom, keepTo) stays in the room, and of that
    // the start (the end) where it does not fit either.
    auto shift = [](int from, int to, int roomFrom, int roomTo, int keepFrom, int keepTo, bool keepEnd) {
        int d = 0;
        if (to - from <= roomTo - roomFrom)
            d = roomFrom + (roomTo - roomFrom - (to - from)) / 2 - from;
        else
            d = keepEnd ? roomTo - to : roomFrom - from;
        if (keepEnd) {
            d = std::max(d, roomFrom - keepFrom);
            d = std::min(d, roomTo - keepTo);
        } else {
            d = std::min(d, roomTo - keepTo);
            d = std::max(d, roomFrom - keepFrom);
        }
        return d;
    };
    const bool goingDown = high - (-1.0) < -1.0 - low;
    const int dx = shift(extent.left, extent.right, room.left, room.right, lines.left, lines.right, false);
    const int dy = shift(extent.top, extent.bottom, room.top, room.bottom, lines.top, lines.bottom, !goingDown);
    // Moving the origin by d / scale moves the drawing by d pixels.
    m_rOriginX = -static_cast<double>(dx) / m_iScale;
    m_rOriginY = static_cast<double>(dy) / m_iScale;
    SyncScrollPositions();
    Invalidate(FALSE);
}

void CSlopePicture::SetScrollRanges()
{
    const INT_PTR count = m_pSlopeLines ? m_pSlopeLines->GetSize() : 0;
    SCROLLINFO h = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS};
    h.nMin = -100;
    h.nMax = count > 0 ? static_cast<int>(10 * (*m_pSlopeLines)[count - 1].m_ptEnd.x) : 100;
    h.nPage = 1;
    h.nPos = 0;
    SetScrollInfo(SB_HORZ, &h, TRUE);

    SCROLLINFO v = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS};
    if (count > 0) {
        double lowest = 30, highest = -30;
        for (INT_PTR i = 0; i < count; ++i) {
            const CSlopeLine& line = (*m_pSlopeLines)[i];
            lowest = std::min({lowest, static_cast<double>(line.m_ptStart.y), static_cast<double>(line.m_ptEnd.y)});
            highest = std::max({highest, static_cast<double>(line.m_ptStart.y), static_cast<double>(line.m_ptEnd.y)});
        }
        v.nMin = static_cast<int>(10 * (lowest - 5));
        v.nMax = static_cast<int>(10 * (highest + 5));
    } else {
        v.nMin = -350;
        v.nMax = 350;
    }
    v.nPage = 1;
    v.nPos = 0;
    SetScrollInfo(SB_VERT, &v, TRUE);
}

void CSlopePicture::SyncScrollPositions()
{
    SCROLLINFO v = {sizeof(SCROLLINFO), SIF_RANGE};
    GetScrollInfo(SB_VERT, &v);
    SetScrollPos(SB_HORZ, static_cast<int>(10 * m_rOriginX), TRUE);
    SetScrollPos(SB_VERT, static_cast<int>(v.nMin + v.nMax - 10 * m_rOriginY), TRUE);
}

void CSlopePicture::Scroll(int bar, UINT code, UINT)
{
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL};
    GetScrollInfo(bar, &info);
    const bool horizontal = bar == SB_HORZ;
    // In metres; the vertical bar runs against the world's y.
    double origin = horizontal ? m_rOriginX : m_rOriginY;
    const double step = horizontal ? 1.0 : -1.0;
    switch (code) {
    case SB_LINELEFT: origin -= step; break;
    case SB_LINERIGHT: origin += step; break;
    case SB_PAGELEFT: origin -= 10 * step; break;
    case SB_PAGERIGHT: origin += 10 * step; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        origin = horizontal ? info.nTrackPos / 10.0 : (info.nMin + info.nMax - info.nTrackPos) / 10.0;
        break;
    default: return;
    }
    origin = std::max(info.nMin / 10.0, std::min(info.nMax / 10.0, origin));
    (horizontal ? m_rOriginX : m_rOriginY) = origin;
    SetScrollPos(bar, static_cast<int>(horizontal ? 10 * origin : info.nMin + info.nMax - 10 * origin), TRUE);
    Invalidate(FALSE);
}

void CSlopePicture::OnHScroll(UINT code, UINT pos, CScrollBar*) { Scroll(SB_HORZ, code, pos); }
void CSlopePicture::OnVScroll(UINT code, UINT pos, CScrollBar*) { Scroll(SB_VERT, code, pos); }

BOOL CSlopePicture::OnMouseWheel(UINT, short delta, CPoint point)
{
    ScreenToClient(&point);
    double wx = 0, wy = 0;
    ToWorld(point, wx, wy);
    const int scale = std::max<int>(kMinScale, std::min<int>(kMaxScale, m_iScale + delta / 120 * 2));
    if (scale != m_iScale) {
        m_iScale = scale;
        // The world point under the cursor stays under it.
        m_rOriginX = wx - static_cast<double>(point.x) / m_iScale;
        m_rOriginY = wy - static_cast<double>(m_rcClient.Height() - point.y) / m_iScale;
    }
    SyncScrollPositions();
    Invalidate(FALSE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Mouse

void CSlopePicture::BeginDrag(CPoint point)
{
    SetCapture();
    m_dragging = true;
    m_ptLast = point;
    ::SetCursor(LoadProgramCursor(IDC_CURSOR_GRAB));
}

void CSlopePicture::EndDrag()
{
    if (!m_dragging) return;
    m_dragging = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ::SetCursor(LoadProgramCursor(IDC_CURSOR_HAND));
}

void CSlopePicture::OnLButtonDown(UINT, CPoint point) { BeginDrag(point); }
void CSlopePicture::OnLButtonUp(UINT, CPoint) { EndDrag(); }

LRESULT CSlopePicture::OnMButtonDownMessage(WPARAM, LPARAM lParam)
{
    BeginDrag(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

LRESULT CSlopePicture::OnMButtonUpMessage(WPARAM, LPARAM)
{
    EndDrag();
    return 0;
}

void CSlopePicture::OnMouseMove(UINT, CPoint point)
{
    if (!m_dragging) return;
    m_rOriginX -= static_cast<double>(point.x - m_ptLast.x) / m_iScale;
    m_rOriginY += static_cast<double>(point.y - m_ptLast.y) / m_iScale;
    m_ptLast = point;
    SyncScrollPositions();
    Invalidate(FALSE);
}

// Another window took the mouse: the drag is over.
void CSlopePicture::OnCaptureChanged(CWnd* wnd)
{
    if (wnd != this) m_dragging = false;
}

BOOL CSlopePicture::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT) return CWnd::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(LoadProgramCursor(m_dragging ? IDC_CURSOR_GRAB : IDC_CURSOR_HAND));
    return TRUE;
}

void CSlopePicture::OnRButtonDown(UINT, CPoint point)
{
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    menu.AppendMenu(MF_STRING | (m_bShowAllSymbols ? MF_CHECKED : 0), ID_SLOPE_ALLSYMBOLS, L"显示全部边坡符号");
    menu.AppendMenu(MF_STRING | (m_bShowAllSymbols ? 0 : MF_CHECKED), ID_SLOPE_CURRENTSYMBOLS, L"显示当前边坡符号");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | (m_bShowDmGrid ? MF_CHECKED : 0), ID_SLOPE_DMGRID, L"显示分米网格");
    menu.AppendMenu(MF_STRING | (m_bShowMGrid ? MF_CHECKED : 0), ID_SLOPE_MGRID, L"显示整米网格");
    ClientToScreen(&point);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CSlopePicture::OnSymbolsCommand()
{
    m_bShowAllSymbols = !m_bShowAllSymbols;
    Invalidate(FALSE);
}

void CSlopePicture::OnDmGridCommand()
{
    m_bShowDmGrid = !m_bShowDmGrid;
    Invalidate(FALSE);
}

void CSlopePicture::OnMGridCommand()
{
    m_bShowMGrid = !m_bShowMGrid;
    Invalidate(FALSE);
}

// ---------------------------------------------------------------------------
// Painting

BOOL CSlopePicture::OnEraseBkgnd(CDC*) { return TRUE; }

void CSlopePicture::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    GetClientRect(&m_rcClient);
}

void CSlopePicture::OnPaint()
{
    CPaintDC dc(this);
    GetClientRect(&m_rcClient);
    if (m_rcClient.IsRectEmpty()) return;
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, m_rcClient.Width(), m_rcClient.Height());
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    Draw(&memory);
    dc.BitBlt(0, 0, m_rcClient.Width(), m_rcClient.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
}

void CSlopePicture::DrawIconAt(CDC* dc, int index, int x, int y)
{
    if (!m_hIcons[index]) return;
    if (m_pMeasure)
        m_pMeasure->UnionRect(m_pMeasure, CRect(x, y, x + 32, y + 32));
    else
        ::DrawIconEx(dc->GetSafeHdc(), x, y, m_hIcons[index], 32, 32, 0, nullptr, DI_NORMAL);
}

// A segment in the pen selected (at most 2 pixels wide; measured with a
// pixel to spare for where the platform puts a wide pen's second row).
void CSlopePicture::DrawSegment(CDC* dc, CPoint a, CPoint b)
{
    if (m_pMeasure) {
        CRect box(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
        box.InflateRect(2, 2);
        m_pMeasure->UnionRect(m_pMeasure, box);
        return;
    }
    dc->MoveTo(a);
    dc->LineTo(b);
}

void CSlopePicture::DrawLabelText(CDC* dc, const CString& text, int x, int y, UINT align, COLORREF colour, int height,
                                  int angle, const wchar_t* face)
{
    if (m_pMeasure) {
        // The platform's turned text may lie a pixel or two off the
        // upright text turned.
        CRect box = LabelBox(dc, text, x, y, align, height, angle, face);
        box.InflateRect(2, 2);
        if (!text.IsEmpty()) m_pMeasure->UnionRect(m_pMeasure, box);
        return;
    }
    DrawLabel(dc, text, x, y, align, colour, height, angle, face);
}

CRect CSlopePicture::DrawnExtent()
{
    CRect extent(0, 0, 0, 0);
    if (!m_pSlopeLines || m_pSlopeLines->GetSize() == 0) return extent;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    // The first box starts the union (UnionRect passes over empty ones).
    const CPoint edge = ToScreen(1.0, -1.0);
    extent = CRect(edge.x, edge.y, edge.x + 1, edge.y + 1);
    m_pMeasure = &extent;
    DrawTemplate(&dc);
    m_pMeasure = nullptr;
    return extent;
}

void CSlopePicture::Draw(CDC* dc)
{
    dc->FillRect(&m_rcClient, &m_brBack);
    dc->SetBkMode(TRANSPARENT);
    DrawGrid(dc);

    CFont* oldFont = dc->SelectObject(&m_fontSmall);
    dc->SetTextAlign(TA_LEFT | TA_TOP);
    dc->SetTextColor(RGB(255, 255, 0));
    dc->TextOut(3, 3, L"边坡模板预览: ");
    dc->SelectObject(&m_fontTitle);
    dc->SetTextColor(RGB(150, 190, 180));
    dc->TextOut(103, 3, m_STemplatePath);
    dc->SelectObject(oldFont);
    DrawTemplate(dc);
}

// The subgrade mark and the lines with what belongs to them.
void CSlopePicture::DrawTemplate(CDC* dc)
{
    if (!m_pSlopeLines || m_pSlopeLines->GetSize() == 0) return;

    const CPoint edge = ToScreen(1.0, -1.0);
    DrawIconAt(dc, kIconSubgrade, edge.x - 30, edge.y - 14);

    CSlopeLineArray& lines = *m_pSlopeLines;
    bool ditchRule = false;
    for (INT_PTR i = 1; i < lines.GetSize(); ++i)
        if (lines[i].m_iEndMode == 1 && lines[i].m_iEndType == 1) ditchRule = true;
    if (ditchRule) SketchSlopeLines(lines);

    CPen* oldPen = dc->SelectObject(&m_pens[kPenPlain]);
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) DrawLine(dc, lines[i], i == m_nCurLine);
    dc->SelectObject(oldPen);
}

void CSlopePicture::DrawGrid(CDC* dc)
{
    const int width = m_rcClient.Width(), height = m_rcClient.Height();
    CPen* oldPen = dc->SelectObject(&m_pens[kPenMGrid]);
    // One line every decimetre, counted in decimetres from the first one.
    auto drawLines = [&](double from, double to, bool vertical) {
        const long long first = std::llround(tkx_DToF(from, 1) * 10);
        for (long long k = first; k / 10.0 <= to; ++k) {
            const bool metre = k % 10 == 0;
            if (metre) {
                if (!m_bShowMGrid || (m_iScale <= 7 && k % 50 != 0)) continue;
                dc->SelectObject(&m_pens[kPenMGrid]);
            } else {
                if (!m_bShowDmGrid || m_iScale < 30) continue;
                dc->SelectObject(&m_pens[kPenDmGrid]);
            }
            const CPoint p = vertical ? ToScreen(k / 10.0, m_rOriginY) : ToScreen(m_rOriginX, k / 10.0);
            if (vertical) {
                dc->MoveTo(p.x, 0);
                dc->LineTo(p.x, height);
            } else {
                dc->MoveTo(0, p.y);
                dc->LineTo(width, p.y);
            }
        }
    };
    drawLines(m_rOriginX, m_rOriginX + static_cast<double>(width) / m_iScale, true);
    drawLines(m_rOriginY, m_rOriginY + static_cast<double>(height) / m_iScale, false);
    dc->SelectObject(oldPen);
}

void CSlopePicture::DrawLine(CDC* dc, CSlopeLine& line, bool current)
{
    int pen = kPenPlain;
    if (current)
        pen = !line.m_bDraw ? kPenCurrentHidden : line.m_bDashed ? kPenRedDot : kPenCurrent;
    else
        pen = !line.m_bDraw ? kPenHidden : line.m_bDashed ? kPenYellowDot : line.m_bTopsoil ? kPenTopsoil : kPenPlain;
    dc->SelectObject(&m_pens[pen]);
    const CPoint start = ToScreen(line.m_ptStart.x, line.m_ptStart.y);
    const CPoint end = ToScreen(line.m_ptEnd.x, line.m_ptEnd.y);
    DrawSegment(dc, start, end);
    if (m_bShowAllSymbols || current) DrawSymbols(dc, line, current, &m_pens[pen]);
}

void CSlopePicture::DrawSymbols(CDC* dc, const CSlopeLine& line, bool current, CPen* pen)
{
    const CPoint start = ToScreen(line.m_ptStart.x, line.m_ptStart.y);
    const CPoint end = ToScreen(line.m_ptEnd.x, line.m_ptEnd.y);
    const CPoint middle((start.x + end.x) / 2, (start.y + end.y) / 2);
    const COLORREF labelColour = current ? RGB(255, 255, 255) : RGB(150, 150, 150);

    if (line.m_bError) {
        DrawIconAt(dc, kIconError, middle.x - 16, middle.y + 10);
        DrawLabelText(dc, line.m_sMessage, middle.x, middle.y + 55, TA_CENTER | TA_TOP, RGB(255, 255, 255), 12, 0, L"宋体");
        return;
    }

    // Outside the earthwork: small crosses along the segment.
    if (!line.m_bEarthwork) {
        const double dx = end.x - start.x, dy = end.y - start.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        dc->SelectObject(pen);
        for (double d = 0; d <= length; d += 13) {
            const int x = static_cast<int>(start.x + (length > 0 ? dx / length * d : 0));
            const int y = static_cast<int>(start.y + (length > 0 ? dy / length * d : 0));
            DrawSegment(dc, CPoint(x - 5, y - 5), CPoint(x + 5, y + 5));
            DrawSegment(dc, CPoint(x - 5, y + 5), CPoint(x + 5, y - 5));
        }
    }

    // The lining: a band below the segment, or beside a vertical one.
    if (line.m_bThickness && (line.m_rStartThickness > 0.001 || line.m_rEndThickness > 0.001)) {
        double angle = -kPi / 2;
        if (std::fabs(line.m_ptEnd.x - line.m_ptStart.x) < 0.001) angle = line.GetDirection() - kPi / 2;
        sSketchPoint a, b;
        OffsetPoint(line.m_ptStart, angle, line.m_rStartThickness, a);
        OffsetPoint(line.m_ptEnd, angle, line.m_rEndThickness, b);
        const CPoint pa = ToScreen(a.x, a.y), pb = ToScreen(b.x, b.y);
        dc->SelectObject(&m_pens[kPenGreyDot]);
        DrawSegment(dc, start, pa);
        DrawSegment(dc, pa, pb);
        DrawSegment(dc, pb, end);
    }

    DrawEndRule(dc, line, current);

    // The control file's name, upright beside the end-rule mark.
    CString file = line.m_sControlFile;
    file.Trim();
    if (!file.IsEmpty()) {
        if (!tkxFileName::Exist(CurrentLibraryFolder() + L"\\" + tkxFileName(file).GetFileName()))
            file = L"控制文件不存在";
        DrawLabelText(dc, file, end.x + 38, end.y + 4, TA_RIGHT | TA_BOTTOM,
                  current ? RGB(0, 250, 250) : RGB(0, 150, 150), 12, 900, L"宋体");
    }

    if (line.m_bInsertWall) {
        const CPoint at = line.m_iWallPos == 0 ? start : end;
        DrawIconAt(dc, line.m_iWallPos == 0 ? kIconWallStart : kIconWallEnd, at.x - 16, at.y - 32);
    }

    if (line.m_bLabelSlope) {
        const CString text = SlopeGradientLabel(line);
        if (!text.IsEmpty())
            DrawLabelText(dc, text, middle.x, middle.y - 2, TA_CENTER | TA_BOTTOM, labelColour, 10, line.GetTextAngle(),
                      L"Times New Roman");
    }

    if (line.m_bLabelOffsetElev) {
        const int pos = line.m_iLabelOffsetElevPos;
        const int which = pos % 3;
        const CPoint at = which == 0 ? start : which == 1 ? middle : end;
        const int direction = pos < 3 ? -1 : 1; // up on the screen for "above"
        const int reach = which == 1 ? 55 : 50;
        CPen leader(PS_SOLID, 1, labelColour);
        dc->SelectObject(&leader);
        DrawSegment(dc, CPoint(at.x, at.y + direction * 5), CPoint(at.x, at.y + direction * reach));
        const int y = at.y + direction * (5 + reach) / 2;
        DrawLabelText(dc, L"B=xxx", at.x - 1, y, TA_CENTER | TA_BOTTOM, labelColour, 10, 900, L"Times New Roman");
        DrawLabelText(dc, L"H=xxx", at.x + 1, y, TA_CENTER | TA_TOP, labelColour, 10, 900, L"Times New Roman");
        dc->SelectObject(pen);
    }

    // What the line stores, in a column under its middle.
    int y = middle.y + 54;
    const struct {
        int set, icon;
    } stored[] = {{line.m_bArcWithNext, kIconArc},
                  {line.m_bSaveEndOffset, kIconOffset},
                  {line.m_bSavePosType, kIconPosType},
                  {line.m_bSaveLength, kIconLength}};
    for (const auto& item : stored) {
        if (!item.set) continue;
        DrawIconAt(dc, item.icon, middle.x - 8, y);
        y += 36;
    }

    if (line.m_bStopControl) {
        // Above a wall mark at the same point.
        const int lift = line.m_bInsertWall && line.m_iWallPos == 1 ? 32 : 0;
        DrawIconAt(dc, line.m_iStopAction == 0 ? kIconStopEnd : kIconStopNext, end.x - 16, end.y - 32 - lift);
    }
}

void CSlopePicture::DrawEndRule(CDC* dc, const CSlopeLine& line, bool current)
{
    const CPoint end = ToScreen(line.m_ptEnd.x, line.m_ptEnd.y);
    const int mark = EndRuleMark(line.m_iEndMode, line.m_iEndType);
    if (mark >= 0) DrawIconAt(dc, mark, end.x + 4, end.y + 4);

    const double value = line.m_rEndValue;
    if (std::fabs(value) <= 0.00001) return;
    const sSketchPoint s = line.m_ptStart, e = line.m_ptEnd;
    // What the value measures: along the segment, its height or its width;
    // a rule that counts from the subgrade edge measures from it.
    switch (line.m_iEndMode) {
    case 0: DrawDimension(dc, s, e, value, current); break;
    case 1: {
        const float from = line.m_iEndType == 2 ? -1.0f : s.y;
        DrawDimension(dc, sSketchPoint{e.x, from}, e, value, current);
        break;
    }
    case 2: {
        const float from = line.m_iEndType == 1 || line.m_iEndType == 4 ? 1.0f : s.x;
        DrawDimension(dc, sSketchPoint{from, s.y}, sSketchPoint{e.x, s.y}, value, current);
        break;
    }
    default: break;
    }
}

void CSlopePicture::DrawDimension(CDC* dc, sSketchPoint a, sSketchPoint b, double value, bool current)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < 1e-6) return;
    const double ux = dx / length, uy = dy / length;
    const double nx = -uy, ny = ux; // the left side of the dimension
    const COLORREF colour = current ? RGB(0, 228, 228) : RGB(0, 128, 128);
    CPen pen(PS_SOLID, 1, colour);
    CPen* oldPen = dc->SelectObject(&pen);
    auto line = [&](sSketchPoint p, sSketchPoint q) { DrawSegment(dc, ToScreen(p.x, p.y), ToScreen(q.x, q.y)); };
    for (const sSketchPoint& p : {a, b}) line(Along(p, nx, ny, 0.2), Along(p, nx, ny, 0.5));
    const sSketchPoint da = Along(a, nx, ny, 0.35), db = Along(b, nx, ny, 0.35);
    line(da, db);
    const double angle = std::atan2(uy, ux), spread = 15 * kPi / 180;
    for (double turn : {spread, -spread}) {
        line(da, Along(da, std::cos(angle + turn), std::sin(angle + turn), 0.2));
        line(db, Along(db, -std::cos(angle + turn), -std::sin(angle + turn), 0.2));
    }
    dc->SelectObject(oldPen);

    // The value along the dimension, read from below or from the right.
    const bool leftward = ux < -1e-9 || (std::fabs(ux) <= 1e-9 && uy < 0);
    int tenths = static_cast<int>(std::lround(angle * 1800 / kPi));
    if (leftward) tenths += 1800;
    tenths = ((tenths % 3600) + 3600) % 3600;
    const sSketchPoint middle{(da.x + db.x) / 2, (da.y + db.y) / 2};
    const sSketchPoint at = Along(middle, nx, ny, leftward ? 0.05 + 0.65 : 0.05);
    const CPoint p = ToScreen(at.x, at.y);
    DrawLabelText(dc, tkx_DToS(value, 3, -1), p.x, p.y, TA_CENTER | TA_BOTTOM, colour, 12, tenths, L"Times New Roman");
}
