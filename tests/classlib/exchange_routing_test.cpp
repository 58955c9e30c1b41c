// Data exchange with controls of any parent window (no dialog loop needed):
// float texts beyond the type's range and radio groups that hold other
// controls; and update requests that a handler passes on along the route.
#include "support/MessageBoxScript.h"
#include <gtest/gtest.h>

namespace {

enum : int { ID_EDIT = 2001, ID_RADIO_A, ID_LABEL, ID_RADIO_B, ID_CHECK, ID_RADIO_C, ID_AFTER, ID_RADIO_NEXT };

// A hidden parent window with child controls made in order (the order is
// the group walk's order); destroyed with everything in it.
class ControlHost
{
public:
    ControlHost()
    {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                     nullptr);
    }
    ~ControlHost()
    {
        if (m_parent) ::DestroyWindow(m_parent);
    }
    HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int id)
    {
        return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20, m_parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    CWnd* Wnd() const { return CWnd::FromHandle(m_parent); }
    HWND Item(int id) const { return ::GetDlgItem(m_parent, id); }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

private:
    HWND m_parent = nullptr;
};

} // namespace

// A float takes only what a float holds: a text beyond its range is refused
// with the library's message, the member kept, even where a double would
// take it.
TEST(DataExchange, FloatTextsBeyondTheFloatRangeAreRefused)
{
    ControlHost host;
    ASSERT_TRUE(host.Add(L"EDIT", L"", ES_AUTOHSCROLL, ID_EDIT) != nullptr);
    struct Case {
        const wchar_t* text;
        bool accepted;
        float value;
    } cases[] = {
        {L"1e39", false, 0}, {L"-1e39", false, 0}, {L"3.5e38", false, 0}, {L"1e400", false, 0},
        {L"3.4e38", true, 3.4e38f}, {L"-2.5", true, -2.5f}, {L" 12.75 ", true, 12.75f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ClWideToMultiByte(c.text, -1, CP_UTF8));
        ::SetWindowTextW(host.Item(ID_EDIT), c.text);
        MessageBoxScript boxes;
        float value = 7.0f;
        CDataExchange dx(host.Wnd(), TRUE);
        bool refused = false;
        try {
            DDX_Text(&dx, ID_EDIT, value);
        } catch (CUserException* e) {
            e->Delete();
            refused = true;
        }
        EXPECT_EQ(!c.accepted, refused);
        if (c.accepted) {
            EXPECT_EQ(c.value, value);
            EXPECT_TRUE(boxes.Shown().empty());
        } else {
            EXPECT_EQ(7.0f, value);
            ASSERT_EQ(1u, boxes.Shown().size());
            EXPECT_STREQ(CL_MSG_PARSE_REAL, boxes.Shown()[0].text);
        }
    }
    // A double takes what the float refused.
    ::SetWindowTextW(host.Item(ID_EDIT), L"1e39");
    double wide = 0;
    CDataExchange dx(host.Wnd(), TRUE);
    DDX_Text(&dx, ID_EDIT, wide);
    EXPECT_EQ(1e39, wide);
}

// The radio buttons of a group are counted among themselves: a label and a
// check box inside the group are passed over, neither counted nor changed,
// and the group ends at the next control that starts one.
TEST(DataExchange, RadioGroupsHoldingOtherControls)
{
    ControlHost host;
    host.Add(L"BUTTON", L"A", BS_AUTORADIOBUTTON | WS_GROUP, ID_RADIO_A);
    host.Add(L"STATIC", L"label", 0, ID_LABEL);
    host.Add(L"BUTTON", L"B", BS_AUTORADIOBUTTON, ID_RADIO_B);
    host.Add(L"BUTTON", L"check", BS_AUTOCHECKBOX, ID_CHECK);
    host.Add(L"BUTTON", L"C", BS_AUTORADIOBUTTON, ID_RADIO_C);
    host.Add(L"EDIT", L"", WS_GROUP, ID_AFTER);
    host.Add(L"BUTTON", L"next", BS_AUTORADIOBUTTON | WS_GROUP, ID_RADIO_NEXT);
    ::SendMessageW(host.Item(ID_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(host.Item(ID_RADIO_NEXT), BM_SETCHECK, BST_CHECKED, 0);

    for (int index : {0, 1, 2}) {
        SCOPED_TRACE(index);
        int value = index;
        CDataExchange put(host.Wnd(), FALSE);
        DDX_Radio(&put, ID_RADIO_A, value);
        EXPECT_EQ(index == 0, host.Checked(ID_RADIO_A));
        EXPECT_EQ(index == 1, host.Checked(ID_RADIO_B));
        EXPECT_EQ(index == 2, host.Checked(ID_RADIO_C));
        EXPECT_TRUE(host.Checked(ID_CHECK));
        EXPECT_TRUE(host.Checked(ID_RADIO_NEXT)) << "beyond the group";

        int back = -5;
        CDataExchange get(host.Wnd(), TRUE);
        DDX_Radio(&get, ID_RADIO_A, back);
        EXPECT_EQ(index, back);
    }
    // No button of the group checked: -1, whatever else is checked.
    for (int id : {ID_RADIO_A, ID_RADIO_B, ID_RADIO_C}) ::SendMessageW(host.Item(id), BM_SETCHECK, BST_UNCHECKED, 0);
    int none = 3;
    CDataExchange get(host.Wnd(), TRUE);
    DDX_Radio(&get, ID_RADIO_A, none);
    EXPECT_EQ(-1, none);
}

// ---------------------------------------------------------------------------
// Update requests along a route.

namespace {

enum : UINT { ID_SHARED = 33001, ID_INNER_ONLY };

// The first target asked: answers ID_SHARED and, when told to, passes it on.
class CInner : public CCmdTarget
{
public:
    bool passOn = false;
    int asked = 0;

protected:
    void OnUpdateShared(CCmdUI* ui)
    {
        ++asked;
        ui->SetText(L"inner");
        if (passOn) ui->ContinueRouting();
    }
    void OnUpdateInnerOnly(CCmdUI* ui)
    {
        ++asked;
        ui->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CInner, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_SHARED, OnUpdateShared)
    ON_UPDATE_COMMAND_UI(ID_INNER_ONLY, OnUpdateInnerOnly)
END_MESSAGE_MAP()

// Routes to the inner target first, then through its own map (as a frame
// routes to its view, then to itself).
class COuter : public CCmdTarget
{
public:
    CInner inner;
    int asked = 0;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (inner.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
        return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    void OnUpdateShared(CCmdUI* ui)
    {
        ++asked;
        ui->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COuter, CCmdTarget)
    ON_UPDATE_COMMAND_UI(ID_SHARED, OnUpdateShared)
END_MESSAGE_MAP()

// Records what the handlers set.
class CRecordingUI : public CCmdUI
{
public:
    CString text;
    int check = -1;
    int enabled = -1;
    void Enable(BOOL on) override
    {
        enabled = on ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int value) override { check = value; }
    void SetText(const wchar_t* value) override { text = value; }
};

} // namespace

TEST(CommandUpdate, ContinueRoutingLetsTheNextTargetAnswer)
{
    COuter outer;
    CRecordingUI ui;
    ui.m_nID = ID_SHARED;

    // Handled by the first target: the route stops there.
    EXPECT_TRUE(ui.DoUpdate(&outer, TRUE));
    EXPECT_EQ(1, outer.inner.asked);
    EXPECT_EQ(0, outer.asked);
    EXPECT_STREQ(L"inner", ui.text);
    EXPECT_EQ(-1, ui.check);

    // Passed on: the next target answers as well.
    outer.inner.passOn = true;
    CRecordingUI passed;
    passed.m_nID = ID_SHARED;
    EXPECT_TRUE(passed.DoUpdate(&outer, TRUE));
    EXPECT_EQ(2, outer.inner.asked);
    EXPECT_EQ(1, outer.asked);
    EXPECT_STREQ(L"inner", passed.text);
    EXPECT_EQ(1, passed.check);

    // Passed on with nobody after it: not handled, and with no command
    // handler anywhere the element is disabled.
    CRecordingUI alone;
    alone.m_nID = ID_INNER_ONLY;
    EXPECT_FALSE(alone.DoUpdate(&outer, TRUE));
    EXPECT_EQ(3, outer.inner.asked);
    EXPECT_EQ(0, alone.enabled);
}
