// Resizable dialogs: the frame made resizable, the opening size as the
// minimum, anchored children, the erasing around children, the size grip and
// the placement text.
#include "brisko/shell/ResizableDialog.h"
#include "shared_test_resource.h"
#include "shared_world.h"
#include <commctrl.h>
#include <functional>
#include <map>

using namespace wintest;
using namespace test_support;

namespace {

class TestResizable : public CResizableDialog
{
public:
    TestResizable() : CResizableDialog(IDD_TEST_RESIZE) {}

    std::map<int, CRect> initial;
    CRect initialWindow;
    std::function<void(TestResizable&)> extra;

    BOOL OnInitDialog() override
    {
        CResizableDialog::OnInitDialog();
        for (int id : {IDC_RS_LIST, IDC_RS_GROUP, IDC_RS_INNER, IDC_RS_TEXT, IDC_RS_LINE, IDC_RS_FIXED, IDOK, IDCANCEL})
            initial[id] = Rect(id);
        GetWindowRect(&initialWindow);
        AnchorChild(IDC_RS_LIST, 0, 0, 100, 100);
        AnchorChild(IDC_RS_LINE, 0, 100, 100, 100);
        AnchorChild(IDC_RS_GROUP, 100, 0);
        AnchorChild(IDC_RS_INNER, 100, 0);
        AnchorChild(IDC_RS_TEXT, 100, 0);
        AnchorChild(IDOK, 100, 100);
        AnchorChild(::GetDlgItem(m_hWnd, IDCANCEL), 100, 100, NO_ANCHOR, NO_ANCHOR);
        AnchorChild(static_cast<HWND>(nullptr), 0, 0, 100, 100); // ignored
        if (extra) extra(*this);
        return TRUE;
    }

    CRect Rect(int id) const { return wintest::ChildRect(this, id); }
    void Grow(int dx, int dy) { wintest::GrowWindow(this, dx, dy); }
    CSize WindowSize() const
    {
        CRect window;
        GetWindowRect(&window);
        return window.Size();
    }
};

// Modeless and hidden (a shown window is slow to close here).
struct Resizable {
    TestResizable dialog;
    bool created;
    explicit Resizable(std::function<void(TestResizable&)> extra = nullptr)
    {
        dialog.extra = std::move(extra);
        created = dialog.Create(IDD_TEST_RESIZE) != FALSE;
    }
    ~Resizable()
    {
        if (dialog.m_hWnd) dialog.DestroyWindow();
    }
    TestResizable* operator->() { return &dialog; }
};

} // namespace

TEST(ResizableDialog, ASizingFrameAroundTheSameClientArea)
{
    CDialog plain;
    ASSERT_TRUE(plain.Create(IDD_TEST_RESIZE));
    CRect plainClient;
    plain.GetClientRect(&plainClient);
    plain.DestroyWindow();

    Resizable d;
    ASSERT_TRUE(d.created);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(d->m_hWnd, GWL_STYLE));
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & DS_MODALFRAME);
    CRect client;
    d->GetClientRect(&client);
    EXPECT_EQ(plainClient.Size(), client.Size());
}

TEST(ResizableDialog, NeverSmallerThanItOpened)
{
    Resizable d;
    ASSERT_TRUE(d.created);
    const CSize opened = d->WindowSize();
    MINMAXINFO info{};
    info.ptMinTrackSize = CPoint(1, 1);
    info.ptMaxTrackSize = CPoint(5000, 5000);
    d->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(opened.cx, info.ptMinTrackSize.x);
    EXPECT_EQ(opened.cy, info.ptMinTrackSize.y);
    EXPECT_EQ(5000, info.ptMaxTrackSize.x) << "no maximum unless one is set";

    d->Grow(-60, -30);
    EXPECT_EQ(opened, d->WindowSize());
    d->Grow(60, 30);
    EXPECT_EQ(CSize(opened.cx + 60, opened.cy + 30), d->WindowSize());
}

TEST(ResizableDialog, ChildrenFollowTheirAnchors)
{
    Resizable d;
    ASSERT_TRUE(d.created);
    EXPECT_EQ(7, d->GetAnchorCount()) << "the null child is not anchored";
    const struct {
        int id;
        int dl, dt, dr, db; // edge moves when the dialog grows by 80 x 40
    } follow[] = {
        {IDC_RS_LIST, 0, 0, 80, 40},  {IDC_RS_LINE, 0, 40, 80, 40}, {IDC_RS_GROUP, 80, 0, 80, 0},
        {IDC_RS_INNER, 80, 0, 80, 0}, {IDC_RS_TEXT, 80, 0, 80, 0},  {IDOK, 80, 40, 80, 40},
        {IDCANCEL, 80, 40, 80, 40},   {IDC_RS_FIXED, 0, 0, 0, 0},
    };
    d->Grow(80, 40);
    for (const auto& f : follow) {
        const CRect& r = d->initial[f.id];
        EXPECT_EQ(CRect(r.left + f.dl, r.top + f.dt, r.right + f.dr, r.bottom + f.db), d->Rect(f.id)) << f.id;
    }
    for (int i = 0; i < 3; ++i) {
        d->Grow(33, 17);
        d->Grow(-33, -17);
    }
    d->Grow(-80, -40);
    for (const auto& [id, rect] : d->initial) EXPECT_EQ(rect, d->Rect(id)) << id;
}

TEST(ResizableDialog, ErasesAroundChildrenThatPaintThemselves)
{
    Resizable d;
    ASSERT_TRUE(d.created);
    HWND group = ::GetDlgItem(d->m_hWnd, IDC_RS_GROUP);
    EXPECT_TRUE(::GetWindowLongPtrW(group, GWL_STYLE) & WS_CLIPSIBLINGS);

    CRgn region;
    d->GetClippingRegion(&region);
    const auto centre = [&](int id) { return d->Rect(id).CenterPoint(); };
    const CRect groupRect = d->Rect(IDC_RS_GROUP);
    EXPECT_TRUE(region.PtInRegion(CPoint(groupRect.left + 3, groupRect.bottom - 4))) << "the group box's ground";
    EXPECT_FALSE(region.PtInRegion(centre(IDC_RS_INNER))) << "a button inside the group box";
    EXPECT_TRUE(region.PtInRegion(centre(IDC_RS_TEXT))) << "text leaves its ground to the dialog";
    EXPECT_FALSE(region.PtInRegion(centre(IDC_RS_LIST)));
    EXPECT_FALSE(region.PtInRegion(centre(IDOK)));
    EXPECT_TRUE(region.PtInRegion(centre(IDC_RS_FIXED))) << "not anchored: erased";

    // A hidden child leaves its place to the dialog.
    ::ShowWindow(::GetDlgItem(d->m_hWnd, IDC_RS_INNER), SW_HIDE);
    d->GetClippingRegion(&region);
    EXPECT_TRUE(region.PtInRegion(centre(IDC_RS_INNER)));
}

TEST(ResizableDialog, WhichChildrenClipAndWhichNeedRepainting)
{
    Resizable d;
    ASSERT_TRUE(d.created);
    const struct {
        const wchar_t* cls;
        DWORD style;
        BOOL clips, refresh;
    } cases[] = {
        {L"Static", SS_LEFT, FALSE, TRUE},
        {L"Static", SS_CENTER, FALSE, TRUE},
        {L"Static", SS_RIGHT, FALSE, TRUE},
        {L"Static", SS_SIMPLE, FALSE, FALSE},
        {L"Static", SS_BLACKRECT, TRUE, FALSE},
        {L"Static", SS_GRAYRECT | SS_CENTERIMAGE, TRUE, TRUE},
        {L"Static", SS_WHITERECT, TRUE, FALSE},
        {L"Static", SS_BITMAP, TRUE, TRUE},
        {L"Static", SS_ETCHEDHORZ, TRUE, FALSE},
        {L"Static", SS_ETCHEDVERT | SS_CENTERIMAGE, TRUE, FALSE},
        {L"Static", SS_ENHMETAFILE, TRUE, TRUE},
        {L"Static", SS_ENHMETAFILE | SS_CENTERIMAGE, FALSE, TRUE},
        {L"Static", SS_BLACKFRAME, FALSE, FALSE},
        {L"Static", SS_ETCHEDFRAME | SS_CENTERIMAGE, FALSE, TRUE},
        {L"Button", BS_GROUPBOX, FALSE, FALSE},
        {L"Button", BS_PUSHBUTTON, TRUE, FALSE},
        {L"Edit", 0, TRUE, FALSE},
        {L"ListBox", 0, TRUE, FALSE},
        {TOOLBARCLASSNAMEW, TBSTYLE_TRANSPARENT | CCS_NORESIZE, FALSE, FALSE},
        {TOOLBARCLASSNAMEW, CCS_NORESIZE, TRUE, FALSE},
    };
    for (const auto& c : cases) {
        HWND child = ::CreateWindowExW(0, c.cls, L"", WS_CHILD | c.style, 0, 0, 20, 20, d->m_hWnd, nullptr, nullptr,
                                       nullptr);
        ASSERT_NE(nullptr, child) << Utf8(c.cls);
        EXPECT_EQ(c.clips, d->ChildCanClip(child)) << Utf8(c.cls) << " " << std::hex << c.style;
        EXPECT_EQ(c.refresh, d->ChildNeedsRefresh(child)) << Utf8(c.cls) << " " << std::hex << c.style;
        ::DestroyWindow(child);
    }
}

TEST(ResizableDialog, TheGripSitsInTheCornerAndSizesTheDialog)
{
    Resizable d;
    ASSERT_TRUE(d.created);
    CWnd& grip = d->m_wndGrip;
    ASSERT_TRUE(grip.GetSafeHwnd());
    EXPECT_TRUE(grip.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(grip.GetStyle() & SBS_SIZEGRIP);
    CRect client, rect;
    d->GetClientRect(&client);
    grip.GetWindowRect(&rect);
    d->ScreenToClient(&rect);
    EXPECT_EQ(CRect(client.right - d->m_nGripWidth, client.bottom - d->m_nGripHeight, client.right, client.bottom), rect);
    EXPECT_EQ(HTBOTTOMRIGHT, grip.SendMessage(WM_NCHITTEST, 0, 0));
    // Only the bottom-right triangle belongs to the grip.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(grip.GetSafeHwnd(), region));
    EXPECT_FALSE(::PtInRegion(region, 1, 1));
    EXPECT_TRUE(::PtInRegion(region, d->m_nGripWidth - 2, d->m_nGripHeight - 2));
    ::DeleteObject(region);

    // It follows the corner.
    d->Grow(50, 20);
    d->GetClientRect(&client);
    grip.GetWindowRect(&rect);
    d->ScreenToClient(&rect);
    EXPECT_EQ(client.BottomRight(), rect.BottomRight());
}

TEST(ResizableDialog, TheGripIsDisabledWhileMaximised)
{
    Resizable d;
    ASSERT_TRUE(d.created);
    d->ShowWindow(SW_MAXIMIZE);
    PumpUntilIdle();
    ASSERT_TRUE(d->IsZoomed());
    EXPECT_FALSE(d->m_wndGrip.IsWindowEnabled());
    d->ShowWindow(SW_RESTORE);
    PumpUntilIdle();
    EXPECT_TRUE(d->m_wndGrip.IsWindowEnabled());
    CaptureWindow(&d.dialog).SaveBmp(L"resizable.bmp");
}

TEST(ResizableDialog, PlacementTextWhenAsked)
{
    ScratchFolder folder(L"placement");
    const CString ini = folder / L"Brisko.ini";
    const wchar_t* savedProfile = theApp.m_pszProfileName;
    theApp.m_pszProfileName = ini;
    CRect window;
    {
        Resizable d([](TestResizable& dlg) {
            dlg.m_bSavePlacement = TRUE;
            dlg.m_bRectOnly = TRUE;
            dlg.m_SSection = L"TemplateEdit";
        });
        ASSERT_TRUE(d.created);
        d->Grow(30, 10);
        d->GetWindowRect(&window);
    }
    {
        Resizable quiet; // the flag is off: nothing is written
        quiet->m_SSection = L"Quiet";
    }
    theApp.m_pszProfileName = savedProfile;

    wchar_t text[128] = L"";
    ::GetPrivateProfileStringW(L"TemplateEdit", L"WindowPlacement", L"", text, 128, ini);
    EXPECT_EQ(ClFormat(L"%d,%d,%d,%d,1,0", window.left, window.top, window.right, window.bottom), CString(text));
    ::GetPrivateProfileStringW(L"Quiet", L"WindowPlacement", L"none", text, 128, ini);
    EXPECT_EQ(CString(L"none"), CString(text));
}
