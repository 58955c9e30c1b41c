// A data file open in Brisko's MDI frame as the user sees it: the child
// frame titled with the file's path and type, the text coloured, the field
// tooltip under the caret.
#include "documents_world.h"
#include "brisko/editor/FieldDescriptions.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include <gtest/gtest.h>

using namespace doctest;
using namespace wintest;

namespace {

// What the screen shows over the window's rectangle (popups above it
// included).
Image ScreenImage(CWnd* wnd)
{
    ::RedrawWindow(wnd->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpUntilIdle();
    CRect rect;
    wnd->GetWindowRect(&rect);
    Image image = RenderPaint(rect.Width(), rect.Height(), [&](CDC& dc) {
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(dc.m_hDC, 0, 0, rect.Width(), rect.Height(), screen, rect.left, rect.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    });
    return image;
}

} // namespace

TEST(DataFileFrame, Screenshot)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    frame->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
    const CString path = RoadFolder() + L"\\一号路.HDX";
    WriteText(path, L"//TAVIX横断面地面线文件(*.HDX)\n"
                    L"//文件编辑时间:2024-5-18 9:30:0\n"
                    L"ABS\n"
                    L"K0+000\n"
                    L"-3.5 100.12  -8.0 99.40  -15.0 101.85\n"
                    L"3.5 100.05  9.0 98.70  20.0 97.30\n"
                    L"K0+020\n"
                    L"-4.0 100.30  -12.5 100.90\n"
                    L"4.0 100.21  16.0 98.10\n"
                    L"// 桥头加密断面\n"
                    L"K0+030_2\n"
                    L"-5 101.0\n"
                    L"5 99.8\n");
    CBriskoDoc* document = Open(path);
    ASSERT_NE(nullptr, document);
    CBriskoView* view = ViewOf(document);
    CMDIChildWnd* child = static_cast<CMDIChildWnd*>(view->GetParentFrame());
    child->MDIMaximize();
    PumpUntilIdle();
    // The caret on the first left ground point's height.
    Place(view, 4, 5);
    view->SetFocus();
    view->UpdateFieldToolTip();
    ASSERT_TRUE(view->m_ToolTip.IsWindowVisible());
    EXPECT_EQ(CString(L"左侧点的高程<m:必填项>"), view->m_ToolTip.GetLines()[0]);
    EXPECT_EQ(CString(L"-3.5 100.12  -8.0 99.40  -15.0 101.85"), CurHdxSection.m_SLeft);
    EXPECT_EQ(6, CurHdxSection.m_iCaret);

    Image shot = ScreenImage(frame);
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(shot.SaveBmp(L"brisko_datafile.bmp"));
    // The view shows comments and numbers in their colours.
    CRect area;
    view->GetWindowRect(&area);
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    area.OffsetRect(-frameRect.left, -frameRect.top);
    EXPECT_GT(shot.Count(area, view->GetColor(COLORINDEX_COMMENT)), 100);
    EXPECT_GT(shot.Count(area, view->GetColor(COLORINDEX_NUMBER)), 100);
    // The frame's title names the file and its type.
    CString title;
    child->GetWindowText(title);
    EXPECT_NE(-1, title.Find(path + L":[横断面地面线文件]")) << Utf8(title);

    view->m_ToolTip.Hide();
    document->OnCloseDocument();
    DeleteFileW(path);
    PumpUntilIdle();
}
