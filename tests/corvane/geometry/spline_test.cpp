// The spline point sequence: closing, lengths, area, nearest vertex, the
// size members and curvature.
#include "corvane/geometry/Spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const double kPi = 3.141592653589793;

void Fill(tkxSpline& s, const std::vector<std::pair<double, double>>& xy)
{
    for (const auto& p : xy)
        s.Add(tkxPoint3d(p.first, p.second, 0));
}

std::vector<double> Xs(const tkxSpline& s)
{
    std::vector<double> xs;
    for (int i = 0; i < s.GetSize(); ++i)
        xs.push_back(s[i].x);
    return xs;
}

// Points on a circle of the given radius about (1000, 2000), one every
// `step` radians from angle 0, counter-clockwise (or clockwise for a
// negative step).
void Circle(tkxSpline& s, double radius, double step, int count)
{
    for (int i = 0; i < count; ++i) {
        const double a = i * step;
        s.Add(tkxPoint3d(1000 + radius * std::cos(a), 2000 + radius * std::sin(a), 5));
    }
}

} // namespace

TEST(SplineShape, ClosingAnEmptyAndASquare)
{
    tkxSpline empty;
    EXPECT_EQ(1, empty.Closed());
    empty.Close();
    EXPECT_EQ(0, empty.GetSize());

    tkxSpline square;
    Fill(square, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    EXPECT_EQ(0, square.Closed());
    square.Close();
    EXPECT_EQ(5, square.GetSize());
    EXPECT_EQ(1, square.Closed());
    square.Close();
    EXPECT_EQ(5, square.GetSize()) << "closing a closed spline adds nothing";

    tkxSpline nearly;
    Fill(nearly, {{0, 0}, {1, 0}, {1, 1}});
    nearly.Add(tkxPoint3d(0, 0, 2e-8));
    EXPECT_EQ(0, nearly.Closed()) << "closed means within 1e-8 in space";
}

TEST(SplineShape, AreaAndSegmentLengths)
{
    tkxSpline ccw, cw;
    Fill(ccw, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    Fill(cw, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
    EXPECT_DOUBLE_EQ(1.0, ccw.Area());
    EXPECT_DOUBLE_EQ(1.0, cw.Area());

    struct Case {
        int a, b;
        double length;
    };
    const Case cases[] = {
        {0, 4, 4.0},   // the perimeter
        {1, 3, 2.0},
        {3, 1, 2.0},   // 3 to the last point, the closing chord, 0 to 1
        {2, 0, 2.0},
        {1, 4, 3.0},   // to the end and back to the first point
        {2, 2, 0.0},
        {-1, 2, 0.0},  {0, 5, 0.0}, {4, 1, 0.0}, {1, -1, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(c.length, ccw.SegmentLength(c.a, c.b)) << c.a << " to " << c.b;

    ccw.Close();
    EXPECT_DOUBLE_EQ(1.0, ccw.Area()) << "the closing point adds an empty triangle";
    EXPECT_DOUBLE_EQ(4.0, ccw.SegmentLength(0, 4));

    tkxSpline two;
    Fill(two, {{0, 0}, {3, 4}});
    EXPECT_EQ(0.0, two.Area());
    tkxSpline tilted;   // chords are measured in space
    tilted.Add(tkxPoint3d(0, 0, 0));
    tilted.Add(tkxPoint3d(3, 0, 4));
    EXPECT_DOUBLE_EQ(5.0, tilted.SegmentLength(0, 1));
}

TEST(SplineShape, PointSeparationOpenAndClosed)
{
    tkxSpline s;
    Fill(s, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0.5}});
    EXPECT_EQ(3, s.PointSeparation(0, 3));
    EXPECT_EQ(-3, s.PointSeparation(3, 0));
    s.SetAt(4, tkxPoint3d(0, 0, 0));   // now closed: a ring of four points
    EXPECT_EQ(1, s.PointSeparation(0, 3));
    EXPECT_EQ(1, s.PointSeparation(3, 0));
    EXPECT_EQ(2, s.PointSeparation(0, 2));
}

TEST(SplineShape, ClosestVertex)
{
    tkxSpline s;
    Fill(s, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    int index = 99;
    tkxPoint3d p = s.GetClosestPoint(tkxPoint3d(9, 9, 0), index);
    EXPECT_EQ(2, index);
    EXPECT_EQ(10.0, p.x);
    EXPECT_EQ(10.0, p.y);

    p = s.GetClosestPoint(tkxPoint3d(5, 5, 0), index);
    EXPECT_EQ(0, index) << "equally near: the first wins";

    p = s.GetClosestPoint(tkxPoint3d(2e5, 0, 0), index);
    EXPECT_EQ(-1, index) << "nothing within 1e5";
    EXPECT_EQ(0.0, p.x);
    EXPECT_EQ(0.0, p.y);

    tkxSpline empty;
    p = empty.GetClosestPoint(tkxPoint3d(1, 1, 1), index);
    EXPECT_EQ(-1, index);
    EXPECT_EQ(0.0, p.x);
}

TEST(SplinePoints, AccessAndEditing)
{
    tkxSpline s(3);
    EXPECT_EQ(3, s.GetSize());
    EXPECT_EQ(0, tkxSpline(-2).GetSize());

    EXPECT_EQ(1, s.SetAt(1, tkxPoint3d(5, 6, 7)));
    EXPECT_EQ(0, s.SetAt(3, tkxPoint3d(1, 1, 1)));
    EXPECT_EQ(5.0, s.GetPointAt(1).x);
    EXPECT_EQ(0.0, s[7].x);
    EXPECT_EQ(0.0, s.GetPointAt(-1).y);

    EXPECT_EQ(1, s.InsertAt(0, tkxPoint3d(9, 9, 9)));
    EXPECT_EQ((std::vector<double>{0, 9, 5, 0}), Xs(s)) << "inserted after the point at the index";
    EXPECT_EQ(1, s.DelPoint(2));
    EXPECT_EQ(0, s.DelPoint(3));
    EXPECT_EQ((std::vector<double>{0, 9, 0}), Xs(s));

    tkxSpline copy;
    copy = s;
    copy.SetAt(0, tkxPoint3d(-1, 0, 0));
    EXPECT_EQ(0.0, s[0].x) << "assignment copies the points";
    copy = copy;
    EXPECT_EQ(3, copy.GetSize());

    s.RemoveAll();
    EXPECT_EQ(0, s.GetSize());
}

TEST(SplinePoints, SizeFreeExtraAndBreak)
{
    tkxSpline s;
    Fill(s, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
    EXPECT_EQ(1, s.SetSize(3));
    EXPECT_EQ((std::vector<double>{0, 1, 2}), Xs(s)) << "shrinking keeps the first points";
    EXPECT_EQ(1, s.SetSize(5));
    EXPECT_EQ((std::vector<double>{0, 1, 2, 0, 0}), Xs(s)) << "growing adds points at the origin";
    s.FreeExtra();
    EXPECT_EQ((std::vector<double>{0, 1, 2, 0, 0}), Xs(s));

    struct Case {
        int first, last;
        int result;
        std::vector<double> xs;
    };
    const Case cases[] = {
        {0, 2, 1, {0, 1, 2}},
        {1, 3, 1, {1, 2, 3}},
        {2, 2, 1, {2}},
        {3, 1, 1, {3, 4, 0, 1}},   // past the end and on from the start
        {-1, 2, 0, {0, 1, 2, 3, 4}},
        {1, 5, 0, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        tkxSpline t;
        Fill(t, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
        EXPECT_EQ(c.result, t.BreakSpline(c.first, c.last)) << c.first << "-" << c.last;
        EXPECT_EQ(c.xs, Xs(t)) << c.first << "-" << c.last;
    }

    // On a closed spline the run round the end passes the closing point once.
    tkxSpline ring;
    Fill(ring, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 0}});
    EXPECT_EQ(1, ring.BreakSpline(3, 1));
    EXPECT_EQ((std::vector<double>{3, 0, 1}), Xs(ring));
}

TEST(SplineCurvature, ThreePointsFitAndFiniteDifference)
{
    // Over the arc length, x is linear and y a natural spline with the
    // second derivative -1.5 and zero slope at the middle point: curvature
    // x' y'' / |x'|^3 = -3 (bending right).
    tkxSpline s;
    Fill(s, {{0, 0}, {1, 1}, {2, 0}});
    EXPECT_NEAR(-3.0, s.Curvature(1, 1), 1e-12);
    EXPECT_NEAR(-1.0, s.Curvature(1), 1e-12);

    tkxSpline mirrored;
    Fill(mirrored, {{0, 0}, {1, -1}, {2, 0}});
    EXPECT_NEAR(3.0, mirrored.Curvature(1, 1), 1e-12);
    EXPECT_NEAR(1.0, mirrored.Curvature(1), 1e-12);

    for (int i : {0, 2, -1, 3}) {
        EXPECT_EQ(0.0, s.Curvature(i)) << i;
        EXPECT_EQ(0.0, s.Curvature(i, 1)) << i;  // no value at the last point
    }
    EXPECT_EQ(0.0, s.Curvature(1, 0));
}

TEST(SplineCurvature, CircleGivesOneOverRadius)
{
    const double radius = 10.0;
    const int count = 90;
    const double step = kPi / 180.0;   // one degree

    tkxSpline ccw, cw;
    Circle(ccw, radius, step, count);
    Circle(cw, radius, -step, count);
    for (int i : {3, 10, 45, 70}) {
        SCOPED_TRACE(i);
        // With three points on each side, the natural ends of the window
        // raise the middle's second derivative by 1/26.
        EXPECT_NEAR(27.0 / 26.0 / radius, ccw.Curvature(i, 3), 1e-5);
        EXPECT_NEAR(-27.0 / 26.0 / radius, cw.Curvature(i, 3), 1e-5);
        // Ten points each side leave no trace of the ends.
        EXPECT_NEAR(1.0 / radius, ccw.Curvature(i + 10, 10), 1e-5);
        EXPECT_NEAR(-1.0 / radius, cw.Curvature(i + 10, 10), 1e-5);
        EXPECT_NEAR(1.0 / radius, ccw.Curvature(i), 1e-9);
        EXPECT_NEAR(-1.0 / radius, cw.Curvature(i), 1e-9);
    }
    // The last point of a window has no fitted slope, the ends no neighbour.
    EXPECT_EQ(0.0, ccw.Curvature(count - 1, 3));
    EXPECT_EQ(0.0, ccw.Curvature(count - 1));
    EXPECT_EQ(0.0, ccw.Curvature(0));
}

TEST(SplineCurvature, RepeatedPointsStayFinite)
{
    tkxSpline s;
    const double step = kPi / 180.0;
    for (int i = 0; i < 40; ++i) {
        const tkxPoint3d p(10 * std::cos(i * step), 10 * std::sin(i * step), 0);
        s.Add(p);
        if (i == 20)
            s.Add(p);   // the same point twice
    }
    for (int i : {19, 20, 21, 22}) {
        const double k = s.Curvature(i, 10);
        EXPECT_TRUE(std::isfinite(k)) << i;
        EXPECT_NEAR(0.1, k, 1e-4) << i;
    }
    EXPECT_EQ(0.0, s.Curvature(21)) << "no direction into a repeated point";
    EXPECT_EQ(0.0, s.Curvature(20));
}
