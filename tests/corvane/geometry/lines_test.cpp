// Lines and triangles: plan side test, plan intersection, turn angles,
// segment/triangle intersection and the circumscribed circle.
#include "corvane/geometry/Line3d.h"
#include "corvane/geometry/Triangle3d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

tkxLine3d Line(double x0, double y0, double x1, double y1)
{
    return tkxLine3d(tkxPoint3d(x0, y0, 0), tkxPoint3d(x1, y1, 0));
}

// Lines of every kind of direction, in survey-sized coordinates.
const tkxLine3d kLines[] = {
    Line(0, 0, 10, 0),
    Line(0, 0, 0, 10),
    Line(352100.125, 4021300.5, 352180.75, 4021260.25),
    Line(-5, 7, -45, -3),
    Line(100, 100, 99.999, 250),
};

// ---------------------------------------------------------------- side test

TEST(LineSide, PointsOnTheLineAreOnIt)
{
    for (const tkxLine3d& line : kLines) {
        const tkxPoint3d s = line.StartPoint(), e = line.EndPoint();
        for (double t : {-0.5, 0.0, 0.25, 0.5, 1.0, 1.75}) {
            SCOPED_TRACE(testing::Message() << line.ToString().GetString() << " t=" << t);
            const tkxPoint3d p(s.x + t * (e.x - s.x), s.y + t * (e.y - s.y), 42);
            double xy[3] = {p.x, p.y, p.z};
            EXPECT_EQ(line.LeftOrRight(p, -1), DIR_NONE);
            EXPECT_EQ(line.LeftOrRight(xy, -1), DIR_NONE);
        }
    }
}

TEST(LineSide, AgreesWithCrossProductSign)
{
    for (const tkxLine3d& line : kLines) {
        const tkxPoint3d s = line.StartPoint(), e = line.EndPoint();
        for (double dx : {-30.0, -1.0, 0.5, 20.0}) {
            for (double dy : {-25.0, -0.25, 2.0, 15.0}) {
                const tkxPoint3d p(s.x + dx, s.y + dy, 0);
                const double cross = (e.x - s.x) * dy - (e.y - s.y) * dx;
                const int expected = cross > 1e-8 ? 1 : (cross < -1e-8 ? -1 : 0);
                SCOPED_TRACE(testing::Message() << line.ToString().GetString() << " " << dx << "," << dy);
                EXPECT_EQ(line.LeftOrRight(p, -1), expected);
            }
        }
    }
}

TEST(LineSide, ToleranceTable)
{
    struct Case {
        double px, py, tol;
        int side;
    };
    // Line from (0,0) to (1,0): the cross product is simply p.y.
    const Case cases[] = {
        {0.5, 0, -1, 0},
        {0.5, 1e-7, -1, 1},      // -1 stands for 1e-8
        {0.5, -1e-7, -1, -1},
        {0.5, 5e-9, -1, 0},
        {0.5, 1e-7, -0.0005, 1}, // not below -0.001: used as given
        {0.5, 0.3, 0.5, 0},
        {0.5, 0.6, 0.5, 1},
        {0.5, -0.6, 0.5, -1},
        {0.5, 0.5, 0.5, 0},      // exactly the tolerance counts as on the line
    };
    const tkxLine3d line = Line(0, 0, 1, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.py << " tol " << c.tol);
        EXPECT_EQ(line.LeftOrRight(tkxPoint3d(c.px, c.py, 0), c.tol), c.side);
    }
    double* none = nullptr;
    EXPECT_EQ(line.LeftOrRight(none, -1), DIR_NONE);
}

// ------------------------------------------------------------- intersection

TEST(LineIntersect, CrossingThroughPointsOnTheLine)
{
    // For each point on each line, a second line through it at an angle must
    // hit it, inside both segments.
    for (const tkxLine3d& line : kLines) {
        const tkxPoint3d s = line.StartPoint(), e = line.EndPoint();
        for (double t : {0.0, 0.3, 0.5, 1.0}) {
            const tkxPoint3d p(s.x + t * (e.x - s.x), s.y + t * (e.y - s.y), 0);
            const tkxLine3d cross(tkxPoint3d(p.x - 3, p.y + 7, 0), tkxPoint3d(p.x + 6, p.y - 14, 0));
            tkxPoint3d hit(0, 0, 99);
            SCOPED_TRACE(testing::Message() << line.ToString().GetString() << " t=" << t);
            ASSERT_TRUE(line.IntersectWith2d(cross, hit, 0));
            EXPECT_NEAR(hit.x, p.x, 1e-6);
            EXPECT_NEAR(hit.y, p.y, 1e-6);
            EXPECT_EQ(hit.z, 99.0); // z is never written
        }
    }
}

TEST(LineIntersect, ModesTable)
{
    struct Case {
        const char* name;
        tkxLine3d a, b;
        double x, y;               // expected crossing
        bool mode0, mode1, mode2, mode3;
    };
    const Case cases[] = {
        {"inside both", Line(0, 0, 4, 4), Line(0, 4, 4, 0), 2, 2, true, true, true, true},
        {"outside both", Line(0, 0, 1, 1), Line(10, 0, 9, 1), 5, 5, false, false, false, true},
        {"on other only", Line(0, 0, 1, 0), Line(5, -1, 5, 1), 5, 0, false, true, false, true},
        {"on this only", Line(0, 0, 10, 0), Line(5, 2, 5, 3), 5, 0, false, false, true, true},
        {"this vertical", Line(3, -5, 3, 5), Line(0, 0, 6, 2), 3, 1, true, true, true, true},
        {"other vertical", Line(0, 0, 6, 2), Line(3, -5, 3, 5), 3, 1, true, true, true, true},
        {"touching ends", Line(0, 0, 2, 0), Line(2, 0, 2, 2), 2, 0, true, true, true, true},
        {"within 1 mm past the end", Line(0, 0, 2, 0), Line(2.0004, -1, 2.0004, 1), 2.0004, 0,
         true, true, true, true},
        {"2 mm past the end", Line(0, 0, 2, 0), Line(2.002, -1, 2.002, 1), 2.002, 0,
         false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool expected[] = {c.mode0, c.mode1, c.mode2, c.mode3};
        for (short mode = 0; mode < 4; ++mode) {
            tkxPoint3d out;
            EXPECT_EQ(c.a.IntersectWith2d(c.b, out, mode), expected[mode]) << "mode " << mode;
            EXPECT_NEAR(out.x, c.x, 1e-9) << "mode " << mode;
            EXPECT_NEAR(out.y, c.y, 1e-9) << "mode " << mode;
        }
    }
}

TEST(LineIntersect, ParallelLinesNeverCross)
{
    tkxPoint3d out(-1, -1, -1);
    EXPECT_FALSE(Line(0, 0, 10, 5).IntersectWith2d(Line(0, 1, 10, 6), out, 3));
    EXPECT_FALSE(Line(0, 0, 10, 5).IntersectWith2d(Line(20, 10, 30, 15), out, 3)); // same line
    // Two vertical lines: out.x has already become this line's end x.
    EXPECT_FALSE(Line(4, 0, 4, 10).IntersectWith2d(Line(7, 0, 7, 1), out, 3));
    EXPECT_EQ(out.x, 4.0);
}

// --------------------------------------------------------------- turn angle

tkxLine3d LineAlong(double azimuth)
{
    return tkxLine3d(tkxPoint3d(0, 0, 0), tkxPoint3d(std::sin(azimuth), std::cos(azimuth), 0));
}

TEST(LineTurn, RoadAngleTable)
{
    struct Case {
        double from, to; // azimuths in degrees
        int dir;
        double angle;    // degrees
    };
    const Case cases[] = {
        {0, 0, -1, 0},       // straight on reports right with angle 0
        {37, 37, -1, 0},
        {0, 90, -1, 90},
        {90, 0, 1, 90},
        {0, 270, 1, 90},     // d = +270: a left turn of 90
        {270, 0, -1, 90},    // d = -270: a right turn of 90
        {350, 10, -1, 20},   // across north, to the right
        {10, 350, 1, 20},    // across north, to the left
        {30, 210, -1, 180},  // full reversal
        {210, 30, -1, 180},
        {100, 60, 1, 40},
        {45, 225 - 1e-3, -1, 180 - 1e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        double angle = -1;
        const int dir = LineAlong(c.from * kPi / 180).getRoadAngle(LineAlong(c.to * kPi / 180), angle);
        EXPECT_EQ(dir, c.dir);
        EXPECT_NEAR(angle * 180 / kPi, c.angle, 1e-9);
    }
}

TEST(LineBasics, MeasuresAndText)
{
    const tkxLine3d line(tkxPoint3d(1, 2, 3), tkxPoint3d(4, 6, 15));
    EXPECT_DOUBLE_EQ(line.Length(), 13.0);
    const tkxVector3d d = line.Direct();
    EXPECT_DOUBLE_EQ(d.x, 3.0 / 13);
    EXPECT_DOUBLE_EQ(d.z, 12.0 / 13);
    EXPECT_NEAR(line.Azimuth2d(), std::atan2(3.0, 4.0), 1e-12);
    EXPECT_STREQ(line.ToString().GetString(), L"[1.000,2.000-4.000,6.000]");

    // A zero-length line keeps its (zero) direction unscaled.
    const tkxVector3d none = tkxLine3d(tkxPoint3d(5, 5, 5), tkxPoint3d(5, 5, 5)).Direct();
    EXPECT_EQ(none.Mag(), 0.0);

    double s[3] = {1, 1, 1}, e[3] = {2, 2, 2};
    tkxLine3d copy = tkxLine3d(s, e);
    copy.setEndPoint(tkxPoint3d(9, 9, 9));
    EXPECT_TRUE(copy.StartPoint() == tkxPoint3d(1, 1, 1));
    EXPECT_TRUE(copy.EndPoint() == tkxPoint3d(9, 9, 9));
}

// ----------------------------------------------------------------- triangle

const tkxTriangle3d kFlat(tkxPoint3d(0, 0, 0), tkxPoint3d(4, 0, 0), tkxPoint3d(0, 4, 0));

TEST(Triangle, SetRejectsCoincidentCorners)
{
    tkxTriangle3d tri = kFlat;
    EXPECT_FALSE(tri.Set(tkxPoint3d(1, 1, 1), tkxPoint3d(1 + 5e-7, 1, 1), tkxPoint3d(5, 5, 5)));
    EXPECT_FALSE(tri.Set(tkxPoint3d(1, 1, 1), tkxPoint3d(5, 5, 5), tkxPoint3d(1, 1, 1 + 5e-7)));
    EXPECT_TRUE(tri.Point1() == tkxPoint3d(4, 0, 0)); // unchanged
    EXPECT_TRUE(tri.Set(tkxPoint3d(0, 0, 0), tkxPoint3d(1, 1, 1), tkxPoint3d(2, 2, 2))); // colinear is fine
    EXPECT_TRUE(tri.Point2() == tkxPoint3d(2, 2, 2));
}

TEST(Triangle, SignedDoubleAreaAndNormal)
{
    EXPECT_DOUBLE_EQ(tkxTriangle3d::GetArea(tkxPoint3d(0, 0, 0), tkxPoint3d(1, 0, 0), tkxPoint3d(0, 1, 0)), 1.0);
    EXPECT_DOUBLE_EQ(tkxTriangle3d::GetArea(tkxPoint3d(0, 0, 0), tkxPoint3d(0, 1, 0), tkxPoint3d(1, 0, 0)), -1.0);
    const tkxVector3d n = kFlat.Normal();
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(n.y, 0.0);
    EXPECT_DOUBLE_EQ(n.z, 1.0);
    EXPECT_STREQ(kFlat.ToString().GetString(), L"[0.000,0.000-4.000,0.000-0.000,4.000]");
}

TEST(Triangle, BoundingBoxesTouchingCounts)
{
    EXPECT_TRUE(kFlat.BoundingIntersect(tkxPoint3d(1, 1, -1), tkxPoint3d(1, 1, 1)));
    EXPECT_TRUE(kFlat.BoundingIntersect(tkxPoint3d(4, 4, 0), tkxPoint3d(8, 8, 3))); // corner touch
    EXPECT_FALSE(kFlat.BoundingIntersect(tkxPoint3d(1, 1, 0.5), tkxPoint3d(2, 2, 3)));
    EXPECT_FALSE(kFlat.BoundingIntersect(tkxPoint3d(-3, 1, 0), tkxPoint3d(-1, 2, 0)));
}

TEST(Triangle, SegmentIntersectionModes)
{
    struct Case {
        const char* name;
        tkxPoint3d p, q;
        bool hit[3];   // modes 0, 1, 2
        double t;      // crossing parameter along p->q when hit
    };
    const Case cases[] = {
        {"crossing", {1, 1, -1}, {1, 1, 1}, {true, true, true}, 0.5},
        {"ends on the plane", {1, 1, 2}, {1, 1, 0}, {true, true, true}, 1.0},
        {"ends 1e-9 short", {1, 1, 2}, {1, 1, 1e-9}, {true, true, true}, 1.0 + 5e-10},
        {"ends well short", {1, 1, 2}, {1, 1, 1}, {false, true, false}, 2.0},
        {"starts beyond", {1, 1, -1}, {1, 1, -2}, {true, false, false}, -1.0},
        {"misses the triangle", {3, 3, -1}, {3, 3, 1}, {false, false, false}, 0},
        {"parallel to the plane", {1, 1, 1}, {2, 1, 1}, {false, false, false}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int mode = 0; mode < 3; ++mode) {
            tkxPoint3d out(-7, -7, -7);
            const bool hit = kFlat.Intersect(c.p, c.q, out, static_cast<enIntersectMode>(mode));
            EXPECT_EQ(hit, c.hit[mode]) << "mode " << mode;
            if (hit) {
                EXPECT_NEAR(out.x, c.p.x + c.t * (c.q.x - c.p.x), 1e-12);
                EXPECT_NEAR(out.y, c.p.y + c.t * (c.q.y - c.p.y), 1e-12);
                EXPECT_NEAR(out.z, 0.0, 1e-9);
            } else {
                EXPECT_TRUE(out == tkxPoint3d(-7, -7, -7));
            }
        }
    }
    // Any mode other than 0 and 1 is the plain segment.
    tkxPoint3d out;
    EXPECT_FALSE(kFlat.Intersect(tkxPoint3d(1, 1, 2), tkxPoint3d(1, 1, 1), out, static_cast<enIntersectMode>(7)));
    EXPECT_TRUE(kFlat.Intersect(tkxPoint3d(1, 1, 2), tkxPoint3d(1, 1, -1), out, static_cast<enIntersectMode>(7)));
}

TEST(Triangle, TriangleIntersection)
{
    // An upright triangle through the flat one along x = 1.
    const tkxTriangle3d upright(tkxPoint3d(1, -1, -2), tkxPoint3d(1, 2, 2), tkxPoint3d(1, 3, -2));
    tkxLine3d seg;
    ASSERT_TRUE(kFlat.Intersect(upright, seg));
    const tkxPoint3d a = seg.StartPoint(), b = seg.EndPoint();
    for (const tkxPoint3d& p : {a, b}) {
        EXPECT_NEAR(p.x, 1.0, 1e-12);
        EXPECT_NEAR(p.z, 0.0, 1e-12);
        EXPECT_GE(p.y, 0.0 - 1e-12);
        EXPECT_LE(p.y, 3.0 + 1e-12);
    }
    EXPECT_GT(a.Distance3dTo(b), 1.0);

    // Far away: no crossing, out untouched.
    const tkxTriangle3d apart(tkxPoint3d(10, 10, -1), tkxPoint3d(12, 10, 1), tkxPoint3d(10, 12, 1));
    tkxLine3d untouched(tkxPoint3d(1, 2, 3), tkxPoint3d(4, 5, 6));
    EXPECT_FALSE(kFlat.Intersect(apart, untouched));
    EXPECT_TRUE(untouched.StartPoint() == tkxPoint3d(1, 2, 3));
    EXPECT_TRUE(untouched.EndPoint() == tkxPoint3d(4, 5, 6));
}

TEST(Triangle, CircumscribedCircle)
{
    tkxTriangle3d tri(tkxPoint3d(0, 0, 0), tkxPoint3d(2, 0, 0), tkxPoint3d(0, 2, 0));
    tkxPoint3d centre(0, 0, 0);
    double radius = 0;
    ASSERT_TRUE(tri.GetOutCircle(centre, radius));
    EXPECT_NEAR(centre.x, 1, 1e-12);
    EXPECT_NEAR(centre.y, 1, 1e-12);
    EXPECT_NEAR(radius, std::sqrt(2.0), 1e-12);

    // The centre's z is the caller's and counts in the radius.
    centre.z = 5;
    ASSERT_TRUE(tri.GetOutCircle(centre, radius));
    EXPECT_EQ(centre.z, 5.0);
    EXPECT_NEAR(radius, std::sqrt(27.0), 1e-12);

    // Any plan triangle: the centre is equally far from all three corners.
    const tkxPoint3d corners[][3] = {
        {{352100.5, 4021300.25, 0}, {352180.75, 4021260.5, 0}, {352150, 4021400, 0}},
        {{-3, 7, 0}, {5, -2, 0}, {1, 1, 0}},
        {{0, 0, 0}, {0, 10, 0}, {1e-3, 5, 0}},
    };
    for (const auto& c : corners) {
        tkxPoint3d m;
        ASSERT_TRUE(tkxTriangle3d(c[0], c[1], c[2]).GetOutCircle(m, radius));
        for (const tkxPoint3d& p : c)
            EXPECT_NEAR(m.Distance2dTo(p), radius, 1e-6 * radius);
    }
}

TEST(Triangle, CircumscribedCircleOfColinearCornersFails)
{
    const tkxPoint3d cases[][3] = {
        {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}},     // P1 between: same direction from P0
        {{1, 1, 0}, {0, 0, 0}, {2, 2, 0}},     // P0 between: opposite directions
        {{1, 0, 0}, {1, 5, 0}, {1, -3, 0}},    // vertical
        {{0, 2, 0}, {5, 2, 0}, {-3, 2, 0}},    // horizontal
    };
    for (const auto& c : cases) {
        tkxPoint3d centre(7, 7, 7);
        double radius = 3;
        EXPECT_FALSE(tkxTriangle3d(c[0], c[1], c[2]).GetOutCircle(centre, radius));
        EXPECT_TRUE(centre == tkxPoint3d(7, 7, 7));
        EXPECT_EQ(radius, 3.0);
    }
}

} // namespace
