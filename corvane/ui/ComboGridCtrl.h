// tkxComboGridCtrl: a grid whose listed columns are edited with a drop-down
// list of fixed entries instead of an edit box.  Each combo column carries
// its entries joined by "|".  When a list is made the parent gets
// WM_GRID_COMBOCREATED (row and cell text); a change of the list's selection
// reaches the parent as WM_GRID_COMBOCHANGE (selected index and text).
#pragma once
#include "corvane/ui/GridCtrl.h"

struct sComboItem {
    int nCol = -1;
    CString strItems; // the entries, joined by "|"
};

class CORVANE_API tkxComboGridCtrl : public tkxGridCtrl
{
public:
    tkxComboGridCtrl();
    ~tkxComboGridCtrl() override;

    void AddComboColumn(sComboItem item) { m_comboColumns.Add(item); }
    void Reset() { m_comboColumns.RemoveAll(); }
    int GetComboColumnCount() const { return static_cast<int>(m_comboColumns.GetSize()); }

    void OnEditCell(int nRow, int nCol, UINT nChar) override;
    void CreateInPlaceEditControl(CRect& rect, DWORD style, UINT id, int nRow, int nCol, LPCTSTR text,
                                  int nChar) override;

protected:
    LRESULT CaptureComboboxChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CArray<sComboItem, const sComboItem&> m_comboColumns;
};
