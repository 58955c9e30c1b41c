// The centre-line shift dialog: its grid set up with the example rows,
// offsets typed into the grid, a bad row keeping the dialog open, the run
// from OK with its settings and question, and a picture of it.
#include "brisko/BriskoResource.h"
#include "brisko/convert/Dialog_MoveData.h"
#include "corvane/platform/Ini.h"
#include "tools_world.h"

using namespace tooltest;
using namespace wintest;

namespace {

tkxGridCtrl& GridOf(CWnd* dialog) { return static_cast<CDialog_MoveData*>(dialog)->m_Grid; }

// Types the text into a cell as the user does: the first character starts
// the cell's edit box, the rest goes into it, Enter ends it.
void TypeInCell(tkxGridCtrl& grid, int row, int col, const wchar_t* text)
{
    grid.SetFocus();
    grid.SetFocusCell(row, col);
    grid.SendMessage(WM_CHAR, text[0], 1);
    HWND edit = ::GetFocus();
    ASSERT_NE(grid.GetSafeHwnd(), edit) << "no edit box";
    for (const wchar_t* p = text + 1; *p; ++p) ::SendMessageW(edit, WM_CHAR, *p, 1);
    ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    ::SendMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    PumpUntilIdle();
}

struct ShiftFolder
{
    ShiftFolder() : folder(L"movedata_dialog")
    {
        dmxIn = PutFixture(folder, "SHIFT_DMX", L"路.DMX");
        hdxIn = PutFixture(folder, "SHIFT_HDX", L"路.HDX");
        dmxOut = folder / L"路_NEW.DMX";
        hdxOut = folder / L"路_NEW.HDX";
    }
    void Fill(CWnd* d) const
    {
        SetText(d, IDC_MOVE_DMX_IN, dmxIn);
        SetText(d, IDC_MOVE_HDX_IN, hdxIn);
        SetText(d, IDC_MOVE_DMX_OUT, dmxOut);
        SetText(d, IDC_MOVE_HDX_OUT, hdxOut);
    }
    ScratchFolder folder;
    CString dmxIn, hdxIn, dmxOut, hdxOut;
};

} // namespace

TEST(MoveDataDialog, TheGridStartsWithTheExampleRowsInItsThreeColumns)
{
    StartProgram();
    std::vector<std::vector<CString>> cells;
    CRect grid, dialogRect;
    std::vector<int> widths;
    int inkInGrid = 0;
    DialogScript script;
    script.Then([&](CWnd* d) {
        tkxGridCtrl& g = GridOf(d);
        for (int r = 0; r < g.GetRowCount(); ++r)
            cells.push_back({g.GetItemText(r, 0), g.GetItemText(r, 1), g.GetItemText(r, 2)});
        g.GetClientRect(grid);
        for (int c = 0; c < g.GetColumnCount(); ++c) widths.push_back(g.GetColumnWidth(c));
        EXPECT_EQ(IDC_MOVE_GRID, g.GetDlgCtrlID());
        EXPECT_EQ(CString(L"中桩平移，转换DMX, HDX文件"), d->GetWindowText());
        const Image picture = DialogImage(d);
        picture.SaveBmp(L"movedata_dialog.bmp");
        // The grid shows its headings and rows: text ink in its rectangle.
        inkInGrid = picture.Count(ChildRect(d, IDC_MOVE_GRID), RGB(0, 0, 0));
        // Every column holds its heading and rows whole in the window's
        // font, as the grid measures them.
        for (int c = 0; c < g.GetColumnCount(); ++c) {
            g.AutoSizeColumn(c);
            EXPECT_LE(g.GetColumnWidth(c), widths[c]) << Utf8(g.GetItemText(0, c));
        }
        Press(d, IDCANCEL);
    });
    CDialog_MoveData dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    const std::vector<std::vector<CString>> expected = {
        {L"桩号", L"断链号", L"中桩偏移值"}, {L"15", L"", L"4.0"},      {L"255", L"", L"0.0"},
        {L"1770", L"", L"-10.0"},            {L"2150", L"", L"0.0"},   {L"2260", L"", L"-10.0"},
        {L"2590", L"", L"0.0"},
    };
    EXPECT_EQ(expected, cells);
    ASSERT_EQ(3u, widths.size());
    EXPECT_GE(widths[0], 65);
    EXPECT_GE(widths[1], 45);
    EXPECT_EQ(grid.Width(), widths[0] + widths[1] + widths[2]);
    EXPECT_GT(inkInGrid, 300);
}

TEST(MoveDataDialog, OffsetsTypedIntoTheGridShiftTheSections)
{
    StartProgram();
    StationSettings stations(3, 1);
    ShiftFolder files;
    ::DeleteFileW(ToolSettingsPath());
    MessageBoxScript boxes; // the closing question answered No
    std::vector<MoveOffsetRow> typed;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            files.Fill(d);
            CheckRadioButton(d->GetSafeHwnd(), IDC_MOVE_FORMAT_ABS, IDC_MOVE_FORMAT_ABS1, IDC_MOVE_FORMAT_ABS1);
            // A bad offset first: named by its row, the dialog stays.
            TypeInCell(GridOf(d), 3, 2, L"x");
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            EXPECT_EQ(std::vector<CString>{L"读取列表中，第3行,偏移距离<x>数据失败!"}, boxes.Texts());
            EXPECT_FALSE(FileExists(files.hdxOut));
            TypeInCell(GridOf(d), 3, 2, L"-8.5");
            TypeInCell(GridOf(d), 6, 0, L"2300");
            typed = static_cast<CDialog_MoveData*>(d)->TableRows();
            DialogImage(d).SaveBmp(L"movedata_typed.bmp");
            Press(d, IDOK);
        });
    CDialog_MoveData dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Unscripted().empty());
    ASSERT_EQ(6u, typed.size());
    EXPECT_EQ(CString(L"-8.5"), typed[2].offset);
    EXPECT_EQ(CString(L"2300"), typed[5].station);

    // The dialog wrote what the work routine writes for that table, and
    // asked once more at the end.
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"是否打开生成的纵横断面文件?"), boxes.Shown()[1].text);
    const std::string hdx = ReadBytes(files.hdxOut), dmx = ReadBytes(files.dmxOut);
    MoveDataJob job;
    job.dmxIn = files.dmxIn;
    job.hdxIn = files.hdxIn;
    job.dmxOut = files.folder / L"check.DMX";
    job.hdxOut = files.folder / L"check.HDX";
    job.format = 1;
    ASSERT_EQ(1, RunMoveData(nullptr, job, typed));
    EXPECT_EQ(ReadBytes(job.hdxOut), hdx);
    EXPECT_EQ(ReadBytes(job.dmxOut), dmx);
    // The new section at 1000 lies on the line from 255 (0) to 1770 (-8.5).
    EXPECT_NE(Fixture("SHIFT_ABS1_HDX"), hdx);

    // The settings of the run.
    tkxIni ini(ToolSettingsPath(), L"EnvMoveData", 1);
    EXPECT_EQ(files.dmxIn, ini.GetString(L"m_SDMXFileName0"));
    EXPECT_EQ(files.hdxOut, ini.GetString(L"m_SHDXFileName1"));
    EXPECT_EQ(1, ini.GetInt(L"m_iDatFormat", -1));
    EXPECT_EQ(0, ini.GetInt(L"m_bIncludeBreakChain", -1));
}

TEST(MoveDataDialog, TheBreakChainBoxOpensTheSegmentColumnAndTheFileFields)
{
    StartProgram();
    DialogScript script;
    script.Then([&](CWnd* d) {
        tkxGridCtrl& g = GridOf(d);
        EXPECT_FALSE(d->GetDlgItem(IDC_MOVE_DL)->IsWindowEnabled());
        EXPECT_FALSE(d->GetDlgItem(IDC_MOVE_PICK_DL)->IsWindowEnabled());
        EXPECT_TRUE(g.IsReadOnly(1, 1));
        EXPECT_FALSE(g.IsReadOnly(1, 0));
        d->CheckDlgButton(IDC_MOVE_INCLUDE_DL, BST_CHECKED);
        d->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MOVE_INCLUDE_DL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(d->GetDlgItem(IDC_MOVE_INCLUDE_DL)->GetSafeHwnd()));
        EXPECT_TRUE(d->GetDlgItem(IDC_MOVE_DL)->IsWindowEnabled());
        EXPECT_TRUE(d->GetDlgItem(IDC_MOVE_VIEW_DL)->IsWindowEnabled());
        EXPECT_FALSE(g.IsReadOnly(1, 1));
        TypeInCell(g, 2, 1, L"2");
        EXPECT_EQ(CString(L"2"), g.GetItemText(2, 1));
        Press(d, IDCANCEL);
    });
    CDialog_MoveData dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}
