// Plane helpers: line intersection, side of a ray, colinearity, polygon area,
// the 2-D point sort and the polyline look-up.
#include "corvane/geometry/PlaneGeometry.h"
#include "corvane/base/LastError.h"

// The library-internal helpers are not exported; compile them in here.
#include "corvane/geometry/PlaneGeometryInternal.cpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const double kPi = 3.141592653589793;

// A 2-D point list; CArray cannot be copied, so tests keep it in a holder.
struct Points2d {
    CArray<tkxPoint2d, tkxPoint2d> points;
    explicit Points2d(const std::vector<std::pair<double, double>>& xy)
    {
        for (const auto& p : xy)
            points.Add(tkxPoint2d(p.first, p.second));
    }
    operator CArray<tkxPoint2d, tkxPoint2d>&() { return points; }
    operator const CArray<tkxPoint2d, tkxPoint2d>&() const { return points; }
};

} // namespace

TEST(PlaneIntersect, ModesShiftsAndParallelLines)
{
    struct Case {
        const char* what;
        double p[4][2];
        int mode;
        bool found;
        double x, y;
    };
    const Case cases[] = {
        {"crossing on both", {{0, 0}, {10, 10}, {0, 10}, {10, 0}}, 0, true, 5, 5},
        {"off the second segment, mode 0", {{0, 0}, {10, 10}, {0, 10}, {2, 8}}, 0, false, 5, 5},
        {"off the second segment, mode 1", {{0, 0}, {10, 10}, {0, 10}, {2, 8}}, 1, false, 5, 5},
        {"off the second segment, mode 2", {{0, 0}, {10, 10}, {0, 10}, {2, 8}}, 2, true, 5, 5},
        {"off the second segment, mode 3", {{0, 0}, {10, 10}, {0, 10}, {2, 8}}, 3, true, 5, 5},
        {"shifted far out", {{500, 3000}, {510, 3010}, {500, 3010}, {502, 3008}}, 3, true, 505, 3005},
        {"shifted, mode 0", {{500, 3000}, {510, 3010}, {500, 3010}, {502, 3008}}, 0, false, 505, 3005},
        {"vertical and horizontal", {{0, 0}, {0, 10}, {-5, 3}, {5, 3}}, 0, true, 0, 3},
        {"horizontal and vertical", {{-5, 3}, {5, 3}, {0, 0}, {0, 10}}, 0, true, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tkxPoint3d out(0, 0, 0);
        EXPECT_EQ(c.found, IntersectLines2d(tkxPoint3d(c.p[0][0], c.p[0][1], 0), tkxPoint3d(c.p[1][0], c.p[1][1], 0),
                                            tkxPoint3d(c.p[2][0], c.p[2][1], 0), tkxPoint3d(c.p[3][0], c.p[3][1], 0),
                                            &out, static_cast<short>(c.mode)));
        EXPECT_NEAR(c.x, out.x, 1e-9);
        EXPECT_NEAR(c.y, out.y, 1e-9);

        const double a0[3] = {c.p[0][0], c.p[0][1], 0}, a1[3] = {c.p[1][0], c.p[1][1], 0};
        const double a2[3] = {c.p[2][0], c.p[2][1], 0}, a3[3] = {c.p[3][0], c.p[3][1], 0};
        double arr[3] = {-1, -1, -1};
        EXPECT_EQ(c.found, IntersectLines2d(a0, a1, a2, a3, arr, c.mode));
        EXPECT_NEAR(c.x, arr[0], 1e-9);
        EXPECT_NEAR(c.y, arr[1], 1e-9);
    }

    tkxPoint3d out;
    EXPECT_FALSE(IntersectLines2d(tkxPoint3d(0, 0, 0), tkxPoint3d(0, 10, 0), tkxPoint3d(3, 0, 0),
                                  tkxPoint3d(3, 10, 0), &out, 3))
        << "two vertical lines";
    EXPECT_FALSE(IntersectLines2d(tkxPoint3d(0, 0, 0), tkxPoint3d(10, 5, 0), tkxPoint3d(0, 1, 0),
                                  tkxPoint3d(10, 6, 0), &out, 3))
        << "parallel lines";
}

TEST(PlaneIntersect, HeightOfTheResult)
{
    // The point form adds the first point's z to what the caller passed; the
    // array form starts from zero.
    tkxPoint3d out(0, 0, 7);
    ASSERT_TRUE(IntersectLines2d(tkxPoint3d(0, 0, 2), tkxPoint3d(10, 10, 2), tkxPoint3d(0, 10, 9),
                                 tkxPoint3d(10, 0, 9), &out, 0));
    EXPECT_DOUBLE_EQ(9.0, out.z);

    const double p0[3] = {0, 0, 2}, p1[3] = {10, 10, 2}, p2[3] = {0, 10, 9}, p3[3] = {10, 0, 9};
    double arr[3] = {0, 0, 7};
    ASSERT_TRUE(IntersectLines2d(p0, p1, p2, p3, arr, 0));
    EXPECT_DOUBLE_EQ(2.0, arr[2]);
}

TEST(PlaneSide, PointAgainstRay)
{
    struct Case {
        double base[2];
        double angle;
        double point[2];
        enDir side;
    };
    const Case cases[] = {
        {{0, 0}, 0.0, {5, 1}, DIR_LEFT},
        {{0, 0}, 0.0, {5, -1}, DIR_RIGHT},
        {{0, 0}, 0.0, {-5, 0}, DIR_NONE},             // behind the base, on the line
        {{100, 200}, kPi / 2, {99, 250}, DIR_LEFT},  // heading north, west is left
        {{100, 200}, kPi / 2, {101, 150}, DIR_RIGHT},
        {{100, 200}, kPi, {50, 199}, DIR_LEFT},      // heading west, south is left
        {{0, 0}, 0.0, {5, 1e-9}, DIR_LEFT},          // 1e-9 off is still off (1000 x 1e-9 > 1e-8)
        {{0, 0}, 0.0, {5, 1e-12}, DIR_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "point " << c.point[0] << "," << c.point[1] << " angle " << c.angle);
        EXPECT_EQ(c.side, GetPointSideOfRay(c.base, c.angle, c.point));
    }
}

TEST(PlaneAngle, DirectionAtTheAxes)
{
    const double a[2] = {10, 20};
    struct Case {
        double b[2];
        double angle;
    };
    const Case cases[] = {
        {{11, 20}, 0.0},       {{10, 21}, kPi / 2},       {{9, 20}, kPi},
        {{10, 19}, 4.71238898038469}, {{10, 20}, 0.0},    {{9, 19}, 1.25 * kPi},
        {{11, 19}, 1.75 * kPi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.b[0] << "," << c.b[1]);
        EXPECT_NEAR(c.angle, GetPlanAngle(a, c.b), 1e-12);
    }
}

TEST(PlaneColinear, ToleranceIsOnTwiceTheArea)
{
    struct Case {
        double c[2];
        int colinear;
    };
    const Case cases[] = {
        {{2, 2.000000001}, 1},  // cross product 2e-9
        {{2, 2.0001}, 0},
        {{-3, -3}, 1},
        {{2, 2.00000002}, 0},   // cross product 2e-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.c[0] << "," << c.c[1]);
        EXPECT_EQ(c.colinear, tkx_IsColinear(tkxPoint3d(0, 0, 5), tkxPoint3d(1, 1, -5), tkxPoint3d(c.c[0], c.c[1], 9)));
        EXPECT_EQ(c.colinear, tkxPoint2d::IsColinear(tkxPoint2d(0, 0), tkxPoint2d(1, 1), tkxPoint2d(c.c[0], c.c[1])));
    }
}

TEST(PlaneIntPoint, SegmentsAndEndlessLines)
{
    tkxPoint2d out;
    EXPECT_EQ(1, tkxPoint2d::GetIntPoint({0, 0}, {10, 10}, {0, 10}, {10, 0}, out, 1));
    EXPECT_NEAR(5.0, out.x, 1e-12);
    EXPECT_NEAR(5.0, out.y, 1e-12);

    // Crossing beyond the end of the second segment: 0 on segments, but the
    // crossing point is left in out; 1 for the endless lines.
    out = tkxPoint2d(-1, -1);
    EXPECT_EQ(0, tkxPoint2d::GetIntPoint({0, 0}, {10, 10}, {0, 10}, {2, 8}, out, 1));
    EXPECT_NEAR(5.0, out.x, 1e-12);
    EXPECT_NEAR(5.0, out.y, 1e-12);
    EXPECT_EQ(1, tkxPoint2d::GetIntPoint({0, 0}, {10, 10}, {0, 10}, {2, 8}, out, 0));

    EXPECT_EQ(1, tkxPoint2d::GetIntPoint({3, -5}, {3, 5}, {0, 1}, {10, 2}, out, 1)) << "first line vertical";
    EXPECT_NEAR(3.0, out.x, 1e-12);
    EXPECT_NEAR(1.3, out.y, 1e-12);
    EXPECT_EQ(1, tkxPoint2d::GetIntPoint({0, 1}, {10, 2}, {3, -5}, {3, 5}, out, 1)) << "second line vertical";
    EXPECT_NEAR(1.3, out.y, 1e-12);
    EXPECT_EQ(0, tkxPoint2d::GetIntPoint({3, -5}, {3, 5}, {4, 0}, {4, 1}, out, 0)) << "both vertical";
    EXPECT_EQ(0, tkxPoint2d::GetIntPoint({0, 0}, {10, 5}, {0, 1}, {10, 6}, out, 0)) << "parallel";
}

TEST(PlaneDistance, PointToLine)
{
    EXPECT_NEAR(5.0, tkxPoint2d::PointDisToLine({3, 5}, {0, 0}, {10, 0}), 1e-12);
    EXPECT_NEAR(5.0, tkxPoint2d::PointDisToLine({3, -5}, {0, 0}, {10, 0}), 1e-12);
    EXPECT_NEAR(std::sqrt(2.0), tkxPoint2d::PointDisToLine({0, 2}, {100, 100}, {101, 101}), 1e-9)
        << "the endless line, not the segment";
    EXPECT_NEAR(5.0, tkxPoint2d::PointDisToLine({4, 7}, {1, 3}, {1, 3}), 1e-12) << "a degenerate line";
}

TEST(PlanePolygon, SignedArea)
{
    const Points2d ccw({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    const Points2d cw({{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    const Points2d closed({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}});
    const Points2d closedCw({{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}});
    EXPECT_DOUBLE_EQ(1.0, tkxPoint2d::PolygonArea(ccw));
    EXPECT_DOUBLE_EQ(-1.0, tkxPoint2d::PolygonArea(cw));
    EXPECT_DOUBLE_EQ(1.0, tkxPoint2d::PolygonArea(closed));
    EXPECT_DOUBLE_EQ(-1.0, tkxPoint2d::PolygonArea(closedCw));
    EXPECT_NEAR(6.0, tkxPoint2d::PolygonArea(Points2d({{500000, 3000000}, {500004, 3000000}, {500004, 3000003}})),
                1e-3);
    EXPECT_EQ(0.0, tkxPoint2d::PolygonArea(Points2d({{0, 0}, {5, 5}})));
}

TEST(PlaneSort, StableByEitherCoordinate)
{
    Points2d holder({{3, 1}, {1, 2}, {3, 0}, {2, 5}});
    CArray<tkxPoint2d, tkxPoint2d>& points = holder;
    tkx_PointsPibubUp(points, true);
    const std::vector<std::pair<double, double>> byX = {{1, 2}, {2, 5}, {3, 1}, {3, 0}};
    ASSERT_EQ(4, points.GetSize());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(byX[i].first, points[i].x) << i;
        EXPECT_EQ(byX[i].second, points[i].y) << i;
    }

    Points2d byYHolder({{0, 2}, {1, 1}, {2, 2}, {3, -1}, {4, 1}});
    CArray<tkxPoint2d, tkxPoint2d>& byYPoints = byYHolder;
    tkx_PointsPibubUp(byYPoints, false);
    const double xs[] = {3, 1, 4, 0, 2};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(xs[i], byYPoints[i].x) << i;

    CArray<tkxPoint2d, tkxPoint2d> empty;
    tkx_PointsPibubUp(empty, true);
    EXPECT_EQ(0, empty.GetSize());
}

TEST(PlaneLookup, YAtXOnThePolyline)
{
    const Points2d line({{0, 0}, {10, 10}});
    struct Case {
        double x;
        double y;
    };
    const Case cases[] = {
        {-5, 0}, {0.0005, 0}, {5, 5}, {10.0005, 10.0005}, {20, 10},
    };
    for (const Case& c : cases) {
        double y = -1;
        EXPECT_TRUE(tkx_GetYByPoints(line, c.x, y)) << c.x;
        EXPECT_NEAR(c.y, y, 1e-9) << c.x;
    }

    // Just above an inner vertex the interval before it still interpolates;
    // a step shorter than 1 mm gives the middle of its two heights.
    const Points2d kinked({{0, 0}, {10, 10}, {10.0002, 20}, {20, 40}});
    double y = 0;
    EXPECT_TRUE(tkx_GetYByPoints(kinked, 10.0001, y));
    EXPECT_NEAR(10.0001, y, 1e-9);
    EXPECT_TRUE(tkx_GetYByPoints(kinked, 10.0011, y));
    EXPECT_DOUBLE_EQ(15.0, y);
    EXPECT_TRUE(tkx_GetYByPoints(kinked, 15.0, y));
    EXPECT_NEAR(20.0 + (15.0 - 10.0002) / 9.9998 * 20.0, y, 1e-9);

    tkx_SetLastError(nullptr);
    double untouched = 42;
    EXPECT_FALSE(tkx_GetYByPoints(Points2d({{1, 1}}), 1, untouched));
    EXPECT_EQ(42, untouched);
    EXPECT_STREQ(L"二维折线点数组数据不足", tkx_GetLastError().GetString());
}
