// Printing: the print record of a print job, the print and page-setup
// dialogs, and the dialog shown while a document prints.
//
// Without any printer on the machine the dialogs do not open: the print
// and page-setup dialogs say so in a message box and answer IDCANCEL, and
// GetDefaults answers FALSE without a message (its caller tells the user).
//
// A print job (CView's printing, or a window that prints itself) keeps its
// state in a CPrintInfo: the print dialog with the printer's DC, the pages
// (minimum and maximum, the range the user chose), the page being printed
// and the rectangle to draw it in.  The record deletes the printer DC left in
// its dialog when it goes.
#pragma once
#include "Dialog.h"
#include "Gdi.h"
#include <commdlg.h>

#define CL_MSG_NO_PRINTER L"没有找到打印机。请先安装打印机，然后再打印。"
#define CL_MSG_PRINT_FAILED L"打印失败：无法把文档送到打印机。"

// Whether the machine has a printer at all.
CLASSLIB_API BOOL ClHasPrinter();

class CLASSLIB_API CPrintDialog : public CObject
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    // The print dialog, or with printSetupOnly the printer choice alone.
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                          CWnd* parent = nullptr);
    ~CPrintDialog() override;
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    virtual INT_PTR DoModal();
    // The default printer, without a dialog; FALSE when there is none.
    BOOL GetDefaults();

    // The printer DC the dialog made (the caller deletes it), or null.
    HDC GetPrinterDC() const { return m_pd.hDC; }
    // A DC for the chosen printer, kept in m_pd.hDC; null when none.
    HDC CreatePrinterDC();

    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    int GetCopies() const;
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLGW m_pd;
    CWnd* m_pParentWnd;

private:
    CString DevNamesPart(int part) const;
};

class CLASSLIB_API CPageSetupDialog : public CObject
{
    DECLARE_DYNAMIC(CPageSetupDialog)
public:
    explicit CPageSetupDialog(DWORD flags = PSD_MARGINS | PSD_INWININIINTLMEASURE, CWnd* parent = nullptr);
    ~CPageSetupDialog() override;
    CPageSetupDialog(const CPageSetupDialog&) = delete;
    CPageSetupDialog& operator=(const CPageSetupDialog&) = delete;

    virtual INT_PTR DoModal();
    // The margins (and the printer's least margins) in the dialog's units.
    void GetMargins(LPRECT margins, LPRECT minMargins) const;
    CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }

    PAGESETUPDLGW m_psd;
    CWnd* m_pParentWnd;
};

class CLASSLIB_API CPrintInfo
{
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = static_cast<WORD>(page); }
    // 0xFFFF: the number of pages is not known in advance (printing goes on
    // while OnPrepareDC lets it).
    void SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(page); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The pages to print: the range the user chose, else all.
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE;          // printing without the dialog
    BOOL m_bPreview = FALSE;         // pages go to the print preview
    BOOL m_bContinuePrinting = TRUE; // OnPrepareDC clears it after the last page
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;     // pages side by side in the preview (1 or 2)
    void* m_lpUserData = nullptr;
    CRect m_rectDraw;                // the page's printable area, logical units
};

// The dialog shown while a document prints: the document, the printer and
// the page being printed, with a Cancel button.  It is modeless; the abort
// procedure of the printer DC keeps it working while pages are sent.
class CLASSLIB_API CPrintAbortDialog : public CDialog
{
    DECLARE_DYNAMIC(CPrintAbortDialog)
public:
    CPrintAbortDialog() = default;
    ~CPrintAbortDialog() override;
    BOOL Create(CWnd* owner, const wchar_t* docName, const wchar_t* printerName);
    void SetPage(UINT page);
    // For SetAbortProc: handles the dialog's messages; FALSE once Cancel was
    // pressed.
    static BOOL CALLBACK AbortProc(HDC dc, int error);

    BOOL m_bUserAbort = FALSE;

protected:
    void OnCancel() override;
};
