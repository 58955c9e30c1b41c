// The profile query: design elevation, ground elevation and fill or cut at
// a typed station, and its answer to a station it cannot read.
#include "pages_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/Dialog_ZDMInquire.h"
#include "corvane/road/Profile.h"

using namespace pages_test;
using namespace wintest;

namespace {

const wchar_t kChain[] = L"1000=990";
const wchar_t kGroundLine[] = L"0 100\n200 102\n500 101\n800 104\n1000 103\n995_2 102.5\n1200_2 106\n";
const wchar_t kCurves[] = L"0 100\n400 108 10000\n800 106 6000\n1200_2 110\n";

bool Shown(CWnd* dialog, int id) { return (dialog->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }

} // namespace

TEST(ProfileQuery, ReadsTheStationThroughTheBreakChain)
{
    StartProgram();
    RoadData data(kChain, kGroundLine, kCurves);
    const struct {
        const wchar_t* station;
        int result;
        double design, ground, fillCut;
        const wchar_t* message; // NULL: the library's last error text
    } cases[] = {
        {L"k0+150", 1, 103, 101.5, 1.5, L"查询成功."},
        // 995 lies in both segments: the first that holds it is taken.
        {L"K0+995", 1, 107.9024, 103.025, 4.8774, L"查询成功."},
        {L"995_2", 1, 108, 102.5, 5.5, L"查询成功."},
        {L"K甲+100", 0, 0, 0, 0, L"输入桩号[K甲+100]错误!"},
        {L"K9+000", 0, 0, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.station));
        CDialog_ZDMInquire query;
        query.m_pProfile = &CurRoadProfile;
        query.m_SStation = c.station;
        EXPECT_EQ(c.result, query.Query());
        EXPECT_EQ(c.message ? CString(c.message) : tkx_GetLastError(), query.m_SMessage);
        if (!c.result) continue;
        EXPECT_NEAR(c.design, query.m_dDesign, 1e-9);
        EXPECT_NEAR(c.ground, query.m_dGround, 1e-9);
        EXPECT_NEAR(c.fillCut, query.m_dFillCut, 1e-9);
    }
}

TEST(ProfileQuery, AStationItCannotReadHidesTheResults)
{
    StartProgram();
    RoadData data(kChain, kGroundLine, kCurves);
    CString design, ground, fillCut, message;
    bool shownFirst = false, shownAfterError = true;
    DialogScript script;
    script.Then([&](CWnd* d) {
            EXPECT_EQ(CString(L"纵断面信息查询"), d->GetWindowText());
            shownFirst = Shown(d, IDC_INQUIRE_DESIGN) && Shown(d, IDC_INQUIRE_GROUND) && Shown(d, IDC_INQUIRE_FILLCUT);
            design = GetText(d, IDC_INQUIRE_DESIGN);
            ground = GetText(d, IDC_INQUIRE_GROUND);
            fillCut = GetText(d, IDC_INQUIRE_FILLCUT);
            DialogImage(d).SaveBmp(L"profile_query.bmp");
            SetText(d, IDC_INQUIRE_STATION, L"K0+1x0");
            Press(d, IDC_INQUIRE_RUN);
        })
        .ThenWhen([] { return true; },
                  [&](CWnd* d) {
                      shownAfterError = Shown(d, IDC_INQUIRE_DESIGN) || Shown(d, IDC_INQUIRE_GROUND) ||
                                        Shown(d, IDC_INQUIRE_FILLCUT);
                      message = GetText(d, IDC_INQUIRE_MESSAGE);
                      DialogImage(d).SaveBmp(L"profile_query_error.bmp");
                      Press(d, IDOK);
                  });
    ShowZDMInquireDialog(L"K0+150.000", &CurRoadProfile, Frame());
    EXPECT_TRUE(script.Unscripted().empty());
    EXPECT_TRUE(shownFirst);
    EXPECT_EQ(CString(L"103"), design);
    EXPECT_EQ(CString(L"101.5"), ground);
    EXPECT_EQ(CString(L"1.5"), fillCut);
    EXPECT_FALSE(shownAfterError);
    EXPECT_EQ(CString(L"输入桩号[K0+1x0]错误!"), message);
}

TEST(ProfileQuery, WithoutAGroundLineTheGroundAndTheFillOrCutAreUnknown)
{
    StartProgram();
    RoadData data(kChain, L"", kCurves);
    CString ground, fillCut;
    DialogScript script;
    script.Then([&](CWnd* d) {
        ground = GetText(d, IDC_INQUIRE_GROUND);
        fillCut = GetText(d, IDC_INQUIRE_FILLCUT);
        Press(d, IDOK);
    });
    ShowZDMInquireDialog(L"K0+150", &CurRoadProfile, Frame());
    EXPECT_EQ(CString(L"[未知]"), ground);
    EXPECT_EQ(CString(L"[未知]"), fillCut);
}
