// Speed sections: merging plane and profile segments into sections (joined
// runs, break stations that collapse, neighbours), the classification, and
// the speed pieces of a section.
#include "corvane/section/SpeedSection.h"
#include "section_test_support.h"

#include <cmath>
#include <vector>

using namespace Tavix4;
using namespace section_test;

namespace {

constexpr double S = 1e8; // a straight

using Planes = CArray<sPlaneUnitInfo, sPlaneUnitInfo>;
using Profiles = CArray<sProfileSegmentInfo, sProfileSegmentInfo>;
using Sections = CArray<tkxSpeedSection, tkxSpeedSection>;

void AddPlane(Planes& planes, double start, double end, double radius)
{
    sPlaneUnitInfo p;
    p.m_rStartZH = start;
    p.m_rEndZH = end;
    p.m_rRadius = radius;
    planes.Add(p);
}

void AddProfile(Profiles& profiles, double start, double end, double grade)
{
    sProfileSegmentInfo p;
    p.m_rStartZH = start;
    p.m_rEndZH = end;
    p.m_rGrade = grade;
    profiles.Add(p);
}

struct ExpectedSection {
    double start, end;
    double radius, slope;
    double backRadius, frontRadius, backSlope, frontSlope;
    int type;
};

void ExpectSections(const Sections& sections, const std::vector<ExpectedSection>& expected)
{
    ASSERT_EQ(static_cast<INT_PTR>(expected.size()), sections.GetSize());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "section " << i);
        const tkxSpeedSection& s = sections[static_cast<INT_PTR>(i)];
        const ExpectedSection& e = expected[i];
        EXPECT_DOUBLE_EQ(e.start, s.startZH());
        EXPECT_DOUBLE_EQ(e.end, s.endZH());
        EXPECT_DOUBLE_EQ(e.radius, s.radius());
        EXPECT_DOUBLE_EQ(e.slope, s.slope());
        EXPECT_DOUBLE_EQ(e.backRadius, s.backRadius());
        EXPECT_DOUBLE_EQ(e.frontRadius, s.frontRadius());
        EXPECT_DOUBLE_EQ(e.backSlope, s.backSlope());
        EXPECT_DOUBLE_EQ(e.frontSlope, s.frontSlope());
        EXPECT_EQ(e.type, s.sectionType());
    }
}

} // namespace

TEST(SpeedSections, ACurveBetweenTwoStraights)
{
    Planes planes;
    AddPlane(planes, 0, 500, S);
    AddPlane(planes, 500, 700, 400);
    AddPlane(planes, 700, 1000, S);
    Profiles profiles;
    AddProfile(profiles, 0, 1000, 0.01);
    Sections sections;
    ASSERT_EQ(1, tkx_ComboSections(&planes, &profiles, &sections));
    ExpectSections(sections, {{0, 500, S, 1, S, 400, 0, 1, 0},
                              {500, 700, 400, 1, S, S, 1, 1, 16},
                              {700, 1000, S, 1, 400, S, 1, 0, 0}});
}

TEST(SpeedSections, RunsJoinGentleGeometryAndKeepSteepAndTightPartsApart)
{
    // Straights and a flat curve join into one plane run; two curves of the
    // same tight radius stay two runs.  Gentle grades join; each steep grade,
    // and a gentle one after it, opens a run of its own.
    Planes planes;
    AddPlane(planes, 0, 300, S);
    AddPlane(planes, 300, 600, 2000);
    AddPlane(planes, 600, 900, S);
    AddPlane(planes, 900, 1000, 500);
    AddPlane(planes, 1000, 1100, 500);
    Profiles profiles;
    AddProfile(profiles, 0, 300, 0.02);
    AddProfile(profiles, 300, 800, 0.025);
    AddProfile(profiles, 800, 900, -0.05);
    AddProfile(profiles, 900, 1000, -0.045);
    AddProfile(profiles, 1000, 1100, 0.01);
    Sections sections;
    ASSERT_EQ(1, tkx_ComboSections(&planes, &profiles, &sections));
    ExpectSections(sections, {{0, 800, 2000, 2.5, S, S, 0, -5, 0},
                              {800, 900, S, -5, S, 500, 2.5, -4.5, 1},
                              {900, 1000, 500, -4.5, S, 500, -5, 1, 17},
                              {1000, 1100, 500, 1, 500, S, -4.5, 0, 16}});
}

TEST(SpeedSections, BreakStationsCloserThanAMillimetreCollapse)
{
    Planes planes;
    AddPlane(planes, 0, 500, S);
    AddPlane(planes, 500, 700, 400);
    AddPlane(planes, 700, 1000, S);
    Profiles profiles;
    AddProfile(profiles, 0, 500.0005, 0.01);
    AddProfile(profiles, 500.0005, 1000.0009, 0.035);
    Sections sections;
    ASSERT_EQ(1, tkx_ComboSections(&planes, &profiles, &sections));
    ExpectSections(sections, {{0, 500, S, 1, S, 400, 0, 3.5, 0},
                              {500, 700, 400, 3.5, S, S, 1, 3.5, 17},
                              {700, 1000, S, 3.5, 400, S, 3.5, 0, 1}});
    for (INT_PTR i = 0; i < sections.GetSize(); ++i) EXPECT_GE(sections[i].length(), 0.001);
}

TEST(SpeedSections, ProbesOutsideEverySegmentKeepTheValueBefore)
{
    // The profile ends before the plane: the last sections find no grade
    // ahead and keep what the probe of the section before found.
    Planes planes;
    AddPlane(planes, 0, 400, S);
    AddPlane(planes, 400, 600, 300);
    AddPlane(planes, 600, 1000, S);
    Profiles profiles;
    AddProfile(profiles, 0, 500, 0.02);
    Sections sections;
    ASSERT_EQ(1, tkx_ComboSections(&planes, &profiles, &sections));
    ExpectSections(sections, {{0, 400, S, 2, S, 300, 0, 2, 0},
                              {400, 500, 300, 2, S, 300, 2, 2, 16},
                              {500, 600, 300, 0, 300, S, 2, 2, 16},
                              {600, 1000, S, 0, 300, S, 2, 0, 0}});
}

TEST(SpeedSections, SectionsAreAppendedAndNothingIsDoneWithoutInput)
{
    Planes planes, noPlanes;
    AddPlane(planes, 0, 300, S);
    Profiles profiles, noProfiles;
    AddProfile(profiles, 0, 300, 0.01);
    Sections sections;
    tkxSpeedSection first;
    first.SetSection(-100, 0, 250, 0);
    sections.Add(first);

    EXPECT_EQ(0, tkx_ComboSections(nullptr, &profiles, &sections));
    EXPECT_EQ(0, tkx_ComboSections(&planes, nullptr, &sections));
    EXPECT_EQ(0, tkx_ComboSections(&planes, &profiles, nullptr));
    EXPECT_EQ(0, tkx_ComboSections(&noPlanes, &profiles, &sections));
    EXPECT_EQ(0, tkx_ComboSections(&planes, &noProfiles, &sections));
    ASSERT_EQ(1, sections.GetSize());
    EXPECT_EQ(0, sections[0].sectionType());

    // The new section follows the earlier one; the neighbour pass then runs
    // over the whole array.
    ASSERT_EQ(1, tkx_ComboSections(&planes, &profiles, &sections));
    ASSERT_EQ(2, sections.GetSize());
    EXPECT_EQ(250, sections[0].radius());
    EXPECT_EQ(16, sections[0].sectionType());
    EXPECT_EQ(0, sections[1].startZH());
    EXPECT_EQ(300, sections[1].endZH());
}

TEST(SpeedSections, Classification)
{
    struct Case {
        const char* what;
        double length, radius, slope, backRadius, frontRadius;
        int type;
        const char* name;
    } cases[] = {
        {"short straight between curves", 150, S, 2, 300, 300, -1, "短直线"},
        {"short straight, curve and straight", 150, S, 2, 300, S, 0, "平直"},
        {"short steep straight between curves", 150, S, 4, 300, 300, 1, "纵坡"},
        {"short straight, a neighbour 999.999999", 150, S, 2, 300, 999.999999, 0, "平直"},
        {"short straight at the grade limit", 150, S, -3.000001, 300, 500, -1, "短直线"},
        {"straight just short of 200 m", 199.9999989, S, 2, 300, 300, -1, "短直线"},
        {"straight of 200 m", 200, S, 2, 300, 300, 0, "平直"},
        {"long steep straight", 200, S, -3.5, 300, 300, 1, "纵坡"},
        {"grade at the limit", 500, S, 3.000001, S, S, 0, "平直"},
        {"radius 0 is a straight", 500, 0, 1, S, S, 0, "平直"},
        {"flat curve", 500, 1000.000002, 1, S, S, 0, "平直"},
        {"steep flat curve", 500, 1500, 3.5, S, S, 1, "纵坡"},
        {"curve at the limit", 500, 1000.000001, 1, S, S, 16, "曲线"},
        {"curve", 80, 300, 3, S, S, 16, "曲线"},
        {"curve on a grade", 80, 300, -4.5, S, S, 17, "弯坡"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tkxSpeedSection section;
        ASSERT_EQ(1, section.SetSection(1000, 1000 + c.length, c.radius, c.slope));
        section.SetFrontBack(c.backRadius, c.frontRadius, 0, 0);
        EXPECT_EQ(c.type, section.sectionType());
        EXPECT_EQ(c.name, Utf8(section.sectionTypeName()));
    }
    tkxSpeedSection section;
    section.SetSectionType(5);
    EXPECT_EQ("未定义路线类型", Utf8(section.sectionTypeName()));
}

TEST(SpeedSections, SetSectionAndSetFrontBack)
{
    tkxSpeedSection section;
    EXPECT_EQ(0, section.sectionType());
    EXPECT_EQ(0, section.inSpeed());
    EXPECT_EQ(0, section.radius());
    EXPECT_EQ(0, section.length());

    ASSERT_EQ(1, section.SetSection(100, 300, 250, -2));
    EXPECT_EQ(0, section.SetSection(400, 400 + 1e-7, 999, 9));
    EXPECT_EQ(400, section.startZH());
    EXPECT_EQ(400 + 1e-7, section.endZH());
    EXPECT_EQ(250, section.radius());
    EXPECT_EQ(-2, section.slope());

    ASSERT_EQ(1, section.SetSection(100, 300, 1e-7, -2));
    EXPECT_EQ(S, section.radius());
    section.SetFrontBack(0, -1e-7, 1.5, -2.5);
    EXPECT_EQ(S, section.backRadius());
    EXPECT_EQ(S, section.frontRadius());
    EXPECT_EQ(1.5, section.backSlope());
    EXPECT_EQ(-2.5, section.frontSlope());
    EXPECT_EQ(0, section.sectionType());

    tkxSpeedSection copy(section);
    EXPECT_EQ(section.frontSlope(), copy.frontSlope());
    EXPECT_EQ(section.startZH(), copy.startZH());
}

TEST(SpeedSections, SpeedPieces)
{
    // A 300 m straight on which a car accelerates to 100 km/h within 120 m.
    tkxSpeedSection section;
    section.SetSection(1000, 1300, S, 0);
    section.SetFrontBack(S, S, 0, 0);
    section.SetVehicleType(0);
    section.SetDesignSpeed(100, 100);
    section.SetAcceleration(0.5);
    const double v = std::sqrt(100.0 * 100.0 - 120 * 2 * 0.5 * 3.6 * 3.6);
    section.SetStartSpeed(v);
    section.ComputeSpeed();
    ASSERT_EQ(100, section.outSpeed());

    CArray<SectionInfo, SectionInfo> pieces;
    section.sectionInfo(pieces);
    ASSERT_EQ(2, pieces.GetSize());
    EXPECT_NEAR(1000, pieces[0].m_rStartZH, 1e-9);
    EXPECT_NEAR(1120, pieces[0].m_rEndZH, 1e-9);
    EXPECT_NEAR(v, pieces[0].m_rStartSpeed, 1e-9);
    EXPECT_EQ(100, pieces[0].m_rEndSpeed);
    EXPECT_EQ(1, pieces[0].m_iContinue);
    EXPECT_NEAR(1120, pieces[1].m_rStartZH, 1e-9);
    EXPECT_EQ(1300, pieces[1].m_rEndZH);
    EXPECT_EQ(100, pieces[1].m_rStartSpeed);
    EXPECT_EQ(0, pieces[1].m_iContinue);

    // Driven the other way the constant piece comes first in stations.
    section.SetVehicleType(1);
    section.SetReverse(true);
    section.ComputeSpeed();
    pieces.RemoveAll();
    section.sectionInfo(pieces);
    ASSERT_EQ(2, pieces.GetSize());
    EXPECT_EQ(1, pieces[0].m_iVehicleType);
    EXPECT_EQ(1000, pieces[0].m_rStartZH);
    EXPECT_NEAR(1180, pieces[0].m_rEndZH, 1e-9);
    EXPECT_EQ(100, pieces[0].m_rStartSpeed);
    EXPECT_EQ(1, pieces[0].m_iContinue);
    EXPECT_NEAR(1180, pieces[1].m_rStartZH, 1e-9);
    EXPECT_EQ(1300, pieces[1].m_rEndZH);
    EXPECT_NEAR(v, pieces[1].m_rStartSpeed, 1e-9);
    EXPECT_EQ(100, pieces[1].m_rEndSpeed);
    EXPECT_EQ(0, pieces[1].m_iContinue);

    // Without an acceleration stretch: one piece, appended.
    section.SetStartSpeed(100);
    section.ComputeSpeed();
    section.sectionInfo(pieces);
    ASSERT_EQ(3, pieces.GetSize());
    EXPECT_EQ(1000, pieces[2].m_rStartZH);
    EXPECT_EQ(1300, pieces[2].m_rEndZH);
    EXPECT_EQ(0, pieces[2].m_iContinue);
}
