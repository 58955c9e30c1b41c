#include "Archive.h"
#include <algorithm>
#include <cstring>

namespace {

const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const DWORD kBigClassTag = 0x80000000;
const WORD kBigObjectTag = 0x7FFF;
const UINT kMaxMapCount = 0x3FFFFFFE;

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize, void*)
    : m_pFile(file), m_nMode(mode)
{
    if (!file) AfxThrowInvalidArgException();
    m_buf.resize(static_cast<size_t>(bufferSize < 128 ? 128 : bufferSize));
    m_loadArray.push_back({false, nullptr, 0});   // index 0: the null pointer
}

CArchive::~CArchive()
{
    if (!m_closed && m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
}

CString CArchive::ArchiveName() const { return m_pFile ? m_pFile->GetFilePath() : CString(); }

void CArchive::CheckLoading() const
{
    if (!IsLoading()) AfxThrowArchiveException(CArchiveException::writeOnly, ArchiveName());
}

void CArchive::CheckStoring() const
{
    if (!IsStoring()) AfxThrowArchiveException(CArchiveException::readOnly, ArchiveName());
}

UINT CArchive::Read(void* buffer, UINT count)
{
    CheckLoading();
    auto* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_bufPos >= m_bufEnd) {
            // Large reads go straight to the file.
            if (count - done >= m_buf.size()) {
                UINT got = m_pFile->Read(out + done, count - done);
                done += got;
                break;
            }
            m_bufEnd = m_pFile->Read(m_buf.data(), static_cast<UINT>(m_buf.size()));
            m_bufPos = 0;
            if (m_bufEnd == 0) break;
        }
        size_t n = std::min<size_t>(count - done, m_bufEnd - m_bufPos);
        std::memcpy(out + done, m_buf.data() + m_bufPos, n);
        m_bufPos += n;
        done += static_cast<UINT>(n);
    }
    return done;
}

UINT CArchive::PeekBuffered(const BYTE** data)
{
    CheckLoading();
    if (m_bufPos >= m_bufEnd) {
        m_bufEnd = m_pFile->Read(m_buf.data(), static_cast<UINT>(m_buf.size()));
        m_bufPos = 0;
    }
    *data = m_bufEnd > m_bufPos ? m_buf.data() + m_bufPos : nullptr;
    return static_cast<UINT>(m_bufEnd - m_bufPos);
}

void CArchive::SkipBuffered(UINT count)
{
    m_bufPos = std::min(m_bufEnd, m_bufPos + count);
}

void CArchive::EnsureRead(void* buffer, UINT count)
{
    if (Read(buffer, count) != count) AfxThrowArchiveException(CArchiveException::endOfFile, ArchiveName());
}

void CArchive::Write(const void* buffer, UINT count)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(buffer);
    while (count > 0) {
        if (m_bufPos == m_buf.size()) {
            m_pFile->Write(m_buf.data(), static_cast<UINT>(m_bufPos));
            m_bufPos = 0;
        }
        size_t n = std::min<size_t>(count, m_buf.size() - m_bufPos);
        std::memcpy(m_buf.data() + m_bufPos, in, n);
        m_bufPos += n;
        in += n;
        count -= static_cast<UINT>(n);
    }
}

void CArchive::Flush()
{
    if (IsStoring()) {
        if (m_bufPos) m_pFile->Write(m_buf.data(), static_cast<UINT>(m_bufPos));
        m_bufPos = 0;
        m_pFile->Flush();
    } else if (m_bufPos < m_bufEnd) {
        // Give the unread bytes back so that the file's position is ours.
        m_pFile->Seek(-static_cast<LONGLONG>(m_bufEnd - m_bufPos), CFile::current);
        m_bufPos = m_bufEnd = 0;
    }
}

void CArchive::Close()
{
    if (m_closed) return;
    Flush();
    m_closed = true;
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_closed = true;
    m_pFile = nullptr;
}

UINT CArchive::GetObjectSchema()
{
    UINT schema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return schema;
}

DWORD CArchive::ReadCount()
{
    WORD small = 0;
    *this >> small;
    if (small != 0xFFFF) return small;
    DWORD big = 0;
    *this >> big;
    return big;
}

void CArchive::WriteCount(DWORD count)
{
    if (count < 0xFFFF) {
        *this << static_cast<WORD>(count);
    } else {
        *this << static_cast<WORD>(0xFFFF) << count;
    }
}

CArchive& CArchive::operator<<(const CString& v)
{
    // Unicode marker, then the length in the shortest form that holds it.
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE);
    DWORD len = static_cast<DWORD>(v.GetLength());
    if (len < 0xFF) {
        *this << static_cast<BYTE>(len);
    } else if (len < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(len);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << len;
    }
    for (wchar_t c : v.str()) *this << static_cast<WORD>(c);
    return *this;
}

CArchive& CArchive::operator>>(CString& v)
{
    bool wide = false;
    DWORD len = 0;
    BYTE b = 0;
    WORD w = 0;
    *this >> b;
    if (b < 0xFF) {
        len = b;
    } else {
        *this >> w;
        if (w == 0xFFFE) {
            wide = true;
            *this >> b;
            if (b < 0xFF) {
                len = b;
                goto have_length;
            }
            *this >> w;
        }
        if (w < 0xFFFF) {
            len = w;
        } else {
            *this >> len;
            if (len == 0xFFFFFFFF) AfxThrowArchiveException(CArchiveException::genericException, ArchiveName());
        }
    }
have_length:
    // The length comes from the file: read in pieces so that a damaged length
    // ends in the end-of-file exception instead of one huge allocation.
    const DWORD kPiece = 64 * 1024;
    if (wide) {
        std::wstring text;
        std::vector<WORD> piece;
        for (DWORD done = 0; done < len;) {
            DWORD n = std::min(kPiece, len - done);
            piece.resize(n);
            EnsureRead(piece.data(), n * sizeof(WORD));
            for (WORD c : piece) text += static_cast<wchar_t>(c);
            done += n;
        }
        v = CString(text);
    } else {
        std::string bytes;
        for (DWORD done = 0; done < len;) {
            DWORD n = std::min(kPiece, len - done);
            size_t at = bytes.size();
            bytes.resize(at + n);
            EnsureRead(&bytes[at], n);
            done += n;
        }
        v = ClMultiByteToWide(bytes.data(), static_cast<int>(len), CP_ACP);
    }
    return *this;
}

void CArchive::WriteString(const wchar_t* text)
{
    std::string bytes = ClWideToMultiByte(text, -1, CP_ACP);
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

BOOL CArchive::ReadString(CString& line)
{
    std::string bytes;
    BYTE c = 0;
    bool any = false;
    while (Read(&c, 1) == 1) {
        any = true;
        if (c == '\n') break;
        bytes += static_cast<char>(c);
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    line = ClMultiByteToWide(bytes.data(), static_cast<int>(bytes.size()), CP_ACP);
    return any;
}

void CArchive::MapObject(const CObject* object)
{
    if (IsStoring()) {
        if (object && !m_storeMap.count(object)) m_storeMap[object] = m_nMapCount++;
    } else {
        m_loadArray.push_back({false, const_cast<CObject*>(object), 0});
        ++m_nMapCount;
    }
}

void CArchive::WriteClass(const CRuntimeClass* cls)
{
    CheckStoring();
    if (!cls || cls->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag << static_cast<DWORD>(kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    cls->Store(*this);
    if (m_nMapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, ArchiveName());
    m_storeMap[cls] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* object)
{
    CheckStoring();
    if (!object) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(object);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag << index;
        }
        return;
    }
    WriteClass(object->GetRuntimeClass());
    if (m_nMapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex, ArchiveName());
    m_storeMap[object] = m_nMapCount++;
    const_cast<CObject*>(object)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schemaOut, DWORD* objectTag)
{
    CheckLoading();
    WORD tag = 0;
    *this >> tag;
    DWORD fullTag;
    if (tag == kBigObjectTag) {
        *this >> fullTag;
    } else {
        fullTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }

    CRuntimeClass* cls = nullptr;
    UINT schema = 0;
    if (tag == kNewClassTag) {
        cls = CRuntimeClass::Load(*this, &schema);
        if (!cls) AfxThrowArchiveException(CArchiveException::badClass, ArchiveName());
        UINT own = cls->m_wSchema & ~VERSIONABLE_SCHEMA;
        if (own != schema && !(cls->m_wSchema & VERSIONABLE_SCHEMA))
            AfxThrowArchiveException(CArchiveException::badSchema, ArchiveName());
        m_loadArray.push_back({true, cls, schema});
        ++m_nMapCount;
    } else if (fullTag & kBigClassTag) {
        DWORD index = fullTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass)
            AfxThrowArchiveException(CArchiveException::badIndex, ArchiveName());
        cls = static_cast<CRuntimeClass*>(m_loadArray[index].ptr);
        schema = m_loadArray[index].schema;
    } else {
        // Not a class: a null pointer or an object read before.
        if (objectTag) *objectTag = fullTag;
        return nullptr;
    }

    if (requested && !cls->IsDerivedFrom(requested))
        AfxThrowArchiveException(CArchiveException::badClass, ArchiveName());
    if (schemaOut) *schemaOut = schema;
    if (cls->m_wSchema & VERSIONABLE_SCHEMA) m_nObjectSchema = schema;
    return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested)
{
    DWORD objectTag = 0;
    UINT schema = 0;
    CRuntimeClass* cls = ReadClass(requested, &schema, &objectTag);
    if (!cls) {
        if (objectTag == 0) return nullptr;
        if (objectTag >= m_loadArray.size() || m_loadArray[objectTag].isClass)
            AfxThrowArchiveException(CArchiveException::badIndex, ArchiveName());
        CObject* seen = static_cast<CObject*>(m_loadArray[objectTag].ptr);
        if (requested && seen && !seen->IsKindOf(requested))
            AfxThrowArchiveException(CArchiveException::badClass, ArchiveName());
        return seen;
    }
    CObject* object = cls->CreateObject();
    if (!object) AfxThrowMemoryException();
    size_t slot = m_loadArray.size();
    m_loadArray.push_back({false, object, 0});
    ++m_nMapCount;
    try {
        object->Serialize(*this);
    } catch (...) {
        m_loadArray[slot].ptr = nullptr;
        delete object;
        throw;
    }
    return object;
}

CArchive& operator<<(CArchive& ar, const CObject* object)
{
    ar.WriteObject(object);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& object)
{
    object = ar.ReadObject(nullptr);
    return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& object)
{
    object = ar.ReadObject(nullptr);
    return ar;
}
