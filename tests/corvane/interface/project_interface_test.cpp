// The exported interface to the current project, road and library: the
// registered lists kept in step with the registry, and the current state
// kept whole when something fails.
#include "corvane/project/TavixInterface.h"
#include "interface_test_support.h"

using namespace interface_test;
using Tavix4::sRoadInfo;

namespace {

CString EpjOf(const tkxProject& project)
{
    return project.m_SPath + L"\\" + project.m_SName + L".EPJ";
}

std::vector<std::string> Names(const CStringArray& names)
{
    std::vector<std::string> out;
    for (const CString& name : names) out.push_back(Utf8(name));
    return out;
}

std::vector<std::string> RoadNames(const tkxProject& project)
{
    std::vector<std::string> out;
    for (const sRoadInfo& road : project.m_Roads) out.push_back(Utf8(road.m_SRoadName));
    return out;
}

class ProjectInterface : public ::testing::Test
{
protected:
    void SetUp() override { ResetLibraryState(); }
    void TearDown() override { ResetLibraryState(); }

    // Registers projects of these names (each with roads "<name>-1" and
    // "<name>-2"); the last one is current afterwards.
    void Register(std::vector<const wchar_t*> names)
    {
        for (const wchar_t* name : names) {
            CString first = CString(name) + L"-1";
            CString second = CString(name) + L"-2";
            tkxProject project = MakeProject(m_folder.Path(), name, {first, second});
            ASSERT_EQ(1, tkx_AddProject(&project, nullptr)) << Utf8(name);
        }
    }

    ScratchFolder m_folder{L"projects"};
    MessageBoxScript m_boxes;
};

TEST_F(ProjectInterface, AddingRegistersStoresAndMakesCurrent)
{
    tkxProject a = MakeProject(m_folder.Path(), L"Alpha", {L"R1", L"R2"});
    ASSERT_EQ(1, tkx_AddProject(&a, nullptr));
    tkxProject b = MakeProject(m_folder.Path(), L"Beta", {L"B1"});
    ASSERT_EQ(1, tkx_AddProject(&b, nullptr));

    EXPECT_EQ(0, tkx_ExistProject(L"Alpha"));
    EXPECT_EQ(1, tkx_ExistProject(L"Beta"));
    EXPECT_EQ(-1, tkx_ExistProject(L"beta"));
    EXPECT_EQ(-1, tkx_ExistProject(nullptr));
    EXPECT_STREQ(L"Beta", GetRegString(HKEY_CURRENT_USER, kPrjKey, L"PrjName1"));
    EXPECT_STREQ(b.m_SPath, GetRegString(HKEY_CURRENT_USER, kPrjKey, L"PrjPath1"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"CurrentPrj"));

    tkxProject current;
    tkx_GetCurProject(current);
    EXPECT_STREQ(L"Beta", current.m_SName);
    EXPECT_EQ((std::vector<std::string>{"B1"}), RoadNames(current));
    EXPECT_EQ(1, tkx_GetWorkSpace().m_iCurPrj);
    EXPECT_STREQ(L"B1", tkx_GetWorkSpace().m_SCurRoadName);

    CStringArray names, paths;
    names.Add(L"left over");
    tkx_GetAllPrjNames(&names);
    tkx_GetAllPrjPaths(&paths);
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta"}), Names(names));
    EXPECT_EQ((std::vector<std::string>{Utf8(a.m_SPath), Utf8(b.m_SPath)}), Names(paths));
    tkx_GetAllPrjNames(nullptr);
    EXPECT_TRUE(m_boxes.Shown().empty());
}

TEST_F(ProjectInterface, AddingRefusesKnownNamesBadRoadNamesAndFailedSaves)
{
    Register({L"Alpha"});
    EXPECT_EQ(0, tkx_AddProject(nullptr, nullptr));

    tkxProject again = MakeProject(m_folder.Path(), L"Alpha2", {L"X"});
    again.m_SName = L"Alpha";
    EXPECT_EQ(0, tkx_AddProject(&again, nullptr));
    EXPECT_STREQ(L"已包含同名项目, 无法添加新项目!", m_boxes.LastText());
    EXPECT_STREQ(L"已包含同名项目, 无法添加新项目!", tkx_GetLastError());

    // A road name that would leave the project folder never reaches a file.
    tkxProject climbing = MakeProject(m_folder.Path(), L"Gamma", {L"Good"});
    sRoadInfo bad;
    bad.m_SRoadName = L"..\\Elsewhere";
    climbing.m_Roads.Add(bad);
    std::string before = ReadBytes(EpjOf(climbing));
    EXPECT_EQ(0, tkx_AddProject(&climbing, nullptr));
    EXPECT_EQ(tkxProject::CheckRoadName(L"..\\Elsewhere"), m_boxes.LastText());
    EXPECT_EQ(before, ReadBytes(EpjOf(climbing)));

    // A project whose file cannot be written leaves the current project and
    // the list as they were.
    tkxProject homeless;
    homeless.m_SName = L"Delta";
    homeless.m_SPath = m_folder / L"no such folder";
    EXPECT_EQ(0, tkx_AddProject(&homeless, nullptr));
    EXPECT_STREQ(L"添加新项目：保存项目失败!", m_boxes.LastText());
    EXPECT_STREQ(L"添加新项目：保存项目失败!", tkx_GetLastError());

    tkxProject current;
    tkx_GetCurProject(current);
    EXPECT_STREQ(L"Alpha", current.m_SName);
    CStringArray names;
    tkx_GetAllPrjNames(&names);
    EXPECT_EQ((std::vector<std::string>{"Alpha"}), Names(names));
    EXPECT_EQ(0, tkx_GetWorkSpace().m_iCurPrj);
}

TEST_F(ProjectInterface, OpeningMakesTheRegisteredProjectCurrent)
{
    Register({L"Alpha", L"Beta"});
    tkxProject out;
    ASSERT_EQ(1, tkx_OpenProject(L"Alpha", &out, nullptr));
    EXPECT_STREQ(L"Alpha", out.m_SName);
    EXPECT_EQ((std::vector<std::string>{"Alpha-1", "Alpha-2"}), RoadNames(out));
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"CurrentPrj"));
    EXPECT_EQ(1, tkx_OpenProject(L"Beta", nullptr, nullptr));
    EXPECT_EQ(1, tkx_GetWorkSpace().m_iCurPrj);
    EXPECT_EQ(0, tkx_OpenProject(L"alpha", &out, nullptr));
    EXPECT_EQ(0, tkx_OpenProject(nullptr, &out, nullptr));
}

TEST_F(ProjectInterface, AFailedOpenKeepsThePreviousProjectWhole)
{
    Register({L"Alpha", L"Beta"});
    ASSERT_EQ(1, tkx_OpenProject(L"Alpha", nullptr, nullptr));
    tkxProject beta = MakeProject(m_folder.Path(), L"Beta", {L"Beta-1"});
    std::string damaged = ReadBytes(EpjOf(beta)).substr(0, 12);
    {
        HANDLE file = CreateFileW(EpjOf(beta), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, damaged.data(), static_cast<DWORD>(damaged.size()), &written, nullptr);
        CloseHandle(file);
    }

    tkxProject out;
    out.m_SName = L"untouched";
    EXPECT_EQ(0, tkx_OpenProject(L"Beta", &out, nullptr));
    EXPECT_STREQ(L"untouched", out.m_SName);

    tkxProject current;
    tkx_GetCurProject(current);
    EXPECT_STREQ(L"Alpha", current.m_SName);
    EXPECT_STREQ(m_folder / L"Alpha", current.m_SPath);
    EXPECT_EQ((std::vector<std::string>{"Alpha-1", "Alpha-2"}), RoadNames(current));
    EXPECT_EQ(0, tkx_GetWorkSpace().m_iCurPrj);
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"CurrentPrj"));

    // The next save writes Alpha's own file and leaves Beta's alone.
    ASSERT_EQ(1, tkx_UpdateProject(&current, 1));
    EXPECT_EQ(damaged, ReadBytes(EpjOf(beta)));
    tkxProject reread;
    ASSERT_EQ(1, reread.Load(m_folder / L"Alpha\\Alpha.EPJ"));
    EXPECT_EQ((std::vector<std::string>{"Alpha-1", "Alpha-2"}), RoadNames(reread));
}

TEST_F(ProjectInterface, RemovingMovesTheCurrentProject)
{
    Register({L"Alpha", L"Beta", L"Gamma"});
    tkxProject out;
    EXPECT_EQ(0, tkx_RemoveProject(L"Gamma", nullptr, nullptr));
    EXPECT_EQ(0, tkx_RemoveProject(L"Delta", &out, nullptr));
    EXPECT_TRUE(m_boxes.Shown().empty());

    // The last entry goes: the new last one is current.
    ASSERT_EQ(1, tkx_RemoveProject(L"Gamma", &out, nullptr));
    EXPECT_STREQ(L"Beta", out.m_SName);
    EXPECT_EQ((std::vector<std::string>{"Beta-1", "Beta-2"}), RoadNames(out));
    EXPECT_EQ(1, tkx_GetWorkSpace().m_iCurPrj);
    EXPECT_STREQ(L"Beta", GetRegString(HKEY_CURRENT_USER, kPrjKey, L"PrjName1"));
    EXPECT_STREQ(L"<missing>", GetRegString(HKEY_CURRENT_USER, kPrjKey, L"PrjName2"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"CurrentPrj"));
    EXPECT_EQ(2u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"PrjNumber"));

    // An entry in the middle goes: the one after it takes its place.
    ASSERT_EQ(1, tkx_RemoveProject(L"Alpha", &out, nullptr));
    EXPECT_STREQ(L"Beta", out.m_SName);
    EXPECT_EQ(0, tkx_GetWorkSpace().m_iCurPrj);

    // The last project goes: none is current and the current project is
    // empty.
    ASSERT_EQ(1, tkx_RemoveProject(L"Beta", &out, nullptr));
    EXPECT_STREQ(L"", out.m_SName);
    EXPECT_EQ(0, out.GetRoadCount());
    EXPECT_EQ(-1, tkx_GetWorkSpace().m_iCurPrj);
    EXPECT_EQ(10000u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"CurrentPrj"));
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kPrjKey, L"PrjNumber"));
    EXPECT_STREQ(L"<missing>", GetRegString(HKEY_CURRENT_USER, kPrjKey, L"PrjName0"));

    // What the registry holds now is what the next reader sees.
    ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
    CStringArray names;
    tkx_GetAllPrjNames(&names);
    EXPECT_EQ(0, names.GetSize());
}

TEST_F(ProjectInterface, ImportingRegistersOrOpensByName)
{
    ScratchFolder elsewhere(L"elsewhere");
    tkxProject imported;
    tkxProject fresh = MakeProject(elsewhere.Path(), L"Fresh", {L"F1"});
    ASSERT_EQ(1, tkx_ImportProject(EpjOf(fresh), imported, nullptr));
    EXPECT_EQ(0, tkx_ExistProject(L"Fresh"));
    EXPECT_STREQ(fresh.m_SPath, tkx_GetWorkSpace().m_SPrjPath);

    // The same name in another folder: the registered project is opened.
    Register({L"Alpha"});
    tkxProject twin = MakeProject(elsewhere.Path(), L"Alpha", {L"Twin"});
    ASSERT_EQ(1, tkx_ImportProject(EpjOf(twin), imported, nullptr));
    EXPECT_STREQ(m_folder / L"Alpha", tkx_GetWorkSpace().m_SPrjPath);
    EXPECT_STREQ(m_folder / L"Alpha", imported.m_SPath);
    EXPECT_EQ((std::vector<std::string>{"Alpha-1", "Alpha-2"}), RoadNames(imported));
    CStringArray names;
    tkx_GetAllPrjNames(&names);
    EXPECT_EQ((std::vector<std::string>{"Fresh", "Alpha"}), Names(names));

    // Importing the registered file itself opens it.
    ASSERT_EQ(1, tkx_OpenProject(L"Fresh", nullptr, nullptr));
    ASSERT_EQ(1, tkx_ImportProject(m_folder / L"Alpha\\Alpha.EPJ", imported, nullptr));
    EXPECT_EQ(1, tkx_GetWorkSpace().m_iCurPrj);

    CString missing = elsewhere / L"Missing.EPJ";
    EXPECT_EQ(0, tkx_ImportProject(missing, imported, nullptr));
    EXPECT_EQ(ClFormat(L"导入项目文件<%s>失败!", missing.GetString()), tkx_GetLastError());
}

TEST_F(ProjectInterface, UpdatingCopiesInAndSavesOnRequest)
{
    Register({L"Alpha"});
    EXPECT_EQ(0, tkx_UpdateProject(nullptr, 1));

    tkxProject project;
    tkx_GetCurProject(project);
    sRoadInfo road;
    road.m_SRoadName = L"Ramp A";
    road.m_rDesignSpeed = 40.0;
    project.m_Roads.Add(road);
    project.m_iCurRoad = 2;
    std::string before = ReadBytes(EpjOf(project));

    ASSERT_EQ(1, tkx_UpdateProject(&project, 0));
    EXPECT_STREQ(L"Ramp A", tkx_GetWorkSpace().m_SCurRoadName);
    EXPECT_EQ(before, ReadBytes(EpjOf(project)));

    ASSERT_EQ(1, tkx_UpdateProject(&project, 1));
    tkxProject reread;
    ASSERT_EQ(1, reread.Load(EpjOf(project)));
    EXPECT_EQ((std::vector<std::string>{"Alpha-1", "Alpha-2", "Ramp A"}), RoadNames(reread));
    EXPECT_EQ(2, reread.m_iCurRoad);

    // Setting the current project saves and sends nothing.
    project.m_Roads[2].m_SRoadName = L"Ramp B";
    tkx_SetCurProject(&project);
    EXPECT_STREQ(L"Ramp B", tkx_GetWorkSpace().m_SCurRoadName);
    reread.Load(EpjOf(project));
    EXPECT_EQ("Ramp A", Utf8(reread.GetRoadName(2)));
    tkx_SetCurProject(nullptr);
    EXPECT_STREQ(L"Ramp B", tkx_GetWorkSpace().m_SCurRoadName);
}

TEST_F(ProjectInterface, RoadsAddedOrRenamedMustMakeFolderAndFileNames)
{
    Register({L"Alpha"});
    struct Case {
        const wchar_t* name;
        bool accepted;
    } cases[] = {
        {L"a..b", true},       {L"K0-K5 主线", true}, {L"..", false},     {L"..\\up", false},
        {L"a/b", false},        {L"a:b", false},       {L"con", false},   {L"", false},
        {L"trailing.", false},  {L"ramp?", false},
    };
    for (const Case& c : cases) {
        tkxProject project;
        tkx_GetCurProject(project);
        std::string before = ReadBytes(EpjOf(project));
        project.m_Roads[1].m_SRoadName = c.name;   // renamed
        tkx_SetLastError(nullptr);
        EXPECT_EQ(c.accepted ? 1 : 0, tkx_UpdateProject(&project, 1)) << Utf8(c.name);
        tkxProject current;
        tkx_GetCurProject(current);
        if (c.accepted) {
            EXPECT_STREQ(c.name, current.GetRoadName(1));
            continue;
        }
        EXPECT_EQ(tkxProject::CheckRoadName(c.name), m_boxes.LastText()) << Utf8(c.name);
        EXPECT_EQ(tkxProject::CheckRoadName(c.name), tkx_GetLastError()) << Utf8(c.name);
        EXPECT_EQ(before, ReadBytes(EpjOf(project))) << Utf8(c.name);
        EXPECT_STREQ(L"K0-K5 主线", current.GetRoadName(1)) << Utf8(c.name);
    }
}

TEST_F(ProjectInterface, PrecisionsAndSettingsOfTheCurrentProject)
{
    Register({L"Alpha"});
    Tavix4::sWorkSpace ws = tkx_GetWorkSpace();
    int* slots[] = {&ws.m_sPrjSetting0.m_iPrecision_ZH,    &ws.m_sPrjSetting0.m_iPrecision_R,
                    &ws.m_sPrjSetting0.m_iPrecision_A,     &ws.m_sPrjSetting0.m_iPrecision_XY,
                    &ws.m_sPrjSetting0.m_iPrecision_L,     &ws.m_sPrjSetting0.m_iPrecision_Width,
                    &ws.m_sPrjSetting0.m_iPrecision_Elv,   &ws.m_sPrjSetting0.m_iPrecision_Slope,
                    &ws.m_sPrjSetting0.m_iPrecision_Area,  &ws.m_sPrjSetting0.m_iPrecision_Volume};
    for (int i = 0; i < 10; ++i) *slots[i] = 10 + i;
    ws.m_sPrjSetting0.m_bReserveZero = 0;
    ws.m_sPrjSetting1.m_iZHDimStyle = 1;
    ws.m_sPrjSetting2.m_rScale = 5.5;
    tkxProject project;
    tkx_GetCurProject(project);
    std::string before = ReadBytes(EpjOf(project));

    tkx_UpdateBZSettings(ws);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(10 + i, tkx_GetDimPrecision(static_cast<Tavix4::enPrecision>(i))) << i;
    EXPECT_EQ(3, tkx_GetDimPrecision(static_cast<Tavix4::enPrecision>(10)));
    EXPECT_EQ(3, tkx_GetDimPrecision(static_cast<Tavix4::enPrecision>(-1)));
    EXPECT_STREQ(L"12K+345.678", tkx_ChangeZhToString(12345.678, 3));

    // The settings went to the settings file, not to the project file.
    EXPECT_EQ(before, ReadBytes(EpjOf(project)));
    tkxProject other;
    other.UpdateFromIni(1);
    EXPECT_EQ(19, other.m_sPrjSetting0.m_iPrecision_Volume);
    EXPECT_EQ(0, other.m_sPrjSetting0.m_bReserveZero);
    EXPECT_EQ(1, other.m_sPrjSetting1.m_iZHDimStyle);
    EXPECT_DOUBLE_EQ(5.5, other.m_sPrjSetting2.m_rScale);
}

TEST_F(ProjectInterface, RoadRecordsComeFromTheRegistrysCurrentProject)
{
    sRoadInfo road;
    short current = 99;
    CArray<sRoadInfo, sRoadInfo> roads;
    EXPECT_EQ(0, tkx_GetCurRoadInfo(road));
    EXPECT_EQ(0, tkx_GetRoadInfos(&roads, current));

    Register({L"Alpha", L"Beta"});
    ASSERT_EQ(1, tkx_GetCurRoadInfo(road));
    EXPECT_STREQ(L"Beta-1", road.m_SRoadName);

    // Another program changes the current road in the file: it is seen.
    tkxProject beta;
    ASSERT_EQ(1, beta.Load(m_folder / L"Beta\\Beta.EPJ"));
    beta.m_Roads[1].m_rDesignSpeed = 60.0;
    beta.SetCurrentRoad(1);
    ASSERT_EQ(1, beta.Save());
    ASSERT_EQ(1, tkx_GetCurRoadInfo(road));
    EXPECT_STREQ(L"Beta-2", road.m_SRoadName);
    EXPECT_DOUBLE_EQ(60.0, road.m_rDesignSpeed);
    ASSERT_EQ(1, tkx_GetRoadInfos(&roads, current));
    ASSERT_EQ(2, roads.GetSize());
    EXPECT_STREQ(L"Beta-1", roads[0].m_SRoadName);
    EXPECT_EQ(1, current);
    EXPECT_STREQ(L"Beta-2", tkx_GetWorkSpace().m_SCurRoadName);
    EXPECT_TRUE(m_boxes.Shown().empty());

    // No current road: the records still come, with the index, but the
    // answer is 0.
    beta.m_iCurRoad = -1;
    ASSERT_EQ(1, beta.Save());
    EXPECT_EQ(0, tkx_GetCurRoadInfo(road));
    EXPECT_STREQ(L"非法道路记录数!", m_boxes.LastText());
    EXPECT_EQ(0, tkx_GetRoadInfos(&roads, current));
    EXPECT_EQ(2, roads.GetSize());
    EXPECT_EQ(-1, current);

    // No roads at all.
    beta.m_Roads.RemoveAll();
    ASSERT_EQ(1, beta.Save());
    size_t shown = m_boxes.Shown().size();
    EXPECT_EQ(0, tkx_GetCurRoadInfo(road));
    EXPECT_EQ(0, tkx_GetRoadInfos(&roads, current));
    EXPECT_EQ(0, roads.GetSize());
    EXPECT_EQ(shown, m_boxes.Shown().size());
}

// ---------------------------------------------------------------------------
// Slope-template libraries

tkxTemplateBase MakeLibrary(const CString& parent, const wchar_t* name, std::vector<const wchar_t*> templates)
{
    tkxTemplateBase base;
    base.m_SName = name;
    base.m_SPath = parent + L"\\" + name;
    base.m_SDescription = CString(name) + L" 边坡模板";
    CreateDirectoryW(base.m_SPath, nullptr);
    for (const wchar_t* t : templates) base.m_STemplates.Add(t);
    EXPECT_EQ(1, base.Save());
    return base;
}

TEST_F(ProjectInterface, LibrariesAreRegisteredOpenedAndRemoved)
{
    tkxTemplateBase a = MakeLibrary(m_folder.Path(), L"Cut", {L"c1.TYP", L"c2.TYP"});
    tkxTemplateBase b = MakeLibrary(m_folder.Path(), L"Fill", {L"f1.TYP"});
    tkxTemplateBase c = MakeLibrary(m_folder.Path(), L"Mixed", {});
    EXPECT_EQ(0, tkx_AddTBase(nullptr, nullptr));
    ASSERT_EQ(1, tkx_AddTBase(&a, nullptr));
    ASSERT_EQ(1, tkx_AddTBase(&b, nullptr));
    ASSERT_EQ(1, tkx_AddTBase(&c, nullptr));
    EXPECT_STREQ(L"Fill", GetRegString(HKEY_CURRENT_USER, kTBKey, L"TBName1"));
    EXPECT_EQ(2u, GetRegDword(HKEY_CURRENT_USER, kTBKey, L"CurrentTempBase"));
    EXPECT_STREQ(b.m_SPath, tkx_GetTBasePath(L"Fill"));
    EXPECT_STREQ(L"", tkx_GetTBasePath(L"fill"));

    tkx_SetLastError(L"before");
    EXPECT_EQ(0, tkx_AddTBase(&a, nullptr));
    EXPECT_STREQ(L"已包含同名模板库, 无法添加新模板库!", m_boxes.LastText());
    EXPECT_STREQ(L"before", tkx_GetLastError());

    // A library whose file cannot be written is neither registered nor
    // current; only the file writer's own message is shown.
    tkxTemplateBase homeless;
    homeless.m_SName = L"Rock";
    homeless.m_SPath = m_folder / L"no such folder";
    size_t shown = m_boxes.Shown().size();
    EXPECT_EQ(0, tkx_AddTBase(&homeless, nullptr));
    EXPECT_EQ(shown + 1, m_boxes.Shown().size());
    EXPECT_STREQ(L"", tkx_GetTBasePath(L"Rock"));
    EXPECT_EQ(2, tkx_GetWorkSpace().m_iCurTB);
    tkxTemplateBase stays;
    tkx_GetCurTemplateBase(stays);
    EXPECT_STREQ(L"Mixed", stays.m_SName);
    EXPECT_STREQ(L"before", tkx_GetLastError());

    tkxTemplateBase out;
    ASSERT_EQ(1, tkx_OpenTBase(L"Cut", &out, nullptr));
    EXPECT_EQ((std::vector<std::string>{"c1.TYP", "c2.TYP"}), Names(out.m_STemplates));
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kTBKey, L"CurrentTempBase"));
    EXPECT_EQ(0, tkx_OpenTBase(L"Other", &out, nullptr));

    // A damaged library file: the open fails and the current one stays.
    {
        HANDLE file = CreateFileW(b.m_SPath + L"\\Fill.TPB", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
    }
    EXPECT_EQ(0, tkx_OpenTBase(L"Fill", &out, nullptr));
    tkxTemplateBase current;
    tkx_GetCurTemplateBase(current);
    EXPECT_STREQ(L"Cut", current.m_SName);
    EXPECT_EQ(0, tkx_GetWorkSpace().m_iCurTB);

    // Removing the current library opens the one now at its place.
    ASSERT_EQ(1, tkx_OpenTBase(L"Mixed", nullptr, nullptr));
    ASSERT_EQ(1, tkx_RemoveTBase(L"Mixed", &out, nullptr));
    // The last entry went; Fill, now last, is damaged: an empty library.
    EXPECT_STREQ(L"", out.m_SName);
    EXPECT_EQ(1, tkx_GetWorkSpace().m_iCurTB);
    EXPECT_STREQ(L"<missing>", GetRegString(HKEY_CURRENT_USER, kTBKey, L"TBName2"));
    ASSERT_EQ(1, tkx_RemoveTBase(L"Cut", &out, nullptr));
    EXPECT_EQ(0, tkx_RemoveTBase(L"Cut", &out, nullptr));
    EXPECT_EQ(0, tkx_RemoveTBase(L"Fill", nullptr, nullptr));
    ASSERT_EQ(1, tkx_RemoveTBase(L"Fill", &out, nullptr));
    EXPECT_EQ(-1, tkx_GetWorkSpace().m_iCurTB);
    EXPECT_EQ(10000u, GetRegDword(HKEY_CURRENT_USER, kTBKey, L"CurrentTempBase"));
    CStringArray names;
    tkx_GetAllTBNames(&names);
    EXPECT_EQ(0, names.GetSize());
}

TEST_F(ProjectInterface, UpdatingALibrarySavesOnRequest)
{
    tkxTemplateBase a = MakeLibrary(m_folder.Path(), L"Cut", {L"c1.TYP"});
    ASSERT_EQ(1, tkx_AddTBase(&a, nullptr));
    EXPECT_EQ(0, tkx_UpdateTBase(nullptr, 1));
    a.m_STemplates.Add(L"c2.TYP");
    ASSERT_EQ(1, tkx_UpdateTBase(&a, 0));
    tkxTemplateBase reread;
    ASSERT_EQ(1, reread.Load(a.m_SPath + L"\\Cut.TPB"));
    EXPECT_EQ(1, reread.m_STemplates.GetSize());
    ASSERT_EQ(1, tkx_UpdateTBase(&a, 1));
    ASSERT_EQ(1, reread.Load(a.m_SPath + L"\\Cut.TPB"));
    EXPECT_EQ(2, reread.m_STemplates.GetSize());
    tkxTemplateBase current;
    tkx_GetCurTemplateBase(current);
    EXPECT_EQ(2, current.m_STemplates.GetSize());
    CStringArray paths;
    tkx_GetAllTBPaths(&paths);
    EXPECT_EQ((std::vector<std::string>{Utf8(a.m_SPath)}), Names(paths));
}

TEST(InstallationFolder, HasNoTrailingSeparator) { EXPECT_STREQ(InstallFolder(), tkx_GetTavixPath()); }

} // namespace
