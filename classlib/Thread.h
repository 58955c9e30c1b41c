// Worker threads: AfxBeginThread runs a function on a new thread and gives
// its CWinThread, which by default deletes itself when the function returns
// (hold on to it only while the thread runs).
#pragma once
#include "CmdTarget.h"

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CLASSLIB_API CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    ~CWinThread() override;

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE; // the object goes when the thread ends

    operator HANDLE() const { return m_hThread; }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }

private:
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_proc(proc), m_param(param) {}
    static unsigned __stdcall Start(void* thread);
    AFX_THREADPROC m_proc;
    LPVOID m_param;
    friend CLASSLIB_API CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES);
};

// Runs `proc(param)` on a new thread at `priority`; with CREATE_SUSPENDED
// in `createFlags` the thread waits for ResumeThread.  Null when the thread
// could not be made.
CLASSLIB_API CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                                        UINT stackSize = 0, DWORD createFlags = 0,
                                        LPSECURITY_ATTRIBUTES security = nullptr);
