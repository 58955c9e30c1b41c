#include "brisko/convert/Dialog_HDXFormat.h"
#include "brisko/BriskoResource.h"
#include "brisko/convert/HDXLayout.h"
#include "corvane/road/HdxSection.h"

BEGIN_MESSAGE_MAP(CDialog_HDXFormat, CToolDialog)
    ON_BN_CLICKED(IDC_DERIVE_INCLUDE_DL, OnIncludeDL)
    ON_BN_CLICKED(IDC_TOOL_PICK_OUTPUT, OnPickOutput)
    ON_BN_CLICKED(IDC_TOOL_PICK_INPUT, OnPickInput)
    ON_BN_CLICKED(IDC_DERIVE_PICK_DMX, OnPickDMX)
    ON_BN_CLICKED(IDC_DERIVE_PICK_DL, OnPickDL)
    ON_BN_CLICKED(IDC_TOOL_VIEW_INPUT, OnViewInput)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_DMX, OnViewDMX)
    ON_BN_CLICKED(IDC_DERIVE_VIEW_DL, OnViewDL)
END_MESSAGE_MAP()

CDialog_HDXFormat::CDialog_HDXFormat(CWnd* parent) : CToolDialog(IDD_HDX_FORMAT, parent) {}

void CDialog_HDXFormat::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::HDXFormat,
                         {m_SFileFormat, m_SOutFileName, m_iOutFormat, m_bIncludeDL, m_SHDXFileName, m_SDMXFileName,
                          m_SDLFileName});
}

void CDialog_HDXFormat::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TOOL_PICK_OUTPUT, m_btnPickOutput);
    DDX_Control(pDX, IDC_TOOL_PICK_INPUT, m_btnPickInput);
    DDX_Control(pDX, IDC_DERIVE_PICK_DMX, m_btnPickDMX);
    DDX_Control(pDX, IDC_DERIVE_PICK_DL, m_btnPickDL);
    DDX_Control(pDX, IDC_TOOL_VIEW_INPUT, m_btnViewInput);
    DDX_Control(pDX, IDC_DERIVE_VIEW_DMX, m_btnViewDMX);
    DDX_Control(pDX, IDC_DERIVE_VIEW_DL, m_btnViewDL);
    DDX_Text(pDX, IDC_HDX_LAYOUT, m_SFileFormat);
    DDX_Text(pDX, IDC_TOOL_OUTPUT, m_SOutFileName);
    DDX_Radio(pDX, IDC_TOOL_FORMAT, m_iOutFormat);
    DDX_Check(pDX, IDC_DERIVE_INCLUDE_DL, m_bIncludeDL);
    DDX_Text(pDX, IDC_TOOL_INPUT, m_SHDXFileName);
    DDX_Text(pDX, IDC_DERIVE_DMX, m_SDMXFileName);
    DDX_Text(pDX, IDC_DERIVE_DL, m_SDLFileName);
    if (!pDX->m_bSaveAndValidate) EnableDL();
}

BOOL CDialog_HDXFormat::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    SetupPicker(m_btnPickOutput, IDS_TOOL_PICK_HDX);
    SetupPicker(m_btnPickInput, IDS_TOOL_PICK_HDX);
    SetupPicker(m_btnPickDMX, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickDL, IDS_TOOL_PICK_DL);
    for (tkxIconButton* viewer : {&m_btnViewInput, &m_btnViewDMX, &m_btnViewDL}) SetupViewer(*viewer);
    m_bIncludeDL = ToolFileExists(m_SDLFileName) ? 1 : 0;
    if (ToolFileExists(m_SHDXFileName))
        DetectLayout();
    else
        GetDlgItem(IDOK)->EnableWindow(FALSE);
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_HDXFormat::DetectLayout()
{
    Tavix4::enHDXFormat found = Tavix4::HDX_ABS1;
    const CString message = tkxHdxSection::CheckHDXFormat(m_SHDXFileName, found);
    if (!message.IsEmpty()) {
        ClMessageBox(m_hWnd, message, L"检测横地线文件格式失败", MB_ICONINFORMATION);
        GetDlgItem(IDOK)->EnableWindow(FALSE);
        return;
    }
    m_iFoundFormat = found;
    const int radios[3] = {IDC_TOOL_FORMAT, IDC_TOOL_FORMAT1, IDC_TOOL_FORMAT2};
    for (int layout = 0; layout < 3; ++layout) GetDlgItem(radios[layout])->EnableWindow(layout != found);
    m_iOutFormat = HDXPresetTarget(found);
    m_SFileFormat = HDXLayoutText(found);
    GetDlgItem(IDOK)->EnableWindow(TRUE);
}

void CDialog_HDXFormat::EnableDL()
{
    const BOOL on = IsDlgButtonChecked(IDC_DERIVE_INCLUDE_DL) == BST_CHECKED;
    for (int id : {IDC_DERIVE_DL, IDC_DERIVE_PICK_DL, IDC_DERIVE_VIEW_DL})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
}

void CDialog_HDXFormat::OnIncludeDL() { EnableDL(); }

void CDialog_HDXFormat::OnPickOutput()
{
    if (PickFile(0, m_SOutFileName, L"HDX", L"", L"")) UpdateData(FALSE);
}

void CDialog_HDXFormat::OnPickInput()
{
    if (!PickFile(1, m_SHDXFileName, L"HDX", L"", L"")) return;
    m_SDMXFileName = ToolDerivedPath(m_SHDXFileName, L".DMX");
    m_SDLFileName = ToolDerivedPath(m_SHDXFileName, L".DL");
    m_SOutFileName = ToolDerivedPath(m_SHDXFileName, L"_New.HDX");
    m_bIncludeDL = ToolFileExists(m_SDLFileName) ? 1 : 0;
    DetectLayout();
    UpdateData(FALSE);
}

void CDialog_HDXFormat::OnPickDMX()
{
    if (PickFile(1, m_SDMXFileName, L"DMX", L"", L"")) UpdateData(FALSE);
}

void CDialog_HDXFormat::OnPickDL()
{
    if (PickFile(1, m_SDLFileName, L"DL", L"", L"")) UpdateData(FALSE);
}

void CDialog_HDXFormat::OnViewInput()
{
    if (UpdateData(TRUE)) ViewFile(m_SHDXFileName);
}

void CDialog_HDXFormat::OnViewDMX()
{
    if (UpdateData(TRUE)) ViewFile(m_SDMXFileName);
}

void CDialog_HDXFormat::OnViewDL()
{
    if (UpdateData(TRUE)) ViewFile(m_SDLFileName);
}

void CDialog_HDXFormat::OnOK()
{
    if (!UpdateData(TRUE)) return;
    SerializeSettings(0);
    if (!ConvertHDXLayout(this, m_SHDXFileName, m_SDMXFileName, m_bIncludeDL ? m_SDLFileName : CString(),
                          m_iOutFormat, m_SOutFileName))
        return;
    CDialog::OnOK();
    AskOpenGenerated(L"是否打开生成的横地线文件?", {m_SOutFileName});
}

void ShowHDXFormatDialog(CWnd* parent)
{
    CDialog_HDXFormat dialog(parent);
    dialog.DoModal();
}
