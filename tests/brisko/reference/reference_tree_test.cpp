// The reference-document tree on the project manager's "文档规范" tab and
// the reference page it opens: the tree built from the application's table
// (levels nested under the last item of the level above), the document an
// item stands for, the page made once by a double click (the system's mouse
// input, as the user gives it) and laid over the MDI client in front of the
// main window, the help file's topic shown in it, its sizing, maximising
// and closing, the message and an empty page when the help file is
// missing, and a picture of the main window with the tab and the page.
// With documents open: a document brought up hides the page and takes the
// keys, the page's 关闭 gives the focus back, and the window menu lists the
// documents whole and apart (through the system's mouse and keyboard).
//
// The picture comes first: under Wine without a window manager a window
// shown after another one was destroyed does not reach the screen.
#include "reference_world.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/BriskoDoc.h"
#include "brisko/manager/TreeViewResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/DialogBar_Html.h"
#include "brisko/shell/IconMenu.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "support/WindowTest.h"
#include <functional>

using namespace reference_test;
using namespace wintest;

namespace {

class ReferenceTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StartProgram();
        frame = theApp.MainFrame();
        ASSERT_NE(nullptr, frame);
        tree = static_cast<CTreeViewResource*>(frame->m_wndProjectBar.GetView(RUNTIME_CLASS(CTreeViewResource)));
        ASSERT_NE(nullptr, tree);
    }

    // The item with that text (depth first), or null.
    HTREEITEM Find(const wchar_t* text, HTREEITEM from = TVI_ROOT)
    {
        CTreeCtrl& t = tree->GetTreeCtrl();
        for (HTREEITEM item = from == TVI_ROOT ? t.GetRootItem() : t.GetChildItem(from); item;
             item = t.GetNextSiblingItem(item)) {
            if (t.GetItemText(item) == text) return item;
            if (HTREEITEM inner = Find(text, item)) return inner;
        }
        return nullptr;
    }
    // The tree as indented lines.
    std::string Dump(HTREEITEM from = TVI_ROOT, int depth = 0)
    {
        CTreeCtrl& t = tree->GetTreeCtrl();
        std::string out;
        for (HTREEITEM item = from == TVI_ROOT ? t.GetRootItem() : t.GetChildItem(from); item;
             item = t.GetNextSiblingItem(item)) {
            out += std::string(2 * depth, ' ') + Utf8(t.GetItemText(item)) + "\n";
            out += Dump(item, depth + 1);
        }
        return out;
    }
    // The address the page's browser was last sent to, once it has it.
    bool PageShows(const CString& address)
    {
        return PumpUntil(
            [&] {
                CDialogBar_Html* page = frame->m_pReferencePage;
                IWebBrowser2* browser = page ? page->m_wndHtml.GetBrowser() : nullptr;
                BSTR url = nullptr;
                if (!browser || FAILED(browser->get_LocationURL(&url)) || !url) return false;
                const bool same = CString(url) == address;
                ::SysFreeString(url);
                return same;
            },
            5000);
    }
    // The reference tab in the project manager and the main window in
    // front, so that the mouse reaches the tree.
    void ShowTree()
    {
        frame->ShowProjectBar();
        frame->OnCmdMsg(ID_VIEW_TAB_REFERENCES, CN_COMMAND, nullptr, nullptr);
        ::SetForegroundWindow(frame->m_hWnd);
        PumpUntilIdle();
    }
    // Clicks the item (brought into view) once or twice through the system's
    // input, `dx` pixels right of the middle of its text, and waits until the
    // tree has handled the clicks: the item is selected and nothing is left
    // to do.  (The system takes a click at the same point soon after another
    // for the second of a double click.)
    void Click(const wchar_t* text, int clicks, int dx = 0)
    {
        ShowTree();
        CTreeCtrl& t = tree->GetTreeCtrl();
        const HTREEITEM item = Find(text);
        ASSERT_NE(nullptr, item) << Utf8(text);
        t.EnsureVisible(item);
        PumpUntilIdle();
        CRect rect;
        ASSERT_TRUE(t.GetItemRect(item, &rect, TRUE));
        CPoint at = rect.CenterPoint() + CPoint(dx, 0);
        t.ClientToScreen(&at);
        ASSERT_TRUE(ClickAt(at, clicks));
        ASSERT_TRUE(PumpUntil([&] { return t.GetSelectedItem() == item && !::GetCapture(); }, 5000)) << Utf8(text);
        PumpUntilIdle();
    }
    // A double click on a document: its page, once it is shown with the
    // keyboard focus (null when that did not come).
    CDialogBar_Html* DoubleClick(const wchar_t* text)
    {
        Click(text, 2);
        const bool shown = PumpUntil(
            [&] {
                CDialogBar_Html* page = frame->m_pReferencePage;
                return page && page->IsWindowVisible() && HasFocus(page);
            },
            5000);
        return shown ? frame->m_pReferencePage : nullptr;
    }
    static bool HasFocus(CWnd* page)
    {
        const HWND focus = ::GetFocus();
        return focus && (focus == page->m_hWnd || ::IsChild(page->m_hWnd, focus));
    }
    void ClosePage()
    {
        frame->SendMessage(WM_CLOSEREFERENCEPAGE);
        tree->GetTreeCtrl().SelectItem(nullptr);
        PumpUntilIdle();
    }
    // Whether the window at the middle of the page on the screen is the page
    // or a window in it (nothing lies over it).
    static bool OnTop(CWnd* page)
    {
        CRect rect;
        page->GetWindowRect(&rect);
        const HWND hit = ::WindowFromPoint(rect.CenterPoint());
        return hit == page->m_hWnd || ::IsChild(page->m_hWnd, hit);
    }
    CRect ClientOnScreen() const
    {
        CRect rect;
        ::GetWindowRect(frame->m_hWndMDIClient, &rect);
        return rect;
    }

    CMainFrame* frame = nullptr;
    CTreeViewResource* tree = nullptr;
};

// What the screen shows in the window's place, windows over it included
// (the reference page is a window of its own).
Image ScreenImage(CWnd* wnd)
{
    const HWND hwnd = wnd->m_hWnd; // a temporary window object goes while messages are pumped
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpUntilIdle();
    CRect rect;
    ::GetWindowRect(hwnd, &rect);
    return RenderPaint(rect.Width(), rect.Height(), [&](CDC& dc) {
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(dc.GetSafeHdc(), 0, 0, rect.Width(), rect.Height(), screen, rect.left, rect.top, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    });
}

// The text of a message box (its static control with text).
CString BoxText(CWnd* box)
{
    for (CWnd* child = box->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child->m_hWnd, name, 16);
        const CString text = child->GetWindowText();
        if (CString(name).CompareNoCase(L"Static") == 0 && !text.IsEmpty()) return text;
    }
    return CString();
}

} // namespace

TEST_F(ReferenceTreeTest, Screenshot)
{
    frame->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
    ASSERT_NE(nullptr, DoubleClick(L"公路路线设计规范"));
    Image shot = ScreenImage(frame);
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(shot.SaveBmp(L"brisko_reference.bmp"));
    // The page covers the client area: the window's grey background shows
    // nowhere there.
    CRect client = ClientOnScreen();
    CRect window;
    frame->GetWindowRect(&window);
    client.OffsetRect(-window.left, -window.top);
    client.DeflateRect(8, 8);
    EXPECT_EQ(0, shot.Count(client, RGB(128, 128, 128)));
}

// The user's clicks on the tree: a single click on a document only selects
// it; a double click makes the page, a child window of the main window above
// the MDI client, with the keyboard focus and an active caption, in front on
// the screen.  A click in the tree takes the focus back and leaves the page
// in front; the next double click gives the page the focus again.
TEST_F(ReferenceTreeTest, ADoubleClickShowsThePageInFrontAndASingleClickOnlySelects)
{
    ClosePage();
    frame->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
    Click(L"公路工程技术标准", 1);
    EXPECT_EQ(nullptr, frame->m_pReferencePage);

    CDialogBar_Html* page = DoubleClick(L"公路路线设计规范");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(frame, page->GetParent());
    EXPECT_TRUE(page->GetStyle() & WS_CHILD);
    EXPECT_TRUE(OnTop(page));
    bool aboveClient = false;
    for (HWND below = ::GetWindow(page->m_hWnd, GW_HWNDNEXT); below; below = ::GetWindow(below, GW_HWNDNEXT))
        if (below == frame->m_hWndMDIClient) aboveClient = true;
    EXPECT_TRUE(aboveClient);
    // On the screen: the caption in the active colour.
    CRect rect;
    page->GetWindowRect(&rect);
    const Image screen = ScreenImage(page);
    const int frameY = ::GetSystemMetrics(SM_CYFRAME);
    const CRect caption(40, frameY + 4, rect.Width() - 100, frameY + ::GetSystemMetrics(SM_CYCAPTION) - 4);
    EXPECT_GT(screen.Count(caption, ::GetSysColor(COLOR_ACTIVECAPTION)), caption.Width() * caption.Height() / 2);
    EXPECT_TRUE(screen.SaveBmp(L"reference_page_in_front.bmp"));

    // A click in the tree: the focus is there, the page still in front.
    Click(L"公路工程技术标准", 1);
    EXPECT_FALSE(HasFocus(page));
    EXPECT_TRUE(page->IsWindowVisible());
    EXPECT_TRUE(OnTop(page));
    // The same document again: the same page, with the focus.
    EXPECT_EQ(page, DoubleClick(L"公路路线设计规范"));
    EXPECT_TRUE(OnTop(page));
    ClosePage();
}

TEST_F(ReferenceTreeTest, TheTreeListsTheApplicationsDocumentsByLevel)
{
    // The shipped table, in its order.
    EXPECT_EQ("设计参考文档\n"
              "  公路设计规范\n"
              "    公路工程技术标准\n"
              "    公路路线设计规范\n"
              "    公路路基设计规范\n"
              "    公路立体交叉设计细则\n"
              "  城市道路设计规范\n"
              "    城市道路工程设计规范\n"
              "    城市道路路线设计规范\n"
              "    城市道路交叉口设计规程\n"
              "  TAVIX使用手册\n"
              "    项目数据环境\n"
              "    数据文件格式\n",
              Dump());
    CTreeCtrl& t = tree->GetTreeCtrl();
    const HTREEITEM root = t.GetRootItem();
    EXPECT_TRUE(t.GetItemState(root, TVIS_BOLD) & TVIS_BOLD);
    EXPECT_TRUE(t.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
    int image = -1, selected = -1;
    ASSERT_TRUE(t.GetItemImage(Find(L"公路路基设计规范"), image, selected));
    EXPECT_EQ(0, image);
    EXPECT_EQ(1, selected);
    const DWORD style = tree->GetStyle();
    EXPECT_EQ(static_cast<DWORD>(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT),
              style & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT));
    EXPECT_TRUE(tree->GetExStyle() & WS_EX_CLIENTEDGE); // the views' form of a border
    EXPECT_EQ(2, tree->m_ImageList.GetImageCount());

    // Levels nest under the last item of the level above, wherever it was;
    // without one they go to the top; other levels are left out.
    CTreeViewResource::DocTable docs;
    const std::pair<short, const wchar_t*> rows[] = {
        {3, L"孤立"}, {1, L"甲"}, {2, L"甲一"}, {1, L"乙"}, {3, L"乙三"}, {0, L"零级"},
        {6, L"六级"}, {4, L"四级"}, {5, L"五级"}, {2, L"乙二"},
    };
    for (const auto& row : rows) {
        Tavix4::sReferenceDoc doc;
        doc.m_nLevel = row.first;
        doc.m_STitle = row.second;
        doc.m_SFileName = doc.m_STopic = L"NULL";
        docs.Add(doc);
    }
    tree->Build(docs);
    EXPECT_EQ("设计参考文档\n"
              "  甲\n"
              "    甲一\n"
              "      乙三\n"
              "        四级\n"
              "          五级\n"
              "  乙\n"
              "    乙二\n"
              "孤立\n",
              Dump());
    tree->Build(theApp.m_ReferenceDocs);
}

TEST_F(ReferenceTreeTest, AnItemStandsForTheFirstRecordOfItsTitleWithAFileAndTopic)
{
    CTreeViewResource::DocTable docs;
    const struct {
        short level;
        const wchar_t *title, *file, *topic;
    } rows[] = {
        {1, L"规范", L"NULL", L"NULL"},
        {2, L"路线", L"NULL", L"a.htm"},
        {2, L"路线", L"A.CHM", L"NULL"},
        {2, L"路线", L"B.CHM", L"b.htm"},
        {2, L"路线", L"C.CHM", L"c.htm"},
    };
    for (const auto& row : rows) {
        Tavix4::sReferenceDoc doc;
        doc.m_nLevel = row.level;
        doc.m_STitle = row.title;
        doc.m_SFileName = row.file;
        doc.m_STopic = row.topic;
        docs.Add(doc);
    }
    const Tavix4::sReferenceDoc* found = CTreeViewResource::FindDocument(docs, L"路线");
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(CString(L"B.CHM"), found->m_SFileName);
    EXPECT_EQ(nullptr, CTreeViewResource::FindDocument(docs, L"规范"));
    EXPECT_EQ(nullptr, CTreeViewResource::FindDocument(docs, L"设计参考文档"));
}

TEST_F(ReferenceTreeTest, ChoosingADocumentShowsItsTopicOnThePageMadeOnce)
{
    ClosePage();
    // The root and a chapter heading open nothing (they open or close).
    for (const wchar_t* heading : {L"设计参考文档", L"公路设计规范"}) {
        CTreeCtrl& t = tree->GetTreeCtrl();
        const UINT expanded = t.GetItemState(Find(heading), TVIS_EXPANDED) & TVIS_EXPANDED;
        Click(heading, 2);
        EXPECT_NE(expanded, t.GetItemState(Find(heading), TVIS_EXPANDED) & TVIS_EXPANDED) << Utf8(heading);
    }
    EXPECT_EQ(nullptr, frame->m_pReferencePage);

    CDialogBar_Html* page = DoubleClick(L"公路路线设计规范");
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(0, page->m_wndHtml.GetChmPath().CompareNoCase(HelpFile()));
    EXPECT_TRUE(PageShows(TopicAddress(page->m_wndHtml.GetChmPath(), L"Standard/JTG_D20.htm")));

    // Another document: the same page, another topic.
    EXPECT_EQ(page, DoubleClick(L"数据文件格式"));
    EXPECT_TRUE(PageShows(TopicAddress(page->m_wndHtml.GetChmPath(), L"DataFiles.htm")));

    // The help control's close hides the page; the next document shows it
    // again.
    page->m_wndHtml.SendMessage(WM_COMMAND, CHHCtrl::ID_HH_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return !page->IsWindowVisible(); }, 5000));
    EXPECT_EQ(page, frame->m_pReferencePage);
    EXPECT_EQ(page, DoubleClick(L"项目数据环境"));
    EXPECT_TRUE(PageShows(TopicAddress(page->m_wndHtml.GetChmPath(), L"index.htm")));
    ClosePage();
    EXPECT_EQ(nullptr, frame->m_pReferencePage);
}

TEST_F(ReferenceTreeTest, ThePageLiesOverTheClientAreaAndItsControlFillsIt)
{
    ClosePage();
    CDialogBar_Html* page = DoubleClick(L"公路工程技术标准");
    ASSERT_NE(nullptr, page);
    CRect rect;
    page->GetWindowRect(&rect);
    EXPECT_EQ(ClientOnScreen(), rect);
    // The control: child 1162, 5 pixels in, 15 above the bottom (the grip).
    auto controlRect = [&] {
        CRect r;
        page->m_wndHtml.GetWindowRect(&r);
        page->ScreenToClient(&r);
        return r;
    };
    CRect client;
    page->GetClientRect(&client);
    EXPECT_EQ(static_cast<int>(IDC_HTML_CONTROL), page->m_wndHtml.GetDlgCtrlID());
    EXPECT_EQ(CRect(5, 5, client.right - 5, client.bottom - 10), controlRect());
    EXPECT_EQ(5, page->m_wndHtml.GetToolBar().GetButtonCount());

    // Sizing moves the control along.
    page->SetWindowPos(nullptr, 0, 0, rect.Width() + 60, rect.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);
    page->GetClientRect(&client);
    EXPECT_EQ(CRect(5, 5, client.right - 5, client.bottom - 10), controlRect());

    // Maximising lays it over the client area instead.
    page->ShowWindow(SW_MAXIMIZE);
    PumpUntilIdle();
    EXPECT_FALSE(page->IsZoomed());
    page->GetWindowRect(&rect);
    EXPECT_EQ(ClientOnScreen(), rect);
    ClosePage();
}

// The help file missing: a double click, also on the document already
// selected, says so in the system's message boxes, shown in front where the
// user sees them (once when the page opens its start page, once for the
// document), and the page stays empty; the single click before said nothing.
TEST_F(ReferenceTreeTest, WithoutTheHelpFileTheDoubleClickSaysSoAndThePageStaysEmpty)
{
    ClosePage();
    // The world's help file goes away for a while (and comes back whatever
    // the checks find).
    struct AwayFor {
        CString moved = HelpFile() + L".away";
        bool away = MoveFileW(HelpFile(), moved) != FALSE;
        ~AwayFor()
        {
            if (away) MoveFileW(moved, HelpFile());
        }
        void Back()
        {
            away = !MoveFileW(moved, HelpFile());
        }
    } help;
    ASSERT_TRUE(help.away);
    {
        // The system's own boxes instead of the test program's answers.
        struct SystemBoxes {
            void* context = nullptr;
            ClMessageBoxHook previous = ClSetMessageBoxHook(nullptr, nullptr, &context);
            ~SystemBoxes() { ClSetMessageBoxHook(previous, context); }
        } system;
        std::vector<CString> texts;
        DialogScript script;
        const auto answer = [&](CWnd* box) {
            const HWND hwnd = box->m_hWnd; // the picture's pumping frees the temporary window object
            EXPECT_TRUE(box->IsWindowVisible());
            EXPECT_TRUE(OnTop(box));
            texts.push_back(BoxText(box));
            const Image shot = ScreenImage(box);
            EXPECT_FALSE(shot.Empty());
            EXPECT_TRUE(shot.SaveBmp(ClFormat(L"reference_missing_help_%d.bmp", static_cast<int>(texts.size()))));
            Press(CWnd::FromHandle(hwnd), IDOK);
        };
        script.Then(answer).Then(answer);
        Click(L"城市道路工程设计规范", 1, -20);
        EXPECT_TRUE(texts.empty());
        CDialogBar_Html* page = DoubleClick(L"城市道路工程设计规范");
        ASSERT_NE(nullptr, page);
        EXPECT_TRUE(PumpUntil([&] { return !script.StepsLeft(); }, 5000));
        EXPECT_TRUE(script.Unscripted().empty());
        EXPECT_EQ(std::vector<CString>(2, HelpFile() + L"文件没有找到"), texts);
        EXPECT_EQ(nullptr, page->m_wndHtml.m_hWnd);
        CWnd* placeholder = page->GetDlgItem(IDC_HTML_CONTROL);
        ASSERT_NE(nullptr, placeholder);
        EXPECT_EQ(CString(L"Static"), [&] {
            wchar_t name[32] = {};
            ::GetClassNameW(placeholder->m_hWnd, name, 32);
            return CString(name);
        }());
    }
    help.Back();
    ASSERT_FALSE(help.away);
    // With the file back, the same page gets its control.
    CDialogBar_Html* page = DoubleClick(L"城市道路路线设计规范");
    ASSERT_NE(nullptr, page);
    EXPECT_NE(nullptr, page->m_wndHtml.m_hWnd);
    EXPECT_TRUE(PageShows(TopicAddress(page->m_wndHtml.GetChmPath(), L"Standard/CJJ_193.htm")));
    ClosePage();
}

// ---------------------------------------------------------------------------
// The page and the documents behind it.  A document brought up by any way
// but opening it (the window menu, closing the active one) shows it: the
// page hides and the document's view has the keyboard focus, so that what
// the user types goes into the document in front.  The page's 关闭 gives
// the focus back to the active document (the tree without one).  The window
// menu lists every open document, each entry whole and telling the
// documents apart.  All of it through the system's mouse and keyboard input.

namespace {

void CloseDocuments()
{
    for (POSITION pos = theApp.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = theApp.GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;)
            documentTemplate->GetNextDoc(doc)->SetModifiedFlag(FALSE);
    }
    theApp.CloseAllDocuments(FALSE);
    PumpUntilIdle();
}

// Data files of roads in a project folder: their paths alike up to the
// road's folder, as a project's files are, the last in a folder so deep that
// its path is longer than a window menu's entry can show.
struct RoadFiles {
    ScratchFolder folder{L"示范项目"};
    std::vector<CString> paths;
    RoadFiles()
    {
        const wchar_t* const roads[] = {L"一号路", L"二号路", L"三号路"};
        for (const wchar_t* road : roads) {
            const CString dir = folder / road;
            ::CreateDirectoryW(dir, nullptr);
            paths.push_back(dir + L"\\" + road + L".JD");
            WriteText(paths.back(), L"JD1 1000.000 2000.000\nJD2 1500.000 2600.000\n");
        }
        CString deep = folder.Path();
        for (const wchar_t* part : {L"\\互通立交匝道设计", L"\\第二合同段 施工图设计", L"\\2024年修改方案"}) {
            deep += part;
            ::CreateDirectoryW(deep, nullptr);
        }
        paths.push_back(deep + L"\\匝道A.JD");
        WriteText(paths.back(), L"JD1 10.000 20.000\n");
    }
    // The documents go first: the file watcher holds their folders open
    // until it has let go of their watches.
    ~RoadFiles()
    {
        CloseDocuments();
        EXPECT_TRUE(PumpUntil(
            [&] {
                RemoveTree(folder.Path());
                return ::GetFileAttributesW(folder.Path()) == INVALID_FILE_ATTRIBUTES;
            },
            5000));
    }
};

// The file name of a path.
CString FileNameOf(const CString& path) { return path.Mid(path.ReverseFind(L'\\') + 1); }

CDocument* OpenDocument(const CString& path)
{
    CDocument* document = theApp.OpenDocumentFile(path);
    PumpUntilIdle();
    return document;
}

CView* ViewOf(CDocument* document)
{
    POSITION pos = document ? document->GetFirstViewPosition() : nullptr;
    return pos ? document->GetNextView(pos) : nullptr;
}

CDocument* ActiveDocument(CMainFrame* frame)
{
    CMDIChildWnd* child = frame->MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

CString FirstLine(CDocument* document)
{
    CTvTextBuffer& buffer = static_cast<CBriskoDoc*>(document)->m_TextBuffer;
    return buffer.GetLineCount() > 0 ? CString(buffer.LineText(0), buffer.GetLineLength(0)) : CString();
}


// Whether the window at the middle of the view on the screen is the view
// (nothing lies over it).
bool InFront(CView* view)
{
    CRect rect;
    view->GetWindowRect(&rect);
    return ::WindowFromPoint(rect.CenterPoint()) == view->m_hWnd;
}

// An entry of the window menu as it shows: its text as drawn (the mnemonic's
// "&" left out, "&&" drawn as "&"), the character underlined and taken as
// its key (0 for none) and its place on the screen.
struct MenuEntry {
    CString text;
    wchar_t key = 0;
    CRect rect;
};

// An item's text as a menu draws it, and its key: the character after the
// last single "&", which the menu underlines and takes as the key.
void DrawnText(const CString& item, MenuEntry& entry)
{
    entry.text.Empty();
    entry.key = 0;
    for (int i = 0; i < item.GetLength(); ++i) {
        if (item[i] != L'&' || i + 1 == item.GetLength()) {
            entry.text += item[i];
        } else if (item[++i] == L'&') {
            entry.text += L'&';
        } else {
            entry.key = item[i];
            entry.text += item[i];
        }
    }
}

// What a shown menu is given to look at; the look ends the menu, by a
// choice or by EndMenu.
struct MenuLook {
    std::function<void(HWND popup, HMENU menu)> act;
    DWORD since = 0;
    bool seen = false;
};
MenuLook* g_look = nullptr;

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    const HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (!g_look || !popup || !::IsWindowVisible(popup)) {
        if (!g_look || ::GetTickCount() - g_look->since > 10000) {
            ::KillTimer(nullptr, id);
            ::EndMenu();
        }
        return;
    }
    ::KillTimer(nullptr, id);
    g_look->seen = true;
    g_look->act(popup, reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0)));
}

class PageAndDocumentsTest : public ReferenceTreeTest
{
protected:
    void SetUp() override
    {
        ReferenceTreeTest::SetUp();
        ClosePage();
        CloseDocuments();
        frame->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        ClosePage();
        CloseDocuments();
    }

    // Opens the window menu with Alt+W, as the user does, and hands the
    // shown menu to `act`, which must end it; false when it did not show.
    bool WithWindowMenu(const std::function<void(HWND popup, HMENU menu)>& act)
    {
        ::SetForegroundWindow(frame->m_hWnd);
        PumpUntilIdle();
        MenuLook look;
        look.act = act;
        look.since = ::GetTickCount();
        g_look = &look;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &LookAtMenu);
        const bool pressed = PressKeys({VK_MENU, 'W'});
        const bool ended = pressed && PumpUntil([&] {
            const HWND popup = ::FindWindowW(L"#32768", nullptr);
            return look.seen && !(popup && ::IsWindowVisible(popup));
        }, 12000);
        ::KillTimer(nullptr, timer);
        g_look = nullptr;
        PumpUntilIdle();
        return ended;
    }

    // The entries of the document windows in the shown window menu: the
    // items after its last separator.
    std::vector<MenuEntry> WindowEntries(HMENU menu)
    {
        std::vector<MenuEntry> entries;
        const int count = ::GetMenuItemCount(menu);
        int first = count;
        for (int i = count - 1; i >= 0 && first == count; --i)
            if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) first = i + 1;
        for (int i = first; i < count; ++i) {
            MenuEntry entry;
            CString text;
            MenuItemTexts().Lookup(static_cast<int>(::GetMenuItemID(menu, i)), text);
            const int tab = text.Find(L'\t');
            DrawnText(tab < 0 ? text : text.Left(tab), entry);
            // (No window: the menu's own window, where the item shows.)
            ::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &entry.rect);
            entries.push_back(entry);
        }
        return entries;
    }

    // The view of the document in front with the keyboard focus.
    bool Shows(CDocument* document)
    {
        return PumpUntil(
            [&] {
                CView* view = ViewOf(document);
                return ActiveDocument(frame) == document && view && ::GetFocus() == view->m_hWnd &&
                       !frame->m_pReferencePage->IsWindowVisible() && InFront(view);
            },
            5000);
    }
};

} // namespace

// The window menu brings a document up over the page; a key typed then goes
// into it.  Closing the active document brings the next one up the same way.
TEST_F(PageAndDocumentsTest, ADocumentBroughtUpShowsOverThePageWithTheFocus)
{
    RoadFiles files;
    std::vector<CDocument*> documents;
    for (int i = 0; i < 3; ++i) documents.push_back(OpenDocument(files.paths[i]));
    ASSERT_EQ(documents[2], ActiveDocument(frame));

    CDialogBar_Html* page = DoubleClick(L"公路路线设计规范");
    ASSERT_NE(nullptr, page);
    ASSERT_TRUE(OnTop(page));
    // The first document from the window menu, with the mouse.
    bool clicked = false;
    ASSERT_TRUE(WithWindowMenu([&](HWND, HMENU menu) {
        for (const MenuEntry& entry : WindowEntries(menu))
            if (!clicked && entry.text.Find(FileNameOf(files.paths[0])) >= 0)
                clicked = ClickAt(entry.rect.CenterPoint(), 1);
        if (!clicked) ::EndMenu();
    }));
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(Shows(documents[0]));
    EXPECT_FALSE(page->IsWindowVisible());
    // What the user types goes into the document in front, and nowhere else.
    ASSERT_TRUE(PressKeys({'X'}));
    EXPECT_TRUE(PumpUntil([&] { return FirstLine(documents[0]) == L"xJD1 1000.000 2000.000"; }, 5000))
        << Utf8(FirstLine(documents[0]));
    EXPECT_EQ(CString(L"JD1 1000.000 2000.000"), FirstLine(documents[1]));
    EXPECT_EQ(CString(L"JD1 1000.000 2000.000"), FirstLine(documents[2]));
    documents[0]->SetModifiedFlag(FALSE);

    // The page again; the active document closed under it (文件, 关闭).
    ASSERT_EQ(page, DoubleClick(L"公路路线设计规范"));
    ASSERT_TRUE(PressKeys({VK_MENU, 'F'}) && PressKeys({'C'}));
    ASSERT_TRUE(PumpUntil([&] { return ActiveDocument(frame) && ActiveDocument(frame) != documents[0]; }, 5000));
    EXPECT_TRUE(Shows(ActiveDocument(frame)));
}

// The page's 关闭 button, clicked: the page hides and the keys go into the
// document in front; without documents the focus goes to the tree.
TEST_F(PageAndDocumentsTest, ThePagesCloseButtonGivesTheFocusToTheDocumentInFront)
{
    RoadFiles files;
    CDocument* first = OpenDocument(files.paths[0]);
    CDocument* second = OpenDocument(files.paths[1]);
    ASSERT_EQ(second, ActiveDocument(frame));
    const auto clickClose = [&](CDialogBar_Html* page) {
        CToolBarCtrl& bar = page->m_wndHtml.GetToolBar();
        CRect button;
        ASSERT_TRUE(bar.GetItemRect(bar.CommandToIndex(CHHCtrl::ID_HH_CLOSE), &button));
        bar.ClientToScreen(&button);
        ASSERT_TRUE(ClickAt(button.CenterPoint(), 1));
        ASSERT_TRUE(PumpUntil([&] { return !page->IsWindowVisible(); }, 5000));
    };

    CDialogBar_Html* page = DoubleClick(L"公路路线设计规范");
    ASSERT_NE(nullptr, page);
    clickClose(page);
    EXPECT_TRUE(Shows(second));
    ASSERT_TRUE(PressKeys({'X'}));
    EXPECT_TRUE(PumpUntil([&] { return FirstLine(second) == L"xJD1 1000.000 2000.000"; }, 5000))
        << Utf8(FirstLine(second));
    EXPECT_EQ(CString(L"JD1 1000.000 2000.000"), FirstLine(first));

    CloseDocuments();
    ASSERT_EQ(page, DoubleClick(L"公路路线设计规范"));
    clickClose(page);
    EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == tree->m_hWnd; }, 5000));
}

// The window menu as it shows with one document open and with five: an
// entry for every document, each with its file name whole (the path
// shortened in its middle where it is too long, so that the menu fits on the
// screen), all different, each with its number as its key ("&" in a folder's
// name shown as it is), and none cut by the menu's edge in the picture.
// (The first document of a main window, which the list missed, is
// classlib_docview's test.)
TEST_F(PageAndDocumentsTest, TheWindowMenuListsEveryDocumentWholeAndDistinct)
{
    RoadFiles files;
    const CString ampersand = files.folder / L"甲&乙";
    ASSERT_TRUE(::CreateDirectoryW(ampersand, nullptr));
    files.paths.push_back(ampersand + L"\\四号路.JD");
    WriteText(files.paths.back(), L"JD1 1000.000 2000.000\n");
    std::vector<CString> open;
    for (const size_t count : {size_t(1), files.paths.size()}) {
        while (open.size() < count) {
            ASSERT_NE(nullptr, OpenDocument(files.paths[open.size()]));
            open.push_back(files.paths[open.size()]);
        }
        std::vector<MenuEntry> entries;
        Image picture;
        CRect popup;
        ASSERT_TRUE(WithWindowMenu([&](HWND shown, HMENU menu) {
            entries = WindowEntries(menu);
            ::GetWindowRect(shown, &popup);
            picture = CaptureWindow(CWnd::FromHandle(shown));
            ::EndMenu();
        }));
        ASSERT_FALSE(picture.Empty());
        EXPECT_TRUE(picture.SaveBmp(ClFormat(L"window_menu_%d.bmp", static_cast<int>(count))));
        ASSERT_EQ(count, entries.size());
        EXPECT_GE(popup.left, 0);
        EXPECT_LE(popup.right, ::GetSystemMetrics(SM_CXSCREEN)) << "the menu is " << popup.Width() << " px wide";
        for (const CString& path : open) {
            int holding = 0;
            for (const MenuEntry& entry : entries) holding += entry.text.Find(FileNameOf(path) + L":[") >= 0;
            EXPECT_EQ(1, holding) << Utf8(path);
        }
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(static_cast<wchar_t>(L'1' + i), entries[i].key) << Utf8(entries[i].text);
        if (count == files.paths.size()) {
            int holding = 0;
            for (const MenuEntry& entry : entries) holding += entry.text.Find(L"甲&乙\\四号路.JD:[") >= 0;
            EXPECT_EQ(1, holding);
        }
        for (size_t i = 0; i < entries.size(); ++i)
            for (size_t j = i + 1; j < entries.size(); ++j) EXPECT_NE(entries[i].text, entries[j].text);
        // In the picture: each entry's text ends before the menu's edge,
        // whose last columns are clear of text.
        for (const MenuEntry& entry : entries) {
            CRect row = entry.rect;
            row.OffsetRect(-popup.left, -popup.top);
            row.DeflateRect(0, 2);
            const CRect end(row.right - 10, row.top, row.right, row.bottom);
            const CRect text(row.left + 30, row.top, row.right - 10, row.bottom);
            EXPECT_GT(picture.Count(text, ::GetSysColor(COLOR_MENUTEXT)), 20) << Utf8(entry.text);
            EXPECT_EQ(0, picture.Count(end, ::GetSysColor(COLOR_MENUTEXT))) << Utf8(entry.text);
        }
    }
}
