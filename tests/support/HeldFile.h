// A file held open by another program (the stand-in "holdfile"), as the CAD
// host or a viewer holds the file it shows: opened for reading, sharing
// reading only, so that the file can be neither written, renamed nor
// deleted while it is held.  The file stays held until Release or the
// object's end.
#pragma once
#include "classlib/ClassLib.h"

namespace test_support {

class HeldFile
{
public:
    // Starts the program and waits (bounded) until it holds the file.
    explicit HeldFile(const CString& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Whether the program holds the file.
    bool Held() const { return m_held; }
    // Tells the program to close the file and end; true once it ended
    // (bounded wait).
    bool Release();

private:
    CString m_log;
    PROCESS_INFORMATION m_process = {};
    bool m_held = false;
};

// A file opened in this program by a reader, as an indexer or a virus
// scanner opens it: reading, sharing reading only, so that while it is open
// it can be neither renamed, removed nor replaced.  Open says whether the
// file could be opened.
class Reader
{
public:
    explicit Reader(const CString& path)
        : m_file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~Reader()
    {
        if (Open()) CloseHandle(m_file);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    bool Open() const { return m_file != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_file;
};

} // namespace test_support
