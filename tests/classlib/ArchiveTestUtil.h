// Helpers for archive tests: write through a storing archive into memory and
// read back from given bytes.
#pragma once
#include "classlib/ClassLib.h"
#include <functional>
#include <vector>

inline std::vector<BYTE> StoreBytes(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    return file.Data();
}

inline void LoadBytes(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
}

// Runs `read` and returns the archive exception's cause, or -1 when none
// was thrown.
inline int ArchiveFailure(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read)
{
    try {
        LoadBytes(bytes, read);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}
