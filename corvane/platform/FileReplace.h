// Saving a file by putting a complete new one in its place: every writer of
// the suite writes its new contents into a temporary file beside the target
// and puts that file in the target's place only once it was written whole.
// A target the user marked read-only is never replaced: it is refused before
// a temporary file is made, and it stays as it was.
#pragma once
#include "corvane/CorvaneDefs.h"

// "文件<target>为只读, 无法保存!" when target is a read-only file; empty when
// it does not exist or may be replaced.
CORVANE_API CString tkx_ReadOnlyTargetText(const wchar_t* target);

// A writer's failure message for target: `own` as it is, followed by the
// read-only message when that is why the target could not be replaced.
CORVANE_API CString tkx_SaveFailureText(const wchar_t* target, const wchar_t* own);

// A new empty temporary file in the folder of target (the current folder
// for a bare name).  Empty, and no file made, when target is read-only or
// no file can be made there.
CORVANE_API CString tkx_TempFileBeside(const wchar_t* target);

// Puts the temporary file temp in the place of target.  false when target
// is read-only or the move fails: temp is removed and target is left as it
// was.
CORVANE_API bool tkx_ReplaceByTemporary(const wchar_t* temp, const wchar_t* target);

// Copies the file from over to the same way: into a temporary file beside
// to, which then takes to's place.  FALSE, with the last error set, when to
// is read-only (nothing is written) or the copy or the move fails: to is
// left as it was and no temporary file stays behind.  The copy of a
// read-only file is read-only, as the system's copy makes it.
CORVANE_API BOOL tkx_CopyReplacing(const wchar_t* from, const wchar_t* to);
