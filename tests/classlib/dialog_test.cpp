// Dialogs: templates from the program's resources, the modal loop with its
// pre-translate walk, data exchange with its checks, and command update of
// dialog controls.
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include "window_resource.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using namespace wintest;

namespace {

class CDataDialog : public CDialog
{
public:
    CDataDialog() : CDialog(IDD_DATA) {}
    CString m_name = L"道路";
    int m_count = 3;
    double m_ratio = 0.25;
    short m_short = -5;
    int m_check = 1;
    int m_radio = 1;
    int m_combo = 2;
    CComboBox m_comboCtrl;

protected:
    BOOL OnInitDialog() override
    {
        // The list must be there before the exchange selects in it.
        HWND combo = ::GetDlgItem(m_hWnd, IDC_COMBO);
        for (const wchar_t* item : {L"甲", L"乙", L"丙"}) ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)item);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 6);
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 10);
        DDX_Text(pDX, IDC_RATIO, m_ratio);
        DDV_MinMaxDouble(pDX, m_ratio, 0.0, 1.5);
        DDX_Text(pDX, IDC_SHORT, m_short);
        DDX_Check(pDX, IDC_CHECK, m_check);
        DDX_Radio(pDX, IDC_RADIO1, m_radio);
        DDX_Control(pDX, IDC_COMBO, m_comboCtrl);
        DDX_CBIndex(pDX, IDC_COMBO, m_combo);
    }
};

} // namespace

TEST(DataExchange, FillsTheControlsAndReadsThemBackOnOK)
{
    CDataDialog dlg;
    std::vector<CString> shown;
    DialogScript script;
    script.Then([&](CWnd* d) {
        for (int id : {IDC_NAME, IDC_COUNT, IDC_RATIO, IDC_SHORT}) shown.push_back(GetText(d, id));
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_CHECK));
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_RADIO2));
        EXPECT_EQ(2, dlg.m_comboCtrl.GetCurSel()); // DDX_Control bound the member
        SetText(d, IDC_NAME, L"桥梁");
        SetText(d, IDC_COUNT, L" 8 ");
        SetText(d, IDC_RATIO, L"1.25");
        SetText(d, IDC_SHORT, L"-32768");
        d->CheckDlgButton(IDC_CHECK, BST_UNCHECKED);
        d->CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
        ::SendDlgItemMessageW(d->m_hWnd, IDC_COMBO, CB_SETCURSEL, 0, 0);
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ((std::vector<CString>{L"道路", L"3", L"0.25", L"-5"}), shown);
    EXPECT_STREQ(L"桥梁", dlg.m_name);
    EXPECT_EQ(8, dlg.m_count);
    EXPECT_DOUBLE_EQ(1.25, dlg.m_ratio);
    EXPECT_EQ(-32768, dlg.m_short);
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_EQ(2, dlg.m_radio);
    EXPECT_EQ(0, dlg.m_combo);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_comboCtrl.m_hWnd); // went with the dialog
    EXPECT_TRUE(script.Unscripted().empty());
}

TEST(DataExchange, AFailedCheckKeepsTheDialogOpenWithFocusOnTheControl)
{
    struct Case {
        int control;
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {IDC_COUNT, L"42", L"请输入一个在 1 和 10 之间的整数。"},
        {IDC_COUNT, L"4x", L"请输入一个整数。"},
        {IDC_COUNT, L"", L"请输入一个整数。"},
        {IDC_COUNT, L"99999999999", L"请输入一个整数。"},
        {IDC_RATIO, L"1,5", L"请输入一个数字。"},
        {IDC_RATIO, L"2", L"请输入一个在 0 和 1.5 之间的数字。"},
        {IDC_SHORT, L"32768", L"请输入一个整数。"},
        {IDC_NAME, L"一二三四五六七", L"请输入不超过 6 个字符。"},
    };
    // One dialog takes every case in turn: each failure keeps it open.
    const wchar_t* good[][2] = {{L"1001", L"隧道"}, {L"1002", L"10"}, {L"1003", L"1.5"}, {L"1004", L"7"}};
    CDataDialog dlg;
    MessageBoxScript boxes;
    std::vector<int> focus;
    std::vector<CString> kept;
    DialogScript script;
    for (const Case& c : cases) {
        script.Then([&, c](CWnd* d) {
            for (auto& g : good) SetText(d, _wtoi(g[0]), g[1]);
            SetText(d, c.control, c.text);
            Press(d, IDOK);
        });
        script.Then([&, c](CWnd* d) {
            focus.push_back(::GetDlgCtrlID(::GetFocus()));
            kept.push_back(GetText(d, c.control));
        });
    }
    script.Then([&](CWnd* d) {
        for (auto& g : good) SetText(d, _wtoi(g[0]), g[1]);
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_EQ(std::size(cases), boxes.Shown().size());
    ASSERT_EQ(std::size(cases), focus.size());
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(ClWideToMultiByte(cases[i].text, -1, CP_UTF8));
        EXPECT_STREQ(cases[i].message, boxes.Shown()[i].text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.Shown()[i].type & MB_ICONMASK);
        EXPECT_EQ(cases[i].control, focus[i]);
        EXPECT_STREQ(cases[i].text, kept[i]);
    }
    EXPECT_EQ(10, dlg.m_count);
    EXPECT_STREQ(L"隧道", dlg.m_name);
    EXPECT_FALSE(script.StepsLeft());
}

TEST(DataExchange, CancelLeavesTheMembers)
{
    CDataDialog dlg;
    DialogScript script;
    script.Then([](CWnd* d) {
        SetText(d, IDC_COUNT, L"9");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(3, dlg.m_count);
}

// ---------------------------------------------------------------------------
// The modal loop offers each message to its window and then to each parent.

namespace {

std::vector<std::string>* g_walk = nullptr;

class CKeyEdit : public CEdit
{
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN) return FALSE;
        g_walk->push_back("edit " + std::to_string(msg->wParam));
        return msg->wParam == VK_F6; // the edit keeps F6 to itself
    }
};

class CKeysDialog : public CDialog
{
public:
    explicit CKeysDialog(CWnd* parent) : CDialog(IDD_KEYS, parent) {}
    CKeyEdit m_edit;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) g_walk->push_back("dialog " + std::to_string(msg->wParam));
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_EDIT, m_edit); }
};

} // namespace

TEST(ModalLoop, PreTranslateRunsFromTheTargetUpToTheDialogAndTheOwnerWaits)
{
    std::vector<std::string> walk;
    g_walk = &walk;
    TestFrame* frame = new TestFrame(true);
    CKeysDialog dlg(frame);
    BOOL ownerEnabledDuring = TRUE;
    DialogScript script;
    script.Then([&](CWnd* d) {
        ownerEnabledDuring = frame->IsWindowEnabled();
        HWND edit = ::GetDlgItem(d->m_hWnd, IDC_EDIT);
        ::PostMessageW(edit, WM_KEYDOWN, VK_F5, 0);
        ::PostMessageW(edit, WM_KEYDOWN, VK_F6, 0);
        // Return in the edit goes through the dialog manager: the default button.
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    std::vector<std::string> expected{"edit 116", "dialog 116", "edit 117", "edit 13", "dialog 13"};
    EXPECT_EQ(expected, walk);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(frame->IsWindowEnabled());
    g_walk = nullptr;
    frame->DestroyWindow();
}

TEST(Resources, TheModuleThatAsksComesFirstThenTheSearchOrder)
{
    HINSTANCE exe = ::GetModuleHandleW(nullptr);
    // The system's common dialog library holds a find dialog under the same
    // number as this program's own.
    HINSTANCE common = ::LoadLibraryW(L"comdlg32.dll");
    ASSERT_NE(nullptr, common);
    EXPECT_EQ(exe, AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_FIND), RT_DIALOG));
    EXPECT_EQ(common, AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_FIND), RT_DIALOG, common));
    EXPECT_EQ(exe, AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_DATA), RT_DIALOG, common)); // on to the program
    EXPECT_EQ(nullptr, AfxFindResourceHandle(MAKEINTRESOURCEW(4242), RT_DIALOG));

    // A dialog runs the template of the module that constructed it.
    CString captions[2];
    DialogScript script;
    for (CString& caption : captions) {
        script.Then([&caption](CWnd* d) {
            caption = d->GetWindowText();
            Press(d, IDCANCEL);
        });
    }
    CDialog mine(IDD_FIND), theirs(IDD_FIND, nullptr, common);
    EXPECT_EQ(IDCANCEL, mine.DoModal());
    EXPECT_EQ(IDCANCEL, theirs.DoModal());
    EXPECT_STREQ(L"本程序的查找", captions[0]);
    EXPECT_FALSE(captions[1].IsEmpty());
    EXPECT_NE(captions[0], captions[1]);
    CDialog missing(4242);
    EXPECT_EQ(-1, missing.DoModal());

    // Strings follow the same order.
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_OWN_TEXT, common));
    EXPECT_STREQ(L"本程序的文字", text);
    EXPECT_FALSE(text.LoadString(4242));
    ::FreeLibrary(common);
}

// ---------------------------------------------------------------------------
// Command update of a dialog's controls.

namespace {

class CCommandTarget : public CCmdTarget
{
public:
    BOOL enableHandled = TRUE;
    int runs = 0;

protected:
    void OnHandled() { ++runs; }
    void OnUpdateHandled(CCmdUI* ui) { ui->Enable(enableHandled); }
    void OnUpdateDisabled(CCmdUI* ui)
    {
        ui->Enable(FALSE);
        ui->SetText(L"已禁用");
    }
    void OnDisabled() {}
    void OnUpdateAuto(CCmdUI* ui) { ui->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandTarget, CCmdTarget)
    ON_COMMAND(IDC_HANDLED, OnHandled)
    ON_UPDATE_COMMAND_UI(IDC_HANDLED, OnUpdateHandled)
    ON_COMMAND(IDC_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(IDC_DISABLED, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(IDC_AUTOCHECK, OnUpdateAuto)
END_MESSAGE_MAP()

} // namespace

TEST(CommandUpdate, DialogControlsFollowTheirUpdateHandlers)
{
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_COMMANDS));
    CCommandTarget target;
    dlg.UpdateDialogControls(&target, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_HANDLED)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_UNHANDLED))); // no handler at all
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_AUTOCHECK)));  // toggles by itself
    EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_AUTOCHECK));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_DISABLED)));
    CString text;
    dlg.GetDlgItemText(IDC_DISABLED, text);
    EXPECT_STREQ(L"已禁用", text);

    target.enableHandled = FALSE;
    dlg.UpdateDialogControls(&target, FALSE);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_HANDLED)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_UNHANDLED))); // left as it was

    // Routing: the target's command handler runs; the query form only looks.
    EXPECT_TRUE(target.OnCmdMsg(IDC_HANDLED, CN_COMMAND, nullptr, nullptr));
    AFX_CMDHANDLERINFO info{nullptr};
    EXPECT_TRUE(target.OnCmdMsg(IDC_HANDLED, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&target, info.pTarget);
    EXPECT_EQ(1, target.runs);
    EXPECT_FALSE(target.OnCmdMsg(IDC_UNHANDLED, CN_COMMAND, nullptr, nullptr));
    dlg.DestroyWindow();
}

namespace {

class CIdleDialog : public CDialog
{
public:
    CIdleDialog() : CDialog(IDD_COMMANDS) {}
    BOOL allowHandled = FALSE;
    std::function<void(LPARAM count)> afterIdle; // after each step of the idle pass

protected:
    void OnHandled() {}
    void OnUpdateHandled(CCmdUI* ui) { ui->Enable(allowHandled); }
    LRESULT OnKickIdle(WPARAM wParam, LPARAM count)
    {
        LRESULT more = CDialog::OnKickIdle(wParam, count);
        if (afterIdle) afterIdle(count);
        return more;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleDialog, CDialog)
    ON_COMMAND(IDC_HANDLED, OnHandled)
    ON_UPDATE_COMMAND_UI(IDC_HANDLED, OnUpdateHandled)
    ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

} // namespace

TEST(ModalLoop, TheIdlePassUpdatesTheControlsAndFreesOnlyTheDialogsOwnTemporaries)
{
    // Two windows without objects of their own.
    HWND a = ::CreateWindowW(L"STATIC", L"a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = ::CreateWindowW(L"STATIC", L"b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    PumpUntilIdle();
    const int base = ClTemporaryObjectCount();
    CWnd* before = CWnd::FromHandle(a); // the caller holds it across the dialog
    CIdleDialog dlg;
    int passes = 0, held = -1; // complete idle passes, and what each left behind
    dlg.afterIdle = [&](LPARAM count) {
        if (count != 1) return;
        ++passes;
        held = ClTemporaryObjectCount() - base;
        EXPECT_EQ(before, CWnd::FromHandle(a));
    };
    BOOL enabledAtFirst = TRUE, enabledAfter = FALSE;
    int madeDuring = 0, heldAfter = -1, passesAtChange = 0;
    DialogScript script;
    script
        .ThenWhen([&] { return passes > 0; },
                  [&](CWnd* d) {
                      enabledAtFirst = ::IsWindowEnabled(::GetDlgItem(d->m_hWnd, IDC_HANDLED));
                      CWnd::FromHandle(b); // made while the dialog runs
                      madeDuring = ClTemporaryObjectCount() - base;
                      dlg.allowHandled = TRUE;
                      passesAtChange = passes;
                  })
        .ThenWhen([&] { return passes > passesAtChange; },
                  [&](CWnd* d) {
                      enabledAfter = ::IsWindowEnabled(::GetDlgItem(d->m_hWnd, IDC_HANDLED));
                      heldAfter = held;
                      Press(d, IDCANCEL);
                  });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_FALSE(enabledAtFirst); // the update handler ran in the idle pass
    EXPECT_TRUE(enabledAfter);
    EXPECT_GE(madeDuring, 2);
    EXPECT_EQ(1, heldAfter); // only the caller's
    EXPECT_EQ(a, before->m_hWnd);
    PumpUntilIdle();
    EXPECT_EQ(base, ClTemporaryObjectCount());
    ::DestroyWindow(a);
    ::DestroyWindow(b);
}

namespace {
// A dialog that comes up slowly, as any does on a loaded machine: it is
// activated while it is made (as the system's own dialogs are when they set
// their focus), and time passes between its activation and the modal
// loop's first idle moment.  It gives up after ten seconds without a step
// (IDABORT), so that a script that lost it fails the test instead of
// hanging it.
class CSlowDialog : public CDialog
{
public:
    explicit CSlowDialog(CWnd* owner = nullptr) : CDialog(IDD_KEYS, owner) {}
    HWND made = nullptr;

protected:
    BOOL OnInitDialog() override
    {
        made = m_hWnd;
        SetTimer(kGiveUp, 10000, nullptr);
        ::SetActiveWindow(m_hWnd);
        return CDialog::OnInitDialog();
    }
    void OnActivate(UINT state, CWnd* other, BOOL minimized)
    {
        CDialog::OnActivate(state, other, minimized);
        if (state != WA_INACTIVE && !IsWindowVisible()) ::Sleep(40);
    }
    void OnTimer(UINT_PTR id)
    {
        if (id == kGiveUp) EndDialog(IDABORT);
    }
    DECLARE_MESSAGE_MAP()

private:
    enum { kGiveUp = 1 };
};
BEGIN_MESSAGE_MAP(CSlowDialog, CDialog)
    ON_WM_ACTIVATE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

// A dialog that opens a slow dialog when it gets WM_APP: one of its own
// (as a button's handler would), or with WPARAM 1 one owned by no window
// (the first dialog stays enabled).
class COpeningDialog : public CDialog
{
public:
    COpeningDialog() : CDialog(IDD_KEYS) {}
    INT_PTR innerResult = 0;
    HWND inner = nullptr;

protected:
    LRESULT OnOpen(WPARAM ownerless, LPARAM)
    {
        CSlowDialog dialog(ownerless ? CWnd::GetDesktopWindow() : this);
        innerResult = dialog.DoModal();
        inner = dialog.made;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COpeningDialog, CDialog)
    ON_MESSAGE(WM_APP, OnOpen)
END_MESSAGE_MAP()
} // namespace

TEST(DialogScripts, ASlowDialogStillGetsItsSteps)
{
    CSlowDialog dlg;
    DialogScript script;
    script.Then([](CWnd* d) { Press(d, IDOK); });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(script.StepsLeft());
}

// A slow dialog opened from inside a dialog: by a step, owned by no window
// (the step that opened it is still running while it comes up, and the
// first dialog stays enabled), or by the dialog itself on something a step
// did (it comes up over the first one, which it keeps disabled).  The next
// step goes to it, whenever the script's look comes, and the step after it
// to the first dialog again.
TEST(DialogScripts, ASlowDialogOpenedFromADialogGetsTheNextStep)
{
    for (const bool byTheStep : {true, false}) {
        SCOPED_TRACE(byTheStep ? "opened by a step" : "opened by the dialog");
        COpeningDialog outer;
        HWND first = nullptr, steppedInner = nullptr;
        DialogScript script;
        script
            .Then([&](CWnd* d) {
                first = d->GetSafeHwnd();
                if (byTheStep)
                    d->SendMessage(WM_APP, 1);
                else
                    d->PostMessage(WM_APP);
            })
            .Then([&](CWnd* d) {
                steppedInner = d->GetSafeHwnd();
                Press(d, IDOK);
            })
            .Then([&](CWnd* d) { Press(d, IDOK); });
        EXPECT_EQ(IDOK, outer.DoModal());
        EXPECT_EQ(IDOK, outer.innerResult) << "the inner dialog got no step";
        EXPECT_NE(first, steppedInner);
        EXPECT_EQ(outer.inner, steppedInner);
        EXPECT_FALSE(script.StepsLeft());
        EXPECT_TRUE(script.Unscripted().empty());
    }
}

namespace {
// Runs the loop until a timer of the step's own, due after the script's
// look, has fired (bounded): the script's timers have had their turn.
bool PumpPastTheScriptsLook()
{
    static bool fired;
    fired = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        fired = true;
    });
    const DWORD start = ::GetTickCount();
    while (!fired && ::GetTickCount() - start < 2000) {
        PumpUntilIdle(100);
        if (!fired) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (!fired) ::KillTimer(nullptr, timer);
    return fired;
}

// Runs a two-step script on a dialog: the first step does `meanwhile` to
// the dialog, then pumps past the script's look; the second presses OK.
// The steps must run one after the other, never the second inside the
// first.
void ExpectStepsInTurn(const std::function<void(CWnd*)>& meanwhile)
{
    CDialog dlg(IDD_KEYS);
    std::vector<int> order;
    bool pumped = false;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            order.push_back(1);
            meanwhile(d);
            pumped = PumpPastTheScriptsLook();
            order.push_back(2);
        })
        .Then([&](CWnd* d) {
            order.push_back(3);
            Press(d, IDOK);
        });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(pumped);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), order);
    EXPECT_TRUE(script.Unscripted().empty());
}
} // namespace

TEST(DialogScripts, AStepThatPumpsIsNotOvertakenAfterAnEarlierScript)
{
    {
        CDialog first(IDD_KEYS);
        DialogScript earlier;
        earlier.Then([](CWnd* d) { Press(d, IDCANCEL); });
        EXPECT_EQ(IDCANCEL, first.DoModal());
    }
    ExpectStepsInTurn([](CWnd*) {});
}

TEST(DialogScripts, AStepThatPumpsIsNotOvertakenWhenItsDialogIsActivatedAgain)
{
    ExpectStepsInTurn([](CWnd* d) {
        // Another window comes and goes, and the dialog is active again.
        HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, d->m_hWnd, nullptr,
                                       nullptr, nullptr);
        ::SetActiveWindow(other);
        ::DestroyWindow(other);
        ::SetActiveWindow(d->m_hWnd);
    });
}
