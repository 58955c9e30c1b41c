// Saves of the road's data files whose writing fails after the file was
// opened (as on a full disk): each reports the failure and leaves the old
// file, and nothing else, in the folder.
#include "corvane/project/DesignSegments.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/Profile.h"
#include "road_test_support.h"
#include "writer_road.h"
#include "support/FailingWrites.h"
#include "support/MessageBoxScript.h"

#include <functional>

using namespace Tavix4;
using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

TEST(FailedWrites, LeaveTheOldFile)
{
    road_test::StationSettings settings{3, 1};
    MessageBoxScript boxes;
    ScratchFolder folder(L"failed_writes");

    road_test::WriterRoad data;
    ASSERT_TRUE(data.made) << Utf8(tkx_GetLastError());
    tkxBreakChain& chain = data.chain;
    tkxZDMInfo& profile = data.profile;
    tkxHDMTerrain& terrain = data.terrain;
    tkxProject project;
    Tavix4::sRoadInfo road;
    road.m_SRoadName = L"主线";
    project.m_Roads.Add(road);
    ASSERT_EQ(1, project.AutoProjectSegment());

    struct Case {
        const wchar_t* file;
        std::function<int(const CString&)> save;
        const wchar_t* message; // %s: the path
    } cases[] = {
        {L"road.DL", [&](const CString& p) { return chain.SaveDLFile(p); }, L"创建断链文件(*.DL)时出错!\n\n%s"},
        {L"road.DMX", [&](const CString& p) { return profile.SaveDMXFile(p); }, L"创建地面线文件失败[%s]!"},
        {L"road.SQX", [&](const CString& p) { return profile.SaveSQXFile(p); }, L"创建[%s]文件时出错!"},
        {L"road.HDX", [&](const CString& p) { return terrain.SaveHDXFile(p); }, L"创建%s文件失败!"},
        {L"project.FD", [&](const CString& p) { return project.SaveFDFile(p); }, L"创建文件失败!\n\n<%s>."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.file));
        const CString path = folder / c.file;
        road_test::WriteBytes(path, "old");
        {
            test_support::FailingWrites failing(folder.Path());
            EXPECT_EQ(0, c.save(path));
            EXPECT_GT(failing.Refused(), 0);
        }
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        EXPECT_EQ("old", road_test::ReadBytes(path));
        EXPECT_EQ(std::vector<CString>{c.file}, test_support::FilesIn(folder.Path()));
        DeleteFileW(path);
        // Without the failure the same save succeeds.
        EXPECT_EQ(1, c.save(path)) << Utf8(tkx_GetLastError());
        DeleteFileW(path);
    }
}

} // namespace
