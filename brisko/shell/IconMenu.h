// The main frame's menus drawn by the program: a flat look with a light strip
// on the left, the tool-bar picture of each command beside its text, tinted
// selection boxes and bold default items.
//
// The frame prepares every popup when it opens (PrepareMenu: the items become
// owner-drawn, their texts and pictures are kept in two process-wide maps and
// each item's data word carries its measures) and hands the menu's
// WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR to the functions below.  Texts
// are measured as they are drawn, so that the menu is as wide as its widest
// text.  The entries of an MDI frame's document windows (the window menu's
// list) show each window's whole title, read every time the menu opens; a
// title wider than half the screen keeps its start up to the first folder
// and as much of its end as fits, never less than the file name.
//
// Data word of a prepared item (MenuItemWord): bits 0-7 the item height,
// bits 8-19 the widest label of the menu, bits 20-31 the widest accelerator
// text (each in pixels, at most its field's largest value); a separator's
// word is the separator height.
#pragma once
#include "classlib/ClassLib.h"

// An image of an image list; index -1 is none.
struct CImgDesc
{
    HIMAGELIST hImageList = nullptr;
    int nIndex = -1;
};

// Command id -> the item's text ("label\taccelerator"), and -> its picture.
// Filled while menus are prepared, never emptied.
CMap<int, int, CString, CString&>& MenuItemTexts();
CMap<int, int, CImgDesc, CImgDesc&>& MenuItemImages();

// TRUE when the menu's first item is already owner-drawn.
BOOL IsMenuPrepared(CMenu* menu);
// Makes the items of the popup owner-drawn and gives every item its data
// word; pictures come from the tool bars of frame (or of its parent frame
// when frame has no bars).
void PrepareMenu(CMenu* menu, CWnd* frame);
// The data word of an item of a menu with these measures.
ULONG_PTR MenuItemWord(int height, int label, int accelerator);
// Answers WM_MEASUREITEM for a prepared menu item.
void MeasureMenuItem(MEASUREITEMSTRUCT* mis);
// Answers WM_DRAWITEM for a prepared menu item.
void DrawMenuItem(DRAWITEMSTRUCT* dis);
// The answer to WM_MENUCHAR for a popup: MNC_EXECUTE with the position of
// the first item whose mnemonic is ch, or 0 (default handling).
LRESULT FindMenuMnemonic(CMenu* menu, UINT ch, UINT flags);

// The colour with its lightness and saturation moved by the percentages: a
// positive percentage moves towards 255 by that share of the distance, a
// negative one towards 0.
COLORREF HlsTransform(COLORREF color, int lightness, int saturation);

// Selects a bold (or regular) copy of the DC's current font for one scope;
// nothing changes when the font already has that weight.
class CBoldDC
{
public:
    CBoldDC(HDC dc, BOOL bold);
    ~CBoldDC();
    CBoldDC(const CBoldDC&) = delete;
    CBoldDC& operator=(const CBoldDC&) = delete;

private:
    CFont m_font;
    HDC m_hDC;
    HGDIOBJ m_hOldFont = nullptr;
};
