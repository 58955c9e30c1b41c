#include "PropertySheet.h"
#include "App.h"
#include "Controls.h"
#include "TempMap.h"
#include <cstring>

namespace {

// A page's dialog procedure: the page's object takes the window over when
// the sheet creates it (its WM_INITDIALOG carries the page record, whose
// lParam is the object); from then on the object's window procedure sees the
// page's messages.
INT_PTR CALLBACK PageDialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;
    auto* record = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
    auto* page = record ? reinterpret_cast<CPropertyPage*>(record->lParam) : nullptr;
    if (!page || CWnd::FromHandlePermanent(hwnd)) return TRUE;
    if (!page->SubclassWindow(hwnd)) return TRUE;
    return page->OnInitDialog();
}

bool IsExtendedTemplate(const BYTE* data)
{
    const WORD* words = reinterpret_cast<const WORD*>(data);
    return words[0] == 1 && words[1] == 0xFFFF;
}

DWORD* TemplateStyle(BYTE* data) { return reinterpret_cast<DWORD*>(data + (IsExtendedTemplate(data) ? 12 : 0)); }

} // namespace

// ---------------------------------------------------------------------------
// CPropertyPage

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId, HINSTANCE caller)
    : CDialog(templateId, nullptr, caller)
{
    if (captionId) m_strCaption.LoadString(captionId, caller);
}

CPropertyPage::CPropertyPage(const wchar_t* templateName, UINT captionId, HINSTANCE caller)
    : CDialog(templateName, nullptr, caller)
{
    if (captionId) m_strCaption.LoadString(captionId, caller);
}

BOOL CPropertyPage::CopyTemplate()
{
    if (!m_template.empty()) return TRUE;
    HINSTANCE module = FindTemplateModule();
    HRSRC resource = module ? ::FindResourceW(module, m_lpszTemplateName, RT_DIALOG) : nullptr;
    HGLOBAL handle = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = handle ? ::LockResource(handle) : nullptr;
    DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!data || size < sizeof(DLGTEMPLATE)) return FALSE;
    m_template.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    return TRUE;
}

void CPropertyPage::PreparePage(PROPSHEETPAGEW& page)
{
    page = PROPSHEETPAGEW{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = AfxGetInstanceHandle();
    page.pResource = reinterpret_cast<LPCDLGTEMPLATE>(m_template.data());
    page.pfnDlgProc = &PageDialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (!m_strCaption.IsEmpty()) {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = m_strCaption;
    }
}

BOOL CPropertyPage::Create(const wchar_t*, const wchar_t*, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                           CCreateContext*)
{
    if (!CopyTemplate()) return FALSE;
    std::vector<BYTE> copy = m_template;
    DWORD* templateStyle = TemplateStyle(copy.data());
    *templateStyle &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_DISABLED | WS_VISIBLE | DS_MODALFRAME);
    *templateStyle |= WS_CHILD | DS_CONTROL | (style & (WS_VISIBLE | WS_DISABLED | WS_BORDER | WS_CLIPSIBLINGS));
    HINSTANCE module = FindTemplateModule();
    if (!CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(copy.data()), parent, module)) return FALSE;
    SetDlgCtrlID(static_cast<int>(id));
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

// A page's data went over in OnKillActive; the sheet closes itself.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet) ::SendMessageW(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::PreTranslateMessage(MSG* msg)
{
    // In a sheet the sheet does the keyboard handling for all its pages.
    if (DYNAMIC_DOWNCAST(CPropertySheet, FromHandlePermanent(::GetParent(m_hWnd)))) return FALSE;
    return CDialog::PreTranslateMessage(msg);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || header->hwndFrom != ::GetParent(m_hWnd)) return CDialog::OnNotify(wParam, lParam, result);
    LRESULT answer = 0;
    switch (header->code) {
    case PSN_SETACTIVE:
        answer = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        answer = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        answer = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        answer = OnQueryCancel() ? FALSE : TRUE;
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, answer);
    *result = answer;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CPropertySheet

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet() : m_psh{} {}

CPropertySheet::CPropertySheet(const wchar_t* caption, CWnd* parent, UINT selectPage)
    : m_psh{}, m_pParentWnd(parent), m_strCaption(caption ? caption : L"")
{
    m_psh.nStartPage = selectPage;
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage, HINSTANCE caller)
    : m_psh{}, m_pParentWnd(parent)
{
    m_strCaption.LoadString(captionId, caller);
    m_psh.nStartPage = selectPage;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (page) m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[static_cast<size_t>(i)] == page) return i;
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd) return static_cast<int>(m_psh.nStartPage);
    HWND current = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    for (int i = 0; i < GetPageCount(); ++i)
        if (current && m_pages[static_cast<size_t>(i)]->m_hWnd == current) return i;
    return static_cast<int>(m_psh.nStartPage);
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

BOOL CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount()) return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(index);
        return TRUE;
    }
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0));
}

void CPropertySheet::SetTitle(const wchar_t* title)
{
    m_strCaption = title ? title : L"";
    if (m_hWnd) ::SendMessageW(m_hWnd, PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(static_cast<const wchar_t*>(m_strCaption)));
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return static_cast<CTabCtrl*>(FromHandle(reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0))));
}

INT_PTR CPropertySheet::DoModal()
{
    AfxInitCommonControls();
    std::vector<PROPSHEETPAGEW> records(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CPropertyPage* page = m_pages[i];
        if (!page->CopyTemplate()) return -1;
        page->m_bFirstSetActive = TRUE;
        page->PreparePage(records[i]);
    }
    HWND owner = ClModalOwner(m_pParentWnd);

    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_WIZARD) | PSH_PROPSHEETPAGE | PSH_MODELESS;
    m_psh.hwndParent = owner;
    m_psh.hInstance = AfxGetInstanceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(records.size());
    if (m_psh.nStartPage >= m_psh.nPages) m_psh.nStartPage = 0;
    m_psh.ppsp = records.data();

    // The sheet runs modeless under the library's own modal loop, its owner
    // disabled meanwhile, as a dialog's DoModal does.
    BOOL enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner) ::EnableWindow(owner, FALSE);
    m_nModalResult = IDCANCEL;
    AfxHookWindowCreate(this);
    HWND sheet = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
    if (!AfxUnhookWindowCreate() || !sheet) {
        if (m_hWnd) Detach();
        if (enableOwner) ::EnableWindow(owner, TRUE);
        return -1;
    }
    m_nFlags |= WF_CONTINUEMODAL;
    RunModalLoop(0x4); // shown at the first idle moment
    m_nFlags &= ~WF_CONTINUEMODAL;
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

BOOL CPropertySheet::ContinueModal()
{
    // A modeless sheet has no current page once OK or Cancel closed it.
    return CWnd::ContinueModal() && ::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    LRESULT result = Default();
    OnInitDialog();
    return result;
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

LRESULT CPropertySheet::OnKickIdle(WPARAM wParam, LPARAM count)
{
    // The modal loop's idle pass: the current page updates its controls and
    // lets the temporary objects go, as a dialog does.
    CPropertyPage* page = GetActivePage();
    if (page && page->m_hWnd) return page->SendMessage(WM_KICKIDLE, wParam, count);
    if (count == 0) return TRUE;
    ClFreeTempLevel();
    return FALSE;
}

void CPropertySheet::OnOK()
{
    Default();
    if (!::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)) m_nModalResult = IDOK;
}

void CPropertySheet::OnCancel()
{
    Default();
    if (!::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)) m_nModalResult = IDCANCEL;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd) return FALSE;
    return static_cast<BOOL>(::SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)));
}
