// Corvane's application object: the library's whole shared state (the
// current project and slope-template library, the registered lists of
// projects and libraries with their current indexes, the data-file types,
// internal extensions and reference documents of "TvComment.ini", and the
// suite status bar), plus the senders that tell the status bars inside
// running CAD hosts the current project, road or terrain-model name.
//
// One static object lives in the library.  Its start-up (InitInstance) runs
// on first use, never while the library loads: every function of the library
// that needs the state reaches it through TavixDevApp(), which starts it.
// Its shutdown (ExitInstance) runs from an explicit Shutdown() call, or else
// when the object is destroyed as the library unloads; it only takes down the
// library's own bars and does no registry or file work.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "corvane/project/Project.h"
#include "corvane/project/TemplateBase.h"

class tkxApplicationInfo;
class CFrameWnd;        // the class library's frame window (window part)
class CTvStatusBar;     // the suite status bar (UI control library)

namespace Tavix4 {

// One data-file type of "TvComment.ini".
struct CORVANE_API sFileStyle {
    CString m_STypeName;        // e.g. "桩号断链文件(*.DL)"
    CString m_SExt;             // extension, up to three characters, no dot
    CString m_SComment;         // the "//" lines describing the type, each + "\n"
    short m_nNumber;            // group: 0 global, 1 plane, 2 profile, 3 cross-section

    sFileStyle() : m_nNumber(0) {}
};

// One design reference document.
struct CORVANE_API sReferenceDoc {
    short m_nLevel;             // nesting depth in the reference tree, 1 to 5
    CString m_STitle;
    CString m_SFileName;        // help file under "<install>\Help", "NULL" for none
    CString m_STopic;           // topic inside the help file, "NULL" for none

    sReferenceDoc() : m_nLevel(0) {}
};

// Snapshot of the current project, road and library.
struct CORVANE_API sWorkSpace {
    CString m_SPrjName;
    CString m_SPrjPath;
    CString m_SCurRoadName;
    CString m_SCurRoadPath;
    CString m_STBName;
    CString m_STBPath;
    CString m_STBDescription;
    CString m_STBCreateDate;
    int m_iCurPrj;              // index in the registered project list, -1 none
    int m_iCurTB;               // index in the registered library list, -1 none
    CString m_SStage;
    int m_iPrjType;
    int m_iClimate;
    int m_iLandform;
    CString m_SCreateDate;
    int m_iReserve;
    double m_rReserve1;
    double m_rReserve2;
    sPrjSetting0 m_sPrjSetting0;
    sPrjSetting1 m_sPrjSetting1;
    sPrjSetting2 m_sPrjSetting2;

    sWorkSpace();
};

} // namespace Tavix4

class CORVANE_API CTavixDevApp : public CWinApp
{
public:
    CTavixDevApp();
    ~CTavixDevApp() override;
    CTavixDevApp(const CTavixDevApp&) = delete;
    CTavixDevApp& operator=(const CTavixDevApp&) = delete;

    // Start-up: locale "chs", installation settings, registered project list
    // with the current project, registered library list with the current
    // library, "TvComment.ini" from the user's document folder.
    BOOL InitInstance() override;
    // Shutdown: the status bar, then the dynamic info bar, then the base.
    int ExitInstance() override;

    // The suite status bar in the frame; 1 when there is one afterwards.
    int CreateStatusBar(CFrameWnd* frame);
    void DestroyStatusBar();

    Tavix4::sWorkSpace GetWorkSpace();

    // Reads the data-file types, internal extensions and reference
    // documents; 1 when at least one file type was read.
    int ReadCommentFile(const wchar_t* file);

    // Status-bar senders: WM_COPYDATA with data word 1 (project), 2 (road)
    // or 3 (terrain model) and a 1,024-byte zero-terminated wide text (cut to
    // 511 characters) to every suite status bar in a running CAD host.
    void SendRoadName(const wchar_t* road);
    void SendProjectAndRoad(const wchar_t* project, const wchar_t* road);
    void SendMeshName(const wchar_t* mesh);

    // The suite status-bar windows inside running CAD hosts (up to `max`,
    // one per process, in process order); returns their count.
    static const int kMaxStatusBars = 20;
    static int FindCadStatusBars(HWND* windows, int max = kMaxStatusBars);
    // The main windows of the running CAD-host processes (executable name
    // containing "acad"), in process order; returns their count.
    static int FindCadMainWindows(HWND* windows, int max);
    // The first top-level window of the process without a parent, in
    // EnumWindows order; NULL when there is none.
    static HWND FindProcessWindow(DWORD process);

    // The installation settings (the library's one settings object).
    tkxApplicationInfo& AppInfo();

    // -- state ------------------------------------------------------------------
    tkxProject m_CurProject;
    tkxTemplateBase m_CurTBase;
    int m_iCurPrj;                      // -1 = none
    int m_iCurTB;                       // -1 = none
    CStringArray m_SPrjNames;           // parallel to m_SPrjPaths
    CStringArray m_SPrjPaths;
    CStringArray m_STBNames;            // parallel to m_STBPaths
    CStringArray m_STBPaths;
    CArray<Tavix4::sFileStyle, Tavix4::sFileStyle> m_FileStyles;
    CStringArray m_SInternalExts;
    CArray<Tavix4::sReferenceDoc, Tavix4::sReferenceDoc> m_ReferenceDocs;
    CTvStatusBar* m_pStatusBar;         // owned; null while there is none

private:
    void SendToStatusBars(const ULONG_PTR* words, const wchar_t* const* texts, int count);
};

// The library's application object, started (once) before it is returned.
CORVANE_API CTavixDevApp& TavixDevApp();

// Copies a text into a buffer of `chars` wide characters for a message to
// another window: at most chars - 1 characters (never half of a surrogate
// pair), always zero-terminated; the rest of the buffer is zero.
void CopyMessageText(wchar_t* buffer, size_t chars, const wchar_t* text);
// A window's title, read up to 512 characters.
CString WindowTitle(HWND window);

// The calling thread's main window: its first visible top-level window
// without an owner; NULL when it has none.  Message boxes of the library and
// the wParam of the messages it sends use it.
CORVANE_API HWND TavixMainWindow();
