// The alignment unit file (.ICD): a road's horizontal alignment as its
// start point followed by one line per unit.
//
//   line 1   start station (continuous, metres)
//   line 2   northing, easting, start azimuth (radians from north)
//   then     one unit per line (see LineArcUnits.h and ClothoidUnit.h):
//              1, L [, azimuth]
//              2, R, L, turn [, azimuth]
//              3, A, end radius, turn [, azimuth]
//              4, A, start radius, turn [, azimuth]
//              5 or 6, A, start radius, end radius, turn [, azimuth]
//   last     0, 0, 0 (optional when reading)
//
// Lines that are empty or begin with "//" are skipped.  Each unit starts at
// the end of the one before; a unit's own azimuth field breaks that chain of
// azimuths.  The road object reads and writes the file
// (tkxRoadObject::LoadICDFile and SaveICDFile).
#pragma once
#include "corvane/road/PlaneUnit.h"

namespace icd_file {

// A new empty unit for a unit code: 1 a straight, 2 an arc, any other a
// clothoid (which refuses codes other than 3 to 6 when it reads its line).
tkxRoadPMUnit* NewUnitForCode(int code);

// Whether a path passes the file-name test of the unit file: it must
// contain ".ICD" (any case).
bool IsUnitFileName(const wchar_t* path);

} // namespace icd_file
