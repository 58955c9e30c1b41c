#include "brisko/convert/Dialog_ConvertJGW.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/StructureTools.h"
#include "brisko/shell/BriskoApp.h"

BEGIN_MESSAGE_MAP(CDialog_ConvertJGW, CToolDialog)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickOutput)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
END_MESSAGE_MAP()

CDialog_ConvertJGW::CDialog_ConvertJGW(CWnd* parent) : CToolDialog(IDD_CONVERT_JGW, parent) {}

void CDialog_ConvertJGW::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, m_btnPickInput);
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, m_btnViewInput);
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT, m_btnPickOutput);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SInFileName);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
}

BOOL CDialog_ConvertJGW::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    const bool gzw = m_iMode == 0;
    SetWindowText(gzw ? L"转换Tavix原有GZW文件为构造物信息文件(GZX)" : L"由构造物信息文件(GZX)导出桥梁桩号文件(QL)");
    SetDlgItemText(IDC_TOOL_INPUT_LABEL, gzw ? L"平面构造物文件(*.GZW):" : L"构造物信息文件(*.GZX):");
    SetDlgItemText(IDC_TOOL_OUTPUT_LABEL, gzw ? L"构造物信息文件(*.GZX):" : L"桥梁桩号文件(*.QL):");
    SetupPicker(m_btnPickInput, gzw ? L"选择导入GZW文件." : L"选择导入GZX文件");
    SetupPicker(m_btnPickOutput, gzw ? IDS_TOOL_PICK_GZX : IDS_TOOL_PICK_QL);
    SetupViewer(m_btnViewInput);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_ConvertJGW::OnPickInput()
{
    const bool gzw = m_iMode == 0;
    const BOOL chosen = gzw ? PickFile(1, m_SInFileName, L"GZW", L"Tavix原构造物文件(*.GZW)|*.GZW||",
                                       L"选择Tavix原构造物文件(*.GZW)")
                            : PickFile(1, m_SInFileName, L"GZX", L"", L"");
    if (!chosen) return;
    m_SOutFileName = ToolDerivedPath(m_SInFileName, gzw ? L".GZX" : L".QL");
    UpdateData(FALSE);
}

void CDialog_ConvertJGW::OnPickOutput()
{
    if (PickFile(0, m_SOutFileName, m_iMode == 0 ? L"GZX" : L"QL", L"", L"")) UpdateData(FALSE);
}

void CDialog_ConvertJGW::OnViewInput()
{
    if (!UpdateData(TRUE)) return;
    ViewFile(m_SInFileName);
}

void CDialog_ConvertJGW::OnOK()
{
    if (!UpdateData(TRUE)) return;
    if (!ConfirmOverwrite(m_SOutFileName, ClFormat(L"%s\n\n文件已存在! 是否覆盖?", m_SOutFileName.GetString())))
        return;
    const int done = m_iMode == 0 ? ConvertGZWToGZX(this, m_SInFileName, m_SOutFileName)
                                  : ExportGZXToQL(this, m_SInFileName, m_SOutFileName, CurRoadBreakChain);
    if (!done) return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的文件?", {m_SOutFileName});
    NotifyRoadFilesChanged();
}

void ShowConvertJGWDialog(int mode, CWnd* parent)
{
    CDialog_ConvertJGW dialog(parent);
    dialog.m_iMode = mode;
    if (mode == 0) {
        dialog.m_SInFileName = WorkingRoadFile(L".GZW");
        dialog.m_SOutFileName = WorkingRoadFile(L".GZX");
    } else {
        dialog.m_SInFileName = CurrentRoadFile(L".GZX");
        dialog.m_SOutFileName = CurrentRoadFile(L".QL");
    }
    dialog.DoModal();
}
