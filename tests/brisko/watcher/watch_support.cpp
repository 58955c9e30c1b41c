#include "watch_support.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

namespace watchtest {

namespace {

BOOL g_reloadWithoutAsking = TRUE;
const wchar_t kReceiverClass[] = L"WatchTestReceiver";

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == GetFileWatchMessage()) {
        if (auto* log = reinterpret_cast<NoticeLog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            log->Record(wParam, lParam);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

void NoticeLog::Record(WPARAM wParam, LPARAM lParam)
{
    Notice notice{wParam, static_cast<DWORD>(lParam), CString(), false};
    notice.known = GetFileWatchPath(notice.id, notice.path) != FALSE;
    m_notices.push_back(notice);
}

int NoticeLog::CountFor(DWORD id) const
{
    int count = 0;
    for (const Notice& notice : m_notices) count += notice.id == id;
    return count;
}

const Notice* NoticeLog::Find(DWORD id) const
{
    for (const Notice& notice : m_notices)
        if (notice.id == id) return &notice;
    return nullptr;
}

Receiver::Receiver()
{
    static const ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kReceiverClass;
        return ::RegisterClassW(&wc);
    }();
    (void)atom;
    m_hwnd = ::CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<NoticeLog*>(this)));
}

Receiver::~Receiver() { ::DestroyWindow(m_hwnd); }

DWORD WatchFor(Receiver& receiver, const CString& path)
{
    const DWORD id = AddFileWatch(path, receiver.Hwnd(), nullptr);
    SetFileWatchOption(id, &g_reloadWithoutAsking);
    return id;
}

void Touch(const CString& path)
{
    static int serial = 0;
    ULONGLONG before = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        before = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    // Written beside the file and put in its place: the watcher never sees
    // the file half made.
    const CString temporary = path + L".new";
    HANDLE file = ::CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << test_support::Utf8(path);
    const std::string text = "touched " + std::to_string(++serial) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    // The file system keeps times in steps of a few milliseconds: a file
    // written within the step of the last write gets a later time all the
    // same.
    FILETIME time;
    ::GetFileTime(file, nullptr, nullptr, &time);
    const ULONGLONG after = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (after <= before) {
        const ULONGLONG later = before + 10000;
        time.dwHighDateTime = static_cast<DWORD>(later >> 32);
        time.dwLowDateTime = static_cast<DWORD>(later);
        ::SetFileTime(file, nullptr, nullptr, &time);
    }
    ::CloseHandle(file);
    ASSERT_TRUE(::MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING)) << test_support::Utf8(path);
}

Sentinel::Sentinel(Receiver& receiver, const CString& path) : m_receiver(receiver), m_path(path)
{
    Touch(m_path);
    m_id = WatchFor(receiver, m_path);
    EXPECT_NE(0u, m_id);
}

Sentinel::~Sentinel() { RemoveFileWatch(m_id); }

bool Sentinel::Flush()
{
    const int before = m_receiver.CountFor(m_id);
    Touch(m_path);
    return PumpUntil([&] { return m_receiver.CountFor(m_id) > before; });
}

void Watches::Clear()
{
    for (DWORD id : m_ids) RemoveFileWatch(id);
    m_ids.clear();
}

} // namespace watchtest
