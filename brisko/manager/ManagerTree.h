// What the project manager's two trees share: a tree control with buttons
// and lines, its images from a bitmap of the resource library (16 pixels
// wide, green transparent), built at the initial update, expanding always
// allowed, the tool tip hidden when the wheel turns, and a context menu of
// the view's own (the control's notice is not passed on to the bar).
#pragma once
#include "classlib/ClassLib.h"

class CManagerTree : public CTreeView
{
    DECLARE_DYNAMIC(CManagerTree)
public:
    explicit CManagerTree(UINT imagesId);
    ~CManagerTree() override;

    // Builds the tree again from the application's project.
    virtual void BuildTree() = 0;
    CMenu& ContextMenu() { return m_menu; }

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    int OnCreate(LPCREATESTRUCT cs);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnContextMenu(CWnd*, CPoint) {}
    void OnItemExpanding(NMHDR* header, LRESULT* result);
    // Shows the context menu at the cursor; its command comes to the view.
    void TrackContextMenu();
    DECLARE_MESSAGE_MAP()

    CMenu m_menu;
    CImageList m_ilTree;

private:
    UINT m_nImagesId;
};
