#include "brisko/manager/ManagerTree.h"

IMPLEMENT_DYNAMIC(CManagerTree, CTreeView)

BEGIN_MESSAGE_MAP(CManagerTree, CTreeView)
    ON_WM_CREATE()
    ON_WM_MOUSEWHEEL()
    ON_WM_CONTEXTMENU()
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGW, OnItemExpanding)
END_MESSAGE_MAP()

CManagerTree::CManagerTree(UINT imagesId) : m_nImagesId(imagesId) {}

CManagerTree::~CManagerTree() = default;

BOOL CManagerTree::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
    return CTreeView::PreCreateWindow(cs);
}

int CManagerTree::OnCreate(LPCREATESTRUCT cs)
{
    if (CTreeView::OnCreate(cs) == -1) return -1;
    if (m_ilTree.Create(m_nImagesId, 16, 1, RGB(0, 255, 0))) GetTreeCtrl().SetImageList(&m_ilTree, TVSIL_NORMAL);
    return 0;
}

void CManagerTree::OnInitialUpdate()
{
    CTreeView::OnInitialUpdate();
    BuildTree();
}

BOOL CManagerTree::OnMouseWheel(UINT, short, CPoint)
{
    // A wheel turn moves the items away from under a tool tip.
    HWND tip = reinterpret_cast<HWND>(SendMessage(TVM_GETTOOLTIPS, 0, 0));
    if (tip && ::IsWindowVisible(tip)) {
        ::SendMessageW(tip, TTM_POP, 0, 0);
        Invalidate();
    }
    return static_cast<BOOL>(Default());
}

void CManagerTree::OnItemExpanding(NMHDR*, LRESULT* result) { *result = 0; }

void CManagerTree::TrackContextMenu()
{
    if (m_menu.GetMenuItemCount() <= 0) return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    m_menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
}
