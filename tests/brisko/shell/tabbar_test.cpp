// The tabbed manager bar: its tabs and panes, switching between them, and
// the layout of the tab control and the panes floating, docked at the
// bottom and docked at the left.
#include "shell_world.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/DialogBar_Html.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "brisko/shell/MyTabCtrlBar.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

using namespace shell_test;
using namespace wintest;

namespace {

class CTestPane : public CWnd
{
    DECLARE_DYNCREATE(CTestPane)
};
IMPLEMENT_DYNCREATE(CTestPane, CWnd)

class CTestTree : public CTestPane
{
    DECLARE_DYNCREATE(CTestTree)
};
IMPLEMENT_DYNCREATE(CTestTree, CTestPane)

class CTestPage : public CWnd
{
    DECLARE_DYNCREATE(CTestPage)
};
IMPLEMENT_DYNCREATE(CTestPage, CWnd)

CRect RectIn(CWnd* wnd, CWnd* in)
{
    CRect r;
    wnd->GetWindowRect(&r);
    in->ScreenToClient(&r);
    return r;
}

// Shown by its own style (the test frame itself stays hidden).
bool Shown(CWnd* wnd) { return (wnd->GetStyle() & WS_VISIBLE) != 0; }

int TabImage(CMyTabCtrlBar& bar, int index)
{
    TCITEMW item{};
    item.mask = TCIF_IMAGE;
    bar.m_tabctrl.SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

CString TabText(CMyTabCtrlBar& bar, int index)
{
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    bar.m_tabctrl.SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

// A bar with three panes in a frame of its own, docked at the bottom.
class TabBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        frame = new TestFrame;
        pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(bar.Create(frame, 5002, L"管理器", CSize(300, 200), WS_CHILD | WS_VISIBLE | CBRS_TOP));
        ASSERT_TRUE(bar.AddView(L"第一页", RUNTIME_CLASS(CTestPane)));
        ASSERT_TRUE(bar.AddView(L"树", RUNTIME_CLASS(CTestTree)));
        ASSERT_TRUE(bar.AddView(L"第三页", RUNTIME_CLASS(CTestPage)));
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_BOTTOM);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        if (frame) frame->DestroyWindow();
        PumpUntilIdle();
    }
    CWnd* Pane(int i) { return bar.GetViewAt(i); }
    // A reference page on the program's main frame, which every real tab
    // change closes.
    HWND GiveReferencePage()
    {
        MessageBoxScript boxes; // the scratch installation has no help file
        auto* page = new CDialogBar_Html(theApp.m_pMainWnd);
        theApp.MainFrame()->m_pReferencePage = page;
        return page->m_hWnd;
    }
    void DropReferencePage() { theApp.MainFrame()->SendMessage(WM_CLOSEREFERENCEPAGE); }

    TestFrame* frame = nullptr;
    CStatic pane;
    CMyTabCtrlBar bar;
};

} // namespace

TEST_F(TabBarTest, AddedPanesGetTabsAndOnlyTheFirstIsShown)
{
    ASSERT_EQ(3, bar.GetTabCount());
    EXPECT_EQ(3, bar.m_tabctrl.GetItemCount());
    const wchar_t* names[] = {L"第一页", L"树", L"第三页"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CString(names[i]), TabText(bar, i));
        EXPECT_EQ(i, TabImage(bar, i));
        EXPECT_EQ(bar.m_hWnd, ::GetParent(*Pane(i)));
        EXPECT_EQ(i == 0, Shown(Pane(i))) << i;
        EXPECT_EQ(i == 0, Pane(i)->IsWindowEnabled() != FALSE) << i;
    }
    // The last pane added is the active one until a tab is chosen.
    EXPECT_EQ(2, bar.GetActiveIndex());
    EXPECT_EQ(Pane(2), bar.GetActiveWnd());
    ASSERT_NE(nullptr, bar.m_ToolTip);
    EXPECT_EQ(3, bar.m_ToolTip->GetToolCount());
    EXPECT_EQ(static_cast<DWORD>(TCS_BOTTOM | TCS_TOOLTIPS), bar.m_tabctrl.GetStyle() & (TCS_BOTTOM | TCS_TOOLTIPS));
    EXPECT_EQ(1000, bar.m_tabctrl.GetDlgCtrlID());

    // A name is kept to 31 characters.
    ASSERT_TRUE(bar.AddView(L"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五", RUNTIME_CLASS(CTestPage)));
    EXPECT_EQ(31, TabText(bar, 3).GetLength());
}

TEST_F(TabBarTest, ChoosingATabShowsItsPaneAndClosesTheReferencePage)
{
    for (int index : {1, 0, 2}) {
        SCOPED_TRACE(index);
        HWND page = GiveReferencePage();
        bar.SetActiveView(index);
        EXPECT_EQ(index, bar.GetActiveIndex());
        EXPECT_EQ(index, bar.m_tabctrl.GetCurSel());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(i == index, Shown(Pane(i))) << i;
            EXPECT_EQ(i == index, Pane(i)->IsWindowEnabled() != FALSE) << i;
            // The active tab shows its second image.
            EXPECT_EQ(i == index ? i + 3 : i, TabImage(bar, i)) << i;
        }
        EXPECT_EQ(Pane(index)->m_hWnd, ::GetFocus());
        EXPECT_FALSE(::IsWindow(page));
        EXPECT_EQ(nullptr, theApp.MainFrame()->m_pReferencePage);
    }
    // The tab that is active, -1 and an index beyond the last change
    // nothing, and close no reference page.
    HWND page = GiveReferencePage();
    for (int index : {2, -1, 3, 99}) {
        bar.SetActiveView(index);
        EXPECT_EQ(2, bar.GetActiveIndex());
        EXPECT_TRUE(Shown(Pane(2)));
    }
    EXPECT_TRUE(::IsWindow(page));
    DropReferencePage();
}

TEST_F(TabBarTest, ASelectionChangeOfTheTabControlSwitches)
{
    bar.m_tabctrl.SetCurSel(1);
    NMHDR notify{bar.m_tabctrl.m_hWnd, static_cast<UINT_PTR>(CMyTabCtrlBar::IDC_TABCTRL),
                 static_cast<UINT>(TCN_SELCHANGE)};
    bar.SendMessage(WM_NOTIFY, CMyTabCtrlBar::IDC_TABCTRL, reinterpret_cast<LPARAM>(&notify));
    EXPECT_EQ(1, bar.GetActiveIndex());
    EXPECT_TRUE(Shown(Pane(1)));
}

TEST_F(TabBarTest, PanesAreFoundByClass)
{
    EXPECT_EQ(Pane(0), bar.GetView(RUNTIME_CLASS(CTestPane))); // the first of its kind in tab order
    EXPECT_EQ(Pane(1), bar.GetView(RUNTIME_CLASS(CTestTree)));
    EXPECT_EQ(Pane(2), bar.GetView(RUNTIME_CLASS(CTestPage)));
    EXPECT_EQ(nullptr, bar.GetView(RUNTIME_CLASS(CEdit)));
}

TEST_F(TabBarTest, TheLayoutFollowsWhereTheBarSits)
{
    // Tab control and panes (x, y, width less, height less) per state, from
    // the bar's window size.
    const struct {
        const char* state;
        CRect tab;  // left, top, right margin, bottom margin
        CRect pane;
    } rows[] = {
        {"floating", CRect(5, 5, 5, 2), CRect(8, 8, 8, 26)},
        {"bottom", CRect(17, 5, 8, 12), CRect(20, 8, 11, 36)},
        {"left", CRect(5, 20, 12, 11), CRect(8, 23, 15, 35)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        if (std::string(row.state) == "floating")
            frame->FloatControlBar(&bar, CPoint(200, 200));
        else
            frame->DockControlBar(&bar, std::string(row.state) == "bottom" ? AFX_IDW_DOCKBAR_BOTTOM
                                                                           : AFX_IDW_DOCKBAR_LEFT);
        PumpUntilIdle();
        EXPECT_EQ(std::string(row.state) == "floating", bar.IsFloating() != FALSE);
        CRect window;
        bar.GetWindowRect(&window);
        const int cx = window.Width(), cy = window.Height();
        const CRect tab(row.tab.left, row.tab.top, cx - row.tab.right, cy - row.tab.bottom);
        const CRect pane(row.pane.left, row.pane.top, cx - row.pane.right, cy - row.pane.bottom);
        EXPECT_EQ(tab, RectIn(&bar.m_tabctrl, &bar));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(pane, RectIn(Pane(i), &bar)) << i;
    }
}
