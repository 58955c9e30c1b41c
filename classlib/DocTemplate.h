// Document templates and the document manager.
//
// A document template ties a document class, a frame class and a view class
// to one resource id: the string of that id describes the document type in
// seven "\n"-separated parts (GetDocString), and a multi-document template
// also loads the menu and the accelerators of that id, which its frames show
// while one of them is the active MDI child.  Opening a document through the
// template creates the document, a frame (LoadFrame with a create context
// naming the view class) and the view, then loads the document, and only then
// sends the initial update and shows the frame.
//
// The document manager keeps the program's templates (CWinApp::AddDocTemplate)
// and does what concerns all of them: opening a file through the template
// that fits it best (an open document of that path is activated, not opened
// again), File New and File Open, and saving or closing every document.
#pragma once
#include "CmdTarget.h"
#include "Collections.h"
#include "String.h"

class CDocument;
class CFrameWnd;
struct CRuntimeClass;

class CLASSLIB_API CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // The parts of the document string, in order.
    enum DocStringIndex {
        windowTitle,     // the title of a single-document program's main window
        docName,         // the root of new documents' titles ("未命名文件" gives "未命名文件1")
        fileNewName,     // the type's name in the File New choice
        filterName,      // the file dialog's filter text, "文本文件 (*.txt)"
        filterExt,       // the extension(s) with the dot, ";"-separated: ".txt"
        regFileTypeId,   // the registry's type id
        regFileTypeName, // the registry's type name
    };
    // How well a file fits a template (MatchDocType), worst to best.
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative,
                      yesAlreadyOpen };

    ~CDocTemplate() override;

    // Loads the document string (and, in derived templates, menus); the
    // document manager calls it when the template is added.
    virtual void LoadTemplate();
    // FALSE when the part is missing; `text` is then empty.
    virtual BOOL GetDocString(CString& text, DocStringIndex index) const;

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& position) const = 0;
    virtual void AddDocument(CDocument* document);
    virtual void RemoveDocument(CDocument* document);

    // yesAlreadyOpen (with `match` the document) when a document of the path
    // is open; yesAttemptNative when the path ends with one of the template's
    // extensions; else maybeAttemptForeign.
    virtual Confidence MatchDocType(const wchar_t* path, CDocument*& match);
    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* document, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* document, BOOL makeVisible = TRUE);
    // Opens the file as a new document (a new empty document when the path
    // is null); null when the document could not be made or loaded.
    virtual CDocument* OpenDocumentFile(const wchar_t* path, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* document) = 0;

    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    HINSTANCE m_hResourceModule; // the module that made the template (Resources.h)

protected:
    CDocTemplate(UINT resourceId, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                 CRuntimeClass* viewClass, HINSTANCE caller);
    // Whether the path ends with one of the ";"-separated extensions.
    static BOOL PathHasExtension(const wchar_t* path, const CString& extensions);

    CString m_strDocStrings;
};

// The template of an MDI program's documents: any number of documents, each
// in its own MDI child frame, all sharing the template's menu and
// accelerators.
class CLASSLIB_API CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    // `caller`: the module whose resources (string, menu, accelerators,
    // icon) belong to the template; by default the one that makes it.
    CMultiDocTemplate(UINT resourceId, CRuntimeClass* documentClass, CRuntimeClass* frameClass,
                      CRuntimeClass* viewClass, HINSTANCE caller = ClCallerModule());
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& position) const override
    {
        return static_cast<CDocument*>(m_docList.GetNext(position));
    }
    void AddDocument(CDocument* document) override;
    void RemoveDocument(CDocument* document) override;
    CDocument* OpenDocumentFile(const wchar_t* path, BOOL makeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* document) override;

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;

protected:
    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};

class CLASSLIB_API CDocManager : public CObject
{
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager();
    ~CDocManager() override; // deletes the templates

    void AddDocTemplate(CDocTemplate* documentTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& position) const
    {
        return static_cast<CDocTemplate*>(m_templateList.GetNext(position));
    }
    int GetOpenDocumentCount() const;

    // The full path's document: an open one is activated and returned; else
    // the best fitting template opens it.  Null when it cannot be opened.
    virtual CDocument* OpenDocumentFile(const wchar_t* path);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);
    // A new document of the first template (the programs here have their
    // own choice when there are several).
    virtual void OnFileNew();
    // The open dialog with every template's filter, then OpenDocumentFile.
    virtual void OnFileOpen();
    // The file dialog for opening (`open`) or saving; the template's filter
    // first when given.  FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, const wchar_t* title, DWORD flags, BOOL open,
                                  CDocTemplate* documentTemplate);

protected:
    CPtrList m_templateList;
};
