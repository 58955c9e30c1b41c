// The project dialog through the project tree's commands: a new project
// (with and without the settings sheet, and over the file of a removed
// project), opening a registered project, and the project settings with the
// drawing-settings sheet, whose values reach "Tavix3.ini" and the project
// file.
#include "manager_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"
#include <functional>

using namespace manager_test;

namespace {

class ProjectDialogTest : public ManagerTest
{
protected:
    void RunCommand(UINT id) { Command(projectTree, id); }
};

// The sheet's current page, and a page chosen.
CWnd* Page(CWnd* sheet) { return CWnd::FromHandle(reinterpret_cast<HWND>(sheet->SendMessage(PSM_GETCURRENTPAGEHWND))); }
CWnd* ShowPage(CWnd* sheet, int index)
{
    sheet->SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index));
    return Page(sheet);
}

void Click(CWnd* dialog, int id, UINT state)
{
    dialog->CheckDlgButton(id, state);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog->GetDlgItem(id)->m_hWnd));
}

// One step of a spin button as its arrow gives it.
void Spin(CWnd* page, int spin, int delta)
{
    NMUPDOWN step{};
    step.hdr.hwndFrom = page->GetDlgItem(spin)->m_hWnd;
    step.hdr.idFrom = static_cast<UINT_PTR>(spin);
    step.hdr.code = UDN_DELTAPOS;
    step.iDelta = delta;
    page->SendMessage(WM_NOTIFY, static_cast<WPARAM>(spin), reinterpret_cast<LPARAM>(&step));
}

CString IniValue(const wchar_t* section, const wchar_t* key)
{
    wchar_t text[256] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", text, 256, SettingsIni());
    return text;
}

// Whether the sheet has gone and the dialog of that caption is the active
// window again.
std::function<bool()> BackTo(const wchar_t* caption)
{
    return [caption] {
        wchar_t text[64] = {};
        ::GetWindowTextW(::GetActiveWindow(), text, 64);
        return CString(text) == caption;
    };
}

bool Visible(CWnd* dialog, int id) { return (dialog->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }

// The name and folder of a new project typed into the create dialog.
void FillNewProject(CWnd* d, const CString& name, const CString& folder)
{
    SetText(d, IDC_PRJ_NAME, name);
    SetText(d, IDC_PRJ_PATH, folder);
    d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
}

} // namespace

// The checks of the name and the folder, and a project file left by a
// removed project, keep the dialog open; the new project is then made,
// registered and current, with no road.
TEST_F(ProjectDialogTest, ANewProjectIsCheckedMadeAndCurrent)
{
    MessageBoxScript boxes;
    const CString removedEpj = WriteOtherProject(L"旧 项目", L"一号");
    const std::string removedBytes = ReadBytes(removedEpj);
    const CString folder = ProjectsRoot() + L"\\新 项目";
    struct Case {
        const wchar_t* name;
        CString folder;
        CString message;
    };
    const CString badName = L"项目名称不能包含以下字符!\n\n\\ / : * ? \" < > |";
    const Case cases[] = {
        {L"  ", folder, L"项目名称不能为空!"},
        {L"新.项目", folder, badName},
        {L"新\"项目\"", folder, badName},
        {L"a/b", folder, badName},
        {L"a|b", folder, badName},
        {L"新项目", L"  ", L"项目路径不能为空!"},
        {L"旧 项目", ProjectsRoot() + L"\\旧 项目",
         ClFormat(L"项目文件<%s>已经存在!\n\n请用\"导入项目\"打开该项目, 或输入其他的项目名称或路径.", removedEpj.GetString())},
    };
    DialogScript script;
    script.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"创建项目"), d->GetWindowText());
        EXPECT_EQ(CString(L"创建"), GetText(d, IDOK));
        const CTime today = CTime::GetCurrentTime();
        EXPECT_EQ(ClFormat(L"%d年%d月%d日", today.GetYear(), today.GetMonth(), today.GetDay()), GetText(d, IDC_PRJ_TIME));
        EXPECT_EQ(CString(L"初步设计"), GetText(d, IDC_PRJ_STAGE));
        EXPECT_TRUE(Visible(d, IDC_PRJ_SETTINGS));
        EXPECT_TRUE(d->GetDlgItem(IDC_PRJ_BROWSE)->IsWindowEnabled());
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_PRJ_SHORTCUT));
        // Typing the name puts the project under the root of the folder's
        // drive, C without a folder.
        SetText(d, IDC_PRJ_PATH, L"D:\\工程\\老项目");
        SetText(d, IDC_PRJ_NAME, L"甲");
        EXPECT_EQ(CString(L"D:\\甲"), GetText(d, IDC_PRJ_PATH));
        SetText(d, IDC_PRJ_PATH, L"");
        SetText(d, IDC_PRJ_NAME, L"乙");
        EXPECT_EQ(CString(L"C:\\乙"), GetText(d, IDC_PRJ_PATH));
    });
    size_t shown = 0;
    bool pictured = false;
    for (const Case& c : cases) {
        script.Then([&, c](CWnd* d) {
            FillNewProject(d, c.name, c.folder);
            Press(d, IDOK);
        });
        script.Then([&, c](CWnd*) {
            ASSERT_EQ(++shown, boxes.Shown().size()) << Utf8(c.name);
            EXPECT_EQ(c.message, boxes.LastText());
        });
    }
    script.Then([&](CWnd* d) {
        FillNewProject(d, L"新 项目", folder);
        TakePicture(d, L"project_dialog_create.bmp", pictured);
    });
    script.ThenWhen(Taken(pictured), [&](CWnd* d) {
        boxes.Answer(IDYES); // the folder is made
        Press(d, IDOK);
    });
    RunCommand(ID_PROJECT_NEW);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(removedBytes, ReadBytes(removedEpj));

    EXPECT_TRUE(FileExists(folder + L"\\新 项目.EPJ"));
    EXPECT_EQ(CString(L"新 项目"), theApp.m_CurProject.m_SName);
    EXPECT_EQ(0, theApp.m_CurProject.GetRoadCount());
    EXPECT_EQ(-1, theApp.m_CurProject.m_iCurRoad);
    EXPECT_EQ(CString(L"新 项目"), tkx_GetWorkSpace().m_SPrjName);
    EXPECT_EQ(CString(L"项目名称: 新 项目"), projectTree->GetTreeCtrl().GetItemText(projectTree->ProjectItem()));
    EXPECT_EQ(folder, theApp.m_SWorkingDirectory);
    EXPECT_EQ(std::vector<CString>{L"创建新项目: 新 项目"}, Lines());
    // The previous project's road is not shown as the current road.
    EXPECT_EQ(std::vector<CString>{L"未定义当前道路"}, ChildTexts(fileTree->GetTreeCtrl(), nullptr));
}

// The sheet's values chosen while a project is created belong to the new
// project: they reach its file, "Tavix3.ini" and a reload; the project that
// was current keeps its file.  Without the sheet a new project takes the
// values the user's settings file gives.
TEST_F(ProjectDialogTest, SettingsChosenForANewProjectAreItsOwn)
{
    MessageBoxScript boxes;
    const std::string before = ReadBytes(EpjPath());
    const tkxProject old = theApp.m_CurProject;
    const CString folder = ProjectsRoot() + L"\\带设置 项目";
    DialogScript script;
    script.Then([&](CWnd* d) {
        FillNewProject(d, L"带设置 项目", folder);
        Press(d, IDC_PRJ_SETTINGS);
    });
    script.Then([&](CWnd* sheet) {
        EXPECT_EQ(CString(L"TAVIX项目数据环境 项目管理"), sheet->GetWindowText());
        EXPECT_FALSE(Visible(sheet, ID_APPLY_NOW));
        CWnd* page = ShowPage(sheet, 0);
        // The pages' own values.
        EXPECT_EQ(CString(L"3"), GetText(page, IDC_BZ_ZH));
        EXPECT_EQ(CString(L"4"), GetText(page, IDC_BZ_A));
        EXPECT_FALSE(page->GetDlgItem(IDC_BZ_X)->IsWindowEnabled());
        Click(page, IDC_BZ_SUBTRACT, BST_CHECKED);
        EXPECT_TRUE(page->GetDlgItem(IDC_BZ_X)->IsWindowEnabled());
        SetText(page, IDC_BZ_X, L"3300000");
        SetText(page, IDC_BZ_Y, L"500000");
        SetText(page, IDC_BZ_ZH, L"2");
        page = ShowPage(sheet, 1);
        page->CheckDlgButton(IDC_ZD_PINYIN, BST_UNCHECKED);
        Click(page, IDC_ZD_ENGLISH, BST_CHECKED);
        page = ShowPage(sheet, 2);
        SetText(page, IDC_SPX_DISTANCE, L"3.5");
        Press(sheet, IDOK);
    });
    script.ThenWhen(BackTo(L"创建项目"), [&](CWnd* d) {
        boxes.Answer(IDYES);
        Press(d, IDOK);
    });
    RunCommand(ID_PROJECT_NEW);
    EXPECT_FALSE(script.StepsLeft());

    tkxProject& project = theApp.m_CurProject;
    ASSERT_EQ(CString(L"带设置 项目"), project.m_SName);
    EXPECT_EQ(1, project.m_iReserve);
    EXPECT_EQ(3300000.0, project.m_rReserve1);
    EXPECT_EQ(2, project.m_sPrjSetting0.m_iPrecision_ZH);
    EXPECT_EQ(1, project.m_sPrjSetting1.m_iMode);
    EXPECT_EQ(CString(L"BP"), project.m_sPrjSetting1.m_SQD);
    EXPECT_EQ(3.5, project.m_sPrjSetting2.m_rDistance);
    EXPECT_EQ(CString(L"2"), IniValue(L"BZPrecision", L"m_sPrjSetting0.m_iPrecision_ZH"));
    EXPECT_EQ(CString(L"1"), IniValue(L"ZDString", L"m_sPrjSetting1.m_iMode"));
    tkxProject reloaded;
    ASSERT_EQ(1, reloaded.Load(folder + L"\\带设置 项目.EPJ"));
    EXPECT_EQ(1, reloaded.m_iReserve);
    EXPECT_EQ(500000.0, reloaded.m_rReserve2);
    EXPECT_EQ(2, reloaded.m_sPrjSetting0.m_iPrecision_ZH);
    EXPECT_EQ(CString(L"EP"), reloaded.m_sPrjSetting1.m_SZD);
    // The project that was current is as it was.
    EXPECT_EQ(before, ReadBytes(EpjPath()));
    EXPECT_EQ(0, old.m_iReserve);

    // Without the sheet: what the settings file says.
    DialogScript plain;
    plain.Then([&](CWnd* d) {
        FillNewProject(d, L"无设置 项目", ProjectsRoot() + L"\\无设置 项目");
        boxes.Answer(IDYES);
        Press(d, IDOK);
    });
    RunCommand(ID_PROJECT_NEW);
    ASSERT_EQ(CString(L"无设置 项目"), project.m_SName);
    EXPECT_EQ(0, project.m_iReserve);
    EXPECT_EQ(2, project.m_sPrjSetting0.m_iPrecision_ZH);
    EXPECT_EQ(CString(L"TC"), project.m_sPrjSetting1.m_SZY);
    EXPECT_EQ(3.5, project.m_sPrjSetting2.m_rDistance);
}

// The edit mode's sheet edits the current project; after its OK the values
// are in the project file, "Tavix3.ini" and a reload.  The header changes
// are saved by the command, a failed save is printed as a failure.
TEST_F(ProjectDialogTest, ProjectSettingsAreSavedAndReadBack)
{
    MessageBoxScript boxes;
    bool pictured = false;
    DialogScript script;
    script.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"项目信息"), d->GetWindowText());
        EXPECT_EQ(CString(L"保存"), GetText(d, IDOK));
        EXPECT_EQ(CString(kProjectName), GetText(d, IDC_PRJ_NAME));
        EXPECT_TRUE(d->GetDlgItem(IDC_PRJ_NAME)->GetStyle() & ES_READONLY);
        EXPECT_EQ(CString(L"施工图设计"), GetText(d, IDC_PRJ_STAGE));
        EXPECT_EQ(1, static_cast<CComboBox*>(d->GetDlgItem(IDC_PRJ_TYPE))->GetCurSel());
        EXPECT_EQ(BST_CHECKED, d->IsDlgButtonChecked(IDC_PRJ_CLIMATE_SNOW));
        d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
        Press(d, IDC_PRJ_SETTINGS);
    });
    script.Then([&](CWnd* sheet) {
        CWnd* page = ShowPage(sheet, 0);
        EXPECT_EQ(CString(L"3"), GetText(page, IDC_BZ_ZH));
        SetText(page, IDC_BZ_R, L"1");
        page = ShowPage(sheet, 1);
        page->CheckDlgButton(IDC_ZD_PINYIN, BST_UNCHECKED);
        Click(page, IDC_ZD_CUSTOM, BST_CHECKED);
        SetText(page, IDC_ZD_QD, L"起");
        page->CheckDlgButton(IDC_ZD_STYLE_K, BST_UNCHECKED);
        page->CheckDlgButton(IDC_ZD_STYLE_PLAIN, BST_CHECKED);
        page = ShowPage(sheet, 2);
        Click(page, IDC_SPX_BYRATE, BST_CHECKED);
        SetText(page, IDC_SPX_SHARE, L"0.6");
        TakePicture(sheet, L"settings_sheet.bmp", pictured);
    });
    script.ThenWhen(Taken(pictured), [&](CWnd* sheet) {
        Press(sheet, IDOK);
    });
    script.ThenWhen(BackTo(L"项目信息"), [&](CWnd* d) {
        ::SendMessageW(::GetDlgItem(d->m_hWnd, IDC_PRJ_STAGE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"技术设计"));
        Press(d, IDOK);
    });
    RunCommand(ID_PROJECT_SETTINGS);
    EXPECT_FALSE(script.StepsLeft());

    EXPECT_EQ(CString(L"1"), IniValue(L"BZPrecision", L"m_sPrjSetting0.m_iPrecision_R"));
    EXPECT_EQ(CString(L"起"), IniValue(L"ZDString", L"m_sPrjSetting1.m_SQD"));
    EXPECT_EQ(CString(L"2"), IniValue(L"ZDString", L"m_sPrjSetting1.m_iZHDimStyle"));
    EXPECT_EQ(CString(L"1"), IniValue(L"SPXLength", L"m_sPrjSetting2.m_bByLengthRate"));
    tkxProject reloaded;
    ASSERT_EQ(1, reloaded.Load(EpjPath()));
    EXPECT_EQ(1, reloaded.m_sPrjSetting0.m_iPrecision_R);
    EXPECT_EQ(2, reloaded.m_sPrjSetting1.m_iMode);
    EXPECT_EQ(CString(L"起"), reloaded.m_sPrjSetting1.m_SQD);
    EXPECT_EQ(CString(L"ZD"), reloaded.m_sPrjSetting1.m_SZD);
    EXPECT_EQ(0.6, reloaded.m_sPrjSetting2.m_rLengthRate);
    EXPECT_EQ(10.0, reloaded.m_sPrjSetting2.m_rLength);
    EXPECT_EQ(CString(L"技术设计"), reloaded.m_SStage);
    EXPECT_EQ(std::vector<CString>{ClFormat(L"修改项目[%s]的设置", kProjectName)}, Lines());

    // A save that fails is said to have failed.
    DialogScript again;
    again.Then([&](CWnd* d) {
        d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
        Press(d, IDOK);
    });
    {
        FailingWrites failing(ProjectFolder());
        RunCommand(ID_PROJECT_SETTINGS);
    }
    EXPECT_EQ(ClFormat(L"修改项目[%s]的设置失败!", kProjectName), Lines().back());
}

// Each of the ten custom labels lands in its own field of the project (its
// file and "Tavix3.ini") and comes back into its own field of the page.
TEST_F(ProjectDialogTest, EachCustomLabelKeepsItsOwnField)
{
    MessageBoxScript boxes;
    const struct {
        int edit;
        CString sPrjSetting1::*field;
        const wchar_t* key;
        const wchar_t* text;
    } labels[] = {
        {IDC_ZD_QD, &sPrjSetting1::m_SQD, L"m_sPrjSetting1.m_SQD", L"起点"},
        {IDC_ZD_ZD, &sPrjSetting1::m_SZD, L"m_sPrjSetting1.m_SZD", L"终点"},
        {IDC_ZD_ZY, &sPrjSetting1::m_SZY, L"m_sPrjSetting1.m_SZY", L"直圆"},
        {IDC_ZD_YZ, &sPrjSetting1::m_SYZ, L"m_sPrjSetting1.m_SYZ", L"圆直"},
        {IDC_ZD_ZH, &sPrjSetting1::m_SZH, L"m_sPrjSetting1.m_SZH", L"直缓"},
        {IDC_ZD_HZ, &sPrjSetting1::m_SHZ, L"m_sPrjSetting1.m_SHZ", L"缓直"},
        {IDC_ZD_HY, &sPrjSetting1::m_SHY, L"m_sPrjSetting1.m_SHY", L"缓圆"},
        {IDC_ZD_YH, &sPrjSetting1::m_SYH, L"m_sPrjSetting1.m_SYH", L"圆缓"},
        {IDC_ZD_GQ, &sPrjSetting1::m_SHH, L"m_sPrjSetting1.m_SHH", L"公切"},
        {IDC_ZD_ZZ, &sPrjSetting1::m_SZZ, L"m_sPrjSetting1.m_SZZ", L"转折"},
    };
    DialogScript script;
    script.Then([&](CWnd* d) {
        d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
        Press(d, IDC_PRJ_SETTINGS);
    });
    script.Then([&](CWnd* sheet) {
        CWnd* page = ShowPage(sheet, 1);
        page->CheckDlgButton(IDC_ZD_PINYIN, BST_UNCHECKED);
        Click(page, IDC_ZD_CUSTOM, BST_CHECKED);
        for (const auto& label : labels) SetText(page, label.edit, label.text);
        Press(sheet, IDOK);
    });
    script.ThenWhen(BackTo(L"项目信息"), [&](CWnd* d) { Press(d, IDOK); });
    RunCommand(ID_PROJECT_SETTINGS);
    ASSERT_FALSE(script.StepsLeft());

    tkxProject reloaded;
    ASSERT_EQ(1, reloaded.Load(EpjPath()));
    EXPECT_EQ(2, reloaded.m_sPrjSetting1.m_iMode);
    for (const auto& label : labels) {
        SCOPED_TRACE(Utf8(label.key));
        EXPECT_EQ(CString(label.text), theApp.m_CurProject.m_sPrjSetting1.*label.field);
        EXPECT_EQ(CString(label.text), reloaded.m_sPrjSetting1.*label.field);
        EXPECT_EQ(CString(label.text), IniValue(L"ZDString", label.key));
    }

    // Opened again, the page shows each label in its own field.
    DialogScript again;
    again.Then([&](CWnd* d) {
        d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
        Press(d, IDC_PRJ_SETTINGS);
    });
    again.Then([&](CWnd* sheet) {
        CWnd* page = ShowPage(sheet, 1);
        EXPECT_EQ(BST_CHECKED, page->IsDlgButtonChecked(IDC_ZD_CUSTOM));
        for (const auto& label : labels) EXPECT_EQ(CString(label.text), GetText(page, label.edit)) << Utf8(label.key);
        Press(sheet, IDCANCEL);
    });
    again.ThenWhen(BackTo(L"项目信息"), [&](CWnd* d) { Press(d, IDCANCEL); });
    RunCommand(ID_PROJECT_SETTINGS);
    EXPECT_FALSE(again.StepsLeft());
    EXPECT_TRUE(boxes.Shown().empty());
}

// The pages' own rules: spin steps stay within 0..5, "还原" restores the
// precisions, the label modes, and the slope-line fields shown by the check.
TEST_F(ProjectDialogTest, TheSheetsPagesKeepTheirRules)
{
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([&](CWnd* d) {
        d->CheckDlgButton(IDC_PRJ_SHORTCUT, BST_UNCHECKED);
        Press(d, IDC_PRJ_SETTINGS);
    });
    // Pictures of the first two pages (a picture is a step's last action: it
    // runs the loop).
    bool labels = false, precision = false;
    script.Then([&](CWnd* sheet) {
        ShowPage(sheet, 1);
        TakePicture(sheet, L"settings_sheet_labels.bmp", labels);
    });
    script.ThenWhen(Taken(labels), [&](CWnd* sheet) {
        ShowPage(sheet, 0);
        TakePicture(sheet, L"settings_sheet_precision.bmp", precision);
    });
    script.ThenWhen(Taken(precision), [&](CWnd* sheet) {
        CWnd* page = Page(sheet);
        SetText(page, IDC_BZ_ZH, L"5");
        Spin(page, IDC_BZ_SPIN_ZH, 1);
        EXPECT_EQ(CString(L"5"), GetText(page, IDC_BZ_ZH));
        Spin(page, IDC_BZ_SPIN_ZH, -1);
        EXPECT_EQ(CString(L"4"), GetText(page, IDC_BZ_ZH));
        SetText(page, IDC_BZ_AREA, L"0");
        Spin(page, IDC_BZ_SPIN_AREA, -1);
        EXPECT_EQ(CString(L"0"), GetText(page, IDC_BZ_AREA));
        Spin(page, IDC_BZ_SPIN_AREA, 1);
        EXPECT_EQ(CString(L"1"), GetText(page, IDC_BZ_AREA));
        page->CheckDlgButton(IDC_BZ_ZERO, BST_UNCHECKED);
        Press(page, IDC_BZ_RESTORE);
    });
    script.Then([&](CWnd* sheet) {
        CWnd* page = Page(sheet);
        EXPECT_EQ(CString(L"3"), GetText(page, IDC_BZ_ZH));
        EXPECT_EQ(CString(L"0"), GetText(page, IDC_BZ_AREA));
        EXPECT_EQ(BST_CHECKED, page->IsDlgButtonChecked(IDC_BZ_ZERO));
        // A precision beyond 5 keeps the user on the page.
        SetText(page, IDC_BZ_L, L"6");
        sheet->SendMessage(PSM_SETCURSEL, 1);
        EXPECT_EQ(page, Page(sheet));
        EXPECT_EQ(1u, boxes.Shown().size());
        SetText(page, IDC_BZ_L, L"3");

        // Labels: English and back restores the pinyin texts, custom keeps
        // what the fields hold and lets them be edited.
        page = ShowPage(sheet, 1);
        EXPECT_TRUE(page->GetDlgItem(IDC_ZD_ZH)->GetStyle() & ES_READONLY);
        SetText(page, IDC_ZD_ZH, L"xx");
        page->CheckDlgButton(IDC_ZD_PINYIN, BST_UNCHECKED);
        Click(page, IDC_ZD_ENGLISH, BST_CHECKED);
        EXPECT_EQ(CString(L"TS"), GetText(page, IDC_ZD_ZH));
        EXPECT_EQ(CString(L"PCC"), GetText(page, IDC_ZD_GQ));
        page->CheckDlgButton(IDC_ZD_ENGLISH, BST_UNCHECKED);
        Click(page, IDC_ZD_PINYIN, BST_CHECKED);
        EXPECT_EQ(CString(L"ZH"), GetText(page, IDC_ZD_ZH));
        page->CheckDlgButton(IDC_ZD_PINYIN, BST_UNCHECKED);
        Click(page, IDC_ZD_CUSTOM, BST_CHECKED);
        EXPECT_FALSE(page->GetDlgItem(IDC_ZD_ZH)->GetStyle() & ES_READONLY);
        EXPECT_EQ(CString(L"ZH"), GetText(page, IDC_ZD_ZH));

        // Slope lines: the length or its share, as the check says.
        page = ShowPage(sheet, 2);
        EXPECT_TRUE(Visible(page, IDC_SPX_LENGTH));
        EXPECT_FALSE(Visible(page, IDC_SPX_SHARE));
        EXPECT_EQ(CString(L"长示坡线 = "), GetText(page, IDC_SPX_LENGTH_LABEL));
        EXPECT_EQ(CString(L"米"), GetText(page, IDC_SPX_LENGTH_UNIT));
        SetText(page, IDC_SPX_LENGTH, L"12");
        Click(page, IDC_SPX_BYRATE, BST_CHECKED);
        EXPECT_FALSE(Visible(page, IDC_SPX_LENGTH));
        EXPECT_TRUE(Visible(page, IDC_SPX_SHARE));
        EXPECT_EQ(CString(L"长示坡线/坡长:"), GetText(page, IDC_SPX_LENGTH_LABEL));
        EXPECT_EQ(CString(L""), GetText(page, IDC_SPX_LENGTH_UNIT));
        EXPECT_EQ(CString(L"0.75"), GetText(page, IDC_SPX_SHARE));
        Click(page, IDC_SPX_BYRATE, BST_UNCHECKED);
        EXPECT_EQ(CString(L"12"), GetText(page, IDC_SPX_LENGTH)); // what was typed stays
        // Values out of range keep the sheet open.
        SetText(page, IDC_SPX_DISTANCE, L"0.05");
        Press(sheet, IDOK);
    });
    script.Then([&](CWnd* sheet) {
        EXPECT_EQ(2u, boxes.Shown().size());
        CWnd* page = Page(sheet);
        SetText(page, IDC_SPX_DISTANCE, L"2");
        SetText(page, IDC_SPX_RATIO, L"11");
        Press(sheet, IDOK);
    });
    script.Then([&](CWnd* sheet) {
        EXPECT_EQ(3u, boxes.Shown().size());
        Press(sheet, IDCANCEL);
    });
    script.ThenWhen(BackTo(L"项目信息"), [&](CWnd* d) { Press(d, IDCANCEL); });
    RunCommand(ID_PROJECT_SETTINGS);
    EXPECT_FALSE(script.StepsLeft());
    // Cancelled: nothing was written.
    EXPECT_FALSE(FileExists(SettingsIni()));
}

// Open mode lists the registered projects; a row shows its project, OK opens
// it, and the frame hears of the change.
TEST_F(ProjectDialogTest, ARegisteredProjectIsOpened)
{
    MessageBoxScript boxes;
    const CString other = WriteOtherProject(L"第二 项目", L"二号线");
    tkxProject second;
    ASSERT_EQ(1, second.Load(other));
    ASSERT_EQ(1, tkx_AddProject(&second, nullptr));
    ASSERT_EQ(1, tkx_OpenProject(kProjectName, nullptr, nullptr));

    bool pictured = false;
    DialogScript script;
    script.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"打开项目"), d->GetWindowText());
        EXPECT_EQ(CString(L"打开"), GetText(d, IDOK));
        EXPECT_FALSE(Visible(d, IDC_PRJ_SETTINGS));
        EXPECT_FALSE(Visible(d, IDC_PRJ_SHORTCUT));
        EXPECT_FALSE(d->GetDlgItem(IDC_PRJ_STAGE)->IsWindowEnabled());
        auto* list = static_cast<CListCtrl*>(d->GetDlgItem(IDC_PRJ_LIST));
        ASSERT_EQ(2, list->GetItemCount());
        EXPECT_EQ(CString(L"第二 项目"), list->GetItemText(1, 1));
        EXPECT_EQ(0, static_cast<int>(list->SendMessage(LVM_GETSELECTIONMARK)));
        // A click on the second row shows that project.
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = list->m_hWnd;
        click.hdr.idFrom = IDC_PRJ_LIST;
        click.hdr.code = NM_CLICK;
        click.iItem = 1;
        d->SendMessage(WM_NOTIFY, IDC_PRJ_LIST, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(CString(L"第二 项目"), GetText(d, IDC_PRJ_NAME));
        EXPECT_EQ(CString(L"2021年1月2日"), GetText(d, IDC_PRJ_TIME));
        TakePicture(d, L"project_dialog_open.bmp", pictured);
    });
    script.ThenWhen(Taken(pictured), [&](CWnd* d) {
        Press(d, IDOK);
    });
    RunCommand(ID_PROJECT_OPEN);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(CString(L"第二 项目"), theApp.m_CurProject.m_SName);
    EXPECT_EQ(CString(L"第二 项目"), tkx_GetWorkSpace().m_SPrjName);
    EXPECT_EQ(CString(L"项目名称: 第二 项目"), projectTree->GetTreeCtrl().GetItemText(projectTree->ProjectItem()));
    EXPECT_EQ(CString(L"道路名称: 二号线"), fileTree->GetTreeCtrl().GetItemText(fileTree->RootItem()));
    EXPECT_EQ(std::vector<CString>{L"打开项目: 第二 项目"}, Lines());

    // A registered project whose file went: OK stays, with no message of
    // the dialog's own.
    ASSERT_TRUE(DeleteFileW(EpjPath()));
    DialogScript failing;
    failing.Then([&](CWnd* d) { Press(d, IDOK); });
    failing.Then([&](CWnd* d) {
        ASSERT_EQ(1u, boxes.Shown().size()); // the library's own
        EXPECT_EQ(0, boxes.LastText().Find(L"打开TAVIX项目文件时失败!"));
        Press(d, IDCANCEL);
    });
    theApp.m_CurProject.m_SName = kProjectName;
    RunCommand(ID_PROJECT_OPEN);
    EXPECT_FALSE(failing.StepsLeft());
    EXPECT_EQ(CString(kProjectName), theApp.m_CurProject.m_SName);
    EXPECT_EQ(CString(L"第二 项目"), tkx_GetWorkSpace().m_SPrjName);
    RestoreWorld();
}
