// A second start of the program hands its file to the running one: the
// real Brisko.exe is started while this test holds the program's mutex and a
// stand-in window carries the program's window property; the stand-in
// records what it receives byte for byte.
#include "shell_world.h"
#include "support/StandinReady.h"
#include <string>

using namespace shell_test;

namespace {

const DWORD kBoundMs = 60000;

struct CopyRecord {
    unsigned long word = 0;
    unsigned long bytes = 0;
    std::string data;
};

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// The stand-in's "COPYDATA <word> <byte count> <hex bytes>" records.
std::vector<CopyRecord> CopyRecords(const CString& log)
{
    std::vector<CopyRecord> records;
    const std::string text = ReadBytes(log);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, 9, "COPYDATA ") != 0) continue;
        CopyRecord record;
        size_t a = line.find(' ', 9), b = line.find(' ', a + 1);
        record.word = std::stoul(line.substr(9, a - 9));
        record.bytes = std::stoul(line.substr(a + 1, b - a - 1));
        if (b != std::string::npos) record.data = FromHex(line.substr(b + 1));
        records.push_back(record);
    }
    return records;
}

std::string HandOverBytes(const wchar_t* path)
{
    std::string bytes(reinterpret_cast<const char*>(path), wcslen(path) * sizeof(wchar_t));
    bytes.resize(1024, '\0');
    return bytes;
}

// The message boxes of a process, each read and closed with OK.
struct BoxCloser {
    DWORD process;
    std::vector<HWND>* seen;
    std::vector<CString>* texts;
};

BOOL CALLBACK CloseBoxes(HWND window, LPARAM param)
{
    auto* closer = reinterpret_cast<BoxCloser*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (process != closer->process || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    for (HWND seen : *closer->seen)
        if (seen == window) return TRUE;
    closer->seen->push_back(window);
    wchar_t text[2048] = {};
    GetDlgItemTextW(window, 0xFFFF, text, 2048);
    closer->texts->push_back(text);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Runs Brisko.exe with the arguments until it ends; its message boxes are
// read and closed on the way.
struct SecondStart {
    bool ended = false;
    DWORD exitCode = 0;
    std::vector<CString> boxes;
};

SecondStart StartSecondInstance(const CString& args)
{
    SecondStart result;
    CString command = ClFormat(L"\"%s\\Brisko.exe\" %s", BinFolder().GetString(), args.GetString());
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        command.ReleaseBuffer();
        ADD_FAILURE() << "Brisko.exe did not start";
        return result;
    }
    command.ReleaseBuffer();
    std::vector<HWND> seen;
    BoxCloser closer{pi.dwProcessId, &seen, &result.boxes};
    const double deadline = Seconds() + kBoundMs / 1000.0;
    while (Seconds() < deadline) {
        if (WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
            result.ended = true;
            break;
        }
        EnumWindows(CloseBoxes, reinterpret_cast<LPARAM>(&closer));
    }
    if (!result.ended) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

// The running instance: this test holds the mutex, the stand-in carries
// the window property.
class HandOverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mutex = CreateMutexW(nullptr, TRUE, L"Brisko");
        ASSERT_NE(ERROR_ALREADY_EXISTS, GetLastError());
        log = ScratchRoot() + L"\\handover.log";
        DeleteFileW(log);
        StandinReady ready(log);
        CString command = ClFormat(L"\"%s\\briskownd.exe\" --prop Brisko --seconds 120 --log \"%s\"",
                                   BinFolder().GetString(), log.GetString());
        STARTUPINFOW si = {sizeof(si)};
        ASSERT_TRUE(CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                   &standIn));
        command.ReleaseBuffer();
        ASSERT_TRUE(ready.Wait(standIn.hProcess));
    }
    void TearDown() override
    {
        if (standIn.hProcess) {
            TerminateProcess(standIn.hProcess, 0);
            WaitForSingleObject(standIn.hProcess, 10000);
            CloseHandle(standIn.hProcess);
            CloseHandle(standIn.hThread);
        }
        if (mutex) CloseHandle(mutex);
        DeleteFileW(log);
    }
    HANDLE mutex = nullptr;
    CString log;
    PROCESS_INFORMATION standIn = {};
};

} // namespace

TEST_F(HandOverTest, TheFileGoesToTheRunningInstance)
{
    const struct {
        CString argument;     // as the command line carries it
        const wchar_t* path;  // as it must arrive
    } cases[] = {
        {L"\"C:\\道路 数据\\主线 K0.DL\"", L"C:\\道路 数据\\主线 K0.DL"},
        {L"C:\\道路?数据\\匝道?A.SQX", L"C:\\道路 数据\\匝道 A.SQX"}, // blanks travel as "?"
        {L"D:\\项目\\演示项目.EPJ", L"D:\\项目\\演示项目.EPJ"},
    };
    size_t count = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        SecondStart start = StartSecondInstance(c.argument);
        ASSERT_TRUE(start.ended);
        EXPECT_TRUE(start.boxes.empty()) << Utf8(start.boxes.empty() ? L"" : start.boxes[0]);
        std::vector<CopyRecord> records = CopyRecords(log);
        ASSERT_EQ(++count, records.size());
        EXPECT_EQ(0u, records.back().word);
        EXPECT_EQ(1024u, records.back().bytes);
        EXPECT_EQ(HandOverBytes(c.path), records.back().data);
    }
}

TEST_F(HandOverTest, ARelativePathArrivesAsTheFullPathItNames)
{
    // The running instance works in a folder of its own: the path is made
    // full in the folder of the second start.
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, folder));
    CString expected = folder;
    if (expected.Right(1) != L"\\") expected += L"\\";
    expected += L"道路 数据\\主线.DL";
    SecondStart start = StartSecondInstance(L"\"道路 数据\\主线.DL\"");
    ASSERT_TRUE(start.ended);
    EXPECT_TRUE(start.boxes.empty());
    std::vector<CopyRecord> records = CopyRecords(log);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(HandOverBytes(expected), records.back().data) << Utf8(expected);
}

TEST_F(HandOverTest, WithoutAFileNothingIsSent)
{
    SecondStart start = StartSecondInstance(L"");
    ASSERT_TRUE(start.ended);
    EXPECT_TRUE(start.boxes.empty());
    EXPECT_TRUE(CopyRecords(log).empty());
}

TEST_F(HandOverTest, APathTooLongForTheHandOverIsRefused)
{
    CString path = L"C:\\";
    while (path.GetLength() < 600) path += L"很长的文件夹名称\\";
    path += L"数据.DL";
    SecondStart start = StartSecondInstance(L"\"" + path + L"\"");
    ASSERT_TRUE(start.ended);
    ASSERT_EQ(1u, start.boxes.size());
    EXPECT_EQ(0, start.boxes[0].Find(L"文件路径超过511个字符, 无法在已运行的TAVIX项目数据环境中打开:"));
    EXPECT_TRUE(CopyRecords(log).empty());

    // 511 characters still fit.
    CString fits = path.Left(507) + L".DL";
    ASSERT_EQ(510, fits.GetLength());
    fits += L"X";
    start = StartSecondInstance(L"\"" + fits + L"\"");
    EXPECT_TRUE(start.boxes.empty());
    ASSERT_EQ(1u, CopyRecords(log).size());
    EXPECT_EQ(HandOverBytes(fits), CopyRecords(log)[0].data);
}

TEST(HandOver, WithoutTheRunningWindowTheSecondStartSaysSo)
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Brisko");
    SecondStart start = StartSecondInstance(L"C:\\a.DL");
    CloseHandle(mutex);
    ASSERT_TRUE(start.ended);
    ASSERT_EQ(1u, start.boxes.size());
    EXPECT_EQ(CString(L"程序已经运行，但找不到其主窗口, 请重试!"), start.boxes[0]);
}
