#include "App.h"
#include "DocTemplate.h"
#include "Document.h"
#include "Frame.h"
#include "RecentFileList.h"
#include "View.h"
#include "Wnd.h"
#include "Ole.h"
#include <shellapi.h>
#include <algorithm>
#include <vector>

namespace {

struct BoxHook {
    ClMessageBoxHook hook = nullptr;
    void* context = nullptr;
};

BoxHook g_boxHook;
std::vector<CWinApp*> g_apps;

CString ModuleBaseName(HMODULE module)
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    CString name(path, static_cast<int>(n));
    int slash = name.ReverseFind(L'\\');
    name = name.Mid(slash + 1);
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

} // namespace

int ClMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    if (g_boxHook.hook) return g_boxHook.hook(owner, text ? text : L"", caption ? caption : L"", type,
                                              g_boxHook.context);
    return MessageBoxW(owner, text, caption, type);
}

ClMessageBoxHook ClSetMessageBoxHook(ClMessageBoxHook hook, void* context, void** previousContext)
{
    ClMessageBoxHook old = g_boxHook.hook;
    if (previousContext) *previousContext = g_boxHook.context;
    g_boxHook.hook = hook;
    g_boxHook.context = context;
    return old;
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT)
{
    HWND owner = GetActiveWindow();
    return ClMessageBox(owner, text, AfxGetAppTitle(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT, HINSTANCE caller)
{
    CString text;
    if (!text.LoadString(promptId, caller)) text.Format(L"%u", promptId);
    return AfxMessageBox(text, type);
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(const wchar_t* appName, HINSTANCE module)
    : m_pszAppName(nullptr), m_pszRegistryKey(nullptr), m_pszExeName(nullptr), m_hInstance(nullptr)
{
    m_hInstance = module;
    m_exeName = ModuleBaseName(m_hInstance);
    m_appName = appName ? CString(appName) : m_exeName;
    m_pszAppName = m_appName;
    m_pszExeName = m_exeName;
    m_profileName = m_exeName + L".INI";
    m_pszProfileName = m_profileName;
    // The command line after the program's name, and how the main window
    // should first show.
    const wchar_t* line = ::GetCommandLineW();
    if (*line == L'"') {
        for (++line; *line && *line != L'"'; ++line) {
        }
        if (*line) ++line;
    } else {
        while (*line > L' ') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    m_commandLine = line;
    m_lpCmdLine = m_commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ::GetStartupInfoW(&startup);
    m_nCmdShow = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    g_apps.push_back(this);
    AfxAddResourceModule(m_hInstance);
}

CWinApp::~CWinApp()
{
    DeleteDocuments();
    for (auto it = g_apps.begin(); it != g_apps.end(); ++it) {
        if (*it == this) {
            g_apps.erase(it);
            break;
        }
    }
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return 0;
}

BOOL CWinApp::EnsureStarted()
{
    if (!m_started) {
        m_started = true;
        m_initResult = InitInstance();
    }
    return m_initResult;
}

int CWinApp::Shutdown()
{
    if (!m_started || m_stopped) return 0;
    m_stopped = true;
    int result = ExitInstance();
    DeleteDocuments();
    AfxOleTerm(); // OLE, when this program started it, ends after the documents
    return result;
}

void CWinApp::DeleteDocuments()
{
    if (m_pDocManager) m_pDocManager->CloseAllDocuments(TRUE);
    delete m_pDocManager;
    m_pDocManager = nullptr;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
}

void CWinApp::SetRegistryKey(const wchar_t* key)
{
    m_registryKey = key;
    m_pszRegistryKey = m_registryKey;
}

CWinApp* AfxGetApp()
{
    HMODULE exe = GetModuleHandleW(nullptr);
    for (CWinApp* app : g_apps)
        if (app->m_hInstance == exe) return app;
    return g_apps.empty() ? nullptr : g_apps.front();
}

const wchar_t* AfxGetAppName()
{
    CWinApp* app = AfxGetApp();
    if (app) return app->m_pszAppName;
    static CString exeName = ModuleBaseName(GetModuleHandleW(nullptr));
    return exeName;
}

const wchar_t* AfxGetAppTitle()
{
    CWinApp* app = AfxGetApp();
    return app ? app->GetTitle() : AfxGetAppName();
}

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_hInstance : GetModuleHandleW(nullptr);
}


// ---------------------------------------------------------------------------
// The window part.

int CWinApp::Run()
{
    BOOL idle = TRUE;
    LONG idleCount = 0;
    MSG msg;
    for (;;) {
        while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = FALSE;
        }
        do {
            if (!PumpMessage()) {
                int result = Shutdown();
                return result ? result : m_quitCode;
            }
            if (IsIdleMessage(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) ? &msg : nullptr)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
        idle = TRUE;
    }
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        m_quitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG count) { return ClIdleStep(count); }

BOOL CWinApp::IsIdleMessage(MSG* msg) { return AfxIsIdleMessage(msg); }

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    HWND main = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    if (CWnd::WalkPreTranslateTree(main, msg)) return TRUE;
    // A window of its own beside the main window (a floating bar, a modeless
    // window that let the message pass): the main window's accelerators
    // still apply there, as they do while the bar is docked.
    if (!main || !msg->hwnd || !::IsWindowEnabled(main)) return FALSE;
    HWND top = msg->hwnd;
    while (::GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) top = ::GetParent(top);
    if (!top || top == main || ::GetWindow(top, GW_OWNER) != main) return FALSE;
    CWnd* mainWnd = CWnd::FromHandlePermanent(main);
    return mainWnd && mainWnd->PreTranslateMessage(msg);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !*m_pszRegistryKey) return nullptr;
    CString path;
    path.Format(L"Software\\%s\\%s", m_pszRegistryKey, m_pszAppName);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(const wchar_t* section)
{
    HKEY app = GetAppRegistryKey();
    if (!app) return nullptr;
    HKEY key = nullptr;
    LONG rc = ::RegCreateKeyExW(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                                &key, nullptr);
    ::RegCloseKey(app);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        HKEY key = GetSectionKey(section);
        if (!key) return static_cast<UINT>(defaultValue);
        DWORD value = 0, type = 0, size = sizeof(value);
        LONG rc = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS && type == REG_DWORD ? value : static_cast<UINT>(defaultValue);
    }
    return ::GetPrivateProfileIntW(section, entry, defaultValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        HKEY key = GetSectionKey(section);
        if (!key) return FALSE;
        DWORD v = static_cast<DWORD>(value);
        LONG rc = ::RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v));
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    return ::WritePrivateProfileStringW(section, entry, text, m_pszProfileName);
}

CString CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue)
{
    CString fallback(defaultValue ? defaultValue : L"");
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        HKEY key = GetSectionKey(section);
        if (!key) return fallback;
        DWORD type = 0, size = 0;
        CString value;
        LONG rc = ::RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size);
        if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
            DWORD capacity = size;
            wchar_t* buffer = value.GetBufferSetLength(static_cast<int>(capacity / sizeof(wchar_t)) + 1);
            rc = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
            // A value that grew meanwhile reports its new size and is not read.
            buffer[std::min(size, capacity) / sizeof(wchar_t)] = 0;
            value.ReleaseBuffer();
        }
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) ? value : fallback;
    }
    std::vector<wchar_t> buffer(4096);
    for (;;) {
        DWORD n = ::GetPrivateProfileStringW(section, entry, fallback, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), m_pszProfileName);
        if (n < buffer.size() - 2) return CString(buffer.data(), static_cast<int>(n));
        buffer.resize(buffer.size() * 2);
    }
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value)
{
    if (m_pszRegistryKey && *m_pszRegistryKey) {
        if (!entry) { // removes the section
            HKEY app = GetAppRegistryKey();
            if (!app) return FALSE;
            LONG rc = ::RegDeleteTreeW(app, section);
            ::RegCloseKey(app);
            return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
        }
        HKEY key = GetSectionKey(section);
        if (!key) return FALSE;
        LONG rc;
        if (!value) {
            rc = ::RegDeleteValueW(key, entry);
            if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
        } else {
            rc = ::RegSetValueExW(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                  static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        }
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS;
    }
    return ::WritePrivateProfileStringW(section, entry, value, m_pszProfileName);
}

// ---------------------------------------------------------------------------
// The document part.

void CWinApp::AddDocTemplate(CDocTemplate* documentTemplate)
{
    if (!m_pDocManager) m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(documentTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& position) const
{
    return m_pDocManager->GetNextDocTemplate(position);
}

CDocument* CWinApp::OpenDocumentFile(const wchar_t* path)
{
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(path) : nullptr;
}

BOOL CWinApp::SaveAllModified() { return !m_pDocManager || m_pDocManager->SaveAllModified(); }

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    if (m_pDocManager) m_pDocManager->CloseAllDocuments(endSession);
}

int CWinApp::GetOpenDocumentCount() const { return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0; }

BOOL CWinApp::DoPromptFileName(CString& fileName, const wchar_t* title, DWORD flags, BOOL open,
                               CDocTemplate* documentTemplate)
{
    if (!m_pDocManager) m_pDocManager = new CDocManager;
    return m_pDocManager->DoPromptFileName(fileName, title, flags, open, documentTemplate);
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager) m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager) m_pDocManager->OnFileOpen();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------
// The recent-file list.

void CWinApp::LoadStdProfileSettings(UINT maxEntries)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (maxEntries == 0) return;
    m_pRecentFileList = new CRecentFileList(1, L"Recent File List", L"File%d",
                                            static_cast<int>(std::min<UINT>(maxEntries, 16)));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(const wchar_t* path)
{
    if (!m_pRecentFileList || !path || !*path) return;
    wchar_t full[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    m_pRecentFileList->Add(n > 0 && n < MAX_PATH * 2 ? full : path);
}

void CWinApp::OnOpenRecentFile(UINT id)
{
    if (!m_pRecentFileList) return;
    int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetSize()) return;
    CString path = (*m_pRecentFileList)[index];
    if (path.IsEmpty()) return;
    // A file that can no longer be opened leaves the list.
    if (!OpenDocumentFile(path)) m_pRecentFileList->Remove(index);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui)
{
    if (m_pRecentFileList)
        m_pRecentFileList->UpdateMenu(ui);
    else
        ui->Enable(FALSE);
}

// ---------------------------------------------------------------------------
// The command line.

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL flag, BOOL last)
{
    CString text(param ? param : L"");
    if (flag) {
        if (text.CompareNoCase(L"pt") == 0) {
            m_nShellCommand = FilePrintTo;
        } else if (text.CompareNoCase(L"p") == 0) {
            m_nShellCommand = FilePrint;
        } else if (text.CompareNoCase(L"dde") == 0) {
            m_bShowSplash = FALSE;
            m_nShellCommand = FileDDE;
        }
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = text;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.IsEmpty())
            m_strPrinterName = text;
        else if (m_strDriverName.IsEmpty())
            m_strDriverName = text;
        else if (m_strPortName.IsEmpty())
            m_strPortName = text;
    }
    if (last && m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) m_nShellCommand = FileOpen;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    // The system's splitting rules (quotes, backslashes before quotes) with
    // a stand-in for the program's name, which has rules of its own.
    CString line = CString(L"x ") + (m_lpCmdLine ? m_lpCmdLine : L"");
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(line, &count);
    if (!arguments) return;
    for (int i = 1; i < count; ++i) {
        const wchar_t* param = arguments[i];
        BOOL flag = (param[0] == L'/' || param[0] == L'-') && param[1] != L'\0';
        info.ParseParam(flag ? param + 1 : param, flag, i == count - 1);
    }
    ::LocalFree(arguments);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
        CDocument* document = OpenDocumentFile(info.m_strFileName);
        if (!document) return FALSE;
        POSITION pos = document->GetFirstViewPosition();
        if (CView* view = pos ? document->GetNextView(pos) : nullptr)
            view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        document->OnCloseDocument();
        return FALSE; // the program's work is done
    }
    case CCommandLineInfo::FileDDE:
    case CCommandLineInfo::FileNothing:
    default:
        return TRUE;
    }
}

