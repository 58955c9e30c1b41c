// The slope-template preview: where the sketch lands on the screen, the grid
// rules by scale, zooming, scrolling and dragging, the context menu's
// switches, and renderings of every symbol, a sketch error and the
// dimensions (picture_*.bmp in the working folder).
#include "brisko/templates/SlopePicture.h"
#include "templates_world.h"
#include <algorithm>
#include <string>
#include <vector>
#include <cmath>

using namespace templates_test;
using namespace wintest;

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kMetreGrid = RGB(0, 80, 0);
const COLORREF kDecimetreGrid = RGB(0, 50, 20);
const COLORREF kPlain = RGB(255, 153, 62);
const COLORREF kTopsoil = RGB(250, 250, 0);
const COLORREF kCurrent = RGB(250, 0, 0);
const COLORREF kHidden = RGB(128, 128, 0);

// One shown frame for the suite (ResetView acts only on a shown preview,
// and a shown window costs seconds to destroy here).
class PictureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_frame = new TestFrame(true, CRect(40, 40, 700, 500), L"边坡模板预览");
        s_picture = new CSlopePicture;
        // With its scroll bars from the start, so the client size stays.
        ASSERT_TRUE(s_picture->Create(CRect(0, 0, 600, 400), WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, s_frame,
                                      708));
        PumpUntilIdle();
    }
    static void TearDownTestSuite()
    {
        s_picture->DestroyWindow();
        delete s_picture;
        s_frame->DestroyWindow();
        PumpUntilIdle();
    }
    void SetUp() override
    {
        ResetLibraries();
        m_lines.RemoveAll();
        CSlopePicture& p = *s_picture;
        p.m_pSlopeLines = &m_lines;
        p.m_nCurLine = 0;
        p.m_bShowAllSymbols = p.m_bShowDmGrid = p.m_bShowMGrid = 1;
        p.m_iScale = 40;
        p.m_STemplatePath = LibraryFolder() + L"\\示例.TYP";
    }
    void TearDown() override { s_picture->m_pSlopeLines = nullptr; }

    // The lines sketched from the subgrade edge, shown from the start.
    void Show()
    {
        m_lines[0].SetStartPoint(sSketchPoint{1.0f, -1.0f});
        SketchSlopeLines(m_lines);
        s_picture->ResetView();
    }
    Image Picture() { return PrintWindowImage(s_picture, true); }
    static bool Near(const Image& image, CPoint at, COLORREF colour, int reach = 1)
    {
        return image.Count(CRect(at.x - reach, at.y - reach, at.x + reach + 1, at.y + reach + 1), colour) > 0;
    }
    // The box, in client pixels, of what the template draws at the present
    // view, also where it falls off the client: the view drawn on a canvas
    // `border` pixels larger all round, without grid and path (the title's
    // first words stay in the canvas's top-left corner, far off the client).
    static CRect DrawnPixels(CSlopePicture& p)
    {
        const int border = 300;
        const CRect client = p.m_rcClient;
        const double x = p.m_rOriginX, y = p.m_rOriginY;
        const int dm = p.m_bShowDmGrid, m = p.m_bShowMGrid;
        const CString path = p.m_STemplatePath;
        p.m_rcClient = CRect(0, 0, client.Width() + 2 * border, client.Height() + 2 * border);
        p.m_rOriginX = x - static_cast<double>(border) / p.m_iScale;
        p.m_rOriginY = y - static_cast<double>(border) / p.m_iScale;
        p.m_bShowDmGrid = p.m_bShowMGrid = 0;
        p.m_STemplatePath.Empty();
        const Image image =
            RenderPaint(p.m_rcClient.Width(), p.m_rcClient.Height(), [&](CDC& dc) { p.Draw(&dc); });
        p.m_rcClient = client;
        p.m_rOriginX = x;
        p.m_rOriginY = y;
        p.m_bShowDmGrid = dm;
        p.m_bShowMGrid = m;
        p.m_STemplatePath = path;
        const CRect title(0, 0, 120, 20);
        CRect box(0, 0, 0, 0);
        for (int py = 0; py < image.Height(); ++py)
            for (int px = 0; px < image.Width(); ++px)
                if (image.At(px, py) != kBlack && !title.PtInRect(CPoint(px, py))) {
                    if (box.IsRectEmpty())
                        box = CRect(px, py, px + 1, py + 1);
                    else
                        box.UnionRect(box, CRect(px, py, px + 1, py + 1));
                }
        box.OffsetRect(-border, -border);
        return box;
    }

    static TestFrame* s_frame;
    static CSlopePicture* s_picture;
    CSlopeLineArray m_lines;
};

TestFrame* PictureTest::s_frame = nullptr;
CSlopePicture* PictureTest::s_picture = nullptr;

} // namespace

TEST_F(PictureTest, TheViewStartsAtTheSubgradeEdgeAndMapsMetresToPixels)
{
    m_lines.Add(MakeLine(0, 1.5, 1, 0, 2.0)); // from (1, -1) to (4, -3)
    Show();
    CSlopePicture& p = *s_picture;
    const int h = p.m_rcClient.Height();
    ASSERT_GT(h, 300);
    // Height 0 in the middle, the subgrade edge 2.5 m from the left.
    EXPECT_DOUBLE_EQ(-1.5, p.m_rOriginX);
    EXPECT_DOUBLE_EQ(-0.5 * h / 40, p.m_rOriginY);
    EXPECT_EQ(CPoint(100, h / 2 + 40), p.ToScreen(1.0, -1.0));
    const CPoint end = p.ToScreen(4.0, -3.0);
    EXPECT_EQ(CPoint(220, h / 2 + 120), end);
    double x = 0, y = 0;
    p.ToWorld(CPoint(220, 120), x, y);
    EXPECT_DOUBLE_EQ(4.0, x);
    EXPECT_NEAR(0.5 * (h - 240) / 40, y, 1e-12);

    const Image image = Picture();
    image.SaveBmp(L"picture_start.bmp");
    const int row = p.ToScreen(0, -4.05).y; // between two grid lines
    EXPECT_EQ(kBlack, image.At(p.m_rcClient.Width() - 5, row));
    EXPECT_EQ(kMetreGrid, image.At(140, row));     // x = 2 m
    EXPECT_EQ(kDecimetreGrid, image.At(144, row)); // x = 2.1 m
    EXPECT_TRUE(Near(image, CPoint(160, h / 2 + 80), kCurrent)); // the middle of the current line

    // The scroll ranges follow the template: to 10 x the last end.
    SCROLLINFO across = {sizeof(SCROLLINFO), SIF_RANGE};
    p.GetScrollInfo(SB_HORZ, &across);
    EXPECT_EQ(-100, across.nMin);
    EXPECT_EQ(40, across.nMax);
    SCROLLINFO v = {sizeof(SCROLLINFO), SIF_RANGE};
    p.GetScrollInfo(SB_VERT, &v);
    EXPECT_EQ(-80, v.nMin); // the least of 30 and the heights (-3), less 5 m
    EXPECT_EQ(40, v.nMax);  // the greatest of -30 and the heights (-1), plus 5 m
}

bool Holds(const CRect& outer, const CRect& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
std::string Text(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Lines with marks and labels around them.
CSlopeLine Storing(CSlopeLine line)
{
    line.m_bArcWithNext = line.m_bSaveEndOffset = line.m_bSavePosType = line.m_bSaveLength = 1;
    line.m_bLabelSlope = line.m_bLabelOffsetElev = 1;
    line.m_iLabelOffsetElevPos = 4; // under the middle
    return line;
}
CSlopeLine WalledAndStopped(CSlopeLine line)
{
    line.m_bInsertWall = line.m_bStopControl = 1;
    line.m_iWallPos = 1; // at the end, the termination mark above it
    line.m_sControlFile = L"没有.DQ";
    line.m_bLabelOffsetElev = 1;
    line.m_iLabelOffsetElevPos = 2; // above the end
    return line;
}

// Fitted, a template of any size shows whole, with its marks and labels,
// clear of the title line, at the largest scale that holds it (within 4 to
// 100 pixels per metre); one too large even at 4 keeps its start in view.
// DrawnExtent holds every pixel the template draws.
TEST_F(PictureTest, AFittedViewShowsTheWholeTemplate)
{
    CSlopeLine failed = MakeLine(0, 1.5, 0, 0, 0.0); // no slope length: the error mark and message
    failed.m_bSaveLength = 1;
    const struct {
        const char* what;
        std::vector<CSlopeLine> lines;
    } cases[] = {
        {"one short line", {MakeLine(0, 1.5, 1, 0, 0.5)}},
        {"a high fill in steps", {MakeLine(0, 1.5, 1, 0, 8.0), MakeLine(0, 33.33333, 0, 0, 2.0), MakeLine(0, 1.75, 1, 0, 8.0)}},
        {"a cut going up", {MakeLine(0, -1.0, 1, 0, 12.0), MakeLine(0, -33.33333, 0, 0, 2.0), MakeLine(0, -1.0, 1, 0, 12.0)}},
        {"a long gentle slope", {MakeLine(0, 20.0, 0, 0, 400.0)}},
        {"a short fill storing every value", {Storing(MakeLine(0, 1.5, 1, 0, 1.0)), Storing(MakeLine(0, 1000.0, 2, 0, 1.0))}},
        {"a cut going up to a wall", {MakeLine(0, -1.0, 1, 0, 3.0), WalledAndStopped(MakeLine(0, -1.0, 1, 3, 1.0))}},
        {"a wide berm with marks below", {Storing(MakeLine(0, 1000.0, 2, 0, 9.0)), WalledAndStopped(MakeLine(0, 1.5, 1, 0, 1.0))}},
        {"a failed sketch", {MakeLine(0, 1.5, 1, 0, 2.0), failed}},
        {"a long gentle slope storing every value", {Storing(MakeLine(0, 20.0, 0, 0, 400.0))}},
    };
    CSlopePicture& p = *s_picture;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_lines.RemoveAll();
        for (const CSlopeLine& line : c.lines) m_lines.Add(line);
        Show();
        // Each line sketches but the last of the failed sketch.
        const bool failing = std::string(c.what) == "a failed sketch";
        for (INT_PTR i = 0; i < m_lines.GetSize(); ++i)
            EXPECT_EQ(failing && i == m_lines.GetSize() - 1, m_lines[i].m_bError != 0) << "line " << i;
        p.FitView();
        const CRect inside(0, 30, p.m_rcClient.right, p.m_rcClient.bottom);
        auto allInside = [&] {
            for (INT_PTR i = 0; i < m_lines.GetSize(); ++i)
                for (const sSketchPoint& end : {m_lines[i].m_ptStart, m_lines[i].m_ptEnd})
                    if (!inside.PtInRect(p.ToScreen(end.x, end.y))) return false;
            return true;
        };
        EXPECT_GE(p.m_iScale, 4);
        EXPECT_LE(p.m_iScale, 100);
        double left = 1, right = 1, low = -1, high = -1;
        for (INT_PTR i = 0; i < m_lines.GetSize(); ++i)
            for (const sSketchPoint& end : {m_lines[i].m_ptStart, m_lines[i].m_ptEnd}) {
                left = std::min<double>(left, end.x);
                right = std::max<double>(right, end.x);
                low = std::min<double>(low, end.y);
                high = std::max<double>(high, end.y);
            }
        const CRect extent = p.DrawnExtent();
        const CRect pixels = DrawnPixels(p);
        EXPECT_TRUE(Holds(extent, pixels)) << "drawn " << Text(pixels) << ", measured " << Text(extent);
        const CRect belowTitle(0, 22, p.m_rcClient.right, p.m_rcClient.bottom);
        if (p.m_iScale > 4) {
            EXPECT_TRUE(allInside());
            EXPECT_TRUE(Holds(belowTitle, extent)) << Text(extent);
            EXPECT_TRUE(Holds(belowTitle, pixels)) << Text(pixels);
            // Not lost in the middle: it fills the view one way or the other
            // (or is drawn at the largest scale).
            EXPECT_TRUE(p.m_iScale == 100 || (right - left) * p.m_iScale > p.m_rcClient.Width() / 2 ||
                        (high - low) * p.m_iScale > p.m_rcClient.Height() / 2 ||
                        extent.Width() > p.m_rcClient.Width() / 2 || extent.Height() > p.m_rcClient.Height() / 2);
            // The largest such scale: one more and the drawing fills the view
            // but for a few pixels, one way or the other.
            if (p.m_iScale < 100) {
                const int scale = p.m_iScale;
                ++p.m_iScale;
                const CRect larger = p.DrawnExtent();
                p.m_iScale = scale;
                EXPECT_TRUE(larger.Width() > p.m_rcClient.Width() - 16 ||
                            larger.Height() > belowTitle.Height() - 16);
            }
        } else {
            EXPECT_TRUE(inside.PtInRect(p.ToScreen(m_lines[0].m_ptStart.x, m_lines[0].m_ptStart.y)));
            // Going down from the subgrade edge, the drawing shows from its
            // left and its top (the subgrade mark, the first line's labels).
            EXPECT_GE(extent.left, 0) << Text(extent);
            EXPECT_GE(extent.top, belowTitle.top) << Text(extent);
            EXPECT_GE(pixels.left, 0) << Text(pixels);
            EXPECT_GE(pixels.top, belowTitle.top) << Text(pixels);
        }
        const Image image = Picture();
        image.SaveBmp(ClFormat(L"picture_fitted_%d.bmp", static_cast<int>(&c - cases)));
    }
    // The long slope needs less than the least scale: its start is in view.
    EXPECT_EQ(4, p.m_iScale);
}

TEST_F(PictureTest, GridLinesDependOnTheScale)
{
    m_lines.Add(MakeLine(0, 1.5, 1, 0, 2.0));
    Show();
    CSlopePicture& p = *s_picture;
    struct Case {
        int scale;
        bool decimetres, everyMetre;
    };
    for (const Case& c : {Case{30, true, true}, Case{29, false, true}, Case{8, false, true}, Case{7, false, false}}) {
        SCOPED_TRACE(c.scale);
        p.m_iScale = c.scale;
        p.m_rOriginX = 0.0; // x = 0 at the left edge
        p.m_rOriginY = -20.0;
        const Image image = Picture();
        const int row = p.ToScreen(0, -10.55).y; // between two grid lines at every scale
        EXPECT_EQ(c.decimetres ? kDecimetreGrid : kBlack, image.At(p.ToScreen(1.5, 0).x, row));
        EXPECT_EQ(c.everyMetre ? kMetreGrid : kBlack, image.At(p.ToScreen(1.0, 0).x, row));
        EXPECT_EQ(kMetreGrid, image.At(p.ToScreen(5.0, 0).x, row)); // every fifth metre always
    }
    p.m_iScale = 40;
    p.m_bShowMGrid = 0;
    p.m_bShowDmGrid = 0;
    p.m_rOriginX = 0.0;
    p.m_rOriginY = -12.0;
    const Image bare = Picture();
    EXPECT_EQ(kBlack, bare.At(p.ToScreen(5.0, 0).x, p.ToScreen(0, -10.05).y));
    EXPECT_EQ(kBlack, bare.At(p.ToScreen(5.1, 0).x, p.ToScreen(0, -10.05).y));
}

TEST_F(PictureTest, ZoomKeepsThePointUnderTheCursorWithinFourToHundred)
{
    m_lines.Add(MakeLine(0, 1.5, 1, 0, 2.0));
    Show();
    CSlopePicture& p = *s_picture;
    const CPoint cursor = p.ToScreen(4.0, -3.0);
    double wx = 0, wy = 0;
    p.ToWorld(cursor, wx, wy);
    CPoint screen = cursor;
    p.ClientToScreen(&screen);
    const LPARAM where = MAKELPARAM(screen.x, screen.y);
    p.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 3), where);
    EXPECT_EQ(46, p.m_iScale);
    double x = 0, y = 0;
    p.ToWorld(cursor, x, y);
    EXPECT_NEAR(wx, x, 1e-9);
    EXPECT_NEAR(wy, y, 1e-9);
    p.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120 * 60), where);
    EXPECT_EQ(100, p.m_iScale);
    p.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120 * 60)), where);
    EXPECT_EQ(4, p.m_iScale);
    p.ToWorld(cursor, x, y);
    EXPECT_NEAR(wx, x, 1e-9);
    EXPECT_NEAR(wy, y, 1e-9);
}

TEST_F(PictureTest, ScrollBarsAndDraggingMoveTheView)
{
    m_lines.Add(MakeLine(0, 1.5, 1, 0, 2.0));
    m_lines.Add(MakeLine(0, 1000.0, 2, 0, 6.0)); // to x = 10
    Show();
    CSlopePicture& p = *s_picture;
    p.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_DOUBLE_EQ(-0.5, p.m_rOriginX);
    p.SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_DOUBLE_EQ(9.5, p.m_rOriginX);
    p.SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0); // the range ends at 10 m
    EXPECT_DOUBLE_EQ(10.0, p.m_rOriginX);
    EXPECT_EQ(100, p.GetScrollPos(SB_HORZ));
    const double y = p.m_rOriginY;
    p.SendMessage(WM_VSCROLL, SB_LINEUP, 0); // the view moves up
    EXPECT_DOUBLE_EQ(y + 1.0, p.m_rOriginY);
    SCROLLINFO v = {sizeof(SCROLLINFO), SIF_RANGE};
    p.GetScrollInfo(SB_VERT, &v);
    EXPECT_EQ(static_cast<int>(v.nMin + v.nMax - 10 * p.m_rOriginY), p.GetScrollPos(SB_VERT));

    // A drag of 40 pixels right and 20 down moves the world with the mouse.
    const double x0 = p.m_rOriginX, y0 = p.m_rOriginY;
    p.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(p.m_hWnd, ::GetCapture());
    p.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 120));
    p.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(140, 120));
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_DOUBLE_EQ(x0 - 1.0, p.m_rOriginX);
    EXPECT_DOUBLE_EQ(y0 + 0.5, p.m_rOriginY);
    // The middle button drags too; a move without a button does nothing.
    p.SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(100, 100));
    p.SendMessage(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(60, 100));
    p.SendMessage(WM_MBUTTONUP, 0, MAKELPARAM(60, 100));
    p.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    EXPECT_DOUBLE_EQ(x0, p.m_rOriginX);
}

TEST_F(PictureTest, MenuCommandsSwitchSymbolsAndGrids)
{
    CSlopePicture& p = *s_picture;
    for (UINT id : {40060u, 40061u}) {
        const int before = p.m_bShowAllSymbols;
        p.SendMessage(WM_COMMAND, id, 0);
        EXPECT_EQ(!before, p.m_bShowAllSymbols);
    }
    p.SendMessage(WM_COMMAND, 40062, 0);
    EXPECT_EQ(0, p.m_bShowDmGrid);
    p.SendMessage(WM_COMMAND, 40063, 0);
    EXPECT_EQ(0, p.m_bShowMGrid);
}

// Pens by line: current red, others by drawn, dashed and topsoil; symbols
// only of the current line unless all are asked for.
TEST_F(PictureTest, PensAndSymbolsFollowTheLines)
{
    m_lines.Add(MakeLine(0, 1.5, 1, 0, 2.0));   // current
    m_lines.Add(MakeLine(0, 1000.0, 2, 0, 2.0)); // topsoil
    m_lines.Add(MakeLine(0, -1.0, 1, 0, 2.0));  // not topsoil
    m_lines.Add(MakeLine(0, 1000.0, 2, 0, 2.0)); // not drawn
    m_lines[2].m_bTopsoil = 0;
    m_lines[3].m_bDraw = 0;
    m_lines[3].m_bLabelSlope = 1;
    Show();
    CSlopePicture& p = *s_picture;
    auto middle = [&](int i) {
        const CPoint a = p.ToScreen(m_lines[i].m_ptStart.x, m_lines[i].m_ptStart.y);
        const CPoint b = p.ToScreen(m_lines[i].m_ptEnd.x, m_lines[i].m_ptEnd.y);
        return CPoint((a.x + b.x) / 2, (a.y + b.y) / 2);
    };
    Image image = Picture();
    EXPECT_TRUE(Near(image, middle(0), kCurrent));
    EXPECT_TRUE(Near(image, middle(1), kTopsoil));
    EXPECT_TRUE(Near(image, middle(2), kPlain));
    EXPECT_TRUE(Near(image, middle(3), kHidden));
    const CPoint label(middle(3).x, middle(3).y - 6);
    const CRect labelArea(label.x - 15, label.y - 8, label.x + 15, label.y + 4);
    EXPECT_GT(image.Count(labelArea, RGB(150, 150, 150)), 0);

    p.m_bShowAllSymbols = 0; // the gradient label of line 3 goes
    image = Picture();
    EXPECT_EQ(0, image.Count(labelArea, RGB(150, 150, 150)));
}

TEST_F(PictureTest, AnEmptyOrMissingListDrawsOnlyGridAndTitle)
{
    CSlopePicture& p = *s_picture;
    for (bool missing : {false, true}) {
        p.m_pSlopeLines = missing ? nullptr : &m_lines;
        p.ResetView();
        const Image image = Picture();
        image.SaveBmp(missing ? L"picture_missing.bmp" : L"picture_empty.bmp");
        int other = 0;
        for (int y = 20; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const COLORREF c = image.At(x, y);
                if (c != kBlack && c != kMetreGrid && c != kDecimetreGrid) ++other;
            }
        EXPECT_EQ(0, other);
        EXPECT_GT(image.Count(CRect(0, 0, 100, 18), RGB(255, 255, 0)), 20); // "边坡模板预览: "
        EXPECT_GT(image.Count(CRect(100, 0, 600, 20), RGB(150, 190, 180)), 20); // the path
    }
}

// A line whose sketch failed shows the error mark and its message, and no
// other symbol of its own.
TEST_F(PictureTest, ASketchErrorShowsItsMarkAndMessageOnly)
{
    m_lines.Add(MakeLine(0, 1.5, 0, 0, 0.0)); // no slope length
    m_lines[0].m_bLabelSlope = 1;
    m_lines[0].m_bSaveLength = 1;
    m_lines[0].m_bStopControl = 1;
    Show();
    CSlopePicture& p = *s_picture;
    const Image image = Picture();
    image.SaveBmp(L"picture_error.bmp");
    const CPoint a = p.ToScreen(m_lines[0].m_ptStart.x, m_lines[0].m_ptStart.y);
    const CPoint b = p.ToScreen(m_lines[0].m_ptEnd.x, m_lines[0].m_ptEnd.y);
    const CPoint middle((a.x + b.x) / 2, (a.y + b.y) / 2);
    EXPECT_GT(image.Count(CRect(middle.x - 16, middle.y + 10, middle.x + 16, middle.y + 42), RGB(220, 40, 40)), 50);
    EXPECT_GT(image.Count(CRect(middle.x - 60, middle.y + 55, middle.x + 60, middle.y + 70), RGB(255, 255, 255)), 20);
    // No stored-length mark under the middle, no termination mark at the end.
    EXPECT_EQ(0, image.Count(CRect(middle.x - 8, middle.y + 54, middle.x + 24, middle.y + 86), RGB(120, 210, 110)));
    EXPECT_EQ(0, image.Count(CRect(b.x - 16, b.y - 32, b.x + 16, b.y), RGB(220, 40, 40)));
}

// Every symbol on one template, for a person to look at: thickness bands,
// crosses of lines outside the earthwork, each end-rule mark with its
// dimension, control-file names (one missing), walls, labels, the stored
// values and both terminations.
TEST_F(PictureTest, EverySymbolRendering)
{
    WriteLibraryFile(L"一号路.DQ", L"0 1\n");
    CSlopeLine fill = MakeLine(0, 1.5, 0, 0, 3.0);
    fill.m_bLabelSlope = fill.m_bLabelOffsetElev = 1;
    fill.m_iLabelOffsetElevPos = 2;
    fill.m_bSaveEndOffset = fill.m_bSavePosType = fill.m_bSaveLength = 1;
    fill.m_bInsertWall = 1;
    fill.m_iWallPos = 0;
    m_lines.Add(fill);
    CSlopeLine berm = MakeLine(0, 33.33333, 0, 0, 1.0);
    berm.m_bThickness = 1;
    berm.m_rStartThickness = berm.m_rEndThickness = 0.3;
    berm.m_bLabelSlope = 1;
    berm.m_iSlopeLabelStyle = 1;
    m_lines.Add(berm);
    CSlopeLine wall = MakeLine(0, 1.5, 1, 3, 1.0);
    wall.m_sControlFile = L"一号路.DQ";
    wall.m_bEarthwork = 0;
    wall.m_bStopControl = 1;
    wall.m_iStopAction = 1;
    m_lines.Add(wall);
    CSlopeLine ditch = MakeLine(0, 1.0, 1, 1, 0.6);
    ditch.m_bDashed = 1;
    ditch.m_bArcWithNext = 1;
    ditch.m_bLabelOffsetElev = 1;
    ditch.m_iLabelOffsetElevPos = 4;
    m_lines.Add(ditch);
    CSlopeLine width = MakeLine(0, 1000.0, 2, 2, 1.0);
    width.m_sControlFile = L"没有.KD";
    width.m_bInsertWall = 1;
    width.m_iWallPos = 1;
    width.m_bStopControl = 1;
    m_lines.Add(width);
    CSlopeLine cut = MakeLine(0, -1.0, 2, 5, 1.0);
    cut.m_bTopsoil = 0;
    cut.m_bLabelSlope = 1;
    m_lines.Add(cut);
    CSlopeLine up = MakeLine(2, 1.0, 1, 0, -1.5);
    up.m_bThickness = 1;
    up.m_rStartThickness = 0.2;
    up.m_rEndThickness = 0.4;
    m_lines.Add(up);
    CSlopeLine hidden = MakeLine(0, -1.5, 0, 2, 2.0);
    hidden.m_bDraw = 0;
    m_lines.Add(hidden);
    CSlopeLine curve = MakeLine(0, -1.5, 1, 4, 1.0);
    m_lines.Add(curve);
    CSlopeLine length = MakeLine(0, 1.5, 0, 1, 1.0);
    m_lines.Add(length);
    s_picture->m_nCurLine = 2;
    Show();
    s_picture->m_iScale = 22;
    s_picture->m_rOriginX = -1.0;
    s_picture->m_rOriginY = -12.0;
    Picture().SaveBmp(L"picture_symbols.bmp");

    s_picture->m_iScale = 60;
    s_picture->m_rOriginX = 0.0;
    s_picture->m_rOriginY = -4.5;
    const Image close = Picture();
    close.SaveBmp(L"picture_dimensions.bmp");
    // The first line's dimension (3.000 along the slope) in the dimension
    // colour of lines that are not current.
    EXPECT_GT(close.Count(CRect(0, 0, 600, 400), RGB(0, 128, 128)), 40);
    EXPECT_GT(close.Count(CRect(0, 0, 600, 400), RGB(0, 228, 228)), 10); // the current line's
}

// The gradient label of each kind of line in both styles: a line fixed by
// height or by width is labelled with the gradient of its sketch, width
// over height.
TEST(SlopeGradientLabel, EachKindOfLineInBothStyles)
{
    const struct {
        const char* what;
        CSlopeLine line;
        const wchar_t* ratio;
        const wchar_t* percent;
    } cases[] = {
        {"gradient 1:1.5", MakeLine(0, 1.5, 0, 0, 3.0), L"1: 1.5", L"66.67 %"},
        {"cut gradient 1:1", MakeLine(0, -1.0, 2, 5, 1.0), L"1: 1", L"100 %"},
        {"height 2 over width 3", MakeLine(1, 2.0, 2, 0, 3.0), L"1: 1.5", L"66.67 %"},
        {"width 4 over height 2", MakeLine(2, 4.0, 0, 0, 2.0), L"1: 2", L"50 %"},
        {"width 1 over height 4", MakeLine(2, 1.0, 0, 0, 4.0), L"1: 0.25", L"400 %"},
        {"level, width 2 over height 0", MakeLine(2, 2.0, 0, 0, 0.0), L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSlopeLine line = c.line;
        ASSERT_EQ(0, line.m_bError) << Utf8(line.m_sMessage);
        line.m_iSlopeLabelStyle = 0;
        EXPECT_EQ(CString(c.ratio), SlopeGradientLabel(line));
        line.m_iSlopeLabelStyle = 1;
        EXPECT_EQ(CString(c.percent), SlopeGradientLabel(line));
    }
}
