#include "documents_world.h"
#include "brisko/shell/BriskoApp.h"

namespace doctest {

const wchar_t kProjectName[] = L"文档 项目";
const wchar_t kRoadName[] = L"一号路";

namespace {

CString& Folder()
{
    static CString folder;
    return folder;
}

class DocumentsWorld : public BriskoWorld
{
public:
    DocumentsWorld() : BriskoWorld(L"brisko_documents") {}

protected:
    void Seed() override
    {
        SeedSettings({
            {L"ShowToopTip", 1},     {L"AUTORELOAD", 1},      {L"IconReg", 1},           {L"TabWidth", 4},
            {L"MainWndLEFT", 0},     {L"MainWndTOP", 0},      {L"MainWndRIGHT", 1000},   {L"MainWndBOTTOM", 700},
            {L"MainWnd_SHOWPROJECT", 1}, {L"MainWnd_SHOWHDMWND", 1},
        });
        Folder() = RegisterProject(kProjectName, kRoadName);
    }
    void CleanUp() override
    {
        BriskoWorld::CleanUp();
        RemoveProjects();
    }
};

::testing::Environment* const g_world = ::testing::AddGlobalTestEnvironment(new DocumentsWorld);

} // namespace

CString ProjectFolder() { return Folder(); }

CString RoadFolder() { return Folder() + L"\\" + kRoadName; }

DataFolder::DataFolder(const wchar_t* name)
{
    m_path = ClFormat(L"%s\\%s", ScratchRoot().GetString(), name);
    RemoveTree(m_path);
    CreateDirectoryW(m_path, nullptr);
}

DataFolder::~DataFolder()
{
    CloseAll();
    RemoveTree(m_path);
}

CString DataFolder::Write(const wchar_t* name, const wchar_t* text) const
{
    const CString path = *this / name;
    WriteText(path, text);
    return path;
}

CBriskoDoc* Open(const CString& path)
{
    CDocument* document = theApp.OpenDocumentFile(path);
    if (!document || !document->IsKindOf(RUNTIME_CLASS(CBriskoDoc))) return nullptr;
    return static_cast<CBriskoDoc*>(document);
}

CBriskoView* ViewOf(CDocument* document)
{
    if (!document) return nullptr;
    POSITION pos = document->GetFirstViewPosition();
    CView* view = pos ? document->GetNextView(pos) : nullptr;
    return view && view->IsKindOf(RUNTIME_CLASS(CBriskoView)) ? static_cast<CBriskoView*>(view) : nullptr;
}

std::vector<CString> Lines(CBriskoDoc* document)
{
    std::vector<CString> lines;
    CTvTextBuffer& buffer = document->m_TextBuffer;
    for (int i = 0; i < buffer.GetLineCount(); ++i) lines.emplace_back(buffer.LineText(i), buffer.GetLineLength(i));
    return lines;
}

void CloseAll()
{
    for (POSITION pos = theApp.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = theApp.GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;) {
            CDocument* document = documentTemplate->GetNextDoc(doc);
            document->SetModifiedFlag(FALSE);
        }
    }
    theApp.CloseAllDocuments(FALSE);
    wintest::PumpUntilIdle();
}

void Place(CBriskoView* view, int line, int column)
{
    const CPoint pos(column, line);
    view->SetCursorPos(pos);
    view->SetAnchor(pos);
    view->SetSelection(pos, pos);
}

void TypeAtStart(CBriskoDoc* document, const wchar_t* text)
{
    CBriskoView* view = ViewOf(document);
    Place(view, 0, 0);
    for (const wchar_t* c = text; *c; ++c) view->TypeChar(*c);
}

} // namespace doctest
