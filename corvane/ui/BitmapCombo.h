// Two owner-drawn combo boxes.
//
// tkxBitmapComboBox shows a bitmap in front of each item's text, or the
// bitmap alone when the text is empty.  Items enter only through AddBitmap
// and InsertBitmap (the plain string operations do nothing and return -1);
// each item's data is the CBitmap* it shows.  Create it with an owner-drawn
// style that keeps strings (CBS_OWNERDRAWFIXED or CBS_OWNERDRAWVARIABLE with
// CBS_HASSTRINGS).  Bitmaps loaded from resources belong to the box; bitmaps
// passed by pointer stay the caller's and must live as long as their items.
//
// tkxComboBox is the in-place drop-down editor of the list editor and the
// property list: it draws its items itself and, every time it loses the
// focus, reports its window text to its parent (WM_NOTIFY, code
// LVN_ENDLABELEDITW (-176), record sEndEditInfo).
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/ui/CtrlEdit.h"

class CORVANE_API tkxBitmapComboBox : public CComboBox
{
public:
    tkxBitmapComboBox() = default;
    ~tkxBitmapComboBox() override;

    // Loads the bitmap resource from the module that holds it (the calling
    // module first); on failure shows "加载资源失败!" and returns -1.
    // Otherwise the item's index.
    int AddBitmap(UINT bitmapId, const wchar_t* text = nullptr, HINSTANCE caller = ClCallerModule());
    int AddBitmap(const CBitmap* bitmap, const wchar_t* text = nullptr);
    // Inserts at `index` (-1 appends); the item's index, or CB_ERR /
    // CB_ERRSPACE unchanged.
    int InsertBitmap(int index, const CBitmap* bitmap, const wchar_t* text = nullptr);

    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

    // Items enter only with their bitmaps: these do nothing and return -1.
    virtual int AddString(const wchar_t* text);
    virtual int InsertString(int index, const wchar_t* text);
    virtual int DeleteString(int index);

    // The largest bitmap added so far (only ever grows).
    int GetLargestWidth() const { return m_nItemWidth; }
    int GetLargestHeight() const { return m_nItemHeight; }

private:
    void OutputBitmap(LPDRAWITEMSTRUCT dis, bool selected);
    void SetSize(int width, int height);

    CList<CBitmap*, CBitmap*> m_bitmaps;
    int m_nItemWidth = 0;
    int m_nItemHeight = 0;
};

class CORVANE_API tkxComboBox : public CComboBox
{
    DECLARE_DYNAMIC(tkxComboBox)
public:
    tkxComboBox() = default;
    ~tkxComboBox() override = default;

    // Sends the end-of-edit record to the parent window (when there is one).
    void EndEdit();
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

protected:
    void OnKillFocus(CWnd* newWnd);
    DECLARE_MESSAGE_MAP()
};
