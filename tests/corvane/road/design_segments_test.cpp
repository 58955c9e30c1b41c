// The design segment file: reading with the project's roads, refusals
// naming line and field, writing, and the segments of the current project.
#include "corvane/project/DesignSegments.h"
#include "corvane/base/LastError.h"
#include "corvane/project/ProjectInterface.h"
#include "road_test_support.h"
#include "support/MessageBoxScript.h"

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

Tavix4::sRoadInfo Road(const wchar_t* name, const wchar_t* start, const wchar_t* end, const wchar_t* chain)
{
    Tavix4::sRoadInfo road;
    road.m_SRoadName = name;
    road.m_SStartZH = start;
    road.m_SEndZH = end;
    road.m_SBreakChain = chain;
    return road;
}

class DesignSegmentsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        project.m_Roads.Add(Road(L"主线", L"K0+000", L"K5+000", L"1200=1180"));
        project.m_Roads.Add(Road(L"匝道A", L"K0+100", L"K0+800", L""));
    }

    CString Write(const wchar_t* text)
    {
        road_test::WriteText(path, text);
        return path;
    }

    ScratchFolder folder{L"segments"};
    CString path = folder / L"project.FD";
    tkxProject project;
};

TEST_F(DesignSegmentsTest, ReadsSegmentsAndCompletesThemFromTheRoads)
{
    Write(L"//标段名 道路数\n"
          L"一标 2\n"
          L"//\t道路名 起点桩号 终点桩号\n"
          L"\t主线 K0+000 K1+190_2\n"
          L"\t匝道A\n"
          L"\n"
          L"二标 x 2\n"
          L"\t主线 K1+190_2 -1\n"
          L"\t支线 K0+000 K0+300\n");
    ASSERT_EQ(1, project.LoadFDFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(Utf8(L""), Utf8(tkx_GetLastError()));
    ASSERT_EQ(2, project.GetPrjSegmentCount());

    tkxProjectSegment first;
    ASSERT_EQ(1, project.GetPrjSegmentAt(0, first));
    EXPECT_EQ(Utf8(L"一标"), Utf8(first.Name()));
    ASSERT_EQ(2, first.GetRoadSegCount());
    CString start, end, chain;
    ASSERT_EQ(1, first.GetRoadZHRangeAt(1, start, end));
    EXPECT_EQ(Utf8(L"K0+100"), Utf8(start)) << "a road line with only a name takes the road's stations";
    EXPECT_EQ(Utf8(L"K0+800"), Utf8(end));
    ASSERT_EQ(1, first.GetBreakChainAt(0, chain));
    EXPECT_EQ(Utf8(L"1200=1180"), Utf8(chain));
    double from = 0, to = 0;
    ASSERT_EQ(1, first.GetRoadZHRangeAt(0, from, to));
    EXPECT_EQ(0.0, from);
    EXPECT_EQ(1210.0, to);
    EXPECT_EQ(0, first.GetRoadZHRangeAt(2, from, to));

    tkxProjectSegment second;
    ASSERT_EQ(1, project.GetPrjSegmentAt(1, second));
    EXPECT_EQ(Utf8(L"二标"), Utf8(second.Name())) << "three header fields: the count is the third";
    ASSERT_EQ(1, second.GetRoadZHRangeAt(0, start, end));
    EXPECT_EQ(Utf8(L"K5+000"), Utf8(end)) << "-1 takes the road's station";
    // A road the project does not hold keeps its texts and no break chain.
    ASSERT_EQ(1, second.GetBreakChainAt(1, chain));
    EXPECT_EQ(Utf8(L""), Utf8(chain));
    ASSERT_EQ(1, second.GetRoadZHRangeAt(1, from, to));
    EXPECT_EQ(300.0, to);
}

TEST_F(DesignSegmentsTest, BadLinesAreRefusedNamingLineAndField)
{
    struct {
        const wchar_t* text;
        const wchar_t* message;   // %s: the path
    } cases[] = {
        {L"一标\n", L"项目分段文件<%s>\n\n读取第1行分段名称[一标]失败 (分段名+道路数)!"},
        {L"一标 1\n\t主线\n\n二标 0\n\t匝道A\n", L"项目分段文件<%s>\n\n读取第4行分段[二标]的道路数不能为0!"},
        {L"一标 两\n\t主线\n", L"项目分段文件<%s>\n\n读取第1行分段[一标]的道路数[两]错误!"},
        {L"一标 2\n\t主线\n", L"项目分段文件<%s>\n\n读取第3行分段[一标]中第2条道路信息失败!"},
        {L"一标 1\n\t主线 K0+000\n", L"项目分段文件<%s>\n\n读取第2行分段[一标]第1条道路[主线 K0+000]的数据个数错误!"},
        {L"一标 1\n\t主线\n\n二标 1\n\t,\n", L"项目分段文件<%s>\n\n读取第5行分段[二标]中第1条道路信息[,]失败!"},
        // Stations that do not convert through the road's break chain.
        {L"一标 1\n// c\n\t主线 K0+000 K1+2x0\n",
         L"读取项目分段文件<%s>第3行出错:\n\n转换项目分段[一标]第1条道路的终点桩号[K1+2x0]失败, 请检查断链信息!"},
        {L"一标 2\n\t主线\n\t支线 abc K0+300\n",
         L"读取项目分段文件<%s>第3行出错:\n\n转换项目分段[一标]第2条道路的起点桩号[abc]失败, 请检查断链信息!"},
    };
    // The project held one segment before: a bad file leaves it.
    tkxProjectSegment kept;
    kept.SetName(L"原标段");
    tkxProjectSegment::sRoadSeg seg;
    seg.m_SRoadName = L"主线";
    kept.AddRoadSeg(seg);
    CArray<tkxProjectSegment> before;
    before.Add(kept);
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        project.ImportPrjSegments(before);
        Write(c.text);
        EXPECT_EQ(0, project.LoadFDFile(path));
        EXPECT_EQ(Utf8(ClFormat(c.message, path.GetString())), Utf8(tkx_GetLastError()));
        ASSERT_EQ(1, project.GetPrjSegmentCount());
        tkxProjectSegment segment;
        project.GetPrjSegmentAt(0, segment);
        EXPECT_EQ(Utf8(L"原标段"), Utf8(segment.Name()));
        EXPECT_EQ(1, segment.GetRoadSegCount());
    }

    // A road whose break chain in the project is unreadable.
    project.m_Roads[0].m_SBreakChain = L"1200=11x0";
    Write(L"一标 1\n\t主线\n");
    EXPECT_EQ(0, project.LoadFDFile(path));
    EXPECT_EQ(Utf8(ClFormat(L"读取项目分段文件<%s>第2行出错:\n\n设置项目分段[一标]第1条道路的断链描述[1200=11x0]错误!",
                            path.GetString())),
              Utf8(tkx_GetLastError()));

    EXPECT_EQ(0, project.LoadFDFile(folder / L"missing.FD"));
    EXPECT_EQ(Utf8(ClFormat(L"打开文件失败!\n\n<%s>.", (folder / L"missing.FD").GetString())), Utf8(tkx_GetLastError()));
}

// One segment at a time from an open file: a bad one leaves the segment.
TEST_F(DesignSegmentsTest, OneSegmentFromAnOpenFile)
{
    Write(L"一标 2\n\t主线\n\t匝道A K0+100 K0+300\n二标 2\n\t主线\n");
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::typeText));
    int line = 0;
    tkxProjectSegment segment;
    ASSERT_EQ(1, segment.LoadFile(&file, line)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(Utf8(L"一标"), Utf8(segment.Name()));
    ASSERT_EQ(2, segment.GetRoadSegCount());
    EXPECT_EQ(-1, segment.LoadFile(&file, line));
    EXPECT_EQ(Utf8(ClFormat(L"项目分段文件<%s>\n\n读取第6行分段[二标]中第2条道路信息失败!", path.GetString())),
              Utf8(tkx_GetLastError()));
    EXPECT_EQ(Utf8(L"一标"), Utf8(segment.Name()));
    ASSERT_EQ(2, segment.GetRoadSegCount());
    CString start, end;
    segment.GetRoadZHRangeAt(1, start, end);
    EXPECT_EQ(Utf8(L"K0+300"), Utf8(end));
    EXPECT_EQ(0, segment.LoadFile(&file, line));
}

TEST_F(DesignSegmentsTest, WritingAndReadingBack)
{
    ASSERT_EQ(1, project.AutoProjectSegment());
    tkxProjectSegment second;
    second.SetName(L"二标");
    tkxProjectSegment::sRoadSeg seg;
    seg.m_SRoadName = L"主线";
    seg.m_SStartZH = L"K1+190_2";
    seg.m_SEndZH = L"K5+000";
    seg.m_SBreakChain = L"1200=1180";
    second.AddRoadSeg(seg);
    CArray<tkxProjectSegment> list;
    tkxProjectSegment first;
    project.GetPrjSegmentAt(0, first);
    EXPECT_EQ(Utf8(L"默认分段"), Utf8(first.Name()));
    list.Add(first);
    list.Add(second);
    project.ImportPrjSegments(list);

    ASSERT_EQ(1, project.SaveFDFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(road_test::FileText(L"//标段名 道路数\n默认分段 2\n//\t道路名 起点桩号 终点桩号\n"
                                  L"\t主线 K0+000 K5+000\n\t匝道A K0+100 K0+800\n"
                                  L"\n//标段名 道路数\n二标 1\n//\t道路名 起点桩号 终点桩号\n\t主线 K1+190_2 K5+000\n"),
              road_test::ReadBytes(path));

    tkxProject loaded;
    loaded.m_Roads.Copy(project.m_Roads);
    ASSERT_EQ(1, loaded.LoadFDFile(path)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(2, loaded.GetPrjSegmentCount());
    tkxProjectSegment back;
    loaded.GetPrjSegmentAt(1, back);
    double from = 0, to = 0;
    ASSERT_EQ(1, back.GetRoadZHRangeAt(0, from, to));
    EXPECT_EQ(1210.0, from);
    EXPECT_EQ(5020.0, to);

    tkxProject empty;
    EXPECT_EQ(0, empty.AutoProjectSegment());
    EXPECT_EQ(Utf8(L"项目中未包含任何道路!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ(0, empty.GetPrjSegmentCount());
}

TEST_F(DesignSegmentsTest, RefusedWriteKeepsTheOldFile)
{
    road_test::WriteBytes(path, "old");
    struct {
        const wchar_t* name;
        const wchar_t* road;
        const wchar_t* start;
        const wchar_t* end;
    } cases[] = {
        {L"", L"主线", L"", L""},
        {L"一 标", L"主线", L"", L""},
        {L"一标", L"", L"", L""},
        {L"一标", L"主线", L"K0+000", L""},
        {L"一标", L"主线", L"K0+000", L"K1, 2"},
        {L"一标", L"主\n线", L"", L""},
        {L"一标\r\n2 1", L"主线", L"", L""},
        {L"//一标", L"主线", L"", L""},
        {L"一标", L"//主线", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(CString(c.name) + L" " + c.road));
        tkxProjectSegment segment;
        segment.SetName(c.name);
        tkxProjectSegment::sRoadSeg seg;
        seg.m_SRoadName = c.road;
        seg.m_SStartZH = c.start;
        seg.m_SEndZH = c.end;
        segment.AddRoadSeg(seg);
        CArray<tkxProjectSegment> list;
        list.Add(segment);
        project.ImportPrjSegments(list);
        EXPECT_EQ(0, project.SaveFDFile(path));
        EXPECT_EQ("old", road_test::ReadBytes(path));
    }
    tkxProjectSegment roadless;
    roadless.SetName(L"空标");
    CArray<tkxProjectSegment> list;
    list.Add(roadless);
    project.ImportPrjSegments(list);
    EXPECT_EQ(0, project.SaveFDFile(path));
    EXPECT_EQ(Utf8(L"项目分段[空标]中没有道路!"), Utf8(tkx_GetLastError()));
    EXPECT_EQ("old", road_test::ReadBytes(path));

    // Names that would read back as comment lines, with their own messages.
    for (bool roadName : {false, true}) {
        tkxProjectSegment segment;
        segment.SetName(roadName ? L"一标" : L"//一标");
        tkxProjectSegment::sRoadSeg seg;
        seg.m_SRoadName = roadName ? L"//主线" : L"主线";
        segment.AddRoadSeg(seg);
        CArray<tkxProjectSegment> one;
        one.Add(segment);
        project.ImportPrjSegments(one);
        EXPECT_EQ(0, project.SaveFDFile(path));
        EXPECT_EQ(Utf8(roadName ? L"项目分段[一标]第1条道路的名称[//主线]不能以\"//\"开头(读取时会被当作注释行)!"
                                : L"第1个项目分段的名称[//一标]不能以\"//\"开头(读取时会被当作注释行)!"),
                  Utf8(tkx_GetLastError()));
        EXPECT_EQ("old", road_test::ReadBytes(path));
    }
}

TEST_F(DesignSegmentsTest, SetStationsAndBreakChain)
{
    tkxProjectSegment segment;
    segment.SetName(L"一标");
    tkxProjectSegment::sRoadSeg seg;
    seg.m_SRoadName = L"主线";
    segment.AddRoadSeg(seg);
    EXPECT_EQ(0, segment.SetBreakChainAt(0, L"1200=1x80"));
    EXPECT_EQ(Utf8(L"设置项目分段[一标]第1条道路的断链描述[1200=1x80]错误!"), Utf8(tkx_GetLastError()));
    CString text;
    segment.GetBreakChainAt(0, text);
    EXPECT_EQ(Utf8(L"1200=1x80"), Utf8(text)) << "the text stays stored";
    EXPECT_EQ(0, segment.SetRoadZHRangeAt(0, L"K0+000", L"K1+000"));

    ASSERT_EQ(1, segment.SetBreakChainAt(0, L"1200=1210"));
    EXPECT_EQ(0, segment.SetRoadZHRangeAt(0, L"K0+100", L"K1+205"));
    EXPECT_EQ(Utf8(L"转换项目分段[一标]第1条道路的终点桩号[K1+205]失败, 请检查断链信息!"), Utf8(tkx_GetLastError()));
    CString start, end;
    segment.GetRoadZHRangeAt(0, start, end);
    EXPECT_EQ(Utf8(L"K0+100"), Utf8(start)) << "the start that converted is stored";
    EXPECT_EQ(Utf8(L""), Utf8(end));
    EXPECT_EQ(0, segment.SetRoadZHRangeAt(1, L"K0+100", L"K1+000"));
}

TEST_F(DesignSegmentsTest, SegmentsOfTheCurrentProject)
{
    MessageBoxScript boxes;
    ScratchFolder projectFolder(L"segments_project");
    tkxProject registered;
    registered.m_SName = L"SegmentTest";
    registered.m_SPath = projectFolder.Path();
    registered.m_Roads.Copy(project.m_Roads);
    ASSERT_EQ(1, tkx_AddProject(&registered, nullptr)) << Utf8(tkx_GetLastError());

    CArray<tkxProjectSegment> list;
    CString folder;
    ASSERT_EQ(1, tkx_GetProjectSegment(projectFolder / L"none.FD", list, folder)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(Utf8(projectFolder.Path()), Utf8(folder));
    ASSERT_EQ(1, list.GetSize());
    EXPECT_EQ(Utf8(L""), Utf8(list[0].Name()));
    EXPECT_EQ(2, list[0].GetRoadSegCount());

    const CString file = projectFolder / L"segments.FD";
    road_test::WriteText(file, L"一标 1\n\t匝道A\n\n二标 1\n\t主线 K0+000 K1+000\n");
    ASSERT_EQ(1, tkx_GetProjectSegment(file, list, folder)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(2, list.GetSize());
    EXPECT_EQ(Utf8(L"二标"), Utf8(list[1].Name()));

    road_test::WriteText(file, L"一标 0\n");
    EXPECT_EQ(0, tkx_GetProjectSegment(file, list, folder));
    EXPECT_EQ(Utf8(ClFormat(L"\n打开项目分段文件失败(%s)! 项目分段文件<%s>\n\n读取第1行分段[一标]的道路数不能为0!",
                            file.GetString(), file.GetString())),
              Utf8(tkx_GetLastError()));

    tkxProject current;
    tkx_RemoveProject(L"SegmentTest", &current, nullptr);
}

} // namespace
