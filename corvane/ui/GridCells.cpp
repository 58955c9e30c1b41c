// The grid's cells: rows and columns of cells, the item accessors, the
// search by state, the read-only rule, the current cell, the drawing of one
// cell and the grid's DestroyWindow.
#include "corvane/ui/GridCtrl.h"
#include "corvane/base/FixedSizePool.h"
#include "corvane/ui/TextWidths.h"
#include <algorithm>
#include <cstring>

namespace {

FixedSizePool g_cells(sizeof(CGridCell));
// A row adds nothing to the array of its cells.
FixedSizePool g_rows(sizeof(CArray<CGridCell*, CGridCell*>));

} // namespace

CGridCell::CGridCell() : lfFont() {}

void* CGridCell::operator new(size_t size) { return g_cells.New(size); }

void CGridCell::operator delete(void* cell, size_t size) { g_cells.Delete(cell, size); }

void* tkxGridCtrl::GRID_ROW::operator new(size_t size)
{
    static_assert(sizeof(GRID_ROW) == sizeof(CArray<CGridCell*, CGridCell*>), "the pool's size");
    return g_rows.New(size);
}

void tkxGridCtrl::GRID_ROW::operator delete(void* row, size_t size) { g_rows.Delete(row, size); }

GV_ITEM::GV_ITEM()
    : row(0), col(0), mask(0), state(0), nFormat(0), iImage(-1), crBkClr(CLR_DEFAULT), crFgClr(CLR_DEFAULT),
      lParam(0)
{
    std::memset(&lfFont, 0, sizeof(lfFont));
}

// ---------------------------------------------------------------------------
// Cells, rows and columns.

// An editor ends when it loses the focus, and then writes its text to the
// row and column it was opened on: it has to end before they move, or its
// text lands in the row or column that took their place.
void tkxGridCtrl::EndEditing()
{
    // Asked only after an editor was started: the question costs more than
    // the insert of a row itself.
    if (!m_bEditorStarted || !m_hWnd) return;
    m_bEditorStarted = false;
    const HWND focus = ::GetFocus();
    if (focus && focus != m_hWnd && ::IsChild(m_hWnd, focus)) SetFocus();
}

CGridCell* tkxGridCtrl::CreateCell(int nRow, int nCol)
{
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (nRow > 0) {
        const CGridCell* above = GetCell(nRow - 1, nCol);
        format = above ? above->nFormat : 0;
    }
    return new CGridCell(m_Logfont, format);
}

void tkxGridCtrl::EmptyCell(CGridCell* cell, int nRow, int nCol)
{
    SetItemState(nRow, nCol, 0);
    cell->szText.Empty();
}

void tkxGridCtrl::DestroyCell(CGridCell* cell, int nRow, int nCol)
{
    if (!cell) return;
    EmptyCell(cell, nRow, nCol);
    delete cell;
}

void tkxGridCtrl::DestroyRow(int nRow)
{
    GRID_ROW* cells = m_RowData[nRow];
    if (!cells) return;
    for (int col = 0; col < m_nCols; ++col) DestroyCell(cells->GetAt(col), nRow, col);
    delete cells;
    m_RowData[nRow] = nullptr;
}

BOOL tkxGridCtrl::SetColumnCount(int nCols)
{
    if (nCols < 0) return FALSE;
    if (nCols == m_nCols) return TRUE;
    EndEditing();
    if (nCols < m_nFixedCols) m_nFixedCols = nCols;
    if (m_idCurrentCell.col >= nCols) SetFocusCell(-1, -1);

    for (int row = 0; row < m_nRows; ++row) {
        GRID_ROW* cells = m_RowData[row];
        if (!cells) continue;
        for (int col = nCols; col < m_nCols; ++col) DestroyCell(cells->GetAt(col), row, col);
    }
    const int old = m_nCols;
    m_nCols = nCols;
    m_arColWidths.Resize(nCols, m_nDefCellWidth);
    for (int row = 0; row < m_nRows; ++row)
        if (m_RowData[row]) m_RowData[row]->SetSize(nCols);
    for (int row = 0; row < m_nRows; ++row) {
        GRID_ROW* cells = m_RowData[row];
        if (!cells) continue;
        for (int col = old; col < nCols; ++col) cells->SetAt(col, CreateCell(row, col));
    }
    if (m_hWnd && m_bAllowDraw) {
        ResetScrollBars();
        Invalidate();
    }
    return TRUE;
}

int tkxGridCtrl::InsertColumn(const wchar_t* heading, UINT format, int nColumn)
{
    if (!m_bEditable || (nColumn >= 0 && nColumn >= m_nCols)) return -1;
    EndEditing();
    SetSelectedRange(-1, -1, -1, -1);
    if (m_nRows < 1) SetRowCount(1);

    const int col = nColumn < 0 ? m_nCols : nColumn;
    m_arColWidths.Insert(col, 0);
    for (int row = 0; row < m_nRows; ++row) {
        GRID_ROW* cells = m_RowData[row];
        cells->InsertAt(col, static_cast<CGridCell*>(nullptr));
        cells->SetAt(col, CreateCell(row, col));
    }
    ++m_nCols;
    SetItemText(0, col, heading);
    for (int row = 0; row < m_nRows; ++row) SetItemFormat(row, col, format);
    SetColumnWidth(col, GetTextExtent(heading, 1).cx);

    if (m_idCurrentCell.col >= 0 && col <= m_idCurrentCell.col) ++m_idCurrentCell.col;
    ResetScrollBars();
    return col;
}

int tkxGridCtrl::InsertRow(const wchar_t* heading, int nRow)
{
    if (!m_bEditable || (nRow >= 0 && nRow >= m_nRows)) {
        ClMessageBox(m_hWnd, L"向列表中插入记录行时出错!", L"TAVIX", MB_OK | MB_ICONINFORMATION);
        return -1;
    }
    EndEditing();
    SetSelectedRange(-1, -1, -1, -1);
    if (m_nCols < 1) SetColumnCount(1);

    const int row = nRow < 0 ? m_nRows : nRow;
    m_arRowHeights.Insert(row, 0);
    auto* cells = new GRID_ROW;
    m_RowData.InsertAt(row, cells);
    ++m_nRows;
    cells->SetSize(m_nCols);
    for (int col = 0; col < m_nCols; ++col) cells->SetAt(col, CreateCell(row, col));

    SetItemText(row, 0, heading);
    SetRowHeight(row, GetTextExtent(heading, 1).cy);

    if (m_idCurrentCell.row >= 0 && row <= m_idCurrentCell.row) ++m_idCurrentCell.row;
    ResetScrollBars();
    RedrawRow(row);
    m_bModified = TRUE;
    return row;
}

BOOL tkxGridCtrl::DeleteColumn(int nColumn)
{
    if (!m_bEditable || nColumn < 0 || nColumn >= m_nCols) return FALSE;
    EndEditing();
    SetSelectedRange(-1, -1, -1, -1);
    for (int row = 0; row < m_nRows; ++row) {
        GRID_ROW* cells = m_RowData[row];
        if (!cells) continue;
        DestroyCell(cells->GetAt(nColumn), row, nColumn);
        cells->RemoveAt(nColumn);
    }
    m_arColWidths.Remove(nColumn);
    --m_nCols;
    if (nColumn < m_nFixedCols) --m_nFixedCols;

    if (m_idCurrentCell.col == nColumn)
        m_idCurrentCell = CCellID(-1, -1);
    else if (m_idCurrentCell.col > nColumn)
        --m_idCurrentCell.col;
    ResetScrollBars();
    return TRUE;
}

BOOL tkxGridCtrl::DeleteRow(int nRow, int noRepaint)
{
    if (nRow <= m_nReadOnlyRow || !m_bEditable || nRow < 0 || nRow >= m_nRows || !m_RowData[nRow]) return FALSE;
    EndEditing();
    SetSelectedRange(-1, -1, -1, -1);
    DestroyRow(nRow);
    m_RowData.RemoveAt(nRow);
    m_arRowHeights.Remove(nRow);
    --m_nRows;
    if (nRow < m_nFixedRows) --m_nFixedRows;

    if (m_idCurrentCell.row == nRow)
        m_idCurrentCell = CCellID(-1, -1);
    else if (m_idCurrentCell.row > nRow)
        --m_idCurrentCell.row;
    ResetScrollBars();
    if (noRepaint == 0 && m_hWnd) {
        CDC* dc = GetDC();
        if (dc) {
            OnDraw(dc);
            ReleaseDC(dc);
        }
    }
    m_bModified = TRUE;
    return TRUE;
}

BOOL tkxGridCtrl::DeleteNonFixedRows()
{
    if (!m_bEditable) return FALSE;
    for (int row = m_nRows; row >= m_nFixedRows; --row) DeleteRow(row, 1);
    return TRUE;
}

BOOL tkxGridCtrl::DeleteAllItems()
{
    if (!m_bEditable) return FALSE;
    EndEditing();
    SetSelectedRange(-1, -1, -1, -1);
    m_arColWidths.Clear();
    m_arRowHeights.Clear();
    for (int row = 0; row < m_nRows; ++row) DestroyRow(row);
    m_RowData.RemoveAll();
    m_SelectedCellMap.RemoveAll();
    m_PrevSelectedCellMap.RemoveAll();
    m_idCurrentCell = CCellID(-1, -1);
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    ResetScrollBars();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Items.

BOOL tkxGridCtrl::SetItem(const GV_ITEM* item)
{
    if (!item) return FALSE;
    CGridCell* cell = GetCell(item->row, item->col);
    if (!cell) return FALSE;
    if (item->mask & GVIF_TEXT) cell->szText = item->szText;
    if (item->mask & GVIF_PARAM) cell->lParam = item->lParam;
    if (item->mask & GVIF_IMAGE) cell->iImage = item->iImage;
    if (item->mask & GVIF_STATE) cell->state = item->state;
    if (item->mask & GVIF_FORMAT) cell->nFormat = item->nFormat;
    if (item->mask & GVIF_BKCLR) cell->crBkClr = item->crBkClr;
    if (item->mask & GVIF_FGCLR) cell->crFgClr = item->crFgClr;
    if (item->mask & GVIF_FONT) cell->lfFont = item->lfFont;
    return TRUE;
}

BOOL tkxGridCtrl::GetItem(GV_ITEM* item)
{
    if (!item) return FALSE;
    CGridCell* cell = GetCell(item->row, item->col);
    if (!cell) return FALSE;
    if (item->mask & GVIF_TEXT) item->szText = GetItemText(item->row, item->col);
    if (item->mask & GVIF_PARAM) item->lParam = cell->lParam;
    if (item->mask & GVIF_IMAGE) item->iImage = cell->iImage;
    if (item->mask & GVIF_STATE) item->state = cell->state;
    if (item->mask & GVIF_FORMAT) item->nFormat = cell->nFormat;
    if (item->mask & GVIF_BKCLR) item->crBkClr = cell->crBkClr;
    if (item->mask & GVIF_FGCLR) item->crFgClr = cell->crFgClr;
    if (item->mask & GVIF_FONT) item->lfFont = cell->lfFont;
    return TRUE;
}

namespace {

// One field of a cell: written when the cell exists (FALSE outside the
// grid), read as `outside` where there is no cell.
template <class T, class V>
BOOL StoreField(const tkxGridCtrl& grid, int row, int col, T CGridCell::*field, const V& value)
{
    CGridCell* cell = grid.GetCell(row, col);
    if (!cell) return FALSE;
    cell->*field = value;
    return TRUE;
}

template <class T, class D>
T FieldOr(const tkxGridCtrl& grid, int row, int col, T CGridCell::*field, const D& outside)
{
    const CGridCell* cell = grid.GetCell(row, col);
    return cell ? cell->*field : T(outside);
}

} // namespace

CString tkxGridCtrl::GetItemText(int nRow, int nCol) const
{
    return FieldOr(*this, nRow, nCol, &CGridCell::szText, CString());
}

BOOL tkxGridCtrl::SetItemText(int nRow, int nCol, const wchar_t* text)
{
    return StoreField(*this, nRow, nCol, &CGridCell::szText, text ? text : L"");
}

BOOL tkxGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam)
{
    return StoreField(*this, nRow, nCol, &CGridCell::lParam, lParam);
}

LPARAM tkxGridCtrl::GetItemData(int nRow, int nCol) const { return FieldOr(*this, nRow, nCol, &CGridCell::lParam, 0); }

BOOL tkxGridCtrl::SetItemImage(int nRow, int nCol, int image)
{
    return StoreField(*this, nRow, nCol, &CGridCell::iImage, image);
}

int tkxGridCtrl::GetItemImage(int nRow, int nCol) const { return FieldOr(*this, nRow, nCol, &CGridCell::iImage, -1); }

BOOL tkxGridCtrl::SetItemState(int nRow, int nCol, UINT state)
{
    CGridCell* cell = GetCell(nRow, nCol);
    if (!cell) return FALSE;
    const bool was = (cell->state & GVIS_SELECTED) != 0;
    const bool now = (state & GVIS_SELECTED) != 0;
    if (was && !now)
        m_SelectedCellMap.RemoveKey(CellKey(nRow, nCol));
    else if (!was && now)
        m_SelectedCellMap.SetAt(CellKey(nRow, nCol), CCellID(nRow, nCol));
    cell->state = state;
    return TRUE;
}

UINT tkxGridCtrl::GetItemState(int nRow, int nCol) const { return FieldOr(*this, nRow, nCol, &CGridCell::state, 0); }

BOOL tkxGridCtrl::SetItemFormat(int nRow, int nCol, UINT format)
{
    return StoreField(*this, nRow, nCol, &CGridCell::nFormat, format);
}

UINT tkxGridCtrl::GetItemFormat(int nRow, int nCol) const
{
    return FieldOr(*this, nRow, nCol, &CGridCell::nFormat, 0);
}

BOOL tkxGridCtrl::SetItemBkColour(int nRow, int nCol, COLORREF colour)
{
    return StoreField(*this, nRow, nCol, &CGridCell::crBkClr, colour);
}

COLORREF tkxGridCtrl::GetItemBkColour(int nRow, int nCol) const
{
    return FieldOr(*this, nRow, nCol, &CGridCell::crBkClr, 0);
}

BOOL tkxGridCtrl::SetItemFgColour(int nRow, int nCol, COLORREF colour)
{
    return StoreField(*this, nRow, nCol, &CGridCell::crFgClr, colour);
}

COLORREF tkxGridCtrl::GetItemFgColour(int nRow, int nCol) const
{
    return FieldOr(*this, nRow, nCol, &CGridCell::crFgClr, 0);
}

BOOL tkxGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONTW* font)
{
    return font ? StoreField(*this, nRow, nCol, &CGridCell::lfFont, *font) : FALSE;
}

LOGFONTW* tkxGridCtrl::GetItemFont(int nRow, int nCol)
{
    CGridCell* cell = GetCell(nRow, nCol);
    return cell ? &cell->lfFont : nullptr;
}

BOOL tkxGridCtrl::SetColumnFormat(int nCol, UINT format)
{
    for (int row = 0; row < m_nRows; ++row)
        if (!SetItemFormat(row, nCol, format)) return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Cells by state, the read-only rule and the current cell.

CCellID tkxGridCtrl::GetNextItem(CCellID& start, int flags) const
{
    const UINT wanted = static_cast<UINT>(flags) & 0x0F;
    auto matches = [&](int row, int col) { return (wanted & GetItemState(row, col)) != 0; };

    if ((flags & GVNI_ALL) == GVNI_ALL) {
        int row = start.row > 0 ? start.row : m_nFixedRows;
        int col = start.col + 1 > 0 ? start.col + 1 : m_nFixedCols;
        for (; row < m_nRows; ++row) {
            for (; col < m_nCols; ++col)
                if (matches(row, col)) return CCellID(row, col);
            col = m_nFixedCols;
        }
    }
    if (flags & GVNI_ABOVE) {
        for (int row = start.row - 1; row >= m_nFixedRows; --row)
            if (matches(row, start.col)) return CCellID(row, start.col);
    } else if (flags & GVNI_BELOW) {
        for (int row = start.row + 1; row < m_nRows; ++row)
            if (matches(row, start.col)) return CCellID(row, start.col);
    } else if (flags & GVNI_TOLEFT) {
        for (int col = start.col - 1; col >= m_nFixedCols; --col)
            if (matches(start.row, col)) return CCellID(start.row, col);
    } else if (flags & GVNI_TORIGHT) {
        for (int col = start.col + 1; col < m_nCols; ++col)
            if (matches(start.row, col)) return CCellID(start.row, col);
    }
    return CCellID(-1, -1);
}

BOOL tkxGridCtrl::IsReadOnly(int nRow, int nCol) const
{
    // Every heading row and column is read-only, not only the last.
    if (nRow < m_nFixedRows || nCol < m_nFixedCols) return TRUE;
    if (nRow <= m_nReadOnlyRow) return TRUE;
    for (int col : m_nReadOnlyCols)
        if (col != -1 && col == nCol) return TRUE;
    return FALSE;
}

BOOL tkxGridCtrl::IsCellLocked(int nRow, int nCol) const
{
    return IsReadOnly(nRow, nCol) || (GetItemState(nRow, nCol) & GVIS_READONLY) != 0;
}

void tkxGridCtrl::SetCurrentCell(int nRow, int nCol)
{
    // Headings are never made current: the first data row and column are.
    if (nRow < m_nFixedRows) nRow = m_nFixedRows;
    if (nCol < m_nFixedCols) nCol = m_nFixedCols;
    nRow = std::max(0, std::min(nRow, m_nRows - 1));
    nCol = std::max(0, std::min(nCol, m_nCols - 1));
    m_idCurrentCell = CCellID(nRow, nCol);
    OnEditCell(nRow, nCol, VK_LBUTTON);
}

void tkxGridCtrl::SetCurrentRow(int nRow, int nCol, int nLastCol)
{
    SetCurrentCell(nRow, nCol);
    SetSelectedRange(nRow, nCol, nRow, nLastCol, TRUE);
}

void tkxGridCtrl::GetCurrentCellInfo(int& nRow, int& nCol, CString& text)
{
    nRow = m_idCurrentCell.row;
    nCol = m_idCurrentCell.col;
    text = GetItemText(nRow, nCol);
}

// ---------------------------------------------------------------------------
// Drawing one cell.

namespace {

// Margin, image and text of a cell, once its background and frame are done.
void DrawContents(CDC* dc, CImageList* images, int margin, const GV_ITEM& item, CRect rect, HFONT font)
{
    HGDIOBJ oldFont = font ? dc->SelectObject(font) : nullptr;
    rect.DeflateRect(margin, 0);
    if (images && item.iImage >= 0) {
        IMAGEINFO info{};
        if (images->GetImageInfo(item.iImage, &info)) {
            images->Draw(dc, item.iImage, rect.TopLeft(), ILD_NORMAL);
            rect.left += info.rcImage.right - info.rcImage.left + 1 + margin;
        }
    }
    dc->DrawText(item.szText, rect, item.nFormat);
    if (oldFont) dc->SelectObject(oldFont);
}

} // namespace

BOOL tkxGridCtrl::DrawCell(CDC* dc, int nRow, int nCol, CRect rect, BOOL erase)
{
    if (!m_bAllowDraw) return FALSE;
    GV_ITEM item;
    item.mask = GVIF_TEXT | GVIF_FORMAT | GVIF_IMAGE | GVIF_STATE | GVIF_BKCLR | GVIF_FGCLR;
    item.row = nRow;
    item.col = nCol;
    if (!GetItem(&item)) return FALSE;

    COLORREF bk = item.crBkClr == CLR_DEFAULT ? m_crTextBkColour : item.crBkClr;
    COLORREF fg = item.crFgClr == CLR_DEFAULT ? m_crTextColour : item.crFgClr;
    if (bk != CLR_DEFAULT) erase = TRUE;
    if (IsReadOnly(nRow, nCol)) {
        if (nRow == 0) {
            bk = m_cr3DFace;
        } else {
            bk = m_crReadOnlyColour;
            fg = RGB(255, 255, 255);
        }
    }

    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    const bool printing = dc->IsPrinting() != FALSE;
    if (CCellID(nRow, nCol) == m_idCurrentCell && !printing) {
        if (erase) dc->FillSolidRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1), bk);
        dc->SelectStockObject(BLACK_PEN);
        dc->SelectStockObject(HOLLOW_BRUSH);
        dc->Rectangle(rect);
        rect.DeflateRect(1, 1);
        if (erase) dc->FillSolidRect(CRect(rect.left, rect.top, rect.right, rect.bottom + 1), bk);
        rect.right--;
    } else if (erase) {
        dc->FillSolidRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1), bk);
    }
    dc->SetTextColor(fg);
    if ((item.state & GVIS_DROPHILITED) && !printing) {
        dc->SelectStockObject(BLACK_PEN);
        dc->SelectStockObject(HOLLOW_BRUSH);
        dc->Rectangle(rect);
    }

    const LOGFONTW* lf = GetItemFont(nRow, nCol);
    DrawContents(dc, m_pImageList, m_nMargin, item, rect, CachedFont(lf && lf->lfFaceName[0] ? *lf : m_Logfont));
    dc->RestoreDC(saved);
    return TRUE;
}

BOOL tkxGridCtrl::DrawFixedCell(CDC* dc, int nRow, int nCol, CRect rect, BOOL erase)
{
    if (!m_bAllowDraw) return FALSE;
    GV_ITEM item;
    item.mask = GVIF_TEXT | GVIF_FORMAT | GVIF_IMAGE | GVIF_BKCLR | GVIF_FGCLR;
    item.row = nRow;
    item.col = nCol;
    if (!GetItem(&item)) return FALSE;

    if (item.crBkClr != CLR_DEFAULT) erase = TRUE;
    if (!dc->IsPrinting() && erase)
        dc->FillSolidRect(rect, item.crBkClr == CLR_DEFAULT ? m_crFixedBkColour : item.crBkClr);
    dc->SetTextColor(item.crFgClr == CLR_DEFAULT ? m_crFixedTextColour : item.crFgClr);
    const int saved = dc->SaveDC();

    const bool onFocusLine =
        IsValid(m_idCurrentCell) && (m_idCurrentCell.row == nRow || m_idCurrentCell.col == nCol);
    const LOGFONTW* cellFont = GetItemFont(nRow, nCol);
    LOGFONTW lf = cellFont && cellFont->lfFaceName[0] ? *cellFont : m_Logfont;
    if (onFocusLine) lf.lfWeight = 600;

    if (!onFocusLine) {
        CPen light(PS_SOLID, 1, ::GetSysColor(COLOR_3DHIGHLIGHT));
        CPen dark(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
        HGDIOBJ oldPen = dc->SelectObject(light.m_hObject);
        dc->MoveTo(rect.right, rect.top);
        dc->LineTo(rect.left, rect.top);
        dc->LineTo(rect.left, rect.bottom);
        dc->SelectObject(dark.m_hObject);
        dc->MoveTo(rect.right, rect.top);
        dc->LineTo(rect.right, rect.bottom);
        dc->LineTo(rect.left, rect.bottom);
        dc->SelectObject(oldPen);
        rect.DeflateRect(1, 1);
    } else {
        rect.right++;
        rect.bottom++;
        dc->DrawEdge(rect, EDGE_RAISED, BF_RECT);
        rect.DeflateRect(1, 1);
    }
    dc->SetBkMode(TRANSPARENT);
    DrawContents(dc, m_pImageList, m_nMargin, item, rect, CachedFont(lf));
    dc->RestoreDC(saved);
    return TRUE;
}

HFONT tkxGridCtrl::CachedFont(const LOGFONTW& lf)
{
    for (const auto& entry : m_fontCache)
        if (SameLogFont(entry.first, lf)) return entry.second;
    if (m_fontCache.size() >= 16) ReleaseFonts();
    HFONT font = ::CreateFontIndirectW(&lf);
    if (font) m_fontCache.emplace_back(lf, font);
    return font;
}

void tkxGridCtrl::ReleaseFonts()
{
    for (const auto& entry : m_fontCache) ::DeleteObject(entry.second);
    m_fontCache.clear();
}

CImageList* tkxGridCtrl::CreateDragImage(CPoint* hotSpot)
{
    CRect rect;
    if (!GetCellRect(m_idCurrentCell, rect)) return nullptr;
    if (hotSpot) *hotSpot = CPoint(rect.Width(), rect.Height());

    auto* list = new CImageList;
    if (!list->Create(rect.Width(), rect.Height(), ILC_MASK, 1, 1)) {
        delete list;
        return nullptr;
    }
    CDC* dc = GetDC();
    CDC memDC;
    CBitmap bitmap;
    if (!dc || !memDC.CreateCompatibleDC(dc) || !bitmap.CreateCompatibleBitmap(dc, rect.Width(), rect.Height())) {
        if (dc) ReleaseDC(dc);
        delete list;
        return nullptr;
    }
    HGDIOBJ old = memDC.SelectObject(bitmap.m_hObject);
    memDC.SetWindowOrg(0, 0);
    DrawCell(&memDC, m_idCurrentCell.row, m_idCurrentCell.col, CRect(0, 0, rect.Width(), rect.Height()), TRUE);
    memDC.SelectObject(old);
    ReleaseDC(dc);
    list->Add(&bitmap, m_crTextBkColour);
    bitmap.DeleteObject();
    return list;
}

// ---------------------------------------------------------------------------

BOOL tkxGridCtrl::DestroyWindow()
{
    DeleteAllItems();
    ReleaseResources();
    return CWnd::DestroyWindow();
}
