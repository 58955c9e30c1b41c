#include "brisko/shell/BriskoApp.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/MainFrm.h"

const wchar_t kBriskoCaption[] = L"TAVIX项目数据环境";
const wchar_t kResourceDllName[] = L"Tavix3_Res8.dll";

CBriskoApp theApp;
tkxApplicationInfo g_AppInfo;
tkxBreakChain CurRoadBreakChain;
tkxZDMInfo CurRoadProfile;

BEGIN_MESSAGE_MAP(CBriskoApp, CWinApp)
END_MESSAGE_MAP()

CBriskoApp::CBriskoApp() : CWinApp(nullptr)
{
    SetDefaultSettings();
}

void CBriskoApp::SetDefaultSettings()
{
    m_Colors[0] = GetSysColor(COLOR_WINDOW);
    m_Colors[1] = 0x0000FF;
    m_Colors[2] = 0xF0F0F0;
    m_Colors[3] = 0x008000;
    m_Colors[4] = 0xFF0000;
    m_Colors[5] = 0xFF8000;
    m_Colors[6] = 0xFF8000;
    m_Colors[7] = 0x000000;
    m_Colors[8] = 0xFFFFFF;
    m_Colors[9] = GetSysColor(COLOR_BTNFACE);
    m_Colors[10] = 0x0000FF;
    m_Colors[11] = 0xC08000;
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

BOOL CBriskoApp::InitInstance()
{
    SetRegistryKey(L"TavixSuite");
    LoadStdProfileSettings(4);
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        AfxMessageBox(L"应用程序初始化失败, 无法创建主窗口!");
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    return TRUE;
}

int CBriskoApp::ExitInstance() { return CWinApp::ExitInstance(); }

CDocument* CBriskoApp::OpenDocumentFile(const wchar_t* path) { return CWinApp::OpenDocumentFile(path); }

CMainFrame* CBriskoApp::MainFrame() const { return static_cast<CMainFrame*>(m_pMainWnd); }
