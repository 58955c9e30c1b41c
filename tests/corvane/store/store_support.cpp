#include "store_support.h"
#include "corvane/platform/ApplicationInfo.h"
#include <fstream>
#include <sstream>

namespace store_test {

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

CString ScratchHiveKey() { return ClFormat(L"Software\\TavixTests\\store_%lu", GetCurrentProcessId()); }

CString& Documents()
{
    static CString folder;
    return folder;
}

HKEY CreateKeyPath(const wchar_t* key)
{
    HKEY handle = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    return handle;
}

// Redirects HKEY_CURRENT_USER and the documents folder for the run.
class ScratchHive : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, ScratchHiveKey(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &m_hive, nullptr));
        Documents().Format(L"%s\\docs_%lu", WorkingFolder().GetString(), GetCurrentProcessId());
        RemoveTree(Documents());
        ASSERT_TRUE(CreateDirectoryW(Documents(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CURRENT_USER, m_hive));
        SetRegString(kShellFolders, L"Personal", Documents());
        // The suite's document folder, where its INI files live.
        CString suite = SuiteDocumentFolder();
        CreateDirectoryW(suite.Left(suite.ReverseFind(L'\\')), nullptr);
        CreateDirectoryW(suite, nullptr);
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
        RemoveTree(Documents());
    }

private:
    HKEY m_hive = nullptr;
};

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new ScratchHive);

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

CString DocumentsFolder() { return Documents(); }

CString SuiteDocumentFolder()
{
    tkxApplicationInfo info;
    return info.GetUserDocumentPath();
}

CString BinFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind(L'\\'));
}

ScratchFolder::ScratchFolder(const wchar_t* name)
{
    m_path.Format(L"%s\\%s_%lu", WorkingFolder().GetString(), name, GetCurrentProcessId());
    RemoveTree(m_path);
    CreateDirectoryW(m_path, nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_path); }

void RemoveTree(const CString& path)
{
    DWORD attributes = GetFileAttributesW(path);
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
            CString name(found.cFileName);
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
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

bool Exists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const wchar_t* text) { return ClWideToMultiByte(text, -1, CP_UTF8); }

void SetRegString(const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    HKEY handle = CreateKeyPath(key);
    ASSERT_TRUE(handle != nullptr);
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
}

void SetRegDword(const wchar_t* key, const wchar_t* name, DWORD value)
{
    HKEY handle = CreateKeyPath(key);
    ASSERT_TRUE(handle != nullptr);
    RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(handle);
}

void DeleteRegTree(const wchar_t* key) { RegDeleteTreeW(HKEY_CURRENT_USER, key); }

bool RegValueExists(const wchar_t* key, const wchar_t* name)
{
    return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

CString GetRegString(const wchar_t* key, const wchar_t* name)
{
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return CString(buffer);
}

DWORD GetRegDword(const wchar_t* key, const wchar_t* name)
{
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

Bytes& Bytes::Str(const wchar_t* text)
{
    size_t length = wcslen(text);
    m_bytes += "\xFF\xFE\xFF";
    m_bytes += static_cast<char>(length);
    for (size_t i = 0; i < length; ++i) {
        m_bytes += static_cast<char>(text[i] & 0xFF);
        m_bytes += static_cast<char>((text[i] >> 8) & 0xFF);
    }
    return *this;
}

Bytes& Bytes::Hex(const char* hex)
{
    for (const char* p = hex; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        m_bytes += static_cast<char>(HexValue(p[0]) * 16 + HexValue(p[1]));
        p += 2;
    }
    return *this;
}

std::string ToHex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string WideBuffer(const wchar_t* text, size_t bytes)
{
    std::string out(bytes, '\0');
    for (size_t i = 0; text[i] && 2 * i + 1 < bytes; ++i) {
        out[2 * i] = static_cast<char>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>((text[i] >> 8) & 0xFF);
    }
    return out;
}

CadHost::CadHost(const wchar_t* options, const wchar_t* logName)
{
    m_log = ClFormat(L"%s\\%s_%lu.log", WorkingFolder().GetString(), logName, GetCurrentProcessId());
    DeleteFileW(m_log);
    CString command = ClFormat(L"\"%s\\acad.exe\" 60 --log \"%s\" %s", BinFolder().GetString(), m_log.GetString(),
                               options);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring line = command.str();
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_pid = info.dwProcessId;
    for (int i = 0; i < 200 && !m_ready; ++i) {
        if (ReadBytes(m_log).find("READY") != std::string::npos) m_ready = true;
        else Sleep(50);
    }
}

CadHost::~CadHost()
{
    if (m_process) {
        TerminateProcess(m_process, 0);
        WaitForSingleObject(m_process, 5000);
        CloseHandle(m_process);
    }
    DeleteFileW(m_log);
}

std::vector<std::string> CadHost::Records() const
{
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(m_log));
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("READY", 0) != 0 && !line.empty()) lines.push_back(line);
    return lines;
}

} // namespace store_test
