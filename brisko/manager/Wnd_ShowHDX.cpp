#include "brisko/manager/Wnd_ShowHDX.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/FieldDescriptions.h"
#include "brisko/manager/PageDrawing.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Helpers.h"
#include "brisko/shell/Utility.h"
#include "corvane/base/TextLines.h"
#include "corvane/project/StationText.h"
#include "corvane/road/BreakChain.h"
#include "corvane/ui/BufferDC.h"
#include <algorithm>
#include <cmath>

using namespace page_drawing;

namespace {

const wchar_t kClassName[] = L"WND_SHOWHDX_CLASSNAME";
const int kRightRuler = 34;
const int kBottomRuler = 17;
const int kMinWheelZoom = 4, kMaxWheelZoom = 100;
const int kLoopGuard = 200000;

// Layout codes of the section record.
enum : short { kUndefined = 0, kRaisedRod = 1, kAbs = 2, kAbs1 = 3 };

const COLORREF kBlack = RGB(0, 0, 0);

// The numbers at the start of a line of distance/height pairs: a token that
// is no number ends them.
std::vector<double> LeadingNumbers(const CString& text)
{
    std::vector<double> values;
    CStringArray tokens;
    tkx_DivideString(text, tokens);
    for (INT_PTR i = 0; i < tokens.GetSize(); ++i) {
        CString token = tokens[i];
        token.Trim(L" \t");
        double value = 0;
        if (!IsNumberString(token) || !StringToDouble(token, &value)) break;
        values.push_back(value);
    }
    return values;
}

// Whole metres: the fractional part within 0.001 of 0 or 1.
bool WholeMetre(double value)
{
    const double fraction = std::fabs(value - std::floor(value));
    return fraction <= 0.001 || fraction >= 0.999;
}

bool MultipleOf(double value, double step) { return WholeMetre(value / step) && WholeMetre(value); }

// Metres a scroll code moves the left edge: a line 1 m, a page 10 m.
double StepOf(UINT code)
{
    switch (code) {
    case SB_LINELEFT: return -1;
    case SB_LINERIGHT: return 1;
    case SB_PAGELEFT: return -10;
    case SB_PAGERIGHT: return 10;
    default: return 0;
    }
}

// A step on a value whose scroll range is in decimetres: taken while the
// value moved by the step's tenth of a zoom stays inside the range, else the
// value goes to the range's end.
double ScrollStep(double value, double metres, int zoom, int minimum, int maximum)
{
    const double probe = value * 10 + 10 * metres / zoom;
    if (metres < 0) return probe > minimum ? value + metres : minimum / 10.0;
    return probe < maximum ? value + metres : maximum / 10.0;
}

} // namespace

BEGIN_MESSAGE_MAP(CWnd_ShowHDX, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MBUTTONDOWN, OnMButtonDown)
    ON_MESSAGE(WM_MBUTTONUP, OnMButtonUp)
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_COMMAND(ID_PAGE_ZOOMIN, OnZoomIn)
    ON_COMMAND(ID_PAGE_ZOOMOUT, OnZoomOut)
    ON_COMMAND(ID_HDX_NOTES, OnTextNotes)
    ON_COMMAND(ID_HDX_DMGRID, OnDecimetreGrid)
    ON_COMMAND(ID_HDX_MGRID, OnMetreGrid)
    ON_COMMAND(ID_HDX_CENTRE, OnAutoCentreButton)
    ON_COMMAND(ID_HDX_AUTOCENTRE, OnAutoCentreMenu)
END_MESSAGE_MAP()

CWnd_ShowHDX::CWnd_ShowHDX()
    : m_pSection(&CurHdxSection), m_bBusy(0), m_iCurrentPoint(0), m_bDecimetreGrid(1), m_bMetreGrid(1),
      m_bTextNotes(1), m_bAutoCentre(0), m_iZoom(40), m_dLeftDistance(-15.0), m_dBottomHeight(-1.5),
      m_iLeftCount(0), m_iRightCount(0), m_iAnchorX(0), m_iAnchorY(0), m_bMouseKnown(false)
{
    RegisterNamedClass(kClassName, L"注册横断面地面线子窗口失败!");
}

CWnd_ShowHDX::~CWnd_ShowHDX() = default;

BOOL CWnd_ShowHDX::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateDrawingWindow(*this, rect, parent, id, L"错误: 创建横断面地面线失败!");
}

int CWnd_ShowHDX::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    m_brBackground.CreateSolidBrush(kBlack);
    m_brRuler.CreateSysColorBrush(COLOR_BTNHIGHLIGHT);
    m_penDecimetre.CreatePen(PS_SOLID, 1, RGB(0, 50, 20));
    m_penMetre.CreatePen(PS_SOLID, 1, RGB(0, 80, 0));
    m_penRuler.CreatePen(PS_SOLID, 1, RGB(100, 100, 100));
    m_penGround.CreatePen(PS_SOLID, 1, RGB(180, 180, 30));
    m_penCurrent.CreatePen(PS_SOLID, 2, RGB(250, 0, 0));
    m_penMarker.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    m_penAxis.CreatePen(PS_SOLID, 1, RGB(160, 190, 150));
    CreateLabelFont(m_fontText, 12, FW_NORMAL);
    CreateLabelFont(m_fontDistance, 12, FW_THIN, 0, L"Times New Roman");
    UpdateScrollRanges();
    if (!CreateIconButton(m_btnCentre, this, ID_HDX_CENTRE, IDI_CENTRE_OFF, 0, L"当前段居中显示") ||
        !CreateIconButton(m_btnZoomIn, this, ID_PAGE_ZOOMIN, IDI_ZOOMIN_HOT, IDI_ZOOMIN, L"放大视图") ||
        !CreateIconButton(m_btnZoomOut, this, ID_PAGE_ZOOMOUT, IDI_ZOOMOUT_HOT, IDI_ZOOMOUT, L"缩小视图")) {
        AfxMessageBox(L"创建窗口按钮对象失败!");
        return -1;
    }
    return 0;
}

void CWnd_ShowHDX::OnDestroy()
{
    for (CGdiObject* object : std::initializer_list<CGdiObject*>{
             &m_brBackground, &m_brRuler, &m_penDecimetre, &m_penMetre, &m_penRuler, &m_penGround, &m_penCurrent,
             &m_penMarker, &m_penAxis, &m_fontText, &m_fontDistance})
        object->DeleteObject();
    CWnd::OnDestroy();
}

void CWnd_ShowHDX::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    CRect client;
    GetClientRect(&client);
    m_rcPlot = client;
    m_rcPlot.right = std::max(client.left, client.right - kRightRuler);
    m_rcPlot.bottom = std::max(client.top, client.bottom - kBottomRuler);
    m_rcDistanceRuler = CRect(client.left, m_rcPlot.bottom, std::max(client.left, client.right - 50), client.bottom);
    m_rcHeightRuler = CRect(m_rcPlot.right, client.top, client.right, m_rcPlot.bottom);
    const int right = client.right, bottom = client.bottom;
    const UINT flags = SWP_NOZORDER | SWP_SHOWWINDOW;
    if (m_btnCentre.GetSafeHwnd()) m_btnCentre.SetWindowPos(nullptr, right - 48, bottom - 16, 16, 16, flags);
    if (m_btnZoomIn.GetSafeHwnd()) m_btnZoomIn.SetWindowPos(nullptr, right - 32, bottom - 16, 16, 16, flags);
    if (m_btnZoomOut.GetSafeHwnd()) m_btnZoomOut.SetWindowPos(nullptr, right - 16, bottom - 16, 16, 16, flags);
}

// ---------------------------------------------------------------------------
// Coordinates

int CWnd_ShowHDX::XOfDistance(double distance) const { return ToPixel((distance - m_dLeftDistance) * m_iZoom); }

int CWnd_ShowHDX::YOfHeight(double height) const
{
    return ToPixel(m_rcPlot.bottom - (height - m_dBottomHeight) * m_iZoom - m_rcPlot.top);
}

double CWnd_ShowHDX::DistanceAtX(int x) const { return static_cast<double>(x) / m_iZoom + m_dLeftDistance; }

double CWnd_ShowHDX::HeightAtY(int y) const
{
    return static_cast<double>(m_rcPlot.Height() - y) / m_iZoom + m_dBottomHeight;
}

// ---------------------------------------------------------------------------
// The section

int CWnd_ShowHDX::PointOfCaret(const sHdxSection& section)
{
    const int marker = section.m_iCaret;
    const CString& text = marker > 0 ? section.m_SLeft : section.m_SRight;
    const int column = std::abs(marker) - 1;
    if (column < 0 || column > text.GetLength()) return 0;
    // A separator after a token begins the next one.
    int token = 1;
    bool inToken = false;
    for (int i = 0; i < column; ++i) {
        const wchar_t c = text[i];
        if (c == L' ' || c == L'\t' || c == L',') {
            if (inToken) ++token;
            inToken = false;
        } else {
            inToken = true;
        }
    }
    const int point = (token + 1) / 2;
    return marker > 0 ? point : -point;
}

void CWnd_ShowHDX::ClearPoints()
{
    m_LeftDistances.clear();
    m_LeftHeights.clear();
    m_RightDistances.clear();
    m_RightHeights.clear();
}

void CWnd_ShowHDX::ReadPoints(const sHdxSection& section)
{
    // Values alternate distance, height; an odd last distance is ignored.
    const std::vector<double> left = LeadingNumbers(section.m_SLeft);
    const std::vector<double> right = LeadingNumbers(section.m_SRight);
    m_iLeftCount = static_cast<int>(left.size() / 2);
    m_iRightCount = static_cast<int>(right.size() / 2);

    double chainage = 0;
    CString station = section.m_SStation;
    station.Trim();
    if (!CurRoadBreakChain.GetGlobalZH(station, chainage) || section.m_nFormat == kAbs) {
        m_iLeftCount = m_iRightCount = 0;
        return;
    }
    auto fill = [&section](const std::vector<double>& values, int count, double side, std::vector<double>& distances,
                           std::vector<double>& heights) {
        double d = 0, h = 0;
        for (int k = 0; k < count; ++k) {
            const double distance = values[2 * k], height = values[2 * k + 1];
            if (section.m_nFormat == kRaisedRod) {
                d += side * distance;
                h += height;
            } else if (section.m_nFormat == kAbs1) {
                d = side * distance;
                h = height;
            }
            distances.push_back(d);
            heights.push_back(h);
        }
    };
    fill(left, m_iLeftCount, -1, m_LeftDistances, m_LeftHeights);
    fill(right, m_iRightCount, 1, m_RightDistances, m_RightHeights);
}

void CWnd_ShowHDX::ParseSection()
{
    m_bBusy = 1;
    ClearPoints();
    m_iLeftCount = m_iRightCount = 0;
    if (m_pSection) ReadPoints(*m_pSection);
    if (m_iLeftCount || m_iRightCount) {
        m_iCurrentPoint = m_pSection ? PointOfCaret(*m_pSection) : 0;
        double distance = DistanceAtX(m_rcPlot.Width() / 2), height = 0;
        if (m_bAutoCentre && m_iCurrentPoint) {
            if (m_iCurrentPoint > 0) {
                const int k = std::min(m_iCurrentPoint, m_iLeftCount) - 1;
                if (k >= 0) {
                    distance = m_LeftDistances[k];
                    height = m_LeftHeights[k];
                }
            } else {
                const int k = std::min(-m_iCurrentPoint, m_iRightCount) - 1;
                if (k >= 0) {
                    distance = m_RightDistances[k];
                    height = m_RightHeights[k];
                }
            }
        }
        if (std::fabs(distance) <= 1e6 && std::fabs(height) <= 1e6) CentreOn(distance, height);
        UpdateScrollRanges();
    } else {
        m_iCurrentPoint = 0;
    }
    if (GetSafeHwnd()) Invalidate();
    m_bBusy = 0;
}

void CWnd_ShowHDX::CentreOn(double distance, double height)
{
    m_dLeftDistance = distance - (DistanceAtX(m_rcPlot.Width() / 2) - m_dLeftDistance);
    m_dBottomHeight = height - (HeightAtY(m_rcPlot.Height() / 2) - m_dBottomHeight);
}

// ---------------------------------------------------------------------------
// Scrolling, zoom and pan

void CWnd_ShowHDX::UpdateScrollRanges()
{
    if (!GetSafeHwnd()) return;
    const double hMin = m_LeftDistances.empty() ? std::min(m_dLeftDistance - 5, -50.0) : m_LeftDistances.back() - 5;
    const double hMax = m_RightDistances.empty() ? std::max(m_dLeftDistance - 5, 50.0) : m_RightDistances.back() + 5;
    SetScrollRange(*this, SB_HORZ, static_cast<int>(hMin * 10), static_cast<int>(hMax * 10),
                   static_cast<int>(m_dLeftDistance * 10));
    double lowest = -20, highest = 20;
    for (const std::vector<double>* heights : {&m_LeftHeights, &m_RightHeights})
        for (double h : *heights) {
            lowest = std::min(lowest, h);
            highest = std::max(highest, h);
        }
    SetScrollRange(*this, SB_VERT, static_cast<int>(lowest * 10), static_cast<int>(highest * 10),
                   static_cast<int>(std::trunc(highest + lowest - m_dBottomHeight) * 10));
}

void CWnd_ShowHDX::UpdateScrollPositions()
{
    if (!GetSafeHwnd()) return;
    int minimum, maximum, track;
    SetScrollPosition(*this, SB_HORZ, static_cast<int>(m_dLeftDistance * 10));
    GetScrollState(*this, SB_VERT, minimum, maximum, track);
    SetScrollPosition(*this, SB_VERT, static_cast<int>(minimum + maximum - m_dBottomHeight * 10));
}

void CWnd_ShowHDX::OnZoomIn()
{
    if (m_iZoom <= 100) m_iZoom += 2;
    UpdateScrollPositions();
    Invalidate();
}

void CWnd_ShowHDX::OnZoomOut()
{
    if (m_iZoom >= 4) m_iZoom -= 2;
    UpdateScrollPositions();
    Invalidate();
}

BOOL CWnd_ShowHDX::OnMouseWheel(UINT, short delta, CPoint point)
{
    ScreenToClient(&point);
    const double d = DistanceAtX(point.x) - m_dLeftDistance;
    const double z = HeightAtY(point.y);
    m_iZoom += 2 * (delta / WHEEL_DELTA);
    if (m_iZoom < kMinWheelZoom) {
        m_iZoom = kMinWheelZoom;
    } else if (m_iZoom > kMaxWheelZoom) {
        m_iZoom = kMaxWheelZoom;
    } else {
        // The point under the cursor stays there.
        m_dLeftDistance = DistanceAtX(static_cast<int>(d * m_iZoom) - point.x);
        m_dBottomHeight = z - static_cast<double>(m_rcPlot.Height() - point.y) / m_iZoom;
        UpdateScrollPositions();
    }
    Invalidate();
    return TRUE;
}

void CWnd_ShowHDX::OnLButtonDown(UINT, CPoint point) { StartPan(*this, m_rcPlot, point, m_iAnchorX, m_iAnchorY); }

void CWnd_ShowHDX::OnLButtonUp(UINT, CPoint) { EndPan(*this); }

LRESULT CWnd_ShowHDX::OnMButtonDown(WPARAM, LPARAM lParam)
{
    StartPan(*this, m_rcPlot, PointOf(lParam), m_iAnchorX, m_iAnchorY);
    return 0;
}

LRESULT CWnd_ShowHDX::OnMButtonUp(WPARAM, LPARAM)
{
    EndPan(*this);
    return 0;
}

void CWnd_ShowHDX::OnMouseMove(UINT flags, CPoint point)
{
    if (GetCapture() == this) {
        m_dLeftDistance -= static_cast<double>(point.x - m_iAnchorX) / m_iZoom;
        m_dBottomHeight += static_cast<double>(point.y - m_iAnchorY) / m_iZoom;
        m_iAnchorX = point.x;
        m_iAnchorY = point.y;
        UpdateScrollPositions();
        Invalidate();
        return;
    }
    SetFocus();
    if (flags != 0) return;
    if (!m_rcPlot.PtInRect(point) && !m_rcDistanceRuler.PtInRect(point) && !m_rcHeightRuler.PtInRect(point)) return;
    m_ptMouse = point;
    m_bMouseKnown = true;
    CRect strip = m_rcDistanceRuler;
    strip.left = std::max(strip.left, point.x - 80);
    strip.right = std::min(strip.right, point.x + 80);
    InvalidateRect(&strip, TRUE);
    strip = m_rcHeightRuler;
    strip.top = std::max(strip.top, point.y - 30);
    strip.bottom = std::min(strip.bottom, point.y + 30);
    InvalidateRect(&strip, TRUE);
}

BOOL CWnd_ShowHDX::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (hitTest == HTCLIENT && m_rcPlot.PtInRect(point)) {
        ::SetCursor(ProgramCursor(IDC_CURSOR_HAND));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CWnd_ShowHDX::OnHScroll(UINT code, UINT, CScrollBar*)
{
    int minimum, maximum, track;
    GetScrollState(*this, SB_HORZ, minimum, maximum, track);
    if (code <= SB_PAGERIGHT)
        m_dLeftDistance = ScrollStep(m_dLeftDistance, StepOf(code), m_iZoom, minimum, maximum);
    else if (code == SB_THUMBTRACK && track >= minimum && track <= maximum)
        m_dLeftDistance = track / 10.0;
    Invalidate();
    SetScrollPosition(*this, SB_HORZ, static_cast<int>(m_dLeftDistance * 10));
}

void CWnd_ShowHDX::OnVScroll(UINT code, UINT, CScrollBar*)
{
    int minimum, maximum, track;
    GetScrollState(*this, SB_VERT, minimum, maximum, track);
    // Up raises the bottom height.
    if (code <= SB_PAGEDOWN)
        m_dBottomHeight = ScrollStep(m_dBottomHeight, -StepOf(code), m_iZoom, minimum, maximum);
    else if (code == SB_THUMBTRACK)
        m_dBottomHeight = (static_cast<double>(minimum) + maximum - track) / 10.0;
    Invalidate();
    SetScrollPosition(*this, SB_VERT, static_cast<int>(minimum + maximum - m_dBottomHeight * 10));
}

// ---------------------------------------------------------------------------
// Menu and switches

BOOL CWnd_ShowHDX::BuildContextMenu(CMenu& menu)
{
    if (!menu.CreatePopupMenu()) return FALSE;
    auto checked = [](int on) { return MF_STRING | (on ? MF_CHECKED : MF_UNCHECKED); };
    menu.AppendMenu(checked(m_bTextNotes), ID_HDX_NOTES, L"显示文字注释");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(checked(m_bDecimetreGrid), ID_HDX_DMGRID, L"显示分米网格");
    menu.AppendMenu(checked(m_bMetreGrid), ID_HDX_MGRID, L"显示整米网格");
    UINT centre = MF_STRING;
    if (m_bAutoCentre)
        centre |= m_iCurrentPoint ? MF_CHECKED : MF_GRAYED;
    else if (!m_iCurrentPoint)
        centre |= MF_GRAYED;
    menu.AppendMenu(centre, ID_HDX_AUTOCENTRE, L"当前段自动居中");
    return TRUE;
}

void CWnd_ShowHDX::OnRButtonDown(UINT, CPoint point)
{
    if (!m_rcPlot.PtInRect(point)) return;
    CMenu menu;
    if (!BuildContextMenu(menu)) return;
    ClientToScreen(&point);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CWnd_ShowHDX::OnTextNotes()
{
    m_bTextNotes = !m_bTextNotes;
    RedrawWindow();
}

void CWnd_ShowHDX::OnDecimetreGrid()
{
    m_bDecimetreGrid = !m_bDecimetreGrid;
    RedrawWindow();
}

void CWnd_ShowHDX::OnMetreGrid()
{
    m_bMetreGrid = !m_bMetreGrid;
    RedrawWindow();
}

void CWnd_ShowHDX::ToggleAutoCentre()
{
    m_bAutoCentre = !m_bAutoCentre;
    if (m_btnCentre.GetSafeHwnd()) {
        m_btnCentre.SetIcon(m_bAutoCentre ? IDI_CENTRE_ON : IDI_CENTRE_OFF, 0);
        m_btnCentre.Invalidate();
    }
}

void CWnd_ShowHDX::OnAutoCentreButton() { ToggleAutoCentre(); }

void CWnd_ShowHDX::OnAutoCentreMenu()
{
    ToggleAutoCentre();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

BOOL CWnd_ShowHDX::OnEraseBkgnd(CDC*) { return TRUE; }

void CWnd_ShowHDX::OnPaint()
{
    CPaintDC paint(this);
    if (m_rcPlot.IsRectEmpty()) return;
    {
        CBufferDC dc(paint.m_hDC, m_rcPlot);
        dc.FillRect(&m_rcPlot, &m_brBackground);
        DrawGrid(dc);
        DrawSection(dc);
    }
    if (!m_rcDistanceRuler.IsRectEmpty()) {
        CBufferDC dc(paint.m_hDC, m_rcDistanceRuler);
        DrawDistanceRuler(dc);
    }
    if (!m_rcHeightRuler.IsRectEmpty()) {
        CBufferDC dc(paint.m_hDC, m_rcHeightRuler);
        DrawHeightRuler(dc);
    }
}

void CWnd_ShowHDX::DrawGrid(CDC& dc)
{
    const CRect& plot = m_rcPlot;
    // A line every decimetre from the edges' values; whole metres in the
    // metre pen (only every fifth at small zooms), the others in the
    // decimetre pen when the zoom shows them.
    auto pen = [this](double value) -> CPen* {
        if (WholeMetre(value)) {
            if (!m_bMetreGrid) return nullptr;
            if (m_iZoom <= 7 && !MultipleOf(value, 5)) return nullptr;
            return &m_penMetre;
        }
        return m_bDecimetreGrid && m_iZoom >= 30 ? &m_penDecimetre : nullptr;
    };
    long k = std::lround(tkx_DToF(m_dLeftDistance, 1) * 10);
    for (int guard = 0; guard < kLoopGuard; ++guard, ++k) {
        const double d = k / 10.0;
        const int x = XOfDistance(d);
        if (x >= plot.right) break;
        CPen* chosen = pen(d);
        if (!chosen || x < plot.left) continue;
        Selected selected(dc, chosen);
        dc.MoveTo(x, plot.top);
        dc.LineTo(x, plot.bottom);
    }
    k = std::lround(tkx_DToF(m_dBottomHeight, 1) * 10);
    for (int guard = 0; guard < kLoopGuard; ++guard, ++k) {
        const double h = k / 10.0;
        const int y = YOfHeight(h);
        if (y <= plot.top) break;
        CPen* chosen = pen(h);
        if (!chosen || y >= plot.bottom) continue;
        Selected selected(dc, chosen);
        dc.MoveTo(plot.left, y);
        dc.LineTo(plot.right, y);
    }
}

void CWnd_ShowHDX::DrawSection(CDC& dc)
{
    const CRect& plot = m_rcPlot;
    const short format = m_pSection ? m_pSection->m_nFormat : kUndefined;
    Selected font(dc, &m_fontText);
    dc.SetBkMode(TRANSPARENT);

    CString station = m_pSection ? m_pSection->m_SStation : CString();
    station.Trim();
    dc.SetTextColor(RGB(255, 255, 0));
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    const CString title = format == kAbs ? ClFormat(L"桩号: %s  [无图形预览]", station.GetString())
                                         : ClFormat(L"桩号: %s", station.GetString());
    dc.TextOut(XOfDistance(0), YOfHeight(-1), title);

    if (m_bTextNotes) {
        static const wchar_t* const kFormats[] = {
            L"横断面数据格式: 未定义",
            L"横断面数据格式: 抬竿法[水平距为各点到前点的距离，高差为各点与前点的高差]",
            L"横断面数据格式: ABS[水平距为各点到中桩的距离，高程为各点绝对高程]",
            L"横断面数据格式: ABS1[水平距为各点到中桩的距离，高差为各点与中桩的高差]",
        };
        dc.SetTextColor(RGB(150, 190, 180));
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        dc.TextOut(plot.left + 10, plot.bottom - 60, ClFormat(L"左侧: %d点", m_iLeftCount));
        dc.TextOut(plot.left + 10, plot.bottom - 40, ClFormat(L"右侧: %d点", m_iRightCount));
        dc.TextOut(plot.left + 10, plot.bottom - 20, kFormats[format >= 0 && format <= 3 ? format : 0]);
    }

    if (format == kAbs) return;
    {
        Selected axis(dc, &m_penAxis);
        const int x0 = XOfDistance(0), y0 = YOfHeight(0);
        DrawLine(dc, x0, plot.top, x0, plot.bottom, plot);
        DrawLine(dc, plot.left, y0, plot.right, y0, plot);
    }
    if (format != kRaisedRod && format != kAbs1) return;

    // Each side from the centre point outward; the segment that ends at the
    // current point in the current-point pen, with a cross on the point.
    auto side = [&](const std::vector<double>& distances, const std::vector<double>& heights, int sign) {
        double x0 = XOfDistance(0), y0 = YOfHeight(0);
        for (size_t k = 0; k < distances.size(); ++k) {
            const double x = XOfDistance(distances[k]), y = YOfHeight(heights[k]);
            const bool current = m_iCurrentPoint == sign * static_cast<int>(k + 1);
            {
                Selected pen(dc, current ? &m_penCurrent : &m_penGround);
                DrawLine(dc, x0, y0, x, y, plot);
            }
            if (current && x > 0) {
                Selected pen(dc, &m_penMarker);
                DrawLine(dc, x - 5, y, x + 6, y, plot);
                DrawLine(dc, x, y - 5, x, y + 6, plot);
            }
            x0 = x;
            y0 = y;
        }
    };
    side(m_LeftDistances, m_LeftHeights, 1);
    side(m_RightDistances, m_RightHeights, -1);
}

void CWnd_ShowHDX::DrawDistanceRuler(CDC& dc)
{
    const CRect& r = m_rcDistanceRuler;
    RulerStrip strip(dc, r, m_brRuler, m_penRuler, m_fontDistance, false);
    long k = std::lround(tkx_DToF(DistanceAtX(r.left), 1) * 10);
    for (int guard = 0; guard < kLoopGuard; ++guard, ++k) {
        const double d = k / 10.0;
        const int x = XOfDistance(d);
        if (x >= r.right) break;
        if (x < r.left) continue;
        if (WholeMetre(d)) {
            if (MultipleOf(d, 5) || m_iZoom > 19) {
                const CString label = ClFormat(L"%.f", std::fabs(d) < 0.001 ? 0.0 : d);
                const bool negative = d < 0 && std::fabs(d) >= 0.001;
                dc.SetTextAlign((negative ? TA_RIGHT : TA_LEFT) | TA_TOP);
                dc.TextOut(negative ? x - 2 : x + 2, r.top, label);
            }
            dc.MoveTo(x, r.top + 8);
            dc.LineTo(x, r.bottom);
        } else if (m_iZoom >= 30) {
            dc.MoveTo(x, r.top + 12);
            dc.LineTo(x, r.bottom);
        }
    }
    if (m_bMouseKnown) {
        const CPoint& pt = m_ptMouse;
        if (m_rcPlot.PtInRect(pt) || m_rcDistanceRuler.PtInRect(pt) || m_rcHeightRuler.PtInRect(pt)) {
            PrintStatusText(L"%s", ClFormat(L"与中桩 水平距离:%.3f米, 高差:%.3f米", DistanceAtX(pt.x),
                                            HeightAtY(pt.y)).GetString());
        }
        if (pt.x > r.left && pt.x < r.right) {
            dc.MoveTo(pt.x, r.top);
            dc.LineTo(pt.x, r.bottom);
        }
    }
}

void CWnd_ShowHDX::DrawHeightRuler(CDC& dc)
{
    const CRect& r = m_rcHeightRuler;
    RulerStrip strip(dc, r, m_brRuler, m_penRuler, m_fontText, true);
    const int zoom = m_iZoom;
    DrawVerticalRuler(
        dc, r, m_dBottomHeight, [this](double h) { return YOfHeight(h); },
        [zoom](long k) {
            RulerMark mark;
            const double h = k / 10.0;
            if (MultipleOf(h, 5)) {
                mark.tick = 17;
                mark.labelled = true;
                mark.colour = RGB(255, 0, 0);
            } else if (zoom > 9 && WholeMetre(h)) {
                mark.tick = 11;
                mark.labelled = zoom > 15;
            } else if (zoom >= 20) {
                mark.tick = k % 5 == 0 ? 8 : 4;
            }
            return mark;
        },
        [](double h) { return ClFormat(L"%.f", std::fabs(h) < 0.001 ? 0.0 : h); });
    if (m_bMouseKnown && m_ptMouse.y >= r.top && m_ptMouse.y < r.bottom) {
        dc.MoveTo(r.left, m_ptMouse.y);
        dc.LineTo(r.right, m_ptMouse.y);
    }
}
