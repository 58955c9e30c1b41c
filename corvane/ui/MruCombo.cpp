#include "corvane/ui/MruCombo.h"
#include <algorithm>
#include <vector>

namespace {
const int kDisplayLength = 30;
}

tkxMRUComboBox::~tkxMRUComboBox()
{
    if (m_bSaveOnDestroy) SaveMRU();
    delete m_pMRU;
    m_pMRU = nullptr;
}

void tkxMRUComboBox::SetMRURegKey(const wchar_t* section)
{
    m_strRegKey = section ? section : L"";
    m_bParamsChanged = TRUE;
}

BOOL tkxMRUComboBox::SetMRUValueFormat(const wchar_t* format)
{
    CString text(format ? format : L"");
    if (text.Find(L"%d") < 0) return FALSE;
    m_strValueFormat = text;
    m_bParamsChanged = TRUE;
    return TRUE;
}

int tkxMRUComboBox::SetMaxMRUSize(int size)
{
    if (size <= 0) return -1;
    const int previous = m_nMaxSize;
    const bool hadList = m_pMRU != nullptr;
    m_nMaxSize = size;
    if (!AllocNewMRU()) return -1;
    return hadList ? previous : 0;
}

BOOL tkxMRUComboBox::SetAutoSaveOnDestroy(BOOL on)
{
    std::swap(m_bSaveOnDestroy, on);
    return on;
}

BOOL tkxMRUComboBox::SetAutoSaveAfterAdd(BOOL on)
{
    std::swap(m_bSaveAfterAdd, on);
    return on;
}

BOOL tkxMRUComboBox::SetAutoRefreshAfterAdd(BOOL on)
{
    std::swap(m_bRefreshAfterAdd, on);
    return on;
}

BOOL tkxMRUComboBox::VerifyMRUParams() const
{
    return !m_strRegKey.IsEmpty() && !m_strValueFormat.IsEmpty() && m_strValueFormat.Find(L"%d") >= 0 &&
           m_nMaxSize > 0;
}

BOOL tkxMRUComboBox::AllocNewMRU()
{
    if (!VerifyMRUParams()) return FALSE;
    std::vector<CString> kept;
    if (m_pMRU) {
        const int count = std::min(m_nMaxSize, m_pMRU->GetSize());
        for (int i = 0; i < count; ++i) kept.push_back((*m_pMRU)[i]);
        delete m_pMRU;
        m_pMRU = nullptr;
    }
    try {
        m_pMRU = new CRecentFileList(1, m_strRegKey, m_strValueFormat, m_nMaxSize, kDisplayLength);
    } catch (...) {
        delete m_pMRU;
        m_pMRU = nullptr;
        throw;
    }
    // Added back from the last, so that they keep their order.
    for (auto it = kept.rbegin(); it != kept.rend(); ++it) m_pMRU->Add(*it);
    m_bParamsChanged = FALSE;
    return TRUE;
}

BOOL tkxMRUComboBox::AddToMRU(const wchar_t* entry)
{
    if (!m_pMRU && !AllocNewMRU()) return FALSE;
    m_pMRU->Add(entry);
    if (m_bRefreshAfterAdd) RefreshCtrl();
    if (m_bSaveAfterAdd) SaveMRU();
    return TRUE;
}

void tkxMRUComboBox::EmptyMRU()
{
    if (!m_pMRU) return;
    for (int i = m_pMRU->GetSize() - 1; i >= 0; --i) m_pMRU->Remove(i);
}

BOOL tkxMRUComboBox::LoadMRU()
{
    if (!AllocNewMRU()) return FALSE;
    m_pMRU->ReadList();
    return TRUE;
}

BOOL tkxMRUComboBox::SaveMRU()
{
    if (!m_pMRU || !VerifyMRUParams()) return FALSE;
    if (m_bParamsChanged && !AllocNewMRU()) return FALSE;
    m_pMRU->WriteList();
    return TRUE;
}

void tkxMRUComboBox::RefreshCtrl()
{
    if (!m_hWnd) return;
    CString text;
    GetWindowText(text);
    ResetContent();
    if (m_pMRU) {
        for (int i = 0; i < m_pMRU->GetSize(); ++i) {
            const CString& entry = (*m_pMRU)[i];
            if (!entry.IsEmpty()) AddString(entry);
        }
    }
    SetWindowText(text);
}
