// The fourth page of the project manager, "文档规范": the design reference
// documents (standards and manuals in the suite's help files), nested by
// their levels under the root "设计参考文档".  Double-clicking a document
// opens it at its topic in the reference-document page of the main window;
// a single click only selects it.
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/project/TavixInterface.h"

class CTreeViewResource : public CTreeView
{
    DECLARE_DYNCREATE(CTreeViewResource)
public:
    using DocTable = CArray<Tavix4::sReferenceDoc, Tavix4::sReferenceDoc>;

    CTreeViewResource();

    // Fills the tree: the root, then the records in order, a record of
    // level n under the last item of level n - 1 (level 1 under the root;
    // at the top of the tree while there is none); other levels are left
    // out.  The root is expanded.
    void Build(const DocTable& docs);
    // The first record with this title that names a help file and a topic;
    // null when there is none.
    static const Tavix4::sReferenceDoc* FindDocument(const DocTable& docs, const CString& title);
    // Opens the document in the main frame's reference page (made when
    // there is none), which is shown and activated.
    void OpenDocument(const Tavix4::sReferenceDoc& doc);

    CImageList m_ImageList;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT cs);
    // A double click on a document opens it once the tree is done with the
    // click (the click itself activates the main window); on anything else
    // the tree does what it does by itself (a chapter opens or closes).
    void OnDoubleClick(NMHDR* nm, LRESULT* result);
    LRESULT OnOpenPendingDocument(WPARAM index, LPARAM);
    void OnItemExpanding(NMHDR* nm, LRESULT* result);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    DECLARE_MESSAGE_MAP()
};
