// Files that belong together replaced as one set: every target gets its new
// file, or, when any step fails, every target stays as it was byte for byte
// and no temporary or backup file is left beside them.
#include "corvane/platform/FileReplace.h"
#include "platform_test_support.h"
#include "support/FailingWrites.h"
#include "support/HeldFile.h"

#include <functional>
#include <memory>
#include <vector>

using namespace platform_test;

namespace {

// Three targets in a folder, the last of which does not exist yet, and a
// temporary file with new contents beside each.
struct ThreeTargets {
    explicit ThreeTargets(const wchar_t* name) : folder(name)
    {
        targets = {folder / L"道路.DMX", folder / L"道路.HDX", folder / L"道路.SQX"};
        WriteBytes(targets[0], "old profile");
        WriteBytes(targets[1], "old sections");
        before = FilesIn(folder.Path());
        for (size_t i = 0; i < targets.size(); ++i) {
            temps.push_back(tkx_TempFileBeside(targets[i]));
            WriteBytes(temps[i], "new " + std::to_string(i));
        }
    }
    ScratchFolder folder;
    std::vector<CString> targets, temps;
    std::vector<CString> before; // the folder's files before the temporary ones
};

} // namespace

TEST(ReplaceSet, PutsEveryNewFileInPlaceAndLeavesNoBackup)
{
    ThreeTargets files(L"replace set 全部");
    int failed = -7;
    ASSERT_TRUE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed));
    for (size_t i = 0; i < files.targets.size(); ++i)
        EXPECT_EQ("new " + std::to_string(i), ReadBytes(files.targets[i])) << i;
    EXPECT_EQ(std::vector<CString>({L"道路.DMX", L"道路.HDX", L"道路.SQX"}), FilesIn(files.folder.Path()));
}

// Each way a set can fail, at the first target, in the middle or after
// earlier targets were already moved aside and replaced.
TEST(ReplaceSet, AFailedStepLeavesEveryTargetAsItWas)
{
    const struct Case {
        const char* what;
        int failed;
        // Spoils the set; what it returns lives until the set was tried.
        std::function<std::shared_ptr<void>(ThreeTargets&)> spoil;
    } cases[] = {
        {"a target held open by another program", 1,
         [](ThreeTargets& f) {
             auto held = std::make_shared<HeldFile>(f.targets[1]);
             EXPECT_TRUE(held->Held());
             return held;
         }},
        {"a read-only target", 1,
         [](ThreeTargets& f) {
             EXPECT_TRUE(SetFileAttributesW(f.targets[1], FILE_ATTRIBUTE_READONLY));
             return std::shared_ptr<void>();
         }},
        {"a folder in a target's place", 2,
         [](ThreeTargets& f) {
             EXPECT_TRUE(CreateDirectoryW(f.targets[2], nullptr));
             return std::shared_ptr<void>();
         }},
        // The first two targets are moved aside and replaced before the
        // third fails: both are put back.
        {"a temporary file gone when its turn comes", 2,
         [](ThreeTargets& f) {
             EXPECT_TRUE(DeleteFileW(f.temps[2]));
             return std::shared_ptr<void>();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ThreeTargets files(L"replace set 失败");
        const std::shared_ptr<void> spoiled = c.spoil(files);
        int failed = -7;
        SetLastError(0);
        EXPECT_FALSE(tkx_ReplaceSetByTemporaries(files.temps, files.targets, &failed));
        EXPECT_NE(0u, GetLastError());
        EXPECT_EQ(c.failed, failed);
        EXPECT_EQ("old profile", ReadBytes(files.targets[0]));
        EXPECT_EQ("old sections", ReadBytes(files.targets[1]));
        // No new file took the third name (the folder of one case stays).
        const DWORD third = GetFileAttributesW(files.targets[2]);
        EXPECT_TRUE(third == INVALID_FILE_ATTRIBUTES || (third & FILE_ATTRIBUTE_DIRECTORY));
        EXPECT_EQ(files.before, FilesIn(files.folder.Path()));
        SetFileAttributesW(files.targets[1], FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(files.targets[2]);
    }
}

// Copies of a set of files: a read-only target refuses the set before any
// copy is made; a held target leaves every target as it was; copies of
// read-only files are read-only.
TEST(ReplaceSet, CopiesAreMadeAsOneSet)
{
    ScratchFolder source(L"copy set 来源"), target(L"copy set 目标");
    const std::vector<CString> from = {source / L"a.txt", source / L"b.txt"};
    const std::vector<CString> to = {target / L"a.txt", target / L"b.txt"};
    WriteBytes(from[0], "new a");
    WriteBytes(from[1], "new b");
    WriteBytes(to[0], "old a");
    WriteBytes(to[1], "old b");
    {
        HeldFile held(to[1]);
        ASSERT_TRUE(held.Held());
        int failed = -7;
        EXPECT_FALSE(tkx_CopySetReplacing(from, to, &failed));
        EXPECT_EQ(1, failed);
        EXPECT_EQ("old a", ReadBytes(to[0]));
        EXPECT_EQ("old b", ReadBytes(to[1]));
        EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    }
    ASSERT_TRUE(SetFileAttributesW(to[0], FILE_ATTRIBUTE_READONLY));
    int failed = -7;
    EXPECT_FALSE(tkx_CopySetReplacing(from, to, &failed));
    EXPECT_EQ(0, failed);
    EXPECT_EQ("old b", ReadBytes(to[1]));
    EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    ASSERT_TRUE(SetFileAttributesW(to[0], FILE_ATTRIBUTE_NORMAL));

    ASSERT_TRUE(SetFileAttributesW(from[1], FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(tkx_CopySetReplacing(from, to, &failed));
    EXPECT_EQ("new a", ReadBytes(to[0]));
    EXPECT_EQ("new b", ReadBytes(to[1]));
    EXPECT_EQ(0u, GetFileAttributesW(to[0]) & FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(0u, GetFileAttributesW(to[1]) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::vector<CString>({L"a.txt", L"b.txt"}), FilesIn(target.Path()));
    SetFileAttributesW(from[1], FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(to[1], FILE_ATTRIBUTE_NORMAL);
}
