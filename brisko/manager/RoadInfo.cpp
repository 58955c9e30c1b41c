#include "brisko/manager/RoadInfo.h"
#include "brisko/manager/ManagerShared.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "corvane/platform/PathDialog.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/project/TavixInterface.h"
#include <vector>

using namespace Tavix4;

namespace {

// The wait cursor while an operation works through a folder.
class WaitCursor
{
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

// The entries of a ";"-separated list, trimmed, empty ones left out; a
// last entry without its ";" counts too.
std::vector<CString> Entries(const CString& list)
{
    std::vector<CString> entries;
    int start = 0;
    while (start <= list.GetLength()) {
        int end = list.Find(L';', start);
        if (end < 0) end = list.GetLength();
        CString entry = list.Mid(start, end - start);
        entry.Trim();
        if (!entry.IsEmpty()) entries.push_back(entry);
        start = end + 1;
    }
    return entries;
}

bool Holds(const CString& list, const CString& name)
{
    for (const CString& entry : Entries(list))
        if (entry.CompareNoCase(name) == 0) return true;
    return false;
}

// A name fit for a user list: not empty, no folder, no separator.
bool Listable(const CString& name)
{
    return !name.IsEmpty() && name[name.GetLength() - 1] != L'\\' && name.Find(L';') < 0;
}

int AddEntry(CString& list, CString name)
{
    name.Trim();
    if (!Listable(name) || Holds(list, name)) return 0;
    list += name + L";";
    return 1;
}

int RemoveEntry(CString& list, CString name)
{
    name.Trim();
    if (!Listable(name) || !Holds(list, name)) return 0;
    CString kept;
    for (const CString& entry : Entries(list))
        if (entry.CompareNoCase(name) != 0) kept += entry + L";";
    list = kept;
    return 1;
}

int ListEntries(const CString& list, CStringArray& names)
{
    names.RemoveAll();
    for (const CString& entry : Entries(list)) {
        bool seen = false;
        for (INT_PTR i = 0; i < names.GetSize() && !seen; ++i) seen = names[i].CompareNoCase(entry) == 0;
        if (!seen) names.Add(entry);
    }
    return static_cast<int>(names.GetSize());
}

} // namespace

CRoadInfo::CRoadInfo()
    : m_SRoadName(L"M"), m_iRoadLevel(0), m_rDesignSpeed(120.0), m_SEndZH(L"0"), m_pBreakChain(&CurRoadBreakChain),
      m_pProfile(&CurRoadProfile)
{
}

CRoadInfo::CRoadInfo(const sRoadInfo& road)
    : m_SRoadName(road.m_SRoadName), m_iRoadLevel(static_cast<int>(road.m_RoadLevel)),
      m_rDesignSpeed(road.m_rDesignSpeed), m_SStartZH(road.m_SStartZH), m_SEndZH(road.m_SEndZH),
      m_SBreakChain(road.m_SBreakChain), m_SUserData(road.m_SText4), m_SUserDrawing(road.m_SText5),
      m_pBreakChain(&CurRoadBreakChain), m_pProfile(&CurRoadProfile)
{
}

CRoadInfo::~CRoadInfo() = default;

sRoadInfo CRoadInfo::ToRoadInfo() const
{
    sRoadInfo road;
    road.m_SRoadName = m_SRoadName;
    road.m_RoadLevel = static_cast<enRoadLevel>(m_iRoadLevel);
    road.m_rDesignSpeed = m_rDesignSpeed;
    road.m_SStartZH = m_SStartZH;
    road.m_SEndZH = m_SEndZH;
    road.m_SBreakChain = m_SBreakChain;
    road.m_SText4 = m_SUserData;
    road.m_SText5 = m_SUserDrawing;
    return road;
}

// ---------------------------------------------------------------------------
// Stations and break chain

int CRoadInfo::LoadStationsFromDMX(const wchar_t* path)
{
    if (!m_pProfile->LoadDMXFile(path)) return 0;
    const int count = m_pProfile->GetDMXCount();
    if (count < 1) return 0;
    m_SStartZH = m_pBreakChain->GetZHString(m_pProfile->GetDMXZH(0), -1, 1);
    m_SEndZH = m_pBreakChain->GetZHString(m_pProfile->GetDMXZH(count - 1), -1, 1);
    return 1;
}

CString CRoadInfo::ReadDLText(const wchar_t* path)
{
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText)) {
        ManagerBox(ClFormat(L"打开断链文件(*.DL)时出错!\n\n%s", path), MB_ICONINFORMATION);
        return CString();
    }
    // The line reader passes over empty lines and "//" comments; lines of
    // one character and "\\" comments are passed over here.
    CString text, line;
    int lineNo = 0;
    CStringArray fields;
    for (;;) {
        const int read = tkx_ReadNextStringST(&file, line, lineNo);
        if (read == 0) break;
        if (read > 0 && (line.GetLength() <= 1 || line.Left(2) == L"\\\\")) continue;
        if (read < 0 || tkx_DivideString(line, fields) < 0 || fields.GetSize() != 2) {
            ManagerBox(ClFormat(L"断链文件(%s)\n\n第%d行格式错误!", path, lineNo), MB_ICONERROR);
            return CString();
        }
        text += ClFormat(L"%s=%s, ", fields[0].GetString(), fields[1].GetString());
    }
    // The text goes to the road dialog as it is, for the user to mend; a
    // text the break-chain parser refuses is named here, with its reason.
    tkxBreakChain parsed;
    if (!parsed.GetDLFromString(text))
        ManagerBox(ClFormat(L"断链文件(%s)\n\n%s", path, tkx_GetLastError().GetString()), MB_ICONERROR);
    return text;
}

int CRoadInfo::SetBreakChainText(const CString& text)
{
    if (text.IsEmpty()) return 1;
    if (!m_pBreakChain->GetDLFromString(text)) return 0;
    m_pProfile->SetBreakChain(m_pBreakChain);
    return 1;
}

// ---------------------------------------------------------------------------
// User lists

int CRoadInfo::ContainsUserData(const wchar_t* name) const { return Holds(m_SUserData, CString(name).Trim()) ? 1 : 0; }

int CRoadInfo::ContainsUserDrawing(const wchar_t* name) const
{
    return Holds(m_SUserDrawing, CString(name).Trim()) ? 1 : 0;
}

int CRoadInfo::AddUserData(CString name) { return AddEntry(m_SUserData, name); }

int CRoadInfo::AddUserDrawing(CString name)
{
    m_SUserDrawing.Trim();
    return AddEntry(m_SUserDrawing, name);
}

int CRoadInfo::RemoveUserData(CString name) { return RemoveEntry(m_SUserData, name); }

int CRoadInfo::RemoveUserDrawing(CString name) { return RemoveEntry(m_SUserDrawing, name); }

int CRoadInfo::GetUserDataList(CStringArray& names) const { return ListEntries(m_SUserData, names); }

int CRoadInfo::GetUserDrawingList(CStringArray& names) const { return ListEntries(m_SUserDrawing, names); }

// ---------------------------------------------------------------------------
// Files of the road

int CRoadInfo::CopyRoadFiles(const CString& sourceFolder, const CString& sourceTitle, const CString& projectFolder)
{
    m_pBreakChain->Reset();
    m_SRoadName.Trim();
    if (m_SRoadName.IsEmpty()) return 0;
    const CString target = ClFormat(L"%s\\%s", projectFolder.GetString(), m_SRoadName.GetString());
    if (tkxPathDialog::MakeSurePathExists(target) != 0) return 0;

    WaitCursor wait;
    // The road's files are copied as one set: every file or, when any one
    // cannot be, none (the road's files belong together).
    std::vector<CString> sources, copies;
    std::vector<const wchar_t*> lines;
    bool tooLong = false;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(ClFormat(L"%s\\*.*", sourceFolder.GetString()), &found);
    if (find == INVALID_HANDLE_VALUE) return 1;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const CString name = found.cFileName;
        const CString source = ClFormat(L"%s\\%s", sourceFolder.GetString(), name.GetString());
        const int dot = name.ReverseFind(L'.');
        const CString title = dot < 0 ? name : name.Left(dot);
        CString copy;
        const wchar_t* done;
        if (title.CompareNoCase(sourceTitle) == 0) {
            CString ext = dot < 0 ? CString() : name.Mid(dot);
            ext.MakeUpper();
            copy = ClFormat(L"%s\\%s%s", target.GetString(), m_SRoadName.GetString(), ext.GetString());
            done = L"导入并改名文件：%s->%s";
        } else {
            copy = ClFormat(L"%s\\%s", target.GetString(), name.GetString());
            done = L"导入文件：%s->%s";
        }
        if (copy.GetLength() > kMaxFilePathChars || source.GetLength() > kMaxFilePathChars) {
            PrintToMainInfoWindow(L"导入文件失败：%s",
                                  PathTooLongText(copy.GetLength() > kMaxFilePathChars ? copy : source).GetString());
            tooLong = true;
            continue;
        }
        sources.push_back(source);
        copies.push_back(copy);
        lines.push_back(done);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);

    if (tooLong) {
        PrintToMainInfoWindow(L"导入文件失败：其他文件均未导入, 道路文件夹%s中的文件保持原样!", target.GetString());
        return 0;
    }
    int failed = -1;
    tkxSetLeftovers left;
    const bool copied = copies.empty() || tkx_CopySetReplacing(sources, copies, &failed, &left);
    if (!copied) {
        // One line of the log, naming the file that failed: the reasons
        // follow on it.
        const size_t at = failed >= 0 && static_cast<size_t>(failed) < copies.size() ? static_cast<size_t>(failed) : 0;
        CString why = tkx_SetFailureText(copies[at], nullptr, copies.size(), left);
        why.Replace(L"\n\n", L" ");
        PrintToMainInfoWindow(L"导入文件失败：%s->%s%s%s", sources[at].GetString(), copies[at].GetString(),
                              why.IsEmpty() ? L"" : L" ", why.GetString());
    }
    for (const CString& line : tkx_BackupsKeptTexts(left)) PrintToMainInfoWindow(L"%s", line.GetString());
    if (!copied) return 0;
    for (size_t i = 0; i < copies.size(); ++i)
        PrintToMainInfoWindow(lines[i], sources[i].GetString(), copies[i].GetString());
    return 1;
}

int CRoadInfo::CreateDataFile(const CString& path)
{
    CString ext = path.Mid(path.ReverseFind(L'.') + 1);
    if (path.ReverseFind(L'.') < path.ReverseFind(L'\\')) ext.Empty();
    ext.MakeUpper();
    CString typeName, description;
    for (const sFileStyle& style : theApp.m_FileStyles) {
        if (CString(style.m_SExt).MakeUpper() == ext) {
            typeName = style.m_STypeName;
            description = style.m_SComment;
            break;
        }
    }

    // Written beside the target first: a write that fails leaves no half
    // file behind.
    if (path.GetLength() > kMaxFilePathChars) {
        ManagerBox(PathTooLongText(path), MB_ICONERROR);
        return 0;
    }
    const CString temporary = tkx_TempFileBeside(path);
    CStdioFile file;
    if (temporary.IsEmpty() || !file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeText)) {
        if (!temporary.IsEmpty()) ::DeleteFileW(temporary);
        ManagerBox(tkx_SaveFailureText(path, ClFormat(L"准备写%s(%s)时出错!", typeName.GetString(), path.GetString())),
                   MB_ICONERROR);
        return 0;
    }
    bool written = true;
    try {
        if (theApp.m_bAutoComment == 1) file.WriteString(description);
        file.WriteString(L"\n");
        CString upper = path;
        if (upper.MakeUpper().Find(L".ZSJ") >= 0) WriteRoadFileList(file);
        file.Close();
    } catch (CException* e) {
        e->Delete();
        file.Abort();
        written = false;
    }
    if (written && tkx_ReplaceByTemporary(temporary, path)) return 1;
    ::DeleteFileW(temporary);
    ManagerBox(tkx_SaveFailureText(path, L"创建数据文件失败!"), MB_ICONERROR);
    return 0;
}

void CRoadInfo::WriteRoadFileList(CStdioFile& file)
{
    file.WriteString(m_SRoadName + L"\n");
    const CString prefix = ClFormat(L"%s\\%s.", theApp.m_CurProject.GetWorkingDirectory().GetString(),
                                    m_SRoadName.GetString());
    static const wchar_t* const kExts[] = {L"SQX", L"DMX", L"DL", L"KZD", L"PAR", L"HDX", L"HDM", L"QL", L"BZ", L"ZSJ"};
    for (const wchar_t* ext : kExts) file.WriteString(prefix + ext + L"\n");
}
