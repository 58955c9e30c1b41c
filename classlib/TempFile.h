// The temporary file beside a target that writers fill first and then put in
// the target's place, so that a failed write never destroys the old file.
#pragma once
#include "ClassLib.h"

// A new empty file of a unique name "<prefix>XXXX.tmp" in the folder (as the
// system's GetTempFileNameW makes it).  Empty, with the last error
// ERROR_FILENAME_EXCED_RANGE, when the folder leaves no room for that name
// within the platform's path limit (the system's function would overrun
// its buffer or fail); else empty with the system's error when it cannot be
// made.
CLASSLIB_API CString ClMakeTempFile(const wchar_t* folder, const wchar_t* prefix);
