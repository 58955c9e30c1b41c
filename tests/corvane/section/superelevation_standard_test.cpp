// The superelevation standard: highway, ramp and city-road lookups at and
// between every table boundary for every row and design speed, the road
// overloads, the messages, and the archive byte for byte.
#include "corvane/base/LastError.h"
#include "corvane/section/SuperElevationStandard.h"
#include "section_test_support.h"

#include <cmath>
#include <cstring>
#include <vector>

using namespace Tavix4;
using namespace section_test;

namespace {

using Row = std::vector<double>;

// The two highway tables and the ramp table (the ramp's first column as for
// a crown of 2 % or more), without their trailing zeros.
const std::vector<Row> kFirstTable = {
    {5500, 3240, 2160, 1620, 1300, 1080, 930, 810, 720, 656}, {4000, 1710, 1220, 950, 770, 650, 560, 500, 440, 400},
    {2500, 1240, 830, 620, 500, 410, 350, 310, 280, 250},     {1500, 810, 570, 430, 340, 280, 230, 200, 160, 125},
    {4000, 1710, 1220, 950, 770, 650, 560, 500, 440, 400},    {1500, 810, 570, 430, 340, 280, 230, 200, 160, 125},
    {2500, 1210, 840, 630, 500, 410, 320, 250},               {600, 390, 270, 200, 150, 120, 90, 60},
    {1500, 780, 530, 390, 300, 230, 170, 125},                {350, 230, 150, 110, 80, 60, 50, 30},
    {600, 390, 270, 200, 150, 120, 90, 60},                   {150, 105, 70, 55, 40, 30, 20, 15},
};
const std::vector<Row> kSecondTable = {
    {5500, 1940, 1290, 970, 780, 650}, {4000, 1550, 1050, 760, 550, 400}, {2500, 1130, 750, 520, 360, 250},
    {1500, 720, 460, 300, 190, 125},   {4000, 1550, 1050, 760, 550, 400}, {1500, 720, 460, 300, 190, 125},
    {2500, 1130, 750, 520, 360, 250},  {600, 360, 230, 150, 90, 60},      {1500, 720, 460, 300, 190, 125},
    {350, 210, 130, 80, 50, 30},       {600, 360, 230, 150, 90, 60},      {150, 95, 60, 40, 25, 15},
};
const std::vector<Row> kRampTable = {
    {3500, 1240, 870, 670, 540, 450, 380, 330, 280}, {2000, 800, 560, 420, 330, 270, 220, 180, 140},
    {1300, 590, 410, 310, 240, 200, 160, 120, 90},   {800, 400, 280, 210, 160, 130, 90, 70, 50},
    {650, 280, 220, 140, 110, 90, 60, 50, 40},       {500, 220, 150, 110, 80, 60, 40, 30},
};
const double kRampFirstBelowTwo[6] = {2500, 1500, 1000, 600, 500, 350};

struct Lookup {
    double radius;
    int rc;
    double result;
};

// Every boundary and the middle of every interval of a row, above the row
// and below it.  The first radius and above give the crown and 0; radius i
// (i >= 1) belongs to the interval above it; the interval between radius i
// and i+1 gives firstSlope + i; below the smallest radius the maximum (10).
std::vector<Lookup> RowLookups(const Row& row, double firstSlope, double crown)
{
    std::vector<Lookup> out = {{row[0] * 2, 0, crown}, {row[0] + 1e-7, 0, crown}, {row[0], 0, crown}};
    for (size_t i = 0; i + 1 < row.size(); ++i) {
        if (i > 0) out.push_back({row[i], 1, firstSlope + i - 1});
        out.push_back({(row[i] + row[i + 1]) / 2, 1, firstSlope + i});
    }
    out.push_back({row.back(), 1, firstSlope + row.size() - 2});
    out.push_back({row.back() - 1e-3, 1, 10});
    out.push_back({1, 1, 10});
    return out;
}

void ExpectHighway(tkxSuperElevationStandard& standard, enRoadLevel level, double speed, int tableChoice,
                   const Row& row, double crown)
{
    for (const Lookup& l : RowLookups(row, 2, crown)) {
        SCOPED_TRACE(testing::Message() << "level " << level << ", " << speed << " km/h, table " << tableChoice
                                        << ", radius " << l.radius << ", crown " << crown);
        double result = -99;
        EXPECT_EQ(l.rc, standard.ComputeHighwaySlope(level, tableChoice, speed, l.radius, crown, result));
        EXPECT_DOUBLE_EQ(l.result, result);
    }
}

// Each (level, speed) and the highway row it takes.
struct RowChoice {
    enRoadLevel level;
    double speed;
    int row;
};
const RowChoice kHighwayRows[] = {
    {ROAD_EXPRESSWAY, 120, 0},     {ROAD_EXPRESSWAY, 119.5, 0},   {ROAD_EXPRESSWAY, 119.4, 1},
    {ROAD_EXPRESSWAY, 100, 1},     {ROAD_EXPRESSWAY, 80, 2},      {ROAD_EXPRESSWAY, 79, 3},
    {ROAD_EXPRESSWAY, 60, 3},      {ROAD_FIRST_CLASS, 100, 4},    {ROAD_FIRST_CLASS, 80, 4},
    {ROAD_FIRST_CLASS, 60, 5},     {ROAD_SECOND_CLASS, 80, 6},    {ROAD_SECOND_CLASS, 60, 7},
    {ROAD_THIRD_CLASS, 40, 8},     {ROAD_THIRD_CLASS, 39.6, 8},   {ROAD_THIRD_CLASS, 30, 9},
    {ROAD_FOURTH_CLASS, 40, 10},   {ROAD_FOURTH_CLASS, 20, 11},   {ROAD_SUBSTANDARD, 40, 10},
    {ROAD_SUBSTANDARD, 15, 11},
};

} // namespace

TEST(SuperElevationStandard, HighwayTablesAtAndBetweenEveryBoundary)
{
    tkxSuperElevationStandard standard;
    for (const RowChoice& c : kHighwayRows) {
        ExpectHighway(standard, c.level, c.speed, 1, kFirstTable[c.row], 2);
        ExpectHighway(standard, c.level, c.speed, 2, kSecondTable[c.row], 2);
        ExpectHighway(standard, c.level, c.speed, 0, kSecondTable[c.row], 1.5);
    }
    // The second table counts a radius within 1e-5 of its first as needing
    // none; the first table only from 1e-6 below.
    double result = 0;
    EXPECT_EQ(0, standard.ComputeHighwaySlope(ROAD_EXPRESSWAY, 2, 120, 5500 - 5e-6, 2, result));
    EXPECT_EQ(1, standard.ComputeHighwaySlope(ROAD_EXPRESSWAY, 1, 120, 5500 - 5e-6, 2, result));
    EXPECT_EQ(2, result);
}

TEST(SuperElevationStandard, ResultsAreNeverBelowTheCrown)
{
    tkxSuperElevationStandard standard;
    double result = 0;
    EXPECT_EQ(1, standard.ComputeHighwaySlope(ROAD_EXPRESSWAY, 1, 120, 4000, 2.5, result));
    EXPECT_EQ(2.5, result);
    EXPECT_EQ(1, standard.ComputeHighwaySlope(ROAD_EXPRESSWAY, 1, 120, 2000, 2.5, result));
    EXPECT_EQ(4, result);
    EXPECT_EQ(1, standard.ComputeHighwaySlope(ROAD_RAMP, 1, 60, 1000, 2.5, result));
    EXPECT_EQ(2.5, result);
}

TEST(SuperElevationStandard, RampTableFollowsTheCrown)
{
    struct Choice {
        double speed;
        int row;
    } choices[] = {{80, 0}, {70, 1}, {60, 1}, {59, 2}, {50, 2}, {40, 3}, {35, 4}, {34.4, 5}, {30, 5}, {20, 5}};
    tkxSuperElevationStandard standard;
    for (double crown : {1.5, 2.0, 3.0}) {
        for (const Choice& c : choices) {
            Row row = kRampTable[c.row];
            if (crown < 2) row[0] = kRampFirstBelowTwo[c.row];
            // The first interval gives 2 (never below the crown).
            for (const Lookup& l : RowLookups(row, 2, crown)) {
                SCOPED_TRACE(testing::Message() << c.speed << " km/h, crown " << crown << ", radius " << l.radius);
                double result = -99;
                EXPECT_EQ(l.rc, standard.ComputeHighwaySlope(ROAD_RAMP, 1, c.speed, l.radius, crown, result));
                EXPECT_DOUBLE_EQ(l.rc == 1 ? std::max(l.result, crown) : l.result, result);
            }
        }
    }
    // The same radius either side of the crown's first column.
    double result = 0;
    EXPECT_EQ(0, standard.ComputeHighwaySlope(ROAD_RAMP, 2, 60, 1600, 1.5, result));
    EXPECT_EQ(1.5, result);
    EXPECT_EQ(1, standard.ComputeHighwaySlope(ROAD_RAMP, 2, 60, 1600, 2, result));
    EXPECT_EQ(2, result);
}

TEST(SuperElevationStandard, CityRoadsInterpolateInHalfPercentSteps)
{
    struct Case {
        double speed;
        double radius;
        int rc;
        double result;
    } cases[] = {
        // 80 km/h: minimum 250, none from 1000, 6 % down to 2 %.
        {80, 249.9, 1, 6}, {80, 250, 1, 6}, {80, 400, 1, 5}, {80, 625, 1, 4}, {80, 999, 1, 2}, {80, 999.9995, 0, 1.5},
        {80, 1000, 0, 1.5}, {80.4, 625, 1, 4},
        // 60 km/h: 150 to 600, 4 % down to 2 %.
        {60, 100, 1, 4}, {60, 150, 1, 4}, {60, 300, 1, 3.5}, {60, 375, 1, 3}, {60, 599, 1, 2}, {60, 600, 0, 1.5},
        {60, 700, 0, 1.5}, {59.5, 300, 1, 3.5},
        // 50 km/h: 100 to 400, 4 % down to 2 %.
        {50, 99, 1, 4}, {50, 130, 1, 4}, {50, 250, 1, 3}, {50, 400, 0, 1.5},
        // 40, 30 and 20 km/h: 2 % from the minimum radius to the
        // no-superelevation radius.
        {40, 69, 1, 2}, {40, 70, 1, 2}, {40, 200, 1, 2}, {40, 300, 0, 1.5},
        {30, 39, 1, 2}, {30, 100, 1, 2}, {30, 150, 0, 1.5},
        {20, 19, 1, 2}, {20, 50, 1, 2}, {20, 70, 0, 1.5},
    };
    tkxSuperElevationStandard standard; // the city tables come with the object
    for (int level : {ROAD_URBAN_EXPRESSWAY, ROAD_URBAN_BRANCH, ROAD_OTHER}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "level " << level << ", " << c.speed << " km/h, radius " << c.radius);
            double result = -99;
            EXPECT_EQ(c.rc, standard.ComputeCivilSlope(static_cast<enRoadLevel>(level), c.speed, c.radius, 1.5, result));
            EXPECT_DOUBLE_EQ(c.result, result);
        }
    }
}

TEST(SuperElevationStandard, RefusalsAndTheirMessages)
{
    tkxSuperElevationStandard standard;
    double result = -99;
    EXPECT_EQ(0, standard.ComputeCivilSlope(ROAD_URBAN_ARTERIAL, 45, 300, 1.5, result));
    EXPECT_EQ("\n设计车速:45km/h未定义。", Utf8(tkx_GetLastError()));
    EXPECT_EQ(2, result);
    EXPECT_EQ(0, standard.ComputeCivilSlope(ROAD_URBAN_ARTERIAL, 44.5, 300, 1.5, result));
    EXPECT_EQ("\n设计车速:45km/h未定义。", Utf8(tkx_GetLastError()));

    struct Case {
        bool city;
        int level;
        const char* message;
    } cases[] = {
        {false, ROAD_URBAN_EXPRESSWAY, "道路类型不是公路!"},
        {false, ROAD_OTHER, "道路类型不是公路!"},
        {false, -1, "指定的公路等级有错!"},
        {true, ROAD_SECOND_CLASS, "道路类型不是城市道路!"},
        {true, ROAD_SUBSTANDARD, "道路类型不是城市道路!"},
    };
    for (const Case& c : cases) {
        result = -99;
        tkx_SetLastError(L"");
        const enRoadLevel level = static_cast<enRoadLevel>(c.level);
        const int rc = c.city ? standard.ComputeCivilSlope(level, 60, 300, 2, result)
                              : standard.ComputeHighwaySlope(level, 1, 60, 300, 2, result);
        EXPECT_EQ(0, rc) << c.message;
        EXPECT_EQ(c.message, Utf8(tkx_GetLastError()));
        EXPECT_EQ(-99, result) << c.message;
    }
}

TEST(SuperElevationStandard, RoadOverloadsTakeTheCurveAtTheStation)
{
    tkxRoadObject road;
    RoadBuilder(road).Straight(100).Arc(200, 3000, DIR_RIGHT).Straight(100).Arc(100, 300, DIR_LEFT).Straight(100);
    tkxSuperElevationStandard standard;
    double result = -99;

    // 119.6 km/h is cut to 119 here (row 1), where the speed overload rounds
    // it to 120 (row 0).
    road.SetRoadLevel(ROAD_EXPRESSWAY);
    road.SetSpeed(119.6);
    EXPECT_EQ(1, standard.ComputeHighwaySlope(&road, 1, 200, 2, result));
    EXPECT_EQ(2, result);
    EXPECT_EQ(1, standard.ComputeHighwaySlope(ROAD_EXPRESSWAY, 1, 119.6, 3000, 2, result));
    EXPECT_EQ(3, result);
    EXPECT_EQ(0, standard.ComputeHighwaySlope(&road, 1, 50, 2, result)); // on a straight
    EXPECT_EQ(2, result);
    EXPECT_EQ(1, standard.ComputeHighwaySlope(&road, 2, 450, 2, result)); // radius 300, below row 1
    EXPECT_EQ(10, result);

    // Off the alignment: 0, and neither result nor message change.
    tkx_SetLastError(L"before");
    result = -99;
    EXPECT_EQ(0, standard.ComputeHighwaySlope(&road, 1, 1000, 2, result));
    EXPECT_EQ(0, standard.ComputeCivilSlope(&road, -10, 2, result));
    EXPECT_EQ(-99, result);
    EXPECT_EQ(L"before", tkx_GetLastError());

    // City road: 60.7 km/h is cut to 60 (rounding would give the undefined
    // 61).  A curve that needs no superelevation gives the crown and 1 here.
    road.SetRoadLevel(ROAD_URBAN_ARTERIAL);
    road.SetSpeed(60.7);
    EXPECT_EQ(1, standard.ComputeCivilSlope(&road, 450, 1.5, result));
    EXPECT_EQ(3.5, result);
    EXPECT_EQ(1, standard.ComputeCivilSlope(&road, 200, 1.5, result));
    EXPECT_EQ(1.5, result);
    EXPECT_EQ(0, standard.ComputeHighwaySlope(&road, 1, 450, 2, result));
    EXPECT_EQ("道路类型不是公路!", Utf8(tkx_GetLastError()));

    EXPECT_EQ(0, standard.ComputeHighwaySlope(nullptr, 1, 450, 2, result));
    EXPECT_EQ(0, standard.ComputeCivilSlope(nullptr, 450, 2, result));
    EXPECT_FALSE(tkx_GetLastError().IsEmpty());
}

// ---------------------------------------------------------------------------
// Archive

namespace {

// The archive of the defaults, built from the tables above; rampCrown and
// rampFirst stand for what the last ramp lookup left.
std::string DefaultArchive(double rampCrown = 2, const double* rampFirst = nullptr)
{
    std::string bytes;
    for (double v : {2, 3, 4, 5, 6, 7, 8, 9, 10}) PutDouble(bytes, v);
    PutDouble(bytes, rampCrown);
    for (double v : {2, 3, 4, 5, 6, 7, 8, 9}) PutDouble(bytes, v);
    for (const auto* table : {&kFirstTable, &kSecondTable})
        for (const Row& row : *table)
            for (size_t i = 0; i < 10; ++i) PutDouble(bytes, i < row.size() ? row[i] : 0.0);
    for (size_t r = 0; r < kRampTable.size(); ++r)
        for (size_t i = 0; i < 9; ++i)
            PutDouble(bytes, i == 0 && rampFirst ? rampFirst[r] : i < kRampTable[r].size() ? kRampTable[r][i] : 0.0);
    for (int v : {80, 60, 50, 40, 30, 20}) PutInt(bytes, v);
    for (double v : {1000, 600, 400, 300, 150, 70, 250, 150, 100, 70, 40, 20, 6, 4, 4, 2, 2, 2, 2}) PutDouble(bytes, v);
    return bytes;
}

std::string Store(tkxSuperElevationStandard& standard)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        standard.Serialize(ar);
        ar.Close();
    }
    return std::string(file.Data().begin(), file.Data().end());
}

// 1 when the load went through, 0 when it threw the archive's end-of-file
// exception.
int Load(tkxSuperElevationStandard& standard, const std::string& bytes)
{
    CMemFile file(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    try {
        standard.Serialize(ar);
    } catch (CArchiveException* e) {
        const bool endOfFile = e->m_cause == CArchiveException::endOfFile;
        e->Delete();
        return endOfFile ? 0 : -1;
    }
    return 1;
}

} // namespace

TEST(SuperElevationStandard, ArchiveByteForByte)
{
    tkxSuperElevationStandard standard;
    const std::string defaults = DefaultArchive();
    ASSERT_EQ(2672u, defaults.size());
    EXPECT_EQ(defaults, Store(standard));

    // A ramp lookup leaves its crown and first column to be stored.
    double result = 0;
    standard.ComputeHighwaySlope(ROAD_RAMP, 1, 60, 1600, 1.5, result);
    EXPECT_EQ(DefaultArchive(1.5, kRampFirstBelowTwo), Store(standard));

    // Loading restores every table; the copy carries them too.
    ASSERT_EQ(1, Load(standard, defaults));
    EXPECT_EQ(defaults, Store(standard));
    tkxSuperElevationStandard copy;
    copy.ComputeHighwaySlope(ROAD_RAMP, 1, 60, 1600, 1.5, result);
    const std::string changed = Store(copy);
    standard = copy;
    EXPECT_EQ(changed, Store(standard));
}

TEST(SuperElevationStandard, LoadingChangedTablesAndAShortArchive)
{
    // City arrays of the archive are used as loaded: 70 km/h in place of 80.
    std::string bytes = DefaultArchive();
    const size_t cityAt = 9 * 8 * 2 + 240 * 8 + 54 * 8;
    bytes.replace(cityAt, 4, std::string("\x46\0\0\0", 4));
    tkxSuperElevationStandard standard;
    ASSERT_EQ(1, Load(standard, bytes));
    double result = 0;
    EXPECT_EQ(1, standard.ComputeCivilSlope(ROAD_URBAN_EXPRESSWAY, 70, 625, 2, result));
    EXPECT_EQ(4, result);
    EXPECT_EQ(0, standard.ComputeCivilSlope(ROAD_URBAN_EXPRESSWAY, 80, 625, 2, result));

    // A short archive throws and leaves the tables as they were.
    const std::string before = Store(standard);
    for (size_t cut : {size_t(0), size_t(100), size_t(2671)}) {
        EXPECT_EQ(0, Load(standard, DefaultArchive().substr(0, cut))) << cut;
        EXPECT_EQ(before, Store(standard)) << cut;
    }
}

TEST(SuperElevationStandard, ValuesThatAreNoNumberAreRefusedAndTheTablesKept)
{
    tkxSuperElevationStandard standard;
    const std::string before = Store(standard);
    // A NaN or an infinity in the first and the last slot of the lists, in
    // the radius tables and in the city minimum.
    const size_t doubleAt[] = {0, 8, 9 * 8, 18 * 8, 18 * 8 + 119 * 8, 18 * 8 + 240 * 8 + 53 * 8, 2520, 2664};
    for (size_t at : doubleAt) {
        for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
            SCOPED_TRACE(at);
            std::string bytes = DefaultArchive();
            std::memcpy(&bytes[at], &bad, sizeof bad);
            tkx_SetLastError(L"");
            EXPECT_EQ(-1, Load(standard, bytes));
            EXPECT_NE(-1, tkx_GetLastError().Find(L"数据不是有效的数!")) << Utf8(tkx_GetLastError());
            EXPECT_EQ(before, Store(standard));
        }
    }
}
