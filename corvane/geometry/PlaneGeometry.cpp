#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LastError.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const double kColinear = 1e-8;       // twice the triangle's area
const double kVertical = 1e-7;       // |dx| below this: vertical line
const double kParallel = 1e-7;       // slopes closer than this: parallel
const double kOnSegment = 0.001;     // point-on-segment test, metres
const double kInterpolate = 0.001;   // station step of the polyline look-up

double Cross2d(double ax, double ay, double bx, double by, double cx, double cy)
{
    return (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
}

// The crossing lies on segment a-b when going round it costs no more than
// 1 mm extra.
bool OnSegment(const tkxPoint2d& p, const tkxPoint2d& a, const tkxPoint2d& b)
{
    return std::fabs(p.DistanceTo(b) + p.DistanceTo(a) - a.DistanceTo(b)) <= kOnSegment;
}

// ... and its x lies within the segment's x range.
bool WithinX(double x, double ax, double bx)
{
    const double span = std::fabs(bx - ax);
    return std::fabs(x - ax) <= span && std::fabs(x - bx) <= span;
}

// Ascending with any NaN after every number (keeps the sort well defined).
bool Before(double a, double b)
{
    return !std::isnan(a) && (std::isnan(b) || a < b);
}

} // namespace

// ------------------------------------------------------------- exported helpers

void tkx_PointsPibubUp(CArray<tkxPoint2d, tkxPoint2d>& points, bool byX)
{
    // tkxPoint2d is a CObject and cannot be moved around freely, so sort the
    // coordinates and write them back.  The sort is stable: equal keys keep
    // their order.
    std::vector<std::pair<double, double>> xy;
    xy.reserve(static_cast<size_t>(points.GetSize()));
    for (const tkxPoint2d& p : points)
        xy.emplace_back(p.x, p.y);
    if (byX)
        std::stable_sort(xy.begin(), xy.end(), [](const auto& a, const auto& b) { return Before(a.first, b.first); });
    else
        std::stable_sort(xy.begin(), xy.end(), [](const auto& a, const auto& b) { return Before(a.second, b.second); });
    size_t i = 0;
    for (tkxPoint2d& p : points) {
        p.x = xy[i].first;
        p.y = xy[i].second;
        ++i;
    }
}

bool tkx_GetYByPoints(const CArray<tkxPoint2d, tkxPoint2d>& points, double x, double& y)
{
    const INT_PTR n = points.GetSize();
    if (n < 2) {
        tkx_SetLastError(L"二维折线点数组数据不足");
        return false;
    }
    for (INT_PTR i = 1; i < n; ++i) {
        const tkxPoint2d& a = points[i - 1];
        const tkxPoint2d& b = points[i];
        if (x < a.x + kInterpolate) {
            y = a.y;
            return true;
        }
        if (x < b.x + kInterpolate) {
            const double dx = b.x - a.x;
            if (std::fabs(dx) < kInterpolate)
                y = (a.y + b.y) / 2.0;
            else
                y = a.y + (x - a.x) / dx * (b.y - a.y);
            return true;
        }
    }
    y = points[n - 1].y;
    return true;
}

int tkx_IsColinear(tkxPoint3d a, tkxPoint3d b, tkxPoint3d c)
{
    return std::fabs(Cross2d(a.x, a.y, b.x, b.y, c.x, c.y)) < kColinear ? 1 : 0;
}

// ------------------------------------------------------ tkxPoint2d plane helpers

int tkxPoint2d::IsColinear(tkxPoint2d a, tkxPoint2d b, tkxPoint2d c)
{
    return std::fabs(Cross2d(a.x, a.y, b.x, b.y, c.x, c.y)) < kColinear ? 1 : 0;
}

int tkxPoint2d::GetIntPoint(tkxPoint2d p1, tkxPoint2d p2, tkxPoint2d p3, tkxPoint2d p4, tkxPoint2d& out,
                            int onSegments)
{
    if (std::fabs(p2.x - p1.x) < kVertical) {
        out.x = p2.x;
        if (std::fabs(p4.x - p3.x) < kVertical)
            return 0;
        out.y = p3.y + (out.x - p3.x) * (p4.y - p3.y) / (p4.x - p3.x);
    } else if (std::fabs(p4.x - p3.x) < kVertical) {
        out.x = p4.x;
        out.y = p1.y + (out.x - p1.x) * (p2.y - p1.y) / (p2.x - p1.x);
    } else {
        const double k1 = (p2.y - p1.y) / (p2.x - p1.x);
        const double k2 = (p4.y - p3.y) / (p4.x - p3.x);
        if (std::fabs(k1 - k2) < kParallel)
            return 0;
        out.x = (p3.y - p1.y + k1 * p1.x - k2 * p3.x) / (k1 - k2);
        out.y = k1 * (out.x - p1.x) + p1.y;
    }
    if (onSegments == 0)
        return 1;
    if (!OnSegment(out, p1, p2) || !OnSegment(out, p3, p4))
        return 0;
    if (!WithinX(out.x, p1.x, p2.x) || !WithinX(out.x, p3.x, p4.x))
        return 0;
    return 1;
}

double tkxPoint2d::PointDisToLine(tkxPoint2d p, tkxPoint2d a, tkxPoint2d b)
{
    const double len = a.DistanceTo(b);
    if (len < 1e-8)
        return a.DistanceTo(p);
    return std::fabs((b.y - a.y) * p.x - (b.x - a.x) * p.y - b.y * a.x + a.y * b.x) / len;
}

double tkxPoint2d::PolygonArea(const CArray<tkxPoint2d, tkxPoint2d>& points)
{
    const INT_PTR n = points.GetSize();
    if (n < 3)
        return 0.0;
    // Close the ring when the last point is not the first.
    const bool open = points[0] != points[n - 1];
    const INT_PTR count = open ? n + 1 : n;
    double sum = 0.0;
    for (INT_PTR i = 0; i + 1 < count; ++i) {
        const tkxPoint2d& a = points[i];
        const tkxPoint2d& b = points[(i + 1) % n];
        sum += a.x * b.y - a.y * b.x;
    }
    return 0.5 * sum;
}
