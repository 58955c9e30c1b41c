// The curve-widening standard: lookups at and between every row boundary of
// the highway and city-road tables, unknown classes, the standard file byte
// for byte, and files that cannot be read, are cut short or damaged.
#include "corvane/base/LastError.h"
#include "corvane/section/WidenStandard.h"
#include "section_test_support.h"
#include "support/FailingWrites.h"

#include <cmath>
#include <vector>

using namespace Tavix4;
using namespace section_test;

namespace {

struct WidenRow {
    double from, to;
    double widen[3]; // classes 0, 1, 2 (table 1) or the one widening
};

// Table 1 of highways and of city roads, classes 0 to 2.
const std::vector<WidenRow> kHighwayTable1 = {
    {15, 20, {2.5, -2.5, -2.5}}, {20, 25, {2.2, -2.5, -2.5}}, {25, 30, {1.8, -2.5, -2.5}},
    {30, 50, {1.4, 2.0, -2.5}},  {50, 70, {1.2, 1.5, 2.5}},   {70, 100, {1.0, 1.2, 2.0}},
    {100, 150, {0.8, 0.9, 1.5}}, {150, 200, {0.6, 0.7, 1.0}}, {200, 250, {0.4, 0.6, 0.8}},
};
const std::vector<WidenRow> kCityTable1 = {
    {15, 20, {1.0, 2.4, 3.5}},      {20, 30, {0.8, 1.8, 2.8}},      {30, 40, {0.6, 1.3, 1.9}},
    {40, 50, {0.5, 1.0, 1.5}},      {50, 70, {0.45, 0.9, 1.25}},    {70, 100, {0.4, 0.7, 0.95}},
    {100, 150, {0.36, 0.6, 0.75}},  {150, 200, {0.32, 0.45, 0.55}}, {200, 250, {0.3, 0.4, 0.45}},
};
// Class 3 and class 4 (highways).
const std::vector<WidenRow> kClass3 = {
    {15, 21, {2.75}}, {21, 23, {2.5}}, {23, 25, {2.25}}, {25, 27, {2.0}}, {27, 29, {1.75}}, {29, 32, {1.5}},
    {32, 36, {1.25}}, {36, 42, {1.0}}, {42, 48, {0.75}}, {48, 58, {0.5}}, {58, 72, {0.25}},
};
const std::vector<WidenRow> kClass4 = {
    {15, 21, {3.75}}, {21, 22, {3.25}}, {22, 23, {3.0}},  {23, 24, {2.75}}, {24, 25, {2.5}},
    {25, 26, {2.25}}, {26, 27, {2.0}},  {27, 29, {1.75}}, {29, 31, {1.5}},  {31, 33, {1.25}},
    {33, 36, {1.0}},  {36, 39, {0.75}}, {39, 43, {0.5}},  {43, 47, {0.25}},
};

struct Probe {
    double radius;
    double expected;
};

// The radii to ask for a table: every boundary, the middle of every row, and
// radii below and above the table.  On a highway a boundary belongs to the
// row that starts there (half the value in table 1), on a city road to the
// row that ends there.
std::vector<Probe> Probes(const std::vector<WidenRow>& rows, int column, double factor, bool city)
{
    std::vector<Probe> probes;
    const auto value = [&](size_t i) { return std::fabs(factor * rows[i].widen[column]); };
    probes.push_back({rows.front().from - 5, 0.0});
    for (size_t i = 0; i < rows.size(); ++i) {
        const double atFrom = city ? (i == 0 ? 0.0 : value(i - 1)) : value(i);
        probes.push_back({rows[i].from, atFrom});
        probes.push_back({(rows[i].from + rows[i].to) / 2, value(i)});
    }
    probes.push_back({rows.back().to, city ? value(rows.size() - 1) : 0.0});
    probes.push_back({rows.back().to + 50, 0.0});
    return probes;
}

void ExpectTable(tkxWidenStandard& standard, enRoadLevel level, unsigned short widenClass,
                 const std::vector<WidenRow>& rows, int column, double factor)
{
    for (const Probe& p : Probes(rows, column, factor, level >= ROAD_URBAN_EXPRESSWAY)) {
        SCOPED_TRACE(testing::Message() << "level " << level << " class " << widenClass << " radius " << p.radius);
        EXPECT_NEAR(p.expected, standard.GetWiden(level, widenClass, p.radius), 1e-12);
    }
}

// The widening-standard file of the given rows (version 3).
std::string StandardFile(const std::vector<WidenRow>& t1, const std::vector<WidenRow>& t2,
                         const std::vector<WidenRow>& t3)
{
    std::string bytes;
    PutDouble(bytes, 3.0);
    PutInt(bytes, static_cast<int>(t1.size()));
    PutInt(bytes, static_cast<int>(t2.size()));
    PutInt(bytes, static_cast<int>(t3.size()));
    for (const WidenRow& r : t1) {
        for (double v : {r.from, r.to, r.widen[0], r.widen[1], r.widen[2]}) PutDouble(bytes, v);
    }
    for (const auto* table : {&t2, &t3})
        for (const WidenRow& r : *table)
            for (double v : {r.from, r.to, r.widen[0]}) PutDouble(bytes, v);
    return bytes;
}

// What the standard holds, as the bytes it writes.
std::string Written(tkxWidenStandard& standard, const ScratchFolder& folder)
{
    const CString path = folder / L"written.wdn";
    EXPECT_EQ(1, standard.OutputFile(path)) << Utf8(tkx_GetLastError());
    return FileBytes(path);
}

} // namespace

TEST(WidenStandard, HighwayLookupsAtAndBetweenEveryBoundary)
{
    tkxWidenStandard standard;
    for (int level : {ROAD_EXPRESSWAY, ROAD_RAMP, ROAD_SUBSTANDARD}) {
        for (unsigned short c = 0; c < 3; ++c)
            ExpectTable(standard, static_cast<enRoadLevel>(level), c, kHighwayTable1, c, 0.5);
        ExpectTable(standard, static_cast<enRoadLevel>(level), 3, kClass3, 0, 1.0);
        ExpectTable(standard, static_cast<enRoadLevel>(level), 4, kClass4, 0, 1.0);
    }
}

TEST(WidenStandard, CityLookupsAtAndBetweenEveryBoundary)
{
    tkxWidenStandard standard;
    standard.SetCivilRoadDefaultData();
    for (int level : {ROAD_URBAN_EXPRESSWAY, ROAD_URBAN_BRANCH})
        for (unsigned short c = 0; c < 3; ++c)
            ExpectTable(standard, static_cast<enRoadLevel>(level), c, kCityTable1, c, 1.0);
    // Only table 1 changes: classes 3 and 4 still answer from the highway
    // tables, and a highway level reads the city table 1 by the highway rule.
    ExpectTable(standard, ROAD_EXPRESSWAY, 3, kClass3, 0, 1.0);
    ExpectTable(standard, ROAD_EXPRESSWAY, 4, kClass4, 0, 1.0);
    ExpectTable(standard, ROAD_EXPRESSWAY, 1, kCityTable1, 1, 0.5);

    standard.SetHighwayDefaultDate();
    ExpectTable(standard, ROAD_EXPRESSWAY, 1, kHighwayTable1, 1, 0.5);
}

TEST(WidenStandard, UnknownClassesAnswerMinusOneWithTheirMessage)
{
    tkxWidenStandard standard;
    struct Case {
        enRoadLevel level;
        unsigned short widenClass;
        const char* message;
    } cases[] = {
        {ROAD_EXPRESSWAY, 5, "\n无效的加宽类别<5>."},
        {ROAD_FOURTH_CLASS, 65535, "\n无效的加宽类别<65535>."},
        {ROAD_URBAN_ARTERIAL, 3, "\n无效的城市道路车辆类型<3>."},
        {ROAD_OTHER, 4, "\n无效的城市道路车辆类型<4>."},
    };
    for (const Case& c : cases) {
        tkx_SetLastError(L"");
        EXPECT_EQ(-1.0, standard.GetWiden(c.level, c.widenClass, 30));
        EXPECT_EQ(c.message, Utf8(tkx_GetLastError()));
    }
}

TEST(WidenStandard, WritesTheStandardFileByteForByteAndReadsItBack)
{
    ScratchFolder folder(L"widen_file");
    tkxWidenStandard standard;
    const std::string highway = StandardFile(kHighwayTable1, kClass3, kClass4);
    ASSERT_EQ(980u, highway.size());
    EXPECT_EQ(highway, Written(standard, folder));

    standard.SetCivilRoadDefaultData();
    const std::string city = StandardFile(kCityTable1, kClass3, kClass4);
    EXPECT_EQ(city, Written(standard, folder));

    // Read into a standard that holds the highway tables: the city tables
    // come back whole.
    const CString path = folder / L"city.wdn";
    WriteBytes(path, city);
    tkxWidenStandard other;
    ASSERT_EQ(1, other.ReadFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(city, Written(other, folder));
    ExpectTable(other, ROAD_URBAN_ARTERIAL, 2, kCityTable1, 2, 1.0);
}

TEST(WidenStandard, ReadsTablesOfAnyLengthAndIgnoresTheVersion)
{
    ScratchFolder folder(L"widen_custom");
    const std::vector<WidenRow> t1 = {{10, 400, {1.0, 2.0, 3.0}}};
    const std::vector<WidenRow> t2 = {};
    const std::vector<WidenRow> t3 = {{10, 100, {0.7}}, {100, 300, {0.3}}};
    std::string bytes = StandardFile(t1, t2, t3);
    bytes.replace(0, 8, std::string("\0\0\0\0\0\0\x14\x40", 8)); // version 5.0
    WriteBytes(folder / L"custom.wdn", bytes);

    tkxWidenStandard standard;
    ASSERT_EQ(1, standard.ReadFile(folder / L"custom.wdn")) << Utf8(tkx_GetLastError());
    EXPECT_EQ(1.5, standard.GetWiden(ROAD_EXPRESSWAY, 2, 300));
    EXPECT_EQ(0.0, standard.GetWiden(ROAD_EXPRESSWAY, 3, 30));
    EXPECT_EQ(0.3, standard.GetWiden(ROAD_EXPRESSWAY, 4, 100));
    EXPECT_EQ(2.0, standard.GetWiden(ROAD_URBAN_BRANCH, 1, 400));
    EXPECT_EQ(StandardFile(t1, t2, t3), Written(standard, folder)); // written again as version 3
}

TEST(WidenStandard, AFileThatCannotBeReadLeavesTheTablesAsTheyWere)
{
    ScratchFolder folder(L"widen_bad");
    const std::string good = StandardFile(kCityTable1, kClass3, kClass4);
    std::string negative = good;
    negative.replace(12, 4, std::string("\xff\xff\xff\xff", 4)); // count 2 = -1
    std::string notANumber = good;
    notANumber.replace(20 + 40 + 8, 8, std::string("\0\0\0\0\0\0\xf8\x7f", 8)); // table 1, row 2: radius to
    std::string infinite = good;
    infinite.replace(good.size() - 8, 8, std::string("\0\0\0\0\0\0\xf0\x7f", 8)); // last widening of table 3
    std::string huge = good;
    huge.replace(8, 4, std::string("\xff\xff\xff\x7f", 4)); // count 1 = 2^31 - 1

    struct Case {
        const char* what;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {"empty", "", "文件数据不完整"},
        {"cut in the counts", good.substr(0, 14), "文件数据不完整"},
        {"cut in table 1", good.substr(0, 20 + 3 * 40 + 17), "文件数据不完整"},
        {"last value short", good.substr(0, good.size() - 1), "文件数据不完整"},
        {"negative count", negative, "第2表的行数<-1>有错"},
        {"count beyond the file", huge, "文件数据不完整"},
        {"a byte after the last row", good + std::string(1, '\0'), "文件数据多于表中的行数"},
        {"a radius that is no number", notANumber, "第1表第2行数据有错"},
        {"an infinite widening", infinite, "第3表第" + std::to_string(kClass4.size()) + "行数据有错"},
    };
    tkxWidenStandard standard;
    const std::string before = Written(standard, folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString path = folder / L"bad.wdn";
        WriteBytes(path, c.bytes);
        tkx_SetLastError(L"");
        EXPECT_EQ(0, standard.ReadFile(path));
        const std::string message = Utf8(tkx_GetLastError());
        EXPECT_EQ(0u, message.find("\n读取加宽标准文件<" + Utf8(path) + ">失败: ")) << message;
        EXPECT_NE(std::string::npos, message.find(c.reason)) << message;
        EXPECT_EQ(before, Written(standard, folder));
    }

    const CString missing = folder / L"missing.wdn";
    EXPECT_EQ(0, standard.ReadFile(missing));
    EXPECT_EQ("\n读取加宽标准文件<" + Utf8(missing) + ">失败!", Utf8(tkx_GetLastError()));
    EXPECT_EQ(before, Written(standard, folder));
}

// A write that fails part-way (the disk fills up after the first block)
// leaves the old file whole and no temporary file behind.
TEST(WidenStandard, AWriteThatFailsPartWayLeavesTheOldFileWhole)
{
    ScratchFolder folder(L"widen_partway");
    std::vector<WidenRow> many;
    for (int i = 0; i < 400; ++i) many.push_back({10.0 + i, 11.0 + i, {0.5, 0.6, 0.7}});
    const CString source = folder / L"many.wdn";
    WriteBytes(source, StandardFile(many, kClass3, kClass4));
    tkxWidenStandard standard;
    ASSERT_EQ(1, standard.ReadFile(source)) << Utf8(tkx_GetLastError());
    DeleteFileW(source);

    const CString target = folder / L"standard.wdn";
    const std::string old = StandardFile(kHighwayTable1, kClass3, kClass4);
    WriteBytes(target, old);
    {
        section_test::FailingWrites full(folder.Path(), 4096);
        EXPECT_EQ(0, standard.OutputFile(target));
        EXPECT_GT(full.Refused(), 0);
    }
    EXPECT_EQ("创建加宽标准数据文件[" + Utf8(target) + "]时失败!", Utf8(tkx_GetLastError()));
    EXPECT_EQ(old, FileBytes(target));
    EXPECT_EQ(std::vector<CString>{L"standard.wdn"}, section_test::FilesIn(folder.Path()));
}

TEST(WidenStandard, AFailedWriteReportsAndKeepsTheOldFile)
{
    ScratchFolder folder(L"widen_write");
    tkxWidenStandard standard;
    const CString nowhere = folder / L"no such folder\\standard.wdn";
    EXPECT_EQ(0, standard.OutputFile(nowhere));
    EXPECT_EQ("创建加宽标准数据文件[" + Utf8(nowhere) + "]时失败!", Utf8(tkx_GetLastError()));

    // A target that cannot be replaced keeps its bytes, and no temporary is
    // left behind.
    const CString target = folder / L"held.wdn";
    WriteBytes(target, "old bytes");
    {
        CFile held;
        ASSERT_TRUE(held.Open(target, CFile::modeRead | CFile::shareExclusive));
        EXPECT_EQ(0, standard.OutputFile(target));
    }
    EXPECT_EQ("old bytes", FileBytes(target));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder / L"*.tmp", &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}
