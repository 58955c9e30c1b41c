// Shared helpers of the road-model tests: scratch folders and files, the
// scratch registry hive the whole program runs in, and the station settings
// of the library's current project.
//
// For the whole run HKEY_CURRENT_USER is redirected to a scratch key (removed
// at the end) with the documents folder set to a scratch folder, so the
// library starts with no registered project and nothing lands in the real
// user folders.
#pragma once
#include "classlib/ClassLib.h"
#include <gtest/gtest.h>
#include <string>

namespace road_test {

// A new empty folder under the working directory, removed with everything
// in it when the object dies.
class ScratchFolder
{
public:
    explicit ScratchFolder(const wchar_t* name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const CString& Path() const { return m_path; }
    CString operator/(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    CString m_path;
};

void RemoveTree(const CString& path);
void WriteBytes(const CString& path, const std::string& bytes);
std::string ReadBytes(const CString& path);
bool FileExists(const CString& path);

// Text as the data files hold it: 8-bit text of code page 936, the "\n" of
// the text written as CR LF.
std::string FileText(const wchar_t* text);
// Writes a text file of that form.
void WriteText(const CString& path, const wchar_t* text);

// UTF-8 form of a wide text (test expectations are written in UTF-8).
std::string Utf8(const wchar_t* text);

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

// gtest output for the library's strings.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << road_test::Utf8(s) << '"'; }
