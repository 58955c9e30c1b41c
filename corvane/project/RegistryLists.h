// The registered lists of projects and slope-template libraries, kept under
// HKEY_CURRENT_USER "SOFTWARE\TavixSuite\Brisko":
//
//   PrjInfo       CurrentPrj (DWORD, 10000 = none), PrjNumber (DWORD),
//                 PrjName<k>, PrjPath<k> (strings), k = 0, 1, 2 ...
//   TempBaseInfo  CurrentTempBase, TempBaseNumber, TBName<k>, TBPath<k>
//
// A project entry stands for "<path>\<name>.EPJ", a library entry for
// "<path>\<name>.TPB".  Readers stop at the first index whose name value is
// missing; the numbers are written but not read.  The in-memory lists live
// in the application object (TavixDevApp.h).
#pragma once
#include "corvane/CorvaneDefs.h"

class CTavixDevApp;

// The value of a current index that means "none".
const DWORD kNoCurrentEntry = 10000;

// Rebuilds the in-memory project list from the registry and loads the
// current project; 1 on success.
CORVANE_API int tkx_GetProjectInfoFromReg(HWND owner);
// Writes the in-memory project list and current index, then tells the
// sheet-set windows of running CAD hosts; 1 on success.
CORVANE_API int tkx_SetProjectInfoToReg(HWND owner);
CORVANE_API void tkx_RemoveProjectInfoFromReg();

CORVANE_API int tkx_GetTemplateBaseInfoFromReg(HWND owner);
CORVANE_API int tkx_SetTemplateBaseInfoToReg(HWND owner);
CORVANE_API void tkx_RemoveTemplateBaseInfoFromReg();

// The current project's (library's) file name from the registry alone; 1 when
// there is a current entry whose file exists.
CORVANE_API int tkx_GetCurPrjPath(CString& path);
CORVANE_API int tkx_GetCurTBPath(CString& path);

// Brisko's main-window rectangle under "...\Brisko\Settings" (the key must
// exist).
CORVANE_API void tkx_SetREG_BriskoRect(CRect rect);
// The suite's installation folder from HKEY_LOCAL_MACHINE.
CORVANE_API int tkx_GetSoftwarePath(CString& path);

// The same list operations on a given application object (its start-up uses
// them on itself).
int ReadProjectList(CTavixDevApp& app, HWND owner);
int WriteProjectList(CTavixDevApp& app, HWND owner);
int ReadTemplateBaseList(CTavixDevApp& app, HWND owner);
int WriteTemplateBaseList(CTavixDevApp& app, HWND owner);
