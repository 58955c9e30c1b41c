#include "commands_world.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"

namespace commands_test {

const wchar_t kProjectName[] = L"命令 项目";
const wchar_t kRoadName[] = L"一号路";

namespace {

CString& Folder()
{
    static CString folder;
    return folder;
}

class CommandsWorld : public BriskoWorld
{
public:
    CommandsWorld() : BriskoWorld(L"brisko_commands") {}

protected:
    void Seed() override
    {
        SeedSettings({{L"MainWndLEFT", 0}, {L"MainWndTOP", 0}, {L"MainWndRIGHT", 1000}, {L"MainWndBOTTOM", 700}});
        Folder() = RegisterProject(kProjectName, kRoadName);
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        RemoveProjects();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new CommandsWorld);

} // namespace

CString ProjectFolder() { return Folder(); }

CString RoadFolder() { return Folder() + L"\\" + kRoadName; }

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

std::string Fixture(const char* name)
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_RCDATA));
    EXPECT_NE(nullptr, found) << "no fixture " << name;
    if (!found) return std::string();
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    return std::string(data, ::SizeofResource(module, found));
}

bool IsOpen(const CString& path)
{
    for (POSITION pos = theApp.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documents = theApp.GetNextDocTemplate(pos);
        for (POSITION doc = documents->GetFirstDocPosition(); doc;)
            if (documents->GetNextDoc(doc)->GetPathName().CompareNoCase(path) == 0) return true;
    }
    return false;
}

void CloseDocuments()
{
    theApp.CloseAllDocuments(FALSE);
    PumpUntilIdle();
}

} // namespace commands_test
