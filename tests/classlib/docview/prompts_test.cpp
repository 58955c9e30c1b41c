// The status bar's idle text of a program that has one (AFX_IDS_IDLEMESSAGE).
#include "docview_app.h"

using namespace wintest;

TEST(IdleText, ShowsAtTheStartAndAfterEveryPrompt)
{
    auto* frame = new TestFrame;
    CStatusBar status;
    const UINT panes[] = {ID_SEPARATOR};
    ASSERT_TRUE(status.Create(frame) && status.SetIndicators(panes, 1));
    frame->RecalcLayout();
    PumpUntilIdle();
    EXPECT_EQ(CString(L"就绪"), status.GetPaneText(0));

    // The idle text replaces what the program wrote before the prompt.
    status.SetPaneText(0, L"程序的文字");
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING), reinterpret_cast<LPARAM>(menu.m_hMenu));
    EXPECT_EQ(CString(L"新建一个笔记"), status.GetPaneText(0));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(CString(L"就绪"), status.GetPaneText(0));
    frame->DestroyWindow();
}
