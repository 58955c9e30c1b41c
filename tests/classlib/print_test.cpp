// Printing: the print record's pages, the dialogs on a machine without a
// printer (the test machines have none), and the dialog shown while pages
// print.
#include "support/MessageBoxScript.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>

using namespace wintest;

TEST(PrintDialogs, WithoutAPrinterTheySaySoAndCancel)
{
    ASSERT_FALSE(ClHasPrinter()) << "the test machine is expected to have no printer";
    MessageBoxScript boxes;
    CPrintDialog print(FALSE);
    EXPECT_EQ(IDCANCEL, print.DoModal());
    EXPECT_EQ(nullptr, print.GetPrinterDC());
    CPageSetupDialog setup(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_DISABLEPAPER | PSD_DISABLEORIENTATION);
    setup.m_psd.rtMargin = CRect(1000, 1000, 1000, 1000);
    EXPECT_EQ(IDCANCEL, setup.DoModal());
    CRect margins;
    setup.GetMargins(&margins, nullptr);
    EXPECT_EQ(CRect(1000, 1000, 1000, 1000), margins); // untouched
    ASSERT_EQ(2u, boxes.Shown().size());
    for (auto& box : boxes.Shown()) {
        EXPECT_STREQ(CL_MSG_NO_PRINTER, box.text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), box.type & MB_ICONMASK);
    }
    // The defaults are asked for quietly: the caller decides what to say.
    CPrintDialog defaults(FALSE);
    EXPECT_FALSE(defaults.GetDefaults());
    EXPECT_EQ(nullptr, defaults.CreatePrinterDC());
    EXPECT_EQ(2u, boxes.Shown().size());
}

TEST(PrintInfo, PageRangeFollowsTheDialogWithinTheDocument)
{
    struct Case {
        DWORD flags;
        WORD from, to;
        UINT expectFrom, expectTo;
    } cases[] = {
        {PD_ALLPAGES, 3, 4, 1, 7},     // all pages: the range the user typed does not count
        {PD_PAGENUMS, 3, 4, 3, 4},
        {PD_PAGENUMS, 0, 99, 1, 7},    // limited to the document
        {PD_PAGENUMS, 7, 7, 7, 7},
    };
    for (const Case& c : cases) {
        CPrintInfo info;
        info.SetMinPage(1);
        info.SetMaxPage(7);
        info.m_pPD->m_pd.Flags = (info.m_pPD->m_pd.Flags & ~(PD_PAGENUMS | PD_SELECTION)) | c.flags;
        info.m_pPD->m_pd.nFromPage = c.from;
        info.m_pPD->m_pd.nToPage = c.to;
        EXPECT_EQ(c.expectFrom, info.GetFromPage());
        EXPECT_EQ(c.expectTo, info.GetToPage());
    }
    CPrintInfo fresh;
    EXPECT_EQ(1u, fresh.GetMinPage());
    EXPECT_EQ(0xFFFFu, fresh.GetMaxPage()); // not known until the view counts its pages
    EXPECT_EQ(1u, fresh.m_nCurPage);
    EXPECT_TRUE(fresh.m_bContinuePrinting);
    EXPECT_NE(0u, fresh.m_pPD->m_pd.Flags & PD_RETURNDC);
}

TEST(PrintInfo, TheRecordDeletesThePrinterDCItHolds)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    {
        CPrintInfo info;
        info.m_pPD->m_pd.hDC = dc;
    }
    EXPECT_EQ(0, ::GetDeviceCaps(dc, TECHNOLOGY)); // gone
}

TEST(PrintAbortDialog, ShowsThePageAndCancelStopsTheAbortProcedure)
{
    TestFrame* frame = new TestFrame;
    CPrintAbortDialog dlg;
    ASSERT_TRUE(dlg.Create(frame, L"道路.DL", L"测试打印机"));
    dlg.SetPage(2);
    EXPECT_STREQ(L"正在打印第 2 页", GetText(&dlg, 1001));
    EXPECT_TRUE(CPrintAbortDialog::AbortProc(nullptr, 0));
    // Cancel arrives as a message that the abort procedure hands to the dialog.
    Press(&dlg, IDCANCEL);
    EXPECT_FALSE(CPrintAbortDialog::AbortProc(nullptr, 0));
    EXPECT_TRUE(dlg.m_bUserAbort);
    dlg.DestroyWindow();
    frame->DestroyWindow();
}
