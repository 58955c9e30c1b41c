// The first start in an empty hive: every setting at its first-start value,
// the file associations written with quoted open commands, the window where
// the defaults put it; then the exit sequence writes the window's place and
// the bars' visibility.
#include "brisko/support/BriskoWorld.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileTypes.h"
#include "brisko/shell/MainFrm.h"
#include "support/WindowTest.h"

using namespace brisko_test;

namespace {

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new BriskoWorld(L"brisko_firstrun"));

CString ProgramPath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

DWORD RegType(HKEY root, const CString& key, const wchar_t* name)
{
    DWORD type = 0;
    HKEY handle;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return 0;
    RegQueryValueExW(handle, name, nullptr, &type, nullptr, nullptr);
    RegCloseKey(handle);
    return type;
}

} // namespace

TEST(FirstStart, EverySettingHasItsFirstStartValue)
{
    ASSERT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSettingsKey));
    StartProgram();
    EXPECT_EQ(4, theApp.m_nTabWidth);
    EXPECT_EQ(30, theApp.m_nMarginWidth);
    EXPECT_EQ(5, theApp.m_nLinePitch);
    EXPECT_EQ(1, theApp.m_bShowGrid);
    EXPECT_EQ(1, theApp.m_bAutoIndent);
    EXPECT_EQ(1, theApp.m_bShowToolTip);
    EXPECT_EQ(10, theApp.m_nDurationTime);
    EXPECT_EQ(1, theApp.m_bAutoComment);
    EXPECT_EQ(1, theApp.m_bAutoReload);
    EXPECT_EQ(0, theApp.m_bTopMost);
    const COLORREF colors[12] = {GetSysColor(COLOR_WINDOW), 0x0000FF, 0xF0F0F0, 0x008000, 0xFF0000, 0xFF8000,
                                 0xFF8000, 0x000000, 0xFFFFFF, GetSysColor(COLOR_BTNFACE), 0x0000FF, 0xC08000};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(colors[i], theApp.m_Colors[i]) << "Color" << i;

    // The window at the default rectangle, not topmost, both bars shown.
    CMainFrame* frame = theApp.MainFrame();
    CRect window;
    frame->GetWindowRect(&window);
    EXPECT_EQ(CRect(0, 0, 500, 500), window);
    EXPECT_FALSE(frame->GetExStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(frame->m_wndProjectBar.IsWindowVisible());
    EXPECT_TRUE(frame->m_wndRoadInfoBar.IsWindowVisible());

    // No project: empty names in the start lines, nothing loaded.
    std::vector<CString> lines = InfoLines();
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(CString(L"当前项目: ; 当前道路: "), lines[1]);
    EXPECT_EQ(CString(L"当前模板库: "), lines[2]);
    EXPECT_EQ(0, CurRoadProfile.GetBPDCount());
    EXPECT_EQ(1, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_TRUE(theApp.m_SWorkingDirectory.IsEmpty());
}

TEST(FirstStart, TheAssociationsAreWrittenWithQuotedCommands)
{
    StartProgram();
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"IconReg"));
    const CString program = ProgramPath();
    const CString command = L"\"" + program + L"\" \"%1\"";
    for (const FileAssociation& entry : kFileAssociations) {
        SCOPED_TRACE(Utf8(entry.extension));
        const CString type = entry.typeId;
        EXPECT_EQ(type, GetRegString(HKEY_CLASSES_ROOT, entry.extension, nullptr));
        EXPECT_EQ(CString(entry.description), GetRegString(HKEY_CLASSES_ROOT, type, nullptr));
        EXPECT_EQ(ClFormat(L"%s,-%d", program.GetString(), entry.icon),
                  GetRegString(HKEY_CLASSES_ROOT, type + L"\\DefaultIcon", nullptr));
        // The icon is one the program file carries.
        EXPECT_NE(nullptr, FindResourceW(nullptr, MAKEINTRESOURCEW(entry.icon), RT_GROUP_ICON));
        const CString commandKey = type + L"\\Shell\\Open\\Command";
        if (CString(entry.extension) == L".EPM") {
            EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, type + L"\\Shell"));
            continue;
        }
        EXPECT_EQ(command, GetRegString(HKEY_CLASSES_ROOT, commandKey, nullptr));
        EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), RegType(HKEY_CLASSES_ROOT, commandKey, nullptr));
    }
}

// Runs last: the program ends as its message loop would end it.
TEST(FirstStart, ExitKeepsTheWindowsPlaceAndTheBars)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    frame->SetWindowPos(nullptr, 30, 40, 700, 520, SWP_NOZORDER);
    frame->ShowControlBar(&frame->m_wndProjectBar, FALSE, FALSE);
    frame->SendMessage(WM_COMMAND, ID_VIEW_PROJECTBAR); // shown again: flag 1
    frame->SendMessage(WM_COMMAND, ID_VIEW_INFOBAR);    // hidden: flag 0
    theApp.m_pMainWnd->DestroyWindow();
    theApp.m_pMainWnd = nullptr;
    theApp.Shutdown();

    EXPECT_EQ(30u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MainWndLEFT"));
    EXPECT_EQ(40u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MainWndTOP"));
    EXPECT_EQ(730u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MainWndRIGHT"));
    EXPECT_EQ(560u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MainWndBOTTOM"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MainWnd_SHOWPROJECT"));
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MainWnd_SHOWHDMWND"));
    EXPECT_EQ(nullptr, theApp.m_hResourceDll);
}
