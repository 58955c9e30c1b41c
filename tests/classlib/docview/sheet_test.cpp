// Property sheets run modally under a dialog script, and pages used as panes.
#include "docview_app.h"

using namespace docview;
using namespace wintest;

namespace {

class CNamePage : public CPropertyPage
{
public:
    CNamePage() : CPropertyPage(IDD_PAGE_NAME) {}
    CString m_name = L"原名";
    int applied = 0;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_name);
        DDV_MaxChars(pDX, m_name, 10);
    }
    void OnOK() override { ++applied; }
};

class CCountPage : public CPropertyPage
{
public:
    CCountPage() : CPropertyPage(IDD_PAGE_COUNT) {}
    int m_count = 1;
    int applied = 0;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_COUNT, m_count);
        DDV_MinMaxInt(pDX, m_count, 1, 10);
    }
    void OnOK() override { ++applied; }
};

// A sheet that hides its Apply and Help buttons when it starts, as the
// program's settings sheet does.
class CPlainSheet : public CPropertySheet
{
public:
    explicit CPlainSheet(const wchar_t* caption) : CPropertySheet(caption) {}
    BOOL OnInitDialog() override
    {
        for (int id : {ID_APPLY_NOW, IDHELP})
            if (HWND button = ::GetDlgItem(m_hWnd, id)) ::ShowWindow(button, SW_HIDE);
        return TRUE;
    }
};

// A page whose name field is on only while its check allows it, through the
// command state of the idle pass.
class CLockedNamePage : public CNamePage
{
public:
    bool allowName = false;
    int updates = 0;

protected:
    void OnUpdateName(CCmdUI* ui)
    {
        ++updates;
        ui->Enable(allowName);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLockedNamePage, CNamePage)
    ON_UPDATE_COMMAND_UI(IDC_NAME, OnUpdateName)
END_MESSAGE_MAP()

CWnd* CurrentPage(CWnd* sheet)
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(sheet->SendMessage(PSM_GETCURRENTPAGEHWND)));
}

} // namespace

TEST_F(DocViewTest, APropertySheetExchangesItsPagesAndAFailedCheckKeepsItOpen)
{
    CNamePage name;
    CCountPage count;
    CPlainSheet sheet(L"设置");
    sheet.AddPage(&name);
    sheet.AddPage(&count);
    MessageBoxScript boxes;
    bool applyVisible = true;
    CString shownName;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            EXPECT_STREQ(L"设置", d->GetWindowText());
            applyVisible = ::IsWindowVisible(::GetDlgItem(d->m_hWnd, ID_APPLY_NOW)) != FALSE;
            shownName = GetText(CurrentPage(d), IDC_NAME);
            SetText(CurrentPage(d), IDC_NAME, L"张三");
            d->SendMessage(PSM_SETCURSEL, 1); // leaving the page reads it back
            SetText(CurrentPage(d), IDC_COUNT, L"42");
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            // Still open on the second page after the range message.
            EXPECT_EQ(1u, boxes.Shown().size());
            SetText(CurrentPage(d), IDC_COUNT, L"7");
            Press(d, IDOK);
        });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_FALSE(applyVisible);
    EXPECT_STREQ(L"原名", shownName);
    EXPECT_STREQ(L"张三", name.m_name);
    EXPECT_EQ(7, count.m_count);
    EXPECT_EQ(1, name.applied);
    EXPECT_EQ(1, count.applied);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_STREQ(L"请输入一个在 1 和 10 之间的整数。", boxes.Shown()[0].text);
    EXPECT_TRUE(theApp.Frame()->IsWindowEnabled());
}

TEST_F(DocViewTest, CancelLeavesThePagesAndUnvisitedPagesKeepTheirMembers)
{
    CNamePage name;
    CCountPage count;
    count.m_count = 3;
    CPropertySheet sheet(L"设置");
    sheet.AddPage(&name);
    sheet.AddPage(&count);

    DialogScript cancel;
    cancel.Then([&](CWnd* d) {
        SetText(CurrentPage(d), IDC_NAME, L"李四");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_STREQ(L"原名", name.m_name);
    EXPECT_EQ(0, name.applied);

    // OK at once: the second page was never made and is not applied.
    DialogScript ok;
    ok.Then([&](CWnd* d) { Press(d, IDOK); });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(1, name.applied);
    EXPECT_EQ(0, count.applied);
    EXPECT_EQ(3, count.m_count);
}

TEST(PropertyPages, APageLivesAsAChildPaneWithoutASheet)
{
    auto* frame = new TestFrame;
    CNamePage page;
    page.m_name = L"窗格";
    ASSERT_TRUE(page.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 5, 305, 105), frame, 4321));
    EXPECT_EQ(frame->m_hWnd, ::GetParent(page.m_hWnd));
    EXPECT_EQ(4321, page.GetDlgCtrlID());
    EXPECT_NE(0u, page.GetStyle() & WS_CHILD);
    EXPECT_EQ(0u, page.GetStyle() & (WS_CAPTION | WS_DISABLED));
    CRect rect;
    page.GetWindowRect(&rect);
    frame->ScreenToClient(&rect);
    EXPECT_EQ(CRect(5, 5, 305, 105), rect);
    EXPECT_STREQ(L"窗格", GetText(&page, IDC_NAME)); // filled when it was made
    SetText(&page, IDC_NAME, L"改过");
    EXPECT_TRUE(page.UpdateData(TRUE));
    EXPECT_STREQ(L"改过", page.m_name);
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, page.m_hWnd);
}

TEST_F(DocViewTest, ARunningSheetsPageIsUpdatedInTheIdlePass)
{
    CLockedNamePage name;
    CPropertySheet sheet(L"设置");
    sheet.AddPage(&name);
    bool enabledAtFirst = true, enabledLater = false;
    DialogScript script;
    script
        .ThenWhen([&] { return name.updates > 0; },
                  [&](CWnd* d) {
                      enabledAtFirst = ::IsWindowEnabled(::GetDlgItem(CurrentPage(d)->m_hWnd, IDC_NAME)) != FALSE;
                      name.allowName = true;
                  },
                  1000)
        .ThenWhen([&] { return ::IsWindowEnabled(::GetDlgItem(name.m_hWnd, IDC_NAME)) != FALSE; },
                  [&](CWnd* d) {
                      enabledLater = true;
                      Press(d, IDCANCEL);
                  },
                  1000);
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_FALSE(enabledAtFirst);
    EXPECT_TRUE(enabledLater);
}
