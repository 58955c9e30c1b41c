// The CAD-host side of tkxApplicationInfo: release names, the host's
// installation entries in the registry, the running-process test and the
// default entries written for an installation on a given release.
#include "corvane/platform/ApplicationInfo.h"
#include <psapi.h>
#include <vector>

using namespace Tavix4;

namespace {

const wchar_t kCaption[] = L"TAVIX";

struct Release {
    const wchar_t* key;
    const wchar_t* name;
};

const Release kReleases[] = {
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R14.0", L"AutoCAD R14"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R15.0", L"AutoCAD 2002"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R16.0", L"AutoCAD 2004"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R16.1", L"AutoCAD 2005"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R16.2", L"AutoCAD 2006"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R17.0", L"AutoCAD 2007"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R17.1", L"AutoCAD 2008"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R17.2", L"AutoCAD 2009"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R18.0", L"AutoCAD 2010"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R18.1", L"AutoCAD 2011"},
    {L"SOFTWARE\\Autodesk\\AutoCAD\\R18.2", L"AutoCAD 2012"},
    {nullptr, L"AutoCAD 2013"},
    {nullptr, L"AutoCAD 2014"},
};
const int kLastRegistered = 10;

// Reads a string value for reading only: a missing key is never created.
bool ReadHostText(HKEY root, const CString& path, const wchar_t* name, CString& value, DWORD bytes)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    DWORD type = 0;
    LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    buffer[size / sizeof(wchar_t)] = 0;
    value = buffer.data();
    return true;
}

} // namespace

CString tkxApplicationInfo::AcadVerName(enAcadVer release)
{
    int index = static_cast<int>(release);
    if (index < 0 || index >= static_cast<int>(sizeof(kReleases) / sizeof(kReleases[0])))
        return L"AutoCAD 未知版本";
    return kReleases[index].name;
}

int tkxApplicationInfo::GetAcadVerFromReg(short release, CString& curVer, CString& acadFolder,
                                          CString& roamableRoot)
{
    if (release < 0 || release > kLastRegistered) return 0;
    const CString releaseKey = kReleases[release].key;
    const HKEY versionRoot = release <= 1 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;

    CString version;
    if (!ReadHostText(versionRoot, releaseKey, L"CurVer", version, 256)) return 0;
    curVer = version;

    CString installation;
    installation.Format(L"%s\\%s", releaseKey.GetString(), version.GetString());
    if (!ReadHostText(HKEY_LOCAL_MACHINE, installation, L"AcadLocation", acadFolder, 1024)) {
        ClMessageBox(nullptr, L"获取注册表中ACAD安装路径失败!", kCaption, MB_OK);
        return 0;
    }
    if (release >= 2) {
        if (!ReadHostText(HKEY_CURRENT_USER, installation, L"RoamableRootFolder", roamableRoot, 1024)) {
            ClMessageBox(nullptr, L"获取注册表中ACAD安装路径(RoamableRoot)失败!", kCaption, MB_OK);
            return 0;
        }
    } else {
        roamableRoot = acadFolder;
    }
    return 1;
}

CString tkxApplicationInfo::SearchACADPath()
{
    HMODULE host = GetModuleHandleW(L"acad.exe");
    if (!host) return CString();
    wchar_t path[MAX_PATH * 2] = {};
    if (!GetModuleFileNameW(host, path, MAX_PATH * 2)) return CString();
    CString folder(path);
    folder.MakeLower();
    int cut = folder.Find(L"\\acad.exe");
    return cut >= 0 ? folder.Left(cut) : folder;
}

int tkxApplicationInfo::AcadProcessExist()
{
    DWORD ids[1024];
    DWORD bytes = 0;
    if (!EnumProcesses(ids, sizeof(ids), &bytes)) return 0;
    const DWORD count = bytes / sizeof(DWORD);
    for (DWORD i = 0; i < count; ++i) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (!process) continue;
        HMODULE module = nullptr;
        DWORD needed = 0;
        wchar_t name[MAX_PATH] = {};
        bool isHost = false;
        if (EnumProcessModules(process, &module, sizeof(module), &needed) &&
            GetModuleBaseNameW(process, module, name, MAX_PATH)) {
            CString base(name);
            base.MakeLower();
            isHost = base.Find(L"acad.exe") >= 0;
        }
        CloseHandle(process);
        if (isHost) return 1;
    }
    return 0;
}

int tkxApplicationInfo::CreateRegDefault(const wchar_t* programFolder, enAcadVer release)
{
    m_AcadVer = release;
    SetFolders(programFolder);
    if (AcadProcessExist()) {
        ClMessageBox(nullptr, L"AutoCAD正在运行,无法设置Tavix软件的运行环境!\n\n退出AutoCAD后重试!", kCaption, MB_OK);
        return 0;
    }
    CString curVer, roamableRoot;
    if (!GetAcadVerFromReg(static_cast<short>(release), curVer, m_SAcadPathName, roamableRoot)) {
        ClMessageBox(nullptr, L"未安装指定版本的AutoCAD!", kCaption, MB_OK);
        return 0;
    }
    return CreateTavixReg(programFolder);
}
