#include "corvane/ui/DevicePath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace device_path {

namespace {

const double kPi = 3.141592653589793;
// How far beyond the client rectangle paths are kept (wider than any pen).
const double kMargin = 1024.0;
// Circles of a larger radius (pixels) are drawn as chords.
const double kLargeRadius = 8192.0;

// A rectangle in device units before truncation: x to the right, y upwards
// from the bottom of the client rectangle.
struct Box {
    double x0, y0, x1, y1;
};

Box ClipBox(const tkxWorldDrawDC& dc, bool withPen = true)
{
    // Wider than the selected pen, so that no cut end shows.
    double margin = kMargin;
    LOGPEN pen{};
    HGDIOBJ selected = withPen ? ::GetCurrentObject(dc.m_pDC->m_hDC, OBJ_PEN) : nullptr;
    if (selected && ::GetObjectW(selected, sizeof(pen), &pen) == sizeof(pen)) margin += pen.lopnWidth.x;
    const CRect& r = dc.m_rcClient;
    return {r.left - margin, -margin, r.right + margin, static_cast<double>(r.bottom - r.top) + margin};
}

bool Inside(const Box& box, double x, double y) { return x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1; }

// The clip box, asked of the device (for its pen) only when something
// reaches beyond the box without the pen: within that smaller box nothing
// is cut by either.
class LazyClipBox
{
public:
    explicit LazyClipBox(const tkxWorldDrawDC& dc) : m_dc(dc), m_inner(ClipBox(dc, false)) {}
    const Box& Inner() const { return m_inner; }
    const Box& Full()
    {
        if (!m_known) m_full = ClipBox(m_dc);
        m_known = true;
        return m_full;
    }

private:
    const tkxWorldDrawDC& m_dc;
    Box m_inner;
    Box m_full{};
    bool m_known = false;
};

struct DPoint {
    double x, y;
};

// Liang-Barsky: cuts the segment a-b to the box; false when nothing of it
// lies inside.  Tells which ends were moved.
bool ClipSegment(DPoint& a, DPoint& b, const Box& box, bool& startCut, bool& endCut)
{
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return false;
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
        return true;
    };
    if (!edge(-dx, a.x - box.x0) || !edge(dx, box.x1 - a.x) || !edge(-dy, a.y - box.y0) || !edge(dy, box.y1 - a.y))
        return false;
    startCut = t0 > 0;
    endCut = t1 < 1;
    if (endCut) b = {a.x + t1 * dx, a.y + t1 * dy};
    if (startCut) a = {a.x + t0 * dx, a.y + t0 * dy};
    return true;
}

// Draws a path given point by point (device units before truncation) as
// polylines of its visible runs.
class PathPainter
{
public:
    explicit PathPainter(const tkxWorldDrawDC& dc) : m_dc(dc), m_box(dc), m_hdc(dc.m_pDC->m_hDC) { Run().clear(); }
    ~PathPainter() { Flush(); }
    PathPainter(const PathPainter&) = delete;
    PathPainter& operator=(const PathPainter&) = delete;

    void MoveTo(DPoint p)
    {
        Flush();
        m_last = p;
        m_started = true;
    }
    void LineTo(DPoint p)
    {
        if (!m_started) return MoveTo(p);
        DPoint a = m_last, b = p;
        bool startCut = false, endCut = false;
        const bool within = Inside(m_box.Inner(), a.x, a.y) && Inside(m_box.Inner(), b.x, b.y);
        if (within || ClipSegment(a, b, m_box.Full(), startCut, endCut)) {
            const CPoint s = m_dc.Truncated(a.x, a.y), e = m_dc.Truncated(b.x, b.y);
            std::vector<POINT>& run = Run();
            if (run.empty() || startCut || run.back().x != s.x || run.back().y != s.y) {
                Flush();
                run.push_back(s);
            }
            run.push_back(e);
            if (endCut) Flush();
        } else {
            Flush();
        }
        m_last = p;
    }
    void Flush()
    {
        std::vector<POINT>& run = Run();
        if (run.size() >= 2) ::Polyline(m_hdc, run.data(), static_cast<int>(run.size()));
        run.clear();
    }

private:
    // One buffer for every path (drawing runs on the user-interface thread).
    static std::vector<POINT>& Run()
    {
        static std::vector<POINT> run;
        return run;
    }
    const tkxWorldDrawDC& m_dc;
    LazyClipBox m_box;
    HDC m_hdc;
    DPoint m_last{0, 0};
    bool m_started = false;
};

// Sutherland-Hodgman: the polygon cut to the box.
std::vector<DPoint> ClipPolygon(std::vector<DPoint> poly, const Box& box)
{
    auto clipEdge = [](const std::vector<DPoint>& in, auto inside, auto cross) {
        std::vector<DPoint> out;
        for (size_t i = 0; i < in.size(); ++i) {
            const DPoint& cur = in[i];
            const DPoint& prev = in[(i + in.size() - 1) % in.size()];
            const bool ci = inside(cur), pi = inside(prev);
            if (ci) {
                if (!pi) out.push_back(cross(prev, cur));
                out.push_back(cur);
            } else if (pi) {
                out.push_back(cross(prev, cur));
            }
        }
        return out;
    };
    auto atX = [](double x) {
        return [x](const DPoint& a, const DPoint& b) {
            const double t = (x - a.x) / (b.x - a.x);
            return DPoint{x, a.y + t * (b.y - a.y)};
        };
    };
    auto atY = [](double y) {
        return [y](const DPoint& a, const DPoint& b) {
            const double t = (y - a.y) / (b.y - a.y);
            return DPoint{a.x + t * (b.x - a.x), y};
        };
    };
    if (!poly.empty()) poly = clipEdge(poly, [&](const DPoint& p) { return p.x >= box.x0; }, atX(box.x0));
    if (!poly.empty()) poly = clipEdge(poly, [&](const DPoint& p) { return p.x <= box.x1; }, atX(box.x1));
    if (!poly.empty()) poly = clipEdge(poly, [&](const DPoint& p) { return p.y >= box.y0; }, atY(box.y0));
    if (!poly.empty()) poly = clipEdge(poly, [&](const DPoint& p) { return p.y <= box.y1; }, atY(box.y1));
    return poly;
}

double WrapPi(double a)
{
    a = std::fmod(a, 2 * kPi);
    if (a > kPi) a -= 2 * kPi;
    if (a <= -kPi) a += 2 * kPi;
    return a;
}

// A circle (or the arc from a0 to a1, a1 - a0 at most a full turn) far
// larger than the window, about the device point c with radius r: chords no
// more than a quarter pixel from the curve, only over the directions in
// which the clip box lies.
void DrawLargeCircle(const tkxWorldDrawDC& dc, DPoint c, double r, double a0, double a1, bool filled)
{
    const Box box = ClipBox(dc);
    const DPoint corners[4] = {{box.x0, box.y0}, {box.x1, box.y0}, {box.x1, box.y1}, {box.x0, box.y1}};
    double dmax = 0;
    for (const DPoint& k : corners) dmax = std::max(dmax, std::hypot(k.x - c.x, k.y - c.y));
    const double nx = std::min(std::max(c.x, box.x0), box.x1), ny = std::min(std::max(c.y, box.y0), box.y1);
    const double dmin = std::hypot(nx - c.x, ny - c.y);
    if (r < dmin) return;                 // the curve does not reach the window
    if (r > dmax && !filled) return;      // it passes around the window

    // Directions from the centre in which the box lies.
    const bool inside = dmin == 0;
    double lo = 0, hi = 2 * kPi;
    if (!inside) {
        const double base = std::atan2((box.y0 + box.y1) / 2 - c.y, (box.x0 + box.x1) / 2 - c.x);
        double dlo = 0, dhi = 0;
        for (const DPoint& k : corners) {
            const double d = WrapPi(std::atan2(k.y - c.y, k.x - c.x) - base);
            dlo = std::min(dlo, d);
            dhi = std::max(dhi, d);
        }
        lo = base + dlo;
        hi = base + dhi;
    }
    const bool fullTurn = a1 - a0 >= 2 * kPi - 1e-12;
    std::vector<std::pair<double, double>> pieces;
    if (fullTurn && inside) {
        pieces.emplace_back(0.0, 2 * kPi);
    } else {
        for (int k = -2; k <= 2; ++k) {
            const double s = std::max(a0, lo + 2 * kPi * k), e = std::min(a1, hi + 2 * kPi * k);
            if (e > s) pieces.emplace_back(s, e);
        }
    }
    const double step = std::sqrt(2.0 / r);
    HDC hdc = dc.m_pDC->m_hDC;
    for (const auto& piece : pieces) {
        const double span = piece.second - piece.first;
        const int count = static_cast<int>(std::min(200000.0, std::ceil(span / step)));
        std::vector<DPoint> arc;
        arc.reserve(static_cast<size_t>(count) + 2);
        for (int i = 0; i <= count; ++i) {
            const double a = piece.first + span * i / std::max(count, 1);
            arc.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
        if (filled) {
            std::vector<DPoint> poly = arc;
            if (!(fullTurn && inside)) poly.push_back(c);
            poly = ClipPolygon(std::move(poly), box);
            if (poly.size() >= 3) {
                std::vector<POINT> points;
                for (const DPoint& p : poly) points.push_back(dc.Truncated(p.x, p.y));
                HGDIOBJ old = ::SelectObject(hdc, ::GetStockObject(NULL_PEN));
                ::Polygon(hdc, points.data(), static_cast<int>(points.size()));
                ::SelectObject(hdc, old);
            }
        }
        PathPainter path(dc);
        path.MoveTo(arc.front());
        for (size_t i = 1; i < arc.size(); ++i) path.LineTo(arc[i]);
    }
}

} // namespace

void DrawWorldPath(const tkxWorldDrawDC& dc, const tkxPoint2d* points, int count, bool closing)
{
    if (count < 1) return;
    PathPainter path(dc);
    DPoint p;
    dc.ToDevice(points[0], p.x, p.y);
    path.MoveTo(p);
    for (int i = 1; i < count; ++i) {
        dc.ToDevice(points[i], p.x, p.y);
        path.LineTo(p);
    }
    if (closing) {
        dc.ToDevice(points[0], p.x, p.y);
        path.LineTo(p);
    }
}

void DrawCircle(const tkxWorldDrawDC& dc, const tkxPoint2d& centre, long radius, bool filled)
{
    DPoint c;
    dc.ToDevice(centre, c.x, c.y);
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) return;
    LazyClipBox clip(dc);
    auto misses = [&](const Box& box) {
        return c.x + radius < box.x0 || c.x - radius > box.x1 || c.y + radius < box.y0 || c.y - radius > box.y1;
    };
    if (misses(clip.Inner()) && misses(clip.Full())) return;
    if (radius > kLargeRadius) return DrawLargeCircle(dc, c, static_cast<double>(radius), 0, 2 * kPi, filled);
    const CPoint s = dc.Truncated(c.x, c.y);
    ::Ellipse(dc.m_pDC->m_hDC, s.x - radius, s.y - radius, s.x + radius, s.y + radius);
}

void DrawArc(const tkxWorldDrawDC& dc, const tkxPoint2d& centre, double radius, double start, double end)
{
    DPoint c;
    dc.ToDevice(centre, c.x, c.y);
    const double r = radius * dc.m_dScale;
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(r) || !std::isfinite(start) ||
        !std::isfinite(end))
        return;
    LazyClipBox clip(dc);
    auto misses = [&](const Box& box) {
        return c.x + r < box.x0 || c.x - r > box.x1 || c.y + r < box.y0 || c.y - r > box.y1;
    };
    if (misses(clip.Inner()) && misses(clip.Full())) return;
    // As the platform's arc: from the start direction counter-clockwise to
    // the end direction, a full turn when they are the same.
    double e = end;
    while (e <= start) e += 2 * kPi;
    while (e > start + 2 * kPi) e -= 2 * kPi;
    if (r > kLargeRadius) return DrawLargeCircle(dc, c, r, start, e, false);

    const CPoint low = dc.MathToScreen(centre - tkxPoint2d(radius, radius));
    const CPoint high = dc.MathToScreen(centre + tkxPoint2d(radius, radius));
    const CPoint from = dc.MathToScreen(centre.Polar(start, radius));
    const CPoint to = dc.MathToScreen(centre.Polar(end, radius));
    if (from == to && e - start < kPi) {
        // So short an arc that both ends fall on one pixel: the platform's
        // arc would take it for a full circle.
        PathPainter path(dc);
        for (int i = 0; i <= 4; ++i) {
            const double a = start + (e - start) * i / 4;
            path.LineTo({c.x + r * std::cos(a), c.y + r * std::sin(a)});
        }
        return;
    }
    ::Arc(dc.m_pDC->m_hDC, std::min(low.x, high.x), std::min(low.y, high.y), std::max(low.x, high.x),
          std::max(low.y, high.y), from.x, from.y, to.x, to.y);
}

} // namespace device_path
