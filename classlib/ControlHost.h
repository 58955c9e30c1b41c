// Hosting ActiveX controls.
//
// Support is switched on once by AfxEnableControlContainer (the window that
// hosts a control calls it); CWnd::CreateControl then makes a window the
// host of a new control of a class: a child window of the library's own
// class at the given place, inside which the control runs in place and
// fills the client area.  The host follows the window's life: moving or
// sizing it hands the new rectangle to the control, the focus goes on to the
// control's window, and destroying the window deactivates, closes and
// releases the control.
//
// The site (COleControlSite) is what the control sees of its container: the
// client site, the in-place site with its frame (no menus, tool space or
// accelerators of its own), the control site and the ambient properties
// through IDispatch (user mode, no hatching or grab handles, the user's
// locale, the window colours).  While the control is active, keys meant for
// it reach its TranslateAccelerator before the windows above it see them.
//
// Events.  The site connects to the control's default source interface and
// hands every event to the message map of the host's parent window, as an
// entry ON_EVENT(host id, dispid, handler).  The handler is called with the
// event's arguments converted to its own parameter types: integers and
// booleans by value, IDispatch*, and VARIANT* or VARIANT_BOOL* for the
// arguments the control passes by reference.  An event whose arguments do
// not fit the handler does not call it.
#pragma once
#include "Wnd.h"
#include <ole2.h>
#include <ocidl.h>
#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

// Turns on the hosting of controls (idempotent).
CLASSLIB_API void AfxEnableControlContainer();
CLASSLIB_API BOOL AfxControlContainerEnabled();

class CLASSLIB_API COleControlSite
{
public:
    explicit COleControlSite(CWnd* host);
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Makes the control, gives it this site, connects its events and
    // activates it in place in the host's client area.
    HRESULT CreateControl(REFCLSID clsid);
    // Disconnects the events, deactivates and closes the control and lets
    // it go (the host's WM_DESTROY).
    void DestroyControl();
    // The host window is gone: the site no longer knows it.
    void DetachHost();

    IUnknown* GetControlUnknown() const { return m_pObject; }
    // The control's own window while it is active in place (else null).
    HWND GetControlWindow() const;
    BOOL IsInPlaceActive() const { return m_pInPlaceObject != nullptr; }
    // The interface of the control's events (GUID_NULL when it has none).
    const IID& GetEventsIID() const { return m_iidEvents; }
    BOOL IsEventSinkConnected() const { return m_dwEventCookie != 0; }

    // Gives the control the host's client rectangle.
    void LayoutControl();
    // A key message for a window of the control goes to the active
    // object's TranslateAccelerator; TRUE when it took the key.
    BOOL PreTranslateMessage(MSG* msg);

    // The ambient property of that id; DISP_E_MEMBERNOTFOUND for one the
    // container does not give.
    virtual HRESULT GetAmbientProperty(DISPID id, VARIANT* value);
    // An event of the control: offered to the message map of the host's
    // parent (see ON_EVENT).
    virtual void OnEvent(DISPID id, DISPPARAMS* params);

    ULONG InternalAddRef();
    ULONG InternalRelease();

protected:
    virtual ~COleControlSite();

private:
    template <class Base>
    struct Part : Base {
        COleControlSite* owner = nullptr;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
        {
            return owner->QueryInterface(iid, out);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return owner->InternalAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner->InternalRelease(); }
    };
    struct XClientSite : Part<IOleClientSite> {
        HRESULT STDMETHODCALLTYPE SaveObject() override;
        HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override;
        HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override;
        HRESULT STDMETHODCALLTYPE ShowObject() override;
        HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override;
        HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;
    } m_xClientSite;
    struct XInPlaceSite : Part<IOleInPlaceSite> {
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;
        HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnUIActivate() override;
        HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                   LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
        HRESULT STDMETHODCALLTYPE Scroll(SIZE) override;
        HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override;
        HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
        HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
        HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
        HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;
    } m_xInPlaceSite;
    struct XInPlaceFrame : Part<IOleInPlaceFrame> {
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;
        HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override;
        HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override;
        HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override;
        HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
        HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
        HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override;
        HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override;
        HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override;
    } m_xInPlaceFrame;
    struct XControlSite : Part<IOleControlSite> {
        HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override;
        HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override;
        HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** out) override;
        HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override;
        HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override;
        HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override;
    } m_xControlSite;
    // A dispatch interface without type information or names: only its
    // Invoke is its own.
    template <class Base>
    struct PlainDispatch : Base {
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
        {
            if (!count) return E_POINTER;
            *count = 0;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override
        {
            if (out) *out = nullptr;
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
        {
            return DISP_E_UNKNOWNNAME;
        }
    };
    // The ambient properties.
    struct XAmbient : PlainDispatch<Part<IDispatch>> {
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                         EXCEPINFO*, UINT*) override;
    } m_xAmbient;
    // The sink of the control's events (a separate identity: it answers the
    // events' interface).
    struct XEventSink : PlainDispatch<IDispatch> {
        COleControlSite* owner = nullptr;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return owner->InternalAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return owner->InternalRelease(); }
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                         EXCEPINFO*, UINT*) override;
    } m_xEventSink;

    HRESULT QueryInterface(REFIID iid, void** out);
    void ConnectEvents();
    void DisconnectEvents();
    HWND HostWindow() const;

    LONG m_refs = 1; // the host's reference
    CWnd* m_pHost;
    IOleObject* m_pObject = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
    IID m_iidEvents = GUID_NULL;
    DWORD m_dwEventCookie = 0;
};

// ---------------------------------------------------------------------------
// Event handlers in message maps.

// Converting one event argument to a handler's parameter type.
template <class T, class Enable = void>
struct ClEventArg; // no conversion: the handler does not compile

// Integers and booleans (VARIANT_BOOL is a short), by value.
template <class T>
struct ClEventArg<T, std::enable_if_t<std::is_integral<T>::value>> {
    static bool From(VARIANTARG& arg, T& out)
    {
        VARIANT value;
        ::VariantInit(&value);
        if (FAILED(::VariantChangeType(&value, &arg, 0, VT_I4))) return false;
        out = static_cast<T>(value.lVal);
        return true;
    }
};
template <>
struct ClEventArg<IDispatch*> {
    static bool From(VARIANTARG& arg, IDispatch*& out)
    {
        if (arg.vt == VT_DISPATCH) out = arg.pdispVal;
        else if (arg.vt == (VT_DISPATCH | VT_BYREF)) out = arg.ppdispVal ? *arg.ppdispVal : nullptr;
        else if (arg.vt == VT_EMPTY || arg.vt == VT_NULL) out = nullptr;
        else return false;
        return true;
    }
};
template <>
struct ClEventArg<VARIANT*> {
    static bool From(VARIANTARG& arg, VARIANT*& out)
    {
        out = arg.vt == (VT_VARIANT | VT_BYREF) ? arg.pvarVal : &arg;
        return out != nullptr;
    }
};
template <>
struct ClEventArg<VARIANT_BOOL*> {
    static bool From(VARIANTARG& arg, VARIANT_BOOL*& out)
    {
        if (arg.vt != (VT_BOOL | VT_BYREF) || !arg.pboolVal) return false;
        out = arg.pboolVal;
        return true;
    }
};

// Calls the handler with the event's arguments (DISPPARAMS holds them last
// first); FALSE when their number or a type does not fit.
template <class T, class C, class... A, std::size_t... I>
BOOL ClCallEventHandler(T* target, void (C::*handler)(A...), DISPPARAMS* params, std::index_sequence<I...>)
{
    std::tuple<std::decay_t<A>...> args;
    const UINT n = sizeof...(A);
    const bool fits = (... && ClEventArg<std::decay_t<A>>::From(params->rgvarg[n - 1 - I], std::get<I>(args)));
    if (!fits) return FALSE;
    (target->*handler)(std::get<I>(args)...);
    return TRUE;
}
template <class T, class C, class... A>
BOOL ClCallEventHandler(T* target, void (C::*handler)(A...), DISPPARAMS* params)
{
    if (!params || params->cArgs != sizeof...(A) || (sizeof...(A) > 0 && !params->rgvarg)) return FALSE;
    return ClCallEventHandler(target, handler, params, std::index_sequence_for<A...>{});
}

// void fn(arguments...): the event `dispid` of the control hosted by the
// child window `id`.
#define ON_EVENT(id, dispid, fn)                                                                                   \
    {CL_MSG_EVENT, (UINT)(dispid), (UINT)(id), (UINT)(id), [](CCmdTarget* t_, ClMsgCall& m) -> BOOL {              \
         return ClCallEventHandler(static_cast<ThisClass*>(t_), &ThisClass::fn, static_cast<DISPPARAMS*>(m.extra)); \
     }},
