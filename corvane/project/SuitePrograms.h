// The suite's programs working together: starting, finding, commanding and
// closing Brisko and the design assistant, and the texts and records they
// are sent with WM_COPYDATA.
//
// Brisko's main window is the first top-level window that carries one of the
// window properties "Brisko7", "Brisko" or "Brisko_x64"; the design
// assistant's is the first top-level window titled "设计助手".  Both programs
// lie in the Bin folder of the suite's installation ("Brisko.exe",
// "TavixAssist.exe").  Nothing is kept between calls: every function looks
// its windows up afresh, and a program that is not running is no error for
// the senders: they send nothing.
//
// Every text sent fits its fixed buffer with its terminator; a text that
// does not fit is cut (Brisko's information lines) or not sent at all (the
// road change, the assistant's texts), never sent unterminated.
#pragma once
#include "corvane/CorvaneDefs.h"

// Starts Brisko when it is not running (a message box owned by `owner` when
// its program is missing); restores its window when it is minimised.
CORVANE_API void tkx_StartBrisko(HWND owner);

// Brisko's main window, or NULL.
CORVANE_API HWND tkx_GetBriskoWnd();

// Asks "是否关闭项目数据环境?" and, on Yes, asks Brisko to exit.  Nothing
// when Brisko is not running.
CORVANE_API void tkx_BriskoUnload();

// Formats the arguments like printf (at most 4,082 characters are kept, so
// that "TAVIX_PRINTF:" and the text fit Brisko's 4,096-character buffer),
// shows the line and sends it to Brisko's information window.  Nothing when
// Brisko is not running.
CORVANE_API void tkx_TavixPrintf(wchar_t* format, ...);

// Makes the named road the current road of the library's current project
// and saves the project file; tells the suite status bars in the CAD host,
// Brisko (notifyBrisko 1) and the design assistant (notifyAssist 1).
// Returns 1 when the road is current afterwards, 0 with a message box
// (owned by `owner`) on failure.  A road that is current already returns 1
// at once: nothing is saved or sent.
CORVANE_API int tkx_ChangeCurRoad(const wchar_t* road, HWND owner, int notifyBrisko, int notifyAssist);

// Starts Brisko with the file; blanks of the path travel as "?", which
// Brisko turns back.  Returns 1 when Brisko was started, 0 for an empty path
// or a missing program (with a message box).
CORVANE_API int tkx_ViewFile(CString path);

// Runs the design assistant program (whether or not its file exists).
CORVANE_API void tkx_StartTavixAssist();

// The design assistant's window, or NULL.
CORVANE_API HWND tkx_GetTavixAssistWnd();

// Sends the text, in 8-bit form (OEM code page), to the design assistant
// with the caller's data word.  Nothing is sent when the assistant is not
// running or the 8-bit text does not fit 1,023 bytes.
CORVANE_API void tkx_SendStringToAssist(CString text, long dwData);

// Tells the design assistant to exit.
CORVANE_API void tkx_ExitAssist();

// Shows the terrain-model name on the suite status bars in the CAD host.
CORVANE_API void tkx_SetTvStatusBarMeshName(const wchar_t* name);

// Runs a command line (converted to 8-bit text in the OEM code page) with
// WinExec; returns WinExec's result (above 31 on success).
CORVANE_API UINT tkx_WinExec(const wchar_t* commandLine, UINT show);
