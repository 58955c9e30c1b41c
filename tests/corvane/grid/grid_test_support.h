// Shared helpers of the grid tests.
//
// The program runs in the scratch hive of tests/support (tag "grid"), so the
// wheel setting and anything else read from HKEY_CURRENT_USER start out
// missing.  Grids live in a host window that records what the grid tells
// its parent; the host sits in one visible frame shared by all tests (the
// keyboard focus needs a shown window, and a frame that was shown costs two
// seconds to destroy under Wine).
#pragma once
#include "corvane/ui/ComboGridCtrl.h"
#include "support/MessageBoxScript.h"
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace gridtest {

// What the grid sent its parent, in order: "focus r,c", "leave r,c",
// "beginedit r,c", "endedit r,c", "begindrag r,c", "changed r,c",
// "editbox r,c", "combo r 'text'", "combochange i 'text'", "command id",
// "click".
class GridHost : public CWnd
{
public:
    std::vector<std::string> events;
    BOOL Make(CWnd* parent, CRect rect);
    // The events whose text starts with `prefix`.
    std::vector<std::string> Events(const char* prefix) const;
    void Clear() { events.clear(); }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCellChanged(WPARAM, LPARAM lParam);
    LRESULT OnBeginEdit(WPARAM, LPARAM lParam);
    LRESULT OnComboCreated(WPARAM, LPARAM lParam);
    LRESULT OnComboChange(WPARAM, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A grid that opens its protected members to the tests and counts the
// texts its drawing and sorting ask for.
class TestGrid : public tkxGridCtrl
{
public:
    using tkxGridCtrl::tkxGridCtrl;
    using tkxGridCtrl::GetCellFromPt;
    using tkxGridCtrl::GetTopleftNonFixedCell;
    using tkxGridCtrl::GetVisibleNonFixedCellRange;
    using tkxGridCtrl::GetScrollPos32;
    using tkxGridCtrl::IsCellVisible;
    using tkxGridCtrl::SetFocusCell;
    using tkxGridCtrl::OnSelecting;
    using tkxGridCtrl::GetCell;
    using tkxGridCtrl::m_MouseMode;
    using tkxGridCtrl::m_SelectionStartCell;
    using tkxGridCtrl::m_DropTarget;
    using tkxGridCtrl::m_nPrintRowsHeight;
    using tkxGridCtrl::m_nPageWidth;
    using tkxGridCtrl::m_CharSize;
    mutable long textReads = 0;
    CString GetItemText(int nRow, int nCol) const override
    {
        ++textReads;
        return tkxGridCtrl::GetItemText(nRow, nCol);
    }
    int VScrollMax() const { return m_nVScrollMax; }
    int HScrollMax() const { return m_nHScrollMax; }
};

// The frame all grid tests share (visible, never destroyed).
CFrameWnd* SharedFrame();

// A host with a grid of the given class; the grid is created by Make.
template <class Grid = tkxGridCtrl> struct Hosted {
    GridHost host;
    Grid grid;
    Hosted() = default;
    template <class... A> explicit Hosted(A... args) : grid(args...) {}
    ~Hosted()
    {
        if (host.m_hWnd) host.DestroyWindow();
    }
    // Creates host and grid (grid rectangle in host coordinates).
    bool Make(CRect gridRect = CRect(0, 0, 400, 300), DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER)
    {
        if (!host.Make(SharedFrame(), CRect(0, 0, 700, 500))) return false;
        if (!grid.Create(gridRect, &host, 77, style)) return false;
        grid.SetFocus();
        host.Clear();
        return true;
    }
};

// Key state: while alive, the keys are held for GetKeyState of this thread.
class HeldKeys
{
public:
    explicit HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();

private:
    BYTE m_saved[256];
};

void Key(CWnd* wnd, UINT vk);
void Key(HWND wnd, UINT vk);
void Type(HWND wnd, const wchar_t* text);
void Click(CWnd* wnd, CPoint p, UINT flags = 0);
void DoubleClick(CWnd* wnd, CPoint p, UINT flags = 0);
// The centre of a cell (client coordinates of the grid).
CPoint CellCentre(tkxGridCtrl& grid, int row, int col);

// The window with the keyboard focus, its class and text.
HWND Focus();
std::wstring ClassOf(HWND wnd);
CString TextOf(HWND wnd);

// Fills rows x cols texts "r,c" (non-fixed) and headings "H c" / "R r".
void FillGrid(tkxGridCtrl& grid, int rows, int cols, int fixedRows, int fixedCols);

std::string Str(const CString& text);

} // namespace gridtest
