#include "corvane/road/PolylineThin.h"
#include "corvane/geometry/Line3d.h"
#include <cmath>

void tkx_PredigestByStep(std::vector<double>& x, std::vector<double>& y, double step)
{
    if (x.empty() || y.empty() || x.size() != y.size()) return;
    if (!(step > 0.0)) return;
    const size_t n = x.size();
    const double length = x[n - 1];
    std::vector<double> nx;
    std::vector<double> ny;
    double s = step;
    size_t i = 1;
    while (s < length - 0.001 && i < n) {
        if (s <= x[i] - 0.001) {
            nx.push_back(s);
            // A vertical step (two points at one offset) has no slope to
            // follow: the sample takes the step's first elevation.
            const double dx = x[i] - x[i - 1];
            ny.push_back(std::fabs(dx) < 1e-12 ? y[i - 1] : y[i - 1] + (s - x[i - 1]) * (y[i] - y[i - 1]) / dx);
            s += step;
        } else {
            ++i;
        }
    }
    nx.push_back(x[n - 1]);
    ny.push_back(y[n - 1]);
    x.swap(nx);
    y.swap(ny);
}

namespace {

// Deflection (0 to pi) at b between a->b and b->c.
double Deflection(double ax, double ay, double bx, double by, double cx, double cy)
{
    const tkxPoint3d pa(ax, ay, 0.0);
    const tkxPoint3d pb(bx, by, 0.0);
    const tkxPoint3d pc(cx, cy, 0.0);
    double angle = 0.0;
    tkxLine3d(pa, pb).getRoadAngle(tkxLine3d(pb, pc), angle);
    return angle;
}

} // namespace

void tkx_PredigestByRadianDiff(std::vector<double>& x, std::vector<double>& y, double angle)
{
    if (x.size() < 3 || y.size() < 3 || x.size() != y.size()) return;
    // The scan from the start, restarted after every removal, finds the
    // first triple a, b, c that turns by less than the angle and drops b.
    // Every triple before the one that now ends at c was kept already and
    // is unchanged, so the scan may go on with the triple before: the kept
    // points form a stack whose top two are a and b, and c is the next
    // point not yet taken.  Same result as the restarts, in linear time.
    std::vector<double> kx;
    std::vector<double> ky;
    kx.reserve(x.size());
    ky.reserve(y.size());
    kx.push_back(x[0]);
    ky.push_back(y[0]);
    kx.push_back(x[1]);
    ky.push_back(y[1]);
    size_t next = 2;
    while (next < x.size()) {
        const size_t top = kx.size();
        if (top >= 2 && Deflection(kx[top - 2], ky[top - 2], kx[top - 1], ky[top - 1], x[next], y[next]) < angle) {
            kx.pop_back();
            ky.pop_back();
            continue;
        }
        kx.push_back(x[next]);
        ky.push_back(y[next]);
        ++next;
    }
    x.swap(kx);
    y.swap(ky);
}
