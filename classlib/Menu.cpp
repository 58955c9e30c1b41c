#include "Menu.h"
#include "Wnd.h"
#include "TempMap.h"
#include <unordered_map>

namespace {

std::unordered_map<HMENU, CMenu*>& Permanent()
{
    static thread_local std::unordered_map<HMENU, CMenu*>* map = nullptr;
    if (!map) map = new std::unordered_map<HMENU, CMenu*>;
    return *map;
}

void ReleaseTemp(CMenu* menu)
{
    menu->m_hMenu = nullptr;
    delete menu;
}

ClTempMap<HMENU, CMenu>& Temporary()
{
    static thread_local ClTempMap<HMENU, CMenu>* map = nullptr;
    if (!map) map = new ClTempMap<HMENU, CMenu>(&ReleaseTemp);
    return *map;
}

bool MenuHoldsItem(HMENU menu, UINT id, int depth = 0)
{
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub) {
            if (depth < 8 && MenuHoldsItem(sub, id, depth + 1)) return true;
        } else if (::GetMenuItemID(menu, i) == id) {
            return true;
        }
    }
    return false;
}

bool MenuHoldsSubmenu(HMENU menu, HMENU wanted, int depth = 0)
{
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub && (sub == wanted || (depth < 8 && MenuHoldsSubmenu(sub, wanted, depth + 1)))) return true;
    }
    return false;
}

} // namespace

IMPLEMENT_DYNCREATE(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandlePermanent(HMENU menu)
{
    if (!menu) return nullptr;
    auto& map = Permanent();
    auto it = map.find(menu);
    return it == map.end() ? nullptr : it->second;
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (!menu) return nullptr;
    if (CMenu* own = FromHandlePermanent(menu)) return own;
    auto& map = Temporary();
    if (CMenu* known = map.Find(menu)) return known;
    auto* object = new CMenu;
    object->m_hMenu = menu;
    map.Add(menu, object);
    return object;
}

CMenu* CMenu::FindPermanentOwner(HMENU menu)
{
    if (!menu) return nullptr;
    if (CMenu* own = FromHandlePermanent(menu)) return own;
    for (auto& entry : Permanent())
        if (::IsMenu(entry.first) && MenuHoldsSubmenu(entry.first, menu)) return entry.second;
    return nullptr;
}

CMenu* CMenu::FindPermanentOwnerOfItem(UINT id)
{
    CMenu* found = nullptr;
    for (auto& entry : Permanent()) {
        if (!::IsMenu(entry.first) || !MenuHoldsItem(entry.first, id)) continue;
        // A menu that is a submenu of another object's menu counts once.
        CMenu* owner = FindPermanentOwner(entry.first);
        if (found && owner != found) return nullptr; // several menus carry the id
        found = owner;
    }
    return found;
}

BOOL CMenu::HasItem(HMENU menu, UINT id)
{
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == id) return TRUE;
    }
    return FALSE;
}

void CMenu::DeleteTempMap() { Temporary().FreeLevel(); }

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu || FromHandlePermanent(menu)) return FALSE;
    m_hMenu = menu;
    Permanent()[menu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    if (menu) {
        auto& map = Permanent();
        auto it = map.find(menu);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::LoadMenu(const wchar_t* name, HINSTANCE caller)
{
    HINSTANCE module = AfxFindResourceHandle(name, RT_MENU, caller);
    return module && Attach(::LoadMenuW(module, name));
}

BOOL CMenu::LoadMenu(UINT id, HINSTANCE caller) { return LoadMenu(MAKEINTRESOURCEW(id), caller); }

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    bool own = FromHandlePermanent(m_hMenu) == this;
    HMENU menu = Detach();
    return own ? ::DestroyMenu(menu) : FALSE;
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    int n = ::GetMenuStringW(m_hMenu, id, nullptr, 0, flags);
    wchar_t* buffer = text.GetBufferSetLength(n);
    n = ::GetMenuStringW(m_hMenu, id, buffer, n + 1, flags);
    text.ReleaseBuffer(n);
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner->GetSafeHwnd(), rect);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
