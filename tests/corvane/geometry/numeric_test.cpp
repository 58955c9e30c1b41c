// Numeric and text helpers: colour table, conversions, the formatted message
// box, number text, plan geometry on raw coordinates and the sorts.
#include "corvane/geometry/Numeric.h"
#include "corvane/base/LastError.h"
#include "support/DigitTexts.h"
#include "support/MessageBoxScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const double kPi = 3.141592653589793;

struct Rgb {
    int r, g, b;
};

Rgb Colour(int index)
{
    const COLORREF c = tkx_COLORREFByAcadIndex(static_cast<short>(index));
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

std::vector<CString> Texts(const CStringArray& a)
{
    return std::vector<CString>(a.begin(), a.end());
}

} // namespace

TEST(NumericColour, TableEntries)
{
    struct Case {
        int index;
        Rgb rgb;
    };
    const Case cases[] = {
        {0, {255, 255, 255}},   {-3, {255, 255, 255}},  {256, {255, 255, 255}},  {1000, {255, 255, 255}},
        {1, {255, 0, 0}},       {2, {255, 255, 0}},     {3, {0, 255, 0}},        {4, {0, 255, 255}},
        {5, {0, 0, 255}},       {6, {255, 0, 255}},     {7, {255, 255, 255}},    {8, {128, 128, 128}},
        {9, {192, 192, 192}},
        // the red hue: five values, each at full and half saturation
        {10, {255, 0, 0}},      {11, {255, 127, 127}},  {12, {204, 0, 0}},       {13, {204, 102, 102}},
        {14, {153, 0, 0}},      {15, {153, 76, 76}},    {16, {127, 0, 0}},       {17, {127, 63, 63}},
        {18, {76, 0, 0}},       {19, {76, 38, 38}},
        // round the ring in 15-degree steps
        {20, {255, 63, 0}},     {21, {255, 159, 127}},  {30, {255, 127, 0}},     {40, {255, 191, 0}},
        {50, {255, 255, 0}},    {60, {191, 255, 0}},    {90, {0, 255, 0}},       {130, {0, 255, 255}},
        {170, {0, 0, 255}},     {210, {255, 0, 255}},   {240, {255, 0, 63}},     {249, {76, 38, 47}},
        // greys
        {250, {51, 51, 51}},    {251, {91, 91, 91}},    {252, {132, 132, 132}},  {253, {173, 173, 173}},
        {254, {214, 214, 214}}, {255, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        const Rgb got = Colour(c.index);
        EXPECT_EQ(c.rgb.r, got.r) << "index " << c.index;
        EXPECT_EQ(c.rgb.g, got.g) << "index " << c.index;
        EXPECT_EQ(c.rgb.b, got.b) << "index " << c.index;
    }
    EXPECT_EQ(0x0000FFu, tkx_COLORREFByAcadIndex(1)) << "red in the low byte";
}

TEST(NumericColour, HueRingShape)
{
    static const int kValues[5] = {255, 204, 153, 127, 76};
    for (int index = 10; index < 250; ++index) {
        const Rgb c = Colour(index);
        const int shade = (index - 10) % 10;
        const int hi = std::max({c.r, c.g, c.b});
        const int lo = std::min({c.r, c.g, c.b});
        EXPECT_EQ(kValues[shade / 2], hi) << "index " << index;
        if (shade % 2 == 0)
            EXPECT_EQ(0, lo) << "index " << index << " is fully saturated";
        else
            EXPECT_EQ(kValues[shade / 2] / 2, lo) << "index " << index << " is half saturated";
    }
}

TEST(NumericMessage, FormatsAndShowsThroughTheLibraryBox)
{
    MessageBoxScript boxes;
    boxes.Answer(IDYES);
    EXPECT_EQ(IDYES, ShowFormattedMessage(nullptr, MB_YESNO, L"文件%s第%d行", L"甲.DL", 12));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_STREQ(L"文件甲.DL第12行", boxes.Shown()[0].text.GetString());
    EXPECT_STREQ(L"TAVIX", boxes.Shown()[0].caption.GetString());
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.Shown()[0].type);

    // Type 0 means the exclamation icon; a text longer than any fixed
    // buffer is shown whole.
    const std::wstring longText(3000, L'长');
    ShowFormattedMessage(nullptr, 0, L"%s|%.3f", longText.c_str(), 0.70005);
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.Shown()[1].type);
    EXPECT_EQ(longText + L"|0.700", boxes.Shown()[1].text.str());
}

// The box belongs to the given window only while that window is visible.
TEST(NumericMessage, OwnedByAVisibleWindowOnly)
{
    struct Seen {
        std::vector<HWND> owners;
    } seen;
    auto hook = [](HWND owner, const wchar_t*, const wchar_t*, UINT, void* context) {
        static_cast<Seen*>(context)->owners.push_back(owner);
        return IDOK;
    };
    void* previousContext = nullptr;
    const ClMessageBoxHook previous = ClSetMessageBoxHook(hook, &seen, &previousContext);

    // Shown without being activated: this program runs beside programs that
    // show windows on the same desktop, whose focus it must not take.
    const HWND shown = ::CreateWindowExW(0, L"STATIC", L"shown", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                         nullptr, nullptr);
    const HWND hidden = ::CreateWindowExW(0, L"STATIC", L"hidden", WS_POPUP, 0, 0, 20, 20, nullptr,
                                          nullptr, nullptr, nullptr);
    ASSERT_TRUE(shown && hidden);
    ::ShowWindow(shown, SW_SHOWNOACTIVATE);
    CWnd visibleOwner;
    visibleOwner.m_hWnd = shown;
    CWnd hiddenOwner;
    hiddenOwner.m_hWnd = hidden;
    CWnd noWindow;

    ShowFormattedMessage(&visibleOwner, MB_OK, L"a");
    ShowFormattedMessage(&hiddenOwner, MB_OK, L"b");
    ShowFormattedMessage(&noWindow, MB_OK, L"c");
    ShowFormattedMessage(nullptr, MB_OK, L"d");

    visibleOwner.m_hWnd = nullptr;
    hiddenOwner.m_hWnd = nullptr;
    ::DestroyWindow(shown);
    ::DestroyWindow(hidden);
    ClSetMessageBoxHook(previous, previousContext);

    EXPECT_EQ((std::vector<HWND>{shown, nullptr, nullptr, nullptr}), seen.owners);
}

TEST(NumericText, CodePageConversions)
{
    // "道路" in code page 936.
    const char gbk[] = "\xB5\xC0\xC2\xB7";
    wchar_t wide[8] = {L'x', L'x', L'x', L'x', L'x', L'x', L'x', L'x'};
    AnsiToWide(gbk, wide);
    EXPECT_STREQ(L"道路", wide);

    char oem[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(5, WideToOem(L"道路", oem)) << "four bytes and the terminator";
    EXPECT_STREQ(gbk, oem);
    EXPECT_EQ(1, WideToOem(L"", oem));
    EXPECT_EQ('\0', oem[0]);

    EXPECT_STREQ(L"道路", AnsiToCString(gbk).GetString());
    const std::string longAnsi(5000, 'a');
    EXPECT_EQ(5000, AnsiToCString(longAnsi.c_str()).GetLength()) << "no cut at a fixed buffer";
    EXPECT_TRUE(AnsiToCString(nullptr).IsEmpty());
}

TEST(NumericText, NumberTest)
{
    struct Case {
        const wchar_t* text;
        bool numeric;
        double value;
    };
    const Case cases[] = {
        {L"12.5", true, 12.5},
        {L" \t-3.25\t ", true, -3.25},
        {L"+7", true, 7},
        {L".5", true, 0.5},
        {L"5.", true, 5},
        {L"1e5", false, 0},     // no exponent form
        // Only a whole field is a number: nothing may follow its digits.
        {L"1 2", false, 0},
        {L"1__2", false, 0},
        {L"1;5", false, 0},
        {L"1_2_3", false, 0},
        {L"\xFF11.5", false, 0},   // a full-width digit one
        {L"12\x3000", false, 0},   // a full-width blank
        {L"+-5", false, 0},
        {L"0x10", false, 0},
        {L"inf", false, 0},
        {L"1.2.3", false, 0},
        {L"5-3", false, 0},
        {L"--5", false, 0},
        {L"K12", false, 0},
        // texts without any digit hold no number
        {L"", false, 0},
        {L"   ", false, 0},
        {L"+", false, 0},
        {L"-", false, 0},
        {L".", false, 0},
        {L"-.", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text [" << CString(c.text).GetLength() << "] "
                                        << std::string(c.text, c.text + wcslen(c.text)));
        EXPECT_EQ(c.numeric, IsNumericString(c.text));
        double value = -999;
        EXPECT_EQ(c.numeric, StringToDouble(c.text, &value));
        EXPECT_DOUBLE_EQ(c.numeric ? c.value : -999, value);
    }
}

// The value is the double nearest to the decimal text (ties to even), at any
// length; values beyond the double range are refused, values below it read
// as zero.
TEST(NumericText, NumbersConvertExactly)
{
    const std::wstring zeros307(307, L'0');
    struct Case {
        std::wstring text;
        uint64_t bits;
    };
    const Case cases[] = {
        {L"0.1", 0x3fb999999999999aull},
        {L"-0.3", 0xbfd3333333333333ull},
        {L"-0", 0x8000000000000000ull},
        {L"9007199254740993", 0x4340000000000000ull},   // halfway: to even
        {L"9007199254740995", 0x4340000000000002ull},
        {L"123456789012345678901234567890.5", 0x45f8ee90ff6c373eull},
        // More significant digits than the quick conversion holds keep their sign.
        {L"-123456789012345678901234567890.5", 0xc5f8ee90ff6c373eull},
        {L"-12345678901234567890", 0xc3e56a95319d63e1ull},
        {L"-1.00000000000000011102230246251565404236316680908203126", 0xbff0000000000001ull},
        {L"1.00000000000000011102230246251565404236316680908203125", 0x3ff0000000000000ull},
        {L"1.00000000000000011102230246251565404236316680908203126", 0x3ff0000000000001ull},
        {L"100.00000000000000000000", 0x4059000000000000ull},   // as the unit file writes
        {L"0." + zeros307 + L"22250738585072011", 0x000fffffffffffffull},
        {L"0." + zeros307 + L"22250738585072012", 0x0010000000000000ull},
        {L"0." + std::wstring(400, L'0') + L"1", 0},
        // Just below the halfway point between the largest double and 2^1024.
        {L"179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207"
         L"096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764"
         L"475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177"
         L"904174497791",
         0x7fefffffffffffffull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text.begin(), c.text.begin() + std::min<size_t>(c.text.size(), 60)));
        double value = -999;
        ASSERT_TRUE(StringToDouble(c.text.c_str(), &value));
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        EXPECT_EQ(c.bits, bits);
    }

    const std::wstring refused[] = {
        L"1" + std::wstring(400, L'0'),
        L"-1" + std::wstring(309, L'0') + L".5",
        // The halfway point itself rounds to 2^1024: beyond the range.
        L"179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207"
        L"096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764"
        L"475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177"
        L"904174497792",
        L"1e999",
    };
    for (const std::wstring& text : refused) {
        SCOPED_TRACE(testing::Message() << std::string(text.begin(), text.begin() + std::min<size_t>(text.size(), 60)));
        double value = -999;
        EXPECT_FALSE(IsNumericString(text.c_str()));
        EXPECT_FALSE(StringToDouble(text.c_str(), &value));
        EXPECT_EQ(-999, value);
    }
}

// Digits in every arrangement around the borders of the quick conversion
// (19 significant digits, 2^53, zeros that end the fraction, zeros inside it,
// no whole part, no fraction) read as the exact conversion reads them.
TEST(NumericText, DigitArrangementsConvertExactly)
{
    test_support::DigitTexts texts(12345);
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string text = texts.Text(23, true);
        if (text.find_first_of("0123456789") == std::string::npos) continue;

        double exact = 0.0;
        ASSERT_TRUE(test_support::DigitTexts::Exact(text, exact)) << text;
        const std::wstring wide(text.begin(), text.end());
        double value = -999;
        ASSERT_TRUE(StringToDouble(wide.c_str(), &value)) << text;
        ASSERT_EQ(test_support::Bits(exact), test_support::Bits(value)) << text;
        ++checked;
    }
    EXPECT_GT(checked, 15000);
}

TEST(NumericPlan, DistancePolarAndSides)
{
    const double a[3] = {1, 2, 3};
    const double b[3] = {4, 6, -7};
    EXPECT_DOUBLE_EQ(5.0, PointDistance2d(a, b));

    double out[3];
    PolarPoint(a, kPi / 2, 10, out);
    EXPECT_NEAR(1.0, out[0], 1e-12);
    EXPECT_NEAR(12.0, out[1], 1e-12);
    EXPECT_EQ(3.0, out[2]);

    const double o[2] = {0, 0}, e[2] = {10, 0};
    const double up[2] = {5, 1}, down[2] = {5, -1}, on[2] = {20, 0}, nearly[2] = {5, 1e-12};
    EXPECT_EQ(1, GetPointSide(o, e, up));
    EXPECT_EQ(-1, GetPointSide(o, e, down));
    EXPECT_EQ(0, GetPointSide(o, e, on));
    EXPECT_EQ(0, GetPointSide(o, e, nearly));
}

TEST(NumericPlan, DirectionAndAzimuthAtTheAxes)
{
    const double a[2] = {100, 200};
    struct Case {
        double b[2];
        double direction;
        double azimuth;
    };
    const Case cases[] = {
        {{100, 201}, kPi / 2, 0.0},
        {{101, 200}, 0.0, kPi / 2},
        {{100, 199}, 4.71238898038469, kPi},
        {{99, 200}, kPi, 1.5 * kPi},
        {{101, 201}, kPi / 4, kPi / 4},
        {{99, 201}, 0.75 * kPi, 1.75 * kPi},
        {{101, 199}, 1.75 * kPi, 0.75 * kPi},
        {{100, 200}, 0.0, kPi / 2},   // coincident points
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.b[0] << "," << c.b[1]);
        EXPECT_NEAR(c.direction, DirectionAngle(a, c.b), 1e-12);
        EXPECT_NEAR(c.azimuth, DirectionAzimuth(a, c.b), 1e-12);
    }
}

TEST(NumericPlan, NormalizeAngleNearZeroAndFullTurn)
{
    const double twoPi = 2 * kPi;
    struct Case {
        double angle;
        double normal;
    };
    const Case cases[] = {
        {0.0, 0.0},         {5e-9, 0.0},          {-5e-9, 0.0},        {twoPi, 0.0},
        {twoPi - 5e-9, 0.0}, {-twoPi, 0.0},
        // only the input and the final result are tested against 0 and 2 pi
        {twoPi + 5e-9, 5e-9}, {-twoPi + 5e-9, 5e-9},
        {1.0, 1.0},         {-0.5, twoPi - 0.5},  {twoPi + 0.5, 0.5},  {7 * kPi, kPi},
        {-3 * twoPi - 1.0, twoPi - 1.0},          {twoPi - 2e-8, twoPi - 2e-8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle);
        EXPECT_NEAR(c.normal, NormalizeAngle(c.angle), 1e-9);
    }
    const double big = NormalizeAngle(1e12);
    EXPECT_TRUE(big >= 0.0 && big < twoPi) << big;
    NormalizeAngle(HUGE_VAL);   // must return, whatever it makes of it
}

TEST(NumericPlan, FootOfThePerpendicular)
{
    const double a[3] = {0, 0, 0}, b[3] = {10, 0, 0}, p[3] = {3, 5, 9};
    double foot[3] = {-1, -1, -1};
    EXPECT_EQ(1, GetFootPointSide(a, b, p, foot));
    EXPECT_NEAR(3.0, foot[0], 1e-9);
    EXPECT_NEAR(0.0, foot[1], 1e-9);

    // An oblique line far from the origin; the foot lies beyond the end.
    const double c[2] = {500000, 3000000}, d[2] = {500010, 3000010}, q[2] = {500020, 3000000};
    EXPECT_EQ(1, GetFootPointSide(c, d, q, foot));
    EXPECT_NEAR(500010, foot[0], 1e-6);
    EXPECT_NEAR(3000010, foot[1], 1e-6);

    EXPECT_EQ(1, GetFootPointSide(a, b, b, foot)) << "a point on the line is its own foot";
    EXPECT_NEAR(10.0, foot[0], 1e-9);

    const double same[2] = {0, 0};
    EXPECT_EQ(0, GetFootPointSide(a, same, p, foot)) << "no line";
}

TEST(NumericSort, StringsWithoutRegardToCase)
{
    CStringArray texts;
    for (const wchar_t* t : {L"b", L"A", L"c"})
        texts.Add(t);
    tkx_StringPibub(texts, 0);
    EXPECT_EQ((std::vector<CString>{L"c", L"b", L"A"}), Texts(texts));
    tkx_StringPibub(texts, 1);
    EXPECT_EQ((std::vector<CString>{L"A", L"b", L"c"}), Texts(texts));
    tkx_StringPibub(texts, 2);
    EXPECT_EQ((std::vector<CString>{L"A", L"b", L"c"}), Texts(texts)) << "other flags leave the order";
    tkx_StringPibub(texts, -1);
    EXPECT_EQ((std::vector<CString>{L"A", L"b", L"c"}), Texts(texts));

    // Texts equal but for case keep their order, both ways.
    CStringArray same;
    for (const wchar_t* t : {L"road", L"ROAD", L"z", L"Road", L"a"})
        same.Add(t);
    tkx_StringPibub(same, 1);
    EXPECT_EQ((std::vector<CString>{L"a", L"road", L"ROAD", L"Road", L"z"}), Texts(same));
    tkx_StringPibub(same, 0);
    EXPECT_EQ((std::vector<CString>{L"z", L"road", L"ROAD", L"Road", L"a"}), Texts(same));
}

TEST(NumericSort, StationsAndNumbers)
{
    CArray<Tavix4::sZHName, Tavix4::sZHName> records;
    const std::pair<double, const wchar_t*> input[] = {
        {300, L"c"}, {100, L"a1"}, {200, L"b"}, {100, L"a2"}, {50, L"s"}, {100, L"a3"}};
    for (const auto& r : input) {
        Tavix4::sZHName rec;
        rec.station = r.first;
        rec.name = r.second;
        records.Add(rec);
    }
    tkx_ZHPibubUp(records);
    const wchar_t* names[] = {L"s", L"a1", L"a2", L"a3", L"b", L"c"};
    ASSERT_EQ(6, records.GetSize());
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(names[i], records[i].name.GetString()) << i;

    CArray<double, double> values;
    for (double v : {3.0, -1.0, 2.5, 3.0, 0.0, -7.25})
        values.Add(v);
    tkx_PibubUp(values);
    EXPECT_EQ((std::vector<double>{-7.25, -1.0, 0.0, 2.5, 3.0, 3.0}), std::vector<double>(values.begin(), values.end()));
    tkx_PibubDown(values);
    EXPECT_EQ((std::vector<double>{3.0, 3.0, 2.5, 0.0, -1.0, -7.25}), std::vector<double>(values.begin(), values.end()));

    CArray<double, double> none;
    tkx_PibubUp(none);
    tkx_PibubDown(none);
    EXPECT_EQ(0, none.GetSize());
}

TEST(NumericPolynomial, RootsAndTheirPositions)
{
    // x^2 - 3x + 2: the search starts near 0 and finds 1 first; roots are
    // stored from the top position down.
    {
        double a[] = {2, -3, 1};
        double re[2], im[2];
        ASSERT_EQ(1, tkx_Polynomial_Newtom(a, 2, re, im));
        EXPECT_NEAR(1.0, re[1], 1e-9);
        EXPECT_NEAR(2.0, re[0], 1e-9);
        EXPECT_EQ(0.0, im[0]);
        EXPECT_EQ(0.0, im[1]);
    }
    // x^2 + 1: a complex pair, x - iy above x + iy.
    {
        double a[] = {1, 0, 1};
        double re[2], im[2];
        ASSERT_EQ(1, tkx_Polynomial_Newtom(a, 2, re, im));
        EXPECT_NEAR(0.0, re[0], 1e-9);
        EXPECT_NEAR(0.0, re[1], 1e-9);
        EXPECT_NEAR(-im[0], im[1], 1e-12);
        EXPECT_NEAR(1.0, std::fabs(im[0]), 1e-9);
        EXPECT_GT(im[0], 0.0);
    }
    // x^3 - x: the zero root is taken out first, into the top position.
    {
        double a[] = {0, -1, 0, 1};
        double re[3] = {9, 9, 9}, im[3] = {9, 9, 9};
        ASSERT_EQ(1, tkx_Polynomial_Newtom(a, 3, re, im));
        EXPECT_EQ(0.0, re[2]);
        EXPECT_EQ(0.0, im[2]);
        EXPECT_NEAR(1.0, std::fabs(re[0]), 1e-9);
        EXPECT_NEAR(-re[0], re[1], 1e-9);
    }
    // Vanishing top coefficients lower the degree; the positions above it
    // are cleared.
    {
        double a[] = {2, -3, 1, 0, 1e-20};
        double re[4] = {9, 9, 9, 9}, im[4] = {9, 9, 9, 9};
        ASSERT_EQ(1, tkx_Polynomial_Newtom(a, 4, re, im));
        EXPECT_NEAR(1.0, re[1], 1e-9);
        EXPECT_NEAR(2.0, re[0], 1e-9);
        for (int i = 2; i < 4; ++i) {
            EXPECT_EQ(0.0, re[i]);
            EXPECT_EQ(0.0, im[i]);
        }
    }
    // Linear: 4 - 2x.
    {
        double a[] = {4, -2};
        double re[1], im[1];
        ASSERT_EQ(1, tkx_Polynomial_Newtom(a, 1, re, im));
        EXPECT_NEAR(2.0, re[0], 1e-9);
        EXPECT_EQ(0.0, im[0]);
    }
}

TEST(NumericPolynomial, HigherDegreesFindEveryRoot)
{
    struct Root {
        double re, im;
    };
    // (x - 3)(x^2 + 2x + 5)(x - 1)(x + 4)(x^2 - 6x + 13) times 2.5, expanded.
    const std::vector<Root> expected = {{3, 0}, {-1, 2}, {-1, -2}, {1, 0}, {-4, 0}, {3, 2}, {3, -2}};
    std::vector<std::complex<double>> poly = {{2.5, 0}};   // coefficients, constant first
    for (const Root& r : expected) {
        std::vector<std::complex<double>> next(poly.size() + 1);
        for (size_t i = 0; i < poly.size(); ++i) {
            next[i + 1] += poly[i];
            next[i] -= poly[i] * std::complex<double>(r.re, r.im);
        }
        poly = next;
    }
    const int n = static_cast<int>(expected.size());
    std::vector<double> a;
    for (const auto& c : poly)
        a.push_back(c.real());
    std::vector<double> re(n), im(n);
    ASSERT_EQ(1, tkx_Polynomial_Newtom(a.data(), n, re.data(), im.data()));

    std::vector<bool> used(n, false);
    for (const Root& r : expected) {
        int match = -1;
        for (int i = 0; i < n; ++i) {
            if (!used[i] && std::hypot(re[i] - r.re, im[i] - r.im) < 1e-6) {
                match = i;
                break;
            }
        }
        EXPECT_GE(match, 0) << "root " << r.re << " " << r.im;
        if (match >= 0)
            used[match] = true;
    }
    // A complex pair fills two neighbouring positions.
    for (int i = 0; i + 1 < n; i += 1) {
        if (std::fabs(im[i]) > 1e-9 && im[i] == -im[i + 1]) {
            EXPECT_EQ(re[i], re[i + 1]);
            ++i;
        } else {
            EXPECT_LT(std::fabs(im[i]), 1e-9) << "position " << i << " holds half a pair";
        }
    }
}

TEST(NumericPolynomial, NoDegreeLeftFails)
{
    tkx_SetLastError(nullptr);
    double a[] = {5, 0, 0};
    double re[2], im[2];
    EXPECT_EQ(-1, tkx_Polynomial_Newtom(a, 2, re, im));
    EXPECT_STREQ(L"求解实系数代数方程时出错，请检查方程阶数和各系数", tkx_GetLastError().GetString());

    tkx_SetLastError(nullptr);
    double constant[] = {5};
    EXPECT_EQ(-1, tkx_Polynomial_Newtom(constant, 0, re, im));
    EXPECT_FALSE(tkx_GetLastError().IsEmpty());
}
