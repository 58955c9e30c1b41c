// Shared helpers of the cross-section and operating-speed tests: the scratch
// world of tests/support (the library starts inside a scratch hive with no
// registered project), a road built unit by unit, a break chain and a
// straight-grade profile.
#pragma once
#include "support/LibraryWorld.h"
#include "support/MessageBoxScript.h"
#include "corvane/road/Road.h"

#include <string>

namespace section_test {

using namespace test_support;

// Builds a road's horizontal alignment from its start (station 0 at the
// origin, heading north), each unit starting where the one before ends.
// Radii of 1e10 stand for an infinite radius.
class RoadBuilder
{
public:
    explicit RoadBuilder(tkxRoadObject& road) : m_road(road) {}
    RoadBuilder& Straight(double length);
    RoadBuilder& Arc(double length, double radius, enDir turn);
    RoadBuilder& Spiral(double length, double startRadius, double endRadius, enDir turn);

private:
    tkxRoadObject& m_road;
    Tavix4::sZHPtInfo m_at;
};

// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const CString& path);

// Little-endian bytes of numbers, as the class library's archive writes them.
void PutDouble(std::string& bytes, double value);
void PutInt(std::string& bytes, int value);

// Two breaks: 1200=1180 and 2500=2510.
//   segment 1: .. 1200          chainage = station
//   segment 2: 1180 .. 2500     chainage = station + 20
//   segment 3: 2510 ..          chainage = station + 10
// The stations 2500 to 2510 lie in no segment.
void MakeTwoBreaks(tkxBreakChain& chain);

// A straight grade from (0, 100.000) to (1000, 110.000): the centre line is
// 100 + 0.01 * station high between 0 and 1000 and has no elevation outside.
void MakeOnePercentGrade(tkxZDMInfo& profile);

} // namespace section_test
