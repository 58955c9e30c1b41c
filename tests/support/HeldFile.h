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

} // namespace test_support
