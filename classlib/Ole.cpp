#include "Ole.h"
#include "Wnd.h"
#include "View.h"
#include <shlobj.h>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

// What AfxOleInit started, and the data source last put on the clipboard.
struct OleState {
    bool started = false;
    DWORD thread = 0;
    COleDataSource* clipboardSource = nullptr;
};

OleState& Ole()
{
    static OleState* state = new OleState; // outlives every static object
    return *state;
}

// The registered drop targets of this thread's windows.
std::unordered_map<HWND, COleDropTarget*>& Targets()
{
    static thread_local std::unordered_map<HWND, COleDropTarget*>* targets = nullptr;
    if (!targets) targets = new std::unordered_map<HWND, COleDropTarget*>;
    return *targets;
}

FORMATETC HGlobalFormat(CLIPFORMAT format)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

HGLOBAL CopyGlobal(HGLOBAL source)
{
    SIZE_T size = ::GlobalSize(source);
    if (size == 0) return ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1); // an empty block stays empty
    const void* from = ::GlobalLock(source);
    if (!from) return nullptr;
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    void* to = copy ? ::GlobalLock(copy) : nullptr;
    if (to) {
        std::memcpy(to, from, size);
        ::GlobalUnlock(copy);
    } else if (copy) {
        ::GlobalFree(copy);
        copy = nullptr;
    }
    ::GlobalUnlock(source);
    return copy;
}

// Limits an effect to what the source allows; a move the source does not
// allow becomes a copy when it allows that.  The scroll bit stays.
DROPEFFECT FilterEffect(DROPEFFECT effect, DWORD allowed)
{
    DROPEFFECT scroll = effect & DROPEFFECT_SCROLL;
    DROPEFFECT base = effect & ~DROPEFFECT_SCROLL;
    if (base & allowed)
        base &= allowed;
    else if ((base & DROPEFFECT_MOVE) && (allowed & DROPEFFECT_COPY))
        base = DROPEFFECT_COPY;
    else
        base = DROPEFFECT_NONE;
    return base | scroll;
}

// The drop source of DoDragDrop: the drag ends when the left button goes
// up, and is cancelled by Escape or the right button.
struct DropSource : IDropSource {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override
    {
        if (escape || (keyState & MK_RBUTTON)) return DRAGDROP_S_CANCEL;
        if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

} // namespace

// ---------------------------------------------------------------------------
// Start and end.

BOOL AfxOleInit()
{
    OleState& st = Ole();
    if (st.started) return TRUE;
    HRESULT hr = ::OleInitialize(nullptr);
    if (FAILED(hr)) return FALSE;
    st.started = true;
    st.thread = ::GetCurrentThreadId();
    return TRUE;
}

void AfxOleTerm()
{
    OleState& st = Ole();
    if (!st.started || st.thread != ::GetCurrentThreadId()) return;
    // Text the program left on the clipboard stays there after it ends: the
    // data goes onto the clipboard itself, in place of OLE's promise of it.
    if (st.clipboardSource && ::OleIsCurrentClipboard(st.clipboardSource->GetInterface()) == S_OK) {
        std::vector<std::pair<CLIPFORMAT, HGLOBAL>> copies = st.clipboardSource->CopyData();
        st.clipboardSource = nullptr;
        ::OleSetClipboard(nullptr); // releases the data source
        HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        bool open = owner && ::OpenClipboard(owner) && ::EmptyClipboard();
        for (auto& c : copies)
            if (!open || !::SetClipboardData(c.first, c.second)) ::GlobalFree(c.second);
        if (open) ::CloseClipboard();
        if (owner) ::DestroyWindow(owner);
    }
    st.clipboardSource = nullptr;
    st.started = false;
    ::OleUninitialize();
}

// ---------------------------------------------------------------------------
// Text blocks.

BOOL ClReadGlobalText(HGLOBAL data, CLIPFORMAT format, CString& text)
{
    text.Empty();
    if (!data || (format != CF_UNICODETEXT && format != CF_TEXT && format != CF_OEMTEXT)) return FALSE;
    SIZE_T size = ::GlobalSize(data);
    if (size == 0) return ::GlobalFlags(data) != GMEM_INVALID_HANDLE; // an empty text
    const void* bytes = ::GlobalLock(data);
    if (!bytes) return FALSE;
    if (format == CF_UNICODETEXT) {
        const wchar_t* chars = static_cast<const wchar_t*>(bytes);
        SIZE_T count = size / sizeof(wchar_t);
        SIZE_T length = std::find(chars, chars + count, L'\0') - chars;
        text = CString(chars, static_cast<int>(length));
    } else {
        const char* chars = static_cast<const char*>(bytes);
        SIZE_T length = std::find(chars, chars + size, '\0') - chars;
        text = ClMultiByteToWide(chars, static_cast<int>(length), format == CF_TEXT ? CP_ACP : CP_OEMCP);
    }
    ::GlobalUnlock(data);
    return TRUE;
}

HGLOBAL ClGlobalFromText(const wchar_t* text, CLIPFORMAT format)
{
    if (!text) text = L"";
    std::string ansi;
    const void* from = text;
    SIZE_T size = (std::wcslen(text) + 1) * sizeof(wchar_t);
    if (format != CF_UNICODETEXT) {
        ansi = ClWideToMultiByte(text, -1, format == CF_OEMTEXT ? CP_OEMCP : CP_ACP);
        from = ansi.c_str();
        size = ansi.size() + 1;
    }
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = block ? ::GlobalLock(block) : nullptr;
    if (!to) {
        if (block) ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(to, from, size);
    ::GlobalUnlock(block);
    return block;
}

// ---------------------------------------------------------------------------
// COleDataObject.

COleDataObject::~COleDataObject() { Release(); }

void COleDataObject::Attach(LPDATAOBJECT dataObject, BOOL autoRelease)
{
    Release();
    m_lpDataObject = dataObject;
    m_bAutoRelease = autoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT dataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    return dataObject;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease) m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT dataObject = nullptr;
    if (FAILED(::OleGetClipboard(&dataObject)) || !dataObject) return FALSE;
    Attach(dataObject, TRUE);
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    if (!m_lpDataObject) return FALSE;
    FORMATETC fe = formatEtc ? *formatEtc : HGlobalFormat(format);
    fe.cfFormat = format;
    return m_lpDataObject->QueryGetData(&fe) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc)
{
    if (!m_lpDataObject || !medium) return FALSE;
    FORMATETC fe = formatEtc ? *formatEtc : HGlobalFormat(format);
    fe.cfFormat = format;
    *medium = STGMEDIUM{};
    return SUCCEEDED(m_lpDataObject->GetData(&fe, medium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    FORMATETC fe = formatEtc ? *formatEtc : HGlobalFormat(format);
    fe.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium{};
    if (!GetData(format, &medium, &fe)) return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (!medium.pUnkForRelease) return medium.hGlobal; // ours now
    // The block still belongs to the data object: keep a copy.
    HGLOBAL copy = CopyGlobal(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return copy;
}

BOOL COleDataObject::IsTextAvailable()
{
    return IsDataAvailable(CF_UNICODETEXT) || IsDataAvailable(CF_TEXT);
}

BOOL COleDataObject::GetText(CString& text)
{
    text.Empty();
    for (CLIPFORMAT format : {CLIPFORMAT(CF_UNICODETEXT), CLIPFORMAT(CF_TEXT)}) {
        if (!IsDataAvailable(format)) continue;
        HGLOBAL data = GetGlobalData(format);
        if (!data) continue;
        BOOL ok = ClReadGlobalText(data, format, text);
        ::GlobalFree(data);
        if (ok) return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// COleDataSource.

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

COleDataSource::COleDataSource() { m_xDataObject.owner = this; }

COleDataSource::~COleDataSource()
{
    OleState& st = Ole();
    if (st.clipboardSource == this) {
        st.clipboardSource = nullptr;
        // Deleted by hand while the clipboard still holds it (its last
        // reference gone, it is no longer there): take it off rather than
        // leave the clipboard with a dangling object.
        if (m_refs > 0 && ::OleIsCurrentClipboard(GetInterface()) == S_OK) {
            m_refs = 1 << 20; // the clipboard's release must not delete it again
            ::OleSetClipboard(nullptr);
        }
    }
    Empty();
}

LPDATAOBJECT COleDataSource::GetInterface() { return &m_xDataObject; }

ULONG COleDataSource::InternalAddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG COleDataSource::InternalRelease()
{
    LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL data, LPFORMATETC formatEtc)
{
    FORMATETC fe = formatEtc ? *formatEtc : HGlobalFormat(format);
    fe.cfFormat = format;
    fe.tymed = TYMED_HGLOBAL;
    for (Entry& e : m_entries) {
        if (e.format.cfFormat == format && e.format.dwAspect == fe.dwAspect) {
            if (e.data != data) ::GlobalFree(e.data);
            e.format = fe;
            e.data = data;
            return;
        }
    }
    m_entries.push_back(Entry{fe, data});
}

BOOL COleDataSource::CacheText(const wchar_t* text)
{
    HGLOBAL wide = ClGlobalFromText(text, CF_UNICODETEXT);
    HGLOBAL ansi = ClGlobalFromText(text, CF_TEXT);
    if (!wide || !ansi) {
        if (wide) ::GlobalFree(wide);
        if (ansi) ::GlobalFree(ansi);
        return FALSE;
    }
    CacheGlobalData(CF_UNICODETEXT, wide);
    CacheGlobalData(CF_TEXT, ansi);
    return TRUE;
}

std::vector<std::pair<CLIPFORMAT, HGLOBAL>> COleDataSource::CopyData() const
{
    std::vector<std::pair<CLIPFORMAT, HGLOBAL>> copies;
    for (const Entry& e : m_entries)
        if (HGLOBAL copy = CopyGlobal(e.data)) copies.emplace_back(e.format.cfFormat, copy);
    return copies;
}

void COleDataSource::Empty()
{
    for (Entry& e : m_entries) ::GlobalFree(e.data);
    m_entries.clear();
}

BOOL COleDataSource::SetClipboard()
{
    Ole().clipboardSource = nullptr; // the one there before may go meanwhile
    if (FAILED(::OleSetClipboard(GetInterface()))) return FALSE;
    // The clipboard holds its own reference now; the creator's goes.
    Ole().clipboardSource = this;
    InternalRelease();
    return TRUE;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD allowedEffects)
{
    DropSource source;
    DWORD effect = DROPEFFECT_NONE;
    InternalAddRef(); // the drag may not take the creator's reference away
    HRESULT hr = ::DoDragDrop(GetInterface(), &source, allowedEffects, &effect);
    InternalRelease();
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

const COleDataSource::Entry* COleDataSource::Find(const FORMATETC* format, HRESULT* why) const
{
    *why = DV_E_FORMATETC;
    if (!format) {
        *why = E_INVALIDARG;
        return nullptr;
    }
    for (const Entry& e : m_entries) {
        if (e.format.cfFormat != format->cfFormat || e.format.dwAspect != format->dwAspect) continue;
        if (format->lindex != -1) {
            *why = DV_E_LINDEX;
            continue;
        }
        if (!(format->tymed & TYMED_HGLOBAL)) {
            *why = DV_E_TYMED;
            continue;
        }
        *why = S_OK;
        return &e;
    }
    return nullptr;
}

HRESULT COleDataSource::XDataObject::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG COleDataSource::XDataObject::AddRef() { return owner->InternalAddRef(); }
ULONG COleDataSource::XDataObject::Release() { return owner->InternalRelease(); }

HRESULT COleDataSource::XDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium) return E_POINTER;
    HRESULT why;
    const Entry* e = owner->Find(format, &why);
    if (!e) return why;
    HGLOBAL copy = CopyGlobal(e->data);
    if (!copy) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT COleDataSource::XDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium) return E_POINTER;
    HRESULT why;
    const Entry* e = owner->Find(format, &why);
    if (!e) return why;
    if (medium->tymed != TYMED_HGLOBAL || !medium->hGlobal) return DV_E_TYMED;
    SIZE_T size = ::GlobalSize(e->data);
    if (::GlobalSize(medium->hGlobal) < size) return STG_E_MEDIUMFULL;
    const void* from = ::GlobalLock(e->data);
    void* to = ::GlobalLock(medium->hGlobal);
    if (from && to) std::memcpy(to, from, size);
    if (from) ::GlobalUnlock(e->data);
    if (to) ::GlobalUnlock(medium->hGlobal);
    return from && to ? S_OK : E_OUTOFMEMORY;
}

HRESULT COleDataSource::XDataObject::QueryGetData(FORMATETC* format)
{
    HRESULT why;
    owner->Find(format, &why);
    return why;
}

HRESULT COleDataSource::XDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out)
{
    if (!out) return E_POINTER;
    if (in) *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT COleDataSource::XDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT COleDataSource::XDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Entry& e : owner->m_entries) formats.push_back(e.format);
    return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
}

HRESULT COleDataSource::XDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}
HRESULT COleDataSource::XDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT COleDataSource::XDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

// ---------------------------------------------------------------------------
// COleDropTarget.

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

COleDropTarget::COleDropTarget() { m_xDropTarget.owner = this; }

COleDropTarget::~COleDropTarget()
{
    EndDrag();
    if (m_hWnd) COleDropTarget::Revoke();
}

LPDROPTARGET COleDropTarget::GetInterface() { return &m_xDropTarget; }

BOOL COleDropTarget::Register(CWnd* wnd)
{
    HWND hwnd = wnd->GetSafeHwnd();
    if (!hwnd || !::IsWindow(hwnd) || m_hWnd) return FALSE;
    if (FAILED(::RegisterDragDrop(hwnd, GetInterface()))) return FALSE;
    m_hWnd = hwnd;
    Targets()[hwnd] = this;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_hWnd) return;
    EndDrag();
    ::RevokeDragDrop(m_hWnd);
    auto& targets = Targets();
    auto it = targets.find(m_hWnd);
    if (it != targets.end() && it->second == this) targets.erase(it);
    m_hWnd = nullptr;
}

void ClRevokeDropTargetOf(HWND hwnd)
{
    auto& targets = Targets();
    auto it = targets.find(hwnd);
    if (it != targets.end()) it->second->Revoke();
}

CWnd* COleDropTarget::Window() const { return m_hWnd ? CWnd::FromHandle(m_hWnd) : nullptr; }

CPoint COleDropTarget::ClientPoint(POINTL point) const
{
    POINT p{point.x, point.y};
    ::ScreenToClient(m_hWnd, &p);
    return CPoint(p.x, p.y);
}

// The defaults hand the drag to the window when it is a view.

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    CView* view = DYNAMIC_DOWNCAST(CView, wnd);
    return view ? view->OnDragEnter(data, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    CView* view = DYNAMIC_DOWNCAST(CView, wnd);
    return view ? view->OnDragOver(data, keyState, point) : DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point)
{
    CView* view = DYNAMIC_DOWNCAST(CView, wnd);
    return view ? view->OnDrop(data, effect, point) : FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint)
{
    return static_cast<DROPEFFECT>(-1);
}

void COleDropTarget::OnDragLeave(CWnd* wnd)
{
    if (CView* view = DYNAMIC_DOWNCAST(CView, wnd)) view->OnDragLeave();
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point)
{
    if (CView* view = DYNAMIC_DOWNCAST(CView, wnd)) {
        DROPEFFECT answer = view->OnDragScroll(keyState, point);
        if (answer != DROPEFFECT_NONE) return answer;
    }
    DWORD style = wnd ? wnd->GetStyle() : 0;
    CRect client;
    if (wnd) wnd->GetClientRect(&client);
    int inset = m_nScrollInset;
    UINT message = 0;
    WPARAM code = 0;
    if ((style & WS_VSCROLL) && point.y < client.top + inset) {
        message = WM_VSCROLL;
        code = SB_LINEUP;
    } else if ((style & WS_VSCROLL) && point.y >= client.bottom - inset) {
        message = WM_VSCROLL;
        code = SB_LINEDOWN;
    } else if ((style & WS_HSCROLL) && point.x < client.left + inset) {
        message = WM_HSCROLL;
        code = SB_LINELEFT;
    } else if ((style & WS_HSCROLL) && point.x >= client.right - inset) {
        message = WM_HSCROLL;
        code = SB_LINERIGHT;
    }
    if (!message || !client.PtInRect(point)) {
        m_insetSince = 0;
        return DROPEFFECT_NONE;
    }
    DWORD now = ::GetTickCount() | 1; // never 0, which means "outside"
    if (!m_insetSince) m_insetSince = now;
    if (now - m_insetSince >= m_nScrollDelay && (!m_lastScroll || now - m_lastScroll >= m_nScrollInterval)) {
        wnd->SendMessage(message, code, 0);
        m_lastScroll = now;
    }
    return DROPEFFECT_SCROLL | ((keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
}

DROPEFFECT COleDropTarget::Answer(CWnd* wnd, DWORD keyState, CPoint point, BOOL enter, DWORD allowed)
{
    DROPEFFECT effect = OnDragScroll(wnd, keyState, point);
    if (!(effect & DROPEFFECT_SCROLL))
        effect = enter ? OnDragEnter(wnd, &m_dataObject, keyState, point)
                       : OnDragOver(wnd, &m_dataObject, keyState, point);
    effect = FilterEffect(effect, allowed);
    m_lastEffect = effect & ~DROPEFFECT_SCROLL;
    return effect;
}

void COleDropTarget::EndDrag()
{
    m_dataObject.Release();
    m_lastEffect = DROPEFFECT_NONE;
    m_insetSince = 0;
    m_lastScroll = 0;
}

HRESULT COleDropTarget::XDropTarget::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// The target lives as long as its owner (a window's member); its
// registration ends before it goes, so OLE's references need no count.
ULONG COleDropTarget::XDropTarget::AddRef() { return 1; }
ULONG COleDropTarget::XDropTarget::Release() { return 1; }

HRESULT COleDropTarget::XDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    owner->EndDrag();
    CWnd* wnd = owner->Window();
    if (!wnd || !data) return S_OK;
    data->AddRef();
    owner->m_dataObject.Attach(data, TRUE);
    *effect = owner->Answer(wnd, keyState, owner->ClientPoint(point), TRUE, allowed);
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    CWnd* wnd = owner->Window();
    if (!wnd || !owner->m_dataObject.m_lpDataObject) return S_OK;
    *effect = owner->Answer(wnd, keyState, owner->ClientPoint(point), FALSE, allowed);
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::DragLeave()
{
    if (CWnd* wnd = owner->Window())
        if (owner->m_dataObject.m_lpDataObject) owner->OnDragLeave(wnd);
    owner->EndDrag();
    return S_OK;
}

HRESULT COleDropTarget::XDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (!effect) return E_INVALIDARG;
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    CWnd* wnd = owner->Window();
    if (!wnd || !data) {
        owner->EndDrag();
        return S_OK;
    }
    CPoint p = owner->ClientPoint(point);
    if (owner->m_dataObject.m_lpDataObject != data) {
        // A drop without its enter: the target answers for it first.
        DWORD enterEffect = allowed;
        DragEnter(data, keyState, point, &enterEffect);
    }
    DROPEFFECT last = owner->m_lastEffect;
    if (last == DROPEFFECT_NONE) {
        // Nothing would happen here: the drag just leaves.
        owner->OnDragLeave(wnd);
        owner->EndDrag();
        return S_OK;
    }
    DROPEFFECT result = owner->OnDropEx(wnd, &owner->m_dataObject, last, allowed, p);
    if (result == static_cast<DROPEFFECT>(-1))
        result = owner->OnDrop(wnd, &owner->m_dataObject, last, p) ? last : DROPEFFECT_NONE;
    *effect = FilterEffect(result, allowed) & ~DROPEFFECT_SCROLL;
    owner->EndDrag();
    return S_OK;
}
