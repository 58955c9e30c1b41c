// The road file tree: the current road's files grouped by kind, the user
// lists, the context menu of each kind of item, and its commands.
#include "manager_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/BriskoDoc.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Utility.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"

using namespace manager_test;

namespace {

class FileTreeTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        // The road's files change here: the frame does not follow them.
        frame->RemoveRoadFileWatches();
    }
    CTreeCtrl& Tree() { return fileTree->GetTreeCtrl(); }
    HTREEITEM Item(const CString& text) { return FindItem(Tree(), text); }
    // A command on an item, as its menu gives it.
    void On(const CString& text, UINT id)
    {
        HTREEITEM item = Item(text);
        ASSERT_NE(nullptr, item) << Utf8(text);
        fileTree->PrepareMenu(item);
        Command(fileTree, id);
    }
    std::vector<CString> MenuOf(const CString& text)
    {
        fileTree->PrepareMenu(Item(text));
        return MenuItems(fileTree->ContextMenu());
    }
    // Sets the current road's user lists and builds the tree again.
    void SetUserLists(const CString& data, const CString& drawings)
    {
        theApp.m_CurProject.m_Roads[0].m_SText4 = data;
        theApp.m_CurProject.m_Roads[0].m_SText5 = drawings;
        fileTree->BuildTree();
    }
    CDocument* Document()
    {
        POSITION position = theApp.GetFirstDocTemplatePosition();
        CDocTemplate* documents = theApp.GetNextDocTemplate(position);
        POSITION at = documents->GetFirstDocPosition();
        return at ? documents->GetNextDoc(at) : nullptr;
    }
    CString DocumentPath()
    {
        CDocument* document = Document();
        return document ? document->GetPathName() : CString(L"<none>");
    }
    // The open document's text, its lines joined by "\n".
    CString DocumentText()
    {
        auto* document = dynamic_cast<CBriskoDoc*>(Document());
        if (!document) return L"<none>";
        const CTvTextBuffer& buffer = *document->GetTextBuffer();
        CString text;
        for (int i = 0; i < buffer.GetLineCount(); ++i) {
            if (i > 0) text += L"\n";
            text += CString(buffer.LineText(i), buffer.GetLineLength(i));
        }
        return text;
    }
};

const std::vector<CString> kGroups = {L"道路全局数据", L"平面数据", L"纵断面数据", L"横断面数据", L"用户定义数据", L"用户定义图形"};

} // namespace

TEST_F(FileTreeTest, TheRoadsFilesAreGroupedByKind)
{
    WriteBytes(ProjectFolder() + L"\\主线\\a2.dmx", "0 1\r\n");
    WriteBytes(ProjectFolder() + L"\\主线\\其他.txt", "x\r\n");
    const CString notes = ProjectFolder() + L"\\说明 一.txt";
    WriteBytes(notes, "x\r\n");
    SetUserLists(notes + L";C:\\没有\\丢失.txt;", L"C:\\没有\\总图.dwg;");
    CTreeCtrl& tree = Tree();

    HTREEITEM root = fileTree->RootItem();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(CString(L"道路名称: 主线"), tree.GetItemText(root));
    EXPECT_EQ(0, ItemImage(tree, root));
    EXPECT_EQ(kGroups, ChildTexts(tree, root));
    for (int g = 0; g < CTreeViewFile::kGroups; ++g) {
        EXPECT_EQ(2, ItemImage(tree, fileTree->GroupItem(g)));
        EXPECT_TRUE(tree.GetItemState(fileTree->GroupItem(g), TVIS_EXPANDED) & TVIS_EXPANDED);
    }
    EXPECT_EQ((std::vector<CString>{L"桩号断链文件(*.DL)", L"平面构造物定义文件(*.GZW)", L"桩号文件(*.ST)",
                                    L"桥梁桩号范围文件(*.QL)"}),
              ChildTexts(tree, fileTree->GroupItem(CTreeViewFile::kGlobalGroup)));
    // The standard file with the group's images, the other files of the
    // kind after it; a missing standard file with the missing images.
    HTREEITEM dmx = Item(L"纵断面地面线文件(*.DMX)");
    EXPECT_EQ(20, ItemImage(tree, dmx));
    EXPECT_EQ((std::vector<CString>{L"主线.DMX", L"a2.dmx"}), ChildTexts(tree, dmx));
    EXPECT_TRUE(tree.GetItemState(dmx, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(6, ItemImage(tree, Item(L"主线.DMX")));
    EXPECT_EQ(7, ItemImage(tree, Item(L"主线.DMX"), true));
    EXPECT_EQ(6, ItemImage(tree, Item(L"a2.dmx")));
    EXPECT_EQ(14, ItemImage(tree, Item(L"主线.DL")));
    EXPECT_EQ(8, ItemImage(tree, Item(L"主线.HDM")));
    HTREEITEM jd = Item(L"主线.JD");
    EXPECT_EQ(16, ItemImage(tree, jd));
    EXPECT_FALSE(tree.GetItemState(tree.GetParentItem(jd), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(nullptr, Item(L"其他.txt"));
    EXPECT_EQ(nullptr, Item(L"设计分段文件(*.FD)")); // a kind not shown
    EXPECT_EQ(16, ItemImage(tree, Item(L"主线_戴帽信息.txt")));
    EXPECT_EQ(L"主线_戴帽信息.txt", ChildTexts(tree, fileTree->GroupItem(CTreeViewFile::kSectionGroup)).back());
    // The user lists, existing or not.
    EXPECT_EQ((std::vector<CString>{L"用户数据:" + notes, L"用户数据:C:\\没有\\丢失.txt"}),
              ChildTexts(tree, fileTree->GroupItem(CTreeViewFile::kUserDataGroup)));
    EXPECT_EQ(10, ItemImage(tree, Item(L"用户数据:" + notes)));
    EXPECT_EQ(16, ItemImage(tree, Item(L"用户数据:C:\\没有\\丢失.txt")));
    EXPECT_EQ(16, ItemImage(tree, Item(L"用户图形:C:\\没有\\总图.dwg")));

    frame->ShowProjectBar();
    frame->m_wndProjectBar.SetActiveView(1);
    PumpUntilIdle();
    EXPECT_TRUE(CaptureWindow(&frame->m_wndProjectBar).SaveBmp(L"file_tree.bmp"));
    frame->m_wndProjectBar.SetActiveView(0);

    // The cap information shows as there when its file is; a kind without
    // ")" in its name has an empty item.
    WriteBytes(ProjectFolder() + L"\\主线\\BpsjInfo.txt", "x\r\n");
    Tavix4::sFileStyle odd;
    odd.m_STypeName = L"无括号类型";
    odd.m_SExt = L"XYZ";
    theApp.m_FileStyles.Add(odd);
    fileTree->BuildTree();
    theApp.m_FileStyles.RemoveAt(theApp.m_FileStyles.GetSize() - 1);
    EXPECT_EQ(8, ItemImage(tree, Item(L"主线_戴帽信息.txt")));
    EXPECT_EQ(CString(), ChildTexts(tree, fileTree->GroupItem(CTreeViewFile::kGlobalGroup)).back());

    // Without a current road, and without a project.
    theApp.m_CurProject.m_iCurRoad = -1;
    fileTree->BuildTree();
    EXPECT_EQ(std::vector<CString>{L"未定义当前道路"}, ChildTexts(tree, nullptr));
    fileTree->PrepareMenu(tree.GetRootItem());
    EXPECT_EQ(0, fileTree->ContextMenu().GetMenuItemCount());
    theApp.m_CurProject.m_SName.Empty();
    fileTree->BuildTree();
    EXPECT_EQ(0u, tree.GetCount());
}

TEST_F(FileTreeTest, TheMenuFollowsTheKindOfItem)
{
    WriteBytes(ProjectFolder() + L"\\主线\\主线.JGC", "x\r\n");
    SetUserLists(L"C:\\数据\\a.dwg;", L"C:\\图纸\\b.dwg;");
    const std::vector<CString> users = {L"添加用户数据", L"添加用户图形"};
    auto fileMenu = [&](bool exists, std::initializer_list<CString> tools) {
        std::vector<CString> items = {exists ? L"打开文件" : L"创建文件", exists ? L"删除文件" : L"删除文件[-]",
                                      L"导入文件", L"打开道路文件夹", L"-"};
        items.insert(items.end(), tools);
        items.insert(items.end(), users.begin(), users.end());
        return items;
    };
    EXPECT_EQ(fileMenu(true, {L"导入纬地纵地线数据", L"导入路线大师纵地线数据", L"-"}), MenuOf(L"主线.DMX"));
    EXPECT_EQ(fileMenu(true, {L"导入纬地竖曲线数据", L"导入路线大师竖曲线数据", L"-"}), MenuOf(L"主线.SQX"));
    EXPECT_EQ(fileMenu(false, {L"导入纬地平面数据", L"导入路线大师平面数据", L"-"}), MenuOf(L"主线.JD"));
    EXPECT_EQ(fileMenu(false, {L"导入纬地平面数据", L"导入路线大师平面数据", L"-"}), MenuOf(L"主线.ICD"));
    EXPECT_EQ(fileMenu(false, {L"导入纬地横地线数据", L"导入路线大师横地线数据", L"-"}), MenuOf(L"主线.HDX"));
    EXPECT_EQ(fileMenu(true, {L"自动生成基点高程文件", L"-"}), MenuOf(L"主线.JGC"));
    EXPECT_EQ(fileMenu(false, {L"由GZX文件导出QL文件", L"-"}), MenuOf(L"主线.QL"));
    EXPECT_EQ(fileMenu(true, {}), MenuOf(L"主线.DL"));
    const std::vector<CString> folderMenu = {L"打开道路文件夹", L"-", L"添加用户数据", L"添加用户图形"};
    EXPECT_EQ(folderMenu, MenuOf(L"道路名称: 主线"));
    EXPECT_EQ(folderMenu, MenuOf(L"平面数据"));
    EXPECT_EQ(folderMenu, MenuOf(L"纵断面地面线文件(*.DMX)"));
    // The user items follow their list, whatever their files are named.
    EXPECT_EQ((std::vector<CString>{L"打开文件", L"打开道路文件夹", L"-", L"添加用户数据", L"去除用户数据"}),
              MenuOf(L"用户数据:C:\\数据\\a.dwg"));
    EXPECT_EQ((std::vector<CString>{L"打开文件", L"打开道路文件夹", L"-", L"添加用户图形", L"去除用户图形"}),
              MenuOf(L"用户图形:C:\\图纸\\b.dwg"));
    // An empty group is a group, not a file.
    SetUserLists(L"", L"");
    EXPECT_EQ(folderMenu, MenuOf(L"用户定义数据"));
}

// An existing file opens as a document; a missing one is made new (with
// the kind's comment) or imported from another file.
// Under a deep project folder a road file whose path would pass the
// platform's 259 characters is named in a message: neither made nor opened
// on a cut path.
TEST_F(FileTreeTest, AFileWhosePathWouldBeTooLongIsNamed)
{
    MessageBoxScript boxes;
    const CString saved = theApp.m_CurProject.m_Roads[0].m_SRoadName;
    const int length = 252 - ProjectFolder().GetLength() - 1; // the folder 252 characters, its files more than 259
    ASSERT_GT(length, 10) << "the checkout lies too deep for this test";
    // (Mostly Latin: the system's file names hold 255 bytes of UTF-8.)
    const CString name = CString(L"长路") + CString(L'r', length - 2);
    const CString folder = ProjectFolder() + L"\\" + name;
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    theApp.m_CurProject.m_Roads[0].m_SRoadName = name;
    fileTree->BuildTree();
    const CString dl = folder + L"\\" + name + L".DL";
    On(name + L".DL", ID_DATA_OPEN);
    On(name + L".DL", ID_DATA_IMPORT);
    const CString said = L"路径太长(最多259个字符): " + dl;
    EXPECT_EQ((std::vector<CString>{said, said}), boxes.Texts());
    EXPECT_EQ(CString(L"<none>"), DocumentPath());
    EXPECT_TRUE(FilesIn(folder).empty());
    theApp.m_CurProject.m_Roads[0].m_SRoadName = saved;
    fileTree->BuildTree();
    RemoveTree(folder);
}

TEST_F(FileTreeTest, FilesAreOpenedOrMadeWhenMissing)
{
    MessageBoxScript boxes;
    On(L"主线.DMX", ID_DATA_OPEN);
    EXPECT_EQ(RoadFile(kMainRoad, L"DMX"), DocumentPath());
    theApp.CloseAllDocuments(TRUE);
    // A double click does the same.
    CRect rect;
    frame->m_wndProjectBar.SetActiveView(1);
    PumpUntilIdle();
    ASSERT_TRUE(Tree().GetItemRect(Item(L"主线.SQX"), &rect, TRUE));
    Tree().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    EXPECT_EQ(RoadFile(kMainRoad, L"SQX"), DocumentPath());
    theApp.CloseAllDocuments(TRUE);
    frame->m_wndProjectBar.SetActiveView(0);

    const CString jd = RoadFile(kMainRoad, L"JD");
    DialogScript create;
    create.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"TAVIX项目数据环境"), d->GetWindowText());
        EXPECT_EQ(ClFormat(L"文件<%s>不存在, \n\n\t请选择\"新建文件\", 或\"导入文件\"\n\t[导入文件：复制其他文件的内容。]",
                           jd.GetString()),
                  GetText(d, IDC_SELECT_MESSAGE));
        EXPECT_EQ(CString(L"新建文件"), GetText(d, IDOK));
        EXPECT_EQ(CString(L"导入文件"), GetText(d, IDC_SELECT_SECOND));
        Press(d, IDOK);
    });
    On(L"主线.JD", ID_DATA_OPEN);
    EXPECT_FALSE(create.StepsLeft());
    const CString comment = [] {
        for (const Tavix4::sFileStyle& style : theApp.m_FileStyles)
            if (style.m_SExt == L"JD") return style.m_SComment;
        return CString();
    }();
    EXPECT_EQ(FileText(comment + L"\n"), ReadBytes(jd));
    EXPECT_EQ(jd, DocumentPath());
    EXPECT_EQ(4, ItemImage(Tree(), Item(L"主线.JD")));
    EXPECT_EQ(CString(L"新建JD文件:") + jd, Lines().back());
    theApp.CloseAllDocuments(TRUE);

    ScratchFolder source(L"source files");
    WriteBytes(source / L"别处.ICD", "100\r\n");
    const CString icd = RoadFile(kMainRoad, L"ICD");
    DialogScript import;
    import.Then([&](CWnd* d) { Press(d, IDC_SELECT_SECOND); });
    import.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"导入平面积木法单元数据文件(*.ICD)文件"), d->GetWindowText());
        ChooseFile(d, source / L"别处.ICD");
    });
    On(L"主线.ICD", ID_DATA_OPEN);
    EXPECT_FALSE(import.StepsLeft());
    EXPECT_EQ("100\r\n", ReadBytes(icd));
    EXPECT_EQ(icd, DocumentPath());
    EXPECT_EQ(ClFormat(L"复制ICD文件[%s]到[%s]", (source / L"别处.ICD").GetString(), icd.GetString()), Lines().back());
    theApp.CloseAllDocuments(TRUE);

    // Cancel does nothing.
    DialogScript cancel;
    cancel.Then([&](CWnd* d) { Press(d, IDCANCEL); });
    On(L"主线.ST", ID_DATA_OPEN);
    EXPECT_FALSE(FileExists(RoadFile(kMainRoad, L"ST")));
    EXPECT_EQ(16, ItemImage(Tree(), Item(L"主线.ST")));

    // User files open with the shell; a missing one is named.
    const CString notes = ProjectFolder() + L"\\说明.txt";
    WriteBytes(notes, "x\r\n");
    SetUserLists(notes + L";C:\\没有\\丢失.txt;", L"");
    On(L"用户数据:" + notes, ID_DATA_OPEN);
    EXPECT_EQ(std::vector<CString>{L"open " + notes}, TakeShellVerbs());
    On(L"用户数据:C:\\没有\\丢失.txt", ID_DATA_OPEN);
    EXPECT_EQ(CString(L"C:\\没有\\丢失.txt文件不存在!"), boxes.LastText());
    EXPECT_TRUE(TakeShellVerbs().empty());
    // A file no program takes: the shell's refusal is shown.
    const ShellVerbHandler recording =
        SetShellVerbHandler([](const wchar_t*, const wchar_t*) -> BOOL { return FALSE; });
    const size_t shown = boxes.Shown().size();
    On(L"用户数据:" + notes, ID_DATA_OPEN);
    SetShellVerbHandler(recording);
    ASSERT_EQ(shown + 1, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"无法打开文件%s!\n\n没有与该类型文件关联的程序, 或程序未能启动.", notes.GetString()),
              boxes.LastText());
}

// An import replaces the file (after asking), closes a document of it and
// opens the new one; only a done import is printed.  A deleted road file
// keeps its item, shown missing; another file's item goes.
TEST_F(FileTreeTest, FilesAreImportedAndDeleted)
{
    MessageBoxScript boxes;
    const CString dmx = RoadFile(kMainRoad, L"DMX");
    ScratchFolder source(L"import files");
    WriteBytes(source / L"新.dmx", "0 7\r\n");
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(dmx));
    DialogScript script;
    script.Then([&](CWnd* d) {
        EXPECT_EQ(CString(L"导入纵断面地面线文件(*.DMX)文件"), d->GetWindowText());
        ChooseFile(d, source / L"新.dmx");
    });
    boxes.Answer(IDYES);
    On(L"主线.DMX", ID_DATA_IMPORT);
    EXPECT_EQ(ClFormat(L"%s文件已经存在，\n\n是否导入其他文件的内容，将其覆盖?", dmx.GetString()), boxes.Shown()[0].text);
    EXPECT_EQ("0 7\r\n", ReadBytes(dmx));
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());
    EXPECT_EQ(dmx, DocumentPath());
    EXPECT_EQ(CString(L"导入DMX文件:") + dmx, Lines().back());
    theApp.CloseAllDocuments(TRUE);

    // A copy that fails: said so, nothing printed.
    const size_t lines = Lines().size();
    HANDLE held = CreateFileW(dmx, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DialogScript failing;
    failing.Then([&](CWnd* d) { ChooseFile(d, source / L"新.dmx"); });
    boxes.Answer(IDYES);
    On(L"主线.DMX", ID_DATA_IMPORT);
    CloseHandle(held);
    EXPECT_EQ(CString(L"导入文件失败!"), boxes.LastText());
    EXPECT_EQ(lines, Lines().size());

    // Declined, then done: the shell asks too.
    WriteBytes(ProjectFolder() + L"\\主线\\a2.dmx", "0 1\r\n");
    fileTree->BuildTree();
    boxes.Answer(IDNO);
    On(L"主线.DMX", ID_DATA_DELETE);
    EXPECT_TRUE(FileExists(dmx));
    EXPECT_EQ(ClFormat(L"是否删除指定文件?\n\n[%s]", dmx.GetString()), boxes.LastText());
    DialogScript shell;
    shell.Then([](CWnd* question) { Press(question, IDYES); });
    boxes.Answer(IDYES);
    On(L"主线.DMX", ID_DATA_DELETE);
    EXPECT_FALSE(FileExists(dmx));
    EXPECT_EQ(16, ItemImage(Tree(), Item(L"主线.DMX")));
    DialogScript shell2;
    shell2.Then([](CWnd* question) { Press(question, IDYES); });
    boxes.Answer(IDYES);
    On(L"a2.dmx", ID_DATA_DELETE);
    EXPECT_FALSE(FileExists(ProjectFolder() + L"\\主线\\a2.dmx"));
    EXPECT_EQ(nullptr, Item(L"a2.dmx"));
    // The shell's refusal is told.
    const CString sqx = RoadFile(kMainRoad, L"SQX");
    DialogScript refused;
    refused.Then([](CWnd* question) { Press(question, IDNO); });
    boxes.Answer(IDYES);
    On(L"主线.SQX", ID_DATA_DELETE);
    EXPECT_TRUE(FileExists(sqx));
    EXPECT_EQ(CString(L"删除文件失败[1223]!"), boxes.LastText());
    EXPECT_EQ(6, ItemImage(Tree(), Item(L"主线.SQX")));
}

// A road file the user marked read-only is not imported over: the failure
// says why, and the file stays as it was, with no temporary file beside it.
TEST_F(FileTreeTest, AReadOnlyFileIsNotImportedOver)
{
    MessageBoxScript boxes;
    const CString dmx = RoadFile(kMainRoad, L"DMX");
    const CString roadFolder = ProjectFolder() + L"\\主线";
    const std::string old = ReadBytes(dmx);
    const std::vector<CString> files = FilesIn(roadFolder);
    ScratchFolder source(L"import over read-only");
    WriteBytes(source / L"新.dmx", "0 7\r\n");
    const size_t lines = Lines().size();
    ASSERT_TRUE(SetFileAttributesW(dmx, FILE_ATTRIBUTE_READONLY));
    DialogScript script;
    script.Then([&](CWnd* d) { ChooseFile(d, source / L"新.dmx"); });
    boxes.Answer(IDYES);
    On(L"主线.DMX", ID_DATA_IMPORT);
    const bool stayedReadOnly = (GetFileAttributesW(dmx) & FILE_ATTRIBUTE_READONLY) != 0;
    SetFileAttributesW(dmx, FILE_ATTRIBUTE_NORMAL); // the next test writes the project anew
    EXPECT_FALSE(script.StepsLeft());
    EXPECT_EQ(ClFormat(L"导入文件失败!\n\n文件%s为只读, 无法保存!", dmx.GetString()), boxes.LastText());
    EXPECT_EQ(old, ReadBytes(dmx));
    EXPECT_TRUE(stayedReadOnly);
    EXPECT_EQ(files, FilesIn(roadFolder));
    EXPECT_EQ(lines, Lines().size());
}

// The document open on a file that an import replaces holds the imported
// text afterwards (it had been opened by the file's name in another case
// too), with no edit of the old text left to be saved over it.
TEST_F(FileTreeTest, AnImportedFileReplacesTheTextOfItsOpenDocument)
{
    MessageBoxScript boxes;
    const CString dmx = RoadFile(kMainRoad, L"DMX");
    ScratchFolder source(L"import over open");
    WriteBytes(source / L"新.dmx", "0 7\r\n10 8\r\n");
    const CString sameFile[] = {dmx, dmx.Left(dmx.GetLength() - 3) + L"dmx"};
    for (const CString& opened : sameFile) {
        SCOPED_TRACE(Utf8(opened));
        WriteBytes(dmx, "0 1\r\n");
        auto* document = dynamic_cast<CBriskoDoc*>(theApp.OpenDocumentFile(opened));
        ASSERT_NE(nullptr, document);
        ASSERT_EQ(CString(L"0 1"), DocumentText());
        document->GetTextBuffer()->SetLineText(0, L"0 2");
        document->SetModifiedFlag(TRUE);

        DialogScript script;
        script.Then([&](CWnd* d) { ChooseFile(d, source / L"新.dmx"); });
        boxes.Answer(IDYES);
        On(L"主线.DMX", ID_DATA_IMPORT);
        EXPECT_FALSE(script.StepsLeft());
        EXPECT_EQ("0 7\r\n10 8\r\n", ReadBytes(dmx));
        ASSERT_EQ(1, theApp.GetOpenDocumentCount());
        EXPECT_EQ(CString(L"0 7\n10 8"), DocumentText());
        EXPECT_FALSE(Document()->IsModified());
        // Saved, the document writes the imported lines (without a line end
        // after the last).
        EXPECT_TRUE(Document()->DoFileSave());
        EXPECT_EQ("0 7\r\n10 8", ReadBytes(dmx));
        theApp.CloseAllDocuments(TRUE);
    }
    EXPECT_EQ(2u, boxes.Shown().size()); // the two questions of the import
}

TEST_F(FileTreeTest, TheRoadFolderIsOpened)
{
    MessageBoxScript boxes;
    On(L"主线.DL", ID_ROAD_EXPLORE);
    EXPECT_EQ(std::vector<CString>{L"explore " + ProjectFolder() + L"\\主线"}, TakeShellVerbs());
    RemoveTree(ProjectFolder() + L"\\主线");
    On(L"平面数据", ID_ROAD_EXPLORE);
    EXPECT_TRUE(TakeShellVerbs().empty());
    EXPECT_EQ(ProjectFolder() + L"\\主线\n\n道路文件夹不存在!", boxes.LastText());
}

// Files are added to the user lists from a file dialog, each once; a
// removal takes its entry only (not the entries that end in its name).
TEST_F(FileTreeTest, TheUserListsAreKept)
{
    MessageBoxScript boxes;
    ScratchFolder files(L"user files");
    WriteBytes(files / L"a.txt", "a\r\n");
    WriteBytes(files / L"ba.txt", "b\r\n");
    WriteBytes(files / L"分;号.txt", "c\r\n");
    auto choose = [&](DialogScript& script, const wchar_t* names, const wchar_t* title) {
        script.Then([&files, title](CWnd* d) {
            EXPECT_EQ(CString(title), d->GetWindowText());
            ChooseFile(d, files.Path());
        });
        script.Then([names](CWnd* d) { ChooseFile(d, names); });
    };
    DialogScript add;
    choose(add, L"\"ba.txt\" \"a.txt\"", L"选择需要添加的用户数据文件");
    On(L"用户定义数据", ID_USER_ADDDATA);
    EXPECT_FALSE(add.StepsLeft());
    const CString expected = (files / L"ba.txt") + L";" + (files / L"a.txt") + L";";
    EXPECT_EQ(expected, theApp.m_CurProject.m_Roads[0].m_SText4);
    tkxProject saved;
    ASSERT_EQ(1, saved.Load(EpjPath()));
    EXPECT_EQ(expected, saved.m_Roads[0].m_SText4);
    EXPECT_EQ((std::vector<CString>{L"用户数据:" + (files / L"ba.txt"), L"用户数据:" + (files / L"a.txt")}),
              ChildTexts(Tree(), fileTree->GroupItem(CTreeViewFile::kUserDataGroup)));
    EXPECT_EQ(CString(L"添加用户数据文件:") + (files / L"a.txt"), Lines().back());

    // Again: reported as contained; a name with ";" cannot be kept.
    DialogScript again;
    choose(again, L"\"A.TXT\" \"分;号.txt\"", L"选择需要添加的用户数据文件");
    On(L"主线.DL", ID_USER_ADDDATA);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ((files / L"A.TXT") + L"文件\n\n已经包含在当前用户文件中!", boxes.Shown()[0].text);
    EXPECT_NE(-1, boxes.Shown()[1].text.Find(L"分;号.txt"));
    EXPECT_EQ(expected, theApp.m_CurProject.m_Roads[0].m_SText4);

    On(L"用户数据:" + (files / L"a.txt"), ID_USER_REMOVEDATA);
    EXPECT_EQ((files / L"ba.txt") + L";", theApp.m_CurProject.m_Roads[0].m_SText4);
    EXPECT_EQ(CString(L"去除用户数据文件:") + (files / L"a.txt"), Lines().back());
    EXPECT_EQ(std::vector<CString>{L"用户数据:" + (files / L"ba.txt")},
              ChildTexts(Tree(), fileTree->GroupItem(CTreeViewFile::kUserDataGroup)));

    // Drawings the same way, with their own dialog.
    WriteBytes(files / L"总图.dwg", "d\r\n");
    DialogScript drawing;
    choose(drawing, L"\"总图.dwg\"", L"选择需要添加的用户图形文件");
    On(L"道路名称: 主线", ID_USER_ADDDRAWING);
    EXPECT_EQ((files / L"总图.dwg") + L";", theApp.m_CurProject.m_Roads[0].m_SText5);
    EXPECT_EQ(12, ItemImage(Tree(), Item(L"用户图形:" + (files / L"总图.dwg"))));
    On(L"用户图形:" + (files / L"总图.dwg"), ID_USER_REMOVEDRAWING);
    EXPECT_EQ(CString(), theApp.m_CurProject.m_Roads[0].m_SText5);
    EXPECT_EQ(CString(L"去除用户图形文件:") + (files / L"总图.dwg"), Lines().back());
}

// Choosing a file shows its start in the information page's preview; a
// group or a drawing leaves the preview as it is.
TEST_F(FileTreeTest, AChosenFileIsPreviewed)
{
    auto* page = static_cast<CPPage_InfoBar*>(frame->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar)));
    ASSERT_NE(nullptr, page);
    SetUserLists(L"", L"C:\\图纸\\总图.dwg;");
    Tree().SelectItem(Item(L"主线.DMX"));
    const CString shown = page->m_wndPreview.GetWindowText();
    EXPECT_NE(-1, shown.Find(RoadFile(kMainRoad, L"DMX"))) << Utf8(shown);
    EXPECT_NE(-1, shown.Find(L"300.000 101.200"));
    Tree().SelectItem(Item(L"平面数据"));
    Tree().SelectItem(Item(L"用户图形:C:\\图纸\\总图.dwg"));
    EXPECT_EQ(shown, page->m_wndPreview.GetWindowText());
}
