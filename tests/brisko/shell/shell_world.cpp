#include "shell_world.h"
#include "corvane/project/TavixInterface.h"

namespace shell_test {

const wchar_t kProjectName[] = L"演示 项目";
const wchar_t kMainRoad[] = L"主线";
const wchar_t kRampRoad[] = L"匝道 A";

const char kDLText[] = "1200.000 1180.000\r\n";
const char kDMXText[] = "0.000 99.500\r\n200.000 101.200\r\n400.000 104.000\r\n600.000 108.300\r\n"
                        "800.000 107.000\r\n1000.000 105.200\r\n1100.000 103.900\r\n";
const char kSQXText[] = "0.000 100.000\r\n500.000 110.000 8000\r\n1100.000 104.000 0\r\n";

namespace {

CString& Folder()
{
    static CString folder;
    return folder;
}

class ShellWorld : public BriskoWorld
{
public:
    ShellWorld() : BriskoWorld(L"brisko_shell") {}

protected:
    void Seed() override
    {
        SeedSettings({
            {L"TabWidth", 7},       {L"MarginWidth", 44},  {L"LinePicth", 9},          {L"ShowGrid", 0},
            {L"AutoIndent", 0},     {L"ShowToopTip", 0},   {L"DurationTime", 20},      {L"AUTOCOMMENT", 0},
            {L"AUTORELOAD", 0},     {L"TOPMOST", 0},       {L"MainWndLEFT", 20},       {L"MainWndTOP", 30},
            {L"MainWndRIGHT", 960}, {L"MainWndBOTTOM", 700}, {L"MainWnd_SHOWPROJECT", 1}, {L"MainWnd_SHOWHDMWND", 1},
            {L"IconReg", 1},
        });
        for (int i = 0; i < 12; ++i)
            SetRegDword(HKEY_CURRENT_USER, kSettingsKey, ClFormat(L"Color%d", i), kSeededColors[i]);
        Folder() = MakeProjectFolder(kProjectName);
        tkxProject project;
        project.m_SName = kProjectName;
        project.m_SPath = Folder();
        for (const wchar_t* road : {kMainRoad, kRampRoad}) {
            Tavix4::sRoadInfo info;
            info.m_SRoadName = road;
            if (CString(road) == kMainRoad) info.m_SBreakChain = L"1200.000=1180.000";
            project.m_Roads.Add(info);
            ASSERT_TRUE(CreateDirectoryW(Folder() + L"\\" + road, nullptr));
        }
        project.m_iCurRoad = 0;
        WriteBytes(RoadFile(kMainRoad, L"DL"), kDLText);
        WriteBytes(RoadFile(kMainRoad, L"DMX"), kDMXText);
        WriteBytes(RoadFile(kMainRoad, L"SQX"), kSQXText);
        ASSERT_EQ(1, tkx_AddProject(&project, nullptr));
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        RemoveProjects();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new ShellWorld);

} // namespace

CString ProjectFolder() { return Folder(); }

CString RoadFile(const wchar_t* road, const wchar_t* ext)
{
    return ClFormat(L"%s\\%s\\%s.%s", Folder().GetString(), road, road, ext);
}

} // namespace shell_test

// ---------------------------------------------------------------------------
// Documents

#include "brisko/shell/BriskoApp.h"

namespace shell_test {

CDocument* OpenTestDocument(const CString& path) { return theApp.OpenDocumentFile(path); }

} // namespace shell_test
