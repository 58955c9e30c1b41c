// The template-library page of the project-manager bar: the current slope-
// template library (the application's copy, kept the same as the suite's)
// with its templates, and the commands on libraries and templates of its
// two context menus.  A click on a template shows it in the information
// page's preview; a double click edits it; the Delete key deletes it.
//
// Libraries are made, opened and imported in a scratch copy first: the
// current library changes only when the suite took the new one.
#pragma once
#include "brisko/templates/SlopeLine.h"

class CTreeViewTemplate : public CTreeView
{
    DECLARE_DYNCREATE(CTreeViewTemplate)
public:
    CTreeViewTemplate();
    ~CTreeViewTemplate() override;

    // Shows the current library again (nothing without a name and folder).
    void RebuildTree();
    // The context menu for a right click on the item (null: blank space);
    // a template's index is remembered for the template commands.
    CMenu* BuildMenu(HTREEITEM item);
    // The index of a template item among the templates, -1 for any other.
    int TemplateIndexOf(HTREEITEM item) const;
    // Loads the template into the shared preview list and has the
    // information page show it.
    void PreviewTemplate(int index);

    // The commands; a template command acts on the template last hit.
    void OnNewLibrary();
    void OnOpenLibrary();
    void OnModifyLibrary();
    void OnExploreLibrary();
    void OnImportLibrary();
    void OnExportLibrary();
    void OnDeleteLibrary();
    void OnNewTemplate();
    void OnImportTemplates();
    void OnEditTemplate();
    void OnSaveTemplateAs();
    void OnRenameTemplate();
    void OnDeleteTemplate();

    BOOL PreTranslateMessage(MSG* msg) override;
    void OnInitialUpdate() override;

    CImageList m_ilTree;
    HTREEITEM m_hRoot = nullptr;
    HTREEITEM m_hRecords = nullptr;
    int m_iTemplateHit = -1;
    CMenu* m_pMenu = nullptr;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnRightClick(NMHDR* header, LRESULT* result);
    void OnLeftClick(NMHDR* header, LRESULT* result);
    void OnDoubleClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    HTREEITEM ItemAtCursor() const;
    // The template file of the index, in the library folder; empty when
    // the index lists none.
    CString TemplatePath(int index) const;
    // Hands the application's copy of the library to the suite and saves
    // its file; TRUE when both went well.
    BOOL StoreLibrary();
    // Runs the template editor on the lines (the exit command waits
    // meanwhile); the template path after it ran.
    CString RunEditor(CSlopeLineArray& lines, const CString& path, short newTemplate);
    void DeleteSelectedTemplate();
};
