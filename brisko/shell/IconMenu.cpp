#include "brisko/shell/IconMenu.h"
#include "brisko/shell/EnBitmap.h"
#include "corvane/ui/BufferDC.h"
#include <algorithm>
#include <cmath>
#include <commctrl.h>

namespace {

// Left strip of the items (the pictures' column) and where labels start.
const int kStripWidth = 22;
const int kLabelLeft = 30;
// The system's check-mark bitmap (OBM_CHECK).
const int kCheckMarkBitmap = 32760;

// One menu item as measured and drawn.
struct MenuItemRecord
{
    MENUITEMINFOW info{};
    CString text;
    CImgDesc image;

    MenuItemRecord(HMENU menu, UINT item, BOOL byPosition)
    {
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        ::GetMenuItemInfoW(menu, item, byPosition, &info);
        if (IsSeparator()) return;
        MenuItemTexts().Lookup(static_cast<int>(info.wID), text);
        MenuItemImages().Lookup(static_cast<int>(info.wID), image);
    }

    bool IsSeparator() const { return (info.fType & MFT_SEPARATOR) != 0; }
    bool IsDisabled() const { return (info.fState & MFS_GRAYED) == MFS_GRAYED; }
    bool IsChecked() const { return (info.fState & MFS_CHECKED) != 0; }
    bool IsDefault() const { return (info.fState & MFS_DEFAULT) != 0; }
    bool HasImage() const { return image.hImageList && image.nIndex != -1; }
    CString Label() const
    {
        const int tab = text.Find(L'\t');
        return tab < 0 ? text : text.Left(tab);
    }
    CString Accelerator() const
    {
        const int tab = text.Find(L'\t');
        return tab < 0 ? CString() : text.Mid(tab + 1);
    }
};

// The width of a text as DrawItem draws it (a single line, "&" marking the
// mnemonic, "&&" an ampersand).
int DrawnWidth(HDC dc, const CString& text)
{
    if (text.IsEmpty()) return 0;
    RECT rect{0, 0, 0, 0};
    ::DrawTextW(dc, text, text.GetLength(), &rect, DT_SINGLELINE | DT_CALCRECT);
    return rect.right - rect.left;
}

int TextWidth(HDC dc, const CString& text, BOOL bold)
{
    if (text.IsEmpty()) return 0;
    CBoldDC font(dc, bold);
    return DrawnWidth(dc, text);
}

int LabelWidth(HDC dc, const MenuItemRecord& item)
{
    if (item.IsSeparator()) return 0;
    return TextWidth(dc, item.Label(), item.IsDefault());
}

// The widest a document window's entry may be: half the screen.
int MaxWindowEntryWidth() { return std::max(300, ::GetSystemMetrics(SM_CXSCREEN) / 2); }

// The entry of a document window: its number and its whole title (the
// system's entry stops after 150 characters, often before the file name).
// A title too wide for the menu keeps its start up to the first folder and
// as much of its end, from a folder on, as fits, and never less than its
// last part (the file name with the file's type), so that the entries of
// files with alike paths stay apart.
CString WindowEntryLabel(HDC dc, int number, CString title)
{
    title.Replace(L"&", L"&&");
    const CString prefix = ClFormat(L"&%d ", number);
    const int maxWidth = MaxWindowEntryWidth();
    if (DrawnWidth(dc, prefix + title) <= maxWidth) return prefix + title;
    const int first = title.Find(L'\\');
    const int last = title.ReverseFind(L'\\');
    if (first < 0 || last <= first) return prefix + title;
    const CString head = prefix + title.Left(first + 1) + L"\u2026";
    for (int at = title.Find(L'\\', first + 1); at >= 0 && at < last; at = title.Find(L'\\', at + 1))
        if (DrawnWidth(dc, head + title.Mid(at)) <= maxWidth) return head + title.Mid(at);
    return head + title.Mid(last);
}

CString WindowTitle(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    CString title;
    ::GetWindowTextW(window, title.GetBufferSetLength(length), length + 1);
    title.ReleaseBuffer();
    return title;
}

// The document window an entry of the window menu stands for: the MDI
// client's child with the entry's id whose title the entry's text shows
// (the "More windows" entry has none); null for other items.
HWND WindowOfEntry(CWnd* frame, UINT id, const CString& text, int& number)
{
    auto* mdi = dynamic_cast<CMDIFrameWnd*>(frame);
    if (!mdi || !mdi->m_hWndMDIClient || id < AFX_IDM_FIRST_MDICHILD) return nullptr;
    const HWND child = ::GetDlgItem(mdi->m_hWndMDIClient, static_cast<int>(id));
    if (!child || ::GetParent(child) != mdi->m_hWndMDIClient) return nullptr;
    number = static_cast<int>(id - AFX_IDM_FIRST_MDICHILD) + 1;
    const CString shown = text.Mid(text.Find(L' ') + 1);
    const CString title = WindowTitle(child);
    return !shown.IsEmpty() && title.Left(shown.GetLength()) == shown ? child : nullptr;
}

int AcceleratorWidth(HDC dc, const MenuItemRecord& item)
{
    if (item.IsSeparator()) return 0;
    return TextWidth(dc, item.Accelerator(), item.IsDefault());
}

// The picture of the command on the first tool bar of the frame that has
// one.
CImgDesc FindToolBarImage(CFrameWnd* frame, UINT id)
{
    CImgDesc found;
    if (!frame) return found;
    for (int i = 0; i < frame->GetControlBarCount(); ++i) {
        auto* bar = dynamic_cast<CToolBar*>(frame->GetControlBarAt(i));
        if (!bar || !bar->GetSafeHwnd()) continue;
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_COMMAND | TBIF_IMAGE;
        const LRESULT index = bar->SendMessage(TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info));
        if (index == -1 || static_cast<UINT>(info.idCommand) != id || info.iImage == -1) continue;
        found.hImageList = reinterpret_cast<HIMAGELIST>(bar->SendMessage(TB_GETIMAGELIST, 0, 0));
        found.nIndex = info.iImage;
        return found;
    }
    return found;
}

void FillRect(HDC dc, const RECT& rect, COLORREF color)
{
    ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// An outlined, filled box.
void DrawBox(HDC dc, const RECT& rect, COLORREF outline, COLORREF fill)
{
    CPenDC pen(dc, outline);
    CBrushDC brush(dc, fill);
    ::Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void DrawItem(HDC dc, const RECT& r, const MenuItemRecord& item, bool selected)
{
    const int L = r.left;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const bool disabled = item.IsDisabled();
    const bool checked = item.IsChecked();

    if (selected) {
        DrawBox(dc, r, highlight, disabled ? HlsTransform(face, +73, 0) : HlsTransform(highlight, +70, -57));
    } else {
        RECT strip = r;
        strip.right = L + kStripWidth;
        FillRect(dc, strip, HlsTransform(face, +20, 0));
        RECT rest = r;
        rest.left = L + kStripWidth;
        FillRect(dc, rest, HlsTransform(face, +75, 0));
    }

    if (item.IsSeparator()) {
        const int middle = (r.top + r.bottom) / 2;
        CPenDC pen(dc, HlsTransform(face, -18, 0));
        ::MoveToEx(dc, L + kLabelLeft, middle, nullptr);
        ::LineTo(dc, r.right - 1, middle);
        return;
    }

    ::SetTextColor(dc, disabled ? HlsTransform(face, -18, 0) : ::GetSysColor(COLOR_MENUTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    {
        CBoldDC font(dc, item.IsDefault());
        RECT text = r;
        text.left = L + kLabelLeft;
        const CString label = item.Label();
        ::DrawTextW(dc, label, label.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        RECT accel = r;
        accel.right -= 12;
        const CString accelerator = item.Accelerator();
        ::DrawTextW(dc, accelerator, accelerator.GetLength(), &accel, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }

    if (checked) {
        const RECT box{L + 1, r.top + 1, L + 20, r.bottom - 1};
        COLORREF fill = HlsTransform(highlight, +70, -57);
        if (disabled)
            fill = HlsTransform(face, +73, 0);
        else if (selected)
            fill = HlsTransform(highlight, +50, -50);
        DrawBox(dc, box, highlight, fill);
    }

    if (item.HasImage()) {
        if (disabled || (selected && !checked)) {
            if (HICON icon = ::ImageList_GetIcon(item.image.hImageList, item.image.nIndex, ILD_NORMAL)) {
                const COLORREF shadow = disabled ? HlsTransform(face, -27, 0) : HlsTransform(highlight, +50, -66);
                const int offset = disabled ? 3 : 4;
                HBRUSH brush = ::CreateSolidBrush(shadow);
                ::DrawStateW(dc, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, L + offset, r.top + offset, 16, 16,
                             DST_ICON | DSS_MONO);
                ::DeleteObject(brush);
                ::DestroyIcon(icon);
            }
        }
        if (!disabled) {
            const int offset = (selected && !checked) ? 2 : 3;
            ::ImageList_Draw(item.image.hImageList, item.image.nIndex, dc, L + offset, r.top + offset,
                             ILD_TRANSPARENT);
        }
    } else if (checked) {
        // The system's check mark, its white ground left out.
        HBITMAP check = ::LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckMarkBitmap));
        if (check) {
            BITMAP info{};
            ::GetObjectW(check, sizeof(info), &info);
            HDC source = ::CreateCompatibleDC(dc);
            HGDIOBJ old = ::SelectObject(source, check);
            const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
            const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
            ::BitBlt(dc, L + 5, r.top + 3, std::min<int>(info.bmWidth, kStripWidth), info.bmHeight, source, 0, 0,
                     SRCAND);
            ::SetTextColor(dc, oldText);
            ::SetBkColor(dc, oldBack);
            ::SelectObject(source, old);
            ::DeleteDC(source);
            ::DeleteObject(check);
        }
    }
}

int MoveByPercent(int value, int percent)
{
    if (percent > 0) return value + (255 - value) * percent / 100;
    if (percent < 0) return value * (100 + percent) / 100;
    return value;
}

} // namespace

CMap<int, int, CString, CString&>& MenuItemTexts()
{
    static CMap<int, int, CString, CString&> texts;
    return texts;
}

CMap<int, int, CImgDesc, CImgDesc&>& MenuItemImages()
{
    static CMap<int, int, CImgDesc, CImgDesc&> images;
    return images;
}

COLORREF HlsTransform(COLORREF color, int lightness, int saturation)
{
    // Hue, lightness and saturation each as a part of 0-255.
    double h, s, l;
    CHslColor::RgbToHsl(GetRValue(color), GetGValue(color), GetBValue(color), h, s, l);
    const int hue = static_cast<int>(h * 255.0 / 360.0);
    const int light = MoveByPercent(static_cast<int>(l * 255.0), lightness);
    const int sat = MoveByPercent(static_cast<int>(s * 255.0), saturation);
    return CHslColor::HslToRgb(hue * 360.0 / 255.0, sat / 255.0, light / 255.0);
}

CBoldDC::CBoldDC(HDC dc, BOOL bold) : m_hDC(dc)
{
    LOGFONTW lf{};
    if (!::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof(lf), &lf)) return;
    if (bold ? lf.lfWeight == FW_BOLD : lf.lfWeight != FW_BOLD) return;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    if (!m_font.CreateFontIndirect(&lf)) return;
    m_hOldFont = ::SelectObject(dc, m_font);
}

CBoldDC::~CBoldDC()
{
    if (m_hOldFont) ::SelectObject(m_hDC, m_hOldFont);
}

BOOL IsMenuPrepared(CMenu* menu)
{
    if (!menu || !menu->GetSafeHmenu() || menu->GetMenuItemCount() <= 0) return FALSE;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    if (!::GetMenuItemInfoW(menu->GetSafeHmenu(), 0, TRUE, &info)) return FALSE;
    return (info.fType & MFT_OWNERDRAW) != 0;
}

void PrepareMenu(CMenu* menu, CWnd* frame)
{
    if (!menu || !menu->GetSafeHmenu() || !frame || !frame->GetSafeHwnd()) return;
    const HMENU hmenu = menu->GetSafeHmenu();

    CClientDC dc(frame);
    HGDIOBJ oldFont = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
    const int itemHeight = tm.tmHeight + 2 > 16 ? tm.tmHeight + 6 : 20;
    const int separatorHeight = tm.tmHeight / 2 + 2;

    auto* barFrame = dynamic_cast<CFrameWnd*>(frame);
    if (!barFrame || barFrame->GetControlBarCount() == 0) barFrame = frame->GetParentFrame();

    const int count = ::GetMenuItemCount(hmenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(hmenu, i, TRUE, &info)) continue;
        // The entries of the document windows are read every time: the
        // windows' titles change, and the system does not always make the
        // entries anew.
        const bool windowEntry = !info.hSubMenu && info.wID >= AFX_IDM_FIRST_MDICHILD;
        if ((info.fType & MFT_OWNERDRAW) && !windowEntry) continue;
        if (!(info.fType & MFT_SEPARATOR)) {
            const int length = ::GetMenuStringW(hmenu, i, nullptr, 0, MF_BYPOSITION);
            CString text;
            if (length > 0) {
                ::GetMenuStringW(hmenu, i, text.GetBufferSetLength(length), length + 1, MF_BYPOSITION);
                text.ReleaseBuffer();
            }
            int number = 0;
            if (const HWND child = windowEntry ? WindowOfEntry(frame, info.wID, text, number) : nullptr) {
                text = WindowEntryLabel(dc.GetSafeHdc(), number, WindowTitle(child));
            }
            MenuItemTexts().SetAt(static_cast<int>(info.wID), text);
            CImgDesc image = FindToolBarImage(barFrame, info.wID);
            if (image.hImageList) MenuItemImages().SetAt(static_cast<int>(info.wID), image);
        }
        if (info.fType & MFT_OWNERDRAW) continue;
        MENUITEMINFOW type{};
        type.cbSize = sizeof(type);
        type.fMask = MIIM_FTYPE;
        type.fType = info.fType | MFT_OWNERDRAW;
        ::SetMenuItemInfoW(hmenu, i, TRUE, &type);
    }

    int widestLabel = 0;
    int widestAccelerator = 0;
    for (int i = 0; i < count; ++i) {
        const MenuItemRecord item(hmenu, i, TRUE);
        widestLabel = std::max(widestLabel, LabelWidth(dc.GetSafeHdc(), item));
        widestAccelerator = std::max(widestAccelerator, AcceleratorWidth(dc.GetSafeHdc(), item));
    }
    const ULONG_PTR itemWord = MenuItemWord(itemHeight, widestLabel, widestAccelerator);
    for (int i = 0; i < count; ++i) {
        const MenuItemRecord item(hmenu, i, TRUE);
        MENUITEMINFOW data{};
        data.cbSize = sizeof(data);
        data.fMask = MIIM_DATA;
        data.dwItemData = item.IsSeparator() ? static_cast<ULONG_PTR>(separatorHeight) : itemWord;
        ::SetMenuItemInfoW(hmenu, i, TRUE, &data);
    }
    ::SelectObject(dc.GetSafeHdc(), oldFont);
}

ULONG_PTR MenuItemWord(int height, int label, int accelerator)
{
    const auto field = [](int value, int bits) { return static_cast<ULONG_PTR>(std::clamp(value, 0, (1 << bits) - 1)); };
    return field(height, 8) | (field(label, 12) << 8) | (field(accelerator, 12) << 20);
}

void MeasureMenuItem(MEASUREITEMSTRUCT* mis)
{
    if (!mis || mis->CtlType != ODT_MENU) return;
    const ULONG_PTR word = mis->itemData;
    mis->itemHeight = static_cast<UINT>(word & 0xFF);
    mis->itemWidth = static_cast<UINT>(((word >> 20) & 0xFFF) + ((word >> 8) & 0xFFF) + 42);
}

void DrawMenuItem(DRAWITEMSTRUCT* dis)
{
    if (!dis || dis->CtlType != ODT_MENU) return;
    CBufferDC buffer(dis->hDC, CRect(dis->rcItem));
    const MenuItemRecord item(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, FALSE);
    HGDIOBJ oldFont = ::SelectObject(buffer.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    DrawItem(buffer.GetSafeHdc(), dis->rcItem, item, (dis->itemState & ODS_SELECTED) != 0);
    ::SelectObject(buffer.GetSafeHdc(), oldFont);
}

LRESULT FindMenuMnemonic(CMenu* menu, UINT ch, UINT flags)
{
    if (!(flags & MF_POPUP) || (flags & MF_SYSMENU) || !menu || !menu->GetSafeHmenu()) return 0;
    wchar_t key = static_cast<wchar_t>(ch);
    ::CharUpperBuffW(&key, 1);
    const HMENU hmenu = menu->GetSafeHmenu();
    const int count = ::GetMenuItemCount(hmenu);
    for (int i = 0; i < count; ++i) {
        const MenuItemRecord item(hmenu, i, TRUE);
        CString label = item.Label();
        label.MakeUpper();
        for (int k = label.GetLength() - 2; k >= 0; --k) {
            if (label[k] == L'&' && label[k + 1] == key && (k == 0 || label[k - 1] != L'&'))
                return MAKELRESULT(i, MNC_EXECUTE);
        }
    }
    return 0;
}
