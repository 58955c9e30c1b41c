#include "brisko/templates/Dialog_TemplateBase.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/SharedDialogs.h"
#include "corvane/platform/PathDialog.h"
#include "corvane/project/TavixInterface.h"

BEGIN_MESSAGE_MAP(CDialog_TemplateBase, CDialog)
    ON_EN_CHANGE(IDC_TBASE_NAME, OnNameChange)
    ON_BN_CLICKED(IDC_TBASE_BROWSE, OnBrowse)
    ON_NOTIFY(NM_CLICK, IDC_TBASE_LIST, OnListClick)
    ON_NOTIFY(NM_DBLCLK, IDC_TBASE_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

CDialog_TemplateBase::CDialog_TemplateBase(CWnd* parent) : CDialog(IDD_TEMPLATE_BASE, parent) {}

void CDialog_TemplateBase::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TBASE_DESCRIPTION, m_SDescription);
    DDX_Text(pDX, IDC_TBASE_NAME, m_SName);
    DDX_Text(pDX, IDC_TBASE_FOLDER, m_SPath);
    DDX_Text(pDX, IDC_TBASE_TIME, m_SCreateTime);
}

BOOL CDialog_TemplateBase::OnInitDialog()
{
    m_bFilling = true;
    CDialog::OnInitDialog();
    SetAppIcon(this);
    m_wndList.SubclassDlgItem(IDC_TBASE_LIST, this);
    m_btnBrowse.SubclassDlgItem(IDC_TBASE_BROWSE, this);
    m_btnBrowse.SetIcon(IDI_TPL_BROWSE, 0);
    CString tip = L"选择当前路径";
    m_btnBrowse.SetTooltipText(&tip);
    FillList();

    static const wchar_t* const kTitles[] = {L"创建模板库", L"打开模板库", L"模板库信息"};
    if (m_nMode >= kCreate && m_nMode <= kModify) SetWindowText(kTitles[m_nMode]);
    if (m_nMode == kCreate) {
        const CTime today = CTime::GetCurrentTime();
        m_SCreateTime = ClFormat(L"%d年%d月%d日", today.GetYear(), today.GetMonth(), today.GetDay());
        UpdateData(FALSE);
    }

    if (m_bmpPicture.LoadBitmap(IDB_ABOUT_BANNER))
        static_cast<CStatic*>(GetDlgItem(IDC_TBASE_PICTURE))->SetBitmap(m_bmpPicture);
    else
        ClMessageBox(m_hWnd, L"加载位图资源失败!", kBriskoCaption, MB_ICONERROR);
    Refresh();
    m_bFilling = false;
    return TRUE;
}

void CDialog_TemplateBase::FillList()
{
    tkx_GetAllTBNames(&m_SNames);
    tkx_GetAllTBPaths(&m_SPaths);
    if (m_ilList.Create(IDB_LIST_MARKS, 16, 0, RGB(255, 0, 255))) m_wndList.SetImageList(&m_ilList, LVSIL_SMALL);
    CRect client;
    m_wndList.GetClientRect(&client);
    m_wndList.InsertColumn(0, L"序号", LVCFMT_CENTER, 50);
    m_wndList.InsertColumn(1, L"模板库名称", LVCFMT_CENTER, client.Width() - 55);
    m_wndList.SetExtendedStyle(m_wndList.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_wndList.SendMessage(LVM_SETBKCOLOR, 0, RGB(193, 255, 255));
    m_wndList.SendMessage(LVM_SETTEXTBKCOLOR, 0, RGB(193, 255, 255));
    const int current = tkx_GetWorkSpace().m_iCurTB;
    for (INT_PTR i = 0; i < m_SNames.GetSize(); ++i) {
        const int row = static_cast<int>(i);
        m_wndList.InsertItem(row, ClFormat(L"%d", row + 1), row == current ? 0 : 1);
        m_wndList.SetItemText(row, 1, m_SNames[i]);
    }
    if (current >= 0 && current < m_wndList.GetItemCount()) {
        m_wndList.SendMessage(LVM_SETHOTITEM, static_cast<WPARAM>(current), 0);
        m_wndList.SendMessage(LVM_SETSELECTIONMARK, 0, current);
    }
}

void CDialog_TemplateBase::Refresh()
{
    const bool create = m_nMode == kCreate, open = m_nMode == kOpen;
    auto readOnly = [this](int id, bool on) {
        if (CWnd* edit = GetDlgItem(id)) edit->SendMessage(EM_SETREADONLY, on ? TRUE : FALSE, 0);
    };
    readOnly(IDC_TBASE_NAME, open);
    readOnly(IDC_TBASE_FOLDER, !create);
    readOnly(IDC_TBASE_DESCRIPTION, open);
    readOnly(IDC_TBASE_TIME, open);
    m_btnBrowse.EnableWindow(create);
    static const wchar_t* const kButtons[] = {L"创建", L"打开", L"保存"};
    if (m_nMode >= kCreate && m_nMode <= kModify) SetDlgItemText(IDOK, kButtons[m_nMode]);
}

// In create mode the library's folder follows its name, on the same drive.
void CDialog_TemplateBase::OnNameChange()
{
    if (m_bFilling || m_nMode != kCreate) return;
    CString name, folder;
    GetDlgItemText(IDC_TBASE_NAME, name);
    GetDlgItemText(IDC_TBASE_FOLDER, folder);
    const int colon = folder.Find(L":\\");
    const CString drive = colon >= 0 ? folder.Left(colon) : CString(L"C");
    SetDlgItemText(IDC_TBASE_FOLDER, ClFormat(L"%s:\\%s", drive.GetString(), name.GetString()));
}

void CDialog_TemplateBase::OnBrowse()
{
    if (m_nMode != kCreate) return;
    CString folder;
    GetDlgItemText(IDC_TBASE_FOLDER, folder);
    tkxPathDialog dialog(kBriskoCaption, L"请创建或选择模板库的存盘路径。", folder, this);
    if (dialog.DoModal() == 1) SetDlgItemText(IDC_TBASE_FOLDER, dialog.GetPathName());
}

void CDialog_TemplateBase::ShowRow(int row)
{
    if (m_nMode != kOpen || row < 0 || row >= m_SNames.GetSize()) return;
    const CString name = m_SNames[row];
    tkxTemplateBase library;
    if (!library.Load(ClFormat(L"%s\\%s.TPB", tkx_GetTBasePath(name).GetString(), name.GetString()))) return;
    m_SName = library.m_SName;
    m_SPath = library.m_SPath;
    m_SDescription = library.m_SDescription;
    m_SCreateTime = library.m_SCreateDate;
    UpdateData(FALSE);
}

void CDialog_TemplateBase::OpenRow(int row)
{
    if (m_nMode != kOpen || row < 0 || row >= m_SNames.GetSize()) return;
    tkxTemplateBase library;
    if (tkx_OpenTBase(m_SNames[row], &library, m_hWnd) != 1) {
        ClMessageBox(m_hWnd, ClFormat(L"打开模板库<%s.TPB>失败!", m_SNames[row].GetString()), kBriskoCaption,
                     MB_ICONERROR);
        return;
    }
    theApp.m_CurTBase = library;
    m_SName = library.m_SName;
    m_SPath = library.m_SPath;
    m_SDescription = library.m_SDescription;
    m_SCreateTime = library.m_SCreateDate;
    EndDialog(IDOK);
}

void CDialog_TemplateBase::OnListClick(NMHDR* header, LRESULT* result)
{
    ShowRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    *result = 0;
}

void CDialog_TemplateBase::OnListDoubleClick(NMHDR* header, LRESULT* result)
{
    OpenRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
    *result = 0;
}

CString CDialog_TemplateBase::CheckEdits()
{
    CString name = m_SName, folder = m_SPath;
    if (name.Trim().IsEmpty()) return L"模板库名称不能为空!";
    if (name.FindOneOf(L".\\?*/<>|:\"") >= 0) return L"模板库名称不能包含以下字符!\n\n\\ / : * ? \" < > |";
    if (folder.Trim().IsEmpty()) return L"模板库路径不能为空!";
    return CString();
}

void CDialog_TemplateBase::OnOK()
{
    if (!UpdateData(TRUE)) return;
    const CString problem = CheckEdits();
    if (!problem.IsEmpty()) {
        ClMessageBox(m_hWnd, problem, kBriskoCaption, MB_ICONERROR);
        return;
    }
    if (m_nMode == kCreate) {
        // A folder that is not there and cannot be made ends nothing here.
        if (tkxPathDialog::MakeSurePathExists(m_SPath.Trim()) != 0) return;
    } else if (m_nMode == kOpen) {
        tkxTemplateBase library;
        if (tkx_OpenTBase(m_SName, &library, m_hWnd) != 1) {
            ClMessageBox(m_hWnd, ClFormat(L"打开模板库<%s\\%s.TPB>失败!", m_SPath.GetString(), m_SName.GetString()),
                         kBriskoCaption, MB_ICONERROR);
            return;
        }
        theApp.m_CurTBase = library;
    }
    EndDialog(IDOK);
}
