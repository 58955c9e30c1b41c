#include "Dialog.h"
#include "App.h"
#include "Frame.h"
#include "TempMap.h"

namespace {

INT_PTR CALLBACK ClDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    // The dialog's object handles its messages in the window procedure; the
    // dialog procedure only lets the system set the first focus.
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Update requests through the dialog's own message map only: its control
// ids are not commands of the frame or the application.
class OwnMessageMap : public CCmdTarget
{
public:
    explicit OwnMessageMap(CWnd* wnd) : m_wnd(wnd) {}
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        return m_wnd->CCmdTarget::OnCmdMsg(id, code, extra, info);
    }

private:
    CWnd* m_wnd;
};

HWND TopLevelOf(HWND hwnd)
{
    while (hwnd && (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = ::GetParent(hwnd);
    return hwnd;
}

} // namespace

HWND ClModalOwner(CWnd* parent)
{
    HWND owner = parent ? parent->GetSafeHwnd() : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        owner = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : ::GetActiveWindow();
    }
    return TopLevelOf(owner);
}

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)

void AfxThrowUserException() { throw new CUserException; }

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(HINSTANCE caller) : m_hResourceModule(caller) {}

CDialog::CDialog(UINT templateId, CWnd* parent, HINSTANCE caller)
    : m_lpszTemplateName(MAKEINTRESOURCEW(templateId)), m_nIDHelp(templateId), m_pParentWnd(parent),
      m_hResourceModule(caller)
{
}

CDialog::CDialog(const wchar_t* templateName, CWnd* parent, HINSTANCE caller)
    : m_pParentWnd(parent), m_hResourceModule(caller)
{
    if (IS_INTRESOURCE(templateName)) {
        m_lpszTemplateName = templateName;
    } else {
        m_templateName = templateName;
        m_lpszTemplateName = m_templateName;
    }
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
}

HINSTANCE CDialog::FindTemplateModule() const
{
    return AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG, m_hResourceModule);
}

LPCDLGTEMPLATE CDialog::LoadTemplate(HINSTANCE* module) const
{
    if (!m_lpszTemplateName) return nullptr;
    HINSTANCE found = FindTemplateModule();
    if (!found) return nullptr;
    HRSRC resource = ::FindResourceW(found, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL data = resource ? ::LoadResource(found, resource) : nullptr;
    if (!data) return nullptr;
    *module = found;
    return static_cast<LPCDLGTEMPLATE>(::LockResource(data));
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, HINSTANCE resources)
{
    m_pParentWnd = parent;
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateDialogIndirectParamW(resources ? resources : AfxGetInstanceHandle(), dialogTemplate,
                                             parent->GetSafeHwnd(), &ClDialogProc, 0);
    AfxUnhookWindowCreate();
    if (!hwnd && m_hWnd) Detach();
    return hwnd != nullptr;
}

BOOL CDialog::Create(const wchar_t* templateName, CWnd* parent, HINSTANCE caller)
{
    m_hResourceModule = caller;
    if (!IS_INTRESOURCE(templateName)) {
        m_templateName = templateName;
        templateName = m_templateName;
    }
    m_lpszTemplateName = templateName;
    HINSTANCE module = nullptr;
    LPCDLGTEMPLATE dialogTemplate = LoadTemplate(&module);
    if (!dialogTemplate) return FALSE;
    if (!parent) {
        CWinApp* app = AfxGetApp();
        parent = app ? app->m_pMainWnd : nullptr;
    }
    return CreateIndirect(dialogTemplate, parent, module);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent, HINSTANCE caller)
{
    return Create(MAKEINTRESOURCEW(templateId), parent, caller);
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE module = nullptr;
    LPCDLGTEMPLATE dialogTemplate = LoadTemplate(&module);
    if (!dialogTemplate) return -1;

    HWND owner = ClModalOwner(m_pParentWnd);
    BOOL enableOwner = FALSE;
    if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = TRUE;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    CWnd* parent = m_pParentWnd;
    if (CreateIndirect(dialogTemplate, CWnd::FromHandle(owner), module)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD flags = 0x4; // show on idle
            if (GetStyle() & DS_NOIDLEMSG) flags |= 0x1;
            RunModalLoop(flags);
        }
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (owner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    DestroyWindow();
    m_pParentWnd = parent;
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(result);
    m_nModalResult = result;
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    Default();
    return OnInitDialog();
}

LRESULT CDialog::OnKickIdle(WPARAM, LPARAM count)
{
    if (count == 0) {
        OwnMessageMap target(this);
        UpdateDialogControls(&target, FALSE);
        return TRUE;
    }
    ClFreeTempLevel();
    return FALSE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if ((nCode != CN_COMMAND && nCode != static_cast<int>(CN_UPDATE_COMMAND_UI)) || nID >= 0xF000) return FALSE;
    // Commands the dialog does not handle go to its owning frame, then to
    // the application.
    CWnd* owner = FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER));
    if (owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && owner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
