#include "interface_test_support.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/TavixInterface.h"
#include <cstdio>

namespace interface_test {

const wchar_t kPrjKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\PrjInfo";
const wchar_t kTBKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo";

namespace {


CString& Install()
{
    static CString folder;
    return folder;
}

// The scratch hive, with a scratch installation folder (holding an empty
// Bin folder) and the suite's folder in the user's documents (an
// installation makes it), all made before the library starts.
class InterfaceWorld : public ScratchHive
{
public:
    InterfaceWorld() : ScratchHive(L"interface") {}

protected:
    void Prepare() override
    {
        MakeScratchInstallation(Install());
        CString suiteDocuments = tkxApplicationInfo().GetUserDocumentPath();
        ASSERT_FALSE(suiteDocuments.IsEmpty());
        CreateDirectoryW(suiteDocuments.Left(suiteDocuments.ReverseFind(L'\\')), nullptr);
        ASSERT_TRUE(CreateDirectoryW(suiteDocuments, nullptr)) << Utf8(suiteDocuments);
    }
    void CleanUp() override { RemoveTree(Install()); }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new InterfaceWorld);

} // namespace

CString InstallFolder() { return Install(); }

std::string Utf16Bytes(const wchar_t* text)
{
    return std::string(reinterpret_cast<const char*>(text), wcslen(text) * sizeof(wchar_t));
}

std::string Padded(std::string bytes, size_t size)
{
    bytes.resize(size, '\0');
    return bytes;
}


// ---------------------------------------------------------------------------
// Library state

void ResetLibraryState()
{
    CTavixDevApp& app = TavixDevApp();
    app.m_SPrjNames.RemoveAll();
    app.m_SPrjPaths.RemoveAll();
    app.m_STBNames.RemoveAll();
    app.m_STBPaths.RemoveAll();
    app.m_iCurPrj = -1;
    app.m_iCurTB = -1;
    app.m_CurProject.Reset();
    app.m_CurProject.m_Roads.RemoveAll();
    app.m_CurProject.m_PrjSegments.RemoveAll();
    app.m_CurTBase.Reset();
    app.m_CurTBase.m_STemplates.RemoveAll();
    DeleteRegTree(HKEY_CURRENT_USER, kPrjKey);
    DeleteRegTree(HKEY_CURRENT_USER, kTBKey);
    DeleteFileW(app.AppInfo().GetIniFileName(L"Tavix3.ini"));
}

tkxProject MakeProject(const CString& parent, const wchar_t* name, std::vector<const wchar_t*> roads)
{
    tkxProject project;
    project.m_SName = name;
    project.m_SPath = parent + L"\\" + name;
    CreateDirectoryW(project.m_SPath, nullptr);
    for (const wchar_t* road : roads) {
        Tavix4::sRoadInfo info;
        info.m_SRoadName = road;
        project.m_Roads.Add(info);
    }
    project.m_iCurRoad = roads.empty() ? -1 : 0;
    EXPECT_EQ(1, project.Save()) << Utf8(project.m_SPath);
    return project;
}

// ---------------------------------------------------------------------------
// Records

namespace {

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// Kinds whose records start with numbers: how many.
size_t NumberCount(const std::string& kind)
{
    if (kind == "COPYDATA" || kind == "STATUSBAR" || kind == "SHEETSET") return 2;
    if (kind == "READY") return 1;
    return 0;
}

} // namespace

std::vector<Record> ReadRecords(const CString& file, size_t from)
{
    std::vector<Record> records;
    std::string text = ReadBytes(file);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) break;   // a line still being written
        std::string line = text.substr(start, end - start);
        start = end + 1;
        std::vector<std::string> tokens;
        size_t p = 0;
        while (p <= line.size()) {
            size_t q = line.find(' ', p);
            if (q == std::string::npos) q = line.size();
            tokens.push_back(line.substr(p, q - p));
            p = q + 1;
        }
        Record record;
        record.kind = tokens[0];
        size_t numbers = NumberCount(record.kind);
        for (size_t i = 1; i <= numbers && i < tokens.size(); ++i) record.numbers.push_back(std::stoul(tokens[i]));
        if (tokens.size() > numbers + 1) record.bytes = FromHex(tokens[numbers + 1]);
        records.push_back(record);
    }
    if (from >= records.size()) return {};
    return std::vector<Record>(records.begin() + static_cast<std::ptrdiff_t>(from), records.end());
}

std::vector<Record> RecordsOf(const std::vector<Record>& records, const char* kind)
{
    std::vector<Record> found;
    for (const Record& r : records)
        if (r.kind == kind) found.push_back(r);
    return found;
}

namespace {

// The job every stand-in runs in: closed, as it is when the test program
// ends however it ends, it ends them too.
HANDLE StandInJob()
{
    static const HANDLE job = [] {
        HANDLE made = CreateJobObjectW(nullptr, nullptr);
        if (made) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
        }
        return made;
    }();
    return job;
}

} // namespace

StandIn::StandIn(const wchar_t* program, const wchar_t* args, const CString& log) : m_log(log)
{
    DeleteFileW(log);
    StandinReady ready(log);
    CString exe = CString(program).Find(L'\\') >= 0 ? CString(program) : BinFolder() + L"\\" + program + L".exe";
    CString command = ClFormat(L"\"%s\" %s --log \"%s\"", exe.GetString(), args, log.GetString());
    STARTUPINFOW si = {sizeof(si)};
    if (!CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si,
                        &m_info)) {
        command.ReleaseBuffer();
        return;
    }
    command.ReleaseBuffer();
    if (StandInJob()) AssignProcessToJobObject(StandInJob(), m_info.hProcess);
    ResumeThread(m_info.hThread);
    m_ready = ready.Wait(m_info.hProcess);
}

StandIn::~StandIn()
{
    if (!m_info.hProcess) return;
    TerminateProcess(m_info.hProcess, 0);
    WaitForSingleObject(m_info.hProcess, 10000);
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
    DeleteFileW(m_log);
}

bool StandIn::Ended(DWORD ms) const
{
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, ms) == WAIT_OBJECT_0;
}

void EndRecordedProcess(const CString& log, const CString& image)
{
    for (const Record& ready : RecordsOf(ReadRecords(log), "READY")) {
        if (ready.numbers.empty()) continue;
        HANDLE process = OpenStandinProcess(ready.numbers[0], image, PROCESS_TERMINATE | SYNCHRONIZE);
        if (!process) continue;
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

InstalledProgram::InstalledProgram(const wchar_t* standIn, const wchar_t* programName)
{
    m_path = InstallFolder() + L"\\Bin\\" + programName;
    DeleteFileW(Log());
    m_ready.reset(new StandinReady(Log()));
    EXPECT_TRUE(CopyFileW(BinFolder() + L"\\" + standIn + L".exe", m_path, FALSE)) << Utf8(m_path);
}

InstalledProgram::~InstalledProgram()
{
    EndRecordedProcess(Log(), m_path);
    DeleteFileW(m_path);
    DeleteFileW(Log());
}

} // namespace interface_test
