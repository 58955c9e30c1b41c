#pragma once
#include "ControlBars.h"

// Tool bar: the system's tool bar control as a control bar.  Buttons come
// from a tool-bar resource and its bitmap of the same id.  A press on a
// button is the button's; a docked bar is dragged (and a double click floats
// it) from its gripper and the gaps between and beside the buttons.
class CLASSLIB_API CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                  UINT id = AFX_IDW_TOOLBAR);
    // From the module that asks, or the next in the resource search order.
    BOOL LoadToolBar(UINT id, HINSTANCE caller = ClCallerModule());
    BOOL LoadBitmap(UINT id, HINSTANCE caller = ClCallerModule());
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    int GetButtonCount() const;
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    // The button's command (0 on a separator or beside the buttons).
    UINT CommandAtPoint(CPoint point) const override;

protected:
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    HBITMAP m_hBitmap = nullptr;
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
