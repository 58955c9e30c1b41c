// The docking control bar: its buttons and tool tips, the non-client layout
// and sizing edge of each dock side, the resize drag with its limits and its
// end on a lost capture, docking and floating by button and double click,
// the floating size, painting without layout, and a screenshot in a frame.
#include "ui_test_support.h"
#include "corvane/ui/ControlBar.h"

using namespace wintest;

namespace {

const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC;
const COLORREF kGlyph = RGB(64, 64, 64); // the buttons' icons (corvane/res/make_bar_images.py)
const UINT kBarMenu = 31201;             // a menu of three items (controlbar_test.rc)

// What a shown popup menu looked like; the menu is closed at once.
struct ShownMenu {
    int count = 0;
    int items = 0;
    CPoint at{-1, -1};
};
ShownMenu g_menu;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND window = ::FindWindowW(L"#32768", nullptr);
    if (!window || !::IsWindowVisible(window)) return;
    ::KillTimer(nullptr, id);
    ++g_menu.count;
    CRect rect;
    ::GetWindowRect(window, &rect);
    g_menu.at = rect.TopLeft();
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
    g_menu.items = menu ? ::GetMenuItemCount(menu) : 0;
    ::EndMenu();
}

// A frame that counts its layouts.
class CountingFrame : public TestFrame
{
public:
    explicit CountingFrame(bool visible) : TestFrame(visible) {}
    int layouts = 0;
    void RecalcLayout(BOOL notify = TRUE) override
    {
        ++layouts;
        TestFrame::RecalcLayout(notify);
    }
};

CRect RectIn(CWnd* wnd, CWnd* in)
{
    CRect r;
    wnd->GetWindowRect(&r);
    in->ScreenToClient(&r);
    return r;
}

LPARAM PointParam(CPoint p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

// A frame with a client pane and the four dock bars, holding one docking
// bar of 120 x 80.
class ControlBarTest : public ::testing::Test
{
protected:
    void Make(UINT side, bool visible = false, bool buttons = true)
    {
        frame = new CountingFrame(visible);
        pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        bar.ShowFrameStuff(1, buttons ? 1 : 0);
        ASSERT_TRUE(bar.Create(frame, 5001, L"停靠条", CSize(120, 80), kBarStyle));
        bar.EnableDocking(CBRS_ALIGN_ANY);
        Dock(side);
    }
    void Dock(UINT side)
    {
        frame->DockControlBar(&bar, side);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        if (frame) frame->DestroyWindow();
    }
    void Click(UINT id)
    {
        bar.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(bar, id)));
        PumpUntilIdle();
    }
    // A drag of the sizing edge by `shift` (window coordinates), released
    // with the button up unless `release` is false.
    void Drag(CPoint shift, bool release = true)
    {
        CRect window;
        bar.GetWindowRect(&window);
        CPoint edge = bar.m_rcBorder.CenterPoint() + window.TopLeft();
        bar.SendMessage(WM_NCLBUTTONDOWN, HTSIZE, PointParam(edge));
        ASSERT_TRUE(bar.m_bTracking);
        EXPECT_EQ(bar.m_hWnd, ::GetCapture());
        CPoint origin(0, 0);
        bar.ClientToWnd(origin);
        CPoint client = bar.m_rcTracker.CenterPoint() + shift - origin;
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(client));
        if (release) bar.SendMessage(WM_LBUTTONUP, 0, PointParam(client));
    }
    int FrameWidth() const
    {
        CRect client;
        frame->GetClientRect(&client);
        return client.Width();
    }

    CountingFrame* frame = nullptr;
    CStatic pane;
    tkxControlBar bar;
};

} // namespace

TEST_F(ControlBarTest, CreationMakesTwoFlatIconButtonsWithTips)
{
    Make(AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_RIGHT | CBRS_SIZE_DYNAMIC), bar.GetBarStyle() & ~CBRS_BORDER_ANY);
    for (UINT id : {1000u, 1001u}) {
        HWND button = ::GetDlgItem(bar, id);
        ASSERT_NE(nullptr, button) << id;
        const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(button, GWL_STYLE));
        EXPECT_EQ(0x5001404Bu, style & 0x5001404Bu) << id;
        EXPECT_TRUE(::IsWindowEnabled(button)) << id; // the bar's own update handlers keep it on
    }
    EXPECT_TRUE(bar.m_btnClose.GetFlat());
    ASSERT_NE(nullptr, bar.m_ToolTip.m_hWnd);
    EXPECT_EQ(2, bar.m_ToolTip.GetToolCount());
    EXPECT_STREQ(L"隐含窗口", bar.m_ToolTip.GetText(&bar.m_btnClose));
    EXPECT_STREQ(L"拖动窗口", bar.m_ToolTip.GetText(&bar.m_btnToggle));
}

TEST_F(ControlBarTest, WithoutButtonsTheGripperRunsTheFullLength)
{
    Make(AFX_IDW_DOCKBAR_TOP, false, false);
    EXPECT_EQ(nullptr, ::GetWindow(bar, GW_CHILD));
    EXPECT_EQ(nullptr, bar.m_ToolTip.m_hWnd);
    CRect client;
    bar.GetClientRect(&client);
    EXPECT_EQ(CRect(4, 4, 7, client.Height() - 4), bar.GetGripperRect());
    Dock(AFX_IDW_DOCKBAR_LEFT);
    bar.GetClientRect(&client);
    EXPECT_EQ(CRect(4, 6, client.Width() - 6, 9), bar.GetGripperRect());
}

TEST_F(ControlBarTest, EachDockSideHasItsInsetsSizingEdgeAndButtonPlaces)
{
    Make(AFX_IDW_DOCKBAR_TOP);
    struct Side {
        UINT id;
        CRect inset;     // left, top, right, bottom of the client area in the window
        bool horizontal; // buttons stacked down the left side
    } sides[] = {
        {AFX_IDW_DOCKBAR_TOP, CRect(2, 2, 2, 7), true},
        {AFX_IDW_DOCKBAR_BOTTOM, CRect(2, 7, 2, 2), true},
        {AFX_IDW_DOCKBAR_LEFT, CRect(2, 2, 7, 6), false},
        {AFX_IDW_DOCKBAR_RIGHT, CRect(7, 2, 2, 6), false},
    };
    for (const Side& side : sides) {
        Dock(side.id);
        EXPECT_EQ(static_cast<int>(side.id), bar.m_nDockBarID);
        EXPECT_FALSE(bar.IsFloating());
        EXPECT_EQ(side.horizontal, bar.IsHorzDocked() != FALSE);
        CRect window, client;
        bar.GetWindowRect(&window);
        bar.GetClientRect(&client);
        const int W = window.Width(), H = window.Height();
        // The docked size: the height of the horizontal size or the width of
        // the vertical size.
        EXPECT_EQ(side.horizontal ? 80 : 120, side.horizontal ? H : W) << side.id;
        CPoint origin(0, 0);
        bar.ClientToScreen(&origin);
        EXPECT_EQ(CRect(side.inset.left, side.inset.top, W - side.inset.right, H - side.inset.bottom),
                  CRect(origin - window.TopLeft(), client.Size()))
            << side.id;
        // The client origin as the drag converts points.
        CPoint converted(0, 0);
        EXPECT_EQ(origin - window.TopLeft(), bar.ClientToWnd(converted)) << side.id;

        // The sizing edge: a 5-pixel strip on the inner side, in window
        // coordinates; the hit test answers HTSIZE there only.
        CRect edge(1, 1, W - 1, H - 1);
        switch (side.id) {
        case AFX_IDW_DOCKBAR_TOP: edge.top = edge.bottom - 5; break;
        case AFX_IDW_DOCKBAR_BOTTOM: edge.bottom = edge.top + 5; break;
        case AFX_IDW_DOCKBAR_LEFT: edge.left = edge.right - 5; break;
        default: edge.right = edge.left + 5; break;
        }
        EXPECT_EQ(edge, bar.m_rcBorder) << side.id;
        EXPECT_EQ(HTSIZE, bar.SendMessage(WM_NCHITTEST, 0, PointParam(edge.CenterPoint() + window.TopLeft())));
        EXPECT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, PointParam(window.CenterPoint())));

        // Buttons: stacked down the left side or side by side at the top right.
        CRect close = side.horizontal ? CRect(2, 3, 14, 15) : CRect(client.Width() - 31, 3, client.Width() - 19, 15);
        CRect toggle = close;
        toggle.OffsetRect(side.horizontal ? CPoint(0, 14) : CPoint(14, 0));
        EXPECT_EQ(close, bar.GetButtonRect());
        EXPECT_EQ(close, RectIn(&bar.m_btnClose, &bar)) << side.id;
        EXPECT_EQ(toggle, RectIn(&bar.m_btnToggle, &bar)) << side.id;
        EXPECT_TRUE(bar.m_btnToggle.GetStyle() & WS_VISIBLE);
        EXPECT_EQ(side.horizontal ? CRect(4, 33, 7, client.Height() - 4) : CRect(4, 6, client.Width() - 34, 9),
                  bar.GetGripperRect())
            << side.id;
    }
}

TEST_F(ControlBarTest, DraggingTheSizingEdgeResizesWithinTheLimits)
{
    Make(AFX_IDW_DOCKBAR_RIGHT, true); // the idle pass lays out visible frames only
    const int reach = FrameWidth();
    struct Case {
        UINT side;
        CPoint shift;
        int size; // the docked size afterwards
    } cases[] = {
        {AFX_IDW_DOCKBAR_RIGHT, CPoint(-40, 0), 160}, // leftwards widens a bar docked at the right
        {AFX_IDW_DOCKBAR_LEFT, CPoint(-40, 0), 80},   // and narrows one docked at the left
        {AFX_IDW_DOCKBAR_LEFT, CPoint(25, 0), 145},
        {AFX_IDW_DOCKBAR_LEFT, CPoint(-500, 0), 32},  // never below the minimum
        {AFX_IDW_DOCKBAR_TOP, CPoint(0, 30), 110},
        {AFX_IDW_DOCKBAR_BOTTOM, CPoint(0, -30), 110},
        {AFX_IDW_DOCKBAR_BOTTOM, CPoint(0, 70), 32},
    };
    for (const Case& c : cases) {
        bar.m_szHorz = CSize(120, 80);
        bar.m_szVert = CSize(120, 80);
        Dock(c.side);
        frame->RecalcLayout();
        Drag(c.shift);
        EXPECT_FALSE(bar.m_bTracking);
        EXPECT_EQ(nullptr, ::GetCapture());
        const bool horizontal = bar.IsHorzDocked() != FALSE;
        EXPECT_EQ(c.size, horizontal ? bar.m_szHorz.cy : bar.m_szVert.cx) << c.side;
        // The frame lays the bars out again at the next idle moment.
        PumpUntilIdle();
        CRect window;
        bar.GetWindowRect(&window);
        EXPECT_EQ(c.size, horizontal ? window.Height() : window.Width()) << c.side;
    }
    // Far past the frame's other side: the previous size plus the frame's
    // client width.
    bar.m_szVert = CSize(120, 80);
    Dock(AFX_IDW_DOCKBAR_RIGHT);
    Drag(CPoint(-5000, 0));
    EXPECT_EQ(120 + reach, bar.m_szVert.cx);
}

TEST_F(ControlBarTest, LosingTheCaptureEndsADragAndKeepsTheSize)
{
    Make(AFX_IDW_DOCKBAR_RIGHT);
    Drag(CPoint(-40, 0), false);
    ASSERT_TRUE(bar.m_bTracking);
    pane.SetCapture();
    EXPECT_FALSE(bar.m_bTracking);
    EXPECT_EQ(120, bar.m_szVert.cx);
    ::ReleaseCapture();
    // The mouse no longer moves the tracker.
    CRect tracker = bar.m_rcTracker;
    bar.SendMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(-100, 10)));
    EXPECT_EQ(tracker, bar.m_rcTracker);
}

TEST_F(ControlBarTest, ButtonsAndDoubleClicksToggleFloatingAndHide)
{
    Make(AFX_IDW_DOCKBAR_RIGHT);
    Click(tkxControlBar::ID_BUTTON_TOGGLE);
    ASSERT_TRUE(bar.IsFloating());
    HWND holder = ::GetParent(bar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, ::GetDlgCtrlID(holder));
    CWnd* mini = CWnd::FromHandle(::GetParent(holder));
    // Floating: the floating size, no sizing edge, no buttons, no insets.
    CRect client, window;
    mini->GetClientRect(&client);
    EXPECT_EQ(CSize(120, 80), client.Size());
    bar.GetWindowRect(&window);
    bar.GetClientRect(&client);
    EXPECT_EQ(window.Size(), client.Size());
    EXPECT_TRUE(bar.m_rcBorder.IsRectEmpty());
    EXPECT_FALSE(bar.m_btnClose.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(bar.m_btnToggle.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, PointParam(window.CenterPoint())));
    EXPECT_EQ(FrameWidth(), RectIn(&pane, frame).right); // the frame's side is free again

    // A user's resize of the floating frame becomes the floating size.
    CRect outer;
    mini->GetWindowRect(&outer);
    mini->SetWindowPos(nullptr, 0, 0, outer.Width() + 30, outer.Height() + 20,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpUntilIdle();
    EXPECT_EQ(CSize(150, 100), bar.m_szFloat);

    // The same button docks it where it came from.
    Click(tkxControlBar::ID_BUTTON_TOGGLE);
    EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, bar.m_nDockBarID);
    EXPECT_TRUE(bar.m_btnToggle.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(FrameWidth() - 120, RectIn(&pane, frame).right);

    // Double clicks toggle too, unless switched off.
    bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 30));
    EXPECT_TRUE(bar.IsFloating());
    bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 30));
    EXPECT_FALSE(bar.IsFloating());
    bar.m_bDblClkToggle = 0;
    bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 30));
    EXPECT_FALSE(bar.IsFloating());

    // The close button hides the bar and gives its room back.
    Click(tkxControlBar::ID_BUTTON_CLOSE);
    EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(FrameWidth(), RectIn(&pane, frame).right);
}

TEST_F(ControlBarTest, FloatingLayoutModesKeepTheFloatingSize)
{
    Make(AFX_IDW_DOCKBAR_LEFT);
    struct Case {
        int length;
        DWORD mode;
        CSize answer;
        CSize stored;
    } cases[] = {
        {0, LM_HORZ | LM_MRUWIDTH, CSize(120, 80), CSize(120, 80)},
        {150, LM_HORZ | LM_COMMIT, CSize(150, 80), CSize(150, 80)},
        {10, LM_HORZ | LM_LENGTHY, CSize(150, 32), CSize(150, 32)},
        {90, LM_HORZ | LM_LENGTHY | LM_COMMIT, CSize(90, 32), CSize(90, 32)}, // committed: a width
        {20, LM_HORZ, CSize(32, 32), CSize(90, 32)},
        {70, LM_HORZ, CSize(70, 32), CSize(90, 32)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.answer, bar.CalcDynamicLayout(c.length, c.mode)) << c.mode << " " << c.length;
        EXPECT_EQ(c.stored, bar.m_szFloat) << c.mode << " " << c.length;
    }
    // Docked, the answer is the fixed layout of the orientation.
    EXPECT_EQ(CSize(120, 32767), bar.CalcDynamicLayout(-1, LM_VERTDOCK | LM_STRETCH));
    EXPECT_EQ(CSize(32767, 80), bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH));
}

TEST_F(ControlBarTest, PaintingNeverLaysTheFrameOutButAResizeDoes)
{
    Make(AFX_IDW_DOCKBAR_TOP, true); // the idle pass lays out visible frames only
    frame->layouts = 0;
    for (int i = 0; i < 3; ++i) bar.SendMessage(WM_PAINT);
    Image image = PrintWindowImage(&bar, true);
    PumpUntilIdle();
    EXPECT_EQ(0, frame->layouts);

    // The gripper: two raised lines down the left side, below the buttons.
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    CRect gripper = bar.GetGripperRect();
    EXPECT_EQ(light, image.At(gripper.left, gripper.top + 10));
    EXPECT_EQ(shadow, image.At(gripper.right - 1, gripper.top + 10));
    EXPECT_EQ(light, image.At(gripper.left + 4, gripper.top + 10));
    EXPECT_EQ(shadow, image.At(gripper.right + 3, gripper.top + 10));

    // A bar that changes its size has the frame lay it out again, once it is
    // idle.
    bar.m_szHorz.cy = 50;
    CRect window;
    bar.GetWindowRect(&window);
    bar.SetWindowPos(nullptr, 0, 0, window.Width(), 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpUntilIdle();
    EXPECT_GT(frame->layouts, 0);
    bar.GetWindowRect(&window);
    EXPECT_EQ(50, window.Height());

    // Floating, the bar draws no gripper.
    Click(tkxControlBar::ID_BUTTON_TOGGLE);
    ASSERT_TRUE(bar.IsFloating());
    image = PrintWindowImage(&bar, true);
    EXPECT_EQ(0, image.Count(CRect(0, 0, image.Width(), image.Height()), light));
}

TEST_F(ControlBarTest, TheContextMenuOpensAtTheKeyboardPlaceAndOnlyWithAnId)
{
    Make(AFX_IDW_DOCKBAR_RIGHT, true);
    g_menu = ShownMenu();
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &CloseMenu);
    bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(-1, -1));
    PumpFor(100);
    EXPECT_EQ(0, g_menu.count); // no menu id: nothing

    bar.SetMenuID(kBarMenu);
    bar.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(-1, -1));
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(1, g_menu.count);
    EXPECT_EQ(3, g_menu.items); // the first sub-menu of the resource
    CPoint corner(5, 5);
    bar.ClientToScreen(&corner);
    EXPECT_EQ(corner, g_menu.at);
}

TEST_F(ControlBarTest, ScreenshotOfABarDockedAtTheLeft)
{
    Make(AFX_IDW_DOCKBAR_LEFT, true);
    Image shot = CaptureWindow(frame, true);
    ASSERT_FALSE(shot.Empty());
    shot.SaveBmp(L"controlbar_frame.bmp");
    CRect window = RectIn(&bar, frame);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    // The sizing edge along the right side, drawn raised.
    const int edgeLeft = window.left + bar.m_rcBorder.left, edgeRight = window.left + bar.m_rcBorder.right - 1;
    EXPECT_EQ(light, shot.At(edgeLeft, window.top + 40));
    EXPECT_EQ(shadow, shot.At(edgeRight, window.top + 40));
    // The gripper strip along the top and the icons of both buttons.
    CRect gripper = bar.GetGripperRect();
    gripper.OffsetRect(window.left + 2, window.top + 2);
    EXPECT_EQ(light, shot.At(gripper.left + 10, gripper.top));
    CRect close = RectIn(&bar.m_btnClose, frame), toggle = RectIn(&bar.m_btnToggle, frame);
    EXPECT_GT(shot.Count(close, kGlyph), 4);
    EXPECT_GT(shot.Count(toggle, kGlyph), 4);
}
