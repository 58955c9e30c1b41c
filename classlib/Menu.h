// CMenu: a menu bound to its HMENU.  Owner-drawn items of a menu object are
// drawn and measured by its DrawItem and MeasureItem: the window that gets
// WM_DRAWITEM or WM_MEASUREITEM for a menu item hands it to the menu object
// of the menu that holds the item (FindPermanentOwner).  A drawn item comes
// with its menu's handle; a measured one with its id only, so the window
// looks for the id in the menus it is showing (those it got
// WM_INITMENUPOPUP for, the latest first), then in its menu bar, and only
// then among all menu objects, when exactly one holds the id.
#pragma once
#include "Object.h"
#include "String.h"
#include "Types.h"

class CWnd;

class CLASSLIB_API CMenu : public CObject
{
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return ClIsNull(this) ? nullptr : m_hMenu; } // null for a null object

    static CMenu* FromHandle(HMENU menu);          // the menu's object or a temporary one
    static CMenu* FromHandlePermanent(HMENU menu); // the menu's own object, or null
    // The menu object for a menu: the menu's own object, or else the object
    // of the menu that holds it as a submenu (at any depth); null if none.
    static CMenu* FindPermanentOwner(HMENU menu);
    // The one menu object (with its submenus) that holds an item with this
    // id; null when none does or several do.
    static CMenu* FindPermanentOwnerOfItem(UINT id);
    // Whether the menu itself (not a submenu of it) carries an item with this id.
    static BOOL HasItem(HMENU menu, UINT id);
    static void DeleteTempMap();
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // From the module that asks, or the next in the resource search order.
    BOOL LoadMenu(UINT id, HINSTANCE caller = ClCallerModule());
    BOOL LoadMenu(const wchar_t* name, HINSTANCE caller = ClCallerModule());
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::InsertMenuW(m_hMenu, position, flags, id, text);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, position, flags, id, text);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
    UINT CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
    {
        return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
    }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

    // Owner-drawn items.
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
};
