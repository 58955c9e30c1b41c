// The world of the file watcher's tests: the resource library (the
// question's dialog) is one of the program's resource modules, as in the
// running program; the watcher is stopped at the end, as at exit.
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileWatch.h"
#include "support/Scratch.h"

namespace {

class WatcherWorld : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_resources = ::LoadLibraryW(test_support::BinFolder() + L"\\" + kResourceDllName);
        ASSERT_NE(nullptr, m_resources);
        AfxAddResourceModule(m_resources);
    }
    void TearDown() override
    {
        StopFileWatchThread();
        AfxRemoveResourceModule(m_resources);
        ::FreeLibrary(m_resources);
    }

private:
    HINSTANCE m_resources = nullptr;
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new WatcherWorld);

} // namespace
