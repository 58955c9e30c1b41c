// Saving a file by putting a complete new one in its place: every writer of
// the suite writes its new contents into a temporary file beside the target
// and puts that file in the target's place only once it was written whole.
// A target the user marked read-only is never replaced: it is refused before
// a temporary file is made, and it stays as it was.
//
// Files that belong together (the outputs of one tool run, the files of a
// road) are replaced as one set: every target or none.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <vector>

// "文件<target>为只读, 无法保存!" when target is a read-only file; empty when
// it does not exist or may be replaced.
CORVANE_API CString tkx_ReadOnlyTargetText(const wchar_t* target);

// The index of the first read-only file among the targets; -1 when there is
// none.
CORVANE_API int tkx_FirstReadOnlyTarget(const std::vector<CString>& targets);

// A writer's failure message for target: `own` as it is, followed by the
// read-only message when that is why the target could not be replaced.
CORVANE_API CString tkx_SaveFailureText(const wchar_t* target, const wchar_t* own);

// The failure message for a target of a set of `count` targets replaced as
// one: tkx_SaveFailureText, and for a set of more than one, followed by
// "无法替换输出文件<target>, 其他输出文件保持原样!".
CORVANE_API CString tkx_SetFailureText(const wchar_t* target, const wchar_t* own, size_t count);

// A new empty temporary file in the folder of target (the current folder
// for a bare name): "tkxXXXX.tmp", or with an extension "tkxXXXX<extension>
// .tmp" (".ICD"), for a reader that goes by the name of its file.  Empty,
// and no file made, when target is read-only or no file can be made there.
CORVANE_API CString tkx_TempFileBeside(const wchar_t* target, const wchar_t* extension = nullptr);

// Puts the temporary file temp in the place of target.  false when target
// is read-only or the move fails: temp is removed and target is left as it
// was.
CORVANE_API bool tkx_ReplaceByTemporary(const wchar_t* temp, const wchar_t* target);

// Puts every temporary file in the place of its target (temporaries[i] for
// targets[i]), all of them or none.  Each existing target is first moved
// aside to a backup file beside it ("bakXXXX.<its extension>.tmp"); then
// each temporary file takes its target's name; the backups are removed once
// every one is in place.  When any step fails, the new files already in place are removed,
// every target moved aside is put back and the temporary files are removed:
// false, with *failed the index of the target that could not be replaced and
// the last error set.  A read-only target, or a folder in a target's place,
// refuses the set before anything is moved.
CORVANE_API bool tkx_ReplaceSetByTemporaries(const std::vector<CString>& temporaries,
                                             const std::vector<CString>& targets, int* failed = nullptr);

// Copies the file from over to the same way: into a temporary file beside
// to, which then takes to's place.  FALSE, with the last error set, when to
// is read-only (nothing is written) or the copy or the move fails: to is
// left as it was and no temporary file stays behind.  The copy of a
// read-only file is read-only, as the system's copy makes it.
CORVANE_API BOOL tkx_CopyReplacing(const wchar_t* from, const wchar_t* to);

// Copies each file of `from` over its target in `to` as one set
// (tkx_ReplaceSetByTemporaries): every target or none.  false, with *failed
// the index of the target that could not be written or replaced and the
// last error set: every target is left as it was and no temporary or backup
// file stays behind.  Copies of read-only files are read-only.
CORVANE_API bool tkx_CopySetReplacing(const std::vector<CString>& from, const std::vector<CString>& to,
                                      int* failed = nullptr);
