// The grid under the mouse: editing by click, selecting by the headings,
// sizing rows and columns at their dividers, the wheel, and sorting by a
// heading in list mode.
#include "grid_test_support.h"

using namespace gridtest;
using namespace wintest;

namespace {

struct MouseGrid : Hosted<TestGrid> {
    MouseGrid(int rows = 10, int cols = 5)
    {
        EXPECT_TRUE(Make(CRect(0, 0, 500, 320)));
        FillGrid(grid, rows, cols, 1, 1);
    }
    void Send(UINT message, CPoint p, UINT flags = 0)
    {
        grid.SendMessage(message, flags, MAKELPARAM(p.x, p.y));
    }
    CRect Rect(int row, int col)
    {
        CRect r;
        EXPECT_TRUE(grid.GetCellRect(row, col, r));
        return r;
    }
};

} // namespace

TEST(GridMouse, APressOnAnotherCellEditsAtOnceAndOnTheFocusCellAtRelease)
{
    MouseGrid g;
    g.Send(WM_LBUTTONDOWN, CellCentre(g.grid, 4, 2), MK_LBUTTON);
    EXPECT_EQ(CCellID(4, 2), g.grid.GetFocusCell());
    EXPECT_EQ(L"Edit", ClassOf(Focus()));
    EXPECT_EQ(CString(L"4,2"), TextOf(Focus()));
    g.Send(WM_LBUTTONUP, CellCentre(g.grid, 4, 2));
    g.grid.SetFocus();
    PumpUntilIdle();

    g.Send(WM_LBUTTONDOWN, CellCentre(g.grid, 4, 2), MK_LBUTTON);
    EXPECT_EQ(g.grid.m_hWnd, Focus());
    EXPECT_EQ(MOUSE_PREPARE_EDIT, g.grid.GetMouseMode());
    g.Send(WM_LBUTTONUP, CellCentre(g.grid, 4, 2));
    EXPECT_EQ(L"Edit", ClassOf(Focus()));
    EXPECT_EQ(MOUSE_NOTHING, g.grid.GetMouseMode());
    g.grid.SetFocus();
    PumpUntilIdle();
    EXPECT_EQ(2u, g.host.Events("click").size()); // each release tells the parent
}

TEST(GridMouse, HeadingsSelectColumnsRowsAndEverything)
{
    MouseGrid g;
    Click(&g.grid, CellCentre(g.grid, 0, 2));
    EXPECT_EQ(CCellRange(1, 2, 9, 2), g.grid.GetSelectedCellRange());
    EXPECT_EQ(9, g.grid.GetSelectedCount());
    Click(&g.grid, CellCentre(g.grid, 3, 0));
    EXPECT_EQ(CCellRange(3, 1, 3, 4), g.grid.GetSelectedCellRange());
    Click(&g.grid, CellCentre(g.grid, 6, 0), MK_CONTROL);
    EXPECT_EQ(8, g.grid.GetSelectedCount());
    EXPECT_EQ(CCellRange(3, 1, 6, 4), g.grid.GetSelectedCellRange());
    Click(&g.grid, CellCentre(g.grid, 0, 0));
    EXPECT_EQ(CCellRange(1, 1, 9, 4), g.grid.GetSelectedCellRange());
    EXPECT_EQ(36, g.grid.GetSelectedCount());

    // Dragging down the row headings selects the rows passed over.
    g.Send(WM_LBUTTONDOWN, CellCentre(g.grid, 2, 0), MK_LBUTTON);
    g.Send(WM_MOUSEMOVE, CellCentre(g.grid, 5, 0), MK_LBUTTON);
    g.Send(WM_LBUTTONUP, CellCentre(g.grid, 5, 0));
    EXPECT_EQ(CCellRange(2, 1, 5, 4), g.grid.GetSelectedCellRange());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(GridMouse, DraggingADividerSizesTheColumnOrRowBeforeIt)
{
    MouseGrid g;
    const CRect col2 = g.Rect(0, 2);
    const int width = g.grid.GetColumnWidth(2);
    // Over the divider at the right of column 2, in the heading row.
    const CPoint divider(col2.right, col2.CenterPoint().y);
    g.Send(WM_MOUSEMOVE, divider);
    EXPECT_EQ(MOUSE_OVER_COL_DIVIDE, g.grid.GetMouseMode());
    g.Send(WM_LBUTTONDOWN, divider, MK_LBUTTON);
    EXPECT_EQ(MOUSE_SIZING_COL, g.grid.GetMouseMode());
    g.Send(WM_MOUSEMOVE, divider + CPoint(30, 0), MK_LBUTTON);
    g.Send(WM_LBUTTONUP, divider + CPoint(30, 0));
    // The new width reaches from the column's left edge to the release.
    EXPECT_EQ(col2.Width() + 30, g.grid.GetColumnWidth(2));
    EXPECT_EQ(width + 29, g.grid.GetColumnWidth(2));
    EXPECT_EQ(MOUSE_NOTHING, g.grid.GetMouseMode());

    // Near the left edge of column 3 it is still column 2 that is sized.
    const CPoint left(g.Rect(0, 3).left + 1, col2.CenterPoint().y);
    g.Send(WM_MOUSEMOVE, left);
    g.Send(WM_LBUTTONDOWN, left, MK_LBUTTON);
    g.Send(WM_LBUTTONUP, left - CPoint(20, 0));
    EXPECT_EQ(width + 29 + 1 - 20, g.grid.GetColumnWidth(2));

    // Releasing where the press was changes nothing.
    const int before = g.grid.GetColumnWidth(2);
    const CPoint again(g.Rect(0, 2).right, col2.CenterPoint().y);
    g.Send(WM_MOUSEMOVE, again);
    g.Send(WM_LBUTTONDOWN, again, MK_LBUTTON);
    g.Send(WM_LBUTTONUP, again);
    EXPECT_EQ(before, g.grid.GetColumnWidth(2));

    // Rows at their dividers in the heading column.
    const CRect row3 = g.Rect(3, 0);
    const int height = g.grid.GetRowHeight(3);
    const CPoint rowDivider(row3.CenterPoint().x, row3.bottom);
    g.Send(WM_MOUSEMOVE, rowDivider);
    EXPECT_EQ(MOUSE_OVER_ROW_DIVIDE, g.grid.GetMouseMode());
    g.Send(WM_LBUTTONDOWN, rowDivider, MK_LBUTTON);
    g.Send(WM_LBUTTONUP, rowDivider + CPoint(0, 12));
    EXPECT_EQ(height + 11, g.grid.GetRowHeight(3));
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST(GridMouse, ADoubleClickOnADividerFitsTheColumnToItsTexts)
{
    MouseGrid g;
    g.grid.SetItemText(4, 2, L"K100+000.000 至 K120+500.000 段落说明");
    const CRect col2 = g.Rect(0, 2);
    const CPoint divider(col2.right, col2.CenterPoint().y);
    g.Send(WM_MOUSEMOVE, divider);
    g.Send(WM_LBUTTONDBLCLK, divider, MK_LBUTTON);
    const int fitted = g.grid.GetColumnWidth(2);
    EXPECT_GT(fitted, col2.Width() + 1);
    g.grid.AutoSizeColumn(2);
    EXPECT_EQ(fitted, g.grid.GetColumnWidth(2));
}

TEST(GridMouse, TheWheelScrollsLinesOrPagesAsTheSystemSays)
{
    MouseGrid g(200, 5);
    EXPECT_EQ(3, g.grid.GetWheelScrollLines()); // nothing in the registry
    g.grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    PumpUntilIdle();
    EXPECT_EQ(4, g.grid.GetTopleftNonFixedCell().row);
    g.grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    PumpUntilIdle();
    EXPECT_EQ(1, g.grid.GetTopleftNonFixedCell().row);

    test_support::SetRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WheelScrollLines", L"-1");
    g.grid.SendMessage(WM_SETTINGCHANGE, 0, 0);
    test_support::DeleteRegValue(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WheelScrollLines");
    EXPECT_EQ(-1, g.grid.GetWheelScrollLines());
    const CCellRange page = g.grid.GetVisibleNonFixedCellRange();
    g.grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    PumpUntilIdle();
    EXPECT_GE(g.grid.GetTopleftNonFixedCell().row, page.GetMaxRow() - 1);
}

TEST(GridMouse, InListModeAHeadingClickSortsAndASecondClickReverses)
{
    MouseGrid g(5, 3);
    const wchar_t* keys[] = {L"", L"c", L"a", L"d", L"b"};
    for (int row = 1; row < 5; ++row) g.grid.SetItemText(row, 1, keys[row]);
    g.grid.SetListMode(TRUE);
    auto column = [&]() {
        std::string texts;
        for (int row = 1; row < 5; ++row) texts += Str(g.grid.GetItemText(row, 1));
        return texts;
    };
    Click(&g.grid, CellCentre(g.grid, 0, 1));
    EXPECT_EQ("abcd", column());
    Click(&g.grid, CellCentre(g.grid, 0, 1));
    EXPECT_EQ("dcba", column());
    Click(&g.grid, CellCentre(g.grid, 0, 2));
    Click(&g.grid, CellCentre(g.grid, 0, 1));
    EXPECT_EQ("abcd", column());

    g.grid.SetHeaderSort(FALSE);
    Click(&g.grid, CellCentre(g.grid, 0, 1));
    EXPECT_EQ("abcd", column());
}
