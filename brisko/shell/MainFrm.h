// Brisko's main window: the status bar, the tool bar, the two tabbed
// manager bars (project manager on the left, road information at the
// bottom), the MDI client with its painted background, and the hub of the
// program's window messages: the texts other programs send by WM_COPYDATA,
// the private messages of the manager panes and the file watcher's notices
// for the current road's files.  Its info-window print is the line output
// of the program.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/shell/MdiMainClient.h"
#include "brisko/shell/MyTabCtrlBar.h"
#include "brisko/shell/ToolBar24.h"
#include <vector>

class CDialogBar_Html;

// A ground point of a profile ground-line line: the station within its
// break-chain segment, the elevation and the segment number (1-based; -1
// when the line gives none).
struct sGroundPoint {
    double m_dStation = 0.0;
    double m_dElevation = 0.0;
    int m_iSegment = -1;
};

class CTreeViewClass;
class CTreeViewFile;
class CTreeViewTemplate;

class CMainFrame : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    // Formats the line and appends it to the information page's log, whole
    // (a line of any length).
    void PrintToInfoWindow(const wchar_t* format, ...);
    // Activate the profile / cross-section page of the road-information bar
    // while that bar is meant to be shown; the keyboard focus stays where it
    // is (the editor's caret moves show them).
    void ShowProfilePage();
    void ShowCrossSectionPage(BOOL show);
    // The ground point of the ground-line line being edited, with its
    // neighbours (either may be NULL), for the profile page while the
    // road-information bar is meant to be shown.
    void UpdateProfileGroundPoint(const sGroundPoint* point, const sGroundPoint* previous, const sGroundPoint* next);
    // The cross-section page draws the current cross-section (CurHdxSection)
    // again, unless it is busy doing so.
    void RefreshCrossSectionView();
    // Shows the road-information bar (while it is meant to be shown) and on
    // its information page the slope-template preview when `what` is
    // "SHOWSLOPE", else the preview of the file `what` names.
    void ShowInfoBarPreview(CString what);
    // The project tree, the road file tree and the template-library tree of
    // the project-manager bar.
    CTreeViewClass* ProjectTree();
    CTreeViewFile* FileTree();
    CTreeViewTemplate* TemplateTree();
    // Shows the project-manager bar when it is hidden (the commands that
    // work in a pane do this first).
    void ShowProjectBar();
    // Builds the project tree again from the project the library holds
    // (the refresh command without the reload of the road's data).
    void RefreshProjectTree();
    // Hides the reference page; the keyboard focus, when it was on the page,
    // goes to the active document's view, else to the project manager's
    // pane (the tree the page was opened from), else to the main window.
    void HideReferencePage();
    // Takes watches of the current road's DL, DMX and SQX files.
    void RegisterRoadFileWatches();
    // Gives them up (a project change, the frame's end).
    void RemoveRoadFileWatches();

    // The current road's files the frame follows (DL, DMX, SQX; empty when
    // the file did not exist when the watches were taken).
    const CString& WatchedPath(int i) const { return m_SWatchedPaths[i]; }

    // The frame being created or shown (the application's main window once
    // start-up has made it one).
    static CMainFrame* Current();

    BOOL PreTranslateMessage(MSG* msg) override;
    // A document brought up shows: the reference page over it hides.
    void OnActivateChild(CMDIChildWnd* child) override;

    CStatusBar m_wndStatusBar;
    CImageList m_ilButtons;
    CImageList m_ilProjectTabs;
    CImageList m_ilRoadTabs;
    CMyTabCtrlBar m_wndProjectBar;
    CMyTabCtrlBar m_wndRoadInfoBar;
    CDialogBar_Html* m_pReferencePage; // the reference-document page (a child window), NULL when none
    CMdiMainClient m_wndMdiClient;
    BOOL m_bRoadFileAutoReload;
    CToolBar24 m_wndToolBar;
    DWORD m_dwRoadFileWatch[3];

protected:
    BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context) override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnTopMost();
    void OnUpdateTopMost(CCmdUI* ui);
    void OnViewProjectBar();
    void OnUpdateViewProjectBar(CCmdUI* ui);
    void OnViewInfoBar();
    void OnUpdateViewInfoBar(CCmdUI* ui);
    void OnViewTab(UINT id);
    void OnUpdateViewTab(CCmdUI* ui);
    void OnProjectExport();
    void OnUpdateProjectExport(CCmdUI* ui);
    void OnProjectRefresh();
    void OnTemplateNewBase();
    void OnTemplateOpenBase();
    void OnTemplateImportBase();
    void OnProjectCommand(UINT id);
    void OnTemplateExport();
    void OnUpdateWorkingDirectory(CCmdUI* ui);
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    LRESULT OnOpenPendingFile(WPARAM, LPARAM);
    LRESULT OnProjectChanged(WPARAM, LPARAM);
    LRESULT OnOpenProject(WPARAM, LPARAM);
    LRESULT OnShowTemplatePreview(WPARAM, LPARAM);
    LRESULT OnCloseReferencePage(WPARAM, LPARAM);
    LRESULT OnNcActivate(WPARAM active, LPARAM);
    LRESULT OnFileWatchNotify(WPARAM, LPARAM);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
    LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateStatusBar();
    BOOL CreateToolBar();
    BOOL CreateManagerBars();
    void ChangeCurrentRoad(const CString& road);
    void ReportReloadError(const CString& text);
    void SendToProfilePage(UINT message);
    void ShowRoadInfoPage(int index);

    CString m_SWatchedPaths[3];
};

// Formats the line like PrintToInfoWindow and prints it in the main frame's
// information window; nothing without a main frame.
void PrintToMainInfoWindow(const wchar_t* format, ...);
