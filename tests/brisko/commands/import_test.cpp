// The HintCAD road import command: HintCAD's files become a new road of the
// current project (its folder, its files, its record, made current); a run
// that stops records no road and says so; without a project nothing opens.
#include "commands_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"

using namespace commands_test;

namespace {

class RoadImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        saved.Copy(&theApp.m_CurProject);
        linesBefore = InfoLines().size();
    }
    void TearDown() override
    {
        theApp.m_CurProject.Copy(&saved);
        EXPECT_EQ(1, tkx_UpdateProject(&theApp.m_CurProject, 1));
        theApp.SetWorkingDirectory(theApp.m_CurProject.GetWorkingDirectory());
        Frame()->SendMessage(WM_PROJECTCHANGED);
        Frame()->RefreshProjectTree();
        for (const wchar_t* road : {L"二号路", L"三号路"}) RemoveTree(ProjectFolder() + L"\\" + road);
        PumpUntilIdle();
    }

    // HintCAD's files of a road under its name in the inputs folder.
    CString PutHintFiles(const wchar_t* road)
    {
        const struct {
            const char* fixture;
            const wchar_t* extension;
        } files[] = {{"HINT_JDX", L".JDX"}, {"HINT_ZDM", L".ZDM"}, {"HINT_DMX", L".DMX"}, {"HINT_HDM", L".HDM"}};
        for (const auto& file : files) WriteBytes(inputs / (CString(road) + file.extension), Fixture(file.fixture));
        return inputs / (CString(road) + L".JDX");
    }
    // The import dialog's step: the plane file (with the others beside it)
    // and the break-chain text, then OK.
    DialogScript::Step FillImport(const CString& plane, const wchar_t* chain)
    {
        return [=](CWnd* d) {
            const CString stem = plane.Left(plane.GetLength() - 4);
            d->CheckRadioButton(IDC_TOOL_FORMAT, IDC_TOOL_FORMAT2, IDC_TOOL_FORMAT);
            SetText(d, IDC_HINT_PLANE, plane);
            SetText(d, IDC_HINT_ZDM, stem + L".ZDM");
            SetText(d, IDC_HINT_DMX, stem + L".DMX");
            SetText(d, IDC_HINT_HDM, stem + L".HDM");
            SetText(d, IDC_HINT_BREAKCHAIN, chain);
            Press(d, IDOK);
        };
    }
    static CString RoadFileOf(const wchar_t* road, const wchar_t* extension)
    {
        return ProjectFolder() + L"\\" + road + L"\\" + road + extension;
    }
    // The roads of the project the library holds.
    static std::vector<CString> StoredRoads()
    {
        tkxProject stored;
        tkx_GetCurProject(stored);
        std::vector<CString> roads;
        for (int i = 0; i < stored.GetRoadCount(); ++i) roads.push_back(stored.GetRoadName(i));
        return roads;
    }
    std::vector<CString> NewLines() const
    {
        const std::vector<CString> lines = InfoLines();
        return std::vector<CString>(lines.begin() + static_cast<long>(std::min(linesBefore, lines.size())), lines.end());
    }

    ScratchFolder inputs{L"hint_inputs"};
    tkxProject saved;
    size_t linesBefore = 0;
};

std::vector<CString> ChildTexts(CTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<CString> texts;
    for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
        texts.push_back(tree.GetItemText(item));
    return texts;
}

} // namespace

TEST_F(RoadImport, TheRoadIsWrittenRecordedAndMadeCurrent)
{
    const CString plane = PutHintFiles(L"二号路");
    CString roadTitle, roadName, roadChain;
    int hasChain = -1;
    MessageBoxScript boxes(IDYES);
    DialogScript script;
    script.Then([&](CWnd* d) {
              roadTitle = d->GetWindowText();
              FillImport(plane, L" 1200=1180 ")(d);
          })
        .Then([&](CWnd* d) {
            roadName = GetText(d, IDC_ROAD_NAME);
            roadChain = GetText(d, IDC_ROAD_CHAIN);
            hasChain = d->IsDlgButtonChecked(IDC_ROAD_HASCHAIN);
            Press(d, IDOK);
        });
    Command(ID_TOOL_HINT_ROAD);
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(CString(L"导入纬地道路数据"), roadTitle);
    EXPECT_EQ(CString(L"二号路"), roadName);
    EXPECT_EQ(CString(L"1200=1180"), roadChain);
    EXPECT_EQ(BST_CHECKED, hasChain);
    // The road dialog made the folder; the import wrote every file.
    EXPECT_EQ(std::vector<CString>{ClFormat(L"文件夹:\n\n%s\\二号路\n\n不存在. 是否创建该文件夹?",
                                            ProjectFolder().GetString())},
              boxes.Texts());
    for (const wchar_t* extension : {L".DL", L".JD", L".SQX", L".DMX", L".HDX"})
        EXPECT_TRUE(FileExists(RoadFileOf(L"二号路", extension))) << Utf8(extension);

    const std::vector<CString> roads = {kRoadName, L"二号路"};
    EXPECT_EQ(roads, StoredRoads());
    ASSERT_EQ(2, theApp.m_CurProject.GetRoadCount());
    EXPECT_EQ(CString(L"1200=1180"), theApp.m_CurProject.m_Roads[1].m_SBreakChain);
    EXPECT_EQ(CString(L"二号路"), theApp.m_CurProject.GetCurRoadName());
    EXPECT_EQ(ProjectFolder() + L"\\二号路", theApp.m_SWorkingDirectory);
    EXPECT_EQ(std::vector<CString>{L"导入道路：二号路"}, NewLines());
    CTreeViewClass* tree = Frame()->ProjectTree();
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ(CString(L"道路信息: <包含2条道路>"), tree->GetTreeCtrl().GetItemText(tree->RoadsItem()));
    const std::vector<CString> items = {L"道路名称: 一号路", L"道路名称: 二号路<当前道路>"};
    EXPECT_EQ(items, ChildTexts(tree->GetTreeCtrl(), tree->RoadsItem()));
    // The frame follows the new current road.
    EXPECT_EQ(RoadFileOf(L"二号路", L".DMX"), Frame()->WatchedPath(1));
}

// A run that stops (a plane file the user keeps, a break chain that does not
// read) records no road: the project stays as it was and the failure is
// printed.
TEST_F(RoadImport, ARunThatStopsRecordsNoRoad)
{
    const CString earlierJD = RoadFileOf(L"三号路", L".JD");
    const struct {
        const wchar_t* chain;
        bool earlierPlane; // a plane result of an earlier run is there (and kept)
        CString reason;    // the start of the last message
    } cases[] = {
        {L"", true, ClFormat(L"文件%s\n\n已经存在，是否覆盖?", earlierJD.GetString())},
        {L"1200=甲", false, L"断链数据<1200=甲>错误!"},
    };
    const CString plane = PutHintFiles(L"三号路");
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.reason));
        RemoveTree(ProjectFolder() + L"\\三号路");
        if (c.earlierPlane) {
            ASSERT_TRUE(CreateDirectoryW(ProjectFolder() + L"\\三号路", nullptr));
            WriteText(earlierJD, L"早先\n");
        }
        linesBefore = InfoLines().size();
        MessageBoxScript boxes; // No to replacing the plane result
        if (!c.earlierPlane) boxes.Answer(IDYES); // make the road's folder
        DialogScript script;
        script.Then(FillImport(plane, c.chain)).Then([](CWnd* d) { Press(d, IDOK); });
        Command(ID_TOOL_HINT_ROAD);
        EXPECT_TRUE(script.Unscripted().empty());
        ASSERT_FALSE(boxes.Texts().empty());
        EXPECT_EQ(0, boxes.LastText().Find(c.reason)) << Utf8(boxes.LastText());
        EXPECT_EQ(std::vector<CString>{kRoadName}, StoredRoads());
        EXPECT_EQ(1, theApp.m_CurProject.GetRoadCount());
        EXPECT_EQ(CString(kRoadName), theApp.m_CurProject.GetCurRoadName());
        EXPECT_EQ(std::vector<CString>{L"导入道路[三号路]失败!"}, NewLines());
        EXPECT_FALSE(FileExists(RoadFileOf(L"三号路", L".SQX")));
        if (c.earlierPlane) {
            EXPECT_EQ(FileText(L"早先\n"), ReadBytes(earlierJD));
        }
    }
}

// The road's files were written, but the project file cannot be: the road
// is not recorded, in the file or in the program.
TEST_F(RoadImport, AProjectFileThatCannotBeWrittenRecordsNoRoad)
{
    const CString plane = PutHintFiles(L"二号路");
    const CString epj = ProjectFolder() + L"\\" + kProjectName + L".EPJ";
    const std::string before = ReadBytes(epj);
    ASSERT_FALSE(before.empty());
    MessageBoxScript boxes;
    boxes.Answer(IDYES); // make the road's folder
    DialogScript script;
    script.Then(FillImport(plane, L"")).Then([](CWnd* d) { Press(d, IDOK); });
    {
        FailingWrites full(ProjectFolder());
        Command(ID_TOOL_HINT_ROAD);
    }
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(ClFormat(L"创建/修改TAVIX项目文件时失败!\n\n<%s>.", epj.GetString()), boxes.LastText());
    EXPECT_EQ(before, ReadBytes(epj));
    EXPECT_EQ(std::vector<CString>{kRoadName}, StoredRoads());
    EXPECT_EQ(1, theApp.m_CurProject.GetRoadCount());
    EXPECT_EQ(CString(kRoadName), theApp.m_CurProject.GetCurRoadName());
    EXPECT_EQ(std::vector<CString>{L"导入道路[二号路]失败!"}, NewLines());
}

TEST_F(RoadImport, CancelledOrWithoutAProjectNothingChanges)
{
    // Cancel in either dialog.
    const CString plane = PutHintFiles(L"二号路");
    for (int cancelled : {1, 2}) {
        SCOPED_TRACE(cancelled);
        MessageBoxScript boxes;
        DialogScript script;
        if (cancelled == 1)
            script.Then([](CWnd* d) { Press(d, IDCANCEL); });
        else
            script.Then(FillImport(plane, L"")).Then([](CWnd* d) { Press(d, IDCANCEL); });
        Command(ID_TOOL_HINT_ROAD);
        EXPECT_EQ(cancelled, script.DialogsSeen());
        EXPECT_TRUE(script.Unscripted().empty());
        EXPECT_TRUE(boxes.Texts().empty());
        EXPECT_EQ(std::vector<CString>{kRoadName}, StoredRoads());
        EXPECT_TRUE(NewLines().empty());
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(ProjectFolder() + L"\\二号路"));

    // A program without a project asks for one first.
    theApp.m_CurProject.m_SName.Empty();
    MessageBoxScript boxes;
    DialogScript script;
    Command(ID_TOOL_HINT_ROAD);
    EXPECT_EQ(0, script.DialogsSeen());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"当前项目未定义, 请首先创建一个项目!"), boxes.LastText());
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.Shown()[0].type & MB_ICONMASK);
}
