// The editing view: typing and its undo steps, automatic indentation,
// Backspace and Delete, Tab and Shift+Tab on lines, cut and paste, the undo
// menu texts, and dropping text in each clipboard format.
#include "editor_test_support.h"
#include "brisko/BriskoResource.h"
#include <cstring>

using namespace edtest;

namespace {

void Type(TestView* view, const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p) view->SendMessage(WM_CHAR, *p, 1);
}

struct AutoIndentSetting {
    BOOL old = theApp.m_bAutoIndent;
    explicit AutoIndentSetting(BOOL on) { theApp.m_bAutoIndent = on; }
    ~AutoIndentSetting() { theApp.m_bAutoIndent = old; }
};

} // namespace

TEST(EditView, TypedWordsUndoAsOneStepAndEachSpaceStartsANewOne)
{
    Hosted<> h(L"");
    Type(h.view, L"ab cd");
    EXPECT_EQ(CString(L"ab cd"), AllText(h.buffer));
    EXPECT_EQ(CPoint(5, 0), h.view->GetCursorPos());
    Command(h.view, ID_EDIT_UNDO);
    EXPECT_EQ(CString(L"ab"), AllText(h.buffer));
    EXPECT_EQ(CPoint(2, 0), h.view->GetCursorPos());
    Command(h.view, ID_EDIT_UNDO);
    EXPECT_EQ(CString(L""), AllText(h.buffer));
    Command(h.view, ID_EDIT_REDO);
    EXPECT_EQ(CString(L"ab"), AllText(h.buffer));
    // Control characters other than Enter are not text.
    h.view->SendMessage(WM_CHAR, 0x08, 1);
    h.view->SendMessage(WM_CHAR, 0x1B, 1);
    EXPECT_EQ(CString(L"ab"), AllText(h.buffer));
}

TEST(EditView, OverwriteModeReplacesCharactersAndEnterMovesDown)
{
    Hosted<> h(L"abcd\r\nefgh");
    Command(h.view, ID_EDIT_SWITCH_OVRMODE);
    EXPECT_TRUE(h.view->GetOverwriteMode());
    Place(h.view, CPoint(1, 0));
    Type(h.view, L"XY");
    EXPECT_EQ(CString(L"aXYd"), Lines(h.buffer)[0]);
    Type(h.view, L"\r");
    EXPECT_EQ(CPoint(0, 1), h.view->GetCursorPos());
    EXPECT_EQ(2, h.buffer.GetLineCount());
    // On the last line Enter breaks it as usual.
    Type(h.view, L"\r");
    EXPECT_EQ(3, h.buffer.GetLineCount());
    Command(h.view, ID_EDIT_UNDO);
    Command(h.view, ID_EDIT_UNDO);
    EXPECT_EQ(CString(L"abcd\r\nefgh"), AllText(h.buffer));
}

TEST(EditView, EnterRepeatsTheIndentationWhenTheSettingIsOn)
{
    for (BOOL on : {TRUE, FALSE}) {
        AutoIndentSetting setting(on);
        Hosted<> h(L"\t  K0+000 1.0");
        Place(h.view, CPoint(13, 0));
        Type(h.view, L"\r");
        EXPECT_EQ(on ? CString(L"\t  ") : CString(L""), Lines(h.buffer)[1]);
        EXPECT_EQ(CPoint(on ? 3 : 0, 1), h.view->GetCursorPos());
        if (on) {
            // The indentation is an undo step of its own, after the line
            // break; an empty paste does not repeat it.
            ::OpenClipboard(nullptr);
            ::EmptyClipboard();
            ::CloseClipboard();
            Command(h.view, ID_EDIT_PASTE);
            EXPECT_EQ(CString(L"\t  "), Lines(h.buffer)[1]);
            Command(h.view, ID_EDIT_UNDO);
            EXPECT_EQ(CString(L""), Lines(h.buffer)[1]);
            Command(h.view, ID_EDIT_UNDO);
            EXPECT_EQ(1, h.buffer.GetLineCount());
        }
    }
}

TEST(EditView, BackspaceAndDeleteJoinLinesAtTheirEnds)
{
    Hosted<> h(L"0\r\n1\r\n2\r\n3\r\nfour\r\nfive");
    Place(h.view, CPoint(0, 5));
    Command(h.view, ID_EDIT_DELETE_BACK);
    EXPECT_EQ(CString(L"fourfive"), Lines(h.buffer)[4]);
    EXPECT_EQ(CPoint(4, 4), h.view->GetCursorPos());
    Command(h.view, ID_EDIT_DELETE_BACK);
    EXPECT_EQ(CString(L"foufive"), Lines(h.buffer)[4]);
    Place(h.view, CPoint(1, 3));
    Command(h.view, ID_EDIT_DELETE);
    EXPECT_EQ(CString(L"3foufive"), Lines(h.buffer)[3]);
    EXPECT_EQ(CPoint(1, 3), h.view->GetCursorPos());
    // Nothing to delete at the ends of the text.
    Place(h.view, CPoint(8, 3));
    Command(h.view, ID_EDIT_DELETE);
    Place(h.view, CPoint(0, 0));
    Command(h.view, ID_EDIT_DELETE_BACK);
    EXPECT_EQ(4, h.buffer.GetLineCount());
    // A selection goes in one step.
    h.view->SetSelection(CPoint(0, 1), CPoint(1, 2));
    Command(h.view, ID_EDIT_DELETE_BACK);
    EXPECT_EQ(std::vector<CString>({L"0", L"", L"3foufive"}), Lines(h.buffer));
    CString undo = Update(h.view, ID_EDIT_UNDO).text;
    EXPECT_EQ(CString(L"撤消(&U) 删除\tCtrl+Z"), undo);
}

TEST(EditView, TabAndShiftTabIndentWholeLines)
{
    Hosted<> h(L"\tone\r\n      two\r\n  three\r\nfour");
    h.view->SetSelection(CPoint(2, 0), CPoint(0, 3)); // the last line stays out
    Command(h.view, ID_EDIT_UNTAB);
    EXPECT_EQ(std::vector<CString>({L"one", L"  two", L"three", L"four"}), Lines(h.buffer));
    CPoint start, end;
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(0, 0), start);
    EXPECT_EQ(CPoint(0, 3), end);
    Command(h.view, ID_EDIT_TAB);
    EXPECT_EQ(std::vector<CString>({L"\tone", L"\t  two", L"\tthree", L"four"}), Lines(h.buffer));
    Command(h.view, ID_EDIT_UNDO); // the whole indent at once
    EXPECT_EQ(std::vector<CString>({L"one", L"  two", L"three", L"four"}), Lines(h.buffer));

    // Within a line Tab types a tab; Shift+Tab only moves back a stop.
    Place(h.view, CPoint(2, 3));
    Command(h.view, ID_EDIT_TAB);
    EXPECT_EQ(CString(L"fo\tur"), Lines(h.buffer)[3]);
    Command(h.view, ID_EDIT_UNTAB);
    EXPECT_EQ(CPoint(0, 3), h.view->GetCursorPos()); // from the stop after the tab to the one before
    EXPECT_EQ(CString(L"fo\tur"), Lines(h.buffer)[3]);
    // In overwrite mode Tab moves to the next stop.
    h.view->SetOverwriteMode(TRUE);
    Place(h.view, CPoint(0, 2));
    Command(h.view, ID_EDIT_TAB);
    EXPECT_EQ(CPoint(4, 2), h.view->GetCursorPos());
    EXPECT_EQ(CString(L"three"), Lines(h.buffer)[2]);
}

TEST(EditView, CutAndPasteGoThroughTheClipboard)
{
    Hosted<> h(L"K0+000 桩号\r\nK0+020");
    EXPECT_FALSE(Update(h.view, ID_EDIT_CUT).enabled);
    h.view->SetSelection(CPoint(7, 0), CPoint(9, 0));
    EXPECT_TRUE(Update(h.view, ID_EDIT_CUT).enabled);
    Command(h.view, ID_EDIT_CUT);
    EXPECT_EQ(CString(L"K0+000 "), Lines(h.buffer)[0]);
    EXPECT_TRUE(Update(h.view, ID_EDIT_PASTE).enabled);
    Place(h.view, CPoint(6, 1));
    Command(h.view, ID_EDIT_PASTE);
    EXPECT_EQ(CString(L"K0+020桩号"), Lines(h.buffer)[1]);
    EXPECT_EQ(CPoint(8, 1), h.view->GetCursorPos());
    // Text put on the clipboard by an 8-bit program.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_TEXT, ClGlobalFromText(L"高程\r\n1.0", CF_TEXT));
    ::CloseClipboard();
    h.view->SetSelection(CPoint(0, 0), CPoint(7, 0));
    Command(h.view, ID_EDIT_PASTE);
    EXPECT_EQ(std::vector<CString>({L"高程", L"1.0", L"K0+020桩号"}), Lines(h.buffer));
    Command(h.view, ID_EDIT_UNDO); // the pasted text and the replaced selection at once
    EXPECT_EQ(std::vector<CString>({L"K0+000 ", L"K0+020桩号"}), Lines(h.buffer));
}

TEST(EditView, UndoMenuItemsDescribeTheStep)
{
    Hosted<> h(L"abc");
    RecordingCmdUI undo = Update(h.view, ID_EDIT_UNDO);
    EXPECT_FALSE(undo.enabled);
    EXPECT_EQ(CString(L"撤消(&U)\tCtrl+Z"), undo.text);
    Type(h.view, L"x");
    undo = Update(h.view, ID_EDIT_UNDO);
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(CString(L"撤消(&U) 键入\tCtrl+Z"), undo.text);
    Command(h.view, ID_EDIT_UNDO);
    EXPECT_EQ(CString(L"恢复(&R)  键入\tCtrl+Y"), Update(h.view, ID_EDIT_REDO).text);
}

TEST(EditView, AReadOnlyBufferTakesNoEdits)
{
    Hosted<> h(L"abc\r\ndef");
    h.buffer.SetReadOnly(TRUE);
    h.view->SetSelection(CPoint(0, 0), CPoint(1, 1));
    Type(h.view, L"xy\r");
    for (UINT id : {ID_EDIT_DELETE, ID_EDIT_DELETE_BACK, ID_EDIT_TAB, ID_EDIT_UNTAB, ID_EDIT_PASTE, ID_EDIT_CUT})
        Command(h.view, id);
    EXPECT_EQ(CString(L"abc\r\ndef"), AllText(h.buffer));
    EXPECT_FALSE(h.buffer.CanUndo());
    EXPECT_TRUE(Update(h.view, ID_INDICATOR_READONLY).enabled);
    EXPECT_EQ(DROPEFFECT_COPY, h.view->AllowedDragEffects());
}

namespace {

// Data offered the way another program might offer text.
COleDataSource* Offer(const std::vector<std::pair<CLIPFORMAT, std::string>>& blocks)
{
    auto* source = new COleDataSource;
    for (const auto& b : blocks) {
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, b.second.size());
        std::memcpy(::GlobalLock(block), b.second.data(), b.second.size());
        ::GlobalUnlock(block);
        source->CacheGlobalData(b.first, block);
    }
    return source;
}

std::string Wide(const std::wstring& text, bool zero = true)
{
    std::string bytes(reinterpret_cast<const char*>(text.c_str()), text.size() * 2);
    if (zero) bytes.append(2, '\0');
    return bytes;
}

} // namespace

TEST(EditView, DroppedTextIsReadInTheBestFormatWithinItsBlock)
{
    struct Case {
        const char* name;
        std::vector<std::pair<CLIPFORMAT, std::string>> blocks;
        const wchar_t* inserted; // null: refused
    };
    const Case cases[] = {
        {"Unicode text before 8-bit text", {{CF_UNICODETEXT, Wide(L"桩号")}, {CF_TEXT, std::string("xx\0", 3)}}, L"桩号"},
        {"8-bit text through the ANSI code page", {{CF_TEXT, ClWideToMultiByte(L"高程", -1, 936) + '\0'}}, L"高程"},
        {"Unicode text without its zero", {{CF_UNICODETEXT, Wide(L"abc", false)}}, L"abc"},
        {"8-bit text without its zero", {{CF_TEXT, std::string("K0+1")}}, L"K0+1"},
        {"no text", {{CF_DIB, std::string(40, '\0')}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Hosted<> h(L"0123456789");
        CEditDropTargetImpl* target = h.view->GetDropTarget();
        ASSERT_NE(nullptr, target);
        COleDataSource* source = Offer(c.blocks);
        CPoint screen = h.view->TextToClient(CPoint(4, 0));
        screen.Offset(1, 3);
        h.view->ClientToScreen(&screen);
        const POINTL at{screen.x, screen.y};
        IDropTarget* ole = target->GetInterface();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ole->DragEnter(source->GetInterface(), 0, at, &effect);
        EXPECT_EQ(c.inserted ? DROPEFFECT_MOVE : DROPEFFECT_NONE, effect);
        EXPECT_EQ(c.inserted != nullptr, h.view->IsDropIndicatorShown());
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ole->DragOver(MK_CONTROL, at, &effect);
        EXPECT_EQ(c.inserted ? DROPEFFECT_COPY : DROPEFFECT_NONE, effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ole->Drop(source->GetInterface(), MK_CONTROL, at, &effect);
        EXPECT_FALSE(h.view->IsDropIndicatorShown());
        if (c.inserted) {
            EXPECT_EQ(DROPEFFECT_COPY, effect);
            EXPECT_EQ(CString(L"0123") + c.inserted + L"456789", AllText(h.buffer));
            CPoint start, end;
            h.view->GetSelection(start, end);
            EXPECT_EQ(CPoint(4, 0), start); // the dropped text is selected
            EXPECT_EQ(CPoint(4 + static_cast<int>(std::wcslen(c.inserted)), 0), end);
        } else {
            EXPECT_EQ(DROPEFFECT_NONE, effect);
            EXPECT_EQ(CString(L"0123456789"), AllText(h.buffer));
        }
        source->InternalRelease();
    }
}

TEST(EditView, TextDraggedOutAndDroppedInTheSameViewMoves)
{
    // The data of a drag is what Copy would give, in Unicode and 8-bit.
    COleDataSource source;
    ASSERT_TRUE(source.CacheText(L"桩号 1"));
    COleDataObject data;
    data.Attach(source.GetInterface(), FALSE);
    EXPECT_TRUE(data.IsDataAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));

    // A real drag: OLE's loop ends at once when no button is held, and drops
    // where the pointer is (the window must be on the screen for that).
    Hosted<> h(L"abcdef", CSize(300, 80), true);
    wintest::PumpUntilIdle();
    auto dragTo = [&](const CPoint& pos) {
        h.view->SetSelection(CPoint(0, 0), CPoint(2, 0));
        h.view->SetCursorPos(CPoint(2, 0));
        const CPoint press = h.view->TextToClient(CPoint(1, 0)) + CPoint(1, 4);
        h.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
        CPoint pointer = h.view->TextToClient(pos) + CPoint(1, 4);
        h.view->ClientToScreen(&pointer);
        ::SetCursorPos(pointer.x, pointer.y);
        wintest::PumpUntilIdle();
        h.view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(press.x + 8, press.y));
    };
    // Onto its own selection: nothing changes.
    dragTo(CPoint(1, 0));
    EXPECT_EQ(CString(L"abcdef"), AllText(h.buffer));
    // Further on: the text moves, as one undo step.
    dragTo(CPoint(5, 0));
    EXPECT_EQ(CString(L"cdeabf"), AllText(h.buffer));
    CPoint start, end;
    h.view->GetSelection(start, end);
    EXPECT_EQ(CPoint(3, 0), start); // the moved text stays selected
    EXPECT_EQ(CPoint(5, 0), end);
    Command(h.view, ID_EDIT_UNDO);
    EXPECT_EQ(CString(L"abcdef"), AllText(h.buffer));
}

namespace {

// A view whose clipboard another program holds open.
class BusyClipboardView : public TestView
{
public:
    BOOL WriteClipboardText(const CString&) override { return FALSE; }
    BOOL ReadClipboardText(CString& text) override
    {
        text.Empty();
        return FALSE;
    }
};

} // namespace

TEST(EditView, CutAndPasteKeepTheSelectedTextWhenTheClipboardCannotBeUsed)
{
    Hosted<BusyClipboardView> h(L"K0+000 桩号");
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_PASTE}) {
        SCOPED_TRACE(id);
        h.view->SetSelection(CPoint(7, 0), CPoint(9, 0));
        Command(h.view, id);
        EXPECT_EQ(CString(L"K0+000 桩号"), AllText(h.buffer));
        EXPECT_FALSE(h.buffer.CanUndo());
        EXPECT_TRUE(h.view->IsSelection());
    }
}
