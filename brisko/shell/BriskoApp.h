// Brisko's application object: start-up as the one running instance (a
// second start hands its file to the first and ends), the settings kept in
// the registry, the resource library, the file associations, the routing of
// opened files (a project file goes to the main frame, any other file
// becomes a data-file document) and the exit sequence.
//
// The object owns copies of Corvane's current project and slope-template
// library, which the program's panes and dialogs read and change directly
// and hand back to Corvane at once, and the data-file tables fetched from
// Corvane at start.
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/project/TavixInterface.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"

class CMainFrame;

// Caption of every message box of the program.
extern const wchar_t kBriskoCaption[];
// The resource library's file name.
extern const wchar_t kResourceDllName[];

class CBriskoApp : public CWinApp
{
public:
    CBriskoApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Opens the command line's file ("?" in it stands for a blank); FALSE
    // after error 016 when a file that is no project cannot be opened.
    BOOL ProcessStartCommand();
    // A project file (".epj") is handed to the main frame (WM_OPENPROJECT)
    // and gives NULL; any other file opens through the first document
    // template.
    CDocument* OpenDocumentFile(const wchar_t* path) override;

    void SetWorkingDirectory(CString dir) { m_SWorkingDirectory = dir; }
    // Closes the first document of each template open on the file `path`
    // names (full paths compared without regard to case, as the documents
    // are found when opened), without asking to save it.
    void CloseDocumentByPath(CString path);
    // "R<product version>" of a module file, "文件不存在" or "未定义".
    static CString GetModuleVersionText(const wchar_t* path);
    // Loads Tavix3_Res8.dll from the suite's Bin folder, else from the
    // program's folder; FALSE (after a message) when neither works.
    BOOL LoadResourceDll();
    // Loads the resource library from "<suite>\Bin", else from the program's
    // folder; NULL after the message when neither has a usable one.
    static HINSTANCE LoadResourceLibrary(const CString& suiteFolder, const CString& programFolder);

    // -- settings (registry "SOFTWARE\TavixSuite\Brisko\<section>") -----------
    DWORD GetSettingInt(const wchar_t* section, const wchar_t* key, DWORD defaultValue);
    CString GetSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue);
    // FALSE (after a message) when the key cannot be made or the value not
    // written.
    BOOL SetSettingInt(const wchar_t* section, const wchar_t* key, DWORD value);
    BOOL SetSettingString(const wchar_t* section, const wchar_t* key, const wchar_t* text);
    // read: the current project and library, the working directory and
    // every setting; otherwise writes the editor settings and colours.
    void LoadSaveSettings(BOOL read);
    // The settings' first-start values.
    void SetDefaultSettings();
    // The colours' first-start values (Color0 .. Color11).
    static void GetDefaultColors(COLORREF colors[12]);

    // -- file associations --------------------------------------------------------
    // Writes the 30 extensions under HKEY_CLASSES_ROOT; TRUE when every one
    // was written whole.
    BOOL RegisterFileTypes();

    // Reloads the current road's break chain, ground line and vertical
    // curves into CurRoadBreakChain and CurRoadProfile.
    void LoadCurrentRoadData();

    CMainFrame* MainFrame() const;

    // -- state ------------------------------------------------------------------------
    CArray<Tavix4::sFileStyle, Tavix4::sFileStyle> m_FileStyles;
    CArray<Tavix4::sReferenceDoc, Tavix4::sReferenceDoc> m_ReferenceDocs;
    CStringArray m_SInternalExts;
    HINSTANCE m_hResourceDll = nullptr;
    CString m_SVersion;
    BOOL m_bExitEnabled = TRUE;     // the exit command runs only while set

    // Editor settings and colours (Color0 .. Color11).
    COLORREF m_Colors[12];
    short m_nTabWidth;
    short m_nMarginWidth;
    short m_nLinePitch;
    BOOL m_bShowGrid;
    BOOL m_bAutoIndent;
    BOOL m_bShowToolTip;
    short m_nDurationTime;
    BOOL m_bAutoComment;
    BOOL m_bAutoReload;
    BOOL m_bTopMost;
    // Main window.
    int m_iMainWndLeft;
    int m_iMainWndTop;
    int m_iMainWndRight;
    int m_iMainWndBottom;
    BOOL m_bShowProjectBar;
    BOOL m_bShowRoadInfoBar;

    CString m_SWorkingDirectory;
    CString m_SPendingProject;      // a project file waiting for the main frame
    tkxProject m_CurProject;
    tkxTemplateBase m_CurTBase;

protected:
    // The application's commands (AppCommands.cpp).  The tool commands are
    // also forwarded here from the file tree's context menu.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnAppAbout();
    void OnAppOptions();
    void OnShowGrid();
    void OnUpdateShowGrid(CCmdUI* ui);
    void OnRegisterFileTypes();
    void OnToolCommand(UINT id);
    void OnProfileInquire();
    void OnUpdateProfileInquire(CCmdUI* ui);
    void OnImportHintCADRoad();
    DECLARE_MESSAGE_MAP()

private:
    void HandOverToFirstInstance();
    void UpdateAllDocumentViews();
};

extern CBriskoApp theApp;

// The suite's installation settings, read at start.
extern tkxApplicationInfo g_AppInfo;
// The current road's break chain and profile (ground line and vertical
// curves), reloaded by the main frame on every project or road change.
extern tkxBreakChain CurRoadBreakChain;
extern tkxZDMInfo CurRoadProfile;
