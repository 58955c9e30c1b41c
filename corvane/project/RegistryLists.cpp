// The registered lists of projects and slope-template libraries, the current
// paths read straight from the registry, Brisko's window rectangle and the
// installation folder.
#include "corvane/project/RegistryLists.h"
#include "corvane/base/CopyData.h"
#include "corvane/base/LastError.h"
#include "corvane/project/ProjectFolders.h"
#include "corvane/project/TavixDevApp.h"
#include <algorithm>
#include <vector>

using namespace projectstore;

namespace {

const wchar_t kBriskoKey[] = L"SOFTWARE\\TavixSuite\\Brisko";
const wchar_t kPrjKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\PrjInfo";
const wchar_t kTBKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\TempBaseInfo";
const wchar_t kSettingsKey[] = L"SOFTWARE\\TavixSuite\\Brisko\\Settings";
const wchar_t kSuiteKey[] = L"SOFTWARE\\TavixSuite\\TAVIX 3";

// One open registry key, closed with the object.
class Key
{
public:
    Key() = default;
    ~Key() { Close(); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    bool Open(HKEY root, const wchar_t* subKey, REGSAM access)
    {
        Close();
        return RegOpenKeyExW(root, subKey, 0, access, &m_key) == ERROR_SUCCESS;
    }
    void Close()
    {
        if (m_key) RegCloseKey(m_key);
        m_key = nullptr;
    }
    // A string value of any length; false when it is missing or not a text.
    bool ReadText(const wchar_t* name, CString& out) const
    {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(m_key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
        DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        if (RegQueryValueExW(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
            ERROR_SUCCESS)
            return false;
        buffer[std::min<size_t>(size / sizeof(wchar_t), buffer.size() - 1)] = 0;
        out = buffer.data();
        return true;
    }
    bool ReadDword(const wchar_t* name, DWORD& value) const
    {
        DWORD bytes = sizeof(value);
        DWORD type = 0;
        return RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) ==
                   ERROR_SUCCESS &&
               bytes == sizeof(value);
    }
    bool WriteText(const wchar_t* name, const wchar_t* text) const
    {
        const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
        return RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) == ERROR_SUCCESS;
    }
    bool WriteDword(const wchar_t* name, DWORD value) const
    {
        return RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
               ERROR_SUCCESS;
    }

private:
    HKEY m_key = nullptr;
};

// What distinguishes the two lists.
struct ListKind {
    const wchar_t* key;
    const wchar_t* currentValue;
    const wchar_t* numberValue;
    const wchar_t* nameValue;   // "%d" format
    const wchar_t* pathValue;
    bool project;

    CString FileOf(const CString& name, const CString& path) const
    {
        return project ? ClFormat(L"%s\\%s.%s", path.GetString(), name.GetString(), L"EPJ")
                       : ClFormat(L"%s\\%s.TPB", path.GetString(), name.GetString());
    }
};

const ListKind kProjects = {kPrjKey, L"CurrentPrj", L"PrjNumber", L"PrjName%d", L"PrjPath%d", true};
const ListKind kLibraries = {kTBKey, L"CurrentTempBase", L"TempBaseNumber", L"TBName%d", L"TBPath%d", false};

// The registry index that each in-memory entry came from.
struct ReadResult {
    bool ok = false;
    DWORD current = kNoCurrentEntry;
    std::vector<int> sources;
};

ReadResult ReadList(const ListKind& kind, CStringArray& names, CStringArray& paths, HWND owner)
{
    ReadResult result;
    names.RemoveAll();
    paths.RemoveAll();

    Key key;
    if (!key.Open(HKEY_CURRENT_USER, kind.key, KEY_READ | KEY_WRITE)) return result;
    if (!key.ReadDword(kind.currentValue, result.current)) return result;

    for (int k = 0;; ++k) {
        CString nameValue = ClFormat(kind.nameValue, k);
        CString pathValue = ClFormat(kind.pathValue, k);
        CString name, path;
        if (!key.ReadText(nameValue, name)) break;
        if (name.Trim().IsEmpty()) continue;
        if (!key.ReadText(pathValue, path)) break;
        if (path.Trim().IsEmpty()) continue;

        if (!FileExists(kind.FileOf(name, path))) {
            CString message =
                kind.project
                    ? ClFormat(L"%s的项目文件被移动或删除。\n\n文件%s.%s应在%s目录中!", name.GetString(), name.GetString(),
                               L"EPJ", path.GetString())
                    : ClFormat(L"%s的模板库文件被移动或删除。\n\n文件%s.TPB应在%s目录中!", name.GetString(),
                               name.GetString(), path.GetString());
            ShowBox(owner, message, MB_OK | MB_ICONINFORMATION);
            // Blanked, so that the next read skips the entry silently.
            if (!key.WriteText(nameValue, L"") || !key.WriteText(pathValue, L"")) return result;
            continue;
        }
        bool known = false;
        for (const CString& kept : names) {
            if (kept == name) {
                known = true;
                break;
            }
        }
        if (known) continue;
        names.Add(name);
        paths.Add(path);
        result.sources.push_back(k);
    }
    result.ok = true;
    return result;
}

// The in-memory index of the registered current entry: the entry read from
// that registry index, or -1 when it was skipped, is "none" or lies beyond
// the list.
int MapCurrent(const ReadResult& read)
{
    for (size_t i = 0; i < read.sources.size(); ++i)
        if (static_cast<DWORD>(read.sources[i]) == read.current) return static_cast<int>(i);
    return -1;
}

// Writes the list.  The registry's current entry is the one written for the
// in-memory current entry (kNoCurrentEntry when that one was not written).
// Neither index falls back to the first entry after a skip: that would make
// another project current, in memory now and at the next start.
int WriteList(const ListKind& kind, const CStringArray& names, const CStringArray& paths, int& current,
              HWND owner)
{
    auto fail = [&](const wchar_t* text) {
        if (kind.project) tkx_SetLastError(text);
        ShowBox(owner, text, MB_OK);
        return 0;
    };

    Key key;
    if (!key.Open(HKEY_CURRENT_USER, kind.key, KEY_READ | KEY_WRITE)) {
        HKEY created = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kind.key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr) != ERROR_SUCCESS)
            return fail(kind.project ? L"创建注册表[项目信息]失败!" : L"创建注册表[模板库信息]失败!");
        RegCloseKey(created);
        if (!key.Open(HKEY_CURRENT_USER, kind.key, KEY_READ | KEY_WRITE))
            return fail(kind.project ? L"打开注册表[项目信息]失败!" : L"打开注册表[模板库信息]失败!");
    }

    const INT_PTR count = std::min(names.GetSize(), paths.GetSize());
    DWORD written = 0;
    DWORD registryCurrent = kNoCurrentEntry;
    for (INT_PTR j = 0; j < count; ++j) {
        const CString& name = names[j];
        const CString& path = paths[j];
        if (!FileExists(kind.FileOf(name, path))) {
            if (kind.project) {
                CString message = ClFormat(L"项目文件%s.%s被移动或删除。\n\n文件%s.%s应在%s目录中!", name.GetString(), L"EPJ",
                                           name.GetString(), L"EPJ", path.GetString());
                tkx_SetLastError(message);
                ShowBox(owner, message, MB_OK | MB_ICONINFORMATION);
            } else {
                ShowBox(owner,
                        ClFormat(L"%s的模板库文件%s.TPB被移动或删除。\n\n文件%s.TPB应在%s目录中!", name.GetString(),
                                 name.GetString(), name.GetString(), path.GetString()),
                        MB_OK | MB_ICONINFORMATION);
            }
            continue;
        }
        if (!key.WriteText(ClFormat(kind.nameValue, static_cast<int>(written)), name) ||
            !key.WriteText(ClFormat(kind.pathValue, static_cast<int>(written)), path))
            return kind.project ? fail(L"写注册表项目失败!") : 0;
        if (j == current) registryCurrent = written;
        ++written;
    }
    if (count == 0) current = -1;

    if (!key.WriteDword(kind.numberValue, written)) return kind.project ? fail(L"写注册表项目[DWROD1]失败!") : 0;
    if (!key.WriteDword(kind.currentValue, registryCurrent))
        return kind.project ? fail(L"写注册表项目[DWROD2]失败!") : 0;
    return 1;
}

// "ChangePRJ:<path>;<name>" to the sheet-set windows of the running CAD hosts.
void NotifySheetSetWindows(const CString& path, const CString& name)
{
    wchar_t buffer[2048];
    CopyMessageText(buffer, 2048, ClFormat(L"ChangePRJ:%s;%s", path.GetString(), name.GetString()));
    COPYDATASTRUCT data = {};
    data.dwData = 0;
    data.cbData = sizeof(buffer);
    data.lpData = buffer;

    HWND hosts[64];
    int count = CTavixDevApp::FindCadMainWindows(hosts, 64);
    HWND sender = TavixMainWindow();
    for (int i = 0; i < count; ++i) {
        for (HWND child = GetWindow(hosts[i], GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (WindowTitle(child) != L"Tavix 图纸集窗口") continue;
            HWND first = GetWindow(child, GW_CHILD);
            if (first) SendCopyDataMessage(first, reinterpret_cast<WPARAM>(sender), data);
        }
    }
}

// The registry's current file of a list, without touching the list.
int CurrentPath(const ListKind& kind, CString& out)
{
    out.Empty();
    Key key;
    if (!key.Open(HKEY_CURRENT_USER, kind.key, KEY_READ)) return 0;
    DWORD raw = 0;
    // Read as a 16-bit signed value, as stored by every writer.
    short current = key.ReadDword(kind.currentValue, raw) ? static_cast<short>(raw & 0xFFFF) : -1;

    for (int k = 0;; ++k) {
        CString name, path;
        if (!key.ReadText(ClFormat(kind.nameValue, k), name)) break;
        if (name.Trim().IsEmpty()) continue;
        if (!key.ReadText(ClFormat(kind.pathValue, k), path)) break;
        if (path.Trim().IsEmpty()) continue;
        CString file = kind.FileOf(name, path);
        if (!FileExists(file)) continue;
        // Only the registered current entry itself counts: "none" and an
        // entry that is gone do not turn into another project.
        if (k == current) {
            out = file;
            return 1;
        }
    }
    return 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Lists of an application object

int ReadProjectList(CTavixDevApp& app, HWND owner)
{
    app.m_iCurPrj = -1;
    ReadResult read = ReadList(kProjects, app.m_SPrjNames, app.m_SPrjPaths, owner);
    if (!read.ok) return 0;
    app.m_iCurPrj = MapCurrent(read);

    // The current project is read into a fresh project: nothing of the one
    // held before survives into it.
    tkxProject current;
    if (app.m_iCurPrj >= 0) {
        current.m_SName = app.m_SPrjNames[app.m_iCurPrj];
        current.m_SPath = app.m_SPrjPaths[app.m_iCurPrj];
        current.Load();
    }
    app.m_CurProject = current;
    return 1;
}

int WriteProjectList(CTavixDevApp& app, HWND owner)
{
    if (!WriteList(kProjects, app.m_SPrjNames, app.m_SPrjPaths, app.m_iCurPrj, owner)) return 0;
    NotifySheetSetWindows(app.m_CurProject.m_SPath, app.m_CurProject.m_SName);
    return 1;
}

int ReadTemplateBaseList(CTavixDevApp& app, HWND owner)
{
    app.m_iCurTB = -1;
    ReadResult read = ReadList(kLibraries, app.m_STBNames, app.m_STBPaths, owner);
    if (!read.ok) return 0;
    app.m_iCurTB = MapCurrent(read);

    tkxTemplateBase current;
    if (app.m_iCurTB >= 0) {
        current.m_SName = app.m_STBNames[app.m_iCurTB];
        current.m_SPath = app.m_STBPaths[app.m_iCurTB];
        current.Load();
    }
    app.m_CurTBase = current;
    return 1;
}

int WriteTemplateBaseList(CTavixDevApp& app, HWND owner)
{
    return WriteList(kLibraries, app.m_STBNames, app.m_STBPaths, app.m_iCurTB, owner);
}

// ---------------------------------------------------------------------------
// Exported functions

int tkx_GetProjectInfoFromReg(HWND owner) { return ReadProjectList(TavixDevApp(), owner); }

int tkx_SetProjectInfoToReg(HWND owner) { return WriteProjectList(TavixDevApp(), owner); }

void tkx_RemoveProjectInfoFromReg()
{
    Key key;
    if (!key.Open(HKEY_CURRENT_USER, kBriskoKey, KEY_ALL_ACCESS)) return;
    RegDeleteKeyW(HKEY_CURRENT_USER, kPrjKey);
}

int tkx_GetTemplateBaseInfoFromReg(HWND owner) { return ReadTemplateBaseList(TavixDevApp(), owner); }

int tkx_SetTemplateBaseInfoToReg(HWND owner) { return WriteTemplateBaseList(TavixDevApp(), owner); }

void tkx_RemoveTemplateBaseInfoFromReg()
{
    Key key;
    if (!key.Open(HKEY_CURRENT_USER, kBriskoKey, KEY_ALL_ACCESS)) return;
    RegDeleteKeyW(HKEY_CURRENT_USER, kTBKey);
}

int tkx_GetCurPrjPath(CString& path) { return CurrentPath(kProjects, path); }

int tkx_GetCurTBPath(CString& path) { return CurrentPath(kLibraries, path); }

void tkx_SetREG_BriskoRect(CRect rect)
{
    Key key;
    if (!key.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_READ | KEY_WRITE)) return;
    if (!key.WriteDword(L"MainWndLEFT", static_cast<DWORD>(rect.left))) return;
    if (!key.WriteDword(L"MainWndRIGHT", static_cast<DWORD>(rect.right))) return;
    if (!key.WriteDword(L"MainWndTOP", static_cast<DWORD>(rect.top))) return;
    key.WriteDword(L"MainWndBOTTOM", static_cast<DWORD>(rect.bottom));
}

int tkx_GetSoftwarePath(CString& path)
{
    // Read access only: the machine's key is not writable for every user.
    Key key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kSuiteKey, KEY_READ)) {
        tkx_SetLastError(L"注册表中未搜索到TAVIX的安装信息!");
        return 0;
    }
    CString value;
    if (!key.ReadText(L"PathName", value)) {
        tkx_SetLastError(L"无法获取注册表中TAVIX的安装路径!");
        return 0;
    }
    if (value.GetLength() > 511) value = value.Left(511);
    path = value;
    return 1;
}
