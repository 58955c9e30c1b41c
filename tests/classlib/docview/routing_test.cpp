// Command routing of the MDI program, and its command line.
#include "docview_app.h"

using namespace docview;
using namespace wintest;
using test_support::ScratchFolder;

namespace {

std::vector<std::string> Route(UINT id)
{
    g_route.clear();
    theApp.Frame()->SendMessage(WM_COMMAND, id);
    return g_route;
}

using Levels = std::vector<std::string>;

} // namespace

TEST_F(DocViewTest, CommandsGoToTheViewThenItsDocumentTheChildFrameTheMainFrameAndTheApplication)
{
    ScratchFolder folder(L"route");
    WriteNote(folder / L"r.note", L"r");
    WriteList(folder / L"r.lst", {L"r"});
    CDocument* note = theApp.OpenDocumentFile(folder / L"r.note");
    ASSERT_NE(nullptr, note);

    // Each command is handled by its level and every level after it; the
    // first one in the routing takes it.
    struct Case {
        UINT id;
        Levels taken;
    } cases[] = {{ID_ROUTE_ALL, {"view"}},       {ID_ROUTE_DOCUMENT, {"document"}}, {ID_ROUTE_CHILD, {"child"}},
                 {ID_ROUTE_MAIN, {"main"}},      {ID_ROUTE_APP, {"app"}},           {ID_ROUTE_NONE, {}}};
    for (const Case& c : cases) EXPECT_EQ(c.taken, Route(c.id)) << c.id;

    // The menu shows what someone handles.
    HMENU routeMenu = ::GetSubMenu(::GetMenu(theApp.Frame()->m_hWnd), 1);
    theApp.Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(routeMenu), 1);
    EXPECT_EQ(0u, ::GetMenuState(routeMenu, ID_ROUTE_APP, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, ::GetMenuState(routeMenu, ID_ROUTE_NONE, MF_BYCOMMAND) & MF_GRAYED);

    // The document's accelerators: Ctrl+R in the view is the view's command.
    BYTE keys[256], saved[256];
    ::GetKeyboardState(saved);
    memcpy(keys, saved, sizeof(keys));
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG key{ViewOf(note)->m_hWnd, WM_KEYDOWN, 'R', 1, 0, {0, 0}};
    g_route.clear();
    EXPECT_TRUE(AfxPreTranslateMessage(&key));
    ::SetKeyboardState(saved);
    EXPECT_EQ(Levels{"view"}, g_route);

    // A list in the library's plain child frame: its document and frame
    // handle none of them.
    CDocument* list = theApp.OpenDocumentFile(folder / L"r.lst");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(Levels{"main"}, Route(ID_ROUTE_DOCUMENT));
    EXPECT_EQ(Levels{"main"}, Route(ID_ROUTE_CHILD));

    // Without a document window: the main frame, then the application.
    theApp.CloseAllDocuments(FALSE);
    EXPECT_EQ(Levels{"main"}, Route(ID_ROUTE_ALL));
    EXPECT_EQ(Levels{"app"}, Route(ID_ROUTE_APP));
}

TEST_F(DocViewTest, AFloatingToolBarFollowsTheActiveDocumentsCommands)
{
    // A bar floats in a window of its own beside the main frame; the idle
    // pass updates it all the same.
    CMainFrame* frame = theApp.Frame();
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CToolBar tools;
    ASSERT_TRUE(tools.Create(frame));
    const UINT buttons[] = {ID_ROUTE_DOCUMENT, ID_ROUTE_NONE};
    ASSERT_TRUE(tools.SetButtons(buttons, 2));
    tools.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&tools, CPoint(300, 300));
    ASSERT_TRUE(tools.IsFloating());
    HWND mini = ::GetParent(::GetParent(tools.m_hWnd));
    PumpUntilIdle();
    EXPECT_TRUE(tools.SendMessage(TB_ISBUTTONENABLED, ID_ROUTE_DOCUMENT)); // the main frame takes it
    EXPECT_FALSE(tools.SendMessage(TB_ISBUTTONENABLED, ID_ROUTE_NONE));

    // Saving is on while a document is open, off once it is closed.
    ScratchFolder folder(L"floating");
    WriteNote(folder / L"f.note", L"f");
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(folder / L"f.note"));
    const UINT more[] = {ID_ROUTE_DOCUMENT, ID_ROUTE_NONE, ID_FILE_SAVE};
    ASSERT_TRUE(tools.SetButtons(more, 3));
    PumpUntilIdle();
    EXPECT_TRUE(tools.SendMessage(TB_ISBUTTONENABLED, ID_FILE_SAVE)); // the document saves
    theApp.CloseAllDocuments(FALSE);
    PumpUntilIdle();
    EXPECT_FALSE(tools.SendMessage(TB_ISBUTTONENABLED, ID_FILE_SAVE)); // no document to save
    tools.DestroyWindow();
    if (::IsWindow(mini)) ::DestroyWindow(mini);
    frame->RecalcLayout();
}

TEST_F(DocViewTest, KeysInAFloatingBarTakeTheMainWindowsAccelerators)
{
    // A floating bar lives in a window of its own; the keys of the main
    // window and of its active document work there as they do while the
    // bar is docked.
    CMainFrame* frame = theApp.Frame();
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CToolBar tools;
    ASSERT_TRUE(tools.Create(frame));
    const UINT buttons[] = {ID_ROUTE_MAIN};
    ASSERT_TRUE(tools.SetButtons(buttons, 1));
    tools.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&tools, CPoint(300, 300));
    ASSERT_TRUE(tools.IsFloating());
    HWND mini = ::GetParent(::GetParent(tools.m_hWnd));
    ScratchFolder folder(L"keys");
    WriteNote(folder / L"k.note", L"k");
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(folder / L"k.note"));

    BYTE keys[256], saved[256];
    ::GetKeyboardState(saved);
    memcpy(keys, saved, sizeof(keys));
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG key{tools.m_hWnd, WM_KEYDOWN, 'R', 1, 0, {0, 0}}; // Ctrl+R: the note's command
    g_route.clear();
    BOOL taken = AfxPreTranslateMessage(&key);
    ::SetKeyboardState(saved);
    EXPECT_TRUE(taken);
    EXPECT_EQ(Levels{"view"}, g_route);

    tools.DestroyWindow();
    if (::IsWindow(mini)) ::DestroyWindow(mini);
    frame->RecalcLayout();
}

TEST(CommandLine, ParametersBecomeTheShellCommand)
{
    struct Case {
        const wchar_t* line;
        CCommandLineInfo::ShellCommand command;
        const wchar_t* file;
        const wchar_t* printer;
    } cases[] = {
        {L"", CCommandLineInfo::FileNew, L"", L""},
        {L"数据.note", CCommandLineInfo::FileOpen, L"数据.note", L""},
        {L"\"C:\\有 空格\\数据.note\"", CCommandLineInfo::FileOpen, L"C:\\有 空格\\数据.note", L""},
        {L"/p 数据.note", CCommandLineInfo::FilePrint, L"数据.note", L""},
        {L"-pt 数据.note 打印机 驱动 端口", CCommandLineInfo::FilePrintTo, L"数据.note", L"打印机"},
        {L"/dde", CCommandLineInfo::FileDDE, L"", L""},
        {L"/unknown 数据.note", CCommandLineInfo::FileOpen, L"数据.note", L""},
    };
    const wchar_t* saved = theApp.m_lpCmdLine;
    for (const Case& c : cases) {
        theApp.m_lpCmdLine = c.line;
        CCommandLineInfo info;
        theApp.ParseCommandLine(info);
        EXPECT_EQ(c.command, info.m_nShellCommand) << test_support::Utf8(c.line);
        EXPECT_STREQ(c.file, info.m_strFileName) << test_support::Utf8(c.line);
        EXPECT_STREQ(c.printer, info.m_strPrinterName) << test_support::Utf8(c.line);
    }
    theApp.m_lpCmdLine = saved;
}

TEST_F(DocViewTest, ShellCommandsOpenTheFileOrANewDocument)
{
    ScratchFolder folder(L"shell");
    CString path = folder / L"命令 行.note";
    WriteNote(path, L"来自命令行");
    const wchar_t* saved = theApp.m_lpCmdLine;
    CString line = L"\"" + path + L"\"";

    theApp.m_lpCmdLine = line;
    CCommandLineInfo withFile;
    theApp.ParseCommandLine(withFile);
    EXPECT_TRUE(theApp.ProcessShellCommand(withFile));
    ASSERT_EQ(1, theApp.GetOpenDocumentCount());
    EXPECT_EQ(path, theApp.Frame()->GetActiveDocument()->GetPathName());
    theApp.CloseAllDocuments(TRUE);

    theApp.m_lpCmdLine = L"";
    CCommandLineInfo withoutFile;
    theApp.ParseCommandLine(withoutFile);
    EXPECT_TRUE(theApp.ProcessShellCommand(withoutFile));
    ASSERT_EQ(1, theApp.GetOpenDocumentCount());
    EXPECT_EQ(0, theApp.Frame()->GetActiveDocument()->GetTitle().Find(L"笔记"));
    theApp.CloseAllDocuments(TRUE);

    // The program's way of starting without a document.
    withoutFile.m_nShellCommand = CCommandLineInfo::FileNothing;
    EXPECT_TRUE(theApp.ProcessShellCommand(withoutFile));
    EXPECT_EQ(0, theApp.GetOpenDocumentCount());

    theApp.m_lpCmdLine = L"不存在.note";
    CCommandLineInfo missing;
    theApp.ParseCommandLine(missing);
    MessageBoxScript boxes;
    EXPECT_FALSE(theApp.ProcessShellCommand(missing));
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    theApp.m_lpCmdLine = saved;
}
