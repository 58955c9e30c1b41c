#include "brisko/manager/Dialog_RoadInfo.h"
#include "brisko/BriskoResource.h"
#include "brisko/manager/ManagerShared.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/SharedDialogs.h"
#include "corvane/platform/PathDialog.h"
#include "corvane/project/TavixInterface.h"
#include <cwchar>

using namespace Tavix4;

const wchar_t* const CDialog_RoadInfo::kGradeNames[18] = {
    L"高速公路",       L"互通立交匝道",   L"一级公路",       L"二级公路",       L"三级公路",
    L"四级公路",       L"等外公路",       L"城市快速路",     L"城市I级主干道",  L"城市II级主干道",
    L"城市III级主干道", L"城市I级次干道",  L"城市II级次干道", L"城市III级次干道", L"城市I级支路",
    L"城市II级支路",   L"城市III级支路",  L"其他道路"};

namespace {

const wchar_t* const kNames[] = {L"M", L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I", L"J", L"K", L"L", L"N"};

// The speed text read as a number the way a typed field is: its leading
// number, 0 when it has none.
double SpeedOf(const CString& text) { return std::wcstod(text.GetString(), nullptr); }

} // namespace

BEGIN_MESSAGE_MAP(CDialog_RoadInfo, CDialog)
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_ROAD_HASCHAIN, OnCheckClicked)
    ON_BN_CLICKED(IDC_ROAD_CURRENT, OnCheckClicked)
    ON_CBN_EDITCHANGE(IDC_ROAD_NAME, OnNameEdited)
    ON_CBN_SELCHANGE(IDC_ROAD_NAME, OnNameChosen)
    ON_CBN_SELCHANGE(IDC_ROAD_GRADE, OnGradeChosen)
END_MESSAGE_MAP()

CDialog_RoadInfo::CDialog_RoadInfo(CWnd* parent)
    : CDialog(IDD_ROADINFO, parent), m_SRoadName(L"M"), m_iRoadLevel(0), m_SSpeed(L"120"), m_SStartZH(L"0"),
      m_SEndZH(L"0"), m_bHasBreakChain(0), m_bSetCurrent(1), m_bShortcut(0), m_nMode(0), m_nRoadIndex(-1)
{
}

void CDialog_RoadInfo::GetRoadInfo(sRoadInfo& road) const
{
    road = sRoadInfo();
    road.m_SRoadName = m_SRoadName;
    road.m_RoadLevel = static_cast<enRoadLevel>(m_iRoadLevel);
    road.m_rDesignSpeed = SpeedOf(m_SSpeed);
    road.m_SStartZH = m_SStartZH;
    road.m_SEndZH = m_SEndZH;
    road.m_SBreakChain = m_bHasBreakChain ? m_SBreakChain : CString();
}

CString CDialog_RoadInfo::FolderOf(const CString& name) const
{
    return ClFormat(L"%s\\%s", theApp.m_CurProject.m_SPath.GetString(), name.GetString());
}

void CDialog_RoadInfo::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ROAD_CHAIN, m_wndBreakChain);
    DDX_Control(pDX, IDC_ROAD_LIST, m_wndRoads);
    DDX_Text(pDX, IDC_ROAD_NAME, m_SRoadName);
    DDX_CBIndex(pDX, IDC_ROAD_GRADE, m_iRoadLevel);
    DDX_Text(pDX, IDC_ROAD_SPEED, m_SSpeed);
    DDX_Text(pDX, IDC_ROAD_START, m_SStartZH);
    DDX_Text(pDX, IDC_ROAD_END, m_SEndZH);
    DDX_Check(pDX, IDC_ROAD_HASCHAIN, m_bHasBreakChain);
    DDX_Text(pDX, IDC_ROAD_CHAIN, m_SBreakChain);
    DDX_Check(pDX, IDC_ROAD_CURRENT, m_bSetCurrent);
    DDX_Check(pDX, IDC_ROAD_SHORTCUT, m_bShortcut);
    DDX_Text(pDX, IDC_ROAD_FOLDER, m_SFolder);
}

BOOL CDialog_RoadInfo::OnInitDialog()
{
    SetAppIcon(this);
    auto* names = static_cast<CComboBox*>(GetDlgItem(IDC_ROAD_NAME));
    for (const wchar_t* name : kNames) names->AddString(name);
    auto* grades = static_cast<CComboBox*>(GetDlgItem(IDC_ROAD_GRADE));
    for (const wchar_t* grade : kGradeNames) grades->AddString(grade);
    CDialog::OnInitDialog();

    SetUpMarkList(m_wndRoads, m_ilMarks, L"道路名称");
    CStringArray roads;
    for (const sRoadInfo& road : theApp.m_CurProject.m_Roads) roads.Add(road.m_SRoadName);
    FillMarkList(m_wndRoads, roads, theApp.m_CurProject.m_iCurRoad);

    m_hBanner = ShowBanner(this, IDC_ROAD_PICTURE);
    FillControls();
    return TRUE;
}

void CDialog_RoadInfo::OnDestroy()
{
    FreeDialogImages(m_ilMarks, m_hBanner);
    CDialog::OnDestroy();
}

void CDialog_RoadInfo::FillControls()
{
    m_SFolder = FolderOf(m_SRoadName);
    GetDlgItem(IDC_ROAD_NAME)->EnableWindow(m_nMode == 0);
    tkx_SetSpeedComboBox(static_cast<enRoadLevel>(m_iRoadLevel), static_cast<CComboBox*>(GetDlgItem(IDC_ROAD_SPEED)));
    if (m_nMode == 1) MarkListRow(m_wndRoads, m_nRoadIndex);
    UpdateData(FALSE);
}

BOOL CDialog_RoadInfo::ReadControls()
{
    if (!UpdateData(TRUE)) return FALSE;
    m_SRoadName.Trim();
    // The name becomes the road's folder and the title of its files; the
    // project file keeps the grades up to the library's "其他道路".
    CString problem = m_SRoadName.IsEmpty() ? CString(L"道路名称不能为空!") : tkxProject::CheckRoadName(m_SRoadName);
    if (problem.IsEmpty() && m_iRoadLevel < 0) problem = L"请选择道路等级!";
    if (problem.IsEmpty() && m_iRoadLevel > ROAD_OTHER)
        problem = ClFormat(L"道路等级<%s>无法保存在项目文件中, 请选择其他的道路等级!", kGradeNames[m_iRoadLevel]);
    const float speed = static_cast<float>(SpeedOf(m_SSpeed));
    if (problem.IsEmpty() && !(speed > 0.0f && speed < 1000.0f))
        problem = ClFormat(L"设计车速<%s>应大于0，小于1000!", m_SSpeed.GetString());
    if (problem.IsEmpty()) return TRUE;
    ManagerBox(problem, MB_ICONERROR, this);
    return FALSE;
}

void CDialog_RoadInfo::OnCheckClicked()
{
    ReadControls();
    FillControls();
}

void CDialog_RoadInfo::OnNameEdited()
{
    CString typed;
    GetDlgItemText(IDC_ROAD_NAME, typed);
    SetDlgItemText(IDC_ROAD_FOLDER, FolderOf(typed));
}

void CDialog_RoadInfo::OnNameChosen()
{
    auto* names = static_cast<CComboBox*>(GetDlgItem(IDC_ROAD_NAME));
    const int chosen = names->GetCurSel();
    if (chosen < 0) return;
    // What was typed in the other fields stays.
    UpdateData(TRUE);
    names->GetLBText(chosen, m_SRoadName);
    FillControls();
}

void CDialog_RoadInfo::OnGradeChosen()
{
    ReadControls();
    FillControls();
    auto* speeds = static_cast<CComboBox*>(GetDlgItem(IDC_ROAD_SPEED));
    if (speeds->GetCount() > 0) speeds->GetLBText(0, m_SSpeed);
    FillControls();
}

void CDialog_RoadInfo::OnOK()
{
    if (!ReadControls()) return;
    tkxProject& project = theApp.m_CurProject;
    // Road folders are named after the roads: the project's look-up does not
    // tell the case apart, as folder names do not.
    if (m_nMode == 0 && project.HasIncludeRoad(m_SRoadName)) {
        ManagerBox(ClFormat(L"道路名称<%s>已经包含在当前项目中, 请输入其他的道路名称!", m_SRoadName.GetString()),
                   MB_ICONERROR, this);
        return;
    }
    m_SFolder = FolderOf(m_SRoadName);
    SetDlgItemText(IDC_ROAD_FOLDER, m_SFolder);
    if (tkxPathDialog::MakeSurePathExists(m_SFolder) != 0) return;

    if (m_bShortcut) {
        const CString base = project.m_SPath.IsEmpty() ? tkx_GetDeskTopDirectory() : project.m_SPath;
        const CString link = ClFormat(L"%s\\项目%s_%s.lnk", base.GetString(), project.m_SName.GetString(),
                                      m_SRoadName.GetString());
        if (tkx_CreateLink(L"TAVIX项目快捷方式", m_SFolder, L"", link) != 1)
            ManagerBox(L"创建道路快捷方式失败!", MB_ICONERROR, this);
    }
    EndDialog(IDOK);
}
