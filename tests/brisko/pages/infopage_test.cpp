// The information page: the preview of a data file (its header, the cut
// after 100 lines or 1,024 characters, the messages instead of a preview),
// the splitter between the log and the preview, and the main frame's
// preview request.
#include "pages_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/Messages.h"
#include "corvane/project/FileInterface.h"

using namespace pages_test;
using wintest::Image;

namespace {

const wchar_t kNotEnded[] = L"\r\n\t\t[文件内容未结束]";

// `count` lines of at least the given length, each ended by "\n" (short
// ones: a hundred of them stay below 1,024 characters).
CString Lines(int count, int length = 0)
{
    CString text;
    for (int i = 1; i <= count; ++i) {
        CString line = ClFormat(L"%d 1", i);
        while (line.GetLength() < length) line += L'0';
        text += line + L"\n";
    }
    return text;
}

// The first `count` lines of the text, each ended by "\r\n".
CString FirstLines(const CString& text, int count)
{
    CString taken;
    int start = 0;
    for (int i = 0; i < count; ++i) {
        const int end = text.Find(L'\n', start);
        taken += text.Mid(start, end - start) + L"\r\n";
        start = end + 1;
    }
    return taken;
}

// A page on its own in a hidden frame, made as the bar makes it (empty)
// and then given its size.
class LonePage
{
public:
    LonePage(int width, int height)
    {
        m_frame = new wintest::TestFrame(false, CRect(0, 0, width + 40, height + 80));
        page.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), m_frame, 0);
        page.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER);
    }
    ~LonePage() { m_frame->DestroyWindow(); }
    LonePage(const LonePage&) = delete;
    LonePage& operator=(const LonePage&) = delete;
    CPPage_InfoBar page;

private:
    wintest::TestFrame* m_frame;
};

CRect ChildRect(CWnd& page, CWnd& child)
{
    CRect rect;
    child.GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    return rect;
}

// Whether some window's updates are held back: only one window can be.
bool UpdatesLocked()
{
    if (!::LockWindowUpdate(::GetDesktopWindow())) return true;
    ::LockWindowUpdate(nullptr);
    return false;
}

} // namespace

TEST(InfoPage, PreviewsTheStartOfADataFile)
{
    StartProgram();
    ScratchFolder folder(L"preview");
    CPPage_InfoBar* page = InfoPage();
    ASSERT_NE(nullptr, page);
    const struct {
        const char* what;
        CString content;
        int lines; // taken into the preview
        bool notEnded;
    } cases[] = {
        {"99 lines", Lines(99), 99, false},
        {"100 lines", Lines(100), 100, true},
        {"101 lines", Lines(101), 100, true},
        // Long lines: taken while the text is shorter than 1,024 characters
        // (the header with the file's path counts; -1: as many as that takes).
        {"long lines", Lines(20, 200), -1, true},
        {"empty", L"", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CString path = folder / L"一号路.DMX";
        WriteText(path, c.content);
        page->PreviewFile(path);
        CString typeName;
        ASSERT_EQ(1, tkx_IsTavixFileName(path, typeName));
        const CString header = ClFormat(L"预览文件:%s\r\n文件类型: %s\r\n", path.GetString(), typeName.GetString());
        int lines = c.lines;
        if (lines < 0) {
            lines = 0;
            for (int length = header.GetLength(); length < 1024; length += 200 + 2) ++lines;
        }
        const CString expected = header + FirstLines(c.content, lines) + (c.notEnded ? kNotEnded : L"");
        EXPECT_EQ(expected, page->m_wndPreview.GetWindowText());
    }
}

TEST(InfoPage, SaysWhyAFileHasNoPreview)
{
    StartProgram();
    ScratchFolder folder(L"no_preview");
    CPPage_InfoBar* page = InfoPage();
    const CString locked = folder / L"锁定.SQX";
    WriteText(locked, L"0 100\n");
    // Another program holds the file without sharing it.
    HANDLE holder = ::CreateFileW(locked, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    WriteText(folder / L"说明.xyz", L"文字\n");
    const struct {
        CString path;
        const wchar_t* message;
    } cases[] = {
        {folder / L"说明.xyz", L"文件<%s>: TAVIX不提供该文件类型的预览."},
        {folder / L"没有.DMX", L"文件<%s>不存在!"},
        {locked, L"打开预览文件<%s>失败!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        page->PreviewFile(c.path);
        EXPECT_EQ(ClFormat(c.message, c.path.GetString()), page->m_wndPreview.GetWindowText());
    }
    ::CloseHandle(holder);
}

TEST(InfoPage, TheMainFrameShowsAFilesPreviewOnThePage)
{
    StartProgram();
    CMainFrame* frame = Frame();
    CPPage_InfoBar* page = InfoPage();
    frame->ShowControlBar(&frame->m_wndRoadInfoBar, FALSE, FALSE);
    frame->ShowInfoBarPreview(RoadFile(L"SQX"));
    EXPECT_TRUE(frame->m_wndRoadInfoBar.IsWindowVisible());
    EXPECT_EQ(0, page->Mode());
    EXPECT_TRUE(page->m_wndPreview.IsWindowVisible());
    EXPECT_EQ(0, page->m_wndPreview.GetWindowText().Find(L"预览文件:" + RoadFile(L"SQX")));
}

TEST(InfoPage, TheSplitterStartsInTheMiddleAndKeepsBothPanesWide)
{
    StartProgram();
    LonePage lone(600, 200);
    CPPage_InfoBar& page = lone.page;
    // 3 + (600 - 6 - 15) / 2
    EXPECT_EQ(CRect(292, 3, 295, 197), page.SplitterRect());
    EXPECT_EQ(CRect(3, 3, 292, 197), ChildRect(page, page.m_wndLog));
    EXPECT_EQ(CRect(295, 3, 595, 197), ChildRect(page, page.m_wndPreview));

    Mouse(&page, WM_LBUTTONDOWN, 293, 100, MK_LBUTTON);
    ASSERT_TRUE(page.IsDragging());
    EXPECT_EQ(&page, CWnd::GetCapture());
    EXPECT_TRUE(UpdatesLocked());
    Mouse(&page, WM_MOUSEMOVE, 150, 100, MK_LBUTTON);
    // Closer than 100 pixels to either side: the bar stays where it was.
    Mouse(&page, WM_MOUSEMOVE, 90, 100, MK_LBUTTON);
    Mouse(&page, WM_MOUSEMOVE, 520, 100, MK_LBUTTON);
    Mouse(&page, WM_LBUTTONUP, 520, 100);
    EXPECT_FALSE(page.IsDragging());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_FALSE(UpdatesLocked());
    EXPECT_EQ(CRect(150, 3, 153, 197), page.SplitterRect());
    EXPECT_EQ(CRect(3, 3, 150, 197), ChildRect(page, page.m_wndLog));
    EXPECT_EQ(CRect(153, 3, 595, 197), ChildRect(page, page.m_wndPreview));

    // The place survives a new size, within the right pane's least width.
    page.SetWindowPos(nullptr, 0, 0, 240, 200, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(CRect(140, 3, 143, 197), page.SplitterRect());
}

TEST(InfoPage, TheNewestMessageIsInViewWhenEarlierOnesWrap)
{
    StartProgram();
    LonePage lone(400, 200);
    CEdit& log = lone.page.m_wndLog;
    for (const int length : {10, 120}) {
        SCOPED_TRACE(length);
        for (int i = 1; i <= 30; ++i) {
            CString text = ClFormat(L"第%d条信息", i);
            while (text.GetLength() < length) text += L"，道路数据";
            lone.page.AddMessage(text);
        }
        // The box ends with the newest message's line and the empty line
        // after it; that message starts within the box.
        const int lines = static_cast<int>(log.SendMessage(EM_GETLINECOUNT));
        const int newest = static_cast<int>(log.SendMessage(EM_LINEINDEX, lines - 2));
        const LRESULT at = log.SendMessage(EM_POSFROMCHAR, newest);
        CRect box;
        log.GetClientRect(&box);
        const int y = static_cast<short>(HIWORD(at));
        EXPECT_GE(y, 0) << lines << " lines";
        EXPECT_LT(y, box.bottom) << lines << " lines";
    }
}

TEST(InfoPage, LosingTheMouseEndsTheDragAndFreesTheMainWindow)
{
    StartProgram();
    const struct {
        const char* what;
        std::function<void(CPPage_InfoBar&)> lose;
    } cases[] = {
        {"another window takes the mouse", [](CPPage_InfoBar&) { Frame()->SetCapture(); }},
        {"a mode is cancelled", [](CPPage_InfoBar& page) { page.SendMessage(WM_CANCELMODE); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LonePage lone(600, 200);
        CPPage_InfoBar& page = lone.page;
        Mouse(&page, WM_LBUTTONDOWN, 293, 100, MK_LBUTTON);
        Mouse(&page, WM_MOUSEMOVE, 400, 100, MK_LBUTTON);
        ASSERT_TRUE(page.IsDragging());
        ASSERT_TRUE(UpdatesLocked());
        c.lose(page);
        EXPECT_FALSE(page.IsDragging());
        EXPECT_FALSE(UpdatesLocked());
        EXPECT_NE(&page, CWnd::GetCapture());
        EXPECT_EQ(400, page.SplitterRect().left);
        ::ReleaseCapture();
    }
}

TEST(InfoPage, Rendering)
{
    StartProgram();
    CMainFrame* frame = Frame();
    frame->m_wndRoadInfoBar.SetActiveView(0);
    frame->ShowInfoBarPreview(RoadFile(L"HDX"));
    wintest::PumpUntilIdle();
    CPPage_InfoBar* page = InfoPage();
    page->m_wndPreview.SendMessage(EM_SETSEL, 0, 0);
    page->m_wndLog.SendMessage(EM_SETSEL, 0, 0);
    wintest::CaptureWindow(page).SaveBmp(L"info_page.bmp");
}

TEST(InfoPage, TheSlopePreviewShowsTheTemplateChosenInTheLibrary)
{
    StartProgram();
    CMainFrame* frame = Frame();
    frame->m_wndRoadInfoBar.SetActiveView(0);
    CPPage_InfoBar* page = InfoPage();
    // A fill slope 1:1.5 over 4 m, a 2 m berm, then 1:1.75 over 6 m.
    SlopePreviewLines.RemoveAll();
    const double slopes[][3] = {{0, 1.5, 4}, {2, 2, 0}, {0, 1.75, 6}};
    for (const auto& s : slopes) {
        CSlopeLine line;
        line.m_iFixedType = static_cast<int>(s[0]);
        line.m_rFixedValue = s[1];
        line.m_iEndMode = 0;
        line.m_rEndValue = s[2] > 0 ? s[2] : s[1];
        SlopePreviewLines.Add(line);
    }
    SlopePreviewLines[0].SetStartPoint(sSketchPoint{1.0f, -1.0f});
    SketchSlopeLines(SlopePreviewLines);
    SlopePreviewPath = L"D:\\模板库\\填方边坡.TYP";

    // The library's tree asks for the slope preview, then for its redraw.
    frame->ShowInfoBarPreview(L"SHOWSLOPE");
    frame->SendMessage(WM_SHOWTEMPLATEPREVIEW);
    EXPECT_EQ(1, page->Mode());
    EXPECT_TRUE(page->m_wndSlope.IsWindowVisible());
    EXPECT_FALSE(page->m_wndPreview.IsWindowVisible());
    EXPECT_EQ(-1, page->m_wndSlope.m_nCurLine);
    EXPECT_EQ(&SlopePreviewLines, page->m_wndSlope.m_pSlopeLines);
    EXPECT_EQ(SlopePreviewPath, page->m_wndSlope.m_STemplatePath);
    // Both previews take the right pane.
    EXPECT_EQ(ChildRect(*page, page->m_wndPreview), ChildRect(*page, page->m_wndSlope));
    wintest::PumpUntilIdle();
    const Image picture = wintest::CaptureWindow(page);
    picture.SaveBmp(L"info_page_slope.bmp");
    // The lines in the topsoil or the plain pen.
    const CRect slope = ChildRect(*page, page->m_wndSlope);
    EXPECT_GT(picture.Count(slope, RGB(250, 250, 0)) + picture.Count(slope, RGB(255, 153, 62)), 50);

    // Asked again while it shows, the preview keeps its state; a file
    // brings the text back.
    page->m_wndSlope.m_nCurLine = 1;
    frame->ShowInfoBarPreview(L"SHOWSLOPE");
    EXPECT_EQ(1, page->m_wndSlope.m_nCurLine);
    frame->ShowInfoBarPreview(RoadFile(L"DL"));
    EXPECT_EQ(0, page->Mode());
    EXPECT_FALSE(page->m_wndSlope.IsWindowVisible());
    EXPECT_TRUE(page->m_wndPreview.IsWindowVisible());
    page->m_wndSlope.m_pSlopeLines = nullptr;
    SlopePreviewLines.RemoveAll();
}
