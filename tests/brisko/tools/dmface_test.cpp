// The program's own cross-section ground-line record: reading each layout,
// the stations through the break chain, the messages of bad lines, writing,
// heights across a section and the shift onto a new centre line.
#include "brisko/convert/DMFace.h"
#include "corvane/base/LastError.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/HdxSection.h"
#include "corvane/road/Profile.h"
#include "support/FailingWrites.h"
#include "tools_world.h"
#include <cmath>

using namespace tooltest;

namespace {

// Reads the text as an HDX file into the face; the reader's message.
CString ReadText(CDMFace& face, const wchar_t* text)
{
    ScratchFolder folder(L"dmface_read");
    const CString path = PutText(folder, L"in.HDX", text);
    CStdioFile file;
    EXPECT_TRUE(file.Open(path, CFile::modeRead | CFile::typeText));
    return face.ReadHDX(file);
}

std::vector<double> Values(std::initializer_list<double> v) { return std::vector<double>(v); }

void ExpectSide(const std::vector<double>& got, const std::vector<double>& want, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(want[i], got[i], 1e-9) << "point " << i;
}

KeyDMXInfo Section(double station, std::vector<double> ld, std::vector<double> lh, std::vector<double> rd,
                   std::vector<double> rh)
{
    KeyDMXInfo s;
    s.m_rZH = station;
    s.m_LeftDistance = ld;
    s.m_LeftHeight = lh;
    s.m_RightDistance = rd;
    s.m_RightHeight = rh;
    return s;
}

} // namespace

TEST(DMFace, EachLayoutGivesDistancesAndHeightsFromTheCentre)
{
    tkxBreakChain chain;
    tkxZDMInfo profile(&chain);
    profile.AddDMHeight(0.0, 100.0);
    profile.AddDMHeight(200.0, 102.0);

    CDMFace abs1(&chain);
    ASSERT_EQ(CString(), ReadText(abs1, L"// 横断面\nABS1\n100\n2 0.5 5 0.3\n3,-1\n"));
    EXPECT_EQ(1, abs1.GetFormat());
    ASSERT_EQ(1, abs1.GetSectionCount());
    ExpectSide(abs1.GetSection(0).m_LeftDistance, Values({0, 2, 5}), "ABS1 left");
    ExpectSide(abs1.GetSection(0).m_LeftHeight, Values({0, 0.5, 0.3}), "ABS1 left heights");
    ExpectSide(abs1.GetSection(0).m_RightHeight, Values({0, -1}), "ABS1 right heights");

    // Raised rod: each pair from the point before it.
    CDMFace rod(&chain);
    ASSERT_EQ(CString(), ReadText(rod, L"100\n2 0.5 3 -0.2\n\t1 1 1 1 \n"));
    EXPECT_EQ(2, rod.GetFormat());
    ExpectSide(rod.GetSection(0).m_LeftDistance, Values({0, 2, 5}), "rod left");
    ExpectSide(rod.GetSection(0).m_LeftHeight, Values({0, 0.5, 0.3}), "rod left heights");
    ExpectSide(rod.GetSection(0).m_RightDistance, Values({0, 1, 2}), "rod right");

    // ABS with a profile: the centre is the ground line's height there.
    CDMFace abs(&chain);
    abs.SetProfile(&profile);
    ASSERT_EQ(CString(), ReadText(abs, L"ABS\n100\n4 100.5\n4 99\n150\n0 0\n6 103\n"));
    EXPECT_EQ(0, abs.GetFormat());
    ASSERT_EQ(2, abs.GetSectionCount());
    ExpectSide(abs.GetSection(0).m_LeftHeight, Values({101.0, 100.5}), "ABS left heights");
    ExpectSide(abs.GetSection(0).m_RightHeight, Values({101.0, 99.0}), "ABS right heights");
    // "0 0", the suite's empty side, is no ground point at elevation 0.
    ExpectSide(abs.GetSection(1).m_LeftDistance, Values({0}), "empty side");
    ExpectSide(abs.GetSection(1).m_LeftHeight, Values({101.5}), "empty side's centre");
}

TEST(DMFace, ASideHoldsAsManyPointsAsItsLine)
{
    // Well beyond the hundred points a side of the old fixed record.
    CString line;
    for (int i = 0; i < 150; ++i) line += L"1 0.1 ";
    tkxBreakChain chain;
    CDMFace face(&chain);
    ASSERT_EQ(CString(), ReadText(face, L"100\n" + line + L"\n" + line + L"\n"));
    ASSERT_EQ(151, face.GetSection(0).GetLeftCount());
    EXPECT_DOUBLE_EQ(150.0, face.GetSection(0).m_LeftDistance[150]);
    EXPECT_NEAR(15.0, face.GetSection(0).m_RightHeight[150], 1e-9);
}

TEST(DMFace, StationsConvertThroughTheirSegment)
{
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1100"));
    CDMFace face(&chain);
    // Segment 2 runs from 1100 on at chainage 1200.  A station alone is
    // taken in the first segment holding it.
    ASSERT_EQ(CString(), ReadText(face, L"ABS1\n"
                                        L"1250 2\n1 0\n1 0\n"
                                        L"1150\n1 0\n1 0\n"
                                        L"1260\n1 0\n1 0\n"
                                        L"1270.000_2\n1 0\n1 0\n"));
    ASSERT_EQ(4, face.GetSectionCount());
    EXPECT_NEAR(1350.0, face.GetSection(0).m_rZH, 1e-9);
    EXPECT_NEAR(1150.0, face.GetSection(1).m_rZH, 1e-9);
    EXPECT_NEAR(1360.0, face.GetSection(2).m_rZH, 1e-9);
    EXPECT_NEAR(1370.0, face.GetSection(3).m_rZH, 1e-9);
}

TEST(DMFace, EachBadLineIsNamedWithItsLine)
{
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1100"));
    const struct {
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {L"// nothing\n", L"第2行数据失败!"},
        {L"abs\n1 0\n1 0\n", L"读第1行时出错, 读桩号数据<abs>时出错!"},
        {L"ABS1\n100 2 3\n", L"读第2行桩号数据个数<3>应小于等于2"},
        {L"ABS1\nK0+100\n", L"读第2行时出错, 读桩号数据<K0+100>时出错!"},
        {L"ABS1\n100+5\n", L"读第2行时出错, 读桩号数据<100+5>时出错!"},
        {L"ABS1\n1150 7\n", L"读第2行时出错, 转换断链桩号<1150 7>时出错!"},
        {L"ABS1\n1150_7\n", L"读第2行时出错, 转换断链桩号<1150_7>时出错!"},
        {L"ABS1\n100\n", L"第3行, 读入数据错误!"},
        {L"ABS1\n100\n1 0\n// end\n", L"第5行, 读入数据错误!"},
        {L"ABS1\n100\n2 0.5 3\n1 0\n", L"读第3行<断面左侧数据>时出错!\n\n<2 0.5 3>\n\n左侧数据个数不匹配!"},
        {L"ABS1\n100\n1 0\n1\n", L"读第4行时出错!\n\n<1>\n\n右侧数据个数不匹配!"},
        {L"ABS1\n100\n1 0 x 1\n1 0\n", L"读第3行<断面左侧数据>, 第2个数据(水平相对距离x)出错!"},
        {L"ABS1\n100\n1 0 2 1+2\n1 0\n", L"读第3行<断面左侧数据>, 第2个数据(高程/高差:1+2)出错!"},
        {L"ABS1\n100\n1 0\n1y 0\n", L"读第4行<断面右侧数据>, 第0个数据(水平相对距离1y)出错!"},
        {L"ABS1\n100\n1 0\n1 0 2 h\n", L"读第4行<断面右侧数据>, 第2个数据(高程/高差:h)出错!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        CDMFace face(&chain);
        EXPECT_EQ(CString(c.message), ReadText(face, c.text));
    }
    CDMFace unchained(nullptr);
    EXPECT_EQ(CString(L"未定义断链对象"), ReadText(unchained, L"ABS1\n"));
}

TEST(DMFace, WritesEachLayoutSoThatTheSuiteReadsItBack)
{
    StationSettings stations(3, 1);
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.GetDLFromString(L"1200=1100"));
    tkxZDMInfo profile(&chain);
    profile.AddDMHeight(1000.0, 50.0);
    profile.AddDMHeight(1400.0, 50.0);
    CDMFace face(&chain);
    face.SetProfile(&profile);
    face.AddSection(Section(1150.0, {0, 2, 6}, {50, 51, 49.5}, {0, 3}, {50, 48}));
    // The right side holds no ground point: its centre stands for it.
    face.AddSection(Section(1350.0, {0, 4}, {50.25, 52}, {0}, {50.25}));

    ScratchFolder folder(L"dmface_write");
    const struct {
        short format;
        const char* text;
        Tavix4::enHDXFormat layout;
    } cases[] = {
        {1, "ABS1\r\n1150.000\r\n2.000 1.000 6.000 -0.500 \r\n3.000 -2.000 \r\n"
            "1250.000_2\r\n4.000 1.750 \r\n0.000 0.000 \r\n",
         Tavix4::HDX_ABS1},
        {0, "ABS\r\n1150.000\r\n2.000 51.000 6.000 49.500 \r\n3.000 48.000 \r\n"
            "1250.000_2\r\n4.000 52.000 \r\n0.000 50.250 \r\n",
         Tavix4::HDX_ABS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        face.SetFormat(c.format);
        const CString path = folder / L"out.HDX";
        ASSERT_EQ(CString(), face.WriteHDX(path));
        EXPECT_EQ(std::string(c.text), ReadBytes(path));

        // The suite's reader takes the written centre point as the centre:
        // the side stays without ground points.
        CPtrList sections;
        Tavix4::enHDXFormat layout = Tavix4::HDX_RELATIVE;
        tkxZDMInfo centres(&chain);
        centres.AddDMHeight(1150.0, 50.0);
        centres.AddDMHeight(1350.0, 50.25);
        ASSERT_EQ(1, tkx_LoadHDXFile(path, &sections, layout, &chain, &centres)) << Utf8(tkx_GetLastError());
        EXPECT_EQ(c.layout, layout);
        ASSERT_EQ(2, sections.GetCount());
        auto* second = static_cast<tkxHdxSection*>(sections.GetAt(sections.FindIndex(1)));
        EXPECT_EQ(1, second->GetRightPtCount());
        EXPECT_EQ(2, second->GetLeftPtCount());
        for (POSITION pos = sections.GetHeadPosition(); pos;) delete static_cast<tkxHdxSection*>(sections.GetNext(pos));
    }
}

TEST(DMFace, AWriteItCannotFinishLeavesTheOldFile)
{
    tkxBreakChain chain;
    tkxZDMInfo profile(&chain);
    ScratchFolder folder(L"dmface_refused");
    const CString path = PutText(folder, L"old.HDX", L"ABS1\n100\n1 0\n1 0\n");
    const std::string old = ReadBytes(path);

    CDMFace face(&chain);
    face.SetProfile(&profile);
    face.AddSection(Section(100.0, {0, 1}, {0, 1}, {0, 1}, {0, 1}));
    face.SetFormat(2);
    EXPECT_EQ(CString(L"不能输出<抬杆法格式>的横断面地面线文件."), face.WriteHDX(path));
    face.SetFormat(1);
    face.AddSection(Section(120.0, {}, {}, {}, {}));
    EXPECT_EQ(CString(L"包含左右地面线数据均为0的断面!"), face.WriteHDX(path));
    CDMFace noProfile(&chain);
    EXPECT_EQ(CString(L"未定义纵断面对象, 无法输出横断面地面线文件."), noProfile.WriteHDX(path));
    CDMFace unchained(nullptr);
    EXPECT_EQ(CString(L"未定义断链对象, 无法输出横断面地面线文件."), unchained.WriteHDX(path));

    CDMFace good(&chain);
    good.SetProfile(&profile);
    good.AddSection(Section(100.0, {0, 2}, {0, 1}, {0, 2}, {0, 1}));
    {
        FailingWrites failing(folder.Path());
        EXPECT_EQ(CString(L"准备写文件时出错!"), good.WriteHDX(path));
        EXPECT_GT(failing.Refused(), 0);
    }
    EXPECT_EQ(old, ReadBytes(path));
    EXPECT_EQ(std::vector<CString>{L"old.HDX"}, FilesIn(folder.Path()));
}

TEST(DMFace, HeightsAcrossASection)
{
    tkxBreakChain chain;
    CDMFace face(&chain);
    face.AddSection(Section(100.0, {0, 2, 6}, {1, 2, 0}, {0}, {1}));
    EXPECT_EQ(0, face.SelectSection(1));
    ASSERT_EQ(1, face.SelectSection(0));
    EXPECT_DOUBLE_EQ(1.0, face.GetHeight(0.0));
    EXPECT_DOUBLE_EQ(1.5, face.GetHeight(-1.0));
    EXPECT_DOUBLE_EQ(1.0, face.GetHeight(-4.0));
    EXPECT_DOUBLE_EQ(0.0, face.GetHeight(-9.0)); // beyond the last point: its height
    EXPECT_DOUBLE_EQ(-999.0, face.GetHeight(1.0)); // no ground point on the right

    double centre = 0.0;
    ASSERT_EQ(1, face.GetCentreHeight(0, centre));
    EXPECT_DOUBLE_EQ(1.0, centre);
    MessageBoxScript boxes;
    EXPECT_EQ(0, face.GetCentreHeight(1, centre));
    EXPECT_EQ(std::vector<CString>{L"访问横断面地面线时数据越界!"}, boxes.Texts());
}

TEST(DMFace, AShiftMovesThePointsOntoTheNewCentreLine)
{
    tkxBreakChain chain;
    tkxZDMInfo profile(&chain);
    profile.AddDMHeight(0.0, 100.0);
    profile.AddDMHeight(1000.0, 100.0);
    CDMFace face(&chain);
    face.SetProfile(&profile);
    face.SetFormat(1);
    // Heights above the centre; the centre lies at 100.
    const KeyDMXInfo s = Section(500.0, {0, 2, 5}, {0, 1, 4}, {0, 4}, {0, -2});

    // Three metres to the left: the point at 2 m crosses to the right at
    // 1 m, the one at 5 m stays left at 2 m, the old centre lands at 3 m
    // after the crossed point, the right points move 3 m out.
    KeyDMXInfo left;
    face.ShiftSection(s, -3.0, left);
    EXPECT_DOUBLE_EQ(500.0, left.m_rZH);
    ExpectSide(left.m_LeftDistance, Values({0, 2}), "left of the shift left");
    ExpectSide(left.m_LeftHeight, Values({102, 104}), "left heights");
    ExpectSide(left.m_RightDistance, Values({0, 1, 3, 7}), "right of the shift left");
    ExpectSide(left.m_RightHeight, Values({102, 101, 100, 98}), "right heights");

    // One metre to the right: the right point stays at 3 m; the new centre
    // lies a quarter of the way to it.
    KeyDMXInfo right;
    face.ShiftSection(s, 1.0, right);
    ExpectSide(right.m_RightDistance, Values({0, 3}), "right of the shift right");
    ExpectSide(right.m_RightHeight, Values({99.5, 98}), "right heights");
    ExpectSide(right.m_LeftDistance, Values({0, 1, 3, 6}), "left of the shift right");
    ExpectSide(right.m_LeftHeight, Values({99.5, 100, 101, 104}), "left heights");

    // No offset: the section as it was, with absolute heights.
    KeyDMXInfo same;
    face.ShiftSection(s, 0.0, same);
    ExpectSide(same.m_LeftHeight, Values({100, 101, 104}), "unshifted left");
    ExpectSide(same.m_RightDistance, Values({0, 4}), "unshifted right");

    // Towards a side without ground points the ground is level with the
    // centre, and the old centre is the far side's only point.
    const KeyDMXInfo bare = Section(500.0, {0}, {0}, {0}, {0});
    KeyDMXInfo moved;
    face.ShiftSection(bare, -2.0, moved);
    ExpectSide(moved.m_LeftHeight, Values({100}), "bare left");
    ExpectSide(moved.m_RightDistance, Values({0, 2}), "bare right");
    ExpectSide(moved.m_RightHeight, Values({100, 100}), "bare right heights");

    CDMFace noProfile(&chain);
    MessageBoxScript boxes;
    KeyDMXInfo untouched = Section(7.0, {0}, {0}, {0}, {0});
    noProfile.ShiftSection(s, -3.0, untouched);
    EXPECT_EQ(std::vector<CString>{L"未定义纵断面对象! 无法平移横断面地面线数据!"}, boxes.Texts());
    EXPECT_DOUBLE_EQ(7.0, untouched.m_rZH);
}
