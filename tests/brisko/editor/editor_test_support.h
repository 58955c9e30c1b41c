// The editor tests' world and fixtures: a scratch hive with the resource
// library loaded and OLE started, buffers filled from text, and editing
// views on them in hidden frames.
#pragma once
#include "brisko/editor/TvEditView.h"
#include "brisko/shell/BriskoApp.h"
#include "support/MessageBoxScript.h"
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace edtest {

// Replaces the buffer's text without undo records; the buffer is then
// unmodified and its undo list empty.
void SetText(CTvTextBuffer& buffer, const wchar_t* text);
// The whole text, lines joined by CR LF.
CString AllText(CTvTextBuffer& buffer);
// The lines, for comparisons.
std::vector<CString> Lines(CTvTextBuffer& buffer);

// An editing view on a buffer the test owns.
class TestView : public CTvEditView
{
public:
    CTvTextBuffer* m_pTestBuffer = nullptr;
    CTvTextBuffer* GetTextBuffer() override { return m_pTestBuffer; }
    using CTvTextView::DefineBlock;
    using CTvTextView::ParseLineBlocks;
    using CTvTextView::GetParseCookie;
    using CTvTextView::m_nValidCookies;
    BOOL CaretShown() const { return m_bCaretShown; }
    // As while this view drags the text between the points out.
    void SetDragging(BOOL on, CPoint begin = CPoint(), CPoint end = CPoint())
    {
        m_bDraggingText = on;
        m_ptDraggedTextBegin = begin;
        m_ptDraggedTextEnd = end;
    }
};

// A view that colours like a data file: "//" comments (index 7), numbers
// (8), the rest plain; counts its parser calls.
class ColouringView : public TestView
{
public:
    DWORD ParseLine(DWORD cookie, int line, TEXTBLOCK* blocks, int& count) override;
    int m_nParseCalls = 0;
    int m_nBlockCalls = 0;
};

// A view in a hidden frame (or a shown one for pictures), sized `client`.
template <class View = TestView>
struct Hosted {
    CTvTextBuffer buffer;
    wintest::TestFrame* frame;
    View* view = new View;

    explicit Hosted(const wchar_t* text = L"", CSize client = CSize(480, 240), bool visible = false)
        : frame(new wintest::TestFrame(visible, CRect(40, 40, 40 + client.cx + 40, 40 + client.cy + 80)))
    {
        SetText(buffer, text);
        view->m_pTestBuffer = &buffer;
        view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, client.cx, client.cy), frame,
                     AFX_IDW_PANE_FIRST + 1);
        LOGFONTW font{};
        font.lfHeight = -16;
        font.lfCharSet = GB2312_CHARSET;
        wcscpy_s(font.lfFaceName, L"宋体");
        view->AttachToBuffer(&buffer);
        view->SetFont(font);
    }
    ~Hosted()
    {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    Hosted(const Hosted&) = delete;
    Hosted& operator=(const Hosted&) = delete;
};

// Sends the view a command, as a menu item or key would.
void Command(CWnd* view, UINT id);
// The cursor at a point, nothing selected.
void Place(TestView* view, const CPoint& pos);

// What an update handler did to its element (a menu item, a pane).
struct RecordingCmdUI : CCmdUI {
    BOOL enabled = FALSE;
    int check = -1;
    CString text = L"<none>";
    void Enable(BOOL on) override { enabled = on; }
    void SetCheck(int c) override { check = c; }
    void SetText(const wchar_t* t) override { text = t; }
};
RecordingCmdUI Update(CCmdTarget* target, UINT id);

// The view's client area as painted now (its paint handler, through
// WM_PRINTCLIENT).
wintest::Image Picture(CWnd* view);
// Pixels of the colour in the rectangle.
int CountColour(const wintest::Image& image, const CRect& rect, COLORREF colour);

} // namespace edtest
