#include "brisko/shell/HHCtrl.h"
#include "brisko/BriskoResource.h"
#include "corvane/project/TavixInterface.h"
#include <cwctype>
#include <exdispid.h>
#include <algorithm>
#include <new>

IMPLEMENT_DYNAMIC(CHHCtrl, CWnd)

// The help storage of the system: opens a compiled help file as a storage
// whose streams are the file's entries.  (Declared outside the unnamed
// namespace: objects of it come from the system, which the compiler must
// not rule out.)
struct IITStorage : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR* name, DWORD mode, DWORD reserved,
                                                       IStorage** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode, DWORD reserved,
                                                                   IStorage** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority, DWORD mode,
                                                     SNB exclude, DWORD reserved, IStorage** out) = 0;
};

namespace {

const CLSID kClsidITStorage = {0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}};
const IID kIidITStorage = {0x88CC31DE, 0x27AB, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}};

// Releases a COM pointer when it goes out of scope.
template <class I>
struct Held {
    I* p = nullptr;
    ~Held()
    {
        if (p) p->Release();
    }
    I** operator&() { return &p; }
    I* operator->() const { return p; }
};

const int kPiece = 64; // the topic path is read in pieces of this many bytes

bool IsFile(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "X:\..." or "\\server\...": a path that does not depend on the current
// folder or drive.
bool IsFullPath(const CString& path)
{
    if (path.GetLength() < 3) return false;
    const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (separator(path[0]) && separator(path[1])) return true;
    return iswalpha(path[0]) && path[1] == L':' && separator(path[2]);
}

CString FullPath(const CString& path)
{
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD n = ::GetFullPathNameW(path, static_cast<DWORD>(std::size(full)), full, nullptr);
    return n > 0 && n < std::size(full) ? CString(full) : path;
}

// A folder and a file name, with a backslash between them unless the folder
// ends in one of "\", "/", ":".
CString InFolder(CString folder, const CString& name)
{
    if (!folder.IsEmpty()) {
        const wchar_t last = folder[folder.GetLength() - 1];
        if (last != L'\\' && last != L'/' && last != L':') folder += L'\\';
    }
    return folder + name;
}

CString MachineText(const wchar_t* key, const wchar_t* value)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return CString();
    wchar_t text[MAX_PATH * 2] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    CString result;
    if (::RegQueryValueExW(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ))
        result = text;
    ::RegCloseKey(opened);
    return result;
}

// "hh.ini", section "files": "<path>[,<prompt>]".  The path is the help
// file, or a folder that holds it.  With a prompt the user is asked (OK
// and Cancel) until the file is there; Cancel means it is not found.
bool FindThroughHhIni(const CString& name, CString& found)
{
    wchar_t value[MAX_PATH * 3] = {};
    ::GetPrivateProfileStringW(L"files", name, L"", value, static_cast<DWORD>(std::size(value)), L"hh.ini");
    CString path = value, prompt;
    const int comma = path.Find(L',');
    if (comma >= 0) {
        prompt = path.Mid(comma + 1);
        path = path.Left(comma);
    }
    path.Trim();
    prompt.Trim();
    if (path.IsEmpty()) return false;
    auto there = [&]() {
        if (IsFile(path)) found = path;
        else if (IsFile(InFolder(path, name))) found = InFolder(path, name);
        else return false;
        return true;
    };
    if (there()) return true;
    if (prompt.IsEmpty()) return false;
    for (;;) {
        if (AfxMessageBox(prompt, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return false;
        if (there()) return true;
    }
}

CString VariantText(const VARIANT* value)
{
    if (!value) return CString();
    VARIANT text;
    ::VariantInit(&text);
    CString result;
    if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(value), 0, VT_BSTR)) && text.bstrVal)
        result = text.bstrVal;
    ::VariantClear(&text);
    return result;
}

// The bytes of a one-dimensional byte array (also behind references).
void VariantBytes(const VARIANT* value, CArray<BYTE, BYTE>& bytes)
{
    bytes.RemoveAll();
    while (value && value->vt == (VT_VARIANT | VT_BYREF)) value = value->pvarVal;
    if (!value || value->vt != (VT_ARRAY | VT_UI1) || !value->parray) return;
    SAFEARRAY* array = value->parray;
    LONG low = 0, high = -1;
    if (::SafeArrayGetDim(array) != 1 || FAILED(::SafeArrayGetLBound(array, 1, &low)) ||
        FAILED(::SafeArrayGetUBound(array, 1, &high)) || high < low)
        return;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data))) return;
    bytes.SetSize(high - low + 1);
    std::copy_n(static_cast<const BYTE*>(data), high - low + 1, bytes.GetData());
    ::SafeArrayUnaccessData(array);
}

} // namespace

BEGIN_MESSAGE_MAP(CHHCtrl, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_EVENT(CHHCtrl::IDC_HH_BROWSER, DISPID_COMMANDSTATECHANGE, OnCommandStateChange)
    ON_EVENT(CHHCtrl::IDC_HH_BROWSER, DISPID_BEFORENAVIGATE2, BeforeNavigate2)
    ON_EVENT(CHHCtrl::IDC_HH_BROWSER, DISPID_NAVIGATECOMPLETE2, NavigateComplete2)
    ON_EVENT(CHHCtrl::IDC_HH_BROWSER, DISPID_DOCUMENTCOMPLETE, DocumentComplete)
END_MESSAGE_MAP()

CHHCtrl::CHHCtrl()
    : m_pBrowser(nullptr), m_bTopicMapLoaded(FALSE), m_nLastCmd(ID_HH_CLOSE), m_wHomeId(0)
{
}

CHHCtrl::~CHHCtrl()
{
    if (m_pBrowser) {
        m_pBrowser->Release();
        m_pBrowser = nullptr;
    }
    if (m_hWnd) DestroyWindow();
}

// ---------------------------------------------------------------------------
// Creation

BOOL CHHCtrl::Create(CWnd* parent, const RECT& rect, UINT buttons, const wchar_t* home, BOOL labels, UINT id)
{
    AfxEnableControlContainer();
    // A context id comes in place of the text, as a value below 0x10000.
    if (IS_INTRESOURCE(home)) {
        m_SHome.Empty();
        m_wHomeId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(home));
    } else {
        m_SHome = home;
        m_wHomeId = 0;
    }
    const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CWnd::Create(cls, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, id)) return FALSE;
    if (buttons) CreateToolBar(buttons, labels);
    if (!m_wndBrowser.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE, BrowserRect(), this,
                                    IDC_HH_BROWSER))
        return FALSE;
    IUnknown* control = m_wndBrowser.GetControlUnknown();
    if (!control || FAILED(control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowser)))) {
        m_pBrowser = nullptr;
        m_wndBrowser.DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CHHCtrl::CreateFromStatic(CWnd* parent, UINT placeholderId, UINT buttons, const wchar_t* home, BOOL labels)
{
    CWnd* placeholder = parent ? parent->GetDlgItem(static_cast<int>(placeholderId)) : nullptr;
    if (!placeholder) return FALSE;
    CRect rect;
    placeholder->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    placeholder->DestroyWindow();
    return Create(parent, rect, buttons, home, labels, placeholderId);
}

BOOL CHHCtrl::CreateToolBar(UINT buttons, BOOL labels)
{
    CRect client;
    GetClientRect(&client);
    if (!m_wndToolBar.Create(0x50000944, CRect(0, 0, client.Width(), 0), this, IDC_HH_TOOLBAR)) return FALSE;
    const COLORREF kMagenta = RGB(255, 0, 255);
    if (m_ilNormal.Create(IDB_HELP_NAV, kButtonImageWidth, 1, kMagenta)) m_wndToolBar.SetImageList(&m_ilNormal);
    if (m_ilHot.Create(IDB_HELP_NAV_HOT, kButtonImageWidth, 1, kMagenta)) m_wndToolBar.SetHotImageList(&m_ilHot);

    // The labels, one per button in the order of the commands.
    std::vector<int> strings(ID_HH_CLOSE - ID_HH_HOME + 1, -1);
    CString texts;
    if (labels && texts.LoadString(IDS_HELP_NAV_LABELS)) {
        int start = 0;
        for (size_t i = 0; i < strings.size() && start <= texts.GetLength(); ++i) {
            int bar = texts.Find(L'|', start);
            if (bar < 0) bar = texts.GetLength();
            CString one = texts.Mid(start, bar - start);
            std::vector<wchar_t> block(one.GetString(), one.GetString() + one.GetLength());
            block.push_back(0);
            block.push_back(0);
            strings[i] = m_wndToolBar.AddStrings(block.data());
            start = bar + 1;
        }
    }
    std::vector<TBBUTTON> list;
    for (UINT i = 0; i < strings.size(); ++i) {
        if (!(buttons & (1u << i))) continue;
        TBBUTTON button{};
        button.iBitmap = static_cast<int>(i);
        button.idCommand = static_cast<int>(ID_HH_HOME + i);
        // Back and forward wait for the browser to have a history.
        const bool history = ID_HH_HOME + i == ID_HH_BACK || ID_HH_HOME + i == ID_HH_FORWARD;
        button.fsState = history ? 0 : TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON;
        button.iString = strings[i];
        list.push_back(button);
    }
    if (!list.empty()) m_wndToolBar.AddButtons(static_cast<int>(list.size()), list.data());
    CRect item;
    const int height = !list.empty() && m_wndToolBar.GetItemRect(0, &item) ? item.bottom : 0;
    m_wndToolBar.SetWindowPos(nullptr, 0, 0, client.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

CRect CHHCtrl::BrowserRect() const
{
    CRect rect;
    GetClientRect(&rect);
    if (m_wndToolBar.GetSafeHwnd()) {
        CRect bar;
        m_wndToolBar.GetWindowRect(&bar);
        rect.top = std::min<LONG>(rect.bottom, bar.Height() + 2);
    }
    ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, WS_EX_CLIENTEDGE);
    return rect;
}

void CHHCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (m_wndToolBar.GetSafeHwnd()) {
        CRect bar;
        m_wndToolBar.GetWindowRect(&bar);
        m_wndToolBar.SetWindowPos(nullptr, 0, 0, cx, bar.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_wndBrowser.GetSafeHwnd()) {
        const CRect rect = BrowserRect();
        m_wndBrowser.SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                                  SWP_NOACTIVATE | SWP_NOZORDER);
    }
}

void CHHCtrl::OnDestroy()
{
    // The browser goes with the window.
    if (m_pBrowser) {
        m_pBrowser->Release();
        m_pBrowser = nullptr;
    }
    CWnd::OnDestroy();
}

// ---------------------------------------------------------------------------
// Finding the help file

BOOL CHHCtrl::OpenChm(const wchar_t* name)
{
    const CString given = name ? name : L"";
    CString found;
    // 1. The name as given, when it is a full path: the current folder,
    // which any file dialog moves, never decides which file is shown.
    if (IsFullPath(given) && IsFile(given)) found = FullPath(given);
    CString file = given;
    file.Replace(L'/', L'\\');
    file = file.Mid(file.ReverseFind(L'\\') + 1);
    if (found.IsEmpty() && !file.IsEmpty()) {
        // 2. Beside the program.
        wchar_t program[MAX_PATH * 2] = {};
        ::GetModuleFileNameW(nullptr, program, static_cast<DWORD>(std::size(program)));
        CString folder = program;
        folder = folder.Left(folder.ReverseFind(L'\\') + 1);
        if (IsFile(folder + file)) found = folder + file;
    }
    // 3. In the help folder of the suite's installation.
    if (found.IsEmpty() && !file.IsEmpty()) {
        const CString installation = tkx_GetTavixPath();
        if (!installation.IsEmpty() && IsFile(InFolder(InFolder(installation, L"Help"), file)))
            found = InFolder(InFolder(installation, L"Help"), file);
    }
    // 4. The folder HTML Help registered for the file.
    if (found.IsEmpty() && !file.IsEmpty()) {
        const CString folder = MachineText(L"Software\\Microsoft\\Windows\\HTML Help", file);
        if (!folder.IsEmpty() && IsFile(InFolder(folder, file))) found = InFolder(folder, file);
    }
    // 5. The help folder of the shared folder (the Windows folder by default).
    if (found.IsEmpty() && !file.IsEmpty()) {
        CString shared = MachineText(L"Software\\Microsoft\\Windows\\CurrentVersion\\Setup", L"SharedDir");
        if (shared.IsEmpty()) {
            wchar_t windows[MAX_PATH] = {};
            ::GetWindowsDirectoryW(windows, MAX_PATH);
            shared = windows;
        }
        const CString path = InFolder(InFolder(shared, L"Help"), file);
        if (IsFile(path)) found = path;
    }
    // 6. "hh.ini".
    if (found.IsEmpty() && !file.IsEmpty()) FindThroughHhIni(file, found);

    if (found.IsEmpty()) {
        AfxMessageBox(ClFormat(L"%s文件没有找到", given.GetString()), MB_ICONWARNING);
        return FALSE;
    }
    if (found.CompareNoCase(m_SChmPath) != 0) {
        m_TopicMap.clear();
        m_bTopicMapLoaded = FALSE;
    }
    m_SChmPath = found;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Navigation

HRESULT CHHCtrl::Navigate(const wchar_t* address, DWORD flags, const wchar_t* targetFrame, const void* postData,
                          DWORD postDataLength, const wchar_t* headers)
{
    if (!m_pBrowser) return E_FAIL;
    BSTR url = ::SysAllocString(address ? address : L"");
    VARIANT vFlags, vTarget, vPost, vHeaders;
    ::VariantInit(&vFlags);
    ::VariantInit(&vTarget);
    ::VariantInit(&vPost);
    ::VariantInit(&vHeaders);
    vFlags.vt = VT_I4;
    vFlags.lVal = static_cast<LONG>(flags);
    if (targetFrame) {
        vTarget.vt = VT_BSTR;
        vTarget.bstrVal = ::SysAllocString(targetFrame);
    }
    if (headers) {
        vHeaders.vt = VT_BSTR;
        vHeaders.bstrVal = ::SysAllocString(headers);
    }
    if (postData) {
        const DWORD length = postDataLength ? postDataLength : static_cast<DWORD>(strlen(static_cast<const char*>(postData)));
        if (SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, length)) {
            void* data = nullptr;
            if (SUCCEEDED(::SafeArrayAccessData(array, &data))) {
                std::copy_n(static_cast<const BYTE*>(postData), length, static_cast<BYTE*>(data));
                ::SafeArrayUnaccessData(array);
            }
            vPost.vt = VT_ARRAY | VT_UI1;
            vPost.parray = array;
        }
    }
    const HRESULT hr = m_pBrowser->Navigate(url, &vFlags, &vTarget, &vPost, &vHeaders);
    ::SysFreeString(url);
    ::VariantClear(&vTarget);
    ::VariantClear(&vPost);
    ::VariantClear(&vHeaders);
    return hr;
}

HRESULT CHHCtrl::NavigateTopic(const wchar_t* topic, DWORD flags)
{
    if (m_SChmPath.IsEmpty()) return STG_E_FILENOTFOUND;
    return Navigate(ClFormat(L"its:%s::%s", m_SChmPath.GetString(), topic ? topic : L""), flags);
}

HRESULT CHHCtrl::NavigateContextId(DWORD contextId, DWORD flags)
{
    if (m_SChmPath.IsEmpty()) return STG_E_PATHNOTFOUND;
    if (!m_bTopicMapLoaded) {
        const HRESULT hr = LoadTopicMap();
        if (FAILED(hr)) return hr;
    }
    const auto record = std::find_if(m_TopicMap.begin(), m_TopicMap.end(),
                                     [contextId](const TopicRecord& r) { return r.contextId == contextId; });
    if (record == m_TopicMap.end()) return E_FAIL;
    const CString prefix = ClFormat(L"its:%s::", m_SChmPath.GetString());
    CString topic;
    const HRESULT hr = ReadTopicPath(record->offset, kContextAddressChars - prefix.GetLength(), topic);
    if (FAILED(hr)) return hr;
    return Navigate(prefix + topic, flags);
}

HRESULT CHHCtrl::OpenStorage(IStorage** storage) const
{
    *storage = nullptr;
    Held<IITStorage> its;
    if (FAILED(::CoCreateInstance(kClsidITStorage, nullptr, CLSCTX_INPROC_SERVER, kIidITStorage,
                                  reinterpret_cast<void**>(&its))))
        return STG_E_PATHNOTFOUND;
    if (FAILED(its->StgOpenStorage(m_SChmPath, nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, storage))) {
        *storage = nullptr;
        return STG_E_PATHNOTFOUND;
    }
    return S_OK;
}

HRESULT CHHCtrl::OpenStream(const wchar_t* name, IStorage** storage, IStream** stream) const
{
    *stream = nullptr;
    const HRESULT hr = OpenStorage(storage);
    if (FAILED(hr)) return hr;
    if (FAILED((*storage)->OpenStream(name, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream))) {
        *stream = nullptr;
        return STG_E_FILENOTFOUND;
    }
    return S_OK;
}

HRESULT CHHCtrl::LoadTopicMap()
{
    Held<IStorage> storage;
    Held<IStream> stream;
    const HRESULT hr = OpenStream(L"#IVB", &storage, &stream);
    if (FAILED(hr)) return hr;
    DWORD size = 0;
    ULONG got = 0;
    if (FAILED(stream->Read(&size, sizeof size, &got)) || got != sizeof size) return STG_E_READFAULT;
    // The block is read as far as the stream holds it: a size beyond the
    // stream's end is a short read, not a block of that size.
    std::vector<BYTE> block;
    try {
        while (block.size() < size) {
            const size_t want = std::min<size_t>(size - block.size(), 4096);
            const size_t at = block.size();
            block.resize(at + want);
            got = 0;
            if (FAILED(stream->Read(block.data() + at, static_cast<ULONG>(want), &got)) || got != want)
                return STG_E_READFAULT;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    m_TopicMap.clear();
    for (size_t at = 0; at + 8 <= block.size(); at += 8) {
        TopicRecord record;
        memcpy(&record.contextId, &block[at], 4);
        memcpy(&record.offset, &block[at + 4], 4);
        m_TopicMap.push_back(record);
    }
    m_bTopicMapLoaded = TRUE;
    return S_OK;
}

HRESULT CHHCtrl::ReadTopicPath(DWORD offset, int room, CString& topic) const
{
    Held<IStorage> storage;
    Held<IStream> stream;
    const HRESULT hr = OpenStream(L"#STRINGS", &storage, &stream);
    if (FAILED(hr)) return hr;
    // The offset must lie inside the stream.
    LARGE_INTEGER move{};
    ULARGE_INTEGER end{};
    if (FAILED(stream->Seek(move, STREAM_SEEK_END, &end)) || offset >= end.QuadPart) return E_FAIL;
    move.QuadPart = offset;
    if (FAILED(stream->Seek(move, STREAM_SEEK_SET, nullptr))) return E_FAIL;
    // Pieces until the terminating zero; the buffer's end or the stream's
    // end before it fails the lookup.
    std::vector<char> path;
    for (;;) {
        const int want = std::min(kPiece, room - static_cast<int>(path.size()));
        if (want <= 0) return E_FAIL;
        const size_t at = path.size();
        path.resize(at + want);
        ULONG got = 0;
        if (FAILED(stream->Read(path.data() + at, static_cast<ULONG>(want), &got))) return E_FAIL;
        path.resize(at + got);
        const auto zero = std::find(path.begin() + static_cast<std::ptrdiff_t>(at), path.end(), '\0');
        if (zero != path.end()) {
            topic = ClMultiByteToWide(path.data(), static_cast<int>(zero - path.begin()), CP_ACP);
            return S_OK;
        }
        if (got < static_cast<ULONG>(want)) return E_FAIL;
    }
}

// ---------------------------------------------------------------------------
// Commands and events

void CHHCtrl::GoHome()
{
    if (m_SChmPath.IsEmpty() || m_SHome.Find(L':') >= 0)
        Navigate(m_SHome);
    else if (m_SHome.IsEmpty() && m_wHomeId)
        NavigateContextId(m_wHomeId);
    else
        NavigateTopic(m_SHome);
}

BOOL CHHCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (id < ID_HH_HOME || id > m_nLastCmd) return CWnd::OnCommand(wParam, lParam);
    switch (id) {
    case ID_HH_HOME:
        GoHome();
        break;
    case ID_HH_BACK:
        if (m_pBrowser) m_pBrowser->GoBack();
        break;
    case ID_HH_FORWARD:
        if (m_pBrowser) m_pBrowser->GoForward();
        break;
    case ID_HH_PRINT:
        if (m_pBrowser) {
            // A browser without a page cannot print: the command then does
            // nothing.
            Held<IOleCommandTarget> target;
            if (SUCCEEDED(m_pBrowser->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target))))
                target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
        }
        break;
    case ID_HH_CLOSE:
        if (CWnd* parent = GetParent()) parent->PostMessage(WM_CLOSE);
        break;
    default:
        break;
    }
    return TRUE;
}

void CHHCtrl::OnCommandStateChange(long command, VARIANT_BOOL enable)
{
    if (!m_wndToolBar.GetSafeHwnd()) return;
    if (command == CSC_NAVIGATEFORWARD)
        m_wndToolBar.EnableButton(ID_HH_FORWARD, enable != VARIANT_FALSE);
    else if (command == CSC_NAVIGATEBACK)
        m_wndToolBar.EnableButton(ID_HH_BACK, enable != VARIANT_FALSE);
}

void CHHCtrl::OnBeforeNavigate2(const wchar_t*, DWORD, const wchar_t*, CArray<BYTE, BYTE>&, const wchar_t*,
                                BOOL* cancel)
{
    *cancel = FALSE;
}

void CHHCtrl::OnNavigateComplete2(const wchar_t*) {}

void CHHCtrl::OnDocumentComplete(const wchar_t*) {}

void CHHCtrl::BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                              VARIANT* headers, VARIANT_BOOL* cancel)
{
    VARIANT number;
    ::VariantInit(&number);
    DWORD flagBits = 0;
    if (flags && SUCCEEDED(::VariantChangeType(&number, flags, 0, VT_I4))) flagBits = static_cast<DWORD>(number.lVal);
    CArray<BYTE, BYTE> bytes;
    VariantBytes(postData, bytes);
    BOOL stop = FALSE;
    OnBeforeNavigate2(VariantText(url), flagBits, VariantText(target), bytes, VariantText(headers), &stop);
    *cancel = stop ? VARIANT_TRUE : VARIANT_FALSE;
}

void CHHCtrl::NavigateComplete2(IDispatch*, VARIANT* url) { OnNavigateComplete2(VariantText(url)); }

void CHHCtrl::DocumentComplete(IDispatch*, VARIANT* url) { OnDocumentComplete(VariantText(url)); }
