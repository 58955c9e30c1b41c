#include "brisko/manager/ZDMInfoCtrl.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/Dialog_ZDMInquire.h"
#include "brisko/manager/PageDrawing.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Helpers.h"
#include "brisko/shell/Utility.h"
#include "corvane/project/StationText.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "corvane/ui/BufferDC.h"
#include <algorithm>
#include <cmath>

using namespace page_drawing;

namespace {

const wchar_t kClassName[] = L"WND_SHOWZDM_CLASSNAME";
const int kRightRuler = 34;  // the elevation ruler's width
const int kBottomRuler = 17; // the station ruler's height
const float kMinScale = 0.02f;
const float kMaxScale = 5.0f;
const double kPanReach = 5000; // how far beyond the data a drag may take the left edge
const int kLoopGuard = 200000; // no ruler or grid walks further than this
const double kPi = 3.14159265358979323846;

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kChainText = RGB(255, 250, 250);

void TextAt(CDC& dc, int x, int y, const CString& text) { dc.TextOut(x, y, text); }

} // namespace

BEGIN_MESSAGE_MAP(CZDMInfoCtrl, CWnd)
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
    ON_COMMAND(ID_TOOL_ZDM_INQUIRE, OnInquire)
    ON_UPDATE_COMMAND_UI(ID_TOOL_ZDM_INQUIRE, OnUpdateInquire)
END_MESSAGE_MAP()

CZDMInfoCtrl::CZDMInfoCtrl()
    : m_pBreakChain(&CurRoadBreakChain), m_pProfile(&CurRoadProfile), m_bViewGrid(1), m_dMarkerStation(0),
      m_dMarkerElevation(0), m_fScale(1.5f), m_dLeftStation(0), m_dBottomElevation(0), m_dFirstStation(0),
      m_dLastStation(0), m_dLowestElevation(0), m_dHighestElevation(0), m_iAnchorX(0), m_iAnchorY(0),
      m_bMouseKnown(false)
{
    RegisterNamedClass(kClassName, L"注册子窗口失败!");
}

CZDMInfoCtrl::~CZDMInfoCtrl() = default;

BOOL CZDMInfoCtrl::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CreateDrawingWindow(*this, rect, parent, id, L"错误: 创建纵断面地面线窗口失败!");
}

BOOL CZDMInfoCtrl::CreateGdiObjects()
{
    if (m_fontLabel.GetSafeHandle()) return TRUE;
    m_brBackground.CreateSolidBrush(kBlack);
    m_penFineGrid.CreatePen(PS_SOLID, 1, RGB(0, 70, 70));
    m_penMainGrid.CreatePen(PS_SOLID, 1, RGB(0, 100, 100));
    m_penMarker.CreatePen(PS_SOLID, 1, kWhite);
    m_penGround.CreatePen(PS_SOLID, 1, RGB(0, 255, 64));
    m_penCurve.CreatePen(PS_SOLID, 1, RGB(128, 255, 255));
    m_penGrade.CreatePen(PS_SOLID, 1, kRed);
    m_penRuler.CreatePen(PS_SOLID, 1, RGB(100, 100, 100));
    m_brRuler.CreateSysColorBrush(COLOR_BTNHIGHLIGHT);
    return CreateLabelFont(m_fontLabel, 12, FW_NORMAL);
}

void CZDMInfoCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if (CreateGdiObjects()) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLabel.m_hObject), TRUE);
}

int CZDMInfoCtrl::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    CreateGdiObjects();
    m_bViewGrid = static_cast<int>(theApp.GetSettingInt(L"Settings", L"ZDM_VIEWGRID", 1));
    if (!CreateIconButton(m_btnZoomIn, this, ID_PAGE_ZOOMIN, IDI_ZOOMIN_HOT, IDI_ZOOMIN, nullptr) ||
        !CreateIconButton(m_btnZoomOut, this, ID_PAGE_ZOOMOUT, IDI_ZOOMOUT_HOT, IDI_ZOOMOUT, nullptr)) {
        AfxMessageBox(L"创建窗口按钮对象失败!");
        return -1;
    }
    Layout();
    ResetView();
    return 0;
}

void CZDMInfoCtrl::OnDestroy()
{
    for (CGdiObject* object : std::initializer_list<CGdiObject*>{&m_brBackground, &m_penFineGrid, &m_penMainGrid,
                                                                &m_penMarker, &m_penGround, &m_penCurve,
                                                                &m_penGrade, &m_penRuler, &m_brRuler, &m_fontLabel})
        object->DeleteObject();
    CWnd::OnDestroy();
}

void CZDMInfoCtrl::Layout()
{
    GetClientRect(&m_rcClient);
    m_rcPlot = m_rcClient;
    m_rcPlot.right = std::max(m_rcClient.left, m_rcClient.right - kRightRuler);
    m_rcPlot.bottom = std::max(m_rcClient.top, m_rcClient.bottom - kBottomRuler);
    m_rcStationRuler = CRect(m_rcPlot.left, m_rcPlot.bottom, m_rcPlot.right, m_rcClient.bottom);
    m_rcElevationRuler = CRect(m_rcPlot.right, m_rcClient.top, m_rcClient.right, m_rcPlot.bottom);
}

void CZDMInfoCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    Layout();
    const int right = m_rcClient.right, bottom = m_rcClient.bottom;
    if (m_btnZoomIn.GetSafeHwnd())
        m_btnZoomIn.SetWindowPos(nullptr, right - 32, bottom - 16, 16, 16, SWP_NOZORDER | SWP_SHOWWINDOW);
    if (m_btnZoomOut.GetSafeHwnd())
        m_btnZoomOut.SetWindowPos(nullptr, right - 16, bottom - 16, 16, 16, SWP_NOZORDER | SWP_SHOWWINDOW);
}

// ---------------------------------------------------------------------------
// Coordinates

int CZDMInfoCtrl::XOfStation(double chainage) const { return ToPixel((chainage - m_dLeftStation) / m_fScale); }

int CZDMInfoCtrl::YOfElevation(double elevation) const
{
    return ToPixel(PlotHeight() - (elevation - m_dBottomElevation) / (m_fScale / 10.0));
}

double CZDMInfoCtrl::StationAtX(int x) const { return m_dLeftStation + x * static_cast<double>(m_fScale); }

double CZDMInfoCtrl::ElevationAtY(int y) const
{
    return (PlotHeight() - y) * (m_fScale / 10.0) + m_dBottomElevation;
}

bool CZDMInfoCtrl::HasData() const
{
    return m_pProfile && (m_pProfile->GetDMXCount() > 0 || m_pProfile->GetBPDCount() > 0);
}

// ---------------------------------------------------------------------------
// The view

void CZDMInfoCtrl::ResetView()
{
    if (!GetSafeHwnd() || !HasData()) return;
    const tkxZDMInfo& p = *m_pProfile;
    const int ground = p.GetDMXCount(), grade = p.GetBPDCount();
    m_dFirstStation = std::min(ground ? p.GetDMXZH(0) : 1e8, grade ? p.GetBPDZH(0) : 1e8);
    m_dLastStation = std::max(ground ? p.GetDMXZH(ground - 1) : -1e8, grade ? p.GetBPDZH(grade - 1) : -1e8);
    m_dLeftStation = m_dFirstStation;
    SetScrollRange(*this, SB_HORZ, static_cast<int>(m_dFirstStation), static_cast<int>(m_dLastStation),
                   static_cast<int>(m_dLeftStation));

    m_dLowestElevation = 10000;
    m_dHighestElevation = -10000;
    for (int i = 0; i < ground; ++i) {
        m_dLowestElevation = std::min(m_dLowestElevation, p.GetDMXElevation(i));
        m_dHighestElevation = std::max(m_dHighestElevation, p.GetDMXElevation(i));
    }
    for (int i = 0; i < grade; ++i) {
        m_dLowestElevation = std::min(m_dLowestElevation, p.GetBPDElevation(i));
        m_dHighestElevation = std::max(m_dHighestElevation, p.GetBPDElevation(i));
    }
    m_dLowestElevation -= 10;
    m_dHighestElevation += 10;

    // The first points a little above the bottom edge; a list that is
    // missing has no first point.
    const double first = std::min(ground ? p.GetDMXElevation(0) : 1e10, grade ? p.GetBPDElevation(0) : 1e10);
    m_dBottomElevation = first - 4 * m_fScale - 17 / (10 * m_fScale);
    SetScrollRange(*this, SB_VERT, static_cast<int>(m_dLowestElevation), static_cast<int>(m_dHighestElevation),
                   static_cast<int>(m_dLowestElevation + m_dHighestElevation - m_dBottomElevation));

    m_dMarkerStation = m_dLeftStation;
    m_dMarkerElevation = m_dBottomElevation;
    Invalidate();
}

void CZDMInfoCtrl::UpdateScrollPositions()
{
    SetScrollPosition(*this, SB_HORZ, static_cast<int>(m_dLeftStation));
    SetScrollPosition(*this, SB_VERT,
                      static_cast<int>(m_dLowestElevation + m_dHighestElevation - m_dBottomElevation));
}

void CZDMInfoCtrl::CenterOn(double station, double elevation)
{
    m_dLeftStation = station - (StationAtX(m_rcPlot.Width() / 2) - m_dLeftStation);
    m_dBottomElevation = elevation - (ElevationAtY(PlotHeight() / 2) - m_dBottomElevation);
    UpdateScrollPositions();
    Invalidate();
}

void CZDMInfoCtrl::UpdateGroundPoint(const sGroundPoint* point, const sGroundPoint* previous,
                                     const sGroundPoint* next, int move)
{
    if (!m_pBreakChain || !m_pProfile || !point) return;
    const tkxBreakChain& chain = *m_pBreakChain;
    // A point with its segment number converts in that segment, one without
    // in the first segment that holds it.
    auto chainage = [&chain](const sGroundPoint& p, double& out) {
        return p.m_iSegment >= 1 ? chain.GetGlobalZH(p.m_dStation, out, p.m_iSegment) != 0
                                 : chain.GetGlobalZH(p.m_dStation, out) > 0;
    };
    double g = 0;
    if (!chainage(*point, g)) return;

    // The ground points between the neighbours give way to the edited one.
    // A missing neighbour opens the window to the data's end, so that an
    // edited first or last point replaces its earlier version.
    tkxZDMInfo& profile = *m_pProfile;
    const int count = profile.GetDMXCount();
    double a = (count ? std::min(profile.GetDMXZH(0), g) : g) - 1.0;
    double b = (count ? std::max(profile.GetDMXZH(count - 1), g) : g) + 1.0;
    if (previous && !chainage(*previous, a)) return;
    if (next && !chainage(*next, b)) return;
    if (a > b - 1e-6 || a > g + 1e-6) return;
    // Only the edited line's earlier version lies between a true first or
    // last line and the data's end.  More points there mean the neighbour
    // line exists but is no ground point to the editor: they are other
    // lines' points and stay.
    bool remove = true;
    if (!previous || !next) {
        int inside = 0;
        for (int i = 0; i < count; ++i) {
            const double s = profile.GetDMXZH(i);
            if (s > a + 1e-6 && s < b - 1e-6) ++inside;
        }
        remove = inside <= 1;
    }
    if (remove) profile.DelDMXDatas(a, b);
    const short placed = profile.SetDMXData(g, point->m_dElevation);

    if ((placed == 0 && g < m_dFirstStation - 1e-6) || (placed == 1 && g > m_dLastStation + 1e-6)) ResetView();
    if (move == 1) {
        m_dMarkerStation = g;
        m_dMarkerElevation = point->m_dElevation;
        CenterOn(g, point->m_dElevation);
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// Zoom, pan and scroll

void CZDMInfoCtrl::OnZoomIn()
{
    if (m_fScale >= kMinScale) m_fScale /= 1.25f;
    Invalidate();
}

void CZDMInfoCtrl::OnZoomOut()
{
    if (m_fScale <= kMaxScale) m_fScale *= 1.25f;
    Invalidate();
}

BOOL CZDMInfoCtrl::OnMouseWheel(UINT, short delta, CPoint point)
{
    ScreenToClient(&point);
    const double d = std::trunc(StationAtX(point.x)) - std::trunc(m_dLeftStation);
    const double z = ElevationAtY(point.y);
    const int notches = delta / WHEEL_DELTA;
    m_fScale -= m_fScale * notches * 0.25f;
    if (m_fScale < kMinScale) {
        m_fScale = kMinScale;
    } else if (m_fScale > kMaxScale) {
        m_fScale = kMaxScale;
    } else {
        // The point under the cursor stays there.
        m_dLeftStation = StationAtX(static_cast<int>(d / m_fScale) - point.x);
        m_dBottomElevation = z - (PlotHeight() - point.y) * m_fScale / 10.0;
        UpdateScrollPositions();
    }
    Invalidate();
    return TRUE;
}

void CZDMInfoCtrl::StartDrag(CPoint point) { StartPan(*this, m_rcPlot, point, m_iAnchorX, m_iAnchorY); }

void CZDMInfoCtrl::EndDrag(CPoint point)
{
    // What the mouse moved since the last move is panned too, without the
    // limit.
    if (EndPan(*this) && (point.x != m_iAnchorX || point.y != m_iAnchorY)) Pan(point, false);
}

void CZDMInfoCtrl::Pan(CPoint point, bool limited)
{
    const int dx = point.x - m_iAnchorX, dy = point.y - m_iAnchorY;
    const double left = m_dLeftStation - dx * static_cast<double>(m_fScale);
    m_iAnchorX = point.x;
    m_iAnchorY = point.y;
    if (limited && ((dx > 0 && left < m_dFirstStation - kPanReach) || (dx < 0 && left > m_dLastStation + kPanReach)))
        return;
    m_dLeftStation = left;
    m_dBottomElevation += dy * m_fScale / 10.0;
    UpdateScrollPositions();
    Invalidate();
}

void CZDMInfoCtrl::OnLButtonDown(UINT, CPoint point) { StartDrag(point); }

void CZDMInfoCtrl::OnLButtonUp(UINT, CPoint point) { EndDrag(point); }

LRESULT CZDMInfoCtrl::OnMButtonDown(WPARAM, LPARAM lParam)
{
    StartDrag(PointOf(lParam));
    return 0;
}

LRESULT CZDMInfoCtrl::OnMButtonUp(WPARAM, LPARAM lParam)
{
    EndDrag(PointOf(lParam));
    return 0;
}

void CZDMInfoCtrl::OnMouseMove(UINT, CPoint point)
{
    if (GetCapture() == this) {
        Pan(point, true);
        return;
    }
    if (m_rcPlot.PtInRect(point) || m_rcStationRuler.PtInRect(point) || m_rcElevationRuler.PtInRect(point)) {
        m_ptMouse = point;
        m_bMouseKnown = true;
        Invalidate();
    }
}

BOOL CZDMInfoCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (m_rcPlot.PtInRect(point) && !CRect(0, 0, 32, 16).PtInRect(point)) {
        ::SetCursor(ProgramCursor(IDC_CURSOR_HAND));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CZDMInfoCtrl::OnHScroll(UINT code, UINT, CScrollBar*)
{
    if (!HasData()) return;
    int minimum, maximum, track;
    GetScrollState(*this, SB_HORZ, minimum, maximum, track);
    const double step = code == SB_PAGELEFT || code == SB_PAGERIGHT ? 100.0 * m_fScale : 10.0 * m_fScale;
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT: m_dLeftStation = std::max<double>(minimum, m_dLeftStation - step); break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT: m_dLeftStation = std::min<double>(maximum, m_dLeftStation + step); break;
    case SB_THUMBTRACK:
        if (track >= minimum && track <= maximum) m_dLeftStation = track;
        break;
    default: break; // SB_THUMBPOSITION and the rest only set the bar again
    }
    Invalidate();
    SetScrollPosition(*this, SB_HORZ, static_cast<int>(m_dLeftStation));
}

void CZDMInfoCtrl::OnVScroll(UINT code, UINT, CScrollBar*)
{
    if (!HasData()) return;
    int minimum, maximum, track;
    GetScrollState(*this, SB_VERT, minimum, maximum, track);
    const double step = code == SB_PAGEUP || code == SB_PAGEDOWN ? 10.0 : 1.0;
    switch (code) {
    case SB_LINEUP:
    case SB_PAGEUP: m_dBottomElevation = std::min<double>(maximum, m_dBottomElevation + step); break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN: m_dBottomElevation = std::max<double>(minimum, m_dBottomElevation - step); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: m_dBottomElevation = static_cast<double>(minimum) + maximum - track; break;
    default: break;
    }
    Invalidate();
    SetScrollPosition(*this, SB_VERT, static_cast<int>(minimum + maximum - m_dBottomElevation));
}

// ---------------------------------------------------------------------------
// Menu and query

BOOL CZDMInfoCtrl::BuildContextMenu(CMenu& menu)
{
    if (!menu.LoadMenu(IDR_ZDM_MENU) || !menu.GetSubMenu(0)) return FALSE;
    const bool enough = m_pProfile && m_pProfile->GetBPDCount() > 1;
    menu.GetSubMenu(0)->EnableMenuItem(ID_TOOL_ZDM_INQUIRE, MF_BYCOMMAND | (enough ? MF_ENABLED : MF_GRAYED));
    return TRUE;
}

void CZDMInfoCtrl::OnRButtonDown(UINT, CPoint point)
{
    m_ptMouse = point;
    m_bMouseKnown = true;
    CMenu menu;
    if (!BuildContextMenu(menu)) return;
    CPoint screen = point;
    ClientToScreen(&screen);
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void CZDMInfoCtrl::OnInquire()
{
    if (!m_pProfile || !m_pBreakChain || m_pProfile->GetBPDCount() <= 1) return;
    // The station where the menu was opened.
    const double chainage = StationAtX(m_ptMouse.x);
    ShowZDMInquireDialog(m_pBreakChain->ZHToCString(chainage, -1, 1), m_pProfile, this);
}

void CZDMInfoCtrl::OnUpdateInquire(CCmdUI* ui) { ui->Enable(m_pProfile && m_pProfile->GetBPDCount() > 1); }

CString CZDMInfoCtrl::ReadoutText(double chainage) const
{
    if (!m_pProfile || !m_pBreakChain) return CString();
    const tkxZDMInfo& p = *m_pProfile;
    CString text = ClFormat(L"中桩:%s, ", m_pBreakChain->ZHToCString(chainage, -1, 1).GetString());
    const bool hasGround = p.GetDMXCount() > 0;
    const double ground = hasGround ? p.GetDMXElevation(chainage) : 0;
    text += hasGround ? ClFormat(L"地面高:%.3f, ", ground) : CString(L"地面高: [未知], ");
    double design = 0;
    if (p.GetBPDCount() == 0)
        text += L"设计高: [未知], 填挖高: [未知]";
    else if (!p.GetElevation(chainage, design))
        text += L"设计高: [无法计算], 填挖高: [未知]";
    else if (hasGround)
        text += ClFormat(L"设计高:%.3f, 填挖高:%.3f", design, design - ground);
    else
        text += ClFormat(L"设计高:%.3f, 填挖高: [未知]", design);
    double grade = 0;
    if (p.GetPD(chainage, grade))
        text += ClFormat(L", 切向坡度:%.3f%%, 坡度:%.3f%%", grade * 100, p.GetLPPD(chainage) * 100);
    return text;
}

// ---------------------------------------------------------------------------
// Painting

BOOL CZDMInfoCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CZDMInfoCtrl::OnPaint()
{
    CPaintDC paint(this);
    if (m_rcPlot.IsRectEmpty()) return;
    {
        CBufferDC dc(paint.m_hDC, m_rcPlot);
        DrawPlot(dc);
    }
    if (!m_rcStationRuler.IsRectEmpty()) {
        CBufferDC dc(paint.m_hDC, m_rcStationRuler);
        DrawStationRuler(dc);
    }
    if (!m_rcElevationRuler.IsRectEmpty()) {
        CBufferDC dc(paint.m_hDC, m_rcElevationRuler);
        DrawElevationRuler(dc);
    }
}

void CZDMInfoCtrl::DrawPlot(CDC& dc)
{
    dc.FillRect(&m_rcPlot, &m_brBackground);
    DrawGrid(dc);
    if (m_pProfile) {
        DrawGroundLine(dc);
        DrawGradeLine(dc);
    }
    DrawBreakChain(dc);
    DrawMarker(dc);
}

void CZDMInfoCtrl::DrawGrid(CDC& dc)
{
    if (m_bViewGrid != 1 || !(m_fScale < 6) || !m_pBreakChain) return;
    const tkxBreakChain& chain = *m_pBreakChain;
    const int width = m_rcPlot.Width(), height = PlotHeight();
    const bool fine = m_fScale < 2.5f;

    // Station lines every 10 m of the stations within the segments.
    const int count = chain.GetBreakChainCount();
    int segment = chain.GetBreakChainID(m_dLeftStation);
    double m = (std::trunc(chain.GetBreakZH(m_dLeftStation) / 10) - 1) * 10;
    for (int guard = 0; guard < kLoopGuard; ++guard) {
        // A station that no segment holds (in a gap of the chain) is passed.
        double at = 0;
        if (chain.GetGlobalZH(m, at, segment)) {
            const int x = XOfStation(at);
            if (x >= width) break;
            CPen* pen =
                std::fmod(std::fabs(m), 100.0) <= 0.001 ? &m_penMainGrid : (fine ? &m_penFineGrid : nullptr);
            if (pen && x >= 0) {
                Selected chosen(dc, pen);
                dc.MoveTo(x, 0);
                dc.LineTo(x, height);
            }
        }
        m += 10;
        if (count > 1 && segment < count && m > chain.GetBreakEndZH(segment - 1)) {
            ++segment;
            m = (std::trunc(chain.GetBreakStartZH(segment - 1) / 10) + 1) * 10;
        }
    }

    // Elevation lines every metre.
    double z = std::trunc(m_dBottomElevation);
    for (int guard = 0; guard < kLoopGuard; ++guard, z += 1) {
        const int y = YOfElevation(z);
        if (y < 1) break;
        if (y > height) continue;
        CPen* pen = std::fmod(std::fabs(z), 10.0) <= 0.0001 ? &m_penMainGrid : (fine ? &m_penFineGrid : nullptr);
        if (!pen) continue;
        Selected chosen(dc, pen);
        dc.MoveTo(0, y);
        dc.LineTo(width, y);
    }
}

void CZDMInfoCtrl::DrawGroundLine(CDC& dc)
{
    const tkxZDMInfo& p = *m_pProfile;
    const int width = m_rcPlot.Width();
    Selected chosen(dc, &m_penGround);
    for (int i = 1; i < p.GetDMXCount(); ++i) {
        const int x1 = XOfStation(p.GetDMXZH(i - 1)), x2 = XOfStation(p.GetDMXZH(i));
        if (x1 < 0 && x2 < 0) continue;
        DrawLine(dc, x1, YOfElevation(p.GetDMXElevation(i - 1)), x2, YOfElevation(p.GetDMXElevation(i)), m_rcPlot);
        if (x2 > width) break;
    }
}

void CZDMInfoCtrl::DrawGradeLine(CDC& dc)
{
    const tkxZDMInfo& p = *m_pProfile;
    const int width = m_rcPlot.Width();
    const int n = p.GetBPDCount();
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    for (int i = 1; i < n; ++i) {
        const int x1 = XOfStation(p.GetBPDZH(i - 1)), y1 = YOfElevation(p.GetBPDElevation(i - 1));
        const int x2 = XOfStation(p.GetBPDZH(i)), y2 = YOfElevation(p.GetBPDElevation(i));
        if (x1 < 0 && x2 < 0) continue;
        if (x1 > width && x2 > width) break;
        {
            Selected chosen(dc, &m_penGrade);
            DrawLine(dc, x1, y1, x2, y2, m_rcPlot);
        }

        // The grade and the length along the segment, above and below its
        // middle, turned with it.
        const double mx = (x1 + x2) / 2.0, my = (y1 + y2) / 2.0 - 14;
        double angle;
        if (x2 == x1)
            angle = y2 > y1 ? 270 : 90;
        else
            angle = 360 - std::atan(static_cast<double>(y2 - y1) / (x2 - x1)) * 180 / kPi;
        CFont font;
        if (!CreateLabelFont(font, 14, FW_NORMAL, static_cast<int>(angle * 10))) continue;
        const double grade = p.GetPD(i);
        dc.SetTextColor(std::fabs(grade) < 0.00299 ? kRed : kWhite);
        Selected chosenFont(dc, &font);
        const double rad = angle * kPi / 180;
        const double ux = std::cos(rad), uy = -std::sin(rad); // along the text
        const double nx = -std::sin(rad), ny = -std::cos(rad); // the text's up
        auto write = [&](const CString& text, double up) {
            const CSize size = dc.GetTextExtent(text);
            const double x = mx - ux * size.cx / 2 + nx * up, y = my - uy * size.cx / 2 + ny * up;
            if (std::fabs(x) < 1e6 && std::fabs(y) < 1e6) TextAt(dc, ToPixel(x), ToPixel(y), text);
        };
        write(ClFormat(L"i=%.3f%%", grade * 100), 7);
        write(ClFormat(L"L=%.3fm", p.GetBPDZH(i) - p.GetBPDZH(i - 1)), -21);

        if (i < n - 1) DrawCurve(dc, i);
    }
}

void CZDMInfoCtrl::DrawCurve(CDC& dc, int i)
{
    const tkxZDMInfo& p = *m_pProfile;
    double t1 = 0, t2 = 0;
    if (!p.GetTangentZH(i, t1, t2)) return;
    if (XOfStation(t2) < 0) return;
    const int width = m_rcPlot.Width();
    const int n = (XOfStation(t2) - XOfStation(t1)) / 5;
    if (n > 1) {
        Selected chosen(dc, &m_penCurve);
        const double step = (t2 - t1) / n;
        double z0 = 0;
        if (p.GetElevation(t1, z0)) {
            int x0 = XOfStation(t1), y0 = YOfElevation(z0);
            for (int k = 1; k <= n; ++k) {
                double z = 0;
                const double s = k == n ? t2 : t1 + k * step;
                if (!p.GetElevation(s, z)) break;
                const int x = XOfStation(s), y = YOfElevation(z);
                DrawLine(dc, x0, y0, x, y, m_rcPlot);
                if (x > width) break;
                x0 = x;
                y0 = y;
            }
        }
    }

    // The curve's elements beside its grade point: below a sag curve, above
    // a crest.
    const double t = (t2 - t1) / 2;
    const double r = p.GetR(i);
    const double e = std::fabs(r) < 1e-6 ? 0 : t * t / (2 * r);
    const int xi = XOfStation(p.GetBPDZH(i)), yi = YOfElevation(p.GetBPDElevation(i));
    Selected chosen(dc, &m_fontLabel);
    dc.SetTextColor(kYellow);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    const CString lines[3] = {
        ClFormat(L"ZH:%s H:%.3f", m_pBreakChain ? m_pBreakChain->ZHToCString(p.GetBPDZH(i), -1, 1).GetString() : L"",
                 p.GetBPDElevation(i)),
        ClFormat(L"R:%.3f L:%.3f", r, 2 * t),
        ClFormat(L"T:%.3f E:%.3f", t, e),
    };
    const CSize size = dc.GetTextExtent(lines[1]);
    int x = xi - size.cx / 2;
    const bool sag = p.GetBPDFlag(i) == 1;
    const int offsets[2][3] = {{-48, -34, -20}, {16, 30, 44}};
    const int* offset = offsets[sag ? 1 : 0];
    // A grade point in view near an edge of the plot has its three lines
    // moved in as a block, so that none is cut by the edge.
    const int height = PlotHeight();
    int shift = 0;
    if (xi >= 0 && xi <= width && yi >= 0 && yi <= height) {
        const int top = yi + offset[0], bottom = yi + offset[2] + size.cy;
        if (top < 0) shift = -top;
        else if (bottom > height) shift = std::max(height - bottom, -top);
        int widest = 0;
        for (const CString& line : lines) widest = std::max(widest, static_cast<int>(dc.GetTextExtent(line).cx));
        if (x + widest > width) x = width - widest;
        if (x < 0) x = 0;
    }
    for (int k = 0; k < 3; ++k) TextAt(dc, x, yi + offset[k] + shift, lines[k]);
}

void CZDMInfoCtrl::DrawBreakChain(CDC& dc)
{
    if (!m_pBreakChain || m_pBreakChain->GetBreakChainCount() <= 1) return;
    const tkxBreakChain& chain = *m_pBreakChain;
    const int count = chain.GetBreakChainCount();
    const int width = m_rcPlot.Width(), height = PlotHeight();
    CPen pen(PS_SOLID, 1, kMagenta);
    CFont font;
    CreateLabelFont(font, 12, FW_NORMAL, 900);
    Selected chosenPen(dc, &pen);
    Selected chosenFont(dc, &font);
    dc.SetTextColor(kChainText);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < count; ++i) {
        double at = 0;
        if (i < count - 1) {
            const double end = chain.GetBreakEndZH(i);
            const int x = chain.GetGlobalZH(end, at, i + 1) ? XOfStation(at) : -1;
            if (x > 0 && x < width) {
                dc.MoveTo(x, 0);
                dc.LineTo(x, height);
                const bool overlap = chain.GetBreakStartZH(i + 1) < end;
                dc.SetTextAlign(TA_LEFT | TA_TOP);
                TextAt(dc, overlap ? x + 2 : x - 14, height - 5, L"链尾:" + FormatStationText(end));
            }
        }
        if (i > 0) {
            const double start = chain.GetBreakStartZH(i);
            const int x = chain.GetGlobalZH(start, at, i + 1) ? XOfStation(at) : -1;
            if (x > 0 && x < width) {
                dc.MoveTo(x, 0);
                dc.LineTo(x, height);
                const bool overlap = start < chain.GetBreakEndZH(i - 1);
                dc.SetTextAlign(TA_RIGHT | TA_TOP);
                TextAt(dc, overlap ? x - 14 : x + 2, 5, L"链首:" + FormatStationText(start));
            }
        }
    }
}

void CZDMInfoCtrl::DrawMarker(CDC& dc)
{
    const int x = XOfStation(m_dMarkerStation), y = YOfElevation(m_dMarkerElevation);
    if (!m_rcPlot.PtInRect(CPoint(x, y))) return;
    Selected chosen(dc, &m_penMarker);
    dc.MoveTo(x - 20, y);
    dc.LineTo(x + 21, y);
    dc.MoveTo(x, y - 20);
    dc.LineTo(x, y + 21);
}

void CZDMInfoCtrl::DrawStationRuler(CDC& dc)
{
    const CRect& r = m_rcStationRuler;
    RulerStrip strip(dc, r, m_brRuler, m_penRuler, m_fontLabel, true);
    dc.SetTextAlign(TA_CENTER | TA_TOP);

    if (m_pBreakChain) {
        const tkxBreakChain& chain = *m_pBreakChain;
        const int count = chain.GetBreakChainCount();
        int segment = chain.GetBreakChainID(m_dLeftStation);
        int p = static_cast<int>(std::trunc(chain.GetBreakZH(m_dLeftStation) / 20)) * 20;
        for (int guard = 0; guard < kLoopGuard; ++guard) {
            // A station that no segment holds (in a gap of the chain) is
            // passed.
            double at = 0;
            if (chain.GetGlobalZH(p, at, segment)) {
                const int x = XOfStation(at);
                if (x >= r.right) break;
                if (p % 1000 == 0) {
                    TextAt(dc, x, r.bottom - 17, ClFormat(L"K%d", p / 1000));
                    dc.MoveTo(x, r.bottom);
                    dc.LineTo(x, r.bottom - 8);
                } else if (m_fScale < 8) {
                    const bool hundred = p % 100 == 0;
                    dc.MoveTo(x, r.bottom);
                    dc.LineTo(x, r.bottom - (hundred ? 8 : 4));
                    if (hundred && m_fScale < 5.5) {
                        const int digit = (std::abs(p) / 100) % 10;
                        TextAt(dc, x, r.bottom - 17, ClFormat(L"%d", p < 0 ? 10 - digit : digit));
                    }
                }
            }
            p += 20;
            if (count > 1 && segment < count && p > chain.GetBreakEndZH(segment - 1)) {
                ++segment;
                p = static_cast<int>(std::trunc(chain.GetBreakStartZH(segment - 1) / 20) + 1) * 20;
            }
        }
    }

    if (m_bMouseKnown && m_ptMouse.x >= r.left && m_ptMouse.x < r.right) {
        dc.MoveTo(m_ptMouse.x, r.top);
        dc.LineTo(m_ptMouse.x, r.bottom);
    }
}

void CZDMInfoCtrl::DrawElevationRuler(CDC& dc)
{
    const CRect& r = m_rcElevationRuler;
    RulerStrip strip(dc, r, m_brRuler, m_penRuler, m_fontLabel, true);
    const float scale = m_fScale;
    DrawVerticalRuler(
        dc, r, m_dBottomElevation, [this](double z) { return YOfElevation(z); },
        [scale](long k) {
            RulerMark mark;
            const double five = std::fabs(k / 10.0) / 5;
            if (std::fabs(five - std::round(five)) * 5 <= 0.001) {
                mark.tick = 17;
                mark.labelled = scale < 5;
            } else if (scale < 1.6 && k % 10 == 0) {
                mark.tick = 11;
                mark.labelled = scale < 0.85;
            } else if (scale < 0.4) {
                mark.tick = k % 5 == 0 ? 8 : 4;
            }
            return mark;
        },
        [](double z) { return ClFormat(L"%d", static_cast<int>(std::lround(z))); });

    if (m_bMouseKnown) {
        const CPoint& pt = m_ptMouse;
        if (m_rcPlot.PtInRect(pt) || m_rcStationRuler.PtInRect(pt) || m_rcElevationRuler.PtInRect(pt))
            PrintStatusText(L"%s", ReadoutText(StationAtX(pt.x)).GetString());
        if (pt.y >= r.top && pt.y < r.bottom) {
            dc.MoveTo(r.left, pt.y);
            dc.LineTo(r.right, pt.y);
        }
    }
}
