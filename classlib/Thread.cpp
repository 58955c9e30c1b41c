#include "Thread.h"
#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::~CWinThread()
{
    if (m_hThread) ::CloseHandle(m_hThread);
}

unsigned __stdcall CWinThread::Start(void* object)
{
    auto* thread = static_cast<CWinThread*>(object);
    UINT result = thread->m_proc(thread->m_param);
    if (thread->m_bAutoDelete) delete thread;
    return result;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security)
{
    if (!proc) return nullptr;
    auto* thread = new CWinThread(proc, param);
    // Started suspended, so that the object is complete (and the priority
    // set) before the function runs.
    unsigned id = 0;
    auto handle = reinterpret_cast<HANDLE>(
        ::_beginthreadex(security, stackSize, &CWinThread::Start, thread, CREATE_SUSPENDED, &id));
    if (!handle) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = handle;
    thread->m_nThreadID = id;
    thread->SetThreadPriority(priority);
    if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}
