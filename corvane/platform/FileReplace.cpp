#include "corvane/platform/FileReplace.h"
#include "corvane/platform/FileName.h"
#include "classlib/TempFile.h"

namespace {

bool IsReadOnlyFile(const wchar_t* path)
{
    if (!path || !*path) return false;
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
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
    const CString temp = tkx_TempFileBeside(to);
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
