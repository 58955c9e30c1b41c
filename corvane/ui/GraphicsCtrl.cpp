// tkxGraphicsCtrl: the entity list, the surfaces and their regeneration,
// painting, fitting and the settings.  Mouse, keys, picking, grips and
// point input are in GraphicsInput.cpp.
#include "corvane/ui/GraphicsCtrl.h"
#include "corvane/geometry/Line3d.h"
#include "corvane/geometry/Triangle3d.h"
#include "corvane/ui/EntityTiles.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const wchar_t kClassName[] = L"tkxGraphicsCtrl";
const int kTickRight = 36;  // width of the right tick margin
const int kTickBottom = 18; // height of the bottom tick margin
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kGripBorder = 0x646464;
const COLORREF kGripFill = 0xFF0000; // blue

// The largest power of ten not above v (within 1e-10); 0 for no such step.
double Decade(double v)
{
    const double eps = 1e-10;
    if (!(v >= eps) || !std::isfinite(v)) return 0.0;
    double a = std::fabs(v);
    double d = 1.0;
    if (a - 1 > eps) {
        while (a - 10 > eps) {
            d *= 10;
            a /= 10;
        }
        return d;
    }
    if (a - 1 < eps && a - 1 != eps) {
        while (a - 1 < -eps) {
            d /= 10;
            a *= 10;
        }
    }
    return d;
}

// A tick label: three decimals with trailing zeros and point removed.
CString TickLabel(double value)
{
    CString text;
    text.Format(L"%0.3f", value + 0.0); // + 0.0 turns -0 into 0
    if (text.Find(L'.') >= 0) {
        text.TrimRight(L'0');
        text.TrimRight(L'.');
    }
    if (text == L"-0") text = L"0";
    return text;
}

// The steps k * step that lie in [from, to): the first index and how many,
// none when the step is no step or the range would take absurdly many.
bool StepRange(double from, double to, double step, long long& first, long long& count)
{
    if (!(step > 0) || !std::isfinite(from / step) || std::fabs(from / step) > 9e15) return false;
    first = static_cast<long long>(std::trunc(from / step));
    count = 0;
    while ((first + count) * step - to < -1e-10) {
        if (++count > 100000) return false;
    }
    return true;
}

int PixelWidth(double width)
{
    if (!(width > 0)) return 0;
    return static_cast<int>(std::min(std::trunc(width), 1e6));
}

} // namespace

IMPLEMENT_DYNAMIC(tkxGraphicsCtrl, CWnd)

BEGIN_MESSAGE_MAP(tkxGraphicsCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_MBUTTONDOWN, OnMButtonDown)
    ON_MESSAGE(WM_MBUTTONUP, OnMButtonUp)
    ON_MESSAGE(WM_MBUTTONDBLCLK, OnMButtonDblClk)
    ON_WM_MOUSEWHEEL()
    ON_WM_CAPTURECHANGED()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

tkxGraphicsCtrl::tkxGraphicsCtrl() : m_tiles(std::make_unique<EntityTiles>())
{
    RegisterWindowClass();
    m_hPanCursor = ::LoadCursorW(nullptr, IDC_SIZEALL);
    m_worldDC.m_dScale = 100.0;
}

tkxGraphicsCtrl::~tkxGraphicsCtrl()
{
    DeleteEntities();
    delete m_pPreview;
    m_pPreview = nullptr;
}

void tkxGraphicsCtrl::RegisterWindowClass()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (::GetClassInfoW(instance, kClassName, &wc)) return;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassW(&wc)) AfxThrowResourceException();
}

void tkxGraphicsCtrl::DeleteEntities()
{
    m_regenState.valid = false;
    for (tkxEntityDC* entity : m_entities) delete entity;
    m_entities.clear();
    m_gripRecords.RemoveAll();
    m_gripPoints.RemoveAll();
    m_bGripHovered = 0;
    m_nHoveredGrip = -1;
}

// ---------------------------------------------------------------------------
// Entity list

long tkxGraphicsCtrl::AddEntityToDB(tkxEntityDC* entity)
{
    if (!entity) return 0;
    m_regenState.valid = false;
    SetEntityId(entity, m_lNextId);
    m_entities.push_back(entity);
    return m_lNextId++;
}

long tkxGraphicsCtrl::DrawLine(const tkxPoint2d& start, const tkxPoint2d& end, COLORREF color, int lineType)
{
    auto* line = new tkxLineDC(start, end);
    line->SetColorREF(color);
    line->SetLineType(static_cast<unsigned long>(lineType));
    return AddEntityToDB(line);
}

long tkxGraphicsCtrl::DrawArc(const tkxPoint2d& p1, const tkxPoint2d& p2, const tkxPoint2d& p3, COLORREF color,
                              int lineType)
{
    const tkxPoint3d a(p1.x, p1.y, 0), b(p2.x, p2.y, 0), c(p3.x, p3.y, 0);
    tkxPoint3d centre;
    double radius = 0;
    if (!tkxTriangle3d(a, b, c).GetOutCircle(centre, radius)) return -1;
    double start, end;
    if (tkxLine3d(a, b).LeftOrRight(c, 1e-8) == 1) {
        start = centre.Angle2d(a);
        end = centre.Angle2d(c);
    } else {
        start = centre.Angle2d(c);
        end = centre.Angle2d(a);
    }
    return DrawArc(tkxPoint2d(centre.x, centre.y), radius, start, end, color, lineType);
}

long tkxGraphicsCtrl::DrawArc(const tkxPoint2d& centre, double radius, double startAngle, double endAngle,
                              COLORREF color, int lineType)
{
    auto* arc = new tkxArcDC(centre, radius, startAngle, endAngle);
    arc->SetColorREF(color);
    arc->SetLineType(static_cast<unsigned long>(lineType));
    return AddEntityToDB(arc);
}

long tkxGraphicsCtrl::DrawCircle(const tkxPoint2d& centre, double radius, bool filled, COLORREF color, int lineType)
{
    auto* circle = new tkxCircleDC(centre, radius, filled);
    circle->SetColorREF(color);
    circle->SetLineType(static_cast<unsigned long>(lineType));
    return AddEntityToDB(circle);
}

long tkxGraphicsCtrl::DrawPolyline(const CArray<tkxPoint2d, tkxPoint2d>& vertices, COLORREF color, int closed,
                                   int lineType, double lineWidth)
{
    if (vertices.GetSize() < 2) return -1;
    auto* polyline = new tkxPolyLineDC(vertices);
    polyline->SetClose(closed);
    polyline->SetLineType(static_cast<unsigned long>(lineType));
    polyline->SetColorREF(color);
    polyline->SetLineWidth(lineWidth);
    return AddEntityToDB(polyline);
}

long tkxGraphicsCtrl::DrawTextW(const wchar_t* text, tkxPoint2d position, int alignMode, double size, double angle,
                                COLORREF color)
{
    auto* entity = new tkxTextDC(text, position, alignMode, L"宋体", size, angle);
    entity->SetColorREF(color);
    return AddEntityToDB(entity);
}

int tkxGraphicsCtrl::OpenEntity(tkxEntityDC*& out, long id, bool includeErased)
{
    out = nullptr;
    if (id <= 0) return 0;
    for (tkxEntityDC* entity : m_entities) {
        if (entity->GetId() == id && (includeErased || !entity->IsErased())) {
            out = entity;
            return 1;
        }
    }
    return 0;
}

int tkxGraphicsCtrl::DeleteEntity(long id)
{
    if (id == 0) return 0;
    for (tkxEntityDC* entity : m_entities) {
        if (entity->GetId() == id) {
            entity->SetErase(1);
            m_regenState.valid = false;
            return 1;
        }
    }
    return 0;
}

int tkxGraphicsCtrl::DeleteEntitys(long first, long last)
{
    if (first == 0 || last == 0) return 0;
    m_regenState.valid = false;
    for (tkxEntityDC* entity : m_entities) {
        const long id = entity->GetId();
        if (id > last) break;
        if (id >= first) entity->SetErase(1);
    }
    return 1;
}

int tkxGraphicsCtrl::RemoveAll()
{
    if (m_dwState & STATE_MODAL) return 0;
    DeleteEntities();
    return 1;
}

int tkxGraphicsCtrl::Clear()
{
    if (!RemoveAll()) return 0;
    m_worldDC.m_ptOrigin = tkxPoint2d(0, 0);
    m_worldDC.m_dScale = 100.0;
    ReDraw();
    return 1;
}

// ---------------------------------------------------------------------------
// Surfaces

void tkxGraphicsCtrl::Surface::Release()
{
    if (dc.m_hDC) {
        if (old) ::SelectObject(dc.m_hDC, old);
        dc.DeleteDC();
    }
    old = nullptr;
    bitmap.DeleteObject();
}

bool tkxGraphicsCtrl::Surface::Make(CDC* compatible, int width, int height)
{
    Release();
    if (!dc.CreateCompatibleDC(compatible)) return false;
    if (!bitmap.CreateCompatibleBitmap(compatible, std::max(width, 1), std::max(height, 1))) {
        dc.DeleteDC();
        return false;
    }
    old = ::SelectObject(dc.m_hDC, bitmap.m_hObject);
    dc.SetBkMode(TRANSPARENT);
    return true;
}

void tkxGraphicsCtrl::UpdateDrawingArea()
{
    CRect client;
    GetClientRect(&client);
    if (m_bShowTicks) {
        client.right -= kTickRight;
        client.bottom -= kTickBottom;
    }
    m_worldDC.m_rcClient = client;
}

void tkxGraphicsCtrl::Init()
{
    if (!m_hWnd) return;
    UpdateDrawingArea();
    const int w = m_worldDC.m_rcClient.Width(), h = m_worldDC.m_rcClient.Height();
    m_bSurfacesReady = 0;
    m_regenState.valid = false;
    if (m_worldDC.m_pDC == &m_entitySurface.dc || m_worldDC.m_pDC == &m_overlaySurface.dc) m_worldDC.m_pDC = nullptr;
    for (Surface* s : {&m_entitySurface, &m_backSurface, &m_compositeSurface, &m_overlaySurface, &m_cursorSurface})
        s->Release();
    m_penWidth = -1;
    m_hollowOn = nullptr;
    CClientDC window(this);
    bool made = m_entitySurface.Make(&window, w, h) && m_backSurface.Make(&window, w, h) &&
                m_overlaySurface.Make(&window, w, h) && m_cursorSurface.Make(&window, w, h) &&
                m_compositeSurface.Make(&window, m_bShowTicks ? w + kTickRight : w,
                                        m_bShowTicks ? h + kTickBottom : h);
    if (!made) return;
    m_backSurface.dc.SetTextColor(kWhite);
    m_cursorSurface.dc.SelectStockObject(HOLLOW_BRUSH);
    m_cursorSurface.dc.SelectStockObject(SYSTEM_FONT);
    m_cursorSurface.dc.SelectStockObject(WHITE_PEN);
    m_bSurfacesReady = 1;
}

// ---------------------------------------------------------------------------
// Pens and fonts

void tkxGraphicsCtrl::SetGraphicsPen(DWORD style, int width, COLORREF color, COLORREF fill, CDC* dc)
{
    const bool same = m_pen.m_hObject && style == m_penStyle && width == m_penWidth && color == m_penColor;
    if (same) {
        if (::GetCurrentObject(dc->m_hDC, OBJ_PEN) != m_pen.m_hObject) ::SelectObject(dc->m_hDC, m_pen.m_hObject);
    } else {
        HPEN pen = ::CreatePen(static_cast<int>(style), width, color);
        ::SelectObject(dc->m_hDC, pen);
        m_pen.DeleteObject();
        m_pen.Attach(pen);
        m_penStyle = style;
        m_penWidth = width;
        m_penColor = color;
    }
    if (fill) {
        HBRUSH brush = ::CreateSolidBrush(fill);
        ::SelectObject(dc->m_hDC, brush);
        m_brush.DeleteObject();
        m_brush.Attach(brush);
        m_hollowOn = nullptr;
    } else if (m_hollowOn != dc->m_hDC) {
        static const HGDIOBJ hollow = ::GetStockObject(HOLLOW_BRUSH);
        ::SelectObject(dc->m_hDC, hollow);
        m_hollowOn = dc->m_hDC;
    }
}

void tkxGraphicsCtrl::SetGraphicsFont(const wchar_t* face, int size, COLORREF color, CDC* dc)
{
    CFont font;
    font.CreatePointFont(size, face, dc);
    ::SelectObject(dc->m_hDC, font.m_hObject);
    m_font.DeleteObject();
    m_font.Attach(font.Detach());
    dc->SetTextColor(color);
}

// ---------------------------------------------------------------------------
// Regeneration

namespace {

// Whether extents meet the view box (touching its edge is not enough).
bool BoxesMeet(const tkxPoint2d& vmin, const tkxPoint2d& vmax, const tkxPoint2d& emin, const tkxPoint2d& emax)
{
    return vmin.x - emax.x <= -1e-6 && vmax.x - emin.x >= 1e-6 && vmin.y - emax.y <= -1e-6 && vmax.y - emin.y >= 1e-6;
}

} // namespace

bool tkxGraphicsCtrl::IsVisible(tkxEntityDC* entity, const tkxPoint2d& vmin, const tkxPoint2d& vmax)
{
    tkxPoint2d emin, emax;
    if (!entity->GetGeomExtents(emin, emax)) return true; // cannot measure itself: drawn
    return BoxesMeet(vmin, vmax, emin, emax);
}

void tkxGraphicsCtrl::DrawGrid(CDC& dc, int width, int height)
{
    const double scale = m_worldDC.m_dScale;
    double step = 50 * Decade(1 / scale);
    const tkxPoint2d low = m_worldDC.ScreenToMath(CPoint(0, height));
    const tkxPoint2d high = m_worldDC.ScreenToMath(CPoint(width, 0));
    const tkxPoint2d& o = m_worldDC.m_ptOrigin;
    for (COLORREF color : {m_crMinorGrid, m_crMajorGrid}) {
        SetGraphicsPen(PS_SOLID, 0, color, 0, &dc);
        long long first, count;
        if (StepRange(low.x, high.x, step, first, count)) {
            for (long long k = first; k < first + count; ++k) {
                const int px = m_worldDC.Truncated(k * step * scale + o.x, 0).x;
                dc.MoveTo(px, 0);
                dc.LineTo(px, m_worldDC.m_rcClient.bottom);
            }
        }
        if (StepRange(low.y, high.y, step, first, count)) {
            for (long long k = first; k < first + count; ++k) {
                const int py = m_worldDC.Truncated(0, k * step * scale + o.y).y;
                dc.MoveTo(0, py);
                dc.LineTo(m_worldDC.m_rcClient.right, py);
            }
        }
        step *= 5;
    }
}

void tkxGraphicsCtrl::DrawAxisIcon(CDC& dc, int height)
{
    const int b = 5, c = height - 5;
    dc.MoveTo(b, c - 10);
    dc.LineTo(b + 10, c - 10);
    dc.LineTo(b + 10, c);
    dc.LineTo(b, c);
    dc.LineTo(b, c - 10);
    auto line = [&](int x1, int y1, int x2, int y2) {
        dc.MoveTo(x1, y1);
        dc.LineTo(x2, y2);
    };
    line(b + 5, c - 10, b + 5, c - 55);
    line(b, c - 55, b + 11, c - 55);
    line(b + 5, c - 70, b, c - 55);
    line(b + 5, c - 70, b + 11, c - 55);
    dc.SetTextAlign(TA_BASELINE | TA_CENTER);
    dc.TextOut(b + 6, c - 73, CString(L"Y"));
    line(b + 10, c - 5, b + 55, c - 5);
    line(b + 55, c, b + 55, c - 11);
    line(b + 70, c - 5, b + 55, c);
    line(b + 70, c - 5, b + 55, c - 11);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.TextOut(b + 73, c - 13, CString(L"X"));
}

void tkxGraphicsCtrl::DrawTicks(CDC& dc)
{
    const int wt = m_worldDC.m_rcClient.right + kTickRight, ht = m_worldDC.m_rcClient.bottom + kTickBottom;
    const double scale = m_worldDC.m_dScale;
    const tkxPoint2d& o = m_worldDC.m_ptOrigin;
    SetGraphicsPen(PS_SOLID, 0, 0, kWhite, &dc);
    dc.FillSolidRect(0, ht - kTickBottom, wt, kTickBottom, kWhite);
    const double t = 100 * Decade(1 / scale);
    const tkxPoint2d low = m_worldDC.ScreenToMath(CPoint(0, ht));
    const tkxPoint2d high = m_worldDC.ScreenToMath(CPoint(wt, 0));
    SetGraphicsFont(L"Arial", 80, 0, &dc);
    dc.SetTextAlign(TA_BASELINE | TA_LEFT);
    // Ticks are counted in whole steps, so that labels stay on the multiples
    // of five steps also at survey coordinates.
    long long first, count;
    if (StepRange(low.x, high.x, t, first, count)) {
        for (long long k = first; k < first + count; ++k) {
            const double x = k * t;
            const int px = m_worldDC.Truncated(x * scale + o.x, 0).x;
            const bool major = k % 5 == 0;
            dc.MoveTo(px, major ? ht - 17 : ht - 5);
            dc.LineTo(px, ht);
            if (major && t > 0.0001) dc.TextOut(px + 2, ht - 6, TickLabel(x * m_dHLabelFactor));
        }
    }
    dc.FillSolidRect(wt - kTickRight, 0, kTickRight, ht - kTickBottom, kWhite);
    dc.SetTextAlign(TA_BASELINE | TA_RIGHT);
    if (StepRange(low.y, high.y, t, first, count)) {
        for (long long k = first; k < first + count; ++k) {
            const double y = k * t;
            const int py = m_worldDC.Truncated(0, y * scale + o.y).y;
            const bool major = k % 5 == 0;
            dc.MoveTo(major ? wt - 18 : static_cast<int>(std::trunc(wt - 5.4)), py);
            dc.LineTo(wt, py);
            if (major && t > 0.0001) dc.TextOut(wt, py - 1, TickLabel(y * m_dVLabelFactor));
        }
    }
}

void tkxGraphicsCtrl::DrawGripBox(CDC& dc, const tkxPoint2d& grip, COLORREF fill)
{
    SetGraphicsPen(PS_SOLID, 0, kGripBorder, fill, &dc);
    const CPoint p = m_worldDC.MathToScreen(grip);
    dc.Rectangle(p.x - 4, p.y - 4, p.x + 5, p.y + 5);
}

void tkxGraphicsCtrl::DrawTitle(CDC& surface)
{
    if (m_strTitle.IsEmpty()) return;
    surface.SetTextAlign(TA_LEFT | TA_TOP);
    SetGraphicsFont(L"黑体", 120, kWhite, &surface);
    int line = 0, start = 0;
    for (;;) {
        const int end = m_strTitle.Find(L'\n', start);
        const CString text = end < 0 ? m_strTitle.Mid(start) : m_strTitle.Mid(start, end - start);
        surface.TextOut(5, 5 + 15 * line++, text);
        if (end < 0) break;
        start = end + 1;
    }
}

void tkxGraphicsCtrl::Regen()
{
    if (!m_bSurfacesReady) Init();
    if (!m_bSurfacesReady) return;
    const int w = m_worldDC.m_rcClient.right, h = m_worldDC.m_rcClient.bottom;
    const double scale = m_worldDC.m_dScale;

    CDC& back = m_backSurface.dc;
    back.FillSolidRect(0, 0, w, h, m_crBackground);
    if (m_bShowGrid) DrawGrid(back, w, h);
    SetGraphicsPen(PS_SOLID, 0, kWhite, 0, &back);
    if (m_bShowAxis) DrawAxisIcon(back, h);

    CDC& surface = m_entitySurface.dc;
    surface.FillSolidRect(0, 0, w, h, 0);
    m_kept.resize(m_entities.size());
    m_keptBoxes.resize(m_entities.size());
    tkxPoint2d vmin, vmax;
    m_worldDC.GetBoundsBox(vmin, vmax);
    for (size_t i = 0; i < m_entities.size(); ++i) MeasureEntity(i, vmin, vmax);
    m_tiles->Reset(w, h);
    for (size_t i = 0; i < m_entities.size(); ++i) {
        if (!(m_kept[i] & KEPT_IN_VIEW)) continue;
        const DeviceBox& b = m_keptBoxes[i];
        m_tiles->Add(i, b.left, b.top, b.right, b.bottom);
    }
    DrawEntities(surface, nullptr);
    DrawTitle(surface);
    for (const tkxPoint2d& grip : m_gripPoints) DrawGripBox(surface, grip, kGripFill);

    if (m_bShowTicks) DrawTicks(m_compositeSurface.dc);
    m_regenState = RegenState{true, m_worldDC.m_ptOrigin, scale, m_worldDC.m_rcClient, m_entities.size(), m_bEditEnable};
}

// ---------------------------------------------------------------------------
// Regenerating a part

bool tkxGraphicsCtrl::SurfacesShowTheModel() const
{
    const RegenState& s = m_regenState;
    return m_bSurfacesReady && s.valid && !(m_dwState & STATE_PANNING) && s.origin.x == m_worldDC.m_ptOrigin.x &&
           s.origin.y == m_worldDC.m_ptOrigin.y && s.scale == m_worldDC.m_dScale && s.client == m_worldDC.m_rcClient &&
           s.entities == m_entities.size() && s.editEnable == m_bEditEnable;
}

bool tkxGraphicsCtrl::DrawingMargin(tkxEntityDC* entity, const tkxPoint2d& emin, const tkxPoint2d& emax,
                                    double& margin)
{
    // The library's entities draw within their extents, widened by half
    // their pen and a pixel or two of rounding; a text's extents are those
    // of its unturned box, which it may turn about its position.  Pixels
    // are counted generously: the area is only where drawing is repeated.
    const CRuntimeClass* kind = entity->GetRuntimeClass();
    const double pixel = 1.0 / m_worldDC.m_dScale;
    if (kind == RUNTIME_CLASS(tkxLineDC) || kind == RUNTIME_CLASS(tkxPolyLineDC) || kind == RUNTIME_CLASS(tkxCircleDC) ||
        kind == RUNTIME_CLASS(tkxArcDC) || kind == RUNTIME_CLASS(tkxBitmapDC)) {
        margin = (PixelWidth(entity->GetLineWidth() * m_worldDC.m_dScale) / 2.0 + 3) * pixel;
        return true;
    }
    if (kind == RUNTIME_CLASS(tkxTextDC)) {
        margin = 2 * ((emax.x - emin.x) + (emax.y - emin.y)) + 4 * pixel;
        return std::isfinite(margin);
    }
    return false;
}

bool tkxGraphicsCtrl::EntityArea(tkxEntityDC* entity, std::vector<CRect>& area)
{
    if (entity->IsErased()) return true;
    tkxPoint2d vmin, vmax, emin, emax;
    m_worldDC.GetBoundsBox(vmin, vmax);
    double margin = 0;
    if (!entity->GetGeomExtents(emin, emax) || !DrawingMargin(entity, emin, emax, margin)) return false;
    if (!BoxesMeet(vmin, vmax, emin, emax)) return true; // it is not drawn
    const CPoint low = m_worldDC.MathToScreen(emin - tkxPoint2d(margin, margin));
    const CPoint high = m_worldDC.MathToScreen(emax + tkxPoint2d(margin, margin));
    CRect box(std::min(low.x, high.x), std::min(low.y, high.y), std::max(low.x, high.x) + 1,
              std::max(low.y, high.y) + 1);
    if (box.IntersectRect(box, m_worldDC.m_rcClient)) area.push_back(box);
    if (m_bEditEnable && entity->IsSelected()) {
        CArray<tkxPoint2d, tkxPoint2d> grips;
        entity->getGripPoints(grips);
        for (const tkxPoint2d& grip : grips) {
            const CPoint p = m_worldDC.MathToScreen(grip);
            CRect square(p.x - 4, p.y - 4, p.x + 5, p.y + 5);
            if (square.IntersectRect(square, m_worldDC.m_rcClient)) area.push_back(square);
        }
    }
    return true;
}

void tkxGraphicsCtrl::RegenChange(std::vector<tkxEntityDC*> changed, std::vector<CRect> before, bool known)
{
    if (!SurfacesShowTheModel()) {
        ReDraw();
        return;
    }
    std::vector<CRect>& area = before;
    for (tkxEntityDC* entity : changed) known = EntityArea(entity, area) && known;
    // An area as large as a good part of the view costs as much as all of
    // it.
    long long pixels = 0;
    for (const CRect& rect : area) pixels += static_cast<long long>(rect.Width()) * rect.Height();
    const long long whole = static_cast<long long>(m_worldDC.m_rcClient.Width()) * m_worldDC.m_rcClient.Height();
    if (!known || area.size() > 256 || pixels * 4 > whole) {
        ReDraw();
        return;
    }
    tkxPoint2d vmin, vmax;
    m_worldDC.GetBoundsBox(vmin, vmax);
    for (tkxEntityDC* entity : changed) {
        const size_t i = IndexOf(entity);
        if (i >= m_entities.size()) continue;
        MeasureEntity(i, vmin, vmax);
        m_tiles->Moved(i);
    }
    if (!area.empty()) RepaintPart(area);
}

size_t tkxGraphicsCtrl::IndexOf(const tkxEntityDC* entity) const
{
    // The list is in the order of the ids given; an entity whose id was
    // changed from outside is looked for one by one.
    const auto it = std::lower_bound(m_entities.begin(), m_entities.end(), entity->GetId(),
                                     [](const tkxEntityDC* e, long id) { return e->GetId() < id; });
    if (it != m_entities.end() && *it == entity) return static_cast<size_t>(it - m_entities.begin());
    return static_cast<size_t>(std::find(m_entities.begin(), m_entities.end(), entity) - m_entities.begin());
}

namespace {

// The device box of a world box, widened to whole pixels and a pixel more
// on each side; nothing that draws within the world box reaches beyond it.
bool DeviceBoxOf(const tkxWorldDrawDC& dc, const tkxPoint2d& low, const tkxPoint2d& high, int& left, int& top,
                 int& right, int& bottom)
{
    double x0, y0, x1, y1;
    dc.ToDevice(low, x0, y0);
    dc.ToDevice(high, x1, y1);
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1))) return false;
    const double limit = 1e9;
    auto clamp = [limit](double v) { return std::min(std::max(v, -limit), limit); };
    left = static_cast<int>(std::floor(clamp(std::min(x0, x1)))) - 1;
    right = static_cast<int>(std::ceil(clamp(std::max(x0, x1)))) + 1;
    top = dc.m_rcClient.bottom - static_cast<int>(std::ceil(clamp(std::max(y0, y1)))) - 1;
    bottom = dc.m_rcClient.bottom - static_cast<int>(std::floor(clamp(std::min(y0, y1)))) + 1;
    return true;
}

} // namespace

void tkxGraphicsCtrl::MeasureEntity(size_t i, const tkxPoint2d& vmin, const tkxPoint2d& vmax)
{
    tkxEntityDC* entity = m_entities[i];
    unsigned char& kept = m_kept[i];
    DeviceBox& box = m_keptBoxes[i];
    kept = 0;
    box = DeviceBox{1, 1, 0, 0}; // empty
    if (entity->IsErased()) return;
    if (entity->IsSelected()) kept |= KEPT_SELECTED;
    tkxPoint2d emin, emax;
    const bool measured = entity->GetGeomExtents(emin, emax) != 0;
    // What only drawing needs is taken for the entities in view.
    if (measured && !BoxesMeet(vmin, vmax, emin, emax)) return;
    kept |= KEPT_IN_VIEW;
    const CRuntimeClass* kind = entity->GetRuntimeClass();
    if (kind == RUNTIME_CLASS(tkxLineDC) || kind == RUNTIME_CLASS(tkxPolyLineDC) || kind == RUNTIME_CLASS(tkxCircleDC) ||
        kind == RUNTIME_CLASS(tkxArcDC))
        kept |= KEPT_PEN_ONLY;
    double margin = 0;
    if (measured && DrawingMargin(entity, emin, emax, margin) &&
        DeviceBoxOf(m_worldDC, emin - tkxPoint2d(margin, margin), emax + tkxPoint2d(margin, margin), box.left,
                    box.top, box.right, box.bottom)) {
        kept |= KEPT_REACHES;
        return;
    }
    const int whole = std::numeric_limits<int>::max();
    box = DeviceBox{-whole, -whole, whole, whole};
}

void tkxGraphicsCtrl::DrawEntities(CDC& surface, const CRect* area)
{
    const double scale = m_worldDC.m_dScale;
    m_worldDC.m_pDC = &surface;
    // With an area, the entities whose boxes miss it (and a pixel around
    // it) are passed over.
    DeviceBox part{0, 0, 0, 0};
    if (area) part = DeviceBox{area->left - 1, area->top - 1, area->right + 1, area->bottom + 1};
    auto drawn = [&](size_t i) {
        if (!area) return true;
        const DeviceBox& b = m_keptBoxes[i];
        return b.left <= part.right && b.right >= part.left && b.top <= part.bottom && b.bottom >= part.top;
    };
    m_gripPoints.RemoveAll();
    m_gripRecords.RemoveAll();
    m_hollowOn = nullptr;
    auto drawPlain = [&](size_t i) {
        const unsigned char kept = m_kept[i];
        if ((kept & (KEPT_IN_VIEW | KEPT_SELECTED)) != KEPT_IN_VIEW || !drawn(i)) return;
        tkxEntityDC* entity = m_entities[i];
        SetGraphicsPen(entity->GetLineType(), PixelWidth(entity->GetLineWidth() * scale), entity->GetColorREF(), 0,
                       &surface);
        // Lines, polylines, circles and arcs draw with pen and brush alone.
        if (!(kept & KEPT_PEN_ONLY)) surface.SetTextColor(entity->GetColorREF());
        entity->worldDraw(&m_worldDC);
        // An entity of the owner's may leave another brush selected.
        if (!(kept & KEPT_REACHES)) m_hollowOn = nullptr;
    };
    const size_t count = m_kept.size();
    if (area) {
        // Only the entities filed near the part can draw on it.
        m_tiles->Near(part.left, part.top, part.right, part.bottom, m_near);
        for (size_t i : m_near)
            if (i < count) drawPlain(i);
    } else {
        for (size_t i = 0; i < count; ++i) drawPlain(i);
    }
    surface.SetROP2(R2_XORPEN);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char kept = m_kept[i];
        if ((kept & (KEPT_IN_VIEW | KEPT_SELECTED)) != (KEPT_IN_VIEW | KEPT_SELECTED)) continue;
        tkxEntityDC* entity = m_entities[i];
        if (drawn(i)) {
            SetGraphicsPen(PS_DOT, PixelWidth(entity->GetLineWidth() * scale), entity->GetColorREF(), 0, &surface);
            entity->worldDraw(&m_worldDC);
            if (!(kept & KEPT_REACHES)) m_hollowOn = nullptr;
        }
        if (m_bEditEnable) {
            const int first = static_cast<int>(m_gripPoints.GetSize());
            entity->getGripPoints(m_gripPoints);
            sGripPointManage record;
            record.pEntity = entity;
            record.nFirst = first;
            record.nCount = static_cast<int>(m_gripPoints.GetSize()) - first;
            m_gripRecords.Add(record);
        }
    }
    surface.SetROP2(R2_COPYPEN);
}

// The steps of Regen on the entity surface, clipped to the area: the same
// entities that meet it, drawn in the same order with the same pens, give
// the same pixels there.
void tkxGraphicsCtrl::RepaintPart(const std::vector<CRect>& area)
{
    CDC& surface = m_entitySurface.dc;
    CRgn clip;
    clip.CreateRectRgn(0, 0, 0, 0);
    CRect box;
    for (const CRect& rect : area) {
        CRgn piece;
        piece.CreateRectRgnIndirect(rect);
        ::CombineRgn(static_cast<HRGN>(clip.m_hObject), static_cast<HRGN>(clip.m_hObject),
                     static_cast<HRGN>(piece.m_hObject), RGN_OR);
        box.UnionRect(box, rect);
    }
    surface.SelectClipRgn(&clip);
    for (const CRect& rect : area) surface.FillSolidRect(rect, 0);
    DrawEntities(surface, &box);
    DrawTitle(surface);
    for (const tkxPoint2d& grip : m_gripPoints) DrawGripBox(surface, grip, kGripFill);
    surface.SelectClipRgn(nullptr);
    if (m_hWnd)
        for (const CRect& rect : area) InvalidateRect(rect, FALSE);
}

void tkxGraphicsCtrl::ReDraw()
{
    Regen();
    if (m_hWnd) Invalidate(FALSE);
}

CDC* tkxGraphicsCtrl::GetDC() { return m_worldDC.m_pDC; }

// ---------------------------------------------------------------------------
// Painting

BOOL tkxGraphicsCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void tkxGraphicsCtrl::OnPaint()
{
    CPaintDC paint(this);
    if (m_dwState & STATE_PANNING) Regen();
    if (!m_bSurfacesReady) return;
    const int w = m_worldDC.m_rcClient.Width(), h = m_worldDC.m_rcClient.Height();
    if (w <= 0 || h <= 0) return;
    // Only the part to be painted is composed: each step works on that
    // part of the surfaces as it would on all of them.
    const CRect painted(paint.m_ps.rcPaint);
    CRect part;
    if (!part.IntersectRect(painted, CRect(0, 0, w, h))) part.SetRectEmpty();
    const int x = part.left, y = part.top, pw = part.Width(), ph = part.Height();
    CDC& composite = m_compositeSurface.dc;
    CDC& overlay = m_overlaySurface.dc;
    CDC& cursor = m_cursorSurface.dc;
    composite.BitBlt(x, y, pw, ph, &m_backSurface.dc, x, y, SRCCOPY);
    overlay.BitBlt(x, y, pw, ph, &m_entitySurface.dc, x, y, SRCCOPY);

    if (m_bGripHovered && m_nHoveredGrip >= 0 && m_nHoveredGrip < m_gripPoints.GetSize())
        DrawGripBox(overlay, m_gripPoints[m_nHoveredGrip], RGB(0, 255, 0));
    if ((m_dwState & STATE_MODAL) && m_nDraggedGrip >= 0 && m_nDraggedGrip < m_gripPoints.GetSize())
        DrawGripBox(overlay, m_gripPoints[m_nDraggedGrip], RGB(255, 0, 0));

    // The dragged copy, and the line from the base point (also while a point
    // is asked for from a base point).
    if (m_pPreview || (m_bRubberBand && (m_dwState & STATE_MODAL))) {
        CDC* previous = m_worldDC.m_pDC;
        m_worldDC.m_pDC = &overlay;
        SetGraphicsPen(PS_SOLID, 1, kWhite, 0, &overlay);
        overlay.SetROP2(R2_XORPEN);
        if (m_pPreview) m_pPreview->worldDraw(&m_worldDC);
        if (m_bRubberBand) {
            overlay.MoveTo(m_worldDC.MathToScreen(m_ptRubberBase));
            overlay.LineTo(m_worldDC.MathToScreen(m_ptCursorWorld));
        }
        overlay.SetROP2(R2_COPYPEN);
        m_worldDC.m_pDC = previous;
    }

    cursor.FillSolidRect(x, y, pw, ph, 0);
    if (!(m_dwState & STATE_PANNING)) {
        const int cx = m_ptCursor.x, cy = m_ptCursor.y;
        cursor.SetROP2(R2_XORPEN);
        cursor.MoveTo(cx - m_nCrossHalf, cy);
        cursor.LineTo(cx + m_nCrossHalf, cy);
        cursor.MoveTo(cx, cy - m_nCrossHalf);
        cursor.LineTo(cx, cy + m_nCrossHalf);
        if (!(m_dwState & STATE_MODAL))
            cursor.Rectangle(cx - m_nPickHalf, cy - m_nPickHalf, cx + m_nPickHalf + 1, cy + m_nPickHalf + 1);
        cursor.SetROP2(R2_COPYPEN);
    }
    overlay.BitBlt(x, y, pw, ph, &cursor, x, y, SRCINVERT);
    composite.BitBlt(x, y, pw, ph, &overlay, x, y, SRCPAINT);
    CRect shown;
    if (shown.IntersectRect(painted, CRect(0, 0, m_bShowTicks ? w + kTickRight : w, m_bShowTicks ? h + kTickBottom : h)))
        paint.BitBlt(shown.left, shown.top, shown.Width(), shown.Height(), &composite, shown.left, shown.top, SRCCOPY);
}

void tkxGraphicsCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    Init();
    ReDraw();
}

void tkxGraphicsCtrl::OnDestroy()
{
    CWnd::OnDestroy();
    DeleteEntities();
    m_pen.DeleteObject();
    m_brush.DeleteObject();
    m_font.DeleteObject();
    m_worldDC.m_pDC = nullptr;
    for (Surface* s : {&m_entitySurface, &m_backSurface, &m_compositeSurface, &m_overlaySurface, &m_cursorSurface})
        s->Release();
    m_bSurfacesReady = 0;
}

// ---------------------------------------------------------------------------
// Fitting, thumbnail, text extent

bool tkxGraphicsCtrl::DrawingExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    // From the first measured entity on: a fixed starting box would stretch
    // the fit of a drawing lying wholly beyond it back to that box.
    bool any = false;
    for (tkxEntityDC* entity : m_entities) {
        if (entity->IsErased()) continue;
        // An entity with nothing to measure (a polyline without vertices)
        // leaves the corners as they were: they stay unset and it is passed
        // over, instead of pulling the fit to the origin.
        const double unset = std::numeric_limits<double>::quiet_NaN();
        tkxPoint2d emin(unset, unset), emax(unset, unset);
        if (!entity->GetGeomExtents(emin, emax)) continue;
        if (!std::isfinite(emin.x) || !std::isfinite(emin.y) || !std::isfinite(emax.x) || !std::isfinite(emax.y))
            continue;
        if (!any) {
            min = emin;
            max = emax;
            any = true;
            continue;
        }
        if (min.x - emin.x > 1e-6) min.x = emin.x;
        if (min.y - emin.y > 1e-6) min.y = emin.y;
        if (max.x - emax.x < -1e-6) max.x = emax.x;
        if (max.y - emax.y < -1e-6) max.y = emax.y;
    }
    return any;
}

namespace {

// Fits the box min..max (enlarged by `margin` of its size on each side) into
// a width x height area: scale and origin.  A box without extent (one
// point) keeps the scale given and is centred.
void FitBox(tkxPoint2d min, tkxPoint2d max, double margin, int width, int height, double& scale, tkxPoint2d& origin)
{
    tkxPoint2d size = max - min;
    if (size.x <= 0 && size.y <= 0) {
        origin = tkxPoint2d(width / 2.0, height / 2.0) - min * scale;
        return;
    }
    min = min - size * margin;
    size = size * (1 + 2 * margin);
    const double fx = width / size.x, fy = height / size.y;
    if (fy - 1e-6 > fx) {
        scale = fx;
        origin = tkxPoint2d(0, (height - size.y * scale) / 2);
    } else {
        scale = fy;
        origin = tkxPoint2d((width - size.x * scale) / 2, 0);
    }
    origin = origin - min * scale;
}

} // namespace

void tkxGraphicsCtrl::ShowAll()
{
    if (m_hWnd) UpdateDrawingArea();
    tkxPoint2d min, max;
    if (!DrawingExtents(min, max)) {
        m_worldDC.m_dScale = 1.0;
        m_worldDC.m_ptOrigin = tkxPoint2d(0, 0);
        ReDraw();
        return;
    }
    double scale = std::min(std::max(m_worldDC.m_dScale, 0.02), 100000.0);
    FitBox(min, max, 0.025, m_worldDC.m_rcClient.right, m_worldDC.m_rcClient.bottom, scale, m_worldDC.m_ptOrigin);
    m_worldDC.m_dScale = scale;
    ReDraw();
}

void tkxGraphicsCtrl::CreateThumbnail(CBitmap& bitmap, int cx, int cy)
{
    // The view's own mapping and device come back afterwards.
    const tkxWorldDrawDC saved = m_worldDC;
    m_worldDC.m_rcClient = CRect(0, 0, cx, cy);
    m_worldDC.m_dScale = 1.0;
    m_worldDC.m_ptOrigin = tkxPoint2d(0, 0);
    tkxPoint2d min, max;
    if (DrawingExtents(min, max)) FitBox(min, max, 0.1, cx, cy, m_worldDC.m_dScale, m_worldDC.m_ptOrigin);

    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    bitmap.DeleteObject();
    bitmap.CreateCompatibleBitmap(&memory, cx, cy);
    memory.SelectStockObject(WHITE_PEN);
    memory.SelectStockObject(HOLLOW_BRUSH);
    HGDIOBJ old = ::SelectObject(memory.m_hDC, bitmap.m_hObject);
    memory.PatBlt(0, 0, cx, cy, BLACKNESS);
    m_worldDC.m_pDC = &memory;
    for (tkxEntityDC* entity : m_entities)
        if (!entity->IsErased()) entity->worldDraw(&m_worldDC);
    ::SelectObject(memory.m_hDC, old);
    memory.DeleteDC();
    m_worldDC = saved;
}

tkxPoint2d tkxGraphicsCtrl::GetTextExtent(const wchar_t* text, double size, const wchar_t* faceName)
{
    LOGFONTW lf{};
    lf.lfHeight = static_cast<LONG>(std::trunc(size * 1000));
    lf.lfWidth = static_cast<LONG>(std::trunc(size * 0.5 * 1000));
    lf.lfWeight = 100;
    lf.lfCharSet = 136;
    wcsncpy(lf.lfFaceName, faceName ? faceName : L"", LF_FACESIZE - 1);
    // Measured on the view's device, or before the view has drawn, on a
    // device like the screen.
    HDC device = m_worldDC.m_pDC ? m_worldDC.m_pDC->m_hDC : nullptr;
    HDC own = nullptr;
    if (!device) device = own = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(device, font);
    SIZE extent{};
    const CString measured = text ? text : L"";
    ::GetTextExtentPoint32W(device, measured, measured.GetLength(), &extent);
    ::SelectObject(device, old);
    ::DeleteObject(font);
    if (own) ::DeleteDC(own);
    return tkxPoint2d(extent.cx / 1000.0, extent.cy / 1000.0);
}

void tkxGraphicsCtrl::PanTo(const tkxPoint2d& p)
{
    const CPoint at = m_worldDC.MathToScreen(p);
    m_worldDC.m_ptOrigin.x -= at.x - static_cast<int>(m_worldDC.m_rcClient.Width() * 0.5);
    ReDraw();
}

// ---------------------------------------------------------------------------
// Settings

void tkxGraphicsCtrl::SetBGColor(const COLORREF& color)
{
    m_crBackground = color;
    ReDraw();
}

void tkxGraphicsCtrl::SetGridColor(const COLORREF& major, const COLORREF& minor)
{
    m_crMajorGrid = major;
    m_crMinorGrid = minor;
    ReDraw();
}

void tkxGraphicsCtrl::SetDisplayGrid(int show)
{
    m_bShowGrid = show;
    ReDraw();
}

void tkxGraphicsCtrl::SetDisplayUCS(int show)
{
    m_bShowAxis = show;
    ReDraw();
}

void tkxGraphicsCtrl::SetDisplayTick(int show)
{
    m_bShowTicks = show;
    Init();
    ReDraw();
}

int tkxGraphicsCtrl::SetTickHScale(double factor)
{
    if (std::fabs(factor) < 1e-6) return 0;
    m_dHLabelFactor = factor;
    ReDraw();
    return 1;
}

int tkxGraphicsCtrl::SetTickVScale(double factor)
{
    if (std::fabs(factor) < 1e-6) return 0;
    m_dVLabelFactor = factor;
    ReDraw();
    return 1;
}

void tkxGraphicsCtrl::SetTitle(const wchar_t* title)
{
    m_strTitle = title ? title : L"";
    ReDraw();
}

void tkxGraphicsCtrl::SetEditEnable(int enable) { m_bEditEnable = enable; }
void tkxGraphicsCtrl::SetOrthMode(int ortho) { m_bOrthMode = ortho; }
