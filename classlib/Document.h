// CDocument: the data a program shows in one or more views, with its file.
//
// A document template creates the document, its frame and its view, then
// fills it with OnNewDocument (an empty document) or OnOpenDocument (from a
// file); the path and the title follow SetPathName and SetTitle.  The
// modified flag decides whether closing asks "save the changes?": Yes saves
// (and a failed save keeps the document open), No discards, Cancel keeps it
// open.  OnCloseDocument destroys the document's frames and, with
// m_bAutoDelete, the document.
//
// Loading and saving go through Serialize on a CArchive by default; a save
// writes a temporary file beside the target and replaces the target only
// when the whole document is written, so a failed save leaves the old file as
// it was.
//
// Commands the active view does not handle come to its document, then to the
// document's template.
#pragma once
#include "CmdTarget.h"
#include "Collections.h"
#include "String.h"

class CView;
class CFrameWnd;
class CDocTemplate;
class CException;

class CLASSLIB_API CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // The title shown in frames ("未命名文件1", or the file's name).
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const wchar_t* title);
    // The full path of the file; setting it also sets the title to the file
    // name and, with `addToRecentList`, puts the file on the recent-file list.
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const wchar_t* path, BOOL addToRecentList = TRUE);
    void ClearPathName() { m_strPathName.Empty(); }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL modified = TRUE);

    // Empties the document (before new contents and when it closes).
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const wchar_t* path);
    virtual BOOL OnSaveDocument(const wchar_t* path);
    virtual void OnCloseDocument();

    // Views.
    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& position) const { return static_cast<CView*>(m_viewList.GetNext(position)); }
    int GetViewCount() const { return static_cast<int>(m_viewList.GetCount()); }
    // OnUpdate of every view but `sender`.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // A view came or went; the last view going closes an auto-deleting
    // document.
    virtual void OnChangedViewList();

    // Closing a frame: TRUE when it may go.  For the document's last frame
    // this asks to save the changes (SaveModified).
    virtual BOOL CanCloseFrame(CFrameWnd* frame);
    // Whether the frame is the only one that shows this document.
    BOOL IsOnlyFrame(CFrameWnd* frame) const;
    // When modified: asks "是否将更改保存到 <title>?" with Yes, No and
    // Cancel.  FALSE when the user cancelled or the save failed.
    virtual BOOL SaveModified();
    // Saves under the path, or asks for a path first (Save As) when it is
    // null; FALSE when cancelled or failed.
    virtual BOOL DoSave(const wchar_t* path, BOOL replace = TRUE);
    // Save: under the document's path, or Save As when it has none.
    virtual BOOL DoFileSave();
    // The standard report of a failed load or save.
    virtual void ReportSaveLoadException(const wchar_t* path, CException* e, BOOL saving);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    BOOL m_bAutoDelete = TRUE; // deleted when its last view goes

protected:
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    DECLARE_MESSAGE_MAP()

    // The document's frames show its title anew at the next idle moment.
    void UpdateFrameTitles();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    friend class CDocTemplate;
    friend class CMultiDocTemplate;
};

// The library's texts of the document layer.
#define CL_MSG_SAVE_CHANGES L"是否将更改保存到 %1?"
#define CL_MSG_OPEN_FAILED L"无法打开文件 %1。"
#define CL_MSG_SAVE_FAILED L"无法保存文件 %1。"
#define CL_MSG_CREATE_FAILED L"无法创建文档。"
#define CL_MSG_NO_TEMPLATE L"无法识别文件 %1 的类型。"
#define CL_TEXT_UNTITLED L"无标题"
