#include "corvane/ui/DrawEntities.h"
#include "corvane/ui/DevicePath.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.141592653589793;

// Corner-wise bounding box of points, in the comparison of the polyline's
// extents (a coordinate is taken when it is beyond by more than 1e-6).
void Widen(tkxPoint2d& min, tkxPoint2d& max, const tkxPoint2d& p)
{
    if (min.x - p.x > 1e-6) min.x = p.x;
    if (max.x - p.x < -1e-6) max.x = p.x;
    if (min.y - p.y > 1e-6) min.y = p.y;
    if (max.y - p.y < -1e-6) max.y = p.y;
}

// Direction of an offset: atan(dy / dx) in the quadrant of dx; straight up
// or down when dx is 0.  False for a zero offset (no direction).
bool OffsetDirection(const tkxPoint2d& o, double& angle)
{
    if (o.x > 0) angle = std::atan(o.y / o.x);
    else if (o.x < 0) angle = std::atan(o.y / o.x) + kPi;
    else if (o.y > 0) angle = kPi / 2;
    else if (o.y < 0) angle = 3 * kPi / 2;
    else return false;
    return true;
}

bool Drawable(tkxWorldDrawDC* dc) { return dc && dc->m_pDC && dc->m_pDC->m_hDC; }

// A new entity of the same kind holding the same values (through the
// kind's own assignment).
template <class Entity>
tkxEntityDC* CopyOf(Entity& entity)
{
    auto* copy = new Entity;
    *copy = entity;
    return copy;
}

} // namespace

// ---------------------------------------------------------------------------
// Line

IMPLEMENT_DYNAMIC(tkxLineDC, tkxEntityDC)

tkxLineDC::tkxLineDC() = default;
tkxLineDC::tkxLineDC(tkxPoint2d start, tkxPoint2d end) : m_ptStart(start), m_ptEnd(end) {}
tkxLineDC::~tkxLineDC() = default;

int tkxLineDC::worldDraw(tkxWorldDrawDC* dc)
{
    if (!Drawable(dc)) return 0;
    const tkxPoint2d points[2] = {m_ptStart, m_ptEnd};
    device_path::DrawWorldPath(*dc, points, 2);
    return 1;
}

int tkxLineDC::GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    min.x = m_ptStart.x - m_ptEnd.x < 1e-10 ? m_ptStart.x : m_ptEnd.x;
    max.x = m_ptStart.x - m_ptEnd.x > -1e-10 ? m_ptStart.x : m_ptEnd.x;
    min.y = m_ptStart.y - m_ptEnd.y < 1e-10 ? m_ptStart.y : m_ptEnd.y;
    max.y = m_ptStart.y - m_ptEnd.y > -1e-10 ? m_ptStart.y : m_ptEnd.y;
    return 1;
}

int tkxLineDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips)
{
    grips.Add(m_ptStart);
    grips.Add((m_ptStart + m_ptEnd) * 0.5);
    grips.Add(m_ptEnd);
    return 1;
}

int tkxLineDC::moveGripPointsAt(tkxPoint2d& offset, int index)
{
    if (index == 0 || index == 1) m_ptStart += offset;
    if (index == 1 || index == 2) m_ptEnd += offset;
    return 1;
}

tkxEntityDC* tkxLineDC::Clone() { return CopyOf(*this); }

tkxLineDC& tkxLineDC::operator=(tkxLineDC& other)
{
    tkxEntityDC::operator=(other);
    m_ptStart = other.m_ptStart;
    m_ptEnd = other.m_ptEnd;
    return *this;
}

int tkxLineDC::GetStartPoint(tkxPoint2d& p) const { p = m_ptStart; return 1; }
int tkxLineDC::SetStartPoint(tkxPoint2d p) { m_ptStart = p; return 1; }
int tkxLineDC::GetEndPoint(tkxPoint2d& p) const { p = m_ptEnd; return 1; }
int tkxLineDC::SetEndPoint(tkxPoint2d p) { m_ptEnd = p; return 1; }

// ---------------------------------------------------------------------------
// Circle

IMPLEMENT_DYNAMIC(tkxCircleDC, tkxEntityDC)

tkxCircleDC::tkxCircleDC() = default;
tkxCircleDC::tkxCircleDC(tkxPoint2d centre, double radius, bool filled)
    : m_ptCenter(centre), m_dRadius(radius), m_bFilled(filled)
{
}
tkxCircleDC::~tkxCircleDC() = default;

int tkxCircleDC::worldDraw(tkxWorldDrawDC* dc)
{
    if (!Drawable(dc)) return 0;
    const double scaled = m_dRadius * dc->m_dScale;
    if (!(std::trunc(scaled) >= 1)) return 0;
    CBrush red;
    HGDIOBJ oldBrush = nullptr;
    if (m_bFilled) {
        red.CreateSolidBrush(RGB(255, 0, 0));
        oldBrush = ::SelectObject(dc->m_pDC->m_hDC, red.m_hObject);
    }
    device_path::DrawCircle(*dc, m_ptCenter, static_cast<long>(std::min(scaled, 1e9)), m_bFilled);
    if (oldBrush) ::SelectObject(dc->m_pDC->m_hDC, oldBrush);
    return 1;
}

int tkxCircleDC::GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    min = m_ptCenter - tkxPoint2d(m_dRadius, m_dRadius);
    max = m_ptCenter + tkxPoint2d(m_dRadius, m_dRadius);
    return 1;
}

int tkxCircleDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips)
{
    grips.Add(m_ptCenter);
    grips.Add(m_ptCenter + tkxPoint2d(m_dRadius, 0));
    grips.Add(m_ptCenter + tkxPoint2d(0, m_dRadius));
    grips.Add(m_ptCenter - tkxPoint2d(m_dRadius, 0));
    grips.Add(m_ptCenter - tkxPoint2d(0, m_dRadius));
    return 1;
}

int tkxCircleDC::moveGripPointsAt(tkxPoint2d& offset, int index)
{
    if (index == 0)
        m_ptCenter += offset;
    else
        m_dRadius = offset.GetLength();
    return 1;
}

tkxEntityDC* tkxCircleDC::Clone() { return CopyOf(*this); }

tkxCircleDC& tkxCircleDC::operator=(tkxCircleDC& other)
{
    tkxEntityDC::operator=(other);
    m_ptCenter = other.m_ptCenter;
    m_dRadius = other.m_dRadius;
    m_bFilled = other.m_bFilled;
    return *this;
}

int tkxCircleDC::GetCenterPoint(tkxPoint2d& p) const { p = m_ptCenter; return 1; }
int tkxCircleDC::SetCenterPoint(tkxPoint2d p) { m_ptCenter = p; return 1; }
int tkxCircleDC::GetRadius(double& r) const { r = m_dRadius; return 1; }
int tkxCircleDC::SetRadius(double r) { m_dRadius = r; return 1; }
int tkxCircleDC::GetFilled(bool& filled) const { filled = m_bFilled; return 1; }
int tkxCircleDC::SetFilled(bool filled) { m_bFilled = filled; return 1; }

// ---------------------------------------------------------------------------
// Arc

IMPLEMENT_DYNAMIC(tkxArcDC, tkxEntityDC)

tkxArcDC::tkxArcDC() = default;
tkxArcDC::tkxArcDC(tkxPoint2d centre, double radius, double startAngle, double endAngle)
    : m_ptCenter(centre), m_dRadius(radius), m_dStartAngle(startAngle), m_dEndAngle(endAngle)
{
}
tkxArcDC::~tkxArcDC() = default;

int tkxArcDC::worldDraw(tkxWorldDrawDC* dc)
{
    if (!Drawable(dc)) return 0;
    device_path::DrawArc(*dc, m_ptCenter, m_dRadius, m_dStartAngle, m_dEndAngle);
    return 1;
}

int tkxArcDC::GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    const double cx = m_ptCenter.x, cy = m_ptCenter.y, r = m_dRadius;
    const double cs = std::cos(m_dStartAngle), ce = std::cos(m_dEndAngle);
    const double ss = std::sin(m_dStartAngle), se = std::sin(m_dEndAngle);
    min.x = cx + r * std::min(cs, ce);
    max.x = cx + r * std::max(cs, ce);
    min.y = cy + r * std::min(ss, se);
    max.y = cy + r * std::max(ss, se);

    double s = m_dStartAngle, e = m_dEndAngle;
    while (s < -1e-6) s += 2 * kPi;
    while (s > 2 * kPi - 1e-6) s -= 2 * kPi;
    while (e < -1e-6) e += 2 * kPi;
    while (e > 2 * kPi - 1e-6) e -= 2 * kPi;
    while (s + 1e-6 > e) e += 2 * kPi;
    auto covers = [&](double theta) { return s < theta + 1e-6 && e > theta - 1e-6; };
    if (covers(kPi) || covers(3 * kPi)) min.x = cx - r;
    if (covers(0) || covers(2 * kPi)) max.x = cx + r;
    if (covers(kPi / 2) || covers(5 * kPi / 2)) max.y = cy + r;
    if (covers(3 * kPi / 2) || covers(7 * kPi / 2)) min.y = cy - r;
    return 1;
}

int tkxArcDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips)
{
    grips.Add(m_ptCenter);
    grips.Add(m_ptCenter.Polar(m_dStartAngle, m_dRadius));
    grips.Add(m_ptCenter.Polar(m_dEndAngle, m_dRadius));
    return 1;
}

int tkxArcDC::moveGripPointsAt(tkxPoint2d& offset, int index)
{
    if (index == 0) {
        m_ptCenter += offset;
    } else if (index == 1 || index == 2) {
        m_dRadius = offset.GetLength();
        double angle;
        if (OffsetDirection(offset, angle)) (index == 1 ? m_dStartAngle : m_dEndAngle) = angle;
    }
    return 1;
}

tkxEntityDC* tkxArcDC::Clone() { return CopyOf(*this); }

tkxArcDC& tkxArcDC::operator=(tkxArcDC& other)
{
    tkxEntityDC::operator=(other);
    m_ptCenter = other.m_ptCenter;
    m_dRadius = other.m_dRadius;
    m_dStartAngle = other.m_dStartAngle;
    m_dEndAngle = other.m_dEndAngle;
    return *this;
}

int tkxArcDC::GetCenterPoint(tkxPoint2d& p) const { p = m_ptCenter; return 1; }
int tkxArcDC::SetCenterPoint(tkxPoint2d p) { m_ptCenter = p; return 1; }
int tkxArcDC::GetRadius(double& r) const { r = m_dRadius; return 1; }
int tkxArcDC::SetRadius(double r) { m_dRadius = r; return 1; }
int tkxArcDC::GetStartAngle(double& a) const { a = m_dStartAngle; return 1; }
int tkxArcDC::SetStartAngle(double a) { m_dStartAngle = a; return 1; }
int tkxArcDC::GetEndAngle(double& a) const { a = m_dEndAngle; return 1; }
int tkxArcDC::SetEndAngle(double a) { m_dEndAngle = a; return 1; }

// ---------------------------------------------------------------------------
// Polyline

IMPLEMENT_DYNAMIC(tkxPolyLineDC, tkxEntityDC)

tkxPolyLineDC::tkxPolyLineDC() = default;
tkxPolyLineDC::tkxPolyLineDC(const CArray<tkxPoint2d, tkxPoint2d>& vertices) { m_vertices.Copy(vertices); }
tkxPolyLineDC::~tkxPolyLineDC() = default;

int tkxPolyLineDC::worldDraw(tkxWorldDrawDC* dc)
{
    if (!Drawable(dc)) return 0;
    const int count = GetVertexNum();
    if (count < 2) return 0;
    const tkxPoint2d& first = m_vertices[0];
    const tkxPoint2d& last = m_vertices[count - 1];
    const bool closing = m_bClosed && count > 2 && (std::fabs(last.x - first.x) > 1e-6 || std::fabs(last.y - first.y) > 1e-6);
    device_path::DrawWorldPath(*dc, m_vertices.GetData(), count, closing);
    return 1;
}

int tkxPolyLineDC::GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    if (m_vertices.IsEmpty()) return 1;
    min = max = m_vertices[0];
    for (const tkxPoint2d& p : m_vertices) Widen(min, max, p);
    return 1;
}

int tkxPolyLineDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips)
{
    if (m_vertices.IsEmpty()) return 0;
    for (const tkxPoint2d& p : m_vertices) grips.Add(p);
    return 1;
}

int tkxPolyLineDC::moveGripPointsAt(tkxPoint2d& offset, int index)
{
    if (index < 0 || index >= GetVertexNum()) return 0;
    m_vertices[index] += offset;
    return 1;
}

tkxEntityDC* tkxPolyLineDC::Clone() { return CopyOf(*this); }

tkxPolyLineDC& tkxPolyLineDC::operator=(tkxPolyLineDC& other)
{
    tkxEntityDC::operator=(other);
    m_vertices.Copy(other.m_vertices);
    m_bClosed = other.m_bClosed;
    m_nMarked = other.m_nMarked;
    return *this;
}

int tkxPolyLineDC::AddVertexAt(int index, tkxPoint2d p)
{
    m_vertices.InsertAt(index, p);
    return 1;
}

int tkxPolyLineDC::DelVertexAt(int index)
{
    if (index < 0 || index >= GetVertexNum()) return 0;
    m_vertices.RemoveAt(index);
    return 1;
}

int tkxPolyLineDC::SetVertexAt(int index, tkxPoint2d p)
{
    if (index < 0 || index >= GetVertexNum()) return 0;
    m_vertices[index] = p;
    return 1;
}

int tkxPolyLineDC::GetVertexAt(int index, tkxPoint2d& p) const
{
    if (index < 0 || index >= GetVertexNum()) return 0;
    p = m_vertices[index];
    return 1;
}

int tkxPolyLineDC::GetVertexNum() const { return static_cast<int>(m_vertices.GetSize()); }
int tkxPolyLineDC::SetClose(int closed) { m_bClosed = closed; return 1; }
int tkxPolyLineDC::isClose() const { return m_bClosed; }

int tkxPolyLineDC::SetHightAt(int index)
{
    if (index < -1 || index >= GetVertexNum()) return 0;
    m_nMarked = index;
    return 1;
}

int tkxPolyLineDC::GetHightAt() const { return m_nMarked; }

// ---------------------------------------------------------------------------
// Text

IMPLEMENT_DYNAMIC(tkxTextDC, tkxEntityDC)

tkxTextDC::tkxTextDC() : m_strFontName(L"宋体") {}

tkxTextDC::tkxTextDC(const wchar_t* text, const tkxPoint2d& position, int alignMode, CString fontName, double size,
                     double angle)
    : m_strText(text ? text : L""), m_strFontName(fontName), m_dSize(size), m_nAlignMode(alignMode),
      m_ptPosition(position), m_dAngle(angle)
{
}

tkxTextDC::~tkxTextDC() = default;

namespace {

// A character cell this many pixels high would overfill any window on its
// own; the glyphs alone would take tens of megabytes to render.
const double kTallestText = 4096.0;

LOGFONTW TextFont(const CString& face, int height, int width, int escapement)
{
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfWeight = 100;
    lf.lfCharSet = 136;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

} // namespace

int tkxTextDC::worldDraw(tkxWorldDrawDC* dc)
{
    if (!Drawable(dc)) return 0;
    const CPoint anchor = dc->MathToScreen(m_ptPosition);
    const double height = std::trunc(m_dSize * dc->m_dScale);
    if (!(height >= 3) || height > kTallestText) return 1;
    const LOGFONTW lf = TextFont(m_strFontName, static_cast<int>(height),
                                 static_cast<int>(std::trunc(m_dSize * 0.5 * dc->m_dScale)),
                                 static_cast<int>(std::trunc(m_dAngle / kPi * 180 * 10)));
    HFONT font = ::CreateFontIndirectW(&lf);
    if (!font) return 1;
    HDC hdc = dc->m_pDC->m_hDC;
    HGDIOBJ old = ::SelectObject(hdc, font);
    ::SetTextAlign(hdc, static_cast<UINT>(m_nAlignMode));
    ::SetTextColor(hdc, GetColorREF());
    ::ExtTextOutW(hdc, anchor.x, anchor.y, ETO_CLIPPED, nullptr, m_strText, static_cast<UINT>(m_strText.GetLength()),
                  nullptr);
    ::SelectObject(hdc, old);
    ::DeleteObject(font);
    return 1;
}

bool tkxTextDC::MeasureUnit(CSize& size)
{
    if (!m_bMeasured) {
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        if (!memory) return false;
        CFont font;
        CDC* dc = CDC::FromHandle(memory);
        bool measured = false;
        if (font.CreatePointFont(10000, m_strFontName, dc)) {
            HGDIOBJ old = ::SelectObject(memory, font.m_hObject);
            SIZE extent{};
            measured = ::GetTextExtentPoint32W(memory, m_strText, m_strText.GetLength(), &extent) != FALSE;
            ::SelectObject(memory, old);
            m_measured = CSize(extent);
        }
        ::DeleteDC(memory);
        if (!measured) return false;
        m_bMeasured = true;
    }
    size = m_measured;
    return true;
}

int tkxTextDC::GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    switch (m_nAlignMode) {
    case 0: case 2: case 6: case 8: case 10: case 14: case 24: case 26: case 30: break;
    default: return 0;
    }
    CSize unit;
    if (!MeasureUnit(unit)) return 0;
    const double w = unit.cx * m_dSize / 1000, h = unit.cy * m_dSize / 1000;
    const double x = m_ptPosition.x, y = m_ptPosition.y;
    const int horizontal = m_nAlignMode & 6;
    const double left = horizontal == 0 ? x : horizontal == 2 ? x - w : x - w / 2;
    const bool top = (m_nAlignMode & 24) == 0;
    min = tkxPoint2d(left, top ? y - h : y);
    max = tkxPoint2d(left + w, top ? y : y + h);
    return 1;
}

int tkxTextDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips)
{
    grips.Add(m_ptPosition);
    return 1;
}

int tkxTextDC::moveGripPointsAt(tkxPoint2d& offset, int)
{
    m_ptPosition += offset;
    return 1;
}

tkxEntityDC* tkxTextDC::Clone() { return CopyOf(*this); }

tkxTextDC& tkxTextDC::operator=(tkxTextDC& other)
{
    tkxEntityDC::operator=(other);
    m_strText = other.m_strText;
    m_strFontName = other.m_strFontName;
    m_dSize = other.m_dSize;
    m_nAlignMode = other.m_nAlignMode;
    m_ptPosition = other.m_ptPosition;
    m_dAngle = other.m_dAngle;
    m_measured = other.m_measured;
    m_bMeasured = other.m_bMeasured;
    return *this;
}

int tkxTextDC::SetText(const char* text)
{
    m_strText = ClMultiByteToWide(text ? text : "", -1, CP_ACP);
    m_bMeasured = false;
    return 1;
}

int tkxTextDC::SetFontName(const wchar_t* name)
{
    m_strFontName = name ? name : L"";
    m_bMeasured = false;
    return 1;
}

int tkxTextDC::SetTextSize(double size) { m_dSize = size; return 1; }
int tkxTextDC::SetTextAngle(double angle) { m_dAngle = angle; return 1; }
int tkxTextDC::SetAlignMode(int mode) { m_nAlignMode = mode; return 1; }
int tkxTextDC::GetPosition(tkxPoint2d& p) const { p = m_ptPosition; return 1; }
int tkxTextDC::SetPosition(tkxPoint2d& p) { m_ptPosition = p; return 1; }

// ---------------------------------------------------------------------------
// Bitmap

IMPLEMENT_DYNAMIC(tkxBitmapDC, tkxEntityDC)

tkxBitmapDC::tkxBitmapDC() = default;

tkxBitmapDC::tkxBitmapDC(tkxPoint2d position, CString path) : m_strPath(path), m_ptPosition(position) { Load(); }

tkxBitmapDC::tkxBitmapDC(tkxBitmapDC& other) : tkxEntityDC() { *this = other; }

tkxBitmapDC::~tkxBitmapDC() { Release(); }

void tkxBitmapDC::Release()
{
    if (m_hBitmap) ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_nWidth = m_nHeight = 0;
}

void tkxBitmapDC::Load()
{
    Release();
    if (m_strPath.IsEmpty()) return;
    m_hBitmap = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, m_strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!m_hBitmap) return;
    BITMAP bm{};
    if (::GetObjectW(m_hBitmap, sizeof(bm), &bm) != sizeof(bm)) {
        Release();
        return;
    }
    m_nWidth = bm.bmWidth;
    m_nHeight = std::abs(bm.bmHeight); // a top-down image reports a negative height
}

int tkxBitmapDC::worldDraw(tkxWorldDrawDC* dc)
{
    if (!Drawable(dc) || !m_hBitmap) return 0;
    const CPoint anchor = dc->MathToScreen(m_ptPosition);
    const double s = dc->m_dScale;
    const double dw = std::trunc(m_nWidth * s), dh = std::trunc(m_nHeight * s);
    HDC hdc = dc->m_pDC->m_hDC;
    HDC memory = ::CreateCompatibleDC(hdc);
    if (!memory) return 1;
    HGDIOBJ old = ::SelectObject(memory, m_hBitmap);
    // The part of the image rectangle that can be seen; a zoomed-in image is
    // copied from the matching part of the source only.
    const double left = anchor.x, top = anchor.y - dh;
    CRect area = dc->m_rcClient;
    area.InflateRect(2, 2);
    const double x0 = std::max<double>(left, area.left), x1 = std::min<double>(left + dw, area.right);
    const double y0 = std::max<double>(top, area.top), y1 = std::min<double>(top + dh, area.bottom);
    if (dw <= 32767 && dh <= 32767) {
        ::StretchBlt(hdc, anchor.x, static_cast<int>(top), static_cast<int>(dw), static_cast<int>(dh), memory, 0, 0,
                     m_nWidth, m_nHeight, SRCCOPY);
    } else if (x1 > x0 && y1 > y0) {
        const double perX = m_nWidth / dw, perY = m_nHeight / dh;
        const int sx0 = static_cast<int>(std::floor((x0 - left) * perX));
        const int sx1 = static_cast<int>(std::ceil((x1 - left) * perX));
        const int sy0 = static_cast<int>(std::floor((y0 - top) * perY));
        const int sy1 = static_cast<int>(std::ceil((y1 - top) * perY));
        const double dx0 = left + sx0 / perX, dy0 = top + sy0 / perY;
        ::StretchBlt(hdc, static_cast<int>(std::trunc(dx0)), static_cast<int>(std::trunc(dy0)),
                     static_cast<int>(std::ceil((sx1 - sx0) / perX)), static_cast<int>(std::ceil((sy1 - sy0) / perY)),
                     memory, sx0, sy0, sx1 - sx0, sy1 - sy0, SRCCOPY);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return 1;
}

int tkxBitmapDC::GetGeomExtents(tkxPoint2d& min, tkxPoint2d& max)
{
    min = m_ptPosition;
    max = m_ptPosition + tkxPoint2d(m_nWidth, m_nHeight);
    return 1;
}

int tkxBitmapDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>& grips)
{
    grips.Add(m_ptPosition);
    return 1;
}

int tkxBitmapDC::moveGripPointsAt(tkxPoint2d& offset, int index)
{
    if (index == 0) m_ptPosition += offset;
    return 1;
}

tkxEntityDC* tkxBitmapDC::Clone() { return CopyOf(*this); }

tkxBitmapDC& tkxBitmapDC::operator=(tkxBitmapDC& other)
{
    if (this == &other) return *this;
    tkxEntityDC::operator=(other);
    m_ptPosition = other.m_ptPosition;
    m_strPath = other.m_strPath;
    Load();
    return *this;
}
