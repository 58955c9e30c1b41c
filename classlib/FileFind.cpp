#include "FileFind.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close()
{
    if (m_search != INVALID_HANDLE_VALUE) ::FindClose(m_search);
    m_search = INVALID_HANDLE_VALUE;
    m_found = m_more = FALSE;
    m_root.Empty();
}

BOOL CFileFind::FindFile(const wchar_t* name, DWORD)
{
    Close();
    CString pattern(name && *name ? name : L"*.*");
    m_search = ::FindFirstFileW(pattern, &m_next);
    if (m_search == INVALID_HANDLE_VALUE) return FALSE;
    m_more = TRUE;
    // The folder of the pattern, as a full path.
    wchar_t full[MAX_PATH * 2];
    wchar_t* file = nullptr;
    DWORD n = ::GetFullPathNameW(pattern, MAX_PATH * 2, full, &file);
    if (n > 0 && n < MAX_PATH * 2) {
        if (file) *file = L'\0';
        m_root = full;
    } else {
        m_root = pattern.Left(std::max(pattern.ReverseFind(L'\\'), 0));
    }
    if (m_root.GetLength() > 3 && m_root.Right(1) == L"\\") m_root = m_root.Left(m_root.GetLength() - 1);
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_more) return FALSE;
    m_current = m_next;
    m_found = TRUE;
    m_more = ::FindNextFileW(m_search, &m_next);
    return m_more;
}

CString CFileFind::GetFileName() const { return m_found ? CString(m_current.cFileName) : CString(); }

CString CFileFind::GetFilePath() const
{
    if (!m_found) return CString();
    CString path = m_root;
    if (path.Right(1) != L"\\") path += L"\\";
    return path + m_current.cFileName;
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot <= 0 ? name : name.Left(dot);
}

ULONGLONG CFileFind::GetLength() const
{
    return m_found ? (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow : 0;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const
{
    if (!m_found || !time) return FALSE;
    *time = m_current.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& time) const
{
    FILETIME written;
    if (!GetLastWriteTime(&written)) return FALSE;
    time = CTime(written);
    return TRUE;
}

BOOL CFileFind::IsDots() const
{
    const wchar_t* name = m_current.cFileName;
    return m_found && IsDirectory() && name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}
