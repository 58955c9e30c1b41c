#include "brisko/manager/Dialog_OpenProject.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/ManagerShared.h"
#include "brisko/manager/TavixPropertySheet.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/SharedDialogs.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/PathDialog.h"
#include "corvane/project/TavixInterface.h"

namespace {

const wchar_t* const kStages[] = {L"工程预可行性研究", L"工程可行性研究", L"初步设计", L"技术设计", L"施工图设计"};
const wchar_t* const kTypes[] = {L"公路路线设计", L"互通式立交设计", L"城市道路设计"};
const wchar_t* const kLandforms[] = {L"平原微丘区", L"重丘区", L"山岭区"};

void FillCombo(CWnd* dialog, int id, std::initializer_list<const wchar_t*> entries)
{
    auto* combo = static_cast<CComboBox*>(dialog->GetDlgItem(id));
    for (const wchar_t* entry : entries) combo->AddString(entry);
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog_OpenProject, CDialog)
    ON_WM_DESTROY()
    ON_EN_CHANGE(IDC_PRJ_NAME, OnNameChanged)
    ON_BN_CLICKED(IDC_PRJ_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_PRJ_SETTINGS, OnSettings)
    ON_NOTIFY(NM_CLICK, IDC_PRJ_LIST, OnListClick)
    ON_NOTIFY(NM_DBLCLK, IDC_PRJ_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CDialog_OpenProject::CDialog_OpenProject(CWnd* parent)
    : CDialog(IDD_OPENPROJECT, parent), m_SStage(L"初步设计"), m_iPrjType(0), m_iLandform(0), m_iClimate(0),
      m_bShortcut(1), m_nMode(0)
{
}

void CDialog_OpenProject::SetProject(const tkxProject& project)
{
    m_SName = project.m_SName;
    m_SPath = project.m_SPath;
    m_SStage = project.m_SStage;
    m_SCreateDate = project.m_SCreateDate;
    m_iPrjType = project.m_iPrjType;
    m_iLandform = project.m_iLandform;
    m_iClimate = project.m_iClimate;
}

void CDialog_OpenProject::GetProject(tkxProject& project) const
{
    project.m_SName = m_SName;
    project.m_SPath = m_SPath;
    project.m_SStage = m_SStage;
    project.m_SCreateDate = m_SCreateDate;
    project.m_iPrjType = m_iPrjType;
    project.m_iLandform = m_iLandform;
    project.m_iClimate = m_iClimate;
}

BOOL CDialog_OpenProject::ApplySettings(tkxProject& project) const
{
    if (!m_bSettingsChosen) {
        // What loading the project file would give it: the user's settings
        // file over the defaults.
        project.UpdateFromIni(1);
        return FALSE;
    }
    project.m_iReserve = m_Settings.m_iReserve;
    project.m_rReserve1 = m_Settings.m_rReserve1;
    project.m_rReserve2 = m_Settings.m_rReserve2;
    project.m_sPrjSetting0 = m_Settings.m_sPrjSetting0;
    project.m_sPrjSetting1 = m_Settings.m_sPrjSetting1;
    project.m_sPrjSetting2 = m_Settings.m_sPrjSetting2;
    return TRUE;
}

void CDialog_OpenProject::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PRJ_LIST, m_wndProjects);
    DDX_Text(pDX, IDC_PRJ_NAME, m_SName);
    DDX_Text(pDX, IDC_PRJ_PATH, m_SPath);
    DDX_Text(pDX, IDC_PRJ_TIME, m_SCreateDate);
    DDX_Text(pDX, IDC_PRJ_STAGE, m_SStage);
    DDX_CBIndex(pDX, IDC_PRJ_TYPE, m_iPrjType);
    DDX_CBIndex(pDX, IDC_PRJ_LANDFORM, m_iLandform);
    DDX_Radio(pDX, IDC_PRJ_CLIMATE_GENERAL, m_iClimate);
    DDX_Check(pDX, IDC_PRJ_SHORTCUT, m_bShortcut);
}

BOOL CDialog_OpenProject::OnInitDialog()
{
    SetAppIcon(this);
    m_btnBrowse.SubclassDlgItem(IDC_PRJ_BROWSE, this);
    m_btnBrowse.SetIcon(IDI_FOLDER_IN, IDI_FOLDER_OUT);
    m_btnBrowse.SetTooltipText(IDS_CHOOSE_FOLDER);
    m_btnSettings.SubclassDlgItem(IDC_PRJ_SETTINGS, this);
    m_btnSettings.SetIcon(IDI_SETTINGS_IN, IDI_SETTINGS_OUT);
    m_btnSettings.SetTooltipText(IDS_PROJECT_SETTINGS_TIP);
    FillCombo(this, IDC_PRJ_STAGE, {kStages[0], kStages[1], kStages[2], kStages[3], kStages[4]});
    FillCombo(this, IDC_PRJ_TYPE, {kTypes[0], kTypes[1], kTypes[2]});
    FillCombo(this, IDC_PRJ_LANDFORM, {kLandforms[0], kLandforms[1], kLandforms[2]});
    m_bFilling = true;
    CDialog::OnInitDialog();
    m_bFilling = false;

    tkx_GetAllPrjNames(&m_SPrjNames);
    tkx_GetAllPrjPaths(&m_SPrjPaths);
    SetUpMarkList(m_wndProjects, m_ilMarks, L"项目名称");
    const int current = tkx_GetWorkSpace().m_iCurPrj;
    FillMarkList(m_wndProjects, m_SPrjNames, current);

    switch (m_nMode) {
    case 0: {
        SetWindowText(L"创建项目");
        const CTime today = CTime::GetCurrentTime();
        m_SCreateDate = ClFormat(L"%d年%d月%d日", today.GetYear(), today.GetMonth(), today.GetDay());
        break;
    }
    case 1: SetWindowText(L"打开项目"); break;
    default: SetWindowText(L"项目信息"); break;
    }
    MarkListRow(m_wndProjects, current);
    m_hBanner = ShowBanner(this, IDC_PRJ_PICTURE);
    FillControls();
    return TRUE;
}

void CDialog_OpenProject::OnDestroy()
{
    FreeDialogImages(m_ilMarks, m_hBanner);
    CDialog::OnDestroy();
}

void CDialog_OpenProject::FillControls()
{
    RedrawPicture(this, IDC_PRJ_PICTURE);
    const bool create = m_nMode == 0, open = m_nMode == 1;
    SendDlgItemMessage(IDC_PRJ_NAME, EM_SETREADONLY, !create, 0);
    SendDlgItemMessage(IDC_PRJ_PATH, EM_SETREADONLY, !create, 0);
    SendDlgItemMessage(IDC_PRJ_TIME, EM_SETREADONLY, open, 0);
    GetDlgItem(IDC_PRJ_BROWSE)->EnableWindow(create);
    for (int id : {IDC_PRJ_STAGE, IDC_PRJ_TYPE, IDC_PRJ_LANDFORM, IDC_PRJ_CLIMATE_GENERAL, IDC_PRJ_CLIMATE_SNOW})
        GetDlgItem(id)->EnableWindow(!open);
    GetDlgItem(IDC_PRJ_SHORTCUT)->ShowWindow(open ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_PRJ_SETTINGS)->ShowWindow(open ? SW_HIDE : SW_SHOW);
    SetDlgItemText(IDOK, create ? L"创建" : open ? L"打开" : L"保存");
    m_bFilling = true;
    UpdateData(FALSE);
    m_bFilling = false;
}

BOOL CDialog_OpenProject::ReadControls()
{
    RedrawPicture(this, IDC_PRJ_PICTURE);
    if (!UpdateData(TRUE)) return FALSE;
    m_SName.Trim();
    m_SPath.Trim();
    const wchar_t* problem = nullptr;
    if (m_SName.IsEmpty())
        problem = L"项目名称不能为空!";
    else if (m_SName.FindOneOf(L".\\?*/<>|:\"") >= 0)
        problem = L"项目名称不能包含以下字符!\n\n\\ / : * ? \" < > |";
    else if (m_SPath.IsEmpty())
        problem = L"项目路径不能为空!";
    if (!problem) return TRUE;
    ManagerBox(problem, MB_ICONERROR, this);
    return FALSE;
}

void CDialog_OpenProject::OnNameChanged()
{
    if (m_bFilling || m_nMode != 0) return;
    CString name, folder;
    GetDlgItemText(IDC_PRJ_NAME, name);
    GetDlgItemText(IDC_PRJ_PATH, folder);
    const int colon = folder.Find(L":\\");
    const CString drive = colon < 0 ? CString(L"C") : folder.Left(colon);
    m_SPath = ClFormat(L"%s:\\%s", drive.GetString(), name.GetString());
    m_bFilling = true;
    SetDlgItemText(IDC_PRJ_PATH, m_SPath);
    m_bFilling = false;
}

void CDialog_OpenProject::OnBrowse()
{
    if (m_nMode != 0) return;
    UpdateData(TRUE);
    tkxPathDialog folders(kBriskoCaption, L"请创建或选择项目的存盘路径。", m_SPath, this);
    if (folders.DoModal() != 1) return;
    m_SPath = folders.GetPathName();
    FillControls();
}

int CDialog_OpenProject::ProjectOfRow(int row) const
{
    if (row < 0 || row >= m_wndProjects.GetItemCount()) return -1;
    const CString name = m_wndProjects.GetItemText(row, 1);
    for (INT_PTR i = 0; i < m_SPrjNames.GetSize(); ++i)
        if (m_SPrjNames[i] == name && i < m_SPrjPaths.GetSize()) return static_cast<int>(i);
    return -1;
}

void CDialog_OpenProject::OnListClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    if (m_nMode != 1) return;
    const int index = ProjectOfRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    if (index < 0) return;
    tkxProject project;
    project.m_SName = m_SPrjNames[index];
    project.m_SPath = m_SPrjPaths[index];
    if (!project.Load()) return;
    SetProject(project);
    FillControls();
}

void CDialog_OpenProject::OnListDoubleClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    if (m_nMode != 1) return;
    const int index = ProjectOfRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    if (index < 0) return;
    if (tkx_OpenProject(m_SPrjNames[index], &theApp.m_CurProject, m_hWnd) != 1) return;
    SetProject(theApp.m_CurProject);
    EndDialog(IDOK);
}

BOOL CDialog_OpenProject::RunSettingsSheet(tkxProject& project)
{
    CProPage_Setting_BZPrecision precision;
    CProPage_Setting_ZDString labels;
    CProPage_Setting_SPXLength slopes;
    // A new project's sheet opens with the pages' own values until a choice
    // was made.
    if (m_nMode != 0 || m_bSettingsChosen) {
        precision.FromProject(project);
        labels.FromProject(project);
        slopes.FromProject(project);
    }
    // Owned by this dialog, which stays disabled while the sheet runs.
    CTavixPropertySheet sheet(IDS_PROJECT_SETTINGS_CAPTION, this);
    sheet.SetTitle(ClFormat(L"%s 项目管理", kBriskoCaption));
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(&precision);
    sheet.AddPage(&labels);
    sheet.AddPage(&slopes);
    if (sheet.DoModal() != IDOK) return FALSE;
    precision.ToProject(project);
    labels.ToProject(project);
    slopes.ToProject(project);
    return TRUE;
}

void CDialog_OpenProject::OnSettings()
{
    if (m_nMode == 2) {
        // The current project's settings: the project file keeps the big
        // numbers, "Tavix3.ini" the setting records.
        tkxProject& project = theApp.m_CurProject;
        if (!RunSettingsSheet(project)) return;
        tkx_UpdateProject(&project, 1);
        project.SaveBZSettings();
    } else if (m_nMode == 0) {
        // The project does not exist yet: the values wait in the dialog, on
        // top of what a new project would get without them.
        tkxProject chosen;
        if (m_bSettingsChosen)
            chosen = m_Settings;
        else
            ApplySettings(chosen);
        if (!RunSettingsSheet(chosen)) return;
        m_Settings = chosen;
        m_bSettingsChosen = true;
    }
}

void CDialog_OpenProject::CreateShortcut()
{
    const CString link = ClFormat(L"%s\\%s项目.lnk", tkx_GetDeskTopDirectory().GetString(), m_SName.GetString());
    if (tkx_CreateLink(L"TAVIX项目快捷方式", m_SPath, L"", link) != 1)
        ManagerBox(L"创建桌面快捷方式失败!", MB_ICONERROR, this);
}

void CDialog_OpenProject::OnOK()
{
    if (m_nMode == 1) {
        if (tkx_OpenProject(m_SName, &theApp.m_CurProject, m_hWnd) == 1) EndDialog(IDOK);
        return;
    }
    if (!ReadControls()) return;
    if (m_nMode == 0) {
        // A project file of this name in this folder belongs to a project
        // whose record was removed: creating would overwrite it.
        const CString file = ClFormat(L"%s\\%s.EPJ", m_SPath.GetString(), m_SName.GetString());
        if (tkxFileName::Exist(file)) {
            ManagerBox(ClFormat(L"项目文件<%s>已经存在!\n\n请用\"导入项目\"打开该项目, 或输入其他的项目名称或路径.",
                                file.GetString()),
                       MB_ICONERROR, this);
            return;
        }
        if (tkxPathDialog::MakeSurePathExists(m_SPath) != 0) return;
    }
    if (m_bShortcut) CreateShortcut();
    EndDialog(IDOK);
}
