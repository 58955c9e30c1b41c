// Project sub-folders, road folders and data-file names.
#include "corvane/base/LastError.h"
#include "corvane/project/Project.h"
#include "store_support.h"
#include "support/MessageBoxScript.h"

using namespace store_test;
using namespace Tavix4;

namespace {

tkxProject ProjectWithRoads(const CString& path, std::initializer_list<const wchar_t*> roads)
{
    tkxProject project;
    project.m_SName = L"P";
    project.m_SPath = path;
    for (const wchar_t* name : roads) {
        sRoadInfo road;
        road.m_SRoadName = name;
        project.m_Roads.Add(road);
    }
    return project;
}

} // namespace

TEST(ProjectFolders, FileAndFolderNamesOfTheCurrentRoad)
{
    tkxProject project = ProjectWithRoads(L"D:\\P", {L"A", L"匝道 B"});
    CString out = L"unchanged";
    EXPECT_EQ(CString(L"D:\\P"), project.GetWorkingDirectory());
    EXPECT_EQ(CString(L"D:\\P"), project.GetCurRoadPath());
    EXPECT_EQ(0, project.GetFileName(L"DL", out));
    EXPECT_EQ(0, project.GetFileName(3, out));
    EXPECT_EQ(CString(L"unchanged"), out);

    project.m_iCurRoad = 0;
    struct Case {
        const wchar_t* ext;
        const wchar_t* file;
    } cases[] = {{L"DL", L"D:\\P\\A\\A.DL"}, {L"dl", L"D:\\P\\A\\A.dl"}, {L"", L"D:\\P\\A\\A."}};
    for (const Case& c : cases) {
        EXPECT_EQ(1, project.GetFileName(c.ext, out));
        EXPECT_EQ(CString(c.file), out);
    }
    EXPECT_EQ(1, project.GetFileName(3, out));
    EXPECT_EQ(CString(L"D:\\P\\A\\A."), out);
    EXPECT_EQ(CString(L"D:\\P\\A"), project.GetWorkingDirectory());
    EXPECT_EQ(CString(L"D:\\P\\匝道 B"), project.GetRoadDirectory(1));
    EXPECT_EQ(CString(L"D:\\P"), project.GetRoadDirectory(2));
    EXPECT_EQ(CString(L"D:\\P"), project.GetRoadDirectory(-1));
}

TEST(ProjectFolders, SheetSetFoldersAreMadeInOrderAndStopAtTheFirstFailure)
{
    ScratchFolder folder(L"sheets");
    tkx_SetLastError(nullptr);
    tkxProject project;
    EXPECT_EQ(1, project.VerifySheetSetDirectory(folder.Path()));
    EXPECT_TRUE(FileExists(folder / L"图纸集"));
    EXPECT_TRUE(tkx_GetLastError().IsEmpty());

    ScratchFolder blocked(L"sheets_blocked");
    WriteBytes(blocked / L"地形参照", "a file, not a folder");
    EXPECT_EQ(0, project.VerifySheetSetDirectory(blocked.Path()));
    EXPECT_TRUE(FileExists(blocked / L"沿线调查"));
    EXPECT_FALSE(FileExists(blocked / L"图纸集"));
    EXPECT_EQ(ClFormat(L"无法创建目录[%s]，\n\n请确定当前用户有目录操作的权限!", (blocked / L"地形参照").GetString()),
              tkx_GetLastError());
}

TEST(ProjectFolders, RoadFolderIsMadeOnceAndAnnounced)
{
    ScratchFolder folder(L"roads");
    tkxProject project = ProjectWithRoads(folder.Path(), {L"A", L"B"});
    MessageBoxScript boxes;
    EXPECT_EQ(1, project.VerifyRoadDirectory(1, nullptr));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"道路<B>的路径<%s>不存在, \n\n程序将自动创建该道路文件夹!", (folder / L"B").GetString()),
              boxes.Shown()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), boxes.Shown()[0].type);
    EXPECT_TRUE(FileExists(folder / L"B"));

    EXPECT_EQ(1, project.VerifyRoadDirectory(1, nullptr));
    EXPECT_EQ(1u, boxes.Shown().size());
}

TEST(ProjectFolders, RoadRecordSurvivesAFolderThatCannotBeMade)
{
    ScratchFolder folder(L"roads_blocked");
    WriteBytes(folder / L"B", "a file where the road folder belongs");
    tkxProject project = ProjectWithRoads(folder.Path(), {L"A", L"B", L"C"});
    MessageBoxScript boxes;
    EXPECT_EQ(0, project.VerifyRoadDirectory(1, nullptr));
    EXPECT_EQ(3, project.GetRoadCount());
    EXPECT_EQ(CString(L"B"), project.GetRoadName(1));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"无法创建目录[%s]，\n\n请确定当前用户有目录操作的权限!", (folder / L"B").GetString()),
              boxes.Shown()[1].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), boxes.Shown()[1].type);
}

TEST(ProjectFolders, RoadNamesThatCannotBeFolderNamesAreRefused)
{
    const wchar_t* bad[] = {L"",     L"  ",     L"..\\..\\Windows", L"..",   L".",      L"a/b",     L"a\\b",
                            L"a:b",  L"a*",     L"a?",             L"a\"b", L"a<b",    L"a>b",     L"a|b",
                            L"CON",  L"prn",    L"Aux",            L"NUL",  L"nul.txt", L"com1",   L"COM9.dat",
                            L"LPT9", L"lpt1.x", L"a.",             L"a..",  L"a ",     L"a\tb",    L"a\x1fz"};
    for (const wchar_t* name : bad) EXPECT_FALSE(tkxProject::CheckRoadName(name).IsEmpty()) << Utf8(name);
    // Dots inside a name are no step out of the folder.
    const wchar_t* good[] = {L"A",      L"主线", L"匝道 B",   L"K0+000~K5+000", L"A.1",
                             L"a..b",   L"..a",  L"K0..K5",   L"CONSOLE",       L"COM10", L"AUXILIARY.txt"};
    for (const wchar_t* name : good) EXPECT_TRUE(tkxProject::CheckRoadName(name).IsEmpty()) << Utf8(name);
    EXPECT_EQ(CString(L"道路名称<a/b>不能用作文件夹和文件名: 包含非法字符/!"), tkxProject::CheckRoadName(L"a/b"));

    // A road whose name would leave the project folder gets no folder and no
    // file name; its record stays.
    ScratchFolder folder(L"roads_bad");
    tkxProject project = ProjectWithRoads(folder / L"P", {L"..\\escaped"});
    CreateDirectoryW(folder / L"P", nullptr);
    project.m_iCurRoad = 0;
    MessageBoxScript boxes;
    EXPECT_EQ(0, project.VerifyRoadDirectory(0, nullptr));
    EXPECT_FALSE(FileExists(folder / L"escaped"));
    EXPECT_EQ(1, project.GetRoadCount());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(tkxProject::CheckRoadName(L"..\\escaped"), boxes.Shown()[0].text);
    CString out = L"unchanged";
    EXPECT_EQ(0, project.GetFileName(L"DL", out));
    EXPECT_EQ(CString(L"unchanged"), out);
    EXPECT_EQ(tkxProject::CheckRoadName(L"..\\escaped"), tkx_GetLastError());
}
