// The main frame's tool tips and status-bar prompts: the tool bar's buttons
// show their tips, menu items and buttons their prompts in the first pane,
// and the program's own text there comes back afterwards.
#include "shell_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Utility.h"
#include "support/WindowTest.h"

using namespace shell_test;
using namespace wintest;

namespace {

// The commands of a menu and its popups.
void CollectCommands(HMENU menu, std::vector<UINT>& ids)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU popup = ::GetSubMenu(menu, i))
            CollectCommands(popup, ids);
        else if (UINT id = ::GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1))
            ids.push_back(id);
    }
}

} // namespace

TEST(Prompts, TheToolBarsButtonsShowTheirTips)
{
    StartProgram();
    CToolBar& bar = theApp.MainFrame()->m_wndToolBar;
    struct Case {
        UINT id;
        const wchar_t* tip;
    };
    const Case cases[] = {
        {ID_FILE_NEW, L"新建"},
        {ID_FILE_SAVE_ALL, L"保存所有打开的文件"},
        {ID_VIEW_PROJECTBAR, L"项目管理窗口"},
        {ID_APP_OPTIONS, L"环境设置"},
    };
    for (const Case& c : cases) EXPECT_EQ(CString(c.tip), ToolTipText(bar, c.id)) << c.id;
    // Every button has one.
    for (int i = 0; i < bar.GetButtonCount(); ++i)
        if (UINT id = bar.GetItemID(i)) EXPECT_FALSE(ToolTipText(bar, id).IsEmpty()) << id;
}

TEST(Prompts, EveryMenuCommandHasAPrompt)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    for (UINT menuId : {IDR_MAINFRAME, IDR_TAVIXTYPE}) {
        HMENU menu = ::LoadMenuW(theApp.m_hResourceDll, MAKEINTRESOURCEW(menuId));
        ASSERT_NE(nullptr, menu) << menuId;
        std::vector<UINT> ids;
        CollectCommands(menu, ids);
        EXPECT_GT(ids.size(), 20u);
        for (UINT id : ids) {
            CString prompt;
            frame->GetMessageString(id, prompt);
            EXPECT_FALSE(prompt.IsEmpty()) << menuId << ": " << id;
        }
        ::DestroyMenu(menu);
    }
    // The recent files the File menu lists in place of its first entry.
    for (UINT id = ID_FILE_MRU_FILE1; id < ID_FILE_MRU_FILE1 + 4; ++id) {
        CString prompt;
        frame->GetMessageString(id, prompt);
        EXPECT_EQ(CString(L"打开此文件"), prompt) << id;
    }
}

TEST(Prompts, MenuItemsAndButtonsShowTheirPromptsAndTheProgramsTextComesBack)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    CStatusBar& status = frame->m_wndStatusBar;
    PrintStatusText(L"中桩:%s", L"K1+200");

    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_SAVE_ALL, MF_STRING),
                       reinterpret_cast<LPARAM>(::GetMenu(frame->m_hWnd)));
    EXPECT_EQ(CString(L"保存所有打开的文件"), status.GetPaneText(0));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_VIEW_TOPMOST, MF_STRING),
                       reinterpret_cast<LPARAM>(::GetMenu(frame->m_hWnd)));
    EXPECT_EQ(CString(L"主窗口总在最上层显示"), status.GetPaneText(0));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(CString(L"中桩:K1+200"), status.GetPaneText(0));

    // The tool bar shows the prompts of its buttons as the mouse passes.
    CToolBar& bar = frame->m_wndToolBar;
    CRect button;
    bar.GetItemRect(bar.CommandToIndex(ID_PROJECT_REFRESH), &button);
    bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(button.CenterPoint().x, button.CenterPoint().y));
    EXPECT_EQ(CString(L"刷新项目和文件管理器"), status.GetPaneText(0));
    bar.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(CString(L"中桩:K1+200"), status.GetPaneText(0));
    PumpUntilIdle();
    EXPECT_EQ(CString(L"中桩:K1+200"), status.GetPaneText(0));
}
