#include "brisko/convert/Dialog_Import_HintRoad.h"
#include "brisko/BriskoResource.h"

namespace {

// The plane file of each kind: label, picker extension, filter and title.
struct PlaneKind
{
    const wchar_t* label;
    const wchar_t* extension;
    const wchar_t* filter;
    const wchar_t* title;
};

const PlaneKind kPlaneKinds[3] = {
    {L"平面交点数据文件(*.JDX):", L"JDX", L"纬地交点数据(方位角+距离)文件*.JDX|*.JDX||", L"选择纬地交点数据(方位角+距离)文件*.JDX"},
    {L"平面交点数据文件(*.*):", L"*", L"纬地交点数据(坐标格式)文件*.*|*.*||", L"选择纬地交点数据(坐标格式)文件*.*"},
    {L"平面线位数据文件(*.PM):", L"PM", L"纬地平面线位数据文件*.PM|*.PM||", L"选择纬地平面线位数据文件*.PM"},
};

const PlaneKind& KindOf(int format) { return kPlaneKinds[format >= 0 && format < 3 ? format : 0]; }

} // namespace

BEGIN_MESSAGE_MAP(CDialog_Import_HintRoad, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_FORMAT, OnFormat)
    ON_BN_CLICKED(IDC_TOOL_FORMAT1, OnFormat)
    ON_BN_CLICKED(IDC_TOOL_FORMAT2, OnFormat)
    ON_BN_CLICKED(IDC_HINT_PICK_PLANE, OnPickPlane)
    ON_BN_CLICKED(IDC_HINT_PICK_ZDM, OnPickZDM)
    ON_BN_CLICKED(IDC_HINT_PICK_DMX, OnPickDMX)
    ON_BN_CLICKED(IDC_HINT_PICK_HDM, OnPickHDM)
    ON_BN_CLICKED(IDC_HINT_VIEW_PLANE, OnViewPlane)
    ON_BN_CLICKED(IDC_HINT_VIEW_ZDM, OnViewZDM)
    ON_BN_CLICKED(IDC_HINT_VIEW_DMX, OnViewDMX)
    ON_BN_CLICKED(IDC_HINT_VIEW_HDM, OnViewHDM)
END_MESSAGE_MAP()

CDialog_Import_HintRoad::CDialog_Import_HintRoad(CWnd* parent) : CToolDialog(IDD_IMPORT_HINTROAD, parent) {}

void CDialog_Import_HintRoad::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::ImportHintRoad,
                         {m_iDatFormat, m_SJDFileName, m_SSQXFileName, m_SDMXFileName, m_SHDXFileName, m_SBreakChain});
}

void CDialog_Import_HintRoad::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_HINT_PICK_PLANE, m_btnPickPlane);
    DDX_Control(pDX, IDC_HINT_PICK_ZDM, m_btnPickZDM);
    DDX_Control(pDX, IDC_HINT_PICK_DMX, m_btnPickDMX);
    DDX_Control(pDX, IDC_HINT_PICK_HDM, m_btnPickHDM);
    DDX_Control(pDX, IDC_HINT_VIEW_PLANE, m_btnViewPlane);
    DDX_Control(pDX, IDC_HINT_VIEW_ZDM, m_btnViewZDM);
    DDX_Control(pDX, IDC_HINT_VIEW_DMX, m_btnViewDMX);
    DDX_Control(pDX, IDC_HINT_VIEW_HDM, m_btnViewHDM);
    DDX_Control(pDX, IDC_HINT_BREAKCHAIN, m_editBreakChain);
    DDX_Radio(pDX, IDC_TOOL_FORMAT, m_iDatFormat);
    DDX_Text(pDX, IDC_HINT_PLANE, m_SJDFileName);
    DDX_Text(pDX, IDC_HINT_ZDM, m_SSQXFileName);
    DDX_Text(pDX, IDC_HINT_DMX, m_SDMXFileName);
    DDX_Text(pDX, IDC_HINT_HDM, m_SHDXFileName);
    DDX_Text(pDX, IDC_HINT_BREAKCHAIN, m_SBreakChain);
    if (!pDX->m_bSaveAndValidate) ShowPlaneLabel();
}

BOOL CDialog_Import_HintRoad::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    for (tkxIconButton* picker : {&m_btnPickPlane, &m_btnPickZDM, &m_btnPickDMX, &m_btnPickHDM})
        SetupPicker(*picker, IDS_TOOL_PICK_FILE);
    for (tkxIconButton* viewer : {&m_btnViewPlane, &m_btnViewZDM, &m_btnViewDMX, &m_btnViewHDM}) SetupViewer(*viewer);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_Import_HintRoad::ShowPlaneLabel() { SetDlgItemText(IDC_HINT_PLANE_LABEL, KindOf(m_iDatFormat).label); }

void CDialog_Import_HintRoad::OnFormat()
{
    if (UpdateData(TRUE)) ShowPlaneLabel();
}

void CDialog_Import_HintRoad::OnPickPlane()
{
    if (!UpdateData(TRUE)) return;
    const PlaneKind& kind = KindOf(m_iDatFormat);
    if (!PickFile(1, m_SJDFileName, kind.extension, kind.filter, kind.title)) return;
    m_SSQXFileName = ToolDerivedPath(m_SJDFileName, L".ZDM");
    m_SDMXFileName = ToolDerivedPath(m_SJDFileName, L".DMX");
    m_SHDXFileName = ToolDerivedPath(m_SJDFileName, L".HDM");
    UpdateData(FALSE);
}

void CDialog_Import_HintRoad::OnPickZDM()
{
    if (PickFile(1, m_SSQXFileName, L"ZDM", L"纬地纵断面竖曲线文件*.ZDM|*.ZDM|*.*||", L"选择纬地纵断面竖曲线文件*.ZDM"))
        UpdateData(FALSE);
}

void CDialog_Import_HintRoad::OnPickDMX()
{
    if (PickFile(1, m_SDMXFileName, L"DMX", L"纬地纵断面地面线文件*.DMX|*.DMX|*.*||", L"选择纬地纵断面地面线文件*.DMX"))
        UpdateData(FALSE);
}

void CDialog_Import_HintRoad::OnPickHDM()
{
    if (PickFile(1, m_SHDXFileName, L"HDM", L"纬地横断面地面线文件*.HDM|*.HDM|*.*||", L"选择纬地横断面地面线文件*.HDM"))
        UpdateData(FALSE);
}

void CDialog_Import_HintRoad::View(const CString& path)
{
    if (UpdateData(TRUE)) ViewFile(path, L"文件%s不存在!");
}

void CDialog_Import_HintRoad::OnViewPlane() { View(m_SJDFileName); }
void CDialog_Import_HintRoad::OnViewZDM() { View(m_SSQXFileName); }
void CDialog_Import_HintRoad::OnViewDMX() { View(m_SDMXFileName); }
void CDialog_Import_HintRoad::OnViewHDM() { View(m_SHDXFileName); }

void CDialog_Import_HintRoad::OnOK()
{
    if (!UpdateData(TRUE)) return;
    SerializeSettings(0);
    CDialog::OnOK();
}
