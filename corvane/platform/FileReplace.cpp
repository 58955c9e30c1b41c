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

bool IsFolder(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A new empty file "<prefix>XXXX<extension>.tmp" in the folder of target.
CString FileBeside(const CString& target, const wchar_t* prefix, const wchar_t* extension)
{
    CString folder = tkxFileName(target).GetRoot();
    if (folder.IsEmpty()) folder = L".";
    return ClMakeTempFile(folder, prefix, extension && *extension ? extension : nullptr);
}

// A copy of from in a new temporary file beside to, kept writable so that it
// can be removed until it is in place; empty, with no file left and the last
// error set, when it cannot be made.
CString CopyToTemporary(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from || !to || !*to) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return CString();
    }
    const CString temp = tkx_TempFileBeside(to);
    if (temp.IsEmpty()) return CString();
    if (!CopyFileW(from, temp, FALSE)) {
        const DWORD error = GetLastError();
        SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temp);
        SetLastError(error);
        return CString();
    }
    const DWORD attributes = GetFileAttributesW(temp);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
        SetFileAttributesW(temp, writable ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    return temp;
}

// A copy of a read-only file is read-only too, whether or not the system's
// copy carried the attribute over.
void MarkCopyReadOnly(const wchar_t* from, const wchar_t* to)
{
    const DWORD source = GetFileAttributesW(from);
    if (source == INVALID_FILE_ATTRIBUTES || !(source & FILE_ATTRIBUTE_READONLY)) return;
    const DWORD now = GetFileAttributesW(to);
    if (now != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(to, now | FILE_ATTRIBUTE_READONLY);
}

} // namespace

CString tkx_ReadOnlyTargetText(const wchar_t* target)
{
    if (!IsReadOnlyFile(target)) return CString();
    return ClFormat(L"文件%s为只读, 无法保存!", target);
}

int tkx_FirstReadOnlyTarget(const std::vector<CString>& targets)
{
    for (size_t i = 0; i < targets.size(); ++i)
        if (IsReadOnlyFile(targets[i])) return static_cast<int>(i);
    return -1;
}

CString tkx_SaveFailureText(const wchar_t* target, const wchar_t* own)
{
    CString text = own ? own : L"";
    const CString readOnly = tkx_ReadOnlyTargetText(target);
    if (!readOnly.IsEmpty()) text += (text.IsEmpty() ? L"" : L"\n\n") + readOnly;
    return text;
}

CString tkx_SetFailureText(const wchar_t* target, const wchar_t* own, size_t count)
{
    CString text = tkx_SaveFailureText(target, own);
    if (count > 1)
        text += (text.IsEmpty() ? L"" : L"\n\n") + ClFormat(L"无法替换输出文件%s, 其他输出文件保持原样!", target);
    return text;
}

CString tkx_TempFileBeside(const wchar_t* target, const wchar_t* extension)
{
    const CString path = target ? target : L"";
    if (path.IsEmpty()) return CString();
    if (IsReadOnlyFile(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return CString();
    }
    return FileBeside(path, L"tkx", extension);
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

bool tkx_ReplaceSetByTemporaries(const std::vector<CString>& temporaries, const std::vector<CString>& targets,
                                 int* failed)
{
    const size_t count = targets.size();
    std::vector<CString> backups(count); // empty: the target did not exist
    std::vector<bool> placed(count, false);
    // Puts every target back as it was and removes the temporary files.
    const auto fail = [&](size_t index, DWORD error) {
        for (size_t i = count; i-- > 0;) {
            if (!backups[i].IsEmpty()) {
                // The backup takes its name back over the new file in one
                // move; a backup that cannot is kept rather than lost.
                MoveFileExW(backups[i], targets[i], MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            } else if (placed[i]) {
                DeleteFileW(targets[i]);
            }
        }
        for (size_t i = 0; i < temporaries.size(); ++i)
            if (i >= count || !placed[i]) DeleteFileW(temporaries[i]);
        if (failed) *failed = static_cast<int>(index);
        SetLastError(error);
        return false;
    };
    if (temporaries.size() != count) return fail(0, ERROR_INVALID_PARAMETER);
    // Nothing is moved when any target may not be replaced.
    for (size_t i = 0; i < count; ++i) {
        if (temporaries[i].IsEmpty() || targets[i].IsEmpty()) return fail(i, ERROR_INVALID_PARAMETER);
        if (IsFolder(targets[i])) return fail(i, ERROR_ACCESS_DENIED);
    }
    const int readOnly = tkx_FirstReadOnlyTarget(targets);
    if (readOnly >= 0) return fail(static_cast<size_t>(readOnly), ERROR_ACCESS_DENIED);

    for (size_t i = 0; i < count; ++i) {
        if (GetFileAttributesW(targets[i]) == INVALID_FILE_ATTRIBUTES) continue;
        // The backup keeps the target's extension, so that one left by a
        // failure of the system shows what it holds.
        CString extension = tkxFileName(targets[i]).GetExt();
        const CString backup = FileBeside(targets[i], L"bak", extension.MakeUpper());
        if (backup.IsEmpty()) return fail(i, GetLastError());
        // Looked at again: a target made read-only meanwhile stays.
        if (IsReadOnlyFile(targets[i]) ||
            !MoveFileExW(targets[i], backup, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = IsReadOnlyFile(targets[i]) ? ERROR_ACCESS_DENIED : GetLastError();
            DeleteFileW(backup);
            return fail(i, error);
        }
        backups[i] = backup;
    }
    for (size_t i = 0; i < count; ++i) {
        // The name is free now: a file another program put there meanwhile
        // is not replaced.
        if (!MoveFileExW(temporaries[i], targets[i], MOVEFILE_WRITE_THROUGH)) return fail(i, GetLastError());
        placed[i] = true;
    }
    for (const CString& backup : backups)
        if (!backup.IsEmpty()) DeleteFileW(backup);
    return true;
}

BOOL tkx_CopyReplacing(const wchar_t* from, const wchar_t* to)
{
    const CString temp = CopyToTemporary(from, to);
    if (temp.IsEmpty()) return FALSE;
    if (!tkx_ReplaceByTemporary(temp, to)) return FALSE;
    MarkCopyReadOnly(from, to);
    return TRUE;
}

bool tkx_CopySetReplacing(const std::vector<CString>& from, const std::vector<CString>& to, int* failed)
{
    std::vector<CString> temps;
    const auto fail = [&](size_t index, DWORD error) {
        for (const CString& temp : temps) DeleteFileW(temp);
        if (failed) *failed = static_cast<int>(index);
        SetLastError(error);
        return false;
    };
    if (from.size() != to.size()) return fail(0, ERROR_INVALID_PARAMETER);
    // A read-only target refuses the set before anything is written.
    const int readOnly = tkx_FirstReadOnlyTarget(to);
    if (readOnly >= 0) return fail(static_cast<size_t>(readOnly), ERROR_ACCESS_DENIED);
    for (size_t i = 0; i < to.size(); ++i) {
        const CString temp = CopyToTemporary(from[i], to[i]);
        if (temp.IsEmpty()) return fail(i, GetLastError());
        temps.push_back(temp);
    }
    if (!tkx_ReplaceSetByTemporaries(temps, to, failed)) return false;
    for (size_t i = 0; i < to.size(); ++i) MarkCopyReadOnly(from[i], to[i]);
    return true;
}
