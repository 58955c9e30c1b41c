// The grid under the keyboard: moving the focus cell, wrapping, headings
// and read-only cells, the selection that follows the keys, and Delete.
#include "grid_test_support.h"

using namespace gridtest;
using namespace wintest;

namespace {

// A 6 x 5 grid with one heading row and one heading column, the focus at
// (row, col).
struct KeyGrid : Hosted<TestGrid> {
    KeyGrid(int rows = 6, int cols = 5, int fixedRows = 1, int fixedCols = 1)
    {
        EXPECT_TRUE(Make());
        FillGrid(grid, rows, cols, fixedRows, fixedCols);
    }
    CCellID Press(CCellID from, UINT vk, std::initializer_list<int> held = {})
    {
        grid.SetFocusCell(from);
        HeldKeys keys(held);
        Key(&grid, vk);
        return grid.GetFocusCell();
    }
};

std::string Show(CCellID c) { return std::to_string(c.row) + "," + std::to_string(c.col); }

} // namespace

TEST(GridKeyboard, KeysMoveTheFocusAndWrapAtTheEdges)
{
    KeyGrid g;
    struct Case {
        CCellID from;
        UINT key;
        bool shift;
        CCellID to;
    } cases[] = {
        {CCellID(2, 2), VK_RIGHT, false, CCellID(2, 3)},
        {CCellID(2, 4), VK_RIGHT, false, CCellID(3, 1)}, // wraps past the heading column
        {CCellID(5, 4), VK_RIGHT, false, CCellID(5, 4)}, // a row past the end is refused
        {CCellID(2, 2), VK_LEFT, false, CCellID(2, 1)},
        {CCellID(3, 1), VK_LEFT, false, CCellID(2, 4)},  // wraps back
        {CCellID(1, 1), VK_LEFT, false, CCellID(1, 1)},  // never into the heading row
        {CCellID(2, 2), VK_DOWN, false, CCellID(3, 2)},
        {CCellID(5, 2), VK_DOWN, false, CCellID(5, 2)},
        {CCellID(2, 2), VK_UP, false, CCellID(1, 2)},
        {CCellID(1, 2), VK_UP, false, CCellID(1, 2)},
        {CCellID(2, 3), VK_TAB, false, CCellID(2, 4)},
        {CCellID(2, 4), VK_TAB, false, CCellID(3, 1)},
        {CCellID(5, 4), VK_TAB, false, CCellID(5, 4)},   // the last cell keeps the focus
        {CCellID(2, 3), VK_TAB, true, CCellID(2, 2)},
        {CCellID(3, 1), VK_TAB, true, CCellID(2, 4)},
        {CCellID(1, 1), VK_TAB, true, CCellID(1, 1)},
        {CCellID(3, 3), VK_HOME, false, CCellID(3, 1)},
        {CCellID(3, 1), VK_END, false, CCellID(3, 4)},
        {CCellID(2, 2), VK_NEXT, false, CCellID(5, 2)},  // nothing to scroll: the last row
        {CCellID(4, 2), VK_PRIOR, false, CCellID(1, 2)}, // nothing to scroll: the first data row
    };
    for (auto& c : cases) {
        const CCellID to = c.shift ? g.Press(c.from, c.key, {VK_SHIFT}) : g.Press(c.from, c.key);
        EXPECT_EQ(Show(c.to), Show(to)) << "key " << c.key << (c.shift ? " with Shift" : "") << " from "
                                        << Show(c.from);
    }
}

TEST(GridKeyboard, WithoutHeadingRowsTheFirstRowIsReachable)
{
    KeyGrid g(5, 4, 0, 1);
    EXPECT_EQ("0,2", Show(g.Press(CCellID(1, 2), VK_UP)));
    EXPECT_EQ("0,3", Show(g.Press(CCellID(1, 1), VK_LEFT)));
    EXPECT_EQ("0,1", Show(g.Press(CCellID(0, 2), VK_TAB, {VK_SHIFT})));
}

TEST(GridKeyboard, ReadOnlyCellsAreSkippedAndTheReadOnlyRowsStopUp)
{
    KeyGrid g(7, 6, 1, 1);
    g.grid.SetReadOnlyColumn(3);
    g.grid.SetReadOnlyRow(2);
    EXPECT_EQ("4,4", Show(g.Press(CCellID(4, 2), VK_RIGHT)));
    EXPECT_EQ("4,2", Show(g.Press(CCellID(4, 4), VK_LEFT)));
    EXPECT_EQ("4,4", Show(g.Press(CCellID(4, 2), VK_TAB)));
    EXPECT_EQ("3,4", Show(g.Press(CCellID(3, 4), VK_UP)));  // the row under the limit
    EXPECT_EQ("4,4", Show(g.Press(CCellID(5, 4), VK_UP)));
}

TEST(GridKeyboard, HomeAndEndInARowWithoutEditableColumnsKeepTheFocus)
{
    KeyGrid g(5, 4, 1, 1);
    for (int col = 1; col < 4; ++col) g.grid.SetReadOnlyColumn(col);
    // Once these searched without a bound (Home) or ran to column -1 (End).
    EXPECT_EQ("2,2", Show(g.Press(CCellID(2, 2), VK_HOME)));
    EXPECT_EQ("2,2", Show(g.Press(CCellID(2, 2), VK_END)));
}

TEST(GridKeyboard, ShiftExtendsTheSelectionAndPlainMovesSelectOneCell)
{
    KeyGrid g;
    g.grid.SetFocusCell(2, 2);
    g.grid.m_SelectionStartCell = CCellID(2, 2);
    {
        HeldKeys shift({VK_SHIFT});
        Key(&g.grid, VK_DOWN);
        Key(&g.grid, VK_RIGHT);
    }
    EXPECT_EQ(CCellRange(2, 2, 3, 3), g.grid.GetSelectedCellRange());
    EXPECT_EQ(4, g.grid.GetSelectedCount());
    Key(&g.grid, VK_DOWN);
    EXPECT_EQ(CCellRange(4, 3, 4, 3), g.grid.GetSelectedCellRange());

    g.grid.SetListMode(TRUE);
    Key(&g.grid, VK_UP);
    EXPECT_EQ(CCellRange(3, 1, 3, 4), g.grid.GetSelectedCellRange());
}

TEST(GridKeyboard, MovesNotifyTheParentOfTheFocusLeavingAndArriving)
{
    KeyGrid g;
    g.grid.SetFocusCell(2, 2);
    g.host.Clear();
    Key(&g.grid, VK_DOWN);
    EXPECT_EQ((std::vector<std::string>{"leave 2,2", "focus 3,2"}), g.host.events);
    EXPECT_EQ(static_cast<UINT>(GVIS_FOCUSED), g.grid.GetItemState(3, 2) & GVIS_FOCUSED);
    EXPECT_EQ(0u, g.grid.GetItemState(2, 2) & GVIS_FOCUSED);
}

TEST(GridKeyboard, DeleteEmptiesOnlyCellsThatMayChange)
{
    KeyGrid g;
    g.grid.SetReadOnlyColumn(3);
    g.grid.SetItemState(2, 2, GVIS_READONLY);
    g.Press(CCellID(2, 1), VK_DELETE);
    EXPECT_EQ(CString(), g.grid.GetItemText(2, 1));
    EXPECT_TRUE(g.grid.GetModified());
    EXPECT_EQ("2,1", Show(g.grid.GetFocusCell()));

    g.grid.SetModified(FALSE);
    g.Press(CCellID(2, 2), VK_DELETE); // state bit
    g.Press(CCellID(2, 3), VK_DELETE); // read-only column
    EXPECT_EQ(CString(L"2,2"), g.grid.GetItemText(2, 2));
    EXPECT_EQ(CString(L"2,3"), g.grid.GetItemText(2, 3));
    EXPECT_FALSE(g.grid.GetModified());

    g.grid.SetEditable(FALSE);
    g.Press(CCellID(2, 4), VK_DELETE);
    EXPECT_EQ(CString(L"2,4"), g.grid.GetItemText(2, 4));
}

TEST(GridKeyboard, KeysDoNothingWithoutAFocusCell)
{
    KeyGrid g;
    Key(&g.grid, VK_DOWN);
    Key(&g.grid, VK_DELETE);
    {
        HeldKeys ctrl({VK_CONTROL});
        Key(&g.grid, 'A');
    }
    EXPECT_EQ(CCellID(-1, -1), g.grid.GetFocusCell());
    EXPECT_EQ(0, g.grid.GetSelectedCount());
    EXPECT_TRUE(g.host.events.empty());
}

TEST(GridKeyboard, MovingOutOfViewScrollsTheGrid)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 300, 200)));
    FillGrid(h.grid, 200, 12, 1, 1);
    h.grid.SetFocusCell(1, 1);
    for (int i = 0; i < 40; ++i) Key(&h.grid, VK_DOWN);
    EXPECT_EQ(41, h.grid.GetFocusCell().row);
    EXPECT_TRUE(h.grid.IsCellVisible(41, 1));
    EXPECT_GT(h.grid.GetTopleftNonFixedCell().row, 20);
    for (int i = 0; i < 10; ++i) Key(&h.grid, VK_RIGHT);
    EXPECT_EQ(11, h.grid.GetFocusCell().col);
    EXPECT_TRUE(h.grid.IsCellVisible(41, 11));

    Key(&h.grid, VK_NEXT);
    const int afterPage = h.grid.GetFocusCell().row;
    EXPECT_GT(afterPage, 41);
    EXPECT_TRUE(h.grid.IsCellVisible(afterPage, 11));
    h.grid.SetFocusCell(150, 5);
    Key(&h.grid, VK_HOME); // the first editable column of this row, made visible
    EXPECT_EQ("150,1", Show(h.grid.GetFocusCell()));
    EXPECT_TRUE(h.grid.IsCellVisible(150, 1));
}
