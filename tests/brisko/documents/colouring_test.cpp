// The data-file view's colours: keywords, numbers, comments after "//" or
// ";;", block comments, quoted text, directive lines and the state carried
// from one line to the next.
#include "documents_world.h"
#include "brisko/shell/BriskoApp.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

// A data-file view on a buffer of the test's, in a hidden frame.
class ColourView : public CBriskoView
{
public:
    CTvTextBuffer* m_pTestBuffer = nullptr;
    CTvTextBuffer* GetTextBuffer() override { return m_pTestBuffer; }
    using CTvTextView::ParseLineBlocks;
};

struct HostedView {
    CTvTextBuffer buffer;
    wintest::TestFrame* frame = new wintest::TestFrame(false);
    ColourView* view = new ColourView;

    explicit HostedView(const wchar_t* text)
    {
        buffer.InitEmpty(0);
        CString lines(text);
        lines.Replace(L"\n", L"\r\n");
        int line = 0, column = 0;
        buffer.InsertTextNoUndo(nullptr, 0, 0, lines, line, column);
        view->m_pTestBuffer = &buffer;
        view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200), frame, AFX_IDW_PANE_FIRST + 1);
        view->AttachToBuffer(&buffer);
    }
    ~HostedView()
    {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    HostedView(const HostedView&) = delete;
    HostedView& operator=(const HostedView&) = delete;

    // One letter a character: N normal, K keyword, C comment, 9 number,
    // S string, D directive.
    CString Colours(int line)
    {
        std::vector<TEXTBLOCK> blocks;
        view->ParseLineBlocks(line, blocks);
        CString letters;
        const int length = buffer.GetLineLength(line);
        for (int i = 0; i < length; ++i) {
            int colour = COLORINDEX_NORMALTEXT;
            for (const TEXTBLOCK& block : blocks)
                if (block.m_nCharPos <= i) colour = block.m_nColorIndex;
            switch (colour) {
            case COLORINDEX_KEYWORD: letters += L'K'; break;
            case COLORINDEX_COMMENT: letters += L'C'; break;
            case COLORINDEX_NUMBER: letters += L'9'; break;
            case COLORINDEX_STRING: letters += L'S'; break;
            case COLORINDEX_PREPROCESSOR: letters += L'D'; break;
            default: letters += L'N'; break;
            }
        }
        return letters;
    }
};

} // namespace

TEST(Colouring, NumbersAndKeywords)
{
    const struct {
        const wchar_t* token;
        bool number;
    } numbers[] = {
        {L"-12.5", true}, {L"+3", true},     {L".5", true},    {L"1e5", true},    {L"1.5E-3", true}, {L"05", true},
        {L"0.5", true},   {L"7", true},      {L"1-2-3", false}, {L"1..2", false}, {L"12e", false},   {L"1e5e6", false},
        {L"0123", false}, {L"1500_2", false}, {L"007", false},  {L"e5", false},   {L"1+", false},    {L"", false},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(n.number, CBriskoView::IsNumber(n.token, static_cast<int>(wcslen(n.token))) == TRUE)
            << Utf8(n.token);
    for (const wchar_t* word : {L"HIGHWAY", L"City", L"A", L"R", L"L", L"Abs1", L"Separation", L"LEFT", L"right"}) {
        const bool keyword = CString(word) != L"right";
        EXPECT_EQ(keyword, CBriskoView::IsKeyword(word, static_cast<int>(wcslen(word))) == TRUE) << Utf8(word);
    }
    for (const wchar_t* word : {L"separation", L"Highway1", L"LEFT_1", L"AB", L"highways"})
        EXPECT_FALSE(CBriskoView::IsKeyword(word, static_cast<int>(wcslen(word)))) << Utf8(word);
}

TEST(Colouring, LinesAndTheStateTheyPassOn)
{
    StartProgram();
    const struct {
        const char* what;
        const wchar_t* text;
        std::vector<const wchar_t*> colours; // one entry a line
    } cases[] = {
        {"tokens", L"HIGHWAY 12 -3.5 x1 0123\nHighway1 LEFT_1 City", {L"KKKKKKKN99N9999NNNNNNNN", L"NNNNNNNNNNNNNNNNKKKK"}},
        {"two semicolons or slashes", L"a;b ;; c\nx/2 // y", {L"NNNNCCCC", L"NN9NCCCC"}},
        {"block comment up to the empty line", L"1 /* a\nb */ 2\n/* c\n\n3", {L"9NCCCC", L"CCCCN9", L"CCCC", L"", L"9"}},
        {"string carried by a backslash", L"s \"ab\\\ncd\" 5", {L"NNSSSS", L"SSSN9"}},
        {"comment carried by a backslash", L"1 // x\\\n2 3\n4", {L"9NCCCCC", L"CCC", L"9"}},
        {"directive", L"  #x 1\n1 #", {L"NNDDDD", L"9NN"}},
        {"keyword before a quote", L"ABS\"x\" 1", {L"NNNSSSN9"}},
        {"Chinese text ends a token", L"起点A 12", {L"NNKN99"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HostedView hosted(c.text);
        ASSERT_EQ(static_cast<int>(c.colours.size()), hosted.buffer.GetLineCount());
        for (int line = 0; line < hosted.buffer.GetLineCount(); ++line)
            EXPECT_EQ(CString(c.colours[static_cast<size_t>(line)]), hosted.Colours(line)) << "line " << line;
    }
}
