// Text in and out of the grid: copying, cutting and pasting through the
// clipboard, dropping on the grid and dragging from it, and the
// right-button menu of rows.
#include "grid_test_support.h"
#include <cstring>

using namespace gridtest;
using namespace wintest;

namespace {

// The CF_TEXT bytes of a data source, up to and including the first zero.
std::string TextOf(COleDataSource* source)
{
    COleDataObject data;
    data.Attach(source->GetInterface(), FALSE);
    HGLOBAL block = data.GetGlobalData(CF_TEXT);
    if (!block) return "<none>";
    const char* bytes = static_cast<const char*>(::GlobalLock(block));
    std::string text(bytes, ::strnlen(bytes, ::GlobalSize(block)) + 1);
    ::GlobalUnlock(block);
    ::GlobalFree(block);
    return text;
}

// A data source offering the bytes (a zero is added) as CF_TEXT.
COleDataSource* Offer(const std::string& bytes)
{
    auto* source = new COleDataSource;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    char* data = static_cast<char*>(::GlobalLock(block));
    std::memcpy(data, bytes.data(), bytes.size());
    data[bytes.size()] = 0;
    ::GlobalUnlock(block);
    source->CacheGlobalData(CF_TEXT, block);
    return source;
}

std::string Gbk(const wchar_t* text) { return ClWideToMultiByte(text, -1, 936); }

struct ClipGrid : Hosted<TestGrid> {
    ClipGrid(int rows = 6, int cols = 5)
    {
        EXPECT_TRUE(Make());
        FillGrid(grid, rows, cols, 1, 1);
    }
    BOOL Paste(CCellID at, const std::string& bytes)
    {
        COleDataSource* source = Offer(bytes);
        COleDataObject data;
        data.Attach(source->GetInterface(), FALSE);
        const BOOL result = grid.PasteTextToGrid(at, &data);
        data.Release();
        source->InternalRelease();
        return result;
    }
    std::string Row(int row)
    {
        std::string texts;
        for (int col = 1; col < grid.GetColumnCount(); ++col) texts += (col > 1 ? "|" : "") + Str(grid.GetItemText(row, col));
        return texts;
    }
};

} // namespace

TEST(GridClipboard, CopyWritesTheSelectedCellsAsTabbedLines)
{
    ClipGrid g;
    EXPECT_EQ(nullptr, g.grid.CopyTextFromGrid()); // nothing selected

    g.grid.SetItemState(2, 2, GVIS_SELECTED);
    g.grid.SetItemState(3, 3, GVIS_SELECTED);
    COleDataSource* corners = g.grid.CopyTextFromGrid();
    ASSERT_NE(nullptr, corners);
    EXPECT_EQ(std::string("2,2\t\n\t3,3") + '\0', TextOf(corners));
    COleDataObject data;
    data.Attach(corners->GetInterface(), FALSE);
    EXPECT_FALSE(data.IsDataAvailable(CF_UNICODETEXT)); // one format only
    data.Release();
    corners->InternalRelease();

    g.grid.SetSelectedRange(4, 2, 4, 3);
    g.grid.SetItemText(4, 2, L"");
    g.grid.SetItemText(4, 3, L"边沟 K1+020");
    COleDataSource* row = g.grid.CopyTextFromGrid();
    EXPECT_EQ(" \t" + Gbk(L"边沟 K1+020") + '\0', TextOf(row));
    row->InternalRelease();

    g.grid.SetSelectedRange(1, 4, 1, 4);
    COleDataSource* single = g.grid.CopyTextFromGrid();
    EXPECT_EQ(std::string("1,4") + '\0', TextOf(single));
    single->InternalRelease();
}

TEST(GridClipboard, PasteFillsCellsFromTheStartCell)
{
    struct Case {
        const char* name;
        std::string text;
        CCellID at;
        std::vector<std::string> rows; // rows 2 and 3, columns 1 to 4
    } cases[] = {
        {"tabs and lines", "1\t2\r\n3\t4", CCellID(2, 1), {"1|2|2,3|2,4", "3|4|3,3|3,4"}},
        {"commas, doubled", "1,,2", CCellID(2, 1), {"1|2|2,3|2,4", "3,1|3,2|3,3|3,4"}},
        {"an empty first line", "\nX", CCellID(2, 1), {"|2,2|2,3|2,4", "X|3,2|3,3|3,4"}},
        {"a trailing line feed", "7\n", CCellID(2, 2), {"2,1|7|2,3|2,4", "3,1|3,2|3,3|3,4"}},
        {"spaces trimmed", "  a \t b", CCellID(3, 3), {"2,1|2,2|2,3|2,4", "3,1|3,2|a|b"}},
        {"past the edge", "p\tq\tr", CCellID(2, 3), {"2,1|2,2|p|q", "3,1|3,2|3,3|3,4"}},
        {"Chinese", Gbk(L"左侧\t右侧"), CCellID(3, 1), {"2,1|2,2|2,3|2,4", "左侧|右侧|3,3|3,4"}},
    };
    for (auto& c : cases) {
        ClipGrid g;
        g.grid.SetSelectedRange(2, 1, 3, 4);
        EXPECT_TRUE(g.Paste(c.at, c.text)) << c.name;
        EXPECT_EQ(c.rows[0], g.Row(2)) << c.name;
        EXPECT_EQ(c.rows[1], g.Row(3)) << c.name;
        EXPECT_TRUE(g.grid.GetModified()) << c.name;
        EXPECT_EQ(0u, g.grid.GetItemState(c.at.row, c.at.col) & GVIS_SELECTED) << c.name;
    }
}

// A paste or a cut from the owner's menu while a cell is being edited: the
// editor's text goes to its cell first, and the paste or cut has the last
// word.
TEST(GridClipboard, PasteAndCutComeAfterAnOpenEditorsText)
{
    ClipGrid g;
    g.grid.SetFocusCell(2, 2);
    ::SendMessageW(g.grid.m_hWnd, WM_CHAR, L'x', 1);
    ASSERT_NE(g.grid.m_hWnd, Focus());
    EXPECT_TRUE(g.Paste(CCellID(2, 1), "p\tq"));
    g.grid.SetFocus();
    PumpUntilIdle();
    EXPECT_EQ("p|q|2,3|2,4", g.Row(2));

    g.grid.SetFocusCell(3, 3);
    ::SendMessageW(g.grid.m_hWnd, WM_CHAR, L'y', 1);
    ASSERT_NE(g.grid.m_hWnd, Focus());
    g.grid.SetSelectedRange(3, 3, 3, 4);
    g.grid.CutSelectedText();
    g.grid.SetFocus();
    PumpUntilIdle();
    EXPECT_EQ("3,1|3,2||", g.Row(3));
}

TEST(GridClipboard, PasteNeverWritesIntoReadOnlyCells)
{
    ClipGrid g;
    g.grid.SetReadOnlyColumn(2);
    g.grid.SetItemState(3, 3, GVIS_READONLY);
    // Once only the start cell was checked.
    EXPECT_TRUE(g.Paste(CCellID(2, 1), "a\tb\tc\nd\te\tf"));
    EXPECT_EQ("a|2,2|c|2,4", g.Row(2));
    EXPECT_EQ("d|3,2|3,3|3,4", g.Row(3));

    g.grid.SetModified(FALSE);
    EXPECT_FALSE(g.Paste(CCellID(2, 2), "x")); // a read-only start cell
    EXPECT_FALSE(g.Paste(CCellID(0, 1), "x")); // a heading
    EXPECT_FALSE(g.Paste(CCellID(9, 1), "x")); // outside the grid
    g.grid.SetEditable(FALSE);
    EXPECT_FALSE(g.Paste(CCellID(4, 1), "x"));
    EXPECT_EQ("4,1|4,2|4,3|4,4", g.Row(4));
    EXPECT_FALSE(g.grid.GetModified());

    g.grid.SetEditable(TRUE);
    COleDataSource source; // no text at all
    COleDataObject data;
    data.Attach(source.GetInterface(), FALSE);
    EXPECT_FALSE(g.grid.PasteTextToGrid(CCellID(4, 1), &data));
}

TEST(GridClipboard, TheKeysCopyCutAndPasteThroughTheClipboard)
{
    ClipGrid g;
    g.grid.SetReadOnlyColumn(3);
    // Texts without commas: pasting splits at commas too.
    g.grid.SetItemText(2, 2, L"桩号 K0+100");
    g.grid.SetItemText(2, 3, L"丙");
    g.grid.SetItemText(5, 1, L"5-1");
    g.grid.SetFocusCell(2, 2);
    g.grid.SetSelectedRange(2, 2, 2, 3);
    {
        HeldKeys ctrl({VK_CONTROL});
        Key(&g.grid, 'X');
    }
    EXPECT_EQ("2,1||丙|2,4", g.Row(2)); // the read-only cell stays
    g.grid.SetFocusCell(4, 2);
    {
        HeldKeys ctrl({VK_CONTROL});
        Key(&g.grid, 'V');
    }
    // The second field met the read-only column and was left out.
    EXPECT_EQ("4,1|桩号 K0+100|4,3|4,4", g.Row(4));

    g.grid.SetSelectedRange(5, 1, 5, 1);
    {
        HeldKeys ctrl({VK_CONTROL});
        Key(&g.grid, 'C');
    }
    g.grid.SetFocusCell(1, 4);
    g.grid.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_EQ(CString(L"5-1"), g.grid.GetItemText(1, 4));

    {
        HeldKeys ctrl({VK_CONTROL});
        Key(&g.grid, 'A');
    }
    EXPECT_EQ(20, g.grid.GetSelectedCount());
}

// ---------------------------------------------------------------------------

namespace {

struct DropGrid : ClipGrid {
    DropGrid()
    {
        grid.EnableDragAndDrop(TRUE);
        target = grid.m_DropTarget.GetInterface();
    }
    POINTL Over(int row, int col)
    {
        CPoint p = CellCentre(grid, row, col);
        grid.ClientToScreen(&p);
        return POINTL{p.x, p.y};
    }
    IDropTarget* target = nullptr;
};

} // namespace

TEST(GridDrop, TheCellUnderTheDragIsFramedAndTakesTheDrop)
{
    DropGrid g;
    g.grid.SetReadOnlyColumn(2);
    COleDataSource* source = Offer(Gbk(L"甲\t乙\n丙\t丁"));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, g.target->DragEnter(source->GetInterface(), MK_LBUTTON, g.Over(2, 1), &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_MOVE), effect);
    EXPECT_EQ(static_cast<UINT>(GVIS_DROPHILITED), g.grid.GetItemState(2, 1) & GVIS_DROPHILITED);

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    g.target->DragOver(MK_LBUTTON, g.Over(2, 2), &effect); // read-only: refused, the frame stays
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ(static_cast<UINT>(GVIS_DROPHILITED), g.grid.GetItemState(2, 1) & GVIS_DROPHILITED);

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    g.target->DragOver(MK_LBUTTON | MK_CONTROL, g.Over(3, 3), &effect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ(0u, g.grid.GetItemState(2, 1) & GVIS_DROPHILITED);
    EXPECT_EQ(static_cast<UINT>(GVIS_DROPHILITED), g.grid.GetItemState(3, 3) & GVIS_DROPHILITED);

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(S_OK, g.target->Drop(source->GetInterface(), MK_CONTROL, g.Over(3, 3), &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
    EXPECT_EQ("3,1|3,2|甲|乙", g.Row(3));
    EXPECT_EQ("4,1|4,2|丙|丁", g.Row(4));
    EXPECT_EQ(0u, g.grid.GetItemState(3, 3) & GVIS_DROPHILITED);
    source->InternalRelease();
}

TEST(GridDrop, NothingDropsOnAGridThatRefusesIt)
{
    struct Case {
        const char* name;
        bool dragAndDrop, editable;
    } cases[] = {{"drag and drop off", false, true}, {"not editable", true, false}};
    for (auto& c : cases) {
        DropGrid g;
        g.grid.EnableDragAndDrop(c.dragAndDrop);
        g.grid.SetEditable(c.editable);
        COleDataSource* source = Offer("x");
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        g.target->DragEnter(source->GetInterface(), MK_LBUTTON, g.Over(2, 1), &effect);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect) << c.name;
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        g.target->Drop(source->GetInterface(), 0, g.Over(2, 1), &effect);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect) << c.name;
        EXPECT_EQ(CString(L"2,1"), g.grid.GetItemText(2, 1)) << c.name;
        source->InternalRelease();
    }
}

TEST(GridDrag, AMoveWithinTheGridEmptiesTheSourceOnlyWhenAllWasPlaced)
{
    struct Case {
        const char* name;
        CCellID dropAt;
        bool ctrl;
        bool sourceEmptied;
    } cases[] = {
        {"moved", CCellID(3, 3), false, true},
        {"copied with Ctrl", CCellID(3, 3), true, false},
        {"partly outside", CCellID(5, 3), false, false}, // the second row has no place
    };
    for (auto& c : cases) {
        DropGrid g;
        g.grid.SetItemText(1, 1, L"甲一");
        g.grid.SetItemText(2, 1, L"乙二");
        g.grid.SetSelectedRange(1, 1, 2, 1);
        CPoint over = CellCentre(g.grid, c.dropAt.row, c.dropAt.col);
        g.grid.ClientToScreen(&over);
        ::SetCursorPos(over.x, over.y);
        g.host.Clear();
        {
            HeldKeys keys(c.ctrl ? std::initializer_list<int>{VK_CONTROL} : std::initializer_list<int>{});
            g.grid.OnBeginDrag();
        }
        EXPECT_EQ(MOUSE_NOTHING, g.grid.GetMouseMode()) << c.name;
        EXPECT_EQ((std::vector<std::string>{"begindrag 1,1"}), g.host.Events("begindrag")) << c.name;
        EXPECT_EQ(CString(L"甲一"), g.grid.GetItemText(c.dropAt.row, c.dropAt.col)) << c.name;
        EXPECT_EQ(c.sourceEmptied, g.grid.GetItemText(1, 1).IsEmpty()) << c.name;
        EXPECT_EQ(c.sourceEmptied, g.grid.GetItemText(2, 1).IsEmpty()) << c.name;
    }
}

// ---------------------------------------------------------------------------

namespace {

// Records the items of each pop-up menu the grid shows, and closes it.
struct MenuWatch {
    struct Item {
        std::string text;
        bool enabled;
    };
    std::vector<std::vector<Item>> menus;
    HHOOK hook = nullptr;
    static MenuWatch* current;

    MenuWatch()
    {
        current = this;
        hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MenuWatch()
    {
        ::UnhookWindowsHookEx(hook);
        current = nullptr;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && current) {
            if (msg->message == WM_INITMENUPOPUP) {
                HMENU menu = reinterpret_cast<HMENU>(msg->wParam);
                std::vector<Item> items;
                for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                    wchar_t text[64] = {};
                    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                    const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
                    items.push_back({Str(text), !(state & (MF_GRAYED | MF_DISABLED))});
                }
                current->menus.push_back(items);
            } else if (msg->message == WM_ENTERIDLE && msg->wParam == MSGF_MENU) {
                ::EndMenu();
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
MenuWatch* MenuWatch::current = nullptr;

void RightClick(tkxGridCtrl& grid, int row, int col)
{
    CPoint p = CellCentre(grid, row, col);
    CPoint screen = p;
    grid.ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    grid.SetFocus();
    PumpUntilIdle();
}

std::string Enabled(const std::vector<MenuWatch::Item>& items)
{
    std::string flags;
    for (const auto& item : items) flags += item.text.empty() ? "-" : item.enabled ? "1" : "0";
    return flags;
}

} // namespace

TEST(GridRowMenu, TheMenuOffersWhatTheRowsAllow)
{
    ClipGrid g;
    MenuWatch watch;
    RightClick(g.grid, 3, 2);
    ASSERT_EQ(1u, watch.menus.size());
    const auto& items = watch.menus[0];
    ASSERT_EQ(8u, items.size());
    EXPECT_EQ("追加行", items[0].text);
    EXPECT_EQ("删除当前行", items[2].text);
    EXPECT_EQ("下移一行", items[5].text);
    EXPECT_EQ("自动列宽", items[7].text);
    EXPECT_EQ("111-11-1", Enabled(items));
    EXPECT_EQ(CCellID(3, 2), g.grid.GetFocusCell());

    g.grid.SetEnableSort(1);
    RightClick(g.grid, 1, 2);
    ASSERT_EQ(2u, watch.menus.size());
    EXPECT_EQ("111-01-111", Enabled(watch.menus[1])); // the first data row does not go up
    EXPECT_EQ("当前列排序(降序)", watch.menus[1][9].text);

    RightClick(g.grid, 0, 2); // a heading: no menu
    EXPECT_EQ(2u, watch.menus.size());

    ClipGrid small(2, 3);
    RightClick(small.grid, 1, 1);
    ASSERT_EQ(3u, watch.menus.size());
    EXPECT_EQ("110-00-1", Enabled(watch.menus[2]));
}

TEST(GridRowMenu, AHeadingMadeTheFocusByTheMenuIsNotEdited)
{
    ClipGrid g(6, 5);
    g.grid.SetFixedColumnCount(2);
    MenuWatch watch;
    RightClick(g.grid, 3, 0);
    EXPECT_EQ(CCellID(3, 0), g.grid.GetFocusCell());
    ::SendMessageW(g.grid.m_hWnd, WM_CHAR, L'x', 1);
    EXPECT_EQ(g.grid.m_hWnd, Focus());
    EXPECT_EQ(CString(L"R3"), g.grid.GetItemText(3, 0));
}

TEST(GridRowMenu, RowCommandsChangeTheRowsAndTellTheParent)
{
    ClipGrid g;
    g.grid.SetFocusCell(3, 2);
    g.host.Clear();
    g.grid.SendMessage(WM_COMMAND, ID_GRID_ADDROW);
    EXPECT_EQ(7, g.grid.GetRowCount());
    EXPECT_EQ(CString(L" "), g.grid.GetItemText(6, 0));
    EXPECT_EQ(CCellID(6, 0), g.grid.GetFocusCell());
    EXPECT_EQ((std::vector<std::string>{"command 40060"}), g.host.Events("command"));

    g.grid.SetFocusCell(3, 2);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_INSERTROW);
    EXPECT_EQ(8, g.grid.GetRowCount());
    EXPECT_EQ(CString(L" "), g.grid.GetItemText(3, 0));
    EXPECT_EQ(CString(L"3,2"), g.grid.GetItemText(4, 2));
    EXPECT_EQ(CCellID(3, 0), g.grid.GetFocusCell());

    g.grid.SetFocusCell(4, 2);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_ROWUP);
    EXPECT_EQ(CString(L"3,2"), g.grid.GetItemText(3, 2));
    EXPECT_EQ(CString(L""), g.grid.GetItemText(4, 2));
    g.grid.SendMessage(WM_COMMAND, ID_GRID_ROWDOWN);
    EXPECT_EQ(CString(L"4,2"), g.grid.GetItemText(4, 2));
    EXPECT_EQ(CString(L""), g.grid.GetItemText(5, 2));
    EXPECT_EQ((std::vector<std::string>{"command 40060", "command 40061", "command 40070", "command 40071"}),
              g.host.Events("command"));

    MessageBoxScript boxes;
    boxes.Answer(IDNO);
    g.grid.SetFocusCell(5, 2);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_DELETEROW);
    EXPECT_EQ(8, g.grid.GetRowCount());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"是否删除第5行?"), boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
    boxes.Answer(IDYES);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_DELETEROW);
    EXPECT_EQ(7, g.grid.GetRowCount());
    EXPECT_EQ(5, g.grid.GetFocusCell().row);
    EXPECT_EQ(2, g.grid.GetFocusCell().col);
    EXPECT_EQ(5u, g.host.Events("command").size());
}

// The right click opens the editor of the clicked cell, and the command
// chosen from the menu comes while it is still open: the editor's text stays
// with the row it was opened on when the rows move.
TEST(GridRowMenu, RowCommandsKeepTheTextOfAnOpenEditorInItsRow)
{
    struct Case {
        const char* name;
        UINT command;
        int row, col;                           // the right-clicked cell
        std::vector<std::pair<CCellID, const wchar_t*>> expected;
    } cases[] = {
        {"up", ID_GRID_ROWUP, 3, 2, {{CCellID(2, 2), L"改过"}, {CCellID(3, 2), L"2,2"}}},
        {"down", ID_GRID_ROWDOWN, 3, 2, {{CCellID(4, 2), L"改过"}, {CCellID(3, 2), L"4,2"}}},
        {"insert", ID_GRID_INSERTROW, 3, 2, {{CCellID(4, 2), L"改过"}, {CCellID(3, 2), L""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClipGrid g;
        {
            MenuWatch watch;
            CPoint p = CellCentre(g.grid, c.row, c.col);
            CPoint screen = p;
            g.grid.ClientToScreen(&screen);
            ::SetCursorPos(screen.x, screen.y);
            g.grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        }
        HWND editor = Focus();
        ASSERT_TRUE(::IsChild(g.grid.m_hWnd, editor));
        ::SetWindowTextW(editor, L"改过");
        g.grid.SendMessage(WM_COMMAND, c.command);
        g.grid.SetFocus(); // the editor ends
        PumpUntilIdle();
        for (const auto& e : c.expected)
            EXPECT_EQ(CString(e.second), g.grid.GetItemText(e.first.row, e.first.col))
                << e.first.row << "," << e.first.col;
    }
}

TEST(GridRowMenu, HeadingsAndReadOnlyRowsNeverMoveOrGo)
{
    ClipGrid g(7, 3);
    g.grid.SetFixedRowCount(2);
    g.grid.SetReadOnlyRow(2);
    g.host.Clear();
    MessageBoxScript boxes(IDYES);

    g.grid.SetFocusCell(3, 1);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_ROWUP); // would swap with a read-only row
    EXPECT_EQ(CString(L"3,1"), g.grid.GetItemText(3, 1));
    EXPECT_EQ(CString(L"2,1"), g.grid.GetItemText(2, 1));

    g.grid.SetFocusCell(2, 1);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_ROWDOWN);
    g.grid.SendMessage(WM_COMMAND, ID_GRID_DELETEROW); // refused: not reported as deleted
    EXPECT_EQ(7, g.grid.GetRowCount());
    EXPECT_EQ(CString(L"2,1"), g.grid.GetItemText(2, 1));
    EXPECT_TRUE(g.host.Events("command").empty());
}

TEST(GridRowMenu, TheMenuSortsTheFocusColumnFromTheFirstDataRow)
{
    for (int byText = 0; byText < 2; ++byText) {
        ClipGrid g(5, 3);
        const wchar_t* keys[] = {L"", L"30", L"4", L"100", L"7"};
        for (int row = 1; row < 5; ++row) g.grid.SetItemText(row, 1, keys[row]);
        g.grid.SetFocusCell(2, 1);
        MessageBoxScript boxes(byText ? IDYES : IDNO);
        g.grid.SendMessage(WM_COMMAND, ID_GRID_SORTUP);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(CString(L"当前列按升序排列：按文字排序，还是按数据排序?\n\n是:按文字排序;    否:按数据排序;"),
                  boxes.Shown()[0].text);
        std::string column;
        for (int row = 1; row < 5; ++row) column += Str(g.grid.GetItemText(row, 1)) + " ";
        EXPECT_EQ(byText ? "100 30 4 7 " : "4 7 30 100 ", column);
    }
}
