#include "corvane/ui/FileDialog.h"
#include "corvane/CorvaneResource.h"
#include "corvane/platform/FileName.h"
#include "corvane/platform/Registry.h"
#include "corvane/project/FileInterface.h"
#include "corvane/project/ProjectFolders.h"
#include "corvane/project/TavixDevApp.h"

namespace {

const wchar_t kHistoryKey[] = L"SOFTWARE\\TavixSuite\\TavixFileDialog";
const wchar_t kCaption[] = L"TAVIX";

// The platform dialog's file-name box: its own id in one layout, the plain
// edit's id in the other.
const int kFileNameCombo = 1148;
const int kFileNameEdit = 1152;

const int kPreviewLines = 100;
const int kPreviewChars = 512;

CString HistoryValueName(int i) { return ClFormat(L"PATH%d", i); }

CString WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return CString();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, text.data(), length + 1);
    return CString(text.data());
}

// A control's rectangle in the client coordinates of `to`.
CRect RectIn(HWND control, HWND to)
{
    CRect rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, to, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

IMPLEMENT_DYNAMIC(tkxFileDialog, CFileDialog)

BEGIN_MESSAGE_MAP(tkxFileDialog, CFileDialog)
    ON_BN_CLICKED(IDC_FILEDLG_ROAD, OnButtonCurRoad)
    ON_BN_CLICKED(IDC_FILEDLG_PROJECT, OnButtonCurPrj)
    ON_WM_SIZE()
    ON_NOTIFY(NM_DBLCLK, IDC_FILEDLG_HISTORY, OnDblclkList)
END_MESSAGE_MAP()

tkxFileDialog::tkxFileDialog(BOOL openFileDialog, const wchar_t* defExt, const wchar_t* fileName, unsigned long flags,
                             const wchar_t* filter, CWnd* parent)
    : CFileDialog(openFileDialog, defExt, fileName, flags, filter, parent), m_iFileNameCtrl(kFileNameCombo)
{
    m_ofn.lpstrTitle = L"请选择文件或文件夹";
    m_ofn.Flags |= OFN_ENABLETEMPLATE;
    m_ofn.hInstance = ClCallerModule(); // this library
    m_ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_FILE_DIALOG_PANEL);
    m_SPathHistory.SetSize(kHistorySize);
}

tkxFileDialog::~tkxFileDialog() = default;

HWND tkxFileDialog::GetPlatformDialog() const { return m_hWnd ? ::GetParent(m_hWnd) : nullptr; }

UINT_PTR CALLBACK tkxFileDialog::HookProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    // The panel's start: the object takes the panel's window from here on
    // (its procedure first, the platform's dialog procedure behind it).
    if (message != WM_INITDIALOG) return 0;
    auto* dialog = reinterpret_cast<tkxFileDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
    if (!dialog || !dialog->SubclassWindow(hwnd)) return 0;
    return dialog->OnInitDialog();
}

BOOL tkxFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == GetPlatformDialog()) {
        switch (header->code) {
        case CDN_SELCHANGE: OnFileNameChange(); break;
        case CDN_FOLDERCHANGE: OnFolderChange(); break;
        case CDN_TYPECHANGE: OnTypeChange(); break;
        default: return CFileDialog::OnNotify(wParam, lParam, result);
        }
        *result = 0;
        return TRUE;
    }
    return CFileDialog::OnNotify(wParam, lParam, result);
}

int tkxFileDialog::FindFileNameControl(HWND platformDialog)
{
    if (::GetDlgItem(platformDialog, kFileNameCombo)) return kFileNameCombo;
    if (::GetDlgItem(platformDialog, kFileNameEdit)) return kFileNameEdit;
    return 0;
}

BOOL tkxFileDialog::OnInitDialog()
{
    m_wndPreview.SubclassDlgItem(IDC_FILEDLG_PREVIEW, this);
    m_btnCurRoad.SubclassDlgItem(IDC_FILEDLG_ROAD, this);
    m_btnCurPrj.SubclassDlgItem(IDC_FILEDLG_PROJECT, this);
    m_btnCurRoad.SetIcon(IDI_FOLDER_OPEN_HOT, IDI_FOLDER_OPEN);
    m_btnCurPrj.SetIcon(IDI_FOLDER_OPEN_HOT, IDI_FOLDER_OPEN);
    m_btnCurRoad.SetWindowText(L"当前道路");
    CString roadTip = L"打开当前道路文件夹.";
    CString projectTip = L"打开当前项目文件夹.";
    m_btnCurRoad.SetTooltipText(&roadTip, TRUE);
    m_btnCurPrj.SetTooltipText(&projectTip, TRUE);

    m_FileDlgHelper.Init(this);

    // The buttons work through the file-name box; without one they are
    // hidden, and so they are without a current project or road to open.
    m_iFileNameCtrl = FindFileNameControl(GetPlatformDialog());
    tkxProject& project = TavixDevApp().m_CurProject;
    if (!m_iFileNameCtrl || project.m_SPath.IsEmpty()) {
        m_btnCurRoad.ShowWindow(SW_HIDE);
        m_btnCurPrj.ShowWindow(SW_HIDE);
    } else if (project.GetCurRoadName().IsEmpty()) {
        m_btnCurRoad.ShowWindow(SW_HIDE);
    }

    ReadPathHistory();
    return CFileDialog::OnInitDialog();
}

INT_PTR tkxFileDialog::DoModal()
{
    m_ofn.Flags |= OFN_ENABLEHOOK;
    m_ofn.lpfnHook = &tkxFileDialog::HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    const INT_PTR result = CFileDialog::DoModal();
    if (m_hWnd) UnsubclassWindow();
    if (result != IDOK) return result;

    const CString folder = tkxFileName(GetPathName()).GetPath();
    CString lower = folder;
    lower.MakeLower();
    for (int i = 0; i < m_SPathHistory.GetSize(); ++i) {
        CString entry = m_SPathHistory[i];
        if (entry.MakeLower() == lower) return result;
    }
    m_SPathHistory.InsertAt(0, folder);
    m_SPathHistory.SetSize(kHistorySize);
    SavePathHistory();
    return result;
}

// ---------------------------------------------------------------------------
// History

void tkxFileDialog::ReadPathHistory()
{
    CListCtrl* list = static_cast<CListCtrl*>(GetDlgItem(IDC_FILEDLG_HISTORY));
    if (!list || !list->m_hWnd) return;
    list->SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB | LVS_EX_INFOTIP);
    list->InsertColumn(0, L"     历 史 路 径   ", LVCFMT_CENTER, 300);

    // All ten values or nothing: a history with a value missing stays empty.
    tkxRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, kHistoryKey)) return;
    CStringArray read;
    read.SetSize(kHistorySize);
    for (int i = 0; i < kHistorySize; ++i)
        if (!key.ReadString(HistoryValueName(i), read[i])) return;

    m_SPathHistory.Copy(read);
    int row = 0;
    for (int i = 0; i < kHistorySize; ++i) {
        CString trimmed = m_SPathHistory[i];
        trimmed.Trim(L" ");
        if (!trimmed.IsEmpty()) list->InsertItem(row++, m_SPathHistory[i]);
    }
}

void tkxFileDialog::SavePathHistory()
{
    tkxRegistry key;
    if (!key.Open(HKEY_CURRENT_USER, kHistoryKey)) {
        if (!tkxRegistry::CreateKey(HKEY_CURRENT_USER, kHistoryKey, L"TavixFileDialog")) {
            ClMessageBox(TavixMainWindow(), L"创建失败", kCaption, MB_OK);
            return;
        }
        if (!key.Open(HKEY_CURRENT_USER, kHistoryKey)) {
            ClMessageBox(TavixMainWindow(), ClFormat(L"第二次打开失败\n\n%s", kHistoryKey), kCaption, MB_OK);
            return;
        }
    }
    for (int i = 0; i < kHistorySize; ++i) key.WriteString(HistoryValueName(i), m_SPathHistory[i]);
    key.Close();
}

// ---------------------------------------------------------------------------
// Opening a folder

void tkxFileDialog::JumpToFolder(const CString& folder)
{
    HWND platform = GetPlatformDialog();
    if (folder.IsEmpty() || !platform || !m_iFileNameCtrl) return;
    // The platform dialog takes a name that is no folder for a file name: a
    // save dialog would close with it chosen.  A folder that is gone (an old
    // history entry, a removed project) is named instead.
    if (!projectstore::FolderExists(folder)) {
        ClMessageBox(platform, ClFormat(L"文件夹:\n\n%s\n\n不存在.", folder.GetString()), kCaption,
                     MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const CString saved = WindowText(::GetDlgItem(platform, m_iFileNameCtrl));
    ::SendMessageW(platform, CDM_SETCONTROLTEXT, m_iFileNameCtrl, reinterpret_cast<LPARAM>(folder.GetString()));
    ::SendMessageW(platform, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(platform, IDOK)));
    ::SendMessageW(platform, CDM_SETCONTROLTEXT, m_iFileNameCtrl, reinterpret_cast<LPARAM>(saved.GetString()));
}

void tkxFileDialog::OnButtonCurRoad() { JumpToFolder(TavixDevApp().m_CurProject.GetCurRoadPath()); }

void tkxFileDialog::OnButtonCurPrj() { JumpToFolder(TavixDevApp().m_CurProject.m_SPath); }

void tkxFileDialog::OnDblclkList(NMHDR*, LRESULT* result)
{
    *result = 0;
    CListCtrl* list = static_cast<CListCtrl*>(GetDlgItem(IDC_FILEDLG_HISTORY));
    const int item = list ? list->GetNextItem(-1, LVNI_SELECTED) : -1;
    if (item < 0) return;
    CString folder = list->GetItemText(item, 0);
    if (folder.Right(1) == L":") folder += L"\\";
    JumpToFolder(folder);
}

// ---------------------------------------------------------------------------
// Preview

void tkxFileDialog::OnFileNameChange() { ShowFileInfo(); }
void tkxFileDialog::OnFolderChange() { ShowFileInfo(); }
void tkxFileDialog::OnTypeChange() { ShowFileInfo(); }

void tkxFileDialog::ShowFileInfo()
{
    CListCtrl* list = m_FileDlgHelper.GetListCtrl();
    const int selected = list ? list->GetSelectedCount() : 0;

    // The platform dialog's current choice: its folder and the name in its
    // file-name box.
    const CString path = CFileDlgHelper::QueryText(GetPlatformDialog(), CDM_GETFILEPATH);
    CString typeName;
    const int known = tkx_IsTavixFileName(path, typeName);
    SetDlgItemText(IDC_FILEDLG_TYPE, typeName);

    CString text;
    if (selected == 1)
        text = known ? GetTextPreview(path) : CString(L"[TAVIX不提供预览的文件类型]");
    else if (selected > 1)
        text = L"[选中多个文件]";
    else
        text = L"[没有选择]";
    AddText(m_wndPreview, text, 1);
}

CString tkxFileDialog::GetTextPreview(const wchar_t* path)
{
    CStdioFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText, &error)) {
        error.ReportError();
        return L"打开文件失败!";
    }
    CString text;
    try {
        CString line;
        for (int lines = 0; lines < kPreviewLines && file.ReadString(line); ++lines) {
            if (text.GetLength() + line.GetLength() > kPreviewChars) {
                text += L"\n\t\t[文件内容未结束]";
                break;
            }
            text += line;
            text += L"\n";
        }
    } catch (CFileException* e) {
        e->Delete();
        file.Abort();
        ClMessageBox(m_hWnd, L"读取文件失败!", kCaption, MB_OK | MB_ICONINFORMATION);
        return L"读取文件失败!";
    }
    file.Abort();
    return text;
}

void tkxFileDialog::AddText(CEdit& edit, const wchar_t* text, int replace)
{
    if (!edit.m_hWnd) return;
    CString converted = text ? text : L"";
    converted.Replace(L"\n", L"\r\n");
    edit.SendMessage(EM_SCROLLCARET);
    if (replace) {
        edit.SetSel(0, -1, TRUE);
    } else {
        const int end = edit.GetWindowTextLength();
        edit.SetSel(end, end, TRUE);
    }
    edit.ReplaceSel(converted);
    edit.SendMessage(EM_SCROLLCARET);
}

// ---------------------------------------------------------------------------
// Layout

void tkxFileDialog::OnSize(UINT type, int cx, int cy)
{
    CFileDialog::OnSize(type, cx, cy);
    HWND platform = GetPlatformDialog();
    if (type != SIZE_RESTORED || !platform) return;

    CRect client;
    ::GetClientRect(platform, &client);
    const CRect panel = RectIn(m_hWnd, platform);
    if (panel.right != client.right)
        ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, client.right - panel.left, panel.Height(),
                       SWP_NOMOVE | SWP_NOACTIVATE);

    HWND cancel = ::GetDlgItem(platform, IDCANCEL);
    if (!cancel || !m_wndPreview.m_hWnd) return;
    // The preview ends where the Cancel button ends.
    const CRect cancelRect = RectIn(cancel, m_hWnd);
    const CRect preview = RectIn(m_wndPreview.m_hWnd, m_hWnd);
    if (cancelRect.right > preview.left && preview.right != cancelRect.right)
        m_wndPreview.SetWindowPos(nullptr, 0, 0, cancelRect.right - preview.left, preview.Height(),
                                  SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
