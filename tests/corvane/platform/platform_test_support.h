// Shared helpers of the platform tests: scratch folders and files, registry
// seeding, and the scratch hive that every test of this program runs in.
//
// For the whole run HKEY_CURRENT_USER is redirected to a scratch key of the
// real registry (removed at the end), with the user's documents folder set
// to a scratch folder; so the suite's keys start out missing, parallel test
// programs never see each other's entries, and nothing lands in the real
// documents folder.
#pragma once
#include "classlib/ClassLib.h"
#include <gtest/gtest.h>
#include <string>

namespace platform_test {

// The documents folder of the scratch hive (long form).
CString DocumentsFolder();
// The folder of the test program (where our binaries are built).
CString BinFolder();

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
    // Path of a file or folder inside.
    CString operator/(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    CString m_path;
};

void RemoveTree(const CString& path);
void WriteBytes(const CString& path, const std::string& bytes);
std::string ReadBytes(const CString& path);
// Whether this machine's file system takes Chinese file names (Wine needs
// the host's Chinese locale for them).
bool ChineseFileNamesWork();
#define SKIP_WITHOUT_CHINESE_FILE_NAMES()                                                                         \
    if (!platform_test::ChineseFileNamesWork())                                                                   \
    GTEST_SKIP() << "Chinese file names cannot be created here (the host lacks the zh_CN.UTF-8 locale)"

// UTF-8 form of a wide text (test expectations are written in UTF-8).
std::string Utf8(const wchar_t* text);

// Registry seeding; every helper creates the key path as needed.
void SetRegString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value);
void SetRegDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value);
void DeleteRegValue(HKEY root, const wchar_t* key, const wchar_t* name);
void DeleteRegTree(HKEY root, const wchar_t* key);
bool RegKeyExists(HKEY root, const wchar_t* key);
bool RegValueExists(HKEY root, const wchar_t* key, const wchar_t* name);
CString GetRegString(HKEY root, const wchar_t* key, const wchar_t* name);
DWORD GetRegDword(HKEY root, const wchar_t* key, const wchar_t* name);

} // namespace platform_test

// gtest output for the library's strings.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << platform_test::Utf8(s) << '"'; }
