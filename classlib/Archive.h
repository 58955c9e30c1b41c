// CArchive: the binary stream that serialisable objects write themselves to.
//
// Byte layout: integers little-endian, doubles 8-byte IEEE, strings as
// FF FE FF <length> UTF-16LE (length: 1 byte below 255, else FF + 16 bits
// below 0xFFFE, else FF FF + 32 bits), objects written through a pointer
// preceded by a class record: FFFF schema(16) namelen(16) name for a class
// met for the first time, 8000|index for a class seen before, 0 for a null
// pointer, and the plain index for an object written before.  Classes and
// objects share one index sequence starting at 1.
#pragma once
#include "File.h"
#include <unordered_map>
#include <vector>

class CLASSLIB_API CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes; Read returns fewer bytes than asked at the end of the file.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // The bytes buffered and not yet read, read from the file first when
    // none are left: *data points at them and the result is their count, 0
    // at the end of the file.  They stay unread until SkipBuffered hands out
    // count of them.  Line readers scan with these instead of a call per
    // byte.
    UINT PeekBuffered(const BYTE** data);
    void SkipBuffered(UINT count);
    void Flush();
    void Close();
    void Abort();

    // The schema of the object being loaded (for versionable classes); -1
    // once read or when there is none.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema) { m_nObjectSchema = schema; }

    CObject* ReadObject(const CRuntimeClass* requested);
    void WriteObject(const CObject* object);
    CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr, UINT* schema = nullptr,
                             DWORD* objectTag = nullptr);
    void WriteClass(const CRuntimeClass* cls);
    // Registers an object as already written or read, without its bytes.
    void MapObject(const CObject* object);

    DWORD ReadCount();
    void WriteCount(DWORD count);

    // Typed values.  Reading past the end throws CArchiveException*
    // (endOfFile).
    CArchive& operator<<(BYTE v) { return Put(v); }
    CArchive& operator<<(char v) { return Put(v); }
    CArchive& operator<<(signed char v) { return Put(v); }
    CArchive& operator<<(WORD v) { return Put(v); }
    CArchive& operator<<(short v) { return Put(v); }
    CArchive& operator<<(wchar_t v) { return Put(v); }
    CArchive& operator<<(int v) { return Put(v); }
    CArchive& operator<<(unsigned int v) { return Put(v); }
    CArchive& operator<<(long v) { return Put(v); }
    CArchive& operator<<(unsigned long v) { return Put(v); }
    CArchive& operator<<(long long v) { return Put(v); }
    CArchive& operator<<(unsigned long long v) { return Put(v); }
    CArchive& operator<<(float v) { return Put(v); }
    CArchive& operator<<(double v) { return Put(v); }
    CArchive& operator<<(const CString& v);
    CArchive& operator<<(const wchar_t* v) { return *this << CString(v); }

    CArchive& operator>>(BYTE& v) { return Get(v); }
    CArchive& operator>>(char& v) { return Get(v); }
    CArchive& operator>>(signed char& v) { return Get(v); }
    CArchive& operator>>(WORD& v) { return Get(v); }
    CArchive& operator>>(short& v) { return Get(v); }
    CArchive& operator>>(wchar_t& v) { return Get(v); }
    CArchive& operator>>(int& v) { return Get(v); }
    CArchive& operator>>(unsigned int& v) { return Get(v); }
    CArchive& operator>>(long& v) { return Get(v); }
    CArchive& operator>>(unsigned long& v) { return Get(v); }
    CArchive& operator>>(long long& v) { return Get(v); }
    CArchive& operator>>(unsigned long long& v) { return Get(v); }
    CArchive& operator>>(float& v) { return Get(v); }
    CArchive& operator>>(double& v) { return Get(v); }
    CArchive& operator>>(CString& v);

    // Text lines through an archive (CR LF written after each line).
    void WriteString(const wchar_t* text);
    BOOL ReadString(CString& line);

    void* m_pDocument = nullptr;

private:
    template <class T> CArchive& Put(const T& v)
    {
        Write(&v, sizeof(T));
        return *this;
    }
    template <class T> CArchive& Get(T& v)
    {
        EnsureRead(&v, sizeof(T));
        return *this;
    }
    void EnsureRead(void* buffer, UINT count);
    void CheckLoading() const;
    void CheckStoring() const;
    CString ArchiveName() const;

    CFile* m_pFile;
    UINT m_nMode;
    bool m_closed = false;
    std::vector<BYTE> m_buf;
    size_t m_bufPos = 0;   // next byte to hand out (load) or to fill (store)
    size_t m_bufEnd = 0;   // bytes held (load)
    UINT m_nObjectSchema = static_cast<UINT>(-1);

    // Store side: object or class address -> index.
    std::unordered_map<const void*, DWORD> m_storeMap;
    // Load side: index -> class or object.
    struct Loaded {
        bool isClass;
        void* ptr;
        UINT schema;
    };
    std::vector<Loaded> m_loadArray;
    DWORD m_nMapCount = 1;
};

CLASSLIB_API CArchive& operator<<(CArchive& ar, const CObject* object);
CLASSLIB_API CArchive& operator>>(CArchive& ar, CObject*& object);
CLASSLIB_API CArchive& operator>>(CArchive& ar, const CObject*& object);

template <class T> CArchive& ClReadObjectInto(CArchive& ar, T*& object)
{
    object = static_cast<T*>(ar.ReadObject(RUNTIME_CLASS(T)));
    return ar;
}
