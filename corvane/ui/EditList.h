// tkxEditList: a report list control (created with LVS_REPORT and
// LVS_OWNERDRAWFIXED) that edits a row-and-column data file as a table.
//
// Each column has an editor type: none, an in-place edit box, or a
// drop-down list of m_saComboList (filled before the first drop-down
// opens).  A click opens the cell's editor; Tab, Up and Down move it; rows
// are appended, inserted, deleted, copied, pasted and moved from the
// right-button menu or with Ctrl+Up/Down/Home/End/Enter.  A first column
// headed "序号" or "Index" is renumbered 1, 2, 3 ... after every change.
//
// Messages to the parent:
//   WM_USER+104 (0, row)     an editor opened on a new row and column
//   WM_NOTIFY NM_CLICK       the list's own click record
//   WM_NOTIFY LVN_ENDLABELEDITW with sEditListEndEdit (to the owner) when
//                            the in-place edit ends, or with sEndEditInfo
//                            when the edit loses the focus with a changed
//                            text or a drop-down entry is chosen
//   WM_COMMAND (id, 0)       after a row command (ids below)
//
// Files: ReadFile/WriteFile the data file (8-bit text, one row a line,
// fields split at blanks, tabs and commas on reading; tab-separated on
// writing, comma-separated for ".csv"), ExportCSV/ImportCSV the CSV form.
// Each returns 1, or 0 with the library's last-error text set.  A failed
// write leaves the old file as it was.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/ui/BitmapCombo.h"
#include "corvane/ui/CtrlEdit.h"

#define WM_EDITLIST_NEWCELL (WM_USER + 104)

// The record sent when the in-place edit ends.
struct sEditListEndEdit {
    NMHDR hdr;          // the list, its id, LVN_ENDLABELEDITW
    int nRow;
    int nColumn;
    int nKind;          // 5
    int nReserved[3];   // 0
    CString strNew;     // the cell's new text
    CString strOld;     // its text before
};

class CORVANE_API tkxEditList : public CListCtrl
{
    DECLARE_DYNAMIC(tkxEditList)
public:
    enum eType { eNone = 0, eEdit = 1, eCombo = 2 };
    // Row commands: menu ids, and the ids the parent is told.
    enum {
        ID_ROW_APPEND = 40060,
        ID_ROW_INSERT = 40061,
        ID_ROW_DELETE = 40062,
        ID_ROW_DELETEALL = 40063,
        ID_ROW_COPY = 32779,
        ID_ROW_PASTE = 32780,
        ID_ROW_TOP = 32776,
        ID_ROW_UP = 40070,
        ID_ROW_DOWN = 40071,
        ID_ROW_BOTTOM = 32778,
        ID_CSV_EXPORT = 32774,
        ID_CSV_IMPORT = 32775,
        IDC_EDITLIST_EDIT = 12000,
        IDC_EDITLIST_COMBO = 12001,
    };

    tkxEditList();
    ~tkxEditList() override;

    CStringArray m_saComboList; // entries of every drop-down editor

    // Columns.  Each inserted column adds a type 0 entry at the end.
    int InsertColumn(int index, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    int InsertColumn(int index, const LVCOLUMNW* column);
    // An index outside the columns throws the invalid-argument exception.
    void SetColumnType(eType type, int column);
    BOOL DeleteColumn(int column);
    int DeleteAllColumn();
    int GetColumnCount() const;
    CString GetColumnText(int column) const;
    BOOL SetColumnText(int column, const wchar_t* text);

    // Rows and drawing (these hide the editors first).
    BOOL DeleteItem(int row);
    BOOL DeleteAllItems();
    BOOL EnableWindow(int enable);
    int GetFirstSelectItem() const;
    void SetItemHeight(UINT height);
    void Invalidate(int erase = TRUE);
    void UpdateIndex(int redraw);
    // Swaps the texts of two rows and selects row b; 0 for a row outside
    // the list.
    int SwapRow(int a, int b, int redraw);
    void SetEnableMenu(int enable) { m_bEnableMenu = enable; }
    int GetEnableMenu() const { return m_bEnableMenu; }
    // Extensions that a file dropped on the list must have (".dmx", "DMX").
    void AddDropFileExt(const wchar_t* ext);

    // The cell being edited or last clicked (-1: none).
    int GetCurRow() const { return m_nCurRow; }
    int GetCurColumn() const { return m_nCurCol; }
    const CStringArray& GetCopiedRow() const { return m_saCopiedRow; }

    // Files.
    int ReadFile(const wchar_t* path, const wchar_t* guide = nullptr);
    int WriteFile(const wchar_t* path, const wchar_t* guide = nullptr);
    int ExportCSV(const wchar_t* path);
    int ImportCSV(const wchar_t* path);

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis);
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    BOOL OnClick(NMHDR* hdr, LRESULT* result);
    void OnEditKillFocus();
    void OnComboSelChange();
    void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnDropFiles(HDROP drop);
    void OnDestroy();
    void OnAppendRow();
    void OnInsertRow();
    void OnDeleteRows();
    void OnDeleteAllRows();
    void OnCopyRow();
    void OnPasteRow();
    void OnMoveTop();
    void OnMoveUp();
    void OnMoveDown();
    void OnMoveBottom();
    void OnExportCSV();
    void OnImportCSV();
    DECLARE_MESSAGE_MAP()

private:
    void HideEditors();
    void OpenEditor(int row, int column);
    bool CellInList(int row, int column) const;
    void EndInPlaceEdit(const CString& text);
    void NotifyText(const CString& text);
    void TellParent(UINT id);
    void CopyRow(int row);
    void PasteRow(int position);
    void InsertRow(int position, const CStringArray& cells);
    void RowCells(int row, CStringArray& cells) const;
    void MoveRowTo(int row, int position);
    int Ask(const wchar_t* text, const wchar_t* caption);

    CStringArray m_saDropExts;
    UINT m_nItemHeight = 20;
    tkxCtrlEdit m_edit;
    tkxComboBox m_combo;
    CArray<int, int> m_naColumnTypes;
    int m_nCurRow = -1;
    int m_nCurCol = -1;
    int m_nLastTop = 0;
    int m_bEnableMenu = 1;
    CStringArray m_saCopiedRow;
};
