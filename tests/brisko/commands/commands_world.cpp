#include "commands_world.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"

namespace commands_test {

const wchar_t kProjectName[] = L"命令 项目";
const wchar_t kRoadName[] = L"一号路";

namespace {

::testing::Environment* const g_world =
    ::testing::AddGlobalTestEnvironment(new OneRoadWorld(L"brisko_commands", kProjectName, kRoadName));

} // namespace

CString ProjectFolder() { return OneRoadWorld::ProjectFolder(); }

CString RoadFolder() { return OneRoadWorld::RoadFolder(); }

CString RoadFile(const wchar_t* extension) { return RoadFolder() + L"\\" + kRoadName + extension; }

CMainFrame* Frame() { return theApp.MainFrame(); }

void Command(UINT id)
{
    Frame()->SendMessage(WM_COMMAND, id);
    PumpUntilIdle();
}

UINT MenuState(UINT id)
{
    CMainFrame* frame = Frame();
    HMENU bar = ::GetMenu(*frame);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        HMENU popup = ::GetSubMenu(bar, i);
        if (::GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);
        return ::GetMenuState(popup, id, MF_BYCOMMAND);
    }
    return static_cast<UINT>(-1);
}

void CloseDocuments()
{
    theApp.CloseAllDocuments(FALSE);
    PumpUntilIdle();
}

} // namespace commands_test
