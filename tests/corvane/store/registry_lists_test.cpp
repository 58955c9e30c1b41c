// The registered lists of projects and libraries in the registry, the
// current paths read from the registry alone, Brisko's window rectangle and
// the installation folder.
#include "corvane/base/LastError.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/project/TavixDevApp.h"
#include "store_support.h"
#include "support/MessageBoxScript.h"
#include <algorithm>

using namespace store_test;
using namespace Tavix4;

namespace {

const wchar_t kBriskoKey[] = L"SOFTWARE\\TavixSuite\\Brisko";
const wchar_t kPrjKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\PrjInfo";
const wchar_t kTBKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo";

class RegistryLists : public ::testing::Test
{
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    static void Clear()
    {
        DeleteRegTree(kBriskoKey);
        CTavixDevApp& app = TavixDevApp();
        app.m_SPrjNames.RemoveAll();
        app.m_SPrjPaths.RemoveAll();
        app.m_STBNames.RemoveAll();
        app.m_STBPaths.RemoveAll();
        app.m_iCurPrj = -1;
        app.m_iCurTB = -1;
        app.m_CurProject = tkxProject();
        app.m_CurTBase.Reset();
    }

    // A project file "<root>\<name>\<name>.EPJ" with `roads` roads.
    CString MakeProject(const wchar_t* name, int roads = 1)
    {
        CString path = folder / name;
        CreateDirectoryW(path, nullptr);
        tkxProject project;
        project.m_SName = name;
        project.m_SPath = path;
        for (int i = 0; i < roads; ++i) project.m_Roads.Add(sRoadInfo());
        project.m_iCurRoad = 0;
        EXPECT_EQ(1, project.Save());
        return path;
    }
    CString MakeLibrary(const wchar_t* name, const wchar_t* description)
    {
        CString path = folder / name;
        CreateDirectoryW(path, nullptr);
        tkxTemplateBase library;
        library.m_SName = name;
        library.m_SPath = path;
        library.m_SDescription = description;
        EXPECT_EQ(1, library.Save());
        return path;
    }
    static void RegisterEntry(int k, const wchar_t* name, const wchar_t* path)
    {
        SetRegString(kPrjKey, ClFormat(L"PrjName%d", k), name);
        SetRegString(kPrjKey, ClFormat(L"PrjPath%d", k), path);
    }
    static std::vector<CString> Names()
    {
        std::vector<CString> names;
        for (const CString& name : TavixDevApp().m_SPrjNames) names.push_back(name);
        return names;
    }

    ScratchFolder folder{L"reglists"};
    MessageBoxScript boxes;
};

} // namespace

TEST_F(RegistryLists, ReadingSkipsBlanksAndStopsAtTheFirstMissingName)
{
    RegisterEntry(0, L"P0", MakeProject(L"P0"));
    RegisterEntry(1, L"  ", MakeProject(L"P1"));
    RegisterEntry(2, L" P2 ", L" " + MakeProject(L"P2", 3) + L" ");
    RegisterEntry(3, L"P3", MakeProject(L"P3"));
    RegisterEntry(5, L"P5", MakeProject(L"P5"));
    SetRegDword(kPrjKey, L"CurrentPrj", 2);

    ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
    EXPECT_EQ((std::vector<CString>{L"P0", L"P2", L"P3"}), Names());
    EXPECT_EQ(folder / L"P2", TavixDevApp().m_SPrjPaths[1]);
    // The registered current entry 2 is the second entry kept.
    EXPECT_EQ(1, TavixDevApp().m_iCurPrj);
    EXPECT_EQ(CString(L"P2"), TavixDevApp().m_CurProject.m_SName);
    EXPECT_EQ(3, TavixDevApp().m_CurProject.GetRoadCount());
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(RegistryLists, MissingProjectFileIsReportedOnceAndBlanked)
{
    RegisterEntry(0, L"P0", MakeProject(L"P0"));
    RegisterEntry(1, L"P1", MakeProject(L"P1"));
    RegisterEntry(2, L"P2", folder / L"gone");
    RegisterEntry(3, L"P3", MakeProject(L"P3"));
    SetRegDword(kPrjKey, L"CurrentPrj", 0);

    ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
    EXPECT_EQ((std::vector<CString>{L"P0", L"P1", L"P3"}), Names());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"P2的项目文件被移动或删除。\n\n文件P2.EPJ应在%s目录中!", (folder / L"gone").GetString()),
              boxes.Shown()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Shown()[0].type);
    EXPECT_EQ(CString(L""), GetRegString(kPrjKey, L"PrjName2"));
    EXPECT_EQ(CString(L""), GetRegString(kPrjKey, L"PrjPath2"));

    ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(3u, Names().size());
}

TEST_F(RegistryLists, RegisteredCurrentIndexMapsThroughTheEntriesKept)
{
    // Entries: 0 A, 1 blank, 2 A again (another folder), 3 B, 4 gone, 5 C.
    ScratchFolder second(L"reglists_second");
    CString otherA = second.Path();
    {
        tkxProject a;
        a.m_SName = L"A";
        a.m_SPath = otherA;
        ASSERT_EQ(1, a.Save());
    }
    struct Case {
        DWORD registered;
        int expected;
        const wchar_t* current;
    } cases[] = {
        {0, 0, L"A"}, {3, 1, L"B"}, {5, 2, L"C"},     // entries kept
        {1, -1, L""}, {2, -1, L""}, {4, -1, L""},     // blank, duplicate, gone: not another project
        {10000, -1, L""}, {6, -1, L""},               // none, beyond the list
    };
    CString pathA = MakeProject(L"A");
    CString pathB = MakeProject(L"B");
    CString pathC = MakeProject(L"C");
    for (const Case& c : cases) {
        DeleteRegTree(kPrjKey);
        RegisterEntry(0, L"A", pathA);
        RegisterEntry(1, L"", L"");
        RegisterEntry(2, L"A", otherA);
        RegisterEntry(3, L"B", pathB);
        RegisterEntry(4, L"D", folder / L"gone");
        RegisterEntry(5, L"C", pathC);
        SetRegDword(kPrjKey, L"CurrentPrj", c.registered);
        ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
        EXPECT_EQ((std::vector<CString>{L"A", L"B", L"C"}), Names());
        EXPECT_EQ(pathA, TavixDevApp().m_SPrjPaths[0]) << "the first of two namesakes is kept";
        EXPECT_EQ(c.expected, TavixDevApp().m_iCurPrj) << "registered " << c.registered;
        EXPECT_EQ(CString(c.current), TavixDevApp().m_CurProject.m_SName) << "registered " << c.registered;
    }
}

TEST_F(RegistryLists, UnreadableListLeavesItEmpty)
{
    TavixDevApp().m_SPrjNames.Add(L"stale");
    TavixDevApp().m_SPrjPaths.Add(L"stale");
    EXPECT_EQ(0, tkx_GetProjectInfoFromReg(nullptr));
    EXPECT_TRUE(Names().empty());

    RegisterEntry(0, L"P0", MakeProject(L"P0"));
    EXPECT_EQ(0, tkx_GetProjectInfoFromReg(nullptr)) << "no CurrentPrj";
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(-1, TavixDevApp().m_iCurPrj);
}

TEST_F(RegistryLists, WritingSkipsMissingFilesAndKeepsTheCurrentEntry)
{
    CTavixDevApp& app = TavixDevApp();
    app.m_SPrjNames.Add(L"P0");
    app.m_SPrjPaths.Add(MakeProject(L"P0"));
    app.m_SPrjNames.Add(L"Gone");
    app.m_SPrjPaths.Add(folder / L"gone");
    app.m_SPrjNames.Add(L"P2");
    app.m_SPrjPaths.Add(MakeProject(L"P2"));
    app.m_iCurPrj = 2;
    tkx_SetLastError(nullptr);

    ASSERT_EQ(1, tkx_SetProjectInfoToReg(nullptr));
    EXPECT_EQ(CString(L"P0"), GetRegString(kPrjKey, L"PrjName0"));
    EXPECT_EQ(CString(L"P2"), GetRegString(kPrjKey, L"PrjName1"));
    EXPECT_EQ(folder / L"P2", GetRegString(kPrjKey, L"PrjPath1"));
    EXPECT_FALSE(RegValueExists(kPrjKey, L"PrjName2"));
    EXPECT_EQ(2u, GetRegDword(kPrjKey, L"PrjNumber"));
    // The current project P2 is written as entry 1, and stays current.
    EXPECT_EQ(1u, GetRegDword(kPrjKey, L"CurrentPrj"));
    EXPECT_EQ(2, app.m_iCurPrj);
    EXPECT_EQ(3, app.m_SPrjNames.GetSize());
    CString message = ClFormat(L"项目文件Gone.EPJ被移动或删除。\n\n文件Gone.EPJ应在%s目录中!", (folder / L"gone").GetString());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(message, boxes.Shown()[0].text);
    EXPECT_EQ(message, tkx_GetLastError());

    // A current entry that could not be written leaves no current entry.
    app.m_iCurPrj = 1;
    ASSERT_EQ(1, tkx_SetProjectInfoToReg(nullptr));
    EXPECT_EQ(kNoCurrentEntry, GetRegDword(kPrjKey, L"CurrentPrj"));
}

TEST_F(RegistryLists, WritingAnEmptyListAndReadingItBack)
{
    ASSERT_EQ(1, tkx_SetProjectInfoToReg(nullptr));
    EXPECT_EQ(0u, GetRegDword(kPrjKey, L"PrjNumber"));
    EXPECT_EQ(kNoCurrentEntry, GetRegDword(kPrjKey, L"CurrentPrj"));
    EXPECT_EQ(-1, TavixDevApp().m_iCurPrj);

    ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
    EXPECT_TRUE(Names().empty());
    EXPECT_EQ(-1, TavixDevApp().m_iCurPrj);
}

TEST_F(RegistryLists, WrittenListReadsBack)
{
    CTavixDevApp& app = TavixDevApp();
    app.m_SPrjNames.Add(L"项目一");
    app.m_SPrjPaths.Add(MakeProject(L"项目一"));
    app.m_SPrjNames.Add(L"Two");
    app.m_SPrjPaths.Add(MakeProject(L"Two", 2));
    app.m_iCurPrj = 1;
    ASSERT_EQ(1, tkx_SetProjectInfoToReg(nullptr));

    app.m_SPrjNames.RemoveAll();
    app.m_SPrjPaths.RemoveAll();
    app.m_iCurPrj = -1;
    ASSERT_EQ(1, tkx_GetProjectInfoFromReg(nullptr));
    EXPECT_EQ((std::vector<CString>{L"项目一", L"Two"}), Names());
    EXPECT_EQ(1, app.m_iCurPrj);
    EXPECT_EQ(2, app.m_CurProject.GetRoadCount());

    tkx_RemoveProjectInfoFromReg();
    EXPECT_FALSE(RegValueExists(kPrjKey, L"CurrentPrj"));
    EXPECT_EQ(0, tkx_GetProjectInfoFromReg(nullptr));
}

TEST_F(RegistryLists, LibraryListReadsWritesAndLoadsTheCurrentLibrary)
{
    CTavixDevApp& app = TavixDevApp();
    app.m_STBNames.Add(L"Road");
    app.m_STBPaths.Add(MakeLibrary(L"Road", L"路基"));
    app.m_STBNames.Add(L"Gone");
    app.m_STBPaths.Add(folder / L"gone");
    app.m_STBNames.Add(L"City");
    app.m_STBPaths.Add(MakeLibrary(L"City", L"城市"));
    app.m_iCurTB = 2;
    ASSERT_EQ(1, tkx_SetTemplateBaseInfoToReg(nullptr));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"Gone的模板库文件Gone.TPB被移动或删除。\n\n文件Gone.TPB应在%s目录中!", (folder / L"gone").GetString()),
              boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"City"), GetRegString(kTBKey, L"TBName1"));
    EXPECT_EQ(2u, GetRegDword(kTBKey, L"TempBaseNumber"));
    EXPECT_EQ(1u, GetRegDword(kTBKey, L"CurrentTempBase"));

    // A registered library whose file went away, when read.
    SetRegString(kTBKey, L"TBName2", L"Lost");
    SetRegString(kTBKey, L"TBPath2", folder / L"lost");
    ASSERT_EQ(1, tkx_GetTemplateBaseInfoFromReg(nullptr));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"Lost的模板库文件被移动或删除。\n\n文件Lost.TPB应在%s目录中!", (folder / L"lost").GetString()),
              boxes.Shown()[1].text);
    ASSERT_EQ(2, app.m_STBNames.GetSize());
    EXPECT_EQ(1, app.m_iCurTB);
    EXPECT_EQ(CString(L"City"), app.m_CurTBase.m_SName);
    EXPECT_EQ(CString(L"城市"), app.m_CurTBase.m_SDescription);

    SetRegDword(kTBKey, L"CurrentTempBase", kNoCurrentEntry);
    ASSERT_EQ(1, tkx_GetTemplateBaseInfoFromReg(nullptr));
    EXPECT_EQ(-1, app.m_iCurTB);
    EXPECT_TRUE(app.m_CurTBase.m_SName.IsEmpty());

    tkx_RemoveTemplateBaseInfoFromReg();
    EXPECT_FALSE(RegValueExists(kTBKey, L"CurrentTempBase"));
}

TEST_F(RegistryLists, CurrentPathFromTheRegistryAlone)
{
    CString path;
    EXPECT_EQ(0, tkx_GetCurPrjPath(path));

    RegisterEntry(0, L"P0", MakeProject(L"P0"));
    RegisterEntry(1, L"", L"");
    RegisterEntry(2, L"P2", folder / L"gone");
    RegisterEntry(3, L"P3", MakeProject(L"P3"));
    struct Case {
        DWORD registered;
        int found;
        CString file;
    } cases[] = {
        {0, 1, folder / L"P0\\P0.EPJ"},
        {3, 1, folder / L"P3\\P3.EPJ"},
        {2, 0, L""},   // its file is gone: no other project instead
        {1, 0, L""},
        {kNoCurrentEntry, 0, L""},
    };
    for (const Case& c : cases) {
        SetRegDword(kPrjKey, L"CurrentPrj", c.registered);
        path = L"stale";
        EXPECT_EQ(c.found, tkx_GetCurPrjPath(path)) << c.registered;
        EXPECT_EQ(c.file, path) << c.registered;
    }
    // Nothing is shown and nothing blanked.
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(CString(L"P2"), GetRegString(kPrjKey, L"PrjName2"));
    EXPECT_TRUE(TavixDevApp().m_SPrjNames.IsEmpty());

    SetRegString(kTBKey, L"TBName0", L"Road");
    SetRegString(kTBKey, L"TBPath0", MakeLibrary(L"Road", L""));
    SetRegDword(kTBKey, L"CurrentTempBase", 0);
    EXPECT_EQ(1, tkx_GetCurTBPath(path));
    EXPECT_EQ(folder / L"Road\\Road.TPB", path);
}

TEST_F(RegistryLists, BriskoRectangleNeedsItsKey)
{
    const wchar_t kSettings[] = L"SOFTWARE\\TavixSuite\\Brisko\\Settings";
    tkx_SetREG_BriskoRect(CRect(10, 20, 300, 400));
    EXPECT_FALSE(RegValueExists(kSettings, L"MainWndLEFT"));

    SetRegDword(kSettings, L"Other", 1);
    tkx_SetREG_BriskoRect(CRect(-10, 20, 300, 400));
    EXPECT_EQ(DWORD(-10), GetRegDword(kSettings, L"MainWndLEFT"));
    EXPECT_EQ(20u, GetRegDword(kSettings, L"MainWndTOP"));
    EXPECT_EQ(300u, GetRegDword(kSettings, L"MainWndRIGHT"));
    EXPECT_EQ(400u, GetRegDword(kSettings, L"MainWndBOTTOM"));
}

TEST_F(RegistryLists, InstallationFolderFromTheMachineKey)
{
    // The machine hive is redirected to a scratch key for this test only.
    HKEY machine = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"ScratchMachine", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &machine, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine));
    CString path = L"unchanged";
    tkx_SetLastError(nullptr);
    int missingKey = tkx_GetSoftwarePath(path);
    CString missingKeyText = tkx_GetLastError();
    HKEY suite = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TavixSuite\\TAVIX 3", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &suite, nullptr);
    int missingValue = tkx_GetSoftwarePath(path);
    CString missingValueText = tkx_GetLastError();
    const wchar_t folderName[] = L"C:\\Program Files\\TAVIX 3";
    RegSetValueExW(suite, L"PathName", 0, REG_SZ, reinterpret_cast<const BYTE*>(folderName), sizeof(folderName));
    RegCloseKey(suite);
    int found = tkx_GetSoftwarePath(path);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(machine);
    DeleteRegTree(L"ScratchMachine");

    EXPECT_EQ(0, missingKey);
    EXPECT_EQ(CString(L"注册表中未搜索到TAVIX的安装信息!"), missingKeyText);
    EXPECT_EQ(0, missingValue);
    EXPECT_EQ(CString(L"无法获取注册表中TAVIX的安装路径!"), missingValueText);
    EXPECT_EQ(1, found);
    EXPECT_EQ(CString(folderName), path);
}

TEST_F(RegistryLists, StoringTheProjectListTellsTheSheetSetWindows)
{
    CadHost host(L"--sheetset", L"sheetset");
    ASSERT_TRUE(host.Ready());
    CTavixDevApp& app = TavixDevApp();
    CString path = MakeProject(L"图纸项目");
    app.m_SPrjNames.Add(L"图纸项目");
    app.m_SPrjPaths.Add(path);
    app.m_iCurPrj = 0;
    app.m_CurProject.m_SName = L"图纸项目";
    app.m_CurProject.m_SPath = path;
    ASSERT_EQ(1, tkx_SetProjectInfoToReg(nullptr));

    std::string expected = "SHEETSET 0 4096 " +
                           ToHex(WideBuffer(ClFormat(L"ChangePRJ:%s;%s", path.GetString(), L"图纸项目"), 4096));
    std::vector<std::string> records = host.Records();
    EXPECT_NE(records.end(), std::find(records.begin(), records.end(), expected)) << records.size() << " records";
}
