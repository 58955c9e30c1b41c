// The profile view: where the ground and grade points, the vertical curves,
// the labels and the break chain's marks are drawn, its zoom and pan
// limits and the read-out of the point under the mouse.
#include "pages_world.h"
#include "brisko/BriskoResource.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include <algorithm>
#include <climits>
#include <cmath>

using namespace pages_test;
using wintest::Image;

namespace {

const COLORREF kGround = RGB(0, 255, 64);
const COLORREF kGrade = RGB(255, 0, 0);
const COLORREF kCurve = RGB(128, 255, 255);
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kChainText = RGB(255, 250, 250);

// A chain whose second segment starts 10 m below the end of the first
// (station 990 to 1000 twice), a ground line over both segments and a
// grade line with a crest curve at 400 and a sag curve at 800.
const wchar_t kChain[] = L"1000=990";
const wchar_t kGroundLine[] = L"0 100\n200 102\n500 101\n800 104\n1000 103\n995_2 102.5\n1200_2 106\n";
const wchar_t kCurves[] = L"0 100\n400 108 10000\n800 106 6000\n1200_2 110\n";
// The same on one chain segment.
const wchar_t kPlainGroundLine[] = L"0 100\n200 102\n500 101\n800 104\n1000 103\n";
const wchar_t kPlainCurves[] = L"0 100\n400 108 10000\n800 106 6000\n1210 110\n";

int Count(const Image& image, const CRect& area, COLORREF colour) { return image.Count(area, colour); }

} // namespace

TEST(ProfileView, GroundAndGradePointsLieWhereTheScaleAndTheFirstPointsPutThem)
{
    StartProgram();
    RoadData data(kChain, kGroundLine, kCurves);
    LoneView<CZDMInfoCtrl> view;
    const CRect plot = view->PlotRect();
    ASSERT_EQ(CRect(0, 0, 766, 383), plot);
    // The view starts at the first station, with the first points 6 m and
    // 17 / (10 x scale) above the bottom edge at the scale 1.5.
    EXPECT_DOUBLE_EQ(0.0, view->m_dLeftStation);
    EXPECT_NEAR(100 - 6 - 17 / 15.0, view->m_dBottomElevation, 1e-6);
    const double bottom = view->m_dBottomElevation;
    const Image image = Rendering(&*view, L"profile_fixture");

    struct Point {
        double chainage, elevation;
        COLORREF colour;
    };
    const Point points[] = {
        {200, 102, kGround}, {500, 101, kGround}, {800, 104, kGround}, {1005, 102.5, kGround}, // 995_2
        {400, 108, kGrade},  {800, 106, kGrade},
    };
    for (const Point& p : points) {
        SCOPED_TRACE(p.chainage);
        const int x = static_cast<int>(p.chainage / 1.5), y = static_cast<int>(383 - (p.elevation - bottom) / 0.15);
        EXPECT_EQ(x, view->XOfStation(p.chainage));
        EXPECT_EQ(y, view->YOfElevation(p.elevation));
        // Drawn there (the chain's label, drawn along the break, may lie
        // over the point itself).
        EXPECT_GT(Count(image, CRect(x - 1, y - 1, x + 2, y + 2), p.colour), 0);
    }

    // The crest curve runs below its grade point through the design
    // elevation there, 125 m each way.
    double design = 0;
    ASSERT_EQ(1, CurRoadProfile.GetElevation(400, design));
    EXPECT_NEAR(108 - 125.0 * 125 / 20000, design, 1e-9);
    const int xc = view->XOfStation(400), yc = view->YOfElevation(design);
    EXPECT_GT(Count(image, CRect(xc - 1, yc - 1, xc + 2, yc + 2), kCurve), 0);

    // One line on the break at chainage 1000, over the plot's height.
    const int xb = view->XOfStation(1000);
    EXPECT_GT(Count(image, CRect(xb, 0, xb + 1, plot.bottom), kMagenta), plot.Height() / 2);
}

TEST(ProfileView, GradeLabelsAreRedBelowThreeTenthsOfAPercentAndCurveLabelsStandOffTheGradeLine)
{
    StartProgram();
    // 0.2 % up, then 0.3 % up (a sag), then 1 % down (a crest).
    RoadData data(L"", L"", L"0 100\n500 101 20000\n1000 102.5 20000\n1500 97.5\n");
    LoneView<CZDMInfoCtrl> view(800, 500);
    view->m_fScale = 2.0f;
    view->CenterOn(750, 100);
    const Image image = Rendering(&*view, L"profile_labels");

    // The grade label of each segment: the band 7 to 21 pixels above the
    // segment's middle, raised by 14 pixels.
    auto band = [&](double from, double to) {
        double z1 = 0, z2 = 0;
        CurRoadProfile.GetElevation(from, z1);
        CurRoadProfile.GetElevation(to, z2);
        const int x = (view->XOfStation(from) + view->XOfStation(to)) / 2;
        const int my = (view->YOfElevation(z1) + view->YOfElevation(z2)) / 2 - 14;
        return CRect(x - 30, my - 14, x + 30, my);
    };
    // The grade line's own pixels stay out of the bands: the segments are
    // nearly flat there.
    const CRect first = band(0, 500), second = band(500, 1000);
    EXPECT_GT(image.Count(first, kGrade), 10);
    EXPECT_EQ(0, image.Count(first, kWhite));
    EXPECT_GT(image.Count(second, kWhite), 10);
    EXPECT_EQ(0, image.Count(second, kGrade));

    // The sag curve's three lines below its grade point, the crest's above.
    auto yellowRows = [&](int i, int from, int to) {
        const int x = view->XOfStation(CurRoadProfile.GetBPDZH(i)), y = view->YOfElevation(CurRoadProfile.GetBPDElevation(i));
        return image.Count(CRect(x - 80, y + from, x + 80, y + to), kYellow);
    };
    EXPECT_EQ(1, CurRoadProfile.GetBPDFlag(1));
    EXPECT_GT(yellowRows(1, 16, 56), 50);
    EXPECT_EQ(0, yellowRows(1, -48, -8));
    EXPECT_EQ(-1, CurRoadProfile.GetBPDFlag(2));
    EXPECT_GT(yellowRows(2, -48, -8), 50);
    EXPECT_EQ(0, yellowRows(2, 16, 56));

    // A crest and a sag close to the plot's edges: their lines are moved in
    // whole, none cut by an edge, so they cover as much as in the middle of
    // the plot above.
    auto yellowBox = [](const Image& shown, const CRect& area) {
        CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = std::max<int>(0, area.top); y < std::min<int>(shown.Height(), area.bottom); ++y)
            for (int x = std::max<int>(0, area.left); x < std::min<int>(shown.Width(), area.right); ++x)
                if (shown.At(x, y) == kYellow)
                    box = CRect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                                std::max<int>(box.bottom, y + 1));
        return box;
    };
    auto around = [&](int i) {
        const int x = view->XOfStation(CurRoadProfile.GetBPDZH(i)), y = view->YOfElevation(CurRoadProfile.GetBPDElevation(i));
        return CRect(x - 150, y - 60, x + 150, y + 60);
    };
    const CRect whole[3] = {CRect(), yellowBox(image, around(1)), yellowBox(image, around(2))};
    const CRect plot = view->PlotRect();
    const struct {
        int i;
        CPoint at; // where the grade point is brought
        const wchar_t* picture;
    } nearEdges[] = {
        {2, {plot.right - 10, 20}, L"profile_labels_top_right"},
        {1, {10, plot.bottom - 20}, L"profile_labels_bottom_left"},
    };
    for (const auto& c : nearEdges) {
        SCOPED_TRACE(c.i);
        const double station = CurRoadProfile.GetBPDZH(c.i), elevation = CurRoadProfile.GetBPDElevation(c.i);
        view->m_dLeftStation += (view->XOfStation(station) - c.at.x) * view->m_fScale;
        view->m_dBottomElevation -= (view->YOfElevation(elevation) - c.at.y) * view->m_fScale / 10.0;
        ASSERT_NEAR(c.at.x, view->XOfStation(station), 1);
        ASSERT_NEAR(c.at.y, view->YOfElevation(elevation), 1);
        const CRect box = yellowBox(Rendering(&*view, c.picture), around(c.i));
        // (A pixel or two of the text may lie under a grade line drawn later.)
        EXPECT_NEAR(whole[c.i].Width(), box.Width(), 2);
        EXPECT_NEAR(whole[c.i].Height(), box.Height(), 2);
        EXPECT_TRUE(box.left >= plot.left && box.right <= plot.right && box.top >= plot.top && box.bottom <= plot.bottom);
    }
}

TEST(ProfileView, BreakChainMarksNameTheStationsOnEitherSideOfTheBreak)
{
    StartProgram();
    const struct {
        const wchar_t* chain;
        bool overlap;
    } cases[] = {{L"1000=990", true}, {L"1000=1020", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.chain));
        RoadData data(c.chain, kPlainGroundLine, L"");
        LoneView<CZDMInfoCtrl> view;
        const Image image = Rendering(&*view, c.overlap ? L"profile_chain_overlap" : L"profile_chain_gap");
        const int x = view->XOfStation(1000), h = view->PlotRect().Height();
        // "链尾" runs up from the bottom, "链首" hangs from the top; an
        // overlapping chain puts them on the other sides of the line.
        const CRect leftLow(x - 14, h / 2, x - 1, h), rightLow(x + 2, h / 2, x + 15, h);
        const CRect leftHigh(x - 14, 0, x - 1, h / 2), rightHigh(x + 2, 0, x + 15, h / 2);
        EXPECT_GT(image.Count(c.overlap ? rightLow : leftLow, kChainText), 20);
        EXPECT_EQ(0, image.Count(c.overlap ? leftLow : rightLow, kChainText));
        EXPECT_GT(image.Count(c.overlap ? leftHigh : rightHigh, kChainText), 20);
        EXPECT_EQ(0, image.Count(c.overlap ? rightHigh : leftHigh, kChainText));
    }
    // A chain without breaks draws no mark.
    RoadData data(L"", kPlainGroundLine, L"");
    LoneView<CZDMInfoCtrl> view;
    const Image image = Rendering(&*view, L"profile_no_chain");
    EXPECT_EQ(0, image.Count(view->PlotRect(), kMagenta));
}

TEST(ProfileView, ZoomStopsOneStepPastItsLimitsAndTheWheelKeepsThePointUnderTheCursor)
{
    StartProgram();
    RoadData data(kChain, kGroundLine, kCurves);
    LoneView<CZDMInfoCtrl> view;
    auto zoom = [&](UINT command) {
        for (int i = 0; i < 100; ++i) view->SendMessage(WM_COMMAND, command);
        return view->m_fScale;
    };
    // A step is taken while the scale is not yet beyond the limit.
    const float least = zoom(ID_PAGE_ZOOMIN);
    EXPECT_LT(least, 0.02f);
    EXPECT_GE(least, 0.02f / 1.25f);
    const float most = zoom(ID_PAGE_ZOOMOUT);
    EXPECT_GT(most, 5.0f);
    EXPECT_LE(most, 5.0f * 1.25f);

    // The wheel: a quarter of the scale a notch, the point under the cursor
    // staying there.
    view->m_fScale = 1.5f;
    const double station = view->StationAtX(300), elevation = view->ElevationAtY(200);
    Wheel(&*view, 1, 300, 200);
    EXPECT_FLOAT_EQ(1.125f, view->m_fScale);
    EXPECT_NEAR(station, view->StationAtX(300), 1.5);
    EXPECT_NEAR(elevation, view->ElevationAtY(200), 0.15);
    // Four notches forward reach the least scale, without moving the view.
    const double left = view->m_dLeftStation;
    Wheel(&*view, 4, 300, 200);
    EXPECT_FLOAT_EQ(0.02f, view->m_fScale);
    EXPECT_DOUBLE_EQ(left, view->m_dLeftStation);
    // Backwards: the scale grows by a quarter of itself a notch, up to 5.
    Wheel(&*view, -40, 300, 200);
    EXPECT_FLOAT_EQ(0.22f, view->m_fScale);
    Wheel(&*view, -40, 300, 200);
    EXPECT_FLOAT_EQ(2.42f, view->m_fScale);
    Wheel(&*view, -40, 300, 200);
    EXPECT_FLOAT_EQ(5.0f, view->m_fScale);
}

TEST(ProfileView, DraggingPansNoFurtherThanFiveKilometresBeyondTheData)
{
    StartProgram();
    RoadData data(kChain, kGroundLine, kCurves);
    LoneView<CZDMInfoCtrl> view;
    // Outside the plot (the station ruler) a press does not take the mouse.
    Mouse(&*view, WM_LBUTTONDOWN, 100, 390, MK_LBUTTON);
    EXPECT_NE(&*view, CWnd::GetCapture());

    Mouse(&*view, WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    ASSERT_EQ(&*view, CWnd::GetCapture());
    const double bottom = view->m_dBottomElevation;
    Mouse(&*view, WM_MOUSEMOVE, 300, 120, MK_LBUTTON);
    EXPECT_DOUBLE_EQ(-300.0, view->m_dLeftStation);
    EXPECT_NEAR(bottom + 20 * 0.15, view->m_dBottomElevation, 1e-6);
    // Dragging the data far to the right: refused beyond 5000 m before the
    // first station; the anchor follows, so the next move pans from there.
    Mouse(&*view, WM_MOUSEMOVE, 3700, 120, MK_LBUTTON);
    EXPECT_DOUBLE_EQ(-300.0, view->m_dLeftStation);
    Mouse(&*view, WM_MOUSEMOVE, 3600, 120, MK_LBUTTON);
    EXPECT_DOUBLE_EQ(-150.0, view->m_dLeftStation);
    // Letting go elsewhere pans the rest of the way, without the limit.
    Mouse(&*view, WM_LBUTTONUP, 6600, 120);
    EXPECT_NE(&*view, CWnd::GetCapture());
    EXPECT_DOUBLE_EQ(-4650.0, view->m_dLeftStation);
}

TEST(ProfileView, TheReadOutGivesGroundDesignAndFillOrCutOrSaysWhatIsUnknown)
{
    StartProgram();
    const struct {
        const wchar_t* what;
        const wchar_t* groundLine;
        const wchar_t* curves;
        int x; // the scale is 1.5: chainage 1.5 x
        const wchar_t* text;
    } cases[] = {
        {L"both", kPlainGroundLine, kPlainCurves, 100,
         L"中桩:K0+150.000, 地面高:101.500, 设计高:103.000, 填挖高:1.500, 切向坡度:2.000%, 坡度:2.000%"},
        {L"ground line only", kPlainGroundLine, L"", 100, L"中桩:K0+150.000, 地面高:101.500, 设计高: [未知], 填挖高: [未知]"},
        {L"grade line only", L"", kPlainCurves, 100,
         L"中桩:K0+150.000, 地面高: [未知], 设计高:103.000, 填挖高: [未知], 切向坡度:2.000%, 坡度:2.000%"},
        {L"beyond the grade line", kPlainGroundLine, L"0 100\n400 108\n", 400,
         L"中桩:K0+600.000, 地面高:102.000, 设计高: [无法计算], 填挖高: [未知], 切向坡度:2.000%, 坡度:0.000%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.what));
        RoadData data(L"", c.groundLine, c.curves);
        LoneView<CZDMInfoCtrl> view;
        Mouse(&*view, WM_MOUSEMOVE, c.x, 200);
        // The read-out is written when the view paints.
        wintest::PrintWindowImage(&*view);
        EXPECT_EQ(CString(c.text), StatusText());
    }
}

TEST(ProfileView, TheQueryIsOfferedWithTwoGradePointsOrMore)
{
    StartProgram();
    for (const wchar_t* curves : {L"", L"0 100\n400 108\n"}) {
        SCOPED_TRACE(Utf8(curves));
        RoadData data(L"", kPlainGroundLine, curves);
        LoneView<CZDMInfoCtrl> view;
        CMenu menu;
        ASSERT_TRUE(view->BuildContextMenu(menu));
        CMenu* popup = menu.GetSubMenu(0);
        ASSERT_NE(nullptr, popup);
        EXPECT_EQ(4, popup->GetMenuItemCount());
        const bool offered = !(popup->GetMenuState(ID_TOOL_ZDM_INQUIRE, MF_BYCOMMAND) & MF_GRAYED);
        EXPECT_EQ(CurRoadProfile.GetBPDCount() > 1, offered);
    }
}

TEST(ProfileView, ScrollBarsMoveTheViewWithinTheData)
{
    StartProgram();
    RoadData data(kChain, kGroundLine, kCurves);
    LoneView<CZDMInfoCtrl> view;
    SCROLLINFO h{sizeof h, SIF_RANGE}, v{sizeof v, SIF_RANGE};
    view->GetScrollInfo(SB_HORZ, &h, SIF_RANGE);
    view->GetScrollInfo(SB_VERT, &v, SIF_RANGE);
    // The data's stations, and its elevations widened by 10 m.
    EXPECT_EQ(0, h.nMin);
    EXPECT_EQ(1210, h.nMax);
    EXPECT_EQ(90, v.nMin);
    EXPECT_EQ(120, v.nMax);

    // A line is 10 pixels, a page 100; never beyond the range.
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_DOUBLE_EQ(15.0, view->m_dLeftStation);
    view->SendMessage(WM_HSCROLL, SB_PAGERIGHT);
    EXPECT_DOUBLE_EQ(165.0, view->m_dLeftStation);
    for (int i = 0; i < 20; ++i) view->SendMessage(WM_HSCROLL, SB_PAGELEFT);
    EXPECT_DOUBLE_EQ(0.0, view->m_dLeftStation);
    EXPECT_EQ(0, view->GetScrollPos(SB_HORZ));
    // The vertical bar runs against the elevation.
    for (int i = 0; i < 40; ++i) view->SendMessage(WM_VSCROLL, SB_PAGEUP);
    EXPECT_DOUBLE_EQ(120.0, view->m_dBottomElevation);
    EXPECT_EQ(90, view->GetScrollPos(SB_VERT));
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_DOUBLE_EQ(119.0, view->m_dBottomElevation);

    // Without data the bars do nothing.
    RoadData none(L"", L"", L"");
    view->SendMessage(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_DOUBLE_EQ(0.0, view->m_dLeftStation);
}
