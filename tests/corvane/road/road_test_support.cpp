#include "road_test_support.h"
#include "corvane/project/TavixDevApp.h"

namespace road_test {

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

CString WorkingFolder()
{
    wchar_t dir[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, dir);
    CString path(dir);
    path.TrimRight(L'\\');
    return path;
}

CString ScratchHiveKey()
{
    return ClFormat(L"Software\\TavixTests\\road_%lu", GetCurrentProcessId());
}

// Redirects HKEY_CURRENT_USER and the documents folder for the run.
class ScratchHive : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, ScratchHiveKey(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &m_hive, nullptr));
        m_documents = ClFormat(L"%s\\docs_%lu", WorkingFolder().GetString(), GetCurrentProcessId());
        RemoveTree(m_documents);
        ASSERT_TRUE(CreateDirectoryW(m_documents, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, m_hive));
        HKEY folders = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &folders, nullptr));
        RegSetValueExW(folders, L"Personal", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_documents.GetString()),
                       static_cast<DWORD>((m_documents.GetLength() + 1) * sizeof(wchar_t)));
        RegCloseKey(folders);
        // Start the library now, inside the scratch hive.
        TavixDevApp();
    }

    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(m_hive);
        RegDeleteTreeW(HKEY_CURRENT_USER, ScratchHiveKey());
        HKEY parent;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TavixTests", 0, KEY_ALL_ACCESS, &parent) == 0) {
            DWORD subkeys = 0;
            RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr);
            RegCloseKey(parent);
            if (subkeys == 0) RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TavixTests");
        }
        RemoveTree(m_documents);
    }

private:
    HKEY m_hive = nullptr;
    CString m_documents;
};

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new ScratchHive);

} // namespace

ScratchFolder::ScratchFolder(const wchar_t* name)
{
    m_path = ClFormat(L"%s\\%s_%lu", WorkingFolder().GetString(), name, GetCurrentProcessId());
    RemoveTree(m_path);
    CreateDirectoryW(m_path, nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_path); }

void RemoveTree(const CString& path)
{
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path);
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path + L"\\*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const CString name(found.cFileName);
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
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
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

std::string FileText(const wchar_t* text)
{
    std::wstring lines;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L'\n') lines += L'\r';
        lines += *p;
    }
    return ClWideToMultiByte(lines.c_str(), static_cast<int>(lines.size()), 936);
}

void WriteText(const CString& path, const wchar_t* text)
{
    WriteBytes(path, FileText(text));
}

std::string Utf8(const wchar_t* text) { return ClWideToMultiByte(text, -1, CP_UTF8); }

StationSettings::StationSettings(int decimals, int keepZeros)
{
    CTavixDevApp& app = TavixDevApp();
    m_decimals = app.m_CurProject.m_sPrjSetting0.m_iPrecision_ZH;
    m_keepZeros = app.m_CurProject.m_sPrjSetting0.m_bReserveZero;
    m_prefixStyle = app.m_CurProject.m_sPrjSetting1.m_iZHDimStyle;
    app.m_CurProject.m_sPrjSetting0.m_iPrecision_ZH = decimals;
    app.m_CurProject.m_sPrjSetting0.m_bReserveZero = keepZeros;
    app.m_CurProject.m_sPrjSetting1.m_iZHDimStyle = 0;
}

StationSettings::~StationSettings()
{
    CTavixDevApp& app = TavixDevApp();
    app.m_CurProject.m_sPrjSetting0.m_iPrecision_ZH = m_decimals;
    app.m_CurProject.m_sPrjSetting0.m_bReserveZero = m_keepZeros;
    app.m_CurProject.m_sPrjSetting1.m_iZHDimStyle = m_prefixStyle;
}

double Seconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace road_test
