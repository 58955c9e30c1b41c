// The road dialog run on its own: its fields and list, the checks of OK,
// the choices that fill it again, the record it gives and the shortcut.
#include "manager_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/Dialog_RoadInfo.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"

using namespace manager_test;

namespace {

class RoadDialogTest : public ManagerTest
{
};

CComboBox* Combo(CWnd* dialog, int id) { return static_cast<CComboBox*>(dialog->GetDlgItem(id)); }

// Chooses an entry of a combo box the way the user does.
void Choose(CWnd* dialog, int id, int index)
{
    Combo(dialog, id)->SetCurSel(index);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(dialog->GetDlgItem(id)->m_hWnd));
}

// Types into the name box the way the user does.
void TypeName(CWnd* dialog, const wchar_t* name)
{
    SetText(dialog, IDC_ROAD_NAME, name);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ROAD_NAME, CBN_EDITCHANGE),
                        reinterpret_cast<LPARAM>(dialog->GetDlgItem(IDC_ROAD_NAME)->m_hWnd));
}

void Click(CWnd* dialog, int id, UINT state)
{
    dialog->CheckDlgButton(id, state);
    Press(dialog, id);
}

std::vector<CString> ComboEntries(CWnd* dialog, int id)
{
    std::vector<CString> entries;
    CComboBox* combo = Combo(dialog, id);
    for (int i = 0; i < combo->GetCount(); ++i) {
        CString text;
        combo->GetLBText(i, text);
        entries.push_back(text);
    }
    return entries;
}

} // namespace

// Every refusal keeps the dialog open with its message; a name with inner
// dots (".." too), the highest speed below 1000 and a grade the project file
// keeps are taken.
TEST_F(RoadDialogTest, OkRefusesWhatCannotBeARoad)
{
    MessageBoxScript boxes;
    struct Case {
        const wchar_t* name;
        int grade;
        const wchar_t* speed;
        const wchar_t* message; // the beginning of it
    };
    const Case cases[] = {
        {L"", 0, L"80", L"道路名称不能为空!"},
        {L"   ", 0, L"80", L"道路名称不能为空!"},
        {L"A\\B", 0, L"80", L"道路名称<A\\B>不能用作文件夹和文件名"},
        {L"A/B", 0, L"80", L"道路名称<A/B>不能用作文件夹和文件名"},
        {L"a:b", 0, L"80", L"道路名称<a:b>不能用作文件夹和文件名"},
        {L"a\"b", 0, L"80", L"道路名称<a\"b>不能用作文件夹和文件名"},
        {L"a*b?", 0, L"80", L"道路名称<a*b?>不能用作文件夹和文件名"},
        {L"<a>|", 0, L"80", L"道路名称<<a>|>不能用作文件夹和文件名"},
        {L".", 0, L"80", L"道路名称<.>不能用作文件夹和文件名"},
        {L"..", 0, L"80", L"道路名称<..>不能用作文件夹和文件名"},
        {L"支线.", 0, L"80", L"道路名称<支线.>不能用作文件夹和文件名"},
        {L"CON", 0, L"80", L"道路名称<CON>不能用作文件夹和文件名"},
        {L"nul.txt", 0, L"80", L"道路名称<nul.txt>不能用作文件夹和文件名"},
        {L"com1", 0, L"80", L"道路名称<com1>不能用作文件夹和文件名"},
        {L"LPT9.dat", 0, L"80", L"道路名称<LPT9.dat>不能用作文件夹和文件名"},
        {L"a\x01z", 0, L"80", L"道路名称<a\x01z>不能用作文件夹和文件名"},
        {L"支线", 12, L"80", L"道路等级<城市II级次干道>无法保存在项目文件中"},
        {L"支线", 17, L"80", L"道路等级<其他道路>无法保存在项目文件中"},
        {L"支线", 0, L"0", L"设计车速<0>应大于0，小于1000!"},
        {L"支线", 0, L"-5", L"设计车速<-5>应大于0，小于1000!"},
        {L"支线", 0, L"1000", L"设计车速<1000>应大于0，小于1000!"},
        {L"支线", 0, L"1200", L"设计车速<1200>应大于0，小于1000!"},
        {L"支线", 0, L"快", L"设计车速<快>应大于0，小于1000!"},
        {L"匝道 B", 0, L"80", L"道路名称<匝道 B>已经包含在当前项目中, 请输入其他的道路名称!"},
        {L"匝道 b", 0, L"80", L"道路名称<匝道 b>已经包含在当前项目中, 请输入其他的道路名称!"},
    };
    CDialog_RoadInfo dialog(frame);
    DialogScript script;
    size_t shown = 0;
    for (const Case& c : cases) {
        script.Then([&, c](CWnd* d) {
            SetText(d, IDC_ROAD_NAME, c.name);
            Combo(d, IDC_ROAD_GRADE)->SetCurSel(c.grade);
            SetText(d, IDC_ROAD_SPEED, c.speed);
            Press(d, IDOK);
        });
        script.Then([&, c](CWnd*) {
            ASSERT_EQ(++shown, boxes.Shown().size()) << Utf8(c.name) << " " << Utf8(c.speed);
            EXPECT_EQ(0, boxes.LastText().Find(c.message)) << Utf8(boxes.LastText());
            EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Shown().back().type);
        });
    }
    script.Then([&](CWnd* d) {
        SetText(d, IDC_ROAD_NAME, L" 支线..2 ");
        Combo(d, IDC_ROAD_GRADE)->SetCurSel(11);
        SetText(d, IDC_ROAD_SPEED, L"999");
        boxes.Answer(IDYES); // the road's folder is made
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(script.StepsLeft());
    Tavix4::sRoadInfo road;
    dialog.GetRoadInfo(road);
    EXPECT_EQ(CString(L"支线..2"), road.m_SRoadName);
    EXPECT_EQ(Tavix4::ROAD_OTHER, road.m_RoadLevel);
    EXPECT_EQ(999.0, road.m_rDesignSpeed);
    EXPECT_TRUE(FileExists(ProjectFolder() + L"\\支线..2"));
    EXPECT_EQ(0, boxes.LastText().Find(L"文件夹:"));
}

TEST_F(RoadDialogTest, ChoicesFillTheDialogAgainAndMakeTheRecord)
{
    MessageBoxScript boxes;
    CDialog_RoadInfo dialog(frame);
    DialogScript script;
    script.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"道路信息..."), d->GetWindowText());
        EXPECT_EQ(CString(L"M"), GetText(d, IDC_ROAD_NAME));
        EXPECT_EQ(14, Combo(d, IDC_ROAD_NAME)->GetCount());
        EXPECT_EQ(18, Combo(d, IDC_ROAD_GRADE)->GetCount());
        EXPECT_EQ(0, Combo(d, IDC_ROAD_GRADE)->GetCurSel());
        EXPECT_EQ(CString(L"120"), GetText(d, IDC_ROAD_SPEED));
        EXPECT_EQ((std::vector<CString>{L"120", L"100", L"80"}), ComboEntries(d, IDC_ROAD_SPEED));
        EXPECT_EQ(CString(L"0"), GetText(d, IDC_ROAD_START));
        EXPECT_EQ(CString(L"0"), GetText(d, IDC_ROAD_END));
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_ROAD_CURRENT));
        EXPECT_EQ(BST_UNCHECKED, d->IsDlgButtonChecked(IDC_ROAD_SHORTCUT));
        EXPECT_EQ(BST_UNCHECKED, d->IsDlgButtonChecked(IDC_ROAD_HASCHAIN));
        EXPECT_EQ(ProjectFolder() + L"\\M", GetText(d, IDC_ROAD_FOLDER));
        EXPECT_TRUE(d->GetDlgItem(IDC_ROAD_NAME)->IsWindowEnabled());
        // The project's roads, the current one marked.
        auto* list = static_cast<CListCtrl*>(d->GetDlgItem(IDC_ROAD_LIST));
        ASSERT_EQ(2, list->GetItemCount());
        EXPECT_EQ(CString(L"1"), list->GetItemText(0, 0));
        EXPECT_EQ(CString(L"主线"), list->GetItemText(0, 1));
        EXPECT_EQ(CString(L"匝道 B"), list->GetItemText(1, 1));
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        list->SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(0, item.iImage);
        item.iItem = 1;
        list->SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(1, item.iImage);
        EXPECT_EQ(RGB(0xC1, 0xFF, 0xFF), static_cast<COLORREF>(list->SendMessage(LVM_GETBKCOLOR)));

        // Typing a name moves the folder with it at once; a grade brings its
        // speeds, the first of them chosen.
        TypeName(d, L"联络线");
        EXPECT_EQ(ProjectFolder() + L"\\联络线", GetText(d, IDC_ROAD_FOLDER));
        SetText(d, IDC_ROAD_START, L"K0+020");
        Choose(d, IDC_ROAD_GRADE, 4);
        EXPECT_EQ((std::vector<CString>{L"40", L"30"}), ComboEntries(d, IDC_ROAD_SPEED));
        EXPECT_EQ(CString(L"40"), GetText(d, IDC_ROAD_SPEED));
        EXPECT_EQ(CString(L"K0+020"), GetText(d, IDC_ROAD_START));
        // A name of the list: the typed fields stay.
        Choose(d, IDC_ROAD_NAME, 3);
        EXPECT_EQ(CString(L"C"), GetText(d, IDC_ROAD_NAME));
        EXPECT_EQ(ProjectFolder() + L"\\C", GetText(d, IDC_ROAD_FOLDER));
        EXPECT_EQ(CString(L"K0+020"), GetText(d, IDC_ROAD_START));
        // A break chain typed without its check box does not count.
        SetText(d, IDC_ROAD_CHAIN, L"500=510");
        Click(d, IDC_ROAD_SHORTCUT, BST_CHECKED);
        Click(d, IDC_ROAD_CURRENT, BST_UNCHECKED);
    });
    bool pictured = false;
    script.Then([&](CWnd* d) { TakePicture(d, L"road_dialog.bmp", pictured); });
    script.ThenWhen(Taken(pictured), [&](CWnd* d) {
        boxes.Answer(IDYES); // the road's folder is made
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(script.StepsLeft());
    Tavix4::sRoadInfo road;
    dialog.GetRoadInfo(road);
    EXPECT_EQ(CString(L"C"), road.m_SRoadName);
    EXPECT_EQ(Tavix4::ROAD_THIRD_CLASS, road.m_RoadLevel);
    EXPECT_EQ(40.0, road.m_rDesignSpeed);
    EXPECT_EQ(CString(L"K0+020"), road.m_SStartZH);
    EXPECT_EQ(CString(), road.m_SBreakChain);
    EXPECT_EQ(0, dialog.m_bSetCurrent);
    EXPECT_TRUE(FileExists(ProjectFolder() + L"\\C"));
    // The shortcut to the road's folder lies in the project folder.
    EXPECT_TRUE(FileExists(ProjectFolder() + L"\\项目测试 项目_C.lnk"));
    dialog.m_bHasBreakChain = 1;
    dialog.GetRoadInfo(road);
    EXPECT_EQ(CString(L"500=510"), road.m_SBreakChain);
}

TEST_F(RoadDialogTest, EditModeShowsTheRoadAndKeepsItsName)
{
    CDialog_RoadInfo dialog(frame);
    dialog.m_nMode = 1;
    dialog.m_nRoadIndex = 1;
    dialog.m_SRoadName = kRampRoad;
    dialog.m_iRoadLevel = 1;
    dialog.m_SSpeed = L"40";
    DialogScript script;
    int hot = -1, mark = -1;
    script.Then([&](CWnd* d) {
        EXPECT_FALSE(d->GetDlgItem(IDC_ROAD_NAME)->IsWindowEnabled());
        EXPECT_EQ(ProjectFolder() + L"\\匝道 B", GetText(d, IDC_ROAD_FOLDER));
        EXPECT_EQ(CString(L"40"), GetText(d, IDC_ROAD_SPEED));
        hot = static_cast<int>(d->SendDlgItemMessage(IDC_ROAD_LIST, LVM_GETHOTITEM));
        mark = static_cast<int>(d->SendDlgItemMessage(IDC_ROAD_LIST, LVM_GETSELECTIONMARK));
        // The project holds the name already: in edit mode that is the road.
        Press(d, IDOK);
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, hot);
    EXPECT_EQ(1, mark);
}
