// The schematic sketch of each kind of slope line against coordinates
// worked out by hand, its errors, and the small geometry of a segment.
#include "templates_world.h"
#include <cmath>

using namespace templates_test;

namespace {

struct SketchCase {
    const char* what;
    int fixedType;
    double P;
    int mode, type;
    double V;
    float sx, sy;
    double ex, ey;
    const wchar_t* message;
    int error;
};

const SketchCase kCases[] = {
    // Fixed gradient, by slope length: 1:1.5 has cos 0.8320503, sin 0.5547002.
    {"fill 1:1.5, 3 m", 0, 1.5, 0, 0, 3.0, 1, -1, 3.4961509, -2.6641006, L"计算结束", 0},
    {"cut 1:1, 3 m", 0, -1.0, 0, 0, 3.0, 1, -1, 3.1213203, 1.1213203, L"计算结束", 0},
    {"flatter than 1:999.99999 stays level", 0, 1000.0, 0, 0, 1.0, 1, -1, 1.9999995, -1.0, L"计算结束", 0},
    {"length file + 1 m: 1 + 2 m placeholder", 0, 1.5, 0, 1, 1.0, 1, -1, 3.4961509, -2.6641006, L"计算结束", 0},
    {"length file, flat", 0, -1000.0, 0, 1, 1.0, 1, -1, 3.9999985, -1.0, L"计算结束", 0},
    {"no length", 0, 1.5, 0, 0, 0.0, 1, -1, 0.95, -1.05, L"指定边坡坡长应>0!", 1},
    {"ground point at no length", 0, 1.5, 0, 2, 0.0, 1, -1, 0.75, -1.25, L"指定边坡坡长应>0!", 1},
    {"ground + length: 1 + 2 m", 0, 1.5, 0, 3, 1.0, 1, -1, 3.4961509, -2.6641006, L"计算结束", 0},
    {"length mode, type 4 as elevation type 4", 0, 1.5, 0, 4, 1.0, 1, -1, 4.0, -3.0, L"计算结束", 0},
    // By elevation.
    {"height 2 m at 1:1.5", 0, 1.5, 1, 0, 2.0, 1, -1, 4.0, -3.0, L"计算结束", 0},
    {"no height", 0, 1.5, 1, 0, 0.0, 1, -1, 1.0, -1.25, L"指定边坡高度应>0!", 1},
    {"ditch bottom + 0.6: 2 m placeholder", 0, 1.5, 1, 1, 0.6, 1, -1, 4.0, -3.0, L"计算结束", 0},
    {"edge height - 2 m", 0, 1.5, 1, 2, -2.0, 1, -1, 4.0, -3.0, L"计算结束", 0},
    {"wall file - 1 m: 3 m", 0, 1.5, 1, 3, -1.0, 2, -2, 6.5, -5.0, L"计算结束", 0},
    {"ground elevation + 1 m, cut", 0, -1.0, 1, 5, 1.0, 1, -1, 4.0, 2.0, L"计算结束", 0},
    // By width.
    {"width 3 m at 1:1.5", 0, 1.5, 2, 0, 3.0, 1, -1, 4.0, -3.0, L"计算结束", 0},
    {"too little width", 0, 1.5, 2, 0, 0.0005, 1, -1, 1.05, -1.0, L"指定边坡宽度应>0!", 1},
    {"2 m from the edge", 0, 1.5, 2, 1, 2.0, 2, -1, 3.0, -1.6666667, L"计算结束", 0},
    {"no width from the edge", 0, 1.5, 2, 1, 0.0, 2, -1, 2.05, -1.0, L"终点距离路基边缘宽度应>0!", 1},
    {"width file + 1 m: 3 m", 0, -2.0, 2, 2, 1.0, 1, -1, 4.0, 0.5, L"计算结束", 0},
    {"ground point 1.2 m on", 0, 1.5, 2, 3, 1.2, 1.5f, -1, 2.7, -1.5, L"计算结束", 0},
    {"ground point 1.2 m from the edge", 0, 1.5, 2, 4, 1.2, 1.5f, -1, 2.2, -1.5, L"计算结束", 0},
    {"ground + width -1 m", 0, 1.5, 2, 5, -1.0, 1, -1, 3.0, -2.3333333, L"计算结束", 0},
    // Fixed height: only by width.
    {"height 0.8 by width 2 m", 1, 0.8, 2, 0, 2.0, 1, -1, 3.0, -1.8, L"计算结束", 0},
    {"height by the wrong mode", 1, 0.8, 0, 0, 2.0, 1, -1, 3.0, -1.8, L"终点控制方式错误!", 0},
    {"height, 2 m from the edge", 1, -0.5, 2, 1, 2.0, 2, -1, 3.0, -0.5, L"计算结束", 0},
    {"height, no width", 1, 0.8, 2, 1, 0.0, 1, -1, 1.05, -1.0, L"终点距离路基边缘宽度应>0!", 1},
    {"height, ground + width -3", 1, 0.8, 2, 5, -3.0, 1, -1, 2.0, -1.8, L"计算结束", 0},
    // Fixed width: the mode is not looked at.
    {"width 2 m, 0.5 m down", 2, 2.0, 1, 0, 0.5, 1, -1, 3.0, -1.5, L"计算结束", 0},
    {"width 2 m to edge height - 0.5", 2, 2.0, 1, 2, -0.5, 1, -1, 3.0, -1.5, L"计算结束", 0},
    {"width 2 m, ground - 1", 2, 2.0, 1, 5, -1.0, 1, -1, 3.0, -3.5, L"计算结束", 0},
    {"width 2 m, ground + 1", 2, 2.0, 1, 5, 1.0, 1, -1, 3.0, -4.0, L"计算结束", 0},
    {"negative width", 2, -1.0, 1, 0, 0.5, 1, -1, 1.05, -1.0, L"指定边坡宽度应>0!", 1},
    // No fixed parameter; an unknown kind keeps the provisional end.
    {"zero parameter", 2, 0.0, 1, 0, 0.5, 1, -1, 1.0, -0.75, L"边坡固定参数不能为0!", 1},
    {"unknown kind", 5, 1.5, 1, 0, 0.5, 1, -1, 0.45, -0.15, L"计算结束", 0},
};

} // namespace

TEST(Sketch, EachKindEndsWhereWorkedOutByHand)
{
    for (const SketchCase& c : kCases) {
        SCOPED_TRACE(c.what);
        CSlopeLine line;
        line.m_iFixedType = c.fixedType;
        line.m_rFixedValue = c.P;
        line.m_iEndMode = c.mode;
        line.m_iEndType = c.type;
        line.m_rEndValue = c.V;
        line.SetStartPoint(sSketchPoint{c.sx, c.sy});
        EXPECT_EQ(CString(c.message), line.CalcSketch());
        EXPECT_EQ(CString(c.message), line.m_sMessage);
        EXPECT_EQ(c.error, line.m_bError);
        EXPECT_NEAR(c.ex, line.m_ptEnd.x, 2e-6);
        EXPECT_NEAR(c.ey, line.m_ptEnd.y, 2e-6);
    }
}

// A sketch error only marks the line: it still saves.
TEST_F(LibraryTest, ASketchErrorDoesNotStopSaving)
{
    CSlopeLineArray lines;
    lines.Add(MakeLine(0, 0.0, 0, 0, 3.0));
    EXPECT_EQ(1, lines[0].m_bError);
    CString text;
    EXPECT_EQ(CString(L"保存成功"), lines[0].WriteTypLine(text));
}

TEST(Sketch, SegmentGeometry)
{
    struct Case {
        float sx, sy, ex, ey;
        double direction;
        int textAngle;
        float xAtMinus2;
    };
    const double pi = 3.14159265358979323846;
    const Case cases[] = {
        {1, -1, 4, -3, 2 * pi + std::atan(-2.0 / 3.0), 3263, 2.5f}, // down to the right
        {1, -1, 3, 1, pi / 4, 450, 0.0f},                          // up to the right
        {1, -1, -1, -3, pi + pi / 4, 450, 0.0f},                    // down to the left: no half turn
        {1, -1, 1, 2, pi / 2, 900, 1.0f},                           // straight up
        {1, -1, 1, -2, 3 * pi / 2, 2700, 1.0f},                     // straight down
        {1, -1, 3, -1, 0.0, 0, 3.0f},                               // level: GetXAtY gives the end
        {1, -1, 1, -1, 0.0, 2700, 1.0f},                            // no segment
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ex << "," << c.ey);
        CSlopeLine line;
        line.m_ptStart = sSketchPoint{c.sx, c.sy};
        line.m_ptEnd = sSketchPoint{c.ex, c.ey};
        EXPECT_NEAR(c.direction, line.GetDirection(), 1e-6);
        EXPECT_EQ(c.textAngle, line.GetTextAngle());
        EXPECT_FLOAT_EQ(c.xAtMinus2, line.GetXAtY(-2.0f));
        EXPECT_FLOAT_EQ(std::hypot(c.ex - c.sx, c.ey - c.sy), line.GetLength());
    }

    sSketchPoint out{9, 9};
    OffsetPoint(sSketchPoint{1, 2}, pi / 2, 0.0000005, out);
    EXPECT_FLOAT_EQ(1.0f, out.x);
    EXPECT_FLOAT_EQ(2.0f, out.y);
    OffsetPoint(sSketchPoint{1, 2}, pi, 2.0, out);
    EXPECT_NEAR(-1.0, out.x, 1e-6);
    EXPECT_NEAR(2.0, out.y, 1e-6);
}

// The list is sketched line after line from the subgrade edge.
TEST(Sketch, ListLinesFollowEachOther)
{
    CSlopeLineArray lines;
    lines.Add(MakeLine(0, 1.5, 1, 0, 2.0));       // to (4, -3)
    lines.Add(MakeLine(0, 1000.0, 2, 0, 1.0));    // a berm of 1 m
    lines.Add(MakeLine(0, -1.0, 0, 0, std::sqrt(2.0)));
    lines[0].SetStartPoint(sSketchPoint{1.0f, -1.0f});
    SketchSlopeLines(lines);
    EXPECT_FLOAT_EQ(4.0f, lines[1].m_ptStart.x);
    EXPECT_FLOAT_EQ(-3.0f, lines[1].m_ptStart.y);
    EXPECT_NEAR(5.0, lines[1].m_ptEnd.x, 1e-6);
    EXPECT_NEAR(-3.0, lines[1].m_ptEnd.y, 1e-6); // flatter than 1:999.99999: level
    EXPECT_NEAR(6.0, lines[2].m_ptEnd.x, 1e-5);
    EXPECT_NEAR(-2.0, lines[2].m_ptEnd.y, 1e-5);
}
