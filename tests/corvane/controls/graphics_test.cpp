// The 2-D graphics view: its entity list, fitting (one point, a line, a
// drawing far from the origin) and thumbnails, zoom and pan, the grid and
// tick margins at survey coordinates, picking and selection by mouse, the
// keys and the context menu, grip drags and point input driven by posted
// mouse and key messages, the tool tip, and a rendering with every entity
// kind.
#include "controls_test_support.h"
#include "corvane/ui/GraphicsCtrl.h"

#include <cmath>
#include <vector>

using namespace wintest;
using namespace controls_test;

namespace {

const double kPi = 3.141592653589793;
const UINT WM_TEST_REMOVE = WM_APP + 11;

// The view's parent: records the picks the view posts, and can be asked to
// act on the view from inside the view's modal loops.
class ViewHost : public CWnd
{
public:
    std::vector<long> picked;
    tkxGraphicsCtrl* view = nullptr;
    int removeResult = -1;

    BOOL Make(CWnd* parent)
    {
        return CreateEx(0, AfxRegisterWndClass(0), L"host", WS_CHILD | WS_VISIBLE, CRect(0, 0, 660, 500), parent,
                        700);
    }

protected:
    LRESULT OnPicked(WPARAM id, LPARAM lParam)
    {
        EXPECT_EQ(0, lParam);
        picked.push_back(static_cast<long>(id));
        return 0;
    }
    LRESULT OnRemove(WPARAM, LPARAM)
    {
        removeResult = view->RemoveAll();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ViewHost, CWnd)
    ON_MESSAGE(tkxGraphicsCtrl::WM_ENTITY_PICKED, OnPicked)
    ON_MESSAGE(WM_TEST_REMOVE, OnRemove)
END_MESSAGE_MAP()

class GraphicsTest : public ::testing::Test
{
protected:
    // A 400 x 300 view (the modal tests need a shown parent).
    void Make(bool shown = false, CRect rect = CRect(0, 0, 400, 300))
    {
        CWnd* parent = ShownFrame();
        if (!shown) parent = frame = new TestFrame;
        ASSERT_TRUE(host.Make(parent));
        host.view = &view;
        ASSERT_TRUE(view.Create(L"tkxGraphicsCtrl", nullptr, WS_CHILD | WS_VISIBLE, rect, &host, 701));
        PumpUntilIdle();
    }
    void TearDown() override
    {
        if (host.m_hWnd) host.DestroyWindow();
        if (frame) frame->DestroyWindow();
        PumpUntilIdle();
    }
    // scale pixels per unit, world (0, 0) at device (x0, y0).
    void SetView(double scale, CPoint zero)
    {
        tkxWorldDrawDC& dc = view.GetDrawContext();
        dc.m_dScale = scale;
        dc.m_ptOrigin = tkxPoint2d(zero.x, dc.m_rcClient.bottom - zero.y);
        view.ReDraw();
    }
    CPoint Device(tkxPoint2d p) { return view.GetDrawContext().MathToScreen(p); }
    tkxPoint2d World(CPoint p) { return view.GetDrawContext().ScreenToMath(p); }
    void Click(CPoint p)
    {
        Post(&view, WM_MOUSEMOVE, 0, PointParam(p));
        Post(&view, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p));
        Post(&view, WM_LBUTTONUP, 0, PointParam(p));
    }
    tkxEntityDC* Entity(long id)
    {
        tkxEntityDC* e = nullptr;
        view.OpenEntity(e, id, true);
        return e;
    }
    int KeysQueuedForView()
    {
        int n = 0;
        MSG msg;
        while (::PeekMessageW(&msg, view.m_hWnd, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) ++n;
        return n;
    }

    TestFrame* frame = nullptr;
    ViewHost host;
    tkxGraphicsCtrl view;
};

// Sends a wheel turn at a client point of the view.
void Wheel(tkxGraphicsCtrl& view, CPoint client, short delta)
{
    CPoint screen = client;
    view.ClientToScreen(&screen);
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), PointParam(screen));
}

bool IsWhite(COLORREF c) { return c == RGB(255, 255, 255); }

const CPoint kNoClick(-1, -1);

// Bounds a modal loop of the view: if it is still running after a few
// seconds, Esc is posted to end it and the test fails.
class ModalGuard
{
public:
    explicit ModalGuard(CWnd& view)
    {
        s_view = view.m_hWnd;
        s_fired = false;
        m_timer = ::SetTimer(nullptr, 0, 4000, &Fire);
    }
    ~ModalGuard()
    {
        ::KillTimer(nullptr, m_timer);
        EXPECT_FALSE(s_fired) << "a modal loop of the view did not end";
    }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR timer, DWORD)
    {
        ::KillTimer(nullptr, timer);
        s_fired = true;
        ::PostMessageW(s_view, WM_KEYDOWN, VK_ESCAPE, 1);
    }
    static HWND s_view;
    static bool s_fired;
    UINT_PTR m_timer;
};
HWND ModalGuard::s_view = nullptr;
bool ModalGuard::s_fired = false;

// Once no menu is shown any more, clicks into the window waiting for it.
HWND g_finishTarget = nullptr;
void CALLBACK FinishAfterMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (menu && ::IsWindowVisible(menu)) return;
    ::KillTimer(nullptr, timer);
    ::PostMessageW(g_finishTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
}

} // namespace

// ---------------------------------------------------------------------------
// The entity list

TEST_F(GraphicsTest, IdsGrowAndDeletingOnlyErases)
{
    Make();
    EXPECT_EQ(1, view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(1, 1), RGB(255, 0, 0)));
    EXPECT_EQ(2, view.DrawCircle(tkxPoint2d(0, 0), 1, false, RGB(0, 255, 0)));
    EXPECT_EQ(3, view.DrawTextW(L"文字", tkxPoint2d(0, 0), 0, 1, 0, RGB(0, 0, 255)));
    EXPECT_EQ(0, view.AddEntityToDB(nullptr)); // the next id stays
    CArray<tkxPoint2d, tkxPoint2d> one;
    one.Add(tkxPoint2d(1, 1));
    EXPECT_EQ(-1, view.DrawPolyline(one, 0));
    EXPECT_EQ(-1, view.DrawArc(tkxPoint2d(0, 0), tkxPoint2d(1, 1), tkxPoint2d(2, 2), 0));
    EXPECT_EQ(3, view.GetEntityCount());

    tkxEntityDC* text = Entity(3);
    ASSERT_NE(nullptr, text);
    EXPECT_TRUE(text->IsKindOf(RUNTIME_CLASS(tkxTextDC)));
    EXPECT_EQ(CString(L"宋体"), static_cast<tkxTextDC*>(text)->GetFontName());
    EXPECT_EQ(RGB(0, 0, 255), text->GetColorREF());

    EXPECT_EQ(1, view.DeleteEntity(2));
    EXPECT_EQ(1, view.DeleteEntity(2)); // already erased: found again
    EXPECT_EQ(0, view.DeleteEntity(0));
    EXPECT_EQ(0, view.DeleteEntity(99));
    tkxEntityDC* found = reinterpret_cast<tkxEntityDC*>(1);
    EXPECT_EQ(0, view.OpenEntity(found, 2, false));
    EXPECT_EQ(nullptr, found);
    EXPECT_EQ(1, view.OpenEntity(found, 2, true));
    EXPECT_EQ(0, view.OpenEntity(found, 0, true));
    EXPECT_EQ(3, view.GetEntityCount());

    for (int i = 4; i <= 9; ++i) EXPECT_EQ(i, view.DrawLine(tkxPoint2d(i, 0), tkxPoint2d(i, 1), 0));
    EXPECT_EQ(0, view.DeleteEntitys(0, 5));
    EXPECT_EQ(1, view.DeleteEntitys(3, 5));
    for (int id = 1; id <= 9; ++id) EXPECT_EQ(id >= 2 && id <= 5, Entity(id)->IsErased() != 0) << id;

    view.GetDrawContext().m_dScale = 7;
    view.GetDrawContext().m_ptOrigin = tkxPoint2d(3, 4);
    EXPECT_EQ(1, view.Clear());
    EXPECT_EQ(0, view.GetEntityCount());
    EXPECT_EQ(100.0, view.GetDrawContext().m_dScale);
    EXPECT_EQ(0.0, view.GetDrawContext().m_ptOrigin.x);
    EXPECT_EQ(10, view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(1, 0), 0)); // ids are never reused
}

TEST_F(GraphicsTest, ArcsThroughThreePointsRunCounterClockwise)
{
    Make();
    struct Case {
        tkxPoint2d p1, p2, p3, centre;
        double radius, start, end;
    } cases[] = {
        {{1, 0}, {0, 1}, {-1, 0}, {0, 0}, 1, 0, kPi},
        {{-1, 0}, {0, 1}, {1, 0}, {0, 0}, 1, 0, kPi},
        {{3512347, 4298765}, {3512345, 4298767}, {3512343, 4298765}, {3512345, 4298765}, 2, 0, kPi},
        {{0, -1}, {1, 0}, {0, 1}, {0, 0}, 1, 3 * kPi / 2, kPi / 2},
    };
    for (const Case& c : cases) {
        const long id = view.DrawArc(c.p1, c.p2, c.p3, RGB(1, 2, 3), 2);
        auto* arc = static_cast<tkxArcDC*>(Entity(id));
        ASSERT_TRUE(arc && arc->IsKindOf(RUNTIME_CLASS(tkxArcDC)));
        tkxPoint2d centre;
        double radius, start, end;
        arc->GetCenterPoint(centre);
        arc->GetRadius(radius);
        arc->GetStartAngle(start);
        arc->GetEndAngle(end);
        EXPECT_NEAR(c.centre.x, centre.x, 1e-6);
        EXPECT_NEAR(c.centre.y, centre.y, 1e-6);
        EXPECT_NEAR(c.radius, radius, 1e-6);
        EXPECT_NEAR(c.start, start, 1e-6);
        EXPECT_NEAR(c.end, end, 1e-6);
        EXPECT_EQ(2u, arc->GetLineType());
    }
}

// ---------------------------------------------------------------------------
// Fitting and thumbnails

TEST_F(GraphicsTest, FittingOnePointALineAndADrawingFarFromTheOrigin)
{
    Make();
    const tkxWorldDrawDC& dc = view.GetDrawContext();

    view.ShowAll(); // nothing to fit
    EXPECT_EQ(1.0, dc.m_dScale);
    EXPECT_EQ(0.0, dc.m_ptOrigin.x);

    // One point: a finite scale (the one the view had), centred on it.
    view.GetDrawContext().m_dScale = 250;
    view.DrawLine(tkxPoint2d(3512345.5, 4298765.25), tkxPoint2d(3512345.5, 4298765.25), 0);
    view.ShowAll();
    EXPECT_EQ(250.0, dc.m_dScale);
    EXPECT_EQ(CPoint(200, 150), Device(tkxPoint2d(3512345.5, 4298765.25)));
    view.RemoveAll();

    struct Case {
        const char* name;
        tkxPoint2d a, b;
        double scale;      // expected
        tkxPoint2d middle; // of the drawing: lands in the middle of the area
    } cases[] = {
        {"horizontal line", {-10, 5}, {30, 5}, 400 / (40 * 1.05), {10, 5}},
        {"vertical line", {2, -1}, {2, 9}, 300 / (10 * 1.05), {2, 4}},
        {"far from the origin", {3512300, 4298700}, {3512500, 4298800}, 400 / (200 * 1.05), {3512400, 4298750}},
        {"far and negative", {-2500000, -1800000}, {-2499990, -1799990}, 300 / (10 * 1.05), {-2499995, -1799995}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.RemoveAll();
        view.DrawLine(c.a, c.b, 0);
        view.ShowAll();
        EXPECT_NEAR(c.scale, dc.m_dScale, c.scale * 1e-9);
        const CPoint middle = Device(c.middle);
        EXPECT_NEAR(200, middle.x, 1);
        EXPECT_NEAR(150, middle.y, 1);
        // The drawing fills the area up to a 2.5 % margin along its long side.
        const CPoint a = Device(c.a), b = Device(c.b);
        EXPECT_GE(std::min(a.x, b.x), 0);
        EXPECT_LE(std::max(a.x, b.x), 400);
        EXPECT_GE(std::min(a.y, b.y), 0);
        EXPECT_LE(std::max(a.y, b.y), 300);
    }

    // A polyline without vertices has nothing to fit: the drawing far from
    // the origin keeps its own fit and is not stretched back to (0, 0).
    view.RemoveAll();
    view.DrawLine(tkxPoint2d(3512300, 4298700), tkxPoint2d(3512500, 4298800), 0);
    view.AddEntityToDB(new tkxPolyLineDC);
    view.ShowAll();
    EXPECT_NEAR(400 / (200 * 1.05), dc.m_dScale, 1e-9);
    EXPECT_NEAR(200, Device(tkxPoint2d(3512400, 4298750)).x, 1);

    // Erased entities and the tick margins count as expected.
    view.RemoveAll();
    view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), 0);
    view.DeleteEntity(view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(1000, 0), 0));
    view.SetDisplayTick(1);
    view.ShowAll();
    EXPECT_NEAR(364 / 10.5, dc.m_dScale, 1e-9);
}

TEST_F(GraphicsTest, ThumbnailsLeaveTheViewAsItWas)
{
    Make();
    view.DrawLine(tkxPoint2d(3512300, 4298700), tkxPoint2d(3512500, 4298700), 0);
    SetView(3, CPoint(10, 20));
    const tkxWorldDrawDC before = view.GetDrawContext();
    CDC* device = view.GetDC();
    ASSERT_NE(nullptr, device);
    const tkxPoint2d extent = view.GetTextExtent(L"K12+345", 2.0, L"宋体");
    EXPECT_GT(extent.x, extent.y);

    CBitmap thumbnail;
    view.CreateThumbnail(thumbnail, 120, 80);
    const tkxWorldDrawDC& after = view.GetDrawContext();
    EXPECT_EQ(before.m_dScale, after.m_dScale);
    EXPECT_EQ(before.m_ptOrigin.x, after.m_ptOrigin.x);
    EXPECT_EQ(before.m_ptOrigin.y, after.m_ptOrigin.y);
    EXPECT_EQ(before.m_rcClient, after.m_rcClient);
    EXPECT_EQ(device, view.GetDC());
    const tkxPoint2d again = view.GetTextExtent(L"K12+345", 2.0, L"宋体");
    EXPECT_EQ(extent.x, again.x);

    // The horizontal line is centred vertically and spans the fitted width.
    BITMAP bm{};
    thumbnail.GetBitmap(&bm);
    EXPECT_EQ(120, bm.bmWidth);
    EXPECT_EQ(80, bm.bmHeight);
    Image image = RenderPaint(120, 80, [&](CDC& dc) {
        CDC memory;
        memory.CreateCompatibleDC(&dc);
        CBitmap* old = memory.SelectObject(&thumbnail);
        dc.BitBlt(0, 0, 120, 80, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    });
    int lit = 0, row = -1;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            if (IsWhite(image.At(x, y))) {
                ++lit;
                row = y;
            }
    EXPECT_EQ(100, lit); // 120 / 1.2, the end pixel not drawn
    EXPECT_EQ(40, row);

    // One point and no entity at all make finite thumbnails too.
    view.RemoveAll();
    view.DrawCircle(tkxPoint2d(5, 5), 0, false, 0);
    view.CreateThumbnail(thumbnail, 30, 20);
    EXPECT_EQ(before.m_dScale, view.GetDrawContext().m_dScale);

    // A view that never drew measures texts on a screen-like device.
    tkxGraphicsCtrl unshown;
    const tkxPoint2d measured = unshown.GetTextExtent(L"K12+345", 2.0, L"宋体");
    EXPECT_NEAR(extent.x, measured.x, 1e-9);
    EXPECT_EQ(nullptr, unshown.GetDC());
}

// ---------------------------------------------------------------------------
// Zoom and pan

TEST_F(GraphicsTest, WheelZoomKeepsThePointUnderTheCursor)
{
    Make();
    const tkxWorldDrawDC& dc = view.GetDrawContext();
    SetView(100, CPoint(0, 300));
    const CPoint at(123, 77);
    const tkxPoint2d under = World(at);
    Wheel(view, at, WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(125, dc.m_dScale);
    EXPECT_EQ(at, Device(under));
    Wheel(view, at, -WHEEL_DELTA);
    Wheel(view, at, -WHEEL_DELTA);
    EXPECT_NEAR(125 * 0.75 * 0.75, dc.m_dScale, 1e-9);
    EXPECT_EQ(at, Device(under));

    // At survey coordinates and the largest zoom, the point stays exact.
    view.DrawLine(tkxPoint2d(3512345.678, 4298765.432), tkxPoint2d(3512355.678, 4298765.432), 0);
    view.ShowAll();
    const tkxPoint2d survey = World(at);
    for (int i = 0; i < 60; ++i) Wheel(view, at, WHEEL_DELTA);
    EXPECT_EQ(100000.0, dc.m_dScale);
    EXPECT_EQ(at, Device(survey));
    const tkxPoint2d deep = World(at);
    EXPECT_NEAR(survey.x, deep.x, 1.0 / 100000);

    struct Bound {
        double from;
        short delta;
        double to;
    } bounds[] = {{0.025, -WHEEL_DELTA, 0.02}, {90000, WHEEL_DELTA, 100000}, {0.02, 0, 0.02}};
    for (const Bound& b : bounds) {
        view.GetDrawContext().m_dScale = b.from;
        Wheel(view, at, b.delta);
        EXPECT_DOUBLE_EQ(b.to, dc.m_dScale);
    }

    // Over a tick margin the wheel does not zoom.
    view.SetDisplayTick(1);
    view.GetDrawContext().m_dScale = 50;
    Wheel(view, CPoint(390, 100), WHEEL_DELTA);
    Wheel(view, CPoint(100, 295), WHEEL_DELTA);
    EXPECT_EQ(50.0, dc.m_dScale);
}

TEST_F(GraphicsTest, MiddleButtonPansAndALostCaptureEndsThePan)
{
    Make();
    SetView(10, CPoint(100, 200));
    const tkxPoint2d origin = view.GetDrawContext().m_ptOrigin;
    Post(&view, WM_MBUTTONDOWN, MK_MBUTTON, PointParam(CPoint(100, 100)));
    EXPECT_EQ(static_cast<DWORD>(tkxGraphicsCtrl::STATE_PANNING), view.GetState());
    Post(&view, WM_MOUSEMOVE, MK_MBUTTON, PointParam(CPoint(130, 90)));
    Post(&view, WM_MBUTTONUP, 0, PointParam(CPoint(140, 80)));
    EXPECT_EQ(0u, view.GetState());
    EXPECT_EQ(origin.x + 40, view.GetDrawContext().m_ptOrigin.x);
    EXPECT_EQ(origin.y + 20, view.GetDrawContext().m_ptOrigin.y);

    // Another window takes the mouse: the pan stops where it stands.
    Post(&view, WM_MBUTTONDOWN, MK_MBUTTON, PointParam(CPoint(100, 100)));
    Post(&view, WM_MOUSEMOVE, MK_MBUTTON, PointParam(CPoint(110, 100)));
    host.SetCapture();
    PumpUntilIdle();
    EXPECT_EQ(0u, view.GetState());
    const double x = view.GetDrawContext().m_ptOrigin.x;
    EXPECT_EQ(origin.x + 50, x);
    Post(&view, WM_MOUSEMOVE, 0, PointParam(CPoint(200, 100)));
    EXPECT_EQ(x, view.GetDrawContext().m_ptOrigin.x);
    ::ReleaseCapture();

    // A middle double click fits the drawing.
    view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(100, 0), 0);
    Post(&view, WM_MBUTTONDBLCLK, 0, PointParam(CPoint(50, 50)));
    EXPECT_NEAR(400 / 105.0, view.GetDrawContext().m_dScale, 1e-9);
}

// ---------------------------------------------------------------------------
// Grid, ticks and title

TEST_F(GraphicsTest, GridLinesEveryFiftyPixelsAndTicksAtSurveyCoordinates)
{
    Make();
    view.SetDisplayGrid(1);
    SetView(100, CPoint(0, 300)); // world (0, 0) at the lower-left corner
    view.SendMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(390, 290))); // crosshair out of the way
    Image image = PrintWindowImage(&view, true);
    EXPECT_EQ(RGB(0x28, 0x28, 0x28), image.At(250, 100)); // every fifth line brighter
    EXPECT_EQ(RGB(0x0C, 0x0C, 0x0C), image.At(50, 100));
    EXPECT_EQ(RGB(0x0C, 0x0C, 0x0C), image.At(300, 100));
    EXPECT_EQ(RGB(0, 0, 0), image.At(25, 125));
    EXPECT_EQ(RGB(0x0C, 0x0C, 0x0C), image.At(20, 250)); // horizontal: 50 px above the bottom
    EXPECT_EQ(RGB(0x28, 0x28, 0x28), image.At(20, 50));

    // Ticks at survey coordinates: every fifth tick is long (and labelled)
    // along both margins, also where the coordinates are millions.
    view.SetDisplayGrid(0);
    view.SetDisplayTick(1);
    EXPECT_EQ(CRect(0, 0, 364, 282), view.GetDrawContext().m_rcClient);
    for (tkxPoint2d centre : {tkxPoint2d(1.23, 4.56), tkxPoint2d(3512345.6, 4298765.4)}) {
        SCOPED_TRACE(centre.x);
        view.GetDrawContext().m_dScale = 500; // ticks every 0.1 (50 px), long ones every 0.5
        view.GetDrawContext().m_ptOrigin = tkxPoint2d(182, 141) - centre * 500;
        view.ReDraw();
        image = PrintWindowImage(&view, true);
        ASSERT_EQ(400, image.Width());
        int shortTicks = 0, longTicks = 0;
        for (int x = 0; x < 364; ++x) {
            if (image.At(x, 299) == 0 && image.At(x, 297) == 0) ++shortTicks;
            if (image.At(x, 290) == 0 && image.At(x, 296) == 0) ++longTicks;
        }
        EXPECT_GE(shortTicks, 7);
        EXPECT_GE(longTicks, 1);
        int rightLong = 0;
        for (int y = 0; y < 282; ++y)
            if (image.At(385, y) == 0 && image.At(398, y) == 0) ++rightLong;
        EXPECT_GE(rightLong, 1);
        EXPECT_TRUE(IsWhite(image.At(370, 5)) || IsWhite(image.At(371, 5)));
    }
    EXPECT_EQ(0, view.SetTickHScale(0));
    EXPECT_EQ(0, view.SetTickVScale(1e-7));
    EXPECT_EQ(1, view.SetTickHScale(1000));
}

TEST_F(GraphicsTest, TitleLinesAndASelectionWithItsGrips)
{
    Make();
    view.SetTitle(L"纵断面\n第二行");
    SetView(10, CPoint(100, 200));
    const long id = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), RGB(255, 255, 0));
    view.ReDraw();
    view.SendMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(390, 290)));
    Image image = PrintWindowImage(&view, true);
    int first = 0, second = 0;
    for (int y = 5; y < 20; ++y)
        for (int x = 5; x < 80; ++x) first += IsWhite(image.At(x, y));
    for (int y = 20; y < 35; ++y)
        for (int x = 5; x < 80; ++x) second += IsWhite(image.At(x, y));
    EXPECT_GT(first, 20);
    EXPECT_GT(second, 20);
    EXPECT_EQ(RGB(255, 255, 0), image.At(150, 200));

    Click(CPoint(150, 200));
    ASSERT_EQ(std::vector<long>{id}, host.picked);
    EXPECT_EQ(1, Entity(id)->IsSelected());
    ASSERT_EQ(3, view.GetGripPoints().GetSize());
    view.SendMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(390, 290)));
    image = PrintWindowImage(&view, true);
    EXPECT_EQ(RGB(0, 0, 255), image.At(100, 200)); // blue grips with a grey border
    EXPECT_EQ(RGB(0, 0, 255), image.At(200, 201));
    EXPECT_EQ(RGB(100, 100, 100), image.At(196, 196));
    int dotted = 0;
    for (int x = 110; x < 140; ++x) dotted += image.At(x, 200) == RGB(255, 255, 0);
    EXPECT_GT(dotted, 5); // dotted while selected
    EXPECT_LT(dotted, 30);
}

// ---------------------------------------------------------------------------
// Picking and keys

TEST_F(GraphicsTest, PickingHitsTheTopmostSelectableEntity)
{
    Make();
    SetView(10, CPoint(100, 200));
    const long lower = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), RGB(255, 0, 0));
    const long upper = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), RGB(0, 255, 0));
    const long circle = view.DrawCircle(tkxPoint2d(20, 0), 2, false, RGB(0, 0, 255));
    view.ReDraw();
    Click(CPoint(130, 202)); // within the 4-pixel pick box
    Click(CPoint(130, 200)); // (not on a grip of the selected line: that would drag it)
    EXPECT_EQ((std::vector<long>{upper, upper}), host.picked);
    EXPECT_EQ(0, Entity(lower)->IsSelected());
    Click(CPoint(300, 180)); // the circle's top
    EXPECT_EQ(circle, host.picked.back());
    CArray<long, long> selected;
    view.GetSelect(selected);
    ASSERT_EQ(2, selected.GetSize()); // clicks add to the selection
    EXPECT_EQ(upper, selected[0]);
    EXPECT_EQ(circle, selected[1]);
    Click(CPoint(300, 200)); // inside the hollow circle: nothing
    Click(CPoint(50, 50));
    EXPECT_EQ(3u, host.picked.size());

    // Not selectable or erased: never hit, the one beneath is.
    Entity(upper)->SetCanSel(0);
    Click(CPoint(120, 200));
    EXPECT_EQ(lower, host.picked.back());
    view.DeleteEntity(lower);
    Entity(upper)->SetCanSel(1);
    view.DeleteEntity(upper);
    host.picked.clear();
    Click(CPoint(120, 200));
    EXPECT_TRUE(host.picked.empty());

    // With editing disabled the pick is reported but selects nothing.
    view.CancelSelect();
    const long third = view.DrawLine(tkxPoint2d(0, 5), tkxPoint2d(10, 5), RGB(255, 255, 255));
    view.ReDraw();
    view.SetEditEnable(0);
    Click(CPoint(150, 150));
    EXPECT_EQ(std::vector<long>{third}, host.picked);
    EXPECT_EQ(0, Entity(third)->IsSelected());

    // In a tick margin nothing is picked.
    view.SetEditEnable(1);
    view.SetDisplayTick(1);
    view.DrawLine(tkxPoint2d(-10, -20), tkxPoint2d(40, -20), 0xFFFFFF);
    view.ReDraw();
    host.picked.clear();
    Click(CPoint(380, 100));
    Click(CPoint(100, 290));
    EXPECT_TRUE(host.picked.empty());
}

TEST_F(GraphicsTest, PickingAtSurveyCoordinatesAndHighZoom)
{
    Make();
    const tkxPoint2d a(3512345.678, 4298765.432);
    const long id = view.DrawLine(a, a + tkxPoint2d(0.01, 0.01), 0xFFFFFF);
    view.DrawLine(a - tkxPoint2d(1000, 0), a + tkxPoint2d(1000, 0.002), 0x00FFFF);
    view.GetDrawContext().m_dScale = 10000;
    view.GetDrawContext().m_ptOrigin = tkxPoint2d(200, 150) - a * 10000;
    view.ReDraw();
    const CPoint on = Device(a + tkxPoint2d(0.005, 0.005)); // 50 px up and right of the middle
    EXPECT_EQ(CPoint(250, 100), on);
    Click(on);
    ASSERT_EQ(std::vector<long>{id}, host.picked);
    Click(Device(a + tkxPoint2d(-0.005, 0.001))); // the long line, 1 mm higher there
    EXPECT_EQ(std::vector<long>({id, 2}), host.picked);
}

TEST_F(GraphicsTest, KeysActOnTheSelection)
{
    Make();
    SetView(10, CPoint(100, 200));
    const long a = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), 0xFFFFFF);
    const long b = view.DrawLine(tkxPoint2d(0, 5), tkxPoint2d(10, 5), 0xFFFFFF);
    view.ReDraw();
    Click(CPoint(150, 200));
    Click(CPoint(150, 150));
    PressKey(&view, VK_ESCAPE);
    EXPECT_EQ(0, Entity(a)->IsSelected());
    EXPECT_EQ(0, Entity(b)->IsSelected());

    Click(CPoint(150, 200));
    Click(CPoint(150, 150));
    PressKey(&view, VK_DELETE);
    EXPECT_EQ(1, Entity(a)->IsErased());
    EXPECT_EQ(1, Entity(b)->IsErased());
    EXPECT_EQ(0, view.GetGripPoints().GetSize());

    // Enter and Esc are swallowed; Delete and F8 go on.
    MSG msg{view.m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(view.PreTranslateMessage(&msg));
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(view.PreTranslateMessage(&msg));
    msg.wParam = VK_DELETE;
    EXPECT_FALSE(view.PreTranslateMessage(&msg));
    msg.wParam = VK_F8;
    EXPECT_FALSE(view.PreTranslateMessage(&msg));
    EXPECT_EQ(1, view.GetOrthMode());
    PressKey(&view, VK_F8);
    EXPECT_EQ(0, view.GetOrthMode());

    // With editing disabled Esc and Delete do nothing.
    const long c = view.DrawLine(tkxPoint2d(0, 10), tkxPoint2d(10, 10), 0xFFFFFF);
    view.ReDraw();
    Click(CPoint(150, 100));
    view.SetEditEnable(0);
    PressKey(&view, VK_DELETE);
    PressKey(&view, VK_ESCAPE);
    EXPECT_EQ(1, Entity(c)->IsSelected());
    EXPECT_EQ(0, Entity(c)->IsErased());
}

TEST_F(GraphicsTest, EscClearsWhatTheOwnerSelectedTooButNotAnotherViewsEntities)
{
    Make();
    SetView(10, CPoint(100, 200));
    const long a = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), 0xFFFFFF);
    const long b = view.DrawLine(tkxPoint2d(0, 5), tkxPoint2d(10, 5), 0xFFFFFF);
    view.ReDraw();
    tkxGraphicsCtrl other;
    ASSERT_TRUE(other.Create(L"tkxGraphicsCtrl", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 80), &host, 702));
    tkxEntityDC* elsewhere = nullptr;
    ASSERT_TRUE(other.OpenEntity(elsewhere, other.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(1, 1), 0xFFFFFF)));
    elsewhere->SetSelected(1);

    Click(CPoint(150, 200));       // a, by the view
    Entity(b)->SetSelected(1);     // b, by the owner, not drawn since
    PressKey(&view, VK_ESCAPE);
    EXPECT_EQ(0, Entity(a)->IsSelected());
    EXPECT_EQ(0, Entity(b)->IsSelected());
    EXPECT_EQ(1, elsewhere->IsSelected());
    other.DestroyWindow();
}

TEST_F(GraphicsTest, MenuCommandsActOnceAndTheMenuFollowsTheState)
{
    Make();
    CCmdUI update;
    update.m_nID = tkxGraphicsCtrl::ID_GRAPHICS_CANCEL;
    // The update request before a command posts nothing; the command posts
    // its key once.
    for (UINT id : {tkxGraphicsCtrl::ID_GRAPHICS_OK, tkxGraphicsCtrl::ID_GRAPHICS_CANCEL,
                    tkxGraphicsCtrl::ID_GRAPHICS_DELETE}) {
        EXPECT_TRUE(view.OnCmdMsg(id, static_cast<int>(CN_UPDATE_COMMAND_UI), &update, nullptr));
        EXPECT_EQ(0, KeysQueuedForView());
        view.SendMessage(WM_COMMAND, id, 0);
        EXPECT_EQ(1, KeysQueuedForView());
    }
    EXPECT_TRUE(view.OnCmdMsg(tkxGraphicsCtrl::ID_GRAPHICS_ORTHO, static_cast<int>(CN_UPDATE_COMMAND_UI), &update,
                              nullptr));
    EXPECT_EQ(0, view.GetOrthMode());
    view.SendMessage(WM_COMMAND, tkxGraphicsCtrl::ID_GRAPHICS_ORTHO, 0);
    EXPECT_EQ(1, view.GetOrthMode());
    view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(42, 0), 0);
    view.SendMessage(WM_COMMAND, tkxGraphicsCtrl::ID_GRAPHICS_SHOWALL, 0);
    EXPECT_NEAR(400 / 44.1, view.GetDrawContext().m_dScale, 1e-9);

    ShownMenu menu = WatchMenu([&] { view.SendMessage(WM_CONTEXTMENU, (WPARAM)view.m_hWnd, MAKELPARAM(100, 100)); });
    ASSERT_EQ(1, menu.count);
    EXPECT_EQ((std::vector<CString>{L"删除(&D)", L"取消(&C)", L"-", L"显示全部(&Z)", L"-", L"打开正交(&O)"}),
              menu.items);
    EXPECT_TRUE(menu.checked[5]);
    EXPECT_EQ(static_cast<UINT>(tkxGraphicsCtrl::ID_GRAPHICS_ORTHO), menu.ids[5]);

    view.SetEditEnable(0);
    menu = WatchMenu([&] { view.SendMessage(WM_CONTEXTMENU, (WPARAM)view.m_hWnd, MAKELPARAM(100, 100)); });
    EXPECT_EQ(std::vector<CString>{L"显示全部(&Z)"}, menu.items);
}

// ---------------------------------------------------------------------------
// Grip drags (modal; the view needs a shown parent)

class GripDragTest : public GraphicsTest
{
protected:
    void SetUp() override
    {
        Make(true);
        SetView(10, CPoint(100, 200));
    }
    // Selects by a click (unless `select` is kNoClick), catches the grip at
    // `grip` (device), and drags it to `to`, finishing with a click (or the
    // `finishKey`).
    void Drag(CPoint select, CPoint grip, CPoint to, UINT finishKey = 0)
    {
        ModalGuard guard(view);
        if (select != kNoClick) Click(select);
        Post(&view, WM_MOUSEMOVE, 0, PointParam(grip + CPoint(2, 1)));
        ASSERT_GE(view.GetHoveredGrip(), 0);
        view.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(grip));
        view.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(to - CPoint(7, 7)));
        view.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, PointParam(to));
        if (finishKey)
            view.PostMessage(WM_KEYDOWN, finishKey, 1);
        else
            view.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(to));
        PumpUntilIdle();
        EXPECT_EQ(0u, view.GetState());
        EXPECT_EQ(-1, view.GetHoveredGrip());
    }
};

TEST_F(GripDragTest, DraggingALineEndAndTheOrthoConstraint)
{
    const long id = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), 0xFFFFFF);
    view.ReDraw();
    auto* line = static_cast<tkxLineDC*>(Entity(id));
    Drag(CPoint(150, 200), CPoint(200, 200), CPoint(250, 170)); // to world (15, 3)
    tkxPoint2d end;
    line->GetEndPoint(end);
    EXPECT_NEAR(15, end.x, 1e-9);
    EXPECT_NEAR(3, end.y, 1e-9);

    // Constrained from the grip's base (the start (0, 0)) to (10, 3): (10, 0).
    view.SetOrthMode(1);
    Drag(CPoint(150, 185), CPoint(100, 200), CPoint(200, 170));
    tkxPoint2d start;
    line->GetStartPoint(start);
    EXPECT_NEAR(10, start.x, 1e-9);
    EXPECT_NEAR(0, start.y, 1e-9);
    // From there to (13, 10): mostly upwards, so straight up to (10, 10).
    Drag(kNoClick, CPoint(200, 200), CPoint(230, 100));
    line->GetStartPoint(start);
    EXPECT_NEAR(10, start.x, 1e-9);
    EXPECT_NEAR(10, start.y, 1e-9);
}

TEST_F(GripDragTest, AnEntityIsPickedWhereAGripEditLeftIt)
{
    const long id = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), 0xFFFFFF);
    const long other = view.DrawLine(tkxPoint2d(0, -5), tkxPoint2d(10, -5), 0xFFFFFF);
    view.ReDraw();
    Drag(CPoint(150, 200), CPoint(200, 200), CPoint(250, 170)); // the end to world (15, 3)
    host.picked.clear();
    Click(CPoint(220, 176)); // on the line as it lies now, far from where it was
    Click(CPoint(150, 200)); // where it lay before the edit: nothing there now
    Click(CPoint(150, 250));
    EXPECT_EQ((std::vector<long>{id, other}), host.picked);

    // The same for an entity whose id the owner changed (the list is then
    // out of the order of the ids): the line moved by its middle grip from
    // (0, 0)-(15, 3) to (0, -9)-(15, -6) is drawn and picked there.
    ASSERT_EQ(1, SetEntityId(Entity(id), 100));
    Drag(CPoint(220, 176), CPoint(175, 185), CPoint(175, 275));
    PressKey(&view, VK_ESCAPE);
    const Image shown = PrintWindowImage(&view, true);
    int white = 0;
    for (int y = 279; y <= 281; ++y) white += IsWhite(shown.At(150, y));
    EXPECT_EQ(1, white) << "the line at (5, -8)";
    host.picked.clear();
    Click(CPoint(150, 280));
    EXPECT_EQ(std::vector<long>{100}, host.picked);
}

TEST_F(GripDragTest, SelectingAndGripEditsRepaintTheirAreaAsAWholeRedrawWould)
{
    // A crowded drawing: lines of every width and type, closed polylines,
    // filled and hollow circles, arcs and turned texts of every alignment
    // lie over and under three lines added last.  Selecting, editing a
    // grip and clearing the selection draw only the area of what changed,
    // which must come out as a whole regeneration paints it.
    view.SetDisplayGrid(1);
    view.SetDisplayTick(1);
    view.SetTitle(L"选择\n第二行");
    SetView(10, CPoint(100, 200));
    unsigned state = 3;
    auto next = [&](double low, double high) {
        state = state * 1103515245u + 12345u;
        return low + (high - low) * ((state >> 16) & 0x7FFF) / 32767.0;
    };
    const int aligns[] = {0, 2, 6, 8, 24, 26, 30};
    for (int i = 0; i < 160; ++i) {
        const tkxPoint2d p(next(-2, 24), next(-6, 12));
        const COLORREF color = RGB(40 + i % 200, 255 - i % 150, 80 + (i * 37) % 170);
        switch (i % 6) {
        case 0: view.DrawLine(p, p + tkxPoint2d(next(-6, 6), next(-6, 6)), color, i % 4 == 0 ? PS_DOT : 0); break;
        case 1: {
            CArray<tkxPoint2d, tkxPoint2d> v;
            for (int k = 0; k < 4; ++k) v.Add(p + tkxPoint2d(next(-3, 3), next(-3, 3)));
            view.DrawPolyline(v, color, i % 2, 0, next(0, 0.4));
            break;
        }
        case 2: view.DrawCircle(p, next(0.3, 2), i % 4 == 2, color); break;
        case 3: view.DrawArc(p, next(0.5, 3), next(0, 2 * kPi), next(0, 2 * kPi), color); break;
        default:
            view.DrawTextW(L"桩号K1+2", p, aligns[i % 7], next(0.6, 1.6), next(0, 2 * kPi), color);
            break;
        }
    }
    const long first = view.DrawLine(tkxPoint2d(2, 2), tkxPoint2d(18, 2), RGB(255, 255, 255));
    const long second = view.DrawLine(tkxPoint2d(3, -3), tkxPoint2d(17, 8), RGB(255, 255, 0));
    CArray<tkxPoint2d, tkxPoint2d> third;
    for (auto p : {tkxPoint2d(1, 6), tkxPoint2d(8, 9), tkxPoint2d(15, 5)}) third.Add(p);
    view.DrawPolyline(third, RGB(0, 255, 255), 0, 0, 0.3);
    view.ReDraw();

    auto sameAsWhole = [&](const char* step) {
        const Image part = PrintWindowImage(&view, true);
        std::vector<tkxPoint2d> grips(view.GetGripPoints().GetData(),
                                      view.GetGripPoints().GetData() + view.GetGripPoints().GetSize());
        view.ReDraw();
        const Image whole = PrintWindowImage(&view, true);
        ASSERT_EQ(whole.Width(), part.Width());
        int differing = 0;
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x) differing += part.At(x, y) != whole.At(x, y);
        EXPECT_EQ(0, differing) << step;
        ASSERT_EQ(static_cast<INT_PTR>(grips.size()), view.GetGripPoints().GetSize()) << step;
        for (size_t i = 0; i < grips.size(); ++i) {
            EXPECT_EQ(grips[i].x, view.GetGripPoints()[static_cast<INT_PTR>(i)].x) << step;
            EXPECT_EQ(grips[i].y, view.GetGripPoints()[static_cast<INT_PTR>(i)].y) << step;
        }
    };
    // A click repaints a small part of the view only.
    view.UpdateWindow();
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CPoint(150, 180)));
    view.SendMessage(WM_LBUTTONUP, 0, PointParam(CPoint(150, 180)));
    ASSERT_EQ(1, Entity(first)->IsSelected());
    CRect invalid;
    ASSERT_TRUE(::GetUpdateRect(view.m_hWnd, invalid, FALSE));
    EXPECT_LT(invalid.Width() * invalid.Height(), 400 * 300 / 4);
    sameAsWhole("first selected");
    Click(CPoint(260, 128));
    ASSERT_EQ(1, Entity(second)->IsSelected());
    sameAsWhole("second selected");
    Drag(kNoClick, CPoint(280, 180), CPoint(300, 150)); // the first line's end
    sameAsWhole("a grip moved");
    PressKey(&view, VK_ESCAPE);
    ASSERT_EQ(0, Entity(second)->IsSelected());
    sameAsWhole("selection cleared");

    // Entities added since the last regeneration show with the next
    // selection, as a whole regeneration shows them.
    const long added = view.DrawLine(tkxPoint2d(-5, -8), tkxPoint2d(25, -8), RGB(255, 0, 0));
    Click(CPoint(150, 180));
    EXPECT_EQ(1, Entity(first)->IsSelected());
    EXPECT_EQ(RGB(255, 0, 0), PrintWindowImage(&view, true).At(60, 280)) << added;
}

TEST_F(GripDragTest, CircleGripsMeasureFromTheCentreAndEscCancels)
{
    const long id = view.DrawCircle(tkxPoint2d(0, 0), 5, false, 0xFFFFFF);
    view.ReDraw();
    auto* circle = static_cast<tkxCircleDC*>(Entity(id));
    // The quadrant grip at (5, 0) dragged to a point 7 from the centre.
    Drag(CPoint(100, 150), CPoint(150, 200), CPoint(100, 130));
    double r;
    circle->GetRadius(r);
    EXPECT_NEAR(7, r, 1e-9);

    Drag(kNoClick, CPoint(100, 200), CPoint(300, 100), VK_ESCAPE);
    tkxPoint2d centre;
    circle->GetCenterPoint(centre);
    EXPECT_EQ(0.0, centre.x);
    EXPECT_EQ(0.0, centre.y);
    circle->GetRadius(r);
    EXPECT_NEAR(7, r, 1e-9);
}

// ---------------------------------------------------------------------------
// Point input (modal)

TEST_F(GraphicsTest, PointInputTakesAClickAndIgnoresOtherKeys)
{
    Make(true);
    SetView(10, CPoint(100, 200));
    const long id = view.DrawLine(tkxPoint2d(0, 0), tkxPoint2d(10, 0), 0xFFFFFF);
    view.ReDraw();
    Click(CPoint(150, 200));
    view.SetOrthMode(1);
    ASSERT_EQ(1, Entity(id)->IsSelected());

    // Keys other than Esc do nothing (Delete would erase the selection);
    // the click gives its world point without the ortho constraint and is
    // no pick.
    host.picked.clear();
    for (UINT key : {static_cast<UINT>('A'), static_cast<UINT>(VK_DELETE), static_cast<UINT>(VK_F8),
                     static_cast<UINT>(VK_RETURN)})
        view.PostMessage(WM_KEYDOWN, key, 1);
    view.PostMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(133, 177)));
    host.PostMessage(WM_TEST_REMOVE, 0, 0); // refused while the input runs
    view.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CPoint(133, 177)));
    tkxPoint2d point;
    ModalGuard guard(view);
    EXPECT_EQ(1, view.GetPoint(L"请指定点", point));
    EXPECT_NEAR(3.3, point.x, 1e-9);
    EXPECT_NEAR(2.3, point.y, 1e-9);
    EXPECT_EQ(0, host.removeResult);
    EXPECT_EQ(1, view.GetEntityCount());
    EXPECT_EQ(0, Entity(id)->IsErased());
    EXPECT_EQ(1, Entity(id)->IsSelected());
    EXPECT_EQ(1, view.GetOrthMode());
    EXPECT_EQ(0u, view.GetState());
    EXPECT_EQ(0u, view.GetToolTipMode());
    PumpUntilIdle();
    EXPECT_TRUE(host.picked.empty());

    // Esc cancels; so does 取消 in the menu, which posts Esc once: the
    // selection survives.
    view.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(0, view.GetPoint(tkxPoint2d(1, 1), L"请指定点", point));
    view.PostMessage(WM_COMMAND, tkxGraphicsCtrl::ID_GRAPHICS_CANCEL, 0);
    EXPECT_EQ(0, view.GetPoint(L"请指定点", point));
    PumpUntilIdle();
    EXPECT_EQ(1, Entity(id)->IsSelected());
    EXPECT_EQ(0u, view.GetState());
}

TEST_F(GraphicsTest, PointInputEndsWithTheQueueOrAHiddenParent)
{
    Make(true);
    // The quit message ends the input and is posted again for the loop
    // outside.
    ::PostQuitMessage(7);
    tkxPoint2d point;
    ModalGuard guard(view);
    EXPECT_EQ(0, view.GetPoint(L"点", point));
    EXPECT_EQ(0u, view.GetState());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);

    // A hidden parent: nothing to click in.
    host.ShowWindow(SW_HIDE);
    view.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CPoint(10, 10)));
    EXPECT_EQ(0, view.GetPoint(L"点", point));
    host.ShowWindow(SW_SHOW);
}

TEST_F(GraphicsTest, PointInputMenuOffersConfirmAndCancel)
{
    Make(true);
    g_finishTarget = view.m_hWnd;
    tkxPoint2d point;
    int result = -1;
    ModalGuard guard(view);
    view.PostMessage(WM_CONTEXTMENU, (WPARAM)view.m_hWnd, MAKELPARAM(100, 100));
    UINT_PTR timer = 0;
    ShownMenu menu = WatchMenu([&] {
        timer = ::SetTimer(nullptr, 0, 60, &FinishAfterMenu);
        result = view.GetPoint(L"点", point);
    });
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(1, result);
    EXPECT_EQ((std::vector<CString>{L"确定(&E)", L"取消(&C)", L"-", L"显示全部(&Z)", L"-", L"打开正交(&O)"}),
              menu.items);
}

// ---------------------------------------------------------------------------
// Tool tip

TEST_F(GraphicsTest, ToolTipShowsCoordinatesOrATimedText)
{
    Make();
    SetView(100, CPoint(0, 300));
    view.ActivateToolTip(1, 1);
    EXPECT_EQ(1, view.IsActivateToolTip());
    Post(&view, WM_MOUSEMOVE, 0, PointParam(Device(tkxPoint2d(1, 2))));
    EXPECT_EQ(CString(L"X=1.000,Y=2.000"), view.GetToolTipText());

    view.SetToolTipText(L"请选择实体", 50);
    EXPECT_EQ(2u, view.GetToolTipMode());
    EXPECT_EQ(CString(L"请选择实体"), view.GetToolTipText());
    const double start = test_support::Seconds();
    while (view.GetToolTipMode() != 0 && test_support::Seconds() - start < 5) PumpFor(20);
    EXPECT_EQ(0u, view.GetToolTipMode());
    EXPECT_TRUE(view.GetToolTipText().IsEmpty());
    EXPECT_EQ(0, view.IsActivateToolTip());
}

// ---------------------------------------------------------------------------
// A rendering with every entity kind

TEST_F(GraphicsTest, RenderingOfEveryEntityKind)
{
    Make(false, CRect(0, 0, 520, 400));
    view.SetDisplayGrid(1);
    view.SetDisplayUCS(1);
    view.SetDisplayTick(1);
    view.SetTitle(L"K12+300 ~ K12+420 平面图\n比例 1:500");
    const tkxPoint2d o(3512300, 4298700); // survey coordinates
    view.DrawLine(o + tkxPoint2d(0, 10), o + tkxPoint2d(120, 10), RGB(255, 255, 0));
    view.DrawLine(o + tkxPoint2d(0, 20), o + tkxPoint2d(120, 20), RGB(0, 255, 255), PS_DOT);
    view.DrawCircle(o + tkxPoint2d(20, 50), 12, false, RGB(0, 255, 0));
    view.DrawCircle(o + tkxPoint2d(55, 50), 8, true, RGB(255, 255, 255));
    view.DrawArc(o + tkxPoint2d(90, 45), 15, 0, kPi, RGB(255, 128, 0));
    view.DrawArc(o + tkxPoint2d(90, 70), o + tkxPoint2d(100, 80), o + tkxPoint2d(110, 70), RGB(255, 0, 255));
    CArray<tkxPoint2d, tkxPoint2d> outline;
    for (auto p : {tkxPoint2d(5, 85), tkxPoint2d(40, 85), tkxPoint2d(45, 100), tkxPoint2d(10, 105)})
        outline.Add(o + p);
    view.DrawPolyline(outline, RGB(255, 0, 0), 1, 0, 0.8);
    view.DrawTextW(L"桩号 K12+345", o + tkxPoint2d(60, 95), 24, 6, 0, RGB(255, 255, 255));
    view.DrawTextW(L"转角", o + tkxPoint2d(110, 25), 24, 5, kPi / 6, RGB(128, 200, 255));
    const CString imagePath = test_support::ScratchRoot() + L"\\render.bmp";
    {
        Image picture(16, 12);
        for (int i = 0; i < 16 * 12; ++i) picture.Bits()[i] = (i / 16 + i % 16) % 2 ? 0x3060C0 : 0xE0E0E0;
        // As image programs write them: bottom-up, 24 bits.
        const int stride = 16 * 3;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof(info);
        info.biWidth = 16;
        info.biHeight = 12;
        info.biPlanes = 1;
        info.biBitCount = 24;
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + stride * 12;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
        bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
        for (int y = 11; y >= 0; --y)
            for (int x = 0; x < 16; ++x) {
                const uint32_t c = picture.Bits()[y * 16 + x];
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>((c >> 8) & 0xFF);
                bytes += static_cast<char>((c >> 16) & 0xFF);
            }
        test_support::WriteBytes(imagePath, bytes);
    }
    auto* bitmap = new tkxBitmapDC(o + tkxPoint2d(100, 88), imagePath);
    view.AddEntityToDB(bitmap);
    view.ShowAll();
    // Select the yellow line (its grips show) and put the crosshair aside.
    Click(Device(o + tkxPoint2d(60, 10)));
    view.SendMessage(WM_MOUSEMOVE, 0, PointParam(CPoint(440, 60)));
    Image image = PrintWindowImage(&view, true);
    image.SaveBmp(L"graphics_view.bmp");
    ASSERT_EQ(520, image.Width());
    EXPECT_EQ(1u, view.GetGripPoints().GetSize() / 3);
    EXPECT_GT(image.Count(CRect(0, 0, 484, 382), RGB(0, 0, 255)), 100);   // grips
    EXPECT_GT(image.Count(CRect(0, 0, 484, 382), RGB(255, 0, 0)), 200);   // filled circle, outline
    EXPECT_GT(image.Count(CRect(0, 0, 484, 382), RGB(0, 255, 0)), 100);   // circle
    EXPECT_GT(image.Count(CRect(0, 0, 484, 382), RGB(0x30, 0x60, 0xC0)), 50); // bitmap
    EXPECT_GT(image.Count(CRect(0, 382, 520, 400), RGB(255, 255, 255)), 5000); // bottom margin
}
