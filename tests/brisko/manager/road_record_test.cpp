// The road record: its user lists, the break chain of a DL file, the
// stations of a ground line, the copy of another road's files and a new
// data file of the road.
#include "manager_world.h"
#include "brisko/manager/RoadInfo.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "support/FailingWrites.h"
#include "corvane/platform/ReplaceSetSteps.h"
#include "support/HeldFile.h"
#include <algorithm>
#include <memory>

using namespace manager_test;

namespace {

class RoadRecordTest : public ManagerTest
{
};

} // namespace

// Entries are whole names between ";", compared without regard to case; a
// removal takes only its entry, and a name holding ";" is refused.  The
// stored form stays "name;".
TEST_F(RoadRecordTest, UserListsHoldWholeEntries)
{
    struct Case {
        const wchar_t* list;
        const wchar_t* name;
        int contains;
        const wchar_t* afterAdd;
        const wchar_t* afterRemove;
    };
    const Case cases[] = {
        {L"ba.txt;", L"a.txt", 0, L"ba.txt;a.txt;", L"ba.txt;"},
        {L"ba.txt;a.txt;", L"a.txt", 1, L"ba.txt;a.txt;", L"ba.txt;"},
        {L"C:\\数据\\A.TXT;b.txt;", L" c:\\数据\\a.txt ", 1, L"C:\\数据\\A.TXT;b.txt;", L"b.txt;"},
        {L"a.txt;a.txt.bak;", L"a.txt", 1, L"a.txt;a.txt.bak;", L"a.txt.bak;"},
        {L"x;", L"a;b", 0, L"x;", L"x;"},          // a separator in the name
        {L"x;", L"C:\\数据\\", 0, L"x;", L"x;"},    // a folder
        {L"x;", L"   ", 0, L"x;", L"x;"},           // no name
        {L"", L"新 文件.txt", 0, L"新 文件.txt;", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.list) + " / " + Utf8(c.name));
        CRoadInfo road;
        road.m_SUserData = c.list;
        road.m_SUserDrawing = c.list;
        EXPECT_EQ(c.contains, road.ContainsUserData(c.name));
        EXPECT_EQ(c.contains, road.ContainsUserDrawing(c.name));
        road.AddUserData(c.name);
        road.AddUserDrawing(c.name);
        EXPECT_EQ(CString(c.afterAdd), road.m_SUserData);
        EXPECT_EQ(CString(c.afterAdd), road.m_SUserDrawing);
        road.RemoveUserData(c.name);
        road.RemoveUserDrawing(c.name);
        EXPECT_EQ(CString(c.afterRemove), road.m_SUserData);
        EXPECT_EQ(CString(c.afterRemove), road.m_SUserDrawing);
    }

    // The list as names: each once, in order; an entry without its ";"
    // counts too.
    CRoadInfo road;
    road.m_SUserData = L"a.txt;b.dwg;A.TXT;;c.txt";
    CStringArray names;
    ASSERT_EQ(3, road.GetUserDataList(names));
    EXPECT_EQ(CString(L"a.txt"), names[0]);
    EXPECT_EQ(CString(L"b.dwg"), names[1]);
    EXPECT_EQ(CString(L"c.txt"), names[2]);
    // The record carries the lists as the library's fourth and fifth text.
    road.m_SUserDrawing = L"d.dwg;";
    const Tavix4::sRoadInfo info = road.ToRoadInfo();
    EXPECT_EQ(road.m_SUserData, info.m_SText4);
    EXPECT_EQ(CString(L"d.dwg;"), info.m_SText5);
    EXPECT_EQ(CString(L"M"), CRoadInfo().m_SRoadName);
}

// Comment lines ("//", also "\\") and lines of one character are passed
// over; a line of other than two fields names its file and line.
TEST_F(RoadRecordTest, ABreakChainFileIsReadAsText)
{
    MessageBoxScript boxes;
    ScratchFolder dir(L"dl text");
    const CString good = dir / L"路 1.DL";
    WriteText(good, L"// 断链表\n\\\\ 旧式注释\n1200.000 1180.000\n\n  X\n2400,2385.5\n");
    CRoadInfo road;
    EXPECT_EQ(CString(L"1200.000=1180.000, 2400=2385.5, "), road.ReadDLText(good));
    EXPECT_TRUE(boxes.Shown().empty());
    // The text is a break chain the application's chain takes.
    ASSERT_EQ(1, road.SetBreakChainText(road.ReadDLText(good)));
    EXPECT_EQ(3, CurRoadBreakChain.GetBreakChainCount());
    EXPECT_EQ(1, road.SetBreakChainText(L"")); // nothing to take

    const CString bad = dir / L"bad.DL";
    WriteText(bad, L"// 断链表\n1200.000 1180.000\n1500 1490 备注\n");
    EXPECT_EQ(CString(), road.ReadDLText(bad));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"断链文件(%s)\n\n第3行格式错误!", bad.GetString()), boxes.LastText());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Shown()[0].type);

    EXPECT_EQ(CString(), road.ReadDLText(dir / L"没有.DL"));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(CString(L"打开断链文件(*.DL)时出错!\n\n") + (dir / L"没有.DL"), boxes.LastText());

    // Texts the break-chain parser refuses still go to the road dialog, for
    // the user to mend, after a message with the parser's reason.
    const struct {
        const wchar_t* lines;
        const wchar_t* text;
        const wchar_t* reason;
    } refused[] = {
        {L"1200 甲\n", L"1200=甲, ", L"读断链数据出错!\n\n无法转换字符甲."},
        {L"1200 1180\n1100 1090\n", L"1200=1180, 1100=1090, ",
         L"断链数据<1200=1180, 1100=1090,>中，第2个断链 \n\n断链终点桩号不得小于断链起点桩号(1100.000>1180.000)!"},
    };
    const CString path = dir / L"refused.DL";
    size_t shown = boxes.Shown().size();
    for (const auto& r : refused) {
        SCOPED_TRACE(Utf8(r.lines));
        WriteText(path, r.lines);
        EXPECT_EQ(CString(r.text), road.ReadDLText(path));
        ASSERT_EQ(++shown, boxes.Shown().size());
        EXPECT_EQ(ClFormat(L"断链文件(%s)\n\n%s", path.GetString(), r.reason), boxes.LastText());
    }
    theApp.LoadCurrentRoadData();
}

TEST_F(RoadRecordTest, TheStationsOfAGroundLineCarryTheBreakChain)
{
    ScratchFolder dir(L"dmx stations");
    CRoadInfo road;
    ASSERT_EQ(1, road.SetBreakChainText(L"1200.000=1180.000"));
    WriteText(dir / L"a.DMX", L"100 50\n1190 52\n1300_2 53\n");
    ASSERT_EQ(1, road.LoadStationsFromDMX(dir / L"a.DMX"));
    EXPECT_EQ(CString(L"K0+100.000"), road.m_SStartZH);
    EXPECT_EQ(0, road.m_SEndZH.Find(L"K1+300.000"));
    EXPECT_NE(road.m_SEndZH, CString(L"K1+300.000")); // the second chain says so
    // A file the reader refuses leaves the texts.
    WriteText(dir / L"b.DMX", L"100 高程\n");
    EXPECT_EQ(0, road.LoadStationsFromDMX(dir / L"b.DMX"));
    EXPECT_EQ(CString(L"K0+100.000"), road.m_SStartZH);
    theApp.LoadCurrentRoadData();
}

// The source road's files take the road's name (extension upper-cased), the
// others keep theirs; a file that cannot be copied is printed, the whole
// reports failure and none of the files is copied, as with a declined
// folder.
TEST_F(RoadRecordTest, AnotherRoadsFilesAreCopiedIntoTheRoadsFolder)
{
    MessageBoxScript boxes;
    ScratchFolder source(L"old road");
    WriteText(source / L"OLD.dmx", L"0 1\n");
    WriteText(source / L"old.Dl", L"1 2\n");
    WriteText(source / L"notes.txt", L"x\n");
    WriteText(source / L"oldx.hdm", L"y\n");
    ASSERT_TRUE(CreateDirectoryW(source / L"sub", nullptr));
    WriteText(source / L"sub\\inner.txt", L"z\n");

    CRoadInfo road;
    road.m_SRoadName = L" 新 路 ";
    boxes.Answer(IDYES); // the road folder is made
    EXPECT_EQ(1, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    const CString target = ProjectFolder() + L"\\新 路";
    EXPECT_EQ(FileText(L"0 1\n"), ReadBytes(target + L"\\新 路.DMX"));
    EXPECT_EQ(FileText(L"1 2\n"), ReadBytes(target + L"\\新 路.DL"));
    EXPECT_TRUE(FileExists(target + L"\\notes.txt"));
    EXPECT_TRUE(FileExists(target + L"\\oldx.hdm"));
    EXPECT_FALSE(FileExists(target + L"\\sub"));
    const std::vector<CString> lines = Lines();
    ASSERT_EQ(4u, lines.size());
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(),
                                     ClFormat(L"导入并改名文件：%s->%s", (source / L"OLD.dmx").GetString(),
                                              (target + L"\\新 路.DMX").GetString())));
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(),
                                     ClFormat(L"导入文件：%s->%s", (source / L"notes.txt").GetString(),
                                              (target + L"\\notes.txt").GetString())));

    // A file whose copy cannot be put in place: the others are not copied
    // either.
    DeleteFileW(target + L"\\notes.txt");
    ASSERT_TRUE(CreateDirectoryW(target + L"\\notes.txt", nullptr));
    WriteText(source / L"OLD.dmx", L"0 2\n");
    const auto before = FilesIn(target);
    EXPECT_EQ(0, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    EXPECT_EQ(FileText(L"0 1\n"), ReadBytes(target + L"\\新 路.DMX"));
    EXPECT_EQ(before, FilesIn(target));
    const CString notes = target + L"\\notes.txt";
    EXPECT_EQ(ClFormat(L"导入文件失败：%s->%s 无法替换输出文件%s, 其他输出文件保持原样!", (source / L"notes.txt").GetString(),
                       notes.GetString(), notes.GetString()),
              [&] {
                  for (const CString& line : Lines())
                      if (line.Find(L"导入文件失败") == 0) return line;
                  return CString();
              }());

    // The folder is not made when the user declines: nothing is copied.
    road.m_SRoadName = L"另一条";
    boxes.Answer(IDNO);
    EXPECT_EQ(0, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    EXPECT_FALSE(FileExists(ProjectFolder() + L"\\另一条"));
    theApp.LoadCurrentRoadData();
}

// A file of the road's folder that cannot be replaced, marked read-only by
// the user or held open by another program (reading, sharing reading only),
// whichever file it is: the log names it and says why, no file of the road
// is copied, every file stays as it was byte for byte and no temporary or
// backup file is left.  Once the file is free again, the copy goes through.
TEST_F(RoadRecordTest, AFileOfTheRoadThatCannotBeReplacedStopsTheWholeCopy)
{
    const struct Case {
        const char* what;
        bool readOnly; // else held by another program
        bool profile;  // the road's profile, else its notes
        const wchar_t* reason; // "%s" the file
    } cases[] = {
        {"read-only notes", true, false, L"文件%s为只读, 无法保存! "},
        {"held notes", false, false, L""},
        {"held profile", false, true, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MessageBoxScript boxes;
        ScratchFolder source(L"old road kept");
        WriteText(source / L"OLD.dmx", L"0 2\n");
        WriteText(source / L"notes.txt", L"new\n");
        CRoadInfo road;
        road.m_SRoadName = L"保持 路";
        const CString target = ProjectFolder() + L"\\保持 路";
        ASSERT_TRUE(CreateDirectoryW(target, nullptr));
        const CString dmx = target + L"\\保持 路.DMX", notes = target + L"\\notes.txt";
        WriteText(dmx, L"0 1\n");
        WriteText(notes, L"old\n");
        const CString kept = c.profile ? dmx : notes;
        const CString from = c.profile ? source / L"OLD.dmx" : source / L"notes.txt";
        std::unique_ptr<HeldFile> held;
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributesW(kept, FILE_ATTRIBUTE_READONLY));
        } else {
            held.reset(new HeldFile(kept));
            ASSERT_TRUE(held->Held());
        }
        const size_t linesBefore = Lines().size();

        EXPECT_EQ(0, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
        EXPECT_EQ(FileText(L"0 1\n"), ReadBytes(dmx));
        EXPECT_EQ(FileText(L"old\n"), ReadBytes(notes));
        EXPECT_EQ(c.readOnly, (GetFileAttributesW(kept) & FILE_ATTRIBUTE_READONLY) != 0);
        EXPECT_EQ(std::vector<CString>({L"notes.txt", L"保持 路.DMX"}), FilesIn(target));
        const std::vector<CString> lines = Lines();
        ASSERT_EQ(linesBefore + 1, lines.size());
        EXPECT_EQ(ClFormat(L"导入文件失败：%s->%s ", from.GetString(), kept.GetString()) +
                      ClFormat(c.reason, kept.GetString()) +
                      ClFormat(L"无法替换输出文件%s, 其他输出文件保持原样!", kept.GetString()),
                  lines.back());

        if (held) {
            ASSERT_TRUE(held->Release());
        }
        SetFileAttributesW(kept, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(1, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
        EXPECT_EQ(FileText(L"0 2\n"), ReadBytes(dmx));
        EXPECT_EQ(FileText(L"new\n"), ReadBytes(notes));
        EXPECT_EQ(std::vector<CString>({L"notes.txt", L"保持 路.DMX"}), FilesIn(target));
        EXPECT_TRUE(boxes.Shown().empty());
        RemoveTree(target);
    }
    theApp.LoadCurrentRoadData();
}

// A copy whose second file cannot take its name (made to fail there) while a
// reader, an indexer or a virus scanner, holds the first file's backup: the
// log line names the file that failed, the first file, which keeps its new
// content, and the backup that holds its original (kept), and does not say
// that the other files stayed as they were.  After a copy that goes
// through, and after one that fails before any file was placed, a backup a
// reader keeps from being removed is named in the log.
TEST_F(RoadRecordTest, AFileTheCopyCannotPutBackIsNamedWithItsBackup)
{
    MessageBoxScript boxes;
    ScratchFolder source(L"old road reader");
    WriteText(source / L"OLD.dmx", L"0 2\n");
    WriteText(source / L"notes.txt", L"new\n");
    CRoadInfo road;
    road.m_SRoadName = L"读者 路";
    const CString folder = ProjectFolder() + L"\\读者 路";
    ASSERT_TRUE(CreateDirectoryW(folder, nullptr));
    WriteText(folder + L"\\读者 路.DMX", L"0 1\n");
    WriteText(folder + L"\\notes.txt", L"old\n");
    const auto sourceOf = [&](const CString& target) {
        return target.Right(4) == L".DMX" ? source / L"OLD.dmx" : source / L"notes.txt";
    };
    const auto earlier = [](const CString& target) { return FileText(target.Right(4) == L".DMX" ? L"0 1\n" : L"old\n"); };
    const auto now = [](const CString& target) { return FileText(target.Right(4) == L".DMX" ? L"0 2\n" : L"new\n"); };
    std::vector<CString> targets(2), backups(2);
    HANDLE reader = INVALID_HANDLE_VALUE;
    // Placing file `failing` fails (made to), while a reader holds the
    // backup of file `held`; the targets and their backups are noted.
    const auto failPlacing = [&](size_t failing, size_t held) {
        return [&, failing, held](tkxSetStep step, size_t i, const CString& target, const CString& other) -> DWORD {
            if ((step == tkxSetStep::Link || step == tkxSetStep::Copy) && i < 2) {
                targets[i] = target;
                backups[i] = other;
            }
            if (step != tkxSetStep::Place || i != failing) return 0;
            reader = CreateFileW(backups[held], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            return ERROR_SHARING_VIOLATION;
        };
    };
    {
        const tkxSetStepHookScope hook(failPlacing(1, 0));
        EXPECT_EQ(0, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    CloseHandle(reader);
    EXPECT_EQ(ClFormat(L"导入文件失败：%s->%s 无法替换输出文件%s! 无法恢复输出文件%s: 该文件现为新内容, 原内容保存在%s中!",
                       sourceOf(targets[1]).GetString(), targets[1].GetString(), targets[1].GetString(),
                       targets[0].GetString(), backups[0].GetString()),
              Lines().back());
    EXPECT_EQ(now(targets[0]), ReadBytes(targets[0]));
    EXPECT_EQ(earlier(targets[1]), ReadBytes(targets[1]));
    EXPECT_EQ(earlier(targets[0]), ReadBytes(backups[0]));
    EXPECT_EQ(3u, FilesIn(folder).size());
    ASSERT_TRUE(DeleteFileW(backups[0]));

    {
        const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString& target, const CString& other) -> DWORD {
            if (step == tkxSetStep::Remove && i == 1) {
                targets[1] = target;
                backups[1] = other;
                reader = CreateFileW(other, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            }
            return 0;
        });
        EXPECT_EQ(1, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    CloseHandle(reader);
    EXPECT_EQ(ClFormat(L"无法删除输出文件%s的备份文件%s!", targets[1].GetString(), backups[1].GetString()),
              [&] {
                  for (const CString& line : Lines())
                      if (line.Find(L"无法删除") == 0) return line;
                  return CString();
              }());
    EXPECT_EQ(now(targets[1]), ReadBytes(targets[1]));
    EXPECT_EQ(earlier(targets[1]), ReadBytes(backups[1]));
    ASSERT_TRUE(DeleteFileW(backups[1]));

    // A copy that fails at its first file while a reader holds the second
    // file's backup: no file was placed, both stay as they were, and the
    // backup the roll-back cannot remove is named after the failure.
    {
        const tkxSetStepHookScope hook(failPlacing(0, 1));
        EXPECT_EQ(0, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    CloseHandle(reader);
    const std::vector<CString> lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(ClFormat(L"导入文件失败：%s->%s 无法替换输出文件%s, 其他输出文件保持原样!", sourceOf(targets[0]).GetString(),
                       targets[0].GetString(), targets[0].GetString()),
              lines[lines.size() - 2]);
    EXPECT_EQ(ClFormat(L"无法删除输出文件%s的备份文件%s!", targets[1].GetString(), backups[1].GetString()), lines.back());
    for (const CString& target : targets) EXPECT_EQ(now(target), ReadBytes(target));
    EXPECT_EQ(now(targets[1]), ReadBytes(backups[1]));
    EXPECT_EQ(3u, FilesIn(folder).size());
    EXPECT_TRUE(boxes.Shown().empty());
    RemoveTree(folder);
    theApp.LoadCurrentRoadData();
}

// In a road folder of 250 characters (a road under a deep project folder) a
// file whose path would pass the platform's 259 characters is not copied on
// a cut path: the log names the path, and says that no other file was
// copied either.
TEST_F(RoadRecordTest, FilesWhosePathsWouldBeTooLongAreNamedNotCopied)
{
    MessageBoxScript boxes;
    ScratchFolder source(L"long road");
    WriteText(source / L"a.txt", L"a\n");           // 256 characters in the copy
    WriteText(source / L"notes.txt", L"x\n");       // 260
    WriteText(source / L"old.dmx", L"0 1\n");       // renamed to the road's long name

    const int nameLength = 250 - ProjectFolder().GetLength() - 1;
    ASSERT_GT(nameLength, 10) << "the checkout lies too deep for this test";
    CRoadInfo road;
    // (Mostly Latin: the system's file names hold 255 bytes of UTF-8.)
    road.m_SRoadName = CString(L"长路") + CString(L'r', nameLength - 2);
    const CString target = ProjectFolder() + L"\\" + road.m_SRoadName;
    ASSERT_EQ(250, target.GetLength());
    boxes.Answer(IDYES); // the road folder is made
    EXPECT_EQ(0, road.CopyRoadFiles(source.Path(), L"old", ProjectFolder()));
    EXPECT_EQ(std::vector<CString>(), FilesIn(target));
    EXPECT_FALSE(FileExists(target + L"\\notes.tx"));
    const CString renamed = target + L"\\" + road.m_SRoadName + L".DMX";
    EXPECT_FALSE(FileExists(renamed));
    const std::vector<CString> lines = Lines();
    for (const CString& path : {target + L"\\notes.txt", renamed}) {
        const CString said = L"导入文件失败：路径太长(最多259个字符): " + path;
        EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), said)) << Utf8(said);
    }
    EXPECT_EQ(ClFormat(L"导入文件失败：其他文件均未导入, 道路文件夹%s中的文件保持原样!", target.GetString()), lines.back());
    RemoveTree(target);
    theApp.LoadCurrentRoadData();
}

// The type's description when the setting asks for it, the road's files for
// a ".ZSJ" file; a write that fails leaves no file.
TEST_F(RoadRecordTest, ANewDataFileIsWrittenWhole)
{
    MessageBoxScript boxes;
    frame->RemoveRoadFileWatches(); // the road's files change here
    CRoadInfo road(theApp.m_CurProject.m_Roads[0]);
    const CString dl = RoadFile(kMainRoad, L"DL");
    DeleteFileW(dl);
    CString comment;
    for (const Tavix4::sFileStyle& style : theApp.m_FileStyles)
        if (style.m_SExt == L"DL") comment = style.m_SComment;
    ASSERT_FALSE(comment.IsEmpty());
    ASSERT_EQ(1, theApp.m_bAutoComment);
    ASSERT_EQ(1, road.CreateDataFile(dl));
    EXPECT_EQ(FileText(comment + L"\n"), ReadBytes(dl));

    theApp.m_bAutoComment = 0;
    const CString zsj = RoadFile(kMainRoad, L"ZSJ");
    ASSERT_EQ(1, road.CreateDataFile(zsj));
    const CString prefix = ProjectFolder() + L"\\主线\\主线.";
    CString expected = L"\n主线\n";
    for (const wchar_t* ext : {L"SQX", L"DMX", L"DL", L"KZD", L"PAR", L"HDX", L"HDM", L"QL", L"BZ", L"ZSJ"})
        expected += prefix + ext + L"\n";
    EXPECT_EQ(FileText(expected), ReadBytes(zsj));
    theApp.m_bAutoComment = 1;

    const CString kzd = RoadFile(kMainRoad, L"KZD");
    {
        FailingWrites failing(ProjectFolder() + L"\\主线");
        EXPECT_EQ(0, road.CreateDataFile(kzd));
    }
    EXPECT_FALSE(FileExists(kzd));
    for (const CString& name : FilesIn(ProjectFolder() + L"\\主线")) EXPECT_EQ(-1, name.Find(L".tmp")) << Utf8(name);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(CString(L"创建数据文件失败!"), boxes.LastText());

    // A folder that is not there: the file cannot even be begun.
    EXPECT_EQ(0, road.CreateDataFile(ProjectFolder() + L"\\没有\\主线.DL"));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(0, boxes.LastText().Find(L"准备写桩号断链文件(*.DL)("));

    // A file the user marked read-only stays as it is.
    const std::string list = ReadBytes(zsj);
    ASSERT_TRUE(SetFileAttributesW(zsj, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(0, road.CreateDataFile(zsj));
    SetFileAttributesW(zsj, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(list, ReadBytes(zsj));
    ASSERT_EQ(3u, boxes.Shown().size());
    EXPECT_NE(-1, boxes.LastText().Find(ClFormat(L"文件%s为只读, 无法保存!", zsj.GetString()))) << Utf8(boxes.LastText());

    // A path past the platform's limit is named, not cut.
    const CString deep = ProjectFolder() + L"\\主线\\" + CString(L'深', 300 - ProjectFolder().GetLength()) + L".DL";
    EXPECT_EQ(0, road.CreateDataFile(deep));
    ASSERT_EQ(4u, boxes.Shown().size());
    EXPECT_EQ(L"路径太长(最多259个字符): " + deep, boxes.LastText());
}
