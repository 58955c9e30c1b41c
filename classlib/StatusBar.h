#pragma once
#include "ControlBars.h"

// Status bar: the system's status bar control as a control bar.  Panes are
// given as indicator ids whose string resources are their texts (ID_SEPARATOR,
// 0, for a pane without one); the first pane stretches.  Any other pane grows
// to hold a longer text (up to half the bar) and goes back to the width it
// was given when the text is shorter again.
#define ID_SEPARATOR 0
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class CLASSLIB_API CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetPaneText(int index, const wchar_t* text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    // The width as given (a pane grown for its text is shown wider).
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    int GetPaneCount() const { return static_cast<int>(m_panes.size()); }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
        int least = 0; // the width given by the indicators or SetPaneInfo
    };
    std::vector<Pane> m_panes;
    void UpdateParts();
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
