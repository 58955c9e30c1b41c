// What the main frame shows: the painted MDI background, the information
// log, and a screenshot of the whole window on the world's project.
#include "shell_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/TvTextView.h"
#include "brisko/manager/PPage_InfoBar.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/MyTabCtrlBar.h"
#include "support/WindowTest.h"
#include <functional>
#include <utility>
#include <vector>

using namespace shell_test;
using namespace wintest;

namespace {

// The main frame at 1000 x 700 while the object lives, then at the seeded
// placement again.
struct WideFrame {
    CMainFrame* frame = theApp.MainFrame();
    WideFrame()
    {
        frame->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
        PumpUntilIdle();
    }
    ~WideFrame()
    {
        frame->SetWindowPos(nullptr, kSeededWindow.left, kSeededWindow.top, kSeededWindow.right - kSeededWindow.left,
                            kSeededWindow.bottom - kSeededWindow.top, SWP_NOZORDER);
    }
};

} // namespace

namespace {

const COLORREF kGrey = RGB(128, 128, 128);

} // namespace

TEST(FrameView, TheClientBackgroundIsGreyWithEmbossedTexts)
{
    StartProgram();
    CMdiMainClient& client = theApp.MainFrame()->m_wndMdiClient;
    const int w = 420, h = 240;
    Image image = RenderPaint(w, h, [&](CDC& dc) {
        // The client paints relative to its own client rectangle: render it
        // at a known size.
        client.SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        client.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    });
    image.SaveBmp(L"mdi_background.bmp");
    // Grey everywhere but the texts at the bottom, ending at the right edge,
    // drawn in black under the button face (the white pass shows only at
    // the edges).
    EXPECT_EQ(w * (h - 60), image.Count(CRect(0, 0, w, h - 60), kGrey));
    EXPECT_EQ(20 * 60, image.Count(CRect(0, h - 60, 20, h), kGrey));
    const CRect texts(0, h - 60, w, h);
    EXPECT_GT(image.Count(texts, RGB(0, 0, 0)), 20);
    EXPECT_GT(image.Count(texts, GetSysColor(COLOR_BTNFACE)), 20);
    EXPECT_EQ(CString(L"TAVIX 项目数据环境: R1.2"), CMdiMainClient::VersionText(L"R1.2"));

    // An empty clip box paints nothing.
    Image untouched = RenderPaint(40, 40, [&](CDC& dc) {
        dc.IntersectClipRect(0, 0, 0, 0);
        EXPECT_TRUE(client.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc())));
    });
    EXPECT_EQ(0, untouched.Count(CRect(0, 0, 40, 40), kGrey));
    theApp.MainFrame()->RecalcLayout();
}

TEST(FrameView, TheLogKeepsItsNewestLinesInView)
{
    StartProgram();
    auto* page = static_cast<CPPage_InfoBar*>(
        theApp.MainFrame()->m_wndRoadInfoBar.GetView(RUNTIME_CLASS(CPPage_InfoBar)));
    ASSERT_NE(nullptr, page);
    for (int i = 1; i <= 60; ++i) page->AddMessage(ClFormat(L"第%d行", i));
    ASSERT_EQ(51, page->Messages().GetSize());
    EXPECT_EQ(CString(L"第10行"), page->Messages()[0]);
    EXPECT_EQ(CString(L"第60行"), page->Messages()[50]);
    CString shown = page->m_wndLog.GetWindowText();
    EXPECT_EQ(0, shown.Find(L"第10行\r\n"));
    EXPECT_EQ(shown.GetLength() - 6, shown.Find(L"第60行\r\n"));
    // Scrolled to the end.
    EXPECT_GT(page->m_wndLog.SendMessage(EM_GETFIRSTVISIBLELINE), 30);
}

TEST(FrameView, Screenshot)
{
    StartProgram();
    CMainFrame* frame = theApp.MainFrame();
    frame->PrintToInfoWindow(L"当前道路: %s, 断链 %d 处, 地面线 %d 点, 变坡点 %d 个", kMainRoad,
                             CurRoadBreakChain.GetBreakChainCount() - 1, CurRoadProfile.GetDMXCount(),
                             CurRoadProfile.GetBPDCount());
    WideFrame wide;
    Image shot = CaptureWindow(frame);
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(shot.SaveBmp(L"brisko_main.bmp"));
}

// The window text (the captions', menus', message boxes' and status bars'
// fonts, the dialogs' "MS Shell Dlg" and the program's 宋体) is drawn exactly
// as wide as it is measured, glyph by glyph: the system's message boxes and
// menus make their text as wide as measured, and a line drawn wider loses
// its last character at the edge.
TEST(FrameView, WindowTextIsDrawnAsWideAsItIsMeasured)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    LOGFONTW gui{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    LOGFONTW song{};
    song.lfHeight = -12;
    song.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(song.lfFaceName, L"宋体");
    const std::pair<const char*, LOGFONTW> fonts[] = {
        {"message", metrics.lfMessageFont}, {"menu", metrics.lfMenuFont}, {"caption", metrics.lfCaptionFont},
        {"status", metrics.lfStatusFont},   {"dialog", gui},              {"宋体", song},
    };
    const wchar_t* const texts[] = {
        L"Z:\\work\\brisko_reference_tests\\install_32\\Help\\TAVIX.CHM文件没有找到",
        L"rrrrrrrrrr ffffffffff tests Illegal 0O1lI",
        L"设计参考文档 TAVIX项目数据环境",
    };
    for (const auto& [name, logFont] : fonts) {
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&logFont)) << name;
        for (const wchar_t* text : texts) {
            const int count = static_cast<int>(wcslen(text));
            // Each glyph's advance as measured.
            std::vector<int> ends(count), advances(count);
            {
                CClientDC dc(nullptr);
                const HGDIOBJ old = dc.SelectObject(font.GetSafeHandle());
                int fit = 0;
                SIZE size{};
                ASSERT_TRUE(::GetTextExtentExPointW(dc.GetSafeHdc(), text, count, 0, &fit, ends.data(), &size));
                dc.SelectObject(old);
            }
            for (int i = 0; i < count; ++i) advances[i] = ends[i] - (i ? ends[i - 1] : 0);
            // The line as drawn, and drawn with the measured advances.
            const auto draw = [&](const int* dx) {
                return RenderPaint(ends[count - 1] + 40, 30, [&](CDC& dc) {
                    const HGDIOBJ old = dc.SelectObject(font.GetSafeHandle());
                    ::ExtTextOutW(dc.GetSafeHdc(), 2, 2, 0, nullptr, text, count, dx);
                    dc.SelectObject(old);
                });
            };
            const Image drawn = draw(nullptr), measured = draw(advances.data());
            int differing = 0;
            for (int y = 0; y < drawn.Height(); ++y)
                for (int x = 0; x < drawn.Width(); ++x) differing += drawn.At(x, y) != measured.At(x, y);
            EXPECT_EQ(0, differing) << name << ": " << Utf8(text);
        }
    }
}

// The road-information bar floated and docked again by a double-click on its
// mini frame's caption: back at the bottom, whole, as before.
TEST(FrameView, AFloatedBarIsDockedAgainByItsCaption)
{
    StartProgram();
    WideFrame wide;
    CMainFrame* frame = wide.frame;
    CMyTabCtrlBar& bar = frame->m_wndRoadInfoBar;
    ASSERT_FALSE(bar.IsFloating());
    CRect docked;
    bar.GetWindowRect(&docked);

    frame->FloatControlBar(&bar, CPoint(300, 300));
    PumpUntilIdle();
    ASSERT_TRUE(bar.IsFloating());
    CWnd* mini = bar.m_pDockBar->GetParent();
    CRect miniRect;
    mini->GetWindowRect(&miniRect);
    const CPoint caption(miniRect.left + 30, miniRect.top + 6);
    ASSERT_EQ(HTCAPTION, static_cast<int>(mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y))));
    mini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    PumpUntilIdle();

    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bar.m_hWnd)));
    CRect again;
    bar.GetWindowRect(&again);
    EXPECT_EQ(docked, again);
    Image shot = CaptureWindow(frame);
    EXPECT_TRUE(shot.SaveBmp(L"redocked_bar.bmp"));
}

// The status panes hold their texts: the working directory of a project deep
// in its folders, and the caret's place at a five-digit line and a
// three-digit column.
TEST(FrameView, TheStatusPanesHoldTheirTexts)
{
    StartProgram();
    WideFrame wide;
    CMainFrame* frame = wide.frame;
    CString lines;
    for (int i = 1; i < 12345; ++i) lines += L"0\n";
    lines += CString(L'9', 130);
    const CString path = ProjectFolder() + L"\\" + kMainRoad + L"\\长文件.ST";
    WriteText(path, lines);
    CDocument* document = OpenTestDocument(path);
    ASSERT_NE(nullptr, document);
    POSITION pos = document->GetFirstViewPosition();
    auto* view = static_cast<CTvTextView*>(document->GetNextView(pos));
    view->SetCursorPos(CPoint(122, 12344));
    const CString old = theApp.m_SWorkingDirectory;
    theApp.SetWorkingDirectory(L"Z:\\work\\设计院\\二〇二六年项目\\示范项目\\一号路");
    PumpUntilIdle();

    CStatusBar& bar = frame->m_wndStatusBar;
    EXPECT_EQ(CString(L"行: 12345,     列: 123"), bar.GetPaneText(1));
    EXPECT_EQ(CString(L"工作目录:") + theApp.m_SWorkingDirectory, bar.GetPaneText(2));
    CClientDC dc(&bar);
    const HGDIOBJ old_font = dc.SelectObject(reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT)));
    for (int pane : {1, 2}) {
        const CString text = bar.GetPaneText(pane);
        CRect rect;
        bar.GetItemRect(pane, &rect);
        // Room for the pane's margins on both sides.
        EXPECT_LE(static_cast<int>(dc.GetTextExtent(text, text.GetLength()).cx) + 12, rect.Width()) << Utf8(text);
    }
    dc.SelectObject(old_font);
    EXPECT_TRUE(CaptureWindow(frame).SaveBmp(L"status_panes.bmp"));

    theApp.SetWorkingDirectory(old);
    theApp.CloseAllDocuments(TRUE);
    DeleteFileW(path);
}

// The caret moved as the demo's picture moves it (commands sent to the view
// one after another, with no idle moment between them) and as going to a
// line does: after each move the status bar's position pane reads the
// caret's line and column, the view keeps the keyboard focus (the road's
// ground-line file brings up the profile page on the first move) and the
// thread's one caret stands in the view at the cursor.  Once the focus has
// left the view, no caret of the view is left standing.
TEST(FrameView, TheStatusPaneAndTheOneCaretFollowEveryCaretMove)
{
    StartProgram();
    WideFrame wide;
    CMainFrame* frame = wide.frame;
    // The road-information bar shown at its first page and the field
    // tooltips on, as at a first start.
    struct InfoBarShown {
        CMainFrame* frame;
        const BOOL before = theApp.m_bShowRoadInfoBar;
        const BOOL tips = theApp.m_bShowToolTip;
        explicit InfoBarShown(CMainFrame* f) : frame(f)
        {
            theApp.m_bShowToolTip = TRUE;
            theApp.m_bShowRoadInfoBar = 1;
            frame->ShowControlBar(&frame->m_wndRoadInfoBar, TRUE, FALSE);
            frame->m_wndRoadInfoBar.SetActiveView(0);
        }
        ~InfoBarShown()
        {
            frame->m_wndRoadInfoBar.SetActiveView(0);
            theApp.m_bShowRoadInfoBar = before;
            theApp.m_bShowToolTip = tips;
            frame->ShowControlBar(&frame->m_wndRoadInfoBar, before == 1, FALSE);
        }
    } infoBar(frame);
    PumpUntilIdle();

    CString lines;
    for (int i = 0; i < 300; ++i) lines += ClFormat(L"%d.000 10%d.500\r\n", i * 20, i % 10);
    const CString longFile = ProjectFolder() + L"\\" + kMainRoad + L"\\三百行.ST";
    WriteText(longFile, lines);
    const struct {
        const char* name;
        std::function<void(CTvTextView*)> move;
    } moves[] = {
        {"seven lines down", [](CTvTextView* view) {
             for (int i = 0; i < 7; ++i) view->SendMessage(WM_COMMAND, ID_EDIT_LINE_DOWN);
         }},
        {"to the second value of line 5", [](CTvTextView* view) { view->GoToLineItem(4, 2); }},
        {"a page down", [](CTvTextView* view) { view->SendMessage(WM_COMMAND, ID_EDIT_PAGE_DOWN); }},
        {"a line up", [](CTvTextView* view) { view->SendMessage(WM_COMMAND, ID_EDIT_LINE_UP); }},
    };
    CStatusBar& bar = frame->m_wndStatusBar;
    for (const CString& path : {RoadFile(kMainRoad, L"DMX"), longFile}) {
        SCOPED_TRACE(Utf8(path));
        CDocument* document = OpenTestDocument(path);
        ASSERT_NE(nullptr, document);
        POSITION pos = document->GetFirstViewPosition();
        auto* view = static_cast<CTvTextView*>(document->GetNextView(pos));
        view->SetFocus();
        PumpUntilIdle();
        for (const auto& move : moves) {
            SCOPED_TRACE(move.name);
            move.move(view);
            // No message pumped since the move.
            const CPoint cursor = view->GetCursorPos();
            EXPECT_EQ(ClFormat(L"行: %d,     列: %d", cursor.y + 1, cursor.x + 1), bar.GetPaneText(1));
            EXPECT_EQ(view->m_hWnd, ::GetFocus());
            GUITHREADINFO thread{};
            thread.cbSize = sizeof(thread);
            ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &thread));
            EXPECT_EQ(view->m_hWnd, thread.hwndCaret);
            const CPoint at = view->TextToClient(cursor);
            EXPECT_EQ(at.x, thread.rcCaret.left);
            EXPECT_LE(at.y, thread.rcCaret.top);
            EXPECT_GT(at.y + view->GetLineHeight(), thread.rcCaret.top);
        }
        if (path == RoadFile(kMainRoad, L"DMX")) EXPECT_EQ(1, frame->m_wndRoadInfoBar.GetActiveIndex());
        frame->m_wndProjectBar.SetFocus();
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &thread));
        EXPECT_NE(view->m_hWnd, thread.hwndCaret);
        theApp.CloseAllDocuments(TRUE);
        PumpUntilIdle();
    }
    DeleteFileW(longFile);
}
