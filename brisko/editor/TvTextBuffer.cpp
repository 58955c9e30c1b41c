// The text buffer's lines, edits, undo list, line flags and comment toggle.
// Files are read and written in TvTextBufferFile.cpp.
#include "brisko/editor/TvTextBuffer.h"
#include "brisko/editor/TvTextView.h"
#include <algorithm>
#include <cstring>
#include <memory>

IMPLEMENT_DYNCREATE(CTvTextBuffer, CCmdTarget)

namespace {

// Capacity of a line of `length` characters when it is (re)allocated.
int LineCapacity(int length) { return (length / 16 + 1) * 16; }

int TextLength(const wchar_t* text, int length)
{
    if (!text) return 0;
    return length < 0 ? static_cast<int>(std::wcslen(text)) : length;
}

// The pieces of an inserted text between its line breaks.  With
// `onlyCrLf` only CR LF breaks (the exact form of text taken out of the
// buffer); otherwise a lone CR breaks too.  A lone LF is an ordinary
// character.
struct Piece {
    const wchar_t* text;
    int length;
};
std::vector<Piece> SplitPieces(const wchar_t* text, int length, bool onlyCrLf)
{
    std::vector<Piece> pieces;
    int start = 0;
    for (int i = 0; i < length; ++i) {
        if (text[i] != L'\r') continue;
        const bool crlf = i + 1 < length && text[i + 1] == L'\n';
        if (!crlf && onlyCrLf) continue;
        pieces.push_back({text + start, i - start});
        if (crlf) ++i;
        start = i + 1;
    }
    pieces.push_back({text + start, length - start});
    return pieces;
}

} // namespace

// ---------------------------------------------------------------------------
// Undo records

CTvTextBuffer::SUndoRecord::SUndoRecord(SUndoRecord&& other) noexcept
    : m_dwFlags(other.m_dwFlags), m_ptStartPos(other.m_ptStartPos), m_ptEndPos(other.m_ptEndPos),
      m_nAction(other.m_nAction), m_pszText(other.m_pszText), m_nTextLength(other.m_nTextLength)
{
    other.m_pszText = nullptr;
    other.m_nTextLength = 0;
}

CTvTextBuffer::SUndoRecord& CTvTextBuffer::SUndoRecord::operator=(SUndoRecord&& other) noexcept
{
    if (this != &other) {
        FreeText();
        m_dwFlags = other.m_dwFlags;
        m_ptStartPos = other.m_ptStartPos;
        m_ptEndPos = other.m_ptEndPos;
        m_nAction = other.m_nAction;
        m_pszText = other.m_pszText;
        m_nTextLength = other.m_nTextLength;
        other.m_pszText = nullptr;
        other.m_nTextLength = 0;
    }
    return *this;
}

void CTvTextBuffer::SUndoRecord::FreeText()
{
    if (m_nTextLength > 1) delete[] m_pszText;
    m_pszText = nullptr;
    m_nTextLength = 0;
}

void CTvTextBuffer::SUndoRecord::SetText(const wchar_t* text, int length)
{
    FreeText();
    if (!text || length <= 0) return;
    m_nTextLength = length;
    if (length == 1) {
        m_chText = static_cast<UINT_PTR>(text[0]);
        return;
    }
    m_pszText = new wchar_t[static_cast<size_t>(length) + 1];
    std::memcpy(m_pszText, text, sizeof(wchar_t) * static_cast<size_t>(length));
    m_pszText[length] = 0;
}

const wchar_t* CTvTextBuffer::SUndoRecord::GetText() const
{
    if (m_nTextLength == 0) return L"";
    if (m_nTextLength == 1) {
        m_szOne[0] = static_cast<wchar_t>(m_chText);
        return m_szOne;
    }
    return m_pszText;
}

// ---------------------------------------------------------------------------
// Change contexts

void CTvTextBuffer::CInsertContext::AdjustPoint(CPoint& point)
{
    if (point.y < m_ptStart.y) return;
    if (point.y > m_ptStart.y) {
        point.y += m_ptEnd.y - m_ptStart.y;
        return;
    }
    if (point.x <= m_ptStart.x) return;
    point.y += m_ptEnd.y - m_ptStart.y;
    point.x = m_ptEnd.x + (point.x - m_ptStart.x);
}

void CTvTextBuffer::CDeleteContext::AdjustPoint(CPoint& point)
{
    if (point.y < m_ptStart.y) return;
    if (point.y > m_ptEnd.y) {
        point.y -= m_ptEnd.y - m_ptStart.y;
        return;
    }
    if (point.y == m_ptEnd.y && point.x >= m_ptEnd.x) {
        point.x = m_ptStart.x + (point.x - m_ptEnd.x);
        point.y = m_ptStart.y;
        return;
    }
    if (point.y == m_ptStart.y && point.x < m_ptStart.x) return;
    point = m_ptStart;
}

// ---------------------------------------------------------------------------
// Construction and lines

CTvTextBuffer::CTvTextBuffer() { m_aLines.reserve(4096); }

CTvTextBuffer::~CTvTextBuffer()
{
    ReleaseAll();
    // Views that outlive the buffer must not call back into it.
    POSITION pos = m_lpViews.GetHeadPosition();
    while (pos) static_cast<CTvTextView*>(m_lpViews.GetNext(pos))->BufferGone(this);
}

const CTvTextBuffer::SLineInfo& CTvTextBuffer::Line(int line) const
{
    if (line < 0 || line >= GetLineCount()) AfxThrowInvalidArgException();
    return m_aLines[static_cast<size_t>(line)];
}

CTvTextBuffer::SLineInfo& CTvTextBuffer::Line(int line)
{
    if (line < 0 || line >= GetLineCount()) AfxThrowInvalidArgException();
    return m_aLines[static_cast<size_t>(line)];
}

void CTvTextBuffer::AllocLine(SLineInfo& info, const wchar_t* text, int length)
{
    info.m_nMax = LineCapacity(length);
    info.m_pcLine = new wchar_t[static_cast<size_t>(info.m_nMax)];
    info.m_nLength = length;
    if (length > 0) std::memcpy(info.m_pcLine, text, sizeof(wchar_t) * static_cast<size_t>(length));
}

void CTvTextBuffer::AppendLine(SLineInfo& info, const wchar_t* chars, int count)
{
    if (count <= 0) return;
    const int length = info.m_nLength + count;
    if (length > info.m_nMax) {
        const int capacity = LineCapacity(length);
        auto* grown = new wchar_t[static_cast<size_t>(capacity)];
        if (info.m_nLength > 0)
            std::memcpy(grown, info.m_pcLine, sizeof(wchar_t) * static_cast<size_t>(info.m_nLength));
        delete[] info.m_pcLine;
        info.m_pcLine = grown;
        info.m_nMax = capacity;
    }
    std::memmove(info.m_pcLine + info.m_nLength, chars, sizeof(wchar_t) * static_cast<size_t>(count));
    info.m_nLength = length;
}

void CTvTextBuffer::FreeLine(SLineInfo& info)
{
    delete[] info.m_pcLine;
    info.m_pcLine = nullptr;
    info.m_nLength = info.m_nMax = 0;
}

void CTvTextBuffer::ResetLines()
{
    for (SLineInfo& info : m_aLines) FreeLine(info);
    m_aLines.clear();
}

wchar_t CTvTextBuffer::GetCharAt(int line, int column) const
{
    const SLineInfo& info = Line(line);
    if (column < 0 || column >= info.m_nLength) return 0;
    return info.m_pcLine[column];
}

void CTvTextBuffer::GetText(int startLine, int startChar, int endLine, int endChar, CString& text,
                            const wchar_t* lineBreak) const
{
    if (!lineBreak) lineBreak = L"\r\n";
    const SLineInfo& first = Line(startLine);
    const SLineInfo& last = Line(endLine);
    if (endLine < startLine || startChar < 0 || startChar > first.m_nLength || endChar < 0 ||
        endChar > last.m_nLength || (startLine == endLine && endChar < startChar))
        AfxThrowInvalidArgException();
    std::wstring out;
    if (startLine == endLine) {
        out.assign(first.m_pcLine + startChar, static_cast<size_t>(endChar - startChar));
    } else {
        size_t total = static_cast<size_t>(first.m_nLength - startChar) + static_cast<size_t>(endChar);
        const size_t breakLength = std::wcslen(lineBreak);
        for (int i = startLine + 1; i < endLine; ++i) total += static_cast<size_t>(m_aLines[i].m_nLength);
        total += breakLength * static_cast<size_t>(endLine - startLine);
        out.reserve(total);
        out.append(first.m_pcLine + startChar, static_cast<size_t>(first.m_nLength - startChar));
        out.append(lineBreak, breakLength);
        for (int i = startLine + 1; i < endLine; ++i) {
            out.append(m_aLines[i].m_pcLine, static_cast<size_t>(m_aLines[i].m_nLength));
            out.append(lineBreak, breakLength);
        }
        out.append(last.m_pcLine, static_cast<size_t>(endChar));
    }
    text = CString(out);
}

void CTvTextBuffer::InsertLine(const wchar_t* text, int length, int position)
{
    length = TextLength(text, length);
    if (position < -1 || position > GetLineCount()) AfxThrowInvalidArgException();
    SLineInfo info;
    AllocLine(info, text, length);
    if (position == -1)
        m_aLines.push_back(info);
    else
        m_aLines.insert(m_aLines.begin() + position, info);
}

void CTvTextBuffer::AppendToLine(int line, const wchar_t* chars, int count)
{
    SLineInfo& info = Line(line);
    AppendLine(info, chars, TextLength(chars, count));
}

void CTvTextBuffer::SetLineText(int line, const wchar_t* text)
{
    SLineInfo& info = Line(line);
    const int length = TextLength(text, -1);
    if (length == 0) return;
    info.m_nLength = 0;
    AppendLine(info, text, length);
}

void CTvTextBuffer::SetModified(BOOL modified) { m_bModified = modified; }

BOOL CTvTextBuffer::GetActionText(int action, CString& text)
{
    static const UINT ids[] = {8619, 8620, 8621, 8622, 8624, 8625, 8626, 8627, 8628, 8623, 8629};
    if (action < 0 || action > 10) return FALSE;
    CString loaded;
    if (!loaded.LoadString(ids[action])) return FALSE;
    text = loaded;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Views

void CTvTextBuffer::AttachView(CTvTextView* view)
{
    if (view && !m_lpViews.Find(view)) m_lpViews.AddTail(view);
}

void CTvTextBuffer::DetachView(CTvTextView* view)
{
    if (POSITION pos = m_lpViews.Find(view)) m_lpViews.RemoveAt(pos);
}

void CTvTextBuffer::NotifyViews(CTvTextView* source, CUpdateContext* context, DWORD flags, int line)
{
    POSITION pos = m_lpViews.GetHeadPosition();
    while (pos) static_cast<CTvTextView*>(m_lpViews.GetNext(pos))->OnBufferNotice(source, context, flags, line);
}

// ---------------------------------------------------------------------------
// Life cycle

BOOL CTvTextBuffer::InitEmpty(int lineEndStyle)
{
    ResetLines();
    m_aUndoBuf.clear();
    InsertLine(L"", 0);
    m_nCRLFMode = lineEndStyle;
    m_bInit = TRUE;
    m_bReadOnly = FALSE;
    m_bModified = FALSE;
    m_nUndoPosition = m_nSyncPosition = 0;
    m_bUndoGroup = m_bUndoBeginGroup = FALSE;
    m_nUndoBufSize = 4096;
    NotifyViews(nullptr, nullptr, NotifyReset, -1);
    return TRUE;
}

void CTvTextBuffer::TakeText(CTvTextBuffer& loaded)
{
    if (&loaded == this) return;
    m_aLines.swap(loaded.m_aLines);
    m_aUndoBuf.swap(loaded.m_aUndoBuf);
    m_nUndoPosition = loaded.m_nUndoPosition;
    m_nSyncPosition = loaded.m_nSyncPosition;
    m_bUndoGroup = m_bUndoBeginGroup = FALSE;
    m_nGroupOpenedAt = 0;
    m_bInit = loaded.m_bInit;
    m_bReadOnly = loaded.m_bReadOnly;
    m_bModified = FALSE;
    m_nCRLFMode = loaded.m_nCRLFMode;
    m_nEncoding = loaded.m_nEncoding;
    m_bUtf8Mark = loaded.m_bUtf8Mark;
    loaded.ReleaseAll();
    if (m_aLines.empty()) InsertLine(L"", 0);
    NotifyViews(nullptr, nullptr, NotifyReset, -1);
}

void CTvTextBuffer::ReleaseAll()
{
    ResetLines();
    m_aUndoBuf.clear();
    m_nUndoPosition = m_nSyncPosition = 0;
    m_bUndoGroup = m_bUndoBeginGroup = FALSE;
    m_bInit = FALSE;
}

// ---------------------------------------------------------------------------
// Editing without undo

BOOL CTvTextBuffer::InsertTextNoUndo(CTvTextView* source, int line, int column, const wchar_t* text, int& endLine,
                                     int& endColumn, int length)
{
    return InsertPieces(source, line, column, text, TextLength(text, length), false, endLine, endColumn);
}

BOOL CTvTextBuffer::InsertPieces(CTvTextView* source, int line, int column, const wchar_t* text, int length,
                                 bool onlyCrLf, int& endLine, int& endColumn)
{
    if (m_bReadOnly) return FALSE;
    SLineInfo& target = Line(line);
    if (column < 0 || column > target.m_nLength) AfxThrowInvalidArgException();

    const std::vector<Piece> pieces = SplitPieces(text ? text : L"", length, onlyCrLf);
    // The characters after the column move to the end of the last piece.
    std::wstring tail(target.m_pcLine + column, static_cast<size_t>(target.m_nLength - column));
    target.m_nLength = column;
    AppendLine(target, pieces[0].text, pieces[0].length);
    if (pieces.size() > 1) {
        std::vector<SLineInfo> added(pieces.size() - 1);
        for (size_t i = 1; i < pieces.size(); ++i) AllocLine(added[i - 1], pieces[i].text, pieces[i].length);
        m_aLines.insert(m_aLines.begin() + line + 1, added.begin(), added.end());
    }
    endLine = line + static_cast<int>(pieces.size()) - 1;
    SLineInfo& last = m_aLines[static_cast<size_t>(endLine)];
    endColumn = last.m_nLength;
    AppendLine(last, tail.data(), static_cast<int>(tail.size()));

    CInsertContext context;
    context.m_ptStart = CPoint(column, line);
    context.m_ptEnd = CPoint(endColumn, endLine);
    const DWORD flags = pieces.size() > 1 ? (NotifyHorz | NotifyVert) : (NotifyOneLine | NotifyHorz);
    NotifyViews(source, &context, flags, line);
    if (!m_bModified) SetModified(TRUE);
    return TRUE;
}

BOOL CTvTextBuffer::DeleteTextNoUndo(CTvTextView* source, int startLine, int startColumn, int endLine,
                                     int endColumn)
{
    if (m_bReadOnly) return FALSE;
    SLineInfo& first = Line(startLine);
    SLineInfo& last = Line(endLine);
    if (endLine < startLine || startColumn < 0 || startColumn > first.m_nLength || endColumn < 0 ||
        endColumn > last.m_nLength || (startLine == endLine && endColumn < startColumn))
        AfxThrowInvalidArgException();

    CDeleteContext context;
    context.m_ptStart = CPoint(startColumn, startLine);
    context.m_ptEnd = CPoint(endColumn, endLine);
    if (startLine == endLine) {
        std::memmove(first.m_pcLine + startColumn, first.m_pcLine + endColumn,
                     sizeof(wchar_t) * static_cast<size_t>(first.m_nLength - endColumn));
        first.m_nLength -= endColumn - startColumn;
        NotifyViews(source, &context, NotifyOneLine | NotifyHorz, startLine);
    } else {
        std::wstring tail(last.m_pcLine + endColumn, static_cast<size_t>(last.m_nLength - endColumn));
        for (int i = startLine + 1; i <= endLine; ++i) FreeLine(m_aLines[static_cast<size_t>(i)]);
        m_aLines.erase(m_aLines.begin() + startLine + 1, m_aLines.begin() + endLine + 1);
        SLineInfo& joined = m_aLines[static_cast<size_t>(startLine)];
        joined.m_nLength = startColumn;
        AppendLine(joined, tail.data(), static_cast<int>(tail.size()));
        NotifyViews(source, &context, NotifyHorz | NotifyVert, startLine);
    }
    if (!m_bModified) SetModified(TRUE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Editing with undo

BOOL CTvTextBuffer::InsertText(CTvTextView* source, int line, int column, const wchar_t* text, int& endLine,
                               int& endColumn, int action, int length)
{
    length = TextLength(text, length);
    if (!InsertPieces(source, line, column, text, length, false, endLine, endColumn)) return FALSE;
    const BOOL opened = !m_bUndoGroup;
    if (opened) OpenUndoGroup(FALSE);
    AddUndoRecord(TRUE, CPoint(column, line), CPoint(endColumn, endLine), text, length, action);
    if (opened) EndUndoGroup(source);
    return TRUE;
}

BOOL CTvTextBuffer::DeleteText(CTvTextView* source, int startLine, int startColumn, int endLine, int endColumn,
                               int action)
{
    if (m_bReadOnly) return FALSE;
    CString text;
    GetText(startLine, startColumn, endLine, endColumn, text);
    if (!DeleteTextNoUndo(source, startLine, startColumn, endLine, endColumn)) return FALSE;
    const BOOL opened = !m_bUndoGroup;
    if (opened) OpenUndoGroup(FALSE);
    AddUndoRecord(FALSE, CPoint(startColumn, startLine), CPoint(endColumn, endLine), text, text.GetLength(),
                  action);
    if (opened) EndUndoGroup(source);
    return TRUE;
}

void CTvTextBuffer::OpenUndoGroup(BOOL mergeWithPrevious)
{
    m_bUndoGroup = TRUE;
    m_bUndoBeginGroup = m_nUndoPosition == 0 || !mergeWithPrevious;
    m_nGroupOpenedAt = m_nUndoPosition;
}

void CTvTextBuffer::EndUndoGroup(CTvTextView* source)
{
    if (source && m_nUndoPosition > 0) {
        m_bUndoBeginGroup = TRUE;
        // Only a group that recorded an edit tells its view (a group left
        // empty must not repeat the follow-up of an older edit).
        if (m_nUndoPosition > m_nGroupOpenedAt) {
            const SUndoRecord& last = m_aUndoBuf[static_cast<size_t>(m_nUndoPosition - 1)];
            source->AfterEditAction(last.m_nAction, last.GetText());
        }
    }
    m_bUndoGroup = FALSE;
}

void CTvTextBuffer::AddUndoRecord(BOOL insert, const CPoint& start, const CPoint& end, const wchar_t* text,
                                  int length, int action)
{
    // A new edit loses what could be redone; a saved state among it can no
    // longer be reached.
    if (m_nUndoPosition < static_cast<int>(m_aUndoBuf.size())) {
        m_aUndoBuf.erase(m_aUndoBuf.begin() + m_nUndoPosition, m_aUndoBuf.end());
        if (m_nSyncPosition > m_nUndoPosition) m_nSyncPosition = -1;
    }
    // At the cap the oldest group goes, unless it is the group still being
    // collected (the record about to be added belongs to it).
    const int count = static_cast<int>(m_aUndoBuf.size());
    if (count >= m_nUndoBufSize && count > 0) {
        int groupEnd = 1;
        while (groupEnd < count && !(m_aUndoBuf[static_cast<size_t>(groupEnd)].m_dwFlags & UNDO_BEGINGROUP))
            ++groupEnd;
        const bool oldestIsOpen = groupEnd == count && m_bUndoGroup && !m_bUndoBeginGroup;
        if (!oldestIsOpen) {
            m_aUndoBuf.erase(m_aUndoBuf.begin(), m_aUndoBuf.begin() + groupEnd);
            m_nUndoPosition -= groupEnd;
            m_nGroupOpenedAt = std::max(0, m_nGroupOpenedAt - groupEnd);
            if (m_nSyncPosition >= 0) m_nSyncPosition = m_nSyncPosition >= groupEnd ? m_nSyncPosition - groupEnd : -1;
        }
    }
    SUndoRecord record;
    record.m_dwFlags = (insert ? UNDO_INSERT : 0) | (m_bUndoBeginGroup ? UNDO_BEGINGROUP : 0);
    m_bUndoBeginGroup = FALSE;
    record.m_ptStartPos = start;
    record.m_ptEndPos = end;
    record.m_nAction = action;
    record.SetText(text, length);
    m_aUndoBuf.push_back(std::move(record));
    m_nUndoPosition = static_cast<int>(m_aUndoBuf.size());
}

const CTvTextBuffer::SUndoRecord& CTvTextBuffer::GetUndoRecord(int index) const
{
    if (index < 0 || index >= GetUndoRecordCount()) AfxThrowInvalidArgException();
    return m_aUndoBuf[static_cast<size_t>(index)];
}

void CTvTextBuffer::SyncModifiedFlag()
{
    if (m_bModified && m_nSyncPosition == m_nUndoPosition)
        SetModified(FALSE);
    else if (!m_bModified && m_nSyncPosition != m_nUndoPosition)
        SetModified(TRUE);
}

BOOL CTvTextBuffer::Undo(CPoint& cursor)
{
    if (!CanUndo() || m_bReadOnly) return FALSE;
    for (;;) {
        --m_nUndoPosition;
        const SUndoRecord& record = m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)];
        if (record.m_dwFlags & UNDO_INSERT) {
            DeleteTextNoUndo(nullptr, record.m_ptStartPos.y, record.m_ptStartPos.x, record.m_ptEndPos.y,
                             record.m_ptEndPos.x);
            cursor = record.m_ptStartPos;
        } else {
            int endLine = 0, endColumn = 0;
            InsertPieces(nullptr, record.m_ptStartPos.y, record.m_ptStartPos.x, record.GetText(),
                         record.GetTextLength(), true, endLine, endColumn);
            cursor = CPoint(endColumn, endLine);
        }
        if ((record.m_dwFlags & UNDO_BEGINGROUP) || m_nUndoPosition == 0) break;
    }
    SyncModifiedFlag();
    return TRUE;
}

BOOL CTvTextBuffer::Redo(CPoint& cursor)
{
    if (!CanRedo() || m_bReadOnly) return FALSE;
    const int count = static_cast<int>(m_aUndoBuf.size());
    do {
        const SUndoRecord& record = m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)];
        if (record.m_dwFlags & UNDO_INSERT) {
            int endLine = 0, endColumn = 0;
            InsertPieces(nullptr, record.m_ptStartPos.y, record.m_ptStartPos.x, record.GetText(),
                         record.GetTextLength(), false, endLine, endColumn);
            cursor = CPoint(endColumn, endLine);
        } else {
            DeleteTextNoUndo(nullptr, record.m_ptStartPos.y, record.m_ptStartPos.x, record.m_ptEndPos.y,
                             record.m_ptEndPos.x);
            cursor = record.m_ptStartPos;
        }
        ++m_nUndoPosition;
    } while (m_nUndoPosition < count &&
             !(m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)].m_dwFlags & UNDO_BEGINGROUP));
    SyncModifiedFlag();
    return TRUE;
}

BOOL CTvTextBuffer::GetUndoText(CString& text)
{
    text.Empty();
    if (!CanUndo()) return FALSE;
    int i = m_nUndoPosition - 1;
    while (i > 0 && !(m_aUndoBuf[static_cast<size_t>(i)].m_dwFlags & UNDO_BEGINGROUP)) --i;
    return GetActionText(m_aUndoBuf[static_cast<size_t>(i)].m_nAction, text);
}

BOOL CTvTextBuffer::GetRedoText(CString& text)
{
    text.Empty();
    if (!CanRedo()) return FALSE;
    return GetActionText(m_aUndoBuf[static_cast<size_t>(m_nUndoPosition)].m_nAction, text);
}

// ---------------------------------------------------------------------------
// Replacing in many places

namespace {

// How the points of one line move with a line's replacements: each a
// deletion and an insertion in its place, one after the other.
class LineReplaceContext : public CUpdateContext
{
public:
    LineReplaceContext(int line, const std::vector<CTvTextBuffer::CReplaceRun::Occurrence>& occurrences, int removed,
                       int inserted)
        : m_line(line), m_occurrences(occurrences), m_removed(removed), m_inserted(inserted)
    {
    }
    void AdjustPoint(CPoint& point) override
    {
        if (point.y != m_line) return; // edits within the line move no other line
        for (const CTvTextBuffer::CReplaceRun::Occurrence& occurrence : m_occurrences) {
            CTvTextBuffer::CDeleteContext deletion;
            deletion.m_ptStart = CPoint(occurrence.column, m_line);
            deletion.m_ptEnd = CPoint(occurrence.column + m_removed, m_line);
            deletion.AdjustPoint(point);
            if (m_inserted == 0) continue;
            CTvTextBuffer::CInsertContext insertion;
            insertion.m_ptStart = deletion.m_ptStart;
            insertion.m_ptEnd = CPoint(occurrence.column + m_inserted, m_line);
            insertion.AdjustPoint(point);
        }
    }

private:
    int m_line;
    const std::vector<CTvTextBuffer::CReplaceRun::Occurrence>& m_occurrences;
    int m_removed, m_inserted;
};

} // namespace

CTvTextBuffer::CReplaceRun::CReplaceRun(CTvTextBuffer& buffer, CTvTextView* source, const wchar_t* replacement,
                                        int replacementLength, int occurrenceLength)
    : m_buffer(buffer), m_source(source), m_replacement(replacement ? replacement : L"", TextLength(replacement, replacementLength)),
      m_nLength(occurrenceLength)
{
}

void CTvTextBuffer::CReplaceRun::Add(BOOL insert, const CPoint& start, const CPoint& end, const wchar_t* text,
                                     int length)
{
    if (m_buffer.m_nUndoBufSize < 1) {
        // A list that keeps next to nothing: each record as it comes.
        m_buffer.OpenUndoGroup(FALSE);
        m_buffer.AddUndoRecord(insert, start, end, text, length, insert ? TVA_REPLACE : TVA_DELSEL);
        if (m_source) m_buffer.m_bUndoBeginGroup = TRUE;
        m_buffer.m_bUndoGroup = FALSE;
        return;
    }
    if (m_pending.empty()) m_pending.resize(static_cast<size_t>(m_buffer.m_nUndoBufSize));
    Pending& pending = m_pending[m_total % m_pending.size()];
    pending.insert = insert;
    pending.start = start;
    pending.end = end;
    if (!insert) pending.text.assign(text, static_cast<size_t>(length));
    ++m_total;
}

BOOL CTvTextBuffer::CReplaceRun::Line(int line, const std::wstring& text, const std::vector<Occurrence>& occurrences)
{
    if (m_buffer.m_bReadOnly) return FALSE;
    SLineInfo& info = m_buffer.Line(line);
    const int inserted = static_cast<int>(m_replacement.size());
    // The room the line ends with, as the edits one after the other leave
    // it: a deletion keeps it, an insertion grows it when the text before
    // the rest, then the whole line, does not fit.
    int length = info.m_nLength, capacity = info.m_nMax;
    for (const Occurrence& occurrence : occurrences) {
        length -= m_nLength;
        if (inserted == 0) continue;
        if (occurrence.column + inserted > capacity) capacity = LineCapacity(occurrence.column + inserted);
        length += inserted;
        if (length > capacity) capacity = LineCapacity(length);
    }
    for (const Occurrence& occurrence : occurrences) {
        const CPoint at(occurrence.column, line);
        Add(FALSE, at, CPoint(occurrence.column + m_nLength, line), occurrence.chars, m_nLength);
        if (inserted > 0) Add(TRUE, at, CPoint(occurrence.column + inserted, line), m_replacement.c_str(), inserted);
    }
    // The occurrences' characters lie in the old line: it is freed only
    // once they were handed on.
    std::unique_ptr<wchar_t[]> oldLine;
    if (capacity != info.m_nMax) {
        oldLine.reset(info.m_pcLine);
        info.m_pcLine = new wchar_t[static_cast<size_t>(capacity)];
        info.m_nMax = capacity;
    }
    if (!text.empty()) std::memcpy(info.m_pcLine, text.data(), sizeof(wchar_t) * text.size());
    info.m_nLength = static_cast<int>(text.size());

    LineReplaceContext context(line, occurrences, m_nLength, inserted);
    m_buffer.NotifyViews(m_source, &context, NotifyOneLine | NotifyHorz, line);
    if (!m_buffer.m_bModified) m_buffer.SetModified(TRUE);
    // Each edit's group is closed for the source view as it is made.
    if (m_source)
        for (const Occurrence& occurrence : occurrences) {
            const std::wstring removed(occurrence.chars, static_cast<size_t>(m_nLength));
            m_source->AfterEditAction(TVA_DELSEL, removed.c_str());
            if (inserted > 0) m_source->AfterEditAction(TVA_REPLACE, m_replacement.c_str());
        }
    return TRUE;
}

void CTvTextBuffer::CReplaceRun::Finish()
{
    if (m_finished) return;
    m_finished = true;
    if (m_total == 0) return;
    const size_t keep = m_pending.size();
    auto record = [&](const Pending& pending, SUndoRecord& out) {
        out.m_dwFlags = (pending.insert ? UNDO_INSERT : 0) | UNDO_BEGINGROUP;
        out.m_ptStartPos = pending.start;
        out.m_ptEndPos = pending.end;
        out.m_nAction = pending.insert ? TVA_REPLACE : TVA_DELSEL;
        const std::wstring& text = pending.insert ? m_replacement : pending.text;
        out.SetText(text.c_str(), static_cast<int>(text.size()));
    };
    if (m_total <= keep) {
        // Every record stays: each goes in as its edit would have put it.
        for (size_t i = 0; i < m_total; ++i) {
            const Pending& pending = m_pending[i];
            const std::wstring& text = pending.insert ? m_replacement : pending.text;
            m_buffer.OpenUndoGroup(FALSE);
            m_buffer.AddUndoRecord(pending.insert, pending.start, pending.end, text.c_str(),
                                   static_cast<int>(text.size()), pending.insert ? TVA_REPLACE : TVA_DELSEL);
            if (m_source) m_buffer.m_bUndoBeginGroup = TRUE;
            m_buffer.m_bUndoGroup = FALSE;
        }
        return;
    }
    // More records than the list keeps, each its own group: pushing them one
    // by one would drop what could be redone, then every older group, then
    // the run's first records; the state saved on disk can no longer be
    // reached.
    std::deque<SUndoRecord>& list = m_buffer.m_aUndoBuf;
    list.clear();
    list.resize(keep);
    for (size_t i = 0; i < keep; ++i) record(m_pending[(m_total + i) % keep], list[i]);
    m_buffer.m_nUndoPosition = static_cast<int>(keep);
    m_buffer.m_nGroupOpenedAt = static_cast<int>(keep) - 1;
    m_buffer.m_nSyncPosition = -1;
    m_buffer.m_bUndoBeginGroup = m_source ? TRUE : FALSE;
    m_buffer.m_bUndoGroup = FALSE;
}

// ---------------------------------------------------------------------------
// Comments

void CTvTextBuffer::ToggleLineComments(CTvTextView* source, int firstLine, int lastLine)
{
    if (m_bReadOnly) return;
    if (firstLine > lastLine) std::swap(firstLine, lastLine);
    Line(firstLine);
    Line(lastLine);
    const BOOL opened = !m_bUndoGroup;
    if (opened) OpenUndoGroup(FALSE);
    bool changed = false;
    for (int line = firstLine; line <= lastLine; ++line) {
        SLineInfo& info = m_aLines[static_cast<size_t>(line)];
        if (info.m_nLength <= 3) continue;
        if (info.m_pcLine[0] == L'/' && info.m_pcLine[1] == L'/') {
            std::memmove(info.m_pcLine, info.m_pcLine + 2, sizeof(wchar_t) * static_cast<size_t>(info.m_nLength - 2));
            info.m_nLength -= 2;
            AddUndoRecord(FALSE, CPoint(0, line), CPoint(2, line), L"//", 2, TVA_DELETE);
        } else {
            std::wstring text(L"//");
            text.append(info.m_pcLine, static_cast<size_t>(info.m_nLength));
            info.m_nLength = 0;
            AppendLine(info, text.data(), static_cast<int>(text.size()));
            AddUndoRecord(TRUE, CPoint(0, line), CPoint(2, line), L"//", 2, TVA_TYPING);
        }
        changed = true;
    }
    if (changed) {
        // Every view repaints the range and re-measures it; the document
        // counts as changed.
        NotifyViews(source, nullptr, NotifyHorz, firstLine);
        if (!m_bModified) SetModified(TRUE);
    }
    if (opened) EndUndoGroup(source);
}

// ---------------------------------------------------------------------------
// Line flags

void CTvTextBuffer::MarkLine(int line, DWORD flag, BOOL set, BOOL removeFromOtherLine)
{
    if (!IsSingleBit(flag)) return;
    if (line == -1) {
        line = FindFlaggedLine(flag);
        if (line == -1) return;
        removeFromOtherLine = FALSE;
    }
    SLineInfo& info = Line(line);
    const DWORD flags = set ? (info.m_dwFlags | flag) : (info.m_dwFlags & ~flag);
    if (flags == info.m_dwFlags) return;
    if (removeFromOtherLine && set) {
        const int other = FindFlaggedLine(flag);
        if (other >= 0) {
            m_aLines[static_cast<size_t>(other)].m_dwFlags &= ~flag;
            NotifyViews(nullptr, nullptr, NotifyOneLine | NotifyFlags, other);
        }
    }
    info.m_dwFlags = flags;
    NotifyViews(nullptr, nullptr, NotifyOneLine | NotifyFlags, line);
}

int CTvTextBuffer::FindFlaggedLine(DWORD flag) const
{
    const int count = GetLineCount();
    for (int i = 0; i < count; ++i)
        if (m_aLines[static_cast<size_t>(i)].m_dwFlags & flag) return i;
    return -1;
}

int CTvTextBuffer::GetFlaggedLine(DWORD flag) const { return IsSingleBit(flag) ? FindFlaggedLine(flag) : -1; }

int CTvTextBuffer::FindNextMarkedLine(int line) const
{
    const int count = GetLineCount();
    if (count == 0) return -1;
    line = std::max(0, std::min(line, count - 1));
    const int start = (m_aLines[static_cast<size_t>(line)].m_dwFlags & LF_MARK) ? line + 1 : line;
    for (int i = start; i < count; ++i)
        if (m_aLines[static_cast<size_t>(i)].m_dwFlags & LF_MARK) return i;
    for (int i = 0; i < count; ++i)
        if (m_aLines[static_cast<size_t>(i)].m_dwFlags & LF_MARK) return i;
    return -1;
}

int CTvTextBuffer::FindPrevMarkedLine(int line) const
{
    const int count = GetLineCount();
    if (count == 0) return -1;
    line = std::max(0, std::min(line, count - 1));
    const int start = (m_aLines[static_cast<size_t>(line)].m_dwFlags & LF_MARK) ? line - 1 : line;
    for (int i = start; i >= 0; --i)
        if (m_aLines[static_cast<size_t>(i)].m_dwFlags & LF_MARK) return i;
    for (int i = count - 1; i >= 0; --i)
        if (m_aLines[static_cast<size_t>(i)].m_dwFlags & LF_MARK) return i;
    return -1;
}
