// Sheet sets: the drawings of a design project organised as named groups
// (volumes) of sheets, each sheet with a name, a code, the command that
// produces it and the drawing files linked to it (file names relative to the
// set's folder).  A sheet-set template holds the same groups and sheets
// without files.
//
// Files:
// - template XML: <config><图纸集模板 version="1.00" software="Tavix3"
//   name="<template file title>"><Group name=".."><Sheet name=".." code=".."
//   cmd=".."/>...
// - sheet-set XML: <config><图纸集 version="1.00" software="Tavix3"
//   template=".."><Group name=".."><Sheet name=".." code=".."><File
//   path=".."/>... (the command is not written);
// - sheet-set archive (.EST, the class library's archive form): template
//   name, group count (int32), then per group its name, record count
//   (int32) and per record name, code, file count (int32) and the files.
//   The command is not stored; records read back carry "自定义图表".
// Every loader reads into a fresh set and takes it only when the whole file
// was read: a failed load leaves the set as it was.  Loaders and savers
// answer 1, or 0 with the last-error text; savers write a temporary file
// first, so a failed save leaves the old file whole.
#pragma once
#include "corvane/CorvaneDefs.h"

namespace Tavix4 {

// One sheet.
struct CORVANE_API sSheetSetRecord {
    CString m_SName;
    CString m_SCode;
    CString m_SCmd;            // the command that produces the sheet
    CStringArray m_SFiles;     // linked drawing files

    sSheetSetRecord();
    sSheetSetRecord(const sSheetSetRecord& other);
    sSheetSetRecord& operator=(const sSheetSetRecord& other);
};

} // namespace Tavix4

class CORVANE_API tkxSheetGroup : public CObject
{
    DECLARE_SERIAL(tkxSheetGroup)
public:
    tkxSheetGroup();
    explicit tkxSheetGroup(const wchar_t* name);
    tkxSheetGroup(const tkxSheetGroup& other);
    ~tkxSheetGroup() override;
    // Copies the name and every record.
    virtual tkxSheetGroup& operator=(const tkxSheetGroup& other);

    // Deletes all records.
    void Reset();
    // Empties every record's linked files, keeping the records.
    void ResetRecords();

    CString GetName() const { return m_SName; }
    void SetName(const wchar_t* name) { m_SName = name ? name : L""; }
    int GetCount() const { return static_cast<int>(m_Records.GetCount()); }
    // Appends a copy; the new count.
    int AddRecord(const Tavix4::sSheetSetRecord& record);
    // The first record of that name or code (case-sensitive); null if none.
    Tavix4::sSheetSetRecord* GetRecordByName(const wchar_t* name) const;
    Tavix4::sSheetSetRecord* GetRecordByCode(const wchar_t* code);
    POSITION GetHeadPosition() const { return m_Records.GetHeadPosition(); }
    Tavix4::sSheetSetRecord* GetNext(POSITION& pos) const;

    // Inserts the group under the tree's root with its records and their
    // files; the group's item.  Images: group 0/1, record with files 2/3,
    // without 4/5, existing file 6/7, missing file 8/9.
    HTREEITEM AddToTreeCtrl(CTreeCtrl* tree, const wchar_t* folder) const;

    // In every record, the first linked file equal to old (any case) gets
    // the new name.
    void RenameFileLink(const wchar_t* oldName, const wchar_t* newName);
    // In every record with the code (case-sensitive), removes the first
    // linked file equal to file (any case); 1 when any was removed.
    int removeFileLink(const wchar_t* code, const wchar_t* file);
    // Appends name and code of every record whose command contains the
    // text (every record for an empty text); the number appended.
    int SearchSheetRecord(const wchar_t* text, CStringArray& names, CStringArray& codes) const;

    // The group's part of the sheet-set archive.  Loading replaces the
    // records; a negative count throws CArchiveException*.
    void Serialize(CArchive& ar) override;

protected:
    CString m_SName;
    CPtrList m_Records; // owned Tavix4::sSheetSetRecord*
};

class CORVANE_API tkxSheetSet : public CObject
{
public:
    tkxSheetSet();
    ~tkxSheetSet() override;

    void ResetContent();
    void ResetRecords();

    CString GetPathName() const { return m_SPath; }
    // Trailing "/" and then trailing "\" are removed; a drive root keeps its
    // backslash ("C:\").
    void SetPathName(const wchar_t* path);
    CString GetTemplateName() const { return m_STemplateName; }
    void SetTemplateName(const wchar_t* name) { m_STemplateName = name ? name : L""; }

    int GetSheetGroupCount() const { return static_cast<int>(m_Groups.GetCount()); }
    POSITION GetHeadPosition() const { return m_Groups.GetHeadPosition(); }
    tkxSheetGroup* GetNext(POSITION& pos) const;
    // Appends a copy; the new group count.
    int AddGroup(const tkxSheetGroup& group);

    // The code of the first record of that name over all groups; "X-X-X"
    // when there is none.
    CString GetSheetCode(const wchar_t* name);
    // Links the file to the first record with the code (unless it is linked
    // already, in any case); the record, null when no record has the code.
    Tavix4::sSheetSetRecord* AddFileLink(const wchar_t* code, const wchar_t* file);
    // removeFileLink in the first group of that name; 0 without one.
    int RemoveFileLink(const wchar_t* group, const wchar_t* code, const wchar_t* file);
    void RenameFileLink(const wchar_t* oldName, const wchar_t* newName);
    // Appends over all groups; the size of names afterwards.
    int SearchSheetRecord(const wchar_t* text, CStringArray& names, CStringArray& codes) const;
    // Replaces the tree's items with the groups, each expanded.
    void OutputTreeCtrl(CTreeCtrl* tree) const;

    // Template XML; the folder is taken as given.
    int LoadXMLFile_Template(const wchar_t* file, const wchar_t* folder);
    int SaveXMLFile_Template(const wchar_t* file);
    // Sheet-set XML; the folder becomes the file's folder.
    int LoadXMLFile(const wchar_t* file);
    int SaveXMLFile(const wchar_t* file);
    // Sheet-set archive; the folder becomes the file's folder.  Bytes after
    // the last group make the file a damaged one.
    int LoadESTFile(const wchar_t* file);
    int SaveESTFile(const wchar_t* file);

private:
    int LoadXml(const wchar_t* file, bool isTemplate, const wchar_t* folder);
    int SaveXml(const wchar_t* file, bool isTemplate);
    // Takes the other set's folder, template name and groups; the other set
    // is left empty.
    void TakeContent(tkxSheetSet& other);

    CString m_SPath;
    CString m_STemplateName;
    CPtrList m_Groups; // owned tkxSheetGroup*
};
