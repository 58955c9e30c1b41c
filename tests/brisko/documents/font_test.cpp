// The data-file view's text in the document's own font: every glyph drawn
// whole in the cells the caret and the selection go by, Latin capitals and
// the last character of a line included.
#include "documents_world.h"
#include <gtest/gtest.h>
#include <climits>

using namespace doctest;

namespace {

bool Ink(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128; }

// Ink pixels of the image inside the rectangle, and their leftmost and
// rightmost columns.
struct InkCount {
    int pixels = 0;
    int left = INT_MAX;
    int right = INT_MIN;
};

InkCount CountInk(const wintest::Image& image, const CRect& area)
{
    InkCount ink;
    for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(image.Height(), static_cast<int>(area.bottom)); ++y)
        for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(image.Width(), static_cast<int>(area.right));
             ++x)
            if (Ink(image.At(x, y))) {
                ++ink.pixels;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
    return ink;
}

// The ink of the text drawn alone, black on white, in the view's font at its
// own advances.
int InkOfText(CTvTextView* view, const CString& text)
{
    LOGFONTW lf;
    view->GetFont(lf);
    lf.lfWeight = FW_NORMAL;
    CFont font;
    EXPECT_TRUE(font.CreateFontIndirect(&lf));
    const int width = 40 + 40 * text.GetLength(), height = 80;
    const wintest::Image image = wintest::RenderPaint(width, height, [&](CDC& dc) {
        const HGDIOBJ old = dc.SelectObject(font.m_hObject);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(20, 20, text, text.GetLength());
        dc.SelectObject(old);
    });
    return CountInk(image, CRect(0, 0, width, height)).pixels;
}

} // namespace

TEST(DataFileFont, EveryGlyphIsDrawnWholeInTheCellsTheCaretGoesBy)
{
    StartProgram();
    DataFolder folder(L"font");
    const CString path = folder.Write(L"一号路.ZBD", L"//TAVIX平面坐标点文件(*.ZBD)\n0 GPS02 3358043.851 440182.574 133.661\n");
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    view->GetParentFrame()->ShowWindow(SW_SHOW);
    wintest::PumpUntilIdle();
    const wintest::Image image = wintest::PrintWindowImage(view, true);
    image.SaveBmp(L"editor_font.bmp");

    const int height = view->GetLineHeight();
    CRect client;
    view->GetClientRect(&client);
    struct Case {
        const char* what;
        int line, from, to; // the characters [from, to) of the line; -1: to its end
        const wchar_t* text;
    } cases[] = {
        {"a word of Latin capitals and digits", 1, 2, 7, L"GPS02"},
        {"a comment line ending in a bracket", 0, 0, -1, L"//TAVIX平面坐标点文件(*.ZBD)"},
        {"the whole data line", 1, 0, -1, L"0 GPS02 3358043.851 440182.574 133.661"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int length = document->m_TextBuffer.GetLineLength(c.line);
        const int to = c.to < 0 ? length : c.to;
        const CPoint start = view->TextToClient(CPoint(c.from, c.line));
        const CPoint end = view->TextToClient(CPoint(to, c.line));
        // Up to the next character's cell, or to the view's edge after the
        // line's last one.
        const int right = to < length ? static_cast<int>(end.x) + 1 : static_cast<int>(client.right);
        const InkCount ink = CountInk(image, CRect(start.x, start.y, right, start.y + height));
        EXPECT_EQ(InkOfText(view, c.text), ink.pixels) << "ink lost or added: a glyph cut or overlapped";
        // The caret before the first character and after the last one
        // enclose the glyphs.
        EXPECT_GE(ink.left, start.x);
        EXPECT_LT(ink.right, end.x + 1);
    }
}
