// The probe of the test harness's own check (tests/harness/check): a test
// program with the test main, built with a watchdog bound of a few seconds.
// Its tests are switched off; the check runs one at a time, to see how the
// program ends when a test leaves a file in the start folder, fails an
// assertion, crashes, hangs, or passes, and that a stand-in's recorded id that has
// come to name another program is left alone.  With TKX_PROBE_HANG set to "set-up" or
// "tear-down", the program's global set-up or tear-down hangs instead.
#include "support/Scratch.h"
#include "support/StandinReady.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace test_support;

namespace {

// Waits for an event that never comes; the watchdog is to stop the program
// long before this wait's own bound.
void Hang()
{
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WaitForSingleObject(never, 120 * 1000);
    CloseHandle(never);
}

class HangingEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { HangIn("set-up"); }
    void TearDown() override { HangIn("tear-down"); }

private:
    static void HangIn(const char* part)
    {
        const char* wanted = std::getenv("TKX_PROBE_HANG");
        if (!wanted || std::strcmp(wanted, part) != 0) return;
        Hang();
        FAIL() << "the watchdog did not stop the program in the global " << part;
    }
};

::testing::Environment* const g_hanging = ::testing::AddGlobalTestEnvironment(new HangingEnvironment);

} // namespace

TEST(Probe, DISABLED_LeavesAFileInTheStartFolder) { WriteBytes(WorkingFolder() + L"\\stray 文件.txt", "stray"); }

TEST(Probe, DISABLED_FailsAnAssertion) { EXPECT_EQ(1, 2); }

TEST(Probe, DISABLED_Crashes)
{
    // Read at run time, so that the compiler cannot see the null pointer.
    static volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
}

TEST(Probe, DISABLED_Hangs)
{
    Hang();
    FAIL() << "the watchdog did not stop the program";
}

TEST(Probe, DISABLED_Passes) { SUCCEED(); }

// A stand-in's recorded id that names another program's process (this one,
// as a freed id may come to name any test program of the prefix): the
// stand-in's process is not opened by it, so it is not ended.  The id does
// name a process, which opens under its own program's path.
TEST(Probe, DISABLED_LeavesAnotherProgramAlone)
{
    const DWORD recorded = GetCurrentProcessId();
    HANDLE standin = OpenStandinProcess(recorded, BinFolder() + L"\\holdfile.exe", PROCESS_TERMINATE | SYNCHRONIZE);
    EXPECT_EQ(nullptr, standin) << "the id of another program opened as the stand-in's";
    if (standin) CloseHandle(standin);

    wchar_t own[MAX_PATH * 2] = {};
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, own, MAX_PATH * 2));
    HANDLE self = OpenStandinProcess(recorded, own, SYNCHRONIZE);
    EXPECT_NE(nullptr, self) << "the id does not open under its own program's path";
    if (self) CloseHandle(self);
}
