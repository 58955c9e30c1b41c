#include "TempFile.h"
#include <cwchar>
#include <vector>

CString ClMakeTempFile(const wchar_t* folder, const wchar_t* prefix)
{
    // The system's name takes up to 14 more characters ("\" + 3 of the prefix
    // + 4 hexadecimal digits + ".tmp") and must stay within MAX_PATH.
    const size_t length = folder ? std::wcslen(folder) : 0;
    if (length == 0 || length > MAX_PATH - 14) {
        SetLastError(length == 0 ? ERROR_PATH_NOT_FOUND : ERROR_FILENAME_EXCED_RANGE);
        return CString();
    }
    std::vector<wchar_t> name(MAX_PATH + 16, L'\0');
    if (!GetTempFileNameW(folder, prefix ? prefix : L"", 0, name.data())) return CString();
    return CString(name.data());
}
