// The watcher's life with changes arriving: watches added and removed
// meanwhile, a notice that reaches its receiver after its watch went, and
// the stop at exit.
#include "watch_support.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <map>
#include <random>
#include <thread>

using namespace watchtest;
using test_support::ScratchFolder;

TEST(FileWatchLifetime, WatchesAddedAndRemovedWhileChangesArrive)
{
    ScratchFolder folder(L"busy");
    std::vector<CString> files;
    for (int f = 0; f < 5; ++f) {
        CString sub;
        sub.Format(L"%s\\road%d", folder.Path().GetString(), f);
        ::CreateDirectoryW(sub, nullptr);
        for (const wchar_t* name : {L"\\road.dl", L"\\road.dmx"}) {
            files.push_back(sub + name);
            Touch(files.back());
        }
    }
    Receiver receiver;
    // Another thread keeps writing the files until the end of the churn.
    struct Writer {
        std::atomic<bool> writing{true};
        std::thread thread;
        explicit Writer(const std::vector<CString>& files)
            : thread([this, &files] {
                  for (size_t i = 0; writing; ++i) test_support::WriteBytes(files[i % files.size()], std::to_string(i));
              })
        {
        }
        void Stop()
        {
            writing = false;
            if (thread.joinable()) thread.join();
        }
        ~Writer() { Stop(); }
    } writer(files);

    std::mt19937 random(15);
    std::vector<std::pair<DWORD, CString>> live;
    std::map<DWORD, CString> registered;
    DWORD last = 0;
    for (int round = 0; round < 300; ++round) {
        const CString& file = files[random() % files.size()];
        const DWORD id = WatchFor(receiver, file);
        ASSERT_GT(id, last) << "ids grow and are never reused";
        last = id;
        live.emplace_back(id, file);
        registered[id] = file;
        if (live.size() > 3 || random() % 2) {
            const size_t gone = random() % live.size();
            RemoveFileWatch(live[gone].first);
            live.erase(live.begin() + gone);
        }
        if (round % 10 == 0) wintest::PumpUntilIdle(50);
    }
    writer.Stop();
    wintest::PumpUntilIdle();

    // Every notice named its own file, or nothing once its watch was gone.
    for (const Notice& notice : receiver.Notices()) {
        ASSERT_TRUE(registered.count(notice.id)) << notice.id;
        if (notice.known) {
            EXPECT_EQ(registered[notice.id], notice.path);
        }
    }
    // What is still watched is watched.
    ASSERT_FALSE(live.empty());
    const auto [kept, keptFile] = live.back();
    live.pop_back();
    for (const auto& watch : live) RemoveFileWatch(watch.first);
    const int before = receiver.CountFor(kept);
    Touch(keptFile);
    EXPECT_TRUE(PumpUntil([&] { return receiver.CountFor(kept) > before; }));

    RemoveFileWatch(kept);
    EXPECT_FALSE(IsFileWatchThreadRunning()) << "the last watch removed stops the thread";
    Watches watches;
    const DWORD again = watches.Add(WatchFor(receiver, keptFile));
    EXPECT_NE(0u, again);
    EXPECT_TRUE(IsFileWatchThreadRunning()) << "the next watch starts it again";
}

namespace {

// A receiver on a thread of its own that takes its messages only when told:
// a notice can wait in its queue while the main thread removes the watch.
class HeldReceiver
{
public:
    HeldReceiver()
    {
        m_thread = std::thread([this] {
            Receiver receiver;
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            m_hwnd = receiver.Hwnd();
            ::SetEvent(m_ready);
            // Tell when a notice waits, then hold it until released.
            while (!::PeekMessageW(&msg, m_hwnd, GetFileWatchMessage(), GetFileWatchMessage(), PM_NOREMOVE)) {
                if (::MsgWaitForMultipleObjects(1, &m_release, FALSE, 10000, QS_POSTMESSAGE) != WAIT_OBJECT_0 + 1)
                    break; // released, or nothing came
            }
            ::SetEvent(m_waiting);
            ::WaitForSingleObject(m_release, 10000);
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            m_notices = receiver.Notices();
        });
        ::WaitForSingleObject(m_ready, 10000);
    }
    ~HeldReceiver()
    {
        ::SetEvent(m_release);
        if (m_thread.joinable()) m_thread.join();
        for (HANDLE event : {m_ready, m_waiting, m_release}) ::CloseHandle(event);
    }
    HWND Hwnd() const { return m_hwnd; }
    HANDLE Waiting() const { return m_waiting; }
    std::vector<Notice> Release()
    {
        ::SetEvent(m_release);
        m_thread.join();
        return m_notices;
    }

private:
    HANDLE m_ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_waiting = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND m_hwnd = nullptr;
    std::vector<Notice> m_notices;
    std::thread m_thread;
};

} // namespace

TEST(FileWatchLifetime, ANoticeHandledAfterItsWatchWentFindsNoPath)
{
    ScratchFolder folder(L"late");
    const CString file = folder / L"road.jd";
    Touch(file);
    HeldReceiver held;
    BOOL reload = TRUE;
    const DWORD id = AddFileWatch(file, held.Hwnd(), nullptr);
    ASSERT_NE(0u, id);
    SetFileWatchOption(id, &reload);

    Touch(file);
    ASSERT_TRUE(PumpUntil([&] { return ::WaitForSingleObject(held.Waiting(), 0) == WAIT_OBJECT_0; }));
    RemoveFileWatch(id);
    const std::vector<Notice> notices = held.Release();
    ASSERT_EQ(1u, notices.size());
    EXPECT_EQ(id, notices[0].id);
    EXPECT_FALSE(notices[0].known);
    EXPECT_TRUE(notices[0].path.IsEmpty());
}

TEST(FileWatchLifetime, StoppingAtExitEndsTheWorkerAtOnceAndForgetsEveryWatch)
{
    ScratchFolder folder(L"exit");
    Receiver receiver;
    std::vector<DWORD> ids;
    for (const wchar_t* name : {L"a.dl", L"b\\b.dmx"}) {
        if (name[0] == L'b') ::CreateDirectoryW(folder / L"b", nullptr);
        Touch(folder / name);
        ids.push_back(WatchFor(receiver, folder / name));
        ASSERT_NE(0u, ids.back());
    }
    // Changes in flight, not yet taken by the main thread.
    Touch(folder / L"a.dl");
    Touch(folder / L"b\\b.dmx");

    // A stop that hangs fails the run instead of waiting for ever.
    HANDLE stopped = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread watchdog([stopped] {
        if (::WaitForSingleObject(stopped, 15000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "StopFileWatchThread did not return\n");
            std::fflush(stderr);
            ::ExitProcess(3);
        }
    });
    StopFileWatchThread();
    ::SetEvent(stopped);
    watchdog.join();
    ::CloseHandle(stopped);

    EXPECT_FALSE(IsFileWatchThreadRunning());
    for (DWORD id : ids) {
        CString path;
        EXPECT_FALSE(GetFileWatchPath(id, path));
    }
    wintest::PumpUntilIdle();
    EXPECT_EQ(0, receiver.Count()) << "news queued before the stop is dropped";

    // The program may watch again afterwards.
    Watches watches;
    const DWORD again = watches.Add(WatchFor(receiver, folder / L"a.dl"));
    ASSERT_NE(0u, again);
    Touch(folder / L"a.dl");
    EXPECT_TRUE(PumpUntil([&] { return receiver.CountFor(again) > 0; }));
}
