// Sizes and sorting: automatic sizes, fitting the window, and the three
// sorts with heading rows.
#include "grid_test_support.h"
#include "corvane/ui/GridSortKey.h"
#include <cstring>

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

TEST(GridSizes, TextsMeasureAsTheSystemMeasuresThemWhole)
{
    // Widths come from the widths of the characters, each measured once:
    // every text, column and row must still come out as the system
    // measures the whole text, in the cell font and in its bold form, and
    // in a font of a cell's own.
    Hosted<> h;
    ASSERT_TRUE(h.Make());
    const wchar_t* const texts[] = {L"K123+456.789",  L"-0.025",  L"地面线高程 桥头", L"（左侧）W=3.5m，i=2%",
                                    L"WWW iii ...",   L"\t制表符", L"a",               L"𠀀 超出基本平面",
                                    L"mixed 中文 and Latin", L"   "};
    LOGFONTW own{};
    own.lfHeight = -15;
    own.lfCharSet = GB2312_CHARSET;
    wcscpy_s(own.lfFaceName, L"黑体");
    auto gdi = [&](const LOGFONTW& lf, const wchar_t* text) {
        CClientDC dc(&h.grid);
        CFont font;
        font.CreateFontIndirect(&lf);
        HGDIOBJ old = dc.SelectObject(font.m_hObject);
        const CSize size = dc.GetTextExtent(text);
        dc.SelectObject(old);
        return size;
    };
    LOGFONTW normal{};
    ::GetObjectW(reinterpret_cast<HFONT>(h.grid.SendMessage(WM_GETFONT)), sizeof(normal), &normal);
    LOGFONTW bold = normal;
    bold.lfWeight = 600;
    const int margin = gdi(normal, L" ").cx;
    for (const wchar_t* text : texts) {
        for (int weight = 0; weight < 2; ++weight) {
            const CSize expected = gdi(weight ? bold : normal, text) + CSize(margin * 3 / 2, margin * 3 / 2);
            EXPECT_EQ(expected, h.grid.GetTextExtent(text, weight)) << text << " bold " << weight;
        }
    }

    // A column sized to its widest text, the heading measured bold; the
    // same texts in a font of their own.
    const int rows = static_cast<int>(std::size(texts)) + 1;
    h.grid.SetRowCount(rows);
    h.grid.SetColumnCount(3);
    h.grid.SetFixedRowCount(1);
    for (int row = 0; row < rows; ++row) {
        const wchar_t* text = row == 0 ? L"heading" : texts[row - 1];
        h.grid.SetItemText(row, 1, text);
        h.grid.SetItemText(row, 2, text);
        h.grid.SetItemFont(row, 2, &own);
    }
    h.grid.AutoSizeColumns();
    for (int col = 1; col <= 2; ++col) {
        int widest = 0;
        for (int row = 0; row < rows; ++row) {
            LOGFONTW lf = col == 2 ? own : normal;
            if (row == 0) lf.lfWeight = 600;
            widest = std::max(widest, static_cast<int>(gdi(lf, h.grid.GetItemText(row, col)).cx) + 4 * margin);
        }
        EXPECT_EQ(widest, h.grid.GetColumnWidth(col)) << "column " << col;
    }
    h.grid.AutoSizeRows();
    LOGFONTW ownBold = own;
    ownBold.lfWeight = 600;
    EXPECT_EQ(std::max(gdi(bold, L"heading").cy, gdi(ownBold, L"heading").cy) + 2 * margin, h.grid.GetRowHeight(0));
    EXPECT_EQ(std::max(gdi(normal, texts[0]).cy, gdi(own, texts[0]).cy) + 2 * margin, h.grid.GetRowHeight(1));
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
enum class Pattern { Mixed, Crest, Odd };

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
        if (pattern == Pattern::Odd) {
            // Texts the C runtime reads in its own ways, among plain numbers.
            static const wchar_t* const odd[] = {L"nan",     L"inf",    L"-inf",  L"1e400", L"0x1A",  L"  12",
                                                 L"\t3.5",  L"12abc",  L"-0",    L"0",     L"+0.000001",
                                                 L"1.00000000000000000001", L"26",   L"12",    L"3.500001",
                                                 L".5",      L"-.5e1",  L"",      L"+",     L"1,5"};
            const unsigned r = next();
            key = odd[r % std::size(odd)];
            data = static_cast<LPARAM>(r % 5);
        } else if (pattern == Pattern::Crest) {
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

TEST(GridSort, NumericKeysAreTheRuntimesValuesToTheLastBit)
{
    // The numeric sort reads its usual keys without the C runtime: each
    // must be the double the runtime's wcstod gives, whose last bit is not
    // always the nearest one (it rounds twice).
    uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(state >> 33);
    };
    std::vector<std::wstring> texts = {L"0",  L"-0", L"+7",   L".5",  L"-.25", L"12.", L"007.100", L"999999999999999",
                                       L"0.000000000000001", L"1e3", L" 4", L"4 ", L"0x1A", L"nan", L"-", L"", L"1.2.3"};
    for (int i = 0; i < 200000; ++i) {
        std::wstring text = next() % 4 == 0 ? L"-" : L"";
        const int whole = static_cast<int>(next() % 10), fraction = static_cast<int>(next() % (16 - whole));
        for (int d = 0; d < whole; ++d) text += static_cast<wchar_t>(L'0' + next() % 10);
        if (whole == 0 || fraction > 0) text += L'.';
        for (int d = 0; d < fraction || (whole == 0 && d == 0); ++d) text += static_cast<wchar_t>(L'0' + next() % 10);
        texts.push_back(text);
    }
    for (const std::wstring& text : texts) {
        const double key = grid_sort::NumericKey(text.c_str(), text.size());
        const double runtime = std::wcstod(text.c_str(), nullptr);
        ASSERT_EQ(0, std::memcmp(&key, &runtime, sizeof key))
            << Str(CString(text.c_str())) << " " << std::hexfloat << key << " " << runtime;
    }
}

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
        {"2000 odd", Pattern::Odd, 2000, {0x2ee182b53cc6aa95ull, 0xc03f610d72c1cdddull},
         {0x5dafbc3cc599b39dull, 0x3efb36ac05885ea7ull}, {0x6c89ab33b18c7249ull, 0x6bcd8c578d0fc71bull}},
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

    // Keys all more than 0.00001 apart have one order, in any notation.
    tkxGridCtrl grid(4001, 1, 1, 0);
    for (int row = 1; row <= 4000; ++row) {
        const int value = (row * 7919) % 4001;
        CString key;
        if (row % 3 == 0)
            key.Format(L"%d.%05d", value / 100, value % 100 * 1000);
        else if (row % 3 == 1)
            key.Format(L"%.3e", value / 100.0);
        else
            key.Format(L" %.20f", value / 100.0);
        grid.SetItemText(row, 0, key);
    }
    for (int ascending = 0; ascending < 2; ++ascending) {
        ASSERT_TRUE(grid.SortByDat(1, -1, 0, ascending));
        for (int row = 2; row <= 4000; ++row) {
            const double before = std::wcstod(grid.GetItemText(row - 1, 0), nullptr);
            const double after = std::wcstod(grid.GetItemText(row, 0), nullptr);
            ASSERT_TRUE(ascending ? before < after : before > after) << "row " << row;
        }
    }
}
