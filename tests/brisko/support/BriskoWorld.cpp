#include "BriskoWorld.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "support/WindowTest.h"

namespace brisko_test {

const wchar_t kSettingsKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\Settings";

namespace {

const wchar_t kSuiteKey[] = L"SOFTWARE\\TavixSuite\\TAVIX 3";
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

    Install() = ClFormat(L"%s\\install_%lu", WorkingFolder().GetString(), GetCurrentProcessId());
    RemoveTree(Install());
    ASSERT_TRUE(CreateDirectoryW(Install(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Install() + L"\\Bin", nullptr));
    SetRegString(HKEY_CURRENT_USER, kSuiteKey, L"PathName", Install() + L"\\");
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

} // namespace brisko_test
