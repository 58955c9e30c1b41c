// One point on a road's horizontal alignment: its continuous station, the
// tangent azimuth, the radius of curvature and its coordinates, with a name.
#pragma once
#include "corvane/CorvaneDefs.h"

namespace Tavix4 {

// Passed and returned by value.  Azimuths are in radians clockwise from
// north; X is the easting, Y the northing, Z the elevation.  A new record
// has radius 1e8 and every other number 0.
struct sZHPtInfo
{
    double m_rZH = 0.0;      // continuous station, metres
    double m_rAzimuth = 0.0; // tangent azimuth, radians
    double m_rRadius = 1e8;  // radius of curvature, metres
    double m_rX = 0.0;
    double m_rY = 0.0;
    double m_rZ = 0.0;
    CString m_SName;

    sZHPtInfo() = default;
    sZHPtInfo(const sZHPtInfo& other) = default;
    sZHPtInfo& operator=(const sZHPtInfo& other) = default;
};

} // namespace Tavix4
