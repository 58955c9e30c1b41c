#include "brisko/convert/Dialog_TransformBidRoadBRF.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/BidRoadBRF.h"

BEGIN_MESSAGE_MAP(CDialog_TransformBidRoadBRF, CToolDialog)
    ON_BN_CLICKED(IDC_BRF_PICK_SQX, OnPickSQX)
    ON_BN_CLICKED(IDC_BRF_PICK_DYD, OnPickDYD)
    ON_BN_CLICKED(IDC_BRF_PICK_DMX, OnPickDMX)
    ON_BN_CLICKED(IDC_BRF_PICK_CG, OnPickCG)
    ON_BN_CLICKED(IDC_BRF_PICK_BRF, OnPickBRF)
    ON_BN_CLICKED(IDC_BRF_VIEW_SQX, OnViewSQX)
    ON_BN_CLICKED(IDC_BRF_VIEW_DYD, OnViewDYD)
    ON_BN_CLICKED(IDC_BRF_VIEW_DMX, OnViewDMX)
    ON_BN_CLICKED(IDC_BRF_VIEW_CG, OnViewCG)
END_MESSAGE_MAP()

CDialog_TransformBidRoadBRF::CDialog_TransformBidRoadBRF(CWnd* parent) : CToolDialog(IDD_TRANSFORM_BIDROAD, parent) {}

void CDialog_TransformBidRoadBRF::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_BRF_VIEW_SQX, m_btnViewSQX);
    DDX_Control(pDX, IDC_BRF_VIEW_DYD, m_btnViewDYD);
    DDX_Control(pDX, IDC_BRF_VIEW_DMX, m_btnViewDMX);
    DDX_Control(pDX, IDC_BRF_VIEW_CG, m_btnViewCG);
    DDX_Control(pDX, IDC_BRF_PICK_SQX, m_btnPickSQX);
    DDX_Control(pDX, IDC_BRF_PICK_DYD, m_btnPickDYD);
    DDX_Control(pDX, IDC_BRF_PICK_DMX, m_btnPickDMX);
    DDX_Control(pDX, IDC_BRF_PICK_CG, m_btnPickCG);
    DDX_Control(pDX, IDC_BRF_PICK_BRF, m_btnPickBRF);
    DDX_Text(pDX, IDC_BRF_BRF, m_SBRFFileName);
    DDX_Text(pDX, IDC_BRF_CG, m_SCGFileName);
    DDX_Text(pDX, IDC_BRF_DMX, m_SDMXFileName);
    DDX_Text(pDX, IDC_BRF_DYD, m_SDYDFileName);
    DDX_Text(pDX, IDC_BRF_SQX, m_SSQXFileName);
}

BOOL CDialog_TransformBidRoadBRF::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SetupPicker(m_btnPickDYD, IDS_TOOL_PICK_DYD);
    SetupPicker(m_btnPickSQX, IDS_TOOL_PICK_SQX);
    SetupPicker(m_btnPickDMX, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickCG, IDS_TOOL_PICK_CG);
    SetupPicker(m_btnPickBRF, L"选择BidRoad桥梁接口文件(*.BRF)");
    for (tkxIconButton* viewer : {&m_btnViewSQX, &m_btnViewDYD, &m_btnViewDMX, &m_btnViewCG}) SetupViewer(*viewer);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_TransformBidRoadBRF::OnPickDYD()
{
    if (PickFile(1, m_SDYDFileName, L"DYD", L"Tavix平面单元文件(*.DYD)|*.DYD||", L"选择Tavix平面单元文件(*.DYD)"))
        UpdateData(FALSE);
}

void CDialog_TransformBidRoadBRF::OnPickSQX()
{
    if (PickFile(1, m_SSQXFileName, L"SQX", L"Tavix竖曲线文件(*.SQX)|*.SQX||", L"选择Tavix竖曲线文件(*.SQX)"))
        UpdateData(FALSE);
}

void CDialog_TransformBidRoadBRF::OnPickDMX()
{
    if (PickFile(1, m_SDMXFileName, L"DMX", L"Tavix纵断面地面线文件(*.DMX)|*.DMX||", L"选择Tavix纵断面地面线文件(*.DMX)"))
        UpdateData(FALSE);
}

void CDialog_TransformBidRoadBRF::OnPickCG()
{
    if (PickFile(1, m_SCGFileName, L"CG", L"Tavix超高文件(*.CG)|*.CG||", L"选择Tavix超高文件(*.CG)")) UpdateData(FALSE);
}

void CDialog_TransformBidRoadBRF::OnPickBRF()
{
    if (PickFile(0, m_SBRFFileName, L"BRF", L"BidRoad桥梁接口文件(*.BRF)|*.BRF||", L"保存BidRoad桥梁接口文件(*.BRF)"))
        UpdateData(FALSE);
}

void CDialog_TransformBidRoadBRF::OnViewSQX()
{
    if (UpdateData(TRUE)) ViewFile(m_SSQXFileName);
}

void CDialog_TransformBidRoadBRF::OnViewDYD()
{
    if (UpdateData(TRUE)) ViewFile(m_SDYDFileName);
}

void CDialog_TransformBidRoadBRF::OnViewDMX()
{
    if (UpdateData(TRUE)) ViewFile(m_SDMXFileName);
}

void CDialog_TransformBidRoadBRF::OnViewCG()
{
    if (UpdateData(TRUE)) ViewFile(m_SCGFileName);
}

void CDialog_TransformBidRoadBRF::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (ExportBidRoadBRF(this, m_SDYDFileName, m_SSQXFileName, m_SDMXFileName, m_SCGFileName, m_SBRFFileName))
        CDialog::OnOK();
}

void ShowTransformBidRoadDialog(CWnd* parent)
{
    CDialog_TransformBidRoadBRF dialog(parent);
    dialog.m_SDYDFileName = CurrentRoadFile(L".DYD");
    dialog.m_SSQXFileName = CurrentRoadFile(L".SQX");
    dialog.m_SDMXFileName = CurrentRoadFile(L".DMX");
    dialog.m_SCGFileName = CurrentRoadFile(L".CG");
    dialog.m_SBRFFileName = CurrentRoadFile(L".BRF");
    if (dialog.DoModal() == IDOK) AskOpenGenerated(L"是否打开生成的桥梁接口文件?", {dialog.m_SBRFFileName});
}
