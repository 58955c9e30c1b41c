// Folders: one that goes away and comes back, and the limit of 63 watched
// folders, without the worker spinning.
#include "brisko/shell/BriskoApp.h"
#include "watch_support.h"
#include "support/MessageBoxScript.h"
#include <gtest/gtest.h>

using namespace watchtest;
using test_support::ScratchFolder;

namespace {

// Wakes of the worker a test may cause: a spinning worker makes thousands.
constexpr LONG kQuietWakes = 200;

} // namespace

TEST(FileWatchFolders, AFolderDeletedOrMovedAwayAndMadeAgainIsWatchedAgain)
{
    const struct {
        const char* what;
        bool moveAway;
    } cases[] = {
        {"deleted", false},
        {"moved away", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"comes_back");
        const CString road = folder / L"road";
        const CString file = road + L"\\road.sqx";
        ASSERT_TRUE(::CreateDirectoryW(road, nullptr));
        Touch(file);
        Receiver receiver;
        Watches watches;
        const DWORD id = watches.Add(WatchFor(receiver, file));
        ASSERT_NE(0u, id);
        const LONG wakesBefore = GetFileWatchWakeCount();

        if (c.moveAway) {
            ASSERT_TRUE(::MoveFileW(road, folder / L"old_road"));
            // The moved folder changes: its old notification no longer
            // stands for the watched folder.
            Touch(folder / L"old_road\\road.sqx");
        } else {
            test_support::RemoveTree(road);
        }
        // Made again.  (A deleted folder that a watch still holds open may
        // linger until the watch lets it go; the file is then written into
        // it.)
        ::CreateDirectoryW(road, nullptr);
        Touch(file);
        ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(id) >= 1; })) << "the new file was not reported";

        Touch(file);
        ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(id) >= 2; })) << "the folder is no longer watched";
        {
            Sentinel sentinel(receiver, road + L"\\sentinel.txt");
            ASSERT_TRUE(sentinel.Flush());
        }
        EXPECT_EQ(2, receiver.CountFor(id));
        EXPECT_LT(GetFileWatchWakeCount() - wakesBefore, kQuietWakes);
    }
}

TEST(FileWatchFolders, SixtyThreeAreWatchedAndTheNextIsRefusedWithAMessage)
{
    ScratchFolder folder(L"many");
    Receiver receiver;
    Watches watches;
    std::vector<CString> files;
    std::vector<DWORD> ids;
    for (int i = 0; i < 65; ++i) {
        CString sub;
        sub.Format(L"%s\\road%02d", folder.Path().GetString(), i);
        ::CreateDirectoryW(sub, nullptr);
        files.push_back(sub + L"\\road.dl");
        Touch(files.back());
    }
    const LONG wakesBefore = GetFileWatchWakeCount();
    for (int i = 0; i < 63; ++i) {
        ids.push_back(watches.Add(WatchFor(receiver, files[i])));
        ASSERT_NE(0u, ids.back()) << i;
    }
    // A second file of a watched folder needs no new notification.
    Touch(folder / L"road00\\road.dmx");
    const DWORD sameFolder = watches.Add(WatchFor(receiver, folder / L"road00\\road.dmx"));
    EXPECT_NE(0u, sameFolder);

    {
        MessageBoxScript boxes;
        EXPECT_EQ(0u, WatchFor(receiver, files[63]));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(L"FileWatch引擎提示:\n\n最多同时监视63个文件夹, 文件<" + files[63] + L">被其他程序修改时将不会提示!",
                  boxes.LastText());
        EXPECT_EQ(kBriskoCaption, boxes.Shown()[0].caption);
    }

    // The last folder of the wait list is waited on.
    Touch(files[62]);
    ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(ids[62]) > 0; }));

    // A folder given up makes room for another.
    RemoveFileWatch(ids[5]);
    const DWORD next = watches.Add(WatchFor(receiver, files[64]));
    ASSERT_NE(0u, next);
    Touch(files[64]);
    ASSERT_TRUE(PumpUntil([&] { return receiver.CountFor(next) > 0; }));
    EXPECT_LT(GetFileWatchWakeCount() - wakesBefore, kQuietWakes);
}
