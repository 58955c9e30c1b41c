#include "brisko/editor/Dialog_InsertComment.h"
#include "brisko/BriskoResource.h"
#include "brisko/shell/BriskoApp.h"
#include "brisko/shell/Utility.h"
#include "corvane/platform/FileName.h"

BEGIN_MESSAGE_MAP(CDialog_InsertComment, CDialog)
    ON_CBN_SELCHANGE(IDC_COMMENT_TYPE, OnTypeChanged)
END_MESSAGE_MAP()

CDialog_InsertComment::CDialog_InsertComment(CWnd* parent)
    : CDialog(IDD_INSERT_COMMENT, parent), m_iType(-1), m_SFilePath(L"*.*")
{
}

CDialog_InsertComment::~CDialog_InsertComment()
{
    if (m_hIcon) ::DestroyIcon(m_hIcon);
}

CString CDialog_InsertComment::CommentLines(const CString& comment)
{
    CString text;
    int start = 0;
    for (int end; (end = comment.Find(L'\n', start)) >= 0; start = end + 1)
        text += comment.Mid(start, end - start) + L"\r\n";
    return text;
}

void CDialog_InsertComment::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_COMMENT_TYPE, m_iType);
    DDX_Text(pDX, IDC_COMMENT_PREVIEW, m_SPreview);
}

void CDialog_InsertComment::FillPreview()
{
    const auto& styles = theApp.m_FileStyles;
    m_SPreview = m_iType >= 0 && m_iType < styles.GetSize() ? CommentLines(styles[m_iType].m_SComment) : CString();
}

BOOL CDialog_InsertComment::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The icon stays with the dialog while it is open.
    m_hIcon = LoadAppIcon();
    if (m_hIcon) SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));

    const auto& styles = theApp.m_FileStyles;
    ::SendDlgItemMessageW(m_hWnd, IDC_COMMENT_TYPE, CB_RESETCONTENT, 0, 0);
    for (INT_PTR i = 0; i < styles.GetSize(); ++i)
        ::SendDlgItemMessageW(m_hWnd, IDC_COMMENT_TYPE, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(styles[i].m_STypeName.GetString()));
    CString ext = tkxFileName(m_SFilePath).GetExt();
    ext.MakeUpper();
    if (ext.GetLength() > 1) {
        ext = ext.Mid(1);
        for (INT_PTR i = 0; i < styles.GetSize(); ++i) {
            if (ext == styles[i].m_SExt) {
                m_iType = static_cast<int>(i);
                FillPreview();
                break;
            }
        }
    }
    UpdateData(FALSE);
    return TRUE;
}

void CDialog_InsertComment::OnTypeChanged()
{
    UpdateData(TRUE);
    FillPreview();
    UpdateData(FALSE);
}

void CDialog_InsertComment::OnOK()
{
    UpdateData(TRUE);
    if (m_iType >= 0) {
        EndDialog(IDOK);
        return;
    }
    ClMessageBox(m_hWnd, L"请选择文件注释的类型!", kBriskoCaption, MB_OK | MB_ICONERROR);
}
