#include "brisko/convert/Dialog_MoveData.h"
#include "brisko/BriskoResource.h"

namespace {

// The example rows the table starts with: station, offset.
const wchar_t* const kExampleRows[][2] = {
    {L"15", L"4.0"}, {L"255", L"0.0"}, {L"1770", L"-10.0"}, {L"2150", L"0.0"}, {L"2260", L"-10.0"}, {L"2590", L"0.0"},
};

const int kSegmentColumn = 1;

} // namespace

BEGIN_MESSAGE_MAP(CDialog_MoveData, CToolDialog)
    ON_BN_CLICKED(IDC_MOVE_INCLUDE_DL, OnIncludeBreakChain)
    ON_BN_CLICKED(IDC_MOVE_PICK_DMX_IN, OnPickDMXIn)
    ON_BN_CLICKED(IDC_MOVE_PICK_HDX_IN, OnPickHDXIn)
    ON_BN_CLICKED(IDC_MOVE_PICK_DMX_OUT, OnPickDMXOut)
    ON_BN_CLICKED(IDC_MOVE_PICK_HDX_OUT, OnPickHDXOut)
    ON_BN_CLICKED(IDC_MOVE_PICK_DL, OnPickDL)
    ON_BN_CLICKED(IDC_MOVE_VIEW_DMX, OnViewDMX)
    ON_BN_CLICKED(IDC_MOVE_VIEW_HDX, OnViewHDX)
    ON_BN_CLICKED(IDC_MOVE_VIEW_DL, OnViewDL)
END_MESSAGE_MAP()

CDialog_MoveData::CDialog_MoveData(CWnd* parent) : CToolDialog(IDD_MOVE_DATA, parent), m_Grid(0, 0, 0, 0) {}

void CDialog_MoveData::SerializeSettings(int get)
{
    ExchangeToolSettings(get, tool_section::MoveData,
                         {m_SDMXFileName0, m_SDMXFileName1, m_SHDXFileName0, m_SHDXFileName1, m_iDatFormat,
                          m_bIncludeBreakChain, m_SDLFileName});
}

void CDialog_MoveData::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_MOVE_PICK_DMX_IN, m_btnPickDMXIn);
    DDX_Control(pDX, IDC_MOVE_PICK_HDX_IN, m_btnPickHDXIn);
    DDX_Control(pDX, IDC_MOVE_PICK_DMX_OUT, m_btnPickDMXOut);
    DDX_Control(pDX, IDC_MOVE_PICK_HDX_OUT, m_btnPickHDXOut);
    DDX_Control(pDX, IDC_MOVE_PICK_DL, m_btnPickDL);
    DDX_Control(pDX, IDC_MOVE_VIEW_DMX, m_btnViewDMX);
    DDX_Control(pDX, IDC_MOVE_VIEW_HDX, m_btnViewHDX);
    DDX_Control(pDX, IDC_MOVE_VIEW_DL, m_btnViewDL);
    DDX_Text(pDX, IDC_MOVE_DMX_IN, m_SDMXFileName0);
    DDX_Text(pDX, IDC_MOVE_DMX_OUT, m_SDMXFileName1);
    DDX_Text(pDX, IDC_MOVE_HDX_IN, m_SHDXFileName0);
    DDX_Text(pDX, IDC_MOVE_HDX_OUT, m_SHDXFileName1);
    DDX_Radio(pDX, IDC_MOVE_FORMAT_ABS, m_iDatFormat);
    DDX_Check(pDX, IDC_MOVE_INCLUDE_DL, m_bIncludeBreakChain);
    DDX_Text(pDX, IDC_MOVE_DL, m_SDLFileName);
    if (!pDX->m_bSaveAndValidate) EnableBreakChain();
}

BOOL CDialog_MoveData::OnInitDialog()
{
    CToolDialog::OnInitDialog();
    SerializeSettings(1);
    SetupPicker(m_btnPickDMXIn, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickHDXIn, IDS_TOOL_PICK_HDX);
    SetupPicker(m_btnPickDMXOut, IDS_TOOL_PICK_DMX);
    SetupPicker(m_btnPickHDXOut, IDS_TOOL_PICK_HDX);
    SetupPicker(m_btnPickDL, IDS_TOOL_PICK_DL);
    for (tkxIconButton* viewer : {&m_btnViewDMX, &m_btnViewHDX, &m_btnViewDL}) SetupViewer(*viewer);
    SetUpGrid();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_MoveData::SetUpGrid()
{
    CRect place(0, 0, 200, 200);
    if (CWnd* placeholder = GetDlgItem(IDC_MOVE_GRID)) {
        placeholder->GetWindowRect(place);
        ScreenToClient(place);
        placeholder->DestroyWindow();
    }
    m_Grid.Create(place, this, IDC_MOVE_GRID);
    // Cells on white; a column closed to typing on the face colour, as a
    // disabled field shows.
    m_Grid.SetTextBkColor(::GetSysColor(COLOR_WINDOW));
    m_Grid.SetReadOnlyColor(::GetSysColor(COLOR_BTNFACE));
    m_Grid.DeleteAllItems();
    m_Grid.SetFixedRowCount(1);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    m_Grid.InsertColumn(L"桩号", format, -1);
    m_Grid.InsertColumn(L"断链号", format, -1);
    m_Grid.InsertColumn(L"中桩偏移值", format, -1);
    CRect client;
    m_Grid.GetClientRect(client);
    // The station and segment columns are 65 and 45 pixels wide, or as wide
    // as their headings in the window's font where that is more; the offset
    // column takes the rest.
    const int least[] = {65, 45};
    for (int c = 0; c < 2; ++c) {
        m_Grid.AutoSizeColumn(c);
        if (m_Grid.GetColumnWidth(c) < least[c]) m_Grid.SetColumnWidth(c, least[c]);
    }
    m_Grid.SetColumnWidth(2, client.Width() - m_Grid.GetColumnWidth(0) - m_Grid.GetColumnWidth(1));
    for (const auto& row : kExampleRows) {
        const int r = m_Grid.InsertRow(row[0], -1);
        m_Grid.SetItemText(r, 2, row[1]);
    }
    m_Grid.RedrawList();
}

std::vector<MoveOffsetRow> CDialog_MoveData::TableRows() const
{
    std::vector<MoveOffsetRow> rows;
    for (int r = m_Grid.GetFixedRowCount(); r < m_Grid.GetRowCount(); ++r)
        rows.push_back({m_Grid.GetItemText(r, 0), m_Grid.GetItemText(r, 1), m_Grid.GetItemText(r, 2)});
    return rows;
}

void CDialog_MoveData::EnableBreakChain()
{
    const BOOL on = IsDlgButtonChecked(IDC_MOVE_INCLUDE_DL) == BST_CHECKED;
    for (int id : {IDC_MOVE_DL, IDC_MOVE_PICK_DL, IDC_MOVE_VIEW_DL})
        if (CWnd* control = GetDlgItem(id)) control->EnableWindow(on);
    // Segments are typed only for a road with a break chain.
    if (m_Grid.GetSafeHwnd()) {
        m_Grid.SetReadOnlyColumn(kSegmentColumn, !on);
        m_Grid.RedrawList();
    }
}

void CDialog_MoveData::OnIncludeBreakChain()
{
    if (UpdateData(TRUE)) UpdateData(FALSE);
}

void CDialog_MoveData::OnPickDMXIn()
{
    if (!PickFile(1, m_SDMXFileName0, L"DMX", L"", L"")) return;
    m_SDMXFileName1 = ToolDerivedPath(m_SDMXFileName0, L"_NEW.DMX");
    m_SHDXFileName0 = ToolDerivedPath(m_SDMXFileName0, L".HDX");
    m_SHDXFileName1 = ToolDerivedPath(m_SDMXFileName0, L"_NEW.HDX");
    m_SDLFileName = ToolDerivedPath(m_SDMXFileName0, L".DL");
    UpdateData(FALSE);
}

void CDialog_MoveData::OnPickHDXIn()
{
    if (PickFile(1, m_SHDXFileName0, L"HDX", L"", L"")) UpdateData(FALSE);
}

void CDialog_MoveData::OnPickDMXOut()
{
    if (PickFile(0, m_SDMXFileName1, L"DMX", L"", L"")) UpdateData(FALSE);
}

void CDialog_MoveData::OnPickHDXOut()
{
    if (PickFile(0, m_SHDXFileName1, L"HDX", L"", L"")) UpdateData(FALSE);
}

void CDialog_MoveData::OnPickDL()
{
    if (PickFile(1, m_SDLFileName, L"DL", L"", L"")) UpdateData(FALSE);
}

void CDialog_MoveData::OnViewDMX()
{
    if (UpdateData(TRUE)) ViewFile(m_SDMXFileName0);
}

void CDialog_MoveData::OnViewHDX()
{
    if (UpdateData(TRUE)) ViewFile(m_SHDXFileName0);
}

void CDialog_MoveData::OnViewDL()
{
    if (UpdateData(TRUE)) ViewFile(m_SDLFileName);
}

void CDialog_MoveData::OnOK()
{
    if (!UpdateData(TRUE)) return;
    SerializeSettings(0);
    MoveDataJob job;
    job.dmxIn = m_SDMXFileName0;
    job.dmxOut = m_SDMXFileName1;
    job.hdxIn = m_SHDXFileName0;
    job.hdxOut = m_SHDXFileName1;
    job.dlPath = m_SDLFileName;
    job.format = m_iDatFormat;
    job.withBreakChain = m_bIncludeBreakChain != 0;
    if (!RunMoveData(this, job, TableRows())) return;
    AskOpenGenerated(L"是否打开生成的纵横断面文件?", {m_SDMXFileName1, m_SHDXFileName1});
    CDialog::OnOK();
}

void ShowMoveDataDialog(CWnd* parent)
{
    CDialog_MoveData dialog(parent);
    dialog.DoModal();
}
