#include "brisko/templates/TreeViewTemplate.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/Messages.h"
#include "brisko/shell/SharedDialogs.h"
#include "brisko/shell/Utility.h"
#include "brisko/templates/Dialog_TemplateBase.h"
#include "brisko/templates/Dialog_TemplateEdit.h"
#include "brisko/templates/Dialog_Template_Copy.h"
#include "brisko/templates/SlopePicture.h"
#include "brisko/templates/TvTemplate.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/project/FileInterface.h"
#include "corvane/project/TavixInterface.h"
#include <vector>

IMPLEMENT_DYNCREATE(CTreeViewTemplate, CTreeView)

namespace {

int Box(CWnd* owner, const CString& text, UINT type)
{
    return ClMessageBox(owner ? owner->GetSafeHwnd() : nullptr, text, kBriskoCaption, type);
}

// The information page shows the shared preview.
void AnnouncePreview()
{
    if (CMainFrame* frame = theApp.MainFrame()) frame->ShowInfoBarPreview(L"SHOWSLOPE");
    if (theApp.m_pMainWnd) theApp.m_pMainWnd->SendMessage(WM_SHOWTEMPLATEPREVIEW, 0, 0);
}

// The commands of the two context menus and their texts.
const struct {
    UINT id;
    const wchar_t* text;
} kCommands[] = {
    {ID_TBASE_NEW, L"新建模板库"},          {ID_TBASE_OPEN, L"打开模板库"},       {ID_TBASE_IMPORT, L"导入模板库"},
    {ID_TBASE_EXPORT, L"导出模板库压缩包"}, {ID_TBASE_DELETE, L"删除当前模板库"}, {ID_TBASE_MODIFY, L"修改模板库信息..."},
    {ID_TBASE_EXPLORE, L"打开模板库文件夹"}, {ID_TEMPLATE_EDIT, L"编辑模板"},      {ID_TEMPLATE_WIZARD, L"新建模板向导"},
    {ID_TEMPLATE_IMPORT, L"导入模板"},      {ID_TEMPLATE_SAVEAS, L"另存模板"},    {ID_TEMPLATE_RENAME, L"重命名模板"},
    {ID_TEMPLATE_DELETE, L"删除模板"},
};

// Appends the commands in order; 0 is a separator.
void AppendCommands(CMenu& menu, std::initializer_list<UINT> ids)
{
    for (UINT id : ids) {
        if (id == 0) {
            menu.AppendMenu(MF_SEPARATOR);
            continue;
        }
        for (const auto& command : kCommands)
            if (command.id == id) menu.AppendMenu(MF_STRING, id, command.text);
    }
}

bool FolderExists(const CString& folder)
{
    const DWORD attributes = ::GetFileAttributesW(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

BEGIN_MESSAGE_MAP(CTreeViewTemplate, CTreeView)
    ON_WM_CREATE()
    ON_WM_KEYDOWN()
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_NOTIFY_REFLECT(NM_CLICK, OnLeftClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDoubleClick)
    ON_COMMAND(ID_TBASE_NEW, OnNewLibrary)
    ON_COMMAND(ID_TBASE_OPEN, OnOpenLibrary)
    ON_COMMAND(ID_TBASE_MODIFY, OnModifyLibrary)
    ON_COMMAND(ID_TBASE_EXPLORE, OnExploreLibrary)
    ON_COMMAND(ID_TBASE_IMPORT, OnImportLibrary)
    ON_COMMAND(ID_TBASE_EXPORT, OnExportLibrary)
    ON_COMMAND(ID_TBASE_DELETE, OnDeleteLibrary)
    ON_COMMAND(ID_TEMPLATE_WIZARD, OnNewTemplate)
    ON_COMMAND(ID_TEMPLATE_IMPORT, OnImportTemplates)
    ON_COMMAND(ID_TEMPLATE_EDIT, OnEditTemplate)
    ON_COMMAND(ID_TEMPLATE_SAVEAS, OnSaveTemplateAs)
    ON_COMMAND(ID_TEMPLATE_RENAME, OnRenameTemplate)
    ON_COMMAND(ID_TEMPLATE_DELETE, OnDeleteTemplate)
END_MESSAGE_MAP()

CTreeViewTemplate::CTreeViewTemplate() = default;

CTreeViewTemplate::~CTreeViewTemplate() { delete m_pMenu; }

BOOL CTreeViewTemplate::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS;
    return CTreeView::PreCreateWindow(cs);
}

int CTreeViewTemplate::OnCreate(LPCREATESTRUCT cs)
{
    if (CTreeView::OnCreate(cs) == -1) return -1;
    if (m_ilTree.Create(IDB_TEMPLATE_TREE, 16, 0, RGB(0, 255, 0))) GetTreeCtrl().SetImageList(&m_ilTree, TVSIL_NORMAL);
    return 0;
}

void CTreeViewTemplate::OnInitialUpdate()
{
    CTreeView::OnInitialUpdate();
    RebuildTree();
}

// ---------------------------------------------------------------------------
// The tree

void CTreeViewTemplate::RebuildTree()
{
    CTreeCtrl& tree = GetTreeCtrl();
    tree.DeleteAllItems();
    m_hRoot = m_hRecords = nullptr;
    const tkxTemplateBase& library = theApp.m_CurTBase;
    if (library.m_SName.IsEmpty() || library.m_SPath.IsEmpty()) return;
    m_hRoot = tree.InsertItem(L"模板库名称: " + library.m_SName, 0, 1);
    tree.InsertItem(L"模板库路径: " + library.m_SPath, 2, 3, m_hRoot);
    tree.InsertItem(L"模板库描述: " + library.m_SDescription, 4, 5, m_hRoot);
    tree.InsertItem(L"创建时间: " + library.m_SCreateDate, 6, 7, m_hRoot);
    const int count = static_cast<int>(library.m_STemplates.GetSize());
    m_hRecords = tree.InsertItem(ClFormat(L"模板记录:<包含%d个模板>", count), 8, 9, m_hRoot);
    for (int i = 0; i < count; ++i) {
        const CString& name = library.m_STemplates[i];
        const bool present = tkxFileName::Exist(library.m_SPath + L"\\" + name);
        tree.InsertItem(ClFormat(L"模板%d: %s", i + 1, name.GetString()), present ? 8 : 10, present ? 9 : 11, m_hRecords);
    }
    tree.Expand(m_hRoot, TVE_EXPAND);
    tree.Expand(m_hRecords, TVE_EXPAND);
}

int CTreeViewTemplate::TemplateIndexOf(HTREEITEM item) const
{
    const CTreeCtrl& tree = GetTreeCtrl();
    if (!item || !m_hRecords || tree.GetParentItem(item) != m_hRecords) return -1;
    int index = 0;
    for (HTREEITEM sibling = tree.GetChildItem(m_hRecords); sibling && sibling != item;
         sibling = tree.GetNextSiblingItem(sibling))
        ++index;
    return index;
}

CString CTreeViewTemplate::TemplatePath(int index) const
{
    const tkxTemplateBase& library = theApp.m_CurTBase;
    if (index < 0 || index >= library.m_STemplates.GetSize()) return CString();
    return library.m_SPath + L"\\" + library.m_STemplates[index];
}

HTREEITEM CTreeViewTemplate::ItemAtCursor() const
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    return GetTreeCtrl().HitTest(point);
}

BOOL CTreeViewTemplate::StoreLibrary() { return tkx_UpdateTBase(&theApp.m_CurTBase, 1) == 1; }

// ---------------------------------------------------------------------------
// Mouse and keys

CMenu* CTreeViewTemplate::BuildMenu(HTREEITEM item)
{
    delete m_pMenu;
    m_pMenu = new CMenu;
    m_pMenu->CreatePopupMenu();
    const int index = TemplateIndexOf(item);
    if (index >= 0) {
        m_iTemplateHit = index;
        AppendCommands(*m_pMenu, {ID_TEMPLATE_EDIT, ID_TEMPLATE_WIZARD, ID_TEMPLATE_IMPORT, ID_TEMPLATE_SAVEAS,
                                  ID_TEMPLATE_RENAME, ID_TEMPLATE_DELETE, 0, ID_TBASE_NEW, ID_TBASE_OPEN, ID_TBASE_IMPORT,
                                  ID_TBASE_EXPORT, ID_TBASE_DELETE, ID_TBASE_MODIFY, ID_TBASE_EXPLORE});
    } else if (m_hRoot) {
        AppendCommands(*m_pMenu, {ID_TBASE_NEW, ID_TBASE_OPEN, 0, ID_TBASE_IMPORT, ID_TBASE_EXPORT, ID_TBASE_DELETE, 0,
                                  ID_TBASE_MODIFY, ID_TBASE_EXPLORE, 0, ID_TEMPLATE_WIZARD, ID_TEMPLATE_IMPORT});
    } else {
        AppendCommands(*m_pMenu, {ID_TBASE_NEW, ID_TBASE_OPEN, 0, ID_TBASE_IMPORT});
    }
    return m_pMenu;
}

void CTreeViewTemplate::OnRightClick(NMHDR*, LRESULT* result)
{
    *result = 1;
    const HTREEITEM item = ItemAtCursor();
    if (item) GetTreeCtrl().SelectItem(item);
    CMenu* menu = BuildMenu(item);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
}

void CTreeViewTemplate::OnLeftClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    const int index = TemplateIndexOf(ItemAtCursor());
    if (index < 0) return;
    m_iTemplateHit = index;
    PreviewTemplate(index);
}

void CTreeViewTemplate::OnDoubleClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    const int index = TemplateIndexOf(ItemAtCursor());
    if (index < 0) return;
    m_iTemplateHit = index;
    OnEditTemplate();
}

void CTreeViewTemplate::DeleteSelectedTemplate()
{
    const int index = TemplateIndexOf(GetTreeCtrl().GetSelectedItem());
    if (index < 0) return;
    m_iTemplateHit = index;
    OnDeleteTemplate();
}

void CTreeViewTemplate::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_DELETE) {
        DeleteSelectedTemplate();
        return;
    }
    CTreeView::OnKeyDown(key, repeat, flags);
}

BOOL CTreeViewTemplate::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_DELETE && msg->hwnd == m_hWnd) {
        DeleteSelectedTemplate();
        return TRUE;
    }
    return CTreeView::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------
// Preview and editing

void CTreeViewTemplate::PreviewTemplate(int index)
{
    const CString path = TemplatePath(index);
    if (path.IsEmpty()) return;
    const CString name = theApp.m_CurTBase.m_STemplates[index];
    SlopePreviewLines.RemoveAll();
    const CString result = CTvTemplate(name).Load(SlopePreviewLines, theApp.m_CurTBase.m_SPath);
    if (result != kTemplateLoaded) {
        PrintToMainInfoWindow(L"读取文件[%s]错误!\n%s.", name.GetString(), result.GetString());
        return;
    }
    if (SlopePreviewLines.GetSize() == 0) {
        PrintToMainInfoWindow(L"读取文件[%s]内容为空!.", name.GetString());
        return;
    }
    SlopePreviewPath = path;
    AnnouncePreview();
}

CString CTreeViewTemplate::RunEditor(CSlopeLineArray& lines, const CString& path, short newTemplate)
{
    CDialog_TemplateEdit dialog(this);
    dialog.m_pSlopeLines = &lines;
    dialog.m_nCurLine = 0;
    dialog.m_STemplatePath = path;
    dialog.m_bNewTemplate = newTemplate;
    theApp.m_bExitEnabled = FALSE;
    dialog.DoModal();
    theApp.m_bExitEnabled = TRUE;
    return newTemplate && dialog.m_bNewTemplate ? CString() : dialog.m_STemplatePath;
}

void CTreeViewTemplate::OnNewTemplate()
{
    CSlopeLineArray lines;
    CSlopeLine line;
    line.m_iFixedType = 0;
    line.m_rFixedValue = 1.5;
    line.m_iEndMode = 0;
    line.m_iEndType = 0;
    line.m_rEndValue = 3.0;
    line.m_bLabelOffsetElev = 1;
    line.m_iLabelOffsetElevPos = 2;
    line.m_bLabelSlope = 1;
    line.m_iSlopeLabelStyle = 0;
    line.m_bSaveEndOffset = line.m_bSavePosType = line.m_bSaveLength = 1;
    line.SetStartPoint(sSketchPoint{1.0f, -1.0f});
    line.CalcSketch();
    lines.Add(line);
    const CString path = RunEditor(lines, CString(), 1);
    if (path.IsEmpty()) return;
    if (!theApp.m_CurTBase.AddTemp(path)) {
        Box(this, ClFormat(L"添加模板记录<%s>时出错!", path.GetString()), MB_ICONERROR);
        return;
    }
    if (StoreLibrary()) {
        RebuildTree();
        PrintToMainInfoWindow(L"新建模板:%s", path.GetString());
    } else {
        PrintToMainInfoWindow(L"新建模板[%s]失败!", path.GetString());
    }
}

void CTreeViewTemplate::OnEditTemplate()
{
    const CString path = TemplatePath(m_iTemplateHit);
    if (path.IsEmpty()) return;
    CSlopeLineArray lines;
    const CString result = CTvTemplate(theApp.m_CurTBase.m_STemplates[m_iTemplateHit]).Load(lines, theApp.m_CurTBase.m_SPath);
    if (result != kTemplateLoaded) {
        Box(this, ClFormat(L"读取文件[%s]错误!\n\n%s.", path.GetString(), result.GetString()), MB_ICONERROR);
        return;
    }
    RunEditor(lines, path, 0);
    PrintToMainInfoWindow(L"编辑模板:%s", path.GetString());
}

void CTreeViewTemplate::OnImportTemplates()
{
    std::vector<wchar_t> names(4000, L'\0');
    CFileDialog dialog(TRUE, L"TYP", nullptr, OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER,
                       L"Tavix边坡模板文件(*.TYP)|*.TYP||", this);
    dialog.m_ofn.lpstrFile = names.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(names.size());
    dialog.m_ofn.lpstrTitle = L"选择一个或多个边坡模板文件";
    if (dialog.DoModal() != IDOK) return;
    tkxTemplateBase& library = theApp.m_CurTBase;
    for (POSITION position = dialog.GetStartPosition(); position;) {
        const CString path = dialog.GetNextPathName(position);
        if (library.HasIncludeTemp(path))
            Box(this, ClFormat(L"%s文件\n\n已经包含在当前模板库中!", path.GetString()), MB_ICONINFORMATION);
        else if (library.AddTemp(path))
            PrintToMainInfoWindow(L"导入模板:%s", path.GetString());
    }
    StoreLibrary();
    RebuildTree();
}

void CTreeViewTemplate::OnSaveTemplateAs()
{
    const CString oldPath = TemplatePath(m_iTemplateHit);
    if (oldPath.IsEmpty()) return;
    const CString name = theApp.m_CurTBase.m_STemplates[m_iTemplateHit];
    CDialog_Template_Copy dialog(this);
    dialog.m_SOldName = dialog.m_SNewName = name;
    dialog.m_bRename = 0;
    if (dialog.DoModal() != IDOK || dialog.m_SNewName == name) return;
    const CString newPath = theApp.m_CurTBase.m_SPath + L"\\" + tkxFileName(dialog.m_SNewName).GetFileName();
    const bool copied = tkx_CopyReplacing(oldPath, newPath);
    if (copied && theApp.m_CurTBase.AddTemp(newPath) && StoreLibrary()) {
        RebuildTree();
        PrintToMainInfoWindow(L"复制模板[%s]为[%s]", oldPath.GetString(), newPath.GetString());
    } else {
        // One line of the log: the read-only sentence, if that is why the
        // copy failed, follows on it.
        const CString readOnly = copied ? CString() : tkx_ReadOnlyTargetText(newPath);
        PrintToMainInfoWindow(L"复制模板[%s]失败!%s%s", oldPath.GetString(), readOnly.IsEmpty() ? L"" : L" ",
                              readOnly.GetString());
    }
}

void CTreeViewTemplate::OnRenameTemplate()
{
    const CString oldPath = TemplatePath(m_iTemplateHit);
    if (oldPath.IsEmpty()) return;
    if (!tkxFileName::Exist(oldPath)) {
        Box(this, ClFormat(L"%s\n\n边坡模板文件不存在!", oldPath.GetString()), MB_ICONERROR);
        return;
    }
    CDialog_Template_Copy dialog(this);
    dialog.m_SOldName = dialog.m_SNewName = oldPath;
    dialog.m_bRename = 1;
    if (dialog.DoModal() != IDOK) return;
    const CString newPath = theApp.m_CurTBase.m_SPath + L"\\" + tkxFileName(dialog.m_SNewName).GetFileName();
    if (theApp.m_CurTBase.RenameTemp(oldPath, newPath) && StoreLibrary()) {
        RebuildTree();
        PrintToMainInfoWindow(L"模板文件%s改名为%s.", oldPath.GetString(), newPath.GetString());
        // The preview shows the template under its new name.
        SlopePreviewPath = newPath;
        AnnouncePreview();
    } else {
        PrintToMainInfoWindow(L"模板文件%s改名失败!", oldPath.GetString());
    }
}

void CTreeViewTemplate::OnDeleteTemplate()
{
    const CString path = TemplatePath(m_iTemplateHit);
    if (path.IsEmpty()) return;
    const short choice =
        SelectMessageBox(kBriskoCaption, ClFormat(L"文件名:%s\n\n请选择:删除模板文件, 还是仅去除模板记录?", path.GetString()),
                         L"删除文件", L"去除记录");
    if (choice == 1) {
        if (tkxFileName::Exist(path) && !::DeleteFileW(path)) {
            Box(this, ClFormat(L"删除边坡模板文件<%s>失败!", path.GetString()), MB_ICONERROR);
            return;
        }
        PrintToMainInfoWindow(L"删除模板文件[%s]", path.GetString());
    } else if (choice == 2) {
        PrintToMainInfoWindow(L"删除模板记录[%s]", path.GetString());
    } else {
        return;
    }
    theApp.m_CurTBase.RemoveTemp(path);
    m_iTemplateHit = -1;
    StoreLibrary();
    RebuildTree();
}

// ---------------------------------------------------------------------------
// Libraries

void CTreeViewTemplate::OnNewLibrary()
{
    CDialog_TemplateBase dialog(this);
    dialog.m_nMode = CDialog_TemplateBase::kCreate;
    if (dialog.DoModal() != IDOK) return;
    // A scratch library: the current one changes only when the suite took
    // the new one, and no library file of that name is overwritten.
    tkxTemplateBase library;
    library.m_SName = dialog.m_SName.Trim();
    library.m_SPath = dialog.m_SPath.Trim();
    library.m_SDescription = dialog.m_SDescription;
    library.m_SCreateDate = dialog.m_SCreateTime;
    const CString file = ClFormat(L"%s\\%s.TPB", library.m_SPath.GetString(), library.m_SName.GetString());
    if (tkxFileName::Exist(file)) {
        Box(this, ClFormat(L"模板库文件<%s>已经存在, 可以使用<导入模板库>命令打开它!", file.GetString()), MB_ICONERROR);
        PrintToMainInfoWindow(L"新建模板库[%s]失败!", library.m_SName.GetString());
        return;
    }
    if (tkx_AddTBase(&library, m_hWnd) != 1) {
        PrintToMainInfoWindow(L"新建模板库[%s]失败!", library.m_SName.GetString());
        return;
    }
    theApp.m_CurTBase = library;
    RebuildTree();
    PrintToMainInfoWindow(L"新建模板库:%s", library.m_SName.GetString());
}

void CTreeViewTemplate::OnOpenLibrary()
{
    CDialog_TemplateBase dialog(this);
    dialog.m_nMode = CDialog_TemplateBase::kOpen;
    const tkxTemplateBase& current = theApp.m_CurTBase;
    dialog.m_SName = current.m_SName;
    dialog.m_SPath = current.m_SPath;
    dialog.m_SDescription = current.m_SDescription;
    dialog.m_SCreateTime = current.m_SCreateDate;
    if (dialog.DoModal() != IDOK) return;
    RebuildTree();
    PrintToMainInfoWindow(L"设置当前模板库:%s", theApp.m_CurTBase.m_SName.GetString());
}

void CTreeViewTemplate::OnModifyLibrary()
{
    CDialog_TemplateBase dialog(this);
    dialog.m_nMode = CDialog_TemplateBase::kModify;
    tkxTemplateBase& current = theApp.m_CurTBase;
    dialog.m_SName = current.m_SName;
    dialog.m_SPath = current.m_SPath;
    dialog.m_SDescription = current.m_SDescription;
    dialog.m_SCreateTime = current.m_SCreateDate;
    if (dialog.DoModal() != IDOK) return;
    const CString name = dialog.m_SName.Trim();
    if (name != current.m_SName && !current.RenameTempBase(name)) {
        PrintToMainInfoWindow(L"修改模板库[%s]失败.", current.m_SName.GetString());
        return;
    }
    current.m_SDescription = dialog.m_SDescription;
    current.m_SCreateDate = dialog.m_SCreateTime;
    if (StoreLibrary()) {
        RebuildTree();
        PrintToMainInfoWindow(L"修改模板库[%s]信息.", current.m_SName.GetString());
    } else {
        PrintToMainInfoWindow(L"修改模板库[%s]失败.", current.m_SName.GetString());
    }
}

void CTreeViewTemplate::OnExploreLibrary()
{
    const CString folder = theApp.m_CurTBase.m_SPath;
    if (FolderExists(folder)) RunShellVerb(L"explore", folder);
}

void CTreeViewTemplate::OnImportLibrary()
{
    CString path;
    if (tkx_FileDialog(1, path, L"TPB", this, L"TAVIX模板库文件(*.TPB)|*.TPB|", L"打开TAVIX模板库文件") != 1) return;
    // Read aside: the current library changes only when the suite opened
    // or added the imported one.
    tkxTemplateBase library;
    if (!library.Load(path)) return;
    if (!library.IsValid(library.m_SName, library.m_SPath)) {
        Box(this,
            ClFormat(L"模板库<%s>已经包含在模板库表中，请将<%s>文件改名后重试!", library.m_SName.GetString(), path.GetString()),
            MB_ICONERROR);
        return;
    }
    if (library.m_SName == theApp.m_CurTBase.m_SName) {
        Box(this, ClFormat(L"模板库<%s>已经打开!", library.m_SName.GetString()), MB_ICONINFORMATION);
        return;
    }
    int done = 0;
    if (!tkx_GetTBasePath(library.m_SName).IsEmpty()) {
        tkxTemplateBase opened;
        done = tkx_OpenTBase(library.m_SName, &opened, m_hWnd);
        if (done == 1) library = opened;
    } else {
        done = tkx_AddTBase(&library, m_hWnd);
    }
    if (done != 1) {
        PrintToMainInfoWindow(L"导入模板库[%s]失败!", library.m_SName.GetString());
        return;
    }
    theApp.m_CurTBase = library;
    RebuildTree();
    PrintToMainInfoWindow(L"导入模板库:%s", library.m_SName.GetString());
}

// Offered in the menus; what a package of a library should hold is not
// settled, so it does nothing.
void CTreeViewTemplate::OnExportLibrary() {}

void CTreeViewTemplate::OnDeleteLibrary()
{
    const CString name = theApp.m_CurTBase.m_SName;
    const CString question = ClFormat(L"是否删除当前模板库<%s>?\n\n注: 仅删除模板库记录，不删除模板库文件,\n\n"
                                      L"用户可以使用<导入模板库>命令将其恢复.",
                                      name.GetString());
    if (Box(this, question, MB_YESNO | MB_ICONQUESTION) == IDNO) return;
    tkxTemplateBase next;
    if (tkx_RemoveTBase(name, &next, m_hWnd) != 1) {
        PrintToMainInfoWindow(L"删除模板库:%s失败!", name.GetString());
        return;
    }
    theApp.m_CurTBase = next;
    RebuildTree();
    PrintToMainInfoWindow(L"删除模板库:%s, 用户可以使用<导入模板库>命令将其恢复.", name.GetString());
}
