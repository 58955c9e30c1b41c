// Printing a view: the print loop into a DC that keeps every page as a
// metafile (pages and the text on them checked), page ranges and documents
// of unknown length, Cancel and failures, the machine without a printer,
// the print preview inside the main frame, and drops reaching a view.
#include "docview_app.h"
#include <functional>

using namespace docview;
using namespace wintest;
using test_support::ScratchFolder;

namespace {

// A view of pages: page k shows "第 k 页" and a blue block.  How it tells
// its length: a known page count, or OnPrepareDC stopping after the last
// page, or that only once it has printed its first page (it lays its pages
// out then, as a text view does), or nothing at all (the library's default).
enum class Length { known, counted, laidOut, unknown };

class CPagesView : public CView
{
    DECLARE_DYNCREATE(CPagesView)
public:
    static UINT s_pages;
    static Length s_length;
    static bool s_givePrinter; // stands in for a printer: a memory DC with the screen's metrics
    static UINT s_previewPages; // pages side by side when the preview starts

    std::vector<std::string> calls;
    std::vector<CRect> drawRects;
    bool printingDC = true, previewFlag = false;
    std::function<void(UINT page)> onPrint;

    BOOL OnPreparePrinting(CPrintInfo* info) override
    {
        calls.push_back("prepare");
        info->m_nNumPreviewPages = s_previewPages;
        if (!s_givePrinter) return CView::OnPreparePrinting(info);
        info->m_pPD->m_pd.hDC = ::CreateCompatibleDC(nullptr);
        return TRUE;
    }
    void OnBeginPrinting(CDC*, CPrintInfo* info) override
    {
        calls.push_back("begin");
        if (s_length == Length::known) info->SetMaxPage(s_pages);
        laidOut = false;
    }
    void OnPrepareDC(CDC* dc, CPrintInfo* info) override
    {
        if (info && s_length == Length::counted) {
            info->m_bContinuePrinting = info->m_nCurPage <= s_pages;
        } else {
            CView::OnPrepareDC(dc, info);
            if (info && s_length == Length::laidOut && laidOut)
                info->m_bContinuePrinting = info->m_nCurPage <= s_pages;
        }
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override
    {
        calls.push_back("print " + std::to_string(info->m_nCurPage));
        laidOut = true;
        drawRects.push_back(info->m_rectDraw);
        printingDC = printingDC && dc->IsPrinting();
        previewFlag = info->m_bPreview != FALSE;
        CRect area = info->m_rectDraw;
        CFont font;
        font.CreateFont(-area.Height() / 10, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"宋体");
        CFont* old = dc->SelectObject(&font);
        CString text;
        text.Format(L"第 %u 页", info->m_nCurPage);
        dc->SetBkMode(TRANSPARENT);
        dc->TextOut(area.left + area.Width() / 10, area.top + area.Height() / 10, text);
        dc->SelectObject(old);
        CRect block(area.left + area.Width() / 10, area.top + area.Height() / 2, area.left + area.Width() / 2,
                    area.top + area.Height() * 3 / 4);
        dc->FillSolidRect(&block, RGB(0, 0, 255));
        if (onPrint) onPrint(info->m_nCurPage);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { calls.push_back("end"); }
    void OnDraw(CDC*) override {}

private:
    bool laidOut = false;

protected:
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CPagesView, CView)

BEGIN_MESSAGE_MAP(CPagesView, CView)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

UINT CPagesView::s_pages = 2;
Length CPagesView::s_length = Length::known;
bool CPagesView::s_givePrinter = true;
UINT CPagesView::s_previewPages = 1;

// A printer DC that keeps each page as a metafile.
class CPageRecorder : public CDC
{
public:
    std::vector<std::string> calls;
    std::vector<HENHMETAFILE> pages;
    int failAtPage = 0; // StartPage of this page fails

    CPageRecorder() { Attach(::CreateCompatibleDC(nullptr)); }
    ~CPageRecorder() override
    {
        for (HENHMETAFILE page : pages) ::DeleteEnhMetaFile(page);
    }
    int StartDoc(LPDOCINFOW doc) override
    {
        calls.push_back("StartDoc " + std::string(ClWideToMultiByte(doc->lpszDocName, -1, CP_UTF8)));
        return 1;
    }
    int StartPage() override
    {
        calls.push_back("StartPage");
        if (static_cast<int>(pages.size()) + 1 == failAtPage) return 0;
        m_reference = m_hDC;
        m_hDC = m_hAttribDC = ::CreateEnhMetaFileW(m_reference, nullptr, nullptr, nullptr);
        return 1;
    }
    int EndPage() override
    {
        calls.push_back("EndPage");
        pages.push_back(::CloseEnhMetaFile(m_hDC));
        m_hDC = m_hAttribDC = m_reference;
        return 1;
    }
    int EndDoc() override
    {
        calls.push_back("EndDoc");
        return 1;
    }
    int AbortDoc() override
    {
        calls.push_back("AbortDoc");
        return 1;
    }

private:
    HDC m_reference = nullptr;
};

// The texts a page metafile draws, in order.
std::vector<CString> TextsOf(HENHMETAFILE page)
{
    std::vector<CString> texts;
    ::EnumEnhMetaFile(
        nullptr, page,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM out) -> int {
            // (FillSolidRect is an opaque text output of no characters.)
            if (record->iType == EMR_EXTTEXTOUTW && reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext.nChars) {
                auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
                auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) +
                                                               text->emrtext.offString);
                reinterpret_cast<std::vector<CString>*>(out)->push_back(
                    CString(chars, static_cast<int>(text->emrtext.nChars)));
            }
            return 1;
        },
        &texts, nullptr);
    return texts;
}

std::vector<std::vector<CString>> TextsOf(const CPageRecorder& printer)
{
    std::vector<std::vector<CString>> pages;
    for (HENHMETAFILE page : printer.pages) pages.push_back(TextsOf(page));
    return pages;
}

std::vector<CString> PageTexts(std::initializer_list<UINT> pages)
{
    std::vector<CString> texts;
    for (UINT page : pages) texts.push_back(ClFormat(L"第 %u 页", page));
    return texts;
}

// A note document with a second window that shows it as pages.
class PrintTest : public DocViewTest
{
protected:
    CPagesView* view = nullptr;
    ScratchFolder folder{L"print"};

    void SetUp() override
    {
        DocViewTest::SetUp();
        CPagesView::s_pages = 2;
        CPagesView::s_length = Length::known;
        CPagesView::s_givePrinter = true;
        CPagesView::s_previewPages = 1;
        WriteNote(folder / L"路线.note", L"内容");
        CDocument* note = theApp.OpenDocumentFile(folder / L"路线.note");
        ASSERT_NE(nullptr, note);
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CPagesView);
        context.m_pCurrentDoc = note;
        context.m_pNewDocTemplate = theApp.m_pNotes;
        auto* child = new CMDIChildWnd;
        ASSERT_TRUE(child->LoadFrame(IDR_NOTE, WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context));
        child->InitialUpdateFrame(note, TRUE);
        view = DYNAMIC_DOWNCAST(CPagesView, child->GetActiveView());
        ASSERT_NE(nullptr, view);
        PumpUntilIdle();
    }
};

} // namespace

TEST_F(PrintTest, TwoPagesGoToThePrinterWithTheirTexts)
{
    CPageRecorder printer;
    CPrintInfo info;
    EXPECT_TRUE(view->PrintDocument(&printer, &info));
    EXPECT_EQ((std::vector<std::string>{"StartDoc 路线.note", "StartPage", "EndPage", "StartPage", "EndPage",
                                        "EndDoc"}),
              printer.calls);
    EXPECT_EQ((std::vector<std::string>{"begin", "print 1", "print 2", "end"}), view->calls);
    EXPECT_EQ((std::vector<std::vector<CString>>{PageTexts({1}), PageTexts({2})}), TextsOf(printer));
    EXPECT_TRUE(view->printingDC);
    EXPECT_FALSE(view->previewFlag);
    CRect page(0, 0, printer.GetDeviceCaps(HORZRES), printer.GetDeviceCaps(VERTRES));
    EXPECT_EQ((std::vector<CRect>{page, page}), view->drawRects);
    EXPECT_FALSE(printer.IsPrinting()); // only while the document printed
    EXPECT_TRUE(theApp.Frame()->IsWindowEnabled());
}

TEST_F(PrintTest, PageRangesAndDocumentsOfUnknownLength)
{
    struct Case {
        const char* name;
        Length length;
        UINT pages;
        WORD from, to; // 0: all pages
        std::vector<CString> printed;
    } cases[] = {
        {"the range the user chose", Length::known, 3, 2, 3, PageTexts({2, 3})},
        {"a range past the end is cut to the document", Length::known, 2, 2, 9, PageTexts({2})},
        {"all of a document that counts its pages as it goes", Length::counted, 3, 0, 0, PageTexts({1, 2, 3})},
        {"a range of such a document", Length::counted, 4, 3, 9, PageTexts({3, 4})},
        {"a view that does not tell: one page", Length::unknown, 5, 0, 0, PageTexts({1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPagesView::s_length = c.length;
        CPagesView::s_pages = c.pages;
        CPageRecorder printer;
        CPrintInfo info;
        if (c.from) {
            info.m_pPD->m_pd.Flags |= PD_PAGENUMS;
            info.m_pPD->m_pd.nFromPage = c.from;
            info.m_pPD->m_pd.nToPage = c.to;
        }
        EXPECT_TRUE(view->PrintDocument(&printer, &info));
        std::vector<CString> printed;
        for (auto& texts : TextsOf(printer)) printed.insert(printed.end(), texts.begin(), texts.end());
        EXPECT_EQ(c.printed, printed);
        EXPECT_EQ("EndDoc", printer.calls.back());
    }
}

TEST_F(PrintTest, CancelInThePrintingDialogStopsAfterThePage)
{
    CPagesView::s_pages = 3;
    view->onPrint = [](UINT page) {
        if (page != 1) return;
        HWND dialog = ::FindWindowW(L"#32770", L"打印");
        ASSERT_NE(nullptr, dialog);
        EXPECT_FALSE(theApp.Frame()->IsWindowEnabled()); // no commands while pages go out
        wchar_t text[64] = {};
        ::GetDlgItemTextW(dialog, 1001, text, 64);
        EXPECT_STREQ(L"正在打印第 1 页", text);
        CaptureWindow(CWnd::FromHandle(dialog)).SaveBmp(L"printing_dialog.bmp");
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    MessageBoxScript boxes;
    CPageRecorder printer;
    CPrintInfo info;
    EXPECT_FALSE(view->PrintDocument(&printer, &info));
    EXPECT_EQ((std::vector<std::string>{"StartDoc 路线.note", "StartPage", "EndPage", "AbortDoc"}), printer.calls);
    EXPECT_EQ((std::vector<std::string>{"begin", "print 1", "end"}), view->calls);
    EXPECT_TRUE(boxes.Shown().empty()); // the user's own choice: no message
    EXPECT_TRUE(theApp.Frame()->IsWindowEnabled());
    EXPECT_EQ(nullptr, ::FindWindowW(L"#32770", L"打印"));
}

TEST_F(PrintTest, APageThePrinterRefusesAbortsTheDocumentAndSaysSo)
{
    CPagesView::s_pages = 3;
    MessageBoxScript boxes;
    CPageRecorder printer;
    printer.failAtPage = 2;
    CPrintInfo info;
    EXPECT_FALSE(view->PrintDocument(&printer, &info));
    EXPECT_EQ((std::vector<std::string>{"StartDoc 路线.note", "StartPage", "EndPage", "StartPage", "AbortDoc"}),
              printer.calls);
    EXPECT_EQ((std::vector<std::string>{"begin", "print 1", "end"}), view->calls);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_STREQ(CL_MSG_PRINT_FAILED, boxes.Shown()[0].text);
}

TEST_F(PrintTest, WithoutAPrinterEachPrintCommandSaysSoAndReturns)
{
    ASSERT_FALSE(ClHasPrinter());
    CPagesView::s_givePrinter = false;
    for (UINT command : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}) {
        SCOPED_TRACE(command);
        MessageBoxScript boxes;
        view->calls.clear();
        view->SendMessage(WM_COMMAND, command);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_STREQ(CL_MSG_NO_PRINTER, boxes.Shown()[0].text);
        EXPECT_EQ(std::vector<std::string>{"prepare"}, view->calls); // nothing printed
        EXPECT_EQ(nullptr, CPreviewView::Of(theApp.Frame()));
    }
}

// ---------------------------------------------------------------------------
// The preview.

namespace {

// A bar of the main frame that the preview must hide and bring back.
class CTestBar : public CControlBar
{
public:
    CSize CalcFixedLayout(BOOL stretch, BOOL) override { return CSize(stretch ? 32767 : 200, 24); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

void Click(CPreviewView* preview, UINT button)
{
    CWnd* bar = preview->GetParentFrame()->GetDlgItem(AFX_IDW_PREVIEW_BAR);
    ASSERT_NE(nullptr, bar);
    ::SendMessageW(::GetDlgItem(bar->m_hWnd, static_cast<int>(button)), BM_CLICK, 0, 0);
    PumpUntilIdle(); // the bar follows at the idle moment
}

BOOL ButtonEnabled(CPreviewView* preview, UINT button)
{
    CWnd* bar = preview->GetParentFrame()->GetDlgItem(AFX_IDW_PREVIEW_BAR);
    return ::IsWindowEnabled(::GetDlgItem(bar->m_hWnd, static_cast<int>(button)));
}

CString PageText(CPreviewView* preview)
{
    CWnd* bar = preview->GetParentFrame()->GetDlgItem(AFX_IDW_PREVIEW_BAR);
    CString text;
    bar->GetDlgItemText(AFX_ID_PREVIEW_PAGETEXT, text);
    return text;
}

} // namespace

TEST_F(PrintTest, PreviewShowsThePagesInTheMainFrameAndGivesItBack)
{
    CPagesView::s_pages = 3;
    CMainFrame* frame = theApp.Frame();
    CTestBar bar;
    bar.m_dwStyle = CBRS_BOTTOM;
    ASSERT_TRUE(bar.CreateEx(0, nullptr, L"状态", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 0xE801));
    frame->RecalcLayout();
    HWND client = frame->m_hWndMDIClient;
    HMENU menu = ::GetMenu(frame->m_hWnd);
    ASSERT_TRUE(::IsWindowVisible(client));

    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* preview = CPreviewView::Of(frame);
    ASSERT_NE(nullptr, preview);
    PumpUntilIdle();
    EXPECT_FALSE(::IsWindowVisible(client));
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_FALSE(frame->m_pTree->IsWindowVisible());
    EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(preview, CPreviewView::Of(frame));
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW); // one preview at a time
    EXPECT_EQ(preview, CPreviewView::Of(frame));

    EXPECT_EQ(3u, preview->GetPageCount());
    EXPECT_EQ(1u, preview->GetCurrentPage());
    EXPECT_STREQ(L"第 1 页 / 共 3 页", PageText(preview));
    EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_PREV));
    Click(preview, AFX_ID_PREVIEW_NEXT);
    Click(preview, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(3u, preview->GetCurrentPage());
    EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT)); // the last page
    EXPECT_TRUE(ButtonEnabled(preview, AFX_ID_PREVIEW_PREV));
    Click(preview, AFX_ID_PREVIEW_PREV);
    Click(preview, AFX_ID_PREVIEW_NUMPAGE); // two pages side by side
    EXPECT_EQ(2u, preview->GetPagesShown());
    EXPECT_STREQ(L"第 2、3 页 / 共 3 页", PageText(preview));
    EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
    Click(preview, AFX_ID_PREVIEW_PREV);
    EXPECT_STREQ(L"第 1、2 页 / 共 3 页", PageText(preview));

    Image shot = CaptureWindow(frame, true);
    shot.SaveBmp(L"print_preview.bmp");
    CRect area;
    preview->GetWindowRect(&area);
    frame->ScreenToClient(&area);
    EXPECT_EQ(::GetSysColor(COLOR_APPWORKSPACE), shot.At(area.left + 3, area.top + 3));
    // Each page: white paper with the blue block, the left page first.
    int blueLeft = shot.Count(CRect(area.left, area.top, area.CenterPoint().x, area.bottom), RGB(0, 0, 255));
    int blueRight = shot.Count(CRect(area.CenterPoint().x, area.top, area.right, area.bottom), RGB(0, 0, 255));
    EXPECT_GT(blueLeft, 100);
    EXPECT_GT(blueRight, 100);
    EXPECT_GT(shot.Count(area, RGB(255, 255, 255)), blueLeft);

    Click(preview, AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_EQ(1, preview->GetZoom());
    EXPECT_EQ(1u, preview->GetPagesShown()); // zoomed: one page
    EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NUMPAGE));
    Click(preview, AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_ZOOMIN));
    Click(preview, AFX_ID_PREVIEW_ZOOMOUT);
    Click(preview, AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_EQ(0, preview->GetZoom());

    // Closing the main window while the preview shows closes the preview.
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, CPreviewView::Of(frame));
    ASSERT_TRUE(::IsWindow(frame->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(client));
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_TRUE(frame->m_pTree->IsWindowVisible());
    EXPECT_EQ(menu, ::GetMenu(frame->m_hWnd));
    // Each page was drawn once for the preview, between its begin and end.
    EXPECT_EQ((std::vector<std::string>{"prepare", "begin", "print 1", "print 2", "print 3", "end"}), view->calls);
    EXPECT_TRUE(view->printingDC);
    EXPECT_TRUE(view->previewFlag);
    bar.DestroyWindow();
    frame->RecalcLayout();
}

TEST_F(PrintTest, PreviewFindsTheEndOfADocumentThatCountsAsItGoes)
{
    CPagesView::s_length = Length::counted;
    CPagesView::s_pages = 2;
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* preview = CPreviewView::Of(theApp.Frame());
    ASSERT_NE(nullptr, preview);
    PumpUntilIdle();
    EXPECT_STREQ(L"第 1 页", PageText(preview)); // no count yet
    Click(preview, AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(2u, preview->GetCurrentPage());
    EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
    EXPECT_EQ(2u, preview->GetPageCount());
    EXPECT_STREQ(L"第 2 页 / 共 2 页", PageText(preview));
    Click(preview, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(nullptr, CPreviewView::Of(theApp.Frame()));
    EXPECT_EQ("end", view->calls.back());
}

TEST_F(PrintTest, PreviewDrawsThePagesInOrderForAViewThatLaysThemOutOnItsFirstPage)
{
    // Such a view knows only page 1 until it has printed it: asked for page 2
    // first, it would end the document there.
    CPagesView::s_length = Length::laidOut;
    CPagesView::s_pages = 3;
    for (UINT shown : {1u, 2u}) {
        SCOPED_TRACE(shown);
        CPagesView::s_previewPages = shown;
        view->calls.clear();
        view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
        CPreviewView* preview = CPreviewView::Of(theApp.Frame());
        ASSERT_NE(nullptr, preview);
        preview->UpdateWindow();
        PumpUntilIdle();
        EXPECT_EQ(shown, preview->GetPagesShown());
        Click(preview, AFX_ID_PREVIEW_NEXT);
        Click(preview, AFX_ID_PREVIEW_NEXT);
        EXPECT_EQ(4u - shown, preview->GetCurrentPage());
        EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
        EXPECT_EQ(3u, preview->GetPageCount());
        Click(preview, AFX_ID_PREVIEW_CLOSE);
        EXPECT_EQ((std::vector<std::string>{"prepare", "begin", "print 1", "print 2", "print 3", "end"}),
                  view->calls);
    }
}

TEST_F(PrintTest, ClosingTheDocumentWhileItsPreviewShowsLeavesNothingBehind)
{
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    CPreviewView* preview = CPreviewView::Of(theApp.Frame());
    ASSERT_NE(nullptr, preview);
    PumpUntilIdle();
    theApp.CloseAllDocuments(TRUE); // the view goes while the preview shows it
    PumpUntilIdle();
    ASSERT_EQ(preview, CPreviewView::Of(theApp.Frame()));
    EXPECT_EQ(nullptr, preview->GetPrintView());
    Click(preview, AFX_ID_PREVIEW_NEXT); // nothing more to draw, and nothing breaks
    Click(preview, AFX_ID_PREVIEW_CLOSE);
    EXPECT_EQ(nullptr, CPreviewView::Of(theApp.Frame()));
    EXPECT_TRUE(::IsWindowVisible(theApp.Frame()->m_hWndMDIClient));
}

// ---------------------------------------------------------------------------
// Drops reach the view through the library's drop target.

namespace {

class CDropView : public CView
{
    DECLARE_DYNCREATE(CDropView)
public:
    std::vector<std::string> calls;
    CString dropped;
    DROPEFFECT OnDragEnter(COleDataObject* data, DWORD, CPoint) override
    {
        calls.push_back("enter");
        return data->IsTextAvailable() ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(COleDataObject*, DWORD, CPoint) override
    {
        calls.push_back("over");
        return DROPEFFECT_COPY;
    }
    BOOL OnDrop(COleDataObject* data, DROPEFFECT, CPoint) override
    {
        calls.push_back("drop");
        return data->GetText(dropped);
    }
    void OnDragLeave() override { calls.push_back("leave"); }
    void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(CDropView, CView)

} // namespace

TEST_F(DocViewTest, TheDropTargetHandsTheDragToTheView)
{
    ASSERT_TRUE(AfxOleInit());
    auto* view = new CDropView; // deletes itself with its window
    CCreateContext none;
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 100, 100), theApp.Frame(), 0xE9F0, &none));
    COleDropTarget target;
    ASSERT_TRUE(target.Register(view));
    COleDataSource source;
    source.CacheText(L"K1+200");
    POINTL at{10, 10};
    DWORD effect = DROPEFFECT_COPY;
    target.GetInterface()->DragEnter(source.GetInterface(), 0, at, &effect);
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    target.GetInterface()->DragOver(0, at, &effect);
    target.GetInterface()->Drop(source.GetInterface(), 0, at, &effect);
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    EXPECT_EQ((std::vector<std::string>{"enter", "over", "drop"}), view->calls);
    EXPECT_STREQ(L"K1+200", view->dropped);
    view->DestroyWindow();
    EXPECT_EQ(nullptr, target.m_hWnd);
}
