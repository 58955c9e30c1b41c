#include "corvane/platform/FileReplace.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/ReplaceSetSteps.h"
#include "classlib/TempFile.h"

namespace {

const DWORD kReplacing = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

tkxSetStepHook& StepHook()
{
    static tkxSetStepHook hook;
    return hook;
}

// 0, or the error a test's hook makes the step fail with.
DWORD Step(tkxSetStep step, size_t index, const CString& target, const CString& other)
{
    const tkxSetStepHook& hook = StepHook();
    return hook ? hook(step, index, target, other) : 0;
}

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
    // The name is made "<folder>\<name>": a folder other than a drive's
    // root goes without its trailing backslash, so that the name, which
    // messages show, is written as the user writes it.
    while (folder.GetLength() > 3 && folder.Right(1) == L"\\") folder = folder.Left(folder.GetLength() - 1);
    return ClMakeTempFile(folder, prefix, extension && *extension ? extension : nullptr);
}

// The file a name stands for, by its file index, which another file under
// the same name (another program saved its own in its place) does not
// share.  The index alone: a target and what takes its place lie in one
// folder, on one volume.  It is read through the system's internal query,
// as reading the volume's serial number too (GetFileInformationByHandle)
// costs many times more under Wine.
struct FileIdentity {
    bool known = false;
    LONGLONG index = 0;
    bool operator==(const FileIdentity& other) const { return known && other.known && index == other.index; }
};

typedef LONG(NTAPI* QueryInformationFile)(HANDLE, void* status, void* information, ULONG length, int kind);

FileIdentity IdentityOf(const CString& path)
{
    static const QueryInformationFile query = reinterpret_cast<QueryInformationFile>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    const int kInternalInformation = 6; // FileInternalInformation: the file index
    FileIdentity identity;
    // Attributes only: no other program's sharing refuses it.
    HANDLE file = CreateFileW(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return identity;
    ULONG_PTR status[2] = {};
    LARGE_INTEGER index = {};
    if (query && query(file, status, &index, sizeof(index), kInternalInformation) >= 0) {
        identity.known = true;
        identity.index = index.QuadPart;
    } else {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(file, &info)) {
            identity.known = true;
            identity.index = (static_cast<LONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        }
    }
    CloseHandle(file);
    return identity;
}

// 0 when the target of a set may be replaced (exists tells whether it is
// there), else why not.  Another program that holds the file open without
// sharing its deletion keeps it from being replaced: an open asking for
// deletion tells, and is closed at once.
DWORD CheckTarget(size_t index, const CString& target, bool& exists)
{
    exists = false;
    if (target.IsEmpty()) return ERROR_INVALID_PARAMETER;
    if (IsFolder(target) || IsReadOnlyFile(target)) return ERROR_ACCESS_DENIED;
    if (const DWORD error = Step(tkxSetStep::Check, index, target, CString())) return error;
    HANDLE probe = CreateFileW(target, DELETE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        exists = true;
        return 0;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : error;
}

bool NameTaken(DWORD error)
{
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

// A backup of target beside it ("bakXXXX.<EXTENSION>.tmp", the extension
// showing what a backup left by a failure of the system holds) that holds
// the target's content while the target keeps its name: a second name of
// the same file where the file system has them, else a copy.  Empty, with
// the error, when neither can be made.
CString MakeBackup(size_t index, const CString& target, DWORD& error)
{
    CString extension = tkxFileName(target).GetExt();
    extension.MakeUpper();
    // A name taken by someone else between its reservation and its use is
    // given up for another.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const CString backup = FileBeside(target, L"bak", extension);
        if (backup.IsEmpty()) {
            error = GetLastError();
            return CString();
        }
        // The empty file reserved the name; the link or the copy takes it.
        DeleteFileW(backup);
        error = Step(tkxSetStep::Link, index, target, backup);
        if (!error && CreateHardLinkW(backup, target, nullptr)) return backup;
        if (!error) error = GetLastError();
        if (NameTaken(error)) continue;
        error = Step(tkxSetStep::Copy, index, target, backup);
        if (!error && CopyFileW(target, backup, TRUE)) return backup;
        if (!error) error = GetLastError();
        if (NameTaken(error)) continue;
        DeleteFileW(backup); // a part of the copy
        return CString();
    }
    return CString();
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

// A name as the user writes it: a backup in a deep folder is named in the
// extended form of its path ("\\?\X:\..."), which messages do not show.
CString ShownName(const CString& path)
{
    if (path.Left(8) == L"\\\\?\\UNC\\") return L"\\\\" + path.Mid(8);
    if (path.Left(4) == L"\\\\?\\") return path.Mid(4);
    return path;
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

CString tkx_SetFailureText(const wchar_t* target, const wchar_t* own, size_t count, const tkxSetLeftovers& left)
{
    if (left.notPutBack.empty()) return tkx_SetFailureText(target, own, count);
    CString text = tkx_SaveFailureText(target, own);
    const auto add = [&text](const CString& paragraph) { text += (text.IsEmpty() ? L"" : L"\n\n") + paragraph; };
    add(ClFormat(L"无法替换输出文件%s!", target));
    for (const tkxSetBackup& kept : left.notPutBack)
        add(kept.backup.IsEmpty() ? ClFormat(L"无法删除新建的输出文件%s!", ShownName(kept.target).GetString())
                                  : ClFormat(L"无法恢复输出文件%s: 该文件现为新内容, 原内容保存在%s中!",
                                             ShownName(kept.target).GetString(), ShownName(kept.backup).GetString()));
    return text;
}

std::vector<CString> tkx_BackupsKeptTexts(const tkxSetLeftovers& left)
{
    std::vector<CString> lines;
    for (const tkxSetBackup& kept : left.backupsKept)
        lines.push_back(
            ClFormat(L"无法删除输出文件%s的备份文件%s!", ShownName(kept.target).GetString(),
                     ShownName(kept.backup).GetString()));
    return lines;
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

void tkx_SetReplaceSetStepHook(tkxSetStepHook hook)
{
    StepHook() = std::move(hook);
}

bool tkx_ReplaceSetByTemporaries(const std::vector<CString>& temporaries, const std::vector<CString>& targets,
                                 int* failed)
{
    return tkx_ReplaceSetByTemporaries(temporaries, targets, failed, nullptr);
}

bool tkx_ReplaceSetByTemporaries(const std::vector<CString>& temporaries, const std::vector<CString>& targets,
                                 int* failed, tkxSetLeftovers* left)
{
    tkxSetLeftovers none;
    tkxSetLeftovers& leftovers = left ? *left : none;
    leftovers = tkxSetLeftovers();
    const size_t count = targets.size();
    std::vector<CString> backups(count); // empty: no backup (now)
    std::vector<bool> exists(count, false), placed(count, false);
    const auto removeBackup = [&](size_t i) {
        if (backups[i].IsEmpty()) return;
        const DWORD stop = Step(tkxSetStep::Remove, i, targets[i], backups[i]);
        if (stop || !DeleteFileW(backups[i])) leftovers.backupsKept.push_back({targets[i], backups[i]});
        backups[i].Empty();
    };
    const auto fail = [&](size_t index, DWORD error) {
        // Each new file in place gives the name back to its original in one
        // replacing move; a new file where no target was is removed.  A
        // target whose new file was never placed is not touched.
        for (size_t i = count; i-- > 0;) {
            if (!placed[i]) continue;
            const DWORD stop = Step(tkxSetStep::PutBack, i, targets[i], backups[i]);
            const bool back = !stop && (backups[i].IsEmpty() ? DeleteFileW(targets[i]) != FALSE
                                                             : MoveFileExW(backups[i], targets[i], kReplacing) != FALSE);
            // What could not be put back is kept: the backup holds the
            // original.
            if (!back) leftovers.notPutBack.push_back({targets[i], backups[i]});
            backups[i].Empty();
        }
        for (size_t i = 0; i < count; ++i) removeBackup(i);
        for (size_t i = 0; i < temporaries.size(); ++i)
            if (i >= count || !placed[i]) DeleteFileW(temporaries[i]);
        if (failed) *failed = static_cast<int>(index);
        SetLastError(error);
        return false;
    };
    if (temporaries.size() != count) return fail(0, ERROR_INVALID_PARAMETER);
    for (size_t i = 0; i < count; ++i)
        if (temporaries[i].IsEmpty() || targets[i].IsEmpty()) return fail(i, ERROR_INVALID_PARAMETER);

    // Nothing changes when any target may not be replaced.
    for (size_t i = 0; i < count; ++i) {
        bool there = false;
        const DWORD error = CheckTarget(i, targets[i], there);
        if (error) return fail(i, error);
        exists[i] = there;
    }
    if (count == 1) {
        // One file: the replacing move alone, which never leaves the name
        // missing.
        DWORD error = Step(tkxSetStep::Place, 0, targets[0], temporaries[0]);
        if (!error && !MoveFileExW(temporaries[0], targets[0], kReplacing)) error = GetLastError();
        if (error) return fail(0, error);
        return true;
    }

    // The backups: every target keeps its name and its content meanwhile.
    std::vector<FileIdentity> identities(count);
    for (size_t i = 0; i < count; ++i) {
        if (!exists[i]) continue;
        identities[i] = IdentityOf(targets[i]);
        if (!identities[i].known) {
            const DWORD error = GetLastError();
            return fail(i, error ? error : ERROR_ACCESS_DENIED);
        }
        DWORD error = 0;
        backups[i] = MakeBackup(i, targets[i], error);
        if (backups[i].IsEmpty()) return fail(i, error ? error : ERROR_CANNOT_MAKE);
    }
    for (size_t i = 0; i < count; ++i) {
        DWORD error = Step(tkxSetStep::Place, i, targets[i], temporaries[i]);
        // A file another program put under the target's name meanwhile, in
        // a free place or in place of the target, is not replaced.
        if (!error && exists[i] && !(IdentityOf(targets[i]) == identities[i])) error = ERROR_ALREADY_EXISTS;
        if (!error && !MoveFileExW(temporaries[i], targets[i], exists[i] ? kReplacing : MOVEFILE_WRITE_THROUGH))
            error = GetLastError();
        if (error) return fail(i, error);
        placed[i] = true;
    }
    for (size_t i = 0; i < count; ++i) removeBackup(i);
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
    return tkx_CopySetReplacing(from, to, failed, nullptr);
}

bool tkx_CopySetReplacing(const std::vector<CString>& from, const std::vector<CString>& to, int* failed,
                          tkxSetLeftovers* left)
{
    if (left) *left = tkxSetLeftovers();
    std::vector<CString> temps;
    // The copies made so far go with a failure.
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
    if (!tkx_ReplaceSetByTemporaries(temps, to, failed, left)) return false;
    for (size_t i = 0; i < to.size(); ++i) MarkCopyReadOnly(from[i], to[i]);
    return true;
}
