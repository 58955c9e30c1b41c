// tkxGridCtrl: the library's editable table.
//
// A child window showing a rectangular array of cells: fixed (heading) rows
// at the top and fixed columns at the left stay in place while the rest
// scrolls.  Cells are edited in place (an edit box, or a drop-down list in
// tkxComboGridCtrl), the keyboard moves a focus cell, the mouse selects,
// sizes rows and columns and starts editing, a title tip shows texts too
// long for their cells, and the right button opens a menu of row commands.
// Texts travel through the clipboard and by drag and drop, print on pages
// and save to and load from delimited text files.
//
// Read-only cells: every fixed row and column, the rows up to the read-only
// row limit and the read-only columns (IsReadOnly), and cells carrying the
// state bit GVIS_READONLY.  No key, edit, cut, paste or drop changes them.
//
// Large tables: row heights and column widths are kept with their running
// sums, so painting, scrolling and hit-testing cost the same whatever the
// number of rows; only the visible cells are drawn.
//
// Notifications go to the owner (the parent when no owner is set): WM_NOTIFY
// with an NM_GRIDVIEW (GVN_* codes, GridCell.h), and the WM_GRID_* messages.
#pragma once
#include "corvane/ui/GridCell.h"
#include "corvane/ui/GridDropTarget.h"
#include "corvane/ui/GridExtents.h"
#include "corvane/ui/GridMemDC.h"
#include "corvane/ui/TitleTip.h"
#include <memory>
#include <vector>

class TextWidths;

// The window class of the grid.
#define GRIDCTRL_CLASSNAME L"MFCTvGridCtrl"

// Mouse modes (GetMouseMode).
enum : int {
    MOUSE_NOTHING = 0,
    MOUSE_SELECT_ALL = 1,
    MOUSE_SELECT_COL = 2,
    MOUSE_SELECT_ROW = 3,
    MOUSE_SELECT_CELLS = 4,
    MOUSE_OVER_ROW_DIVIDE = 6,
    MOUSE_SIZING_ROW = 7,
    MOUSE_OVER_COL_DIVIDE = 8,
    MOUSE_SIZING_COL = 9,
    MOUSE_PREPARE_EDIT = 10,
    MOUSE_PREPARE_DRAG = 11,
    MOUSE_DRAGGING = 12,
};

// Commands of the right-button menu (also sent to the parent as WM_COMMAND
// after the row commands).
enum : UINT {
    ID_GRID_ADDROW = 40060,
    ID_GRID_INSERTROW = 40061,
    ID_GRID_DELETEROW = 40062,
    ID_GRID_ROWUP = 40070,
    ID_GRID_ROWDOWN = 40071,
    ID_GRID_AUTOCOLWIDTH = 40073,
    ID_GRID_SORTUP = 40075,
    ID_GRID_SORTDOWN = 40076,
};

// The comparison of SortItems: (data of one cell, data of another, the
// caller's value) -> negative, zero or positive.
typedef int(CALLBACK* PFNLVCOMPARE)(LPARAM, LPARAM, LPARAM);

class CORVANE_API tkxGridCtrl : public CWnd
{
    DECLARE_DYNCREATE(tkxGridCtrl)
public:
    tkxGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~tkxGridCtrl() override;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id, DWORD style = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);
    BOOL SubclassWindow(HWND hwnd);
    void PreSubclassWindow() override;
    BOOL DestroyWindow() override;

    // ---- Overridable operations ------------------------------------------
    // The text of a cell (empty outside the grid).
    virtual CString GetItemText(int nRow, int nCol) const;
    // The clipboard and drag and drop carry the selection as CF_TEXT: a
    // line per row, a tab between fields; unselected cells give empty
    // fields, empty selected cells one space.  Pasting splits lines at line
    // feeds and fields at tabs and commas (several in a row count as one)
    // and never writes into read-only cells.
    virtual void CutSelectedText();
    virtual COleDataSource* CopyTextFromGrid(); // the caller releases it; null without a selection
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* dataObject);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    // Printing: the whole width of the grid across the page, the headings
    // on every page, a header and a footer.  A caller's own print loop may
    // drive these with its print record.
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);

protected:
    virtual void PrintColumnHeadings(CDC* dc, CPrintInfo* info);
    virtual void PrintHeader(CDC* dc, CPrintInfo* info);
    virtual void PrintFooter(CDC* dc, CPrintInfo* info);

public:
    virtual CImageList* CreateDragImage(CPoint* hotSpot);
    virtual void OnFixedColumnClick(CCellID& cell);
    virtual void OnFixedRowClick(CCellID& cell);

protected:
    virtual CSize GetCellExtent(int nRow, int nCol, CDC* dc);

public:
    virtual void OnEndEditCell(int nRow, int nCol, CString str);
    virtual void OnEditCell(int nRow, int nCol, UINT nChar);
    virtual void CreateInPlaceEditControl(CRect& rect, DWORD style, UINT id, int nRow, int nCol, LPCTSTR text,
                                          int nChar);
    virtual void OnDraw(CDC* dc);

protected:
    virtual BOOL DrawFixedCell(CDC* dc, int nRow, int nCol, CRect rect, BOOL erase = FALSE);
    virtual BOOL DrawCell(CDC* dc, int nRow, int nCol, CRect rect, BOOL erase = FALSE);
    virtual CGridCell* CreateCell(int nRow, int nCol);
    virtual void EmptyCell(CGridCell* cell, int nRow, int nCol);

public:
    // ---- Counts and sizes ------------------------------------------------
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    BOOL SetRowCount(int nRows = 10);
    BOOL SetColumnCount(int nCols = 10);
    BOOL SetFixedRowCount(int nFixedRows = 1);
    BOOL SetFixedColumnCount(int nFixedCols = 1);

    int GetRowHeight(int nRow) const;
    BOOL SetRowHeight(int row, int height);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int col, int width);
    BOOL SetColumnsWidth(int first, int last, int width);
    void SetDefaultRowHeight(int height);
    int GetDefaultRowHeight() const { return m_nDefCellHeight; }
    int GetDefaultColumnWidth() const { return m_nDefCellWidth; }
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    long GetVirtualWidth() const;
    long GetVirtualHeight() const;
    CSize GetTextExtent(const wchar_t* text, int bold = 0);
    BOOL AutoSizeColumn(int nCol);
    BOOL AutoSizeRow(int nRow);
    void AutoSizeColumns();
    void AutoSizeRows();
    void AutoSize();
    void ExpandColumnsToFit();
    void ExpandRowsToFit();
    void ExpandToFit();

    // ---- Colours and appearance ------------------------------------------
    void SetTextColor(COLORREF c) { m_crTextColour = c; }
    COLORREF GetTextColor() const { return m_crTextColour; }
    void SetTextBkColor(COLORREF c) { m_crTextBkColour = c; }
    COLORREF GetTextBkColor() const { return m_crTextBkColour; }
    void SetBkColor(COLORREF c) { m_crBkColour = c; }
    COLORREF GetBkColor() const { return m_crBkColour; }
    void SetFixedTextColor(COLORREF c) { m_crFixedTextColour = c; }
    COLORREF GetFixedTextColor() const { return m_crFixedTextColour; }
    void SetFixedBkColor(COLORREF c) { m_crFixedBkColour = c; }
    COLORREF GetFixedBkColor() const { return m_crFixedBkColour; }
    void SetGridColor(COLORREF c) { m_crGridColour = c; }
    COLORREF GetGridColor() const { return m_crGridColour; }
    void SetReadOnlyColor(COLORREF c) { m_crReadOnlyColour = c; }
    COLORREF GetReadOnlyColor() const { return m_crReadOnlyColour; }
    void SetGridLines(int lines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    void SetImageList(CImageList* list) { m_pImageList = list; }
    CImageList* GetImageList() const { return m_pImageList; }

    // ---- Behaviour --------------------------------------------------------
    void SetEditable(BOOL editable = TRUE) { m_bEditable = editable; }
    BOOL IsEditable() const { return m_bEditable; }
    void SetModified(BOOL modified = TRUE) { m_bModified = modified; }
    BOOL GetModified() const { return m_bModified; }
    void EnableDragAndDrop(BOOL allow = TRUE) { m_bAllowDragAndDrop = allow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetListMode(BOOL list = TRUE) { m_bListMode = list; }
    BOOL GetListMode() const { return m_bListMode; }
    void EnableSelection(BOOL enable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetEnableSort(int enable) { m_bSortEnabled = enable == 1; }
    BOOL GetEnableSort() const { return m_bSortEnabled; }
    void SetHeaderSort(BOOL sort = TRUE) { m_bSortOnClick = sort; }
    BOOL GetHeaderSort() const { return m_bSortOnClick; }
    void SetHandleTabKey(BOOL handle = TRUE) { m_bHandleTabKey = handle; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetDoubleBuffering(BOOL buffer = TRUE) { m_bDoubleBuffer = buffer; }
    BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(BOOL enable = TRUE) { m_bTitleTips = enable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    void EnableRButtonMenu(BOOL enable = TRUE) { m_bRButtonMenu = enable; }
    BOOL GetEnableRButtonMenu() const { return m_bRButtonMenu; }
    void SetRowResize(BOOL resize = TRUE) { m_bAllowRowResize = resize; }
    BOOL GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(BOOL resize = TRUE) { m_bAllowColumnResize = resize; }
    BOOL GetColumnResize() const { return m_bAllowColumnResize; }
    int SetMouseMode(int mode);
    int GetMouseMode() const { return m_MouseMode; }
    // Rows 0 up to and including `row` are read-only (-1: none).
    void SetReadOnlyRow(int row) { m_nReadOnlyRow = row; }
    int GetReadOnlyRow() const { return m_nReadOnlyRow; }
    // Up to 20 read-only columns; FALSE when all places are taken.
    BOOL SetReadOnlyColumn(int col, BOOL readOnly = TRUE);
    tkxTitleTip& GetTitleTip() { return m_TitleTip; }
    int GetWheelScrollLines() const { return m_nRowsPerWheelNotch; }

    // ---- Cells and items --------------------------------------------------
    BOOL SetItem(const GV_ITEM* item);
    BOOL GetItem(GV_ITEM* item);
    BOOL SetItemText(int nRow, int nCol, const wchar_t* text);
    BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
    LPARAM GetItemData(int nRow, int nCol) const;
    BOOL SetItemImage(int nRow, int nCol, int image);
    int GetItemImage(int nRow, int nCol) const;
    BOOL SetItemState(int nRow, int nCol, UINT state);
    UINT GetItemState(int nRow, int nCol) const;
    BOOL SetItemFormat(int nRow, int nCol, UINT format);
    UINT GetItemFormat(int nRow, int nCol) const;
    BOOL SetItemBkColour(int nRow, int nCol, COLORREF colour = CLR_DEFAULT);
    COLORREF GetItemBkColour(int nRow, int nCol) const;
    BOOL SetItemFgColour(int nRow, int nCol, COLORREF colour = CLR_DEFAULT);
    COLORREF GetItemFgColour(int nRow, int nCol) const;
    BOOL SetItemFont(int nRow, int nCol, const LOGFONTW* font);
    LOGFONTW* GetItemFont(int nRow, int nCol);
    BOOL SetColumnFormat(int nCol, UINT format);

    int InsertColumn(const wchar_t* heading, UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE, int nColumn = -1);
    int InsertRow(const wchar_t* heading, int nRow = -1);
    BOOL DeleteColumn(int nColumn);
    BOOL DeleteRow(int nRow, int noRepaint = 0);
    BOOL DeleteNonFixedRows();
    BOOL DeleteAllItems();

    CCellID GetNextItem(CCellID& start, int flags) const;
    BOOL IsReadOnly(int nRow, int nCol) const;
    void SetCurrentCell(int nRow, int nCol);
    void SetCurrentRow(int nRow, int nCol, int nLastCol);
    void GetCurrentCellInfo(int& nRow, int& nCol, CString& text);

    // ---- Geometry, focus and selection -----------------------------------
    BOOL IsValid(int nRow, int nCol) const;
    BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    BOOL IsValid(const CCellRange& range) const;
    CCellRange GetCellRange() const { return CCellRange(0, 0, m_nRows - 1, m_nCols - 1); }
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p) const;
    BOOL GetCellOrigin(const CCellID& cell, LPPOINT p) const { return GetCellOrigin(cell.row, cell.col, p); }
    BOOL GetCellRect(int nRow, int nCol, LPRECT rect) const;
    BOOL GetCellRect(const CCellID& cell, LPRECT rect) const { return GetCellRect(cell.row, cell.col, rect); }
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    CCellRange GetSelectedCellRange() const;
    int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.GetCount()); }
    void SetSelectedRange(const CCellRange& range, BOOL forceRepaint = FALSE);
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL forceRepaint = FALSE);
    void EnsureVisible(CCellID& cell) { EnsureVisible(cell.row, cell.col); }
    void EnsureVisible(int nRow, int nCol);

    // ---- Painting ---------------------------------------------------------
    void SetRedraw(BOOL allow, BOOL resetScrollBars = FALSE);
    BOOL RedrawCell(int nRow, int nCol, CDC* dc = nullptr);
    BOOL RedrawCell(const CCellID& cell, CDC* dc = nullptr) { return RedrawCell(cell.row, cell.col, dc); }
    BOOL RedrawRow(int row);
    BOOL RedrawColumn(int col);
    BOOL RedrawList();
    void EraseBkgnd(CDC* dc);

    // ---- Sorting ----------------------------------------------------------
    BOOL SortTextItems(int nCol, int ascending);
    BOOL SortByDat(int low, int high, int nCol, int ascending, int reserved = 1);
    BOOL SortItems(PFNLVCOMPARE compare, int nCol, int ascending, LPARAM data = 0);
    BOOL SwapRow(int first, int second, int redraw = 1);

    // ---- Drag and drop and printing ---------------------------------------
    // A drag of the selection (the mouse starts it); the drop side, reached
    // through the grid's drop target.
    void OnBeginDrag();
    DROPEFFECT OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point);
    DROPEFFECT OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point);
    void OnDragLeave();
    BOOL OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point);
    // Shows the print dialog and prints on OK.
    void Print();

    // ---- Delimited text files ---------------------------------------------
    // Save writes every row, the heading row first, its texts separated by
    // `separator`; 1, or 0 after a message.  Load reads such a file with
    // comma separators: the first line gives the columns, each further line
    // a row; the columns are then sized to their texts.  A grid that cannot
    // be edited loads nothing (0).
    BOOL Save(const wchar_t* path, const wchar_t* separator);
    BOOL Load(const wchar_t* path);

    BOOL RegisterWindowClass();
    CGridCell* GetCell(int nRow, int nCol) const;
    BOOL SetCell(int nRow, int nCol, CGridCell* cell);
    LRESULT SendMessageToParent(int nRow, int nCol, int nMessage);

    // Geometry.
    CCellID GetCellFromPt(CPoint point, BOOL allowFixedCellCheck = TRUE) const;
    CCellID GetTopleftNonFixedCell() const;
    CCellRange GetVisibleNonFixedCellRange(LPRECT rect = nullptr) const;
    CCellRange GetUnobstructedNonFixedCellRange() const;
    BOOL GetCellRangeRect(const CCellRange& range, LPRECT rect) const;
    BOOL IsCellVisible(int nRow, int nCol) const;
    BOOL IsCellVisible(CCellID cell) const { return IsCellVisible(cell.row, cell.col); }
    BOOL InvalidateCellRect(const CCellID& cell);
    BOOL InvalidateCellRect(const CCellRange& range);

    // Scrolling.
    int GetScrollPos32(int bar, BOOL getTrackPos = FALSE) const;
    BOOL SetScrollPos32(int bar, int pos, BOOL redraw = TRUE);
    void ResetScrollBars();

    // Focus and selection.
    CCellID SetFocusCell(CCellID cell);
    CCellID SetFocusCell(int nRow, int nCol) { return SetFocusCell(CCellID(nRow, nCol)); }
    void SelectAllCells();
    void SelectColumns(CCellID currentCell);
    void SelectRows(CCellID currentCell);
    void SelectCells(CCellID currentCell);
    void OnSelecting(const CCellID& currentCell);
    void ResetSelectedRange();

    // Sorting ranges.
    BOOL SortTextItems(int nCol, int ascending, int low, int high);
    BOOL SortItems(PFNLVCOMPARE compare, int nCol, int ascending, LPARAM data, int low, int high);

    // Message handlers.
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT nChar, UINT repeat, UINT flags);
    void OnChar(UINT nChar, UINT repeat, UINT flags);
    void OnTimer(UINT_PTR id);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnSysColorChange();
    void OnCaptureChanged(CWnd* wnd);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnLastCellMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNextCellMessage(WPARAM wParam, LPARAM lParam);
    void OnEndInPlaceEdit(NMHDR* hdr, LRESULT* result);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnUpdateEditCopy(CCmdUI* cmdUI);
    void OnUpdateEditCut(CCmdUI* cmdUI);
    void OnUpdateEditPaste(CCmdUI* cmdUI);
    void OnUpdateEditSelectAll(CCmdUI* cmdUI);
    void OnMenuAdd();
    void OnMenuInsert();
    void OnMenuDelete();
    void OnMenuUp();
    void OnMenuDown();
    void OnMenuAutocolwidth();
    void OnMenuColumnsortUp();
    void OnMenuColumnsortDown();
    DECLARE_MESSAGE_MAP()

    // ---- State ------------------------------------------------------------
    int m_nReadOnlyRow;
    int m_nReadOnlyCols[20];
    COLORREF m_crTextColour, m_crTextBkColour, m_crBkColour;
    COLORREF m_crFixedTextColour, m_crFixedBkColour, m_crGridColour;
    COLORREF m_crWindowText, m_crWindowColour, m_cr3DFace, m_crShadow;
    COLORREF m_crReadOnlyColour;
    int m_nGridLines;
    BOOL m_bEditable;
    BOOL m_bModified;
    BOOL m_bAllowDragAndDrop;
    BOOL m_bListMode;
    BOOL m_bAllowDraw;
    BOOL m_bEnableSelection;
    BOOL m_bSortEnabled;
    BOOL m_bSortOnClick;
    BOOL m_bHandleTabKey;
    BOOL m_bDoubleBuffer;
    BOOL m_bTitleTips;
    BOOL m_bRButtonMenu;
    int m_nRows, m_nFixedRows, m_nCols, m_nFixedCols;
    GridExtents m_arRowHeights;
    GridExtents m_arColWidths;
    int m_nMargin;
    int m_nDefCellWidth;
    int m_nDefCellHeight;
    int m_nVScrollMax, m_nHScrollMax;
    LOGFONTW m_Logfont;
    CFont m_PrinterFont;
    CFont m_Font;
    CImageList* m_pImageList;
    CString m_sTextBeforeEdit;
    // A row: the array of its cells.  Rows, like cells, are taken from
    // blocks of many.
    class CORVANE_API GRID_ROW : public CArray<CGridCell*, CGridCell*>
    {
    public:
        static void* operator new(size_t size);
        static void operator delete(void* row, size_t size);
    };
    CArray<GRID_ROW*, GRID_ROW*> m_RowData;
    int m_MouseMode;
    CPoint m_LeftClickDownPoint, m_LastMousePoint;
    CCellID m_LeftClickDownCell, m_SelectionStartCell;
    CCellID m_idCurrentCell;
    UINT_PTR m_nTimerID;
    int m_nTimerInterval;
    int m_nResizeCaptureRange;
    BOOL m_bAllowRowResize, m_bAllowColumnResize;
    int m_nRowsPerWheelNotch;
    // Selected cells by cell key (row and column in one 64-bit value).
    CMap<ULONGLONG, ULONGLONG, CCellID, const CCellID&> m_SelectedCellMap, m_PrevSelectedCellMap;
    tkxTitleTip m_TitleTip;
    BOOL m_bMustUninitOLE;
    CCellID m_LastDragOverCell;
    CGridDropTarget m_DropTarget;
    BOOL m_bAscending;
    int m_SortColumn;
    // Printing metrics (logical units are the grid's pixels).
    CSize m_CharSize;
    int m_nPageHeight;
    int m_nPageWidth;
    int m_nPrintRowsHeight; // for the rows below the headings on one page
    int m_nPrinterWidth, m_nPrinterHeight;

private:
    static ULONGLONG CellKey(int row, int col)
    {
        return (static_cast<ULONGLONG>(static_cast<UINT>(col)) << 32) | static_cast<UINT>(row);
    }
    void ApplyFont(const LOGFONTW& lf);
    void ReadWheelScrollLines();
    BOOL MoveFocusOnKey(UINT nChar, CCellID& next, BOOL& wrapped);
    void ScrollLines(int bar, int lines);
    int TopLeftIndex(const GridExtents& sizes, int fixed, int count, int pos) const;
    // Rows low, low + 1, ... become the rows order[0], order[1], ... were,
    // with their heights.
    void PlaceRows(int low, const std::vector<int>& order);
    // The texts of rows low..high of a column (CellText), those an
    // overridden GetItemText gave kept in `copies`.
    void ColumnTexts(int nCol, int low, int high, std::vector<const CString*>& texts,
                     std::vector<CString>& copies) const;
    void ReleaseOle();
    void ReleaseResources();
    BOOL IsCellLocked(int nRow, int nCol) const;
    CFont* BoldFont();
    void InvertDivider(bool vertical, int at);

    HFONT CachedFont(const LOGFONTW& lf); // the cells' fonts, made once each
    void ReleaseFonts();
    // The width table of a font, made the first time it is asked for.
    TextWidths& WidthsFor(const LOGFONTW& lf);
    // GetCellExtent's size of a cell from its measured text (none when the
    // text is empty) and its image.
    CSize CellExtentOf(const SIZE* text, int image) const;
    class ColumnSizer; // GridColumnSizer.h
    // A row Load read, appended to a grid of one of the library's classes
    // as InsertRow(fields[0], -1) and SetItemText of the other fields
    // append it to a grid Load has emptied, and measured for the columns.
    void AppendReadRow(const std::vector<const wchar_t*>& fields, ColumnSizer& sizer);
    // The extent of a text in a font made from `lf`, as the platform
    // measures it on `dc`: from the widths of the font's characters, each
    // measured once.
    SIZE MeasureText(HDC dc, HFONT font, const LOGFONTW& lf, const wchar_t* text, int length);
    // The text of a cell for measuring, sorting and saving: the cell's own
    // text, read in place when the grid is of one of the library's classes
    // (their GetItemText gives the cell's text); otherwise the overridden
    // GetItemText's answer, kept in `copy`.
    const CString& CellText(int nRow, int nCol, CString& copy) const;
    bool TextsAreTheCells() const;
    void ReleaseMeasureDC();
    void Scroll(int bar, UINT code);
    std::vector<CCellID> SelectedCells() const; // a copy: the cells may leave the selection meanwhile
    int LargestExtent(bool column, int index);
    void DestroyCell(CGridCell* cell, int nRow, int nCol); // through EmptyCell; a null cell is passed over
    void DestroyRow(int nRow); // every cell through EmptyCell, then the row

    void MenuSort(BOOL ascending);
    // Ends an in-place editor still open over a cell before rows or columns
    // move, so that its text goes to the cell it was opened on.
    void EndEditing();
    bool IsDataRow(int nRow) const { return nRow >= m_nFixedRows && nRow > m_nReadOnlyRow && nRow < m_nRows; }
    void PrintRows(CDC* dc, int first, int last, bool headings);

    CFont m_BoldFont;         // the cell font with weight 600, made on demand
    std::vector<int> m_printPageStarts; // the first row of each page
    bool m_bPasteIncomplete = false;    // the last paste left fields out
    HDC m_hMeasureDC = nullptr; // measures heading texts
    std::vector<std::pair<LOGFONTW, HFONT>> m_fontCache;
    std::vector<std::unique_ptr<TextWidths>> m_textWidths; // by font, as many as m_fontCache holds
    bool m_bResettingScroll = false;
    bool m_bEditorStarted = false; // an in-place editor was started since the last EndEditing
};
