// CRecentFileList: a list of recently used entries (file paths or any text)
// kept in the application's profile.
//
// The list holds a fixed number of slots, most recent first; empty slots are
// empty texts.  The profile keeps one value per slot in one section, named
// by the entry format with the slot's number (first number, first number +
// 1, ...): with the format "File%d" and first number 1 the values are File1,
// File2, ...  Only the first "%d" of the format takes the number ("%%" stands
// for a percent sign); the format is never used as a printf format.
//
// In a menu the list takes the place of the item ID_FILE_MRU_FILE1 (the
// item's own text shows, greyed, while the list is empty): one item per
// entry, ID_FILE_MRU_FILE1 on, with the text "&1 <name>", the name
// shortened to the display length (GetDisplayName).
#pragma once
#include "String.h"
#include "Collections.h"

class CCmdUI;

class CLASSLIB_API CRecentFileList
{
public:
    // `maxDisplayLength` is the longest text a menu shows for an entry.
    CRecentFileList(UINT start, const wchar_t* section, const wchar_t* entryFormat, int size,
                    int maxDisplayLength = 30);
    virtual ~CRecentFileList();
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return m_nSize; }
    // Slot access; a bad index throws CInvalidArgException*.
    CString& operator[](int index);
    const CString& operator[](int index) const;

    // Puts the entry first.  An entry equal to it (compared without regard to
    // case, as file names are) leaves its old slot; when none does, the
    // last slot falls off.  Slots between move down by one.
    virtual void Add(const wchar_t* entry);
    // Removes a slot; the slots after it move up and the last becomes empty.
    virtual void Remove(int index);

    // Reads every slot from the application's profile (a missing value is an
    // empty slot) / writes every slot (an empty slot removes its value).
    // Without an application object nothing is read or written.
    virtual void ReadList();
    virtual void WriteList();

    // The profile value name of a slot.
    CString EntryName(int index) const;

    // The text a menu shows for a slot: the path, or, when it is longer than
    // `maxLength` characters, its root, "...", and as many of its last
    // folders as fit, the file name always whole.  False for an empty slot.
    BOOL GetDisplayName(CString& name, int index, int maxLength) const;
    // Puts the entries into the menu of the update request (the menu's
    // WM_INITMENUPOPUP pass) in place of the item ID_FILE_MRU_FILE1 and the
    // items of the list shown before.
    virtual void UpdateMenu(CCmdUI* ui);

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nMaxDisplayLength;

protected:
    int m_nSize;
    CStringArray m_arrNames;
    CString m_strOriginal; // the menu item's own text, shown while the list is empty
};
