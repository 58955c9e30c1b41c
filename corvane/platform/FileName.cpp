#include "corvane/platform/FileName.h"
#include <shlobj.h>
#include <vector>

namespace {

bool IsSlash(wchar_t ch) { return ch == L'\\' || ch == L'/'; }

// Local last-write time of a file or folder; false when it cannot be read.
bool LocalWriteTime(const CString& path, SYSTEMTIME& local, FILETIME* utc = nullptr)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.IsEmpty() || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return false;
    FILETIME localFt;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &localFt)) return false;
    if (!FileTimeToSystemTime(&localFt, &local)) return false;
    if (utc) *utc = data.ftLastWriteTime;
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// tkxFileName

tkxFileName::tkxFileName(const wchar_t* path) { SetFileName(path); }

tkxFileName::tkxFileName(const tkxFileName& other)
    : m_SPath(other.m_SPath), m_SDrive(other.m_SDrive), m_SFolder(other.m_SFolder),
      m_STitle(other.m_STitle), m_SExt(other.m_SExt)
{
}

tkxFileName& tkxFileName::operator=(const tkxFileName& other)
{
    m_SPath = other.m_SPath;
    m_SDrive = other.m_SDrive;
    m_SFolder = other.m_SFolder;
    m_STitle = other.m_STitle;
    m_SExt = other.m_SExt;
    return *this;
}

tkxFileName::~tkxFileName() = default;

// Splits like the run-time's path splitter: a drive is two characters ending
// in ':'; the folder runs to the last slash or backslash; the extension
// starts at the last dot of what remains.
void tkxFileName::SetFileName(const wchar_t* path)
{
    m_SPath = path ? path : L"";
    m_SDrive.Empty();
    m_SFolder.Empty();
    m_STitle.Empty();
    m_SExt.Empty();

    const std::wstring& p = m_SPath.str();
    size_t start = 0;
    if (p.size() >= 2 && p[1] == L':') {
        m_SDrive = CString(p.c_str(), 2);
        start = 2;
    }
    size_t lastSlash = std::wstring::npos;
    for (size_t i = start; i < p.size(); ++i)
        if (IsSlash(p[i])) lastSlash = i;
    size_t nameStart = start;
    if (lastSlash != std::wstring::npos) {
        m_SFolder = CString(p.c_str() + start, static_cast<int>(lastSlash + 1 - start));
        nameStart = lastSlash + 1;
    }
    size_t dot = p.rfind(L'.');
    if (dot != std::wstring::npos && dot >= nameStart) {
        m_STitle = CString(p.c_str() + nameStart, static_cast<int>(dot - nameStart));
        m_SExt = CString(p.c_str() + dot, static_cast<int>(p.size() - dot));
    } else {
        m_STitle = CString(p.c_str() + nameStart, static_cast<int>(p.size() - nameStart));
    }
}

CString tkxFileName::GetRoot() const { return m_SDrive + m_SFolder; }

CString tkxFileName::GetPath() const
{
    CString root = GetRoot();
    root.TrimRight(L'\\');
    return root;
}

CString tkxFileName::GetFileTitle() const { return m_STitle; }

CString tkxFileName::GetFileName() const { return m_STitle + m_SExt; }

CString tkxFileName::GetExt() const
{
    CString ext = m_SExt;
    ext.MakeLower();
    return ext;
}

CString tkxFileName::GetDescription() const
{
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(m_SPath, 0, &info, sizeof(info), SHGFI_TYPENAME)) return CString();
    return CString(info.szTypeName);
}

// Attributes rather than a directory search: a search would take wildcards
// in the name as patterns and report a match for a file that is not there.
bool tkxFileName::Exist() const
{
    CString path = m_SPath;
    int len = path.GetLength();
    if (len > 0 && path[len - 1] == L'\\') path = path.Left(len - 1);
    if (path.IsEmpty() || path.FindOneOf(L"*?") >= 0) return false;
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool tkxFileName::Exist(const wchar_t* path) { return tkxFileName(path).Exist(); }

CString tkxFileName::IsValidate() const
{
    if (m_SPath.IsEmpty()) return L"文件名为空!";
    if (m_SPath.GetLength() > 260) return L"文件名长度大于260个字符!";
    static const wchar_t kIllegal[] = L"<>:\"/\\|?*,";
    for (const wchar_t* c = kIllegal; *c; ++c) {
        if (m_STitle.Find(*c) >= 0) {
            CString msg = L"包含非法字符";
            msg += *c;
            msg += L' ';
            return msg;
        }
    }
    return CString();
}

CString tkxFileName::GetLastWriteTime() const
{
    SYSTEMTIME st;
    if (!LocalWriteTime(m_SPath, st)) return CString();
    CString text;
    text.Format(L"%d年%d月%d日 %d:%d:%d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                st.wSecond);
    return text;
}

int tkxFileName::GetLastWriteTime(CTime& time) const
{
    SYSTEMTIME st;
    FILETIME utc;
    if (!LocalWriteTime(m_SPath, st, &utc)) return 0;
    try {
        time = CTime(utc);
    } catch (CException* e) {
        e->Delete();
        return 0;
    }
    return 1;
}

void tkxFileName::GetFileSize(unsigned long& high, unsigned long& low) const
{
    high = low = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (m_SPath.IsEmpty() || !GetFileAttributesExW(m_SPath, GetFileExInfoStandard, &data)) return;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    high = data.nFileSizeHigh;
    low = data.nFileSizeLow;
}

CString tkxFileName::GetVersion(const wchar_t* file)
{
    if (!Exist(file)) return L"文件不存在";
    CString error;
    error.Format(L"\n获取程序[%s]版本错误!", file);

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(file, &handle);
    if (size == 0) return error;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file, 0, size, block.data())) return error;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\ProductVersion", &value, &length) ||
        !value || length == 0)
        return error;
    CString version(static_cast<const wchar_t*>(value));
    if (version.IsEmpty()) return error;
    version.Replace(L',', L'.');
    return L"R" + version;
}

// ---------------------------------------------------------------------------
// tkxDragDropFiles

tkxDragDropFiles::tkxDragDropFiles(HDROP drop) : m_nCount(0), m_nIndex(0), m_hDrop(drop)
{
    if (m_hDrop) m_nCount = DragQueryFileW(m_hDrop, 0xFFFFFFFF, nullptr, 0);
}

tkxDragDropFiles::~tkxDragDropFiles()
{
    if (m_hDrop) DragFinish(m_hDrop);
}

BYTE tkxDragDropFiles::operator()() const
{
    return (m_hDrop && m_nIndex >= 0 && static_cast<UINT>(m_nIndex) < m_nCount) ? 1 : 0;
}

BYTE tkxDragDropFiles::IsEmpty() const { return (!m_hDrop || m_nCount == 0) ? 1 : 0; }

void tkxDragDropFiles::Clear()
{
    m_hDrop = nullptr;
    m_nCount = 0;
}

CString tkxDragDropFiles::QueryFile(UINT index) const
{
    if (!m_hDrop || index >= m_nCount) return CString();
    UINT length = DragQueryFileW(m_hDrop, index, nullptr, 0);
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DragQueryFileW(m_hDrop, index, buffer.data(), length + 1);
    return CString(buffer.data());
}

CString& tkxDragDropFiles::sFirstFile(CString& file)
{
    m_nIndex = 1;
    file = QueryFile(0);
    return file;
}

CString& tkxDragDropFiles::sNextFile(CString& file)
{
    if (m_nIndex >= 0 && static_cast<UINT>(m_nIndex) < m_nCount) {
        file = QueryFile(static_cast<UINT>(m_nIndex));
        ++m_nIndex;
    } else {
        file.Empty();
    }
    return file;
}

CString& tkxDragDropFiles::sCurrFile(CString& file)
{
    if (m_nIndex == 0) m_nIndex = 1;
    if (m_nIndex > 0 && static_cast<UINT>(m_nIndex) <= m_nCount)
        file = QueryFile(static_cast<UINT>(m_nIndex - 1));
    else
        file.Empty();
    return file;
}

// ---------------------------------------------------------------------------
// Folder search

namespace {

void SearchFolder(const CString& folder, const CString& wanted, CStringArray& files)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(folder + L"\\*.*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        CString name(found.cFileName);
        if (name == L"." || name == L"..") continue;
        CString full = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link back up the tree would make the walk endless.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                SearchFolder(full, wanted, files);
            continue;
        }
        CString ext = tkxFileName(full).GetExt();
        ext.MakeUpper();
        if (ext == wanted) files.Add(full);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

void tkx_SearchFileNames(const wchar_t* folder, const wchar_t* ext, CStringArray& files)
{
    CString root = folder ? folder : L"";
    // A trailing separator would double the backslash in every path found.
    root.TrimRight(L"\\/");
    CString wanted = ext ? ext : L"";
    if (!wanted.IsEmpty() && wanted[0] != L'.') wanted = L"." + wanted;
    wanted.MakeUpper();
    SearchFolder(root, wanted, files);
}
