#include "brisko/manager/Dialog_ZDMInquire.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/Utility.h"
#include "corvane/project/TavixInterface.h"
#include "corvane/road/BreakChain.h"
#include "corvane/road/Profile.h"
#include <cmath>

namespace {

const int kResultBoxes[] = {IDC_INQUIRE_DESIGN, IDC_INQUIRE_GROUND, IDC_INQUIRE_FILLCUT};

double Round4(double value) { return std::round(value * 10000) / 10000; }

} // namespace

BEGIN_MESSAGE_MAP(CDialog_ZDMInquire, CDialog)
    ON_BN_CLICKED(IDC_INQUIRE_RUN, OnRun)
    ON_EN_KILLFOCUS(IDC_INQUIRE_STATION, OnStationKillFocus)
END_MESSAGE_MAP()

CDialog_ZDMInquire::CDialog_ZDMInquire(CWnd* parent) : CDialog(IDD_ZDM_INQUIRE, parent) {}

CDialog_ZDMInquire::~CDialog_ZDMInquire()
{
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

int CDialog_ZDMInquire::Query()
{
    m_iResult = 0;
    m_bGroundKnown = FALSE;
    CString text = m_SStation;
    text.MakeUpper();
    text.Remove(L'K');
    text.Remove(L'+');
    const tkxBreakChain* chain = m_pProfile ? m_pProfile->GetBreakChain() : nullptr;
    double chainage = 0;
    if (!chain || !chain->GetGlobalZH(text, chainage)) {
        // No stale elevations beside the error: the results are hidden.
        m_SMessage.Format(L"输入桩号[%s]错误!", m_SStation.GetString());
        return m_iResult;
    }
    double design = 0;
    if (!m_pProfile->GetElevation(chainage, design)) {
        m_SMessage = tkx_GetLastError();
        return m_iResult;
    }
    m_bGroundKnown = m_pProfile->GetDMXCount() > 0;
    m_dGround = Round4(m_pProfile->GetDMXElevation(chainage));
    m_dFillCut = Round4(design - m_dGround);
    m_dDesign = Round4(design);
    m_SMessage = L"查询成功.";
    m_iResult = 1;
    return m_iResult;
}

void CDialog_ZDMInquire::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_INQUIRE_STATION, m_SStation);
    DDX_Text(pDX, IDC_INQUIRE_MESSAGE, m_SMessage);
    // The results are written only: the user does not type them.
    if (pDX->m_bSaveAndValidate) return;
    DDX_Text(pDX, IDC_INQUIRE_DESIGN, m_dDesign);
    if (m_bGroundKnown) {
        DDX_Text(pDX, IDC_INQUIRE_GROUND, m_dGround);
        DDX_Text(pDX, IDC_INQUIRE_FILLCUT, m_dFillCut);
    } else {
        // A road without a ground line has no ground elevation to give.
        SetDlgItemText(IDC_INQUIRE_GROUND, L"[未知]");
        SetDlgItemText(IDC_INQUIRE_FILLCUT, L"[未知]");
    }
}

BOOL CDialog_ZDMInquire::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hIcon = LoadAppIcon();
    if (m_hIcon) {
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    }
    ShowResults();
    return TRUE;
}

void CDialog_ZDMInquire::ShowResults()
{
    for (int id : kResultBoxes)
        if (CWnd* box = GetDlgItem(id)) box->ShowWindow(m_iResult == 1 ? SW_SHOW : SW_HIDE);
}

void CDialog_ZDMInquire::RunFromControls()
{
    UpdateData(TRUE);
    Query();
    ShowResults();
    UpdateData(FALSE);
}

void CDialog_ZDMInquire::OnRun() { RunFromControls(); }

void CDialog_ZDMInquire::OnStationKillFocus() { RunFromControls(); }

INT_PTR ShowZDMInquireDialog(const CString& station, tkxZDMInfo* profile, CWnd* parent)
{
    CDialog_ZDMInquire dialog(parent);
    dialog.m_SStation = station;
    dialog.m_pProfile = profile;
    dialog.Query();
    return dialog.DoModal();
}
