// The world of the application-command tests: the program started on the
// registered current project "命令 项目" with its one road "一号路" (current),
// the HintCAD files of the road-import fixtures and a terrain-mesh document
// string compiled into the program (commands.rc), and the commands sent as
// the menu sends them.
#pragma once
#include "brisko/support/BriskoWorld.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

class CMainFrame;

namespace commands_test {

using namespace brisko_test;
using namespace wintest;

extern const wchar_t kProjectName[];
extern const wchar_t kRoadName[];

// The string of a document template whose filter extension is ".mesh".
const UINT IDR_TEST_MESHTYPE = 29100;

CString ProjectFolder();
CString RoadFolder();
// "<road folder>\<road name><extension>".
CString RoadFile(const wchar_t* extension);

CMainFrame* Frame();
// The command as the main menu sends it; the loop then runs until idle.
void Command(UINT id);
// The state of the main menu's item once its pull-down menu was prepared;
// -1 when the menu has no such item.
UINT MenuState(UINT id);

// Every document closed unasked.
void CloseDocuments();

// File dialogs make the folder they end in the current one: this puts the
// test's folder back.
struct KeepCurrentFolder {
    KeepCurrentFolder() : folder(WorkingFolder()) {}
    ~KeepCurrentFolder() { ::SetCurrentDirectoryW(folder); }
    CString folder;
};

} // namespace commands_test
