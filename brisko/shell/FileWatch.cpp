#include "brisko/shell/FileWatch.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Messages.h"
#include <process.h>
#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace {

// One registered file (or folder).
struct FILEWATCHITEM {
    CString path;
    ULONGLONG lastWrite = 0; // 0 for a folder
    HWND hWnd = nullptr;
    CDocument* pDocument = nullptr;
    DWORD dwData = 0;
    BOOL bAutoReload = FALSE;
    BOOL* pOption = nullptr;
    // Between the worker and the main thread:
    CString folder;
    bool pending = false; // a change is on its way to the main thread
    bool asking = false;  // the question about this file is up
};

// Which directory a folder name stands for: a folder deleted or moved away
// and made again under its name is another one.
struct FolderIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FolderIdentity& o) const
    {
        return volume == o.volume && indexHigh == o.indexHigh && indexLow == o.indexLow;
    }
};

// One watched folder; its handle is NULL while the folder cannot be watched
// (deleted or moved away): the worker opens it again when it is back.
struct WatchedFolder {
    CString name;
    HANDLE handle = nullptr;
    FolderIdentity identity; // of the directory the handle watches
};

// The wait takes the wake event and one handle per folder.
constexpr size_t kMaxFolders = MAXIMUM_WAIT_OBJECTS - 1;
constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
// How often a folder that went away is looked for again.
constexpr DWORD kRetryMs = 500;
// Worker to main thread: wParam is the id of a watch whose file changed.
constexpr UINT kWatchChanged = WM_APP + 0x106;
const wchar_t kDispatchClass[] = L"BriskoFileWatchDispatch";
const wchar_t kQuestion[] = L"其他程序修改了该文件. 是否重新加载?";
const wchar_t kTooManyFolders[] = L"FileWatch引擎提示:\n\n最多同时监视%d个文件夹, 文件<%s>被其他程序修改时将不会提示!";

struct Watcher {
    std::mutex lock;
    std::map<DWORD, FILEWATCHITEM> items;
    DWORD nextId = 1;
    std::vector<WatchedFolder> folders;
    // Handles taken out of the folder list that the worker's copy may still
    // hold: the worker closes them once it has taken the new list.
    std::vector<HANDLE> retired;
    HANDLE wake = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    bool stop = false;
    HANDLE thread = nullptr;
    // The main thread's receiver of the worker's news.
    HWND dispatcher = nullptr;
    std::atomic<LONG> wakes{0};
};

// Never destroyed: the worker may still run while the program's statics go.
Watcher& TheWatcher()
{
    static Watcher* watcher = new Watcher;
    return *watcher;
}

bool SameFolder(const CString& a, const CString& b) { return a.CompareNoCase(b) == 0; }

bool IsFolderPath(const CString& path)
{
    return !path.IsEmpty() && path[path.GetLength() - 1] == L'\\';
}

// Drive and directory of a path, with the trailing "\".
CString FolderOf(const CString& path)
{
    const std::wstring& s = path.str();
    const size_t slash = s.find_last_of(L"\\/");
    if (slash != std::wstring::npos) return CString(s.substr(0, slash + 1));
    if (s.size() >= 2 && s[1] == L':') return CString(s.substr(0, 2));
    return CString();
}

bool ReadFolderIdentity(const CString& folder, FolderIdentity& identity)
{
    HANDLE handle = ::CreateFileW(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL read = ::GetFileInformationByHandle(handle, &info);
    ::CloseHandle(handle);
    if (!read || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

// Starts watching the folder: false when it cannot be watched.
bool OpenFolder(WatchedFolder& folder)
{
    FolderIdentity identity;
    if (!ReadFolderIdentity(folder.name, identity)) return false;
    HANDLE handle = ::FindFirstChangeNotificationW(folder.name, FALSE, kNotifyFilter);
    if (handle == INVALID_HANDLE_VALUE) return false;
    folder.handle = handle;
    folder.identity = identity;
    return true;
}

// The file's last-write time as one number; false when it cannot be read.
// The file is not opened: a program replacing it at that moment is not
// refused.
bool ReadLastWriteTime(const CString& path, ULONGLONG& time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

int FindFolder(const Watcher& w, const CString& folder)
{
    for (size_t i = 0; i < w.folders.size(); ++i)
        if (SameFolder(w.folders[i].name, folder)) return static_cast<int>(i);
    return -1;
}

HWND MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

// ---------------------------------------------------------------------------
// Worker thread (all under the lock)

// Every item of the folder whose file has a new time (a folder item: any
// change) keeps the new time and is announced to the main thread, once until
// the main thread took it.
void AnnounceChanges(Watcher& w, const CString& folder)
{
    for (auto& [id, item] : w.items) {
        if (!SameFolder(item.folder, folder)) continue;
        ULONGLONG time = 0;
        if (!IsFolderPath(item.path) && (!ReadLastWriteTime(item.path, time) || time == item.lastWrite)) continue;
        item.lastWrite = time;
        if (item.pending) continue;
        item.pending = ::PostMessageW(w.dispatcher, kWatchChanged, id, 0) != FALSE;
    }
}

// The worker's own copy of the wait list: the wake event, then the folders
// that can be watched, with their names.  Handles retired from the shared
// list are closed here, now that the copy no longer holds them.
void TakeWaitList(Watcher& w, std::vector<HANDLE>& handles, std::vector<CString>& names)
{
    handles.assign(1, w.wake);
    names.assign(1, CString());
    for (const WatchedFolder& folder : w.folders) {
        if (!folder.handle) continue;
        handles.push_back(folder.handle);
        names.push_back(folder.name);
    }
    for (HANDLE handle : w.retired) ::FindCloseChangeNotification(handle);
    w.retired.clear();
}

bool AnyFolderAway(const Watcher& w)
{
    for (const WatchedFolder& folder : w.folders)
        if (!folder.handle) return true;
    return false;
}

// A folder of the worker's copy signalled.  It may have left the shared list
// since the copy was taken (its handle is then retired and still open).
void FolderChanged(Watcher& w, const CString& name, HANDLE handle)
{
    const int index = FindFolder(w, name);
    if (index < 0 || w.folders[index].handle != handle) return;
    WatchedFolder& folder = w.folders[index];
    // Asked again before the times are read: a change made meanwhile
    // signals again instead of being lost.
    const bool rearmed = ::FindNextChangeNotification(handle) != FALSE;
    AnnounceChanges(w, name);
    FolderIdentity now;
    if (rearmed && ReadFolderIdentity(name, now) && now == folder.identity) return;
    // Deleted, moved away or broken: the handle no longer watches the folder
    // of that name.  One made again in its place is watched at once, else
    // when it is back.
    folder.handle = nullptr;
    w.retired.push_back(handle);
    if (OpenFolder(folder)) AnnounceChanges(w, name);
}

void RetryFoldersAway(Watcher& w)
{
    for (WatchedFolder& folder : w.folders) {
        // Whatever changed while it was away.
        if (!folder.handle && OpenFolder(folder)) AnnounceChanges(w, folder.name);
    }
}

// A failed wait: the handles that no longer wait are dropped from the shared
// list (their folders are looked for again later).  False when none was at
// fault.
bool DropFailedHandles(Watcher& w, const std::vector<HANDLE>& handles)
{
    bool found = false;
    for (size_t i = 1; i < handles.size(); ++i) {
        if (::WaitForSingleObject(handles[i], 0) != WAIT_FAILED) continue;
        for (WatchedFolder& folder : w.folders)
            if (folder.handle == handles[i]) folder.handle = nullptr;
        found = true;
    }
    return found;
}

unsigned __stdcall WatchWorker(void*)
{
    Watcher& w = TheWatcher();
    std::vector<HANDLE> handles;
    std::vector<CString> names;
    std::unique_lock<std::mutex> guard(w.lock);
    while (!w.stop) {
        TakeWaitList(w, handles, names);
        const DWORD timeout = AnyFolderAway(w) ? kRetryMs : INFINITE;
        guard.unlock();
        const DWORD result = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeout);
        guard.lock();
        ++w.wakes;
        if (w.stop) break;
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size()) {
            FolderChanged(w, names[result - WAIT_OBJECT_0], handles[result - WAIT_OBJECT_0]);
        } else if (result == WAIT_TIMEOUT) {
            RetryFoldersAway(w);
        } else if (result != WAIT_OBJECT_0 && !DropFailedHandles(w, handles)) {
            // Nothing to blame: wait a moment rather than spin.
            guard.unlock();
            ::Sleep(kRetryMs);
            guard.lock();
        }
    }
    for (const WatchedFolder& folder : w.folders)
        if (folder.handle) ::FindCloseChangeNotification(folder.handle);
    for (HANDLE handle : w.retired) ::FindCloseChangeNotification(handle);
    w.folders.clear();
    w.retired.clear();
    w.items.clear();
    return 0;
}

// ---------------------------------------------------------------------------
// Main thread

// Where a change of the watch goes: its document's first view, else its
// window; NULL when there is none.
HWND ReceiverOf(const FILEWATCHITEM& item)
{
    HWND target = nullptr;
    if (item.pDocument) {
        POSITION pos = item.pDocument->GetFirstViewPosition();
        if (pos) {
            CView* view = item.pDocument->GetNextView(pos);
            target = view ? view->GetSafeHwnd() : nullptr;
        }
    } else {
        target = item.hWnd;
    }
    return target && ::IsWindow(target) ? target : nullptr;
}

// A copy of the watch whose news the main thread takes, with its question
// flag set as given; false when the watch is gone, or when `asking` is
// false and a question about it is up already (it answers for this change
// as well).
bool TakeItem(DWORD id, FILEWATCHITEM& copy, bool asking, bool answered = false)
{
    Watcher& w = TheWatcher();
    std::lock_guard<std::mutex> guard(w.lock);
    auto it = w.items.find(id);
    if (it == w.items.end()) return false;
    it->second.pending = false;
    if (it->second.asking && !answered) return false;
    it->second.asking = asking;
    copy = it->second;
    return true;
}

// The worker's news of watch `id`: find the receiver, ask unless the watch
// reloads without asking, and tell the receiver.
void DeliverChange(DWORD id)
{
    FILEWATCHITEM item;
    if (!TakeItem(id, item, false)) return;
    HWND target = ReceiverOf(item);
    if (!target) return;
    if (!item.bAutoReload && !(item.pOption && *item.pOption)) {
        if (!TakeItem(id, item, true)) return;
        const BOOL reload = AskReloadFile(item.path, CWnd::FromHandle(MainWindow()));
        // The watch may have gone while the question was up.
        if (!TakeItem(id, item, false, true) || !reload) return;
        target = ReceiverOf(item);
        if (!target) return;
    }
    ::PostMessageW(target, GetFileWatchMessage(), item.dwData, id);
}

LRESULT CALLBACK DispatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kWatchChanged) {
        // Nothing thrown may cross the system's window procedure.
        try {
            DeliverChange(static_cast<DWORD>(wParam));
        } catch (CException* e) {
            e->ReportError();
            e->Delete();
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The receiver of the worker's news lives on the thread that registers.
HWND MakeDispatcher()
{
    static const ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DispatchProc;
        wc.hInstance = ClCallerModule();
        wc.lpszClassName = kDispatchClass;
        return ::RegisterClassW(&wc);
    }();
    if (!atom) return nullptr;
    return ::CreateWindowExW(0, kDispatchClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ClCallerModule(), nullptr);
}

} // namespace

// ---------------------------------------------------------------------------

UINT GetFileWatchMessage()
{
    static const UINT message = ::RegisterWindowMessageW(FILEWATCH_NOTIFY_NAME);
    return message;
}

DWORD AddFileWatch(const wchar_t* path, HWND window, CDocument* document)
{
    const CString file = path ? path : L"";
    ULONGLONG time = 0;
    if (file.IsEmpty() || (!IsFolderPath(file) && !ReadLastWriteTime(file, time))) return 0;
    const CString folder = FolderOf(file);
    GetFileWatchMessage();

    Watcher& w = TheWatcher();
    DWORD id = 0;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        if (!w.dispatcher) w.dispatcher = MakeDispatcher();
        if (!w.dispatcher) return 0;
        if (FindFolder(w, folder) < 0 && w.folders.size() < kMaxFolders) {
            WatchedFolder watched;
            watched.name = folder;
            // A failed notification never enters the wait list.
            if (!OpenFolder(watched)) return 0;
            w.folders.push_back(watched);
            ::SetEvent(w.wake);
        }
        if (FindFolder(w, folder) >= 0) {
            id = w.nextId++;
            FILEWATCHITEM& item = w.items[id];
            item.path = file;
            item.lastWrite = time;
            item.hWnd = window;
            item.pDocument = document;
            item.folder = folder;
        }
    }
    if (!id) {
        CString text;
        text.Format(kTooManyFolders, static_cast<int>(kMaxFolders), file.GetString());
        ClMessageBox(MainWindow(), text, kBriskoCaption, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    StartFileWatchThread();
    return id;
}

void SetFileWatchOption(DWORD id, BOOL* option)
{
    Watcher& w = TheWatcher();
    std::lock_guard<std::mutex> guard(w.lock);
    auto it = w.items.find(id);
    if (it == w.items.end()) return;
    it->second.bAutoReload = option ? *option : FALSE;
    it->second.pOption = option;
}

void RemoveFileWatch(DWORD id)
{
    Watcher& w = TheWatcher();
    bool empty;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        auto it = w.items.find(id);
        if (it != w.items.end()) {
            const CString folder = it->second.folder;
            w.items.erase(it);
            bool folderUsed = false;
            for (const auto& entry : w.items) folderUsed = folderUsed || SameFolder(entry.second.folder, folder);
            const int index = FindFolder(w, folder);
            if (!folderUsed && index >= 0) {
                if (HANDLE handle = w.folders[index].handle) {
                    // The worker may be waiting on it: it closes the handle
                    // once it has taken the new list.
                    if (w.thread)
                        w.retired.push_back(handle);
                    else
                        ::FindCloseChangeNotification(handle);
                }
                w.folders.erase(w.folders.begin() + index);
                ::SetEvent(w.wake);
            }
        }
        empty = w.items.empty();
    }
    if (empty) StopFileWatchThread();
}

BOOL GetFileWatchPath(DWORD id, CString& path)
{
    Watcher& w = TheWatcher();
    std::lock_guard<std::mutex> guard(w.lock);
    auto it = w.items.find(id);
    if (it == w.items.end()) return FALSE;
    path = it->second.path;
    return TRUE;
}

void StartFileWatchThread()
{
    Watcher& w = TheWatcher();
    std::lock_guard<std::mutex> guard(w.lock);
    if (w.thread) return;
    w.stop = false;
    ::SetEvent(w.wake);
    const uintptr_t thread = _beginthreadex(nullptr, 0, WatchWorker, nullptr, CREATE_SUSPENDED, nullptr);
    if (!thread) return;
    w.thread = reinterpret_cast<HANDLE>(thread);
    ::SetThreadPriority(w.thread, THREAD_PRIORITY_LOWEST);
    ::ResumeThread(w.thread);
}

void StopFileWatchThread()
{
    Watcher& w = TheWatcher();
    HANDLE thread;
    HWND dispatcher = nullptr;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        thread = w.thread;
        if (thread) {
            w.stop = true;
            ::SetEvent(w.wake);
        }
    }
    if (thread) {
        // The worker never waits on anything but its wait list and the lock.
        ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
    }
    {
        std::lock_guard<std::mutex> guard(w.lock);
        w.thread = nullptr;
        // News still queued for the dispatcher goes with it.
        if (w.dispatcher && ::GetWindowThreadProcessId(w.dispatcher, nullptr) == ::GetCurrentThreadId()) {
            dispatcher = w.dispatcher;
            w.dispatcher = nullptr;
        }
    }
    if (dispatcher) ::DestroyWindow(dispatcher);
}

BOOL IsFileWatchThreadRunning()
{
    Watcher& w = TheWatcher();
    std::lock_guard<std::mutex> guard(w.lock);
    return w.thread != nullptr;
}

LONG GetFileWatchWakeCount() { return TheWatcher().wakes; }

BOOL AskReloadFile(const wchar_t* path, CWnd* parent)
{
    CString message;
    message.Format(L"文件:%s\n\n%s", path, kQuestion);
    CFileWatchDlg dialog(message, parent);
    return dialog.DoModal() == IDOK;
}

// ---------------------------------------------------------------------------

CFileWatchDlg::CFileWatchDlg(const wchar_t* message, CWnd* parent)
    : CDialog(IDD_FILEWATCH, parent), m_strMessage(message)
{
}

BOOL CFileWatchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(kBriskoCaption);
    CWnd* text = GetDlgItem(IDC_FILEWATCH_TEXT);
    CWnd* ok = GetDlgItem(IDOK);
    CWnd* cancel = GetDlgItem(IDCANCEL);
    if (!text || !ok || !cancel) return TRUE;
    text->SetWindowText(m_strMessage);

    // The text as wide as its widest line.
    int width = 0;
    {
        CClientDC dc(text);
        CFont* old = dc.SelectObject(text->GetFont());
        TEXTMETRICW metrics;
        dc.GetTextMetrics(&metrics);
        int start = 0;
        while (start <= m_strMessage.GetLength()) {
            int end = m_strMessage.Find(L'\n', start);
            if (end < 0) end = m_strMessage.GetLength();
            const CString line = m_strMessage.Mid(start, end - start);
            width = std::max(width, static_cast<int>(dc.GetTextExtent(line).cx + metrics.tmAveCharWidth));
            start = end + 1;
        }
        if (old) dc.SelectObject(old);
    }
    CRect textRect;
    text->GetWindowRect(&textRect);
    ScreenToClient(&textRect);
    textRect.right = textRect.left + width;
    text->MoveWindow(&textRect);

    CRect dialogRect;
    GetWindowRect(&dialogRect);
    if (dialogRect.right < dialogRect.left + textRect.right + 20)
        MoveWindow(dialogRect.left, dialogRect.top, textRect.right + 20, dialogRect.Height());

    // The two buttons together, centred.
    CRect okRect, cancelRect, client;
    ok->GetWindowRect(&okRect);
    cancel->GetWindowRect(&cancelRect);
    ScreenToClient(&okRect);
    ScreenToClient(&cancelRect);
    GetClientRect(&client);
    CRect both;
    both.UnionRect(&okRect, &cancelRect);
    const int shift = client.Width() / 2 - (both.left + both.right) / 2;
    okRect.OffsetRect(shift, 0);
    cancelRect.OffsetRect(shift, 0);
    ok->MoveWindow(&okRect);
    cancel->MoveWindow(&cancelRect);
    CenterWindow();
    return TRUE;
}
