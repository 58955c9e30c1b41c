// The data tools' dialogs as the program runs them: their texts and
// defaults, the checks of their fields, the overwrite and closing questions,
// and each tool run from its OK or action button.
#include "brisko/BriskoResource.h"
#include "brisko/convert/Dialog_ConvertJGW.h"
#include "brisko/convert/Dialog_GDElevation.h"
#include "brisko/convert/Dialog_HDXFormat.h"
#include "brisko/convert/Dialog_JGC.h"
#include "brisko/convert/Dialog_TransformBidRoadBRF.h"
#include "brisko/shell/BriskoApp.h"
#include "corvane/platform/Ini.h"
#include "tools_world.h"

using namespace tooltest;
using namespace wintest;

namespace {

void Click(CWnd* d, int id)
{
    d->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(d->GetDlgItem(id)->GetSafeHwnd()));
}

bool Enabled(CWnd* d, int id) { return d->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

// The file dialog makes the folder it ends in the current one: this puts
// the test's folder back when it dies.
struct KeepCurrentFolder
{
    KeepCurrentFolder() : folder(WorkingFolder()) {}
    ~KeepCurrentFolder() { ::SetCurrentDirectoryW(folder); }
    CString folder;
};

void CloseDocuments()
{
    theApp.CloseAllDocuments(FALSE);
    PumpUntilIdle();
}

} // namespace

TEST(ToolDialogs, TheStructureToolAsksBeforeReplacingAndOpensWhatItWrote)
{
    StartProgram();
    ScratchFolder folder(L"jgw_dialog");
    const CString gzw = PutFixture(folder, "STRUCTURES_GZW", L"构造物.GZW");
    const CString gzx = PutText(folder, L"构造物.GZX", L"早先\n");
    CString title, inputLabel, outputLabel;
    MessageBoxScript boxes;
    boxes.Answer(IDNO);  // keep the earlier file: the dialog stays
    boxes.Answer(IDYES); // then replace it
    boxes.Answer(IDYES); // and open it
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            title = d->GetWindowText();
            inputLabel = GetText(d, IDC_TOOL_INPUT_LABEL);
            outputLabel = GetText(d, IDC_TOOL_OUTPUT_LABEL);
            SetText(d, IDC_TOOL_INPUT, gzw);
            SetText(d, IDC_TOOL_OUTPUT, gzx);
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            EXPECT_EQ(FileText(L"早先\n"), ReadBytes(gzx));
            Press(d, IDOK);
        });
    CDialog_ConvertJGW dialog;
    dialog.m_iMode = 0;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"转换Tavix原有GZW文件为构造物信息文件(GZX)"), title);
    EXPECT_EQ(CString(L"平面构造物文件(*.GZW):"), inputLabel);
    EXPECT_EQ(CString(L"构造物信息文件(*.GZX):"), outputLabel);
    const std::vector<CString> expected = {
        ClFormat(L"%s\n\n文件已存在! 是否覆盖?", gzx.GetString()),
        ClFormat(L"%s\n\n文件已存在! 是否覆盖?", gzx.GetString()),
        L"是否打开生成的文件?",
    };
    EXPECT_EQ(expected, boxes.Texts());
    EXPECT_EQ(Fixture("STRUCTURES_GZX"), ReadBytes(gzx));
    EXPECT_TRUE(IsOpen(gzx));
    CloseDocuments();

    // Mode 1 names its files for bridges and stations.
    DialogScript bridges;
    bridges.Then([&](CWnd* d) {
        title = d->GetWindowText();
        inputLabel = GetText(d, IDC_TOOL_INPUT_LABEL);
        outputLabel = GetText(d, IDC_TOOL_OUTPUT_LABEL);
        Press(d, IDCANCEL);
    });
    CDialog_ConvertJGW export_;
    export_.m_iMode = 1;
    export_.DoModal();
    EXPECT_EQ(CString(L"由构造物信息文件(GZX)导出桥梁桩号文件(QL)"), title);
    EXPECT_EQ(CString(L"构造物信息文件(*.GZX):"), inputLabel);
    EXPECT_EQ(CString(L"桥梁桩号文件(*.QL):"), outputLabel);
}

TEST(ToolDialogs, TheDitchBottomsAreSavedWhereTheSaveDialogSaysAndTheDialogStays)
{
    StartProgram();
    StationSettings stations(3, 1);
    ScratchFolder folder(L"gd_dialog");
    const CString input = PutFixture(folder, "DITCH_3DD", L"一号路.3DD");
    const CString output = folder / L"一号路沟底高程.TXT";
    KeepCurrentFolder keep;
    MessageBoxScript boxes;
    bool dlEnabled = true;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            dlEnabled = Enabled(d, IDC_DERIVE_DL) || Enabled(d, IDC_DERIVE_PICK_DL);
            SetText(d, IDC_TOOL_INPUT, input);
            SetText(d, IDC_TOOL_OUTPUT, output);
            Press(d, IDC_GD_EXTRACT);
        })
        .Then([&](CWnd* saveDialog) { Press(saveDialog, IDOK); })
        .Then([&](CWnd* d) {
            EXPECT_EQ(std::vector<CString>{L"提取两侧沟底高程数据成功!"}, boxes.Texts());
            Press(d, IDCANCEL);
        });
    CDialog_GDElevation dialog;
    dialog.m_SRoadName = L"一号路";
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_FALSE(dlEnabled);
    EXPECT_EQ(Fixture("DITCH_PLAIN_TXT"), ReadBytes(output));
}

TEST(ToolDialogs, TheBaseElevationsCheckTheirTextsAndStoreTheirSettings)
{
    StartProgram();
    ::DeleteFileW(ToolSettingsPath());
    ScratchFolder folder(L"jgc_dialog");
    const CString sqx = PutFixture(folder, "JGC_FLAT_SQX", L"路.SQX");
    const CString dmx = PutFixture(folder, "JGC_FLAT_DMX", L"路.DMX");
    const CString jgc = PutText(folder, L"路.JGC", L"早先\n");
    bool pageLengthBefore = true, pageLengthAfter = false;
    MessageBoxScript boxes;
    boxes.Answer(IDOK);  // the scale
    boxes.Answer(IDOK);  // the rule unit
    boxes.Answer(IDNO);  // keep the earlier file
    boxes.Answer(IDYES); // then replace it
    boxes.Answer(IDNO);  // and do not open it
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            SetText(d, IDC_TOOL_INPUT, sqx);
            SetText(d, IDC_DERIVE_DMX, dmx);
            SetText(d, IDC_TOOL_OUTPUT, jgc);
            pageLengthBefore = Enabled(d, IDC_JGC_PAGE_LENGTH);
            SetText(d, IDC_JGC_SCALE, L"1:200");
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            SetText(d, IDC_JGC_SCALE, L"200");
            SetText(d, IDC_JGC_RULE, L"0");
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            SetText(d, IDC_JGC_RULE, L"1");
            SetText(d, IDC_JGC_PAGE_LENGTH, L"500");
            d->CheckDlgButton(IDC_JGC_PAGE_AUTO, BST_CHECKED);
            Click(d, IDC_JGC_PAGE_AUTO);
            pageLengthAfter = Enabled(d, IDC_JGC_PAGE_LENGTH);
            d->CheckDlgButton(IDC_JGC_PAGE_AUTO, BST_UNCHECKED);
            Click(d, IDC_JGC_PAGE_AUTO);
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            EXPECT_EQ(FileText(L"早先\n"), ReadBytes(jgc));
            Press(d, IDOK);
        });
    CDialog_JGC dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Unscripted().empty());
    ASSERT_EQ(5u, boxes.Shown().size());
    EXPECT_EQ(CString(L"输入高程比例<1:200>错误!"), boxes.Shown()[0].text);
    EXPECT_EQ(CString(L"生成纵断面图基点高程文件"), boxes.Shown()[0].caption);
    EXPECT_EQ(CString(L"输入标尺单位<0>错误!"), boxes.Shown()[1].text);
    EXPECT_EQ(CString(L"基点高程文件已存在!\n\n是否覆盖?"), boxes.Shown()[2].text);
    EXPECT_EQ(CString(L"生成纵断面图基点高程文件"), boxes.Shown()[2].caption);
    EXPECT_EQ(CString(L"是否打开生成的纵断面图基点高程文件?"), boxes.Shown()[4].text);
    EXPECT_FALSE(pageLengthBefore);
    EXPECT_TRUE(pageLengthAfter);
    EXPECT_EQ(std::string("0.000 98.000 \r\n"), ReadBytes(jgc));

    tkxIni ini(ToolSettingsPath(), L"EnvJGC", 1);
    EXPECT_EQ(CString(L"1"), ini.GetString(L"m_SRuleHeight"));
    EXPECT_EQ(CString(L"200"), ini.GetString(L"m_SScale"));
    EXPECT_DOUBLE_EQ(500.0, ini.GetDouble(L"m_rPageLength", 0.0));
    EXPECT_EQ(0, ini.GetInt(L"m_bPageAuto", -1));
}

TEST(ToolDialogs, TheLayoutChangeProposesATargetForTheLayoutFound)
{
    StartProgram();
    StationSettings stations(3, 1);
    ScratchFolder folder(L"hdx_dialog");
    const CString hdx = PutFixture(folder, "LAYOUT_ABS1_HDX", L"路.HDX");
    PutFixture(folder, "CHAIN_DMX", L"路.DMX");
    PutFixture(folder, "CHAIN_DL", L"路.DL");
    // The stored fields of an earlier run.
    tkxIni ini(ToolSettingsPath(), L"HDXFormat", 1);
    ini.WriteString(L"m_SHDXFileName", hdx);
    ini.WriteString(L"m_SDMXFileName", folder / L"路.DMX");
    ini.WriteString(L"m_SDLFileName", folder / L"路.DL");
    ini.WriteString(L"m_SOutFileName", folder / L"路_New.HDX");
    ini.WriteInt(L"m_iOutFormat", 0);

    CString layout;
    bool abs1Enabled = true, rodChosen = false, dlChecked = false;
    MessageBoxScript boxes;
    DialogScript script;
    script.Then([&](CWnd* d) {
        layout = GetText(d, IDC_HDX_LAYOUT);
        abs1Enabled = Enabled(d, IDC_TOOL_FORMAT1);
        rodChosen = d->IsDlgButtonChecked(IDC_TOOL_FORMAT2) == BST_CHECKED;
        dlChecked = d->IsDlgButtonChecked(IDC_DERIVE_INCLUDE_DL) == BST_CHECKED;
        Press(d, IDOK);
    });
    CDialog_HDXFormat dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"ABS1: 相对中桩距离+与中桩高差"), layout);
    EXPECT_FALSE(abs1Enabled);
    EXPECT_TRUE(rodChosen);
    EXPECT_TRUE(dlChecked);
    EXPECT_EQ(std::vector<CString>{L"是否打开生成的横地线文件?"}, boxes.Texts());
    EXPECT_EQ(Fixture("LAYOUT_ROD_HDX"), ReadBytes(folder / L"路_New.HDX"));

    // A file without a readable first line: OK stays disabled.
    ini.WriteString(L"m_SHDXFileName", PutText(folder, L"空.HDX", L"// 空\n"));
    bool okEnabled = true;
    DialogScript empty;
    empty.Then([&](CWnd* d) {
        okEnabled = Enabled(d, IDOK);
        Press(d, IDCANCEL);
    });
    MessageBoxScript told;
    CDialog_HDXFormat again;
    again.DoModal();
    EXPECT_FALSE(okEnabled);
    ASSERT_EQ(1u, told.Shown().size());
    EXPECT_EQ(CString(L"检测横地线文件格式失败"), told.Shown()[0].caption);
}

TEST(ToolDialogs, TheBidRoadExportStartsWithTheCurrentRoadsFilesAndOffersTheResult)
{
    StartProgram();
    const CString base = RoadFolder() + L"\\" + kRoadName;
    ScratchFolder folder(L"brf_dialog");
    CString defaults[5];
    MessageBoxScript boxes;
    DialogScript script;
    script
        .Then([&](CWnd* d) {
            const int ids[5] = {IDC_BRF_DYD, IDC_BRF_SQX, IDC_BRF_DMX, IDC_BRF_CG, IDC_BRF_BRF};
            for (int i = 0; i < 5; ++i) defaults[i] = GetText(d, ids[i]);
            // The road has no unit table yet: named, and the dialog stays.
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            SetText(d, IDC_BRF_DYD, PutFixture(folder, "ROAD_DYD", L"路.DYD"));
            SetText(d, IDC_BRF_SQX, PutFixture(folder, "ROAD_SQX", L"路.SQX"));
            SetText(d, IDC_BRF_DMX, PutFixture(folder, "ROAD_DMX", L"路.DMX"));
            SetText(d, IDC_BRF_CG, PutFixture(folder, "ROAD_CG", L"路.CG"));
            SetText(d, IDC_BRF_BRF, folder / L"路.BRF");
            Press(d, IDOK);
        });
    ShowTransformBidRoadDialog(nullptr);
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(base + L".DYD", defaults[0]);
    EXPECT_EQ(base + L".SQX", defaults[1]);
    EXPECT_EQ(base + L".DMX", defaults[2]);
    EXPECT_EQ(base + L".CG", defaults[3]);
    EXPECT_EQ(base + L".BRF", defaults[4]);
    const std::vector<CString> expected = {
        ClFormat(L"读取DYD文件失败!\n\n%s\n\n请确认该文件是否存在!\n\n如果该文件已打开，请将其关闭!", defaults[0].GetString()),
        L"是否打开生成的桥梁接口文件?",
    };
    EXPECT_EQ(expected, boxes.Texts());
    EXPECT_EQ(Fixture("ROAD_BRF"), ReadBytes(folder / L"路.BRF"));
}
