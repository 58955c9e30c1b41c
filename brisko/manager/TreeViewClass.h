// The first page of the project manager ("项目信息"): the application's
// current project as a tree (its header, its roads with their main data and
// the terrain models in its folder) and every command that creates, opens,
// imports or edits a project or a road.  Each change goes through the
// library's project store; the tree is then built again and, where the
// current road or its data may have changed, the main frame is told
// (WM_PROJECTCHANGED).
//
// A road whose folder can be neither found nor made is left out of the tree;
// its record stays in the project.
#pragma once
#include "brisko/manager/ManagerTree.h"

class CTreeViewClass : public CManagerTree
{
    DECLARE_DYNCREATE(CTreeViewClass)
public:
    CTreeViewClass();
    ~CTreeViewClass() override;

    // Builds the tree again from the application's project.
    void BuildTree() override;
    // Imports a project file: it is loaded and registered (or opened by its
    // registered name) on its own and becomes the application's project only
    // when that worked.
    void ImportProjectFile(CString path);

    // Builds the context menu for the item (null: none), as a right click
    // on it does; a road's item selects that road for the road commands.
    void PrepareMenu(HTREEITEM item);

    // The commands the main frame offers too.
    void OnNewProject();
    void OnOpenProject();
    void OnImportProject();
    void OnProjectSettings();

    HTREEITEM ProjectItem() const { return m_hProject; }
    HTREEITEM RoadsItem() const { return m_hRoads; }
    HTREEITEM TerrainItem() const { return m_hTerrain; }
    // The road record of a road's item or any of its children; -1 for
    // other items.
    int RoadOfItem(HTREEITEM item) const;

    // The road the road commands work on (the last one right-clicked).
    short m_nSelectedRoad;

protected:
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnExportProject();
    void OnRemoveProject();
    void OnExploreProject();
    void OnSetCurrentRoad();
    void OnNewRoad();
    void OnDeleteRoad();
    void OnImportRoad();
    void OnMoveRoadUp();
    void OnMoveRoadDown();
    void OnRoadProperties();
    DECLARE_MESSAGE_MAP()

private:
    bool ValidRoad(int road) const;
    // Makes the road current when asked to or when it is the only one.
    void MakeNewRoadCurrent(bool asked);
    void MoveRoad(int from, int to);
    void OpenTerrainModel(HTREEITEM item);

    HTREEITEM m_hProject = nullptr;
    HTREEITEM m_hRoads = nullptr;
    HTREEITEM m_hTerrain = nullptr;
};
