// The folder dialog: the shell's folder browser with an edit box above the
// folder tree, in which a path can also be typed, including one that does not
// exist yet; on OK a missing folder is created once the user agrees.
//
// The static members check folder names, create a folder chain and join path
// parts; the project and library dialogs use them to make sure a folder
// exists before they store anything in it.  Paths are at most 259 characters
// (the system's path limit with its terminator): longer ones are refused.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <shlobj.h>

class tkxPathDialog;

// The companion window attached to the open browser: it takes the browser's
// OK button and the changes of the edit box.
class CPathDialogSub : public CWnd
{
public:
    explicit CPathDialogSub(tkxPathDialog* owner) : m_pPathDialog(owner) {}
    ~CPathDialogSub() override;

protected:
    void OnOK();
    void OnChangeEditPath();
    DECLARE_MESSAGE_MAP()

private:
    tkxPathDialog* m_pPathDialog;
};

class CORVANE_API tkxPathDialog
{
public:
    // Control ids inside the browser: the folder tree, the prompt, the
    // status text and the edit box this dialog adds.
    enum { IDC_FOLDERTREE = 14145, IDC_TITLE_TEXT = 14146, IDC_STATUSTEXT = 14147, IDC_EDIT_PATH = 14148 };
    // The longest path accepted, in characters.
    enum { kMaxPathChars = MAX_PATH - 1 };

    // Caption (null: the shell's own), prompt shown above the tree, folder
    // selected at start (null: the current directory) and parent window.
    tkxPathDialog(const wchar_t* caption = nullptr, const wchar_t* title = nullptr,
                  const wchar_t* initialPath = nullptr, CWnd* parent = nullptr);
    ~tkxPathDialog();
    tkxPathDialog(const tkxPathDialog&) = delete;
    tkxPathDialog& operator=(const tkxPathDialog&) = delete;

    // 1 when a folder was accepted (it exists then), else -1.
    virtual int DoModal();
    // The accepted folder.
    CString GetPathName();

    // 1 for an acceptable folder or file name: not empty, not beginning or
    // ending with a blank, a tab or ".", none of  " * / : < > ? \ |.
    static int IsFileNameValid(const wchar_t* name);
    // Checks a path "X:\a\b" and, unless testOnly, creates its folders one by
    // one: 0 success, 1 an illegal or too long path, 2 a folder that cannot
    // be created.
    static int Touch(const wchar_t* path, int testOnly);
    // 0 when the folder exists or was created after the user agreed; -1 when
    // the user declined; 1 or 2 from Touch after a message.
    static int MakeSurePathExists(const wchar_t* path);
    // Appends a part to a path buffer of MAX_PATH characters: a drive root
    // "X:\" takes it directly, any other path with a "\" between.  0 done;
    // 1 refused (no path, a path of two characters or fewer, or a result
    // that would not fit); the buffer is unchanged then.
    static int ConcatPath(wchar_t* path, const wchar_t* part);

private:
    friend class CPathDialogSub;
    static int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data);
    void OnInitialized(HWND hwnd);
    void OnSelectionChanged(LPCITEMIDLIST item);
    // The chosen path from the edit box; FALSE when it does not fit.
    BOOL TakeEditText();

    CString m_strCaption;     // empty: the shell's own
    CString m_strInitialPath; // empty: the current directory
    CString m_strTitle;       // the prompt above the tree
    wchar_t m_szPathName[MAX_PATH];
    BROWSEINFOW m_bi;
    HWND m_hWnd;
    CWnd* m_pParentWnd;
    int m_bGetSuccess;
    CPathDialogSub m_PathDialogSub;
};
