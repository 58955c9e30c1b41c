// Station, number and angle texts, following the current project's settings.
#include "corvane/project/TavixInterface.h"
#include "interface_test_support.h"

using namespace interface_test;

namespace {

struct Style {
    int precision;
    int keepZeros;
    int prefix;
    int negative;
};

// Makes the current project's station settings these.
void UseStyle(const Style& style)
{
    tkxProject project;
    tkx_GetCurProject(project);
    project.m_sPrjSetting0.m_iPrecision_ZH = style.precision;
    project.m_sPrjSetting0.m_bReserveZero = style.keepZeros;
    project.m_sPrjSetting1.m_iZHDimStyle = style.prefix;
    project.m_sPrjSetting1.m_iNegativeZHDimStyle = style.negative;
    tkx_SetCurProject(&project);
}

class StationText : public ::testing::Test
{
protected:
    void SetUp() override { ResetLibraryState(); }
    void TearDown() override { ResetLibraryState(); }
};

struct StationCase {
    Style style;
    double station;
    short decimals;
    const wchar_t* text;
};

TEST_F(StationText, FollowsThePrefixNegativeAndZeroStyles)
{
    const Style plain = {3, 0, 0, 0};
    const StationCase cases[] = {
        {plain, 12345.678, 3, L"K12+345.678"},
        {plain, 12345.0, 3, L"K12+345"},
        {plain, 12005.5, 3, L"K12+005.5"},
        {plain, 12050.25, 3, L"K12+050.25"},
        {plain, 12000.0, 3, L"K12+000"},
        {plain, 345.6, 3, L"K0+345.6"},
        {plain, 12345.678, 0, L"K12+346"},
        {plain, 12345.678, 1, L"K12+345.7"},
        {{3, 1, 0, 0}, 12000.0, 3, L"K12+000.000"},
        {{3, 1, 0, 0}, 12345.0, 3, L"K12+345.000"},
        {{3, 1, 0, 0}, 12005.5, 3, L"K12+005.500"},
        {{3, 1, 0, 0}, 12345.0, 0, L"K12+345"},
        {{3, 0, 1, 0}, 12345.678, 3, L"12K+345.678"},
        {{3, 0, 2, 0}, 12345.678, 3, L"12+345.678"},
        {{3, 0, 7, 0}, 12345.678, 3, L"12+345.678"},
        // Negative stations: style 1 counts back from the kilometre below.
        {{3, 0, 0, 1}, -1234.5, 3, L"K-2+765.5"},
        {{3, 0, 0, 0}, -1234.5, 3, L"K-1-234.5"},
        {{3, 0, 0, 2}, -1234.5, 3, L"K-1-234.5"},
        {{3, 0, 0, 1}, -2000.0, 3, L"K-2+000"},
        {{3, 0, 0, 0}, -2000.0, 3, L"K-2-000"},
        {{3, 0, 0, 1}, -234.5, 3, L"K-1+765.5"},
        {{3, 0, 1, 1}, -1234.5, 3, L"-2K+765.5"},
        {{3, 0, 2, 1}, -1234.5, 3, L"-2+765.5"},
        {{3, 0, 1, 0}, -1234.5, 3, L"-1K-234.5"},
        {{3, 1, 0, 1}, -1234.5, 3, L"K-2+765.500"},
        // A value that rounds to nothing is not negative.
        {plain, -0.0004, 3, L"K0+000"},
    };
    for (const StationCase& c : cases) {
        UseStyle(c.style);
        EXPECT_STREQ(c.text, tkx_ChangeZhToString(c.station, c.decimals))
            << c.station << " at " << c.decimals << " decimals, style " << c.style.prefix << "/" << c.style.negative
            << ", keep zeros " << c.style.keepZeros;
    }
}

// Metre values that round up to the next ten, hundred or kilometre keep the
// metre field at three whole digits, and a whole kilometre carries.
TEST_F(StationText, RoundingUpKeepsTheMetreFieldWidthAndCarriesTheKilometre)
{
    const StationCase cases[] = {
        {{3, 0, 0, 0}, 12009.999995, 6, L"K12+010"},
        {{3, 0, 0, 0}, 12099.999995, 6, L"K12+100"},
        {{3, 0, 0, 0}, 12999.999995, 6, L"K13+000"},
        {{3, 0, 0, 0}, 12099.9999995, 7, L"K12+100"},
        {{3, 0, 0, 0}, 12999.9996, 3, L"K13+000"},
        {{3, 1, 0, 0}, 12009.9996, 3, L"K12+010.000"},
        {{3, 1, 0, 0}, 12099.9999995, 7, L"K12+099.9999995"},
        {{3, 1, 0, 0}, 12999.9996, 3, L"K13+000.000"},
        {{3, 0, 0, 0}, 12099.9996, 3, L"K12+100"},
        {{3, 0, 0, 0}, 12010.0 - 1e-12, 3, L"K12+010"},
        {{3, 0, 0, 0}, 12100.0 - 1e-11, 3, L"K12+100"},
        {{3, 0, 0, 1}, -1000.0004, 3, L"K-1+000"},
    };
    for (const StationCase& c : cases) {
        UseStyle(c.style);
        EXPECT_STREQ(c.text, tkx_ChangeZhToString(c.station, c.decimals))
            << c.station << " at " << c.decimals << " decimals, keep zeros " << c.style.keepZeros;
    }
}

TEST_F(StationText, NegativeDecimalsFollowTheProjectsPrecisionAtEachCall)
{
    UseStyle({2, 0, 0, 0});
    EXPECT_STREQ(L"K12+345.68", tkx_ChangeZhToString(12345.678, -1));
    UseStyle({1, 0, 0, 0});
    EXPECT_STREQ(L"K12+345.7", tkx_ChangeZhToString(12345.678, -1));
    UseStyle({4, 1, 1, 0});
    EXPECT_STREQ(L"12K+345.6780", tkx_ChangeZhToString(12345.678, -1));
}

TEST_F(StationText, NumberTextKeepsOrDropsZeros)
{
    struct Case {
        int projectKeepsZeros;
        double value;
        unsigned short decimals;
        short keep;
        const wchar_t* text;
    } cases[] = {
        {0, 1.5, 3, 0, L"1.5"},        {0, 2.0, 3, 0, L"2"},         {0, 100.0, 0, 0, L"100"},
        {0, 1.5, 3, 1, L"1.500"},      {0, 1.5, 3, 5, L"1.500"},     {1, 1.5, 3, -1, L"1.500"},
        {0, 1.5, 3, -1, L"1.5"},       {0, 1.25, 1, 1, L"1.3"},      {0, -1.25, 1, 1, L"-1.3"},
        {0, 0.5, 0, 1, L"1"},          {0, -0.5, 0, 1, L"-1"},       {0, -0.0004, 3, 1, L"0.000"},
        {0, 1234.5678, 10, 0, L"1234.5678"}, {0, 1.0, 11, 1, L"位数太多"}, {0, 120.0, 2, 0, L"120"},
    };
    for (const Case& c : cases) {
        UseStyle({3, c.projectKeepsZeros, 0, 0});
        EXPECT_STREQ(c.text, tkx_DToS(c.value, c.decimals, c.keep)) << c.value << " " << c.decimals << " " << c.keep;
    }
}

TEST_F(StationText, RoundingIsHalfAwayFromZero)
{
    EXPECT_DOUBLE_EQ(123.13, tkx_DToF(123.125, 2));
    EXPECT_DOUBLE_EQ(-123.13, tkx_DToF(-123.125, 2));
    EXPECT_DOUBLE_EQ(3.0, tkx_DToF(2.5, 0));
    EXPECT_DOUBLE_EQ(-3.0, tkx_DToF(-2.5, 0));
    EXPECT_DOUBLE_EQ(0.1234567891, tkx_DToF(0.12345678906, 10));
    EXPECT_DOUBLE_EQ(1e9 + 0.25, tkx_DToF(1e9 + 0.25, 3));
}

TEST(DegreeText, DegreesToText)
{
    struct Case {
        double degrees;
        const wchar_t* text;
    } cases[] = {
        {12.5, L"12d30'00.0\""},
        {-12.5, L"-12d30'00.0\""},
        {10.99999, L"11d0'00.0\""},
        {0.0025, L"0d0'09.0\""},
        {9.96 / 3600.0, L"0d0'10.0\""},
        {1.0 + 2.0 / 60 + 3.3 / 3600, L"1d2'03.3\""},
        {45.0 + 12.0 / 60 + 34.5 / 3600, L"45d12'34.5\""},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.text, tkx_DegreeD_To_S(c.degrees)) << c.degrees;
    EXPECT_STREQ(L"45d0'00.0\"", tkx_DegreeR_To_S(3.141592653589793 / 4));
}

TEST(DegreeText, TextToDegrees)
{
    struct Case {
        const wchar_t* text;
        double degrees;
    } cases[] = {
        {L"12d30'15\"", 12.0 + 30.0 / 60 + 15.0 / 3600},
        {L"12°30′15″", 12.0 + 30.0 / 60 + 15.0 / 3600},
        {L"12d30m15s", 12.0 + 30.0 / 60 + 15.0 / 3600},
        {L"12°30'15.5\"", 12.0 + 30.0 / 60 + 15.5 / 3600},
        {L"-12d30'", -12.5},
        {L"-0d30'", -0.5},
        {L" -0d30'", -0.5},
        {L"-30'", -0.5},
        {L"30'", 0.5},
        {L"45d", 45.0},
        {L"12d30\"", 12.0 + 30.0 / 3600},
        {L"12d 30' 15\" N", 12.0 + 30.0 / 60 + 15.0 / 3600},
        {L"12.5", 0.0},
        {L"", 0.0},
    };
    for (const Case& c : cases) {
        double degrees = 999.0;
        EXPECT_EQ(1, tkx_DegreeS_To_D(c.text, degrees)) << Utf8(c.text);
        EXPECT_NEAR(c.degrees, degrees, 1e-12) << Utf8(c.text);
    }
}

TEST(DegreeText, BadPartsAreNamedAndLeaveTheOutput)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {L"1x2d30'", L"输入角度字符[1x2d30']中, 度数位(1x2)包含错误字符! "},
        {L"12d3a'", L"输入角度字符[12d3a']中, 分数位(3a)包含错误字符!"},
        {L"12°30′1.2.3″", L"输入角度字符[12d30'1.2.3\"]中, 秒数位(1.2.3)包含错误字符! "},
        // The first of each mark divides; a later one is shown plain in the part it spoils.
        {L"1°2°3′", L"输入角度字符[1d2d3']中, 分数位(2d3)包含错误字符!"},
        {L"1d2m3m4s", L"输入角度字符[1d2'3'4\"]中, 秒数位(3'4)包含错误字符! "},
    };
    for (const Case& c : cases) {
        tkx_SetLastError(nullptr);
        double degrees = 7.0;
        EXPECT_EQ(0, tkx_DegreeS_To_D(c.text, degrees)) << Utf8(c.text);
        EXPECT_EQ(7.0, degrees);
        EXPECT_STREQ(c.message, tkx_GetLastError());
    }
}

TEST(DegreeText, DeflectionAndSignedText)
{
    struct Case {
        double degrees;
        int signForm;
        const wchar_t* text;
    } cases[] = {
        {10.1, 1, L"10°06'00\""},
        {10.15, 1, L"10°09'00\""},
        {-10.15, 0, L"右偏 10°09'00\""},
        {23.45, 1, L"23°27'00\""},
        {33.3, 1, L"33°18'00\""},
        {0.1, 1, L"0°06'00\""},
        {-35.5, 0, L"右偏 35°30'00\""},
        {35.5, 0, L"左偏 35°30'00\""},
        {0.0, 0, L"左偏 0°00'00\""},
        {-12.5125, 1, L"-12°30'45\""},
        {12.5125, 1, L"12°30'45\""},
        {12.5085, 1, L"12°30'30.6\""},
        {12.0 + 15.0 / 60 + 5.04 / 3600, 1, L"12°15'05\""},
        {59.99999, 1, L"60°00'00\""},
        {-0.00001, 1, L"0°00'00\""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, tkx_TransformToDegree(c.degrees, c.signForm)) << c.degrees << " form " << c.signForm;
}

} // namespace
