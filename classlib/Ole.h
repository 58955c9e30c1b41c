// OLE drag and drop and the OLE clipboard, for text.
//
// Start-up.  AfxOleInit starts OLE on the calling thread (the program's
// InitInstance calls it); the application object stops it again when it
// shuts down, after ExitInstance, handing text it left on the clipboard to
// the system first so that it outlives the program.
//
// COleDataSource offers data: blocks of global memory cached per clipboard
// format (CacheText caches a text as CF_UNICODETEXT and, converted through
// the ANSI code page, as CF_TEXT).  It goes on the clipboard (SetClipboard:
// the clipboard then owns it) or into a drag (DoDragDrop: the caller keeps
// it and deletes it afterwards).
//
// COleDataObject reads data offered by anyone (a drag, the clipboard).
// GetText takes CF_UNICODETEXT, or else CF_TEXT converted through the ANSI
// code page; every read stays inside the data block, whether or not the
// offered text carries its terminating zero.
//
// COleDropTarget makes a window accept drops: Register binds it to the
// window (the registration ends when the window is destroyed, or by
// Revoke).  OLE's calls arrive at the virtual functions with the window and
// the point in the window's client coordinates; the defaults hand them to
// the window when it is a view (CView's OnDragEnter ... OnDragScroll) and
// refuse otherwise.  Before every enter and over the target asks
// OnDragScroll: an answer with DROPEFFECT_SCROLL means the window scrolls
// and is the answer; otherwise OnDragEnter / OnDragOver decide.  A drop
// whose last answer was "no effect" is a leave (OnDragLeave), as in OLE's
// own loop; otherwise OnDropEx, and when that declines (-1), OnDrop with the
// last answer.  Effects are limited to what the source allows (a move the
// source does not allow becomes a copy when it allows that).
#pragma once
#include "CmdTarget.h"
#include "String.h"
#include "Types.h"
#include <ole2.h>
#include <vector>

class CWnd;

typedef DWORD DROPEFFECT;

// Starts OLE on this thread; FALSE when it cannot be started.
CLASSLIB_API BOOL AfxOleInit();
// Stops what AfxOleInit started (the application object calls it at exit).
CLASSLIB_API void AfxOleTerm();

// Text in a block of global memory.  Reading: CF_UNICODETEXT as UTF-16,
// CF_TEXT / CF_OEMTEXT through the ANSI / OEM code page, up to the first
// zero or the end of the block, whichever comes first.  FALSE for a null
// or unreadable block or another format.
CLASSLIB_API BOOL ClReadGlobalText(HGLOBAL data, CLIPFORMAT format, CString& text);
// A new movable block holding the text with its zero in that format
// (CF_UNICODETEXT or CF_TEXT); null when memory runs out.  The caller owns it.
CLASSLIB_API HGLOBAL ClGlobalFromText(const wchar_t* text, CLIPFORMAT format);

class CLASSLIB_API COleDataObject
{
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Takes the data object; with autoRelease the reference passes to this
    // object and is released by Release or the destructor.
    void Attach(LPDATAOBJECT dataObject, BOOL autoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The clipboard's data; FALSE when it cannot be had.
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject() const { return m_lpDataObject; }

    BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // The data in a medium the caller releases (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = nullptr);
    // The data as a block of global memory that the caller frees; null when
    // not offered that way.
    HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // Text in one of the text formats (see above).
    BOOL IsTextAvailable();
    BOOL GetText(CString& text);

    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

class CLASSLIB_API COleDataSource : public CCmdTarget
{
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // Offers the block in the format (replacing what was offered in it);
    // the data source owns the block from now on.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL data, LPFORMATETC formatEtc = nullptr);
    // Offers the text as CF_UNICODETEXT and CF_TEXT; FALSE when memory runs out.
    BOOL CacheText(const wchar_t* text);
    void Empty();

    // Puts the data on the clipboard, which then owns this object.
    BOOL SetClipboard();
    // Copies of the cached blocks, by format (AfxOleTerm hands them to the
    // clipboard itself when the program ends).
    std::vector<std::pair<CLIPFORMAT, HGLOBAL>> CopyData() const;
    // Runs OLE's drag loop with this data; the effect of the drop, or
    // DROPEFFECT_NONE when the drag was cancelled or could not start.
    DROPEFFECT DoDragDrop(DWORD allowedEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);

    LPDATAOBJECT GetInterface();
    // References: the creator holds one; OLE's come and go.  The object is
    // deleted when the last one goes.
    ULONG InternalAddRef();
    ULONG InternalRelease();

private:
    struct Entry {
        FORMATETC format;
        HGLOBAL data;
    };
    struct XDataObject : IDataObject {
        COleDataSource* owner;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
        HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
        HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
        HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
        HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
        HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
        HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
        HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
        HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;
    } m_xDataObject;
    const Entry* Find(const FORMATETC* format, HRESULT* why) const;
    std::vector<Entry> m_entries;
    LONG m_refs = 1;
};

class CLASSLIB_API COleDropTarget : public CCmdTarget
{
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;

    // Makes the window a drop target served by this object; FALSE when the
    // window is already registered, OLE is not started or the window is bad.
    BOOL Register(CWnd* wnd);
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 declines: OnDrop is called then.
    virtual DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    // The default asks the view, then scrolls a window with scroll bars
    // while the point rests near an edge it can scroll towards.
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

    // The interface OLE calls (tests call it directly).
    LPDROPTARGET GetInterface();
    HWND m_hWnd = nullptr; // the registered window

    // Automatic scrolling: the band along the edges (pixels), the rest
    // before scrolling starts and between two steps (milliseconds).
    int m_nScrollInset = DD_DEFSCROLLINSET;
    UINT m_nScrollDelay = DD_DEFSCROLLDELAY;
    UINT m_nScrollInterval = DD_DEFSCROLLINTERVAL;

private:
    struct XDropTarget : IDropTarget {
        COleDropTarget* owner;
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
        HRESULT STDMETHODCALLTYPE DragLeave() override;
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    } m_xDropTarget;
    CWnd* Window() const;
    CPoint ClientPoint(POINTL point) const;
    DROPEFFECT Answer(CWnd* wnd, DWORD keyState, CPoint point, BOOL enter, DWORD allowed);
    void EndDrag();
    COleDataObject m_dataObject;
    DROPEFFECT m_lastEffect = DROPEFFECT_NONE;
    DWORD m_insetSince = 0;  // when the point came into the scrolling band (0: outside)
    DWORD m_lastScroll = 0;  // when the window scrolled last
};

// Ends the drop-target registration of a window that is being destroyed
// (the window procedure calls it).
void ClRevokeDropTargetOf(HWND hwnd);
