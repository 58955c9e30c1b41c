// Saves that fail after their file was opened: while a FailingWrites object
// lives, every write to a file in its folder (or every one after the bytes
// it lets through) fails as a full disk fails it
// (the system error ERROR_DISK_FULL, reported by the file classes as a file
// exception).  Files are still created and opened, so a save that writes in
// place has already destroyed the old file when its write fails; a save that
// writes a temporary file and then replaces the old one has not.
#pragma once
#include "classlib/ClassLib.h"
#include <vector>

namespace test_support {

class FailingWrites
{
public:
    // With `allowedBytes`, writes in the folder go through until that many
    // bytes were written, and fail from the write that would pass it: a save
    // that fails part-way.
    explicit FailingWrites(const CString& folder, int allowedBytes = 0);
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

    // Writes refused so far (a save that never wrote was not put to the test).
    int Refused() const;
};

// The names of the files in a folder (no subfolders), sorted.
std::vector<CString> FilesIn(const CString& folder);

} // namespace test_support
