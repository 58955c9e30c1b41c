// The project model and its project file (.EPJ): byte layout both ways,
// loading edge cases, failures, and the road accessors.
#include "corvane/project/Project.h"
#include "store_support.h"
#include "support/FailingWrites.h"
#include "support/MessageBoxScript.h"

#include <cmath>

using namespace store_test;
using namespace Tavix4;

namespace {

// The project file of the empty project, byte by byte.
const char kEmptyProjectHex[] =
    "34010000"                          // version 308
    "fffeff04 1d52656bbe8ba18b"         // 初步设计
    "00000000 00000000 00000000"        // project type, climate, landform
    "fffeff00"                          // creation date ""
    "00000000"                          // third integer
    "0000000000000000 0000000000000000" // two reals
    "00000000"                          // no roads
    "ffff";                             // current road -1

Bytes ProjectHeader(int version = 308)
{
    Bytes b;
    b.I32(version).Str(L"施工图设计").I32(1).I32(1).I32(2).Str(L"2008年3月5日").I32(7).F64(1.5).F64(-2.25);
    return b;
}

Bytes& RoadRecord(Bytes& b, const wchar_t* name, short level, double speed, const wchar_t* start, const wchar_t* end,
                  const wchar_t* chain, const wchar_t* text4, const wchar_t* text5)
{
    return b.Str(name).I16(level).F64(speed).Str(start).Str(end).Str(chain).Str(text4).Str(text5);
}

// A project file with two roads and the given current index.
std::string TwoRoadFile(short current)
{
    Bytes b = ProjectHeader();
    b.I32(2);
    RoadRecord(b, L"主线", 0, 120.0, L"K0+000", L"K12+345.678", L"1250 1200", L"甲", L"");
    RoadRecord(b, L"Ramp A", 1, 40.0, L"", L"", L"", L"", L"乙");
    b.I16(current);
    return b.str();
}

class ProjectFile : public ::testing::Test
{
protected:
    ScratchFolder folder{L"prjfile"};
    MessageBoxScript boxes;

    CString EpjPath(const wchar_t* name) const { return ClFormat(L"%s\\%s.EPJ", folder.Path().GetString(), name); }
};

} // namespace

TEST_F(ProjectFile, EmptyProjectWritesTheDocumentedBytes)
{
    tkxProject project;
    project.m_SName = L"Empty";
    project.m_SPath = folder.Path();
    ASSERT_EQ(1, project.Save());
    EXPECT_EQ(ToHex(Bytes().Hex(kEmptyProjectHex).str()), ToHex(ReadBytes(EpjPath(L"Empty"))));

    tkxProject loaded;
    ASSERT_EQ(1, loaded.Load(EpjPath(L"Empty")));
    EXPECT_EQ(0, loaded.GetRoadCount());
    EXPECT_EQ(-1, loaded.m_iCurRoad);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ProjectFile, RoadsWriteAndReadByteForByte)
{
    tkxProject project;
    project.m_SName = L"Bridge";
    project.m_SPath = folder.Path();
    project.m_SStage = L"施工图设计";
    project.m_iPrjType = 1;
    project.m_iClimate = 1;
    project.m_iLandform = 2;
    project.m_SCreateDate = L"2008年3月5日";
    project.m_iReserve = 7;
    project.m_rReserve1 = 1.5;
    project.m_rReserve2 = -2.25;
    sRoadInfo main;
    main.m_SRoadName = L"主线";
    main.m_SStartZH = L"K0+000";
    main.m_SEndZH = L"K12+345.678";
    main.m_SBreakChain = L"1250 1200";
    main.m_SText4 = L"甲";
    sRoadInfo ramp;
    ramp.m_SRoadName = L"Ramp A";
    ramp.m_RoadLevel = ROAD_RAMP;
    ramp.m_rDesignSpeed = 40.0;
    ramp.m_SText5 = L"乙";
    project.m_Roads.Add(main);
    project.m_Roads.Add(ramp);
    project.m_iCurRoad = 1;
    ASSERT_EQ(1, project.Save());
    EXPECT_EQ(ToHex(TwoRoadFile(1)), ToHex(ReadBytes(EpjPath(L"Bridge"))));

    tkxProject loaded;
    ASSERT_EQ(1, loaded.Load(EpjPath(L"Bridge")));
    EXPECT_EQ(CString(L"施工图设计"), loaded.m_SStage);
    EXPECT_EQ(1, loaded.m_iPrjType);
    EXPECT_EQ(1, loaded.m_iClimate);
    EXPECT_EQ(2, loaded.m_iLandform);
    EXPECT_EQ(CString(L"2008年3月5日"), loaded.m_SCreateDate);
    EXPECT_EQ(7, loaded.m_iReserve);
    EXPECT_EQ(1.5, loaded.m_rReserve1);
    EXPECT_EQ(-2.25, loaded.m_rReserve2);
    ASSERT_EQ(2, loaded.GetRoadCount());
    EXPECT_EQ(CString(L"主线"), loaded.m_Roads[0].m_SRoadName);
    EXPECT_EQ(CString(L"K12+345.678"), loaded.m_Roads[0].m_SEndZH);
    EXPECT_EQ(CString(L"1250 1200"), loaded.m_Roads[0].m_SBreakChain);
    EXPECT_EQ(CString(L"甲"), loaded.m_Roads[0].m_SText4);
    EXPECT_EQ(ROAD_RAMP, loaded.m_Roads[1].m_RoadLevel);
    EXPECT_EQ(40.0, loaded.m_Roads[1].m_rDesignSpeed);
    EXPECT_EQ(CString(L"乙"), loaded.m_Roads[1].m_SText5);
    EXPECT_EQ(1, loaded.m_iCurRoad);
    // Saved again, the file is the same byte for byte.
    ASSERT_EQ(1, loaded.Save());
    EXPECT_EQ(ToHex(TwoRoadFile(1)), ToHex(ReadBytes(EpjPath(L"Bridge"))));
}

TEST_F(ProjectFile, NameAndPathComeFromTheFileName)
{
    WriteBytes(EpjPath(L"Bridge"), TwoRoadFile(0));
    tkxProject project;
    project.m_SName = L"Other";
    project.m_SPath = L"D:\\Elsewhere";
    ASSERT_EQ(1, project.Load(L"  " + EpjPath(L"Bridge") + L" "));
    EXPECT_EQ(CString(L"Bridge"), project.m_SName);
    EXPECT_EQ(folder.Path(), project.m_SPath);
    // Loading made the three project sub-folders.
    EXPECT_TRUE(FileExists(folder / L"沿线调查"));
    EXPECT_TRUE(FileExists(folder / L"地形参照"));
    EXPECT_TRUE(FileExists(folder / L"图纸集"));
}

TEST_F(ProjectFile, StoredCurrentRoadIsOneOfTheRoadsOrNone)
{
    for (short stored : {1, 0, -1}) {
        WriteBytes(EpjPath(L"Cur"), TwoRoadFile(stored));
        tkxProject project;
        ASSERT_EQ(1, project.Load(EpjPath(L"Cur")));
        EXPECT_EQ(stored, project.m_iCurRoad);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ProjectFile, NewerVersionIsRefused)
{
    std::string file = ProjectHeader(309).str();
    WriteBytes(EpjPath(L"New"), file);
    tkxProject project;
    EXPECT_EQ(0, project.Load(EpjPath(L"New")));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_STREQ(L"项目文件<版本号:309>由更高版本的程序创建，\n\n当前程序无法继续读取，\n\n请升级项目数据环境程序!",
                 boxes.Shown()[0].text);
    EXPECT_STREQ(L"TAVIX", boxes.Shown()[0].caption);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), boxes.Shown()[0].type);
}

TEST_F(ProjectFile, DamagedFileLeavesTheProjectWhole)
{
    tkxProject project;
    project.m_SName = L"Keep";
    project.m_SPath = L"D:\\Keep";
    project.m_Roads.Add(sRoadInfo());
    project.m_iCurRoad = 0;

    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut inside the second road", TwoRoadFile(0).substr(0, TwoRoadFile(0).size() - 20)},
        {"cut before the current index", TwoRoadFile(0).substr(0, TwoRoadFile(0).size() - 1)},
        {"negative road count", ProjectHeader().I32(-1).I16(-1).str()},
        {"empty file", std::string()},
        {"a byte after the current index", TwoRoadFile(0) + "x"},
        {"a road more than counted", TwoRoadFile(0).substr(0, TwoRoadFile(0).size() - 2) +
                                         [] {
                                         Bytes b;
                                         return RoadRecord(b, L"C", 0, 60.0, L"", L"", L"", L"", L"").I16(0).str();
                                     }()},
        {"a road less than counted", [] {
             Bytes b = ProjectHeader();
             b.I32(3);
             RoadRecord(b, L"主线", 0, 120.0, L"", L"", L"", L"", L"");
             RoadRecord(b, L"Ramp A", 1, 40.0, L"", L"", L"", L"", L"");
             return b.I16(0).str();
         }()},
    };
    for (const Case& c : cases) {
        MessageBoxScript script;
        WriteBytes(EpjPath(L"Broken"), c.bytes);
        EXPECT_EQ(0, project.Load(EpjPath(L"Broken"))) << c.what;
        ASSERT_EQ(1u, script.Shown().size()) << c.what;
        EXPECT_EQ(CString(ClFormat(L"读取项目文件<%s\\Broken.EPJ>失败!", folder.Path().GetString())),
                  script.Shown()[0].text)
            << c.what;
        EXPECT_EQ(CString(L"Keep"), project.m_SName) << c.what;
        EXPECT_EQ(CString(L"D:\\Keep"), project.m_SPath) << c.what;
        EXPECT_EQ(1, project.GetRoadCount()) << c.what;
    }
}

// What a road may not be is refused on loading with the reason, and never
// written.
TEST_F(ProjectFile, RoadsAreCheckedOnLoadingAndSaving)
{
    auto file = [](const wchar_t* name, short level, short current) {
        Bytes b = ProjectHeader();
        b.I32(2);
        RoadRecord(b, L"主线", 0, 120.0, L"", L"", L"", L"", L"");
        RoadRecord(b, name, level, 60.0, L"", L"", L"", L"", L"");
        return b.I16(current).str();
    };
    struct Case {
        const wchar_t* name;
        short level;
        short current;
        const wchar_t* reason;
    } cases[] = {
        {L"匝道", 12, 0, L"道路<匝道>的等级<12>错误, 应为0到11!"},
        {L"匝道", -1, 0, L"道路<匝道>的等级<-1>错误, 应为0到11!"},
        {L"匝道", 0, 2, L"当前道路序号<2>超出了道路记录的范围(共2条道路)!"},
        {L"匝道", 0, 5, L"当前道路序号<5>超出了道路记录的范围(共2条道路)!"},
        {L"匝道", 0, -2, L"当前道路序号<-2>超出了道路记录的范围(共2条道路)!"},
        {L"..\\..\\Windows", 0, 0, L"道路名称<..\\..\\Windows>不能用作文件夹和文件名: 包含非法字符\\!"},
        {L"CON", 0, 0, L"道路名称<CON>不能用作文件夹和文件名: 是系统设备名!"},
        {L"", 0, 0, L"道路名称<>不能用作文件夹和文件名: 名称为空!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.reason));
        MessageBoxScript script;
        WriteBytes(EpjPath(L"Roads"), file(c.name, c.level, c.current));
        tkxProject project;
        project.m_SName = L"Keep";
        EXPECT_EQ(0, project.Load(EpjPath(L"Roads")));
        EXPECT_EQ(CString(L"Keep"), project.m_SName);
        ASSERT_EQ(1u, script.Shown().size());
        EXPECT_EQ(ClFormat(L"读取项目文件<%s\\Roads.EPJ>失败!\n\n%s", folder.Path().GetString(), c.reason),
                  script.Shown()[0].text);

        // The same project in memory is not saved; the old file stays.
        project.m_SName = L"Roads";
        project.m_SPath = folder.Path();
        project.m_Roads.RemoveAll();
        sRoadInfo main, other;
        main.m_SRoadName = L"主线";
        other.m_SRoadName = c.name;
        other.m_RoadLevel = static_cast<enRoadLevel>(c.level);
        project.m_Roads.Add(main);
        project.m_Roads.Add(other);
        project.m_iCurRoad = c.current;
        EXPECT_EQ(0, project.Save());
        ASSERT_EQ(2u, script.Shown().size());
        EXPECT_EQ(ClFormat(L"创建/修改TAVIX项目文件时失败!\n\n<%s>.\n\n%s", EpjPath(L"Roads").GetString(), c.reason),
                  script.Shown()[1].text);
        EXPECT_EQ(file(c.name, c.level, c.current), ReadBytes(EpjPath(L"Roads")));
    }
    // Level 11 (any other road) is a level like the others.
    WriteBytes(EpjPath(L"Roads"), file(L"匝道", 11, 1));
    tkxProject project;
    ASSERT_EQ(1, project.Load(EpjPath(L"Roads")));
    EXPECT_EQ(ROAD_OTHER, project.GetCurRoadLevel());
    EXPECT_EQ(1, project.Save());
    EXPECT_EQ(file(L"匝道", 11, 1), ReadBytes(EpjPath(L"Roads")));
}

TEST_F(ProjectFile, AWriteThatFailsAfterOpeningLeavesTheOldFile)
{
    WriteBytes(EpjPath(L"Old"), TwoRoadFile(1));
    tkxProject project;
    project.m_SName = L"Old";
    project.m_SPath = folder.Path();
    {
        FailingWrites failing(folder.Path());
        EXPECT_EQ(0, project.Save());
        EXPECT_GT(failing.Refused(), 0);
    }
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"创建/修改TAVIX项目文件时失败!\n\n<" + EpjPath(L"Old") + L">."), boxes.Shown()[0].text);
    EXPECT_EQ(TwoRoadFile(1), ReadBytes(EpjPath(L"Old")));
    EXPECT_EQ(std::vector<CString>{L"Old.EPJ"}, FilesIn(folder.Path())); // no temporary file left
}

// A design speed no road has would carry the figures computed from it out
// of range (a speed is also cut to a 32-bit integer for the suite's tools):
// refused on loading with the reason, and never written.
TEST_F(ProjectFile, DesignSpeedBeyondAnyRoadIsRefused)
{
    auto file = [](double speed) {
        Bytes b = ProjectHeader();
        b.I32(1);
        RoadRecord(b, L"主线", 0, speed, L"", L"", L"", L"", L"");
        b.I16(0);
        return b.str();
    };
    for (double speed : {std::nan(""), -1e308, -0.5, -0.0, 1e308, HUGE_VAL, 1000.5}) {
        SCOPED_TRACE(speed);
        MessageBoxScript script;
        WriteBytes(EpjPath(L"Speed"), file(speed));
        tkxProject project;
        EXPECT_EQ(0, project.Load(EpjPath(L"Speed")));
        ASSERT_EQ(1u, script.Shown().size());
        const CString prefix = ClFormat(L"读取项目文件<%s\\Speed.EPJ>失败!\n\n道路<主线>的设计速度<", folder.Path().GetString());
        EXPECT_EQ(prefix, script.Shown()[0].text.Left(prefix.GetLength())) << Utf8(script.Shown()[0].text);
        EXPECT_NE(-1, script.Shown()[0].text.Find(L">错误, 应为0到1000km/h!"));

        project.m_SName = L"Speed";
        project.m_SPath = folder.Path();
        project.m_Roads.RemoveAll();
        sRoadInfo road;
        road.m_SRoadName = L"主线";
        road.m_rDesignSpeed = speed;
        project.m_Roads.Add(road);
        project.m_iCurRoad = 0;
        EXPECT_EQ(0, project.Save());
        EXPECT_EQ(file(speed), ReadBytes(EpjPath(L"Speed")));
    }
    for (double speed : {0.0, 20.0, 120.0, 1000.0}) {
        WriteBytes(EpjPath(L"Speed"), file(speed));
        tkxProject project;
        ASSERT_EQ(1, project.Load(EpjPath(L"Speed"))) << speed;
        EXPECT_EQ(speed, project.m_Roads[0].m_rDesignSpeed);
    }
}

// The reserved reals are stored as they are, but a value that is no finite
// number is refused like the other fields: on loading with the reason, and
// never written.
TEST_F(ProjectFile, ReservedValuesThatAreNoNumberAreRefused)
{
    auto file = [](double first, double second) {
        Bytes b;
        b.I32(308).Str(L"施工图设计").I32(1).I32(1).I32(2).Str(L"2008年3月5日").I32(7).F64(first).F64(second);
        b.I32(1);
        RoadRecord(b, L"主线", 0, 80.0, L"", L"", L"", L"", L"");
        b.I16(0);
        return b.str();
    };
    const double bad[] = {std::nan(""), HUGE_VAL, -HUGE_VAL};
    for (int slot = 0; slot < 2; ++slot) {
        for (double value : bad) {
            SCOPED_TRACE(slot);
            SCOPED_TRACE(value);
            const double first = slot == 0 ? value : 1.5, second = slot == 1 ? value : -2.25;
            MessageBoxScript script;
            WriteBytes(EpjPath(L"Reserve"), file(first, second));
            tkxProject project;
            project.m_SName = L"Keep";
            EXPECT_EQ(0, project.Load(EpjPath(L"Reserve")));
            EXPECT_EQ(CString(L"Keep"), project.m_SName);
            ASSERT_EQ(1u, script.Shown().size());
            const CString prefix =
                ClFormat(L"读取项目文件<%s\\Reserve.EPJ>失败!\n\n项目的保留数据<", folder.Path().GetString());
            EXPECT_EQ(prefix, script.Shown()[0].text.Left(prefix.GetLength())) << Utf8(script.Shown()[0].text);
            EXPECT_NE(-1, script.Shown()[0].text.Find(L">错误, 应为有限的数!"));

            project.m_SName = L"Reserve";
            project.m_SPath = folder.Path();
            project.m_Roads.RemoveAll();
            sRoadInfo road;
            road.m_SRoadName = L"主线";
            project.m_Roads.Add(road);
            project.m_iCurRoad = 0;
            project.m_rReserve1 = first;
            project.m_rReserve2 = second;
            EXPECT_EQ(0, project.Save());
            EXPECT_EQ(2u, script.Shown().size());
            EXPECT_EQ(file(first, second), ReadBytes(EpjPath(L"Reserve")));
        }
    }
    // Any finite value is kept as it was.
    WriteBytes(EpjPath(L"Reserve"), file(-1e300, 0.0));
    tkxProject project;
    ASSERT_EQ(1, project.Load(EpjPath(L"Reserve")));
    EXPECT_EQ(-1e300, project.m_rReserve1);
}

TEST_F(ProjectFile, LoadAndSaveFailures)
{
    tkxProject project;
    EXPECT_EQ(0, project.Load());
    EXPECT_EQ(0, project.Save());
    EXPECT_EQ(0, project.Load(L"   "));
    EXPECT_TRUE(boxes.Shown().empty());

    EXPECT_EQ(0, project.Load(EpjPath(L"Missing")));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"打开TAVIX项目文件时失败!\n\n<" + EpjPath(L"Missing") + L">."), boxes.Shown()[0].text);

    project.m_SName = L"P";
    project.m_SPath = folder / L"no such folder";
    EXPECT_EQ(0, project.Save());
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"创建/修改TAVIX项目文件时失败!\n\n<" + (folder / L"no such folder\\P.EPJ") + L">."),
              boxes.Shown()[1].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), boxes.Shown()[1].type);
}

TEST_F(ProjectFile, FailedSaveKeepsTheOldFile)
{
    WriteBytes(EpjPath(L"Old"), TwoRoadFile(1));
    // The file cannot be replaced: another program holds it open.
    HANDLE held = CreateFileW(EpjPath(L"Old"), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    tkxProject project;
    project.m_SName = L"Old";
    project.m_SPath = folder.Path();
    EXPECT_EQ(0, project.Save());
    CloseHandle(held);
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(TwoRoadFile(1), ReadBytes(EpjPath(L"Old")));
    EXPECT_EQ(std::vector<CString>{L"Old.EPJ"}, FilesIn(folder.Path()));
}

TEST(ProjectModel, ConstructionAndReset)
{
    tkxProject project;
    EXPECT_EQ(CString(L"初步设计"), project.m_SStage);
    EXPECT_EQ(-1, project.m_iCurRoad);
    EXPECT_EQ(3, project.m_sPrjSetting0.m_iPrecision_A);
    EXPECT_EQ(CString(L"QZ"), project.m_sPrjSetting1.m_SQZ);
    const sPrjSetting2& s2 = project.m_sPrjSetting2;
    EXPECT_EQ(10.0, s2.m_rLength);
    EXPECT_EQ(0.75, s2.m_rLengthRate);
    EXPECT_EQ(1.0, s2.m_rArrowLength);
    EXPECT_EQ(0.2, s2.m_rArrowWidth);

    // The records' own defaults differ from the project's.
    EXPECT_EQ(6, sPrjSetting0().m_iPrecision_A);
    EXPECT_TRUE(sPrjSetting1().m_SQZ.IsEmpty());
    EXPECT_EQ(5.0, sPrjSetting2().m_rLength);
    EXPECT_EQ(CString(L"未命名道路"), sRoadInfo().m_SRoadName);
    EXPECT_EQ(120.0, sRoadInfo().m_rDesignSpeed);

    // Reset keeps roads and the arrow values.
    project.m_Roads.Add(sRoadInfo());
    project.m_sPrjSetting2.m_rArrowWidth = 0.7;
    project.m_sPrjSetting2.m_rLength = 3.0;
    project.m_SName = L"x";
    project.Reset();
    EXPECT_EQ(1, project.GetRoadCount());
    EXPECT_EQ(0.7, project.m_sPrjSetting2.m_rArrowWidth);
    EXPECT_EQ(10.0, project.m_sPrjSetting2.m_rLength);
    EXPECT_TRUE(project.m_SName.IsEmpty());
}

TEST(ProjectModel, CopyLeavesTheSegmentsAlone)
{
    tkxProject source;
    source.m_SName = L"Src";
    source.m_Roads.Add(sRoadInfo());
    source.m_iCurRoad = 0;
    source.m_sPrjSetting1.m_iMode = 1;
    tkxProjectSegment segment;
    segment.SetName(L"一标段");
    CArray<tkxProjectSegment> list;
    list.Add(segment);
    source.ImportPrjSegments(list);

    tkxProject target;
    target.ImportPrjSegments(list);
    target.ImportPrjSegments(CArray<tkxProjectSegment>());
    target.m_Roads.Add(sRoadInfo());
    target.m_Roads.Add(sRoadInfo());
    target.Copy(&source);
    EXPECT_EQ(CString(L"Src"), target.m_SName);
    EXPECT_EQ(1, target.GetRoadCount());
    EXPECT_EQ(1, target.m_sPrjSetting1.m_iMode);
    EXPECT_EQ(0, target.GetPrjSegmentCount());

    tkxProject assigned;
    assigned = source;
    EXPECT_EQ(0, assigned.GetPrjSegmentCount());
    tkxProjectSegment out;
    EXPECT_EQ(1, source.GetPrjSegmentAt(0, out));
    EXPECT_EQ(CString(L"一标段"), out.Name());
    EXPECT_EQ(0, source.GetPrjSegmentAt(1, out));
}

TEST(ProjectModel, RoadLookups)
{
    tkxProject project;
    EXPECT_EQ(ROAD_OTHER, project.GetCurRoadLevel());
    EXPECT_EQ(0.0, project.GetCurRoadSpeed());
    EXPECT_TRUE(project.GetCurRoadName().IsEmpty());
    sRoadInfo out;
    EXPECT_EQ(0, project.GetCurrentRoad(out));

    sRoadInfo a;
    a.m_SRoadName = L"Ramp A";
    a.m_RoadLevel = ROAD_URBAN_BRANCH;
    a.m_rDesignSpeed = 30.0;
    sRoadInfo b;
    b.m_SRoadName = L"主线";
    project.m_Roads.Add(a);
    project.m_Roads.Add(b);

    // GetRoadIndex takes the exact name; HasIncludeRoad, as the roads'
    // folders, and SetCurrentRoad(name) any case.
    EXPECT_EQ(1, project.HasIncludeRoad(L"RAMP a"));
    EXPECT_EQ(1, project.HasIncludeRoad(L"主线"));
    EXPECT_EQ(0, project.HasIncludeRoad(L"Ramp"));
    EXPECT_EQ(-1, project.GetRoadIndex(L"RAMP a"));
    EXPECT_EQ(1, project.GetRoadIndex(L"  主线 "));
    EXPECT_EQ(0, project.HasIncludeRoad(L" 主线"));
    EXPECT_EQ(1, project.SetCurrentRoad(CString(L"RAMP a")));
    EXPECT_EQ(0, project.m_iCurRoad);
    EXPECT_EQ(ROAD_URBAN_BRANCH, project.GetCurRoadLevel());
    EXPECT_EQ(30.0, project.GetCurRoadSpeed());
    EXPECT_EQ(0, project.SetCurrentRoad(CString(L"none")));
    EXPECT_EQ(0, project.SetCurrentRoad(2));
    EXPECT_EQ(0, project.SetCurrentRoad(-1));
    EXPECT_EQ(0, project.m_iCurRoad);
    EXPECT_EQ(1, project.SetCurrentRoad(1));
    EXPECT_EQ(1, project.GetCurrentRoad(out));
    EXPECT_EQ(CString(L"主线"), out.m_SRoadName);
    EXPECT_TRUE(project.GetRoadName(2).IsEmpty());
}
