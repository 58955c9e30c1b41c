// The cross-section view: the section under the editor's caret read in each
// layout, the point the caret stands in, where the view centres, zoom and
// the context menu; and the page fed by the editor.
#include "pages_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/BriskoView.h"
#include "brisko/editor/FieldDescriptions.h"

using namespace pages_test;
using wintest::Image;

namespace {

const COLORREF kGroundPen = RGB(180, 180, 30);
const COLORREF kCurrentPen = RGB(250, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

sHdxSection Section(short format, const wchar_t* station, const wchar_t* left, const wchar_t* right, int caret = 0)
{
    sHdxSection section;
    section.m_nFormat = format;
    section.m_SStation = station;
    section.m_SLeft = left;
    section.m_SRight = right;
    section.m_iCaret = caret;
    return section;
}

using Points_t = std::vector<std::pair<double, double>>;

void ExpectPoints(const Points_t& expected, const std::vector<double>& d, const std::vector<double>& h)
{
    ASSERT_EQ(expected.size(), d.size());
    ASSERT_EQ(expected.size(), h.size());
    for (size_t i = 0; i < d.size(); ++i) {
        EXPECT_NEAR(expected[i].first, d[i], 1e-9) << i;
        EXPECT_NEAR(expected[i].second, h[i], 1e-9) << i;
    }
}

} // namespace

TEST(SectionView, EachLayoutGivesItsPointsAroundTheCentre)
{
    StartProgram();
    const struct {
        const char* what;
        sHdxSection section;
        int left, right;
        Points_t leftPoints, rightPoints;
    } cases[] = {
        // Raised-rod: each pair from the previous point; a token that is
        // no number ends the side.
        {"raised-rod", Section(1, L"1220", L"2 0.5 3 -0.2 x 4", L"1, 0.1, 2, 0.2"), 2, 2,
         {{-2, 0.5}, {-5, 0.3}}, {{1, 0.1}, {3, 0.3}}},
        // "ABS1": each pair from the centre point, left distances as left.
        {"ABS1", Section(3, L"K1+220", L"2 0.5 5 0.3", L"1.5\t-0.2  4 -0.6"), 2, 2, {{-2, 0.5}, {-5, 0.3}},
         {{1.5, -0.2}, {4, -0.6}}},
        // An odd number of values leaves the last distance out.
        {"odd values", Section(3, L"1220", L"2 0.5 3", L""), 1, 0, {{-2, 0.5}}, {}},
        // Undefined: the points are counted, all at the centre.
        {"undefined", Section(0, L"1220", L"2 0.5 3 0.2", L"1 1"), 2, 1, {{0, 0}, {0, 0}}, {{0, 0}}},
        // "ABS" and a station that is none: no points.
        {"ABS", Section(2, L"1220", L"2 130.5 3 131", L"1 129"), 0, 0, {}, {}},
        {"no station", Section(1, L"桩号", L"2 0.5", L"1 1"), 0, 0, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoneView<CWnd_ShowHDX> view;
        view->m_pSection = &c.section;
        view->ParseSection();
        EXPECT_EQ(c.left, view->m_iLeftCount);
        EXPECT_EQ(c.right, view->m_iRightCount);
        ExpectPoints(c.leftPoints, view->m_LeftDistances, view->m_LeftHeights);
        ExpectPoints(c.rightPoints, view->m_RightDistances, view->m_RightHeights);
        EXPECT_FALSE(view->IsBusy());
        view->m_pSection = nullptr;
    }
}

TEST(SectionView, TheCaretsValueNamesTheCurrentPoint)
{
    const struct {
        int caret;
        int point;
    } cases[] = {
        {0, 0},     // on the station line
        {1, 1},     // left line, first value
        {3, 1},     // on the blank after it
        {4, 1},     // second value
        {9, 2},     // third value
        {13, 2},    // fourth value
        {-1, -1},   // right line, first value
        {-7, -2},   // right line, third value
        {40, 0},    // beyond the line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caret);
        const sHdxSection section = Section(3, L"1220", L"2 0.5 3  -0.2", L"1,0.1,2 0.2", c.caret);
        EXPECT_EQ(c.point, CWnd_ShowHDX::PointOfCaret(section));
    }
}

TEST(SectionView, TheCurrentPointsSegmentIsDrawnRedWithACrossAndCanBeCentred)
{
    StartProgram();
    sHdxSection section = Section(1, L"K1+220.000", L"2 0.5 3 -0.2 4 0.6", L"1.5 0.1 4 -0.4 3 -0.2", 7);
    LoneView<CWnd_ShowHDX> view(700, 300);
    view->m_pSection = &section;
    view->ParseSection();
    ASSERT_EQ(2, view->m_iCurrentPoint);
    // Without auto-centre the view keeps its distance and puts height 0 in
    // the middle row.
    EXPECT_DOUBLE_EQ(-15.0, view->m_dLeftDistance);
    EXPECT_NEAR(0.0, view->HeightAtY(view->PlotRect().Height() / 2), 1e-9);

    const Image image = Rendering(&*view, L"section_current");
    // The segment from the first left point (-2, 0.5) to the second (-5,
    // 0.3) is red, the others in the ground colour; the cross on (-5, 0.3).
    auto middle = [&](double d1, double h1, double d2, double h2) {
        return CPoint((view->XOfDistance(d1) + view->XOfDistance(d2)) / 2,
                      (view->YOfHeight(h1) + view->YOfHeight(h2)) / 2);
    };
    const CPoint current = middle(-2, 0.5, -5, 0.3), other = middle(-5, 0.3, -9, 0.9), right = middle(0, 0, 1.5, 0.1);
    EXPECT_GT(image.Count(CRect(current.x - 1, current.y - 1, current.x + 2, current.y + 2), kCurrentPen), 0);
    EXPECT_GT(image.Count(CRect(other.x - 1, other.y - 1, other.x + 2, other.y + 2), kGroundPen), 0);
    EXPECT_GT(image.Count(CRect(right.x - 1, right.y - 1, right.x + 2, right.y + 2), kGroundPen), 0);
    const CPoint cross(view->XOfDistance(-5), view->YOfHeight(0.3));
    EXPECT_EQ(kWhite, image.At(cross.x - 4, cross.y));
    EXPECT_EQ(kWhite, image.At(cross.x, cross.y + 4));

    // With auto-centre the current point comes to the middle; a right-line
    // caret names a right point.
    view->SendMessage(WM_COMMAND, ID_HDX_CENTRE);
    ASSERT_EQ(1, view->m_bAutoCentre);
    section.m_iCaret = -9;
    view->ParseSection();
    EXPECT_EQ(-2, view->m_iCurrentPoint);
    EXPECT_EQ(view->PlotRect().Width() / 2, view->XOfDistance(5.5));
    EXPECT_NEAR(-0.3, view->HeightAtY(view->PlotRect().Height() / 2), 1e-9);
    Rendering(&*view, L"section_centred");
    view->m_pSection = nullptr;
}

TEST(SectionView, ZoomButtonsAndTheWheelKeepTheirRanges)
{
    StartProgram();
    LoneView<CWnd_ShowHDX> view;
    for (int i = 0; i < 100; ++i) view->SendMessage(WM_COMMAND, ID_PAGE_ZOOMIN);
    EXPECT_EQ(102, view->m_iZoom);
    for (int i = 0; i < 100; ++i) view->SendMessage(WM_COMMAND, ID_PAGE_ZOOMOUT);
    EXPECT_EQ(2, view->m_iZoom);

    // The wheel: 2 pixels per metre a notch between 4 and 100, the point
    // under the cursor staying there.
    view->m_iZoom = 40;
    const double distance = view->DistanceAtX(250), height = view->HeightAtY(120);
    Wheel(&*view, 3, 250, 120);
    EXPECT_EQ(46, view->m_iZoom);
    EXPECT_NEAR(distance, view->DistanceAtX(250), 1.0 / 46);
    EXPECT_NEAR(height, view->HeightAtY(120), 1.0 / 46);
    Wheel(&*view, 40, 250, 120);
    EXPECT_EQ(100, view->m_iZoom);
    Wheel(&*view, -60, 250, 120);
    EXPECT_EQ(4, view->m_iZoom);
}

TEST(SectionView, TheContextMenuFollowsTheSwitches)
{
    StartProgram();
    LoneView<CWnd_ShowHDX> view;
    const struct {
        int autoCentre, current;
        UINT centreState; // of "当前段自动居中"
    } cases[] = {{0, 0, MF_GRAYED}, {0, 2, 0}, {1, 2, MF_CHECKED}, {1, 0, MF_GRAYED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.autoCentre * 10 + c.current);
        view->m_bAutoCentre = c.autoCentre;
        view->m_iCurrentPoint = c.current;
        CMenu menu;
        ASSERT_TRUE(view->BuildContextMenu(menu));
        EXPECT_EQ(5, menu.GetMenuItemCount());
        EXPECT_EQ(c.centreState, menu.GetMenuState(ID_HDX_AUTOCENTRE, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
    }
    // The three switches check their items and turn with their commands.
    for (UINT id : {ID_HDX_NOTES, ID_HDX_DMGRID, ID_HDX_MGRID}) {
        SCOPED_TRACE(id);
        CMenu before;
        view->BuildContextMenu(before);
        EXPECT_EQ(UINT(MF_CHECKED), before.GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED);
        view->SendMessage(WM_COMMAND, id);
        CMenu after;
        view->BuildContextMenu(after);
        EXPECT_EQ(0u, after.GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED);
    }
    view->SendMessage(WM_COMMAND, ID_HDX_AUTOCENTRE);
    EXPECT_EQ(0, view->m_bAutoCentre);
}

TEST(SectionPage, TheCaretInACrossSectionFileShowsItsSection)
{
    StartProgram();
    CMainFrame* frame = Frame();
    CDocument* document = theApp.OpenDocumentFile(RoadFile(L"HDX"));
    ASSERT_NE(nullptr, document);
    POSITION pos = document->GetFirstViewPosition();
    auto* editor = static_cast<CBriskoView*>(document->GetNextView(pos));
    wintest::PumpUntilIdle();
    // Line 3 is the first section's left line (the file begins "ABS1",
    // "0.000"); the caret in its third value.
    const CPoint caret(13, 2);
    editor->SetCursorPos(caret);
    editor->SetAnchor(caret);
    editor->SetSelection(caret, caret);
    editor->UpdateFieldToolTip();
    EXPECT_EQ(2, frame->m_wndRoadInfoBar.GetActiveIndex());
    CWnd_ShowHDX& view = SectionPage()->m_wndView;
    EXPECT_EQ(3, CurHdxSection.m_nFormat);
    EXPECT_EQ(7, view.m_iLeftCount);
    EXPECT_EQ(7, view.m_iRightCount);
    EXPECT_EQ(2, view.m_iCurrentPoint);
    EXPECT_NEAR(-4.0, view.m_LeftDistances[1], 1e-9);
    EXPECT_NEAR(0.009, view.m_LeftHeights[1], 1e-9);
    Rendering(&view, L"section_page");

    document->OnCloseDocument();
    wintest::PumpUntilIdle();
    frame->m_wndRoadInfoBar.SetActiveView(0);
}

TEST(SectionView, DragScrollAndReadOutWorkInMetresFromTheCentre)
{
    StartProgram();
    sHdxSection section = Section(1, L"1220", L"2 0.5 3 -0.2", L"1.5 0.1 4 -0.4");
    LoneView<CWnd_ShowHDX> view;
    view->m_pSection = &section;
    view->ParseSection();
    // Drag: the view follows the mouse, 40 pixels a metre.
    const double left = view->m_dLeftDistance, bottom = view->m_dBottomHeight;
    Mouse(&*view, WM_LBUTTONDOWN, 200, 200, MK_LBUTTON);
    ASSERT_EQ(&*view, CWnd::GetCapture());
    Mouse(&*view, WM_MOUSEMOVE, 280, 180, MK_LBUTTON);
    Mouse(&*view, WM_LBUTTONUP, 280, 180);
    EXPECT_NE(&*view, CWnd::GetCapture());
    EXPECT_DOUBLE_EQ(left - 2, view->m_dLeftDistance);
    EXPECT_DOUBLE_EQ(bottom - 0.5, view->m_dBottomHeight);

    // The horizontal range: 5 m beyond the last points, in decimetres; a
    // line is 1 m while a tenth of a zoom's worth still fits, else the view
    // stops at the range's end.
    SCROLLINFO h{sizeof h, SIF_RANGE};
    view->GetScrollInfo(SB_HORZ, &h, SIF_RANGE);
    EXPECT_EQ(-100, h.nMin);
    EXPECT_EQ(105, h.nMax);
    view->m_dLeftDistance = -8.5;
    view->SendMessage(WM_HSCROLL, SB_LINELEFT);
    EXPECT_DOUBLE_EQ(-9.5, view->m_dLeftDistance);
    view->m_dLeftDistance = -9.99;
    view->SendMessage(WM_HSCROLL, SB_LINELEFT);
    EXPECT_DOUBLE_EQ(-10.0, view->m_dLeftDistance);
    EXPECT_EQ(-100, view->GetScrollPos(SB_HORZ));

    // The read-out: distance and height from the centre under the mouse.
    Mouse(&*view, WM_MOUSEMOVE, 400, 100);
    wintest::PrintWindowImage(&*view);
    EXPECT_EQ(ClFormat(L"与中桩 水平距离:%.3f米, 高差:%.3f米", view->DistanceAtX(400), view->HeightAtY(100)),
              StatusText());
    view->m_pSection = nullptr;
}
