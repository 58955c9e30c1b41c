// The file watcher: tells the program when a file that it shows was changed
// by another program.
//
// Documents register the file they hold and the main frame the current
// road's files; each registration gets a watch id (never reused, 0 = none).
// One worker thread at the lowest priority waits on one change notification
// per distinct folder (at most 63 folders).  When a folder changes, the
// worker compares the last-write time of every registered file in it with
// the stored one, keeps the new time, and tells the main thread which watch
// changed; it never touches windows, documents or the user.  The main thread
// then finds the receiver (the document's first view, else the registered
// window), asks "reload?" unless the watch reloads without asking, and posts
// the registered message "FileWatchNotify" to the receiver with the watch's
// data word (0) as wParam and its watch id as lParam.  The receiver looks
// the path up with GetFileWatchPath; a watch removed meanwhile answers
// FALSE.
//
// All functions but the worker run on the main thread.  The program stops
// the thread at exit (StopFileWatchThread) before it frees the resource
// library; removing the last watch stops it as well.
#pragma once
#include "classlib/ClassLib.h"

// Watches `path` (a file, or a folder when it ends with "\") for `window`,
// or for the first view of `document` when that is not NULL.  Returns the
// watch id, or 0 with nothing recorded when the file's time cannot be read,
// its folder cannot be watched, or 63 folders are watched already (the user
// is told).
DWORD AddFileWatch(const wchar_t* path, HWND window, CDocument* document);
// The watch reloads without asking while *option is not zero (read at each
// change; NULL: always ask).
void SetFileWatchOption(DWORD id, BOOL* option);
// Forgets the watch; the folder's notification goes with its last watch.
// Removing the last watch stops the thread.  Unknown ids are ignored.
void RemoveFileWatch(DWORD id);
// The path of a watch, read under the watcher's lock; FALSE when the id is
// not (or no longer) registered.
BOOL GetFileWatchPath(DWORD id, CString& path);

// The message id of "FileWatchNotify".
UINT GetFileWatchMessage();

void StartFileWatchThread();
// Ends the worker and waits for it; every watch is forgotten.
void StopFileWatchThread();
BOOL IsFileWatchThreadRunning();
// Times the worker woke from its wait since the program started: a watcher
// that is quiet while nothing changes keeps this small.
LONG GetFileWatchWakeCount();

// Asks whether `path`, changed by another program, is to be reloaded; TRUE
// for OK.
BOOL AskReloadFile(const wchar_t* path, CWnd* parent);

// The question of AskReloadFile (dialog 106): the message in a static text
// as wide as its widest line, the dialog widened to fit it, the two buttons
// centred under it.
class CFileWatchDlg : public CDialog
{
public:
    CFileWatchDlg(const wchar_t* message, CWnd* parent);
    BOOL OnInitDialog() override;

private:
    CString m_strMessage;
};
