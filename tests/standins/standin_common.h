// Shared by the stand-in programs: the command line taken apart, the record
// file they write, the event that tells a waiting test they are ready, and
// the life-time limit that keeps them from outliving a test.  Plain Windows calls only (kernel32 and user32), so that a copy of a
// stand-in runs from any folder.
//
// Record file: one line per event, "<KIND> <fields...>\n"; texts and payloads
// are written as hexadecimal bytes so that the tests can compare them byte
// for byte.  Each line is appended and the file closed at once, so a test
// may read it while the stand-in runs.
#pragma once
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace standin {

const int kMaxArgs = 32;

struct Args {
    int count = 0;
    wchar_t* items[kMaxArgs] = {};
    wchar_t storage[8192] = {};

    // The value after the option `name`, or null.
    const wchar_t* Value(const wchar_t* name) const
    {
        for (int i = 0; i + 1 < count; ++i)
            if (wcscmp(items[i], name) == 0) return items[i + 1];
        return nullptr;
    }
    bool Has(const wchar_t* name) const
    {
        for (int i = 0; i < count; ++i)
            if (wcscmp(items[i], name) == 0) return true;
        return false;
    }
};

// Splits the process's command line (program name dropped) at blanks
// outside double quotes; the quotes themselves are removed.
inline void ParseCommandLine(Args& args)
{
    const wchar_t* p = GetCommandLineW();
    wchar_t* out = args.storage;
    wchar_t* end = args.storage + sizeof(args.storage) / sizeof(wchar_t) - 1;
    bool first = true;
    while (*p) {
        while (*p == L' ' || *p == L'\t') ++p;
        if (!*p) break;
        wchar_t* start = out;
        bool quoted = false;
        while (*p && (quoted || (*p != L' ' && *p != L'\t'))) {
            if (*p == L'"') quoted = !quoted;
            else if (out < end) *out++ = *p;
            ++p;
        }
        if (out < end) *out++ = 0;
        if (first) {
            first = false;
            out = start;
            continue;
        }
        if (args.count < kMaxArgs) args.items[args.count++] = start;
    }
}

inline wchar_t* LogPath()
{
    static wchar_t path[MAX_PATH + 8] = {};
    return path;
}

// The record file: the "--log" value, else the program's own path with
// ".log" added (for copies that the library starts without our options).
inline void SetLogPath(const Args& args)
{
    const wchar_t* given = args.Value(L"--log");
    if (given) {
        lstrcpynW(LogPath(), given, MAX_PATH);
        return;
    }
    DWORD n = GetModuleFileNameW(nullptr, LogPath(), MAX_PATH);
    if (n > 0 && n < MAX_PATH) lstrcpyW(LogPath() + n, L".log");
}

inline void AppendBytes(const char* bytes, size_t size)
{
    HANDLE file = CreateFileW(LogPath(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

// "<kind> <number>... <hex>\n"; numbers may be omitted (count 0), and so may
// the bytes (null).
inline void Record(const char* kind, const unsigned long* numbers, int count, const void* data, size_t size)
{
    static char line[2 * 65536 + 256];
    size_t used = static_cast<size_t>(std::snprintf(line, 256, "%s", kind));
    for (int i = 0; i < count; ++i) used += static_cast<size_t>(std::snprintf(line + used, 32, " %lu", numbers[i]));
    if (data) {
        static const char digits[] = "0123456789abcdef";
        line[used++] = ' ';
        const unsigned char* bytes = static_cast<const unsigned char*>(data);
        if (size > 65536) size = 65536;
        for (size_t i = 0; i < size; ++i) {
            line[used++] = digits[bytes[i] >> 4];
            line[used++] = digits[bytes[i] & 15];
        }
    }
    line[used++] = '\n';
    AppendBytes(line, used);
}

// The name of the event a stand-in sets once it is ready: made from the full
// path of its record file, upper-cased, so that a test that knows the file
// can make the event before the program starts and wait on it.
inline void ReadyEventName(const wchar_t* logPath, wchar_t* name, size_t capacity)
{
    static wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(logPath, MAX_PATH * 2, full, nullptr);
    if (n == 0 || n >= MAX_PATH * 2) lstrcpynW(full, logPath, MAX_PATH * 2);
    CharUpperW(full);
    unsigned long long hash = 14695981039346656037ull; // FNV-1a
    for (const wchar_t* p = full; *p; ++p) {
        hash ^= static_cast<unsigned long long>(*p);
        hash *= 1099511628211ull;
    }
    static const wchar_t prefix[] = L"Local\\TkxStandinReady_";
    static const wchar_t digits[] = L"0123456789abcdef";
    const size_t lead = sizeof(prefix) / sizeof(wchar_t) - 1;
    if (capacity < lead + 17) {
        if (capacity) name[0] = 0;
        return;
    }
    lstrcpyW(name, prefix);
    for (int i = 0; i < 16; ++i) name[lead + i] = digits[(hash >> (60 - 4 * i)) & 15];
    name[lead + 16] = 0;
}

// The READY record with the process id, then the ready event set (the handle
// stays open for the program's life).
inline void AnnounceReady()
{
    unsigned long pid = GetCurrentProcessId();
    Record("READY", &pid, 1, nullptr, 0);
    wchar_t name[64];
    ReadyEventName(LogPath(), name, 64);
    if (HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name)) SetEvent(event);
}

// A wide text as its UTF-16 bytes.
inline void RecordText(const char* kind, const wchar_t* text)
{
    Record(kind, nullptr, 0, text, wcslen(text) * sizeof(wchar_t));
}

// Life-time limit: "--seconds N" (1..600), else the default.
inline UINT LifeSeconds(const Args& args, int fallback)
{
    const wchar_t* given = args.Value(L"--seconds");
    int seconds = given ? _wtoi(given) : fallback;
    if (seconds <= 0 || seconds > 600) seconds = fallback;
    return static_cast<UINT>(seconds);
}

// The text a WM_COPYDATA carries, read as the receiver must: never past the
// byte count, terminated at the first zero or at the end of the data.
inline void CopyDataText(const COPYDATASTRUCT* data, wchar_t* out, size_t capacity)
{
    size_t chars = data->lpData ? data->cbData / sizeof(wchar_t) : 0;
    if (chars > capacity - 1) chars = capacity - 1;
    const wchar_t* in = static_cast<const wchar_t*>(data->lpData);
    size_t i = 0;
    for (; i < chars && in[i]; ++i) out[i] = in[i];
    out[i] = 0;
}

inline void RecordCopyData(const char* kind, const COPYDATASTRUCT* data)
{
    unsigned long numbers[2] = {static_cast<unsigned long>(data->dwData), data->cbData};
    Record(kind, numbers, 2, data->lpData ? data->lpData : "", data->lpData ? data->cbData : 0);
}

// Runs the message loop until WM_QUIT or the life-time limit.
inline int RunLoop(UINT seconds)
{
    SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace standin
