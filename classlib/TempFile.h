// The temporary file beside a target that writers fill first and then put in
// the target's place, so that a failed write never destroys the old file.
#pragma once
#include "ClassLib.h"

// A new empty file of a unique name "<prefix>XXXX.tmp" in the folder (as the
// system's GetTempFileNameW makes it).  In a folder too deep for that name
// within the platform's path limit, but short enough to hold a target, the
// file is made and named in the extended form of the path ("\\?\X:\...").
// Empty, with the last error ERROR_FILENAME_EXCED_RANGE, for a folder whose
// files all lie past the limit; else empty with the system's error when it
// cannot be made.
CLASSLIB_API CString ClMakeTempFile(const wchar_t* folder, const wchar_t* prefix);
