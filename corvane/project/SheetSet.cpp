#include "corvane/project/SheetSet.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/Xml.h"
#include "corvane/base/LastError.h"
#include "corvane/project/ProjectFolders.h"

using namespace Tavix4;

namespace {

const wchar_t kDefaultCommand[] = L"自定义图表";
const wchar_t kTemplateTag[] = L"图纸集模板";
const wchar_t kSetTag[] = L"图纸集";

// Index of the first linked file equal to the name in any case, -1 if none.
int FindFile(const CStringArray& files, const wchar_t* name)
{
    for (int i = 0; i < files.GetSize(); ++i)
        if (files[i].CompareNoCase(name ? name : L"") == 0) return i;
    return -1;
}

CString Attribute(const wchar_t* name, const CString& value)
{
    return ClFormat(L"%s=\"%s\"", name, tkxXmlElement::EncodeValue(value).GetString());
}

tkxXmlElement* AddElement(tkxXmlElement* parent, const wchar_t* tag, const CString& attributes)
{
    auto* element = new tkxXmlElement;
    element->m_STag = tag;
    element->m_SAttributes = attributes;
    parent->m_Children.AddTail(element);
    return element;
}

// The folder of a set's file.  It goes to SetPathName with its backslash,
// so that a file in a drive root gives "C:\" (a bare "C:" would be the
// drive's current folder).
CString FolderOf(const CString& file) { return tkxFileName(file).GetRoot(); }

// A count read from the archive; a negative one is a damaged file.
int ReadCount(CArchive& ar)
{
    int count = 0;
    ar >> count;
    if (count < 0) AfxThrowArchiveException(CArchiveException::badIndex);
    return count;
}

} // namespace

// ---------------------------------------------------------------------------
// Records

sSheetSetRecord::sSheetSetRecord() : m_SCmd(kDefaultCommand) {}

sSheetSetRecord::sSheetSetRecord(const sSheetSetRecord& other)
    : m_SName(other.m_SName), m_SCode(other.m_SCode), m_SCmd(other.m_SCmd)
{
    m_SFiles.Copy(other.m_SFiles);
}

sSheetSetRecord& sSheetSetRecord::operator=(const sSheetSetRecord& other)
{
    m_SName = other.m_SName;
    m_SCode = other.m_SCode;
    m_SCmd = other.m_SCmd;
    m_SFiles.Copy(other.m_SFiles);
    return *this;
}

// ---------------------------------------------------------------------------
// Groups

IMPLEMENT_SERIAL(tkxSheetGroup, CObject, 1)

tkxSheetGroup::tkxSheetGroup() : m_Records(10) {}

tkxSheetGroup::tkxSheetGroup(const wchar_t* name) : m_SName(name ? name : L""), m_Records(10) {}

tkxSheetGroup::tkxSheetGroup(const tkxSheetGroup& other) : CObject(), m_Records(10) { *this = other; }

tkxSheetGroup::~tkxSheetGroup() { Reset(); }

tkxSheetGroup& tkxSheetGroup::operator=(const tkxSheetGroup& other)
{
    if (&other == this) return *this;
    Reset();
    m_SName = other.m_SName;
    for (POSITION pos = other.GetHeadPosition(); pos;) AddRecord(*other.GetNext(pos));
    return *this;
}

void tkxSheetGroup::Reset()
{
    for (POSITION pos = m_Records.GetHeadPosition(); pos;)
        delete static_cast<sSheetSetRecord*>(m_Records.GetNext(pos));
    m_Records.RemoveAll();
}

void tkxSheetGroup::ResetRecords()
{
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->m_SFiles.RemoveAll();
}

int tkxSheetGroup::AddRecord(const sSheetSetRecord& record)
{
    m_Records.AddTail(new sSheetSetRecord(record));
    return GetCount();
}

sSheetSetRecord* tkxSheetGroup::GetNext(POSITION& pos) const
{
    return static_cast<sSheetSetRecord*>(const_cast<CPtrList&>(m_Records).GetNext(pos));
}

namespace {

// The group's first record whose field (name or code) equals the value
// (case-sensitive; null stands for the empty text); null if none.
sSheetSetRecord* FindRecord(const tkxSheetGroup& group, CString sSheetSetRecord::*field, const wchar_t* value)
{
    const CString wanted = value ? value : L"";
    for (POSITION pos = group.GetHeadPosition(); pos;) {
        sSheetSetRecord* record = group.GetNext(pos);
        if (record->*field == wanted) return record;
    }
    return nullptr;
}

} // namespace

sSheetSetRecord* tkxSheetGroup::GetRecordByName(const wchar_t* name) const
{
    return FindRecord(*this, &sSheetSetRecord::m_SName, name);
}

sSheetSetRecord* tkxSheetGroup::GetRecordByCode(const wchar_t* code)
{
    return FindRecord(*this, &sSheetSetRecord::m_SCode, code);
}

HTREEITEM tkxSheetGroup::AddToTreeCtrl(CTreeCtrl* tree, const wchar_t* folder) const
{
    if (!tree || !tree->m_hWnd) return nullptr;
    HTREEITEM groupItem = tree->InsertItem(m_SName, 0, 1, TVI_ROOT, TVI_LAST);
    for (POSITION pos = GetHeadPosition(); pos;) {
        const sSheetSetRecord* record = GetNext(pos);
        const CString text = record->m_SCode.IsEmpty()
                                 ? record->m_SName
                                 : ClFormat(L"%s_%s", record->m_SCode.GetString(), record->m_SName.GetString());
        const bool linked = record->m_SFiles.GetSize() > 0;
        HTREEITEM recordItem = tree->InsertItem(text, linked ? 2 : 4, linked ? 3 : 5, groupItem, TVI_LAST);
        for (const CString& file : record->m_SFiles) {
            const bool exists = tkxFileName::Exist(ClFormat(L"%s/%s", folder ? folder : L"", file.GetString()));
            tree->InsertItem(file, exists ? 6 : 8, exists ? 7 : 9, recordItem, TVI_LAST);
        }
    }
    return groupItem;
}

void tkxSheetGroup::RenameFileLink(const wchar_t* oldName, const wchar_t* newName)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        sSheetSetRecord* record = GetNext(pos);
        const int i = FindFile(record->m_SFiles, oldName);
        if (i >= 0) record->m_SFiles[i] = newName ? newName : L"";
    }
}

int tkxSheetGroup::removeFileLink(const wchar_t* code, const wchar_t* file)
{
    const CString wanted = code ? code : L"";
    int removed = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        sSheetSetRecord* record = GetNext(pos);
        if (record->m_SCode != wanted) continue;
        const int i = FindFile(record->m_SFiles, file);
        if (i < 0) continue;
        record->m_SFiles.RemoveAt(i);
        removed = 1;
    }
    return removed;
}

int tkxSheetGroup::SearchSheetRecord(const wchar_t* text, CStringArray& names, CStringArray& codes) const
{
    const CString wanted = text ? text : L"";
    int found = 0;
    for (POSITION pos = GetHeadPosition(); pos;) {
        const sSheetSetRecord* record = GetNext(pos);
        if (!wanted.IsEmpty() && record->m_SCmd.Find(wanted) < 0) continue;
        names.Add(record->m_SName);
        codes.Add(record->m_SCode);
        ++found;
    }
    return found;
}

void tkxSheetGroup::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_SName;
        ar << GetCount();
        for (POSITION pos = GetHeadPosition(); pos;) {
            const sSheetSetRecord* record = GetNext(pos);
            ar << record->m_SName << record->m_SCode;
            ar << static_cast<int>(record->m_SFiles.GetSize());
            for (const CString& file : record->m_SFiles) ar << file;
        }
        return;
    }
    Reset();
    ar >> m_SName;
    // Each record is in the list before it is read, so that a damaged file
    // leaves nothing behind unowned.
    for (int i = ReadCount(ar); i > 0; --i) {
        auto* record = new sSheetSetRecord;
        m_Records.AddTail(record);
        ar >> record->m_SName >> record->m_SCode;
        for (int files = ReadCount(ar); files > 0; --files) {
            CString file;
            ar >> file;
            record->m_SFiles.Add(file);
        }
    }
}

// ---------------------------------------------------------------------------
// Sets

tkxSheetSet::tkxSheetSet() : m_Groups(10) {}

tkxSheetSet::~tkxSheetSet() { ResetContent(); }

void tkxSheetSet::ResetContent()
{
    for (POSITION pos = m_Groups.GetHeadPosition(); pos;) delete static_cast<tkxSheetGroup*>(m_Groups.GetNext(pos));
    m_Groups.RemoveAll();
}

void tkxSheetSet::ResetRecords()
{
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->ResetRecords();
}

void tkxSheetSet::SetPathName(const wchar_t* path)
{
    CString folder = path ? path : L"";
    const bool hadSeparator = !folder.IsEmpty() && (folder.Right(1) == L"/" || folder.Right(1) == L"\\");
    folder.TrimRight(L'/');
    folder.TrimRight(L'\\');
    // "C:\" stays a root: "C:" alone is the drive's current folder.
    if (hadSeparator && folder.GetLength() == 2 && folder[1] == L':') folder += L"\\";
    m_SPath = folder;
}

tkxSheetGroup* tkxSheetSet::GetNext(POSITION& pos) const
{
    return static_cast<tkxSheetGroup*>(const_cast<CPtrList&>(m_Groups).GetNext(pos));
}

int tkxSheetSet::AddGroup(const tkxSheetGroup& group)
{
    m_Groups.AddTail(new tkxSheetGroup(group));
    return GetSheetGroupCount();
}

CString tkxSheetSet::GetSheetCode(const wchar_t* name)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        if (const sSheetSetRecord* record = GetNext(pos)->GetRecordByName(name)) return record->m_SCode;
    return L"X-X-X";
}

sSheetSetRecord* tkxSheetSet::AddFileLink(const wchar_t* code, const wchar_t* file)
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        sSheetSetRecord* record = GetNext(pos)->GetRecordByCode(code);
        if (!record) continue;
        if (FindFile(record->m_SFiles, file) < 0) record->m_SFiles.Add(file ? file : L"");
        return record;
    }
    return nullptr;
}

int tkxSheetSet::RemoveFileLink(const wchar_t* group, const wchar_t* code, const wchar_t* file)
{
    const CString wanted = group ? group : L"";
    for (POSITION pos = GetHeadPosition(); pos;) {
        tkxSheetGroup* candidate = GetNext(pos);
        if (candidate->GetName() == wanted) return candidate->removeFileLink(code, file);
    }
    return 0;
}

void tkxSheetSet::RenameFileLink(const wchar_t* oldName, const wchar_t* newName)
{
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->RenameFileLink(oldName, newName);
}

int tkxSheetSet::SearchSheetRecord(const wchar_t* text, CStringArray& names, CStringArray& codes) const
{
    for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->SearchSheetRecord(text, names, codes);
    return static_cast<int>(names.GetSize());
}

void tkxSheetSet::OutputTreeCtrl(CTreeCtrl* tree) const
{
    if (!tree || !tree->m_hWnd) return;
    tree->DeleteAllItems();
    for (POSITION pos = GetHeadPosition(); pos;)
        if (HTREEITEM item = GetNext(pos)->AddToTreeCtrl(tree, m_SPath)) tree->Expand(item, TVE_EXPAND);
}

void tkxSheetSet::TakeContent(tkxSheetSet& other)
{
    ResetContent();
    m_SPath = other.m_SPath;
    m_STemplateName = other.m_STemplateName;
    for (POSITION pos = other.m_Groups.GetHeadPosition(); pos;) m_Groups.AddTail(other.m_Groups.GetNext(pos));
    other.m_Groups.RemoveAll();
}

// ---------------------------------------------------------------------------
// XML files

int tkxSheetSet::LoadXMLFile_Template(const wchar_t* file, const wchar_t* folder) { return LoadXml(file, true, folder); }

int tkxSheetSet::LoadXMLFile(const wchar_t* file) { return LoadXml(file, false, nullptr); }

int tkxSheetSet::SaveXMLFile_Template(const wchar_t* file) { return SaveXml(file, true); }

int tkxSheetSet::SaveXMLFile(const wchar_t* file) { return SaveXml(file, false); }

int tkxSheetSet::LoadXml(const wchar_t* file, bool isTemplate, const wchar_t* folder)
{
    const CString path = file ? file : L"";
    tkxSheetSet loaded;
    if (isTemplate)
        loaded.m_SPath = folder ? folder : L"";
    else
        loaded.SetPathName(FolderOf(path));

    tkxXmlDocument document;
    if (!document.LoadXMLFile(path)) {
        tkx_SetLastError(isTemplate ? CString(L"错误：解析导入XML文件失败!")
                                    : ClFormat(L"错误：解析导入文件[%s]失败!", path.GetString()));
        return 0;
    }
    tkxXmlElement* type = document.GetFirstChild(document.GetRootElement());
    if (!type) {
        tkx_SetLastError(L"错误：无法读取xml文件类型和版本信息!");
        return 0;
    }
    if (type->m_STag != (isTemplate ? kTemplateTag : kSetTag)) {
        tkx_SetLastError(ClFormat(isTemplate ? L"导入XML文件类型<%s>错误, 请选择图纸集模板文件<图纸集模板>!"
                                             : L"导入XML文件类型<%s>错误, 请选择图纸集文件<图纸集>!",
                                  type->m_STag.GetString()));
        return 0;
    }
    const CString version = type->GetValue(L"version");
    if (version != L"1.00") {
        tkx_SetLastError(ClFormat(L"导入XML文件版本(%s)错误! 当前支持版本号为(1.00)", version.GetString()));
        return 0;
    }
    loaded.m_STemplateName = type->GetValue(isTemplate ? L"name" : L"template");

    // The first child of its tag, then every later child whatever its tag.
    for (tkxXmlElement* groupElement = document.FindElement(type, L"Group"); groupElement;
         groupElement = document.GetNextSibling(type)) {
        auto* group = new tkxSheetGroup(groupElement->GetValue(L"name"));
        loaded.m_Groups.AddTail(group);
        for (tkxXmlElement* sheet = document.FindElement(groupElement, L"Sheet"); sheet;
             sheet = document.GetNextSibling(groupElement)) {
            sSheetSetRecord record;
            record.m_SName = sheet->GetValue(L"name");
            record.m_SCode = sheet->GetValue(L"code");
            record.m_SCmd = sheet->GetValue(L"cmd");
            if (!isTemplate)
                for (tkxXmlElement* link = document.FindElement(sheet, L"File"); link;
                     link = document.GetNextSibling(sheet))
                    record.m_SFiles.Add(link->GetValue(L"path"));
            group->AddRecord(record);
        }
    }
    TakeContent(loaded);
    return 1;
}

int tkxSheetSet::SaveXml(const wchar_t* file, bool isTemplate)
{
    const CString path = file ? file : L"";
    tkxXmlDocument document;
    tkxXmlElement* root = document.GetRootElement();
    root->m_STag = L"config";
    const CString head = L"version=\"1.00\" software=\"Tavix3\" ";
    tkxXmlElement* type =
        isTemplate ? AddElement(root, kTemplateTag, head + Attribute(L"name", tkxFileName(path).GetFileTitle()))
                   : AddElement(root, kSetTag, head + Attribute(L"template", m_STemplateName));
    for (POSITION pos = GetHeadPosition(); pos;) {
        const tkxSheetGroup* group = GetNext(pos);
        tkxXmlElement* groupElement = AddElement(type, L"Group", Attribute(L"name", group->GetName()));
        for (POSITION at = group->GetHeadPosition(); at;) {
            const sSheetSetRecord* record = group->GetNext(at);
            CString attributes = Attribute(L"name", record->m_SName) + L" " + Attribute(L"code", record->m_SCode);
            if (isTemplate) attributes += L" " + Attribute(L"cmd", record->m_SCmd);
            tkxXmlElement* sheet = AddElement(groupElement, L"Sheet", attributes);
            if (!isTemplate)
                for (const CString& link : record->m_SFiles) AddElement(sheet, L"File", Attribute(L"path", link));
        }
    }
    if (!document.SaveXMLFile(path)) {
        tkx_SetLastError(tkx_SaveFailureText(path, ClFormat(L"保存XML文件失败! %s", path.GetString())));
        return 0;
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Sheet-set archive

int tkxSheetSet::LoadESTFile(const wchar_t* file)
{
    const CString path = file ? file : L"";
    CFile in;
    if (path.IsEmpty() || !in.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        tkx_SetLastError(ClFormat(L"打开TAVIX图纸集文件时失败!\n\n<%s>.", path.GetString()));
        return 0;
    }
    tkxSheetSet loaded;
    loaded.SetPathName(FolderOf(path));
    bool read = false;
    try {
        CArchive ar(&in, CArchive::load);
        ar >> loaded.m_STemplateName;
        for (int groups = ReadCount(ar); groups > 0; --groups) {
            auto* group = new tkxSheetGroup;
            loaded.m_Groups.AddTail(group);
            group->Serialize(ar);
        }
        // The last group ends the file: more bytes mean a count that does
        // not describe the file.
        BYTE extra = 0;
        if (ar.Read(&extra, 1) != 0) AfxThrowArchiveException(CArchiveException::genericException, path);
        read = true;
    } catch (CException* e) {
        e->Delete();
    }
    in.Abort();
    if (!read) {
        tkx_SetLastError(ClFormat(L"读取TAVIX图纸集文件时失败!\n\n<%s>.", path.GetString()));
        return 0;
    }
    TakeContent(loaded);
    return 1;
}

int tkxSheetSet::SaveESTFile(const wchar_t* file)
{
    const CString path = file ? file : L"";
    const bool saved = !path.IsEmpty() && projectstore::WriteReplacing(path, [this](CFile& out) {
        CArchive ar(&out, CArchive::store);
        ar << m_STemplateName;
        ar << GetSheetGroupCount();
        for (POSITION pos = GetHeadPosition(); pos;) GetNext(pos)->Serialize(ar);
        ar.Close();
    });
    if (!saved) {
        tkx_SetLastError(
            tkx_SaveFailureText(path, ClFormat(L"创建/修改TAVIX图纸集文件时失败!\n\n<%s>.", path.GetString())));
        return 0;
    }
    return 1;
}
