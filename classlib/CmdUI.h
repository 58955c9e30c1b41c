// CCmdUI: what a command-update handler works on.  The library's update
// passes (menus when they open, bars and dialog controls in the idle pass)
// fill one in for each element and ask the command's update handler; without
// one, the element is enabled only when some target handles the command.
#pragma once
#include "CmdTarget.h"

// The one thing a command-update handler touches: a menu item, a bar's
// button or pane, or a dialog control.
class CLASSLIB_API CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;          // menu item or bar element
    class CMenu* m_pMenu = nullptr;
    class CMenu* m_pSubMenu = nullptr;
    class CWnd* m_pOther = nullptr; // bar or control
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1); // 0 off, 1 on, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(const wchar_t* text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's update handler; with no handler and the flag set,
    // enables the element only when a command handler exists.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};
