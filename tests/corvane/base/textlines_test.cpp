// Line readers, field splitters, look-ups and the last-error text.
#include "corvane/base/LastError.h"
#include "corvane/base/TextLines.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The path of a file of the scratch root.
std::wstring Widen(const char* name)
{
    return std::wstring(test_support::ScratchRoot().GetString()) + L"\\" + std::wstring(name, name + std::strlen(name));
}

// Writes raw bytes to a file of the scratch root.
void WriteBytes(const char* name, const std::string& bytes)
{
    test_support::WriteBytes(Widen(name).c_str(), bytes);
}

struct DataLine {
    std::wstring text;
    int lineNo;
    bool operator==(const DataLine& o) const { return text == o.text && lineNo == o.lineNo; }
};

void PrintTo(const DataLine& d, std::ostream* os)
{
    *os << "{line " << d.lineNo << ", " << ::testing::PrintToString(d.text) << "}";
}

struct ReadResult {
    std::vector<DataLine> lines;
    int endCounter = 0;   // counter after the reader returned 0
};

ReadResult ReadAllStdio(const char* name, UINT typeFlag)
{
    CStdioFile file(Widen(name).c_str(), CFile::modeRead | typeFlag);
    ReadResult r;
    CString line;
    int n = 0;
    while (tkx_ReadNextStringST(&file, line, n)) r.lines.push_back({line.GetString(), n});
    r.endCounter = n;
    file.Close();
    return r;
}

ReadResult ReadAllArchive(const char* name)
{
    CFile file(Widen(name).c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    ReadResult r;
    CString line;
    int n = 0;
    while (tkx_ReadNextString(&ar, line, n)) r.lines.push_back({line.GetString(), n});
    r.endCounter = n;
    ar.Close();
    file.Close();
    return r;
}

std::vector<std::wstring> ToVector(const CStringArray& a)
{
    std::vector<std::wstring> v;
    for (int i = 0; i < static_cast<int>(a.GetSize()); ++i) v.push_back(a[i].GetString());
    return v;
}

// "起点桩号 K0+000 中桩高程" in code page 936.
const std::string kChineseBytes =
    "\xC6\xF0\xB5\xE3\xD7\xAE\xBA\xC5"
    " K0+000 "
    "\xD6\xD0\xD7\xAE\xB8\xDF\xB3\xCC";
const wchar_t kChineseText[] = L"起点桩号 K0+000 中桩高程";

struct ReaderCase {
    const char* name;
    std::string bytes;
    std::vector<DataLine> lines;
    int physicalLines;   // the archive reader's counter at the end
};

std::vector<ReaderCase> ReaderCases()
{
    return {
        {"empty file", "", {}, 0},
        {"CR LF lines", "a 1\r\nb 2\r\n", {{L"a 1", 1}, {L"b 2", 2}}, 2},
        {"last line without line feed", "x\ny", {{L"x", 1}, {L"y", 2}}, 2},
        {"last line without line feed after CR", "x\r\ny\r", {{L"x", 1}, {L"y", 2}}, 2},
        {"comments, blanks and one-character lines",
         "  // note\n/\n//\nA // not a comment\n\n \t \r\n1\n//x\n",
         {{L"/", 2}, {L"A // not a comment", 4}, {L"1", 7}}, 8},
        {"only skipped lines", "\n\n// a\r\n   \n", {}, 4},
        {"surrounding blanks trimmed", "\t 1.5, 2 \t\r\n", {{L"1.5, 2", 1}}, 1},
        {"Chinese text in code page 936", kChineseBytes + "\r\n" + kChineseBytes,
         {{kChineseText, 1}, {kChineseText, 2}}, 2},
        // A carriage return alone ends a line as well.
        {"CR only", "//head\r1 2\r\r3 4\r", {{L"1 2", 2}, {L"3 4", 4}}, 4},
        {"comment ended by CR before data", "// note\r5 6\n", {{L"5 6", 2}}, 2},
        {"mixed line ends", "a\rb\r\nc\nd\n\re", {{L"a", 1}, {L"b", 2}, {L"c", 3}, {L"d", 4}, {L"e", 6}}, 6},
        {"Chinese text ended by CR", kChineseBytes + "\r" + kChineseBytes,
         {{kChineseText, 1}, {kChineseText, 2}}, 2},
    };
}

} // namespace

TEST(TextLinesReader, BothReadersYieldTheSameDataLinesAndCounters)
{
    ASSERT_EQ(936u, GetACP()) << "the tests expect the Chinese ANSI code page";
    for (const ReaderCase& c : ReaderCases()) {
        SCOPED_TRACE(c.name);
        WriteBytes("textlines_reader.txt", c.bytes);

        ReadResult text = ReadAllStdio("textlines_reader.txt", CFile::typeText);
        ReadResult binary = ReadAllStdio("textlines_reader.txt", CFile::typeBinary);
        ReadResult archive = ReadAllArchive("textlines_reader.txt");

        EXPECT_EQ(c.lines, text.lines);
        EXPECT_EQ(c.lines, binary.lines);
        EXPECT_EQ(c.lines, archive.lines);
        // The file reader counts the end of the file as one more line.
        EXPECT_EQ(c.physicalLines + 1, text.endCounter);
        EXPECT_EQ(c.physicalLines + 1, binary.endCounter);
        EXPECT_EQ(c.physicalLines, archive.endCounter);
    }
}

TEST(TextLinesReader, RepeatedCallsAtTheEndKeepReturningZero)
{
    WriteBytes("textlines_end.txt", "only\n");
    CStdioFile file(Widen("textlines_end.txt").c_str(), CFile::modeRead);
    CString line = L"stale";
    int n = 0;
    ASSERT_EQ(1, tkx_ReadNextStringST(&file, line, n));
    EXPECT_EQ(0, tkx_ReadNextStringST(&file, line, n));
    EXPECT_EQ(0, tkx_ReadNextStringST(&file, line, n));
    EXPECT_EQ(3, n);
    EXPECT_TRUE(line.IsEmpty());
}

TEST(TextLinesReader, ReadersNeverTouchTheLastError)
{
    tkx_SetLastError(L"earlier failure");
    WriteBytes("textlines_lasterror.txt", "a\n");
    ReadAllStdio("textlines_lasterror.txt", CFile::typeText);
    ReadAllArchive("textlines_lasterror.txt");
    EXPECT_STREQ(L"earlier failure", tkx_GetLastError().GetString());
}

// The bad lines: a data line longer than the reader's limit, or any line
// holding a zero byte, gives -1 with the line empty and the counter on it,
// never a line cut short; the next call reads on after it.
TEST(TextLinesReader, OverlongAndZeroByteLinesAreBadLines)
{
    struct Source {
        const char* name;
        size_t limit;
        bool archive;
    };
    struct Case {
        const char* name;
        std::string badLine;
    };
    for (const Source& source : {Source{"file", 65535, false}, Source{"archive", 1023, true}}) {
        const Case cases[] = {
            {"one byte over the limit", std::string(source.limit + 1, '7')},
            // Blanks after the data do not make the rest of the line vanish.
            {"data, blanks past the limit and more data",
             "14236.415 14200.000" + std::string(source.limit + 65, ' ') + " 7"},
            {"zero byte in a data line", std::string("1.5 \0 2.5", 9)},
            {"zero byte in a comment", std::string("// note\0", 8)},
            {"text of two-byte characters", std::string("\x31\x00\x20\x00\x32\x00", 6)},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(source.name) + ": " + c.name);
            WriteBytes("textlines_bad.txt", "first 1\r\n" + c.badLine + "\r\nnext 2\n");
            CFile raw(Widen("textlines_bad.txt").c_str(), CFile::modeRead | CFile::shareDenyNone);
            CStdioFile file(Widen("textlines_bad.txt").c_str(), CFile::modeRead | CFile::shareDenyNone);
            CArchive ar(&raw, CArchive::load);
            auto next = [&](CString& line, int& n) {
                return source.archive ? tkx_ReadNextString(&ar, line, n) : tkx_ReadNextStringST(&file, line, n);
            };
            CString line;
            int n = 0;
            ASSERT_EQ(1, next(line, n));
            EXPECT_STREQ(L"first 1", line.GetString());
            line = L"stale";
            EXPECT_EQ(-1, next(line, n));
            EXPECT_EQ(2, n);
            EXPECT_TRUE(line.IsEmpty());
            ASSERT_EQ(1, next(line, n));
            EXPECT_STREQ(L"next 2", line.GetString());
            EXPECT_EQ(3, n);
            EXPECT_EQ(0, next(line, n));
        }

        SCOPED_TRACE(source.name);
        // A line of exactly the limit is whole, and a longer comment is
        // still only a comment.
        std::string longest(source.limit, 'y');
        longest[0] = 'L';
        WriteBytes("textlines_long.txt",
                   "  //" + std::string(source.limit + 10, 'c') + "\n" + longest + "\r\nz");
        ReadResult r = source.archive ? ReadAllArchive("textlines_long.txt")
                                      : ReadAllStdio("textlines_long.txt", CFile::typeText);
        ASSERT_EQ(2u, r.lines.size());
        EXPECT_EQ(std::wstring(longest.begin(), longest.end()), r.lines[0].text);
        EXPECT_EQ(2, r.lines[0].lineNo);
        EXPECT_EQ((DataLine{L"z", 3}), r.lines[1]);
    }
}

// The readers scan their source's buffer: a CR LF pair split by the end of
// a buffer is still one line end, and lines that cross a buffer boundary
// come out whole.
TEST(TextLinesReader, LineEndsAcrossBufferBoundaries)
{
    std::string bytes;
    std::vector<DataLine> expected;
    // Lines of 1 to 300 characters: their CR falls on every offset of a
    // small archive buffer, and one CR falls on the last byte of the file
    // reader's 64 KiB buffer.
    int n = 0;
    for (int length = 1; length <= 300; ++length) {
        std::string line(static_cast<size_t>(length), static_cast<char>('a' + length % 26));
        bytes += line + (length % 3 == 0 ? "\r" : "\r\n");
        expected.push_back({std::wstring(line.begin(), line.end()), ++n});
    }
    const size_t boundary = 65536;
    std::string filler(boundary - 1 - bytes.size(), 'f');
    bytes += filler + "\r\nafter\r";
    expected.push_back({std::wstring(filler.begin(), filler.end()), ++n});
    expected.push_back({L"after", ++n});
    WriteBytes("textlines_boundary.txt", bytes);

    EXPECT_EQ(expected, ReadAllStdio("textlines_boundary.txt", CFile::typeText).lines);
    for (int size : {128, 509, 4096}) {
        SCOPED_TRACE(size);
        CFile file(Widen("textlines_boundary.txt").c_str(), CFile::modeRead);
        CArchive ar(&file, CArchive::load, size);
        std::vector<DataLine> lines;
        CString line;
        int lineNo = 0;
        int got = 0;
        while ((got = tkx_ReadNextString(&ar, line, lineNo)) != 0) {
            // The filler line is longer than an archive line may be.
            if (got < 0) {
                lines.push_back({L"<bad>", lineNo});
                continue;
            }
            lines.push_back({line.GetString(), lineNo});
        }
        std::vector<DataLine> archiveExpected = expected;
        archiveExpected[300].text = L"<bad>";
        EXPECT_EQ(archiveExpected, lines);
    }
}

TEST(TextLinesDivide, SplitsAtBlanksTabsAndCommas)
{
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> tokens;
        int result;
    };
    const Case cases[] = {
        {L"12.5,,  7\t8", {L"12.5", L"7", L"8"}, 0},
        {L" a b ", {L"a", L"b"}, 0},
        {L"a,,b", {L"a", L"b"}, 0},
        {L",\t ,", {}, 0},
        {L"x", {L"x"}, 0},
        {L"K1+200 中桩,3.5", {L"K1+200", L"中桩", L"3.5"}, 0},
        // A line break ends the scan.
        {L"a\r\nb", {L"a"}, 13},
        {L"a b\nc d", {L"a", L"b"}, 10},
        {L"a \n", {L"a"}, 10},
        {L"\r\n", {}, 13},
        {L"a\n", {L"a"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
        CStringArray tokens;
        tokens.Add(L"left over");
        EXPECT_EQ(c.result, tkx_DivideString(c.text, tokens));
        EXPECT_EQ(c.tokens, ToVector(tokens));
    }
}

TEST(TextLinesDivide, EmptyTextLeavesTheTokensAlone)
{
    CStringArray tokens;
    tokens.Add(L"kept");
    EXPECT_EQ(-1, tkx_DivideString(L"", tokens));
    EXPECT_EQ(-1, tkx_DivideString(nullptr, tokens));
    EXPECT_EQ(std::vector<std::wstring>{L"kept"}, ToVector(tokens));
}

TEST(TextLinesDivide, TokenOfTheLimitLengthFails)
{
    CStringArray tokens;
    std::wstring longest(65534, L'9');
    EXPECT_EQ(0, tkx_DivideString((L"a " + longest + L" b").c_str(), tokens));
    EXPECT_EQ((std::vector<std::wstring>{L"a", longest, L"b"}), ToVector(tokens));

    std::wstring tooLong(65535, L'9');
    EXPECT_EQ(-1, tkx_DivideString((L"a," + tooLong + L",b").c_str(), tokens));
    EXPECT_EQ(std::vector<std::wstring>{L"a"}, ToVector(tokens));
}

TEST(TextLinesSplit, CutsAtTheSeparatorText)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* separator;
        std::vector<std::wstring> pieces;
    };
    const Case cases[] = {
        {L"a| |b", L"|", {L"a", L"", L"b"}},
        {L"a||b|", L"|", {L"a", L"b"}},
        {L" a | b ", L" | ", {L"a", L"b"}},
        {L"|a", L"|", {L"", L"a"}},
        {L"a", L"|", {L"a"}},
        {L"", L"|", {}},
        {L"   ", L"|", {}},
        {L"|||", L"|", {L""}},
        {L"桥梁;涵洞; 通道", L";", {L"桥梁", L"涵洞", L"通道"}},
        // A blank or empty separator gives the untouched text.
        {L"  a  b ", L"  ", {L"  a  b "}},
        {L" x ", L"", {L" x "}},
        // Longer separators: repeats are skipped whole and the next piece
        // keeps its leading characters.
        {L"a->->b->", L"->", {L"a", L"b"}},
        {L"a->-5->>6", L"->", {L"a", L"-5", L">6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)) + " at " +
                     ::testing::PrintToString(std::wstring(c.separator)));
        CStringArray pieces;
        pieces.Add(L"left over");
        EXPECT_EQ(static_cast<int>(c.pieces.size()), tkx_SplitString(c.text, c.separator, pieces));
        EXPECT_EQ(c.pieces, ToVector(pieces));
    }
}

TEST(TextLinesLookup, IntegersMatchExactlyFirstIndex)
{
    CArray<int, int> values;
    EXPECT_EQ(-1, tkx_IsIncludeI(values, 0));
    for (int v : {3, 5, 3}) values.Add(v);
    EXPECT_EQ(0, tkx_IsIncludeI(values, 3));
    EXPECT_EQ(1, tkx_IsIncludeI(values, 5));
    EXPECT_EQ(-1, tkx_IsIncludeI(values, 4));
}

TEST(TextLinesLookup, DoublesMatchStrictlyWithinTheTolerance)
{
    CArray<double, double> values;
    for (double v : {1.0, 2.0, 2.0005}) values.Add(v);
    struct Case {
        double value, tolerance;
        int index;
    };
    const Case cases[] = {
        {2.0004, 0.001, 1},      // first of two within the tolerance
        {2.0005, 0.0001, 2},
        {2.0, 0.0, 1},           // tolerance raised to 1e-10
        {2.0 + 5e-11, 0.0, 1},
        {2.0 + 2e-10, 0.0, -1},
        {2.0 + 5e-11, -1.0, 1},  // negative tolerance raised as well
        {1.5, 0.5, -1},          // both bounds are exclusive
        {0.75, 0.25, -1},
        {0.76, 0.25, 0},
        {-7.0, 1.0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " within " << c.tolerance);
        EXPECT_EQ(c.index, tkx_IsIncludeD(values, c.value, c.tolerance));
    }
}

TEST(TextLinesLookup, TextsMatchExactlyOrIgnoringCase)
{
    CStringArray texts;
    for (const wchar_t* t : {L"Abc", L"abc", L"ABC", L"桩号"}) texts.Add(t);
    struct Case {
        const wchar_t* text;
        int flag;
        int index;
    };
    const Case cases[] = {
        {L"abc", 0, 1}, {L"ABC", 0, 2}, {L"abc", 1, 0}, {L"aBC", 1, 0},
        {L"aBC", 0, -1}, {L"abc", 2, 1}, {L"abd", 1, -1}, {L"桩号", 0, 3}, {L"", 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)) + " flag " + std::to_string(c.flag));
        EXPECT_EQ(c.index, tkx_IsIncludeS(texts, c.text, c.flag));
    }
}

TEST(LastError, SetReplacesTheTextAndGetReturnsACopy)
{
    tkx_SetLastError(L"\n读取文件失败");
    CString copy = tkx_GetLastError();
    EXPECT_STREQ(L"\n读取文件失败", copy.GetString());
    copy = L"changed";
    EXPECT_STREQ(L"\n读取文件失败", tkx_GetLastError().GetString());

    tkx_SetLastError(L"第二个错误");
    EXPECT_STREQ(L"第二个错误", tkx_GetLastError().GetString());
    tkx_SetLastError(nullptr);
    EXPECT_TRUE(tkx_GetLastError().IsEmpty());
}
