// Corvane's application object: start-up, shutdown, the workspace snapshot,
// "TvComment.ini", and the senders to the suite status bars in CAD hosts.
#include "corvane/project/TavixDevApp.h"
#include "corvane/base/CopyData.h"
#include "corvane/platform/ApplicationInfo.h"
#include "corvane/base/LineReader.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/base/TextLines.h"
#include "corvane/ui/DynaInfoBar.h"
#include "corvane/ui/TvStatusBar.h"
#include <algorithm>
#include <clocale>
#include <tlhelp32.h>

using namespace Tavix4;

namespace {

// The library's one application object.  It is constructed while the library
// loads, but starts only on first use (TavixDevApp()).
CTavixDevApp theApp;

const wchar_t kStatusBarTitle[] = L"TAVIX3状态栏";

struct ThreadWindowSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FirstMainWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ThreadWindowSearch*>(param);
    if (IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ProcessWindowSearch {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK FirstProcessWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ProcessWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && !GetParent(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The status bar inside one CAD host's main window: the first window titled
// like the bar that has no child; a window of that title with children is
// searched in turn, windows of other titles are passed over.
HWND StatusBarIn(HWND mainWindow)
{
    HWND window = GetWindow(mainWindow, GW_CHILD);
    while (window) {
        if (WindowTitle(window) == kStatusBarTitle) {
            HWND child = GetWindow(window, GW_CHILD);
            if (!child) return window;
            window = child;
            continue;
        }
        window = GetWindow(window, GW_HWNDNEXT);
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Small helpers

void CopyMessageText(wchar_t* buffer, size_t chars, const wchar_t* text)
{
    if (!buffer || chars == 0) return;
    std::fill(buffer, buffer + chars, L'\0');
    if (!text) return;
    size_t length = wcslen(text);
    size_t take = length < chars - 1 ? length : chars - 1;
    // A cut between the two halves of a surrogate pair drops the first half.
    if (take < length && take > 0 && text[take - 1] >= 0xD800 && text[take - 1] <= 0xDBFF) --take;
    std::copy(text, text + take, buffer);
}

CString WindowTitle(HWND window)
{
    wchar_t title[513] = {};
    GetWindowTextW(window, title, 513);
    return CString(title);
}

HWND TavixMainWindow()
{
    ThreadWindowSearch search;
    EnumThreadWindows(GetCurrentThreadId(), FirstMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

CTavixDevApp& TavixDevApp()
{
    theApp.EnsureStarted();
    return theApp;
}

Tavix4::sWorkSpace::sWorkSpace()
    : m_iCurPrj(0), m_iCurTB(0), m_iPrjType(0), m_iClimate(0), m_iLandform(0), m_iReserve(0), m_rReserve1(0.0),
      m_rReserve2(0.0)
{
}

// ---------------------------------------------------------------------------
// Start-up and shutdown

CTavixDevApp::CTavixDevApp() : m_iCurPrj(-1), m_iCurTB(-1), m_pStatusBar(nullptr) {}

// The static object dies as the library unloads: a program that did not shut
// the library down explicitly gets the shutdown here.  It only takes down the
// library's bars, never touches the registry or files.
CTavixDevApp::~CTavixDevApp() { Shutdown(); }

tkxApplicationInfo& CTavixDevApp::AppInfo() { return TavixAppInfo(); }

BOOL CTavixDevApp::InitInstance()
{
    // Text-mode files of 8-bit text convert through code page 936.
    setlocale(LC_CTYPE, "chs");
    AppInfo().ReadTavixAppInfo();
    ReadProjectList(*this, nullptr);
    ReadTemplateBaseList(*this, nullptr);
    ReadCommentFile(AppInfo().GetIniFileName(L"TvComment.ini"));
    return CWinApp::InitInstance();
}

int CTavixDevApp::ExitInstance()
{
    DestroyStatusBar();
    DestroyDynaInfoBar();
    return CWinApp::ExitInstance();
}

// The suite status bar (a docking bar of the UI control library): a bar held
// already gives 1; otherwise a CTvStatusBar is made in the frame (id 0,
// title "TAVIX3状态栏", 400 x 30, style 0x50002800: child, visible, top
// alignment, bottom border), docked at the bottom and shown.  A bar that
// could not be made is deleted and forgotten, so a later call tries again.
int CTavixDevApp::CreateStatusBar(CFrameWnd* frame)
{
    if (m_pStatusBar) return 1;
    auto* bar = new CTvStatusBar;
    m_pStatusBar = bar;
    if (frame && bar->Create(frame, 0, kStatusBarTitle, CSize(400, 30), 0x50002800) == 1) {
        bar->m_bAutoDelete = TRUE; // from now on the bar goes with its window
        bar->EnableDocking(CBRS_ALIGN_BOTTOM);
        if (!frame->GetDockBar(AFX_IDW_DOCKBAR_BOTTOM)) frame->EnableDocking(CBRS_ALIGN_BOTTOM);
        frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
        frame->ShowControlBar(bar, TRUE, FALSE);
        return 1;
    }
    ClMessageBox(TavixMainWindow(), L"\n无法创建TAVIX3状态栏!", L"TAVIX", MB_OK);
    m_pStatusBar = nullptr;
    delete bar;
    return 0;
}

// The bar's window is destroyed, which deletes the bar; the pointer is
// forgotten in any case.
void CTavixDevApp::DestroyStatusBar()
{
    CTvStatusBar* bar = m_pStatusBar;
    m_pStatusBar = nullptr;
    if (!bar) return;
    if (!bar->m_hWnd)
        delete bar;
    else
        bar->DestroyWindow();
}

// ---------------------------------------------------------------------------
// Workspace

sWorkSpace CTavixDevApp::GetWorkSpace()
{
    sWorkSpace ws;
    ws.m_SPrjName = m_CurProject.m_SName;
    ws.m_SPrjPath = m_CurProject.m_SPath;
    ws.m_SCurRoadName = m_CurProject.GetCurRoadName();
    ws.m_SCurRoadPath = m_CurProject.GetCurRoadPath();
    ws.m_STBName = m_CurTBase.m_SName;
    ws.m_STBPath = m_CurTBase.m_SPath;
    ws.m_STBDescription = m_CurTBase.m_SDescription;
    ws.m_STBCreateDate = m_CurTBase.m_SCreateDate;
    ws.m_iCurPrj = m_iCurPrj;
    ws.m_iCurTB = m_iCurTB;
    ws.m_SStage = m_CurProject.m_SStage;
    ws.m_iPrjType = m_CurProject.m_iPrjType;
    ws.m_iClimate = m_CurProject.m_iClimate;
    ws.m_iLandform = m_CurProject.m_iLandform;
    ws.m_SCreateDate = m_CurProject.m_SCreateDate;
    ws.m_iReserve = m_CurProject.m_iReserve;
    ws.m_rReserve1 = m_CurProject.m_rReserve1;
    ws.m_rReserve2 = m_CurProject.m_rReserve2;
    ws.m_sPrjSetting0 = m_CurProject.m_sPrjSetting0;
    ws.m_sPrjSetting1 = m_CurProject.m_sPrjSetting1;
    ws.m_sPrjSetting2 = m_CurProject.m_sPrjSetting2;
    return ws;
}

// ---------------------------------------------------------------------------
// "TvComment.ini"
//
//   $$$<type name><digit>Ext:<ext>    a data-file type: name, group digit,
//                                     extension (up to three characters)
//   //...                             description lines of the type above
//   ###...Ext:<ext>                   an internal extension
//   [设计参考文档]                     then lines "level title file topic"

int CTavixDevApp::ReadCommentFile(const wchar_t* file)
{
    m_FileStyles.RemoveAll();
    m_SInternalExts.RemoveAll();
    m_ReferenceDocs.RemoveAll();

    CStdioFile in;
    if (!file || !in.Open(file, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) return 0;

    bool inReferences = false;
    bool pending = false;
    sFileStyle style;
    CString comment;
    auto finishStyle = [&]() {
        if (!pending) return;
        style.m_SComment = comment;
        m_FileStyles.Add(style);
        pending = false;
    };

    try {
        // Lines end as in the data files (LF, CR LF or a lone CR) and come
        // trimmed; a line holding a zero byte or longer than a data line is
        // passed over.
        CString line;
        int lineNo = 0;
        text_lines::DataLineReader lines(in);
        for (;;) {
            if (!lines.NextAnyLine(line, lineNo)) {
                if (lines.Failed()) continue;
                break;
            }
            if (line.IsEmpty()) continue;
            if (line.Find(L"[设计参考文档]") >= 0) {
                inReferences = true;
                continue;
            }
            if (inReferences) {
                CStringArray fields;
                tkx_DivideString(line, fields);
                if (fields.GetSize() == 4) {
                    sReferenceDoc doc;
                    doc.m_nLevel = static_cast<short>(_wtoi(fields[0]));
                    doc.m_STitle = fields[1];
                    doc.m_SFileName = fields[2];
                    doc.m_STopic = fields[3];
                    m_ReferenceDocs.Add(doc);
                }
            }
            if (line.Left(2) == L"//") {
                comment += line;
                comment += L"\n";
            }
            if (line.Find(L"$$$") >= 0) {
                // "$$$" + name + digit + "Ext:" + extension; a marker line
                // without room for that is no marker line.
                int ext = line.Find(L"Ext:");
                if (ext >= 4) {
                    finishStyle();
                    style = sFileStyle();
                    style.m_STypeName = line.Mid(3, ext - 4);
                    style.m_nNumber = static_cast<short>(_wtoi(CString(line[ext - 1])));
                    style.m_SExt = line.Mid(ext + 4, 3);
                    pending = true;
                    comment.Empty();
                }
            }
            if (line.Find(L"###") >= 0) {
                // Without "Ext:" and an extension after it the line adds no
                // (garbage or empty) internal extension.
                int ext = line.Find(L"Ext:");
                if (ext >= 0 && ext + 4 < line.GetLength()) m_SInternalExts.Add(line.Mid(ext + 4, 3));
            }
        }
    } catch (CException* e) {
        e->Delete();
    }
    finishStyle();
    in.Abort();
    return m_FileStyles.IsEmpty() ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Suite status bars in CAD hosts

HWND CTavixDevApp::FindProcessWindow(DWORD process)
{
    ProcessWindowSearch search{process};
    EnumWindows(FirstProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CTavixDevApp::FindCadMainWindows(HWND* windows, int max)
{
    if (!windows || max <= 0) return 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more && count < max; more = Process32NextW(snapshot, &entry)) {
        CString exe(entry.szExeFile);
        if (exe.MakeLower().Find(L"acad") < 0) continue;
        HWND window = FindProcessWindow(entry.th32ProcessID);
        if (window) windows[count++] = window;
    }
    CloseHandle(snapshot);
    return count;
}

int CTavixDevApp::FindCadStatusBars(HWND* windows, int max)
{
    if (!windows || max <= 0) return 0;
    HWND hosts[64];
    int hostCount = FindCadMainWindows(hosts, 64);
    int count = 0;
    for (int i = 0; i < hostCount && count < max; ++i) {
        HWND bar = StatusBarIn(hosts[i]);
        if (bar) windows[count++] = bar;
    }
    return count;
}

void CTavixDevApp::SendToStatusBars(const ULONG_PTR* words, const wchar_t* const* texts, int count)
{
    HWND bars[kMaxStatusBars];
    int barCount = FindCadStatusBars(bars, kMaxStatusBars);
    if (barCount == 0) return;

    // 512 characters (1,024 bytes) per text: at most 511 and the terminator.
    wchar_t buffers[2][512];
    for (int i = 0; i < count; ++i) CopyMessageText(buffers[i], 512, texts[i]);
    HWND sender = TavixMainWindow();
    for (int b = 0; b < barCount; ++b) {
        for (int i = 0; i < count; ++i) {
            COPYDATASTRUCT data = {};
            data.dwData = words[i];
            data.cbData = sizeof(buffers[i]);
            data.lpData = buffers[i];
            SendCopyDataMessage(bars[b], reinterpret_cast<WPARAM>(sender), data);
        }
    }
}

void CTavixDevApp::SendRoadName(const wchar_t* road)
{
    const ULONG_PTR words[] = {2};
    const wchar_t* texts[] = {road};
    SendToStatusBars(words, texts, 1);
}

void CTavixDevApp::SendProjectAndRoad(const wchar_t* project, const wchar_t* road)
{
    const ULONG_PTR words[] = {1, 2};
    const wchar_t* texts[] = {project, road};
    SendToStatusBars(words, texts, 2);
}

void CTavixDevApp::SendMeshName(const wchar_t* mesh)
{
    const ULONG_PTR words[] = {3};
    const wchar_t* texts[] = {mesh};
    SendToStatusBars(words, texts, 1);
}
