// Printing onto a DC flagged as printing: pages, a row taller than a page,
// a grid without data rows, and the scale of a narrow grid.
#include "grid_test_support.h"

using namespace gridtest;
using namespace wintest;

namespace {

const COLORREF kTextBk = 0xFFFFC1;

using Page = PrintedPage;

struct PrintGrid : Hosted<TestGrid> {
    Page page;
    CPrintInfo info;
    PrintGrid(int rows, int cols)
    {
        EXPECT_TRUE(Make());
        FillGrid(grid, rows, cols, 1, 1);
        info.m_rectDraw.SetRect(0, 0, page.width, page.height);
    }
    void Begin() { grid.OnBeginPrinting(&page.dc, &info); }
    // One page printed on a clean sheet.
    Image PrintPage(UINT number)
    {
        page.Clear();
        info.m_nCurPage = number;
        grid.OnPrint(&page.dc, &info);
        return page.Take();
    }
    // The band of the heading row on the page: three characters down.
    std::pair<int, int> HeadingBand()
    {
        const double scale = static_cast<double>(page.width) / grid.m_nPageWidth;
        return {static_cast<int>(3 * grid.m_CharSize.cy * scale),
                static_cast<int>((3 * grid.m_CharSize.cy + grid.GetRowHeight(0)) * scale)};
    }
};

int Count(const Image& image, COLORREF colour)
{
    return image.Count(CRect(0, 0, image.Width(), image.Height()), colour);
}

// Dark pixels (text and lines) within a band of the page.
int DarkIn(const Image& image, int top, int bottom)
{
    int dark = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.Height()); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (GetRValue(image.At(x, y)) < 100 && GetGValue(image.At(x, y)) < 100) ++dark;
    return dark;
}

} // namespace

TEST(GridPrint, RowsFillPagesAndATallRowGetsAPageOfItsOwn)
{
    PrintGrid g(8, 4);
    g.Begin();
    const int rowsHeight = g.grid.m_nPrintRowsHeight;
    ASSERT_GT(rowsHeight, 30);
    // Three rows fill a page; row 4 is twice a page high.
    for (int row = 1; row < 8; ++row) g.grid.SetRowHeight(row, row == 4 ? 2 * rowsHeight : rowsHeight / 3);
    g.Begin();
    ASSERT_EQ(3u, g.info.GetMaxPage());
    EXPECT_EQ(1u, g.info.m_nCurPage);

    std::vector<Image> pages;
    for (UINT number = 1; number <= 3; ++number) {
        pages.push_back(g.PrintPage(number));
        pages.back().SaveBmp(CString(L"grid_print_page") + std::to_wstring(number).c_str() + L".bmp");
    }
    g.grid.OnEndPrinting(&g.page.dc, &g.info);
    const int width = g.page.width, height = g.page.height;
    // The tall row is printed (cut off at the footer) on its own page; once
    // that page stayed empty.
    for (const Image& image : pages) EXPECT_GT(Count(image, kTextBk), width * 20);
    EXPECT_GT(Count(pages[1], kTextBk), Count(pages[0], kTextBk));
    // Header, headings and footer on every page.
    for (const Image& image : pages) {
        EXPECT_GT(DarkIn(image, 0, height / 20), 0);
        EXPECT_GT(DarkIn(image, height - height / 20, height), 0);
    }
}

TEST(GridPrint, AGridWithoutDataRowsPrintsItsHeadings)
{
    PrintGrid g(1, 4);
    g.Begin();
    ASSERT_EQ(1u, g.info.GetMaxPage());
    Image image = g.PrintPage(1);
    image.SaveBmp(L"grid_print_headings_only.bmp");
    g.grid.OnEndPrinting(&g.page.dc, &g.info);
    const auto band = g.HeadingBand();
    EXPECT_GT(DarkIn(image, band.first, band.second), 0);
    EXPECT_EQ(0, Count(image, kTextBk)); // no data cells
}

TEST(GridPrint, ANarrowGridIsPrintedAcrossThePage)
{
    PrintGrid g(5, 2);
    g.grid.SetColumnWidth(0, 30);
    g.grid.SetColumnWidth(1, 50);
    g.Begin();
    Image image = g.PrintPage(1);
    image.SaveBmp(L"grid_print_narrow.bmp");
    g.grid.OnEndPrinting(&g.page.dc, &g.info);
    // The heading row reaches from the left margin to the right one: four
    // characters each, the grid's 80 pixels between them.
    const double scale = static_cast<double>(g.page.width) / g.grid.m_nPageWidth;
    const int top = g.HeadingBand().first + 2;
    const int bottom = g.HeadingBand().second - 2;
    int left = image.Width(), right = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.At(x, y) != RGB(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const int margin = static_cast<int>(4 * g.grid.m_CharSize.cx * scale);
    EXPECT_NEAR(margin, left, 2 + scale);
    EXPECT_NEAR(image.Width() - margin, right, 2 + 2 * scale);
}

TEST(GridPrint, PrintingWithoutAPrinterSaysSo)
{
    PrintGrid g(3, 3);
    MessageBoxScript boxes;
    DialogScript script; // a print dialog, should one appear, is cancelled
    g.grid.Print();
    PumpUntilIdle();
    if (!ClHasPrinter()) {
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(CString(CL_MSG_NO_PRINTER), boxes.Shown()[0].text);
    }
}
