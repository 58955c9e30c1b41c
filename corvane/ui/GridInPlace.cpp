#include "corvane/ui/GridInPlace.h"
#include <algorithm>

namespace {

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// The end-of-edit report: row, column, final text and the key that ended
// editing, sent to the editor's owner.
void ReportEnd(CWnd* editor, CWnd* owner, int row, int col, const CString& text, UINT lastKey)
{
    GV_DISPINFO info{};
    info.hdr.hwndFrom = editor->m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(editor->GetDlgCtrlID());
    info.hdr.code = static_cast<UINT>(GVN_ENDLABELEDIT);
    info.item.mask = GVIF_TEXT | GVIF_PARAM;
    info.item.row = row;
    info.item.col = col;
    info.item.szText = text;
    info.item.lParam = static_cast<LPARAM>(lastKey);
    owner->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

// Key messages go straight to the editor (never to dialog navigation).
BOOL DispatchKeys(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) {
        ::TranslateMessage(msg);
        ::DispatchMessageW(msg);
        return TRUE;
    }
    return msg->message == WM_SYSCHAR;
}

// The first character typed into a new editor: the caret goes to the end
// (a click or Enter), the last character goes (Backspace), the text is
// selected (a move key or a space), or the text is selected and replaced
// by the character.
void StartTyping(CEdit* edit, UINT firstChar, bool spaceTypes)
{
    const int length = edit->GetWindowTextLength();
    if (firstChar == VK_LBUTTON || firstChar == VK_RETURN) {
        edit->SetSel(length, length);
    } else if (firstChar == VK_BACK) {
        edit->SetSel(length, length);
        edit->SendMessage(WM_CHAR, firstChar, 0);
    } else if ((firstChar == VK_SPACE && !spaceTypes) || (firstChar >= VK_PRIOR && firstChar <= VK_DOWN)) {
        edit->SetSel(0, -1);
    } else {
        edit->SetSel(0, -1);
        edit->SendMessage(WM_CHAR, firstChar, 0);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// The edit box.

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit(CWnd* parent, CRect& rect, DWORD style, UINT id, int row, int col, CString initText,
                           UINT firstChar)
    : m_nRow(row), m_nCol(col), m_sInitText(initText)
{
    if (!Create(style | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, rect, parent, id)) {
        m_bCreating = false;
        return;
    }
    SendMessage(WM_SETFONT, static_cast<WPARAM>(parent->SendMessage(WM_GETFONT)), TRUE);
    SetWindowText(initText);
    SetFocus();
    StartTyping(this, firstChar, false);
    m_bCreating = false;
}

void CInPlaceEdit::PostNcDestroy()
{
    if (!m_bCreating) delete this;
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* msg)
{
    if (DispatchKeys(msg)) return TRUE;
    if (msg->message == WM_MOUSEWHEEL) EndEdit();
    return CEdit::PreTranslateMessage(msg);
}

void CInPlaceEdit::Leave(UINT key)
{
    m_nLastChar = key;
    if (CWnd* grid = GetParent()) grid->SetFocus();
}

void CInPlaceEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if ((key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_RIGHT) && KeyDown(VK_CONTROL)) {
        Leave(key);
        return;
    }
    switch (key) {
    case VK_ESCAPE:
        SetWindowText(m_sInitText);
        Leave(key);
        return;
    case VK_TAB:
        if (CWnd* grid = GetParent()) grid->SendMessage(WM_KEYDOWN, KeyDown(VK_SHIFT) ? VK_LEFT : VK_RIGHT, 0);
        Leave(key);
        return;
    case VK_UP:
    case VK_DOWN:
        Leave(key);
        return;
    default:
        CEdit::OnKeyDown(key, repeat, flags);
    }
}

void CInPlaceEdit::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
        Leave(key);
        return;
    }
    CEdit::OnKeyUp(key, repeat, flags);
}

void CInPlaceEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    CEdit::OnChar(ch, repeat, flags);
    if (!m_hWnd) return;
    // Widen the box to its text, within the grid.
    CString text;
    GetWindowText(text);
    CClientDC dc(this);
    HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    const CSize size = dc.GetTextExtent(text + L" ");
    dc.SelectObject(old);

    CRect rect, parentRect;
    GetClientRect(rect);
    CWnd* grid = GetParent();
    if (!grid) return;
    grid->GetClientRect(parentRect);
    if (size.cx + 5 > rect.Width()) {
        GetWindowRect(rect);
        grid->ScreenToClient(rect);
        rect.right = std::min(static_cast<int>(rect.left + size.cx) + 5, static_cast<int>(parentRect.right));
        MoveWindow(rect);
    }
}

void CInPlaceEdit::OnKillFocus(CWnd* newWnd)
{
    CEdit::OnKillFocus(newWnd);
    EndEdit();
}

void CInPlaceEdit::EndEdit()
{
    if (m_bEnded || !m_hWnd) return;
    m_bEnded = true;
    CString text;
    GetWindowText(text);
    if (CWnd* owner = GetOwner()) ReportEnd(this, owner, m_nRow, m_nCol, text, m_nLastChar);
    PostMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------
// The edit part of an editable drop-down.

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

BOOL CComboEdit::PreTranslateMessage(MSG* msg)
{
    if (DispatchKeys(msg)) return TRUE;
    return CEdit::PreTranslateMessage(msg);
}

void CComboEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if ((key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) &&
        KeyDown(VK_CONTROL) && GetDlgCtrlID() == 1001) {
        if (CWnd* owner = GetOwner()) owner->SendMessage(WM_KEYDOWN, key, MAKELONG(repeat, flags));
        return;
    }
    CEdit::OnKeyDown(key, repeat, flags);
}

void CComboEdit::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
        if (CWnd* owner = GetOwner()) owner->SendMessage(WM_KEYUP, key, MAKELONG(repeat, flags));
        return;
    }
    CEdit::OnKeyUp(key, repeat, flags);
}

void CComboEdit::OnKillFocus(CWnd* newWnd)
{
    CEdit::OnKillFocus(newWnd);
    if (auto* list = dynamic_cast<CInPlaceList*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)))) list->EndEdit();
}

// ---------------------------------------------------------------------------
// The drop-down list.

BEGIN_MESSAGE_MAP(CInPlaceList, CComboBox)
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

CInPlaceList::CInPlaceList(CWnd* parent, CRect& rect, DWORD style, UINT id, int row, int col, CStringArray& items,
                           CString initText, UINT firstChar)
    : m_sInitText(initText), m_nRow(row), m_nCol(col)
{
    m_nNumLines = static_cast<int>(items.GetSize() * 0.75);
    const int height = rect.Height();
    CRect dropRect = rect;
    dropRect.bottom += m_nNumLines * height + ::GetSystemMetrics(SM_CYHSCROLL);
    const DWORD comboStyle = (style | WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL) & ~WS_BORDER;
    if (!Create(comboStyle, dropRect, parent, id)) {
        m_bCreating = false;
        return;
    }
    for (INT_PTR i = 0; i < items.GetSize(); ++i) AddString(items[i]);

    // As wide as the widest entry with the scroll bar beside it.
    HGDIOBJ gridFont = reinterpret_cast<HGDIOBJ>(parent->SendMessage(WM_GETFONT));
    int width = 0;
    {
        CClientDC dc(this);
        HGDIOBJ old = gridFont ? dc.SelectObject(gridFont) : nullptr;
        for (INT_PTR i = 0; i < items.GetSize(); ++i)
            width = std::max(width, static_cast<int>(dc.GetTextExtent(items[i]).cx));
        width += ::GetSystemMetrics(SM_CXVSCROLL) + 2 * dc.GetTextExtent(L" ", 1).cx;
        if (old) dc.SelectObject(old);
    }
    if (rect.Width() < width) {
        dropRect.right = dropRect.left + width;
        MoveWindow(dropRect);
    }
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(gridFont), TRUE);
    SetItemHeight(-1, static_cast<UINT>(height));
    SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
    SendMessage(CB_SETHORIZONTALEXTENT, 0, 0);

    int found = -1;
    for (INT_PTR i = 0; i < items.GetSize() && found < 0; ++i)
        if (items[i].Compare(initText) == 0) found = static_cast<int>(i);
    m_nInitIndex = found;
    if (found >= 0)
        SetCurSel(found);
    else
        SetWindowText(initText);

    if (IsDropDownList()) {
        SetFocus();
    } else {
        HWND edit = ::GetDlgItem(m_hWnd, 1001);
        if (edit && m_edit.SubclassWindow(edit)) {
            m_edit.SetFocus();
            StartTyping(&m_edit, firstChar, true);
        } else {
            SetFocus();
        }
    }
    m_bCreating = false;
}

void CInPlaceList::PostNcDestroy()
{
    if (!m_bCreating) delete this;
}

void CInPlaceList::Leave(UINT key)
{
    m_nLastChar = key;
    if (CWnd* grid = GetParent()) grid->SetFocus();
}

void CInPlaceList::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if ((key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) &&
        KeyDown(VK_CONTROL)) {
        Leave(key);
        return;
    }
    CComboBox::OnKeyDown(key, repeat, flags);
}

void CInPlaceList::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_ESCAPE) {
        // Back to the text the list started with.
        if (m_nInitIndex >= 0)
            SetCurSel(m_nInitIndex);
        else {
            SetCurSel(-1);
            SetWindowText(m_sInitText);
        }
    }
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
        Leave(key);
        return;
    }
    CComboBox::OnKeyUp(key, repeat, flags);
}

void CInPlaceList::OnKillFocus(CWnd* newWnd)
{
    CComboBox::OnKillFocus(newWnd);
    if (newWnd && (newWnd->m_hWnd == m_hWnd || ::IsChild(m_hWnd, newWnd->m_hWnd))) return;
    if (IsDropDownList()) EndEdit();
}

void CInPlaceList::OnSelChange()
{
    CWnd* parent = GetParent();
    if (!parent) return;
    sGridComboInfo info;
    info.nIndex = GetCurSel();
    GetWindowText(info.text);
    parent->SendMessage(WM_GRID_COMBOCHANGE, 0, reinterpret_cast<LPARAM>(&info));
}

void CInPlaceList::EndEdit()
{
    if (m_bEnded || !m_hWnd) return;
    m_bEnded = true;
    CString text;
    // A list closed without a choice keeps the cell's text.
    if (IsDropDownList() && GetCurSel() < 0)
        text = m_sInitText;
    else
        GetWindowText(text);
    CWnd* owner = GetOwner();
    if (owner && owner->m_hWnd) ReportEnd(this, owner, m_nRow, m_nCol, text, m_nLastChar);
    PostMessage(WM_CLOSE);
}
