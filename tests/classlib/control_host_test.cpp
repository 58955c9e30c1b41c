// ActiveX controls hosted in windows of the library, with the system's web
// browser as the control: in-place activation inside the host and sizing
// with it, the ambient properties, the control's events in the parent's
// message map with their arguments converted, keys offered to the active
// object first, and the control closed and let go with its window.
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>
#include <vector>

using namespace wintest;

namespace {

const UINT kHostId = 7;

// A parent window that records the events of the control with id 7.
class EventParent : public CWnd
{
public:
    std::vector<CString> log;
    BOOL cancelNavigation = TRUE;

    void OnCommandStateChange(long command, VARIANT_BOOL enable)
    {
        log.push_back(ClFormat(L"state %ld %d", command, enable));
    }
    void OnBeforeNavigate2(IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL* cancel)
    {
        log.push_back(CString(L"before ") + (url->vt == VT_BSTR ? url->bstrVal : L"?"));
        *cancel = cancelNavigation ? VARIANT_TRUE : VARIANT_FALSE;
    }
    void OnNavigateComplete2(IDispatch*, VARIANT* url)
    {
        log.push_back(CString(L"complete ") + (url->vt == VT_BSTR ? url->bstrVal : L"?"));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EventParent, CWnd)
    ON_EVENT(kHostId, DISPID_COMMANDSTATECHANGE, OnCommandStateChange)
    ON_EVENT(kHostId, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2)
    ON_EVENT(kHostId, DISPID_NAVIGATECOMPLETE2, OnNavigateComplete2)
END_MESSAGE_MAP()

// A hidden frame with the parent window and the browser hosted in it at
// (10, 10, 310, 210).
struct BrowserFixture {
    TestFrame* frame = new TestFrame;
    EventParent parent;
    CWnd host;

    BrowserFixture()
    {
        EXPECT_TRUE(AfxOleInit());
        AfxEnableControlContainer();
        EXPECT_TRUE(parent.Create(nullptr, L"parent", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), frame, 5));
        EXPECT_TRUE(host.CreateControl(CLSID_WebBrowser, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 210),
                                       &parent, kHostId));
    }
    ~BrowserFixture()
    {
        if (frame->m_hWnd) frame->DestroyWindow();
    }
    HWND Control() const { return host.m_pCtrlSite ? host.m_pCtrlSite->GetControlWindow() : nullptr; }
    template <class I>
    I* Query(REFIID iid)
    {
        I* out = nullptr;
        if (IUnknown* control = host.GetControlUnknown()) control->QueryInterface(iid, reinterpret_cast<void**>(&out));
        return out;
    }
    // What the control sees of its container.
    template <class I>
    I* SiteInterface(REFIID iid)
    {
        IOleObject* object = Query<IOleObject>(IID_IOleObject);
        IOleClientSite* site = nullptr;
        I* out = nullptr;
        if (object && SUCCEEDED(object->GetClientSite(&site)) && site) {
            site->QueryInterface(iid, reinterpret_cast<void**>(&out));
            site->Release();
        }
        if (object) object->Release();
        return out;
    }
};

CRect RectIn(HWND hwnd, HWND reference)
{
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    ::MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// An active object that takes F5 and nothing else.
struct RecordingActiveObject : IOleInPlaceActiveObject {
    std::vector<UINT> keys;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceActiveObject) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override
    {
        keys.push_back(static_cast<UINT>(msg->wParam));
        return msg->wParam == VK_F5 ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
};

} // namespace

TEST(ControlHost, TheControlRunsInPlaceInsideTheHostAndFollowsItsSize)
{
    BrowserFixture f;
    ASSERT_NE(nullptr, f.host.m_hWnd);
    EXPECT_EQ(f.parent.m_hWnd, ::GetParent(f.host.m_hWnd));
    EXPECT_EQ(static_cast<int>(kHostId), f.host.GetDlgCtrlID());
    EXPECT_TRUE(f.host.GetStyle() & WS_VISIBLE);
    ASSERT_TRUE(f.host.m_pCtrlSite->IsInPlaceActive());
    const HWND control = f.Control();
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(f.host.m_hWnd, ::GetParent(control));
    EXPECT_EQ(CRect(0, 0, 300, 200), RectIn(control, f.host.m_hWnd));

    IWebBrowser2* browser = f.Query<IWebBrowser2>(IID_IWebBrowser2);
    ASSERT_NE(nullptr, browser);
    browser->Release();

    // Moving and sizing the host hands the control its new client area.
    f.host.MoveWindow(20, 30, 250, 120);
    EXPECT_EQ(CRect(0, 0, 250, 120), RectIn(control, f.host.m_hWnd));
    EXPECT_EQ(CRect(20, 30, 270, 150), RectIn(f.host.m_hWnd, f.parent.m_hWnd));
    f.host.SetWindowPos(nullptr, 0, 0, 180, 90, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(CRect(0, 0, 180, 90), RectIn(control, f.host.m_hWnd));

    // The in-place site's window is the host; the frame's the top window.
    IOleInPlaceSite* site = f.SiteInterface<IOleInPlaceSite>(IID_IOleInPlaceSite);
    ASSERT_NE(nullptr, site);
    HWND window = nullptr;
    EXPECT_EQ(S_OK, site->GetWindow(&window));
    EXPECT_EQ(f.host.m_hWnd, window);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    CRect position, clip;
    OLEINPLACEFRAMEINFO info{sizeof info};
    ASSERT_EQ(S_OK, site->GetWindowContext(&frame, &document, &position, &clip, &info));
    EXPECT_EQ(nullptr, document);
    EXPECT_EQ(CRect(0, 0, 180, 90), position);
    EXPECT_EQ(f.frame->m_hWnd, info.hwndFrame);
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(S_OK, frame->GetWindow(&window));
    EXPECT_EQ(f.frame->m_hWnd, window);
    frame->Release();
    site->Release();
}

TEST(ControlHost, AmbientPropertiesAnswerThroughTheSitesDispatch)
{
    BrowserFixture f;
    IDispatch* ambient = f.SiteInterface<IDispatch>(IID_IDispatch);
    ASSERT_NE(nullptr, ambient);
    struct Case {
        DISPID id;
        HRESULT hr;
        VARTYPE vt;
        LONG value;
    };
    const Case cases[] = {
        {DISPID_AMBIENT_USERMODE, S_OK, VT_BOOL, VARIANT_TRUE},
        {DISPID_AMBIENT_UIDEAD, S_OK, VT_BOOL, VARIANT_FALSE},
        {DISPID_AMBIENT_SHOWHATCHING, S_OK, VT_BOOL, VARIANT_FALSE},
        {DISPID_AMBIENT_SHOWGRABHANDLES, S_OK, VT_BOOL, VARIANT_FALSE},
        {DISPID_AMBIENT_MESSAGEREFLECT, S_OK, VT_BOOL, VARIANT_FALSE},
        {DISPID_AMBIENT_LOCALEID, S_OK, VT_I4, static_cast<LONG>(::GetUserDefaultLCID())},
        {DISPID_AMBIENT_BACKCOLOR, S_OK, VT_I4, static_cast<LONG>(::GetSysColor(COLOR_WINDOW))},
        {DISPID_AMBIENT_FONT, DISP_E_MEMBERNOTFOUND, VT_EMPTY, 0},
        {12345, DISP_E_MEMBERNOTFOUND, VT_EMPTY, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        DISPPARAMS none{};
        VARIANT value;
        ::VariantInit(&value);
        EXPECT_EQ(c.hr, ambient->Invoke(c.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr));
        EXPECT_EQ(c.vt, value.vt);
        if (c.vt == VT_BOOL) EXPECT_EQ(c.value, value.boolVal);
        if (c.vt == VT_I4) EXPECT_EQ(c.value, value.lVal);
    }
    // Ambient properties are read only.
    DISPPARAMS none{};
    VARIANT value;
    ::VariantInit(&value);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
              ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYPUT, &none, &value, nullptr, nullptr));
    ambient->Release();
}

TEST(ControlHost, TheControlsEventsReachTheParentsMessageMap)
{
    BrowserFixture f;
    ASSERT_TRUE(f.host.m_pCtrlSite->IsEventSinkConnected());
    EXPECT_TRUE(IsEqualIID(DIID_DWebBrowserEvents2, f.host.m_pCtrlSite->GetEventsIID()));

    // The browser announces a navigation; the handler's cancel stops it.
    IWebBrowser2* browser = f.Query<IWebBrowser2>(IID_IWebBrowser2);
    ASSERT_NE(nullptr, browser);
    BSTR url = ::SysAllocString(L"http://example.invalid/page.htm");
    VARIANT empty;
    ::VariantInit(&empty);
    EXPECT_EQ(S_OK, browser->Navigate(url, &empty, &empty, &empty, &empty));
    ::SysFreeString(url);
    PumpUntilIdle();
    browser->Release();
    ASSERT_FALSE(f.parent.log.empty());
    EXPECT_EQ(CString(L"before http://example.invalid/page.htm"), f.parent.log[0]);
    for (const CString& line : f.parent.log) EXPECT_EQ(-1, line.Find(L"complete"));
}

TEST(ControlHost, EventArgumentsAreConvertedToTheHandlersTypesOrTheHandlerIsNotCalled)
{
    BrowserFixture f;
    COleControlSite* site = f.host.m_pCtrlSite;
    ASSERT_NE(nullptr, site);
    VARIANT inner;
    inner.vt = VT_I4;
    inner.lVal = 2;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    BSTR url = ::SysAllocString(L"its:a.chm::b.htm");
    VARIANT urlValue;
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = url;

    auto args = [](std::vector<VARIANTARG> last_first) { return last_first; };
    auto byValue = [](VARTYPE vt, LONG v) {
        VARIANTARG a;
        ::VariantInit(&a);
        a.vt = vt;
        if (vt == VT_BOOL)
            a.boolVal = static_cast<VARIANT_BOOL>(v);
        else if (vt == VT_I2)
            a.iVal = static_cast<SHORT>(v);
        else
            a.lVal = v;
        return a;
    };
    VARIANTARG refInner;
    refInner.vt = VT_VARIANT | VT_BYREF;
    refInner.pvarVal = &inner;
    VARIANTARG refUrl;
    refUrl.vt = VT_VARIANT | VT_BYREF;
    refUrl.pvarVal = &urlValue;
    VARIANTARG refCancel;
    refCancel.vt = VT_BOOL | VT_BYREF;
    refCancel.pboolVal = &cancel;
    VARIANTARG nothing;
    ::VariantInit(&nothing);

    struct Case {
        const char* name;
        DISPID id;
        std::vector<VARIANTARG> argsLastFirst;
        const wchar_t* logged; // null: the handler is not called
    };
    const Case cases[] = {
        {"values", DISPID_COMMANDSTATECHANGE, args({byValue(VT_BOOL, VARIANT_TRUE), byValue(VT_I4, 1)}), L"state 1 -1"},
        {"a short converts", DISPID_COMMANDSTATECHANGE, args({byValue(VT_BOOL, 0), byValue(VT_I2, 2)}), L"state 2 0"},
        {"a value by reference", DISPID_COMMANDSTATECHANGE, args({byValue(VT_BOOL, 0), refInner}), L"state 2 0"},
        {"too few arguments", DISPID_COMMANDSTATECHANGE, args({byValue(VT_BOOL, 0)}), nullptr},
        {"no number", DISPID_COMMANDSTATECHANGE, args({byValue(VT_BOOL, 0), nothing}), L"state 0 0"},
        {"by reference", DISPID_BEFORENAVIGATE2,
         args({refCancel, nothing, nothing, nothing, nothing, refUrl, nothing}), L"before its:a.chm::b.htm"},
        {"cancel not by reference", DISPID_BEFORENAVIGATE2,
         args({byValue(VT_BOOL, 0), nothing, nothing, nothing, nothing, refUrl, nothing}), nullptr},
        {"an event without handler", DISPID_DOCUMENTCOMPLETE, args({refUrl, nothing}), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.parent.log.clear();
        std::vector<VARIANTARG> list = c.argsLastFirst;
        DISPPARAMS params{list.data(), nullptr, static_cast<UINT>(list.size()), 0};
        site->OnEvent(c.id, &params);
        if (c.logged) {
            ASSERT_EQ(1u, f.parent.log.size());
            EXPECT_EQ(CString(c.logged), f.parent.log[0]);
        } else {
            EXPECT_TRUE(f.parent.log.empty());
        }
    }
    EXPECT_EQ(VARIANT_TRUE, cancel); // the navigation handler set it through the reference
    ::SysFreeString(url);

    // Events of another control id pass the handlers by.
    f.host.SetDlgCtrlID(kHostId + 1);
    f.parent.log.clear();
    std::vector<VARIANTARG> list = {byValue(VT_BOOL, 0), byValue(VT_I4, 1)};
    DISPPARAMS params{list.data(), nullptr, 2, 0};
    site->OnEvent(DISPID_COMMANDSTATECHANGE, &params);
    EXPECT_TRUE(f.parent.log.empty());
}

TEST(ControlHost, KeysForTheControlGoToItsActiveObjectFirst)
{
    BrowserFixture f;
    IOleInPlaceSite* site = f.SiteInterface<IOleInPlaceSite>(IID_IOleInPlaceSite);
    ASSERT_NE(nullptr, site);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    CRect position, clip;
    OLEINPLACEFRAMEINFO info{sizeof info};
    ASSERT_EQ(S_OK, site->GetWindowContext(&frame, &document, &position, &clip, &info));
    RecordingActiveObject active;
    ASSERT_EQ(S_OK, frame->SetActiveObject(&active, nullptr));

    struct Case {
        HWND target;
        UINT message;
        UINT key;
        BOOL taken;
        size_t seen;
    };
    const HWND control = f.Control();
    const Case cases[] = {
        {control, WM_KEYDOWN, VK_F5, TRUE, 1},           // the control takes it
        {control, WM_KEYDOWN, 'A', FALSE, 1},            // offered, declined
        {control, WM_LBUTTONDOWN, 0, FALSE, 0},          // not a key
        {f.parent.m_hWnd, WM_KEYDOWN, VK_F5, FALSE, 0},  // not meant for the control
    };
    for (const Case& c : cases) {
        active.keys.clear();
        MSG msg{c.target, c.message, c.key, 0};
        EXPECT_EQ(c.taken, CWnd::WalkPreTranslateTree(nullptr, &msg)) << c.message << " " << c.key;
        EXPECT_EQ(c.seen, active.keys.size());
    }
    frame->SetActiveObject(nullptr, nullptr);
    frame->Release();
    site->Release();
}

TEST(ControlHost, DestroyingTheHostClosesAndReleasesTheControl)
{
    BrowserFixture f;
    IOleObject* object = f.Query<IOleObject>(IID_IOleObject);
    ASSERT_NE(nullptr, object);
    const HWND control = f.Control();
    ASSERT_TRUE(::IsWindow(control));
    f.host.DestroyWindow();
    EXPECT_EQ(nullptr, f.host.m_hWnd);
    EXPECT_EQ(nullptr, f.host.m_pCtrlSite);
    EXPECT_EQ(nullptr, f.host.GetControlUnknown());
    // The control no longer has a site, nor its window inside the host.
    IOleClientSite* site = reinterpret_cast<IOleClientSite*>(1);
    object->GetClientSite(&site);
    EXPECT_EQ(nullptr, site);
    EXPECT_FALSE(::IsWindow(control) && ::IsChild(f.parent.m_hWnd, control));
    object->Release();

    // A class that is no control: no window is left behind.
    CWnd other;
    const CLSID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_FALSE(other.CreateControl(unknown, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &f.parent, 9));
    EXPECT_EQ(nullptr, other.m_hWnd);
    EXPECT_EQ(nullptr, ::GetDlgItem(f.parent.m_hWnd, 9));
}
