// The HintCAD road import: a road's folder and files made in the scratch
// project from HintCAD's files, the questions before replacing a file, the
// runs that stop (no name, a bad break chain, a refused folder, a refused
// plane file) leaving the project's folders as they were, and the dialog.
#include "brisko/BriskoResource.h"
#include "brisko/convert/Dialog_Import_HintRoad.h"
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "brisko/manager/RoadInfo.h"
#include "corvane/base/LastError.h"
#include "corvane/platform/Ini.h"
#include "corvane/road/BreakChain.h"
#include "support/FailingWrites.h"
#include "tools_world.h"

using namespace tooltest;
using namespace wintest;

namespace {

// HintCAD's files of a road, and what each converter makes of them when
// run on its own (the clock fixed, so that the header lines agree).
struct HintFiles
{
    HintFiles() : folder(L"hint_inputs")
    {
        FixToolClock();
        jdx = PutFixture(folder, "HINT_JDX", L"二号路.JDX");
        zdm = PutFixture(folder, "HINT_ZDM", L"二号路.ZDM");
        dmx = PutFixture(folder, "HINT_DMX", L"二号路.DMX");
        hdm = PutFixture(folder, "HINT_HDM", L"二号路.HDM");
        MessageBoxScript quiet;
        EXPECT_EQ(1, TransformHintCADJDAngleFile(jdx, folder / L"expected.JD"));
        EXPECT_EQ(1, TransformHintCADZDMFile(zdm, folder / L"expected.SQX"));
        EXPECT_EQ(1, TransformHintCADDMXFile(dmx, folder / L"expected.DMX"));
        EXPECT_EQ(1, TransformHintCADHDMFile(hdm, folder / L"expected.HDX"));
    }
    ~HintFiles() { ReleaseToolClock(); }
    std::string Expected(const wchar_t* extension) const { return ReadBytes(folder / (CString(L"expected") + extension)); }

    ScratchFolder folder;
    CString jdx, zdm, dmx, hdm;
};

// A project folder of its own for one test, removed with it.
struct ImportProject
{
    ImportProject() : project(L"hint_project") {}
    CString RoadFile(const wchar_t* road, const wchar_t* extension) const
    {
        return project / road + L"\\" + road + extension;
    }
    ScratchFolder project;
};

bool Import(const wchar_t* road, const wchar_t* chain, int kind, const CString& plane, const HintFiles& files,
            const ImportProject& where, const CString& hdm = CString())
{
    CRoadInfo record;
    record.m_SRoadName = road;
    return record.ImportHintCADRoad(kind, chain, plane, files.zdm, files.dmx, hdm.IsEmpty() ? files.hdm : hdm,
                                    where.project.Path());
}

const wchar_t* const kExtensions[] = {L".JD", L".SQX", L".DMX", L".HDX"};

} // namespace

TEST(HintRoadImport, ANewRoadGetsItsFolderAndEveryFile)
{
    StationSettings stations(3, 1);
    HintFiles files;
    ImportProject where;
    MessageBoxScript boxes(IDYES);
    EXPECT_TRUE(Import(L" 二号路 ", L" 1200=1180 ", 0, files.jdx, files, where));

    // One question: whether to make the road's folder.
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(ClFormat(L"文件夹:\n\n%s\n\n不存在. 是否创建该文件夹?", (where.project / L"二号路").GetString()),
              boxes.LastText());
    tkxBreakChain chain;
    ASSERT_EQ(1, chain.LoadDLFile(where.RoadFile(L"二号路", L".DL"))) << Utf8(tkx_GetLastError());
    EXPECT_EQ(CString(L"1200.000=1180.000"), chain.OutputToSText());
    for (const wchar_t* extension : kExtensions) {
        SCOPED_TRACE(Utf8(extension));
        EXPECT_EQ(files.Expected(extension), ReadBytes(where.RoadFile(L"二号路", extension)));
    }
}

TEST(HintRoadImport, ExistingFilesAreReplacedOnlyAfterAYes)
{
    HintFiles files;
    ImportProject where;
    ASSERT_TRUE(CreateDirectoryW(where.project / L"三号路", nullptr));
    auto putEarlier = [&] {
        for (const wchar_t* extension : {L".DL", L".JD", L".SQX", L".DMX", L".HDX"})
            WriteText(where.RoadFile(L"三号路", extension), L"早先的文件\n");
    };
    const std::string earlier = FileText(L"早先的文件\n");

    // No to the plane file ends the import: nothing after it is written.
    putEarlier();
    {
        MessageBoxScript boxes;
        boxes.Answer(IDYES); // the break chain
        boxes.Answer(IDNO);  // the plane file
        EXPECT_FALSE(Import(L"三号路", L"1200=1180", 0, files.jdx, files, where));
        ASSERT_EQ(2u, boxes.Shown().size());
        EXPECT_EQ(ClFormat(L"文件%s\n\n已经存在，是否覆盖?", where.RoadFile(L"三号路", L".JD").GetString()),
                  boxes.Shown()[1].text);
        EXPECT_NE(earlier, ReadBytes(where.RoadFile(L"三号路", L".DL")));
        for (const wchar_t* extension : kExtensions) EXPECT_EQ(earlier, ReadBytes(where.RoadFile(L"三号路", extension)));
    }
    // No to the vertical curves skips them alone; an empty break-chain text
    // leaves the DL file as it was.
    putEarlier();
    {
        MessageBoxScript boxes;
        for (int answer : {IDYES, IDNO, IDYES, IDYES}) boxes.Answer(answer);
        EXPECT_TRUE(Import(L"三号路", L"  ", 0, files.jdx, files, where));
        EXPECT_EQ(4u, boxes.Shown().size());
        EXPECT_EQ(earlier, ReadBytes(where.RoadFile(L"三号路", L".DL")));
        EXPECT_EQ(earlier, ReadBytes(where.RoadFile(L"三号路", L".SQX")));
        EXPECT_EQ(files.Expected(L".JD"), ReadBytes(where.RoadFile(L"三号路", L".JD")));
        EXPECT_EQ(files.Expected(L".DMX"), ReadBytes(where.RoadFile(L"三号路", L".DMX")));
        EXPECT_EQ(files.Expected(L".HDX"), ReadBytes(where.RoadFile(L"三号路", L".HDX")));
    }
    // A plane-unit file goes to the ICD file.
    WriteText(where.RoadFile(L"三号路", L".ICD"), L"早先的文件\n");
    {
        MessageBoxScript boxes(IDNO);
        EXPECT_FALSE(Import(L"三号路", L"", 2, files.jdx, files, where));
        EXPECT_EQ(std::vector<CString>{ClFormat(L"文件%s\n\n已经存在，是否覆盖?",
                                                where.RoadFile(L"三号路", L".ICD").GetString())},
                  boxes.Texts());
    }
}

TEST(HintRoadImport, AWrongGroundLineIsToldAndTheOtherFilesStay)
{
    HintFiles files;
    ImportProject where;
    const CString badHdm = PutText(files.folder, L"坏.HDM", L"0\n2 2 0.5 3\n2 2 -0.5 3 0.2\n");
    MessageBoxScript boxes(IDYES);
    EXPECT_TRUE(Import(L"四号路", L"", 0, files.jdx, files, where, badHdm));
    ASSERT_EQ(2u, boxes.Shown().size()); // the folder, then the HDM reader
    EXPECT_NE(-1, boxes.LastText().Find(L"左侧断面数据个数有错!"));
    EXPECT_FALSE(FileExists(where.RoadFile(L"四号路", L".HDX")));
    EXPECT_EQ(files.Expected(L".DMX"), ReadBytes(where.RoadFile(L"四号路", L".DMX")));
}

TEST(HintRoadImport, ARunThatCannotStartLeavesTheProjectFolderAsItWas)
{
    HintFiles files;
    ImportProject where;
    const struct {
        const char* what;
        const wchar_t* road;
        const wchar_t* chain;
        int answer;
        std::vector<CString> shown;
    } cases[] = {
        {"no name", L"  ", L"", IDYES, {}},
        {"bad break chain", L"五号路", L"1200=", IDYES,
         {L"断链数据<1200=>错误!\n\n" + [] {
              tkxBreakChain probe;
              probe.GetDLFromString(L"1200=");
              return tkx_GetLastError();
          }()}},
        {"folder refused", L"五号路", L"1200=1180", IDNO,
         {ClFormat(L"文件夹:\n\n%s\n\n不存在. 是否创建该文件夹?", (where.project / L"五号路").GetString())}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MessageBoxScript boxes(c.answer);
        EXPECT_FALSE(Import(c.road, c.chain, 0, files.jdx, files, where));
        EXPECT_EQ(c.shown, boxes.Texts());
        EXPECT_TRUE(FilesIn(where.project.Path()).empty());
        EXPECT_FALSE(FileExists(where.project / L"五号路"));
    }
}

TEST(HintRoadImportDialog, TheKindRelabelsThePlaneFieldAndOKStoresTheFields)
{
    StartProgram();
    ::DeleteFileW(ToolSettingsPath());
    ScratchFolder folder(L"hint_dialog");
    CString labels[3];
    CString missing;
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([&](CWnd* d) {
        for (int kind = 0; kind < 3; ++kind) {
            const int radios[3] = {IDC_TOOL_FORMAT, IDC_TOOL_FORMAT1, IDC_TOOL_FORMAT2};
            CheckRadioButton(d->GetSafeHwnd(), IDC_TOOL_FORMAT, IDC_TOOL_FORMAT2, radios[kind]);
            d->SendMessage(WM_COMMAND, MAKEWPARAM(radios[kind], BN_CLICKED),
                           reinterpret_cast<LPARAM>(d->GetDlgItem(radios[kind])->GetSafeHwnd()));
            labels[kind] = GetText(d, IDC_HINT_PLANE_LABEL);
        }
        SetText(d, IDC_HINT_PLANE, folder / L"无.PM");
        SetText(d, IDC_HINT_ZDM, folder / L"路.ZDM");
        SetText(d, IDC_HINT_BREAKCHAIN, L"1200=1180, 2500=2510");
        d->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_HINT_VIEW_PLANE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(d->GetDlgItem(IDC_HINT_VIEW_PLANE)->GetSafeHwnd()));
        missing = boxes.LastText();
        Press(d, IDOK);
    });
    CDialog_Import_HintRoad dialog;
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"平面交点数据文件(*.JDX):"), labels[0]);
    EXPECT_EQ(CString(L"平面交点数据文件(*.*):"), labels[1]);
    EXPECT_EQ(CString(L"平面线位数据文件(*.PM):"), labels[2]);
    EXPECT_EQ(ClFormat(L"文件%s不存在!", (folder / L"无.PM").GetString()), missing);
    EXPECT_EQ(2, dialog.m_iDatFormat);
    EXPECT_EQ(CString(L"1200=1180, 2500=2510"), dialog.m_SBreakChain);

    tkxIni ini(ToolSettingsPath(), L"Transform_HintCAD_ROAD", 1);
    EXPECT_EQ(2, ini.GetInt(L"m_iDatFormat", -1));
    EXPECT_EQ(folder / L"无.PM", ini.GetString(L"m_SJDFileName"));
    EXPECT_EQ(folder / L"路.ZDM", ini.GetString(L"m_SSQXFileName"));
    EXPECT_EQ(CString(L"1200=1180, 2500=2510"), ini.GetString(L"m_SBreakChain"));

    // The next run starts with them.
    DialogScript again;
    CString plane;
    again.Then([&](CWnd* d) {
        plane = GetText(d, IDC_HINT_PLANE);
        Press(d, IDCANCEL);
    });
    CDialog_Import_HintRoad next;
    EXPECT_EQ(IDCANCEL, next.DoModal());
    EXPECT_EQ(folder / L"无.PM", plane);
}
