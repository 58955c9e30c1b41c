// Searching the text view, the Find commands and going to a line.
#include "brisko/editor/TvTextView.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/Dialog_GotoLine.h"
#include "brisko/editor/FindTextDlg.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Utility.h"
#include <algorithm>
#include <clocale>
#include <cwctype>
#include <string>
#include <vector>

namespace {

bool IsWordChar(wchar_t c) { return std::iswalnum(c) || c == L'_'; }

bool Before(const CPoint& a, const CPoint& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

} // namespace

const wchar_t* CTvTextView::UpperCaseTable()
{
    // The C runtime's upper case of every character, taken again when the
    // character locale changes.
    static std::vector<wchar_t> table;
    static std::string locale;
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string name = current ? current : "";
    if (table.empty() || name != locale) {
        table.resize(0x10000);
        for (size_t c = 0; c < table.size(); ++c) table[c] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
        locale = name;
    }
    return table.data();
}

int CTvTextView::FindInSegment(const wchar_t* text, int length, wchar_t before, const wchar_t* pattern, int m,
                               BOOL wholeWord, const wchar_t* upper)
{
    if (m <= 0 || !text) return -1;
    auto fold = [upper](wchar_t c) { return upper ? upper[static_cast<unsigned short>(c)] : c; };
    const wchar_t first = fold(pattern[0]);
    for (int i = 0; i + m <= length; ++i) {
        if (fold(text[i]) != first) continue;
        int k = 1;
        while (k < m && fold(text[i + k]) == fold(pattern[k])) ++k;
        if (k < m) continue;
        if (!wholeWord) return i;
        const bool freeBefore = !IsWordChar(i == 0 ? before : text[i - 1]);
        const bool freeAfter = i + m == length || !IsWordChar(text[i + m]);
        if (freeBefore && freeAfter) return i;
    }
    return -1;
}

int CTvTextView::FindStringHelper(const wchar_t* text, int length, const wchar_t* pattern, BOOL wholeWord,
                                  BOOL matchCase)
{
    const int m = pattern ? static_cast<int>(std::wcslen(pattern)) : 0;
    return FindInSegment(text, length, 0, pattern, m, wholeWord, matchCase ? nullptr : UpperCaseTable());
}

BOOL CTvTextView::SearchTextInRange(const wchar_t* what, const CPoint& start, const CPoint& blockBegin,
                                    const CPoint& blockEnd, DWORD flags, BOOL wrap, CPoint* found)
{
    if (blockBegin == blockEnd || !what || !*what) return FALSE;
    const BOOL matchCase = (flags & FIND_MATCH_CASE) != 0;
    const BOOL wholeWord = (flags & FIND_WHOLE_WORD) != 0;
    const int count = GetLineCount();
    CPoint pos = Before(start, blockBegin) ? blockBegin : start;
    pos.y = std::max(0, std::min(static_cast<int>(pos.y), count - 1));

    // A match is searched in the line from the column on; the character
    // before the column still decides whether it stands as a whole word.
    const int m = static_cast<int>(std::wcslen(what));
    const wchar_t* upper = matchCase ? nullptr : UpperCaseTable();
    auto findIn = [&](int line, int column) {
        const int length = GetLineLength(line);
        column = std::max(0, std::min(column, length));
        const wchar_t* chars = LineText(line);
        const int offset =
            FindInSegment(chars + column, length - column, column > 0 ? chars[column - 1] : 0, what, m, wholeWord, upper);
        return offset < 0 ? -1 : column + offset;
    };

    if (flags & FIND_DIRECTION_UP) {
        // The start line from the start column to its end, then each earlier
        // line whole.
        int line = pos.y, column = pos.x;
        for (bool wrapped = false;;) {
            for (; line >= 0; --line, column = 0) {
                const int at = findIn(line, column);
                if (at >= 0) {
                    if (found) *found = CPoint(at, line);
                    return TRUE;
                }
            }
            if (!wrap || wrapped) return FALSE;
            wrapped = true;
            line = count - 1;
            column = 0;
        }
    }

    const int lastLine = std::min(static_cast<int>(blockEnd.y), count - 1);
    int line = pos.y, column = pos.x;
    for (bool wrapped = false;;) {
        for (; line <= lastLine; ++line, column = 0) {
            const int at = findIn(line, column);
            if (at < 0) continue;
            if (line == blockEnd.y && at >= blockEnd.x) break;
            if (found) *found = CPoint(at, line);
            return TRUE;
        }
        if (!wrap || wrapped) return FALSE;
        wrapped = true;
        line = blockBegin.y;
        column = blockBegin.x;
    }
}

BOOL CTvTextView::SearchText(const wchar_t* what, const CPoint& start, DWORD flags, BOOL wrap, CPoint* found)
{
    const int last = GetLineCount() - 1;
    return SearchTextInRange(what, start, CPoint(0, 0), CPoint(GetLineLength(last), last), flags, wrap, found);
}

BOOL CTvTextView::GetLastSearch(CString& what, DWORD& flags) const
{
    if (!m_bLastSearch) return FALSE;
    what = m_strLastFindWhat;
    flags = m_dwLastSearchFlags;
    return TRUE;
}

void CTvTextView::SetLastSearch(const wchar_t* what, DWORD flags)
{
    m_bLastSearch = TRUE;
    m_strLastFindWhat = what;
    m_dwLastSearchFlags = flags;
}

void CTvTextView::ReportNotFound(const wchar_t* what, BOOL toStatusBar)
{
    CString format;
    if (!format.LoadString(IDS_TEXT_NOT_FOUND, ResourceModuleHandle())) format = L"文字没有找到:%s";
    CString text;
    text.Format(format, what);
    HWND owner = ::GetActiveWindow();
    ClMessageBox(owner ? owner : m_hWnd, text, kBriskoCaption, MB_OK | MB_ICONSTOP);
    if (toStatusBar) PrintStatusText(L"%s", text.GetString());
}

void CTvTextView::OnEditFind()
{
    CFindTextDlg dialog(this);
    CWinApp* app = AfxGetApp();
    const wchar_t* section = L"TvEdit\\Find";
    if (m_bLastSearch) {
        dialog.m_nDirection = (m_dwLastSearchFlags & FIND_DIRECTION_UP) ? 0 : 1;
        dialog.m_bMatchCase = (m_dwLastSearchFlags & FIND_MATCH_CASE) != 0;
        dialog.m_bWholeWord = (m_dwLastSearchFlags & FIND_WHOLE_WORD) != 0;
        dialog.m_sText = m_strLastFindWhat;
    } else {
        dialog.m_nDirection = 1;
        dialog.m_bMatchCase = app->GetProfileInt(section, L"MatchCase", 0) != 0;
        dialog.m_bWholeWord = app->GetProfileInt(section, L"WholeWord", 0) != 0;
        dialog.m_sText = app->GetProfileString(section, L"FindWhat", L"");
    }
    if (IsSelection() && m_ptDrawSelStart.y == m_ptDrawSelEnd.y) GetText(m_ptDrawSelStart, m_ptDrawSelEnd, dialog.m_sText);
    dialog.m_ptCurrentPos = m_ptCursorPos;

    SetShowInactiveSelection(TRUE);
    dialog.DoModal();
    SetShowInactiveSelection(FALSE);

    SetLastSearch(dialog.m_sText, dialog.SearchFlags());
    app->WriteProfileInt(section, L"MatchCase", dialog.m_bMatchCase ? 1 : 0);
    app->WriteProfileInt(section, L"WholeWord", dialog.m_bWholeWord ? 1 : 0);
    app->WriteProfileString(section, L"FindWhat", dialog.m_sText);
}

void CTvTextView::OnEditRepeat()
{
    if (!m_bLastSearch) return;
    CPoint found;
    if (SearchText(m_strLastFindWhat, m_ptCursorPos, m_dwLastSearchFlags, TRUE, &found))
        HighlightText(found, m_strLastFindWhat.GetLength());
    else
        ReportNotFound(m_strLastFindWhat);
}

void CTvTextView::OnEditFindPrevious()
{
    if (!m_bLastSearch) return;
    const DWORD flags = m_dwLastSearchFlags ^ FIND_DIRECTION_UP;
    CPoint found;
    if (SearchText(m_strLastFindWhat, m_ptCursorPos, flags, TRUE, &found))
        HighlightText(found, m_strLastFindWhat.GetLength());
    else
        ReportNotFound(m_strLastFindWhat);
}

void CTvTextView::OnUpdateEditRepeat(CCmdUI* ui) { ui->Enable(m_bLastSearch); }

// ---------------------------------------------------------------------------
// Go to line

void CTvTextView::OnEditGotoLine()
{
    CDialog_GotoLine dialog(this);
    dialog.m_nLine = m_ptCursorPos.y + 1;
    dialog.m_nTotal = GetLineCount();
    dialog.m_nItem = 1;
    if (dialog.DoModal() != IDOK) return;
    GoToLineItem(dialog.m_nLine, dialog.m_nItem);
}

void CTvTextView::GoToLineItem(int line, int item)
{
    line = std::max(0, std::min(line, GetLineCount() - 1));
    CPoint start(0, line), end(0, line);
    const int length = GetLineLength(line);
    auto wholeLine = [&] { end = CPoint(length, line); };
    if (length > 0) {
        std::vector<TEXTBLOCK> blocks;
        ParseLineBlocks(line, blocks);
        const int count = static_cast<int>(blocks.size());
        if (count < 3 || count - 1 < item) {
            if (GetLineCount() == 1) wholeLine();
        } else {
            static const wchar_t* const separators[] = {L",", L"\t", L"\\\\", L"-", L"+", L"*", L"/"};
            const wchar_t* chars = LineText(line);
            int ordinal = 0;
            bool found = false;
            for (int k = 1; k <= count - 2 && !found; ++k) {
                const int from = blocks[static_cast<size_t>(k)].m_nCharPos;
                const int to = k + 1 < count ? blocks[static_cast<size_t>(k + 1)].m_nCharPos : length;
                CString piece(chars + from, to - from);
                piece.Trim(L' ');
                if (piece.IsEmpty() ||
                    std::any_of(std::begin(separators), std::end(separators),
                                [&](const wchar_t* s) { return piece == s; }))
                    continue;
                if (++ordinal == item) {
                    start = CPoint(from, line);
                    end = CPoint(to, line);
                    found = true;
                }
            }
            if (!found) {
                PrintStatusText(L"第%d行中没有第%d个数据.", line + 1, item);
                wholeLine();
            }
        }
    }
    m_ptAnchor = start;
    m_ptCursorPos = start;
    m_nIdealCharPos = -1;
    UpdateCaret();
    EnsureVisible(m_ptCursorPos);
    SetSelection(start, end);
    if (m_hWnd) SetFocus();
    AfterCaretJump();
}
