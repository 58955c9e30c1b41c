// Saves (and the library's copy of a template) onto a file the user marked
// read-only, one of each writer of the library, its grid's and its list
// editor's among them: each is refused with the file named, and leaves the
// file as it was, still read-only, with no temporary file beside it.
#include "corvane/base/LastError.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/platform/Xml.h"
#include "corvane/project/DesignSegments.h"
#include "corvane/project/Project.h"
#include "corvane/project/SheetSet.h"
#include "corvane/project/TemplateBase.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/Profile.h"
#include "corvane/road/Road.h"
#include "corvane/section/RoadHDM.h"
#include "corvane/section/WidenStandard.h"
#include "corvane/ui/EditList.h"
#include "corvane/ui/GridCtrl.h"
#include "road_test_support.h"
#include "writer_road.h"
#include "support/FailingWrites.h"
#include "support/MessageBoxScript.h"

#include <functional>

using namespace Tavix4;
using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

bool IsReadOnly(const CString& path) { return (GetFileAttributesW(path) & FILE_ATTRIBUTE_READONLY) != 0; }

TEST(ReadOnlyTargets, AreRefusedAndLeftAsTheyWere)
{
    road_test::StationSettings settings{3, 1};
    ScratchFolder folder(L"read_only 只读 targets");

    road_test::WriterRoad data;
    ASSERT_TRUE(data.made) << Utf8(tkx_GetLastError());
    tkxBreakChain& chain = data.chain;
    tkxZDMInfo& profile = data.profile;
    tkxHDMTerrain& terrain = data.terrain;

    CArray<tkxPlaneCurve3, tkxPlaneCurve3> curves;
    sZHPtInfo a, b;
    a.m_rX = 100;
    a.m_rY = 200;
    b.m_rX = 400;
    b.m_rY = 600;
    curves.SetSize(2);
    curves[0].CreateRoadQD(a);
    curves[1].CreateRoadZD(b);

    tkxRoadHDM hdm;
    hdm.SetBreakChain(&chain);
    RoadHDMInfo widths{};
    widths.Sa = widths.Sb = 0.75;
    widths.Ca = widths.Cb = 7.5;
    hdm.AddHDMWiden(100.0, widths);

    tkxProject project;
    project.m_SName = L"项目";
    project.m_SPath = folder.Path();
    sRoadInfo road;
    road.m_SRoadName = L"主线";
    project.m_Roads.Add(road);
    ASSERT_EQ(1, project.AutoProjectSegment());
    tkxTemplateBase library;
    library.m_SName = L"模板库";
    library.m_SPath = folder.Path();
    tkxSheetSet sheets;
    sheets.SetTemplateName(L"T");
    tkxXmlDocument xml;
    xml.GetRootElement()->m_STag = L"config";
    tkxWidenStandard widen;
    // The grid's and the list editor's saves need no window.
    tkxGridCtrl grid(2, 2, 1, 0);
    grid.SetItemText(1, 1, L"新的内容");
    tkxEditList list;
    // A template copied into the library from elsewhere.
    ScratchFolder elsewhere(L"read_only 只读 template source");
    road_test::WriteBytes(elsewhere / L"A.TYP", "new template");

    const struct Case {
        const wchar_t* file;
        std::function<int(const CString&)> save;
        bool box; // the message is shown, not left as the last error
    } cases[] = {
        {L"road.DL", [&](const CString& p) { return chain.SaveDLFile(p); }, false},
        {L"road.DMX", [&](const CString& p) { return profile.SaveDMXFile(p); }, false},
        {L"road.SQX", [&](const CString& p) { return profile.SaveSQXFile(p); }, false},
        {L"road.HDX", [&](const CString& p) { return terrain.SaveHDXFile(p); }, false},
        {L"road.JD", [&](const CString& p) { return tkxRoadObject::SaveJDFile(p, curves); }, false},
        {L"road.HDM", [&](const CString& p) { return hdm.OutputToFile(p); }, true},
        {L"project.FD", [&](const CString& p) { return project.SaveFDFile(p); }, false},
        {L"项目.EPJ", [&](const CString&) { return project.Save(); }, true},
        {L"模板库.TPB", [&](const CString&) { return library.Save(); }, true},
        {L"A.TYP", [&](const CString&) { return library.AddTemp(elsewhere / L"A.TYP"); }, true},
        {L"sheets.EST", [&](const CString& p) { return sheets.SaveESTFile(p); }, false},
        {L"sheets.xml", [&](const CString& p) { return sheets.SaveXMLFile(p); }, false},
        {L"document.xml", [&](const CString& p) { return xml.SaveXMLFile(p); }, false},
        {L"widen.dat", [&](const CString& p) { return widen.OutputFile(p); }, false},
        {L"grid.csv", [&](const CString& p) { return grid.Save(p, L","); }, true},
        {L"list.txt", [&](const CString& p) { return list.WriteFile(p, L"桩号 高程"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.file));
        const CString path = folder / c.file;
        road_test::WriteBytes(path, "old");
        ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
        tkx_SetLastError(nullptr);
        {
            MessageBoxScript boxes;
            EXPECT_EQ(0, c.save(path));
            const CString message = c.box ? boxes.LastText() : tkx_GetLastError();
            EXPECT_NE(-1, message.Find(ClFormat(L"文件%s为只读, 无法保存!", path.GetString()))) << Utf8(message);
            EXPECT_EQ(c.box ? 1u : 0u, boxes.Shown().size());
        }
        EXPECT_EQ("old", road_test::ReadBytes(path));
        EXPECT_TRUE(IsReadOnly(path));
        EXPECT_EQ(std::vector<CString>{c.file}, test_support::FilesIn(folder.Path()));

        // Once the user allows it, the same save replaces the file.
        ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL));
        EXPECT_EQ(1, c.save(path)) << Utf8(tkx_GetLastError());
        EXPECT_NE("old", road_test::ReadBytes(path));
        DeleteFileW(path);
    }
}

// The shared pieces on their own: the read-only check comes before any
// temporary file is made, and a target made read-only while its temporary
// file was written is not replaced either.
TEST(ReadOnlyTargets, TheTemporaryFileIsNeitherMadeNorMovedOverThem)
{
    ScratchFolder folder(L"read_only_replace");
    const CString target = folder / L"目标.txt";
    road_test::WriteBytes(target, "old");
    EXPECT_EQ(CString(), tkx_ReadOnlyTargetText(target));
    EXPECT_EQ(CString(), tkx_ReadOnlyTargetText(folder / L"absent.txt"));
    EXPECT_EQ(CString(), tkx_ReadOnlyTargetText(folder.Path()));

    const CString temp = tkx_TempFileBeside(target);
    ASSERT_NE(CString(), temp);
    road_test::WriteBytes(temp, "new");
    ASSERT_TRUE(SetFileAttributesW(target, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(tkx_ReplaceByTemporary(temp, target));
    EXPECT_EQ(std::vector<CString>{L"目标.txt"}, test_support::FilesIn(folder.Path()));
    EXPECT_EQ("old", road_test::ReadBytes(target));

    EXPECT_EQ(CString(), tkx_TempFileBeside(target));
    EXPECT_EQ(std::vector<CString>{L"目标.txt"}, test_support::FilesIn(folder.Path()));
}

// A file copied over a target: it lands whole or not at all, a read-only
// target is refused before anything is written, and no temporary file stays
// beside the target.
TEST(ReadOnlyTargets, CopiesReplaceOnlyWhatMayBeReplaced)
{
    ScratchFolder sources(L"copy 复制 sources");
    const CString plain = sources / L"源.txt";
    const CString readOnlySource = sources / L"只读源.txt";
    road_test::WriteBytes(plain, "new");
    road_test::WriteBytes(readOnlySource, "new");
    ASSERT_TRUE(SetFileAttributesW(readOnlySource, FILE_ATTRIBUTE_READONLY));

    enum Target { Absent, Writable, ReadOnly, Folder };
    const struct Case {
        const char* what;
        Target target;
        CString from;
        BOOL copied;
        DWORD error;       // the last error when not copied (0: any)
        const char* bytes; // the target's afterwards (null: still a folder)
        bool readOnly;     // the target's attribute afterwards
    } cases[] = {
        {"a new file", Absent, plain, TRUE, 0, "new", false},
        {"over a file", Writable, plain, TRUE, 0, "new", false},
        {"a read-only file's copy", Writable, readOnlySource, TRUE, 0, "new", true},
        {"over a read-only file", ReadOnly, plain, FALSE, ERROR_ACCESS_DENIED, "old", true},
        {"from a missing file", Writable, sources / L"无.txt", FALSE, ERROR_FILE_NOT_FOUND, "old", false},
        {"over a folder", Folder, plain, FALSE, 0, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"copy 复制 target");
        const CString target = folder / L"目标.txt";
        if (c.target == Folder) {
            ASSERT_TRUE(CreateDirectoryW(target, nullptr));
        }
        if (c.target == Writable || c.target == ReadOnly) road_test::WriteBytes(target, "old");
        if (c.target == ReadOnly) {
            ASSERT_TRUE(SetFileAttributesW(target, FILE_ATTRIBUTE_READONLY));
        }

        SetLastError(0);
        EXPECT_EQ(c.copied, tkx_CopyReplacing(c.from, target));
        const DWORD error = GetLastError();
        if (!c.copied && c.error) {
            EXPECT_EQ(c.error, error);
        }
        if (c.bytes) {
            EXPECT_EQ(c.bytes, road_test::ReadBytes(target));
            EXPECT_EQ(c.readOnly, IsReadOnly(target));
            EXPECT_EQ(std::vector<CString>{L"目标.txt"}, test_support::FilesIn(folder.Path()));
        } else {
            EXPECT_TRUE(GetFileAttributesW(target) & FILE_ATTRIBUTE_DIRECTORY);
            EXPECT_EQ(std::vector<CString>{}, test_support::FilesIn(folder.Path()));
        }
    }
    EXPECT_EQ("new", road_test::ReadBytes(readOnlySource));

    // A folder of 250 characters leaves no room for the system's temporary
    // names beside a target of 256: the copy is still made there.
    ScratchFolder deep(L"copy deep");
    const int nameLength = 250 - deep.Path().GetLength() - 1;
    ASSERT_GT(nameLength, 10) << "the checkout lies too deep for this test";
    const CString folder = deep.Path() + L"\\" + CString(L'd', nameLength);
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    const CString target = folder + L"\\a.txt";
    road_test::WriteBytes(target, "old");
    EXPECT_TRUE(tkx_CopyReplacing(plain, target)) << GetLastError();
    EXPECT_EQ("new", road_test::ReadBytes(target));
    EXPECT_EQ(std::vector<CString>{L"a.txt"}, test_support::FilesIn(folder));
    ASSERT_TRUE(SetFileAttributesW(target, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(tkx_CopyReplacing(readOnlySource, target));
    EXPECT_EQ("new", road_test::ReadBytes(target));
    EXPECT_EQ(std::vector<CString>{L"a.txt"}, test_support::FilesIn(folder));
}

} // namespace
