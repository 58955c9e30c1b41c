#include "DocTemplate.h"
#include "App.h"
#include "CommonDialogs.h"
#include "Document.h"
#include "Frame.h"
#include "View.h"
#include <vector>

namespace {

// Two paths name one file: their full forms compare equal without regard to
// case, as file names do.
CString FullPath(const wchar_t* path)
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameW(path, MAX_PATH * 2, buffer, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? CString(buffer) : CString(path);
}

// The extensions of a template's ";"-separated list, each with its dot
// (".lst"; a leading "*" is dropped).
std::vector<CString> SplitExtensions(const CString& extensions)
{
    std::vector<CString> list;
    int start = 0;
    while (start <= extensions.GetLength()) {
        int end = extensions.Find(L';', start);
        if (end < 0) end = extensions.GetLength();
        CString extension = extensions.Mid(start, end - start);
        extension.Trim();
        if (extension.Left(1) == L"*") extension = extension.Mid(1);
        if (!extension.IsEmpty()) list.push_back(extension);
        start = end + 1;
    }
    return list;
}

bool SameFile(const CString& a, const CString& b)
{
    return !a.IsEmpty() && ::CompareStringOrdinal(a, a.GetLength(), b, b.GetLength(), TRUE) == CSTR_EQUAL;
}

} // namespace

// ---------------------------------------------------------------------------
// CDocTemplate

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT resourceId, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass, HINSTANCE caller)
    : m_nIDResource(resourceId), m_pDocClass(documentClass), m_pFrameClass(frameClass), m_pViewClass(viewClass),
      m_hResourceModule(caller)
{
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource, m_hResourceModule);
}

BOOL CDocTemplate::GetDocString(CString& text, DocStringIndex index) const
{
    text.Empty();
    int start = 0;
    for (int i = 0; i < index; ++i) {
        int next = m_strDocStrings.Find(L'\n', start);
        if (next < 0) return FALSE;
        start = next + 1;
    }
    int end = m_strDocStrings.Find(L'\n', start);
    text = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !text.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* document) { document->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* document)
{
    if (document->m_pDocTemplate == this) document->m_pDocTemplate = nullptr;
}

BOOL CDocTemplate::PathHasExtension(const wchar_t* path, const CString& extensions)
{
    CString name(path);
    for (const CString& extension : SplitExtensions(extensions))
        if (name.GetLength() > extension.GetLength() && name.Right(extension.GetLength()).CompareNoCase(extension) == 0)
            return TRUE;
    return FALSE;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(const wchar_t* path, CDocument*& match)
{
    match = nullptr;
    CString full = FullPath(path);
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* document = GetNextDoc(pos);
        if (SameFile(document->GetPathName(), full)) {
            match = document;
            return yesAlreadyOpen;
        }
    }
    CString extensions;
    if (GetDocString(extensions, filterExt) && PathHasExtension(full, extensions)) return yesAttemptNative;
    return maybeAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass) return nullptr;
    CObject* object = m_pDocClass->CreateObject();
    if (!object) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CDocument))) {
        delete object;
        return nullptr;
    }
    auto* document = static_cast<CDocument*>(object);
    AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* document, CFrameWnd* other)
{
    CCreateContext context;
    context.m_pCurrentFrame = other;
    context.m_pCurrentDoc = document;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    if (!object) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete object;
        return nullptr;
    }
    auto* frame = static_cast<CFrameWnd*>(object);
    // A frame that fails to come to be deletes itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context,
                          m_hResourceModule))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible)
{
    frame->InitialUpdateFrame(document, makeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    for (POSITION pos = GetFirstDocPosition(); pos;)
        if (!GetNextDoc(pos)->SaveModified()) return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    std::vector<CDocument*> documents;
    for (POSITION pos = GetFirstDocPosition(); pos;) documents.push_back(GetNextDoc(pos));
    for (CDocument* document : documents) document->OnCloseDocument();
}

// ---------------------------------------------------------------------------
// CMultiDocTemplate

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                                     CRuntimeClass* viewClass, HINSTANCE caller)
    : CDocTemplate(resourceId, documentClass, frameClass, viewClass, caller)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    for (POSITION pos = m_docList.GetHeadPosition(); pos;)
        static_cast<CDocument*>(m_docList.GetNext(pos))->m_pDocTemplate = nullptr;
    if (m_hMenuShared) ::DestroyMenu(m_hMenuShared);
    if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    const wchar_t* name = MAKEINTRESOURCEW(m_nIDResource);
    if (!m_hMenuShared) {
        if (HINSTANCE module = AfxFindResourceHandle(name, RT_MENU, m_hResourceModule))
            m_hMenuShared = ::LoadMenuW(module, name);
    }
    if (!m_hAccelTable) {
        if (HINSTANCE module = AfxFindResourceHandle(name, RT_ACCELERATOR, m_hResourceModule))
            m_hAccelTable = ::LoadAcceleratorsW(module, name);
    }
}

void CMultiDocTemplate::AddDocument(CDocument* document)
{
    CDocTemplate::AddDocument(document);
    if (!m_docList.Find(document)) m_docList.AddTail(document);
}

void CMultiDocTemplate::RemoveDocument(CDocument* document)
{
    CDocTemplate::RemoveDocument(document);
    if (POSITION pos = m_docList.Find(document)) m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* document)
{
    CString title;
    if (!GetDocString(title, docName)) title = CL_TEXT_UNTITLED;
    title.AppendFormat(L"%u", m_nUntitledCount + 1);
    document->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const wchar_t* path, BOOL makeVisible)
{
    CDocument* document = CreateNewDocument();
    if (!document) {
        AfxMessageBox(CL_MSG_CREATE_FAILED, MB_ICONEXCLAMATION);
        return nullptr;
    }
    // The document must survive a frame that fails halfway.
    BOOL autoDelete = document->m_bAutoDelete;
    document->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(document, nullptr);
    document->m_bAutoDelete = autoDelete;
    if (!frame) {
        AfxMessageBox(CL_MSG_CREATE_FAILED, MB_ICONEXCLAMATION);
        delete document;
        return nullptr;
    }
    // From here the frame owns the document: destroying the frame (its last
    // view) deletes it.
    if (!path) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        BOOL opened = document->OnOpenDocument(path);
        ::SetCursor(previous);
        if (!opened) {
            frame->DestroyWindow();
            return nullptr;
        }
        document->SetPathName(path);
    }
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

// ---------------------------------------------------------------------------
// CDocManager

IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocManager::CDocManager() = default;

CDocManager::~CDocManager()
{
    for (POSITION pos = m_templateList.GetHeadPosition(); pos;)
        delete static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
}

void CDocManager::AddDocTemplate(CDocTemplate* documentTemplate)
{
    if (!documentTemplate || m_templateList.Find(documentTemplate)) return;
    documentTemplate->LoadTemplate();
    m_templateList.AddTail(documentTemplate);
}

int CDocManager::GetOpenDocumentCount() const
{
    int count = 0;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc; documentTemplate->GetNextDoc(doc))
            ++count;
    }
    return count;
}

CDocument* CDocManager::OpenDocumentFile(const wchar_t* path)
{
    if (!path || !*path) return nullptr;
    CString full = FullPath(path);
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = GetNextDocTemplate(pos);
        CDocument* match = nullptr;
        CDocTemplate::Confidence confidence = documentTemplate->MatchDocType(full, match);
        if (confidence > bestMatch) {
            bestMatch = confidence;
            best = documentTemplate;
            open = match;
        }
        if (confidence == CDocTemplate::yesAlreadyOpen) break;
    }
    if (bestMatch == CDocTemplate::yesAlreadyOpen && open) {
        // Already open: its first view's frame comes forward, nothing is read
        // again; the file is the most recent one all the same.
        if (CWinApp* app = AfxGetApp()) app->AddToRecentFileList(open->GetPathName());
        POSITION pos = open->GetFirstViewPosition();
        if (CView* view = pos ? open->GetNextView(pos) : nullptr) {
            if (CFrameWnd* frame = view->GetParentFrame()) {
                frame->ActivateFrame();
                if (CFrameWnd* top = frame->GetParentFrame()) top->ActivateFrame();
            }
        }
        return open;
    }
    if (!best) {
        CString text = CL_MSG_NO_TEMPLATE;
        text.Replace(L"%1", full);
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        return nullptr;
    }
    return best->OpenDocumentFile(full);
}

BOOL CDocManager::SaveAllModified()
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;)
        if (!GetNextDocTemplate(pos)->SaveAllModified()) return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL endSession)
{
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) GetNextDocTemplate(pos)->CloseAllDocuments(endSession);
}

void CDocManager::OnFileNew()
{
    POSITION pos = GetFirstDocTemplatePosition();
    if (CDocTemplate* documentTemplate = pos ? GetNextDocTemplate(pos) : nullptr)
        documentTemplate->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen()
{
    CString name;
    if (!DoPromptFileName(name, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr)) return;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(name);
    else
        OpenDocumentFile(name);
}

BOOL CDocManager::DoPromptFileName(CString& fileName, const wchar_t* title, DWORD flags, BOOL open,
                                   CDocTemplate* documentTemplate)
{
    // The filter: the given template's type first, then the other templates',
    // then every file.
    CString filter;
    CString defaultExtension;
    auto addTemplate = [&](CDocTemplate* t) {
        CString name, extensions;
        if (!t->GetDocString(name, CDocTemplate::filterName) || !t->GetDocString(extensions, CDocTemplate::filterExt))
            return;
        CString patterns;
        for (CString extension : SplitExtensions(extensions)) {
            if (!patterns.IsEmpty()) patterns += L";";
            patterns += L"*" + extension;
            if (defaultExtension.IsEmpty()) defaultExtension = extension.TrimLeft(L".");
        }
        filter += name + L"|" + patterns + L"|";
    };
    if (documentTemplate) addTemplate(documentTemplate);
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* t = GetNextDocTemplate(pos);
        if (t != documentTemplate) addTemplate(t);
    }
    filter += L"所有文件 (*.*)|*.*||";
    CFileDialog dialog(open, documentTemplate ? static_cast<const wchar_t*>(defaultExtension) : nullptr, fileName,
                       flags, filter);
    if (title) dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK) return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}
