// File paths taken apart (drive, folder, title, extension), existence and
// name checks, file time, size, shell type name and product version; the
// files of a shell drop; the files of a folder tree with one extension.
#pragma once
#include "corvane/CorvaneDefs.h"
#include <shellapi.h>

class CORVANE_API tkxFileName
{
public:
    tkxFileName(const wchar_t* path = L"");
    tkxFileName(const tkxFileName& other);
    tkxFileName& operator=(const tkxFileName& other);
    virtual ~tkxFileName();

    // Replaces the path and splits it again.
    void SetFileName(const wchar_t* path);

    // Drive + folder, trailing backslash kept ("C:\Data\Road\").
    CString GetRoot() const;
    // GetRoot() without its trailing backslashes ("C:\Data\Road").
    CString GetPath() const;
    // Name without folder and extension ("R1").
    CString GetFileTitle() const;
    // Title + extension ("R1.DMX").
    CString GetFileName() const;
    // Extension with its dot, lower-cased (".dmx"); empty without one.
    CString GetExt() const;
    // The shell's type name of the file.
    CString GetDescription() const;

    // True when a file or folder of that name exists (a trailing backslash
    // is allowed on folders).
    bool Exist() const;
    static bool Exist(const wchar_t* path);

    // Empty when the name may be used for a new file, else the reason.
    CString IsValidate() const;

    // Local last-write time as "2008年3月5日 9:7:2"; empty when unreadable.
    CString GetLastWriteTime() const;
    // 1 with the local last-write time; 0 (time untouched) when unreadable.
    int GetLastWriteTime(CTime& time) const;
    // Size as two 32-bit words; both 0 when the file cannot be read.
    void GetFileSize(unsigned long& high, unsigned long& low) const;

    // "R" + the product version of the module's Chinese (0804, Unicode)
    // version strings, commas turned into dots; a message otherwise.
    static CString GetVersion(const wchar_t* file);

protected:
    CString m_SPath;
    CString m_SDrive;
    CString m_SFolder;
    CString m_STitle;
    CString m_SExt;
};

// Walks the files of a shell drop; the drop is finished when the object dies.
class CORVANE_API tkxDragDropFiles
{
public:
    explicit tkxDragDropFiles(HDROP drop);
    virtual ~tkxDragDropFiles();
    tkxDragDropFiles(const tkxDragDropFiles&) = delete;
    tkxDragDropFiles& operator=(const tkxDragDropFiles&) = delete;

    // 1 while more files follow.
    BYTE operator()() const;
    // 1 when there is no drop or no file in it.
    BYTE IsEmpty() const;
    void Reset() { m_nIndex = 0; }
    // Forgets the drop without finishing it.
    void Clear();

    CString& sFirstFile(CString& file);
    CString& sNextFile(CString& file);
    CString& sCurrFile(CString& file);

private:
    CString QueryFile(UINT index) const;

    UINT m_nCount;
    int m_nIndex;
    HDROP m_hDrop;
};

// Appends to `files` the full paths of the files in `folder` and its
// sub-folders whose extension is `ext` ("dmx" and ".DMX" alike; an empty
// extension matches files without one).  The array is not cleared.
CORVANE_API void tkx_SearchFileNames(const wchar_t* folder, const wchar_t* ext, CStringArray& files);
