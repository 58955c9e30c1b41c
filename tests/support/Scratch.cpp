#include "Scratch.h"

#include <algorithm>
#include <iterator>

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

void EmptyFolder(const CString& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path + L"\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        CString name(found.cFileName);
        if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void RemoveTree(const CString& path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path);
        return;
    }
    EmptyFolder(path);
    RemoveDirectoryW(path);
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

double GrowthRatio(const std::function<void()>& small, const std::function<void()>& large, int rounds)
{
    // A busy machine only ever makes a run slower: the shortest of enough
    // runs is the work's own time.  Work of a few milliseconds is sampled
    // for half a second at least, so that a run of every size falls between
    // the other programs' time slices.
    constexpr double kLeast = 0.5;
    constexpr int kMostRounds = 200;
    double smallest = 1e30, largest = 1e30;
    const double start = Seconds();
    for (int i = 0; i < kMostRounds && (i < rounds || Seconds() - start < kLeast); ++i) {
        smallest = std::min(smallest, FastestRun(small, 1));
        largest = std::min(largest, FastestRun(large, 1));
    }
    return largest / smallest;
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
