#include "ToolBar.h"
#include "Controls.h"
#include <vector>

namespace {

class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override
    {
        m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(check == 1, 0));
        m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(check == 2, 0));
    }
    void SetText(const wchar_t*) override {}
};

} // namespace

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id)
{
    AfxInitCommonControls();
    m_dwStyle = style & CBRS_ALL;
    m_cxLeftBorder = borders.left;
    m_cyTopBorder = borders.top;
    m_cxRightBorder = borders.right;
    m_cyBottomBorder = borders.bottom;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | ctrlStyle | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN |
                        CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

BOOL CToolBar::LoadBitmap(UINT id, HINSTANCE caller)
{
    const wchar_t* name = MAKEINTRESOURCEW(id);
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP, caller);
    if (!module) return FALSE;
    HBITMAP bitmap = ::LoadBitmapW(module, name);
    if (!bitmap) return FALSE;
    BITMAP bm{};
    ::GetObjectW(bitmap, sizeof(bm), &bm);
    ::DeleteObject(bitmap);
    TBADDBITMAP add{module, id};
    int count = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;
    return SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add)) != -1;
}

BOOL CToolBar::LoadToolBar(UINT id, HINSTANCE caller)
{
    const wchar_t* name = MAKEINTRESOURCEW(id);
    const wchar_t* type = MAKEINTRESOURCEW(241); // tool-bar resource
    HINSTANCE module = AfxFindResourceHandle(name, type, caller);
    if (!module) return FALSE;
    HRSRC resource = ::FindResourceW(module, name, type);
    HGLOBAL handle = resource ? ::LoadResource(module, resource) : nullptr;
    auto* data = static_cast<const WORD*>(handle ? ::LockResource(handle) : nullptr);
    if (!data || data[0] != 1) return FALSE;
    int width = data[1], height = data[2], count = data[3];
    std::vector<UINT> ids(data + 4, data + 4 + count);
    SetSizes(CSize(width + 7, height + 7), CSize(width, height));
    TBADDBITMAP add{module, id};
    HBITMAP bitmap = ::LoadBitmapW(module, name);
    if (!bitmap) return FALSE;
    BITMAP bm{};
    ::GetObjectW(bitmap, sizeof(bm), &bm);
    ::DeleteObject(bitmap);
    SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(bm.bmWidth / width), reinterpret_cast<LPARAM>(&add));
    return SetButtons(ids.data(), count);
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    while (SendMessage(TB_BUTTONCOUNT, 0, 0) > 0) SendMessage(TB_DELETEBUTTON, 0, 0);
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(ids ? ids[i] : 0);
        if (button.idCommand == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = 8;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = image++;
        }
        if (!SendMessage(TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button))) return FALSE;
    }
    return TRUE;
}

int CToolBar::GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT, 0, 0)); }

int CToolBar::CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id, 0)); }

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return button.fsStyle & TBSTYLE_SEP ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect));
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button{};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_STATE | TBIF_BYINDEX;
    info.fsStyle = LOBYTE(LOWORD(style));
    info.fsState = LOBYTE(HIWORD(style));
    SendMessage(TB_SETBUTTONINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
}

UINT CToolBar::CommandAtPoint(CPoint point) const
{
    POINT p = point;
    int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p)));
    if (index < 0 || index >= GetButtonCount()) return 0;
    return GetItemID(index);
}

void CToolBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (CommandAtPoint(point))
        Default(); // the control presses the button
    else
        CControlBar::OnLButtonDown(flags, point);
}

void CToolBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (CommandAtPoint(point))
        Default();
    else
        CControlBar::OnLButtonDblClk(flags, point);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    int count = GetButtonCount();
    int length = 0, thickness = horz ? m_sizeButton.cy : m_sizeButton.cx;
    for (int i = 0; i < count; ++i) {
        CRect item;
        GetItemRect(i, &item);
        length += horz ? item.Width() : item.Height();
    }
    CRect inside;
    CalcInsideRect(inside, horz);
    CSize size = horz ? CSize(length - inside.Width(), thickness - inside.Height())
                      : CSize(thickness - inside.Width(), length - inside.Height());
    if (stretch && horz) size.cx = 32767;
    if (stretch && !horz) size.cy = 32767;
    return size;
}

CSize CToolBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & (LM_HORZ | LM_HORZDOCK)) != 0);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetButtonCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID != ID_SEPARATOR) state.DoUpdate(target, disableIfNoHandler);
    }
    UpdateDialogControls(target, disableIfNoHandler);
}
