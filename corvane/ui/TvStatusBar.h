// CTvStatusBar: the suite's own status bar, docked at the bottom of a frame
// of a program that loads the library.  One free message pane and three
// fixed panes: the current project (200 pixels), road and terrain model (100
// each).  Code in the same process drives it through the exported functions
// below; other processes send its window (titled "TAVIX3状态栏") WM_COPYDATA:
// the low 16 bits of dwData are the pane (0 message, 1 project name, 2 road
// name, 3 terrain-model name, anything else a warning message), lpData a
// zero-terminated wide text of at most 511 characters.  Exactly one bar
// exists per process; the library's application object owns it.
#pragma once
#include "corvane/ui/ControlBar.h"

class CORVANE_API CTvStatusBar : public tkxControlBar
{
    DECLARE_DYNAMIC(CTvStatusBar)
public:
    // Reads the current project's and road's names for the panes.
    CTvStatusBar();
    ~CTvStatusBar() override;

    // As the docking bar's creation, always without gripper and buttons.
    using tkxControlBar::Create;
    BOOL Create(CWnd* parent, UINT id, const wchar_t* title, CSize size, DWORD style) override;
    // The bar has no controls to update.
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

    // The message pane's text; warning 1 shows it (and the pane texts) in
    // dark red.
    void SetMessage(const wchar_t* text, int warning);
    // Whole pane texts; redraw 1 repaints the bar.
    void SetProjectText(const wchar_t* text, int redraw);
    void SetRoadText(const wchar_t* text, int redraw);
    void SetMeshText(const wchar_t* text, int redraw);
    // Kind 0 the message, 1 to 3 the project, road or terrain-model name
    // (the pane adds its prefix), any other kind a warning message.
    void SetPaneText(const wchar_t* text, short kind);

    // Longest text taken from WM_COPYDATA, in characters.
    static const int kMaxCopyText = 511;

    CFont m_Font;
    CBrush m_BkBrush;
    CBitmap m_PaneBitmap;       // stretched into every pane; may be missing
    CString m_SMessage;
    CString m_SProject;
    CString m_SRoad;
    CString m_SMesh;
    int m_bWarning;
    CRect m_rcMessage;          // the message pane's frame as last painted

protected:
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    // The library's bar forgets itself when its window goes, also with its
    // frame.
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()
};

// The suite status bar of the calling process, driven on the caller's thread.
// 1 when the bar exists in the frame afterwards; 0 when the suite option
// "TvStatus" is off, the handle is null or no bar could be made.
CORVANE_API int WINAPI tkx_InitTavixStatusBar(HWND frame);
// printf-style message (up to 2,047 characters); nothing without a bar, and
// nothing for an empty, failed or too long result.
CORVANE_API void tkx_StatusPrintf(const wchar_t* format, ...);
// The same as a warning (dark red).
CORVANE_API void tkx_StatusWarning(const wchar_t* format, ...);
// Pane 0 the message, 1 to 3 the project, road or terrain-model name; other
// panes and a process without a bar: nothing.
CORVANE_API void WINAPI tkx_SetStatusText(const wchar_t* text, short pane);
// Destroys and deletes the bar.
CORVANE_API void WINAPI tkx_DestroyTvStatusBar();
