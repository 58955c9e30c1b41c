// What the tools share: the settings kept in "Brisko.ini", the station texts
// of other products, the header lines in code page 936 and the derived
// default names.
#include "brisko/convert/Dialog_TransformHongYeZHDX.h"
#include "brisko/convert/Dialog_TransformRICAD.h"
#include "brisko/convert/Dialog_Transform_HintCAD_PM.h"
#include "brisko/convert/Dialog_Transform_RMPM.h"
#include "brisko/convert/Dialog_Transform_SQX.h"
#include "brisko/convert/Dialog_Transform_ZHDX.h"
#include "brisko/shell/BriskoApp.h"
#include "convert_world.h"

using namespace convert_test;

namespace {

CString IniValue(const wchar_t* section, const wchar_t* key)
{
    wchar_t value[512] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 512, ToolSettingsPath());
    return value;
}

} // namespace

// Each dialog stores its fields under its section and reads them back; the
// entries hold texts as typed, ints in decimal and doubles with fifteen
// decimals.
TEST(ToolSettings, EachDialogsFieldsReadBackFromTheSettingsFile)
{
    ::DeleteFileW(ToolSettingsPath());
    {
        CDialog_Transform_HintCAD_PM pm;
        pm.m_SINFileName = L"D:\\纬地\\一号路.JDX";
        pm.m_SOutFileName = L"D:\\纬地\\一号路.JD";
        pm.m_iDatFormat = 2;
        pm.SerializeSettings(0);
        CDialog_TransformRICAD ricad;
        ricad.m_SDMXFileName = L"r.dmx";
        ricad.m_SHDXFileName = L"r.hdx";
        ricad.m_SRicadFileName = L"r.dat";
        ricad.m_iDatFormat = 2;
        ricad.m_rMinWidth = 2.5;
        ricad.SerializeSettings(0);
        CDialog_TransformHongYeZHDX hongye;
        hongye.m_SInFileName = L"h.BGHN";
        hongye.m_SDMXFileName = L"h.DMX";
        hongye.m_SHDXFileName = L"h.HDX";
        hongye.SerializeSettings(0);
        CDialog_Transform_RMPM rm;
        rm.m_SInFileName = L"m.PMX";
        rm.m_iDatFormat = 1;
        rm.SerializeSettings(0);
        for (short mode : {0, 1}) {
            CDialog_Transform_SQX sqx;
            sqx.m_nMode = mode;
            sqx.m_SInFileName = mode ? L"rm.ZDM" : L"hint.ZDM";
            sqx.SerializeSettings(0);
        }
        for (short mode : {0, 1, 10, 11}) {
            CDialog_Transform_ZHDX zhdx;
            zhdx.m_nMode = mode;
            zhdx.m_SOutFileName = ClFormat(L"mode%d.out", mode);
            zhdx.SerializeSettings(0);
        }
    }
    EXPECT_EQ(CString(L"D:\\纬地\\一号路.JDX"), IniValue(L"Transform_HintCAD_PM", L"m_SINFileName"));
    EXPECT_EQ(CString(L"2"), IniValue(L"Transform_HintCAD_PM", L"m_iDatFormat"));
    EXPECT_EQ(CString(L"2.500000000000000"), IniValue(L"Transform_RICAD_ZHD", L"m_rMinWidth"));
    EXPECT_EQ(CString(L"h.HDX"), IniValue(L"Transform_HongYe_ZHDX", L"m_SHDXFileName"));
    EXPECT_EQ(CString(L"rm.ZDM"), IniValue(L"Transform_RM_ZDM", L"m_SInFileName"));
    EXPECT_EQ(CString(L"mode10.out"), IniValue(L"Transform_HintCAD_ZDX", L"m_SOutFileName"));
    EXPECT_EQ(CString(L"mode11.out"), IniValue(L"Transform_RM_ZDX", L"m_SOutFileName"));

    CDialog_Transform_HintCAD_PM pm;
    pm.SerializeSettings(1);
    EXPECT_EQ(CString(L"D:\\纬地\\一号路.JDX"), pm.m_SINFileName);
    EXPECT_EQ(CString(L"D:\\纬地\\一号路.JD"), pm.m_SOutFileName);
    EXPECT_EQ(2, pm.m_iDatFormat);
    CDialog_TransformRICAD ricad;
    ricad.SerializeSettings(1);
    EXPECT_EQ(CString(L"r.dat"), ricad.m_SRicadFileName);
    EXPECT_EQ(2, ricad.m_iDatFormat);
    EXPECT_EQ(2.5, ricad.m_rMinWidth);
    CDialog_TransformHongYeZHDX hongye;
    hongye.SerializeSettings(1);
    EXPECT_EQ(CString(L"h.DMX"), hongye.m_SDMXFileName);
    EXPECT_EQ(CString(L"h.HDX"), hongye.m_SHDXFileName);
    CDialog_Transform_RMPM rm;
    rm.SerializeSettings(1);
    EXPECT_EQ(1, rm.m_iDatFormat);
    CDialog_Transform_SQX sqx;
    sqx.m_nMode = 1;
    sqx.SerializeSettings(1);
    EXPECT_EQ(CString(L"rm.ZDM"), sqx.m_SInFileName);
    CDialog_Transform_ZHDX zhdx;
    zhdx.m_nMode = 1;
    zhdx.SerializeSettings(1);
    EXPECT_EQ(CString(L"mode1.out"), zhdx.m_SOutFileName);
}

// A section the file does not hold leaves the constructor's defaults; a mode
// without a section reads and writes nothing.
TEST(ToolSettings, WithoutItsSectionADialogKeepsItsDefaults)
{
    ::DeleteFileW(ToolSettingsPath());
    CDialog_TransformRICAD ricad;
    ricad.SerializeSettings(1);
    EXPECT_EQ(1, ricad.m_iDatFormat);
    EXPECT_EQ(0.0, ricad.m_rMinWidth);
    EXPECT_TRUE(ricad.m_SRicadFileName.IsEmpty());
    CDialog_Transform_RMPM rm;
    rm.SerializeSettings(1);
    EXPECT_EQ(-1, rm.m_iDatFormat);

    CDialog_Transform_SQX other;
    other.m_nMode = 5;
    other.m_SInFileName = L"x.ZDM";
    other.SerializeSettings(0);
    EXPECT_FALSE(FileExists(ToolSettingsPath()));
}

// The exchange takes a dialog's members only in the number and types of its
// section's keys: a mismatch reads and writes nothing.
TEST(ToolSettings, MembersThatDoNotMatchTheKeysAreRefused)
{
    ::DeleteFileW(ToolSettingsPath());
    CString text = L"a";
    int number = 3;
    double width = 1.5;
    EXPECT_FALSE(ExchangeToolSettings(0, tool_section::RICAD, {text, text, text, number}));
    EXPECT_FALSE(ExchangeToolSettings(0, tool_section::RICAD, {text, text, text, width, width}));
    EXPECT_FALSE(ExchangeToolSettings(0, L"NoSuchTool", {text}));
    EXPECT_FALSE(FileExists(ToolSettingsPath()));
    // Every tool of the table, those of the other tools too.
    for (const wchar_t* section : {tool_section::HDXFormat, tool_section::ImportHintRoad, tool_section::JGC,
                                   tool_section::MoveData})
        EXPECT_NE(nullptr, FindToolSettingSection(section)) << Utf8(section);
    EXPECT_TRUE(ExchangeToolSettings(0, tool_section::JGC, {text, text, width, width, number, width}));
    EXPECT_EQ(CString(L"1.500000000000000"), IniValue(L"EnvJGC", L"m_rPageLength"));
    EXPECT_EQ(CString(L"3"), IniValue(L"EnvJGC", L"m_bPageAuto"));
}

// HintCAD's chain letters: a letter names the chain and is removed; the
// current chain's letter is passed over; a "K" before a digit is the
// kilometre prefix and stays.
TEST(StationTexts, ChainLettersAndTheKilometrePrefix)
{
    struct Case {
        const wchar_t* field;
        int chainBefore;
        const wchar_t* text;
        int chainAfter;
    };
    const Case cases[] = {
        {L"1200", 1, L"1200", 1},
        {L"B1350", 1, L"1350", 2},
        {L"1500", 2, L"1500", 2},
        {L"A1600", 2, L"1600", 1},
        {L"b100", 1, L"100", 2},
        {L"AC100", 1, L"100", 3},       // A is the current chain's: C decides
        {L"CA100", 2, L"C100", 1},      // A decides first; C stays
        {L"K12+345", 1, L"K12+345", 1}, // the kilometre prefix, not chain 11
        {L"k0+200.5", 2, L"k0+200.5", 2},
        {L"BK1+350", 1, L"K1+350", 2},
        {L"1350K", 1, L"1350", 11},     // a K before no digit is a letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.field));
        int chain = c.chainBefore;
        EXPECT_EQ(CString(c.text), ChainLetterStation(c.field, chain));
        EXPECT_EQ(c.chainAfter, chain);
    }
    struct Plain {
        const wchar_t* text;
        const wchar_t* plain; // null: refused
    };
    const Plain plains[] = {
        {L"1200", L"1200"},         {L"-5.25", L"-5.25"},         {L"K12+345", L"12345"},
        {L"K0+005.50", L"5.50"},    {L"1+200", L"1200"},          {L"k3+040.125", L"3040.125"},
        {L"K1+2+3", nullptr},       {L"K1.5+200", nullptr},       {L"K+200", nullptr},
        {L"", nullptr},             {L"1e3", nullptr},            {L"12+", nullptr},
    };
    for (const Plain& p : plains) {
        SCOPED_TRACE(Utf8(p.text));
        CString plain;
        EXPECT_EQ(p.plain != nullptr, PlainStationText(p.text, plain) != FALSE);
        if (p.plain) {
            EXPECT_EQ(CString(p.plain), plain);
        }
    }
    // The chain is named on every line after the first chain, and once more
    // when it returns to the first (the profile readers carry it on).
    int last = 1;
    EXPECT_EQ(CString(L"100"), ChainedStationText(L"100", 1, last));
    EXPECT_EQ(CString(L"150_2"), ChainedStationText(L"150", 2, last));
    EXPECT_EQ(CString(L"160_2"), ChainedStationText(L"160", 2, last));
    EXPECT_EQ(CString(L"170_1"), ChainedStationText(L"170", 1, last));
    EXPECT_EQ(CString(L"180"), ChainedStationText(L"180", 1, last));
}

// The header lines are code page 936 text, as the suite's readers and the
// editor take the file.
TEST(ToolHeaderLines, AreWrittenInCodePage936)
{
    ScratchFolder folder(L"header");
    const CString input = PlaceText(folder, L"路线.zdm", L"1000 100 0\n1200 101 0\n");
    const CString output = folder / L"路线.SQX";
    CDialog_Transform_SQX dialog;
    dialog.m_nMode = 1;
    dialog.m_SInFileName = input;
    dialog.m_SOutFileName = output;
    ASSERT_EQ(1, dialog.TransformRMZDMFile());
    // "//转换路线大师纵断面竖曲线文件:" and "//创建时间:2024年5月6日 7:8:9".
    const std::string header = "//\xD7\xAA\xBB\xBB\xC2\xB7\xCF\xDF\xB4\xF3\xCA\xA6\xD7\xDD\xB6\xCF\xC3\xE6\xCA\xFA"
                               "\xC7\xFA\xCF\xDF\xCE\xC4\xBC\xFE:";
    const std::string created = "//\xB4\xB4\xBD\xA8\xCA\xB1\xBC\xE4:2024\xC4\xEA" "5\xD4\xC2" "6\xC8\xD5 7:8:9\r\n\r\n";
    const std::string path = ClWideToMultiByte(input, -1, 936).c_str();
    EXPECT_EQ(header + path + "\r\n" + created + "1000 100\r\n1200 101\r\n", ReadBytes(output));
}

// The openers' default names come from the application's current project
// and road; without a current road, from the project's folder.
TEST(ToolDefaults, NamesOfTheCurrentRoad)
{
    tkxProject saved;
    saved.Copy(&theApp.m_CurProject);
    tkxProject& project = theApp.m_CurProject;
    project.m_SName = L"工具项目";
    project.m_SPath = L"D:\\项目";
    Tavix4::sRoadInfo road;
    road.m_SRoadName = L"一号路";
    project.m_Roads.RemoveAll();
    project.m_Roads.Add(road);
    project.m_iCurRoad = 0;
    EXPECT_EQ(CString(L"D:\\项目\\一号路\\一号路.JGC"), CurrentRoadFile(L".JGC"));
    EXPECT_EQ(CString(L"D:\\项目\\一号路\\一号路.GZW"), WorkingRoadFile(L".GZW"));
    project.m_iCurRoad = -1;
    EXPECT_EQ(CString(L"D:\\项目\\.QL"), CurrentRoadFile(L".QL"));
    theApp.m_CurProject.Copy(&saved);
}

TEST(ToolDerivedPath, TakesTheFolderAndTitleOfThePath)
{
    EXPECT_EQ(CString(L"D:\\路线\\一号路.DMX"), ToolDerivedPath(L"D:\\路线\\一号路.BGHN", L".DMX"));
    EXPECT_EQ(CString(L"D:\\路线\\a.b.hdx"), ToolDerivedPath(L"D:\\路线\\a.b.dat", L".hdx"));
    EXPECT_EQ(CString(L"D:\\路线\\一号路.SQX"), ToolDerivedPath(L"D:\\路线\\一号路", L".SQX"));
}
