// The project tree: what it shows, its context menus, and its project and
// road commands through the library's project store.
#include "manager_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"
#include "support/StandinReady.h"

using namespace manager_test;

namespace {

class ProjectTreeTest : public ManagerTest
{
protected:
    CTreeCtrl& Tree() { return projectTree->GetTreeCtrl(); }
    HTREEITEM RoadItem(const wchar_t* road, bool current = false)
    {
        return FindItem(Tree(), CString(L"道路名称: ") + road + (current ? L"<当前道路>" : L""), projectTree->RoadsItem());
    }
    // The project as its file holds it now.
    tkxProject Saved()
    {
        tkxProject project;
        EXPECT_EQ(1, project.Load(EpjPath()));
        return project;
    }
    std::vector<CString> RoadNames(const tkxProject& project)
    {
        std::vector<CString> names;
        for (const Tavix4::sRoadInfo& road : project.m_Roads) names.push_back(road.m_SRoadName);
        return names;
    }
};

// The UTF-16 texts of a stand-in's records of the kind, from its record
// file ("KIND <hex bytes>" lines).
std::vector<CString> StandinRecords(const CString& log, const std::string& kind)
{
    std::vector<CString> texts;
    const std::string records = ReadBytes(log);
    size_t start = 0;
    while (start < records.size()) {
        size_t end = records.find('\n', start);
        if (end == std::string::npos) end = records.size();
        const std::string line = records.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, kind.size() + 1, kind + " ") != 0) continue;
        std::wstring text;
        for (size_t i = kind.size() + 1; i + 3 < line.size(); i += 4)
            text.push_back(static_cast<wchar_t>(std::stoul(line.substr(i + 2, 2) + line.substr(i, 2), nullptr, 16)));
        texts.emplace_back(text.c_str());
    }
    return texts;
}

} // namespace

TEST_F(ProjectTreeTest, TheTreeShowsTheProjectItsRoadsAndTerrainModels)
{
    CTreeCtrl& tree = Tree();
    HTREEITEM root = projectTree->ProjectItem();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CString(L"项目名称: 测试 项目"), tree.GetItemText(root));
    EXPECT_EQ(0, ItemImage(tree, root));
    EXPECT_EQ(1, ItemImage(tree, root, true));
    const std::vector<CString> header = {
        L"项目路径: " + ProjectFolder(), L"设计阶段: 施工图设计",   L"创建时间: 2020年5月6日",
        L"工程类型: 互通立交",           L"地区类型: 山岭区 积雪冰冻地区", L"道路信息: <包含2条道路>",
        L"数模信息：<包含1个数模>"};
    EXPECT_EQ(header, ChildTexts(tree, root));
    const int images[] = {4, 8, 6, 10, 14, 4, 4};
    int i = 0;
    for (HTREEITEM item = tree.GetChildItem(root); item; item = tree.GetNextSiblingItem(item), ++i)
        EXPECT_EQ(images[i], ItemImage(tree, item)) << Utf8(tree.GetItemText(item));

    EXPECT_EQ((std::vector<CString>{L"道路名称: 主线<当前道路>", L"道路名称: 匝道 B"}),
              ChildTexts(tree, projectTree->RoadsItem()));
    HTREEITEM main = RoadItem(kMainRoad, true);
    EXPECT_EQ(3, ItemImage(tree, main));
    EXPECT_EQ((std::vector<CString>{L"道路等级: 一级公路", L"设计车速: 100KM/H", L"起点桩号: K0+000.000",
                                    L"终点桩号: K1+080.000", L"断链: 1200.000=1180.000"}),
              ChildTexts(tree, main));
    EXPECT_TRUE(tree.GetItemState(main, TVIS_EXPANDED) & TVIS_EXPANDED);
    HTREEITEM ramp = RoadItem(kRampRoad);
    EXPECT_EQ(2, ItemImage(tree, ramp));
    EXPECT_FALSE(tree.GetItemState(ramp, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(L"无断链", ChildTexts(tree, ramp).back());
    EXPECT_EQ(12, ItemImage(tree, FindItem(tree, L"无断链", ramp)));
    HTREEITEM model = FindItem(tree, L"地形 模型.MESH", projectTree->TerrainItem());
    ASSERT_NE(nullptr, model);
    EXPECT_EQ(20, ItemImage(tree, model));
    EXPECT_EQ(21, ItemImage(tree, model, true));

    frame->ShowProjectBar();
    frame->m_wndProjectBar.SetActiveView(0);
    PumpUntilIdle();
    EXPECT_TRUE(CaptureWindow(&frame->m_wndProjectBar).SaveBmp(L"project_tree.bmp"));

    // A project type other than the three has no item; a project without
    // name shows nothing, and its menu offers only what needs no project.
    theApp.m_CurProject.m_iPrjType = 3;
    projectTree->BuildTree();
    EXPECT_EQ(nullptr, FindItem(tree, L"工程类型: 互通立交"));
    EXPECT_EQ(6u, ChildTexts(tree, projectTree->ProjectItem()).size());
    theApp.m_CurProject.m_SName.Empty();
    projectTree->BuildTree();
    EXPECT_EQ(0u, tree.GetCount());
    EXPECT_EQ(nullptr, projectTree->ProjectItem());
    projectTree->PrepareMenu(nullptr);
    EXPECT_EQ((std::vector<CString>{L"新建项目", L"打开项目", L"导入项目", L"导出项目压缩包[-]", L"项目设置...[-]"}),
              MenuItems(projectTree->ContextMenu()));
}

// A road whose folder can be neither found nor made is not shown, and its
// record stays in the project and in the file the next save writes.
TEST_F(ProjectTreeTest, ARoadWhoseFolderCannotBeMadeIsLeftOutAndKept)
{
    MessageBoxScript boxes;
    RemoveTree(ProjectFolder() + L"\\" + kRampRoad);
    WriteBytes(ProjectFolder() + L"\\" + kRampRoad, "a file where the folder should be\r\n");
    projectTree->BuildTree();
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.Shown()[0].text.Find(L"道路<匝道 B>的路径<"));
    EXPECT_EQ(0, boxes.Shown()[1].text.Find(L"无法创建目录["));
    EXPECT_EQ(std::vector<CString>{L"道路名称: 主线<当前道路>"}, ChildTexts(Tree(), projectTree->RoadsItem()));
    EXPECT_EQ(CString(L"道路信息: <包含2条道路>"), Tree().GetItemText(projectTree->RoadsItem()));
    ASSERT_EQ(2, theApp.m_CurProject.GetRoadCount());
    // A command that saves the project keeps the record.
    DialogScript script;
    script.Then([](CWnd* d) { Press(d, IDOK); });
    projectTree->PrepareMenu(RoadItem(kMainRoad, true));
    Command(projectTree, ID_ROAD_PROPERTIES);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(ClFormat(L"修改道路[%s]属性", kMainRoad), Lines().back());
    EXPECT_EQ((std::vector<CString>{kMainRoad, kRampRoad}), RoadNames(Saved()));
}

TEST_F(ProjectTreeTest, TheContextMenuFollowsTheItem)
{
    const std::vector<CString> project = {L"新建项目", L"打开项目", L"导入项目", L"导出项目压缩包", L"删除当前项目记录",
                                          L"-",        L"项目设置...", L"打开项目文件夹", L"-"};
    auto with = [&](std::initializer_list<CString> rest) {
        std::vector<CString> items = project;
        items.insert(items.end(), rest);
        return items;
    };
    CTreeCtrl& tree = Tree();
    for (HTREEITEM item : {projectTree->ProjectItem(), projectTree->RoadsItem(), projectTree->TerrainItem(),
                           FindItem(tree, L"地形 模型.MESH"), static_cast<HTREEITEM>(nullptr)}) {
        projectTree->PrepareMenu(item);
        EXPECT_EQ(with({L"创建道路", L"导入道路"}), MenuItems(projectTree->ContextMenu()));
    }
    // A road's item or any of its data: the road menu of that road.
    projectTree->PrepareMenu(FindItem(tree, L"设计车速: 100KM/H"));
    EXPECT_EQ(0, projectTree->m_nSelectedRoad);
    EXPECT_EQ(with({L"设置为当前道路[x]", L"创建道路", L"删除道路", L"导入道路", L"上移记录[-]", L"下移记录", L"-",
                    L"道路属性"}),
              MenuItems(projectTree->ContextMenu()));
    projectTree->PrepareMenu(RoadItem(kRampRoad));
    EXPECT_EQ(1, projectTree->m_nSelectedRoad);
    EXPECT_EQ(with({L"设置为当前道路", L"创建道路", L"删除道路", L"导入道路", L"上移记录", L"下移记录[-]", L"-",
                    L"道路属性"}),
              MenuItems(projectTree->ContextMenu()));
    // Another item leaves the selected road as it was.
    projectTree->PrepareMenu(projectTree->RoadsItem());
    EXPECT_EQ(1, projectTree->m_nSelectedRoad);
}

TEST_F(ProjectTreeTest, TheCurrentRoadIsSetAndRoadsMoved)
{
    MessageBoxScript boxes;
    Tree().SelectItem(FindItem(Tree(), L"终点桩号: K0+400.000"));
    Command(projectTree, ID_ROAD_SETCURRENT);
    EXPECT_EQ(1, theApp.m_CurProject.m_iCurRoad);
    EXPECT_EQ(1, Saved().m_iCurRoad);
    EXPECT_EQ(CString(kRampRoad), tkx_GetWorkSpace().m_SCurRoadName);
    EXPECT_NE(nullptr, RoadItem(kRampRoad, true));
    EXPECT_EQ(CString(L"道路名称: 匝道 B"), fileTree->GetTreeCtrl().GetItemText(fileTree->RootItem()));
    EXPECT_EQ(ProjectFolder() + L"\\匝道 B", theApp.m_SWorkingDirectory);
    EXPECT_EQ(std::vector<CString>{L"设置当前道路为：匝道 B"}, Lines());

    // The current road keeps being current under its new place.
    projectTree->PrepareMenu(RoadItem(kRampRoad, true));
    Command(projectTree, ID_ROAD_MOVEUP);
    EXPECT_EQ((std::vector<CString>{kRampRoad, kMainRoad}), RoadNames(Saved()));
    EXPECT_EQ(0, Saved().m_iCurRoad);
    projectTree->PrepareMenu(RoadItem(kRampRoad, true));
    Command(projectTree, ID_ROAD_MOVEDOWN);
    EXPECT_EQ((std::vector<CString>{kMainRoad, kRampRoad}), RoadNames(Saved()));
    EXPECT_EQ(1, Saved().m_iCurRoad);
    EXPECT_EQ(CString(L"道路记录[匝道 B]向下移动."), Lines().back());
    // Moving its upper neighbour down does the same; the ends do nothing.
    projectTree->PrepareMenu(RoadItem(kMainRoad));
    Command(projectTree, ID_ROAD_MOVEDOWN);
    EXPECT_EQ((std::vector<CString>{kRampRoad, kMainRoad}), RoadNames(Saved()));
    EXPECT_EQ(0, Saved().m_iCurRoad);
    projectTree->m_nSelectedRoad = 0;
    Command(projectTree, ID_ROAD_MOVEUP);
    projectTree->m_nSelectedRoad = 1;
    Command(projectTree, ID_ROAD_MOVEDOWN);
    EXPECT_EQ((std::vector<CString>{kRampRoad, kMainRoad}), RoadNames(Saved()));
    EXPECT_TRUE(boxes.Shown().empty());
}

// Deleting asks first and keeps the files; the current road follows its
// record, and with the last road gone there is no current road.
TEST_F(ProjectTreeTest, RoadsAreDeletedDownToNone)
{
    MessageBoxScript boxes;
    projectTree->PrepareMenu(RoadItem(kMainRoad, true));
    boxes.Answer(IDNO);
    Command(projectTree, ID_ROAD_DELETE);
    EXPECT_EQ(2, Saved().GetRoadCount());
    EXPECT_EQ(CString(L"是否删除道路<主线>?"), boxes.LastText());

    boxes.Answer(IDYES);
    Command(projectTree, ID_ROAD_DELETE);
    tkxProject saved = Saved();
    EXPECT_EQ(std::vector<CString>{kRampRoad}, RoadNames(saved));
    EXPECT_EQ(0, saved.m_iCurRoad); // the first road follows the deleted first one
    EXPECT_TRUE(FileExists(RoadFile(kMainRoad, L"DMX")));
    EXPECT_EQ(CString(L"道路名称: 匝道 B"), fileTree->GetTreeCtrl().GetItemText(fileTree->RootItem()));

    projectTree->PrepareMenu(RoadItem(kRampRoad, true));
    boxes.Answer(IDYES);
    Command(projectTree, ID_ROAD_DELETE);
    saved = Saved();
    EXPECT_EQ(0, saved.GetRoadCount());
    EXPECT_EQ(-1, saved.m_iCurRoad);
    EXPECT_EQ(-1, theApp.m_CurProject.m_iCurRoad);
    EXPECT_EQ(std::vector<CString>{L"未定义当前道路"}, ChildTexts(fileTree->GetTreeCtrl(), nullptr));
    EXPECT_EQ(ProjectFolder(), theApp.m_SWorkingDirectory);
    EXPECT_EQ((std::vector<CString>{L"删除道路：主线", L"删除道路：匝道 B"}), Lines());
    // No road selected any more: nothing happens.
    Command(projectTree, ID_ROAD_DELETE);
    EXPECT_EQ(3u, boxes.Shown().size());
}

// The current road deleted from the end of the list: the road before it
// becomes current.
TEST_F(ProjectTreeTest, DeletingTheCurrentLastRoadMakesTheOneBeforeCurrent)
{
    MessageBoxScript boxes;
    Tree().SelectItem(FindItem(Tree(), L"终点桩号: K0+400.000"));
    Command(projectTree, ID_ROAD_SETCURRENT);
    ASSERT_EQ(1, Saved().m_iCurRoad);

    projectTree->PrepareMenu(RoadItem(kRampRoad, true));
    boxes.Answer(IDYES);
    Command(projectTree, ID_ROAD_DELETE);
    tkxProject saved = Saved();
    EXPECT_EQ(std::vector<CString>{kMainRoad}, RoadNames(saved));
    EXPECT_EQ(0, saved.m_iCurRoad);
    EXPECT_EQ(0, theApp.m_CurProject.m_iCurRoad);
    EXPECT_NE(nullptr, RoadItem(kMainRoad, true));
    EXPECT_EQ(CString(L"道路名称: 主线"), fileTree->GetTreeCtrl().GetItemText(fileTree->RootItem()));
    EXPECT_EQ(ProjectFolder() + L"\\主线", theApp.m_SWorkingDirectory);
    EXPECT_EQ(CString(L"删除道路：匝道 B"), Lines().back());
    EXPECT_EQ(1u, boxes.Shown().size());
}

// A new road is appended and made current when asked; a save that fails is
// said to have failed.  The properties keep the road's user lists.
TEST_F(ProjectTreeTest, RoadsAreCreatedAndEdited)
{
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([&](CWnd* d) {
        SetText(d, IDC_ROAD_NAME, L"支线");
        SetText(d, IDC_ROAD_SPEED, L"60");
        boxes.Answer(IDYES);
        Press(d, IDOK);
    });
    Command(projectTree, ID_ROAD_NEW);
    tkxProject saved = Saved();
    EXPECT_EQ((std::vector<CString>{kMainRoad, kRampRoad, L"支线"}), RoadNames(saved));
    EXPECT_EQ(2, saved.m_iCurRoad);
    EXPECT_EQ(60.0, saved.m_Roads[2].m_rDesignSpeed);
    EXPECT_NE(nullptr, RoadItem(L"支线", true));
    EXPECT_EQ(CString(L"道路名称: 支线"), fileTree->GetTreeCtrl().GetItemText(fileTree->RootItem()));
    EXPECT_EQ(std::vector<CString>{L"创建新道路: 支线"}, Lines());

    DialogScript failing;
    failing.Then([&](CWnd* d) {
        SetText(d, IDC_ROAD_NAME, L"副线");
        d->CheckDlgButton(IDC_ROAD_CURRENT, BST_UNCHECKED);
        boxes.Answer(IDYES);
        Press(d, IDOK);
    });
    {
        FailingWrites writes(ProjectFolder());
        Command(projectTree, ID_ROAD_NEW);
    }
    EXPECT_EQ(CString(L"创建新道路[副线]失败!"), Lines().back());
    EXPECT_EQ(3, Saved().GetRoadCount());

    // Properties: the road's values change, its user lists stay.
    theApp.m_CurProject.m_Roads[1].m_SText4 = L"C:\\资料\\说明.txt;";
    DialogScript edit;
    edit.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"40"), GetText(d, IDC_ROAD_SPEED));
        EXPECT_EQ(BST_UNCHECKED, d->IsDlgButtonChecked(IDC_ROAD_CURRENT));
        EXPECT_EQ(BST_UNCHECKED, d->IsDlgButtonChecked(IDC_ROAD_HASCHAIN));
        SetText(d, IDC_ROAD_SPEED, L"30");
        SetText(d, IDC_ROAD_CHAIN, L"200=210");
        d->CheckDlgButton(IDC_ROAD_HASCHAIN, BST_CHECKED);
        d->CheckDlgButton(IDC_ROAD_CURRENT, BST_CHECKED);
        Press(d, IDOK);
    });
    projectTree->PrepareMenu(RoadItem(kRampRoad));
    Command(projectTree, ID_ROAD_PROPERTIES);
    saved = Saved();
    EXPECT_EQ(30.0, saved.m_Roads[1].m_rDesignSpeed);
    EXPECT_EQ(CString(L"200=210"), saved.m_Roads[1].m_SBreakChain);
    EXPECT_EQ(CString(L"C:\\资料\\说明.txt;"), saved.m_Roads[1].m_SText4);
    EXPECT_EQ(1, saved.m_iCurRoad);
    EXPECT_EQ(CString(L"修改道路[匝道 B]属性"), Lines().back());
    EXPECT_EQ(CString(L"断链: 200=210"), ChildTexts(Tree(), RoadItem(kRampRoad, true)).back());
}

// The files of a road in another folder become a new road's: the break
// chain and the stations of its ground line fill the dialog.  Cancel brings
// the current road's data back; a copy that fails is said to have failed.
TEST_F(ProjectTreeTest, ARoadIsImportedFromAnotherFolder)
{
    MessageBoxScript boxes;
    ScratchFolder source(L"import road");
    WriteBytes(source / L"老路.DL", "// 断链\r\n500.000 480.000\r\n");
    WriteBytes(source / L"老路.DMX", "0 10\r\n450 11\r\n600_2 12\r\n");
    WriteBytes(source / L"老路.SQX", "0 10\r\n600_2 12\r\n");
    WriteBytes(source / L"notes.txt", "x\r\n");

    // Cancelled: the current road's profile is there again.
    const int groundPoints = CurRoadProfile.GetDMXCount();
    DialogScript cancelled;
    cancelled.Then([&](CWnd* d) { ChooseFile(d, source / L"老路.DMX"); });
    cancelled.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"老路"), GetText(d, IDC_ROAD_NAME));
        EXPECT_EQ(CString(L"500.000=480.000,"), GetText(d, IDC_ROAD_CHAIN));
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_ROAD_HASCHAIN));
        EXPECT_EQ(CString(L"K0+000.000"), GetText(d, IDC_ROAD_START));
        EXPECT_EQ(0, GetText(d, IDC_ROAD_END).Find(L"K0+600.000"));
        EXPECT_EQ(3, CurRoadProfile.GetDMXCount());
        Press(d, IDCANCEL);
    });
    Command(projectTree, ID_ROAD_IMPORT);
    EXPECT_FALSE(cancelled.StepsLeft());
    EXPECT_EQ(groundPoints, CurRoadProfile.GetDMXCount());
    EXPECT_EQ(2, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(2, Saved().GetRoadCount());

    DialogScript script;
    script.Then([&](CWnd* d) { ChooseFile(d, source / L"老路.SQX"); });
    script.Then([&](CWnd* d) {
        boxes.Answer(IDYES); // the road's folder
        Press(d, IDOK);
    });
    Command(projectTree, ID_ROAD_IMPORT);
    EXPECT_FALSE(script.StepsLeft());
    tkxProject saved = Saved();
    ASSERT_EQ((std::vector<CString>{kMainRoad, kRampRoad, L"老路"}), RoadNames(saved));
    EXPECT_EQ(CString(L"500.000=480.000,"), saved.m_Roads[2].m_SBreakChain);
    EXPECT_EQ(2, saved.m_iCurRoad);
    EXPECT_EQ(ReadBytes(source / L"老路.DMX"), ReadBytes(RoadFile(L"老路", L"DMX")));
    EXPECT_TRUE(FileExists(ProjectFolder() + L"\\老路\\notes.txt"));
    EXPECT_EQ(CString(L"导入道路：老路"), Lines().back());
    EXPECT_EQ(3, CurRoadProfile.GetDMXCount()); // the new current road's

    // A copy that fails: the record is kept, the import said to have failed,
    // and none of the road's files is copied.
    ASSERT_TRUE(CreateDirectoryW(ProjectFolder() + L"\\新路", nullptr));
    ASSERT_TRUE(CreateDirectoryW(ProjectFolder() + L"\\新路\\notes.txt", nullptr));
    DialogScript failing;
    failing.Then([&](CWnd* d) { ChooseFile(d, source / L"老路.DMX"); });
    failing.Then([&](CWnd* d) {
        SetText(d, IDC_ROAD_NAME, L"新路");
        Press(d, IDOK);
    });
    Command(projectTree, ID_ROAD_IMPORT);
    EXPECT_EQ(4, Saved().GetRoadCount());
    EXPECT_EQ(CString(L"导入道路[新路]失败!"), Lines().back());
    EXPECT_FALSE(FileExists(RoadFile(L"新路", L"DMX")));
}

// A project file is loaded and registered on its own: only when that worked
// does it become the application's project.
TEST_F(ProjectTreeTest, AProjectFileIsImported)
{
    MessageBoxScript boxes;
    const std::string worldBytes = ReadBytes(EpjPath());
    const CString other = WriteOtherProject(L"外来 项目", L"甲线");

    // Registration fails (the project file cannot be written): nothing
    // changes and no success is reported.
    {
        FailingWrites writes(ProjectsRoot() + L"\\外来 项目");
        projectTree->ImportProjectFile(other);
    }
    EXPECT_EQ(CString(kProjectName), theApp.m_CurProject.m_SName);
    EXPECT_EQ(2, theApp.m_CurProject.GetRoadCount());
    EXPECT_EQ(CString(kProjectName), tkx_GetWorkSpace().m_SPrjName);
    EXPECT_EQ(-1, tkx_ExistProject(L"外来 项目"));
    EXPECT_EQ(worldBytes, ReadBytes(EpjPath()));
    EXPECT_EQ(ClFormat(L"导入项目[%s]失败!", other.GetString()), Lines().back());
    for (const ShownMessageBox& box : boxes.Shown()) EXPECT_EQ(-1, box.text.Find(L"导入设计项目")) << Utf8(box.text);

    // A file that is no project file.
    const size_t shown = boxes.Shown().size();
    WriteBytes(ProjectsRoot() + L"\\坏.EPJ", "no project\r\n");
    projectTree->ImportProjectFile(ProjectsRoot() + L"\\坏.EPJ");
    ASSERT_EQ(shown + 2, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"导入项目文件<%s\\坏.EPJ>失败!", ProjectsRoot().GetString()), boxes.LastText());
    EXPECT_EQ(CString(kProjectName), theApp.m_CurProject.m_SName);

    // The project that is open, and a name registered under another folder.
    projectTree->ImportProjectFile(EpjPath());
    EXPECT_EQ(ClFormat(L"项目<%s>已经打开!", kProjectName), boxes.LastText());
    const CString twin = ProjectsRoot() + L"\\别处";
    ASSERT_TRUE(CreateDirectoryW(twin, nullptr));
    ASSERT_TRUE(CopyFileW(EpjPath(), twin + L"\\测试 项目.EPJ", FALSE));
    projectTree->ImportProjectFile(twin + L"\\测试 项目.EPJ");
    EXPECT_EQ(ClFormat(L"项目<%s>已经包含在项目表中，请将<%s>文件改名后重试!", kProjectName,
                       (twin + L"\\测试 项目.EPJ").GetString()),
              boxes.LastText());
    EXPECT_EQ(worldBytes, ReadBytes(EpjPath()));

    // Through the command's file dialog: registered, current, reported.
    DialogScript script;
    script.Then([&](CWnd* d) { ChooseFile(d, other); });
    Command(projectTree, ID_PROJECT_IMPORT);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(CString(L"外来 项目"), theApp.m_CurProject.m_SName);
    EXPECT_EQ(CString(L"外来 项目"), tkx_GetWorkSpace().m_SPrjName);
    EXPECT_EQ(CString(L"导入设计项目[外来 项目],\n\n当前道路[甲线]: 第1条, 共1条道路."), boxes.LastText());
    EXPECT_EQ(CString(L"导入项目:外来 项目"), Lines().back());
    EXPECT_EQ(CString(L"项目名称: 外来 项目"), Tree().GetItemText(projectTree->ProjectItem()));
    EXPECT_EQ(CString(L"道路名称: 甲线"), fileTree->GetTreeCtrl().GetItemText(fileTree->RootItem()));
    EXPECT_EQ(worldBytes, ReadBytes(EpjPath()));

    // Importing the registered one again opens it by its name.
    projectTree->ImportProjectFile(EpjPath());
    EXPECT_EQ(CString(kProjectName), theApp.m_CurProject.m_SName);
    EXPECT_EQ(ClFormat(L"设置当前项目:%s", kProjectName), Lines().back());
}

// The record goes, the folder stays; the folder is opened with "explore".
TEST_F(ProjectTreeTest, TheProjectRecordIsRemovedAndItsFolderOpened)
{
    MessageBoxScript boxes;
    Command(projectTree, ID_PROJECT_EXPLORE);
    EXPECT_EQ(std::vector<CString>{L"explore " + ProjectFolder()}, TakeShellVerbs());

    boxes.Answer(IDNO);
    Command(projectTree, ID_PROJECT_REMOVE);
    EXPECT_EQ(0, tkx_ExistProject(kProjectName));
    EXPECT_EQ(ClFormat(L"是否删除当前项目[%s\\%s]? \n\n注: 仅删除项目记录, 保留项目文件夹及其文件!\n\n如需恢复，可重新导入该项目文件。",
                       ProjectFolder().GetString(), kProjectName),
              boxes.LastText());
    boxes.Answer(IDYES);
    Command(projectTree, ID_PROJECT_REMOVE);
    EXPECT_EQ(-1, tkx_ExistProject(kProjectName));
    EXPECT_TRUE(FileExists(EpjPath()));
    EXPECT_TRUE(theApp.m_CurProject.m_SName.IsEmpty());
    EXPECT_EQ(0u, Tree().GetCount());
    EXPECT_EQ(0u, fileTree->GetTreeCtrl().GetCount());
    EXPECT_EQ(ClFormat(L"删除项目记录:%s", kProjectName), Lines().back());

    // Creating a project of that name and folder would overwrite its file.
    DialogScript script;
    script.Then([&](CWnd* d) {
        SetText(d, IDC_PRJ_NAME, kProjectName);
        SetText(d, IDC_PRJ_PATH, ProjectFolder());
        d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
        Press(d, IDOK);
    });
    script.Then([&](CWnd* d) { Press(d, IDCANCEL); });
    const std::string bytes = ReadBytes(EpjPath());
    Command(projectTree, ID_PROJECT_NEW);
    EXPECT_NE(-1, boxes.LastText().Find(L"导入项目"));
    EXPECT_EQ(bytes, ReadBytes(EpjPath()));
    // It comes back by importing its file.
    projectTree->ImportProjectFile(EpjPath());
    EXPECT_EQ(CString(kProjectName), theApp.m_CurProject.m_SName);
    EXPECT_EQ(2, theApp.m_CurProject.GetRoadCount());
}

// A double click on a terrain model starts the terrain-mesh editor of the
// suite's program folder with the model, also from a folder with a blank.
TEST_F(ProjectTreeTest, ATerrainModelOpensInTheMeshEditor)
{
    ScratchFolder bin(L"套件 程序");
    ASSERT_TRUE(CopyFileW(BinFolder() + L"\\Dunefold.exe", bin / L"Dunefold.exe", FALSE));
    const CString kept = g_AppInfo.m_SBinPath;
    g_AppInfo.m_SBinPath = bin.Path();
    const CString log = bin / L"Dunefold.exe.log";
    frame->ShowProjectBar();
    frame->m_wndProjectBar.SetActiveView(0);
    PumpUntilIdle();
    CTreeCtrl& tree = Tree();
    HTREEITEM model = FindItem(tree, L"地形 模型.MESH");
    ASSERT_NE(nullptr, model);
    CRect rect;
    ASSERT_TRUE(tree.GetItemRect(model, &rect, TRUE));
    {
        StandinReady ready(log);
        tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
        ASSERT_TRUE(ready.Wait());
    }
    const CString mesh = ProjectFolder() + L"\\地形 模型.MESH";
    EXPECT_EQ(std::vector<CString>{ClFormat(L"\"%s\\Dunefold.exe\" \"%s\"", bin.Path().GetString(), mesh.GetString())},
              StandinRecords(log, "COMMANDLINE"));
    EXPECT_EQ(std::vector<CString>{mesh}, StandinRecords(log, "FILE"));

    // A model deleted since the tree was built starts nothing, nor does an
    // item that is no model: the next start is the only one after them.
    ASSERT_TRUE(DeleteFileW(log));
    ASSERT_TRUE(DeleteFileW(mesh));
    tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    HTREEITEM speed = FindItem(tree, L"设计车速: 100KM/H");
    ASSERT_TRUE(tree.GetItemRect(speed, &rect, TRUE));
    tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    const CString second = ProjectFolder() + L"\\第二 模型.mesh";
    WriteBytes(second, "mesh\r\n");
    projectTree->BuildTree();
    PumpUntilIdle();
    ASSERT_TRUE(tree.GetItemRect(FindItem(tree, L"第二 模型.mesh"), &rect, TRUE));
    {
        StandinReady ready(log);
        tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
        ASSERT_TRUE(ready.Wait());
    }
    EXPECT_EQ(std::vector<CString>{second}, StandinRecords(log, "FILE"));
    g_AppInfo.m_SBinPath = kept;
}
