// The grid's in-place editors: an edit box (CInPlaceEdit) and a drop-down
// list (CInPlaceList, with CComboEdit for the edit part of an editable
// drop-down).  An editor is made with new exactly over a cell, takes the
// keyboard focus, and when it loses the focus reports its final text and
// the key that ended editing to its owner (WM_NOTIFY GVN_ENDLABELEDIT with a
// GV_DISPINFO), then closes and deletes itself.  It reports once.
//
// A constructor whose window cannot be made leaves an object without a
// window (GetSafeHwnd() null) that nobody else owns: the caller deletes it.
#pragma once
#include "corvane/ui/GridCell.h"

class CORVANE_API CInPlaceEdit : public CEdit
{
public:
    CInPlaceEdit(CWnd* parent, CRect& rect, DWORD style, UINT id, int row, int col, CString initText, UINT firstChar);
    ~CInPlaceEdit() override = default;

    BOOL PreTranslateMessage(MSG* msg) override;
    void EndEdit();

protected:
    void PostNcDestroy() override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);
    DECLARE_MESSAGE_MAP()

private:
    void Leave(UINT key); // remembers the key and gives the focus back to the grid

    int m_nRow;
    int m_nCol;
    CString m_sInitText;
    UINT m_nLastChar = 0;
    bool m_bCreating = true;
    bool m_bEnded = false;
};

// The edit part of an editable CInPlaceList (the combo box's child 1001).
class CORVANE_API CComboEdit : public CEdit
{
public:
    CComboEdit() = default;
    ~CComboEdit() override = default;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);
    DECLARE_MESSAGE_MAP()
};

class CORVANE_API CInPlaceList : public CComboBox
{
public:
    CInPlaceList(CWnd* parent, CRect& rect, DWORD style, UINT id, int row, int col, CStringArray& items,
                 CString initText, UINT firstChar);
    ~CInPlaceList() override = default;

    void EndEdit();
    int GetVisibleLines() const { return m_nNumLines; }

    CComboEdit m_edit;

protected:
    void PostNcDestroy() override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnKillFocus(CWnd* newWnd);
    void OnSelChange();
    DECLARE_MESSAGE_MAP()

private:
    friend class CComboEdit;
    void Leave(UINT key);
    bool IsDropDownList() const { return (GetStyle() & 0x3) == CBS_DROPDOWNLIST; }

    int m_nNumLines = 0;
    CString m_sInitText;
    int m_nInitIndex = -1; // the entry equal to the initial text, -1 when none
    int m_nRow;
    int m_nCol;
    UINT m_nLastChar = 0;
    bool m_bCreating = true;
    bool m_bEnded = false;
};
