// tkxMRUComboBox: a combo box whose drop-down lists the most recently used
// entries, kept in the application's profile.
//
// The owner names the profile section (SetMRURegKey) and the value-name
// format, which must contain "%d" (SetMRUValueFormat: "Entry%d" gives
// Entry1, Entry2, ...), adds entries as they are used (AddToMRU) and loads,
// saves and redisplays the list, by hand or automatically.  There is no
// default section or format: the list exists only once both are set.
#pragma once
#include "corvane/CorvaneDefs.h"
#include "classlib/RecentFileList.h"

class CORVANE_API tkxMRUComboBox : public CComboBox
{
public:
    tkxMRUComboBox() = default;
    ~tkxMRUComboBox() override;

    void SetMRURegKey(const wchar_t* section);
    CString GetMRURegKey() const { return m_strRegKey; }
    // FALSE, changing nothing, when the format lacks "%d".
    BOOL SetMRUValueFormat(const wchar_t* format);
    CString GetMRUValueFormat() const { return m_strValueFormat; }
    // -1 for a size of 0 or less or when the list cannot be rebuilt;
    // otherwise the previous size when a list existed, else 0.
    int SetMaxMRUSize(int size);
    int GetMaxMRUSize() const { return m_nMaxSize; }

    // Each returns the switch's previous value.
    BOOL SetAutoSaveOnDestroy(BOOL on);
    BOOL SetAutoSaveAfterAdd(BOOL on);
    BOOL SetAutoRefreshAfterAdd(BOOL on);

    // Puts an entry first in the list (0 when no list can be made).
    BOOL AddToMRU(const wchar_t* entry);
    void EmptyMRU();
    // Rebuilds the list and reads it from the profile (0 on failure).
    BOOL LoadMRU();
    // Writes the list to the profile (0 without a valid list).
    BOOL SaveMRU();
    // Fills the drop-down with the non-empty entries, keeping the edit text.
    void RefreshCtrl();

    // The list (null until made).
    const CRecentFileList* GetMRUList() const { return m_pMRU; }

protected:
    BOOL VerifyMRUParams() const;
    BOOL AllocNewMRU();

    CRecentFileList* m_pMRU = nullptr;
    CString m_strRegKey;
    CString m_strValueFormat;
    int m_nMaxSize = 10;
    BOOL m_bSaveOnDestroy = TRUE;
    BOOL m_bSaveAfterAdd = FALSE;
    BOOL m_bRefreshAfterAdd = FALSE;
    BOOL m_bParamsChanged = FALSE;
};
