// What every data-file reader of the road model makes of malformed input: a
// numeric field is read only when the whole field is a number (a leading
// "+" and the station forms stay), a carriage return alone ends a line, and
// a line that is too long or holds a zero byte is refused, naming the file
// and the line, and handing the line over as a number where the reader
// does.
#include "corvane/base/LastError.h"
#include "corvane/project/StationList.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/HdxFile.h"
#include "corvane/road/Profile.h"
#include "corvane/road/Road.h"
#include "corvane/road/Structures.h"
#include "road_test_support.h"

#include <functional>
#include <string>
#include <vector>

using road_test::ScratchFolder;
using road_test::Utf8;

namespace {

// One reader with a good file of its kind.  "@" marks the field under test
// in line `line`; the file's lines end in "\n".
struct Reader {
    const char* name;
    const wchar_t* fileName;
    const wchar_t* content;
    const wchar_t* goodField;
    std::vector<const wchar_t*> lenientFields;   // other ways to write a field the reader takes
    int line;
    bool namesLineOfField;                       // a bad field's message gives its line
    // true when the file loads; the last-error text tells why not, and line
    // the line it names (0 on success), or -1 for a reader that does not
    // hand the line over.
    std::function<bool(const CString& path, int& line)> load;
};

const tkxBreakChain& PlainChain()
{
    static const tkxBreakChain chain;
    return chain;
}

std::vector<Reader> Readers()
{
    return {
        {".DL", L"road.DL", L"// 断链\n1200 1180\n@ 2510\n", L"2500", {L"+2500", L"2500.", L"02500.000"}, 3, true,
         [](const CString& path, int& line) {
             line = -1;
             return tkxBreakChain().LoadDLFile(path) == 1;
         }},
        {".SQX", L"road.SQX", L"0 100\n500 @ 2000\n1000 100\n", L"101.5", {L"+101.5", L"101."}, 2, true,
         [](const CString& path, int& line) { return tkxZDMInfo(&PlainChain()).LoadSQXFile(path, &line) == 1; }},
        {".DMX", L"road.DMX", L"0 100\n// 地面线\n20 @\n40 102\n", L"99.5", {L"+99.5", L"-0"}, 3, true,
         [](const CString& path, int& line) { return tkxZDMInfo(&PlainChain()).LoadDMXFile(path, &line) == 1; }},
        {".HDX", L"road.HDX", L"100.000\n@ 0.5 2 -0.25\n0 0\n120_1\n3 1\n0 0\n", L"1.5", {L"+1.5", L"[W1.5", L"w]1.5"}, 2,
         true, [](const CString& path, int& line) { return tkxHDMTerrain(&PlainChain()).LoadHDXFile(path, &line) == 1; }},
        {".ICD", L"road.ICD", L"0\n3000000, 500000, 0\n1, @\n2, 500, 100, 1\n0, 0, 0\n", L"100", {L"+100", L"100.000"}, 3,
         false, [](const CString& path, int& line) { return tkxRoadObject().LoadICDFile(path, &line) == 1; }},
        {".GZX", L"road.GZX", L"// 构造物\n1 涵 1000 12d30'00.0\" 2 3 3 2.5 100 R\n3 T 1500 @ 6.5\n", L"35", {L"+35", L"35.0"}, 3,
         true, [](const CString& path, int& line) {
             line = -1;
             CArray<Tavix4::sQHInfo, Tavix4::sQHInfo> out;
             return tkx_ReadQHFile(path, PlainChain(), out) == 1;
         }},
        {".ST", L"road.ST", L"K0+100\n@\n1300_1\n", L"1250.5", {L"K1+250.5", L"1+250.5", L"1250.5_1", L"1250.5,1"}, 2,
         false, [](const CString& path, int& line) {
             line = -1;
             CArray<double, double> out;
             return tkx_ReadSTFile(path, &PlainChain(), out) == L"文件结束";
         }},
    };
}

std::wstring WithField(const wchar_t* content, const std::wstring& field)
{
    std::wstring text = content;
    text.replace(text.find(L'@'), 1, field);
    return text;
}

// The file's bytes (code page 936) with the given line end.
std::string FileBytes(const std::wstring& text, const std::string& lineEnd)
{
    const std::string bytes = ClWideToMultiByte(text.c_str(), -1, CP_ACP);
    std::string out;
    for (char c : bytes) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

// The message, checked for what it must name.
void ExpectNamed(const CString& message, const CString& path, int line, const std::wstring& field)
{
    const std::string text = Utf8(message);
    if (!path.IsEmpty()) {
        EXPECT_NE(std::string::npos, text.find(Utf8(path))) << text;
    }
    if (line > 0) {
        EXPECT_NE(std::string::npos, text.find(Utf8(ClFormat(L"第%d行", line)))) << text;
    }
    if (!field.empty()) {
        EXPECT_NE(std::string::npos, text.find(Utf8(field.c_str()))) << text;
    }
}

} // namespace

TEST(ReaderInput, GoodFilesLoadWithEveryLineEnd)
{
    ScratchFolder folder(L"input_good");
    for (const Reader& r : Readers()) {
        const CString path = folder / r.fileName;
        std::vector<const wchar_t*> fields = r.lenientFields;
        fields.insert(fields.begin(), r.goodField);
        for (const wchar_t* field : fields) {
            for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
                SCOPED_TRACE(std::string(r.name) + " " + Utf8(field) + (lineEnd[0] == '\r' && !lineEnd[1] ? " CR" : ""));
                road_test::WriteBytes(path, FileBytes(WithField(r.content, field), lineEnd));
                tkx_SetLastError(L"");
                int line = 7;
                EXPECT_TRUE(r.load(path, line)) << Utf8(tkx_GetLastError());
                EXPECT_TRUE(line <= 0) << line;
            }
        }
    }
}

// A comment ended by a carriage return alone used to swallow the next data
// line, and a file of such lines that began with a comment read as empty.
TEST(ReaderInput, LoneCarriageReturnsKeepEveryLine)
{
    ScratchFolder folder(L"input_cr");
    const CString path = folder / L"road.DL";
    road_test::WriteBytes(path, "// breaks\r1200 1180\r// more\r2500 2510\r");
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.LoadDLFile(path)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(3, chain.GetBreakChainCount());

    const CString sqx = folder / L"road.SQX";
    road_test::WriteBytes(sqx, "// grade points\r0 100\r500 105 2000\r1000 100");
    tkxZDMInfo profile(&PlainChain());
    ASSERT_EQ(1, profile.LoadSQXFile(sqx)) << Utf8(tkx_GetLastError());
    EXPECT_EQ(3, profile.GetBPDCount());
}

TEST(ReaderInput, FieldThatIsNotWhollyANumberIsRefused)
{
    ScratchFolder folder(L"input_fields");
    const std::wstring badFields[] = {
        L"1__2", L"1;5", L"1_2_3", L"\xFF11.5",   // full-width one
        L"1.5.0", L"1e5", L"0x10", std::wstring(400, L'9'), L"-" + std::wstring(310, L'7') + L".5",
    };
    for (const Reader& r : Readers()) {
        const CString path = folder / r.fileName;
        for (const std::wstring& field : badFields) {
            SCOPED_TRACE(std::string(r.name) + " " + Utf8(field.substr(0, 20).c_str()));
            road_test::WriteText(path, WithField(r.content, field).c_str());
            tkx_SetLastError(L"");
            int line = 0;
            ASSERT_FALSE(r.load(path, line));
            // The station-list reader passes on the break chain's message,
            // which names the station text only.
            const bool list = std::string(r.name) == ".ST";
            ExpectNamed(tkx_GetLastError(), list ? CString() : path, r.namesLineOfField ? r.line : 0,
                        list ? std::wstring() : field);
            // The line, as a number, for the tools that line it up with
            // their input.
            if (line >= 0 && r.namesLineOfField) {
                EXPECT_EQ(r.line, line);
            }
        }
    }
}

TEST(ReaderInput, OverlongAndZeroByteLinesAreRefusedNamingFileAndLine)
{
    ScratchFolder folder(L"input_lines");
    for (const Reader& r : Readers()) {
        const CString path = folder / r.fileName;
        // The good field, then blanks past every reader's limit and more data
        // (which used to be cut off); the good field with a zero byte.
        const std::string good = FileBytes(WithField(r.content, r.goodField), "\r\n");
        const std::string field = ClWideToMultiByte(r.goodField, -1, CP_ACP);
        const size_t at = good.find(field);
        ASSERT_NE(std::string::npos, at);
        for (const std::string& inserted : {std::string(70000, ' ') + " 7 ", std::string("\0", 1)}) {
            SCOPED_TRACE(std::string(r.name) + (inserted.size() == 1 ? " zero byte" : " long line"));
            std::string bytes = good;
            bytes.insert(at + field.size(), inserted);
            road_test::WriteBytes(path, bytes);
            tkx_SetLastError(L"");
            int line = 0;
            ASSERT_FALSE(r.load(path, line));
            ExpectNamed(tkx_GetLastError(), path, r.line, std::wstring());
            if (line >= 0) {
                EXPECT_EQ(r.line, line);
            }
        }
    }
}
