// Archive round trips through memory for the geometry tests: store into a
// byte vector, load from a hand-written byte vector, and catch the archive
// exception's cause.
#pragma once
#include "classlib/ClassLib.h"

#include <vector>

namespace geometry_test {

using Bytes = std::vector<BYTE>;

template <class WriteFn> Bytes StoreToBytes(WriteFn&& write)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
    return file.Data();
}

template <class ReadFn> void LoadFromBytes(const Bytes& bytes, ReadFn&& read)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    read(ar);
    ar.Close();
}

// The m_cause of the CArchiveException* that loading throws, or -1 when it
// throws none.
template <class ReadFn> int LoadFailureCause(const Bytes& bytes, ReadFn&& read)
{
    try {
        LoadFromBytes(bytes, read);
    } catch (CArchiveException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Little-endian IEEE doubles used by the fixtures.
inline const Bytes kDbl0 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};    // 0.0
inline const Bytes kDbl1 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F};    // 1.0
inline const Bytes kDbl2 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40};    // 2.0
inline const Bytes kDbl3 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x40};    // 3.0
inline const Bytes kDblM05 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0xBF};  // -0.5
inline const Bytes kDbl1_5 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F};  // 1.5
inline const Bytes kDbl10 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x24, 0x40};   // 10.0

} // namespace geometry_test
