// Small dialogs several parts of the program share: the question box with two
// named choices and the viewer of a schematic picture.
#pragma once
#include "classlib/ClassLib.h"

// A question with two named answers and Cancel.
class CDialog_Select : public CDialog
{
public:
    explicit CDialog_Select(CWnd* parent = nullptr);

    CString m_SCaption;
    CString m_SFirst;
    CString m_SSecond;
    CString m_SMessage;
    // 1 the first answer, 2 the second, 0 Cancel or the close box.
    short m_nResult = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnSecond();
    DECLARE_MESSAGE_MAP()
};

// Shows a bitmap of the program's resources under a caption; any click or key
// closes it.
class CDialog_ViewSYT : public CDialog
{
public:
    CDialog_ViewSYT(CWnd* parent, const CString& caption, UINT bitmap);

    CString m_SCaption;
    UINT m_nBitmap;
    HBITMAP m_hBitmap = nullptr;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    BOOL OnInitDialog() override;
    void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// Asks with CDialog_Select under the main window: 1 first, 2 second, 0 Cancel.
short SelectMessageBox(const wchar_t* caption, const wchar_t* message, const wchar_t* first, const wchar_t* second);
// Shows the bitmap with CDialog_ViewSYT.
void ShowSchematicDialog(CWnd* parent, CString caption, UINT bitmap);

// Gives a dialog the program icon as its big icon.
void SetAppIcon(CWnd* dialog);
