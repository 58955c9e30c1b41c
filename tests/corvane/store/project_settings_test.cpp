// The project's three settings records and their exchange with the user's
// "Tavix3.ini".
#include "corvane/project/Project.h"
#include "store_support.h"
#include "support/MessageBoxScript.h"

using namespace store_test;

namespace {

class ProjectSettings : public ::testing::Test
{
protected:
    void SetUp() override { DeleteFileW(Ini()); }
    void TearDown() override { DeleteFileW(Ini()); }

    static CString Ini() { return SuiteDocumentFolder() + L"\\Tavix3.ini"; }
    static CString Value(const wchar_t* section, const wchar_t* key)
    {
        wchar_t buffer[256] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, Ini());
        return buffer;
    }
    static void Put(const wchar_t* section, const wchar_t* key, const wchar_t* value)
    {
        WritePrivateProfileStringW(section, key, value, Ini());
    }
};

} // namespace

TEST_F(ProjectSettings, StoringWritesEveryKeyOfTheThreeSections)
{
    tkxProject project;
    project.m_sPrjSetting0.m_iPrecision_Elv = 2;
    project.m_sPrjSetting0.m_bReserveZero = 0;
    project.m_sPrjSetting1.m_iZHDimStyle = 2;
    project.m_sPrjSetting1.m_SJD = L"交点";
    project.m_sPrjSetting2.m_rScale = 2.5;
    project.m_sPrjSetting2.m_iArrowType = 3;
    project.SaveBZSettings();

    EXPECT_EQ(CString(L"2"), Value(L"BZPrecision", L"m_sPrjSetting0.m_iPrecision_Elv"));
    EXPECT_EQ(CString(L"0"), Value(L"BZPrecision", L"m_sPrjSetting0.m_bReserveZero"));
    EXPECT_EQ(CString(L"3"), Value(L"BZPrecision", L"m_sPrjSetting0.m_iPrecision_A"));
    EXPECT_EQ(CString(L"交点"), Value(L"ZDString", L"m_sPrjSetting1.m_SJD"));
    EXPECT_EQ(CString(L"QZ"), Value(L"ZDString", L"m_sPrjSetting1.m_SQZ"));
    EXPECT_EQ(CString(L"2"), Value(L"ZDString", L"m_sPrjSetting1.m_iZHDimStyle"));
    EXPECT_EQ(CString(L"0"), Value(L"ZDString", L"m_sPrjSetting1.m_iNegativeZHDimStyle"));
    EXPECT_EQ(CString(L"2.500000000000000"), Value(L"SPXLength", L"m_sPrjSetting2.m_rScale"));
    EXPECT_EQ(CString(L"0.750000000000000"), Value(L"SPXLength", L"m_sPrjSetting2.m_rLengthRate"));
    EXPECT_EQ(CString(L"3"), Value(L"SPXLength", L"m_sPrjSetting2.m_iArrowType"));
    EXPECT_EQ(CString(L"0.200000000000000"), Value(L"SPXLength", L"m_sPrjSetting2.m_rArrowWidth"));
    // Storing changes nothing in memory.
    EXPECT_EQ(CString(L"交点"), project.m_sPrjSetting1.m_SJD);
}

TEST_F(ProjectSettings, LoadingReadsWhatWasStoredAndKeepsMissingKeys)
{
    tkxProject stored;
    stored.m_sPrjSetting0.m_iPrecision_ZH = 1;
    stored.m_sPrjSetting2.m_rDistance = 4.25;
    stored.m_sPrjSetting2.m_bByLengthRate = 1;
    stored.SaveBZSettings();
    WritePrivateProfileStringW(L"BZPrecision", L"m_sPrjSetting0.m_iPrecision_R", nullptr, Ini());

    tkxProject loaded;
    loaded.m_sPrjSetting0.m_iPrecision_R = 5;
    loaded.UpdateFromIni(1);
    EXPECT_EQ(1, loaded.m_sPrjSetting0.m_iPrecision_ZH);
    EXPECT_EQ(5, loaded.m_sPrjSetting0.m_iPrecision_R);
    EXPECT_EQ(4.25, loaded.m_sPrjSetting2.m_rDistance);
    EXPECT_EQ(1, loaded.m_sPrjSetting2.m_bByLengthRate);
}

TEST_F(ProjectSettings, LabelModeDecidesTheLabelTexts)
{
    struct Case {
        int mode;
        const wchar_t* jd;
        const wchar_t* hh;
        const wchar_t* qz;
    } cases[] = {
        {0, L"JD", L"GQ", L"QZ"},
        {1, L"TP", L"PCC", L"CM"},
        {2, L"自定义", L"GQ", L"中"},
    };
    for (const Case& c : cases) {
        // The file holds pinyin texts but for two custom ones.
        tkxProject stored;
        stored.m_sPrjSetting1.m_iMode = c.mode;
        stored.m_sPrjSetting1.m_SJD = L"自定义";
        stored.m_sPrjSetting1.m_SQZ = L"中";
        stored.SaveBZSettings();

        tkxProject loaded;
        loaded.UpdateFromIni(1);
        EXPECT_EQ(c.mode, loaded.m_sPrjSetting1.m_iMode);
        EXPECT_EQ(CString(c.jd), loaded.m_sPrjSetting1.m_SJD) << "mode " << c.mode;
        EXPECT_EQ(CString(c.hh), loaded.m_sPrjSetting1.m_SHH) << "mode " << c.mode;
        EXPECT_EQ(CString(c.qz), loaded.m_sPrjSetting1.m_SQZ) << "mode " << c.mode;
    }
}

TEST_F(ProjectSettings, TinyArrowValuesAreReplaced)
{
    Put(L"SPXLength", L"m_sPrjSetting2.m_rArrowLength", L"0.0000001");
    Put(L"SPXLength", L"m_sPrjSetting2.m_rArrowWidth", L"0");
    tkxProject project;
    project.UpdateFromIni(1);
    EXPECT_EQ(1.0, project.m_sPrjSetting2.m_rArrowLength);
    EXPECT_EQ(0.25, project.m_sPrjSetting2.m_rArrowWidth);
}

TEST_F(ProjectSettings, LoadingAProjectReadsTheSettings)
{
    ScratchFolder folder(L"prjini");
    tkxProject stored;
    stored.m_SName = L"P";
    stored.m_SPath = folder.Path();
    stored.m_sPrjSetting1.m_iMode = 1;
    stored.m_sPrjSetting0.m_iPrecision_Slope = 2;
    ASSERT_EQ(1, stored.Save());
    // The project file does not carry the settings: only the INI does.
    tkxProject plain;
    plain.SaveBZSettings();
    Put(L"ZDString", L"m_sPrjSetting1.m_iMode", L"1");

    tkxProject loaded;
    ASSERT_EQ(1, loaded.Load(folder / L"P.EPJ"));
    EXPECT_EQ(4, loaded.m_sPrjSetting0.m_iPrecision_Slope);
    EXPECT_EQ(CString(L"BP"), loaded.m_sPrjSetting1.m_SQD);
}
