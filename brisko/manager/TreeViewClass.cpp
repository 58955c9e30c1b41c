#include "brisko/manager/TreeViewClass.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/Dialog_OpenProject.h"
#include "brisko/manager/Dialog_RoadInfo.h"
#include "brisko/manager/ManagerShared.h"
#include "brisko/manager/RoadInfo.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Utility.h"
#include "corvane/platform/FileName.h"
#include "corvane/project/TavixInterface.h"
#include <algorithm>
#include <string>
#include <vector>

using namespace Tavix4;

IMPLEMENT_DYNCREATE(CTreeViewClass, CManagerTree)

namespace {

// The assistant's notices are sent with this data word.
const long kAssistNotice = 110;

const wchar_t kImportRoadFilter[] =
    L"所有文件(*.*)|*.*|桩号文件(*.st)|*.st|标准横断面文件(*.hdm)|*.hdm|超高文件(*.cg)|*.cg|构造物信息文件(*.GZX)|*."
    L"GZX|桩号断链文件(*.DL)|*.DL|平面交点设计文件(*.jd)|*.jd|平面积木法单元数据文件(*.icd)|*.icd|平面坐标点文件(*."
    L"ZBD)|*.ZBD|平面曲线参数文件(*.PAR)|*.PAR|平面单元设计要素文件(*.DYD)|*.DYD|平面逐桩坐标文件(*.INF)|*.INF|纵断面"
    L"地面线文件(*.dmx)|*.dmx|纵断面竖曲线文件(*.sqx)|*.sqx|纵断面拉坡控制点文件(*.KZD)|*.KZD|纵断图断面类型文件(*."
    L"TYP)|*.TYP|纵断图地质概况文件(*.DGK)|*.DGK|纵断图街沟设计文件(*.JGS)|*.JGS|纵断图标注文件(*.BZ)|*.BZ|纵断图基点"
    L"高程文件(*.JGC)|*.JGC|横断面地面线文件(*.hdx)|*.hdx||";

tkxProject& Project() { return theApp.m_CurProject; }

void SetWorkingDirectory() { theApp.SetWorkingDirectory(Project().GetWorkingDirectory()); }

bool FolderExists(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The files "*.MESH" directly in the folder, in the order the search gives.
std::vector<CString> TerrainModels(const CString& folder)
{
    std::vector<CString> models;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(folder + L"\\*.MESH", &found);
    if (find == INVALID_HANDLE_VALUE) return models;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) models.emplace_back(found.cFileName);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return models;
}

} // namespace

BEGIN_MESSAGE_MAP(CTreeViewClass, CManagerTree)
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_COMMAND(ID_PROJECT_NEW, OnNewProject)
    ON_COMMAND(ID_PROJECT_OPEN, OnOpenProject)
    ON_COMMAND(ID_PROJECT_IMPORT, OnImportProject)
    ON_COMMAND(ID_PROJECT_EXPORT, OnExportProject)
    ON_COMMAND(ID_PROJECT_REMOVE, OnRemoveProject)
    ON_COMMAND(ID_PROJECT_SETTINGS, OnProjectSettings)
    ON_COMMAND(ID_PROJECT_EXPLORE, OnExploreProject)
    ON_COMMAND(ID_ROAD_SETCURRENT, OnSetCurrentRoad)
    ON_COMMAND(ID_ROAD_NEW, OnNewRoad)
    ON_COMMAND(ID_ROAD_DELETE, OnDeleteRoad)
    ON_COMMAND(ID_ROAD_IMPORT, OnImportRoad)
    ON_COMMAND(ID_ROAD_MOVEUP, OnMoveRoadUp)
    ON_COMMAND(ID_ROAD_MOVEDOWN, OnMoveRoadDown)
    ON_COMMAND(ID_ROAD_PROPERTIES, OnRoadProperties)
END_MESSAGE_MAP()

CTreeViewClass::CTreeViewClass() : CManagerTree(IDB_PROJECT_TREE), m_nSelectedRoad(0) {}

CTreeViewClass::~CTreeViewClass() = default;

bool CTreeViewClass::ValidRoad(int road) const { return road >= 0 && road < Project().GetRoadCount(); }

// ---------------------------------------------------------------------------
// The tree

void CTreeViewClass::BuildTree()
{
    CTreeCtrl& tree = GetTreeCtrl();
    tree.DeleteAllItems();
    m_hProject = m_hRoads = m_hTerrain = nullptr;
    tkxProject& project = Project();
    if (project.m_SName.IsEmpty() || project.m_SPath.IsEmpty()) {
        if (CWnd* parent = GetParent()) parent->Invalidate();
        return;
    }

    m_hProject = AddTreeItem(tree, L"项目名称: " + project.m_SName, nullptr, 0, 1);
    AddTreeItem(tree, L"项目路径: " + project.m_SPath, m_hProject, 4, 5);
    AddTreeItem(tree, L"设计阶段: " + project.m_SStage, m_hProject, 8, 9);
    AddTreeItem(tree, L"创建时间: " + project.m_SCreateDate, m_hProject, 6, 7);
    static const wchar_t* const kTypes[] = {L"工程类型: 公路路线", L"工程类型: 互通立交", L"工程类型: 城市道路"};
    if (project.m_iPrjType >= 0 && project.m_iPrjType <= 2) AddTreeItem(tree, kTypes[project.m_iPrjType], m_hProject, 10, 11);
    const CString region = ClFormat(L"地区类型: %s ", tkx_GetLandformStyleString(project.m_iLandform).GetString()) +
                           tkx_GetClimeStyleString(project.m_iClimate);
    AddTreeItem(tree, region, m_hProject, 14, 15);

    const int count = project.GetRoadCount();
    m_hRoads = AddTreeItem(tree, ClFormat(L"道路信息: <包含%d条道路>", count), m_hProject, 4, 5);
    HTREEITEM current = nullptr;
    for (int i = 0; i < count; ++i) {
        // A road whose folder can be neither found nor made is not shown;
        // its record stays.
        if (project.VerifyRoadDirectory(i, nullptr) != 1) continue;
        const sRoadInfo& road = project.m_Roads[i];
        const bool isCurrent = i == project.m_iCurRoad;
        const CString text = ClFormat(L"道路名称: %s", road.m_SRoadName.GetString()) + (isCurrent ? L"<当前道路>" : L"");
        const int image = isCurrent ? 3 : 2;
        HTREEITEM node = AddTreeItem(tree, text, m_hRoads, image, image, static_cast<DWORD_PTR>(i) + 1);
        AddTreeItem(tree, L"道路等级: " + tkx_GetRoadLevelName(road.m_RoadLevel), node, 12, 13);
        AddTreeItem(tree, ClFormat(L"设计车速: %.0fKM/H", road.m_rDesignSpeed), node, 6, 7);
        AddTreeItem(tree, L"起点桩号: " + road.m_SStartZH, node, 16, 17);
        AddTreeItem(tree, L"终点桩号: " + road.m_SEndZH, node, 16, 17);
        if (!road.m_SBreakChain.IsEmpty())
            AddTreeItem(tree, L"断链: " + road.m_SBreakChain, node, 16, 17);
        else
            AddTreeItem(tree, L"无断链", node, 12, 13);
        if (isCurrent) current = node;
    }
    tree.Expand(m_hProject, TVE_EXPAND);
    if (count > 0) tree.Expand(m_hRoads, TVE_EXPAND);
    if (current) tree.Expand(current, TVE_EXPAND);

    const std::vector<CString> models = TerrainModels(project.m_SPath);
    m_hTerrain =
        AddTreeItem(tree, ClFormat(L"数模信息：<包含%d个数模>", static_cast<int>(models.size())), m_hProject, 4, 5);
    for (const CString& model : models) AddTreeItem(tree, model, m_hTerrain, 20, 21);
    if (!models.empty()) tree.Expand(m_hTerrain, TVE_EXPAND);
    tree.EnsureVisible(m_hProject);

    if (CWnd* parent = GetParent()) parent->Invalidate();
}

int CTreeViewClass::RoadOfItem(HTREEITEM item) const
{
    if (!m_hRoads) return -1;
    const CTreeCtrl& tree = GetTreeCtrl();
    for (; item; item = tree.GetParentItem(item)) {
        if (tree.GetParentItem(item) != m_hRoads) continue;
        const int road = static_cast<int>(tree.GetItemData(item)) - 1;
        return ValidRoad(road) ? road : -1;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Mouse

void CTreeViewClass::PrepareMenu(HTREEITEM item)
{
    m_menu.DestroyMenu();
    m_menu.CreatePopupMenu();
    const int road = RoadOfItem(item);
    if (!m_hProject) {
        m_menu.AppendMenu(MF_STRING, ID_PROJECT_NEW, L"新建项目");
        m_menu.AppendMenu(MF_STRING, ID_PROJECT_OPEN, L"打开项目");
        m_menu.AppendMenu(MF_STRING, ID_PROJECT_IMPORT, L"导入项目");
        m_menu.AppendMenu(MF_STRING | MF_GRAYED, ID_PROJECT_EXPORT, L"导出项目压缩包");
        m_menu.AppendMenu(MF_STRING | MF_GRAYED, ID_PROJECT_SETTINGS, L"项目设置...");
        return;
    }
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_NEW, L"新建项目");
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_OPEN, L"打开项目");
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_IMPORT, L"导入项目");
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_EXPORT, L"导出项目压缩包");
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_REMOVE, L"删除当前项目记录");
    m_menu.AppendMenu(MF_SEPARATOR);
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_SETTINGS, L"项目设置...");
    m_menu.AppendMenu(MF_STRING, ID_PROJECT_EXPLORE, L"打开项目文件夹");
    m_menu.AppendMenu(MF_SEPARATOR);
    if (road < 0) {
        m_menu.AppendMenu(MF_STRING, ID_ROAD_NEW, L"创建道路");
        m_menu.AppendMenu(MF_STRING, ID_ROAD_IMPORT, L"导入道路");
        return;
    }
    m_nSelectedRoad = static_cast<short>(road);
    const int last = Project().GetRoadCount() - 1;
    m_menu.AppendMenu(MF_STRING | (road == Project().m_iCurRoad ? MF_CHECKED : 0), ID_ROAD_SETCURRENT,
                      L"设置为当前道路");
    m_menu.AppendMenu(MF_STRING, ID_ROAD_NEW, L"创建道路");
    m_menu.AppendMenu(MF_STRING, ID_ROAD_DELETE, L"删除道路");
    m_menu.AppendMenu(MF_STRING, ID_ROAD_IMPORT, L"导入道路");
    m_menu.AppendMenu(MF_STRING | (road == 0 ? MF_GRAYED : 0), ID_ROAD_MOVEUP, L"上移记录");
    m_menu.AppendMenu(MF_STRING | (road == last ? MF_GRAYED : 0), ID_ROAD_MOVEDOWN, L"下移记录");
    m_menu.AppendMenu(MF_SEPARATOR);
    m_menu.AppendMenu(MF_STRING, ID_ROAD_PROPERTIES, L"道路属性");
}

void CTreeViewClass::OnRButtonDown(UINT, CPoint point)
{
    Default();
    CTreeCtrl& tree = GetTreeCtrl();
    HTREEITEM hit = tree.HitTest(point);
    if (hit) tree.SelectItem(hit);
    PrepareMenu(hit);
    TrackContextMenu();
}

void CTreeViewClass::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    CTreeCtrl& tree = GetTreeCtrl();
    HTREEITEM hit = tree.HitTest(point);
    if (hit && m_hTerrain && tree.GetParentItem(hit) == m_hTerrain) OpenTerrainModel(hit);
}

void CTreeViewClass::OpenTerrainModel(HTREEITEM item)
{
    const CString path = Project().m_SPath + L"\\" + GetTreeCtrl().GetItemText(item);
    if (!tkxFileName::Exist(path)) return;
    // The program's path is quoted: the suite's folder may hold a blank.
    std::wstring command =
        ClFormat(L"\"%s\\Dunefold.exe\" \"%s\"", g_AppInfo.m_SBinPath.GetString(), path.GetString()).str();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

// ---------------------------------------------------------------------------
// Projects

void CTreeViewClass::OnNewProject()
{
    CDialog_OpenProject dialog(MainWindow());
    dialog.m_nMode = 0;
    if (dialog.DoModal() != IDOK) return;
    tkxProject project;
    dialog.GetProject(project);
    project.m_iCurRoad = -1;
    const BOOL chosen = dialog.ApplySettings(project);
    if (tkx_AddProject(&project, m_hWnd) != 1) return;
    Project().Copy(&project);
    // The settings chosen for the new project are the user's settings from
    // now on.
    if (chosen) Project().SaveBZSettings();
    SetWorkingDirectory();
    BuildTree();
    // The previous project's road is no longer the current one.
    NotifyProjectChanged();
    PrintToMainInfoWindow(L"创建新项目: %s", project.m_SName.GetString());
}

void CTreeViewClass::OnOpenProject()
{
    CDialog_OpenProject dialog(MainWindow());
    dialog.m_nMode = 1;
    dialog.SetProject(Project());
    if (dialog.DoModal() != IDOK) return;
    SetWorkingDirectory();
    BuildTree();
    NotifyProjectChanged();
    tkx_UpdateProject(&Project(), 0);
    PrintToMainInfoWindow(L"打开项目: %s", Project().m_SName.GetString());
    if (tkx_GetTavixAssistWnd())
        tkx_SendStringToAssist(ClFormat(L"打开项目:%s", Project().m_SName.GetString()), kAssistNotice);
}

void CTreeViewClass::OnProjectSettings()
{
    CDialog_OpenProject dialog(MainWindow());
    dialog.m_nMode = 2;
    dialog.SetProject(Project());
    if (dialog.DoModal() != IDOK) return;
    // The name and folder cannot be edited here.
    tkxProject& project = Project();
    dialog.GetProject(project);
    if (tkx_UpdateProject(&project, 1) == 1) {
        BuildTree();
        PrintToMainInfoWindow(L"修改项目[%s]的设置", project.m_SName.GetString());
    } else {
        PrintToMainInfoWindow(L"修改项目[%s]的设置失败!", project.m_SName.GetString());
    }
}

void CTreeViewClass::OnImportProject()
{
    CString path;
    if (tkx_FileDialog(1, path, L"EPJ", MainWindow(), L"TAVIX项目文件(*.EPJ)|*.EPJ|", L"打开TAVIX项目文件") == 1)
        ImportProjectFile(path);
}

void CTreeViewClass::ImportProjectFile(CString path)
{
    // Loaded and registered on its own: the application's project changes
    // only when that worked.
    tkxProject imported;
    if (!imported.Load(path)) {
        ManagerBox(ClFormat(L"导入项目文件<%s>失败!", path.GetString()), MB_ICONERROR, this);
        return;
    }
    const CString name = imported.m_SName;
    if (imported.IsValid(name, imported.m_SPath) != 1) {
        ManagerBox(ClFormat(L"项目<%s>已经包含在项目表中，请将<%s>文件改名后重试!", name.GetString(), path.GetString()),
                   MB_ICONERROR, this);
        return;
    }
    if (name == Project().m_SName) {
        ManagerBox(ClFormat(L"项目<%s>已经打开!", name.GetString()), MB_ICONINFORMATION, this);
        return;
    }
    if (tkx_ExistProject(name) == -1) {
        if (tkx_AddProject(&imported, m_hWnd) != 1) {
            PrintToMainInfoWindow(L"导入项目[%s]失败!", path.GetString());
            return;
        }
        PrintToMainInfoWindow(L"导入项目:%s", name.GetString());
    } else {
        if (tkx_OpenProject(name, &imported, nullptr) != 1) {
            PrintToMainInfoWindow(L"导入项目[%s]失败!", path.GetString());
            return;
        }
        PrintToMainInfoWindow(L"设置当前项目:%s", name.GetString());
    }
    Project().Copy(&imported);
    m_nSelectedRoad = Project().m_iCurRoad;
    SetWorkingDirectory();
    ManagerBox(ClFormat(L"导入设计项目[%s],\n\n当前道路[%s]: 第%d条, 共%d条道路.", name.GetString(),
                        Project().GetCurRoadName().GetString(), Project().m_iCurRoad + 1, Project().GetRoadCount()),
               MB_ICONINFORMATION, this);
    BuildTree();
    NotifyProjectChanged();
}

void CTreeViewClass::OnExportProject() {}

void CTreeViewClass::OnRemoveProject()
{
    tkxProject& project = Project();
    const CString name = project.m_SName;
    const CString question = ClFormat(L"是否删除当前项目[%s\\%s]? \n\n注: 仅删除项目记录, 保留项目文件夹及其文件!\n\n"
                                      L"如需恢复，可重新导入该项目文件。",
                                      project.m_SPath.GetString(), name.GetString());
    if (ManagerBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (tkx_RemoveProject(name, &project, m_hWnd) == 1) {
        PrintToMainInfoWindow(L"删除项目记录:%s", name.GetString());
        SetWorkingDirectory();
        BuildTree();
        NotifyProjectChanged();
    } else {
        PrintToMainInfoWindow(L"删除项目记录[%s]失败!", name.GetString());
    }
}

void CTreeViewClass::OnExploreProject()
{
    const CString folder = Project().m_SPath;
    if (!folder.IsEmpty() && FolderExists(folder)) RunShellVerb(L"explore", folder);
}

// ---------------------------------------------------------------------------
// Roads

void CTreeViewClass::MakeNewRoadCurrent(bool asked)
{
    tkxProject& project = Project();
    if (asked || project.GetRoadCount() == 1) project.m_iCurRoad = static_cast<short>(project.GetRoadCount() - 1);
}

void CTreeViewClass::OnSetCurrentRoad()
{
    const int road = RoadOfItem(GetTreeCtrl().GetSelectedItem());
    if (road < 0) return;
    tkxProject& project = Project();
    if (project.VerifyRoadDirectory(road, MainWindow()->GetSafeHwnd()) != 1) return;
    project.m_iCurRoad = static_cast<short>(road);
    SetWorkingDirectory();
    const CString name = project.GetRoadName(road);
    if (tkx_ChangeCurRoad(name, MainWindow()->GetSafeHwnd(), 0, 1) == 1) {
        BuildTree();
        NotifyProjectChanged();
        PrintToMainInfoWindow(L"设置当前道路为：%s", name.GetString());
    } else {
        PrintToMainInfoWindow(L"设置当前道路[%s]失败!", name.GetString());
    }
}

void CTreeViewClass::OnNewRoad()
{
    CDialog_RoadInfo dialog(MainWindow());
    dialog.m_nMode = 0;
    if (dialog.DoModal() != IDOK) return;
    tkxProject& project = Project();
    sRoadInfo road;
    dialog.GetRoadInfo(road);
    project.m_Roads.Add(road);
    MakeNewRoadCurrent(dialog.m_bSetCurrent != 0);
    SetWorkingDirectory();
    if (tkx_UpdateProject(&project, 1) != 1) {
        PrintToMainInfoWindow(L"创建新道路[%s]失败!", road.m_SRoadName.GetString());
        return;
    }
    BuildTree();
    NotifyProjectChanged();
    PrintToMainInfoWindow(L"创建新道路: %s", road.m_SRoadName.GetString());
}

void CTreeViewClass::OnDeleteRoad()
{
    const int road = m_nSelectedRoad;
    if (!ValidRoad(road)) return;
    tkxProject& project = Project();
    tkx_SendStringToAssist(L"仅删除项目中的道路记录, 不会删除任何文件!", kAssistNotice);
    const CString name = project.GetRoadName(road);
    if (ManagerBox(ClFormat(L"是否删除道路<%s>?", name.GetString()), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    PrintToMainInfoWindow(L"删除道路：%s", name.GetString());
    project.m_Roads.RemoveAt(road);
    // The current road keeps its record; the first road follows a deleted
    // first current road; with no road left there is none.
    short& current = project.m_iCurRoad;
    if (current >= road) current = static_cast<short>(std::max(current - 1, 0));
    if (project.GetRoadCount() == 0) current = -1;
    if (tkx_UpdateProject(&project, 1) == 1) {
        SetWorkingDirectory();
        BuildTree();
        NotifyProjectChanged();
    } else {
        PrintToMainInfoWindow(L"删除道路[%s]失败!", name.GetString());
    }
}

void CTreeViewClass::OnImportRoad()
{
    tkx_SendStringToAssist(L"选择其他道路文件夹中的数据文件, \n将其全部复制到新的道路文件夹中!", kAssistNotice);
    CString chosen;
    if (tkx_FileDialog(1, chosen, L"", this, kImportRoadFilter, L"选择指定导入道路的项目数据文件") != 1) return;
    const tkxFileName file(chosen);
    const CString sourceFolder = file.GetPath();
    const CString sourceTitle = file.GetFileTitle();

    CDialog_RoadInfo dialog(MainWindow());
    dialog.m_nMode = 0;
    dialog.m_SRoadName = sourceTitle;
    // The source road's break chain, so that its stations read with it.
    CRoadInfo source;
    source.m_pBreakChain->Reset();
    const CString dl = ClFormat(L"%s\\%s.DL", sourceFolder.GetString(), sourceTitle.GetString());
    if (tkxFileName::Exist(dl)) {
        dialog.m_SBreakChain = source.ReadDLText(dl);
        source.SetBreakChainText(dialog.m_SBreakChain);
    }
    const CString dmx = ClFormat(L"%s\\%s.DMX", sourceFolder.GetString(), sourceTitle.GetString());
    PrintToMainInfoWindow(L"DMX文件：%s", dmx.GetString());
    if (tkxFileName::Exist(dmx) && source.LoadStationsFromDMX(dmx)) {
        dialog.m_SStartZH = source.m_SStartZH;
        dialog.m_SEndZH = source.m_SEndZH;
    }
    dialog.m_SBreakChain.Trim();
    if (!dialog.m_SBreakChain.IsEmpty()) dialog.m_bHasBreakChain = 1;

    if (dialog.DoModal() != IDOK) {
        // The source road's data stood in for the current road's meanwhile.
        NotifyProjectChanged();
        return;
    }
    tkxProject& project = Project();
    sRoadInfo road;
    dialog.GetRoadInfo(road);
    CRoadInfo imported(road);
    project.m_Roads.Add(road);
    const int copied = imported.CopyRoadFiles(sourceFolder, sourceTitle, project.m_SPath);
    MakeNewRoadCurrent(dialog.m_bSetCurrent != 0);
    SetWorkingDirectory();
    NotifyProjectChanged();
    const int saved = tkx_UpdateProject(&project, 1);
    if (saved == 1) BuildTree();
    if (saved == 1 && copied)
        PrintToMainInfoWindow(L"导入道路：%s", road.m_SRoadName.GetString());
    else
        PrintToMainInfoWindow(L"导入道路[%s]失败!", road.m_SRoadName.GetString());
}

void CTreeViewClass::MoveRoad(int from, int to)
{
    tkxProject& project = Project();
    const CString current = project.GetCurRoadName();
    const sRoadInfo moved = project.m_Roads[from];
    project.m_Roads[from] = project.m_Roads[to];
    project.m_Roads[to] = moved;
    short& c = project.m_iCurRoad;
    if (c == from)
        c = static_cast<short>(to);
    else if (c == to)
        c = static_cast<short>(from);
    if (c < 0) c = 0;
    if (c > project.GetRoadCount() - 1) c = static_cast<short>(project.GetRoadCount() - 1);
    if (tkx_UpdateProject(&project, 1) != 1) return;
    BuildTree();
    // A project without current road has its first road made current.
    if (project.GetCurRoadName() != current) {
        SetWorkingDirectory();
        NotifyProjectChanged();
    }
}

void CTreeViewClass::OnMoveRoadUp()
{
    const int road = m_nSelectedRoad;
    if (road < 1 || road >= Project().GetRoadCount()) return;
    MoveRoad(road, road - 1);
}

void CTreeViewClass::OnMoveRoadDown()
{
    const int road = m_nSelectedRoad;
    if (road < 0 || road >= Project().GetRoadCount() - 1) return;
    PrintToMainInfoWindow(L"道路记录[%s]向下移动.", Project().GetRoadName(road).GetString());
    MoveRoad(road, road + 1);
}

void CTreeViewClass::OnRoadProperties()
{
    const int index = m_nSelectedRoad;
    if (!ValidRoad(index)) return;
    tkxProject& project = Project();
    if (project.VerifyRoadDirectory(index, MainWindow()->GetSafeHwnd()) != 1) return;
    const sRoadInfo& road = project.m_Roads[index];
    CDialog_RoadInfo dialog(MainWindow());
    dialog.m_nMode = 1;
    dialog.m_nRoadIndex = static_cast<short>(index);
    dialog.m_SRoadName = road.m_SRoadName;
    dialog.m_iRoadLevel = static_cast<int>(road.m_RoadLevel);
    dialog.m_SSpeed = ClFormat(L"%.f", road.m_rDesignSpeed);
    dialog.m_SStartZH = road.m_SStartZH;
    dialog.m_SEndZH = road.m_SEndZH;
    dialog.m_SBreakChain = road.m_SBreakChain;
    dialog.m_bHasBreakChain = road.m_SBreakChain.IsEmpty() ? 0 : 1;
    dialog.m_bSetCurrent = index == project.m_iCurRoad ? 1 : 0;
    dialog.m_SFolder = ClFormat(L"%s\\%s", project.m_SPath.GetString(), road.m_SRoadName.GetString());
    if (dialog.DoModal() != IDOK) return;

    sRoadInfo edited;
    dialog.GetRoadInfo(edited);
    sRoadInfo& record = project.m_Roads[index];
    record.m_SRoadName = edited.m_SRoadName;
    record.m_RoadLevel = edited.m_RoadLevel;
    record.m_rDesignSpeed = edited.m_rDesignSpeed;
    record.m_SStartZH = edited.m_SStartZH;
    record.m_SEndZH = edited.m_SEndZH;
    record.m_SBreakChain = edited.m_SBreakChain;
    if (dialog.m_bSetCurrent) {
        project.m_iCurRoad = static_cast<short>(index);
        SetWorkingDirectory();
        NotifyProjectChanged();
    }
    if (tkx_UpdateProject(&project, 1) == 1) {
        BuildTree();
        PrintToMainInfoWindow(L"修改道路[%s]属性", edited.m_SRoadName.GetString());
    } else {
        PrintToMainInfoWindow(L"修改道路[%s]属性失败!", edited.m_SRoadName.GetString());
    }
}
