#include "section_test_support.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/ClothoidUnit.h"
#include "corvane/road/LineArcUnits.h"
#include "corvane/road/Profile.h"

#include <cmath>
#include <cstring>

using namespace Tavix4;

namespace section_test {

namespace {

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new LibraryHive(L"section"));

} // namespace

RoadBuilder& RoadBuilder::Straight(double length)
{
    sZHPtInfo end = m_at;
    end.m_rX += length * std::sin(m_at.m_rAzimuth);
    end.m_rY += length * std::cos(m_at.m_rAzimuth);
    end.m_rZH += length;
    auto* unit = new tkxLineUnit;
    unit->SetUnitInfo(m_at, end);
    m_road.AppendPlaneUnit(unit);
    m_at = unit->GetUnitInfo().m_EndPt;
    return *this;
}

RoadBuilder& RoadBuilder::Arc(double length, double radius, enDir turn)
{
    sZHPtInfo start = m_at;
    start.m_rRadius = radius;
    auto* unit = new tkxArcUnit;
    EXPECT_EQ(1, unit->SetUnitInfo(start, length, turn));
    m_road.AppendPlaneUnit(unit);
    m_at = unit->GetUnitInfo().m_EndPt;
    return *this;
}

RoadBuilder& RoadBuilder::Spiral(double length, double startRadius, double endRadius, enDir turn)
{
    sZHPtInfo start = m_at;
    start.m_rRadius = startRadius;
    auto* unit = new tkxClothoidUnit;
    EXPECT_EQ(1, unit->SetUnitInfo(start, endRadius, length, turn));
    m_road.AppendPlaneUnit(unit);
    m_at = unit->GetUnitInfo().m_EndPt;
    return *this;
}

std::string FileBytes(const CString& path) { return FileExists(path) ? ReadBytes(path) : std::string(); }

void PutDouble(std::string& bytes, double value)
{
    char raw[8];
    std::memcpy(raw, &value, 8);
    bytes.append(raw, 8);
}

void PutInt(std::string& bytes, int value)
{
    char raw[4];
    std::memcpy(raw, &value, 4);
    bytes.append(raw, 4);
}

void MakeTwoBreaks(tkxBreakChain& chain)
{
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1180, 2500=2510")) << Utf8(tkx_GetLastError());
    ASSERT_EQ(3, chain.GetBreakChainCount());
}

void MakeOnePercentGrade(tkxZDMInfo& profile)
{
    CArray<double, double> stations, elevations, radii;
    stations.Add(0.0);
    stations.Add(1000.0);
    elevations.Add(100.0);
    elevations.Add(110.0);
    radii.Add(0.0);
    radii.Add(0.0);
    profile.SetBPDZHs(stations);
    profile.SetBPDElevations(elevations);
    profile.SetRs(radii);
    ASSERT_EQ(1, profile.ComputeSQX()) << Utf8(tkx_GetLastError());
}

} // namespace section_test
