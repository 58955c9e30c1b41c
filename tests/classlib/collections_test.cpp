#include "classlib/ClassLib.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Counts live instances, to show that arrays construct, copy and destroy
// their elements properly.
struct Tracked {
    static int live;
    std::shared_ptr<int> payload;
    Tracked() : payload(std::make_shared<int>(0)) { ++live; }
    Tracked(const Tracked& o) : payload(o.payload) { ++live; }
    Tracked& operator=(const Tracked&) = default;
    ~Tracked() { --live; }
};
int Tracked::live = 0;

// Spoils its value when destroyed, so that reading an element after the
// array moved it away shows.
struct Spoiled {
    volatile int value = 0;
    Spoiled() = default;
    explicit Spoiled(int v) : value(v) {}
    Spoiled(const Spoiled& o) : value(o.value) {}
    Spoiled& operator=(const Spoiled& o)
    {
        value = o.value;
        return *this;
    }
    ~Spoiled() { value = -1; }
};

} // namespace

TEST(CArray, ElementsLiveAndDieWithTheArray)
{
    {
        CArray<Tracked, const Tracked&> a;
        a.SetSize(5);
        EXPECT_EQ(5, Tracked::live);
        Tracked t;
        *t.payload = 42;
        a.InsertAt(2, t, 2);
        EXPECT_EQ(7, a.GetSize());
        EXPECT_EQ(42, *a[3].payload);
        a.RemoveAt(0, 3);
        EXPECT_EQ(4, a.GetSize());
        EXPECT_EQ(42, *a[0].payload);
        a.SetSize(1);
        EXPECT_EQ(2, Tracked::live);   // one element and t
    }
    EXPECT_EQ(0, Tracked::live);
}

TEST(CArray, IndexesOutOfRangeThrow)
{
    CArray<double, double> a;
    a.Add(1.0);
    a.Append(a);   // appending to itself is safe
    EXPECT_EQ(2, a.GetSize());
    CArray<int, int> empty;
    EXPECT_EQ(nullptr, empty.GetData());
    for (INT_PTR bad : {INT_PTR(-1), INT_PTR(2), INT_PTR(100)}) {
        try {
            a.GetAt(bad);
            ADD_FAILURE() << bad;
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
    try {
        a.RemoveAt(1, 5);
        ADD_FAILURE();
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    a.SetAtGrow(4, 5.0);
    EXPECT_EQ(5, a.GetSize());
    EXPECT_EQ(0.0, a[3]);
}

TEST(CList, PositionsWalkInBothDirections)
{
    CPtrList list;
    int v[4] = {0, 1, 2, 3};
    list.AddTail(&v[1]);
    list.AddTail(&v[3]);
    list.AddHead(&v[0]);
    POSITION p3 = list.Find(&v[3]);
    list.InsertBefore(p3, &v[2]);
    ASSERT_EQ(4, list.GetCount());
    POSITION pos = list.GetHeadPosition();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(&v[i], list.GetNext(pos));
    EXPECT_EQ(nullptr, pos);
    pos = list.GetTailPosition();
    for (int i = 3; i >= 0; --i) EXPECT_EQ(&v[i], list.GetPrev(pos));
    list.RemoveAt(list.FindIndex(1));
    EXPECT_EQ(&v[0], list.RemoveHead());
    EXPECT_EQ(&v[3], list.RemoveTail());
    EXPECT_EQ(&v[2], list.GetHead());
    EXPECT_EQ(nullptr, list.FindIndex(1));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_THROW(list.GetHead(), CInvalidArgException*);
}

// Nodes are made in blocks: elements added and removed across many blocks in
// any order keep the list's order and live exactly as long as their nodes.
TEST(CList, ElementsLiveAndDieWithTheirNodesAcrossBlocks)
{
    {
        CList<Tracked, const Tracked&> list(3);
        std::vector<POSITION> positions;
        for (int i = 0; i < 20; ++i) {
            Tracked t;
            *t.payload = i;
            positions.push_back(list.AddTail(t));
        }
        EXPECT_EQ(20, Tracked::live);
        // Every third node removed, then new ones put where they were.
        for (int i = 0; i < 20; i += 3) list.RemoveAt(positions[i]);
        EXPECT_EQ(13, Tracked::live);
        for (int i = 0; i < 20; i += 3) {
            Tracked t;
            *t.payload = 100 + i;
            if (i + 1 < 20)
                list.InsertBefore(positions[i + 1], t);
            else
                list.AddTail(t);
        }
        EXPECT_EQ(20, Tracked::live);
        POSITION pos = list.GetHeadPosition();
        for (int i = 0; i < 20; ++i) EXPECT_EQ(i % 3 ? i : 100 + i, *list.GetNext(pos).payload) << i;
        EXPECT_EQ(nullptr, pos);
        // Emptied one by one, the list is as new and takes elements again.
        while (!list.IsEmpty()) list.RemoveHead();
        EXPECT_EQ(0, Tracked::live);
        list.AddHead(Tracked());
        EXPECT_EQ(1, list.GetCount());
        EXPECT_EQ(1, Tracked::live);
    }
    EXPECT_EQ(0, Tracked::live);
}

// An element whose copy fails is not added, and the list stays whole.
TEST(CList, AnElementThatCannotBeCopiedLeavesTheList)
{
    struct Refused {
        int value = 0;
        explicit Refused(int v) : value(v) {}
        Refused(const Refused& other) : value(other.value)
        {
            if (value < 0) throw value;
        }
    };
    CList<Refused, const Refused&> list(2);
    EXPECT_THROW(list.AddTail(Refused(-1)), int);   // into an empty list
    EXPECT_TRUE(list.IsEmpty());
    for (int i = 0; i < 5; ++i) list.AddTail(Refused(i));
    EXPECT_THROW(list.AddHead(Refused(-1)), int);
    EXPECT_EQ(5, list.GetCount());
    list.AddTail(Refused(5));
    POSITION pos = list.GetHeadPosition();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(i, list.GetNext(pos).value);
}

TEST(CMap, LookupReplaceRemoveIterate)
{
    CMap<CString, const wchar_t*, int, int> map;
    map[L"DL"] = 1;
    map.SetAt(L"SQX", 2);
    map.SetAt(L"DMX", 3);
    map.SetAt(L"SQX", 20);
    int v = 0;
    EXPECT_TRUE(map.Lookup(L"SQX", v));
    EXPECT_EQ(20, v);
    EXPECT_FALSE(map.Lookup(L"HDX", v));
    EXPECT_TRUE(map.RemoveKey(L"DL"));
    EXPECT_FALSE(map.RemoveKey(L"DL"));
    EXPECT_EQ(2, map.GetCount());
    CString key;
    int sum = 0, count = 0;
    for (POSITION pos = map.GetStartPosition(); pos; ++count) {
        map.GetNextAssoc(pos, key, v);
        sum += v;
    }
    EXPECT_EQ(2, count);
    EXPECT_EQ(23, sum);

    CMapPtrToPtr ptrs;
    ptrs.SetAt(&v, &sum);
    void* out = nullptr;
    EXPECT_TRUE(ptrs.Lookup(&v, out));
    EXPECT_EQ(&sum, out);
}

TEST(CArray, SetAtGrowWithItsOwnElement)
{
    // The value passed by reference is an element of the array that the
    // growth moves; it must be copied before.
    CArray<Spoiled, const Spoiled&> a;
    a.Add(Spoiled(7));
    a.FreeExtra();
    a.SetAtGrow(40, a[0]);
    EXPECT_EQ(41, a.GetSize());
    EXPECT_EQ(7, a[40].value);
    EXPECT_EQ(7, a[0].value);
    EXPECT_EQ(0, a[1].value);
}
