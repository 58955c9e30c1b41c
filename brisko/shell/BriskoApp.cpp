#include "brisko/shell/BriskoApp.h"
#include "corvane/base/CopyData.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/BriskoDoc.h"
#include "brisko/editor/BriskoView.h"
#include "brisko/shell/FileWatch.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "corvane/platform/FileName.h"
#include "corvane/project/FileInterface.h"

using namespace Tavix4;

const wchar_t kBriskoCaption[] = L"TAVIX项目数据环境";
const wchar_t kResourceDllName[] = L"Tavix3_Res8.dll";

CBriskoApp theApp;
tkxApplicationInfo g_AppInfo;
tkxBreakChain CurRoadBreakChain;
tkxZDMInfo CurRoadProfile;

namespace {

// The hand-over buffer of a second start: 512 wide characters with the
// terminator.
const int kHandOverChars = 512;

int Box(const wchar_t* text, UINT type = MB_OK) { return ClMessageBox(nullptr, text, kBriskoCaption, type); }

CString ModulePath(HMODULE module)
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(module, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return CString();
        if (n < buffer.size()) return CString(buffer.c_str(), static_cast<int>(n));
        buffer.resize(buffer.size() * 2);
    }
}

bool FileExists(const CString& path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

CString FullPathOf(const CString& path)
{
    const DWORD n = ::GetFullPathNameW(path, 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring buffer(n, L'\0');
    const DWORD written = ::GetFullPathNameW(path, n, &buffer[0], nullptr);
    return written > 0 && written < n ? CString(buffer.c_str(), static_cast<int>(written)) : path;
}

// Two paths name one file: their full forms are equal without regard to
// case, as file names are (and as the documents' own look-up finds them).
bool SameFile(const CString& a, const CString& b)
{
    const CString fullA = FullPathOf(a), fullB = FullPathOf(b);
    return !fullA.IsEmpty() && ::CompareStringOrdinal(fullA.GetString(), fullA.GetLength(), fullB.GetString(),
                                                      fullB.GetLength(), TRUE) == CSTR_EQUAL;
}

} // namespace

CBriskoApp::CBriskoApp() : CWinApp(nullptr)
{
    // The framework's message boxes carry the program's own caption.
    SetTitle(kBriskoCaption);
    SetDefaultSettings();
}

void CBriskoApp::GetDefaultColors(COLORREF colors[12])
{
    const COLORREF defaults[12] = {::GetSysColor(COLOR_WINDOW), 0x0000FF, 0xF0F0F0, 0x008000, 0xFF0000, 0xFF8000,
                                   0xFF8000, 0x000000, 0xFFFFFF, ::GetSysColor(COLOR_BTNFACE), 0x0000FF, 0xC08000};
    for (int i = 0; i < 12; ++i) colors[i] = defaults[i];
}

void CBriskoApp::SetDefaultSettings()
{
    GetDefaultColors(m_Colors);
    m_nTabWidth = 4;
    m_nMarginWidth = 30;
    m_nLinePitch = 5;
    m_bShowGrid = TRUE;
    m_bAutoIndent = TRUE;
    m_bShowToolTip = TRUE;
    m_nDurationTime = 10;
    m_bAutoComment = TRUE;
    m_bAutoReload = TRUE;
    m_bTopMost = FALSE;
    m_iMainWndLeft = 0;
    m_iMainWndTop = 0;
    m_iMainWndRight = 500;
    m_iMainWndBottom = 500;
    m_bShowProjectBar = TRUE;
    m_bShowRoadInfoBar = TRUE;
}

// ---------------------------------------------------------------------------
// Start-up

BOOL CBriskoApp::InitInstance()
{
    if (!AfxOleInit()) {
        AfxMessageBox(L"OLE对象初始化失败!");
        return FALSE;
    }
    // The class library hosts no controls of other makers: there is no
    // control container to enable.

    SetRegistryKey(L"TavixSuite");
    LoadStdProfileSettings(4);

    // One Brisko per desktop: the mutex is held for the life of the first
    // instance.
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, m_pszAppName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) ::CloseHandle(mutex);
        HandOverToFirstInstance();
        return FALSE;
    }

    m_SVersion = GetModuleVersionText(ModulePath(nullptr));

    // Every data file opens as a data-file document in an MDI child frame.
    AddDocTemplate(new CMultiDocTemplate(IDR_TAVIXTYPE, RUNTIME_CLASS(CBriskoDoc), RUNTIME_CLASS(CMDIChildWnd),
                                         RUNTIME_CLASS(CBriskoView)));
    EnableShellOpen();

    tkx_GetApplicationInfo(g_AppInfo);
    tkx_GetFileStyles(m_FileStyles);
    tkx_GetInternalFileExts(m_SInternalExts);
    tkx_GetReferenceDocInfos(m_ReferenceDocs);

    if (GetSettingInt(L"Settings", L"IconReg", 0) == 0) {
        RegisterFileTypes();
        SetSettingInt(L"Settings", L"IconReg", 1);
    }

    LoadSaveSettings(TRUE);
    LoadResourceDll();

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        AfxMessageBox(L"应用程序初始化失败, 无法创建主窗口!");
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->DragAcceptFiles(TRUE);
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    frame->SetWindowPos(m_bTopMost == 1 ? &CWnd::wndTopMost : &CWnd::wndNoTopMost, m_iMainWndLeft, m_iMainWndTop,
                        m_iMainWndRight - m_iMainWndLeft, m_iMainWndBottom - m_iMainWndTop, SWP_SHOWWINDOW);

    if (!ProcessStartCommand()) return FALSE;

    tkx_SendStringToAssist(L"启动TAVIX项目数据环境", 110);
    return TRUE;
}

BOOL CBriskoApp::ProcessStartCommand()
{
    CCommandLineInfo info;
    ParseCommandLine(info);
    info.m_strFileName.Replace(L'?', L' ');
    CString upper = info.m_strFileName;
    upper.MakeUpper();
    // No empty document at start.
    if (info.m_nShellCommand == CCommandLineInfo::FileNew) info.m_nShellCommand = CCommandLineInfo::FileNothing;
    // A project file goes to the main frame and never opens as a document:
    // that is no failure.
    if (!ProcessShellCommand(info) && upper.Find(L".EPJ") < 0) {
        Box(L"错误号:016  启动TAVIX项目数据环境失败!");
        return FALSE;
    }
    return TRUE;
}

void CBriskoApp::HandOverToFirstInstance()
{
    HWND window = ::GetWindow(::GetDesktopWindow(), GW_CHILD);
    while (::IsWindow(window) && !::GetPropW(window, m_pszAppName)) window = ::GetWindow(window, GW_HWNDNEXT);
    if (!::IsWindow(window)) {
        Box(L"程序已经运行，但找不到其主窗口, 请重试!");
        return;
    }
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    if (!::SetForegroundWindow(window)) Box(L"激活主窗口失败!");
    if (!::SetForegroundWindow(::GetLastActivePopup(window))) Box(L"激活失败主窗口的对话框!");

    CCommandLineInfo info;
    ParseCommandLine(info);
    CString path = info.m_strFileName;
    if (path.IsEmpty()) return;
    path.Replace(L'?', L' ');
    // The running instance works in a folder of its own: a relative path is
    // made full here, in the folder it was given in.
    const bool full = (path.GetLength() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
                      path.Left(2) == L"\\\\";
    if (!full) {
        const DWORD size = ::GetFullPathNameW(path, 0, nullptr, nullptr);
        std::wstring buffer(size, L'\0');
        const DWORD length = size ? ::GetFullPathNameW(path, size, &buffer[0], nullptr) : 0;
        if (length > 0 && length < size) path = CString(buffer.c_str(), static_cast<int>(length));
    }
    // A path cut to fit the buffer could name another file: it is refused.
    if (path.GetLength() >= kHandOverChars) {
        Box(ClFormat(L"文件路径超过%d个字符, 无法在已运行的TAVIX项目数据环境中打开:\n\n%s", kHandOverChars - 1,
                     path.GetString()));
        return;
    }
    wchar_t buffer[kHandOverChars] = {};
    wmemcpy(buffer, path.GetString(), static_cast<size_t>(path.GetLength()));
    COPYDATASTRUCT copy = {0, sizeof(buffer), buffer};
    SendCopyDataMessage(window, 0, copy);
}

CString CBriskoApp::GetModuleVersionText(const wchar_t* path)
{
    if (!path || !FileExists(path)) return L"文件不存在";
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) return L"未定义";
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(path, 0, size, data.data())) return L"未定义";
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\StringFileInfo\\080404b0\\ProductVersion",
                          reinterpret_cast<void**>(&value), &length) ||
        !value || length == 0 || !*value)
        return L"未定义";
    CString text(value);
    text.Replace(L',', L'.');
    return L"R" + text;
}

HINSTANCE CBriskoApp::LoadResourceLibrary(const CString& suiteFolder, const CString& programFolder)
{
    CString path = ClFormat(L"%s\\Bin\\%s", suiteFolder.GetString(), kResourceDllName);
    if (!FileExists(path)) {
        path = ClFormat(L"%s\\%s", programFolder.GetString(), kResourceDllName);
        if (!FileExists(path)) {
            AfxMessageBox(ClFormat(L"[%s]\n\n文件不存在!\n\nTAVIX安装目录:[%s]\n\nTAVIX支持目录:[%s\\Bin]\n\n文件应位于支持目录中!",
                                   path.GetString(), suiteFolder.GetString(), suiteFolder.GetString()));
            return nullptr;
        }
    }
    HINSTANCE library = ::LoadLibraryW(path);
    if (!library) {
        AfxMessageBox(ClFormat(L"加载Tavix3Res?.dll动态连接库失败! 错误代码:%d.\n\n请复制该文件到Tavix的Bin目录\n\n[%s], \n\n或重新安装Tavix!",
                               static_cast<int>(::GetLastError()), path.GetString()));
    }
    return library;
}

BOOL CBriskoApp::LoadResourceDll()
{
    const CString exe = ModulePath(nullptr);
    m_hResourceDll = LoadResourceLibrary(tkx_GetTavixPath(), exe.Left(exe.ReverseFind(L'\\')));
    if (!m_hResourceDll) return FALSE;
    AfxAddResourceModule(m_hResourceDll);
    // Templates made before the library was there take its menus and
    // strings now.
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) GetNextDocTemplate(pos)->LoadTemplate();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Exit

int CBriskoApp::ExitInstance()
{
    SetSettingInt(L"Settings", L"MainWndTOP", static_cast<DWORD>(m_iMainWndTop));
    SetSettingInt(L"Settings", L"MainWndLEFT", static_cast<DWORD>(m_iMainWndLeft));
    SetSettingInt(L"Settings", L"MainWndBOTTOM", static_cast<DWORD>(m_iMainWndBottom));
    SetSettingInt(L"Settings", L"MainWndRIGHT", static_cast<DWORD>(m_iMainWndRight));
    SetSettingInt(L"Settings", L"MainWnd_SHOWPROJECT", static_cast<DWORD>(m_bShowProjectBar));
    SetSettingInt(L"Settings", L"MainWnd_SHOWHDMWND", static_cast<DWORD>(m_bShowRoadInfoBar));

    tkx_RemoveProjectInfoFromReg();
    tkx_RemoveTemplateBaseInfoFromReg();
    tkx_SetProjectInfoToReg(nullptr);
    tkx_SetTemplateBaseInfoToReg(nullptr);

    // The watcher's thread ends before the resource library goes.
    StopFileWatchThread();
    if (m_hResourceDll) {
        AfxRemoveResourceModule(m_hResourceDll);
        ::FreeLibrary(m_hResourceDll);
        m_hResourceDll = nullptr;
    }
    tkx_SendStringToAssist(L"退出TAVIX项目数据环境", 110);
    return CWinApp::ExitInstance();
}

void CBriskoApp::OnAppExit()
{
    if (m_bExitEnabled) CWinApp::OnAppExit();
}

// ---------------------------------------------------------------------------
// Documents

CDocument* CBriskoApp::OpenDocumentFile(const wchar_t* path)
{
    tkxFileName name(path ? path : L"");
    if (name.GetExt().CompareNoCase(L".epj") == 0) {
        m_SPendingProject = path;
        if (m_pMainWnd) ::SendMessageW(m_pMainWnd->GetSafeHwnd(), WM_OPENPROJECT, 0, 0);
        return nullptr;
    }
    POSITION pos = GetFirstDocTemplatePosition();
    if (!pos) return CWinApp::OpenDocumentFile(path);
    // A file that is open already comes forward instead of opening a second
    // document on it (two documents would save over each other's edits).
    CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
    CDocument* open = nullptr;
    if (documentTemplate->MatchDocType(path, open) == CDocTemplate::yesAlreadyOpen && open)
        return CWinApp::OpenDocumentFile(path);
    return documentTemplate->OpenDocumentFile(path, TRUE);
}

void CBriskoApp::CloseDocumentByPath(CString path)
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;) {
            CDocument* document = documentTemplate->GetNextDoc(doc);
            if (SameFile(document->GetPathName(), path)) {
                document->OnCloseDocument();
                break;
            }
        }
    }
}

CMainFrame* CBriskoApp::MainFrame() const
{
    return m_pMainWnd && m_pMainWnd->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(m_pMainWnd)
                                                                         : nullptr;
}

// ---------------------------------------------------------------------------
// The current road's data

void CBriskoApp::LoadCurrentRoadData()
{
    CurRoadProfile.Reset();
    CurRoadProfile.SetBreakChain(&CurRoadBreakChain);
    const int road = m_CurProject.m_iCurRoad;
    if (m_CurProject.GetRoadCount() == 0 || road < 0 || road >= m_CurProject.GetRoadCount()) return;

    const CString breakChain = m_CurProject.m_Roads[road].m_SBreakChain;
    if (!CurRoadBreakChain.GetDLFromString(breakChain)) {
        CString message = ClFormat(L"加载道路属性[断链信息]失败!\n\n%s", breakChain.GetString());
        AfxMessageBox(message, MB_ICONINFORMATION);
        CurRoadBreakChain.Reset();
        PrintToMainInfoWindow(L"%s", message.GetString());
    }

    const CString folder = m_CurProject.m_SPath;
    const CString name = m_CurProject.GetRoadName(road);
    CString dmx = ClFormat(L"%s\\%s\\%s.DMX", folder.GetString(), name.GetString(), name.GetString());
    if (FileExists(dmx) && !CurRoadProfile.LoadDMXFile(dmx)) {
        CString message = ClFormat(L"加载纵断面地面线失败!\n\n%s", tkx_GetLastError().GetString());
        AfxMessageBox(message, MB_ICONINFORMATION);
        PrintToMainInfoWindow(L"%s", message.GetString());
    }
    CString sqx = ClFormat(L"%s\\%s\\%s.SQX", folder.GetString(), name.GetString(), name.GetString());
    if (FileExists(sqx) && !CurRoadProfile.LoadSQXFile(sqx)) {
        CString message = ClFormat(L"加载纵断面竖曲线失败!\n\n%s", tkx_GetLastError().GetString());
        AfxMessageBox(message, MB_ICONINFORMATION);
        PrintToMainInfoWindow(L"%s", message.GetString());
    }
}
