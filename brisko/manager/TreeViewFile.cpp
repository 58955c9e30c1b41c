#include "brisko/manager/TreeViewFile.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/ManagerShared.h"
#include "brisko/manager/RoadInfo.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/MainFrm.h"
#include "brisko/shell/SharedDialogs.h"
#include "brisko/shell/Utility.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/FileReplace.h"
#include "corvane/project/TavixInterface.h"
#include <map>
#include <vector>

using namespace Tavix4;

IMPLEMENT_DYNCREATE(CTreeViewFile, CManagerTree)

namespace {

const wchar_t* const kGroupNames[CTreeViewFile::kGroups] = {L"道路全局数据", L"平面数据",     L"纵断面数据",
                                                            L"横断面数据",   L"用户定义数据", L"用户定义图形"};
// The images of an existing file of each group; a missing file has 16/17.
const int kGroupImages[CTreeViewFile::kGroups] = {14, 4, 6, 8, 10, 12};
const int kMissingImage = 16;

const wchar_t kUserDataPrefix[] = L"用户数据:";
const wchar_t kUserDrawingPrefix[] = L"用户图形:";

tkxProject& Project() { return theApp.m_CurProject; }

DWORD_PTR ItemData(CTreeViewFile::ItemKind kind, int group) { return static_cast<DWORD_PTR>(kind | (group << 8)); }

// The text after the first ":", or the whole text.
CString AfterColon(const CString& text)
{
    const int colon = text.Find(L':');
    return colon < 0 ? text : text.Mid(colon + 1);
}

CString UpperExtension(const CString& name)
{
    const int dot = name.ReverseFind(L'.');
    if (dot < 0 || dot < name.ReverseFind(L'\\')) return CString();
    CString ext = name.Mid(dot + 1);
    return ext.MakeUpper();
}

// The first type of that extension in the table; null when none.
const sFileStyle* StyleOf(const CString& ext)
{
    for (const sFileStyle& style : theApp.m_FileStyles)
        if (CString(style.m_SExt).MakeUpper() == ext) return &style;
    return nullptr;
}

// The files of a folder (no sub-folders) by upper-case extension, in the
// order the search gives.
std::map<CString, std::vector<CString>> FilesByExtension(const CString& folder)
{
    std::map<CString, std::vector<CString>> files;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW(folder + L"\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const CString name = found.cFileName;
        files[UpperExtension(name)].push_back(name);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return files;
}

} // namespace

BEGIN_MESSAGE_MAP(CTreeViewFile, CManagerTree)
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, OnSelectionChanged)
    ON_COMMAND(ID_DATA_OPEN, OnOpenFile)
    ON_COMMAND(ID_DATA_IMPORT, OnImportFile)
    ON_COMMAND(ID_DATA_DELETE, OnDeleteFile)
    ON_COMMAND(ID_ROAD_EXPLORE, OnExploreRoad)
    ON_COMMAND(ID_USER_ADDDATA, OnAddUserData)
    ON_COMMAND(ID_USER_ADDDRAWING, OnAddUserDrawing)
    ON_COMMAND(ID_USER_REMOVEDATA, OnRemoveUserData)
    ON_COMMAND(ID_USER_REMOVEDRAWING, OnRemoveUserDrawing)
    ON_COMMAND_RANGE(ID_TOOL_RM_PM, ID_TOOL_HINT_DMX, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_GZW_GZX, ID_TOOL_GZW_GZX, OnToolCommand)
    ON_COMMAND_RANGE(ID_TOOL_GZX_QL, ID_TOOL_GZX_QL, OnToolCommand)
END_MESSAGE_MAP()

CTreeViewFile::CTreeViewFile() : CManagerTree(IDB_FILE_TREE) {}

CTreeViewFile::~CTreeViewFile() = default;

int CTreeViewFile::CurrentRoad() const
{
    const tkxProject& project = Project();
    if (project.m_SName.IsEmpty() || project.m_SPath.IsEmpty()) return -1;
    const int road = project.m_iCurRoad;
    return road >= 0 && road < project.GetRoadCount() ? road : -1;
}

CTreeViewFile::ItemKind CTreeViewFile::KindOf(HTREEITEM item) const
{
    return item ? static_cast<ItemKind>(GetTreeCtrl().GetItemData(item) & 0xFF) : kNone;
}

int CTreeViewFile::GroupOf(HTREEITEM item) const
{
    return item ? static_cast<int>((GetTreeCtrl().GetItemData(item) >> 8) & 0xFF) : -1;
}

CString CTreeViewFile::FileOf(HTREEITEM item) const
{
    const int road = CurrentRoad();
    if (road < 0) return CString();
    const CString text = GetTreeCtrl().GetItemText(item);
    switch (KindOf(item)) {
    case kRoadFile: return Project().GetRoadDirectory(road) + L"\\" + AfterColon(text);
    case kUserData:
    case kUserDrawing: return AfterColon(text);
    default: return CString();
    }
}

void CTreeViewFile::ShowFileState(HTREEITEM item, bool exists)
{
    const int group = GroupOf(item);
    const int image = exists && group >= 0 && group < kGroups ? kGroupImages[group] : kMissingImage;
    GetTreeCtrl().SetItemImage(item, image, image + 1);
}

// ---------------------------------------------------------------------------
// The tree

void CTreeViewFile::BuildTree()
{
    CTreeCtrl& tree = GetTreeCtrl();
    // Without a project nothing of an earlier one stays on show.
    tree.DeleteAllItems();
    m_hRoot = nullptr;
    m_hSelected = nullptr;
    for (HTREEITEM& group : m_hGroups) group = nullptr;
    tkxProject& project = Project();
    if (project.m_SName.IsEmpty() || project.m_SPath.IsEmpty()) return;
    const int road = CurrentRoad();
    if (road < 0) {
        AddTreeItem(tree, L"未定义当前道路", nullptr, 0, 1, ItemData(kNoRoad, 0));
        return;
    }

    const CString name = project.GetRoadName(road);
    const CString folder = project.GetRoadDirectory(road);
    m_hRoot = AddTreeItem(tree, L"道路名称: " + name, nullptr, 0, 1, ItemData(kRoot, 0));
    for (int g = 0; g < kGroups; ++g) m_hGroups[g] = AddTreeItem(tree, kGroupNames[g], m_hRoot, 2, 3, ItemData(kGroup, g));

    const std::map<CString, std::vector<CString>> files = FilesByExtension(folder);
    for (const sFileStyle& style : theApp.m_FileStyles) {
        const int group = style.m_nNumber;
        if (group < 0 || group > kSectionGroup) continue;
        const int bracket = style.m_STypeName.Find(L')');
        const CString typeText = bracket < 0 ? CString() : style.m_STypeName.Left(bracket + 1);
        HTREEITEM type = AddTreeItem(tree, typeText, m_hGroups[group], 20, 21, ItemData(kFileType, group));
        const CString ext = CString(style.m_SExt).MakeUpper();
        const CString standard = ClFormat(L"%s.%s", name.GetString(), style.m_SExt.GetString());
        const bool exists = tkxFileName::Exist(folder + L"\\" + standard);
        const int image = exists ? kGroupImages[group] : kMissingImage;
        AddTreeItem(tree, standard, type, image, image + 1, ItemData(kRoadFile, group));
        if (exists) tree.Expand(type, TVE_EXPAND);
        const auto listed = files.find(ext);
        if (listed == files.end()) continue;
        for (const CString& file : listed->second) {
            if (file.CompareNoCase(standard) == 0) continue;
            AddTreeItem(tree, file, type, kGroupImages[group], kGroupImages[group] + 1, ItemData(kRoadFile, group));
        }
    }

    const bool capped = tkxFileName::Exist(folder + L"\\BpsjInfo.txt");
    const int cappedImage = capped ? kGroupImages[kSectionGroup] : kMissingImage;
    AddTreeItem(tree, ClFormat(L"%s_戴帽信息.txt", name.GetString()), m_hGroups[kSectionGroup], cappedImage,
                cappedImage + 1, ItemData(kRoadFile, kSectionGroup));

    const CRoadInfo info(project.m_Roads[road]);
    CStringArray entries;
    info.GetUserDataList(entries);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        const int image = tkxFileName::Exist(entries[i]) ? kGroupImages[kUserDataGroup] : kMissingImage;
        AddTreeItem(tree, kUserDataPrefix + entries[i], m_hGroups[kUserDataGroup], image, image + 1,
                    ItemData(kUserData, kUserDataGroup));
    }
    info.GetUserDrawingList(entries);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        const int image = tkxFileName::Exist(entries[i]) ? kGroupImages[kUserDrawingGroup] : kMissingImage;
        AddTreeItem(tree, kUserDrawingPrefix + entries[i], m_hGroups[kUserDrawingGroup], image, image + 1,
                    ItemData(kUserDrawing, kUserDrawingGroup));
    }

    tree.Expand(m_hRoot, TVE_EXPAND);
    for (HTREEITEM group : m_hGroups) tree.Expand(group, TVE_EXPAND);
    // The tree opens at its top, whatever was expanded last.
    tree.SelectItem(m_hRoot);
    tree.EnsureVisible(m_hRoot);
}

void CTreeViewFile::OnSelectionChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    m_hSelected = reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.hItem;
    const ItemKind kind = KindOf(m_hSelected);
    if (kind != kRoadFile && kind != kUserData && kind != kUserDrawing) return;
    CString text = GetTreeCtrl().GetItemText(m_hSelected);
    if (text.MakeUpper().Find(L".DWG") >= 0) return;
    const CString path = FileOf(m_hSelected);
    if (path.IsEmpty()) return;
    if (CMainFrame* frame = CMainFrame::Current()) frame->ShowInfoBarPreview(path);
}

// ---------------------------------------------------------------------------
// Menu and mouse

void CTreeViewFile::PrepareMenu(HTREEITEM item)
{
    m_menu.DestroyMenu();
    m_menu.CreatePopupMenu();
    if (item && m_hSelected != item) GetTreeCtrl().SelectItem(item);
    m_hSelected = item;
    switch (KindOf(item)) {
    case kUserDrawing:
    case kUserData: {
        const bool drawing = KindOf(item) == kUserDrawing;
        m_menu.AppendMenu(MF_STRING, ID_DATA_OPEN, L"打开文件");
        m_menu.AppendMenu(MF_STRING, ID_ROAD_EXPLORE, L"打开道路文件夹");
        m_menu.AppendMenu(MF_SEPARATOR);
        if (drawing) {
            m_menu.AppendMenu(MF_STRING, ID_USER_ADDDRAWING, L"添加用户图形");
            m_menu.AppendMenu(MF_STRING, ID_USER_REMOVEDRAWING, L"去除用户图形");
        } else {
            m_menu.AppendMenu(MF_STRING, ID_USER_ADDDATA, L"添加用户数据");
            m_menu.AppendMenu(MF_STRING, ID_USER_REMOVEDATA, L"去除用户数据");
        }
        break;
    }
    case kRoadFile: {
        const bool exists = tkxFileName::Exist(FileOf(item));
        const CString text = GetTreeCtrl().GetItemText(item);
        m_menu.AppendMenu(MF_STRING, ID_DATA_OPEN, exists ? L"打开文件" : L"创建文件");
        m_menu.AppendMenu(MF_STRING | (exists ? 0 : MF_GRAYED), ID_DATA_DELETE, L"删除文件");
        m_menu.AppendMenu(MF_STRING, ID_DATA_IMPORT, L"导入文件");
        m_menu.AppendMenu(MF_STRING, ID_ROAD_EXPLORE, L"打开道路文件夹");
        m_menu.AppendMenu(MF_SEPARATOR);
        // The converters that write a file of this kind.
        struct Tool {
            const wchar_t* mark;
            UINT id;
            const wchar_t* text;
        };
        static const Tool kTools[] = {
            {L".JGC", ID_TOOL_JGC, L"自动生成基点高程文件"},  {L".JD", ID_TOOL_HINT_PM, L"导入纬地平面数据"},
            {L".JD", ID_TOOL_RM_PM, L"导入路线大师平面数据"}, {L".SQX", ID_TOOL_HINT_SQX, L"导入纬地竖曲线数据"},
            {L".SQX", ID_TOOL_RM_SQX, L"导入路线大师竖曲线数据"}, {L".HDX", ID_TOOL_HINT_HDX, L"导入纬地横地线数据"},
            {L".HDX", ID_TOOL_RM_HDX, L"导入路线大师横地线数据"}, {L".DMX", ID_TOOL_HINT_DMX, L"导入纬地纵地线数据"},
            {L".DMX", ID_TOOL_RM_DMX, L"导入路线大师纵地线数据"}, {L".GZX", ID_TOOL_GZW_GZX, L"导入原有GZW文件"},
            {L".QL", ID_TOOL_GZX_QL, L"由GZX文件导出QL文件"},
        };
        const bool plane = text.Find(L".JD") >= 0 || text.Find(L".ICD") >= 0;
        for (size_t i = 0; i < std::size(kTools); ++i) {
            const Tool& tool = kTools[i];
            const bool fits = CString(tool.mark) == L".JD" ? plane : text.Find(tool.mark) >= 0;
            if (!fits) continue;
            m_menu.AppendMenu(MF_STRING, tool.id, tool.text);
            const bool lastOfKind = i + 1 == std::size(kTools) || wcscmp(kTools[i + 1].mark, tool.mark) != 0;
            if (lastOfKind) m_menu.AppendMenu(MF_SEPARATOR);
        }
        m_menu.AppendMenu(MF_STRING, ID_USER_ADDDATA, L"添加用户数据");
        m_menu.AppendMenu(MF_STRING, ID_USER_ADDDRAWING, L"添加用户图形");
        break;
    }
    case kRoot:
    case kGroup:
    case kFileType:
        m_menu.AppendMenu(MF_STRING, ID_ROAD_EXPLORE, L"打开道路文件夹");
        m_menu.AppendMenu(MF_SEPARATOR);
        m_menu.AppendMenu(MF_STRING, ID_USER_ADDDATA, L"添加用户数据");
        m_menu.AppendMenu(MF_STRING, ID_USER_ADDDRAWING, L"添加用户图形");
        break;
    default:
        break; // no road, no item: nothing to offer
    }
}

void CTreeViewFile::OnRButtonDown(UINT, CPoint point)
{
    Default();
    HTREEITEM hit = GetTreeCtrl().HitTest(point);
    if (!hit) return;
    PrepareMenu(hit);
    TrackContextMenu();
}

void CTreeViewFile::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    HTREEITEM hit = GetTreeCtrl().HitTest(point);
    const ItemKind kind = KindOf(hit);
    if (kind != kRoadFile && kind != kUserData && kind != kUserDrawing) return;
    m_hSelected = hit;
    OnOpenFile();
}

// ---------------------------------------------------------------------------
// Files

void CTreeViewFile::OnOpenFile()
{
    const int road = CurrentRoad();
    HTREEITEM item = m_hSelected;
    const ItemKind kind = KindOf(item);
    if (road < 0 || (kind != kRoadFile && kind != kUserData && kind != kUserDrawing)) return;
    if (Project().VerifyRoadDirectory(road, MainWindow()->GetSafeHwnd()) != 1) return;
    const CString path = FileOf(item);
    if (kind != kRoadFile) {
        if (tkxFileName::Exist(path)) {
            // A file of a type no program opens is named, not passed over.
            if (!RunShellVerb(L"open", path))
                ManagerBox(ClFormat(L"无法打开文件%s!\n\n没有与该类型文件关联的程序, 或程序未能启动.", path.GetString()),
                           MB_ICONINFORMATION);
            Invalidate();
        } else {
            ManagerBox(ClFormat(L"%s文件不存在!", path.GetString()), MB_ICONINFORMATION);
        }
        return;
    }
    if (path.GetLength() > kMaxFilePathChars) {
        ManagerBox(PathTooLongText(path), MB_ICONERROR);
        return;
    }
    if (tkxFileName::Exist(path))
        theApp.OpenDocumentFile(path);
    else
        CreateMissingFile(item, path);
}

void CTreeViewFile::CreateMissingFile(HTREEITEM item, const CString& path)
{
    const CString ext = UpperExtension(path);
    const sFileStyle* style = StyleOf(ext);
    const CString typeName = style ? style->m_STypeName : CString();
    const CString question = ClFormat(L"文件<%s>不存在, \n\n\t请选择\"新建文件\", 或\"导入文件\"\n\t[导入文件：复制其他文件的内容。]",
                                      path.GetString());
    switch (SelectMessageBox(kBriskoCaption, question, L"新建文件", L"导入文件")) {
    case 1: {
        CRoadInfo road(Project().m_Roads[CurrentRoad()]);
        if (road.CreateDataFile(path)) {
            theApp.OpenDocumentFile(path);
            ShowFileState(item, true);
            PrintToMainInfoWindow(L"新建%s文件:%s", ext.GetString(), path.GetString());
        } else {
            PrintToMainInfoWindow(L"新建%s文件失败:%s", ext.GetString(), path.GetString());
        }
        break;
    }
    case 2: {
        CString source;
        const CString filter = ClFormat(L"%s|*.%s||", typeName.GetString(), ext.GetString());
        const CString title = ClFormat(L"导入%s文件", typeName.GetString());
        if (tkx_FileDialog(1, source, ext, this, filter, title) != 1) break;
        if (tkx_CopyReplacing(source, path)) {
            theApp.OpenDocumentFile(path);
            ShowFileState(item, true);
            PrintToMainInfoWindow(L"复制%s文件[%s]到[%s]", ext.GetString(), source.GetString(), path.GetString());
        } else {
            ManagerBox(tkx_SaveFailureText(path, L"文件复制失败!"), MB_ICONERROR);
        }
        break;
    }
    default: break;
    }
}

void CTreeViewFile::OnImportFile()
{
    HTREEITEM item = m_hSelected;
    if (CurrentRoad() < 0 || KindOf(item) != kRoadFile) return;
    const CString path = FileOf(item);
    if (path.GetLength() > kMaxFilePathChars) {
        ManagerBox(PathTooLongText(path), MB_ICONERROR);
        return;
    }
    if (tkxFileName::Exist(path) &&
        ManagerBox(ClFormat(L"%s文件已经存在，\n\n是否导入其他文件的内容，将其覆盖?", path.GetString()),
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The type of the file's own extension (a type's extension elsewhere in
    // the path says nothing).
    const CString ext = UpperExtension(path);
    const sFileStyle* style = StyleOf(ext);
    const CString typeName = style ? style->m_STypeName : CString();
    CString source;
    if (tkx_FileDialog(1, source, L"", this, ClFormat(L"%s|*.%s||", typeName.GetString(), ext.GetString()),
                       ClFormat(L"导入%s文件", typeName.GetString())) != 1)
        return;
    if (source.CompareNoCase(path) == 0) {
        theApp.OpenDocumentFile(path);
        return;
    }
    if (!tkx_CopyReplacing(source, path)) {
        ManagerBox(tkx_SaveFailureText(path, L"导入文件失败!"), MB_ICONERROR);
        return;
    }
    theApp.CloseDocumentByPath(path);
    theApp.OpenDocumentFile(path);
    ShowFileState(item, true);
    PrintToMainInfoWindow(L"导入%s文件:%s", ext.GetString(), path.GetString());
}

void CTreeViewFile::OnDeleteFile()
{
    HTREEITEM item = m_hSelected;
    const int road = CurrentRoad();
    if (road < 0 || KindOf(item) != kRoadFile) return;
    const CString path = FileOf(item);
    if (!tkxFileName::Exist(path)) return;
    if (ManagerBox(ClFormat(L"是否删除指定文件?\n\n[%s]", path.GetString()), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (!tkx_DeleteFile(path, m_hWnd)) {
        ManagerBox(tkx_GetLastError(), MB_ICONERROR);
        return;
    }
    // The road's own file keeps its place, shown missing.
    if (tkxFileName(path).GetFileTitle().CompareNoCase(Project().GetRoadName(road)) == 0) {
        ShowFileState(item, false);
    } else {
        GetTreeCtrl().DeleteItem(item);
        m_hSelected = nullptr;
    }
}

void CTreeViewFile::OnExploreRoad()
{
    const int road = CurrentRoad();
    if (road < 0) return;
    const CString folder = Project().GetRoadDirectory(road);
    if (tkxFileName::Exist(folder)) {
        RunShellVerb(L"explore", folder);
        Invalidate();
    } else {
        ManagerBox(ClFormat(L"%s\n\n道路文件夹不存在!", folder.GetString()), MB_OK);
    }
}

// ---------------------------------------------------------------------------
// User lists

void CTreeViewFile::AddUserFiles(bool drawings)
{
    const int road = CurrentRoad();
    if (road < 0) return;
    const DWORD flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
    CFileDialog dialog(TRUE, drawings ? L"dwg" : L"*", nullptr, flags,
                       drawings ? L"图形文件(*.dwg)|*.dwg||" : L"所有文件(*.*)|*.*||", this);
    std::vector<wchar_t> names(4000, L'\0');
    dialog.m_ofn.lpstrFile = names.data();
    dialog.m_ofn.nMaxFile = static_cast<DWORD>(names.size());
    dialog.m_ofn.lpstrTitle = drawings ? L"选择需要添加的用户图形文件" : L"选择需要添加的用户数据文件";
    if (dialog.DoModal() != IDOK) return;

    tkxProject& project = Project();
    CRoadInfo info(project.m_Roads[road]);
    for (POSITION position = dialog.GetStartPosition(); position;) {
        const CString path = dialog.GetNextPathName(position);
        const bool listed = drawings ? info.ContainsUserDrawing(path) : info.ContainsUserData(path);
        if (listed) {
            ManagerBox(ClFormat(L"%s文件\n\n已经包含在当前用户文件中!", path.GetString()), MB_ICONINFORMATION);
        } else if (path.Find(L';') >= 0) {
            // ";" separates the entries of the list.
            ManagerBox(ClFormat(L"%s\n\n文件路径包含\";\", 不能添加到用户文件中!", path.GetString()), MB_ICONINFORMATION);
        } else if (drawings) {
            info.AddUserDrawing(path);
            PrintToMainInfoWindow(L"添加用户图形文件:%s", path.GetString());
        } else {
            info.AddUserData(path);
            PrintToMainInfoWindow(L"添加用户数据文件:%s", path.GetString());
        }
    }
    project.m_Roads[road] = info.ToRoadInfo();
    if (tkx_UpdateProject(&project, 1) == 1) BuildTree();
}

void CTreeViewFile::RemoveUserFile(bool drawings)
{
    HTREEITEM item = m_hSelected;
    const int road = CurrentRoad();
    if (road < 0 || KindOf(item) != (drawings ? kUserDrawing : kUserData)) return;
    const CString path = FileOf(item);
    tkxProject& project = Project();
    CRoadInfo info(project.m_Roads[road]);
    if (drawings)
        info.RemoveUserDrawing(path);
    else
        info.RemoveUserData(path);
    project.m_Roads[road] = info.ToRoadInfo();
    if (tkx_UpdateProject(&project, 1) != 1) return;
    BuildTree();
    PrintToMainInfoWindow(drawings ? L"去除用户图形文件:%s" : L"去除用户数据文件:%s", path.GetString());
}

void CTreeViewFile::OnAddUserData() { AddUserFiles(false); }

void CTreeViewFile::OnAddUserDrawing() { AddUserFiles(true); }

void CTreeViewFile::OnRemoveUserData() { RemoveUserFile(false); }

void CTreeViewFile::OnRemoveUserDrawing() { RemoveUserFile(true); }

void CTreeViewFile::OnToolCommand(UINT id) { theApp.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
