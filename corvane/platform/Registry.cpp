#include "corvane/platform/Registry.h"
#include <algorithm>
#include <vector>

tkxRegistry::tkxRegistry() : m_hKey(nullptr), m_dwLastError(ERROR_SUCCESS) {}

tkxRegistry::tkxRegistry(HKEY root, const wchar_t* subKey) : tkxRegistry() { Open(root, subKey); }

tkxRegistry::~tkxRegistry() { Close(); }

// Keeps the status as the last error (also as the thread's last error) and
// answers 1 on success.
int tkxRegistry::Keep(LONG status)
{
    m_dwLastError = static_cast<DWORD>(status);
    SetLastError(m_dwLastError);
    return status == ERROR_SUCCESS ? 1 : 0;
}

int tkxRegistry::Open(HKEY root, const wchar_t* subKey)
{
    Close();
    HKEY key = nullptr;
    if (!Keep(RegOpenKeyExW(root, subKey, 0, KEY_ALL_ACCESS, &key))) return 0;
    m_hKey = key;
    return 1;
}

int tkxRegistry::Close()
{
    if (!m_hKey) return 0;
    LONG status = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return status == ERROR_SUCCESS ? 1 : 0;
}

int tkxRegistry::Read(const wchar_t* name, void* data, int size)
{
    if (!m_hKey) return 0;
    DWORD bytes = size > 0 ? static_cast<DWORD>(size) : 0;
    return Keep(RegQueryValueExW(m_hKey, name, nullptr, nullptr, static_cast<BYTE*>(data), &bytes));
}

int tkxRegistry::ReadDWORD(const wchar_t* name, unsigned long* value, unsigned long* error)
{
    int ok = Read(name, value, sizeof(unsigned long));
    if (error) *error = m_dwLastError;
    return ok;
}

int tkxRegistry::ReadString(const wchar_t* name, void* buffer, int size, unsigned long* error)
{
    wchar_t* text = static_cast<wchar_t*>(buffer);
    const int chars = size / static_cast<int>(sizeof(wchar_t));
    if (text && chars > 0) text[0] = 0;
    int ok = 0;
    if (m_hKey) {
        DWORD bytes = size > 0 ? static_cast<DWORD>(size) : 0;
        ok = Keep(RegQueryValueExW(m_hKey, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &bytes));
        // A value stored without its terminating zero must not run past the
        // buffer: terminate after the data, or cut the last character.
        if (ok && text && chars > 0) {
            DWORD end = bytes / sizeof(wchar_t);
            text[end < static_cast<DWORD>(chars) ? end : static_cast<DWORD>(chars - 1)] = 0;
        }
    }
    if (error) *error = m_dwLastError;
    return ok;
}

int tkxRegistry::ReadString(const wchar_t* name, CString& text, unsigned long* error)
{
    text.Empty();
    int ok = 0;
    if (m_hKey) {
        // The value may grow between asking its size and reading it.
        LONG status = ERROR_MORE_DATA;
        std::vector<wchar_t> buffer;
        DWORD bytes = 0;
        for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
            status = RegQueryValueExW(m_hKey, name, nullptr, nullptr, nullptr, &bytes);
            if (status != ERROR_SUCCESS) break;
            buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
            status = RegQueryValueExW(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        }
        ok = Keep(status);
        if (ok) {
            buffer[std::min<size_t>(bytes / sizeof(wchar_t), buffer.size() - 1)] = 0;
            text = buffer.data();
        }
    }
    if (error) *error = m_dwLastError;
    return ok;
}

wchar_t** tkxRegistry::ReadMultipleStrings(const wchar_t* name, unsigned long* error)
{
    const int bytes = 2500;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t), L'\0');
    if (!ReadString(name, buffer.data(), bytes, error) || buffer[0] == 0) return nullptr;

    const std::wstring text(buffer.data());
    size_t count = 0;
    for (wchar_t ch : text)
        if (ch == L';') ++count;
    if (text.back() != L';') ++count;

    wchar_t** list = new wchar_t*[count + 3]();
    size_t item = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t stop = text.find(L';', start);
        if (stop == std::wstring::npos) stop = text.size();
        const size_t length = stop - start;
        wchar_t* piece = new wchar_t[length + 1];
        text.copy(piece, length, start);
        piece[length] = 0;
        list[item++] = piece;
        start = stop + 1;
    }
    return list;
}

void tkxRegistry::DeleteList(wchar_t** list)
{
    if (!list) return;
    for (wchar_t** item = list; *item; ++item) delete[] *item;
    delete[] list;
}

int tkxRegistry::Write(const wchar_t* name, void* data, unsigned long type, int size)
{
    if (!m_hKey) return 0;
    return Keep(RegSetValueExW(m_hKey, name, 0, type, static_cast<const BYTE*>(data),
                               size > 0 ? static_cast<DWORD>(size) : 0));
}

int tkxRegistry::WriteDWORD(const wchar_t* name, unsigned long value, unsigned long* error)
{
    int ok = Write(name, &value, REG_DWORD, sizeof(value));
    if (error) *error = m_dwLastError;
    return ok;
}

int tkxRegistry::WriteString(const wchar_t* name, const wchar_t* text, unsigned long* error)
{
    const wchar_t* value = text ? text : L"";
    int bytes = static_cast<int>((wcslen(value) + 1) * sizeof(wchar_t));
    int ok = Write(name, const_cast<wchar_t*>(value), REG_SZ, bytes);
    if (error) *error = m_dwLastError;
    return ok;
}

int tkxRegistry::CreateKey(HKEY root, const wchar_t* subKey, const wchar_t* className)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, subKey, 0, const_cast<wchar_t*>(className ? className : L""),
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return 0;
    }
    RegCloseKey(key);
    return 1;
}

int tkxRegistry::DeleteKey(HKEY root, const wchar_t* subKey)
{
    LONG status = RegDeleteKeyW(root, subKey);
    SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS ? 1 : 0;
}

int tkxRegistry::DeleteKey(const wchar_t* subKey)
{
    if (!m_hKey) return 0;
    return DeleteKey(m_hKey, subKey);
}
