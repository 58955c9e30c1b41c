// Saving a file by putting a complete new one in its place: every writer of
// the suite writes its new contents into a temporary file beside the target
// and puts that file in the target's place only once it was written whole.
// A target the user marked read-only is never replaced: it is refused before
// a temporary file is made, and it stays as it was.
//
// Files that belong together (the outputs of one tool run, the files of a
// road) are replaced as one set: every target or none.  At no moment is a
// target's name missing, and whenever the process ends each target holds
// its whole old or its whole new content under its own name.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <vector>

// A target of a set with the backup beside it that holds its original.
struct tkxSetBackup {
    CString target;
    CString backup; // full name; empty for a target that did not exist before the set
};

// What a set left that its promise does not cover; every file named here is
// kept.  notPutBack: the targets of a failed set that could not be given
// their originals back (another program held the backup or the new file
// open): each holds its new content, its original lies in the backup (a
// target that did not exist before holds a new file that could not be
// removed).  backupsKept: backups that could not be removed, after a
// success or a failure; their targets are whole.
struct tkxSetLeftovers {
    std::vector<tkxSetBackup> notPutBack;
    std::vector<tkxSetBackup> backupsKept;
    bool Empty() const { return notPutBack.empty() && backupsKept.empty(); }
};

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
// The same for a set that left targets it could not put back: instead of
// saying that the others stay as they were, "无法替换输出文件<target>!" and a
// paragraph for each such target, "无法恢复输出文件<target>: 该文件现为新内容,
// 原内容保存在<backup>中!" (for a target that did not exist before, "无法删除
// 新建的输出文件<target>!").
CORVANE_API CString tkx_SetFailureText(const wchar_t* target, const wchar_t* own, size_t count,
                                       const tkxSetLeftovers& left);
// A line for the information window for each backup a set could not remove:
// "无法删除输出文件<target>的备份文件<backup>!".
CORVANE_API std::vector<CString> tkx_BackupsKeptTexts(const tkxSetLeftovers& left);

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
// targets[i]), all of them or none, and removes the temporary files that are
// not in place.  A set of one is a single replacing move, as
// tkx_ReplaceByTemporary.  For a larger set:
// - Before anything changes, a target that cannot be replaced refuses the
//   set: read-only, a folder in its place, or held open by another program
//   that does not share its deletion.
// - Each existing target gets a backup beside it ("bakXXXX.<its extension>
//   .tmp") while it keeps its name: a second name of the same file (a hard
//   link), or a copy where the file system has no links.
// - Each temporary file takes its target's name in one replacing move; a
//   target that did not exist is not replaced when another program has put
//   a file there meanwhile, nor an existing one that another program
//   replaced or removed meanwhile.
// - Once every one is in place, the backups are removed.
// When a step fails, each new file in place gets its original back by one
// replacing move of its backup (a new file where no target was is removed);
// a target whose new file was never placed is not touched: false, with
// *failed the index of the target that could not be replaced and the last
// error set.  Whatever could not be put back or removed is kept and named in
// *left (when given; else the caller cannot tell).
CORVANE_API bool tkx_ReplaceSetByTemporaries(const std::vector<CString>& temporaries,
                                             const std::vector<CString>& targets, int* failed = nullptr);
CORVANE_API bool tkx_ReplaceSetByTemporaries(const std::vector<CString>& temporaries,
                                             const std::vector<CString>& targets, int* failed,
                                             tkxSetLeftovers* left);

// Copies the file from over to the same way: into a temporary file beside
// to, which then takes to's place.  FALSE, with the last error set, when to
// is read-only (nothing is written) or the copy or the move fails: to is
// left as it was and no temporary file stays behind.  The copy of a
// read-only file is read-only, as the system's copy makes it.
CORVANE_API BOOL tkx_CopyReplacing(const wchar_t* from, const wchar_t* to);

// Copies each file of `from` over its target in `to` as one set
// (tkx_ReplaceSetByTemporaries): every target or none.  false, with *failed
// the index of the target that could not be written or replaced and the
// last error set: every target is left as it was (but those named in
// *left) and no temporary or backup file stays behind, also when a source
// cannot be read after the copies of the sources before it were made.
// Copies of read-only files are read-only.
CORVANE_API bool tkx_CopySetReplacing(const std::vector<CString>& from, const std::vector<CString>& to,
                                      int* failed = nullptr);
CORVANE_API bool tkx_CopySetReplacing(const std::vector<CString>& from, const std::vector<CString>& to, int* failed,
                                      tkxSetLeftovers* left);
