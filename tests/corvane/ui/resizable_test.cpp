// The resizable dialog: controls following their anchors, the tracking
// limits, the size grip, and the placement kept in the application profile.
#include "corvane/ui/ResizableDialog.h"
#include "resizable_test_resource.h"
#include "ui_test_support.h"
#include <algorithm>
#include <functional>
#include <map>

using namespace wintest;
using namespace test_support;

namespace {

const int kAnchoredIds[] = {IDC_RZ_TITLE, IDC_RZ_LIST,   IDC_RZ_NOTE,    IDC_RZ_GROUP, IDC_RZ_CHECK,
                            IDC_RZ_LABEL, IDC_RZ_SIMPLE, IDC_RZ_PICTURE, IDOK,         IDCANCEL};

// The test template with its controls anchored as a real dialog does it:
// the base initialisation, then the anchors (and whatever else the test
// adds).  It remembers where every control stood at the template's size.
class AnchoredDialog : public tkxResizableDialog
{
public:
    AnchoredDialog() : tkxResizableDialog(IDD_TEST_RESIZABLE) {}

    std::function<void(AnchoredDialog&)> extra; // after the anchors
    std::map<int, CRect> initial;               // control rectangles at the template's size
    CRect initialWindow;

    static void StandardAnchors(AnchoredDialog& d)
    {
        d.AddAnchor(IDC_RZ_TITLE, AnchorTopCentre);
        d.AddAnchor(IDC_RZ_LIST, AnchorTopLeft, AnchorBottomRight);
        d.AddAnchor(IDC_RZ_NOTE, AnchorBottomLeft, AnchorBottomRight);
        d.AddAnchor(IDC_RZ_GROUP, AnchorTopRight);
        d.AddAnchor(::GetDlgItem(d.m_hWnd, IDC_RZ_CHECK), AnchorTopRight); // by handle
        d.AddAnchor(IDC_RZ_LABEL, AnchorMidRight);
        d.AddAnchor(IDC_RZ_SIMPLE, AnchorMidCentre, AnchorBottomRight);
        d.AddAnchor(IDC_RZ_PICTURE, AnchorBottomLeft);
        d.AddAnchor(IDOK, AnchorBottomRight);
        d.AddAnchor(IDCANCEL, AnchorBottomRight, AnchorNone);
    }

    BOOL OnInitDialog() override
    {
        tkxResizableDialog::OnInitDialog();
        for (int id : kAnchoredIds) initial[id] = Rect(id);
        initial[IDC_RZ_FIXED] = Rect(IDC_RZ_FIXED);
        GetWindowRect(&initialWindow);
        StandardAnchors(*this);
        if (extra) extra(*this);
        return TRUE;
    }

    CRect Rect(int id) const { return ChildRect(this, id); }
    // Grows (or shrinks) the window by the given amounts.
    void Grow(int dx, int dy) { GrowWindow(this, dx, dy); }
    MINMAXINFO AskLimits()
    {
        MINMAXINFO info{};
        info.ptMinTrackSize = CPoint(-1, -1);
        info.ptMaxTrackSize = CPoint(-2, -2);
        info.ptMaxPosition = CPoint(-3, -3);
        info.ptMaxSize = CPoint(-4, -4);
        SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    }
    LRESULT HitTest(CPoint client)
    {
        ClientToScreen(&client);
        return SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.x, client.y));
    }

    using tkxResizableDialog::m_arrLayout;
    using tkxResizableDialog::m_rcGrip;
    using tkxResizableDialog::m_szGripSize;
};

// A modeless, hidden dialog (a shown one costs seconds to close under Wine
// without a window manager).
struct ModelessDialog {
    AnchoredDialog dialog;
    explicit ModelessDialog(std::function<void(AnchoredDialog&)> extra = nullptr)
    {
        dialog.extra = std::move(extra);
        created = dialog.Create(IDD_TEST_RESIZABLE) != FALSE;
    }
    ~ModelessDialog()
    {
        if (dialog.m_hWnd) dialog.DestroyWindow();
    }
    AnchoredDialog* operator->() { return &dialog; }
    bool created;
};

CRect Shifted(const CRect& r, int dl, int dt, int dr, int db)
{
    return CRect(r.left + dl, r.top + dt, r.right + dr, r.bottom + db);
}

struct Follow {
    int id;
    int dl, dt, dr, db; // change of each edge when the dialog grows by 100 x 50
};

const Follow kFollowBy100x50[] = {
    {IDC_RZ_TITLE, 50, 0, 50, 0},      // top centre: half the width gain, same size
    {IDC_RZ_LIST, 0, 0, 100, 50},      // stretched both ways, every margin kept
    {IDC_RZ_NOTE, 0, 50, 100, 50},     // along the bottom, stretched across
    {IDC_RZ_GROUP, 100, 0, 100, 0},    // with the top-right corner
    {IDC_RZ_CHECK, 100, 0, 100, 0},    // anchored by handle
    {IDC_RZ_LABEL, 100, 25, 100, 25},  // middle of the right edge
    {IDC_RZ_SIMPLE, 50, 25, 100, 50},  // from the centre to the corner
    {IDC_RZ_PICTURE, 0, 50, 0, 50},    // bottom-left
    {IDOK, 100, 50, 100, 50},          // bottom-right, same size
    {IDCANCEL, 100, 50, 100, 50},      // AnchorNone given explicitly
    {IDC_RZ_FIXED, 0, 0, 0, 0},        // not anchored
};

void ExpectFollowed(AnchoredDialog& d, const char* when)
{
    SCOPED_TRACE(when);
    for (const Follow& f : kFollowBy100x50) {
        SCOPED_TRACE(f.id);
        EXPECT_EQ(Shifted(d.initial[f.id], f.dl, f.dt, f.dr, f.db), d.Rect(f.id));
    }
}

void ExpectAtTemplatePlaces(AnchoredDialog& d)
{
    for (auto& [id, rect] : d.initial) {
        SCOPED_TRACE(id);
        EXPECT_EQ(rect, d.Rect(id));
    }
}


} // namespace

TEST(ResizableDialog, ControlsFollowTheirAnchorsAndComeBackWithoutDrift)
{
    ModelessDialog d;
    ASSERT_TRUE(d.created);
    d->Grow(100, 50);
    ExpectFollowed(d.dialog, "grown by 100 x 50");

    d->Grow(-100, -50);
    ExpectAtTemplatePlaces(d.dialog);

    // Odd amounts round the centre anchors, yet nothing creeps.
    for (int i = 0; i < 3; ++i) {
        d->Grow(37, 23);
        d->Grow(-37, -23);
    }
    ExpectAtTemplatePlaces(d.dialog);

    HWND list = ::GetDlgItem(d->m_hWnd, IDC_RZ_LIST);
    for (const wchar_t* item : {L"K0+000 起点", L"K1+250 桥梁", L"K2+480 隧道"})
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    d->SetDlgItemText(IDC_RZ_NOTE, L"说明文字");
    d->Grow(100, 50);
    PumpUntilIdle();
    DialogImage(&d.dialog).SaveBmp(L"resizable_grown.bmp");
}

TEST(ResizableDialog, AnchoringMarksListsStaticsAndGroupBoxes)
{
    ModelessDialog d([](AnchoredDialog& dlg) { dlg.AddAnchor(IDC_RZ_MISSING, AnchorTopLeft, AnchorBottomRight); });
    ASSERT_TRUE(d.created);
    // The control the template lacks got no record.
    ASSERT_EQ(std::size(kAnchoredIds), d->m_arrLayout.size());

    struct Expect {
        int id;
        BOOL adjustScroll, refresh;
    } cases[] = {
        {IDC_RZ_LIST, TRUE, FALSE},     // list box: watches its horizontal scrolling
        {IDC_RZ_NOTE, FALSE, FALSE},    // edit
        {IDC_RZ_GROUP, FALSE, FALSE},   // group box
        {IDC_RZ_CHECK, FALSE, FALSE},   // check box
        {IDC_RZ_LABEL, FALSE, TRUE},    // left-aligned text: repainted after moves
        {IDC_RZ_TITLE, FALSE, TRUE},    // centred text
        {IDC_RZ_SIMPLE, FALSE, FALSE},  // simple text never
        {IDC_RZ_PICTURE, FALSE, TRUE},  // centred image
        {IDOK, FALSE, FALSE},           // push button
    };
    for (const Expect& c : cases) {
        SCOPED_TRACE(c.id);
        HWND wnd = ::GetDlgItem(d->m_hWnd, c.id);
        auto it = std::find_if(d->m_arrLayout.begin(), d->m_arrLayout.end(),
                               [&](const tkxResizableDialog::Layout& l) { return l.hWnd == wnd; });
        ASSERT_NE(d->m_arrLayout.end(), it);
        EXPECT_EQ(c.adjustScroll, it->bAdjustHScroll);
        EXPECT_EQ(c.refresh, it->bNeedRefresh);
    }
    // A list scrolled to its right end moves its text when it widens past
    // the end: it is marked for painting again.
    HWND list = ::GetDlgItem(d->m_hWnd, IDC_RZ_LIST);
    ::SendMessageW(list, LB_SETHORIZONTALEXTENT, 800, 0);
    auto& listLayout = *std::find_if(d->m_arrLayout.begin(), d->m_arrLayout.end(),
                                     [&](const tkxResizableDialog::Layout& l) { return l.hWnd == list; });
    d->Grow(100, 0);
    EXPECT_FALSE(listLayout.bNeedRefresh); // scrolled to the left end
    ::SendMessageW(list, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
    ASSERT_GT(::GetScrollPos(list, SB_HORZ), 0);
    d->Grow(100, 0);
    EXPECT_TRUE(listLayout.bNeedRefresh);
    d->Grow(-100, 0); // narrower: the text stays
    EXPECT_FALSE(listLayout.bNeedRefresh);

    // A group box draws under its neighbours, so it clips them out.
    EXPECT_NE(0u, ::GetWindowLongPtrW(::GetDlgItem(d->m_hWnd, IDC_RZ_GROUP), GWL_STYLE) & WS_CLIPSIBLINGS);
    EXPECT_EQ(0u, ::GetWindowLongPtrW(::GetDlgItem(d->m_hWnd, IDOK), GWL_STYLE) & WS_CLIPSIBLINGS);
}

TEST(ResizableDialog, AClosedControlDoesNotStopTheOthers)
{
    ModelessDialog d;
    ASSERT_TRUE(d.created);
    ::DestroyWindow(::GetDlgItem(d->m_hWnd, IDC_RZ_LIST));
    d->initial.erase(IDC_RZ_LIST);
    d->Grow(100, 50);
    for (const Follow& f : kFollowBy100x50) {
        if (f.id == IDC_RZ_LIST) continue;
        SCOPED_TRACE(f.id);
        EXPECT_EQ(Shifted(d->initial[f.id], f.dl, f.dt, f.dr, f.db), d->Rect(f.id));
    }
}

TEST(ResizableDialog, AnObjectShownAgainAnchorsOnlyItsNewControls)
{
    AnchoredDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_RESIZABLE));
    dialog.DestroyWindow();
    EXPECT_TRUE(dialog.m_arrLayout.empty());

    ASSERT_TRUE(dialog.Create(IDD_TEST_RESIZABLE));
    EXPECT_EQ(std::size(kAnchoredIds), dialog.m_arrLayout.size());
    dialog.Grow(100, 50);
    ExpectFollowed(dialog, "second window");
    dialog.DestroyWindow();
}

TEST(ResizableDialog, TrackingLimits)
{
    ModelessDialog d;
    ASSERT_TRUE(d.created);
    const CSize initialSize = d->initialWindow.Size();

    // By default the dialog cannot become smaller than after its
    // initialisation; nothing else is touched.
    MINMAXINFO info = d->AskLimits();
    EXPECT_EQ(CPoint(initialSize), CPoint(info.ptMinTrackSize));
    EXPECT_EQ(CPoint(-2, -2), CPoint(info.ptMaxTrackSize));
    EXPECT_EQ(CPoint(-3, -3), CPoint(info.ptMaxPosition));
    EXPECT_EQ(CPoint(-4, -4), CPoint(info.ptMaxSize));

    d->SetMinTrackSize(CSize(120, 90));
    d->SetMaxTrackSize(CSize(900, 700));
    d->SetMaximizedRect(CRect(30, 40, 630, 440));
    info = d->AskLimits();
    EXPECT_EQ(CPoint(120, 90), CPoint(info.ptMinTrackSize));
    EXPECT_EQ(CPoint(900, 700), CPoint(info.ptMaxTrackSize));
    EXPECT_EQ(CPoint(30, 40), CPoint(info.ptMaxPosition));
    EXPECT_EQ(CPoint(600, 400), CPoint(info.ptMaxSize));

    d->ResetMinTrackSize();
    d->ResetMaxTrackSize();
    d->ResetMaximizedRect();
    info = d->AskLimits();
    EXPECT_EQ(CPoint(-1, -1), CPoint(info.ptMinTrackSize));
    EXPECT_EQ(CPoint(-2, -2), CPoint(info.ptMaxTrackSize));
    EXPECT_EQ(CPoint(-3, -3), CPoint(info.ptMaxPosition));
    EXPECT_EQ(CPoint(-4, -4), CPoint(info.ptMaxSize));
}

TEST(ResizableDialog, SizeGripAnswersAndIsDrawnInTheCorner)
{
    ModelessDialog d;
    ASSERT_TRUE(d.created);
    d->Grow(60, 40);
    CRect client;
    d->GetClientRect(&client);
    const CRect grip(client.right - d->m_szGripSize.cx, client.bottom - d->m_szGripSize.cy, client.right,
                     client.bottom);
    EXPECT_EQ(grip, d->m_rcGrip); // moved with the corner

    EXPECT_EQ(HTBOTTOMRIGHT, d->HitTest(grip.CenterPoint()));
    EXPECT_EQ(HTBOTTOMRIGHT, d->HitTest(CPoint(client.right - 1, client.bottom - 1)));
    EXPECT_EQ(HTCLIENT, d->HitTest(CPoint(grip.left - 1, grip.top - 1)));

    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    Image shown = DialogImage(&d.dialog);
    shown.SaveBmp(L"resizable_grip.bmp");
    EXPECT_GT(shown.Count(grip, shadow), 0);

    d->ShowSizeGrip(FALSE);
    EXPECT_EQ(HTCLIENT, d->HitTest(grip.CenterPoint()));
    Image hidden = DialogImage(&d.dialog);
    hidden.SaveBmp(L"resizable_nogrip.bmp");
    EXPECT_EQ(0, hidden.Count(grip, shadow));
}

TEST(ResizableDialog, MaximizedIntoItsRectangleWithoutGripDrawing)
{
    ModelessDialog d([](AnchoredDialog& dlg) { dlg.SetMaximizedRect(CRect(30, 40, 630, 460)); });
    ASSERT_TRUE(d.created);
    d->ShowWindow(SW_MAXIMIZE);
    PumpUntilIdle();
    ASSERT_TRUE(d->IsZoomed());
    CRect window;
    d->GetWindowRect(&window);
    EXPECT_EQ(CRect(30, 40, 630, 460), window);

    // The controls followed the new size.
    CRect client;
    d->GetClientRect(&client);
    const CSize gain = window.Size() - d->initialWindow.Size();
    EXPECT_EQ(Shifted(d->initial[IDC_RZ_LIST], 0, 0, gain.cx, gain.cy), d->Rect(IDC_RZ_LIST));
    EXPECT_EQ(Shifted(d->initial[IDOK], gain.cx, gain.cy, gain.cx, gain.cy), d->Rect(IDOK));

    // Not drawn, but still answering.
    const CRect grip = d->m_rcGrip;
    EXPECT_EQ(client.BottomRight(), grip.BottomRight());
    EXPECT_EQ(HTBOTTOMRIGHT, d->HitTest(grip.CenterPoint()));
    Image image = DialogImage(&d.dialog);
    image.SaveBmp(L"resizable_maximized.bmp");
    EXPECT_EQ(0, image.Count(grip, ::GetSysColor(COLOR_BTNSHADOW)));
}

// ---------------------------------------------------------------------------
// The placement in the application profile: an INI file or the registry,
// as the application object keeps its profile.

namespace {

const wchar_t* const kSection = L"对话框位置";
const wchar_t* const kEntry = L"调整测试";
const wchar_t* const kRegistryKey = L"TavixResizableTest";

enum class ProfileKind { Ini, Registry };
void PrintTo(ProfileKind kind, std::ostream* os) { *os << (kind == ProfileKind::Ini ? "INI file" : "registry"); }

class PlacementTest : public ::testing::TestWithParam<ProfileKind>
{
protected:
    void SetUp() override
    {
        app = AfxGetApp();
        ASSERT_NE(nullptr, app);
        savedKey = app->m_pszRegistryKey;
        savedProfile = app->m_pszProfileName;
        ini = folder / L"profile.ini";
        app->m_pszRegistryKey = GetParam() == ProfileKind::Registry ? kRegistryKey : nullptr;
        app->m_pszProfileName = ini;
    }
    void TearDown() override
    {
        if (!app) return;
        app->m_pszRegistryKey = savedKey;
        app->m_pszProfileName = savedProfile;
        DeleteRegTree(HKEY_CURRENT_USER, ClFormat(L"Software\\%s", kRegistryKey));
    }

    // The saved text, read where the profile keeps it.
    CString Saved() const
    {
        if (GetParam() == ProfileKind::Registry)
            return GetRegString(HKEY_CURRENT_USER,
                                ClFormat(L"Software\\%s\\%s\\%s", kRegistryKey, app->m_pszAppName, kSection), kEntry);
        wchar_t buffer[256] = L"";
        ::GetPrivateProfileStringW(kSection, kEntry, L"<missing>", buffer, 256, ini);
        return buffer;
    }
    void Store(const wchar_t* text) { app->WriteProfileString(kSection, kEntry, text); }

    static void SaveAndRestore(AnchoredDialog& d) { d.EnableSaveRestore(kSection, kEntry); }

    ScratchFolder folder{L"resizable_profile"};
    CString ini;
    CWinApp* app = nullptr;
    const wchar_t* savedKey = nullptr;
    const wchar_t* savedProfile = nullptr;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(ResizableDialog, PlacementTest, ::testing::Values(ProfileKind::Ini, ProfileKind::Registry),
                         [](const auto& info) { return info.param == ProfileKind::Ini ? "Ini" : "Registry"; });

TEST_P(PlacementTest, AModalDialogComesBackWhereItWasClosed)
{
    CRect moved;
    {
        AnchoredDialog dlg;
        dlg.extra = SaveAndRestore; // nothing saved yet: stays as created
        DialogScript script;
        script.Then([&](CWnd* d) {
            CRect first;
            d->GetWindowRect(&first);
            EXPECT_EQ(dlg.initialWindow, first);
            d->SetWindowPos(nullptr, 120, 90, dlg.initialWindow.Width() + 100, dlg.initialWindow.Height() + 50,
                            SWP_NOZORDER | SWP_NOACTIVATE);
            d->GetWindowRect(&moved);
            Press(d, IDOK);
        });
        ASSERT_EQ(IDOK, dlg.DoModal());
    }
    EXPECT_EQ(ClFormat(L"%d,%d,%d,%d,1,0", moved.left, moved.top, moved.right, moved.bottom), Saved());

    AnchoredDialog again;
    again.extra = SaveAndRestore;
    CRect restored, list, ok;
    DialogScript script;
    script.Then([&](CWnd* d) {
        d->GetWindowRect(&restored);
        list = again.Rect(IDC_RZ_LIST);
        ok = again.Rect(IDOK);
        Press(d, IDCANCEL);
    });
    ASSERT_EQ(IDCANCEL, again.DoModal());
    EXPECT_EQ(moved, restored);
    // The controls anchored before the restore followed it.
    EXPECT_EQ(Shifted(again.initial[IDC_RZ_LIST], 0, 0, 100, 50), list);
    EXPECT_EQ(Shifted(again.initial[IDOK], 100, 50, 100, 50), ok);
    // Cancelled or not, the placement is written again.
    EXPECT_EQ(ClFormat(L"%d,%d,%d,%d,1,0", moved.left, moved.top, moved.right, moved.bottom), Saved());
}

TEST_P(PlacementTest, AMalformedPlacementLeavesTheDialogAsCreated)
{
    const wchar_t* cases[] = {
        L"",                        // nothing saved
        L"10,20,400,300",           // too few numbers
        L"10,20,400,300,1",         //
        L"a,b,c,d,e,f",             // not numbers
        L"10;20;400;300;1;0",       // another separator
        L"400,300,10,20,1,0",       // an inverted rectangle
        L"10,20,10,300,1,0",        // an empty one
        L"10,20,400,300,0,0",       // hidden: the user would never see the dialog
        L"10,20,400,300,5,0",       // not a show state a placement has
    };
    for (const wchar_t* text : cases) {
        SCOPED_TRACE(Utf8(text));
        Store(text);
        ModelessDialog d(SaveAndRestore);
        ASSERT_TRUE(d.created);
        CRect window;
        d->GetWindowRect(&window);
        EXPECT_EQ(d->initialWindow, window);
        EXPECT_FALSE(d->IsWindowVisible());
        ExpectAtTemplatePlaces(d.dialog);
    }
}

TEST_P(PlacementTest, ADialogClosedMinimizedComesBackRestored)
{
    Store(L"60,70,500,420,2,0");
    ModelessDialog d(SaveAndRestore);
    ASSERT_TRUE(d.created);
    EXPECT_FALSE(d->IsIconic());
    EXPECT_TRUE(d->IsWindowVisible());
    CRect window;
    d->GetWindowRect(&window);
    EXPECT_EQ(CRect(60, 70, 500, 420), window);
    // Destroying a modeless dialog saves too.
    d->SetWindowPos(nullptr, 80, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    d->DestroyWindow();
    EXPECT_EQ(CString(L"80,90,520,440,1,0"), Saved());
}
