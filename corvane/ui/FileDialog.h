// The suite's open and save dialog: the platform's file dialog with a panel
// of ours below it, which shows
// - a text preview of the selected data file and its type description
//   (from the suite's file-type table),
// - the ten folders most recently chosen (kept under HKEY_CURRENT_USER
//   "SOFTWARE\TavixSuite\TavixFileDialog" as "PATH0" .. "PATH9", the most
//   recent first); a double click opens one,
// - two buttons that open the current project's and the current road's
//   folder (hidden when there is no current project or road).
// A folder is opened by putting it into the platform dialog's file-name box
// and pressing its OK button, then putting the box's text back.
//
// The dialog object is bound to the panel, a child of the platform dialog
// (the template of this library given in m_ofn): the panel gets
// OnInitDialog and its own message map, and the platform dialog's
// notifications arrive as OnFileNameChange (the selection changed),
// OnFolderChange and OnTypeChange.
#pragma once
#include "corvane/ui/FileDialogHooks.h"
#include "corvane/ui/IconButton.h"

class CORVANE_API tkxFileDialog : public CFileDialog
{
    DECLARE_DYNAMIC(tkxFileDialog)
public:
    enum { kHistorySize = 10 };

    tkxFileDialog(BOOL openFileDialog = TRUE, const wchar_t* defExt = nullptr, const wchar_t* fileName = nullptr,
                  unsigned long flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                  const wchar_t* filter = L"文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*||", CWnd* parent = nullptr);
    ~tkxFileDialog() override;

    // The platform dialog's result; on OK the chosen file's folder becomes
    // the first of the history unless the history holds it already (in any
    // case).
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;

    // The platform dialog's file-name box: 1148 when the dialog has that
    // control, else 1152; 0 when it has neither.
    static int FindFileNameControl(HWND platformDialog);
    // The platform dialog (the panel's parent) while the dialog is open,
    // else null.
    HWND GetPlatformDialog() const;

protected:
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void OnButtonCurRoad();
    void OnButtonCurPrj();
    void OnDblclkList(NMHDR* header, LRESULT* result);
    void OnSize(UINT type, int cx, int cy);

    void ReadPathHistory();
    void SavePathHistory();
    void ShowFileInfo();
    // The first lines of a text file (at most 100 lines and 512 characters).
    CString GetTextPreview(const wchar_t* path);
    // Puts the text ("\n" line ends) into the edit box, replacing its
    // content (replace 1) or after it.
    void AddText(CEdit& edit, const wchar_t* text, int replace);
    // Opens the folder in the platform dialog; nothing for an empty folder,
    // a message for one that does not exist.
    void JumpToFolder(const CString& folder);

    CFileDlgHelper m_FileDlgHelper;
    CEdit m_wndPreview;
    tkxIconButton m_btnCurRoad;
    tkxIconButton m_btnCurPrj;
    int m_iFileNameCtrl;
    CStringArray m_SPathHistory; // kHistorySize folders, most recent first; "" for free places

    DECLARE_MESSAGE_MAP()

private:
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
