// The data-file view's text in the document's own font: every glyph drawn
// whole in the cells the caret and the selection go by, Latin capitals and
// the last character of a line included.  The program's name in the fonts
// of the window title, the information log and the about box: its letters
// evenly spaced, with no gap that reads as a space.
#include "documents_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "support/Scratch.h"
#include <gtest/gtest.h>
#include <climits>
#include <sstream>

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

// The ink of each letter of the word as TextOut places it in the font: each
// letter drawn alone, black on white, where the whole word puts it.
std::vector<InkCount> LettersInk(HFONT font, const CString& word)
{
    CDC measure;
    measure.CreateCompatibleDC(nullptr);
    const HGDIOBJ oldMeasure = measure.SelectObject(font);
    const int width = 40 + static_cast<int>(measure.GetTextExtent(word, word.GetLength()).cx) + 40, height = 80;
    std::vector<InkCount> letters;
    for (int k = 0; k < word.GetLength(); ++k) {
        const int x = 40 + (k ? static_cast<int>(measure.GetTextExtent(word, k).cx) : 0);
        const wintest::Image image = wintest::RenderPaint(width, height, [&](CDC& dc) {
            const HGDIOBJ old = dc.SelectObject(font);
            dc.SetTextColor(RGB(0, 0, 0));
            dc.SetBkMode(TRANSPARENT);
            dc.TextOut(x, 20, word.Mid(k, 1), 1);
            dc.SelectObject(old);
        });
        letters.push_back(CountInk(image, CRect(0, 0, width, height)));
    }
    measure.SelectObject(oldMeasure);
    return letters;
}

// Checks that no gap between two neighbouring letters of the word is more
// than a pixel wider than the widest of the others: a lone wider gap reads
// as a space ("TAVI X").
void ExpectEvenlySpaced(HFONT font, const CString& word)
{
    const std::vector<InkCount> letters = LettersInk(font, word);
    std::vector<int> gaps;
    std::ostringstream shown;
    for (size_t k = 0; k + 1 < letters.size(); ++k) {
        ASSERT_GT(letters[k].pixels, 0) << "letter " << k << " drawn without ink";
        gaps.push_back(letters[k + 1].left - letters[k].right - 1);
        shown << (k ? ", " : "") << gaps.back();
    }
    for (size_t k = 0; k < gaps.size(); ++k) {
        int widestOther = INT_MIN;
        for (size_t j = 0; j < gaps.size(); ++j)
            if (j != k) widestOther = std::max(widestOther, gaps[j]);
        EXPECT_LE(gaps[k], widestOther + 1) << "the gap after letter " << k << " reads as a space; blank columns "
                                            << "between the letters: " << shown.str();
    }
}

// The face a font is drawn with, for the messages.
std::string FaceOf(HFONT font)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    const HGDIOBJ old = dc.SelectObject(font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.m_hDC, LF_FACESIZE, face);
    dc.SelectObject(old);
    return test_support::Utf8(face);
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

TEST(ProgramNameFont, TavixIsDrawnWithoutAGapInTheTitleTheLogAndTheAboutBox)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    ASSERT_NE(nullptr, frame);
    const CString word = L"TAVIX";

    // The title: the caption font of the system metrics.
    EXPECT_NE(-1, frame->GetWindowText().Find(word));
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    CFont caption;
    ASSERT_TRUE(caption.CreateFontIndirect(&metrics.lfCaptionFont));
    {
        SCOPED_TRACE("the window title in " + FaceOf(static_cast<HFONT>(caption.m_hObject)));
        ExpectEvenlySpaced(static_cast<HFONT>(caption.m_hObject), word);
    }

    // The information log: its first line names the program.
    auto* page = static_cast<CPPage_InfoBar*>(frame->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar)));
    ASSERT_NE(nullptr, page);
    CWnd* log = page->GetDlgItem(IDC_INFO_LOG);
    ASSERT_NE(nullptr, log);
    EXPECT_EQ(0, log->GetWindowText().Find(L"启动TAVIX"));
    const auto logFont = reinterpret_cast<HFONT>(log->SendMessage(WM_GETFONT));
    ASSERT_NE(nullptr, logFont);
    {
        SCOPED_TRACE("the information log in " + FaceOf(logFont));
        ExpectEvenlySpaced(logFont, word);
    }

    // The about box: its title in the caption font (above), its text in
    // the dialog's font.
    wintest::DialogScript script;
    script.Then([&](CWnd* d) {
        EXPECT_NE(-1, d->GetWindowText().Find(word));
        CWnd* text = d->GetDlgItem(IDC_ABOUT_TEXT);
        EXPECT_NE(-1, text->GetWindowText().Find(word));
        const auto font = reinterpret_cast<HFONT>(text->SendMessage(WM_GETFONT));
        EXPECT_NE(nullptr, font);
        if (font) {
            SCOPED_TRACE("the about box in " + FaceOf(font));
            ExpectEvenlySpaced(font, word);
        }
        wintest::Press(d, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_FALSE(script.StepsLeft());
}
