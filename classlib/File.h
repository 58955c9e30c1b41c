// Files: CFile (raw bytes through a Windows file handle), CStdioFile (text
// lines, buffered) and CMemFile (bytes in memory).
#pragma once
#include "Exceptions.h"
#include <string>
#include <vector>

class CLASSLIB_API CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE file);
    // Opens the file or throws CFileException*.
    CFile(const wchar_t* fileName, UINT openFlags);
    ~CFile() override;

    // FALSE on failure, with the cause, the system error and the file name
    // in *error when given.
    virtual BOOL Open(const wchar_t* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG newLength);
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;
    operator HANDLE() const { return m_hFile; }

    static void Rename(const wchar_t* oldName, const wchar_t* newName);
    static void Remove(const wchar_t* fileName);

    HANDLE m_hFile;

protected:
    CString m_strFileName;
    BOOL m_bCloseOnDelete;
};

// A hook asked before every write through a Windows file handle (CFile::Write,
// and so every file class's writes): a non-zero answer is taken as the system
// error of that write, which then fails as a failing disk would fail it (a
// CFileException for the file).  Tests use it to make a save fail after its
// file was opened.  Returns the hook it replaces; null removes the hook.
typedef DWORD (*ClFileWriteHook)(const CFile& file, UINT count);
CLASSLIB_API ClFileWriteHook ClSetFileWriteHook(ClFileWriteHook hook);

// Line-oriented file.  In text mode (the default) 8-bit text is converted
// through ClTextCodePage(), "\n" is written as CR LF and CR LF reads as
// "\n".  In binary mode lines are UTF-16 code units.
class CLASSLIB_API CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    CStdioFile(const wchar_t* fileName, UINT openFlags);
    ~CStdioFile() override;

    BOOL Open(const wchar_t* fileName, UINT openFlags, CFileException* error = nullptr) override;
    // One line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& line);
    // Up to maxChars-1 characters, keeping the "\n"; null at the end.
    virtual wchar_t* ReadString(wchar_t* buffer, UINT maxChars);
    virtual void WriteString(const wchar_t* text);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    // The bytes read ahead and not yet handed out, as they stand in the file
    // (no CR LF folding), read from the file first when none are left:
    // *data points at them and the result is their count, 0 at the end of
    // the file.  They stay unread until SkipBuffered hands out count of
    // them.  Line readers scan with these instead of a call per byte.
    UINT PeekBuffered(const char** data);
    void SkipBuffered(UINT count);

private:
    bool FillBuffer();
    int GetByte();
    void FlushWrites();
    void DropReadBuffer();
    void RawWrite(const char* data, size_t count);

    bool m_text = true;
    std::vector<char> m_readBuf;
    size_t m_readPos = 0;
    std::string m_writeBuf;
};

// A file held in memory; grows as it is written.
class CLASSLIB_API CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    CMemFile() = default;
    CMemFile(const BYTE* data, UINT size);
    ~CMemFile() override;

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_pos; }
    ULONGLONG GetLength() const override { return m_data.size(); }
    void SetLength(ULONGLONG newLength) override;
    void Flush() override {}
    void Close() override;
    void Abort() override { Close(); }

    const std::vector<BYTE>& Data() const { return m_data; }

private:
    std::vector<BYTE> m_data;
    size_t m_pos = 0;
};
