// Reading one cross-section from a ground-line file, for the file reader of
// the terrain set (internal to the library, not exported).
#pragma once
#include "corvane/base/LineReader.h"
#include "corvane/road/HdxSection.h"

#include <vector>

namespace hdx_read {

// The file's data lines and the splitter, kept from section to section.
struct SectionReader {
    explicit SectionReader(CStdioFile& file) : lines(file) {}
    text_lines::DataLineReader lines;
    text_lines::FieldList fields;
    CString text;
};

// tkxHdxSection::ReadHDX, telling also the line number of the station line
// (when one was read).  A bad line gives its fault as the last-error text.
int ReadSection(tkxHdxSection& section, SectionReader& reader, int& line, Tavix4::enHDXFormat format,
                const tkxBreakChain* chain, const tkxZDMInfo* profile, int* stationLine);

// The reader fills a section's sides in place.
struct SectionAccess {
    static std::vector<Tavix4::sHdxPoint>& Side(tkxHdxSection& section, bool left)
    {
        return left ? section.m_LeftPts : section.m_RightPts;
    }
};

} // namespace hdx_read
