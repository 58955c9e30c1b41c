// Reading and writing the text buffer's file in its encoding.
#include "brisko/editor/TvTextBuffer.h"
#include "classlib/TempFile.h"
#include <algorithm>
#include <climits>
#include <cstring>

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16Mark[] = "\xFF\xFE";
// Writes go to the file in blocks of about this size.
const size_t kWriteBlock = 1 << 20;

// The system's text for an error code, without its line end; empty for 0.
CString SystemErrorText(DWORD error)
{
    if (!error) return CString();
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    CString result = length && text ? CString(text, static_cast<int>(length)) : CString();
    if (text) ::LocalFree(text);
    result.TrimRight();
    return result;
}

// Valid UTF-8 (no overlong forms, surrogates or values beyond U+10FFFF) in
// which most characters beyond ASCII take three or four bytes, as Chinese
// text does.  Code-page-936 text can happen to be valid UTF-8 too, but then
// it reads as two-byte characters (Latin, Greek, Hebrew, ...).
bool IsUtf8Text(const unsigned char* p, size_t size)
{
    size_t beyondAscii = 0, wide = 0;
    size_t i = 0;
    while (i < size) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        unsigned lowest;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            lowest = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            lowest = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            lowest = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= size) return false;
        unsigned value = c & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char t = p[i + k];
            if ((t & 0xC0) != 0x80) return false;
            value = (value << 6) | (t & 0x3F);
        }
        if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        ++beyondAscii;
        if (extra >= 2) ++wide;
        i += extra + 1;
    }
    return beyondAscii > 0 && wide * 2 > beyondAscii;
}

// Converts a line to 8-bit text; false when a character has no form of
// its own in the code page (it would come out as a question mark or as a
// look-alike) or cannot be written as UTF-8 (half of a surrogate pair).
// Plain ASCII, and Chinese ideographs in code page 936 (`chineseCodePage`),
// always have their own form, so such lines take the quick conversion.
bool ConvertLine(const wchar_t* chars, int length, UINT codePage, bool chineseCodePage, char* out, int room,
                 int& written)
{
    written = 0;
    if (length <= 0) return true;
    BOOL lost = FALSE;
    if (codePage == CP_UTF8) {
        written = ::WideCharToMultiByte(codePage, WC_ERR_INVALID_CHARS, chars, length, out, room, nullptr, nullptr);
    } else {
        const bool plain = std::all_of(chars, chars + length, [chineseCodePage](wchar_t c) {
            return c < 0x80 || (chineseCodePage && c >= 0x4E00 && c <= 0x9FA5);
        });
        written = plain ? ::WideCharToMultiByte(codePage, 0, chars, length, out, room, nullptr, nullptr)
                        : ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, chars, length, out, room, nullptr,
                                                &lost);
    }
    if (written <= 0) {
        written = 0;
        return false;
    }
    return !lost;
}

// The column of the first character of a line that ConvertLine refuses.
int FirstUnwritable(const wchar_t* chars, int length, UINT codePage, bool chineseCodePage)
{
    char out[16];
    for (int i = 0; i < length; ++i) {
        const int units = IS_HIGH_SURROGATE(chars[i]) && i + 1 < length && IS_LOW_SURROGATE(chars[i + 1]) ? 2 : 1;
        int written = 0;
        if (!ConvertLine(chars + i, units, codePage, chineseCodePage, out, sizeof out, written)) return i;
        i += units - 1;
    }
    return 0;
}

CString FolderOf(const wchar_t* path)
{
    CString folder(path);
    const int slash = std::max(folder.ReverseFind(L'\\'), folder.ReverseFind(L'/'));
    if (slash < 0) return L".";
    if (slash == 2 && folder.GetAt(1) == L':') return folder.Left(3);
    return folder.Left(slash == 0 ? 1 : slash);
}

} // namespace

// ---------------------------------------------------------------------------
// Loading

BOOL CTvTextBuffer::LoadFromFile(const wchar_t* path, int lineEndStyle)
{
    m_nEncoding = TVE_ANSI;
    m_bUtf8Mark = TRUE;
    BOOL result = FALSE;
    HANDLE file = INVALID_HANDLE_VALUE;
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        LARGE_INTEGER size{};
        unsigned char head[3] = {0, 0, 0};
        DWORD headRead = 0;
        if (!::GetFileSizeEx(file, &size) || !::ReadFile(file, head, 3, &headRead, nullptr)) {
            AfxMessageBox(L"数据环境读取文件头信息失败!");
        } else {
            ResetLines();
            m_aUndoBuf.clear();
            m_bInit = TRUE;
            m_bReadOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
            m_bModified = FALSE;
            m_bUndoGroup = m_bUndoBeginGroup = FALSE;
            m_nUndoBufSize = 4096;
            m_nUndoPosition = m_nSyncPosition = 0;
            if (headRead >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
                m_nEncoding = TVE_UTF16;
                ::CloseHandle(file);
                file = INVALID_HANDLE_VALUE;
                result = LoadUtf16File(path);
            } else {
                LONGLONG remaining = size.QuadPart;
                LARGE_INTEGER start{};
                if (headRead >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
                    m_nEncoding = TVE_UTF8;
                    remaining -= 3;
                    start.QuadPart = 3;
                }
                std::vector<char> bytes;
                DWORD read = 0;
                bool ok = remaining >= 0 && remaining < INT_MAX && ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
                if (ok) {
                    bytes.resize(static_cast<size_t>(remaining) + 1);
                    ok = ::ReadFile(file, bytes.data(), static_cast<DWORD>(remaining), &read, nullptr) &&
                         read == static_cast<DWORD>(remaining);
                }
                if (!ok) {
                    AfxMessageBox(L"数据环境读取文件失败![可能是文本缓冲溢出!]");
                } else {
                    m_nCRLFMode = lineEndStyle;
                    const size_t count = static_cast<size_t>(remaining);
                    if (m_nEncoding == TVE_ANSI &&
                        IsUtf8Text(reinterpret_cast<const unsigned char*>(bytes.data()), count)) {
                        m_nEncoding = TVE_UTF8;
                        m_bUtf8Mark = FALSE;
                    }
                    const int damaged = LoadBytes(bytes.data(), count, m_nEncoding == TVE_UTF8 ? CP_UTF8 : CP_ACP);
                    if (damaged >= 0) WarnUnreadableBytes(path, damaged);
                    result = TRUE;
                    NotifyViews(nullptr, nullptr, NotifyReset, -1);
                }
            }
        }
    }
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    // A buffer always has a line, whatever went wrong.
    if (m_aLines.empty()) InsertLine(L"", 0);
    return result;
}

void CTvTextBuffer::WarnUnreadableBytes(const wchar_t* path, int line)
{
    static const wchar_t* const names[] = {L"ASCII", L"UTF-8", L"Unicode"};
    CString text;
    text.Format(L"文件<%s>第%d行有不能按%s编码读取的字节, 保存时它们无法原样写回.", path, line + 1,
                names[m_nEncoding <= TVE_UTF16 ? m_nEncoding : 0]);
    AfxMessageBox(text, MB_ICONWARNING);
}

int CTvTextBuffer::LoadBytes(const char* bytes, size_t size, UINT codePage)
{
    int damaged = -1;
    const char* p = bytes;
    const char* const end = bytes + size;
    size_t lines = 1;
    for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, '\n', static_cast<size_t>(end - q))));
         ++q)
        ++lines;
    m_aLines.reserve(lines);

    std::vector<wchar_t> wide;
    auto addLine = [&](const char* from, const char* to) {
        const int count = static_cast<int>(to - from);
        if (wide.size() < static_cast<size_t>(count) + 1) wide.resize(static_cast<size_t>(count) + 1);
        // Bytes that are not text in the code page are read as its
        // replacement character, and the first such line is remembered.
        int length = count > 0 ? ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, from, count, wide.data(), count)
                               : 0;
        if (count > 0 && length <= 0) {
            if (damaged < 0) damaged = GetLineCount();
            length = ClMultiByteToWideInto(from, count, codePage, wide.data(), count);
        }
        InsertLine(wide.data(), length);
    };
    // Only CR LF ends a line; a lone CR or LF belongs to it.
    const char* search = p;
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(search, '\n', static_cast<size_t>(end - search)));
        if (!lf) {
            addLine(p, end);
            break;
        }
        if (lf > p && lf[-1] == '\r') {
            addLine(p, lf - 1);
            p = search = lf + 1;
        } else {
            search = lf + 1;
        }
    }
    if (m_aLines.empty()) InsertLine(L"", 0);
    return damaged;
}

BOOL CTvTextBuffer::LoadUtf16File(const wchar_t* path)
{
    m_nEncoding = TVE_UTF16;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return FALSE;
    std::vector<wchar_t> text;
    bool oddByte = false; // a last byte that makes no character
    try {
        unsigned char mark[2] = {0, 0};
        if (file.Read(mark, 2) != 2 || mark[0] != 0xFF || mark[1] != 0xFE) {
            AfxMessageBox(L"警告: 读取的文件不是Unicode编码");
            return FALSE;
        }
        const ULONGLONG bytes = file.GetLength() - 2;
        if (bytes >= static_cast<ULONGLONG>(INT_MAX)) {
            AfxMessageBox(L"数据环境读取文件失败![可能是文本缓冲溢出!]");
            return FALSE;
        }
        text.resize(static_cast<size_t>(bytes / 2));
        oddByte = bytes % 2 != 0;
        const UINT want = static_cast<UINT>(text.size() * sizeof(wchar_t));
        if (want && file.Read(text.data(), want) != want) {
            AfxMessageBox(L"数据环境读取文件失败![可能是文本缓冲溢出!]");
            return FALSE;
        }
    } catch (CFileException* e) {
        e->Delete();
        AfxMessageBox(L"数据环境读取文件失败![可能是文本缓冲溢出!]");
        return FALSE;
    }
    // An LF ends a line, and a CR right before it goes with it.
    const wchar_t* p = text.data();
    const wchar_t* const end = p + text.size();
    size_t lines = 1;
    for (const wchar_t* q = p; q < end; ++q)
        if (*q == L'\n') ++lines;
    m_aLines.reserve(lines);
    for (;;) {
        const wchar_t* lf = std::find(p, end, L'\n');
        if (lf == end) {
            InsertLine(p, static_cast<int>(end - p));
            break;
        }
        const wchar_t* lineEnd = (lf > p && lf[-1] == L'\r') ? lf - 1 : lf;
        InsertLine(p, static_cast<int>(lineEnd - p));
        p = lf + 1;
        if (p == end) break;
    }
    if (oddByte) WarnUnreadableBytes(path, GetLineCount() - 1);
    NotifyViews(nullptr, nullptr, NotifyReset, -1);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Saving

BOOL CTvTextBuffer::SaveToFile(const wchar_t* path, int /*lineEndStyle*/, BOOL clearModified)
{
    if (m_nEncoding == TVE_UTF16) return SaveUtf16File(path, clearModified);
    return SaveThroughTemporary(path, clearModified);
}

BOOL CTvTextBuffer::SaveUtf16File(const wchar_t* path, BOOL clearModified)
{
    return SaveThroughTemporary(path, clearModified);
}

bool CTvTextBuffer::WriteText(CFile& file, CPoint& unwritable)
{
    std::vector<char> block;
    block.reserve(kWriteBlock + 64);
    const UINT codePage = m_nEncoding == TVE_UTF8 ? CP_UTF8 : CP_ACP;
    const bool chinese = codePage == CP_ACP && ::GetACP() == 936;
    const int count = GetLineCount();
    for (int i = 0; i < count; ++i) {
        const SLineInfo& info = m_aLines[static_cast<size_t>(i)];
        const size_t used = block.size();
        if (m_nEncoding == TVE_UTF16) {
            const size_t bytes = static_cast<size_t>(info.m_nLength) * sizeof(wchar_t);
            block.resize(used + bytes);
            if (bytes) std::memcpy(block.data() + used, info.m_pcLine, bytes);
            if (i + 1 < count) block.insert(block.end(), {'\r', '\0', '\n', '\0'});
        } else {
            // At most three bytes for every UTF-16 unit (two in code page 936).
            const int room = info.m_nLength * 3;
            block.resize(used + static_cast<size_t>(room));
            int written = 0;
            if (!ConvertLine(info.m_pcLine, info.m_nLength, codePage, chinese, block.data() + used, room, written)) {
                unwritable = CPoint(FirstUnwritable(info.m_pcLine, info.m_nLength, codePage, chinese), i);
                return false;
            }
            block.resize(used + static_cast<size_t>(written));
            if (i + 1 < count) block.insert(block.end(), {'\r', '\n'});
        }
        if (block.size() >= kWriteBlock) {
            file.Write(block.data(), static_cast<UINT>(block.size()));
            block.clear();
        }
    }
    if (!block.empty()) file.Write(block.data(), static_cast<UINT>(block.size()));
    return true;
}

BOOL CTvTextBuffer::SaveFailed(const wchar_t* path, DWORD error, const CString& reason)
{
    CString text;
    text.Format(L"保存文件失败!\n\n%s", path);
    if (!reason.IsEmpty()) text += L"\n\n" + reason;
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
    ::SetLastError(error);
    return FALSE;
}

BOOL CTvTextBuffer::SaveThroughTemporary(const wchar_t* path, BOOL clearModified)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file or a folder is never replaced.
    if (targetExists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SaveFailed(path, ERROR_ACCESS_DENIED, L"这是一个文件夹的名称.");
    if (targetExists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SaveFailed(path, ERROR_ACCESS_DENIED, L"文件被设为只读.");

    const CString folder = FolderOf(path);
    const CString temporary = ClMakeTempFile(folder, L"CRE");
    CFile file;
    if (temporary.IsEmpty() || !file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        const DWORD error = ::GetLastError();
        if (!temporary.IsEmpty()) ::DeleteFileW(temporary);
        const DWORD folderAttributes = ::GetFileAttributesW(folder);
        if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return SaveFailed(path, ERROR_PATH_NOT_FOUND, L"文件夹<" + folder + L">不存在.");
        return SaveFailed(path, error ? error : ERROR_CANNOT_MAKE, SystemErrorText(error));
    }
    bool written = false;
    bool markWritten = false;
    bool convertible = true;
    DWORD writeError = 0;
    CPoint unwritable;
    try {
        if (m_nEncoding == TVE_UTF16)
            file.Write(kUtf16Mark, 2);
        else if (m_nEncoding == TVE_UTF8 && m_bUtf8Mark)
            file.Write(kUtf8Mark, 3);
        markWritten = true;
        convertible = WriteText(file, unwritable);
        if (convertible) {
            file.Close();
            written = true;
        }
    } catch (CFileException* e) {
        writeError = e->m_lOsError > 0 ? static_cast<DWORD>(e->m_lOsError) : ERROR_WRITE_FAULT;
        e->Delete();
    }
    if (!written) {
        file.Abort();
        ::DeleteFileW(temporary);
        if (!convertible) {
            // The old file stays as it was; the user is told which character
            // to change.
            CString text;
            text.Format(L"第%d行第%d列的字符无法按文件的编码(%s)保存, 文件没有保存:\n%s", unwritable.y + 1,
                        unwritable.x + 1, m_nEncoding == TVE_UTF8 ? L"UTF-8" : L"ASCII", path);
            AfxMessageBox(text, MB_ICONERROR);
            ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return FALSE;
        }
        CString reason = SystemErrorText(writeError);
        if (!markWritten && m_nEncoding == TVE_UTF8) reason = L"数据环境写UTF8文件头信息失败!\n" + reason;
        return SaveFailed(path, writeError, reason);
    }

    if (m_bCreateBackupFile && targetExists) {
        const CString backup = CString(path) + L".bak";
        ::SetFileAttributesW(backup, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(backup);
        if (!::CopyFileW(path, backup, FALSE)) {
            const DWORD error = ::GetLastError();
            ::DeleteFileW(temporary);
            return SaveFailed(path, error, L"无法保留原文件的备份<" + backup + L">: " + SystemErrorText(error));
        }
    }
    if (!::MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        // The old file is still there; the saved text is kept in the
        // temporary file, and the user is told where.
        CString text;
        const DWORD error = ::GetLastError();
        text.Format(L"无法用保存的内容替换文件:\n%s\n\n保存的内容留在临时文件中:\n%s", path, temporary.GetString());
        AfxMessageBox(text, MB_ICONERROR);
        ::SetLastError(error);
        return FALSE;
    }
    if (clearModified) {
        SetModified(FALSE);
        m_nSyncPosition = m_nUndoPosition;
    }
    return TRUE;
}
