// The demo installation's slope-template library (made by demo_project.exe
// before this program runs): its templates use every kind of slope line,
// load without a report and write back the same lines.
#include "brisko/shell/BriskoApp.h"
#include "brisko/templates/TvTemplate.h"
#include "corvane/project/TavixInterface.h"
#include "support/FailingWrites.h"
#include "templates_world.h"
#include <set>

using namespace templates_test;

namespace {

CString DemoLibraryFolder() { return BinFolder() + L"\\..\\demo\\示范边坡模板库"; }

// The tokens of a line but the two the loader does not read (the sketch's
// length and direction).
std::vector<CString> ReadTokens(const CString& line)
{
    CStringArray tokens;
    tkx_DivideString(line, tokens);
    std::vector<CString> kept;
    for (INT_PTR i = 0; i < tokens.GetSize(); ++i)
        if (i != 10 && i != 14) kept.push_back(tokens[i]);
    return kept;
}

} // namespace

TEST_F(LibraryTest, TheDemoTemplatesUseEveryKindOfLine)
{
    StartProgram();
    // A copy of the demo library, current in this world.
    const CString folder = OtherFolder() + L"\\示范";
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    const std::vector<CString> files = FilesIn(DemoLibraryFolder());
    ASSERT_FALSE(files.empty()) << "the demo is made by demo_project.exe: " << Utf8(DemoLibraryFolder());
    for (const CString& name : files) ASSERT_TRUE(CopyFileW(DemoLibraryFolder() + L"\\" + name, folder + L"\\" + name, FALSE));
    tkxTemplateBase library;
    ASSERT_EQ(1, library.Load(folder + L"\\示范边坡模板库.TPB"));
    ASSERT_EQ(4, library.m_STemplates.GetSize());
    ASSERT_EQ(1, tkx_AddTBase(&library, nullptr));

    const size_t infoBefore = InfoLines().size();
    std::set<std::pair<int, int>> rules;
    std::set<int> fixedKinds, positions, stopActions;
    bool wallStart = false, wallEnd = false, arc = false, thickness = false, hidden = false, outside = false,
         below = false, percent = false, dashed = false;
    for (INT_PTR t = 0; t < library.m_STemplates.GetSize(); ++t) {
        const CString name = library.m_STemplates[t];
        SCOPED_TRACE(Utf8(name));
        CSlopeLineArray lines;
        ASSERT_EQ(CString(L"文件结束"), CTvTemplate(name).Load(lines, folder));
        ASSERT_GT(lines.GetSize(), 0);
        for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
            const CSlopeLine& line = lines[i];
            EXPECT_EQ(0, line.m_bError) << Utf8(line.m_sMessage);
            rules.insert({line.m_iEndMode, line.m_iEndType});
            fixedKinds.insert(line.m_iFixedType);
            if (line.m_bSavePosType) positions.insert(line.m_iPosType);
            if (line.m_bStopControl) stopActions.insert(line.m_iStopAction);
            wallStart |= line.m_bInsertWall && line.m_iWallPos == 0;
            wallEnd |= line.m_bInsertWall && line.m_iWallPos == 1;
            arc |= line.m_bArcWithNext != 0;
            thickness |= line.m_bThickness != 0;
            hidden |= !line.m_bDraw;
            outside |= !line.m_bEarthwork;
            below |= line.m_bStopBelow != 0;
            percent |= line.m_bLabelSlope && line.m_iSlopeLabelStyle == 1;
            dashed |= line.m_bDashed != 0;
        }
        // Written back, each line holds what the file held.
        ASSERT_EQ(CString(L"保存成功"), CTvTemplate(L"再存.TYP").Save(lines, folder));
        CStdioFile original, again;
        ASSERT_TRUE(original.Open(folder + L"\\" + name, CFile::modeRead | CFile::typeText));
        ASSERT_TRUE(again.Open(folder + L"\\再存.TYP", CFile::modeRead | CFile::typeText));
        CString a, b;
        while (original.ReadString(a)) {
            ASSERT_TRUE(again.ReadString(b));
            EXPECT_EQ(ReadTokens(a), ReadTokens(b));
        }
        EXPECT_FALSE(again.ReadString(b));
    }
    EXPECT_EQ(infoBefore, InfoLines().size()); // every control file is there
    EXPECT_EQ(16u, rules.size());              // each end rule of each mode
    EXPECT_EQ((std::set<int>{0, 1, 2}), fixedKinds);
    EXPECT_EQ((std::set<int>{0, 1, 2, 3, 4}), positions);
    EXPECT_EQ((std::set<int>{0, 1}), stopActions);
    EXPECT_TRUE(wallStart && wallEnd && arc && thickness && hidden && outside && below && percent && dashed);
}
