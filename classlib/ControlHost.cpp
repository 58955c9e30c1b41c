#include "ControlHost.h"
#include "App.h"
#include "Exceptions.h"
#include <olectl.h>

namespace {

bool g_containerEnabled = false;

// The window property by which the host's window procedure finds its site.
const wchar_t kSiteProperty[] = L"ClControlSite";

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* site = static_cast<COleControlSite*>(::GetPropW(hwnd, kSiteProperty));
    if (site) {
        switch (message) {
        case WM_SIZE:
            site->LayoutControl();
            break;
        case WM_SETFOCUS:
            if (HWND control = site->GetControlWindow()) {
                ::SetFocus(control);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            if (site->GetControlWindow()) return 1; // the control paints all of it
            break;
        case WM_DESTROY:
            site->DestroyControl();
            break;
        case WM_NCDESTROY:
            ::RemovePropW(hwnd, kSiteProperty);
            site->DetachHost();
            site->InternalRelease();
            break;
        default:
            break;
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The class of host windows, registered once.
const wchar_t* HostClassName()
{
    static const wchar_t kName[] = L"ClControlHost";
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = ClCallerModule();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kName;
        if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) AfxThrowResourceException();
        registered = true;
    }
    return kName;
}

HRESULT BoolValue(VARIANT* value, bool on)
{
    value->vt = VT_BOOL;
    value->boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT LongValue(VARIANT* value, LONG number)
{
    value->vt = VT_I4;
    value->lVal = number;
    return S_OK;
}

// The interface of the events: the default source of the control's class.
IID DefaultSourceOf(IUnknown* control)
{
    IID iid = GUID_NULL;
    IProvideClassInfo2* info2 = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&info2)))) {
        if (FAILED(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid))) iid = GUID_NULL;
        info2->Release();
        if (iid != GUID_NULL) return iid;
    }
    IProvideClassInfo* info = nullptr;
    if (FAILED(control->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&info)))) return iid;
    ITypeInfo* coclass = nullptr;
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info->GetClassInfo(&coclass)) && SUCCEEDED(coclass->GetTypeAttr(&attributes))) {
        for (UINT i = 0; i < attributes->cImplTypes && iid == GUID_NULL; ++i) {
            INT flags = 0;
            HREFTYPE ref = 0;
            ITypeInfo* source = nullptr;
            TYPEATTR* sourceAttributes = nullptr;
            const INT wanted = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
            if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || (flags & wanted) != wanted) continue;
            if (SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)) && SUCCEEDED(coclass->GetRefTypeInfo(ref, &source)) &&
                SUCCEEDED(source->GetTypeAttr(&sourceAttributes))) {
                iid = sourceAttributes->guid;
                source->ReleaseTypeAttr(sourceAttributes);
            }
            if (source) source->Release();
        }
        coclass->ReleaseTypeAttr(attributes);
    }
    if (coclass) coclass->Release();
    info->Release();
    return iid;
}

} // namespace

void AfxEnableControlContainer() { g_containerEnabled = true; }

BOOL AfxControlContainerEnabled() { return g_containerEnabled; }

// ---------------------------------------------------------------------------
// The host window.

BOOL CWnd::CreateControl(const CLSID& clsid, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                         UINT id)
{
    if (!AfxControlContainerEnabled() || m_hWnd || !parent || !parent->GetSafeHwnd()) return FALSE;
    const DWORD hostStyle = (style & ~WS_VISIBLE) | WS_CHILD | WS_CLIPCHILDREN;
    if (!CreateEx(0, HostClassName(), windowName, hostStyle, rect, parent, id)) return FALSE;
    auto* site = new COleControlSite(this);
    m_pCtrlSite = site;
    ::SetPropW(m_hWnd, kSiteProperty, site);
    if (FAILED(site->CreateControl(clsid))) {
        DestroyWindow();
        return FALSE;
    }
    if (style & WS_VISIBLE) ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

IUnknown* CWnd::GetControlUnknown() const
{
    return !ClIsNull(this) && m_pCtrlSite ? m_pCtrlSite->GetControlUnknown() : nullptr;
}

// ---------------------------------------------------------------------------
// COleControlSite

COleControlSite::COleControlSite(CWnd* host) : m_pHost(host)
{
    m_xClientSite.owner = this;
    m_xInPlaceSite.owner = this;
    m_xInPlaceFrame.owner = this;
    m_xControlSite.owner = this;
    m_xAmbient.owner = this;
    m_xEventSink.owner = this;
}

COleControlSite::~COleControlSite() = default;

ULONG COleControlSite::InternalAddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG COleControlSite::InternalRelease()
{
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT COleControlSite::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(&m_xClientSite);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(&m_xInPlaceSite);
    else if (iid == IID_IOleControlSite)
        *out = static_cast<IOleControlSite*>(&m_xControlSite);
    else if (iid == IID_IDispatch)
        *out = static_cast<IDispatch*>(&m_xAmbient);
    else
        return E_NOINTERFACE;
    InternalAddRef();
    return S_OK;
}

HWND COleControlSite::HostWindow() const { return m_pHost ? m_pHost->m_hWnd : nullptr; }

HRESULT COleControlSite::CreateControl(REFCLSID clsid)
{
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IOleObject,
                                    reinterpret_cast<void**>(&m_pObject));
    if (FAILED(hr)) {
        m_pObject = nullptr;
        return hr;
    }
    DWORD misc = 0;
    if (FAILED(m_pObject->GetMiscStatus(DVASPECT_CONTENT, &misc))) misc = 0;
    IOleClientSite* client = &m_xClientSite;
    if (misc & OLEMISC_SETCLIENTSITEFIRST) m_pObject->SetClientSite(client);
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        persist->InitNew();
        persist->Release();
    }
    if (!(misc & OLEMISC_SETCLIENTSITEFIRST)) m_pObject->SetClientSite(client);
    const wchar_t* app = AfxGetAppName();
    m_pObject->SetHostNames(app ? app : L"", nullptr);
    ConnectEvents();

    RECT rect{};
    ::GetClientRect(HostWindow(), &rect);
    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, HostWindow(), &rect);
    if (FAILED(hr)) return hr;
    // Only controls with a window of their own are hosted.
    if (!GetControlWindow()) return E_FAIL;
    LayoutControl();
    return S_OK;
}

void COleControlSite::DestroyControl()
{
    InternalAddRef(); // the control's releases must not end the site meanwhile
    DisconnectEvents();
    if (m_pActiveObject) {
        m_pActiveObject->Release();
        m_pActiveObject = nullptr;
    }
    if (IOleInPlaceObject* inPlace = m_pInPlaceObject) {
        inPlace->AddRef();
        inPlace->InPlaceDeactivate();
        inPlace->Release();
    }
    if (m_pInPlaceObject) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    if (IOleObject* object = m_pObject) {
        m_pObject = nullptr;
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        object->Release();
    }
    InternalRelease();
}

void COleControlSite::DetachHost()
{
    if (m_pHost && m_pHost->m_pCtrlSite == this) m_pHost->m_pCtrlSite = nullptr;
    m_pHost = nullptr;
}

HWND COleControlSite::GetControlWindow() const
{
    HWND hwnd = nullptr;
    if (!m_pInPlaceObject || FAILED(m_pInPlaceObject->GetWindow(&hwnd))) return nullptr;
    return hwnd;
}

void COleControlSite::LayoutControl()
{
    if (!m_pInPlaceObject || !HostWindow()) return;
    RECT rect{};
    ::GetClientRect(HostWindow(), &rect);
    m_pInPlaceObject->SetObjectRects(&rect, &rect);
}

BOOL COleControlSite::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !m_pObject) return FALSE;
    HWND control = GetControlWindow();
    if (!control || (msg->hwnd != control && !::IsChild(control, msg->hwnd))) return FALSE;
    IOleInPlaceActiveObject* active = m_pActiveObject;
    if (active)
        active->AddRef();
    else if (FAILED(m_pObject->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&active))))
        return FALSE;
    const HRESULT hr = active->TranslateAccelerator(msg);
    active->Release();
    return hr == S_OK;
}

HRESULT COleControlSite::GetAmbientProperty(DISPID id, VARIANT* value)
{
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_AUTOCLIP:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        return BoolValue(value, true);
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT:
        return BoolValue(value, false);
    case DISPID_AMBIENT_LOCALEID:
        return LongValue(value, static_cast<LONG>(::GetUserDefaultLCID()));
    case DISPID_AMBIENT_BACKCOLOR:
        return LongValue(value, static_cast<LONG>(::GetSysColor(COLOR_WINDOW)));
    case DISPID_AMBIENT_FORECOLOR:
        return LongValue(value, static_cast<LONG>(::GetSysColor(COLOR_WINDOWTEXT)));
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

void COleControlSite::OnEvent(DISPID id, DISPPARAMS* params)
{
    HWND host = HostWindow();
    CWnd* container = host ? CWnd::FromHandlePermanent(::GetParent(host)) : nullptr;
    if (!container) return;
    const UINT control = static_cast<UINT>(::GetDlgCtrlID(host));
    ClMsgCall call{CL_MSG_EVENT, 0, 0, control, static_cast<int>(id), params, 0};
    try {
        container->DispatchMessageMap(call, CL_MSG_EVENT, static_cast<UINT>(id), control);
    } catch (CException* e) {
        // An exception never crosses the control's frames: it is reported here.
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
    }
}

void COleControlSite::ConnectEvents()
{
    m_iidEvents = DefaultSourceOf(m_pObject);
    if (m_iidEvents == GUID_NULL) return;
    IConnectionPointContainer* points = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) return;
    IConnectionPoint* point = nullptr;
    if (SUCCEEDED(points->FindConnectionPoint(m_iidEvents, &point))) {
        if (FAILED(point->Advise(&m_xEventSink, &m_dwEventCookie))) m_dwEventCookie = 0;
        point->Release();
    }
    points->Release();
}

void COleControlSite::DisconnectEvents()
{
    if (!m_dwEventCookie || !m_pObject) return;
    IConnectionPointContainer* points = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) {
        IConnectionPoint* point = nullptr;
        if (SUCCEEDED(points->FindConnectionPoint(m_iidEvents, &point))) {
            point->Unadvise(m_dwEventCookie);
            point->Release();
        }
        points->Release();
    }
    m_dwEventCookie = 0;
}

// ---------------------------------------------------------------------------
// IOleClientSite

HRESULT COleControlSite::XClientSite::SaveObject() { return S_OK; }

HRESULT COleControlSite::XClientSite::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

HRESULT COleControlSite::XClientSite::GetContainer(IOleContainer** out)
{
    if (out) *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT COleControlSite::XClientSite::ShowObject() { return S_OK; }

HRESULT COleControlSite::XClientSite::OnShowWindow(BOOL) { return S_OK; }

HRESULT COleControlSite::XClientSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// ---------------------------------------------------------------------------
// IOleInPlaceSite

HRESULT COleControlSite::XInPlaceSite::GetWindow(HWND* out)
{
    if (!out) return E_POINTER;
    *out = owner->HostWindow();
    return *out ? S_OK : E_FAIL;
}

HRESULT COleControlSite::XInPlaceSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT COleControlSite::XInPlaceSite::CanInPlaceActivate() { return owner->HostWindow() ? S_OK : S_FALSE; }

HRESULT COleControlSite::XInPlaceSite::OnInPlaceActivate()
{
    if (!owner->m_pInPlaceObject && owner->m_pObject)
        owner->m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&owner->m_pInPlaceObject));
    return S_OK;
}

HRESULT COleControlSite::XInPlaceSite::OnUIActivate() { return S_OK; }

HRESULT COleControlSite::XInPlaceSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                        LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    HWND host = owner->HostWindow();
    *frame = &owner->m_xInPlaceFrame;
    (*frame)->AddRef();
    *document = nullptr;
    ::GetClientRect(host, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(host, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT COleControlSite::XInPlaceSite::Scroll(SIZE) { return E_NOTIMPL; }

HRESULT COleControlSite::XInPlaceSite::OnUIDeactivate(BOOL) { return S_OK; }

HRESULT COleControlSite::XInPlaceSite::OnInPlaceDeactivate()
{
    if (owner->m_pInPlaceObject) {
        owner->m_pInPlaceObject->Release();
        owner->m_pInPlaceObject = nullptr;
    }
    return S_OK;
}

HRESULT COleControlSite::XInPlaceSite::DiscardUndoState() { return S_OK; }

HRESULT COleControlSite::XInPlaceSite::DeactivateAndUndo()
{
    if (owner->m_pInPlaceObject) owner->m_pInPlaceObject->UIDeactivate();
    return S_OK;
}

HRESULT COleControlSite::XInPlaceSite::OnPosRectChange(LPCRECT position)
{
    if (!position) return E_POINTER;
    if (!owner->m_pInPlaceObject) return S_OK;
    RECT clip{};
    ::GetClientRect(owner->HostWindow(), &clip);
    return owner->m_pInPlaceObject->SetObjectRects(position, &clip);
}

// ---------------------------------------------------------------------------
// IOleInPlaceFrame: no menus, tool space or accelerators of the container's.

HRESULT COleControlSite::XInPlaceFrame::GetWindow(HWND* out)
{
    if (!out) return E_POINTER;
    *out = ::GetAncestor(owner->HostWindow(), GA_ROOT);
    return *out ? S_OK : E_FAIL;
}

HRESULT COleControlSite::XInPlaceFrame::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT COleControlSite::XInPlaceFrame::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }

HRESULT COleControlSite::XInPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }

HRESULT COleControlSite::XInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS widths)
{
    return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
}

HRESULT COleControlSite::XInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (object) object->AddRef();
    if (owner->m_pActiveObject) owner->m_pActiveObject->Release();
    owner->m_pActiveObject = object;
    return S_OK;
}

HRESULT COleControlSite::XInPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }

HRESULT COleControlSite::XInPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }

HRESULT COleControlSite::XInPlaceFrame::RemoveMenus(HMENU) { return E_NOTIMPL; }

HRESULT COleControlSite::XInPlaceFrame::SetStatusText(LPCOLESTR) { return S_OK; }

HRESULT COleControlSite::XInPlaceFrame::EnableModeless(BOOL) { return S_OK; }

HRESULT COleControlSite::XInPlaceFrame::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

// ---------------------------------------------------------------------------
// IOleControlSite

HRESULT COleControlSite::XControlSite::OnControlInfoChanged() { return S_OK; }

HRESULT COleControlSite::XControlSite::LockInPlaceActive(BOOL) { return S_OK; }

HRESULT COleControlSite::XControlSite::GetExtendedControl(IDispatch** out)
{
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

HRESULT COleControlSite::XControlSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags)
{
    if (!himetric || !container) return E_POINTER;
    HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX), dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const float perInch = 2540.0f; // HIMETRIC units in an inch
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = himetric->x * dpiX / perInch;
        container->y = himetric->y * dpiY / perInch;
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = static_cast<LONG>(container->x * perInch / dpiX + 0.5f);
        himetric->y = static_cast<LONG>(container->y * perInch / dpiY + 0.5f);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT COleControlSite::XControlSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

HRESULT COleControlSite::XControlSite::OnFocus(BOOL) { return S_OK; }

HRESULT COleControlSite::XControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

// ---------------------------------------------------------------------------
// Ambient properties

HRESULT COleControlSite::XAmbient::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                          EXCEPINFO*, UINT*)
{
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    if (!result) return E_POINTER;
    ::VariantInit(result);
    return owner->GetAmbientProperty(id, result);
}

// ---------------------------------------------------------------------------
// The event sink

HRESULT COleControlSite::XEventSink::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != owner->m_iidEvents) return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

HRESULT COleControlSite::XEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                            EXCEPINFO*, UINT*)
{
    if (result) ::VariantInit(result);
    owner->InternalAddRef();
    owner->OnEvent(id, params);
    owner->InternalRelease();
    return S_OK;
}
