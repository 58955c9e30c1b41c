// The editor's text buffer: the lines of one open data file, read and
// written in three encodings, every edit recorded in a grouped undo list,
// and every change announced to the views attached to it.
//
// Lines are arrays of wide characters without line ends; a line keeps every
// character it was given (NUL characters included) and has no length limit.
// Positions are (column, line) points, both 0-based, in characters.  An
// index outside the text throws the class library's invalid-argument
// exception.
//
// Files: encoding 0 is the system ANSI code page, 1 UTF-8, 2 UTF-16 little
// endian.  A file starting with EF BB BF is UTF-8 and one starting with FF FE
// UTF-16 (the marks are not part of the text and are written back on
// saving); a file without a mark that holds valid UTF-8 beyond plain ASCII is
// UTF-8 too and is saved without a mark; anything else is ANSI.  Lines are
// separated by CR LF; a lone CR or LF of an 8-bit file stays in its line,
// while in UTF-16 an LF ends a line (with a CR before it dropped).  Saving
// writes CR LF between lines and none after the last one, into a temporary
// file beside the target that then replaces it, so a failed save leaves the
// old file as it was.  A text with a character the file's code page cannot
// hold is not saved (it would come back as a question mark).
//
// Undo: each elementary insertion or deletion is a record; the records of one
// user action form a group (the first record of a group carries
// UNDO_BEGINGROUP).  Undo and Redo apply whole groups.  The list keeps at most
// 4,096 records: the oldest closed group goes when a new record would pass
// that, never a record of the group still being collected.
#pragma once
#include "classlib/ClassLib.h"
#include <deque>
#include <string>
#include <vector>

class CTvTextView;

// Flags of a change notice.
enum : DWORD {
    NotifyHorz = 0x0001,    // text within lines changed
    NotifyVert = 0x0002,    // lines were inserted or removed
    NotifyOneLine = 0x0100, // only the given line changed
    NotifyFlags = 0x0200,   // only line flags changed
    NotifyReset = 0x1000,   // the whole text was replaced
};

// Line flags: the numbered bookmarks 0 to 9 are the bits 0 to 9.
#define LF_BOOKMARK(n) (1UL << (n))
enum : DWORD {
    LF_BOOKMARKS = 0x03FF,      // all numbered bookmarks
    LF_GREEN_LINE = 0x10000,    // shown with a green background
    LF_RED_LINE = 0x20000,      // shown with a red background
    LF_MARGIN_ICON = 0x40000,   // shown with its margin icon only
    LF_MARK = 0x80000,          // the unnamed mark (F8, F9, F10)
    LF_OLIVE_LINE = 0x100000,   // shown with an olive background
};

// Action codes of undo records.
enum : int {
    TVA_UNKNOWN = 0,
    TVA_PASTE = 1,
    TVA_DELSEL = 2,
    TVA_CUT = 3,
    TVA_TYPING = 4,
    TVA_BACKSPACE = 5,
    TVA_INDENT = 6,
    TVA_DRAGDROP = 7,
    TVA_REPLACE = 8,
    TVA_DELETE = 9,
    TVA_AUTOINDENT = 10,
};

// Encodings.
enum : WORD { TVE_ANSI = 0, TVE_UTF8 = 1, TVE_UTF16 = 2 };

// What a change did, for keeping positions on the same characters.
class CUpdateContext
{
public:
    virtual ~CUpdateContext() = default;
    virtual void AdjustPoint(CPoint& point) = 0;
};

class CTvTextBuffer : public CCmdTarget
{
    DECLARE_DYNCREATE(CTvTextBuffer)
public:
    CTvTextBuffer();
    ~CTvTextBuffer() override;
    CTvTextBuffer(const CTvTextBuffer&) = delete;
    CTvTextBuffer& operator=(const CTvTextBuffer&) = delete;

    struct SLineInfo {
        wchar_t* m_pcLine = nullptr; // no line end, no terminating NUL
        int m_nLength = 0;
        int m_nMax = 0;
        DWORD m_dwFlags = 0;
    };

    // One elementary edit.  A text of exactly one character is kept in place
    // of a pointer; a longer one is a heap copy.
    class SUndoRecord
    {
    public:
        SUndoRecord() = default;
        ~SUndoRecord() { FreeText(); }
        SUndoRecord(SUndoRecord&& other) noexcept;
        SUndoRecord& operator=(SUndoRecord&& other) noexcept;
        SUndoRecord(const SUndoRecord&) = delete;
        SUndoRecord& operator=(const SUndoRecord&) = delete;

        void SetText(const wchar_t* text, int length);
        const wchar_t* GetText() const;
        int GetTextLength() const { return m_nTextLength; }

        DWORD m_dwFlags = 0; // UNDO_INSERT, UNDO_BEGINGROUP
        CPoint m_ptStartPos;
        CPoint m_ptEndPos;
        int m_nAction = TVA_UNKNOWN;

    private:
        void FreeText();
        union {
            wchar_t* m_pszText;
            UINT_PTR m_chText;
        };
        int m_nTextLength = 0;
        mutable wchar_t m_szOne[2] = {0, 0};
    };
    enum : DWORD { UNDO_INSERT = 0x0001, UNDO_BEGINGROUP = 0x0100 };

    class CInsertContext : public CUpdateContext
    {
    public:
        void AdjustPoint(CPoint& point) override;
        CPoint m_ptStart, m_ptEnd;
    };
    class CDeleteContext : public CUpdateContext
    {
    public:
        void AdjustPoint(CPoint& point) override;
        CPoint m_ptStart, m_ptEnd;
    };

    // -- virtual operations ------------------------------------------------
    // The description of an action code (string resources 8619 to 8629);
    // FALSE for an unknown code or a missing string.
    virtual BOOL GetActionText(int action, CString& text);
    // Stores the modified flag.
    virtual void SetModified(BOOL modified = TRUE);

    // -- lines ------------------------------------------------------------------
    int GetLineCount() const { return static_cast<int>(m_aLines.size()); }
    int GetLineLength(int line) const { return Line(line).m_nLength; }
    const wchar_t* LineText(int line) const { return Line(line).m_pcLine; }
    DWORD LineFlags(int line) const { return Line(line).m_dwFlags; }
    // 0 for a column outside the line.
    wchar_t GetCharAt(int line, int column) const;
    // The text of the range; lineBreak (CR LF when null) between lines.
    void GetText(int startLine, int startChar, int endLine, int endChar, CString& text,
                 const wchar_t* lineBreak = nullptr) const;
    // A new line (flags 0) of `length` characters (-1: up to the NUL),
    // appended (position -1) or inserted before `position`.
    void InsertLine(const wchar_t* text, int length = -1, int position = -1);
    // Neither records undo nor sends a notice.  count -1: up to the NUL.
    void AppendToLine(int line, const wchar_t* chars, int count = -1);
    // An empty text leaves the line as it is.
    void SetLineText(int line, const wchar_t* text);

    void SetReadOnly(BOOL readOnly = TRUE) { m_bReadOnly = readOnly; }
    BOOL GetReadOnly() const { return m_bReadOnly; }
    BOOL IsModified() const { return m_bModified; }
    WORD GetEncoding() const { return m_nEncoding; }
    // Whether a UTF-8 file carries (and is saved with) its EF BB BF mark.
    BOOL HasUtf8Mark() const { return m_bUtf8Mark; }
    BOOL IsInitialised() const { return m_bInit; }

    // -- views --------------------------------------------------------------
    void AttachView(CTvTextView* view);
    void DetachView(CTvTextView* view);
    void NotifyViews(CTvTextView* source, CUpdateContext* context, DWORD flags, int line = -1);

    // -- life cycle and files --------------------------------------------------
    BOOL InitEmpty(int lineEndStyle = 0);
    void ReleaseAll();
    // TRUE when the text was read; a file that cannot be opened leaves one
    // empty line.
    BOOL LoadFromFile(const wchar_t* path, int lineEndStyle = -1);
    // TRUE when the file was replaced by the buffer's text.  A failure is
    // told in a message naming the file and the reason (a read-only file, a
    // folder, a missing folder, the system's text of a failed write), with
    // the system's error code as the last error; the old file stays.
    BOOL SaveToFile(const wchar_t* path, int lineEndStyle = -1, BOOL clearModified = TRUE);
    // Takes over the text, the file's encoding and read-only state and the
    // undo list of `loaded` (which is left empty, its views untouched), then
    // tells this buffer's views that the whole text changed.  A reload reads
    // into a fresh buffer and takes it over only when the file was read.
    void TakeText(CTvTextBuffer& loaded);

    // -- editing ---------------------------------------------------------------
    // Inserts `length` characters (-1: up to the NUL); a CR LF or a lone CR
    // breaks the line.  Returns the position after the text.
    BOOL InsertText(CTvTextView* source, int line, int column, const wchar_t* text, int& endLine, int& endColumn,
                    int action = TVA_UNKNOWN, int length = -1);
    BOOL DeleteText(CTvTextView* source, int startLine, int startColumn, int endLine, int endColumn,
                    int action = TVA_UNKNOWN);
    BOOL InsertTextNoUndo(CTvTextView* source, int line, int column, const wchar_t* text, int& endLine,
                          int& endColumn, int length = -1);
    BOOL DeleteTextNoUndo(CTvTextView* source, int startLine, int startColumn, int endLine, int endColumn);

    void OpenUndoGroup(BOOL mergeWithPrevious = FALSE);
    void EndUndoGroup(CTvTextView* source = nullptr);
    BOOL CanUndo() const { return m_nUndoPosition > 0; }
    BOOL CanRedo() const { return m_nUndoPosition < static_cast<int>(m_aUndoBuf.size()); }
    BOOL Undo(CPoint& cursor);
    BOOL Redo(CPoint& cursor);
    BOOL GetUndoText(CString& text);
    BOOL GetRedoText(CString& text);
    int GetUndoRecordCount() const { return static_cast<int>(m_aUndoBuf.size()); }
    const SUndoRecord& GetUndoRecord(int index) const;
    int GetUndoPosition() const { return m_nUndoPosition; }
    // -1 once the state of the file on disk can no longer be reached by
    // undo or redo.
    int GetSavedPosition() const { return m_nSyncPosition; }

    // A run of replacements of one text in many places (the Replace
    // dialog's Replace All), made a line at a time.  Text, undo list,
    // modified flag and views end as deleting each occurrence (action
    // TVA_DELSEL) and inserting the replacement in its place (TVA_REPLACE,
    // none when it is empty), each edit its own undo group closed for
    // `source`, one edit after the other would leave them; the views hear
    // of each changed line once.  Of the undo records only those the list
    // keeps are made.  The replacement holds no line break.
    class CReplaceRun
    {
    public:
        struct Occurrence {
            int column;           // where it stood when it was replaced
            const wchar_t* chars; // its characters (of the line before the run changed it)
        };
        CReplaceRun(CTvTextBuffer& buffer, CTvTextView* source, const wchar_t* replacement, int replacementLength,
                    int occurrenceLength);
        ~CReplaceRun() { Finish(); }
        CReplaceRun(const CReplaceRun&) = delete;
        CReplaceRun& operator=(const CReplaceRun&) = delete;
        // The line becomes `text` by replacing the occurrences, in order;
        // FALSE (nothing changed) for a read-only buffer.
        BOOL Line(int line, const std::wstring& text, const std::vector<Occurrence>& occurrences);
        // Records the undo steps (also done when the run ends).
        void Finish();

    private:
        struct Pending {
            BOOL insert = FALSE;
            CPoint start, end;
            std::wstring text; // a deletion's
        };
        void Add(BOOL insert, const CPoint& start, const CPoint& end, const wchar_t* text, int length);

        CTvTextBuffer& m_buffer;
        CTvTextView* m_source;
        std::wstring m_replacement;
        int m_nLength;
        // The last records made, as many as the undo list keeps, in a ring.
        std::vector<Pending> m_pending;
        size_t m_total = 0;
        bool m_finished = false;
    };

    // Puts "//" before, or takes it from, every line of the range that is
    // longer than three characters.
    void ToggleLineComments(CTvTextView* source, int firstLine, int lastLine);

    // -- line flags --------------------------------------------------------------
    void MarkLine(int line, DWORD flag, BOOL set = TRUE, BOOL removeFromOtherLine = TRUE);
    int FindFlaggedLine(DWORD flag) const;
    int GetFlaggedLine(DWORD flag) const;
    int FindNextMarkedLine(int line) const;
    int FindPrevMarkedLine(int line) const;

    // When set, a save keeps the previous file under the path followed by
    // ".bak".
    BOOL m_bCreateBackupFile = FALSE;
    // The most records the undo list keeps.
    int m_nUndoBufSize = 4096;

    static bool IsSingleBit(DWORD flag) { return flag != 0 && (flag & (flag - 1)) == 0; }

protected:
    const SLineInfo& Line(int line) const;
    SLineInfo& Line(int line);
    static void AllocLine(SLineInfo& info, const wchar_t* text, int length);
    static void AppendLine(SLineInfo& info, const wchar_t* chars, int count);
    static void FreeLine(SLineInfo& info);
    void ResetLines();
    // Inserts the text's pieces (see SplitPieces); with onlyCrLf a lone CR
    // stays a character, as it is in text taken out of the buffer.
    BOOL InsertPieces(CTvTextView* source, int line, int column, const wchar_t* text, int length, bool onlyCrLf,
                      int& endLine, int& endColumn);
    void AddUndoRecord(BOOL insert, const CPoint& start, const CPoint& end, const wchar_t* text, int length,
                       int action);
    void SyncModifiedFlag();

    // Splits and converts an 8-bit file's text into lines; the first line
    // (0-based) with bytes that are not text in the code page, or -1.
    int LoadBytes(const char* bytes, size_t size, UINT codePage);
    // Tells the user that a line of the file holds bytes that cannot be
    // read as text, so a save will not write them back as they were.
    void WarnUnreadableBytes(const wchar_t* path, int line);
    BOOL LoadUtf16File(const wchar_t* path);
    BOOL SaveUtf16File(const wchar_t* path, BOOL clearModified);
    // Writes the text into a temporary file beside the target, then puts
    // it in the target's place (keeping a ".bak" copy when asked).
    BOOL SaveThroughTemporary(const wchar_t* path, BOOL clearModified);
    // Tells the user that the file was not saved and why, leaves the
    // system's error code as the last error and returns FALSE.
    BOOL SaveFailed(const wchar_t* path, DWORD error, const CString& reason);
    // The lines in the buffer's encoding; throws CFileException* when a
    // write fails.  False, with the (column, line) of the character, when
    // a character has no form in the encoding.
    bool WriteText(CFile& file, CPoint& unwritable);

    BOOL m_bInit = FALSE;
    BOOL m_bReadOnly = FALSE;
    BOOL m_bModified = FALSE;
    int m_nCRLFMode = 0;
    WORD m_nEncoding = TVE_ANSI;
    BOOL m_bUtf8Mark = TRUE;
    std::vector<SLineInfo> m_aLines;
    std::deque<SUndoRecord> m_aUndoBuf;
    int m_nUndoPosition = 0;
    int m_nSyncPosition = 0;
    BOOL m_bUndoGroup = FALSE;
    BOOL m_bUndoBeginGroup = FALSE;
    int m_nGroupOpenedAt = 0; // the undo position when the open group began
    CPtrList m_lpViews;
};
