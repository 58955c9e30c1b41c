// Painting the text view: a line at a time into an off-screen bitmap, the
// line coloured by its parser's blocks, the margin with icons or numbers.
#include "brisko/editor/TvTextView.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include <algorithm>
#include <vector>
#include <climits>

namespace {

// The line flags that have a margin icon, in the order of the images.
const DWORD kIconFlags[15] = {
    LF_GREEN_LINE,   LF_RED_LINE,     LF_MARGIN_ICON,  LF_BOOKMARK(1), LF_BOOKMARK(2),
    LF_BOOKMARK(3),  LF_BOOKMARK(4),  LF_BOOKMARK(5),  LF_BOOKMARK(6), LF_BOOKMARK(7),
    LF_BOOKMARK(8),  LF_BOOKMARK(9),  LF_BOOKMARK(0),  LF_MARK,        LF_OLIVE_LINE,
};

// Runs are drawn in pieces of at most this many characters.
const int kDrawPiece = 4096;

} // namespace

COLORREF CTvTextView::GetColor(int index)
{
    if ((index == COLORINDEX_WHITESPACE || index == COLORINDEX_BKGND) && m_pTextBuffer &&
        m_pTextBuffer->GetReadOnly())
        index = COLORINDEX_READONLYBKGND;
    const COLORREF* colors = theApp.m_Colors;
    switch (index) {
    case COLORINDEX_WHITESPACE:
    case COLORINDEX_BKGND: return colors[0];
    case COLORINDEX_NORMALTEXT: return colors[1];
    case COLORINDEX_SELMARGIN: return colors[2];
    case COLORINDEX_SELBKGND: return colors[7];
    case COLORINDEX_SELTEXT: return colors[8];
    case COLORINDEX_KEYWORD: return colors[6];
    case COLORINDEX_COMMENT: return colors[3];
    case COLORINDEX_NUMBER: return colors[4];
    case COLORINDEX_OPERATOR: return colors[5];
    case COLORINDEX_STRING: return colors[10];
    case COLORINDEX_PREPROCESSOR: return colors[11];
    case COLORINDEX_READONLYBKGND: return colors[9];
    default: return RGB(255, 0, 0);
    }
}

void CTvTextView::GetFlaggedLineColours(int line, COLORREF& background, COLORREF& text, BOOL& own)
{
    background = text = static_cast<COLORREF>(-1);
    own = FALSE;
    const DWORD flags = LineFlags(line);
    if (flags & LF_GREEN_LINE) {
        background = RGB(0, 128, 0);
        text = RGB(255, 255, 255);
        own = TRUE;
    } else if (flags & LF_RED_LINE) {
        background = RGB(255, 0, 0);
        text = RGB(255, 255, 255);
        own = TRUE;
    } else if (flags & LF_OLIVE_LINE) {
        background = RGB(128, 128, 0);
        text = RGB(255, 255, 255);
        own = TRUE;
    }
}

BOOL CTvTextView::IsColourItalic(int) { return m_bItalic; }

BOOL CTvTextView::IsColourBold(int) { return m_bBold; }

DWORD CTvTextView::ParseLine(DWORD, int, TEXTBLOCK*, int&) { return 0; }

void CTvTextView::DefineBlock(TEXTBLOCK* blocks, int& count, int position, int colorIndex)
{
    if (!blocks || count < 0 || count >= m_nParseBlockRoom) return;
    if (count > 0 && position < blocks[count - 1].m_nCharPos) return;
    blocks[count].m_nCharPos = position;
    blocks[count].m_nColorIndex = colorIndex;
    ++count;
}

DWORD CTvTextView::GetParseCookie(int line)
{
    if (line < 0) return 0;
    const int count = GetLineCount();
    line = std::min(line, count - 1);
    if (static_cast<int>(m_aParseCookies.size()) < count) m_aParseCookies.resize(static_cast<size_t>(count), 0);
    while (m_nValidCookies <= line) {
        const int current = m_nValidCookies;
        const DWORD previous = current > 0 ? m_aParseCookies[static_cast<size_t>(current - 1)] : 0;
        int blocks = 0;
        m_nParseBlockRoom = 0;
        m_aParseCookies[static_cast<size_t>(current)] = ParseLine(previous, current, nullptr, blocks);
        ++m_nValidCookies;
    }
    return m_aParseCookies[static_cast<size_t>(line)];
}

DWORD CTvTextView::ParseLineBlocks(int line, std::vector<TEXTBLOCK>& blocks)
{
    const int length = GetLineLength(line);
    const DWORD cookie = GetParseCookie(line - 1);
    blocks.assign(static_cast<size_t>(length) * 3, TEXTBLOCK{0, 0});
    int count = 0;
    m_nParseBlockRoom = static_cast<int>(blocks.size());
    const DWORD end = ParseLine(cookie, line, blocks.data(), count);
    m_nParseBlockRoom = 0;
    // Blocks in order and inside the line; the rest is dropped.
    count = std::max(0, std::min(count, static_cast<int>(blocks.size())));
    int kept = 0;
    for (int k = 0; k < count; ++k) {
        const int position = std::max(0, std::min(blocks[static_cast<size_t>(k)].m_nCharPos, length));
        if (kept > 0 && position < blocks[static_cast<size_t>(kept - 1)].m_nCharPos) continue;
        blocks[static_cast<size_t>(kept)].m_nCharPos = position;
        blocks[static_cast<size_t>(kept)].m_nColorIndex = blocks[static_cast<size_t>(k)].m_nColorIndex;
        ++kept;
    }
    blocks.resize(static_cast<size_t>(kept));
    if (line < static_cast<int>(m_aParseCookies.size())) {
        m_aParseCookies[static_cast<size_t>(line)] = end;
        if (m_nValidCookies == line) ++m_nValidCookies;
    }
    return end;
}

void CTvTextView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty()) return;
    const int lineHeight = GetLineHeight();
    const int count = GetLineCount();
    const int margin = GetMarginWidth();

    CDC cache;
    if (!cache.CreateCompatibleDC(dc)) return;
    if (m_pCacheBitmap) {
        BITMAP bm{};
        if (!m_pCacheBitmap->GetBitmap(&bm) || bm.bmWidth != client.Width() || bm.bmHeight != lineHeight) {
            delete m_pCacheBitmap;
            m_pCacheBitmap = nullptr;
        }
    }
    if (!m_pCacheBitmap) {
        m_pCacheBitmap = new CBitmap;
        if (!m_pCacheBitmap->CreateCompatibleBitmap(dc, client.Width(), lineHeight)) {
            delete m_pCacheBitmap;
            m_pCacheBitmap = nullptr;
            return;
        }
    }
    const HGDIOBJ oldBitmap = cache.SelectObject(static_cast<HGDIOBJ>(m_pCacheBitmap->m_hObject));
    CRect clip;
    if (dc->GetClipBox(&clip) == NULLREGION || clip.IsRectEmpty()) clip = client;

    const CRect marginRect(0, 0, margin, lineHeight);
    const CRect textRect(margin, 0, client.Width(), lineHeight);
    CRect row(client.left, client.top, client.right, client.top + lineHeight);
    for (int line = m_nTopLine; row.top < client.bottom; ++line, row.OffsetRect(0, lineHeight)) {
        if (row.bottom <= clip.top || row.top >= clip.bottom) continue;
        const int painted = line < count ? line : -1;
        PaintMarginCell(&cache, marginRect, painted);
        PaintLine(&cache, textRect, painted);
        dc->BitBlt(row.left, row.top, row.Width(), lineHeight, &cache, 0, 0, SRCCOPY);
    }
    cache.SelectObject(oldBitmap);
}

void CTvTextView::PaintMarginCell(CDC* dc, const CRect& rect, int line)
{
    if (!m_bSelMargin) {
        dc->FillSolidRect(&rect, GetColor(COLORINDEX_BKGND));
        return;
    }
    dc->FillSolidRect(&rect, GetColor(COLORINDEX_SELMARGIN));
    if (line < 0) return;
    const DWORD flags = LineFlags(line);
    int image = -1;
    for (int i = 0; i < 15 && image < 0; ++i)
        if (flags & kIconFlags[i]) image = i;
    const int cellTop = rect.top + (rect.Height() - 16) / 2;
    if (image >= 0) {
        if (!m_pIcons) {
            m_pIcons = new CImageList;
            if (!m_pIcons->Create(IDB_LINE_FLAGS, 16, 1, RGB(255, 0, 255), ResourceModuleHandle())) {
                delete m_pIcons;
                m_pIcons = nullptr;
            }
        }
        if (m_pIcons) m_pIcons->Draw(dc, image, CPoint(rect.left + 2, cellTop), ILD_TRANSPARENT);
        return;
    }
    if (!m_pMarginFont || m_nMarginFontWidth != m_nMarginWidth) {
        delete m_pMarginFont;
        m_pMarginFont = new CFont;
        m_pMarginFont->CreatePointFont(std::min(100, static_cast<int>(m_nMarginWidth * 2.78)), L"Courier New");
        m_nMarginFontWidth = m_nMarginWidth;
    }
    CString number;
    number.Format(L"%d", line + 1);
    const HGDIOBJ oldFont = dc->SelectObject(static_cast<HGDIOBJ>(m_pMarginFont->m_hObject));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->SetTextColor(RGB(0, 80, 0));
    CRect cell(rect.left + 2, cellTop, rect.right, cellTop + 16);
    dc->DrawText(number, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}

void CTvTextView::PaintLine(CDC* dc, const CRect& rect, int line)
{
    const int charWidth = GetCharWidth();
    dc->FillSolidRect(&rect, GetColor(COLORINDEX_WHITESPACE));
    if (line >= 0) {
        COLORREF ownBack, ownText;
        BOOL own = FALSE;
        GetFlaggedLineColours(line, ownBack, ownText, own);
        const bool ownBackground = own && ownBack != static_cast<COLORREF>(-1);
        const BOOL ownTextColour = own && ownText != static_cast<COLORREF>(-1);
        dc->SetBkMode(OPAQUE);
        dc->SetBkColor(ownBackground ? ownBack : GetColor(COLORINDEX_BKGND));
        if (ownTextColour) dc->SetTextColor(ownText);
        const HGDIOBJ oldFont = dc->SelectObject(static_cast<HGDIOBJ>(GetFont(m_bItalic, m_bBold)->m_hObject));

        const int length = GetLineLength(line);
        CPoint origin(rect.left - m_nOffsetChar * charWidth, rect.top + (m_nLinePitch > 0 ? m_nLinePitch - 1 : 0));
        if (length > 0) {
            std::vector<TEXTBLOCK> blocks;
            ParseLineBlocks(line, blocks);
            const wchar_t* chars = LineText(line);
            int column = 0;
            if (blocks.empty()) {
                DrawLineRun(dc, origin, rect, COLORINDEX_NORMALTEXT, ownTextColour, chars, 0, length, line, column);
            } else {
                if (blocks[0].m_nCharPos > 0)
                    DrawLineRun(dc, origin, rect, COLORINDEX_NORMALTEXT, ownTextColour, chars, 0,
                                blocks[0].m_nCharPos, line, column);
                for (size_t k = 0; k < blocks.size(); ++k) {
                    const int from = blocks[k].m_nCharPos;
                    const int to = k + 1 < blocks.size() ? blocks[k + 1].m_nCharPos : length;
                    DrawLineRun(dc, origin, rect, blocks[k].m_nColorIndex, ownTextColour, chars, from, to - from,
                                line, column);
                }
            }
        }
        int x = std::max(static_cast<int>(origin.x), static_cast<int>(rect.left));
        if ((m_bFocused || m_bShowInactiveSelection) && IsInsideSelection(CPoint(length, line)) && origin.x < rect.right) {
            const int right = static_cast<int>(origin.x) + charWidth;
            if (right > x) dc->FillSolidRect(x, rect.top, right - x, rect.Height(), GetColor(COLORINDEX_SELBKGND));
            x = std::max(x, right);
        }
        if (x < rect.right)
            dc->FillSolidRect(x, rect.top, rect.right - x, rect.Height(),
                              ownBackground ? ownBack : GetColor(COLORINDEX_WHITESPACE));
        dc->SelectObject(oldFont);
    }
    if (theApp.m_bShowGrid) {
        CPen pen(PS_SOLID, 1, RGB(220, 220, 220));
        const HGDIOBJ oldPen = dc->SelectObject(static_cast<HGDIOBJ>(pen.m_hObject));
        dc->MoveTo(rect.left, rect.bottom - 1);
        dc->LineTo(rect.right, rect.bottom - 1);
        dc->SelectObject(oldPen);
    }
}

void CTvTextView::DrawLineRun(CDC* dc, CPoint& origin, const CRect& clip, int colorIndex, BOOL ownTextColour,
                              const wchar_t* chars, int offset, int count, int line, int& column)
{
    if (count <= 0) return;
    dc->SelectObject(static_cast<HGDIOBJ>(GetFont(IsColourItalic(colorIndex), IsColourBold(colorIndex))->m_hObject));
    if (!ownTextColour) dc->SetTextColor(GetColor(colorIndex));

    // The part of the run inside the shown selection.
    int selFrom = INT_MAX, selTo = INT_MIN;
    if ((m_bFocused || m_bShowInactiveSelection) && m_ptDrawSelStart != m_ptDrawSelEnd &&
        m_ptDrawSelStart.y <= line && m_ptDrawSelEnd.y >= line) {
        selFrom = m_ptDrawSelStart.y < line ? 0 : m_ptDrawSelStart.x;
        selTo = m_ptDrawSelEnd.y > line ? INT_MAX : m_ptDrawSelEnd.x;
    }
    const int end = offset + count;
    const int a = std::max(offset, selFrom);
    const int b = std::min(end, selTo);
    if (a >= b) {
        DrawRunPiece(dc, origin, clip, chars, offset, count, column);
        return;
    }
    DrawRunPiece(dc, origin, clip, chars, offset, a - offset, column);
    const COLORREF oldBack = dc->SetBkColor(GetColor(COLORINDEX_SELBKGND));
    const COLORREF oldText = dc->SetTextColor(GetColor(COLORINDEX_SELTEXT));
    DrawRunPiece(dc, origin, clip, chars, a, b - a, column);
    dc->SetBkColor(oldBack);
    dc->SetTextColor(oldText);
    DrawRunPiece(dc, origin, clip, chars, b, end - b, column);
}

void CTvTextView::DrawRunPiece(CDC* dc, CPoint& origin, const CRect& clip, const wchar_t* chars, int offset,
                               int count, int& column)
{
    if (count <= 0 || origin.x >= clip.right) return;
    std::wstring expanded;
    ExpandTabsForDisplay(chars + offset, count, column, expanded);
    column += static_cast<int>(expanded.size());
    // Every character at the start of its cell, as the caret and the
    // selection place it.
    const int charWidth = GetCharWidth();
    std::vector<int> advances;
    for (size_t done = 0; done < expanded.size() && origin.x < clip.right;) {
        const int piece = static_cast<int>(std::min<size_t>(expanded.size() - done, kDrawPiece));
        advances.resize(static_cast<size_t>(piece));
        int width = 0;
        for (int k = 0; k < piece; ++k) {
            advances[static_cast<size_t>(k)] = IsWideChar(expanded[done + static_cast<size_t>(k)]) ? 2 * charWidth
                                                                                                 : charWidth;
            width += advances[static_cast<size_t>(k)];
        }
        if (origin.x + width > clip.left)
            dc->ExtTextOut(origin.x, origin.y, ETO_CLIPPED, &clip, expanded.data() + done, static_cast<UINT>(piece),
                           advances.data());
        origin.x += width;
        done += static_cast<size_t>(piece);
    }
}
