#include "brisko/templates/Dialog_Template_Copy.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "corvane/platform/FileName.h"

CDialog_Template_Copy::CDialog_Template_Copy(CWnd* parent) : CDialog(IDD_TEMPLATE_COPY, parent) {}

void CDialog_Template_Copy::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TCOPY_NEW, m_SNewName);
    DDX_Text(pDX, IDC_TCOPY_OLD, m_SOldName);
}

BOOL CDialog_Template_Copy::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_bRename ? L"重命名模板: [输入新模板名称]" : L"另存为新模板: [输入新模板名称]");
    return TRUE;
}

CString CDialog_Template_Copy::CheckNewName() const
{
    const CString folder = theApp.m_CurTBase.m_SPath;
    // A rename is offered the whole path: its folder must stay the
    // library's.  The name itself must be a file name.
    CString name = m_SNewName;
    const int slash = name.ReverseFind(L'\\');
    if (m_bRename && slash >= 0) {
        if (name.Left(slash).CompareNoCase(folder) != 0)
            return ClFormat(L"模板文件必须位于当前模板库的路径<%s>中!", folder.GetString());
        name = name.Mid(slash + 1);
    }
    if (name.Trim().IsEmpty()) return L"模板文件名不能为空!";
    if (name.FindOneOf(L"\\/:*?\"<>|") >= 0) return L"模板文件名不能包含以下字符!\n\n\\ / : * ? \" < > |";
    return CString();
}

void CDialog_Template_Copy::OnOK()
{
    if (!UpdateData(TRUE)) return;
    const CString folder = theApp.m_CurTBase.m_SPath;
    const CString target = folder + L"\\" + tkxFileName(m_SNewName).GetFileName();
    CString message;
    if (m_SNewName == m_SOldName)
        message = L"另存为新模板时，文件名不能相同。";
    else
        message = CheckNewName();
    if (message.IsEmpty() && !m_bRename && tkxFileName::Exist(target))
        message = ClFormat(L"文件%s已经存在，\n\n请重新输入文件名!", target.GetString());
    if (message.IsEmpty() && theApp.m_CurTBase.HasIncludeTemp(m_SNewName))
        message = ClFormat(L"模板文件%s已经包含在当前模板库中!", m_SNewName.GetString());
    if (!message.IsEmpty()) {
        ClMessageBox(m_hWnd, message, kBriskoCaption, MB_ICONINFORMATION);
        return;
    }
    EndDialog(IDOK);
}
