// The environment dialog and the about box, run from their commands with
// scripted steps.
#include "shell_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/Dialog_GotoLine.h"
#include "brisko/shell/AboutDlg.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/SelectColorButton.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

using namespace shell_test;
using namespace wintest;

namespace {

const wchar_t kReloadNotice[] = L"FileWatch引擎提示:\n\n修改自动加载文件设置, 重新启动程序后生效!";

CSelectColorButton* ColorButton(CWnd* dialog, int id)
{
    return dynamic_cast<CSelectColorButton*>(CWnd::FromHandlePermanent(::GetDlgItem(*dialog, id)));
}

// Ticks or clears a check box the way a click does.
void Click(CWnd* dialog, int id, UINT state)
{
    dialog->CheckDlgButton(id, state);
    Press(dialog, id);
}

class OptionDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        // The application's values before the test, put back afterwards.
        saved.tab = theApp.m_nTabWidth;
        saved.margin = theApp.m_nMarginWidth;
        saved.pitch = theApp.m_nLinePitch;
        saved.duration = theApp.m_nDurationTime;
        saved.tip = theApp.m_bShowToolTip;
        saved.reload = theApp.m_bAutoReload;
        for (int i = 0; i < 12; ++i) saved.colors[i] = theApp.m_Colors[i];
    }
    void TearDown() override
    {
        theApp.m_nTabWidth = saved.tab;
        theApp.m_nMarginWidth = saved.margin;
        theApp.m_nLinePitch = saved.pitch;
        theApp.m_nDurationTime = saved.duration;
        theApp.m_bShowToolTip = saved.tip;
        theApp.m_bAutoReload = saved.reload;
        for (int i = 0; i < 12; ++i) theApp.m_Colors[i] = saved.colors[i];
        theApp.LoadSaveSettings(FALSE);
    }
    void RunOptions() { theApp.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_OPTIONS); }
    struct {
        short tab, margin, pitch, duration;
        BOOL tip, reload;
        COLORREF colors[12];
    } saved;
};

} // namespace

TEST_F(OptionDialogTest, ShowsTheSettingsAndStoresThemOnOK)
{
    DialogScript script;
    script.Then([](CWnd* d) {
        EXPECT_EQ(CString(L"环境设置"), d->GetWindowText());
        EXPECT_EQ(CString(L"7"), GetText(d, IDC_OPT_TABWIDTH));
        EXPECT_EQ(CString(L"44"), GetText(d, IDC_OPT_MARGIN));
        EXPECT_EQ(CString(L"9"), GetText(d, IDC_OPT_LINEPITCH));
        EXPECT_EQ(CString(L"20"), GetText(d, IDC_OPT_DURATION));
        EXPECT_EQ(BST_UNCHECKED, d->IsDlgButtonChecked(IDC_OPT_TOOLTIP));
        // The colour buttons show the stored colours; one is changed.
        ASSERT_NE(nullptr, ColorButton(d, IDC_OPT_COMMENT));
        EXPECT_EQ(kSeededColors[3], ColorButton(d, IDC_OPT_COMMENT)->GetColor());
        EXPECT_EQ(kSeededColors[10], ColorButton(d, IDC_OPT_TEXT)->GetColor());
        ColorButton(d, IDC_OPT_COMMENT)->SetColor(RGB(1, 2, 3));
        // The duration follows the tool-tip box.
        EXPECT_FALSE(d->GetDlgItem(IDC_OPT_DURATION)->IsWindowEnabled());
        SetText(d, IDC_OPT_TABWIDTH, L"8");
        Click(d, IDC_OPT_TOOLTIP, BST_CHECKED);
    });
    script.Then([](CWnd* d) {
        EXPECT_TRUE(d->GetDlgItem(IDC_OPT_DURATION)->IsWindowEnabled());
        CaptureWindow(d).SaveBmp(L"options.bmp");
        SetText(d, IDC_OPT_DURATION, L"30");
        Press(d, IDOK);
    });
    RunOptions();
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(8, theApp.m_nTabWidth);
    EXPECT_EQ(1, theApp.m_bShowToolTip);
    EXPECT_EQ(30, theApp.m_nDurationTime);
    EXPECT_EQ(8u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"TabWidth"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"ShowToopTip"));
    EXPECT_EQ(30u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"DurationTime"));
    EXPECT_EQ(9u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"LinePicth"));
    EXPECT_EQ(RGB(1, 2, 3), theApp.m_Colors[3]);
    EXPECT_EQ(static_cast<DWORD>(RGB(1, 2, 3)), GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"Color3"));
    EXPECT_EQ(kSeededColors[2], theApp.m_Colors[2]); // no button: kept
}

TEST_F(OptionDialogTest, DefaultsAreRestored)
{
    DialogScript script;
    script.Then([](CWnd* d) { Press(d, IDC_OPT_DEFAULTS); });
    script.Then([](CWnd* d) {
        EXPECT_EQ(CString(L"4"), GetText(d, IDC_OPT_TABWIDTH));
        EXPECT_EQ(CString(L"30"), GetText(d, IDC_OPT_MARGIN));
        EXPECT_EQ(CString(L"5"), GetText(d, IDC_OPT_LINEPITCH));
        EXPECT_EQ(CString(L"10"), GetText(d, IDC_OPT_DURATION));
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_OPT_SHOWGRID));
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_OPT_TOOLTIP));
        EXPECT_EQ(BST_UNCHECKED, d->IsDlgButtonChecked(IDC_OPT_AUTORELOAD));
        EXPECT_EQ(0x008000u, ColorButton(d, IDC_OPT_COMMENT)->GetColor());
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), ColorButton(d, IDC_OPT_BACK)->GetColor());
        Press(d, IDOK);
    });
    RunOptions();
    EXPECT_EQ(4u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"TabWidth"));
    EXPECT_EQ(30u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"MarginWidth"));
    EXPECT_EQ(1u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"AUTOCOMMENT"));
    // Not the first-start values: reloading off, Color2 the scroll-bar colour.
    EXPECT_EQ(0u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"AUTORELOAD"));
    EXPECT_EQ(GetSysColor(COLOR_SCROLLBAR), GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"Color2"));
    EXPECT_EQ(0x008000u, GetRegDword(HKEY_CURRENT_USER, kSettingsKey, L"Color3"));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), theApp.m_Colors[0]);
}

TEST_F(OptionDialogTest, ValuesOutOfRangeKeepTheDialogOpen)
{
    const struct {
        int id;
        const wchar_t* bad;
        const wchar_t* good;
    } cases[] = {
        {IDC_OPT_TABWIDTH, L"0", L"1"},      {IDC_OPT_TABWIDTH, L"21", L"20"},  {IDC_OPT_MARGIN, L"19", L"20"},
        {IDC_OPT_MARGIN, L"201", L"200"},    {IDC_OPT_LINEPITCH, L"21", L"0"},  {IDC_OPT_DURATION, L"0", L"1"},
        {IDC_OPT_DURATION, L"31", L"30"},
    };
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([](CWnd* d) { Click(d, IDC_OPT_TOOLTIP, BST_CHECKED); }); // the duration can be typed
    for (const auto& c : cases) {
        script.Then([c](CWnd* d) {
            SetText(d, c.id, c.bad);
            Press(d, IDOK);
        });
        script.Then([c](CWnd* d) { SetText(d, c.id, c.good); }); // still open
    }
    script.Then([](CWnd* d) { Press(d, IDOK); });
    RunOptions();
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(std::size(cases), boxes.Shown().size());
    EXPECT_EQ(30, theApp.m_nDurationTime); // the last good values were taken
    EXPECT_EQ(0, theApp.m_nLinePitch);
}

TEST_F(OptionDialogTest, TheReloadSettingTellsItNeedsARestart)
{
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([](CWnd* d) { Click(d, IDC_OPT_AUTORELOAD, BST_CHECKED); });
    script.Then([](CWnd* d) { Click(d, IDC_OPT_AUTORELOAD, BST_UNCHECKED); });
    script.Then([](CWnd* d) { Press(d, IDOK); });
    RunOptions();
    // Once on the first click, once more on OK.
    ASSERT_EQ(2u, boxes.Shown().size());
    for (const ShownMessageBox& box : boxes.Shown()) {
        EXPECT_EQ(CString(kReloadNotice), box.text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.type);
    }
    // Cancelled: nothing stored.
    DialogScript cancel;
    cancel.Then([](CWnd* d) {
        SetText(d, IDC_OPT_TABWIDTH, L"12");
        Press(d, IDCANCEL);
    });
    RunOptions();
    EXPECT_NE(12, theApp.m_nTabWidth);
}

TEST(AboutBox, ShowsTheBannerTheVersionAndTheDescription)
{
    StartProgram();
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([](CWnd* d) {
        EXPECT_EQ(CString(L"关于TAVIX项目数据环境..."), d->GetWindowText());
        EXPECT_EQ(CString(L"Version:") + theApp.m_SVersion, GetText(d, IDC_ABOUT_VERSION));
        CString text = GetText(d, IDC_ABOUT_TEXT);
        EXPECT_EQ(CString(CAboutDlg::Description()), text);
        EXPECT_NE(0, d->SendDlgItemMessage(IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP));
        CaptureWindow(d).SaveBmp(L"about.bmp");
        Press(d, IDOK);
    });
    theApp.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_TRUE(boxes.Shown().empty());
}

namespace {

// The width of the window's text in the window's own font.
int TextWidthIn(CWnd* wnd)
{
    const CString text = wnd->GetWindowText();
    CClientDC dc(wnd);
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(wnd->SendMessage(WM_GETFONT));
    const HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
    const int width = static_cast<int>(dc.GetTextExtent(text, text.GetLength()).cx);
    if (old) dc.SelectObject(old);
    return width;
}

} // namespace

TEST(GoToDialog, EveryLabelHoldsItsText)
{
    StartProgram();
    DialogScript script;
    int labels = 0;
    script.Then([&](CWnd* d) {
        for (CWnd* child = d->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            wchar_t kind[32] = {};
            ::GetClassNameW(child->m_hWnd, kind, 32);
            if (CString(kind).CompareNoCase(L"Static") != 0) continue;
            ++labels;
            CRect client;
            child->GetClientRect(&client);
            EXPECT_LE(TextWidthIn(child), client.Width()) << Utf8(child->GetWindowText());
        }
        CaptureWindow(d).SaveBmp(L"goto_line.bmp");
        Press(d, IDCANCEL);
    });
    CDialog_GotoLine dialog(theApp.m_pMainWnd);
    dialog.DoModal();
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(3, labels);
}
