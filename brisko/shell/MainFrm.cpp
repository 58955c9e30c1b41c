#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Helpers.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/PPage_HDXInfo.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/manager/PPage_ZDMInfo.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/manager/TreeViewResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/DialogBar_Html.h"
#include "brisko/shell/FileWatch.h"
#include "brisko/shell/IconMenu.h"
#include "brisko/shell/Messages.h"
#include "brisko/templates/TreeViewTemplate.h"
#include "corvane/platform/FileName.h"
#include <cstdarg>

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

namespace {

CMainFrame* g_frame = nullptr; // the frame from its creation to its destruction

const UINT kIndicators[] = {
    ID_SEPARATOR,       ID_INDICATOR_POSITION, ID_INDICATOR_WORKDIR, ID_INDICATOR_TAVIX, ID_INDICATOR_OVR,
    ID_INDICATOR_READONLY, ID_INDICATOR_CAPS,  ID_INDICATOR_NUM,     ID_INDICATOR_SCRL,
};

// One tab of a manager bar: its name and its pane's class (a tab without a
// class would be left out of its bar).
struct BarTab {
    const wchar_t* name;
    CRuntimeClass* cls;
};

const BarTab kProjectTabs[] = {
    {L"项目信息", RUNTIME_CLASS(CTreeViewClass)},
    {L"文件管理", RUNTIME_CLASS(CTreeViewFile)},
    {L"边坡模板", RUNTIME_CLASS(CTreeViewTemplate)},
    {L"文档规范", RUNTIME_CLASS(CTreeViewResource)},
};

const BarTab kRoadInfoTabs[] = {
    {L"提示信息", RUNTIME_CLASS(CPPage_InfoBar)},
    {L"纵断面信息", RUNTIME_CLASS(CPPage_ZDMInfo)},
    {L"横断面地面线", RUNTIME_CLASS(CPPage_HDXInfo)},
};

// The image list of a bar's tabs: the bitmap holds an inactive look for
// every tab of the table, then an active look for each; the list takes
// those of the tabs present, in the same arrangement.
BOOL LoadTabImages(CImageList& list, UINT bitmap, const BarTab* tabs, int total)
{
    CImageList all;
    if (!all.Create(bitmap, 16, 0, RGB(0, 255, 0))) return FALSE;
    std::vector<int> present;
    for (int i = 0; i < total; ++i)
        if (tabs[i].cls) present.push_back(i);
    if (static_cast<int>(present.size()) == total) {
        list.Attach(all.Detach());
        return TRUE;
    }
    if (!list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 1)) return FALSE;
    for (int look = 0; look < 2; ++look) {
        for (int i : present) {
            HICON icon = all.ExtractIcon(i + look * total);
            list.Add(icon);
            ::DestroyIcon(icon);
        }
    }
    return TRUE;
}

// The tab of the project-manager bar that shows row `row` of the table;
// -1 when that pane is not part of the program.
int ProjectTabIndex(int row)
{
    if (row < 0 || row >= static_cast<int>(std::size(kProjectTabs)) || !kProjectTabs[row].cls) return -1;
    int index = 0;
    for (int i = 0; i < row; ++i)
        if (kProjectTabs[i].cls) ++index;
    return index;
}

// The pane of that class in a manager bar (a page of the road-information
// bar, a tree of the project manager); NULL before the bar exists.
template <class Page>
Page* BarPane(CMyTabCtrlBar& bar)
{
    return bar.GetSafeHwnd() ? static_cast<Page*>(bar.GetView(RUNTIME_CLASS(Page))) : nullptr;
}

bool FileExists(const CString& path)
{
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_VIEW_TOPMOST, OnTopMost)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOPMOST, OnUpdateTopMost)
    ON_COMMAND(ID_VIEW_PROJECTBAR, OnViewProjectBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PROJECTBAR, OnUpdateViewProjectBar)
    ON_COMMAND(ID_VIEW_INFOBAR, OnViewInfoBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_INFOBAR, OnUpdateViewInfoBar)
    ON_COMMAND_RANGE(ID_VIEW_TAB_PROJECT, ID_VIEW_TAB_REFERENCES, OnViewTab)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TAB_PROJECT, ID_VIEW_TAB_REFERENCES, OnUpdateViewTab)
    ON_COMMAND(ID_PROJECT_EXPORT, OnProjectExport)
    ON_UPDATE_COMMAND_UI(ID_PROJECT_EXPORT, OnUpdateProjectExport)
    ON_COMMAND(ID_PROJECT_REFRESH, OnProjectRefresh)
    ON_COMMAND(ID_TEMPLATE_NEWBASE, OnTemplateNewBase)
    ON_COMMAND(ID_TEMPLATE_OPENBASE, OnTemplateOpenBase)
    ON_COMMAND(ID_TEMPLATE_IMPORTBASE, OnTemplateImportBase)
    ON_COMMAND_RANGE(ID_PROJECT_NEW, ID_PROJECT_NEW, OnProjectCommand)
    ON_COMMAND_RANGE(ID_PROJECT_OPEN, ID_PROJECT_OPEN, OnProjectCommand)
    ON_COMMAND_RANGE(ID_PROJECT_IMPORT, ID_PROJECT_IMPORT, OnProjectCommand)
    ON_COMMAND_RANGE(ID_PROJECT_SETTINGS, ID_PROJECT_SETTINGS, OnProjectCommand)
    ON_COMMAND(ID_TEMPLATE_EXPORTBASE, OnTemplateExport)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_WORKDIR, OnUpdateWorkingDirectory)
    ON_WM_COPYDATA()
    ON_MESSAGE(WM_OPENPENDINGFILE, OnOpenPendingFile)
    ON_MESSAGE(WM_PROJECTCHANGED, OnProjectChanged)
    ON_MESSAGE(WM_OPENPROJECT, OnOpenProject)
    ON_MESSAGE(WM_SHOWTEMPLATEPREVIEW, OnShowTemplatePreview)
    ON_MESSAGE(WM_CLOSEREFERENCEPAGE, OnCloseReferencePage)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_REGISTERED_MESSAGE(GetFileWatchMessage(), OnFileWatchNotify)
    ON_WM_INITMENUPOPUP()
    ON_WM_MEASUREITEM()
    ON_WM_DRAWITEM()
    ON_MESSAGE(WM_MENUCHAR, OnMenuChar)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_pReferencePage(nullptr), m_bRoadFileAutoReload(1), m_dwRoadFileWatch{0, 0, 0} {}

CMainFrame::~CMainFrame()
{
    if (g_frame == this) g_frame = nullptr;
}

CMainFrame* CMainFrame::Current()
{
    if (CMainFrame* frame = theApp.MainFrame()) return frame;
    return g_frame;
}

// ---------------------------------------------------------------------------
// Creation

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
    g_frame = this;

    if (!CreateStatusBar()) {
        AfxMessageBox(L"创建状态行出错!");
        return -1;
    }
    EnableDocking(CBRS_ALIGN_ANY);
    if (!CreateToolBar()) {
        AfxMessageBox(L"创建工具条位图失败!");
        return -1;
    }
    // The bars' small buttons; the program's own copy stands in when the
    // resource library is missing.
    if (!m_ilButtons.Create(IDB_BAR_BUTTONS, 13, 0, RGB(0, 255, 0)) &&
        !m_ilButtons.Create(IDB_FALLBACK_BARBUTTONS, 13, 0, RGB(0, 255, 0))) {
        AfxMessageBox(L"创建项目管理器窗口按钮位图列表失败!");
        return -1;
    }
    CreateManagerBars();

    ::SetPropW(m_hWnd, theApp.m_pszAppName, reinterpret_cast<HANDLE>(1));

    ShowControlBar(&m_wndProjectBar, theApp.m_bShowProjectBar == 1, FALSE);
    ShowControlBar(&m_wndRoadInfoBar, theApp.m_bShowRoadInfoBar == 1, FALSE);

    const Tavix4::sWorkSpace workspace = tkx_GetWorkSpace();
    PrintToInfoWindow(L"启动TAVIX 项目数据环境. [版本号:%s]", theApp.m_SVersion.GetString());
    PrintToInfoWindow(L"当前项目: %s; 当前道路: %s", workspace.m_SPrjName.GetString(),
                      workspace.m_SCurRoadName.GetString());
    PrintToInfoWindow(L"当前模板库: %s", workspace.m_STBName.GetString());

    theApp.LoadCurrentRoadData();
    RegisterRoadFileWatches();
    return 0;
}

BOOL CMainFrame::CreateStatusBar()
{
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) return FALSE;
    if (!m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators)))) return FALSE;
    m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR_POSITION, 0, 120);
    m_wndStatusBar.SetPaneInfo(2, ID_INDICATOR_WORKDIR, 0, 300);
    m_wndStatusBar.SetPaneInfo(3, ID_INDICATOR_TAVIX, 0, 60);
    return TRUE;
}

BOOL CMainFrame::CreateToolBar()
{
    const DWORD style =
        WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR)) return FALSE;
    // The tool bar of the resource library, or the program's own copy, with
    // its true-colour looks made from the matching strip (magenta
    // transparent).
    const COLORREF kMagenta = RGB(255, 0, 255);
    if (m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        m_wndToolBar.LoadTrueColorImages(IDB_TOOLBAR24, kMagenta);
    else if (m_wndToolBar.LoadToolBar(IDB_FALLBACK_TOOLBAR))
        m_wndToolBar.LoadTrueColorImages(IDB_FALLBACK_TOOLBAR, kMagenta);
    else
        return FALSE;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return TRUE;
}

BOOL CMainFrame::CreateManagerBars()
{
    // Project manager, docked at the left.
    m_wndProjectBar.SetBtnImageList(&m_ilButtons);
    if (!m_wndProjectBar.Create(this, IDW_PROJECT_BAR, L"TAVIX项目管理器", CSize(350, 200),
                                WS_CHILD | WS_VISIBLE | CBRS_TOP))
        return FALSE;
    for (const BarTab& tab : kProjectTabs)
        if (tab.cls) m_wndProjectBar.AddView(tab.name, tab.cls);
    if (LoadTabImages(m_ilProjectTabs, IDB_IL_TAB, kProjectTabs, static_cast<int>(std::size(kProjectTabs))))
        m_wndProjectBar.SetTabImageList(&m_ilProjectTabs);
    else
        AfxMessageBox(L"加载位图资源失败!\n\n[TAVIXRES_IDB_IL_TAB]");
    m_wndProjectBar.SetBarStyle(m_wndProjectBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndProjectBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndProjectBar, AFX_IDW_DOCKBAR_LEFT);
    m_wndProjectBar.SetActiveView(0);

    // Road information, docked at the bottom only.
    m_wndRoadInfoBar.SetBtnImageList(&m_ilButtons);
    if (!m_wndRoadInfoBar.Create(this, IDW_ROADINFO_BAR, L"道路信息组合窗口", CSize(350, 200),
                                 WS_CHILD | WS_VISIBLE | CBRS_TOP))
        return FALSE;
    if (LoadTabImages(m_ilRoadTabs, IDB_IL_TAB_ROADINFO, kRoadInfoTabs, static_cast<int>(std::size(kRoadInfoTabs))))
        m_wndRoadInfoBar.SetTabImageList(&m_ilRoadTabs);
    else
        AfxMessageBox(L"加载位图资源失败!\n\n[TAVIXRES_IDB_IL_TAB_ROADINFO]");
    for (const BarTab& tab : kRoadInfoTabs)
        if (tab.cls) m_wndRoadInfoBar.AddView(tab.name, tab.cls);
    m_wndRoadInfoBar.SetBarStyle(m_wndRoadInfoBar.GetBarStyle() | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndRoadInfoBar.EnableDocking(CBRS_ALIGN_BOTTOM);
    DockControlBar(&m_wndRoadInfoBar, AFX_IDW_DOCKBAR_BOTTOM);
    m_wndRoadInfoBar.SetActiveView(0);
    return TRUE;
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context)
{
    if (!CMDIFrameWnd::OnCreateClient(cs, context)) return FALSE;
    return m_wndMdiClient.SubclassWindow(m_hWndMDIClient);
}

void CMainFrame::OnDestroy()
{
    CRect rect;
    GetWindowRect(&rect);
    // A minimised or collapsed window keeps the rectangle stored before.
    if (rect.Width() > 200 && rect.Height() > 50) {
        theApp.m_iMainWndLeft = rect.left;
        theApp.m_iMainWndTop = rect.top;
        theApp.m_iMainWndRight = rect.right;
        theApp.m_iMainWndBottom = rect.bottom;
    }
    if (m_pReferencePage) {
        m_pReferencePage->DestroyWindow();
        delete m_pReferencePage;
        m_pReferencePage = nullptr;
    }
    RemoveRoadFileWatches();
    CMDIFrameWnd::OnDestroy();
    ::RemovePropW(m_hWnd, theApp.m_pszAppName);
    if (g_frame == this) g_frame = nullptr;
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_MOUSEWHEEL && m_wndRoadInfoBar.GetSafeHwnd()) {
        CRect rect;
        m_wndRoadInfoBar.GetWindowRect(&rect);
        if (rect.PtInRect(CPoint(static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))))) {
            m_wndRoadInfoBar.SendMessage(WM_MOUSEWHEEL, msg->wParam, msg->lParam);
            return TRUE;
        }
    }
    return CMDIFrameWnd::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Menus: drawn by the program, with the tool bar's pictures

void CMainFrame::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    CMDIFrameWnd::OnInitMenuPopup(popup, index, sysMenu);
    if (!sysMenu) PrepareMenu(popup, this);
}

void CMainFrame::OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis)
{
    if (mis->CtlType == ODT_MENU)
        MeasureMenuItem(mis);
    else
        CMDIFrameWnd::OnMeasureItem(id, mis);
}

void CMainFrame::OnDrawItem(int id, LPDRAWITEMSTRUCT dis)
{
    if (dis->CtlType == ODT_MENU)
        DrawMenuItem(dis);
    else
        CMDIFrameWnd::OnDrawItem(id, dis);
}

LRESULT CMainFrame::OnMenuChar(WPARAM wParam, LPARAM lParam)
{
    const LRESULT found =
        FindMenuMnemonic(CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)), LOWORD(wParam), HIWORD(wParam));
    return found ? found : Default();
}

// ---------------------------------------------------------------------------
// Output and pages

void CMainFrame::PrintToInfoWindow(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const CString text = FormatWhole(format, args);
    va_end(args);
    if (!m_wndRoadInfoBar.GetSafeHwnd()) return;
    if (auto* page = static_cast<CPPage_InfoBar*>(m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar))))
        page->AddMessage(text);
}

void PrintToMainInfoWindow(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const CString text = FormatWhole(format, args);
    va_end(args);
    if (CMainFrame* frame = CMainFrame::Current()) frame->PrintToInfoWindow(L"%s", text.GetString());
}

void CMainFrame::ShowProfilePage()
{
    if (theApp.m_bShowRoadInfoBar == 1) ShowRoadInfoPage(1);
}

void CMainFrame::ShowCrossSectionPage(BOOL show)
{
    if (show == 1 && theApp.m_bShowRoadInfoBar == 1) ShowRoadInfoPage(2);
}

void CMainFrame::ShowRoadInfoPage(int index)
{
    // The editor shows these pages as its caret moves: the keys go on
    // moving the caret, so the keyboard focus stays where it is.
    const HWND focus = ::GetFocus();
    m_wndRoadInfoBar.SetActiveView(index);
    if (focus && ::IsWindow(focus) && ::GetFocus() != focus) ::SetFocus(focus);
}

void CMainFrame::ShowProjectBar()
{
    if (m_wndProjectBar.GetSafeHwnd() && !m_wndProjectBar.IsWindowVisible()) {
        m_wndProjectBar.ShowWindow(SW_SHOW);
        RecalcLayout(TRUE);
    }
}

void CMainFrame::ShowInfoBarPreview(CString what)
{
    if (theApp.m_bShowRoadInfoBar == 1) ShowControlBar(&m_wndRoadInfoBar, TRUE, FALSE);
    auto* page = BarPane<CPPage_InfoBar>(m_wndRoadInfoBar);
    if (!page) return;
    if (what == L"SHOWSLOPE") {
        page->ShowSlopePreview();
        return;
    }
    page->ShowTextPreview();
    page->PreviewFile(what);
    page->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

// The profile page hears of reloaded data.
void CMainFrame::SendToProfilePage(UINT message)
{
    if (auto* page = BarPane<CPPage_ZDMInfo>(m_wndRoadInfoBar)) page->SendMessage(message, 0, 0);
}

void CMainFrame::UpdateProfileGroundPoint(const sGroundPoint* point, const sGroundPoint* previous,
                                          const sGroundPoint* next)
{
    if (theApp.m_bShowRoadInfoBar != 1) return;
    if (auto* page = BarPane<CPPage_ZDMInfo>(m_wndRoadInfoBar))
        page->m_wndView.UpdateGroundPoint(point, previous, next, 1);
}

void CMainFrame::RefreshCrossSectionView()
{
    auto* page = BarPane<CPPage_HDXInfo>(m_wndRoadInfoBar);
    if (page && page->m_wndView.GetSafeHwnd() && !page->m_wndView.IsBusy()) page->m_wndView.ParseSection();
}

CTreeViewClass* CMainFrame::ProjectTree() { return BarPane<CTreeViewClass>(m_wndProjectBar); }

CTreeViewFile* CMainFrame::FileTree() { return BarPane<CTreeViewFile>(m_wndProjectBar); }

CTreeViewTemplate* CMainFrame::TemplateTree() { return BarPane<CTreeViewTemplate>(m_wndProjectBar); }

// ---------------------------------------------------------------------------
// Commands

void CMainFrame::OnTopMost()
{
    theApp.m_bTopMost = theApp.m_bTopMost == 1 ? 0 : 1;
    CRect rect;
    GetWindowRect(&rect);
    SetWindowPos(theApp.m_bTopMost == 1 ? &CWnd::wndTopMost : &CWnd::wndNoTopMost, rect.left, rect.top,
                 rect.Width(), rect.Height(), SWP_SHOWWINDOW);
    theApp.SetSettingInt(L"Settings", L"TOPMOST", static_cast<DWORD>(theApp.m_bTopMost));
}

void CMainFrame::OnUpdateTopMost(CCmdUI* ui) { ui->SetCheck(theApp.m_bTopMost == 1 ? 1 : 0); }

void CMainFrame::OnViewProjectBar()
{
    const BOOL show = !m_wndProjectBar.IsWindowVisible();
    ShowControlBar(&m_wndProjectBar, show, FALSE);
    theApp.m_bShowProjectBar = m_wndProjectBar.IsWindowVisible() ? 1 : 0;
}

void CMainFrame::OnUpdateViewProjectBar(CCmdUI* ui) { ui->SetCheck(m_wndProjectBar.IsWindowVisible() ? 1 : 0); }

void CMainFrame::OnViewInfoBar()
{
    CString ext;
    if (CDocument* document = GetActiveDocument()) ext = tkxFileName(document->GetPathName()).GetExt();
    ext.MakeUpper();
    if (ext == L".HDX") {
        ShowControlBar(&m_wndRoadInfoBar, TRUE, FALSE);
        m_wndRoadInfoBar.SetActiveView(2);
        theApp.m_bShowRoadInfoBar = 1;
        return;
    }
    const BOOL show = !m_wndRoadInfoBar.IsWindowVisible();
    ShowControlBar(&m_wndRoadInfoBar, show, FALSE);
    theApp.m_bShowRoadInfoBar = m_wndRoadInfoBar.IsWindowVisible() ? 1 : 0;
}

void CMainFrame::OnUpdateViewInfoBar(CCmdUI* ui) { ui->SetCheck(m_wndRoadInfoBar.IsWindowVisible() ? 1 : 0); }

void CMainFrame::OnViewTab(UINT id)
{
    ShowProjectBar();
    m_wndProjectBar.SetActiveView(ProjectTabIndex(static_cast<int>(id - ID_VIEW_TAB_PROJECT)));
}

// A tab whose pane is not in the bar cannot be chosen.
void CMainFrame::OnUpdateViewTab(CCmdUI* ui)
{
    const int index = ProjectTabIndex(static_cast<int>(ui->m_nID - ID_VIEW_TAB_PROJECT));
    ui->Enable(index >= 0 && index < m_wndProjectBar.GetTabCount());
    ui->SetCheck(index >= 0 && m_wndProjectBar.GetActiveIndex() == index ? 1 : 0);
}

void CMainFrame::OnProjectExport() {}

void CMainFrame::OnUpdateProjectExport(CCmdUI* ui)
{
    const Tavix4::sWorkSpace workspace = tkx_GetWorkSpace();
    ui->Enable(!workspace.m_SPrjName.IsEmpty() && !workspace.m_SPrjPath.IsEmpty());
}

void CMainFrame::RefreshProjectTree()
{
    ShowProjectBar();
    if (tkx_GetProjectInfoFromReg(m_hWnd) == 1) {
        tkx_GetCurProject(theApp.m_CurProject);
        if (CTreeViewClass* tree = ProjectTree()) tree->BuildTree();
    }
}

void CMainFrame::OnProjectRefresh()
{
    RefreshProjectTree();
    SendMessage(WM_PROJECTCHANGED, 0, 0);
}

void CMainFrame::OnTemplateNewBase()
{
    ShowProjectBar();
    if (CTreeViewTemplate* pane = TemplateTree()) pane->OnNewLibrary();
}

void CMainFrame::OnTemplateOpenBase()
{
    ShowProjectBar();
    if (CTreeViewTemplate* pane = TemplateTree()) pane->OnOpenLibrary();
}

void CMainFrame::OnTemplateImportBase()
{
    ShowProjectBar();
    if (CTreeViewTemplate* pane = TemplateTree()) pane->OnImportLibrary();
}

// The project commands of the main menu are the project tree's.
void CMainFrame::OnProjectCommand(UINT id)
{
    ShowProjectBar();
    CTreeViewClass* tree = ProjectTree();
    if (!tree) return;
    switch (id) {
    case ID_PROJECT_NEW: tree->OnNewProject(); break;
    case ID_PROJECT_OPEN: tree->OnOpenProject(); break;
    case ID_PROJECT_IMPORT: tree->OnImportProject(); break;
    case ID_PROJECT_SETTINGS: tree->OnProjectSettings(); break;
    default: break;
    }
}

void CMainFrame::OnTemplateExport() { ShowProjectBar(); }

void CMainFrame::OnUpdateWorkingDirectory(CCmdUI* ui)
{
    ui->Enable(TRUE);
    const CString& dir = theApp.m_SWorkingDirectory;
    ui->SetText(CString(L"工作目录:") + (dir.IsEmpty() ? CString(L"未设置") : dir));
}

// ---------------------------------------------------------------------------
// Texts from other programs

BOOL CMainFrame::OnCopyData(CWnd*, COPYDATASTRUCT* data)
{
    // The text is read within its byte count: at most cbData / 2
    // characters, up to the first zero.
    CString text;
    if (data && data->lpData && data->cbData >= sizeof(wchar_t)) {
        const auto* chars = static_cast<const wchar_t*>(data->lpData);
        const size_t max = data->cbData / sizeof(wchar_t);
        text = CString(chars, static_cast<int>(wcsnlen(chars, max)));
    }

    const int print = text.Find(L"TAVIX_PRINTF:");
    if (print >= 0) {
        PrintToInfoWindow(L"%s", text.Mid(print + 13).GetString());
        return TRUE;
    }

    const int project = text.Find(L"SETCURPRJ:");
    if (project >= 0) {
        // "SETCURPRJ:<project>|SETCURROAD:<road>"; a text without the road
        // part is not a road change.
        static const wchar_t kRoadTag[] = L"|SETCURROAD:";
        const int bar = text.Find(L'|', project + 10);
        if (bar < 0 || wcsncmp(text.GetString() + bar, kRoadTag, 12) != 0) return TRUE;
        const CString road = text.Mid(bar + 12);
        if (road == tkx_GetWorkSpace().m_SCurRoadName) return TRUE;
        tkxProject& copy = theApp.m_CurProject;
        int index = -1;
        for (int i = 0; i < copy.GetRoadCount() && index < 0; ++i)
            if (copy.m_Roads[i].m_SRoadName == road) index = i;
        if (index < 0) {
            MessageBox(ClFormat(L"道路[%s]不在当前项目列表中!", road.GetString()), kBriskoCaption, MB_ICONINFORMATION);
            return TRUE;
        }
        if (copy.VerifyRoadDirectory(index, m_hWnd) != 1) return TRUE;
        copy.m_iCurRoad = static_cast<short>(index);
        theApp.SetWorkingDirectory(copy.GetWorkingDirectory());
        const bool saved = tkx_UpdateProject(&copy, 1) == 1;
        // The road's data, the watches of its files and the manager's trees
        // follow the road, as after any change of the project.
        SendMessage(WM_PROJECTCHANGED, 0, 0);
        if (saved) {
            ShowProjectBar();
            if (CTreeViewClass* tree = ProjectTree()) tree->BuildTree();
            PrintToInfoWindow(L"来自外部程序操作: 修改当前道路为%s", copy.GetCurRoadName().GetString());
        }
        return static_cast<BOOL>(Default());
    }

    // Any other text names a file to open.
    if (!text.IsEmpty() && FileExists(text)) theApp.OpenDocumentFile(text);
    return static_cast<BOOL>(Default());
}

// ---------------------------------------------------------------------------
// Private messages

LRESULT CMainFrame::OnOpenPendingFile(WPARAM, LPARAM)
{
    const CString path = theApp.GetSettingString(L"Settings", L"OPENFILENAME", L"");
    if (!path.IsEmpty()) theApp.OpenDocumentFile(path);
    return 0;
}

LRESULT CMainFrame::OnProjectChanged(WPARAM, LPARAM)
{
    ShowProjectBar();
    if (CTreeViewFile* files = FileTree()) files->BuildTree();
    // The watches of the road's files are replaced.
    RemoveRoadFileWatches();
    theApp.LoadCurrentRoadData();
    RegisterRoadFileWatches();
    SendToProfilePage(WM_PROFILEDATACHANGED);
    return 0;
}

LRESULT CMainFrame::OnOpenProject(WPARAM, LPARAM)
{
    CString path = theApp.m_SPendingProject;
    path.Trim();
    if (path.IsEmpty()) return 0;
    const CString current = theApp.m_CurProject.m_SName;
    if (!current.IsEmpty() && current != tkx_GetWorkSpace().m_SPrjName) {
        const CString question =
            ClFormat(L"将打开项目文件<%s>, 关闭当前项目<%s>及打开的所有文档, 是否继续?", path.GetString(),
                     current.GetString());
        if (MessageBox(question, kBriskoCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
        // Modified documents are offered for saving first; Cancel keeps
        // everything open.
        if (!theApp.SaveAllModified()) return 0;
        theApp.CloseAllDocuments(FALSE);
    }
    if (CTreeViewClass* tree = ProjectTree()) tree->ImportProjectFile(path);
    ShowProjectBar();
    return 0;
}

LRESULT CMainFrame::OnShowTemplatePreview(WPARAM, LPARAM)
{
    if (auto* page = BarPane<CPPage_InfoBar>(m_wndRoadInfoBar)) page->UpdateSlopePreview();
    return 0;
}

LRESULT CMainFrame::OnCloseReferencePage(WPARAM, LPARAM)
{
    if (m_pReferencePage) {
        m_pReferencePage->DestroyWindow();
        delete m_pReferencePage;
        m_pReferencePage = nullptr;
    }
    return 0;
}

void CMainFrame::HideReferencePage()
{
    CDialogBar_Html* page = m_pReferencePage;
    if (!page || !page->GetSafeHwnd()) return;
    const HWND focus = ::GetFocus();
    const bool focusOnPage = focus && (focus == page->m_hWnd || ::IsChild(page->m_hWnd, focus));
    page->ShowWindow(SW_HIDE);
    // A focus elsewhere stays (and a program in the background is not
    // brought forward).
    if (!focusOnPage) return;
    CMDIChildWnd* child = MDIGetActive();
    CView* view = child ? child->GetActiveView() : nullptr;
    CWnd* pane = m_wndProjectBar.GetSafeHwnd() && m_wndProjectBar.IsWindowVisible()
                     ? m_wndProjectBar.GetActiveWnd()
                     : nullptr;
    if (view && view->GetSafeHwnd())
        view->SetFocus();
    else if (pane && pane->GetSafeHwnd())
        pane->SetFocus();
    else
        SetFocus();
}

void CMainFrame::OnActivateChild(CMDIChildWnd* child)
{
    CMDIFrameWnd::OnActivateChild(child);
    // The keys go into the document brought up: it is not left behind the
    // page.
    if (m_pReferencePage && m_pReferencePage->GetSafeHwnd() && m_pReferencePage->IsWindowVisible())
        HideReferencePage();
}

LRESULT CMainFrame::OnNcActivate(WPARAM active, LPARAM)
{
    // The reference page, a child window with a caption, shows the main
    // window's state of activation in it, as a document window does.
    if (m_pReferencePage && m_pReferencePage->GetSafeHwnd() && m_pReferencePage->IsWindowVisible())
        m_pReferencePage->SendMessage(WM_NCACTIVATE, active);
    return Default();
}

// ---------------------------------------------------------------------------
// The current road's files

namespace {

// The followed files of the current road, in the order of the watches.
const wchar_t* const kRoadFileExts[3] = {L"DL", L"DMX", L"SQX"};

// A file of the current road; empty without a current road.
CString CurrentRoadFile(const wchar_t* ext)
{
    const tkxProject& project = theApp.m_CurProject;
    const int road = project.m_iCurRoad;
    if (road < 0 || road >= project.GetRoadCount()) return CString();
    const CString name = project.m_Roads[road].m_SRoadName;
    return ClFormat(L"%s\\%s\\%s.%s", project.m_SPath.GetString(), name.GetString(), name.GetString(), ext);
}

} // namespace

void CMainFrame::RegisterRoadFileWatches()
{
    for (int i = 0; i < 3; ++i) {
        const CString path = CurrentRoadFile(kRoadFileExts[i]);
        if (path.IsEmpty() || !FileExists(path)) continue;
        m_dwRoadFileWatch[i] = AddFileWatch(path, m_hWnd, nullptr);
        SetFileWatchOption(m_dwRoadFileWatch[i], &m_bRoadFileAutoReload);
        m_SWatchedPaths[i] = path;
    }
}

void CMainFrame::RemoveRoadFileWatches()
{
    for (DWORD& id : m_dwRoadFileWatch) {
        RemoveFileWatch(id);
        id = 0;
    }
    for (CString& path : m_SWatchedPaths) path.Empty();
}

void CMainFrame::ReportReloadError(const CString& text)
{
    MessageBox(text, kBriskoCaption, MB_ICONINFORMATION | MB_SYSTEMMODAL);
    PrintToMainInfoWindow(L"%s", text.GetString());
}

LRESULT CMainFrame::OnFileWatchNotify(WPARAM, LPARAM lParam)
{
    // lParam is the watch id; a watch gone meanwhile has no path.
    CString path;
    if (!GetFileWatchPath(static_cast<DWORD>(lParam), path) || !FileExists(path)) return 0;
    // Which of the followed files changed: the whole path decides, not a
    // piece of it.
    int which = -1;
    for (int i = 0; i < 3 && which < 0; ++i)
        if (!m_SWatchedPaths[i].IsEmpty() && path.CompareNoCase(m_SWatchedPaths[i]) == 0) which = i;
    // A change is taken only into the road whose file it is: a watch left
    // from a road that is no longer current changes nothing.
    if (which < 0 || path.CompareNoCase(CurrentRoadFile(kRoadFileExts[which])) != 0) return 0;

    if (which == 0) {
        if (MessageBox(L"断链文件已经修改, 是否更新当前道路的断链数据?", kBriskoCaption,
                       MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES)
            return 0;
        tkxProject& copy = theApp.m_CurProject;
        const int road = copy.m_iCurRoad;
        const bool loaded = CurRoadBreakChain.LoadDLFile(path) != 0;
        // A file that cannot be read leaves the chain as it was; the user,
        // who asked for the update, is told why.
        if (!loaded) ReportReloadError(tkx_GetLastError());
        if (!loaded || road < 0 || road >= copy.GetRoadCount()) {
            CurRoadProfile.SetBreakChain(&CurRoadBreakChain);
            SendToProfilePage(WM_PROFILEDATACHANGED);
            return 0;
        }
        copy.m_Roads[road].m_SBreakChain = CurRoadBreakChain.OutputToSText();
        if (tkx_UpdateProject(&copy, 1) == 1) {
            if (CTreeViewClass* tree = ProjectTree()) tree->BuildTree();
            CurRoadProfile.SetBreakChain(&CurRoadBreakChain);
            // As when the road's data are loaded: a road without a ground
            // line or vertical curves has none to reload.
            const CString dmx = CurrentRoadFile(L"DMX"), sqx = CurrentRoadFile(L"SQX");
            if (FileExists(dmx) && !CurRoadProfile.LoadDMXFile(dmx)) ReportReloadError(tkx_GetLastError());
            if (FileExists(sqx) && !CurRoadProfile.LoadSQXFile(sqx)) ReportReloadError(tkx_GetLastError());
            SendToProfilePage(WM_PROFILEDATACHANGED);
            PrintToMainInfoWindow(L"重新加载断链及纵断面信息!");
        }
        return 0;
    }
    // The ground line or the vertical curves.
    const bool groundLine = which == 1;
    if (groundLine ? CurRoadProfile.LoadDMXFile(path) : CurRoadProfile.LoadSQXFile(path))
        PrintToMainInfoWindow(groundLine ? L"重新加载纵断面地面线信息!" : L"重新加载纵断面竖曲线信息!");
    else
        ReportReloadError(tkx_GetLastError());
    SendToProfilePage(groundLine ? WM_PROFILEDATACHANGED : WM_PROFILECURVESCHANGED);
    return 0;
}
