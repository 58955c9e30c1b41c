// The centre-line shift with an output the user marked read-only: the run
// is refused with the file named, before either output is written.
#include "brisko/convert/MoveData.h"
#include "support/FailingWrites.h"
#include "tools_world.h"

using namespace tooltest;

TEST(ReadOnlyOutputs, RefuseTheCentreLineShift)
{
    StationSettings stations(3, 1);
    for (bool profileReadOnly : {true, false}) {
        SCOPED_TRACE(profileReadOnly);
        ScratchFolder folder(L"movedata 只读");
        MoveDataJob job;
        job.dmxIn = PutFixture(folder, "SHIFT_DMX", L"shift.DMX");
        job.hdxIn = PutFixture(folder, "SHIFT_HDX", L"shift.HDX");
        job.dmxOut = PutText(folder, L"shift_NEW.DMX", L"earlier dmx\n");
        job.hdxOut = PutText(folder, L"shift_NEW.HDX", L"earlier hdx\n");
        job.format = 0;
        const CString readOnly = profileReadOnly ? job.dmxOut : job.hdxOut;
        ASSERT_TRUE(SetFileAttributesW(readOnly, FILE_ATTRIBUTE_READONLY));
        const auto before = FilesIn(folder.Path());
        MessageBoxScript boxes;
        EXPECT_EQ(0, RunMoveData(nullptr, job, {{L"15", L"", L"4.0"}, {L"2590", L"", L"0.0"}}));
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(ClFormat(L"文件%s为只读, 无法保存!", readOnly.GetString()), boxes.LastText());
        EXPECT_EQ(FileText(L"earlier dmx\n"), ReadBytes(job.dmxOut));
        EXPECT_EQ(FileText(L"earlier hdx\n"), ReadBytes(job.hdxOut));
        EXPECT_EQ(before, FilesIn(folder.Path()));
    }
}
