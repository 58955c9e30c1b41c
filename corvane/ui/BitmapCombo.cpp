#include "corvane/ui/BitmapCombo.h"
#include <algorithm>

tkxBitmapComboBox::~tkxBitmapComboBox()
{
    POSITION pos = m_bitmaps.GetHeadPosition();
    while (pos) delete m_bitmaps.GetNext(pos);
    m_bitmaps.RemoveAll();
}

int tkxBitmapComboBox::AddBitmap(UINT bitmapId, const wchar_t* text, HINSTANCE caller)
{
    auto* bitmap = new CBitmap;
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(bitmapId), RT_BITMAP, caller);
    if (!module || !bitmap->Attach(::LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId)))) {
        delete bitmap;
        CWnd* top = m_hWnd ? GetTopLevelParent() : nullptr;
        ClMessageBox(top ? top->GetSafeHwnd() : nullptr, L"加载资源失败!", L"TAVIX", MB_OK);
        return -1;
    }
    m_bitmaps.AddTail(bitmap);
    return InsertBitmap(-1, bitmap, text);
}

int tkxBitmapComboBox::AddBitmap(const CBitmap* bitmap, const wchar_t* text) { return InsertBitmap(-1, bitmap, text); }

int tkxBitmapComboBox::InsertBitmap(int index, const CBitmap* bitmap, const wchar_t* text)
{
    int result = static_cast<int>(
        SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text ? text : L"")));
    if (result == CB_ERR || result == CB_ERRSPACE) return result;
    SetItemDataPtr(result, const_cast<CBitmap*>(bitmap));
    BITMAP bm{};
    if (bitmap && bitmap->GetBitmap(&bm)) SetSize(bm.bmWidth, bm.bmHeight);
    return result;
}

int tkxBitmapComboBox::AddString(const wchar_t*) { return -1; }
int tkxBitmapComboBox::InsertString(int, const wchar_t*) { return -1; }
int tkxBitmapComboBox::DeleteString(int) { return -1; }

void tkxBitmapComboBox::SetSize(int width, int height)
{
    m_nItemWidth = std::max(m_nItemWidth, width);
    m_nItemHeight = std::max(m_nItemHeight, height);
    const UINT itemHeight = static_cast<UINT>(m_nItemHeight + 6);
    for (int i = -1; i < GetCount(); ++i) SetItemHeight(i, itemHeight);
}

void tkxBitmapComboBox::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemWidth = static_cast<UINT>(m_nItemWidth + 2);
    mis->itemHeight = static_cast<UINT>(m_nItemHeight + 2);
}

void tkxBitmapComboBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis || !dis->itemData || dis->itemID == static_cast<UINT>(-1)) return;
    const CRect item(dis->rcItem);
    const bool enabled = IsWindowEnabled() != FALSE;
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const bool drawOrSelect = (dis->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;
    const COLORREF back =
        enabled ? ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW) : RGB(0xC0, 0xC0, 0xC0);
    // Declared before the DC's state is saved: restored out of it first.
    CBrush brush(back);
    CPen pen(PS_SOLID, 1, back);
    CDC dc;
    dc.Attach(dis->hDC);
    const int saved = dc.SaveDC();

    if (!enabled) {
        dc.SelectObject(&brush);
        dc.SelectObject(&pen);
        OutputBitmap(dis, false);
    } else {
        if (drawOrSelect) {
            dc.SelectObject(&brush);
            dc.SelectObject(&pen);
            dc.Rectangle(&item);
            dc.SetBkColor(back);
            dc.SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            OutputBitmap(dis, selected);
        }
        if (dis->itemAction & ODA_FOCUS) dc.DrawFocusRect(&item);
    }
    dc.RestoreDC(saved);
    dc.Detach();
}

void tkxBitmapComboBox::OutputBitmap(LPDRAWITEMSTRUCT dis, bool)
{
    auto* bitmap = reinterpret_cast<CBitmap*>(dis->itemData);
    if (!bitmap || dis->itemData == static_cast<ULONG_PTR>(-1)) return;
    CString text;
    if (dis->itemID != static_cast<UINT>(-1)) GetLBText(static_cast<int>(dis->itemID), text);

    BITMAP bm{};
    if (!bitmap->GetBitmap(&bm)) return;
    CDC target;
    target.Attach(dis->hDC);
    CDC memory;
    memory.CreateCompatibleDC(&target);
    HGDIOBJ old = memory.SelectObject(static_cast<HGDIOBJ>(bitmap->m_hObject));
    CRect item(dis->rcItem);
    if (!text.IsEmpty()) {
        const int x = item.left + 2;
        const int y = item.top + item.Height() / 2 - m_nItemHeight / 2;
        target.BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memory, 0, 0, SRCCOPY);
        CRect textRect = item;
        textRect.left += m_nItemWidth + 4;
        target.DrawText(text, &textRect, DT_VCENTER | DT_SINGLELINE);
    } else {
        const int x = item.left + item.Width() / 2 - bm.bmWidth / 2;
        const int y = item.top + item.Height() / 2 - bm.bmHeight / 2;
        target.BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memory, 0, 0, SRCCOPY);
    }
    memory.SelectObject(old);
    target.Detach();
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(tkxComboBox, CComboBox)

BEGIN_MESSAGE_MAP(tkxComboBox, CComboBox)
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void tkxComboBox::OnKillFocus(CWnd* newWnd)
{
    CComboBox::OnKillFocus(newWnd);
    EndEdit();
}

void tkxComboBox::EndEdit()
{ SendEndEdit(this); }

void tkxComboBox::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!dis || dis->CtlType != ODT_COMBOBOX || GetCount() <= 0) return;
    CString text;
    if (dis->itemID != static_cast<UINT>(-1)) GetLBText(static_cast<int>(dis->itemID), text);
    CDC dc;
    dc.Attach(dis->hDC);
    const COLORREF oldText = dc.GetTextColor();
    const COLORREF oldBack = dc.GetBkColor();
    CRect item(dis->rcItem);
    if (dis->itemState & ODS_SELECTED) {
        dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        dc.SetBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        dc.FillSolidRect(&item, ::GetSysColor(COLOR_HIGHLIGHT));
    } else {
        dc.FillSolidRect(&item, dc.GetBkColor());
    }
    dc.DrawText(text, &item, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBack);
    dc.Detach();
}
