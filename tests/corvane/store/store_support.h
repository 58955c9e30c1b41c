// Shared helpers of the project-store tests: the scratch world of
// tests/support (every test of this program runs in a scratch hive),
// registry seeding under HKEY_CURRENT_USER, archive byte fixtures and the
// CAD-host stand-in.
#pragma once
#include "support/Scratch.h"
#include <string>
#include <vector>

namespace store_test {

using namespace test_support;

// The documents folder of the scratch hive, and the suite's document folder
// inside it (where "Tavix3.ini" and "TvComment.ini" live).
CString DocumentsFolder();
CString SuiteDocumentFolder();

// Registry seeding under HKEY_CURRENT_USER.
inline void SetRegString(const wchar_t* key, const wchar_t* name, const wchar_t* value)
{
    test_support::SetRegString(HKEY_CURRENT_USER, key, name, value);
}
inline void SetRegDword(const wchar_t* key, const wchar_t* name, DWORD value)
{
    test_support::SetRegDword(HKEY_CURRENT_USER, key, name, value);
}
inline void DeleteRegTree(const wchar_t* key) { test_support::DeleteRegTree(HKEY_CURRENT_USER, key); }
inline bool RegValueExists(const wchar_t* key, const wchar_t* name)
{
    return test_support::RegValueExists(HKEY_CURRENT_USER, key, name);
}
inline CString GetRegString(const wchar_t* key, const wchar_t* name)
{
    return test_support::GetRegString(HKEY_CURRENT_USER, key, name);
}
inline DWORD GetRegDword(const wchar_t* key, const wchar_t* name)
{
    return test_support::GetRegDword(HKEY_CURRENT_USER, key, name);
}

// Archive bytes written by hand, field by field.
class Bytes
{
public:
    Bytes& I32(int v) { return Raw(&v, 4); }
    Bytes& I16(short v) { return Raw(&v, 2); }
    Bytes& F64(double v) { return Raw(&v, 8); }
    // The archive's wide string form: FF FE FF, one length byte (texts below
    // 255 characters), UTF-16LE characters.
    Bytes& Str(const wchar_t* text);
    Bytes& Hex(const char* hex);
    const std::string& str() const { return m_bytes; }

private:
    Bytes& Raw(const void* data, size_t size)
    {
        m_bytes.append(static_cast<const char*>(data), size);
        return *this;
    }
    std::string m_bytes;
};

// A running CAD-host stand-in (the stand-in program "acad.exe" with its
// options), killed when the object dies.  Its record file lies in the
// working folder.
class CadHost
{
public:
    // options: "--statusbar", "--nested", "--sheetset" (blank-separated).
    explicit CadHost(const wchar_t* options, const wchar_t* logName);
    ~CadHost();
    CadHost(const CadHost&) = delete;
    CadHost& operator=(const CadHost&) = delete;

    bool Ready() const { return m_ready; }
    DWORD ProcessId() const { return m_pid; }
    // The record lines written so far, "READY" excluded.
    std::vector<std::string> Records() const;

private:
    CString m_log;
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
    bool m_ready = false;
};

// Hex text of a byte string, as the stand-in writes payloads.
std::string ToHex(const std::string& bytes);
// The WM_COPYDATA payload of a wide text in a buffer of `bytes` bytes:
// the text's UTF-16 bytes, then zeros.
std::string WideBuffer(const wchar_t* text, size_t bytes);

} // namespace store_test

