// The profile page in the road-information bar: the live edit of the
// ground point under the editor's caret, the reload of the road's data and
// the wheel turned over the page.
#include "pages_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/BriskoDoc.h"
#include "brisko/editor/BriskoView.h"
#include "brisko/shell/Messages.h"
#include "corvane/road/Profile.h"
#include "corvane/project/TavixInterface.h"
#include <algorithm>
#include <functional>
#include <cmath>

using namespace pages_test;
using wintest::Image;

namespace {

const wchar_t kChain[] = L"1000=990";
const wchar_t kGroundLine[] = L"0 100\n200 102\n500 101\n800 104\n1000 103\n995_2 102.5\n1200_2 106\n";

std::vector<double> GroundStations()
{
    std::vector<double> stations;
    for (int i = 0; i < CurRoadProfile.GetDMXCount(); ++i) stations.push_back(CurRoadProfile.GetDMXZH(i));
    return stations;
}

sGroundPoint Point(double station, double elevation, int segment = -1) { return {station, elevation, segment}; }

// The road's ground-line file open in the editor; closed again at the end,
// with the information bar back on its first page and the road's data as
// the file holds it.
struct OpenGroundLine {
    CDocument* document = nullptr;
    CBriskoView* editor = nullptr;
    OpenGroundLine()
    {
        document = theApp.OpenDocumentFile(RoadFile(L"DMX"));
        if (!document) return;
        POSITION pos = document->GetFirstViewPosition();
        editor = static_cast<CBriskoView*>(document->GetNextView(pos));
        wintest::PumpUntilIdle();
    }
    ~OpenGroundLine()
    {
        if (document) document->OnCloseDocument();
        wintest::PumpUntilIdle();
        Frame()->m_wndRoadInfoBar.SetActiveView(0);
        theApp.LoadCurrentRoadData();
    }
};

} // namespace

TEST(ProfilePage, TheEditedGroundPointReplacesWhatLayBetweenItsNeighbours)
{
    StartProgram();
    CMainFrame* frame = Frame();
    CZDMInfoCtrl& view = ProfilePage()->m_wndView;
    const struct {
        const char* what;
        sGroundPoint point;
        bool hasPrevious, hasNext;
        sGroundPoint previous, next;
        std::vector<double> stations; // afterwards
        double chainage;              // of the point; NAN: nothing changes
    } cases[] = {
        {"moved between its neighbours", Point(510, 101.8), true, true, Point(200, 102), Point(800, 104),
         {0, 200, 510, 800, 1000, 1005, 1210}, 510},
        {"in the second segment", Point(1100, 105, 2), true, true, Point(995, 102.5, 2), Point(1200, 106, 2),
         {0, 200, 500, 800, 1000, 1005, 1110, 1210}, 1110},
        {"before its previous neighbour", Point(150, 99), true, true, Point(200, 102), Point(500, 101),
         {0, 200, 500, 800, 1000, 1005, 1210}, NAN},
        {"the first point, moved", Point(5, 99), false, true, Point(0, 0), Point(200, 102),
         {5, 200, 500, 800, 1000, 1005, 1210}, 5},
        {"the last point, moved", Point(1220, 107, 2), true, false, Point(995, 102.5, 2), Point(0, 0),
         {0, 200, 500, 800, 1000, 1005, 1230}, 1230},
        {"a new point beyond the data", Point(1300, 108, 2), true, false, Point(1200, 106, 2), Point(0, 0),
         {0, 200, 500, 800, 1000, 1005, 1210, 1310}, 1310},
        // The editor passes no neighbour for a line it cannot read (one with
        // a chain suffix): the points beyond stay.
        {"a neighbour the editor cannot read", Point(800, 104.5), true, false, Point(500, 101), Point(0, 0),
         {0, 200, 500, 800, 1000, 1005, 1210}, 800},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RoadData data(kChain, kGroundLine, L"");
        frame->UpdateProfileGroundPoint(&c.point, c.hasPrevious ? &c.previous : nullptr,
                                        c.hasNext ? &c.next : nullptr);
        EXPECT_EQ(c.stations, GroundStations());
        EXPECT_DOUBLE_EQ(c.stations.back(), view.m_dLastStation);
        if (std::isnan(c.chainage)) continue;
        EXPECT_DOUBLE_EQ(c.point.m_dElevation, CurRoadProfile.GetDMXElevation(c.chainage));
        // The cross marks the point in the middle of the plot.
        EXPECT_DOUBLE_EQ(c.chainage, view.m_dMarkerStation);
        EXPECT_DOUBLE_EQ(c.point.m_dElevation, view.m_dMarkerElevation);
        EXPECT_EQ(view.PlotRect().Width() / 2, view.XOfStation(c.chainage));
    }
}

TEST(ProfilePage, TheCaretOnAGroundLineFileShowsItsPointOnTheProfile)
{
    StartProgram();
    CMainFrame* frame = Frame();
    OpenGroundLine open;
    ASSERT_NE(nullptr, open.editor);
    CBriskoView* editor = open.editor;
    const int count = CurRoadProfile.GetDMXCount();

    // Line 6 reads "100.000 128.677".
    const CPoint caret(10, 5);
    editor->SetCursorPos(caret);
    editor->SetAnchor(caret);
    editor->SetSelection(caret, caret);
    editor->UpdateFieldToolTip();
    EXPECT_EQ(1, frame->m_wndRoadInfoBar.GetActiveIndex());
    CZDMInfoCtrl& view = ProfilePage()->m_wndView;
    EXPECT_DOUBLE_EQ(100, view.m_dMarkerStation);
    EXPECT_DOUBLE_EQ(128.677, view.m_dMarkerElevation);
    EXPECT_EQ(count, CurRoadProfile.GetDMXCount());
    wintest::PumpUntilIdle();
    const Image image = Rendering(&view, L"profile_page_edit");
    const CPoint centre(view.XOfStation(100), view.YOfElevation(128.677));
    EXPECT_EQ(RGB(255, 255, 255), image.At(centre.x - 10, centre.y));
    EXPECT_EQ(RGB(255, 255, 255), image.At(centre.x, centre.y - 10));

}

TEST(ProfilePage, EveryJumpOfTheEditorsCaretMovesTheMark)
{
    StartProgram();
    CMainFrame* frame = Frame();
    OpenGroundLine open;
    ASSERT_NE(nullptr, open.editor);
    CBriskoView* editor = open.editor;
    CZDMInfoCtrl& view = ProfilePage()->m_wndView;
    const struct {
        const char* what;
        int line; // where the caret goes (from 0)
        std::function<void(int line)> jump;
    } cases[] = {
        {"go to a line", 7, [&](int line) { editor->GoToLineItem(line, 1); }},
        {"a found text", 11,
         [&](int line) { editor->HighlightText(CPoint(0, line), editor->GetLineLength(line) > 3 ? 3 : 0); }},
        {"the next mark", 9,
         [&](int line) {
             editor->GetTextBuffer()->MarkLine(line, LF_MARK, TRUE, FALSE);
             editor->SendMessage(WM_COMMAND, ID_EDIT_NEXT_MARK);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        editor->GoToLineItem(0, 1);
        c.jump(c.line);
        ASSERT_EQ(c.line, editor->GetCursorPos().y);
        CStringArray fields;
        // The buffer's line is not ended by a zero: it is taken by its length.
        tkx_DivideString(CString(editor->LineText(c.line), editor->GetLineLength(c.line)), fields);
        ASSERT_GE(fields.GetSize(), 2);
        EXPECT_EQ(1, frame->m_wndRoadInfoBar.GetActiveIndex());
        EXPECT_DOUBLE_EQ(_wtof(fields[0]), view.m_dMarkerStation);
        EXPECT_DOUBLE_EQ(_wtof(fields[1]), view.m_dMarkerElevation);
    }

}

TEST(ProfilePage, AChangedGroundLineFileIsReloadedAndTheViewStartsAgain)
{
    StartProgram();
    CZDMInfoCtrl& view = ProfilePage()->m_wndView;
    const std::string kept = ReadBytes(RoadFile(L"DMX"));
    ASSERT_TRUE(ChangeFromOtherProgram(RoadFile(L"DMX"), L"3800.000_2 122.000"));
    EXPECT_TRUE(PumpUntil([&] { return view.m_dLastStation > 3805; }));
    EXPECT_DOUBLE_EQ(3815, view.m_dLastStation);
    EXPECT_DOUBLE_EQ(view.m_dFirstStation, view.m_dLeftStation);
    EXPECT_NE(InfoLines().end(), std::find(InfoLines().begin(), InfoLines().end(), CString(L"重新加载纵断面地面线信息!")));
    WriteBytes(RoadFile(L"DMX"), kept);
    EXPECT_TRUE(PumpUntil([&] { return view.m_dLastStation < 3805; }));
}

TEST(ProfilePage, TheWheelOverThePageZoomsTheViewOnce)
{
    StartProgram();
    CMainFrame* frame = Frame();
    frame->ShowProfilePage();
    wintest::PumpUntilIdle();
    CPPage_ZDMInfo* page = ProfilePage();
    CZDMInfoCtrl& view = page->m_wndView;
    CRect rect;
    view.GetWindowRect(&rect);
    const CPoint inside = rect.CenterPoint();
    // A turn for the page (the bar gave it the focus) and one meant for the
    // view itself: each zooms once.
    for (HWND target : {page->m_hWnd, view.m_hWnd}) {
        view.m_fScale = 1.5f;
        MSG msg{target, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(inside.x, inside.y)};
        if (!page->PreTranslateMessage(&msg)) ::DispatchMessageW(&msg);
        EXPECT_FLOAT_EQ(1.125f, view.m_fScale);
    }
    // Outside the view nothing is passed on.
    view.m_fScale = 1.5f;
    MSG outside{page->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(rect.right + 5, rect.top)};
    page->PreTranslateMessage(&outside);
    EXPECT_FLOAT_EQ(1.5f, view.m_fScale);
    frame->m_wndRoadInfoBar.SetActiveView(0);
    view.ResetView();
}
