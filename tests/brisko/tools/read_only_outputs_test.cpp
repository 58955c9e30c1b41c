// The centre-line shift with an output that cannot be replaced: marked
// read-only by the user (the run is refused with the file named, before
// either output is written) or held open by another program, reading and
// sharing reading only, as the CAD host holds a file (the message names it
// and says the other output stays as it was).  Either way neither output
// changes and no temporary or backup file is left; once the file is free,
// the same run replaces both.
#include "brisko/convert/MoveData.h"
#include "corvane/platform/ReplaceSetSteps.h"
#include "support/FailingWrites.h"
#include "support/HeldFile.h"
#include "tools_world.h"
#include <algorithm>
#include <memory>

using namespace tooltest;

namespace {

// The shift's inputs in the folder, and outputs that hold earlier texts.
MoveDataJob ShiftWithEarlierOutputs(const ScratchFolder& folder)
{
    MoveDataJob job;
    job.dmxIn = PutFixture(folder, "SHIFT_DMX", L"shift.DMX");
    job.hdxIn = PutFixture(folder, "SHIFT_HDX", L"shift.HDX");
    job.dmxOut = PutText(folder, L"shift_NEW.DMX", L"earlier dmx\n");
    job.hdxOut = PutText(folder, L"shift_NEW.HDX", L"earlier hdx\n");
    job.format = 0;
    return job;
}

} // namespace

TEST(ReadOnlyOutputs, AnOutputThatCannotBeReplacedLeavesTheCentreLineShiftsOutputs)
{
    StationSettings stations(3, 1);
    const std::vector<MoveOffsetRow> rows = {{L"15", L"", L"4.0"}, {L"2590", L"", L"0.0"}};
    const struct Case {
        const char* what;
        bool profile;  // the profile output, else the sections
        bool readOnly; // else held by another program
    } cases[] = {
        {"read-only profile", true, true},
        {"read-only sections", false, true},
        {"held profile", true, false},
        {"held sections", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"movedata 只读");
        const MoveDataJob job = ShiftWithEarlierOutputs(folder);
        const CString kept = c.profile ? job.dmxOut : job.hdxOut;
        std::unique_ptr<HeldFile> held;
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributesW(kept, FILE_ATTRIBUTE_READONLY));
        } else {
            held.reset(new HeldFile(kept));
            ASSERT_TRUE(held->Held());
        }
        const auto before = FilesIn(folder.Path());
        {
            MessageBoxScript boxes;
            EXPECT_EQ(0, RunMoveData(nullptr, job, rows));
            ASSERT_EQ(1u, boxes.Shown().size());
            const CString own = c.profile ? ClFormat(L"写纵断面地面高文件<%s>失败!", kept.GetString())
                                          : ClFormat(L"输入新横断面地面线文件失败!\n\n<%s>\n\n准备写文件时出错!",
                                                     kept.GetString());
            EXPECT_EQ(c.readOnly ? ClFormat(L"文件%s为只读, 无法保存!", kept.GetString())
                                 : own + ClFormat(L"\n\n无法替换输出文件%s, 其他输出文件保持原样!", kept.GetString()),
                      boxes.LastText());
            EXPECT_EQ(FileText(L"earlier dmx\n"), ReadBytes(job.dmxOut));
            EXPECT_EQ(FileText(L"earlier hdx\n"), ReadBytes(job.hdxOut));
            EXPECT_EQ(c.readOnly, (GetFileAttributesW(kept) & FILE_ATTRIBUTE_READONLY) != 0);
            EXPECT_EQ(before, FilesIn(folder.Path()));
        }
        if (held) {
            ASSERT_TRUE(held->Release());
        }
        ASSERT_TRUE(SetFileAttributesW(kept, FILE_ATTRIBUTE_NORMAL));
        MessageBoxScript boxes;
        EXPECT_EQ(1, RunMoveData(nullptr, job, rows)) << Utf8(boxes.LastText());
        EXPECT_NE(FileText(L"earlier dmx\n"), ReadBytes(job.dmxOut));
        EXPECT_NE(FileText(L"earlier hdx\n"), ReadBytes(job.hdxOut));
        EXPECT_EQ(before, FilesIn(folder.Path()));
    }
}

// The centre-line shift whose new sections cannot take their name (made to
// fail there) while a reader, an indexer or a virus scanner, holds the new
// profile open (reading, sharing reading only): the roll-back cannot give
// the profile its original back.  The profile keeps its new content, its
// backup is kept, and the message names both; it does not say that the
// other output stayed as it was.
TEST(ReadOnlyOutputs, AProfileThatCannotGetItsOriginalBackIsNamedWithItsBackup)
{
    StationSettings stations(3, 1);
    const std::vector<MoveOffsetRow> rows = {{L"15", L"", L"4.0"}, {L"2590", L"", L"0.0"}};
    ScratchFolder folder(L"movedata 恢复");
    const MoveDataJob job = ShiftWithEarlierOutputs(folder);
    const auto before = FilesIn(folder.Path());
    CString backup;
    HANDLE reader = INVALID_HANDLE_VALUE;
    MessageBoxScript boxes;
    {
        const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString& target, const CString& other) -> DWORD {
            if ((step == tkxSetStep::Link || step == tkxSetStep::Copy) && i == 0) backup = other;
            if (step != tkxSetStep::Place || i != 1) return 0;
            reader = CreateFileW(job.dmxOut, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            return ERROR_SHARING_VIOLATION;
        });
        EXPECT_EQ(0, RunMoveData(nullptr, job, rows));
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    CloseHandle(reader);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"输入新横断面地面线文件失败!\n\n<%s>\n\n准备写文件时出错!\n\n无法替换输出文件%s!\n\n"
                       L"无法恢复输出文件%s: 该文件现为新内容, 原内容保存在%s中!",
                       job.hdxOut.GetString(), job.hdxOut.GetString(), job.dmxOut.GetString(), backup.GetString()),
              boxes.LastText());
    EXPECT_NE(FileText(L"earlier dmx\n"), ReadBytes(job.dmxOut));
    EXPECT_EQ(FileText(L"earlier hdx\n"), ReadBytes(job.hdxOut));
    EXPECT_EQ(FileText(L"earlier dmx\n"), ReadBytes(backup));
    std::vector<CString> kept = before;
    kept.push_back(backup.Mid(backup.ReverseFind(L'\\') + 1));
    std::sort(kept.begin(), kept.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    EXPECT_EQ(kept, FilesIn(folder.Path()));
}
