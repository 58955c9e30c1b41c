// The three pages in the road-information bar: their tabs, and the main
// window showing each on the demo road.
#include "pages_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/FieldDescriptions.h"

using namespace pages_test;
using wintest::Image;

TEST(RoadInformationBar, ShowsTheInformationProfileAndCrossSectionPages)
{
    StartProgram();
    CMainFrame* frame = Frame();
    ASSERT_EQ(3, frame->m_wndRoadInfoBar.GetTabCount());
    EXPECT_EQ(6, frame->m_ilRoadTabs.GetImageCount());
    EXPECT_NE(nullptr, InfoPage());
    ASSERT_NE(nullptr, ProfilePage());
    ASSERT_NE(nullptr, SectionPage());
    EXPECT_TRUE(ProfilePage()->m_wndView.GetSafeHwnd());
    EXPECT_TRUE(SectionPage()->m_wndView.GetSafeHwnd());

    // Each page's view fills the page.
    frame->ShowProfilePage();
    wintest::PumpUntilIdle();
    CRect page, view;
    ProfilePage()->GetClientRect(&page);
    ProfilePage()->m_wndView.GetWindowRect(&view);
    EXPECT_EQ(page.Size(), view.Size());

    frame->ShowCrossSectionPage(TRUE);
    wintest::PumpUntilIdle();
    EXPECT_EQ(2, frame->m_wndRoadInfoBar.GetActiveIndex());
    frame->m_wndRoadInfoBar.SetActiveView(0);
}

TEST(RoadInformationBar, Screenshots)
{
    StartProgram();
    CMainFrame* frame = Frame();
    frame->SetWindowPos(nullptr, 0, 0, 1100, 760, SWP_NOZORDER);
    wintest::PumpUntilIdle();

    frame->ShowProfilePage();
    wintest::PumpUntilIdle();
    Image shot = wintest::CaptureWindow(frame);
    ASSERT_FALSE(shot.Empty());
    shot.SaveBmp(L"main_profile.bmp");

    CurHdxSection.m_nFormat = 3;
    CurHdxSection.m_SStation = L"1220.000";
    CurHdxSection.m_SLeft = L"1.500 0.289 4.000 0.009 8.000 0.438 13.000 0.200 19.000 0.324";
    CurHdxSection.m_SRight = L"1.500 0.138 4.000 -0.393 8.000 -0.365 13.000 -1.107";
    CurHdxSection.m_iCaret = 14;
    frame->ShowCrossSectionPage(TRUE);
    frame->RefreshCrossSectionView();
    wintest::PumpUntilIdle();
    wintest::CaptureWindow(frame).SaveBmp(L"main_section.bmp");

    frame->m_wndRoadInfoBar.SetActiveView(0);
    frame->ShowInfoBarPreview(RoadFile(L"SQX"));
    wintest::PumpUntilIdle();
    wintest::CaptureWindow(frame).SaveBmp(L"main_info.bmp");
}
