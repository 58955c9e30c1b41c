#include "Exceptions.h"
#include "App.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

void CException::Delete()
{
    if (m_bAutoDelete) delete this;
}

CString CException::MessageText() const { return CString(); }

BOOL CException::GetErrorMessage(wchar_t* buffer, UINT maxChars, UINT* helpContext) const
{
    if (helpContext) *helpContext = 0;
    CString text = MessageText();
    if (buffer && maxChars > 0) lstrcpynW(buffer, text, static_cast<int>(maxChars));
    return !text.IsEmpty();
}

CString CException::GetErrorMessage() const { return MessageText(); }

int CException::ReportError(UINT type, UINT) const
{
    CString text = MessageText();
    if (text.IsEmpty()) text = L"发生了未知错误。";
    return AfxMessageBox(text, type);
}

CString CMemoryException::MessageText() const { return L"内存不足。"; }
CString CResourceException::MessageText() const { return L"找不到所需的资源。"; }
CString CInvalidArgException::MessageText() const { return L"参数无效。"; }
CString CNotSupportedException::MessageText() const { return L"不支持该操作。"; }

CFileException::CFileException(int cause, LONG osError, const wchar_t* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

int CFileException::OsErrorToException(LONG osError)
{
    switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, const wchar_t* fileName)
{
    if (osError != 0) AfxThrowFileException(OsErrorToException(osError), osError, fileName);
}

static CString NameOrUnknown(const CString& name) { return name.IsEmpty() ? CString(L"(未命名)") : name; }

CString CFileException::MessageText() const
{
    const wchar_t* format = nullptr;
    switch (m_cause) {
    case none: return CString();
    case fileNotFound: format = L"找不到文件“%s”。"; break;
    case badPath: format = L"文件“%s”的路径无效。"; break;
    case tooManyOpenFiles: format = L"打开的文件太多，无法打开“%s”。"; break;
    case accessDenied: format = L"拒绝访问文件“%s”。"; break;
    case invalidFile: format = L"文件“%s”的句柄无效。"; break;
    case removeCurrentDir: format = L"无法删除当前目录“%s”。"; break;
    case directoryFull: format = L"目录已满，无法创建“%s”。"; break;
    case badSeek: format = L"在文件“%s”中定位失败。"; break;
    case hardIO: format = L"访问文件“%s”时发生硬件输入输出错误。"; break;
    case sharingViolation: format = L"文件“%s”正由其他程序使用。"; break;
    case lockViolation: format = L"文件“%s”已被锁定。"; break;
    case diskFull: format = L"磁盘已满，无法写入“%s”。"; break;
    case endOfFile: format = L"读取文件“%s”时遇到意外的文件尾。"; break;
    default: format = L"访问文件“%s”时发生未知错误。"; break;
    }
    CString text;
    text.Format(format, NameOrUnknown(m_strFileName).GetString());
    return text;
}

CArchiveException::CArchiveException(int cause, const wchar_t* fileName)
    : m_cause(cause), m_strFileName(fileName)
{
}

CString CArchiveException::MessageText() const
{
    const wchar_t* format = nullptr;
    switch (m_cause) {
    case none: return CString();
    case readOnly: format = L"存档“%s”以读方式打开，不能写入。"; break;
    case endOfFile: format = L"读取存档“%s”时遇到意外的文件尾。"; break;
    case writeOnly: format = L"存档“%s”以写方式打开，不能读取。"; break;
    case badIndex: format = L"存档“%s”的格式无效。"; break;
    case badClass: format = L"存档“%s”中含有未知的对象类型。"; break;
    case badSchema: format = L"存档“%s”中对象的版本与程序不符。"; break;
    default: format = L"读写存档“%s”时发生未知错误。"; break;
    }
    CString text;
    text.Format(format, NameOrUnknown(m_strFileName).GetString());
    return text;
}

void AfxThrowMemoryException() { throw new CMemoryException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AfxThrowNotSupportedException() { throw new CNotSupportedException; }

void AfxThrowFileException(int cause, LONG osError, const wchar_t* fileName)
{
    throw new CFileException(cause, osError, fileName);
}

void AfxThrowArchiveException(int cause, const wchar_t* fileName)
{
    throw new CArchiveException(cause, fileName);
}
