// Delimited text files: saving and loading back, long lines and Chinese
// text, what loading makes of odd lines, and failures.
#include "grid_test_support.h"
#include "support/FailingWrites.h"

using namespace gridtest;
using namespace wintest;
using namespace test_support;

namespace {

std::vector<std::string> Texts(tkxGridCtrl& grid)
{
    std::vector<std::string> rows;
    for (int row = 0; row < grid.GetRowCount(); ++row) {
        std::string line;
        for (int col = 0; col < grid.GetColumnCount(); ++col) line += (col ? "|" : "") + Str(grid.GetItemText(row, col));
        rows.push_back(line);
    }
    return rows;
}

} // namespace

TEST(GridFile, SavedTextsLoadBackWithLongLinesAndChineseText)
{
    ScratchFolder folder(L"grid_roundtrip");
    Hosted<> source(4, 3, 1, 1);
    ASSERT_TRUE(source.Make());
    const wchar_t* texts[4][3] = {
        {L"序号", L"桩号", L"设计高程"},
        {L"1", L"K0+000.000", L"123.456"},
        {L"2", L"", L"左侧边沟底"},
        {L"3", L"K0+040.000", L""},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) source.grid.SetItemText(r, c, texts[r][c]);
    const CString longText(L'长', 3000); // far beyond a 1,023-character piece
    source.grid.SetItemText(2, 1, longText);
    ASSERT_TRUE(source.grid.Save(folder / L"表格.csv", L","));

    const std::string bytes = ReadBytes(folder / L"表格.csv");
    EXPECT_EQ(0u, bytes.find(FileText(L"序号,桩号,设计高程\n1,K0+000.000,123.456\n")));
    EXPECT_EQ(FileText(L"3,K0+040.000,\n"), bytes.substr(bytes.size() - FileText(L"3,K0+040.000,\n").size()));

    Hosted<> loaded;
    ASSERT_TRUE(loaded.Make());
    loaded.grid.SetModified(FALSE);
    ASSERT_TRUE(loaded.grid.Load(folder / L"表格.csv"));
    EXPECT_EQ(Texts(source.grid), Texts(loaded.grid));
    EXPECT_EQ(CString(longText), loaded.grid.GetItemText(2, 1));
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), loaded.grid.GetItemFormat(3, 2));
    EXPECT_GT(loaded.grid.GetColumnWidth(1), loaded.grid.GetColumnWidth(0)); // sized to the long text
    EXPECT_EQ(4, loaded.grid.GetRowCount());
    EXPECT_EQ(std::vector<CString>{L"表格.csv"}, FilesIn(folder.Path()));
}

TEST(GridFile, LoadingSplitsAtCommasOnly)
{
    ScratchFolder folder(L"grid_split");
    struct Case {
        const char* name;
        const wchar_t* file;
        std::vector<std::string> texts;
    } cases[] = {
        {"tab separated", L"a\tb\tc\n1\t2\t3\n", {"a\tb\tc", "1\t2\t3"}},
        {"commas in a text", L"a,b\n1,2,3\n\"x,y\",z\n", {"a|b", "1|2", "\"x|y\""}},
        {"short and empty lines", L"a,b,c\n1\n\n4,,6\n", {"a|b|c", "1||", "||", "4||6"}},
        {"no end of line", L"a,b\n1,2", {"a|b", "1|2"}},
        {"empty file", L"", {}},
        {"Chinese", L"名称,说明\n边沟,左侧\n", {"名称|说明", "边沟|左侧"}},
    };
    for (auto& c : cases) {
        WriteText(folder / L"in.txt", c.file);
        Hosted<> h(2, 2, 1, 0);
        ASSERT_TRUE(h.Make());
        ASSERT_TRUE(h.grid.Load(folder / L"in.txt")) << c.name;
        EXPECT_EQ(c.texts, Texts(h.grid)) << c.name;
    }
}

TEST(GridFile, LinesEndAtALineFeedWithTheCarriageReturnBeforeIt)
{
    // A line ends at a line feed, a carriage return right before it goes
    // with it and any other stays in the text, wherever the file's reading
    // buffer happens to end (every 65,536 bytes).
    ScratchFolder folder(L"grid_lines");
    const std::string across = "h\r\n" + std::string(65532, 'x') + "\r\ny\r\n"; // CR at 65535, LF at 65536
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> texts;
    } cases[] = {
        {"lone and doubled carriage returns", "a,b\r\n1\r2,3\r\r\n4,5\r", {"a|b", "1\r2|3\r", "4|5\r"}},
        {"a carriage return and its line feed in two buffers", across, {"h", std::string(65532, 'x'), "y"}},
        {"a zero byte ends a field's text", std::string("a,b\r\nc\0d,e\r\n", 12), {"a|b", "c|e"}},
    };
    for (auto& c : cases) {
        WriteBytes(folder / L"in.txt", c.bytes);
        Hosted<> h;
        ASSERT_TRUE(h.Make());
        ASSERT_TRUE(h.grid.Load(folder / L"in.txt")) << c.name;
        EXPECT_EQ(c.texts, Texts(h.grid)) << c.name;
    }
}

TEST(GridFile, AGridThatCannotBeEditedLoadsNothing)
{
    ScratchFolder folder(L"grid_locked");
    WriteText(folder / L"in.txt", L"a,b\n1,2\n3,4\n");
    MessageBoxScript boxes;
    Hosted<> h(3, 2, 1, 0);
    ASSERT_TRUE(h.Make());
    h.grid.SetItemText(1, 1, L"kept");
    h.grid.SetEditable(FALSE);
    EXPECT_FALSE(h.grid.Load(folder / L"in.txt"));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(3, h.grid.GetRowCount());
    EXPECT_EQ(CString(L"kept"), h.grid.GetItemText(1, 1));
}

TEST(GridFile, AFailedSaveLeavesTheOldFile)
{
    ScratchFolder folder(L"grid_failing");
    WriteText(folder / L"old.csv", L"旧的内容\n");
    Hosted<> h(3, 2, 1, 0);
    ASSERT_TRUE(h.Make());
    h.grid.SetItemText(1, 1, L"新的内容");
    MessageBoxScript boxes;
    {
        FailingWrites failing(folder.Path());
        EXPECT_FALSE(h.grid.Save(folder / L"old.csv", L","));
        EXPECT_GT(failing.Refused(), 0);
    }
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"无法保存列表内容!"), boxes.Shown()[0].text);
    EXPECT_EQ(FileText(L"旧的内容\n"), ReadBytes(folder / L"old.csv"));
    EXPECT_EQ(std::vector<CString>{L"old.csv"}, FilesIn(folder.Path()));

    EXPECT_FALSE(h.grid.Save(folder / L"没有的文件夹\\new.csv", L","));
    EXPECT_EQ(2u, boxes.Shown().size()); // the file error's report
    EXPECT_NE(-1, boxes.Shown()[1].text.Find(L"new.csv"));
}

TEST(GridFile, AFileThatCannotBeOpenedLeavesTheGrid)
{
    ScratchFolder folder(L"grid_missing");
    MessageBoxScript boxes;
    Hosted<> h(3, 2, 1, 0);
    ASSERT_TRUE(h.Make());
    h.grid.SetItemText(2, 1, L"kept");
    EXPECT_FALSE(h.grid.Load(folder / L"none.csv"));
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"kept"), h.grid.GetItemText(2, 1));
}

namespace {

// A grid of another class: it sizes its columns column by column through
// the general path.
class OtherGrid : public tkxGridCtrl
{
};

std::vector<int> Widths(tkxGridCtrl& grid)
{
    std::vector<int> widths;
    for (int col = 0; col < grid.GetColumnCount(); ++col) widths.push_back(grid.GetColumnWidth(col));
    return widths;
}

} // namespace

// Loading sizes each column to its widest text as AutoSizeColumns does (the
// library's own grid measures the rows as it reads them): the same widths
// as the grid sizing itself again afterwards, and as a grid of another
// class sizing column by column.
TEST(GridFile, LoadedColumnsAreSizedAsAutoSizingSizesThem)
{
    ScratchFolder folder(L"grid_sizes");
    std::wstring text = L"序号,桩号,说明,,W\n";
    for (int i = 0; i < 300; ++i) {
        text += std::to_wstring(i) + L",K" + std::to_wstring(i / 10) + L"+" + std::to_wstring(i % 10 * 100) + L".5";
        if (i % 7 == 0) text += L",左侧边沟底 (i=2%)";
        if (i % 11 == 0) text += L",,WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
        if (i == 123) text += L",中文与 Latin 混排的一段很长很长的说明文字";
        text += L"\n";
    }
    WriteText(folder / L"in.csv", text.c_str());

    Hosted<> own;
    ASSERT_TRUE(own.Make());
    ASSERT_TRUE(own.grid.Load(folder / L"in.csv"));
    ASSERT_EQ(301, own.grid.GetRowCount());
    const std::vector<int> loaded = Widths(own.grid);
    own.grid.AutoSizeColumns();
    EXPECT_EQ(loaded, Widths(own.grid));

    Hosted<OtherGrid> other;
    ASSERT_TRUE(other.Make());
    ASSERT_TRUE(other.grid.Load(folder / L"in.csv"));
    EXPECT_EQ(loaded, Widths(other.grid));
    EXPECT_GT(loaded[2], loaded[0]); // the long mixed text
    EXPECT_GT(loaded[3], loaded[1]); // the row of Ws
}

// The library's own grid takes each row read straight into new cells: it
// ends with the texts, row heights, cell formats and modified state a grid
// of another class gets by inserting the rows one by one.
TEST(GridFile, OwnGridsHoldTheRowsAsInsertingThemOneByOneWould)
{
    ScratchFolder folder(L"grid_rows");
    WriteText(folder / L"in.csv", L"序号,桩号,说明\n1,K0+000,左侧\n,K0+020\n桩号很长的一行,K0+040,,多余\n\n4\n");
    Hosted<> own;
    Hosted<OtherGrid> other;
    ASSERT_TRUE(own.Make());
    ASSERT_TRUE(other.Make());
    for (tkxGridCtrl* grid : {static_cast<tkxGridCtrl*>(&own.grid), static_cast<tkxGridCtrl*>(&other.grid)}) {
        grid->SetModified(FALSE);
        ASSERT_TRUE(grid->Load(folder / L"in.csv"));
    }
    EXPECT_EQ(Texts(other.grid), Texts(own.grid));
    ASSERT_EQ(6, own.grid.GetRowCount());
    EXPECT_EQ(other.grid.GetModified(), own.grid.GetModified());
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(other.grid.GetRowHeight(row), own.grid.GetRowHeight(row)) << row;
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(other.grid.GetItemFormat(row, col), own.grid.GetItemFormat(row, col)) << row << "," << col;
    }
}
