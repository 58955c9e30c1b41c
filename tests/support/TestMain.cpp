// Test programs' entry point.  Message boxes that no test scripted are
// printed and answered with their safe button, never shown; modal dialogs
// that no test scripted are printed and cancelled.  Tests write only under
// the program's scratch root, which is emptied as the program starts (what
// a stopped or crashed run left there goes): what a run leaves in the
// folder it started in is named and fails the run.  A test (or the global
// set-up or tear-down) that runs past its bound is named and ends the
// program, so that a hang shows where it happened.
#include "MessageBoxScript.h"
#include "Scratch.h"
#include "WindowTest.h"
#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
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

// The names in a folder (without "." and "..").
static std::set<std::wstring> FolderEntries(const CString& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.insert(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Whether two paths name the same folder (however they are spelt).
static bool SameFolder(const CString& a, const CString& b)
{
    const auto identity = [](const CString& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE folder = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (folder == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(folder, &info) != 0;
        CloseHandle(folder);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return identity(a, ia) && identity(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

// The bound of one test: far above what any test takes, below the run's own
// limit for the whole program.  (The harness's own check builds a program
// with a bound of a few seconds.)
#ifndef TKX_TEST_BOUND_SECONDS
#define TKX_TEST_BOUND_SECONDS 150
#endif
constexpr DWORD kTestBoundMs = TKX_TEST_BOUND_SECONDS * 1000;

// How the watchdog ends a program it stops as hung: this exit status, and
// the marker file in the scratch root holding the test's name.  The test run
// (tools/run-tests) needs both to take a failure for a hang; no other way
// out of a program writes the marker, and the scratch root is emptied as the
// program starts.
constexpr UINT kStoppedAsHungStatus = 86;
const wchar_t kStoppedAsHungMarker[] = L"watchdog-stopped.txt";

// The running test's name (or "global set-up", "global tear-down") and
// start, shared by the watchdog's thread and its listener.  Each holds it,
// so that it outlives the listener, which the test framework deletes at the
// program's very end.
struct RunningTest {
    std::mutex mutex;
    std::string name;
    // The start is stored with its lowest bit set; 0 means no test runs.
    std::atomic<DWORD> started{0};
};

// Watched are each test and the global set-up and tear-down (the test
// environments'), which may show windows as well.
class WatchdogListener : public testing::EmptyTestEventListener
{
public:
    explicit WatchdogListener(std::shared_ptr<RunningTest> test) : m_test(std::move(test)) {}

private:
    void OnEnvironmentsSetUpStart(const testing::UnitTest&) override { Start("global set-up"); }
    void OnEnvironmentsSetUpEnd(const testing::UnitTest&) override { End(); }
    void OnTestStart(const testing::TestInfo& info) override
    {
        Start(std::string(info.test_suite_name()) + "." + info.name());
    }
    void OnTestEnd(const testing::TestInfo&) override { End(); }
    void OnEnvironmentsTearDownStart(const testing::UnitTest&) override { Start("global tear-down"); }
    void OnEnvironmentsTearDownEnd(const testing::UnitTest&) override { End(); }

    void Start(const std::string& name)
    {
        {
            std::lock_guard<std::mutex> lock(m_test->mutex);
            m_test->name = name;
        }
        m_test->started.store(::GetTickCount() | 1);
    }
    void End() { m_test->started.store(0); }

    std::shared_ptr<RunningTest> m_test;
};

// A thread of its own ends the program when a test runs past the bound.  It
// runs from construction to Stop, which the program calls once the tests
// are over, before anything of the test framework goes.
class Watchdog
{
public:
    explicit Watchdog(const CString& marker)
        : m_test(std::make_shared<RunningTest>()), m_marker(marker), m_thread([this] { Watch(); })
    {
    }
    ~Watchdog() { Stop(); }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // A listener for the test framework, which owns it.
    testing::TestEventListener* NewListener() const { return new WatchdogListener(m_test); }

    void Stop()
    {
        {
            std::lock_guard<std::mutex> lock(m_stopMutex);
            m_stop = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(m_stopMutex);
        while (!m_wake.wait_for(lock, std::chrono::seconds(1), [this] { return m_stop; })) {
            const DWORD started = m_test->started.load();
            // The start may lie a tick after the clock read here: the
            // difference is taken signed, never as a wrapped-around count.
            const LONG elapsed = static_cast<LONG>(::GetTickCount() - started);
            if (started == 0 || elapsed < static_cast<LONG>(kTestBoundMs)) continue;
            std::string name;
            {
                std::lock_guard<std::mutex> testLock(m_test->mutex);
                name = m_test->name;
            }
            StopAsHung(name);
        }
    }

    [[noreturn]] void StopAsHung(const std::string& name) const
    {
        if (FILE* marker = _wfopen(m_marker, L"wb")) {
            std::fprintf(marker, "%s\n", name.c_str());
            std::fclose(marker);
        }
        std::fflush(stdout);
        std::fprintf(stderr, "\n[watchdog] %s has run for %lu s: the program is stopped as hung\n", name.c_str(),
                     static_cast<unsigned long>(kTestBoundMs / 1000));
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), kStoppedAsHungStatus);
        for (;;) ::Sleep(INFINITE);
    }

    std::shared_ptr<RunningTest> m_test;
    const CString m_marker;
    std::mutex m_stopMutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread; // last: it starts once the rest is made
};

// A crash ends the program at once with the exception's code as its exit
// status, naming the exception and the test that ran.  Left to Wine's
// debugger, the program printed a backtrace but ended, now and then, with
// status 0, which the test run took for a pass.
static LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* crash)
{
    const DWORD code = crash->ExceptionRecord->ExceptionCode;
    std::string where;
    if (const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info())
        where = std::string(" in ") + test->test_suite_name() + "." + test->name();
    std::fprintf(stderr, "\n[crash] exception %08lX at %p%s: the program ends\n", static_cast<unsigned long>(code),
                 crash->ExceptionRecord->ExceptionAddress, where.c_str());
    std::fflush(stderr);
    // The run sees the low byte of the status: never 0.
    ::TerminateProcess(::GetCurrentProcess(), (code & 0xFF) ? code : 1);
    return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv)
{
    ::SetUnhandledExceptionFilter(&EndOnCrash);
    // Written through at once: a program ended from outside (or by a crash)
    // shows how far it got.  The test run's output is a file, which the C
    // library would otherwise fill in blocks.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // A program that ends before its first test shows whether it got here:
    // without this line it never ran its own code (loading, or a library's
    // start-up, ended it).
    std::printf("[start] %s\n", argc > 0 ? argv[0] : "");
    ClSetMessageBoxHook(&UnscriptedBox, nullptr);
    wintest::DialogScript::InstallGuard();
    testing::InitGoogleTest(&argc, argv);
    test_support::EmptyFolder(test_support::ScratchRoot());

    // In the folder the test run starts it in, the program expects nothing
    // at the end, whatever an earlier run left there (such a leftover is
    // named and removed now), so that a test that leaves a file there fails
    // every run.  Started elsewhere, it expects what the folder held at its
    // start.
    const CString startFolder = test_support::WorkingFolder();
    std::set<std::wstring> before;
    if (SameFolder(startFolder, test_support::RunStartFolder())) {
        for (const std::wstring& name : FolderEntries(startFolder)) {
            std::fprintf(stderr, "An earlier run left \"%s\" in the folder the tests start in, %s: removed\n",
                         test_support::Utf8(name.c_str()).c_str(), test_support::Utf8(startFolder).c_str());
            test_support::RemoveTree(startFolder + L"\\" + name.c_str());
        }
    } else {
        before = FolderEntries(startFolder);
    }

    Watchdog watchdog(test_support::ScratchRoot() + L"\\" + kStoppedAsHungMarker);
    testing::UnitTest::GetInstance()->listeners().Append(watchdog.NewListener());
    int result = RUN_ALL_TESTS();
    watchdog.Stop();

    for (const std::wstring& name : FolderEntries(startFolder)) {
        if (before.count(name)) continue;
        std::fprintf(stderr, "The tests left \"%s\" in the folder they started in, %s\n",
                     test_support::Utf8(name.c_str()).c_str(), test_support::Utf8(startFolder).c_str());
        result = 1;
    }
    return result;
}
