// The frame's and the application's commands of this part of the program,
// and the settings' registry access with its failures.
#include "shell_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileTypes.h"
#include "brisko/shell/IconMenu.h"
#include "brisko/shell/MainFrm.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

using namespace shell_test;

namespace {

class CommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        frame = theApp.MainFrame();
    }
    void Command(UINT id)
    {
        frame->SendMessage(WM_COMMAND, id);
        wintest::PumpUntilIdle();
    }
    // The state of a menu item after its menu was opened.
    UINT MenuState(UINT id)
    {
        HMENU bar = ::GetMenu(*frame);
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            HMENU popup = GetSubMenu(bar, i);
            if (GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
            frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
            return GetMenuState(popup, id, MF_BYCOMMAND);
        }
        return static_cast<UINT>(-1);
    }
    CMainFrame* frame = nullptr;
};

// HKEY_CLASSES_ROOT stands for a volatile key while the object lives: the
// lasting keys of the associations cannot be made under it.
class ClassesOutOfReach
{
public:
    ClassesOutOfReach()
    {
        HKEY volatileKey = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VolatileClasses", 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, volatileKey);
        RegCloseKey(volatileKey);
    }
    ~ClassesOutOfReach()
    {
        HKEY writable = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ScratchClasses", 0, KEY_ALL_ACCESS, &writable);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, writable);
        RegCloseKey(writable);
        DeleteRegTree(HKEY_CURRENT_USER, L"Software\\VolatileClasses");
    }
};

} // namespace

// (The window manager-less display does not keep the topmost style, so the
// window itself is not looked at.)
TEST_F(CommandsTest, TopMostIsToggledAndStoredAtOnce)
{
    Command(ID_VIEW_TOPMOST);
    EXPECT_EQ(1, theApp.m_bTopMost);
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"TOPMOST"));
    EXPECT_TRUE(MenuState(ID_VIEW_TOPMOST) & MF_CHECKED);
    Command(ID_VIEW_TOPMOST);
    EXPECT_EQ(0, theApp.m_bTopMost);
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"TOPMOST"));
    EXPECT_FALSE(MenuState(ID_VIEW_TOPMOST) & MF_CHECKED);
}

TEST_F(CommandsTest, TheBarsAreShownAndHidden)
{
    const struct {
        UINT command;
        CMyTabCtrlBar* bar;
        BOOL* flag;
    } cases[] = {
        {ID_VIEW_PROJECTBAR, &frame->m_wndProjectBar, &theApp.m_bShowProjectBar},
        {ID_VIEW_INFOBAR, &frame->m_wndRoadInfoBar, &theApp.m_bShowRoadInfoBar},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(c.bar->IsWindowVisible());
        Command(c.command);
        EXPECT_FALSE(c.bar->IsWindowVisible());
        EXPECT_EQ(0, *c.flag);
        EXPECT_FALSE(MenuState(c.command) & MF_CHECKED);
        Command(c.command);
        EXPECT_TRUE(c.bar->IsWindowVisible());
        EXPECT_EQ(1, *c.flag);
        EXPECT_TRUE(MenuState(c.command) & MF_CHECKED);
    }
}

TEST_F(CommandsTest, TheInformationWindowStaysOpenForACrossSectionFile)
{
    const CString hdx = ProjectFolder() + L"\\" + kMainRoad + L"\\" + kMainRoad + L".HDX";
    WriteText(hdx, L"0\n");
    ASSERT_NE(nullptr, OpenTestDocument(hdx));
    wintest::PumpUntilIdle();
    for (int i = 0; i < 2; ++i) {
        Command(ID_VIEW_INFOBAR);
        EXPECT_TRUE(frame->m_wndRoadInfoBar.IsWindowVisible());
        EXPECT_EQ(1, theApp.m_bShowRoadInfoBar);
    }
    theApp.CloseAllDocuments(TRUE);
    DeleteFileW(hdx);
}

TEST_F(CommandsTest, TabsWithoutTheirPanesCannotBeChosen)
{
    // Every pane of the project manager is there: each tab command chooses
    // its own tab.
    Command(ID_VIEW_TAB_FILES);
    ASSERT_EQ(1, frame->m_wndProjectBar.GetActiveIndex());
    EXPECT_TRUE(MenuState(ID_VIEW_TAB_FILES) & MF_CHECKED);
    Command(ID_VIEW_TAB_TEMPLATES);
    EXPECT_EQ(2, frame->m_wndProjectBar.GetActiveIndex());
    EXPECT_TRUE(MenuState(ID_VIEW_TAB_TEMPLATES) & MF_CHECKED);
    Command(ID_VIEW_TAB_REFERENCES);
    EXPECT_EQ(3, frame->m_wndProjectBar.GetActiveIndex());
    EXPECT_TRUE(MenuState(ID_VIEW_TAB_REFERENCES) & MF_CHECKED);
    EXPECT_FALSE(MenuState(ID_VIEW_TAB_FILES) & MF_CHECKED);
    Command(ID_VIEW_TAB_PROJECT);
    EXPECT_EQ(0, frame->m_wndProjectBar.GetActiveIndex());
}

TEST_F(CommandsTest, PageLinesAreToggledAndStored)
{
    const BOOL before = theApp.m_bShowGrid;
    Command(ID_VIEW_SHOWGRID);
    EXPECT_EQ(before ? 0 : 1, theApp.m_bShowGrid);
    EXPECT_EQ(static_cast<DWORD>(theApp.m_bShowGrid), GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"ShowGrid"));
    EXPECT_EQ(theApp.m_bShowGrid != 0, (MenuState(ID_VIEW_SHOWGRID) & MF_CHECKED) != 0);
    Command(ID_VIEW_SHOWGRID);
    EXPECT_EQ(before, theApp.m_bShowGrid);
}

TEST_F(CommandsTest, ResettingTheAssociationsReportsTheOutcome)
{
    MessageBoxScript boxes;
    SetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"IconReg", 0);
    {
        ClassesOutOfReach denied;
        Command(ID_APP_REGISTER_FILES);
    }
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"重设文件的图标和打开方式失败!"), boxes.LastText());
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"IconReg"));

    Command(ID_APP_REGISTER_FILES);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"重设文件的图标和打开方式成功!"), boxes.LastText());
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"IconReg"));
    EXPECT_EQ(CString(L"SQXFile"), GetRegString(HKEY_CLASSES_ROOT, L".SQX", nullptr));
    for (const FileAssociation& entry : kFileAssociations) DeleteRegTree(HKEY_CLASSES_ROOT, entry.extension);
}

TEST_F(CommandsTest, ExitWaitsWhileItIsDisabled)
{
    theApp.m_bExitEnabled = FALSE;
    Command(ID_APP_EXIT);
    EXPECT_TRUE(frame->IsWindow());
    EXPECT_EQ(frame, theApp.MainFrame());
    theApp.m_bExitEnabled = TRUE;
}

// ---------------------------------------------------------------------------
// Settings

TEST(Settings, ValuesGoToTheSectionsKey)
{
    StartProgram();
    EXPECT_TRUE(theApp.SetSettingInt(L"测试节", L"数", 17));
    EXPECT_TRUE(theApp.SetSettingString(L"测试节", L"文字", L"路 径"));
    EXPECT_EQ(17u, GetRegDword(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\Brisko\\测试节", L"数"));
    EXPECT_EQ(17u, theApp.GetSettingInt(L"测试节", L"数", 3));
    EXPECT_EQ(CString(L"路 径"), theApp.GetSettingString(L"测试节", L"文字", L""));
    // Missing keys and values give the defaults.
    EXPECT_EQ(3u, theApp.GetSettingInt(L"测试节", L"没有", 3));
    EXPECT_EQ(3u, theApp.GetSettingInt(L"没有的节", L"数", 3));
    EXPECT_EQ(CString(L"缺省"), theApp.GetSettingString(L"没有的节", L"文字", L"缺省"));
    DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\Brisko\\测试节");
}

TEST(Settings, AFailedWriteIsReportedAndNoSuccess)
{
    StartProgram();
    MessageBoxScript boxes;
    // A value name beyond the registry's limit cannot be written.
    const CString name(L'N', 20000);
    EXPECT_FALSE(theApp.SetSettingInt(L"Settings", name, 1));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.LastText().Find(L"写注册表项目数据失败!\n\nSOFTWARE\\TavixSuite\\Brisko\\Settings, NNN"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Shown()[0].type);
    EXPECT_FALSE(theApp.SetSettingString(L"Settings", name, L"x"));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"写注册表项目失败!SOFTWARE\\TavixSuite\\Brisko\\Settings"), boxes.LastText());
}

TEST(Settings, SavingWritesTheEditorSettingsUnderTheirOwnNames)
{
    StartProgram();
    const short pitch = theApp.m_nLinePitch;
    const BOOL tip = theApp.m_bShowToolTip;
    theApp.m_nLinePitch = 12;
    theApp.m_bShowToolTip = 1;
    theApp.LoadSaveSettings(FALSE);
    EXPECT_EQ(12u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"LinePicth"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"ShowToopTip"));
    EXPECT_EQ(theApp.m_SVersion, GetRegString(HKEY_CURRENT_USER, kSettingsKey, L"VERSION"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kSettingsKey, L"LinePitch"));
    theApp.m_nLinePitch = pitch;
    theApp.m_bShowToolTip = tip;
    theApp.LoadSaveSettings(FALSE);
}

TEST_F(CommandsTest, MenusAreDrawnWithTheToolBarsPictures)
{
    HMENU file = GetSubMenu(::GetMenu(*frame), 0);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    MENUITEMINFOW info{sizeof(info), MIIM_FTYPE};
    ASSERT_TRUE(GetMenuItemInfoW(file, ID_FILE_NEW, FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    CImgDesc image;
    ASSERT_TRUE(MenuItemImages().Lookup(ID_FILE_NEW, image));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(frame->m_wndToolBar.SendMessage(TB_GETIMAGELIST)), image.hImageList);
    EXPECT_EQ(0, image.nIndex);
    // The tool bar's three looks.
    for (UINT message : {TB_GETIMAGELIST, TB_GETHOTIMAGELIST, TB_GETDISABLEDIMAGELIST}) {
        HIMAGELIST list = reinterpret_cast<HIMAGELIST>(frame->m_wndToolBar.SendMessage(message));
        ASSERT_NE(nullptr, list) << message;
        EXPECT_EQ(16, ImageList_GetImageCount(list)) << message;
    }
}
