// Frames: command routing and menu update, bars updated in the idle pass,
// the docking framework, rendering and screenshots, profile settings.
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

using namespace wintest;

namespace {

enum : UINT { ID_OPEN = 32801, ID_SAVE, ID_MISSING, ID_STATE, ID_PANE = 32810 };

class CCommandFrame : public TestFrame
{
public:
    explicit CCommandFrame(bool visible = false) : TestFrame(visible) {}
    int opened = 0;
    BOOL canSave = FALSE;
    CString paneText = L"第1行";

protected:
    void OnOpen() { ++opened; }
    void OnSave() {}
    void OnUpdateSave(CCmdUI* ui) { ui->Enable(canSave); }
    void OnUpdateState(CCmdUI* ui)
    {
        ui->SetCheck(1);
        ui->Enable(TRUE);
    }
    void OnUpdatePane(CCmdUI* ui) { ui->SetText(paneText); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandFrame, TestFrame)
    ON_COMMAND(ID_OPEN, OnOpen)
    ON_COMMAND(ID_SAVE, OnSave)
    ON_UPDATE_COMMAND_UI(ID_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_STATE, OnUpdateState)
    ON_UPDATE_COMMAND_UI(ID_PANE, OnUpdatePane)
END_MESSAGE_MAP()

} // namespace

TEST(CommandRouting, MenusAreUpdatedWhenTheyOpenAndCommandsReachTheFrame)
{
    auto* frame = new CCommandFrame;
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_OPEN, L"打开");
    popup.AppendMenu(MF_STRING, ID_SAVE, L"保存");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, ID_MISSING, L"无处理");
    popup.AppendMenu(MF_STRING, ID_STATE, L"状态");
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ(0u, popup.GetMenuState(ID_OPEN, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, popup.GetMenuState(ID_SAVE, MF_BYCOMMAND) & MF_GRAYED);    // its update handler
    EXPECT_NE(0u, popup.GetMenuState(ID_MISSING, MF_BYCOMMAND) & MF_GRAYED); // no handler at all
    EXPECT_EQ(0u, popup.GetMenuState(ID_STATE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, popup.GetMenuState(ID_STATE, MF_BYCOMMAND) & MF_CHECKED);
    frame->canSave = TRUE;
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ(0u, popup.GetMenuState(ID_SAVE, MF_BYCOMMAND) & MF_GRAYED);

    frame->SendMessage(WM_COMMAND, ID_OPEN, 0);
    EXPECT_EQ(1, frame->opened);
    frame->DestroyWindow();
}

TEST(IdlePass, BarsTakeTheirCommandStateFromTheFrame)
{
    auto* frame = new CCommandFrame(true);
    CToolBar tools;
    ASSERT_TRUE(tools.Create(frame));
    const UINT buttons[] = {ID_OPEN, ID_SEPARATOR, ID_SAVE, ID_MISSING};
    ASSERT_TRUE(tools.SetButtons(buttons, 4));
    CStatusBar status;
    ASSERT_TRUE(status.Create(frame));
    const UINT panes[] = {ID_SEPARATOR, ID_PANE};
    ASSERT_TRUE(status.SetIndicators(panes, 2));
    frame->RecalcLayout();
    PumpUntilIdle();
    EXPECT_TRUE(tools.SendMessage(TB_ISBUTTONENABLED, ID_OPEN));
    EXPECT_FALSE(tools.SendMessage(TB_ISBUTTONENABLED, ID_SAVE));
    EXPECT_FALSE(tools.SendMessage(TB_ISBUTTONENABLED, ID_MISSING));
    EXPECT_STREQ(L"第1行", status.GetPaneText(1));
    frame->canSave = TRUE;
    frame->paneText = L"第2行";
    PumpUntilIdle();
    EXPECT_TRUE(tools.SendMessage(TB_ISBUTTONENABLED, ID_SAVE));
    EXPECT_STREQ(L"第2行", status.GetPaneText(1));

    // A tool-bar button's command goes to the frame.
    tools.SendMessage(WM_COMMAND, ID_OPEN, 0);
    EXPECT_EQ(1, frame->opened);

    // The status bar lies along the bottom, the tool bar along the top.
    CRect client, statusRect, toolRect;
    frame->GetClientRect(&client);
    status.GetWindowRect(&statusRect);
    frame->ScreenToClient(&statusRect);
    tools.GetWindowRect(&toolRect);
    frame->ScreenToClient(&toolRect);
    EXPECT_EQ(client.bottom, statusRect.bottom);
    EXPECT_EQ(client.Width(), statusRect.Width());
    EXPECT_EQ(0, toolRect.top);
    frame->DestroyWindow();
}

// ---------------------------------------------------------------------------
// Docking.

namespace {

// A bar of fixed thickness that paints itself in one colour.
class CColourBar : public CControlBar
{
public:
    COLORREF colour;
    int thickness;
    CColourBar(COLORREF c, int t) : colour(c), thickness(t) {}
    BOOL Make(CFrameWnd* frame, UINT id, DWORD align)
    {
        m_dwStyle = align;
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, nullptr), L"色条",
                        WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, id);
    }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override
    {
        if (m_pDockBar && m_pDockBar->m_bFloating) return CSize(120, 60);
        return horz ? CSize(stretch ? 32767 : 200, thickness) : CSize(thickness, stretch ? 32767 : 200);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        dc.FillSolidRect(&r, colour);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourBar, CControlBar)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CRect RectIn(CWnd* wnd, CWnd* in)
{
    CRect r;
    wnd->GetWindowRect(&r);
    in->ScreenToClient(&r);
    return r;
}

} // namespace

TEST(Docking, BarsDockAlongTheFrameFloatAndComeBack)
{
    auto* frame = new TestFrame(true);
    CStatic pane;
    ASSERT_TRUE(pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    for (UINT id : {59419u, 59420u, 59421u, 59422u})
        EXPECT_NE(nullptr, frame->GetDockBar(id)) << id;

    CColourBar bottom(RGB(200, 0, 0), 30), left(RGB(0, 160, 0), 40);
    ASSERT_TRUE(bottom.Make(frame, 901, CBRS_BOTTOM));
    ASSERT_TRUE(left.Make(frame, 902, CBRS_LEFT));
    bottom.EnableDocking(CBRS_ALIGN_BOTTOM | CBRS_ALIGN_TOP);
    left.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&bottom, AFX_IDW_DOCKBAR_BOTTOM);
    frame->DockControlBar(&left, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bottom.m_hWnd)));
    EXPECT_FALSE(bottom.IsFloating());

    CRect client;
    frame->GetClientRect(&client);
    CRect b = RectIn(&bottom, frame), l = RectIn(&left, frame), p = RectIn(&pane, frame);
    EXPECT_EQ(CRect(0, client.bottom - 30, client.right, client.bottom), b);
    EXPECT_EQ(CRect(0, 0, 40, client.bottom - 30), l);
    EXPECT_EQ(CRect(40, 0, client.right, client.bottom - 30), p); // the rest for the pane
    EXPECT_EQ(&bottom, frame->GetControlBar(901));

    Image shot = CaptureWindow(frame, true);
    shot.SaveBmp(L"docking_frame.bmp");
    EXPECT_EQ(RGB(200, 0, 0), shot.At(client.right / 2, client.bottom - 15));
    EXPECT_EQ(RGB(0, 160, 0), shot.At(20, 20));

    // Hidden bars give their room back.
    frame->ShowControlBar(&bottom, FALSE, FALSE);
    EXPECT_EQ(client.bottom, RectIn(&pane, frame).bottom);
    frame->ShowControlBar(&bottom, TRUE, FALSE);
    EXPECT_EQ(client.bottom - 30, RectIn(&pane, frame).bottom);

    // Double-click floats the bar in a mini frame; again docks it back.
    bottom.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(bottom.IsFloating());
    HWND holder = ::GetParent(bottom.m_hWnd);
    EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, ::GetDlgCtrlID(holder));
    HWND mini = ::GetParent(holder);
    EXPECT_TRUE(::IsWindowVisible(mini));
    EXPECT_EQ(frame->m_hWnd, ::GetWindow(mini, GW_OWNER));
    EXPECT_EQ(CSize(120, 60), RectIn(&bottom, CWnd::FromHandle(mini)).Size());
    EXPECT_STREQ(L"色条", CWnd::FromHandle(mini)->GetWindowText()); // the bar's title as caption
    bottom.SetWindowText(L"底部色条");
    EXPECT_STREQ(L"底部色条", CWnd::FromHandle(mini)->GetWindowText());
    EXPECT_EQ(client.bottom, RectIn(&pane, frame).bottom);
    bottom.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(bottom.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bottom.m_hWnd)));
    EXPECT_FALSE(::IsWindow(mini)); // the empty mini frame went away
    EXPECT_EQ(client.bottom - 30, RectIn(&pane, frame).bottom);

    // A delayed layout happens in the idle pass.
    left.thickness = 60;
    frame->DelayRecalcLayout();
    EXPECT_EQ(40, RectIn(&pane, frame).left);
    PumpUntilIdle();
    EXPECT_EQ(60, RectIn(&pane, frame).left);
    frame->DestroyWindow();
}

TEST(Docking, AFloatingBarIsOffWhileItsFrameIs)
{
    // A modal dialog or a print job turns the frame off; its floating bars,
    // windows of their own, go off with it and take no clicks meanwhile.
    auto* frame = new TestFrame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CColourBar bar(RGB(0, 0, 200), 30);
    ASSERT_TRUE(bar.Make(frame, 903, CBRS_TOP));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&bar, CPoint(300, 300));
    ASSERT_TRUE(bar.IsFloating());
    HWND mini = ::GetParent(::GetParent(bar.m_hWnd));
    EXPECT_TRUE(::IsWindowEnabled(mini));
    frame->EnableWindow(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(mini));
    frame->EnableWindow(TRUE);
    EXPECT_TRUE(::IsWindowEnabled(mini));
    frame->DestroyWindow();
}

TEST(Docking, BarsDockedSideBySideShareARowAtTheirPlaces)
{
    auto* frame = new TestFrame(false, CRect(50, 50, 850, 750));
    CStatic pane;
    ASSERT_TRUE(pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CColourBar a(RGB(200, 0, 0), 30), b(RGB(0, 200, 0), 24), c(RGB(0, 0, 200), 30);
    UINT id = 911;
    for (CColourBar* bar : {&a, &b, &c}) {
        ASSERT_TRUE(bar->Make(frame, id++, CBRS_TOP));
        bar->EnableDocking(CBRS_ALIGN_ANY);
    }
    frame->FloatControlBar(&c, CPoint(300, 300)); // waits in a mini frame
    CDockBar* top = frame->GetDockBar(AFX_IDW_DOCKBAR_TOP);
    // Where a bar is wanted, in screen coordinates of the top dock bar.
    auto at = [&](int x, int y) {
        CRect r(x, y, x + 200, y + 20);
        top->ClientToScreen(&r);
        return r;
    };
    frame->DockControlBar(&a, AFX_IDW_DOCKBAR_TOP);
    const int edge = RectIn(top, frame).Width();
    EXPECT_EQ(CRect(0, 0, edge, 30), RectIn(&a, top)); // alone in its row: along the whole edge
    CRect wanted = at(250, 5);
    frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP, &wanted);
    EXPECT_EQ(CRect(0, 0, 200, 30), RectIn(&a, top));    // sharing the row: its own length
    EXPECT_EQ(CRect(250, 0, 450, 24), RectIn(&b, top));  // at its place in the same row
    EXPECT_EQ(30, RectIn(&pane, frame).top);             // one row: as thick as its thickest bar
    EXPECT_EQ(0, top->GetDockedRow(1));

    struct Case {
        const char* name;
        CPoint place;
        CRect expectA, expectC;
        int paneTop;
    } cases[] = {
        {"a place taken: after the bar before it", CPoint(100, 5), CRect(0, 0, 200, 30), CRect(200, 0, 400, 30), 30},
        {"below the row: a new row, alone", CPoint(40, 35), CRect(0, 0, 200, 30), CRect(0, 30, edge, 60), 60},
        {"above the rows: a new first row", CPoint(0, -10), CRect(0, 30, 200, 60), CRect(0, 0, edge, 30), 60},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CRect place = at(k.place.x, k.place.y);
        frame->DockControlBar(&c, AFX_IDW_DOCKBAR_TOP, &place);
        EXPECT_EQ(k.expectA, RectIn(&a, top));
        EXPECT_EQ(k.expectC, RectIn(&c, top));
        EXPECT_EQ(k.paneTop, RectIn(&pane, frame).top);
        frame->FloatControlBar(&c, CPoint(300, 300)); // out of the dock bar again
        EXPECT_EQ(30, RectIn(&pane, frame).top);
    }
    // A bar left alone in its row stretches again.
    frame->FloatControlBar(&b, CPoint(300, 300));
    EXPECT_EQ(edge, RectIn(&a, top).Width());

    // Columns on the left, the same way.
    CRect left = CRect(0, 0, 20, 100);
    frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT)->ClientToScreen(&left);
    frame->DockControlBar(&b, AFX_IDW_DOCKBAR_LEFT);
    left.OffsetRect(0, 150);
    frame->DockControlBar(&c, AFX_IDW_DOCKBAR_LEFT, &left);
    CDockBar* side = frame->GetDockBar(AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(CRect(0, 0, 24, 200), RectIn(&b, side));
    EXPECT_EQ(CRect(0, 200, 30, 400), RectIn(&c, side)); // after b: its place was taken
    EXPECT_EQ(30, RectIn(&pane, frame).left);
    frame->DestroyWindow();
}

namespace {

// Records the tracking rectangles a drag draws.
class CRecordingDockContext : public CDockContext
{
public:
    using CDockContext::CDockContext;
    std::vector<std::pair<CRect, BOOL>> drawn;

protected:
    void DrawTracker(const CRect& rect, BOOL floating) override { drawn.emplace_back(rect, floating); }
};

// A shown frame with a pane and one bar docked at an edge, whose dock context
// records the tracking rectangles.
struct DraggableBar {
    TestFrame* frame = new TestFrame(true);
    CStatic pane;
    CColourBar bar;
    CRecordingDockContext* context = nullptr;

    DraggableBar(COLORREF colour, UINT id, UINT dockBar) : bar(colour, 30)
    {
        EXPECT_TRUE(pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        EXPECT_TRUE(bar.Make(frame, id, dockBar == AFX_IDW_DOCKBAR_LEFT ? CBRS_LEFT : CBRS_TOP));
        bar.EnableDocking(CBRS_ALIGN_ANY);
        delete bar.m_pDockContext;
        context = new CRecordingDockContext(&bar);
        bar.m_pDockContext = context;
        frame->DockControlBar(&bar, dockBar);
    }
    ~DraggableBar()
    {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    DraggableBar(const DraggableBar&) = delete;
    DraggableBar& operator=(const DraggableBar&) = delete;
};

} // namespace

TEST(Docking, DraggingABarShowsWhereItGoesAndPassesAQuitOn)
{
    DraggableBar fixture(RGB(200, 0, 0), 921, AFX_IDW_DOCKBAR_TOP);
    TestFrame* frame = fixture.frame;
    CColourBar& bar = fixture.bar;
    CRecordingDockContext* context = fixture.context;
    CRect barRect;
    bar.GetWindowRect(&barRect);
    CPoint start(barRect.left + 5, barRect.top + 5);
    // The drag loop reads the mouse from its messages: a move, then the
    // button going up at the same place, in the middle of the frame.
    auto drag = [&](CPoint by) {
        CPoint to = CPoint(5, 5) + by;
        bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        context->drawn.clear();
        context->StartDrag(start);
    };
    drag(CPoint(60, 120));
    CRect expected(barRect);
    expected.OffsetRect(60, 120);
    ASSERT_EQ(2u, context->drawn.size()); // drawn, then taken away
    EXPECT_EQ(expected, context->drawn[0].first);
    EXPECT_TRUE(context->drawn[0].second); // thick: the bar will float
    EXPECT_EQ(context->drawn[0], context->drawn[1]);
    ASSERT_TRUE(bar.IsFloating());
    CWnd* mini = bar.m_pDockBar->GetParent();
    CRect miniRect;
    mini->GetWindowRect(&miniRect);
    EXPECT_EQ(expected.TopLeft(), miniRect.TopLeft()); // where the rectangle was
    EXPECT_STREQ(L"色条", mini->GetWindowText());
    CaptureWindow(mini).SaveBmp(L"floating_bar.bmp");

    // Back onto the bottom edge: a thin rectangle, and the bar docks there.
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    bar.GetWindowRect(&barRect);
    start = CPoint(barRect.left + 5, barRect.top + 5);
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    drag(CPoint(10, client.bottom - 3 - start.y));
    ASSERT_FALSE(context->drawn.empty());
    EXPECT_FALSE(context->drawn.back().second);
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bar.m_hWnd)));

    // A quit that arrives during a drag ends it and is posted again.
    ::PostQuitMessage(7);
    context->drawn.clear();
    context->StartDrag(start);
    EXPECT_TRUE(context->drawn.empty());
    EXPECT_FALSE(bar.IsFloating());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

// A floating bar's caption is the bar's handle: a double-click docks the bar
// where it was docked, a drag over a frame edge shows a thin rectangle and
// docks it there, a drag elsewhere moves the floating bar.
TEST(Docking, AFloatingBarIsDockedAgainFromItsCaption)
{
    DraggableBar fixture(RGB(0, 160, 0), 922, AFX_IDW_DOCKBAR_LEFT);
    TestFrame* frame = fixture.frame;
    CColourBar& bar = fixture.bar;
    CRecordingDockContext* context = fixture.context;
    auto caption = [&](CWnd* mini) {
        CRect rect;
        mini->GetWindowRect(&rect);
        return CPoint(rect.left + 20, rect.top + 5);
    };

    // A double-click on the caption: back on the left edge.
    frame->FloatControlBar(&bar, CPoint(300, 300));
    ASSERT_TRUE(bar.IsFloating());
    CWnd* mini = bar.m_pDockBar->GetParent();
    const HWND miniWindow = mini->m_hWnd;
    ASSERT_EQ(HTCAPTION, static_cast<int>(mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(caption(mini).x, caption(mini).y))));
    mini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption(mini).x, caption(mini).y));
    PumpUntilIdle();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, ::GetDlgCtrlID(::GetParent(bar.m_hWnd)));
    EXPECT_FALSE(::IsWindow(miniWindow));
    EXPECT_TRUE(bar.IsWindowVisible());

    // Dragged by the caption: elsewhere it floats there, over the bottom
    // edge a thin rectangle shows and it docks there.
    frame->FloatControlBar(&bar, CPoint(300, 300));
    mini = bar.m_pDockBar->GetParent();
    CRect miniRect;
    mini->GetWindowRect(&miniRect);
    auto drag = [&](CPoint from, CPoint to) {
        CPoint client = to;
        bar.ScreenToClient(&client);
        bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        context->drawn.clear();
        mini->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(from.x, from.y));
    };
    const CPoint from = caption(mini);
    drag(from, from + CPoint(40, 30));
    ASSERT_FALSE(context->drawn.empty());
    EXPECT_TRUE(context->drawn[0].second); // thick: it stays floating
    CRect moved = miniRect;
    moved.OffsetRect(40, 30);
    EXPECT_EQ(moved, context->drawn[0].first); // the mini frame's rectangle
    ASSERT_TRUE(bar.IsFloating());
    CRect now;
    bar.m_pDockBar->GetParent()->GetWindowRect(&now);
    EXPECT_EQ(moved.TopLeft(), now.TopLeft());

    mini = bar.m_pDockBar->GetParent();
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    const CPoint grip = caption(mini);
    drag(grip, CPoint(client.left + 100, client.bottom - 3));
    ASSERT_FALSE(context->drawn.empty());
    EXPECT_FALSE(context->drawn.back().second); // thin: it docks
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bar.m_hWnd)));
}

namespace {

// A sizable bar answering the layout modes as the docking bars do: a
// committed length is its floating width, checked before a length along y.
class CSizableBar : public CColourBar
{
public:
    CSize floatSize{150, 90};
    std::vector<DWORD> modes;
    CSizableBar() : CColourBar(RGB(0, 0, 200), 30) {}
    CSize CalcDynamicLayout(int length, DWORD mode) override
    {
        modes.push_back(mode);
        if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
            EXPECT_EQ(-1, length);
            return CControlBar::CalcDynamicLayout(length, mode);
        }
        if (mode & LM_MRUWIDTH) return floatSize;
        if (mode & LM_COMMIT) {
            floatSize.cx = length;
            return floatSize;
        }
        if (mode & LM_LENGTHY) {
            floatSize.cy = std::max<LONG>(50, length);
            return floatSize;
        }
        return CSize(std::max(80, length), floatSize.cy);
    }
};

} // namespace

TEST(Docking, SizableBarsGetTheLayoutModesDockedAndFloatingAndKeepAResizedFloatingSize)
{
    auto* frame = new TestFrame(true);
    CStatic pane;
    ASSERT_TRUE(pane.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CSizableBar bar;
    ASSERT_TRUE(bar.Make(frame, 903, CBRS_LEFT));
    bar.m_dwStyle |= CBRS_SIZE_DYNAMIC;
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    ASSERT_FALSE(bar.modes.empty());
    for (DWORD mode : bar.modes) {
        EXPECT_NE(0u, mode & LM_VERTDOCK) << mode; // docked on the left: vertical, never floating modes
        EXPECT_EQ(0u, mode & (LM_HORZ | LM_HORZDOCK | LM_MRUWIDTH | LM_COMMIT | LM_LENGTHY)) << mode;
    }
    EXPECT_EQ(30, RectIn(&pane, frame).left);

    bar.modes.clear();
    bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(bar.IsFloating());
    CWnd* mini = CWnd::FromHandle(::GetParent(::GetParent(bar.m_hWnd)));
    EXPECT_NE(bar.modes.end(), std::find(bar.modes.begin(), bar.modes.end(), DWORD(LM_HORZ | LM_MRUWIDTH)));
    EXPECT_EQ(CSize(150, 90), RectIn(&bar, mini).Size());

    // The user sizes the mini frame: the new client size becomes the bar's
    // floating size, width and height each in their own place.
    CRect wanted(0, 0, 220, 130);
    ::AdjustWindowRectEx(&wanted, mini->GetStyle(), FALSE, mini->GetExStyle());
    mini->SetWindowPos(nullptr, 0, 0, wanted.Width(), wanted.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect client;
    mini->GetClientRect(&client);
    EXPECT_EQ(client.Size(), bar.floatSize);
    EXPECT_EQ(client.Size(), RectIn(&bar, mini).Size());
    frame->DestroyWindow();
}

TEST(Docking, ADockedToolBarsButtonsTakeClicksAndItsGapsMoveIt)
{
    auto* frame = new CCommandFrame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CToolBar tools;
    ASSERT_TRUE(tools.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER));
    const UINT buttons[] = {ID_OPEN, ID_SEPARATOR, ID_SAVE};
    ASSERT_TRUE(tools.SetButtons(buttons, 3));
    tools.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&tools);
    PumpUntilIdle();
    CRect open, gap;
    tools.GetItemRect(0, &open);
    tools.GetItemRect(1, &gap);
    auto post = [&](UINT message, CPoint p) { tools.PostMessage(message, 0, MAKELPARAM(p.x, p.y)); };

    // A click on a button (and a quick second one, a double click) is the
    // button's: its command goes out and the bar stays where it is.
    post(WM_LBUTTONDOWN, open.CenterPoint());
    post(WM_LBUTTONUP, open.CenterPoint());
    PumpUntilIdle();
    EXPECT_EQ(1, frame->opened);
    post(WM_LBUTTONDBLCLK, open.CenterPoint());
    post(WM_LBUTTONUP, open.CenterPoint());
    PumpUntilIdle();
    EXPECT_EQ(2, frame->opened);
    EXPECT_FALSE(tools.IsFloating());

    // A double click between the buttons floats the bar.
    tools.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(gap.CenterPoint().x, gap.CenterPoint().y));
    EXPECT_TRUE(tools.IsFloating());
    EXPECT_EQ(2, frame->opened);
    frame->DestroyWindow();
}

// ---------------------------------------------------------------------------

TEST(Profile, SettingsLiveUnderTheRegistryKeyOfTheApplication)
{
    CWinApp app(L"窗口测试");
    CString key;
    key.Format(L"TavixTests%lu", ::GetCurrentProcessId());
    app.SetRegistryKey(key);
    EXPECT_STREQ(L"默认", app.GetProfileString(L"最近", L"文件1", L"默认"));
    EXPECT_EQ(5u, app.GetProfileInt(L"窗口", L"宽度", 5));
    EXPECT_TRUE(app.WriteProfileString(L"最近", L"文件1", L"D:\\项目\\甲.epj"));
    EXPECT_TRUE(app.WriteProfileInt(L"窗口", L"宽度", -640));
    EXPECT_STREQ(L"D:\\项目\\甲.epj", app.GetProfileString(L"最近", L"文件1"));
    EXPECT_EQ(static_cast<UINT>(-640), app.GetProfileInt(L"窗口", L"宽度", 5));

    CString path;
    path.Format(L"Software\\%s\\窗口测试\\最近", static_cast<const wchar_t*>(key));
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, path, L"文件1", RRF_RT_REG_SZ, nullptr, value, &size));
    EXPECT_STREQ(L"D:\\项目\\甲.epj", value);

    EXPECT_TRUE(app.WriteProfileString(L"最近", L"文件1", nullptr)); // removes the entry
    EXPECT_STREQ(L"", app.GetProfileString(L"最近", L"文件1"));
    CString root = L"Software\\" + key;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root);
}
