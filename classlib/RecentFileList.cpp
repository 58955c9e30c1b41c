#include "RecentFileList.h"
#include "App.h"
#include "CmdUI.h"
#include "CommandIds.h"
#include "Menu.h"
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

BOOL CRecentFileList::GetDisplayName(CString& name, int index, int maxLength) const
{
    const CString& path = m_arrNames.ElementAt(index);
    name = path;
    if (path.IsEmpty()) return FALSE;
    if (maxLength <= 0 || path.GetLength() <= maxLength) return TRUE;
    // Root ("C:\" or "\\server\share\"), then the tail that fits.
    int rootEnd = path.Find(L'\\');
    if (path.Left(2) == L"\\\\") {
        int share = path.Find(L'\\', 2);
        rootEnd = share < 0 ? -1 : path.Find(L'\\', share + 1);
    }
    int lastSlash = path.ReverseFind(L'\\');
    CString root = rootEnd < 0 ? CString() : path.Left(rootEnd + 1);
    CString file = path.Mid(lastSlash + 1);
    CString shown = root + L"..." + L"\\" + file;
    if (lastSlash <= rootEnd || shown.GetLength() > maxLength) {
        name = lastSlash <= rootEnd ? path : file; // a long name alone
        return TRUE;
    }
    // Folders from the end, as long as they fit.
    int end = lastSlash;
    for (;;) {
        int start = path.Left(end).ReverseFind(L'\\');
        if (start <= rootEnd) break;
        CString longer = root + L"..." + path.Mid(start);
        if (longer.GetLength() > maxLength) break;
        shown = longer;
        end = start;
    }
    name = shown;
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* ui)
{
    CMenu* menu = ui->m_pMenu;
    if (!menu || ui->m_pSubMenu) return;
    if (m_strOriginal.IsEmpty()) menu->GetMenuString(ID_FILE_MRU_FILE1, m_strOriginal, MF_BYCOMMAND);
    // The items of the list as last shown go; the first one's place stays.
    for (int i = 0; i < m_nSize; ++i) menu->DeleteMenu(ID_FILE_MRU_FILE1 + static_cast<UINT>(i), MF_BYCOMMAND);
    UINT position = ui->m_nIndex;
    int shown = 0;
    for (int i = 0; i < m_nSize; ++i) {
        CString name;
        if (!GetDisplayName(name, i, m_nMaxDisplayLength)) continue;
        name.Replace(L"&", L"&&");
        CString text;
        text.Format(i < 9 ? L"&%d %s" : L"%d %s", i + 1, static_cast<const wchar_t*>(name));
        menu->InsertMenu(position + static_cast<UINT>(shown), MF_BYPOSITION | MF_STRING,
                         ID_FILE_MRU_FILE1 + static_cast<UINT>(i), text);
        ++shown;
    }
    if (shown == 0) {
        // Empty: the item's own text, greyed.
        menu->InsertMenu(position, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, m_strOriginal);
        shown = 1;
    }
    // The update pass goes on after the inserted items.
    ui->m_nIndexMax = static_cast<UINT>(menu->GetMenuItemCount());
    ui->m_nIndex = position + static_cast<UINT>(shown) - 1;
    ui->m_bEnableChanged = TRUE;
}

