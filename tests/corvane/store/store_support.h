// Shared helpers of the project-store tests: the scratch hive and documents
// folder every test of this program runs in, scratch folders, file bytes,
// registry seeding, archive byte fixtures and the CAD-host stand-in.
//
// For the whole run HKEY_CURRENT_USER is redirected to a scratch key of the
// real registry (removed at the end) and the user's documents folder to a
// scratch folder, so the suite's keys start out missing and parallel test
// programs never see each other's entries.
#pragma once
#include "classlib/ClassLib.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace store_test {

// The documents folder of the scratch hive, and the suite's document folder
// inside it (where "Tavix3.ini" and "TvComment.ini" live).
CString DocumentsFolder();
CString SuiteDocumentFolder();
// The folder of the test program (where our binaries are built).
CString BinFolder();

// A new empty folder under the working directory, removed with everything
// in it when the object dies.
class ScratchFolder
{
public:
    explicit ScratchFolder(const wchar_t* name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const CString& Path() const { return m_path; }
    CString operator/(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    CString m_path;
};

void RemoveTree(const CString& path);
void WriteBytes(const CString& path, const std::string& bytes);
std::string ReadBytes(const CString& path);
bool Exists(const CString& path);
std::string Utf8(const wchar_t* text);

// Registry seeding under HKEY_CURRENT_USER (key paths are created).
void SetRegString(const wchar_t* key, const wchar_t* name, const wchar_t* value);
void SetRegDword(const wchar_t* key, const wchar_t* name, DWORD value);
void DeleteRegTree(const wchar_t* key);
bool RegValueExists(const wchar_t* key, const wchar_t* name);
CString GetRegString(const wchar_t* key, const wchar_t* name);
DWORD GetRegDword(const wchar_t* key, const wchar_t* name);

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

// gtest output for the library's strings.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << store_test::Utf8(s) << '"'; }
