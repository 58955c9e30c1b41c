// Drawing: GDI wrappers checked by the colours they leave in a bitmap, and
// windows rendering their own paint handlers into a bitmap.
#include "support/WindowTest.h"
#include <gtest/gtest.h>

using namespace wintest;

TEST(Gdi, FramesFillsAndSelectionsLeaveTheExpectedPixels)
{
    const COLORREF light = RGB(255, 255, 255), dark = RGB(128, 128, 128);
    Image image = RenderPaint(60, 40, [&](CDC& dc) {
        dc.FillSolidRect(0, 0, 60, 40, RGB(10, 20, 30));
        dc.Draw3dRect(CRect(5, 5, 25, 25), light, dark);
        CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
        CBrush brush(RGB(255, 255, 0));
        CPen* oldPen = dc.SelectObject(&pen);
        CBrush* oldBrush = dc.SelectObject(&brush);
        dc.Rectangle(30, 5, 50, 25);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        dc.MoveTo(0, 35);
        dc.LineTo(60, 35); // the stock black pen again
    });
    image.SaveBmp(L"gdi_shapes.bmp");
    EXPECT_EQ(light, image.At(5, 5));    // top-left corner
    EXPECT_EQ(light, image.At(15, 5));   // top edge
    EXPECT_EQ(light, image.At(5, 15));   // left edge
    EXPECT_EQ(dark, image.At(24, 15));   // right edge
    EXPECT_EQ(dark, image.At(15, 24));   // bottom edge
    EXPECT_EQ(dark, image.At(24, 24));
    EXPECT_EQ(RGB(10, 20, 30), image.At(15, 15));
    EXPECT_EQ(RGB(0, 0, 255), image.At(30, 15));
    EXPECT_EQ(RGB(255, 255, 0), image.At(40, 15));
    EXPECT_EQ(RGB(0, 0, 0), image.At(30, 35));
}

TEST(Gdi, MemoryDCsAndBitmapsCopyBlocks)
{
    Image image = RenderPaint(40, 20, [](CDC& dc) {
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc, 10, 10));
        EXPECT_EQ(CSize(10, 10), bitmap.GetBitmapDimension());
        CBitmap* old = memory.SelectObject(&bitmap);
        memory.FillSolidRect(0, 0, 10, 10, RGB(0, 200, 100));
        dc.BitBlt(20, 5, 10, 10, &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    });
    EXPECT_EQ(RGB(0, 200, 100), image.At(25, 10));
    EXPECT_EQ(RGB(255, 255, 255), image.At(15, 10));
}

namespace {

class CPaintedWnd : public CWnd
{
public:
    int paints = 0;

protected:
    void OnPaint()
    {
        ++paints;
        CPaintDC dc(this);
        CRect r;
        GetClientRect(&r);
        dc.FillSolidRect(&r, RGB(255, 0, 0));
        dc.FillSolidRect(10, 10, 20, 20, RGB(0, 0, 255));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

} // namespace

TEST(Rendering, AWindowPrintsItsOwnPaintIntoABitmapWithoutBeingShown)
{
    auto* frame = new TestFrame;
    CPaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 50), frame, 1));
    Image image = PrintWindowImage(&wnd, true);
    image.SaveBmp(L"painted_window.bmp");
    ASSERT_EQ(80, image.Width());
    EXPECT_EQ(RGB(255, 0, 0), image.At(70, 40));
    EXPECT_EQ(RGB(0, 0, 255), image.At(15, 15));
    EXPECT_EQ(400, image.Count(CRect(0, 0, 80, 50), RGB(0, 0, 255)));
    EXPECT_GE(wnd.paints, 1);
    frame->DestroyWindow();
}
