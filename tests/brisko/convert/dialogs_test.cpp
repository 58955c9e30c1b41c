// The converters' dialogs, run as the program runs them: texts by mode and
// format, pickers with their derived names, viewers, the overwrite
// question, the settings written on OK, the closing question that opens the
// results in the editor, and a failed conversion that keeps the dialog open.
#include "brisko/BriskoResource.h"
#include "brisko/convert/Dialog_TransformHongYeZHDX.h"
#include "brisko/convert/Dialog_TransformRICAD.h"
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_RMPM.h"
#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "brisko/shell/BriskoApp.h"
#include "convert_world.h"

using namespace convert_test;
using namespace wintest;

namespace {

const CString kOverwrite = L"输出文件已存在!\n\n是否覆盖?";
const CString kOpenResult = L"是否打开生成的数据文件?";

// The paths of the open documents.
std::vector<CString> DocumentPaths()
{
    std::vector<CString> paths;
    for (POSITION pos = theApp.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = theApp.GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;)
            paths.push_back(documentTemplate->GetNextDoc(doc)->GetPathName());
    }
    return paths;
}

CString IniValue(const wchar_t* section, const wchar_t* key)
{
    wchar_t value[512] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 512, ToolSettingsPath());
    return value;
}

// Chooses a radio button as a click would.
void Choose(CWnd* dialog, int first, int last, int id)
{
    static_cast<CDialog*>(dialog)->CheckRadioButton(first, last, id);
    Press(dialog, id);
}

class ToolDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        ::DeleteFileW(ToolSettingsPath());
        m_folder = WorkingFolder();
    }
    void TearDown() override
    {
        theApp.CloseAllDocuments(FALSE);
        PumpUntilIdle();
        // The file dialog leaves the folder it ended in as the current one.
        ::SetCurrentDirectoryW(m_folder);
    }

private:
    CString m_folder;
};

} // namespace

TEST_F(ToolDialogs, TheHintCADPlaneDialogPicksAsksConvertsAndOpensTheResult)
{
    ScratchFolder folder(L"pm_dialog");
    const CString input = PlaceFixture(folder, "hint_units.pm");
    const CString output = ToolDerivedPath(input, L".ICD");
    WriteText(output, L"earlier\n");
    MessageBoxScript boxes;
    boxes.Answer(IDNO);  // keep the earlier output
    boxes.Answer(IDYES); // then overwrite it
    boxes.Answer(IDOK);  // the azimuth jump of the file
    boxes.Answer(IDYES); // and open the result
    CString caption, inputLabel, outputLabel, pickerTitle, derived;
    bool openAfterNo = false;
    DialogScript script;
    script.Then([&](CWnd* d) {
              caption = d->GetWindowText();
              DialogImage(d).SaveBmp(L"hintcad_pm.bmp");
              Choose(d, IDC_TOOL_FORMAT, IDC_TOOL_FORMAT2, IDC_TOOL_FORMAT2);
          })
        .Then([&](CWnd* d) {
            inputLabel = GetText(d, IDC_TOOL_INPUT_LABEL);
            outputLabel = GetText(d, IDC_TOOL_OUTPUT_LABEL);
            SetText(d, IDC_TOOL_INPUT, input);
            Press(d, IDC_TOOL_PICK_INPUT);
        })
        .Then([&](CWnd* platform) {
            pickerTitle = platform->GetWindowText();
            Press(platform, IDOK);
        })
        .Then([&](CWnd* d) {
            derived = GetText(d, IDC_TOOL_OUTPUT);
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            openAfterNo = true;
            Press(d, IDOK);
        });
    CDialog_Transform_HintCAD_PM dialog(theApp.m_pMainWnd);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(CString(L"转换纬地HintCAD平面数据"), caption);
    EXPECT_EQ(CString(L"平面线位数据文件(*.PM):"), inputLabel);
    EXPECT_EQ(CString(L"积木法单元数据文件(*.ICD):"), outputLabel);
    EXPECT_EQ(CString(L"选择纬地平面线位数据文件*.PM"), pickerTitle);
    EXPECT_EQ(output, derived);
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ((std::vector<CString>{kOverwrite, kOverwrite, L"检测到方位角突变, 即单元之间存在转折点!", kOpenResult}),
              Texts(boxes));
    EXPECT_TRUE(HoldsGolden(output, "hint_units.icd.golden", input));
    EXPECT_EQ(std::vector<CString>{output}, DocumentPaths());
    EXPECT_EQ(input, IniValue(L"Transform_HintCAD_PM", L"m_SINFileName"));
    EXPECT_EQ(CString(L"2"), IniValue(L"Transform_HintCAD_PM", L"m_iDatFormat"));
}

// Each mode shows its own texts; the viewer names a missing input; Cancel
// writes no settings.
TEST_F(ToolDialogs, TheGroundLineDialogShowsItsModesTexts)
{
    struct Mode {
        short mode;
        const wchar_t* title;
        const wchar_t* group;
        const wchar_t* input;
        const wchar_t* output;
    };
    const Mode modes[] = {
        {0, L"转换纬地HintCAD 横断面地面线文件", L" 输入 纬地HintCAD 文件 ", L"纬地横地线文件(*.HDM):", L"Tavix横断面地面线文件(*.HDX):"},
        {1, L"转换路线大师横断面地面线文件", L" 输入路线大师文件 ", L"路线大师横地线文件(*.DMX):", L"Tavix横断面地面线文件(*.HDX):"},
        {10, L"复制纬地HintCAD 纵断面地面线文件", L" 输入 纬地HintCAD 文件 ", L"纬地纵地线文件(*.DMX):",
         L"Tavix纵断面地面线文件(*.DMX):"},
        {11, L"转换路线大师纵断面地面线文件", L" 输入路线大师文件 ", L"路线大师纵地线文件(*.DMG):", L"Tavix纵断面地面线文件(*.DMX):"},
    };
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.mode);
        CString title, group, input, output;
        const CString missing = ScratchRoot() + L"\\没有的文件.HDM";
        MessageBoxScript boxes;
        DialogScript script;
        script.Then([&](CWnd* d) {
                  title = d->GetWindowText();
                  group = GetText(d, IDC_TOOL_INPUT_GROUP);
                  input = GetText(d, IDC_TOOL_INPUT_LABEL);
                  output = GetText(d, IDC_TOOL_OUTPUT_LABEL);
                  SetText(d, IDC_TOOL_INPUT, missing);
                  Press(d, IDC_TOOL_VIEW_INPUT);
              })
            .Then([&](CWnd* d) { Press(d, IDCANCEL); });
        ShowTransformZHDXDialog(m.mode);
        EXPECT_TRUE(script.Unscripted().empty());
        EXPECT_EQ(CString(m.title), title);
        EXPECT_EQ(CString(m.group), group);
        EXPECT_EQ(CString(m.input), input);
        EXPECT_EQ(CString(m.output), output);
        EXPECT_EQ(std::vector<CString>{L"输入文件[" + missing + L"]不存在!"}, Texts(boxes));
        EXPECT_FALSE(FileExists(ToolSettingsPath()));
    }
}

// The vertical-curve dialog in 路线大师's mode: the texts, the output named
// after the chosen input, the conversion; No to the closing question opens
// nothing.
TEST_F(ToolDialogs, TheVerticalCurveDialogConvertsInItsMode)
{
    ScratchFolder folder(L"sqx_dialog");
    const CString input = PlaceFixture(folder, "rm.zdm");
    MessageBoxScript boxes;
    CString title, label, derived;
    DialogScript script;
    script.Then([&](CWnd* d) {
              title = d->GetWindowText();
              label = GetText(d, IDC_SQX_INPUT_LABEL);
              SetText(d, IDC_TOOL_INPUT, input);
              Press(d, IDC_TOOL_PICK_INPUT);
          })
        .Then([&](CWnd* platform) { Press(platform, IDOK); })
        .Then([&](CWnd* d) {
            derived = GetText(d, IDC_TOOL_OUTPUT);
            Press(d, IDOK);
        });
    ShowTransformSQXDialog(1);
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_EQ(CString(L"转换路线大师纵断面竖曲线文件"), title);
    EXPECT_EQ(CString(L"路线大师竖曲线文件(*.ZDM):"), label);
    EXPECT_EQ(folder / L"rm.SQX", derived);
    EXPECT_EQ(std::vector<CString>{kOpenResult}, Texts(boxes));
    EXPECT_TRUE(HoldsGolden(derived, "rm.zdm.sqx.golden", input));
    EXPECT_TRUE(DocumentPaths().empty());
    EXPECT_EQ(derived, IniValue(L"Transform_RM_ZDM", L"m_SOutFileName"));
}

// Without a format nothing runs and the dialog says so; the plane-line
// format asks first, and No keeps the dialog open.
TEST_F(ToolDialogs, TheRMPlaneDialogNeedsAFormatAndAsksBeforePlaneLines)
{
    ScratchFolder folder(L"rmpm_dialog");
    const CString input = PlaceFixture(folder, "rm_ne.pmx");
    const CString output = folder / L"rm_ne.ICD";
    MessageBoxScript boxes;
    boxes.Answer(IDOK);  // no format chosen
    boxes.Answer(IDNO);  // not yet
    boxes.Answer(IDYES); // convert
    boxes.Answer(IDNO);  // do not open
    int stepsOnDialog = 0;
    DialogScript script;
    script.Then([&](CWnd* d) {
              ++stepsOnDialog;
              DialogImage(d).SaveBmp(L"rm_pm.bmp");
              SetText(d, IDC_TOOL_INPUT, input);
              SetText(d, IDC_TOOL_OUTPUT, output);
              Press(d, IDOK);
          })
        .Then([&](CWnd* d) {
            ++stepsOnDialog;
            Choose(d, IDC_TOOL_FORMAT, IDC_TOOL_FORMAT1, IDC_TOOL_FORMAT1);
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            ++stepsOnDialog;
            Press(d, IDOK);
        });
    CDialog_Transform_RMPM dialog(theApp.m_pMainWnd);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(3, stepsOnDialog);
    const CString question = L"路线大师自动生成的平面线文件数据精度不足(数据仅保留3为小数),\n\n"
                             L"直接转换为ICD格式可能导致路线终点坐标发生偏移.\n\n是否继续转换?";
    EXPECT_EQ((std::vector<CString>{kRMPMNoFormat, question, question, kOpenResult}), Texts(boxes));
    EXPECT_TRUE(HoldsGolden(output, "rm_ne.icd.golden", input));
}

// 鸿业: each existing output is asked about with its path; Yes to the closing
// question opens both results.
TEST_F(ToolDialogs, TheHongYeDialogAsksForEachOutputAndOpensBoth)
{
    ScratchFolder folder(L"hongye_dialog");
    const CString input = PlaceFixture(folder, "hongye.bghn");
    const CString dmx = folder / L"hongye.DMX";
    const CString hdx = folder / L"hongye.HDX";
    WriteText(dmx, L"earlier\n");
    WriteText(hdx, L"earlier\n");
    MessageBoxScript boxes;
    boxes.Answer(IDYES);
    boxes.Answer(IDYES);
    boxes.Answer(IDYES);
    CString derivedDMX, derivedHDX;
    DialogScript script;
    script.Then([&](CWnd* d) {
              SetText(d, IDC_TOOL_INPUT, input);
              Press(d, IDC_TOOL_PICK_INPUT);
          })
        .Then([&](CWnd* platform) { Press(platform, IDOK); })
        .Then([&](CWnd* d) {
            derivedDMX = GetText(d, IDC_TOOL_OUTPUT);
            derivedHDX = GetText(d, IDC_TOOL_OUTPUT2);
            Press(d, IDOK);
        });
    CDialog_TransformHongYeZHDX dialog(theApp.m_pMainWnd);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(dmx, derivedDMX);
    EXPECT_EQ(hdx, derivedHDX);
    EXPECT_EQ((std::vector<CString>{L"输出[" + dmx + L"]文件已存在!\n\n是否覆盖?", L"输出[" + hdx + L"]文件已存在!\n\n是否覆盖?",
                                    kOpenResult}),
              Texts(boxes));
    EXPECT_TRUE(HoldsGolden(dmx, "hongye.bghn.dmx.golden", input));
    EXPECT_TRUE(HoldsGolden(hdx, "hongye.bghn.hdx.golden", input));
    EXPECT_EQ((std::vector<CString>{dmx, hdx}), DocumentPaths());
}

// A RICAD file that fails keeps the dialog open without the closing
// question and leaves the outputs; the corrected file then converts.
TEST_F(ToolDialogs, TheRICADDialogStaysOpenAfterAFailedConversion)
{
    ScratchFolder folder(L"ricad_dialog");
    const CString bad = PlaceText(folder, L"bad.dat", L"100 52.3 1 1\n3 53.0 6\n2 53.4\n");
    const CString good = PlaceFixture(folder, "ricad0.dat");
    const CString dmx = folder / L"out.dmx";
    const CString hdx = folder / L"out.hdx";
    WriteText(dmx, L"earlier\n");
    MessageBoxScript boxes;
    boxes.Answer(IDOK);  // no input named
    boxes.Answer(IDYES); // overwrite the profile
    boxes.Answer(IDOK);  // the bad line
    boxes.Answer(IDYES); // overwrite the profile
    boxes.Answer(IDNO);  // do not look at the result
    bool openAfterError = false;
    std::string afterError;
    DialogScript script;
    script.Then([&](CWnd* d) {
              DialogImage(d).SaveBmp(L"ricad.bmp");
              Press(d, IDOK);
          })
        .Then([&](CWnd* d) {
            SetText(d, IDC_TOOL_INPUT, bad);
            SetText(d, IDC_TOOL_OUTPUT, dmx);
            SetText(d, IDC_TOOL_OUTPUT2, hdx);
            Choose(d, IDC_TOOL_FORMAT, IDC_TOOL_FORMAT2, IDC_TOOL_FORMAT);
            SetText(d, IDC_RICAD_MINWIDTH, L"5");
            Press(d, IDOK);
        })
        .Then([&](CWnd* d) {
            openAfterError = true;
            afterError = ReadBytes(dmx);
            SetText(d, IDC_TOOL_INPUT, good);
            Press(d, IDOK);
        });
    CDialog_TransformRICAD dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(openAfterError);
    EXPECT_EQ(FileText(L"earlier\n"), afterError);
    EXPECT_EQ((std::vector<CString>{L"请输入RICAD纵横断面地面线文件(*.dat)!", L"是否覆盖纵断面地面线文件\n\n" + dmx + L"?",
                                    ClFormat(L"读文件[%s],\n\n第2行错误, 数据不成对!\n\n[3 53.0 6]", bad.GetString()),
                                    L"是否覆盖纵断面地面线文件\n\n" + dmx + L"?", L"是否查看纵横断面数据的转换结果?"}),
              Texts(boxes));
    EXPECT_TRUE(HoldsGolden(dmx, "ricad0.dat.dmx.golden", good));
    EXPECT_TRUE(HoldsGolden(hdx, "ricad0.dat.hdx.golden", good));
    EXPECT_EQ(CString(L"5.000000000000000"), IniValue(L"Transform_RICAD_ZHD", L"m_rMinWidth"));
}
