// The grid's side of in-place editing: starting an editor over a cell and
// taking the text back when the editor reports.
#include "corvane/ui/GridCtrl.h"
#include "corvane/ui/GridInPlace.h"

void tkxGridCtrl::OnEditCell(int nRow, int nCol, UINT nChar)
{
    if (nRow <= m_nReadOnlyRow) return;
    EnsureVisible(nRow, nCol);

    CCellID cell(nRow, nCol);
    CRect rect;
    if (!m_bEditable || !IsCellVisible(cell) || !IsValid(cell) || (GetItemState(nRow, nCol) & GVIS_READONLY) ||
        !GetCellRect(cell, rect))
        return;

    SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT);
    GV_ITEM item;
    item.mask = GVIF_TEXT | GVIF_FORMAT;
    item.row = nRow;
    item.col = nCol;
    if (!GetItem(&item)) return;

    DWORD style = ES_LEFT;
    if (item.nFormat & DT_RIGHT)
        style = ES_RIGHT;
    else if (item.nFormat & DT_CENTER)
        style = ES_CENTER;
    m_sTextBeforeEdit = item.szText;
    m_bEditorStarted = true;
    CreateInPlaceEditControl(rect, style, IDC_GRID_INPLACE, nRow, nCol, item.szText, static_cast<int>(nChar));
}

void tkxGridCtrl::CreateInPlaceEditControl(CRect& rect, DWORD style, UINT id, int nRow, int nCol, LPCTSTR text,
                                           int nChar)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_GRID_BEGINEDIT, 0, MAKELONG(nRow, nCol));
    auto* edit = new CInPlaceEdit(this, rect, style, id, nRow, nCol, text, static_cast<UINT>(nChar));
    if (!edit->GetSafeHwnd()) delete edit;
}

void tkxGridCtrl::OnEndEditCell(int nRow, int nCol, CString str)
{
    SetItemText(nRow, nCol, str);
    CWnd* parent = GetParent();
    if (parent && str != m_sTextBeforeEdit) parent->SendMessage(WM_GRID_CELLCHANGED, 0, MAKELONG(nRow, nCol));
}

void tkxGridCtrl::OnEndInPlaceEdit(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    if (!m_hWnd) return;
    const GV_ITEM& item = reinterpret_cast<GV_DISPINFO*>(hdr)->item;
    const UINT lastKey = static_cast<UINT>(item.lParam);
    const int row = item.row;
    const int col = item.col;
    const CString text = item.szText;

    if (lastKey != VK_ESCAPE && text.Compare(GetItemText(row, col)) != 0) m_bModified = TRUE;
    OnEndEditCell(row, col, text);
    InvalidateCellRect(CCellID(row, col));
    SendMessageToParent(row, col, GVN_ENDLABELEDIT);

    switch (lastKey) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        OnKeyDown(lastKey, 0, 0);
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, lastKey);
        break;
    default:
        break;
    }
}
