// The owned point list: index rules, ownership on copy, search, and its
// archive form.
#include "corvane/geometry/Point3dArray.h"
#include "geometry_archive_helpers.h"

#include <gtest/gtest.h>

using namespace geometry_test;

namespace {

tkxPoint3dArray MakeArray(std::initializer_list<tkxPoint3d> points)
{
    tkxPoint3dArray arr;
    for (const tkxPoint3d& p : points)
        arr.Add(p);
    return arr;
}

void ExpectPoints(const tkxPoint3dArray& arr, std::initializer_list<tkxPoint3d> expected)
{
    ASSERT_EQ(arr.GetCount(), static_cast<int>(expected.size()));
    int i = 0;
    for (const tkxPoint3d& p : expected) {
        EXPECT_TRUE(arr[i] == p) << "index " << i << ": " << arr[i].ToString().GetString();
        ++i;
    }
}

TEST(Point3dArray, InvalidIndexesTouchNothing)
{
    tkxPoint3dArray arr = MakeArray({{1, 1, 1}, {2, 2, 2}});
    for (int index : {-1, 2, 100}) {
        SCOPED_TRACE(index);
        tkxPoint3d out(9, 9, 9);
        EXPECT_EQ(arr.GetAt(index, out), 0);
        EXPECT_TRUE(out == tkxPoint3d(9, 9, 9));
        EXPECT_TRUE(arr[index] == tkxPoint3d(0, 0, 0));
        EXPECT_EQ(arr.SetAt(index, tkxPoint3d(5, 5, 5)), 0);
        EXPECT_EQ(arr.InsertAt(index, tkxPoint3d(5, 5, 5)), 0);
        EXPECT_EQ(arr.RemoveAt(index), 0);
    }
    ExpectPoints(arr, {{1, 1, 1}, {2, 2, 2}});

    tkxPoint3dArray empty;
    EXPECT_EQ(empty.InsertAt(0, tkxPoint3d(1, 2, 3)), 0);
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(Point3dArray, EditsByIndex)
{
    tkxPoint3dArray arr = MakeArray({{0, 0, 0}});
    // InsertAt puts the new point after the given index.
    EXPECT_EQ(arr.InsertAt(0, tkxPoint3d(2, 0, 0)), 1);
    ExpectPoints(arr, {{0, 0, 0}, {2, 0, 0}});
    EXPECT_EQ(arr.InsertAt(0, tkxPoint3d(1, 0, 0)), 1);
    EXPECT_EQ(arr.InsertAt(2, tkxPoint3d(3, 0, 0)), 1);
    ExpectPoints(arr, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});

    EXPECT_EQ(arr.SetAt(3, tkxPoint3d(3, 3, 3)), 1);
    EXPECT_EQ(arr.RemoveAt(0), 1);
    tkxPoint3d out;
    EXPECT_EQ(arr.GetAt(2, out), 1);
    EXPECT_TRUE(out == tkxPoint3d(3, 3, 3));
    ExpectPoints(arr, {{1, 0, 0}, {2, 0, 0}, {3, 3, 3}});
    arr.RemoveAll();
    EXPECT_EQ(arr.GetCount(), 0);
}

TEST(Point3dArray, CopiesOwnTheirPoints)
{
    const tkxPoint3dArray original = MakeArray({{1, 2, 3}, {4, 5, 6}});
    tkxPoint3dArray copy(original);
    copy.SetAt(0, tkxPoint3d(0, 0, 0));
    EXPECT_TRUE(original[0] == tkxPoint3d(1, 2, 3));

    tkxPoint3dArray assigned = MakeArray({{7, 7, 7}, {8, 8, 8}, {9, 9, 9}});
    EXPECT_EQ(assigned = original, 2);
    ExpectPoints(assigned, {{1, 2, 3}, {4, 5, 6}});
    tkxPoint3d* first = assigned.FindPoint3d(tkxPoint3d(1, 2, 3), 1e-6);
    ASSERT_NE(first, nullptr);
    first->z = 30; // the found pointer is the array's own point
    EXPECT_TRUE(assigned[0] == tkxPoint3d(1, 2, 30));
    EXPECT_TRUE(original[0] == tkxPoint3d(1, 2, 3));

    tkxPoint3dArray& self = assigned;
    EXPECT_EQ(assigned = self, 2);
    ExpectPoints(assigned, {{1, 2, 30}, {4, 5, 6}});

    assigned.Append(original);
    EXPECT_EQ(assigned.GetCount(), 4);
    assigned.Append(assigned); // appending to itself doubles it once
    ExpectPoints(assigned, {{1, 2, 30}, {4, 5, 6}, {1, 2, 3}, {4, 5, 6},
                            {1, 2, 30}, {4, 5, 6}, {1, 2, 3}, {4, 5, 6}});
}

TEST(Point3dArray, FindTakesTheFirstPointStrictlyWithinTolerance)
{
    tkxPoint3dArray arr = MakeArray({{0, 0, 5}, {3, 4, 0}, {3, 4, 100}, {3.5, 4, 0}});
    struct Case {
        tkxPoint3d p;
        double tol;
        int index3d; // -1: none
        int index2d;
    };
    const Case cases[] = {
        {{3, 4, 100}, 0.5, 2, 1},  // in plan the first (3,4) wins
        {{0, 0, 0}, 5.0, -1, 0},   // distance exactly 5 in space is not below 5
        {{0, 0, 0}, 5.0001, 0, 0},
        {{3.25, 4, 0}, 0.25, -1, -1}, // 0.25 from both (3,4,0) and (3.5,4,0)
        {{3.25, 4, 0}, 0.2501, 1, 1},
        {{50, 50, 50}, 1.0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.ToString().GetString() << " tol " << c.tol);
        tkxPoint3d* found3 = arr.FindPoint3d(c.p, c.tol);
        tkxPoint3d* found2 = arr.FindPoint2d(c.p, c.tol);
        if (c.index3d < 0) {
            EXPECT_EQ(found3, nullptr);
        } else {
            ASSERT_NE(found3, nullptr);
            EXPECT_TRUE(*found3 == arr[c.index3d]);
        }
        if (c.index2d < 0) {
            EXPECT_EQ(found2, nullptr);
        } else {
            ASSERT_NE(found2, nullptr);
            EXPECT_TRUE(*found2 == arr[c.index2d]);
        }
    }
}

// ----------------------------------------------------------------- archive

const Bytes kTwoPoints = Concat({
    {0x02, 0x00, 0x00, 0x00},  // count
    kDbl1, kDbl2, kDbl3,
    kDblM05, kDbl0, kDbl10,
});

TEST(Point3dArrayArchive, DirectFormIsCountThenCoordinates)
{
    tkxPoint3dArray arr = MakeArray({{1, 2, 3}, {-0.5, 0, 10}});
    const Bytes bytes = StoreToBytes([&](CArchive& ar) { arr.Serialize(ar); });
    EXPECT_EQ(bytes.size(), 52u);
    EXPECT_EQ(bytes, kTwoPoints);

    tkxPoint3dArray empty;
    EXPECT_EQ(StoreToBytes([&](CArchive& ar) { empty.Serialize(ar); }), Bytes({0, 0, 0, 0}));

    // Loading replaces what the array held.
    tkxPoint3dArray back = MakeArray({{9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}, {9, 9, 9}});
    LoadFromBytes(kTwoPoints, [&](CArchive& ar) { back.Serialize(ar); });
    ExpectPoints(back, {{1, 2, 3}, {-0.5, 0, 10}});
}

const Bytes kArrayClass = {0xFF, 0xFF, 0x01, 0x00, 0x0F, 0x00, 't', 'k', 'x', 'P', 'o', 'i', 'n',
                           't', '3', 'd', 'A', 'r', 'r', 'a', 'y'};

TEST(Point3dArrayArchive, ThroughPointers)
{
    tkxPoint3dArray arr = MakeArray({{1, 2, 3}, {-0.5, 0, 10}});
    tkxPoint3dArray other;
    const Bytes expected = Concat({
        kArrayClass, kTwoPoints,                  // class 1, object 2
        {0x01, 0x80}, {0x00, 0x00, 0x00, 0x00},   // class 1 again, empty object 3
        {0x02, 0x00},                             // object 2 again
    });
    EXPECT_EQ(StoreToBytes([&](CArchive& ar) { ar << &arr << &other << &arr; }), expected);

    tkxPoint3dArray *a = nullptr, *b = nullptr, *again = nullptr;
    LoadFromBytes(expected, [&](CArchive& ar) { ar >> a >> b >> again; });
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(again, a);
    ExpectPoints(*a, {{1, 2, 3}, {-0.5, 0, 10}});
    EXPECT_EQ(b->GetCount(), 0);
    delete a;
    delete b;
}

TEST(Point3dArrayArchive, DamagedStreams)
{
    tkxPoint3dArray* p = nullptr;
    Bytes schema2 = Concat({kArrayClass, kTwoPoints});
    schema2[2] = 0x02;
    EXPECT_EQ(LoadFailureCause(schema2, [&](CArchive& ar) { ar >> p; }), CArchiveException::badSchema);

    // A stream cut inside the second point: the exception comes through and
    // the array keeps what it held.
    tkxPoint3dArray arr = MakeArray({{7, 8, 9}});
    const Bytes cut(kTwoPoints.begin(), kTwoPoints.end() - 3);
    EXPECT_EQ(LoadFailureCause(cut, [&](CArchive& ar) { arr.Serialize(ar); }), CArchiveException::endOfFile);
    ExpectPoints(arr, {{7, 8, 9}});

    const Bytes cutPointer = Concat({kArrayClass, {0x02, 0x00, 0x00, 0x00}, kDbl1});
    EXPECT_EQ(LoadFailureCause(cutPointer, [&](CArchive& ar) { ar >> p; }), CArchiveException::endOfFile);

    // A negative count can only come from a damaged stream.
    const Bytes negative = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(LoadFailureCause(negative, [&](CArchive& ar) { arr.Serialize(ar); }),
              CArchiveException::genericException);
    ExpectPoints(arr, {{7, 8, 9}});

    // A huge count with few bytes behind it ends at the end of the stream.
    const Bytes huge = Concat({{0xFF, 0xFF, 0xFF, 0x7F}, kDbl1, kDbl2, kDbl3});
    EXPECT_EQ(LoadFailureCause(huge, [&](CArchive& ar) { arr.Serialize(ar); }), CArchiveException::endOfFile);
    ExpectPoints(arr, {{7, 8, 9}});
}

} // namespace
