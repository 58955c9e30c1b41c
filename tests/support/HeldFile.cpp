#include "support/HeldFile.h"
#include "support/Scratch.h"
#include "support/StandinReady.h"
#include <cstdio>

namespace test_support {

HeldFile::HeldFile(const CString& path)
{
    static LONG made = 0;
    m_log = ClFormat(L"%s\\holdfile_%lu_%ld.log", ScratchRoot().GetString(), GetCurrentProcessId(),
                     InterlockedIncrement(&made));
    DeleteFileW(m_log);
    StandinReady ready(m_log);
    CString command = ClFormat(L"\"%s\\holdfile.exe\" --log \"%s\" \"%s\"", BinFolder().GetString(), m_log.GetString(),
                               path.GetString());
    STARTUPINFOW startup = {sizeof(startup)};
    const BOOL started = CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &m_process);
    command.ReleaseBuffer();
    if (!started) {
        m_process = {};
        return;
    }
    m_held = ready.Wait(m_process.hProcess);
    if (m_held) return;
    // Why not: what the program recorded (FAILED and the error) or how it
    // ended, for the failing test's output.
    DWORD status = STILL_ACTIVE;
    GetExitCodeProcess(m_process.hProcess, &status);
    std::fprintf(stderr, "[holdfile] %s not held: exit status %lu, record \"%s\"\n", Utf8(path).c_str(),
                 static_cast<unsigned long>(status), ReadBytes(m_log).c_str());
}

bool HeldFile::Release()
{
    if (!m_process.hProcess) return true;
    PostThreadMessageW(m_process.dwThreadId, WM_QUIT, 0, 0);
    const bool ended = WaitForSingleObject(m_process.hProcess, StandinReady::kBoundMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, 10000);
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = {};
    m_held = false;
    DeleteFileW(m_log);
    return ended;
}

HeldFile::~HeldFile()
{
    Release();
}

} // namespace test_support
