// The exported interface to the current project, road and slope-template
// library kept by the library's application object.
#include "corvane/project/ProjectInterface.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/base/LastError.h"
#include "corvane/project/ProjectFolders.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/ui/TvStatusBar.h"
#include <set>
#include <string>

using namespace Tavix4;
using namespace projectstore;

namespace {

int FindName(const CStringArray& names, const wchar_t* name)
{
    if (!name) return -1;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

void CopyArray(const CStringArray& from, CStringArray* to)
{
    if (!to) return;
    to->RemoveAll();
    for (INT_PTR i = 0; i < from.GetSize(); ++i) to->Add(from[i]);
}

// The current project back to the empty state of a new project.
void ResetProject(tkxProject& project)
{
    project.Reset();
    project.m_Roads.RemoveAll();
    project.m_PrjSegments.RemoveAll();
}

void ResetTemplateBase(tkxTemplateBase& base)
{
    base.Reset();
    base.m_STemplates.RemoveAll();
}

// Makes `project` the registered project at `folder`: it is read into a
// fresh project and taken over only when the whole file was read, so a
// failed read leaves `project` as it was.  The design segments belong to a
// project: they go when another project comes in.
bool LoadProject(tkxProject& project, const CString& name, const CString& folder)
{
    tkxProject loaded;
    loaded.m_SName = name;
    loaded.m_SPath = folder;
    if (!loaded.Load()) return false;
    bool sameProject = project.m_SName == loaded.m_SName && project.m_SPath == loaded.m_SPath;
    project.Copy(&loaded);
    if (!sameProject) project.m_PrjSegments.RemoveAll();
    return true;
}

// The same for a library: a failed read leaves `base` as it was.
bool LoadTemplateBase(tkxTemplateBase& base, const CString& name, const CString& folder)
{
    tkxTemplateBase loaded;
    loaded.m_SName = name;
    loaded.m_SPath = folder;
    if (!loaded.Load()) return false;
    base = loaded;
    return true;
}

// The first road of `project` whose name is new (not a road of `known`) and
// cannot be a folder and file name; its message, or empty when every new
// name is fine.  Names already in the known project were accepted before.
CString CheckNewRoadNames(const tkxProject& project, const tkxProject* known)
{
    std::set<std::wstring> accepted;
    if (known)
        for (const sRoadInfo& road : known->m_Roads) accepted.insert(road.m_SRoadName.str());
    for (const sRoadInfo& road : project.m_Roads) {
        if (accepted.count(road.m_SRoadName.str())) continue;
        CString problem = tkxProject::CheckRoadName(road.m_SRoadName);
        if (!problem.IsEmpty()) return problem;
    }
    return CString();
}

// The names of the project and its current road on the suite status bar in
// the calling process's own frame, when the program made one.
void ShowOnOwnStatusBar(CTavixDevApp& app, const CString& project, const CString& road)
{
    if (!app.m_pStatusBar) return;
    tkx_SetStatusText(project, 1);
    tkx_SetStatusText(road, 2);
}

} // namespace

CString tkx_GetTavixPath()
{
    CString path = TavixDevApp().AppInfo().m_SPathName;
    path.TrimRight(L'\\');
    return path;
}

// ---------------------------------------------------------------------------
// Current project and library

void tkx_GetCurProject(tkxProject& project) { project.Copy(&TavixDevApp().m_CurProject); }

void tkx_SetCurProject(const tkxProject* project)
{
    if (project) TavixDevApp().m_CurProject.Copy(project);
}

int tkx_UpdateProject(tkxProject* project, int save)
{
    if (!project) return 0;
    CTavixDevApp& app = TavixDevApp();
    const tkxProject& current = app.m_CurProject;
    bool sameProject = current.m_SName == project->m_SName && current.m_SPath == project->m_SPath;
    CString problem = CheckNewRoadNames(*project, sameProject ? &current : nullptr);
    if (!problem.IsEmpty()) {
        tkx_SetLastError(problem);
        ShowBox(TavixMainWindow(), problem, MB_OK | MB_ICONERROR);
        return 0;
    }

    app.m_CurProject.Copy(project);
    app.SendProjectAndRoad(app.m_CurProject.m_SName, app.m_CurProject.GetCurRoadName());
    if (save == 1) return app.m_CurProject.Save();
    return 1;
}

void tkx_GetCurTemplateBase(tkxTemplateBase& base) { base = TavixDevApp().m_CurTBase; }

int tkx_UpdateTBase(tkxTemplateBase* base, int save)
{
    if (!base) return 0;
    CTavixDevApp& app = TavixDevApp();
    app.m_CurTBase = *base;
    if (save == 1) return app.m_CurTBase.Save();
    return 1;
}

// ---------------------------------------------------------------------------
// Workspace and settings

sWorkSpace tkx_GetWorkSpace() { return TavixDevApp().GetWorkSpace(); }

void tkx_UpdateBZSettings(sWorkSpace workspace)
{
    tkxProject& project = TavixDevApp().m_CurProject;
    project.m_sPrjSetting0 = workspace.m_sPrjSetting0;
    project.m_sPrjSetting1 = workspace.m_sPrjSetting1;
    project.m_sPrjSetting2 = workspace.m_sPrjSetting2;
    project.SaveBZSettings();
}

short tkx_GetDimPrecision(enPrecision kind)
{
    const sPrjSetting0& s = TavixDevApp().m_CurProject.m_sPrjSetting0;
    const int precisions[] = {s.m_iPrecision_ZH,    s.m_iPrecision_R,   s.m_iPrecision_A,     s.m_iPrecision_XY,
                              s.m_iPrecision_L,     s.m_iPrecision_Width, s.m_iPrecision_Elv, s.m_iPrecision_Slope,
                              s.m_iPrecision_Area,  s.m_iPrecision_Volume};
    int index = static_cast<int>(kind);
    if (index < 0 || index > 9) return 3;
    return static_cast<short>(precisions[index]);
}

// ---------------------------------------------------------------------------
// Registered projects

int tkx_ExistProject(const wchar_t* name) { return FindName(TavixDevApp().m_SPrjNames, name); }

int tkx_AddProject(tkxProject* project, HWND owner)
{
    if (!project) return 0;
    CTavixDevApp& app = TavixDevApp();
    if (FindName(app.m_SPrjNames, project->m_SName) >= 0) {
        tkx_SetLastError(L"已包含同名项目, 无法添加新项目!");
        ShowBox(owner, L"已包含同名项目, 无法添加新项目!", MB_OK);
        return 0;
    }
    CString problem = CheckNewRoadNames(*project, nullptr);
    if (!problem.IsEmpty()) {
        tkx_SetLastError(problem);
        ShowBox(owner, problem, MB_OK | MB_ICONERROR);
        return 0;
    }

    // The new project is saved before it becomes current: a failed save
    // leaves the current project and the registered list as they were.
    tkxProject added;
    added.Copy(project);
    if (!added.Save()) {
        tkx_SetLastError(L"添加新项目：保存项目失败!");
        ShowBox(owner, L"添加新项目：保存项目失败!", MB_OK);
        return 0;
    }
    app.m_CurProject.Copy(&added);
    app.m_CurProject.m_PrjSegments.RemoveAll();
    app.m_SPrjNames.Add(added.m_SName);
    app.m_SPrjPaths.Add(added.m_SPath);
    app.m_iCurPrj = static_cast<int>(app.m_SPrjNames.GetSize()) - 1;
    return tkx_SetProjectInfoToReg(owner);
}

int tkx_RemoveProject(const wchar_t* name, tkxProject* project, HWND owner)
{
    if (!project) return 0;
    CTavixDevApp& app = TavixDevApp();
    int index = FindName(app.m_SPrjNames, name);
    if (index < 0) return 0;

    app.m_SPrjNames.RemoveAt(index);
    app.m_SPrjPaths.RemoveAt(index);
    int count = static_cast<int>(app.m_SPrjNames.GetSize());
    if (count > 0) {
        app.m_iCurPrj = index < count ? index : count - 1;
        if (!LoadProject(app.m_CurProject, app.m_SPrjNames[app.m_iCurPrj], app.m_SPrjPaths[app.m_iCurPrj]))
            ResetProject(app.m_CurProject);
    } else {
        app.m_iCurPrj = -1;
        ResetProject(app.m_CurProject);
    }
    project->Copy(&app.m_CurProject);

    // The shorter list replaces the stored one whole: entries left behind
    // at the end would bring the removed project back at the next read.
    tkx_RemoveProjectInfoFromReg();
    return tkx_SetProjectInfoToReg(owner);
}

int tkx_OpenProject(const wchar_t* name, tkxProject* project, HWND owner)
{
    CTavixDevApp& app = TavixDevApp();
    int index = FindName(app.m_SPrjNames, name);
    if (index < 0) return 0;
    if (!LoadProject(app.m_CurProject, app.m_SPrjNames[index], app.m_SPrjPaths[index])) return 0;

    if (project) project->Copy(&app.m_CurProject);
    app.m_iCurPrj = index;
    ShowOnOwnStatusBar(app, app.m_CurProject.m_SName, app.m_CurProject.GetCurRoadName());
    return tkx_SetProjectInfoToReg(owner);
}

int tkx_ImportProject(const wchar_t* file, tkxProject& project, HWND owner)
{
    if (!project.Load(CString(file ? file : L""))) {
        tkx_SetLastError(ClFormat(L"导入项目文件<%s>失败!", file ? file : L""));
        return 0;
    }
    int ok;
    if (project.IsValid(project.m_SName, project.m_SPath) && tkx_ExistProject(project.m_SName) < 0)
        ok = tkx_AddProject(&project, owner);
    else
        ok = tkx_OpenProject(project.m_SName, &project, owner);
    return ok ? 1 : 0;
}

// ---------------------------------------------------------------------------
// Registered libraries

int tkx_AddTBase(tkxTemplateBase* base, HWND owner)
{
    if (!base) return 0;
    CTavixDevApp& app = TavixDevApp();
    if (FindName(app.m_STBNames, base->m_SName) >= 0) {
        ShowBox(owner, L"已包含同名模板库, 无法添加新模板库!", MB_OK);
        return 0;
    }
    // As for projects: saved before it becomes current, so a failed save changes nothing.
    tkxTemplateBase added(*base);
    if (!added.Save()) return 0;
    app.m_CurTBase = added;
    app.m_STBNames.Add(added.m_SName);
    app.m_STBPaths.Add(added.m_SPath);
    app.m_iCurTB = static_cast<int>(app.m_STBNames.GetSize()) - 1;
    return tkx_SetTemplateBaseInfoToReg(owner);
}

int tkx_RemoveTBase(const wchar_t* name, tkxTemplateBase* base, HWND owner)
{
    if (!base) return 0;
    CTavixDevApp& app = TavixDevApp();
    int index = FindName(app.m_STBNames, name);
    if (index < 0) return 0;

    app.m_STBNames.RemoveAt(index);
    app.m_STBPaths.RemoveAt(index);
    int count = static_cast<int>(app.m_STBNames.GetSize());
    if (count > 0) {
        app.m_iCurTB = index < count ? index : count - 1;
        if (!LoadTemplateBase(app.m_CurTBase, app.m_STBNames[app.m_iCurTB], app.m_STBPaths[app.m_iCurTB]))
            ResetTemplateBase(app.m_CurTBase);
    } else {
        app.m_iCurTB = -1;
        ResetTemplateBase(app.m_CurTBase);
    }
    *base = app.m_CurTBase;

    tkx_RemoveTemplateBaseInfoFromReg();
    return tkx_SetTemplateBaseInfoToReg(owner);
}

int tkx_OpenTBase(const wchar_t* name, tkxTemplateBase* base, HWND owner)
{
    CTavixDevApp& app = TavixDevApp();
    int index = FindName(app.m_STBNames, name);
    if (index < 0) return 0;
    if (!LoadTemplateBase(app.m_CurTBase, app.m_STBNames[index], app.m_STBPaths[index])) return 0;
    if (base) *base = app.m_CurTBase;
    app.m_iCurTB = index;
    return tkx_SetTemplateBaseInfoToReg(owner);
}

// ---------------------------------------------------------------------------
// The lists

void tkx_GetAllPrjNames(CStringArray* names) { CopyArray(TavixDevApp().m_SPrjNames, names); }
void tkx_GetAllPrjPaths(CStringArray* paths) { CopyArray(TavixDevApp().m_SPrjPaths, paths); }
void tkx_GetAllTBNames(CStringArray* names) { CopyArray(TavixDevApp().m_STBNames, names); }
void tkx_GetAllTBPaths(CStringArray* paths) { CopyArray(TavixDevApp().m_STBPaths, paths); }

CString tkx_GetTBasePath(CString name)
{
    CTavixDevApp& app = TavixDevApp();
    int index = FindName(app.m_STBNames, name);
    if (index < 0 || index >= app.m_STBPaths.GetSize()) return CString();
    return app.m_STBPaths[index];
}

// ---------------------------------------------------------------------------
// Roads of the registry's current project

namespace {

// Reloads the current project from the registry's current project file;
// 0 when there is none or it cannot be read.
int RefreshFromRegistry()
{
    CString file;
    if (!tkx_GetCurPrjPath(file) || file.IsEmpty()) return 0;
    return TavixDevApp().m_CurProject.Load(file);
}

// 1 when the current project has roads and a valid current road.
int CheckCurrentRoad(const tkxProject& project)
{
    if (project.GetRoadCount() == 0) return 0;
    if (project.m_iCurRoad < 0 || project.m_iCurRoad >= project.GetRoadCount()) {
        ShowBox(nullptr, L"非法道路记录数!", MB_OK);
        return 0;
    }
    return 1;
}

} // namespace

int tkx_GetCurRoadInfo(sRoadInfo& road)
{
    if (!RefreshFromRegistry()) return 0;
    tkxProject& project = TavixDevApp().m_CurProject;
    if (!CheckCurrentRoad(project)) return 0;
    road = project.m_Roads[project.m_iCurRoad];
    return 1;
}

int tkx_GetRoadInfos(CArray<sRoadInfo, sRoadInfo>* roads, short& current)
{
    if (!RefreshFromRegistry()) return 0;
    tkxProject& project = TavixDevApp().m_CurProject;
    if (roads) roads->Copy(project.m_Roads);
    current = project.m_iCurRoad;
    return CheckCurrentRoad(project);
}
