// The probe of the test harness's own check (tests/harness/check): a test
// program with the test main, built with a watchdog bound of a few seconds.
// Its tests are switched off; the check runs one at a time, to see how the
// program ends when a test leaves a file in the start folder, fails an
// assertion, hangs, or passes.
#include "support/Scratch.h"

#include <gtest/gtest.h>

using namespace test_support;

TEST(Probe, DISABLED_LeavesAFileInTheStartFolder) { WriteBytes(WorkingFolder() + L"\\stray 文件.txt", "stray"); }

TEST(Probe, DISABLED_FailsAnAssertion) { EXPECT_EQ(1, 2); }

// Waits for an event that never comes; the watchdog is to stop the program
// long before this wait's own bound.
TEST(Probe, DISABLED_Hangs)
{
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WaitForSingleObject(never, 120 * 1000);
    CloseHandle(never);
    FAIL() << "the watchdog did not stop the program";
}

TEST(Probe, DISABLED_Passes) { SUCCEED(); }
