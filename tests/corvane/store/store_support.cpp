#include "store_support.h"
#include "support/StandinReady.h"
#include "corvane/platform/ApplicationInfo.h"
#include <fstream>
#include <sstream>

namespace store_test {

namespace {

// The scratch hive, with the suite's document folder (where its INI files
// live) made in it.
class StoreHive : public ScratchHive
{
public:
    StoreHive() : ScratchHive(L"store") {}

protected:
    void Prepare() override
    {
        CString suite = SuiteDocumentFolder();
        CreateDirectoryW(suite.Left(suite.ReverseFind(L'\\')), nullptr);
        CreateDirectoryW(suite, nullptr);
    }
};

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new StoreHive);

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

CString DocumentsFolder() { return ScratchHive::DocumentsFolder(); }

CString SuiteDocumentFolder()
{
    tkxApplicationInfo info;
    return info.GetUserDocumentPath();
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
    m_log = ClFormat(L"%s\\%s_%lu.log", ScratchRoot().GetString(), logName, GetCurrentProcessId());
    DeleteFileW(m_log);
    StandinReady ready(m_log);
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
    m_ready = ready.Wait(m_process);
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
