// The window part's mechanics: binding objects to windows, message maps and
// their inheritance, reflection of control messages, self-deleting windows.
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace wintest;

namespace {

const UINT kPing = ::RegisterWindowMessageW(L"WindowTestPing");

class CBaseWnd : public CWnd
{
public:
    std::vector<std::string> log;
    HWND seenInCreate = nullptr;
    BOOL Make(CWnd* parent)
    {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                        L"base", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), parent, 1);
    }

protected:
    int OnCreate(LPCREATESTRUCT cs)
    {
        seenInCreate = m_hWnd;
        log.push_back("create");
        return CWnd::OnCreate(cs);
    }
    void OnTimer(UINT_PTR id) { log.push_back("base timer " + std::to_string(id)); }
    LRESULT OnApp(WPARAM w, LPARAM) { log.push_back("base app"); return static_cast<LRESULT>(w + 1); }
    LRESULT OnPing(WPARAM, LPARAM) { log.push_back("base ping"); return 7; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP, OnApp)
    ON_REGISTERED_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
protected:
    void OnTimer(UINT_PTR id)
    {
        log.push_back("derived timer " + std::to_string(id));
        if (id == 2) CBaseWnd::OnTimer(id);
    }
    LRESULT OnApp1(WPARAM, LPARAM) { log.push_back("derived app1"); return 11; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_APP + 1, OnApp1)
END_MESSAGE_MAP()

} // namespace

TEST(MessageMaps, DerivedEntriesFirstThenTheBaseMap)
{
    TestFrame* frame = new TestFrame;
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.Make(frame));
    // The object saw its own WM_CREATE with its handle already bound.
    EXPECT_EQ(wnd.m_hWnd, wnd.seenInCreate);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));

    EXPECT_EQ(6, wnd.SendMessage(WM_APP, 5, 0));       // only the base handles it
    EXPECT_EQ(11, wnd.SendMessage(WM_APP + 1, 0, 0));  // only the derived class
    EXPECT_EQ(7, wnd.SendMessage(kPing, 0, 0));        // registered number, from the base map
    wnd.SendMessage(WM_TIMER, 1, 0);                   // the derived handler shadows the base
    wnd.SendMessage(WM_TIMER, 2, 0);                   // and may call it
    EXPECT_EQ(0, wnd.SendMessage(WM_APP + 2, 0, 0));   // no entry: the default procedure
    std::vector<std::string> expected{"create", "base app", "derived app1", "base ping", "derived timer 1",
                                      "derived timer 2", "base timer 2"};
    EXPECT_EQ(expected, wnd.log);
    wnd.DestroyWindow();
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    frame->DestroyWindow();
}

namespace {

class CWatchedEdit : public CEdit
{
public:
    std::vector<UINT> early;
    int created = 0;

protected:
    BOOL OnNcCreate(LPCREATESTRUCT) { early.push_back(WM_NCCREATE); return static_cast<BOOL>(Default()); }
    int OnCreate(LPCREATESTRUCT cs)
    {
        ++created;
        return CWnd::OnCreate(cs);
    }
    void OnChar(UINT ch, UINT repeat, UINT flags)
    {
        if (ch != L'x') CWnd::OnChar(ch, repeat, flags); // swallows x
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWatchedEdit, CEdit)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
    ON_WM_CHAR()
END_MESSAGE_MAP()

class CSelfDeleting : public CWnd
{
public:
    explicit CSelfDeleting(bool* deleted) : m_deleted(deleted) {}
    ~CSelfDeleting() override { *m_deleted = true; }
    void PostNcDestroy() override { delete this; }

private:
    bool* m_deleted;
};

} // namespace

TEST(WindowObjects, SystemClassesSeeTheirCreationAndSubclassingKeepsTheControlWorking)
{
    TestFrame* frame = new TestFrame;
    CWatchedEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(5, 5, 200, 30), frame, 10));
    EXPECT_EQ(std::vector<UINT>{WM_NCCREATE}, edit.early);
    EXPECT_EQ(1, edit.created);
    for (wchar_t ch : std::wstring(L"axb")) edit.SendMessage(WM_CHAR, ch, 1);
    EXPECT_STREQ(L"ab", edit.GetWindowText());

    // A plain control of a dialog, subclassed afterwards, and given back.
    HWND plain = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 40, 100, 20, frame->m_hWnd,
                                   reinterpret_cast<HMENU>(11), nullptr, nullptr);
    CWatchedEdit later;
    ASSERT_TRUE(later.SubclassDlgItem(11, frame));
    EXPECT_FALSE(CWatchedEdit().SubclassWindow(plain)); // a window has one object
    for (wchar_t ch : std::wstring(L"xyx")) ::SendMessageW(plain, WM_CHAR, ch, 1);
    EXPECT_STREQ(L"y", later.GetWindowText());
    EXPECT_EQ(plain, later.UnsubclassWindow());
    ::SendMessageW(plain, WM_CHAR, L'x', 1);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(plain));
    wchar_t text[8];
    ::GetWindowTextW(plain, text, 8);
    EXPECT_STREQ(L"yx", text);

    // A window without an object gets a temporary one until the idle pass.
    CWnd* temp = CWnd::FromHandle(plain);
    EXPECT_EQ(temp, CWnd::FromHandle(plain));
    EXPECT_EQ(plain, temp->m_hWnd);
    EXPECT_EQ(nullptr, CWnd().GetSafeHwnd());
    CWnd* none = nullptr;
    EXPECT_EQ(nullptr, none->GetSafeHwnd());
    frame->DestroyWindow();
}

TEST(WindowObjects, SelfDeletingWindowsGoWithTheirWindow)
{
    bool deleted = false;
    auto* wnd = new CSelfDeleting(&deleted);
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"自删除", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    HWND hwnd = wnd->m_hWnd;
    ::DestroyWindow(hwnd);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));

    // A creation that fails in WM_CREATE also ends in PostNcDestroy.
    bool failedDeleted = false;
    struct CFailing : CSelfDeleting {
        using CSelfDeleting::CSelfDeleting;
        LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override
        {
            return message == WM_CREATE ? -1 : CWnd::WindowProc(message, w, l);
        }
    };
    auto* failing = new CFailing(&failedDeleted);
    EXPECT_FALSE(failing->CreateEx(0, nullptr, L"失败", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    EXPECT_TRUE(failedDeleted);
}

// ---------------------------------------------------------------------------
// Reflection: a control handles its own notifications; the parent sees only
// what the control leaves.

namespace {

class CReflectButton : public CButton
{
public:
    int clicks = 0;
    int notifies = 0;
    CBrush brush{RGB(0, 128, 0)};
    BOOL passOn = FALSE;

protected:
    void OnClicked() { ++clicks; }
    BOOL OnClickedEx()
    {
        ++clicks;
        return !passOn;
    }
    void OnEndEdit(NMHDR*, LRESULT* result)
    {
        ++notifies;
        *result = 42;
    }
    HBRUSH CtlColor(CDC* dc, UINT)
    {
        dc->SetTextColor(RGB(255, 0, 0));
        return brush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedEx)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITW, OnEndEdit)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CParentWnd : public CWnd
{
public:
    int parentClicks = 0;
    int parentNotifies = 0;
    int parentColors = 0;
    int drawn = 0;

protected:
    void OnButton() { ++parentClicks; }
    void OnNotifyEnd(NMHDR*, LRESULT* result)
    {
        ++parentNotifies;
        *result = 1;
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type)
    {
        ++parentColors;
        return CWnd::OnCtlColor(dc, wnd, type);
    }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { ++drawn; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
    ON_BN_CLICKED(21, OnButton)
    ON_BN_CLICKED(22, OnButton)
    ON_NOTIFY(LVN_ENDLABELEDITW, 21, OnNotifyEnd)
    ON_NOTIFY(LVN_ENDLABELEDITW, 22, OnNotifyEnd)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

class COwnerDrawButton : public CButton
{
public:
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem, RGB(0, 0, 200));
    }
};

class CImageMenu : public CMenu
{
public:
    explicit CImageMenu(UINT width) : width(width) {}
    UINT width;
    int measured = 0, drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        ++measured;
        mis->itemWidth = width;
        mis->itemHeight = 20;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
};

} // namespace

TEST(Reflection, ControlsHandleTheirOwnNotificationsBeforeTheParent)
{
    TestFrame* frame = new TestFrame(true);
    CParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), frame, 5));
    CReflectButton reflecting, passing;
    passing.passOn = TRUE;
    CButton plain;
    ASSERT_TRUE(reflecting.Create(L"甲", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 5, 80, 30), &parent, 21));
    ASSERT_TRUE(passing.Create(L"乙", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 35, 80, 60), &parent, 22));
    ASSERT_TRUE(plain.Create(L"丙", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(5, 65, 80, 90), &parent, 23));

    reflecting.SendMessage(BM_CLICK);
    EXPECT_EQ(1, reflecting.clicks);
    EXPECT_EQ(0, parent.parentClicks); // taken by the control
    passing.SendMessage(BM_CLICK);
    EXPECT_EQ(1, passing.clicks);
    EXPECT_EQ(1, parent.parentClicks); // the _EX handler passed it on

    NMHDR nm{reflecting.m_hWnd, 21, static_cast<UINT>(LVN_ENDLABELEDITW)};
    EXPECT_EQ(42, parent.SendMessage(WM_NOTIFY, 21, reinterpret_cast<LPARAM>(&nm)));
    EXPECT_EQ(1, reflecting.notifies);
    EXPECT_EQ(0, parent.parentNotifies);
    NMHDR fromPlain{plain.m_hWnd, 22, static_cast<UINT>(LVN_ENDLABELEDITW)};
    fromPlain.idFrom = 22;
    EXPECT_EQ(1, parent.SendMessage(WM_NOTIFY, 22, reinterpret_cast<LPARAM>(&fromPlain)));
    EXPECT_EQ(1, parent.parentNotifies);

    // Colours: the control's own brush; the plain control's go to the parent.
    HDC dc = ::GetDC(parent.m_hWnd);
    LRESULT brush = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(reflecting.m_hWnd));
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(reflecting.brush)), brush);
    EXPECT_EQ(RGB(255, 0, 0), ::GetTextColor(dc));
    EXPECT_EQ(0, parent.parentColors);
    parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(plain.m_hWnd));
    EXPECT_EQ(1, parent.parentColors);
    ::ReleaseDC(parent.m_hWnd, dc);

    // Owner drawing comes back to the control's DrawItem.
    COwnerDrawButton drawn;
    ASSERT_TRUE(drawn.Create(L"丁", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(100, 5, 160, 45), &parent, 24));
    Image image = CaptureWindow(&parent, true);
    EXPECT_EQ(RGB(0, 0, 200), image.At(130, 25));
    EXPECT_EQ(0, parent.drawn);

    frame->DestroyWindow();
}

TEST(Menus, OwnerDrawnItemsGoToTheMenuThatHoldsThem)
{
    TestFrame* frame = new TestFrame;
    // Two menu objects carry an owner-drawn item with the same id; a third
    // holds its item in a submenu of its own.
    CImageMenu first(80), second(120), outer(160);
    for (CImageMenu* m : {&first, &second}) {
        ASSERT_TRUE(m->CreatePopupMenu());
        m->AppendMenu(MF_OWNERDRAW, 3001, nullptr);
    }
    ASSERT_TRUE(outer.CreatePopupMenu());
    HMENU inner = ::CreatePopupMenu();
    ::AppendMenuW(inner, MF_OWNERDRAW, 3002, nullptr);
    outer.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"子菜单");

    auto measure = [&](UINT id) {
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, id, 0, 0, 0};
        return frame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)) ? mis.itemWidth : 0u;
    };
    auto send = [&](UINT message, HMENU menu) { frame->SendMessage(message, reinterpret_cast<WPARAM>(menu), 0); };

    send(WM_INITMENUPOPUP, second.m_hMenu);
    EXPECT_EQ(120u, measure(3001));
    send(WM_INITMENUPOPUP, first.m_hMenu); // a cascade: the latest first
    EXPECT_EQ(80u, measure(3001));
    send(WM_UNINITMENUPOPUP, first.m_hMenu);
    EXPECT_EQ(120u, measure(3001));
    send(WM_INITMENUPOPUP, inner);
    EXPECT_EQ(160u, measure(3002)); // the submenu's item goes to the menu that holds the submenu
    frame->SendMessage(WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(0u, measure(3001)); // no menu shown, and the id alone is ambiguous
    EXPECT_EQ(160u, measure(3002)); // but an id only one menu carries still finds it
    EXPECT_EQ(1, first.measured);
    EXPECT_EQ(2, second.measured);
    EXPECT_EQ(2, outer.measured);

    // Drawing comes with the item's menu.
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = 3001;
    for (HMENU menu : {second.m_hMenu, inner}) {
        dis.hwndItem = reinterpret_cast<HWND>(menu);
        EXPECT_TRUE(frame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    }
    EXPECT_EQ(0, first.drawn);
    EXPECT_EQ(1, second.drawn);
    EXPECT_EQ(1, outer.drawn);
    frame->DestroyWindow();
}

namespace {

// An owner-drawn combo box sizing and releasing its own items.
class COwnerCombo : public CComboBox
{
public:
    int measured = 0;
    std::vector<ULONG_PTR> deleted;
    void MeasureItem(LPMEASUREITEMSTRUCT mis) override
    {
        ++measured;
        mis->itemHeight = 27;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    void DeleteItem(LPDELETEITEMSTRUCT dis) override { deleted.push_back(dis->itemData); }
};

} // namespace

TEST(Reflection, OwnerDrawnListsMeasureAndReleaseTheirOwnItems)
{
    TestFrame* frame = new TestFrame(true);
    CParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), frame, 5));
    COwnerCombo combo;
    // The measuring happens while the control is being created.
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                             CRect(5, 5, 150, 150), &parent, 31));
    EXPECT_GT(combo.measured, 0);
    EXPECT_EQ(27, combo.SendMessage(CB_GETITEMHEIGHT, 0, 0));

    combo.SendMessage(CB_ADDSTRING, 0, 7);
    combo.SendMessage(CB_ADDSTRING, 0, 8);
    combo.SendMessage(CB_DELETESTRING, 0, 0);
    EXPECT_EQ(std::vector<ULONG_PTR>{7}, combo.deleted);

    // The parent of a plain window sees the message as the system sends it
    // for combo boxes; it goes to the control named in it.
    DELETEITEMSTRUCT dis{ODT_COMBOBOX, 31, 0, combo.m_hWnd, 9};
    EXPECT_TRUE(parent.SendMessage(WM_DELETEITEM, 31, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_EQ((std::vector<ULONG_PTR>{7, 9}), combo.deleted);
    frame->DestroyWindow();
}

namespace {

std::vector<std::string>* g_chain = nullptr;

// A window that notes each key it is offered; `keeps` ends the walk there.
template <class Base> class CKeyWatcher : public Base
{
public:
    std::string name;
    WPARAM keeps = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN) return Base::PreTranslateMessage(msg);
        g_chain->push_back(name + " " + std::to_string(msg->wParam));
        return msg->wParam == keeps;
    }
};

} // namespace

TEST(MessageLoop, PreTranslateRunsFromTheTargetUpThroughEachParentToTheFrame)
{
    std::vector<std::string> chain;
    g_chain = &chain;
    auto* frame = new CKeyWatcher<TestFrame>;
    frame->name = "frame";
    CKeyWatcher<CWnd> middle, inner;
    middle.name = "middle";
    inner.name = "inner";
    middle.keeps = VK_F7;
    ASSERT_TRUE(middle.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), frame, 41));
    ASSERT_TRUE(inner.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &middle, 42));
    PumpUntilIdle();
    chain.clear();
    ::PostMessageW(inner.m_hWnd, WM_KEYDOWN, VK_F5, 0);
    ::PostMessageW(inner.m_hWnd, WM_KEYDOWN, VK_F7, 0); // taken half way up
    PumpUntilIdle();
    std::vector<std::string> expected{"inner 116", "middle 116", "frame 116", "inner 118", "middle 118"};
    EXPECT_EQ(expected, chain);
    g_chain = nullptr;
    frame->DestroyWindow();
}

TEST(WindowClasses, RegisteredOnceWithTheirTraits)
{
    HCURSOR cursor = ::LoadCursorW(nullptr, IDC_CROSS);
    HBRUSH brush = ::GetSysColorBrush(COLOR_BTNFACE);
    const wchar_t* name = AfxRegisterWndClass(CS_DBLCLKS, cursor, brush);
    EXPECT_STREQ(name, AfxRegisterWndClass(CS_DBLCLKS, cursor, brush));
    EXPECT_STRNE(name, AfxRegisterWndClass(0, cursor, brush));
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, name, nullptr, WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(cursor), ::GetClassLongPtrW(wnd.m_hWnd, GCLP_HCURSOR));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), ::GetClassLongPtrW(wnd.m_hWnd, GCL_STYLE) & CS_DBLCLKS);
    wnd.DestroyWindow();
}

TEST(WindowObjects, SafeAccessorsAnswerNullForANullObject)
{
    // What a look-up that found nothing gives a caller.
    CWnd* wnd = CWnd::FromHandle(nullptr);
    CMenu* menu = CMenu::FromHandle(nullptr);
    CGdiObject* object = CGdiObject::FromHandle(nullptr);
    CDC* dc = CDC::FromHandle(nullptr);
    CImageList* list = CImageList::FromHandle(nullptr);
    EXPECT_EQ(nullptr, wnd->GetSafeHwnd());
    EXPECT_EQ(nullptr, static_cast<HWND>(*wnd));
    EXPECT_FALSE(wnd->IsWindow());
    EXPECT_EQ(nullptr, menu->GetSafeHmenu());
    EXPECT_EQ(nullptr, object->GetSafeHandle());
    EXPECT_EQ(nullptr, dc->GetSafeHdc());
    EXPECT_EQ(nullptr, list->GetSafeHandle());

    CWnd live;
    ASSERT_TRUE(live.CreateEx(0, nullptr, L"live", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(live.m_hWnd, live.GetSafeHwnd());
    EXPECT_TRUE(live.IsWindow());
    live.DestroyWindow();
    EXPECT_FALSE(live.IsWindow());
}

