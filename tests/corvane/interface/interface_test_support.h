// Shared helpers of the exported-interface tests: the scratch world every
// test of this program runs in, the library's state put back to empty, and
// the stand-in programs with the records they write.
//
// The whole run is in the scratch hive of tests/support, and the suite's
// installation folder ("PathName") is a scratch folder with an empty Bin
// folder; all are set before the library starts, so its start-up reads an
// empty world.
#pragma once
#include "support/Scratch.h"
#include "support/MessageBoxScript.h"
#include "support/StandinReady.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class tkxProject;

namespace interface_test {

using namespace test_support;

// The scratch installation folder (holds "Bin").
CString InstallFolder();

// UTF-16LE bytes of a text, and those bytes zero-filled to a size.
std::string Utf16Bytes(const wchar_t* text);
std::string Padded(std::string bytes, size_t size);

extern const wchar_t kPrjKey[];
extern const wchar_t kTBKey[];

// The library's registered lists, current project and current library back
// to empty, in memory and in the registry.
void ResetLibraryState();

// A project in its own folder under `parent`, with roads of these names
// (the first current), saved as "<parent>\<name>\<name>.EPJ".
tkxProject MakeProject(const CString& parent, const wchar_t* name, std::vector<const wchar_t*> roads);

// ---------------------------------------------------------------------------
// Stand-in programs and their records.

struct Record {
    std::string kind;
    std::vector<unsigned long> numbers;
    std::string bytes;
};

// The records of a stand-in's file, from the given record on.
std::vector<Record> ReadRecords(const CString& file, size_t from = 0);
// Records of one kind.
std::vector<Record> RecordsOf(const std::vector<Record>& records, const char* kind);

// A stand-in program started by the test (from the test program's folder,
// or from the given path), ended by its process id when the object dies.
// The constructor waits until it is ready (see StandinReady).
class StandIn
{
public:
    // `args` follow the program; "--log <file>" is added.
    StandIn(const wchar_t* program, const wchar_t* args, const CString& log);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    bool Ready() const { return m_ready; }
    DWORD ProcessId() const { return m_info.dwProcessId; }
    const CString& Log() const { return m_log; }
    std::vector<Record> Records(size_t from = 0) const { return ReadRecords(m_log, from); }
    // Whether the process has ended (waits up to `ms`).
    bool Ended(DWORD ms) const;

private:
    PROCESS_INFORMATION m_info = {};
    CString m_log;
    bool m_ready = false;
};

// Ends a process that the library started for a test: found by the process
// id in the READY record of its file, while that id still names a process of
// the program at `image`.
void EndRecordedProcess(const CString& log, const CString& image);

// Copies a stand-in into the scratch installation's Bin folder under the
// suite's program name, and removes the copy (and its record file) when the
// object dies; the process it runs as is ended then too.
class InstalledProgram
{
public:
    InstalledProgram(const wchar_t* standIn, const wchar_t* programName);
    ~InstalledProgram();
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    const CString& Path() const { return m_path; }
    CString Log() const { return m_path + L".log"; }
    // Waits until the copy, started by the library, is ready (see
    // StandinReady).
    bool WaitReady() const { return m_ready->Wait(); }

private:
    CString m_path;
    std::unique_ptr<StandinReady> m_ready;
};

} // namespace interface_test

