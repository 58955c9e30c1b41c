// Test programs' entry point.  Message boxes that no test scripted are
// printed and answered with their safe button, never shown; modal dialogs
// that no test scripted are printed and cancelled.  Tests write only under
// the program's scratch root: what a run leaves in the folder it started in
// is named and fails the run.  A test that runs past its bound is named and
// ends the program, so that a hang shows where it happened.
#include "MessageBoxScript.h"
#include "Scratch.h"
#include "WindowTest.h"
#include <gtest/gtest.h>
#include <atomic>
#include <mutex>
#include <cstdio>
#include <set>
#include <string>
#include <thread>

static int UnscriptedBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type, void*)
{
    std::string t = ClWideToMultiByte(text, -1, CP_UTF8);
    std::string c = ClWideToMultiByte(caption, -1, CP_UTF8);
    std::fprintf(stderr, "[message box \"%s\"] %s\n", c.c_str(), t.c_str());
    return MessageBoxScript::SafeAnswer(type);
}

// The names in a folder.
static std::set<std::wstring> FolderEntries(const CString& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// The bound of one test: far above what any test takes, below the run's own
// limit for the whole program.
constexpr DWORD kTestBoundMs = 150 * 1000;

// Keeps the name and start of the running test; a thread of its own ends the
// program when one runs past the bound.
class Watchdog : public testing::EmptyTestEventListener
{
public:
    Watchdog()
    {
        std::thread([this] {
            for (;;) {
                ::Sleep(1000);
                const DWORD started = m_started.load();
                // The start is stored with its lowest bit set (0 means no test
                // runs), so it may lie a tick after the clock read here: the
                // difference is taken signed, never as a wrapped-around count.
                const LONG elapsed = static_cast<LONG>(::GetTickCount() - started);
                if (started == 0 || elapsed < static_cast<LONG>(kTestBoundMs)) continue;
                std::string name;
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    name = m_name;
                }
                std::fflush(stdout);
                std::fprintf(stderr, "\n[watchdog] %s has run for %lu s: the program is stopped\n", name.c_str(),
                             static_cast<unsigned long>(kTestBoundMs / 1000));
                std::fflush(stderr);
                ::TerminateProcess(::GetCurrentProcess(), 3);
            }
        }).detach();
    }

private:
    void OnTestStart(const testing::TestInfo& info) override
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_name = std::string(info.test_suite_name()) + "." + info.name();
        }
        m_started.store(::GetTickCount() | 1);
    }
    void OnTestEnd(const testing::TestInfo&) override { m_started.store(0); }

    std::mutex m_mutex;
    std::string m_name;
    std::atomic<DWORD> m_started{0};
};

int main(int argc, char** argv)
{
    ClSetMessageBoxHook(&UnscriptedBox, nullptr);
    wintest::DialogScript::InstallGuard();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    const CString startFolder = test_support::WorkingFolder();
    const std::set<std::wstring> before = FolderEntries(startFolder);
    int result = RUN_ALL_TESTS();
    for (const std::wstring& name : FolderEntries(startFolder)) {
        if (before.count(name)) continue;
        std::fprintf(stderr, "The tests left \"%s\" in the folder they started in, %s\n",
                     test_support::Utf8(name.c_str()).c_str(), test_support::Utf8(startFolder).c_str());
        result = 1;
    }
    return result;
}
