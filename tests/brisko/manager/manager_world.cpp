#include "manager_world.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "brisko/shell/Utility.h"
#include "corvane/project/TavixInterface.h"

namespace manager_test {

const wchar_t kProjectName[] = L"测试 项目";
const wchar_t kMainRoad[] = L"主线";
const wchar_t kRampRoad[] = L"匝道 B";
const char kMainDL[] = "1200.000 1180.000\r\n";
const char kMainDMX[] = "0.000 99.500\r\n300.000 101.200\r\n700.000 104.000\r\n1100.000 103.900\r\n";

namespace {

std::vector<CString>& Verbs()
{
    static std::vector<CString> verbs;
    return verbs;
}

BOOL RecordVerb(const wchar_t* verb, const wchar_t* path)
{
    Verbs().push_back(CString(verb) + L" " + path);
    return TRUE;
}

class ManagerWorld : public BriskoWorld
{
public:
    ManagerWorld() : BriskoWorld(L"brisko_manager") {}

protected:
    void Seed() override
    {
        SeedSettings({{L"MainWnd_SHOWPROJECT", 1}, {L"MainWnd_SHOWHDMWND", 1}, {L"AUTOCOMMENT", 1},
                      {L"IconReg", 1}, {L"MainWndLEFT", 0}, {L"MainWndTOP", 0}, {L"MainWndRIGHT", 1000},
                      {L"MainWndBOTTOM", 720}});
        SetShellVerbHandler(&RecordVerb);
        RemoveTree(ProjectsRoot());
        ASSERT_TRUE(CreateDirectoryW(ProjectsRoot(), nullptr));
        RestoreWorld();
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        SetShellVerbHandler(nullptr);
        RemoveTree(ProjectsRoot());
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new ManagerWorld);

tkxProject WorldProject()
{
    tkxProject project;
    project.m_SName = kProjectName;
    project.m_SPath = ProjectFolder();
    project.m_SStage = L"施工图设计";
    project.m_SCreateDate = L"2020年5月6日";
    project.m_iPrjType = 1;
    project.m_iLandform = 2;
    project.m_iClimate = 1;
    Tavix4::sRoadInfo main;
    main.m_SRoadName = kMainRoad;
    main.m_RoadLevel = Tavix4::ROAD_FIRST_CLASS;
    main.m_rDesignSpeed = 100.0;
    main.m_SStartZH = L"K0+000.000";
    main.m_SEndZH = L"K1+080.000";
    main.m_SBreakChain = L"1200.000=1180.000";
    project.m_Roads.Add(main);
    Tavix4::sRoadInfo ramp;
    ramp.m_SRoadName = kRampRoad;
    ramp.m_RoadLevel = Tavix4::ROAD_RAMP;
    ramp.m_rDesignSpeed = 40.0;
    ramp.m_SStartZH = L"K0+000.000";
    ramp.m_SEndZH = L"K0+400.000";
    project.m_Roads.Add(ramp);
    project.m_iCurRoad = 0;
    return project;
}

} // namespace

CString WorkingFolderAtStart()
{
    // Taken once: file dialogs change the current folder.
    static const CString folder = WorkingFolder();
    return folder;
}

CString ProjectsRoot()
{
    return ClFormat(L"%s\\manager_projects_%lu", ScratchRoot().GetString(), GetCurrentProcessId());
}
CString ProjectFolder() { return ProjectsRoot() + L"\\" + kProjectName; }
CString EpjPath() { return ProjectFolder() + L"\\" + kProjectName + L".EPJ"; }

CString RoadFile(const wchar_t* road, const wchar_t* ext)
{
    return ClFormat(L"%s\\%s\\%s.%s", ProjectFolder().GetString(), road, road, ext);
}

CString SettingsIni() { return g_AppInfo.GetIniFileName(L"Tavix3.ini"); }

void RestoreWorld()
{
    const CString folder = ProjectFolder();
    // The frame follows the current road's files; their folders go now.
    if (theApp.IsStarted() && theApp.MainFrame()) theApp.MainFrame()->RemoveRoadFileWatches();
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    for (const wchar_t* road : {kMainRoad, kRampRoad}) ASSERT_TRUE(CreateDirectoryW(folder + L"\\" + road, nullptr));
    WriteBytes(RoadFile(kMainRoad, L"DL"), kMainDL);
    WriteBytes(RoadFile(kMainRoad, L"DMX"), kMainDMX);
    WriteBytes(RoadFile(kMainRoad, L"SQX"), "0.000 100.000\r\n500.000 110.000 8000\r\n1100.000 104.000\r\n");
    WriteBytes(RoadFile(kMainRoad, L"HDM"), "\r\n");
    WriteBytes(RoadFile(kRampRoad, L"DMX"), "0.000 50.000\r\n400.000 52.000\r\n");
    WriteBytes(folder + L"\\地形 模型.MESH", "mesh\r\n");
    ::DeleteFileW(SettingsIni());

    // The world's project alone in the registered list, current.
    tkxProject project = WorldProject();
    ASSERT_EQ(1, project.Save());
    CStringArray names;
    tkx_GetAllPrjNames(&names);
    tkxProject scratch;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        if (names[i] != kProjectName) tkx_RemoveProject(names[i], &scratch, nullptr);
    if (tkx_ExistProject(kProjectName) < 0) {
        ASSERT_EQ(1, tkx_AddProject(&project, nullptr));
    } else {
        ASSERT_EQ(1, tkx_OpenProject(kProjectName, nullptr, nullptr));
    }
    if (!theApp.IsStarted()) return;
    tkx_GetCurProject(theApp.m_CurProject);
    theApp.SetWorkingDirectory(theApp.m_CurProject.GetWorkingDirectory());
    if (CMainFrame* frame = theApp.MainFrame()) {
        frame->SendMessage(WM_PROJECTCHANGED);
        if (CTreeViewClass* tree = frame->ProjectTree()) tree->BuildTree();
    }
}

CString WriteOtherProject(const wchar_t* name, const wchar_t* road)
{
    const CString folder = ProjectsRoot() + L"\\" + name;
    RemoveTree(folder);
    EXPECT_TRUE(CreateDirectoryW(folder, nullptr));
    EXPECT_TRUE(CreateDirectoryW(folder + L"\\" + road, nullptr));
    tkxProject project;
    project.m_SName = name;
    project.m_SPath = folder;
    project.m_SCreateDate = L"2021年1月2日";
    Tavix4::sRoadInfo info;
    info.m_SRoadName = road;
    project.m_Roads.Add(info);
    project.m_iCurRoad = 0;
    EXPECT_EQ(1, project.Save());
    return folder + L"\\" + name + L".EPJ";
}

std::vector<CString> TakeShellVerbs()
{
    std::vector<CString> verbs;
    verbs.swap(Verbs());
    return verbs;
}

void ChooseFile(CWnd* dialog, const CString& path)
{
    SetText(dialog, 1148, path);
    Press(dialog, IDOK);
}

void TakePicture(CWnd* window, const wchar_t* file, bool& taken)
{
    EXPECT_TRUE(CaptureWindow(window).SaveBmp(file));
    taken = true;
}

std::function<bool()> Taken(const bool& taken)
{
    return [&taken] { return taken; };
}

std::vector<CString> MenuItems(CMenu& menu)
{
    std::vector<CString> items;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        ::GetMenuItemInfoW(menu.GetSafeHmenu(), static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            items.emplace_back(L"-");
            continue;
        }
        CString item = text;
        if (info.fState & MFS_CHECKED) item += L"[x]";
        if (info.fState & MFS_GRAYED) item += L"[-]";
        items.push_back(item);
    }
    return items;
}

std::vector<CString> ChildTexts(CTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<CString> texts;
    for (HTREEITEM item = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); item;
         item = tree.GetNextSiblingItem(item))
        texts.push_back(tree.GetItemText(item));
    return texts;
}

HTREEITEM FindItem(CTreeCtrl& tree, const CString& text, HTREEITEM parent)
{
    for (HTREEITEM item = parent ? tree.GetChildItem(parent) : tree.GetRootItem(); item;
         item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemText(item) == text) return item;
        if (HTREEITEM found = FindItem(tree, text, item)) return found;
        if (!tree.GetChildItem(item)) continue;
    }
    return nullptr;
}

int ItemImage(CTreeCtrl& tree, HTREEITEM item, bool selected)
{
    int image = -1, selectedImage = -1;
    tree.GetItemImage(item, image, selectedImage);
    return selected ? selectedImage : image;
}

void ManagerTest::SetUp()
{
    StartProgram();
    RestoreWorld();
    frame = theApp.MainFrame();
    projectTree = frame->ProjectTree();
    fileTree = frame->FileTree();
    ASSERT_NE(nullptr, projectTree);
    ASSERT_NE(nullptr, fileTree);
    TakeShellVerbs();
    PumpUntilIdle();
    static int tests = 0;
    marker = ClFormat(L"==== %d", ++tests);
    frame->PrintToInfoWindow(L"%s", marker.GetString());
}

std::vector<CString> ManagerTest::Lines() const
{
    const std::vector<CString> all = InfoLines();
    std::vector<CString> lines;
    for (const CString& line : all) {
        if (line == marker)
            lines.clear();
        else
            lines.push_back(line);
    }
    return lines;
}

void ManagerTest::TearDown()
{
    theApp.CloseAllDocuments(TRUE);
    PumpUntilIdle();
    // File dialogs change the current folder, which the tests' scratch
    // folders and pictures are relative to.
    ::SetCurrentDirectoryW(WorkingFolderAtStart());
}

void ManagerTest::Command(CWnd* tree, UINT id) { tree->SendMessage(WM_COMMAND, id, 0); }

} // namespace manager_test
