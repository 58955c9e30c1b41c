// The centre-line shift without its dialog: the offset table, the new
// ground-line files against golden files, and every refused run leaving
// the earlier outputs as they were.
#include "brisko/convert/MoveData.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/Profile.h"
#include "support/FailingWrites.h"
#include "tools_world.h"
#include <functional>

using namespace tooltest;

namespace {

// The example rows the dialog starts with.
std::vector<MoveOffsetRow> ExampleRows()
{
    return {{L"15", L"", L"4.0"},     {L"255", L"", L"0.0"},  {L"1770", L"", L"-10.0"},
            {L"2150", L"", L"0.0"},   {L"2260", L"", L"-10.0"}, {L"2590", L"", L"0.0"}};
}

struct ShiftFiles
{
    explicit ShiftFiles(const wchar_t* name) : folder(name)
    {
        job.dmxIn = PutFixture(folder, "SHIFT_DMX", L"shift.DMX");
        job.hdxIn = PutFixture(folder, "SHIFT_HDX", L"shift.HDX");
        job.dmxOut = folder / L"shift_NEW.DMX";
        job.hdxOut = folder / L"shift_NEW.HDX";
        job.format = 0;
    }
    ScratchFolder folder;
    MoveDataJob job;
};

} // namespace

TEST(MoveOffsets, LinearBetweenTheRowsAndKeptBeyondThem)
{
    tkxBreakChain chain;
    CMoveOffsets offsets;
    ASSERT_EQ(CString(), offsets.Read(ExampleRows(), chain, false));
    EXPECT_NEAR(-4.917491749, offsets.OffsetAt(1000.0), 1e-9);
    EXPECT_DOUBLE_EQ(4.0, offsets.OffsetAt(10.0));
    EXPECT_DOUBLE_EQ(4.0, offsets.OffsetAt(15.0));
    EXPECT_DOUBLE_EQ(0.0, offsets.OffsetAt(255.0));
    EXPECT_DOUBLE_EQ(-5.0, offsets.OffsetAt(2205.0));
    EXPECT_DOUBLE_EQ(0.0, offsets.OffsetAt(3000.0));

    CMoveOffsets one;
    ASSERT_EQ(CString(), one.Read({{L" 500 ", L"", L"-2.5"}, {L"", L"", L""}}, chain, false));
    EXPECT_DOUBLE_EQ(-2.5, one.OffsetAt(0.0));
    EXPECT_DOUBLE_EQ(-2.5, one.OffsetAt(9000.0));
}

TEST(MoveOffsets, StationsGoThroughTheBreakChainBySegment)
{
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1100"));
    CMoveOffsets offsets;
    // 1150 on segment 2 is chainage 1250; 1300 without a segment is only
    // on segment 2; 1150 alone would be on segment 1.
    ASSERT_EQ(CString(), offsets.Read({{L"1000", L"", L"0"}, {L"1150", L"2", L"-2"}, {L"1300", L"", L"0"}}, chain, true));
    EXPECT_EQ((std::vector<double>{1000.0, 1250.0, 1400.0}), offsets.m_Stations);
    // Without the break chain the stations are taken as they stand.
    ASSERT_EQ(CString(), offsets.Read({{L"1000", L"", L"0"}, {L"1150", L"2", L"-2"}}, chain, false));
    EXPECT_EQ((std::vector<double>{1000.0, 1150.0}), offsets.m_Stations);
}

TEST(MoveOffsets, ABadRowIsNamed)
{
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1100"));
    const struct {
        std::vector<MoveOffsetRow> rows;
        const wchar_t* message;
    } cases[] = {
        {{{L"10", L"", L"1"}, {L"K0+20", L"", L"1"}}, L"读取列表中，第2行,桩号<K0+20>数据失败!"},
        {{{L"", L"", L"1"}}, L"读取列表中，第1行,桩号<>数据失败!"},
        {{{L"10", L"二", L"1"}}, L"读取列表中，第1行,断链号<二>数据失败!"},
        {{{L"10", L"0", L"1"}}, L"读取列表中，第1行,断链号<0>数据失败!"},
        {{{L"10", L"", L"1"}, {L"1150", L"5", L"1"}}, L"读取列表中，第2行, <1150.000 5>转换整链桩号失败!"},
        {{{L"10", L"", L"左"}}, L"读取列表中，第1行,偏移距离<左>数据失败!"},
        {{{L"10", L"", L""}}, L"读取列表中，第1行,偏移距离<>数据失败!"},
        {{{L"100", L"", L"1"}, {L"50", L"", L"1"}}, L"读取列表中，第2行,桩号<50>应大于上一行的桩号!"},
        {{{L"100", L"", L"1"}, {L"100", L"", L"2"}}, L"读取列表中，第2行,桩号<100>应大于上一行的桩号!"},
        // 1150 alone is on segment 1, before 1150 on segment 2.
        {{{L"1150", L"2", L"1"}, {L"1150", L"", L"1"}}, L"读取列表中，第2行,桩号<1150>应大于上一行的桩号!"},
        {{}, L"中桩平移值列表中没有数据!"},
        {{{L" ", L"", L""}}, L"中桩平移值列表中没有数据!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.message));
        CMoveOffsets offsets;
        EXPECT_EQ(CString(c.message), offsets.Read(c.rows, chain, true));
    }
}

TEST(MoveData, WritesTheShiftedGroundLinesOfTheGoldenFiles)
{
    StationSettings stations(3, 1);
    for (int format : {0, 1}) {
        SCOPED_TRACE(format);
        ShiftFiles files(L"movedata_golden");
        files.job.format = format;
        MessageBoxScript boxes;
        ASSERT_EQ(1, RunMoveData(nullptr, files.job, ExampleRows())) << Utf8(boxes.LastText());
        EXPECT_TRUE(boxes.Shown().empty());
        EXPECT_EQ(Fixture(format == 0 ? "SHIFT_ABS_HDX" : "SHIFT_ABS1_HDX"), ReadBytes(files.job.hdxOut));
        EXPECT_EQ(Fixture("SHIFT_NEW_DMX"), ReadBytes(files.job.dmxOut));

        // Both load through the suite's readers: one ground point per
        // section, at its station.
        tkxBreakChain chain;
        tkxZDMInfo ground(&chain);
        ASSERT_EQ(1, ground.LoadDMXFile(files.job.dmxOut)) << Utf8(tkx_GetLastError());
        ASSERT_EQ(3, ground.GetDMXCount());
        EXPECT_DOUBLE_EQ(1000.0, ground.GetDMXZH(1));
        tkxHDMTerrain terrain(&chain);
        terrain.SetZDMInfo(&ground);
        ASSERT_EQ(1, terrain.LoadHDXFile(files.job.hdxOut)) << Utf8(tkx_GetLastError());
        EXPECT_EQ(3, terrain.GetHDXSectionCount());
    }
}

TEST(MoveData, SegmentsCarryThroughToTheNewFiles)
{
    StationSettings stations(3, 1);
    ScratchFolder folder(L"movedata_chain");
    MoveDataJob job;
    job.dmxIn = PutFixture(folder, "CHAIN_DMX", L"chain.DMX");
    job.hdxIn = PutFixture(folder, "CHAIN_HDX", L"chain.HDX");
    job.dlPath = PutFixture(folder, "CHAIN_DL", L"chain.DL");
    job.withBreakChain = true;
    job.dmxOut = folder / L"chain_NEW.DMX";
    job.hdxOut = folder / L"chain_NEW.HDX";
    job.format = 1;
    MessageBoxScript boxes;
    ASSERT_EQ(1, RunMoveData(nullptr, job, {{L"1000", L"", L"0"}, {L"1150", L"2", L"-2"}, {L"1300", L"", L"0"}}))
        << Utf8(boxes.LastText());
    EXPECT_EQ(Fixture("CHAIN_ABS1_HDX"), ReadBytes(job.hdxOut));
    EXPECT_EQ(Fixture("CHAIN_NEW_DMX"), ReadBytes(job.dmxOut));
}

TEST(MoveData, ARefusedRunNamesItsCauseAndLeavesTheOutputs)
{
    const struct {
        const char* what;
        std::function<void(ShiftFiles&, std::vector<MoveOffsetRow>&)> spoil;
        std::function<CString(const ShiftFiles&)> message;
    } cases[] = {
        {"break chain",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) {
             f.job.withBreakChain = true;
             f.job.dlPath = PutText(f.folder, L"bad.DL", L"1200 abc\n");
         },
         [](const ShiftFiles& f) {
             tkxBreakChain probe;
             probe.LoadDLFile(f.job.dlPath);
             return ClFormat(L"读取<%s>出错!\n\n%s", f.job.dlPath.GetString(), tkx_GetLastError().GetString());
         }},
        {"table",
         [](ShiftFiles&, std::vector<MoveOffsetRow>& rows) { rows[2].offset = L"x"; },
         [](const ShiftFiles&) { return CString(L"读取列表中，第3行,偏移距离<x>数据失败!"); }},
        {"profile",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) { f.job.dmxIn = f.folder / L"missing.DMX"; },
         [](const ShiftFiles& f) {
             tkxBreakChain chain;
             tkxZDMInfo probe(&chain);
             probe.LoadDMXFile(f.job.dmxIn);
             return ClFormat(L"读取<%s>出错!\n\n%s", f.job.dmxIn.GetString(), tkx_GetLastError().GetString());
         }},
        {"missing sections",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) { f.job.hdxIn = f.folder / L"missing.HDX"; },
         [](const ShiftFiles& f) { return ClFormat(L"打开横断面地面线文件<%s>失败!", f.job.hdxIn.GetString()); }},
        {"bad sections",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) {
             f.job.hdxIn = PutText(f.folder, L"bad.HDX", L"ABS1\n100\n1 0 2\n1 0\n");
         },
         [](const ShiftFiles& f) {
             return ClFormat(L"读取<%s>出错!\n\n读第3行<断面左侧数据>时出错!\n\n<1 0 2>\n\n左侧数据个数不匹配!",
                             f.job.hdxIn.GetString());
         }},
        // Sections out of order give a ground line that no reader takes:
        // the new HDX is not written either.
        {"ground line",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) {
             f.job.hdxIn = PutText(f.folder, L"order.HDX", L"ABS1\n200\n1 0\n1 0\n100\n1 0\n1 0\n");
         },
         [](const ShiftFiles& f) {
             return ClFormat(L"写纵断面地面高文件<%s>失败!\n\n%s", f.job.dmxOut.GetString(),
                             L"纵断面地面线第2点桩号(100.000)小于上一点桩号(200.000), 违反了桩号递增规则!");
         }},
        // Side distances that fall give a section no reader takes: neither
        // new file is written.
        {"falling offsets",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) {
             f.job.hdxIn = PutText(f.folder, L"falling.HDX", L"ABS1\n100\n3 0 1 0\n1 0\n");
         },
         [](const ShiftFiles& f) {
             return ClFormat(L"转换结果无法被读回, 输出文件保持原样!\n\n输入文件: %s\n\n读文件[%s], 第3行错误:"
                             L"读断面左侧第7个数据偏宽[3.583]出错, 中桩偏移距离应从小到大排列!",
                             f.job.hdxIn.GetString(), f.job.hdxOut.GetString());
         }},
        // A cross-section target that cannot be written (a folder holds its
        // name): the new ground line, already written, does not replace the
        // old one either.
        {"section target",
         [](ShiftFiles& f, std::vector<MoveOffsetRow>&) {
             f.job.hdxOut = f.folder / L"占用 的.HDX";
             ASSERT_TRUE(::CreateDirectoryW(f.job.hdxOut, nullptr));
         },
         [](const ShiftFiles& f) {
             return ClFormat(L"输入新横断面地面线文件失败!\n\n<%s>\n\n%s\n\n无法替换输出文件%s, 其他输出文件保持原样!",
                             f.job.hdxOut.GetString(), L"准备写文件时出错!", f.job.hdxOut.GetString());
         }},
    };
    StationSettings stations(3, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ShiftFiles files(L"movedata_refused");
        const CString oldDmx = PutText(files.folder, L"shift_NEW.DMX", L"earlier dmx\n");
        const CString oldHdx = PutText(files.folder, L"shift_NEW.HDX", L"earlier hdx\n");
        std::vector<MoveOffsetRow> rows = ExampleRows();
        c.spoil(files, rows);
        const auto before = FilesIn(files.folder.Path());
        MessageBoxScript boxes;
        EXPECT_EQ(0, RunMoveData(nullptr, files.job, rows));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(c.message(files), boxes.LastText());
        EXPECT_EQ(UINT(MB_ICONERROR), boxes.Shown()[0].type);
        EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.Shown()[0].caption);
        EXPECT_EQ(FileText(L"earlier dmx\n"), ReadBytes(oldDmx));
        EXPECT_EQ(FileText(L"earlier hdx\n"), ReadBytes(oldHdx));
        EXPECT_EQ(before, FilesIn(files.folder.Path()));
    }
}
