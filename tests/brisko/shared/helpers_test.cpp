// The shared numeric and message helpers: the number test and conversion,
// degrees.minutesseconds angles, the curve elements of an intersection
// point, interpolation, plan angles, the formatted message box and the
// status-bar text.
#include "brisko/BriskoResource.h"
#include "brisko/shell/Helpers.h"
#include "brisko/shell/Utility.h"
#include "shared_world.h"
#include "support/MessageBoxScript.h"
#include <cmath>
#include <string>

using namespace test_support;

namespace {

const double kPi = 3.14159265358979323846;

double Radians(double degrees, double minutes, double seconds)
{
    return (degrees + minutes / 60.0 + seconds / 3600.0) * kPi / 180.0;
}

} // namespace

TEST(IsNumberString, PlainNumbersOnly)
{
    const struct {
        const wchar_t* text;
        int number;
    } cases[] = {
        {L"", 1},         {L"  \t ", 1},   {L"-1.5", 1},    {L"1+2", 1},      {L"12", 1},
        {L" \t12.5\t ", 1}, {L".5", 1},    {L"5.", 1},      {L"-.5", 1},      {L"1.2.3", 0},
        {L"1-2", 0},      {L"1 2", 0},     {L"12a", 0},     {L"1e5", 0},      {L"K1+200", 0},
        {L"12米", 0},
        // No digit at all: no number.
        {L"*", 0},        {L"+", 0},       {L".", 0},       {L"-", 0},        {L"-.", 0},
        {L"+-", 0},       {L"//", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        EXPECT_EQ(c.number, IsNumberString(c.text));
    }
    EXPECT_EQ(1, IsNumberString(nullptr));
}

TEST(StringToDouble, ConvertsNumbersAndLeavesTheValueOtherwise)
{
    double value = 7.0;
    EXPECT_TRUE(StringToDouble(L" 123.25 ", &value));
    EXPECT_DOUBLE_EQ(123.25, value);
    EXPECT_TRUE(StringToDouble(L"-0.5", &value));
    EXPECT_DOUBLE_EQ(-0.5, value);
    for (const wchar_t* bad : {L"1.2.3", L"abc", L"+", L"1 2"}) {
        value = 7.0;
        EXPECT_FALSE(StringToDouble(bad, &value)) << Utf8(bad);
        EXPECT_EQ(7.0, value);
    }
}

TEST(DMSToRadian, MinuteAndSecondDigitsAsWritten)
{
    const struct {
        const wchar_t* text;
        double degrees, minutes, seconds;
    } cases[] = {
        {L"30.1530", 30, 15, 30},   {L"30.59", 30, 59, 0},     {L"0.0001", 0, 0, 1},
        {L"45", 45, 0, 0},          {L"123.5959", 123, 59, 59}, {L"30.153012", 30, 15, 30.12},
        {L"1.3000", 1, 30, 0},      {L"359.5959999", 359, 59, 59.999},
        {L"-30.1530", -30, -15, -30}, {L"-0.0030", 0, 0, -30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.text));
        EXPECT_NEAR(Radians(c.degrees, c.minutes, c.seconds), DMSToRadian(_wtof(c.text)), 1e-13);
    }
}

TEST(DMSToRadian, EveryWholeSecondOfSeveralDegrees)
{
    // Typed values as the converters read them: the text through the
    // run-time's conversion, then the angle.
    int wrong = 0;
    std::string first;
    for (int degrees : {0, 1, 30, 89, 179, 359}) {
        for (int minutes = 0; minutes < 60; ++minutes) {
            for (int seconds = 0; seconds < 60; ++seconds) {
                wchar_t text[32];
                swprintf(text, 32, L"%d.%02d%02d", degrees, minutes, seconds);
                if (std::fabs(DMSToRadian(_wtof(text)) - Radians(degrees, minutes, seconds)) > 1e-13) {
                    if (wrong++ == 0) first = Utf8(text);
                }
            }
        }
    }
    EXPECT_EQ(0, wrong) << "first wrong: " << first;
}

TEST(ComputeJDCurveElements, CircularCurvesAndSpiralsAgainstTheTextbook)
{
    // A circular curve: T = R tan(a/2), L = R a.
    sJDCurveInfo jd;
    jd.dZH = 1000.0;
    jd.dR = 500.0;
    jd.dAngle = -0.6; // a left turn: the size of the angle counts
    ComputeJDCurveElements(jd, 0);
    EXPECT_NEAR(500.0 * std::tan(0.3), jd.dT1, 1e-9);
    EXPECT_NEAR(jd.dT1, jd.dT2, 1e-9);
    EXPECT_NEAR(300.0, jd.dL, 1e-9);
    EXPECT_NEAR(1000.0 - jd.dT1, jd.dZH_ZH, 1e-9);
    EXPECT_DOUBLE_EQ(jd.dZH_ZH, jd.dZH_HY);
    EXPECT_DOUBLE_EQ(jd.dZH_HZ, jd.dZH_YH);

    // Equal spirals: T = (R + p) tan(a/2) + q with the usual series for p and q.
    sJDCurveInfo sp;
    sp.dZH = 2000.0;
    sp.dR = 600.0;
    sp.dAngle = 0.5;
    sp.dLs1 = sp.dLs2 = 120.0;
    ComputeJDCurveElements(sp, 0);
    const double R = 600.0, Ls = 120.0;
    const double p = Ls * Ls / (24 * R) - std::pow(Ls, 4) / (2688 * std::pow(R, 3));
    const double q = Ls / 2 - std::pow(Ls, 3) / (240 * R * R);
    EXPECT_NEAR((R + p) * std::tan(0.25) + q, sp.dT1, 1e-4);
    EXPECT_NEAR(sp.dT1, sp.dT2, 1e-9);
    EXPECT_NEAR(std::sqrt(R * Ls), sp.dA1, 1e-9);
    EXPECT_NEAR(0.5 * R + Ls, sp.dL, 1e-9);
    EXPECT_NEAR(sp.dZH_ZH + Ls, sp.dZH_HY, 1e-9);
    EXPECT_NEAR(sp.dZH_HZ - Ls, sp.dZH_YH, 1e-9);

    // Mode 1 takes the parameters: the same curve again.
    sJDCurveInfo byA;
    byA.dZH = 2000.0;
    byA.dR = 600.0;
    byA.dAngle = 0.5;
    byA.dA1 = byA.dA2 = std::sqrt(R * Ls);
    ComputeJDCurveElements(byA, 1);
    EXPECT_NEAR(Ls, byA.dLs1, 1e-9);
    EXPECT_NEAR(sp.dT1, byA.dT1, 1e-9);

    // Unequal spirals: the longer spiral's side has the longer tangent.
    sJDCurveInfo un;
    un.dZH = 3000.0;
    un.dR = 400.0;
    un.dAngle = 0.7;
    un.dLs1 = 60.0;
    un.dLs2 = 150.0;
    ComputeJDCurveElements(un, 0);
    EXPECT_LT(un.dT1, un.dT2);
    EXPECT_NEAR(un.dZH_ZH + un.dL, un.dZH_HZ, 1e-9);
}

TEST(ComputeJDCurveElements, NoCurveLeavesEveryMainPointAtTheStation)
{
    const struct {
        const char* what;
        double R, angle, Ls1, Ls2;
    } cases[] = {
        {"no radius", 0.0, 0.4, 50.0, 50.0},
        {"no deflection", 500.0, 0.0, 0.0, 0.0},
        {"no deflection, spirals", 500.0, 0.0, 80.0, 60.0},
        {"deflection pi", 500.0, kPi, 80.0, 60.0},
        {"deflection -pi", 500.0, -kPi, 0.0, 0.0},
        {"negative spiral", 500.0, 0.4, -80.0, 60.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sJDCurveInfo jd;
        jd.dZH = 1234.5;
        jd.dR = c.R;
        jd.dAngle = c.angle;
        jd.dLs1 = c.Ls1;
        jd.dLs2 = c.Ls2;
        jd.dE = 9.0;
        ComputeJDCurveElements(jd, 0);
        for (double v : {jd.dT1, jd.dT2, jd.dL, jd.dE, jd.dLs1, jd.dA1, jd.dLs2, jd.dA2}) EXPECT_EQ(0.0, v);
        for (double v : {jd.dZH_ZH, jd.dZH_HY, jd.dZH_YH, jd.dZH_HZ}) EXPECT_EQ(1234.5, v);
    }
}

TEST(InterpolateHeight, LineThroughTwoPointsOrTheirMean)
{
    const struct {
        double d1, h1, d2, h2, d, h;
    } cases[] = {
        {0.0, 10.0, 10.0, 20.0, 2.5, 12.5},   // between
        {0.0, 10.0, 10.0, 20.0, 15.0, 25.0},  // beyond: extrapolated
        {10.0, 20.0, 0.0, 10.0, -5.0, 5.0},   // the points in either order
        {3.0, 1.0, 3.0, 2.0, 8.0, 1.5},       // one distance: the mean
        {3.0, 1.0, 3.0000005, 2.0, 8.0, 1.5}, // closer than 1e-6: the mean
    };
    for (const auto& c : cases) {
        const double p1[2] = {c.d1, c.h1}, p2[2] = {c.d2, c.h2};
        double target[2] = {c.d, -99.0};
        InterpolateHeight(p1, p2, target);
        EXPECT_DOUBLE_EQ(c.h, target[1]) << c.d;
        EXPECT_EQ(c.d, target[0]);
    }
}

TEST(FormatStationText, FollowsTheCurrentProject)
{
    StationSettings settings(2, 1);
    EXPECT_EQ(CString(L"K1+234.50"), FormatStationText(1234.5));
    StationSettings fewer(1, 1);
    EXPECT_EQ(CString(L"K0+012.3"), FormatStationText(12.34));
}

TEST(PlanGeometry, LineAnglesInEveryDirection)
{
    const struct {
        double x1, y1, x2, y2, angle;
    } cases[] = {
        {5, 5, 5, 5, 0.0},                    // equal points
        {5, 5, 5 + 5e-7, 5 - 5e-7, 0.0},      // closer than 1e-6
        {0, 0, 0, -3, 3 * kPi / 2},           // straight down
        {0, 0, 0, 3, kPi / 2},                // straight up
        {0, 0, 4, 0, 0.0},                    // right
        {0, 0, -4, 0, kPi},                   // left
        {1, 1, 2, 2, kPi / 4},
        {1, 1, 0, 2, 3 * kPi / 4},
        {1, 1, 0, 0, 5 * kPi / 4},
        {1, 1, 2, 0, 7 * kPi / 4},
    };
    for (const auto& c : cases) {
        const double p1[3] = {c.x1, c.y1, 0}, p2[3] = {c.x2, c.y2, 0};
        EXPECT_NEAR(c.angle, GetLineAngle(p1, p2), 1e-12) << c.x2 << "," << c.y2;
    }
}

TEST(PlanGeometry, PolarPointKeepsTheTargetsHeightUnlessItCopies)
{
    const double from[3] = {10.0, 20.0, 30.0};
    double out[3] = {0.0, 0.0, -1.0};
    GetPolarPoint(from, kPi / 2, 5.0, out);
    EXPECT_NEAR(10.0, out[0], 1e-12);
    EXPECT_NEAR(25.0, out[1], 1e-12);
    EXPECT_EQ(-1.0, out[2]);

    GetPolarPoint(from, 1.0, 5e-7, out);
    EXPECT_EQ(10.0, out[0]);
    EXPECT_EQ(20.0, out[1]);
    EXPECT_EQ(30.0, out[2]);
}

TEST(WheelScrollLines, TheUsersSettingOrThree)
{
    const wchar_t key[] = L"Control Panel\\Desktop";
    DeleteRegValue(HKEY_CURRENT_USER, key, L"WheelScrollLines");
    EXPECT_EQ(3, GetWheelScrollLines());
    SetRegString(HKEY_CURRENT_USER, key, L"WheelScrollLines", L"7");
    EXPECT_EQ(7, GetWheelScrollLines());
    SetRegDword(HKEY_CURRENT_USER, key, L"WheelScrollLines", 5); // not a text: unreadable
    EXPECT_EQ(3, GetWheelScrollLines());
    DeleteRegValue(HKEY_CURRENT_USER, key, L"WheelScrollLines");
}

// ---------------------------------------------------------------------------

namespace {

struct OwnedBox {
    HWND owner;
    CString text;
    CString caption;
    UINT type;
};

// Records each message box with its owner.
class OwnerRecorder
{
public:
    OwnerRecorder() { m_previous = ClSetMessageBoxHook(&Hook, this, &m_previousContext); }
    ~OwnerRecorder() { ClSetMessageBoxHook(m_previous, m_previousContext); }
    std::vector<OwnedBox> boxes;

private:
    static int Hook(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type, void* context)
    {
        static_cast<OwnerRecorder*>(context)->boxes.push_back({owner, text, caption, type});
        return IDYES;
    }
    ClMessageBoxHook m_previous;
    void* m_previousContext = nullptr;
};

} // namespace

TEST(ShowFormattedMessage, TheProgramsCaptionStyleAndWideTexts)
{
    OwnerRecorder boxes;
    EXPECT_EQ(IDYES, ShowFormattedMessage(nullptr, MB_YESNO, L"文件%s第%d行", L"甲 乙.DL", 12));
    ShowFormattedMessage(nullptr, 0, L"%s", L"道路");
    ASSERT_EQ(2u, boxes.boxes.size());
    EXPECT_EQ(CString(L"文件甲 乙.DL第12行"), boxes.boxes[0].text);
    EXPECT_EQ(CString(L"TAVIX项目数据环境"), boxes.boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.boxes[0].type);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.boxes[1].type);
}

TEST(ShowFormattedMessage, LongTextsAreShownWhole)
{
    OwnerRecorder boxes;
    // A TAVIX_PRINTF-sized text: 4,095 characters.
    const std::wstring along(4095, L'路');
    ShowFormattedMessage(nullptr, 0, L"%s", along.c_str());
    // Characters outside the basic plane around the 511th place.
    std::wstring pairs(510, L'x');
    pairs += L"\U0001F600\U0001F600";
    ShowFormattedMessage(nullptr, 0, L"%s", pairs.c_str());
    // Two deep paths in one message.
    const std::wstring deep = L"D:\\工程项目\\2026\\某某高速公路改扩建工程\\施工图设计\\" + std::wstring(200, L'段');
    ShowFormattedMessage(nullptr, 0, L"复制[%s]到[%s]", deep.c_str(), deep.c_str());
    ASSERT_EQ(3u, boxes.boxes.size());
    EXPECT_EQ(CString(along.c_str()), boxes.boxes[0].text);
    EXPECT_EQ(CString(pairs.c_str()), boxes.boxes[1].text);
    EXPECT_EQ(CString((L"复制[" + deep + L"]到[" + deep + L"]").c_str()), boxes.boxes[2].text);
}

TEST(ShowFormattedMessage, OwnedOnlyByAVisibleDialog)
{
    CDialog hidden, visible, never;
    // Any dialog template of the program will do.
    ASSERT_TRUE(hidden.Create(IDD_SELECT));
    ASSERT_TRUE(visible.Create(IDD_SELECT));
    // Marked visible without going to the screen (a shown window is slow to
    // close here).
    ::SetWindowLongPtrW(visible.m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(visible.m_hWnd, GWL_STYLE) | WS_VISIBLE);
    OwnerRecorder boxes;
    ShowFormattedMessage(&visible, MB_OK, L"a");
    ShowFormattedMessage(&hidden, MB_OK, L"b");
    ShowFormattedMessage(&never, MB_OK, L"c");
    ShowFormattedMessage(nullptr, MB_OK, L"d");
    ASSERT_EQ(4u, boxes.boxes.size());
    EXPECT_EQ(visible.m_hWnd, boxes.boxes[0].owner);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(nullptr, boxes.boxes[i].owner) << i;
    visible.DestroyWindow();
    hidden.DestroyWindow();
}

// ---------------------------------------------------------------------------

TEST(PrintStatusText, PaneZeroOfTheMainWindowsStatusBar)
{
    PrintStatusText(L"没有主窗口"); // nothing to write to: nothing happens

    auto* frame = new wintest::TestFrame;
    CStatusBar bar;
    const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR};
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    ASSERT_TRUE(bar.SetIndicators(indicators, 2));
    {
        MainWindowFor main(frame);
        PrintStatusText(L"中桩:%s, 高程:%d", L"K1+200", 35);
        EXPECT_EQ(CString(L"中桩:K1+200, 高程:35"), bar.GetPaneText(0));
        const std::wstring along(300, L'桩');
        PrintStatusText(L"%s", along.c_str());
        EXPECT_EQ(CString(along.c_str()), bar.GetPaneText(0));
    }
    // A main window without a status bar.  (The frames go once they are
    // no longer the main window, which would end the program's loop.)
    auto* bare = new wintest::TestFrame;
    {
        MainWindowFor main(bare);
        PrintStatusText(L"无状态栏");
    }
    bare->DestroyWindow();
    frame->DestroyWindow();
}

TEST(LoadAppIcon, TheProgramIconAtTheDefaultSize)
{
    HICON icon = LoadAppIcon();
    ASSERT_NE(nullptr, icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP mask{};
    ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(::GetSystemMetrics(SM_CXICON), mask.bmWidth);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
}
