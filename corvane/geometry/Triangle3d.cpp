#include "corvane/geometry/Triangle3d.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const double kMinCorner = 1e-6;  // corners closer than this coincide
const double kParallel = 1e-8;   // determinant of a line parallel to the plane
const double kTMax = 1.00000001; // a segment end just short of the plane still hits

bool RangesOverlap(double a0, double a1, double b0, double b1, double b2)
{
    const double lo = std::min(a0, a1);
    const double hi = std::max(a0, a1);
    const double tlo = std::min({b0, b1, b2});
    const double thi = std::max({b0, b1, b2});
    return lo <= thi && tlo <= hi;
}

} // namespace

tkxTriangle3d::tkxTriangle3d() = default;

tkxTriangle3d::tkxTriangle3d(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2)
    : m_pt0(p0), m_pt1(p1), m_pt2(p2)
{
}

tkxTriangle3d::tkxTriangle3d(const tkxTriangle3d& tri)
    : m_pt0(tri.m_pt0), m_pt1(tri.m_pt1), m_pt2(tri.m_pt2)
{
}

tkxTriangle3d& tkxTriangle3d::operator=(const tkxTriangle3d& tri)
{
    m_pt0 = tri.m_pt0;
    m_pt1 = tri.m_pt1;
    m_pt2 = tri.m_pt2;
    return *this;
}

tkxTriangle3d::~tkxTriangle3d() = default;

tkxPoint3d tkxTriangle3d::Point0() const { return m_pt0; }
tkxPoint3d tkxTriangle3d::Point1() const { return m_pt1; }
tkxPoint3d tkxTriangle3d::Point2() const { return m_pt2; }
void tkxTriangle3d::SetPoint0(const tkxPoint3d& pt) { m_pt0 = pt; }
void tkxTriangle3d::SetPoint1(const tkxPoint3d& pt) { m_pt1 = pt; }
void tkxTriangle3d::SetPoint2(const tkxPoint3d& pt) { m_pt2 = pt; }

bool tkxTriangle3d::Set(const tkxPoint3d& p0, const tkxPoint3d& p1, const tkxPoint3d& p2)
{
    if (p0.Distance3dTo(p1) < kMinCorner || p1.Distance3dTo(p2) < kMinCorner
        || p2.Distance3dTo(p0) < kMinCorner)
        return false;
    m_pt0 = p0;
    m_pt1 = p1;
    m_pt2 = p2;
    return true;
}

double tkxTriangle3d::GetArea(tkxPoint3d p0, tkxPoint3d p1, tkxPoint3d p2)
{
    const tkxVector3d n = tkxVector3d::GetNormal(p0, p1, p2);
    return n.z < 0.0 ? -n.Mag() : n.Mag();
}

tkxVector3d tkxTriangle3d::Normal() const
{
    return tkxVector3d::GetNormal(m_pt0, m_pt1, m_pt2).Unit();
}

tkxVector3d tkxTriangle3d::GetVector1() const { return tkxVector3d(m_pt1 - m_pt0); }
tkxVector3d tkxTriangle3d::GetVector2() const { return tkxVector3d(m_pt2 - m_pt0); }

CString tkxTriangle3d::ToString() const
{
    CString text;
    text.Format(L"[%s-%s-%s]", m_pt0.ToString().GetString(), m_pt1.ToString().GetString(),
                m_pt2.ToString().GetString());
    return text;
}

bool tkxTriangle3d::BoundingIntersect(const tkxPoint3d& a, const tkxPoint3d& b) const
{
    return RangesOverlap(a.x, b.x, m_pt0.x, m_pt1.x, m_pt2.x)
        && RangesOverlap(a.y, b.y, m_pt0.y, m_pt1.y, m_pt2.y)
        && RangesOverlap(a.z, b.z, m_pt0.z, m_pt1.z, m_pt2.z);
}

bool tkxTriangle3d::Intersect(const tkxPoint3d& P, const tkxPoint3d& Q, tkxPoint3d& out,
                              enIntersectMode mode) const
{
    const tkxVector3d dir(Q - P);
    const tkxVector3d e1(m_pt1 - m_pt0);
    const tkxVector3d e2(m_pt2 - m_pt0);
    const tkxVector3d pvec = dir * e2;
    const double det = pvec.Dot(e1);
    if (det > -kParallel && det < kParallel)
        return false;
    const double inv = 1.0 / det;

    const tkxVector3d tvec(P - m_pt0);
    const double u = tvec.Dot(pvec) * inv;
    if (u < 0.0 || u > 1.0)
        return false;
    const tkxVector3d qvec = tvec * e1;
    const double v = dir.Dot(qvec) * inv;
    if (v < 0.0 || v > 1.0 || u + v > 1.0)
        return false;
    const double t = e2.Dot(qvec) * inv;

    if (t < 0.0 && mode != INTERSECT_BACKWARD)
        return false;
    if (t > kTMax && mode != INTERSECT_RAY)
        return false;
    out = P + dir * t;
    return true;
}

bool tkxTriangle3d::Intersect(const tkxTriangle3d& other, tkxLine3d& out) const
{
    // Other's edges against this triangle, then this triangle's edges
    // against other; the first hit starts the segment, later hits move its
    // end.
    struct Edge {
        const tkxTriangle3d* target;
        const tkxPoint3d* a;
        const tkxPoint3d* b;
    };
    const Edge edges[] = {
        {this, &other.m_pt0, &other.m_pt1}, {this, &other.m_pt1, &other.m_pt2},
        {this, &other.m_pt2, &other.m_pt0}, {&other, &m_pt0, &m_pt1},
        {&other, &m_pt1, &m_pt2},           {&other, &m_pt2, &m_pt0},
    };
    int hits = 0;
    tkxPoint3d start, end;
    for (const Edge& edge : edges) {
        tkxPoint3d hit;
        if (!edge.target->Intersect(*edge.a, *edge.b, hit, INTERSECT_SEGMENT))
            continue;
        if (hits++ == 0)
            start = hit;
        else
            end = hit;
    }
    if (hits < 2)
        return false;
    out.setStartPoint(start);
    out.setEndPoint(end);
    return true;
}

bool tkxTriangle3d::GetOutCircle(tkxPoint3d& centre, double& radius) const
{
    const double x0 = m_pt0.x, y0 = m_pt0.y;
    const double x1 = m_pt1.x, y1 = m_pt1.y;
    const double x2 = m_pt2.x, y2 = m_pt2.y;

    if (std::fabs(x0 - x1) < 1e-6 && std::fabs(x1 - x2) < 1e-8)
        return false;
    if (std::fabs(y0 - y1) < 1e-6 && std::fabs(y1 - y2) < 1e-8)
        return false;
    const double a1 = m_pt0.Angle2d(m_pt1);
    const double a2 = m_pt0.Angle2d(m_pt2);
    if (std::fabs(a1 - a2) < 1e-8)
        return false;
    // Colinear with P0 between the other two: the directions are opposite
    // and the formulas below would divide by zero.
    if (std::fabs(std::fabs(a1 - a2) - kPi) < 1e-8)
        return false;

    const double dx = 2.0 * (x2 - x0) * (y1 - y0) - 2.0 * (x1 - x0) * (y2 - y0);
    const double dy = 2.0 * (y2 - y0) * (x1 - x0) - 2.0 * (y1 - y0) * (x2 - x0);
    if (dx == 0.0 || dy == 0.0)
        return false;
    const double s1 = x1 * x1 - x0 * x0 + y1 * y1 - y0 * y0;
    const double s2 = x2 * x2 - x0 * x0 + y2 * y2 - y0 * y0;
    centre.x = ((y1 - y0) * s2 - (y2 - y0) * s1) / dx;
    centre.y = ((x1 - x0) * s2 - (x2 - x0) * s1) / dy;
    radius = centre.Distance3dTo(m_pt0);
    return true;
}
