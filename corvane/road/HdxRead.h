// Reading one cross-section from a ground-line file, for the file reader of
// the terrain set (internal to the library, not exported).
#pragma once
#include "corvane/road/HdxSection.h"

namespace hdx_read {

// tkxHdxSection::ReadHDX, telling also the line number of the station line
// (when one was read).
int ReadSection(tkxHdxSection& section, CStdioFile& file, int& line, Tavix4::enHDXFormat format,
                const tkxBreakChain* chain, const tkxZDMInfo* profile, int* stationLine);

} // namespace hdx_read
