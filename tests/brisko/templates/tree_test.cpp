// The template-library page of the project manager: what it shows, its
// menus, the preview it feeds, and its commands on libraries (new, open,
// modify, import, delete, open folder) and templates (new, edit, import,
// save as, rename, delete), each answered through its dialogs.
#include "brisko/BriskoResource.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Utility.h"
#include "brisko/templates/Dialog_TemplateBase.h"
#include "brisko/templates/Dialog_TemplateEdit.h"
#include "brisko/templates/SlopePicture.h"
#include "brisko/templates/TreeViewTemplate.h"
#include "brisko/templates/TvTemplate.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"
#include "templates_world.h"
#include <string>

using namespace templates_test;
using namespace wintest;

namespace {

class TreeTest : public LibraryTest
{
protected:
    void SetUp() override
    {
        StartProgram();
        LibraryTest::SetUp();
        frame = theApp.MainFrame();
        ASSERT_NE(nullptr, frame);
        tree = static_cast<CTreeViewTemplate*>(frame->m_wndProjectBar.GetView(RUNTIME_CLASS(CTreeViewTemplate)));
        ASSERT_NE(nullptr, tree);
        tree->RebuildTree();
    }
    void TearDown() override { DeleteRegTree(HKEY_CURRENT_USER, L"SOFTWARE\\TavixSuite\\TavixFileDialog"); }

    // The items of the tree, depth first: "text|image|selected image",
    // children indented by two blanks.
    std::vector<CString> Items() const
    {
        std::vector<CString> items;
        CTreeCtrl& control = tree->GetTreeCtrl();
        std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
            for (; item; item = control.GetNextSiblingItem(item)) {
                int image = -1, selected = -1;
                control.GetItemImage(item, image, selected);
                items.push_back(CString(L' ', depth * 2) + ClFormat(L"%s|%d|%d", control.GetItemText(item).GetString(),
                                                                     image, selected));
                walk(control.GetChildItem(item), depth + 1);
            }
        };
        walk(control.GetRootItem(), 0);
        return items;
    }
    HTREEITEM TemplateItem(int index) const
    {
        CTreeCtrl& control = tree->GetTreeCtrl();
        HTREEITEM item = control.GetChildItem(tree->m_hRecords);
        for (int i = 0; i < index && item; ++i) item = control.GetNextSiblingItem(item);
        return item;
    }
    static std::vector<UINT> MenuIds(CMenu* menu)
    {
        std::vector<UINT> ids;
        for (int i = 0; i < menu->GetMenuItemCount(); ++i) ids.push_back(menu->GetMenuItemID(i));
        return ids;
    }
    // The template as the tree shows it, from a file of one fill slope.
    void Template(const wchar_t* name)
    {
        CSlopeLineArray lines;
        lines.Add(MakeLine(0, 1.5, 0, 0, 3.0));
        AddTemplate(name, lines);
        tree->RebuildTree();
    }
    static CString LastInfo()
    {
        const std::vector<CString> lines = InfoLines();
        return lines.empty() ? CString() : lines.back();
    }
    // A library file of its own in a plain folder (typed into the platform's
    // file dialog, which here does not take typed Chinese paths).
    static CString LibraryFile(const CString& folder, const wchar_t* name)
    {
        CreateDirectoryW(folder, nullptr);
        tkxTemplateBase library;
        library.m_SName = name;
        library.m_SPath = folder;
        library.m_SDescription = L"导入的库";
        EXPECT_EQ(1, library.Save());
        return folder + L"\\" + name + L".TPB";
    }
    static void Type(CWnd* platform, const CString& path)
    {
        ::SetDlgItemTextW(platform->GetSafeHwnd(), 1148, path);
        Press(platform, IDOK);
    }
    static void ExpectCurrent(const CString& name)
    {
        EXPECT_EQ(name, theApp.m_CurTBase.m_SName);
        EXPECT_EQ(name, tkx_GetWorkSpace().m_STBName);
    }

    CMainFrame* frame = nullptr;
    CTreeViewTemplate* tree = nullptr;
};

} // namespace

TEST_F(TreeTest, ShowsTheLibraryWithItsTemplates)
{
    Template(L"填方.TYP");
    theApp.m_CurTBase.m_STemplates.Add(L"缺失.TYP");
    tree->RebuildTree();
    const CString folder = LibraryFolder();
    EXPECT_EQ((std::vector<CString>{
                  ClFormat(L"模板库名称: %s|0|1", kLibraryName),
                  ClFormat(L"  模板库路径: %s|2|3", folder.GetString()),
                  L"  模板库描述: 测试用的边坡模板库|4|5",
                  L"  创建时间: 2024年5月6日|6|7",
                  L"  模板记录:<包含2个模板>|8|9",
                  L"    模板1: 填方.TYP|8|9",
                  L"    模板2: 缺失.TYP|10|11", // the file is missing
              }),
              Items());
    EXPECT_TRUE(tree->GetTreeCtrl().GetItemState(tree->m_hRecords, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(1, tree->TemplateIndexOf(TemplateItem(1)));
    EXPECT_EQ(-1, tree->TemplateIndexOf(tree->m_hRecords));

    // A library without name or folder shows nothing.
    theApp.m_CurTBase.m_SName.Empty();
    tree->RebuildTree();
    EXPECT_TRUE(Items().empty());
}

TEST_F(TreeTest, MenusByWhatWasClicked)
{
    Template(L"填方.TYP");
    EXPECT_EQ((std::vector<UINT>{40054, 40052, 0, 40057, 40055, 40065, 0, 40056, 40053, 0, 40059, 40049}),
              MenuIds(tree->BuildMenu(nullptr)));
    EXPECT_EQ(MenuIds(tree->BuildMenu(nullptr)), MenuIds(tree->BuildMenu(tree->m_hRoot)));
    EXPECT_EQ((std::vector<UINT>{40051, 40059, 40049, 40050, 40058, 40048, 0, 40054, 40052, 40057, 40055, 40065, 40056,
                                 40053}),
              MenuIds(tree->BuildMenu(TemplateItem(0))));
    EXPECT_EQ(0, tree->m_iTemplateHit);
    CString text;
    tree->m_pMenu->GetMenuString(4, text, MF_BYPOSITION);
    EXPECT_EQ(CString(L"重命名模板"), text);

    // Without a library: only what makes or brings one.
    theApp.m_CurTBase.m_SPath.Empty();
    tree->RebuildTree();
    EXPECT_EQ((std::vector<UINT>{40054, 40052, 0, 40057}), MenuIds(tree->BuildMenu(nullptr)));
}

// The demo library's templates (made by demo_project.exe before this
// program runs) each show whole on the information page, their marks and
// labels too, as far as the low view holds them: a column of marks under a
// line may be higher than the view at any scale, and then the lines stay in
// view at the least scale (information_page_demo_<n>.bmp, for a person to
// look at).
TEST_F(TreeTest, TheDemoTemplatesShowWholeOnTheInformationPage)
{
    const CString demo = BinFolder() + L"\\..\\demo\\示范边坡模板库";
    const std::vector<CString> files = FilesIn(demo);
    ASSERT_FALSE(files.empty()) << "the demo is made by demo_project.exe";
    theApp.m_CurTBase.m_STemplates.RemoveAll();
    for (const CString& name : files) {
        ASSERT_TRUE(CopyFileW(demo + L"\\" + name, LibraryFolder() + L"\\" + name, FALSE));
        if (name.Right(4).CompareNoCase(L".TYP") == 0) theApp.m_CurTBase.m_STemplates.Add(name);
    }
    tree->RebuildTree();
    auto* page = static_cast<CPPage_InfoBar*>(frame->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar)));
    ASSERT_NE(nullptr, page);
    CSlopePicture& picture = page->m_wndSlope;
    for (INT_PTR t = 0; t < theApp.m_CurTBase.m_STemplates.GetSize(); ++t) {
        SCOPED_TRACE(Utf8(theApp.m_CurTBase.m_STemplates[t]));
        tree->PreviewTemplate(static_cast<int>(t));
        PumpUntilIdle();
        ASSERT_TRUE(picture.IsWindowVisible());
        ASSERT_GT(SlopePreviewLines.GetSize(), 0);
        CRect client;
        picture.GetClientRect(&client);
        const CRect below(client.left, client.top + 20, client.right, client.bottom);
        for (INT_PTR i = 0; i < SlopePreviewLines.GetSize(); ++i)
            for (const sSketchPoint& end : {SlopePreviewLines[i].m_ptStart, SlopePreviewLines[i].m_ptEnd}) {
                const CPoint at = picture.ToScreen(end.x, end.y);
                EXPECT_TRUE(below.PtInRect(at)) << "line " << i << " at " << at.x << "," << at.y;
            }
        const CRect drawn = picture.DrawnExtent();
        const std::string box = std::to_string(drawn.left) + "," + std::to_string(drawn.top) + " - " +
                                std::to_string(drawn.right) + "," + std::to_string(drawn.bottom);
        EXPECT_GE(drawn.left, below.left) << box;
        EXPECT_LE(drawn.right, below.right) << box;
        if (drawn.Height() <= below.Height()) {
            EXPECT_GE(drawn.top, below.top) << box;
            EXPECT_LE(drawn.bottom, below.bottom) << box;
        } else {
            EXPECT_EQ(static_cast<int>(CSlopePicture::kMinScale), picture.m_iScale) << box;
        }
        DialogImage(page).SaveBmp(ClFormat(L"information_page_demo_%d.bmp", static_cast<int>(t)));
    }
}

TEST_F(TreeTest, AClickedTemplateFeedsThePreview)
{
    Template(L"填方.TYP");
    WriteLibraryFile(L"空.TYP", L"// 还没有边坡线\n");
    theApp.m_CurTBase.m_STemplates.Add(L"空.TYP");
    theApp.m_CurTBase.m_STemplates.Add(L"缺失.TYP");
    tree->RebuildTree();
    tree->PreviewTemplate(0);
    ASSERT_EQ(1, SlopePreviewLines.GetSize());
    EXPECT_DOUBLE_EQ(1.5, SlopePreviewLines[0].m_rFixedValue);
    EXPECT_EQ(LibraryFolder() + L"\\填方.TYP", SlopePreviewPath);
    // The information page shows it.
    auto* page = static_cast<CPPage_InfoBar*>(frame->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar)));
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(1, page->Mode());
    EXPECT_EQ(&SlopePreviewLines, page->m_wndSlope.m_pSlopeLines);
    EXPECT_EQ(SlopePreviewPath, page->m_wndSlope.m_STemplatePath);
    EXPECT_TRUE(page->m_wndSlope.IsWindowVisible());
    DialogImage(page).SaveBmp(L"information_page_preview.bmp");

    tree->PreviewTemplate(1);
    EXPECT_EQ(CString(L"读取文件[空.TYP]内容为空!."), LastInfo());
    tree->PreviewTemplate(2);
    EXPECT_EQ(CString(L"读取文件[缺失.TYP]错误!\n文件未找到."), LastInfo());
    EXPECT_EQ(LibraryFolder() + L"\\填方.TYP", SlopePreviewPath);
}

TEST_F(TreeTest, ANewLibraryBecomesCurrent)
{
    const CString folder = OtherFolder() + L"\\新库";
    DialogScript script;
    script.Then([&](CWnd* d) {
        SetText(d, IDC_TBASE_NAME, L"新库");
        SetText(d, IDC_TBASE_FOLDER, folder);
        SetText(d, IDC_TBASE_DESCRIPTION, L"新的边坡模板库");
        Press(d, IDOK);
    });
    MessageBoxScript boxes(IDYES); // the folder is made
    tree->SendMessage(WM_COMMAND, ID_TBASE_NEW, 0);
    ExpectCurrent(L"新库");
    EXPECT_EQ(folder, tkx_GetTBasePath(L"新库"));
    EXPECT_TRUE(FileExists(folder + L"\\新库.TPB"));
    EXPECT_EQ(CString(L"新建模板库:新库"), LastInfo());
    EXPECT_EQ(CString(L"模板库名称: 新库|0|1"), Items()[0]);
    EXPECT_EQ(CString(L"  模板库描述: 新的边坡模板库|4|5"), Items()[2]);
}

// A new library never overwrites a library file, nor takes a name the
// suite knows; the current library stays as it was.
TEST_F(TreeTest, ANewLibraryLeavesKnownLibrariesAlone)
{
    Template(L"填方.TYP");
    const CString seededFile = LibraryFolder() + L"\\" + kLibraryName + L".TPB";
    const std::string seeded = ReadBytes(seededFile);
    const CString otherFile = OtherFolder() + L"\\旧库.TPB";
    tkxTemplateBase old;
    old.m_SName = L"旧库";
    old.m_SPath = OtherFolder();
    old.m_STemplates.Add(L"旧模板.TYP");
    ASSERT_EQ(1, old.Save());
    const std::string oldBytes = ReadBytes(otherFile);
    struct Case {
        const wchar_t* name;
        CString folder, message;
    };
    const Case cases[] = {
        // An unregistered library's file in that folder.
        {L"旧库", OtherFolder(), ClFormat(L"模板库文件<%s>已经存在, 可以使用<导入模板库>命令打开它!", otherFile.GetString())},
        // The current library's own file.
        {kLibraryName, LibraryFolder(),
         ClFormat(L"模板库文件<%s>已经存在, 可以使用<导入模板库>命令打开它!", seededFile.GetString())},
        // A registered name in another folder: the suite refuses it.
        {kLibraryName, OtherFolder() + L"\\别处", L"已包含同名模板库, 无法添加新模板库!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.folder));
        CreateDirectoryW(c.folder, nullptr);
        DialogScript script;
        script.Then([&](CWnd* d) {
            SetText(d, IDC_TBASE_NAME, c.name);
            SetText(d, IDC_TBASE_FOLDER, c.folder);
            Press(d, IDOK);
        });
        MessageBoxScript boxes;
        tree->OnNewLibrary();
        EXPECT_EQ(c.message, boxes.LastText());
        EXPECT_EQ(ClFormat(L"新建模板库[%s]失败!", c.name), LastInfo());
        ExpectCurrent(kLibraryName);
        ASSERT_EQ(1, theApp.m_CurTBase.m_STemplates.GetSize());
        EXPECT_EQ(seeded, ReadBytes(seededFile));
        EXPECT_EQ(oldBytes, ReadBytes(otherFile));
    }
    EXPECT_FALSE(FileExists(OtherFolder() + L"\\别处\\" + kLibraryName + L".TPB"));
    CStringArray names;
    tkx_GetAllTBNames(&names);
    EXPECT_EQ(1, names.GetSize());
}

TEST_F(TreeTest, OpeningModifyingAndDeletingLibraries)
{
    tkxTemplateBase other;
    other.m_SName = L"其他库";
    other.m_SPath = OtherFolder();
    ASSERT_EQ(1, tkx_AddTBase(&other, nullptr));
    ASSERT_EQ(1, tkx_OpenTBase(kLibraryName, &theApp.m_CurTBase, nullptr));
    tree->RebuildTree();

    // Open: a double click on the other library's row.
    DialogScript open;
    open.Then([](CWnd* d) { static_cast<CDialog_TemplateBase*>(d)->OpenRow(1); });
    tree->OnOpenLibrary();
    ExpectCurrent(L"其他库");
    EXPECT_EQ(CString(L"设置当前模板库:其他库"), LastInfo());
    EXPECT_EQ(CString(L"模板库名称: 其他库|0|1"), Items()[0]);

    // Modify: a new name renames the library file; the texts are stored.
    DialogScript modify;
    modify.Then([](CWnd* d) {
        SetText(d, IDC_TBASE_NAME, L"改名库");
        SetText(d, IDC_TBASE_DESCRIPTION, L"改过的描述");
        Press(d, IDOK);
    });
    tree->OnModifyLibrary();
    ExpectCurrent(L"改名库");
    EXPECT_EQ(CString(L"修改模板库[改名库]信息."), LastInfo());
    EXPECT_TRUE(FileExists(OtherFolder() + L"\\改名库.TPB"));
    EXPECT_FALSE(FileExists(OtherFolder() + L"\\其他库.TPB"));
    tkxTemplateBase reread;
    ASSERT_EQ(1, reread.Load(OtherFolder() + L"\\改名库.TPB"));
    EXPECT_EQ(CString(L"改过的描述"), reread.m_SDescription);

    // Delete: No keeps it; Yes unregisters it and leaves its files.
    {
        MessageBoxScript boxes(IDNO);
        tree->OnDeleteLibrary();
        ExpectCurrent(L"改名库");
        EXPECT_EQ(CString(L"是否删除当前模板库<改名库>?\n\n注: 仅删除模板库记录，不删除模板库文件,\n\n"
                          L"用户可以使用<导入模板库>命令将其恢复."),
                  boxes.LastText());
    }
    MessageBoxScript boxes(IDYES);
    tree->OnDeleteLibrary();
    ExpectCurrent(kLibraryName);
    EXPECT_TRUE(tkx_GetTBasePath(L"改名库").IsEmpty());
    EXPECT_TRUE(FileExists(OtherFolder() + L"\\改名库.TPB"));
    EXPECT_EQ(CString(L"删除模板库:改名库, 用户可以使用<导入模板库>命令将其恢复."), LastInfo());
}

// Import reads the library aside: a library already registered under that
// file is opened, a new one added; a name taken elsewhere, the current
// library and an unreadable file leave the current library as it was.
TEST_F(TreeTest, ImportingALibrary)
{
    ScratchFolder plain(L"import");
    const CString newFile = LibraryFile(plain / L"a", L"ImportA");
    const CString knownFile = LibraryFile(plain / L"b", L"ImportB");
    const CString clashFile = LibraryFile(plain / L"c", kLibraryName);
    const CString damaged = plain / L"Damaged.TPB";
    WriteBytes(damaged, "not a library");
    tkxTemplateBase known;
    ASSERT_EQ(1, known.Load(knownFile));
    ASSERT_EQ(1, tkx_AddTBase(&known, nullptr));
    ASSERT_EQ(1, tkx_OpenTBase(kLibraryName, &theApp.m_CurTBase, nullptr));

    auto import = [&](const CString& file) {
        DialogScript script;
        script.Then([&](CWnd* platform) { Type(platform, file); });
        tree->OnImportLibrary();
        EXPECT_FALSE(script.StepsLeft());
        RestoreCurrentFolder();
    };
    {
        MessageBoxScript boxes;
        import(clashFile);
        EXPECT_EQ(ClFormat(L"模板库<%s>已经包含在模板库表中，请将<%s>文件改名后重试!", kLibraryName, clashFile.GetString()),
                  boxes.LastText());
        import(LibraryFolder() + L"\\" + kLibraryName + L".TPB");
        EXPECT_EQ(ClFormat(L"模板库<%s>已经打开!", kLibraryName), boxes.LastText());
        import(damaged);
        EXPECT_EQ(CString(L"TAVIX"), boxes.Shown().back().caption); // the library's own message
        ExpectCurrent(kLibraryName);
    }
    import(knownFile);
    ExpectCurrent(L"ImportB");
    EXPECT_EQ(CString(L"导入模板库:ImportB"), LastInfo());
    import(newFile);
    ExpectCurrent(L"ImportA");
    EXPECT_EQ(plain / L"a", tkx_GetTBasePath(L"ImportA"));
    EXPECT_EQ(CString(L"导入模板库:ImportA"), LastInfo());
    ResetLibraries();
}

TEST_F(TreeTest, TheLibraryFolderOpensInTheShell)
{
    static std::vector<CString> verbs;
    verbs.clear();
    const ShellVerbHandler previous = SetShellVerbHandler([](const wchar_t* verb, const wchar_t* path) -> BOOL {
        verbs.push_back(CString(verb) + L" " + path);
        return TRUE;
    });
    tree->SendMessage(WM_COMMAND, ID_TBASE_EXPLORE, 0);
    theApp.m_CurTBase.m_SPath = OtherFolder() + L"\\没有";
    tree->OnExploreLibrary(); // a folder that is gone is not handed over
    SetShellVerbHandler(previous);
    EXPECT_EQ((std::vector<CString>{L"explore " + LibraryFolder()}), verbs);
}

TEST_F(TreeTest, TemplatesAreSavedAsRenamedAndDeleted)
{
    Template(L"填方.TYP");
    const CString folder = LibraryFolder();

    DialogScript saveAs;
    saveAs.Then([](CWnd* d) {
        SetText(d, IDC_TCOPY_NEW, L"副本.TYP");
        Press(d, IDOK);
    });
    tree->BuildMenu(TemplateItem(0));
    tree->SendMessage(WM_COMMAND, ID_TEMPLATE_SAVEAS, 0);
    EXPECT_EQ(ReadBytes(folder + L"\\填方.TYP"), ReadBytes(folder + L"\\副本.TYP"));
    EXPECT_EQ(ClFormat(L"复制模板[%s\\填方.TYP]为[%s\\副本.TYP]", folder.GetString(), folder.GetString()), LastInfo());
    EXPECT_EQ(CString(L"    模板2: 副本.TYP|8|9"), Items()[6]);

    DialogScript rename;
    CString offered;
    rename.Then([&](CWnd* d) {
        offered = GetText(d, IDC_TCOPY_NEW);
        SetText(d, IDC_TCOPY_NEW, folder + L"\\改名.TYP");
        Press(d, IDOK);
    });
    tree->BuildMenu(TemplateItem(1));
    tree->OnRenameTemplate();
    EXPECT_EQ(folder + L"\\副本.TYP", offered);
    EXPECT_TRUE(FileExists(folder + L"\\改名.TYP"));
    EXPECT_FALSE(FileExists(folder + L"\\副本.TYP"));
    EXPECT_EQ(folder + L"\\改名.TYP", SlopePreviewPath);
    EXPECT_EQ(ClFormat(L"模板文件%s\\副本.TYP改名为%s\\改名.TYP.", folder.GetString(), folder.GetString()), LastInfo());
    tkxTemplateBase stored;
    tkx_GetCurTemplateBase(stored);
    ASSERT_EQ(2, stored.m_STemplates.GetSize());
    EXPECT_EQ(CString(L"改名.TYP"), stored.m_STemplates[1]);

    // Delete: the record only (the second answer), then the file as well
    // (the first), chosen in the two-answer question.
    DialogScript onlyRecord;
    onlyRecord.Then([](CWnd* d) { Press(d, IDC_SELECT_SECOND); });
    tree->BuildMenu(TemplateItem(1));
    tree->OnDeleteTemplate();
    EXPECT_TRUE(FileExists(folder + L"\\改名.TYP"));
    EXPECT_EQ(ClFormat(L"删除模板记录[%s\\改名.TYP]", folder.GetString()), LastInfo());
    DialogScript withFile;
    CString question;
    withFile.Then([&](CWnd* d) {
        question = GetText(d, IDC_SELECT_MESSAGE);
        Press(d, IDOK);
    });
    tree->GetTreeCtrl().SelectItem(TemplateItem(0));
    tree->SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(ClFormat(L"文件名:%s\\填方.TYP\n\n请选择:删除模板文件, 还是仅去除模板记录?", folder.GetString()), question);
    EXPECT_FALSE(FileExists(folder + L"\\填方.TYP"));
    EXPECT_EQ(ClFormat(L"删除模板文件[%s\\填方.TYP]", folder.GetString()), LastInfo());
    tkx_GetCurTemplateBase(stored);
    EXPECT_EQ(0, stored.m_STemplates.GetSize());
    EXPECT_EQ(CString(L"  模板记录:<包含0个模板>|8|9"), Items()[4]);
}

// The wizard's new template is listed once the editor saved it; the exit
// command waits while the editor runs.
TEST_F(TreeTest, TheWizardListsTheSavedTemplate)
{
    BOOL exitWhileEditing = TRUE;
    int lines = 0;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            exitWhileEditing = theApp.m_bExitEnabled;
            lines = static_cast<int>(static_cast<CDialog_TemplateEdit*>(d)->m_pSlopeLines->GetSize());
            SetText(d, IDC_TPL_FILENAME, L"向导.TYP");
            Press(d, IDC_TPL_SAVE);
        })
        .Then([](CWnd* platform) { Press(platform, IDOK); })
        .Then([](CWnd* d) { Press(d, IDCANCEL); });
    MessageBoxScript boxes; // "是否保存当前模板所做的修改?": No
    tree->SendMessage(WM_COMMAND, ID_TEMPLATE_WIZARD, 0);
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_FALSE(exitWhileEditing);
    EXPECT_TRUE(theApp.m_bExitEnabled);
    EXPECT_EQ(1, lines);
    const CString path = LibraryFolder() + L"\\向导.TYP";
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ClFormat(L"新建模板:%s", path.GetString()), LastInfo());
    tkxTemplateBase stored;
    tkx_GetCurTemplateBase(stored);
    ASSERT_EQ(1, stored.m_STemplates.GetSize());
    EXPECT_EQ(CString(L"向导.TYP"), stored.m_STemplates[0]);

    // Editing it: the editor gets its lines and path.
    CString editedPath;
    DialogScript edit;
    edit.Then([&](CWnd* d) {
        editedPath = static_cast<CDialog_TemplateEdit*>(d)->m_STemplatePath;
        Press(d, IDCANCEL);
    });
    tree->BuildMenu(TemplateItem(0));
    tree->OnEditTemplate();
    EXPECT_EQ(path, editedPath);
    EXPECT_EQ(ClFormat(L"编辑模板:%s", path.GetString()), LastInfo());
}

// Several templates are chosen at once and copied into the library.
TEST_F(TreeTest, ImportingTemplates)
{
    Template(L"填方.TYP");
    ScratchFolder plain(L"typ");
    CSlopeLineArray lines;
    lines.Add(MakeLine(0, -1.0, 0, 0, 2.0));
    for (const wchar_t* name : {L"CutA.TYP", L"CutB.TYP"})
        ASSERT_EQ(CString(L"保存成功"), CTvTemplate(name).Save(lines, plain.Path()));
    DialogScript script;
    script.Then([&](CWnd* platform) { Type(platform, plain.Path()); }) // into the folder
        .Then([&](CWnd* platform) { Type(platform, L"\"CutA.TYP\" \"CutB.TYP\""); });
    tree->SendMessage(WM_COMMAND, ID_TEMPLATE_IMPORT, 0);
    RestoreCurrentFolder();
    EXPECT_FALSE(script.StepsLeft());
    tkxTemplateBase stored;
    tkx_GetCurTemplateBase(stored);
    ASSERT_EQ(3, stored.m_STemplates.GetSize());
    EXPECT_EQ(CString(L"CutB.TYP"), stored.m_STemplates[2]);
    EXPECT_EQ(ReadBytes(plain / L"CutA.TYP"), ReadBytes(LibraryFolder() + L"\\CutA.TYP"));
    EXPECT_EQ(ClFormat(L"导入模板:%s", (plain / L"CutB.TYP").GetString()), LastInfo());
    EXPECT_EQ(CString(L"  模板记录:<包含3个模板>|8|9"), Items()[4]);
}

// The 模板 menu of the main window shows the project manager and runs the
// page's library commands.
TEST_F(TreeTest, TheTemplateMenuRunsThePagesCommands)
{
    const struct {
        UINT command;
        const wchar_t* title;
    } cases[] = {
        {ID_TEMPLATE_NEWBASE, L"创建模板库"},
        {ID_TEMPLATE_OPENBASE, L"打开模板库"},
        {ID_TEMPLATE_IMPORTBASE, L"打开TAVIX模板库文件"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        frame->ShowControlBar(&frame->m_wndProjectBar, FALSE, FALSE);
        CString title;
        DialogScript script;
        script.Then([&](CWnd* d) {
            title = d->GetWindowText();
            Press(d, IDCANCEL);
        });
        frame->SendMessage(WM_COMMAND, c.command, 0);
        RestoreCurrentFolder();
        EXPECT_EQ(CString(c.title), title);
        EXPECT_TRUE(frame->m_wndProjectBar.IsWindowVisible());
    }
    ExpectCurrent(kLibraryName);
}
