// Starting, finding and messaging the suite's programs, against stand-ins of
// Brisko's main window, the design assistant and the CAD host: each records
// what it is sent, so the WM_COPYDATA payloads are checked byte for byte.
#include "corvane/project/TavixInterface.h"
#include "interface_test_support.h"
#include <cstdint>
#include <cstring>
#include <memory>

using namespace interface_test;

namespace {

const UINT kTypeMask = MB_TYPEMASK | MB_ICONMASK;

std::string Int32(int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

// The 116-byte road record the design assistant is sent.
std::string AssistRecord(int32_t level, int32_t speed, int32_t landform, int32_t climate, const wchar_t* name)
{
    return Int32(level) + Int32(speed) + Int32(landform) + Int32(climate) + Padded(Utf16Bytes(name), 100);
}

// Whether any record of the kind carries exactly this data word and payload.
bool HasCopyData(const std::vector<Record>& records, const char* kind, unsigned long word, const std::string& bytes)
{
    for (const Record& r : RecordsOf(records, kind))
        if (r.numbers.size() == 2 && r.numbers[0] == word && r.numbers[1] == bytes.size() && r.bytes == bytes)
            return true;
    return false;
}

// A top-level window of this test program, with a window property or title.
class OwnWindow
{
public:
    OwnWindow(const wchar_t* title, const wchar_t* property)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TkxInterfaceTestWindow";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                                   wc.hInstance, nullptr);
        if (property) SetPropW(m_window, property, reinterpret_cast<HANDLE>(7));
        m_property = property;
    }
    ~OwnWindow()
    {
        if (m_property) RemovePropW(m_window, m_property);
        DestroyWindow(m_window);
    }
    HWND Handle() const { return m_window; }

private:
    HWND m_window;
    const wchar_t* m_property;
};

// Registers a project with two roads, the first current, as the current
// project of the library.
tkxProject RegisterProject(const ScratchFolder& folder, const wchar_t* name)
{
    tkxProject project = MakeProject(folder.Path(), name, {L"接口主线", L"IF-Ramp 7"});
    project.m_iLandform = 2;
    project.m_iClimate = 1;
    project.m_Roads[1].m_RoadLevel = Tavix4::ROAD_RAMP;
    project.m_Roads[1].m_rDesignSpeed = 40.7;
    EXPECT_EQ(1, project.Save());
    EXPECT_EQ(1, tkx_AddProject(&project, nullptr));
    return project;
}

CString EpjOf(const tkxProject& project) { return project.m_SPath + L"\\" + project.m_SName + L".EPJ"; }

// ---------------------------------------------------------------------------
// Without the suite's programs

class SuiteProgramsAlone : public ::testing::Test
{
protected:
    void SetUp() override { ResetLibraryState(); }
    void TearDown() override { ResetLibraryState(); }

    ScratchFolder m_folder{L"alone"};
    MessageBoxScript m_boxes;
};

TEST_F(SuiteProgramsAlone, ProgramsThatDoNotRunAreNotAnError)
{
    EXPECT_TRUE(tkx_GetBriskoWnd() == nullptr);
    EXPECT_TRUE(tkx_GetTavixAssistWnd() == nullptr);
    tkx_TavixPrintf(const_cast<wchar_t*>(L"%d"), 1);
    tkx_BriskoUnload();
    tkx_SendStringToAssist(L"text", 1);
    tkx_ExitAssist();
    tkx_SetTvStatusBarMeshName(L"mesh");
    EXPECT_TRUE(m_boxes.Shown().empty());
}

TEST_F(SuiteProgramsAlone, BriskoIsFoundByAnyOfItsPropertyNames)
{
    for (const wchar_t* name : {L"Brisko7", L"Brisko", L"Brisko_x64"}) {
        OwnWindow window(L"main frame", name);
        EXPECT_EQ(window.Handle(), tkx_GetBriskoWnd()) << Utf8(name);
    }
    OwnWindow other(L"main frame", L"Brisko8");
    EXPECT_TRUE(tkx_GetBriskoWnd() == nullptr);
}

TEST_F(SuiteProgramsAlone, TheAssistantIsFoundByItsExactTitle)
{
    OwnWindow near(L"设计助手 2", nullptr);
    EXPECT_TRUE(tkx_GetTavixAssistWnd() == nullptr);
    OwnWindow exact(L"设计助手", nullptr);
    EXPECT_EQ(exact.Handle(), tkx_GetTavixAssistWnd());
}

TEST_F(SuiteProgramsAlone, MissingProgramsAreReported)
{
    CString brisko = InstallFolder() + L"\\Bin\\Brisko.exe";
    tkx_StartBrisko(nullptr);
    ASSERT_EQ(1u, m_boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"%s文件不存在，无法启动TAVIX项目数据环境!\n\n请复制该文件到Bin路径中，或重新安装TAVIX3.0程序。",
                       brisko.GetString()),
              m_boxes.Shown()[0].text);
    EXPECT_STREQ(L"TAVIX", m_boxes.Shown()[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), m_boxes.Shown()[0].type & kTypeMask);

    EXPECT_EQ(0, tkx_ViewFile(L"C:\\data\\a.DMX"));
    ASSERT_EQ(2u, m_boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"TAVIX项目数据环境程序<%s>没有找到!", brisko.GetString()), m_boxes.Shown()[1].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), m_boxes.Shown()[1].type & kTypeMask);
    EXPECT_EQ(0, tkx_ViewFile(L""));
    EXPECT_EQ(2u, m_boxes.Shown().size());

    EXPECT_LE(tkx_WinExec(InstallFolder() + L"\\Bin\\TavixAssist.exe", SW_SHOWDEFAULT), 31u);
    tkx_StartTavixAssist();
    EXPECT_EQ(2u, m_boxes.Shown().size());
}

TEST_F(SuiteProgramsAlone, StartingBriskoRunsItsProgram)
{
    InstalledProgram brisko(L"briskownd", L"Brisko.exe");
    tkx_StartBrisko(nullptr);
    ASSERT_TRUE(brisko.WaitReady());
    EXPECT_TRUE(m_boxes.Shown().empty());
    EXPECT_TRUE(RecordsOf(ReadRecords(brisko.Log()), "COMMANDLINE").empty());
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i, Sleep(50)) window = tkx_GetBriskoWnd();
    EXPECT_TRUE(window != nullptr);
}

TEST_F(SuiteProgramsAlone, ARunningBriskoIsRestoredNotStartedAgain)
{
    InstalledProgram program(L"briskownd", L"Brisko.exe");
    StandIn brisko(L"briskownd", L"--minimized", m_folder / L"brisko.log");
    ASSERT_TRUE(brisko.Ready());
    HWND window = tkx_GetBriskoWnd();
    ASSERT_TRUE(window != nullptr);
    ASSERT_TRUE(IsIconic(window));
    tkx_StartBrisko(nullptr);
    EXPECT_FALSE(IsIconic(window));
    Sleep(300);
    EXPECT_FALSE(FileExists(program.Log()));
}

TEST_F(SuiteProgramsAlone, AViewedPathWithBlanksArrivesUnchanged)
{
    InstalledProgram brisko(L"briskownd", L"Brisko.exe");
    CString path = m_folder / L"my road data\\K0 主线.DMX";
    ASSERT_EQ(1, tkx_ViewFile(path));
    // The stand-in records its command line before it is ready.
    ASSERT_TRUE(brisko.WaitReady());
    EXPECT_EQ(Utf16Bytes(path), RecordsOf(ReadRecords(brisko.Log()), "COMMANDLINE")[0].bytes);
    EXPECT_TRUE(m_boxes.Shown().empty());
}

TEST_F(SuiteProgramsAlone, BriskoIsAskedToExitOnlyOnYes)
{
    StandIn brisko(L"briskownd", L"", m_folder / L"brisko.log");
    ASSERT_TRUE(brisko.Ready());
    m_boxes.Answer(IDNO);
    tkx_BriskoUnload();
    ASSERT_EQ(1u, m_boxes.Shown().size());
    EXPECT_STREQ(L"是否关闭项目数据环境?", m_boxes.Shown()[0].text);
    EXPECT_STREQ(L"TAVIX", m_boxes.Shown()[0].caption);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), m_boxes.Shown()[0].type & kTypeMask);
    EXPECT_FALSE(brisko.Ended(500));
    EXPECT_TRUE(RecordsOf(brisko.Records(), "EXIT").empty());

    m_boxes.Answer(IDYES);
    tkx_BriskoUnload();
    EXPECT_TRUE(brisko.Ended(10000));
    EXPECT_EQ(1u, RecordsOf(brisko.Records(), "EXIT").size());
}

TEST_F(SuiteProgramsAlone, TheAssistantIsStartedAndToldToExit)
{
    InstalledProgram assist(L"assistwnd", L"TavixAssist.exe");
    tkx_StartTavixAssist();
    ASSERT_TRUE(assist.WaitReady());
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i, Sleep(50)) window = tkx_GetTavixAssistWnd();
    ASSERT_TRUE(window != nullptr);

    tkx_ExitAssist();
    std::vector<Record> records = ReadRecords(assist.Log());
    EXPECT_TRUE(HasCopyData(records, "COPYDATA", 0, ""));
    EXPECT_EQ(1u, RecordsOf(records, "EXIT").size());
    for (int i = 0; i < 100 && tkx_GetTavixAssistWnd(); ++i) Sleep(50);
    EXPECT_TRUE(tkx_GetTavixAssistWnd() == nullptr);
}

TEST_F(SuiteProgramsAlone, RoadChangesThatCannotBeMade)
{
    tkxProject project = RegisterProject(m_folder, L"接口项目");
    tkxProject empty = project;
    empty.m_Roads.RemoveAll();
    empty.m_iCurRoad = -1;
    tkx_SetCurProject(&empty);
    EXPECT_EQ(0, tkx_ChangeCurRoad(L"接口主线", nullptr, 1, 1));
    EXPECT_STREQ(L"当前项目未包含道路记录!", m_boxes.LastText());

    tkxProject damaged = project;
    damaged.m_iCurRoad = 5;
    tkx_SetCurProject(&damaged);
    EXPECT_EQ(0, tkx_ChangeCurRoad(L"接口主线", nullptr, 1, 1));
    EXPECT_STREQ(L"非法道路记录数!", m_boxes.LastText());

    tkx_SetCurProject(&project);
    EXPECT_EQ(0, tkx_ChangeCurRoad(L"ramp a", nullptr, 1, 1));
    EXPECT_STREQ(L"当前项目中没有名为[ramp a]的道路记录!", m_boxes.LastText());
    EXPECT_STREQ(L"TAVIX", m_boxes.Shown().back().caption);

    // A project file that cannot be written: the change does not count.
    tkxProject homeless = project;
    homeless.m_SPath = m_folder / L"gone";
    tkx_SetCurProject(&homeless);
    EXPECT_EQ(0, tkx_ChangeCurRoad(L"IF-Ramp 7", nullptr, 0, 0));
    EXPECT_STREQ(L"接口主线", tkx_GetWorkSpace().m_SCurRoadName);
}

TEST_F(SuiteProgramsAlone, ARoadCanBeChosenWhenNoneIsCurrent)
{
    tkxProject project = RegisterProject(m_folder, L"接口项目");
    project.m_iCurRoad = -1;
    tkx_SetCurProject(&project);
    ASSERT_EQ(1, tkx_ChangeCurRoad(L"IF-Ramp 7", nullptr, 1, 1));
    tkxProject reread;
    ASSERT_EQ(1, reread.Load(EpjOf(project)));
    EXPECT_EQ(1, reread.m_iCurRoad);
    EXPECT_TRUE(m_boxes.Shown().empty());
}

// ---------------------------------------------------------------------------
// With Brisko, the assistant and a CAD host with the suite status bar running

class SuiteProgramsRunning : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_folder.reset(new ScratchFolder(L"running"));
        s_brisko.reset(new StandIn(L"briskownd", L"--seconds 300", *s_folder / L"brisko.log"));
        s_assist.reset(new StandIn(L"assistwnd", L"--seconds 300", *s_folder / L"assist.log"));
        s_host.reset(new StandIn(L"acad", L"300 --statusbar", *s_folder / L"acad.log"));
    }
    static void TearDownTestSuite()
    {
        s_host.reset();
        s_assist.reset();
        s_brisko.reset();
        s_folder.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_brisko->Ready());
        ASSERT_TRUE(s_assist->Ready());
        ASSERT_TRUE(s_host->Ready());
        ResetLibraryState();
        m_seen[0] = s_brisko->Records().size();
        m_seen[1] = s_assist->Records().size();
        m_seen[2] = s_host->Records().size();
    }
    void TearDown() override { ResetLibraryState(); }

    // What each stand-in recorded since the test began.
    std::vector<Record> Brisko() const { return s_brisko->Records(m_seen[0]); }
    std::vector<Record> Assist() const { return s_assist->Records(m_seen[1]); }
    std::vector<Record> Host() const { return s_host->Records(m_seen[2]); }

    static std::unique_ptr<ScratchFolder> s_folder;
    static std::unique_ptr<StandIn> s_brisko;
    static std::unique_ptr<StandIn> s_assist;
    static std::unique_ptr<StandIn> s_host;
    size_t m_seen[3] = {};
    MessageBoxScript m_boxes;
};

std::unique_ptr<ScratchFolder> SuiteProgramsRunning::s_folder;
std::unique_ptr<StandIn> SuiteProgramsRunning::s_brisko;
std::unique_ptr<StandIn> SuiteProgramsRunning::s_assist;
std::unique_ptr<StandIn> SuiteProgramsRunning::s_host;

TEST_F(SuiteProgramsRunning, TheStandInsAreFound)
{
    DWORD process = 0;
    GetWindowThreadProcessId(tkx_GetBriskoWnd(), &process);
    EXPECT_EQ(s_brisko->ProcessId(), process);
    GetWindowThreadProcessId(tkx_GetTavixAssistWnd(), &process);
    EXPECT_EQ(s_assist->ProcessId(), process);
}

TEST_F(SuiteProgramsRunning, PrintedLinesReachBriskosInformationWindow)
{
    tkx_TavixPrintf(const_cast<wchar_t*>(L"第%d行: %s"), 3, L"完成");
    ASSERT_EQ(1u, m_boxes.Shown().size());
    EXPECT_STREQ(L"TAVIX_PRINTF:第3行: 完成", m_boxes.Shown()[0].text);
    EXPECT_EQ(UINT(MB_OK), m_boxes.Shown()[0].type & MB_TYPEMASK);

    std::vector<Record> records = Brisko();
    EXPECT_TRUE(HasCopyData(records, "COPYDATA", 0, Padded(Utf16Bytes(L"TAVIX_PRINTF:第3行: 完成"), 8192)));
    ASSERT_EQ(1u, RecordsOf(records, "PRINT").size());
    EXPECT_EQ(Utf16Bytes(L"第3行: 完成"), RecordsOf(records, "PRINT")[0].bytes);
}

TEST_F(SuiteProgramsRunning, ALongPrintedLineIsCutToFitWithItsTerminator)
{
    std::wstring text(5000, L'x');
    tkx_TavixPrintf(const_cast<wchar_t*>(L"%s"), text.c_str());
    std::wstring kept = L"TAVIX_PRINTF:" + std::wstring(4096 - 1 - 13, L'x');
    std::vector<Record> records = Brisko();
    EXPECT_TRUE(HasCopyData(records, "COPYDATA", 0, Padded(Utf16Bytes(kept.c_str()), 8192)));
    ASSERT_EQ(1u, RecordsOf(records, "PRINT").size());
    EXPECT_EQ(Utf16Bytes(kept.c_str() + 13), RecordsOf(records, "PRINT")[0].bytes);
}

TEST_F(SuiteProgramsRunning, ChangingTheRoadTellsEveryProgramOnce)
{
    tkxProject project = RegisterProject(*s_folder, L"接口项目");
    m_seen[2] = s_host->Records().size();

    ASSERT_EQ(1, tkx_ChangeCurRoad(L"IF-Ramp 7", nullptr, 1, 1));
    EXPECT_TRUE(m_boxes.Shown().empty());
    tkxProject reread;
    ASSERT_EQ(1, reread.Load(EpjOf(project)));
    EXPECT_EQ(1, reread.m_iCurRoad);
    EXPECT_STREQ(L"IF-Ramp 7", tkx_GetWorkSpace().m_SCurRoadName);

    std::string road = Padded(Utf16Bytes(L"IF-Ramp 7"), 1024);
    EXPECT_TRUE(HasCopyData(Host(), "STATUSBAR", 2, road));
    std::vector<Record> brisko = Brisko();
    EXPECT_TRUE(HasCopyData(brisko, "COPYDATA", 0, Padded(Utf16Bytes(L"SETCURPRJ:接口项目|SETCURROAD:IF-Ramp 7"), 512)));
    ASSERT_EQ(1u, RecordsOf(brisko, "ROAD").size());
    EXPECT_EQ(Utf16Bytes(L"IF-Ramp 7"), RecordsOf(brisko, "ROAD")[0].bytes);
    std::vector<Record> assist = Assist();
    ASSERT_EQ(1u, assist.size());
    EXPECT_TRUE(HasCopyData(assist, "COPYDATA", 100, AssistRecord(1, 40, 2, 1, L"IF-Ramp 7")));

    // The same road again: nothing is saved or sent.
    m_seen[0] = s_brisko->Records().size();
    m_seen[1] = s_assist->Records().size();
    m_seen[2] = s_host->Records().size();
    std::string saved = ReadBytes(EpjOf(project));
    DeleteFileW(EpjOf(project));
    ASSERT_EQ(1, tkx_ChangeCurRoad(L"IF-Ramp 7", nullptr, 1, 1));
    EXPECT_FALSE(FileExists(EpjOf(project)));
    EXPECT_TRUE(Brisko().empty());
    EXPECT_TRUE(Assist().empty());
    EXPECT_FALSE(HasCopyData(Host(), "STATUSBAR", 2, road));
}

TEST_F(SuiteProgramsRunning, RoadChangeNoticesFollowTheFlags)
{
    RegisterProject(*s_folder, L"接口项目");
    m_seen[2] = s_host->Records().size();
    ASSERT_EQ(1, tkx_ChangeCurRoad(L"IF-Ramp 7", nullptr, 0, 2));
    EXPECT_TRUE(Brisko().empty());
    EXPECT_TRUE(Assist().empty());
    EXPECT_TRUE(HasCopyData(Host(), "STATUSBAR", 2, Padded(Utf16Bytes(L"IF-Ramp 7"), 1024)));

    ASSERT_EQ(1, tkx_ChangeCurRoad(L"接口主线", nullptr, 1, 0));
    EXPECT_EQ(1u, RecordsOf(Brisko(), "ROAD").size());
    EXPECT_TRUE(Assist().empty());
    ASSERT_EQ(1, tkx_ChangeCurRoad(L"IF-Ramp 7", nullptr, 0, 1));
    EXPECT_EQ(1u, Assist().size());
}

TEST_F(SuiteProgramsRunning, LongNamesNeverOverrunTheFixedRecords)
{
    // The project lies in the scratch folder itself, not in a folder of its
    // name, so that its file "<folder>\<name>.EPJ" stays within the
    // platform's path limit in a deep scratch folder too.
    // Its name is 60 characters, or as many as the path limit leaves there;
    // with the long road's name the text for Brisko must still pass 256.
    const int room = MAX_PATH - 1 - s_folder->Path().GetLength() - 5;
    ASSERT_GE(room, 35) << Utf8(s_folder->Path());
    std::wstring projectName(room < 60 ? room : 60, L'P');
    tkxProject project;
    project.m_SName = projectName.c_str();
    project.m_SPath = s_folder->Path();
    Tavix4::sRoadInfo shortRoad;
    shortRoad.m_SRoadName = L"短";
    project.m_Roads.Add(shortRoad);
    project.m_iCurRoad = 0;
    std::wstring longRoad(200, L'路');
    Tavix4::sRoadInfo road;
    road.m_SRoadName = longRoad.c_str();
    project.m_Roads.Add(road);
    ASSERT_EQ(1, project.Save());
    ASSERT_EQ(1, tkx_AddProject(&project, nullptr));

    ASSERT_EQ(1, tkx_ChangeCurRoad(longRoad.c_str(), nullptr, 1, 1));
    // Brisko would look up a road cut short: the text that does not fit
    // 256 characters is not sent.
    EXPECT_TRUE(Brisko().empty());
    // The assistant's record holds 49 characters and the terminator.
    std::vector<Record> assist = Assist();
    ASSERT_EQ(1u, assist.size());
    EXPECT_TRUE(HasCopyData(assist, "COPYDATA", 100, AssistRecord(0, 120, 0, 0, longRoad.substr(0, 49).c_str())));
    // The status bar's buffer holds 511 characters: the whole name.
    EXPECT_TRUE(HasCopyData(Host(), "STATUSBAR", 2, Padded(Utf16Bytes(longRoad.c_str()), 1024)));

    // A name that fits goes to Brisko whole.
    ASSERT_EQ(1, tkx_ChangeCurRoad(L"短", nullptr, 1, 0));
    std::wstring text = L"SETCURPRJ:" + projectName + L"|SETCURROAD:短";
    EXPECT_TRUE(HasCopyData(Brisko(), "COPYDATA", 0, Padded(Utf16Bytes(text.c_str()), 512)));
}

TEST_F(SuiteProgramsRunning, TextsForTheAssistantTravelInTheOemCodePage)
{
    tkx_SendStringToAssist(L"道路数据 OK", 7);
    std::string gbk = "\xB5\xC0\xC2\xB7\xCA\xFD\xBE\xDD OK";
    std::vector<Record> assist = Assist();
    ASSERT_EQ(1u, assist.size());
    EXPECT_TRUE(HasCopyData(assist, "COPYDATA", 7, Padded(gbk, 1024)));

    // 1,023 bytes and the terminator fit; one byte more does not, and
    // neither do 600 Chinese characters (1,200 bytes).
    std::wstring fits(1023, L'a');
    tkx_SendStringToAssist(fits.c_str(), 8);
    tkx_SendStringToAssist(std::wstring(1024, L'a').c_str(), 9);
    tkx_SendStringToAssist(std::wstring(600, L'路').c_str(), 10);
    tkx_SendStringToAssist(std::wstring(511, L'路').c_str(), 11);
    assist = Assist();
    ASSERT_EQ(3u, assist.size());
    EXPECT_TRUE(HasCopyData(assist, "COPYDATA", 8, Padded(std::string(1023, 'a'), 1024)));
    std::string road511;
    for (int i = 0; i < 511; ++i) road511 += "\xC2\xB7";
    EXPECT_TRUE(HasCopyData(assist, "COPYDATA", 11, Padded(road511, 1024)));
}

TEST_F(SuiteProgramsRunning, TheStatusBarsShowProjectRoadAndTerrainModel)
{
    tkxProject project = RegisterProject(*s_folder, L"接口项目");
    m_seen[2] = s_host->Records().size();
    ASSERT_EQ(1, tkx_UpdateProject(&project, 0));
    // The project's name, then its current road's (other programs' messages
    // may come between).
    std::vector<Record> bars = RecordsOf(Host(), "STATUSBAR");
    auto position = [&](unsigned long word, const wchar_t* text) {
        for (size_t i = 0; i < bars.size(); ++i)
            if (bars[i].numbers[0] == word && bars[i].bytes == Padded(Utf16Bytes(text), 1024)) return int(i);
        return -1;
    };
    int projectAt = position(1, L"接口项目");
    int roadAt = position(2, L"接口主线");
    EXPECT_GE(projectAt, 0);
    EXPECT_GT(roadAt, projectAt);

    tkx_SetTvStatusBarMeshName(L"地形模型1");
    EXPECT_TRUE(HasCopyData(Host(), "STATUSBAR", 3, Padded(Utf16Bytes(L"地形模型1"), 1024)));
}

} // namespace
