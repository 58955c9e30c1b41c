#include "brisko/editor/BriskoDoc.h"
#include "brisko/BriskoResource.h"
#include "brisko/editor/FieldDescriptions.h"
#include "brisko/editor/TvTextView.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/FileWatch.h"
#include "corvane/platform/FileName.h"
#include "corvane/project/FileInterface.h"
#include <cstring>

const wchar_t kUnknownTypeName[] = L"未知类型文件";

const wchar_t kDataFileFilter[] =
    L"所有文件(*.*)|*.*|桩号文件(*.st)|*.st|标准横断面文件(*.hdm)|*.hdm|超高文件(*.cg)|*.cg|"
    L"桥梁桩号文件(*.QL)|*.QL|桩号断链文件(*.DL)|*.DL|平面交点线文件(*.jdx)|*.jdx|"
    L"平面交点设计文件(*.jd)|*.jd|平面积木法单元数据文件(*.icd)|*.icd|平面构造物定义文件(*.GZW)|*.GZW|"
    L"平面坐标点文件(*.ZBD)|*.ZBD|平面曲线参数文件(*.PAR)|*.PAR|平面单元设计要素文件(*.DYD)|*.DYD|"
    L"平面逐桩坐标文件(*.INF)|*.INF|纵断面地面线文件(*.dmx)|*.dmx|纵断面竖曲线文件(*.sqx)|*.sqx|"
    L"纵断面拉坡控制点文件(*.KZD)|*.KZD|纵断图断面类型文件(*.TYP)|*.TYP|纵断图地质概况文件(*.DGK)|*.DGK|"
    L"纵断图结构物文件 (*.JGW)|*.JGW|纵断图街沟设计文件(*.JGS)|*.JGS|纵断图标注文件(*.BZ)|*.BZ|"
    L"纵断图基点高程文件(*.JGC)|*.JGC|横断面地面线文件(*.hdx)|*.hdx||";

IMPLEMENT_DYNCREATE(CBriskoDoc, CDocument)

BEGIN_MESSAGE_MAP(CBriskoDoc, CDocument)
    ON_COMMAND(ID_FILE_READONLY, OnFileReadOnly)
    ON_UPDATE_COMMAND_UI(ID_FILE_READONLY, OnUpdateFileReadOnly)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_ALL, OnFileSaveAll)
END_MESSAGE_MAP()

namespace {

HWND MainWindow() { return theApp.m_pMainWnd ? theApp.m_pMainWnd->GetSafeHwnd() : nullptr; }

int Box(const CString& text, UINT type) { return ClMessageBox(MainWindow(), text, kBriskoCaption, type); }

} // namespace

// ---------------------------------------------------------------------------
// The buffer

CBriskoDoc::CBriskoTextBuffer::~CBriskoTextBuffer() = default;

void CBriskoDoc::CBriskoTextBuffer::SetModified(BOOL modified)
{
    if (m_pOwnerDoc) m_pOwnerDoc->SetModifiedFlag(modified);
}

// ---------------------------------------------------------------------------
// Life cycle

CBriskoDoc::CBriskoDoc()
    : m_iFileType(kUnknownFileType), m_SFileTypeName(kUnknownTypeName), m_TextBuffer(this), m_iReserved(0),
      m_dwFileWatch(0)
{
    std::memset(&m_lf, 0, sizeof(m_lf));
    m_lf.lfHeight = 12;
    m_lf.lfWeight = FW_NORMAL;
    m_lf.lfCharSet = GB2312_CHARSET;
    wcscpy_s(m_lf.lfFaceName, L"Fixedsys");
}

CBriskoDoc::~CBriskoDoc() { RemoveWatch(); }

void CBriskoDoc::RemoveWatch()
{
    if (m_dwFileWatch) RemoveFileWatch(m_dwFileWatch);
    m_dwFileWatch = 0;
}

void CBriskoDoc::RegisterFileWatch()
{
    RemoveWatch();
    if (m_strPathName.IsEmpty()) return;
    m_dwFileWatch = AddFileWatch(m_strPathName, nullptr, this);
    if (m_dwFileWatch) SetFileWatchOption(m_dwFileWatch, &theApp.m_bAutoReload);
}

BOOL CBriskoDoc::IsModified() { return m_bModified; }

void CBriskoDoc::SetModifiedFlag(BOOL modified) { m_bModified = modified; }

void CBriskoDoc::DeleteContents()
{
    CDocument::DeleteContents();
    m_TextBuffer.ReleaseAll();
}

BOOL CBriskoDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) return FALSE;
    m_TextBuffer.InitEmpty(0);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Type and title

int CBriskoDoc::GetFileTypeIndex(const wchar_t* path)
{
    CString ext = tkxFileName(path ? path : L"").GetExt();
    ext.MakeUpper();
    for (INT_PTR i = 0; i < theApp.m_FileStyles.GetSize(); ++i)
        if (ext == L"." + theApp.m_FileStyles[i].m_SExt) return static_cast<int>(i);
    return kUnknownFileType;
}

void CBriskoDoc::TakeFileType(const wchar_t* path)
{
    m_iFileType = GetFileTypeIndex(path);
    tkx_IsTavixFileName(path, m_SFileTypeName);
}

CString CBriskoDoc::GetFileExtension() const
{
    if (m_strPathName.IsEmpty()) return CString();
    return tkxFileName(m_strPathName).GetExt();
}

void CBriskoDoc::SetTitle(const wchar_t* title)
{
    if (m_SFileTypeName != kUnknownTypeName) {
        CDocument::SetTitle(ClFormat(L"%s:[%s]", m_strPathName.GetString(), m_SFileTypeName.GetString()));
        return;
    }
    CDocument::SetTitle(title);
}

void CBriskoDoc::SetPathName(const wchar_t* path, BOOL addToRecentList)
{
    RemoveWatch();
    CDocument::SetPathName(path, addToRecentList);
    RegisterFileWatch();
}

int CBriskoDoc::GetHdxFormat(const CString& firstLine)
{
    const int format = HdxFormatOf(firstLine);
    CurHdxSection.m_nFormat = static_cast<short>(format);
    return format;
}

// ---------------------------------------------------------------------------
// Opening and reloading

BOOL CBriskoDoc::OnOpenDocument(const wchar_t* path)
{
    CString ext = tkxFileName(path ? path : L"").GetExt();
    ext.MakeUpper();
    // The application opens projects itself; a document made for one
    // would be empty, and saving it would destroy the project file.
    if (ext == L".EPJ") {
        Box(ClFormat(L"项目文件不能作为数据文件打开:\n\n%s", path), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    // The file is opened for reading while other programs may write it.
    CFile probe;
    CFileException error;
    if (!probe.Open(path, CFile::modeRead | CFile::shareDenyNone, &error)) {
        ReportSaveLoadException(path, &error, FALSE);
        return FALSE;
    }
    probe.Close();
    DeleteContents();
    SetModifiedFlag(FALSE);
    try {
        if (m_TextBuffer.LoadFromFile(path, -1) != TRUE) return FALSE;
    } catch (CException* e) {
        e->Delete();
        AfxMessageBox(L"打开文件失败!", MB_ICONERROR);
        return FALSE;
    }
    TakeFileType(path);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CBriskoDoc::ReloadFromDisk()
{
    if (m_strPathName.IsEmpty()) return FALSE;
    if (IsModified() &&
        Box(ClFormat(L"文件<%s>已被其他程序修改.\n\n当前文档中尚未保存的修改将会丢失, 是否重新加载该文件?",
                     m_strPathName.GetString()),
            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;

    CBriskoTextBuffer loaded;
    BOOL read = FALSE;
    try {
        read = loaded.LoadFromFile(m_strPathName, -1) == TRUE;
    } catch (CException* e) {
        e->Delete();
    }
    if (!read) {
        Box(ClFormat(L"重新加载文件失败, 文档内容保持不变:\n\n%s", m_strPathName.GetString()),
            MB_OK | MB_ICONERROR);
        return FALSE;
    }
    // A document the user made read-only stays so: the new text is no
    // reason to allow editing it.
    const BOOL readOnly = m_TextBuffer.GetReadOnly();
    m_TextBuffer.TakeText(loaded);
    if (readOnly) m_TextBuffer.SetReadOnly(TRUE);
    TakeFileType(m_strPathName);
    SetModifiedFlag(FALSE);
    UpdateAllViews(nullptr);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Saving

BOOL CBriskoDoc::OnSaveDocument(const wchar_t* path)
{
    // No watch while the program writes the file itself: the watch taken
    // again afterwards starts from the new file.
    RemoveWatch();
    TakeFileType(path);
    // The buffer tells the user why a save failed.
    BOOL saved = FALSE;
    try {
        saved = m_TextBuffer.SaveToFile(path, -1, TRUE);
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
    RegisterFileWatch();
    return saved;
}

BOOL CBriskoDoc::DoFileSave()
{
    if (!m_strPathName.IsEmpty()) return OnSaveDocument(m_strPathName);
    CString path;
    if (!theApp.m_CurProject.m_SPath.IsEmpty()) path = theApp.m_CurProject.m_SPath + L"\\*.*";
    if (tkx_FileDialog(0, path, L"", theApp.m_pMainWnd, kDataFileFilter, L"保存TAVIX数据文件") != 1) return FALSE;
    SetPathName(path, TRUE);
    tkx_IsTavixFileName(path, m_SFileTypeName);
    SetTitle(path);
    return OnSaveDocument(path);
}

void CBriskoDoc::OnFileSave() { DoFileSave(); }

void CBriskoDoc::OnFileSaveAll()
{
    for (POSITION pos = theApp.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* documentTemplate = theApp.GetNextDocTemplate(pos);
        for (POSITION doc = documentTemplate->GetFirstDocPosition(); doc;)
            documentTemplate->GetNextDoc(doc)->DoFileSave();
    }
}

// ---------------------------------------------------------------------------
// Read-only and the views' settings

void CBriskoDoc::OnFileReadOnly()
{
    if (m_TextBuffer.GetReadOnly()) {
        m_TextBuffer.SetReadOnly(FALSE);
    } else {
        m_TextBuffer.SetReadOnly(TRUE);
        Box(ClFormat(L"%s文件被设置为只读!", m_strPathName.GetString()), MB_OK | MB_ICONINFORMATION);
    }
    UpdateAllViews(nullptr);
}

void CBriskoDoc::OnUpdateFileReadOnly(CCmdUI* ui) { ui->SetCheck(m_TextBuffer.GetReadOnly() ? 1 : 0); }

namespace {

template <class Apply>
void ForEachTextView(CDocument* document, Apply apply)
{
    for (POSITION pos = document->GetFirstViewPosition(); pos;) {
        CView* view = document->GetNextView(pos);
        if (view && view->IsKindOf(RUNTIME_CLASS(CTvTextView))) apply(static_cast<CTvTextView*>(view));
    }
}

} // namespace

void CBriskoDoc::SetTabWidth(int width)
{
    ForEachTextView(this, [&](CTvTextView* view) { view->SetTabSize(static_cast<short>(width)); });
}

void CBriskoDoc::SetMarginWidth(int width)
{
    ForEachTextView(this, [&](CTvTextView* view) { view->SetMarginWidth(static_cast<short>(width)); });
}

void CBriskoDoc::SetLinePitch(int pitch)
{
    ForEachTextView(this, [&](CTvTextView* view) { view->SetLinePitch(static_cast<short>(pitch)); });
}
