// The profile-sheet base elevations without their dialog: rounding, the
// band and sheet breaks, the question over the band once a stretch, and
// the refused runs leaving an earlier file as it was.
#include "brisko/convert/BaseElevations.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "tools_world.h"

using namespace tooltest;

namespace {

struct JGCFiles
{
    JGCFiles(const wchar_t* name, const char* sqx, const char* dmx) : folder(name)
    {
        sqxPath = PutFixture(folder, sqx, L"路.SQX");
        dmxPath = PutFixture(folder, dmx, L"路.DMX");
        jgcPath = folder / L"路.JGC";
    }
    ScratchFolder folder;
    CString sqxPath, dmxPath, jgcPath;
};

} // namespace

TEST(BaseElevations, BasesRoundDownToTheUnit)
{
    const struct {
        double base, unit, rounded;
    } cases[] = {
        {98.25, 1, 98}, {-5.25, 1, -6}, {-0.5, 1, -1}, {3.0, 1, 3}, {2.9999999999, 1, 3}, {104.9, 5, 100}, {-0.2, 0.5, -0.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.rounded, RoundBase(c.base, c.unit)) << c.base << " by " << c.unit;
}

TEST(BaseElevations, LinesWithinTheBandGiveOneRowAtTheFirstGradePoint)
{
    JGCParameters p; // scale 200, band 20 mm, margin 1 mm: 4 m high, 3.6 m usable
    for (const auto& c : {std::make_pair("JGC_FLAT", "0.000 98.000 \r\n"), std::make_pair("JGC_LOW", "0.000 -6.000 \r\n")}) {
        SCOPED_TRACE(c.first);
        const std::string name = c.first;
        JGCFiles files(L"jgc_one", (name + "_SQX").c_str(), (name + "_DMX").c_str());
        MessageBoxScript boxes;
        ASSERT_EQ(1, WriteBaseElevations(nullptr, files.sqxPath, files.dmxPath, L"", files.jgcPath, p))
            << Utf8(boxes.LastText());
        EXPECT_EQ(std::string(c.second), ReadBytes(files.jgcPath));
    }
}

TEST(BaseElevations, TheBandMovesWhereTheLinesLeaveIt)
{
    // A 2 % climb fills the usable 3.6 m every 180 m; with a unit of 10 m
    // the third base (107.008) rounds like the second (103.404): one row.
    tkxBreakChain chain;
    tkxZDMInfo profile(&chain);
    JGCFiles files(L"jgc_climb", "JGC_CLIMB_SQX", "JGC_CLIMB_DMX");
    ASSERT_EQ(1, profile.LoadSQXFile(files.sqxPath));
    ASSERT_EQ(1, profile.LoadDMXFile(files.dmxPath));
    JGCParameters p;
    std::vector<JGCRow> rows;
    ASSERT_TRUE(ComputeBaseElevations(profile, p, rows, [](double, double) { return true; }));
    ASSERT_GE(rows.size(), 3u);
    EXPECT_NEAR(0.0, rows[0].station, 1e-9);
    EXPECT_NEAR(99.8, rows[0].base, 1e-9);
    EXPECT_NEAR(180.0, rows[1].station, 1e-9);
    EXPECT_NEAR(103.404, rows[1].base, 1e-9);
    EXPECT_NEAR(360.2, rows[2].station, 1e-9);
    EXPECT_NEAR(107.008, rows[2].base, 1e-9);

    p.unit = 10.0;
    MessageBoxScript boxes;
    ASSERT_EQ(1, WriteBaseElevations(nullptr, files.sqxPath, files.dmxPath, L"", files.jgcPath, p));
    EXPECT_EQ(std::string("0.000 90.000 \r\n180.000 100.000 \r\n540.400 110.000 \r\n"), ReadBytes(files.jgcPath));
}

TEST(BaseElevations, SheetsOnASecondChainEndTheirRowsWithItsNumber)
{
    StationSettings stations(3, 1);
    JGCFiles files(L"jgc_chain", "JGC_CHAIN_SQX", "JGC_CHAIN_DMX");
    const CString dl = PutFixture(files.folder, "CHAIN_DL", L"路.DL");
    JGCParameters p;
    p.pageAuto = true;
    p.pageLength = 100.0;
    MessageBoxScript boxes;
    ASSERT_EQ(1, WriteBaseElevations(nullptr, files.sqxPath, files.dmxPath, dl, files.jgcPath, p))
        << Utf8(boxes.LastText());
    EXPECT_EQ(Fixture("JGC_CHAIN_JGC"), ReadBytes(files.jgcPath));
}

TEST(BaseElevations, TheFillQuestionComesOnceAStretchAndNoWritesNothing)
{
    StationSettings stations(3, 1);
    JGCFiles files(L"jgc_deep", "JGC_DEEP_SQX", "JGC_DEEP_DMX");
    JGCParameters p;
    {
        MessageBoxScript boxes(IDYES);
        ASSERT_EQ(1, WriteBaseElevations(nullptr, files.sqxPath, files.dmxPath, L"", files.jgcPath, p));
        ASSERT_EQ(2u, boxes.Shown().size());
        EXPECT_EQ(CString(L"桩号K0+100.200处, 填挖高[10.000]大于标尺总高度[4.000]，无法确定基点高程，\n\n"
                          L"请重新确定垂直比例或标尺高度。\n\n是否继续?"),
                  boxes.Shown()[0].text);
        EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Shown()[0].type);
        EXPECT_EQ(0, boxes.Shown()[1].text.Find(L"桩号K0+500.200处"));
    }
    const CString earlier = PutText(files.folder, L"路.JGC", L"0.000 90.000 \n");
    MessageBoxScript boxes(IDNO);
    EXPECT_EQ(0, WriteBaseElevations(nullptr, files.sqxPath, files.dmxPath, L"", earlier, p));
    EXPECT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(FileText(L"0.000 90.000 \n"), ReadBytes(earlier));
}

TEST(BaseElevations, AFileThatFailsToLoadIsNamedAndNothingIsWritten)
{
    ScratchFolder folder(L"jgc_refused");
    const CString sqx = PutFixture(folder, "JGC_FLAT_SQX", L"路.SQX");
    const CString dmx = PutFixture(folder, "JGC_FLAT_DMX", L"路.DMX");
    const CString badDl = PutText(folder, L"坏.DL", L"1200\n");
    const CString onePoint = PutText(folder, L"一点.SQX", L"0 100\n");
    // A first grade point two thousand kilometres before the road: the walk
    // would take some ten billion steps.
    const CString farOff = PutText(folder, L"远.SQX", L"-2147483648 100\n500 102 3000\n3800 110\n");
    // The last grade point mistyped by three digits (38000000 for 38000),
    // and one a step beyond the longest walk.
    const CString farLast = PutText(folder, L"远端.SQX", L"0 100\n500 100 3000\n38000000 100\n");
    const CString justOver = PutText(folder, L"略长.SQX", L"0 100\n500 100 3000\n1000000.2 100\n");
    const CString jgc = PutText(folder, L"路.JGC", L"早先\n");

    // The message each reader gives for a file.
    auto reason = [](const std::function<int()>& load) {
        EXPECT_EQ(0, load());
        return tkx_GetLastError();
    };
    tkxBreakChain chain;
    tkxZDMInfo profile(&chain);
    const struct {
        CString sqx, dmx, dl;
        CString message;
    } cases[] = {
        {sqx, dmx, badDl,
         ClFormat(L"读取桩号断链文件<%s>出错!\n\n%s", badDl.GetString(),
                  reason([&] { return chain.LoadDLFile(badDl); }).GetString())},
        {onePoint, dmx, L"",
         ClFormat(L"读取纵断面竖曲线文件<%s>出错!\n\n%s", onePoint.GetString(),
                  reason([&] { return profile.LoadSQXFile(onePoint); }).GetString())},
        {sqx, folder / L"无.DMX", L"",
         ClFormat(L"读取纵断面地面线文件<%s>出错!\n\n%s", (folder / L"无.DMX").GetString(),
                  reason([&] { return profile.LoadDMXFile(folder / L"无.DMX"); }).GetString())},
        {farOff, dmx, L"",
         ClFormat(L"纵断面竖曲线文件<%s>中, 变坡点桩号K-2147483-648.000至K3+800.000的距离超过1000公里, 无法生成基点高程!\n\n"
                  L"请检查变坡点桩号。",
                  farOff.GetString())},
        {farLast, dmx, L"",
         ClFormat(L"纵断面竖曲线文件<%s>中, 变坡点桩号K0+000.000至K38000+000.000的距离超过1000公里, 无法生成基点高程!\n\n"
                  L"请检查变坡点桩号。",
                  farLast.GetString())},
        {justOver, dmx, L"",
         ClFormat(L"纵断面竖曲线文件<%s>中, 变坡点桩号K0+000.000至K1000+000.200的距离超过1000公里, 无法生成基点高程!\n\n"
                  L"请检查变坡点桩号。",
                  justOver.GetString())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.message));
        MessageBoxScript boxes;
        EXPECT_EQ(0, WriteBaseElevations(nullptr, c.sqx, c.dmx, c.dl, jgc, JGCParameters()));
        EXPECT_EQ(std::vector<CString>{c.message}, boxes.Texts());
        if (!boxes.Shown().empty()) EXPECT_EQ(UINT(MB_ICONHAND), boxes.Shown()[0].type);
        EXPECT_EQ(FileText(L"早先\n"), ReadBytes(jgc));
    }

    // A step short of the longest walk is walked.
    const CString justUnder = PutText(folder, L"略短.SQX", L"0 100\n500 100 3000\n999999.8 100\n");
    MessageBoxScript boxes;
    EXPECT_EQ(1, WriteBaseElevations(nullptr, justUnder, dmx, L"", jgc, JGCParameters())) << Utf8(boxes.LastText());
    EXPECT_EQ(FileText(L"0.000 98.000 \n"), ReadBytes(jgc));
}
