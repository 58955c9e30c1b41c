// CFileFind: the files and folders that match a name or a pattern.
//
// FindFile starts a search ("*.*" in the current folder when no name is
// given) and answers whether anything matches; each FindNextFile then makes
// the next match the current one and answers whether more follow (FALSE for
// the last one, which is current all the same).  The attributes below
// describe the current match.
#pragma once
#include "Object.h"
#include "String.h"
#include "Types.h"

class CLASSLIB_API CFileFind : public CObject
{
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind() = default;
    ~CFileFind() override;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(const wchar_t* name = nullptr, DWORD unused = 0);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;  // with its extension
    CString GetFilePath() const;  // the folder searched, "\", the name
    CString GetFileTitle() const; // without its extension
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* time) const;
    BOOL GetLastWriteTime(CTime& time) const;
    BOOL MatchesMask(DWORD attributes) const { return m_found && (m_current.dwFileAttributes & attributes) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    // "." or "..".
    BOOL IsDots() const;

private:
    HANDLE m_search = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_next{};    // the match FindNextFile makes current
    WIN32_FIND_DATAW m_current{};
    BOOL m_found = FALSE;         // a match is current
    BOOL m_more = FALSE;          // m_next holds a match
    CString m_root;               // the folder searched, without a trailing "\"
};
