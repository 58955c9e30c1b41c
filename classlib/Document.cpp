#include "Document.h"
#include "App.h"
#include "Archive.h"
#include "CommonDialogs.h"
#include "DocTemplate.h"
#include "TempFile.h"
#include "Exceptions.h"
#include "File.h"
#include "Frame.h"
#include "View.h"
#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

CString FileNameOf(const CString& path)
{
    int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    return path.Mid(slash + 1);
}

} // namespace

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    // Views that outlive their document forget it.
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const wchar_t* title)
{
    m_strTitle = title ? title : L"";
    UpdateFrameTitles();
}

void CDocument::UpdateFrameTitles()
{
    // The frames show the title at the next idle moment.
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        for (CFrameWnd* frame = view->GetParentFrame(); frame; frame = frame->GetParentFrame())
            frame->m_nIdleFlags |= CFrameWnd::idleTitle;
    }
}

void CDocument::SetPathName(const wchar_t* path, BOOL addToRecentList)
{
    CString full(path ? path : L"");
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = full.IsEmpty() ? 0 : ::GetFullPathNameW(full, MAX_PATH * 2, buffer, nullptr);
    if (n > 0 && n < MAX_PATH * 2) full = buffer;
    m_strPathName = full;
    SetTitle(FileNameOf(full));
    if (addToRecentList) {
        if (CWinApp* app = AfxGetApp()) app->AddToRecentFileList(full);
    }
}

BOOL CDocument::IsModified() { return m_bModified; }

void CDocument::SetModifiedFlag(BOOL modified) { m_bModified = modified; }

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const wchar_t* path)
{
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        ReportSaveLoadException(path, &error, FALSE);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE); // half-read contents count as changed
    try {
        CArchive archive(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        Serialize(archive);
        archive.Close();
    } catch (CException* e) {
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(path, e, FALSE);
        e->Delete();
        return FALSE;
    }
    file.Close();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const wchar_t* path)
{
    // The whole document goes to a temporary file beside the target, which
    // replaces the target only once it is complete: a failed save leaves the
    // old file as it was.
    CString target(path);
    CString folder = target.Left(std::max(target.ReverseFind(L'\\'), target.ReverseFind(L'/')) + 1);
    const CString temporary = ClMakeTempFile(folder.IsEmpty() ? L"." : static_cast<const wchar_t*>(folder), L"cl");
    if (temporary.IsEmpty()) {
        CFileException error(CFileException::OsErrorToException(static_cast<LONG>(::GetLastError())),
                             static_cast<LONG>(::GetLastError()), path);
        ReportSaveLoadException(path, &error, TRUE);
        return FALSE;
    }
    CFile file;
    CFileException error;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
        ::DeleteFileW(temporary);
        error.m_strFileName = path;
        ReportSaveLoadException(path, &error, TRUE);
        return FALSE;
    }
    try {
        CArchive archive(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        Serialize(archive);
        archive.Close();
        file.Close();
    } catch (CException* e) {
        file.Abort();
        ::DeleteFileW(temporary);
        ReportSaveLoadException(path, e, TRUE);
        e->Delete();
        return FALSE;
    }
    if (!::MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        LONG cause = static_cast<LONG>(::GetLastError());
        ::DeleteFileW(temporary);
        CFileException failure(CFileException::OsErrorToException(cause), cause, path);
        ReportSaveLoadException(path, &failure, TRUE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The frames go first (their views leave the list as they go); the
    // document stays alive meanwhile.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    std::vector<HWND> frames;
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        if (CFrameWnd* frame = view->GetParentFrame()) frames.push_back(frame->m_hWnd);
    }
    // Through the frame objects: an MDI child goes through its MDI client.
    for (HWND frame : frames)
        if (CWnd* wnd = CWnd::FromHandlePermanent(frame)) wnd->DestroyWindow();
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

void CDocument::AddView(CView* view)
{
    if (m_viewList.Find(view)) return;
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view)
{
    POSITION pos = m_viewList.Find(view);
    if (!pos) return;
    m_viewList.RemoveAt(pos);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameTitles();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        if (view != sender) view->OnUpdate(sender, hint, hintObject);
    }
}

BOOL CDocument::IsOnlyFrame(CFrameWnd* frame) const
{
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
        CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
        CFrameWnd* other = view->GetParentFrame();
        if (other && other != frame) return FALSE;
    }
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame)
{
    if (!IsOnlyFrame(frame)) return TRUE;
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified()) return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    if (name.IsEmpty()) name = CL_TEXT_UNTITLED;
    CString question = CString(CL_MSG_SAVE_CHANGES);
    question.Replace(L"%1", name);
    switch (AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE; // No: the changes are dropped
    }
}

BOOL CDocument::DoFileSave()
{
    DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_strPathName);
    // A document without a file, or whose file is read-only, is saved under a
    // name the user gives.
    if (m_strPathName.IsEmpty() ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(const wchar_t* path, BOOL replace)
{
    CString name(path ? path : L"");
    if (name.IsEmpty()) {
        name = m_strPathName;
        if (name.IsEmpty()) {
            name = m_strTitle;
            CString extension;
            if (m_pDocTemplate && m_pDocTemplate->GetDocString(extension, CDocTemplate::filterExt) &&
                !extension.IsEmpty()) {
                int semicolon = extension.Find(L';');
                if (semicolon >= 0) extension = extension.Left(semicolon);
                name += extension;
            }
        }
        CWinApp* app = AfxGetApp();
        if (!app || !app->DoPromptFileName(name, nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                                           FALSE, m_pDocTemplate))
            return FALSE; // cancelled
    }
    if (!OnSaveDocument(name)) return FALSE;
    if (replace) SetPathName(name);
    return TRUE;
}

void CDocument::ReportSaveLoadException(const wchar_t* path, CException* e, BOOL saving)
{
    CString text = e ? e->GetErrorMessage() : CString();
    if (text.IsEmpty()) {
        text = saving ? CL_MSG_SAVE_FAILED : CL_MSG_OPEN_FAILED;
        text.Replace(L"%1", path ? path : L"");
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified()) return;
    OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }

void CDocument::OnFileSaveAs() { DoSave(nullptr); }
