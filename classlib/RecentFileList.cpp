#include "RecentFileList.h"
#include "App.h"
#include <algorithm>

CRecentFileList::CRecentFileList(UINT start, const wchar_t* section, const wchar_t* entryFormat, int size,
                                 int maxDisplayLength)
    : m_nStart(start), m_strSectionName(section ? section : L""), m_strEntryFormat(entryFormat ? entryFormat : L""),
      m_nMaxDisplayLength(maxDisplayLength), m_nSize(std::max(size, 0))
{
    m_arrNames.SetSize(m_nSize);
}

CRecentFileList::~CRecentFileList() = default;

CString& CRecentFileList::operator[](int index) { return m_arrNames.ElementAt(index); }

const CString& CRecentFileList::operator[](int index) const { return m_arrNames.ElementAt(index); }

void CRecentFileList::Add(const wchar_t* entry)
{
    if (m_nSize <= 0) return;
    CString text(entry ? entry : L"");
    int slot = 0;
    while (slot < m_nSize - 1 && m_arrNames[slot].CompareNoCase(text) != 0) ++slot;
    for (; slot > 0; --slot) m_arrNames[slot] = m_arrNames[slot - 1];
    m_arrNames[0] = text;
}

void CRecentFileList::Remove(int index)
{
    m_arrNames.ElementAt(index); // checks the index
    for (int i = index; i < m_nSize - 1; ++i) m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

CString CRecentFileList::EntryName(int index) const
{
    CString name;
    bool numbered = false;
    const CString& format = m_strEntryFormat;
    for (int i = 0; i < format.GetLength(); ++i) {
        wchar_t c = format[i];
        if (c == L'%' && i + 1 < format.GetLength()) {
            wchar_t next = format[i + 1];
            if (next == L'%') {
                name.AppendChar(L'%');
                ++i;
                continue;
            }
            if (next == L'd' && !numbered) {
                name.AppendFormat(L"%u", m_nStart + static_cast<UINT>(index));
                numbered = true;
                ++i;
                continue;
            }
        }
        name.AppendChar(c);
    }
    return name;
}

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 0; i < m_nSize; ++i) m_arrNames[i] = app->GetProfileString(m_strSectionName, EntryName(i), L"");
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app) return;
    for (int i = 0; i < m_nSize; ++i) {
        const CString& entry = m_arrNames[i];
        app->WriteProfileString(m_strSectionName, EntryName(i), entry.IsEmpty() ? nullptr : entry.GetString());
    }
}
