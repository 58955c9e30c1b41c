#include "CommonDialogs.h"
#include "App.h"
#include <iterator>

// ---------------------------------------------------------------------------
// CFileDialog

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, const wchar_t* defaultExtension, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent)
    : m_ofn{}, m_bOpenFileDialog(openFileDialog), m_fileBuffer(4096, L'\0'), m_szFileTitle{}
{
    m_pParentWnd = parent;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    if (fileName) lstrcpynW(m_fileBuffer.data(), fileName, static_cast<int>(m_fileBuffer.size()));
    if (defaultExtension) {
        m_strDefExt = defaultExtension;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (filter) {
        // "text|pattern|...||" becomes the system's "text\0pattern\0...\0\0".
        m_strFilter = filter;
        if (m_strFilter.Right(1) != L"|") m_strFilter += L"|";
        m_strFilter += L"|";
        wchar_t* buffer = m_strFilter.GetBuffer();
        for (int i = 0; i < m_strFilter.GetLength(); ++i)
            if (buffer[i] == L'|') buffer[i] = L'\0';
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = ClModalOwner(m_pParentWnd);
    BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_ofn.lpstrFile && *m_ofn.lpstrFile ? reinterpret_cast<POSITION>(m_ofn.lpstrFile) : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& position) const
{
    const wchar_t* current = reinterpret_cast<const wchar_t*>(position);
    position = nullptr;
    if (!current) return CString();
    // One file: the full path.  Several: the folder, then each name, each
    // ending with a zero, the list with two.
    const wchar_t* folder = m_ofn.lpstrFile;
    size_t folderLength = wcslen(folder);
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || folder[folderLength + 1] == L'\0') return CString(folder);
    if (current == folder) current = folder + folderLength + 1;
    CString path(folder);
    if (path.Right(1) != L"\\") path += L"\\";
    path += current;
    const wchar_t* next = current + wcslen(current) + 1;
    if (*next) position = reinterpret_cast<POSITION>(const_cast<wchar_t*>(next));
    return path;
}

CString CFileDialog::GetPathName() const
{
    POSITION position = GetStartPosition();
    return GetNextPathName(position);
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    return path.Mid(path.ReverseFind(L'\\') + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

// ---------------------------------------------------------------------------
// CColorDialog

IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : m_cc{}
{
    m_pParentWnd = parent;
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = initial;
    m_cc.Flags = flags | (initial ? CC_RGBINIT : 0);
    m_cc.lpCustColors = GetSavedCustomColors();
}

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF colours[16] = {RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                   RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                   RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
                                   RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return colours;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = ClModalOwner(m_pParentWnd);
    return ::ChooseColorW(&m_cc) ? IDOK : IDCANCEL;
}

// ---------------------------------------------------------------------------
// CFindReplaceDialog

IMPLEMENT_DYNAMIC(CFindReplaceDialog, CDialog)

CFindReplaceDialog::CFindReplaceDialog() : m_fr{}, m_szFindWhat{}, m_szReplaceWith{}
{
    m_fr.lStructSize = sizeof(m_fr);
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = static_cast<WORD>(std::size(m_szFindWhat));
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = static_cast<WORD>(std::size(m_szReplaceWith));
    m_fr.lCustData = reinterpret_cast<LPARAM>(this);
}

UINT CFindReplaceDialog::GetFindReplaceMessage()
{
    static const UINT message = ::RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

CFindReplaceDialog* CFindReplaceDialog::GetNotifier(LPARAM lParam)
{
    auto* block = reinterpret_cast<FINDREPLACEW*>(lParam);
    return block ? reinterpret_cast<CFindReplaceDialog*>(block->lCustData) : nullptr;
}

BOOL CFindReplaceDialog::Create(BOOL findOnly, const wchar_t* findWhat, const wchar_t* replaceWith, DWORD flags,
                                CWnd* parent)
{
    if (findWhat) lstrcpynW(m_szFindWhat, findWhat, static_cast<int>(std::size(m_szFindWhat)));
    if (replaceWith) lstrcpynW(m_szReplaceWith, replaceWith, static_cast<int>(std::size(m_szReplaceWith)));
    m_fr.Flags = flags;
    m_fr.hwndOwner = parent && parent->GetSafeHwnd() ? parent->GetSafeHwnd() : ClModalOwner(nullptr);
    m_pParentWnd = parent;
    // The dialog is bound to this object as it is created; its buttons keep
    // the system's handling.
    AfxHookWindowCreate(this);
    HWND hwnd = findOnly ? ::FindTextW(&m_fr) : ::ReplaceTextW(&m_fr);
    if (!AfxUnhookWindowCreate() || !hwnd) {
        if (m_hWnd) Detach();
        return FALSE;
    }
    return TRUE;
}

void CFindReplaceDialog::PostNcDestroy() { delete this; }

// The dialog's buttons keep the system's handling (they notify the owner).
void CFindReplaceDialog::OnOK() { Default(); }
void CFindReplaceDialog::OnCancel() { Default(); }
