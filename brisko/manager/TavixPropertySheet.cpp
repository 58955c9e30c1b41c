#include "brisko/manager/TavixPropertySheet.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/SharedDialogs.h"
#include "corvane/project/Project.h"

namespace {

const int kPrecisionEdits[CProPage_Setting_BZPrecision::kPrecisions] = {
    IDC_BZ_ZH, IDC_BZ_R, IDC_BZ_A, IDC_BZ_XY, IDC_BZ_L, IDC_BZ_WIDTH, IDC_BZ_ELV, IDC_BZ_SLOPE, IDC_BZ_AREA, IDC_BZ_VOLUME};
const int kPrecisionSpins[CProPage_Setting_BZPrecision::kPrecisions] = {
    IDC_BZ_SPIN_ZH,    IDC_BZ_SPIN_R,   IDC_BZ_SPIN_A,     IDC_BZ_SPIN_XY,   IDC_BZ_SPIN_L,
    IDC_BZ_SPIN_WIDTH, IDC_BZ_SPIN_ELV, IDC_BZ_SPIN_SLOPE, IDC_BZ_SPIN_AREA, IDC_BZ_SPIN_VOLUME};
const int kHighestPrecision = 5;

const int kLabelEdits[CProPage_Setting_ZDString::kLabels] = {IDC_ZD_QD, IDC_ZD_ZD, IDC_ZD_ZY, IDC_ZD_YZ, IDC_ZD_ZH,
                                                             IDC_ZD_HZ, IDC_ZD_HY, IDC_ZD_YH, IDC_ZD_GQ, IDC_ZD_ZZ};
const int kLabelChars = 10;

// The project's labels in the page's order.
CString* ProjectLabels(sPrjSetting1& s, int i)
{
    CString* labels[CProPage_Setting_ZDString::kLabels] = {&s.m_SQD, &s.m_SZD, &s.m_SZY, &s.m_SYZ, &s.m_SZH,
                                                           &s.m_SHZ, &s.m_SHY, &s.m_SYH, &s.m_SHH, &s.m_SZZ};
    return labels[i];
}

int* ProjectPrecision(sPrjSetting0& s, int i)
{
    int* precisions[CProPage_Setting_BZPrecision::kPrecisions] = {
        &s.m_iPrecision_ZH,    &s.m_iPrecision_R,   &s.m_iPrecision_A,     &s.m_iPrecision_XY,   &s.m_iPrecision_L,
        &s.m_iPrecision_Width, &s.m_iPrecision_Elv, &s.m_iPrecision_Slope, &s.m_iPrecision_Area, &s.m_iPrecision_Volume};
    return precisions[i];
}

} // namespace

// ---------------------------------------------------------------------------
// The sheet

IMPLEMENT_DYNAMIC(CTavixPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CTavixPropertySheet, CPropertySheet)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CTavixPropertySheet::CTavixPropertySheet(UINT captionId, CWnd* parent) : CPropertySheet(captionId, parent) {}

BOOL CTavixPropertySheet::OnInitDialog()
{
    CPropertySheet::OnInitDialog();
    SetAppIcon(this);
    for (int id : {static_cast<int>(ID_APPLY_NOW), static_cast<int>(IDHELP)})
        if (CWnd* button = GetDlgItem(id)) button->ShowWindow(SW_HIDE);
    return TRUE;
}

void CTavixPropertySheet::OnPaint()
{
    Default();
    const wchar_t* name = MAKEINTRESOURCEW(IDB_SHEET_LOGO);
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    HBITMAP logo = module ? static_cast<HBITMAP>(::LoadImageW(module, name, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
    if (!logo) return;
    BITMAP info{};
    ::GetObjectW(logo, sizeof info, &info);
    CRect client;
    GetClientRect(&client);
    CClientDC dc(this);
    HDC memory = ::CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ old = ::SelectObject(memory, logo);
    ::BitBlt(dc.GetSafeHdc(), 6, client.bottom - 6 - info.bmHeight, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(logo);
}

// ---------------------------------------------------------------------------
// Big numbers and precisions

const int CProPage_Setting_BZPrecision::kDefaultPrecisions[kPrecisions] = {3, 3, 4, 3, 3, 3, 3, 4, 0, 0};

IMPLEMENT_DYNAMIC(CProPage_Setting_BZPrecision, CPropertyPage)

BEGIN_MESSAGE_MAP(CProPage_Setting_BZPrecision, CPropertyPage)
    ON_BN_CLICKED(IDC_BZ_SUBTRACT, OnSubtractClicked)
    ON_BN_CLICKED(IDC_BZ_RESTORE, OnRestore)
    ON_NOTIFY_RANGE(UDN_DELTAPOS, IDC_BZ_SPIN_ZH, IDC_BZ_SPIN_VOLUME, OnSpinStep)
END_MESSAGE_MAP()

CProPage_Setting_BZPrecision::CProPage_Setting_BZPrecision()
    : CPropertyPage(IDD_SETTING_BZPRECISION), m_bSubtractBigNumber(0), m_rBigNumberX(0.0), m_rBigNumberY(0.0),
      m_bReserveZero(1)
{
    for (int i = 0; i < kPrecisions; ++i) m_iPrecisions[i] = kDefaultPrecisions[i];
}

void CProPage_Setting_BZPrecision::FromProject(const tkxProject& project)
{
    m_bSubtractBigNumber = project.m_iReserve;
    m_rBigNumberX = project.m_rReserve1;
    m_rBigNumberY = project.m_rReserve2;
    sPrjSetting0 settings = project.m_sPrjSetting0;
    for (int i = 0; i < kPrecisions; ++i) m_iPrecisions[i] = *ProjectPrecision(settings, i);
    m_bReserveZero = settings.m_bReserveZero;
}

void CProPage_Setting_BZPrecision::ToProject(tkxProject& project) const
{
    project.m_iReserve = m_bSubtractBigNumber;
    project.m_rReserve1 = m_rBigNumberX;
    project.m_rReserve2 = m_rBigNumberY;
    for (int i = 0; i < kPrecisions; ++i) *ProjectPrecision(project.m_sPrjSetting0, i) = m_iPrecisions[i];
    project.m_sPrjSetting0.m_bReserveZero = m_bReserveZero;
}

void CProPage_Setting_BZPrecision::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_BZ_SUBTRACT, m_bSubtractBigNumber);
    DDX_Text(pDX, IDC_BZ_X, m_rBigNumberX);
    DDX_Text(pDX, IDC_BZ_Y, m_rBigNumberY);
    for (int i = 0; i < kPrecisions; ++i) {
        DDX_Text(pDX, kPrecisionEdits[i], m_iPrecisions[i]);
        DDV_MinMaxInt(pDX, m_iPrecisions[i], 0, kHighestPrecision);
    }
    DDX_Check(pDX, IDC_BZ_ZERO, m_bReserveZero);
}

BOOL CProPage_Setting_BZPrecision::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_btnRestore.SubclassDlgItem(IDC_BZ_RESTORE, this);
    m_btnRestore.SetIcon(IDI_RESTORE_IN, IDI_RESTORE_OUT);
    CString tip = L"还原默认设置的标注精度";
    m_btnRestore.SetTooltipText(&tip);
    for (int spin : kPrecisionSpins) SendDlgItemMessage(spin, UDM_SETRANGE32, 0, kHighestPrecision);
    FillControls();
    return TRUE;
}

void CProPage_Setting_BZPrecision::FillControls()
{
    GetDlgItem(IDC_BZ_X)->EnableWindow(m_bSubtractBigNumber != 0);
    GetDlgItem(IDC_BZ_Y)->EnableWindow(m_bSubtractBigNumber != 0);
    for (int i = 0; i < kPrecisions; ++i) SendDlgItemMessage(kPrecisionSpins[i], UDM_SETPOS32, 0, m_iPrecisions[i]);
    UpdateData(FALSE);
}

void CProPage_Setting_BZPrecision::OnSubtractClicked()
{
    UpdateData(TRUE);
    FillControls();
}

void CProPage_Setting_BZPrecision::OnRestore()
{
    UpdateData(TRUE);
    for (int i = 0; i < kPrecisions; ++i) m_iPrecisions[i] = kDefaultPrecisions[i];
    m_bReserveZero = 1;
    FillControls();
}

void CProPage_Setting_BZPrecision::OnSpinStep(UINT id, NMHDR* header, LRESULT* result)
{
    // The step is the page's own: the spin button changes nothing itself.
    *result = 1;
    int index = -1;
    for (int i = 0; i < kPrecisions; ++i)
        if (kPrecisionSpins[i] == static_cast<int>(id)) index = i;
    if (index < 0 || !UpdateData(TRUE)) return;
    const int delta = reinterpret_cast<NMUPDOWN*>(header)->iDelta;
    int& value = m_iPrecisions[index];
    if (delta < 0 && value > 0) --value;
    if (delta > 0 && value < kHighestPrecision) ++value;
    FillControls();
}

// ---------------------------------------------------------------------------
// Main-point labels and station style

const wchar_t* const CProPage_Setting_ZDString::kPinyinLabels[kLabels] = {L"QD", L"ZD", L"ZY", L"YZ", L"ZH",
                                                                           L"HZ", L"HY", L"YH", L"GQ", L"ZZ"};
const wchar_t* const CProPage_Setting_ZDString::kEnglishLabels[kLabels] = {L"BP", L"EP", L"TC", L"CT",  L"TS",
                                                                            L"ST", L"SC", L"CS", L"PCC", L"TT"};

IMPLEMENT_DYNAMIC(CProPage_Setting_ZDString, CPropertyPage)

BEGIN_MESSAGE_MAP(CProPage_Setting_ZDString, CPropertyPage)
    ON_BN_CLICKED(IDC_ZD_PINYIN, OnModeClicked)
    ON_BN_CLICKED(IDC_ZD_ENGLISH, OnModeClicked)
    ON_BN_CLICKED(IDC_ZD_CUSTOM, OnModeClicked)
END_MESSAGE_MAP()

CProPage_Setting_ZDString::CProPage_Setting_ZDString()
    : CPropertyPage(IDD_SETTING_ZDSTRING), m_iMode(0), m_iZHDimStyle(0)
{
    for (int i = 0; i < kLabels; ++i) m_SLabels[i] = kPinyinLabels[i];
}

void CProPage_Setting_ZDString::FromProject(const tkxProject& project)
{
    sPrjSetting1 settings = project.m_sPrjSetting1;
    for (int i = 0; i < kLabels; ++i) m_SLabels[i] = *ProjectLabels(settings, i);
    m_iMode = settings.m_iMode;
    m_iZHDimStyle = settings.m_iZHDimStyle;
}

void CProPage_Setting_ZDString::ToProject(tkxProject& project) const
{
    for (int i = 0; i < kLabels; ++i) *ProjectLabels(project.m_sPrjSetting1, i) = m_SLabels[i];
    project.m_sPrjSetting1.m_iMode = m_iMode;
    project.m_sPrjSetting1.m_iZHDimStyle = m_iZHDimStyle;
}

void CProPage_Setting_ZDString::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_ZD_PINYIN, m_iMode);
    for (int i = 0; i < kLabels; ++i) {
        DDX_Text(pDX, kLabelEdits[i], m_SLabels[i]);
        DDV_MaxChars(pDX, m_SLabels[i], kLabelChars);
    }
    DDX_Radio(pDX, IDC_ZD_STYLE_K, m_iZHDimStyle);
}

BOOL CProPage_Setting_ZDString::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CProPage_Setting_ZDString::FillControls()
{
    if (m_iMode == 0 || m_iMode == 1) {
        const wchar_t* const* labels = m_iMode == 0 ? kPinyinLabels : kEnglishLabels;
        for (int i = 0; i < kLabels; ++i) m_SLabels[i] = labels[i];
    }
    for (int edit : kLabelEdits) SendDlgItemMessage(edit, EM_SETREADONLY, m_iMode != 2, 0);
    UpdateData(FALSE);
}

void CProPage_Setting_ZDString::OnModeClicked()
{
    UpdateData(TRUE);
    FillControls();
}

// ---------------------------------------------------------------------------
// Slope-hatch lines

IMPLEMENT_DYNAMIC(CProPage_Setting_SPXLength, CPropertyPage)

BEGIN_MESSAGE_MAP(CProPage_Setting_SPXLength, CPropertyPage)
    ON_BN_CLICKED(IDC_SPX_BYRATE, OnByRateClicked)
END_MESSAGE_MAP()

CProPage_Setting_SPXLength::CProPage_Setting_SPXLength()
    : CPropertyPage(IDD_SETTING_SPXLENGTH), m_rDistance(2.0), m_rLength(10.0), m_rScale(2.0), m_rMinLength(0.0),
      m_bByLengthRate(0), m_rLengthRate(0.75)
{
}

void CProPage_Setting_SPXLength::FromProject(const tkxProject& project)
{
    const sPrjSetting2& s = project.m_sPrjSetting2;
    m_rDistance = s.m_rDistance;
    m_rLength = s.m_rLength;
    m_rScale = s.m_rScale;
    m_rMinLength = s.m_rMinLength;
    m_bByLengthRate = s.m_bByLengthRate;
    m_rLengthRate = s.m_rLengthRate;
}

void CProPage_Setting_SPXLength::ToProject(tkxProject& project) const
{
    sPrjSetting2& s = project.m_sPrjSetting2;
    s.m_rDistance = m_rDistance;
    s.m_rLength = m_rLength;
    s.m_rScale = m_rScale;
    s.m_rMinLength = m_rMinLength;
    s.m_bByLengthRate = m_bByLengthRate;
    s.m_rLengthRate = m_rLengthRate;
}

void CProPage_Setting_SPXLength::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SPX_DISTANCE, m_rDistance);
    DDV_MinMaxDouble(pDX, m_rDistance, 0.1, 100.0);
    // Of the long line's length and its share of the slope length only the
    // one shown is read (and checked); the check box, read last, may just
    // have changed which one that is.
    if (!pDX->m_bSaveAndValidate || !m_bByLengthRate) {
        DDX_Text(pDX, IDC_SPX_LENGTH, m_rLength);
        if (pDX->m_bSaveAndValidate) DDV_MinMaxDouble(pDX, m_rLength, 0.1, 100.0);
    }
    if (!pDX->m_bSaveAndValidate || m_bByLengthRate) {
        DDX_Text(pDX, IDC_SPX_SHARE, m_rLengthRate);
        if (pDX->m_bSaveAndValidate) DDV_MinMaxDouble(pDX, m_rLengthRate, 0.0, 1.0);
    }
    DDX_Text(pDX, IDC_SPX_RATIO, m_rScale);
    DDV_MinMaxDouble(pDX, m_rScale, 1.0, 10.0);
    DDX_Text(pDX, IDC_SPX_MINLENGTH, m_rMinLength);
    DDX_Check(pDX, IDC_SPX_BYRATE, m_bByLengthRate);
}

BOOL CProPage_Setting_SPXLength::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CProPage_Setting_SPXLength::FillControls()
{
    SetDlgItemText(IDC_SPX_LENGTH_LABEL, m_bByLengthRate ? L"长示坡线/坡长:" : L"长示坡线 = ");
    SetDlgItemText(IDC_SPX_LENGTH_UNIT, m_bByLengthRate ? L"" : L"米");
    GetDlgItem(IDC_SPX_LENGTH)->ShowWindow(m_bByLengthRate ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_SPX_SHARE)->ShowWindow(m_bByLengthRate ? SW_SHOW : SW_HIDE);
    UpdateData(FALSE);
}

void CProPage_Setting_SPXLength::OnByRateClicked()
{
    UpdateData(TRUE);
    FillControls();
}
