// Folder and file helpers of the project store (internal to the library):
// existence tests, one-level folder creation, and the write that replaces a
// file only once its new content is complete.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/platform/FileReplace.h"
#include <functional>

namespace projectstore {

// The project's fixed sub-folders, in the order they are made.
extern const wchar_t* const kSheetSetFolders[3];

bool FolderExists(const wchar_t* folder);
bool FileExists(const wchar_t* file);
// Creates one folder level (the parent must exist); true when it exists
// afterwards.
bool MakeFolder(const wchar_t* folder);

// Writes `file` through a temporary file beside it: `write` fills the
// temporary (it may throw the class library's file or archive exceptions),
// then the temporary replaces the file.  False when the temporary cannot be
// created (a read-only file among them), the write throws or the
// replacement fails; the old file is then untouched and the temporary
// removed.
bool WriteReplacing(const CString& file, const std::function<void(CFile&)>& write);

// The caption of the library's message boxes.
extern const wchar_t kCaption[];
// A message box of the library, owned by the given window.
int ShowBox(HWND owner, const wchar_t* text, UINT type);

} // namespace projectstore
