// The temporary file beside a target that writers fill first and then put in
// the target's place, so that a failed write never destroys the old file.
#pragma once
#include "ClassLib.h"

// A new empty file of a unique name "<prefix>XXXX.tmp" in the folder (as the
// system's GetTempFileNameW makes it), or "<prefix>XXXX<extension>.tmp" with
// an extension (".ICD"), for a reader that goes by the name of its file.  In
// a folder too deep for that name within the platform's path limit, but short enough to hold a target, the
// file is made and named in the extended form of the path ("\\?\X:\...").
// Empty, with the last error ERROR_FILENAME_EXCED_RANGE, for a folder whose
// files all lie past the limit; else empty with the system's error when it
// cannot be made.
CLASSLIB_API CString ClMakeTempFile(const wchar_t* folder, const wchar_t* prefix, const wchar_t* extension = nullptr);
