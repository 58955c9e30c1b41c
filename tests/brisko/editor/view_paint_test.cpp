// Painting the text view: a coloured screen of a data file, the selection,
// the read-only background, margin icons and numbers, the page lines, and
// lines far longer than a screen.
#include "editor_test_support.h"

using namespace edtest;
using wintest::Image;

namespace {

// Pixels within a small distance of the colour (text edges are smoothed).
int Near(const Image& image, const CRect& area, COLORREF colour, int tolerance = 40)
{
    int count = 0;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(image.Height(), static_cast<int>(area.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(image.Width(), static_cast<int>(area.right)); ++x) {
            const COLORREF c = image.At(x, y);
            if (std::abs(GetRValue(c) - GetRValue(colour)) <= tolerance &&
                std::abs(GetGValue(c) - GetGValue(colour)) <= tolerance &&
                std::abs(GetBValue(c) - GetBValue(colour)) <= tolerance)
                ++count;
        }
    return count;
}

// Settings of the application changed for one test.
struct GridSetting {
    BOOL old = theApp.m_bShowGrid;
    explicit GridSetting(BOOL show) { theApp.m_bShowGrid = show; }
    ~GridSetting() { theApp.m_bShowGrid = old; }
};

const wchar_t kDataFile[] =
    L"// 纵断面地面线 K0+000 - K0+100\r\n"
    L"K0+000\t123.456\r\n"
    L"K0+020\t124.800 // 桥头\r\n"
    L"K0+040\t125.130\r\n"
    L"\r\n"
    L"K0+060\t126.000";

CRect Row(TestView* view, int line, const CRect& client)
{
    const int height = view->GetLineHeight();
    return CRect(view->GetMarginWidth(), (line - view->GetTopLine()) * height, client.right,
                 (line - view->GetTopLine() + 1) * height);
}

} // namespace

TEST(ViewPaint, ADataFileIsColouredByItsParser)
{
    GridSetting grid(TRUE);
    Hosted<ColouringView> h(kDataFile, CSize(520, 200));
    const Image image = Picture(h.view);
    image.SaveBmp(L"coloured_data_file.bmp");
    CRect client;
    h.view->GetClientRect(&client);
    const COLORREF comment = theApp.m_Colors[3], number = theApp.m_Colors[4], text = theApp.m_Colors[1];
    EXPECT_GT(Near(image, Row(h.view, 0, client), comment), 30);
    EXPECT_EQ(0, Near(image, Row(h.view, 0, client), number, 10));
    const CRect row1 = Row(h.view, 1, client);
    EXPECT_GT(Near(image, row1, number), 30);
    EXPECT_GT(Near(image, row1, text), 10);
    EXPECT_EQ(0, Near(image, row1, comment, 10));
    const CRect row2 = Row(h.view, 2, client);
    EXPECT_GT(Near(image, row2, comment), 10);
    // The margin numbers the lines; the empty line is as empty as the rows
    // past the end.
    EXPECT_GT(Near(image, CRect(0, 0, h.view->GetMarginWidth(), row1.bottom), RGB(0, 80, 0), 60), 5);
    EXPECT_EQ(0, Near(image, Row(h.view, 4, client), text, 10));
    EXPECT_EQ(0, Near(image, Row(h.view, 4, client), number, 10));
}

TEST(ViewPaint, TheSelectionAndTheLineEndInsideItArePaintedInTheSelectionColours)
{
    Hosted<ColouringView> h(kDataFile, CSize(520, 200));
    h.view->SetShowInactiveSelection(TRUE);
    h.view->SetSelection(CPoint(7, 1), CPoint(3, 2));
    const Image image = Picture(h.view);
    image.SaveBmp(L"selection.bmp");
    CRect client;
    h.view->GetClientRect(&client);
    const COLORREF selBack = theApp.m_Colors[7];
    const CRect row1 = Row(h.view, 1, client);
    const CPoint selStart = h.view->TextToClient(CPoint(7, 1));
    const CPoint lineEnd = h.view->TextToClient(CPoint(h.view->GetLineLength(1), 1));
    // Before the selection: none; from its start to one character past the
    // line end: the selection's background.
    EXPECT_EQ(0, image.Count(CRect(row1.left, row1.top, selStart.x - 1, row1.bottom), selBack));
    EXPECT_GT(image.Count(CRect(selStart.x, row1.top + 2, lineEnd.x + h.view->GetCharWidth(), row1.bottom - 2), selBack),
              (lineEnd.x + h.view->GetCharWidth() - selStart.x) * 8);
    EXPECT_EQ(0, image.Count(CRect(lineEnd.x + h.view->GetCharWidth() + 1, row1.top, client.right, row1.bottom), selBack));
    // Without focus and without the dialog's request nothing is shown.
    h.view->SetShowInactiveSelection(FALSE);
    EXPECT_EQ(0, Picture(h.view).Count(row1, selBack));
}

TEST(ViewPaint, AReadOnlyBufferHasItsOwnBackground)
{
    Hosted<> h(L"K0+000 1.0\r\nK0+020 2.0");
    CRect client;
    h.view->GetClientRect(&client);
    const CRect farRight(client.right - 40, 0, client.right, client.bottom);
    EXPECT_GT(Picture(h.view).Count(farRight, theApp.m_Colors[0]), farRight.Width() * farRight.Height() * 3 / 4);
    h.buffer.SetReadOnly(TRUE);
    h.view->Invalidate();
    const Image image = Picture(h.view);
    image.SaveBmp(L"read_only.bmp");
    const COLORREF readOnly = theApp.m_Colors[9];
    // Behind and after the text, also on rows past the end (apart from the
    // page lines).
    const int painted = image.Count(farRight, readOnly);
    EXPECT_GT(painted, farRight.Width() * farRight.Height() * 3 / 4);
}

TEST(ViewPaint, TheMarginShowsTheFirstFlagIconOrTheLineNumber)
{
    Hosted<> h(L"a\r\nb\r\nc\r\nd");
    h.buffer.MarkLine(1, LF_BOOKMARK(0));
    h.buffer.MarkLine(1, LF_MARK, TRUE, FALSE);
    h.buffer.MarkLine(2, LF_MARK, TRUE, FALSE);
    const Image image = Picture(h.view);
    image.SaveBmp(L"margin.bmp");
    const int height = h.view->GetLineHeight();
    const int margin = h.view->GetMarginWidth();
    const COLORREF bookmarkBlue = RGB(60, 120, 210), markBlue = RGB(80, 170, 230);
    auto cell = [&](int line) { return CRect(0, line * height, margin, (line + 1) * height); };
    EXPECT_GT(image.Count(cell(1), bookmarkBlue), 40); // bookmark 0 comes before the mark
    EXPECT_EQ(0, image.Count(cell(1), markBlue));
    EXPECT_GT(image.Count(cell(2), markBlue), 40);
    EXPECT_GT(Near(image, cell(0), RGB(0, 80, 0), 60), 3); // "1"
    EXPECT_EQ(0, image.Count(cell(0), bookmarkBlue));
    // Without the selection margin the margin is one pixel of background.
    h.view->SetSelectionMargin(FALSE);
    EXPECT_EQ(1, h.view->GetMarginWidth());
    EXPECT_EQ(0, Picture(h.view).Count(cell(1), bookmarkBlue));
}

TEST(ViewPaint, PageLinesRunUnderEveryRowWhenTheSettingIsOn)
{
    for (BOOL show : {TRUE, FALSE}) {
        GridSetting grid(show);
        Hosted<> h(L"one\r\ntwo");
        CRect client;
        h.view->GetClientRect(&client);
        const Image image = Picture(h.view);
        const int height = h.view->GetLineHeight();
        const int margin = h.view->GetMarginWidth();
        for (int row = 0; (row + 1) * height <= client.bottom; ++row) {
            const int y = (row + 1) * height - 1;
            const int grey = image.Count(CRect(margin, y, client.right, y + 1), RGB(220, 220, 220));
            if (show)
                EXPECT_EQ(client.right - margin, grey) << "row " << row;
            else
                EXPECT_EQ(0, grey) << "row " << row;
        }
    }
}

namespace {

// Three blocks for every character, the most the painter allows.
class DenseView : public TestView
{
public:
    DWORD ParseLine(DWORD, int line, TEXTBLOCK* blocks, int& count) override
    {
        if (!blocks) return 0;
        const int length = GetLineLength(line);
        for (int i = 0; i < length; ++i)
            for (int k = 0; k < 3; ++k) DefineBlock(blocks, count, i, (i % 2) ? COLORINDEX_NUMBER : COLORINDEX_KEYWORD);
        // Past the room: dropped, not written.
        for (int k = 0; k < 10; ++k) DefineBlock(blocks, count, length, COLORINDEX_COMMENT);
        return 0;
    }
};

} // namespace

TEST(ViewPaint, LinesOfTensOfThousandsOfCharactersPaintAndMeasure)
{
    std::wstring line;
    for (int i = 0; i < 45000; ++i) line += (i % 10 == 9) ? L'\t' : static_cast<wchar_t>(L'a' + i % 26);
    Hosted<DenseView> h(line.c_str(), CSize(400, 120));
    std::vector<TEXTBLOCK> blocks;
    h.view->ParseLineBlocks(0, blocks);
    EXPECT_EQ(45000u * 3, blocks.size());

    // Far to the right: the column found under a point is the one whose
    // point it is.
    const CPoint distant(20000, 0);
    h.view->EnsureVisible(distant);
    EXPECT_GT(h.view->GetOffsetChar(), 8192);
    const CPoint at = h.view->TextToClient(distant);
    EXPECT_GT(at.x, h.view->GetMarginWidth());
    EXPECT_LT(at.x, 400);
    EXPECT_EQ(distant, h.view->ClientToText(CPoint(at.x + 1, at.y + 2)));
    const Image image = Picture(h.view);
    image.SaveBmp(L"long_line.bmp");
    EXPECT_GT(Near(image, CRect(h.view->GetMarginWidth(), 0, 400, h.view->GetLineHeight()), theApp.m_Colors[6]), 10);
}

TEST(ViewPaint, ChangingOneLineRecomputesTheStateOfTheLinesAfterIt)
{
    Hosted<ColouringView> h(L"1\r\n2\r\n3\r\n4\r\n5\r\n6", CSize(300, 200));
    EXPECT_EQ(6u, h.view->GetParseCookie(5));
    EXPECT_EQ(6, h.view->m_nValidCookies);
    int endLine, endColumn;
    h.buffer.InsertText(nullptr, 2, 1, L"x", endLine, endColumn);
    EXPECT_EQ(2, h.view->m_nValidCookies);
    h.view->m_nParseCalls = 0;
    EXPECT_EQ(6u, h.view->GetParseCookie(5));
    EXPECT_EQ(4, h.view->m_nParseCalls); // lines 2 to 5, once each
    h.buffer.InsertText(nullptr, 1, 0, L"\r\n", endLine, endColumn);
    EXPECT_EQ(1, h.view->m_nValidCookies);
    EXPECT_EQ(7u, h.view->GetParseCookie(6));
}

TEST(ViewPaint, AParserWithoutBlocksLeavesTheLineInPlainText)
{
    Hosted<> h(L"K0+000 123.456 // 注释");
    const Image image = Picture(h.view);
    CRect client;
    h.view->GetClientRect(&client);
    const CRect row = Row(h.view, 0, client);
    EXPECT_GT(Near(image, row, theApp.m_Colors[1]), 30);
    EXPECT_EQ(0, Near(image, row, theApp.m_Colors[3], 10));
}

// A line's width in cells, which sizes the horizontal scroll bar: a tab
// reaches the next stop counted in characters, a wide character takes two
// cells, and the marks shown for blanks and tabs change nothing.
TEST(ViewPaint, ALineIsMeasuredInCellsWithItsTabsAndWideCharacters)
{
    struct Case {
        const wchar_t* line;
        int tabSize;
        int cells;
    };
    const Case cases[] = {
        {L"", 4, 0},
        {L"K0+000 1.5", 4, 10},
        {L"a\tb", 4, 5},
        {L"abcd\tx", 4, 9},  // a tab on a stop goes on to the next
        {L"\t\t", 4, 8},
        {L"a\tb", 8, 9},
        {L"高程\tx", 4, 7},  // the tab stops count characters, not cells
        {L"\x10FF\x1100", 4, 3}, // the first wide character and the one before it
        {L"\xFF41\xFF61\xFFE6", 4, 5},
    };
    for (BOOL whitespace : {FALSE, TRUE})
        for (const Case& c : cases) {
            Hosted<> h((std::wstring(L"x\r\n") + c.line).c_str());
            h.view->SetTabSize(c.tabSize);
            h.view->SetViewWhitespace(whitespace);
            EXPECT_EQ(c.cells, h.view->DisplayLengthOfLine(1)) << c.line << L" tab " << c.tabSize << L" shown " << whitespace;
            EXPECT_EQ(std::max(1, c.cells), h.view->GetMaxLineLength()) << c.line;
        }
}
