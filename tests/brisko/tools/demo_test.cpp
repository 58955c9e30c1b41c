// Every data tool run on the demo road's own files (made by
// demo_project.exe beside the program's folder before this program runs),
// each as its menu command would run it on the current road, with what it
// made checked against the road.
#include "brisko/convert/BaseElevations.h"
#include "brisko/convert/BidRoadBRF.h"
#include "brisko/convert/DitchBottoms.h"
#include "brisko/convert/HDXLayout.h"
#include "brisko/convert/MoveData.h"
#include "brisko/convert/StructureTools.h"
#include "corvane/base/TextLines.h"
#include "corvane/project/TavixInterface.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Road.h"
#include "corvane/road/Structures.h"
#include "tools_world.h"
#include <cmath>

using namespace tooltest;

namespace {

CString DemoRoadFolder() { return BinFolder() + L"\\..\\demo\\示范项目\\一号路"; }
CString DemoFile(const wchar_t* ext) { return DemoRoadFolder() + L"\\一号路." + ext; }

// The data lines of a text file, split into fields.
std::vector<std::vector<CString>> DataLines(const CString& path)
{
    std::vector<std::vector<CString>> lines;
    CStdioFile in;
    if (!in.Open(path, CFile::modeRead | CFile::typeText)) return lines;
    CString line;
    int lineNo = 0;
    while (tkx_ReadNextStringST(&in, line, lineNo)) {
        CStringArray fields;
        tkx_DivideString(line, fields);
        lines.emplace_back(fields.GetData(), fields.GetData() + fields.GetSize());
    }
    return lines;
}

class DemoToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, chain.LoadDLFile(DemoFile(L"DL")))
            << "the demo project is made by demo_project.exe: " << Utf8(DemoRoadFolder());
    }
    tkxBreakChain chain;
};

} // namespace

TEST_F(DemoToolsTest, TheOldStructureListBecomesTheRoadsStructures)
{
    ScratchFolder folder(L"demo_gzw");
    const CString gzx = folder / L"一号路.GZX";
    MessageBoxScript boxes;
    ASSERT_EQ(1, ConvertGZWToGZX(nullptr, DemoFile(L"GZW"), gzx)) << Utf8(boxes.LastText());
    EXPECT_TRUE(boxes.Shown().empty());

    // Each structure of the list is the structure of the road's own file
    // with its name, at its place; the crossing is no kind the list gives.
    CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> road;
    ASSERT_EQ(1, tkx_ReadQHFile(DemoFile(L"GZX"), chain, road)) << Utf8(tkx_GetLastError());
    const auto converted = DataLines(gzx);
    ASSERT_EQ(5u, converted.size());
    for (size_t i = 0; i < converted.size(); ++i) {
        const std::vector<CString>& row = converted[i];
        SCOPED_TRACE(Utf8(row[1]));
        const Tavix4::sQHInfo& structure = road[static_cast<INT_PTR>(i)];
        EXPECT_EQ(structure.m_SName, row[1]);
        double station = 0.0;
        ASSERT_EQ(1, chain.GetGlobalZH(row[2], station));
        const bool culvert = structure.m_iKind == 1 || structure.m_iKind == 2;
        EXPECT_NEAR(culvert ? structure.m_rCenterZH : structure.m_rStartZH, station, 1e-6);
        if (structure.m_iKind == 3) {
            EXPECT_NEAR(structure.m_rLength, _wtof(row[3]), 1e-6);
        }
    }

    // The bridges of the road's structure file become its bridge stations.
    const CString ql = folder / L"一号路.QL";
    ASSERT_EQ(1, ExportGZXToQL(nullptr, DemoFile(L"GZX"), ql, chain)) << Utf8(boxes.LastText());
    CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> ranges;
    ASSERT_EQ(1, tkx_ReadQHFile(ql, chain, ranges)) << Utf8(tkx_GetLastError());
    ASSERT_EQ(1, ranges.GetSize());
    EXPECT_NEAR(1235.0, ranges[0].m_rStartZH, 1e-6);
    EXPECT_NEAR(1365.0, ranges[0].m_rEndZH, 1e-6);
}

TEST_F(DemoToolsTest, EveryDesignedSectionHasItsDitchBottoms)
{
    ScratchFolder folder(L"demo_ditch");
    const CString out = folder / L"一号路沟底高程.TXT";
    MessageBoxScript boxes;
    ASSERT_EQ(1, ExtractDitchBottoms(nullptr, DemoFile(L"3DD"), DemoFile(L"DL"), out, L"一号路"))
        << Utf8(boxes.LastText());
    const auto rows = DataLines(out);
    ASSERT_GT(rows.size(), 150u);
    int second = 0;
    for (const std::vector<CString>& row : rows) {
        SCOPED_TRACE(Utf8(row[0]));
        ASSERT_GE(row.size(), 3u);
        // Both sides have a ditch.
        EXPECT_NE(CString(L"NULL"), row[1]);
        EXPECT_NE(CString(L"NULL"), row[2]);
        if (row.size() == 4 && row[3] == L"2") ++second;
    }
    EXPECT_GT(second, 0) << "sections beyond the break are on the second chain";
}

TEST_F(DemoToolsTest, TheBridgeInterfaceTakesTheWholePlan)
{
    tkxRoadObject road;
    ASSERT_EQ(1, road.LoadICDFile(DemoFile(L"ICD")));
    CArray<Tavix4::sUnitInfo, Tavix4::sUnitInfo> units;
    road.ExportPlaneUnits(units);

    // The unit table the interface reads is the road's alignment: each row
    // the unit's kind, turn, radii and length as the alignment gives them.
    const auto rows = DataLines(DemoFile(L"DYD"));
    ASSERT_EQ(static_cast<size_t>(units.GetSize()), rows.size());
    int turns[2] = {0, 0}; // left, right
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        CStringArray fields;
        for (const CString& field : rows[i]) fields.Add(field);
        sBidRoad_DYD row;
        ASSERT_EQ(CString(), ReadDYDUnit(fields, DemoFile(L"DYD"), static_cast<int>(i) + 1, row));
        const Tavix4::sUnitInfo& unit = units[static_cast<INT_PTR>(i)];
        const int kind = unit.m_iUnitType == Tavix4::UNIT_LINE ? 1 : unit.m_iUnitType == Tavix4::UNIT_ARC ? 2 : 3;
        EXPECT_EQ(kind, row.nKind);
        // The table's turn: -1 turning left, 1 right.
        EXPECT_EQ(unit.m_iTurn == DIR_LEFT ? -1 : unit.m_iTurn == DIR_RIGHT ? 1 : 0, row.nTurn);
        if (unit.m_iTurn == DIR_LEFT) ++turns[0];
        if (unit.m_iTurn == DIR_RIGHT) ++turns[1];
        // A radius of 0 in the table is an infinite one.
        auto radius = [](double r) { return r >= 1e7 ? 0.0 : r; };
        EXPECT_NEAR(radius(unit.m_StartPt.m_rRadius), row.dStartR, 0.001);
        EXPECT_NEAR(radius(unit.m_EndPt.m_rRadius), row.dEndR, 0.001);
        EXPECT_NEAR(unit.m_EndPt.m_rZH - unit.m_StartPt.m_rZH, row.dLength, 0.002);
        EXPECT_NEAR(unit.m_StartPt.m_rZH, row.dStartZH, 0.001);
    }
    EXPECT_GT(turns[0], 0);
    EXPECT_GT(turns[1], 0);

    ScratchFolder folder(L"demo_brf");
    const CString brf = folder / L"一号路.BRF";
    MessageBoxScript boxes;
    ASSERT_EQ(1, ExportBidRoadBRF(nullptr, DemoFile(L"DYD"), DemoFile(L"SQX"), DemoFile(L"DMX"), DemoFile(L"CG"), brf))
        << Utf8(boxes.LastText());
    const std::string text = ReadBytes(brf);
    EXPECT_NE(std::string::npos, text.find(Utf8(ClFormat(L"**PLAN**\r\n%d\r\n", static_cast<int>(units.GetSize())))));
    // The road's range, from the first unit's start to the last one's end.
    const CString range = ClFormat(L"**SLOPE3**\r\n1\r\n%13.4f %13.4f %13.4f\r\n", 0.0, road.EndZH(), 0.0);
    EXPECT_NE(std::string::npos, text.find(Utf8(range))) << text.substr(text.find("**SLOPE3**"), 80);
}

TEST_F(DemoToolsTest, TheProfileAndSectionToolsRunOnTheRoad)
{
    ScratchFolder folder(L"demo_tools");
    MessageBoxScript boxes(IDYES); // a fill over the band goes on

    JGCParameters sheet;
    ASSERT_EQ(1, WriteBaseElevations(nullptr, DemoFile(L"SQX"), DemoFile(L"DMX"), DemoFile(L"DL"),
                                     folder / L"一号路.JGC", sheet))
        << Utf8(boxes.LastText());

    for (int layout : {0, 2}) {
        SCOPED_TRACE(layout);
        ASSERT_EQ(1, ConvertHDXLayout(nullptr, DemoFile(L"HDX"), DemoFile(L"DMX"), DemoFile(L"DL"), layout,
                                      folder / ClFormat(L"一号路_%d.HDX", layout)))
            << Utf8(boxes.LastText());
    }

    MoveDataJob shift;
    shift.dmxIn = DemoFile(L"DMX");
    shift.hdxIn = DemoFile(L"HDX");
    shift.dlPath = DemoFile(L"DL");
    shift.dmxOut = folder / L"一号路_移线.DMX";
    shift.hdxOut = folder / L"一号路_移线.HDX";
    shift.format = 1;
    shift.withBreakChain = true;
    ASSERT_EQ(1, RunMoveData(nullptr, shift, {{L"0", L"", L"1.5"}, {L"3000", L"2", L"-1.0"}})) << Utf8(boxes.LastText());
    tkxRoadObject moved;
    ASSERT_EQ(1, moved.LoadDLFile(DemoFile(L"DL")));
    EXPECT_EQ(1, moved.LoadHDXFile(shift.hdxOut, 0)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(1, moved.LoadDMXFile(shift.dmxOut)) << Utf8(tkx_GetLastError());
}
