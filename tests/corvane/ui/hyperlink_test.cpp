// The hyperlink (set-up, colours, hover, tool tip, clicks and opening through
// the shell), the in-place edit's end-of-edit report and the drawing-context
// helpers.
#include "corvane/ui/BufferDC.h"
#include "corvane/ui/CtrlEdit.h"
#include "corvane/ui/HyperLink.h"
#include "support/Scratch.h"
#include "support/StandinReady.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

using namespace wintest;
using test_support::ScratchFolder;

namespace {

// ---------------------------------------------------------------------------
// The link probe: a copy of this test program under the name below opens no
// test at all.  It records how it was started (STARTUPINFO's show flags and
// show state, and its process id) into "probe.txt" beside itself and ends at
// once, so that a link opened through the shell can be checked without
// leaving anything running.
const wchar_t kProbeName[] = L"hyperlink_probe.exe";

bool RunAsLinkProbe()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString self(path);
    int slash = self.ReverseFind(L'\\');
    if (self.Mid(slash + 1).CompareNoCase(kProbeName) != 0) return false;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    ::GetStartupInfoW(&si);
    CString record = self.Left(slash + 1) + L"probe.txt";
    if (FILE* f = _wfopen(record, L"w")) {
        std::fprintf(f, "%lu %u %lu\n", si.dwFlags & STARTF_USESHOWWINDOW, si.wShowWindow, ::GetCurrentProcessId());
        std::fclose(f);
    }
    ::ExitProcess(0);
    return true;
}
[[maybe_unused]] const bool g_isProbe = RunAsLinkProbe();

// A child window that hosts the controls and records what they send it.
class LinkHost : public CWnd
{
public:
    std::vector<WPARAM> linkClicks;
    std::vector<CString> endEditTexts;
    std::vector<UINT_PTR> endEditIds;
    BOOL Make(CWnd* parent)
    {
        return CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), L"host",
                        WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200), parent, 500);
    }

protected:
    LRESULT OnLinkClicked(WPARAM wParam, LPARAM)
    {
        linkClicks.push_back(wParam);
        return 0;
    }
    void OnEndEdit(NMHDR* hdr, LRESULT*)
    {
        auto* info = reinterpret_cast<sEndEditInfo*>(hdr);
        endEditTexts.push_back(info->text);
        endEditIds.push_back(info->hdr.idFrom);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LinkHost, CWnd)
    ON_MESSAGE(WM_TKX_LINKCLICKED, OnLinkClicked)
    ON_NOTIFY(LVN_ENDLABELEDITW, 501, OnEndEdit)
END_MESSAGE_MAP()

const UINT kLinkId = 502;

class HyperLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new TestFrame;
        ASSERT_TRUE(host.Make(frame));
        HWND label = ::CreateWindowExW(0, L"STATIC", L"道路设计", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 120, 24,
                                       host.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLinkId)), nullptr,
                                       nullptr);
        ASSERT_NE(nullptr, label);
        ASSERT_TRUE(link.SubclassDlgItem(kLinkId, &host));
    }
    void TearDown() override { frame->DestroyWindow(); }

    // The text colour the host's WM_CTLCOLORSTATIC gives the link now.
    COLORREF ColourNow()
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        LRESULT brush = host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(link.m_hWnd));
        EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH)), brush);
        EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
        COLORREF colour = ::GetTextColor(dc);
        ::DeleteDC(dc);
        return colour;
    }

    // A click on the label (the static control reports it on the button
    // going down).
    void Click()
    {
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    TestFrame* frame = nullptr;
    LinkHost host;
    tkxHyperLink link;
};

} // namespace

TEST_F(HyperLinkTest, SubclassingUnderlinesNotifiesAndMakesTheToolTip)
{
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
    EXPECT_TRUE(lf.lfUnderline);

    CToolTipCtrl* tip = link.GetToolTip();
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(1, tip->GetToolCount());
    EXPECT_EQ(CString(), tip->GetText(&link, tkxHyperLink::TOOLTIP_ID));
    EXPECT_FALSE(tip->IsWindowVisible());

    // The hand cursor is shown over the link, and the message is taken.
    EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());

    link.SetLinkText(L"TAVIX帮助");
    EXPECT_EQ(CString(L"TAVIX帮助"), link.GetLinkText());
    EXPECT_EQ(CString(L"TAVIX帮助"), link.GetWindowText());
}

TEST_F(HyperLinkTest, HandCursorBecomesTheControlsCursorImage)
{
    // A text label ignores a cursor image; an icon label keeps it, so the
    // hand cursor handed over while subclassing can be read back there.
    HWND label = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 40, 32, 32, host.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kLinkId + 1)), nullptr, nullptr);
    ASSERT_NE(nullptr, label);
    tkxHyperLink iconLink;
    ASSERT_TRUE(iconLink.SubclassDlgItem(kLinkId + 1, &host));
    EXPECT_EQ(reinterpret_cast<LRESULT>(::LoadCursorW(nullptr, IDC_HAND)),
              iconLink.SendMessage(STM_GETIMAGE, IMAGE_CURSOR));
    iconLink.DestroyWindow();
}

TEST_F(HyperLinkTest, ToolTipTextChangesOnlyOnceTheTipIsActive)
{
    link.SetTootTipText(L"打开帮助文档");
    EXPECT_EQ(CString(), link.GetToolTip()->GetText(&link, tkxHyperLink::TOOLTIP_ID));
    link.ActiveToolTip(TRUE);
    link.SetTootTipText(L"打开帮助文档");
    EXPECT_EQ(CString(L"打开帮助文档"), link.GetToolTip()->GetText(&link, tkxHyperLink::TOOLTIP_ID));
}

TEST_F(HyperLinkTest, ColoursFollowHoverAndVisitedAndVisitedWinsWhileHovering)
{
    link.SetLinkColor(RGB(0, 0, 250));
    link.SetHoverColor(RGB(250, 0, 0));
    link.SetVisitedColor(RGB(0, 120, 0));
    EXPECT_EQ(RGB(0, 0, 250), ColourNow());
    Image normal = PrintWindowImage(&link, true);

    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(link.IsHovering());
    EXPECT_EQ(link.m_hWnd, ::GetCapture());
    EXPECT_EQ(RGB(250, 0, 0), ColourNow());
    Image hover = PrintWindowImage(&link, true);

    link.SetFireChild(TRUE);
    Click();
    EXPECT_TRUE(link.IsVisited());
    EXPECT_TRUE(link.IsHovering());
    EXPECT_EQ(RGB(0, 120, 0), ColourNow());
    Image visited = PrintWindowImage(&link, true);

    normal.SaveBmp(L"hyperlink_normal.bmp");
    hover.SaveBmp(L"hyperlink_hover.bmp");
    visited.SaveBmp(L"hyperlink_visited.bmp");
    const CRect label(0, 0, 120, 24);
    struct Shot {
        const Image& image;
        COLORREF shown;
    } shots[] = {{normal, RGB(0, 0, 250)}, {hover, RGB(250, 0, 0)}, {visited, RGB(0, 120, 0)}};
    for (const Shot& s : shots) {
        int shown = s.image.Count(label, s.shown);
        int others = s.image.Count(label, RGB(0, 0, 250)) + s.image.Count(label, RGB(250, 0, 0)) +
                     s.image.Count(label, RGB(0, 120, 0)) - shown;
        EXPECT_GT(shown, 10);
        EXPECT_EQ(0, others);
    }

    // Leaving the client area ends the hover and releases the capture.
    link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(300, 5));
    EXPECT_FALSE(link.IsHovering());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(HyperLinkTest, FireChildNotifiesTheParentInsteadOfOpening)
{
    link.SetFireChild(TRUE);
    link.SetLinkUrl(L"C:\\no such folder\\no such file.txt");
    Click();
    ASSERT_EQ(1u, host.linkClicks.size());
    EXPECT_EQ(kLinkId, host.linkClicks[0]);
    EXPECT_TRUE(link.IsVisited());
}

TEST_F(HyperLinkTest, ALinkThatFailsToOpenIsNotVisited)
{
    ScratchFolder folder(L"link_missing");
    link.SetLinkUrl(folder / L"缺少的文件.xyz");
    EXPECT_FALSE(link.GoToLinkUrl(link.GetLinkUrl()));
    Click();
    EXPECT_FALSE(link.IsVisited());
    EXPECT_TRUE(host.linkClicks.empty());
    EXPECT_EQ(RGB(0, 0, 255), ColourNow());
}

TEST_F(HyperLinkTest, ALinkOpensInANormalWindowAndIsThenVisited)
{
    // The probe: a copy of this program, started by the shell through the
    // link.  It finds our libraries through PATH.
    ScratchFolder folder(L"link_probe");
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const CString probe = folder / kProbeName;
    ASSERT_TRUE(::CopyFileW(self, probe, FALSE));
    const CString bin = test_support::BinFolder();
    std::vector<wchar_t> oldPath(32767);
    DWORD n = ::GetEnvironmentVariableW(L"PATH", oldPath.data(), static_cast<DWORD>(oldPath.size()));
    ::SetEnvironmentVariableW(L"PATH", bin + L";" + CString(oldPath.data(), static_cast<int>(n)));

    link.SetLinkUrl(probe);
    Click();
    ::SetEnvironmentVariableW(L"PATH", oldPath.data());
    EXPECT_TRUE(link.IsVisited());

    // Wait (bounded) for the probe's record, then for the probe to end.
    const CString record = folder / L"probe.txt";
    unsigned long useShow = 0, pid = 0;
    unsigned show = 0;
    bool recorded = false;
    for (int i = 0; i < 300 && !recorded; ++i) {
        if (FILE* f = _wfopen(record, L"r")) {
            recorded = std::fscanf(f, "%lu %u %lu", &useShow, &show, &pid) == 3;
            std::fclose(f);
        }
        if (!recorded) ::Sleep(50);
    }
    ASSERT_TRUE(recorded) << "the probe did not start";
    if (HANDLE process = test_support::OpenStandinProcess(pid, probe, SYNCHRONIZE | PROCESS_TERMINATE)) {
        if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
    EXPECT_EQ(static_cast<unsigned long>(STARTF_USESHOWWINDOW), useShow);
    EXPECT_EQ(static_cast<unsigned>(SW_SHOWNORMAL), show);
}

// ---------------------------------------------------------------------------

TEST(CtrlEdit, ReportsItsTextToTheParentOnEveryFocusLoss)
{
    auto* frame = new TestFrame;
    LinkHost host;
    ASSERT_TRUE(host.Make(frame));
    tkxCtrlEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &host, 501));
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CEdit)));
    edit.SetWindowText(L"K12+345.678");
    edit.SendMessage(WM_KILLFOCUS, 0, 0);
    edit.SendMessage(WM_KILLFOCUS, 0, 0); // unchanged text: reported again
    edit.SetWindowText(L"路基");
    edit.SendMessage(WM_KILLFOCUS, 0, 0);
    std::vector<CString> expected{L"K12+345.678", L"K12+345.678", L"路基"};
    EXPECT_EQ(expected, host.endEditTexts);
    EXPECT_EQ(std::vector<UINT_PTR>(3, 501), host.endEditIds);
    frame->DestroyWindow();
}

// ---------------------------------------------------------------------------

TEST(DrawingHelpers, BufferShowsItsRectangleOnlyWhenItEnds)
{
    const COLORREF white = RGB(255, 255, 255), red = RGB(220, 0, 0);
    COLORREF duringDrawing = 0;
    Image image = RenderPaint(60, 60, [&](CDC& dc) {
        {
            CBufferDC buffer(dc.m_hDC, CRect(10, 10, 50, 50));
            buffer.FillSolidRect(0, 0, 60, 60, red);
            duringDrawing = dc.GetPixel(20, 20);
        }
    });
    image.SaveBmp(L"bufferdc.bmp");
    EXPECT_EQ(white, duringDrawing);
    EXPECT_EQ(40 * 40, image.Count(CRect(10, 10, 50, 50), red));
    EXPECT_EQ(40 * 40, image.Count(CRect(0, 0, 60, 60), red));
}

TEST(DrawingHelpers, BufferWithoutRectangleCoversTheClipBox)
{
    const COLORREF red = RGB(220, 0, 0);
    Image image = RenderPaint(60, 40, [&](CDC& dc) {
        dc.IntersectClipRect(5, 5, 30, 20);
        CBufferDC buffer(dc.m_hDC);
        EXPECT_EQ(CRect(5, 5, 30, 20), buffer.BufferRect());
        buffer.FillSolidRect(0, 0, 60, 40, red);
    });
    EXPECT_EQ(25 * 15, image.Count(CRect(0, 0, 60, 40), red));
}

TEST(DrawingHelpers, ScopedPenAndBrushAreDeselectedWhenTheyEnd)
{
    const COLORREF white = RGB(255, 255, 255), blue = RGB(0, 0, 200), green = RGB(0, 150, 0);
    HGDIOBJ penBefore = nullptr, brushBefore = nullptr, penAfter = nullptr, brushAfter = nullptr;
    Image image = RenderPaint(100, 40, [&](CDC& dc) {
        penBefore = ::GetCurrentObject(dc, OBJ_PEN);
        brushBefore = ::GetCurrentObject(dc, OBJ_BRUSH);
        {
            CPenDC pen(dc, blue);
            CBrushDC brush(dc, green);
            dc.Rectangle(0, 0, 30, 30); // blue outline, green inside
            pen.Color(green);
            EXPECT_EQ(green, pen.Color());
            brush.Color(CBrushDC::HOLLOW);
            EXPECT_EQ(static_cast<COLORREF>(CBrushDC::HOLLOW), brush.Color());
            dc.Rectangle(40, 0, 70, 30); // green outline, unfilled
        }
        penAfter = ::GetCurrentObject(dc, OBJ_PEN);
        brushAfter = ::GetCurrentObject(dc, OBJ_BRUSH);
    });
    image.SaveBmp(L"pen_brush_dc.bmp");
    EXPECT_EQ(penBefore, penAfter);
    EXPECT_EQ(brushBefore, brushAfter);
    EXPECT_EQ(blue, image.At(0, 0));
    EXPECT_EQ(green, image.At(15, 15));
    EXPECT_EQ(green, image.At(40, 0));
    EXPECT_EQ(white, image.At(55, 15));
}
