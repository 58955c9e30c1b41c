#include "corvane/geometry/Spline.h"
#include "corvane/geometry/Line3d.h"
#include "corvane/geometry/Triangle3d.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const double kClosed = 1e-8;        // first and last point coincide
const double kSamePlace = 1e-8;     // consecutive points at one plan position
const double kThird = 0.3333333333333333;

} // namespace

tkxSpline::tkxSpline() = default;

tkxSpline::tkxSpline(int n)
{
    SetSize(n);
}

tkxSpline::~tkxSpline() = default;

tkxSpline& tkxSpline::operator=(tkxSpline& other)
{
    if (this != &other)
        m_points = other.m_points;
    return *this;
}

int tkxSpline::GetSize() const
{
    return m_points.GetCount();
}

tkxPoint3d tkxSpline::operator[](int index) const
{
    return m_points[index];
}

tkxPoint3d tkxSpline::GetPointAt(int index)
{
    return m_points[index];
}

void tkxSpline::Add(tkxPoint3d pt)
{
    m_points.Add(pt);
}

int tkxSpline::InsertAt(int index, tkxPoint3d pt)
{
    return m_points.InsertAt(index, pt);
}

int tkxSpline::SetAt(int index, tkxPoint3d pt)
{
    return m_points.SetAt(index, pt);
}

int tkxSpline::DelPoint(int index)
{
    return m_points.RemoveAt(index);
}

void tkxSpline::RemoveAll()
{
    SetSize(0);
}

int tkxSpline::SetSize(int n)
{
    if (n <= 0) {
        m_points.RemoveAll();
        return 1;
    }
    while (m_points.GetCount() > n)
        m_points.RemoveAt(m_points.GetCount() - 1);
    while (m_points.GetCount() < n)
        m_points.Add(tkxPoint3d(0.0, 0.0, 0.0));
    return 1;
}

void tkxSpline::FreeExtra()
{
    SetSize(GetSize());
}

int tkxSpline::BreakSpline(int first, int last)
{
    const int n = GetSize();
    if (first < 0 || last < 0 || first >= n || last >= n)
        return 0;
    tkxPoint3dArray kept;
    if (first <= last) {
        for (int k = first; k <= last; ++k)
            kept.Add(m_points[k]);
    } else {
        // Round the end: the last point of a closed spline is its first one,
        // so the run goes on from the second.
        for (int k = first; k < n; ++k)
            kept.Add(m_points[k]);
        for (int k = Closed() ? 1 : 0; k <= last; ++k)
            kept.Add(m_points[k]);
    }
    m_points = kept;
    return SetSize(m_points.GetCount());
}

int tkxSpline::Closed() const
{
    const int n = GetSize();
    if (n == 0)
        return 1;
    return m_points[0].Distance3dTo(m_points[n - 1]) <= kClosed ? 1 : 0;
}

void tkxSpline::Close()
{
    if (!Closed())
        m_points.Add(m_points[0]);
}

int tkxSpline::PointSeparation(int a, int b) const
{
    if (!Closed())
        return b - a;
    const int n = GetSize();
    const int c = std::abs(b - a);
    return std::min(c, std::abs(n - c - 1));
}

double tkxSpline::SegmentLength(int a, int b) const
{
    const int n = GetSize();
    if (a < 0 || b < 0 || a >= n || b > n)
        return 0.0;
    // Sum of chords from point `from` to point `to`, from <= to < n.
    auto chords = [this](int from, int to) {
        double sum = 0.0;
        for (int k = from; k < to; ++k)
            sum += m_points[k].Distance3dTo(m_points[k + 1]);
        return sum;
    };
    const double closing = m_points[n - 1].Distance3dTo(m_points[0]);
    if (b == n)   // round the end back to the first point
        return chords(a, n - 1) + closing;
    if (b < a)
        return chords(a, n - 1) + closing + chords(0, b);
    return chords(a, b);
}

double tkxSpline::Area() const
{
    const int n = GetSize();
    if (n < 3)
        return 0.0;
    const tkxPoint3d origin = m_points[0];
    double sum = 0.0;
    for (int i = 1; i + 1 < n; ++i)
        sum += tkxTriangle3d::GetArea(origin, m_points[i], m_points[i + 1]);
    return std::fabs(sum) / 2.0;
}

tkxPoint3d tkxSpline::GetClosestPoint(tkxPoint3d p, int& index) const
{
    index = -1;
    double best = 1e10;
    const int n = GetSize();
    for (int k = 0; k < n; ++k) {
        const tkxPoint3d q = m_points[k];
        const double d = (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y);
        if (d < best) {
            best = d;
            index = k;
        }
    }
    return m_points[index < 0 ? 0 : index];
}

double tkxSpline::Curvature(int i, int half) const
{
    const int n = GetSize();
    if (i < 0 || i >= n || half < 1)
        return 0.0;
    const int lo = i < half ? 0 : i - half;
    const int hi = i + half < n ? i + half : n - 1;

    // Two splines over the arc length of the window: one of x, one of y.
    // Consecutive points at the same plan position would make a zero
    // interval; only the first of them is kept.
    tkxSpline xs;
    tkxSpline ys;
    double s = 0.0;
    int q = -1;
    tkxPoint3d prev = m_points[lo];
    xs.Add(tkxPoint3d(0.0, prev.x, 0.0));
    ys.Add(tkxPoint3d(0.0, prev.y, 0.0));
    if (i == lo)
        q = 0;
    for (int k = lo + 1; k <= hi; ++k) {
        const tkxPoint3d pt = m_points[k];
        const double step = prev.Distance2dTo(pt);
        if (step >= kSamePlace) {
            s += step;
            xs.Add(tkxPoint3d(s, pt.x, 0.0));
            ys.Add(tkxPoint3d(s, pt.y, 0.0));
            prev = pt;
        }
        if (k == i)
            q = xs.GetSize() - 1;
    }
    // The fitted first derivative has no entry for the window's last point;
    // a natural spline has no bending there anyway.
    if (q < 0 || q >= xs.GetSize() - 1)
        return 0.0;

    std::vector<double> bx, cx, dx, by, cy, dy;
    xs.NaturalSpline(bx, cx, dx);
    ys.NaturalSpline(by, cy, dy);
    const double x1 = bx[q];
    const double y1 = by[q];
    const double x2 = 2.0 * cx[q];
    const double y2 = 2.0 * cy[q];
    const double denominator = std::pow(x1 * x1 + y1 * y1, 1.5);
    if (denominator > 0.0)
        return (x1 * y2 - y1 * x2) / denominator;
    return 0.0;
}

double tkxSpline::Curvature(int i) const
{
    const int n = GetSize();
    if (i <= 0 || i >= n - 1)
        return 0.0;
    const tkxPoint3d p0 = m_points[i - 1];
    const tkxPoint3d p1 = m_points[i];
    const tkxPoint3d p2 = m_points[i + 1];
    const double d1 = p0.Distance2dTo(p1);
    const double d2 = p1.Distance2dTo(p2);
    if (d1 < kSamePlace || d2 < kSamePlace)
        return 0.0;   // no direction at a repeated point
    const double kx = ((p2.x - p1.x) / d2 - (p1.x - p0.x) / d1) / d1;
    const double ky = ((p2.y - p1.y) / d2 - (p1.y - p0.y) / d1) / d1;
    const double magnitude = std::sqrt(kx * kx + ky * ky);
    const tkxLine3d chord(p0, p1);
    return chord.LeftOrRight(p2, -1.0) == DIR_RIGHT ? -magnitude : magnitude;
}

void tkxSpline::NaturalSpline(std::vector<double>& b, std::vector<double>& c, std::vector<double>& d) const
{
    const int n = GetSize();
    b.assign(n > 1 ? n - 1 : 0, 0.0);
    d.assign(n > 1 ? n - 1 : 0, 0.0);
    c.assign(n > 0 ? n : 0, 0.0);
    if (n < 2)
        return;

    std::vector<double> x(n), y(n);
    for (int k = 0; k < n; ++k) {
        const tkxPoint3d pt = m_points[k];
        x[k] = pt.x;
        y[k] = pt.y;
    }
    std::vector<double> h(n - 1);
    for (int j = 0; j + 1 < n; ++j)
        h[j] = x[j + 1] - x[j];

    std::vector<double> l(n, 1.0), mu(n, 0.0), z(n, 0.0);
    for (int i = 1; i + 1 < n; ++i) {
        const double alpha =
            3.0 * (y[i - 1] * h[i] + y[i + 1] * h[i - 1] - y[i] * (x[i + 1] - x[i - 1])) / (h[i - 1] * h[i]);
        l[i] = 2.0 * (x[i + 1] - x[i - 1]) - h[i - 1] * mu[i - 1];
        mu[i] = h[i] / l[i];
        z[i] = (alpha - h[i - 1] * z[i - 1]) / l[i];
    }
    // Natural ends: no second derivative at either end.
    c[n - 1] = 0.0;
    for (int j = n - 2; j >= 0; --j) {
        c[j] = z[j] - mu[j] * c[j + 1];
        b[j] = (y[j + 1] - y[j]) / h[j] - h[j] * (c[j + 1] + 2.0 * c[j]) * kThird;
        d[j] = (c[j + 1] - c[j]) / h[j] * kThird;
    }
}
