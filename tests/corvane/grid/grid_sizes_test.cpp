// Sizes and sorting: automatic sizes, fitting the window, and the three
// sorts with heading rows.
#include "grid_test_support.h"

using namespace gridtest;
using namespace wintest;

namespace {

std::vector<std::string> Column(tkxGridCtrl& grid, int col)
{
    std::vector<std::string> texts;
    for (int row = 0; row < grid.GetRowCount(); ++row) texts.push_back(Str(grid.GetItemText(row, col)));
    return texts;
}

// One heading row; column 0 holds the keys given, column 1 marks each row
// with its original position.
void Keys(tkxGridCtrl& grid, std::initializer_list<const wchar_t*> keys)
{
    grid.SetColumnCount(2);
    grid.SetRowCount(static_cast<int>(keys.size()));
    grid.SetFixedRowCount(1);
    int row = 0;
    for (const wchar_t* key : keys) {
        grid.SetItemText(row, 0, key);
        grid.SetItemText(row, 1, std::to_wstring(row).c_str());
        ++row;
    }
}

int CALLBACK ByData(LPARAM a, LPARAM b, LPARAM sign) { return static_cast<int>(sign * (a - b)); }

} // namespace

TEST(GridSizes, EmptyCellsAutoSizeToTheirMinimum)
{
    Hosted<> h;
    ASSERT_TRUE(h.Make());
    h.grid.SetRowCount(3);
    h.grid.SetColumnCount(3);
    EXPECT_TRUE(h.grid.AutoSizeColumn(1));
    EXPECT_EQ(1, h.grid.GetColumnWidth(1));
    EXPECT_TRUE(h.grid.AutoSizeRow(1));
    EXPECT_EQ(0, h.grid.GetRowHeight(1));
    EXPECT_FALSE(h.grid.AutoSizeColumn(3));

    h.grid.SetItemText(2, 1, L"K123+456.789 右侧");
    h.grid.AutoSizeColumn(1);
    CClientDC dc(&h.grid);
    HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(h.grid.SendMessage(WM_GETFONT)));
    const int textWidth = dc.GetTextExtent(L"K123+456.789 右侧").cx;
    dc.SelectObject(old);
    EXPECT_GT(h.grid.GetColumnWidth(1), textWidth);

    tkxGridCtrl loose(2, 2, 0, 0); // no window: nothing to measure with
    EXPECT_FALSE(loose.AutoSizeColumn(0));
    EXPECT_EQ(CSize(0, 0), loose.GetTextExtent(L"abc"));
}

TEST(GridSizes, ExpandingToFitSpreadsTheDifferenceOverTheColumns)
{
    Hosted<> h;
    ASSERT_TRUE(h.Make(CRect(0, 0, 203, 100), WS_CHILD | WS_VISIBLE));
    h.grid.SetRowCount(2);
    h.grid.SetColumnCount(4);
    for (int col = 0; col < 4; ++col) h.grid.SetColumnWidth(col, 100);
    h.grid.ExpandColumnsToFit();
    CRect client;
    h.grid.GetClientRect(client);
    EXPECT_EQ(client.Width(), h.grid.GetVirtualWidth());
    const int shrink = static_cast<int>(400 - client.Width());
    const int each = shrink / 4;
    for (int col = 0; col < 4; ++col) {
        const int width = h.grid.GetColumnWidth(col);
        EXPECT_TRUE(width == 100 - each || width == 100 - each - 1) << col << ": " << width;
    }
    // A hidden column stays hidden when the columns shrink, and the others
    // give up what it cannot.
    h.grid.SetColumnWidth(0, 0);
    for (int col = 1; col < 4; ++col) h.grid.SetColumnWidth(col, 150);
    h.grid.ExpandColumnsToFit();
    EXPECT_EQ(client.Width(), h.grid.GetVirtualWidth());
    EXPECT_EQ(0, h.grid.GetColumnWidth(0));
    for (int col = 1; col < 4; ++col) EXPECT_NEAR(client.Width() / 3.0, h.grid.GetColumnWidth(col), 1) << col;

    EXPECT_FALSE(h.grid.SetColumnWidth(0, -1));
    EXPECT_FALSE(h.grid.SetRowHeight(5, 10));
    EXPECT_EQ(-1, h.grid.GetColumnWidth(4));
}

TEST(GridSort, TextSortsBeginAtTheFirstDataRow)
{
    tkxGridCtrl grid;
    Keys(grid, {L"K", L"c", L"a", L"b"});
    ASSERT_TRUE(grid.SortTextItems(0, TRUE));
    EXPECT_EQ((std::vector<std::string>{"K", "a", "b", "c"}), Column(grid, 0));
    ASSERT_TRUE(grid.SortTextItems(0, FALSE));
    EXPECT_EQ((std::vector<std::string>{"K", "c", "b", "a"}), Column(grid, 0));

    // The first data row takes part too (once it was left where it stood).
    Keys(grid, {L"K", L"z", L"y", L"x"});
    grid.SortTextItems(0, TRUE);
    EXPECT_EQ((std::vector<std::string>{"K", "x", "y", "z"}), Column(grid, 0));
}

TEST(GridSort, NumbersSortByValueAndTextsByCodePoint)
{
    tkxGridCtrl grid;
    Keys(grid, {L"桩号", L"10.5", L"9", L"-3", L"abc", L"100"});
    ASSERT_TRUE(grid.SortByDat(1, -1, 0, TRUE));
    EXPECT_EQ((std::vector<std::string>{"桩号", "-3", "abc", "9", "10.5", "100"}), Column(grid, 0));
    ASSERT_TRUE(grid.SortByDat(1, -1, 0, FALSE));
    EXPECT_EQ((std::vector<std::string>{"桩号", "100", "10.5", "9", "abc", "-3"}), Column(grid, 0));

    Keys(grid, {L"桩号", L"10.5", L"9", L"100"});
    grid.SortTextItems(0, TRUE);
    EXPECT_EQ((std::vector<std::string>{"桩号", "10.5", "100", "9"}), Column(grid, 0));

    EXPECT_FALSE(grid.SortByDat(1, -1, 2, TRUE)); // no such column
    EXPECT_FALSE(grid.SortByDat(3, 3, 0, TRUE));  // nothing to sort
}

TEST(GridSort, EqualKeysAreNeverExchanged)
{
    tkxGridCtrl grid;
    Keys(grid, {L"K", L"same", L"same", L"same", L"same", L"same"});
    grid.SortTextItems(0, TRUE);
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2", "3", "4", "5"}), Column(grid, 1));

    Keys(grid, {L"K", L"1.000001", L"1.0"});
    grid.SortByDat(1, -1, 0, TRUE);
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2"}), Column(grid, 1));
    Keys(grid, {L"K", L"1.0001", L"1.0"});
    grid.SortByDat(1, -1, 0, TRUE);
    EXPECT_EQ((std::vector<std::string>{"0", "2", "1"}), Column(grid, 1));
}

TEST(GridSort, RowsTravelWholeWithTheirHeightsAndColours)
{
    tkxGridCtrl grid;
    Keys(grid, {L"K", L"b", L"a"});
    grid.SetRowHeight(1, 33);
    grid.SetItemBkColour(1, 1, RGB(1, 2, 3));
    grid.SortTextItems(0, TRUE);
    EXPECT_EQ(33, grid.GetRowHeight(2));
    EXPECT_EQ(RGB(1, 2, 3), grid.GetItemBkColour(2, 1));
    EXPECT_EQ(CString(L"1"), grid.GetItemText(2, 1));
}

TEST(GridSort, ACallersComparisonSortsByTheCellData)
{
    tkxGridCtrl grid;
    Keys(grid, {L"K", L"", L"", L"", L""});
    const LPARAM data[] = {0, 30, 10, 40, 20};
    for (int row = 1; row < 5; ++row) grid.SetItemData(row, 0, data[row]);
    ASSERT_TRUE(grid.SortItems(ByData, 0, TRUE, 1));
    EXPECT_EQ((std::vector<std::string>{"0", "2", "4", "1", "3"}), Column(grid, 1));
    ASSERT_TRUE(grid.SortItems(ByData, 0, FALSE, 1));
    EXPECT_EQ((std::vector<std::string>{"0", "3", "1", "4", "2"}), Column(grid, 1));
    EXPECT_FALSE(grid.SortItems(ByData, 5, TRUE, 1));
}

TEST(GridSort, ColumnsThatRiseAndFallOrRepeatSortInNLogNSteps)
{
    // Elevations over a crest, and two station lists one after the other:
    // the middle row's key once split such ranges into one row and the
    // rest, and the sort took a number of steps growing with the square of
    // the rows.
    const int rows = 20000;
    struct Pattern {
        const char* name;
        LPARAM (*key)(int row);
    } patterns[] = {
        {"crest", [](int row) -> LPARAM { return row <= rows / 2 ? row : rows + 1 - row; }},
        {"two lists", [](int row) -> LPARAM { return row % (rows / 2); }},
    };
    static long comparisons;
    auto counting = [](LPARAM a, LPARAM b, LPARAM) -> int {
        ++comparisons;
        return a < b ? -1 : a > b ? 1 : 0;
    };
    for (auto& p : patterns) {
        for (int ascending = 0; ascending < 2; ++ascending) {
            tkxGridCtrl grid(rows + 1, 1, 1, 0);
            for (int row = 1; row <= rows; ++row) grid.SetItemData(row, 0, p.key(row));
            comparisons = 0;
            ASSERT_TRUE(grid.SortItems(counting, 0, ascending, 0));
            EXPECT_LT(comparisons, 40L * rows * 15) << p.name << (ascending ? " ascending" : " descending");
            for (int row = 2; row <= rows; ++row)
                ASSERT_TRUE(ascending ? grid.GetItemData(row - 1, 0) <= grid.GetItemData(row, 0)
                                      : grid.GetItemData(row - 1, 0) >= grid.GetItemData(row, 0))
                    << p.name << " row " << row;
        }
    }

    tkxGridCtrl grid(rows + 1, 1, 1, 0);
    for (int row = 1; row <= rows; ++row) grid.SetItemText(row, 0, std::to_wstring(patterns[0].key(row)).c_str());
    ASSERT_TRUE(grid.SortByDat(1, -1, 0, TRUE));
    EXPECT_EQ(CString(L"1"), grid.GetItemText(1, 0));
    EXPECT_EQ(CString(L"1"), grid.GetItemText(2, 0));
    EXPECT_EQ(CString(std::to_wstring(rows / 2).c_str()), grid.GetItemText(rows, 0));
}

namespace {

// Column 0 of a grid with one heading row: keys of the kind given, many of
// them equal or within 0.00001 of each other and some no number at all;
// column 1 the row each started in, and the data a small number.
enum class Pattern { Mixed, Crest };

void SortKeys(tkxGridCtrl& grid, Pattern pattern, int rows)
{
    grid.SetColumnCount(2);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRowCount(1);
    unsigned state = 7;
    auto next = [&] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7FFF;
    };
    for (int row = 1; row <= rows; ++row) {
        CString key;
        LPARAM data;
        if (pattern == Pattern::Crest) {
            const int height = (row <= rows / 2 ? row : rows + 1 - row) / 3;
            key.Format(L"%d", height);
            data = height;
        } else {
            const unsigned r = next();
            switch (r % 8) {
            case 0: key.Format(L"%u", r % 17); break;
            case 1: key.Format(L"%u.%05u", r % 13, next() % 3); break;
            case 2: key.Format(L" %u.5", r % 11); break;
            case 3: key = L"abc"; break;
            case 4: key.Format(L"-%u.25", r % 7); break;
            case 5: key.Format(L"%ue1", r % 5); break;
            case 6: key.Format(L"%u.%u", r % 9, next()); break;
            default: key.Format(L"%u.000004", r % 10); break;
            }
            data = static_cast<LPARAM>(r % 23);
        }
        grid.SetItemText(row, 0, key);
        grid.SetItemText(row, 1, std::to_wstring(row).c_str());
        grid.SetItemData(row, 0, data);
    }
}

// A fingerprint of the order of the rows (their original positions).
unsigned long long Order(tkxGridCtrl& grid)
{
    unsigned long long hash = 1469598103934665603ull;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        for (wchar_t c : grid.GetItemText(row, 1).str() + L",") {
            hash ^= c;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

} // namespace

TEST(GridSort, TheOrderOfEqualAndNearlyEqualKeysStays)
{
    // The rows of equal keys (texts), and of values within 0.00001, end in
    // the order the sort's exchanges leave them: a change of its steps, or
    // of a key by one unit in the last place, shows as another order.  The
    // crest finishes its long ranges by heap sort.
    struct Case {
        const char* name;
        Pattern pattern;
        int rows;
        unsigned long long value[2], text[2], data[2]; // descending, ascending
    };
    const Case cases[] = {
        {"40 mixed", Pattern::Mixed, 40, {0x900dbc8dd5d70ba3ull, 0xef2552387855932full},
         {0x8f105f253e37eeefull, 0x1b2d29fc40c6b3adull}, {0xf0098ed950e0bfa7ull, 0x848f330bfcdb4929ull}},
        {"5000 mixed", Pattern::Mixed, 5000, {0x4c135769666d7b88ull, 0x0b47584726d4afdcull},
         {0xacaf7c0ee5939c8aull, 0x89b6be747783ed0aull}, {0xc8d790dfbd417e82ull, 0x5fdb660e8a37ce54ull}},
        {"3000 crest", Pattern::Crest, 3000, {0xae7cd1c85bc8fdb4ull, 0x40d39297531fbc2aull},
         {0x2f6636005c1d8edaull, 0x7033237324c048faull}, {0xae7cd1c85bc8fdb4ull, 0x40d39297531fbc2aull}},
    };
    for (const Case& c : cases) {
        for (int ascending = 0; ascending < 2; ++ascending) {
            tkxGridCtrl byValue, byText, byData;
            SortKeys(byValue, c.pattern, c.rows);
            SortKeys(byText, c.pattern, c.rows);
            SortKeys(byData, c.pattern, c.rows);
            ASSERT_TRUE(byValue.SortByDat(1, -1, 0, ascending));
            ASSERT_TRUE(byText.SortTextItems(0, ascending));
            ASSERT_TRUE(byData.SortItems(ByData, 0, ascending, 1));
            EXPECT_EQ(c.value[ascending], Order(byValue)) << c.name << " by value " << ascending;
            EXPECT_EQ(c.text[ascending], Order(byText)) << c.name << " by text " << ascending;
            EXPECT_EQ(c.data[ascending], Order(byData)) << c.name << " by data " << ascending;
        }
    }
}
