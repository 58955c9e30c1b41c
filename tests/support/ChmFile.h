// Compiled help files for tests and the demo, written by ourselves: an
// uncompressed file in the layout the system's help storage reads (the
// "ITSF" header, its file-size section, one "ITSP" directory with a single
// "PMGL" listing chunk, and the content of every entry in the uncompressed
// section).  Only what the program reads of a help file is there: named
// entries such as "/index.htm", and the topic map of context ids ("#IVB":
// the size of the record block, then an id and a "#STRINGS" offset per
// topic; "#STRINGS": zero-terminated paths after one leading zero).
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace chm_file {

// One entry: its name in the file ("/index.htm", "/#IVB"; UTF-8) and its
// bytes.
struct Entry {
    std::string name;
    std::string data;
};

// "#IVB" and "#STRINGS" for the topics (context id, topic path as 8-bit
// text), in that order.
std::vector<Entry> TopicMap(const std::vector<std::pair<uint32_t, std::string>>& topics);

// The bytes of a help file with the entries; empty when the listing does
// not fit its one chunk (about 4 KB of names).
std::string Build(std::vector<Entry> entries);

// Writes the file; false when it cannot be written whole.
bool Write(const wchar_t* path, const std::vector<Entry>& entries);

} // namespace chm_file
