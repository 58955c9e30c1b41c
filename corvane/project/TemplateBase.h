// A slope-template library: a folder holding the template files (".TYP",
// one per template) and the library file "<folder>\<name>.TPB" that lists
// them.  The library file is an archive without version or class records:
//
//   string  description
//   string  creation date
//   int32   template count n, then n template file names (strings)
//
// Name and folder come from the file name.  The list operations change the
// in-memory list only; the caller saves the library file.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxTemplateBase
{
public:
    tkxTemplateBase();
    tkxTemplateBase(const tkxTemplateBase& other);
    tkxTemplateBase& operator=(const tkxTemplateBase& other);
    virtual ~tkxTemplateBase();

    void Reset();
    void Copy(tkxTemplateBase* other);

    // "<folder>\<name>.TPB"; 0 when folder or name is empty.
    int Load();
    // Loads the library file; name and folder become the file's title and
    // folder.  An unreadable or damaged file (bytes after the last template
    // name included) gives a message and 0, and the library is left as it
    // was.
    int Load(CString file);
    // Writes "<folder>\<name>.TPB" through a temporary file; 0 (message box)
    // on failure, the old file kept.
    int Save();
    // Throws the class library's archive or file exception on a damaged file.
    void Serialize(CArchive& ar);

    // 0 when the registered library list holds this name under another
    // folder, else 1.
    int IsValid(CString name, CString folder);
    // Index of the first registered library of this name, -1 if none.
    short SearchTBList(CString name);

    // 1 when the list holds the file name of the argument.
    int HasIncludeTemp(CString file);
    // Copies the template file into the library folder and lists it.
    int AddTemp(CString file);
    // Unlists the template (its file stays).
    int RemoveTemp(CString file);
    // Renames a listed template's file in the library folder and its entry.
    int RenameTemp(CString oldFile, CString newFile);
    // Renames the library file, the library and its registered entry.
    int RenameTempBase(CString newName);

    CString m_SName;            // library name = title of the .TPB file
    CString m_SPath;            // folder, no trailing separator
    CString m_SDescription;     // 库描述
    CString m_SCreateDate;
    CStringArray m_STemplates;  // template file names, without folder

private:
    CString FileName() const;
};
