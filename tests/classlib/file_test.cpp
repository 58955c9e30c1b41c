#include "classlib/ClassLib.h"
#include "classlib/TempFile.h"
#include "support/Scratch.h"
#include <gtest/gtest.h>
#include <clocale>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// A file of the program's scratch root.
CString Scratch(const wchar_t* name) { return test_support::ScratchRoot() + L"\\" + name; }

std::string RawBytes(const wchar_t* name)
{
    CFile f(name, CFile::modeRead);
    std::string bytes(static_cast<size_t>(f.GetLength()), '\0');
    if (!bytes.empty()) f.Read(&bytes[0], static_cast<UINT>(bytes.size()));
    return bytes;
}

struct ChsLocale {
    ChsLocale() { EXPECT_NE(nullptr, setlocale(LC_CTYPE, "chs")); }
    ~ChsLocale() { setlocale(LC_CTYPE, "C"); }
};

} // namespace

TEST(StdioFile, ChineseTextRoundTripInCodePage936)
{
    ChsLocale chs;
    EXPECT_EQ(936u, ClTextCodePage());
    const CString name = Scratch(L"stdio_chinese.txt");
    {
        CStdioFile f(name, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(L"//道路平面数据\n");
        f.WriteString(L"K0+000.000 交点1\n");
        f.WriteString(L"末行");
        f.Close();
    }
    EXPECT_EQ(std::string("//\xB5\xC0\xC2\xB7\xC6\xBD\xC3\xE6\xCA\xFD\xBE\xDD\r\n"
                          "K0+000.000 \xBD\xBB\xB5\xE3" "1\r\n"
                          "\xC4\xA9\xD0\xD0"),
              RawBytes(name));

    CStdioFile f(name, CFile::modeRead | CFile::typeText);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(L"//道路平面数据", line);
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(L"K0+000.000 交点1", line);
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(L"末行", line);
    EXPECT_FALSE(f.ReadString(line));
    f.Close();
    CFile::Remove(name);
}

TEST(StdioFile, TextModeReadsFoldLineEndsAndTrackPosition)
{
    const CString name = Scratch(L"stdio_bytes.txt");
    {
        test_support::WriteBytes(name, "ab\r\ncd\n\r\nlast");
    }
    CStdioFile f(name, CFile::modeRead);
    char bytes[32] = {};
    UINT n = f.Read(bytes, sizeof(bytes));
    EXPECT_EQ(std::string("ab\ncd\n\nlast"), std::string(bytes, n));
    f.SeekToBegin();
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(L"ab", line);
    EXPECT_EQ(4u, f.GetPosition());
    f.Close();

    // Binary mode keeps the carriage returns.
    CStdioFile b(name, CFile::modeRead | CFile::typeBinary);
    n = b.Read(bytes, sizeof(bytes));
    EXPECT_EQ(std::string("ab\r\ncd\n\r\nlast"), std::string(bytes, n));
    b.Close();
    CFile::Remove(name);
}

TEST(StdioFile, LargeFilesStream)
{
    const CString name = Scratch(L"stdio_large.txt");
    {
        CStdioFile f(name, CFile::modeCreate | CFile::modeWrite);
        CString line;
        for (int i = 0; i < 20000; ++i) {
            line.Format(L"%d,%.3f\n", i, i * 0.5);
            f.WriteString(line);
        }
    }   // the destructor flushes and closes
    CStdioFile f(name, CFile::modeRead);
    CString line, expected;
    int count = 0;
    while (f.ReadString(line)) {
        expected.Format(L"%d,%.3f", count, count * 0.5);
        ASSERT_STREQ(expected, line);
        ++count;
    }
    EXPECT_EQ(20000, count);
    f.Close();
    CFile::Remove(name);
}

TEST(File, OpenFailuresCarryCauseAndName)
{
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(L"no_such_dir\\missing.dat", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::badPath, error.m_cause);
    EXPECT_EQ(static_cast<LONG>(ERROR_PATH_NOT_FOUND), error.m_lOsError);
    EXPECT_STREQ(L"no_such_dir\\missing.dat", error.m_strFileName);

    try {
        CFile g(L"missing.dat", CFile::modeRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
        EXPECT_NE(-1, e->GetErrorMessage().Find(L"missing.dat"));
        e->Delete();
    }
}

TEST(File, CreateTruncatesUnlessAskedNotTo)
{
    const CString name = Scratch(L"file_modes.bin");
    {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
        f.Write("123456", 6);
    }
    {
        CFile f(name, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(6u, f.GetLength());
        f.SeekToEnd();
        f.Write("7", 1);
    }
    EXPECT_EQ("1234567", RawBytes(name));
    {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_EQ("", RawBytes(name));
    CFile::Remove(name);
    EXPECT_THROW(CFile::Remove(name), CFileException*);
}

TEST(File, ChineseFileNames)
{
    const CString name = Scratch(L"道路_横断面.dat");
    {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
        f.Write("x", 1);
    }
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(Scratch(L"道路_*.dat"), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FindClose(h);
    EXPECT_STREQ(L"道路_横断面.dat", found.cFileName);
    CFile::Remove(name);
}

TEST(File, ShareFlagsAreEnforced)
{
    const CString name = Scratch(L"file_share.bin");
    {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
        f.Write("x", 1);
    }
    auto secondOpen = [&](UINT flags) {
        CFile g;
        CFileException error;
        return g.Open(name, flags, &error) ? static_cast<int>(CFileException::none) : error.m_cause;
    };
    {
        CFile reader(name, CFile::modeRead | CFile::shareDenyWrite);
        EXPECT_EQ(CFileException::sharingViolation, secondOpen(CFile::modeWrite | CFile::shareDenyNone));
        EXPECT_EQ(CFileException::none, secondOpen(CFile::modeRead | CFile::shareDenyNone));
    }
    {
        CFile owner(name, CFile::modeReadWrite | CFile::shareExclusive);
        EXPECT_EQ(CFileException::sharingViolation, secondOpen(CFile::modeRead | CFile::shareDenyNone));
    }
    {
        CFile writer(name, CFile::modeWrite | CFile::shareDenyNone);
        EXPECT_EQ(CFileException::none, secondOpen(CFile::modeRead | CFile::shareDenyNone));
    }
    CFile::Remove(name);
}

// The temporary file a writer fills before it replaces its target: made in
// the folder while its name fits the platform's 260 characters, made by the
// extended form of the path in a deeper folder that may still hold a target,
// refused (no file, ERROR_FILENAME_EXCED_RANGE) in a folder too deep for any.
TEST(TempFile, MadeBesideTheTargetWhereverATargetFits)
{
    const CString root = test_support::ScratchRoot();
    enum Made { Plain, Extended, Refused };
    const struct Case {
        int folderLength;
        Made made;
    } cases[] = {{MAX_PATH - 14, Plain}, {MAX_PATH - 13, Extended}, {MAX_PATH - 3, Extended},
                 {MAX_PATH - 2, Refused}, {MAX_PATH + 40, Refused}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folderLength);
        const CString folder = root + L"\\" + CString(L'd', c.folderLength - root.GetLength() - 1);
        ASSERT_EQ(c.folderLength, folder.GetLength());
        const CString extended = L"\\\\?\\" + folder;
        // A folder past the limit is made by its extended form.
        const bool exists = ::CreateDirectoryW(extended, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
        ASSERT_TRUE(exists || c.made == Refused);
        ::SetLastError(0);
        const CString temp = ClMakeTempFile(folder, L"tkx");
        if (c.made == Plain) {
            EXPECT_EQ(0, temp.Find(folder + L"\\tkx")) << test_support::Utf8(temp);
            EXPECT_LE(temp.GetLength(), MAX_PATH - 1);
        } else if (c.made == Extended) {
            EXPECT_EQ(0, temp.Find(extended + L"\\tkx")) << test_support::Utf8(temp);
            EXPECT_EQ(L".tmp", temp.Right(4));
        }
        if (c.made != Refused) {
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(temp)) << test_support::Utf8(temp);
            // A second one gets a name of its own.
            const CString second = ClMakeTempFile(folder, L"tkx");
            EXPECT_FALSE(second.IsEmpty());
            EXPECT_NE(temp, second);
            ::DeleteFileW(second);
            ::DeleteFileW(temp);
        } else {
            EXPECT_TRUE(temp.IsEmpty()) << test_support::Utf8(temp);
            EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE), ::GetLastError());
        }
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW(extended + L"\\*.tmp", &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search);
        if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
        ::RemoveDirectoryW(extended);
    }
    EXPECT_TRUE(ClMakeTempFile(L"", L"tkx").IsEmpty());
}

TEST(Time, LocalFieldsFileTimesAndFormat)
{
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(2024, t.GetYear());
    EXPECT_EQ(2, t.GetMonth());
    EXPECT_EQ(29, t.GetDay());
    EXPECT_EQ(13, t.GetHour());
    EXPECT_EQ(5, t.GetMinute());
    EXPECT_EQ(9, t.GetSecond());
    EXPECT_EQ(5, t.GetDayOfWeek());   // Thursday; Sunday is 1
    EXPECT_STREQ(L"2024年02月29日 13:05:09", t.Format(L"%Y年%m月%d日 %H:%M:%S"));

    CTime next = t + CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(3, next.GetMonth());
    EXPECT_EQ(1, next.GetDay());
    EXPECT_EQ(24 * 3600, (next - t).GetTotalSeconds());

    // A file time is in UTC; CTime gives it back in local time.
    SYSTEMTIME local = {}, utc = {};
    ASSERT_TRUE(t.GetAsSystemTime(local));
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
    EXPECT_EQ(t, CTime(ft));
}

TEST(FileFind, WalksTheMatchesOfANameOrPatternWithTheirAttributes)
{
    const CString dir = Scratch(L"find_test");
    ::CreateDirectoryW(dir, nullptr);
    ::CreateDirectoryW(dir + L"\\子目录", nullptr);
    const CString files[] = {dir + L"\\甲.dl", dir + L"\\b.dl", dir + L"\\c.txt"};
    for (const CString& name : files) {
        CFile f(name, CFile::modeCreate | CFile::modeWrite);
        f.Write("abc", 3);
    }
    CFileFind find;
    ASSERT_TRUE(find.FindFile(dir + L"\\*.dl"));
    std::vector<CString> names;
    for (BOOL more = TRUE; more;) {
        more = find.FindNextFile();
        names.push_back(find.GetFileName());
        EXPECT_EQ(3u, find.GetLength());
        EXPECT_FALSE(find.IsDirectory());
        EXPECT_EQ(find.GetRoot() + L"\\" + find.GetFileName(), find.GetFilePath());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<CString>{L"b.dl", L"甲.dl"}), names);
    EXPECT_EQ(L"\\find_test", find.GetRoot().Right(10));

    // One name: found, and the last match at once.
    ASSERT_TRUE(find.FindFile(dir + L"\\甲.dl"));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_STREQ(L"甲", find.GetFileTitle());
    CTime written;
    EXPECT_TRUE(find.GetLastWriteTime(written));

    // Folders and the dots.
    ASSERT_TRUE(find.FindFile(dir + L"\\*"));
    int dots = 0, folders = 0;
    for (BOOL more = TRUE; more;) {
        more = find.FindNextFile();
        if (find.IsDots()) ++dots;
        else if (find.IsDirectory()) ++folders;
    }
    EXPECT_EQ(2, dots);
    EXPECT_EQ(1, folders);

    EXPECT_FALSE(find.FindFile(dir + L"\\*.sqx"));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_TRUE(find.GetFileName().IsEmpty());
    find.Close();
    for (const CString& name : files) ::DeleteFileW(name);
    ::RemoveDirectoryW(dir + L"\\子目录");
    ::RemoveDirectoryW(dir);
}
