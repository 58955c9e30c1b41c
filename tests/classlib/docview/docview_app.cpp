#include "docview_app.h"

namespace docview {

std::vector<std::string> g_route;

// ---------------------------------------------------------------------------
// Notes

IMPLEMENT_DYNCREATE(CNoteDoc, CDocument)

BEGIN_MESSAGE_MAP(CNoteDoc, CDocument)
    ON_COMMAND(ID_ROUTE_ALL, OnRouteAll)
    ON_COMMAND(ID_ROUTE_DOCUMENT, OnRouteDocument)
END_MESSAGE_MAP()

bool CNoteDoc::s_failStoring = false;

void CNoteDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_text;
        if (s_failStoring) AfxThrowFileException(CFileException::diskFull, -1, L"note");
        ar << m_text; // written twice, so a failure leaves a half-written file behind it
    } else {
        CString again;
        ar >> m_text >> again;
    }
}

IMPLEMENT_DYNCREATE(CNoteView, CView)

BEGIN_MESSAGE_MAP(CNoteView, CView)
    ON_COMMAND(ID_ROUTE_ALL, OnRouteAll)
END_MESSAGE_MAP()

void CNoteView::OnInitialUpdate()
{
    ++initialUpdates;
    textAtInitialUpdate = GetDocument()->m_text;
    frameShownAtInitialUpdate = GetParentFrame()->IsWindowVisible() != FALSE;
    CView::OnInitialUpdate();
}

void CNoteView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView)
{
    activations.push_back(activate ? "on" : "off");
    CView::OnActivateView(activate, activateView, deactiveView);
}

void CNoteView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, RGB(255, 255, 224));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 128));
    dc->TextOut(8, 8, GetDocument()->m_text);
}

IMPLEMENT_DYNCREATE(CNoteFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CNoteFrame, CMDIChildWnd)
    ON_COMMAND(ID_ROUTE_ALL, OnRouteAll)
    ON_COMMAND(ID_ROUTE_DOCUMENT, OnRouteDocument)
    ON_COMMAND(ID_ROUTE_CHILD, OnRouteChild)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Lists

IMPLEMENT_DYNCREATE(CListDoc, CDocument)

void CListDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int>(m_lines.GetSize());
        for (INT_PTR i = 0; i < m_lines.GetSize(); ++i) ar << m_lines[i];
    } else {
        int count = 0;
        ar >> count;
        for (int i = 0; i < count; ++i) {
            CString line;
            ar >> line;
            m_lines.Add(line);
        }
    }
}

IMPLEMENT_DYNCREATE(CListDocView, CListView)

BOOL CListDocView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= LVS_REPORT;
    return CListView::PreCreateWindow(cs);
}

void CListDocView::OnInitialUpdate()
{
    GetListCtrl().InsertColumn(0, L"内容", LVCFMT_LEFT, 200);
    CListView::OnInitialUpdate();
}

void CListDocView::OnUpdate(CView*, LPARAM, CObject*)
{
    CListCtrl& list = GetListCtrl();
    list.DeleteAllItems();
    auto* document = static_cast<CListDoc*>(GetDocument());
    for (INT_PTR i = 0; i < document->m_lines.GetSize(); ++i)
        list.InsertItem(static_cast<int>(i), document->m_lines[i]);
}

// ---------------------------------------------------------------------------
// The main frame and the application

IMPLEMENT_DYNCREATE(CPaneTree, CTreeView)

BOOL CPaneTree::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
    return CTreeView::PreCreateWindow(cs);
}

void CPaneTree::OnInitialUpdate()
{
    ++initialUpdates;
    GetTreeCtrl().InsertItem(L"项目");
}

IMPLEMENT_DYNCREATE(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_ROUTE_ALL, OnRouteAll)
    ON_COMMAND(ID_ROUTE_DOCUMENT, OnRouteDocument)
    ON_COMMAND(ID_ROUTE_CHILD, OnRouteChild)
    ON_COMMAND(ID_ROUTE_MAIN, OnRouteMain)
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    // A pane without a document, as the program's manager panes are.
    CCreateContext empty;
    auto* tree = static_cast<CPaneTree*>(RUNTIME_CLASS(CPaneTree)->CreateObject());
    if (!tree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, 0xE901, &empty)) return -1;
    m_pTree = tree;
    return 0;
}

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
    ON_COMMAND(ID_ROUTE_ALL, OnRouteAll)
    ON_COMMAND(ID_ROUTE_DOCUMENT, OnRouteDocument)
    ON_COMMAND(ID_ROUTE_CHILD, OnRouteChild)
    ON_COMMAND(ID_ROUTE_MAIN, OnRouteMain)
    ON_COMMAND(ID_ROUTE_APP, OnRouteApp)
END_MESSAGE_MAP()

CTestApp::CTestApp() : CWinApp(L"文档视图测试") {}

BOOL CTestApp::InitInstance()
{
    SetRegistryKey(L"ClassLibTests");
    LoadStdProfileSettings(4);
    m_pNotes = new CMultiDocTemplate(IDR_NOTE, RUNTIME_CLASS(CNoteDoc), RUNTIME_CLASS(CNoteFrame),
                                     RUNTIME_CLASS(CNoteView));
    AddDocTemplate(m_pNotes);
    m_pLists = new CMultiDocTemplate(IDR_LIST, RUNTIME_CLASS(CListDoc), RUNTIME_CLASS(CMDIChildWnd),
                                     RUNTIME_CLASS(CListDocView));
    AddDocTemplate(m_pLists);
    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME)) return FALSE;
    m_pMainWnd = frame;
    frame->DragAcceptFiles(TRUE);
    frame->SetWindowPos(nullptr, 40, 40, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    frame->ShowWindow(SW_SHOWNORMAL);
    frame->UpdateWindow();
    return TRUE;
}

CTestApp theApp;

// ---------------------------------------------------------------------------
// Helpers

void WriteNote(const CString& path, const wchar_t* text)
{
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << CString(text) << CString(text);
    ar.Close();
}

void WriteList(const CString& path, std::initializer_list<const wchar_t*> lines)
{
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar << static_cast<int>(lines.size());
    for (const wchar_t* line : lines) ar << CString(line);
    ar.Close();
}

CView* ViewOf(CDocument* document)
{
    POSITION pos = document->GetFirstViewPosition();
    return pos ? document->GetNextView(pos) : nullptr;
}

CFrameWnd* FrameOf(CDocument* document)
{
    CView* view = ViewOf(document);
    return view ? view->GetParentFrame() : nullptr;
}

std::vector<CString> MenuTexts(HMENU menu)
{
    std::vector<CString> texts;
    CMenu* object = CMenu::FromHandle(menu);
    for (int i = 0; i < object->GetMenuItemCount(); ++i) {
        CString text;
        object->GetMenuString(static_cast<UINT>(i), text, MF_BYPOSITION);
        texts.push_back(text.IsEmpty() ? CString(L"-") : text);
    }
    return texts;
}

void DocViewTest::SetUp()
{
    ASSERT_TRUE(theApp.EnsureStarted());
    ASSERT_NE(nullptr, theApp.Frame());
    ASSERT_EQ(0, theApp.GetOpenDocumentCount());
    g_route.clear();
}

void DocViewTest::TearDown()
{
    theApp.CloseAllDocuments(TRUE);
    wintest::PumpUntilIdle();
}

namespace {

// The scratch hive for the whole run; the program's main window goes at the
// end, then the application ends as its message loop would end it.
class DocViewWorld : public test_support::ScratchHive
{
public:
    DocViewWorld() : ScratchHive(L"docview") {}

protected:
    void CleanUp() override
    {
        if (theApp.IsStarted() && theApp.m_pMainWnd) theApp.m_pMainWnd->DestroyWindow();
        theApp.Shutdown();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new DocViewWorld);

} // namespace

} // namespace docview
