// The scratch world of the library's tests: scratch folders and files, the
// registry seeding helpers, and a scratch hive for a whole test program.
//
// ScratchHive redirects HKEY_CURRENT_USER, for the whole run, to a scratch
// key of the real registry (removed at the end) and points the user's
// documents folder at a scratch folder, so the suite's keys start out
// missing, parallel test programs never see each other's entries and nothing
// lands in the real user folders.  A test program registers one with
// ::testing::AddGlobalTestEnvironment.
#pragma once
#include "classlib/ClassLib.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace test_support {

// The current folder (without a trailing "\"), for tests that put it back
// after a file dialog moved it, and the test program's folder (where our
// binaries and stand-ins are built).
CString WorkingFolder();
CString BinFolder();
// The folder the test run starts the program in, <build>\testwork\<program>:
// made for the program alone, it holds nothing between runs.
CString RunStartFolder();

// The program's own folder for everything its tests write (scratch folders,
// logs, saved pictures), made on first use and independent of the current
// folder: <build>\testwork\<deep folders>\<program>, where the deep folders
// are named as engineers name their project folders (blanks, Chinese) and
// make the root at least kMinScratchPath characters long, however shallow
// the checkout lies.
CString ScratchRoot();
const int kMinScratchPath = 120;

// A new empty folder under the scratch root, removed with everything in it
// when the object dies.
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

// Removes a file, or a folder with everything in it.  A link (a junction or
// symbolic link, under Wine a Unix symbolic link), given or found inside, is
// removed itself; what it points to is left alone.
void RemoveTree(const CString& path);
// Removes everything inside a folder, as RemoveTree does; the folder stays.
void EmptyFolder(const CString& path);
void WriteBytes(const CString& path, const std::string& bytes);
std::string ReadBytes(const CString& path);
bool FileExists(const CString& path);
// UTF-8 form of a wide text (test expectations are written in UTF-8).
std::string Utf8(const wchar_t* text);
// Text as the data files hold it: 8-bit text of code page 936, the "\n" of
// the text written as CR LF; and a file of that text.
std::string FileText(const wchar_t* text);
void WriteText(const CString& path, const wchar_t* text);
// Seconds since some fixed moment (high resolution).
double Seconds();
// The shortest of `runs` timings of run, in seconds (for tests that compare
// how the time grows with the size of the work).
double FastestRun(const std::function<void()>& run, int runs = 3);
// The processor time the calling thread has used, in seconds (counted in
// the system's ticks: 10 ms under Wine).
double ThreadSeconds();
// How much longer the large work takes than the small one, in the thread's
// own processor time, which a busy machine leaves as it is (the clock time
// of a long run it stretches more than that of a short one): each work runs
// in turn in blocks of a tenth of a second at least, at least `rounds`
// blocks and half a second each.
double GrowthRatio(const std::function<void()>& small, const std::function<void()>& large, int rounds = 5);

// Registry seeding and reading; key paths are created as needed.  A missing
// string reads as "<missing>", a missing number as 0xDEADBEEF.
void SetRegString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value);
void SetRegDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value);
void DeleteRegValue(HKEY root, const wchar_t* key, const wchar_t* name);
void DeleteRegTree(HKEY root, const wchar_t* key);
bool RegKeyExists(HKEY root, const wchar_t* key);
bool RegValueExists(HKEY root, const wchar_t* key, const wchar_t* name);
CString GetRegString(HKEY root, const wchar_t* key, const wchar_t* name);
DWORD GetRegDword(HKEY root, const wchar_t* key, const wchar_t* name);

// A scratch installation of the suite for the running program: a new
// folder with an empty Bin folder, registered (under the redirected hive) as
// the suite's installation folder.  `folder` receives its path.
void MakeScratchInstallation(CString& folder);

class ScratchHive : public ::testing::Environment
{
public:
    // `tag` names the program's scratch key and folders.
    explicit ScratchHive(const wchar_t* tag) : m_tag(tag) {}
    void SetUp() override;
    void TearDown() override;

    // The scratch documents folder of the running program's hive.
    static CString DocumentsFolder();

protected:
    // More of the world, made after the redirection (and before any test).
    virtual void Prepare() {}
    virtual void CleanUp() {}
    const CString& Tag() const { return m_tag; }

private:
    CString m_tag;
    HKEY m_hive = nullptr;
};

} // namespace test_support

// gtest output for the library's strings.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << test_support::Utf8(s) << '"'; }
