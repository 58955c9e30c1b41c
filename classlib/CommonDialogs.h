// The system's common dialogs: open and save (CFileDialog), colour
// (CColorDialog), and the modeless find and replace (CFindReplaceDialog).
//
// The open and save dialogs and the colour dialog run modally through the
// system's own loop, owned by the given parent's top-level window or else by
// the application's main window.  Filters are given as "text|pattern|...|"
// pairs ending with "||".
#pragma once
#include "Dialog.h"
#include <commdlg.h>
#include <vector>

// The system's macro would rename the GetFileTitle members of the library's
// file classes (CFile, CFileFind, CFileDialog) wherever this header is seen.
#undef GetFileTitle

class CLASSLIB_API CFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    // `size` 0: the buffer for the chosen names holds 4,096 characters; a
    // caller that wants more (several files) points m_ofn.lpstrFile at its
    // own buffer and sets m_ofn.nMaxFile.
    explicit CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension = nullptr,
                         const wchar_t* fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                         CWnd* parent = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise (also when the
    // system refused the dialog, for example a buffer too small).
    INT_PTR DoModal() override;

    // The chosen file: full path, name with extension, extension without the
    // dot, name without extension.  With several files chosen, the first.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    // The chosen files one by one (several with OFN_ALLOWMULTISELECT).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& position) const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    OPENFILENAMEW m_ofn;

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter; // "\0"-separated
    CString m_strDefExt;
    std::vector<wchar_t> m_fileBuffer;
    wchar_t m_szFileTitle[MAX_PATH];
};

class CLASSLIB_API CColorDialog : public CDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    // The sixteen custom colours, kept between dialogs of the program.
    static COLORREF* GetSavedCustomColors();

    CHOOSECOLORW m_cc;
};

// The modeless find or replace dialog.  Create it with new; it deletes
// itself when its window closes.  Each button sends the parent the
// registered message FINDMSGSTRING with the dialog's FINDREPLACE block as
// lParam (GetNotifier finds the object).
class CLASSLIB_API CFindReplaceDialog : public CDialog
{
    DECLARE_DYNAMIC(CFindReplaceDialog)
public:
    CFindReplaceDialog();
    BOOL Create(BOOL findOnly, const wchar_t* findWhat, const wchar_t* replaceWith = nullptr,
                DWORD flags = FR_DOWN, CWnd* parent = nullptr);
    static CFindReplaceDialog* GetNotifier(LPARAM lParam);
    // The number of the registered message.
    static UINT GetFindReplaceMessage();

    CString GetFindString() const { return m_fr.lpstrFindWhat; }
    CString GetReplaceString() const { return m_fr.lpstrReplaceWith; }
    BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    BOOL ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
    BOOL ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
    BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

    void PostNcDestroy() override;
    void OnOK() override;
    void OnCancel() override;

    FINDREPLACEW m_fr;

protected:
    wchar_t m_szFindWhat[128];
    wchar_t m_szReplaceWith[128];
};
