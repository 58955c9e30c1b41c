#include "support/StandinReady.h"
#include "standins/standin_common.h"

namespace test_support {

StandinReady::StandinReady(const CString& log)
{
    wchar_t name[64];
    standin::ReadyEventName(log, name, 64);
    m_event = CreateEventW(nullptr, TRUE, FALSE, name);
    // A stand-in of an earlier test with the same record file may still hold
    // the event, set.
    if (m_event) ResetEvent(m_event);
}

StandinReady::~StandinReady()
{
    if (m_event) CloseHandle(m_event);
}

bool StandinReady::Wait(HANDLE process, DWORD ms) const
{
    if (!m_event) return false;
    HANDLE handles[2] = {m_event, process};
    const DWORD count = process ? 2 : 1;
    return WaitForMultipleObjects(count, handles, FALSE, ms) == WAIT_OBJECT_0;
}

HANDLE OpenStandinProcess(DWORD id, const CString& image, DWORD access)
{
    HANDLE process = OpenProcess(access | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return nullptr;
    wchar_t path[MAX_PATH * 2] = {};
    DWORD length = MAX_PATH * 2;
    const bool same = QueryFullProcessImageNameW(process, 0, path, &length) && image.CompareNoCase(path) == 0;
    if (same) return process;
    CloseHandle(process);
    return nullptr;
}

} // namespace test_support
