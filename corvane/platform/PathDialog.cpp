#include "corvane/platform/PathDialog.h"
#include <cwchar>
#include <string>

namespace {

const wchar_t kCaption[] = L"TAVIX";

bool FolderExists(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDriveLetter(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }

// The top-level window above the parent, else the program's main window.
HWND SafeOwner(CWnd* parent)
{
    HWND window = parent ? parent->GetSafeHwnd() : nullptr;
    if (!window) {
        CWinApp* app = AfxGetApp();
        window = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    }
    return window ? ::GetAncestor(window, GA_ROOT) : nullptr;
}

// Copies at most `chars` - 1 characters and terminates.
void CopyBounded(wchar_t* buffer, size_t chars, const wchar_t* text)
{
    size_t n = text ? wcsnlen(text, chars - 1) : 0;
    if (n) wmemcpy(buffer, text, n);
    buffer[n] = 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Companion window

BEGIN_MESSAGE_MAP(CPathDialogSub, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_EN_CHANGE(tkxPathDialog::IDC_EDIT_PATH, OnChangeEditPath)
END_MESSAGE_MAP()

CPathDialogSub::~CPathDialogSub()
{
    if (m_hWnd) UnsubclassWindow();
}

void CPathDialogSub::OnOK()
{
    tkxPathDialog* dialog = m_pPathDialog;
    CString text;
    GetDlgItemText(tkxPathDialog::IDC_EDIT_PATH, text);
    dialog->TakeEditText();
    if (tkxPathDialog::MakeSurePathExists(text) != 0) {
        ::SetFocus(::GetDlgItem(m_hWnd, tkxPathDialog::IDC_EDIT_PATH));
        return;
    }
    dialog->m_bGetSuccess = 1;
    ::EndDialog(m_hWnd, 1);
}

void CPathDialogSub::OnChangeEditPath()
{
    m_pPathDialog->TakeEditText();
    const BOOL any = ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, tkxPathDialog::IDC_EDIT_PATH)) > 0;
    ::SendMessageW(m_hWnd, BFFM_ENABLEOK, 0, any);
}

// ---------------------------------------------------------------------------
// The dialog

tkxPathDialog::tkxPathDialog(const wchar_t* caption, const wchar_t* title, const wchar_t* initialPath, CWnd* parent)
    : m_strCaption(caption ? caption : L""), m_strInitialPath(initialPath ? initialPath : L""),
      m_strTitle(title ? title : L""), m_szPathName{}, m_bi{}, m_hWnd(nullptr), m_pParentWnd(parent),
      m_bGetSuccess(0), m_PathDialogSub(this)
{
    m_bi.hwndOwner = SafeOwner(parent);
    m_bi.lpszTitle = title ? m_strTitle.GetString() : nullptr;
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    m_bi.lpfn = &tkxPathDialog::BrowseCallback;
}

tkxPathDialog::~tkxPathDialog() = default;

CString tkxPathDialog::GetPathName() { return CString(m_szPathName); }

int tkxPathDialog::DoModal()
{
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
    m_bGetSuccess = 0;
    m_PathDialogSub.m_nFlags &= ~WF_MODALLOOP;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return -1;

    LPITEMIDLIST item = SHBrowseForFolderW(&m_bi);
    if (item) allocator->Free(item);
    allocator->Release();
    m_hWnd = nullptr;
    return m_bGetSuccess ? 1 : -1;
}

int CALLBACK tkxPathDialog::BrowseCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM data)
{
    auto* dialog = reinterpret_cast<tkxPathDialog*>(data);
    if (message == BFFM_INITIALIZED)
        dialog->OnInitialized(hwnd);
    else if (message == BFFM_SELCHANGED)
        dialog->OnSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
    return 0;
}

void tkxPathDialog::OnInitialized(HWND hwnd)
{
    m_hWnd = hwnd;
    if (!m_strCaption.IsEmpty()) ::SetWindowTextW(hwnd, m_strCaption);
    m_PathDialogSub.SubclassWindow(hwnd);
    // The browser runs the system's modal loop; the flag says so to the class
    // library, whose object the window now has.
    m_PathDialogSub.m_nFlags |= WF_MODALLOOP;
    if (HWND status = ::GetDlgItem(hwnd, IDC_STATUSTEXT)) ::ShowWindow(status, SW_HIDE);

    // The edit box spans the tree's width and ends 4 pixels above it.
    RECT tree{};
    if (HWND treeWindow = ::GetDlgItem(hwnd, IDC_FOLDERTREE)) {
        ::GetWindowRect(treeWindow, &tree);
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&tree), 2);
    }
    const int bottom = tree.top - 4;
    HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                  tree.left, bottom - 23, tree.right - tree.left, 23, hwnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_EDIT_PATH)),
                                  reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)), nullptr);
    ::SendMessageW(edit, WM_SETFONT, ::SendMessageW(hwnd, WM_GETFONT, 0, 0), TRUE);

    CString start = m_strInitialPath;
    if (start.IsEmpty()) {
        wchar_t current[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, current);
        start = current;
    }
    ::SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start.GetString()));
    // The shell may not find the folder in its tree (a drive it cannot list
    // yet): the edit box still starts on it, ready to be taken or changed.
    if (::GetWindowTextLengthW(edit) == 0) ::SetWindowTextW(edit, start);
}

void tkxPathDialog::OnSelectionChanged(LPCITEMIDLIST item)
{
    // Only folders with a drive letter can be typed on and created.
    wchar_t path[MAX_PATH] = {};
    const bool usable = item && SHGetPathFromIDListW(item, path) && path[0] && path[1] == L':';
    if (!usable) path[0] = 0;
    ::SendMessageW(m_hWnd, BFFM_ENABLEOK, 0, usable);
    ::SendMessageW(m_hWnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    ::SetDlgItemTextW(m_hWnd, IDC_EDIT_PATH, path);
}

BOOL tkxPathDialog::TakeEditText()
{
    CString text;
    if (HWND edit = ::GetDlgItem(m_hWnd, IDC_EDIT_PATH)) {
        const int length = ::GetWindowTextLengthW(edit);
        std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
        ::GetWindowTextW(edit, &buffer[0], length + 1);
        // A copy of the characters up to the first zero, made before the
        // buffer goes.
        text = CString(buffer.c_str());
    }
    // A path that does not fit is never kept cut short.
    const bool fits = text.GetLength() <= kMaxPathChars;
    CopyBounded(m_szPathName, MAX_PATH, fits ? text.GetString() : L"");
    return fits;
}

// ---------------------------------------------------------------------------
// Static helpers

int tkxPathDialog::IsFileNameValid(const wchar_t* name)
{
    if (!name || !*name) return 0;
    const size_t length = wcslen(name);
    for (wchar_t end : {name[0], name[length - 1]})
        if (end == L'\t' || end == L' ' || end == L'.') return 0;
    return wcspbrk(name, L"\"*/:<>?\\|") ? 0 : 1;
}

int tkxPathDialog::Touch(const wchar_t* path, int testOnly)
{
    if (!path) return 1;
    const size_t length = wcsnlen(path, kMaxPathChars + 1);
    if (length < 3 || length > kMaxPathChars) return 1;
    if (!IsDriveLetter(path[0]) || path[1] != L':' || path[2] != L'\\') return 1;
    if (length == 3) return testOnly || FolderExists(path) ? 0 : 2;

    const std::wstring full(path, length);
    size_t start = 3;
    for (;;) {
        const size_t end = full.find(L'\\', start);
        const std::wstring part = full.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!IsFileNameValid(part.c_str())) return 1;
        if (!testOnly) {
            const std::wstring folder = full.substr(0, end);
            ::CreateDirectoryW(folder.c_str(), nullptr);
            if (!FolderExists(folder.c_str())) return 2;
        }
        if (end == std::wstring::npos) return 0;
        start = end + 1;
    }
}

int tkxPathDialog::MakeSurePathExists(const wchar_t* path)
{
    const CString folder = path ? path : L"";
    if (folder.GetLength() > kMaxPathChars) {
        ClMessageBox(nullptr,
                     ClFormat(L"输入文件夹:\n\n%s\n\n路径太长(最多%d个字符). 请重新输入.", folder.GetString(),
                              static_cast<int>(kMaxPathChars)),
                     kCaption, MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    int code = Touch(folder, 1);
    if (code == 0) {
        if (FolderExists(folder)) return 0;
        if (ClMessageBox(nullptr, ClFormat(L"文件夹:\n\n%s\n\n不存在. 是否创建该文件夹?", folder.GetString()), kCaption,
                         MB_YESNO | MB_ICONQUESTION) != IDYES)
            return -1;
        code = Touch(folder, 0);
        if (code == 0) return 0;
    }
    const wchar_t* format = code == 1 ? L"输入文件夹:\n\n%s\n\n名称非法. 请重新输入." : L"无法创建\n\n%s\n\n文件夹. 请检查.";
    ClMessageBox(nullptr, ClFormat(format, folder.GetString()), kCaption, MB_OK | MB_ICONEXCLAMATION);
    return code;
}

int tkxPathDialog::ConcatPath(wchar_t* path, const wchar_t* part)
{
    if (!path) return 1;
    const size_t length = wcsnlen(path, MAX_PATH);
    if (length <= 2 || length >= MAX_PATH) return 1;
    if (!part) return 0;
    const bool root = length == 3;
    const size_t added = wcslen(part) + (root ? 0 : 1);
    if (length + added > kMaxPathChars) return 1;
    std::wstring joined(path, length);
    if (!root) joined += L'\\';
    joined += part;
    wmemcpy(path, joined.c_str(), joined.size() + 1);
    return 0;
}
