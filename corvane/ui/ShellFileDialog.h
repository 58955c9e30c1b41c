// The platform's explorer-style open and save dialog as a dialog object of
// the class library.
//
// The object is bound to the dialog's child panel: the template named in
// m_ofn (OFN_ENABLETEMPLATE with hInstance and lpTemplateName), which the
// platform dialog places inside itself; the platform dialog is the panel's
// parent.  The panel gets OnInitDialog and its own message map like any
// dialog; the platform dialog's notifications arrive as OnFileNameChange
// (the selection changed), OnFolderChange and OnTypeChange.
//
// The filter is given in the "name|pattern|name|pattern||" form.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <commdlg.h>
#include <string>
#include <vector>

class CORVANE_API CShellFileDialog : public CDialog
{
    DECLARE_DYNAMIC(CShellFileDialog)
public:
    CShellFileDialog(BOOL openFileDialog, const wchar_t* defExt = nullptr, const wchar_t* fileName = nullptr,
                     DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                     CWnd* parent = nullptr);
    ~CShellFileDialog() override;

    // IDOK when a file was chosen, IDCANCEL otherwise.
    INT_PTR DoModal() override;

    // While the dialog is open: the platform dialog's current choice (folder
    // plus the name in its file-name box); afterwards the chosen file.
    CString GetPathName() const;
    // The folder shown while the dialog is open; empty otherwise.
    CString GetFolderPath() const;
    // The platform dialog (the panel's parent) while open, else null.
    HWND GetPlatformDialog() const;

    OPENFILENAMEW m_ofn;
    BOOL m_bOpenFileDialog;

protected:
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Text answered by a CDM_ query of the platform dialog, of any length.
    CString QueryPlatformText(UINT message) const;

    std::wstring m_filter;       // the filter with its separators as zeros
    std::vector<wchar_t> m_file; // the file-name buffer the platform dialog fills
    CString m_defExt;
};
