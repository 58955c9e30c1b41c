#include "Print.h"
#include "App.h"
#include <winspool.h>
#include <cderr.h>
#include <algorithm>
#include <vector>

namespace {

HWND DialogOwner(CWnd* parent)
{
    HWND owner = parent->GetSafeHwnd();
    if (!owner) {
        CWinApp* app = AfxGetApp();
        owner = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : ::GetActiveWindow();
    }
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

void ReportNoPrinter() { AfxMessageBox(CL_MSG_NO_PRINTER, MB_OK | MB_ICONEXCLAMATION); }

bool NoPrinterError(DWORD error)
{
    return error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES || error == PDERR_PRINTERNOTFOUND;
}

void FreeGlobal(HGLOBAL& block)
{
    if (block) ::GlobalFree(block);
    block = nullptr;
}

} // namespace

BOOL ClHasPrinter()
{
    DWORD needed = 0, count = 0;
    ::EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    return needed > 0;
}

// ---------------------------------------------------------------------------
// CPrintDialog.

IMPLEMENT_DYNAMIC(CPrintDialog, CObject)

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : m_pd{}, m_pParentWnd(parent)
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = flags;
    if (printSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.nCopies = 1;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
}

CPrintDialog::~CPrintDialog()
{
    FreeGlobal(m_pd.hDevMode);
    FreeGlobal(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal()
{
    if (!ClHasPrinter()) {
        ReportNoPrinter();
        return IDCANCEL;
    }
    m_pd.hwndOwner = DialogOwner(m_pParentWnd);
    if (m_pd.hDC && (m_pd.Flags & PD_RETURNDC)) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    if (::PrintDlgW(&m_pd)) return IDOK;
    if (NoPrinterError(::CommDlgExtendedError())) ReportNoPrinter();
    return IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    if (!ClHasPrinter()) return FALSE;
    // The system fills the printer's names and mode itself here.
    FreeGlobal(m_pd.hDevMode);
    FreeGlobal(m_pd.hDevNames);
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    DWORD flags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    m_pd.hwndOwner = nullptr;
    BOOL ok = ::PrintDlgW(&m_pd);
    m_pd.Flags = flags;
    return ok;
}

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    CString driver = GetDriverName(), device = GetDeviceName();
    if (device.IsEmpty()) return nullptr;
    const DEVMODEW* mode = m_pd.hDevMode ? static_cast<const DEVMODEW*>(::GlobalLock(m_pd.hDevMode)) : nullptr;
    m_pd.hDC = ::CreateDCW(driver.IsEmpty() ? nullptr : static_cast<const wchar_t*>(driver), device, nullptr, mode);
    if (mode) ::GlobalUnlock(m_pd.hDevMode);
    return m_pd.hDC;
}

CString CPrintDialog::DevNamesPart(int part) const
{
    if (!m_pd.hDevNames) return CString();
    const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
    if (!names) return CString();
    SIZE_T chars = ::GlobalSize(m_pd.hDevNames) / sizeof(wchar_t);
    WORD offset = part == 0 ? names->wDriverOffset : part == 1 ? names->wDeviceOffset : names->wOutputOffset;
    CString text;
    if (offset < chars) {
        const wchar_t* start = reinterpret_cast<const wchar_t*>(names) + offset;
        const wchar_t* end = std::find(start, reinterpret_cast<const wchar_t*>(names) + chars, L'\0');
        text = CString(start, static_cast<int>(end - start));
    }
    ::GlobalUnlock(m_pd.hDevNames);
    return text;
}

CString CPrintDialog::GetDriverName() const { return DevNamesPart(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesPart(1); }
CString CPrintDialog::GetPortName() const { return DevNamesPart(2); }

int CPrintDialog::GetCopies() const
{
    if ((m_pd.Flags & PD_USEDEVMODECOPIES) && m_pd.hDevMode) {
        const auto* mode = static_cast<const DEVMODEW*>(::GlobalLock(m_pd.hDevMode));
        int copies = mode && (mode->dmFields & DM_COPIES) ? mode->dmCopies : 1;
        ::GlobalUnlock(m_pd.hDevMode);
        return copies;
    }
    return m_pd.nCopies;
}

// ---------------------------------------------------------------------------
// CPageSetupDialog.

IMPLEMENT_DYNAMIC(CPageSetupDialog, CObject)

CPageSetupDialog::CPageSetupDialog(DWORD flags, CWnd* parent) : m_psd{}, m_pParentWnd(parent)
{
    m_psd.lStructSize = sizeof(m_psd);
    m_psd.Flags = flags;
}

CPageSetupDialog::~CPageSetupDialog()
{
    FreeGlobal(m_psd.hDevMode);
    FreeGlobal(m_psd.hDevNames);
}

INT_PTR CPageSetupDialog::DoModal()
{
    if (!ClHasPrinter()) {
        ReportNoPrinter();
        return IDCANCEL;
    }
    m_psd.hwndOwner = DialogOwner(m_pParentWnd);
    if (::PageSetupDlgW(&m_psd)) return IDOK;
    if (NoPrinterError(::CommDlgExtendedError())) ReportNoPrinter();
    return IDCANCEL;
}

void CPageSetupDialog::GetMargins(LPRECT margins, LPRECT minMargins) const
{
    if (margins) *margins = m_psd.rtMargin;
    if (minMargins) *minMargins = m_psd.rtMinMargin;
}

// ---------------------------------------------------------------------------
// CPrintInfo.

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE | PD_NOSELECTION))
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
}

CPrintInfo::~CPrintInfo()
{
    if (m_pPD->m_pd.hDC) ::DeleteDC(m_pPD->m_pd.hDC);
    delete m_pPD;
}

UINT CPrintInfo::GetFromPage() const
{
    if (!m_pPD->PrintRange()) return GetMinPage();
    return std::min(std::max<UINT>(m_pPD->m_pd.nFromPage, GetMinPage()), GetMaxPage());
}

UINT CPrintInfo::GetToPage() const
{
    if (!m_pPD->PrintRange()) return GetMaxPage();
    return std::min(std::max<UINT>(m_pPD->m_pd.nToPage, GetMinPage()), GetMaxPage());
}

// ---------------------------------------------------------------------------
// CPrintAbortDialog.

namespace {

thread_local CPrintAbortDialog* t_abortDialog = nullptr;

const int kPageText = 1001;

// A dialog template built in memory: the library carries no resources.
class TemplateBuilder
{
public:
    TemplateBuilder(DWORD style, short cx, short cy, const wchar_t* title, const wchar_t* font, WORD points)
    {
        Dword(style);
        Dword(0);
        m_countAt = m_words.size();
        Word(0);
        for (short v : {short(0), short(0), cx, cy}) Word(static_cast<WORD>(v));
        Word(0); // no menu
        Word(0); // the standard class
        Text(title);
        Word(points);
        Text(font);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const wchar_t* text)
    {
        if (m_words.size() % 2) Word(0); // items start on DWORD boundaries
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0); // no creation data
        ++m_words[m_countAt];
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Dword(DWORD d)
    {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* text)
    {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    std::vector<WORD> m_words;
    size_t m_countAt = 0;
};

} // namespace

IMPLEMENT_DYNAMIC(CPrintAbortDialog, CDialog)

CPrintAbortDialog::~CPrintAbortDialog()
{
    if (t_abortDialog == this) t_abortDialog = nullptr;
}

BOOL CPrintAbortDialog::Create(CWnd* owner, const wchar_t* docName, const wchar_t* printerName)
{
    const WORD kStatic = 0x0082, kButton = 0x0080;
    TemplateBuilder t(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 190,
                      72, L"打印", L"宋体", 9);
    CString doc = CString(L"文档：") + (docName ? docName : L"");
    CString printer = CString(L"打印机：") + (printerName ? printerName : L"");
    t.Item(SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 10, 8, 170, 10, 0xFFFF, kStatic, doc);
    t.Item(SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 10, 20, 170, 10, 0xFFFF, kStatic, printer);
    t.Item(SS_LEFT | SS_NOPREFIX, 10, 32, 170, 10, kPageText, kStatic, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 70, 50, 50, 14, IDCANCEL, kButton, L"取消");
    m_bUserAbort = FALSE;
    if (!CreateIndirect(t.Get(), owner, AfxGetInstanceHandle())) return FALSE;
    t_abortDialog = this;
    return TRUE;
}

void CPrintAbortDialog::SetPage(UINT page)
{
    CString text;
    text.Format(L"正在打印第 %u 页", page);
    SetDlgItemText(kPageText, text);
    UpdateWindow();
}

void CPrintAbortDialog::OnCancel()
{
    m_bUserAbort = TRUE;
    EnableWindow(FALSE);
}

BOOL CALLBACK CPrintAbortDialog::AbortProc(HDC, int)
{
    MSG msg;
    while (!(t_abortDialog && t_abortDialog->m_bUserAbort) && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The program is ending: stop printing and let the loop see it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            if (t_abortDialog) t_abortDialog->m_bUserAbort = TRUE;
            break;
        }
        if (!t_abortDialog || !t_abortDialog->m_hWnd || !::IsDialogMessageW(t_abortDialog->m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return !(t_abortDialog && t_abortDialog->m_bUserAbort);
}
