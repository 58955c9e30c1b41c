// The library dialog (create, open, modify) and the template-name dialog:
// what each mode shows and allows, the checks of names and folders, and a
// click and a double click on a registered library.
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/templates/Dialog_TemplateBase.h"
#include "brisko/templates/Dialog_Template_Copy.h"
#include "corvane/project/TavixInterface.h"
#include "templates_world.h"

using namespace templates_test;
using namespace wintest;

namespace {

class NameDialogTest : public LibraryTest
{
protected:
    void SetUp() override
    {
        StartProgram();
        LibraryTest::SetUp();
    }
};

// The template-name dialog with a new name typed and OK pressed: IDOK, or
// the message it showed (and then IDCANCEL).
struct Answer {
    int result;
    CString message;
};

Answer RunNameDialog(int rename, const CString& oldName, const CString& newName)
{
    CDialog_Template_Copy dialog(theApp.m_pMainWnd);
    dialog.m_bRename = rename;
    dialog.m_SOldName = dialog.m_SNewName = oldName;
    MessageBoxScript boxes;
    CString title;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            title = d->GetWindowText();
            if (!rename) DialogImage(d).SaveBmp(L"name_dialog.bmp");
            SetText(d, IDC_TCOPY_NEW, newName);
            Press(d, IDOK);
        })
        .Then([](CWnd* d) { Press(d, IDCANCEL); });
    Answer answer{static_cast<int>(dialog.DoModal()), boxes.LastText()};
    EXPECT_EQ(CString(rename ? L"重命名模板: [输入新模板名称]" : L"另存为新模板: [输入新模板名称]"), title);
    if (answer.result == IDOK) EXPECT_EQ(newName, dialog.m_SNewName);
    return answer;
}

} // namespace

TEST_F(NameDialogTest, TemplateNamesAreCheckedBeforeOk)
{
    WriteLibraryFile(L"已有.TYP", L"1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\n");
    theApp.m_CurTBase.m_STemplates.Add(L"已有.TYP");
    theApp.m_CurTBase.m_STemplates.Add(L"只有记录.TYP");
    const CString folder = LibraryFolder();
    const CString badChars = L"模板文件名不能包含以下字符!\n\n\\ / : * ? \" < > |";
    struct Case {
        int rename;
        CString oldName, newName, message;
    };
    const Case cases[] = {
        {0, L"已有.TYP", L"已有.TYP", L"另存为新模板时，文件名不能相同。"},
        {1, folder + L"\\已有.TYP", folder + L"\\已有.TYP", L"另存为新模板时，文件名不能相同。"},
        {0, L"已有.TYP", L"新.TYP", L""},
        {0, L"已有.TYP", L"..\\新.TYP", badChars},
        {0, L"已有.TYP", L"子/新.TYP", badChars},
        {0, L"已有.TYP", L"C:新.TYP", badChars},
        {0, L"已有.TYP", L"新*.TYP", badChars},
        {0, L"已有.TYP", L"新?.TYP", badChars},
        {0, L"已有.TYP", L"新\".TYP", badChars},
        {0, L"已有.TYP", L"<新>.TYP", badChars},
        {0, L"已有.TYP", L"新|.TYP", badChars},
        {0, L"已有.TYP", L"  ", L"模板文件名不能为空!"},
        {0, L"新.TYP", L"已有.TYP", ClFormat(L"文件%s\\已有.TYP已经存在，\n\n请重新输入文件名!", folder.GetString())},
        {0, L"已有.TYP", L"只有记录.TYP", L"模板文件只有记录.TYP已经包含在当前模板库中!"},
        {1, folder + L"\\已有.TYP", folder + L"\\改名.TYP", L""},
        {1, folder + L"\\已有.TYP", L"改名.TYP", L""},
        {1, folder + L"\\已有.TYP", folder + L"\\只有记录.TYP", ClFormat(L"模板文件%s\\只有记录.TYP已经包含在当前模板库中!",
                                                                       folder.GetString())},
        {1, folder + L"\\已有.TYP", OtherFolder() + L"\\改名.TYP",
         ClFormat(L"模板文件必须位于当前模板库的路径<%s>中!", folder.GetString())},
        {1, folder + L"\\已有.TYP", folder + L"\\改:名.TYP", badChars},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.newName));
        const Answer answer = RunNameDialog(c.rename, c.oldName, c.newName);
        EXPECT_EQ(c.message.IsEmpty() ? IDOK : IDCANCEL, answer.result);
        EXPECT_EQ(c.message, answer.message);
    }
}

namespace {

// The library dialog as the tree opens it; `steps` run on it once shown.
int RunLibraryDialog(CDialog_TemplateBase& dialog, const std::function<void(CDialog_TemplateBase*)>& step)
{
    DialogScript script;
    script.Then([&](CWnd* d) { step(static_cast<CDialog_TemplateBase*>(d)); }).Then([](CWnd* d) { Press(d, IDCANCEL); });
    return static_cast<int>(dialog.DoModal());
}

bool ReadOnly(CWnd* dialog, int id) { return (dialog->GetDlgItem(id)->GetStyle() & ES_READONLY) != 0; }

} // namespace

TEST_F(NameDialogTest, EachModeShowsWhatItAllows)
{
    tkxTemplateBase other;
    other.m_SName = L"其他库";
    other.m_SPath = OtherFolder();
    ASSERT_EQ(1, tkx_AddTBase(&other, nullptr));
    ASSERT_EQ(1, tkx_OpenTBase(kLibraryName, &theApp.m_CurTBase, nullptr));

    struct Seen {
        CString title, ok, time;
        bool nameReadOnly, folderReadOnly, descriptionReadOnly, timeReadOnly, browse;
        std::vector<CString> rows;
        std::vector<int> images;
        int mark;
    };
    auto look = [](CDialog_TemplateBase* d) {
        Seen seen;
        seen.title = d->GetWindowText();
        seen.ok = GetText(d, IDOK);
        seen.time = GetText(d, IDC_TBASE_TIME);
        seen.nameReadOnly = ReadOnly(d, IDC_TBASE_NAME);
        seen.folderReadOnly = ReadOnly(d, IDC_TBASE_FOLDER);
        seen.descriptionReadOnly = ReadOnly(d, IDC_TBASE_DESCRIPTION);
        seen.timeReadOnly = ReadOnly(d, IDC_TBASE_TIME);
        seen.browse = d->GetDlgItem(IDC_TBASE_BROWSE)->IsWindowEnabled() != 0;
        for (int row = 0; row < d->m_wndList.GetItemCount(); ++row) {
            seen.rows.push_back(d->m_wndList.GetItemText(row, 0) + L" " + d->m_wndList.GetItemText(row, 1));
            LVITEMW item = {LVIF_IMAGE, row};
            d->m_wndList.SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            seen.images.push_back(item.iImage);
        }
        seen.mark = static_cast<int>(d->m_wndList.SendMessage(LVM_GETSELECTIONMARK, 0, 0));
        return seen;
    };
    const CTime today = CTime::GetCurrentTime();
    const CString date = ClFormat(L"%d年%d月%d日", today.GetYear(), today.GetMonth(), today.GetDay());
    struct Case {
        short mode;
        const wchar_t *title, *ok;
        bool name, folder, description, time, browse;
    };
    const Case cases[] = {
        {0, L"创建模板库", L"创建", false, false, false, false, true},
        {1, L"打开模板库", L"打开", true, true, true, true, false},
        {2, L"模板库信息", L"保存", false, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CDialog_TemplateBase dialog(theApp.m_pMainWnd);
        dialog.m_nMode = c.mode;
        dialog.m_SName = kLibraryName;
        dialog.m_SPath = LibraryFolder();
        dialog.m_SCreateTime = L"2024年5月6日";
        Seen seen;
        RunLibraryDialog(dialog, [&](CDialog_TemplateBase* d) {
            seen = look(d);
            DialogImage(d).SaveBmp(ClFormat(L"library_dialog_%d.bmp", c.mode));
        });
        EXPECT_EQ(CString(c.title), seen.title);
        EXPECT_EQ(CString(c.ok), seen.ok);
        EXPECT_EQ(c.mode == 0 ? date : CString(L"2024年5月6日"), seen.time);
        EXPECT_EQ(c.name, seen.nameReadOnly);
        EXPECT_EQ(c.folder, seen.folderReadOnly);
        EXPECT_EQ(c.description, seen.descriptionReadOnly);
        EXPECT_EQ(c.time, seen.timeReadOnly);
        EXPECT_EQ(c.browse, seen.browse);
        EXPECT_EQ((std::vector<CString>{CString(L"1 ") + kLibraryName, L"2 其他库"}), seen.rows);
        EXPECT_EQ((std::vector<int>{0, 1}), seen.images); // the current library is marked
        EXPECT_EQ(0, seen.mark);
    }
}

TEST_F(NameDialogTest, LibraryNamesAndFoldersAreChecked)
{
    const CString badChars = L"模板库名称不能包含以下字符!\n\n\\ / : * ? \" < > |";
    struct Case {
        const wchar_t *name, *folder;
        CString message;
    };
    const Case cases[] = {
        {L"  ", L"C:\\库", L"模板库名称不能为空!"},
        {L"新.库", L"C:\\库", badChars},
        {L"新:库", L"C:\\库", badChars},
        {L"新\"库", L"C:\\库", badChars},
        {L"新/库", L"C:\\库", badChars},
        {L"新库", L"  ", L"模板库路径不能为空!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        CDialog_TemplateBase dialog(theApp.m_pMainWnd);
        dialog.m_nMode = CDialog_TemplateBase::kModify;
        MessageBoxScript boxes;
        const int result = RunLibraryDialog(dialog, [&](CDialog_TemplateBase* d) {
            SetText(d, IDC_TBASE_NAME, c.name);
            SetText(d, IDC_TBASE_FOLDER, c.folder);
            Press(d, IDOK);
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(c.message, boxes.LastText());
        ASSERT_FALSE(boxes.Shown().empty());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Shown().back().type & MB_ICONMASK);
    }

    // Creating: the folder follows the name on the drive of the folder
    // text, and a folder that is not there is made after asking.
    CDialog_TemplateBase dialog(theApp.m_pMainWnd);
    dialog.m_nMode = CDialog_TemplateBase::kCreate;
    dialog.m_SPath = L"D:\\旧\\库";
    CString followed;
    const CString made = OtherFolder() + L"\\新建的库";
    MessageBoxScript boxes(IDYES);
    const int result = RunLibraryDialog(dialog, [&](CDialog_TemplateBase* d) {
        SetText(d, IDC_TBASE_NAME, L"新库");
        followed = GetText(d, IDC_TBASE_FOLDER);
        SetText(d, IDC_TBASE_FOLDER, made);
        Press(d, IDOK);
    });
    EXPECT_EQ(CString(L"D:\\新库"), followed);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(L"新库"), dialog.m_SName);
    EXPECT_EQ(made, dialog.m_SPath);
    EXPECT_TRUE(FileExists(made));
}

// In open mode a click on a row shows that library, a double click opens
// it; a library whose file is gone is not opened.
TEST_F(NameDialogTest, ARowIsShownByAClickAndOpenedByADoubleClick)
{
    tkxTemplateBase other;
    other.m_SName = L"其他库";
    other.m_SPath = OtherFolder();
    other.m_SDescription = L"另一个库";
    other.m_SCreateDate = L"2023年1月2日";
    ASSERT_EQ(1, tkx_AddTBase(&other, nullptr));
    ASSERT_EQ(1, tkx_OpenTBase(kLibraryName, &theApp.m_CurTBase, nullptr));

    CDialog_TemplateBase dialog(theApp.m_pMainWnd);
    dialog.m_nMode = CDialog_TemplateBase::kOpen;
    dialog.m_SName = kLibraryName;
    CString shownName, shownFolder, shownDescription;
    const int result = RunLibraryDialog(dialog, [&](CDialog_TemplateBase* d) {
        d->ShowRow(1);
        shownName = GetText(d, IDC_TBASE_NAME);
        shownFolder = GetText(d, IDC_TBASE_FOLDER);
        shownDescription = GetText(d, IDC_TBASE_DESCRIPTION);
        d->OpenRow(1);
    });
    EXPECT_EQ(CString(L"其他库"), shownName);
    EXPECT_EQ(OtherFolder(), shownFolder);
    EXPECT_EQ(CString(L"另一个库"), shownDescription);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(CString(L"其他库"), theApp.m_CurTBase.m_SName);
    EXPECT_EQ(CString(L"其他库"), tkx_GetWorkSpace().m_STBName);

    ASSERT_TRUE(DeleteFileW(LibraryFolder() + L"\\" + kLibraryName + L".TPB"));
    CDialog_TemplateBase again(theApp.m_pMainWnd);
    again.m_nMode = CDialog_TemplateBase::kOpen;
    MessageBoxScript boxes;
    EXPECT_EQ(IDCANCEL, RunLibraryDialog(again, [](CDialog_TemplateBase* d) { d->OpenRow(0); }));
    EXPECT_EQ(ClFormat(L"打开模板库<%s.TPB>失败!", kLibraryName), boxes.LastText());
    EXPECT_EQ(CString(L"其他库"), theApp.m_CurTBase.m_SName);
}
