#include "pages_world.h"
#include "corvane/project/TavixInterface.h"
#include "corvane/road/BreakChain.h"
#include "brisko/shell/Messages.h"

namespace pages_test {

const wchar_t kRoadName[] = L"一号路";

namespace {

const wchar_t kProjectName[] = L"页面 项目";

CString& Folder()
{
    static CString folder;
    return folder;
}

// The demo project's road (made by demo_project.exe beside the program's
// folder before this program runs).
CString DemoRoadFolder() { return BinFolder() + L"\\..\\demo\\示范项目\\一号路"; }

class PagesWorld : public BriskoWorld
{
public:
    PagesWorld() : BriskoWorld(L"brisko_pages") {}

protected:
    void Seed() override
    {
        SeedSettings({
            {L"ShowToopTip", 1},     {L"IconReg", 1},           {L"MainWndLEFT", 0},
            {L"MainWndTOP", 0},      {L"MainWndRIGHT", 1100},   {L"MainWndBOTTOM", 760},
            {L"MainWnd_SHOWPROJECT", 1}, {L"MainWnd_SHOWHDMWND", 1},
        });
        Folder() = MakeProjectFolder(kProjectName);
        ASSERT_TRUE(CreateDirectoryW(RoadFolder(), nullptr));
        for (const wchar_t* ext : {L"DL", L"DMX", L"SQX", L"HDX"})
            ASSERT_TRUE(CopyFileW(ClFormat(L"%s\\%s.%s", DemoRoadFolder().GetString(), kRoadName, ext), RoadFile(ext),
                                  FALSE))
                << "the demo project is made by demo_project.exe: " << Utf8(DemoRoadFolder());
        tkxBreakChain chain;
        ASSERT_EQ(1, chain.LoadDLFile(RoadFile(L"DL")));
        tkxProject project;
        project.m_SName = kProjectName;
        project.m_SPath = Folder();
        Tavix4::sRoadInfo road;
        road.m_SRoadName = kRoadName;
        road.m_SBreakChain = chain.OutputToSText();
        project.m_Roads.Add(road);
        project.m_iCurRoad = 0;
        ASSERT_EQ(1, tkx_AddProject(&project, nullptr));
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        RemoveProjects();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new PagesWorld);

template <class Page>
Page* PageOf()
{
    CMainFrame* frame = Frame();
    return frame ? static_cast<Page*>(frame->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(Page))) : nullptr;
}

} // namespace

CString RoadFolder() { return Folder() + L"\\" + kRoadName; }

CString RoadFile(const wchar_t* ext) { return ClFormat(L"%s\\%s.%s", RoadFolder().GetString(), kRoadName, ext); }

CMainFrame* Frame() { return theApp.MainFrame(); }
CPPage_InfoBar* InfoPage() { return PageOf<CPPage_InfoBar>(); }
CPPage_ZDMInfo* ProfilePage() { return PageOf<CPPage_ZDMInfo>(); }
CPPage_HDXInfo* SectionPage() { return PageOf<CPPage_HDXInfo>(); }

RoadData::RoadData(const wchar_t* chain, const wchar_t* groundLine, const wchar_t* curves)
{
    ScratchFolder folder(L"road_data");
    CurRoadProfile.Reset();
    EXPECT_EQ(1, CurRoadBreakChain.GetDLFromString(chain));
    CurRoadProfile.SetBreakChain(&CurRoadBreakChain);
    if (groundLine && *groundLine) {
        WriteText(folder / L"test.DMX", groundLine);
        EXPECT_EQ(1, CurRoadProfile.LoadDMXFile(folder / L"test.DMX")) << Utf8(tkx_GetLastError());
    }
    if (curves && *curves) {
        WriteText(folder / L"test.SQX", curves);
        EXPECT_EQ(1, CurRoadProfile.LoadSQXFile(folder / L"test.SQX")) << Utf8(tkx_GetLastError());
    }
    if (CPPage_ZDMInfo* page = ProfilePage()) page->SendMessage(WM_PROFILEDATACHANGED);
}

RoadData::~RoadData()
{
    theApp.LoadCurrentRoadData();
    if (CPPage_ZDMInfo* page = ProfilePage()) page->SendMessage(WM_PROFILEDATACHANGED);
}

wintest::Image Rendering(CWnd* wnd, const wchar_t* name)
{
    wintest::Image image = wintest::PrintWindowImage(wnd, true);
    image.SaveBmp(CString(name) + L".bmp");
    return image;
}

CString StatusText()
{
    CMainFrame* frame = Frame();
    return frame ? frame->m_wndStatusBar.GetPaneText(0) : CString();
}

void Mouse(CWnd* wnd, UINT message, int x, int y, UINT flags)
{
    wnd->SendMessage(message, flags, MAKELPARAM(x, y));
}

void Wheel(CWnd* wnd, int notches, int x, int y)
{
    CPoint screen(x, y);
    wnd->ClientToScreen(&screen);
    wnd->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
}

} // namespace pages_test
