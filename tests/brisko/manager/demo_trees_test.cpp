// Both trees on the demo project (made by demo_project.exe beside the
// program's folder before this program runs), with pictures to look at.
#include "manager_world.h"
#include "brisko/manager/TreeViewClass.h"
#include "brisko/manager/TreeViewFile.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"

#include <functional>

using namespace manager_test;

namespace {
// The file tree's image of a file that does not exist.
const int kMissingFileImage = 16;
} // namespace

TEST_F(ManagerTest, TheDemoProjectShowsInBothTrees)
{
    const CString demo = BinFolder() + L"\\..\\demo\\示范项目\\示范项目.EPJ";
    tkxProject project;
    ASSERT_EQ(1, project.Load(demo)) << "the demo project is made by demo_project.exe: " << Utf8(demo);
    theApp.m_CurProject.Copy(&project);
    projectTree->BuildTree();
    fileTree->BuildTree();
    frame->ShowProjectBar();

    CTreeCtrl& projects = projectTree->GetTreeCtrl();
    EXPECT_EQ((std::vector<CString>{L"道路名称: 一号路<当前道路>", L"道路名称: 二号路"}),
              ChildTexts(projects, projectTree->RoadsItem()));
    EXPECT_EQ(std::vector<CString>{L"地形数模.MESH"}, ChildTexts(projects, projectTree->TerrainItem()));
    CTreeCtrl& files = fileTree->GetTreeCtrl();
    EXPECT_EQ(1u, ChildTexts(files, fileTree->GroupItem(CTreeViewFile::kUserDataGroup)).size());
    EXPECT_EQ(1u, ChildTexts(files, fileTree->GroupItem(CTreeViewFile::kUserDrawingGroup)).size());
    EXPECT_NE(nullptr, FindItem(files, L"一号路_比较线.DMX"));
    // Every file the tree names is there: the road's files of every type
    // shown, the capped-section summary and the user's lists.
    std::vector<CString> missing;
    std::function<void(HTREEITEM)> walk = [&](HTREEITEM parent) {
        for (HTREEITEM item = files.GetChildItem(parent); item; item = files.GetNextSiblingItem(item)) {
            int image = 0, selected = 0;
            files.GetItemImage(item, image, selected);
            if (!files.ItemHasChildren(item) && image == kMissingFileImage) missing.push_back(files.GetItemText(item));
            walk(item);
        }
    };
    walk(TVI_ROOT);
    EXPECT_EQ(std::vector<CString>{}, missing);

    frame->m_wndProjectBar.SetActiveView(0);
    PumpUntilIdle();
    EXPECT_TRUE(CaptureWindow(&frame->m_wndProjectBar).SaveBmp(L"demo_project_tree.bmp"));
    frame->m_wndProjectBar.SetActiveView(1);
    PumpUntilIdle();
    EXPECT_TRUE(CaptureWindow(&frame->m_wndProjectBar).SaveBmp(L"demo_file_tree.bmp"));
    frame->m_wndProjectBar.SetActiveView(0);
}
