// File names taken apart and checked, file facts, dropped files and the
// folder search.
#include "corvane/platform/FileName.h"
#include "platform_test_support.h"

#include <shlobj.h>
#include <winioctl.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace platform_test;

namespace {

struct SplitCase {
    const wchar_t* path;
    const wchar_t* root;
    const wchar_t* folder; // GetPath
    const wchar_t* title;
    const wchar_t* name;
    const wchar_t* ext;
};

const SplitCase kSplitCases[] = {
    {L"C:\\Data\\Road\\R1.DMX", L"C:\\Data\\Road\\", L"C:\\Data\\Road", L"R1", L"R1.DMX", L".dmx"},
    {L"C:\\Data\\v1.2\\Road", L"C:\\Data\\v1.2\\", L"C:\\Data\\v1.2", L"Road", L"Road", L""},
    {L"C:\\Data\\v1.2\\R1.tar.gz", L"C:\\Data\\v1.2\\", L"C:\\Data\\v1.2", L"R1.tar", L"R1.tar.gz", L".gz"},
    {L"D:\\道路\\主线.ICD", L"D:\\道路\\", L"D:\\道路", L"主线", L"主线.ICD", L".icd"},
    {L"C:\\Data\\Road\\", L"C:\\Data\\Road\\", L"C:\\Data\\Road", L"", L"", L""},
    {L"C:R1.dl", L"C:", L"C:", L"R1", L"R1.dl", L".dl"},
    {L"Road/sub/R1.st", L"Road/sub/", L"Road/sub/", L"R1", L"R1.st", L".st"},
    {L"R1.JD", L"", L"", L"R1", L"R1.JD", L".jd"},
    {L"\\\\server\\share\\R1.hdx", L"\\\\server\\share\\", L"\\\\server\\share", L"R1", L"R1.hdx", L".hdx"},
    {L"", L"", L"", L"", L"", L""},
};

TEST(FileName, SplitsPathsIntoParts)
{
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(Utf8(c.path));
        tkxFileName name(c.path);
        EXPECT_STREQ(c.root, name.GetRoot());
        EXPECT_STREQ(c.folder, name.GetPath());
        EXPECT_STREQ(c.title, name.GetFileTitle());
        EXPECT_STREQ(c.name, name.GetFileName());
        EXPECT_STREQ(c.ext, name.GetExt());
    }
}

TEST(FileName, SetFileNameAndCopiesReplaceAllParts)
{
    tkxFileName name(L"C:\\A\\one.dl");
    tkxFileName copy(name);
    name.SetFileName(L"two");
    EXPECT_STREQ(L"", name.GetRoot());
    EXPECT_STREQ(L"two", name.GetFileName());
    EXPECT_STREQ(L"", name.GetExt());
    EXPECT_STREQ(L"C:\\A\\one.dl", copy.GetRoot() + copy.GetFileName());
    copy = name;
    EXPECT_STREQ(L"two", copy.GetFileTitle());
    EXPECT_STREQ(L"", copy.GetRoot());
}

TEST(FileName, ValidityChecks)
{
    const CString folder = L"C:\\";
    struct Case {
        CString path;
        const wchar_t* message;
    } cases[] = {
        {L"", L"文件名为空!"},
        {folder + CString(L'a', 260 - folder.GetLength()), L""},
        {folder + CString(L'a', 261 - folder.GetLength()), L"文件名长度大于260个字符!"},
        {L"C:\\data\\a,b.dmx", L"包含非法字符, "},
        {L"C:\\data\\a?b<c.dmx", L"包含非法字符< "},
        {L"C:\\data\\x*y.dmx", L"包含非法字符* "},
        {L"C:\\data\\say\"hi\".dmx", L"包含非法字符\" "},
        {L"C:\\data\\a|b.dmx", L"包含非法字符| "},
        {L"C:\\data\\a:b.dmx", L"包含非法字符: "},
        // Only the title is checked: folder and extension may hold anything.
        {L"C:\\da,ta\\ab.d,x", L""},
        {L"C:\\data\\主线 左幅.dmx", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        EXPECT_STREQ(c.message, tkxFileName(c.path).IsValidate());
    }
}

TEST(FileName, ExistsForFilesAndFolders)
{
    ScratchFolder dir(L"exist");
    WriteBytes(dir / L"R1.DMX", "1");
    EXPECT_TRUE(tkxFileName(dir / L"R1.DMX").Exist());
    EXPECT_TRUE(tkxFileName::Exist(dir.Path()));
    EXPECT_TRUE(tkxFileName::Exist(dir.Path() + L"\\"));
    EXPECT_FALSE(tkxFileName::Exist(dir / L"R2.DMX"));
    EXPECT_FALSE(tkxFileName::Exist(L""));
    // A pattern is not a file, even when files match it.
    EXPECT_FALSE(tkxFileName::Exist(dir / L"*.DMX"));
    EXPECT_FALSE(tkxFileName::Exist(dir / L"R?.DMX"));
}

TEST(FileName, LastWriteTimeAndSize)
{
    ScratchFolder dir(L"facts");
    const CString path = dir / L"R1.DMX";
    WriteBytes(path, "12345");

    // 2008-03-05 09:07:02 local time.
    SYSTEMTIME local = {2008, 3, 0, 5, 9, 7, 2, 0};
    FILETIME localFt, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localFt));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localFt, &utc));
    HANDLE file = CreateFileW(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);

    tkxFileName name(path);
    EXPECT_STREQ(L"2008年3月5日 9:7:2", name.GetLastWriteTime());
    CTime time;
    ASSERT_EQ(1, name.GetLastWriteTime(time));
    EXPECT_EQ(2008, time.GetYear());
    EXPECT_EQ(3, time.GetMonth());
    EXPECT_EQ(5, time.GetDay());
    EXPECT_EQ(9, time.GetHour());
    EXPECT_EQ(7, time.GetMinute());
    EXPECT_EQ(2, time.GetSecond());

    unsigned long high = 9, low = 9;
    name.GetFileSize(high, low);
    EXPECT_EQ(0u, high);
    EXPECT_EQ(5u, low);

    tkxFileName missing(dir / L"none.dmx");
    EXPECT_STREQ(L"", missing.GetLastWriteTime());
    CTime untouched(1234567890);
    EXPECT_EQ(0, missing.GetLastWriteTime(untouched));
    EXPECT_EQ(1234567890, untouched.GetTime());
    missing.GetFileSize(high, low);
    EXPECT_EQ(0u, high);
    EXPECT_EQ(0u, low);
}

TEST(FileName, SizeAboveFourGigabytesSplitsIntoWords)
{
    ScratchFolder dir(L"bigfile");
    const CString path = dir / L"big.hdx";
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER end;
    end.QuadPart = 0x100000005LL;
    DWORD ignored;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);

    unsigned long high = 0, low = 0;
    tkxFileName(path).GetFileSize(high, low);
    EXPECT_EQ(1u, high);
    EXPECT_EQ(5u, low);
}

TEST(FileName, VersionFromTheChineseVersionStrings)
{
    // Our modules carry a Chinese (0804, Unicode) version block.
    const CString corvane = BinFolder() + L"\\Corvane.dll";
    CString version = tkxFileName::GetVersion(corvane);
    EXPECT_EQ(0, version.Find(L"R3.")) << Utf8(version);
    EXPECT_EQ(-1, version.Find(L',')) << Utf8(version);

    EXPECT_STREQ(L"文件不存在", tkxFileName::GetVersion(BinFolder() + L"\\none.dll"));

    // No version block: a plain file, and a program built without one.
    ScratchFolder dir(L"version");
    WriteBytes(dir / L"plain.exe", "MZ not a program");
    for (const CString& file : {dir / L"plain.exe", BinFolder() + L"\\acad.exe"}) {
        CString expected;
        expected.Format(L"\n获取程序[%s]版本错误!", file.GetString());
        EXPECT_STREQ(expected, tkxFileName::GetVersion(file));
    }
}

// ---------------------------------------------------------------------------
// Dropped files

// A shell drop of the given files, as the shell hands it to a window.
HDROP MakeDrop(const std::vector<std::wstring>& files)
{
    size_t chars = 1;
    for (const std::wstring& f : files) chars += f.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& f : files) {
        wcscpy(names, f.c_str());
        names += f.size() + 1;
    }
    *names = 0;
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(DragDropFiles, WalksTheDroppedFilesInOrder)
{
    tkxDragDropFiles drop(MakeDrop({L"C:\\a\\R1.dmx", L"C:\\b\\道路.hdx", L"C:\\c.txt"}));
    EXPECT_EQ(0, drop.IsEmpty());

    std::vector<std::wstring> seen;
    CString file;
    while (drop()) seen.push_back(drop.sNextFile(file).GetString());
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a\\R1.dmx", L"C:\\b\\道路.hdx", L"C:\\c.txt"}), seen);
    EXPECT_EQ(0, drop());
    EXPECT_STREQ(L"", drop.sNextFile(file));

    drop.Reset();
    EXPECT_EQ(1, drop());
    EXPECT_STREQ(L"C:\\a\\R1.dmx", drop.sCurrFile(file)); // index 0 counts as the first
    EXPECT_STREQ(L"C:\\a\\R1.dmx", drop.sFirstFile(file));
    EXPECT_STREQ(L"C:\\b\\道路.hdx", drop.sNextFile(file));
    EXPECT_STREQ(L"C:\\b\\道路.hdx", drop.sCurrFile(file));
    EXPECT_STREQ(L"C:\\c.txt", drop.sNextFile(file));
    EXPECT_STREQ(L"", drop.sNextFile(file));
    EXPECT_STREQ(L"C:\\c.txt", drop.sCurrFile(file)); // still the last one handed out
}

TEST(DragDropFiles, NoDropAndForgottenDrop)
{
    tkxDragDropFiles none(nullptr);
    CString file = L"x";
    EXPECT_EQ(1, none.IsEmpty());
    EXPECT_EQ(0, none());
    EXPECT_STREQ(L"", none.sFirstFile(file));
    EXPECT_STREQ(L"", none.sNextFile(file));

    HDROP handle = MakeDrop({L"C:\\a.dl"});
    {
        tkxDragDropFiles drop(handle);
        EXPECT_EQ(0, drop.IsEmpty());
        drop.Clear();
        EXPECT_EQ(1, drop.IsEmpty());
        EXPECT_EQ(0, drop());
    }
    // Clear() left the drop to us: it is still there.
    EXPECT_EQ(1u, DragQueryFileW(handle, 0xFFFFFFFF, nullptr, 0));
    DragFinish(handle);
}

// ---------------------------------------------------------------------------
// Folder search

TEST(SearchFileNames, FindsFilesByExtensionInSubFolders)
{
    ScratchFolder dir(L"search");
    CreateDirectoryW(dir / L"sub", nullptr);
    CreateDirectoryW(dir / L"sub\\deeper.dmx", nullptr); // a folder, not a file
    CreateDirectoryW(dir / L"sub\\deeper.dmx\\x", nullptr);
    WriteBytes(dir / L"R1.DMX", "");
    WriteBytes(dir / L"R1.hdx", "");
    WriteBytes(dir / L"R2.dmx.bak", "");
    WriteBytes(dir / L"noext", "");
    WriteBytes(dir / L"sub\\R3.Dmx", "");
    WriteBytes(dir / L"sub\\deeper.dmx\\x\\R4.dmx", "");

    const std::set<std::wstring> wanted = {(dir / L"R1.DMX").GetString(), (dir / L"sub\\R3.Dmx").GetString(),
                                           (dir / L"sub\\deeper.dmx\\x\\R4.dmx").GetString()};
    for (const wchar_t* ext : {L"dmx", L".DMX", L".dmx"}) {
        SCOPED_TRACE(Utf8(ext));
        CStringArray found;
        found.Add(L"kept");
        tkx_SearchFileNames(dir.Path(), ext, found);
        ASSERT_EQ(4, found.GetSize());
        EXPECT_STREQ(L"kept", found[0]);
        std::set<std::wstring> got;
        for (INT_PTR i = 1; i < found.GetSize(); ++i) got.insert(found[i].GetString());
        EXPECT_EQ(wanted, got);
    }

    // A trailing backslash on the folder changes none of the paths.
    CStringArray trailing;
    tkx_SearchFileNames(dir.Path() + L"\\", L"dmx", trailing);
    std::set<std::wstring> got;
    for (INT_PTR i = 0; i < trailing.GetSize(); ++i) got.insert(trailing[i].GetString());
    EXPECT_EQ(wanted, got);

    CStringArray plain;
    tkx_SearchFileNames(dir.Path(), L"", plain);
    ASSERT_EQ(1, plain.GetSize());
    EXPECT_STREQ(dir / L"noext", plain[0]);

    CStringArray none;
    tkx_SearchFileNames(dir / L"missing", L"dmx", none);
    EXPECT_EQ(0, none.GetSize());
}

} // namespace
