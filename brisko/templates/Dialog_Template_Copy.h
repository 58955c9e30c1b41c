// The template-name dialog: asks for the new file name of a template that
// is saved under another name or renamed.  OK only for a name that differs
// from the old one, that names a file of the library folder (no folder
// elsewhere, none of  \ / : * ? " < > |  in the name) and that the current
// library does not list yet; saving as, also no file of that name may exist.
#pragma once
#include "classlib/ClassLib.h"

class CDialog_Template_Copy : public CDialog
{
public:
    explicit CDialog_Template_Copy(CWnd* parent = nullptr);

    CString m_SNewName;
    CString m_SOldName;
    int m_bRename = 0; // 0 save as, 1 rename

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // Empty when the name may be used, else the message.
    CString CheckNewName() const;
};
