// tkxPopupMenu: a popup menu whose items the program draws.
//
// Each item shows an image from the item image list in a 20-pixel box, its
// text, raised and sunken frames when selected, and, once a background
// image is set, a strip of that image down its left edge (21 pixels wide).
// Every item is as wide as the menu width and as high as the item height;
// separators (command id 2048) are 10 pixels high.
//
// The menu is created with the object and destroyed with it; show it with
// TrackPopupMenu.  The window that owns the menu while it is shown hands the
// owner-draw messages to this object.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <map>

class CORVANE_API tkxPopupMenu : public CMenu
{
public:
    // The command id that appends a separator.
    enum { SEPARATOR_ID = 2048 };

    struct MenuItem {
        CString text;
        int position = 0; // the item count when the item was appended
        int image = 0;    // index into the item images
    };

    tkxPopupMenu();
    ~tkxPopupMenu() override;

    int GetMenuWidth() const { return m_nMenuWidth; }
    void SetMenuWidth(int width) { m_nMenuWidth = width; }
    int GetMenuHeight() const { return m_nMenuHeight; }
    void SetMenuHeight(int height) { m_nMenuHeight = height; }

    // Item images from a bitmap resource, each `size` pixels wide (and
    // drawn `size` high); magenta (255, 0, 255) is transparent.  Shows
    // "\n加载菜单资源失败!" when the bitmap cannot be loaded.  The bitmaps
    // come from the calling module first.
    void SetImage(UINT bitmapId, int size, int grow = 1, HINSTANCE caller = ClCallerModule());
    // Background images from a bitmap resource, each as wide as the current
    // item height, the menu colour transparent; then items become `height`
    // high and get the 21-pixel background strip.  Shows
    // "\n加载菜单背景资源失败!" when the bitmap cannot be loaded.
    void SetBackImage(UINT bitmapId, int height, int unused = 0, HINSTANCE caller = ClCallerModule());
    // Appends an owner-drawn item (a separator for id 2048) with the menu
    // flags; an image index below 0 takes the item's position.
    void AppendMenuItem(UINT id, const CString& text, UINT flags = MF_STRING, int image = -1);

    // The record of an item (null for an id never appended).
    const MenuItem* FindItem(UINT id) const;
    int GetItemCount() const { return m_nItemCount; }
    int GetStripWidth() const { return m_nStripWidth; }
    int GetImageSize() const { return m_nImageSize; }

    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override;

private:
    int m_nMenuWidth = 100;
    int m_nMenuHeight = 20;
    int m_nStripWidth = 0;
    int m_nBackImageWidth = 0;
    int m_nImageSize = 0;
    CImageList m_backImages;
    CImageList m_images;
    CStringArray m_texts;
    std::map<UINT, MenuItem> m_items;
    int m_nItemCount = 0;
};
