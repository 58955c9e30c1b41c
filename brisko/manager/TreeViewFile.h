// The second page of the project manager ("文件管理"): the data files of the
// application's current road, grouped by kind as the data-file type table
// says, with the road's user data files and user drawings.  From it a file
// is opened in the editor (or created or imported when it is missing),
// deleted, the road folder opened, the user lists kept, and the converters
// that fit a file started; selecting a file previews it in the information
// page.
//
// Each item knows what it stands for (the root, a group, a file type, a
// file of the road, a user data file, a user drawing), so the menu and the
// commands follow the item's kind, whatever its file is named.
#pragma once
#include "brisko/manager/ManagerTree.h"

class CTreeViewFile : public CManagerTree
{
    DECLARE_DYNCREATE(CTreeViewFile)
public:
    // What an item stands for.
    enum ItemKind { kNone = 0, kRoot, kGroup, kFileType, kRoadFile, kUserData, kUserDrawing, kNoRoad };
    // The six groups under the root.
    enum { kGlobalGroup = 0, kPlaneGroup, kProfileGroup, kSectionGroup, kUserDataGroup, kUserDrawingGroup, kGroups };

    CTreeViewFile();
    ~CTreeViewFile() override;

    // Builds the tree again from the current road of the application's
    // project.
    void BuildTree() override;

    // Builds the context menu for the item (null: none), as a right click
    // on it does; the item becomes the selected one.
    void PrepareMenu(HTREEITEM item);

    ItemKind KindOf(HTREEITEM item) const;
    // The file an item of a file, user data file or user drawing stands
    // for; empty for other items or without a current road.
    CString FileOf(HTREEITEM item) const;
    HTREEITEM RootItem() const { return m_hRoot; }
    HTREEITEM GroupItem(int group) const { return group >= 0 && group < kGroups ? m_hGroups[group] : nullptr; }

    HTREEITEM m_hSelected = nullptr;

protected:
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnSelectionChanged(NMHDR* header, LRESULT* result);
    void OnOpenFile();
    void OnImportFile();
    void OnDeleteFile();
    void OnExploreRoad();
    void OnAddUserData();
    void OnAddUserDrawing();
    void OnRemoveUserData();
    void OnRemoveUserDrawing();
    void OnToolCommand(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    // The current road's index, -1 without a valid one.
    int CurrentRoad() const;
    int GroupOf(HTREEITEM item) const;
    // Shows an item's file as existing (its group's images) or missing.
    void ShowFileState(HTREEITEM item, bool exists);
    void CreateMissingFile(HTREEITEM item, const CString& path);
    void AddUserFiles(bool drawings);
    void RemoveUserFile(bool drawings);

    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hGroups[kGroups] = {};
};
