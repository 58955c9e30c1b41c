// The grid's clipboard, drag and drop and right-button menu of rows.
#include "corvane/ui/GridCtrl.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Set by a grid that took a drop and could not place every field (outside
// the grid or read-only), read by the grid the drag came from: a move then
// keeps its source cells.
thread_local bool t_dropIncomplete = false;

// Transfer text read leniently: lines at line feeds; in a line, fields at
// tabs, commas and line feeds, several in a row counting as one; an empty
// line followed by more text is one empty field.
std::vector<std::vector<CString>> ReadTransferText(const CString& text)
{
    std::vector<std::vector<CString>> lines;
    const std::wstring& all = text.str();
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(L'\n', start);
        const bool last = end == std::wstring::npos;
        if (last) end = all.size();
        const std::wstring line = all.substr(start, end - start);
        std::vector<CString> fields;
        size_t pos = 0;
        while (pos < line.size()) {
            const size_t stop = line.find_first_of(L"\t,\n", pos);
            const size_t fieldEnd = stop == std::wstring::npos ? line.size() : stop;
            if (fieldEnd > pos) {
                CString field(line.substr(pos, fieldEnd - pos));
                fields.push_back(field.Trim());
            }
            pos = fieldEnd + 1;
        }
        if (line.empty() && end + 1 < all.size()) fields.emplace_back();
        if (!fields.empty() || !last) lines.push_back(std::move(fields));
        if (last) break;
        start = end + 1;
    }
    return lines;
}

// Puts the text on the clipboard (which then owns the source).  A data
// source this program left there is taken off first: replacing it directly
// fails while its release takes it off the clipboard itself.
bool PutOnClipboard(COleDataSource* source)
{
    ::OleSetClipboard(nullptr);
    if (source->SetClipboard()) return true;
    source->InternalRelease();
    return false;
}

int Ask(CWnd* owner, const wchar_t* text)
{
    return ClMessageBox(owner->GetSafeHwnd(), text, L"TAVIX", MB_YESNO | MB_ICONQUESTION);
}

} // namespace

// ---------------------------------------------------------------------------
// Copy, cut and paste.

COleDataSource* tkxGridCtrl::CopyTextFromGrid()
{
    const CCellRange range = GetSelectedCellRange();
    if (!IsValid(range)) return nullptr;

    CString text;
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            if (GetItemState(row, col) & GVIS_SELECTED) {
                const CString cell = GetItemText(row, col);
                text += cell.IsEmpty() ? CString(L" ") : cell;
            }
            if (col < range.GetMaxCol()) text += L'\t';
        }
        if (row < range.GetMaxRow()) text += L'\n';
    }
    const std::string bytes = ClWideToMultiByte(text, text.GetLength(), CP_ACP);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes.size() + 1);
    if (!block) return nullptr;
    if (void* data = ::GlobalLock(block)) {
        std::memcpy(data, bytes.data(), bytes.size());
        ::GlobalUnlock(block);
    } else {
        ::GlobalFree(block);
        return nullptr;
    }
    auto* source = new COleDataSource;
    source->CacheGlobalData(CF_TEXT, block);
    return source;
}

void tkxGridCtrl::CutSelectedText()
{
    if (!m_bEditable) return;
    EndEditing(); // an open editor's text would come back over an emptied cell
    for (const CCellID& cell : SelectedCells()) {
        if (IsCellLocked(cell.row, cell.col)) continue;
        if (CGridCell* data = GetCell(cell.row, cell.col)) EmptyCell(data, cell.row, cell.col);
    }
    m_bModified = TRUE;
    if (m_hWnd) Invalidate();
}

void tkxGridCtrl::OnEditCopy()
{
    if (COleDataSource* source = CopyTextFromGrid()) PutOnClipboard(source);
}

void tkxGridCtrl::OnEditCut()
{
    if (!m_bEditable) return;
    COleDataSource* source = CopyTextFromGrid();
    if (!source || !PutOnClipboard(source)) return;
    CutSelectedText();
}

void tkxGridCtrl::OnEditPaste()
{
    if (!m_bEditable) return;
    CCellID cell = m_idCurrentCell;
    if (!IsValid(cell)) cell = GetTopleftNonFixedCell();
    if (!IsValid(cell)) return;
    COleDataObject dataObject;
    if (dataObject.AttachClipboard()) PasteTextToGrid(cell, &dataObject);
}

void tkxGridCtrl::OnEditSelectAll() { SelectAllCells(); }

BOOL tkxGridCtrl::PasteTextToGrid(CCellID cell, COleDataObject* dataObject)
{
    m_bPasteIncomplete = true;
    if (!m_bEditable || !dataObject || !dataObject->IsDataAvailable(CF_TEXT) || !IsValid(cell) ||
        IsCellLocked(cell.row, cell.col))
        return FALSE;

    HGLOBAL block = dataObject->GetGlobalData(CF_TEXT);
    if (!block) return FALSE;
    EndEditing(); // an open editor's text would come back over a pasted cell
    CString text;
    const BOOL read = ClReadGlobalText(block, CF_TEXT, text);
    ::GlobalFree(block);
    if (!read) return FALSE;

    // Every field goes to its own cell; fields outside the grid and
    // read-only cells are left out.
    bool complete = true;
    const auto lines = ReadTransferText(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        for (size_t j = 0; j < lines[i].size(); ++j) {
            const int row = cell.row + static_cast<int>(i);
            const int col = cell.col + static_cast<int>(j);
            if (!IsValid(row, col) || IsCellLocked(row, col)) {
                complete = false;
                continue;
            }
            SetItemText(row, col, lines[i][j]);
            m_bModified = TRUE;
            SetItemState(row, col, GetItemState(row, col) & ~GVIS_SELECTED);
        }
    }
    m_bPasteIncomplete = !complete;
    if (m_hWnd) Invalidate();
    return TRUE;
}

void tkxGridCtrl::OnUpdateEditCopy(CCmdUI* cmdUI)
{
    const CCellRange range = GetSelectedCellRange();
    cmdUI->Enable(range.Count() > 0 && IsValid(range));
}

void tkxGridCtrl::OnUpdateEditCut(CCmdUI* cmdUI)
{
    const CCellRange range = GetSelectedCellRange();
    cmdUI->Enable(m_bEditable && range.Count() > 0 && IsValid(range));
}

void tkxGridCtrl::OnUpdateEditPaste(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_bEditable && IsValid(m_idCurrentCell) &&
                  (GetItemState(m_idCurrentCell.row, m_idCurrentCell.col) & GVIS_FOCUSED) &&
                  ::IsClipboardFormatAvailable(CF_TEXT));
}

void tkxGridCtrl::OnUpdateEditSelectAll(CCmdUI* cmdUI) { cmdUI->Enable(m_bEnableSelection); }

// ---------------------------------------------------------------------------
// Drag and drop.

void tkxGridCtrl::OnBeginDrag()
{
    if (!m_bAllowDragAndDrop) return;
    COleDataSource* source = CopyTextFromGrid();
    if (!source) return;
    const CCellRange range = GetSelectedCellRange();
    SendMessageToParent(range.GetMinRow(), range.GetMinCol(), GVN_BEGINDRAG);
    m_MouseMode = MOUSE_DRAGGING;
    t_dropIncomplete = false;
    const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    // The drag took the button's release: nothing is in progress any more.
    m_MouseMode = MOUSE_NOTHING;
    if ((effect & DROPEFFECT_MOVE) && !t_dropIncomplete) CutSelectedText();
    source->InternalRelease();
}

DROPEFFECT tkxGridCtrl::OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    if (!m_bAllowDragAndDrop || !m_bEditable || !dataObject || !dataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    m_LastDragOverCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_LastDragOverCell) || IsCellLocked(m_LastDragOverCell.row, m_LastDragOverCell.col))
        return DROPEFFECT_NONE;
    const CCellID& cell = m_LastDragOverCell;
    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_DROPHILITED);
    RedrawCell(cell);
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT tkxGridCtrl::OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    if (!m_bAllowDragAndDrop || !m_bEditable || !dataObject || !dataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    const CCellID cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell)) {
        OnDragLeave();
        m_LastDragOverCell = CCellID(-1, -1);
        return DROPEFFECT_NONE;
    }
    if (IsCellLocked(cell.row, cell.col)) return DROPEFFECT_NONE;
    if (cell != m_LastDragOverCell) {
        OnDragLeave();
        m_LastDragOverCell = cell;
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_DROPHILITED);
        RedrawCell(cell);
    }
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void tkxGridCtrl::OnDragLeave()
{
    const CCellID& cell = m_LastDragOverCell;
    if (!IsValid(cell)) return;
    SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GVIS_DROPHILITED);
    RedrawCell(cell);
}

BOOL tkxGridCtrl::OnDrop(COleDataObject* dataObject, DROPEFFECT, CPoint)
{
    if (!m_bAllowDragAndDrop || !m_bEditable || IsCellLocked(m_LastDragOverCell.row, m_LastDragOverCell.col))
        return FALSE;
    m_MouseMode = MOUSE_NOTHING;
    OnDragLeave();
    const BOOL result = PasteTextToGrid(m_LastDragOverCell, dataObject);
    t_dropIncomplete = !result || m_bPasteIncomplete;
    return result;
}

// ---------------------------------------------------------------------------
// The right-button menu of rows.

void tkxGridCtrl::OnRButtonDown(UINT flags, CPoint point)
{
    (void)flags;
    const CCellID cell = GetCellFromPt(point);
    if (cell.row == 0) {
        Default();
        return;
    }
    SetCurrentCell(cell.row, cell.col);
    if (m_bRButtonMenu) {
        if (IsValid(cell)) {
            InvalidateCellRect(m_idCurrentCell);
            m_idCurrentCell = cell;
            SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_FOCUSED);
            InvalidateCellRect(cell);
        }
        const int rows = GetRowCount();
        const int focusRow = m_idCurrentCell.row;
        auto state = [](bool enabled) { return MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED); };
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, ID_GRID_ADDROW, L"追加行");
        menu.AppendMenu(MF_STRING, ID_GRID_INSERTROW, L"插入行");
        menu.AppendMenu(state(rows >= 3), ID_GRID_DELETEROW, L"删除当前行");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(state(focusRow >= 2 && rows >= 3), ID_GRID_ROWUP, L"上移一行");
        menu.AppendMenu(state(focusRow + 1 < rows && rows >= 3), ID_GRID_ROWDOWN, L"下移一行");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, ID_GRID_AUTOCOLWIDTH, L"自动列宽");
        if (m_bSortEnabled) {
            menu.AppendMenu(MF_STRING, ID_GRID_SORTUP, L"当前列排序(升序)");
            menu.AppendMenu(MF_STRING, ID_GRID_SORTDOWN, L"当前列排序(降序)");
        }
        CPoint screen;
        ::GetCursorPos(&screen);
        menu.TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, this);
        menu.DestroyMenu();
    }
    Default();
}

void tkxGridCtrl::OnMenuAdd()
{
    InsertRow(L" ", -1);
    SetFocusCell(GetRowCount() - 1, 0);
    RedrawList();
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, ID_GRID_ADDROW, 0);
}

void tkxGridCtrl::OnMenuInsert()
{
    if (IsValid(m_idCurrentCell)) {
        const int row = m_idCurrentCell.row;
        if (row == 0)
            InsertRow(L" ", GetRowCount() == 1 ? -1 : 1);
        else
            InsertRow(L" ", row);
        SetFocusCell(row, 0);
    } else {
        InsertRow(L" ", -1);
        SetFocusCell(GetRowCount() - 1, 0);
    }
    RedrawList();
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, ID_GRID_INSERTROW, 0);
}

void tkxGridCtrl::OnMenuDelete()
{
    if (!IsValid(m_idCurrentCell)) return;
    const int row = m_idCurrentCell.row;
    const int col = m_idCurrentCell.col;
    CString question;
    question.Format(L"是否删除第%d行?", row);
    if (Ask(this, question) != IDYES) return;
    // A row the grid keeps (a heading, a read-only row) is not reported as
    // deleted.
    if (!DeleteRow(row, 1)) return;
    RedrawList();
    m_idCurrentCell = CCellID(row <= 1 ? 1 : std::min(row, GetRowCount() - 1), col);
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, ID_GRID_DELETEROW, 0);
}

void tkxGridCtrl::OnMenuUp()
{
    const int row = m_idCurrentCell.row;
    // Headings and read-only rows never change places with data.
    if (!IsValid(m_idCurrentCell) || !IsDataRow(row) || !IsDataRow(row - 1)) return;
    SwapRow(row, row - 1, 1);
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, ID_GRID_ROWUP, 0);
}

void tkxGridCtrl::OnMenuDown()
{
    const int row = m_idCurrentCell.row;
    if (!IsValid(m_idCurrentCell) || !IsDataRow(row) || !IsDataRow(row + 1)) return;
    SwapRow(row, row + 1, 1);
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_COMMAND, ID_GRID_ROWDOWN, 0);
}

void tkxGridCtrl::OnMenuAutocolwidth()
{
    AutoSizeColumns();
    Invalidate();
}

void tkxGridCtrl::MenuSort(BOOL ascending)
{
    const wchar_t* question = ascending
                                  ? L"当前列按升序排列：按文字排序，还是按数据排序?\n\n是:按文字排序;    否:按数据排序;"
                                  : L"当前列按降序排列：按文字排序，还是按数据排序?\n\n是:按文字排序;    否:按数据排序;";
    const int col = m_idCurrentCell.col;
    if (Ask(this, question) == IDYES)
        SortTextItems(col, ascending);
    else
        SortByDat(m_nFixedRows, GetRowCount() - 1, col, ascending, 1);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void tkxGridCtrl::OnMenuColumnsortUp() { MenuSort(TRUE); }

void tkxGridCtrl::OnMenuColumnsortDown() { MenuSort(FALSE); }
