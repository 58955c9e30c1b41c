#include "BriskoWorld.h"
#include "corvane/project/TavixInterface.h"
#include "brisko/convert/ToolDialog.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "support/WindowTest.h"

namespace brisko_test {

const wchar_t kSettingsKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\Settings";

namespace {

const wchar_t kClassesKey[] = L"Software\\ScratchClasses";

CString& Install()
{
    static CString folder;
    return folder;
}

} // namespace

CString BriskoWorld::InstallFolder() { return Install(); }

void BriskoWorld::Prepare()
{
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kClassesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &m_classes, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes));

    MakeScratchInstallation(Install());
    CString suiteDocuments = tkxApplicationInfo().GetUserDocumentPath();
    ASSERT_FALSE(suiteDocuments.IsEmpty());
    CreateDirectoryW(suiteDocuments.Left(suiteDocuments.ReverseFind(L'\\')), nullptr);
    CreateDirectoryW(suiteDocuments, nullptr);
    ASSERT_TRUE(CopyFileW(BinFolder() + L"\\TvComment.ini", suiteDocuments + L"\\TvComment.ini", FALSE));
    Seed();
}

void BriskoWorld::CleanUp()
{
    if (theApp.IsStarted() && theApp.m_pMainWnd) theApp.m_pMainWnd->DestroyWindow();
    theApp.Shutdown();
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(m_classes);
    RemoveTree(Install());
}

void BriskoWorld::SeedSettings(std::initializer_list<Setting> settings)
{
    for (const Setting& s : settings) SetRegDword(HKEY_CURRENT_USER, kSettingsKey, s.name, s.value);
}

namespace {

CString ProjectsFolder()
{
    return ClFormat(L"%s\\projects_%lu", ScratchRoot().GetString(), GetCurrentProcessId());
}

} // namespace

CString BriskoWorld::MakeProjectFolder(const wchar_t* name)
{
    const CString parent = ProjectsFolder();
    RemoveTree(parent);
    EXPECT_TRUE(CreateDirectoryW(parent, nullptr));
    const CString folder = parent + L"\\" + name;
    EXPECT_TRUE(CreateDirectoryW(folder, nullptr));
    return folder;
}

void BriskoWorld::RemoveProjects() { RemoveTree(ProjectsFolder()); }

CString BriskoWorld::RegisterProject(const wchar_t* name, const wchar_t* road)
{
    const CString folder = MakeProjectFolder(name);
    EXPECT_TRUE(CreateDirectoryW(folder + L"\\" + road, nullptr));
    tkxProject project;
    project.m_SName = name;
    project.m_SPath = folder;
    Tavix4::sRoadInfo info;
    info.m_SRoadName = road;
    project.m_Roads.Add(info);
    project.m_iCurRoad = 0;
    EXPECT_EQ(1, tkx_AddProject(&project, nullptr));
    return folder;
}

namespace {

CString g_projectFolder, g_roadFolder;

} // namespace

CString OneRoadWorld::ProjectFolder() { return g_projectFolder; }

CString OneRoadWorld::RoadFolder() { return g_roadFolder; }

void OneRoadWorld::Seed()
{
    SeedSettings({{L"MainWndLEFT", 0}, {L"MainWndTOP", 0}, {L"MainWndRIGHT", 1000}, {L"MainWndBOTTOM", 700}});
    g_projectFolder = RegisterProject(m_project, m_road);
    g_roadFolder = g_projectFolder + L"\\" + m_road;
}

void OneRoadWorld::CleanUp()
{
    BriskoWorld::CleanUp();
    RemoveProjects();
}

void StartProgram()
{
    ASSERT_TRUE(theApp.EnsureStarted());
    ASSERT_NE(nullptr, theApp.MainFrame());
    wintest::PumpUntilIdle();
}

std::vector<CString> InfoLines()
{
    std::vector<CString> lines;
    CMainFrame* frame = theApp.MainFrame();
    if (!frame) return lines;
    auto* page = static_cast<CPPage_InfoBar*>(frame->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar)));
    if (!page) return lines;
    for (INT_PTR i = 0; i < page->Messages().GetSize(); ++i) lines.push_back(page->Messages()[i]);
    return lines;
}

std::string Fixture(const char* name)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
    EXPECT_NE(nullptr, found) << "no fixture " << name;
    if (!found) return std::string();
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    return std::string(data, ::SizeofResource(module, found));
}

bool IsOpen(const CString& path)
{
    for (POSITION pos = theApp.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documents = theApp.GetNextDocTemplate(pos);
        for (POSITION doc = documents->GetFirstDocPosition(); doc;)
            if (documents->GetNextDoc(doc)->GetPathName().CompareNoCase(path) == 0) return true;
    }
    return false;
}

bool PumpUntil(const std::function<bool()>& done, int maxMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > static_cast<DWORD>(maxMs)) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        wintest::PumpUntilIdle(200);
    }
    return true;
}

bool ChangeFromOtherProgram(const CString& path, const wchar_t* line)
{
    CString command;
    command.Format(L"\"%s\\appendline.exe\" \"%s\" \"%s\"", BinFolder().GetString(), path.GetString(), line);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = command.str();
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return false;
    const bool ended = ::WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return ended && code == 0;
}

void FixToolClock()
{
    SYSTEMTIME clock = {};
    clock.wYear = 2024;
    clock.wMonth = 5;
    clock.wDay = 6;
    clock.wHour = 7;
    clock.wMinute = 8;
    clock.wSecond = 9;
    SetToolClock(&clock);
}

void ReleaseToolClock() { SetToolClock(nullptr); }

} // namespace brisko_test
