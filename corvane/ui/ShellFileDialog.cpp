#include "corvane/ui/ShellFileDialog.h"

namespace {

// Room for a long path or a multiple selection.
const size_t kFileBufferChars = 32768;

} // namespace

IMPLEMENT_DYNAMIC(CShellFileDialog, CDialog)

CShellFileDialog::CShellFileDialog(BOOL openFileDialog, const wchar_t* defExt, const wchar_t* fileName, DWORD flags,
                                   const wchar_t* filter, CWnd* parent)
    : m_ofn{}, m_bOpenFileDialog(openFileDialog), m_file(kFileBufferChars, L'\0'), m_defExt(defExt ? defExt : L"")
{
    m_pParentWnd = parent;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags;
    m_ofn.lpstrFile = m_file.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_file.size());
    if (fileName) wcsncpy(m_file.data(), fileName, m_file.size() - 1);
    if (defExt) m_ofn.lpstrDefExt = m_defExt;
    if (filter) {
        m_filter = filter;
        for (wchar_t& ch : m_filter)
            if (ch == L'|') ch = L'\0';
        m_filter.push_back(L'\0');
        m_ofn.lpstrFilter = m_filter.c_str();
    }
}

CShellFileDialog::~CShellFileDialog() = default;

INT_PTR CShellFileDialog::DoModal()
{
    m_ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = &CShellFileDialog::HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    HWND owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!owner) {
        CWinApp* app = AfxGetApp();
        owner = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    }
    m_ofn.hwndOwner = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;

    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    if (m_hWnd) UnsubclassWindow();
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CShellFileDialog::HookProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return 0;
    auto* dialog = reinterpret_cast<CShellFileDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
    if (!dialog || !dialog->SubclassWindow(hwnd)) return 0;
    return dialog->OnInitDialog();
}

HWND CShellFileDialog::GetPlatformDialog() const { return m_hWnd ? ::GetParent(m_hWnd) : nullptr; }

CString CShellFileDialog::QueryPlatformText(UINT message) const
{
    HWND platform = GetPlatformDialog();
    if (!platform) return CString();
    const LRESULT needed = ::SendMessageW(platform, message, 0, 0);
    if (needed <= 0) return CString();
    std::vector<wchar_t> text(static_cast<size_t>(needed) + 1, L'\0');
    ::SendMessageW(platform, message, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.back() = 0;
    return CString(text.data());
}

CString CShellFileDialog::GetPathName() const
{
    if (m_hWnd) return QueryPlatformText(CDM_GETFILEPATH);
    return CString(m_file.data());
}

CString CShellFileDialog::GetFolderPath() const { return QueryPlatformText(CDM_GETFOLDERPATH); }

void CShellFileDialog::OnFileNameChange() {}
void CShellFileDialog::OnFolderChange() {}
void CShellFileDialog::OnTypeChange() {}

BOOL CShellFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == GetPlatformDialog()) {
        switch (header->code) {
        case CDN_SELCHANGE: OnFileNameChange(); break;
        case CDN_FOLDERCHANGE: OnFolderChange(); break;
        case CDN_TYPECHANGE: OnTypeChange(); break;
        default: return CDialog::OnNotify(wParam, lParam, result);
        }
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}
