#include "brisko/manager/TreeViewResource.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/DialogBar_Html.h"
#include "brisko/shell/MainFrm.h"

IMPLEMENT_DYNCREATE(CTreeViewResource, CTreeView)

namespace {

// Posted to the tree by a double click on a document: wParam the document's
// index in the application's table.
const UINT WM_OPENPENDINGDOCUMENT = WM_APP + 0x103;

} // namespace

BEGIN_MESSAGE_MAP(CTreeViewResource, CTreeView)
    ON_WM_CREATE()
    ON_WM_MOUSEWHEEL()
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDoubleClick)
    ON_MESSAGE(WM_OPENPENDINGDOCUMENT, OnOpenPendingDocument)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGW, OnItemExpanding)
END_MESSAGE_MAP()

CTreeViewResource::CTreeViewResource() = default;

BOOL CTreeViewResource::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    return CTreeView::PreCreateWindow(cs);
}

int CTreeViewResource::OnCreate(LPCREATESTRUCT cs)
{
    if (CTreeView::OnCreate(cs) == -1) return -1;
    if (m_ImageList.Create(IDB_REFERENCE_TREE, 16, 1, RGB(0, 255, 0)))
        GetTreeCtrl().SetImageList(&m_ImageList, TVSIL_NORMAL);
    Build(theApp.m_ReferenceDocs);
    return 0;
}

void CTreeViewResource::Build(const DocTable& docs)
{
    CTreeCtrl& tree = GetTreeCtrl();
    tree.DeleteAllItems();
    const HTREEITEM root = tree.InsertItem(L"设计参考文档", 0, 1);
    tree.SetItemState(root, TVIS_BOLD, TVIS_BOLD);
    // The last item of each of the levels 1 to 4; a level's children go to
    // the top of the tree while it has none.
    HTREEITEM last[5] = {root, TVI_ROOT, TVI_ROOT, TVI_ROOT, TVI_ROOT};
    for (INT_PTR i = 0; i < docs.GetSize(); ++i) {
        const int level = docs[i].m_nLevel;
        if (level < 1 || level > 5) continue;
        const HTREEITEM item = tree.InsertItem(docs[i].m_STitle, 0, 1, last[level - 1]);
        if (level < 5) last[level] = item;
    }
    tree.Expand(root, TVE_EXPAND);
}

const Tavix4::sReferenceDoc* CTreeViewResource::FindDocument(const DocTable& docs, const CString& title)
{
    for (INT_PTR i = 0; i < docs.GetSize(); ++i)
        if (docs[i].m_STitle == title && docs[i].m_SFileName != L"NULL" && docs[i].m_STopic != L"NULL") return &docs[i];
    return nullptr;
}

void CTreeViewResource::OpenDocument(const Tavix4::sReferenceDoc& doc)
{
    CMainFrame* frame = CMainFrame::Current();
    if (!frame) return;
    const CString chm = ClFormat(L"%s\\Help\\%s", tkx_GetTavixPath().GetString(), doc.m_SFileName.GetString());
    if (!frame->m_pReferencePage) {
        auto* page = new CDialogBar_Html(frame);
        if (!page->GetSafeHwnd()) {
            delete page;
            return;
        }
        frame->m_pReferencePage = page;
    }
    // Shown once the topic is there (or the help file's absence said).
    frame->m_pReferencePage->OpenHelpTopic(chm, doc.m_STopic);
    frame->m_pReferencePage->ShowInFront();
}

void CTreeViewResource::OnDoubleClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    // The item under the pointer where the click was made.
    const DWORD at = ::GetMessagePos();
    CPoint point(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at)));
    ScreenToClient(&point);
    UINT flags = 0;
    const HTREEITEM item = GetTreeCtrl().HitTest(point, &flags);
    if (!item || !(flags & TVHT_ONITEM)) return;
    const DocTable& docs = theApp.m_ReferenceDocs;
    const Tavix4::sReferenceDoc* doc = FindDocument(docs, GetTreeCtrl().GetItemText(item));
    if (!doc) return;
    PostMessage(WM_OPENPENDINGDOCUMENT, static_cast<WPARAM>(doc - docs.GetData()));
    *result = 1;
}

LRESULT CTreeViewResource::OnOpenPendingDocument(WPARAM index, LPARAM)
{
    const DocTable& docs = theApp.m_ReferenceDocs;
    if (index < static_cast<WPARAM>(docs.GetSize())) OpenDocument(docs[static_cast<INT_PTR>(index)]);
    return 0;
}

void CTreeViewResource::OnItemExpanding(NMHDR*, LRESULT* result) { *result = 0; }

BOOL CTreeViewResource::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    HWND tip = reinterpret_cast<HWND>(GetTreeCtrl().SendMessage(TVM_GETTOOLTIPS));
    if (tip && ::IsWindowVisible(tip)) {
        ::ShowWindow(tip, SW_HIDE);
        Invalidate();
    }
    return CTreeView::OnMouseWheel(flags, delta, point);
}
