// Polyline thinning by step and by direction change.
#include "corvane/geometry/Line3d.h"
#include "corvane/road/PolylineThin.h"
#include "road_test_support.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using Vec = std::vector<double>;

TEST(PolylineThinTest, ResamplingByStep)
{
    Vec x{0, 10}, y{100, 90};
    tkx_PredigestByStep(x, y, 3);
    EXPECT_EQ((Vec{3, 6, 9, 10}), x);
    ASSERT_EQ(4u, y.size());
    EXPECT_NEAR(97, y[0], 1e-12);
    EXPECT_NEAR(94, y[1], 1e-12);
    EXPECT_NEAR(91, y[2], 1e-12);
    EXPECT_EQ(90, y[3]);

    // Samples lie on multiples of the step from 0 and follow each piece.
    Vec bx{0, 2, 5}, by{0, 2, -1};
    tkx_PredigestByStep(bx, by, 1);
    EXPECT_EQ((Vec{1, 2, 3, 4, 5}), bx);
    EXPECT_EQ((Vec{1, 2, 1, 0, -1}), by);

    Vec sx{0, 10}, sy{100, 90};
    tkx_PredigestByStep(sx, sy, 50);
    EXPECT_EQ((Vec{10}), sx) << "a step longer than the line leaves its last point";
    EXPECT_EQ((Vec{90}), sy);

    for (double step : {0.0, -1.0}) {
        Vec zx{0, 10}, zy{100, 90};
        tkx_PredigestByStep(zx, zy, step);
        EXPECT_EQ((Vec{0, 10}), zx);
    }
    Vec ux{0, 10}, uy{100};
    tkx_PredigestByStep(ux, uy, 3);
    EXPECT_EQ((Vec{0, 10}), ux) << "vectors of different sizes stay as they are";

    // A vertical step at the start gives finite samples, never a division
    // by zero.
    Vec vx{5, 5, 10}, vy{1, 3, 8};
    tkx_PredigestByStep(vx, vy, 3);
    ASSERT_EQ((Vec{3, 6, 9, 10}), vx);
    for (double v : vy) EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_EQ(1, vy[0]);
    EXPECT_NEAR(4, vy[1], 1e-12);
}

TEST(PolylineThinTest, RemovalByDirectionChange)
{
    Vec x{0, 1, 2}, y{5, 5, 5};
    tkx_PredigestByRadianDiff(x, y, 0.01);
    EXPECT_EQ((Vec{0, 2}), x);
    Vec two{0, 1}, twoY{0, 1};
    tkx_PredigestByRadianDiff(two, twoY, 1.0);
    EXPECT_EQ((Vec{0, 1}), two);

    // A corner stays; the nearly straight points around it go.
    Vec cx{0, 1, 2, 3, 4, 5}, cy{0, 0.001, 0, 1, 2, 3.001};
    tkx_PredigestByRadianDiff(cx, cy, 0.05);
    EXPECT_EQ((Vec{0, 2, 5}), cx);
}

// The plain form of the rule: scan from the start, and start again after
// every removal.
void RestartingScan(Vec& x, Vec& y, double angle)
{
    if (x.size() < 3 || x.size() != y.size()) return;
    bool removed = true;
    while (removed && x.size() >= 3) {
        removed = false;
        for (size_t i = 0; i + 2 < x.size(); ++i) {
            tkxPoint3d a(x[i], y[i], 0), b(x[i + 1], y[i + 1], 0), c(x[i + 2], y[i + 2], 0);
            double turn = 0;
            tkxLine3d(a, b).getRoadAngle(tkxLine3d(b, c), turn);
            if (turn < angle) {
                x.erase(x.begin() + static_cast<long>(i) + 1);
                y.erase(y.begin() + static_cast<long>(i) + 1);
                removed = true;
                break;
            }
        }
    }
}

TEST(PolylineThinTest, SameResultAsTheRestartingScan)
{
    srand(7);
    for (int trial = 0; trial < 200; ++trial) {
        Vec x, y;
        double offset = 0, elevation = 100;
        const int n = 3 + rand() % 40;
        for (int i = 0; i < n; ++i) {
            offset += 0.5 + (rand() % 100) / 50.0;
            elevation += (rand() % 21 - 10) / (trial % 2 ? 200.0 : 20.0);
            x.push_back(offset);
            y.push_back(elevation);
        }
        const double angle = 0.01 + (rand() % 30) / 100.0;
        Vec ex = x, ey = y;
        RestartingScan(ex, ey, angle);
        tkx_PredigestByRadianDiff(x, y, angle);
        ASSERT_EQ(ex, x) << "trial " << trial;
        ASSERT_EQ(ey, y) << "trial " << trial;
    }
}

} // namespace
