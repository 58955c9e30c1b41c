#include "corvane/ui/FileDialogHooks.h"
#include <vector>

namespace {

// Control ids inside the platform dialog: its shell view, and the file list
// inside that.
const int kShellView = 1121;
const int kShellList = 1;

LRESULT CALLBACK HookedWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // While the hooks run, the hooked message is the class library's
    // current message of the thread (as in its own window procedure).
    auto* current = const_cast<MSG*>(CWnd::GetCurrentMessage());
    const MSG saved = *current;
    current->hwnd = hwnd;
    current->message = message;
    current->wParam = wParam;
    current->lParam = lParam;

    LRESULT result = 0;
    CSubclassWndMap& map = CSubclassWndMap::GetHookMap();
    CSubclassWnd* first = map.Lookup(hwnd);
    if (!first) {
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        // The window goes: every hook lets go of it first.
        WNDPROC old = first->GetOldWndProc();
        map.RemoveAll(hwnd);
        result = ::CallWindowProcW(old, hwnd, message, wParam, lParam);
    } else {
        result = first->OnHookMessage(message, wParam, lParam);
    }
    *current = saved;
    return result;
}

} // namespace

// ---------------------------------------------------------------------------
// The hook map

CSubclassWndMap::~CSubclassWndMap() = default;

CSubclassWndMap& CSubclassWndMap::GetHookMap()
{
    static CSubclassWndMap map;
    return map;
}

CSubclassWnd* CSubclassWndMap::Lookup(HWND hwnd)
{
    void* hook = nullptr;
    return CMapPtrToPtr::Lookup(hwnd, hook) ? static_cast<CSubclassWnd*>(hook) : nullptr;
}

void CSubclassWndMap::Add(HWND hwnd, CSubclassWnd* hook)
{
    if (CSubclassWnd* first = Lookup(hwnd)) {
        hook->m_pOldWndProc = first->m_pOldWndProc;
        hook->m_pNext = first;
    } else {
        hook->m_pOldWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedWindowProc)));
        hook->m_pNext = nullptr;
    }
    hook->m_hWnd = hwnd;
    SetAt(hwnd, hook);
}

void CSubclassWndMap::Remove(CSubclassWnd* hook)
{
    HWND hwnd = hook->m_hWnd;
    CSubclassWnd* first = Lookup(hwnd);
    if (first == hook) {
        if (hook->m_pNext) {
            SetAt(hwnd, hook->m_pNext);
        } else {
            RemoveKey(hwnd);
            if (::IsWindow(hwnd))
                ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->m_pOldWndProc));
        }
    } else {
        for (CSubclassWnd* before = first; before; before = before->m_pNext) {
            if (before->m_pNext == hook) {
                before->m_pNext = hook->m_pNext;
                break;
            }
        }
    }
    hook->m_hWnd = nullptr;
    hook->m_pNext = nullptr;
}

void CSubclassWndMap::RemoveAll(HWND hwnd)
{
    while (CSubclassWnd* first = Lookup(hwnd)) Remove(first);
}

// ---------------------------------------------------------------------------
// Hooks

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

CSubclassWnd::CSubclassWnd() = default;

CSubclassWnd::~CSubclassWnd()
{
    if (m_hWnd) SetHookedWindow(nullptr);
}

BOOL CSubclassWnd::SetHookedWindow(HWND hwnd)
{
    CSubclassWndMap& map = CSubclassWndMap::GetHookMap();
    if (m_hWnd) map.Remove(this);
    if (!hwnd) return TRUE;
    if (!::IsWindow(hwnd)) return FALSE;
    map.Add(hwnd, this);
    return TRUE;
}

LRESULT CSubclassWnd::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext) return m_pNext->OnHookMessage(message, wParam, lParam);
    return ::CallWindowProcW(m_pOldWndProc, m_hWnd, message, wParam, lParam);
}

LRESULT CFileDialogHook::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_COMMAND || message == WM_NOTIFY) && m_pOwner) m_pOwner->m_bUpdateNeeded = TRUE;
    return CSubclassWnd::OnHookMessage(message, wParam, lParam);
}

LRESULT CFileDialogOwnerHook::OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && reinterpret_cast<HWND>(lParam) == m_hWndPlatform && m_pOwner &&
        m_pOwner->m_bUpdateNeeded) {
        m_pOwner->m_bUpdateNeeded = FALSE;
        if (m_pDialog && m_pDialog->m_hWnd) m_pDialog->UpdateDialogControls(m_pDialog, FALSE);
    }
    return CSubclassWnd::OnHookMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The helper

CFileDlgHelper::CFileDlgHelper()
{
    m_hookPanel.m_pOwner = this;
    m_hookOwner.m_pOwner = this;
}

CFileDlgHelper::~CFileDlgHelper() { m_wndList.m_hWnd = nullptr; }

void CFileDlgHelper::Init(CFileDialog* dialog)
{
    m_pDialog = dialog;
    m_bUpdateNeeded = FALSE;
    if (!dialog || !dialog->m_hWnd) return;
    m_hookPanel.SetHookedWindow(dialog->m_hWnd);
    HWND platform = ::GetParent(dialog->m_hWnd);
    m_hookOwner.m_pDialog = dialog;
    m_hookOwner.m_hWndPlatform = platform;
    if (HWND owner = ::GetWindow(platform, GW_OWNER)) m_hookOwner.SetHookedWindow(owner);
}

CString CFileDlgHelper::QueryText(HWND platform, UINT message)
{
    if (!platform) return CString();
    const LRESULT needed = ::SendMessageW(platform, message, 0, 0);
    if (needed <= 0) return CString();
    std::vector<wchar_t> text(static_cast<size_t>(needed) + 1, L'\0');
    ::SendMessageW(platform, message, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.back() = 0;
    return CString(text.data());
}

CListCtrl* CFileDlgHelper::GetListCtrl()
{
    HWND platform = m_pDialog && m_pDialog->m_hWnd ? ::GetParent(m_pDialog->m_hWnd) : nullptr;
    HWND view = platform ? ::GetDlgItem(platform, kShellView) : nullptr;
    HWND list = view ? ::GetDlgItem(view, kShellList) : nullptr;
    // A view on the shell's own list: the handle only, never bound to the
    // object (the shell makes a new list for every folder).
    m_wndList.m_hWnd = list;
    return list ? &m_wndList : nullptr;
}

CString CFileDlgHelper::GetItemName(int item)
{
    CListCtrl* list = GetListCtrl();
    return list ? list->GetItemText(item, 0) : CString();
}

int CFileDlgHelper::IsItemFolder(int item)
{
    if (!m_pDialog || !m_pDialog->m_hWnd) return 0;
    CString path = QueryText(::GetParent(m_pDialog->m_hWnd), CDM_GETFOLDERPATH);
    if (path.IsEmpty()) return 0;
    if (path.Right(1) != L"\\") path += L"\\";
    path += GetItemName(item);
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}
