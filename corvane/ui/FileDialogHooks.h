// Window hooks of the extended file dialog.
//
// A CSubclassWnd puts itself in front of a window's procedure without being
// the window's class-library object, so several hooks (and the window's own
// object) can watch one window.  The hooks of one window form a chain: the
// newest is called first and passes a message on through the base
// OnHookMessage; the last one passes it to the procedure the window had
// before the first hook.  A hook unhooks itself when it dies, and every hook
// of a window goes when the window gets WM_NCDESTROY.
//
// CFileDlgHelper uses two of them on a file dialog: one on the dialog's
// panel notes every command and notification, one on the window that owns
// the platform dialog turns the platform dialog's next idle moment into the
// command-update pass over the panel's controls.  It also reaches the
// platform dialog's file list.
#pragma once
#include "corvane/CorvaneDefs.h"

class CFileDlgHelper;

class CORVANE_API CSubclassWnd : public CObject
{
    DECLARE_DYNAMIC(CSubclassWnd)
public:
    CSubclassWnd();
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Hooks the window (first in its chain); null unhooks.  FALSE when the
    // window is not a window.
    BOOL SetHookedWindow(HWND hwnd);
    HWND GetHookedWindow() const { return m_hWnd; }
    // The window's procedure before its first hook.
    WNDPROC GetOldWndProc() const { return m_pOldWndProc; }

    // A message of the hooked window; the default passes it on down the
    // chain.
    virtual LRESULT OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    HWND m_hWnd = nullptr;
    WNDPROC m_pOldWndProc = nullptr; // the window's procedure before the first hook
    CSubclassWnd* m_pNext = nullptr; // the hook after this one
    CFileDlgHelper* m_pOwner = nullptr;

private:
    friend class CSubclassWndMap;
    friend class CFileDlgHelper;
};

// Window handle to the first hook of that window (one process-wide map).
class CORVANE_API CSubclassWndMap : public CMapPtrToPtr
{
public:
    CSubclassWndMap() : CMapPtrToPtr(10) {}
    ~CSubclassWndMap() override;

    static CSubclassWndMap& GetHookMap();
    void Add(HWND hwnd, CSubclassWnd* hook);
    void Remove(CSubclassWnd* hook);
    void RemoveAll(HWND hwnd);
    CSubclassWnd* Lookup(HWND hwnd);
};

// Notes the panel's commands and notifications.
class CORVANE_API CFileDialogHook : public CSubclassWnd
{
public:
    LRESULT OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Runs the command update of the panel's controls when the platform dialog
// goes idle after a noted command.
class CORVANE_API CFileDialogOwnerHook : public CSubclassWnd
{
public:
    LRESULT OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CFileDialog* m_pDialog = nullptr;
    HWND m_hWndPlatform = nullptr;
};

class CORVANE_API CFileDlgHelper
{
public:
    CFileDlgHelper();
    ~CFileDlgHelper();
    CFileDlgHelper(const CFileDlgHelper&) = delete;
    CFileDlgHelper& operator=(const CFileDlgHelper&) = delete;

    // Hooks the dialog's panel (the dialog's own window, a child of the
    // platform dialog) and the owner of the platform dialog.
    void Init(CFileDialog* dialog);

    // The platform dialog's file list (the list with id 1 in its shell
    // view, control 1121); null when there is none.
    CListCtrl* GetListCtrl();
    // The item's first-column text.
    CString GetItemName(int item);
    // 1 when the item is a folder in the dialog's current folder.
    int IsItemFolder(int item);

    // The text the platform dialog answers to a CDM_ query (CDM_GETFILEPATH,
    // CDM_GETFOLDERPATH, ...), of any length; empty without a dialog.
    static CString QueryText(HWND platform, UINT message);

    CFileDialogHook m_hookPanel;
    CFileDialogOwnerHook m_hookOwner;
    CFileDialog* m_pDialog = nullptr;
    BOOL m_bUpdateNeeded = FALSE;

private:
    CListCtrl m_wndList;
};
