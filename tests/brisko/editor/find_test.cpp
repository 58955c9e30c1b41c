// Searching: the search over a block in both directions, the Find and
// Replace dialogs, Find Next and Previous, Replace All in a selection, and
// going to a line and to a data item of it.
#include "editor_test_support.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/EditReplaceDlg.h"

using namespace edtest;
using namespace wintest;

namespace {

// A main window with a status bar, for the texts the editor shows there.
struct StatusWindow {
    TestFrame* frame = new TestFrame;
    CStatusBar bar;
    CWnd* previous = theApp.m_pMainWnd;
    StatusWindow()
    {
        bar.Create(frame);
        const UINT ids[] = {ID_SEPARATOR};
        bar.SetIndicators(ids, 1);
        theApp.m_pMainWnd = frame;
    }
    ~StatusWindow()
    {
        theApp.m_pMainWnd = previous;
        frame->DestroyWindow();
    }
    CString Text() const { return bar.GetPaneText(0); }
};

CString Profile(const wchar_t* section, const wchar_t* key) { return AfxGetApp()->GetProfileString(section, key, L"<none>"); }

} // namespace

TEST(Find, TheSearchHonoursCaseWholeWordsDirectionWrapAndTheBlock)
{
    Hosted<> h(L"ab_x AB ab\r\nxab ab3 ab\r\nlast ab");
    TestView* v = h.view;
    const CPoint kNone(-1, -1);
    struct Case {
        const char* name;
        const wchar_t* what;
        CPoint start;
        DWORD flags;
        BOOL wrap;
        CPoint found;
    };
    const Case cases[] = {
        {"first of any case", L"ab", CPoint(0, 0), 0, FALSE, CPoint(0, 0)},
        {"matching case", L"AB", CPoint(1, 0), FIND_MATCH_CASE, FALSE, CPoint(5, 0)},
        {"a whole word skips ab_ and xab", L"ab", CPoint(0, 0), FIND_WHOLE_WORD | FIND_MATCH_CASE, FALSE,
         CPoint(8, 0)},
        {"a whole word from inside a word", L"ab", CPoint(1, 1), FIND_WHOLE_WORD, FALSE, CPoint(8, 1)},
        {"downwards to the end", L"ab", CPoint(3, 2), 0, FALSE, CPoint(5, 2)},
        {"downwards past the end", L"ab", CPoint(6, 2), 0, FALSE, kNone},
        {"wrapping to the top", L"ab", CPoint(6, 2), 0, TRUE, CPoint(0, 0)},
        {"upwards: right of the start on its line first", L"ab", CPoint(5, 1), FIND_DIRECTION_UP, FALSE,
         CPoint(8, 1)},
        {"upwards: then the earlier lines", L"ab3", CPoint(8, 2), FIND_DIRECTION_UP, FALSE, CPoint(4, 1)},
        {"upwards without wrap", L"last", CPoint(1, 1), FIND_DIRECTION_UP, FALSE, kNone},
        {"upwards with wrap", L"last", CPoint(1, 1), FIND_DIRECTION_UP, TRUE, CPoint(0, 2)},
        {"an empty text is never found", L"", CPoint(0, 0), 0, TRUE, kNone},
    };
    for (const Case& c : cases) {
        CPoint found = kNone;
        const BOOL ok = v->SearchText(c.what, c.start, c.flags, c.wrap, &found);
        EXPECT_EQ(c.found != kNone, ok) << c.name;
        EXPECT_EQ(c.found, found) << c.name;
    }
    // Within a block an occurrence on its last line counts only when it
    // starts before the block's end.
    CPoint found;
    EXPECT_TRUE(v->SearchTextInRange(L"ab", CPoint(0, 0), CPoint(1, 1), CPoint(5, 1), 0, FALSE, &found));
    EXPECT_EQ(CPoint(1, 1), found);
    EXPECT_TRUE(v->SearchTextInRange(L"ab", CPoint(2, 1), CPoint(1, 1), CPoint(5, 1), 0, FALSE, &found));
    EXPECT_EQ(CPoint(4, 1), found);
    EXPECT_FALSE(v->SearchTextInRange(L"ab", CPoint(5, 1), CPoint(1, 1), CPoint(5, 1), 0, FALSE, &found));
    EXPECT_TRUE(v->SearchTextInRange(L"ab", CPoint(5, 1), CPoint(1, 1), CPoint(5, 1), 0, TRUE, &found));
    EXPECT_EQ(CPoint(1, 1), found);
    EXPECT_FALSE(v->SearchTextInRange(L"ab", CPoint(0, 0), CPoint(1, 1), CPoint(1, 1), 0, TRUE, &found));
}

TEST(Find, TheFindDialogReportsMissesAndClosesOnAMatch)
{
    Hosted<> h(L"K0+000 abc\r\nK0+020 ABC\r\nend");
    StatusWindow status;
    MessageBoxScript boxes;
    DialogScript script;
    bool findEnabledWhenEmpty = true;
    script
        .Then([&](CWnd* d) {
            wintest::SetText(d, IDC_FIND_TEXT, L"");
            findEnabledWhenEmpty = d->GetDlgItem(IDOK)->IsWindowEnabled();
            wintest::SetText(d, IDC_FIND_TEXT, L"xyz");
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            wintest::SetText(d, IDC_FIND_TEXT, L"ABC");
            ::CheckDlgButton(d->m_hWnd, IDC_FIND_MATCH_CASE, BST_CHECKED);
            Press(d, IDOK);
        });
    Command(h.view, ID_EDIT_FIND);
    EXPECT_FALSE(findEnabledWhenEmpty);
    EXPECT_EQ(1, script.DialogsSeen());
    EXPECT_TRUE(script.Unscripted().empty());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"文字没有找到:xyz"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.Shown()[0].caption);
    EXPECT_TRUE(boxes.Shown()[0].type & MB_ICONSTOP);
    EXPECT_EQ(CString(L"文字没有找到:xyz"), status.Text());
    CPoint start, end;
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(7, 1), start);
    EXPECT_EQ(CPoint(10, 1), end);
    EXPECT_EQ(CString(L"ABC"), Profile(L"TvEdit\\Find", L"FindWhat"));
    EXPECT_EQ(1u, AfxGetApp()->GetProfileInt(L"TvEdit\\Find", L"MatchCase", 0));

    // F3 goes on with the last search (wrapping), Shift+F3 looks upwards.
    Command(h.view, ID_EDIT_FIND_NEXT);
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(7, 1), start);
    Place(h.view, CPoint(0, 2));
    Command(h.view, ID_EDIT_FIND_PREVIOUS);
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(7, 1), start);
    EXPECT_EQ(1u, boxes.Shown().size());
}

TEST(Find, AOneLineSelectionIsTheTextToFind)
{
    Hosted<> h(L"K0+000 abc abc");
    h.view->SetSelection(CPoint(7, 0), CPoint(10, 0));
    h.view->SetCursorPos(CPoint(10, 0));
    CString offered;
    DialogScript script;
    script.Then([&](CWnd* d) {
        offered = wintest::GetText(d, IDC_FIND_TEXT);
        Press(d, IDOK);
    });
    Command(h.view, ID_EDIT_FIND);
    EXPECT_EQ(CString(L"abc"), offered);
    EXPECT_EQ(CPoint(14, 0), h.view->GetCursorPos()); // the next one, from the cursor
}

TEST(Find, ReplaceAllInASelectionKeepsTheBlockEndOnItsLastLine)
{
    Hosted<> h(L"aa aa\r\naa x\r\naa aa aa");
    h.view->SetSelection(CPoint(3, 0), CPoint(5, 2));
    MessageBoxScript boxes;
    DialogScript script;
    int scope = -1;
    script.Then([&](CWnd* d) {
        scope = d->IsDlgButtonChecked(IDC_REPLACE_IN_SELECTION) ? 0 : 1;
        wintest::SetText(d, IDC_FIND_TEXT, L"aa");
        wintest::SetText(d, IDC_REPLACE_WITH, L"bbb");
        Press(d, IDC_REPLACE_ALL);
        Press(d, IDCANCEL);
    });
    Command(h.view, ID_EDIT_REPLACE);
    EXPECT_EQ(0, scope); // several lines selected: the selection is the range
    EXPECT_EQ(std::vector<CString>({L"aa bbb", L"bbb x", L"bbb bbb aa"}), Lines(h.buffer));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"全部替换完毕, 共替换4处文字."), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"bbb"), Profile(L"TvEdit\\Replace", L"ReplaceWith"));
    EXPECT_EQ(CString(L"aa"), Profile(L"TvEdit\\Replace", L"FindWhat"));
    // Each replacement is two undo steps.
    for (int i = 0; i < 8; ++i) Command(h.view, ID_EDIT_UNDO);
    EXPECT_EQ(CString(L"aa aa\r\naa x\r\naa aa aa"), AllText(h.buffer));
}

TEST(Find, ReplaceAllInASelectionReplacesNothingPastItsEnd)
{
    // The block's end moves with each replacement on its line: a shorter
    // replacement pulls the text after the block's end to the left, and
    // that text must stay as it was.
    struct Case {
        const wchar_t* text;
        CPoint begin, end;
        const wchar_t *what, *with, *result;
        int count;
    };
    const Case cases[] = {
        {L"x\r\naa aa aa", CPoint(0, 0), CPoint(5, 1), L"aa", L"a", L"x\r\na a aa", 2},
        {L"x\r\naa aa aa", CPoint(0, 0), CPoint(5, 1), L"aa", L"aaa", L"x\r\naaa aaa aa", 2},
        {L"aa aa aa\r\naa aa", CPoint(3, 0), CPoint(2, 1), L"aa", L"", L"aa  \r\n aa", 3},
    };
    for (const Case& c : cases) {
        Hosted<> h(c.text);
        h.view->SetSelection(c.begin, c.end);
        MessageBoxScript boxes;
        DialogScript script;
        script.Then([&](CWnd* d) {
            wintest::SetText(d, IDC_FIND_TEXT, c.what);
            wintest::SetText(d, IDC_REPLACE_WITH, c.with);
            Press(d, IDC_REPLACE_ALL);
            Press(d, IDCANCEL);
        });
        Command(h.view, ID_EDIT_REPLACE);
        EXPECT_EQ(CString(c.result), AllText(h.buffer)) << c.text << L" -> " << c.with;
        CString report;
        report.Format(L"全部替换完毕, 共替换%d处文字.", c.count);
        EXPECT_EQ(report, boxes.LastText()) << c.text << L" -> " << c.with;
        while (h.buffer.CanUndo()) Command(h.view, ID_EDIT_UNDO);
        EXPECT_EQ(CString(c.text), AllText(h.buffer));
    }
}

namespace {

// Replace All as a run of single replacements: search, replace the match
// (a deletion and an insertion, each its own undo group), move the block's
// end, search on from the end of the replacement.
int ReplaceOneByOne(TestView* view, const wchar_t* what, const wchar_t* with, DWORD flags, bool inBlock,
                    CPoint blockBegin, CPoint& blockEnd)
{
    const int removed = static_cast<int>(wcslen(what)), delta = static_cast<int>(wcslen(with)) - removed;
    CPoint at = inBlock ? blockBegin : CPoint(0, 0), found;
    int count = 0;
    for (;;) {
        const BOOL ok = inBlock ? view->SearchTextInRange(what, at, blockBegin, blockEnd, flags, FALSE, &found)
                                : view->SearchText(what, at, flags, FALSE, &found);
        if (!ok) return count;
        at = view->ReplaceRange(found, CPoint(found.x + removed, found.y), with);
        if (inBlock && found.y == blockEnd.y && found.x < blockEnd.x) blockEnd.x += delta;
        ++count;
    }
}

std::string Records(CTvTextBuffer& buffer)
{
    std::string text;
    for (int i = 0; i < buffer.GetUndoRecordCount(); ++i) {
        const CTvTextBuffer::SUndoRecord& r = buffer.GetUndoRecord(i);
        char head[96];
        std::snprintf(head, sizeof head, "%lx %ld,%ld-%ld,%ld %d ", r.m_dwFlags, r.m_ptStartPos.x, r.m_ptStartPos.y,
                      r.m_ptEndPos.x, r.m_ptEndPos.y, r.m_nAction);
        text += head + ClWideToMultiByte(r.GetText(), r.GetTextLength(), CP_UTF8) + "\n";
    }
    char tail[64];
    std::snprintf(tail, sizeof tail, "at %d saved %d modified %d", buffer.GetUndoPosition(), buffer.GetSavedPosition(),
                  buffer.IsModified() ? 1 : 0);
    return text + tail;
}

} // namespace

TEST(Find, ReplaceAllLeavesTextUndoListAndPositionsAsOneReplacementAfterAnother)
{
    // Replace All rewrites each line once; the text, the undo records and
    // groups, the saved state, the block's end and the positions of every
    // view must come out as replacing one occurrence after the other.
    std::wstring many;
    for (int i = 0; i < 3000; ++i) many += L"K" + std::to_wstring(i) + L" 高程 Ab\r\n";
    many += L"end";
    struct Case {
        const char* name;
        std::wstring text;
        const wchar_t *what, *with;
        DWORD flags;
        bool inBlock;
        CPoint begin, end;
    };
    const Case cases[] = {
        {"any case", L"AB ab aB\r\nxab\r\n", L"ab", L"Zz", 0, false, {}, {}},
        {"matching case", L"AB ab aB\r\nxab\r\n", L"ab", L"Zz", FIND_MATCH_CASE, false, {}, {}},
        {"whole words", L"ab_ab ab ab1 (ab)\r\nab", L"ab", L"c", FIND_WHOLE_WORD, false, {}, {}},
        {"a replacement that makes the next a whole word", L"--x-x-x", L"-x", L"-", FIND_WHOLE_WORD, false, {}, {}},
        {"overlapping texts", L"aaaaa\r\naaa", L"aa", L"a", 0, false, {}, {}},
        {"an empty replacement", L"aa aa aa\r\n\r\naa", L"aa", L"", 0, false, {}, {}},
        {"the block, shorter", L"x\r\naa aa aa", L"aa", L"a", 0, true, {0, 0}, {5, 1}},
        {"the block, longer", L"aa aa\r\naa x\r\naa aa aa", L"aa", L"bbb", 0, true, {3, 0}, {5, 2}},
        {"the block from the middle of a word", L"abab ab\r\nab", L"ab", L"x", FIND_WHOLE_WORD, true, {2, 0}, {2, 1}},
        {"more records than the undo list keeps", many, L"高程", L"地面高程", 0, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Hosted<> one(c.text.c_str()), each(c.text.c_str());
        TestView* second[2];
        for (Hosted<>* h : {&one, &each}) {
            // Some history: an edit saved, one undone (a redo waits), and a
            // second view with a selection.
            int endLine = 0, endColumn = 0;
            h->buffer.InsertText(nullptr, 0, 0, L"#", endLine, endColumn, TVA_TYPING);
            h->buffer.InsertText(nullptr, 0, 1, L"#", endLine, endColumn, TVA_TYPING);
            CPoint cursor;
            h->buffer.Undo(cursor);
            auto* view = new TestView;
            view->m_pTestBuffer = &h->buffer;
            view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), h->frame, AFX_IDW_PANE_FIRST + 2);
            view->AttachToBuffer(&h->buffer);
            const int last = h->buffer.GetLineCount() - 1;
            view->SetSelection(CPoint(3, 0), CPoint(std::min(4, h->buffer.GetLineLength(last)), last));
            view->SetCursorPos(CPoint(std::min(2, h->buffer.GetLineLength(last)), last));
            h->view->SetCursorPos(CPoint(std::min(6, h->buffer.GetLineLength(0)), 0));
            second[h == &one ? 0 : 1] = view;
        }
        const CPoint shift(1, 0); // the "#" kept at the start of line 0
        const CPoint begin = c.begin + (c.begin.y == 0 ? shift : CPoint()), end = c.end + (c.end.y == 0 ? shift : CPoint());

        CEditReplaceDlg dialog(one.view);
        dialog.m_sText = c.what;
        dialog.m_sNewText = c.with;
        dialog.m_bMatchCase = (c.flags & FIND_MATCH_CASE) != 0;
        dialog.m_bWholeWord = (c.flags & FIND_WHOLE_WORD) != 0;
        dialog.m_nScope = c.inBlock ? 0 : 1;
        dialog.m_ptBlockBegin = begin;
        dialog.m_ptBlockEnd = end;
        MessageBoxScript boxes;
        const int count = dialog.ReplaceAll();

        CPoint blockEnd = end;
        EXPECT_EQ(ReplaceOneByOne(each.view, c.what, c.with, c.flags, c.inBlock, begin, blockEnd), count);
        EXPECT_EQ(AllText(each.buffer), AllText(one.buffer));
        EXPECT_EQ(Records(each.buffer), Records(one.buffer));
        if (c.inBlock) EXPECT_EQ(blockEnd, dialog.m_ptBlockEnd);
        CPoint a0, a1, b0, b1;
        second[0]->GetSelection(a0, a1);
        second[1]->GetSelection(b0, b1);
        EXPECT_EQ(b0, a0);
        EXPECT_EQ(b1, a1);
        EXPECT_EQ(second[1]->GetCursorPos(), second[0]->GetCursorPos());
        // Undoing it all brings the same texts back.
        CPoint cursor;
        while (one.buffer.CanUndo() && each.buffer.CanUndo()) {
            one.buffer.Undo(cursor);
            each.buffer.Undo(cursor);
            ASSERT_EQ(AllText(each.buffer), AllText(one.buffer));
        }
        EXPECT_EQ(each.buffer.CanUndo(), one.buffer.CanUndo());
    }
}

namespace {

// A view that keeps what it is told after each edit action.
class ActionView : public TestView
{
public:
    void AfterEditAction(int action, const wchar_t* text) override
    {
        actions.push_back(std::to_wstring(action) + L" " + text);
        TestView::AfterEditAction(action, text);
    }
    std::vector<std::wstring> actions;
};

} // namespace

// The view that replaces hears of every removed text as it stood in the
// line, also when the line has to move into a larger block of memory.
TEST(Find, ReplaceAllTellsTheViewEachTextItRemovedAndWhatReplacedIt)
{
    Hosted<ActionView> h(L"Ab ab\r\nx aB");
    CEditReplaceDlg dialog(h.view);
    dialog.m_sText = L"ab";
    dialog.m_sNewText = L"0123456789abcdefghij";
    dialog.m_nScope = 1;
    MessageBoxScript boxes;
    ASSERT_EQ(3, dialog.ReplaceAll());
    const std::wstring del = std::to_wstring(TVA_DELSEL) + L" ", put = std::to_wstring(TVA_REPLACE) + L" ";
    const std::wstring with = L"0123456789abcdefghij";
    EXPECT_EQ(std::vector<std::wstring>({del + L"Ab", put + with, del + L"ab", put + with, del + L"aB", put + with}),
              h.view->actions);
}

TEST(Find, ReplaceAllInTheWholeFileCoversTheTextBeforeTheCursorToo)
{
    Hosted<> h(L"x1 x2\r\nx3");
    Place(h.view, CPoint(2, 1));
    CEditReplaceDlg dialog(h.view);
    dialog.m_sText = L"x";
    dialog.m_sNewText = L"xx";
    dialog.m_nScope = 1;
    dialog.m_ptFoundAt = dialog.m_ptSavedPos = h.view->GetCursorPos();
    MessageBoxScript boxes;
    EXPECT_EQ(3, dialog.ReplaceAll());
    EXPECT_EQ(CString(L"xx1 xx2\r\nxx3"), AllText(h.buffer));
    // Nothing left to replace: the miss is reported.
    dialog.m_sText = L"y";
    EXPECT_EQ(0, dialog.ReplaceAll());
    EXPECT_EQ(CString(L"文字没有找到:y"), boxes.LastText());
}

TEST(Find, ReplaceSelectsEachMatchBeforeReplacingIt)
{
    Hosted<> h(L"ab ab\r\nab");
    Place(h.view, CPoint(0, 0));
    CEditReplaceDlg dialog(h.view);
    dialog.m_sText = L"ab";
    dialog.m_sNewText = L"c";
    dialog.m_nScope = 1;
    MessageBoxScript boxes;
    dialog.ReplaceOne(); // nothing selected yet: only finds
    CPoint start, end;
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, 0), start);
    EXPECT_EQ(CString(L"ab ab\r\nab"), AllText(h.buffer));
    dialog.ReplaceOne();
    EXPECT_EQ(CString(L"c ab\r\nab"), AllText(h.buffer));
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(2, 0), start); // the next one is selected
    dialog.FindNext();
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, 1), start);
    dialog.ReplaceOne();
    EXPECT_EQ(CString(L"c ab\r\nc"), AllText(h.buffer));
    EXPECT_EQ(CString(L"文字没有找到:ab"), boxes.LastText());
}

namespace {

// Blocks as the data view makes them: a plain block at the start, and each
// number in its colour followed by a plain block.
class ItemView : public TestView
{
public:
    DWORD ParseLine(DWORD, int line, TEXTBLOCK* blocks, int& count) override
    {
        if (!blocks) return 0;
        const wchar_t* chars = LineText(line);
        const int length = GetLineLength(line);
        DefineBlock(blocks, count, 0, COLORINDEX_NORMALTEXT);
        for (int i = 0; i < length; ++i) {
            if (!iswdigit(chars[i]) && chars[i] != L'.') continue;
            const int start = i;
            while (i < length && (iswdigit(chars[i]) || chars[i] == L'.')) ++i;
            DefineBlock(blocks, count, start, COLORINDEX_NUMBER);
            DefineBlock(blocks, count, i, COLORINDEX_NORMALTEXT);
        }
        return 0;
    }
};

} // namespace

TEST(Find, GoToAnItemSelectsTheDataBetweenTheSeparators)
{
    Hosted<ItemView> h(L"1.5 2.5,3.5\r\n\r\nabc\r\n7 8");
    StatusWindow status;
    struct Case {
        int line, item;
        CPoint start, end;
    };
    const Case cases[] = {
        {0, 3, CPoint(8, 0), CPoint(11, 0)},
        {0, 1, CPoint(0, 0), CPoint(3, 0)},
        {1, 2, CPoint(0, 1), CPoint(0, 1)},  // an empty line
        {2, 1, CPoint(0, 2), CPoint(0, 2)},  // too few blocks
        {3, 5, CPoint(0, 3), CPoint(0, 3)},  // more items asked than blocks
        {3, 3, CPoint(0, 3), CPoint(3, 3)},  // no such item: the whole line
    };
    for (const Case& c : cases) {
        h.view->GoToLineItem(c.line, c.item);
        CPoint start, end;
        h.view->GetSelection(start, end);
        EXPECT_EQ(c.start, start) << c.line << "/" << c.item;
        EXPECT_EQ(c.end, end) << c.line << "/" << c.item;
        EXPECT_EQ(c.start, h.view->GetCursorPos());
    }
    EXPECT_EQ(CString(L"第4行中没有第3个数据."), status.Text());
}

TEST(Find, TheGoToDialogRefusesLinesOutsideTheText)
{
    Hosted<ItemView> h(L"a\r\nb\r\n1 2 3\r\nd");
    Place(h.view, CPoint(0, 1));
    MessageBoxScript boxes;
    DialogScript script;
    CString shownLine, shownTotal;
    script
        .Then([&](CWnd* d) {
            shownLine = wintest::GetText(d, IDC_GOTO_LINE);
            shownTotal = wintest::GetText(d, IDC_GOTO_TOTAL);
            wintest::SetText(d, IDC_GOTO_LINE, L"0");
            Press(d, IDOK);
        })
        .Then([](CWnd* d) {
            wintest::SetText(d, IDC_GOTO_LINE, L"5");
            Press(d, IDOK);
        })
        .Then([](CWnd* d) {
            wintest::SetText(d, IDC_GOTO_LINE, L"3");
            wintest::SetText(d, IDC_GOTO_ITEM, L"1001");
            Press(d, IDOK);
        })
        .Then([](CWnd* d) {
            wintest::SetText(d, IDC_GOTO_ITEM, L"2");
            Press(d, IDOK);
        });
    Command(h.view, ID_EDIT_GOTO_LINE);
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(CString(L"2"), shownLine);
    EXPECT_EQ(CString(L"4"), shownTotal);
    ASSERT_EQ(3u, boxes.Shown().size());
    EXPECT_EQ(CString(L"指定行号<0>不得小于1, 或大于总行数<4>!"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"指定行号<5>不得小于1, 或大于总行数<4>!"), boxes.Shown()[1].text);
    CPoint start, end;
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(2, 2), start);
    EXPECT_EQ(CPoint(3, 2), end);
}

