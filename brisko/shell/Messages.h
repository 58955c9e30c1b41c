// The main frame's private messages.  All are sent to the main frame on
// the main thread, except the two it sends the profile page.
#pragma once
#include <windows.h>

#define WM_OPENPENDINGFILE (WM_USER + 100)     // open the file of the setting OPENFILENAME
#define WM_PROJECTCHANGED (WM_USER + 101)      // the current project or road changed
#define WM_OPENPROJECT (WM_USER + 102)         // open the project file the application keeps
#define WM_SHOWTEMPLATEPREVIEW (WM_USER + 103) // redraw the slope-template preview
#define WM_CLOSEREFERENCEPAGE (WM_USER + 104)  // close the reference-document page
#define WM_PROFILEDATACHANGED (WM_USER + 106)  // to the profile page: data reloaded
#define WM_PROFILECURVESCHANGED (WM_USER + 107) // to the profile page: vertical curves reloaded

// The registered message of the file watcher.
#define FILEWATCH_NOTIFY_NAME L"FileWatchNotify"
