#include "support/FailingWrites.h"
#include <algorithm>

namespace test_support {

namespace {

CString g_folder; // full path with a trailing "\"
int g_refused = 0;
long long g_allowed = 0; // bytes still let through
ClFileWriteHook g_previous = nullptr;

CString FullPath(const wchar_t* path)
{
    wchar_t full[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? CString(full) : CString(path);
}

DWORD RefuseInFolder(const CFile& file, UINT count)
{
    const CString path = FullPath(file.GetFilePath());
    if (path.GetLength() <= g_folder.GetLength() || path.Left(g_folder.GetLength()).CompareNoCase(g_folder) != 0)
        return 0;
    if (count <= g_allowed) {
        g_allowed -= count;
        return 0;
    }
    g_allowed = 0;
    ++g_refused;
    return ERROR_DISK_FULL;
}

} // namespace

FailingWrites::FailingWrites(const CString& folder, int allowedBytes)
{
    g_allowed = allowedBytes;
    g_folder = FullPath(folder);
    g_folder.TrimRight(L"\\/");
    g_folder += L"\\";
    g_refused = 0;
    g_previous = ClSetFileWriteHook(RefuseInFolder);
}

FailingWrites::~FailingWrites() { ClSetFileWriteHook(g_previous); }

int FailingWrites::Refused() const { return g_refused; }

std::vector<CString> FilesIn(const CString& folder)
{
    std::vector<CString> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    return names;
}

} // namespace test_support
