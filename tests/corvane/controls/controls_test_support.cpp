#include "controls_test_support.h"

namespace controls_test {

namespace {

::testing::Environment* const g_world =
    ::testing::AddGlobalTestEnvironment(new test_support::ScratchHive(L"controls"));

ShownMenu* g_menu = nullptr;
std::vector<UINT> g_keys;

std::vector<CString> MenuTexts(HMENU menu)
{
    std::vector<CString> texts;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 255;
        ::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        texts.push_back((info.fType & MFT_SEPARATOR) ? CString(L"-") : CString(text));
    }
    return texts;
}

void CALLBACK SeeMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = ::FindWindowW(L"#32768", nullptr);
    if (!window || !::IsWindowVisible(window) || !g_menu) return;
    ::KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
    ++g_menu->count;
    if (menu) {
        g_menu->items = MenuTexts(menu);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            HMENU sub = ::GetSubMenu(menu, i);
            g_menu->ids.push_back(sub ? 0 : ::GetMenuItemID(menu, i));
            g_menu->checked.push_back((state & MF_CHECKED) != 0);
            g_menu->grayed.push_back((state & (MF_GRAYED | MF_DISABLED)) != 0);
            g_menu->submenus.push_back(sub ? MenuTexts(sub) : std::vector<CString>());
            if (sub) g_menu->items[static_cast<size_t>(i)] += L">";
        }
    }
    if (g_keys.empty()) {
        ::EndMenu();
        return;
    }
    for (UINT key : g_keys) {
        ::PostMessageW(window, WM_KEYDOWN, key, 1);
        ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
}

} // namespace

CWnd* ShownFrame()
{
    static wintest::TestFrame* frame = nullptr;
    if (!frame) frame = new wintest::TestFrame(true, CRect(20, 20, 720, 560), L"控件测试");
    return frame;
}

LPARAM PointParam(CPoint p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

void Post(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    wnd->PostMessage(message, wParam, lParam);
    wintest::PumpUntilIdle();
}

void PressKey(CWnd* wnd, UINT key)
{
    wnd->PostMessage(WM_KEYDOWN, key, 1);
    wnd->PostMessage(WM_KEYUP, key, 0xC0000001);
    wintest::PumpUntilIdle();
}

KeyState::KeyState(bool ctrl, bool shift)
{
    ::GetKeyboardState(m_saved);
    BYTE state[256];
    memcpy(state, m_saved, sizeof(state));
    state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(state);
}

KeyState::~KeyState() { ::SetKeyboardState(m_saved); }

ShownMenu WatchMenu(const std::function<void()>& open, std::vector<UINT> keys)
{
    ShownMenu shown;
    g_menu = &shown;
    g_keys = std::move(keys);
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &SeeMenu);
    open();
    ::KillTimer(nullptr, timer);
    g_menu = nullptr;
    return shown;
}

} // namespace controls_test
