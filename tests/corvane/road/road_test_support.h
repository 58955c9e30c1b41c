// Shared helpers of the road-model tests: the scratch world of tests/support
// (the whole program runs in a scratch hive, and the library starts inside
// it with no registered project), data-file texts, and the station settings
// of the library's current project.
#pragma once
#include "support/Scratch.h"
#include <string>

namespace road_test {

using namespace test_support;

// Text as the data files hold it: 8-bit text of code page 936, the "\n" of
// the text written as CR LF.
std::string FileText(const wchar_t* text);
// Writes a text file of that form.
void WriteText(const CString& path, const wchar_t* text);

// The current project's station settings for the test: 3 decimals, trailing
// zeros kept, "K" prefix; restored when the object dies.
class StationSettings
{
public:
    StationSettings(int decimals = 3, int keepZeros = 1);
    ~StationSettings();

private:
    int m_decimals;
    int m_keepZeros;
    int m_prefixStyle;
};

// Seconds since some fixed moment (high resolution).
double Seconds();

} // namespace road_test

