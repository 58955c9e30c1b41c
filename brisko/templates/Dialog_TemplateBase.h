// The library dialog: creates a slope-template library (mode 0), opens one
// of the registered libraries (mode 1: a click on a row shows it, a double
// click opens it), or shows and changes the current library's information
// (mode 2).  The caller pre-fills the four texts for modes 1 and 2 and
// reads them back after OK; creating and storing a library is the caller's.
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/ui/IconButton.h"

class CDialog_TemplateBase : public CDialog
{
public:
    explicit CDialog_TemplateBase(CWnd* parent = nullptr);

    enum { kCreate = 0, kOpen = 1, kModify = 2 };
    short m_nMode = kCreate;
    CString m_SDescription;
    CString m_SName;
    CString m_SPath;
    CString m_SCreateTime;
    CStringArray m_SNames; // the registered libraries
    CStringArray m_SPaths;

    CListCtrl m_wndList;
    CImageList m_ilList;
    tkxIconButton m_btnBrowse;
    CBitmap m_bmpPicture;

    // The list's row of the library, the way a click chooses it: a click
    // shows the library, a double click opens it (open mode).
    void ShowRow(int row);
    void OpenRow(int row);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNameChange();
    void OnBrowse();
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    void Refresh();
    // Empty when the texts may be taken, else the message.
    CString CheckEdits();
    bool m_bFilling = false;
};
