// Printing the text view onto a DC flagged as printing: pages of a long
// file with header and footer, and a line taller than a page.
#include "editor_test_support.h"

using namespace edtest;
using wintest::Image;

namespace {

using Page = wintest::PrintedPage;

// Pixels darker than light grey in a band of rows.
int Ink(const Image& image, int top, int bottom)
{
    int count = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.Height()); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const COLORREF c = image.At(x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 160) ++count;
        }
    return count;
}

struct Printing {
    Hosted<> hosted;
    Page page;
    CPrintInfo info;
    explicit Printing(const wchar_t* text) : hosted(text)
    {
        info.m_rectDraw.SetRect(0, 0, page.width, page.height);
        hosted.view->OnBeginPrinting(&page.dc, &info);
    }
    ~Printing() { hosted.view->OnEndPrinting(&page.dc, &info); }
    // Prepares and prints one page on a clean sheet; an empty image when the
    // print loop would stop before it.
    Image Print(UINT number)
    {
        page.Clear();
        info.m_nCurPage = number;
        info.m_bContinuePrinting = TRUE;
        hosted.view->OnPrepareDC(&page.dc, &info);
        if (!info.m_bContinuePrinting) return Image();
        hosted.view->OnPrint(&page.dc, &info);
        return page.Take();
    }
};

} // namespace

TEST(Print, ALongFilePrintsPageAfterPageBetweenHeaderAndFooter)
{
    const int lines = 400;
    std::wstring text;
    for (int i = 0; i < lines; ++i) {
        CString line;
        line.Format(L"K%d+%03d\t%.3f\t// 第%d行\r\n", i / 50, i * 20 % 1000, 100.0 + i, i + 1);
        text += line.str();
    }
    Printing p(text.c_str());
    const Image first = p.Print(1);
    first.SaveBmp(L"print_page1.bmp");
    const CRect area = p.hosted.view->GetPrintTextArea();
    const int lineHeight = p.hosted.view->GetPrintLineHeight();
    ASSERT_GT(lineHeight, 0);
    // Full pages of one-row lines, the rest (and the empty last line) on
    // the last page.
    const int perPage = (area.bottom - area.top) / lineHeight;
    ASSERT_GT(perPage, 10);
    const int pages = (lines + 1 + perPage - 1) / perPage;
    ASSERT_GE(pages, 2);
    ASSERT_EQ(pages, p.hosted.view->GetPrintPageCount());
    const std::vector<int>& starts = p.hosted.view->GetPrintPageStarts();
    for (int k = 0; k < pages; ++k) EXPECT_EQ(k * perPage, starts[static_cast<size_t>(k)]);
    // Header above the text area, the text, and the footer below it: all
    // inside the page and apart from each other.
    EXPECT_GT(Ink(first, area.top - 2 * lineHeight, area.top), 20);
    EXPECT_GT(Ink(first, area.top, area.top + lineHeight * 2), 20);
    EXPECT_GT(Ink(first, area.bottom, area.bottom + lineHeight * 2), 20);
    EXPECT_LT(area.bottom + lineHeight * 2, p.page.height);

    const Image last = p.Print(static_cast<UINT>(pages));
    last.SaveBmp(L"print_last_page.bmp");
    const int rowsOnLast = lines + 1 - starts.back();
    EXPECT_GT(Ink(last, area.top, area.top + lineHeight * (rowsOnLast - 1)), 20 * (rowsOnLast - 1));
    EXPECT_EQ(0, Ink(last, area.top + lineHeight * (rowsOnLast + 1), area.bottom));
    EXPECT_GT(Ink(last, area.bottom, area.bottom + lineHeight * 2), 20);
    // The loop stops after the last page.
    EXPECT_TRUE(p.Print(static_cast<UINT>(pages + 1)).Empty());

    CString header, footer;
    p.hosted.view->PrintHeaderText(1, header);
    p.hosted.view->PrintFooterText(2, footer);
    EXPECT_EQ(CString(L"TAVIX项目数据环境: "), header);
    CString page;
    page.Format(L"页码: 2/%d\t时间:", pages);
    EXPECT_EQ(0, footer.Find(page));
}

// A text whose last line has no line end (as every file the editor saves)
// prints that line: on the only page, and alone on a page of its own.
TEST(Print, TheLastLineWithoutALineEndIsPrinted)
{
    auto text = [](int lines) {
        std::wstring all;
        for (int i = 0; i < lines; ++i) {
            CString line;
            line.Format(L"K0+%03d\t%.3f", i * 20 % 1000, 100.0 + i);
            all += line.str();
            if (i + 1 < lines) all += L"\r\n";
        }
        return all;
    };
    int perPage = 0;
    {
        Printing p(text(3).c_str());
        const Image only = p.Print(1);
        const CRect area = p.hosted.view->GetPrintTextArea();
        const int lineHeight = p.hosted.view->GetPrintLineHeight();
        ASSERT_GT(lineHeight, 0);
        perPage = (area.bottom - area.top) / lineHeight;
        EXPECT_EQ(1, p.hosted.view->GetPrintPageCount());
        for (int row = 0; row < 3; ++row)
            EXPECT_GT(Ink(only, area.top + lineHeight * row, area.top + lineHeight * (row + 1)), 20) << row;
        EXPECT_EQ(0, Ink(only, area.top + lineHeight * 3, area.bottom));
    }
    Printing p(text(perPage + 1).c_str());
    EXPECT_FALSE(p.Print(1).Empty());
    ASSERT_EQ(2, p.hosted.view->GetPrintPageCount());
    const Image last = p.Print(2);
    const CRect area = p.hosted.view->GetPrintTextArea();
    const int lineHeight = p.hosted.view->GetPrintLineHeight();
    EXPECT_GT(Ink(last, area.top, area.top + lineHeight), 20);
    EXPECT_EQ(0, Ink(last, area.top + lineHeight, area.bottom));
}

// A print range that starts after page 1 prints its pages as a whole print
// would.
TEST(Print, ARangeThatStartsAfterTheFirstPagePrintsItsPages)
{
    std::wstring text;
    for (int i = 0; i < 300; ++i) text += L"K0+" + std::to_wstring(100 + i) + L"\t第" + std::to_wstring(i + 1) + L"行\r\n";
    Image second;
    {
        Printing whole(text.c_str());
        whole.Print(1);
        second = whole.Print(2);
    }
    ASSERT_FALSE(second.Empty());
    Printing range(text.c_str());
    const Image alone = range.Print(2);
    ASSERT_FALSE(alone.Empty());
    ASSERT_EQ(second.Width(), alone.Width());
    ASSERT_EQ(second.Height(), alone.Height());
    // Everything above the footer, which holds the time of printing.
    const int footer = range.hosted.view->GetPrintTextArea().bottom;
    ASSERT_GT(footer, 0);
    int differing = 0;
    for (int y = 0; y < std::min(footer, alone.Height()); ++y)
        for (int x = 0; x < alone.Width(); ++x) differing += alone.At(x, y) != second.At(x, y);
    EXPECT_EQ(0, differing);
    EXPECT_FALSE(range.Print(3).Empty());
}

TEST(Print, ALineTallerThanThePageGetsPagesOfItsOwnAndIsCut)
{
    std::wstring text = L"short\r\n";
    for (int i = 0; i < 4000; ++i) text += L"wrapped text ";
    text += L"\r\nafter";
    Printing p(text.c_str());
    p.Print(1);
    ASSERT_EQ(3, p.hosted.view->GetPrintPageCount());
    EXPECT_EQ(std::vector<int>({0, 1, 2}), p.hosted.view->GetPrintPageStarts());
    const Image tall = p.Print(2);
    tall.SaveBmp(L"print_tall_line.bmp");
    const CRect area = p.hosted.view->GetPrintTextArea();
    EXPECT_GT(Ink(tall, area.bottom - 20, area.bottom), 50); // text to the bottom of the area
    // Cut there: the space between the text and the footer's line stays
    // blank, and so does everything below the footer.
    const int lineHeight = p.hosted.view->GetPrintLineHeight();
    EXPECT_EQ(0, Ink(tall, area.bottom, area.bottom + lineHeight / 2));
    EXPECT_GT(Ink(tall, area.bottom, area.bottom + lineHeight * 3 / 2 + 1), 20);
    EXPECT_EQ(0, Ink(tall, area.bottom + lineHeight * 3 / 2 + 1, p.page.height));
}
