// Helpers shared by the road model's file readers and writers (internal to
// the library, not exported).
#pragma once
#include "corvane/CorvaneDefs.h"

namespace road_files {

// Decimals of a station written with a negative count of decimals: the
// current project's station precision.
short ProjectStationDecimals();

// A value as a file written with "%.3f" holds it.
double Rounded3(double value);

// Stations, lengths, coordinates and elevations of this size or more are
// refused on reading: no road reaches that far (the break chain's open ends
// lie there), and values beyond it carry the geometry out of the range of
// double.
constexpr double kOutOfReach = 1e10;
inline bool WithinReach(double value) { return value > -kOutOfReach && value < kOutOfReach; }

// Writes text (lines ending in "\n") as 8-bit text of the system code page
// with CR LF line ends into a temporary file beside target, then replaces
// target with it (platform/FileReplace.h).  false, with target untouched,
// when anything fails (a read-only target among them).  When
// the failure was a file exception while writing and writeError is given,
// the exception is handed over there (the caller deletes it); otherwise
// *writeError is null.
bool WriteTextFile(const wchar_t* target, const CString& text, CFileException** writeError = nullptr);

} // namespace road_files
