// Command prompts: tool tips of bar buttons and the prompt in the status
// bar while a menu item is highlighted or the mouse is over a button, with
// the text that comes back afterwards.  This program has no idle text of its
// own (the docview program has one).
#include "window_resource.h"
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <string>

using namespace wintest;

namespace {

// What the status control itself shows in its first pane.
CString ShownInFirstPane(CStatusBar& status)
{
    wchar_t text[256] = L"";
    if (LOWORD(status.SendMessage(SB_GETTEXTLENGTHW, 0)) < std::size(text))
        status.SendMessage(SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

const UINT kButtons[] = {ID_PROMPT_OPEN, ID_SEPARATOR, ID_PROMPT_PLAIN, ID_PROMPT_MORE, ID_PROMPT_NONE};

BOOL MakeBar(CToolBar& bar, CFrameWnd* frame, DWORD barStyle)
{
    return bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | barStyle) &&
           bar.SetButtons(kButtons, static_cast<int>(std::size(kButtons)));
}

BOOL MakeStatusBar(CStatusBar& status, CFrameWnd* frame)
{
    const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS};
    return status.Create(frame) && status.SetIndicators(panes, 2);
}

// A frame that answers one tool tip itself.
class COwnTipFrame : public TestFrame
{
protected:
    void OnOwnTip(NMHDR* header, LRESULT* result)
    {
        reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = const_cast<wchar_t*>(L"程序自己的提示");
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnTipFrame, TestFrame)
    ON_NOTIFY(TTN_NEEDTEXTW, ID_PROMPT_NONE, OnOwnTip)
END_MESSAGE_MAP()

} // namespace

TEST(ToolTips, AButtonsTipIsThePartAfterTheLineBreakOfItsCommandString)
{
    auto* frame = new COwnTipFrame;
    CToolBar tips, silent;
    ASSERT_TRUE(MakeBar(tips, frame, CBRS_TOOLTIPS));
    ASSERT_TRUE(MakeBar(silent, frame, 0));
    frame->RecalcLayout();

    struct Case {
        UINT id;
        const wchar_t* tip;
    };
    const Case cases[] = {
        {ID_PROMPT_OPEN, L"打开"},
        {ID_PROMPT_PLAIN, L""},       // the string has no tip part
        {ID_PROMPT_MORE, L"工具提示"}, // only the second part
        {ID_PROMPT_NONE, L"程序自己的提示"}, // the program's own handler answers first
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CString(c.tip), ToolTipText(tips, c.id)) << c.id;
        EXPECT_EQ(CString(), ToolTipText(silent, c.id)) << c.id; // a bar without tool tips shows none
    }

    // A tool tip that asks in 8-bit text gets it in the system's code page.
    HWND tipWindow = reinterpret_cast<HWND>(tips.SendMessage(TB_GETTOOLTIPS));
    NMTTDISPINFOA ansi{};
    ansi.hdr = {tipWindow, ID_PROMPT_OPEN, static_cast<UINT>(TTN_NEEDTEXTA)};
    tips.SendMessage(WM_NOTIFY, ID_PROMPT_OPEN, reinterpret_cast<LPARAM>(&ansi));
    ASSERT_NE(nullptr, ansi.lpszText);
    EXPECT_EQ(ClWideToMultiByte(L"打开", 2, CP_ACP), std::string(ansi.lpszText));

    // A tool that names its control by window: the control's id is the
    // command.
    CStatic control;
    ASSERT_TRUE(control.Create(L"", WS_CHILD, CRect(0, 0, 10, 10), frame, ID_PROMPT_MORE));
    NMTTDISPINFOW byWindow{};
    byWindow.hdr = {tipWindow, reinterpret_cast<UINT_PTR>(control.m_hWnd), static_cast<UINT>(TTN_NEEDTEXTW)};
    byWindow.uFlags = TTF_IDISHWND;
    frame->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&byWindow));
    ASSERT_NE(nullptr, byWindow.lpszText);
    EXPECT_STREQ(L"工具提示", byWindow.lpszText);
    frame->DestroyWindow();
}

TEST(Prompts, AHighlightedMenuItemShowsItsPromptAndThePanesTextComesBack)
{
    auto* frame = new TestFrame;
    CStatusBar status;
    ASSERT_TRUE(MakeStatusBar(status, frame));
    frame->RecalcLayout();
    PumpUntilIdle();
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const LPARAM open = reinterpret_cast<LPARAM>(menu.m_hMenu);
    const LPARAM closed = 0;
    auto select = [&](UINT item, UINT flags, LPARAM m) { frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(item, flags), m); };

    // A menu that closes without a prompt shown leaves the program's text.
    status.SetPaneText(0, L"程序的文字");
    select(0, 0xFFFF, closed);
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));

    struct Case {
        UINT item, flags;
        const wchar_t* prompt;
    };
    const Case cases[] = {
        {ID_PROMPT_OPEN, MF_STRING, L"打开一个已有的文件"},
        {ID_PROMPT_PLAIN, MF_STRING | MF_HILITE, L"只有提示没有工具提示"},
        {ID_PROMPT_MORE, MF_STRING, L"提示"},
        {ID_PROMPT_NONE, MF_STRING, L""}, // no string: an empty pane
        {ID_PROMPT_OPEN, MF_POPUP, L""},  // a popup's item number is no command
        {0, MF_SEPARATOR, L""},
        {ID_PROMPT_OPEN, MF_STRING | MF_GRAYED, L"打开一个已有的文件"},
    };
    for (const Case& c : cases) {
        select(c.item, c.flags, open);
        EXPECT_EQ(CString(c.prompt), ShownInFirstPane(status)) << c.item << " " << c.flags;
        EXPECT_EQ(CString(c.prompt), status.GetPaneText(0));
    }
    select(0, 0xFFFF, closed);
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));
    EXPECT_EQ(CString(L"程序的文字"), status.GetPaneText(0));

    // A text the program writes while a prompt shows is the one that stays.
    select(ID_PROMPT_OPEN, MF_STRING, open);
    status.SetPaneText(0, L"新写的文字");
    select(ID_PROMPT_PLAIN, MF_STRING, open);
    EXPECT_EQ(CString(L"只有提示没有工具提示"), ShownInFirstPane(status));
    select(0, 0xFFFF, closed);
    EXPECT_EQ(CString(L"新写的文字"), ShownInFirstPane(status));
    select(ID_PROMPT_OPEN, MF_STRING, open);
    status.SetPaneText(0, L"最后写的文字");
    select(0, 0xFFFF, closed);
    EXPECT_EQ(CString(L"最后写的文字"), ShownInFirstPane(status));

    // A text sent to the frame is shown as it stands and stays.
    EXPECT_EQ(AFX_IDS_IDLEMESSAGE, frame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(L"直接的文字")));
    select(0, 0xFFFF, closed);
    EXPECT_EQ(CString(L"直接的文字"), ShownInFirstPane(status));

    // A frame without a status bar takes prompts without harm.
    auto* bare = new TestFrame;
    bare->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_PROMPT_OPEN, MF_STRING), open);
    bare->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), closed);
    bare->DestroyWindow();
    frame->DestroyWindow();
}

TEST(FlyBy, TheButtonUnderTheMouseShowsItsPromptUntilTheMouseLeaves)
{
    auto* frame = new TestFrame;
    CToolBar flyBy, still;
    CStatusBar status;
    ASSERT_TRUE(MakeStatusBar(status, frame));
    ASSERT_TRUE(MakeBar(flyBy, frame, CBRS_TOOLTIPS | CBRS_FLYBY));
    ASSERT_TRUE(MakeBar(still, frame, CBRS_TOOLTIPS));
    frame->RecalcLayout();
    PumpUntilIdle();
    status.SetPaneText(0, L"程序的文字");

    auto centre = [](CToolBar& bar, UINT id) {
        CRect r;
        bar.GetItemRect(bar.CommandToIndex(id), &r);
        return r.CenterPoint();
    };
    auto move = [](CToolBar& bar, CPoint p) { bar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); };

    move(flyBy, centre(flyBy, ID_PROMPT_OPEN));
    EXPECT_EQ(CString(L"打开一个已有的文件"), ShownInFirstPane(status));
    move(flyBy, centre(flyBy, ID_SEPARATOR));
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));
    move(flyBy, centre(flyBy, ID_PROMPT_MORE));
    EXPECT_EQ(CString(L"提示"), ShownInFirstPane(status));
    move(flyBy, centre(flyBy, ID_PROMPT_MORE) + CPoint(2, 2)); // still the same button
    EXPECT_EQ(CString(L"提示"), ShownInFirstPane(status));
    flyBy.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));

    // Beside the buttons.
    move(flyBy, centre(flyBy, ID_PROMPT_OPEN));
    CRect bar;
    flyBy.GetClientRect(&bar);
    move(flyBy, CPoint(bar.right - 2, bar.CenterPoint().y));
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));

    // A bar without fly-by shows no prompts.
    move(still, centre(still, ID_PROMPT_OPEN));
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));

    // A bar that goes while its prompt shows gives the pane back.
    move(flyBy, centre(flyBy, ID_PROMPT_PLAIN));
    EXPECT_EQ(CString(L"只有提示没有工具提示"), ShownInFirstPane(status));
    flyBy.DestroyWindow();
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));
    PumpUntilIdle();
    EXPECT_EQ(CString(L"程序的文字"), ShownInFirstPane(status));
    frame->DestroyWindow();
}
