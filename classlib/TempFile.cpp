#include "TempFile.h"
#include <cwchar>
#include <vector>

namespace {

// The form of a folder the system takes beyond MAX_PATH ("\\?\X:\..." or
// "\\?\UNC\server\..."); empty when it cannot be made full.
CString ExtendedPath(const wchar_t* path)
{
    const DWORD length = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (length == 0) return CString();
    std::vector<wchar_t> full(length + 1, L'\0');
    if (GetFullPathNameW(path, length + 1, full.data(), nullptr) == 0) return CString();
    CString text(full.data());
    while (text.GetLength() > 3 && text.Right(1) == L"\\") text = text.Left(text.GetLength() - 1);
    if (text.Left(4) == L"\\\\?\\") return text;
    if (text.Left(2) == L"\\\\") return L"\\\\?\\UNC\\" + text.Mid(2);
    return L"\\\\?\\" + text;
}

// "<prefix>XXXX<extension>.tmp" made new in the folder (given as it is to be
// used: the extended form for a deep folder), as the system's function names
// its files.
CString MakeNamedTempFile(const CString& folder, const wchar_t* prefix, const wchar_t* extension)
{
    if (folder.IsEmpty()) return CString();
    const CString start = CString(prefix ? prefix : L"").Left(3);
    const CString end = CString(extension ? extension : L"") + L".tmp";
    const DWORD first = GetTickCount();
    for (DWORD i = 0; i < 0x10000; ++i) {
        const CString name =
            ClFormat(L"%s\\%s%04X%s", folder.GetString(), start.GetString(), (first + i) & 0xFFFF, end.GetString());
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

CString ClMakeTempFile(const wchar_t* folder, const wchar_t* prefix, const wchar_t* extension)
{
    const size_t length = folder ? std::wcslen(folder) : 0;
    if (length == 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return CString();
    }
    // No file of a folder this long fits the platform's path limit, so no
    // target lies there.
    if (length > MAX_PATH - 3) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return CString();
    }
    // The system's name takes up to 14 more characters ("\" + 3 of the prefix
    // + 4 hexadecimal digits + ".tmp"), and the extension's, and must stay
    // within MAX_PATH; in a deeper folder, where a target with a short name
    // may still lie, the name is made here in the extended form of the path.
    const size_t extensionLength = extension ? std::wcslen(extension) : 0;
    if (length + 14 + extensionLength > MAX_PATH) return MakeNamedTempFile(ExtendedPath(folder), prefix, extension);
    if (extensionLength) return MakeNamedTempFile(folder, prefix, extension);
    std::vector<wchar_t> name(MAX_PATH + 16, L'\0');
    if (!GetTempFileNameW(folder, prefix ? prefix : L"", 0, name.data())) return CString();
    return CString(name.data());
}
