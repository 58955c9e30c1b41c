#include "File.h"
#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

const size_t kBufferSize = 64 * 1024;

ClFileWriteHook g_writeHook = nullptr;

// Full path of a file name, as the file is known after opening.
CString FullPath(const wchar_t* name)
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(name, MAX_PATH * 2, buffer, nullptr);
    if (n == 0 || n >= MAX_PATH * 2) return CString(name);
    return CString(buffer);
}

} // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE file) : m_hFile(file), m_bCloseOnDelete(FALSE) {}

CFile::CFile(const wchar_t* fileName, UINT openFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(const wchar_t* fileName, UINT openFlags, CFileException* error)
{
    if (m_hFile != hFileNull) Abort();
    m_strFileName = FullPath(fileName ? fileName : L"");

    DWORD access = 0;
    switch (openFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: access = GENERIC_READ; break;
    }
    DWORD share = 0;
    switch (openFlags & 0x70) {
    case shareCompat:
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    }
    DWORD creation = OPEN_EXISTING;
    if (openFlags & modeCreate) creation = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, (openFlags & modeNoInherit) ? FALSE : TRUE};
    HANDLE h = CreateFileW(fileName ? fileName : L"", access, share, &sa, creation, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) {
            LONG os = static_cast<LONG>(GetLastError());
            error->m_lOsError = os;
            error->m_cause = CFileException::OsErrorToException(os);
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (count == 0) return 0;
    DWORD got = 0;
    if (!ReadFile(m_hFile, buffer, count, &got, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return got;
}

ClFileWriteHook ClSetFileWriteHook(ClFileWriteHook hook)
{
    ClFileWriteHook previous = g_writeHook;
    g_writeHook = hook;
    return previous;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (count == 0) return;
    if (g_writeHook)
        if (DWORD error = g_writeHook(*this, count)) CFileException::ThrowOsError(static_cast<LONG>(error), m_strFileName);
    DWORD written = 0;
    if (!WriteFile(m_hFile, buffer, count, &written, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    if (written != count) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    DWORD method = from == begin ? FILE_BEGIN : from == current ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(m_hFile, distance, &result, method))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(result.QuadPart);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, result;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, zero, &result, FILE_CURRENT))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(result.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG newLength)
{
    Seek(static_cast<LONGLONG>(newLength), begin);
    if (!SetEndOfFile(m_hFile)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile)) {
        DWORD err = GetLastError();
        // Flushing a read-only handle is not an error.
        if (err != ERROR_ACCESS_DENIED && err != ERROR_INVALID_HANDLE)
            CFileException::ThrowOsError(static_cast<LONG>(err), m_strFileName);
    }
}

void CFile::Close()
{
    BOOL ok = TRUE;
    if (m_hFile != hFileNull) ok = CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (!ok) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull) CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

CString CFile::GetFileName() const
{
    int slash = std::max(m_strFileName.ReverseFind(L'\\'), m_strFileName.ReverseFind(L'/'));
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

void CFile::Rename(const wchar_t* oldName, const wchar_t* newName)
{
    if (!MoveFileW(oldName, newName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), oldName);
}

void CFile::Remove(const wchar_t* fileName)
{
    if (!DeleteFileW(fileName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), fileName);
}

// ---------------------------------------------------------------------------
// CStdioFile

CStdioFile::CStdioFile() = default;

CStdioFile::CStdioFile(const wchar_t* fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete) {
        try {
            FlushWrites();
        } catch (CException* e) {
            e->Delete();
        }
        CFile::Abort();
    }
}

BOOL CStdioFile::Open(const wchar_t* fileName, UINT openFlags, CFileException* error)
{
    m_readBuf.clear();
    m_readPos = 0;
    m_writeBuf.clear();
    m_text = (openFlags & typeBinary) == 0;
    return CFile::Open(fileName, openFlags & ~(typeText | typeBinary), error);
}

void CStdioFile::DropReadBuffer()
{
    // The handle's position is past the unread bytes: step back over them.
    size_t unread = m_readBuf.size() - m_readPos;
    m_readBuf.clear();
    m_readPos = 0;
    if (unread) CFile::Seek(-static_cast<LONGLONG>(unread), current);
}

bool CStdioFile::FillBuffer()
{
    FlushWrites();
    m_readBuf.resize(kBufferSize);
    UINT got = CFile::Read(m_readBuf.data(), static_cast<UINT>(kBufferSize));
    m_readBuf.resize(got);
    m_readPos = 0;
    return got > 0;
}

// Next byte as the program sees it (CR LF folded to LF in text mode), or -1.
int CStdioFile::GetByte()
{
    if (m_readPos >= m_readBuf.size() && !FillBuffer()) return -1;
    unsigned char c = static_cast<unsigned char>(m_readBuf[m_readPos++]);
    if (m_text && c == '\r') {
        if (m_readPos >= m_readBuf.size() && !FillBuffer()) return '\r';
        if (m_readBuf[m_readPos] == '\n') {
            ++m_readPos;
            return '\n';
        }
    }
    return c;
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    auto* out = static_cast<unsigned char*>(buffer);
    UINT n = 0;
    while (n < count) {
        int c = GetByte();
        if (c < 0) break;
        out[n++] = static_cast<unsigned char>(c);
    }
    return n;
}

UINT CStdioFile::PeekBuffered(const char** data)
{
    if (m_readPos >= m_readBuf.size() && !FillBuffer()) {
        *data = nullptr;
        return 0;
    }
    *data = m_readBuf.data() + m_readPos;
    return static_cast<UINT>(m_readBuf.size() - m_readPos);
}

void CStdioFile::SkipBuffered(UINT count)
{
    m_readPos = std::min(m_readBuf.size(), m_readPos + count);
}

void CStdioFile::RawWrite(const char* data, size_t count)
{
    if (!m_readBuf.empty()) DropReadBuffer();
    m_writeBuf.append(data, count);
    if (m_writeBuf.size() >= kBufferSize) FlushWrites();
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    const char* p = static_cast<const char*>(buffer);
    if (!m_text) {
        RawWrite(p, count);
        return;
    }
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        if (p[i] == '\n') {
            RawWrite(p + start, i - start);
            RawWrite("\r\n", 2);
            start = i + 1;
        }
    }
    RawWrite(p + start, count - start);
}

void CStdioFile::FlushWrites()
{
    if (m_writeBuf.empty()) return;
    std::string pending;
    pending.swap(m_writeBuf);
    CFile::Write(pending.data(), static_cast<UINT>(pending.size()));
}

BOOL CStdioFile::ReadString(CString& line)
{
    if (!m_text) {
        std::wstring wide;
        bool any = false;
        for (;;) {
            unsigned char pair[2];
            if (Read(pair, 2) != 2) break;
            any = true;
            wchar_t c = static_cast<wchar_t>(pair[0] | (pair[1] << 8));
            if (c == L'\n') break;
            wide += c;
        }
        if (!wide.empty() && wide.back() == L'\r') wide.pop_back();
        line = CString(wide);
        return any;
    }
    std::string bytes;
    int c = GetByte();
    if (c < 0) {
        line.Empty();
        return FALSE;
    }
    while (c >= 0 && c != '\n') {
        bytes += static_cast<char>(c);
        c = GetByte();
    }
    line = ClMultiByteToWide(bytes.data(), static_cast<int>(bytes.size()), ClTextCodePage());
    return TRUE;
}

wchar_t* CStdioFile::ReadString(wchar_t* buffer, UINT maxChars)
{
    if (!buffer || maxChars == 0) return nullptr;
    if (!m_text) {
        UINT n = 0;
        while (n + 1 < maxChars) {
            unsigned char pair[2];
            if (Read(pair, 2) != 2) break;
            buffer[n++] = static_cast<wchar_t>(pair[0] | (pair[1] << 8));
            if (buffer[n - 1] == L'\n') break;
        }
        buffer[n] = 0;
        return n ? buffer : nullptr;
    }
    // Read whole characters until the line end or the buffer is full.
    std::string bytes;
    CString converted;
    for (;;) {
        int c = GetByte();
        if (c < 0) break;
        bytes += static_cast<char>(c);
        if (c == '\n') break;
        if (bytes.size() + 1 >= maxChars) break;
    }
    if (bytes.empty()) {
        buffer[0] = 0;
        return nullptr;
    }
    converted = ClMultiByteToWide(bytes.data(), static_cast<int>(bytes.size()), ClTextCodePage());
    lstrcpynW(buffer, converted, static_cast<int>(maxChars));
    return buffer;
}

void CStdioFile::WriteString(const wchar_t* text)
{
    if (!text) AfxThrowInvalidArgException();
    if (!m_text) {
        Write(text, static_cast<UINT>(std::wcslen(text) * sizeof(wchar_t)));
        return;
    }
    std::string bytes = ClWideToMultiByte(text, -1, ClTextCodePage());
    Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from)
{
    FlushWrites();
    if (!m_readBuf.empty()) DropReadBuffer();
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const
{
    ULONGLONG raw = CFile::GetPosition();
    return raw + m_writeBuf.size() - (m_readBuf.size() - m_readPos);
}

ULONGLONG CStdioFile::GetLength() const
{
    ULONGLONG onDisk = CFile::GetLength();
    ULONGLONG pos = GetPosition();
    return std::max(onDisk, pos);
}

void CStdioFile::Flush()
{
    FlushWrites();
    CFile::Flush();
}

void CStdioFile::Close()
{
    if (m_hFile != hFileNull) {
        try {
            FlushWrites();
        } catch (CException*) {
            CFile::Abort();
            throw;
        }
    }
    m_readBuf.clear();
    m_readPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_writeBuf.clear();
    m_readBuf.clear();
    m_readPos = 0;
    CFile::Abort();
}

// ---------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(const BYTE* data, UINT size) : m_data(data, data + size) {}

CMemFile::~CMemFile() = default;

UINT CMemFile::Read(void* buffer, UINT count)
{
    size_t n = std::min<size_t>(count, m_data.size() - std::min(m_pos, m_data.size()));
    if (n) std::memcpy(buffer, m_data.data() + m_pos, n);
    m_pos += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (m_pos + count > m_data.size()) m_data.resize(m_pos + count);
    if (count) std::memcpy(m_data.data() + m_pos, buffer, count);
    m_pos += count;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from)
{
    LONGLONG base = from == begin ? 0 : from == current ? static_cast<LONGLONG>(m_pos)
                                                        : static_cast<LONGLONG>(m_data.size());
    LONGLONG target = base + offset;
    if (target < 0) AfxThrowFileException(CFileException::badSeek);
    m_pos = static_cast<size_t>(target);
    return m_pos;
}

void CMemFile::SetLength(ULONGLONG newLength)
{
    m_data.resize(static_cast<size_t>(newLength));
    if (m_pos > m_data.size()) m_pos = m_data.size();
}

void CMemFile::Close() { m_pos = 0; }
