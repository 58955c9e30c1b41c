#include "brisko/convert/Dialog_GDElevation.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/DitchBottoms.h"
#include "brisko/shell/BriskoApp.h"
#include "corvane/project/FileInterface.h"

BEGIN_MESSAGE_MAP(CDialog_GDElevation, CToolDialog)
    ON_BN_CLICKED(IDC_GD_EXTRACT, OnExtract)
    ON_BN_CLICKED(IDC_DERIVE_INCLUDE_DL, OnIncludeDL)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPick3DD)
    ON_BN_CLICKED(IDC_DERIVE_PICK_DL, OnPickDL)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnView3DD)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_DL, OnViewDL)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_OUTPUT, OnViewOutput)
END_MESSAGE_MAP()

CDialog_GDElevation::CDialog_GDElevation(CWnd* parent) : CToolDialog(IDD_GD_ELEVATION, parent) {}

void CDialog_GDElevation::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, m_btnPick3DD);
    DDX_Control(pDX, IDC_DERIVE_PICK_DL, m_btnPickDL);
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, m_btnView3DD);
    DDX_Control(pDX, IDC_DERIVE_VIEW_DL, m_btnViewDL);
    DDX_Control(pDX, IDC_DERIVE_VIEW_OUTPUT, m_btnViewOutput);
    DDX_Control(pDX, IDC_GD_EXTRACT, m_btnExtract);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_S3DDFileName);
    DDX_Text(pDX, IDC_DERIVE_DL, m_SDLFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
    DDX_Check(pDX, IDC_DERIVE_INCLUDE_DL, m_bIncludeDL);
    if (!pDX->m_bSaveAndValidate) EnableDL();
}

BOOL CDialog_GDElevation::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SetupPicker(m_btnPick3DD, IDS_TOOL_PICK_3DD);
    SetupPicker(m_btnPickDL, IDS_TOOL_PICK_DL);
    SetupViewer(m_btnView3DD);
    SetupViewer(m_btnViewDL);
    SetupViewer(m_btnViewOutput);
    CString tip(L"提取并保存边沟沟底高程");
    m_btnExtract.SetTooltipText(&tip);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_GDElevation::EnableDL()
{
    const BOOL on = IsDlgButtonChecked(IDC_DERIVE_INCLUDE_DL) == BST_CHECKED;
    for (int id : {IDC_DERIVE_DL, IDC_DERIVE_PICK_DL, IDC_DERIVE_VIEW_DL})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
}

void CDialog_GDElevation::OnIncludeDL() { EnableDL(); }

void CDialog_GDElevation::OnPick3DD()
{
    if (!PickFile(1, m_S3DDFileName, L"3DD", L"Tavix道路三维数据文件(*.3DD)|*.3DD||", L"选择Tavix道路三维数据文件(*.3DD)"))
        return;
    m_SOutFileName = ToolDerivedPath(m_S3DDFileName, L"沟底高程.TXT");
    UpdateData(FALSE);
}

void CDialog_GDElevation::OnPickDL()
{
    if (PickFile(1, m_SDLFileName, L"DL", L"", L"")) UpdateData(FALSE);
}

void CDialog_GDElevation::OnView3DD()
{
    if (UpdateData(TRUE)) ViewFile(m_S3DDFileName);
}

void CDialog_GDElevation::OnViewDL()
{
    if (UpdateData(TRUE)) ViewFile(m_SDLFileName);
}

void CDialog_GDElevation::OnViewOutput()
{
    if (UpdateData(TRUE)) ViewFile(m_SOutFileName);
}

void CDialog_GDElevation::OnExtract()
{
    if (!UpdateData(TRUE)) return;
    if (tkx_FileDialog(0, m_SOutFileName, L"TXT", this, L"文本文件*.TXT|*.TXT||", L"选择文本文件*.TXT") != 1) return;
    UpdateData(FALSE);
    if (!ExtractDitchBottoms(this, m_S3DDFileName, m_bIncludeDL ? m_SDLFileName : CString(), m_SOutFileName,
                             m_SRoadName))
        return;
    ShowToolMessage(this, L"提取两侧沟底高程数据成功!", MB_ICONINFORMATION);
}

void ShowGDElevationDialog(CWnd* parent)
{
    CDialog_GDElevation dialog(parent);
    dialog.m_S3DDFileName = CurrentRoadFile(L".3DD");
    dialog.m_SDLFileName = CurrentRoadFile(L".DL");
    dialog.m_SOutFileName = CurrentRoadFile(L"沟底高程.TXT");
    dialog.m_bIncludeDL = ToolFileExists(dialog.m_SDLFileName) ? 1 : 0;
    dialog.m_SRoadName = theApp.m_CurProject.GetCurRoadName();
    dialog.DoModal();
}
