#include "brisko/shell/MdiMainClient.h"
#include "brisko/shell/BriskoApp.h"

BEGIN_MESSAGE_MAP(CMdiMainClient, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const COLORREF kBackground = RGB(128, 128, 128);
const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

HFONT MakeFont(int height, const wchar_t* face)
{
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, face);
}

// Draws the text three times for an embossed look: black; white after the
// left edge moved left by `whiteShift`; the button face after it moved
// right again by a fifth of the average character width.
void DrawEmbossed(CDC* dc, const CString& text, CRect rect, int averageWidth, int whiteShift)
{
    dc->SetTextColor(RGB(0, 0, 0));
    dc->DrawText(text, &rect, kTextFormat);
    rect.left -= whiteShift;
    dc->SetTextColor(RGB(255, 255, 255));
    dc->DrawText(text, &rect, kTextFormat);
    rect.left += averageWidth / 5;
    dc->SetTextColor(::GetSysColor(COLOR_BTNFACE));
    dc->DrawText(text, &rect, kTextFormat);
}

} // namespace

CString CMdiMainClient::NameText() { return L"TAVIX项目数据环境.Qormel科技"; }

CString CMdiMainClient::VersionText(const CString& version)
{
    return ClFormat(L"TAVIX 项目数据环境: %s", version.GetString());
}

BOOL CMdiMainClient::OnEraseBkgnd(CDC* dc)
{
    CRect clip;
    dc->GetClipBox(&clip);
    clip.NormalizeRect();
    if (clip.IsRectEmpty()) return TRUE;

    HBRUSH brush = ::CreateSolidBrush(kBackground);
    ::FillRect(dc->GetSafeHdc(), &clip, brush);

    CRect client;
    GetClientRect(&client);
    HFONT nameFont = MakeFont(22, L"楷体_GB2312");
    HFONT versionFont = MakeFont(18, L"Times New Roman");
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc->GetTextColor();

    // Each text is placed with the metrics of the font selected before its
    // own, and measured in its own font.
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc->GetSafeHdc(), &metrics);
    HGDIOBJ oldFont = ::SelectObject(dc->GetSafeHdc(), nameFont);
    const CString name = NameText();
    CSize extent = dc->GetTextExtent(name);
    CRect rect(client.right - extent.cx - metrics.tmAveCharWidth / 2,
               client.bottom - 3 * extent.cy - metrics.tmHeight / 5, client.right, client.bottom);
    DrawEmbossed(dc, name, rect, metrics.tmAveCharWidth, 3 * metrics.tmAveCharWidth / 5);

    ::GetTextMetricsW(dc->GetSafeHdc(), &metrics);
    ::SelectObject(dc->GetSafeHdc(), versionFont);
    const CString version = VersionText(theApp.m_SVersion);
    extent = dc->GetTextExtent(version);
    rect = CRect(client.right - extent.cx - metrics.tmAveCharWidth / 2,
                 client.bottom - extent.cy - metrics.tmHeight / 5, client.right, client.bottom);
    DrawEmbossed(dc, version, rect, metrics.tmAveCharWidth, metrics.tmAveCharWidth / 2);

    ::SelectObject(dc->GetSafeHdc(), oldFont);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
    ::DeleteObject(nameFont);
    ::DeleteObject(versionFont);
    ::DeleteObject(brush);
    return TRUE;
}

void CMdiMainClient::OnSize(UINT, int cx, int cy)
{
    Default();
    if (m_bSized && cx == m_nLastWidth && cy == m_nLastHeight) return;
    const bool first = !m_bSized;
    m_bSized = true;
    m_nLastWidth = cx;
    m_nLastHeight = cy;
    if (!first) RedrawWindow(nullptr, nullptr, RDW_ERASENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}
