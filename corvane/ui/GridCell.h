// The grid control's value types: a cell position (CCellID), a block of
// cells (CCellRange), one cell (CGridCell), the item record callers fill
// (GV_ITEM) with its mask bits, the cell state bits and the records of the
// grid's notifications.
#pragma once
#include "corvane/CorvaneDefs.h"

// GV_ITEM mask: which fields of the record count.
enum : UINT {
    GVIF_TEXT = 0x01,
    GVIF_IMAGE = 0x02,
    GVIF_PARAM = 0x04,
    GVIF_STATE = 0x08,
    GVIF_BKCLR = 0x10,
    GVIF_FGCLR = 0x20,
    GVIF_FORMAT = 0x40,
    GVIF_FONT = 0x80,
};

// Cell state bits.
enum : UINT {
    GVIS_FOCUSED = 0x01,     // the focus cell
    GVIS_SELECTED = 0x02,    // in the selection
    GVIS_DROPHILITED = 0x04, // under a drag (drawn with a frame)
    GVIS_READONLY = 0x08,    // editing, deleting, cutting, pasting and dropping refuse it
};

// GetNextItem: the state bits looked for go in the low bits, with one of
// these directions (GVNI_BELOW | GVNI_TORIGHT searches the whole grid).
enum : int {
    GVNI_ABOVE = 0x100,
    GVNI_BELOW = 0x200,
    GVNI_TOLEFT = 0x400,
    GVNI_TORIGHT = 0x800,
    GVNI_ALL = GVNI_BELOW | GVNI_TORIGHT,
};

// Grid lines.
enum : int { GVL_NONE = 0, GVL_HORZ = 1, GVL_VERT = 2, GVL_BOTH = 3 };

// WM_NOTIFY codes the grid sends its parent (record NM_GRIDVIEW).
enum : int {
    GVN_FOCUSCHANGED = -173,   // a cell became the focus cell
    GVN_FOCUSLEAVING = -174,   // the focus leaves a cell
    GVN_BEGINLABELEDIT = -175, // in-place editing is about to start
    GVN_ENDLABELEDIT = -176,   // in-place editing has ended (also the editors' report to the grid)
    GVN_BEGINDRAG = -109,      // a drag of the selection begins
};

// Messages the grid sends its parent.
#define WM_GRID_CELLCHANGED (WM_USER + 100)  // an edit changed a cell's text: lParam MAKELONG(row, column)
#define WM_GRID_COMBOCREATED (WM_USER + 102) // a drop-down list was created: lParam sGridComboInfo*
#define WM_GRID_COMBOCHANGE (WM_USER + 103)  // a drop-down list's selection changed: lParam sGridComboInfo*
#define WM_GRID_BEGINEDIT (WM_USER + 104)    // an edit box is about to be created: lParam MAKELONG(row, column)

// The control identifier of the in-place editors.
#define IDC_GRID_INPLACE 8

class CORVANE_API CCellID
{
public:
    CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}
    bool IsValid() const { return row >= 0 && col >= 0; }
    bool operator==(const CCellID& other) const { return row == other.row && col == other.col; }
    bool operator!=(const CCellID& other) const { return !(*this == other); }

    int row;
    int col;
};

class CORVANE_API CCellRange
{
public:
    CCellRange(int minRow = -1, int minCol = -1, int maxRow = -1, int maxCol = -1) { Set(minRow, minCol, maxRow, maxCol); }
    void Set(int minRow, int minCol, int maxRow, int maxCol)
    {
        m_nMinRow = minRow;
        m_nMinCol = minCol;
        m_nMaxRow = maxRow;
        m_nMaxCol = maxCol;
    }
    int GetMinRow() const { return m_nMinRow; }
    int GetMinCol() const { return m_nMinCol; }
    int GetMaxRow() const { return m_nMaxRow; }
    int GetMaxCol() const { return m_nMaxCol; }
    void SetMinRow(int row) { m_nMinRow = row; }
    void SetMinCol(int col) { m_nMinCol = col; }
    void SetMaxRow(int row) { m_nMaxRow = row; }
    void SetMaxCol(int col) { m_nMaxCol = col; }
    int Count() const { return IsValid() ? (m_nMaxRow - m_nMinRow + 1) * (m_nMaxCol - m_nMinCol + 1) : 0; }
    // All four bounds set and each maximum at least its minimum (the grid's
    // IsValid also checks them against its counts).
    bool IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 && m_nMaxRow >= m_nMinRow &&
               m_nMaxCol >= m_nMinCol;
    }
    bool InRange(int row, int col) const
    {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    bool InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }
    CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
    bool operator==(const CCellRange& o) const
    {
        return m_nMinRow == o.m_nMinRow && m_nMinCol == o.m_nMinCol && m_nMaxRow == o.m_nMaxRow &&
               m_nMaxCol == o.m_nMaxCol;
    }
    bool operator!=(const CCellRange& o) const { return !(*this == o); }

private:
    int m_nMinRow, m_nMinCol, m_nMaxRow, m_nMaxCol;
};

// One cell of the grid.  Colours of CLR_DEFAULT (0xFF000000) mean "the
// grid's colour".
//
// A grid holds a million cells and more: cells are not taken from the heap
// one by one but from blocks of many cells, and the place of a cell deleted
// is used again.  A class derived from CGridCell that is larger gets its
// objects from the heap as usual; `delete` of any cell, through any pointer
// type, gives its memory back where it came from.
class CORVANE_API CGridCell : public CObject
{
public:
    CGridCell();
    // A cell holding the font and format, as a grid makes it.
    CGridCell(const LOGFONTW& font, UINT format) : nFormat(format), lfFont(font) {}
    ~CGridCell() override = default;

    static void* operator new(size_t size);
    static void operator delete(void* cell, size_t size);

    UINT state = 0;
    UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    CString szText;
    int iImage = -1;
    COLORREF crBkClr = CLR_DEFAULT;
    COLORREF crFgClr = CLR_DEFAULT;
    LPARAM lParam = 0;
    LOGFONTW lfFont;
};

// The record of SetItem and GetItem.
struct CORVANE_API GV_ITEM {
    GV_ITEM();
    int row;
    int col;
    UINT mask;
    UINT state;
    UINT nFormat;
    CString szText;
    CString szTextAlt; // carried with the record only
    int iImage;
    COLORREF crBkClr;
    COLORREF crFgClr;
    LPARAM lParam;
    LOGFONTW lfFont;
};

// WM_NOTIFY record of the grid's notifications to its parent.
struct NM_GRIDVIEW {
    NMHDR hdr;
    int iRow;
    int iColumn;
};

// WM_NOTIFY record of an in-place editor's report to the grid: row,
// column, the final text (mask GVIF_TEXT | GVIF_PARAM) and, as lParam, the
// key that ended editing (0 when none did).
struct GV_DISPINFO {
    NMHDR hdr;
    GV_ITEM item;
};

// Record of WM_GRID_COMBOCREATED (row, cell text) and WM_GRID_COMBOCHANGE
// (selected index, the list's text); the first two words carry nothing.
struct sGridComboInfo {
    DWORD reserved1 = 0;
    DWORD reserved2 = 0;
    int nIndex = 0;
    CString text;
};
