// The editable tree: keys (insert, delete, sort), label editing with its
// hooks, the context menu by position and hooks, dragging with the left
// and the right button driven by the mouse (moves, copies, refused drops,
// auto-expansion, the drop menu and a dismissed drop menu), the drag
// cursors, and a rendering.
#include "controls_test_support.h"
#include "corvane/ui/EditTreeCtrl.h"

#include <string>
#include <vector>

using namespace wintest;
using namespace controls_test;

namespace {

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                         TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;

// A tree whose hooks a test can close.
class HookedTree : public tkxTreeCtrl
{
public:
    bool allowDelete = true, allowEdit = true, allowSetText = true, allowInsertRoot = true;
    bool CanDeleteItem(HTREEITEM) override { return allowDelete; }
    bool CanEditLabel(HTREEITEM) override { return allowEdit; }
    bool CanSetLabelText(TVITEMW&) override { return allowSetText; }
    bool CanInsertItem(HTREEITEM parent) override { return parent || allowInsertRoot; }
    using tkxTreeCtrl::m_Keymap;
};

class TreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                                  L"树", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 400, 420), ShownFrame(),
                                  900));
        ASSERT_TRUE(tree.Create(kTreeStyle, CRect(10, 10, 300, 400), &host, 901));
        font.CreatePointFont(90, L"宋体");
        tree.SetFont(&font);
        images.Create(16, 16, static_cast<UINT>(ILC_COLOR32 | ILC_MASK), 2, 0);
        for (COLORREF colour : {RGB(200, 40, 40), RGB(40, 120, 200)}) {
            CBitmap bitmap;
            CDC screen;
            screen.CreateCompatibleDC(nullptr);
            HDC display = ::GetDC(nullptr);
            bitmap.Attach(::CreateCompatibleBitmap(display, 16, 16));
            ::ReleaseDC(nullptr, display);
            CBitmap* old = screen.SelectObject(&bitmap);
            screen.FillSolidRect(0, 0, 16, 16, RGB(255, 0, 255));
            screen.FillSolidRect(2, 3, 12, 10, colour);
            screen.SelectObject(old);
            images.Add(&bitmap, RGB(255, 0, 255));
        }
        tree.SetImageList(&images, TVSIL_NORMAL);
        // 道路 (路线 A (K0, K1), 路线 B), 桥梁 (大桥), 隧道
        road = Add(L"道路", nullptr, 1);
        a = Add(L"路线 A", road);
        k1 = Add(L"K1", a);
        k0 = Add(L"K0", a);
        b = Add(L"路线 B", road);
        bridge = Add(L"桥梁", nullptr, 2);
        big = Add(L"大桥", bridge);
        tunnel = Add(L"隧道", nullptr);
        tree.Expand(road, TVE_EXPAND);
        tree.Expand(a, TVE_EXPAND);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        if (tree.IsDragging()) tree.DragStop();
        host.DestroyWindow();
        PumpUntilIdle();
    }
    HTREEITEM Add(const wchar_t* text, HTREEITEM parent, int data = 0)
    {
        HTREEITEM item = tree.InsertItem(text, data ? 1 : 0, data ? 1 : 0, parent ? parent : TVI_ROOT);
        tree.SetItemData(item, static_cast<DWORD_PTR>(data));
        return item;
    }
    // The tree as text: "label(child child) label".
    std::string Shape(HTREEITEM first = nullptr)
    {
        std::string text;
        for (HTREEITEM item = first ? first : tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
            if (!text.empty()) text += " ";
            text += test_support::Utf8(tree.GetItemText(item));
            if (HTREEITEM child = tree.GetChildItem(item)) text += "(" + Shape(child) + ")";
        }
        return text;
    }
    HTREEITEM Find(const wchar_t* label, HTREEITEM first = nullptr)
    {
        for (HTREEITEM item = first ? first : tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemText(item) == label) return item;
            if (HTREEITEM child = tree.GetChildItem(item))
                if (HTREEITEM found = Find(label, child)) return found;
        }
        return nullptr;
    }
    CPoint Centre(HTREEITEM item)
    {
        CRect rect;
        tree.GetItemRect(item, &rect, TRUE);
        return rect.CenterPoint();
    }
    // Moves the pointer (the tree reads it) and tells the tree.
    void MoveTo(CPoint client, WPARAM buttons)
    {
        CPoint screen = client;
        tree.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        Post(&tree, WM_MOUSEMOVE, buttons, PointParam(client));
    }
    // Presses on an item and moves far enough for the tree to start a drag.
    void StartDrag(HTREEITEM item, bool right = false)
    {
        const CPoint at = Centre(item);
        CPoint screen = at;
        tree.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        PumpUntilIdle();
        const WPARAM button = right ? MK_RBUTTON : MK_LBUTTON;
        tree.PostMessage(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, button, PointParam(at));
        tree.PostMessage(WM_MOUSEMOVE, button, PointParam(at + CPoint(12, 12)));
        PumpUntilIdle();
        ASSERT_TRUE(tree.IsDragging());
    }
    void Drop(CPoint client, bool right = false)
    {
        MoveTo(client, right ? MK_RBUTTON : MK_LBUTTON);
        Post(&tree, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, PointParam(client));
    }

    CWnd host;
    HookedTree tree;
    CFont font;
    CImageList images;
    HTREEITEM road, a, k0, k1, b, bridge, big, tunnel;
};

} // namespace

TEST_F(TreeTest, InsertDeleteAndSortByKey)
{
    EXPECT_EQ(2, tree.GetItemLevel(k0));
    EXPECT_EQ(0, tree.GetItemLevel(road));
    EXPECT_EQ(-1, tree.GetItemLevel(nullptr));

    // Insert on a second-level item: the last child of its parent, selected,
    // its label open for typing.
    tree.SelectItem(b);
    tree.SetFocus();
    PressKey(&tree, VK_INSERT);
    HTREEITEM made = tree.GetSelectedItem();
    EXPECT_EQ(CString(L"未命名项"), tree.GetItemText(made));
    EXPECT_EQ(road, tree.GetParentItem(made));
    EXPECT_EQ(nullptr, tree.GetNextSiblingItem(made));
    ASSERT_NE(nullptr, tree.GetEditControl());
    PressKey(tree.GetEditControl(), VK_ESCAPE); // cancels the label edit only
    EXPECT_EQ(nullptr, tree.GetEditControl());
    EXPECT_EQ(CString(L"未命名项"), tree.GetItemText(made));
    {
        KeyState shift(false, true);
        PressKey(&tree, VK_INSERT);
    }
    PressKey(tree.GetEditControl(), VK_ESCAPE);
    EXPECT_EQ("道路(路线 A(K1 K0) 路线 B 未命名项) 桥梁(大桥) 隧道 未命名项", Shape());
    {
        KeyState ctrl(true, false);
        tree.SelectItem(tunnel);
        PressKey(&tree, VK_INSERT);
        PressKey(tree.GetEditControl(), VK_ESCAPE);
    }
    EXPECT_EQ(tunnel, tree.GetParentItem(tree.GetSelectedItem()));
    tree.SelectItem(nullptr);
    PressKey(&tree, VK_INSERT); // nothing selected: the top level
    PressKey(tree.GetEditControl(), VK_ESCAPE);
    EXPECT_EQ(nullptr, tree.GetParentItem(tree.GetSelectedItem()));

    // Delete takes the subtree; a refusing hook keeps it.
    tree.SelectItem(a);
    PressKey(&tree, VK_DELETE);
    EXPECT_EQ(nullptr, Find(L"K0"));
    tree.allowDelete = false;
    tree.SelectItem(bridge);
    PressKey(&tree, VK_DELETE);
    EXPECT_NE(nullptr, Find(L"桥梁"));

    // Ctrl+S sorts the level of the selected item; Ctrl+Shift+S also every
    // level below it (the tree's own order: plain letters here).
    tree.DeleteAllItems();
    HTREEITEM c = Add(L"c", nullptr);
    HTREEITEM x = Add(L"a", nullptr);
    Add(L"z", x);
    HTREEITEM y = Add(L"y", x);
    HTREEITEM q = Add(L"q", Add(L"b", nullptr));
    Add(L"p2", q);
    Add(L"p1", q);
    Add(L"k", c);
    Add(L"j", c);
    tree.SelectItem(y);
    {
        KeyState ctrl(true, false);
        PressKey(&tree, 'S');
    }
    EXPECT_EQ("c(k j) a(y z) b(q(p2 p1))", Shape());
    tree.SelectItem(c);
    {
        KeyState both(true, true);
        PressKey(&tree, 'S');
    }
    EXPECT_EQ("a(y z) b(q(p1 p2)) c(j k)", Shape());
}

TEST_F(TreeTest, LabelsAreEditedThroughTheHooks)
{
    tree.SetFocus();
    tree.SelectItem(k0);
    PressKey(&tree, VK_F2);
    CEdit* edit = tree.GetEditControl();
    ASSERT_NE(nullptr, edit);
    edit->SetWindowText(L"K0+000");
    // Enter reaches the edit box through the tree, as it would in a dialog.
    MSG enter{edit->m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(tree.PreTranslateMessage(&enter));
    PumpUntilIdle();
    EXPECT_EQ(nullptr, tree.GetEditControl());
    EXPECT_EQ(CString(L"K0+000"), tree.GetItemText(k0));

    tree.allowSetText = false;
    PressKey(&tree, VK_F2);
    ASSERT_NE(nullptr, tree.GetEditControl());
    tree.GetEditControl()->SetWindowText(L"不要");
    PressKey(tree.GetEditControl(), VK_RETURN);
    EXPECT_EQ(CString(L"K0+000"), tree.GetItemText(k0));

    // Esc cancels and is consumed (a dialog around would not close).
    tree.allowSetText = true;
    PressKey(&tree, VK_F2);
    ASSERT_NE(nullptr, tree.GetEditControl());
    tree.GetEditControl()->SetWindowText(L"取消");
    MSG escape{tree.GetEditControl()->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_TRUE(tree.PreTranslateMessage(&escape));
    PumpUntilIdle();
    EXPECT_EQ(CString(L"K0+000"), tree.GetItemText(k0));

    tree.allowEdit = false;
    PressKey(&tree, VK_F2);
    EXPECT_EQ(nullptr, tree.GetEditControl());
    MSG f2{tree.m_hWnd, WM_KEYDOWN, VK_F2, 1, 0, {0, 0}};
    EXPECT_FALSE(tree.PreTranslateMessage(&f2)); // refused: the key goes on
}

TEST_F(TreeTest, ContextMenuFollowsThePlaceAndTheHooks)
{
    auto menuAt = [&](CPoint client) {
        CPoint screen = client;
        tree.ClientToScreen(&screen);
        return WatchMenu([&] { tree.SendMessage(WM_CONTEXTMENU, (WPARAM)tree.m_hWnd, PointParam(screen)); });
    };
    ShownMenu empty = menuAt(CPoint(100, 350));
    ASSERT_EQ(1, empty.count);
    EXPECT_EQ(std::vector<CString>{L"添加>"}, empty.items);
    EXPECT_EQ(std::vector<CString>{L"创建项目\tShift+INS"}, empty.submenus[0]);

    ShownMenu onItem = menuAt(Centre(a));
    EXPECT_EQ((std::vector<CString>{L"重命名\tF2", L"删除\tDEL", L"添加>", L"-", L"排序>"}), onItem.items);
    EXPECT_EQ((std::vector<CString>{L"New Sibling\tINS", L"创建子项目\tCtrl+INS", L"创建项目\tShift+INS"}),
              onItem.submenus[2]);
    EXPECT_EQ((std::vector<CString>{L"当前级\tCtrl+S", L"当前级之后的项目\tCtrl+Shift+S"}), onItem.submenus[4]);

    tree.allowDelete = false;
    tree.allowEdit = false;
    tree.allowInsertRoot = false;
    onItem = menuAt(Centre(a));
    EXPECT_EQ((std::vector<CString>{L"添加>", L"-", L"排序>"}), onItem.items);
    EXPECT_EQ((std::vector<CString>{L"New Sibling\tINS", L"创建子项目\tCtrl+INS"}), onItem.submenus[0]);
    empty = menuAt(CPoint(100, 350));
    EXPECT_EQ(0, empty.count); // nothing to offer: no menu

    // Commands act on the selected item; 8 to 11 do nothing here.
    tree.allowDelete = true;
    tree.SelectItem(b);
    for (UINT id : {8u, 9u, 10u, 11u}) tree.SendMessage(WM_COMMAND, id, 0);
    EXPECT_NE(nullptr, Find(L"路线 B"));
    tree.SendMessage(WM_COMMAND, 2, 0);
    EXPECT_EQ(nullptr, Find(L"路线 B"));
}

TEST_F(TreeTest, LeftDragsMoveOrCopyWhereTheLevelsAllow)
{
    // A second-level item onto a top-level item: its last child, wherever on
    // the item it is dropped.
    StartDrag(b);
    EXPECT_EQ(b, tree.GetSelectedItem());
    Drop(Centre(bridge) + CPoint(0, -3));
    EXPECT_FALSE(tree.IsDragging());
    EXPECT_EQ("道路(路线 A(K1 K0)) 桥梁(大桥 路线 B) 隧道", Shape());
    EXPECT_EQ(CString(L"路线 B"), tree.GetItemText(tree.GetSelectedItem()));

    // Onto its own descendant: the no-drop cursor, nothing moves.
    StartDrag(a);
    MoveTo(Centre(k0), MK_LBUTTON);
    tree.CreateCursorMap();
    EXPECT_EQ(tkxTreeCtrl::m_Cursormap[tkxTreeCtrl::DROP_NONE][false], ::GetCursor());
    Post(&tree, WM_LBUTTONUP, 0, PointParam(Centre(k0)));
    EXPECT_EQ("道路(路线 A(K1 K0)) 桥梁(大桥 路线 B) 隧道", Shape());

    // A second-level item onto a third-level one: nothing.
    StartDrag(Find(L"大桥"));
    Drop(Centre(k1));
    EXPECT_EQ("道路(路线 A(K1 K0)) 桥梁(大桥 路线 B) 隧道", Shape());

    // With Ctrl held the subtree is copied, with images and data, and the
    // dragged item stays; the copy comes in collapsed.
    StartDrag(road);
    {
        KeyState ctrl(true, false);
        Drop(Centre(tunnel) + CPoint(0, 5)); // the lower half: below
    }
    EXPECT_EQ("道路(路线 A(K1 K0)) 桥梁(大桥 路线 B) 隧道 道路(路线 A(K1 K0))", Shape());
    HTREEITEM copy = tree.GetSelectedItem();
    EXPECT_NE(road, copy);
    EXPECT_EQ(1u, tree.GetItemData(copy));
    int image = -1, selectedImage = -1;
    tree.GetItemImage(copy, image, selectedImage);
    EXPECT_EQ(1, image);
    EXPECT_EQ(0u, tree.GetItemState(copy, TVIS_EXPANDED) & TVIS_EXPANDED);

    // Esc ends a drag without a change.
    StartDrag(tunnel);
    MoveTo(Centre(bridge), MK_LBUTTON);
    PressKey(&tree, VK_ESCAPE);
    EXPECT_FALSE(tree.IsDragging());
    EXPECT_EQ(nullptr, tree.GetDropHilightItem());
}

TEST_F(TreeTest, HoveringOverACollapsedItemOpensIt)
{
    // Fifteen further moves over the same item, counted afresh for another.
    CDragData data(tree, tunnel, false);
    EXPECT_FALSE(data.CheckExpand(road)); // a new item
    for (int i = 1; i < 15; ++i) EXPECT_FALSE(data.CheckExpand(road)) << i;
    EXPECT_TRUE(data.CheckExpand(road));
    EXPECT_FALSE(data.CheckExpand(road));
    EXPECT_FALSE(data.CheckExpand(bridge));
    EXPECT_EQ(bridge, data.GetDropTarget());

    // The mouse held over a collapsed item opens it.
    tree.Expand(road, TVE_COLLAPSE);
    StartDrag(tunnel);
    const CPoint over = Centre(road);
    MoveTo(over, MK_LBUTTON);
    for (int i = 0; i < 10; ++i) Post(&tree, WM_MOUSEMOVE, MK_LBUTTON, PointParam(over));
    EXPECT_EQ(0u, tree.GetItemState(road, TVIS_EXPANDED) & TVIS_EXPANDED);
    for (int i = 0; i < 8; ++i) Post(&tree, WM_MOUSEMOVE, MK_LBUTTON, PointParam(over));
    EXPECT_NE(0u, tree.GetItemState(road, TVIS_EXPANDED) & TVIS_EXPANDED);
    PressKey(&tree, VK_ESCAPE);
}

TEST_F(TreeTest, RightDragsAskAndADismissedMenuEndsTheDrag)
{
    StartDrag(tunnel, true);
    ShownMenu menu = WatchMenu([&] { Drop(Centre(bridge) + CPoint(0, -4), true); });
    ASSERT_EQ(1, menu.count);
    EXPECT_EQ((std::vector<CString>{L"Copy Here", L"Move Here", L"-", L"Cancel"}), menu.items);
    EXPECT_FALSE(tree.IsDragging()); // dismissed: the drag is over
    EXPECT_EQ(nullptr, tree.GetDropHilightItem());
    EXPECT_NE(tree.m_hWnd, ::GetCapture());
    EXPECT_EQ("道路(路线 A(K1 K0) 路线 B) 桥梁(大桥) 隧道", Shape());

    // Choosing Move Here moves to the place of the last hit test: above 桥梁.
    StartDrag(tunnel, true);
    WatchMenu([&] { Drop(Centre(bridge) + CPoint(0, -4), true); }, {VK_DOWN, VK_DOWN, VK_RETURN});
    PumpUntilIdle();
    EXPECT_FALSE(tree.IsDragging());
    EXPECT_EQ("道路(路线 A(K1 K0) 路线 B) 隧道 桥梁(大桥)", Shape());

    // Cancel leaves the tree as it was.
    StartDrag(Find(L"隧道"), true);
    WatchMenu([&] { Drop(Centre(road) + CPoint(0, 4), true); }, {VK_UP, VK_RETURN});
    PumpUntilIdle();
    EXPECT_FALSE(tree.IsDragging());
    EXPECT_EQ("道路(路线 A(K1 K0) 路线 B) 隧道 桥梁(大桥)", Shape());

    // The right button during a left drag cancels it.
    StartDrag(Find(L"隧道"));
    MoveTo(Centre(road), MK_LBUTTON);
    Post(&tree, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(Centre(road)));
    EXPECT_TRUE(tree.IsDragging()); // swallowed
    Post(&tree, WM_RBUTTONUP, 0, PointParam(Centre(road)));
    EXPECT_FALSE(tree.IsDragging());
    EXPECT_EQ("道路(路线 A(K1 K0) 路线 B) 隧道 桥梁(大桥)", Shape());
}

TEST_F(TreeTest, SevenDragCursorsMadeOnce)
{
    tree.CreateCursorMap();
    auto& cursors = tkxTreeCtrl::m_Cursormap;
    ASSERT_EQ(4u, cursors.size());
    std::vector<HCURSOR> distinct;
    struct Hot {
        tkxTreeCtrl::EDropHint hint;
        DWORD x, y;
    } hots[] = {{tkxTreeCtrl::DROP_NONE, 4, 2}, {tkxTreeCtrl::DROP_ABOVE, 4, 2}, {tkxTreeCtrl::DROP_BELOW, 4, 29},
                {tkxTreeCtrl::DROP_CHILD, 27, 29}};
    for (const Hot& h : hots) {
        for (bool ctrl : {false, true}) {
            HCURSOR cursor = cursors[h.hint][ctrl];
            ASSERT_NE(nullptr, cursor);
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(cursor, &info));
            EXPECT_EQ(h.x, info.xHotspot);
            EXPECT_EQ(h.y, info.yHotspot);
            if (info.hbmMask) ::DeleteObject(info.hbmMask);
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            if (std::find(distinct.begin(), distinct.end(), cursor) == distinct.end()) distinct.push_back(cursor);
        }
    }
    EXPECT_EQ(7u, distinct.size());
    EXPECT_EQ(cursors[tkxTreeCtrl::DROP_NONE][false], cursors[tkxTreeCtrl::DROP_NONE][true]);
    HCURSOR first = cursors[tkxTreeCtrl::DROP_ABOVE][false];
    HookedTree other;
    other.CreateCursorMap();
    EXPECT_EQ(first, tkxTreeCtrl::m_Cursormap[tkxTreeCtrl::DROP_ABOVE][false]);

    // A picture of them, side by side, on grey.
    Image image = RenderPaint(8 * 36, 36, [&](CDC& dc) {
        dc.FillSolidRect(0, 0, 8 * 36, 36, RGB(160, 160, 160));
        int x = 2;
        for (const Hot& h : hots)
            for (bool ctrl : {false, true}) {
                ::DrawIconEx(dc.m_hDC, x, 2, cursors[h.hint][ctrl], 32, 32, 0, nullptr, DI_NORMAL);
                x += 36;
            }
    });
    image.SaveBmp(L"tree_cursors.bmp");
    EXPECT_GT(image.Count(CRect(0, 0, 36, 36), RGB(0, 0, 0)), 30);
    EXPECT_GT(image.Count(CRect(0, 0, 36, 36), RGB(255, 255, 255)), 30);
}

TEST_F(TreeTest, RenderingOfTheTree)
{
    tree.Expand(bridge, TVE_EXPAND);
    tree.SelectItem(k0);
    tree.SetFocus();
    PumpUntilIdle();
    Image image = CaptureWindow(&tree, true);
    image.SaveBmp(L"tree.bmp");
    EXPECT_GT(image.Count(CRect(0, 0, image.Width(), image.Height()), RGB(200, 40, 40)), 100); // the images
}
