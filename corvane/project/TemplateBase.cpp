// The slope-template library and its library file.
#include "corvane/project/TemplateBase.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/project/ProjectFolders.h"
#include "corvane/project/RegistryLists.h"
#include "corvane/project/TavixDevApp.h"

using namespace projectstore;

namespace {

CString FileNameOf(const CString& file) { return tkxFileName(file).GetFileName(); }

// Whether two paths name the same file (full paths compared without regard
// to case).
bool SamePath(const CString& a, const CString& b)
{
    wchar_t fullA[MAX_PATH * 2] = {};
    wchar_t fullB[MAX_PATH * 2] = {};
    DWORD na = GetFullPathNameW(a, MAX_PATH * 2, fullA, nullptr);
    DWORD nb = GetFullPathNameW(b, MAX_PATH * 2, fullB, nullptr);
    if (na == 0 || nb == 0 || na >= MAX_PATH * 2 || nb >= MAX_PATH * 2) return a.CompareNoCase(b) == 0;
    return CompareStringOrdinal(fullA, -1, fullB, -1, TRUE) == CSTR_EQUAL;
}

const wchar_t kRenameFailed[] = L"重命名文件<%s>时出错!";

} // namespace

tkxTemplateBase::tkxTemplateBase() = default;

tkxTemplateBase::tkxTemplateBase(const tkxTemplateBase& other) { Copy(const_cast<tkxTemplateBase*>(&other)); }

tkxTemplateBase& tkxTemplateBase::operator=(const tkxTemplateBase& other)
{
    Copy(const_cast<tkxTemplateBase*>(&other));
    return *this;
}

tkxTemplateBase::~tkxTemplateBase() = default;

void tkxTemplateBase::Reset()
{
    m_SName.Empty();
    m_SPath.Empty();
    m_SDescription.Empty();
    m_SCreateDate.Empty();
    m_STemplates.RemoveAll();
}

void tkxTemplateBase::Copy(tkxTemplateBase* other)
{
    if (!other || other == this) return;
    m_SName = other->m_SName;
    m_SPath = other->m_SPath;
    m_SDescription = other->m_SDescription;
    m_SCreateDate = other->m_SCreateDate;
    m_STemplates.Copy(other->m_STemplates);
}

CString tkxTemplateBase::FileName() const
{
    return ClFormat(L"%s\\%s.TPB", m_SPath.GetString(), m_SName.GetString());
}

// ---------------------------------------------------------------------------
// Library file

int tkxTemplateBase::Load()
{
    if (m_SPath.IsEmpty() || m_SName.IsEmpty()) return 0;
    return Load(FileName());
}

int tkxTemplateBase::Load(CString file)
{
    file.Trim();
    if (file.IsEmpty()) return 0;

    CFile in;
    if (!in.Open(file, CFile::modeRead | CFile::shareDenyWrite)) {
        ShowBox(TavixMainWindow(), ClFormat(L"打开TAVIX模板库文件时失败!\n\n<%s>.", file.GetString()),
                MB_OK | MB_ICONERROR);
        return 0;
    }

    // Read aside; a damaged file leaves this library as it was.
    tkxTemplateBase loaded;
    bool ok = true;
    try {
        CArchive ar(&in, CArchive::load);
        loaded.Serialize(ar);
        // The last template name ends the file: more bytes mean a count that
        // does not describe the file.
        BYTE extra = 0;
        if (ar.Read(&extra, 1) != 0) AfxThrowArchiveException(CArchiveException::genericException, file);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        ok = false;
    }
    in.Abort();
    if (!ok) {
        ShowBox(TavixMainWindow(), ClFormat(L"读取模板库文件<%s>失败!", file.GetString()), MB_OK | MB_ICONERROR);
        return 0;
    }

    tkxFileName name(file);
    loaded.m_SName = name.GetFileTitle();
    loaded.m_SPath = name.GetPath();
    Copy(&loaded);
    return 1;
}

int tkxTemplateBase::Save()
{
    if (m_SPath.IsEmpty() || m_SName.IsEmpty()) return 0;
    CString file = FileName();
    bool saved = WriteReplacing(file, [this](CFile& out) {
        CArchive ar(&out, CArchive::store);
        Serialize(ar);
        ar.Close();
    });
    if (!saved) {
        ShowBox(TavixMainWindow(),
                tkx_SaveFailureText(file, ClFormat(L"创建/修改TAVIX模板库文件时失败!\n\n<%s>.", file.GetString())),
                MB_OK | MB_ICONERROR);
        return 0;
    }
    return 1;
}

void tkxTemplateBase::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_SDescription << m_SCreateDate;
        ar << static_cast<int>(m_STemplates.GetSize());
        for (const CString& name : m_STemplates) ar << name;
        return;
    }
    ar >> m_SDescription >> m_SCreateDate;
    int count = 0;
    ar >> count;
    if (count < 0) AfxThrowArchiveException(CArchiveException::genericException, ar.GetFile()->GetFilePath());
    m_STemplates.RemoveAll();
    for (int i = 0; i < count; ++i) {
        CString name;
        ar >> name;
        m_STemplates.Add(name);
    }
}

// ---------------------------------------------------------------------------
// The registered library list

int tkxTemplateBase::IsValid(CString name, CString folder)
{
    CTavixDevApp& app = TavixDevApp();
    for (INT_PTR i = 0; i < app.m_STBNames.GetSize(); ++i) {
        if (app.m_STBNames[i] == name && i < app.m_STBPaths.GetSize() && app.m_STBPaths[i] != folder) return 0;
    }
    return 1;
}

short tkxTemplateBase::SearchTBList(CString name)
{
    CTavixDevApp& app = TavixDevApp();
    for (INT_PTR i = 0; i < app.m_STBNames.GetSize(); ++i)
        if (app.m_STBNames[i] == name) return static_cast<short>(i);
    return -1;
}

// ---------------------------------------------------------------------------
// Template list

int tkxTemplateBase::HasIncludeTemp(CString file)
{
    CString name = FileNameOf(file);
    for (const CString& entry : m_STemplates)
        if (entry == name) return 1;
    return 0;
}

int tkxTemplateBase::AddTemp(CString file)
{
    if (!FileExists(file)) {
        ShowBox(nullptr, ClFormat(L"模板文件不存在<%s>!", file.GetString()), MB_OK | MB_ICONERROR);
        return 0;
    }
    if (HasIncludeTemp(file)) {
        ShowBox(nullptr, ClFormat(L"当前库中已经包含了模板文件<%s>!", file.GetString()), MB_OK | MB_ICONERROR);
        return 0;
    }
    CString name = FileNameOf(file);
    CString target = ClFormat(L"%s\\%s", m_SPath.GetString(), name.GetString());
    // A template that already lies in the library folder needs no copy; any
    // other copy must succeed before the template is listed.
    if (!SamePath(file, target)) {
        if (m_SPath.IsEmpty() || !tkx_CopyReplacing(file, target)) {
            const CString own =
                ClFormat(L"复制模板文件<%s>到模板库目录<%s>失败!", file.GetString(), m_SPath.GetString());
            ShowBox(nullptr, m_SPath.IsEmpty() ? own : tkx_SaveFailureText(target, own), MB_OK | MB_ICONERROR);
            return 0;
        }
    }
    m_STemplates.Add(name);
    return 1;
}

int tkxTemplateBase::RemoveTemp(CString file)
{
    CString name = FileNameOf(file);
    for (INT_PTR i = 0; i < m_STemplates.GetSize(); ++i) {
        if (m_STemplates[i] == name) {
            m_STemplates.RemoveAt(i);
            return 1;
        }
    }
    return 0;
}

int tkxTemplateBase::RenameTemp(CString oldFile, CString newFile)
{
    CString oldName = FileNameOf(oldFile);
    CString newName = FileNameOf(newFile);
    CString oldPath = ClFormat(L"%s\\%s", m_SPath.GetString(), oldName.GetString());
    CString newPath = ClFormat(L"%s\\%s", m_SPath.GetString(), newName.GetString());
    if (oldPath == newPath) return 0;

    // Only a listed template is renamed, and never onto another listed one:
    // the file and the list must keep agreeing.
    INT_PTR entry = -1;
    for (INT_PTR i = 0; i < m_STemplates.GetSize(); ++i) {
        if (m_STemplates[i] == oldName) {
            entry = i;
            break;
        }
    }
    if (entry < 0) return 0;
    if (newName.IsEmpty() || HasIncludeTemp(newName)) {
        ShowBox(TavixMainWindow(), ClFormat(L"当前库中已经包含了模板文件<%s>!", newName.GetString()),
                MB_OK | MB_ICONERROR);
        return 0;
    }
    if (!MoveFileW(oldPath, newPath)) {
        ShowBox(TavixMainWindow(), ClFormat(kRenameFailed, oldPath.GetString()), MB_OK | MB_ICONERROR);
        return 0;
    }
    m_STemplates[entry] = newName;
    return 1;
}

int tkxTemplateBase::RenameTempBase(CString newName)
{
    newName.Trim();
    m_SName.Trim();
    if (newName == m_SName) return 1;

    CString oldName = m_SName;
    CString oldFile = FileName();
    CString problem = newName.IsEmpty() ? CString(L"名称为空") : CString();
    if (problem.IsEmpty() && newName.FindOneOf(L"<>:\"/\\|?*") >= 0) problem = L"包含非法字符";
    if (!problem.IsEmpty()) {
        ShowBox(TavixMainWindow(), ClFormat(L"模板库名称<%s>不能用作文件名: %s!", newName.GetString(), problem.GetString()),
                MB_OK | MB_ICONERROR);
        return 0;
    }
    CTavixDevApp& app = TavixDevApp();
    INT_PTR entry = -1;
    for (INT_PTR i = 0; i < app.m_STBNames.GetSize(); ++i) {
        if (app.m_STBNames[i] == newName) {
            ShowBox(TavixMainWindow(), ClFormat(L"已包含同名模板库<%s>, 无法重命名模板库!", newName.GetString()),
                    MB_OK | MB_ICONERROR);
            return 0;
        }
        if (entry < 0 && app.m_STBNames[i] == oldName && i < app.m_STBPaths.GetSize() &&
            app.m_STBPaths[i].CompareNoCase(m_SPath) == 0)
            entry = i;
    }

    CString newFile = ClFormat(L"%s\\%s.TPB", m_SPath.GetString(), newName.GetString());
    if (!MoveFileW(oldFile, newFile)) {
        ShowBox(TavixMainWindow(), ClFormat(kRenameFailed, oldFile.GetString()), MB_OK | MB_ICONERROR);
        return 0;
    }
    // The file has the new name: so have the library, its registered entry
    // and the library's current copy when it is this library.
    m_SName = newName;
    if (app.m_CurTBase.m_SName == oldName && app.m_CurTBase.m_SPath.CompareNoCase(m_SPath) == 0)
        app.m_CurTBase.m_SName = newName;
    if (entry >= 0) {
        app.m_STBNames[entry] = newName;
        tkx_SetTemplateBaseInfoToReg(nullptr);
    }
    return 1;
}
