// Template lines and template files: the line form of every kind of slope
// line written and read back unchanged, the decoding rules older files rely
// on, the comment lines, the file names a line can and cannot hold, and
// saves that fail without harming the old file.
#include "brisko/templates/TvTemplate.h"
#include "support/FailingWrites.h"
#include "templates_world.h"

using namespace templates_test;

namespace {

CString Written(const CSlopeLine& line)
{
    CString text;
    EXPECT_EQ(CString(L"保存成功"), line.WriteTypLine(text));
    return text;
}

// One line of every kind: each fixed kind with each end rule, every label
// position, stored point, position type, wall side, termination and
// optional token, and control and wall files with Chinese names.
void EveryKind(CSlopeLineArray& lines)
{
    const double fixedValues[3] = {1.5, 0.8, 2.0};
    int n = 0;
    for (int fixed = 0; fixed < 3; ++fixed) {
        for (int mode = 0; mode < 3; ++mode) {
            for (int type = 0; type < (mode == 0 ? 4 : 6); ++type, ++n) {
                CSlopeLine line;
                line.m_iFixedType = fixed;
                line.m_rFixedValue = n % 2 ? -fixedValues[fixed] : fixedValues[fixed];
                if (fixed == 2) line.m_rFixedValue = fixedValues[fixed];
                line.m_iEndMode = mode;
                line.m_iEndType = type;
                line.m_rEndValue = 0.5 + n * 0.25;
                line.m_rStartThickness = n % 3 ? 0.0 : 0.2;
                line.m_rEndThickness = n % 3 ? 0.0 : 0.35;
                line.m_bThickness = n % 3 == 0;
                line.m_bDraw = n % 5 != 1;
                line.m_bEarthwork = n % 4 != 2;
                line.m_bLabelSlope = n % 2;
                line.m_bDashed = n % 7 == 3;
                line.m_bLabelOffsetElev = n % 7 != 6;
                line.m_iLabelOffsetElevPos = n % 6;
                line.m_bSaveEndOffset = n % 4 != 0;
                line.m_iSaveEndOffsetPoint = n % 3;
                line.m_bSavePosType = n % 6 != 5;
                line.m_iPosType = n % 5;
                line.m_bSaveLength = n % 2 == 0;
                line.m_bInsertWall = n % 3 == 1;
                line.m_iWallPos = n % 2;
                if (line.m_bInsertWall) line.m_sWallFile = L"挡墙一.DQ";
                if ((mode == 0 && type == 1) || (mode == 1 && type == 3) || (mode == 1 && type == 4) ||
                    (mode == 2 && type == 2))
                    line.m_sControlFile = mode == 0 ? L"坡长.PC" : type == 3 ? L"挡墙一.DQ" : type == 4 ? L"路.SQX"
                                                                                                      : L"宽度.KD";
                line.m_bStopControl = n % 4 == 3;
                line.m_iStopAction = n % 2;
                line.m_iStopQuantity = n % 8;
                line.m_bStopBelow = n % 3 == 2;
                line.m_rStopValue = 1.25 * (n % 4);
                line.m_bArcWithNext = n % 5 == 4;
                line.m_iSlopeLabelStyle = n % 2;
                line.m_bTopsoil = n % 3 != 2;
                lines.Add(line);
            }
        }
    }
    lines[0].SetStartPoint(sSketchPoint{1.0f, -1.0f});
    SketchSlopeLines(lines);
}

void WriteControlFiles()
{
    for (const wchar_t* name : {L"坡长.PC", L"挡墙一.DQ", L"路.SQX", L"宽度.KD"})
        WriteLibraryFile(name, L"// 控制文件\n0 1\n");
}

} // namespace

TEST(TypLine, DefaultLineHasTheDocumentedTokens)
{
    CSlopeLine line; // not sketched: start and end at the origin
    EXPECT_EQ(CString(L"1.500 3.000 0.000 NULL 3 0 0 2 -1 0.000 0.000 NULL 1 0 0.000000 0 0.000 0 1\n"), Written(line));
}

TEST_F(LibraryTest, EveryKindOfLineSurvivesAFileRoundTripByteForByte)
{
    WriteControlFiles();
    CSlopeLineArray lines;
    EveryKind(lines);
    ASSERT_EQ(48, lines.GetSize());
    ASSERT_EQ(CString(L"保存成功"), CTvTemplate(L"全部.TYP").Save(lines, LibraryFolder()));

    // The file is code-page-936 text with CR LF line ends, one line each.
    std::string expected;
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) expected += FileText(Written(lines[i]));
    const std::string bytes = ReadBytes(LibraryFolder() + L"\\全部.TYP");
    EXPECT_EQ(expected, bytes);

    CSlopeLineArray loaded;
    ASSERT_EQ(CString(L"文件结束"), CTvTemplate(L"全部.TYP").Load(loaded, LibraryFolder()));
    ASSERT_EQ(lines.GetSize(), loaded.GetSize());
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        SCOPED_TRACE(static_cast<int>(i));
        EXPECT_EQ(Written(lines[i]), Written(loaded[i]));
        EXPECT_EQ(lines[i].m_iEndMode, loaded[i].m_iEndMode);
        EXPECT_EQ(lines[i].m_iEndType, loaded[i].m_iEndType);
        EXPECT_EQ(lines[i].m_sControlFile, loaded[i].m_sControlFile);
        EXPECT_EQ(lines[i].m_bStopBelow, loaded[i].m_bStopBelow);
        EXPECT_EQ(lines[i].m_bInsertWall, loaded[i].m_bInsertWall);
        EXPECT_FLOAT_EQ(lines[i].m_ptEnd.x, loaded[i].m_ptEnd.x);
        EXPECT_FLOAT_EQ(lines[i].m_ptEnd.y, loaded[i].m_ptEnd.y);
    }
    ASSERT_EQ(CString(L"保存成功"), CTvTemplate(L"再存.TYP").Save(loaded, LibraryFolder()));
    EXPECT_EQ(bytes, ReadBytes(LibraryFolder() + L"\\再存.TYP"));
}

// Older files hold codes the writer no longer makes, and fewer tokens.
TEST(TypLine, DecodingRulesOfStoredFiles)
{
    struct Case {
        const wchar_t* line;
        int mode, type;      // expected end rule
        int stop, action;    // control on, action
        int below;
        double stopValue;
        int topsoil;
    };
    const Case cases[] = {
        {L"1.5 3 0 NULL 3 0 0 4 -1 0 0 NULL 1", 1, 5, 0, 0, 0, 0.0, 1},
        {L"1.5 3 0 NULL 3 0 0 1024 0 2.5 0 NULL 1 4", 2, 5, 1, 0, 0, 2.5, 1},
        {L"1.5 3 0 NULL 3 0 0 -4 1 -1.75 0 NULL 1 0 0 0 0 0 0", 0, 3, 1, 1, 1, 1.75, 0},
        {L"1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1 0 0 0 0 0 7", 0, 0, 0, 0, 0, 0.0, 1},
        {L"1.5,3,0,NULL,3,0,0,256,-1,0,0,NULL,2", 2, 1, 0, 0, 0, 0.0, 1},
        {L"1.5\t3\t0\tNULL\t3\t0\t0\t2048\t-1\t0\t0\tNULL\t1", 2, 3, 0, 0, 0, 0.0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        CSlopeLine line;
        line.m_bTopsoil = 0;
        EXPECT_EQ(CString(L"读取成功"), line.ReadTypLine(c.line));
        EXPECT_EQ(c.mode, line.m_iEndMode);
        EXPECT_EQ(c.type, line.m_iEndType);
        EXPECT_EQ(c.stop, line.m_bStopControl);
        if (c.stop) EXPECT_EQ(c.action, line.m_iStopAction);
        EXPECT_EQ(c.below, line.m_bStopBelow);
        EXPECT_DOUBLE_EQ(c.stopValue, line.m_rStopValue);
        EXPECT_EQ(c.topsoil, line.m_bTopsoil);
    }

    // Code 0 keeps the rule the working line had; so does a missing token
    // 13, 15, 16 or 17 keep the previous line's values.
    CSlopeLine line;
    ASSERT_EQ(CString(L"读取成功"),
              line.ReadTypLine(L"1.5 3 0.2 NULL 7 3 0 512 -1 0 0 NULL 1 6 0 1 0.4 1 1"));
    EXPECT_EQ(2, line.m_iEndMode);
    EXPECT_EQ(2, line.m_iEndType);
    ASSERT_EQ(CString(L"读取成功"), line.ReadTypLine(L"2 1 0.1 NULL 3 0 0 0 -1 0 0 NULL 1"));
    EXPECT_EQ(2, line.m_iEndMode);
    EXPECT_EQ(2, line.m_iEndType);
    EXPECT_EQ(6, line.m_iStopQuantity);
    EXPECT_EQ(1, line.m_bArcWithNext);
    EXPECT_DOUBLE_EQ(0.1, line.m_rEndThickness); // token 2 sets both thicknesses
    EXPECT_EQ(1, line.m_iSlopeLabelStyle);
    EXPECT_EQ(0, line.m_bThickness);

    // The label position of a value that is no power of two: the power below.
    ASSERT_EQ(CString(L"读取成功"), line.ReadTypLine(L"1 1 0 NULL 1 97 0 2 -1 0 0 NULL 1"));
    EXPECT_EQ(1, line.m_bLabelSlope);
    EXPECT_EQ(1, line.m_bLabelOffsetElev);
    EXPECT_EQ(4, line.m_iLabelOffsetElevPos); // 96 -> 64 = 4 << 4

    EXPECT_EQ(CString(L"数据个数不足"), line.ReadTypLine(L"1.5 3 0 NULL 3 0 0 2 -1 0 0 NULL"));
    EXPECT_EQ(CString(L"读取失败"), line.ReadTypLine(L"   "));
}

// Values that would not come back when the template is saved again: a
// number that is none (401 digits read as infinity) and flags beyond the
// bits and label positions of a line.  The line is refused with the field
// and left as it was; the loader names the line.
TEST(TypLine, ValuesASaveWouldNotKeepAreRefused)
{
    const std::wstring digits(401, L'9');
    const struct {
        std::wstring line;
        std::wstring message;
    } cases[] = {
        {digits + L" 3 0 NULL 3 0 0 2 -1 0 0 NULL 1", L"第1个数据<" + digits + L">不是有效数值!"},
        {L"1.5 -1e999 0 NULL 3 0 0 2 -1 0 0 NULL 1", L"第2个数据<-1e999>不是有效数值!"},
        {L"1.5 3 1e400 NULL 3 0 0 2 -1 0 0 NULL 1", L"第3个数据<1e400>不是有效数值!"},
        {L"1.5 3 0 NULL 3 0 0 2 0 1e309 0 NULL 1", L"第10个数据<1e309>不是有效数值!"},
        {L"1.5 3 0 NULL 3 0 0 2 -1 0 0 NULL 1 0 0 0 1e309 0 1", L"第17个数据<1e309>不是有效数值!"},
        {L"1.5 3 0 NULL 8 0 0 2 -1 0 0 NULL 1", L"第5个数据<8>超出了标志的范围(0到7)!"},
        {L"1.5 3 0 NULL 3 4294967296 0 2 -1 0 0 NULL 1", L"第6个数据<4294967296>超出了标志的范围(0到255)!"},
        {L"1.5 3 0 NULL 3 256 0 2 -1 0 0 NULL 1", L"第6个数据<256>超出了标志的范围(0到255)!"},
        {L"1.5 3 0 NULL 3 -4 0 2 -1 0 0 NULL 1", L"第6个数据<-4>超出了标志的范围(0到255)!"},
        {L"1.5 3 0 NULL 3 0 2048 2 -1 0 0 NULL 1", L"第7个数据<2048>超出了标志的范围(0到2047)!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line.c_str()).substr(0, 60));
        CSlopeLine line;
        EXPECT_EQ(CString(c.message.c_str()), line.ReadTypLine(c.line.c_str()));
        EXPECT_EQ(1.5, line.m_rFixedValue);
        EXPECT_EQ(0, line.m_bLabelOffsetElev);
        EXPECT_EQ(1, line.m_bDraw);
    }
    // The largest flags a line writes are read.
    CSlopeLine line;
    ASSERT_EQ(CString(L"读取成功"), line.ReadTypLine(L"1.5 3 0 NULL 7 131 1556 2 -1 0 0 NULL 1"));
    EXPECT_EQ(5, line.m_iLabelOffsetElevPos);
    EXPECT_EQ(4, line.m_iPosType);
}

// Token 3 and token 11 are file names between single blanks: a name the
// reader would split, or "NULL" itself, cannot be written; only the whole
// token "NULL" stands for no file.
TEST_F(LibraryTest, FileNamesALineCanHold)
{
    for (const wchar_t* name : {L"a b.PC", L"a,b.PC", L"a\tb.PC", L"NULL"}) {
        SCOPED_TRACE(Utf8(name));
        CSlopeLine line = MakeLine(0, 1.5, 0, 1, 1.0);
        line.m_sControlFile = name;
        CString text;
        EXPECT_EQ(ClFormat(L"控制文件名<%s>不能含有空格、制表符或逗号, 也不能是NULL!", name), line.WriteTypLine(text));
        line.m_sControlFile.Empty();
        line.m_bInsertWall = 1;
        line.m_sWallFile = name;
        EXPECT_EQ(ClFormat(L"插入挡墙文件名<%s>不能含有空格、制表符或逗号, 也不能是NULL!", name), line.WriteTypLine(text));

        CSlopeLineArray lines;
        lines.Add(line);
        EXPECT_EQ(ClFormat(L"验证第1条边坡线设置时, 发生错误!\n\n插入挡墙文件名<%s>不能含有空格、制表符或逗号, 也不能是NULL!",
                           name),
                  CTvTemplate(L"名称.TYP").Save(lines, LibraryFolder()));
    }
    EXPECT_FALSE(FileExists(LibraryFolder() + L"\\名称.TYP"));

    WriteLibraryFile(L"NULLX.PC", L"0\n");
    CSlopeLine line = MakeLine(0, 1.5, 0, 1, 1.0);
    line.m_sControlFile = L"C:\\别处\\NULLX.PC"; // the name part is what the line holds
    const CString text = Written(line);
    EXPECT_NE(-1, text.Find(L" NULLX.PC 3 "));
    CSlopeLine back;
    ASSERT_EQ(CString(L"读取成功"), back.ReadTypLine(text));
    EXPECT_EQ(CString(L"NULLX.PC"), back.m_sControlFile);
    ASSERT_EQ(CString(L"读取成功"), back.ReadTypLine(L"1 1 0 NULL 3 0 0 2 -1 0 0 NULL 1"));
    EXPECT_EQ(CString(), back.m_sControlFile);
    EXPECT_EQ(CString(), back.m_sWallFile);
}

// A file missing from the library blocks the save but not the load, which
// reports it (the wall text as the loader has always written it).
TEST_F(LibraryTest, MissingControlFilesBlockSavingAndAreReportedOnLoading)
{
    StartProgram();
    CSlopeLineArray lines;
    lines.Add(MakeLine(0, 1.5, 0, 0, 3.0));
    CSlopeLine wall = MakeLine(0, 1.5, 1, 3, 1.0);
    wall.m_sControlFile = L"缺少.DQ";
    lines.Add(wall);
    const CString old = WriteLibraryFile(L"旧.TYP", L"1.5 3 0 NULL 3 0 0 2 -1 0 0 NULL 1\n");
    const std::string oldBytes = ReadBytes(old);
    EXPECT_EQ(ClFormat(L"验证第2条边坡线设置时, 发生错误!\n\n控制文件:%s\\缺少.DQ不存在!", LibraryFolder().GetString()),
              CTvTemplate(L"旧.TYP").Save(lines, LibraryFolder()));
    EXPECT_EQ(oldBytes, ReadBytes(old));

    WriteLibraryFile(L"缺墙.TYP", L"1.5 3 0 缺少.PC 3 0 0 -1 -1 0 0 墙.DQ 1 0 0 0 0 0 1\n");
    CSlopeLineArray loaded;
    EXPECT_EQ(CString(L"文件结束"), CTvTemplate(L"缺墙.TYP").Load(loaded, LibraryFolder()));
    ASSERT_EQ(1, loaded.GetSize());
    EXPECT_EQ(CString(L"缺少.PC"), loaded[0].m_sControlFile);
    EXPECT_EQ(CString(L"墙.DQ"), loaded[0].m_sWallFile);
    const std::vector<CString> info = InfoLines();
    ASSERT_GE(info.size(), 2u);
    EXPECT_EQ(ClFormat(L"载入模板发现错误:控制文件:%s\\缺少.PC不存在!", LibraryFolder().GetString()), info[info.size() - 2]);
    EXPECT_EQ(ClFormat(L"载入模板发现错误:插入挡土墙文件:%s\\墙.DQ不存在!", LibraryFolder().GetString()), info.back());
}

TEST_F(LibraryTest, CommentAndShortLinesArePassedOver)
{
    WriteLibraryFile(L"注释.TYP", L"// 边坡模板: 填方\n"
                                 L"\\\\ 旧式注释\n"
                                 L"   // 缩进的注释\n"
                                 L"x\n"
                                 L"\n"
                                 L"1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\n"
                                 L"//1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\n"
                                 L"33.33 1 0 NULL 3 0 0 128 -1 0 0 NULL 1\n");
    CSlopeLineArray lines;
    EXPECT_EQ(CString(L"文件结束"), CTvTemplate(L"注释.TYP").Load(lines, LibraryFolder()));
    ASSERT_EQ(2, lines.GetSize());
    EXPECT_DOUBLE_EQ(1.5, lines[0].m_rFixedValue);
    EXPECT_DOUBLE_EQ(33.33, lines[1].m_rFixedValue);
    // Each line starts where the one before ends.
    EXPECT_FLOAT_EQ(1.0f, lines[0].m_ptStart.x);
    EXPECT_FLOAT_EQ(-1.0f, lines[0].m_ptStart.y);
    EXPECT_FLOAT_EQ(lines[0].m_ptEnd.x, lines[1].m_ptStart.x);
    EXPECT_FLOAT_EQ(lines[0].m_ptEnd.y, lines[1].m_ptStart.y);
}

TEST_F(LibraryTest, LoadFailuresNameTheLineAndKeepWhatWasRead)
{
    WriteLibraryFile(L"短.TYP", L"// 说明\n1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\n1.5 3 0 NULL 3 0 0 1 -1 0 0\n");
    CSlopeLineArray lines;
    EXPECT_EQ(CString(L"第3行: 数据个数不足"), CTvTemplate(L"短.TYP").Load(lines, LibraryFolder()));
    EXPECT_EQ(1, lines.GetSize());
    WriteLibraryFile(L"标志.TYP", L"1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\n1.5 3 0 NULL 3 4294967296 0 1 -1 0 0 NULL 1\n");
    lines.RemoveAll();
    EXPECT_EQ(CString(L"第2行: 第6个数据<4294967296>超出了标志的范围(0到255)!"),
              CTvTemplate(L"标志.TYP").Load(lines, LibraryFolder()));
    EXPECT_EQ(1, lines.GetSize());

    lines.RemoveAll();
    EXPECT_EQ(CString(L"文件未找到"), CTvTemplate(L"没有.TYP").Load(lines, LibraryFolder()));
    EXPECT_EQ(CString(L"未定义边坡模板文件名, 无法装载模板!"), CTvTemplate().Load(lines, LibraryFolder()));
    EXPECT_EQ(CString(L"未定义边坡模板文件名, 无法保存模板!"), CTvTemplate().Save(lines, LibraryFolder()));

    // A line too long for the line reader.
    WriteBytes(LibraryFolder() + L"\\长.TYP", "1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\r\n" + std::string(70000, '7') + "\r\n");
    lines.RemoveAll();
    EXPECT_EQ(CString(L"第2行: 读取文件时出错!"), CTvTemplate(L"长.TYP").Load(lines, LibraryFolder()));
    EXPECT_EQ(1, lines.GetSize());
}

// A save whose writes fail reports it and leaves the old file as it was.
TEST_F(LibraryTest, AFailedSaveKeepsTheOldFile)
{
    const CString path = WriteLibraryFile(L"保留.TYP", L"1.5 3 0 NULL 3 0 0 1 -1 0 0 NULL 1\n");
    const std::string old = ReadBytes(path);
    CSlopeLineArray lines;
    lines.Add(MakeLine(0, -1.0, 0, 0, 2.0));
    lines.Add(MakeLine(0, 33.33333, 0, 0, 1.0));
    {
        FailingWrites failing(LibraryFolder());
        EXPECT_EQ(ClFormat(L"写入文件<%s>时出错!", path.GetString()), CTvTemplate(L"保留.TYP").Save(lines, LibraryFolder()));
        EXPECT_GT(failing.Refused(), 0);
    }
    EXPECT_EQ(old, ReadBytes(path));
    EXPECT_EQ((std::vector<CString>{L"保留.TYP", CString(kLibraryName) + L".TPB"}), FilesIn(LibraryFolder()));

    EXPECT_EQ(CString(L"保存成功"), CTvTemplate(L"保留.TYP").Save(lines, LibraryFolder()));
    EXPECT_NE(old, ReadBytes(path));

    // A file the user marked read-only is not replaced.
    const std::string saved = ReadBytes(path);
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ClFormat(L"文件%s为只读, 无法保存!", path.GetString()), CTvTemplate(L"保留.TYP").Save(lines, LibraryFolder()));
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(saved, ReadBytes(path));
    EXPECT_EQ((std::vector<CString>{L"保留.TYP", CString(kLibraryName) + L".TPB"}), FilesIn(LibraryFolder()));
}
