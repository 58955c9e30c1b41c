// The text view's navigation: cursor movement, the selection, the mouse with
// automatic scrolling and dragging text out, bookmarks and the clipboard.
#include "brisko/editor/TvTextView.h"
#include "brisko/BriskoResource.h"
#include "corvane/base/TextLines.h"
#include <algorithm>
#include <cwctype>

namespace {

const UINT_PTR kDragSelTimer = 1001;

bool IsWordChar(wchar_t c) { return std::iswalnum(c) || c == L'_'; }
bool IsSpace(wchar_t c) { return std::iswspace(c) != 0; }

bool Before(const CPoint& a, const CPoint& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

} // namespace

// ---------------------------------------------------------------------------
// Cursor and selection

void CTvTextView::SetCursorPos(const CPoint& pos)
{
    m_ptCursorPos = pos;
    AdjustTextPoint(m_ptCursorPos);
    m_nIdealCharPos = -1;
    UpdateCaret();
}

void CTvTextView::GetSelection(CPoint& start, CPoint& end)
{
    start = m_ptDrawSelStart;
    end = m_ptDrawSelEnd;
}

void CTvTextView::SetSelection(const CPoint& start, const CPoint& end)
{
    const int oldFirst = m_ptDrawSelStart.y, oldLast = m_ptDrawSelEnd.y;
    const bool hadSelection = m_ptDrawSelStart != m_ptDrawSelEnd;
    m_ptSelStart = start;
    m_ptSelEnd = end;
    AdjustTextPoint(m_ptSelStart);
    AdjustTextPoint(m_ptSelEnd);
    if (Before(m_ptSelEnd, m_ptSelStart)) {
        m_ptDrawSelStart = m_ptSelEnd;
        m_ptDrawSelEnd = m_ptSelStart;
    } else {
        m_ptDrawSelStart = m_ptSelStart;
        m_ptDrawSelEnd = m_ptSelEnd;
    }
    if (hadSelection) InvalidateLines(oldFirst, oldLast);
    if (m_ptDrawSelStart != m_ptDrawSelEnd) InvalidateLines(m_ptDrawSelStart.y, m_ptDrawSelEnd.y);
    UpdateStatusPanes();
}

BOOL CTvTextView::IsSelection() { return m_ptDrawSelStart != m_ptDrawSelEnd; }

BOOL CTvTextView::IsInsideSelection(const CPoint& pos)
{
    return IsSelection() && !Before(pos, m_ptDrawSelStart) && Before(pos, m_ptDrawSelEnd);
}

void CTvTextView::EnsureVisible(CPoint pos)
{
    AdjustTextPoint(pos);
    const int screenLines = std::max(1, GetScreenLines());
    int top = m_nTopLine;
    if (pos.y < top)
        top = pos.y;
    else if (pos.y >= top + screenLines)
        top = pos.y - screenLines + 1;
    ScrollToLine(top);

    // Horizontally by the real width of the text before the cursor, so that
    // wide characters are brought on screen too.
    const int charWidth = GetCharWidth();
    std::wstring expanded;
    ExpandTabsForDisplay(LineText(pos.y), pos.x, 0, expanded);
    const int x = TextWidth(expanded.data(), static_cast<int>(expanded.size()));
    CRect client;
    if (m_hWnd) GetClientRect(&client);
    const int area = std::max(charWidth, static_cast<int>(client.Width()) - GetMarginWidth());
    int offset = m_nOffsetChar;
    if (x < offset * charWidth)
        offset = x / charWidth;
    else if (x >= offset * charWidth + area - charWidth)
        offset = (x - area) / charWidth + 2;
    ScrollToChar(std::max(0, offset));
}

void CTvTextView::HighlightText(const CPoint& pos, int length)
{
    m_ptCursorPos = pos;
    m_ptCursorPos.x += length;
    AdjustTextPoint(m_ptCursorPos);
    m_ptAnchor = m_ptCursorPos;
    SetSelection(pos, m_ptCursorPos);
    m_nIdealCharPos = -1;
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    AfterCaretJump();
}

void CTvTextView::UpdateSelectionAfterMove(BOOL select)
{
    if (!select) m_ptAnchor = m_ptCursorPos;
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    SetSelection(m_ptAnchor, m_ptCursorPos);
}

// ---------------------------------------------------------------------------
// Movement

void CTvTextView::MoveLeft(BOOL select)
{
    if (IsSelection() && !select) {
        m_ptCursorPos = m_ptDrawSelStart;
    } else if (m_ptCursorPos.x == 0) {
        if (m_ptCursorPos.y > 0) {
            --m_ptCursorPos.y;
            m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
        }
    } else {
        --m_ptCursorPos.x;
    }
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveRight(BOOL select)
{
    if (IsSelection() && !select) {
        m_ptCursorPos = m_ptDrawSelEnd;
    } else if (m_ptCursorPos.x >= GetLineLength(m_ptCursorPos.y)) {
        if (m_ptCursorPos.y < GetLineCount() - 1) {
            ++m_ptCursorPos.y;
            m_ptCursorPos.x = 0;
        }
    } else {
        ++m_ptCursorPos.x;
    }
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

CPoint CTvTextView::WordToLeft(CPoint pos)
{
    AdjustTextPoint(pos);
    if (pos.x == 0) {
        if (pos.y > 0) {
            --pos.y;
            pos.x = GetLineLength(pos.y);
        }
        return pos;
    }
    const wchar_t* chars = LineText(pos.y);
    int x = pos.x;
    while (x > 0 && IsSpace(chars[x - 1])) --x;
    if (x > 0 && IsWordChar(chars[x - 1])) {
        while (x > 0 && IsWordChar(chars[x - 1])) --x;
    } else {
        while (x > 0 && !IsWordChar(chars[x - 1]) && !IsSpace(chars[x - 1])) --x;
    }
    pos.x = x;
    return pos;
}

CPoint CTvTextView::WordToRight(CPoint pos)
{
    AdjustTextPoint(pos);
    const int length = GetLineLength(pos.y);
    if (pos.x >= length) {
        if (pos.y < GetLineCount() - 1) {
            ++pos.y;
            pos.x = 0;
        }
        return pos;
    }
    const wchar_t* chars = LineText(pos.y);
    int x = pos.x;
    if (IsWordChar(chars[x])) {
        while (x < length && IsWordChar(chars[x])) ++x;
    } else {
        while (x < length && !IsWordChar(chars[x]) && !IsSpace(chars[x])) ++x;
    }
    while (x < length && IsSpace(chars[x])) ++x;
    pos.x = x;
    return pos;
}

void CTvTextView::MoveWordLeft(BOOL select)
{
    m_ptCursorPos = WordToLeft(IsSelection() && !select ? m_ptDrawSelStart : m_ptCursorPos);
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveWordRight(BOOL select)
{
    m_ptCursorPos = WordToRight(IsSelection() && !select ? m_ptDrawSelEnd : m_ptCursorPos);
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveUp(BOOL select)
{
    if (IsSelection() && !select) m_ptCursorPos = m_ptDrawSelStart;
    if (m_ptCursorPos.y > 0) {
        if (m_nIdealCharPos == -1) m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        --m_ptCursorPos.y;
        m_ptCursorPos.x = ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos);
        m_ptCursorPos.x = std::min(static_cast<int>(m_ptCursorPos.x), GetLineLength(m_ptCursorPos.y));
    }
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveDown(BOOL select)
{
    if (IsSelection() && !select) m_ptCursorPos = m_ptDrawSelEnd;
    if (m_ptCursorPos.y < GetLineCount() - 1) {
        if (m_nIdealCharPos == -1) m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
        ++m_ptCursorPos.y;
        m_ptCursorPos.x = ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos);
        m_ptCursorPos.x = std::min(static_cast<int>(m_ptCursorPos.x), GetLineLength(m_ptCursorPos.y));
    }
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MovePgUp(BOOL select)
{
    const int step = std::max(1, GetScreenLines() - 1);
    ScrollToLine(std::max(0, m_nTopLine - step));
    if (m_nIdealCharPos == -1) m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    m_ptCursorPos.y = std::max(0, static_cast<int>(m_ptCursorPos.y) - step);
    m_ptCursorPos.x = ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos);
    AdjustTextPoint(m_ptCursorPos);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MovePgDn(BOOL select)
{
    const int step = std::max(1, GetScreenLines() - 1);
    const int count = GetLineCount();
    ScrollToLine(std::min(count - 1, m_nTopLine + step));
    if (m_nIdealCharPos == -1) m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    m_ptCursorPos.y = std::min(count - 1, static_cast<int>(m_ptCursorPos.y) + step);
    m_ptCursorPos.x = ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos);
    AdjustTextPoint(m_ptCursorPos);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveHome(BOOL select)
{
    const int length = GetLineLength(m_ptCursorPos.y);
    const wchar_t* chars = LineText(m_ptCursorPos.y);
    int first = 0;
    while (first < length && IsSpace(chars[first])) ++first;
    m_ptCursorPos.x = (first < length && m_ptCursorPos.x != first) ? first : 0;
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveEnd(BOOL select)
{
    m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveCtrlHome(BOOL select)
{
    m_ptCursorPos = CPoint(0, 0);
    m_nIdealCharPos = 0;
    UpdateSelectionAfterMove(select);
}

void CTvTextView::MoveCtrlEnd(BOOL select)
{
    m_ptCursorPos.y = GetLineCount() - 1;
    m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
    m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    UpdateSelectionAfterMove(select);
}

void CTvTextView::ScrollUp() { ScrollToLine(m_nTopLine - 1); }

void CTvTextView::ScrollDown() { ScrollToLine(m_nTopLine + 1); }

void CTvTextView::ScrollLeft() { ScrollToChar(m_nOffsetChar - 1); }

void CTvTextView::ScrollRight() { ScrollToChar(std::min(m_nOffsetChar + 1, GetMaxLineLength())); }

void CTvTextView::SelectAll()
{
    const int last = GetLineCount() - 1;
    m_ptAnchor = CPoint(0, 0);
    m_ptCursorPos = CPoint(GetLineLength(last), last);
    m_nIdealCharPos = -1;
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    SetSelection(m_ptAnchor, m_ptCursorPos);
}

// ---------------------------------------------------------------------------
// Mouse

CPoint CTvTextView::WordStart(const CPoint& pos)
{
    const wchar_t* chars = LineText(pos.y);
    int x = pos.x;
    while (x > 0 && IsWordChar(chars[x - 1])) --x;
    return CPoint(x, pos.y);
}

CPoint CTvTextView::WordEnd(const CPoint& pos)
{
    const wchar_t* chars = LineText(pos.y);
    const int length = GetLineLength(pos.y);
    int x = pos.x;
    while (x < length && IsWordChar(chars[x])) ++x;
    return CPoint(x, pos.y);
}

// Whole lines between the line where the line selection began and `line`;
// the cursor is at the end that follows the mouse.
void CTvTextView::SelectLines(int line)
{
    const int last = GetLineCount() - 1;
    auto lineAfter = [&](int y) { return y < last ? CPoint(0, y + 1) : CPoint(GetLineLength(last), last); };
    if (line >= m_nLineSelAnchor) {
        m_ptAnchor = CPoint(0, m_nLineSelAnchor);
        m_ptCursorPos = lineAfter(line);
    } else {
        m_ptAnchor = lineAfter(m_nLineSelAnchor);
        m_ptCursorPos = CPoint(0, line);
    }
}

void CTvTextView::OnLButtonDown(UINT flags, CPoint point)
{
    CView::OnLButtonDown(flags, point);
    if (m_hWnd && ::GetFocus() != m_hWnd) SetFocus();
    const BOOL shift = (flags & MK_SHIFT) != 0;
    const BOOL ctrl = (flags & MK_CONTROL) != 0;
    m_ptDrawSelClick = point;
    if (point.x < GetMarginWidth()) {
        if (ctrl) {
            SelectAll();
            return;
        }
        // Whole lines, from the clicked line (or the anchor's) on.
        const CPoint clicked = ClientToText(point);
        m_nLineSelAnchor = shift ? m_ptAnchor.y : clicked.y;
        SelectLines(clicked.y);
        m_bLineSelection = TRUE;
        m_bWordSelection = FALSE;
        m_bDragSelection = TRUE;
    } else {
        const CPoint pos = ClientToText(point);
        if (!shift && !m_bDisableDragAndDrop && IsInsideSelection(pos)) {
            m_bPreparingToDrag = TRUE;
        } else {
            m_ptCursorPos = pos;
            if (!shift) m_ptAnchor = pos;
            m_bWordSelection = ctrl;
            m_bLineSelection = FALSE;
            m_bDragSelection = TRUE;
            if (ctrl) {
                const bool forward = !Before(m_ptCursorPos, m_ptAnchor);
                const CPoint start = forward ? WordStart(m_ptAnchor) : WordEnd(m_ptAnchor);
                m_ptAnchor = start;
                m_ptCursorPos = forward ? WordEnd(m_ptCursorPos) : WordStart(m_ptCursorPos);
            }
        }
    }
    if (!m_bPreparingToDrag) {
        m_nIdealCharPos = -1;
        EnsureVisible(m_ptCursorPos);
        UpdateCaret();
        SetSelection(m_ptAnchor, m_ptCursorPos);
    }
    SetCapture();
    m_nDragSelTimer = SetTimer(kDragSelTimer, 100);
}

// The cursor follows a point of the client area during a mouse selection.
void CTvTextView::OnMouseMove(UINT flags, CPoint point)
{
    CView::OnMouseMove(flags, point);
    if (m_bDragSelection) {
        if (m_bLineSelection && point.x >= GetMarginWidth()) {
            m_bLineSelection = FALSE;
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        }
        const CPoint pos = ClientToText(point);
        if (m_bLineSelection) {
            SelectLines(pos.y);
        } else if (m_bWordSelection) {
            m_ptCursorPos = Before(pos, m_ptAnchor) ? WordStart(pos) : WordEnd(pos);
        } else {
            m_ptCursorPos = pos;
        }
        m_nIdealCharPos = -1;
        EnsureVisible(m_ptCursorPos);
        UpdateCaret();
        SetSelection(m_ptAnchor, m_ptCursorPos);
        return;
    }
    if (m_bPreparingToDrag && (flags & MK_LBUTTON)) {
        m_bPreparingToDrag = FALSE;
        if (m_nDragSelTimer) KillTimer(m_nDragSelTimer);
        m_nDragSelTimer = 0;
        ::ReleaseCapture();
        CString text;
        GetText(m_ptDrawSelStart, m_ptDrawSelEnd, text);
        if (text.IsEmpty()) return;
        m_ptDraggedTextBegin = m_ptDrawSelStart;
        m_ptDraggedTextEnd = m_ptDrawSelEnd;
        auto* source = new COleDataSource;
        source->CacheText(text);
        m_bDraggingText = TRUE;
        CTvTextBuffer* buffer = m_pTextBuffer;
        if (buffer) buffer->OpenUndoGroup(FALSE);
        const DROPEFFECT effect = source->DoDragDrop(AllowedDragEffects());
        if (effect != DROPEFFECT_NONE) AfterDragOut(effect);
        if (buffer && buffer == m_pTextBuffer) buffer->EndUndoGroup(this);
        m_bDraggingText = FALSE;
        source->InternalRelease();
    }
}

void CTvTextView::OnLButtonUp(UINT flags, CPoint point)
{
    CView::OnLButtonUp(flags, point);
    if (m_bDragSelection) {
        OnMouseMove(flags | MK_LBUTTON, point);
        m_bDragSelection = FALSE;
        m_bLineSelection = m_bWordSelection = FALSE;
    }
    if (m_bPreparingToDrag) {
        m_bPreparingToDrag = FALSE;
        m_ptCursorPos = ClientToText(point);
        m_ptAnchor = m_ptCursorPos;
        m_nIdealCharPos = -1;
        EnsureVisible(m_ptCursorPos);
        UpdateCaret();
        SetSelection(m_ptCursorPos, m_ptCursorPos);
    }
    if (m_nDragSelTimer) {
        KillTimer(m_nDragSelTimer);
        m_nDragSelTimer = 0;
    }
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CTvTextView::OnCaptureChanged(CWnd* wnd)
{
    // Another window took the mouse: the mouse selection ends where it is.
    if (wnd && wnd->m_hWnd != m_hWnd && m_bDragSelection) {
        m_bDragSelection = FALSE;
        m_bLineSelection = m_bWordSelection = FALSE;
        if (m_nDragSelTimer) {
            KillTimer(m_nDragSelTimer);
            m_nDragSelTimer = 0;
        }
    }
    CView::OnCaptureChanged(wnd);
}

void CTvTextView::OnTimer(UINT_PTR id)
{
    if (id != kDragSelTimer) {
        CView::OnTimer(id);
        return;
    }
    if (!m_bDragSelection) return;
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    CRect client;
    GetClientRect(&client);
    const int lineHeight = GetLineHeight();
    bool changed = false;
    if (point.y < client.top) {
        const int lines = point.y < client.top - lineHeight ? 3 : 1;
        ScrollToLine(m_nTopLine - lines);
        changed = true;
    } else if (point.y >= client.bottom) {
        const int lines = point.y >= client.bottom + lineHeight ? 3 : 1;
        ScrollToLine(m_nTopLine + lines);
        changed = true;
    }
    if (point.x < GetMarginWidth() && !m_bLineSelection && m_nOffsetChar > 0) {
        ScrollToChar(m_nOffsetChar - 1);
        changed = true;
    } else if (point.x >= client.right) {
        ScrollToChar(std::min(m_nOffsetChar + 1, GetMaxLineLength()));
        changed = true;
    }
    if (changed) {
        // The cursor follows the mouse into the lines that came into view.
        const int lastRow = std::max(1, GetScreenLines()) * lineHeight - 1;
        const CPoint inside(std::max(static_cast<int>(client.left), std::min(static_cast<int>(point.x), static_cast<int>(client.right) - 1)),
                            std::max(static_cast<int>(client.top), std::min(static_cast<int>(point.y), lastRow)));
        OnMouseMove(MK_LBUTTON, inside);
    }
}

void CTvTextView::OnLButtonDblClk(UINT flags, CPoint point)
{
    CView::OnLButtonDblClk(flags, point);
    if (point.x < GetMarginWidth()) return;
    const CPoint pos = ClientToText(point);
    CPoint start = WordStart(pos), end = WordEnd(pos);
    if (start == end && pos.x < GetLineLength(pos.y)) end.x = pos.x + 1;
    m_ptAnchor = start;
    m_ptCursorPos = end;
    m_nIdealCharPos = -1;
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    SetSelection(m_ptAnchor, m_ptCursorPos);
}

void CTvTextView::OnRButtonDown(UINT flags, CPoint point)
{
    CView::OnRButtonDown(flags, point);
    const CPoint pos = ClientToText(point);
    if (IsInsideSelection(pos)) return;
    m_ptCursorPos = m_ptAnchor = pos;
    m_nIdealCharPos = -1;
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    SetSelection(pos, pos);
}

DROPEFFECT CTvTextView::AllowedDragEffects() { return DROPEFFECT_COPY; }

void CTvTextView::AfterDragOut(DROPEFFECT) {}

// ---------------------------------------------------------------------------
// Bookmarks

void CTvTextView::OnToggleBookmark(UINT id)
{
    if (!m_pTextBuffer) return;
    const int n = static_cast<int>(id - ID_EDIT_TOGGLE_BOOKMARK0);
    const DWORD bit = LF_BOOKMARK(n);
    const BOOL set = !(LineFlags(m_ptCursorPos.y) & bit);
    m_pTextBuffer->MarkLine(m_ptCursorPos.y, bit, set);
    if (set)
        m_dwBookmarksSet |= bit;
    else
        m_dwBookmarksSet &= ~bit;
}

void CTvTextView::OnUpdateToggleBookmark(CCmdUI* ui)
{
    ui->Enable(m_pTextBuffer != nullptr);
    ui->SetCheck((m_dwBookmarksSet & LF_BOOKMARK(ui->m_nID - ID_EDIT_TOGGLE_BOOKMARK0)) ? 1 : 0);
}

void CTvTextView::OnGoBookmark(UINT id)
{
    if (!m_pTextBuffer) return;
    GoToLineStart(m_pTextBuffer->GetFlaggedLine(LF_BOOKMARK(id - ID_EDIT_GO_BOOKMARK0)));
}

void CTvTextView::GoToLineStart(int line)
{
    if (line < 0) return;
    m_ptCursorPos = m_ptAnchor = CPoint(0, line);
    m_nIdealCharPos = -1;
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
    SetSelection(m_ptCursorPos, m_ptCursorPos);
    AfterCaretJump();
}

void CTvTextView::OnUpdateGoBookmark(CCmdUI* ui)
{
    ui->Enable((m_dwBookmarksSet & LF_BOOKMARK(ui->m_nID - ID_EDIT_GO_BOOKMARK0)) != 0);
}

void CTvTextView::OnClearBookmarks()
{
    if (m_pTextBuffer)
        for (int n = 0; n < 10; ++n) {
            const int line = m_pTextBuffer->GetFlaggedLine(LF_BOOKMARK(n));
            if (line >= 0) m_pTextBuffer->MarkLine(line, LF_BOOKMARK(n), FALSE);
        }
    m_dwBookmarksSet = 0;
}

void CTvTextView::OnToggleMark()
{
    if (!m_pTextBuffer) return;
    const BOOL set = !(LineFlags(m_ptCursorPos.y) & LF_MARK);
    m_pTextBuffer->MarkLine(m_ptCursorPos.y, LF_MARK, set, FALSE);
    m_bBookmarkExist = m_pTextBuffer->FindFlaggedLine(LF_MARK) >= 0;
}

void CTvTextView::OnNextMark()
{
    if (!m_pTextBuffer) return;
    GoToLineStart(m_pTextBuffer->FindNextMarkedLine(m_ptCursorPos.y));
}

void CTvTextView::OnPrevMark()
{
    if (!m_pTextBuffer) return;
    GoToLineStart(m_pTextBuffer->FindPrevMarkedLine(m_ptCursorPos.y));
}

void CTvTextView::OnClearAllMarks()
{
    if (m_pTextBuffer) {
        const int count = m_pTextBuffer->GetLineCount();
        for (int line = 0; line < count; ++line)
            if (m_pTextBuffer->LineFlags(line) & LF_MARK) m_pTextBuffer->MarkLine(line, LF_MARK, FALSE, FALSE);
    }
    m_bBookmarkExist = FALSE;
}

void CTvTextView::OnUpdateMarks(CCmdUI* ui) { ui->Enable(m_bBookmarkExist); }

// ---------------------------------------------------------------------------
// Clipboard

BOOL CTvTextView::ClipboardHasText()
{
    return ::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT);
}

BOOL CTvTextView::WriteClipboardText(const CString& text)
{
    if (!::OpenClipboard(m_hWnd)) return FALSE;
    BOOL done = FALSE;
    if (::EmptyClipboard()) {
        if (HGLOBAL block = ClGlobalFromText(text, CF_UNICODETEXT)) {
            done = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
            if (!done) ::GlobalFree(block);
        }
    }
    ::CloseClipboard();
    return done;
}

BOOL CTvTextView::ReadClipboardText(CString& text)
{
    text.Empty();
    if (!::OpenClipboard(m_hWnd)) return FALSE;
    BOOL done = FALSE;
    if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT))
        done = ClReadGlobalText(static_cast<HGLOBAL>(block), CF_UNICODETEXT, text);
    else if (HANDLE ansi = ::GetClipboardData(CF_TEXT))
        done = ClReadGlobalText(static_cast<HGLOBAL>(ansi), CF_TEXT, text);
    ::CloseClipboard();
    return done;
}

BOOL CTvTextView::CopySelectedText()
{
    if (!IsSelection()) return FALSE;
    CString text;
    GetText(m_ptDrawSelStart, m_ptDrawSelEnd, text);
    return WriteClipboardText(text);
}

void CTvTextView::OnUpdateEditCopy(CCmdUI* ui) { ui->Enable(IsSelection()); }

void CTvTextView::OnUpdateEditCopyExcel(CCmdUI* ui) { ui->Enable(IsSelection()); }

namespace {

// One piece of a copied text in spreadsheet form: comments and empty pieces
// as they are, data fields each followed by a tab.
void AppendExcelPiece(CString piece, bool last, CString& out)
{
    piece.Trim();
    if (piece.IsEmpty() || piece.Left(2) == L"//") {
        if (!(last && piece.IsEmpty())) {
            out += piece;
            out += L"\n";
        }
        return;
    }
    CStringArray fields;
    if (tkx_DivideString(piece, fields) < 0) return;
    for (INT_PTR i = 0; i < fields.GetSize(); ++i) {
        out += fields[i];
        out += L"\t";
    }
    if (!last) out += L"\n";
}

} // namespace

CString CTvTextView::ExcelText(const CString& text)
{
    CString out;
    int start = 0;
    for (int lf; (lf = text.Find(L'\n', start)) >= 0; start = lf + 1)
        AppendExcelPiece(text.Mid(start, lf - start), false, out);
    AppendExcelPiece(text.Mid(start), true, out);
    return out;
}

void CTvTextView::CopyAsExcel()
{
    if (!IsSelection()) return;
    CString text;
    GetText(m_ptDrawSelStart, m_ptDrawSelEnd, text);
    WriteClipboardText(ExcelText(text));
}
