// Waiting for a stand-in program (tests/standins) to be ready: its ready
// event, named after its record file, is made and reset before the program
// starts, so that only that start can set it.  A program under heavy load can
// take many seconds to start; the wait ends as soon as it is ready, or when
// its process ends, and fails after a bound far beyond any normal start.
#pragma once
#include "classlib/ClassLib.h"

namespace test_support {

class StandinReady
{
public:
    static const DWORD kBoundMs = 60000;

    // `log`: the record file the stand-in will write.
    explicit StandinReady(const CString& log);
    ~StandinReady();
    StandinReady(const StandinReady&) = delete;
    StandinReady& operator=(const StandinReady&) = delete;

    // true once the stand-in announced that it is ready; false when the
    // process (if given) ended first or the bound passed.
    bool Wait(HANDLE process = nullptr, DWORD ms = kBoundMs) const;

private:
    HANDLE m_event = nullptr;
};

// Opens the process a stand-in recorded by its id, with `access`, only while
// that id still names a process of the program at `image` (the stand-in's
// full path); else null.  An id is free again once its process has ended
// and may by then name another program's process: under Wine one of any test
// program of the same prefix, which ending would fail that program.
HANDLE OpenStandinProcess(DWORD id, const CString& image, DWORD access);

} // namespace test_support
