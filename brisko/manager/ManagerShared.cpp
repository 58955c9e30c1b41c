#include "brisko/manager/ManagerShared.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Messages.h"

namespace {

const COLORREF kListBackground = RGB(0xC1, 0xFF, 0xFF);

} // namespace

void SetUpMarkList(CListCtrl& list, CImageList& marks, const wchar_t* heading)
{
    if (marks.GetSafeHandle() || marks.Create(IDB_LIST_MARKS, 16, 1, RGB(255, 0, 255)))
        list.SetImageList(&marks, LVSIL_SMALL);
    list.SendMessage(LVM_SETBKCOLOR, 0, kListBackground);
    list.SendMessage(LVM_SETTEXTBKCOLOR, 0, kListBackground);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP |
                          LVS_EX_GRIDLINES);
    CRect client;
    list.GetClientRect(&client);
    list.InsertColumn(0, L"序号", LVCFMT_CENTER, 50);
    list.InsertColumn(1, heading, LVCFMT_CENTER, client.Width() - 55);
}

void FillMarkList(CListCtrl& list, const CStringArray& names, int current)
{
    list.DeleteAllItems();
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        const int row = list.InsertItem(static_cast<int>(i), ClFormat(L"%d", static_cast<int>(i) + 1),
                                        i == current ? 0 : 1);
        list.SetItemText(row, 1, names[i]);
    }
}

void MarkListRow(CListCtrl& list, int row)
{
    if (row < 0 || row >= list.GetItemCount()) return;
    list.SendMessage(LVM_SETHOTITEM, static_cast<WPARAM>(row), 0);
    list.SendMessage(LVM_SETSELECTIONMARK, 0, row);
    list.EnsureVisible(row, FALSE);
}

HBITMAP ShowBanner(CDialog* dialog, int pictureId)
{
    const wchar_t* name = MAKEINTRESOURCEW(IDB_ABOUT_BANNER);
    HBITMAP banner = nullptr;
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP))
        banner = static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (banner)
        dialog->SendDlgItemMessage(pictureId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner));
    else
        ClMessageBox(dialog->GetSafeHwnd(), L"加载位图资源失败!", kBriskoCaption, MB_ICONERROR);
    return banner;
}

void FreeDialogImages(CImageList& marks, HBITMAP& banner)
{
    marks.DeleteImageList();
    if (banner) {
        ::DeleteObject(banner);
        banner = nullptr;
    }
}

void RedrawPicture(CDialog* dialog, int pictureId)
{
    if (CWnd* picture = dialog->GetDlgItem(pictureId))
        picture->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HTREEITEM AddTreeItem(CTreeCtrl& tree, const wchar_t* text, HTREEITEM parent, int image, int selectedImage,
                      DWORD_PTR data)
{
    HTREEITEM item = tree.InsertItem(text, image, selectedImage, parent ? parent : TVI_ROOT, TVI_LAST);
    if (item && data) tree.SetItemData(item, data);
    return item;
}

CWnd* MainWindow() { return theApp.m_pMainWnd; }

CString PathTooLongText(const CString& path)
{
    return ClFormat(L"路径太长(最多%d个字符): %s", kMaxFilePathChars, path.GetString());
}

int ManagerBox(const CString& text, UINT type, CWnd* owner)
{
    if (!owner) owner = MainWindow();
    return ClMessageBox(owner ? owner->GetSafeHwnd() : nullptr, text, kBriskoCaption, type);
}

void NotifyProjectChanged()
{
    if (CWnd* main = MainWindow()) main->SendMessage(WM_PROJECTCHANGED, 0, 0);
}
