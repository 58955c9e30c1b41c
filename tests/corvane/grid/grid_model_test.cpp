// The grid's model: its start state, counts, rows and columns of cells, the
// item accessors, the search by state, the read-only rule and the selected
// cells.
#include "grid_test_support.h"

#include <algorithm>
#include <functional>

using namespace gridtest;
using namespace wintest;

namespace {

// The font rule of the grid for the system's message font: twelve average
// characters and two spaces.
int MessageFontColumnWidth()
{
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    HFONT font = ::CreateFontIndirectW(&ncm.lfMessageFont);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE space{};
    ::GetTextExtentPoint32W(dc, L" ", 1, &space);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return tm.tmAveCharWidth * 12 + 2 * space.cx;
}

} // namespace

TEST(GridModel, ANewGridIsUnmodifiedAndItsColumnsHaveTheMessageFontWidth)
{
    const int expected = MessageFontColumnWidth();
    ASSERT_GT(expected, 20);
    tkxGridCtrl loose(3, 4, 1, 1);
    EXPECT_FALSE(loose.GetModified());
    for (int col = 0; col < 4; ++col) EXPECT_EQ(expected, loose.GetColumnWidth(col)) << col;

    Hosted<> h(3, 4, 1, 1);
    ASSERT_TRUE(h.Make());
    EXPECT_FALSE(h.grid.GetModified());
    EXPECT_EQ(expected, h.grid.GetDefaultColumnWidth());
    for (int col = 0; col < 4; ++col) EXPECT_EQ(expected, h.grid.GetColumnWidth(col)) << col;
    EXPECT_EQ(0xFFFFC1u, h.grid.GetTextBkColor());
    EXPECT_EQ(0xD5C1ADu, h.grid.GetBkColor());
}

TEST(GridModel, SystemColoursReplaceOnlyTheColoursLeftAtTheirDefaults)
{
    Hosted<> plain(2, 2, 1, 1), painted(2, 2, 1, 1);
    ASSERT_TRUE(plain.Make());
    ASSERT_TRUE(painted.Make());
    painted.grid.SetTextBkColor(RGB(1, 2, 3));
    painted.grid.SetBkColor(RGB(4, 5, 6));
    plain.grid.SendMessage(WM_SYSCOLORCHANGE);
    painted.grid.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), plain.grid.GetTextBkColor());
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), plain.grid.GetBkColor());
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), plain.grid.GetFixedBkColor());
    EXPECT_EQ(RGB(1, 2, 3), painted.grid.GetTextBkColor());
    EXPECT_EQ(RGB(4, 5, 6), painted.grid.GetBkColor());
}

TEST(GridModel, CountsKeepTheFixedRowsAndTheFocusInside)
{
    TestGrid grid(2, 3, 0, 0);
    ASSERT_TRUE(grid.SetFixedRowCount(3));
    EXPECT_EQ(3, grid.GetRowCount());
    EXPECT_EQ(3, grid.GetFixedRowCount());

    TestGrid focused(4, 3, 1, 1);
    focused.SetFocusCell(1, 1);
    focused.SetFixedRowCount(2); // the focus row became a heading
    EXPECT_EQ(CCellID(-1, -1), focused.GetFocusCell());

    focused.SetItemText(3, 2, L"kept");
    EXPECT_TRUE(focused.SetRowCount(4));
    EXPECT_EQ(CString(L"kept"), focused.GetItemText(3, 2));
    EXPECT_TRUE(focused.SetRowCount(1));
    EXPECT_EQ(1, focused.GetFixedRowCount());
    EXPECT_EQ(CString(), focused.GetItemText(3, 2));
}

TEST(GridModel, InsertingIntoAnEmptyGridMakesTheFirstRowOrColumn)
{
    tkxGridCtrl columns;
    EXPECT_EQ(0, columns.InsertColumn(L"桩号"));
    EXPECT_EQ(1, columns.GetRowCount());
    EXPECT_EQ(CString(L"桩号"), columns.GetItemText(0, 0));

    tkxGridCtrl rows;
    EXPECT_EQ(0, rows.InsertRow(L"1"));
    EXPECT_EQ(1, rows.GetColumnCount());
    EXPECT_EQ(CString(L"1"), rows.GetItemText(0, 0));
    EXPECT_TRUE(rows.GetModified());
}

TEST(GridModel, ANewRowTakesTheFormatsOfTheRowAboveAndLeavesTheGridColour)
{
    tkxGridCtrl grid(3, 2, 1, 0);
    grid.SetItemFormat(1, 0, DT_LEFT | DT_SINGLELINE);
    grid.SetItemFormat(1, 1, DT_RIGHT | DT_SINGLELINE);
    ASSERT_EQ(2, grid.InsertRow(L"new", 2));
    EXPECT_EQ(static_cast<UINT>(DT_LEFT | DT_SINGLELINE), grid.GetItemFormat(2, 0));
    EXPECT_EQ(static_cast<UINT>(DT_RIGHT | DT_SINGLELINE), grid.GetItemFormat(2, 1));
    EXPECT_EQ(CString(L"new"), grid.GetItemText(2, 0));

    grid.SetGridColor(RGB(255, 0, 0));
    ASSERT_EQ(0, grid.InsertRow(L"top", 0));
    EXPECT_EQ(RGB(255, 0, 0), grid.GetGridColor());
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), grid.GetItemFormat(0, 1));
}

TEST(GridModel, StructuralChangesAreRefusedWhenTheGridIsNotEditable)
{
    MessageBoxScript boxes;
    tkxGridCtrl grid(3, 3, 1, 1);
    grid.SetEditable(FALSE);
    EXPECT_EQ(-1, grid.InsertRow(L"x"));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"向列表中插入记录行时出错!"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"TAVIX"), boxes.Shown()[0].caption);
    EXPECT_EQ(-1, grid.InsertColumn(L"x"));
    EXPECT_FALSE(grid.DeleteRow(2));
    EXPECT_FALSE(grid.DeleteColumn(2));
    EXPECT_FALSE(grid.DeleteAllItems());
    EXPECT_EQ(3, grid.GetRowCount());
    EXPECT_EQ(3, grid.GetColumnCount());

    grid.SetEditable(TRUE);
    EXPECT_EQ(-1, grid.InsertRow(L"x", 3)); // past the end
    EXPECT_EQ(2u, boxes.Shown().size());
}

TEST(GridModel, TheFocusFollowsItsCellWhenRowsAndColumnsComeAndGo)
{
    TestGrid grid(5, 4, 1, 1);
    grid.SetFocusCell(2, 2);
    grid.InsertRow(L"", 1);
    EXPECT_EQ(CCellID(3, 2), grid.GetFocusCell());
    grid.InsertColumn(L"", DT_CENTER, 1);
    EXPECT_EQ(CCellID(3, 3), grid.GetFocusCell());
    EXPECT_TRUE(grid.DeleteRow(1));
    EXPECT_EQ(CCellID(2, 3), grid.GetFocusCell());
    EXPECT_TRUE(grid.DeleteColumn(0));
    EXPECT_EQ(CCellID(2, 2), grid.GetFocusCell());
    EXPECT_EQ(0, grid.GetFixedColumnCount());
    EXPECT_TRUE(grid.DeleteRow(2));
    EXPECT_EQ(CCellID(-1, -1), grid.GetFocusCell());
}

TEST(GridModel, RowsUpToTheReadOnlyLimitAreNotDeleted)
{
    tkxGridCtrl grid(5, 2, 1, 1);
    grid.SetReadOnlyRow(2);
    EXPECT_FALSE(grid.DeleteRow(2));
    EXPECT_TRUE(grid.DeleteRow(3));
    EXPECT_EQ(4, grid.GetRowCount());
    EXPECT_TRUE(grid.DeleteNonFixedRows()); // rows up to the limit stay
    EXPECT_EQ(3, grid.GetRowCount());
}

TEST(GridModel, MissingCellsAnswerTheirEmptyValues)
{
    tkxGridCtrl grid(2, 2, 0, 0);
    EXPECT_EQ(CString(), grid.GetItemText(5, 0));
    EXPECT_EQ(CString(), grid.GetItemText(0, -1));
    EXPECT_EQ(-1, grid.GetItemImage(5, 0));
    EXPECT_EQ(0, grid.GetItemData(0, 5));
    EXPECT_EQ(0u, grid.GetItemState(-1, 0));
    EXPECT_EQ(nullptr, grid.GetItemFont(2, 2));
    EXPECT_FALSE(grid.SetItemText(2, 0, L"x"));
    EXPECT_FALSE(grid.SetItem(nullptr));
    GV_ITEM item;
    item.row = 9;
    item.mask = GVIF_TEXT;
    EXPECT_FALSE(grid.GetItem(&item));
}

TEST(GridModel, EachAccessorWritesOnlyItsOwnFieldAndNoCellOutside)
{
    tkxGridCtrl grid(2, 2, 0, 0);
    LOGFONTW font{};
    font.lfHeight = 17;
    wcscpy(font.lfFaceName, L"宋体");
    struct Case {
        const char* field;
        std::function<BOOL(int, int)> set;
    } cases[] = {
        {"text", [&](int r, int c) { return grid.SetItemText(r, c, L"文字"); }},
        {"data", [&](int r, int c) { return grid.SetItemData(r, c, 42); }},
        {"image", [&](int r, int c) { return grid.SetItemImage(r, c, 3); }},
        {"format", [&](int r, int c) { return grid.SetItemFormat(r, c, DT_RIGHT); }},
        {"background", [&](int r, int c) { return grid.SetItemBkColour(r, c, RGB(1, 2, 3)); }},
        {"foreground", [&](int r, int c) { return grid.SetItemFgColour(r, c, RGB(4, 5, 6)); }},
        {"font", [&](int r, int c) { return grid.SetItemFont(r, c, &font); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_FALSE(c.set(2, 0));
        EXPECT_FALSE(c.set(0, -1));
        EXPECT_TRUE(c.set(1, 1));
    }
    EXPECT_FALSE(grid.SetItemFont(1, 1, nullptr));
    EXPECT_EQ(CString(L"文字"), grid.GetItemText(1, 1));
    EXPECT_EQ(42, grid.GetItemData(1, 1));
    EXPECT_EQ(3, grid.GetItemImage(1, 1));
    EXPECT_EQ(static_cast<UINT>(DT_RIGHT), grid.GetItemFormat(1, 1));
    EXPECT_EQ(RGB(1, 2, 3), grid.GetItemBkColour(1, 1));
    EXPECT_EQ(RGB(4, 5, 6), grid.GetItemFgColour(1, 1));
    ASSERT_NE(nullptr, grid.GetItemFont(1, 1));
    EXPECT_EQ(17, grid.GetItemFont(1, 1)->lfHeight);
    EXPECT_EQ(0u, grid.GetItemState(1, 1));
    // The neighbour keeps a new cell's values.
    EXPECT_EQ(CString(), grid.GetItemText(1, 0));
    EXPECT_EQ(0, grid.GetItemData(1, 0));
    EXPECT_EQ(-1, grid.GetItemImage(1, 0));
    EXPECT_EQ(CLR_DEFAULT, grid.GetItemBkColour(1, 0));
    EXPECT_EQ(CLR_DEFAULT, grid.GetItemFgColour(1, 0));
    // Outside the grid the colours and the format read 0.
    EXPECT_EQ(0u, grid.GetItemFormat(2, 2));
    EXPECT_EQ(0u, grid.GetItemBkColour(-1, 0));
    EXPECT_EQ(0u, grid.GetItemFgColour(0, 2));
}

TEST(GridModel, OnlySetItemStateKeepsTheSelectedCellsInStep)
{
    tkxGridCtrl grid(3, 3, 1, 1);
    GV_ITEM item;
    item.row = 1;
    item.col = 1;
    item.mask = GVIF_STATE | GVIF_TEXT;
    item.state = GVIS_SELECTED;
    item.szText = L"a";
    ASSERT_TRUE(grid.SetItem(&item));
    EXPECT_EQ(0, grid.GetSelectedCount());
    EXPECT_EQ(CString(L"a"), grid.GetItemText(1, 1));

    grid.SetItemState(2, 2, GVIS_SELECTED);
    grid.SetItemState(2, 1, GVIS_SELECTED | GVIS_FOCUSED);
    EXPECT_EQ(2, grid.GetSelectedCount());
    EXPECT_EQ(CCellRange(2, 1, 2, 2), grid.GetSelectedCellRange());
    grid.SetItemState(2, 2, 0);
    EXPECT_EQ(1, grid.GetSelectedCount());
}

TEST(GridModel, SelectedCellsFarApartInALongTableAreKeptApart)
{
    // Rows 65,536 apart once shared one selection key.
    tkxGridCtrl grid(70001, 2, 1, 1);
    grid.SetItemState(4464, 1, GVIS_SELECTED);
    grid.SetItemState(70000, 1, GVIS_SELECTED);
    EXPECT_EQ(2, grid.GetSelectedCount());
    EXPECT_EQ(CCellRange(4464, 1, 70000, 1), grid.GetSelectedCellRange());
    grid.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(0, grid.GetSelectedCount());
    EXPECT_EQ(0u, grid.GetItemState(4464, 1));
    EXPECT_EQ(0u, grid.GetItemState(70000, 1));
}

TEST(GridModel, NothingSelectedGivesAnInvalidRange)
{
    tkxGridCtrl grid(4, 3, 1, 1);
    const CCellRange none = grid.GetSelectedCellRange();
    EXPECT_EQ(CCellRange(4, 3, -1, -1), none);
    EXPECT_FALSE(grid.IsValid(none));
    grid.SetSelectedRange(1, 1, 3, 2);
    EXPECT_EQ(6, grid.GetSelectedCount());
    EXPECT_EQ(CCellRange(1, 1, 3, 2), grid.GetSelectedCellRange());
    grid.SetSelectedRange(2, 2, 2, 2); // a new range replaces the old one
    EXPECT_EQ(1, grid.GetSelectedCount());
}

TEST(GridModel, NextItemSearchesInTheDirectionAsked)
{
    tkxGridCtrl grid(5, 5, 1, 1);
    grid.SetItemState(1, 3, GVIS_READONLY);
    grid.SetItemState(3, 1, GVIS_DROPHILITED);
    grid.SetItemState(4, 2, GVIS_READONLY);
    struct Case {
        CCellID start;
        int flags;
        CCellID found;
    } cases[] = {
        {CCellID(2, 2), GVIS_READONLY | GVNI_ALL, CCellID(4, 2)},
        {CCellID(0, 0), GVIS_READONLY | GVNI_ALL, CCellID(1, 3)},
        {CCellID(1, 1), GVIS_DROPHILITED | GVNI_ALL, CCellID(3, 1)},
        {CCellID(4, 3), GVIS_READONLY | GVNI_ALL, CCellID(-1, -1)}, // then downwards in column 3: nothing
        {CCellID(4, 3), GVIS_READONLY | GVNI_ABOVE, CCellID(1, 3)},
        {CCellID(1, 1), GVIS_DROPHILITED | GVNI_BELOW, CCellID(3, 1)},
        {CCellID(1, 4), GVIS_READONLY | GVNI_TOLEFT, CCellID(1, 3)},
        {CCellID(1, 4), GVIS_READONLY | GVNI_TORIGHT, CCellID(-1, -1)},
        {CCellID(3, 4), GVIS_DROPHILITED | GVNI_TOLEFT, CCellID(3, 1)},
        {CCellID(4, 1), GVIS_FOCUSED | GVNI_ALL, CCellID(-1, -1)},
    };
    for (auto& c : cases) {
        const CCellID found = grid.GetNextItem(c.start, c.flags);
        EXPECT_EQ(c.found.row, found.row) << c.start.row << "," << c.start.col << " flags " << c.flags;
        EXPECT_EQ(c.found.col, found.col) << c.start.row << "," << c.start.col << " flags " << c.flags;
    }
}

TEST(GridModel, EveryHeadingRowAndColumnIsReadOnly)
{
    tkxGridCtrl grid(8, 8, 2, 2);
    grid.SetReadOnlyRow(3);
    grid.SetReadOnlyColumn(6);
    struct Case {
        int row, col;
        BOOL readOnly;
    } cases[] = {
        {0, 4, TRUE},  {1, 4, TRUE},  // heading rows, the first one too
        {5, 0, TRUE},  {5, 1, TRUE},  // heading columns
        {3, 4, TRUE},  {2, 4, TRUE},  // up to the read-only row limit
        {4, 4, FALSE}, {7, 7, FALSE}, // data cells
        {5, 6, TRUE},                 // a read-only column
    };
    for (auto& c : cases) EXPECT_EQ(c.readOnly, grid.IsReadOnly(c.row, c.col)) << c.row << "," << c.col;
    grid.SetReadOnlyColumn(6, FALSE);
    EXPECT_FALSE(grid.IsReadOnly(5, 6));
}

TEST(GridModel, SwapRowExchangesTextsOnly)
{
    tkxGridCtrl grid(3, 2, 1, 0);
    grid.SetItemText(1, 0, L"a");
    grid.SetItemText(2, 0, L"b");
    grid.SetItemBkColour(1, 0, RGB(9, 9, 9));
    grid.SetItemData(2, 1, 42);
    grid.SetItemState(1, 1, GVIS_READONLY);
    ASSERT_TRUE(grid.SwapRow(1, 2, 0));
    EXPECT_EQ(CString(L"b"), grid.GetItemText(1, 0));
    EXPECT_EQ(CString(L"a"), grid.GetItemText(2, 0));
    EXPECT_EQ(RGB(9, 9, 9), grid.GetItemBkColour(1, 0));
    EXPECT_EQ(42, grid.GetItemData(2, 1));
    EXPECT_EQ(static_cast<UINT>(GVIS_READONLY), grid.GetItemState(1, 1));
    EXPECT_TRUE(grid.GetModified());
    EXPECT_FALSE(grid.SwapRow(1, 3, 0));
}

// ---------------------------------------------------------------------------
// The memory of cells and rows: cells come from blocks of many, a cell of a
// derived class with members of its own from the heap, and whatever deletes
// a cell gives its memory back where it came from.

namespace {

int g_liveNotes = 0;

// A cell of a derived grid with a member of its own (another size than a
// CGridCell), counting the objects alive.
class NoteCell : public CGridCell
{
public:
    NoteCell() { ++g_liveNotes; }
    ~NoteCell() override { --g_liveNotes; }
    CString note;
    double weight = 0.0;
};

// A cell class that adds nothing (the size of a CGridCell).
class PlainCell : public CGridCell
{
};

// A grid whose data cells are NoteCells and whose headings are PlainCells.
class NoteGrid : public tkxGridCtrl
{
protected:
    CGridCell* CreateCell(int nRow, int nCol) override
    {
        if (nRow == 0) return new PlainCell;
        auto* cell = new NoteCell;
        cell->note.Format(L"note %d,%d", nRow, nCol);
        cell->lfFont = m_Logfont;
        return cell;
    }
};

} // namespace

TEST(GridCellMemory, CellsOfDerivedClassesComeAndGoWithTheirRows)
{
    g_liveNotes = 0;
    {
        Hosted<NoteGrid> h;
        ASSERT_TRUE(h.Make());
        h.grid.SetColumnCount(3);
        h.grid.SetRowCount(200);
        EXPECT_EQ(199 * 3, g_liveNotes);
        for (int row = 1; row < 200; ++row) h.grid.SetItemText(row, 1, ClFormat(L"r%d", row));
        for (int row = 150; row >= 50; --row) ASSERT_TRUE(h.grid.DeleteRow(row, 1));
        EXPECT_EQ(98 * 3, g_liveNotes);
        ASSERT_GE(h.grid.InsertRow(L"new", 10), 0);
        EXPECT_EQ(99 * 3, g_liveNotes);
        EXPECT_EQ(CString(L"r9"), h.grid.GetItemText(9, 1));
        EXPECT_EQ(CString(L"r151"), h.grid.GetItemText(51, 1));
        auto* note = dynamic_cast<NoteCell*>(h.grid.GetCell(51, 2));
        ASSERT_NE(nullptr, note);
        EXPECT_EQ(CString(L"note 151,2"), note->note);
        EXPECT_NE(nullptr, dynamic_cast<PlainCell*>(h.grid.GetCell(0, 1)));

        // A caller's cell put in place of the grid's: the caller deletes the
        // one it took out, through any pointer type.
        CObject* old = h.grid.GetCell(5, 2);
        ASSERT_TRUE(h.grid.SetCell(5, 2, new NoteCell));
        delete old;
        CGridCell* plain = h.grid.GetCell(0, 2);
        ASSERT_TRUE(h.grid.SetCell(0, 2, new CGridCell));
        delete plain;
        EXPECT_EQ(99 * 3, g_liveNotes);
        h.grid.DeleteAllItems();
        EXPECT_EQ(0, g_liveNotes);
    }
    EXPECT_EQ(0, g_liveNotes);
}

// Cells and rows made and deleted in any order: no cell is given to two
// places (each keeps its own text to the end), whether its memory is new or
// a deleted cell's.
TEST(GridCellMemory, NoCellIsHandedOutTwice)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make());
    h.grid.SetColumnCount(4);
    h.grid.SetRowCount(3000);
    std::vector<CString> expected;
    auto label = [](int serial, int col) { return ClFormat(L"%d:%d", serial, col); };
    int serial = 0;
    auto fill = [&](int row) {
        for (int col = 0; col < 4; ++col) h.grid.SetItemText(row, col, label(serial, col));
        ++serial;
    };
    std::vector<int> serials;
    for (int row = 0; row < 3000; ++row) {
        serials.push_back(serial);
        fill(row);
    }
    // Delete every third row, then put new rows in between: the new cells
    // take the places of the deleted ones.
    for (int row = 2999; row >= 0; row -= 3) {
        ASSERT_TRUE(h.grid.DeleteRow(row, 1));
        serials.erase(serials.begin() + row);
    }
    for (int row = 0; row < 1500; row += 2) {
        ASSERT_EQ(row, h.grid.InsertRow(L"", row));
        serials.insert(serials.begin() + row, serial);
        fill(row);
    }
    ASSERT_EQ(static_cast<int>(serials.size()), h.grid.GetRowCount());
    std::vector<const CGridCell*> cells;
    for (int row = 0; row < h.grid.GetRowCount(); ++row)
        for (int col = 0; col < 4; ++col) {
            ASSERT_EQ(label(serials[static_cast<size_t>(row)], col), h.grid.GetItemText(row, col)) << row << "," << col;
            cells.push_back(h.grid.GetCell(row, col));
        }
    std::sort(cells.begin(), cells.end());
    EXPECT_TRUE(std::adjacent_find(cells.begin(), cells.end()) == cells.end());
}
