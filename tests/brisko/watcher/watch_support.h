// Tooling of the file watcher's tests: windows that record the watcher's
// notices, bounded waits, and changes made by this program or another one.
#pragma once
#include "brisko/shell/FileWatch.h"
#include "brisko/support/BriskoWorld.h"
#include "support/Scratch.h"
#include <functional>
#include <vector>

namespace watchtest {

// One "FileWatchNotify" as its receiver saw it: the path is looked up by
// the watch id when the notice is handled.
struct Notice {
    WPARAM data;
    DWORD id;
    CString path;
    bool known;
};

class NoticeLog
{
public:
    void Record(WPARAM wParam, LPARAM lParam);
    const std::vector<Notice>& Notices() const { return m_notices; }
    int CountFor(DWORD id) const;
    // The first notice of the watch, or NULL.
    const Notice* Find(DWORD id) const;
    int Count() const { return static_cast<int>(m_notices.size()); }

private:
    std::vector<Notice> m_notices;
};

// A message-only window of this thread that records the notices it gets.
class Receiver : public NoticeLog
{
public:
    Receiver();
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    HWND Hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

using brisko_test::PumpUntil;
using brisko_test::ChangeFromOtherProgram;

// A watch for the receiver that reports without asking.
DWORD WatchFor(Receiver& receiver, const CString& path);
// Writes the file from this program (a new last-write time).
void Touch(const CString& path);

// A file of a watched folder that reports to the receiver; touching it and
// waiting for its notice shows that every change made before in that folder
// has been reported.
class Sentinel
{
public:
    Sentinel(Receiver& receiver, const CString& path);
    ~Sentinel();
    // Touches the file and waits for its notice.
    bool Flush();
    DWORD Id() const { return m_id; }

private:
    Receiver& m_receiver;
    CString m_path;
    DWORD m_id;
};

// Removes the watches at the end of a test.
class Watches
{
public:
    ~Watches() { Clear(); }
    DWORD Add(DWORD id) { if (id) m_ids.push_back(id); return id; }
    void Clear();

private:
    std::vector<DWORD> m_ids;
};

} // namespace watchtest
