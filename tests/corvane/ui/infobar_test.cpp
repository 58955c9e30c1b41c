// The dynamic information bar: one bar per process made in a host window,
// sliding in and out on its timers (driven here by sending WM_TIMER), its
// information lines and groups, their painting (item counts beyond the
// group's 30 rows clamped), the resize drag ended by a lost capture, and
// its end with the host window or the library's shutdown.
#include "ui_test_support.h"
#include "corvane/project/TavixDevApp.h"
#include "corvane/ui/DynaInfoBar.h"
#include "corvane/ui/TvStatusBar.h"
#include <vector>

using namespace wintest;

namespace {

const COLORREF kBack = RGB(237, 237, 243);
const COLORREF kGroupBody = RGB(222, 222, 228);
const COLORREF kHeaderTop = RGB(120, 150, 176); // first row of the group header bitmaps
const COLORREF kTitleTop = RGB(96, 128, 196);   // first row of the title bitmaps

bool IsRed(COLORREF c) { return GetRValue(c) >= 150 && GetGValue(c) < 60 && GetBValue(c) < 60; }
bool IsBlack(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }

int CountIn(const Image& image, const CRect& area, bool (*test)(COLORREF))
{
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(image.Height(), area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(image.Width(), area.right); ++x)
            if (test(image.At(x, y))) ++n;
    return n;
}

bool SameImage(const Image& a, const Image& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

CRect RectIn(CWnd* wnd, CWnd* in)
{
    CRect r;
    wnd->GetWindowRect(&r);
    in->ScreenToClient(&r);
    return r;
}

sInfoGroup MakeGroup(const wchar_t* name, std::vector<std::pair<const wchar_t*, const wchar_t*>> rows,
                     int highlighted = -1)
{
    sInfoGroup group;
    group.m_SName = name;
    group.m_nCount = static_cast<short>(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        group.m_Items[i].m_SName = rows[i].first;
        group.m_Items[i].m_SValue = rows[i].second;
        group.m_Items[i].m_dwFlags = static_cast<int>(i) == highlighted ? kInfoHighlight : 0;
    }
    return group;
}

// A host frame with the process's information bar.
class InfoBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new TestFrame;
        ASSERT_EQ(1, tkx_CreateTavixDynaInfoBar(frame->m_hWnd));
        bar = Find(frame);
        ASSERT_NE(nullptr, bar);
    }
    void TearDown() override
    {
        if (frame) frame->DestroyWindow(); // the bar goes with its host
    }
    static tkxDynaInfoBar* Find(CWnd* host)
    {
        HWND window = ::FindWindowExW(host->m_hWnd, nullptr, nullptr, L"TAVIX 属性栏");
        return DYNAMIC_DOWNCAST(tkxDynaInfoBar, CWnd::FromHandlePermanent(window));
    }
    // The host's right edge as the slide measures it: its window rectangle
    // in its own client coordinates.
    int HostRight() const
    {
        CRect outer;
        frame->GetWindowRect(&outer);
        frame->ScreenToClient(&outer);
        return outer.right;
    }
    void Tick(UINT_PTR timer, int times)
    {
        for (int i = 0; i < times; ++i) bar->SendMessage(WM_TIMER, timer, 0);
    }
    bool Shown() const { return (bar->GetStyle() & WS_VISIBLE) != 0; }
    // Slides the bar fully in at (top, height).
    void ShowBar(int top, int height)
    {
        tkx_UpdateTvDynaInfoBar(L"属性", top, height);
        Tick(tkxDynaInfoBar::kTimerSlideIn, 26);
        ASSERT_EQ(tkxDynaInfoBar::kShown, bar->m_nSlideState);
    }

    TestFrame* frame = nullptr;
    tkxDynaInfoBar* bar = nullptr;
};

} // namespace

TEST_F(InfoBarTest, OneHiddenBarPerProcessUntilItsHostGoes)
{
    EXPECT_FALSE(Shown());
    EXPECT_EQ(tkxDynaInfoBar::kHidden, bar->m_nSlideState);
    EXPECT_EQ(1u, bar->m_dwInfoKind);
    EXPECT_STREQ(L"修改平曲线交点坐标", bar->m_STitle);
    EXPECT_EQ(static_cast<DWORD>(CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY), bar->GetBarStyle() & 0x34);
    EXPECT_TRUE(bar->IsFloating());

    // A second call keeps the bar, even for another host.
    auto* other = new TestFrame;
    EXPECT_EQ(1, tkx_CreateTavixDynaInfoBar(other->m_hWnd));
    EXPECT_EQ(nullptr, Find(other));
    EXPECT_EQ(bar, Find(frame));

    // With its host the bar is gone; the next call makes a new one.
    frame->DestroyWindow();
    frame = other;
    tkx_HideTvDynaInfoBar();
    tkx_UpdateTvDynaInfoBar(L"无", 0, 100);
    EXPECT_EQ(1, tkx_CreateTavixDynaInfoBar(other->m_hWnd));
    bar = Find(other);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(tkxDynaInfoBar::kHidden, bar->m_nSlideState);
}

TEST(InfoBarCreation, NoHostNoBar)
{
    EXPECT_EQ(0, tkx_CreateTavixDynaInfoBar(nullptr));
    // Nothing to drive.
    tkx_AddGroupToTvDynaInfoBar(sInfoGroup(), 1);
    tkx_SetTvDynaInfoBar_Info(L"信息", kInfoPlain, 1);
    tkx_UpdateTvDynaInfoBar(L"标题", 0, 100);
    tkx_HideTvDynaInfoBar();
    auto* host = new TestFrame;
    EXPECT_EQ(1, tkx_CreateTavixDynaInfoBar(host->m_hWnd));
    HWND window = ::FindWindowExW(host->m_hWnd, nullptr, nullptr, L"TAVIX 属性栏");
    auto* bar = DYNAMIC_DOWNCAST(tkxDynaInfoBar, CWnd::FromHandlePermanent(window));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(0, bar->GetGroupCount());
    EXPECT_EQ(0, bar->m_SInfoLines.GetSize());
    host->DestroyWindow();
}

TEST_F(InfoBarTest, SlidesInEightPixelsATickFromTheRightEdge)
{
    const int right = HostRight();
    tkx_UpdateTvDynaInfoBar(L"交点JD3", 20, 300);
    EXPECT_EQ(tkxDynaInfoBar::kSlidingIn, bar->m_nSlideState);
    EXPECT_TRUE(Shown());
    EXPECT_STREQ(L"交点JD3", bar->m_STitle);
    EXPECT_EQ(CRect(right - 5, 20, right - 5, 320), RectIn(bar, frame));

    Tick(tkxDynaInfoBar::kTimerSlideIn, 25);
    EXPECT_EQ(CRect(right - 205, 20, right - 5, 320), RectIn(bar, frame));
    EXPECT_EQ(tkxDynaInfoBar::kSlidingIn, bar->m_nSlideState);
    Tick(tkxDynaInfoBar::kTimerSlideIn, 1);
    EXPECT_EQ(CRect(right - 213, 20, right - 5, 320), RectIn(bar, frame));
    EXPECT_EQ(tkxDynaInfoBar::kShown, bar->m_nSlideState);
    // Its timer has stopped: the bar stays 208 pixels wide.
    PumpFor(80);
    EXPECT_EQ(208, RectIn(bar, frame).Width());

    // Shown, an update only changes the title.
    tkx_UpdateTvDynaInfoBar(L"交点JD4", 60, 100);
    EXPECT_STREQ(L"交点JD4", bar->m_STitle);
    EXPECT_EQ(CRect(right - 213, 20, right - 5, 320), RectIn(bar, frame));
}

TEST_F(InfoBarTest, SlidesOutAndHidesAndAgainIn)
{
    const int right = HostRight();
    ShowBar(20, 300);
    tkx_HideTvDynaInfoBar();
    Tick(tkxDynaInfoBar::kTimerSlideOut, 25);
    EXPECT_EQ(CRect(right - 13, 20, right - 5, 320), RectIn(bar, frame));
    EXPECT_TRUE(Shown());
    Tick(tkxDynaInfoBar::kTimerSlideOut, 1);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(tkxDynaInfoBar::kHidden, bar->m_nSlideState);

    // Hidden, a hide does nothing.
    const CRect parked = bar->m_rcPosition;
    tkx_HideTvDynaInfoBar();
    PumpFor(80);
    EXPECT_EQ(parked, bar->m_rcPosition);
    EXPECT_FALSE(Shown());

    // An update slides it in again at its new place; a second one during
    // the slide starts no second slide.
    tkx_UpdateTvDynaInfoBar(L"二", 40, 200);
    Tick(tkxDynaInfoBar::kTimerSlideIn, 5);
    tkx_UpdateTvDynaInfoBar(L"三", 90, 50);
    EXPECT_EQ(CRect(right - 45, 40, right - 5, 240), RectIn(bar, frame));
    EXPECT_STREQ(L"三", bar->m_STitle);

    // Hiding during the slide reverses from the width reached.
    tkx_HideTvDynaInfoBar();
    Tick(tkxDynaInfoBar::kTimerSlideOut, 4);
    EXPECT_EQ(8, RectIn(bar, frame).Width());
    EXPECT_TRUE(Shown());
    Tick(tkxDynaInfoBar::kTimerSlideOut, 1);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(tkxDynaInfoBar::kHidden, bar->m_nSlideState);
}

TEST_F(InfoBarTest, InformationTextIsCutAtLineBreaks)
{
    struct Case {
        const wchar_t* text;
        std::vector<const wchar_t*> lines;
    } cases[] = {
        {L"第一行\n第二行", {L"第一行", L"第二行"}},
        {L"甲\n\n乙\n", {L"甲", L"乙"}},
        {L"一行", {L"一行"}},
        {L"\n", {L"\n"}},
        {L"", {L""}},
        {L"\n\n尾", {L"\n\n尾"}}, // no line before a break: the whole text
    };
    for (const Case& c : cases) {
        tkx_SetTvDynaInfoBar_Info(c.text, 7, 0);
        ASSERT_EQ(static_cast<INT_PTR>(c.lines.size()), bar->m_SInfoLines.GetSize()) << test_support::Utf8(c.text);
        for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_STREQ(c.lines[i], bar->m_SInfoLines[i]);
        EXPECT_EQ(7u, bar->m_dwInfoKind);
    }
}

TEST_F(InfoBarTest, GroupsAreCopiedAndClearedOnRequest)
{
    sInfoGroup group = MakeGroup(L"交点", {{L"X", L"100.000"}, {L"Y", L"200.000"}});
    tkx_AddGroupToTvDynaInfoBar(group, 0);
    group.m_SName = L"改后";
    tkx_AddGroupToTvDynaInfoBar(group, 0);
    EXPECT_EQ(2, bar->GetGroupCount());
    EXPECT_STREQ(L"交点", bar->m_Groups.GetHead()->m_SName);
    EXPECT_STREQ(L"200.000", bar->m_Groups.GetHead()->m_Items[1].m_SValue);
    tkx_AddGroupToTvDynaInfoBar(group, 1);
    EXPECT_EQ(1, bar->GetGroupCount());
    EXPECT_STREQ(L"改后", bar->m_Groups.GetHead()->m_SName);
}

TEST_F(InfoBarTest, PaintsTitleGroupsRowsAndInformation)
{
    ShowBar(10, 420);
    tkx_AddGroupToTvDynaInfoBar(MakeGroup(L"平曲线交点", {{L"桩号", L"K1+200.000"}, {L"X坐标", L"4500.125"},
                                                          {L"Y坐标", L"38200.500"}},
                                          1),
                                1);
    tkx_UpdateTvDynaInfoBar(L"修改交点坐标", 10, 420);
    Image image = PrintWindowImage(bar, true);
    ASSERT_FALSE(image.Empty());
    image.SaveBmp(L"infobar_groups.bmp");
    const CRect all(0, 0, image.Width(), image.Height());
    EXPECT_EQ(kBack, image.At(image.Width() / 2, image.Height() - 8));
    // Title band below the 24-pixel logo, group header 5 pixels below it.
    EXPECT_EQ(kTitleTop, image.At(image.Width() / 2 + 40, 29));
    EXPECT_EQ(kHeaderTop, image.At(40, 29 + 33 + 5));
    EXPECT_GT(image.Count(all, kGroupBody), 200);
    // The highlighted row: a white value cell with its value in red.
    EXPECT_GT(image.Count(all, RGB(255, 255, 255)), 300);
    EXPECT_GT(CountIn(image, all, IsRed), 10);

    // The information text, alone under the title band, black for kind 64
    // and red otherwise.
    bar->RemoveAllGroups();
    const CRect info(10, 62, image.Width() - 10, image.Height() - 15);
    tkx_SetTvDynaInfoBar_Info(L"交点已修改\n请保存", kInfoPlain, 1);
    Image plain = PrintWindowImage(bar, true);
    plain.SaveBmp(L"infobar_info_plain.bmp");
    EXPECT_GT(CountIn(plain, info, IsBlack), 10);
    EXPECT_EQ(0, CountIn(plain, info, IsRed));
    tkx_SetTvDynaInfoBar_Info(L"坐标超出范围\n请检查", 1, 1);
    Image warning = PrintWindowImage(bar, true);
    warning.SaveBmp(L"infobar_info_warning.bmp");
    EXPECT_GT(CountIn(warning, info, IsRed), 10);
    EXPECT_EQ(0, CountIn(warning, info, IsBlack));
}

TEST_F(InfoBarTest, ItemCountsAreClampedToTheGroupsThirtyRows)
{
    ShowBar(0, 900);
    std::vector<std::pair<const wchar_t*, const wchar_t*>> rows(30, {L"项", L"值"});
    sInfoGroup group = MakeGroup(L"多行", rows, 3);
    tkx_AddGroupToTvDynaInfoBar(group, 1);
    Image thirty = PrintWindowImage(bar, true);
    group.m_nCount = 1000;
    tkx_AddGroupToTvDynaInfoBar(group, 1);
    EXPECT_TRUE(SameImage(thirty, PrintWindowImage(bar, true)));

    group.m_nCount = 0;
    tkx_AddGroupToTvDynaInfoBar(group, 1);
    Image none = PrintWindowImage(bar, true);
    group.m_nCount = -3;
    tkx_AddGroupToTvDynaInfoBar(group, 1);
    EXPECT_TRUE(SameImage(none, PrintWindowImage(bar, true)));
    EXPECT_FALSE(SameImage(none, thirty));
}

TEST_F(InfoBarTest, ADockedBarIsResizedByItsEdgeAndALostCaptureEndsTheDrag)
{
    frame->EnableDocking(CBRS_ALIGN_ANY);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    bar->ShowWindow(SW_SHOWNA);
    frame->DockControlBar(bar, AFX_IDW_DOCKBAR_RIGHT);
    ASSERT_FALSE(bar->IsFloating());
    PrintWindowImage(bar, true); // paints: places the sizing edge
    EXPECT_EQ(220, RectIn(bar, frame).Width());

    auto drag = [&](int shift) {
        CRect window;
        bar->GetWindowRect(&window);
        CPoint edge = bar->m_rcBorder.CenterPoint() + window.TopLeft();
        bar->SendMessage(WM_NCLBUTTONDOWN, HTSIZE, MAKELPARAM(edge.x, edge.y));
        CPoint origin(0, 0);
        bar->ClientToWnd(origin);
        CPoint client = bar->m_rcTracker.CenterPoint() - origin;
        client.x += shift;
        LPARAM at = MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y));
        bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at);
        return at;
    };
    // A lost capture ends the drag and keeps the size.
    drag(-30);
    ASSERT_TRUE(bar->m_bTracking);
    frame->SetCapture();
    EXPECT_FALSE(bar->m_bTracking);
    ::ReleaseCapture();
    EXPECT_EQ(220, bar->m_szVert.cx);

    // A release commits the size and the frame lays out at once.
    LPARAM at = drag(-30);
    bar->SendMessage(WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(bar->m_bTracking);
    EXPECT_EQ(250, bar->m_szVert.cx);
    EXPECT_EQ(250, RectIn(bar, frame).Width());
}

TEST(InfoBarShutdown, TheLibraryShutdownTakesDownBothBars)
{
    auto* host = new TestFrame;
    host->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_EQ(1, tkx_CreateTavixDynaInfoBar(host->m_hWnd));
    ASSERT_EQ(1, tkx_InitTavixStatusBar(host->m_hWnd));
    HWND info = ::FindWindowExW(host->m_hWnd, nullptr, nullptr, L"TAVIX 属性栏");
    HWND status = TavixDevApp().m_pStatusBar->m_hWnd;
    ASSERT_TRUE(::IsWindow(info));

    TavixDevApp().ExitInstance();
    EXPECT_FALSE(::IsWindow(info));
    EXPECT_FALSE(::IsWindow(status));
    EXPECT_EQ(nullptr, TavixDevApp().m_pStatusBar);
    // A new bar can be made afterwards.
    EXPECT_EQ(1, tkx_CreateTavixDynaInfoBar(host->m_hWnd));
    EXPECT_NE(nullptr, ::FindWindowExW(host->m_hWnd, nullptr, nullptr, L"TAVIX 属性栏"));
    host->DestroyWindow();
}
