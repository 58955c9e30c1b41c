// The suite status bar: made by the library's application object in a frame
// and docked at its bottom, driven by WM_COPYDATA from other programs and by
// the exported functions, painted with its pane backgrounds, frames and
// texts; the application object's creation and destruction of it.
#include "ui_test_support.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/ProjectInterface.h"
#include "corvane/project/TavixDevApp.h"
#include "corvane/ui/TvStatusBar.h"
#include "support/MessageBoxScript.h"
#include <string>

using namespace wintest;
using test_support::Utf8;

namespace {

// The two tones of the pane background (corvane/res/make_bar_images.py).
const COLORREF kPaneTop = RGB(236, 240, 248);
const COLORREF kPaneBottom = RGB(218, 225, 238);

bool IsDarkRed(COLORREF c) { return GetRValue(c) >= 90 && GetGValue(c) < 60 && GetBValue(c) < 60; }
bool IsBlack(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }

int CountIn(const Image& image, const CRect& area, bool (*test)(COLORREF))
{
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(image.Height(), area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(image.Width(), area.right); ++x)
            if (test(image.At(x, y))) ++n;
    return n;
}

LRESULT SendCopyData(HWND window, ULONG_PTR word, const void* data, DWORD bytes)
{
    COPYDATASTRUCT cds{word, bytes, const_cast<void*>(data)};
    return ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
}

LRESULT SendText(HWND window, ULONG_PTR word, const wchar_t* text)
{
    // As the suite's senders do: a 512-character buffer.
    wchar_t buffer[512] = {};
    wcsncpy(buffer, text, 511);
    return SendCopyData(window, word, buffer, sizeof(buffer));
}

CRect RectIn(CWnd* wnd, CWnd* in)
{
    CRect r;
    wnd->GetWindowRect(&r);
    in->ScreenToClient(&r);
    return r;
}

// A frame (docking enabled, with a client pane) holding the library's
// status bar, made through the exported function.  The current project is
// empty while the bar is made.
class StatusBarTest : public ::testing::Test
{
protected:
    void Make(bool visible, CRect rect = CRect(50, 50, 650, 450))
    {
        CTavixDevApp& app = TavixDevApp();
        app.DestroyStatusBar();
        app.m_CurProject.Reset();
        app.m_CurProject.m_Roads.RemoveAll();
        frame = new TestFrame(visible, rect);
        pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_EQ(1, tkx_InitTavixStatusBar(frame->m_hWnd));
        bar = app.m_pStatusBar;
        ASSERT_NE(nullptr, bar);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        if (frame) frame->DestroyWindow();
        EXPECT_EQ(nullptr, TavixDevApp().m_pStatusBar); // the bar went with its frame
    }
    // The bar's client area as it paints itself.
    Image Render() { return PrintWindowImage(bar, true); }
    int MessageWidth() const
    {
        CRect client;
        bar->GetClientRect(&client);
        return client.Width() - 415;
    }

    TestFrame* frame = nullptr;
    CStatic pane;
    CTvStatusBar* bar = nullptr;
};

} // namespace

TEST_F(StatusBarTest, DocksAlongTheBottomOfTheFrameAndPaintsItsPanes)
{
    Make(true);
    // Docked in the frame's bottom dock bar, the full width, 30 pixels high.
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bar->m_hWnd)));
    EXPECT_STREQ(L"TAVIX3状态栏", bar->GetWindowText());
    CRect client, rect = RectIn(bar, frame);
    frame->GetClientRect(&client);
    EXPECT_EQ(CRect(0, client.bottom - 30, client.right, client.bottom), rect);
    EXPECT_EQ(client.bottom - 30, RectIn(&pane, frame).bottom);
    // A plain bar: no gripper, no buttons, no docking toggle; the sizing edge
    // is the top strip.
    EXPECT_EQ(0, bar->m_bShowGripper);
    EXPECT_EQ(nullptr, ::GetWindow(bar->m_hWnd, GW_CHILD));
    EXPECT_EQ(CRect(1, 1, client.right - 1, 6), bar->m_rcBorder);

    EXPECT_STREQ(L"Tavix状态栏就绪...", bar->m_SMessage);
    EXPECT_STREQ(L"项目:[无]", bar->m_SProject);
    EXPECT_STREQ(L"道路:[无]", bar->m_SRoad);
    EXPECT_STREQ(L"数模:无", bar->m_SMesh);

    // The screen: the frame with the bar at its bottom.
    Image shot = CaptureWindow(frame, true);
    ASSERT_FALSE(shot.Empty());
    shot.SaveBmp(L"statusbar_frame.bmp");
    CRect barClient;
    bar->GetClientRect(&barClient);
    CPoint origin(0, 0);
    ::MapWindowPoints(bar->m_hWnd, frame->m_hWnd, &origin, 1);
    const int M = MessageWidth(), H = barClient.Height();
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW),
                   light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    auto at = [&](int x, int y) { return shot.At(origin.x + x, origin.y + y); };
    // Each pane's background: the bitmap's upper tone near the top, its
    // lower tone near the bottom.
    for (int x : {M - 20, M + 20, M + 260, M + 395}) {
        EXPECT_EQ(kPaneTop, at(x, 2)) << x;
        EXPECT_EQ(kPaneBottom, at(x, H - 3)) << x;
    }
    // Sunken frames: shadow on the left and top, highlight at the bottom;
    // the bar's own colour in the gap before the project pane.
    EXPECT_EQ(shadow, at(2, 10));
    EXPECT_EQ(shadow, at(M + 5, 10));
    EXPECT_EQ(shadow, at(M + 208, 10));
    EXPECT_EQ(shadow, at(M + 311, 10));
    EXPECT_EQ(light, at(M + 100, H - 2));
    EXPECT_EQ(face, at(M + 4, 10));
    // Texts in black.
    EXPECT_GT(CountIn(shot, CRect(origin.x + 3, origin.y + 1, origin.x + M, origin.y + H - 1), IsBlack), 10);
}

TEST_F(StatusBarTest, CopyDataMessagesSetThePanes)
{
    Make(false);
    struct Case {
        ULONG_PTR word;
        const wchar_t* text;
        const wchar_t* message;
        const wchar_t* project;
        const wchar_t* road;
        const wchar_t* mesh;
        int warning;
    } cases[] = {
        {1, L"一期工程", L"Tavix状态栏就绪...", L"项目:一期工程", L"道路:[无]", L"数模:无", 0},
        {2, L"主线", L"Tavix状态栏就绪...", L"项目:一期工程", L"道路:主线", L"数模:无", 0},
        {3, L"地形1", L"Tavix状态栏就绪...", L"项目:一期工程", L"道路:主线", L"数模:地形1", 0},
        {7, L"注意!", L"注意!", L"项目:一期工程", L"道路:主线", L"数模:地形1", 1},
        {0, L"就绪", L"就绪", L"项目:一期工程", L"道路:主线", L"数模:地形1", 0},
        {0xFFFF, L"负数", L"负数", L"项目:一期工程", L"道路:主线", L"数模:地形1", 1},
        // Only the low 16 bits of the data word count.
        {65537, L"二期工程", L"负数", L"项目:二期工程", L"道路:主线", L"数模:地形1", 1},
    };
    for (const Case& c : cases) {
        SendText(bar->m_hWnd, c.word, c.text);
        EXPECT_STREQ(c.message, bar->m_SMessage) << c.word;
        EXPECT_STREQ(c.project, bar->m_SProject) << c.word;
        EXPECT_STREQ(c.road, bar->m_SRoad) << c.word;
        EXPECT_STREQ(c.mesh, bar->m_SMesh) << c.word;
        EXPECT_EQ(c.warning, bar->m_bWarning) << c.word;
    }
    // No data: nothing changes.
    SendCopyData(bar->m_hWnd, 1, nullptr, 1024);
    EXPECT_STREQ(L"项目:二期工程", bar->m_SProject);
}

TEST_F(StatusBarTest, CopyDataTextIsBoundedByItsByteCountAnd511Characters)
{
    Make(false);
    // Eight bytes of a longer, unterminated text: four characters.
    const wchar_t unterminated[] = {L'A', L'B', L'C', L'D', L'E', L'F', L'G', L'H'};
    SendCopyData(bar->m_hWnd, 2, unterminated, 8);
    EXPECT_STREQ(L"道路:ABCD", bar->m_SRoad);
    // An odd byte count takes the whole characters.
    SendCopyData(bar->m_hWnd, 2, unterminated, 5);
    EXPECT_STREQ(L"道路:AB", bar->m_SRoad);
    SendCopyData(bar->m_hWnd, 2, unterminated, 0);
    EXPECT_STREQ(L"道路:", bar->m_SRoad);

    // 600 characters, terminated, with their whole byte count: 511 of them.
    std::wstring longText(600, L'长');
    SendCopyData(bar->m_hWnd, 0, longText.c_str(), static_cast<DWORD>((longText.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(511, bar->m_SMessage.GetLength());
    EXPECT_EQ(std::wstring(511, L'长'), std::wstring(bar->m_SMessage.GetString()));
    // A cut inside a surrogate pair drops its first half.
    std::wstring pair = std::wstring(510, L'a') + L"\U0002A6A5" + L"b";
    SendCopyData(bar->m_hWnd, 0, pair.c_str(), static_cast<DWORD>((pair.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(std::wstring(510, L'a'), std::wstring(bar->m_SMessage.GetString()));
}

TEST_F(StatusBarTest, ExportedFunctionsSetThePanesOfTheProcessBar)
{
    Make(false);
    tkx_SetStatusText(L"一期工程", 1);
    tkx_SetStatusText(L"匝道A", 2);
    tkx_SetStatusText(L"数模2", 3);
    tkx_SetStatusText(L"保存完毕", 0);
    EXPECT_STREQ(L"项目:一期工程", bar->m_SProject);
    EXPECT_STREQ(L"道路:匝道A", bar->m_SRoad);
    EXPECT_STREQ(L"数模:数模2", bar->m_SMesh);
    EXPECT_STREQ(L"保存完毕", bar->m_SMessage);
    EXPECT_EQ(0, bar->m_bWarning);
    // Other panes do nothing through the function (a message would warn).
    tkx_SetStatusText(L"第七", 7);
    tkx_SetStatusText(L"负", -1);
    EXPECT_STREQ(L"保存完毕", bar->m_SMessage);
    EXPECT_EQ(0, bar->m_bWarning);

    tkx_StatusPrintf(L"第%d段 %s", 3, L"完成");
    EXPECT_STREQ(L"第3段 完成", bar->m_SMessage);
    EXPECT_EQ(0, bar->m_bWarning);
    tkx_StatusWarning(L"缺少%s文件", L"DMX");
    EXPECT_STREQ(L"缺少DMX文件", bar->m_SMessage);
    EXPECT_EQ(1, bar->m_bWarning);
    // An empty or too long result leaves the message in place.
    tkx_StatusPrintf(L"%s", L"");
    tkx_StatusPrintf(L"%s", std::wstring(2048, L'x').c_str());
    EXPECT_STREQ(L"缺少DMX文件", bar->m_SMessage);
    tkx_StatusPrintf(L"%s", std::wstring(2047, L'x').c_str());
    EXPECT_EQ(2047, bar->m_SMessage.GetLength());
}

TEST_F(StatusBarTest, WarningsColourEveryTextDarkRed)
{
    Make(false);
    const int M = MessageWidth();
    CRect client;
    bar->GetClientRect(&client);
    const CRect messagePane(3, 1, M + 1, client.bottom - 1), projectPane(M + 6, 1, M + 207, client.bottom - 1);

    tkx_SetStatusText(L"一期工程", 1);
    SendText(bar->m_hWnd, 0, L"普通消息");
    Image plain = Render();
    plain.SaveBmp(L"statusbar_plain.bmp");
    EXPECT_GT(CountIn(plain, messagePane, IsBlack), 10);
    EXPECT_GT(CountIn(plain, projectPane, IsBlack), 10);
    EXPECT_EQ(0, CountIn(plain, client, IsDarkRed));

    SendText(bar->m_hWnd, 9, L"警告消息");
    Image warning = Render();
    warning.SaveBmp(L"statusbar_warning.bmp");
    EXPECT_GT(CountIn(warning, messagePane, IsDarkRed), 10);
    EXPECT_GT(CountIn(warning, projectPane, IsDarkRed), 10);
    EXPECT_EQ(0, CountIn(warning, client, IsBlack));
}

TEST_F(StatusBarTest, FixedPanesKeepTheirWidthsInANarrowBar)
{
    for (int width : {640, 360}) {
        Make(false, CRect(0, 0, width, 200));
        const int M = MessageWidth();
        Image image = Render();
        ASSERT_FALSE(image.Empty());
        const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
        // The frames of the road and terrain-model panes stay 103 pixels
        // apart, counted from the right.
        EXPECT_EQ(shadow, image.At(M + 208, 8)) << width;
        EXPECT_EQ(shadow, image.At(M + 311, 8)) << width;
        EXPECT_EQ(kPaneTop, image.At(M + 360, 3)) << width;
        // The message pane's frame only where it has room.
        EXPECT_EQ(M > 0, image.At(2, 8) == shadow) << width;
        frame->DestroyWindow();
        frame = nullptr;
    }
}

// ---------------------------------------------------------------------------
// The application object's side.

TEST(StatusBarApp, ABarHeldAlreadyIsKeptAndAFailedBarIsForgotten)
{
    CTavixDevApp& app = TavixDevApp();
    app.DestroyStatusBar();
    {
        // A frame without a window: the bar cannot be made.
        MessageBoxScript boxes;
        CFrameWnd nowhere;
        EXPECT_EQ(0, app.CreateStatusBar(&nowhere));
        EXPECT_EQ(nullptr, app.m_pStatusBar);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_STREQ(L"\n无法创建TAVIX3状态栏!", boxes.Shown()[0].text);
        EXPECT_STREQ(L"TAVIX", boxes.Shown()[0].caption);
        // Nothing of it is used afterwards.
        tkx_SetStatusText(L"无", 1);
        tkx_StatusPrintf(L"无");
    }

    // A frame without dock bars gets its bottom one.
    auto* frame = new TestFrame;
    EXPECT_EQ(1, app.CreateStatusBar(frame));
    CTvStatusBar* bar = app.m_pStatusBar;
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bar->m_hWnd)));
    EXPECT_EQ(1, app.CreateStatusBar(frame));
    EXPECT_EQ(1, tkx_InitTavixStatusBar(frame->m_hWnd));
    EXPECT_EQ(bar, app.m_pStatusBar);
    int bars = 0;
    for (HWND child = ::FindWindowExW(::GetParent(bar->m_hWnd), nullptr, nullptr, L"TAVIX3状态栏"); child;
         child = ::FindWindowExW(::GetParent(bar->m_hWnd), child, nullptr, L"TAVIX3状态栏"))
        ++bars;
    EXPECT_EQ(1, bars);

    // Destroying takes the window down and forgets the bar.
    HWND window = bar->m_hWnd;
    tkx_DestroyTvStatusBar();
    EXPECT_EQ(nullptr, app.m_pStatusBar);
    EXPECT_FALSE(::IsWindow(window));
    tkx_DestroyTvStatusBar();
    frame->DestroyWindow();
}

TEST(StatusBarApp, InitDependsOnTheSuiteOptionAndAHandle)
{
    CTavixDevApp& app = TavixDevApp();
    app.DestroyStatusBar();
    auto* frame = new TestFrame;
    EXPECT_EQ(0, tkx_InitTavixStatusBar(nullptr));
    app.AppInfo().m_bTvStatus = FALSE;
    EXPECT_EQ(0, tkx_InitTavixStatusBar(frame->m_hWnd));
    EXPECT_EQ(nullptr, app.m_pStatusBar);
    app.AppInfo().m_bTvStatus = TRUE;
    {
        // A window that is no frame of the class library cannot hold it.
        MessageBoxScript boxes;
        CStatic child;
        ASSERT_TRUE(child.Create(L"", WS_CHILD, CRect(0, 0, 10, 10), frame, 77));
        EXPECT_EQ(0, tkx_InitTavixStatusBar(child.m_hWnd));
        EXPECT_EQ(nullptr, app.m_pStatusBar);
        EXPECT_STREQ(L"\n无法创建TAVIX3状态栏!", boxes.LastText());
    }
    EXPECT_EQ(1, tkx_InitTavixStatusBar(frame->m_hWnd));
    EXPECT_NE(nullptr, app.m_pStatusBar);
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pStatusBar);
}

TEST(StatusBarApp, PanesShowTheCurrentProjectAndFollowOpeningAProject)
{
    CTavixDevApp& app = TavixDevApp();
    app.DestroyStatusBar();
    test_support::ScratchFolder folder(L"statusbar_projects");
    tkxProject project;
    project.m_SName = L"状态栏项目";
    project.m_SPath = folder / L"状态栏项目";
    ASSERT_TRUE(::CreateDirectoryW(project.m_SPath, nullptr));
    for (const wchar_t* road : {L"主线", L"匝道B"}) {
        Tavix4::sRoadInfo info;
        info.m_SRoadName = road;
        project.m_Roads.Add(info);
    }
    project.m_iCurRoad = 1;
    ASSERT_EQ(1, tkx_AddProject(&project, nullptr));

    // A new bar reads the current project and road.
    auto* frame = new TestFrame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_EQ(1, tkx_InitTavixStatusBar(frame->m_hWnd));
    CTvStatusBar* bar = app.m_pStatusBar;
    EXPECT_STREQ(L"项目:状态栏项目", bar->m_SProject);
    EXPECT_STREQ(L"道路:匝道B", bar->m_SRoad);

    // Opening a project shows it and its current road.
    tkx_SetStatusText(L"别的", 1);
    tkx_SetStatusText(L"别的", 2);
    ASSERT_EQ(1, tkx_OpenProject(L"状态栏项目", nullptr, nullptr));
    EXPECT_STREQ(L"项目:状态栏项目", bar->m_SProject);
    EXPECT_STREQ(L"道路:匝道B", bar->m_SRoad);
    frame->DestroyWindow();

    tkxProject removed;
    tkx_RemoveProject(L"状态栏项目", &removed, nullptr);
}
