// The MDI program: templates, frames and views, menus and titles that follow
// the active document, opening an open file again, closing with the save
// question, the recent-file list, dropped files.
#include "docview_app.h"
#include <shlobj.h>
#include <algorithm>
#include <functional>

using namespace docview;
using namespace wintest;
using test_support::ScratchFolder;

namespace {

CNoteDoc* OpenNote(const CString& path) { return static_cast<CNoteDoc*>(theApp.OpenDocumentFile(path)); }

CMDIChildWnd* ActiveChild() { return theApp.Frame()->MDIGetActive(); }

} // namespace

TEST_F(DocViewTest, TemplatesDescribeTheirDocumentsAndPickFilesByExtension)
{
    CString text;
    EXPECT_TRUE(theApp.m_pNotes->GetDocString(text, CDocTemplate::docName));
    EXPECT_STREQ(L"笔记", text);
    EXPECT_TRUE(theApp.m_pLists->GetDocString(text, CDocTemplate::filterExt));
    EXPECT_STREQ(L".lst;.list", text);
    EXPECT_FALSE(theApp.m_pNotes->GetDocString(text, CDocTemplate::windowTitle)); // empty first part
    EXPECT_TRUE(text.IsEmpty());

    ScratchFolder folder(L"kinds");
    WriteNote(folder / L"甲.note", L"第一篇");
    WriteList(folder / L"乙.LIST", {L"一", L"二"});
    CDocument* note = theApp.OpenDocumentFile(folder / L"甲.note");
    CDocument* list = theApp.OpenDocumentFile(folder / L"乙.LIST"); // the second extension, any case
    ASSERT_NE(nullptr, note);
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(note->IsKindOf(RUNTIME_CLASS(CNoteDoc)));
    EXPECT_TRUE(list->IsKindOf(RUNTIME_CLASS(CListDoc)));
    EXPECT_STREQ(L"第一篇", static_cast<CNoteDoc*>(note)->m_text);
    EXPECT_TRUE(FrameOf(note)->IsKindOf(RUNTIME_CLASS(CNoteFrame)));
    EXPECT_TRUE(ViewOf(list)->IsKindOf(RUNTIME_CLASS(CListDocView)));
    auto& rows = static_cast<CListDocView*>(ViewOf(list))->GetListCtrl();
    ASSERT_EQ(2, rows.GetItemCount());
    EXPECT_STREQ(L"二", rows.GetItemText(1, 0));
    EXPECT_EQ(2, theApp.GetOpenDocumentCount());
    EXPECT_EQ(folder / L"甲.note", note->GetPathName());
    EXPECT_STREQ(L"甲.note", note->GetTitle());
}

TEST_F(DocViewTest, InitialUpdateComesOnceTheDocumentIsLoadedAndBeforeTheFrameShows)
{
    // The main frame's pane got its initial update once, when the frame was made.
    ASSERT_NE(nullptr, theApp.Frame()->m_pTree);
    EXPECT_EQ(1, theApp.Frame()->m_pTree->initialUpdates);
    EXPECT_STREQ(L"项目", theApp.Frame()->m_pTree->GetTreeCtrl().GetItemText(
                               theApp.Frame()->m_pTree->GetTreeCtrl().GetRootItem()));

    ScratchFolder folder(L"initial");
    WriteNote(folder / L"a.note", L"内容");
    CNoteDoc* note = OpenNote(folder / L"a.note");
    ASSERT_NE(nullptr, note);
    auto* view = static_cast<CNoteView*>(ViewOf(note));
    EXPECT_EQ(1, view->initialUpdates);
    EXPECT_STREQ(L"内容", view->textAtInitialUpdate);
    EXPECT_FALSE(view->frameShownAtInitialUpdate);
    EXPECT_TRUE(FrameOf(note)->IsWindowVisible());
    EXPECT_EQ(view, FrameOf(note)->GetActiveView());

    // A new document: the template's name with a number.
    CDocument* first = theApp.m_pNotes->OpenDocumentFile(nullptr);
    CDocument* second = theApp.m_pNotes->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_TRUE(first->GetPathName().IsEmpty());
    EXPECT_NE(first->GetTitle(), second->GetTitle());
    EXPECT_EQ(0, first->GetTitle().Find(L"笔记"));
}

TEST_F(DocViewTest, MenusAndTitlesFollowTheActiveDocument)
{
    CMainFrame* frame = theApp.Frame();
    HMENU own = frame->m_hMenuDefault;
    ASSERT_NE(nullptr, own);
    EXPECT_EQ(own, ::GetMenu(frame->m_hWnd));
    PumpUntilIdle();
    EXPECT_STREQ(L"文档测试程序", frame->GetWindowText());

    ScratchFolder folder(L"menus");
    WriteNote(folder / L"记录.note", L"甲");
    WriteList(folder / L"清单.lst", {L"乙"});
    CDocument* note = theApp.OpenDocumentFile(folder / L"记录.note");
    ASSERT_NE(nullptr, note);
    EXPECT_EQ(theApp.m_pNotes->m_hMenuShared, ::GetMenu(frame->m_hWnd));
    CDocument* list = theApp.OpenDocumentFile(folder / L"清单.lst");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(theApp.m_pLists->m_hMenuShared, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(FrameOf(list), ActiveChild());
    PumpUntilIdle();
    EXPECT_STREQ(L"文档测试程序 - 清单.lst", frame->GetWindowText());
    EXPECT_STREQ(L"清单.lst", FrameOf(list)->GetWindowText());
    // The window menu of the shared menu lists both windows.
    HMENU windowMenu = CMDIFrameWnd::FindWindowMenu(theApp.m_pLists->m_hMenuShared);
    ASSERT_NE(nullptr, windowMenu);
    int listed = 0;
    for (CString& text : MenuTexts(windowMenu))
        if (text.Find(L"记录.note") >= 0 || text.Find(L"清单.lst") >= 0) ++listed;
    EXPECT_EQ(2, listed);

    // Activating the other window switches the menu bar and the title.
    frame->MDIActivate(FrameOf(note));
    EXPECT_EQ(FrameOf(note), ActiveChild());
    EXPECT_EQ(theApp.m_pNotes->m_hMenuShared, ::GetMenu(frame->m_hWnd));
    PumpUntilIdle();
    EXPECT_STREQ(L"文档测试程序 - 记录.note", frame->GetWindowText());
    auto* view = static_cast<CNoteView*>(ViewOf(note));
    ASSERT_GE(view->activations.size(), 2u);
    EXPECT_EQ("off", view->activations[view->activations.size() - 2]); // lost to the list
    EXPECT_EQ("on", view->activations.back());
    EXPECT_EQ(note, frame->GetActiveDocument());

    // A click into the list's view makes its window the active one.
    ViewOf(list)->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd),
                              MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(FrameOf(list), ActiveChild());
    EXPECT_EQ(theApp.m_pLists->m_hMenuShared, ::GetMenu(frame->m_hWnd));
    frame->MDIActivate(FrameOf(note));

    // A new title shows at the next idle moment.
    note->SetTitle(L"记录:[笔记文件]");
    PumpUntilIdle();
    EXPECT_STREQ(L"记录:[笔记文件]", FrameOf(note)->GetWindowText());
    EXPECT_STREQ(L"文档测试程序 - 记录:[笔记文件]", frame->GetWindowText());

    // With the last document window gone the frame's own menu returns.
    theApp.CloseAllDocuments(FALSE);
    EXPECT_EQ(nullptr, ActiveChild());
    EXPECT_EQ(own, ::GetMenu(frame->m_hWnd));
    PumpUntilIdle();
    EXPECT_STREQ(L"文档测试程序", frame->GetWindowText());
    // The shared menus are still there for the next documents.
    EXPECT_TRUE(::IsMenu(theApp.m_pNotes->m_hMenuShared));
    EXPECT_TRUE(::IsMenu(theApp.m_pLists->m_hMenuShared));
}

namespace {

// A main window of its own, whose MDI client has not had a window menu yet
// (its own menu has none), counting the document windows brought up.
class CountingFrame : public CMDIFrameWnd
{
public:
    std::vector<CMDIChildWnd*> brought;
    void OnActivateChild(CMDIChildWnd* child) override { brought.push_back(child); }
};

} // namespace

// The first document window of a main window is listed in the window menu
// that its menu brings (the system fills a window menu new to it only when
// its windows change next).  The frame hears of every window brought up:
// activated, or the active one named by MDIActivate or its window-menu entry.
TEST_F(DocViewTest, TheWindowMenuListsTheFirstWindowAndTheFrameHearsOfEveryWindowBroughtUp)
{
    auto* frame = new CountingFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    const HMENU noteMenu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE));
    ASSERT_NE(nullptr, noteMenu);
    ASSERT_EQ(nullptr, CMDIFrameWnd::FindWindowMenu(::GetMenu(frame->m_hWnd)));
    const auto open = [&](const wchar_t* title) {
        auto* child = new CMDIChildWnd;
        child->m_hMenuShared = noteMenu;
        EXPECT_TRUE(child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault,
                                  frame));
        return child;
    };
    const auto listed = [&] {
        std::vector<CString> entries;
        for (const CString& text : MenuTexts(CMDIFrameWnd::FindWindowMenu(::GetMenu(frame->m_hWnd))))
            if (text.Find(L".note") >= 0) entries.push_back(text);
        return entries;
    };

    CMDIChildWnd* first = open(L"甲.note");
    EXPECT_EQ(noteMenu, ::GetMenu(frame->m_hWnd));
    EXPECT_EQ(std::vector<CString>{L"&1 甲.note"}, listed());
    CMDIChildWnd* second = open(L"乙.note");
    EXPECT_EQ((std::vector<CString>{L"&1 甲.note", L"&2 乙.note"}), listed());
    ASSERT_EQ(second, frame->MDIGetActive());
    ASSERT_FALSE(frame->brought.empty());
    EXPECT_EQ(second, frame->brought.back());

    const struct {
        const char* how;
        std::function<void()> bring;
        CMDIChildWnd* expected;
    } ways[] = {
        {"MDIActivate of another", [&] { frame->MDIActivate(first); }, first},
        {"MDIActivate of the active one", [&] { frame->MDIActivate(first); }, first},
        {"its window-menu entry", [&] {
             frame->SendMessage(WM_COMMAND, static_cast<WPARAM>(second->GetDlgCtrlID()));
         }, second},
        {"the window-menu entry of the active one", [&] {
             frame->SendMessage(WM_COMMAND, static_cast<WPARAM>(second->GetDlgCtrlID()));
         }, second},
    };
    for (const auto& way : ways) {
        frame->brought.clear();
        way.bring();
        EXPECT_EQ(way.expected, frame->MDIGetActive()) << way.how;
        EXPECT_EQ(std::vector<CMDIChildWnd*>{way.expected}, frame->brought) << way.how;
    }

    // Closing the active window brings up the other.
    frame->brought.clear();
    second->MDIDestroy();
    EXPECT_EQ(std::vector<CMDIChildWnd*>{first}, frame->brought);
    first->MDIDestroy();
    frame->DestroyWindow();
    ::DestroyMenu(noteMenu);
    PumpUntilIdle();
}

TEST_F(DocViewTest, OpeningAnOpenFileActivatesItsWindow)
{
    ScratchFolder folder(L"twice");
    WriteNote(folder / L"one.note", L"1");
    WriteNote(folder / L"two.note", L"2");
    CNoteDoc* one = OpenNote(folder / L"one.note");
    CNoteDoc* two = OpenNote(folder / L"two.note");
    ASSERT_NE(nullptr, one);
    ASSERT_NE(nullptr, two);
    EXPECT_EQ(FrameOf(two), ActiveChild());
    one->m_text = L"changed in memory";
    // Another spelling of the same file: the open document, not a new one.
    CDocument* again = theApp.OpenDocumentFile(folder.Path() + L"\\.\\ONE.NOTE");
    EXPECT_EQ(one, again);
    EXPECT_STREQ(L"changed in memory", one->m_text); // not read again
    EXPECT_EQ(FrameOf(one), ActiveChild());
    EXPECT_EQ(2, theApp.GetOpenDocumentCount());
}

TEST_F(DocViewTest, FilesThatCannotBeOpenedLeaveNoWindowBehind)
{
    ScratchFolder folder(L"broken");
    test_support::WriteBytes(folder / L"short.note", "\x01"); // cut off inside the first string
    MessageBoxScript boxes;
    EXPECT_EQ(nullptr, theApp.OpenDocumentFile(folder / L"missing.note"));
    EXPECT_EQ(nullptr, theApp.OpenDocumentFile(folder / L"short.note"));
    ASSERT_EQ(2u, boxes.Shown().size());
    EXPECT_NE(-1, boxes.Shown()[0].text.Find(L"missing.note"));
    EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    EXPECT_EQ(nullptr, ActiveChild());
    EXPECT_EQ(nullptr, ::GetWindow(theApp.Frame()->m_hWndMDIClient, GW_CHILD));
}

TEST_F(DocViewTest, ClosingAModifiedDocumentAsksAndCancelKeepsItOpen)
{
    ScratchFolder folder(L"close");
    WriteNote(folder / L"draft.note", L"old");
    CNoteDoc* note = OpenNote(folder / L"draft.note");
    ASSERT_NE(nullptr, note);
    note->m_text = L"new";
    note->SetModifiedFlag();
    CFrameWnd* child = FrameOf(note);

    {
        MessageBoxScript boxes;
        boxes.Answer(IDCANCEL);
        child->SendMessage(WM_CLOSE);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_STREQ(L"是否将更改保存到 " + (folder / L"draft.note") + L"?", boxes.Shown()[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL | MB_ICONEXCLAMATION), boxes.Shown()[0].type);
        EXPECT_EQ(1, theApp.GetOpenDocumentCount());
        EXPECT_TRUE(child->IsWindow());
        // The main window's close asks the same, and Cancel keeps all open.
        boxes.Answer(IDCANCEL);
        theApp.Frame()->SendMessage(WM_CLOSE);
        EXPECT_TRUE(theApp.Frame()->IsWindow());
        EXPECT_EQ(1, theApp.GetOpenDocumentCount());
    }
    {
        // Yes saves, then closes.
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        child->SendMessage(WM_CLOSE);
        EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    }
    CNoteDoc* reopened = OpenNote(folder / L"draft.note");
    ASSERT_NE(nullptr, reopened);
    EXPECT_STREQ(L"new", reopened->m_text);
    reopened->SetModifiedFlag();
    {
        // No drops the changes.
        MessageBoxScript boxes;
        boxes.Answer(IDNO);
        FrameOf(reopened)->SendMessage(WM_CLOSE);
        EXPECT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    }
}

TEST_F(DocViewTest, TheEndOfTheSessionAsksToSaveModifiedDocumentsFirst)
{
    // Logging off or shutting down asks the main window first: a modified
    // document is not lost without the question.
    ScratchFolder folder(L"session");
    WriteNote(folder / L"s.note", L"old");
    CNoteDoc* note = OpenNote(folder / L"s.note");
    ASSERT_NE(nullptr, note);
    note->m_text = L"new";
    note->SetModifiedFlag();
    {
        MessageBoxScript boxes;
        boxes.Answer(IDCANCEL);
        EXPECT_EQ(0, theApp.Frame()->SendMessage(WM_QUERYENDSESSION, 0, 0)); // the session must wait
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_STREQ(L"是否将更改保存到 " + (folder / L"s.note") + L"?", boxes.Shown()[0].text);
        EXPECT_TRUE(note->IsModified());
    }
    {
        MessageBoxScript boxes;
        boxes.Answer(IDYES);
        EXPECT_NE(0, theApp.Frame()->SendMessage(WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1u, boxes.Shown().size());
        EXPECT_FALSE(note->IsModified());
        // Nothing left to ask: the session may end at once.
        EXPECT_NE(0, theApp.Frame()->SendMessage(WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1u, boxes.Shown().size());
    }
    theApp.CloseAllDocuments(FALSE);
    CNoteDoc* reopened = OpenNote(folder / L"s.note");
    ASSERT_NE(nullptr, reopened);
    EXPECT_STREQ(L"new", reopened->m_text);
}

TEST_F(DocViewTest, ClosingTheMainWindowClosesTheDocumentsFirstThenEndsTheLoop)
{
    // A second main window for this test (the program's own stays).
    CWnd* programFrame = theApp.m_pMainWnd;
    auto* frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
    theApp.m_pMainWnd = frame;
    ScratchFolder folder(L"exit");
    WriteNote(folder / L"a.note", L"a");
    WriteNote(folder / L"b.note", L"b");
    CNoteDoc* a = static_cast<CNoteDoc*>(theApp.OpenDocumentFile(folder / L"a.note"));
    CNoteDoc* b = static_cast<CNoteDoc*>(theApp.OpenDocumentFile(folder / L"b.note"));
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(frame->m_hWnd, ::GetParent(::GetParent(FrameOf(a)->m_hWnd)));
    a->SetModifiedFlag();
    b->SetModifiedFlag();
    HWND window = frame->m_hWnd;
    auto closeAnswering = [frame](int first, int second) {
        MessageBoxScript boxes;
        boxes.Answer(first);
        boxes.Answer(second);
        frame->SendMessage(WM_CLOSE);
        return boxes.Shown().size();
    };
    // The second question cancelled: nothing closes.
    EXPECT_EQ(2u, closeAnswering(IDNO, IDCANCEL));
    EXPECT_EQ(2, theApp.GetOpenDocumentCount());
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(2u, closeAnswering(IDNO, IDNO));
    EXPECT_EQ(0, theApp.GetOpenDocumentCount());
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(nullptr, theApp.m_pMainWnd);
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)); // Run ends, then ExitInstance
    theApp.m_pMainWnd = programFrame;
}

TEST_F(DocViewTest, AFailedSaveKeepsTheOldFile)
{
    ScratchFolder folder(L"save");
    WriteNote(folder / L"keep.note", L"original");
    std::string before = test_support::ReadBytes(folder / L"keep.note");
    CNoteDoc* note = OpenNote(folder / L"keep.note");
    ASSERT_NE(nullptr, note);
    note->m_text = L"replacement";
    note->SetModifiedFlag();
    MessageBoxScript boxes;
    CNoteDoc::s_failStoring = true;
    EXPECT_FALSE(note->DoFileSave());
    CNoteDoc::s_failStoring = false;
    ASSERT_EQ(1u, boxes.Shown().size()); // the failure is reported
    EXPECT_EQ(before, test_support::ReadBytes(folder / L"keep.note"));
    EXPECT_TRUE(note->IsModified());
    // Nothing but the file is left in the folder.
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(folder / L"*", &found);
    int files = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    EXPECT_EQ(1, files);

    EXPECT_TRUE(note->DoFileSave());
    EXPECT_FALSE(note->IsModified());
    CNoteDoc check;
    EXPECT_TRUE(check.OnOpenDocument(folder / L"keep.note"));
    EXPECT_STREQ(L"replacement", check.m_text);
}

TEST_F(DocViewTest, SavingANewDocumentAsksForItsNameWithTheTemplatesExtension)
{
    ScratchFolder folder(L"saveas");
    auto* note = static_cast<CNoteDoc*>(theApp.m_pNotes->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, note);
    note->m_text = L"新内容";
    note->SetModifiedFlag();
    CString proposed;
    {
        DialogScript cancel;
        cancel.Then([&](CWnd* d) {
            proposed = GetText(d, 0x47C);
            Press(d, IDCANCEL);
        });
        EXPECT_FALSE(note->DoFileSave());
    }
    EXPECT_EQ(note->GetTitle() + L".note", proposed);
    EXPECT_TRUE(note->GetPathName().IsEmpty());
    EXPECT_TRUE(note->IsModified());

    DialogScript save;
    save.Then([&](CWnd* d) {
        SetText(d, 0x47C, folder / L"已保存");
        Press(d, IDOK);
    });
    EXPECT_TRUE(note->DoFileSave());
    EXPECT_EQ(folder / L"已保存.note", note->GetPathName());
    EXPECT_STREQ(L"已保存.note", note->GetTitle());
    EXPECT_FALSE(note->IsModified());
    EXPECT_TRUE(test_support::FileExists(folder / L"已保存.note"));
    PumpUntilIdle();
    EXPECT_STREQ(L"已保存.note", FrameOf(note)->GetWindowText());
}

TEST_F(DocViewTest, RecentFilesAreKeptInTheProfileAndShownInTheFileMenu)
{
    ScratchFolder folder(L"recent");
    for (int i = 0; i < theApp.m_pRecentFileList->GetSize(); ++i) (*theApp.m_pRecentFileList)[i].Empty();
    WriteNote(folder / L"a.note", L"a");
    WriteNote(folder / L"b.note", L"b");
    WriteList(folder / L"c.lst", {L"c"});
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(folder / L"a.note"));
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(folder / L"b.note"));
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(folder / L"c.lst"));
    ASSERT_NE(nullptr, theApp.OpenDocumentFile(folder / L"a.note")); // already open: first again
    CRecentFileList& recent = *theApp.m_pRecentFileList;
    EXPECT_EQ(folder / L"a.note", recent[0]);
    EXPECT_EQ(folder / L"c.lst", recent[1]);
    EXPECT_EQ(folder / L"b.note", recent[2]);

    theApp.ExitInstance(); // the base writes the list
    const wchar_t* key = L"Software\\ClassLibTests\\文档视图测试\\Recent File List";
    EXPECT_EQ(folder / L"a.note", test_support::GetRegString(HKEY_CURRENT_USER, key, L"File1"));
    EXPECT_EQ(folder / L"b.note", test_support::GetRegString(HKEY_CURRENT_USER, key, L"File3"));
    EXPECT_FALSE(test_support::RegValueExists(HKEY_CURRENT_USER, key, L"File4"));

    // A new start reads them back; the File menu shows them in place of
    // its placeholder, numbered, the long path shortened.
    theApp.CloseAllDocuments(TRUE);
    theApp.LoadStdProfileSettings(4);
    EXPECT_EQ(folder / L"c.lst", (*theApp.m_pRecentFileList)[1]);
    HMENU file = ::GetSubMenu(::GetMenu(theApp.Frame()->m_hWnd), 0);
    theApp.Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    std::vector<CString> texts = MenuTexts(file);
    ASSERT_EQ(8u, texts.size());
    EXPECT_EQ(0, texts[3].Find(L"&1 "));
    EXPECT_NE(-1, texts[3].Find(L"a.note"));
    EXPECT_NE(-1, texts[3].Find(L"..."));
    EXPECT_LE(texts[3].GetLength(), 3 + 30);
    EXPECT_EQ(0, texts[5].Find(L"&3 "));
    EXPECT_EQ(0u, ::GetMenuState(file, ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_STREQ(L"退出(&X)", texts[7]);
    // Updating again keeps one set of entries.
    theApp.Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_EQ(8u, MenuTexts(file).size());

    // The second entry opens its file; a file that is gone leaves the list.
    theApp.Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(1, theApp.GetOpenDocumentCount());
    EXPECT_EQ(folder / L"c.lst", theApp.m_pRecentFileList->operator[](0));
    ::DeleteFileW(folder / L"b.note");
    {
        MessageBoxScript boxes;
        theApp.Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 2);
        EXPECT_EQ(1u, boxes.Shown().size());
    }
    EXPECT_TRUE((*theApp.m_pRecentFileList)[2].IsEmpty());

    // An empty list shows the placeholder, greyed.
    for (int i = 0; i < theApp.m_pRecentFileList->GetSize(); ++i) (*theApp.m_pRecentFileList)[i].Empty();
    theApp.CloseAllDocuments(TRUE);
    file = ::GetSubMenu(::GetMenu(theApp.Frame()->m_hWnd), 0);
    theApp.Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    texts = MenuTexts(file);
    ASSERT_EQ(6u, texts.size());
    EXPECT_STREQ(L"最近的文件", texts[3]);
    EXPECT_NE(0u, ::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
    theApp.SaveStdProfileSettings();
}

TEST_F(DocViewTest, FilesDroppedOnTheMainWindowOpen)
{
    ScratchFolder folder(L"drop");
    WriteNote(folder / L"拖放.note", L"x");
    WriteList(folder / L"拖放.lst", {L"y"});
    std::vector<CString> paths{folder / L"拖放.note", folder / L"拖放.lst"};
    size_t chars = 1;
    for (CString& p : paths) chars += static_cast<size_t>(p.GetLength()) + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (CString& p : paths) {
        wcscpy(names, p);
        names += p.GetLength() + 1;
    }
    ::GlobalUnlock(memory);
    EXPECT_NE(0u, theApp.Frame()->GetExStyle() & WS_EX_ACCEPTFILES);
    theApp.Frame()->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(memory));
    ASSERT_EQ(2, theApp.GetOpenDocumentCount());
    EXPECT_TRUE(theApp.Frame()->GetActiveDocument()->IsKindOf(RUNTIME_CLASS(CListDoc)));
}

TEST_F(DocViewTest, RenderingOfTheFrameWithTwoDocumentWindows)
{
    ScratchFolder folder(L"render");
    WriteNote(folder / L"笔记一.note", L"第一份笔记的内容");
    WriteList(folder / L"清单二.lst", {L"第一行", L"第二行", L"第三行"});
    CDocument* note = theApp.OpenDocumentFile(folder / L"笔记一.note");
    CDocument* list = theApp.OpenDocumentFile(folder / L"清单二.lst");
    ASSERT_NE(nullptr, note);
    ASSERT_NE(nullptr, list);
    theApp.Frame()->MDITile(MDITILE_VERTICAL);
    PumpUntilIdle();
    Image image = CaptureWindow(theApp.Frame());
    ASSERT_FALSE(image.Empty());
    image.SaveBmp(L"mdi_frame.bmp");

    // The note's view shows its yellowish paper beside the list.
    CRect noteView;
    ViewOf(note)->GetClientRect(&noteView);
    ViewOf(note)->MapWindowPoints(theApp.Frame(), &noteView);
    CRect frameWindow, frameClient;
    theApp.Frame()->GetWindowRect(&frameWindow);
    theApp.Frame()->GetClientRect(&frameClient);
    theApp.Frame()->ClientToScreen(&frameClient);
    noteView.OffsetRect(frameClient.left - frameWindow.left, frameClient.top - frameWindow.top);
    EXPECT_GT(image.Count(noteView, RGB(255, 255, 224)), noteView.Width() * noteView.Height() / 2);
    CRect listView;
    ViewOf(list)->GetWindowRect(&listView);
    listView.OffsetRect(-frameWindow.left, -frameWindow.top);
    EXPECT_TRUE(listView.right <= noteView.left + 2 || listView.left >= noteView.right - 2); // side by side
    EXPECT_EQ(0, image.Count(listView, RGB(255, 255, 224)));
}

// The window commands: next and previous walk the document windows and come
// back, cascade lays them down and to the right of each other.
TEST_F(DocViewTest, WindowCommandsWalkAndCascadeTheDocumentWindows)
{
    ScratchFolder folder(L"windows");
    std::vector<CMDIChildWnd*> children;
    for (const wchar_t* name : {L"a.note", L"b.note", L"c.note"}) {
        WriteNote(folder / name, name);
        CNoteDoc* note = OpenNote(folder / name);
        ASSERT_NE(nullptr, note);
        children.push_back(static_cast<CMDIChildWnd*>(FrameOf(note)));
    }
    CMDIFrameWnd* frame = theApp.Frame();
    CMDIChildWnd* const start = ActiveChild();
    ASSERT_EQ(children.back(), start);

    std::vector<CMDIChildWnd*> visited;
    for (int i = 0; i < 3; ++i) {
        frame->SendMessage(WM_COMMAND, ID_WINDOW_NEXT, 0);
        PumpUntilIdle();
        visited.push_back(ActiveChild());
    }
    // Every window once, then back at the start.
    EXPECT_EQ(start, visited.back());
    std::vector<CMDIChildWnd*> sorted = visited, all = children;
    std::sort(sorted.begin(), sorted.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, sorted);
    frame->SendMessage(WM_COMMAND, ID_WINDOW_NEXT, 0);
    frame->SendMessage(WM_COMMAND, ID_WINDOW_PREV, 0);
    PumpUntilIdle();
    EXPECT_EQ(start, ActiveChild());

    frame->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE, 0);
    PumpUntilIdle();
    std::vector<CPoint> corners;
    for (CMDIChildWnd* child : children) {
        CRect rect;
        child->GetWindowRect(&rect);
        corners.push_back(rect.TopLeft());
    }
    std::sort(corners.begin(), corners.end(), [](CPoint a, CPoint b) { return a.y < b.y; });
    for (size_t i = 1; i < corners.size(); ++i) {
        EXPECT_GT(corners[i].x, corners[i - 1].x);
        EXPECT_GT(corners[i].y, corners[i - 1].y);
    }
}
