// Start-up of the program in a scratch hive.
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

TEST(Startup, TheProgramStartsWithItsMainFrame)
{
    ASSERT_TRUE(theApp.EnsureStarted());
    ASSERT_NE(nullptr, theApp.m_pMainWnd);
    EXPECT_TRUE(theApp.m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMainFrame)));
    wintest::PumpUntilIdle();
}
