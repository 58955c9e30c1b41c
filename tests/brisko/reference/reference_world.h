// The world of the reference tests: the common scratch world with the
// suite's help file "<install>\Help\TAVIX.CHM" (written by our own help-file
// writer, read back by the system's help storage), and the tools the tests
// watch the help control with.
#pragma once
#include "brisko/support/BriskoWorld.h"
#include "brisko/shell/HHCtrl.h"
#include "support/ChmFile.h"
#include <initializer_list>
#include <string>
#include <vector>

namespace reference_test {

using namespace brisko_test;

// The topics of the world's help file: context id and path.
extern const std::vector<std::pair<uint32_t, std::string>> kTopics;

// "<install>\Help" and the help file in it.
CString HelpFolder();
CString HelpFile();
// The entries of the world's help file: its pages and topic map.
std::vector<chm_file::Entry> HelpEntries();

// A help control that records the addresses it is asked to show instead of
// showing them, and the browser's announcements (cancelled).
class CRecordingHHCtrl : public CHHCtrl
{
public:
    HRESULT Navigate(const wchar_t* address, DWORD flags, const wchar_t* targetFrame, const void* postData,
                     DWORD postDataLength, const wchar_t* headers) override;
    void OnBeforeNavigate2(const wchar_t* address, DWORD flags, const wchar_t* targetFrame,
                           CArray<BYTE, BYTE>& postData, const wchar_t* headers, BOOL* cancel) override;
    // The tool bar's command, as the tool bar gives it.
    void Command(UINT id) { OnCommand(id, 0); }

    BOOL m_bRecordNavigate = TRUE; // FALSE: the browser navigates
    std::vector<CString> m_SAddresses;
    // What the browser announced last, and every address it announced.
    std::vector<CString> m_SAnnounced;
    DWORD m_dwAnnouncedFlags = 0;
    CString m_SAnnouncedTarget, m_SAnnouncedHeaders;
    std::string m_AnnouncedPostData;
};

// Records the addresses a browser announces before navigating, and cancels
// them, for as long as the object lives.
class NavigationWatch : public IDispatch
{
public:
    explicit NavigationWatch(IWebBrowser2* browser);
    ~NavigationWatch();
    NavigationWatch(const NavigationWatch&) = delete;
    NavigationWatch& operator=(const NavigationWatch&) = delete;
    bool Connected() const { return m_cookie != 0; }
    std::vector<CString> addresses;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

private:
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};

// The address of a topic of a help file.
CString TopicAddress(const CString& chm, const wchar_t* topic);

// Clicks the left button `clicks` times at the screen point through the
// system's input, as the user's mouse does (two clicks at once make a
// double click); false when the system took not all of it.
bool ClickAt(CPoint screen, int clicks);
// Presses the keys in their order and lets them go in the reverse order
// through the system's input, as the user's keyboard does ({VK_MENU, 'W'}
// is Alt+W); false when the system took not all of it.
bool PressKeys(std::initializer_list<WORD> keys);

} // namespace reference_test
