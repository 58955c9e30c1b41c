// The data-file document: one open text data file of the suite in the
// editor's text buffer, with its file type found by extension (the index of
// the extension in the application's file-style table, 29 when unknown),
// shown in the title as "<path>:[<type name>]", and a watch on the file so
// that changes made by other programs are noticed.
//
// Saving writes through the buffer (a temporary file replaces the old one
// only when written whole); a failed save is reported and the document
// stays modified.  The watch is taken again after every write, so that the
// program's own save is not reported as another program's change.  A reload
// after another program's change asks first when the document holds unsaved
// edits, reads the file into a fresh buffer and takes the text over only
// when the whole file was read.
#pragma once
#include "classlib/ClassLib.h"
#include "brisko/editor/TvTextBuffer.h"

// The file type of an extension missing from the file-style table.
constexpr int kUnknownFileType = 29;
// The type name of a file whose type is not known.
extern const wchar_t kUnknownTypeName[];

class CBriskoDoc : public CDocument
{
    DECLARE_DYNCREATE(CBriskoDoc)
public:
    // The document's text: every change of the buffer's modified state
    // goes to the document's flag, the buffer's own flag stays off.
    class CBriskoTextBuffer : public CTvTextBuffer
    {
    public:
        explicit CBriskoTextBuffer(CBriskoDoc* owner = nullptr) : m_pOwnerDoc(owner) {}
        ~CBriskoTextBuffer() override;
        void SetModified(BOOL modified = TRUE) override;
        CBriskoDoc* m_pOwnerDoc;
    };

    CBriskoDoc();
    ~CBriskoDoc() override;

    void SetTitle(const wchar_t* title) override;
    void SetPathName(const wchar_t* path, BOOL addToRecentList = TRUE) override;
    BOOL IsModified() override;
    void SetModifiedFlag(BOOL modified = TRUE) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    // A project file (".epj") is refused with a message; the file is read
    // while other programs may still write it.
    BOOL OnOpenDocument(const wchar_t* path) override;
    // The result of the write; a failure is reported and leaves the
    // document modified (closing it then keeps it open).
    BOOL OnSaveDocument(const wchar_t* path) override;
    // Save: under the document's path, or under a name chosen in the save
    // dialog when it has none.  FALSE when cancelled or failed.
    BOOL DoFileSave() override;

    // The file type number of a path's extension (29 when unknown).
    static int GetFileTypeIndex(const wchar_t* path);
    // The extension of the document's path with its dot, as the file-name
    // helper gives it (lower case); empty without a path.
    CString GetFileExtension() const;
    // Reads the file again after another program changed it.  A modified
    // document asks first; the file goes into a fresh buffer and replaces
    // the text only when it was read whole.  TRUE when the text was
    // replaced.
    BOOL ReloadFromDisk();
    // Watches the document's file (the application's AUTORELOAD setting
    // decides whether the watcher asks before telling the view).
    void RegisterFileWatch();
    // The editor settings, passed to every view of the document.
    void SetTabWidth(int width);
    void SetMarginWidth(int width);
    void SetLinePitch(int pitch);
    // The layout of a cross-section ground-line file from its first data
    // line: 1 numbers only (relative data, also for an empty line), 3 with
    // "ABS1", 2 with "ABS", 0 otherwise.  Also stored in CurHdxSection.
    int GetHdxFormat(const CString& firstLine);

    int GetFileType() const { return m_iFileType; }
    const CString& GetFileTypeName() const { return m_SFileTypeName; }
    DWORD GetFileWatchId() const { return m_dwFileWatch; }
    CTvTextBuffer* GetTextBuffer() { return &m_TextBuffer; }

    int m_iFileType;
    CString m_SFileTypeName;
    CBriskoTextBuffer m_TextBuffer;
    LOGFONTW m_lf;
    int m_iReserved;
    DWORD m_dwFileWatch;

protected:
    void OnFileReadOnly();
    void OnUpdateFileReadOnly(CCmdUI* ui);
    void OnFileSave();
    void OnFileSaveAll();
    DECLARE_MESSAGE_MAP()

private:
    void RemoveWatch();
    void TakeFileType(const wchar_t* path);
};

// The save dialog's filter of the data files.
extern const wchar_t kDataFileFilter[];
