// The help control as a window: its tool bar and the browser below it, the
// home and its addresses, the history buttons following the browser, the
// close, print and history commands on a browser without a page, what the
// browser announces before it navigates, and a control whose browser
// cannot be made.  This machine has no page engine, so the tests watch the
// addresses and the browser's announcements, never a shown page.
#include "reference_world.h"
#include <exdispid.h>
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

using namespace reference_test;
using namespace wintest;

namespace {

// The control's parent: it counts the WM_CLOSE messages it gets.
class CCloseRecorder : public CWnd
{
public:
    int m_nCloses = 0;
    void OnClose() { ++m_nCloses; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCloseRecorder, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

class HelpControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        frame = new TestFrame;
        ASSERT_TRUE(parent.Create(nullptr, L"parent", WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), frame, 3));
    }
    void TearDown() override
    {
        if (frame->m_hWnd) frame->DestroyWindow();
        PumpUntilIdle();
    }
    static CString ButtonText(CToolBarCtrl& bar, UINT id)
    {
        wchar_t text[64] = {};
        bar.SendMessage(TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(text));
        return text;
    }
    static CRect ChildRectIn(CWnd& child, CWnd& parent)
    {
        CRect rect;
        child.GetWindowRect(&rect);
        parent.ScreenToClient(&rect);
        return rect;
    }

    TestFrame* frame = nullptr;
    CCloseRecorder parent;
};

// Makes every web browser fail to be made while it lives: this machine's
// browser stands for one that is missing.
class NoBrowser : public IClassFactory
{
public:
    NoBrowser()
    {
        ::CoRegisterClassObject(CLSID_WebBrowser, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
    }
    ~NoBrowser()
    {
        if (m_cookie) ::CoRevokeClassObject(m_cookie);
    }
    bool Active() const { return m_cookie != 0; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override
    {
        *out = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    DWORD m_cookie = 0;
};

} // namespace

TEST_F(HelpControlTest, TheToolBarHoldsTheButtonsOfTheMaskAndTheBrowserLiesBelowIt)
{
    struct Case {
        UINT mask;
        BOOL labels;
        std::vector<UINT> ids;
    };
    const Case cases[] = {
        {0x1F, TRUE, {0xFF00, 0xFF01, 0xFF02, 0xFF03, 0xFF04}},
        {0x15, FALSE, {0xFF00, 0xFF02, 0xFF04}},
        {0x10, TRUE, {0xFF04}},
        {0, FALSE, {}},
    };
    const wchar_t* labels[] = {L"主页", L"后退", L"前进", L"打印", L"关闭"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        CHHCtrl help;
        ASSERT_TRUE(help.Create(&parent, CRect(10, 20, 410, 320), c.mask, L"index.htm", c.labels, 77));
        EXPECT_EQ(77, help.GetDlgCtrlID());
        ASSERT_NE(nullptr, help.GetBrowser());
        CToolBarCtrl& bar = help.GetToolBar();
        int top = 0;
        if (c.ids.empty()) {
            EXPECT_EQ(nullptr, bar.GetSafeHwnd());
        } else {
            ASSERT_NE(nullptr, bar.GetSafeHwnd());
            EXPECT_EQ(static_cast<int>(CHHCtrl::IDC_HH_TOOLBAR), bar.GetDlgCtrlID());
            EXPECT_EQ(0x50000944u, bar.GetStyle() & 0x50000944u);
            ASSERT_EQ(static_cast<int>(c.ids.size()), bar.GetButtonCount());
            for (int i = 0; i < bar.GetButtonCount(); ++i) {
                TBBUTTON button{};
                ASSERT_TRUE(bar.GetButton(i, &button));
                const UINT id = static_cast<UINT>(button.idCommand);
                EXPECT_EQ(c.ids[i], id);
                EXPECT_EQ(static_cast<int>(id - 0xFF00), button.iBitmap); // the image of its command
                EXPECT_EQ(c.labels ? CString(labels[id - 0xFF00]) : CString(), ButtonText(bar, id));
                // Back and forward wait for a history.
                EXPECT_EQ(id != CHHCtrl::ID_HH_BACK && id != CHHCtrl::ID_HH_FORWARD, bar.IsButtonEnabled(id) != FALSE);
            }
            int cx = 0, cy = 0;
            ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST)), &cx, &cy);
            EXPECT_EQ(CHHCtrl::kButtonImageWidth, cx);
            EXPECT_NE(nullptr, reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETHOTIMAGELIST)));
            const CRect barRect = ChildRectIn(bar, help);
            EXPECT_EQ(CRect(0, 0, 400, barRect.bottom), barRect);
            EXPECT_GT(barRect.bottom, 20);
            top = barRect.bottom + 2;
        }
        // The browser fills the rest, its own edge outside the window.
        EXPECT_EQ(CRect(-2, top - 2, 402, 302), ChildRectIn(help.GetBrowserWindow(), help));
        help.MoveWindow(0, 0, 500, 350);
        EXPECT_EQ(CRect(-2, top - 2, 502, 352), ChildRectIn(help.GetBrowserWindow(), help));
        if (bar.GetSafeHwnd()) EXPECT_EQ(500, ChildRectIn(bar, help).Width());
    }
}

TEST_F(HelpControlTest, APlaceholderGivesItsPlaceAndId)
{
    CStatic placeholder;
    ASSERT_TRUE(placeholder.Create(L"", WS_CHILD | WS_VISIBLE, CRect(15, 25, 315, 225), &parent, 1162));
    CHHCtrl help;
    ASSERT_TRUE(help.CreateFromStatic(&parent, 1162, 0x1F, L"index.htm", TRUE));
    EXPECT_EQ(nullptr, placeholder.m_hWnd);
    EXPECT_EQ(help.m_hWnd, ::GetDlgItem(parent.m_hWnd, 1162));
    EXPECT_EQ(CRect(15, 25, 315, 225), ChildRectIn(help, parent));
    // No placeholder: no control.
    CHHCtrl other;
    EXPECT_FALSE(other.CreateFromStatic(&parent, 4321, 0x1F, L"index.htm", TRUE));
    EXPECT_EQ(nullptr, other.m_hWnd);
}

TEST_F(HelpControlTest, TheHistoryButtonsFollowTheBrowser)
{
    CHHCtrl help;
    ASSERT_TRUE(help.Create(&parent, CRect(0, 0, 400, 300), 0x1F, L"index.htm", TRUE));
    CToolBarCtrl& bar = help.GetToolBar();
    struct Step {
        long command;
        VARIANT_BOOL enable;
        BOOL back, forward; // afterwards
    };
    const Step steps[] = {
        {CSC_NAVIGATEBACK, VARIANT_TRUE, TRUE, FALSE},
        {CSC_NAVIGATEFORWARD, VARIANT_TRUE, TRUE, TRUE},
        {CSC_NAVIGATEBACK, VARIANT_FALSE, FALSE, TRUE},
        {CSC_UPDATECOMMANDS, VARIANT_FALSE, FALSE, TRUE}, // other commands change nothing
        {CSC_NAVIGATEFORWARD, VARIANT_FALSE, FALSE, FALSE},
    };
    for (const Step& s : steps) {
        help.OnCommandStateChange(s.command, s.enable);
        EXPECT_EQ(s.back, bar.IsButtonEnabled(CHHCtrl::ID_HH_BACK) != FALSE) << s.command;
        EXPECT_EQ(s.forward, bar.IsButtonEnabled(CHHCtrl::ID_HH_FORWARD) != FALSE) << s.command;
    }
    EXPECT_TRUE(bar.IsButtonEnabled(CHHCtrl::ID_HH_HOME));
    // Without a tool bar the events change nothing.
    CHHCtrl bare;
    ASSERT_TRUE(bare.Create(&parent, CRect(0, 0, 100, 100), 0, L"index.htm"));
    bare.OnCommandStateChange(CSC_NAVIGATEBACK, VARIANT_TRUE);
}

TEST_F(HelpControlTest, HomeIsATopicAnAddressOrAContextId)
{
    struct Case {
        const char* name;
        const wchar_t* home;
        bool chm;
        CString address; // empty: relative to the help file (below)
        const wchar_t* topic;
    };
    const Case cases[] = {
        {"a topic of the help file", L"index.htm", true, CString(), L"index.htm"},
        {"an address, also with a help file", L"http://example.invalid/start.htm", true,
         L"http://example.invalid/start.htm", nullptr},
        {"a topic without a help file: as it stands", L"index.htm", false, L"index.htm", nullptr},
        {"a context id", MAKEINTRESOURCEW(100), true, CString(), L"Standard/JTG_B01.htm"},
        {"the largest context id", MAKEINTRESOURCEW(0xFFFF), true, CString(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRecordingHHCtrl help;
        ASSERT_TRUE(help.Create(&parent, CRect(0, 0, 300, 200), 0x1F, c.home, TRUE));
        if (IS_INTRESOURCE(c.home)) {
            EXPECT_TRUE(help.GetHomeText().IsEmpty());
            EXPECT_EQ(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(c.home)), help.GetHomeContextId());
        } else {
            EXPECT_EQ(CString(c.home), help.GetHomeText());
            EXPECT_EQ(0, help.GetHomeContextId());
        }
        if (c.chm) ASSERT_TRUE(help.OpenChm(HelpFile()));
        help.Command(CHHCtrl::ID_HH_HOME);
        if (!c.topic && c.address.IsEmpty()) {
            EXPECT_TRUE(help.m_SAddresses.empty()); // an id the map does not hold
            continue;
        }
        ASSERT_EQ(1u, help.m_SAddresses.size());
        EXPECT_EQ(c.topic ? TopicAddress(help.GetChmPath(), c.topic) : c.address, help.m_SAddresses[0]);
    }
}

TEST_F(HelpControlTest, CloseAsksTheParentAndPrintAndHistoryPassOnABlankBrowser)
{
    CRecordingHHCtrl help;
    ASSERT_TRUE(help.Create(&parent, CRect(0, 0, 300, 200), 0x1F, L"index.htm", TRUE));
    help.m_bRecordNavigate = FALSE;
    // Nothing to print, no history: the browser refuses, the control goes on.
    for (UINT id : {CHHCtrl::ID_HH_PRINT, CHHCtrl::ID_HH_BACK, CHHCtrl::ID_HH_FORWARD}) help.Command(id);
    EXPECT_NE(nullptr, help.GetBrowser());
    EXPECT_TRUE(::IsWindow(help.GetBrowserWindow().m_hWnd));
    // Close is posted to the parent, not done at once.
    help.Command(CHHCtrl::ID_HH_CLOSE);
    EXPECT_EQ(0, parent.m_nCloses);
    EXPECT_TRUE(PumpUntil([&] { return parent.m_nCloses == 1; }, 5000));
    // A button of the tool bar comes to the control, its parent, as a command.
    ::SendMessageW(help.m_hWnd, WM_COMMAND, MAKEWPARAM(CHHCtrl::ID_HH_CLOSE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(help.GetToolBar().m_hWnd));
    EXPECT_TRUE(PumpUntil([&] { return parent.m_nCloses == 2; }, 5000));
}

TEST_F(HelpControlTest, TheBrowserAnnouncesTheAddressesItIsGiven)
{
    CRecordingHHCtrl help;
    ASSERT_TRUE(help.Create(&parent, CRect(0, 0, 300, 200), 0x1F, L"index.htm", TRUE));
    ASSERT_TRUE(help.OpenChm(HelpFile()));
    help.m_bRecordNavigate = FALSE;
    EXPECT_EQ(S_OK, help.NavigateTopic(L"index.htm"));
    EXPECT_EQ(S_OK, help.NavigateContextId(100));
    ASSERT_EQ(2u, help.m_SAnnounced.size());
    EXPECT_EQ(TopicAddress(help.GetChmPath(), L"index.htm"), help.m_SAnnounced[0]);
    EXPECT_EQ(TopicAddress(help.GetChmPath(), L"Standard/JTG_B01.htm"), help.m_SAnnounced[1]);
    // The headers reach the browser and come back.
    EXPECT_EQ(S_OK, help.Navigate(L"http://example.invalid/form", 0, nullptr, nullptr, 0, L"X-Road: 1\r\n"));
    ASSERT_EQ(3u, help.m_SAnnounced.size());
    EXPECT_EQ(CString(L"http://example.invalid/form"), help.m_SAnnounced[2]);
    EXPECT_EQ(CString(L"X-Road: 1\r\n"), help.m_SAnnouncedHeaders);
}

TEST_F(HelpControlTest, TheAnnouncementsArgumentsAreConverted)
{
    CRecordingHHCtrl help;
    ASSERT_TRUE(help.Create(&parent, CRect(0, 0, 300, 200), 0, L"index.htm"));
    COleControlSite* site = help.GetBrowserWindow().m_pCtrlSite;
    ASSERT_NE(nullptr, site);
    // The browser's form of the arguments: the post data as a byte array
    // behind two references, the rest behind one.
    SAFEARRAY* bytes = ::SafeArrayCreateVector(VT_UI1, 0, 3);
    void* data = nullptr;
    ASSERT_EQ(S_OK, ::SafeArrayAccessData(bytes, &data));
    memcpy(data, "a\0b", 3);
    ::SafeArrayUnaccessData(bytes);
    VARIANT url, flags, target, array, post, headers;
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"its:x.chm::a.htm");
    flags.vt = VT_I4;
    flags.lVal = 0x40;
    target.vt = VT_BSTR;
    target.bstrVal = ::SysAllocString(L"_self");
    array.vt = VT_ARRAY | VT_UI1;
    array.parray = bytes;
    post.vt = VT_VARIANT | VT_BYREF;
    post.pvarVal = &array;
    headers.vt = VT_BSTR;
    headers.bstrVal = ::SysAllocString(L"X-Road: 2");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    auto ref = [](VARIANT* v) {
        VARIANTARG a;
        a.vt = VT_VARIANT | VT_BYREF;
        a.pvarVal = v;
        return a;
    };
    VARIANTARG args[7]; // last first
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    args[1] = ref(&headers);
    args[2] = ref(&post);
    args[3] = ref(&target);
    args[4] = ref(&flags);
    args[5] = ref(&url);
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = nullptr;
    DISPPARAMS params{args, nullptr, 7, 0};
    site->OnEvent(DISPID_BEFORENAVIGATE2, &params);
    ASSERT_EQ(1u, help.m_SAnnounced.size());
    EXPECT_EQ(CString(L"its:x.chm::a.htm"), help.m_SAnnounced[0]);
    EXPECT_EQ(0x40u, help.m_dwAnnouncedFlags);
    EXPECT_EQ(CString(L"_self"), help.m_SAnnouncedTarget);
    EXPECT_EQ(std::string("a\0b", 3), help.m_AnnouncedPostData);
    EXPECT_EQ(CString(L"X-Road: 2"), help.m_SAnnouncedHeaders);
    EXPECT_EQ(VARIANT_TRUE, cancel); // the handler's cancel reaches the browser
    // The base announcement lets every navigation go on.
    CHHCtrl plain;
    ASSERT_TRUE(plain.Create(&parent, CRect(0, 0, 300, 200), 0, L"index.htm", FALSE, 78));
    plain.GetBrowserWindow().m_pCtrlSite->OnEvent(DISPID_BEFORENAVIGATE2, &params);
    EXPECT_EQ(VARIANT_FALSE, cancel);
    ::VariantClear(&url);
    ::VariantClear(&target);
    ::VariantClear(&array);
    ::VariantClear(&headers);
}

TEST_F(HelpControlTest, WithoutABrowserTheControlStaysEmptyAndOnlyCloses)
{
    NoBrowser missing;
    ASSERT_TRUE(missing.Active());
    CRecordingHHCtrl help;
    help.m_bRecordNavigate = FALSE;
    EXPECT_FALSE(help.Create(&parent, CRect(0, 0, 300, 200), 0x1F, L"index.htm", TRUE));
    EXPECT_EQ(nullptr, help.GetBrowser());
    EXPECT_EQ(nullptr, help.GetBrowserWindow().m_hWnd);
    ASSERT_TRUE(help.OpenChm(HelpFile()));
    EXPECT_EQ(E_FAIL, help.NavigateTopic(L"index.htm"));
    EXPECT_EQ(E_FAIL, help.NavigateContextId(100));
    for (UINT id : {CHHCtrl::ID_HH_HOME, CHHCtrl::ID_HH_BACK, CHHCtrl::ID_HH_FORWARD, CHHCtrl::ID_HH_PRINT})
        help.Command(id);
    EXPECT_TRUE(help.m_SAnnounced.empty());
    help.Command(CHHCtrl::ID_HH_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return parent.m_nCloses == 1; }, 5000));
}
