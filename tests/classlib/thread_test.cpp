// Worker threads.
#include "classlib/ClassLib.h"
#include <gtest/gtest.h>

namespace {

struct Work {
    HANDLE done;
    int priority = 0;
    DWORD threadId = 0;
    int value = 0;
};

UINT __cdecl RunWork(LPVOID param)
{
    auto* work = static_cast<Work*>(param);
    work->priority = ::GetThreadPriority(::GetCurrentThread());
    work->threadId = ::GetCurrentThreadId();
    work->value = 42;
    ::SetEvent(work->done);
    return 7;
}

} // namespace

TEST(Threads, AWorkerRunsItsFunctionAtItsPriority)
{
    Work work;
    work.done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CWinThread* thread = AfxBeginThread(&RunWork, &work, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE; // kept to read its exit code
    EXPECT_EQ(0, work.value);      // suspended until resumed
    thread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(work.done, 10000));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(*thread, 10000));
    DWORD code = 0;
    EXPECT_TRUE(::GetExitCodeThread(*thread, &code));
    EXPECT_EQ(7u, code);
    EXPECT_EQ(42, work.value);
    EXPECT_EQ(THREAD_PRIORITY_LOWEST, work.priority);
    EXPECT_EQ(thread->m_nThreadID, work.threadId);
    delete thread;
    ::CloseHandle(work.done);
    EXPECT_EQ(nullptr, AfxBeginThread(nullptr, nullptr));
}
