#include "corvane/platform/FileReplace.h"
#include "corvane/platform/FileName.h"
#include "classlib/TempFile.h"
#include <vector>

namespace {

bool IsReadOnlyFile(const wchar_t* path)
{
    if (!path || !*path) return false;
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

// The form of a path the system takes beyond MAX_PATH ("\\?\X:\..." or
// "\\?\UNC\server\..."); empty when the path cannot be made full.
CString ExtendedPath(const wchar_t* path)
{
    const DWORD length = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (length == 0) return CString();
    std::vector<wchar_t> full(length + 1, L'\0');
    if (GetFullPathNameW(path, length + 1, full.data(), nullptr) == 0) return CString();
    const CString text(full.data());
    if (text.Left(4) == L"\\\\?\\") return text;
    if (text.Left(2) == L"\\\\") return L"\\\\?\\UNC\\" + text.Mid(2);
    return L"\\\\?\\" + text;
}

// A new empty file beside target for a copy.  A folder too long for the
// system's temporary names (a target near MAX_PATH) gets one of the same
// form made here, named by the path's extended form.
CString CopyTempBeside(const wchar_t* target)
{
    const CString temp = tkx_TempFileBeside(target);
    if (!temp.IsEmpty() || GetLastError() != ERROR_FILENAME_EXCED_RANGE) return temp;
    const CString full = ExtendedPath(target);
    const int slash = full.ReverseFind(L'\\');
    if (slash < 0) return CString();
    const CString folder = full.Left(slash);
    const DWORD start = GetTickCount();
    for (DWORD i = 0; i < 0x10000; ++i) {
        const CString name = ClFormat(L"%s\\tkx%04X.tmp", folder.GetString(), (start + i) & 0xFFFF);
        HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return name;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return CString();
    }
    SetLastError(ERROR_FILE_EXISTS);
    return CString();
}

} // namespace

CString tkx_ReadOnlyTargetText(const wchar_t* target)
{
    if (!IsReadOnlyFile(target)) return CString();
    return ClFormat(L"文件%s为只读, 无法保存!", target);
}

CString tkx_SaveFailureText(const wchar_t* target, const wchar_t* own)
{
    CString text = own ? own : L"";
    const CString readOnly = tkx_ReadOnlyTargetText(target);
    if (!readOnly.IsEmpty()) text += (text.IsEmpty() ? L"" : L"\n\n") + readOnly;
    return text;
}

CString tkx_TempFileBeside(const wchar_t* target)
{
    const CString path = target ? target : L"";
    if (path.IsEmpty()) return CString();
    if (IsReadOnlyFile(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return CString();
    }
    CString folder = tkxFileName(path).GetRoot();
    if (folder.IsEmpty()) folder = L".";
    return ClMakeTempFile(folder, L"tkx");
}

bool tkx_ReplaceByTemporary(const wchar_t* temp, const wchar_t* target)
{
    if (!temp || !*temp) return false;
    // The attribute is looked at again here: the move would replace a file
    // made read-only while the temporary file was being written.
    if (target && *target && !IsReadOnlyFile(target) &&
        MoveFileExW(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD error = target && IsReadOnlyFile(target) ? ERROR_ACCESS_DENIED : GetLastError();
    DeleteFileW(temp);
    SetLastError(error);
    return false;
}

BOOL tkx_CopyReplacing(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from || !to || !*to) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CString temp = CopyTempBeside(to);
    if (temp.IsEmpty()) return FALSE;
    if (!CopyFileW(from, temp, FALSE)) {
        const DWORD error = GetLastError();
        SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temp);
        SetLastError(error);
        return FALSE;
    }
    // A copy of a read-only file is read-only too, whether or not the
    // system's copy carried the attribute over; the temporary file is kept
    // writable until it is in place, so that a failed move can still remove
    // it.
    const DWORD source = GetFileAttributesW(from);
    const bool readOnly = source != INVALID_FILE_ATTRIBUTES && (source & FILE_ATTRIBUTE_READONLY);
    const DWORD attributes = GetFileAttributesW(temp);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
        SetFileAttributesW(temp, writable ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    if (!tkx_ReplaceByTemporary(temp, to)) return FALSE;
    if (readOnly) {
        const DWORD now = GetFileAttributesW(to);
        if (now != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(to, now | FILE_ATTRIBUTE_READONLY);
    }
    return TRUE;
}
