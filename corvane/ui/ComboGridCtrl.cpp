#include "corvane/ui/ComboGridCtrl.h"
#include "corvane/base/TextLines.h"
#include "corvane/ui/GridInPlace.h"

BEGIN_MESSAGE_MAP(tkxComboGridCtrl, tkxGridCtrl)
    ON_MESSAGE(WM_GRID_COMBOCHANGE, CaptureComboboxChange)
END_MESSAGE_MAP()

tkxComboGridCtrl::tkxComboGridCtrl() : tkxGridCtrl(0, 0, 0, 0) {}

tkxComboGridCtrl::~tkxComboGridCtrl() = default;

void tkxComboGridCtrl::OnEditCell(int nRow, int nCol, UINT nChar) { tkxGridCtrl::OnEditCell(nRow, nCol, nChar); }

void tkxComboGridCtrl::CreateInPlaceEditControl(CRect& rect, DWORD style, UINT id, int nRow, int nCol, LPCTSTR text,
                                                int nChar)
{
    for (INT_PTR i = 0; i < m_comboColumns.GetSize(); ++i) {
        if (m_comboColumns[i].nCol != nCol) continue;
        CStringArray items;
        tkx_SplitString(m_comboColumns[i].strItems, L"|", items);
        auto* list = new CInPlaceList(this, rect, CBS_DROPDOWNLIST, id, nRow, nCol, items, text,
                                      static_cast<UINT>(nChar));
        if (!list->GetSafeHwnd()) {
            delete list;
            return;
        }
        if (CWnd* parent = GetParent()) {
            sGridComboInfo info;
            info.nIndex = nRow;
            info.text = text;
            parent->SendMessage(WM_GRID_COMBOCREATED, 0, reinterpret_cast<LPARAM>(&info));
        }
        return;
    }
    (void)style;
    tkxGridCtrl::CreateInPlaceEditControl(rect, style, id, nRow, nCol, text, nChar);
}

LRESULT tkxComboGridCtrl::CaptureComboboxChange(WPARAM wParam, LPARAM lParam)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_GRID_COMBOCHANGE, wParam, lParam);
    return 0;
}
