// What the caret in a ground-line file gives the road-information pages:
// the cross-section it stands in (with its layout and the caret's place)
// and a profile point with its neighbours, comment and empty lines skipped.
#include "documents_world.h"
#include "brisko/editor/FieldDescriptions.h"
#include <gtest/gtest.h>

using namespace doctest;

namespace {

// A buffer holding the lines, for the helpers that read lines.
struct Text {
    explicit Text(const wchar_t* text)
    {
        buffer.InitEmpty(0);
        int line = 0, column = 0;
        buffer.InsertTextNoUndo(nullptr, 0, 0, text, line, column);
    }
    CTvTextBuffer buffer;
    CFieldLines Lines() { return CFieldLines(buffer); }
};

} // namespace

TEST(CrossSections, TheLayoutComesFromTheFirstDataLine)
{
    const struct {
        const wchar_t* line;
        int format;
    } cases[] = {
        {L"", 1},         {L" \t ", 1},    {L"12.5", 1},   {L"-3", 1},     {L"abs1", 3},  {L" ABS ", 2},
        {L"Abs1x", 3},    {L"xabs", 2},    {L"1-2", 0},    {L"1.2.3", 0},  {L"XYZ", 0},   {L"1 2", 0},
    };
    CBriskoDoc document;
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        CurHdxSection.m_nFormat = -1;
        EXPECT_EQ(c.format, document.GetHdxFormat(c.line));
        EXPECT_EQ(c.format, CurHdxSection.m_nFormat);
    }
}

TEST(CrossSections, TheCaretsSectionSkipsCommentAndEmptyLines)
{
    StartProgram();
    DataFolder folder(L"sections");
    const CString path = folder.Write(L"一号路.HDX", L"//横断面地面线\n"
                                                 L"ABS\n"
                                                 L"1000\n"
                                                 L"//左侧\n"
                                                 L"-1 100 -5 98\n"
                                                 L"\n"
                                                 L"//右侧\n"
                                                 L"2 101 6 103\n"
                                                 L"1020_2\n"
                                                 L"-2 99\n"
                                                 L"3 100\n");
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    const struct {
        int line, column;
        const wchar_t* description;
        const wchar_t* station;
        const wchar_t* left;
        const wchar_t* right;
        int caret;
    } cases[] = {
        {2, 0, L"横断面地面线桩号<必填项>\n断链桩号示例:1500_2", L"1000", L"-1 100 -5 98", L"2 101 6 103", 0},
        {4, 3, L"左侧点的高程<m:必填项>", L"1000", L"-1 100 -5 98", L"2 101 6 103", 4},
        {7, 6, L"右侧点到中桩的距离<m:必填项>", L"1000", L"-1 100 -5 98", L"2 101 6 103", -7},
        {8, 0, L"横断面地面线桩号<必填项>\n断链桩号示例:1500_2", L"1020_2", L"-2 99", L"3 100", 0},
        {10, 0, L"右侧点到中桩的距离<m:必填项>", L"1020_2", L"-2 99", L"3 100", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "line " << c.line);
        CurHdxSection = sHdxSection();
        Place(view, c.line, c.column);
        EXPECT_EQ(CString(c.description), view->GetFieldDescription());
        EXPECT_EQ(2, CurHdxSection.m_nFormat);
        EXPECT_EQ(CString(c.station), CurHdxSection.m_SStation);
        EXPECT_EQ(CString(c.left), CurHdxSection.m_SLeft);
        EXPECT_EQ(CString(c.right), CurHdxSection.m_SRight);
        EXPECT_EQ(c.caret, CurHdxSection.m_iCaret);
    }
    // The format line and comments leave the record alone.
    CurHdxSection = sHdxSection();
    Place(view, 1, 0);
    EXPECT_EQ(CString(L"地面线数据格式[ABS/ABS1/不填为抬竿法:可选项]"), view->GetFieldDescription());
    Place(view, 3, 2);
    EXPECT_EQ(CString(L"注释行"), view->GetFieldDescription());
    EXPECT_TRUE(CurHdxSection.m_SStation.IsEmpty());
}

TEST(CrossSections, EachLayoutNamesItsDistancesAndHeights)
{
    StartProgram();
    DataFolder folder(L"layouts");
    const struct {
        const wchar_t* text;
        int line;
        const wchar_t* distance;
        const wchar_t* height;
    } cases[] = {
        {L"1000\n1 0.5 2 1\n1 -0.5\n", 1, L"左侧点到前点的距离<m:必填项>", L"左侧点与前点的高差<m:必填项>"},
        {L"1000\n1 0.5 2 1\n1 -0.5\n", 2, L"右侧点到前点的距离<m:必填项>", L"右侧点与前点的高差<m:必填项>"},
        {L"ABS1\n1000\n1 0.5\n1 -0.5\n", 2, L"左侧点到中桩的距离<m:必填项>", L"左侧点与中桩的高差<m:必填项>"},
        {L"XYZ\n1000\n1 0.5\n1 -0.5\n", 3, L"未知的横断面地面线数据格式", L"未知的横断面地面线数据格式"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        CBriskoDoc* document = Open(folder.Write(L"格式.HDX", c.text));
        ASSERT_NE(nullptr, document);
        CBriskoView* view = ViewOf(document);
        Place(view, c.line, 0);
        EXPECT_EQ(CString(c.distance), view->GetFieldDescription());
        const CString line = Lines(document)[static_cast<size_t>(c.line)];
        Place(view, c.line, line.Find(L' ') + 1);
        EXPECT_EQ(CString(c.height), view->GetFieldDescription());
        document->OnCloseDocument();
    }
}

TEST(ProfilePoints, TheNeighboursAreTheNearestDataLines)
{
    Text text(L"0 99.5\r\n"
              L"//注释\r\n"
              L"\r\n"
              L"200 101.2 2\r\n"
              L"  // 另一行注释\r\n"
              L"400 104\r\n"
              L"abc\r\n"
              L"600 108.3\r\n");
    CFieldLines lines = text.Lines();
    sGroundPoint point, previous, next;
    BOOL hasPrevious = TRUE, hasNext = TRUE;

    ASSERT_TRUE(FindProfilePoints(lines, 3, point, previous, hasPrevious, next, hasNext));
    EXPECT_DOUBLE_EQ(200.0, point.m_dStation);
    EXPECT_DOUBLE_EQ(101.2, point.m_dElevation);
    EXPECT_EQ(2, point.m_iSegment);
    ASSERT_TRUE(hasPrevious);
    EXPECT_DOUBLE_EQ(0.0, previous.m_dStation);
    EXPECT_DOUBLE_EQ(99.5, previous.m_dElevation);
    EXPECT_EQ(-1, previous.m_iSegment);
    ASSERT_TRUE(hasNext);
    EXPECT_DOUBLE_EQ(400.0, next.m_dStation);

    // The first point has no previous one; a neighbour that is no ground
    // point is left out.
    ASSERT_TRUE(FindProfilePoints(lines, 0, point, previous, hasPrevious, next, hasNext));
    EXPECT_FALSE(hasPrevious);
    EXPECT_TRUE(hasNext);
    ASSERT_TRUE(FindProfilePoints(lines, 5, point, previous, hasPrevious, next, hasNext));
    EXPECT_TRUE(hasPrevious);
    EXPECT_FALSE(hasNext);
    ASSERT_TRUE(FindProfilePoints(lines, 7, point, previous, hasPrevious, next, hasNext));
    EXPECT_FALSE(hasPrevious);
    EXPECT_FALSE(hasNext);

    // Comments, empty lines and lines that are no ground point give none.
    for (int line : {1, 2, 4, 6, 8, -1})
        EXPECT_FALSE(FindProfilePoints(lines, line, point, previous, hasPrevious, next, hasNext)) << line;
}
