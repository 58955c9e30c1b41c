// Design elevations of highway and city cross-sections against sections
// worked by hand.  Every road here lies on a 1 % grade: the centre line is
// 100 + 0.01 * station high.  Expected values are written as the centre
// elevation plus the rise or fall worked out from the widths and cross falls.
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include "corvane/section/RoadHDM.h"
#include "corvane/section/SuperElevation.h"
#include "section_test_support.h"

using section_test::ScratchFolder;
using section_test::Utf8;
using section_test::WriteText;

namespace {

double Centre(double station)
{
    return 100.0 + 0.01 * station;
}

// Opens the section computations to the tests.
class OpenRoadHDM : public tkxRoadHDM
{
public:
    using tkxRoadHDM::CalCiviRoadElevation;
    using tkxRoadHDM::CalHighwayElevation;
};

class HdmElevationTest : public ::testing::Test
{
protected:
    void SetUp() override { section_test::MakeOnePercentGrade(profile); }

    // Reads the cross-section and the superelevation from file texts and
    // hands the road's objects to the cross-section.
    void Load(const wchar_t* hdmText, const wchar_t* cgText)
    {
        WriteText(folder / L"road.hdm", hdmText);
        ASSERT_EQ(L"", hdm.ReadHDMFile(&chain, folder / L"road.hdm"));
        WriteText(folder / L"road.cg", cgText);
        cg.SetBreakChain(&chain);
        ASSERT_EQ(L"", cg.ReadCGFile(folder / L"road.cg"));
        hdm.SetZDMInfo(&profile);
        ASSERT_EQ(1, hdm.SetRoadCG(&cg));
    }

    section_test::StationSettings settings{3, 1};
    ScratchFolder folder{L"elevation"};
    tkxBreakChain chain;
    tkxZDMInfo profile{&chain};
    tkxSuperElevation cg;
    OpenRoadHDM hdm;
};

// Edge elevations of one side as rises over the centre line.
struct Edges {
    double e1, e2, e3, e4;
};

void ExpectLeft(const RoadHDMInfo& rec, double z, const Edges& left)
{
    EXPECT_NEAR(z + left.e1, rec.L1, 1e-9);
    EXPECT_NEAR(z + left.e2, rec.L2, 1e-9);
    EXPECT_NEAR(z + left.e3, rec.L3, 1e-9);
    EXPECT_NEAR(z + left.e4, rec.L4, 1e-9);
}

void ExpectRight(const RoadHDMInfo& rec, double z, const Edges& right)
{
    EXPECT_NEAR(z + right.e1, rec.R1, 1e-9);
    EXPECT_NEAR(z + right.e2, rec.R2, 1e-9);
    EXPECT_NEAR(z + right.e3, rec.R3, 1e-9);
    EXPECT_NEAR(z + right.e4, rec.R4, 1e-9);
}

// A two-lane highway: carriageways 3.5, hard shoulders 1.0, earth
// shoulders 0.5, no central divider (edges at 3.5, 4.5 and 5.0 on each
// side).  Crown 2 %, shoulders 3 %; superelevation -6 % to the right from
// 180 to 300, reached from 100 and run out by 380, rotating about the centre
// line, the inside edge held at its crown up to the one-way point (rotation
// mode 1).  The outside shoulder may differ from the carriageway by 8 %.
const wchar_t kTwoLane[] = L"0\n0 0.5 1.0 3.5 0 0 3.5 1.0 0.5\n";
const wchar_t kTwoLaneCG[] = L"2 0 0 3 1 0 1 0 8\n100 2 -2\n180 -6 -6\n300 -6 -6\n380 2 -2\n";

struct SectionCase {
    double station;
    double iL, iR;  // the carriageway cross falls as the superelevation gives them
    Edges left, right;
};

TEST_F(HdmElevationTest, TwoLaneHighwayThroughATransition)
{
    Load(kTwoLane, kTwoLaneCG);
    const SectionCase cases[] = {
        // Normal crown before the rows: both sides fall 2 %, the shoulders 3 %.
        {50.0, 2.0, -2.0, {0.0, -0.02 * 3.5, -0.02 * 4.5, -0.02 * 4.5 - 0.03 * 0.5},
         {0.0, -0.02 * 3.5, -0.02 * 4.5, -0.02 * 4.5 - 0.03 * 0.5}},
        // A quarter into the run-in: the left is flat (2 - 8 * 0.25 = 0), the
        // right (the inside) still at its crown.
        {120.0, 0.0, -2.0, {0.0, 0.0, 0.0, -0.03 * 0.5}, {0.0, -0.02 * 3.5, -0.02 * 4.5, -0.02 * 4.5 - 0.03 * 0.5}},
        // Halfway from the one-way point at 140 to 180: both -4 %; the inside
        // shoulder, flatter than the carriageway, follows it.
        {160.0, -4.0, -4.0, {0.0, 0.04 * 3.5, 0.04 * 4.5, 0.04 * 4.5 - 0.03 * 0.5},
         {0.0, -0.04 * 3.5, -0.04 * 4.5, -0.04 * 4.5 - 0.04 * 0.5}},
        // Full superelevation: the outside shoulder would break by 3 + 6 = 9 %,
        // more than 8 %: it follows the carriageway.
        {240.0, -6.0, -6.0, {0.0, 0.06 * 3.5, 0.06 * 4.5, 0.06 * 5.0}, {0.0, -0.06 * 3.5, -0.06 * 4.5, -0.06 * 5.0}},
        // The one-way point of the run-out (-6 + 8 * 0.5 = -2).
        {340.0, -2.0, -2.0, {0.0, 0.02 * 3.5, 0.02 * 4.5, 0.02 * 4.5 - 0.03 * 0.5},
         {0.0, -0.02 * 3.5, -0.02 * 4.5, -0.02 * 4.5 - 0.03 * 0.5}},
    };
    for (const SectionCase& c : cases) {
        SCOPED_TRACE(c.station);
        RoadHDMInfo rec;
        hdm.CalHighwayElevation(c.station, rec);
        EXPECT_DOUBLE_EQ(c.station, rec.ZH);
        EXPECT_NEAR(c.iL, rec.iL, 1e-9);
        EXPECT_NEAR(c.iR, rec.iR, 1e-9);
        EXPECT_DOUBLE_EQ(3.5, rec.Ca);
        ExpectLeft(rec, Centre(c.station), c.left);
        ExpectRight(rec, Centre(c.station), c.right);
        EXPECT_NEAR(Centre(c.station) + c.left.e4, hdm.GetTLJElvetion(c.station, 1), 1e-9);
        EXPECT_NEAR(Centre(c.station) + c.right.e4, hdm.GetTLJElvetion(c.station, -1), 1e-9);
    }

    // The outside shoulder that breaks over keeps 8 % to the carriageway:
    // it falls 8 - 6 = 2 % at full superelevation.
    Load(kTwoLane, L"2 0 0 3 1 0 1 0 +8\n100 2 -2\n180 -6 -6\n300 -6 -6\n380 2 -2\n");
    EXPECT_NEAR(Centre(240.0) + 0.06 * 4.5 - 0.02 * 0.5, hdm.GetTLJElvetion(240.0, 1), 1e-9);
}

TEST_F(HdmElevationTest, ElevationAtADistance)
{
    Load(kTwoLane, kTwoLaneCG);
    struct Case {
        double station, distance;
        bool left;
        short code;
        double rise;       // design elevation over the centre line
        double pavement;   // pavement surface (the carriageway plane continued)
    };
    const Case cases[] = {
        {240.0, 0.0, true, 1, 0.0, 0.0},
        {240.0, 2.0, true, 2, 0.06 * 2.0, 0.06 * 2.0},
        {240.0, 4.0, true, 3, 0.06 * 4.0, 0.06 * 4.0},
        {240.0, 4.75, true, 4, 0.06 * 4.75, 0.06 * 4.75},
        {240.0, 7.0, true, 6, 0.06 * 5.0, 0.06 * 7.0},
        {240.0, 1.0, false, -2, -0.06 * 1.0, -0.06 * 1.0},
        {240.0, -1.0, false, -2, -0.06 * 1.0, -0.06 * 1.0},   // the right side takes the magnitude
        {240.0, -1.0, true, -2, -0.06 * 1.0, -0.06 * 1.0},    // a negative distance on the left lies right
        {240.0, -7.0, true, -6, -0.06 * 5.0, -0.06 * 7.0},
        // Crown with the left flat: the earth shoulder falls 3 % from 4.5.
        {120.0, 4.75, true, 4, -0.03 * 0.25, 0.0},
        {120.0, 4.75, false, -4, -0.02 * 4.5 - 0.03 * 0.25, -0.02 * 4.75},
        {120.0, 9.0, false, -6, -0.02 * 4.5 - 0.03 * 0.5, -0.02 * 9.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.station << " " << c.distance << (c.left ? " left" : " right"));
        short code = 0;
        RoadHDMInfo rec;
        EXPECT_NEAR(Centre(c.station) + c.rise, hdm.GetElvetion(c.station, c.distance, c.left, code, rec), 1e-9);
        EXPECT_EQ(c.code, code);
        EXPECT_DOUBLE_EQ(c.station, rec.ZH);
        code = 0;
        EXPECT_NEAR(Centre(c.station) + c.pavement, hdm.GetLMElvetion(c.station, c.distance, c.left, code, rec), 1e-9);
        EXPECT_EQ(c.code, code);
    }
}

// A divided highway: central divider 1.0 each side, carriageways 7.5, hard
// shoulders 3.0, earth shoulders 0.75; full superelevation -4 % to the
// right, shoulders 3 %.
const wchar_t kDivided[] = L"0\n0 0.75 3.0 7.5 1.0 1.0 7.5 3.0 0.75\n";

TEST_F(HdmElevationTest, RotationModesOfADividedHighway)
{
    struct Case {
        const wchar_t* cg;
        Edges left, right;
    };
    const Case cases[] = {
        // Mode 0: each side turns about the centre line.
        {L"2 0 0 3 1 0 0\n0 -4 -4\n500 -4 -4\n", {0.04 * 1.0, 0.04 * 8.5, 0.04 * 11.5, 0.04 * 11.5 - 0.03 * 0.75},
         {-0.04 * 1.0, -0.04 * 8.5, -0.04 * 11.5, -0.04 * 11.5 - 0.04 * 0.75}},
        // Mode 2 as mode 0 on a highway.
        {L"2 0 0 3 1 0 2\n0 -4 -4\n500 -4 -4\n", {0.04 * 1.0, 0.04 * 8.5, 0.04 * 11.5, 0.04 * 11.5 - 0.03 * 0.75},
         {-0.04 * 1.0, -0.04 * 8.5, -0.04 * 11.5, -0.04 * 11.5 - 0.04 * 0.75}},
        // Axis style: the axis moves to the divider edges, which stay at the
        // centre line's height.
        {L"2 0 0 3 1 +0 0\n0 -4 -4\n500 -4 -4\n", {0.0, 0.04 * 7.5, 0.04 * 10.5, 0.04 * 10.5 - 0.03 * 0.75},
         {0.0, -0.04 * 7.5, -0.04 * 10.5, -0.04 * 10.5 - 0.04 * 0.75}},
        // Mode 1, the left (outside) first: the right carriageway is hinged
        // at its divider edge, level with the left one.
        {L"2 0 0 3 1 0 1\n0 -4 -4\n500 -4 -4\n", {0.04 * 1.0, 0.04 * 8.5, 0.04 * 11.5, 0.04 * 11.5 - 0.03 * 0.75},
         {0.04, 0.04 - 0.04 * 7.5, 0.04 - 0.04 * 10.5, 0.04 - 0.04 * 10.5 - 0.04 * 0.75}},
        // Mode 3, the other way round: the right first, the left hinged.
        {L"2 0 0 3 1 0 3\n0 -4 -4\n500 -4 -4\n", {-0.04, -0.04 + 0.04 * 7.5, -0.04 + 0.04 * 10.5,
                                                  -0.04 + 0.04 * 10.5 - 0.03 * 0.75},
         {-0.04 * 1.0, -0.04 * 8.5, -0.04 * 11.5, -0.04 * 11.5 - 0.04 * 0.75}},
        // A single-lane carriageway rising to the right: the left first.
        {L"1 0 0 3 1 0 1\n0 3\n500 3\n", {-0.03 * 1.0, -0.03 * 8.5, -0.03 * 11.5, -0.03 * 11.5 - 0.03 * 0.75},
         {-0.03, -0.03 + 0.03 * 7.5, -0.03 + 0.03 * 10.5, -0.03 + 0.03 * 10.5 - 0.03 * 0.75}},
        // Falling to the right: the right first, the left hinged to it.
        {L"1 0 0 3 1 0 1\n0 -3\n500 -3\n", {-0.03, -0.03 + 0.03 * 7.5, -0.03 + 0.03 * 10.5,
                                              -0.03 + 0.03 * 10.5 - 0.03 * 0.75},
         {-0.03 * 1.0, -0.03 * 8.5, -0.03 * 11.5, -0.03 * 11.5 - 0.03 * 0.75}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.cg));
        Load(kDivided, c.cg);
        RoadHDMInfo rec;
        hdm.CalHighwayElevation(250.0, rec);
        ExpectLeft(rec, Centre(250.0), c.left);
        ExpectRight(rec, Centre(250.0), c.right);
        // Across the divider the surface runs straight from R1 to L1.
        short code = 0;
        const double mid = (c.left.e1 * 1.5 + c.right.e1 * 0.5) / 2.0;
        EXPECT_NEAR(Centre(250.0) + mid, hdm.GetElvetion(250.0, 0.5, true, code, rec), 1e-9);
        EXPECT_EQ(1, code);
    }
}

// A divided city road: central divider 1.0, carriageways 7.5, side dividers
// 2.0, non-motor lanes 3.5, sidewalks 3.0 (left edges at 1, 8.5, 10.5, 14,
// 17); kerbs 0.15 high.  Left cross falls (positive falls outward) 2 % on
// the side divider, 1.5 % on the non-motor lane and the sidewalk; the right
// ones the same, written with the right side's sign.  Crown 2 %.
const wchar_t kCity[] =
    L"city\n1\n"
    L"0 0.2 0.2 0.15 0.7 0.4 0.08 1.5 1.5 2.0 -2.0 -1.5 -1.5\n"
    L"0 3.0 3.5 2.0 7.5 1.0 1.0 7.5 2.0 3.5 3.0\n";

// Rises over the centre line of the outer edges of a city side, from the
// carriageway edge outward: carriageway, side divider, non-motor lane,
// sidewalk (with its kerb).
struct CityEdges {
    double l1, l2, l5, l3, l4;
};

CityEdges OuterParts(double l1, double l2)
{
    const double l5 = l2 - 0.02 * 2.0;
    const double l3 = l5 - 0.015 * 3.5;
    return {l1, l2, l5, l3, 0.15 + l3 - 0.015 * 3.0};
}

TEST_F(HdmElevationTest, CitySectionWithItsAxisStyle)
{
    struct Case {
        const wchar_t* cg;
        double station;
        CityEdges left, right;
    };
    const Case cases[] = {
        // Axis style: the crown turns about the divider edges.
        {L"2 0 0 2 1 +0 0\n0 2 -2\n", 500.0, OuterParts(0.0, -0.02 * 7.5), OuterParts(0.0, -0.02 * 7.5)},
        // Without it, about the centre line.
        {L"2 0 0 2 1 0 0\n0 2 -2\n", 500.0, OuterParts(-0.02, -0.02 * 8.5), OuterParts(-0.02, -0.02 * 8.5)},
        // A normal section in rotation mode 2 turns about the centre line
        // whatever the axis style.
        {L"2 0 0 2 1 +0 2\n0 2 -2\n", 500.0, OuterParts(-0.02, -0.02 * 8.5), OuterParts(-0.02, -0.02 * 8.5)},
        // Superelevated -3 % in mode 1: the left about its divider edge, the
        // right hinged there; the outer parts keep their own falls.
        {L"2 0 0 2 1 +0 1\n0 -3 -3\n1000 -3 -3\n", 500.0, OuterParts(0.0, 0.03 * 7.5), OuterParts(0.0, -0.03 * 7.5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.cg));
        Load(kCity, c.cg);
        const double z = Centre(c.station);
        RoadHDMInfo rec;
        hdm.CalCiviRoadElevation(c.station, rec);
        EXPECT_NEAR(z + c.left.l1, rec.L1, 1e-9);
        EXPECT_NEAR(z + c.left.l2, rec.L2, 1e-9);
        EXPECT_NEAR(z + c.left.l5, rec.L5, 1e-9);
        EXPECT_NEAR(z + c.left.l3, rec.L3, 1e-9);
        EXPECT_NEAR(z + c.left.l4, rec.L4, 1e-9);
        // The right side mirrors the left: its cross falls carry the right
        // side's sign.
        EXPECT_NEAR(z + c.right.l1, rec.R1, 1e-9);
        EXPECT_NEAR(z + c.right.l2, rec.R2, 1e-9);
        EXPECT_NEAR(z + c.right.l2 - 0.02 * 2.0, rec.R5, 1e-9);
        EXPECT_NEAR(z + c.right.l3, rec.R3, 1e-9);
        EXPECT_NEAR(z + c.right.l4, rec.R4, 1e-9);
        EXPECT_DOUBLE_EQ(2.0, rec.Fa);
        EXPECT_NEAR(z + c.left.l4, hdm.GetTLJElvetion(c.station, 1), 1e-9);
        EXPECT_NEAR(z + c.right.l4, hdm.GetTLJElvetion(c.station, 0), 1e-9);
    }
}

TEST_F(HdmElevationTest, CityPavementSurfaceAcrossEveryPart)
{
    Load(kCity, L"2 0 0 2 1 +0 0\n0 2 -2\n");
    const double z = Centre(500.0);
    const CityEdges left = OuterParts(0.0, -0.02 * 7.5);
    struct Case {
        double distance;
        bool left;
        short code;
        double rise;
    };
    const Case cases[] = {
        {0.5, true, 1, 0.0},
        {5.0, true, 2, -0.02 * 4.0},
        {9.5, true, 5, left.l2 - 0.02 * 1.0},
        {12.0, true, 3, left.l5 - 0.015 * 1.5},
        {15.0, true, 4, 0.15 + left.l3 - 0.015 * 1.0},
        {20.0, true, 6, 0.15 + left.l3 - 0.015 * 6.0},  // the sidewalk's fall continues
        {12.0, false, -3, left.l5 - 0.015 * 1.5},
        {-12.0, true, 3, left.l5 - 0.015 * 1.5},         // the city takes the magnitude
        {15.0, false, -4, 0.15 + left.l3 - 0.015 * 1.0},
        {20.0, false, -6, 0.15 + left.l3 - 0.015 * 6.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << (c.left ? " left" : " right"));
        short code = 0;
        RoadHDMInfo rec;
        EXPECT_NEAR(z + c.rise, hdm.GetLMElvetion(500.0, c.distance, c.left, code, rec), 1e-9);
        EXPECT_EQ(c.code, code);
    }
    // A city road has no design elevation of the highway kind.
    short code = 9;
    RoadHDMInfo rec;
    EXPECT_DOUBLE_EQ(-999.0, hdm.GetElvetion(500.0, 5.0, true, code, rec));
}

TEST_F(HdmElevationTest, NoElevationWithoutProfileOrObjects)
{
    Load(kTwoLane, kTwoLaneCG);
    short code = 0;
    RoadHDMInfo rec;
    // Outside the profile.
    EXPECT_DOUBLE_EQ(-999.0, hdm.GetElvetion(2000.0, 1.0, true, code, rec));
    EXPECT_DOUBLE_EQ(-999.0, hdm.GetLMElvetion(2000.0, 1.0, true, code, rec));
    EXPECT_DOUBLE_EQ(-999.0, hdm.GetTLJElvetion(2000.0, 1));
    // Without the superelevation or the profile.
    OpenRoadHDM bare;
    WriteText(folder / L"bare.hdm", kTwoLane);
    ASSERT_EQ(L"", bare.ReadHDMFile(&chain, folder / L"bare.hdm"));
    bare.SetZDMInfo(&profile);
    EXPECT_DOUBLE_EQ(-999.0, bare.GetElvetion(200.0, 1.0, true, code, rec));
    EXPECT_DOUBLE_EQ(-999.0, bare.GetLMElvetion(200.0, 1.0, true, code, rec));
    EXPECT_DOUBLE_EQ(-999.0, bare.GetTLJElvetion(200.0, 1));
    ASSERT_EQ(1, bare.SetRoadCG(&cg));
    bare.SetZDMInfo(nullptr);
    EXPECT_DOUBLE_EQ(-999.0, bare.GetTLJElvetion(200.0, -1));
    bare.SetRoadStyle(1);
    EXPECT_DOUBLE_EQ(-999.0, bare.GetLMElvetion(200.0, 1.0, true, code, rec));
}

} // namespace
