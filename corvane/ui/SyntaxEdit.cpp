#include "corvane/ui/SyntaxEdit.h"

namespace {

const wchar_t* const kFontFace = L"宋体";
const int kFontPoints = 90; // tenths of a point

bool IsSurrogatePair(const CString& text, int i)
{
    return i + 1 < text.GetLength() && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1]);
}

} // namespace

BEGIN_MESSAGE_MAP(tkxSyntaxEdit, CEdit)
    ON_WM_PAINT()
    ON_WM_KILLFOCUS()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

tkxSyntaxEdit::tkxSyntaxEdit()
    : m_chAssign(L'='), m_chDelimiter1(L','), m_chDelimiter2(L'$'), m_clrAssign(RGB(250, 50, 50)),
      m_clrDelimiter(RGB(250, 50, 50)), m_clrField1(RGB(50, 150, 50)), m_clrField2(RGB(50, 50, 150))
{
}

tkxSyntaxEdit::~tkxSyntaxEdit() = default;

void tkxSyntaxEdit::OnPaint()
{
    CPaintDC dc(this);

    COLORREF background = ::GetSysColor(COLOR_WINDOW);
    COLORREF assign = m_clrAssign, delimiter = m_clrDelimiter, field1 = m_clrField1, field2 = m_clrField2;
    const bool readOnly = (GetStyle() & ES_READONLY) != 0;
    if (readOnly || !IsWindowEnabled()) {
        background = ::GetSysColor(COLOR_BTNFACE);
        assign = delimiter = field1 = field2 = ::GetSysColor(readOnly ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    }

    CRect window;
    GetWindowRect(&window);
    const CRect area(0, 0, window.Width() - 4, window.Height() - 4);
    dc.FillSolidRect(&area, background);

    CFont font;
    font.CreatePointFont(kFontPoints, kFontFace, &dc);
    HGDIOBJ oldFont = font.GetSafeHandle() ? dc.SelectObject(font.GetSafeHandle()) : nullptr;
    dc.SetBkMode(TRANSPARENT);

    const CString text = GetWindowText();
    bool secondField = false;  // the field parity, flipped by each delimiter run
    bool inDelimiters = false; // the previous field character was a delimiter
    int x = 1;
    for (int i = 0; i < text.GetLength();) {
        const wchar_t ch = text[i];
        const int units = IsSurrogatePair(text, i) ? 2 : 1;
        COLORREF color;
        if (ch == m_chAssign) {
            color = assign;
        } else if (ch == m_chDelimiter1 || ch == m_chDelimiter2) {
            color = delimiter;
            if (!inDelimiters) secondField = !secondField;
            inDelimiters = true;
        } else {
            color = secondField ? field2 : field1;
            inDelimiters = false;
        }
        dc.SetTextColor(color);
        dc.TextOut(x, 1, text.GetString() + i, units);
        x += dc.GetTextExtent(text.GetString() + i, units).cx;
        i += units;
        if (x > area.Width() - 4) break;
    }

    if (oldFont) dc.SelectObject(oldFont);
}

void tkxSyntaxEdit::OnKillFocus(CWnd*)
{
    Default();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void tkxSyntaxEdit::OnEnable(BOOL)
{
    Default();
    // The control's own handling only marks it for painting; show the new
    // colours at once.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
