// The document/view test program: a small MDI program of its own with two
// kinds of documents.  Notes (".note", a text shown by a plain view in a
// child frame of its own class) and lists (".lst", lines shown by a list
// view in the library's plain MDI child frame), each kind with its own menu
// and accelerators; the main frame has a tree pane that fills itself in its
// initial update.  Every level of the command routing handles some of the
// ID_ROUTE_* commands and writes its name into g_route.
#pragma once
#include "support/MessageBoxScript.h"
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include "docview_resource.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace docview {

extern std::vector<std::string> g_route;

class CNoteDoc : public CDocument
{
    DECLARE_DYNCREATE(CNoteDoc)
public:
    CString m_text;
    static bool s_failStoring; // Serialize throws halfway through a save
    void Serialize(CArchive& ar) override;
    void DeleteContents() override { m_text.Empty(); }

protected:
    void OnRouteAll() { g_route.push_back("document"); }
    void OnRouteDocument() { g_route.push_back("document"); }
    DECLARE_MESSAGE_MAP()
};

class CNoteView : public CView
{
    DECLARE_DYNCREATE(CNoteView)
public:
    CNoteDoc* GetDocument() const { return static_cast<CNoteDoc*>(m_pDocument); }
    int initialUpdates = 0;
    CString textAtInitialUpdate;  // the document as OnInitialUpdate saw it
    bool frameShownAtInitialUpdate = false;
    std::vector<std::string> activations; // "on" / "off", in order
    void OnInitialUpdate() override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    void OnDraw(CDC* dc) override;

protected:
    void OnRouteAll() { g_route.push_back("view"); }
    DECLARE_MESSAGE_MAP()
};

class CNoteFrame : public CMDIChildWnd
{
    DECLARE_DYNCREATE(CNoteFrame)
protected:
    void OnRouteAll() { g_route.push_back("child"); }
    void OnRouteDocument() { g_route.push_back("child"); }
    void OnRouteChild() { g_route.push_back("child"); }
    DECLARE_MESSAGE_MAP()
};

class CListDoc : public CDocument
{
    DECLARE_DYNCREATE(CListDoc)
public:
    CStringArray m_lines;
    void Serialize(CArchive& ar) override;
    void DeleteContents() override { m_lines.RemoveAll(); }
};

class CListDocView : public CListView
{
    DECLARE_DYNCREATE(CListDocView)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
};

// A pane of the main frame that is a tree view without a document.
class CPaneTree : public CTreeView
{
    DECLARE_DYNCREATE(CPaneTree)
public:
    int initialUpdates = 0;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
};

class CMainFrame : public CMDIFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CPaneTree* m_pTree = nullptr;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnRouteAll() { g_route.push_back("main"); }
    void OnRouteDocument() { g_route.push_back("main"); }
    void OnRouteChild() { g_route.push_back("main"); }
    void OnRouteMain() { g_route.push_back("main"); }
    DECLARE_MESSAGE_MAP()
};

class CTestApp : public CWinApp
{
public:
    CTestApp();
    BOOL InitInstance() override;
    CMainFrame* Frame() const { return static_cast<CMainFrame*>(m_pMainWnd); }
    CMultiDocTemplate* m_pNotes = nullptr;
    CMultiDocTemplate* m_pLists = nullptr;

protected:
    void OnRouteAll() { g_route.push_back("app"); }
    void OnRouteDocument() { g_route.push_back("app"); }
    void OnRouteChild() { g_route.push_back("app"); }
    void OnRouteMain() { g_route.push_back("app"); }
    void OnRouteApp() { g_route.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

extern CTestApp theApp;

// Files of the two kinds, written as the documents write them.
void WriteNote(const CString& path, const wchar_t* text);
void WriteList(const CString& path, std::initializer_list<const wchar_t*> lines);
// The frame that shows a document (its first view's).
CFrameWnd* FrameOf(CDocument* document);
CView* ViewOf(CDocument* document);
// The texts of a menu's items (separators as "-").
std::vector<CString> MenuTexts(HMENU menu);

// Every test starts with the program running and no document open, and its
// documents are closed without questions at the end.
class DocViewTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace docview
