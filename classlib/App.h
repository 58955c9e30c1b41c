// The application object's non-window part, and the one door through which
// every message box of our modules passes.
#pragma once
#include "CmdTarget.h"
#include "String.h"
#include "Resources.h"

class CWnd;

// ---------------------------------------------------------------------------
// Message boxes.  ClMessageBox shows a message box owned by `owner`; every
// other message box of the library (AfxMessageBox, the standard report of an
// exception) and of the modules built on it comes through here.  A hook, when
// set, answers instead of the window: tests use it so that nothing waits on a
// window.

typedef int (*ClMessageBoxHook)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type,
                                void* context);

CLASSLIB_API int ClMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// Installs a hook (null removes it); returns the one it replaces.
CLASSLIB_API ClMessageBoxHook ClSetMessageBoxHook(ClMessageBoxHook hook, void* context,
                                                  void** previousContext = nullptr);

// Message box with the application's name as caption, owned by the calling
// thread's active window.
CLASSLIB_API int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);
CLASSLIB_API int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = UINT(-1),
                               HINSTANCE caller = ClCallerModule());

// ---------------------------------------------------------------------------
// CWinApp: one per module that wants one (the program and each library with
// an application object).  The object is a static of its module; its
// start-up work (InitInstance) never runs while the module loads, because the
// loader lock forbids most of what start-up does.  It runs once, on the first
// call of EnsureStarted(), from the module's own code.

//
// The window part: the main window, the message loop (Run) with its idle
// pass, the pre-translate walk, and the profile settings (registry under
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>
// once SetRegistryKey was called, else the INI file <exe name>.INI in the
// Windows folder).

class CLASSLIB_API CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // `module` is the module of the application object (see Resources.h).
    explicit CWinApp(const wchar_t* appName = nullptr, HINSTANCE module = ClCallerModule());
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Runs InitInstance once; later calls return its first result.
    BOOL EnsureStarted();
    // Runs ExitInstance once, if InitInstance ran.
    int Shutdown();
    BOOL IsStarted() const { return m_started; }

    void SetRegistryKey(const wchar_t* key);

    // Message loop: runs until WM_QUIT, then ExitInstance; its result is
    // WM_QUIT's exit code unless ExitInstance gives another.
    virtual int Run();
    virtual BOOL PumpMessage();
    // Idle pass: count 0 updates the main window's bars and commands, 1 frees
    // temporary objects; TRUE while more idle work remains.
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* msg);
    // Offers a message to its window and each parent up to the top (and the
    // main window), before it is dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Profile settings.
    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue);
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue = nullptr);
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
    // The application's key (HKCU\Software\<key>\<app>), created on demand;
    // null without a registry key.  The caller closes it.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(const wchar_t* section);

    CWnd* m_pMainWnd = nullptr;
    const wchar_t* m_pszProfileName = nullptr;

    const wchar_t* m_pszAppName;
    const wchar_t* m_pszRegistryKey;
    const wchar_t* m_pszExeName;
    HINSTANCE m_hInstance;

private:
    CString m_appName;
    CString m_registryKey;
    CString m_exeName;
    CString m_profileName;
    bool m_started = false;
    bool m_stopped = false;
    BOOL m_initResult = FALSE;
    int m_quitCode = 0;
};

// The program's application object (the one that lives in the .exe), or
// else the first one created.
CLASSLIB_API CWinApp* AfxGetApp();
CLASSLIB_API const wchar_t* AfxGetAppName();
CLASSLIB_API HINSTANCE AfxGetInstanceHandle();
