// The main frame's private messages and the file watcher's notices for the
// current road's files.
#include "shell_world.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/DialogBar_Html.h"
#include "brisko/shell/FileWatch.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "corvane/project/TavixInterface.h"
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"

using namespace shell_test;

namespace {

CString LastLine()
{
    std::vector<CString> lines = InfoLines();
    return lines.empty() ? CString(L"<none>") : lines.back();
}

CString EpjPath() { return ProjectFolder() + L"\\" + kProjectName + L".EPJ"; }

// Restores a road file to the world's text when it goes.
class RoadFileGuard
{
public:
    RoadFileGuard(const wchar_t* ext, const char* text) : m_path(RoadFile(kMainRoad, ext)), m_text(text) {}
    ~RoadFileGuard() { WriteBytes(m_path, m_text); }
    const CString& Path() const { return m_path; }

private:
    CString m_path;
    const char* m_text;
};

// The watcher's notice of a change of the path: the id of a watch of it
// (0, which names no watch, when the path cannot be watched).
LRESULT NotifyChange(const CString& path)
{
    const DWORD id = AddFileWatch(path, theApp.m_pMainWnd->GetSafeHwnd(), nullptr);
    const LRESULT result = theApp.m_pMainWnd->SendMessage(GetFileWatchMessage(), 0, id);
    RemoveFileWatch(id);
    return result;
}

class MessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        frame = theApp.MainFrame();
    }
    void TearDown() override
    {
        theApp.CloseAllDocuments(TRUE);
        // The world's road data again, with new watches that take the
        // restored files as they are.
        frame->SendMessage(WM_PROJECTCHANGED);
        wintest::PumpUntilIdle();
    }
    CMainFrame* frame = nullptr;
};

} // namespace

TEST_F(MessagesTest, ThePendingFileOfTheSettingsIsOpened)
{
    theApp.m_SPendingProject.Empty();
    SetRegString(HKEY_CURRENT_USER, kSettingsKey, L"OPENFILENAME", L"");
    frame->SendMessage(WM_OPENPENDINGFILE);
    EXPECT_TRUE(theApp.m_SPendingProject.IsEmpty());
    SetRegString(HKEY_CURRENT_USER, kSettingsKey, L"OPENFILENAME", EpjPath());
    frame->SendMessage(WM_OPENPENDINGFILE);
    EXPECT_EQ(EpjPath(), theApp.m_SPendingProject);
    // A path longer than 255 characters arrives whole.
    CString deep = L"Z:\\";
    while (deep.GetLength() < 300) deep += L"很深的文件夹\\";
    deep += L"项目.epj";
    SetRegString(HKEY_CURRENT_USER, kSettingsKey, L"OPENFILENAME", deep);
    frame->SendMessage(WM_OPENPENDINGFILE);
    EXPECT_EQ(deep, theApp.m_SPendingProject);
}

TEST_F(MessagesTest, AProjectChangeReloadsTheRoadData)
{
    RoadFileGuard dmx(L"DMX", kDMXText);
    WriteBytes(dmx.Path(), "0 100\r\n500 105\r\n");
    frame->ShowControlBar(&frame->m_wndProjectBar, FALSE, FALSE);
    frame->SendMessage(WM_PROJECTCHANGED);
    EXPECT_EQ(2, CurRoadProfile.GetDMXCount());
    EXPECT_EQ(3, CurRoadProfile.GetBPDCount());
    EXPECT_TRUE(frame->m_wndProjectBar.IsWindowVisible());
    EXPECT_EQ(RoadFile(kMainRoad, L"DMX"), frame->WatchedPath(1));
}

TEST_F(MessagesTest, FailedRoadLoadsAreReportedAndPrinted)
{
    MessageBoxScript boxes;
    CString& chain = theApp.m_CurProject.m_Roads[0].m_SBreakChain;
    const CString kept = chain;
    chain = L"1200=";
    RoadFileGuard dmx(L"DMX", kDMXText);
    WriteBytes(dmx.Path(), "0 100\r\nK0+500 高程\r\n");
    frame->SendMessage(WM_PROJECTCHANGED);
    chain = kept;

    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"加载道路属性[断链信息]失败!\n\n1200="), boxes.Shown()[0].text);
    EXPECT_EQ(1, CurRoadBreakChain.GetBreakChainCount()); // the chain without breaks
    EXPECT_EQ(0, boxes.Shown()[1].text.Find(L"加载纵断面地面线失败!\n\n"));
    EXPECT_EQ(boxes.Shown()[1].text, LastLine());
}

TEST_F(MessagesTest, OpeningAProjectAsksBeforeClosingDocuments)
{
    MessageBoxScript boxes;
    const CString data = ProjectFolder() + L"\\说明.txt";
    WriteText(data, L"x");
    CDocument* document = OpenTestDocument(data);
    ASSERT_NE(nullptr, document);
    document->SetModifiedFlag(TRUE);

    // The application's project is the current one: no question, the
    // project tree only says that it is open.
    theApp.m_SPendingProject = EpjPath();
    frame->SendMessage(WM_OPENPROJECT);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"项目<%s>已经打开!", kProjectName), boxes.LastText());
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());

    const CString name = theApp.m_CurProject.m_SName;
    theApp.m_CurProject.m_SName = L"另一个项目";
    const CString question = ClFormat(L"将打开项目文件<%s>, 关闭当前项目<另一个项目>及打开的所有文档, 是否继续?",
                                      EpjPath().GetString());
    // No: nothing closes.
    boxes.Answer(IDNO);
    frame->SendMessage(WM_OPENPROJECT);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(question, boxes.Shown()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[1].type);
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());
    // Yes, then Cancel at the modified document: nothing closes.
    boxes.Answer(IDYES);
    boxes.Answer(IDCANCEL);
    frame->SendMessage(WM_OPENPROJECT);
    ASSERT_EQ(4u, boxes.Shown().size());
    EXPECT_NE(-1, boxes.Shown()[3].text.Find(data));
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());
    // Yes, then No at the document: its changes are dropped and it closes;
    // the project tree opens the project of the file.
    boxes.Answer(IDYES);
    boxes.Answer(IDNO);
    frame->SendMessage(WM_OPENPROJECT);
    ASSERT_EQ(7u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.LastText().Find(ClFormat(L"导入设计项目[%s]", kProjectName)));
    EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    EXPECT_EQ(name, theApp.m_CurProject.m_SName);

    // Blanks around the path; an empty one does nothing.
    theApp.m_SPendingProject = L"   ";
    frame->SendMessage(WM_OPENPROJECT);
    EXPECT_EQ(7u, boxes.Shown().size());
}

TEST_F(MessagesTest, TheReferencePageIsClosed)
{
    MessageBoxScript boxes; // the scratch installation has no help file
    auto* page = new CDialogBar_Html(frame);
    ASSERT_TRUE(page->GetSafeHwnd());
    const HWND window = page->m_hWnd;
    frame->m_pReferencePage = page;
    frame->SendMessage(WM_CLOSEREFERENCEPAGE);
    EXPECT_EQ(nullptr, frame->m_pReferencePage);
    EXPECT_FALSE(IsWindow(window));
    frame->SendMessage(WM_CLOSEREFERENCEPAGE); // none: nothing
}

// ---------------------------------------------------------------------------
// File-change notices

TEST_F(MessagesTest, ChangedGroundLineAndCurvesAreReloaded)
{
    RoadFileGuard dmx(L"DMX", kDMXText);
    RoadFileGuard sqx(L"SQX", kSQXText);
    WriteBytes(dmx.Path(), "0 100\r\n300 103\r\n600 104\r\n");
    CString upper = dmx.Path();
    upper.MakeUpper(); // the watcher's path may differ in case
    EXPECT_EQ(0, NotifyChange(upper));
    EXPECT_EQ(3, CurRoadProfile.GetDMXCount());
    EXPECT_EQ(CString(L"重新加载纵断面地面线信息!"), LastLine());

    WriteBytes(sqx.Path(), "0 100\r\n300 106 6000\r\n600 103 8000\r\n1000 101 0\r\n");
    NotifyChange(sqx.Path());
    EXPECT_EQ(4, CurRoadProfile.GetBPDCount());
    EXPECT_EQ(CString(L"重新加载纵断面竖曲线信息!"), LastLine());
}

TEST_F(MessagesTest, AGroundLineChangedByAnotherProgramIsReloadedThroughTheWatch)
{
    RoadFileGuard dmx(L"DMX", kDMXText);
    CString watched;
    ASSERT_TRUE(GetFileWatchPath(frame->m_dwRoadFileWatch[1], watched));
    EXPECT_EQ(dmx.Path(), watched);

    CString command;
    command.Format(L"\"%s\\appendline.exe\" \"%s\" \"1200.000 102.000\"", BinFolder().GetString(),
                   dmx.Path().GetString());
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    std::wstring line = command.str();
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &process));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 20000));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const DWORD start = GetTickCount();
    while (CurRoadProfile.GetDMXCount() != 8 && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        wintest::PumpUntilIdle(200);
    }
    EXPECT_EQ(8, CurRoadProfile.GetDMXCount());
    EXPECT_EQ(CString(L"重新加载纵断面地面线信息!"), LastLine());

    // A project change replaces the watches.
    const DWORD before = frame->m_dwRoadFileWatch[1];
    frame->SendMessage(WM_PROJECTCHANGED);
    EXPECT_FALSE(GetFileWatchPath(before, watched));
    EXPECT_TRUE(GetFileWatchPath(frame->m_dwRoadFileWatch[1], watched));
}

TEST_F(MessagesTest, AChangedBreakChainIsTakenAfterAsking)
{
    MessageBoxScript boxes;
    RoadFileGuard dl(L"DL", kDLText);
    WriteBytes(dl.Path(), "300.000 310.000\r\n1200.000 1180.000\r\n");

    boxes.Answer(IDNO);
    NotifyChange(dl.Path());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"断链文件已经修改, 是否更新当前道路的断链数据?"), boxes.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL), boxes.Shown()[0].type);
    EXPECT_EQ(2, CurRoadBreakChain.GetBreakChainCount());

    boxes.Answer(IDYES);
    NotifyChange(dl.Path());
    EXPECT_EQ(3, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(CString(L"300.000=310.000, 1200.000=1180.000"), theApp.m_CurProject.m_Roads[0].m_SBreakChain);
    tkxProject saved;
    ASSERT_EQ(1, saved.Load(EpjPath()));
    EXPECT_EQ(CString(L"300.000=310.000, 1200.000=1180.000"), saved.m_Roads[0].m_SBreakChain);
    EXPECT_EQ(CString(L"重新加载断链及纵断面信息!"), LastLine());
    EXPECT_EQ(2u, boxes.Shown().size());

    // A file that cannot be read keeps the chain, and the user is told why.
    WriteBytes(dl.Path(), "300.000 310.000\r\n1200.000\r\n");
    boxes.Answer(IDYES);
    NotifyChange(dl.Path());
    EXPECT_EQ(3, CurRoadBreakChain.GetBreakChainCount());
    ASSERT_EQ(4u, boxes.Shown().size());
    const CString why = L"断链文件(" + dl.Path() + L")\n\n第2行格式错误!";
    EXPECT_EQ(why, boxes.Shown()[3].text);
    EXPECT_EQ(why, LastLine());

    // Back to the world's chain.
    theApp.m_CurProject.m_Roads[0].m_SBreakChain = L"1200.000=1180.000";
    ASSERT_EQ(1, tkx_UpdateProject(&theApp.m_CurProject, 1));
}

// Another program makes another road current: the road's data and the
// watches of its files follow, and a change of the old road's files touches
// neither the new road nor the project file.
TEST_F(MessagesTest, ARoadSwitchFromAnotherProgramTakesTheRoadsDataAndWatches)
{
    auto switchTo = [](const wchar_t* road) {
        const CString text = ClFormat(L"SETCURPRJ:%s|SETCURROAD:%s", kProjectName, road);
        COPYDATASTRUCT copy = {0, static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t)),
                               const_cast<wchar_t*>(text.GetString())};
        theApp.m_pMainWnd->SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    };
    MessageBoxScript boxes;
    RoadFileGuard mainDL(L"DL", kDLText);
    const CString rampDL = RoadFile(kRampRoad, L"DL");
    const DWORD oldWatch = frame->m_dwRoadFileWatch[0];
    ASSERT_NE(0u, oldWatch);
    ASSERT_EQ(2, CurRoadBreakChain.GetBreakChainCount());

    switchTo(kRampRoad);
    ASSERT_EQ(1, theApp.m_CurProject.m_iCurRoad);
    // The ramp has no break chain, no ground line, no curves and no files.
    EXPECT_EQ(1, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(0, CurRoadProfile.GetDMXCount());
    EXPECT_EQ(0, CurRoadProfile.GetBPDCount());
    CString watched;
    EXPECT_FALSE(GetFileWatchPath(oldWatch, watched));
    for (DWORD id : frame->m_dwRoadFileWatch) EXPECT_EQ(0u, id);

    // The old road's break chain changes: nobody is asked, nothing is
    // written into the ramp's record or the project file.
    WriteBytes(mainDL.Path(), "300.000 310.000\r\n1200.000 1180.000\r\n");
    boxes.Answer(IDYES);
    EXPECT_EQ(0, NotifyChange(mainDL.Path()));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(CString(), theApp.m_CurProject.m_Roads[1].m_SBreakChain);
    tkxProject saved;
    ASSERT_EQ(1, saved.Load(EpjPath()));
    EXPECT_EQ(CString(), saved.m_Roads[1].m_SBreakChain);
    EXPECT_EQ(CString(L"1200.000=1180.000"), saved.m_Roads[0].m_SBreakChain);
    EXPECT_EQ(1, CurRoadBreakChain.GetBreakChainCount());

    // The ramp's own break chain, once it has one, is followed; a road
    // without a ground line or curves reloads none and says nothing.
    WriteBytes(rampDL, "500.000 510.000\r\n");
    frame->SendMessage(WM_PROJECTCHANGED);
    ASSERT_TRUE(GetFileWatchPath(frame->m_dwRoadFileWatch[0], watched));
    EXPECT_EQ(0, rampDL.CompareNoCase(watched));
    boxes.Answer(IDYES);
    NotifyChange(rampDL);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"断链文件已经修改, 是否更新当前道路的断链数据?"), boxes.Shown()[0].text);
    EXPECT_EQ(2, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(CString(L"500.000=510.000"), theApp.m_CurProject.m_Roads[1].m_SBreakChain);
    EXPECT_EQ(CString(L"重新加载断链及纵断面信息!"), LastLine());

    // Back to the main road with its own data; the ramp as the world made it.
    switchTo(kMainRoad);
    ASSERT_EQ(0, theApp.m_CurProject.m_iCurRoad);
    EXPECT_EQ(2, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(7, CurRoadProfile.GetDMXCount());
    DeleteFileW(rampDL);
    theApp.m_CurProject.m_Roads[1].m_SBreakChain.Empty();
    ASSERT_EQ(1, tkx_UpdateProject(&theApp.m_CurProject, 1));
}

TEST_F(MessagesTest, OnlyTheFollowedFilesCount)
{
    MessageBoxScript boxes;
    // Files whose names merely contain ".DL", ".DMX" or ".SQX", and a
    // followed file that is gone.
    const CString others[] = {ProjectFolder() + L"\\" + kMainRoad + L"\\" + kMainRoad + L".DLX",
                              ProjectFolder() + L"\\" + kMainRoad + L"\\旧.DL.bak",
                              ProjectFolder() + L"\\" + kRampRoad + L"\\" + kRampRoad + L".DMX"};
    for (const CString& path : others) WriteText(path, L"0 100\n");
    frame->PrintToInfoWindow(L"<标记>");
    for (const CString& path : others) EXPECT_EQ(0, NotifyChange(path)) << Utf8(path);
    NotifyChange(ProjectFolder() + L"\\" + kMainRoad + L"\\没有.SQX");
    NotifyChange(CString());
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(CString(L"<标记>"), LastLine()); // nothing printed since
    EXPECT_EQ(7, CurRoadProfile.GetDMXCount());
    for (const CString& path : others) DeleteFileW(path);
}

TEST_F(MessagesTest, AFailedReloadIsShownAndPrinted)
{
    MessageBoxScript boxes;
    RoadFileGuard sqx(L"SQX", kSQXText);
    WriteBytes(sqx.Path(), "0 100\r\n300 x 6000\r\n");
    NotifyChange(sqx.Path());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(tkx_GetLastError(), boxes.Shown()[0].text);
    EXPECT_FALSE(boxes.Shown()[0].text.IsEmpty());
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION | MB_SYSTEMMODAL), boxes.Shown()[0].type);
    EXPECT_EQ(boxes.Shown()[0].text, LastLine()); // the message with its path, whole
    EXPECT_EQ(3, CurRoadProfile.GetBPDCount()); // the curves as they were
}
