// Starting, finding and messaging the suite's other programs.
#include "corvane/project/SuitePrograms.h"
#include "corvane/base/CopyData.h"
#include "corvane/project/ProjectFolders.h"
#include "corvane/project/ProjectInterface.h"
#include "corvane/project/TavixDevApp.h"
#include <cstdarg>
#include <cstring>
#include <string>

using namespace projectstore;

namespace {

const wchar_t* const kBriskoProperties[] = {L"Brisko7", L"Brisko", L"Brisko_x64"};
const wchar_t kAssistTitle[] = L"设计助手";
const UINT kAppExit = 57665;

const int kPrintfChars = 4096;      // Brisko's information-line buffer
const int kRoadChangeChars = 256;   // the road-change text (512 bytes)
const int kAssistBytes = 1024;      // the assistant's 8-bit text buffer
const ULONG_PTR kAssistRoadRecord = 100;

// The road record the design assistant is sent (116 bytes, no padding).
#pragma pack(push, 1)
struct AssistRoadRecord {
    int32_t level;
    int32_t speed;
    int32_t landform;
    int32_t climate;
    wchar_t name[50];
};
#pragma pack(pop)
static_assert(sizeof(AssistRoadRecord) == 116, "the assistant's road record is 116 bytes");

// Cuts text to at most `chars` characters without splitting a surrogate
// pair.
CString CutText(const CString& text, int chars)
{
    if (text.GetLength() <= chars) return text;
    if (chars > 0 && IS_HIGH_SURROGATE(text[chars - 1])) --chars;
    return text.Left(chars);
}

CString ProgramPath(const wchar_t* program)
{
    return ClFormat(L"%s\\Bin\\%s", tkx_GetTavixPath().GetString(), program);
}

// The first top-level window, in z-order, that passes the test.
template <typename Test>
HWND FindTopLevelWindow(Test test)
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT))
        if (test(window)) return window;
    return nullptr;
}

void SendCopyData(HWND window, ULONG_PTR word, const void* data, DWORD bytes)
{
    COPYDATASTRUCT copy = {word, bytes, const_cast<void*>(data)};
    SendCopyDataMessage(window, 0, copy);
}

// A zero-filled wide buffer of `chars` characters holding the text, which
// must be shorter than the buffer.
std::wstring WideBuffer(const CString& text, int chars)
{
    std::wstring buffer(static_cast<size_t>(chars), L'\0');
    wmemcpy(&buffer[0], text.GetString(), static_cast<size_t>(text.GetLength()));
    return buffer;
}

} // namespace

UINT tkx_WinExec(const wchar_t* commandLine, UINT show)
{
    std::string command = ClWideToMultiByte(commandLine ? commandLine : L"", -1, CP_OEMCP);
    return WinExec(command.c_str(), show);
}

// ---------------------------------------------------------------------------
// Brisko

HWND tkx_GetBriskoWnd()
{
    return FindTopLevelWindow([](HWND window) {
        for (const wchar_t* name : kBriskoProperties)
            if (GetPropW(window, name)) return true;
        return false;
    });
}

void tkx_StartBrisko(HWND owner)
{
    HWND brisko = tkx_GetBriskoWnd();
    if (brisko) {
        if (IsIconic(brisko)) ShowWindow(brisko, SW_RESTORE);
        return;
    }
    CString program = ProgramPath(L"Brisko.exe");
    if (FileExists(program)) {
        // Quoted: a blank in the installation folder must not let another program run in its place.
        tkx_WinExec(ClFormat(L"\"%s\"", program.GetString()), SW_SHOWNORMAL);
        return;
    }
    ClMessageBox(owner,
                 ClFormat(L"%s文件不存在，无法启动TAVIX项目数据环境!\n\n请复制该文件到Bin路径中，或重新安装TAVIX3.0程序。",
                          program.GetString()),
                 kCaption, MB_OK | MB_ICONERROR);
}

void tkx_BriskoUnload()
{
    HWND brisko = tkx_GetBriskoWnd();
    if (!brisko) return;
    if (ClMessageBox(nullptr, L"是否关闭项目数据环境?", kCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
        PostMessageW(brisko, WM_COMMAND, kAppExit, 0);
}

void tkx_TavixPrintf(wchar_t* format, ...)
{
    HWND brisko = tkx_GetBriskoWnd();
    if (!brisko || !format) return;

    CString text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    CString line = L"TAVIX_PRINTF:";
    line += CutText(text, kPrintfChars - 1 - line.GetLength());

    CTavixDevApp& app = TavixDevApp();
    ClMessageBox(TavixMainWindow(), line, app.m_pszAppName ? app.m_pszAppName : kCaption, MB_OK);
    std::wstring buffer = WideBuffer(line, kPrintfChars);
    SendCopyData(brisko, 0, buffer.data(), kPrintfChars * sizeof(wchar_t));
}

int tkx_ChangeCurRoad(const wchar_t* road, HWND owner, int notifyBrisko, int notifyAssist)
{
    CTavixDevApp& app = TavixDevApp();
    tkxProject& project = app.m_CurProject;
    const CString name(road ? road : L"");

    if (project.GetRoadCount() == 0) {
        ShowBox(owner, L"当前项目未包含道路记录!", MB_OK);
        return 0;
    }
    // -1 (no current road yet) is a state a project may be in; any other
    // index outside the records is damage.
    if (project.m_iCurRoad < -1 || project.m_iCurRoad >= project.GetRoadCount()) {
        ShowBox(owner, L"非法道路记录数!", MB_OK);
        return 0;
    }
    if (project.m_iCurRoad >= 0 && project.GetCurRoadName() == name) return 1;

    int index = -1;
    for (int i = 0; i < project.GetRoadCount() && index < 0; ++i)
        if (project.m_Roads[i].m_SRoadName == name) index = i;
    if (index < 0) {
        ShowBox(owner, ClFormat(L"当前项目中没有名为[%s]的道路记录!", name.GetString()), MB_OK);
        return 0;
    }
    // The change counts only once the project file holds it.
    short previous = project.m_iCurRoad;
    project.SetCurrentRoad(index);
    if (!project.Save()) {
        project.m_iCurRoad = previous;
        return 0;
    }

    app.SendRoadName(name);

    if (notifyBrisko == 1) {
        if (HWND brisko = tkx_GetBriskoWnd()) {
            // Brisko looks the road up by the whole name: a text cut short
            // could name another road, so one that does not fit is not sent.
            CString text = ClFormat(L"SETCURPRJ:%s|SETCURROAD:%s", project.m_SName.GetString(), name.GetString());
            if (text.GetLength() < kRoadChangeChars) {
                std::wstring buffer = WideBuffer(text, kRoadChangeChars);
                SendCopyData(brisko, 0, buffer.data(), kRoadChangeChars * sizeof(wchar_t));
            }
        }
    }

    if (notifyAssist != 1) return 1;
    Tavix4::sRoadInfo info;
    if (!project.GetCurrentRoad(info)) return 0;
    if (HWND assist = tkx_GetTavixAssistWnd()) {
        AssistRoadRecord record = {};
        record.level = static_cast<int32_t>(info.m_RoadLevel);
        record.speed = static_cast<int32_t>(info.m_rDesignSpeed);
        record.landform = project.m_iLandform;
        record.climate = project.m_iClimate;
        CString cut = CutText(info.m_SRoadName, 49);
        wmemcpy(record.name, cut.GetString(), static_cast<size_t>(cut.GetLength()));
        SendCopyData(assist, kAssistRoadRecord, &record, sizeof(record));
    }
    return 1;
}

int tkx_ViewFile(CString path)
{
    if (path.IsEmpty()) return 0;
    CString program = ProgramPath(L"Brisko.exe");
    if (!FileExists(program)) {
        ClMessageBox(nullptr, ClFormat(L"TAVIX项目数据环境程序<%s>没有找到!", program.GetString()), kCaption,
                     MB_OK | MB_ICONERROR);
        return 0;
    }
    path.Replace(L' ', L'?');
    // The program is quoted (see tkx_StartBrisko), and a failed start is not reported as success.
    UINT started = tkx_WinExec(ClFormat(L"\"%s\" %s", program.GetString(), path.GetString()), SW_SHOWDEFAULT);
    return started > 31 ? 1 : 0;
}

// ---------------------------------------------------------------------------
// The design assistant

void tkx_StartTavixAssist()
{
    // Quoted for the same reason as in tkx_StartBrisko.
    tkx_WinExec(ClFormat(L"\"%s\"", ProgramPath(L"TavixAssist.exe").GetString()), SW_SHOWDEFAULT);
}

HWND tkx_GetTavixAssistWnd()
{
    return FindTopLevelWindow([](HWND window) {
        wchar_t title[512] = {};
        GetWindowTextW(window, title, 512);
        return wcscmp(title, kAssistTitle) == 0;
    });
}

void tkx_SendStringToAssist(CString text, long dwData)
{
    HWND assist = tkx_GetTavixAssistWnd();
    if (!assist || text.GetLength() >= kAssistBytes) return;
    std::string narrow = ClWideToMultiByte(text, text.GetLength(), CP_OEMCP);
    if (narrow.size() >= static_cast<size_t>(kAssistBytes)) return;
    char buffer[kAssistBytes] = {};
    memcpy(buffer, narrow.data(), narrow.size());
    SendCopyData(assist, static_cast<ULONG_PTR>(dwData), buffer, kAssistBytes);
}

void tkx_ExitAssist()
{
    if (HWND assist = tkx_GetTavixAssistWnd()) SendCopyData(assist, 0, nullptr, 0);
}

void tkx_SetTvStatusBarMeshName(const wchar_t* name) { TavixDevApp().SendMeshName(name ? name : L""); }
