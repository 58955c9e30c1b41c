// Wrappers of the system's controls and of the common controls.  Each one is
// a CWnd of the control's class with its messages as member functions;
// owner-drawn controls get their WM_DRAWITEM / WM_MEASUREITEM /
// WM_COMPAREITEM / WM_DELETEITEM back from their parent as the virtual
// DrawItem, MeasureItem, CompareItem and DeleteItem.
#pragma once
#include "Wnd.h"
#include "Gdi.h"
#include <commctrl.h>

// Registers the common control classes once.
CLASSLIB_API void AfxInitCommonControls();

#define CL_CONTROL_BASICS(theClass, systemClass)                                                                  \
public:                                                                                                            \
    static const wchar_t* ClassName() { return systemClass; }                                                      \
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)                                              \
    {                                                                                                              \
        AfxInitCommonControls();                                                                                   \
        return CWnd::Create(systemClass, nullptr, style, rect, parent, id);                                        \
    }

class CLASSLIB_API CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
    CL_CONTROL_BASICS(CStatic, L"STATIC")
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF)
    {
        return CWnd::Create(L"STATIC", text, style, rect, parent, id);
    }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)icon, 0); }
    HICON GetIcon() const { return (HICON)SendMessage(STM_GETICON, 0, 0); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
    HCURSOR SetCursor(HCURSOR cursor) { return (HCURSOR)SendMessage(STM_SETIMAGE, IMAGE_CURSOR, (LPARAM)cursor); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CLASSLIB_API CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
    CL_CONTROL_BASICS(CButton, L"BUTTON")
    BOOL Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"BUTTON", caption, style, rect, parent, id);
    }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK, 0, 0); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, (WPARAM)check, 0); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE, 0, 0); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, (WPARAM)highlight, 0); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CLASSLIB_API CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
    CL_CONTROL_BASICS(CEdit, L"EDIT")
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        SendMessage(EM_SETSEL, (WPARAM)start, (LPARAM)end);
        if (!noScroll) SendMessage(EM_SCROLLCARET, 0, 0);
    }
    void GetSel(int& start, int& end) const
    {
        DWORD s = 0, e = 0;
        SendMessage(EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
        start = (int)s;
        end = (int)e;
    }
    void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text); }
    void LimitText(int max = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)max, 0); }
    UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT, 0, 0); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, readOnly, 0); }
    int GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT, 0, 0); }
    int LineIndex(int line = -1) const { return (int)SendMessage(EM_LINEINDEX, (WPARAM)line, 0); }
    int LineLength(int index = -1) const { return (int)SendMessage(EM_LINELENGTH, (WPARAM)index, 0); }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified, 0); }
    void SetMargins(UINT left, UINT right) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right)); }
    void Clear() { SendMessage(WM_CLEAR, 0, 0); }
    void Copy() { SendMessage(WM_COPY, 0, 0); }
    void Cut() { SendMessage(WM_CUT, 0, 0); }
    void Paste() { SendMessage(WM_PASTE, 0, 0); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO, 0, 0); }
};

class CLASSLIB_API CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
    CL_CONTROL_BASICS(CComboBox, L"COMBOBOX")
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index, 0); }
    int AddString(const wchar_t* text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text); }
    int InsertString(int index, const wchar_t* text) { return (int)SendMessage(CB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(CB_DELETESTRING, index, 0); }
    void ResetContent() { SendMessage(CB_RESETCONTENT, 0, 0); }
    int GetLBTextLen(int index) const { return (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)index, 0); }
    int GetLBText(int index, wchar_t* text) const { return (int)SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)text); }
    void GetLBText(int index, CString& text) const;
    int FindString(int start, const wchar_t* text) const { return (int)SendMessage(CB_FINDSTRING, (WPARAM)start, (LPARAM)text); }
    int FindStringExact(int start, const wchar_t* text) const
    {
        return (int)SendMessage(CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    int SelectString(int start, const wchar_t* text) { return (int)SendMessage(CB_SELECTSTRING, (WPARAM)start, (LPARAM)text); }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, (WPARAM)index, 0); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    void* GetItemDataPtr(int index) const { return (void*)GetItemData(index); }
    int SetItemDataPtr(int index, void* data) { return SetItemData(index, (DWORD_PTR)data); }
    int GetItemHeight(int index) const { return (int)SendMessage(CB_GETITEMHEIGHT, (WPARAM)index, 0); }
    int SetItemHeight(int index, UINT height) { return (int)SendMessage(CB_SETITEMHEIGHT, (WPARAM)index, height); }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show, 0); }
    BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE, 0, 0); }
    BOOL LimitText(int max) { return (BOOL)SendMessage(CB_LIMITTEXT, (WPARAM)max, 0); }
    BOOL SetEditSel(int start, int end) { return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELONG(start, end)); }
    int SetDroppedWidth(UINT width) { return (int)SendMessage(CB_SETDROPPEDWIDTH, width, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT cis);
    virtual void DeleteItem(LPDELETEITEMSTRUCT dis);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CLASSLIB_API CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
    CL_CONTROL_BASICS(CListBox, L"LISTBOX")
    int GetCount() const { return (int)SendMessage(LB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)SendMessage(LB_SETCURSEL, (WPARAM)index, 0); }
    int GetSel(int index) const { return (int)SendMessage(LB_GETSEL, (WPARAM)index, 0); }
    int SetSel(int index, BOOL select = TRUE) { return (int)SendMessage(LB_SETSEL, select, (LPARAM)index); }
    int AddString(const wchar_t* text) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)text); }
    int InsertString(int index, const wchar_t* text) { return (int)SendMessage(LB_INSERTSTRING, (WPARAM)index, (LPARAM)text); }
    int DeleteString(UINT index) { return (int)SendMessage(LB_DELETESTRING, index, 0); }
    void ResetContent() { SendMessage(LB_RESETCONTENT, 0, 0); }
    int GetTextLen(int index) const { return (int)SendMessage(LB_GETTEXTLEN, (WPARAM)index, 0); }
    void GetText(int index, CString& text) const;
    int FindStringExact(int start, const wchar_t* text) const
    {
        return (int)SendMessage(LB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)text);
    }
    DWORD_PTR GetItemData(int index) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, (WPARAM)index, 0); }
    int SetItemData(int index, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, (WPARAM)index, (LPARAM)data); }
    int GetItemHeight(int index) const { return (int)SendMessage(LB_GETITEMHEIGHT, (WPARAM)index, 0); }
    int SetItemHeight(int index, UINT height) { return (int)SendMessage(LB_SETITEMHEIGHT, (WPARAM)index, height); }
    int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int index) { return (int)SendMessage(LB_SETTOPINDEX, (WPARAM)index, 0); }
    int GetItemRect(int index, LPRECT rect) const { return (int)SendMessage(LB_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    int GetHorizontalExtent() const { return (int)SendMessage(LB_GETHORIZONTALEXTENT, 0, 0); }
    void SetHorizontalExtent(int extent) { SendMessage(LB_SETHORIZONTALEXTENT, (WPARAM)extent, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT cis);
    virtual void DeleteItem(LPDELETEITEMSTRUCT dis);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CLASSLIB_API CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
    CL_CONTROL_BASICS(CScrollBar, L"SCROLLBAR")
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw); }
};

class CLASSLIB_API CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
    CL_CONTROL_BASICS(CHeaderCtrl, WC_HEADERW)
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    BOOL GetItem(int index, HDITEMW* item) const { return (BOOL)SendMessage(HDM_GETITEMW, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, HDITEMW* item) { return (BOOL)SendMessage(HDM_SETITEMW, (WPARAM)index, (LPARAM)item); }
};

class CLASSLIB_API CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
    CL_CONTROL_BASICS(CListCtrl, WC_LISTVIEWW)
    int InsertColumn(int index, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    BOOL DeleteColumn(int index) { return (BOOL)SendMessage(LVM_DELETECOLUMN, (WPARAM)index, 0); }
    int GetColumnWidth(int index) const { return (int)SendMessage(LVM_GETCOLUMNWIDTH, (WPARAM)index, 0); }
    BOOL SetColumnWidth(int index, int width) { return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, (WPARAM)index, MAKELPARAM(width, 0)); }
    int InsertItem(int index, const wchar_t* text, int image = -1);
    int InsertItem(const LVITEMW* item) { return (int)SendMessage(LVM_INSERTITEMW, 0, (LPARAM)item); }
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(LVM_DELETEITEM, (WPARAM)index, 0); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS, 0, 0); }
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT, 0, 0); }
    BOOL SetItemText(int index, int subItem, const wchar_t* text);
    CString GetItemText(int index, int subItem) const;
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    UINT GetItemState(int index, UINT mask) const { return (UINT)SendMessage(LVM_GETITEMSTATE, (WPARAM)index, mask); }
    BOOL SetItemState(int index, UINT state, UINT mask);
    int GetNextItem(int start, int flags) const { return (int)SendMessage(LVM_GETNEXTITEM, (WPARAM)start, MAKELPARAM(flags, 0)); }
    int GetSelectedCount() const { return (int)SendMessage(LVM_GETSELECTEDCOUNT, 0, 0); }
    BOOL EnsureVisible(int index, BOOL partialOK) { return (BOOL)SendMessage(LVM_ENSUREVISIBLE, (WPARAM)index, partialOK); }
    BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int area, CRect& rect) const;
    int HitTest(CPoint p, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    DWORD GetExtendedStyle() const { return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    CImageList* SetImageList(CImageList* list, int which);
    CHeaderCtrl* GetHeaderCtrl() const { return (CHeaderCtrl*)CWnd::FromHandle((HWND)SendMessage(LVM_GETHEADER, 0, 0)); }
    int GetTopIndex() const { return (int)SendMessage(LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)SendMessage(LVM_GETCOUNTPERPAGE, 0, 0); }
    CEdit* EditLabel(int index) { return (CEdit*)CWnd::FromHandle((HWND)SendMessage(LVM_EDITLABELW, (WPARAM)index, 0)); }
    BOOL Scroll(CSize size) { return (BOOL)SendMessage(LVM_SCROLL, (WPARAM)size.cx, size.cy); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CLASSLIB_API CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
    CL_CONTROL_BASICS(CTreeCtrl, WC_TREEVIEWW)
    HTREEITEM InsertItem(const wchar_t* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const wchar_t* text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(TVINSERTSTRUCTW* insert) { return (HTREEITEM)SendMessage(TVM_INSERTITEMW, 0, (LPARAM)insert); }
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const { return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL ItemHasChildren(HTREEITEM item) const;
    BOOL SelectItem(HTREEITEM item) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }
    BOOL SelectDropTarget(HTREEITEM item) { return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)item); }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const wchar_t* text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    UINT GetItemState(HTREEITEM item, UINT mask) const { return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)item, mask); }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT, 0, 0); }
    HTREEITEM HitTest(CPoint p, UINT* flags = nullptr) const;
    CImageList* SetImageList(CImageList* list, int which);
    CImageList* CreateDragImage(HTREEITEM item);
    CEdit* EditLabel(HTREEITEM item) { return (CEdit*)CWnd::FromHandle((HWND)SendMessage(TVM_EDITLABELW, 0, (LPARAM)item)); }
    CEdit* GetEditControl() const { return (CEdit*)CWnd::FromHandle((HWND)SendMessage(TVM_GETEDITCONTROL, 0, 0)); }
    BOOL SortChildren(HTREEITEM item) { return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)item); }
    BOOL SortChildrenCB(LPTVSORTCB sort) { return (BOOL)SendMessage(TVM_SORTCHILDRENCB, 0, (LPARAM)sort); }
};

class CLASSLIB_API CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
    CL_CONTROL_BASICS(CTabCtrl, WC_TABCONTROLW)
    int InsertItem(int index, const wchar_t* text, int image = -1);
    BOOL DeleteItem(int index) { return (BOOL)SendMessage(TCM_DELETEITEM, (WPARAM)index, 0); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS, 0, 0); }
    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT, 0, 0); }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)index, 0); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)index, (LPARAM)rect); }
    void AdjustRect(BOOL larger, LPRECT rect) { SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect); }
    CImageList* SetImageList(CImageList* list);
};

class CLASSLIB_API CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    static const wchar_t* ClassName() { return TOOLTIPS_CLASSW; }
    // A tool tip owned by `parent`, as a top-most popup.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // A tool over `rect` of `wnd` (the whole client area when null) with id
    // `id`; with id 0 the tool is the window itself.
    BOOL AddTool(CWnd* wnd, const wchar_t* text, LPCRECT rect = nullptr, UINT_PTR id = 0);
    BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR id = 0);
    CString GetText(CWnd* wnd, UINT_PTR id = 0) const;
    void SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect);
    int GetToolCount() const { return (int)SendMessage(TTM_GETTOOLCOUNT, 0, 0); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate, 0); }
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
    void SetTipTextColor(COLORREF c) { SendMessage(TTM_SETTIPTEXTCOLOR, c, 0); }
    void SetTipBkColor(COLORREF c) { SendMessage(TTM_SETTIPBKCOLOR, c, 0); }
    int SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, delay); }
    void Pop() { SendMessage(TTM_POP, 0, 0); }

private:
    void FillInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR id) const;
};

class CLASSLIB_API CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
    CL_CONTROL_BASICS(CSpinButtonCtrl, UPDOWN_CLASSW)
    void SetRange(int lower, int upper) { SendMessage(UDM_SETRANGE32, (WPARAM)lower, (LPARAM)upper); }
    void GetRange(int& lower, int& upper) const { SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper); }
    int SetPos(int pos) { return (int)SendMessage(UDM_SETPOS32, 0, (LPARAM)pos); }
    int GetPos() const { return (int)SendMessage(UDM_GETPOS32, 0, 0); }
    CWnd* SetBuddy(CWnd* buddy) { return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)buddy->GetSafeHwnd(), 0)); }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY, 0, 0)); }
    int SetBase(int base) { return (int)SendMessage(UDM_SETBASE, (WPARAM)base, 0); }
};

// The system's tool bar control as a plain child window (the bar of a frame
// is CToolBar).
class CLASSLIB_API CToolBarCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    static const wchar_t* ClassName() { return TOOLBARCLASSNAMEW; }
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    CImageList* SetImageList(CImageList* list)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)list->GetSafeHandle()));
    }
    CImageList* SetHotImageList(CImageList* list)
    {
        return CImageList::FromHandle((HIMAGELIST)SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)list->GetSafeHandle()));
    }
    CImageList* SetDisabledImageList(CImageList* list)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)list->GetSafeHandle()));
    }
    BOOL AddButtons(int count, const TBBUTTON* buttons) { return (BOOL)SendMessage(TB_ADDBUTTONSW, count, (LPARAM)buttons); }
    // Texts as one block of zero-terminated strings ending with two zeros;
    // the index of the first.
    int AddStrings(const wchar_t* strings) { return (int)SendMessage(TB_ADDSTRINGW, 0, (LPARAM)strings); }
    BOOL DeleteButton(int index) { return (BOOL)SendMessage(TB_DELETEBUTTON, index, 0); }
    BOOL EnableButton(int id, BOOL enable = TRUE) { return (BOOL)SendMessage(TB_ENABLEBUTTON, id, MAKELPARAM(enable, 0)); }
    BOOL CheckButton(int id, BOOL check = TRUE) { return (BOOL)SendMessage(TB_CHECKBUTTON, id, MAKELPARAM(check, 0)); }
    BOOL IsButtonEnabled(int id) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, id, 0); }
    BOOL IsButtonChecked(int id) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, id, 0); }
    int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT, 0, 0); }
    BOOL GetButton(int index, TBBUTTON* button) const { return (BOOL)SendMessage(TB_GETBUTTON, index, (LPARAM)button); }
    BOOL GetItemRect(int index, LPRECT rect) const { return (BOOL)SendMessage(TB_GETITEMRECT, index, (LPARAM)rect); }
    int CommandToIndex(UINT id) const { return (int)SendMessage(TB_COMMANDTOINDEX, id, 0); }
    BOOL SetButtonSize(CSize size) { return (BOOL)SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    BOOL SetBitmapSize(CSize size) { return (BOOL)SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)); }
    DWORD SetExtendedStyle(DWORD style) { return (DWORD)SendMessage(TB_SETEXTENDEDSTYLE, 0, style); }
    void AutoSize() { SendMessage(TB_AUTOSIZE, 0, 0); }
    CToolTipCtrl* GetToolTips() const { return (CToolTipCtrl*)CWnd::FromHandle((HWND)SendMessage(TB_GETTOOLTIPS, 0, 0)); }
};

