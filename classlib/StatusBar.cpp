#include "StatusBar.h"
#include "Controls.h"
#include <algorithm>
#include <vector>

namespace {

class CStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT id, style;
        int width;
        bar->GetPaneInfo(static_cast<int>(m_nIndex), id, style, width);
        UINT updated = on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (updated != style) bar->SetPaneInfo(static_cast<int>(m_nIndex), id, updated, width);
    }
    void SetCheck(int check) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        UINT id, style;
        int width;
        bar->GetPaneInfo(static_cast<int>(m_nIndex), id, style, width);
        UINT updated = check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
        if (updated != style) bar->SetPaneInfo(static_cast<int>(m_nIndex), id, updated, width);
    }
    void SetText(const wchar_t* text) override
    {
        auto* bar = static_cast<CStatusBar*>(m_pOther);
        if (bar->GetPaneText(static_cast<int>(m_nIndex)) != text) bar->SetPaneText(static_cast<int>(m_nIndex), text);
    }
};

} // namespace

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    AfxInitCommonControls();
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    return CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.clear();
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
    for (int i = 0; i < count; ++i) {
        Pane pane{ids ? ids[i] : 0, i == 0 ? static_cast<UINT>(SBPS_STRETCH) : SBPS_NORMAL, 0, CString()};
        if (pane.id != ID_SEPARATOR) pane.text.LoadString(pane.id);
        pane.width = pane.least = dc.GetTextExtent(pane.text).cx + 10;
        m_panes.push_back(pane);
    }
    ::SelectObject(dc, old);
    UpdateParts();
    return TRUE;
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_panes.empty()) return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& pane : m_panes)
        if (!(pane.style & SBPS_STRETCH)) fixed += pane.width;
    std::vector<int> rights;
    int x = 0;
    for (const Pane& pane : m_panes) {
        x += (pane.style & SBPS_STRETCH) ? std::max(0, static_cast<int>(client.Width()) - fixed) : pane.width;
        rights.push_back(x);
    }
    SendMessage(SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    for (size_t i = 0; i < m_panes.size(); ++i) {
        const Pane& pane = m_panes[i];
        const wchar_t* text = (pane.style & SBPS_DISABLED) ? L"" : static_cast<const wchar_t*>(pane.text);
        SendMessage(SB_SETTEXTW, i | (pane.style & (SBT_NOBORDERS | SBT_POPOUT)), reinterpret_cast<LPARAM>(text));
    }
}

BOOL CStatusBar::SetPaneText(int index, const wchar_t* text, BOOL update)
{
    if (index < 0 || index >= GetPaneCount()) return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    const bool changed = pane.text != (text ? text : L"");
    pane.text = text ? text : L"";
    if (changed && !(pane.style & SBPS_STRETCH) && m_hWnd) {
        // A pane of its own width grows to hold its text (up to half the
        // bar) and shrinks back, never below the width it was given.
        CClientDC dc(this);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
        const int needed = dc.GetTextExtent(pane.text).cx + 16; // borders and margins
        ::SelectObject(dc, old);
        CRect client;
        GetClientRect(&client);
        const int width = std::max(pane.least, std::min(needed, static_cast<int>(client.Width()) / 2));
        if (width != pane.width) {
            pane.width = width;
            UpdateParts();
            return TRUE;
        }
    }
    if (update) {
        const wchar_t* shown = (pane.style & SBPS_DISABLED) ? L"" : static_cast<const wchar_t*>(pane.text);
        SendMessage(SB_SETTEXTW, static_cast<WPARAM>(index) | (pane.style & (SBT_NOBORDERS | SBT_POPOUT)),
                    reinterpret_cast<LPARAM>(shown));
    }
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || index >= GetPaneCount()) return CString();
    return m_panes[static_cast<size_t>(index)].text;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= GetPaneCount()) return;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = pane.least = width;
    UpdateParts();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane& pane = m_panes.at(static_cast<size_t>(index));
    id = pane.id;
    style = pane.style;
    width = pane.least; // as given; GetItemRect tells the width shown

}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id) return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < GetPaneCount() ? m_panes[static_cast<size_t>(index)].id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    SendMessage(SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL)
{
    TEXTMETRICW tm{};
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
    dc.GetTextMetrics(&tm);
    ::SelectObject(dc, old);
    int width = 0;
    for (const Pane& pane : m_panes) width += pane.width;
    return CSize(stretch ? 32767 : width, tm.tmHeight + 8);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].id;
        if (state.m_nID != ID_SEPARATOR) state.DoUpdate(target, disableIfNoHandler);
    }
}

void CStatusBar::OnSize(UINT, int, int)
{
    Default();
    UpdateParts();
}
