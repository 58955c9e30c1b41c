#include "App.h"
#include <vector>

namespace {

struct BoxHook {
    ClMessageBoxHook hook = nullptr;
    void* context = nullptr;
};

BoxHook g_boxHook;
std::vector<CWinApp*> g_apps;
HINSTANCE g_resource = nullptr;

HMODULE ModuleOfAddress(const void* address)
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    return module;
}

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
    return ClMessageBox(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT)
{
    CString text;
    if (!text.LoadString(promptId)) text.Format(L"%u", promptId);
    return AfxMessageBox(text, type);
}

IMPLEMENT_DYNAMIC(CWinApp, CObject)

CWinApp::CWinApp(const wchar_t* appName)
    : m_pszAppName(nullptr), m_pszRegistryKey(nullptr), m_pszExeName(nullptr), m_hInstance(nullptr)
{
    m_hInstance = ModuleOfAddress(this);
    m_exeName = ModuleBaseName(m_hInstance);
    m_appName = appName ? CString(appName) : m_exeName;
    m_pszAppName = m_appName;
    m_pszExeName = m_exeName;
    g_apps.push_back(this);
}

CWinApp::~CWinApp()
{
    for (auto it = g_apps.begin(); it != g_apps.end(); ++it) {
        if (*it == this) {
            g_apps.erase(it);
            break;
        }
    }
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }

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
    return ExitInstance();
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

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_hInstance : GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return g_resource ? g_resource : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE resource) { g_resource = resource; }
