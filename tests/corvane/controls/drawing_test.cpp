// The drawing context (world to device and back, also at survey
// coordinates and any zoom; the range tests) and the drawing entities:
// attributes, extents, grips and their moves, copies, drawing into a
// bitmap (far-away ends and huge circles included), and the two owners of
// images (the bitmap entity and the GDI+ bitmap).
#include "controls_test_support.h"
#include "corvane/ui/DrawEntities.h"

#include <objidl.h>
#include <gdiplus.h>
#include <cmath>
#include <memory>

using namespace wintest;

namespace {

const double kPi = 3.141592653589793;

struct RangeDC : tkxWorldDrawDC {
    using tkxWorldDrawDC::IsOutOfRange;
};

tkxWorldDrawDC Context(double scale, tkxPoint2d origin, CRect client = CRect(0, 0, 400, 300))
{
    tkxWorldDrawDC dc;
    dc.m_dScale = scale;
    dc.m_ptOrigin = origin;
    dc.m_rcClient = client;
    return dc;
}

// A context whose drawing area shows the world around `centre`.
tkxWorldDrawDC ContextAround(tkxPoint2d centre, double scale, CRect client = CRect(0, 0, 400, 300))
{
    return Context(scale, tkxPoint2d(client.Width() / 2.0, client.Height() / 2.0) - centre * scale, client);
}

// The entity drawn white on black (as the view does) into an image of the
// context's client size.
Image Draw(tkxEntityDC& entity, tkxWorldDrawDC dc, int penWidth = 0, int* result = nullptr)
{
    return RenderPaint(dc.m_rcClient.Width(), dc.m_rcClient.Height(), [&](CDC& target) {
        target.FillSolidRect(0, 0, dc.m_rcClient.Width(), dc.m_rcClient.Height(), 0);
        CPen pen(PS_SOLID, penWidth, RGB(255, 255, 255));
        target.SelectObject(&pen);
        target.SelectStockObject(HOLLOW_BRUSH);
        dc.m_pDC = &target;
        const int drawn = entity.worldDraw(&dc);
        if (result) *result = drawn;
        target.SelectStockObject(BLACK_PEN);
    });
}

int Lit(const Image& image, const CRect& area)
{
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(image.Height(), area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(image.Width(), area.right); ++x)
            if (image.At(x, y) != 0) ++n;
    return n;
}

int LitAll(const Image& image) { return Lit(image, CRect(0, 0, image.Width(), image.Height())); }

std::vector<tkxPoint2d> Grips(tkxEntityDC& entity)
{
    CArray<tkxPoint2d, tkxPoint2d> grips;
    grips.Add(tkxPoint2d(-99, -99)); // grips are appended, never replacing
    entity.getGripPoints(grips);
    EXPECT_EQ(-99.0, grips[0].x);
    return std::vector<tkxPoint2d>(grips.begin() + 1, grips.end());
}

void ExpectNear(tkxPoint2d expected, tkxPoint2d actual, double tolerance = 1e-9)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
}

void ExpectExtents(tkxEntityDC& entity, tkxPoint2d min, tkxPoint2d max, double tolerance = 1e-4)
{
    tkxPoint2d lo, hi;
    ASSERT_EQ(1, entity.GetGeomExtents(lo, hi));
    ExpectNear(min, lo, tolerance);
    ExpectNear(max, hi, tolerance);
}

// A small image file as image programs write them (24 bits, bottom-up):
// width x height, red.
CString WriteImageFile(const wchar_t* name, int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) row[static_cast<size_t>(x * 3 + 2)] = '\xFF';
    for (int y = 0; y < height; ++y) bytes += row;
    const CString path = test_support::ScratchRoot() + L"\\" + name;
    test_support::WriteBytes(path, bytes);
    return path;
}

} // namespace

// ---------------------------------------------------------------------------
// The mapping

TEST(WorldDrawDC, MapsWorldToDeviceByTruncation)
{
    tkxWorldDrawDC dc = Context(100, tkxPoint2d(0, 0));
    EXPECT_EQ(CPoint(150, 200), dc.MathToScreen(tkxPoint2d(1.5, 1.0)));
    EXPECT_EQ(CPoint(0, 300), dc.MathToScreen(tkxPoint2d(-0.004, 0))); // -0.4 truncates to 0
    EXPECT_EQ(CPoint(-1, 300), dc.MathToScreen(tkxPoint2d(-0.0199, 0)));
    tkxPoint2d min, max;
    dc.GetBoundsBox(min, max);
    ExpectNear(tkxPoint2d(0, 0), min);
    ExpectNear(tkxPoint2d(4, 3), max);

    dc.m_ptOrigin = tkxPoint2d(50, 20);
    ExpectNear(tkxPoint2d(0, 0), dc.ScreenToMath(CPoint(50, 280)));

    // Copies draw on the same device with the same mapping.
    CDC device;
    dc.m_pDC = &device;
    tkxWorldDrawDC copy(dc);
    tkxWorldDrawDC assigned;
    assigned = dc;
    for (const tkxWorldDrawDC* c : {&copy, &assigned}) {
        EXPECT_EQ(&device, c->m_pDC);
        EXPECT_EQ(100.0, c->m_dScale);
        EXPECT_EQ(dc.m_rcClient, c->m_rcClient);
        ExpectNear(dc.m_ptOrigin, c->m_ptOrigin);
    }
}

TEST(WorldDrawDC, RoundTripsStayExactAtSurveyCoordinatesAndAnyZoom)
{
    // Device -> world -> device gives the pixel back; world -> device ->
    // world stays within one pixel; before truncation a device point comes
    // back within a ten-thousandth of a pixel.
    const tkxPoint2d survey(3512345.678, 4298765.432);
    for (double scale : {0.02, 0.75, 1.0, 100.0, 1000.0, 12345.678, 100000.0}) {
        SCOPED_TRACE(scale);
        const tkxWorldDrawDC dc = ContextAround(survey, scale, CRect(0, 0, 1600, 1200));
        for (int x = -5; x <= 1605; x += 37) {
            for (int y = -5; y <= 1205; y += 41) {
                const CPoint p(x, y);
                const tkxPoint2d w = dc.ScreenToMath(p);
                ASSERT_EQ(p, dc.MathToScreen(w)) << x << "," << y;
                double dx, dy;
                dc.ToDevice(w, dx, dy);
                ASSERT_NEAR(x, dx, 1e-4);
                ASSERT_NEAR(1200 - y, dy, 1e-4);
            }
        }
        for (int i = 0; i < 200; ++i) {
            const tkxPoint2d w = survey + tkxPoint2d((i * 7.31 - 700) / scale, (i * 5.17 - 500) / scale);
            const tkxPoint2d back = dc.ScreenToMath(dc.MathToScreen(w));
            ASSERT_LT(std::fabs(back.x - w.x) * scale, 1.0 + 1e-6);
            ASSERT_LT(std::fabs(back.y - w.y) * scale, 1.0 + 1e-6);
        }
    }
}

TEST(WorldDrawDC, RangeTestsOfPointsAndSegments)
{
    RangeDC dc;
    dc.m_rcClient = CRect(0, 0, 400, 300);
    EXPECT_EQ(0, dc.IsOutOfRange(CPoint(400, 300))); // right and bottom edges are inside
    EXPECT_EQ(1, dc.IsOutOfRange(CPoint(401, 300)));
    EXPECT_EQ(1, dc.IsOutOfRange(CPoint(-1, 10)));
    EXPECT_EQ(1, dc.IsOutOfRange(CPoint(10, -1)));

    struct Case {
        CPoint a, b;
        int out;
    } cases[] = {
        {{10, 10}, {5000, -7000}, 0},   // one end inside, whatever the other
        {{-50, 10}, {-10, 200}, 1},     // both left of the rectangle
        {{10, 400}, {300, 350}, 1},     // both below
        {{-100, -100}, {500, 500}, 0},  // across a corner region
        {{-400, 150}, {150, -400}, 1},  // passes beyond the top-left corner
    };
    for (const Case& c : cases) EXPECT_EQ(c.out, dc.IsOutOfRange(c.a, c.b)) << c.a.x << "," << c.a.y;
}

// ---------------------------------------------------------------------------
// Entity attributes and copies

TEST(EntityBase, AttributesFlagsAndCopies)
{
    tkxLineDC line(tkxPoint2d(0, 0), tkxPoint2d(1, 1));
    EXPECT_EQ(0xFFFFFFu, line.GetColorREF());
    EXPECT_EQ(0u, line.GetLineType());
    EXPECT_EQ(0.0, line.GetLineWidth());
    EXPECT_EQ(0, line.IsSelected());
    EXPECT_EQ(0, line.IsErased());
    EXPECT_EQ(1, line.IsCanSel());
    EXPECT_EQ(0, line.GetId());
    EXPECT_TRUE(line.IsKindOf(RUNTIME_CLASS(tkxEntityDC)));
    EXPECT_STREQ("tkxLineDC", line.GetRuntimeClass()->m_lpszClassName);

    // Selected entities report a dotted, thin pen; the stored values return.
    line.SetLineType(0);
    line.SetLineWidth(2.5);
    line.SetSelected(1);
    EXPECT_EQ(2u, line.GetLineType());
    EXPECT_EQ(0.0, line.GetLineWidth());
    line.SetSelected(0);
    EXPECT_EQ(0u, line.GetLineType());
    EXPECT_EQ(2.5, line.GetLineWidth());

    // Erasing deselects; un-erasing leaves the selection as it is.
    line.SetSelected(1);
    line.SetErase(1);
    EXPECT_EQ(0, line.IsSelected());
    line.SetSelected(1);
    line.SetErase(0);
    EXPECT_EQ(1, line.IsSelected());

    EXPECT_EQ(0, SetEntityId(nullptr, 5));
    EXPECT_EQ(1, SetEntityId(&line, 7));
    EXPECT_EQ(7, line.GetId());

    // A clone carries the look but starts with id 0, unselected, not erased.
    line.SetColorREF(RGB(1, 2, 3));
    line.SetCanSel(0);
    line.SetErase(1);
    std::unique_ptr<tkxEntityDC> clone(line.Clone());
    ASSERT_TRUE(clone->IsKindOf(RUNTIME_CLASS(tkxLineDC)));
    EXPECT_EQ(RGB(1, 2, 3), clone->GetColorREF());
    EXPECT_EQ(2.5, clone->GetLineWidth());
    EXPECT_EQ(0, clone->IsCanSel());
    EXPECT_EQ(0, clone->GetId());
    EXPECT_EQ(0, clone->IsErased());
    EXPECT_EQ(0, clone->IsSelected());

    // Assignment keeps the target's id and flags.
    tkxLineDC target;
    SetEntityId(&target, 3);
    target.SetSelected(1);
    target = line;
    EXPECT_EQ(3, target.GetId());
    EXPECT_EQ(1, target.IsSelected());
    EXPECT_EQ(0, target.IsErased());
    tkxPoint2d end;
    target.GetEndPoint(end);
    ExpectNear(tkxPoint2d(1, 1), end);

    // Typed copies keep each class's own data.
    tkxCircleDC filled(tkxPoint2d(1, 2), 3, true);
    std::unique_ptr<tkxEntityDC> circle(filled.Clone());
    bool isFilled = false;
    static_cast<tkxCircleDC*>(circle.get())->GetFilled(isFilled);
    EXPECT_TRUE(isFilled);
    tkxTextDC text(L"桩号", tkxPoint2d(5, 6), 24, L"黑体", 2.5, 0.5);
    std::unique_ptr<tkxEntityDC> textCopy(text.Clone());
    auto* copied = static_cast<tkxTextDC*>(textCopy.get());
    EXPECT_EQ(CString(L"桩号"), copied->GetText());
    EXPECT_EQ(CString(L"黑体"), copied->GetFontName());
    EXPECT_EQ(24, copied->GetAlignMode());
    EXPECT_EQ(2.5, copied->GetTextSize());
    EXPECT_EQ(0.5, copied->GetTextAngle());
}

TEST(EntityBase, ThePlainEntityIsInvisible)
{
    struct Plain : tkxEntityDC {
    } plain;
    tkxPoint2d min(1, 2), max(3, 4);
    EXPECT_EQ(1, plain.worldDraw(nullptr));
    EXPECT_EQ(1, plain.GetGeomExtents(min, max));
    ExpectNear(tkxPoint2d(1, 2), min);
    EXPECT_TRUE(Grips(plain).empty());
    std::unique_ptr<tkxEntityDC> clone(plain.Clone());
    EXPECT_EQ(RUNTIME_CLASS(tkxEntityDC), clone->GetRuntimeClass());
}

// ---------------------------------------------------------------------------
// Extents

TEST(EntityExtents, LineCirclePolylineAndBitmap)
{
    tkxLineDC nearlyVertical(tkxPoint2d(5, 0), tkxPoint2d(5 + 1e-12, 3));
    ExpectExtents(nearlyVertical, tkxPoint2d(5, 0), tkxPoint2d(5, 3), 0);
    tkxLineDC falling(tkxPoint2d(4, 7), tkxPoint2d(-2, 1));
    ExpectExtents(falling, tkxPoint2d(-2, 1), tkxPoint2d(4, 7), 0);

    tkxCircleDC circle(tkxPoint2d(3512345.5, 4298765.25), 10, false);
    ExpectExtents(circle, tkxPoint2d(3512335.5, 4298755.25), tkxPoint2d(3512355.5, 4298775.25), 0);

    CArray<tkxPoint2d, tkxPoint2d> vertices;
    for (auto p : {tkxPoint2d(1, 1), tkxPoint2d(-3, 4), tkxPoint2d(6, -2), tkxPoint2d(2, 9)}) vertices.Add(p);
    tkxPolyLineDC polyline(vertices);
    ExpectExtents(polyline, tkxPoint2d(-3, -2), tkxPoint2d(6, 9), 0);
    tkxPolyLineDC empty;
    tkxPoint2d min(7, 7), max(8, 8);
    EXPECT_EQ(1, empty.GetGeomExtents(min, max));
    ExpectNear(tkxPoint2d(7, 7), min);

    const CString path = WriteImageFile(L"extent.bmp", 40, 30);
    tkxBitmapDC bitmap(tkxPoint2d(100, 200), path);
    ASSERT_TRUE(bitmap.HasImage());
    ExpectExtents(bitmap, tkxPoint2d(100, 200), tkxPoint2d(140, 230), 0);
}

TEST(EntityExtents, ArcsCoverTheAxisDirectionsTheyPass)
{
    struct Case {
        double start, end;
        tkxPoint2d min, max;
    } cases[] = {
        {0, kPi / 2, {0, 0}, {1, 1}},
        {kPi / 4, 7 * kPi / 4, {-1, -1}, {0.7071068, 1}},
        {7 * kPi / 4, kPi / 4, {0.7071068, -0.7071068}, {1, 0.7071068}},
        {1.0, 1.0, {-1, -1}, {1, 1}}, // end equal to start: a full turn
        {-kPi / 2, kPi / 2, {0, -1}, {1, 1}},
        {kPi / 2 + 4 * kPi, kPi + 4 * kPi, {-1, 0}, {0, 1}}, // whole turns added
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        tkxArcDC arc(tkxPoint2d(0, 0), 1, c.start, c.end);
        ExpectExtents(arc, c.min, c.max, 1e-6);
    }
}

TEST(EntityExtents, TextBoxFollowsTheAlignModeAndRefusesOthers)
{
    tkxTextDC text(L"K12+345", tkxPoint2d(10, 20), 0, L"宋体", 2.0, 0.0);
    tkxPoint2d min, max;
    ASSERT_EQ(1, text.GetGeomExtents(min, max));
    const double w = max.x - min.x, h = max.y - min.y;
    EXPECT_GT(w, h); // a wide text
    EXPECT_GT(h, 1.0);
    struct Case {
        int mode;
        double left, bottom; // of the box, relative to the position, in w and h
    } cases[] = {
        {0, 0, -1}, {2, -1, -1}, {6, -0.5, -1}, {8, 0, 0}, {10, -1, 0}, {14, -0.5, 0},
        {24, 0, 0}, {26, -1, 0}, {30, -0.5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        text.SetAlignMode(c.mode);
        ExpectExtents(text, tkxPoint2d(10 + c.left * w, 20 + c.bottom * h),
                      tkxPoint2d(10 + (c.left + 1) * w, 20 + (c.bottom + 1) * h), 1e-9);
    }
    // Sizes scale the box; the angle is not taken into account.
    text.SetAlignMode(0);
    text.SetTextSize(4.0);
    text.SetTextAngle(1.0);
    ExpectExtents(text, tkxPoint2d(10, 20 - 2 * h), tkxPoint2d(10 + 2 * w, 20), 1e-9);

    tkxPoint2d keepMin(1, 1), keepMax(2, 2);
    text.SetAlignMode(1); // update-current-position: no box
    EXPECT_EQ(0, text.GetGeomExtents(keepMin, keepMax));
    ExpectNear(tkxPoint2d(1, 1), keepMin);
}

// ---------------------------------------------------------------------------
// Grips

TEST(EntityGrips, GripsInOrderAndWhatMovingEachDoes)
{
    tkxLineDC line(tkxPoint2d(0, 0), tkxPoint2d(10, 0));
    auto grips = Grips(line);
    ASSERT_EQ(3u, grips.size());
    ExpectNear(tkxPoint2d(5, 0), grips[1]);
    tkxPoint2d o(1, 1);
    EXPECT_EQ(1, line.moveGripPointsAt(o, 1)); // the midpoint moves both ends
    tkxPoint2d start, end;
    line.GetStartPoint(start);
    line.GetEndPoint(end);
    ExpectNear(tkxPoint2d(1, 1), start);
    ExpectNear(tkxPoint2d(11, 1), end);
    EXPECT_EQ(1, line.moveGripPointsAt(o, 3)); // no such grip: nothing
    line.GetEndPoint(end);
    ExpectNear(tkxPoint2d(11, 1), end);

    tkxCircleDC circle(tkxPoint2d(0, 0), 10, false);
    grips = Grips(circle);
    ASSERT_EQ(5u, grips.size());
    const tkxPoint2d expected[] = {{0, 0}, {10, 0}, {0, 10}, {-10, 0}, {0, -10}};
    for (int i = 0; i < 5; ++i) ExpectNear(expected[i], grips[static_cast<size_t>(i)]);
    tkxPoint2d up(0, 12);
    circle.moveGripPointsAt(up, 2);
    double r;
    circle.GetRadius(r);
    EXPECT_DOUBLE_EQ(12, r);
    tkxPoint2d shift(3, 4);
    circle.moveGripPointsAt(shift, 0);
    tkxPoint2d centre;
    circle.GetCenterPoint(centre);
    ExpectNear(tkxPoint2d(3, 4), centre);

    tkxArcDC arc(tkxPoint2d(0, 0), 1, 0, kPi / 2);
    grips = Grips(arc);
    ASSERT_EQ(3u, grips.size());
    ExpectNear(tkxPoint2d(1, 0), grips[1]);
    ExpectNear(tkxPoint2d(0, 1), grips[2]);
    struct ArcMove {
        tkxPoint2d offset;
        double radius, angle;
    } moves[] = {{{0, 5}, 5, kPi / 2}, {{-3, 0}, 3, kPi}, {{0, -2}, 2, 3 * kPi / 2}, {{1, 1}, std::sqrt(2.0), kPi / 4}};
    for (ArcMove& m : moves) {
        arc.moveGripPointsAt(m.offset, 1);
        double radius, angle;
        arc.GetRadius(radius);
        arc.GetStartAngle(angle);
        EXPECT_DOUBLE_EQ(m.radius, radius);
        EXPECT_NEAR(m.angle, angle, 1e-12);
    }
    tkxPoint2d none(0, 0);
    arc.moveGripPointsAt(none, 2); // a zero offset has no direction: the angle stays
    double endAngle;
    arc.GetEndAngle(endAngle);
    EXPECT_NEAR(kPi / 2, endAngle, 1e-12);

    tkxTextDC text(L"文字", tkxPoint2d(1, 1), 0, L"宋体", 1, 0);
    tkxPoint2d step(2, 3);
    text.moveGripPointsAt(step, 7); // any index moves the position
    tkxPoint2d position;
    text.GetPosition(position);
    ExpectNear(tkxPoint2d(3, 4), position);
    ASSERT_EQ(1u, Grips(text).size());

    tkxBitmapDC bitmap;
    bitmap.moveGripPointsAt(step, 1);
    ExpectNear(tkxPoint2d(0, 0), Grips(bitmap)[0]);
    bitmap.moveGripPointsAt(step, 0);
    ExpectNear(tkxPoint2d(2, 3), Grips(bitmap)[0]);

    tkxArcDC defaultArc;
    double a = -1, b = -1;
    defaultArc.GetStartAngle(a);
    defaultArc.GetEndAngle(b);
    EXPECT_EQ(0.0, a);
    EXPECT_EQ(0.0, b);
}

TEST(EntityGrips, PolylineVerticesAndAGripThatDoesNotExist)
{
    tkxPolyLineDC polyline;
    EXPECT_TRUE(Grips(polyline).empty());
    CArray<tkxPoint2d, tkxPoint2d> grips;
    EXPECT_EQ(0, polyline.getGripPoints(grips));

    EXPECT_EQ(1, polyline.AddVertexAt(5, tkxPoint2d(9, 9))); // the gap is filled with (0, 0)
    EXPECT_EQ(6, polyline.GetVertexNum());
    tkxPoint2d p;
    polyline.GetVertexAt(2, p);
    ExpectNear(tkxPoint2d(0, 0), p);
    polyline.AddVertexAt(0, tkxPoint2d(-1, -1));
    polyline.GetVertexAt(0, p);
    ExpectNear(tkxPoint2d(-1, -1), p);
    bool threw = false;
    try {
        polyline.AddVertexAt(-1, tkxPoint2d());
    } catch (CInvalidArgException* e) {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);

    EXPECT_EQ(0, polyline.DelVertexAt(7));
    EXPECT_EQ(0, polyline.SetVertexAt(-1, tkxPoint2d()));
    EXPECT_EQ(0, polyline.GetVertexAt(7, p));
    EXPECT_EQ(1, polyline.SetVertexAt(1, tkxPoint2d(4, 4)));
    EXPECT_EQ(1, polyline.DelVertexAt(0));
    EXPECT_EQ(6, polyline.GetVertexNum());
    EXPECT_EQ(0, polyline.SetHightAt(6));
    EXPECT_EQ(1, polyline.SetHightAt(-1));
    EXPECT_EQ(1, polyline.SetHightAt(5));
    EXPECT_EQ(5, polyline.GetHightAt());

    // Moving a vertex grip; a grip index past the vertices changes nothing
    // and answers 0 (it comes from a mouse handler: it must not throw).
    tkxPoint2d offset(1, 2);
    EXPECT_EQ(1, polyline.moveGripPointsAt(offset, 0));
    polyline.GetVertexAt(0, p);
    ExpectNear(tkxPoint2d(5, 6), p);
    for (int bad : {6, 100, -1}) {
        EXPECT_EQ(0, polyline.moveGripPointsAt(offset, bad));
    }
    polyline.GetVertexAt(5, p);
    ExpectNear(tkxPoint2d(9, 9), p);

    // Copies own their vertices.
    std::unique_ptr<tkxEntityDC> copy(polyline.Clone());
    polyline.SetVertexAt(0, tkxPoint2d(100, 100));
    static_cast<tkxPolyLineDC*>(copy.get())->GetVertexAt(0, p);
    ExpectNear(tkxPoint2d(5, 6), p);
    EXPECT_EQ(5, static_cast<tkxPolyLineDC*>(copy.get())->GetHightAt());
}

// ---------------------------------------------------------------------------
// Drawing

TEST(EntityDrawing, WhatCannotBeDrawnAnswersZero)
{
    tkxWorldDrawDC noDevice = Context(100, tkxPoint2d(0, 0));
    tkxLineDC line(tkxPoint2d(0, 0), tkxPoint2d(1, 1));
    EXPECT_EQ(0, line.worldDraw(nullptr));
    EXPECT_EQ(0, line.worldDraw(&noDevice));

    int result = -1;
    tkxCircleDC tiny(tkxPoint2d(1, 1), 0.004, false); // 0.4 pixel
    EXPECT_EQ(0, LitAll(Draw(tiny, Context(100, tkxPoint2d(0, 0)), 0, &result)));
    EXPECT_EQ(0, result);

    CArray<tkxPoint2d, tkxPoint2d> one;
    one.Add(tkxPoint2d(1, 1));
    tkxPolyLineDC single(one);
    Draw(single, Context(100, tkxPoint2d(0, 0)), 0, &result);
    EXPECT_EQ(0, result);

    tkxTextDC small(L"小字", tkxPoint2d(1, 1), 0, L"宋体", 1, 0); // 2 pixels high
    EXPECT_EQ(0, LitAll(Draw(small, Context(2, tkxPoint2d(0, 0)), 0, &result)));
    EXPECT_EQ(1, result);

    tkxBitmapDC noImage(tkxPoint2d(0, 0), L"no such image.bmp");
    EXPECT_FALSE(noImage.HasImage());
    Draw(noImage, Context(100, tkxPoint2d(0, 0)), 0, &result);
    EXPECT_EQ(0, result);
}

TEST(EntityDrawing, ShapesLandOnTheirPixels)
{
    const tkxWorldDrawDC dc = Context(100, tkxPoint2d(0, 0));
    tkxLineDC line(tkxPoint2d(0.5, 1), tkxPoint2d(3.5, 1));
    Image image = Draw(line, dc);
    EXPECT_NE(0u, image.At(100, 200));
    EXPECT_EQ(0u, image.At(100, 190));
    EXPECT_EQ(300, LitAll(image)); // the end pixel is not drawn

    // A closed polyline gets its closing segment, unless its last vertex
    // already is its first or it has only two vertices.
    CArray<tkxPoint2d, tkxPoint2d> v;
    for (auto p : {tkxPoint2d(1, 1), tkxPoint2d(3, 1), tkxPoint2d(3, 2)}) v.Add(p);
    tkxPolyLineDC open(v), closed(v);
    closed.SetClose(1);
    const CRect diagonal(190, 140, 210, 160); // around the middle of (3,2)-(1,1)
    EXPECT_EQ(0, Lit(Draw(open, dc), diagonal));
    EXPECT_GT(Lit(Draw(closed, dc), diagonal), 5);
    v.Add(tkxPoint2d(1, 1 + 1e-7));
    tkxPolyLineDC alreadyClosed(v);
    alreadyClosed.SetClose(1);
    EXPECT_EQ(LitAll(Draw(closed, dc)), LitAll(Draw(alreadyClosed, dc)));
    CArray<tkxPoint2d, tkxPoint2d> two;
    two.Add(tkxPoint2d(1, 1));
    two.Add(tkxPoint2d(3, 1));
    tkxPolyLineDC twoOpen(two), twoClosed(two);
    twoClosed.SetClose(1);
    EXPECT_EQ(LitAll(Draw(twoOpen, dc)), LitAll(Draw(twoClosed, dc)));

    // A filled circle is red inside, whatever its colour; an open one hollow.
    tkxCircleDC filled(tkxPoint2d(2, 1.5), 0.5, true);
    filled.SetColorREF(RGB(0, 0, 255));
    image = Draw(filled, dc);
    EXPECT_EQ(RGB(255, 0, 0), image.At(200, 150));
    tkxCircleDC hollow(tkxPoint2d(2, 1.5), 0.5, false);
    image = Draw(hollow, dc);
    EXPECT_EQ(0u, image.At(200, 150));
    EXPECT_GT(Lit(image, CRect(245, 145, 251, 155)), 0);

    // An arc from 0 to pi/2 draws the upper-right quarter only.
    tkxArcDC arc(tkxPoint2d(2, 1.5), 1, 0, kPi / 2);
    image = Draw(arc, dc);
    EXPECT_GT(Lit(image, CRect(200, 40, 310, 150)), 100);
    EXPECT_EQ(0, Lit(image, CRect(0, 155, 400, 300)));
    EXPECT_EQ(0, Lit(image, CRect(0, 0, 195, 300)));
    // So short an arc that both ends share a pixel is not a full circle.
    tkxArcDC sliver(tkxPoint2d(2, 1.5), 1, 0.3, 0.3 + 1e-5);
    EXPECT_LT(LitAll(Draw(sliver, dc)), 4);
}

TEST(EntityDrawing, TextAndBitmapDraw)
{
    const tkxWorldDrawDC dc = Context(100, tkxPoint2d(0, 0));
    tkxTextDC text(L"K12+345 桩号", tkxPoint2d(0.2, 1.5), 24, L"宋体", 0.4, 0);
    text.SetColorREF(RGB(0, 255, 0));
    Image image = Draw(text, dc);
    const int green = image.Count(CRect(0, 0, 400, 300), RGB(0, 255, 0));
    EXPECT_GT(green, 50);
    // On the baseline at y = 150, from x = 20, 40 pixels high.
    EXPECT_GT(image.Count(CRect(15, 105, 400, 153), RGB(0, 255, 0)), green * 0.95);
    EXPECT_EQ(0, image.Count(CRect(0, 0, 400, 100), RGB(0, 255, 0)));
    image.SaveBmp(L"entity_text.bmp");

    const CString path = WriteImageFile(L"draw.bmp", 40, 30);
    tkxBitmapDC bitmap(tkxPoint2d(1, 1), path);
    image = Draw(bitmap, Context(2, tkxPoint2d(0, 0)));
    image.SaveBmp(L"entity_bitmap.bmp");
    // 40 x 30 pixels at two pixels each, lower-left corner at (2, 298).
    EXPECT_EQ(80 * 60, image.Count(CRect(2, 238, 82, 298), RGB(255, 0, 0)));
    EXPECT_EQ(80 * 60, image.Count(CRect(0, 0, 400, 300), RGB(255, 0, 0)));
    // Zoomed in a thousand times onto its lower-left corner: the image fills
    // the upper-right quarter of the window exactly.
    tkxWorldDrawDC deep = ContextAround(tkxPoint2d(1, 1), 1000);
    image = Draw(bitmap, deep);
    EXPECT_EQ(200 * 150, image.Count(CRect(200, 0, 400, 150), RGB(255, 0, 0)));
    EXPECT_EQ(200 * 150, image.Count(CRect(0, 0, 400, 300), RGB(255, 0, 0)));
}

TEST(EntityDrawing, FarEndsAndHugeCirclesDrawExactlyAtAnyZoom)
{
    // At survey coordinates and the view's largest zoom, a line whose ends
    // lie a kilometre away on either side still crosses the window on its
    // true pixels, and a circle of 50 m shows the arc through the window.
    const tkxPoint2d centre(3512345.678, 4298765.432);
    const tkxWorldDrawDC dc = ContextAround(centre, 100000);
    tkxLineDC line(centre - tkxPoint2d(1000, 1000), centre + tkxPoint2d(1000, 1000));
    Image image = Draw(line, dc);
    EXPECT_NE(0u, image.At(200, 150));
    EXPECT_NE(0u, image.At(100, 250));
    EXPECT_NE(0u, image.At(299, 51));
    EXPECT_EQ(0u, image.At(200, 140));
    EXPECT_NEAR(300, LitAll(image), 2);

    // Circle of radius 50 m (5,000,000 pixels) through the centre point.
    // Drawn by what shows, not pixel by pixel: the thread's own processor
    // time stays far below two seconds (the clock's time a busy machine
    // stretches at will).
    const double t0 = test_support::ThreadSeconds();
    tkxCircleDC circle(centre + tkxPoint2d(0, 50), 50, false);
    image = Draw(circle, dc);
    EXPECT_NE(0u, image.At(200, 150));
    EXPECT_EQ(0u, image.At(200, 140));
    EXPECT_EQ(0u, image.At(200, 160));
    EXPECT_GE(LitAll(image), 390);
    EXPECT_LE(LitAll(image), 410);
    tkxCircleDC filled(centre + tkxPoint2d(0, 50), 50, true);
    image = Draw(filled, dc);
    EXPECT_EQ(RGB(255, 0, 0), image.At(200, 100)); // inside the disc
    EXPECT_EQ(0u, image.At(200, 200));             // outside
    tkxArcDC arc(centre + tkxPoint2d(0, 50), 50, kPi + 0.1, 2 * kPi - 0.1);
    image = Draw(arc, dc);
    EXPECT_NE(0u, image.At(200, 150));
    tkxArcDC otherSide(centre + tkxPoint2d(0, 50), 50, 0.1, kPi - 0.1);
    EXPECT_EQ(0, LitAll(Draw(otherSide, dc)));
    EXPECT_LT(test_support::ThreadSeconds() - t0, 2.0);
}

// ---------------------------------------------------------------------------
// Owners of images

TEST(BitmapEntity, EachCopyOwnsItsImage)
{
    const CString path = WriteImageFile(L"owned.bmp", 6, 4);
    auto source = std::make_unique<tkxBitmapDC>(tkxPoint2d(0, 0), path);
    ASSERT_TRUE(source->HasImage());
    EXPECT_EQ(6, source->GetImageWidth());
    EXPECT_EQ(4, source->GetImageHeight());
    tkxBitmapDC copied(*source);
    tkxBitmapDC assigned;
    assigned = *source;
    std::unique_ptr<tkxEntityDC> clone(source->Clone());
    source.reset(); // the copies keep drawing after the source is gone
    const tkxWorldDrawDC dc = Context(10, tkxPoint2d(0, 0));
    for (tkxEntityDC* e : {static_cast<tkxEntityDC*>(&copied), static_cast<tkxEntityDC*>(&assigned), clone.get()}) {
        int result = 0;
        EXPECT_EQ(60 * 40, Draw(*e, dc, 0, &result).Count(CRect(0, 0, 400, 300), RGB(255, 0, 0)));
        EXPECT_EQ(1, result);
    }

    // Assigning from an entity whose file is gone leaves no image; the old
    // one is released.
    const CString gone = WriteImageFile(L"gone.bmp", 2, 2);
    tkxBitmapDC vanishing(tkxPoint2d(0, 0), gone);
    ASSERT_TRUE(vanishing.HasImage());
    ASSERT_TRUE(DeleteFileW(gone));
    assigned = vanishing;
    EXPECT_FALSE(assigned.HasImage());
    int result = -1;
    Draw(assigned, dc, 0, &result);
    EXPECT_EQ(0, result);
}

TEST(GdiPlusBitmap, LoadsCopiesDeeplyAndStaysEmptyAfterAFailure)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    {
        const CString path = WriteImageFile(L"plus.bmp", 5, 3);
        tkxGdiPlusBitmap image(path);
        Gdiplus::Bitmap* loaded = image;
        ASSERT_NE(nullptr, loaded);
        EXPECT_EQ(5u, loaded->GetWidth());

        tkxGdiPlusBitmap copy(image);
        tkxGdiPlusBitmap assigned(L"no such picture.png");
        EXPECT_EQ(nullptr, static_cast<Gdiplus::Bitmap*>(assigned));
        assigned = image;
        for (const tkxGdiPlusBitmap* c : {&copy, &assigned}) {
            Gdiplus::Bitmap* b = *c;
            ASSERT_NE(nullptr, b);
            EXPECT_NE(loaded, b);
            EXPECT_EQ(3u, b->GetHeight());
        }
        image.Empty();
        EXPECT_EQ(nullptr, static_cast<Gdiplus::Bitmap*>(image));
        Gdiplus::Color pixel;
        static_cast<Gdiplus::Bitmap*>(copy)->GetPixel(0, 0, &pixel);
        EXPECT_EQ(255, pixel.GetR());

        EXPECT_FALSE(copy.Load(L"no such picture.png"));
        EXPECT_EQ(nullptr, static_cast<Gdiplus::Bitmap*>(copy));
        EXPECT_TRUE(copy.Load(path));
        copy = copy; // self-assignment keeps the image
        EXPECT_NE(nullptr, static_cast<Gdiplus::Bitmap*>(copy));
    }
    Gdiplus::GdiplusShutdown(token);
}
