// The clipboard and file-dialog functions of the exported interface.
#pragma once
#include "corvane/CorvaneDefs.h"

// Puts the text on the clipboard as 8-bit text (CF_TEXT, the OEM code
// page); 1 on success, 0 when the clipboard cannot be opened.
CORVANE_API int tkx_CopyToClipboard(const wchar_t* text);

// The platform's open (mode 1) or save (any other mode) file dialog.
// `path` brings the proposed file and takes the chosen one; the filter is
// in the form "description|pattern|...||" (empty: all files); an empty
// title leaves the platform's.  The open dialog wants an existing file, the
// save dialog asks before overwriting.  1 when the user chose a file, else
// 0 with the path unchanged.
CORVANE_API int tkx_FileDialog(int mode, CString& path, const wchar_t* defaultExt, CWnd* parent,
                               const wchar_t* filter, const wchar_t* title);
