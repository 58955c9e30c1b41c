// The application object's non-window part, and the one door through which
// every message box of our modules passes.
#pragma once
#include "Object.h"
#include "String.h"

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
CLASSLIB_API int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = UINT(-1));

// ---------------------------------------------------------------------------
// CWinApp: one per module that wants one (the program and each library with
// an application object).  The object is a static of its module; its
// start-up work (InitInstance) never runs while the module loads, because the
// loader lock forbids most of what start-up does.  It runs once, on the first
// call of EnsureStarted(), from the module's own code.

class CLASSLIB_API CWinApp : public CObject
{
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Runs InitInstance once; later calls return its first result.
    BOOL EnsureStarted();
    // Runs ExitInstance once, if InitInstance ran.
    int Shutdown();
    BOOL IsStarted() const { return m_started; }

    void SetRegistryKey(const wchar_t* key);

    const wchar_t* m_pszAppName;
    const wchar_t* m_pszRegistryKey;
    const wchar_t* m_pszExeName;
    HINSTANCE m_hInstance;

private:
    CString m_appName;
    CString m_registryKey;
    CString m_exeName;
    bool m_started = false;
    bool m_stopped = false;
    BOOL m_initResult = FALSE;
};

// The program's application object (the one that lives in the .exe), or
// else the first one created.
CLASSLIB_API CWinApp* AfxGetApp();
CLASSLIB_API const wchar_t* AfxGetAppName();
CLASSLIB_API HINSTANCE AfxGetInstanceHandle();
// The module that dialog templates, bitmaps and strings are loaded from.
CLASSLIB_API HINSTANCE AfxGetResourceHandle();
CLASSLIB_API void AfxSetResourceHandle(HINSTANCE resource);
