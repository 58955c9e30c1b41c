// One open registry key with typed reads and writes.  Nothing throws: every
// operation answers 1 or 0 and keeps the system's error code of the latest
// open, read or write, which the typed members hand out on request.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxRegistry
{
public:
    tkxRegistry();
    // Opens the subkey of the root as Open() does.
    tkxRegistry(HKEY root, const wchar_t* subKey);
    ~tkxRegistry();
    // Copies the handle: the callers never copy an open key.
    tkxRegistry(const tkxRegistry& other) = default;
    tkxRegistry& operator=(const tkxRegistry& other) = default;

    // Closes any open key and opens the subkey with full access.
    int Open(HKEY root, const wchar_t* subKey);
    // 0 when no key was open.
    int Close();
    int IsOpen() const { return m_hKey != nullptr ? 1 : 0; }

    // Raw value data into a buffer of `size` bytes; the type is not checked.
    int Read(const wchar_t* name, void* data, int size);
    int ReadDWORD(const wchar_t* name, unsigned long* value, unsigned long* error = nullptr);
    // Text into a buffer of `size` bytes; the text read is always
    // zero-terminated within the buffer.
    int ReadString(const wchar_t* name, void* buffer, int size, unsigned long* error = nullptr);
    // Text of any length (empty when the value is missing).
    int ReadString(const wchar_t* name, CString& text, unsigned long* error = nullptr);
    // The ";"-separated items of a string value as a null-terminated list
    // (free it with DeleteList); null when the value is missing or empty.
    wchar_t** ReadMultipleStrings(const wchar_t* name, unsigned long* error = nullptr);
    static void DeleteList(wchar_t** list);

    int Write(const wchar_t* name, void* data, unsigned long type, int size);
    int WriteDWORD(const wchar_t* name, unsigned long value, unsigned long* error = nullptr);
    int WriteString(const wchar_t* name, const wchar_t* text, unsigned long* error = nullptr);

    // Creates (or opens) the subkey with the class text and closes it again.
    static int CreateKey(HKEY root, const wchar_t* subKey, const wchar_t* className);
    // Deletes one key; a key that still has subkeys stays.
    static int DeleteKey(HKEY root, const wchar_t* subKey);
    // The same under the open key.
    int DeleteKey(const wchar_t* subKey);

private:
    int Keep(LONG status);

    HKEY m_hKey;
    DWORD m_dwLastError;
};
