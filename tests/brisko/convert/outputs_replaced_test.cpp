// How the converters put their outputs in place: a converter with two
// outputs replaces both or neither, also when another program holds one of
// them open; what another program keeps it from putting back or removing is
// named; the read-back of a unit file reads the temporary output where it
// lies and leaves nothing in the system's temporary folder.
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_RMPM.h"
#include "convert_world.h"
#include "corvane/platform/ReplaceSetSteps.h"
#include "support/FailingWrites.h"
#include "support/HeldFile.h"
#include <algorithm>
#include <functional>
#include <memory>

using namespace convert_test;

namespace {

// The system's temporary folder pointed at a folder of the test's own for
// the object's life (the test programs share the real one).
class OwnTemporaryFolder
{
public:
    explicit OwnTemporaryFolder(const CString& folder)
    {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t value[MAX_PATH + 1] = {};
            const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
            m_kept.push_back({name, length > 0 && length <= MAX_PATH ? CString(value) : CString(), length > 0});
            SetEnvironmentVariableW(name, folder);
        }
    }
    ~OwnTemporaryFolder()
    {
        for (const Kept& kept : m_kept) SetEnvironmentVariableW(kept.name, kept.had ? kept.value.GetString() : nullptr);
    }

private:
    struct Kept {
        const wchar_t* name;
        CString value;
        bool had;
    };
    std::vector<Kept> m_kept;
};

} // namespace

// The outputs as a CAD host or a viewer holds them: open for reading,
// sharing reading only.  Nothing is replaced, the message names the held
// output and says the other stays as it was, and no temporary or backup file
// is left; once the other program lets go, the same run replaces both.
TEST(OutputsReplaced, ATwoOutputConverterReplacesBothOrNeither)
{
    const auto ricad = [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 0, 5); };
    const struct Case {
        const char* what;
        const char* fixture;
        std::function<int(const CString&, const CString&, const CString&)> convert;
        bool holdSections; // else the profile is held
        const wchar_t* own; // the tool's message, "%s" the held output
    } cases[] = {
        {"RICAD, sections held", "ricad0.dat", ricad, true, L"创建横断面地面线文件(*.hdx)时出错!\n\n%s"},
        {"RICAD, profile held", "ricad0.dat", ricad, false, L"创建纵断面地面线文件(*.dmx)时出错!\n\n%s"},
        {"鸿业, sections held", "hongye.bghn", RunHongYe, true, L"创建输出文件失败!\n\n%s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"held 占用");
        const CString input = PlaceFixture(folder, c.fixture);
        const CString dmx = PlaceText(folder, L"道路.DMX", L"earlier profile\n");
        const CString hdx = PlaceText(folder, L"道路.HDX", L"earlier sections\n");
        const CString held = c.holdSections ? hdx : dmx;
        const auto before = FilesIn(folder.Path());
        {
            HeldFile holder(held);
            ASSERT_TRUE(holder.Held());
            MessageBoxScript boxes;
            EXPECT_EQ(0, c.convert(input, dmx, hdx));
            EXPECT_EQ(std::vector<CString>{ClFormat(c.own, held.GetString()) +
                                           ClFormat(L"\n\n无法替换输出文件%s, 其他输出文件保持原样!", held.GetString())},
                      Texts(boxes));
            EXPECT_EQ(FileText(L"earlier profile\n"), ReadBytes(dmx));
            EXPECT_EQ(FileText(L"earlier sections\n"), ReadBytes(hdx));
            EXPECT_EQ(before, FilesIn(folder.Path()));
            ASSERT_TRUE(holder.Release());
        }
        MessageBoxScript boxes;
        EXPECT_EQ(1, c.convert(input, dmx, hdx)) << Utf8(boxes.LastText());
        EXPECT_TRUE(HoldsGolden(dmx, (std::string(c.fixture) + ".dmx.golden").c_str(), input));
        EXPECT_TRUE(HoldsGolden(hdx, (std::string(c.fixture) + ".hdx.golden").c_str(), input));
        EXPECT_EQ(before, FilesIn(folder.Path()));
    }
}

// A roll-back that a reader keeps from giving the profile its original back:
// the sections cannot take their name (made to fail there) while a reader
// holds the profile's backup.  The message names the sections, the profile
// that now holds its new content and the backup that holds its original,
// and does not say that the other output stayed as it was; the backup stays.
// After a successful run, a backup that a reader keeps from being removed is
// named in the information window.
TEST(OutputsReplaced, AnOutputThatCannotGetItsOriginalBackIsNamedWithItsBackup)
{
    StartProgram();
    const auto ricad = [](const CString& i, const CString& d, const CString& h) { return RunRICAD(i, d, h, 0, 5); };
    const struct Case {
        const char* what;
        const char* fixture;
        std::function<int(const CString&, const CString&, const CString&)> convert;
        const wchar_t* own; // the tool's message for the sections, "%s" their path
    } cases[] = {
        {"RICAD", "ricad0.dat", ricad, L"创建横断面地面线文件(*.hdx)时出错!\n\n%s"},
        {"鸿业", "hongye.bghn", RunHongYe, L"创建输出文件失败!\n\n%s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"held 备份");
        const CString input = PlaceFixture(folder, c.fixture);
        const CString dmx = PlaceText(folder, L"道路.DMX", L"earlier profile\n");
        const CString hdx = PlaceText(folder, L"道路.HDX", L"earlier sections\n");
        const auto before = FilesIn(folder.Path());
        CString backup;
        std::unique_ptr<Reader> reader;
        {
            const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString&, const CString& other) -> DWORD {
                if ((step == tkxSetStep::Link || step == tkxSetStep::Copy) && i == 0) backup = other;
                if (step != tkxSetStep::Place || i != 1) return 0;
                reader.reset(new Reader(backup));
                return ERROR_SHARING_VIOLATION;
            });
            MessageBoxScript boxes;
            EXPECT_EQ(0, c.convert(input, dmx, hdx));
            ASSERT_TRUE(reader && reader->Open());
            reader.reset();
            EXPECT_EQ(std::vector<CString>{ClFormat(c.own, hdx.GetString()) +
                                           ClFormat(L"\n\n无法替换输出文件%s!\n\n无法恢复输出文件%s: 该文件现为新内容, "
                                                    L"原内容保存在%s中!",
                                                    hdx.GetString(), dmx.GetString(), backup.GetString())},
                      Texts(boxes));
        }
        EXPECT_TRUE(HoldsGolden(dmx, (std::string(c.fixture) + ".dmx.golden").c_str(), input));
        EXPECT_EQ(FileText(L"earlier sections\n"), ReadBytes(hdx));
        EXPECT_EQ(FileText(L"earlier profile\n"), ReadBytes(backup));
        std::vector<CString> kept = before;
        kept.push_back(backup.Mid(backup.ReverseFind(L'\\') + 1));
        std::sort(kept.begin(), kept.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
        EXPECT_EQ(kept, FilesIn(folder.Path()));
        ASSERT_TRUE(DeleteFileW(backup));

        // A run that goes through while a reader holds the sections' backup.
        {
            const tkxSetStepHookScope hook([&](tkxSetStep step, size_t i, const CString&, const CString& other) -> DWORD {
                if (step == tkxSetStep::Remove && i == 1) {
                    backup = other;
                    reader.reset(new Reader(other));
                }
                return 0;
            });
            MessageBoxScript boxes;
            EXPECT_EQ(1, c.convert(input, dmx, hdx)) << Utf8(boxes.LastText());
            ASSERT_TRUE(reader && reader->Open());
            reader.reset();
        }
        EXPECT_TRUE(HoldsGolden(hdx, (std::string(c.fixture) + ".hdx.golden").c_str(), input));
        EXPECT_EQ(FileText(L"earlier sections\n"), ReadBytes(backup));
        const std::vector<CString> lines = InfoLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(ClFormat(L"无法删除输出文件%s的备份文件%s!", hdx.GetString(), backup.GetString()), lines.back());
        DeleteFileW(backup);
    }
}

// The unit reader takes only a file whose name holds ".ICD": the temporary
// output carries that extension, so it is read where it lies, whatever the
// output is called, and nothing is copied into the system's temporary folder,
// whether the read-back takes the output or refuses it.
TEST(OutputsReplaced, AUnitFileIsReadBackWhereItLies)
{
    ScratchFolder folder(L"icd 读回"), temporary(L"icd 临时");
    const OwnTemporaryFolder own(temporary.Path());
    const auto hintCAD = [](const CString& i, const CString& o) { return TransformHintCADPMFile(i, o); };
    const auto routeMaster = [](const CString& i, const CString& o) {
        CDialog_Transform_RMPM dialog;
        dialog.m_SInFileName = i;
        dialog.m_SOutFileName = o;
        return dialog.TransformRMPMXFile();
    };
    // A start coordinate the converter takes and the unit reader does not.
    const std::string refused = FileText(L"NE\n1 0\n0 1" + CString(L'0', 29) + L" 400 90\nLINE 100\n");
    const struct Case {
        const char* what;
        const wchar_t* output;
        std::function<int(const CString&, const CString&)> convert;
        std::string input;
        int result;
    } cases[] = {
        {"taken", L"道路.ICD", hintCAD, FixtureBytes("hint_units.pm"), 1},
        {"taken under another name", L"道路.单元", hintCAD, FixtureBytes("hint_units.pm"), 1},
        {"refused", L"道路.ICD", routeMaster, refused, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString input = folder / L"输入.txt";
        WriteBytes(input, c.input);
        const CString output = folder / c.output;
        MessageBoxScript boxes;
        EXPECT_EQ(c.result, c.convert(input, output)) << Utf8(boxes.LastText());
        EXPECT_EQ(c.result == 1, FileExists(output));
        EXPECT_EQ(std::vector<CString>(), FilesIn(temporary.Path()));
        DeleteFileW(output);
        EXPECT_EQ(std::vector<CString>{L"输入.txt"}, FilesIn(folder.Path()));
    }
}
