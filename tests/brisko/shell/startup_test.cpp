// Start-up on a seeded hive: the stored settings read back, the
// associations left alone once written, the current project's road data
// loaded, the frame with its bars, panes, property and start lines; the
// version text of a module and the resource library's look-up.
#include "shell_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/TreeViewResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/project/TavixInterface.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

using namespace shell_test;

TEST(Startup, TheStoredSettingsAreReadBack)
{
    StartProgram();
    EXPECT_EQ(7, theApp.m_nTabWidth);
    EXPECT_EQ(44, theApp.m_nMarginWidth);
    EXPECT_EQ(9, theApp.m_nLinePitch); // stored as "LinePicth"
    EXPECT_EQ(0, theApp.m_bShowGrid);
    EXPECT_EQ(0, theApp.m_bAutoIndent);
    EXPECT_EQ(0, theApp.m_bShowToolTip); // stored as "ShowToopTip"
    EXPECT_EQ(20, theApp.m_nDurationTime);
    EXPECT_EQ(0, theApp.m_bAutoComment);
    EXPECT_EQ(0, theApp.m_bAutoReload);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(kSeededColors[i], theApp.m_Colors[i]) << "Color" << i;

    CRect window;
    theApp.MainFrame()->GetWindowRect(&window);
    EXPECT_EQ(CRect(kSeededWindow), window);
    // Associations are written on the first start only.
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, L".DL"));
}

TEST(Startup, TheCurrentProjectAndItsRoadDataAreTaken)
{
    StartProgram();
    EXPECT_EQ(CString(kProjectName), theApp.m_CurProject.m_SName);
    EXPECT_EQ(ProjectFolder() + L"\\" + kMainRoad, theApp.m_SWorkingDirectory);
    // The break chain of the road record, the ground line and the curves of
    // its files.
    EXPECT_EQ(2, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(&CurRoadBreakChain, CurRoadProfile.GetBreakChain());
    EXPECT_EQ(7, CurRoadProfile.GetDMXCount());
    EXPECT_EQ(3, CurRoadProfile.GetBPDCount());
    // The data-file tables come from the library.
    EXPECT_EQ(TavixDevApp().m_FileStyles.GetSize(), theApp.m_FileStyles.GetSize());
    EXPECT_GT(theApp.m_FileStyles.GetSize(), 20);
    EXPECT_EQ(TavixDevApp().m_ReferenceDocs.GetSize(), theApp.m_ReferenceDocs.GetSize());
    EXPECT_EQ(TavixDevApp().m_SInternalExts.GetSize(), theApp.m_SInternalExts.GetSize());

    const std::vector<CString> lines = InfoLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(CString(L"启动TAVIX 项目数据环境. [版本号:") + theApp.m_SVersion + L"]", lines[0]);
    EXPECT_EQ(ClFormat(L"当前项目: %s; 当前道路: %s", kProjectName, kMainRoad), lines[1]);
}

TEST(Startup, TheFrameCarriesItsBarsPanesAndProperty)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), GetPropW(*frame, theApp.m_pszAppName));
    EXPECT_EQ(CString(L"TAVIX项目数据环境"), frame->GetWindowText().Left(11));
    ASSERT_NE(nullptr, frame->GetMenu());

    // Nine panes: the message, then position, working directory, TAVIX and
    // the keyboard states.
    const UINT panes[] = {ID_SEPARATOR,     ID_INDICATOR_POSITION, ID_INDICATOR_WORKDIR,
                          ID_INDICATOR_TAVIX, ID_INDICATOR_OVR,    ID_INDICATOR_READONLY,
                          ID_INDICATOR_CAPS, ID_INDICATOR_NUM,     ID_INDICATOR_SCRL};
    ASSERT_EQ(9, frame->m_wndStatusBar.GetPaneCount());
    for (int i = 0; i < 9; ++i) EXPECT_EQ(panes[i], frame->m_wndStatusBar.GetItemID(i)) << i;
    const int widths[] = {120, 300, 60};
    for (int i = 1; i <= 3; ++i) {
        UINT id, style;
        int width;
        frame->m_wndStatusBar.GetPaneInfo(i, id, style, width);
        EXPECT_EQ(widths[i - 1], width) << i;
    }
    EXPECT_EQ(CString(L"工作目录:") + theApp.m_SWorkingDirectory, frame->m_wndStatusBar.GetPaneText(2));

    // The bars: project manager at the left, road information at the
    // bottom with its information, profile and cross-section pages.
    EXPECT_EQ(static_cast<int>(IDW_PROJECT_BAR), frame->m_wndProjectBar.GetDlgCtrlID());
    EXPECT_EQ(static_cast<int>(AFX_IDW_DOCKBAR_LEFT), frame->m_wndProjectBar.GetParent()->GetDlgCtrlID());
    EXPECT_EQ(static_cast<int>(IDW_ROADINFO_BAR), frame->m_wndRoadInfoBar.GetDlgCtrlID());
    EXPECT_EQ(static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM), frame->m_wndRoadInfoBar.GetParent()->GetDlgCtrlID());
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_BOTTOM), frame->m_wndRoadInfoBar.m_dwDockStyle);
    ASSERT_EQ(3, frame->m_wndRoadInfoBar.GetTabCount());
    EXPECT_EQ(0, frame->m_wndRoadInfoBar.GetActiveIndex());
    // The project manager has its project, file, template and
    // reference-document trees.
    ASSERT_EQ(4, frame->m_wndProjectBar.GetTabCount());
    EXPECT_NE(nullptr, frame->m_wndProjectBar.GetView(RUNTIME_CLASS(CTreeViewResource)));
    EXPECT_EQ(8, frame->m_ilProjectTabs.GetImageCount());
    // The tab images of the tabs present: inactive, then active.
    EXPECT_EQ(6, frame->m_ilRoadTabs.GetImageCount());
    EXPECT_EQ(13, [&] {
        IMAGEINFO info{};
        frame->m_ilButtons.GetImageInfo(0, &info);
        return info.rcImage.right - info.rcImage.left;
    }());
}

TEST(Startup, TheResourceLibraryIsLoadedBesideTheProgram)
{
    StartProgram();
    ASSERT_NE(nullptr, theApp.m_hResourceDll);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(theApp.m_hResourceDll, path, MAX_PATH);
    EXPECT_EQ(BinFolder() + L"\\Tavix3_Res8.dll", CString(path));
    // Its menus and strings are found through the resource search.
    EXPECT_NE(nullptr, AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_TAVIXTYPE), RT_MENU));
}

TEST(Startup, VersionTextOfAModule)
{
    const struct {
        CString path;
        const wchar_t* text;
    } cases[] = {
        {BinFolder() + L"\\Brisko.exe", L"R3.0.0.0"},
        {BinFolder() + L"\\Tavix3_Res8.dll", L"R3.0.0.0"},
        {BinFolder() + L"\\briskownd.exe", L"未定义"}, // no version block
        {BinFolder() + L"\\没有这个文件.exe", L"文件不存在"},
    };
    for (const auto& c : cases) EXPECT_EQ(CString(c.text), CBriskoApp::GetModuleVersionText(c.path)) << Utf8(c.path);
}

TEST(Startup, TheResourceLibraryIsLookedForInTheSuiteThenBesideTheProgram)
{
    StartProgram();
    MessageBoxScript boxes;
    ScratchFolder suite(L"suite"), program(L"program");
    CreateDirectoryW(suite / L"Bin", nullptr);

    // Neither folder has it.
    EXPECT_EQ(nullptr, CBriskoApp::LoadResourceLibrary(suite.Path(), program.Path()));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"[%s\\Tavix3_Res8.dll]\n\n文件不存在!\n\nTAVIX安装目录:[%s]\n\nTAVIX支持目录:[%s\\Bin]\n\n"
                       L"文件应位于支持目录中!",
                       program.Path().GetString(), suite.Path().GetString(), suite.Path().GetString()),
              boxes.LastText());

    // A file of that name that is no library.
    WriteText(program / L"Tavix3_Res8.dll", L"不是动态连接库");
    EXPECT_EQ(nullptr, CBriskoApp::LoadResourceLibrary(suite.Path(), program.Path()));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.LastText().Find(L"加载Tavix3Res?.dll动态连接库失败! 错误代码:"));
    EXPECT_NE(-1, boxes.LastText().Find(program / L"Tavix3_Res8.dll"));

    // The suite's Bin folder comes first.
    ASSERT_TRUE(CopyFileW(BinFolder() + L"\\Tavix3_Res8.dll", suite / L"Bin\\Tavix3_Res8.dll", FALSE));
    HINSTANCE library = CBriskoApp::LoadResourceLibrary(suite.Path(), program.Path());
    ASSERT_NE(nullptr, library);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(library, path, MAX_PATH);
    EXPECT_EQ(suite / L"Bin\\Tavix3_Res8.dll", CString(path));
    FreeLibrary(library);
    EXPECT_EQ(2u, boxes.Shown().size());
}

TEST(Startup, TheFrameIsMadeWithoutTheResourceLibrary)
{
    StartProgram();
    MessageBoxScript boxes;
    AfxRemoveResourceModule(theApp.m_hResourceDll);
    auto* frame = new CMainFrame;
    const BOOL made = frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW);
    AfxAddResourceModule(theApp.m_hResourceDll);
    ASSERT_TRUE(made);
    // The program's own tool bar and bar buttons stand in.
    EXPECT_EQ(21, frame->m_wndToolBar.GetButtonCount());
    EXPECT_NE(0, frame->m_wndToolBar.SendMessage(TB_GETDISABLEDIMAGELIST));
    EXPECT_EQ(3, frame->m_ilButtons.GetImageCount());
    // Only the tab pictures are missing, and say so.
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"加载位图资源失败!\n\n[TAVIXRES_IDB_IL_TAB]"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"加载位图资源失败!\n\n[TAVIXRES_IDB_IL_TAB_ROADINFO]"), boxes.Shown()[1].text);
    frame->DestroyWindow();
    // The program's frame is still the one the program talks to.
    EXPECT_EQ(theApp.MainFrame(), CMainFrame::Current());
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), GetPropW(*theApp.m_pMainWnd, theApp.m_pszAppName));
}

TEST(Startup, TheCommandLinesFileIsOpened)
{
    StartProgram();
    MessageBoxScript boxes;
    const wchar_t* const kept = theApp.m_lpCmdLine;
    const CString data = ProjectFolder() + L"\\数据 文件.txt";
    WriteText(data, L"x");
    const CString quoted = L"\"" + data + L"\"";
    const struct {
        const wchar_t* line;
        BOOL result;
        bool error016;
        size_t boxes; // shown besides error 016
    } cases[] = {
        {L"", TRUE, false, 0},                         // no empty document at start
        {quoted, TRUE, false, 0},                      // a data file opens as a document
        {L"\"C:\\没有 的.DL\"", FALSE, true, 1},        // a file that cannot be opened: named, then 016
        {L"D:\\演示?项目.EPJ", TRUE, false, 2},         // a project goes to the frame, which cannot read it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        const size_t shown = boxes.Shown().size();
        theApp.m_lpCmdLine = c.line;
        EXPECT_EQ(c.result, theApp.ProcessStartCommand());
        ASSERT_EQ(shown + c.boxes + (c.error016 ? 1 : 0), boxes.Shown().size());
        if (c.error016) {
            EXPECT_NE(-1, boxes.Shown()[shown].text.Find(L"没有 的.DL"));
            EXPECT_EQ(CString(L"错误号:016  启动TAVIX项目数据环境失败!"), boxes.LastText());
        }
    }
    theApp.m_lpCmdLine = kept;
    EXPECT_EQ(CString(L"D:\\演示 项目.EPJ"), theApp.m_SPendingProject);
    EXPECT_EQ(CString(L"导入项目文件<D:\\演示 项目.EPJ>失败!"), boxes.LastText());
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());

    // Closing by path takes the file whatever the case of its name, as the
    // file system does; another path closes nothing.
    theApp.CloseDocumentByPath(data + L".bak");
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());
    CString other = data;
    other.MakeUpper();
    theApp.CloseDocumentByPath(other);
    EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    wintest::PumpUntilIdle();
}

TEST(Startup, TheWheelOverTheInformationBarGoesToIt)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    CRect bar;
    frame->m_wndRoadInfoBar.GetWindowRect(&bar);
    MSG inside = {*frame, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                  MAKELPARAM(bar.CenterPoint().x, bar.CenterPoint().y)};
    EXPECT_TRUE(frame->PreTranslateMessage(&inside));
    MSG outside = inside;
    outside.lParam = MAKELPARAM(bar.left - 5, bar.top - 5);
    EXPECT_FALSE(frame->PreTranslateMessage(&outside));
}
