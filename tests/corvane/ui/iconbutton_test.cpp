// The icon button: owner-drawn style, icons from the library's resources,
// drawing of its states, hot tracking with the capture, double clicks and
// the tool tip.
#include "corvane/ui/IconButton.h"
#include "corvane/CorvaneResource.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

using namespace wintest;

namespace {

// Colours of the library's folder icons (corvane/res/make_button_icons.py).
const COLORREF kAmber = RGB(214, 160, 40);  // normal icon's folder
const COLORREF kOrange = RGB(250, 140, 20); // pointer-over icon's folder
const COLORREF kPink = RGB(250, 200, 210);  // inactive background of the tests
const COLORREF kMint = RGB(190, 240, 200);  // active background of the tests

const UINT kButtonId = 401;

// A child window that counts the clicks of its buttons.
class ClickHost : public CWnd
{
public:
    int clicks = 0;
    BOOL Make(CWnd* parent, const CRect& rect)
    {
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), L"host",
                        WS_CHILD | WS_VISIBLE, rect, parent, 400);
    }

protected:
    void OnClicked(UINT) { ++clicks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ClickHost, CWnd)
    ON_CONTROL_RANGE(BN_CLICKED, 1, 0xFFFF, OnClicked)
END_MESSAGE_MAP()

class IconButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new TestFrame;
        ASSERT_TRUE(host.Make(frame, CRect(0, 0, 400, 300)));
    }
    void TearDown() override { frame->DestroyWindow(); }

    // A button of the given size made through Create.
    void Make(tkxIconButton& button, const wchar_t* caption, int width = 80, int height = 40,
              DWORD style = BS_PUSHBUTTON)
    {
        ASSERT_TRUE(button.Create(caption, WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 10 + width, 10 + height),
                                  &host, kButtonId));
    }

    // The button drawn in the given item state into a fresh bitmap.
    static Image Render(tkxIconButton& button, UINT state)
    {
        CRect client;
        button.GetClientRect(&client);
        return RenderPaint(client.Width(), client.Height(), [&](CDC& dc) {
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_BUTTON;
            dis.CtlID = kButtonId;
            dis.itemAction = ODA_DRAWENTIRE;
            dis.itemState = state;
            dis.hwndItem = button.m_hWnd;
            dis.hDC = dc.m_hDC;
            dis.rcItem = client;
            button.DrawItem(&dis);
        });
    }

    TestFrame* frame = nullptr;
    ClickHost host;
};

} // namespace

TEST_F(IconButtonTest, SubclassedAndCreatedButtonsAreOwnerDrawnAndKnowTheDefault)
{
    struct Case {
        DWORD style;
        bool isDefault;
    } cases[] = {{BS_PUSHBUTTON, false}, {BS_DEFPUSHBUTTON, true}};
    for (const Case& c : cases) {
        HWND plain = ::CreateWindowExW(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | c.style, 0, 0, 60, 20, host.m_hWnd,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kButtonId + 1)), nullptr, nullptr);
        tkxIconButton subclassed;
        ASSERT_TRUE(subclassed.SubclassDlgItem(kButtonId + 1, &host));
        EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), subclassed.GetButtonStyle() & 0x0F) << c.style;
        EXPECT_EQ(c.isDefault, subclassed.GetDefault() != FALSE) << c.style;
        subclassed.DestroyWindow();
        EXPECT_FALSE(::IsWindow(plain));

        tkxIconButton created;
        Make(created, L"按钮", 60, 20, c.style);
        EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), created.GetButtonStyle() & 0x0F) << c.style;
        EXPECT_EQ(c.isDefault, created.GetDefault() != FALSE) << c.style;
    }
}

TEST_F(IconButtonTest, LibraryIconsShowTheNormalAndThePointerOverPicture)
{
    tkxIconButton button;
    Make(button, L"");
    MessageBoxScript boxes;
    button.SetIcon(IDI_FOLDER_OPEN_HOT, IDI_FOLDER_OPEN);
    EXPECT_TRUE(boxes.Shown().empty());
    button.SetInactiveBgColor(kPink);
    button.SetActiveBgColor(kMint);

    Image normal = Render(button, 0);
    Image pressed = Render(button, ODS_SELECTED);
    normal.SaveBmp(L"iconbutton_normal.bmp");
    pressed.SaveBmp(L"iconbutton_pressed.bmp");
    const CRect all(0, 0, 80, 40);
    EXPECT_GT(normal.Count(all, kAmber), 20);
    EXPECT_EQ(0, normal.Count(all, kOrange));
    EXPECT_GT(normal.Count(all, kPink), 1000);
    EXPECT_EQ(0, pressed.Count(all, kAmber));
    EXPECT_GT(pressed.Count(all, kOrange), 20);
    EXPECT_GT(pressed.Count(all, kMint), 1000);

    // Without a caption the 16 x 16 icon sits in the middle; pressed moves it
    // one pixel right and down.
    EXPECT_EQ(normal.Count(CRect(32, 12, 48, 28), kAmber), normal.Count(all, kAmber));
    EXPECT_EQ(pressed.Count(CRect(33, 13, 49, 29), kOrange), pressed.Count(all, kOrange));

    // No "out" icon: the same picture in every state.
    button.SetIcon(IDI_FOLDER_OPEN_HOT, 0);
    EXPECT_GT(Render(button, 0).Count(all, kOrange), 20);
    EXPECT_GT(Render(button, ODS_SELECTED).Count(all, kOrange), 20);

    // Disabled: the icon is drawn greyed, none of its colours remain.
    EXPECT_EQ(0, Render(button, ODS_DISABLED).Count(all, kOrange));
}

TEST_F(IconButtonTest, AnIconNoModuleHoldsIsReportedAndNothingIsDrawn)
{
    tkxIconButton button;
    Make(button, L"");
    button.SetIcon(IDI_FOLDER_OPEN, 0);
    MessageBoxScript boxes;
    button.SetIcon(31999, 0);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"获取程序资源数据失败!"), boxes.Shown()[0].text);
    button.SetInactiveBgColor(kPink);
    Image image = Render(button, 0);
    EXPECT_EQ(0, image.Count(CRect(0, 0, 80, 40), kAmber));
}

TEST_F(IconButtonTest, IconPlacementFollowsTheAlignment)
{
    tkxIconButton button;
    Make(button, L"确定", 120, 60);
    button.SetIcon(IDI_FOLDER_OPEN, 0);
    struct Case {
        int align;
        CRect iconArea; // where all of the icon's amber must be
    } cases[] = {
        {tkxIconButton::ST_ALIGN_HORIZ, CRect(3, 22, 19, 38)},        // 3 px in from the left, centred vertically
        {tkxIconButton::ST_ALIGN_VERT, CRect(52, 0, 68, 16)},         // centred horizontally, at the top
        {tkxIconButton::ST_ALIGN_HORIZ_RIGHT, CRect(101, 22, 117, 38)}, // client width - 16 - 3
    };
    for (const Case& c : cases) {
        button.SetAlign(c.align);
        Image image = Render(button, 0);
        image.SaveBmp(ClFormat(L"iconbutton_align%d.bmp", c.align));
        const int amber = image.Count(CRect(0, 0, 120, 60), kAmber);
        EXPECT_GT(amber, 20) << c.align;
        EXPECT_EQ(amber, image.Count(c.iconArea, kAmber)) << c.align;
    }
    // An unknown alignment keeps the previous one.
    button.SetAlign(3);
    EXPECT_EQ(tkxIconButton::ST_ALIGN_HORIZ_RIGHT, button.GetAlign());
}

TEST_F(IconButtonTest, BordersAndFramesOfTheStates)
{
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF black = RGB(0, 0, 0);

    struct Case {
        const char* name;
        BOOL flat;
        BOOL isDefault;
        UINT state;
        COLORREF corner; // pixel (0, 0)
        COLORREF inner;  // pixel (1, 1)
        COLORREF middle; // the background
    } cases[] = {
        {"flat, normal: no border", TRUE, FALSE, 0, kPink, kPink, kPink},
        {"flat, pressed: sunken frame", TRUE, FALSE, ODS_SELECTED, shadow, kMint, kMint},
        {"raised, normal: highlight top-left", FALSE, FALSE, 0, highlight, ::GetSysColor(COLOR_3DLIGHT), kPink},
        {"raised, focused: black frame", FALSE, FALSE, ODS_FOCUS, black, highlight, kPink},
        {"raised default, not focused: black frame", FALSE, TRUE, 0, black, highlight, kPink},
        {"raised, pressed: shadow frame", FALSE, FALSE, ODS_SELECTED, shadow, kMint, kMint},
    };
    for (const Case& c : cases) {
        tkxIconButton b;
        Make(b, L"", 60, 30, c.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        b.SetFlat(c.flat);
        b.SetInactiveBgColor(kPink);
        b.SetActiveBgColor(kMint);
        Image image = Render(b, c.state);
        EXPECT_EQ(c.corner, image.At(0, 0)) << c.name;
        EXPECT_EQ(c.inner, image.At(1, 1)) << c.name;
        EXPECT_EQ(c.middle, image.At(30, 15)) << c.name;
    }
}

TEST_F(IconButtonTest, ADoubleClickCountsAsTwoClicks)
{
    tkxIconButton button;
    Make(button, L"按钮");
    const LPARAM at = MAKELPARAM(20, 20);
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    button.SendMessage(WM_LBUTTONUP, 0, at);
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    button.SendMessage(WM_LBUTTONUP, 0, at);
    PumpUntilIdle();
    EXPECT_EQ(2, host.clicks);
}

TEST_F(IconButtonTest, ToolTipHasOneToolOverTheButton)
{
    tkxIconButton button;
    Make(button, L"按钮");
    button.SetTooltipText(static_cast<CString*>(nullptr));
    EXPECT_EQ(nullptr, button.GetToolTip());
    button.SetTooltipText(31999); // no such string: nothing happens
    EXPECT_EQ(nullptr, button.GetToolTip());

    CString first(L"打开当前道路文件夹.");
    button.SetTooltipText(&first);
    CToolTipCtrl* tip = button.GetToolTip();
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(1, tip->GetToolCount());
    EXPECT_EQ(first, tip->GetText(&button, 1));

    CString second(L"打开当前项目文件夹.");
    button.SetTooltipText(&second, FALSE);
    EXPECT_EQ(1, tip->GetToolCount());
    EXPECT_EQ(second, tip->GetText(&button, 1));

    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = button.m_hWnd;
    info.uId = 1;
    ASSERT_TRUE(tip->SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(CRect(0, 0, 80, 40), CRect(info.rect));
}

TEST_F(IconButtonTest, ToolTipIsMadeOnTheFirstMessageThroughTheLoop)
{
    tkxIconButton button;
    Make(button, L"按钮");
    EXPECT_EQ(nullptr, button.GetToolTip());
    button.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PumpUntilIdle();
    ASSERT_NE(nullptr, button.GetToolTip());
    EXPECT_EQ(0, button.GetToolTip()->GetToolCount());
}

// Hot tracking needs a window on the screen: the window under the pointer
// decides whether the pointer left the button.
TEST(IconButtonOnScreen, FlatButtonTracksThePointerWithTheCapture)
{
    auto* frame = new TestFrame(true, CRect(50, 50, 350, 250));
    ClickHost host;
    ASSERT_TRUE(host.Make(frame, CRect(0, 0, 300, 200)));
    tkxIconButton button;
    ASSERT_TRUE(button.Create(L"道路", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 60), &host, kButtonId));
    button.SetIcon(IDI_FOLDER_OPEN_HOT, IDI_FOLDER_OPEN);
    button.SetInactiveBgColor(kPink);
    button.SetActiveBgColor(kMint);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"other", WS_CHILD | WS_VISIBLE, CRect(150, 20, 250, 60),
                               &host, 402));
    frame->SetActiveWindow();
    PumpUntilIdle();
    ASSERT_NE(nullptr, ::GetActiveWindow());

    // Another window holds the capture: the button does not take it.
    other.SetCapture();
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(button.IsHot());
    EXPECT_EQ(other.m_hWnd, ::GetCapture());
    ::ReleaseCapture();

    // The pointer enters: hot, with the capture.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_TRUE(button.IsHot());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    // Moving inside changes nothing.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
    EXPECT_TRUE(button.IsHot());
    EXPECT_EQ(button.m_hWnd, ::GetCapture());
    PumpUntilIdle();
    Image hot = CaptureWindow(&host, true);
    hot.SaveBmp(L"iconbutton_hot.bmp");
    EXPECT_GT(hot.Count(CRect(20, 20, 120, 60), kOrange), 20);
    EXPECT_GT(hot.Count(CRect(20, 20, 120, 60), kMint), 1000);

    // The pointer leaves (over the other window): normal again, capture
    // released.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(160, 10));
    EXPECT_FALSE(button.IsHot());
    EXPECT_EQ(nullptr, ::GetCapture());
    PumpUntilIdle();
    Image normal = CaptureWindow(&host, true);
    normal.SaveBmp(L"iconbutton_left.bmp");
    EXPECT_EQ(0, normal.Count(CRect(20, 20, 120, 60), kOrange));
    EXPECT_GT(normal.Count(CRect(20, 20, 120, 60), kAmber), 20);

    // Losing the focus ends the hot state too.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(button.IsHot());
    button.SendMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(button.IsHot());
    ::ReleaseCapture();

    // A button that is not flat never tracks.
    button.SetFlat(FALSE);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(button.IsHot());
    EXPECT_EQ(nullptr, ::GetCapture());

    // Colour setters repaint only when asked with exactly 1; an unknown
    // alignment is ignored but still repaints.
    auto invalidated = [&] { return ::GetUpdateRect(button.m_hWnd, nullptr, FALSE) != FALSE; };
    for (BOOL repaint : {0, 2, 1}) {
        PumpUntilIdle();
        button.SetActiveFgColor(RGB(1, 2, 3), repaint);
        EXPECT_EQ(repaint == 1, invalidated()) << repaint;
    }
    PumpUntilIdle();
    button.SetDefaultInactiveBgColor(1);
    EXPECT_TRUE(invalidated());
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), button.GetInactiveBgColor());
    PumpUntilIdle();
    button.SetAlign(7);
    EXPECT_TRUE(invalidated());
    EXPECT_EQ(tkxIconButton::ST_ALIGN_HORIZ, button.GetAlign());
    frame->DestroyWindow();
}
