// In-place editing: the edit box and its keys, the commit and what the
// parent hears, the combo grid's drop-down lists, and the title tip.
#include "corvane/ui/GridInPlace.h"
#include "grid_test_support.h"

using namespace gridtest;
using namespace wintest;

namespace {

struct EditGrid : Hosted<TestGrid> {
    EditGrid()
    {
        EXPECT_TRUE(Make());
        FillGrid(grid, 8, 5, 1, 1);
    }
    // Starts editing (2, 2) with a character typed on the grid; the editor.
    HWND TypeOn(int row, int col, UINT ch)
    {
        grid.SetFocusCell(row, col);
        host.Clear();
        ::SendMessageW(grid.m_hWnd, WM_CHAR, ch, 1);
        HWND editor = Focus();
        return editor != grid.m_hWnd ? editor : nullptr;
    }
    // Ends editing by giving the focus back to the grid.
    void Leave()
    {
        grid.SetFocus();
        PumpUntilIdle();
    }
};

std::pair<int, int> Selection(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

CInPlaceList* ListOf(HWND wnd) { return dynamic_cast<CInPlaceList*>(CWnd::FromHandlePermanent(wnd)); }

} // namespace

TEST(GridEdit, TheFirstCharacterDecidesHowTheEditBoxStarts)
{
    EditGrid g;
    struct Case {
        UINT ch;
        const wchar_t* text;
        std::pair<int, int> selection;
    } cases[] = {
        {L'X', L"X", {1, 1}},        // replaces the text
        {L' ', L"2,2", {0, 3}},      // selects it, types nothing
        {VK_BACK, L"2,", {2, 2}},    // takes the last character away
        {VK_RETURN, L"2,2", {3, 3}}, // caret after the text
    };
    for (auto& c : cases) {
        g.grid.SetItemText(2, 2, L"2,2");
        HWND edit = g.TypeOn(2, 2, c.ch);
        ASSERT_NE(nullptr, edit) << "character " << c.ch;
        EXPECT_EQ(L"Edit", ClassOf(edit));
        EXPECT_EQ(CString(c.text), TextOf(edit)) << "character " << c.ch;
        EXPECT_EQ(c.selection, Selection(edit)) << "character " << c.ch;
        EXPECT_EQ((std::vector<std::string>{"beginedit 2,2", "editbox 2,2"}), g.host.events);
        Key(edit, VK_ESCAPE);
        PumpUntilIdle();
        EXPECT_EQ(CString(L"2,2"), g.grid.GetItemText(2, 2));
    }
}

TEST(GridEdit, AClickOnTheFocusCellPutsTheCaretAfterTheText)
{
    EditGrid g;
    g.grid.SetFocusCell(3, 3);
    Click(&g.grid, CellCentre(g.grid, 3, 3));
    HWND edit = Focus();
    ASSERT_EQ(L"Edit", ClassOf(edit));
    EXPECT_EQ(CString(L"3,3"), TextOf(edit));
    EXPECT_EQ(std::make_pair(3, 3), Selection(edit));
    g.Leave();
}

TEST(GridEdit, DownCommitsAndOpensTheCellBelowWithItsTextSelected)
{
    EditGrid g;
    HWND edit = g.TypeOn(2, 2, L'1');
    ASSERT_NE(nullptr, edit);
    Type(edit, L"2.5");
    Key(edit, VK_DOWN);
    EXPECT_EQ(CString(L"12.5"), g.grid.GetItemText(2, 2));
    EXPECT_TRUE(g.grid.GetModified());
    EXPECT_EQ(CCellID(3, 2), g.grid.GetFocusCell());
    HWND next = Focus();
    ASSERT_NE(edit, next);
    EXPECT_EQ(L"Edit", ClassOf(next));
    EXPECT_EQ(CString(L"3,2"), TextOf(next));
    EXPECT_EQ(std::make_pair(0, 3), Selection(next));
    EXPECT_EQ((std::vector<std::string>{"beginedit 2,2", "editbox 2,2", "changed 2,2", "endedit 2,2", "leave 2,2",
                                        "focus 3,2", "beginedit 3,2", "editbox 3,2"}),
              g.host.events);
    g.Leave();
    EXPECT_FALSE(::IsWindow(edit));
    EXPECT_FALSE(::IsWindow(next));
}

TEST(GridEdit, RightMovesTheCaretAndCtrlRightMovesToTheNextCell)
{
    EditGrid g;
    HWND edit = g.TypeOn(2, 2, L'a');
    ASSERT_NE(nullptr, edit);
    Key(edit, VK_LEFT);
    Key(edit, VK_RIGHT);
    EXPECT_EQ(edit, Focus());
    {
        HeldKeys ctrl({VK_CONTROL});
        Key(edit, VK_RIGHT);
    }
    EXPECT_EQ(CString(L"a"), g.grid.GetItemText(2, 2));
    EXPECT_EQ(CCellID(2, 3), g.grid.GetFocusCell());
    EXPECT_EQ(CString(L"2,3"), TextOf(Focus()));
    g.Leave();
}

TEST(GridEdit, TabMovesTheFocusOnceAndCommits)
{
    EditGrid g;
    HWND edit = g.TypeOn(2, 2, L'Z');
    ASSERT_NE(nullptr, edit);
    Key(edit, VK_TAB);
    PumpUntilIdle();
    EXPECT_EQ(CString(L"Z"), g.grid.GetItemText(2, 2));
    EXPECT_EQ(CCellID(2, 3), g.grid.GetFocusCell());
    EXPECT_EQ(g.grid.m_hWnd, Focus());
}

TEST(GridEdit, EscapeKeepsTheCellAndTellsNoChange)
{
    EditGrid g;
    HWND edit = g.TypeOn(4, 1, L'9');
    ASSERT_NE(nullptr, edit);
    Type(edit, L"99");
    Key(edit, VK_ESCAPE);
    PumpUntilIdle();
    EXPECT_EQ(CString(L"4,1"), g.grid.GetItemText(4, 1));
    EXPECT_FALSE(g.grid.GetModified());
    EXPECT_TRUE(g.host.Events("changed").empty());
    EXPECT_EQ((std::vector<std::string>{"endedit 4,1"}), g.host.Events("endedit"));
}

TEST(GridEdit, CommittingTheSameTextTellsTheEndButNoChange)
{
    EditGrid g;
    HWND edit = g.TypeOn(3, 3, VK_RETURN);
    ASSERT_NE(nullptr, edit);
    g.Leave();
    EXPECT_TRUE(g.host.Events("changed").empty());
    EXPECT_EQ((std::vector<std::string>{"endedit 3,3"}), g.host.Events("endedit"));
    EXPECT_FALSE(g.grid.GetModified());
}

TEST(GridEdit, ReadOnlyCellsAndLockedGridsOpenNoEditor)
{
    EditGrid g;
    g.grid.SetReadOnlyColumn(3);
    g.grid.SetItemState(2, 2, GVIS_READONLY);
    EXPECT_EQ(nullptr, g.TypeOn(2, 3, L'x'));
    EXPECT_EQ(nullptr, g.TypeOn(2, 2, L'x'));
    g.grid.SetEditable(FALSE);
    EXPECT_EQ(nullptr, g.TypeOn(4, 4, L'x'));
    {
        HeldKeys ctrl({VK_CONTROL});
        g.grid.SetEditable(TRUE);
        EXPECT_EQ(nullptr, g.TypeOn(4, 4, L'x'));
    }
    EXPECT_EQ(CString(L"2,3"), g.grid.GetItemText(2, 3));
    EXPECT_EQ(CString(L"4,4"), g.grid.GetItemText(4, 4));
}

TEST(GridEdit, SetCurrentCellNeverEditsAHeading)
{
    EditGrid g;
    g.grid.SetCurrentCell(0, 0); // once went to row 2, skipping the first data row
    EXPECT_EQ(CCellID(1, 1), g.grid.GetFocusCell());
    HWND edit = Focus();
    ASSERT_EQ(L"Edit", ClassOf(edit));
    EXPECT_EQ(CString(L"1,1"), TextOf(edit));
    g.Leave();
    g.grid.SetCurrentCell(99, 99);
    EXPECT_EQ(CCellID(7, 4), g.grid.GetFocusCell());
    g.Leave();
}

// The owner changes rows or columns while a cell is being edited (a tool
// button takes no focus): the editor's text goes to its own cell first and
// never to the cell that moves into its place.
TEST(GridEdit, RowsAndColumnsThatMoveTakeAnOpenEditorsTextWithThem)
{
    struct Case {
        const char* name;
        void (*change)(tkxGridCtrl&);
        std::vector<std::pair<CCellID, const wchar_t*>> expected;
    } cases[] = {
        {"delete the row", [](tkxGridCtrl& g) { g.DeleteRow(3, 0); }, {{CCellID(3, 2), L"4,2"}}},
        {"delete the row above", [](tkxGridCtrl& g) { g.DeleteRow(2, 0); }, {{CCellID(2, 2), L"x"}, {CCellID(3, 2), L"4,2"}}},
        {"insert a row", [](tkxGridCtrl& g) { g.InsertRow(L"新", 3); }, {{CCellID(3, 2), L""}, {CCellID(4, 2), L"x"}}},
        {"swap rows", [](tkxGridCtrl& g) { g.SwapRow(3, 4, 1); }, {{CCellID(3, 2), L"4,2"}, {CCellID(4, 2), L"x"}}},
        {"sort", [](tkxGridCtrl& g) { g.SortTextItems(2, FALSE); }, {{CCellID(1, 2), L"x"}, {CCellID(2, 2), L"7,2"}}},
        {"delete a column", [](tkxGridCtrl& g) { g.DeleteColumn(1); }, {{CCellID(3, 1), L"x"}, {CCellID(3, 2), L"3,3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditGrid g;
        HWND editor = g.TypeOn(3, 2, 'x');
        ASSERT_NE(nullptr, editor);
        c.change(g.grid);
        g.Leave();
        for (const auto& e : c.expected)
            EXPECT_EQ(CString(e.second), g.grid.GetItemText(e.first.row, e.first.col)) << e.first.row << "," << e.first.col;
    }
}

// A word from an input method arrives as characters posted to the grid, all
// of them before the editor the first one opens has taken the focus.
TEST(GridEdit, AWordPostedToTheGridIsTypedWhole)
{
    for (UINT message : {static_cast<UINT>(WM_CHAR), static_cast<UINT>(WM_IME_CHAR)}) {
        SCOPED_TRACE(message);
        EditGrid g;
        g.grid.SetFocusCell(3, 2);
        for (wchar_t ch : std::wstring(L"桩号K1"))
            g.grid.PostMessage(message, ch, 1);
        PumpUntilIdle();
        g.Leave();
        EXPECT_EQ(CString(L"桩号K1"), g.grid.GetItemText(3, 2));
    }
}

TEST(GridEdit, TheEditBoxGrowsWithItsTextUpToTheGridsEdge)
{
    EditGrid g;
    HWND edit = g.TypeOn(2, 1, L'K');
    ASSERT_NE(nullptr, edit);
    CRect before;
    ::GetWindowRect(edit, before);
    Type(edit, L"12+345.678 左侧边沟");
    CRect after;
    ::GetWindowRect(edit, after);
    EXPECT_GT(after.Width(), before.Width());
    Type(edit, L" 很长很长很长很长很长很长很长很长很长很长很长很长很长的说明文字");
    CRect grid;
    g.grid.GetClientRect(grid);
    g.grid.ClientToScreen(grid);
    ::GetWindowRect(edit, after);
    EXPECT_LE(after.right, grid.right);
    g.Leave();
    EXPECT_EQ(CString(L"K12+345.678 左侧边沟 很长很长很长很长很长很长很长很长很长很长很长很长很长的说明文字"),
              g.grid.GetItemText(2, 1));
}

// ---------------------------------------------------------------------------

namespace {

class TestComboGrid : public tkxComboGridCtrl
{
public:
    using tkxGridCtrl::SetFocusCell;
};

struct ComboGrid : Hosted<TestComboGrid> {
    ComboGrid()
    {
        EXPECT_TRUE(Make());
        FillGrid(grid, 6, 5, 1, 1);
        sComboItem item;
        item.nCol = 2;
        item.strItems = L"A||B|  C ";
        grid.AddComboColumn(item);
    }
    HWND EditAt(int row, int col)
    {
        grid.SetFocusCell(CCellID(row, col));
        host.Clear();
        Click(&grid, CellCentre(grid, row, col));
        return Focus();
    }
};

} // namespace

TEST(GridCombo, AComboColumnOffersItsEntriesAndReportsTheChoice)
{
    ComboGrid g;
    g.grid.SetItemText(2, 2, L"B");
    HWND list = g.EditAt(2, 2);
    ASSERT_EQ(L"ComboBox", ClassOf(list));
    CComboBox* combo = ListOf(list);
    ASSERT_NE(nullptr, combo);
    ASSERT_EQ(3, combo->GetCount());
    CString entry;
    const wchar_t* expected[] = {L"A", L"B", L"C"};
    for (int i = 0; i < 3; ++i) {
        combo->GetLBText(i, entry);
        EXPECT_EQ(CString(expected[i]), entry);
    }
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ(2, ListOf(list)->GetVisibleLines()); // 3 x 0.75
    EXPECT_EQ((std::vector<std::string>{"beginedit 2,2", "combo 2 'B'"}), g.host.events);

    combo->SetCurSel(2);
    g.grid.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GRID_INPLACE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ((std::vector<std::string>{"combochange 2 'C'"}), g.host.Events("combochange"));
    g.grid.SetFocus();
    PumpUntilIdle();
    EXPECT_EQ(CString(L"C"), g.grid.GetItemText(2, 2));
    EXPECT_EQ((std::vector<std::string>{"changed 2,2"}), g.host.Events("changed"));
}

TEST(GridCombo, ATextNotInTheListIsKeptWhenNothingIsChosen)
{
    ComboGrid g;
    g.grid.SetItemText(3, 2, L"Q");
    HWND list = g.EditAt(3, 2);
    ASSERT_EQ(L"ComboBox", ClassOf(list));
    EXPECT_EQ(CB_ERR, ListOf(list)->GetCurSel());
    g.grid.SetFocus();
    PumpUntilIdle();
    EXPECT_EQ(CString(L"Q"), g.grid.GetItemText(3, 2));
    EXPECT_TRUE(g.host.Events("changed").empty());
}

TEST(GridCombo, OtherColumnsAreEditedWithAnEditBox)
{
    ComboGrid g;
    HWND edit = g.EditAt(2, 3);
    EXPECT_EQ(L"Edit", ClassOf(edit));
    EXPECT_EQ((std::vector<std::string>{"editbox 2,3"}), g.host.Events("editbox"));
    g.grid.SetFocus();
    PumpUntilIdle();
}

TEST(GridCombo, TheDroppedListShowsThreeQuartersOfItsEntries)
{
    ComboGrid g;
    g.grid.Reset();
    sComboItem four{2, L"1|2|3|4"}, one{3, L"only"};
    g.grid.AddComboColumn(four);
    g.grid.AddComboColumn(one);
    HWND list = g.EditAt(1, 2);
    ASSERT_NE(nullptr, ListOf(list));
    EXPECT_EQ(3, ListOf(list)->GetVisibleLines());
    list = g.EditAt(1, 3);
    ASSERT_NE(nullptr, ListOf(list));
    EXPECT_EQ(0, ListOf(list)->GetVisibleLines());
    g.grid.SetFocus();
    PumpUntilIdle();
}

// ---------------------------------------------------------------------------

TEST(GridTitleTip, ShowsOnlyTextsThatDoNotFitAndHidesByItself)
{
    EditGrid g;
    tkxTitleTip& tip = g.grid.GetTitleTip();
    const CString text = L"里程 K3+100";
    CClientDC dc(&g.grid);
    HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(g.grid.SendMessage(WM_GETFONT)));
    const int width = dc.GetTextExtent(L" " + text + L" ").cx;
    dc.SelectObject(old);

    const int offset = 2;
    tip.Show(CRect(10, 10, 10 + width + 3 * offset, 30), text, offset); // fits exactly
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.Show(CRect(10, 10, 10 + width + 3 * offset - 1, 30), text, offset);
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(CString(L" ") + text + L" ", tip.GetShownText());
    CRect placed;
    tip.GetWindowRect(placed);
    CPoint origin(10 + offset, 10);
    g.grid.ClientToScreen(&origin);
    EXPECT_EQ(origin, placed.TopLeft());

    Image image = CaptureWindow(&tip);
    image.SaveBmp(L"grid_title_tip.bmp");
    EXPECT_GT(image.Count(CRect(0, 0, image.Width(), image.Height()), RGB(0, 0, 0)), 0);

    const DWORD start = ::GetTickCount();
    while (tip.IsWindowVisible() && ::GetTickCount() - start < 5000) PumpFor(50);
    EXPECT_FALSE(tip.IsWindowVisible());

    // The pointer over a cell whose text is cut off shows the tip there.
    g.grid.SetItemText(3, 2, L"很长很长很长很长很长的桩号说明");
    const CPoint over = CellCentre(g.grid, 3, 2);
    g.grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    EXPECT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(CString(L" 很长很长很长很长很长的桩号说明 "), tip.GetShownText());
    tip.Hide();
    const CPoint fits = CellCentre(g.grid, 4, 2);
    g.grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(fits.x, fits.y));
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST(GridTitleTip, LinesAreLimitedToFour)
{
    tkxTitleTip tip;
    EXPECT_FALSE(tip.SetLineCount(0));
    EXPECT_FALSE(tip.SetLineCount(5));
    EXPECT_TRUE(tip.SetLineCount(4));
    EXPECT_EQ(4, tip.GetLineCount());
    EXPECT_FALSE(tip.SetLineText(4, L"x"));
    EXPECT_FALSE(tip.SetLineText(-1, L"x"));
    EXPECT_TRUE(tip.SetLineText(3, L"第四行"));
    EXPECT_EQ(CString(L"第四行"), tip.GetLineText(3));
    EXPECT_EQ(3000, tip.GetDelay());
}
