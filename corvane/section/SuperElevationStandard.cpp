#include "corvane/section/SuperElevationStandard.h"
#include "corvane/base/LastError.h"
#include "corvane/project/StationText.h"
#include "corvane/road/Road.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>

using namespace Tavix4;

namespace {

// First highway table (radii in m, falling; 0 ends a row).
const double kHighwayR1[12][10] = {
    {5500, 3240, 2160, 1620, 1300, 1080, 930, 810, 720, 656},
    {4000, 1710, 1220, 950, 770, 650, 560, 500, 440, 400},
    {2500, 1240, 830, 620, 500, 410, 350, 310, 280, 250},
    {1500, 810, 570, 430, 340, 280, 230, 200, 160, 125},
    {4000, 1710, 1220, 950, 770, 650, 560, 500, 440, 400},
    {1500, 810, 570, 430, 340, 280, 230, 200, 160, 125},
    {2500, 1210, 840, 630, 500, 410, 320, 250, 0, 0},
    {600, 390, 270, 200, 150, 120, 90, 60, 0, 0},
    {1500, 780, 530, 390, 300, 230, 170, 125, 0, 0},
    {350, 230, 150, 110, 80, 60, 50, 30, 0, 0},
    {600, 390, 270, 200, 150, 120, 90, 60, 0, 0},
    {150, 105, 70, 55, 40, 30, 20, 15, 0, 0},
};

// Second highway table.
const double kHighwayR2[12][10] = {
    {5500, 1940, 1290, 970, 780, 650}, {4000, 1550, 1050, 760, 550, 400}, {2500, 1130, 750, 520, 360, 250},
    {1500, 720, 460, 300, 190, 125},   {4000, 1550, 1050, 760, 550, 400}, {1500, 720, 460, 300, 190, 125},
    {2500, 1130, 750, 520, 360, 250},  {600, 360, 230, 150, 90, 60},      {1500, 720, 460, 300, 190, 125},
    {350, 210, 130, 80, 50, 30},       {600, 360, 230, 150, 90, 60},      {150, 95, 60, 40, 25, 15},
};

// Ramp table; the first column is rewritten by every ramp lookup.
const double kRampR[6][9] = {
    {3500, 1240, 870, 670, 540, 450, 380, 330, 280}, {2000, 800, 560, 420, 330, 270, 220, 180, 140},
    {1300, 590, 410, 310, 240, 200, 160, 120, 90},   {800, 400, 280, 210, 160, 130, 90, 70, 50},
    {650, 280, 220, 140, 110, 90, 60, 50, 40},       {500, 220, 150, 110, 80, 60, 40, 30, 0},
};
// The ramp table's first column by crown: below 2 % and from 2 % on.
const double kRampFirstFlat[6] = {2500, 1500, 1000, 600, 500, 350};
const double kRampFirstCrowned[6] = {3500, 2000, 1300, 800, 650, 500};

const double kSlope[9] = {2, 3, 4, 5, 6, 7, 8, 9, 10};
const double kRampSlope[10] = {2, 2, 3, 4, 5, 6, 7, 8, 9, 10};

const int kCivilSpeed[6] = {80, 60, 50, 40, 30, 20};
const double kCivilNoR[6] = {1000, 600, 400, 300, 150, 70};
const double kCivilMinR[6] = {250, 150, 100, 70, 40, 20};
const double kCivilMaxI[6] = {6, 4, 4, 2, 2, 2};
constexpr double kCivilMinI = 2;

const wchar_t kBadStandard[] = L"超高技术标准有错，无法计算横坡度!";
const wchar_t kNotFound[] = L"未搜索到超高横坡度数据!";

// The design speed to the nearest integer, as its text with no decimals
// reads back.
int RoundedSpeed(double speed) { return _wtoi(tkx_DToS(speed, 0, 0)); }

// The smallest radius of a highway row: the last positive entry before the
// first that is not.
double SmallestRadius(const double (&row)[10])
{
    double smallest = row[9];
    for (int i = 1; i < 10; ++i) {
        if (row[i] <= 1e-6) {
            smallest = row[i - 1];
            break;
        }
    }
    return smallest;
}

// The road's radius at a station; false when there is no road (with a
// message) or the station lies on no alignment unit (without one).
bool RadiusAt(const tkxRoadObject* road, double station, double& radius)
{
    if (!road) {
        tkx_SetLastError(L"没有道路数据!");
        return false;
    }
    return road->GetRadius(station, radius) == 1;
}

// The lookup in one row of radii falling from row[0] (the radius from which
// on no superelevation is needed) to smallest; interval i, between row[i]
// and row[i+1], gives slopes[i], never below the crown, and a radius below
// the smallest gives maxSlope.  noneNeeded(r, row[0]) and inInterval(r,
// row[i], row[i+1]) hold the table's own tolerances.
template <class NoneNeeded, class InInterval>
int RowLookup(const double* row, int count, double smallest, const double* slopes, double maxSlope, double r,
              double crown, double& result, NoneNeeded noneNeeded, InInterval inInterval)
{
    if (noneNeeded(r, row[0])) {
        result = crown;
        return 0;
    }
    if (row[0] < 1e-6) {
        tkx_SetLastError(kBadStandard);
        return 0;
    }
    if (r < smallest - 1e-6) {
        result = maxSlope;
        return 1;
    }
    for (int i = 0; i + 1 < count; ++i) {
        if (inInterval(r, row[i], row[i + 1])) {
            result = std::max(slopes[i], crown);
            return 1;
        }
    }
    tkx_SetLastError(kNotFound);
    return 0;
}

template <class Value, size_t N>
void Put(CArchive& ar, const Value (&values)[N], size_t count = N)
{
    for (size_t i = 0; i < count; ++i) ar << values[i];
}

template <class Value, size_t N>
void Get(CArchive& ar, Value (&values)[N], size_t count = N)
{
    for (size_t i = 0; i < count; ++i) ar >> values[i];
}

// The first value of the tables that is no finite number, as "<table> 第n个"
// (n from 1, row by row); empty when every value is one.
CString NonFinite(const wchar_t* table, const double* values, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (!std::isfinite(values[i])) return ClFormat(L"%s第%d个", table, static_cast<int>(i) + 1);
    return CString();
}

} // namespace

tkxSuperElevationStandard::tkxSuperElevationStandard()
{
    SetHighwayDefault();
    SetCivilDefault();
}

tkxSuperElevationStandard::~tkxSuperElevationStandard() = default;

tkxSuperElevationStandard& tkxSuperElevationStandard::operator=(const tkxSuperElevationStandard& other) = default;

void tkxSuperElevationStandard::SetHighwayDefault()
{
    std::memcpy(m_rHighwayR1, kHighwayR1, sizeof(m_rHighwayR1));
    std::memcpy(m_rHighwayR2, kHighwayR2, sizeof(m_rHighwayR2));
    std::memcpy(m_rRampR, kRampR, sizeof(m_rRampR));
    std::memcpy(m_rSlope, kSlope, sizeof(m_rSlope));
    std::memcpy(m_rRampSlope, kRampSlope, sizeof(m_rRampSlope));
}

void tkxSuperElevationStandard::SetCivilDefault()
{
    std::memcpy(m_iCivilSpeed, kCivilSpeed, sizeof(m_iCivilSpeed));
    std::memcpy(m_rCivilNoR, kCivilNoR, sizeof(m_rCivilNoR));
    std::memcpy(m_rCivilMinR, kCivilMinR, sizeof(m_rCivilMinR));
    std::memcpy(m_rCivilMaxI, kCivilMaxI, sizeof(m_rCivilMaxI));
    m_rCivilMinI = kCivilMinI;
}

void tkxSuperElevationStandard::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        Put(ar, m_rSlope);
        Put(ar, m_rRampSlope, 9); // the ramp maximum is not stored
        for (const auto& row : m_rHighwayR1) Put(ar, row);
        for (const auto& row : m_rHighwayR2) Put(ar, row);
        for (const auto& row : m_rRampR) Put(ar, row);
        Put(ar, m_iCivilSpeed);
        Put(ar, m_rCivilNoR);
        Put(ar, m_rCivilMinR);
        Put(ar, m_rCivilMaxI);
        ar << m_rCivilMinI;
        return;
    }
    // Loaded into a copy and taken over whole: a short archive throws before
    // anything here changed.
    tkxSuperElevationStandard loaded(*this);
    Get(ar, loaded.m_rSlope);
    Get(ar, loaded.m_rRampSlope, 9);
    for (auto& row : loaded.m_rHighwayR1) Get(ar, row);
    for (auto& row : loaded.m_rHighwayR2) Get(ar, row);
    for (auto& row : loaded.m_rRampR) Get(ar, row);
    Get(ar, loaded.m_iCivilSpeed);
    Get(ar, loaded.m_rCivilNoR);
    Get(ar, loaded.m_rCivilMinR);
    Get(ar, loaded.m_rCivilMaxI);
    ar >> loaded.m_rCivilMinI;
    // A radius or a superelevation that is no number would answer every
    // look-up with one: such an archive is refused like a short one.
    const struct {
        const wchar_t* name;
        const double* values;
        size_t count;
    } tables[] = {
        {L"超高横坡度表", loaded.m_rSlope, 9},
        {L"匝道超高横坡度表", loaded.m_rRampSlope, 9},
        {L"公路超高半径表一", &loaded.m_rHighwayR1[0][0], 120},
        {L"公路超高半径表二", &loaded.m_rHighwayR2[0][0], 120},
        {L"匝道超高半径表", &loaded.m_rRampR[0][0], 54},
        {L"城市道路不设超高半径表", loaded.m_rCivilNoR, 6},
        {L"城市道路最小半径表", loaded.m_rCivilMinR, 6},
        {L"城市道路最大超高表", loaded.m_rCivilMaxI, 6},
        {L"城市道路最小超高", &loaded.m_rCivilMinI, 1},
    };
    for (const auto& table : tables) {
        const CString bad = NonFinite(table.name, table.values, table.count);
        if (bad.IsEmpty()) continue;
        CFile* file = ar.GetFile();
        const CString name = file ? file->GetFilePath() : CString();
        tkx_SetLastError(ClFormat(L"\n读取超高标准数据<%s>失败: %s数据不是有效的数!", name.GetString(), bad.GetString()));
        AfxThrowArchiveException(CArchiveException::genericException, name);
    }
    *this = loaded;
}

int tkxSuperElevationStandard::ComputeHighwaySlope(enRoadLevel level, int tableChoice, double designSpeed,
                                                   double radius, double crown, double& result)
{
    const int v = RoundedSpeed(designSpeed);
    if (level >= ROAD_URBAN_EXPRESSWAY) {
        tkx_SetLastError(L"道路类型不是公路!");
        return 0;
    }
    if (level < 0) {
        tkx_SetLastError(L"指定的公路等级有错!");
        return 0;
    }
    int row = 0;
    switch (level) {
    case ROAD_EXPRESSWAY: row = v >= 120 ? 0 : v >= 100 ? 1 : v >= 80 ? 2 : 3; break;
    case ROAD_RAMP:
        row = v >= 80 ? 0 : v >= 60 ? 1 : v >= 50 ? 2 : v >= 40 ? 3 : v >= 35 ? 4 : 5;
        return Geti2(row, radius, crown, result);
    case ROAD_FIRST_CLASS: row = v >= 80 ? 4 : 5; break;
    case ROAD_SECOND_CLASS: row = v >= 80 ? 6 : 7; break;
    case ROAD_THIRD_CLASS: row = v >= 40 ? 8 : 9; break;
    default: row = v >= 40 ? 10 : 11; break; // fourth class and substandard
    }
    return tableChoice == 1 ? Geti0(row, radius, crown, result) : Geti1(row, radius, crown, result);
}

int tkxSuperElevationStandard::ComputeHighwaySlope(const tkxRoadObject* road, int tableChoice, double station,
                                                   double crown, double& result)
{
    double radius = 0.0;
    if (!RadiusAt(road, station, radius)) return 0;
    const double speed = static_cast<int>(road->GetSpeed());
    return ComputeHighwaySlope(road->GetRoadLevel(), tableChoice, speed, radius, crown, result);
}

int tkxSuperElevationStandard::ComputeCivilSlope(enRoadLevel level, double designSpeed, double radius,
                                                 double crown, double& result)
{
    return CivilSlope(level, RoundedSpeed(designSpeed), radius, crown, result, 0);
}

int tkxSuperElevationStandard::ComputeCivilSlope(const tkxRoadObject* road, double station, double crown,
                                                 double& result)
{
    double radius = 0.0;
    if (!RadiusAt(road, station, radius)) return 0;
    return CivilSlope(road->GetRoadLevel(), static_cast<int>(road->GetSpeed()), radius, crown, result, 1);
}

int tkxSuperElevationStandard::CivilSlope(enRoadLevel level, int speed, double r, double crown, double& result,
                                          int noSuperelevationResult)
{
    if (level <= ROAD_SUBSTANDARD) {
        tkx_SetLastError(L"道路类型不是城市道路!");
        return 0;
    }
    const int* found = std::find(std::begin(m_iCivilSpeed), std::end(m_iCivilSpeed), speed);
    if (found == std::end(m_iCivilSpeed)) {
        tkx_SetLastError(ClFormat(L"\n设计车速:%dkm/h未定义。", speed));
        result = m_rCivilMinI;
        return 0;
    }
    const size_t k = static_cast<size_t>(found - m_iCivilSpeed);
    const double minR = m_rCivilMinR[k], noR = m_rCivilNoR[k], maxI = m_rCivilMaxI[k];
    if (r < minR - 0.001) {
        result = maxI;
        return 1;
    }
    if (r > noR - 0.001) {
        result = crown;
        return noSuperelevationResult;
    }
    const double h = maxI - (maxI - m_rCivilMinI) * (r - minR) / (noR - minR);
    result = static_cast<int>(h / 0.5 + 0.5) * 0.5;
    return 1;
}

int tkxSuperElevationStandard::Geti0(int index, double r, double crown, double& result)
{
    const double(&row)[10] = m_rHighwayR1[index];
    return RowLookup(row, 10, SmallestRadius(row), m_rSlope, m_rSlope[8], r, crown, result,
                     [](double r, double first) { return r > first - 1e-6; },
                     [](double r, double upper, double lower) { return upper > r && r > lower - 1e-6; });
}

int tkxSuperElevationStandard::Geti1(int index, double r, double crown, double& result)
{
    const double(&row)[10] = m_rHighwayR2[index];
    return RowLookup(row, 10, SmallestRadius(row), m_rSlope, m_rSlope[8], r, crown, result,
                     [](double r, double first) { return r > first + 1e-6 || std::fabs(r - first) < 0.00001; },
                     [](double r, double upper, double lower) {
                         return r < upper && (lower < r || std::fabs(r - lower) < 1e-6);
                     });
}

int tkxSuperElevationStandard::Geti2(int index, double r, double crown, double& result)
{
    m_rRampSlope[0] = crown;
    const double* first = crown < 1.999999 ? kRampFirstFlat : kRampFirstCrowned;
    for (int k = 0; k < 6; ++k) m_rRampR[k][0] = first[k];

    const double(&row)[9] = m_rRampR[index];
    double smallest = HUGE_VAL;
    for (double radius : row)
        if (radius > 10) smallest = std::min(smallest, radius);
    // Interval i of a ramp row takes element i+1 of the ramp list.
    return RowLookup(row, 9, smallest, m_rRampSlope + 1, m_rRampSlope[9], r, crown, result,
                     [](double r, double first) { return r > first - 1e-6; },
                     [](double r, double upper, double lower) { return upper > r && r > lower - 1e-6; });
}
