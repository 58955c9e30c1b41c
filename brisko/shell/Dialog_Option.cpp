#include "brisko/shell/Dialog_Option.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/SharedDialogs.h"

namespace {

// Colour index -> button; the others have none.
const struct {
    int index;
    UINT button;
} kColorButtons[] = {
    {0, IDC_OPT_BACK},     {3, IDC_OPT_COMMENT}, {4, IDC_OPT_NUMBER},  {5, IDC_OPT_OPERATOR}, {6, IDC_OPT_KEYWORD},
    {7, IDC_OPT_SELBACK},  {8, IDC_OPT_SELTEXT}, {9, IDC_OPT_READONLY}, {10, IDC_OPT_TEXT},
};

} // namespace

BEGIN_MESSAGE_MAP(CDialog_Option, CDialog)
    ON_BN_CLICKED(IDC_OPT_TOOLTIP, OnToolTipClicked)
    ON_BN_CLICKED(IDC_OPT_AUTORELOAD, OnAutoReloadClicked)
    ON_BN_CLICKED(IDC_OPT_DEFAULTS, OnDefaults)
END_MESSAGE_MAP()

CDialog_Option::CDialog_Option(CWnd* parent) : CDialog(IDD_OPTION, parent) {}

UINT CDialog_Option::ColorButtonId(int colorIndex)
{
    for (const auto& entry : kColorButtons)
        if (entry.index == colorIndex) return entry.button;
    return 0;
}

void CDialog_Option::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_OPT_TABWIDTH, m_nTabWidth);
    DDV_MinMaxShort(pDX, m_nTabWidth, 1, 20);
    DDX_Text(pDX, IDC_OPT_MARGIN, m_nMarginWidth);
    DDV_MinMaxShort(pDX, m_nMarginWidth, 20, 200);
    DDX_Text(pDX, IDC_OPT_LINEPITCH, m_nLinePitch);
    DDV_MinMaxShort(pDX, m_nLinePitch, 0, 20);
    DDX_Check(pDX, IDC_OPT_SHOWGRID, m_bShowGrid);
    DDX_Check(pDX, IDC_OPT_AUTOINDENT, m_bAutoIndent);
    DDX_Check(pDX, IDC_OPT_TOOLTIP, m_bShowToolTip);
    DDX_Text(pDX, IDC_OPT_DURATION, m_nDurationTime);
    DDV_MinMaxShort(pDX, m_nDurationTime, 1, 30);
    DDX_Check(pDX, IDC_OPT_AUTOCOMMENT, m_bAutoComment);
    DDX_Check(pDX, IDC_OPT_AUTORELOAD, m_bAutoReload);
    if (!pDX->m_bSaveAndValidate) {
        if (CWnd* duration = GetDlgItem(IDC_OPT_DURATION)) duration->EnableWindow(m_bShowToolTip);
    }
}

BOOL CDialog_Option::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetAppIcon(this);
    for (int i = 0; i < static_cast<int>(std::size(kColorButtons)); ++i)
        m_btnColors[i].SubclassDlgItem(kColorButtons[i].button, this);
    ShowColors();
    return TRUE;
}

void CDialog_Option::ShowColors()
{
    for (int i = 0; i < static_cast<int>(std::size(kColorButtons)); ++i)
        if (m_btnColors[i].GetSafeHwnd()) m_btnColors[i].SetColor(m_Colors[kColorButtons[i].index]);
}

void CDialog_Option::TakeColors()
{
    for (int i = 0; i < static_cast<int>(std::size(kColorButtons)); ++i)
        if (m_btnColors[i].GetSafeHwnd()) m_Colors[kColorButtons[i].index] = m_btnColors[i].GetColor();
}

void CDialog_Option::OnToolTipClicked()
{
    UpdateData(TRUE);
    UpdateData(FALSE);
}

void CDialog_Option::ShowReloadNotice()
{
    ClMessageBox(m_hWnd, L"FileWatch引擎提示:\n\n修改自动加载文件设置, 重新启动程序后生效!", kBriskoCaption,
                 MB_ICONINFORMATION);
}

void CDialog_Option::OnAutoReloadClicked()
{
    if (m_bAutoReloadClicked) return;
    m_bAutoReloadClicked = TRUE;
    ShowReloadNotice();
}

void CDialog_Option::OnDefaults()
{
    m_nTabWidth = 4;
    m_nMarginWidth = 30;
    m_nLinePitch = 5;
    m_nDurationTime = 10;
    m_bShowGrid = m_bAutoIndent = m_bShowToolTip = m_bAutoComment = TRUE;
    m_bAutoReload = FALSE;
    // The first-start colours, except that Color2 becomes the scroll-bar
    // colour here.
    CBriskoApp::GetDefaultColors(m_Colors);
    m_Colors[2] = ::GetSysColor(COLOR_SCROLLBAR);
    UpdateData(FALSE);
    ShowColors();
    Invalidate();
}

void CDialog_Option::OnOK()
{
    TakeColors();
    if (!UpdateData(TRUE)) return;
    if (m_bAutoReloadClicked) ShowReloadNotice();
    EndDialog(IDOK);
}
