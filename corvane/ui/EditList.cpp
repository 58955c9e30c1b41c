#include "corvane/ui/EditList.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/platform/FileName.h"
#include "corvane/base/LastError.h"
#include "corvane/project/FileInterface.h"
#include "corvane/base/TextLines.h"
#include "corvane/road/RoadFiles.h"

#include <algorithm>

namespace {

const wchar_t kCsvFilter[] = L"CSV表格(*.CSV)|*.CSV||";

void SetError(const wchar_t* format, const wchar_t* a, const wchar_t* b = nullptr)
{
    CString text;
    text.Format(format, a, b);
    tkx_SetLastError(text);
}

// Opens a text file for reading; false with the message (format with the
// path) as the last-error text when it cannot be opened.
bool OpenForReading(CStdioFile& in, const CString& file, const wchar_t* failure)
{
    if (!file.IsEmpty() && in.Open(file, CFile::modeRead | CFile::typeText | CFile::shareDenyWrite)) return true;
    SetError(failure, file);
    return false;
}

// Writes a whole text file (its old contents stay until the new ones are
// complete); false with the message (format with the path) as the
// last-error text when it cannot be written.
bool WriteWhole(const CString& file, const CString& text, const wchar_t* failure)
{
    if (!file.IsEmpty() && road_files::WriteTextFile(file, text)) return true;
    SetError(failure, file);
    tkx_SetLastError(tkx_SaveFailureText(file, tkx_GetLastError()));
    return false;
}

} // namespace

IMPLEMENT_DYNAMIC(tkxEditList, CListCtrl)

BEGIN_MESSAGE_MAP(tkxEditList, CListCtrl)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, OnClick)
    ON_WM_MEASUREITEM_REFLECT()
    ON_EN_KILLFOCUS(tkxEditList::IDC_EDITLIST_EDIT, OnEditKillFocus)
    ON_CBN_SELCHANGE(tkxEditList::IDC_EDITLIST_COMBO, OnComboSelChange)
    ON_WM_NCCALCSIZE()
    ON_WM_CTLCOLOR()
    ON_WM_CONTEXTMENU()
    ON_WM_DROPFILES()
    ON_WM_DESTROY()
    ON_COMMAND(tkxEditList::ID_ROW_APPEND, OnAppendRow)
    ON_COMMAND(tkxEditList::ID_ROW_INSERT, OnInsertRow)
    ON_COMMAND(tkxEditList::ID_ROW_DELETE, OnDeleteRows)
    ON_COMMAND(tkxEditList::ID_ROW_DELETEALL, OnDeleteAllRows)
    ON_COMMAND(tkxEditList::ID_ROW_COPY, OnCopyRow)
    ON_COMMAND(tkxEditList::ID_ROW_PASTE, OnPasteRow)
    ON_COMMAND(tkxEditList::ID_ROW_TOP, OnMoveTop)
    ON_COMMAND(tkxEditList::ID_ROW_UP, OnMoveUp)
    ON_COMMAND(tkxEditList::ID_ROW_DOWN, OnMoveDown)
    ON_COMMAND(tkxEditList::ID_ROW_BOTTOM, OnMoveBottom)
    ON_COMMAND(tkxEditList::ID_CSV_EXPORT, OnExportCSV)
    ON_COMMAND(tkxEditList::ID_CSV_IMPORT, OnImportCSV)
END_MESSAGE_MAP()

tkxEditList::tkxEditList() = default;
tkxEditList::~tkxEditList() = default;

// ---------------------------------------------------------------------------
// Columns

int tkxEditList::InsertColumn(int index, const wchar_t* heading, int format, int width, int subItem)
{
    m_naColumnTypes.Add(eNone);
    return CListCtrl::InsertColumn(index, heading, format, width, subItem);
}

int tkxEditList::InsertColumn(int index, const LVCOLUMNW* column)
{
    m_naColumnTypes.Add(eNone);
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column)));
}

void tkxEditList::SetColumnType(eType type, int column) { m_naColumnTypes.SetAt(column, type); }

BOOL tkxEditList::DeleteColumn(int column)
{
    const BOOL deleted = CListCtrl::DeleteColumn(column);
    if (deleted && column >= 0 && column < m_naColumnTypes.GetSize()) m_naColumnTypes.RemoveAt(column);
    return deleted;
}

int tkxEditList::DeleteAllColumn()
{
    while (GetColumnCount() > 0)
        if (!DeleteColumn(0)) break;
    return 1;
}

int tkxEditList::GetColumnCount() const
{
    CHeaderCtrl* header = GetHeaderCtrl();
    return header ? header->GetItemCount() : 0;
}

CString tkxEditList::GetColumnText(int column) const
{
    CHeaderCtrl* header = GetHeaderCtrl();
    wchar_t text[257] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    if (!header || !header->GetItem(column, &item)) return CString();
    return CString(text);
}

BOOL tkxEditList::SetColumnText(int column, const wchar_t* text)
{
    CHeaderCtrl* header = GetHeaderCtrl();
    if (!header) return FALSE;
    wchar_t buffer[257] = {};
    wcsncpy(buffer, text ? text : L"", 256);
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = buffer;
    return header->SetItem(column, &item);
}

// ---------------------------------------------------------------------------
// Rows

void tkxEditList::HideEditors()
{
    if (m_edit.m_hWnd && m_edit.IsWindowVisible()) {
        // An edit in progress ends as when the box loses the focus, while it
        // is still shown: a box hidden first loses the focus only afterwards,
        // when it no longer hands its text to the cell.
        if (::GetFocus() == m_edit.m_hWnd) SetFocus();
        m_edit.ShowWindow(SW_HIDE);
    }
    if (m_combo.m_hWnd && m_combo.IsWindowVisible()) m_combo.ShowWindow(SW_HIDE);
}

BOOL tkxEditList::DeleteItem(int row)
{
    HideEditors();
    return CListCtrl::DeleteItem(row);
}

BOOL tkxEditList::DeleteAllItems()
{
    HideEditors();
    return CListCtrl::DeleteAllItems();
}

BOOL tkxEditList::EnableWindow(int enable)
{
    HideEditors();
    return CListCtrl::EnableWindow(enable);
}

int tkxEditList::GetFirstSelectItem() const { return GetNextItem(-1, LVNI_SELECTED); }

void tkxEditList::SetItemHeight(UINT height)
{
    m_nItemHeight = height;
    if (!m_hWnd) return;
    // The list measures its rows again when it is told of a new size.
    CRect window;
    GetWindowRect(&window);
    WINDOWPOS pos{};
    pos.hwnd = m_hWnd;
    pos.cx = window.Width();
    pos.cy = window.Height();
    pos.flags = SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOOWNERZORDER;
    SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

void tkxEditList::Invalidate(int erase)
{
    SetItemHeight(m_nItemHeight);
    CListCtrl::Invalidate(erase);
}

void tkxEditList::MeasureItem(LPMEASUREITEMSTRUCT mis) { mis->itemHeight = m_nItemHeight; }

void tkxEditList::UpdateIndex(int redraw)
{
    const CString heading = GetColumnText(0);
    if (heading != L"序号" && heading != L"Index") return;
    for (int row = 0; row < GetItemCount(); ++row) {
        CString number;
        number.Format(L"%d", row + 1);
        SetItemText(row, 0, number);
    }
    if (redraw == 1) Invalidate();
}

int tkxEditList::SwapRow(int a, int b, int redraw)
{
    const int count = GetItemCount();
    if (a < 0 || a >= count || b < 0 || b >= count) return 0;
    for (int column = 0; column < GetColumnCount(); ++column) {
        const CString first = GetItemText(a, column), second = GetItemText(b, column);
        SetItemText(a, column, second);
        SetItemText(b, column, first);
    }
    SetItemState(a, 0, LVIS_SELECTED);
    SetItemState(b, LVIS_SELECTED, LVIS_SELECTED);
    UpdateIndex(redraw);
    return 1;
}

void tkxEditList::AddDropFileExt(const wchar_t* ext)
{
    CString text = ext ? ext : L"";
    if (text.IsEmpty()) return;
    if (text[0] != L'.') text = L"." + text;
    text.MakeUpper();
    m_saDropExts.Add(text);
    if (m_hWnd) DragAcceptFiles(TRUE);
}

void tkxEditList::RowCells(int row, CStringArray& cells) const
{
    cells.RemoveAll();
    for (int column = 0; column < GetColumnCount(); ++column) cells.Add(GetItemText(row, column));
}

void tkxEditList::InsertRow(int position, const CStringArray& cells)
{
    const int row = CListCtrl::InsertItem(position, cells.IsEmpty() ? L"" : static_cast<const wchar_t*>(cells[0]));
    for (INT_PTR column = 1; column < cells.GetSize(); ++column) SetItemText(row, static_cast<int>(column), cells[column]);
}

void tkxEditList::CopyRow(int row)
{
    if (row < 0 || row >= GetItemCount()) return;
    RowCells(row, m_saCopiedRow);
    CString joined;
    for (INT_PTR i = 0; i < m_saCopiedRow.GetSize(); ++i) {
        if (i) joined += L"\t";
        joined += m_saCopiedRow[i];
    }
    tkx_CopyToClipboard(joined);
}

void tkxEditList::PasteRow(int position)
{
    position = std::min(std::max(position, 0), GetItemCount());
    if (!m_saCopiedRow.IsEmpty()) InsertRow(position, m_saCopiedRow);
}

// A row taken out and put back at another place; the clipboard and the
// copied row stay as they are.
void tkxEditList::MoveRowTo(int row, int position)
{
    CStringArray cells;
    RowCells(row, cells);
    CListCtrl::DeleteItem(row);
    position = std::min(std::max(position, 0), GetItemCount());
    InsertRow(position, cells);
    m_nCurRow = position;
    for (int i = GetFirstSelectItem(); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) SetItemState(i, 0, LVIS_SELECTED);
    SetItemState(position, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(position, FALSE);
    UpdateIndex(1);
}

// ---------------------------------------------------------------------------
// Editors

bool tkxEditList::CellInList(int row, int column) const
{
    return row >= 0 && row < GetItemCount() && column >= 0 && column < GetColumnCount();
}

void tkxEditList::OpenEditor(int row, int column)
{
    if (row != m_nCurRow && column != m_nCurCol) {
        if (CWnd* parent = GetParent()) parent->SendMessage(WM_EDITLIST_NEWCELL, 0, row);
    }
    HideEditors(); // still for the cell the editor was opened on
    m_nCurRow = row;
    m_nCurCol = column;
    if (GetColumnCount() != m_naColumnTypes.GetSize() || !CellInList(row, column)) return;
    const int type = m_naColumnTypes[column];
    if (type == eNone) return;

    CRect cell;
    GetItemRect(row, &cell, LVIR_BOUNDS);
    for (int i = 0; i < column; ++i) cell.left += GetColumnWidth(i);
    cell.right = cell.left + GetColumnWidth(column);
    CRect client;
    GetClientRect(&client);
    cell.right = std::min(cell.right, client.right);
    CFont* font = GetFont();

    if (type == eEdit) {
        if (!m_edit.m_hWnd) {
            m_edit.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), this, IDC_EDITLIST_EDIT);
            m_edit.SetFont(font);
        }
        m_edit.MoveWindow(cell.left + 4, cell.top + 3, cell.Width() - 4, cell.Height() - 4);
        m_edit.SetWindowText(GetItemText(row, column));
        m_edit.ShowWindow(SW_SHOW);
        m_edit.SetFocus();
        return;
    }
    if (!m_combo.m_hWnd) {
        m_combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(0, 0, 0, 0), this,
                       IDC_EDITLIST_COMBO);
        m_combo.SetFont(font);
        const UINT height = m_nItemHeight > 5 ? m_nItemHeight - 5 : 1;
        m_combo.SetItemHeight(-1, height);
        m_combo.SetItemHeight(0, height);
        for (const CString& entry : m_saComboList) m_combo.AddString(entry);
    }
    m_combo.MoveWindow(cell.left, cell.top - 1, cell.Width(), 72);
    int dropped = cell.Width();
    if (m_combo.GetCount() * m_combo.GetItemHeight(0) > 72)
        dropped = std::max(dropped, 2 * ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXVSCROLL));
    m_combo.SetDroppedWidth(static_cast<UINT>(dropped));
    m_combo.SetCurSel(0);
    const CString text = GetItemText(row, column);
    for (int i = 0; i < m_combo.GetCount(); ++i) {
        CString entry;
        m_combo.GetLBText(i, entry);
        if (entry == text) m_combo.SetCurSel(i);
    }
    m_combo.ShowWindow(SW_SHOW);
    m_combo.SetFocus();
}

BOOL tkxEditList::OnClick(NMHDR* hdr, LRESULT*)
{
    if (::GetFocus() != m_hWnd) SetFocus();
    m_nCurRow = m_nCurCol = -1;
    LVHITTESTINFO hit{};
    hit.pt = reinterpret_cast<NMITEMACTIVATE*>(hdr)->ptAction;
    SubItemHitTest(&hit);
    if (hit.iItem < 0 || hit.iSubItem < 0) return TRUE; // nothing hit: not passed on
    OpenEditor(hit.iItem, hit.iSubItem);
    return FALSE; // the parent gets the click as well
}

void tkxEditList::NotifyText(const CString& text)
{
    CWnd* parent = GetParent();
    if (!parent) return;
    sEndEditInfo info{};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDITW;
    info.text = text;
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&info));
}

void tkxEditList::EndInPlaceEdit(const CString& text)
{
    if (!CellInList(m_nCurRow, m_nCurCol)) return;
    sEditListEndEdit record{};
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    record.hdr.code = LVN_ENDLABELEDITW;
    record.nRow = m_nCurRow;
    record.nColumn = m_nCurCol;
    record.nKind = 5;
    record.strOld = GetItemText(m_nCurRow, m_nCurCol);
    record.strNew = text;
    SetItemText(m_nCurRow, m_nCurCol, text);
    m_edit.ShowWindow(SW_HIDE);
    m_edit.SetReadOnly(FALSE);
    CWnd* owner = GetOwner();
    if (owner && ::IsWindow(owner->m_hWnd))
        owner->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&record));
}

BOOL tkxEditList::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr) {
        switch (hdr->code) {
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            HideEditors();
            break;
        case LVN_ENDLABELEDITW:
            // The in-place edit ends (every time it loses the focus, too; a
            // hidden edit has nothing to give).  The drop-down's report is
            // not used.
            if (hdr->idFrom == IDC_EDITLIST_EDIT && m_edit.m_hWnd && m_edit.IsWindowVisible()) {
                EndInPlaceEdit(reinterpret_cast<sEndEditInfo*>(hdr)->text);
                *result = 0;
                return TRUE;
            }
            if (hdr->idFrom == IDC_EDITLIST_EDIT || hdr->idFrom == IDC_EDITLIST_COMBO) {
                *result = 0;
                return TRUE;
            }
            break;
        }
    }
    return CListCtrl::OnNotify(wParam, lParam, result);
}

void tkxEditList::OnEditKillFocus()
{
    if (!CellInList(m_nCurRow, m_nCurCol) || !m_edit.IsWindowVisible()) return;
    const CString text = m_edit.GetWindowText();
    const bool changed = text != GetItemText(m_nCurRow, m_nCurCol);
    SetItemText(m_nCurRow, m_nCurCol, text);
    if (changed) NotifyText(text);
}

void tkxEditList::OnComboSelChange()
{
    const int entry = m_combo.GetCurSel();
    if (entry < 0 || !CellInList(m_nCurRow, m_nCurCol)) return;
    CString text;
    m_combo.GetLBText(entry, text);
    SetItemText(m_nCurRow, m_nCurCol, text);
    NotifyText(text);
}

// ---------------------------------------------------------------------------
// Keys

BOOL tkxEditList::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN) return CListCtrl::PreTranslateMessage(msg);
    const UINT key = static_cast<UINT>(msg->wParam);
    if ((::GetKeyState(VK_CONTROL) & 0x8000) &&
        (key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END || key == VK_RETURN)) {
        HideEditors(); // the cell being edited takes its text first
        m_nCurRow = GetFirstSelectItem();
        switch (key) {
        case VK_UP:
            if (m_nCurRow > 0 && m_nCurRow < GetItemCount()) SwapRow(m_nCurRow, m_nCurRow - 1, 1);
            break;
        case VK_DOWN:
            if (m_nCurRow >= 0 && m_nCurRow < GetItemCount() - 1) SwapRow(m_nCurRow, m_nCurRow + 1, 1);
            break;
        case VK_HOME:
            OnMoveTop();
            break;
        case VK_END:
            OnMoveBottom();
            break;
        default:
            OnInsertRow();
            break;
        }
        return TRUE;
    }
    if (key == VK_TAB || key == VK_UP || key == VK_DOWN) {
        // Nothing is edited from a click beside the cells.
        if (!CellInList(m_nCurRow, m_nCurCol)) return CListCtrl::PreTranslateMessage(msg);
        if (m_edit.m_hWnd && m_edit.IsWindowEnabled()) m_edit.EndEdit();
        const int count = GetItemCount(), row = m_nCurRow, column = m_nCurCol;
        if (key == VK_TAB) {
            if (row < count - 1) OpenEditor(row + 1, column);
        } else {
            const int next = key == VK_UP ? (row <= 0 ? count - 1 : row - 1) : (row >= count - 1 ? 0 : row + 1);
            SetItemState(row, 0, LVIS_SELECTED);
            SetItemState(next, LVIS_SELECTED, LVIS_SELECTED);
            OpenEditor(next, column);
            EnsureVisible(next, FALSE);
            // Passed on, the key would also step the drop-down it was typed
            // into, and the cell now under it would take that entry.
            if (m_combo.m_hWnd && (msg->hwnd == m_combo.m_hWnd || ::IsChild(m_combo.m_hWnd, msg->hwnd))) return TRUE;
        }
    }
    return CListCtrl::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Menu and row commands

int tkxEditList::Ask(const wchar_t* text, const wchar_t* caption)
{
    return ClMessageBox(m_hWnd, text, caption, MB_YESNO | MB_ICONQUESTION);
}

void tkxEditList::TellParent(UINT id)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, id, 0);
}

void tkxEditList::OnContextMenu(CWnd*, CPoint point)
{
    if (!m_bEnableMenu) return;
    const int count = GetItemCount();
    const int row = m_nCurRow;
    auto state = [](bool disabled) { return MF_STRING | (disabled ? MF_GRAYED : 0u); };
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(state(false), ID_ROW_APPEND, L"追加行");
    menu.AppendMenu(state(row < 0), ID_ROW_INSERT, L"插入行");
    menu.AppendMenu(state(GetSelectedCount() == 0), ID_ROW_DELETE, L"删除行");
    menu.AppendMenu(state(count == 0), ID_ROW_DELETEALL, L"删除全部行");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(state(row == -1), ID_ROW_COPY, L"复制行");
    menu.AppendMenu(state(row == -1 || m_saCopiedRow.GetSize() != GetColumnCount()), ID_ROW_PASTE, L"粘贴行");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(state(row <= 0), ID_ROW_TOP, L"置顶 Ctrl+Home");
    menu.AppendMenu(state(row <= 0), ID_ROW_UP, L"上移行 Ctrl+↑");
    menu.AppendMenu(state(row == count - 1), ID_ROW_DOWN, L"下移行 Ctrl+↓");
    menu.AppendMenu(state(row == count - 1), ID_ROW_BOTTOM, L"置底 Ctrl+End");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(state(false), ID_CSV_EXPORT, L"导出CSV表格");
    menu.AppendMenu(state(false), ID_CSV_IMPORT, L"导入CSV表格");
    if (point.x == -1 && point.y == -1) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
    }
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void tkxEditList::OnAppendRow()
{
    HideEditors();
    const int row = CListCtrl::InsertItem(GetItemCount(), L"");
    SendMessage(LVM_SETSELECTIONMARK, 0, row);
    UpdateIndex(1);
    TellParent(ID_ROW_APPEND);
}

void tkxEditList::OnInsertRow()
{
    if (m_nCurRow < 0 || m_nCurRow > GetItemCount()) return;
    HideEditors();
    CListCtrl::InsertItem(m_nCurRow, L"");
    UpdateIndex(1);
    TellParent(ID_ROW_INSERT);
}

void tkxEditList::OnDeleteRows()
{
    if (GetSelectedCount() == 0 || Ask(L"是否删除选中行?", L"TAVIX") != IDYES) return;
    HideEditors();
    for (int row = GetItemCount() - 1; row >= 0; --row)
        if (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) CListCtrl::DeleteItem(row);
    UpdateIndex(1);
    TellParent(ID_ROW_DELETE);
}

void tkxEditList::OnDeleteAllRows()
{
    if (GetItemCount() == 0 || Ask(L"是否删除全部数据行?", L"TAVIX") != IDYES) return;
    DeleteAllItems();
    TellParent(ID_ROW_DELETEALL);
}

void tkxEditList::OnCopyRow()
{
    if (m_nCurRow == -1) return;
    CopyRow(m_nCurRow);
    TellParent(ID_ROW_COPY);
}

void tkxEditList::OnPasteRow()
{
    if (m_nCurRow == -1 || m_saCopiedRow.GetSize() != GetColumnCount()) return;
    HideEditors();
    PasteRow(m_nCurRow);
    UpdateIndex(1);
    TellParent(ID_ROW_PASTE);
}

void tkxEditList::OnMoveTop()
{
    if (m_nCurRow <= 0 || m_nCurRow >= GetItemCount() || GetItemCount() < 2) return;
    HideEditors();
    MoveRowTo(m_nCurRow, 0);
    TellParent(ID_ROW_UP);
}

void tkxEditList::OnMoveUp()
{
    if (m_nCurRow <= 0 || m_nCurRow >= GetItemCount()) return;
    HideEditors();
    SwapRow(m_nCurRow, m_nCurRow - 1, 1);
    --m_nCurRow;
    TellParent(ID_ROW_UP);
}

void tkxEditList::OnMoveDown()
{
    if (m_nCurRow < 0 || m_nCurRow >= GetItemCount() - 1) return;
    HideEditors();
    SwapRow(m_nCurRow, m_nCurRow + 1, 1);
    ++m_nCurRow;
    TellParent(ID_ROW_DOWN);
}

void tkxEditList::OnMoveBottom()
{
    if (m_nCurRow < 0 || m_nCurRow >= GetItemCount() - 1) return;
    HideEditors();
    MoveRowTo(m_nCurRow, GetItemCount() - 1);
    TellParent(ID_ROW_DOWN);
}

void tkxEditList::OnExportCSV()
{
    CString path;
    if (!tkx_FileDialog(0, path, L"csv", this, kCsvFilter, L"导出CSV表格")) return;
    if (!ExportCSV(path)) {
        ClMessageBox(m_hWnd, tkx_GetLastError(), L"导出CSV文件", MB_ICONINFORMATION);
        return;
    }
    if (ClMessageBox(m_hWnd, L"文件导出完毕!\n\n是否打开查看?", L"导出CSV文件", MB_YESNO) == IDYES)
        ::ShellExecuteW(m_hWnd, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

void tkxEditList::OnImportCSV()
{
    if (GetItemCount() > 0 && ClMessageBox(m_hWnd, L"是否清空现有数据行, 导入外部文件?", L"", MB_YESNO) != IDYES)
        return;
    CString path;
    if (!tkx_FileDialog(1, path, L"CSV", this, kCsvFilter, L"导入CSV表格")) return;
    CString text;
    if (ImportCSV(path))
        text.Format(L"导入CSV文件完毕!\n\n%s", static_cast<const wchar_t*>(path));
    else
        text = tkx_GetLastError();
    ClMessageBox(m_hWnd, text, L"导入CSV文件", MB_ICONINFORMATION);
}

// ---------------------------------------------------------------------------
// Files

int tkxEditList::ReadFile(const wchar_t* path, const wchar_t* guide)
{
    const CString file = path ? path : L"";
    CStdioFile in;
    if (!OpenForReading(in, file, L"打开文件失败![%s]")) return 0;
    if (guide) {
        CString first;
        in.ReadString(first);
        if (first.Find(guide) < 0) {
            SetError(L"[%s]文件的首行引导文字与[%s]不符!", file, guide);
            return 0;
        }
        in.SeekToBegin();
    }
    const int columns = GetColumnCount();
    CString line;
    CStringArray fields;
    int lineNo = 0; // counts the physical lines: the message names the line itself
    while (tkx_ReadNextStringST(&in, line, lineNo)) {
        if (tkx_DivideString(line, fields) == -1 || fields.IsEmpty()) {
            CString text;
            text.Format(L"读取文件第%d行失败![%s]", lineNo, static_cast<const wchar_t*>(file));
            tkx_SetLastError(text);
            Invalidate();
            return 0;
        }
        const int row = CListCtrl::InsertItem(GetItemCount(), fields[0]);
        const int n = std::min(static_cast<int>(fields.GetSize()), columns);
        for (int k = 1; k < n; ++k) SetItemText(row, k, fields[k]);
    }
    Invalidate();
    return 1;
}

int tkxEditList::WriteFile(const wchar_t* path, const wchar_t* guide)
{
    const CString file = path ? path : L"";
    CString ext = tkxFileName(file).GetExt();
    ext.MakeUpper();
    const wchar_t* separator = ext == L".CSV" ? L"," : L"\t";
    CString text;
    if (guide) text = CString(L"//") + guide + L"\n";
    const int columns = GetColumnCount();
    for (int row = 0; row < GetItemCount(); ++row) {
        CString line;
        for (int column = 0; column < columns; ++column) line += GetItemText(row, column) + separator;
        line.TrimRight(separator);
        text += line + L"\n";
    }
    return WriteWhole(file, text, L"创建文件失败![%s]") ? 1 : 0;
}

int tkxEditList::ExportCSV(const wchar_t* path)
{
    const CString file = path ? path : L"";
    const int columns = GetColumnCount();
    CString text = L"//";
    for (int column = 0; column < columns; ++column) {
        if (column) text += L",";
        text += GetColumnText(column);
    }
    text += L"\n";
    for (int row = 0; row < GetItemCount(); ++row) {
        if (row) text += L"\n";
        for (int column = 0; column < columns; ++column) {
            if (column) text += L",";
            CString cell = GetItemText(row, column);
            cell.Replace(L",", L"，");
            text += cell.IsEmpty() ? CString(L" ") : cell;
        }
    }
    return WriteWhole(file, text, L"创建CSV文件失败!\n\n%s") ? 1 : 0;
}

int tkxEditList::ImportCSV(const wchar_t* path)
{
    const CString file = path ? path : L"";
    CStdioFile in;
    if (!OpenForReading(in, file, L"打开CSV文件失败!\n\n%s")) return 0;
    DeleteAllItems();
    const int columns = GetColumnCount();
    CString line;
    CStringArray fields;
    int lineNo = 0;
    while (tkx_ReadNextStringST(&in, line, lineNo)) {
        tkx_SplitString(line, L",", fields);
        CStringArray cells;
        for (INT_PTR k = 0; k < fields.GetSize() && k < columns; ++k) {
            CString cell = fields[k];
            cell.Replace(L"，", L",");
            cells.Add(cell);
        }
        InsertRow(GetItemCount(), cells);
    }
    Invalidate();
    return 1;
}

void tkxEditList::OnDropFiles(HDROP drop)
{
    tkxDragDropFiles files(drop);
    CString path;
    while (files()) {
        files.sNextFile(path);
        CString ext = tkxFileName(path).GetExt();
        ext.MakeUpper();
        bool wanted = false;
        for (const CString& allowed : m_saDropExts) wanted = wanted || allowed == ext;
        if (!wanted) continue;
        // The rows go only for a file that can be read; a file that cannot
        // be opened (locked by another program, gone) leaves the table as
        // it was, and either failure is shown.
        CStdioFile probe;
        if (OpenForReading(probe, path, L"打开文件失败![%s]")) {
            probe.Close();
            DeleteAllItems();
            if (ReadFile(path, nullptr)) continue;
        }
        ClMessageBox(m_hWnd, tkx_GetLastError(), L"TAVIX", MB_OK | MB_ICONINFORMATION);
    }
}

// ---------------------------------------------------------------------------
// Window

void tkxEditList::OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params)
{
    ModifyStyle(WS_HSCROLL, 0, 0); // never a horizontal scroll bar
    CListCtrl::OnNcCalcSize(calcValidRects, params);
}

HBRUSH tkxEditList::OnCtlColor(CDC*, CWnd*, UINT) { return nullptr; }

void tkxEditList::OnDestroy()
{
    if (m_edit.m_hWnd) m_edit.DestroyWindow();
    if (m_combo.m_hWnd) m_combo.DestroyWindow();
    CListCtrl::OnDestroy();
}

void tkxEditList::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const int top = GetTopIndex();
    if (top != m_nLastTop) {
        HideEditors();
        m_nLastTop = top;
    }
    CDC* dc = CDC::FromHandle(dis->hDC);
    const int row = static_cast<int>(dis->itemID);
    const bool disabled = (dis->itemState & ODS_DISABLED) || !IsWindowEnabled();
    const bool selected = !disabled && (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED);
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    CRect cell = dis->rcItem;
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    for (int column = 0; column < GetColumnCount(); ++column) {
        cell.right = cell.left + GetColumnWidth(column);
        const bool highlight = selected && column != m_nCurCol;
        dc->FillSolidRect(&cell, highlight ? ::GetSysColor(COLOR_HIGHLIGHT) : window);
        dc->SetTextColor(disabled ? ::GetSysColor(COLOR_GRAYTEXT)
                                  : highlight ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ::GetSysColor(COLOR_WINDOWTEXT));
        CRect text(cell.left + 4, cell.top, cell.right, cell.bottom - 2);
        dc->DrawText(GetItemText(row, column), &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        cell.left = cell.right;
    }
    dc->SetBkMode(oldMode);
    if (row == GetItemCount() - 1) {
        CRect client;
        GetClientRect(&client);
        client.top = dis->rcItem.bottom;
        if (client.top < client.bottom) dc->FillSolidRect(&client, window);
    }
}
