// Exported file functions of the suite: shell operations on files (desktop
// shortcut, rename, delete to the recycle bin, the desktop folder), the
// clipboard text, the front door to the extended file dialog, and the
// suite's table of data-file types with the look-up of a file's type.
//
// Shell and clipboard failures answer 0; only tkx_DeleteFile also sets the
// last-error text.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/TavixDevApp.h"

// Saves a shortcut file to the target with its description and working
// folder; 1 when it was saved, 0 when the shell link cannot be made or
// saved.  The caller has initialised COM.
CORVANE_API int tkx_CreateLink(const wchar_t* description, const wchar_t* target, const wchar_t* workingFolder,
                               const wchar_t* linkFile);
// The user's desktop folder.
CORVANE_API CString tkx_GetDeskTopDirectory();
// Renames (or moves) one file or folder without asking; 1 on success.
CORVANE_API int tkx_RenameFile(const wchar_t* from, const wchar_t* to);
// Moves one file or folder to the recycle bin after the shell's own
// question; 0 with the last-error text "删除文件失败[%d]!" when the shell
// reports a failure (or the user declines).
CORVANE_API int tkx_DeleteFile(const wchar_t* path, HWND owner);

// Puts the text on the clipboard as Unicode text and as 8-bit text of the
// system code page; 0 when the clipboard cannot be opened or filled.
CORVANE_API int tkx_CopyToClipboard(const wchar_t* text);
// The clipboard's text (the Unicode form when there is one, else the 8-bit
// form read in the system code page); empty when it holds no text.  0 when
// the clipboard cannot be opened.
CORVANE_API int tkx_PasteFromClipboard(CString& text);

// Runs the extended file dialog (open 1, else save).  The path is the
// initial file name: doubled backslashes are made single (a leading "\\" of
// a network path stays) and "/" becomes "\".  Without a filter the filter
// offers the extension's type from the file-type table and all files;
// without a title it is "打开" or "保存", the type and "文件".  1 with the
// chosen path on OK, else 0 with the path as normalised.
CORVANE_API int tkx_FileDialog(int open, CString& path, const wchar_t* ext, CWnd* parent, const wchar_t* filter,
                               const wchar_t* title);

// Copies of the file-type table, the internal extensions and the reference
// documents read from "TvComment.ini".
CORVANE_API void tkx_GetFileStyles(CArray<Tavix4::sFileStyle, Tavix4::sFileStyle>& styles);
CORVANE_API void tkx_GetInternalFileExts(CStringArray& exts);
CORVANE_API void tkx_GetReferenceDocInfos(CArray<Tavix4::sReferenceDoc, Tavix4::sReferenceDoc>& docs);

// 1 when the extension of the file-name part is a known data-file type (or
// TXT); typeName gets its name up to the first "(" ("文本文件" for TXT).
// 0 otherwise, with typeName "未知类型文件".
CORVANE_API int tkx_IsTavixFileName(const wchar_t* fileName, CString& typeName);
