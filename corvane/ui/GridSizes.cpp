// The grid's sizes (row heights, column widths, automatic sizing), making a
// cell visible, sorting rows, and the mouse.
#include "corvane/ui/GridCtrl.h"
#include "corvane/ui/GridColumnSizer.h"
#include "corvane/ui/ComboGridCtrl.h"
#include "corvane/ui/GridSortKey.h"
#include "corvane/ui/TextWidths.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <typeinfo>
#include <cwchar>
#include <vector>

namespace {

const UINT_PTR kAutoScrollTimer = 513;

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

} // namespace

// ---------------------------------------------------------------------------
// Sizes.

int tkxGridCtrl::GetRowHeight(int nRow) const
{
    if (nRow < 0 || nRow >= m_arRowHeights.Count()) return -1;
    return m_arRowHeights.Get(nRow);
}

int tkxGridCtrl::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= m_arColWidths.Count()) return -1;
    return m_arColWidths.Get(nCol);
}

BOOL tkxGridCtrl::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_arRowHeights.Count() || height < 0) return FALSE;
    m_arRowHeights.Set(row, height);
    return TRUE;
}

BOOL tkxGridCtrl::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_arColWidths.Count() || width < 0) return FALSE;
    m_arColWidths.Set(col, width);
    return TRUE;
}

BOOL tkxGridCtrl::SetColumnsWidth(int first, int last, int width)
{
    for (int col = first; col <= last; ++col)
        if (!SetColumnWidth(col, width)) return FALSE;
    return TRUE;
}

void tkxGridCtrl::SetDefaultRowHeight(int height)
{
    m_nDefCellHeight = height;
    m_arRowHeights.Fill(height);
}

int tkxGridCtrl::GetFixedRowHeight() const
{
    return static_cast<int>(m_arRowHeights.Start(std::min(m_nFixedRows, m_arRowHeights.Count())));
}

int tkxGridCtrl::GetFixedColumnWidth() const
{
    return static_cast<int>(m_arColWidths.Start(std::min(m_nFixedCols, m_arColWidths.Count())));
}

long tkxGridCtrl::GetVirtualWidth() const { return static_cast<long>(m_arColWidths.Total()); }

long tkxGridCtrl::GetVirtualHeight() const { return static_cast<long>(m_arRowHeights.Total()); }

TextWidths& tkxGridCtrl::WidthsFor(const LOGFONTW& lf)
{
    for (const std::unique_ptr<TextWidths>& known : m_textWidths)
        if (known->IsFor(lf)) return *known;
    if (m_textWidths.size() >= 16) m_textWidths.clear();
    m_textWidths.push_back(std::make_unique<TextWidths>(lf));
    return *m_textWidths.back();
}

SIZE tkxGridCtrl::MeasureText(HDC dc, HFONT font, const LOGFONTW& lf, const wchar_t* text, int length)
{
    if (!font) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text, length, &size);
        return size;
    }
    return WidthsFor(lf).Extent(dc, font, text, length);
}

bool tkxGridCtrl::TextsAreTheCells() const
{
    const std::type_info& type = typeid(*this);
    return type == typeid(tkxGridCtrl) || type == typeid(tkxComboGridCtrl);
}

const CString& tkxGridCtrl::CellText(int nRow, int nCol, CString& copy) const
{
    if (TextsAreTheCells()) {
        if (const CGridCell* cell = GetCell(nRow, nCol)) return cell->szText;
        copy.Empty();
        return copy;
    }
    copy = GetItemText(nRow, nCol);
    return copy;
}

CSize tkxGridCtrl::GetTextExtent(const wchar_t* text, int bold)
{
    if (!m_hWnd) return CSize(0, 0);
    // Measured on a memory DC of the screen: the window's DC measures the
    // same, and rows inserted one by one need no DC of their own.
    if (!m_hMeasureDC) m_hMeasureDC = ::CreateCompatibleDC(nullptr);
    if (!m_hMeasureDC) return CSize(0, 0);
    CFont* font = bold ? BoldFont() : &m_Font;
    LOGFONTW lf = m_Logfont;
    if (bold) lf.lfWeight = 600;
    const SIZE size = MeasureText(m_hMeasureDC, static_cast<HFONT>(font->m_hObject), lf, text ? text : L"",
                                  text ? static_cast<int>(std::wcslen(text)) : 0);
    const int extra = static_cast<int>(m_nMargin * 1.5);
    return CSize(size.cx + extra, size.cy + extra);
}

CSize tkxGridCtrl::GetCellExtent(int nRow, int nCol, CDC* dc)
{
    const LOGFONTW* cellFont = GetItemFont(nRow, nCol);
    LOGFONTW lf = cellFont && cellFont->lfFaceName[0] ? *cellFont : m_Logfont;
    if (nRow < m_nFixedRows || nCol < m_nFixedCols) lf.lfWeight = 600;

    CString copy;
    const CString& text = CellText(nRow, nCol, copy);
    SIZE textSize{};
    if (!text.IsEmpty()) textSize = MeasureText(dc->m_hDC, CachedFont(lf), lf, text, text.GetLength());
    return CellExtentOf(text.IsEmpty() ? nullptr : &textSize, m_pImageList ? GetItemImage(nRow, nCol) : -1);
}

CSize tkxGridCtrl::CellExtentOf(const SIZE* text, int image) const
{
    CSize textSize(1, 0);
    if (text) textSize = CSize(text->cx + 4 * m_nMargin, text->cy + 2 * m_nMargin);
    CSize imageSize(0, 0);
    IMAGEINFO info{};
    if (m_pImageList && image >= 0 && m_pImageList->GetImageInfo(image, &info))
        imageSize = CSize(info.rcImage.right - info.rcImage.left + 1, info.rcImage.bottom - info.rcImage.top + 1);
    return CSize(textSize.cx + imageSize.cx, std::max(textSize.cy, imageSize.cy));
}

// ---------------------------------------------------------------------------
// Column widths measured row by row.

tkxGridCtrl::ColumnSizer::ColumnSizer(tkxGridCtrl& grid) : m_grid(grid)
{
    if (!grid.TextsAreTheCells() || !grid.m_hWnd || grid.m_nCols <= 0) return;
    m_dc = grid.GetDC();
    if (!m_dc) return;
    m_saved = m_dc->SaveDC();
    m_widths.assign(static_cast<size_t>(grid.m_nCols), 0);
}

tkxGridCtrl::ColumnSizer::~ColumnSizer() { ReleaseDevice(); }

void tkxGridCtrl::ColumnSizer::ReleaseDevice()
{
    if (!m_dc) return;
    m_dc->RestoreDC(m_saved);
    m_grid.ReleaseDC(m_dc);
    m_dc = nullptr;
}

void tkxGridCtrl::ColumnSizer::MeasureRow(int row)
{
    const GRID_ROW* cells = m_grid.m_RowData[row];
    const bool fixedRow = row < m_grid.m_nFixedRows;
    const int count = std::min(m_grid.m_nCols, static_cast<int>(m_widths.size()));
    m_known = false;
    for (int col = 0; col < count; ++col) {
        const CGridCell* cell = cells ? cells->GetAt(col) : nullptr;
        int& width = m_widths[static_cast<size_t>(col)];
        width = std::max(width, Width(cell, fixedRow || col < m_grid.m_nFixedCols));
    }
    ++m_rows;
}

void tkxGridCtrl::ColumnSizer::FindGridFonts()
{
    // As GetCellExtent measures a cell in the grid's font: bold when fixed.
    LOGFONTW bold = m_grid.m_Logfont;
    bold.lfWeight = 600;
    m_plain.font = m_grid.CachedFont(m_grid.m_Logfont);
    m_bold.font = m_grid.CachedFont(bold);
    // Asked again: one table made may have let the other go.
    m_plain.table = m_plain.font ? &m_grid.WidthsFor(m_grid.m_Logfont) : nullptr;
    m_bold.table = m_bold.font ? &m_grid.WidthsFor(bold) : nullptr;
    m_plain.table = m_plain.font ? &m_grid.WidthsFor(m_grid.m_Logfont) : nullptr;
    m_plain.font = m_grid.CachedFont(m_grid.m_Logfont);
    m_gridFonts = true;
}

int tkxGridCtrl::ColumnSizer::TextWidth(const GridFont& font, const CString& text)
{
    int width = 0;
    if (font.table && font.table->KnownWidth(text, text.GetLength(), width)) return width;
    SIZE size{};
    if (font.table)
        size = font.table->Extent(m_dc->m_hDC, font.font, text, text.GetLength());
    else
        ::GetTextExtentPoint32W(m_dc->m_hDC, text, text.GetLength(), &size);
    return static_cast<int>(size.cx);
}

void tkxGridCtrl::ColumnSizer::MeasureRowInGridFont(int row)
{
    if (!m_gridFonts) FindGridFonts();
    const GRID_ROW* cells = m_grid.m_RowData[row];
    const bool fixedRow = row < m_grid.m_nFixedRows;
    const int count = std::min(m_grid.m_nCols, static_cast<int>(m_widths.size()));
    const bool images = m_grid.m_pImageList != nullptr;
    const int margins = 4 * m_grid.m_nMargin;
    for (int col = 0; col < count; ++col) {
        const CGridCell* cell = cells->GetData()[col];
        int width;
        if (images || cell->szText.IsEmpty())
            width = Width(cell, fixedRow || col < m_grid.m_nFixedCols);
        else
            width = TextWidth(fixedRow || col < m_grid.m_nFixedCols ? m_bold : m_plain, cell->szText) + margins;
        int& widest = m_widths[static_cast<size_t>(col)];
        if (width > widest) widest = width;
    }
    m_known = false;
    ++m_rows;
}

int tkxGridCtrl::ColumnSizer::HeadingHeight(const wchar_t* heading, int length)
{
    if (!m_gridFonts) FindGridFonts();
    if (!m_bold.table) return m_grid.GetTextExtent(CString(heading, length), 1).cy;
    const SIZE size = m_bold.table->Extent(m_dc->m_hDC, m_bold.font, heading, length);
    return static_cast<int>(size.cy) + static_cast<int>(m_grid.m_nMargin * 1.5);
}

int tkxGridCtrl::ColumnSizer::Width(const CGridCell* cell, bool fixed)
{
    if (!cell || cell->szText.IsEmpty()) return m_grid.CellExtentOf(nullptr, cell ? cell->iImage : -1).cx;
    if (!m_known || m_knownFixed != fixed || !SameLogFont(m_knownFont, cell->lfFont)) {
        // The font GetCellExtent measures the cell in.
        LOGFONTW lf = cell->lfFont.lfFaceName[0] ? cell->lfFont : m_grid.m_Logfont;
        if (fixed) lf.lfWeight = 600;
        m_font = m_grid.CachedFont(lf);
        m_table = m_font ? &m_grid.WidthsFor(lf) : nullptr;
        m_knownFont = cell->lfFont;
        m_knownFixed = fixed;
        m_known = true;
    }
    const CString& text = cell->szText;
    SIZE size{};
    if (m_table)
        size = m_table->Extent(m_dc->m_hDC, m_font, text, text.GetLength());
    else
        ::GetTextExtentPoint32W(m_dc->m_hDC, text, text.GetLength(), &size);
    return m_grid.CellExtentOf(&size, cell->iImage).cx;
}

void tkxGridCtrl::ColumnSizer::Apply()
{
    ReleaseDevice();
    for (int col = 0; col < static_cast<int>(m_widths.size()); ++col) {
        m_grid.SetColumnWidth(col, m_widths[static_cast<size_t>(col)]);
        m_grid.ResetScrollBars();
    }
}

// The largest extent of the cells of a column (widths) or a row (heights);
// -1 without a DC to measure with.
int tkxGridCtrl::LargestExtent(bool column, int index)
{
    CDC* dc = GetDC();
    if (!dc) return -1;
    const int saved = dc->SaveDC();
    int largest = 0;
    const int count = column ? m_nRows : m_nCols;
    for (int i = 0; i < count; ++i) {
        const CSize size = column ? GetCellExtent(i, index, dc) : GetCellExtent(index, i, dc);
        largest = std::max(largest, static_cast<int>(column ? size.cx : size.cy));
    }
    dc->RestoreDC(saved);
    ReleaseDC(dc);
    return largest;
}

BOOL tkxGridCtrl::AutoSizeColumn(int nCol)
{
    if (nCol < 0 || nCol >= m_nCols || !m_hWnd) return FALSE;
    const int width = LargestExtent(true, nCol);
    if (width < 0) return FALSE;
    SetColumnWidth(nCol, width);
    ResetScrollBars();
    return TRUE;
}

BOOL tkxGridCtrl::AutoSizeRow(int nRow)
{
    if (nRow < 0 || nRow >= m_nRows || !m_hWnd) return FALSE;
    const int height = LargestExtent(false, nRow);
    if (height < 0) return FALSE;
    SetRowHeight(nRow, height);
    ResetScrollBars();
    return TRUE;
}

void tkxGridCtrl::AutoSizeColumns()
{
    // The library's own grids measure their cells with the extent above,
    // which depends on the cell alone: all columns are measured in one pass
    // along the rows, as the cells lie in memory.  Any other grid measures
    // column by column through its own GetCellExtent.
    ColumnSizer sizer(*this);
    if (!sizer.Ready()) {
        for (int col = 0; col < m_nCols; ++col) AutoSizeColumn(col);
        return;
    }
    for (int row = 0; row < m_nRows; ++row) sizer.MeasureRow(row);
    sizer.Apply();
}

void tkxGridCtrl::AutoSizeRows()
{
    for (int row = 0; row < m_nRows; ++row) AutoSizeRow(row);
}

void tkxGridCtrl::AutoSize()
{
    if (!m_hWnd) return;
    CDC* dc = GetDC();
    if (!dc) return;
    const int saved = dc->SaveDC();
    m_arColWidths.Fill(0);
    m_arRowHeights.Fill(0);
    std::vector<int> widths(static_cast<size_t>(m_nCols), 0);
    for (int row = 0; row < m_nRows; ++row) {
        int height = 0;
        for (int col = 0; col < m_nCols; ++col) {
            const CSize size = GetCellExtent(row, col, dc);
            widths[static_cast<size_t>(col)] = std::max(widths[static_cast<size_t>(col)], static_cast<int>(size.cx));
            height = std::max(height, static_cast<int>(size.cy));
        }
        m_arRowHeights.Set(row, height);
    }
    for (int col = 0; col < m_nCols; ++col) m_arColWidths.Set(col, widths[static_cast<size_t>(col)]);
    dc->RestoreDC(saved);
    ReleaseDC(dc);
    if (m_bAllowDraw) {
        ResetScrollBars();
        Invalidate();
    }
}

namespace {

// Adds `difference` to the sizes so that they add up to the old total plus
// the difference, the remainder one unit at a time over the first entries.
// No size goes below 0 (a hidden column stays hidden when the columns
// shrink): what such an entry cannot give up is taken from the others.
void Spread(GridExtents& sizes, long long difference)
{
    const int count = sizes.Count();
    if (count == 0) return;
    const long long each = difference / count;
    long long remainder = difference - each * count;
    for (int i = 0; i < count; ++i) {
        const long long size = sizes.Get(i) + each;
        if (size < 0) remainder += size;
        sizes.Set(i, static_cast<int>(std::max(size, 0LL)));
    }
    while (remainder != 0) {
        const int step = remainder > 0 ? 1 : -1;
        bool changed = false;
        for (int i = 0; remainder != 0 && i < count; ++i) {
            if (step < 0 && sizes.Get(i) == 0) continue;
            sizes.Set(i, sizes.Get(i) + step);
            remainder -= step;
            changed = true;
        }
        if (!changed) break; // every size is 0
    }
}

} // namespace

void tkxGridCtrl::ExpandColumnsToFit()
{
    if (m_nCols <= 0 || !m_hWnd) return;
    CRect rect;
    GetClientRect(rect);
    Spread(m_arColWidths, rect.Width() - GetVirtualWidth());
    if (m_bAllowDraw) Invalidate();
}

void tkxGridCtrl::ExpandRowsToFit()
{
    if (m_nRows <= 0 || !m_hWnd) return;
    CRect rect;
    GetClientRect(rect);
    Spread(m_arRowHeights, rect.Height() - GetVirtualHeight());
    if (m_bAllowDraw) Invalidate();
}

void tkxGridCtrl::ExpandToFit()
{
    ExpandColumnsToFit();
    ExpandRowsToFit();
    ExpandColumnsToFit();
}

// ---------------------------------------------------------------------------
// Visibility.

// Scrolls by whole rows (columns): one line with the line scroll, which
// moves the pixels already drawn; more at once to the position those line
// scrolls would reach, with one repaint.
void tkxGridCtrl::ScrollLines(int bar, int lines)
{
    if (lines == 0) return;
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    if (lines == 1 || lines == -1) {
        SendMessage(message, lines > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        return;
    }
    if (::GetFocus() != m_hWnd) SetFocus();
    m_TitleTip.Hide();
    const GridExtents& sizes = bar == SB_VERT ? m_arRowHeights : m_arColWidths;
    const int fixed = bar == SB_VERT ? m_nFixedRows : m_nFixedCols;
    const int count = bar == SB_VERT ? m_nRows : m_nCols;
    const CCellID topLeft = GetTopleftNonFixedCell();
    const int first = bar == SB_VERT ? topLeft.row : topLeft.col;
    const int pos = GetScrollPos32(bar);
    long long target;
    if (lines > 0) {
        const int last = std::min(first + lines, count);
        target = pos + sizes.Span(first, last);
        target = std::min<long long>(target, bar == SB_VERT ? m_nVScrollMax : m_nHScrollMax);
    } else {
        const int from = std::max(first + lines, fixed);
        target = std::max<long long>(0, pos - sizes.Span(from, first));
    }
    if (target == pos) return;
    SetScrollPos32(bar, static_cast<int>(target));
    Invalidate();
}

void tkxGridCtrl::EnsureVisible(int nRow, int nCol)
{
    const CCellRange visible = GetVisibleNonFixedCellRange();
    ScrollLines(SB_HORZ, std::max(0, nCol - visible.GetMaxCol()));
    ScrollLines(SB_HORZ, -std::max(0, visible.GetMinCol() - nCol));
    ScrollLines(SB_VERT, std::max(0, nRow - visible.GetMaxRow()));
    ScrollLines(SB_VERT, -std::max(0, visible.GetMinRow() - nRow));

    CRect rect, client;
    GetClientRect(client);
    if (GetCellRect(nRow, nCol, rect)) {
        if (rect.right > client.right) SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
        if (rect.bottom > client.bottom) SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    }
}

BOOL tkxGridCtrl::IsCellVisible(int nRow, int nCol) const
{
    if (!m_hWnd) return FALSE;
    CCellID topLeft;
    if (nRow >= m_nFixedRows || nCol >= m_nFixedCols) {
        topLeft = GetTopleftNonFixedCell();
        if (nCol >= m_nFixedCols && nCol < topLeft.col) return FALSE;
        if (nRow >= m_nFixedRows && nRow < topLeft.row) return FALSE;
    }
    CRect client;
    GetClientRect(client);
    const long long left = nCol < m_nFixedCols ? m_arColWidths.Start(std::min(nCol, m_arColWidths.Count()))
                                               : GetFixedColumnWidth() + m_arColWidths.Span(topLeft.col, std::min(nCol, m_arColWidths.Count()));
    if (left >= client.right) return FALSE;
    const long long top = nRow < m_nFixedRows ? m_arRowHeights.Start(std::min(nRow, m_arRowHeights.Count()))
                                              : GetFixedRowHeight() + m_arRowHeights.Span(topLeft.row, std::min(nRow, m_arRowHeights.Count()));
    if (top >= client.bottom) return FALSE;
    return TRUE;
}

BOOL tkxGridCtrl::InvalidateCellRect(const CCellID& cell)
{
    if (!m_hWnd || !m_bAllowDraw || !IsCellVisible(cell)) return FALSE;
    CRect rect;
    if (!GetCellRect(cell, rect)) return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

BOOL tkxGridCtrl::InvalidateCellRect(const CCellRange& range)
{
    if (!m_hWnd || !m_bAllowDraw) return FALSE;
    const CCellRange visible = GetVisibleNonFixedCellRange();
    const CCellRange both(std::max(range.GetMinRow(), visible.GetMinRow()),
                          std::max(range.GetMinCol(), visible.GetMinCol()),
                          std::min(range.GetMaxRow(), visible.GetMaxRow()),
                          std::min(range.GetMaxCol(), visible.GetMaxCol()));
    CRect rect;
    if (!GetCellRangeRect(both, rect)) return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Sorting.  Each sort is a quick sort over whole rows with the middle row's
// key as pivot; rows are exchanged only when their keys differ.  The keys
// are read once, before the sort, and the exchanges are made on the keys
// with the rows' places; the rows then take their new places in one pass.
// The shorter part is sorted first, and a range that keeps splitting badly
// (a column that rises and falls again, as the elevations over a crest do)
// is finished by a heap sort, so every sort takes n log n steps and little
// stack.

namespace {

template <class Key, class Less, class Differ>
struct RowSorter {
    std::vector<Key>& keys;
    std::vector<int>& rows;
    int base;
    Less less;
    Differ differ;

    const Key& At(int row) const { return keys[static_cast<size_t>(row - base)]; }
    void Swap(int a, int b)
    {
        std::swap(keys[static_cast<size_t>(a - base)], keys[static_cast<size_t>(b - base)]);
        std::swap(rows[static_cast<size_t>(a - base)], rows[static_cast<size_t>(b - base)]);
    }

    void Quick(int low, int high, int depth)
    {
        while (low < high) {
            if (depth-- <= 0) {
                Heap(low, high);
                return;
            }
            const Key pivot = At((low + high) / 2);
            int i = low, j = high;
            while (j >= i) {
                while (i < high && less(At(i), pivot)) ++i;
                while (j > low && less(pivot, At(j))) --j;
                if (i <= j) {
                    if (differ(At(i), At(j))) Swap(i, j);
                    ++i;
                    --j;
                }
            }
            if (j - low < high - i) {
                if (low < j) Quick(low, j, depth);
                low = i;
            } else {
                if (i < high) Quick(i, high, depth);
                high = j;
            }
        }
    }

    void Sift(int low, int root, int end)
    {
        for (;;) {
            int child = low + 2 * (root - low) + 1;
            if (child > end) return;
            if (child + 1 <= end && less(At(child), At(child + 1))) ++child;
            if (!less(At(root), At(child))) return;
            Swap(root, child);
            root = child;
        }
    }

    void Heap(int low, int high)
    {
        for (int start = low + (high - low - 1) / 2; start >= low; --start) Sift(low, start, high);
        for (int end = high; end > low; --end) {
            if (differ(At(low), At(end))) Swap(low, end);
            Sift(low, low, end - 1);
        }
    }
};

// Sorts the keys of rows low..high (keys[0] is row low's) with the rows
// they came from; the result names the row that takes each place.  Keys
// in `less`'s order already come back in place: on them the quick sort
// exchanges nothing (every exchange it considers is between keys neither
// of which is less than the other, equal in an order that is a strict weak
// ordering), so `ordered` tells whether the keys' order is one.
template <class Key, class Less, class Differ>
std::vector<int> QuickSortRows(std::vector<Key>& keys, int low, int high, Less less, Differ differ, bool ordered)
{
    std::vector<int> rows(keys.size());
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = low + static_cast<int>(i);
    if (ordered) {
        size_t i = 1;
        while (i < keys.size() && !less(keys[i], keys[i - 1])) ++i;
        if (i >= keys.size()) return rows;
    }
    RowSorter<Key, Less, Differ> sorter{keys, rows, low, less, differ};
    int depth = 8;
    for (int n = high - low + 1; n > 1; n >>= 1) depth += 2;
    sorter.Quick(low, high, depth);
    return rows;
}

// The rows of keys low, low + 1, ... in the order of their keys (numbers,
// none of them NaN), sorted by their bits a byte at a time; false when two
// keys lie within 0.00001 of each other (`differ` false).
template <class Differ>
bool OrderIfApart(const std::vector<double>& keys, int low, bool ascending, Differ differ, std::vector<int>& order)
{
    const size_t count = keys.size();
    order.resize(count);
    for (size_t i = 0; i < count; ++i) order[i] = low + static_cast<int>(i);
    size_t inOrder = 1;
    while (inOrder < count && (ascending ? keys[inOrder - 1] < keys[inOrder] : keys[inOrder - 1] > keys[inOrder]) &&
           differ(keys[inOrder - 1], keys[inOrder]))
        ++inOrder;
    if (inOrder >= count) return true;

    struct Item {
        uint64_t bits; // ascending with the key
        int row;
    };
    std::vector<Item> items(count), spare(count);
    for (size_t i = 0; i < count; ++i) {
        uint64_t bits;
        std::memcpy(&bits, &keys[i], sizeof bits);
        bits = (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
        items[i] = {ascending ? bits : ~bits, low + static_cast<int>(i)};
    }
    for (int shift = 0; shift < 64; shift += 8) {
        size_t counts[257] = {};
        for (const Item& item : items) ++counts[((item.bits >> shift) & 0xFF) + 1];
        if (counts[((items[0].bits >> shift) & 0xFF) + 1] == count) continue; // one byte value: nothing moves
        for (int b = 0; b < 256; ++b) counts[b + 1] += counts[b];
        for (const Item& item : items) spare[counts[(item.bits >> shift) & 0xFF]++] = item;
        items.swap(spare);
    }
    auto key = [&](size_t i) { return keys[static_cast<size_t>(items[i].row - low)]; };
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && !differ(key(i - 1), key(i))) return false;
        order[i] = items[i].row;
    }
    return true;
}

} // namespace

void tkxGridCtrl::PlaceRows(int low, const std::vector<int>& order)
{
    std::vector<GRID_ROW*> rows(order.size());
    std::vector<int> heights(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        rows[i] = m_RowData[order[i]];
        heights[i] = m_arRowHeights.Get(order[i]);
    }
    for (size_t i = 0; i < order.size(); ++i) {
        const int row = low + static_cast<int>(i);
        m_RowData[row] = rows[i];
        m_arRowHeights.Set(row, heights[i]);
    }
}

void tkxGridCtrl::ColumnTexts(int nCol, int low, int high, std::vector<const CString*>& texts,
                              std::vector<CString>& copies) const
{
    const size_t count = static_cast<size_t>(high - low + 1);
    texts.resize(count);
    if (!TextsAreTheCells()) {
        copies.resize(count);
        for (size_t i = 0; i < count; ++i) {
            copies[i] = GetItemText(low + static_cast<int>(i), nCol);
            texts[i] = &copies[i];
        }
        return;
    }
    // The rows and cells of a sorted column lie all over memory: each row
    // is fetched some rows ahead of its use, and its cell pointer a few.
    static const CString noText;
    const size_t ahead = 16;
    std::vector<const CGridCell*> cells(count);
    const bool inColumns = nCol >= 0 && nCol < m_nCols;
    for (size_t i = 0; i < count; ++i) {
        if (i + 2 * ahead < count) __builtin_prefetch(m_RowData[low + static_cast<int>(i + 2 * ahead)]);
        if (i + ahead < count && inColumns)
            if (const GRID_ROW* row = m_RowData[low + static_cast<int>(i + ahead)])
                __builtin_prefetch(row->GetData() + nCol);
        cells[i] = GetCell(low + static_cast<int>(i), nCol);
    }
    for (size_t i = 0; i < count; ++i) texts[i] = cells[i] ? &cells[i]->szText : &noText;
}

BOOL tkxGridCtrl::SortTextItems(int nCol, int ascending)
{
    ResetSelectedRange();
    return SortTextItems(nCol, ascending, m_nFixedRows, -1);
}

BOOL tkxGridCtrl::SortTextItems(int nCol, int ascending, int low, int high)
{
    if (nCol >= GetColumnCount()) return FALSE;
    if (high == -1) high = GetRowCount() - 1;
    if (low >= high) return FALSE;
    EndEditing();
    std::vector<const CString*> texts;
    std::vector<CString> copies;
    ColumnTexts(nCol, low, high, texts, copies);
    auto differ = [](const CString* a, const CString* b) { return a->Compare(*b) != 0; };
    PlaceRows(low, ascending ? QuickSortRows(texts, low, high,
                                             [](const CString* a, const CString* b) { return a->Compare(*b) < 0; },
                                             differ, true)
                             : QuickSortRows(texts, low, high,
                                             [](const CString* a, const CString* b) { return a->Compare(*b) > 0; },
                                             differ, true));
    return TRUE;
}

BOOL tkxGridCtrl::SortByDat(int low, int high, int nCol, int ascending, int)
{
    if (nCol >= GetColumnCount()) return FALSE;
    if (high == -1) high = GetRowCount() - 1;
    if (low >= high) return FALSE;
    EndEditing();
    std::vector<const CString*> texts;
    std::vector<CString> copies;
    ColumnTexts(nCol, low, high, texts, copies);
    // The strings, and then the characters of their texts (held in the
    // string itself when short), fetched some rows ahead of their use.
    const size_t count = texts.size(), ahead = 16;
    std::vector<double> keys(count);
    for (size_t i = 0; i < count; ++i) {
        if (i + 2 * ahead < count) {
            // A string may span two cache lines.
            __builtin_prefetch(texts[i + 2 * ahead]);
            __builtin_prefetch(reinterpret_cast<const char*>(texts[i + 2 * ahead] + 1) - 1);
        }
        if (i + ahead < count) __builtin_prefetch(texts[i + ahead]->GetString());
        keys[i] = grid_sort::NumericKey(texts[i]->GetString(), static_cast<size_t>(texts[i]->GetLength()));
    }
    auto differ = [](double a, double b) { return a - b > 0.00001 || b - a > 0.00001; };
    // A key that is no number (a text "nan") stands in no order.
    const bool ordered = std::none_of(keys.begin(), keys.end(), [](double k) { return std::isnan(k); });
    // Keys that all lie more than 0.00001 apart have one sorted order, the
    // one the quick sort reaches (it then exchanges whatever it finds out of
    // order): any sort finds it.  Only equal and nearly equal keys need the
    // quick sort's own steps.
    std::vector<int> order;
    if (ordered && OrderIfApart(keys, low, ascending != 0, differ, order)) {
        PlaceRows(low, order);
        return TRUE;
    }
    order = ascending ? QuickSortRows(keys, low, high, [](double a, double b) { return a < b; }, differ, ordered)
                      : QuickSortRows(keys, low, high, [](double a, double b) { return a > b; }, differ, ordered);
    PlaceRows(low, order);
    return TRUE;
}

BOOL tkxGridCtrl::SortItems(PFNLVCOMPARE compare, int nCol, int ascending, LPARAM data)
{
    ResetSelectedRange();
    return SortItems(compare, nCol, ascending, data, m_nFixedRows, -1);
}

BOOL tkxGridCtrl::SortItems(PFNLVCOMPARE compare, int nCol, int ascending, LPARAM data, int low, int high)
{
    if (nCol >= GetColumnCount() || !compare) return FALSE;
    if (high == -1) high = GetRowCount() - 1;
    if (low >= high) return FALSE;
    EndEditing();
    std::vector<LPARAM> keys;
    keys.reserve(static_cast<size_t>(high - low + 1));
    for (int row = low; row <= high; ++row) keys.push_back(GetItemData(row, nCol));
    auto differ = [&](LPARAM a, LPARAM b) { return compare(a, b, data) != 0; };
    // A caller's comparison need not be an order: it is asked as the sort
    // asks, always.
    PlaceRows(low, ascending ? QuickSortRows(keys, low, high,
                                             [&](LPARAM a, LPARAM b) { return compare(a, b, data) < 0; }, differ,
                                             false)
                             : QuickSortRows(keys, low, high,
                                             [&](LPARAM a, LPARAM b) { return compare(a, b, data) > 0; }, differ,
                                             false));
    return TRUE;
}

BOOL tkxGridCtrl::SwapRow(int first, int second, int redraw)
{
    if (first < 0 || first >= m_nRows || second < 0 || second >= m_nRows) return FALSE;
    EndEditing();
    for (int col = 0; col < m_nCols; ++col) {
        const CString text = GetItemText(first, col);
        SetItemText(first, col, GetItemText(second, col));
        SetItemText(second, col, text);
    }
    if (redraw == 1) {
        RedrawRow(first);
        RedrawRow(second);
    }
    m_bModified = TRUE;
    return TRUE;
}

// ---------------------------------------------------------------------------
// The mouse.

BOOL tkxGridCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    if (m_nRowsPerWheelNotch == -1) {
        const int pages = delta / 120;
        for (int i = 0; i < pages; ++i) PostMessage(WM_VSCROLL, SB_PAGEUP, 0);
        for (int i = 0; i < -pages; ++i) PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    } else {
        const int lines = delta * m_nRowsPerWheelNotch / 120;
        for (int i = 0; i < lines; ++i) PostMessage(WM_VSCROLL, SB_LINEUP, 0);
        for (int i = 0; i < -lines; ++i) PostMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    }
    UpdateWindow();
    return TRUE;
}

void tkxGridCtrl::InvertDivider(bool vertical, int at)
{
    CRect client;
    GetClientRect(client);
    CDC* dc = GetDC();
    if (!dc) return;
    if (vertical)
        dc->InvertRect(CRect(at, client.top, at + 2, client.bottom));
    else
        dc->InvertRect(CRect(client.left, at, client.right, at + 2));
    ReleaseDC(dc);
}

void tkxGridCtrl::OnMouseMove(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(client);
    if (m_MouseMode != MOUSE_DRAGGING && !client.PtInRect(point)) return;

    if (flags & MK_LBUTTON) {
        if (!IsValid(m_LeftClickDownCell)) {
            m_LastMousePoint = point;
            return;
        }
        switch (m_MouseMode) {
        case MOUSE_SELECT_COL:
        case MOUSE_SELECT_ROW:
        case MOUSE_SELECT_CELLS: {
            const CCellID cell = GetCellFromPt(point);
            if (!IsValid(cell)) break;
            OnSelecting(cell);
            if (cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) SetFocusCell(cell);
            break;
        }
        case MOUSE_SIZING_ROW:
            InvertDivider(false, m_LastMousePoint.y);
            InvertDivider(false, point.y);
            break;
        case MOUSE_SIZING_COL:
            InvertDivider(true, m_LastMousePoint.x);
            InvertDivider(true, point.x);
            break;
        case MOUSE_PREPARE_DRAG: OnBeginDrag(); break;
        default: break;
        }
    } else {
        const bool inFixedRows = point.y < GetFixedRowHeight();
        const bool inFixedCols = point.x < GetFixedColumnWidth();
        auto arrow = [&]() {
            if (m_MouseMode != MOUSE_NOTHING) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            m_MouseMode = MOUSE_NOTHING;
        };
        if (inFixedRows && m_bAllowColumnResize) {
            const CCellID cell = GetCellFromPt(point);
            CPoint start;
            if (IsValid(cell) && GetCellOrigin(cell, &start) &&
                ((point.x - start.x <= m_nResizeCaptureRange && cell.col != 0) ||
                 start.x + GetColumnWidth(cell.col) - point.x <= m_nResizeCaptureRange)) {
                if (m_MouseMode != MOUSE_OVER_COL_DIVIDE) ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
                m_MouseMode = MOUSE_OVER_COL_DIVIDE;
            } else {
                arrow();
            }
        } else if (inFixedCols && m_bAllowRowResize) {
            const CCellID cell = GetCellFromPt(point);
            CPoint start;
            if (IsValid(cell) && GetCellOrigin(cell, &start) &&
                ((point.y - start.y <= m_nResizeCaptureRange && cell.row != 0) ||
                 start.y + GetRowHeight(cell.row) - point.y <= m_nResizeCaptureRange)) {
                if (m_MouseMode != MOUSE_OVER_ROW_DIVIDE) ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
                m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
            } else {
                arrow();
            }
        } else {
            arrow();
        }

        if (m_MouseMode == MOUSE_NOTHING && m_bTitleTips) {
            const CCellID cell = GetCellFromPt(point);
            CRect rect;
            if (IsValid(cell) && GetCellRect(cell, rect)) {
                CString text = GetItemText(cell.row, cell.col);
                text.Trim();
                if (!text.IsEmpty()) m_TitleTip.Show(rect, text, 0);
            } else if (!IsValid(cell) && m_bRButtonMenu) {
                m_TitleTip.Show(CRect(point.x, point.y, point.x + 35, point.y + 15), L"表格编辑，点右键菜单", 10);
            }
        }
    }
    m_LastMousePoint = point;
}

void tkxGridCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    const HWND hadFocus = ::GetFocus();
    m_LeftClickDownPoint = point;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell)) return;

    m_SelectionStartCell = (flags & MK_SHIFT) ? m_idCurrentCell : m_LeftClickDownCell;
    SetFocus();

    if (m_LeftClickDownCell == m_idCurrentCell && !IsReadOnly(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        m_MouseMode = MOUSE_PREPARE_EDIT;
        return;
    }
    if (!IsReadOnly(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) {
        SetFocusCell(-1, -1);
        SetFocusCell(std::max(m_LeftClickDownCell.row, m_nFixedRows), std::max(m_LeftClickDownCell.col, m_nFixedCols));
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, VK_LBUTTON);
        return;
    }
    if (m_bAllowDragAndDrop && hadFocus == m_hWnd &&
        (GetItemState(m_LeftClickDownCell.row, m_LeftClickDownCell.col) & GVIS_SELECTED)) {
        m_MouseMode = MOUSE_PREPARE_DRAG;
        return;
    }

    SetCapture();
    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE) {
        m_MouseMode = MOUSE_SIZING_COL;
        CPoint start;
        if (!GetCellOrigin(0, m_LeftClickDownCell.col, &start)) return;
        InvertDivider(true, point.x);
        if (point.x - start.x <= m_nResizeCaptureRange) {
            --m_LeftClickDownCell.col;
            if (!GetCellOrigin(0, m_LeftClickDownCell.col, &start)) return;
        }
        CRect clip;
        GetClientRect(clip);
        clip.left = start.x;
        ClientToScreen(clip);
        ::ClipCursor(clip);
    } else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
        m_MouseMode = MOUSE_SIZING_ROW;
        CPoint start;
        if (!GetCellOrigin(m_LeftClickDownCell, &start)) return;
        InvertDivider(false, point.y);
        if (point.y - start.y <= m_nResizeCaptureRange) {
            --m_LeftClickDownCell.row;
            if (!GetCellOrigin(m_LeftClickDownCell.row, 0, &start)) return;
        }
        CRect clip;
        GetClientRect(clip);
        clip.top = start.y;
        ClientToScreen(clip);
        ::ClipCursor(clip);
    } else {
        m_PrevSelectedCellMap.RemoveAll();
        if (flags & MK_CONTROL) {
            for (POSITION pos = m_SelectedCellMap.GetStartPosition(); pos;) {
                ULONGLONG key;
                CCellID cell;
                m_SelectedCellMap.GetNextAssoc(pos, key, cell);
                m_PrevSelectedCellMap.SetAt(key, cell);
            }
        }
        if (m_LeftClickDownCell.row < m_nFixedRows) {
            OnFixedRowClick(m_LeftClickDownCell);
        } else if (m_LeftClickDownCell.col < m_nFixedCols) {
            OnFixedColumnClick(m_LeftClickDownCell);
        } else {
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            OnSelecting(m_LeftClickDownCell);
        }
        m_nTimerID = SetTimer(kAutoScrollTimer, static_cast<UINT>(m_nTimerInterval));
    }
    m_LastMousePoint = point;
}

void tkxGridCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    (void)flags;
    Default();
    ::ClipCursor(nullptr);
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
        if (m_nTimerID) KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }

    if (m_MouseMode == MOUSE_PREPARE_EDIT) {
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, VK_LBUTTON);
    } else if (m_MouseMode == MOUSE_PREPARE_DRAG) {
        ResetSelectedRange();
    } else if (m_MouseMode == MOUSE_SIZING_COL) {
        InvertDivider(true, m_LastMousePoint.x);
        CPoint start;
        if (point != m_LeftClickDownPoint && GetCellOrigin(0, m_LeftClickDownCell.col, &start)) {
            SetColumnWidth(m_LeftClickDownCell.col, point.x - start.x);
            ResetScrollBars();
            Invalidate();
        }
    } else if (m_MouseMode == MOUSE_SIZING_ROW) {
        InvertDivider(false, m_LastMousePoint.y);
        CPoint start;
        if (point != m_LeftClickDownPoint && GetCellOrigin(m_LeftClickDownCell.row, 0, &start)) {
            SetRowHeight(m_LeftClickDownCell.row, point.y - start.y);
            ResetScrollBars();
            Invalidate();
        }
    }
    m_MouseMode = MOUSE_NOTHING;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));

    CWnd* owner = GetOwner();
    if (IsValid(m_LeftClickDownCell) && owner && owner->m_hWnd)
        owner->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID() & 0xFFFF, 0), reinterpret_cast<LPARAM>(m_hWnd));
}

void tkxGridCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE) {
        CCellID cell = GetCellFromPt(point);
        CPoint start;
        if (IsValid(cell) && GetCellOrigin(0, cell.col, &start)) {
            if (point.x - start.x <= m_nResizeCaptureRange) --cell.col;
            AutoSizeColumn(cell.col);
            Invalidate();
        }
    } else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
        CCellID cell = GetCellFromPt(point);
        CPoint start;
        if (IsValid(cell) && GetCellOrigin(cell.row, 0, &start)) {
            if (point.y - start.y <= m_nResizeCaptureRange) --cell.row;
            AutoSizeRow(cell.row);
            Invalidate();
        }
    } else if (m_MouseMode == MOUSE_NOTHING) {
        if (IsValid(m_LeftClickDownCell) && m_LeftClickDownCell.row >= m_nFixedRows &&
            m_LeftClickDownCell.col >= m_nFixedCols) {
            if (!m_bEditable || IsReadOnly(m_LeftClickDownCell.row, m_LeftClickDownCell.col)) return;
            m_MouseMode = MOUSE_PREPARE_EDIT;
            SetFocusCell(m_LeftClickDownCell);
            OnEditCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col, VK_LBUTTON);
        } else if (m_bListMode) {
            const CCellID cell = GetCellFromPt(point);
            if (IsValid(cell) && cell.col < m_nFixedCols && cell.row >= m_nFixedRows)
                OnEditCell(cell.row, cell.col, VK_LBUTTON);
        }
    }
    CWnd::OnLButtonDblClk(flags, point);
}

void tkxGridCtrl::OnFixedRowClick(CCellID& cell)
{
    if (!IsValid(cell)) return;
    if (!m_bListMode) {
        m_MouseMode = cell.col < m_nFixedCols ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
        OnSelecting(cell);
    } else if (m_bSortOnClick) {
        HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        if (cell.col == m_SortColumn) {
            m_bAscending = !m_bAscending;
        } else {
            m_bAscending = TRUE;
            m_SortColumn = cell.col;
        }
        SortTextItems(m_SortColumn, m_bAscending);
        Invalidate();
        ::SetCursor(old);
    }
}

void tkxGridCtrl::OnFixedColumnClick(CCellID& cell)
{
    if (!IsValid(cell)) return;
    m_MouseMode = cell.row < m_nFixedRows ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    OnSelecting(cell);
}
