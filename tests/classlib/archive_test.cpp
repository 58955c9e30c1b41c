#include "ArchiveTestUtil.h"
#include "support/Scratch.h"
#include <gtest/gtest.h>

namespace {

class CSample : public CObject
{
    DECLARE_SERIAL(CSample)
public:
    int value = 0;
    CSample* link = nullptr;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << value;
            ar << link;
        } else {
            ar >> value;
            ar >> link;
        }
    }
};
IMPLEMENT_SERIAL(CSample, CObject, 3)

class COther : public CObject
{
    DECLARE_SERIAL(COther)
};
IMPLEMENT_SERIAL(COther, CObject, 1)

// Versionable: loads every stored schema and records the one it was given.
class CVersioned : public CObject
{
    DECLARE_SERIAL(CVersioned)
public:
    UINT loadedSchema = 0;
    UINT schemaAfter = 0;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading()) {
            loadedSchema = ar.GetObjectSchema();
            schemaAfter = ar.GetObjectSchema();
        }
    }
};
IMPLEMENT_SERIAL(CVersioned, CObject, VERSIONABLE_SCHEMA | 2)

std::vector<BYTE> StringBytes(const CString& s)
{
    return StoreBytes([&](CArchive& ar) { ar << s; });
}

} // namespace

TEST(Archive, ScalarsAreLittleEndian)
{
    auto bytes = StoreBytes([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<int>(-2)
           << static_cast<DWORD>(0x01020304) << 1.5;
    });
    std::vector<BYTE> expected = {0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01,
                                  0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
    EXPECT_EQ(expected, bytes);
}

TEST(Archive, StringLengthForms)
{
    struct Case {
        int length;
        std::vector<BYTE> prefix;
    };
    const Case cases[] = {
        {0, {0xFF, 0xFE, 0xFF, 0x00}},
        {3, {0xFF, 0xFE, 0xFF, 0x03}},
        {254, {0xFF, 0xFE, 0xFF, 0xFE}},
        {255, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x00}},
        {65534, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65533, {0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF}},
        {65535, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {65536, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        CString text(L'字', c.length);
        auto bytes = StringBytes(text);
        ASSERT_EQ(c.prefix.size() + 2u * c.length, bytes.size());
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin()));
        if (c.length) {
            EXPECT_EQ(0x57, bytes[c.prefix.size()]);   // U+5B57 little-endian
            EXPECT_EQ(0x5B, bytes[c.prefix.size() + 1]);
        }
        CString back = L"not empty";
        LoadBytes(bytes, [&](CArchive& ar) { ar >> back; });
        EXPECT_TRUE(back == text);
    }
}

TEST(Archive, LoadsEightBitStringsInTheAnsiCodePage)
{
    // "道路" in code page 936, stored in the 8-bit form (no Unicode marker).
    std::vector<BYTE> bytes = {0x04, 0xB5, 0xC0, 0xC2, 0xB7, 0x02, 'a', 'b'};
    CString first, second;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> first >> second; });
    EXPECT_STREQ(L"道路", first);
    EXPECT_STREQ(L"ab", second);
}

TEST(Archive, ObjectRecordsThroughPointers)
{
    CSample a, b;
    a.value = 7;
    a.link = &b;   // b is written inside a
    b.value = 9;
    b.link = &a;   // a again: only its index
    auto bytes = StoreBytes([&](CArchive& ar) {
        ar << &a;
        ar << static_cast<CObject*>(nullptr);
        ar << &b;   // b again
    });
    std::vector<BYTE> expected = {
        0xFF, 0xFF, 0x03, 0x00, 0x07, 0x00, 'C', 'S', 'a', 'm', 'p', 'l', 'e',   // new class, index 1
        0x07, 0x00, 0x00, 0x00,                                                 // a (index 2).value
        0x01, 0x80,                                                             // class seen before
        0x09, 0x00, 0x00, 0x00,                                                 // b (index 3).value
        0x02, 0x00,                                                             // b.link: a
        0x00, 0x00,                                                             // null
        0x03, 0x00,                                                             // b again
    };
    EXPECT_EQ(expected, bytes);

    CSample* readA = nullptr;
    CObject* readNull = &a;
    CSample* readB = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> readA >> readNull >> readB; });
    ASSERT_NE(nullptr, readA);
    EXPECT_EQ(7, readA->value);
    ASSERT_NE(nullptr, readA->link);
    EXPECT_EQ(9, readA->link->value);
    EXPECT_EQ(readA, readA->link->link);
    EXPECT_EQ(nullptr, readNull);
    EXPECT_EQ(readA->link, readB);
    delete readA->link;
    delete readA;
}

TEST(Archive, LoadErrors)
{
    auto good = StoreBytes([](CArchive& ar) {
        CSample s;
        ar << &s;
    });
    auto readSample = [](CArchive& ar) {
        CSample* s = nullptr;
        ar >> s;
        delete s;
    };
    EXPECT_EQ(-1, ArchiveFailure(good, readSample));

    auto wrongSchema = good;
    wrongSchema[2] = 0x02;
    EXPECT_EQ(CArchiveException::badSchema, ArchiveFailure(wrongSchema, readSample));

    auto unknownClass = good;
    unknownClass[6] = 'X';
    EXPECT_EQ(CArchiveException::badClass, ArchiveFailure(unknownClass, readSample));

    auto wrongType = StoreBytes([](CArchive& ar) {
        COther o;
        ar << &o;
    });
    EXPECT_EQ(CArchiveException::badClass, ArchiveFailure(wrongType, readSample));

    std::vector<BYTE> badIndex = {0x05, 0x00};
    EXPECT_EQ(CArchiveException::badIndex, ArchiveFailure(badIndex, readSample));

    for (size_t cut = 1; cut < good.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::vector<BYTE> truncated(good.begin(), good.begin() + cut);
        EXPECT_EQ(CArchiveException::endOfFile, ArchiveFailure(truncated, readSample));
    }
    EXPECT_EQ(CArchiveException::endOfFile, ArchiveFailure({0xFF, 0xFE, 0xFF, 0x02, 0x41}, [](CArchive& ar) {
                  CString s;
                  ar >> s;
              }));
    // A damaged length near 4 G in either form ends in the end-of-file
    // exception, not in an attempt to hold the whole string.
    auto readString = [](CArchive& ar) {
        CString s;
        ar >> s;
    };
    EXPECT_EQ(CArchiveException::endOfFile,
              ArchiveFailure({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x41, 0x00}, readString));
    EXPECT_EQ(CArchiveException::endOfFile,
              ArchiveFailure({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x41}, readString));
}

TEST(Archive, ModeMismatchAndRawReads)
{
    std::vector<BYTE> bytes = {1, 2, 3};
    LoadBytes(bytes, [](CArchive& ar) {
        BYTE buffer[8] = {};
        EXPECT_EQ(3u, ar.Read(buffer, 8));   // a raw read stops at the end quietly
        EXPECT_EQ(3, buffer[2]);
        try {
            ar << 1;
            ADD_FAILURE() << "storing into a loading archive";
        } catch (CArchiveException* e) {
            EXPECT_EQ(CArchiveException::readOnly, e->m_cause);
            e->Delete();
        }
    });
}

TEST(Archive, CountsAndStringArrays)
{
    CStringArray list;
    list.Add(L"甲");
    list.Add(L"");
    auto bytes = StoreBytes([&](CArchive& ar) {
        list.Serialize(ar);
        ar.WriteCount(0x12345);
    });
    std::vector<BYTE> expected = {0x02, 0x00, 0xFF, 0xFE, 0xFF, 0x01, 0x32, 0x75, 0xFF, 0xFE, 0xFF, 0x00,
                                  0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00};
    EXPECT_EQ(expected, bytes);
    CStringArray back;
    DWORD count = 0;
    LoadBytes(bytes, [&](CArchive& ar) {
        back.Serialize(ar);
        count = ar.ReadCount();
    });
    ASSERT_EQ(2, back.GetSize());
    EXPECT_STREQ(L"甲", back[0]);
    EXPECT_EQ(0x12345u, count);
}

// Counts at the edge of their short form: the last value it holds and the
// first two that need the long form.
TEST(Archive, CountsAtTheEdgeOfTheirShortForm)
{
    struct CountCase {
        DWORD count;
        std::vector<BYTE> bytes;
    } counts[] = {
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x10000, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const CountCase& c : counts) {
        SCOPED_TRACE(c.count);
        auto bytes = StoreBytes([&](CArchive& ar) { ar.WriteCount(c.count); });
        EXPECT_EQ(c.bytes, bytes);
        DWORD back = 0;
        LoadBytes(bytes, [&](CArchive& ar) {
            back = ar.ReadCount();
            BYTE extra = 0;
            EXPECT_EQ(0u, ar.Read(&extra, 1));
        });
        EXPECT_EQ(c.count, back);
    }
}

TEST(Archive, WritesThroughToADiskFile)
{
    const CString name = test_support::ScratchRoot() + L"\\archive_disk.bin";
    {
        CFile file(name, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 16);   // small buffer: several flushes
        for (int i = 0; i < 100; ++i) ar << i;
        ar.Close();
        file.Close();
    }
    CFile file(name, CFile::modeRead);
    EXPECT_EQ(400u, file.GetLength());
    CArchive ar(&file, CArchive::load, 16);
    int v = -1;
    for (int i = 0; i < 100; ++i) {
        ar >> v;
        ASSERT_EQ(i, v);
    }
    ar.Close();
    file.Close();
    CFile::Remove(name);
}

TEST(Archive, VersionableClassesSeeTheStoredSchema)
{
    auto bytes = StoreBytes([](CArchive& ar) {
        CVersioned a, b;
        ar << &a << &b;
    });
    std::vector<BYTE> expected = {0xFF, 0xFF, 0x02, 0x00, 0x0A, 0x00, 'C', 'V', 'e', 'r', 's', 'i',
                                  'o', 'n', 'e', 'd', 0x01, 0x80};
    EXPECT_EQ(expected, bytes);

    bytes[2] = 0x01;   // written by an older version
    LoadBytes(bytes, [](CArchive& ar) {
        CVersioned* a = nullptr;
        CVersioned* b = nullptr;
        ar >> a >> b;
        ASSERT_NE(nullptr, a);
        ASSERT_NE(nullptr, b);
        EXPECT_EQ(1u, a->loadedSchema);
        EXPECT_EQ(1u, b->loadedSchema);   // through the class seen before
        EXPECT_EQ(static_cast<UINT>(-1), a->schemaAfter);
        delete a;
        delete b;
    });
}
