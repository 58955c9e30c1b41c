#include "corvane/ui/PopupMenu.h"

namespace {

const int kImageBoxWidth = 20;
const int kStripWidth = 21;
const int kSeparatorHeight = 10;

void ShowLoadFailure(const wchar_t* text)
{
    ClMessageBox(::GetActiveWindow(), text, L"TAVIX", MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

tkxPopupMenu::tkxPopupMenu() { CreatePopupMenu(); }

tkxPopupMenu::~tkxPopupMenu()
{
    m_images.DeleteImageList();
    m_backImages.DeleteImageList();
    DestroyMenu();
}

void tkxPopupMenu::SetImage(UINT bitmapId, int size, int grow, HINSTANCE caller)
{
    m_images.DeleteImageList();
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(bitmapId), RT_BITMAP, caller);
    if (!module || !m_images.Attach(ImageList_LoadImageW(module, MAKEINTRESOURCEW(bitmapId), size, grow,
                                                          RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION)))
        ShowLoadFailure(L"\n加载菜单资源失败!");
    m_nImageSize = size;
}

void tkxPopupMenu::SetBackImage(UINT bitmapId, int height, int, HINSTANCE caller)
{
    m_backImages.DeleteImageList();
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(bitmapId), RT_BITMAP, caller);
    if (!module || !m_backImages.Attach(ImageList_LoadImageW(module, MAKEINTRESOURCEW(bitmapId), m_nMenuHeight, 1,
                                                              ::GetSysColor(COLOR_MENU), IMAGE_BITMAP,
                                                              LR_CREATEDIBSECTION)))
        ShowLoadFailure(L"\n加载菜单背景资源失败!");
    m_nBackImageWidth = m_nMenuHeight;
    m_nMenuHeight = height;
    m_nStripWidth = kStripWidth;
}

void tkxPopupMenu::AppendMenuItem(UINT id, const CString& text, UINT flags, int image)
{
    if (id == SEPARATOR_ID)
        AppendMenu(MF_OWNERDRAW | MF_SEPARATOR, id, reinterpret_cast<const wchar_t*>(static_cast<UINT_PTR>(id)));
    else
        AppendMenu(flags | MF_OWNERDRAW, id, reinterpret_cast<const wchar_t*>(static_cast<UINT_PTR>(id)));
    m_texts.Add(text);
    MenuItem item;
    item.text = text;
    item.position = m_nItemCount;
    item.image = image < 0 ? m_nItemCount : image;
    m_items[id] = item;
    ++m_nItemCount;
}

const tkxPopupMenu::MenuItem* tkxPopupMenu::FindItem(UINT id) const
{
    auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : &it->second;
}

void tkxPopupMenu::MeasureItem(LPMEASUREITEMSTRUCT mis)
{
    mis->itemHeight = mis->itemID == SEPARATOR_ID ? kSeparatorHeight : static_cast<UINT>(m_nMenuHeight);
    mis->itemWidth = static_cast<UINT>(m_nMenuWidth);
}

void tkxPopupMenu::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const MenuItem* item = FindItem(dis->itemID);
    if (!item) return;
    CDC dc;
    dc.Attach(dis->hDC);
    const int saved = dc.SaveDC();
    const CRect rect(dis->rcItem);

    if (dis->itemID == SEPARATOR_ID) {
        CRect line = rect;
        line.left += m_nStripWidth + m_nImageSize + 10;
        line.top += rect.Height() / 2;
        dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    } else {
        const CRect imageBox(rect.left + m_nStripWidth + 2, rect.top, rect.left + m_nStripWidth + 2 + kImageBoxWidth,
                             rect.bottom);
        const CRect textArea(imageBox.right, rect.top, rect.right, rect.bottom);
        CRect fill = textArea;
        fill.DeflateRect(1, 1);
        dc.SetBkMode(TRANSPARENT);

        const bool selected = (dis->itemState & ODS_SELECTED) != 0;
        const bool greyed = (dis->itemState & ODS_GRAYED) != 0;
        if (greyed) {
            dc.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        } else if (selected) {
            dc.SetTextColor(RGB(255, 255, 255));
            dc.Draw3dRect(&imageBox, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            dc.Draw3dRect(&textArea, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
            dc.FillSolidRect(&fill, ::GetSysColor(COLOR_HIGHLIGHT));
        } else {
            const COLORREF menu = ::GetSysColor(COLOR_MENU);
            dc.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
            dc.Draw3dRect(&imageBox, menu, menu);
            dc.Draw3dRect(&textArea, menu, menu);
            dc.FillSolidRect(&fill, menu);
        }

        if (m_images.m_hImageList) {
            const CPoint at(imageBox.left + (imageBox.Width() - m_nImageSize) / 2,
                            rect.top + (rect.Height() - m_nImageSize) / 2);
            m_images.Draw(&dc, item->image, at, ILD_TRANSPARENT);
        }

        CRect textRect = textArea;
        textRect.left += 5;
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(item->text, &textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    }

    if (m_backImages.m_hImageList && (dis->itemAction & ODA_DRAWENTIRE))
        m_backImages.Draw(&dc, item->position, rect.TopLeft(), ILD_NORMAL);

    dc.RestoreDC(saved);
    dc.Detach();
}
