// The text buffer's files: each encoding read and written back, lines of any
// length and content, and saves that fail without touching the old file.
#include "editor_test_support.h"
#include "support/FailingWrites.h"

using namespace test_support;
using edtest::Lines;

namespace {

std::string Ansi(const wchar_t* text) { return ClWideToMultiByte(text, -1, 936); }
std::string Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}
const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16Mark = "\xFF\xFE";

struct RoundTrip {
    const char* name;
    std::string bytes;              // the file
    WORD encoding;                  // as loaded
    std::vector<std::wstring> lines;
    std::string saved;              // the file after a save of the unchanged text
};

std::vector<RoundTrip> RoundTrips()
{
    const std::wstring longLine(100000, L'桩');
    std::wstring nulLine = L"ab";
    nulLine += L'\0';
    nulLine += L"cd";
    return {
        {"code page 936 with Chinese", Ansi(L"K0+000\t桩号\r\n中文 ABC\r\n"), TVE_ANSI,
         {L"K0+000\t桩号", L"中文 ABC"}, Ansi(L"K0+000\t桩号\r\n中文 ABC")},
        {"lone CR and LF stay in their lines", "a\rb\nc\r\nd", TVE_ANSI, {L"a\rb\nc", L"d"}, "a\rb\nc\r\nd"},
        {"UTF-8 with its mark", kUtf8Mark + Utf8(L"断链\r\nK1+200"), TVE_UTF8, {L"断链", L"K1+200"},
         kUtf8Mark + Utf8(L"断链\r\nK1+200")},
        {"UTF-8 without a mark", Utf8(L"横断面 地面线\r\n高程"), TVE_UTF8, {L"横断面 地面线", L"高程"},
         Utf8(L"横断面 地面线\r\n高程")},
        {"code page 936 that is also valid UTF-8", Ansi(L"桩桩\r\n"), TVE_ANSI, {L"桩桩"}, Ansi(L"桩桩")},
        {"UTF-8 without a mark, with a degree sign", Utf8(L"坡度 3°"), TVE_UTF8, {L"坡度 3°"}, Utf8(L"坡度 3°")},
        {"UTF-16 with CR LF", kUtf16Mark + Utf16(L"A1\r\n桥梁\r\n"), TVE_UTF16, {L"A1", L"桥梁"},
         kUtf16Mark + Utf16(L"A1\r\n桥梁")},
        {"UTF-16 with bare LF", kUtf16Mark + Utf16(L"ab\ncd\nef"), TVE_UTF16, {L"ab", L"cd", L"ef"},
         kUtf16Mark + Utf16(L"ab\r\ncd\r\nef")},
        {"a NUL inside a line", std::string("ab\0cd\r\nx", 8), TVE_ANSI, {nulLine, L"x"},
         std::string("ab\0cd\r\nx", 8)},
        {"a NUL inside a UTF-16 line", kUtf16Mark + Utf16(nulLine + L"\r\nx"), TVE_UTF16, {nulLine, L"x"},
         kUtf16Mark + Utf16(nulLine + L"\r\nx")},
        {"a line of 100,000 characters", Ansi(longLine.c_str()) + "\r\nend", TVE_ANSI, {longLine, L"end"},
         Ansi(longLine.c_str()) + "\r\nend"},
        {"an empty file", "", TVE_ANSI, {L""}, ""},
        {"only a UTF-16 mark", kUtf16Mark, TVE_UTF16, {L""}, kUtf16Mark},
    };
}

} // namespace

TEST(BufferFile, EachEncodingLoadsAndSavesBackTheSameText)
{
    ScratchFolder folder(L"roundtrip");
    for (const RoundTrip& c : RoundTrips()) {
        SCOPED_TRACE(c.name);
        const CString path = folder / L"data.dmx";
        WriteBytes(path, c.bytes);
        CTvTextBuffer buffer;
        MessageBoxScript boxes;
        ASSERT_TRUE(buffer.LoadFromFile(path));
        EXPECT_TRUE(boxes.Shown().empty()); // nothing is unreadable
        EXPECT_EQ(c.encoding, buffer.GetEncoding());
        const std::vector<CString> lines = Lines(buffer);
        ASSERT_EQ(c.lines.size(), lines.size());
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(lines[i].str() == c.lines[i]) << "line " << i;
        EXPECT_FALSE(buffer.IsModified());

        const CString copy = folder / L"copy.dmx";
        ASSERT_TRUE(buffer.SaveToFile(copy));
        EXPECT_TRUE(ReadBytes(copy) == c.saved);
        EXPECT_EQ(std::vector<CString>({L"copy.dmx", L"data.dmx"}), FilesIn(folder.Path())); // no temporary left
        ::DeleteFileW(copy);
    }
}

// Bytes that are not text in the file's encoding cannot come back as they
// were: the file opens, and the user is told on which line they are.
TEST(BufferFile, BytesThatAreNotTextAreNamedWhenTheFileOpens)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::wstring> lines;
        const wchar_t* where;
    };
    const Case cases[] = {
        {"a lead byte before a space in code page 936", Ansi(L"桩号\r\n") + "a\x81\x20z\r\nb", {L"桩号", L"a?z", L"b"},
         L"第2行"},
        {"a lead byte at a line end in code page 936", "ab?\xB0\r\ncd", {L"ab??", L"cd"}, L"第1行"},
        {"a broken sequence in UTF-8", kUtf8Mark + "x\r\na\xC3z", {L"x", L"a\xFFFDz"}, L"第2行"},
        {"half a character at the end of UTF-16", kUtf16Mark + Utf16(L"A1\r\nB2") + "C", {L"A1", L"B2"}, L"第2行"},
    };
    ScratchFolder folder(L"unreadable");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CString path = folder / L"data.dmx";
        WriteBytes(path, c.bytes);
        CTvTextBuffer buffer;
        MessageBoxScript boxes;
        ASSERT_TRUE(buffer.LoadFromFile(path));
        const std::vector<CString> lines = Lines(buffer);
        ASSERT_EQ(c.lines.size(), lines.size());
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(lines[i].str() == c.lines[i]) << "line " << i;
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_NE(-1, boxes.LastText().Find(c.where));
        EXPECT_NE(-1, boxes.LastText().Find(path));
    }
}

TEST(BufferFile, TextInsertedAtTheStartOfAUnicodeFileFollowsItsMark)
{
    ScratchFolder folder(L"mark");
    const CString path = folder / L"data.hdx";
    WriteBytes(path, kUtf16Mark + Utf16(L"K0\r\nK1"));
    CTvTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_EQ(CString(L"K0"), Lines(buffer)[0]); // the mark is not text
    int endLine = 0, endColumn = 0;
    ASSERT_TRUE(buffer.InsertText(nullptr, 0, 0, L"//", endLine, endColumn, TVA_TYPING));
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_TRUE(ReadBytes(path) == kUtf16Mark + Utf16(L"//K0\r\nK1"));
}

TEST(BufferFile, LoadingTakesTheReadOnlyAttributeAndFailsQuietlyForAMissingFile)
{
    ScratchFolder folder(L"attributes");
    const CString path = folder / L"ro.st";
    WriteBytes(path, "K0+000");
    ::SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY);
    CTvTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_TRUE(buffer.GetReadOnly());
    int endLine = 0, endColumn = 0;
    EXPECT_FALSE(buffer.InsertText(nullptr, 0, 0, L"x", endLine, endColumn));
    EXPECT_EQ(CString(L"K0+000"), Lines(buffer)[0]);
    EXPECT_FALSE(buffer.CanUndo());
    ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);

    MessageBoxScript boxes;
    CTvTextBuffer missing;
    EXPECT_FALSE(missing.LoadFromFile(folder / L"none.st"));
    EXPECT_EQ(1, missing.GetLineCount());
    EXPECT_EQ(0, missing.GetLineLength(0));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(BufferFile, ABackupKeepsThePreviousFile)
{
    ScratchFolder folder(L"backup");
    const CString path = folder / L"a.sqx";
    WriteBytes(path, "old\r\ntext");
    CTvTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    buffer.SetLineText(0, L"new");
    buffer.m_bCreateBackupFile = TRUE;
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ("new\r\ntext", ReadBytes(path));
    EXPECT_EQ("old\r\ntext", ReadBytes(path + L".bak"));
    buffer.SetLineText(0, L"newer");
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ("new\r\ntext", ReadBytes(path + L".bak"));
    EXPECT_EQ(std::vector<CString>({L"a.sqx", L"a.sqx.bak"}), FilesIn(folder.Path()));
}

// A save that cannot be done leaves the old file as it was, says which file
// and why in one message and leaves the system's error code; nothing is left
// behind but what keeps the new text.
TEST(BufferFile, FailedSavesLeaveTheOldFileIntactAndSayWhy)
{
    ScratchFolder folder(L"failing");
    const std::string old = Ansi(L"旧的内容\r\nK0+000");
    for (WORD encoding : {TVE_ANSI, TVE_UTF8, TVE_UTF16}) {
        SCOPED_TRACE(encoding);
        const CString path = folder / L"data.dl";
        WriteBytes(path, old);
        CTvTextBuffer buffer;
        const std::string source = encoding == TVE_UTF16  ? kUtf16Mark + Utf16(L"新的内容")
                                   : encoding == TVE_UTF8 ? kUtf8Mark + Utf8(L"新的内容")
                                                          : Ansi(L"新的内容");
        const CString sourcePath = folder / L"source.txt";
        WriteBytes(sourcePath, source);
        ASSERT_TRUE(buffer.LoadFromFile(sourcePath));
        ::DeleteFileW(sourcePath);
        int endLine = 0, endColumn = 0;
        buffer.InsertText(nullptr, 0, 0, L"+", endLine, endColumn);
        ASSERT_TRUE(buffer.IsModified());
        CreateDirectoryW(folder / L"a folder", nullptr);

        const struct {
            const char* what;
            CString target;
            DWORD error;
            CString reason;
        } cases[] = {
            {"a read-only file", path, ERROR_ACCESS_DENIED, L"文件被设为只读."},
            {"a folder", folder / L"a folder", ERROR_ACCESS_DENIED, L"这是一个文件夹的名称."},
            {"a missing folder", folder / L"missing\\data.dl", ERROR_PATH_NOT_FOUND,
             L"文件夹<" + (folder / L"missing") + L">不存在."},
        };
        ::SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            MessageBoxScript boxes;
            ::SetLastError(0);
            EXPECT_FALSE(buffer.SaveToFile(c.target));
            EXPECT_EQ(c.error, ::GetLastError());
            ASSERT_EQ(1u, boxes.Shown().size());
            EXPECT_EQ(L"保存文件失败!\n\n" + c.target + L"\n\n" + c.reason, boxes.LastText());
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes.Shown()[0].type);
        }
        ::SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(old, ReadBytes(path));
        EXPECT_TRUE(buffer.IsModified());
        RemoveDirectoryW(folder / L"a folder");

        // A disk that fills up while the new text is written: the system's
        // reason, and for a UTF-8 file that its mark could not be written.
        {
            MessageBoxScript boxes;
            FailingWrites full(folder.Path());
            ::SetLastError(0);
            EXPECT_FALSE(buffer.SaveToFile(path));
            EXPECT_GT(full.Refused(), 0);
            EXPECT_NE(0u, ::GetLastError());
            ASSERT_EQ(1u, boxes.Shown().size());
            EXPECT_EQ(0, boxes.LastText().Find(L"保存文件失败!\n\n" + path + L"\n\n"));
            EXPECT_EQ(encoding == TVE_UTF8, boxes.LastText().Find(L"数据环境写UTF8文件头信息失败!") >= 0);
        }
        EXPECT_EQ(old, ReadBytes(path));
        EXPECT_EQ(std::vector<CString>({L"data.dl"}), FilesIn(folder.Path()));
        EXPECT_TRUE(buffer.IsModified());
        ::DeleteFileW(path);
    }
}

TEST(BufferFile, AFileHeldOpenByAnotherProgramKeepsTheNewTextInTheTemporaryFile)
{
    ScratchFolder folder(L"locked");
    const CString path = folder / L"data.jd";
    WriteBytes(path, "old");
    CTvTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    buffer.SetLineText(0, L"new text");
    HANDLE other = ::CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    MessageBoxScript boxes;
    const BOOL saved = buffer.SaveToFile(path);
    ::CloseHandle(other);
    EXPECT_FALSE(saved);
    EXPECT_EQ("old", ReadBytes(path));
    // The user is told where the text is, and it is there.
    ASSERT_EQ(1u, boxes.Shown().size());
    const std::vector<CString> files = FilesIn(folder.Path());
    ASSERT_EQ(2u, files.size());
    const CString& kept = files[0] == L"data.jd" ? files[1] : files[0];
    EXPECT_EQ(0, kept.Find(L"CRE"));
    EXPECT_NE(-1, boxes.LastText().Find(kept));
    EXPECT_EQ("new text", ReadBytes(folder / kept));
}

TEST(BufferFile, ASuccessfulSaveMarksTheSavedState)
{
    ScratchFolder folder(L"saved");
    const CString path = folder / L"s.st";
    CTvTextBuffer buffer;
    buffer.InitEmpty(0);
    int endLine = 0, endColumn = 0;
    buffer.InsertText(nullptr, 0, 0, L"abc", endLine, endColumn, TVA_TYPING);
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_EQ(buffer.GetUndoPosition(), buffer.GetSavedPosition());
    // Without clearing, the flag and the saved state stay as they were.
    buffer.InsertText(nullptr, 0, 3, L"d", endLine, endColumn, TVA_TYPING);
    ASSERT_TRUE(buffer.SaveToFile(folder / L"copy.st", -1, FALSE));
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_EQ(1, buffer.GetSavedPosition());
}

// Characters the file's encoding cannot hold are not turned into question
// marks behind the user's back: the save is refused, naming where they are,
// and the old file stays.
TEST(BufferFile, TextTheEncodingCannotHoldIsNotSavedAsQuestionMarks)
{
    struct Case {
        const char* name;
        std::string old;
        const wchar_t* inserted; // at (6, 1)
    };
    const Case cases[] = {
        {"a Korean letter in code page 936", Ansi(L"K0+000 桩号\r\nK0+020"), L" 한"},
        {"half of a surrogate pair in UTF-8", kUtf8Mark + Utf8(L"K0+000 桩号\r\nK0+020"), L" \xD83D"},
    };
    ScratchFolder folder(L"unwritable");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CString path = folder / L"data.dmx";
        WriteBytes(path, c.old);
        CTvTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFromFile(path));
        int endLine = 0, endColumn = 0;
        ASSERT_TRUE(buffer.InsertText(nullptr, 1, 6, c.inserted, endLine, endColumn, TVA_PASTE));
        MessageBoxScript boxes;
        EXPECT_FALSE(buffer.SaveToFile(path));
        EXPECT_EQ(c.old, ReadBytes(path));
        EXPECT_EQ(std::vector<CString>({L"data.dmx"}), FilesIn(folder.Path()));
        EXPECT_TRUE(buffer.IsModified());
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_NE(-1, boxes.LastText().Find(L"第2行第8列"));
        EXPECT_NE(-1, boxes.LastText().Find(path));
        ::DeleteFileW(path);
    }

    // A text that fits is saved as before, question marks of its own included.
    const CString path = folder / L"fits.dmx";
    WriteBytes(path, Ansi(L"桩号"));
    CTvTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    buffer.SetLineText(0, L"桩号 ?");
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_EQ(Ansi(L"桩号 ?"), ReadBytes(path));
}
