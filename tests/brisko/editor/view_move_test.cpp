// The text view's navigation: caret moves over tabs and Chinese text, the
// selection by keys and mouse, automatic scrolling, bookmarks, the
// clipboard and the status panes.
#include "editor_test_support.h"
#include "brisko/BriskoResource.h"

using namespace edtest;

namespace {

LPARAM At(const CPoint& p) { return MAKELPARAM(p.x, p.y); }

// A client point just right of the boundary before a text position.
CPoint PointOf(TestView* view, const CPoint& pos)
{
    const CPoint left = view->TextToClient(pos);
    return CPoint(left.x + 1, left.y + view->GetLineHeight() / 2);
}

} // namespace

TEST(ViewMove, ArrowKeysStepByCharactersOverTabsAndChineseText)
{
    Hosted<> h(L"\tK0\t桩号\r\n中文abc\r\nxy");
    TestView* v = h.view;
    struct Step {
        UINT command;
        CPoint cursor;
    };
    const Step steps[] = {
        {ID_EDIT_CHAR_RIGHT, CPoint(1, 0)},  {ID_EDIT_LINE_END, CPoint(6, 0)},   {ID_EDIT_CHAR_RIGHT, CPoint(0, 1)},
        {ID_EDIT_CHAR_RIGHT, CPoint(1, 1)},  {ID_EDIT_CHAR_RIGHT, CPoint(2, 1)}, {ID_EDIT_CHAR_LEFT, CPoint(1, 1)},
        {ID_EDIT_TEXT_END, CPoint(2, 2)},    {ID_EDIT_CHAR_RIGHT, CPoint(2, 2)}, {ID_EDIT_TEXT_BEGIN, CPoint(0, 0)},
        {ID_EDIT_CHAR_LEFT, CPoint(0, 0)},
    };
    for (const Step& s : steps) {
        Command(v, s.command);
        EXPECT_EQ(s.cursor, v->GetCursorPos()) << s.command;
        EXPECT_FALSE(v->IsSelection());
    }
    // A Chinese character is one column of the text and twice as wide as a
    // digit on the screen (a fixed font).
    const int wide = v->TextToClient(CPoint(1, 1)).x - v->TextToClient(CPoint(0, 1)).x;
    const int narrow = v->TextToClient(CPoint(3, 1)).x - v->TextToClient(CPoint(2, 1)).x;
    EXPECT_GT(wide, narrow);
    // A tab reaches the next tab stop.
    EXPECT_EQ(4, v->CalculateActualOffset(0, 1));
    EXPECT_EQ(8, v->CalculateActualOffset(0, 4));
}

TEST(ViewMove, UpAndDownKeepTheScreenColumn)
{
    Hosted<> h(L"abcdefghij\r\nab\tcd\r\nxy\r\nabcdefghij");
    TestView* v = h.view;
    v->SetCursorPos(CPoint(9, 0));
    Command(v, ID_EDIT_LINE_DOWN);
    EXPECT_EQ(CPoint(5, 1), v->GetCursorPos()); // the end of the shorter line
    Command(v, ID_EDIT_LINE_DOWN);
    EXPECT_EQ(CPoint(2, 2), v->GetCursorPos());
    Command(v, ID_EDIT_LINE_DOWN);
    EXPECT_EQ(CPoint(9, 3), v->GetCursorPos()); // back at the remembered column

    // Into a tab: the half of the tab decides.
    struct Case {
        int column;
        int expected;
    };
    for (const Case& c : {Case{2, 2}, Case{3, 3}, Case{4, 3}, Case{5, 4}}) {
        v->SetCursorPos(CPoint(c.column, 0));
        Command(v, ID_EDIT_LINE_DOWN);
        EXPECT_EQ(CPoint(c.expected, 1), v->GetCursorPos()) << "from column " << c.column;
    }
}

TEST(ViewMove, HomeWordAndPageMoves)
{
    Hosted<> h(L"   K0+000  123.45 //桩号\r\n\t \r\nend");
    TestView* v = h.view;
    v->SetCursorPos(CPoint(8, 0));
    Command(v, ID_EDIT_HOME);
    EXPECT_EQ(CPoint(3, 0), v->GetCursorPos());
    Command(v, ID_EDIT_HOME);
    EXPECT_EQ(CPoint(0, 0), v->GetCursorPos());
    v->SetCursorPos(CPoint(2, 1));
    Command(v, ID_EDIT_HOME);
    EXPECT_EQ(CPoint(0, 1), v->GetCursorPos()); // a line of blanks only

    const int rights[] = {3, 5, 6, 11, 14, 15, 18, 20, 22, 0};
    v->SetCursorPos(CPoint(0, 0));
    for (int x : rights) {
        Command(v, ID_EDIT_WORD_RIGHT);
        EXPECT_EQ(x, v->GetCursorPos().x);
    }
    EXPECT_EQ(1, v->GetCursorPos().y);
    v->SetCursorPos(CPoint(22, 0));
    const int lefts[] = {20, 18, 15, 14, 11, 6, 5, 3, 0};
    for (int x : lefts) {
        Command(v, ID_EDIT_WORD_LEFT);
        EXPECT_EQ(x, v->GetCursorPos().x);
    }

    Hosted<> tall(L"", CSize(300, 100));
    std::wstring text;
    for (int i = 0; i < 60; ++i) text += L"line\r\n";
    SetText(tall.buffer, text.c_str());
    const int screen = tall.view->GetScreenLines();
    ASSERT_GT(screen, 1);
    Command(tall.view, ID_EDIT_PAGE_DOWN);
    EXPECT_EQ(screen - 1, tall.view->GetCursorPos().y);
    EXPECT_EQ(screen - 1, tall.view->GetTopLine());
    Command(tall.view, ID_EDIT_EXT_PAGE_DOWN);
    CPoint start, end;
    tall.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, screen - 1), start);
    EXPECT_EQ(CPoint(0, 2 * (screen - 1)), end);
    Command(tall.view, ID_EDIT_TEXT_END);
    EXPECT_EQ(CPoint(0, 60), tall.view->GetCursorPos());
    EXPECT_GE(60, tall.view->GetTopLine() + screen - 1);
}

TEST(ViewMove, ShiftedMovesSelectFromTheAnchor)
{
    Hosted<> h(L"abcdef\r\nghijkl");
    TestView* v = h.view;
    Place(v, CPoint(1, 0));
    Command(v, ID_EDIT_EXT_CHAR_RIGHT);
    Command(v, ID_EDIT_EXT_CHAR_RIGHT);
    CPoint start, end;
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(1, 0), start);
    EXPECT_EQ(CPoint(3, 0), end);
    Command(v, ID_EDIT_EXT_LINE_DOWN);
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(3, 1), end);
    // Left without Shift goes to the selection's start.
    Command(v, ID_EDIT_CHAR_LEFT);
    EXPECT_EQ(CPoint(1, 0), v->GetCursorPos());
    EXPECT_FALSE(v->IsSelection());
    Command(v, ID_EDIT_SELECT_ALL);
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, 0), start);
    EXPECT_EQ(CPoint(6, 1), end);
    EXPECT_EQ(end, v->GetCursorPos());
}

TEST(ViewMove, MouseClicksPlaceTheCursorAndSelectWordsAndLines)
{
    Hosted<> h(L"K0+000 123.456\r\nK0+020 桩号_1 end\r\nlast");
    TestView* v = h.view;
    // A click between characters takes the nearer boundary.
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(PointOf(v, CPoint(3, 1)) - CPoint(1, 0)));
    v->SendMessage(WM_LBUTTONUP, 0, At(PointOf(v, CPoint(3, 1)) - CPoint(1, 0)));
    EXPECT_EQ(CPoint(3, 1), v->GetCursorPos());
    // Shift extends from the anchor.
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(PointOf(v, CPoint(10, 1))));
    v->SendMessage(WM_LBUTTONUP, 0, At(PointOf(v, CPoint(10, 1))));
    CPoint start, end;
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(3, 1), start);
    EXPECT_EQ(CPoint(10, 1), end);
    // A click inside the selection, released without moving: the cursor
    // goes there and the selection ends.
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(PointOf(v, CPoint(5, 1)) - CPoint(2, 0)));
    EXPECT_TRUE(v->IsSelection());
    v->SendMessage(WM_LBUTTONUP, 0, At(PointOf(v, CPoint(5, 1)) - CPoint(2, 0)));
    EXPECT_FALSE(v->IsSelection());
    EXPECT_EQ(CPoint(5, 1), v->GetCursorPos());
    // A double click selects the word, Chinese and "_" included.
    v->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(PointOf(v, CPoint(8, 1))));
    v->SendMessage(WM_LBUTTONUP, 0, At(PointOf(v, CPoint(8, 1))));
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(7, 1), start);
    EXPECT_EQ(CPoint(11, 1), end);
    // The margin selects whole lines, with Ctrl the whole text.
    const CPoint margin(2, PointOf(v, CPoint(0, 1)).y);
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(margin));
    v->SendMessage(WM_LBUTTONUP, 0, At(margin));
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, 1), start);
    EXPECT_EQ(CPoint(0, 2), end);
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(margin));
    v->SendMessage(WM_LBUTTONUP, 0, At(margin));
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, 0), start);
    EXPECT_EQ(CPoint(4, 2), end);
    // The right button keeps a selection it is pressed in, and moves the
    // cursor anywhere else.
    v->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(PointOf(v, CPoint(2, 0))));
    EXPECT_TRUE(v->IsSelection());
    v->SetSelection(CPoint(0, 0), CPoint(3, 0));
    v->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(PointOf(v, CPoint(2, 2)) + CPoint(1, 0)));
    EXPECT_FALSE(v->IsSelection());
    EXPECT_EQ(CPoint(2, 2), v->GetCursorPos());
}

TEST(ViewMove, DraggingBelowTheWindowScrollsThreeLinesATick)
{
    Hosted<> h(L"", CSize(300, 120));
    std::wstring text;
    for (int i = 0; i < 100; ++i) text += L"K0+000 1.0\r\n";
    SetText(h.buffer, text.c_str());
    TestView* v = h.view;
    const int lineHeight = v->GetLineHeight();
    v->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(PointOf(v, CPoint(2, 0))));
    CRect client;
    v->GetClientRect(&client);
    struct Case {
        int below; // pixels below the window
        int step;
    };
    for (const Case& c : {Case{lineHeight * 2, 3}, Case{lineHeight / 2, 1}}) {
        CPoint screen(40, client.bottom + c.below);
        v->ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        const int top = v->GetTopLine();
        v->SendMessage(WM_TIMER, 1001, 0);
        EXPECT_EQ(top + c.step, v->GetTopLine()) << c.below;
        // The selection follows into the new lines.
        EXPECT_EQ(v->GetTopLine() + v->GetScreenLines() - 1, v->GetCursorPos().y);
    }
    v->SendMessage(WM_LBUTTONUP, 0, At(CPoint(40, client.bottom - 2)));
    CPoint start, end;
    v->GetSelection(start, end);
    EXPECT_EQ(CPoint(2, 0), start);
}

TEST(ViewMove, BookmarkCommandsSetVisitAndClearMarks)
{
    Hosted<> h(L"0\r\n1\r\n2\r\n3\r\n4\r\n5");
    TestView* v = h.view;
    v->SetCursorPos(CPoint(0, 4));
    EXPECT_FALSE(Update(v, ID_EDIT_GO_BOOKMARK0 + 3).enabled);
    Command(v, ID_EDIT_TOGGLE_BOOKMARK0 + 3);
    EXPECT_EQ(1, Update(v, ID_EDIT_TOGGLE_BOOKMARK0 + 3).check);
    EXPECT_TRUE(Update(v, ID_EDIT_GO_BOOKMARK0 + 3).enabled);
    v->SetCursorPos(CPoint(1, 1));
    Command(v, ID_EDIT_GO_BOOKMARK0 + 3);
    EXPECT_EQ(CPoint(0, 4), v->GetCursorPos());

    EXPECT_FALSE(Update(v, ID_EDIT_NEXT_MARK).enabled);
    v->SetCursorPos(CPoint(0, 1));
    Command(v, ID_EDIT_TOGGLE_MARK);
    v->SetCursorPos(CPoint(0, 3));
    Command(v, ID_EDIT_TOGGLE_MARK);
    EXPECT_TRUE(Update(v, ID_EDIT_NEXT_MARK).enabled);
    Command(v, ID_EDIT_NEXT_MARK);
    EXPECT_EQ(1, v->GetCursorPos().y); // wrapped
    Command(v, ID_EDIT_PREV_MARK);
    EXPECT_EQ(3, v->GetCursorPos().y);
    Command(v, ID_EDIT_CLEAR_MARKS);
    EXPECT_EQ(-1, h.buffer.FindFlaggedLine(LF_MARK));
    EXPECT_FALSE(Update(v, ID_EDIT_PREV_MARK).enabled);
    Command(v, ID_EDIT_CLEAR_BOOKMARKS);
    EXPECT_EQ(-1, h.buffer.GetFlaggedLine(LF_BOOKMARK(3)));
    EXPECT_EQ(0, Update(v, ID_EDIT_TOGGLE_BOOKMARK0 + 3).check);
}

TEST(ViewMove, CopyPutsUnicodeTextOnTheClipboard)
{
    Hosted<> h(L"K0+000 桩号\r\nK0+020 高程");
    TestView* v = h.view;
    EXPECT_FALSE(Update(v, ID_EDIT_COPY).enabled);
    v->SetSelection(CPoint(7, 0), CPoint(6, 1));
    EXPECT_TRUE(Update(v, ID_EDIT_COPY).enabled);
    Command(v, ID_EDIT_COPY);
    CString text;
    ASSERT_TRUE(v->ReadClipboardText(text));
    EXPECT_EQ(CString(L"桩号\r\nK0+020"), text);
    // Programs that read 8-bit text get it in the ANSI code page.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE ansi = ::GetClipboardData(CF_TEXT);
    CString converted;
    EXPECT_TRUE(ClReadGlobalText(static_cast<HGLOBAL>(ansi), CF_TEXT, converted));
    ::CloseClipboard();
    EXPECT_EQ(text, converted);
}

TEST(ViewMove, CopyAsExcelTurnsDataLinesIntoTabSeparatedFields)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* excel;
    };
    const Case cases[] = {
        {L"K0+000  1.5,2\r\n// 注释 行\r\n", L"K0+000\t1.5\t2\t\n// 注释 行\n"},
        {L"  a b  \r\n\r\nc d", L"a\tb\t\n\nc\td\t"},
        {L"x\r\n//c", L"x\t\n//c\n"},
        {L"\r\n", L"\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(CString(c.excel), CTvTextView::ExcelText(c.text)) << test_support::Utf8(c.text);

    Hosted<> h(L"K0+000 1.5\r\n//注释");
    h.view->SelectAll();
    Command(h.view, ID_EDIT_COPY_EXCEL);
    CString text;
    ASSERT_TRUE(h.view->ReadClipboardText(text));
    EXPECT_EQ(CString(L"K0+000\t1.5\t\n//注释\n"), text);
}

TEST(ViewMove, StatusPanesShowTheEncodingAndThePosition)
{
    Hosted<> h(L"abc\r\ndef\r\nghi");
    TestView* v = h.view;
    EXPECT_EQ(CString(L"ASCII"), Update(v, ID_INDICATOR_TAVIX).text);
    v->SetCursorPos(CPoint(2, 1));
    EXPECT_EQ(CString(L"行: 2,     列: 3"), Update(v, ID_INDICATOR_POSITION).text);
    v->SetSelection(CPoint(1, 0), CPoint(2, 2));
    EXPECT_EQ(CString(L"行: 2, 列: 3, 选中2行"), Update(v, ID_INDICATOR_POSITION).text);

    TestView lone;
    const RecordingCmdUI none = Update(&lone, ID_INDICATOR_TAVIX);
    EXPECT_FALSE(none.enabled);
    EXPECT_EQ(CString(L""), none.text);
    // Without a buffer the view reads as one empty line.
    EXPECT_EQ(1, lone.GetLineCount());
    EXPECT_EQ(0, lone.GetLineLength(0));
    EXPECT_EQ(L'\0', lone.GetCharAt(0, 0));
}

TEST(ViewMove, AReloadedTextKeepsTheTabWidthOfTheSettings)
{
    const short old = theApp.m_nTabWidth;
    theApp.m_nTabWidth = 8;
    Hosted<> h(L"\tx");
    EXPECT_EQ(8, h.view->GetTabSize());
    h.view->SetTabSize(6);
    SetText(h.buffer, L"\ty"); // the whole text replaced, as a reload does
    EXPECT_EQ(8, h.view->GetTabSize());
    EXPECT_EQ(8, h.view->CalculateActualOffset(0, 1));
    theApp.m_nTabWidth = old;
}

TEST(ViewMove, TheEditorsKeysBecomeItsCommands)
{
    Hosted<> h(L"abc\r\ndef");
    auto press = [&](UINT key) {
        MSG msg{h.view->m_hWnd, WM_KEYDOWN, key, 1, 0, {0, 0}};
        return h.view->PreTranslateMessage(&msg);
    };
    EXPECT_TRUE(press(VK_RIGHT));
    EXPECT_TRUE(press(VK_DOWN));
    EXPECT_EQ(CPoint(1, 1), h.view->GetCursorPos());
    EXPECT_TRUE(press(VK_DELETE));
    EXPECT_EQ(CString(L"df"), Lines(h.buffer)[1]);
    EXPECT_TRUE(press(VK_END));
    EXPECT_EQ(CPoint(2, 1), h.view->GetCursorPos());
    EXPECT_FALSE(press('Q')); // typing is left to WM_CHAR
}

// Chinese characters are twice as wide as the columns the view scrolls by:
// the caret at the end of a long Chinese line, scrolled into view, shows
// where it is; scrolled out of view to the left it hides.
TEST(ViewMove, TheCaretFollowsTheCursorAlongALongChineseLine)
{
    Hosted<> h((std::wstring(120, L'桩') + L"\r\nK0").c_str());
    TestView* v = h.view;
    v->SendMessage(WM_SETFOCUS);
    ASSERT_TRUE(v->IsFocused());
    Command(v, ID_EDIT_LINE_END);
    ASSERT_GT(v->GetOffsetChar(), 120); // scrolled by screen columns
    EXPECT_TRUE(v->CaretShown());
    POINT caret{};
    ::GetCaretPos(&caret);
    EXPECT_EQ(v->TextToClient(v->GetCursorPos()).x, caret.x);
    CRect client;
    v->GetClientRect(&client);
    EXPECT_GT(caret.x, v->GetMarginWidth());
    EXPECT_LT(caret.x, client.right);

    v->SetCursorPos(CPoint(10, 0));
    EXPECT_FALSE(v->CaretShown());
}
