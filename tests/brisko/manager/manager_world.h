// The world of the project and road manager's tests: a scratch installation
// with the program started, and the project "测试 项目" registered as the
// current one, with the roads "主线" (current: break chain, ground line,
// vertical curves and a standard cross-section) and "匝道 B" (a ground line),
// and a terrain model.  Each test starts from that project as written anew
// (ManagerTest::SetUp), the only registered one, with the settings file
// removed.  The shell's verbs are recorded, not run.
#pragma once
#include "brisko/support/BriskoWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <functional>
#include <vector>

class CMainFrame;
class CTreeViewClass;
class CTreeViewFile;

namespace manager_test {

using namespace brisko_test;
using namespace wintest;

extern const wchar_t kProjectName[];
extern const wchar_t kMainRoad[];
extern const wchar_t kRampRoad[];
extern const char kMainDL[];
extern const char kMainDMX[];

// The test program's working folder as it was at its start (file dialogs
// change the current folder; each test ends in this one again).
CString WorkingFolderAtStart();
// The folder holding the test projects, and the world project's folder.
CString ProjectsRoot();
CString ProjectFolder();
CString EpjPath();
CString RoadFile(const wchar_t* road, const wchar_t* ext);
// The user's settings file of the project drawing settings.
CString SettingsIni();

// Writes the world's project anew and makes it the application's and the
// library's current project, the only registered one.
void RestoreWorld();

// A project file of another project, written (not registered) into a new
// folder under the projects' folder: its path.
CString WriteOtherProject(const wchar_t* name, const wchar_t* road);

// The shell's verbs since the last call: "verb path" each.
std::vector<CString> TakeShellVerbs();

// A file dialog step: the file (or folder) typed into the name box and OK.
void ChooseFile(CWnd* dialog, const CString& path);


// A picture of the window, saved under the file name, as a step's last
// action: taking it runs the message loop (and with it the dialog script),
// so the steps after it wait until `taken` holds (ThenWhen(Taken(taken), ..)).
void TakePicture(CWnd* window, const wchar_t* file, bool& taken);
std::function<bool()> Taken(const bool& taken);

// The menu's items as "text" (separators "-"), with "[x]" for a checked and
// "[-]" for a greyed item.
std::vector<CString> MenuItems(CMenu& menu);

// The items under an item (the tree's top items for null), as texts.
std::vector<CString> ChildTexts(CTreeCtrl& tree, HTREEITEM parent);
// The first item of the text under the parent (the whole tree for null).
HTREEITEM FindItem(CTreeCtrl& tree, const CString& text, HTREEITEM parent = nullptr);
int ItemImage(CTreeCtrl& tree, HTREEITEM item, bool selected = false);

class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Sends a command to a tree as its context menu does.
    void Command(CWnd* tree, UINT id);
    // The lines the information page gained since the test began.
    std::vector<CString> Lines() const;

    CMainFrame* frame = nullptr;
    CTreeViewClass* projectTree = nullptr;
    CTreeViewFile* fileTree = nullptr;
    CString marker;
};

} // namespace manager_test
