// Dialogs and dialog data exchange.
//
// CDialog runs a template as a modal dialog (DoModal: the library's own
// modal loop, the owner disabled meanwhile) or as a modeless one (Create).
// The template is looked for first in the module whose code constructed the
// dialog (or called Create), then in the other resource modules
// (Resources.h); a class that builds dialogs for its own callers takes the
// `caller` argument and hands it on.  OnInitDialog fills the controls (UpdateData
// FALSE); OnOK reads them back (UpdateData TRUE) and closes only when every
// exchange and check passed.
//
// Data exchange: DoDataExchange calls DDX_ and DDV_ routines in control
// order.  A failed conversion or range check shows the library's message,
// puts the focus on the control (selecting an edit's text) and stops the
// exchange with CUserException; UpdateData then answers FALSE.
#pragma once
#include "Wnd.h"
#include "Exceptions.h"

class CLASSLIB_API CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(HINSTANCE caller = ClCallerModule());
    explicit CDialog(UINT templateId, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    explicit CDialog(const wchar_t* templateName, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Modeless: a child or popup of `parent` (or of the main window).
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    virtual BOOL Create(const wchar_t* templateName, CWnd* parent = nullptr, HINSTANCE caller = ClCallerModule());
    BOOL CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, HINSTANCE resources = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* control) { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)control->GetSafeHwnd(), 1); }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
    void MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

    const wchar_t* m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;
    HINSTANCE m_hResourceModule; // the module that asked for the dialog

protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    // The modal loop's idle pass: first the controls that have update
    // handlers in the dialog's own message map follow them, then the
    // temporary objects made while the dialog runs are freed.
    LRESULT OnKickIdle(WPARAM, LPARAM count);
    // The module that holds the template, searched from the asking module.
    HINSTANCE FindTemplateModule() const;
    LPCDLGTEMPLATE LoadTemplate(HINSTANCE* module) const;
    DECLARE_MESSAGE_MAP()

private:
    CString m_templateName; // keeps a named template's text alive
};

// The owner of a modal window asked for with `parent`: its top-level window,
// or else the application's main window, or else the active window.
CLASSLIB_API HWND ClModalOwner(CWnd* parent);

// The exception that ends a failed exchange; it carries no message (the
// user already saw one).
class CLASSLIB_API CUserException : public CSimpleException
{
    DECLARE_DYNAMIC(CUserException)
};
[[noreturn]] CLASSLIB_API void AfxThrowUserException();

class CLASSLIB_API CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
    UINT m_idLastControl = 0;

    HWND PrepareCtrl(int id);     // the control (remembered for Fail)
    HWND PrepareEditCtrl(int id); // the same, and Fail selects its text
    // Focuses the last prepared control and ends the exchange.
    [[noreturn]] void Fail();
};

// Text with %1 and %2 replaced.
CLASSLIB_API CString AfxFormatString2(const wchar_t* format, const wchar_t* one, const wchar_t* two);

CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, CString& value);
CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, int& value);
CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, UINT& value);
CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, long& value);
CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, short& value);
CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, double& value);
CLASSLIB_API void DDX_Text(CDataExchange* pDX, int id, float& value);
CLASSLIB_API void DDX_Check(CDataExchange* pDX, int id, int& value);
CLASSLIB_API void DDX_Radio(CDataExchange* pDX, int id, int& value);
CLASSLIB_API void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
CLASSLIB_API void DDX_CBString(CDataExchange* pDX, int id, CString& value);
CLASSLIB_API void DDX_LBIndex(CDataExchange* pDX, int id, int& index);
CLASSLIB_API void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

CLASSLIB_API void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
CLASSLIB_API void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);
CLASSLIB_API void DDV_MinMaxShort(CDataExchange* pDX, short value, short minValue, short maxValue);
CLASSLIB_API void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minValue, double maxValue);
CLASSLIB_API void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars);

// The library's standard messages of the exchange.
#define CL_MSG_PARSE_INT L"请输入一个整数。"
#define CL_MSG_PARSE_REAL L"请输入一个数字。"
#define CL_MSG_PARSE_INT_RANGE L"请输入一个在 %1 和 %2 之间的整数。"
#define CL_MSG_PARSE_REAL_RANGE L"请输入一个在 %1 和 %2 之间的数字。"
#define CL_MSG_PARSE_STRING_SIZE L"请输入不超过 %1 个字符。"
#define CL_MSG_PARSE_RADIO_BUTTON L"请选择一个按钮。"
