#include "grid_test_support.h"
#include <cstring>

namespace {

::testing::Environment* const g_world =
    ::testing::AddGlobalTestEnvironment(new test_support::ScratchHive(L"grid"));

std::string Cell(const char* what, int row, int col)
{
    return std::string(what) + " " + std::to_string(row) + "," + std::to_string(col);
}

} // namespace

namespace gridtest {

BEGIN_MESSAGE_MAP(GridHost, CWnd)
    ON_MESSAGE(WM_GRID_CELLCHANGED, OnCellChanged)
    ON_MESSAGE(WM_GRID_BEGINEDIT, OnBeginEdit)
    ON_MESSAGE(WM_GRID_COMBOCREATED, OnComboCreated)
    ON_MESSAGE(WM_GRID_COMBOCHANGE, OnComboChange)
END_MESSAGE_MAP()

BOOL GridHost::Make(CWnd* parent, CRect rect)
{
    return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), L"host",
                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, 600);
}

std::vector<std::string> GridHost::Events(const char* prefix) const
{
    std::vector<std::string> found;
    for (const auto& e : events)
        if (e.compare(0, std::strlen(prefix), prefix) == 0) found.push_back(e);
    return found;
}

BOOL GridHost::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const auto* nm = reinterpret_cast<const NM_GRIDVIEW*>(lParam);
    const char* what = nullptr;
    switch (static_cast<int>(nm->hdr.code)) {
    case GVN_FOCUSCHANGED: what = "focus"; break;
    case GVN_FOCUSLEAVING: what = "leave"; break;
    case GVN_BEGINLABELEDIT: what = "beginedit"; break;
    case GVN_ENDLABELEDIT: what = "endedit"; break;
    case GVN_BEGINDRAG: what = "begindrag"; break;
    default: return FALSE;
    }
    events.push_back(Cell(what, nm->iRow, nm->iColumn));
    *result = 0;
    return TRUE;
}

BOOL GridHost::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        events.push_back("command " + std::to_string(LOWORD(wParam)));
    else
        events.push_back("click");
    return TRUE;
}

LRESULT GridHost::OnCellChanged(WPARAM, LPARAM lParam)
{
    events.push_back(Cell("changed", static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

LRESULT GridHost::OnBeginEdit(WPARAM, LPARAM lParam)
{
    events.push_back(Cell("editbox", static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
}

LRESULT GridHost::OnComboCreated(WPARAM, LPARAM lParam)
{
    const auto* info = reinterpret_cast<const sGridComboInfo*>(lParam);
    events.push_back("combo " + std::to_string(info->nIndex) + " '" + Str(info->text) + "'");
    return 0;
}

LRESULT GridHost::OnComboChange(WPARAM, LPARAM lParam)
{
    const auto* info = reinterpret_cast<const sGridComboInfo*>(lParam);
    events.push_back("combochange " + std::to_string(info->nIndex) + " '" + Str(info->text) + "'");
    return 0;
}

CFrameWnd* SharedFrame()
{
    static wintest::TestFrame* frame = new wintest::TestFrame(true, CRect(20, 20, 760, 560), L"表格测试");
    return frame;
}

HeldKeys::HeldKeys(std::initializer_list<int> keys)
{
    ::GetKeyboardState(m_saved);
    BYTE state[256];
    std::memcpy(state, m_saved, sizeof(state));
    for (int key : keys) state[key] |= 0x80;
    ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { ::SetKeyboardState(m_saved); }

void Key(HWND wnd, UINT vk)
{
    ::SendMessageW(wnd, WM_KEYDOWN, vk, 1);
    ::SendMessageW(wnd, WM_KEYUP, vk, 0xC0000001);
}

void Key(CWnd* wnd, UINT vk) { Key(wnd->m_hWnd, vk); }

void Type(HWND wnd, const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p) ::SendMessageW(wnd, WM_CHAR, *p, 1);
}

void Click(CWnd* wnd, CPoint p, UINT flags)
{
    wnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | flags, MAKELPARAM(p.x, p.y));
    wnd->SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(p.x, p.y));
}

void DoubleClick(CWnd* wnd, CPoint p, UINT flags)
{
    Click(wnd, p, flags);
    wnd->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON | flags, MAKELPARAM(p.x, p.y));
    wnd->SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(p.x, p.y));
}

CPoint CellCentre(tkxGridCtrl& grid, int row, int col)
{
    CRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, rect)) << row << "," << col;
    return rect.CenterPoint();
}

HWND Focus() { return ::GetFocus(); }

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[64] = {};
    ::GetClassNameW(wnd, name, 64);
    return name;
}

CString TextOf(HWND wnd)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(wnd, text, 512);
    return text;
}

void FillGrid(tkxGridCtrl& grid, int rows, int cols, int fixedRows, int fixedCols)
{
    grid.SetRowCount(rows);
    grid.SetColumnCount(cols);
    grid.SetFixedRowCount(fixedRows);
    grid.SetFixedColumnCount(fixedCols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            CString text;
            if (r < fixedRows)
                text.Format(L"H%d", c);
            else if (c < fixedCols)
                text.Format(L"R%d", r);
            else
                text.Format(L"%d,%d", r, c);
            grid.SetItemText(r, c, text);
        }
}

std::string Str(const CString& text) { return test_support::Utf8(text); }

} // namespace gridtest
