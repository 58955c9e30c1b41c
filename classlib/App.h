// The application object's non-window part, and the one door through which
// every message box of our modules passes.
#pragma once
#include "CmdTarget.h"
#include "String.h"
#include "Resources.h"

class CWnd;
class CCmdUI;
class CDocManager;
class CDocTemplate;
class CDocument;
class CRecentFileList;

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
//
// The document part: the document templates (AddDocTemplate, kept by the
// document manager), opening files (OpenDocumentFile, File New, File Open,
// the recent-file list in the File menu), and the command line
// (ParseCommandLine, ProcessShellCommand).
//
// Exit, in this order: the main window closes (every document may ask to be
// saved, then all are closed), WM_QUIT ends Run, ExitInstance runs (a
// program's override calls the base last; the base writes the recent-file
// list to the profile), then the documents still open are closed without
// questions and the templates deleted.

// What the command line asks for (ParseCommandLine fills it in).
class CLASSLIB_API CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    // One parameter, in order: `flag` when it began with "/" or "-" (that
    // character removed), `last` for the last one.  The first parameter that
    // is no flag is the file; the flags "p" (print the file) and "pt"
    // (print it to the printer, driver and port that follow) and "dde" are
    // known, others are ignored.
    virtual void ParseParam(const wchar_t* param, BOOL flag, BOOL last);

    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, FileNothing = -1 };
    ShellCommand m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};

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

    // Documents.  The manager is made with the first template; it deletes
    // the templates.
    void AddDocTemplate(CDocTemplate* documentTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    // An open document of the path is activated and returned; else the
    // template that fits the file best opens it.  Null when it cannot.
    virtual CDocument* OpenDocumentFile(const wchar_t* path);
    // Every document may ask to be saved; FALSE when one was cancelled.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);
    int GetOpenDocumentCount() const;
    // The open or save dialog for documents; FALSE when cancelled.
    BOOL DoPromptFileName(CString& fileName, const wchar_t* title, DWORD flags, BOOL open,
                          CDocTemplate* documentTemplate);
    // The standard commands (programs map them as they wish).
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit(); // closes the main window, as its close box does

    // The recent-file list: `maxEntries` slots (0: none) under the profile
    // section "Recent File List", values File1, File2, ...; shown in the
    // File menu at the item ID_FILE_MRU_FILE1.
    void LoadStdProfileSettings(UINT maxEntries = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(const wchar_t* path);
    CRecentFileList* m_pRecentFileList = nullptr;

    // The command line (after the program's name): split into parameters
    // with the system's rules and handed one by one to ParseParam.
    void ParseCommandLine(CCommandLineInfo& info);
    // Carries out the command: FileNew a new document (through ID_FILE_NEW
    // when the program maps it), FileOpen opens the file, FilePrint and
    // FilePrintTo open it, send ID_FILE_PRINT_DIRECT to its view and close
    // it.  FALSE when the program should end (a file that could not be
    // opened, a print job done).
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    // Documents may come from the shell: the library opens them from the
    // command line (it serves no DDE conversation).
    void EnableShellOpen() { m_bShellOpen = TRUE; }
    BOOL m_bShellOpen = FALSE;
    int m_nCmdShow;
    const wchar_t* m_lpCmdLine;

    // Message loop: runs until WM_QUIT, then ExitInstance; its result is
    // WM_QUIT's exit code unless ExitInstance gives another.
    virtual int Run();
    virtual BOOL PumpMessage();
    // Idle pass: count 0 updates the command state of the main window, its
    // bars (floating ones too) and its document windows, and the frames'
    // titles and menus; 1 frees temporary objects; TRUE while more idle work
    // remains.
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* msg);
    // Offers a message to its window and each parent up to the top (and the
    // main window), before it is dispatched; in a window the main window
    // owns (a floating bar) the main window's accelerators come last.
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

    // The program's title, the caption of the framework's message boxes;
    // the application's name until one is set.  The name itself stays what
    // the registry key, the mutex and window properties are named after.
    void SetTitle(const wchar_t* title) { m_title = title ? title : L""; }
    const wchar_t* GetTitle() const { return m_title.IsEmpty() ? m_pszAppName : m_title.GetString(); }

    CWnd* m_pMainWnd = nullptr;
    CDocManager* m_pDocManager = nullptr;
    const wchar_t* m_pszProfileName = nullptr;

    const wchar_t* m_pszAppName;
    const wchar_t* m_pszRegistryKey;
    const wchar_t* m_pszExeName;
    HINSTANCE m_hInstance;

protected:
    void OnOpenRecentFile(UINT id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

private:
    void DeleteDocuments();
    CString m_commandLine;
    CString m_appName;
    CString m_title;
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
// The program's title (CWinApp::GetTitle), else the name of the program file.
CLASSLIB_API const wchar_t* AfxGetAppTitle();
CLASSLIB_API HINSTANCE AfxGetInstanceHandle();
