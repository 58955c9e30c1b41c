// The list editor: its data file and CSV forms (separators, trailing empty
// cells, guides, failures that keep the old file), the cell editors opened
// by clicks and moved by Tab, Up and Down (also after a click beside the
// cells), the row commands by key and menu with their notices, copying and
// moving rows (the clipboard left alone by moves), the CSV commands with
// their dialogs, dropped files, and a rendering.
#include "controls_test_support.h"
#include "corvane/base/LastError.h"
#include "corvane/project/FileInterface.h"
#include "corvane/ui/EditList.h"
#include "support/MessageBoxScript.h"

#include <shlobj.h>
#include <string>
#include <vector>

using namespace wintest;
using namespace controls_test;
using test_support::FileText;
using test_support::ReadBytes;
using test_support::WriteText;

namespace {

// The parent: records the list's notices.
class ListHost : public CWnd
{
public:
    struct EndEdit {
        int row, column, kind;
        CString newText, oldText;
    };
    std::vector<LPARAM> newCells;      // WM_USER+104
    int clicks = 0;                    // NM_CLICK
    std::vector<EndEdit> endEdits;     // the in-place edit's record
    std::vector<CString> texts;        // the short record
    std::vector<UINT> commands;        // WM_COMMAND ids
    bool expectFullRecord = true;      // which record the next LVN_ENDLABELEDITW carries
    bool readRecords = true;           // false: both records may come, neither is read

    BOOL Make(CWnd* parent)
    {
        if (!CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), L"表",
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 500, 360), parent, 1000))
            return FALSE;
        font.CreatePointFont(90, L"宋体");
        return TRUE;
    }
    CFont font;

protected:
    LRESULT OnNewCell(WPARAM wParam, LPARAM lParam)
    {
        EXPECT_EQ(0u, wParam);
        newCells.push_back(lParam);
        return 0;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        CWnd::OnNotify(wParam, lParam, result); // the list sees its own click first
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == NM_CLICK) ++clicks;
        if (hdr->code == LVN_ENDLABELEDITW && readRecords) {
            if (expectFullRecord) {
                auto* r = reinterpret_cast<sEditListEndEdit*>(hdr);
                endEdits.push_back({r->nRow, r->nColumn, r->nKind, r->strNew, r->strOld});
            } else {
                texts.push_back(reinterpret_cast<sEndEditInfo*>(hdr)->text);
            }
        }
        *result = 0;
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListHost, CWnd)
    ON_MESSAGE(WM_EDITLIST_NEWCELL, OnNewCell)
END_MESSAGE_MAP()

class EditListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Make(ShownFrame()));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDRAWFIXED |
                                    LVS_SHOWSELALWAYS,
                                CRect(10, 10, 470, 330), &host, 1001));
        list.SetFont(&host.font);
        list.InsertColumn(0, L"序号", LVCFMT_LEFT, 50);
        list.InsertColumn(1, L"桩号", LVCFMT_LEFT, 120);
        list.InsertColumn(2, L"高程", LVCFMT_LEFT, 100);
        list.InsertColumn(3, L"类型", LVCFMT_LEFT, 100);
        list.SetColumnType(tkxEditList::eEdit, 1);
        list.SetColumnType(tkxEditList::eEdit, 2);
        list.SetColumnType(tkxEditList::eCombo, 3);
        for (const wchar_t* entry : {L"桥梁", L"涵洞", L"通道"}) list.m_saComboList.Add(entry);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        host.DestroyWindow();
        PumpUntilIdle();
    }
    void Fill(int rows)
    {
        for (int i = 0; i < rows; ++i) {
            const int row = list.InsertItem(list.GetItemCount(), L"");
            CString station;
            station.Format(L"K0+%03d", i * 100);
            list.SetItemText(row, 1, station);
            CString height;
            height.Format(L"%d.5", 100 + i);
            list.SetItemText(row, 2, height);
            list.SetItemText(row, 3, L"涵洞");
        }
        list.UpdateIndex(1);
    }
    std::vector<CString> Row(int row)
    {
        std::vector<CString> cells;
        for (int c = 0; c < list.GetColumnCount(); ++c) cells.push_back(list.GetItemText(row, c));
        return cells;
    }
    std::vector<CString> Column(int column)
    {
        std::vector<CString> cells;
        for (int r = 0; r < list.GetItemCount(); ++r) cells.push_back(list.GetItemText(r, column));
        return cells;
    }
    CPoint CellCentre(int row, int column)
    {
        CRect rect;
        list.GetSubItemRect(row, column, LVIR_BOUNDS, rect);
        if (column == 0) rect.right = rect.left + list.GetColumnWidth(0);
        return rect.CenterPoint();
    }
    void ClickCell(CPoint at)
    {
        list.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(at));
        list.PostMessage(WM_LBUTTONUP, 0, PointParam(at));
        PumpUntilIdle();
    }
    CWnd* Editor(UINT id) { return list.GetDlgItem(static_cast<int>(id)); }
    bool EditorShown(UINT id)
    {
        CWnd* editor = Editor(id);
        return editor && editor->IsWindowVisible();
    }
    CString Path(const wchar_t* name) { return test_support::ScratchRoot() + L"\\" + name; }

    ListHost host;
    tkxEditList list;
};

std::string ClipboardText()
{
    std::string text;
    if (!::OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

} // namespace

// ---------------------------------------------------------------------------
// Files

TEST_F(EditListTest, DataFileRoundTripWithEitherSeparator)
{
    struct Case {
        const wchar_t* name;
        const char* separator;
    } cases[] = {{L"table.txt", "\t"}, {L"table.CSV", ","}, {L"table.csv", ","}, {L"table.dmx", "\t"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(test_support::Utf8(c.name));
        list.DeleteAllItems();
        const int row = list.InsertItem(0, L"1");
        list.SetItemText(row, 1, L"K0+100");
        list.SetItemText(row, 2, L"桥头");
        const int second = list.InsertItem(1, L"只有首格"); // trailing empty cells vanish
        (void)second;
        ASSERT_EQ(1, list.WriteFile(Path(c.name), L"桩号 高程"));
        const std::string sep = c.separator;
        EXPECT_EQ(FileText(L"//桩号 高程\n") + "1" + sep + "K0+100" + sep + FileText(L"桥头") + "\r\n" +
                      FileText(L"只有首格\n"),
                  ReadBytes(Path(c.name)));
        list.DeleteAllItems();
        ASSERT_EQ(1, list.ReadFile(Path(c.name), L"高程"));
        ASSERT_EQ(2, list.GetItemCount());
        EXPECT_EQ((std::vector<CString>{L"1", L"K0+100", L"桥头", L""}), Row(0));
        EXPECT_EQ((std::vector<CString>{L"只有首格", L"", L"", L""}), Row(1));
    }

    // More fields than columns: the first four; rows are appended to those
    // present; blanks, tabs and commas all split.
    WriteText(Path(L"wide.txt"), L"a b,c\td e f\n\n// note\n1,2\n");
    ASSERT_EQ(1, list.ReadFile(Path(L"wide.txt")));
    ASSERT_EQ(4, list.GetItemCount());
    EXPECT_EQ((std::vector<CString>{L"a", L"b", L"c", L"d"}), Row(2));
    EXPECT_EQ((std::vector<CString>{L"1", L"2", L"", L""}), Row(3));
}

TEST_F(EditListTest, FileFailuresAreReportedAndKeepWhatWasThere)
{
    Fill(2);
    EXPECT_EQ(0, list.ReadFile(Path(L"no such file.txt")));
    EXPECT_EQ(CString(L"打开文件失败![") + Path(L"no such file.txt") + L"]", tkx_GetLastError());

    WriteText(Path(L"guided.txt"), L"//其他文件\n1 2 3\n");
    EXPECT_EQ(0, list.ReadFile(Path(L"guided.txt"), L"桩号"));
    EXPECT_EQ(CString(L"[") + Path(L"guided.txt") + L"]文件的首行引导文字与[桩号]不符!", tkx_GetLastError());
    EXPECT_EQ(2, list.GetItemCount());

    // A line without a field: the line itself is named, the rows before stay.
    WriteText(Path(L"bad.txt"), L"1 K0+000\n2 K0+100\n\n,,,\n4 K0+300\n");
    EXPECT_EQ(0, list.ReadFile(Path(L"bad.txt")));
    EXPECT_EQ(CString(L"读取文件第4行失败![") + Path(L"bad.txt") + L"]", tkx_GetLastError());
    EXPECT_EQ(4, list.GetItemCount());

    // A file that cannot be replaced (another program holds it) keeps its
    // old text.
    WriteText(Path(L"locked.txt"), L"旧的内容\n");
    HANDLE held = ::CreateFileW(Path(L"locked.txt"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, list.WriteFile(Path(L"locked.txt")));
    EXPECT_EQ(CString(L"创建文件失败![") + Path(L"locked.txt") + L"]", tkx_GetLastError());
    ::CloseHandle(held);
    EXPECT_EQ(FileText(L"旧的内容\n"), ReadBytes(Path(L"locked.txt")));
    EXPECT_EQ(0, list.ExportCSV(Path(L"no folder\\table.csv")));
    EXPECT_EQ(CString(L"创建CSV文件失败!\n\n") + Path(L"no folder\\table.csv"), tkx_GetLastError());
    EXPECT_EQ(0, list.ImportCSV(Path(L"no such.csv")));
    EXPECT_EQ(CString(L"打开CSV文件失败!\n\n") + Path(L"no such.csv"), tkx_GetLastError());
    EXPECT_EQ(4, list.GetItemCount());
}

TEST_F(EditListTest, CsvFormCarriesCommasAndEmptyCells)
{
    const int row = list.InsertItem(0, L"1");
    list.SetItemText(row, 1, L"K0+100,左");
    list.SetItemText(row, 3, L"桥梁");
    list.InsertItem(1, L"2");
    ASSERT_EQ(1, list.ExportCSV(Path(L"out.csv")));
    EXPECT_EQ(FileText(L"//序号,桩号,高程,类型\n1,K0+100，左, ,桥梁\n2, , , "), ReadBytes(Path(L"out.csv")));

    list.DeleteAllItems();
    list.InsertItem(0, L"gone");
    WriteText(Path(L"in.csv"), L"//序号,桩号,高程,类型\n1,K0+100，左, ,桥梁\n2,,K0+200\n3,a,b,c,d,e\n");
    ASSERT_EQ(1, list.ImportCSV(Path(L"in.csv")));
    ASSERT_EQ(3, list.GetItemCount());
    EXPECT_EQ((std::vector<CString>{L"1", L"K0+100,左", L"", L"桥梁"}), Row(0));
    EXPECT_EQ((std::vector<CString>{L"2", L"K0+200", L"", L""}), Row(1)); // two commas lose the field between
    EXPECT_EQ((std::vector<CString>{L"3", L"a", L"b", L"c"}), Row(2));
}

// ---------------------------------------------------------------------------
// Editors and keys

TEST_F(EditListTest, ClickOpensTheCellEditorAndTabUpDownMoveIt)
{
    Fill(3);
    ClickCell(CellCentre(1, 1));
    EXPECT_EQ(std::vector<LPARAM>{1}, host.newCells);
    EXPECT_EQ(1, host.clicks);
    ASSERT_TRUE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    CWnd* edit = Editor(tkxEditList::IDC_EDITLIST_EDIT);
    EXPECT_EQ(CString(L"K0+100"), edit->GetWindowText());
    EXPECT_EQ(edit->m_hWnd, ::GetFocus());

    // Tab ends the edit (the full record to the owner) and opens the cell
    // below; no new-cell notice for Tab, Up or Down.
    edit->SetWindowText(L"K0+150");
    PressKey(edit, VK_TAB);
    ASSERT_EQ(1u, host.endEdits.size());
    EXPECT_EQ(1, host.endEdits[0].row);
    EXPECT_EQ(1, host.endEdits[0].column);
    EXPECT_EQ(5, host.endEdits[0].kind);
    EXPECT_EQ(CString(L"K0+150"), host.endEdits[0].newText);
    EXPECT_EQ(CString(L"K0+100"), host.endEdits[0].oldText);
    EXPECT_EQ(CString(L"K0+150"), list.GetItemText(1, 1));
    EXPECT_EQ(2, list.GetCurRow());
    EXPECT_EQ(CString(L"K0+200"), edit->GetWindowText());
    PressKey(edit, VK_DOWN); // from the last row to the first
    EXPECT_EQ(0, list.GetCurRow());
    EXPECT_TRUE(list.GetItemState(0, LVIS_SELECTED));
    EXPECT_FALSE(list.GetItemState(2, LVIS_SELECTED));
    PressKey(edit, VK_UP); // from the first row to the last
    EXPECT_EQ(2, list.GetCurRow());
    EXPECT_EQ(std::vector<LPARAM>{1}, host.newCells);

    // The edit losing the focus with a changed text: the short record.
    host.endEdits.clear();
    edit->SetWindowText(L"K0+250");
    host.expectFullRecord = false;
    ::SendMessageW(edit->m_hWnd, WM_COMMAND, 0, 0); // nothing
    list.SendMessage(WM_COMMAND, MAKEWPARAM(tkxEditList::IDC_EDITLIST_EDIT, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(edit->m_hWnd));
    EXPECT_EQ(std::vector<CString>{L"K0+250"}, host.texts);
    EXPECT_EQ(CString(L"K0+250"), list.GetItemText(2, 1));
    list.SendMessage(WM_COMMAND, MAKEWPARAM(tkxEditList::IDC_EDITLIST_EDIT, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(edit->m_hWnd));
    EXPECT_EQ(1u, host.texts.size()); // unchanged: not told

    // A drop-down cell: the entries, the cell's text selected; choosing one
    // writes it and tells the parent.
    host.expectFullRecord = true;
    ClickCell(CellCentre(0, 3));
    ASSERT_TRUE(EditorShown(tkxEditList::IDC_EDITLIST_COMBO));
    EXPECT_FALSE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    auto* combo = static_cast<CComboBox*>(Editor(tkxEditList::IDC_EDITLIST_COMBO));
    EXPECT_EQ(3, combo->GetCount());
    EXPECT_EQ(1, combo->GetCurSel());
    combo->SetCurSel(2);
    host.expectFullRecord = false;
    list.SendMessage(WM_COMMAND, MAKEWPARAM(tkxEditList::IDC_EDITLIST_COMBO, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo->m_hWnd));
    EXPECT_EQ(CString(L"通道"), list.GetItemText(0, 3));
    EXPECT_EQ(CString(L"通道"), host.texts.back());
}

// Up and Down typed into a drop-down move to the row above or below; they
// choose no entry there.
TEST_F(EditListTest, UpAndDownInADropDownChangeNoCell)
{
    Fill(3);
    ClickCell(CellCentre(0, 3));
    ASSERT_TRUE(EditorShown(tkxEditList::IDC_EDITLIST_COMBO));
    CWnd* combo = Editor(tkxEditList::IDC_EDITLIST_COMBO);
    host.expectFullRecord = false;
    for (UINT key : {static_cast<UINT>(VK_DOWN), static_cast<UINT>(VK_DOWN), static_cast<UINT>(VK_UP)})
        PressKey(combo, key);
    EXPECT_EQ(1, list.GetCurRow());
    EXPECT_EQ((std::vector<CString>{L"涵洞", L"涵洞", L"涵洞"}), Column(3));
    EXPECT_TRUE(host.texts.empty());
}

TEST_F(EditListTest, AClickBesideTheCellsLeavesNothingToEdit)
{
    Fill(3);
    ClickCell(CellCentre(1, 1));
    ASSERT_TRUE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    // Below the last row: the edit ends (it lost the focus), the current cell
    // is reset and no editor opens.
    ClickCell(CPoint(60, 280));
    EXPECT_EQ(1u, host.endEdits.size());
    host.endEdits.clear();
    EXPECT_EQ(-1, list.GetCurRow());
    EXPECT_EQ(-1, list.GetCurColumn());
    const std::vector<std::vector<CString>> before = {Row(0), Row(1), Row(2)};
    for (UINT key : {static_cast<UINT>(VK_TAB), static_cast<UINT>(VK_DOWN), static_cast<UINT>(VK_UP)}) {
        PressKey(&list, key);
        EXPECT_FALSE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
        EXPECT_FALSE(EditorShown(tkxEditList::IDC_EDITLIST_COMBO));
    }
    EXPECT_EQ(before, (std::vector<std::vector<CString>>{Row(0), Row(1), Row(2)}));
    EXPECT_TRUE(host.endEdits.empty());

    // A cell of a column without an editor: the notices, no editor.
    host.newCells.clear();
    ClickCell(CellCentre(2, 0));
    EXPECT_EQ(std::vector<LPARAM>{2}, host.newCells);
    EXPECT_FALSE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    EXPECT_EQ(2, list.GetCurRow());
}

TEST_F(EditListTest, CtrlKeysMoveAndInsertRows)
{
    Fill(4);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetFocus();
    KeyState ctrl(true, false);
    PressKey(&list, VK_UP); // the first row cannot go up
    EXPECT_EQ(CString(L"K0+000"), list.GetItemText(0, 1));
    PressKey(&list, VK_DOWN);
    EXPECT_EQ((std::vector<CString>{L"K0+100", L"K0+000", L"K0+200", L"K0+300"}), Column(1));
    EXPECT_EQ((std::vector<CString>{L"1", L"2", L"3", L"4"}), Column(0)); // renumbered
    EXPECT_TRUE(host.commands.empty()); // Ctrl+Up and Ctrl+Down tell nothing

    // Ctrl+End: to the bottom; Ctrl+Home: to the top; Ctrl+Enter inserts.
    PressKey(&list, VK_END);
    EXPECT_EQ((std::vector<CString>{L"K0+100", L"K0+200", L"K0+300", L"K0+000"}), Column(1));
    EXPECT_EQ(3, list.GetFirstSelectItem());
    PressKey(&list, VK_HOME);
    EXPECT_EQ((std::vector<CString>{L"K0+000", L"K0+100", L"K0+200", L"K0+300"}), Column(1));
    EXPECT_EQ((std::vector<CString>{L"1", L"2", L"3", L"4"}), Column(0));
    PressKey(&list, VK_RETURN);
    EXPECT_EQ((std::vector<CString>{L"", L"K0+000", L"K0+100", L"K0+200", L"K0+300"}), Column(1));
    EXPECT_EQ((std::vector<UINT>{tkxEditList::ID_ROW_DOWN, tkxEditList::ID_ROW_UP, tkxEditList::ID_ROW_INSERT}),
              host.commands);
}

// A row command given while a cell is being edited: what was typed goes to
// that cell first and moves with its row.
TEST_F(EditListTest, CtrlKeysWhileEditingKeepTheTypedText)
{
    Fill(3);
    ClickCell(CellCentre(1, 1));
    ASSERT_TRUE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    CWnd* edit = Editor(tkxEditList::IDC_EDITLIST_EDIT);
    // The edit ends as when it loses the focus: both records may come.
    host.readRecords = false;
    edit->SetWindowText(L"K0+150");
    {
        KeyState ctrl(true, false);
        PressKey(edit, VK_DOWN);
    }
    EXPECT_FALSE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    EXPECT_EQ((std::vector<CString>{L"K0+000", L"K0+200", L"K0+150"}), Column(1));

    // Tab moved the edit below the selected row: Ctrl+Enter inserts before
    // the selected row, and the typed text stays in the cell it was typed in.
    ClickCell(CellCentre(0, 2));
    PressKey(Editor(tkxEditList::IDC_EDITLIST_EDIT), VK_TAB);
    ASSERT_EQ(1, list.GetCurRow());
    Editor(tkxEditList::IDC_EDITLIST_EDIT)->SetWindowText(L"99.9");
    {
        KeyState ctrl(true, false);
        PressKey(Editor(tkxEditList::IDC_EDITLIST_EDIT), VK_RETURN);
    }
    EXPECT_EQ((std::vector<CString>{L"", L"100.5", L"99.9", L"101.5"}), Column(2));
}

TEST_F(EditListTest, MovingARowLeavesTheClipboardAndTheCopiedRowAlone)
{
    Fill(4);
    ClickCell(CellCentre(1, 0));
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_COPY, 0); // copies row 2
    EXPECT_EQ(test_support::FileText(L"2\tK0+100\t101.5\t涵洞"), ClipboardText());
    tkx_CopyToClipboard(L"别的内容");
    ClickCell(CellCentre(3, 0));
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_TOP, 0);
    EXPECT_EQ((std::vector<CString>{L"K0+300", L"K0+000", L"K0+100", L"K0+200"}), Column(1));
    EXPECT_EQ(0, list.GetCurRow());
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_BOTTOM, 0);
    EXPECT_EQ((std::vector<CString>{L"K0+000", L"K0+100", L"K0+200", L"K0+300"}), Column(1));
    EXPECT_EQ(test_support::FileText(L"别的内容"), ClipboardText());
    ASSERT_EQ(4, list.GetCopiedRow().GetSize());
    EXPECT_EQ(CString(L"K0+100"), list.GetCopiedRow()[1]);

    // Paste puts the copied row before the current one.
    ClickCell(CellCentre(0, 0));
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_PASTE, 0);
    EXPECT_EQ((std::vector<CString>{L"K0+100", L"K0+000", L"K0+100", L"K0+200", L"K0+300"}), Column(1));
    EXPECT_EQ((std::vector<CString>{L"1", L"2", L"3", L"4", L"5"}), Column(0));
    EXPECT_EQ((std::vector<UINT>{tkxEditList::ID_ROW_COPY, tkxEditList::ID_ROW_UP, tkxEditList::ID_ROW_DOWN,
                                 tkxEditList::ID_ROW_PASTE}),
              host.commands);
}

TEST_F(EditListTest, MenuFollowsTheStateAndAsksBeforeDeleting)
{
    auto menu = [&] {
        return WatchMenu([&] { list.SendMessage(WM_CONTEXTMENU, (WPARAM)list.m_hWnd, MAKELPARAM(200, 200)); });
    };
    ShownMenu shown = menu();
    ASSERT_EQ(1, shown.count);
    EXPECT_EQ((std::vector<CString>{L"追加行", L"插入行", L"删除行", L"删除全部行", L"-", L"复制行", L"粘贴行", L"-",
                                    L"置顶 Ctrl+Home", L"上移行 Ctrl+↑", L"下移行 Ctrl+↓", L"置底 Ctrl+End", L"-",
                                    L"导出CSV表格", L"导入CSV表格"}),
              shown.items);
    // (separators count as grayed; with no rows the current row -1 is the
    // last one)
    EXPECT_EQ((std::vector<bool>{false, true, true, true, true, true, true, true, true, true, true, true, true,
                                 false, false}),
              shown.grayed);

    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_APPEND, 0);
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_APPEND, 0);
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_APPEND, 0);
    EXPECT_EQ((std::vector<CString>{L"1", L"2", L"3"}), Column(0));
    ClickCell(CellCentre(2, 0));
    shown = menu();
    EXPECT_EQ((std::vector<bool>{false, false, false, false, true, false, true, true, false, false, true, true,
                                 true, false, false}),
              shown.grayed);

    MessageBoxScript boxes;
    boxes.Answer(IDNO);
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_DELETE, 0);
    EXPECT_EQ(3, list.GetItemCount());
    boxes.Answer(IDYES);
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_DELETE, 0);
    EXPECT_EQ(2, list.GetItemCount());
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"是否删除选中行?"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"TAVIX"), boxes.Shown()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
    boxes.Answer(IDYES);
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_DELETEALL, 0);
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(CString(L"是否删除全部数据行?"), boxes.LastText());
    EXPECT_EQ((std::vector<UINT>{tkxEditList::ID_ROW_APPEND, tkxEditList::ID_ROW_APPEND, tkxEditList::ID_ROW_APPEND,
                                 tkxEditList::ID_ROW_DELETE, tkxEditList::ID_ROW_DELETEALL}),
              host.commands);

    list.SetEnableMenu(0);
    EXPECT_EQ(0, menu().count);
}

// Every selected row goes, adjacent ones and the last one included.
TEST_F(EditListTest, DeletingRemovesEverySelectedRow)
{
    for (int i = 0; i < 6; ++i) list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_APPEND, 0);
    ASSERT_EQ((std::vector<CString>{L"1", L"2", L"3", L"4", L"5", L"6"}), Column(0));
    for (int row = 0; row < 6; ++row) list.SetItemText(row, 1, ClFormat(L"K0+%03d", row * 20));
    for (int row : {1, 2, 3, 5}) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(4u, list.GetSelectedCount());
    MessageBoxScript boxes;
    boxes.Answer(IDYES);
    list.SendMessage(WM_COMMAND, tkxEditList::ID_ROW_DELETE, 0);
    EXPECT_EQ(2, list.GetItemCount());
    EXPECT_EQ(0u, list.GetSelectedCount());
    // The first and the fifth row stay, numbered afresh.
    EXPECT_EQ((std::vector<CString>{L"K0+000", L"K0+080"}), Column(1));
    EXPECT_EQ((std::vector<CString>{L"1", L"2"}), Column(0));
}

TEST_F(EditListTest, CsvCommandsGoThroughTheFileDialogs)
{
    Fill(2);
    const CString path = Path(L"导出.csv");
    ::DeleteFileW(path);
    {
        DialogScript script;
        script.Then([&](CWnd* dialog) {
            EXPECT_EQ(CString(L"导出CSV表格"), dialog->GetWindowText());
            SetText(dialog, 1148, path); // the file name box
            Press(dialog, IDOK);
        });
        MessageBoxScript boxes;
        boxes.Answer(IDNO); // do not open it
        list.SendMessage(WM_COMMAND, tkxEditList::ID_CSV_EXPORT, 0);
        PumpUntilIdle();
        EXPECT_EQ(1, script.DialogsSeen());
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(CString(L"文件导出完毕!\n\n是否打开查看?"), boxes.Shown()[0].text);
        EXPECT_EQ(CString(L"导出CSV文件"), boxes.Shown()[0].caption);
    }
    EXPECT_EQ(FileText(L"//序号,桩号,高程,类型\n1,K0+000,100.5,涵洞\n2,K0+100,101.5,涵洞"), ReadBytes(path));

    // Import: asked first while rows are there; then the open dialog.
    list.DeleteAllItems();
    list.InsertItem(0, L"x");
    {
        MessageBoxScript boxes;
        boxes.Answer(IDNO);
        list.SendMessage(WM_COMMAND, tkxEditList::ID_CSV_IMPORT, 0);
        EXPECT_EQ(CString(L"是否清空现有数据行, 导入外部文件?"), boxes.LastText());
        EXPECT_EQ(1, list.GetItemCount());
    }
    {
        DialogScript script;
        script.Then([&](CWnd* dialog) {
            EXPECT_EQ(CString(L"导入CSV表格"), dialog->GetWindowText());
            SetText(dialog, 1148, path);
            Press(dialog, IDOK);
        });
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        list.SendMessage(WM_COMMAND, tkxEditList::ID_CSV_IMPORT, 0);
        PumpUntilIdle();
        ASSERT_EQ(2u, boxes.Shown().size());
        EXPECT_EQ(CString(L"导入CSV文件完毕!\n\n") + path, boxes.Shown()[1].text);
        EXPECT_EQ(CString(L"导入CSV文件"), boxes.Shown()[1].caption);
    }
    EXPECT_EQ((std::vector<CString>{L"K0+000", L"K0+100"}), Column(1));
}

TEST_F(EditListTest, DroppedFilesOfTheGivenKindsReplaceTheRows)
{
    Fill(1);
    list.AddDropFileExt(L"dmx");
    list.AddDropFileExt(L"");
    WriteText(Path(L"ground.dmx"), L"1 K1+000 88.1\n2 K1+020 88.4\n");
    WriteText(Path(L"other.txt"), L"9 9 9\n");
    auto drop = [&](std::vector<CString> files) {
        std::wstring names;
        for (const CString& f : files) names += f.str() + L'\0';
        names += L'\0';
        HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
        ::GlobalUnlock(block);
        list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    };
    drop({Path(L"other.txt")});
    EXPECT_EQ(std::vector<CString>{L"K0+000"}, Column(1));
    drop({Path(L"other.txt"), Path(L"ground.dmx")});
    EXPECT_EQ((std::vector<CString>{L"K1+000", L"K1+020"}), Column(1));
    EXPECT_TRUE(list.GetExStyle() & WS_EX_ACCEPTFILES);

    // A file another program holds locked: the rows stay, and the user is
    // told why nothing was read.
    WriteText(Path(L"locked.dmx"), L"7 K7+000 70.0\n");
    HANDLE lock = ::CreateFileW(Path(L"locked.dmx"), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    MessageBoxScript boxes;
    drop({Path(L"locked.dmx")});
    ::CloseHandle(lock);
    EXPECT_EQ((std::vector<CString>{L"K1+000", L"K1+020"}), Column(1));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"打开文件失败![") + Path(L"locked.dmx") + L"]", boxes.Shown()[0].text);
}

TEST_F(EditListTest, ColumnsCarryTheirEditorTypes)
{
    EXPECT_EQ(4, list.GetColumnCount());
    EXPECT_EQ(CString(L"桩号"), list.GetColumnText(1));
    EXPECT_EQ(CString(L""), list.GetColumnText(9));
    EXPECT_TRUE(list.SetColumnText(1, L"里程"));
    EXPECT_EQ(CString(L"里程"), list.GetColumnText(1));
    bool threw = false;
    try {
        list.SetColumnType(tkxEditList::eEdit, 4);
    } catch (CInvalidArgException* e) {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
    // Deleting a column takes its type with it: column 1's editor is now
    // the edit of the old column 2.
    Fill(1);
    EXPECT_TRUE(list.DeleteColumn(1));
    ClickCell(CellCentre(0, 1));
    ASSERT_TRUE(EditorShown(tkxEditList::IDC_EDITLIST_EDIT));
    EXPECT_EQ(CString(L"100.5"), Editor(tkxEditList::IDC_EDITLIST_EDIT)->GetWindowText());
    EXPECT_EQ(1, list.DeleteAllColumn());
    EXPECT_EQ(0, list.GetColumnCount());
    list.InsertColumn(0, L"Index", LVCFMT_LEFT, 60);
    list.UpdateIndex(0);
    EXPECT_EQ(CString(L"1"), list.GetItemText(0, 0));
}

TEST_F(EditListTest, Rendering)
{
    Fill(6);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    ClickCell(CellCentre(2, 1));
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    list.CListCtrl::Invalidate();
    PumpUntilIdle();
    Image image = CaptureWindow(&host, true);
    image.SaveBmp(L"editlist.bmp");
    // Highlighted cells of the selected row, the current cell not.
    const CPoint offset(10, 10); // the list in its host
    const CPoint selected = CellCentre(2, 3) + offset + CPoint(30, 0);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), image.At(selected.x, selected.y - 5));
    const CPoint current = CellCentre(2, 1) + offset + CPoint(40, 0);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), image.At(current.x, current.y - 5));
}
