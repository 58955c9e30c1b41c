// The text view's core: the buffer and its notices, caches and measures,
// scrolling, coordinates, fonts, focus and caret, keys and status panes.
// Painting, movement, search and printing are in the TvTextView*.cpp files
// beside this one.
#include "brisko/editor/TvTextView.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include <algorithm>
#include <climits>
#include <cstring>

IMPLEMENT_DYNCREATE(CTvTextView, CView)

BEGIN_MESSAGE_MAP(CTvTextView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_SETCURSOR()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_RBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_CAPTURECHANGED()
    ON_COMMAND(ID_EDIT_CHAR_LEFT, OnCharLeft)
    ON_COMMAND(ID_EDIT_EXT_CHAR_LEFT, OnExtCharLeft)
    ON_COMMAND(ID_EDIT_CHAR_RIGHT, OnCharRight)
    ON_COMMAND(ID_EDIT_EXT_CHAR_RIGHT, OnExtCharRight)
    ON_COMMAND(ID_EDIT_WORD_LEFT, OnWordLeft)
    ON_COMMAND(ID_EDIT_EXT_WORD_LEFT, OnExtWordLeft)
    ON_COMMAND(ID_EDIT_WORD_RIGHT, OnWordRight)
    ON_COMMAND(ID_EDIT_EXT_WORD_RIGHT, OnExtWordRight)
    ON_COMMAND(ID_EDIT_LINE_UP, OnLineUp)
    ON_COMMAND(ID_EDIT_EXT_LINE_UP, OnExtLineUp)
    ON_COMMAND(ID_EDIT_LINE_DOWN, OnLineDown)
    ON_COMMAND(ID_EDIT_EXT_LINE_DOWN, OnExtLineDown)
    ON_COMMAND(ID_EDIT_SCROLL_UP, OnScrollUp)
    ON_COMMAND(ID_EDIT_SCROLL_DOWN, OnScrollDown)
    ON_COMMAND(ID_EDIT_PAGE_UP, OnPageUp)
    ON_COMMAND(ID_EDIT_EXT_PAGE_UP, OnExtPageUp)
    ON_COMMAND(ID_EDIT_PAGE_DOWN, OnPageDown)
    ON_COMMAND(ID_EDIT_EXT_PAGE_DOWN, OnExtPageDown)
    ON_COMMAND(ID_EDIT_LINE_END, OnLineEnd)
    ON_COMMAND(ID_EDIT_EXT_LINE_END, OnExtLineEnd)
    ON_COMMAND(ID_EDIT_HOME, OnHome)
    ON_COMMAND(ID_EDIT_EXT_HOME, OnExtHome)
    ON_COMMAND(ID_EDIT_TEXT_BEGIN, OnTextBegin)
    ON_COMMAND(ID_EDIT_EXT_TEXT_BEGIN, OnExtTextBegin)
    ON_COMMAND(ID_EDIT_TEXT_END, OnTextEnd)
    ON_COMMAND(ID_EDIT_EXT_TEXT_END, OnExtTextEnd)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
    ON_COMMAND(ID_EDIT_COPY_EXCEL, OnEditCopyExcel)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_EXCEL, OnUpdateEditCopyExcel)
    ON_COMMAND_RANGE(ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, OnToggleBookmark)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, OnUpdateToggleBookmark)
    ON_COMMAND_RANGE(ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, OnGoBookmark)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, OnUpdateGoBookmark)
    ON_COMMAND(ID_EDIT_CLEAR_BOOKMARKS, OnClearBookmarks)
    ON_COMMAND(ID_EDIT_TOGGLE_MARK, OnToggleMark)
    ON_COMMAND(ID_EDIT_NEXT_MARK, OnNextMark)
    ON_COMMAND(ID_EDIT_PREV_MARK, OnPrevMark)
    ON_COMMAND(ID_EDIT_CLEAR_MARKS, OnClearAllMarks)
    ON_UPDATE_COMMAND_UI(ID_EDIT_NEXT_MARK, OnUpdateMarks)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PREV_MARK, OnUpdateMarks)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR_MARKS, OnUpdateMarks)
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)
    ON_COMMAND(ID_EDIT_FIND_NEXT, OnEditRepeat)
    ON_COMMAND(ID_EDIT_FIND_PREVIOUS, OnEditFindPrevious)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_NEXT, OnUpdateEditRepeat)
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_PREVIOUS, OnUpdateEditRepeat)
    ON_COMMAND(ID_EDIT_GOTO_LINE, OnEditGotoLine)
    ON_COMMAND(ID_FILE_PAGE_SETUP, OnFilePageSetup)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_TAVIX, OnUpdateIndicatorEncoding)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_POSITION, OnUpdateIndicatorPosition)
END_MESSAGE_MAP()

namespace {

int WheelScrollLines()
{
    UINT lines = 3;
    if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    return std::max(1, static_cast<int>(lines == WHEEL_PAGESCROLL ? 3 : lines));
}

} // namespace

bool CTvTextView::IsWideChar(wchar_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

int CTvTextView::CellCount(const wchar_t* text, int count)
{
    int cells = 0;
    for (int i = 0; i < count; ++i) cells += IsWideChar(text[i]) ? 2 : 1;
    return cells;
}

CTvTextView::CTvTextView()
{
    std::memset(&m_lfBaseFont, 0, sizeof(m_lfBaseFont));
    wcscpy_s(m_lfBaseFont.lfFaceName, L"宋体");
    m_lfBaseFont.lfHeight = 0;
    m_lfBaseFont.lfWeight = FW_BOLD;
    m_lfBaseFont.lfItalic = FALSE;
    m_lfBaseFont.lfCharSet = DEFAULT_CHARSET;
    m_lfBaseFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    m_lfBaseFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    m_lfBaseFont.lfQuality = DEFAULT_QUALITY;
    m_lfBaseFont.lfPitchAndFamily = DEFAULT_PITCH;
    m_nMarginWidth = theApp.m_nMarginWidth;
    m_nLinePitch = theApp.m_nLinePitch;
}

CTvTextView::~CTvTextView()
{
    DetachFromBuffer();
    DropCaches();
    delete m_pIcons;
    delete m_pMarginFont;
    delete m_pPrintFont;
}

// ---------------------------------------------------------------------------
// Buffer

CTvTextBuffer* CTvTextView::GetTextBuffer() { return nullptr; }

void CTvTextView::AttachToBuffer(CTvTextBuffer* buffer)
{
    if (!buffer) buffer = GetTextBuffer();
    if (m_pTextBuffer != buffer) {
        if (m_pTextBuffer) m_pTextBuffer->DetachView(this);
        m_pTextBuffer = buffer;
        if (m_pTextBuffer) m_pTextBuffer->AttachView(this);
    }
    ReinitialiseView();
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
}

void CTvTextView::DetachFromBuffer()
{
    if (m_pTextBuffer) {
        m_pTextBuffer->DetachView(this);
        m_pTextBuffer = nullptr;
        if (m_hWnd) ReinitialiseView();
    }
}

void CTvTextView::BufferGone(CTvTextBuffer* buffer)
{
    if (m_pTextBuffer == buffer) m_pTextBuffer = nullptr;
}

void CTvTextView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    AttachToBuffer(nullptr);
}

int CTvTextView::GetLineCount()
{
    if (!m_pTextBuffer) return 1;
    const int count = m_pTextBuffer->GetLineCount();
    if (count < 0) {
        AfxMessageBox(L"查询行数错误!");
        return 1;
    }
    return std::max(count, 1);
}

int CTvTextView::GetLineLength(int line)
{
    if (!m_pTextBuffer || m_pTextBuffer->GetLineCount() == 0) return 0;
    return m_pTextBuffer->GetLineLength(line);
}

const wchar_t* CTvTextView::LineText(int line)
{
    if (!m_pTextBuffer || m_pTextBuffer->GetLineCount() == 0) return L"";
    const wchar_t* text = m_pTextBuffer->LineText(line);
    return text ? text : L"";
}

wchar_t CTvTextView::GetCharAt(int line, int column)
{
    if (!m_pTextBuffer || m_pTextBuffer->GetLineCount() == 0) return 0;
    return m_pTextBuffer->GetCharAt(line, column);
}

DWORD CTvTextView::LineFlags(int line)
{
    if (!m_pTextBuffer || m_pTextBuffer->GetLineCount() == 0) return 0;
    return m_pTextBuffer->LineFlags(line);
}

void CTvTextView::GetText(const CPoint& start, const CPoint& end, CString& text)
{
    text.Empty();
    if (m_pTextBuffer && m_pTextBuffer->GetLineCount() > 0)
        m_pTextBuffer->GetText(start.y, start.x, end.y, end.x, text);
}

int CTvTextView::DisplayLengthOfLine(int line)
{
    const int count = GetLineCount();
    if (line < 0 || line >= count) return 0;
    if (static_cast<int>(m_aActualLineLength.size()) != count) m_aActualLineLength.resize(count, -1);
    int& cached = m_aActualLineLength[static_cast<size_t>(line)];
    if (cached < 0) {
        // Screen cells of the line as ExpandTabsForDisplay lays it out: a tab
        // reaches the next stop of the character columns, a wide (CJK)
        // character takes two cells of a fixed font (the marks shown for
        // blanks and tabs take one).  Counted without making the text.
        const wchar_t* chars = LineText(line);
        const int length = GetLineLength(line);
        int column = 0, cells = 0;
        for (int i = 0; i < length; ++i) {
            const wchar_t c = chars[i];
            if (c == L'\t') {
                const int spaces = m_nTabSize - column % m_nTabSize;
                column += spaces;
                cells += spaces;
            } else {
                ++column;
                cells += c >= 0x1100 && IsWideChar(c) ? 2 : 1;
            }
        }
        cached = cells;
    }
    return cached;
}

void CTvTextView::AfterEditAction(int, const wchar_t*) {}
void CTvTextView::AfterCaretJump() {}

HINSTANCE CTvTextView::ResourceModuleHandle()
{
    return theApp.m_hResourceDll ? theApp.m_hResourceDll : AfxGetResourceHandle();
}

void CTvTextView::OnBufferNotice(CTvTextView*, CUpdateContext* context, DWORD flags, int line)
{
    if (flags & NotifyReset) {
        ReinitialiseView();
        RecalcVertScrollBar();
        RecalcHorzScrollBar();
        return;
    }
    const int count = GetLineCount();
    if (flags & NotifyOneLine) {
        m_nValidCookies = std::min(m_nValidCookies, std::max(line, 0));
        if (line >= 0 && line < static_cast<int>(m_aActualLineLength.size()))
            m_aActualLineLength[static_cast<size_t>(line)] = -1;
    } else {
        if (line < 0) line = 0;
        m_nValidCookies = std::min(m_nValidCookies, line);
        const int cached = static_cast<int>(m_aActualLineLength.size());
        const int delta = count - cached;
        if (cached > 0 && line < cached && delta != 0) {
            // Lines came or went right after `line`: the measures of the
            // lines below move with them.
            if (delta > 0)
                m_aActualLineLength.insert(m_aActualLineLength.begin() + line + 1, static_cast<size_t>(delta), -1);
            else
                m_aActualLineLength.erase(m_aActualLineLength.begin() + line + 1,
                                          m_aActualLineLength.begin() + std::min(cached, line + 1 - delta));
            m_aActualLineLength[static_cast<size_t>(line)] = -1;
        } else {
            m_aActualLineLength.resize(static_cast<size_t>(count), -1);
            std::fill(m_aActualLineLength.begin() + std::min(line, count), m_aActualLineLength.end(), -1);
        }
    }
    if (m_aParseCookies.size() > static_cast<size_t>(count)) m_aParseCookies.resize(static_cast<size_t>(count));
    m_nValidCookies = std::min(m_nValidCookies, static_cast<int>(m_aParseCookies.size()));

    if (m_nHoldUpdates == 0) InvalidateLines(line, -1);
    if (context) {
        context->AdjustPoint(m_ptCursorPos);
        context->AdjustPoint(m_ptAnchor);
        context->AdjustPoint(m_ptSelStart);
        context->AdjustPoint(m_ptSelEnd);
        context->AdjustPoint(m_ptDrawSelStart);
        context->AdjustPoint(m_ptDrawSelEnd);
        if (m_bDraggingText) {
            context->AdjustPoint(m_ptDraggedTextBegin);
            context->AdjustPoint(m_ptDraggedTextEnd);
        }
        CPoint top(0, m_nTopLine);
        context->AdjustPoint(top);
        m_nTopLine = top.y;
    }
    ClampPositions();
    if (flags & NotifyHorz) m_nMaxLineLength = -1;
    if (m_nHoldUpdates > 0) return;
    UpdateCaret();
    if (flags & NotifyVert) RecalcVertScrollBar();
    if (flags & NotifyHorz) RecalcHorzScrollBar();
}

void CTvTextView::AdjustTextPoint(CPoint& point)
{
    const int count = GetLineCount();
    point.y = std::max(0, std::min(static_cast<int>(point.y), count - 1));
    point.x = std::max(0, std::min(static_cast<int>(point.x), GetLineLength(point.y)));
}

void CTvTextView::ClampPositions()
{
    AdjustTextPoint(m_ptCursorPos);
    AdjustTextPoint(m_ptAnchor);
    AdjustTextPoint(m_ptSelStart);
    AdjustTextPoint(m_ptSelEnd);
    AdjustTextPoint(m_ptDrawSelStart);
    AdjustTextPoint(m_ptDrawSelEnd);
    m_nTopLine = std::max(0, std::min(m_nTopLine, GetLineCount() - 1));
}

// ---------------------------------------------------------------------------
// Reset and caches

void CTvTextView::DropFonts()
{
    delete m_pCacheBitmap;
    m_pCacheBitmap = nullptr;
    for (CFont*& font : m_apFonts) {
        delete font;
        font = nullptr;
    }
    if (m_pMeasureDC) {
        m_pMeasureDC->SelectObject(m_hMeasureOldFont);
        delete m_pMeasureDC;
        m_pMeasureDC = nullptr;
    }
}

void CTvTextView::DropCaches()
{
    DropFonts();
    m_aParseCookies.clear();
    m_nValidCookies = 0;
    m_aActualLineLength.clear();
}

void CTvTextView::ReinitialiseView()
{
    m_nTopLine = 0;
    m_nOffsetChar = 0;
    m_nLineHeight = -1;
    m_nCharWidth = -1;
    m_nScreenLines = -1;
    m_nScreenChars = -1;
    m_nMaxLineLength = -1;
    // The tab width of the settings, so that a text read again (a reload)
    // keeps the width the user chose.
    m_nTabSize = theApp.m_nTabWidth >= 1 && theApp.m_nTabWidth <= 20 ? theApp.m_nTabWidth : 4;
    DropCaches();
    m_ptCursorPos = m_ptAnchor = m_ptSelStart = m_ptSelEnd = m_ptDrawSelStart = m_ptDrawSelEnd = CPoint(0, 0);
    m_nIdealCharPos = -1;
    m_bPrintHeader = m_bPrintFooter = TRUE;
    m_nMarginWidth = theApp.m_nMarginWidth;
    m_nLinePitch = theApp.m_nLinePitch;
    m_nWheelLines = WheelScrollLines();
    m_bBookmarkExist = m_pTextBuffer && m_pTextBuffer->FindFlaggedLine(LF_MARK) >= 0;
    RepaintAll();
}

CFont* CTvTextView::GetFont(BOOL italic, BOOL bold)
{
    const int index = (bold ? 1 : 0) + (italic ? 2 : 0);
    if (!m_apFonts[index]) {
        LOGFONTW lf = m_lfBaseFont;
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = static_cast<BYTE>(italic);
        m_apFonts[index] = new CFont;
        if (!m_apFonts[index]->CreateFontIndirect(&lf)) {
            delete m_apFonts[index];
            m_apFonts[index] = nullptr;
            return CFont::FromHandle(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
        }
    }
    return m_apFonts[index];
}

CDC* CTvTextView::MeasureDC()
{
    if (!m_pMeasureDC) {
        m_pMeasureDC = new CDC;
        CClientDC screen(nullptr);
        m_pMeasureDC->CreateCompatibleDC(&screen);
        CFont* font = GetFont(m_bItalic, m_bBold);
        m_hMeasureOldFont = m_pMeasureDC->SelectObject(static_cast<HGDIOBJ>(font->m_hObject));
    }
    return m_pMeasureDC;
}

int CTvTextView::TextWidth(const wchar_t* text, int count)
{
    // The cells the text is drawn in, whatever the font's own advances.
    return count <= 0 ? 0 : CellCount(text, count) * GetCharWidth();
}

void CTvTextView::CalcLineCharDim()
{
    CDC* dc = MeasureDC();
    const HGDIOBJ old = dc->SelectObject(static_cast<HGDIOBJ>(GetFont()->m_hObject));
    const CSize extent = dc->GetTextExtent(L"X", 1);
    dc->SelectObject(old);
    m_nCharWidth = std::max(1, static_cast<int>(extent.cx));
    m_nLineHeight = std::max(1, static_cast<int>(extent.cy) + m_nLinePitch);
}

int CTvTextView::GetLineHeight()
{
    if (m_nLineHeight == -1) CalcLineCharDim();
    return m_nLineHeight;
}

int CTvTextView::GetCharWidth()
{
    if (m_nCharWidth == -1) CalcLineCharDim();
    return m_nCharWidth;
}

int CTvTextView::GetScreenLines()
{
    if (m_nScreenLines == -1) {
        CRect rect;
        if (m_hWnd) GetClientRect(&rect);
        m_nScreenLines = std::max(0, static_cast<int>(rect.Height()) / GetLineHeight());
    }
    return m_nScreenLines;
}

int CTvTextView::GetScreenChars()
{
    if (m_nScreenChars == -1) {
        CRect rect;
        if (m_hWnd) GetClientRect(&rect);
        m_nScreenChars = std::max(0, (static_cast<int>(rect.Width()) - GetMarginWidth()) / GetCharWidth());
    }
    return m_nScreenChars;
}

int CTvTextView::GetMaxLineLength()
{
    if (m_nMaxLineLength == -1) {
        int longest = 0;
        const int count = GetLineCount();
        for (int i = 0; i < count; ++i) longest = std::max(longest, DisplayLengthOfLine(i));
        m_nMaxLineLength = longest;
    }
    return m_nMaxLineLength;
}

void CTvTextView::SetFont(const LOGFONTW& font)
{
    m_lfBaseFont = font;
    DropFonts();
    m_nLineHeight = m_nCharWidth = m_nScreenLines = m_nScreenChars = -1;
    m_nMaxLineLength = -1;
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
    RepaintAll();
}

void CTvTextView::SetTabSize(int tabSize)
{
    if (tabSize <= 0 || tabSize == m_nTabSize) return;
    m_nTabSize = tabSize;
    std::fill(m_aActualLineLength.begin(), m_aActualLineLength.end(), -1);
    m_nMaxLineLength = -1;
    RecalcHorzScrollBar();
    RepaintAll();
}

void CTvTextView::SetLinePitch(int pitch)
{
    m_nLinePitch = std::max(0, pitch);
    m_nLineHeight = -1;
    m_nScreenLines = m_nScreenChars = -1;
    delete m_pCacheBitmap;
    m_pCacheBitmap = nullptr;
    RecalcVertScrollBar();
    RepaintAll();
}

void CTvTextView::SetSelectionMargin(BOOL show)
{
    if (m_bSelMargin == show) return;
    m_bSelMargin = show;
    m_nScreenChars = -1;
    RepaintAll();
}

void CTvTextView::SetViewWhitespace(BOOL show)
{
    m_bViewWhitespace = show;
    if (m_hWnd) Invalidate(FALSE);
}

// ---------------------------------------------------------------------------
// Scrolling

void CTvTextView::HoldUpdates(BOOL hold)
{
    if (hold) {
        ++m_nHoldUpdates;
        return;
    }
    if (m_nHoldUpdates > 0 && --m_nHoldUpdates == 0) {
        m_nMaxLineLength = -1;
        RecalcVertScrollBar();
        RecalcHorzScrollBar();
        if (m_hWnd) {
            Invalidate(FALSE);
            UpdateCaret();
        }
    }
}

void CTvTextView::SetScrollBar(int bar, int& position, BOOL positionOnly, BOOL fits, int maxValue, int page)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    if (positionOnly) {
        si.fMask = SIF_POS;
    } else {
        // Everything fits: the view goes back to its start.
        if (fits && position > 0) {
            position = 0;
            Invalidate(FALSE);
            UpdateCaret();
        }
        si.fMask = SIF_DISABLENOSCROLL | SIF_PAGE | SIF_POS | SIF_RANGE;
        si.nMin = 0;
        si.nMax = std::max(0, maxValue);
        si.nPage = static_cast<UINT>(std::max(0, page));
    }
    si.nPos = position;
    SetScrollInfo(bar, &si);
}

void CTvTextView::RecalcVertScrollBar(BOOL positionOnly)
{
    if (!m_hWnd || m_nHoldUpdates > 0) return;
    const int count = positionOnly ? 0 : GetLineCount();
    const int screenLines = positionOnly ? 0 : GetScreenLines();
    SetScrollBar(SB_VERT, m_nTopLine, positionOnly, screenLines >= count, count - 1, screenLines);
}

void CTvTextView::RecalcHorzScrollBar(BOOL positionOnly)
{
    if (!m_hWnd || m_nHoldUpdates > 0) return;
    const int longest = positionOnly ? 0 : GetMaxLineLength();
    const int screenChars = positionOnly ? 0 : GetScreenChars();
    SetScrollBar(SB_HORZ, m_nOffsetChar, positionOnly, screenChars >= longest, longest, screenChars);
}

void CTvTextView::ScrollToLine(int topLine, BOOL trackScrollBar)
{
    topLine = std::max(0, std::min(topLine, GetLineCount() - 1));
    if (topLine == m_nTopLine) return;
    m_nTopLine = topLine;
    RepaintAll();
    if (trackScrollBar) RecalcVertScrollBar(TRUE);
    SyncSiblingScroll(FALSE);
}

void CTvTextView::ScrollToChar(int offsetChar, BOOL trackScrollBar)
{
    offsetChar = std::max(0, offsetChar);
    if (offsetChar == m_nOffsetChar) return;
    m_nOffsetChar = offsetChar;
    RepaintAll();
    if (trackScrollBar) RecalcHorzScrollBar(TRUE);
    SyncSiblingScroll(TRUE);
}

// Where a scroll-bar request moves the position; INT_MIN for none.
int CTvTextView::ScrollTarget(int bar, UINT code, int position, int page, int last)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(bar, &si);
    switch (code) {
    case SB_TOP: return 0;
    case SB_BOTTOM: return last;
    case SB_LINEUP: return position - 1;
    case SB_LINEDOWN: return position + 1;
    case SB_PAGEUP: return position - std::max(1, page - 1);
    case SB_PAGEDOWN: return position + std::max(1, page - 1);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return si.nTrackPos;
    default: return INT_MIN;
    }
}

void CTvTextView::OnVScroll(UINT code, UINT, CScrollBar*)
{
    const int count = GetLineCount();
    const int page = GetScreenLines();
    const int top = ScrollTarget(SB_VERT, code, m_nTopLine, page, count - page + 1);
    if (top != INT_MIN) ScrollToLine(std::max(0, std::min(top, count - 1)));
}

void CTvTextView::OnHScroll(UINT code, UINT, CScrollBar*)
{
    const int longest = GetMaxLineLength();
    const int page = GetScreenChars();
    const int offset = ScrollTarget(SB_HORZ, code, m_nOffsetChar, page, longest - page + 1);
    if (offset != INT_MIN) ScrollToChar(std::max(0, std::min(offset, longest)));
}

BOOL CTvTextView::OnMouseWheel(UINT, short delta, CPoint)
{
    m_nWheelRest += delta;
    const int notches = m_nWheelRest / WHEEL_DELTA;
    m_nWheelRest -= notches * WHEEL_DELTA;
    const UINT code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < std::abs(notches) * m_nWheelLines; ++i) PostMessage(WM_VSCROLL, code, 0);
    return TRUE;
}

void CTvTextView::SyncSiblingScroll(BOOL horizontal)
{
    // Panes of one container (a splitter-like parent that is not a frame)
    // that show the same buffer follow this one.
    CWnd* parent = GetParent();
    if (!parent || parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return;
    for (HWND child = ::GetWindow(parent->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child == m_hWnd) continue;
        CWnd* wnd = CWnd::FromHandlePermanent(child);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CTvTextView))) {
            auto* sibling = static_cast<CTvTextView*>(wnd);
            if (sibling->m_pTextBuffer == m_pTextBuffer) SyncSiblingView(sibling, horizontal);
        }
    }
}

void CTvTextView::SyncSiblingView(CTvTextView* view, BOOL horizontal)
{
    if (!view || view == this) return;
    if (horizontal) {
        if (view->m_nOffsetChar != m_nOffsetChar) {
            view->m_nOffsetChar = m_nOffsetChar;
            view->RecalcHorzScrollBar(TRUE);
        }
    } else if (view->m_nTopLine != m_nTopLine) {
        view->m_nTopLine = m_nTopLine;
        view->RecalcVertScrollBar(TRUE);
    }
    if (view->m_hWnd) {
        view->Invalidate(FALSE);
        view->UpdateCaret();
    }
}

// ---------------------------------------------------------------------------
// Window

BOOL CTvTextView::PreCreateWindow(CREATESTRUCT& cs)
{
    CWnd* parent = CWnd::FromHandlePermanent(cs.hwndParent);
    if (!parent || parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) cs.style |= WS_HSCROLL | WS_VSCROLL;
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_IBEAM), nullptr);
    return CView::PreCreateWindow(cs);
}

int CTvTextView::OnCreate(LPCREATESTRUCT cs)
{
    if (CView::OnCreate(cs) == -1) return -1;
    const HINSTANCE module = ResourceModuleHandle();
    if (module) {
        m_hAccel = ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_MAINFRAME));
        m_hEditorKeys = ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_EDITOR_KEYS));
    }
    return 0;
}

void CTvTextView::OnDestroy()
{
    if (m_nDragSelTimer) {
        KillTimer(m_nDragSelTimer);
        m_nDragSelTimer = 0;
    }
    DetachFromBuffer();
    DropCaches();
    CView::OnDestroy();
}

BOOL CTvTextView::OnEraseBkgnd(CDC*) { return TRUE; }

void CTvTextView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    delete m_pCacheBitmap;
    m_pCacheBitmap = nullptr;
    m_nScreenLines = m_nScreenChars = -1;
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
}

BOOL CTvTextView::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd) {
        // The editor's own keys act on the view; the program's keys go to
        // the frame, which hands its commands to the active view first and
        // then to itself and the application.
        if (m_hEditorKeys && ::TranslateAcceleratorW(m_hWnd, m_hEditorKeys, msg)) return TRUE;
        CFrameWnd* frame = GetTopLevelFrame();
        if (m_hAccel && ::TranslateAcceleratorW(frame ? frame->m_hWnd : m_hWnd, m_hAccel, msg)) return TRUE;
    }
    return CView::PreTranslateMessage(msg);
}

BOOL CTvTextView::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (hitTest != HTCLIENT) return CView::OnSetCursor(wnd, hitTest, message);
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    HCURSOR cursor = nullptr;
    if (point.x < GetMarginWidth()) {
        if (HINSTANCE module = ResourceModuleHandle())
            cursor = ::LoadCursorW(module, MAKEINTRESOURCEW(IDC_MARGIN));
        if (!cursor) cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    } else if (!m_bDisableDragAndDrop && IsSelection() && IsInsideSelection(ClientToText(point))) {
        cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    } else {
        cursor = ::LoadCursorW(nullptr, IDC_IBEAM);
    }
    ::SetCursor(cursor);
    return TRUE;
}

void CTvTextView::OnSetFocus(CWnd* oldWnd)
{
    CView::OnSetFocus(oldWnd);
    m_bFocused = TRUE;
    if (m_ptDrawSelStart != m_ptDrawSelEnd) InvalidateLines(m_ptDrawSelStart.y, m_ptDrawSelEnd.y);
    UpdateCaret();
}

void CTvTextView::OnKillFocus(CWnd* newWnd)
{
    CView::OnKillFocus(newWnd);
    m_bFocused = FALSE;
    UpdateCaret();
    if (m_ptDrawSelStart != m_ptDrawSelEnd) InvalidateLines(m_ptDrawSelStart.y, m_ptDrawSelEnd.y);
}

void CTvTextView::SetShowInactiveSelection(BOOL show)
{
    m_bShowInactiveSelection = show;
    if (m_hWnd && m_ptDrawSelStart != m_ptDrawSelEnd) InvalidateLines(m_ptDrawSelStart.y, m_ptDrawSelEnd.y);
}

void CTvTextView::UpdateCaret()
{
    if (!m_hWnd || m_nHoldUpdates > 0) return;
    UpdateStatusPanes();
    const bool onScreen =
        m_bFocused && m_ptCursorPos.y >= m_nTopLine && m_ptCursorPos.y <= m_nTopLine + GetScreenLines();
    // Hidden left of the first visible column by the width of the text
    // before the cursor: a Chinese character takes two of the columns the
    // view scrolls by.
    const CPoint point = onScreen ? TextToClient(m_ptCursorPos) : CPoint();
    const bool visible = onScreen && point.x >= GetMarginWidth();
    if (!visible) {
        // The caret this view made goes, whichever window has the focus by
        // now (while the focus moves on, the window taking it already has
        // it); a caret another window has made since stays.
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        if (m_bCaretShown && ::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) && thread.hwndCaret == m_hWnd)
            ::DestroyCaret();
        m_bCaretShown = FALSE;
        return;
    }
    const int fontHeight = GetLineHeight() - m_nLinePitch;
    ::CreateCaret(m_hWnd, nullptr, 1, fontHeight + 4);
    ::SetCaretPos(point.x, point.y + m_nLinePitch - 1);
    ::ShowCaret(m_hWnd);
    m_bCaretShown = TRUE;
}

void CTvTextView::UpdateStatusPanes()
{
    // While updates are held (a replace-all), the caret's update at their
    // release tells the panes once.
    if (!m_hWnd || m_nHoldUpdates > 0) return;
    CFrameWnd* top = GetTopLevelFrame();
    CFrameWnd* frame = top ? top->GetActiveFrame() : nullptr;
    if (!frame || frame->GetActiveView() != this) return;
    if (CWnd* bar = top->GetMessageBar()) bar->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
}

void CTvTextView::RepaintAll()
{
    if (!m_hWnd) return;
    Invalidate(FALSE);
    UpdateCaret();
}

void CTvTextView::InvalidateLines(int first, int last)
{
    if (!m_hWnd || m_nHoldUpdates > 0) return;
    CRect rect;
    GetClientRect(&rect);
    const int height = GetLineHeight();
    if (first < 0) first = 0;
    if (last != -1 && last < first) std::swap(first, last);
    const CRect client = rect;
    rect.top = (first - m_nTopLine) * height;
    if (last != -1) rect.bottom = (last - m_nTopLine + 1) * height;
    rect.IntersectRect(&rect, &client);
    if (!rect.IsRectEmpty()) InvalidateRect(&rect, FALSE);
}

// ---------------------------------------------------------------------------
// Coordinates

void CTvTextView::ExpandTabsForDisplay(const wchar_t* chars, int count, int column, std::wstring& out)
{
    out.clear();
    bool plain = !m_bViewWhitespace;
    for (int i = 0; plain && i < count; ++i)
        if (chars[i] == L'\t') plain = false;
    if (plain) {
        out.assign(chars, static_cast<size_t>(std::max(count, 0)));
        return;
    }
    out.reserve(static_cast<size_t>(count) + 16);
    for (int i = 0; i < count; ++i) {
        const wchar_t c = chars[i];
        if (c == L'\t') {
            const int spaces = m_nTabSize - column % m_nTabSize;
            if (m_bViewWhitespace) {
                out += static_cast<wchar_t>(0xBB);
                out.append(static_cast<size_t>(spaces - 1), L' ');
            } else {
                out.append(static_cast<size_t>(spaces), L' ');
            }
            column += spaces;
        } else {
            out += (c == L' ' && m_bViewWhitespace) ? static_cast<wchar_t>(0x95) : c;
            ++column;
        }
    }
}

int CTvTextView::CalculateActualOffset(int line, int charIndex)
{
    if (line < 0 || line >= GetLineCount()) return 0;
    const wchar_t* chars = LineText(line);
    charIndex = std::min(charIndex, GetLineLength(line));
    int column = 0;
    for (int i = 0; i < charIndex; ++i)
        column += chars[i] == L'\t' ? m_nTabSize - column % m_nTabSize : 1;
    return column;
}

int CTvTextView::ApproxActualOffset(int line, int offset)
{
    if (offset <= 0 || line < 0 || line >= GetLineCount()) return 0;
    const int length = GetLineLength(line);
    const wchar_t* chars = LineText(line);
    int column = 0;
    for (int i = 0; i < length; ++i) {
        column += chars[i] == L'\t' ? m_nTabSize - column % m_nTabSize : 1;
        if (column >= offset) return offset <= column - m_nTabSize / 2 ? i : i + 1;
    }
    return length;
}

CPoint CTvTextView::ClientToText(const CPoint& point)
{
    const int count = GetLineCount();
    CPoint pos;
    pos.y = m_nTopLine + point.y / GetLineHeight();
    if (point.y < 0) pos.y = m_nTopLine + (point.y - GetLineHeight() + 1) / GetLineHeight();
    pos.y = std::max(0, std::min(static_cast<int>(pos.y), count - 1));
    pos.x = 0;
    const int length = GetLineLength(pos.y);
    const int x = point.x + m_nOffsetChar * GetCharWidth() - GetMarginWidth();
    if (x <= 0 || length == 0) return pos;

    std::wstring expanded;
    const wchar_t* chars = LineText(pos.y);
    ExpandTabsForDisplay(chars, length, 0, expanded);
    // Where each character ends on the screen: the cells it is drawn in.
    std::vector<int> ends(expanded.size());
    const int charWidth = GetCharWidth();
    int cells = 0;
    for (size_t k = 0; k < expanded.size(); ++k) {
        cells += IsWideChar(expanded[k]) ? 2 : 1;
        ends[k] = cells * charWidth;
    }
    int column = 0;
    size_t index = 0; // index into the expanded text
    int left = 0;
    for (int i = 0; i < length; ++i) {
        const int width = chars[i] == L'\t' ? m_nTabSize - column % m_nTabSize : 1;
        index += static_cast<size_t>(width);
        column += width;
        const int right = ends[index - 1];
        if (right >= x) {
            pos.x = (x - left < right - x) ? i : i + 1;
            return pos;
        }
        left = right;
    }
    pos.x = length;
    return pos;
}

CPoint CTvTextView::TextToClient(const CPoint& point)
{
    CPoint pos;
    pos.y = (point.y - m_nTopLine) * GetLineHeight();
    int width = 0;
    if (point.y >= 0 && point.y < GetLineCount() && point.x > 0) {
        std::wstring expanded;
        ExpandTabsForDisplay(LineText(point.y), std::min(static_cast<int>(point.x), GetLineLength(point.y)), 0,
                             expanded);
        width = TextWidth(expanded.data(), static_cast<int>(expanded.size()));
    }
    pos.x = width + GetMarginWidth() - m_nOffsetChar * GetCharWidth();
    return pos;
}

// ---------------------------------------------------------------------------
// Status panes

void CTvTextView::OnUpdateIndicatorEncoding(CCmdUI* ui)
{
    if (!m_pTextBuffer) {
        ui->Enable(FALSE);
        ui->SetText(L"");
        return;
    }
    ui->Enable(TRUE);
    static const wchar_t* const names[] = {L"ASCII", L"UTF-8", L"Unicode"};
    const WORD encoding = m_pTextBuffer->GetEncoding();
    ui->SetText(encoding <= TVE_UTF16 ? names[encoding] : L"");
}

void CTvTextView::OnUpdateIndicatorPosition(CCmdUI* ui)
{
    CString text;
    if (m_ptSelStart.y != m_ptSelEnd.y)
        text.Format(L"行: %d, 列: %d, 选中%d行", m_ptCursorPos.y + 1, m_ptCursorPos.x + 1,
                    std::abs(static_cast<int>(m_ptSelEnd.y - m_ptSelStart.y)));
    else
        text.Format(L"行: %d,     列: %d", m_ptCursorPos.y + 1, m_ptCursorPos.x + 1);
    ui->Enable(TRUE);
    ui->SetText(text);
}
