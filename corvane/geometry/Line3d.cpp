#include "corvane/geometry/Line3d.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const double kVertical = 1e-7;  // |dx| below this: vertical line in plan
const double kParallel = 1e-7;  // slopes closer than this: parallel
const double kOnSegment = 0.001;

// The crossing lies on segment s-e when going round it costs no more than
// 1 mm extra.
bool OnSegment2d(const tkxPoint3d& p, const tkxPoint3d& s, const tkxPoint3d& e)
{
    return std::fabs(p.Distance2dTo(e) + p.Distance2dTo(s) - s.Distance2dTo(e)) <= kOnSegment;
}

} // namespace

tkxLine3d::tkxLine3d() = default;

tkxLine3d::tkxLine3d(tkxPoint3d start, tkxPoint3d end) : m_ptStart(start), m_ptEnd(end) {}

tkxLine3d::tkxLine3d(double* const start, double* const end) : m_ptStart(start), m_ptEnd(end) {}

tkxLine3d::tkxLine3d(const tkxLine3d& line) : m_ptStart(line.m_ptStart), m_ptEnd(line.m_ptEnd) {}

tkxLine3d& tkxLine3d::operator=(const tkxLine3d& line)
{
    m_ptStart = line.m_ptStart;
    m_ptEnd = line.m_ptEnd;
    return *this;
}

tkxLine3d::~tkxLine3d() = default;

tkxPoint3d tkxLine3d::StartPoint() const { return m_ptStart; }
tkxPoint3d tkxLine3d::EndPoint() const { return m_ptEnd; }
void tkxLine3d::setStartPoint(const tkxPoint3d& pt) { m_ptStart = pt; }
void tkxLine3d::setEndPoint(const tkxPoint3d& pt) { m_ptEnd = pt; }

double tkxLine3d::Length() const
{
    return m_ptStart.Distance3dTo(m_ptEnd);
}

tkxVector3d tkxLine3d::Direct() const
{
    return tkxVector3d(m_ptEnd - m_ptStart).Unit();
}

double tkxLine3d::Azimuth2d() const
{
    return m_ptStart.Azimuth2d(m_ptEnd);
}

enDir tkxLine3d::LeftOrRight(const tkxPoint3d& p, double tol) const
{
    if (tol < -0.001)
        tol = 1e-8;
    const double cross = (m_ptEnd.x - m_ptStart.x) * (p.y - m_ptStart.y)
                       - (m_ptEnd.y - m_ptStart.y) * (p.x - m_ptStart.x);
    if (cross > tol)
        return DIR_LEFT;
    if (-cross > tol)
        return DIR_RIGHT;
    return DIR_NONE;
}

enDir tkxLine3d::LeftOrRight(double* const p, double tol) const
{
    if (!p)
        return DIR_NONE;
    return LeftOrRight(tkxPoint3d(p), tol);
}

bool tkxLine3d::IntersectWith2d(const tkxLine3d& other, tkxPoint3d& out, short mode) const
{
    const tkxPoint3d& s = m_ptStart;
    const tkxPoint3d& e = m_ptEnd;
    const tkxPoint3d& s2 = other.m_ptStart;
    const tkxPoint3d& e2 = other.m_ptEnd;

    if (std::fabs(e.x - s.x) < kVertical) {
        out.x = e.x;
        if (std::fabs(e2.x - s2.x) < kVertical)
            return false;
        const double k2 = (e2.y - s2.y) / (e2.x - s2.x);
        out.y = s2.y + (out.x - s2.x) * k2;
    } else if (std::fabs(e2.x - s2.x) < kVertical) {
        out.x = e2.x;
        const double k = (e.y - s.y) / (e.x - s.x);
        out.y = s.y + (out.x - s.x) * k;
    } else {
        const double k = (e.y - s.y) / (e.x - s.x);
        const double k2 = (e2.y - s2.y) / (e2.x - s2.x);
        if (std::fabs(k - k2) < kParallel)
            return false;
        out.x = (s2.y - s.y + k * s.x - k2 * s2.x) / (k - k2);
        out.y = s.y + (out.x - s.x) * k;
    }

    switch (mode) {
    case 0: return OnSegment2d(out, s, e) && OnSegment2d(out, s2, e2);
    case 1: return OnSegment2d(out, s2, e2);
    case 2: return OnSegment2d(out, s, e);
    default: return true;
    }
}

enDir tkxLine3d::getRoadAngle(const tkxLine3d& next, double& angle) const
{
    const double d = next.Azimuth2d() - Azimuth2d();
    const double e = 1e-10;
    const double tiny = 1e-100;

    if (std::fabs(d) < e || std::fabs(d - 2.0 * kPi) < e || std::fabs(d + 2.0 * kPi) < e) {
        angle = 0.0;
        return DIR_RIGHT;
    }
    if (std::fabs(d - kPi) < e || std::fabs(d + kPi) < e) {
        angle = kPi;
        return DIR_RIGHT;
    }
    if (d - e > kPi) {
        angle = 2.0 * kPi - d;
        return DIR_LEFT;
    }
    if (d + e < kPi && d - e > 0.0) {
        angle = d;
        return DIR_RIGHT;
    }
    if (d + tiny < 0.0 && d - tiny > -kPi) {
        angle = -d;
        return DIR_LEFT;
    }
    if (d + tiny < -kPi) {
        angle = d + 2.0 * kPi;
        return DIR_RIGHT;
    }
    angle = d;
    return DIR_NONE;
}

CString tkxLine3d::ToString() const
{
    CString text;
    text.Format(L"[%s-%s]", m_ptStart.ToString().GetString(), m_ptEnd.ToString().GetString());
    return text;
}
