// The text buffer's edits: inserting and deleting with the positions that
// follow them, undo and redo by groups and at the cap, the comment toggle,
// line flags and the notices views receive.
#include "editor_test_support.h"

using test_support::ScratchFolder;
using edtest::AllText;
using edtest::Lines;
using edtest::SetText;

namespace {

// A view without a window that records the notices it gets.
class RecordingView : public edtest::TestView
{
public:
    struct Notice {
        DWORD flags;
        int line;
    };
    std::vector<Notice> notices;
    void OnBufferNotice(CTvTextView* source, CUpdateContext* context, DWORD flags, int line) override
    {
        notices.push_back({flags, line});
        CTvEditView::OnBufferNotice(source, context, flags, line);
    }
};

// A buffer whose modified flag lives elsewhere, as a document keeps it.
class ForwardingBuffer : public CTvTextBuffer
{
public:
    BOOL documentModified = FALSE;
    void SetModified(BOOL modified) override { documentModified = modified; }
};

void Insert(CTvTextBuffer& buffer, int line, int column, const wchar_t* text, int action = TVA_TYPING)
{
    int endLine = 0, endColumn = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, line, column, text, endLine, endColumn, action));
}

} // namespace

TEST(BufferEdit, InsertedTextBreaksAtCrLfAndLoneCr)
{
    struct Case {
        const wchar_t* text;
        std::vector<CString> lines;
        CPoint end;
    };
    const Case cases[] = {
        {L"x\ry\r\nz", {L"abx", L"y", L"zcd"}, CPoint(1, 2)},
        {L"1\n2", {L"ab1\n2cd"}, CPoint(5, 0)},
        {L"\r\n", {L"ab", L"cd"}, CPoint(0, 1)},
        {L"", {L"abcd"}, CPoint(2, 0)},
    };
    for (const Case& c : cases) {
        CTvTextBuffer buffer;
        SetText(buffer, L"abcd");
        int endLine = -1, endColumn = -1;
        ASSERT_TRUE(buffer.InsertText(nullptr, 0, 2, c.text, endLine, endColumn));
        EXPECT_EQ(c.lines, Lines(buffer));
        EXPECT_EQ(c.end, CPoint(endColumn, endLine));
    }
}

TEST(BufferEdit, RangesOutsideTheTextAreRefused)
{
    CTvTextBuffer buffer;
    SetText(buffer, L"ab\r\ncd");
    CString text;
    buffer.GetText(0, 1, 1, 1, text);
    EXPECT_EQ(CString(L"b\r\nc"), text);
    buffer.GetText(0, 1, 1, 1, text, L"\n");
    EXPECT_EQ(CString(L"b\nc"), text);
    EXPECT_EQ(L'\0', buffer.GetCharAt(0, 2));
    EXPECT_EQ(L'\0', buffer.GetCharAt(0, -1));
    auto refused = [&](auto call) {
        try {
            call();
        } catch (CInvalidArgException* e) {
            e->Delete();
            return true;
        }
        return false;
    };
    int endLine, endColumn;
    EXPECT_TRUE(refused([&] { buffer.GetLineLength(2); }));
    EXPECT_TRUE(refused([&] { buffer.GetText(0, 3, 1, 0, text); }));
    EXPECT_TRUE(refused([&] { buffer.InsertText(nullptr, 0, 5, L"x", endLine, endColumn); }));
    EXPECT_TRUE(refused([&] { buffer.DeleteText(nullptr, 1, 0, 0, 1); }));
    EXPECT_EQ(CString(L"ab\r\ncd"), AllText(buffer));
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(BufferEdit, PositionsFollowTheCharactersAcrossInsertionsAndDeletions)
{
    struct Case {
        CPoint before, afterInsert, afterDelete;
    };
    // Both changes span from (2, 1) to (3, 3).
    const Case cases[] = {
        {CPoint(5, 0), CPoint(5, 0), CPoint(5, 0)}, {CPoint(1, 1), CPoint(1, 1), CPoint(1, 1)},
        {CPoint(2, 1), CPoint(2, 1), CPoint(2, 1)}, {CPoint(3, 1), CPoint(4, 3), CPoint(2, 1)},
        {CPoint(2, 2), CPoint(2, 4), CPoint(2, 1)}, {CPoint(3, 3), CPoint(3, 5), CPoint(2, 1)},
        {CPoint(5, 3), CPoint(5, 5), CPoint(4, 1)}, {CPoint(0, 4), CPoint(0, 6), CPoint(0, 2)},
    };
    CTvTextBuffer::CInsertContext insert;
    insert.m_ptStart = CPoint(2, 1);
    insert.m_ptEnd = CPoint(3, 3);
    CTvTextBuffer::CDeleteContext remove;
    remove.m_ptStart = CPoint(2, 1);
    remove.m_ptEnd = CPoint(3, 3);
    for (const Case& c : cases) {
        CPoint p = c.before;
        insert.AdjustPoint(p);
        EXPECT_EQ(c.afterInsert, p) << c.before.x << "," << c.before.y;
        p = c.before;
        remove.AdjustPoint(p);
        EXPECT_EQ(c.afterDelete, p) << c.before.x << "," << c.before.y;
    }
}

TEST(BufferEdit, UndoAndRedoWalkGroupsAndPlaceTheCursor)
{
    CTvTextBuffer buffer;
    SetText(buffer, L"");
    buffer.OpenUndoGroup(FALSE);
    Insert(buffer, 0, 0, L"a");
    Insert(buffer, 0, 1, L"b");
    Insert(buffer, 0, 2, L"c");
    buffer.EndUndoGroup(nullptr);
    ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 1, 0, 2, TVA_DELETE));
    Insert(buffer, 0, 2, L"\r\nxy");
    EXPECT_EQ(CString(L"ac\r\nxy"), AllText(buffer));

    CPoint cursor;
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(CString(L"ac"), AllText(buffer));
    EXPECT_EQ(CPoint(2, 0), cursor);
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(CString(L"abc"), AllText(buffer));
    EXPECT_EQ(CPoint(2, 0), cursor); // after the restored "b"
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(CString(L""), AllText(buffer));
    EXPECT_EQ(CPoint(0, 0), cursor); // the start of the typed text
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.Undo(cursor));

    ASSERT_TRUE(buffer.Redo(cursor));
    EXPECT_EQ(CString(L"abc"), AllText(buffer));
    EXPECT_EQ(CPoint(3, 0), cursor);
    ASSERT_TRUE(buffer.Redo(cursor));
    EXPECT_EQ(CString(L"ac"), AllText(buffer));
    EXPECT_EQ(CPoint(1, 0), cursor);
    // A new edit forgets what could be redone.
    Insert(buffer, 0, 0, L"z");
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_EQ(CString(L"zac"), AllText(buffer));
}

TEST(BufferEdit, UndoingADeletionRestoresLinesThatHoldACarriageReturn)
{
    ScratchFolder folder(L"undocr");
    const CString path = folder / L"cr.txt";
    test_support::WriteBytes(path, "a\rb\r\nc\rd\r\ne");
    CTvTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    const std::vector<CString> before = Lines(buffer);
    ASSERT_EQ(3u, before.size());
    ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 0, 2, 1, TVA_DELETE));
    CPoint cursor;
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(before, Lines(buffer));
    ASSERT_TRUE(buffer.Redo(cursor));
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(before, Lines(buffer));
}

TEST(BufferEdit, TheCapDropsWholeOldGroupsAndMovesTheSavedState)
{
    ScratchFolder folder(L"cap");
    CTvTextBuffer buffer;
    SetText(buffer, L"");
    for (int i = 0; i < 100; ++i) Insert(buffer, 0, i, L"a");
    ASSERT_TRUE(buffer.SaveToFile(folder / L"saved.txt"));
    EXPECT_EQ(100, buffer.GetSavedPosition());
    const CString saved = AllText(buffer);
    for (int i = 0; i < 4006; ++i) Insert(buffer, 0, 0, L"b");
    EXPECT_EQ(4096, buffer.GetUndoRecordCount());
    EXPECT_EQ(4096, buffer.GetUndoPosition());
    EXPECT_EQ(90, buffer.GetSavedPosition()); // ten groups of one record went

    // Undoing back to the saved state finds the saved text, unmodified.
    CPoint cursor;
    while (buffer.GetUndoPosition() > 90) ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(saved, AllText(buffer));
    EXPECT_FALSE(buffer.IsModified());
    while (buffer.CanUndo()) ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(CString(L"aaaaaaaaaa"), AllText(buffer)); // the dropped groups stay done
    EXPECT_TRUE(buffer.IsModified());

    // Once the saved state itself is dropped, no state counts as saved.
    CTvTextBuffer early;
    SetText(early, L"");
    for (int i = 0; i < 5; ++i) Insert(early, 0, 0, L"a");
    ASSERT_TRUE(early.SaveToFile(folder / L"early.txt"));
    for (int i = 0; i < 4097; ++i) Insert(early, 0, 0, L"c");
    EXPECT_EQ(-1, early.GetSavedPosition());
    while (early.CanUndo()) ASSERT_TRUE(early.Undo(cursor));
    EXPECT_TRUE(early.IsModified());
}

TEST(BufferEdit, TheGroupStillOpenIsNeverCutAndUndoStopsAtTheFirstRecord)
{
    CTvTextBuffer buffer;
    SetText(buffer, L"");
    Insert(buffer, 0, 0, L"x");
    buffer.OpenUndoGroup(FALSE);
    for (int i = 0; i < 5000; ++i) Insert(buffer, 0, 1 + i, L"a");
    buffer.EndUndoGroup(nullptr);
    // The closed group before it went; all of the open one stayed.
    EXPECT_EQ(5000, buffer.GetUndoRecordCount());
    EXPECT_TRUE(buffer.GetUndoRecord(0).m_dwFlags & CTvTextBuffer::UNDO_BEGINGROUP);
    CPoint cursor;
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(CString(L"x"), AllText(buffer));
    EXPECT_EQ(0, buffer.GetUndoPosition());
    EXPECT_FALSE(buffer.Undo(cursor));

    // Typing merged into one group that outgrows the cap keeps all of it.
    CTvTextBuffer merged;
    SetText(merged, L"");
    for (int i = 0; i < 4200; ++i) {
        merged.OpenUndoGroup(TRUE);
        Insert(merged, 0, i, L"m");
        merged.EndUndoGroup(nullptr);
    }
    EXPECT_EQ(4200, merged.GetUndoRecordCount());
    ASSERT_TRUE(merged.Undo(cursor));
    EXPECT_EQ(CString(L""), AllText(merged));
    EXPECT_FALSE(merged.CanUndo());
}

// The buffer is unmodified exactly when its text is the file's: steps of
// typing, saving, undoing and redoing, with the flag after each step.
TEST(BufferEdit, ModifiedExactlyWhenTheTextDiffersFromTheFile)
{
    ScratchFolder folder(L"modified");
    const CString path = folder / L"a.txt";
    struct Step {
        char what;         // i insert, s save, u undo, r redo
        const wchar_t* text; // inserted at the end of the line
        bool modified;
    };
    const std::vector<std::vector<Step>> runs = {
        // A new edit after undoing past the save leaves no saved state.
        {{'i', L"b", true}, {'s', nullptr, false}, {'u', nullptr, true}, {'i', L"c", true}, {'u', nullptr, true},
         {'r', nullptr, true}},
        // Saving an undone state moves the saved state back.
        {{'i', L"x", true}, {'s', nullptr, false}, {'u', nullptr, true}, {'s', nullptr, false}, {'r', nullptr, true},
         {'u', nullptr, false}},
    };
    for (size_t r = 0; r < runs.size(); ++r) {
        SCOPED_TRACE(r);
        test_support::WriteBytes(path, "a");
        CTvTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFromFile(path));
        CPoint cursor;
        for (size_t k = 0; k < runs[r].size(); ++k) {
            const Step& step = runs[r][k];
            SCOPED_TRACE(k);
            switch (step.what) {
            case 'i': Insert(buffer, 0, buffer.GetLineLength(0), step.text); break;
            case 's': ASSERT_TRUE(buffer.SaveToFile(path)); break;
            case 'u': ASSERT_TRUE(buffer.Undo(cursor)); break;
            case 'r': ASSERT_TRUE(buffer.Redo(cursor)); break;
            }
            EXPECT_EQ(step.modified, buffer.IsModified() != FALSE);
            EXPECT_EQ(step.modified, test_support::ReadBytes(path) != test_support::Utf8(AllText(buffer)));
        }
    }
}

TEST(BufferEdit, UndoBackToTheSavedStateLeavesADocumentsFlagSet)
{
    ForwardingBuffer buffer;
    SetText(buffer, L"abc");
    buffer.documentModified = FALSE;
    Insert(buffer, 0, 3, L"d");
    EXPECT_TRUE(buffer.documentModified);
    CPoint cursor;
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(CString(L"abc"), AllText(buffer));
    EXPECT_TRUE(buffer.documentModified);
}

TEST(BufferEdit, CommentToggleChangesLinesMarksTheBufferAndTellsItsViews)
{
    CTvTextBuffer buffer;
    SetText(buffer, L"//abc\r\nabc\r\nabcd\r\n//\r\nK0+000 1.5");
    RecordingView view;
    view.m_pTestBuffer = &buffer;
    view.AttachToBuffer(&buffer);
    const int before = view.DisplayLengthOfLine(2);
    view.notices.clear();
    view.SetCursorPos(CPoint(5, 0));
    view.SetAnchor(CPoint(5, 0));

    buffer.ToggleLineComments(&view, 0, 4);
    EXPECT_EQ(CPoint(3, 0), view.GetCursorPos()); // kept inside the shorter line
    EXPECT_EQ(CPoint(3, 0), view.GetAnchor());
    EXPECT_EQ(std::vector<CString>({L"abc", L"abc", L"//abcd", L"//", L"//K0+000 1.5"}), Lines(buffer));
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_EQ(1u, view.notices.size());
    EXPECT_EQ(0, view.notices[0].line);
    EXPECT_TRUE(view.notices[0].flags & NotifyHorz);
    EXPECT_EQ(before + 2, view.DisplayLengthOfLine(2)); // the view measures the new text

    CPoint cursor;
    ASSERT_TRUE(buffer.Undo(cursor));
    EXPECT_EQ(std::vector<CString>({L"//abc", L"abc", L"abcd", L"//", L"K0+000 1.5"}), Lines(buffer));

    buffer.SetReadOnly(TRUE);
    buffer.ToggleLineComments(&view, 0, 4);
    EXPECT_EQ(CString(L"//abc"), Lines(buffer)[0]);
    view.DetachFromBuffer();
}

TEST(BufferEdit, ANumberedBookmarkMovesAndBothLinesAreRepainted)
{
    CTvTextBuffer buffer;
    SetText(buffer, L"0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11");
    RecordingView view;
    view.AttachToBuffer(&buffer);
    buffer.MarkLine(4, LF_BOOKMARK(3));
    view.notices.clear();
    buffer.MarkLine(10, LF_BOOKMARK(3));
    EXPECT_EQ(10, buffer.GetFlaggedLine(LF_BOOKMARK(3)));
    EXPECT_EQ(0u, buffer.LineFlags(4));
    ASSERT_EQ(2u, view.notices.size());
    EXPECT_EQ(4, view.notices[0].line);
    EXPECT_EQ(10, view.notices[1].line);
    EXPECT_EQ(NotifyOneLine | NotifyFlags, view.notices[1].flags);
    // Flags that are not one bit do nothing.
    buffer.MarkLine(1, LF_BOOKMARK(1) | LF_BOOKMARK(2));
    EXPECT_EQ(0u, buffer.LineFlags(1));
    EXPECT_EQ(-1, buffer.GetFlaggedLine(LF_BOOKMARK(1) | LF_BOOKMARK(2)));

    // The unnamed mark: several lines, visited with wrapping.
    buffer.MarkLine(2, LF_MARK, TRUE, FALSE);
    buffer.MarkLine(7, LF_MARK, TRUE, FALSE);
    EXPECT_EQ(7, buffer.FindNextMarkedLine(2));
    EXPECT_EQ(2, buffer.FindNextMarkedLine(7));
    EXPECT_EQ(7, buffer.FindNextMarkedLine(3));
    EXPECT_EQ(7, buffer.FindPrevMarkedLine(2));
    EXPECT_EQ(2, buffer.FindPrevMarkedLine(5));
    view.DetachFromBuffer();
}

TEST(BufferEdit, ActionsHaveDescriptionsForTheEditMenu)
{
    CTvTextBuffer buffer;
    SetText(buffer, L"abc");
    Insert(buffer, 0, 0, L"x", TVA_PASTE);
    ASSERT_TRUE(buffer.DeleteText(nullptr, 0, 0, 0, 1, TVA_CUT));
    CString text;
    EXPECT_TRUE(buffer.GetUndoText(text));
    EXPECT_EQ(CString(L"剪切"), text);
    CPoint cursor;
    buffer.Undo(cursor);
    EXPECT_TRUE(buffer.GetUndoText(text));
    EXPECT_EQ(CString(L"粘贴"), text);
    EXPECT_TRUE(buffer.GetRedoText(text));
    EXPECT_EQ(CString(L"剪切"), text);
    EXPECT_FALSE(buffer.GetActionText(11, text));
}
