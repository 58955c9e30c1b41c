#include "corvane/ui/WorldDrawDC.h"

#include <algorithm>
#include <cmath>

namespace {

// Truncation toward zero of a device coordinate.  A value within 1e-4 of a
// whole pixel is that pixel: the mapping's rounding errors at survey
// coordinates stay far below this, and without it a device point taken to
// the world and back could land one pixel short.  Values beyond the range
// of int are held at +-2^30.
long TruncPixel(double v)
{
    const double nearest = std::floor(v + 0.5);
    if (std::fabs(v - nearest) < 1e-4) v = nearest;
    if (!(v > -1073741824.0)) return -1073741824L; // also NaN
    if (v > 1073741824.0) return 1073741824L;
    return static_cast<long>(std::trunc(v));
}

} // namespace

tkxWorldDrawDC::tkxWorldDrawDC() = default;

tkxWorldDrawDC::tkxWorldDrawDC(const tkxWorldDrawDC& other)
    : CObject(), m_ptOrigin(other.m_ptOrigin), m_rcClient(other.m_rcClient), m_pDC(other.m_pDC),
      m_dScale(other.m_dScale)
{
}

tkxWorldDrawDC& tkxWorldDrawDC::operator=(const tkxWorldDrawDC& other)
{
    m_ptOrigin = other.m_ptOrigin;
    m_rcClient = other.m_rcClient;
    m_pDC = other.m_pDC;
    m_dScale = other.m_dScale;
    return *this;
}

tkxWorldDrawDC::~tkxWorldDrawDC() = default;

void tkxWorldDrawDC::ToDevice(const tkxPoint2d& p, double& x, double& y) const
{
    x = p.x * m_dScale + m_ptOrigin.x;
    y = p.y * m_dScale + m_ptOrigin.y;
}

CPoint tkxWorldDrawDC::Truncated(double x, double y) const
{
    return CPoint(static_cast<int>(TruncPixel(x)), static_cast<int>(m_rcClient.bottom - TruncPixel(y)));
}

CPoint tkxWorldDrawDC::MathToScreen(const tkxPoint2d& p) const
{
    double x, y;
    ToDevice(p, x, y);
    return Truncated(x, y);
}

tkxPoint2d tkxWorldDrawDC::ScreenToMath(const CPoint& p) const
{
    const double qx = p.x;
    const double qy = static_cast<double>(m_rcClient.bottom) - p.y;
    // Dividing (not multiplying by 1 / scale) keeps the round trip exact.
    return tkxPoint2d((qx - m_ptOrigin.x) / m_dScale, (qy - m_ptOrigin.y) / m_dScale);
}

void tkxWorldDrawDC::GetBoundsBox(tkxPoint2d& min, tkxPoint2d& max)
{
    min = ScreenToMath(CPoint(m_rcClient.left, m_rcClient.bottom));
    max = ScreenToMath(CPoint(m_rcClient.right, m_rcClient.top));
}

int tkxWorldDrawDC::IsOutOfRange(const CPoint& p) const
{
    return p.x < m_rcClient.left || p.y < m_rcClient.top || p.x > m_rcClient.right || p.y > m_rcClient.bottom ? 1
                                                                                                               : 0;
}

int tkxWorldDrawDC::IsOutOfRange(const CPoint& p1, const CPoint& p2) const
{
    if (!IsOutOfRange(p1) || !IsOutOfRange(p2)) return 0;
    const long minX = std::min(p1.x, p2.x), maxX = std::max(p1.x, p2.x);
    const long minY = std::min(p1.y, p2.y), maxY = std::max(p1.y, p2.y);
    const double dx = static_cast<double>(maxX - minX);
    const double h = std::max(static_cast<double>(maxY - minY), 0.0001);
    const long w = std::min(maxX, m_rcClient.right) - std::max(minX, m_rcClient.left);
    if (w < 0) return 1;
    const long hh = std::min(maxY, m_rcClient.bottom) - std::max(minY, m_rcClient.top);
    if (hh < 0) return 1;
    return static_cast<double>(w) > (1.0 - hh / h) * dx ? 0 : 1;
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(tkxEntityDC, CObject)

long tkxEntityDC::s_selected = 0;

tkxEntityDC::tkxEntityDC() = default;

tkxEntityDC::~tkxEntityDC()
{
    if (m_bSelected) --s_selected;
}

int tkxEntityDC::worldDraw(tkxWorldDrawDC*) { return 1; }
int tkxEntityDC::GetGeomExtents(tkxPoint2d&, tkxPoint2d&) { return 1; }
int tkxEntityDC::getGripPoints(CArray<tkxPoint2d, tkxPoint2d>&) { return 1; }
int tkxEntityDC::moveGripPointsAt(tkxPoint2d&, int) { return 1; }

tkxEntityDC& tkxEntityDC::operator=(tkxEntityDC& other)
{
    m_crColor = other.m_crColor;
    m_dwLineType = other.m_dwLineType;
    m_dLineWidth = other.m_dLineWidth;
    m_bCanSel = other.m_bCanSel;
    return *this;
}

tkxEntityDC* tkxEntityDC::Clone()
{
    auto* copy = new tkxEntityDC;
    *copy = *this;
    return copy;
}

int tkxEntityDC::SetColorREF(COLORREF color)
{
    m_crColor = color;
    return 1;
}

unsigned long tkxEntityDC::GetLineType() const { return m_bSelected ? 2 : m_dwLineType; }

int tkxEntityDC::SetLineType(unsigned long type)
{
    m_dwLineType = type;
    return 1;
}

double tkxEntityDC::GetLineWidth() const { return m_bSelected ? 0.0 : m_dLineWidth; }

int tkxEntityDC::SetLineWidth(double width)
{
    m_dLineWidth = width;
    return 1;
}

int tkxEntityDC::SetSelected(int selected)
{
    s_selected += (selected != 0) - (m_bSelected != 0);
    m_bSelected = selected;
    return 1;
}

int tkxEntityDC::SetErase(int erased)
{
    m_bErased = erased;
    if (erased) SetSelected(0);
    return 1;
}

int tkxEntityDC::SetCanSel(int canSelect)
{
    m_bCanSel = canSelect;
    return 1;
}

int tkxEntityDC::SetId(long id)
{
    m_lId = id;
    return 1;
}

int SetEntityId(tkxEntityDC* entity, long id) { return entity ? entity->SetId(id) : 0; }
