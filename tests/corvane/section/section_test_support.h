// Shared helpers of the cross-section and operating-speed tests: the scratch
// world of tests/support (the library starts inside a scratch hive with no
// registered project) and a road built unit by unit.
#pragma once
#include "support/LibraryWorld.h"
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

} // namespace section_test
