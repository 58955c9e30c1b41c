#include "brisko/convert/Dialog_JGC.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/SharedDialogs.h"

namespace {

const wchar_t kJGCCaption[] = L"生成纵断面图基点高程文件";

} // namespace

BEGIN_MESSAGE_MAP(CDialog_JGC, CToolDialog)
    ON_BN_CLICKED(IDC_DERIVE_INCLUDE_DL, OnIncludeDL)
    ON_BN_CLICKED(IDC_JGC_PAGE_AUTO, OnPageAuto)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickSQX)
    ON_BN_CLICKED(IDC_DERIVE_PICK_DMX, OnPickDMX)
    ON_BN_CLICKED(IDC_DERIVE_PICK_DL, OnPickDL)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewSQX)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_DMX, OnViewDMX)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_DL, OnViewDL)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_OUTPUT, OnViewJGC)
    ON_BN_CLICKED(IDC_JGC_SHOW_SKETCH, OnShowSketch)
END_MESSAGE_MAP()

CDialog_JGC::CDialog_JGC(CWnd* parent) : CToolDialog(IDD_JGC, parent) {}

void CDialog_JGC::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::JGC,
                         {m_SRuleHeight, m_SScale, m_rMinDistance, m_rRowHeight, m_bPageAuto, m_rPageLength});
}

void CDialog_JGC::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, m_btnPickSQX);
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, m_btnViewSQX);
    DDX_Control(pDX, IDC_DERIVE_PICK_DMX, m_btnPickDMX);
    DDX_Control(pDX, IDC_DERIVE_VIEW_DMX, m_btnViewDMX);
    DDX_Control(pDX, IDC_DERIVE_PICK_DL, m_btnPickDL);
    DDX_Control(pDX, IDC_DERIVE_VIEW_DL, m_btnViewDL);
    DDX_Control(pDX, IDC_DERIVE_VIEW_OUTPUT, m_btnViewJGC);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SSQXFileName);
    DDX_Text(pDX, IDC_DERIVE_DMX, m_SDMXFileName);
    DDX_Check(pDX, IDC_DERIVE_INCLUDE_DL, m_bIncludeDL);
    DDX_Text(pDX, IDC_DERIVE_DL, m_SDLFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SJGCFileName);
    DDX_CBString(pDX, IDC_JGC_RULE, m_SRuleHeight);
    DDX_CBString(pDX, IDC_JGC_SCALE, m_SScale);
    DDX_Text(pDX, IDC_JGC_MARGIN, m_rMinDistance);
    DDV_MinMaxDouble(pDX, m_rMinDistance, 0.0, 100.0);
    DDX_Text(pDX, IDC_JGC_ROW_HEIGHT, m_rRowHeight);
    DDV_MinMaxDouble(pDX, m_rRowHeight, 1.0, 100000.0);
    DDX_Check(pDX, IDC_JGC_PAGE_AUTO, m_bPageAuto);
    DDX_Text(pDX, IDC_JGC_PAGE_LENGTH, m_rPageLength);
    DDV_MinMaxDouble(pDX, m_rPageLength, 1.0, 1000000.0);
    if (!pDX->m_bSaveAndValidate) EnableFields();
}

BOOL CDialog_JGC::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    for (const wchar_t* unit : {L"0.5", L"1", L"2", L"5", L"10"})
        SendDlgItemMessage(IDC_JGC_RULE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
    for (const wchar_t* scale : {L"100", L"200", L"400", L"500", L"1000", L"2000"})
        SendDlgItemMessage(IDC_JGC_SCALE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(scale));
    SetupPicker(m_btnPickSQX, IDS_TOOL_PICK_SQX);
    SetupPicker(m_btnPickDMX, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickDL, IDS_TOOL_PICK_DL);
    for (tkxIconButton* viewer : {&m_btnViewSQX, &m_btnViewDMX, &m_btnViewDL, &m_btnViewJGC}) SetupViewer(*viewer);
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog_JGC::ReadFields()
{
    if (!UpdateData(TRUE)) return FALSE;
    // A scale or unit of 0 or below has no base elevation to offer.
    double scale = 0.0, rule = 0.0;
    if (!ReadToolNumber(m_SScale, &scale) || scale <= 0.0) {
        ClMessageBox(m_hWnd, ClFormat(L"输入高程比例<%s>错误!", m_SScale.GetString()), kJGCCaption, MB_ICONINFORMATION);
        return FALSE;
    }
    if (!ReadToolNumber(m_SRuleHeight, &rule) || rule <= 0.0) {
        ClMessageBox(m_hWnd, ClFormat(L"输入标尺单位<%s>错误!", m_SRuleHeight.GetString()), kJGCCaption,
                     MB_ICONINFORMATION);
        return FALSE;
    }
    m_rScale = scale;
    m_rRule = rule;
    return TRUE;
}

void CDialog_JGC::EnableFields()
{
    const BOOL dl = IsDlgButtonChecked(IDC_DERIVE_INCLUDE_DL) == BST_CHECKED;
    for (int id : {IDC_DERIVE_DL, IDC_DERIVE_PICK_DL, IDC_DERIVE_VIEW_DL})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(dl);
    if (CWnd* length = GetDlgItem(IDC_JGC_PAGE_LENGTH))
        length->EnableWindow(IsDlgButtonChecked(IDC_JGC_PAGE_AUTO) == BST_CHECKED);
}

void CDialog_JGC::OnIncludeDL()
{
    if (ReadFields()) EnableFields();
}

void CDialog_JGC::OnPageAuto()
{
    if (ReadFields()) EnableFields();
}

void CDialog_JGC::OnPickSQX()
{
    if (!ReadFields() || !PickFile(1, m_SSQXFileName, L"SQX", L"", L"")) return;
    m_SJGCFileName = ToolDerivedPath(m_SSQXFileName, L".JGC");
    UpdateData(FALSE);
}

void CDialog_JGC::OnPickDMX()
{
    if (ReadFields() && PickFile(1, m_SDMXFileName, L"DMX", L"", L"")) UpdateData(FALSE);
}

void CDialog_JGC::OnPickDL()
{
    if (ReadFields() && PickFile(1, m_SDLFileName, L"DL", L"", L"")) UpdateData(FALSE);
}

void CDialog_JGC::OnViewSQX()
{
    if (ReadFields()) ViewFile(m_SSQXFileName);
}

void CDialog_JGC::OnViewDMX()
{
    if (ReadFields()) ViewFile(m_SDMXFileName);
}

void CDialog_JGC::OnViewDL()
{
    if (ReadFields()) ViewFile(m_SDLFileName);
}

void CDialog_JGC::OnViewJGC()
{
    if (!ReadFields()) return;
    if (!ToolFileExists(m_SJGCFileName)) {
        ClMessageBox(m_hWnd, L"基点高程文件不存在!", kJGCCaption, MB_ICONINFORMATION);
        return;
    }
    OpenToolDocument(m_SJGCFileName);
}

void CDialog_JGC::OnShowSketch() { ShowSchematicDialog(this, L"基点高程参数示意图", IDB_JGC_SKETCH); }

void CDialog_JGC::OnOK()
{
    if (!ReadFields()) return;
    if (!ConfirmOverwrite(m_SJGCFileName, L"基点高程文件已存在!\n\n是否覆盖?", kJGCCaption)) return;
    SerializeSettings(0);
    JGCParameters p;
    p.scale = m_rScale;
    p.unit = m_rRule;
    p.minDistance = m_rMinDistance;
    p.rowHeight = m_rRowHeight;
    p.pageAuto = m_bPageAuto != 0;
    p.pageLength = m_rPageLength;
    if (!WriteBaseElevations(this, m_SSQXFileName, m_SDMXFileName, m_bIncludeDL ? m_SDLFileName : CString(),
                             m_SJGCFileName, p))
        return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的纵断面图基点高程文件?", {m_SJGCFileName});
    NotifyRoadFilesChanged();
}

void ShowJGCDialog(CWnd* parent)
{
    CDialog_JGC dialog(parent);
    dialog.m_SSQXFileName = CurrentRoadFile(L".SQX");
    dialog.m_SDMXFileName = CurrentRoadFile(L".DMX");
    dialog.m_SDLFileName = CurrentRoadFile(L".DL");
    dialog.m_SJGCFileName = CurrentRoadFile(L".JGC");
    dialog.m_bIncludeDL = ToolFileExists(dialog.m_SDLFileName) ? 1 : 0;
    dialog.DoModal();
}
