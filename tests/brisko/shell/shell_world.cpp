// The scratch world of Brisko's shell tests: a scratch hive for the whole
// run; the program's main window goes at the end, then the application ends
// as its message loop would end it.
#include "brisko/shell/BriskoApp.h"
#include "support/Scratch.h"

namespace {

class ShellWorld : public test_support::ScratchHive
{
public:
    ShellWorld() : ScratchHive(L"brisko_shell") {}

protected:
    void CleanUp() override
    {
        if (theApp.IsStarted() && theApp.m_pMainWnd) theApp.m_pMainWnd->DestroyWindow();
        theApp.Shutdown();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new ShellWorld);

} // namespace
