#include "reference_world.h"
#include <exdispid.h>
#include <iterator>

namespace reference_test {

const std::vector<std::pair<uint32_t, std::string>> kTopics = {
    {100, "Standard/JTG_B01.htm"},
    {200, "index.htm"},
    {300, "\xca\xfd\xbe\xdd/\xcb\xb5\xc3\xf7.htm"}, // "数据/说明.htm" in code page 936
};

namespace {

class ReferenceWorld : public BriskoWorld
{
public:
    ReferenceWorld() : BriskoWorld(L"brisko_reference") {}

protected:
    void Seed() override
    {
        ASSERT_TRUE(CreateDirectoryW(HelpFolder(), nullptr));
        ASSERT_TRUE(chm_file::Write(HelpFile(), HelpEntries()));
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new ReferenceWorld);

} // namespace

CString HelpFolder() { return BriskoWorld::InstallFolder() + L"\\Help"; }

CString HelpFile() { return HelpFolder() + L"\\TAVIX.CHM"; }

std::vector<chm_file::Entry> HelpEntries()
{
    std::vector<chm_file::Entry> entries = chm_file::TopicMap(kTopics);
    entries.push_back({"/index.htm", "<html><body>TAVIX</body></html>"});
    entries.push_back({"/Standard/JTG_B01.htm", "<html><body>JTG B01</body></html>"});
    return entries;
}

CString TopicAddress(const CString& chm, const wchar_t* topic)
{
    return ClFormat(L"its:%s::%s", chm.GetString(), topic);
}

bool ClickAt(CPoint screen, int clicks)
{
    if (!::SetCursorPos(screen.x, screen.y)) return false;
    std::vector<INPUT> inputs;
    for (int i = 0; i < clicks; ++i)
        for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = flag;
            inputs.push_back(input);
        }
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD vk : keys) key(vk, 0);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) key(*it, KEYEVENTF_KEYUP);
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// ---------------------------------------------------------------------------

HRESULT CRecordingHHCtrl::Navigate(const wchar_t* address, DWORD flags, const wchar_t* targetFrame,
                                   const void* postData, DWORD postDataLength, const wchar_t* headers)
{
    if (!m_bRecordNavigate) return CHHCtrl::Navigate(address, flags, targetFrame, postData, postDataLength, headers);
    m_SAddresses.push_back(address);
    return S_OK;
}

void CRecordingHHCtrl::OnBeforeNavigate2(const wchar_t* address, DWORD flags, const wchar_t* targetFrame,
                                         CArray<BYTE, BYTE>& postData, const wchar_t* headers, BOOL* cancel)
{
    m_SAnnounced.push_back(address);
    m_dwAnnouncedFlags = flags;
    m_SAnnouncedTarget = targetFrame;
    m_SAnnouncedHeaders = headers;
    m_AnnouncedPostData.assign(reinterpret_cast<const char*>(postData.GetData()), postData.GetSize());
    *cancel = TRUE;
}

// ---------------------------------------------------------------------------

NavigationWatch::NavigationWatch(IWebBrowser2* browser)
{
    IConnectionPointContainer* points = nullptr;
    if (!browser ||
        FAILED(browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points))))
        return;
    if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_point)) &&
        FAILED(m_point->Advise(this, &m_cookie)))
        m_cookie = 0;
    points->Release();
}

NavigationWatch::~NavigationWatch()
{
    if (m_point) {
        if (m_cookie) m_point->Unadvise(m_cookie);
        m_point->Release();
    }
}

HRESULT NavigationWatch::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
        *out = this;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT NavigationWatch::GetTypeInfoCount(UINT* count)
{
    *count = 0;
    return S_OK;
}

HRESULT NavigationWatch::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
{
    if (id != DISPID_BEFORENAVIGATE2 || !params || params->cArgs != 7) return S_OK;
    VARIANT* url = &params->rgvarg[5];
    if (url->vt == (VT_VARIANT | VT_BYREF)) url = url->pvarVal;
    addresses.push_back(url && url->vt == VT_BSTR ? CString(url->bstrVal) : CString(L"?"));
    VARIANTARG& cancel = params->rgvarg[0];
    if (cancel.vt == (VT_BOOL | VT_BYREF) && cancel.pboolVal) *cancel.pboolVal = VARIANT_TRUE;
    return S_OK;
}

} // namespace reference_test
