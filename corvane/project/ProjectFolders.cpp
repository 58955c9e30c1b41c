// Project folders, road folders and data-file names, and the file helpers of
// the project store.
#include "corvane/project/ProjectFolders.h"
#include "corvane/base/LastError.h"
#include "corvane/project/Project.h"

namespace projectstore {

const wchar_t* const kSheetSetFolders[3] = {L"沿线调查", L"地形参照", L"图纸集"};
const wchar_t kCaption[] = L"TAVIX";

bool FolderExists(const wchar_t* folder)
{
    if (!folder || !*folder) return false;
    DWORD attributes = GetFileAttributesW(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const wchar_t* file)
{
    if (!file || !*file) return false;
    DWORD attributes = GetFileAttributesW(file);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const wchar_t* folder)
{
    if (FolderExists(folder)) return true;
    return folder && *folder && CreateDirectoryW(folder, nullptr) != 0;
}

bool WriteReplacing(const CString& file, const std::function<void(CFile&)>& write)
{
    const CString temporary = tkx_TempFileBeside(file);
    if (temporary.IsEmpty()) return false;
    CFile out;
    if (!out.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
        DeleteFileW(temporary);
        return false;
    }
    bool written = true;
    try {
        write(out);
        out.Close();
    } catch (CException* e) {
        e->Delete();
        written = false;
        out.Abort();
    }
    if (written) return tkx_ReplaceByTemporary(temporary, file);
    DeleteFileW(temporary);
    return false;
}

int ShowBox(HWND owner, const wchar_t* text, UINT type) { return ClMessageBox(owner, text, kCaption, type); }

} // namespace projectstore

using namespace projectstore;

namespace {

const wchar_t kNoFolderRights[] = L"无法创建目录[%s]，\n\n请确定当前用户有目录操作的权限!";

bool IsDeviceName(CString base)
{
    // "CON", "NUL.txt" and the like name devices, whatever follows the dot.
    int dot = base.Find(L'.');
    if (dot >= 0) base = base.Left(dot);
    base.TrimRight();
    base.MakeUpper();
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices)
        if (base == device) return true;
    if (base.GetLength() == 4 && (base.Left(3) == L"COM" || base.Left(3) == L"LPT") && base[3] >= L'1' &&
        base[3] <= L'9')
        return true;
    return false;
}

} // namespace

CString tkxProject::CheckRoadName(const wchar_t* name)
{
    CString road(name ? name : L"");
    CString reason;
    if (road.IsEmpty() || CString(road).Trim().IsEmpty()) {
        reason = L"名称为空";
    } else if (road.FindOneOf(L"<>:\"/\\|?*") >= 0) {
        reason = ClFormat(L"包含非法字符%c", road[road.FindOneOf(L"<>:\"/\\|?*")]);
    } else if (road.GetLength() > 200) {
        reason = L"名称过长";
    } else if (road[road.GetLength() - 1] == L'.' || road[road.GetLength() - 1] == L' ') {
        reason = L"不能以点或空格结尾";
    } else if (IsDeviceName(road)) {
        reason = L"是系统设备名";
    } else {
        for (int i = 0; i < road.GetLength(); ++i) {
            if (road[i] < 32) {
                reason = L"包含控制字符";
                break;
            }
        }
    }
    if (reason.IsEmpty()) return CString();
    return ClFormat(L"道路名称<%s>不能用作文件夹和文件名: %s!", road.GetString(), reason.GetString());
}

int tkxProject::VerifySheetSetDirectory(const wchar_t* folder)
{
    CString base(folder ? folder : L"");
    for (const wchar_t* sub : kSheetSetFolders) {
        CString path = ClFormat(L"%s\\%s", base.GetString(), sub);
        if (FolderExists(path)) continue;
        if (!CreateDirectoryW(path, nullptr) && !FolderExists(path)) {
            tkx_SetLastError(ClFormat(kNoFolderRights, path.GetString()));
            return 0;
        }
    }
    return 1;
}

CString tkxProject::GetWorkingDirectory()
{
    if (!IsValidRoadIndex(m_iCurRoad)) return m_SPath;
    return ClFormat(L"%s\\%s", m_SPath.GetString(), m_Roads[m_iCurRoad].m_SRoadName.GetString());
}

CString tkxProject::GetRoadDirectory(int i)
{
    if (!IsValidRoadIndex(i)) return m_SPath;
    return ClFormat(L"%s\\%s", m_SPath.GetString(), m_Roads[i].m_SRoadName.GetString());
}

CString tkxProject::GetCurRoadPath() { return GetRoadDirectory(m_iCurRoad); }

int tkxProject::VerifyRoadDirectory(int i, HWND owner)
{
    CString folder = GetRoadDirectory(i);
    if (IsValidRoadIndex(i)) {
        // A road name that cannot be a folder name (or would leave the
        // project folder) gets no folder.
        CString problem = CheckRoadName(m_Roads[i].m_SRoadName);
        if (!problem.IsEmpty()) {
            ShowBox(owner, problem, MB_OK | MB_ICONERROR);
            return 0;
        }
    }
    if (FolderExists(folder)) return 1;

    ShowBox(owner,
            ClFormat(L"道路<%s>的路径<%s>不存在, \n\n程序将自动创建该道路文件夹!", GetRoadName(i).GetString(),
                     folder.GetString()),
            MB_OK | MB_ICONINFORMATION);
    if (CreateDirectoryW(folder, nullptr) || FolderExists(folder)) return 1;

    // The road record stays: dropping it here would lose it for good at the
    // next save, for a problem of the file system.
    ShowBox(owner, ClFormat(kNoFolderRights, folder.GetString()), MB_OK | MB_ICONERROR);
    return 0;
}

int tkxProject::GetFileName(const wchar_t* ext, CString& out)
{
    if (!IsValidRoadIndex(m_iCurRoad)) return 0;
    const CString& road = m_Roads[m_iCurRoad].m_SRoadName;
    // A name read from an older project file may still leave the road folder.
    CString problem = CheckRoadName(road);
    if (!problem.IsEmpty()) {
        tkx_SetLastError(problem);
        return 0;
    }
    out.Format(L"%s\\%s\\%s.%s", m_SPath.GetString(), road.GetString(), road.GetString(), ext ? ext : L"");
    return 1;
}

int tkxProject::GetFileName(int, CString&) { return IsValidRoadIndex(m_iCurRoad) ? 1 : 0; }
