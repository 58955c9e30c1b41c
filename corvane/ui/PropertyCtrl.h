// tkxPropertyCtrl: a two-column property list on an owner-drawn list box
// (fixed rows, with strings) of the program's dialog, attached by
// subclassing.  Rows show a name and a value under group header rows that
// collapse; the selected row gets an in-place editor over its value: a text
// edit, a drop-down list of choices, or an edit with a horizontal spin (1 ..
// maximum), plus up to two small icon buttons at the right end.  Colour
// items show a swatch of their colour before the value text.
//
// The program fills the control with the AddItem family and then calls
// RefreshContent (nothing touches the rows before that); setters change the
// entries only, Refresh shows them.  Edits are reported by messages posted
// to the list box's parent:
//   WM_PROPERTY_VALUECHANGED  wParam the item's index, lParam the new spin
//                             value, the index of a drop-down's value among
//                             its options (-1 for none), else 0
//   WM_PROPERTY_BUTTON1 / 2   wParam the current item's index
// Keys (also in the editors): Tab, Enter and Down go to the next row (Tab
// leaves the list after the last row), Up to the previous, Esc leaves the
// list.  The column divider can be dragged when enabled.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/ui/BitmapCombo.h"
#include "corvane/ui/IconButton.h"

#define WM_PROPERTY_VALUECHANGED (WM_USER + 106)
#define WM_PROPERTY_BUTTON1 (WM_USER + 107)
#define WM_PROPERTY_BUTTON2 (WM_USER + 108)

// One property or one group.
class CORVANE_API CPropertyItem
{
public:
    enum { TYPE_GROUP = 0, TYPE_TEXT = 1, TYPE_COMBO = 2, TYPE_SPIN = 3, TYPE_COLOR = 4 };

    CPropertyItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, int type, int enable, int id,
                  DWORD data, const CStringArray& options);
    virtual ~CPropertyItem();

    CString m_SGroup;         // the group it belongs to (a group: its own name)
    CString m_SName;          // the name column
    CString m_SValue;         // the value as text
    CStringArray m_saOptions; // choices of a drop-down item
    int m_nType;
    int m_bEnable;            // items: editable; groups: expanded
    int m_nID;
    DWORD m_dwData;           // spin: the maximum; colour: the colour
    int m_bButton1 = 0;
    int m_bButton2 = 0;
    UINT m_nButton1In = 0, m_nButton1Out = 0;
    UINT m_nButton2In = 0, m_nButton2Out = 0;

private:
    CPropertyItem(const CPropertyItem&) = delete;
    CPropertyItem& operator=(const CPropertyItem&) = delete;
};

class CORVANE_API tkxPropertyCtrl : public CListBox
{
    DECLARE_DYNAMIC(tkxPropertyCtrl)
public:
    enum { IDC_PROPERTY_EDIT = 10001, IDC_PROPERTY_COMBO, IDC_PROPERTY_SPIN, IDC_PROPERTY_BUTTON1,
           IDC_PROPERTY_BUTTON2 };

    tkxPropertyCtrl();
    ~tkxPropertyCtrl() override;

    // Adding: the new item's index, or -1 (nothing added).  A missing group
    // is appended first; the item goes after the last item of its group.
    int AddItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, int enable = 1);
    // The number as text without trailing zeros (3.0 gives "3").
    int AddItem(const wchar_t* group, const wchar_t* name, double value, int enable = 1);
    int AddItem(const wchar_t* group, const wchar_t* name, int value, int enable = 1);
    // A spin item 1 .. maximum; -1 unless 0 < value <= maximum.
    int AddItem(const wchar_t* group, const wchar_t* name, int maximum, int value, int enable);
    // A drop-down item; the options are split at the separator.  The value is
    // the option `selected` (held to the first and last).
    int AddComboItem(const wchar_t* group, const wchar_t* name, int selected, const wchar_t* options,
                     const wchar_t* separator, int enable = 1);
    // The value is the first option equal to `value`, else empty.
    int AddComboItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, const wchar_t* options,
                     const wchar_t* separator, int enable = 1);
    int AddColorItem(const wchar_t* group, const wchar_t* name, COLORREF color, const wchar_t* value,
                     int enable = 1);

    // Look-ups (names compare case-sensitively); -1 when not found.
    int SearchGroupIndex(const wchar_t* group) const;
    int GetItemIndex(const wchar_t* name) const;
    int GetSize() const { return static_cast<int>(m_items.GetSize()); }
    // The index in the entries of the selected row's item, -1 for none.
    int GetCurSel() const;
    int GetWidth() const;
    int GetColumnWidth() const { return m_nColumnWidth; }
    // The entry the editors show (-1 for none).
    int GetCurItem() const { return m_nCurItem; }

    // Getters: 0 for an index outside the entries (and as stated).
    int GetItemValue(int index, CString& value) const;        // 0 for a group
    int GetItemValue(int index, double& value) const;         // 0 for a group
    int GetItemValue(int index, int& value) const;            // drop-down: index of its value, -1 none
    int GetItemData(int index, unsigned long& data) const;
    int GetItemType(int index) const;                         // -1 when not found
    int GetItemName(int index, CString& name) const;
    int GetItemValue(const wchar_t* name, CString& value) const;
    int GetItemValue(const wchar_t* name, double& value) const;
    int GetItemValue(const wchar_t* name, int& value) const;
    int GetItemData(const wchar_t* name, unsigned long& data) const;
    int GetItemType(const wchar_t* name) const;
    int IsItemEnable(const wchar_t* name) const;

    // Setters: 0 for an index outside the entries (and as stated); none
    // repaints.
    int SetItemName(int index, const wchar_t* name);           // 0 for a group
    int SetItemValue(int index, const wchar_t* value);         // a drop-down only takes one of its options
    int SetItemValue(int index, int value);
    int SetItemValue(int index, double value);                 // text items only
    int SetItemData(int index, unsigned long data);
    int SetItemEnable(int index, int enable);                  // 0 for a group
    int SetEnableButton(int index, int button1, int button2);
    int SetButtonIcon(int index, UINT in1, UINT out1, UINT in2, UINT out2);
    int SetItemName(const wchar_t* name, const wchar_t* newName);
    int SetItemValue(const wchar_t* name, const wchar_t* value);
    int SetItemValue(const wchar_t* name, int value);
    int SetItemValue(const wchar_t* name, double value);
    int SetItemData(const wchar_t* name, unsigned long data);
    int SetItemEnable(const wchar_t* name, int enable);
    int SetEnableButton(const wchar_t* name, int button1, int button2);
    int SetButtonIcon(const wchar_t* name, UINT in1, UINT out1, UINT in2, UINT out2);
    // Shows (non-zero) or hides (0) a group's items; 0 when there is none.
    int SetGroupCollapse(const wchar_t* group, int expanded);

    // Display and structure.
    void SetListStyle(int style); // 0: tree style with expand boxes
    void SetRowHeight(UINT height);
    int SetColumnWidth(int width);
    int SetDragWidthEnable(int enable);
    int SetCurSel(int row);
    void RefreshContent();
    void RefreshControl(int show);
    void Refresh();
    // Deletes an item, or a group with its items; the editors are hidden,
    // the rows rebuilt and the current item reset.  0 for a bad index.
    int DeleteItem(int index);
    void RemoveAll();

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnSelChange();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnCaptureChanged(CWnd* wnd);
    HBRUSH CtlColor(CDC* dc, UINT ctlType);
    void OnEditKillFocus();
    void OnComboSelChange();
    void OnSpinDelta(NMHDR* hdr, LRESULT* result);
    void OnButton1();
    void OnButton2();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int AddItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, int type, DWORD data,
                const CStringArray& options, int enable);
    int AddPropertyGroup(const wchar_t* group, const wchar_t* caption);
    int SearchItemPos(const wchar_t* group) const;
    int SearchItemByID(int id) const;
    CPropertyItem* Item(int index) const;
    int InsertString(int index, const wchar_t* text) { return CListBox::InsertString(index, text); }
    int AddString(const wchar_t* text) { return CListBox::AddString(text); }
    int DeleteString(UINT index) { return CListBox::DeleteString(index); }
    int SetItemDataPtr(int index, void* data) { return CListBox::SetItemData(index, reinterpret_cast<DWORD_PTR>(data)); }
    CPropertyItem* GetItemDataPtr(int index) const;
    void ResetContent();
    void CreateEditors();
    void HideEditors();
    // Moves the focus off an editor that holds it, which commits its text
    // to the item it shows.
    void CommitEditor();
    void OnCurrentChanged();
    void SetData(const CString& text);
    void PostToParent(UINT message, WPARAM wParam, LPARAM lParam);
    void ToggleGroup(int row);
    void UpdateDividerRect();
    void EndDividerDrag();
    void DeleteEntries();

    CArray<CPropertyItem*, CPropertyItem*> m_items;
    CArray<CPropertyItem*, CPropertyItem*> m_disposal;
    CEdit m_edit;
    tkxComboBox m_combo;
    CSpinButtonCtrl m_spin;
    tkxIconButton m_button1;
    tkxIconButton m_button2;
    int m_nNextID = 0;
    int m_nRowHeight = 20;
    int m_nCurItem = -1;
    int m_nColumnWidth = -1;
    int m_nDragX = 0;
    int m_nTopRow = 0;
    HCURSOR m_hResizeCursor = nullptr;
    int m_bDragging = 0;
    int m_bDragEnable = 0;
    int m_bTreeStyle = 0;
    CRect m_rcDivider;
    COLORREF m_crGrey;
};
