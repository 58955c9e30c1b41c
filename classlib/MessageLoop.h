// The library's message loop in pieces, shared by the application's loop
// (CWinApp::Run), the modal loop of windows and dialogs (CWnd::RunModalLoop)
// and the test tooling's loop: fetching, pre-translating and dispatching one
// message, telling idle moments, and the idle pass.
#pragma once
#include "ClassLibDefs.h"

// The message loop pieces: one message fetched, pre-translated and
// dispatched (FALSE on WM_QUIT); the pre-translate walk for a message;
// whether a message starts a new idle period.
CLASSLIB_API BOOL AfxPumpMessage();
CLASSLIB_API BOOL AfxPreTranslateMessage(MSG* msg);
CLASSLIB_API BOOL AfxIsIdleMessage(const MSG* msg);
// Runs the idle pass until it reports no more work (command updates of the
// main window's bars, freeing of temporary objects).
CLASSLIB_API void AfxRunIdle();
// One step of the library's idle pass: 0 updates the command state of the
// main window (or, without one, of every top-level window of the thread) and
// its bars; 1 frees temporary objects.  TRUE while more steps remain.
CLASSLIB_API BOOL ClIdleStep(LONG count);
// The temporary objects (FromHandle's) that the calling thread holds now.
// A modal loop's idle pass frees those made while it runs and keeps the
// older ones, which its caller may still hold.
CLASSLIB_API int ClTemporaryObjectCount();
