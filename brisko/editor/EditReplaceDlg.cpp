#include "brisko/editor/EditReplaceDlg.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/TvEditView.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Utility.h"
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

BEGIN_MESSAGE_MAP(CEditReplaceDlg, CDialog)
    ON_EN_CHANGE(IDC_FIND_TEXT, OnChangeText)
    ON_BN_CLICKED(IDC_REPLACE_FIND_NEXT, OnEditSkip)
    ON_BN_CLICKED(IDC_REPLACE_REPLACE, OnEditReplace)
    ON_BN_CLICKED(IDC_REPLACE_ALL, OnEditReplaceAll)
END_MESSAGE_MAP()

CEditReplaceDlg::CEditReplaceDlg(CTvEditView* buddy) : CDialog(IDD_EDIT_REPLACE, buddy), m_pBuddy(buddy) {}

void CEditReplaceDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_FIND_MATCH_CASE, m_bMatchCase);
    DDX_Check(pDX, IDC_FIND_WHOLE_WORD, m_bWholeWord);
    DDX_Text(pDX, IDC_FIND_TEXT, m_sText);
    DDX_Text(pDX, IDC_REPLACE_WITH, m_sNewText);
    DDX_Radio(pDX, IDC_REPLACE_IN_SELECTION, m_nScope);
}

BOOL CEditReplaceDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* radio = GetDlgItem(IDC_REPLACE_IN_SELECTION)) radio->EnableWindow(m_bEnableScopeSelection);
    UpdateControlsState();
    return TRUE;
}

void CEditReplaceDlg::OnCancel()
{
    UpdateData(TRUE);
    CDialog::OnCancel();
}

void CEditReplaceDlg::OnChangeText() { UpdateControlsState(); }

void CEditReplaceDlg::UpdateControlsState()
{
    CString text;
    GetDlgItemText(IDC_FIND_TEXT, text);
    for (int id : {IDC_REPLACE_FIND_NEXT, IDC_REPLACE_REPLACE, IDC_REPLACE_ALL})
        if (CWnd* button = GetDlgItem(id)) button->EnableWindow(!text.IsEmpty());
}

DWORD CEditReplaceDlg::SearchFlags() const
{
    return (m_bMatchCase ? FIND_MATCH_CASE : 0) | (m_bWholeWord ? FIND_WHOLE_WORD : 0);
}

BOOL CEditReplaceDlg::Search(BOOL show)
{
    CPoint found;
    const BOOL ok = m_nScope == 0 ? m_pBuddy->SearchTextInRange(m_sText, m_ptFoundAt, m_ptBlockBegin, m_ptBlockEnd,
                                                                 SearchFlags(), FALSE, &found)
                                  : m_pBuddy->SearchText(m_sText, m_ptFoundAt, SearchFlags(), FALSE, &found);
    if (!ok) {
        m_ptFoundAt = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
        if (show) m_pBuddy->ReportNotFound(m_sText, TRUE);
        return FALSE;
    }
    m_ptFoundAt = found;
    if (show) m_pBuddy->HighlightText(found, m_sText.GetLength());
    return TRUE;
}

void CEditReplaceDlg::FindNext()
{
    if (m_hWnd && !UpdateData(TRUE)) return;
    if (m_sText.IsEmpty()) return;
    if (m_bFound)
        ++m_ptFoundAt.x;
    else
        m_ptFoundAt = m_ptSavedPos;
    m_bFound = Search(TRUE);
}

void CEditReplaceDlg::AdjustBlock(const CPoint& match, int delta)
{
    if (m_nScope != 0 || delta == 0) return;
    if (match.y == m_ptBlockBegin.y && match.x < m_ptBlockBegin.x) m_ptBlockBegin.x += delta;
    if (match.y == m_ptBlockEnd.y && match.x < m_ptBlockEnd.x) m_ptBlockEnd.x += delta;
}

void CEditReplaceDlg::ReplaceOne()
{
    if (m_hWnd && !UpdateData(TRUE)) return;
    if (m_sText.IsEmpty()) return;
    if (!m_bFound) {
        m_ptFoundAt = m_ptSavedPos;
        m_bFound = Search(TRUE);
        return;
    }
    const CPoint match = m_ptFoundAt;
    if (!m_pBuddy->ReplaceSelection(m_sNewText)) {
        m_bFound = FALSE;
        return;
    }
    AdjustBlock(match, m_sNewText.GetLength() - m_sText.GetLength());
    m_ptFoundAt = CPoint(match.x + m_sNewText.GetLength(), match.y);
    m_bFound = Search(TRUE);
}

int CEditReplaceDlg::ReplaceAll()
{
    if (m_hWnd && !UpdateData(TRUE)) return 0;
    if (m_sText.IsEmpty() || !m_pBuddy->CanEditNow()) return 0;
    const HCURSOR oldCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    // Every occurrence of the range, from its start.
    m_ptFoundAt = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
    CPoint last;
    m_pBuddy->HoldUpdates(TRUE);
    const int count = ReplaceEach(last);
    m_pBuddy->HoldUpdates(FALSE);
    ::SetCursor(oldCursor);
    m_bFound = FALSE;
    CString text;
    if (count > 0) {
        CString format;
        if (!format.LoadString(IDS_REPLACED_ALL, m_pBuddy->ResourceModuleHandle()))
            format = L"全部替换完毕, 共替换%d处文字.";
        text.Format(format, count);
        m_pBuddy->HighlightText(CPoint(last.x - m_sNewText.GetLength(), last.y), m_sNewText.GetLength());
        ClMessageBox(m_hWnd ? m_hWnd : m_pBuddy->GetSafeHwnd(), text, kBriskoCaption, MB_OK | MB_ICONINFORMATION);
        PrintStatusText(L"%s", text.GetString());
    } else {
        m_pBuddy->ReportNotFound(m_sText, TRUE);
    }
    return count;
}

// Replace, adjust the block, move past the replacement, search again, until
// nothing is found: one line after the other, each line rewritten once.
// The occurrences are found as the search finds them in the line as it
// stands after the replacements before them (the character before an
// occurrence may be the replacement's last).
int CEditReplaceDlg::ReplaceEach(CPoint& last)
{
    const int removed = m_sText.GetLength(), inserted = m_sNewText.GetLength();
    const int delta = inserted - removed;
    // A replacement that breaks lines (or texts cut by a NUL) goes the
    // long way: an edit per occurrence.
    const bool breaks = m_sNewText.Find(L'\r') >= 0;
    const bool cut = static_cast<int>(std::wcslen(m_sText)) != removed ||
                     static_cast<int>(std::wcslen(m_sNewText)) != inserted;
    CTvTextBuffer* buffer = m_pBuddy->GetAttachedBuffer();
    int count = 0;
    if (breaks || cut || !buffer) {
        while (Search(FALSE)) {
            const CPoint match = m_ptFoundAt;
            last = m_pBuddy->ReplaceRange(match, CPoint(match.x + removed, match.y), m_sNewText);
            AdjustBlock(match, delta);
            m_ptFoundAt = last;
            ++count;
        }
        return count;
    }

    // The range as the search takes it.
    const int lines = buffer->GetLineCount();
    const CPoint blockBegin = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
    const CPoint blockEnd =
        m_nScope == 0 ? m_ptBlockEnd : CPoint(buffer->GetLineLength(lines - 1), lines - 1);
    m_ptFoundAt = blockBegin;
    if (blockBegin == blockEnd) return 0; // an empty range holds nothing
    const int firstLine = std::max(0, std::min(static_cast<int>(blockBegin.y), lines - 1));
    const int lastLine = std::min(static_cast<int>(blockEnd.y), lines - 1);
    const wchar_t* upper = m_bMatchCase ? nullptr : CTvTextView::UpperCaseTable();

    CTvTextBuffer::CReplaceRun run(*buffer, m_pBuddy, m_sNewText, inserted, removed);
    std::wstring text;
    std::vector<CTvTextBuffer::CReplaceRun::Occurrence> occurrences;
    for (int line = firstLine; line <= lastLine; ++line) {
        const wchar_t* chars = buffer->LineText(line);
        const int length = buffer->GetLineLength(line);
        // `text` holds the line up to the search column as it now stands;
        // the line's own characters from `rest` on follow it.
        int rest = line == firstLine ? std::max(0, std::min(static_cast<int>(blockBegin.x), length)) : 0;
        text.assign(chars, static_cast<size_t>(rest));
        occurrences.clear();
        for (;;) {
            const int offset = CTvTextView::FindInSegment(chars + rest, length - rest, text.empty() ? 0 : text.back(),
                                                          m_sText, removed, m_bWholeWord, upper);
            if (offset < 0) break;
            const int at = static_cast<int>(text.size()) + offset;
            // On the block's last line an occurrence counts only when it
            // starts before the block's end (which moves with each).
            if (line == blockEnd.y && at >= m_ptBlockEnd.x && m_nScope == 0) break;
            text.append(chars + rest, static_cast<size_t>(offset));
            occurrences.push_back({at, chars + rest + offset});
            text.append(m_sNewText.GetString(), static_cast<size_t>(inserted));
            rest += offset + removed;
            AdjustBlock(CPoint(at, line), delta);
            last = CPoint(at + inserted, line);
            ++count;
        }
        if (occurrences.empty()) continue;
        text.append(chars + rest, static_cast<size_t>(length - rest));
        if (!run.Line(line, text, occurrences)) break;
    }
    run.Finish();
    // Where the search that finds nothing more leaves the position.
    m_ptFoundAt = m_nScope == 0 ? m_ptBlockBegin : CPoint(0, 0);
    return count;
}
