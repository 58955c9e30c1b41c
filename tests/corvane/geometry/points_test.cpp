// Points and vectors: angle conventions, tolerant comparisons, indexing,
// vector algebra and rotations, and the archive form of the points.
#include "corvane/geometry/Points.h"
#include "corvane/geometry/Vectors.h"
#include "geometry_archive_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace geometry_test;

namespace {

const double kPi = 3.14159265358979323846;
const double kEps = 1e-12;

// ------------------------------------------------------------------ angles

struct AngleCase {
    double bx, by;    // target seen from the origin
    double direction; // expected direction angle
    double azimuth;   // expected plan azimuth
};

const AngleCase kAngleCases[] = {
    {1, 0, 0, kPi / 2},
    {0, 1, kPi / 2, 0},
    {-1, 0, kPi, 3 * kPi / 2},
    {0, -1, 3 * kPi / 2, kPi},
    {1, 1, kPi / 4, kPi / 4},
    {-1, 1, 3 * kPi / 4, 7 * kPi / 4},
    {-1, -1, 5 * kPi / 4, 5 * kPi / 4},
    {1, -1, 7 * kPi / 4, 3 * kPi / 4},
    {0, 0, 0, kPi / 2},               // coincident points
    {5e-7, 2, kPi / 2, 0},            // dx below 1e-6 counts as vertical
    {-5e-7, -2, 3 * kPi / 2, kPi},
    {3, 5e-7, 0, kPi / 2},            // dy below 1e-6 counts as horizontal
    {-3, -5e-7, kPi, 3 * kPi / 2},
};

TEST(PointAngles, DirectionAndAzimuthFromOrigin)
{
    for (const AngleCase& c : kAngleCases) {
        SCOPED_TRACE(testing::Message() << "to (" << c.bx << ", " << c.by << ")");
        const tkxPoint2d a2(0, 0), b2(c.bx, c.by);
        const tkxPoint3d a3(0, 0, 7), b3(c.bx, c.by, -4); // z plays no part
        EXPECT_NEAR(a2.Angle(b2), c.direction, kEps);
        EXPECT_NEAR(a2.Azimuth(b2), c.azimuth, kEps);
        EXPECT_NEAR(a3.Angle2d(b3), c.direction, kEps);
        EXPECT_NEAR(a3.Azimuth2d(b3), c.azimuth, kEps);
    }
}

TEST(PointAngles, StayInRangeAndAzimuthIsQuarterTurnMinusDirection)
{
    // Points all round a circle about an arbitrary centre.
    const tkxPoint3d centre(500.25, -120.5, 3);
    for (int deg = 0; deg < 360; deg += 7) {
        const double a = deg * kPi / 180.0 + 0.01;
        const tkxPoint3d p(centre.x + 40 * std::cos(a), centre.y + 40 * std::sin(a), 0);
        const double dir = centre.Angle2d(p);
        const double az = centre.Azimuth2d(p);
        SCOPED_TRACE(deg);
        EXPECT_GE(dir, 0.0);
        EXPECT_LT(dir, 2 * kPi);
        EXPECT_GE(az, 0.0);
        EXPECT_LT(az, 2 * kPi);
        EXPECT_NEAR(dir, std::fmod(a, 2 * kPi), 1e-9);
        EXPECT_NEAR(std::fmod(az + dir, 2 * kPi), kPi / 2, 1e-9);
        // A step along the azimuth adds d*sin(az) to x and d*cos(az) to y.
        EXPECT_NEAR(centre.x + 40 * std::sin(az), p.x, 1e-9);
        EXPECT_NEAR(centre.y + 40 * std::cos(az), p.y, 1e-9);
    }
}

// ------------------------------------------------------------- comparisons

TEST(PointCompare, Point2dEqualityIsStrictOnBothSides)
{
    struct Case {
        double dx, dy;
        int eq, ne;
    };
    const Case cases[] = {
        {0, 0, 1, 0},
        {5e-7, -5e-7, 1, 0},
        {1e-6, 0, 0, 0}, // exactly the tolerance: neither equal nor unequal
        {0, -1e-6, 0, 0},
        {2e-6, 0, 0, 1},
        {0, -3e-6, 0, 1},
    };
    const tkxPoint2d base(0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
        const tkxPoint2d other(c.dx, c.dy);
        EXPECT_EQ(base == other, c.eq);
        EXPECT_EQ(base != other, c.ne);
    }
}

TEST(PointCompare, Point3dEqualityLooksAtZ)
{
    EXPECT_TRUE(tkxPoint3d(1, 2, 3) == tkxPoint3d(1 + 5e-7, 2 - 5e-7, 3 + 5e-7));
    EXPECT_FALSE(tkxPoint3d(1, 2, 3) == tkxPoint3d(1, 2, 3 + 2e-6));
    EXPECT_FALSE(tkxPoint3d(1, 2, 3) == tkxPoint3d(1, 2, 3 + 1e-6 + 1e-9));
}

// ---------------------------------------------------------------- indexing

TEST(PointIndex, OutOfRangeFallsBackToXOrZero)
{
    tkxPoint2d p2(1, 2);
    const tkxPoint2d& c2 = p2;
    EXPECT_EQ(&p2[0], &p2.x);
    EXPECT_EQ(&p2[1], &p2.y);
    EXPECT_EQ(&p2[2], &p2.x);
    EXPECT_EQ(&p2[-1], &p2.x);
    EXPECT_EQ(c2[0], 1.0);
    EXPECT_EQ(c2[1], 2.0);
    EXPECT_EQ(c2[2], 0.0);

    tkxPoint3d p3(1, 2, 3);
    const tkxPoint3d& c3 = p3;
    EXPECT_EQ(&p3[0], &p3.x);
    EXPECT_EQ(&p3[1], &p3.y);
    EXPECT_EQ(&p3[2], &p3.z);
    EXPECT_EQ(&p3[5], &p3.x);
    p3[5] = 9;
    EXPECT_EQ(p3.x, 9.0);
    EXPECT_EQ(c3[2], 3.0);
    EXPECT_EQ(c3[5], 0.0);
    EXPECT_EQ(c3[-1], 0.0);
}

// ------------------------------------------------- construction, arithmetic

TEST(PointBasics, ConstructFromArraysAndNullArrays)
{
    const double xyz[3] = {4, 5, 6};
    const tkxPoint2d p2(xyz);
    EXPECT_EQ(p2.x, 4.0);
    EXPECT_EQ(p2.y, 5.0);
    const tkxPoint3d p3(xyz);
    EXPECT_EQ(p3.z, 6.0);

    // A null array leaves a new point at the origin and an old one as it was.
    const double* none = nullptr;
    const tkxPoint3d q(none);
    EXPECT_TRUE(q == tkxPoint3d(0, 0, 0));
    tkxPoint3d r(1, 2, 3);
    EXPECT_EQ(r = none, 1);
    EXPECT_TRUE(r == tkxPoint3d(1, 2, 3));
    tkxPoint2d s(7, 8);
    s.Set(none);
    EXPECT_TRUE(s == tkxPoint2d(7, 8));
}

TEST(PointBasics, ArithmeticAndCompoundResults)
{
    tkxPoint2d a(1, 2);
    const tkxPoint2d b(3, -4);
    EXPECT_TRUE(a + b == tkxPoint2d(4, -2));
    EXPECT_TRUE(a - b == tkxPoint2d(-2, 6));
    EXPECT_TRUE(-a == tkxPoint2d(-1, -2));
    EXPECT_TRUE(b * 2 == tkxPoint2d(6, -8));
    EXPECT_TRUE(b / 2 == tkxPoint2d(1.5, -2));
    a += b;
    EXPECT_TRUE(a == tkxPoint2d(4, -2));
    const tkxPoint2d scaled = (a *= 0.5);
    EXPECT_TRUE(scaled == tkxPoint2d(2, -1));
    EXPECT_TRUE(a == tkxPoint2d(2, -1));

    tkxPoint3d p(1, 2, 3);
    const tkxPoint3d moved = (p += tkxVector3d(1, 1, 1));
    EXPECT_TRUE(moved == tkxPoint3d(2, 3, 4));
    EXPECT_TRUE((p -= tkxPoint3d(2, 3, 4)) == tkxPoint3d(0, 0, 0));
    EXPECT_TRUE(tkxPoint3d(2, 4, 6) / 2 == tkxPoint3d(1, 2, 3));
    EXPECT_TRUE(tkxPoint3d(1, 2, 3) + tkxVector3d() == tkxPoint3d(1, 2, 4));
    EXPECT_EQ(p = tkxVector3d(7, 8, 9), 1);
    EXPECT_TRUE(p == tkxPoint3d(7, 8, 9));
}

TEST(PointMeasures, LengthsMidpointsAndPolar)
{
    EXPECT_DOUBLE_EQ(tkxPoint2d(3, 4).GetLength(), 5.0);
    EXPECT_DOUBLE_EQ(tkxPoint2d(1, 1).DistanceTo(tkxPoint2d(4, 5)), 5.0);
    EXPECT_TRUE(tkxPoint2d(0, 0).GetMidPoint(tkxPoint2d(2, -6)) == tkxPoint2d(1, -3));
    EXPECT_DOUBLE_EQ(tkxPoint3d(2, 3, 6).Length(), 7.0);
    EXPECT_DOUBLE_EQ(tkxPoint3d(1, 1, 1).Distance3dTo(tkxPoint3d(3, 4, 7)), 7.0);
    EXPECT_DOUBLE_EQ(tkxPoint3d(1, 1, 1).Distance2dTo(tkxPoint3d(4, 5, 70)), 5.0);
    EXPECT_TRUE(tkxPoint3d(0, 0, 0).GetMidPoint(tkxPoint3d(2, 4, 6)) == tkxPoint3d(1, 2, 3));

    const tkxPoint3d p = tkxPoint3d(1, 1, 5).Polar(kPi / 2, 2);
    EXPECT_NEAR(p.x, 1, kEps);
    EXPECT_NEAR(p.y, 3, kEps);
    EXPECT_EQ(p.z, 5.0);
    // A distance below 1e-6 gives the point itself.
    const tkxPoint2d q = tkxPoint2d(1.25, 2.5).Polar(1.0, 9e-7);
    EXPECT_EQ(q.x, 1.25);
    EXPECT_EQ(q.y, 2.5);
}

TEST(PointMeasures, SlopeTable)
{
    struct Case {
        tkxPoint3d a, b;
        double slope;
    };
    const Case cases[] = {
        {{0, 0, 0}, {2, 1, 0}, 0.5},
        {{1, 1, 0}, {-1, 5, 0}, -2.0},
        {{3, 3, 0}, {3, 3, 10}, 0.0},       // coincident in plan
        {{3, 3, 0}, {3, 3 + 5e-9, 0}, 0.0}, // closer than 1e-8 in plan
        {{3, 3, 0}, {3, 7, 0}, 1e99},       // vertical, up
        {{3, 3, 0}, {3 + 5e-9, -7, 0}, 1e99}, // vertical, down: still +1e99
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a.ToString().GetString() << " " << c.b.ToString().GetString());
        EXPECT_DOUBLE_EQ(c.a.GetSlope(c.b), c.slope);
    }
}

TEST(PointText, ToStringAndWindowPoint)
{
    EXPECT_STREQ(tkxPoint3d(1, 2, 3).ToString().GetString(), L"1.000,2.000");
    EXPECT_STREQ(tkxPoint2d(-0.5, 1234.56789).ToString().GetString(), L"-0.500,1234.568");

    const CPoint pt = tkxPoint2d(2.9, -2.9).ToCPoint();
    EXPECT_EQ(pt.x, 2);
    EXPECT_EQ(pt.y, -2);
    // Coordinates beyond the int range stay at its ends instead of wrapping.
    const CPoint outside = tkxPoint2d(1e12, -1e12).ToCPoint();
    EXPECT_EQ(outside.x, INT_MAX);
    EXPECT_EQ(outside.y, INT_MIN);
}

// ----------------------------------------------------------------- vectors

TEST(Vectors, DefaultsUnitAndNormalize)
{
    const tkxVector3d v3;
    EXPECT_EQ(v3.x, 0.0);
    EXPECT_EQ(v3.y, 0.0);
    EXPECT_EQ(v3.z, 1.0);
    const tkxVector2d v2;
    EXPECT_EQ(v2.x, 0.0);
    EXPECT_EQ(v2.y, 0.0);

    const tkxVector2d zero = tkxVector2d().Unit();
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    const tkxVector2d u2 = tkxVector2d(3, -4).Unit();
    EXPECT_DOUBLE_EQ(u2.x, 0.6);
    EXPECT_DOUBLE_EQ(u2.y, -0.8);

    // Shorter than 1e-8: left as it is.
    tkxVector3d tiny(3e-9, 0, 4e-9);
    tiny.Normalize();
    EXPECT_EQ(tiny.x, 3e-9);
    EXPECT_EQ(tiny.z, 4e-9);
    tkxVector3d v(0, 3, 4);
    v.Normalize();
    EXPECT_DOUBLE_EQ(v.Mag(), 1.0);
    EXPECT_DOUBLE_EQ(v.z, 0.8);
}

TEST(Vectors, ProductsAndMeasures)
{
    const tkxVector3d x(1, 0, 0), y(0, 1, 0);
    const tkxVector3d z = x * y;
    EXPECT_EQ(z.x, 0.0);
    EXPECT_EQ(z.y, 0.0);
    EXPECT_EQ(z.z, 1.0);
    const tkxVector3d c = tkxVector3d(2, 3, 4) * tagVECTOR3D{5, 6, 7};
    EXPECT_EQ(c.x, 3 * 7 - 4 * 6.0);
    EXPECT_EQ(c.y, 4 * 5 - 2 * 7.0);
    EXPECT_EQ(c.z, 2 * 6 - 3 * 5.0);
    tkxVector3d a(2, 3, 4);
    const tkxVector3d r = (a *= tkxVector3d(5, 6, 7));
    EXPECT_EQ(a.x, c.x);
    EXPECT_EQ(r.z, c.z);

    EXPECT_EQ(tkxVector2d(2, 3) * tkxVector2d(5, 7), 2 * 7 - 3 * 5.0);
    EXPECT_EQ(tkxVector2d(2, 3).Dot(5, 7), 31.0);
    EXPECT_EQ(tkxVector3d(1, 2, 3).Dot(tagVECTOR3D{4, 5, 6}), 32.0);
    EXPECT_DOUBLE_EQ(tkxVector3d(1, 2, 3).Distance(4, 6, 15), 13.0);
    EXPECT_EQ(tkxVector3d(1, 2, 2).MagSquared(), 9.0);

    tkxVector3d s(1, 2, 3);
    s.Scale(2, 0.5, -1);
    EXPECT_EQ(s.x, 2.0);
    EXPECT_EQ(s.y, 1.0);
    EXPECT_EQ(s.z, -3.0);

    const tkxVector3d n = tkxVector3d::GetNormal(tkxPoint3d(1, 1, 1), tkxPoint3d(3, 1, 1), tkxPoint3d(1, 4, 1));
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(n.y, 0.0);
    EXPECT_EQ(n.z, 6.0); // 2 * 3, not normalised
}

TEST(Vectors, NormalOfRecords)
{
    const tagVECTOR3D fromVertices =
        tkxVector3d::Noraml(tagVERTEX3D{0, 0, 0}, tagVERTEX3D{2, 0, 0}, tagVERTEX3D{0, 2, 0});
    EXPECT_EQ(fromVertices.z, 4.0);

    // Homogeneous points are divided by w; a w of zero counts as 1.
    const tagVECTOR3D fromHomo = tkxVector3d::Noraml(
        tagHOMOCOORD{2, 2, 0, 2}, tagHOMOCOORD{6, 2, 0, 2}, tagHOMOCOORD{1, 3, 0, 0});
    // Points (1,1,0), (3,1,0), (1,3,0).
    EXPECT_EQ(fromHomo.x, 0.0);
    EXPECT_EQ(fromHomo.y, 0.0);
    EXPECT_EQ(fromHomo.z, 4.0);
}

TEST(VectorRotation, QuarterTurns)
{
    struct Case {
        const char* name;
        void (tkxVector3d::*rotate)(double);
        tkxVector3d from, to;
    };
    const Case cases[] = {
        {"Z", &tkxVector3d::RotateZ, {1, 0, 0}, {0, 1, 0}},
        {"Z", &tkxVector3d::RotateZ, {0, 1, 0}, {-1, 0, 0}},
        {"X", &tkxVector3d::RotateX, {0, 1, 0}, {0, 0, 1}},
        {"X", &tkxVector3d::RotateX, {0, 0, 1}, {0, -1, 0}},
        {"Y", &tkxVector3d::RotateY, {0, 0, 1}, {1, 0, 0}},
        {"Y", &tkxVector3d::RotateY, {1, 0, 0}, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tkxVector3d v = c.from;
        (v.*c.rotate)(90);
        EXPECT_NEAR(v.x, c.to.x, kEps);
        EXPECT_NEAR(v.y, c.to.y, kEps);
        EXPECT_NEAR(v.z, c.to.z, kEps);
    }

    tkxVector2d v2(1, 0);
    v2.Rotate(kPi / 2);
    EXPECT_NEAR(v2.x, 0, kEps);
    EXPECT_NEAR(v2.y, 1, kEps);
}

TEST(VectorRotation, FullTurnReturnsAndLengthIsKept)
{
    const tkxVector3d start(1.5, -2.25, 0.75);
    const tkxVector3d axis = tkxVector3d(1, 2, -2).Unit();

    for (auto rotate : {&tkxVector3d::RotateX, &tkxVector3d::RotateY, &tkxVector3d::RotateZ}) {
        tkxVector3d v = start;
        (v.*rotate)(360);
        EXPECT_NEAR(v.Distance(start), 0, 1e-12);
        (v.*rotate)(123.4);
        EXPECT_NEAR(v.Mag(), start.Mag(), 1e-12);
    }

    tkxVector3d v = start;
    v.Rotate(2 * kPi, axis);
    EXPECT_NEAR(v.Distance(start), 0, 1e-12);
    // A quarter turn about a unit axis keeps the length and the component
    // along the axis.
    v.Rotate(kPi / 2, axis.Get());
    EXPECT_NEAR(v.Mag(), start.Mag(), 1e-12);
    EXPECT_NEAR(v.Dot(axis), start.Dot(axis), 1e-12);
    EXPECT_NEAR(v.Dot(start) - start.Dot(axis) * start.Dot(axis), 0, 1e-12);

    // RotateZ in degrees is Rotate in radians about +z.
    tkxVector3d a = start, b = start;
    a.RotateZ(30);
    b.Rotate(kPi / 6, 0, 0, 1);
    EXPECT_NEAR(a.Distance(b), 0, 1e-12);

    tkxVector2d p(3, 4);
    p.Rotate(2 * kPi);
    EXPECT_NEAR(p.x, 3, 1e-12);
    EXPECT_NEAR(p.y, 4, 1e-12);
}

TEST(VectorSide, AgreesWithCrossProductSign)
{
    const tkxVector2d dirs2[] = {{1, 0}, {0, 1}, {-2, 3}, {5, -1}};
    const tkxPoint2d pts[] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {3, 4}, {-2, 3}, {4, -0.8}, {0, 0}};
    for (const tkxVector2d& d : dirs2) {
        for (const tkxPoint2d& p : pts) {
            const double cross = d.x * p.y - d.y * p.x;
            const int expected = cross > 0 ? 1 : (cross < 0 ? -1 : 0);
            SCOPED_TRACE(testing::Message() << d.x << "," << d.y << " / " << p.x << "," << p.y);
            EXPECT_EQ(d.LeftOrRight(p), expected);
            EXPECT_EQ(tkxVector3d(d.x, d.y, 9).LeftOrRight(tkxPoint3d(p.x, p.y, -9)), expected);
        }
    }
    // The tolerance is 1e-20: a cross product of 1e-19 already counts.
    EXPECT_EQ(tkxVector2d(1, 0).LeftOrRight(tkxPoint2d(5, 1e-19)), DIR_LEFT);
    EXPECT_EQ(tkxVector2d(1, 0).LeftOrRight(tkxPoint2d(5, 1e-21)), DIR_NONE);
}

// ----------------------------------------------------------------- archive

const Bytes kPoint2dClass = {0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00,
                             't', 'k', 'x', 'P', 'o', 'i', 'n', 't', '2', 'd'};
const Bytes kPoint3dClass = {0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00,
                             't', 'k', 'x', 'P', 'o', 'i', 'n', 't', '3', 'd'};

TEST(PointArchive, DirectFormIsTheBareDoubles)
{
    tkxPoint2d p2(1.0, -0.5);
    tkxPoint3d p3(2.0, 3.0, 10.0);
    EXPECT_EQ(StoreToBytes([&](CArchive& ar) { p2.Serialize(ar); }), Concat({kDbl1, kDblM05}));
    EXPECT_EQ(StoreToBytes([&](CArchive& ar) { p3.Serialize(ar); }), Concat({kDbl2, kDbl3, kDbl10}));

    tkxPoint3d back(7, 7, 7);
    LoadFromBytes(Concat({kDbl1_5, kDblM05, kDbl0}), [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(back.x, 1.5);
    EXPECT_EQ(back.y, -0.5);
    EXPECT_EQ(back.z, 0.0);
}

// Two 2-D points, the first again, a null pointer, then two 3-D points.
const Bytes kPointerStream = Concat({
    kPoint2dClass, kDbl1, kDbl2,      // class 1, object 2
    {0x01, 0x80}, kDbl3, kDblM05,     // class 1 seen before; object 3
    {0x02, 0x00},                     // object 2 again
    {0x00, 0x00},                     // null
    kPoint3dClass, kDbl1, kDbl2, kDbl3, // class 4, object 5
    {0x04, 0x80}, kDbl0, kDbl0, kDbl10, // class 4 seen before; object 6
});

TEST(PointArchive, ThroughPointersWithClassRecords)
{
    tkxPoint2d a(1, 2), b(3, -0.5);
    tkxPoint3d c(1, 2, 3), d(0, 0, 10);
    const Bytes bytes = StoreToBytes([&](CArchive& ar) {
        ar << &a << &b << &a;
        ar << static_cast<const CObject*>(nullptr);
        ar << &c << &d;
    });
    EXPECT_EQ(bytes, kPointerStream);
}

TEST(PointArchive, ReadBackThroughPointers)
{
    tkxPoint2d *a = nullptr, *b = nullptr, *again = nullptr, *none = nullptr;
    tkxPoint3d *c = nullptr, *d = nullptr;
    LoadFromBytes(kPointerStream, [&](CArchive& ar) { ar >> a >> b >> again >> none >> c >> d; });
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(c, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(again, a); // the repeated object comes back as the same object
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(a->x, 1.0);
    EXPECT_EQ(a->y, 2.0);
    EXPECT_EQ(b->x, 3.0);
    EXPECT_EQ(b->y, -0.5);
    EXPECT_TRUE(*c == tkxPoint3d(1, 2, 3));
    EXPECT_TRUE(*d == tkxPoint3d(0, 0, 10));
    EXPECT_TRUE(a->IsKindOf(RUNTIME_CLASS(tkxPoint2d)));
    EXPECT_TRUE(c->IsKindOf(RUNTIME_CLASS(tkxPoint3d)));
    EXPECT_EQ(RUNTIME_CLASS(tkxPoint3d)->m_wSchema, 1u);
    delete a;
    delete b;
    delete c;
    delete d;
}

TEST(PointArchive, DamagedStreamsRaiseArchiveExceptions)
{
    tkxPoint2d* p2 = nullptr;
    tkxPoint3d* p3 = nullptr;
    auto read2 = [&](CArchive& ar) { ar >> p2; };
    auto read3 = [&](CArchive& ar) { ar >> p3; };

    Bytes schema2 = Concat({kPoint2dClass, kDbl1, kDbl2});
    schema2[2] = 0x02;
    EXPECT_EQ(LoadFailureCause(schema2, read2), CArchiveException::badSchema);

    const Bytes cut3 = Concat({kPoint3dClass, kDbl1, kDbl2}); // z missing
    EXPECT_EQ(LoadFailureCause(cut3, read3), CArchiveException::endOfFile);

    const Bytes cutClass(kPoint2dClass.begin(), kPoint2dClass.begin() + 9);
    EXPECT_EQ(LoadFailureCause(cutClass, read2), CArchiveException::endOfFile);

    tkxPoint2d direct;
    const Bytes cutDirect(kDbl1.begin(), kDbl1.begin() + 5);
    EXPECT_EQ(LoadFailureCause(cutDirect, [&](CArchive& ar) { direct.Serialize(ar); }),
              CArchiveException::endOfFile);
}

} // namespace
