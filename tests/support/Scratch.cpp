#include "Scratch.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

namespace test_support {

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t kScratchRoot[] = L"Software\\TavixTests";

CString& Documents()
{
    static CString folder;
    return folder;
}

HKEY CreateKeyPath(HKEY root, const wchar_t* key)
{
    HKEY handle = nullptr;
    RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    return handle;
}

} // namespace

CString WorkingFolder()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(size, L'\0');
    dir.resize(GetCurrentDirectoryW(size, &dir[0]));
    CString path(dir.c_str());
    path.TrimRight(L'\\');
    return path;
}

namespace {

CString ProgramPath()
{
    std::wstring path(512, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return CString(path.c_str());
        }
        path.resize(path.size() * 2);
    }
}

// The deep folders of the scratch root: two levels as an engineer's project
// folders are named, the second one lengthened until the whole root has
// `length` characters.  A name never ends in a blank (the system would
// drop it).
CString DeepFolders(int length)
{
    static const wchar_t kFiller[] = L"改扩建工程 施工图设计 第二合同段 ";
    CString deep = L"工程项目 2026\\某某高速公路";
    for (int i = 0; deep.GetLength() < length || deep[deep.GetLength() - 1] == L' '; ++i)
        deep.AppendChar(kFiller[i % (static_cast<int>(std::size(kFiller)) - 1)]);
    return deep;
}

// The program's file name without ".exe".
CString ProgramName()
{
    CString program = ProgramPath().Mid(ProgramPath().ReverseFind(L'\\') + 1);
    if (program.GetLength() > 4 && program.Right(4).CompareNoCase(L".exe") == 0)
        program = program.Left(program.GetLength() - 4);
    return program;
}

// <build>\testwork, beside the bin folder.
CString TestworkFolder()
{
    const CString bin = BinFolder();
    return bin.Left(bin.ReverseFind(L'\\')) + L"\\testwork";
}

} // namespace

CString BinFolder()
{
    const CString path = ProgramPath();
    return path.Left(path.ReverseFind(L'\\'));
}

CString RunStartFolder() { return TestworkFolder() + L"\\" + ProgramName(); }

CString ScratchRoot()
{
    static const CString root = [] {
        const CString testwork = TestworkFolder();
        const CString program = ProgramName();
        // The root alone has the length, so every path under it has more.
        const int want = kMinScratchPath - testwork.GetLength() - program.GetLength() - 2;
        const CString path = testwork + L"\\" + DeepFolders(want) + L"\\" + program;
        for (int slash = path.Find(L'\\', 3); slash >= 0; slash = path.Find(L'\\', slash + 1))
            CreateDirectoryW(path.Left(slash), nullptr);
        CreateDirectoryW(path, nullptr);
        return path;
    }();
    return root;
}

ScratchFolder::ScratchFolder(const wchar_t* name)
{
    m_path = ClFormat(L"%s\\%s_%lu", ScratchRoot().GetString(), name, GetCurrentProcessId());
    RemoveTree(m_path);
    CreateDirectoryW(m_path, nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_path); }

namespace {

// The path a handle of the file or folder leads to, in the system's final
// form; empty when it cannot be opened.
CString FinalPath(const CString& path)
{
    HANDLE handle = CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) return CString();
    std::wstring final(1024, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, &final[0], static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(handle, &final[0], static_cast<DWORD>(final.size()), 0);
    }
    CloseHandle(handle);
    final.resize(length < final.size() ? length : 0);
    return CString(final.c_str());
}

// Whether the entry `name` of `folder` (a real folder, whose final path is
// `folderFinal`) is a link: a junction or symbolic link (a reparse point;
// Wine shows a Unix symbolic link to a folder so), or, as Wine shows a Unix
// symbolic link to a file, a file whose final path lies elsewhere.  A file
// that cannot be opened at all (a link whose target is gone) counts as one
// too.
bool IsLink(const CString& folderFinal, const CString& path, const CString& name, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    const CString final = FinalPath(path);
    return final.IsEmpty() || final.CompareNoCase(folderFinal + L"\\" + name) != 0;
}

// Under Wine (which names its Unix paths through kernel32), the file calls
// act on what a Unix symbolic link points to: deleting a link to a file
// deletes the file, and a link to a folder cannot be removed.  There the
// link is removed by the system's own rm, and the wait for it is bounded.
using UnixPathFunction = char*(CDECL*)(const wchar_t*);
using DosPathFunction = wchar_t*(CDECL*)(const char*);

bool RemoveUnixLink(const CString& path)
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto unixPath = reinterpret_cast<UnixPathFunction>(GetProcAddress(kernel, "wine_get_unix_file_name"));
    const auto dosPath = reinterpret_cast<DosPathFunction>(GetProcAddress(kernel, "wine_get_dos_file_name"));
    if (!unixPath || !dosPath) return false;
    char* link = unixPath(path);
    wchar_t* rm = dosPath("/bin/rm");
    bool started = false;
    if (link && rm) {
        CString command = ClFormat(L"/bin/rm -f -- \"%s\"", ClMultiByteToWide(link, -1, CP_UTF8).GetString());
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        started = CreateProcessW(rm, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process) != 0;
        command.ReleaseBuffer();
        // A Unix program gets no handle to wait on: the name is watched.
        if (process.hProcess) CloseHandle(process.hProcess);
        if (process.hThread) CloseHandle(process.hThread);
    }
    HeapFree(GetProcessHeap(), 0, link);
    HeapFree(GetProcessHeap(), 0, rm);
    if (!started) return false;
    const auto named = [&path] {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(path, &found);
        if (search == INVALID_HANDLE_VALUE) return false;
        FindClose(search);
        return true;
    };
    for (const DWORD start = GetTickCount(); named();) {
        if (GetTickCount() - start > 10000) return false;
        Sleep(10);
    }
    return true;
}

// Removes a link itself, never what it points to.
void RemoveLink(const CString& path, DWORD attributes)
{
    if (GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")) {
        if (!RemoveUnixLink(path))
            std::fprintf(stderr, "The link \"%s\" could not be removed\n", Utf8(path).c_str());
        return;
    }
    // The system's own links: removing the name removes the link alone.
    const BOOL removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(path) : DeleteFileW(path);
    if (!removed) std::fprintf(stderr, "The link \"%s\" could not be removed\n", Utf8(path).c_str());
}

void EmptyRealFolder(const CString& path);

// Removes the entry `name` of the real folder `folder` (final path
// `folderFinal`): a link as a link, a folder with everything in it.
void RemoveEntry(const CString& folder, const CString& folderFinal, const CString& name, DWORD attributes)
{
    const CString path = folder + L"\\" + name;
    if (IsLink(folderFinal, path, name, attributes)) {
        RemoveLink(path, attributes);
        return;
    }
    SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        EmptyRealFolder(path);
        RemoveDirectoryW(path);
    } else {
        DeleteFileW(path);
    }
}

// Removes everything inside a real folder, links as links.
void EmptyRealFolder(const CString& path)
{
    const CString folderFinal = FinalPath(path);
    if (folderFinal.IsEmpty()) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path + L"\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::pair<CString, DWORD>> entries;
    do {
        CString name(found.cFileName);
        if (name != L"." && name != L"..") entries.emplace_back(name, found.dwFileAttributes);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const auto& entry : entries) RemoveEntry(path, folderFinal, entry.first, entry.second);
}

} // namespace

void EmptyFolder(const CString& path)
{
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    EmptyRealFolder(path);
}

void RemoveTree(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    if (slash < 0) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    FindClose(search);
    const CString folder = path.Left(slash);
    const CString folderFinal = FinalPath(folder);
    if (folderFinal.IsEmpty()) return;
    RemoveEntry(folder, folderFinal, path.Mid(slash + 1), found.dwFileAttributes);
}

void WriteBytes(const CString& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << Utf8(path);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadBytes(const CString& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const wchar_t* text) { return ClWideToMultiByte(text, -1, CP_UTF8); }

std::string FileText(const wchar_t* text)
{
    std::wstring lines;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\n') lines += L'\r';
        lines += *p;
    }
    return ClWideToMultiByte(lines.c_str(), static_cast<int>(lines.size()), 936);
}

void WriteText(const CString& path, const wchar_t* text) { WriteBytes(path, FileText(text)); }

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double FastestRun(const std::function<void()>& run, int runs)
{
    double fastest = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        run();
        fastest = std::min(fastest, Seconds() - start);
    }
    return fastest;
}

double ThreadSeconds()
{
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 1e-7;
}

double GrowthRatio(const std::function<void()>& small, const std::function<void()>& large, int rounds)
{
    // The thread's own processor time, not the clock's: on a busy machine
    // the other programs' time slices fall into a long run far more often
    // than into a short one, so that even the shortest clock time of the
    // large work grows more than the small work's (a ratio of 10 was
    // measured as 30 and more beside a build).  The processor time is
    // counted in ticks (10 ms under Wine): each work runs in blocks of at
    // least a tenth of a second, in turn, until each has used half a second
    // over at least `rounds` blocks, which measures it within a few per cent.
    constexpr double kBlock = 0.1, kEnough = 0.5;
    const std::function<void()>* work[2] = {&small, &large};
    double used[2] = {0, 0};
    long runs[2] = {0, 0};
    for (int round = 0; round < rounds || used[0] < kEnough || used[1] < kEnough; ++round) {
        for (int w = 0; w < 2; ++w) {
            const double start = ThreadSeconds();
            double spent = 0;
            do {
                (*work[w])();
                ++runs[w];
                spent = ThreadSeconds() - start;
            } while (spent < kBlock);
            used[w] += spent;
        }
    }
    return (used[1] / runs[1]) / (used[0] / runs[0]);
}

void SetRegString(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    HKEY handle = CreateKeyPath(root, key);
    ASSERT_TRUE(handle != nullptr);
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

void SetRegDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value)
{
    HKEY handle = CreateKeyPath(root, key);
    ASSERT_TRUE(handle != nullptr);
    RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(handle);
}

void DeleteRegValue(HKEY root, const wchar_t* key, const wchar_t* name)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueW(handle, name);
    RegCloseKey(handle);
}

void DeleteRegTree(HKEY root, const wchar_t* key) { RegDeleteTreeW(root, key); }

bool RegKeyExists(HKEY root, const wchar_t* key)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

bool RegValueExists(HKEY root, const wchar_t* key, const wchar_t* name)
{
    return RegGetValueW(root, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

CString GetRegString(HKEY root, const wchar_t* key, const wchar_t* name)
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return CString(buffer);
}

DWORD GetRegDword(HKEY root, const wchar_t* key, const wchar_t* name)
{
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof(value);
    RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

CString ScratchHive::DocumentsFolder() { return Documents(); }

void MakeScratchInstallation(CString& folder)
{
    folder = ClFormat(L"%s\\install_%lu", ScratchRoot().GetString(), GetCurrentProcessId());
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder + L"\\Bin", nullptr));
    SetRegString(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TAVIX 3", L"PathName", folder + L"\\");
}

void ScratchHive::SetUp()
{
    CString key = ClFormat(L"%s\\%s_%lu", kScratchRoot, m_tag.GetString(), GetCurrentProcessId());
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &m_hive, nullptr));
    Documents() = ClFormat(L"%s\\docs_%lu", ScratchRoot().GetString(), GetCurrentProcessId());
    RemoveTree(Documents());
    ASSERT_TRUE(CreateDirectoryW(Documents(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, m_hive));
    SetRegString(HKEY_CURRENT_USER, kShellFolders, L"Personal", Documents());
    Prepare();
}

void ScratchHive::TearDown()
{
    CleanUp();
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(m_hive);
    RegDeleteTreeW(HKEY_CURRENT_USER,
                   ClFormat(L"%s\\%s_%lu", kScratchRoot, m_tag.GetString(), GetCurrentProcessId()));
    HKEY parent;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kScratchRoot, 0, KEY_ALL_ACCESS, &parent) == ERROR_SUCCESS) {
        DWORD subkeys = 0;
        RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(parent);
        if (subkeys == 0) RegDeleteKeyW(HKEY_CURRENT_USER, kScratchRoot);
    }
    RemoveTree(Documents());
}

} // namespace test_support
