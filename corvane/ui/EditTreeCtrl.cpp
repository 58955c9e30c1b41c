#include "corvane/ui/EditTreeCtrl.h"

#include <vector>

namespace {

const wchar_t kNewItem[] = L"未命名项";
enum : UINT { ID_COPY_HERE = 15, ID_MOVE_HERE = 16, ID_DRAG_CANCEL = 17 };

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// --- The drag cursors: 32 x 32 monochrome pictures drawn here once. --------

enum Cell : char { CLEAR = 0, BLACK = 1, WHITE = 2 };

struct Picture {
    Cell cells[32][32] = {};
    void Set(int x, int y, Cell c)
    {
        if (x >= 0 && x < 32 && y >= 0 && y < 32) cells[y][x] = c;
    }
    // A framed box: black border, white inside.
    void Box(int left, int top, int right, int bottom)
    {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                Set(x, y, x == left || x == right || y == top || y == bottom ? BLACK : WHITE);
    }
    void Plus(int left, int top) // a 9 x 9 box with a plus
    {
        Box(left, top, left + 8, top + 8);
        for (int i = 2; i <= 6; ++i) {
            Set(left + i, top + 4, BLACK);
            Set(left + 4, top + i, BLACK);
        }
    }
    void NoEntry(int left, int top) // a 11 x 11 box with a barred circle
    {
        Box(left, top, left + 10, top + 10);
        const int cx = left + 5, cy = top + 5;
        for (int y = top + 1; y < top + 10; ++y)
            for (int x = left + 1; x < left + 10; ++x) {
                const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                if ((d >= 9 && d <= 17) || (x - left == y - top && d <= 17)) Set(x, y, BLACK);
            }
    }
    // The usual arrow with its tip at (tx, ty), pointing up-left; flipX
    // and flipY mirror it.
    void Arrow(int tx, int ty, bool flipX, bool flipY)
    {
        static const char* shape[] = {
            "B", "BB", "BWB", "BWWB", "BWWWB", "BWWWWB", "BWWWWWB", "BWWWWWWB", "BWWWWWWWB", "BWWWWWWWWB",
            "BWWWWWBBBB", "BWWBWWB", "BWB BWWB", "BB  BWWB", "B    BWWB", "     BWWB", "      BB",
        };
        for (int r = 0; r < static_cast<int>(sizeof(shape) / sizeof(shape[0])); ++r)
            for (int c = 0; shape[r][c]; ++c) {
                if (shape[r][c] == ' ') continue;
                Set(flipX ? tx - c : tx + c, flipY ? ty - r : ty + r, shape[r][c] == 'B' ? BLACK : WHITE);
            }
    }
    HCURSOR Make(int hotX, int hotY) const
    {
        BYTE andMask[128], xorMask[128];
        memset(andMask, 0, sizeof(andMask));
        memset(xorMask, 0, sizeof(xorMask));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
                if (cells[y][x] == CLEAR) andMask[y * 4 + x / 8] |= bit;
                if (cells[y][x] == WHITE) xorMask[y * 4 + x / 8] |= bit;
            }
        return ::CreateCursor(AfxGetInstanceHandle(), hotX, hotY, 32, 32, andMask, xorMask);
    }
};

} // namespace

// ---------------------------------------------------------------------------
// CDragData

CDragData::CDragData(tkxTreeCtrl& tree, HTREEITEM dragItem, bool right)
    : m_tree(tree), m_hSavedCursor(::GetCursor()), m_hDragItem(dragItem), m_bRight(right)
{
}

CDragData::CDragData(const CDragData& other)
    : m_tree(other.m_tree), m_hSavedCursor(other.m_hSavedCursor), m_hDragItem(other.m_hDragItem),
      m_hDropTarget(other.m_hDropTarget), m_nHoverCount(other.m_nHoverCount), m_bRight(other.m_bRight),
      m_nDropHint(other.m_nDropHint)
{
}

CDragData::~CDragData() { ReleaseDragImage(); }

void CDragData::StartDrag()
{
    CreateDragImage();
    m_tree.SetCapture();
}

void CDragData::EndDrag()
{
    ReleaseDragImage();
    m_tree.SelectDropTarget(nullptr);
    if (HTREEITEM selected = m_tree.GetSelectedItem()) m_tree.EnsureVisible(selected);
    ::SetCursor(m_hSavedCursor);
    if (::GetCapture() == m_tree.m_hWnd) ::ReleaseCapture();
}

void CDragData::CreateDragImage()
{
    m_pDragImage = m_tree.CreateDragImage(m_hDragItem);
    if (!m_pDragImage) return;
    const CPoint p = m_tree.CursorInClient();
    CImageList::DragShowNolock(TRUE);
    ImageList_SetDragCursorImage(m_pDragImage->m_hImageList, 0, 0, 0);
    m_pDragImage->BeginDrag(0, CPoint(0, 0));
    CImageList::DragEnter(&m_tree, p);
    CImageList::DragMove(p);
}

void CDragData::ReleaseDragImage()
{
    if (!m_pDragImage) return;
    CImageList::DragLeave(&m_tree);
    CImageList::EndDrag();
    delete m_pDragImage;
    m_pDragImage = nullptr;
}

bool CDragData::CheckExpand(HTREEITEM item)
{
    if (item == m_hDropTarget) {
        if (++m_nHoverCount >= 15) {
            m_nHoverCount = 0;
            return true;
        }
        return false;
    }
    m_nHoverCount = 0;
    m_hDropTarget = item;
    return false;
}

void CDragData::DragLeave()
{
    if (m_pDragImage) CImageList::DragLeave(&m_tree);
}

void CDragData::DragEnter(CPoint client)
{
    if (m_pDragImage) CImageList::DragEnter(&m_tree, client);
}

void CDragData::DragMove(CPoint client)
{
    if (m_pDragImage) CImageList::DragMove(client);
}

// ---------------------------------------------------------------------------
// tkxTreeCtrl

std::map<tkxTreeCtrl::EDropHint, std::map<bool, HCURSOR>> tkxTreeCtrl::m_Cursormap;

IMPLEMENT_DYNAMIC(tkxTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(tkxTreeCtrl, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITW, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(TVN_ENDLABELEDITW, OnEndLabelEdit)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGW, OnBeginDrag)
    ON_NOTIFY_REFLECT(TVN_BEGINRDRAGW, OnBeginRDrag)
    ON_NOTIFY_REFLECT(TVN_SELCHANGINGW, OnSelChanging)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_COMMAND_RANGE(1, 11, OnContextCmd)
    ON_COMMAND_RANGE(15, 17, OnDragContextCmd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

tkxTreeCtrl::tkxTreeCtrl()
{
    m_Keymap[VK_F2][false][false] = &tkxTreeCtrl::DoEditLabel;
    m_Keymap[VK_DELETE][false][false] = &tkxTreeCtrl::DoDeleteItem;
    m_Keymap[VK_INSERT][false][false] = &tkxTreeCtrl::DoInsertSibling;
    m_Keymap[VK_INSERT][true][false] = &tkxTreeCtrl::DoInsertChild;
    m_Keymap[VK_INSERT][false][true] = &tkxTreeCtrl::DoInsertRoot;
    m_Keymap['S'][true][false] = &tkxTreeCtrl::DoSortCurrentLevel;
    m_Keymap['S'][true][true] = &tkxTreeCtrl::DoSortCurrentLevelAndBelow;
    m_Commandmap[1] = &tkxTreeCtrl::DoEditLabel;
    m_Commandmap[2] = &tkxTreeCtrl::DoDeleteItem;
    m_Commandmap[3] = &tkxTreeCtrl::DoInsertSibling;
    m_Commandmap[4] = &tkxTreeCtrl::DoInsertChild;
    m_Commandmap[5] = &tkxTreeCtrl::DoInsertRoot;
    m_Commandmap[6] = &tkxTreeCtrl::DoSortCurrentLevel;
    m_Commandmap[7] = &tkxTreeCtrl::DoSortCurrentLevelAndBelow;
    m_Commandmap[8] = &tkxTreeCtrl::DoItemOpen;
    m_Commandmap[9] = &tkxTreeCtrl::DoItemPlot;
    m_Commandmap[10] = &tkxTreeCtrl::DoItemRename;
}

tkxTreeCtrl::~tkxTreeCtrl()
{
    delete m_pDragData;
    m_pDragData = nullptr;
}

void tkxTreeCtrl::OnDestroy()
{
    if (m_pDragData) DragStop();
    Default();
}

void tkxTreeCtrl::SetupInsertStruct(TVINSERTSTRUCTW& insert, HTREEITEM parent)
{
    insert = TVINSERTSTRUCTW{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(kNewItem);
}

int tkxTreeCtrl::GetItemLevel(HTREEITEM item) const
{
    if (!item) return -1;
    int level = 0;
    for (HTREEITEM parent = GetParentItem(item); parent; parent = GetParentItem(parent)) ++level;
    return level;
}

bool tkxTreeCtrl::IsAncestor(HTREEITEM a, HTREEITEM b) const
{
    for (HTREEITEM item = b; item; item = GetParentItem(item))
        if (item == a) return true;
    return false;
}

CPoint tkxTreeCtrl::CursorInClient() const
{
    CPoint p;
    ::GetCursorPos(&p);
    ScreenToClient(&p);
    return p;
}

// ---------------------------------------------------------------------------
// Hooks

bool tkxTreeCtrl::CanEditLabel(HTREEITEM) { return true; }
bool tkxTreeCtrl::CanSetLabelText(TVITEMW&) { return true; }
bool tkxTreeCtrl::CanDeleteItem(HTREEITEM) { return true; }
bool tkxTreeCtrl::CanInsertItem(HTREEITEM) { return true; }
bool tkxTreeCtrl::CanSortLevel(HTREEITEM) { return true; }
bool tkxTreeCtrl::CanDragItem(TVITEMW&) { return true; }
bool tkxTreeCtrl::CanDropItem(HTREEITEM, HTREEITEM, EDropHint) { return true; }
void tkxTreeCtrl::OnNewItem(HTREEITEM) {}
void tkxTreeCtrl::ExtendContextMenu(CMenu&) {}
bool tkxTreeCtrl::DoItemOpen(HTREEITEM) { return true; }
bool tkxTreeCtrl::DoItemPlot(HTREEITEM) { return true; }
bool tkxTreeCtrl::DoItemRename(HTREEITEM) { return true; }

// ---------------------------------------------------------------------------
// Keys and editing operations

BOOL tkxTreeCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && HandleKeyDown(static_cast<UINT>(msg->wParam), msg->lParam)) return TRUE;
    return CTreeCtrl::PreTranslateMessage(msg);
}

bool tkxTreeCtrl::HandleKeyDown(UINT key, LPARAM lParam)
{
    CEdit* label = GetEditControl();
    if (!label) {
        auto byKey = m_Keymap.find(key);
        if (byKey != m_Keymap.end()) {
            auto byCtrl = byKey->second.find(KeyDown(VK_CONTROL));
            if (byCtrl != byKey->second.end()) {
                auto byShift = byCtrl->second.find(KeyDown(VK_SHIFT));
                if (byShift != byCtrl->second.end()) return (this->*(byShift->second))(GetSelectedItem());
            }
        }
    }
    if (key == VK_RETURN || key == VK_ESCAPE) {
        if (key == VK_ESCAPE && m_pDragData) {
            DragStop();
            return true;
        }
        if (label) {
            // Enter and Esc end or cancel the label edit, also in dialogs.
            label->SendMessage(WM_KEYDOWN, key, lParam);
            return true;
        }
    }
    return false;
}

bool tkxTreeCtrl::DoEditLabel(HTREEITEM item) { return item && EditLabel(item) != nullptr; }

HTREEITEM tkxTreeCtrl::NewItem(TVINSERTSTRUCTW& insert)
{
    if (!CanInsertItem(insert.hParent)) return nullptr;
    HTREEITEM item = InsertItem(&insert);
    if (!item) return nullptr;
    SelectItem(item);
    OnNewItem(item);
    EditLabel(item);
    return item;
}

bool tkxTreeCtrl::DoInsertSibling(HTREEITEM item)
{
    TVINSERTSTRUCTW insert;
    SetupInsertStruct(insert, item ? GetParentItem(item) : nullptr);
    return NewItem(insert) != nullptr;
}

bool tkxTreeCtrl::DoInsertChild(HTREEITEM item)
{
    TVINSERTSTRUCTW insert;
    SetupInsertStruct(insert, item);
    return NewItem(insert) != nullptr;
}

bool tkxTreeCtrl::DoInsertRoot(HTREEITEM)
{
    TVINSERTSTRUCTW insert;
    SetupInsertStruct(insert, nullptr);
    return NewItem(insert) != nullptr;
}

bool tkxTreeCtrl::DoDeleteItem(HTREEITEM item) { return item && CanDeleteItem(item) && DeleteItem(item); }

void tkxTreeCtrl::SortCurrentLevel(HTREEITEM item)
{
    if (!item) item = GetSelectedItem();
    if (!CanSortLevel(item)) return;
    HTREEITEM parent = item ? GetParentItem(item) : nullptr;
    SortChildren(parent ? parent : TVI_ROOT);
}

void tkxTreeCtrl::SortCurrentLevelAndBelow(HTREEITEM item)
{
    SortCurrentLevel(item);
    HTREEITEM parent = item ? GetParentItem(item) : nullptr;
    for (HTREEITEM level = parent ? GetChildItem(parent) : GetRootItem(); level; level = GetNextSiblingItem(level))
        if (HTREEITEM child = GetChildItem(level)) SortCurrentLevelAndBelow(child);
}

bool tkxTreeCtrl::DoSortCurrentLevel(HTREEITEM item)
{
    SortCurrentLevel(item);
    return true;
}

bool tkxTreeCtrl::DoSortCurrentLevelAndBelow(HTREEITEM item)
{
    SortCurrentLevelAndBelow(item);
    return true;
}

// ---------------------------------------------------------------------------
// Label editing

void tkxTreeCtrl::OnBeginLabelEdit(NMHDR* hdr, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTVDISPINFOW*>(hdr);
    *result = CanEditLabel(info->item.hItem) ? 0 : 1;
}

void tkxTreeCtrl::OnEndLabelEdit(NMHDR* hdr, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTVDISPINFOW*>(hdr);
    *result = 0;
    if (info->item.pszText && CanSetLabelText(info->item)) SetItemText(info->item.hItem, info->item.pszText);
}

// ---------------------------------------------------------------------------
// Context menus

void tkxTreeCtrl::OnRClick(NMHDR*, LRESULT* result)
{
    CPoint screen;
    ::GetCursorPos(&screen);
    CPoint client = screen;
    ScreenToClient(&client);
    UINT flags = 0;
    HTREEITEM item = HitTest(client, &flags);
    if (item && (flags & TVHT_ONITEM)) SelectItem(item);
    DisplayContextMenu(screen);
    *result = 1; // handled: no context-menu message follows
}

void tkxTreeCtrl::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        CRect rect(0, 0, 0, 0);
        if (HTREEITEM selected = GetSelectedItem()) GetItemRect(selected, &rect, TRUE);
        point = CPoint(rect.left, rect.bottom);
        ClientToScreen(&point);
    }
    DisplayContextMenu(point);
}

void tkxTreeCtrl::DisplayContextMenu(CPoint& point)
{
    CPoint client = point;
    ScreenToClient(&client);
    UINT flags = 0;
    HTREEITEM item = HitTest(client, &flags);
    const bool onItem = item && (flags & TVHT_ONITEM);

    CMenu add, sort, menu;
    add.CreatePopupMenu();
    if (onItem) {
        if (CanInsertItem(GetParentItem(item))) add.AppendMenu(MF_STRING, 3, L"New Sibling\tINS");
        if (CanInsertItem(item)) add.AppendMenu(MF_STRING, 4, L"创建子项目\tCtrl+INS");
    }
    if (CanInsertItem(nullptr)) add.AppendMenu(MF_STRING, 5, L"创建项目\tShift+INS");
    sort.CreatePopupMenu();
    sort.AppendMenu(MF_STRING, 6, L"当前级\tCtrl+S");
    sort.AppendMenu(MF_STRING, 7, L"当前级之后的项目\tCtrl+Shift+S");
    menu.CreatePopupMenu();
    if (onItem) {
        if (CanEditLabel(item)) menu.AppendMenu(MF_STRING, 1, L"重命名\tF2");
        if (CanDeleteItem(item)) menu.AppendMenu(MF_STRING, 2, L"删除\tDEL");
    }
    if (add.GetMenuItemCount() > 0) menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(add.Detach()), L"添加");
    if (onItem) {
        if (menu.GetMenuItemCount() > 0) menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sort.Detach()), L"排序");
    }
    ExtendContextMenu(menu);
    if (menu.GetMenuItemCount() > 0) menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu(); // with the submenus it holds
}

void tkxTreeCtrl::OnContextCmd(UINT id)
{
    auto it = m_Commandmap.find(id);
    if (it != m_Commandmap.end()) (this->*(it->second))(GetSelectedItem());
}

// ---------------------------------------------------------------------------
// Dragging

CDragData* tkxTreeCtrl::CreateDragData(HTREEITEM item, bool right) { return new CDragData(*this, item, right); }

void tkxTreeCtrl::BeginDragging(NMHDR* hdr, bool right)
{
    auto* info = reinterpret_cast<NMTREEVIEWW*>(hdr);
    if (m_pDragData || !CanDragItem(info->itemNew)) return;
    m_pDragData = CreateDragData(info->itemNew.hItem, right);
    DragStart();
}

void tkxTreeCtrl::OnBeginDrag(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    BeginDragging(hdr, false);
}

void tkxTreeCtrl::OnBeginRDrag(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    BeginDragging(hdr, true);
}

void tkxTreeCtrl::DragStart()
{
    m_nDragLevel = GetItemLevel(m_pDragData->GetDragItem());
    m_pDragData->StartDrag();
    SelectItem(m_pDragData->GetDragItem());
}

tkxTreeCtrl::EDropHint tkxTreeCtrl::GetDropHint(UINT flags)
{
    EDropHint hint = DROP_NONE;
    if (flags & TVHT_ONITEMRIGHT) {
        hint = DROP_CHILD;
    } else if (flags & TVHT_ONITEM) {
        hint = DROP_ABOVE;
        CRect rect;
        HTREEITEM highlighted = GetDropHilightItem();
        const int y = CursorInClient().y;
        if (highlighted && GetItemRect(highlighted, &rect, FALSE) && rect.bottom - y < y - rect.top) hint = DROP_BELOW;
    } else if (flags & TVHT_NOWHERE) {
        hint = DROP_BELOW;
    }
    if (m_pDragData) m_pDragData->SetDropHint(hint);
    return hint;
}

HTREEITEM tkxTreeCtrl::GetDropTarget(EDropHint& hint)
{
    const CPoint p = CursorInClient();
    UINT flags = 0;
    HTREEITEM item = HitTest(p, &flags);
    hint = GetDropHint(flags);
    HTREEITEM drag = m_pDragData->GetDragItem();
    m_pDragData->SetDropTarget(item);
    if (!item) {
        if (hint != DROP_NONE && !CanDropItem(drag, nullptr, hint)) hint = DROP_NONE;
        return nullptr;
    }
    m_pDragData->DragLeave();
    SelectDropTarget(item);
    if (m_pDragData->CheckExpand(item)) Expand(item, TVE_EXPAND);
    if (HTREEITEM previous = GetNextItem(item, TVGN_PREVIOUSVISIBLE)) EnsureVisible(previous);
    if (HTREEITEM next = GetNextItem(item, TVGN_NEXTVISIBLE)) EnsureVisible(next);
    if (IsAncestor(drag, item) || !CanDropItem(drag, item, hint)) hint = DROP_NONE;
    m_pDragData->DragEnter(p);
    return item;
}

void tkxTreeCtrl::CreateCursorMap()
{
    if (!m_Cursormap.empty()) return;
    for (int hint = DROP_BELOW; hint <= DROP_NONE; ++hint) {
        for (bool ctrl : {false, true}) {
            if (hint == DROP_NONE && ctrl) { // no copying where nothing can drop: the same cursor
                m_Cursormap[DROP_NONE][true] = m_Cursormap[DROP_NONE][false];
                continue;
            }
            Picture picture;
            int hotX = 4, hotY = 2;
            switch (hint) {
            case DROP_NONE:
                picture.Arrow(4, 2, false, false);
                picture.Box(11, 17, 22, 24);
                picture.NoEntry(19, 20);
                break;
            case DROP_ABOVE:
                picture.Arrow(4, 2, false, false);
                picture.Box(11, 19, 22, 26);
                if (ctrl) picture.Plus(21, 21);
                break;
            case DROP_BELOW:
                picture.Arrow(4, 29, false, true);
                hotY = 29;
                picture.Box(11, 5, 22, 12);
                if (ctrl) picture.Plus(21, 1);
                break;
            default: // DROP_CHILD
                picture.Arrow(27, 29, true, true);
                hotX = 27;
                hotY = 29;
                picture.Box(2, 2, 13, 9);
                if (ctrl) picture.Plus(1, 13);
                break;
            }
            m_Cursormap[static_cast<EDropHint>(hint)][ctrl] = picture.Make(hotX, hotY);
        }
    }
}

void tkxTreeCtrl::SetDragCursor(HTREEITEM, EDropHint hint)
{
    if (m_Cursormap.empty()) CreateCursorMap();
    ::SetCursor(m_Cursormap[hint][KeyDown(VK_CONTROL)]);
}

void tkxTreeCtrl::DragMove()
{
    EDropHint hint;
    HTREEITEM target = GetDropTarget(hint);
    m_pDragData->DragMove(CursorInClient());
    SetDragCursor(target, hint);
}

void tkxTreeCtrl::DragEnd()
{
    EDropHint hint;
    HTREEITEM target = GetDropTarget(hint);
    const int level = GetItemLevel(target);
    if (m_nDragLevel < level) {
        DragStop();
        return;
    }
    if (m_nDragLevel == level + 1) hint = DROP_CHILD;
    if (m_pDragData->IsRightDragging()) {
        if (hint == DROP_NONE) {
            DragStop();
            return;
        }
        CPoint p;
        ::GetCursorPos(&p);
        DragDisplayContextMenu(p);
        return;
    }
    DragMoveItem(m_pDragData->GetDragItem(), target, hint, KeyDown(VK_CONTROL));
    DragStop();
}

void tkxTreeCtrl::DragDisplayContextMenu(CPoint& point)
{
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_COPY_HERE, L"Copy Here");
    menu.AppendMenu(MF_STRING, ID_MOVE_HERE, L"Move Here");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_DRAG_CANCEL, L"Cancel");
    menu.SetDefaultItem(KeyDown(VK_CONTROL) ? ID_COPY_HERE : ID_MOVE_HERE);
    // The choice comes back at once, so that a menu closed without one
    // ends the drag too.
    const UINT command = static_cast<UINT>(::TrackPopupMenu(menu.m_hMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                            point.x, point.y, 0, m_hWnd, nullptr));
    menu.DestroyMenu();
    if (command >= ID_COPY_HERE && command <= ID_DRAG_CANCEL)
        OnDragContextCmd(command);
    else if (m_pDragData)
        DragStop();
}

void tkxTreeCtrl::OnDragContextCmd(UINT id)
{
    if (!m_pDragData) return;
    if (id != ID_DRAG_CANCEL)
        DragMoveItem(m_pDragData->GetDragItem(), m_pDragData->GetDropTarget(),
                     static_cast<EDropHint>(m_pDragData->GetDropHint()), id == ID_COPY_HERE);
    DragStop();
}

void tkxTreeCtrl::DragMoveItem(HTREEITEM drag, HTREEITEM target, EDropHint hint, bool copy)
{
    if (hint == DROP_NONE || IsAncestor(drag, target) || !CanDropItem(drag, target, hint)) return;
    HTREEITEM anchor = target;
    if (!anchor && hint == DROP_BELOW) {
        for (HTREEITEM top = GetRootItem(); top; top = GetNextSiblingItem(top)) anchor = top;
    }
    HTREEITEM parent = nullptr, after = TVI_LAST;
    switch (hint) {
    case DROP_BELOW:
        parent = anchor ? GetParentItem(anchor) : nullptr;
        after = anchor ? anchor : TVI_LAST;
        break;
    case DROP_ABOVE: {
        parent = anchor ? GetParentItem(anchor) : nullptr;
        HTREEITEM previous = anchor ? GetPrevSiblingItem(anchor) : nullptr;
        after = previous ? previous : TVI_FIRST;
        break;
    }
    default: // DROP_CHILD
        parent = anchor;
        after = TVI_LAST;
        break;
    }
    HTREEITEM copied = CopyItem(drag, parent, after);
    if (!copied) return;
    SelectItem(copied);
    if (!copy) DeleteItem(drag);
}

HTREEITEM tkxTreeCtrl::CopyItem(HTREEITEM source, HTREEITEM parent, HTREEITEM after)
{
    TVITEMEXW item{};
    item.hItem = source;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_INTEGRAL | TVIF_STATE;
    item.stateMask = 0xFF00;
    SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const CString text = GetItemText(source);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(static_cast<const wchar_t*>(text));
    HTREEITEM copy = InsertItem(&insert);
    if (!copy) return nullptr;
    item.hItem = copy;
    item.state &= 0xFF00;
    SendMessage(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (HTREEITEM child = GetChildItem(source); child; child = GetNextSiblingItem(child))
        CopyItem(child, copy, TVI_LAST);
    return copy;
}

void tkxTreeCtrl::DragStop()
{
    if (!m_pDragData) return;
    CDragData* data = m_pDragData;
    m_pDragData = nullptr;
    data->EndDrag();
    delete data;
}

void tkxTreeCtrl::OnSelChanging(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMTREEVIEWW*>(hdr);
    if (!m_pDragData || info->action != TVC_UNKNOWN) return;
    HTREEITEM item = info->itemNew.hItem;
    if (!item || (GetItemState(item, TVIS_SELECTED) & TVIS_SELECTED)) return;
    SetItemState(item, TVIS_SELECTED, TVIS_SELECTED);
    m_pDragData->ReleaseDragImage();
    m_pDragData->CreateDragImage();
}

void tkxTreeCtrl::OnMouseMove(UINT, CPoint)
{
    if (m_pDragData)
        DragMove();
    else
        Default();
}

void tkxTreeCtrl::OnLButtonUp(UINT, CPoint)
{
    if (m_pDragData)
        DragEnd();
    else
        Default();
}

void tkxTreeCtrl::OnRButtonDown(UINT, CPoint)
{
    if (!m_pDragData) Default();
}

void tkxTreeCtrl::OnRButtonUp(UINT, CPoint)
{
    if (!m_pDragData)
        Default();
    else if (m_pDragData->IsRightDragging())
        DragEnd();
    else
        DragStop();
}
