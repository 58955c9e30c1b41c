// A child window that shows pages of a compiled help file (CHM): the
// system's web browser hosted inside it, optionally under a small
// navigation tool bar (home, back, forward, print, close).
//
// OpenChm finds the help file on disk; a topic is then shown by its path
// inside the file (NavigateTopic) or by its numeric help context id
// (NavigateContextId), which the file's topic map ("#IVB" with "#STRINGS")
// turns into the path.  Pages are addressed "its:<help file>::<topic>".
//
// The home of the tool bar's first button is a text (an address when it
// holds ':', else a topic of the open help file) or a context id, passed in
// place of the text as a value below 0x10000.
//
// Without a browser (it could not be made) every command but close does
// nothing and the navigation calls fail.
#pragma once
#include "classlib/ClassLib.h"
#include <exdisp.h>
#include <vector>

class CHHCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHHCtrl)
public:
    // The tool-bar commands, in the order of their buttons and images.
    enum : UINT {
        ID_HH_HOME = 0xFF00,
        ID_HH_BACK = 0xFF01,
        ID_HH_FORWARD = 0xFF02,
        ID_HH_PRINT = 0xFF03,
        ID_HH_CLOSE = 0xFF04,
    };
    // Child ids: the tool bar and the browser's window.
    enum : UINT { IDC_HH_TOOLBAR = 1, IDC_HH_BROWSER = 0xE900 };
    // The buttons' images: 20 pixels wide, magenta transparent.
    static constexpr int kButtonImageWidth = 20;
    // The room for an address made from a context id (the prefix
    // "its:<help file>::" and the topic, with the terminating zero).
    static constexpr int kContextAddressChars = 1040;

    CHHCtrl();
    ~CHHCtrl() override;

    // Makes the window in `parent` at `rect` (parent client coordinates)
    // with child id `id`: with a non-zero button mask a tool bar first (bit i
    // adds button i; with `labels` the buttons carry the texts of string
    // 20737, separated by '|'), then the browser under it.  FALSE when the
    // browser cannot be made (the window then has no browser).
    BOOL Create(CWnd* parent, const RECT& rect, UINT buttons, const wchar_t* home, BOOL labels = FALSE, UINT id = 0);
    // The same in the place of the parent's control `placeholderId`, which
    // is destroyed; the window takes its id.
    BOOL CreateFromStatic(CWnd* parent, UINT placeholderId, UINT buttons, const wchar_t* home, BOOL labels = FALSE);

    // Finds the help file (the name as given when it is a full path, beside
    // the program, in the help folder of the suite's installation, the HTML
    // Help registry folders, the shared help folder, "hh.ini"; never by the
    // current folder) and keeps its full path; FALSE after a message when it
    // is nowhere.
    BOOL OpenChm(const wchar_t* name);
    // Shows the topic of the open help file; STG_E_FILENOTFOUND when none
    // is open.
    HRESULT NavigateTopic(const wchar_t* topic, DWORD flags = 0);
    // Shows the topic of the context id: STG_E_PATHNOTFOUND without a help
    // file or when its storage cannot be opened, STG_E_FILENOTFOUND without
    // a topic map, E_FAIL when the id is not in the map or its path cannot
    // be read whole; the page then stays as it was.
    HRESULT NavigateContextId(DWORD contextId, DWORD flags = 0);
    // The browser's Navigate; E_FAIL without a browser.
    virtual HRESULT Navigate(const wchar_t* address, DWORD flags = 0, const wchar_t* targetFrame = nullptr,
                             const void* postData = nullptr, DWORD postDataLength = 0,
                             const wchar_t* headers = nullptr);

    // The browser's events.  Before a navigation: `cancel` (FALSE on entry)
    // stops it.
    virtual void OnBeforeNavigate2(const wchar_t* address, DWORD flags, const wchar_t* targetFrame,
                                   CArray<BYTE, BYTE>& postData, const wchar_t* headers, BOOL* cancel);
    virtual void OnNavigateComplete2(const wchar_t* address);
    virtual void OnDocumentComplete(const wchar_t* address);
    // The browser's history changed: the forward (command 1) or back
    // (command 2) button follows.
    void OnCommandStateChange(long command, VARIANT_BOOL enable);

    const CString& GetChmPath() const { return m_SChmPath; }
    const CString& GetHomeText() const { return m_SHome; }
    WORD GetHomeContextId() const { return m_wHomeId; }
    IWebBrowser2* GetBrowser() const { return m_pBrowser; }
    CToolBarCtrl& GetToolBar() { return m_wndToolBar; }
    CWnd& GetBrowserWindow() { return m_wndBrowser; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    void BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                         VARIANT* headers, VARIANT_BOOL* cancel);
    void NavigateComplete2(IDispatch*, VARIANT* url);
    void DocumentComplete(IDispatch*, VARIANT* url);
    DECLARE_MESSAGE_MAP()

private:
    struct TopicRecord {
        DWORD contextId;
        DWORD offset; // of the topic's path in "#STRINGS"
    };
    BOOL CreateToolBar(UINT buttons, BOOL labels);
    // The browser's rectangle: the client area below the tool bar (2 pixels
    // apart), widened by the client edge.
    CRect BrowserRect() const;
    void GoHome();
    // The help file's storage (STG_E_PATHNOTFOUND when it cannot be
    // opened), and a stream of it (STG_E_FILENOTFOUND when it has none of
    // that name); the storage is kept as long as the stream is read.
    HRESULT OpenStorage(IStorage** storage) const;
    HRESULT OpenStream(const wchar_t* name, IStorage** storage, IStream** stream) const;
    HRESULT LoadTopicMap();
    // The path at the offset of "#STRINGS", read with its terminating zero
    // into `room` bytes at most.
    HRESULT ReadTopicPath(DWORD offset, int room, CString& topic) const;

    IWebBrowser2* m_pBrowser;
    CString m_SChmPath;
    std::vector<TopicRecord> m_TopicMap;
    BOOL m_bTopicMapLoaded;
    UINT m_nLastCmd;
    CString m_SHome;
    WORD m_wHomeId;
    CToolBarCtrl m_wndToolBar;
    CImageList m_ilNormal;
    CImageList m_ilHot;
    CWnd m_wndBrowser;
};
