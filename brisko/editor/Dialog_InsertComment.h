// The insert-comment dialog: the user picks a data-file type (preset to
// the type of the file's extension) and sees the header comment that the
// file-style table holds for it.
#pragma once
#include "classlib/ClassLib.h"

class CDialog_InsertComment : public CDialog
{
public:
    explicit CDialog_InsertComment(CWnd* parent = nullptr);
    ~CDialog_InsertComment() override;

    // The comment of a type as it is shown and inserted: every piece up to
    // and with a "\n" gets a CR before its "\n"; text after the last "\n" is
    // left out.
    static CString CommentLines(const CString& comment);

    int m_iType;          // the chosen type, -1 for none
    CString m_SPreview;
    CString m_SFilePath;  // the document's path

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnTypeChanged();
    DECLARE_MESSAGE_MAP()

private:
    void FillPreview();
    HICON m_hIcon = nullptr;
};
