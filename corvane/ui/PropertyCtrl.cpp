#include "corvane/ui/PropertyCtrl.h"
#include "corvane/geometry/Numeric.h"
#include "corvane/base/TextLines.h"

#include <algorithm>
#include <cwchar>

namespace {

const int kTreeIndent = 16;

// A number as text without trailing zeros or a trailing point.
CString NumberText(const wchar_t* format, double value)
{
    CString text;
    text.Format(format, value);
    if (text.Find(L'.') >= 0) {
        text.TrimRight(L'0');
        text.TrimRight(L'.');
    }
    return text;
}

CString IntText(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

int IndexOf(const CStringArray& options, const CString& value)
{
    for (INT_PTR i = 0; i < options.GetSize(); ++i)
        if (options[i] == value) return static_cast<int>(i);
    return -1;
}

} // namespace

CPropertyItem::CPropertyItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, int type, int enable,
                             int id, DWORD data, const CStringArray& options)
    : m_SGroup(group ? group : L""), m_SName(name ? name : L""), m_SValue(value ? value : L""), m_nType(type),
      m_bEnable(enable), m_nID(id), m_dwData(data)
{
    m_saOptions.Copy(options);
}

CPropertyItem::~CPropertyItem() = default;

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(tkxPropertyCtrl, CListBox)

BEGIN_MESSAGE_MAP(tkxPropertyCtrl, CListBox)
    ON_WM_CREATE()
    ON_CONTROL_REFLECT(LBN_SELCHANGE, OnSelChange)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_CTLCOLOR_REFLECT()
    ON_EN_KILLFOCUS(tkxPropertyCtrl::IDC_PROPERTY_EDIT, OnEditKillFocus)
    ON_CBN_SELCHANGE(tkxPropertyCtrl::IDC_PROPERTY_COMBO, OnComboSelChange)
    ON_NOTIFY(UDN_DELTAPOS, tkxPropertyCtrl::IDC_PROPERTY_SPIN, OnSpinDelta)
    ON_BN_CLICKED(tkxPropertyCtrl::IDC_PROPERTY_BUTTON1, OnButton1)
    ON_BN_CLICKED(tkxPropertyCtrl::IDC_PROPERTY_BUTTON2, OnButton2)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

tkxPropertyCtrl::tkxPropertyCtrl()
{
    m_hResizeCursor = ::LoadCursorW(nullptr, IDC_SIZEWE);
    m_crGrey = ::GetSysColor(COLOR_GRAYTEXT);
}

tkxPropertyCtrl::~tkxPropertyCtrl() { DeleteEntries(); }

void tkxPropertyCtrl::DeleteEntries()
{
    for (CPropertyItem* item : m_items) delete item;
    m_items.RemoveAll();
    for (CPropertyItem* item : m_disposal) delete item;
    m_disposal.RemoveAll();
}

CPropertyItem* tkxPropertyCtrl::Item(int index) const
{
    return index >= 0 && index < m_items.GetSize() ? m_items[index] : nullptr;
}

CPropertyItem* tkxPropertyCtrl::GetItemDataPtr(int index) const
{
    const DWORD_PTR data = CListBox::GetItemData(index);
    return data == static_cast<DWORD_PTR>(LB_ERR) ? nullptr : reinterpret_cast<CPropertyItem*>(data);
}

// ---------------------------------------------------------------------------
// Adding

int tkxPropertyCtrl::AddItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, int type, DWORD data,
                             const CStringArray& options, int enable)
{
    if (SearchGroupIndex(group) == -1) {
        m_items.Add(new CPropertyItem(group, L"", L"", CPropertyItem::TYPE_GROUP, 1, m_nNextID++, 0, CStringArray()));
    }
    const int pos = SearchItemPos(group);
    m_items.InsertAt(pos, new CPropertyItem(group, name, value, type, enable, m_nNextID++, data, options));
    return pos;
}

int tkxPropertyCtrl::AddPropertyGroup(const wchar_t* group, const wchar_t* caption)
{
    const int index = SearchGroupIndex(group);
    if (index >= 0) return index;
    return static_cast<int>(m_items.Add(
        new CPropertyItem(caption, L"", L"", CPropertyItem::TYPE_GROUP, 1, m_nNextID++, 0, CStringArray())));
}

int tkxPropertyCtrl::AddItem(const wchar_t* group, const wchar_t* name, const wchar_t* value, int enable)
{
    return AddItem(group, name, value, CPropertyItem::TYPE_TEXT, 0, CStringArray(), enable);
}

int tkxPropertyCtrl::AddItem(const wchar_t* group, const wchar_t* name, double value, int enable)
{
    return AddItem(group, name, NumberText(L"%.10f", value), CPropertyItem::TYPE_TEXT, 0, CStringArray(), enable);
}

int tkxPropertyCtrl::AddItem(const wchar_t* group, const wchar_t* name, int value, int enable)
{
    return AddItem(group, name, IntText(value), CPropertyItem::TYPE_TEXT, 0, CStringArray(), enable);
}

int tkxPropertyCtrl::AddItem(const wchar_t* group, const wchar_t* name, int maximum, int value, int enable)
{
    if (!(maximum > 0 && value > 0 && value <= maximum)) return -1;
    return AddItem(group, name, IntText(value), CPropertyItem::TYPE_SPIN, static_cast<DWORD>(maximum),
                   CStringArray(), enable);
}

int tkxPropertyCtrl::AddComboItem(const wchar_t* group, const wchar_t* name, int selected, const wchar_t* options,
                                  const wchar_t* separator, int enable)
{
    CStringArray choices;
    if (tkx_SplitString(options ? options : L"", separator ? separator : L"", choices) <= 0) return -1;
    selected = std::min(std::max(selected, 0), static_cast<int>(choices.GetSize()) - 1);
    return AddItem(group, name, choices[selected], CPropertyItem::TYPE_COMBO, 0, choices, enable);
}

int tkxPropertyCtrl::AddComboItem(const wchar_t* group, const wchar_t* name, const wchar_t* value,
                                  const wchar_t* options, const wchar_t* separator, int enable)
{
    CStringArray choices;
    if (tkx_SplitString(options ? options : L"", separator ? separator : L"", choices) <= 0) return -1;
    const int index = IndexOf(choices, value ? value : L"");
    return AddItem(group, name, index >= 0 ? choices[index] : CString(), CPropertyItem::TYPE_COMBO, 0, choices,
                   enable);
}

int tkxPropertyCtrl::AddColorItem(const wchar_t* group, const wchar_t* name, COLORREF color, const wchar_t* value,
                                  int enable)
{
    return AddItem(group, name, value, CPropertyItem::TYPE_COLOR, color, CStringArray(), enable);
}

// ---------------------------------------------------------------------------
// Look-ups

int tkxPropertyCtrl::SearchGroupIndex(const wchar_t* group) const
{
    const CString name = group ? group : L"";
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        if (m_items[i]->m_nType == CPropertyItem::TYPE_GROUP && m_items[i]->m_SGroup == name)
            return static_cast<int>(i);
    return -1;
}

int tkxPropertyCtrl::SearchItemPos(const wchar_t* group) const
{
    const CString name = group ? group : L"";
    const int count = GetSize();
    if (count < 2) return count;
    for (int i = 0; i + 1 < count; ++i)
        if (m_items[i]->m_SGroup == name && m_items[i + 1]->m_SGroup != name) return i + 1;
    return count;
}

int tkxPropertyCtrl::SearchItemByID(int id) const
{
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        if (m_items[i]->m_nID == id) return static_cast<int>(i);
    return -1;
}

int tkxPropertyCtrl::GetItemIndex(const wchar_t* name) const
{
    const CString text = name ? name : L"";
    for (INT_PTR i = 0; i < m_items.GetSize(); ++i)
        if (m_items[i]->m_SName == text) return static_cast<int>(i);
    return -1;
}

int tkxPropertyCtrl::GetCurSel() const
{
    if (!m_hWnd) return -1;
    const int row = CListBox::GetCurSel();
    if (row < 0) return -1;
    const CPropertyItem* item = GetItemDataPtr(row);
    return item ? SearchItemByID(item->m_nID) : -1;
}

int tkxPropertyCtrl::GetWidth() const
{
    CRect client;
    GetClientRect(&client);
    return client.Width() - (m_bTreeStyle ? kTreeIndent : 0);
}

// ---------------------------------------------------------------------------
// Getters

int tkxPropertyCtrl::GetItemValue(int index, CString& value) const
{
    const CPropertyItem* item = Item(index);
    if (!item) return 0;
    value.Empty();
    if (item->m_nType == CPropertyItem::TYPE_GROUP) return 0;
    value = item->m_SValue;
    return 1;
}

int tkxPropertyCtrl::GetItemValue(int index, double& value) const
{
    const CPropertyItem* item = Item(index);
    if (!item) return 0;
    value = 0;
    if (item->m_nType == CPropertyItem::TYPE_GROUP) return 0;
    value = wcstod(item->m_SValue, nullptr);
    return 1;
}

int tkxPropertyCtrl::GetItemValue(int index, int& value) const
{
    const CPropertyItem* item = Item(index);
    if (!item) return 0;
    value = -1;
    if (item->m_nType == CPropertyItem::TYPE_COMBO) {
        if (item->m_saOptions.IsEmpty()) return 0;
        value = IndexOf(item->m_saOptions, item->m_SValue);
        return 1;
    }
    value = static_cast<int>(wcstol(item->m_SValue, nullptr, 10));
    return 1;
}

int tkxPropertyCtrl::GetItemData(int index, unsigned long& data) const
{
    const CPropertyItem* item = Item(index);
    if (!item) return 0;
    data = 0;
    data = item->m_dwData;
    return 1;
}

int tkxPropertyCtrl::GetItemType(int index) const
{
    const CPropertyItem* item = Item(index);
    return item ? item->m_nType : -1;
}

int tkxPropertyCtrl::GetItemName(int index, CString& name) const
{
    const CPropertyItem* item = Item(index);
    if (!item) return 0;
    name = item->m_SName;
    return 1;
}

int tkxPropertyCtrl::GetItemValue(const wchar_t* name, CString& value) const
{
    return GetItemValue(GetItemIndex(name), value);
}
int tkxPropertyCtrl::GetItemValue(const wchar_t* name, double& value) const
{
    return GetItemValue(GetItemIndex(name), value);
}
int tkxPropertyCtrl::GetItemValue(const wchar_t* name, int& value) const
{
    return GetItemValue(GetItemIndex(name), value);
}
int tkxPropertyCtrl::GetItemData(const wchar_t* name, unsigned long& data) const
{
    return GetItemData(GetItemIndex(name), data);
}
int tkxPropertyCtrl::GetItemType(const wchar_t* name) const { return GetItemType(GetItemIndex(name)); }

int tkxPropertyCtrl::IsItemEnable(const wchar_t* name) const
{
    const CPropertyItem* item = Item(GetItemIndex(name));
    return item ? item->m_bEnable : 0;
}

// ---------------------------------------------------------------------------
// Setters

int tkxPropertyCtrl::SetItemName(int index, const wchar_t* name)
{
    CPropertyItem* item = Item(index);
    if (!item || item->m_nType == CPropertyItem::TYPE_GROUP) return 0;
    item->m_SName = name ? name : L"";
    return 1;
}

int tkxPropertyCtrl::SetItemValue(int index, const wchar_t* value)
{
    CPropertyItem* item = Item(index);
    if (!item || item->m_nType == CPropertyItem::TYPE_GROUP) return 0;
    const CString text = value ? value : L"";
    if (item->m_nType != CPropertyItem::TYPE_COMBO || IndexOf(item->m_saOptions, text) >= 0) item->m_SValue = text;
    return 1;
}

int tkxPropertyCtrl::SetItemValue(int index, int value)
{
    CPropertyItem* item = Item(index);
    if (!item) return 0;
    value = std::max(value, 0);
    if (item->m_nType == CPropertyItem::TYPE_COMBO) {
        if (value >= item->m_saOptions.GetSize()) return 0;
        item->m_SValue = item->m_saOptions[value];
    } else if (item->m_nType == CPropertyItem::TYPE_SPIN) {
        item->m_SValue = value >= 1 && value <= static_cast<int>(item->m_dwData) ? IntText(value) : CString(L"1");
    } else {
        item->m_SValue = IntText(value);
    }
    return 1;
}

int tkxPropertyCtrl::SetItemValue(int index, double value)
{
    CPropertyItem* item = Item(index);
    if (!item || item->m_nType != CPropertyItem::TYPE_TEXT) return 0;
    item->m_SValue = NumberText(L"%f", value);
    return 1;
}

int tkxPropertyCtrl::SetItemData(int index, unsigned long data)
{
    CPropertyItem* item = Item(index);
    if (!item) return 0;
    item->m_dwData = data;
    return 1;
}

int tkxPropertyCtrl::SetItemEnable(int index, int enable)
{
    CPropertyItem* item = Item(index);
    if (!item || item->m_nType == CPropertyItem::TYPE_GROUP) return 0;
    item->m_bEnable = enable;
    return 1;
}

int tkxPropertyCtrl::SetEnableButton(int index, int button1, int button2)
{
    CPropertyItem* item = Item(index);
    if (!item) return 0;
    item->m_bButton1 = button1;
    item->m_bButton2 = button2;
    return 1;
}

int tkxPropertyCtrl::SetButtonIcon(int index, UINT in1, UINT out1, UINT in2, UINT out2)
{
    CPropertyItem* item = Item(index);
    if (!item) return 0;
    item->m_nButton1In = in1;
    item->m_nButton1Out = out1;
    item->m_nButton2In = in2;
    item->m_nButton2Out = out2;
    return 1;
}

int tkxPropertyCtrl::SetItemName(const wchar_t* name, const wchar_t* newName)
{
    return SetItemName(GetItemIndex(name), newName);
}
int tkxPropertyCtrl::SetItemValue(const wchar_t* name, const wchar_t* value)
{
    return SetItemValue(GetItemIndex(name), value);
}
int tkxPropertyCtrl::SetItemValue(const wchar_t* name, int value) { return SetItemValue(GetItemIndex(name), value); }
int tkxPropertyCtrl::SetItemValue(const wchar_t* name, double value)
{
    return SetItemValue(GetItemIndex(name), value);
}
int tkxPropertyCtrl::SetItemData(const wchar_t* name, unsigned long data)
{
    return SetItemData(GetItemIndex(name), data);
}
int tkxPropertyCtrl::SetItemEnable(const wchar_t* name, int enable)
{
    return SetItemEnable(GetItemIndex(name), enable);
}
int tkxPropertyCtrl::SetEnableButton(const wchar_t* name, int button1, int button2)
{
    return SetEnableButton(GetItemIndex(name), button1, button2);
}
int tkxPropertyCtrl::SetButtonIcon(const wchar_t* name, UINT in1, UINT out1, UINT in2, UINT out2)
{
    return SetButtonIcon(GetItemIndex(name), in1, out1, in2, out2);
}

int tkxPropertyCtrl::SetGroupCollapse(const wchar_t* group, int expanded)
{
    CPropertyItem* item = Item(SearchGroupIndex(group));
    if (!item) return 0;
    item->m_bEnable = expanded;
    RefreshContent();
    return 1;
}

// ---------------------------------------------------------------------------
// Window and editors

void tkxPropertyCtrl::PreSubclassWindow()
{
    CreateEditors();
    CListBox::PreSubclassWindow();
}

int tkxPropertyCtrl::OnCreate(LPCREATESTRUCT cs)
{
    if (CListBox::OnCreate(cs) == -1) return -1;
    CreateEditors();
    return 0;
}

void tkxPropertyCtrl::CreateEditors()
{
    if (m_edit.m_hWnd) return;
    const CRect none(0, 0, 0, 0);
    m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, none, this, IDC_PROPERTY_EDIT);
    m_combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS |
                       CBS_DROPDOWNLIST,
                   none, this, IDC_PROPERTY_COMBO);
    m_spin.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | UDS_HORZ | UDS_ARROWKEYS | UDS_WRAP | UDS_NOTHOUSANDS, none,
                  this, IDC_PROPERTY_SPIN);
    m_button1.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, none, this, IDC_PROPERTY_BUTTON1);
    m_button2.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, none, this, IDC_PROPERTY_BUTTON2);
    CFont* font = GetFont();
    m_edit.SetFont(font);
    m_combo.SetFont(font);
    m_combo.SetItemHeight(-1, static_cast<UINT>(std::max(m_nRowHeight - 5, 1)));
    m_combo.SetItemHeight(0, static_cast<UINT>(std::max(m_nRowHeight - 5, 1)));
}

void tkxPropertyCtrl::HideEditors()
{
    if (m_edit.m_hWnd && m_edit.IsWindowVisible()) {
        m_edit.ShowWindow(SW_HIDE);
        m_edit.SetReadOnly(FALSE);
    }
    for (CWnd* w : {static_cast<CWnd*>(&m_combo), static_cast<CWnd*>(&m_spin), static_cast<CWnd*>(&m_button1),
                    static_cast<CWnd*>(&m_button2)})
        if (w->m_hWnd && w->IsWindowVisible()) w->ShowWindow(SW_HIDE);
}

void tkxPropertyCtrl::CommitEditor()
{
    HWND focus = ::GetFocus();
    if (focus && (focus == m_edit.m_hWnd || focus == m_combo.m_hWnd || ::IsChild(m_combo.m_hWnd, focus) ||
                  focus == m_spin.m_hWnd))
        SetFocus();
}

void tkxPropertyCtrl::OnDestroy()
{
    CListBox::OnDestroy();
    DeleteEntries();
    for (CWnd* w : {static_cast<CWnd*>(&m_edit), static_cast<CWnd*>(&m_combo), static_cast<CWnd*>(&m_spin),
                    static_cast<CWnd*>(&m_button1), static_cast<CWnd*>(&m_button2)})
        if (w->m_hWnd) w->DestroyWindow();
    m_nCurItem = -1;
}

void tkxPropertyCtrl::PostToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* parent = GetParent()) parent->PostMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Rows

void tkxPropertyCtrl::ResetContent()
{
    if (CWnd* parent = GetParent()) parent->SetFocus();
    CListBox::ResetContent();
}

void tkxPropertyCtrl::RefreshContent()
{
    const int row = CListBox::GetCurSel();
    ResetContent();
    bool expanded = false;
    CString group;
    for (CPropertyItem* item : m_items) {
        if (item->m_nType == CPropertyItem::TYPE_GROUP) {
            group = item->m_SGroup;
            expanded = item->m_bEnable != 0;
            SetItemDataPtr(AddString(item->m_SGroup), item);
        } else if (expanded && item->m_SGroup == group) {
            SetItemDataPtr(AddString(item->m_SName), item);
        }
    }
    SetCurSel(row);
    UpdateDividerRect();
}

void tkxPropertyCtrl::OnCurrentChanged()
{
    const int current = GetCurSel();
    if (current == m_nCurItem) return;
    m_nCurItem = current;
    RefreshControl(1);
}

void tkxPropertyCtrl::OnSelChange()
{
    // A keyboard or mouse selection: the editor of the old row has lost the
    // focus already (the list took it), so its text went to the old item.
    OnCurrentChanged();
}

int tkxPropertyCtrl::SetCurSel(int row)
{
    // An editor still holding the focus gives its text to its own item
    // before another one becomes current.
    if (m_nCurItem >= 0) CommitEditor();
    CListBox::SetCurSel(row);
    OnCurrentChanged();
    return GetCurSel();
}

void tkxPropertyCtrl::Refresh()
{
    RefreshControl(1);
    Invalidate();
}

int tkxPropertyCtrl::DeleteItem(int index)
{
    CPropertyItem* item = Item(index);
    if (!item) return 0;
    // Whatever an editor holds goes to its item while the indexes still
    // hold; then nothing may show or name the entries that go.
    if (m_nCurItem >= 0) CommitEditor();
    m_nCurItem = -1;
    HideEditors();
    if (item->m_nType == CPropertyItem::TYPE_GROUP) {
        const CString group = item->m_SGroup;
        int last = index + 1;
        while (last < GetSize() && m_items[last]->m_SGroup == group &&
               m_items[last]->m_nType != CPropertyItem::TYPE_GROUP)
            ++last;
        for (int i = index; i < last; ++i) m_disposal.Add(m_items[i]);
        m_items.RemoveAt(index, last - index);
    } else {
        m_disposal.Add(item);
        m_items.RemoveAt(index);
    }
    // The rows pointed to the entries: they are rebuilt before anything
    // draws a row again, and the selected row names the current item anew.
    if (m_hWnd) RefreshContent();
    for (CPropertyItem* gone : m_disposal) delete gone;
    m_disposal.RemoveAll();
    return 1;
}

void tkxPropertyCtrl::RemoveAll()
{
    m_nCurItem = -1;
    if (m_hWnd) {
        HideEditors();
        ResetContent();
    }
    for (CPropertyItem* item : m_items) delete item;
    m_items.RemoveAll();
    UpdateDividerRect();
}

void tkxPropertyCtrl::SetListStyle(int style)
{
    m_bTreeStyle = style == 0;
    if (m_hWnd) {
        UpdateDividerRect();
        Invalidate();
    }
}

void tkxPropertyCtrl::SetRowHeight(UINT height) { m_nRowHeight = static_cast<int>(height); }

int tkxPropertyCtrl::SetColumnWidth(int width)
{
    if (width <= 0) return m_nColumnWidth;
    m_nColumnWidth = std::min(width, GetWidth() - 1);
    UpdateDividerRect();
    return m_nColumnWidth;
}

int tkxPropertyCtrl::SetDragWidthEnable(int enable)
{
    m_bDragEnable = enable;
    return m_bDragEnable;
}

void tkxPropertyCtrl::UpdateDividerRect()
{
    if (!m_hWnd) return;
    GetClientRect(&m_rcDivider);
    m_rcDivider.left = (m_bTreeStyle ? kTreeIndent : 0) + m_nColumnWidth - 2;
    m_rcDivider.right = m_rcDivider.left + 4;
    const int rows = GetCount();
    CRect last(0, 0, 0, 0);
    if (rows > 0) GetItemRect(rows - 1, &last);
    m_rcDivider.bottom = rows > 0 ? last.bottom : 0;
}

void tkxPropertyCtrl::ToggleGroup(int row)
{
    CPropertyItem* group = GetItemDataPtr(row);
    if (!group || group->m_nType != CPropertyItem::TYPE_GROUP) return;
    const int index = SearchItemByID(group->m_nID);
    group->m_bEnable = !group->m_bEnable;
    int members = 0;
    while (index + 1 + members < GetSize() && m_items[index + 1 + members]->m_SGroup == group->m_SGroup &&
           m_items[index + 1 + members]->m_nType != CPropertyItem::TYPE_GROUP)
        ++members;
    if (!group->m_bEnable) {
        for (int i = 0; i < members && row + 1 < GetCount(); ++i) DeleteString(static_cast<UINT>(row + 1));
    } else {
        for (int i = 0; i < members; ++i) {
            CPropertyItem* item = m_items[index + 1 + i];
            SetItemDataPtr(InsertString(row + 1 + i, item->m_SName), item);
        }
    }
    UpdateDividerRect();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Editors

void tkxPropertyCtrl::RefreshControl(int show)
{
    if (!m_hWnd) return;
    if (show) HideEditors();
    CPropertyItem* item = Item(m_nCurItem);
    const int row = CListBox::GetCurSel();
    if (!item || row < 0) return;
    CRect cell;
    GetItemRect(row, &cell);
    cell.left += (m_bTreeStyle ? kTreeIndent : 0) + m_nColumnWidth;
    const int b = static_cast<int>(cell.Height() * 1.2);

    struct Button {
        tkxIconButton& button;
        int shown;
        UINT in, out;
    } buttons[] = {{m_button1, item->m_bButton1, item->m_nButton1In, item->m_nButton1Out},
                   {m_button2, item->m_bButton2, item->m_nButton2In, item->m_nButton2Out}};
    for (Button& button : buttons) {
        if (!button.shown || b >= cell.Width()) continue;
        button.button.MoveWindow(cell.right - b, cell.top, b, cell.Height() - 1);
        if (show) {
            if (button.in) button.button.SetIcon(static_cast<int>(button.in), static_cast<int>(button.out));
            button.button.EnableWindow(item->m_bEnable);
            button.button.ShowWindow(SW_SHOW);
            button.button.Invalidate();
        }
        cell.right -= b;
    }

    auto showEdit = [&](const CRect& area) {
        m_edit.MoveWindow(&area);
        if (!show) return;
        m_edit.SetWindowText(item->m_SValue);
        m_edit.ShowWindow(SW_SHOW);
        m_edit.SetReadOnly(!item->m_bEnable);
        m_edit.SetFocus();
        m_edit.SetSel(0, -1);
    };
    switch (item->m_nType) {
    case CPropertyItem::TYPE_TEXT:
        showEdit(CRect(cell.left + 3, cell.top + 2, cell.right - 1, cell.bottom - 1));
        break;
    case CPropertyItem::TYPE_COMBO: {
        CRect area = cell;
        area.OffsetRect(0, -1);
        if (show) {
            int dropped = cell.Width();
            m_combo.ResetContent();
            CClientDC dc(GetParent() ? GetParent() : this);
            CFont* parentFont = GetParent() ? GetParent()->GetFont() : nullptr;
            if (parentFont) dc.SelectObject(parentFont);
            int widest = 0;
            for (const CString& option : item->m_saOptions) {
                widest = std::max(widest, static_cast<int>(dc.GetTextExtent(option).cx));
                bool listed = false;
                for (int k = 0; k < m_combo.GetCount() && !listed; ++k) {
                    CString entry;
                    m_combo.GetLBText(k, entry);
                    listed = entry == option;
                }
                if (listed) continue;
                const int at = m_combo.AddString(option);
                if (option == item->m_SValue) m_combo.SetCurSel(at);
            }
            // A value that is none of the options is shown as the first
            // entry; the options (whose indexes the owner is told) stay.
            if (m_combo.GetCurSel() < 0) m_combo.SetCurSel(m_combo.InsertString(0, item->m_SValue));
            const int entryHeight = std::max(m_combo.GetItemHeight(0), 1);
            if (m_combo.GetCount() * entryHeight > 6 * m_nRowHeight + 2 * ::GetSystemMetrics(SM_CYBORDER))
                widest += ::GetSystemMetrics(SM_CXVSCROLL);
            dropped = std::max(dropped, widest);
            m_combo.SetDroppedWidth(static_cast<UINT>(dropped));
        }
        m_combo.MoveWindow(area.left, area.top, area.Width(), 6 * m_nRowHeight);
        if (show) {
            m_combo.ShowWindow(SW_SHOW);
            m_combo.EnableWindow(item->m_bEnable);
            m_combo.SetFocus();
        }
        break;
    }
    case CPropertyItem::TYPE_SPIN: {
        const int w = cell.Width();
        CRect spin = cell;
        spin.left = w <= 40 ? cell.right - w / 2 : cell.right - 30;
        m_spin.MoveWindow(&spin);
        showEdit(CRect(cell.left + 3, cell.top + 2, spin.left - 1, cell.bottom - 1));
        if (show) {
            m_spin.ShowWindow(SW_SHOW);
            m_spin.EnableWindow(item->m_bEnable);
            m_spin.SetRange(1, static_cast<int>(item->m_dwData));
            m_spin.SetPos(static_cast<int>(wcstol(item->m_SValue, nullptr, 10)));
        }
        break;
    }
    default:
        break; // colours and groups have no editor
    }
}

void tkxPropertyCtrl::SetData(const CString& text)
{
    CPropertyItem* item = Item(m_nCurItem);
    if (!item || item->m_nType == CPropertyItem::TYPE_GROUP || !item->m_bEnable || text == item->m_SValue) return;
    CString value = text;
    if (item->m_nType == CPropertyItem::TYPE_SPIN) {
        const long number = wcstol(text, nullptr, 10);
        if (!IsNumericString(text) || number < 1 || number > static_cast<long>(item->m_dwData)) value = L"1";
    }
    item->m_SValue = value;
    LPARAM detail = 0;
    if (item->m_nType == CPropertyItem::TYPE_SPIN) detail = wcstol(value, nullptr, 10);
    if (item->m_nType == CPropertyItem::TYPE_COMBO) detail = IndexOf(item->m_saOptions, value);
    PostToParent(WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(m_nCurItem), detail);
    Invalidate();
}

void tkxPropertyCtrl::OnEditKillFocus()
{
    if (m_edit.IsWindowVisible()) SetData(m_edit.GetWindowText());
}

void tkxPropertyCtrl::OnComboSelChange()
{
    const int entry = m_combo.GetCurSel();
    if (entry < 0) return;
    CString text;
    m_combo.GetLBText(entry, text);
    SetData(text);
}

void tkxPropertyCtrl::OnSpinDelta(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    CPropertyItem* item = Item(m_nCurItem);
    if (!item || item->m_nType != CPropertyItem::TYPE_SPIN) return;
    const int maximum = static_cast<int>(item->m_dwData);
    int v = static_cast<int>(wcstol(item->m_SValue, nullptr, 10));
    if (reinterpret_cast<NMUPDOWN*>(hdr)->iDelta > 0) {
        v = v + 1 > maximum ? 1 : v + 1;
    } else {
        v = v - 1 < 1 ? maximum : v - 1;
    }
    item->m_SValue = IntText(v);
    m_edit.SetWindowText(item->m_SValue);
    PostToParent(WM_PROPERTY_VALUECHANGED, static_cast<WPARAM>(m_nCurItem), v);
}

void tkxPropertyCtrl::OnButton1() { PostToParent(WM_PROPERTY_BUTTON1, static_cast<WPARAM>(m_nCurItem), 0); }
void tkxPropertyCtrl::OnButton2() { PostToParent(WM_PROPERTY_BUTTON2, static_cast<WPARAM>(m_nCurItem), 0); }

HBRUSH tkxPropertyCtrl::CtlColor(CDC*, UINT)
{
    const int top = GetTopIndex();
    if (top != m_nTopRow) {
        RefreshControl(0);
        m_nTopRow = top;
        Invalidate();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Mouse

void tkxPropertyCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (m_bDragEnable && m_rcDivider.PtInRect(point)) {
        SetCurSel(-1);
        ::SetCursor(m_hResizeCursor);
        SetCapture();
        m_bDragging = 1;
        m_nDragX = point.x;
        CRect bounds;
        GetWindowRect(&bounds);
        if (m_bTreeStyle) bounds.left += kTreeIndent;
        bounds.DeflateRect(1, 0);
        ::ClipCursor(&bounds);
        return;
    }
    const int rows = GetCount();
    if (rows > 0) {
        CRect last;
        GetItemRect(rows - 1, &last);
        if (point.y >= last.bottom) return;
        Default();
    }
}

void tkxPropertyCtrl::EndDividerDrag()
{
    m_bDragging = 0;
    ::ClipCursor(nullptr);
}

void tkxPropertyCtrl::OnLButtonUp(UINT, CPoint point)
{
    Default();
    if (m_bDragging) {
        EndDividerDrag();
        ::ReleaseCapture();
    }
    const int row = CListBox::GetCurSel();
    if (!m_bTreeStyle || row < 0) return;
    const CPropertyItem* item = GetItemDataPtr(row);
    if (!item || item->m_nType != CPropertyItem::TYPE_GROUP) return;
    CRect rect;
    GetItemRect(row, &rect);
    const CRect box(rect.left + 4, rect.top + 4, rect.left + kTreeIndent - 4 + 1, rect.bottom - 4 + 1);
    if (box.PtInRect(point)) ToggleGroup(row);
}

void tkxPropertyCtrl::OnCaptureChanged(CWnd* wnd)
{
    // Losing the mouse ends a divider drag where it stands.
    if (m_bDragging && (!wnd || wnd->m_hWnd != m_hWnd)) EndDividerDrag();
    Default();
}

void tkxPropertyCtrl::OnMouseMove(UINT, CPoint point)
{
    if (m_bDragging) {
        SetColumnWidth(point.x + m_nColumnWidth - m_nDragX);
        m_nDragX = point.x;
        Invalidate();
        return;
    }
    if (m_bDragEnable && m_rcDivider.PtInRect(point)) ::SetCursor(m_hResizeCursor);
    Default();
}

void tkxPropertyCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    const int row = CListBox::GetCurSel();
    CRect rect;
    if (row < 0 || GetItemRect(row, &rect) == LB_ERR || !rect.PtInRect(point)) return;
    CPropertyItem* item = GetItemDataPtr(row);
    if (!item) return;
    if (item->m_nType == CPropertyItem::TYPE_GROUP) {
        ToggleGroup(row);
    } else if (item->m_nType == CPropertyItem::TYPE_COMBO) {
        const int at = IndexOf(item->m_saOptions, item->m_SValue);
        if (at < 0) return;
        SetData(item->m_saOptions[(at + 1) % item->m_saOptions.GetSize()]);
        RefreshControl(1);
    }
}

// ---------------------------------------------------------------------------
// Keys

BOOL tkxPropertyCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        const int rows = GetCount();
        const int row = CListBox::GetCurSel();
        int next = -2;
        switch (msg->wParam) {
        case VK_TAB:
            if (rows == 0) break;
            if (row >= rows - 1) {
                SetCurSel(-1);
                SetFocus();
                return FALSE; // the dialog moves the focus on
            }
            next = row + 1;
            break;
        case VK_RETURN:
        case VK_DOWN:
            if (rows > 0) next = row + 1 >= rows ? 0 : row + 1;
            break;
        case VK_UP:
            if (rows > 0) next = row - 1 < 0 ? rows - 1 : row - 1;
            break;
        case VK_ESCAPE:
            SetCurSel(-1);
            if (CWnd* parent = GetParent()) parent->SetFocus();
            return TRUE;
        }
        if (next >= 0) {
            SetFocus();
            SetCurSel(next);
            return TRUE;
        }
    }
    return CListBox::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Drawing

void tkxPropertyCtrl::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    if (m_nRowHeight > 0) mis->itemHeight = static_cast<UINT>(m_nRowHeight);
}

void tkxPropertyCtrl::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (static_cast<int>(dis->itemID) < 0) return;
    CPropertyItem* item = reinterpret_cast<CPropertyItem*>(dis->itemData);
    CRect client;
    GetClientRect(&client);
    CRect row = dis->rcItem;
    if (!item || row.top >= client.bottom || row.bottom <= client.top) return;
    if (m_nColumnWidth == -1) m_nColumnWidth = GetWidth() / 2;
    const bool group = item->m_nType == CPropertyItem::TYPE_GROUP;
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const bool rowDisabled = (dis->itemState & ODS_DISABLED) != 0 || !IsWindowEnabled();
    const int h = row.Height();
    const bool lastRow = static_cast<int>(dis->itemID) == GetCount() - 1;
    const int paintHeight = lastRow ? std::max(h, static_cast<int>(client.bottom - row.top)) : h;
    const int width = row.Width();
    const int L = m_bTreeStyle ? kTreeIndent : 0;

    CDC* target = CDC::FromHandle(dis->hDC);
    CDC dc;
    dc.CreateCompatibleDC(target);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(target, width, paintHeight);
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);
    const COLORREF background = target->GetBkColor();
    dc.FillSolidRect(0, 0, width, paintHeight, group && !m_bTreeStyle ? RGB(0xE1, 0xE1, 0xE1) : background);
    dc.SetBkMode(TRANSPARENT);
    CFont* font = GetFont();
    CFont* oldFont = font ? dc.SelectObject(font) : nullptr;

    const COLORREF grey = RGB(128, 128, 128);
    if (m_bTreeStyle && group) {
        const CRect box(4, 4, 13, h - 3);
        dc.FillSolidRect(&box, RGB(255, 255, 255));
        CBrush frame(rowDisabled ? grey : RGB(0, 0, 0));
        dc.FrameRect(&box, &frame);
        const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
        const COLORREF sign = rowDisabled ? m_crGrey : ::GetSysColor(COLOR_WINDOWTEXT);
        dc.FillSolidRect(cx - 2, cy, 5, 1, sign);
        if (!item->m_bEnable) dc.FillSolidRect(cx, cy - 2, 1, 5, sign);
    }
    // The grid.
    dc.FillSolidRect(L, 0, 1, h, grey);
    dc.FillSolidRect(L + m_nColumnWidth, 0, 1, h, grey);
    if (row.bottom <= client.bottom) dc.FillSolidRect(0, h - 1, width, 1, grey);

    const COLORREF back = selected ? ::GetSysColor(COLOR_HIGHLIGHT) : ::GetSysColor(COLOR_WINDOW);
    COLORREF fore = selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ::GetSysColor(COLOR_WINDOWTEXT);
    if (!selected && rowDisabled) fore = ::GetSysColor(COLOR_GRAYTEXT);
    if (!group || m_bTreeStyle)
        dc.FillSolidRect(L + 1, 0, m_nColumnWidth - 1, h - 1, back);
    else if (selected)
        dc.FillSolidRect(0, 0, width, h - 1, back);

    CFont bold;
    CFont* nameFont = nullptr;
    if (group) {
        LOGFONTW lf{};
        ::GetObjectW(font ? font->m_hObject : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfWeight = 700;
        bold.CreateFontIndirect(&lf);
        nameFont = dc.SelectObject(&bold);
    }
    dc.SetTextColor(fore);
    CRect name(L + 1 + 3, 0, L + m_nColumnWidth - 3, h - 1);
    const UINT align = group && !m_bTreeStyle ? DT_CENTER : DT_LEFT;
    dc.DrawText(group ? item->m_SGroup : item->m_SName, &name, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (nameFont) dc.SelectObject(nameFont);

    if (!group) {
        CRect value(L + m_nColumnWidth + 3, 0, width - 3, h - 1);
        if (selected && !item->m_bEnable) dc.FillSolidRect(&value, ::GetSysColor(COLOR_BTNFACE));
        if (item->m_nType == CPropertyItem::TYPE_COLOR) {
            const CRect swatch(value.left, 2, value.left + 2 * h, h - 3);
            CBrush frame(grey);
            dc.FrameRect(&swatch, &frame);
            CRect inner = swatch;
            inner.DeflateRect(1, 1);
            dc.FillSolidRect(&inner, static_cast<COLORREF>(item->m_dwData));
            value.left = swatch.right + 3;
        }
        dc.SetTextColor(!item->m_bEnable || rowDisabled ? m_crGrey : ::GetSysColor(COLOR_WINDOWTEXT));
        dc.DrawText(item->m_SValue, &value, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    target->BitBlt(row.left, row.top, width, paintHeight, &dc, 0, 0, SRCCOPY);
    if (oldFont) dc.SelectObject(oldFont);
    dc.SelectObject(oldBitmap);
}
