// The test programs' scratch root, which every test's files lie under: as
// deep as an engineer's project folders, and the same whatever the current
// folder is.
#include "classlib/ClassLib.h"
#include "support/Scratch.h"
#include <gtest/gtest.h>

using namespace test_support;

TEST(ScratchRoot, IsLongWithBlanksAndChineseAndIndependentOfTheCurrentFolder)
{
    const CString root = ScratchRoot();
    EXPECT_GE(root.GetLength(), kMinScratchPath) << Utf8(root);
    EXPECT_GE(root.Find(L' '), 0) << Utf8(root);
    EXPECT_GE(root.Find(L'某'), 0) << Utf8(root);
    const DWORD attributes = GetFileAttributesW(root);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    // A file dialog moves the current folder: scratch folders stay where
    // they were.
    const CString before = WorkingFolder();
    ScratchFolder elsewhere(L"elsewhere");
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.Path()));
    {
        ScratchFolder folder(L"moved");
        EXPECT_EQ(root, ScratchRoot());
        EXPECT_EQ(0, folder.Path().Find(root + L"\\moved_")) << Utf8(folder.Path());
        EXPECT_GT(folder.Path().GetLength(), kMinScratchPath);
    }
    EXPECT_TRUE(SetCurrentDirectoryW(before));
}
