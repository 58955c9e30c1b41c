// The suite's installation settings against the (scratch) registry: defaults
// on an empty hive, fresh entries, the main read with its repairs, the
// subkeys, and the CAD host's installations seeded as the host would leave
// them.
#include "corvane/platform/ApplicationInfo.h"
#include "platform_test_support.h"
#include "support/MessageBoxScript.h"

using namespace platform_test;
using namespace Tavix4;

namespace {

const wchar_t kMain[] = L"SOFTWARE\\TavixSuite\\TAVIX 3";
const wchar_t kColor[] = L"SOFTWARE\\TavixSuite\\TAVIX 3\\ColorSetting";
const wchar_t kMenu[] = L"SOFTWARE\\TavixSuite\\TAVIX 3\\MenuSetting";
const wchar_t kFont[] = L"SOFTWARE\\TavixSuite\\TAVIX 3\\DefaultFont";
const wchar_t kAutodesk[] = L"SOFTWARE\\Autodesk";

CString Today(const wchar_t* format)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString text;
    if (wcscmp(format, L"%Y-%m") == 0) text.Format(L"%04d-%02d", now.wYear, now.wMonth);
    else text.Format(L"%02d-%02d", now.wYear % 100, now.wMonth);
    return text;
}

CString ShortDocuments()
{
    wchar_t buffer[MAX_PATH] = {};
    GetShortPathNameW(DocumentsFolder(), buffer, MAX_PATH);
    return CString(buffer);
}

CString DefaultUserFolder() { return ShortDocuments() + L"\\Qormel\\Tavix3"; }

class Installation : public ::testing::Test
{
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean()
    {
        DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite");
        DeleteRegTree(HKEY_CURRENT_USER, kAutodesk);
        DeleteRegTree(HKEY_LOCAL_MACHINE, kAutodesk);
        RemoveTree(DocumentsFolder() + L"\\Qormel");
    }

    // A complete main key as an installation leaves it.
    static void SeedInstallation()
    {
        SetRegString(HKEY_CURRENT_USER, kMain, L"PathName", L"D:\\Tavix");
        SetRegString(HKEY_CURRENT_USER, kMain, L"Describe", L"TAVIX 3");
        SetRegString(HKEY_CURRENT_USER, kMain, L"DLLPath", L"C:\\windows\\system32");
        SetRegString(HKEY_CURRENT_USER, kMain, L"BinPath", L"D:\\Tavix\\Bin");
        SetRegString(HKEY_CURRENT_USER, kMain, L"SupportPath", L"D:\\Tavix\\Support");
        SetRegString(HKEY_CURRENT_USER, kMain, L"AcadPathName", L"C:\\AutoCAD 2006");
        SetRegDword(HKEY_CURRENT_USER, kMain, L"Module", 77);
    }

    // A CAD release as its installer registers it: the current version
    // under the release key, the location under the machine's version key,
    // the roamable root under the user's.
    static void SeedRelease(const wchar_t* release, bool machineRelease, const wchar_t* curVer,
                            const wchar_t* location, const wchar_t* roamable)
    {
        CString key;
        key.Format(L"SOFTWARE\\Autodesk\\AutoCAD\\%s", release);
        SetRegString(machineRelease ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key, L"CurVer", curVer);
        CString version = key + L"\\" + curVer;
        if (location) SetRegString(HKEY_LOCAL_MACHINE, version, L"AcadLocation", location);
        if (roamable) SetRegString(HKEY_CURRENT_USER, version, L"RoamableRootFolder", roamable);
    }

    MessageBoxScript boxes;
};

// ---------------------------------------------------------------------------
// Defaults and the empty hive

TEST_F(Installation, ConstructionGivesTheDefaults)
{
    tkxApplicationInfo info;
    EXPECT_STREQ(L"", info.m_SPathName);
    EXPECT_EQ(0u, info.m_dwModule);
    EXPECT_EQ(1, info.m_bTavixAssist);
    EXPECT_EQ(1, info.m_bTvStatus);
    EXPECT_EQ(0, info.m_bShowTips);
    EXPECT_EQ(5, info.m_iNODSnapStep);
    EXPECT_EQ(4, info.m_EntColor.iLine);
    EXPECT_EQ(2, info.m_EntColor.iArc);
    EXPECT_EQ(1, info.m_EntColor.iClothoid1);
    EXPECT_EQ(6, info.m_EntColor.iClothoid2);
    EXPECT_EQ(3, info.m_EntColor.iDimBreak);
    const int offsets[10] = {42, 32, 92, 22, 12, 52, 62, 102, 72, 82};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(offsets[i], info.m_EntColor.iOffset[i]);
    EXPECT_EQ(0, info.m_Menu.bType);
    EXPECT_STREQ(L"TAVIX", info.m_DefaultFont.SStyleName);
    EXPECT_STREQ(L"fsdb_e.shx", info.m_DefaultFont.SFontName);
    EXPECT_STREQ(L"tjhzf.shx", info.m_DefaultFont.SBigFontName);
    EXPECT_EQ(2.0, info.m_DefaultFont.dTextSize);
    EXPECT_EQ(0.707, info.m_DefaultFont.dWidthScale);
}

TEST_F(Installation, AnEmptyHiveReadsNothingAndCreatesNothing)
{
    tkxApplicationInfo info;
    EXPECT_EQ(0, info.ReadTavixAppInfo());
    EXPECT_EQ(0, info.ReadVRSAppInfo());
    EXPECT_EQ(0, info.ReadPMSetting());
    EXPECT_EQ(0, info.WriteShowTips());
    EXPECT_EQ(0, info.WriteDefaultPFrame(L"D:\\frame.dwg"));
    EXPECT_STREQ(L"D:\\frame.dwg", info.m_SDefaultPFrame); // the member is set all the same
    info.SetRegisterARX(1, 1);
    EXPECT_EQ(0u, info.m_dwRegisterArx);
    EXPECT_STREQ(L"", tkxApplicationInfo::ReadSheetDate());
    EXPECT_STREQ(L"", tkxApplicationInfo::ReadDefaultPFrame());

    sTavixEntColor colors;
    colors.iLine = 99;
    EXPECT_EQ(0, tkxApplicationInfo::ReadEntColor(colors));
    EXPECT_EQ(4, colors.iLine); // preset with the defaults
    sTavixMenu menu;
    EXPECT_EQ(0, tkxApplicationInfo::ReadMenuSetting(menu));
    sDefaultFont font;
    font.dTextSize = 9;
    EXPECT_EQ(0, tkxApplicationInfo::ReadDefaultFont(font));
    EXPECT_EQ(9, font.dTextSize);

    tkxApplicationInfo copy;
    EXPECT_EQ(0, tkx_GetApplicationInfo(copy));

    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite"));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Installation, UserDocumentFolderAndIniPaths)
{
    tkxApplicationInfo info;
    EXPECT_STREQ(DefaultUserFolder() + L"\\Brisko.ini", info.GetIniFileName(L"Brisko.ini"));
    EXPECT_STREQ(DefaultUserFolder(), info.m_SUserDocumentPath);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kMain)); // the member only

    info.m_SUserDocumentPath = L"E:\\我的文档";
    EXPECT_STREQ(L"E:\\我的文档", info.GetUserDocumentPath());
    EXPECT_STREQ(L"E:\\我的文档\\Tavix3.ini", info.GetIniFileName(L"Tavix3.ini"));
}

// ---------------------------------------------------------------------------
// Fresh entries

TEST_F(Installation, FreshEntriesOnAnEmptyHive)
{
    tkxApplicationInfo info;
    info.m_dwModule = 12;
    ASSERT_EQ(1, info.CreateTavixReg(L"D:\\Suite\\Bin\\"));

    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_STREQ(L"d:\\suite", GetRegString(HKEY_CURRENT_USER, kMain, L"PathName"));
    EXPECT_STREQ(L"d:\\suite\\bin", GetRegString(HKEY_CURRENT_USER, kMain, L"BinPath"));
    EXPECT_STREQ(L"d:\\suite\\support", GetRegString(HKEY_CURRENT_USER, kMain, L"SupportPath"));
    EXPECT_STREQ(system, GetRegString(HKEY_CURRENT_USER, kMain, L"DLLPath"));
    EXPECT_STREQ(L"", GetRegString(HKEY_CURRENT_USER, kMain, L"AcadPathName"));
    EXPECT_STRNE(L"", GetRegString(HKEY_CURRENT_USER, kMain, L"Describe"));
    EXPECT_EQ(12u, GetRegDword(HKEY_CURRENT_USER, kMain, L"Module"));
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx"));
    EXPECT_STREQ(L"d:\\suite\\Support\\默认图框.dwg", GetRegString(HKEY_CURRENT_USER, kMain, L"DefaultPFrame"));
    EXPECT_STREQ(L"d:\\suite\\Support\\高速公路施工图图纸集模板.xml",
                 GetRegString(HKEY_CURRENT_USER, kMain, L"SheetTemplate"));
    EXPECT_STREQ(Today(L"%y-%m"), GetRegString(HKEY_CURRENT_USER, kMain, L"SheetDate"));
    EXPECT_STREQ(DefaultUserFolder(), GetRegString(HKEY_CURRENT_USER, kMain, L"UserDocumentPath"));
    // Created with the folder above it, which a fresh user does not have.
    EXPECT_TRUE(tkxApplicationInfo().GetUserDocumentPath().GetLength() > 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DocumentsFolder() + L"\\Qormel\\Tavix3"));

    // The entries read back whole.
    tkxApplicationInfo back;
    ASSERT_EQ(1, back.ReadTavixAppInfo());
    EXPECT_STREQ(L"d:\\suite", back.m_SPathName);
    EXPECT_STREQ(L"d:\\suite\\bin", back.m_SBinPath);
    EXPECT_STREQ(L"d:\\suite\\support", back.m_SSupportPath);
    EXPECT_STREQ(system, back.m_SDLLPath);
    EXPECT_EQ(12u, back.m_dwModule);
    EXPECT_STREQ(L"d:\\suite\\Support\\默认图框.dwg", back.m_SDefaultPFrame);
    EXPECT_STREQ(DefaultUserFolder(), back.m_SUserDocumentPath);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Installation, FreshEntriesKeepTemplatesAlreadySet)
{
    tkxApplicationInfo info;
    info.m_SDefaultPFrame = L"E:\\图框.dwg";
    info.m_SSheetDate = L"2011-05";
    ASSERT_EQ(1, info.CreateTavixReg(L"e:\\t\\bin"));
    EXPECT_STREQ(L"E:\\图框.dwg", GetRegString(HKEY_CURRENT_USER, kMain, L"DefaultPFrame"));
    EXPECT_STREQ(L"2011-05", GetRegString(HKEY_CURRENT_USER, kMain, L"SheetDate"));
    EXPECT_STREQ(L"e:\\t", info.m_SPathName);

    // A program folder without a "\bin" part is the installation itself.
    tkxApplicationInfo plain;
    ASSERT_EQ(1, plain.CreateTavixReg(L"E:\\Tools\\"));
    EXPECT_STREQ(L"e:\\tools", plain.m_SPathName);
    EXPECT_STREQ(L"e:\\tools\\support", GetRegString(HKEY_CURRENT_USER, kMain, L"SupportPath"));
}

// ---------------------------------------------------------------------------
// The main read

TEST_F(Installation, MainReadStopsAtTheFirstMissingValue)
{
    SeedInstallation();
    DeleteRegValue(HKEY_CURRENT_USER, kMain, L"AcadPathName");
    tkxApplicationInfo info;
    EXPECT_EQ(0, info.ReadTavixAppInfo());
    EXPECT_STREQ(L"D:\\Tavix", info.m_SPathName);
    EXPECT_STREQ(L"TAVIX 3", info.m_SDescribe);
    EXPECT_STREQ(L"C:\\windows\\system32", info.m_SDLLPath);
    EXPECT_STREQ(L"D:\\Tavix\\Bin", info.m_SBinPath);
    EXPECT_STREQ(L"D:\\Tavix\\Support", info.m_SSupportPath);
    EXPECT_EQ(0u, info.m_dwModule); // not reached
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMain, L"SheetDate")); // nothing repaired

    SeedInstallation();
    DeleteRegValue(HKEY_CURRENT_USER, kMain, L"Module");
    tkxApplicationInfo second;
    EXPECT_EQ(0, second.ReadTavixAppInfo());
    EXPECT_STREQ(L"C:\\AutoCAD 2006", second.m_SAcadPathName);
}

TEST_F(Installation, MainReadRepairsMissingTemplatesDateAndFolder)
{
    SeedInstallation();
    SetRegString(HKEY_CURRENT_USER, kMain, L"SheetDate", L"");
    SetRegString(HKEY_CURRENT_USER, kMain, L"SheetTemplate", L"");
    tkxApplicationInfo info;
    ASSERT_EQ(1, info.ReadTavixAppInfo());
    EXPECT_STREQ(L"D:\\Tavix\\Support\\默认图框.xml", info.m_SDefaultPFrame);
    EXPECT_STREQ(L"D:\\Tavix\\Support\\高速公路施工图图纸集模板.xml", info.m_SSheetTemplate);
    EXPECT_STREQ(Today(L"%Y-%m"), info.m_SSheetDate);
    EXPECT_STREQ(DefaultUserFolder(), info.m_SUserDocumentPath);
    EXPECT_STREQ(L"D:\\Tavix\\Support\\默认图框.xml", GetRegString(HKEY_CURRENT_USER, kMain, L"DefaultPFrame"));
    EXPECT_STREQ(L"D:\\Tavix\\Support\\高速公路施工图图纸集模板.xml",
                 GetRegString(HKEY_CURRENT_USER, kMain, L"SheetTemplate"));
    EXPECT_STREQ(Today(L"%Y-%m"), GetRegString(HKEY_CURRENT_USER, kMain, L"SheetDate"));
    EXPECT_STREQ(DefaultUserFolder(), GetRegString(HKEY_CURRENT_USER, kMain, L"UserDocumentPath"));

    // Stored values stay as they are.
    SetRegString(HKEY_CURRENT_USER, kMain, L"SheetDate", L"2008-03");
    SetRegString(HKEY_CURRENT_USER, kMain, L"UserDocumentPath", L"F:\\文档");
    tkxApplicationInfo again;
    ASSERT_EQ(1, again.ReadTavixAppInfo());
    EXPECT_STREQ(L"2008-03", again.m_SSheetDate);
    EXPECT_STREQ(L"F:\\文档", again.m_SUserDocumentPath);
}

TEST_F(Installation, MainReadFlagsAndAlignmentOptions)
{
    SeedInstallation();
    SetRegDword(HKEY_CURRENT_USER, kMain, L"TavixAssist", 5);
    SetRegDword(HKEY_CURRENT_USER, kMain, L"TvStatus", 0);
    SetRegDword(HKEY_CURRENT_USER, kMain, L"AutoExplode", 9);
    SetRegDword(HKEY_CURRENT_USER, kMain, L"RadiusStep", 50);
    tkxApplicationInfo info;
    info.m_bShowTips = 1;        // missing: kept
    info.m_dwRegisterArx = 0xFF; // missing: 0
    info.m_iLsStep = 7;          // missing: kept
    ASSERT_EQ(1, info.ReadTavixAppInfo());
    EXPECT_EQ(1, info.m_bTavixAssist);
    EXPECT_EQ(0, info.m_bTvStatus);
    EXPECT_EQ(1, info.m_bShowTips);
    EXPECT_EQ(0u, info.m_dwRegisterArx);
    EXPECT_EQ(1, info.m_bAutoExplode);
    EXPECT_EQ(50, info.m_iRadiusStep);
    EXPECT_EQ(7, info.m_iLsStep);
    EXPECT_EQ(77u, info.m_dwModule);

    struct Case {
        DWORD stored;
        int read;
    } snaps[] = {{0, 5}, {5000, 1000}, {1000, 1000}, {1, 1}, {static_cast<DWORD>(-3), 5}};
    for (const Case& c : snaps) {
        SCOPED_TRACE(c.stored);
        SetRegDword(HKEY_CURRENT_USER, kMain, L"NODSnapStep", c.stored);
        ASSERT_EQ(1, info.ReadPMSetting());
        EXPECT_EQ(c.read, info.m_iNODSnapStep);
    }
}

TEST_F(Installation, ReducedReadForAnInstallationWithoutTheCadPrograms)
{
    SetRegString(HKEY_CURRENT_USER, kMain, L"PathName", L"E:\\VRS");
    SetRegString(HKEY_CURRENT_USER, kMain, L"Describe", L"VRS");
    tkxApplicationInfo info;
    info.m_SAcadPathName = L"C:\\old";
    ASSERT_EQ(1, info.ReadVRSAppInfo());
    EXPECT_STREQ(L"", info.m_SAcadPathName);
    EXPECT_STREQ(L"E:\\VRS", info.m_SPathName);
    EXPECT_STREQ(L"E:\\VRS", info.m_SDLLPath);
    EXPECT_STREQ(L"E:\\VRS", info.m_SBinPath);
    EXPECT_STREQ(L"E:\\VRS\\data", info.m_SSupportPath);
    EXPECT_STREQ(L"VRS", info.m_SDescribe);
    EXPECT_STREQ(DefaultUserFolder(), GetRegString(HKEY_CURRENT_USER, kMain, L"UserDocumentPath"));

    DeleteRegValue(HKEY_CURRENT_USER, kMain, L"Describe");
    EXPECT_EQ(0, tkxApplicationInfo().ReadVRSAppInfo());
}

// ---------------------------------------------------------------------------
// Single values

TEST_F(Installation, RegistrationBits)
{
    SeedInstallation();
    SetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx", 6);
    tkxApplicationInfo info;
    info.SetRegisterARX(4, 0);
    EXPECT_EQ(2u, info.m_dwRegisterArx);
    EXPECT_EQ(2u, GetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx"));
    info.SetRegisterARX(4, 0); // a clear bit stays clear
    EXPECT_EQ(2u, GetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx"));
    info.SetRegisterARX(9, 1);
    EXPECT_EQ(11u, GetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx"));
    info.SetRegisterARX(1, 2); // anything but 1 clears
    EXPECT_EQ(10u, GetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx"));
    EXPECT_EQ(1, info.HadRegisterARX(8));
    EXPECT_EQ(1, info.HadRegisterARX(0x18));
    EXPECT_EQ(0, info.HadRegisterARX(5));

    // The stored bits count, not the member's.
    SetRegDword(HKEY_CURRENT_USER, kMain, L"RegisterArx", 1);
    info.SetRegisterARX(2, 1);
    EXPECT_EQ(3u, info.m_dwRegisterArx);
}

TEST_F(Installation, OptionWritersStoreTheirMember)
{
    SeedInstallation();
    tkxApplicationInfo info;
    info.m_bTavixAssist = 0;
    info.m_bTvStatus = 0;
    info.m_bShowTips = 1;
    info.m_bSimCommand = 1;
    info.m_iNODSnapStep = 25;
    info.m_bAutoExplode = 1;
    info.m_bNoClothoid = 1;
    info.m_iRadiusStep = 10;
    info.m_iLsStep = 5;
    EXPECT_EQ(1, info.WriteRunAssist());
    EXPECT_EQ(1, info.WriteShowStatusBar());
    EXPECT_EQ(1, info.WriteShowTips());
    EXPECT_EQ(1, info.WriteSimCommand());
    EXPECT_EQ(1, info.WriteNODSnapStep());
    EXPECT_EQ(1, info.WriteAutoExplode());
    EXPECT_EQ(1, info.WriteNoClothoid());
    EXPECT_EQ(1, info.WriteRadiusStep());
    EXPECT_EQ(1, info.WriteLsStep());
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kMain, L"TavixAssist"));
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kMain, L"TvStatus"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kMain, L"ShowTips"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kMain, L"SimCommand"));
    EXPECT_EQ(25u, GetRegDword(HKEY_CURRENT_USER, kMain, L"NODSnapStep"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kMain, L"AutoExplode"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kMain, L"NoClothoid"));
    EXPECT_EQ(10u, GetRegDword(HKEY_CURRENT_USER, kMain, L"RadiusStep"));
    EXPECT_EQ(5u, GetRegDword(HKEY_CURRENT_USER, kMain, L"LsStep"));

    tkxApplicationInfo back;
    ASSERT_EQ(1, back.ReadTavixAppInfo());
    EXPECT_EQ(0, back.m_bTavixAssist);
    EXPECT_EQ(1, back.m_bSimCommand);
    EXPECT_EQ(25, back.m_iNODSnapStep);
    EXPECT_EQ(1, back.m_bNoClothoid);
    EXPECT_EQ(5, back.m_iLsStep);
}

TEST_F(Installation, TemplatesAndSheetDate)
{
    SeedInstallation();
    EXPECT_STREQ(Today(L"%Y-%m"), tkxApplicationInfo::ReadSheetDate()); // value missing: today, not stored
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMain, L"SheetDate"));
    EXPECT_STREQ(L"", tkxApplicationInfo::ReadSheetTemplate());

    tkxApplicationInfo info;
    EXPECT_EQ(1, info.WriteSheetDate(L"2009-12"));
    EXPECT_EQ(1, info.WriteSheetTemplate(L"D:\\模板.xml"));
    EXPECT_EQ(1, info.WriteDefaultPFrame(L"D:\\图框.xml"));
    EXPECT_STREQ(L"2009-12", tkxApplicationInfo::ReadSheetDate());
    EXPECT_STREQ(L"D:\\模板.xml", tkxApplicationInfo::ReadSheetTemplate());
    EXPECT_STREQ(L"D:\\图框.xml", tkxApplicationInfo::ReadDefaultPFrame());
    EXPECT_STREQ(L"2009-12", info.m_SSheetDate);
}

// ---------------------------------------------------------------------------
// Subkeys

TEST_F(Installation, ColoursRoundTripAndStopAtAGap)
{
    SeedInstallation();
    sTavixEntColor colors;
    colors.iLine = 1;
    colors.iDimParam = 250;
    colors.iOffset[9] = 7;
    ASSERT_EQ(1, tkxApplicationInfo::WriteEntColor(colors)); // creates the subkey
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kColor, L"Line"));
    EXPECT_EQ(7u, GetRegDword(HKEY_CURRENT_USER, kColor, L"Offset9"));

    sTavixEntColor back;
    ASSERT_EQ(1, tkxApplicationInfo::ReadEntColor(back));
    EXPECT_EQ(1, back.iLine);
    EXPECT_EQ(250, back.iDimParam);
    EXPECT_EQ(7, back.iOffset[9]);

    SetRegDword(HKEY_CURRENT_USER, kColor, L"Offset2", 200);
    SetRegDword(HKEY_CURRENT_USER, kColor, L"Offset4", 201);
    DeleteRegValue(HKEY_CURRENT_USER, kColor, L"Offset3");
    sTavixEntColor partial;
    EXPECT_EQ(0, tkxApplicationInfo::ReadEntColor(partial));
    EXPECT_EQ(1, partial.iLine);         // read
    EXPECT_EQ(200, partial.iOffset[2]);  // read
    EXPECT_EQ(22, partial.iOffset[3]);   // default
    EXPECT_EQ(12, partial.iOffset[4]);   // default: not read after the gap
}

TEST_F(Installation, MenuFlagsCountOnlyWhenOne)
{
    sTavixMenu menu;
    menu.bType = 1;
    menu.bModule[0] = 1;
    menu.bModule[7] = 1;
    ASSERT_EQ(1, tkxApplicationInfo::WriteMenuSetting(menu));
    sTavixMenu back;
    ASSERT_EQ(1, tkxApplicationInfo::ReadMenuSetting(back));
    EXPECT_EQ(1, back.bType);
    EXPECT_EQ(1, back.bModule[0]);
    EXPECT_EQ(0, back.bModule[1]);
    EXPECT_EQ(1, back.bModule[7]);

    SetRegDword(HKEY_CURRENT_USER, kMenu, L"TYPE", 2);
    ASSERT_EQ(1, tkxApplicationInfo::ReadMenuSetting(back));
    EXPECT_EQ(0, back.bType);

    // Any true member is stored as 1, so that it reads back as set.
    menu.bModule[3] = 2;
    ASSERT_EQ(1, tkxApplicationInfo::WriteMenuSetting(menu));
    ASSERT_EQ(1, tkxApplicationInfo::ReadMenuSetting(back));
    EXPECT_EQ(1, back.bModule[3]);
}

TEST_F(Installation, DefaultFontScalesItsNumbers)
{
    sDefaultFont font;
    font.SStyleName = L"道路";
    font.dTextSize = 3.5;
    font.dWidthScale = 0.29;
    ASSERT_EQ(1, tkxApplicationInfo::WriteDefaultFont(font));
    EXPECT_EQ(35000u, GetRegDword(HKEY_CURRENT_USER, kFont, L"TextSize"));
    EXPECT_EQ(2900u, GetRegDword(HKEY_CURRENT_USER, kFont, L"WidthScale"));

    SetRegDword(HKEY_CURRENT_USER, kFont, L"TextSize", 25000);
    sDefaultFont back;
    ASSERT_EQ(1, tkxApplicationInfo::ReadDefaultFont(back));
    EXPECT_STREQ(L"道路", back.SStyleName);
    EXPECT_EQ(2.5, back.dTextSize);
    EXPECT_DOUBLE_EQ(0.29, back.dWidthScale);

    DeleteRegValue(HKEY_CURRENT_USER, kFont, L"BigFontName");
    sDefaultFont partial;
    partial.SBigFontName = L"kept";
    EXPECT_EQ(0, tkxApplicationInfo::ReadDefaultFont(partial));
    EXPECT_STREQ(L"道路", partial.SStyleName);
    EXPECT_STREQ(L"kept", partial.SBigFontName);
    EXPECT_EQ(2.0, partial.dTextSize);
}

TEST_F(Installation, TheLibraryHandsOutACopyOfItsSettings)
{
    SeedInstallation();
    sTavixEntColor colors;
    colors.iArc = 11;
    tkxApplicationInfo::WriteEntColor(colors);
    sDefaultFont font;
    font.dTextSize = 5;
    tkxApplicationInfo::WriteDefaultFont(font);

    tkxApplicationInfo copy;
    ASSERT_EQ(1, tkx_GetApplicationInfo(copy));
    EXPECT_STREQ(L"D:\\Tavix", copy.m_SPathName);
    EXPECT_EQ(77u, copy.m_dwModule);
    EXPECT_EQ(11, copy.m_EntColor.iArc);
    EXPECT_EQ(5.0, copy.m_DefaultFont.dTextSize);

    // Copies take everything but the CAD release.
    tkxApplicationInfo a;
    a.m_AcadVer = ACAD_2008;
    a.m_SBinPath = L"x";
    tkxApplicationInfo b;
    b.m_AcadVer = ACAD_2012;
    EXPECT_EQ(1, (b = a));
    EXPECT_EQ(ACAD_2012, b.m_AcadVer);
    EXPECT_STREQ(L"x", b.m_SBinPath);
    tkxApplicationInfo c(a);
    EXPECT_NE(ACAD_2008, c.m_AcadVer);
    EXPECT_STREQ(L"x", c.m_SBinPath);
}

// ---------------------------------------------------------------------------
// The CAD host

TEST_F(Installation, ReleaseNames)
{
    struct Case {
        int release;
        const wchar_t* name;
    } cases[] = {{0, L"AutoCAD R14"},  {1, L"AutoCAD 2002"}, {4, L"AutoCAD 2006"},      {10, L"AutoCAD 2012"},
                 {12, L"AutoCAD 2014"}, {13, L"AutoCAD 未知版本"}, {-1, L"AutoCAD 未知版本"},
                 {2, L"AutoCAD 2004"},  {3, L"AutoCAD 2005"}, {5, L"AutoCAD 2007"},      {6, L"AutoCAD 2008"},
                 {7, L"AutoCAD 2009"},  {8, L"AutoCAD 2010"}, {9, L"AutoCAD 2011"},      {11, L"AutoCAD 2013"}};
    for (const Case& c : cases)
        EXPECT_STREQ(c.name, tkxApplicationInfo::AcadVerName(static_cast<enAcadVer>(c.release))) << c.release;
}

TEST_F(Installation, FindsSeededReleases)
{
    SeedRelease(L"R14.0", true, L"ACAD-1:409", L"C:\\ACADR14", nullptr);
    SeedRelease(L"R16.2", false, L"ACAD-4001:804", L"C:\\Program Files\\AutoCAD 2006",
                L"C:\\Users\\u\\Roaming\\Autodesk\\AutoCAD 2006\\R16.2\\chs\\");
    SeedRelease(L"R18.2", false, L"ACAD-A001:804", L"C:\\Program Files\\AutoCAD 2012", L"C:\\R\\2012\\");

    struct Case {
        short release;
        const wchar_t* curVer;
        const wchar_t* folder;
        const wchar_t* roamable;
    } cases[] = {
        {ACAD_R14, L"ACAD-1:409", L"C:\\ACADR14", L"C:\\ACADR14"},
        {ACAD_2006, L"ACAD-4001:804", L"C:\\Program Files\\AutoCAD 2006",
         L"C:\\Users\\u\\Roaming\\Autodesk\\AutoCAD 2006\\R16.2\\chs\\"},
        {ACAD_2012, L"ACAD-A001:804", L"C:\\Program Files\\AutoCAD 2012", L"C:\\R\\2012\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.release);
        CString curVer, folder, roamable;
        ASSERT_EQ(1, tkxApplicationInfo::GetAcadVerFromReg(c.release, curVer, folder, roamable));
        EXPECT_STREQ(c.curVer, curVer);
        EXPECT_STREQ(c.folder, folder);
        EXPECT_STREQ(c.roamable, roamable);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Installation, EveryReleaseIsFoundUnderItsOwnKey)
{
    // R14.0 and R15.0 keep their current version under the machine's key,
    // the later releases under the user's, with a roamable root.
    const wchar_t* const keys[] = {L"R14.0", L"R15.0", L"R16.0", L"R16.1", L"R16.2", L"R17.0",
                                   L"R17.1", L"R17.2", L"R18.0", L"R18.1", L"R18.2"};
    for (int i = 0; i <= ACAD_2012; ++i) {
        const CString folder = ClFormat(L"C:\\Host%d", i);
        SeedRelease(keys[i], i <= ACAD_2002, ClFormat(L"ACAD-%d:804", i), folder,
                    i <= ACAD_2002 ? nullptr : (folder + L"\\Roaming").GetString());
    }
    for (int i = 0; i <= ACAD_2012; ++i) {
        SCOPED_TRACE(i);
        CString curVer, folder, roamable;
        ASSERT_EQ(1, tkxApplicationInfo::GetAcadVerFromReg(static_cast<short>(i), curVer, folder, roamable));
        EXPECT_STREQ(ClFormat(L"ACAD-%d:804", i), curVer);
        EXPECT_STREQ(ClFormat(L"C:\\Host%d", i), folder);
        EXPECT_STREQ(i <= ACAD_2002 ? folder : folder + L"\\Roaming", roamable);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Installation, MissingReleasesAreNotCreatedByLookingForThem)
{
    CString curVer = L"a", folder = L"b", roamable = L"c";
    for (short release : {ACAD_R14, ACAD_2002, ACAD_2004, ACAD_2007, ACAD_2012, ACAD_2013, ACAD_UNKNOWN}) {
        SCOPED_TRACE(release);
        EXPECT_EQ(0, tkxApplicationInfo::GetAcadVerFromReg(release, curVer, folder, roamable));
    }
    EXPECT_STREQ(L"a", curVer);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kAutodesk));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kAutodesk));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Installation, IncompleteReleasesAreReported)
{
    SeedRelease(L"R17.0", false, L"ACAD-5001:804", nullptr, nullptr);
    SeedRelease(L"R17.1", false, L"ACAD-6001:804", L"C:\\AutoCAD 2008", nullptr);
    CString curVer, folder, roamable;
    EXPECT_EQ(0, tkxApplicationInfo::GetAcadVerFromReg(ACAD_2007, curVer, folder, roamable));
    EXPECT_EQ(0, tkxApplicationInfo::GetAcadVerFromReg(ACAD_2008, curVer, folder, roamable));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_STREQ(L"获取注册表中ACAD安装路径失败!", boxes.Shown()[0].text);
    EXPECT_STREQ(L"TAVIX", boxes.Shown()[0].caption);
    EXPECT_STREQ(L"获取注册表中ACAD安装路径(RoamableRoot)失败!", boxes.Shown()[1].text);
    EXPECT_STREQ(L"TAVIX", boxes.Shown()[1].caption);
}

// Another test program may run a stand-in of the host at the same moment.
#define SKIP_WHEN_A_HOST_RUNS()                                                                                   \
    if (tkxApplicationInfo::AcadProcessExist()) GTEST_SKIP() << "a CAD host process of another test is running"

TEST_F(Installation, DefaultsForAReleaseThatIsNotInstalled)
{
    SKIP_WHEN_A_HOST_RUNS();
    tkxApplicationInfo info;
    EXPECT_EQ(0, info.CreateRegDefault(L"D:\\Suite\\Bin\\", ACAD_2006));
    EXPECT_EQ(ACAD_2006, info.m_AcadVer);
    EXPECT_STREQ(L"d:\\suite\\bin", info.m_SBinPath);
    EXPECT_STREQ(L"d:\\suite", info.m_SPathName);
    EXPECT_STREQ(L"d:\\suite\\support", info.m_SSupportPath);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_STREQ(L"未安装指定版本的AutoCAD!", boxes.Shown()[0].text);
    EXPECT_STREQ(L"TAVIX", boxes.Shown()[0].caption);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kMain));
}

TEST_F(Installation, DefaultsForAnInstalledRelease)
{
    SKIP_WHEN_A_HOST_RUNS();
    SeedRelease(L"R16.2", false, L"ACAD-4001:804", L"C:\\AutoCAD 2006", L"C:\\Roaming\\");
    tkxApplicationInfo info;
    ASSERT_EQ(1, info.CreateRegDefault(L"D:\\Suite\\Bin", ACAD_2006));
    EXPECT_STREQ(L"C:\\AutoCAD 2006", info.m_SAcadPathName);
    EXPECT_STREQ(L"C:\\AutoCAD 2006", GetRegString(HKEY_CURRENT_USER, kMain, L"AcadPathName"));
    EXPECT_STREQ(L"d:\\suite", GetRegString(HKEY_CURRENT_USER, kMain, L"PathName"));
    EXPECT_TRUE(boxes.Shown().empty());
}

// Starts the stand-in host program; it ends by itself after 60 seconds.
class HostProcess
{
public:
    HostProcess()
    {
        CString command = L"\"" + BinFolder() + L"\\acad.exe\" 60";
        STARTUPINFOW si = {sizeof(si)};
        m_started = CreateProcessW(nullptr, command.GetBuffer(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &si, &m_info) != FALSE;
        command.ReleaseBuffer();
    }
    ~HostProcess()
    {
        if (!m_started) return;
        TerminateProcess(m_info.hProcess, 0);
        WaitForSingleObject(m_info.hProcess, 10000);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
    bool Started() const { return m_started; }

private:
    bool m_started = false;
    PROCESS_INFORMATION m_info = {};
};

TEST_F(Installation, ARunningHostIsFoundAndBlocksTheDefaults)
{
    HostProcess host;
    ASSERT_TRUE(host.Started());
    int found = 0;
    for (int i = 0; i < 100 && !found; ++i) {
        found = tkxApplicationInfo::AcadProcessExist();
        if (!found) Sleep(50);
    }
    EXPECT_EQ(1, found);

    SeedRelease(L"R16.2", false, L"ACAD-4001:804", L"C:\\AutoCAD 2006", L"C:\\Roaming\\");
    tkxApplicationInfo info;
    EXPECT_EQ(0, info.CreateRegDefault(L"D:\\Suite\\Bin", ACAD_2006));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_STREQ(L"AutoCAD正在运行,无法设置Tavix软件的运行环境!\n\n退出AutoCAD后重试!", boxes.Shown()[0].text);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kMain));
}

TEST_F(Installation, HostFolderOfThisProcess)
{
    EXPECT_STREQ(L"", tkxApplicationInfo::SearchACADPath());
    HMODULE host = LoadLibraryExW(BinFolder() + L"\\acad.exe", nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_TRUE(host != nullptr);
    CString expected = BinFolder();
    expected.MakeLower();
    EXPECT_STREQ(expected, tkxApplicationInfo::SearchACADPath());
    FreeLibrary(host);
}

} // namespace
