// Painting and scrolling: the colours of headings, cells, read-only cells
// and the background, the grid lines, the focus frame, the scroll ranges,
// and a long table drawing only what shows.
#include "grid_test_support.h"

using namespace gridtest;
using namespace wintest;

namespace {

const COLORREF kTextBk = 0xFFFFC1;
const COLORREF kBackground = 0xD5C1AD;
const COLORREF kGridLine = 0x969696;
const COLORREF kReadOnly = 0x8C8C00;

CRect Cell(tkxGridCtrl& grid, int row, int col)
{
    CRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, rect)) << row << "," << col;
    return rect;
}

// A point inside the cell, clear of its frame and its text.
CPoint Inside(const CRect& r) { return CPoint(r.left + 3, r.top + 3); }

} // namespace

TEST(GridPaint, HeadingsCellsReadOnlyCellsAndTheBackgroundHaveTheirColours)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 600, 360)));
    FillGrid(h.grid, 9, 5, 1, 1);
    h.grid.SetItemText(3, 2, L"里程桩号 K12+345.678");
    h.grid.SetReadOnlyRow(2);
    h.grid.SetFocusCell(4, 2);
    h.grid.SetSelectedRange(5, 2, 6, 3);
    h.grid.SetItemBkColour(7, 4, RGB(255, 200, 0));
    PumpUntilIdle();
    Image image = PrintWindowImage(&h.grid, true);
    image.SaveBmp(L"grid_fixed_rows_selection.bmp");

    EXPECT_EQ(h.grid.GetFixedBkColor(), image.At(Inside(Cell(h.grid, 0, 2)).x, Inside(Cell(h.grid, 0, 2)).y));
    EXPECT_EQ(h.grid.GetFixedBkColor(), image.At(Inside(Cell(h.grid, 3, 0)).x, Inside(Cell(h.grid, 3, 0)).y));
    const CPoint data = Inside(Cell(h.grid, 4, 3));
    EXPECT_EQ(kTextBk, image.At(data.x, data.y));
    const CPoint own = Inside(Cell(h.grid, 7, 4));
    EXPECT_EQ(RGB(255, 200, 0), image.At(own.x, own.y));

    // Rows up to the read-only limit: white on the read-only colour.
    const CRect readOnly = Cell(h.grid, 2, 3);
    EXPECT_EQ(kReadOnly, image.At(readOnly.left + 2, readOnly.top + 2));
    EXPECT_GT(image.Count(readOnly, RGB(255, 255, 255)), 0);

    // The focus cell has a black frame; the grid lines are grey.
    const CRect focus = Cell(h.grid, 4, 2);
    EXPECT_EQ(RGB(0, 0, 0), image.At(focus.left, focus.top + 5));
    EXPECT_EQ(RGB(0, 0, 0), image.At(focus.left + 5, focus.top));
    EXPECT_EQ(kGridLine, image.At(data.x, Cell(h.grid, 4, 3).bottom));
    EXPECT_EQ(kGridLine, image.At(Cell(h.grid, 4, 3).right, data.y));

    // Right of the last column and below the last row: the background.
    const CRect last = Cell(h.grid, 8, 4);
    EXPECT_EQ(kBackground, image.At(last.right + 5, last.top + 3));
    EXPECT_EQ(kBackground, image.At(last.left + 3, last.bottom + 5));
}

TEST(GridPaint, GridLinesFollowTheSetting)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 500, 300)));
    FillGrid(h.grid, 6, 4, 1, 1);
    const CRect cell = Cell(h.grid, 2, 2);
    const CPoint onBottom(cell.left + 4, cell.bottom);
    const CPoint onRight(cell.right, cell.top + 4);
    struct Case {
        int lines;
        bool horizontal, vertical;
    } cases[] = {{GVL_BOTH, true, true}, {GVL_HORZ, true, false}, {GVL_VERT, false, true}, {GVL_NONE, false, false}};
    for (auto& c : cases) {
        h.grid.SetGridLines(c.lines);
        Image image = PrintWindowImage(&h.grid, true);
        EXPECT_EQ(c.horizontal, image.At(onBottom.x, onBottom.y) == kGridLine) << "lines " << c.lines;
        EXPECT_EQ(c.vertical, image.At(onRight.x, onRight.y) == kGridLine) << "lines " << c.lines;
    }
}

TEST(GridPaint, AReadOnlyFirstRowWithoutHeadingsIsRuledTwice)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 500, 300)));
    FillGrid(h.grid, 6, 4, 0, 1);
    const CRect row0 = Cell(h.grid, 0, 2);
    Image single = PrintWindowImage(&h.grid, true);
    EXPECT_EQ(kGridLine, single.At(row0.left + 4, row0.bottom));
    EXPECT_NE(kGridLine, single.At(row0.left + 4, row0.bottom - 1));

    h.grid.SetReadOnlyRow(0);
    Image twice = PrintWindowImage(&h.grid, true);
    twice.SaveBmp(L"grid_double_rule.bmp");
    EXPECT_EQ(kGridLine, twice.At(row0.left + 4, row0.bottom));
    EXPECT_EQ(kGridLine, twice.At(row0.left + 4, row0.bottom - 1));
    // A read-only cell of row 0 takes the button face.
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), twice.At(row0.left + 3, row0.top + 3));
}

TEST(GridPaint, AnOpenEditorSitsOverItsCell)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 500, 300)));
    FillGrid(h.grid, 8, 4, 1, 1);
    h.grid.SetFocusCell(3, 2);
    Type(h.grid.m_hWnd, L"K");
    PumpUntilIdle();
    HWND edit = Focus();
    ASSERT_EQ(L"Edit", ClassOf(edit));
    CRect editRect;
    ::GetWindowRect(edit, editRect);
    h.grid.ScreenToClient(editRect);
    const CRect cell = Cell(h.grid, 3, 2);
    EXPECT_EQ(cell.TopLeft(), editRect.TopLeft());
    Image image = CaptureWindow(&h.grid, true);
    image.SaveBmp(L"grid_open_editor.bmp");
    // The edit box paints the system window colour over the cell.
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), image.At(editRect.left + 2, editRect.bottom - 3));
    h.grid.SetFocus();
    PumpUntilIdle();
}

TEST(GridPaint, ResizingTheWindowResetsTheScrollRanges)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 300, 200)));
    FillGrid(h.grid, 40, 3, 1, 1);
    // Widths of our own, so the test does not hang on the font's measure.
    for (int col = 0; col < 3; ++col) h.grid.SetColumnWidth(col, 60);
    EXPECT_GT(h.grid.VScrollMax(), 0);
    h.grid.MoveWindow(0, 0, 300, 2000);
    EXPECT_EQ(0, h.grid.VScrollMax());
    h.grid.MoveWindow(0, 0, 300, 150);
    EXPECT_GT(h.grid.VScrollMax(), 0);
    EXPECT_EQ(0, h.grid.HScrollMax());
    h.grid.MoveWindow(0, 0, 100, 150);
    EXPECT_GT(h.grid.HScrollMax(), 0);
}

TEST(GridPaint, ScrollingMovesTheTopLeftCellByWholeRows)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 300, 200)));
    FillGrid(h.grid, 100, 8, 1, 1);
    h.grid.SetRowHeight(1, 40);
    h.grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(2, h.grid.GetTopleftNonFixedCell().row);
    EXPECT_EQ(40, h.grid.GetScrollPos32(SB_VERT));
    h.grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(3, h.grid.GetTopleftNonFixedCell().row);
    h.grid.SendMessage(WM_VSCROLL, SB_LINEUP);
    h.grid.SendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(1, h.grid.GetTopleftNonFixedCell().row);
    EXPECT_EQ(0, h.grid.GetScrollPos32(SB_VERT));

    h.grid.SendMessage(WM_VSCROLL, SB_BOTTOM);
    const CCellRange visible = h.grid.GetVisibleNonFixedCellRange();
    EXPECT_EQ(99, visible.GetMaxRow());
    const CPoint last = CellCentre(h.grid, 99, 2);
    EXPECT_EQ(CCellID(99, 2), h.grid.GetCellFromPt(last));
    EXPECT_EQ(CCellID(0, 0), h.grid.GetCellFromPt(CPoint(2, 2)));
    EXPECT_EQ(CCellID(-1, -1), h.grid.GetCellFromPt(CPoint(2, 2), FALSE));

    h.grid.SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(2, h.grid.GetTopleftNonFixedCell().col);
    CRect cell;
    EXPECT_FALSE(h.grid.GetCellRect(99, 1, cell)); // scrolled away to the left
}

TEST(GridPaint, ALongTableDrawsOnlyTheRowsOnTheScreen)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 600, 400)));
    h.grid.SetRowCount(100000);
    h.grid.SetColumnCount(10);
    h.grid.SetFixedRowCount(1);
    h.grid.SetFixedColumnCount(1);
    h.grid.SetItemText(99999, 3, L"最后一行");
    h.grid.SendMessage(WM_VSCROLL, SB_BOTTOM);
    const CCellRange visible = h.grid.GetVisibleNonFixedCellRange();
    EXPECT_EQ(99999, visible.GetMaxRow());
    const long shown = (visible.GetMaxRow() - visible.GetMinRow() + 2) * 10;
    h.grid.textReads = 0;
    Image image = PrintWindowImage(&h.grid, true);
    image.SaveBmp(L"grid_long_table_end.bmp");
    EXPECT_GT(h.grid.textReads, 0);
    EXPECT_LE(h.grid.textReads, shown);

    // A line scroll at the end of the table redraws one band.
    h.grid.SendMessage(WM_VSCROLL, SB_LINEUP);
    h.grid.textReads = 0;
    h.grid.UpdateWindow();
    EXPECT_LE(h.grid.textReads, shown);
}

TEST(GridPaint, TheDragImageIsTheFocusCellDrawn)
{
    Hosted<TestGrid> h;
    ASSERT_TRUE(h.Make());
    FillGrid(h.grid, 5, 4, 1, 1);
    CPoint hotSpot;
    EXPECT_EQ(nullptr, h.grid.CreateDragImage(&hotSpot)); // no focus cell
    h.grid.SetFocusCell(2, 2);
    CImageList* image = h.grid.CreateDragImage(&hotSpot);
    ASSERT_NE(nullptr, image);
    const CRect cell = Cell(h.grid, 2, 2);
    EXPECT_EQ(CPoint(cell.Width(), cell.Height()), hotSpot);
    EXPECT_EQ(1, image->GetImageCount());
    IMAGEINFO info{};
    ASSERT_TRUE(image->GetImageInfo(0, &info));
    EXPECT_EQ(cell.Width(), info.rcImage.right - info.rcImage.left);
    delete image;
}
