// The library's exceptions.  They are thrown as pointers to heap objects;
// whoever catches one calls Delete() when done with it.
#pragma once
#include "Object.h"
#include "String.h"

class CLASSLIB_API CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
    void Delete();
    // Writes the message into the buffer (always zero-terminated); FALSE
    // when the exception has no message.
    virtual BOOL GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext = nullptr) const;
    CString GetErrorMessage() const;
    // The standard report: the message in a message box.
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0) const;

protected:
    virtual CString MessageText() const;
    BOOL m_bAutoDelete;
};

class CLASSLIB_API CSimpleException : public CException
{
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException() = default;
};

class CLASSLIB_API CMemoryException : public CSimpleException
{
    DECLARE_DYNAMIC(CMemoryException)
protected:
    CString MessageText() const override;
};

class CLASSLIB_API CResourceException : public CSimpleException
{
    DECLARE_DYNAMIC(CResourceException)
protected:
    CString MessageText() const override;
};

class CLASSLIB_API CInvalidArgException : public CSimpleException
{
    DECLARE_DYNAMIC(CInvalidArgException)
protected:
    CString MessageText() const override;
};

class CLASSLIB_API CNotSupportedException : public CSimpleException
{
    DECLARE_DYNAMIC(CNotSupportedException)
protected:
    CString MessageText() const override;
};

class CLASSLIB_API CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, const wchar_t* fileName = nullptr);
    static int OsErrorToException(LONG osError);
    static void ThrowOsError(LONG osError, const wchar_t* fileName = nullptr);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;

protected:
    CString MessageText() const override;
};

class CLASSLIB_API CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    explicit CArchiveException(int cause = none, const wchar_t* fileName = nullptr);

    int m_cause;
    CString m_strFileName;

protected:
    CString MessageText() const override;
};

[[noreturn]] CLASSLIB_API void AfxThrowMemoryException();
[[noreturn]] CLASSLIB_API void AfxThrowResourceException();
[[noreturn]] CLASSLIB_API void AfxThrowInvalidArgException();
[[noreturn]] CLASSLIB_API void AfxThrowNotSupportedException();
[[noreturn]] CLASSLIB_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                     const wchar_t* fileName = nullptr);
[[noreturn]] CLASSLIB_API void AfxThrowArchiveException(int cause, const wchar_t* fileName = nullptr);
