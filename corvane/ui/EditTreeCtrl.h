// tkxTreeCtrl: a tree control the user edits: insert siblings, children
// and top-level items, rename labels in place, delete items, sort a level or
// a level and everything below it, and move or copy items with their
// subtrees by dragging with the left or the right button.
//
// Keys and context-menu commands go through two tables (key with Ctrl and
// Shift state -> operation; command id -> operation); every operation asks
// a permission hook (Can...) first, so a derived class decides what may be
// edited by overriding hooks and extends the menu and the tables.
//
//   F2 rename (1)   Del delete (2)   Ins new sibling (3)   Ctrl+Ins new child
//   (4)   Shift+Ins new top-level item (5)   Ctrl+S sort the level (6)
//   Ctrl+Shift+S sort the level and below (7); commands 8, 9, 10 reach
//   DoItemOpen, DoItemPlot and DoItemRename (for derived classes).
//
// Dragging: the drop goes below, above or (to the right of a label) into
// an item; Ctrl copies.  A right drag asks "Copy Here" / "Move Here" /
// "Cancel" at the drop; dismissing that menu cancels the drag.  Esc cancels
// any drag.  A drop into a deeper level than the dragged item's does
// nothing; a drop on the level of the dragged item's parent makes it a
// child.  Create the tree with TVS_EDITLABELS for label editing.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <map>

class tkxTreeCtrl;

// The state of one drag.
class CORVANE_API CDragData
{
public:
    CDragData(tkxTreeCtrl& tree, HTREEITEM dragItem, bool right);
    // Copies every field but the drag image, which stays with the original.
    CDragData(const CDragData& other);
    virtual ~CDragData();

    // Creates the drag image and captures the mouse.
    virtual void StartDrag();
    // Releases the image, the drop highlight, the cursor and the capture.
    virtual void EndDrag();
    virtual void CreateDragImage();
    virtual void ReleaseDragImage();
    // True on the fifteenth further move over the same item (it opens).
    virtual bool CheckExpand(HTREEITEM item);

    HTREEITEM GetDragItem() const { return m_hDragItem; }
    HTREEITEM GetDropTarget() const { return m_hDropTarget; }
    void SetDropTarget(HTREEITEM item) { m_hDropTarget = item; }
    bool IsRightDragging() const { return m_bRight; }
    int GetDropHint() const { return m_nDropHint; }
    void SetDropHint(int hint) { m_nDropHint = hint; }
    // Hides and shows the drag image in the tree (when there is one).
    void DragLeave();
    void DragEnter(CPoint client);
    void DragMove(CPoint client);

private:
    CDragData& operator=(const CDragData&) = delete;

    tkxTreeCtrl& m_tree;
    HCURSOR m_hSavedCursor;
    HTREEITEM m_hDragItem;
    HTREEITEM m_hDropTarget = nullptr;
    WORD m_nHoverCount = 0;
    CImageList* m_pDragImage = nullptr;
    bool m_bRight;
    int m_nDropHint = 0;
};

class CORVANE_API tkxTreeCtrl : public CTreeCtrl
{
    DECLARE_DYNAMIC(tkxTreeCtrl)
public:
    enum EDropHint { DROP_BELOW = 0, DROP_ABOVE = 1, DROP_CHILD = 2, DROP_NONE = 3 };
    typedef bool (tkxTreeCtrl::*Handler)(HTREEITEM);

    tkxTreeCtrl();
    ~tkxTreeCtrl() override;

    // An insert structure for a new last child of `parent` (null: the top
    // level) labelled "未命名项".
    void SetupInsertStruct(TVINSERTSTRUCTW& insert, HTREEITEM parent);
    // -1 for none, 0 for a top-level item, else the number of ancestors.
    int GetItemLevel(HTREEITEM item) const;
    bool IsDragging() const { return m_pDragData != nullptr; }

    // Permission hooks (all allow in this class).
    virtual bool CanEditLabel(HTREEITEM item);
    virtual bool CanSetLabelText(TVITEMW& item);
    virtual bool CanDeleteItem(HTREEITEM item);
    virtual bool CanInsertItem(HTREEITEM parent);
    virtual bool CanSortLevel(HTREEITEM item);
    virtual bool CanDragItem(TVITEMW& item);
    virtual bool CanDropItem(HTREEITEM drag, HTREEITEM target, EDropHint hint);
    // The key table (and Enter/Esc while a label is edited or a drag runs);
    // true when the key was used.
    virtual bool HandleKeyDown(UINT key, LPARAM lParam);
    // Inserts, selects the new item and starts editing its label.
    virtual HTREEITEM NewItem(TVINSERTSTRUCTW& insert);
    virtual void OnNewItem(HTREEITEM item);
    virtual void CreateCursorMap();
    virtual void SortCurrentLevel(HTREEITEM item);
    virtual void SortCurrentLevelAndBelow(HTREEITEM item);
    virtual void DisplayContextMenu(CPoint& point);
    virtual void ExtendContextMenu(CMenu& menu);
    virtual void DragStart();
    virtual void DragMove();
    virtual void DragEnd();
    virtual void DragStop();
    virtual void SetDragCursor(HTREEITEM target, EDropHint hint);
    virtual void DragMoveItem(HTREEITEM drag, HTREEITEM target, EDropHint hint, bool copy);
    virtual void DragDisplayContextMenu(CPoint& point);
    virtual CDragData* CreateDragData(HTREEITEM item, bool right);
    virtual bool DoEditLabel(HTREEITEM item);
    virtual bool DoInsertSibling(HTREEITEM item);
    virtual bool DoInsertChild(HTREEITEM item);
    virtual bool DoInsertRoot(HTREEITEM item);
    virtual bool DoDeleteItem(HTREEITEM item);
    virtual bool DoSortCurrentLevel(HTREEITEM item);
    virtual bool DoSortCurrentLevelAndBelow(HTREEITEM item);
    virtual bool DoItemOpen(HTREEITEM item);
    virtual bool DoItemPlot(HTREEITEM item);
    virtual bool DoItemRename(HTREEITEM item);

    BOOL PreTranslateMessage(MSG* msg) override;

    // The drag cursors (shared by every tree of the process, made once).
    static std::map<EDropHint, std::map<bool, HCURSOR>> m_Cursormap;

protected:
    bool IsAncestor(HTREEITEM a, HTREEITEM b) const;
    HTREEITEM CopyItem(HTREEITEM source, HTREEITEM parent, HTREEITEM after);
    EDropHint GetDropHint(UINT flags);
    HTREEITEM GetDropTarget(EDropHint& hint);

    void OnBeginLabelEdit(NMHDR* hdr, LRESULT* result);
    void OnEndLabelEdit(NMHDR* hdr, LRESULT* result);
    void OnBeginDrag(NMHDR* hdr, LRESULT* result);
    void OnBeginRDrag(NMHDR* hdr, LRESULT* result);
    void OnSelChanging(NMHDR* hdr, LRESULT* result);
    void OnRClick(NMHDR* hdr, LRESULT* result);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnContextCmd(UINT id);
    void OnDragContextCmd(UINT id);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    std::map<UINT, std::map<bool, std::map<bool, Handler>>> m_Keymap;
    std::map<UINT, Handler> m_Commandmap;
    CDragData* m_pDragData = nullptr;
    int m_nDragLevel = -1;

private:
    friend class CDragData;
    void BeginDragging(NMHDR* hdr, bool right);
    CPoint CursorInClient() const;
};
